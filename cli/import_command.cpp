#include "cli/import_command.h"

#include <charconv>
#include <filesystem>
#include <iterator>

#include <sys/stat.h>

#include "cli/cli.h"
#include "cli/load.h"
#include "gltf/import.h"
#include "model/errors.h"
#include "model/writer.h"
#include "textures/binary_source.h"

namespace facetor {

namespace {

// The same file under two names: through a link, a hard link, or the same
// path. An OUT that does not exist yet is no file at all.
bool same_file(const std::string& a, const std::string& b)
{
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The glTF's bytes, opened as every command opens its input: a folder or a
// device is refused with the usual file error.
std::string gltf_file_bytes(const std::string& path)
{
    const FileBinary file(path);
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    bytes.resize(file.read_at(0, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()));
    return bytes;
}

ImportResult import_from(const std::string& in_path, std::istream& in, const ImportOptions& options)
{
    if (in_path == "-") {
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        return import_gltf_bytes(bytes, ".", options);
    }
    const std::filesystem::path folder = std::filesystem::path(in_path).parent_path();
    return import_gltf_bytes(gltf_file_bytes(in_path), folder.empty() ? "." : folder.string(),
                             options);
}

} // namespace

int import_command(const std::vector<std::string>& positional,
                   const std::vector<std::pair<std::string, std::string>>& values, std::istream& in,
                   std::ostream& out, std::ostream& err, std::string& why)
{
    if (positional.size() != 2) {
        why = "import takes a glTF file and an output file";
        return -1;
    }
    const std::string& in_path = positional[0];
    const std::string& out_path = positional[1];
    ImportOptions options;
    // Unnamed nodes and materials are named after the output, as a modder
    // names the model by its file.
    options.name = out_path == "-" ? "model" : std::filesystem::path(out_path).stem().string();
    for (const auto& [option, value] : values) {
        if (option == "--name") {
            options.name = value;
            continue;
        }
        const auto r = std::from_chars(value.data(), value.data() + value.size(), options.scene);
        if (r.ec != std::errc() || r.ptr != value.data() + value.size() || options.scene < 0) {
            why = "--scene takes a scene number, not " + value;
            return -1;
        }
    }
    // The 3DO text would replace the glTF it came from. (format may rewrite
    // its input: its output is a model of the same format.)
    if (in_path != "-" && out_path != "-" && same_file(in_path, out_path)) {
        err << out_path << ": the same file as the input " << in_path
            << "; import does not write over its input\n";
        return k_exit_failed;
    }
    ImportResult imported;
    try {
        imported = import_from(in_path, in, options);
    } catch (const ImportError& e) {
        err << in_path << ": " << e.what() << '\n';
        return k_exit_failed;
    } catch (const FileError& e) {
        err << in_path << ": " << error_text(e) << '\n';
        return k_exit_failed;
    }
    for (const std::string& warning : imported.warnings) {
        err << in_path << ": warning: " << warning << '\n';
    }
    try {
        const std::vector<std::string> warnings = out_path == "-"
                                                      ? write_3do(*imported.model, out)
                                                      : write_3do_file(*imported.model, out_path);
        for (const std::string& warning : warnings) {
            err << out_path << ": warning: " << warning << '\n';
        }
    } catch (const std::exception& e) {
        err << out_path << ": cannot be written: " << error_text(e) << '\n';
        return k_exit_failed;
    }
    return k_exit_ok;
}

} // namespace facetor
