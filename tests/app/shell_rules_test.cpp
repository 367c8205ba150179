#include <gtest/gtest.h>

#include "app/rules/command_line.h"
#include "app/rules/dropped_files.h"
#include "app/rules/window_geometry.h"

namespace facetor {
namespace {

using Action = CommandLine::Action;
using Words = std::vector<std::string>;

TEST(CommandLine, OurOptionsFileAndQtsOwn)
{
    const struct {
        Words args; // after the program's name
        Action action;
        std::optional<std::string> file;
        Words qt; // after the program's name
        std::string error;
    } cases[] = {
        {{}, Action::run, std::nullopt, {}, ""},
        {{"ship.3do"}, Action::run, "ship.3do", {}, ""},
        {{"--help", "--bogus"}, Action::help, std::nullopt, {}, ""},
        {{"-h"}, Action::help, std::nullopt, {}, ""},
        {{"a.3do", "--version"}, Action::version, "a.3do", {}, ""},
        // Qt's options with their values, in one dash or two, whatever the
        // value looks like; the file may come between them.
        {{"-platform", "xcb", "a.3do", "--display", ":1", "-style=fusion", "-reverse"},
         Action::run,
         "a.3do",
         {"-platform", "xcb", "--display", ":1", "-style=fusion", "-reverse"},
         ""},
        {{"-stylesheet", "-x.qss"}, Action::run, std::nullopt, {"-stylesheet", "-x.qss"}, ""},
        {{"--", "-odd.3do"}, Action::run, "-odd.3do", {}, ""},
        {{"--", "--help"}, Action::run, "--help", {}, ""},
        {{"-"}, Action::run, "-", {}, ""},
        {{"--bogus"}, Action::usage_error, std::nullopt, {}, "unknown option '--bogus'"},
        {{"-platform=xcb"},
         Action::usage_error,
         std::nullopt,
         {},
         "unknown option '-platform=xcb'"},
        {{"a.3do", "b.3do"},
         Action::usage_error,
         "a.3do",
         {},
         "only one FILE may be given: 'a.3do' and 'b.3do'"},
        {{"a.3do", "--", "b.3do"},
         Action::usage_error,
         "a.3do",
         {},
         "only one FILE may be given: 'a.3do' and 'b.3do'"},
    };
    for (const auto& c : cases) {
        Words args{"/usr/bin/facetor"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CommandLine line = parse_command_line(args);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.error, c.error);
        if (c.action == Action::run) {
            EXPECT_EQ(line.file, c.file);
            Words qt{"/usr/bin/facetor"};
            qt.insert(qt.end(), c.qt.begin(), c.qt.end());
            EXPECT_EQ(line.qt_arguments, qt);
        }
    }
}

TEST(DroppedFiles, TheFirstModelOpensAndTheOthersAreCounted)
{
    const struct {
        Words paths;
        std::optional<std::size_t> model;
        std::size_t ignored;
    } cases[] = {
        {{"/m/ship.3do"}, 0, 0},
        {{"/m/SHIP.3DO"}, 0, 0},
        {{"/m/notes.txt", "/m/a.3Do", "/m/b.3do"}, 1, 2},
        {{"", "/m/a.3do"}, 1, 1}, // a web address first
        {{"/m/a.3do.txt", "/m/3do"}, std::nullopt, 0},
        {{}, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.paths));
        const DropChoice choice = choose_dropped_model(c.paths);
        EXPECT_EQ(choice.model, c.model);
        EXPECT_EQ(choice.ignored, c.ignored);
    }
    EXPECT_EQ(ignored_files_message(0), "");
    EXPECT_EQ(ignored_files_message(1),
              "1 other dropped file was ignored: one model opens at a time");
    EXPECT_EQ(ignored_files_message(3),
              "3 other dropped files were ignored: one model opens at a time");
}

TEST(RestoredWindow, DesignSizeFitToTheWorkingAreaAndCentredWithItsFrame)
{
    const struct {
        WindowRect available;
        FrameMargins frame;
        WindowRect expected;
    } cases[] = {
        {{0, 0, 1280, 1024}, {1, 20, 1, 1}, {301, 270, 677, 502}},
        {{0, 30, 1920, 1050}, {0, 0, 0, 0}, {621, 304, 677, 502}},
        // A small working area: the frame fills it.
        {{10, 0, 640, 480}, {2, 20, 2, 2}, {12, 20, 636, 458}},
    };
    for (const auto& c : cases) {
        const WindowRect r = restored_window(c.available, 677, 502, c.frame);
        EXPECT_EQ(r, c.expected) << r.x << "," << r.y << " " << r.width << "x" << r.height;
    }
}

} // namespace
} // namespace facetor
