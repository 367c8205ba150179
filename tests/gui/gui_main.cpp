// Runs the GUI tests inside one QApplication, as the editor itself does.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// The display, font and OpenGL libraries a window loads keep allocations
// until the process ends, and some of them are unloaded before the leak check
// runs, so their reports cannot be suppressed by name. Our own code's leaks
// are checked by the core test programs, which run without a window.
extern "C" const char* __lsan_default_options()
{
    return "detect_leaks=0";
}

namespace {

// Focus, the active window and the window manager belong to a display, so a
// GUI test needs one to itself. scripts/with-display.sh may start several
// (FACETOR_TEST_DISPLAYS) for tests that run side by side; the test takes the
// first one no other test holds, waiting while all are taken, and holds it
// (a lock on a file named after it) until the process ends.
void take_a_display()
{
    // A test program that a test starts again as a child uses its parent's.
    if (std::getenv("FACETOR_TEST_DISPLAY_HELD") != nullptr) {
        return;
    }
    std::vector<std::string> displays;
    const char* listed = std::getenv("FACETOR_TEST_DISPLAYS");
    std::istringstream words(listed != nullptr ? listed : "");
    for (std::string name; words >> name;) {
        displays.push_back(name);
    }
    if (displays.empty()) {
        const char* own = std::getenv("DISPLAY");
        if (own == nullptr || *own == '\0') {
            return; // Qt reports the missing display
        }
        displays.emplace_back(own);
    }
    for (;;) {
        for (const std::string& name : displays) {
            std::string lock = "/tmp/facetor-test-display-";
            for (const char c : name) {
                lock += c == '/' ? '_' : c;
            }
            const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (fd < 0) {
                continue;
            }
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                ::setenv("DISPLAY", name.c_str(), 1);
                ::setenv("FACETOR_TEST_DISPLAY_HELD", "1", 1);
                return; // fd stays open: the lock goes with the process
            }
            ::close(fd);
        }
        ::usleep(20'000);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool listing = argc > 1 && std::string(argv[1]) == "--gtest_list_tests";
    if (!listing) { // ctest lists the tests before any runs
        take_a_display();
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Facetor");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
