#include "gltf/gltf_accessors.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gltf/import_error.h"

namespace facetor {

namespace {

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

bool is_unsigned_integer(int component_type)
{
    return component_type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
           component_type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ||
           component_type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
}

template <typename T> T load(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Only for the unsigned integer types: no signed value is ever read as an
// index.
std::uint32_t unsigned_at(const unsigned char* at, int type)
{
    switch (type) {
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
        return load<std::uint8_t>(at);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        return load<std::uint16_t>(at);
    default:
        return load<std::uint32_t>(at);
    }
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

} // namespace

AccessorReader::AccessorReader(const tinygltf::Model& gltf, int index, int components)
    : components_(components)
{
    const tinygltf::Accessor& a = accessor_at(gltf, index);
    type_ = a.componentType;
    size_ = component_size(type_);
    normalized_ = a.normalized;
    count_ = a.count;
    if (components_of(a.type) != components || size_ == 0) {
        fail(index, "has the wrong element type");
    }
    element_ = static_cast<std::uint64_t>(size_) * static_cast<std::uint64_t>(components);
    if (a.bufferView >= 0) {
        stride_ = element_;
        if (static_cast<std::size_t>(a.bufferView) < gltf.bufferViews.size()) {
            const std::size_t s =
                gltf.bufferViews[static_cast<std::size_t>(a.bufferView)].byteStride;
            if (s != 0) {
                stride_ = s;
            }
        }
        data_ = span_in_view(gltf, index, a.bufferView, a.byteOffset, count_, element_, stride_);
    } else if (!a.sparse.isSparse && count_ > 0) {
        fail(index, "has no data");
    }
    if (!a.sparse.isSparse) {
        return;
    }
    sparse_count_ = static_cast<std::uint64_t>(std::max(a.sparse.count, 0));
    sparse_index_type_ = a.sparse.indices.componentType;
    sparse_index_size_ = static_cast<std::uint64_t>(component_size(sparse_index_type_));
    if (!is_unsigned_integer(sparse_index_type_)) {
        fail(index, "has sparse indices that are not unsigned integers");
    }
    sparse_indices_ =
        span_in_view(gltf, index, a.sparse.indices.bufferView,
                     static_cast<std::uint64_t>(std::max(a.sparse.indices.byteOffset, 0)),
                     sparse_count_, sparse_index_size_, sparse_index_size_);
    sparse_values_ =
        span_in_view(gltf, index, a.sparse.values.bufferView,
                     static_cast<std::uint64_t>(std::max(a.sparse.values.byteOffset, 0)),
                     sparse_count_, element_, element_);
    // The indices strictly increase in a valid file, so the last is the
    // largest. In a file where they do not, a look-up may miss a
    // substitution, but never reads outside the indices.
    if (sparse_count_ > 0 && unsigned_at(sparse_indices_ + (sparse_count_ - 1) * sparse_index_size_,
                                         sparse_index_type_) >= count_) {
        fail(index, "has a sparse index past its count");
    }
}

const unsigned char* AccessorReader::source(std::size_t element) const
{
    if (element >= count_) {
        throw ImportError("an accessor read past its count");
    }
    // The sparse indices are sorted: a binary search finds a substitution.
    std::uint64_t low = 0, high = sparse_count_;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (unsigned_at(sparse_indices_ + middle * sparse_index_size_, sparse_index_type_) <
            element) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low < sparse_count_ &&
        unsigned_at(sparse_indices_ + low * sparse_index_size_, sparse_index_type_) == element) {
        return sparse_values_ + low * element_;
    }
    return data_ == nullptr ? nullptr : data_ + element * stride_;
}

void AccessorReader::read(std::size_t element, double* out) const
{
    const unsigned char* at = source(element);
    for (int c = 0; c < components_; ++c) {
        out[c] = at == nullptr ? 0.0 : component(at + c * size_, type_, normalized_);
    }
}

std::uint32_t AccessorReader::read_unsigned(std::size_t element) const
{
    const unsigned char* at = source(element);
    return at == nullptr ? 0 : unsigned_at(at, type_);
}

std::vector<std::uint32_t> read_indices(const tinygltf::Model& gltf, int index)
{
    const AccessorReader reader(gltf, index, 1);
    if (!is_unsigned_integer(reader.component_type())) {
        fail(index, "indices must be unsigned integers");
    }
    std::vector<std::uint32_t> out(reader.count());
    for (std::size_t e = 0; e < out.size(); ++e) {
        out[e] = reader.read_unsigned(e);
    }
    return out;
}

std::size_t accessor_count(const tinygltf::Model& gltf, int index)
{
    return index < 0 || static_cast<std::size_t>(index) >= gltf.accessors.size()
               ? 0
               : gltf.accessors[static_cast<std::size_t>(index)].count;
}

} // namespace facetor
