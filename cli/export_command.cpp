#include "cli/export_command.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string_view>

#include "cli/cli.h"
#include "cli/load.h"
#include "gltf/export.h"
#include "model/replace_file.h"
#include "textures/fixed_paths.h"

namespace facetor {

namespace {

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
std::optional<ExportArguments>
export_arguments(const std::vector<std::string>& positional,
                 const std::vector<std::pair<std::string, std::string>>& values, std::string& why)
{
    ExportArguments a;
    for (const auto& [option, value] : values) {
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

} // namespace

int export_command(const std::vector<std::string>& positional,
                   const std::vector<std::pair<std::string, std::string>>& values, std::istream& in,
                   std::ostream& err, std::string& why)
{
    const std::optional<ExportArguments> a = export_arguments(positional, values, why);
    if (!a) {
        return -1;
    }
    const auto model = make_model();
    if (!load_model(ModelInput(a->model_path, in), *model, err)) {
        return k_exit_failed;
    }
    if (a->geoset != 0 && a->geoset >= model->geoset_count) {
        err << a->model_path << ": no geoset " << a->geoset << "; the file has "
            << int{model->geoset_count} << '\n';
        return k_exit_failed;
    }
    std::optional<TextureArchive> archive;
    if (!open_archive(*a, archive, err)) {
        return k_exit_failed;
    }
    // Made whole before OUT is touched, so that a failed export leaves the
    // old file as it was.
    std::ostringstream asset;
    const ExportOptions options{a->geoset, archive ? &*archive : nullptr, a->binary};
    for (const std::string& warning : export_gltf(*model, options, asset)) {
        err << a->model_path << ": warning: " << warning << '\n';
    }
    const std::string bytes = std::move(asset).str();
    try {
        replace_file(a->out_path, [&](std::ostream& out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        });
    } catch (const std::exception& e) {
        err << a->out_path << ": cannot be written: " << error_text(e) << '\n';
        return k_exit_failed;
    }
    return k_exit_ok;
}

} // namespace facetor
