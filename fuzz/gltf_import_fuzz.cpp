// Feeds arbitrary bytes to the glTF import as a .glb or a .gltf. Every input
// must end in a model or an ImportError: no crash, no hang, nothing read
// outside a buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gltf/import.h"
#include "model/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        // No folder: a fuzzed file names no outside buffer that exists.
        facetor::import_gltf_bytes({reinterpret_cast<const char*>(data), size},
                                   "/nonexistent-facetor-fuzz", {});
    } catch (const facetor::ImportError&) {
        // A file that cannot be read or does not fit: the import's answer.
    }
    return 0;
}
