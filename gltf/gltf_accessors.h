#pragma once
// Reading glTF accessors as numbers, whatever their component type, stride
// or sparse substitutions, without ever reading past a buffer: a file's
// offsets and counts are checked before a byte is touched, and only the
// elements asked for are read, so that an accessor's count costs nothing
// until its elements are used.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <tiny_gltf.h>

namespace facetor {

class AccessorReader {
  public:
    // Accessor `index` as `components` numbers per element (normalized
    // integers become 0..1 or -1..1, plain integers their value). Raises
    // ImportError when the accessor is missing, has another element type
    // or lies outside its buffer.
    AccessorReader(const tinygltf::Model& gltf, int index, int components);

    std::size_t count() const { return count_; }
    int component_type() const { return type_; }

    // Element `element` (below count()) into out[0 .. components).
    void read(std::size_t element, double* out) const;

    // Element `element` of a scalar accessor of unsigned integers, as it
    // is stored (never normalized).
    std::uint32_t read_unsigned(std::size_t element) const;

  private:
    // The bytes of an element: in the data, a sparse value, or null for a
    // zero element.
    const unsigned char* source(std::size_t element) const;

    int components_;
    int type_;
    int size_; // of one component
    bool normalized_;
    std::uint64_t element_ = 0; // bytes of one element
    std::size_t count_;
    const unsigned char* data_ = nullptr; // null: zeros, as glTF gives an accessor without a view
    std::uint64_t stride_ = 0;
    const unsigned char* sparse_indices_ = nullptr;
    int sparse_index_type_ = 0;
    std::uint64_t sparse_index_size_ = 0;
    std::uint64_t sparse_count_ = 0;
    const unsigned char* sparse_values_ = nullptr;
};

// Accessor `index` as vertex indices (unsigned byte, short or int scalars),
// every element.
std::vector<std::uint32_t> read_indices(const tinygltf::Model& gltf, int index);

// The element count of accessor `index`, 0 when the file has no such
// accessor: what a bound can be set from before anything is read.
std::size_t accessor_count(const tinygltf::Model& gltf, int index);

} // namespace facetor
