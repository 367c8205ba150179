#include "gltf/import.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "gltf/import_library.h"
#include "gltf/import_model.h"
#include "gltf/import_scene.h"

namespace facetor {

ImportResult import_gltf_bytes(std::string_view bytes, const std::string& base_dir,
                               const ImportOptions& options)
{
    const tinygltf::Model gltf = load_gltf(bytes, base_dir);
    const ImportScene scene = gather_import_scene(gltf, options.scene, options.name);
    return build_import_model(scene, options.name);
}

ImportResult import_gltf_file(const std::string& path, const ImportOptions& options)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ImportError(std::strerror(errno));
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (file.bad()) {
        throw ImportError(std::strerror(errno));
    }
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return import_gltf_bytes(bytes, parent.empty() ? "." : parent.string(), options);
}

} // namespace facetor
