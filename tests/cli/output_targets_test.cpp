// Where `format` writes when OUT is not a plain file: a link is followed, a
// device or pipe written into, a folder refused, and nothing else left behind.
// The device nodes are the test's own: the system's /dev is never written.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "model/model_text.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::Outcome;
using test::run;

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every name under `dir`, links not followed: a stray temporary file shows.
std::set<std::string> names_under(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        names.insert(entry.path().lexically_relative(dir).string());
    }
    return names;
}

// A character device node of the kernel's memory devices (1, 3 discards,
// 1, 7 is always full), where the test may make and open one.
bool make_device(const fs::path& path, unsigned minor)
{
    if (::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, minor)) != 0) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY); // a nodev mount refuses it here
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

class OutputTargets : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_ = fs::temp_directory_path() /
                    ("facetor_output_targets_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(OutputTargets, FormatFollowsLinksWritesIntoDevicesAndPipesAndRefusesFolders)
{
    const std::string model = test::model_text();
    // The pipe's reader is the test: open before the write, so that `format`
    // does not wait for one, and the model small enough for the pipe's buffer.
    int pipe_reader = -1;
    struct Target {
        const char* what;
        // Makes OUT in the row's folder and returns its name there; "" when
        // this system does not let the test make it.
        std::function<std::string(const fs::path&)> make;
        int status;
        std::string said; // after OUT's path
        // The row's folder afterwards, given what `format IN -` prints.
        std::function<void(const fs::path&, const std::string&)> check;
    };
    const Target targets[] = {
        {"a link into another folder",
         [](const fs::path& at) {
             fs::create_directory(at / "sub");
             std::ofstream(at / "sub" / "real.3do") << "old";
             fs::permissions(at / "sub" / "real.3do", fs::perms(0640));
             fs::create_symlink("sub/real.3do", at / "link.3do");
             return "link.3do";
         },
         k_exit_ok, "",
         [](const fs::path& at, const std::string& text) {
             EXPECT_TRUE(fs::is_symlink(at / "link.3do"));
             EXPECT_EQ(contents(at / "sub" / "real.3do"), text);
             EXPECT_EQ(fs::status(at / "sub" / "real.3do").permissions(), fs::perms(0640));
             EXPECT_EQ(names_under(at),
                       (std::set<std::string>{"in.3do", "link.3do", "sub", "sub/real.3do"}));
         }},
        {"a link to a file not made yet",
         [](const fs::path& at) {
             fs::create_symlink("new.3do", at / "link.3do");
             return "link.3do";
         },
         k_exit_ok, "",
         [](const fs::path& at, const std::string& text) {
             EXPECT_TRUE(fs::is_symlink(at / "link.3do"));
             EXPECT_EQ(contents(at / "new.3do"), text);
         }},
        {"the input itself", [](const fs::path&) { return "in.3do"; }, k_exit_ok, "",
         [](const fs::path& at, const std::string& text) {
             EXPECT_EQ(contents(at / "in.3do"), text);
             EXPECT_EQ(names_under(at), std::set<std::string>{"in.3do"});
         }},
        {"a device node",
         [](const fs::path& at) { return make_device(at / "null", 3) ? "null" : ""; }, k_exit_ok,
         "",
         [](const fs::path& at, const std::string&) {
             EXPECT_TRUE(fs::is_character_file(at / "null"));
             EXPECT_EQ(names_under(at), (std::set<std::string>{"in.3do", "null"}));
         }},
        {"a device node that is full",
         [](const fs::path& at) { return make_device(at / "full", 7) ? "full" : ""; },
         k_exit_failed, ": cannot be written: I/O error 28 (No space left on device)\n",
         [](const fs::path& at, const std::string&) {
             EXPECT_TRUE(fs::is_character_file(at / "full"));
             EXPECT_EQ(names_under(at), (std::set<std::string>{"in.3do", "full"}));
         }},
        {"a named pipe",
         [&](const fs::path& at) {
             EXPECT_EQ(::mkfifo((at / "pipe").c_str(), 0600), 0);
             pipe_reader = ::open((at / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
             return "pipe";
         },
         k_exit_ok, "",
         [&](const fs::path& at, const std::string& text) {
             std::string got;
             char block[4096];
             for (ssize_t n; (n = ::read(pipe_reader, block, sizeof block)) > 0;) {
                 got.append(block, static_cast<std::size_t>(n));
             }
             ::close(pipe_reader);
             EXPECT_EQ(got, text);
             EXPECT_TRUE(fs::is_fifo(at / "pipe"));
             EXPECT_EQ(names_under(at), (std::set<std::string>{"in.3do", "pipe"}));
         }},
        {"a folder",
         [](const fs::path& at) {
             fs::create_directories(at / "out.3do" / "kept");
             return "out.3do";
         },
         k_exit_failed, ": cannot be written: I/O error 21 (Is a directory)\n",
         [](const fs::path& at, const std::string&) {
             EXPECT_EQ(names_under(at),
                       (std::set<std::string>{"in.3do", "out.3do", "out.3do/kept"}));
         }},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.what);
        const fs::path at = dir_ / t.what;
        fs::create_directory(at);
        std::ofstream(at / "in.3do", std::ios::binary) << model;
        const std::string out = t.make(at);
        if (out.empty()) {
            std::cout << "[ SKIPPED  ] " << t.what << ": no device nodes here\n";
            continue;
        }
        const std::string in = (at / "in.3do").string();
        const std::string text = run({"format", in, "-"}).out;
        const Outcome r = run({"format", in, (at / out).string()});
        EXPECT_EQ(r.status, t.status);
        EXPECT_EQ(r.err, t.said.empty() ? "" : (at / out).string() + t.said);
        t.check(at, text);
    }
}

} // namespace
} // namespace facetor
