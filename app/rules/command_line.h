#pragma once
// The editor's command line, read before Qt starts: `facetor [FILE]`, with
// --help and --version answered without a display. Qt's own options
// (-platform, -display, ...) are handed on to Qt untouched.
#include <optional>
#include <string>
#include <vector>

namespace facetor {

struct CommandLine {
    enum class Action { run, help, version, usage_error };
    Action action = Action::run;
    // The model to load at start-up instead of the default one.
    std::optional<std::string> file;
    // The program's name, then Qt's options with their values, in their
    // order: what the application object is to see.
    std::vector<std::string> qt_arguments;
    // For usage_error: what was wrong ("unknown option '--foo'").
    std::string error;
};

// Reads `arguments` (the program's name first). `--` ends the options, so
// a file whose name begins with a dash can follow it. The first --help or
// --version, or the first fault (an unknown option, a second FILE), decides.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// "Usage: facetor [OPTION]... [FILE]" and what each option does.
std::string editor_usage();
// "facetor 0.1"
std::string editor_version();

} // namespace facetor
