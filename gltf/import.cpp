#include "gltf/import.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include <tiny_gltf.h>

#include "gltf/import_model.h"
#include "gltf/import_scene.h"

namespace facetor {

namespace {

// Images are named, never decoded: a 3DO names its textures.
bool skip_image(tinygltf::Image*, const int, std::string*, std::string*, int, int,
                const unsigned char*, int, void*)
{
    return true;
}

std::string first_line(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    return line.empty() ? "not a glTF file" : line;
}

} // namespace

ImportResult import_gltf_bytes(std::string_view bytes, const std::string& base_dir,
                               const ImportOptions& options)
{
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        throw ImportError("the file is larger than 4 GB");
    }
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(&skip_image, nullptr);
    tinygltf::Model gltf;
    std::string err, warn;
    const auto length = static_cast<unsigned int>(bytes.size());
    const bool binary = bytes.starts_with("glTF");
    const bool ok =
        binary ? loader.LoadBinaryFromMemory(&gltf, &err, &warn,
                                             reinterpret_cast<const unsigned char*>(bytes.data()),
                                             length, base_dir)
               : loader.LoadASCIIFromString(&gltf, &err, &warn, bytes.data(), length, base_dir);
    if (!ok) {
        throw ImportError(first_line(err));
    }
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
