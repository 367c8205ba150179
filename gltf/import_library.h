#pragma once
// The glTF library behind the import, held to our words: the file is checked
// before the library parses it, outside buffers are read only from plain
// files, and whatever the library still refuses is said as we say it.
#include <string>
#include <string_view>

#include <tiny_gltf.h>

namespace facetor {

// The glTF in `bytes` (a .glb or a .gltf, told apart by their content);
// buffers a .gltf names are read from `base_dir`. Raises ImportError.
tinygltf::Model load_gltf(std::string_view bytes, const std::string& base_dir);

// The first failure in a text of the library's, in our words.
std::string library_failure_in_our_words(const std::string& library_text);

} // namespace facetor
