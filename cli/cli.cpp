#include "cli/cli.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/info.h"
#include "cli/load.h"
#include "cli/strict.h"
#include "cli/usage.h"
#include "model/descriptor_buffer.h"
#include "model/dump.h"
#include "model/errors.h"
#include "model/writer.h"

namespace facetor {

namespace {

// A usage error: why, then the command's synopsis (or every command's).
int usage_error(std::ostream& err, const std::string& why, std::string_view command = {})
{
    err << "facetor-cli: " << why << '\n';
    const std::string_view synopsis = command_synopsis(command);
    if (synopsis.empty()) {
        err << general_usage();
    } else {
        err << synopsis << "\nTry \"facetor-cli " << command << " --help\" for its options.\n";
    }
    return k_exit_usage;
}

// The words after a command: options (some with a value), "--help",
// positional words; "--" makes every later word positional and "-" is one.
struct Words {
    std::vector<std::string> positional;
    std::set<std::string> flags;
    std::vector<std::pair<std::string, std::string>> values;
    bool help = false;
};

std::optional<Words> parse_words(const std::vector<std::string>& words,
                                 const std::set<std::string>& flag_options,
                                 const std::set<std::string>& value_options, std::string& why)
{
    Words out;
    bool options_end = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (options_end || w == "-" || w.empty() || w[0] != '-') {
            out.positional.push_back(w);
        } else if (w == "--") {
            options_end = true;
        } else if (w == "--help" || w == "-h") {
            out.help = true;
        } else if (flag_options.count(w) != 0) {
            out.flags.insert(w);
        } else if (value_options.count(w) != 0) {
            if (i + 1 == words.size()) {
                why = w + " needs a value";
                return std::nullopt;
            }
            out.values.emplace_back(w, words[++i]);
        } else {
            why = "unknown option " + w;
            return std::nullopt;
        }
    }
    return out;
}

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

int info(const std::string& file, const Streams& io)
{
    const auto model = make_model();
    if (!load_model(ModelInput(file, io.in), *model, io.err)) {
        return k_exit_failed;
    }
    print_info(*model, io.out);
    return k_exit_ok;
}

// What the load stored is printed even when it stopped part-way: that is
// the model the editor would hold.
int dump(const std::string& file, const Streams& io)
{
    const auto model = make_model();
    std::ostringstream diagnostic;
    const bool loaded = load_model(ModelInput(file, io.in), *model, diagnostic);
    dump_model(*model, io.out);
    io.out.flush();
    io.err << diagnostic.str();
    return loaded ? k_exit_ok : k_exit_failed;
}

int format(const std::string& in_path, const std::string& out_path, const Streams& io)
{
    const auto model = make_model();
    if (!load_model(ModelInput(in_path, io.in), *model, io.err)) {
        return k_exit_failed;
    }
    try {
        const std::vector<std::string> warnings =
            out_path == "-" ? write_3do(*model, io.out) : write_3do_file(*model, out_path);
        for (const std::string& warning : warnings) {
            io.err << in_path << ": warning: " << warning << '\n';
        }
    } catch (const std::exception& e) {
        io.err << out_path << ": cannot be written: " << error_text(e) << '\n';
        return k_exit_failed;
    }
    return k_exit_ok;
}

int check(const Words& words, const Streams& io)
{
    if (words.positional.empty()) {
        return usage_error(io.err, "check needs at least one file", "check");
    }
    return check_files(words.positional, *make_model(), io.out, io.in,
                       words.flags.count("--strict") != 0);
}

int run_command(const std::string& command, const std::vector<std::string>& rest, const Streams& io)
{
    std::string why;
    const bool is_check = command == "check";
    const bool is_export = command == "export";
    const bool is_import = command == "import";
    const std::optional<Words> words =
        parse_words(rest, is_check ? std::set<std::string>{"--strict"} : std::set<std::string>{},
                    is_export   ? std::set<std::string>{"--archive", "--geoset"}
                    : is_import ? std::set<std::string>{"--scene", "--name"}
                                : std::set<std::string>{},
                    why);
    if (!words) {
        return usage_error(io.err, why, command);
    }
    if (words->help) {
        io.out << command_help(command);
        return k_exit_ok;
    }
    const std::vector<std::string>& files = words->positional;
    if (is_check) {
        return check(*words, io);
    }
    if (command == "info" || command == "dump") {
        if (files.size() != 1) {
            return usage_error(io.err, command + " takes one file", command);
        }
        return command == "info" ? info(files[0], io) : dump(files[0], io);
    }
    if (command == "format") {
        return files.size() == 2
                   ? format(files[0], files[1], io)
                   : usage_error(io.err, "format takes a model and an output file", command);
    }
    const int status = is_import ? import_command(files, words->values, io.in, io.out, io.err, why)
                                 : export_command(files, words->values, io.in, io.err, why);
    return status >= 0 ? status : usage_error(io.err, why, command);
}

// The words before the command's own: "--help", "--version", "help [COMMAND]".
std::optional<int> run_general(const std::vector<std::string>& args, const Streams& io)
{
    const std::string& first = args[0];
    if (first == "--version") {
        if (args.size() > 1) {
            return usage_error(io.err, "--version takes no other word");
        }
        io.out << version_text();
        return k_exit_ok;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        const std::string help = args.size() == 2 ? command_help(args[1]) : std::string{};
        if (args.size() > 2 || (args.size() == 2 && help.empty())) {
            return usage_error(io.err, "help takes one command, or none");
        }
        io.out << (help.empty() ? std::string(general_usage()) : help);
        return k_exit_ok;
    }
    if (command_synopsis(first).empty()) {
        return usage_error(
            io.err, (first.starts_with("-") ? "unknown option " : "unknown command ") + first);
    }
    return std::nullopt;
}

int run_words(const std::vector<std::string>& args, const Streams& io)
{
    if (args.empty()) {
        return usage_error(io.err, "no command");
    }
    if (const std::optional<int> status = run_general(args, io)) {
        return *status;
    }
    try {
        return run_command(args[0], {args.begin() + 1, args.end()}, io);
    } catch (const std::exception& e) {
        // Whatever the commands did not foresee still ends with a message
        // and a failure status.
        io.err << "facetor-cli: " << error_text(e) << '\n';
        return k_exit_failed;
    }
}

// A command whose standard output could not be written has failed, however
// the rest went: the text it printed is lost.
int check_standard_output(std::ostream& out, std::ostream& err, int status)
{
    out.flush();
    if (out) {
        return status;
    }
    const auto* buffer = dynamic_cast<const DescriptorBuffer*>(out.rdbuf());
    const int code = buffer != nullptr && buffer->error() != 0 ? buffer->error() : EIO;
    err << "standard output: " << std::strerror(code) << '\n';
    return k_exit_failed;
}

} // namespace

int check_files(const std::vector<std::string>& files, type_model& model, std::ostream& out,
                std::istream& standard_input, bool strict)
{
    int status = k_exit_ok;
    for (const std::string& file : files) {
        // Whatever fails in one file (memory too) is that file's verdict:
        // the next file is checked all the same.
        try {
            const ModelInput input(file, standard_input);
            StrictObserver observer;
            if (!load_model(input, model, out, strict ? &observer : nullptr)) {
                status = k_exit_failed;
                continue;
            }
            const std::vector<std::string> problems =
                strict ? strict_problems(model, observer, input) : std::vector<std::string>{};
            for (const std::string& problem : problems) {
                out << problem << '\n';
            }
            if (problems.empty()) {
                out << file << ": ok\n";
            } else {
                status = k_exit_failed;
            }
        } catch (const std::exception& e) {
            out << file << ": " << error_text(e) << '\n';
            status = k_exit_failed;
        }
    }
    return status;
}

int run_cli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err)
{
    return check_standard_output(out, err, run_words(args, {in, out, err}));
}

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return run_cli(args, std::cin, out, err);
}

} // namespace facetor
