#pragma once
// glTF 2.0 into a 3DO model: the nodes of one scene become hierarchy nodes,
// their meshes meshes of geoset 0 with every triangle where the glTF scene
// puts it, within the format's capacities or not at all.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gltf/import_error.h"
#include "model/model.h"

namespace facetor {

struct ImportOptions {
    int scene = -1;             // -1: the file's default scene
    std::string name = "model"; // names what the glTF leaves unnamed
};

struct ImportResult {
    std::unique_ptr<type_model> model; // placed, as a successful load leaves a model
    std::vector<std::string> warnings; // one line each, without a prefix
};

// A 3DO mesh part holds at most this many texture vertices: a face corner
// can name texture vertex 500 but not 501, whatever the mesh holds.
inline constexpr int k_max_usable_tvertices = corner_index::max + 1;

// Imports the .glb or .gltf at `path` (told apart by their content);
// buffers a .gltf names are read beside it. Raises ImportError with the
// whole message when the file cannot be read or the model does not fit.
ImportResult import_gltf_file(const std::string& path, const ImportOptions& options);

// The same for a file's bytes; `base_dir` is where its outside buffers are.
ImportResult import_gltf_bytes(std::string_view bytes, const std::string& base_dir,
                               const ImportOptions& options);

} // namespace facetor
