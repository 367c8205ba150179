// Feeds arbitrary bytes to the archive readers as a whole archive. Every
// input must end in a directory or a runtime error: no crash, no hang,
// nothing read outside a name or the data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/errors.h"
#include "textures/gob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One palette for the whole run, as in the editor: a short archive
    // leaves what the previous one read.
    static facetor::Palette palette{};
    static facetor::MatDirectory directory;
    const facetor::MemoryBinary archive({reinterpret_cast<const char*>(data), size});
    facetor::read_palette(archive, palette);
    try {
        facetor::read_directory(archive, directory);
    } catch (const facetor::RuntimeError&) {
        // A 2002nd entry: the reader's normal answer.
    }
    if (directory.mat_count > 0) {
        const auto& first = directory.mats[0];
        (void)facetor::find_material(directory, first.name + ".MAT");
    }
    return 0;
}
