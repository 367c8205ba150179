#pragma once
// Reading glTF accessors as numbers, whatever their component type, stride
// or sparse substitutions, without ever reading past a buffer: a file's
// offsets and counts are checked before a byte is touched.
#include <cstdint>
#include <vector>

#include <tiny_gltf.h>

namespace facetor {

// Accessor `index` as `components` floats per element (normalized integers
// become 0..1 or -1..1, plain integers their value). Raises ImportError when
// the accessor is missing, has another element type or lies outside its
// buffer.
std::vector<float> read_floats(const tinygltf::Model& gltf, int index, int components);

// Accessor `index` as vertex indices (unsigned byte, short or int scalars).
std::vector<std::uint32_t> read_indices(const tinygltf::Model& gltf, int index);

} // namespace facetor
