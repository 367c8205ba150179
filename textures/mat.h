#pragma once
// MAT textures, inside an archive (at an entry's data position) or loose (at
// position 0). A MAT is either a solid colour (kind 0) or a texture of
// width x height palette indices, rows from the top, each left to right,
// starting 140 bytes after the MAT's start. Nothing is written.
//
// The short-read rule of gob.h applies: values past the end of the file
// keep their variable's previous content, texels past the end repeat the
// last texel read.
#include <cstdint>
#include <vector>

#include "textures/binary_source.h"
#include "textures/gob.h"

namespace facetor {

inline constexpr std::int64_t k_texels_position = 140;

struct MatHeader {
    std::int32_t kind = 0;         // 0 = solid colour, anything else = texture
    std::int32_t colour_index = 0; // read for every MAT, used for kind 0
    std::int32_t width = 0;        // textures only
    std::int32_t height = 0;       // textures only
};

// Reads the header of the MAT at `start` into `header`. The kind is the last
// of the values at 0, 4, 8 that lies inside the file, the colour index the
// last of 12 .. 80; for a texture, the width the last of 100 .. 116 and the
// height the value at 120. Width and height are not read for kind 0.
// A start before the beginning of the file raises FileError (EINVAL).
void read_mat_header(const BinarySource& source, std::int64_t start, MatHeader& header);

// The palette colour of `index`; RangeError outside 0..255.
Rgb palette_colour(const Palette& palette, std::int32_t index);

// The texels of one texture, read a row at a time. `last` is the texel
// variable: a texel past the end of the file repeats the last one read, and
// before the first one read that is whatever `last` held.
class TexelRows {
  public:
    TexelRows(const BinarySource& source, std::int64_t start, std::int32_t width,
              std::uint8_t& last);

    // The first `count` texels of row `y` (0 <= count <= width, y >= 0).
    void read(std::int32_t y, std::int32_t count, std::uint8_t* out) const;

    // Leaves `last` as reading all width x height texels in order would,
    // although only the shown ones were read.
    void finish(std::int32_t height);

  private:
    const BinarySource& source_;
    std::int64_t first_; // file position of texel (0, 0)
    std::int32_t width_;
    std::uint8_t& last_;
    std::uint8_t past_end_; // what a texel beyond the file reads as
};

// A whole MAT in RGB, for exporters. A solid colour is one 1 x 1 pixel; a
// texture keeps at most `max_side` texels of each side (its top-left part),
// and a side of 0 or less gives an empty image. Texels past the end of the
// file repeat the last one read (0 before the first).
struct MatImage {
    bool solid = false;
    std::int32_t width = 0;        // after clipping
    std::int32_t height = 0;       // after clipping
    std::int32_t file_width = 0;   // as the file states it
    std::int32_t file_height = 0;  // as the file states it
    std::vector<std::uint8_t> rgb; // rows of width x (red, green, blue)
};

inline constexpr std::int32_t k_max_decoded_side = 4096;

// Decodes the MAT at `start`. Raises RangeError for a solid colour whose
// index is outside 0..255, FileError for a start before the file's beginning.
MatImage decode_mat(const BinarySource& source, std::int64_t start, const Palette& palette,
                    std::int32_t max_side = k_max_decoded_side);

} // namespace facetor
