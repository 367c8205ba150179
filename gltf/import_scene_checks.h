#pragma once
// What the import refuses before it reads any element of a file, and the
// warnings for the extensions it ignores.
#include <cstddef>
#include <string>
#include <vector>

#include "gltf/import_transforms.h"

namespace tinygltf {
class Model;
}

namespace facetor::gltf_import {

// Raises ImportError for an extension the file requires that would change
// its geometry or texture coordinates. True when positions may be integers
// (KHR_mesh_quantization).
bool check_extensions(const tinygltf::Model& gltf);

// Raises the capacity error for a scene of more than 35 nodes, or whose
// meshes, counted once per bake, can hold more triangles than a 3DO.
void check_bounds(const tinygltf::Model& gltf, std::size_t nodes, const std::vector<Bake>& bakes);

// One warning for each extension the file names that the import does not
// read, in the order the file names them.
void warn_extensions(const tinygltf::Model& gltf, std::vector<std::string>& warnings);

} // namespace facetor::gltf_import
