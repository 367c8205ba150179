#include "cli/cli.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "cli/info.h"
#include "cli/load.h"
#include "gltf/export.h"
#include "model/errors.h"
#include "textures/fixed_paths.h"

namespace facetor {

namespace {

constexpr const char* k_usage =
    "usage: facetor-cli check FILE...\n"
    "       facetor-cli info FILE\n"
    "       facetor-cli export FILE.3do OUT.glb|OUT.gltf [--archive GOB] [--geoset N]\n";

int usage_error(std::ostream& err, const std::string& why)
{
    err << "facetor-cli: " << why << '\n' << k_usage;
    return k_exit_usage;
}

int info(const std::string& file, std::ostream& out, std::ostream& err)
{
    const auto model = make_model();
    if (!load_model(file, *model, err)) {
        return k_exit_failed;
    }
    print_info(*model, out);
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

// The export's words after "export"; nullopt with `why` set on a usage error.
std::optional<ExportArguments> parse_export(const std::vector<std::string>& words, std::string& why)
{
    ExportArguments a;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--archive" || w == "--geoset") {
            if (i + 1 == words.size()) {
                why = w + " needs a value";
                return std::nullopt;
            }
            const std::string& value = words[++i];
            if (w == "--archive") {
                a.archive = value;
                continue;
            }
            const auto r = std::from_chars(value.data(), value.data() + value.size(), a.geoset);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size() || a.geoset < 0 ||
                a.geoset >= k_max_geosets) {
                why = "--geoset takes 0 to " + std::to_string(k_max_geosets - 1) + ", not " + value;
                return std::nullopt;
            }
        } else if (w.size() > 1 && w[0] == '-') {
            why = "unknown option " + w;
            return std::nullopt;
        } else {
            positional.push_back(w);
        }
    }
    if (positional.size() != 2) {
        why = "export takes a model and an output file";
        return std::nullopt;
    }
    a.model_path = positional[0];
    a.out_path = positional[1];
    if (ends_with_ignoring_case(a.out_path, ".gltf")) {
        a.binary = false;
    } else if (!ends_with_ignoring_case(a.out_path, ".glb")) {
        why = "the output must end in .glb or .gltf";
        return std::nullopt;
    }
    return a;
}

// The archive named on the command line must open; the editor's fixed one
// is used when it is there and skipped with a warning when it is unreadable.
bool open_archive(const ExportArguments& a, std::optional<TextureArchive>& archive,
                  std::ostream& err)
{
    const std::string path = a.archive.value_or(map_fixed_path(k_archive_path));
    if (!a.archive && !std::filesystem::exists(path)) {
        return true;
    }
    try {
        archive = open_texture_archive(path);
    } catch (const RuntimeError& e) {
        if (a.archive) {
            err << path << ": " << e.what() << '\n';
            return false;
        }
        err << path << ": warning: " << e.what() << "; no textures\n";
    }
    return true;
}

int export_model(const ExportArguments& a, std::ostream& err)
{
    const auto model = make_model();
    if (!load_model(a.model_path, *model, err)) {
        return k_exit_failed;
    }
    if (a.geoset != 0 && a.geoset >= model->geoset_count) {
        err << a.model_path << ": no geoset " << a.geoset << "; the file has "
            << int{model->geoset_count} << '\n';
        return k_exit_failed;
    }
    std::optional<TextureArchive> archive;
    if (!open_archive(a, archive, err)) {
        return k_exit_failed;
    }
    // Written whole at the end, so that a failed export leaves no half file.
    std::ostringstream asset;
    const ExportOptions options{a.geoset, archive ? &*archive : nullptr, a.binary};
    for (const std::string& warning : export_gltf(*model, options, asset)) {
        err << a.model_path << ": warning: " << warning << '\n';
    }
    std::ofstream file(a.out_path, std::ios::binary | std::ios::trunc);
    const std::string bytes = std::move(asset).str();
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        err << a.out_path << ": cannot be written: " << std::strerror(errno) << '\n';
        return k_exit_failed;
    }
    return k_exit_ok;
}

} // namespace

int check_files(const std::vector<std::string>& files, type_model& model, std::ostream& out)
{
    int status = k_exit_ok;
    for (const std::string& file : files) {
        if (load_model(file, model, out)) {
            out << file << ": ok\n";
        } else {
            status = k_exit_failed;
        }
    }
    return status;
}

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
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
    try {
        if (command == "check") {
            return rest.empty() ? usage_error(err, "check needs at least one file")
                                : check_files(rest, *make_model(), out);
        }
        if (command == "info") {
            return rest.size() == 1 ? info(rest[0], out, err)
                                    : usage_error(err, "info takes one file");
        }
        if (command == "export") {
            std::string why;
            const std::optional<ExportArguments> a = parse_export(rest, why);
            return a ? export_model(*a, err) : usage_error(err, why);
        }
    } catch (const std::exception& e) {
        // Whatever the commands did not foresee (memory, say) still ends
        // with a message and a failure status.
        err << "facetor-cli: " << e.what() << '\n';
        return k_exit_failed;
    }
    return usage_error(err, "unknown command " + command);
}

} // namespace facetor
