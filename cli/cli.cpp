#include "cli/cli.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>

#include "cli/import_command.h"
#include "cli/info.h"
#include "cli/load.h"
#include "cli/strict.h"
#include "gltf/export.h"
#include "model/dump.h"
#include "model/errors.h"
#include "model/writer.h"
#include "textures/fixed_paths.h"

namespace facetor {

namespace {

constexpr const char* k_usage =
    "usage: facetor-cli check [--strict] FILE...\n"
    "       facetor-cli info FILE\n"
    "       facetor-cli dump FILE\n"
    "       facetor-cli format IN.3do OUT.3do\n"
    "       facetor-cli export FILE.3do OUT.glb|OUT.gltf [--archive GOB] [--geoset N]\n"
    "       facetor-cli import IN.gltf|IN.glb OUT.3do [--scene N] [--name NAME]\n"
    "A FILE or IN of \"-\" is standard input, an OUT of \"-\" for format standard output;\n"
    "\"--\" ends the options. Every command takes --help.\n";

int usage_error(std::ostream& err, const std::string& why)
{
    err << "facetor-cli: " << why << '\n' << k_usage;
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

struct ExportArguments {
    std::string model_path;
    std::string out_path;
    std::optional<std::string> archive;
    int geoset = 0;
    bool binary = true;
};

bool ends_with_ignoring_case(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i]) {
            return false;
        }
    }
    return true;
}

// The export's words; nullopt with `why` set on a usage error.
std::optional<ExportArguments> export_arguments(const Words& words, std::string& why)
{
    ExportArguments a;
    for (const auto& [option, value] : words.values) {
        if (option == "--archive") {
            a.archive = value;
            continue;
        }
        const auto r = std::from_chars(value.data(), value.data() + value.size(), a.geoset);
        if (r.ec != std::errc() || r.ptr != value.data() + value.size() || a.geoset < 0 ||
            a.geoset >= k_max_geosets) {
            why = "--geoset takes 0 to " + std::to_string(k_max_geosets - 1) + ", not " + value;
            return std::nullopt;
        }
    }
    if (words.positional.size() != 2) {
        why = "export takes a model and an output file";
        return std::nullopt;
    }
    a.model_path = words.positional[0];
    a.out_path = words.positional[1];
    if (ends_with_ignoring_case(a.out_path, ".gltf")) {
        a.binary = false;
    } else if (!ends_with_ignoring_case(a.out_path, ".glb")) {
        why = "the output must end in .glb or .gltf";
        return std::nullopt;
    }
    return a;
}

// The archive named on the command line must open; the editor's fixed one
// is used when it is there and skipped with a warning when it is missing or
// unreadable, since the export is still of use without it.
bool open_archive(const ExportArguments& a, std::optional<TextureArchive>& archive,
                  std::ostream& err)
{
    const std::string path = a.archive.value_or(map_fixed_path(k_archive_path));
    if (!a.archive && !std::filesystem::exists(path)) {
        err << path << ": warning: no archive here and no --archive; plain materials\n";
        return true;
    }
    try {
        archive = open_texture_archive(path);
        for (const std::string& warning : archive->warnings) {
            err << path << ": warning: " << warning << '\n';
        }
    } catch (const std::exception& e) {
        if (a.archive) {
            err << path << ": " << error_text(e) << '\n';
            return false;
        }
        err << path << ": warning: " << error_text(e) << "; plain materials\n";
    }
    return true;
}

int export_model(const ExportArguments& a, const Streams& io)
{
    const auto model = make_model();
    if (!load_model(ModelInput(a.model_path, io.in), *model, io.err)) {
        return k_exit_failed;
    }
    if (a.geoset != 0 && a.geoset >= model->geoset_count) {
        io.err << a.model_path << ": no geoset " << a.geoset << "; the file has "
               << int{model->geoset_count} << '\n';
        return k_exit_failed;
    }
    std::optional<TextureArchive> archive;
    if (!open_archive(a, archive, io.err)) {
        return k_exit_failed;
    }
    // Written whole at the end, so that a failed export leaves no half file.
    std::ostringstream asset;
    const ExportOptions options{a.geoset, archive ? &*archive : nullptr, a.binary};
    for (const std::string& warning : export_gltf(*model, options, asset)) {
        io.err << a.model_path << ": warning: " << warning << '\n';
    }
    std::ofstream file(a.out_path, std::ios::binary | std::ios::trunc);
    const std::string bytes = std::move(asset).str();
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        io.err << a.out_path << ": cannot be written: " << std::strerror(errno) << '\n';
        return k_exit_failed;
    }
    return k_exit_ok;
}

int check(const Words& words, const Streams& io)
{
    if (words.positional.empty()) {
        return usage_error(io.err, "check needs at least one file");
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
        return usage_error(io.err, why);
    }
    if (words->help) {
        io.out << k_usage;
        return k_exit_ok;
    }
    const std::vector<std::string>& files = words->positional;
    if (is_check) {
        return check(*words, io);
    }
    if (command == "info" || command == "dump") {
        if (files.size() != 1) {
            return usage_error(io.err, command + " takes one file");
        }
        return command == "info" ? info(files[0], io) : dump(files[0], io);
    }
    if (command == "format") {
        return files.size() == 2 ? format(files[0], files[1], io)
                                 : usage_error(io.err, "format takes a model and an output file");
    }
    if (is_import) {
        const int status = import_command(files, words->values, io.in, io.out, io.err, why);
        return status >= 0 ? status : usage_error(io.err, why);
    }
    const std::optional<ExportArguments> a = export_arguments(*words, why);
    return a ? export_model(*a, io) : usage_error(io.err, why);
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
    if (args.empty()) {
        return usage_error(err, "no command");
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << k_usage;
        return k_exit_ok;
    }
    static const std::set<std::string> k_commands{"check",  "info",   "dump",
                                                  "format", "export", "import"};
    if (k_commands.count(command) == 0) {
        return usage_error(err, "unknown command " + command);
    }
    try {
        return run_command(command, rest, {in, out, err});
    } catch (const std::exception& e) {
        // Whatever the commands did not foresee still ends with a message
        // and a failure status.
        err << "facetor-cli: " << error_text(e) << '\n';
        return k_exit_failed;
    }
}

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return run_cli(args, std::cin, out, err);
}

} // namespace facetor
