#pragma once
// The outer checks of a glTF file, made before the glTF library sees it: the
// GLB container's header and chunks, and the JSON's grammar and depth. Each
// fault is said in our words, with where it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace facetor {

// JSON nested deeper than this is refused before it is parsed: the
// library's parser recurses once a level.
inline constexpr std::size_t k_max_json_depth = 512;

struct GlbLayout {
    std::size_t length = 0; // the container's, which may be less than the file's
    std::string_view json;  // the JSON chunk
};

// The container of a .glb (bytes starting with "glTF"), checked; raises
// ImportError when it is not one the library can read.
GlbLayout check_glb(std::string_view bytes);

// Raises ImportError when `json` is not a JSON object within the depth, or
// names a glTF version other than 2.x. `chunk` says it came from a .glb.
void check_json(std::string_view json, bool chunk);

// Raises ImportError unless `version` is 2.x ("2.0", "2.1", ...).
void check_gltf_version(std::string_view version);

// A count of bytes as the messages write it: "1,204".
std::string byte_count(std::uint64_t n);

} // namespace facetor
