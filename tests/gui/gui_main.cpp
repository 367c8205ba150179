// Runs the GUI tests inside one QApplication, as the editor itself does.
#include <QApplication>
#include <gtest/gtest.h>

// The display, font and OpenGL libraries a window loads keep allocations
// until the process ends, and some of them are unloaded before the leak check
// runs, so their reports cannot be suppressed by name. Our own code's leaks
// are checked by the core test programs, which run without a window.
extern "C" const char* __lsan_default_options()
{
    return "detect_leaks=0";
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Facetor");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
