#include "cli/import_command.h"

#include <charconv>
#include <filesystem>
#include <iterator>

#include "cli/cli.h"
#include "cli/load.h"
#include "gltf/import.h"
#include "model/writer.h"

namespace facetor {

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
    ImportResult imported;
    try {
        if (in_path == "-") {
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            imported = import_gltf_bytes(bytes, ".", options);
        } else {
            imported = import_gltf_file(in_path, options);
        }
    } catch (const ImportError& e) {
        err << in_path << ": " << e.what() << '\n';
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
