#pragma once
// How each face material looks in the export: a texture or a solid colour
// from the GOB archive, found the way the texture picker preselects an
// entry for a face's material, or a plain material.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/errors.h"
#include "textures/gob.h"

namespace facetor {

// An archive's palette and MAT directory, read once for a whole export.
class NotAnArchiveError : public RuntimeError {
  public:
    NotAnArchiveError() : RuntimeError("not an archive: the file ends before the palette") {}
};

struct TextureArchive {
    std::string path;
    Palette palette{};
    std::unique_ptr<MatDirectory> directory = std::make_unique<MatDirectory>();
    std::vector<std::string> warnings; // what reading it could not take whole
};

// Reads the palette and the directory of the archive at `path`. Raises the
// readers' FileError, and NotAnArchiveError for a file that ends before the
// palette. A directory of more than 2001 MAT entries keeps the first 2001,
// with a warning, as the picker does.
TextureArchive open_texture_archive(const std::string& path);

struct MaterialLook {
    enum class Kind { plain, solid, texture };
    Kind kind = Kind::plain;
    int entry = -1;                // the archive entry it came from
    Rgb colour;                    // solid
    std::int32_t width = 0;        // texture, in texels
    std::int32_t height = 0;       // texture
    std::vector<std::uint8_t> rgb; // texture: rows from the top, 3 bytes a texel
};

// One look per name, in order. Without an archive every look is plain and
// nothing is said; with one, each name that yields no texture or colour
// adds one line to `warnings`. Names that find the same entry ("a.mat",
// "A.MAT") share its decoded look.
std::vector<MaterialLook> look_up_materials(const std::vector<std::string>& names,
                                            const TextureArchive* archive,
                                            std::vector<std::string>& warnings);

} // namespace facetor
