#include "app/rules/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace facetor {

namespace {

enum class QtArgument { none, flag, with_value };

// The options QApplication and its X11 platform read. Qt takes each with
// one dash or two; a few also take their value after "=".
QtArgument qt_argument(std::string_view arg)
{
    static constexpr std::array<std::string_view, 16> with_value{
        "platform",        "platformpluginpath",
        "platformtheme",   "plugin",
        "qwindowgeometry", "qwindowicon",
        "qwindowtitle",    "geometry",
        "title",           "icon",
        "display",         "name",
        "visual",          "session",
        "style",           "stylesheet"};
    static constexpr std::array<std::string_view, 6> flags{"reverse", "widgetcount", "sync",
                                                           "nograb",  "dograb",      "testability"};
    static constexpr std::array<std::string_view, 5> inline_value{
        "style", "stylesheet", "qmljsdebugger", "dialogs", "fontengine"};
    if (arg.size() < 2 || arg[0] != '-') {
        return QtArgument::none;
    }
    arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
    const auto has = [](const auto& names, std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
        return has(inline_value, arg.substr(0, equals)) ? QtArgument::flag : QtArgument::none;
    }
    if (has(with_value, arg)) {
        return QtArgument::with_value;
    }
    return has(flags, arg) ? QtArgument::flag : QtArgument::none;
}

} // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments)
{
    CommandLine line;
    line.qt_arguments.push_back(arguments.empty() ? std::string("facetor") : arguments.front());
    const auto fail = [&line](std::string error) {
        line.action = CommandLine::Action::usage_error;
        line.error = std::move(error);
        return line;
    };
    bool options_ended = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        // A lone "-" names a file, as POSIX has it.
        if (options_ended || arg.size() < 2 || arg[0] != '-') {
            if (line.file) {
                return fail("only one FILE may be given: '" + *line.file + "' and '" + arg + "'");
            }
            line.file = arg;
        } else if (arg == "--") {
            options_ended = true;
        } else if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::help;
            return line;
        } else if (arg == "--version") {
            line.action = CommandLine::Action::version;
            return line;
        } else if (const QtArgument qt = qt_argument(arg); qt != QtArgument::none) {
            line.qt_arguments.push_back(arg);
            // The value goes with its option whatever it looks like; one
            // missing at the end is Qt's to report.
            if (qt == QtArgument::with_value && i + 1 < arguments.size()) {
                line.qt_arguments.push_back(arguments[++i]);
            }
        } else {
            return fail("unknown option '" + arg + "'");
        }
    }
    return line;
}

std::string editor_usage()
{
    return "Usage: facetor [OPTION]... [FILE]\n"
           "View and edit a 3D model in the text 3DO format. FILE is loaded at start-up;\n"
           "without it, dflt.3do in the current directory is.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "  --             end the options: what follows is FILE, even if it begins\n"
           "                 with a dash\n"
           "\n"
           "Qt's own options, such as -platform NAME, -display DISPLAY and -style NAME,\n"
           "are passed on to Qt.\n";
}

std::string editor_version()
{
    return "facetor " FACETOR_VERSION "\n";
}

} // namespace facetor
