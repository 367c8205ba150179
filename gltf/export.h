#pragma once
// glTF 2.0 export of a loaded model: the scene of export_scene.h, with the
// looks of material_looks.h, written as one self-contained file.
#include <ostream>
#include <string>
#include <vector>

#include "gltf/material_looks.h"
#include "model/model.h"

namespace facetor {

struct ExportOptions {
    int geoset = 0;                          // 0..4
    const TextureArchive* archive = nullptr; // null: plain materials, no warnings about them
    bool binary = true;                      // .glb; false: .gltf with the data embedded
};

// Writes the asset of a model whose nodes have been placed (as every
// successful load leaves it) and returns the warnings, one line each.
// Raises std::runtime_error when the stream fails.
std::vector<std::string> export_gltf(const type_model& model, const ExportOptions& options,
                                     std::ostream& out);

} // namespace facetor
