#include "gltf/import_container.h"

#include <cstring>

#include "gltf/import_error.h"
#include "gltf/json_check.h"

namespace facetor {

namespace {

constexpr std::uint32_t k_chunk_json = 0x4E4F534A; // "JSON"
constexpr std::uint32_t k_chunk_bin = 0x004E4942;  // "BIN\0"
constexpr std::size_t k_header = 12, k_chunk_header = 8;

std::uint32_t u32_at(std::string_view bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
    }
    return v;
}

[[noreturn]] void ends_inside(const char* what, std::uint64_t needed, std::uint64_t left)
{
    throw ImportError(std::string("the file ends inside its ") + what + " (needs " +
                      byte_count(needed) + " bytes, " + byte_count(left) + " left)");
}

// Every chunk is there, but the header says the container is longer: part
// of it is missing.
void check_length(const GlbLayout& layout, std::size_t size)
{
    if (layout.length > size) {
        throw ImportError("the file is shorter than its GLB header says (" +
                          byte_count(layout.length) + " bytes, " + byte_count(size) + " there)");
    }
}

} // namespace

std::string byte_count(std::uint64_t n)
{
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

GlbLayout check_glb(std::string_view bytes)
{
    if (bytes.size() < k_header) {
        ends_inside("GLB header", k_header, bytes.size());
    }
    const std::uint32_t version = u32_at(bytes, 4);
    if (version != 2) {
        throw ImportError("the GLB container is version " + std::to_string(version) +
                          "; the import reads version 2");
    }
    GlbLayout layout;
    layout.length = u32_at(bytes, 8);
    if (layout.length < k_header) {
        throw ImportError("the GLB header gives a length of " + byte_count(layout.length) +
                          " bytes, less than the header itself");
    }
    // The chunks are checked against what is there, so that a cut file says
    // where it was cut; what follows the container's length is not glTF.
    const std::string_view glb = bytes.substr(0, layout.length);
    std::size_t at = k_header;
    if (glb.size() - at < k_chunk_header) {
        ends_inside("JSON chunk header", k_chunk_header, glb.size() - at);
    }
    const std::uint32_t json_length = u32_at(glb, at);
    if (u32_at(glb, at + 4) != k_chunk_json) {
        throw ImportError("the first chunk of the GLB container is not its JSON");
    }
    at += k_chunk_header;
    if (json_length > glb.size() - at) {
        ends_inside("JSON chunk", json_length, glb.size() - at);
    }
    if (json_length == 0) {
        throw ImportError("the JSON chunk is empty");
    }
    layout.json = glb.substr(at, json_length);
    at += json_length;
    if (at == glb.size()) {
        check_length(layout, bytes.size());
        return layout;
    }
    if (glb.size() - at < k_chunk_header) {
        ends_inside("binary chunk header", k_chunk_header, glb.size() - at);
    }
    const std::uint32_t bin_length = u32_at(glb, at);
    const std::uint32_t bin_type = u32_at(glb, at + 4);
    at += k_chunk_header;
    if (bin_length > glb.size() - at) {
        ends_inside("binary chunk", bin_length, glb.size() - at);
    }
    if (bin_type != k_chunk_bin) {
        throw ImportError("the second chunk of the GLB container is not its binary data");
    }
    if (bin_length == 0 || bin_length % 4 != 0) {
        throw ImportError("the binary chunk's length (" + byte_count(bin_length) +
                          " bytes) is not a positive multiple of 4");
    }
    check_length(layout, bytes.size());
    return layout;
}

void check_json(std::string_view json, bool chunk)
{
    std::size_t first = json.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    first = json.find_first_not_of(" \t\r\n", first);
    if (first != std::string_view::npos && json[first] != '{') {
        throw ImportError(chunk ? "the JSON chunk holds no JSON object"
                                : "not a glTF file: neither a JSON object nor a GLB container");
    }
    const JsonScan scan = scan_json(json, k_max_json_depth);
    if (scan.fault) {
        const std::string where = line_and_column(json, scan.fault->offset);
        switch (scan.fault->kind) {
        case JsonFault::Kind::too_deep:
            throw ImportError("the JSON nests deeper than " + std::to_string(k_max_json_depth) +
                              " levels (" + where + ")");
        case JsonFault::Kind::ends_early:
            throw ImportError("the JSON ends before it is complete (" + where + ")");
        case JsonFault::Kind::invalid:
            throw ImportError("the JSON is not valid at " + where + ": " + scan.fault->what);
        }
    }
    if (scan.asset_version) {
        check_gltf_version(*scan.asset_version);
    }
}

void check_gltf_version(std::string_view version)
{
    if (version.empty()) {
        throw ImportError("the file does not give its glTF version (asset.version)");
    }
    const bool two = version.size() > 2 && version.starts_with("2.") &&
                     version.find_first_not_of("0123456789", 2) == std::string_view::npos;
    if (!two) {
        throw ImportError("the file is glTF " + std::string(version) +
                          "; the import reads glTF 2.x");
    }
}

} // namespace facetor
