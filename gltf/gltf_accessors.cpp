#include "gltf/gltf_accessors.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gltf/import_error.h"

namespace facetor {

namespace {

// Zeros take no room in the file, so their count needs a bound of its own.
constexpr std::size_t k_max_elements_without_data = std::size_t{1} << 24;

[[noreturn]] void fail(int accessor, const std::string& why)
{
    throw ImportError("accessor " + std::to_string(accessor) + ": " + why);
}

int component_size(int component_type)
{
    switch (component_type) {
    case TINYGLTF_COMPONENT_TYPE_BYTE:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
        return 1;
    case TINYGLTF_COMPONENT_TYPE_SHORT:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        return 2;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
    case TINYGLTF_COMPONENT_TYPE_FLOAT:
        return 4;
    default:
        return 0;
    }
}

template <typename T> T load(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

double component(const unsigned char* at, int type, bool normalized)
{
    switch (type) {
    case TINYGLTF_COMPONENT_TYPE_BYTE: {
        const double v = load<std::int8_t>(at);
        return normalized ? std::max(v / 127.0, -1.0) : v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: {
        const double v = load<std::uint8_t>(at);
        return normalized ? v / 255.0 : v;
    }
    case TINYGLTF_COMPONENT_TYPE_SHORT: {
        const double v = load<std::int16_t>(at);
        return normalized ? std::max(v / 32767.0, -1.0) : v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
        const double v = load<std::uint16_t>(at);
        return normalized ? v / 65535.0 : v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        return load<std::uint32_t>(at);
    default:
        return load<float>(at);
    }
}

// `count` elements of `element` bytes, `stride` apart, from `offset` within
// buffer view `view`: the first byte, checked to lie wholly in the buffer.
const unsigned char* span_in_view(const tinygltf::Model& gltf, int accessor, int view,
                                  std::uint64_t offset, std::uint64_t count, std::uint64_t element,
                                  std::uint64_t stride)
{
    if (view < 0 || static_cast<std::size_t>(view) >= gltf.bufferViews.size()) {
        fail(accessor, "no buffer view " + std::to_string(view));
    }
    const tinygltf::BufferView& v = gltf.bufferViews[static_cast<std::size_t>(view)];
    if (v.buffer < 0 || static_cast<std::size_t>(v.buffer) >= gltf.buffers.size()) {
        fail(accessor, "buffer view " + std::to_string(view) + " names no buffer");
    }
    const std::vector<unsigned char>& data = gltf.buffers[static_cast<std::size_t>(v.buffer)].data;
    // Every quantity is below 2^64 / 4 or refused, so the sums cannot wrap.
    const std::uint64_t limit = std::uint64_t{1} << 60;
    if (v.byteOffset > data.size() || v.byteLength > data.size() - v.byteOffset ||
        offset >= limit || count >= limit / std::max<std::uint64_t>(stride, 1)) {
        fail(accessor, "lies outside its buffer");
    }
    if (count > 0 && offset + (count - 1) * stride + element > v.byteLength) {
        fail(accessor, "lies outside its buffer");
    }
    return data.data() + v.byteOffset + offset;
}

int components_of(int type)
{
    switch (type) {
    case TINYGLTF_TYPE_SCALAR:
        return 1;
    case TINYGLTF_TYPE_VEC2:
        return 2;
    case TINYGLTF_TYPE_VEC3:
        return 3;
    case TINYGLTF_TYPE_VEC4:
        return 4;
    default:
        return 0;
    }
}

const tinygltf::Accessor& accessor_at(const tinygltf::Model& gltf, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= gltf.accessors.size()) {
        fail(index, "not in the file");
    }
    return gltf.accessors[static_cast<std::size_t>(index)];
}

// Every component of the accessor as doubles, sparse values applied.
std::vector<double> read_components(const tinygltf::Model& gltf, int index, int components)
{
    const tinygltf::Accessor& a = accessor_at(gltf, index);
    const int size = component_size(a.componentType);
    if (components_of(a.type) != components || size == 0) {
        fail(index, "has the wrong element type");
    }
    const std::uint64_t element = static_cast<std::uint64_t>(size) * components;
    std::vector<double> out;
    if (a.bufferView < 0) {
        // No data: zeros, unless sparse values say otherwise. The count is
        // bounded by the file, which must hold the sparse values or indices.
        if (!a.sparse.isSparse && a.count > 0) {
            fail(index, "has no data");
        }
        if (a.count > k_max_elements_without_data) {
            fail(index, "is too large");
        }
        out.assign(a.count * static_cast<std::size_t>(components), 0.0);
    } else {
        std::uint64_t stride = element;
        if (static_cast<std::size_t>(a.bufferView) < gltf.bufferViews.size()) {
            const std::size_t s =
                gltf.bufferViews[static_cast<std::size_t>(a.bufferView)].byteStride;
            if (s != 0) {
                stride = s;
            }
        }
        const unsigned char* first =
            span_in_view(gltf, index, a.bufferView, a.byteOffset, a.count, element, stride);
        out.resize(a.count * static_cast<std::size_t>(components));
        for (std::size_t e = 0; e < a.count; ++e) {
            for (int c = 0; c < components; ++c) {
                out[e * static_cast<std::size_t>(components) + static_cast<std::size_t>(c)] =
                    component(first + e * stride + static_cast<std::uint64_t>(c) * size,
                              a.componentType, a.normalized);
            }
        }
    }
    if (a.sparse.isSparse) {
        const auto count = static_cast<std::uint64_t>(std::max(a.sparse.count, 0));
        const int index_type = a.sparse.indices.componentType;
        const int index_size = component_size(index_type);
        if (index_size == 0 || index_type == TINYGLTF_COMPONENT_TYPE_FLOAT) {
            fail(index, "has sparse indices of a wrong type");
        }
        const unsigned char* indices =
            span_in_view(gltf, index, a.sparse.indices.bufferView,
                         static_cast<std::uint64_t>(std::max(a.sparse.indices.byteOffset, 0)),
                         count, static_cast<std::uint64_t>(index_size), index_size);
        const unsigned char* values =
            span_in_view(gltf, index, a.sparse.values.bufferView,
                         static_cast<std::uint64_t>(std::max(a.sparse.values.byteOffset, 0)), count,
                         element, element);
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto target =
                static_cast<std::uint64_t>(component(indices + i * index_size, index_type, false));
            if (target >= a.count) {
                fail(index, "has a sparse index past its count");
            }
            for (int c = 0; c < components; ++c) {
                out[target * components + static_cast<std::uint64_t>(c)] =
                    component(values + i * element + static_cast<std::uint64_t>(c) * size,
                              a.componentType, a.normalized);
            }
        }
    }
    return out;
}

} // namespace

std::vector<float> read_floats(const tinygltf::Model& gltf, int index, int components)
{
    const std::vector<double> values = read_components(gltf, index, components);
    return {values.begin(), values.end()};
}

std::vector<std::uint32_t> read_indices(const tinygltf::Model& gltf, int index)
{
    const tinygltf::Accessor& a = accessor_at(gltf, index);
    if (a.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
        a.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
        a.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
        fail(index, "indices must be unsigned integers");
    }
    const std::vector<double> values = read_components(gltf, index, 1);
    return {values.begin(), values.end()};
}

} // namespace facetor
