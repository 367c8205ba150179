// MAT headers, texels and whole-texture decoding, over bytes in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "textures/archive_builder.h"
#include "textures/mat.h"

namespace facetor {
namespace {

using Header = std::vector<std::int32_t>; // kind, colour index, width, height

Header header_of(const std::string& bytes, Header before)
{
    MatHeader h{before[0], before[1], before[2], before[3]};
    read_mat_header(MemoryBinary(bytes), 0, h);
    return {h.kind, h.colour_index, h.width, h.height};
}

TEST(MatHeader, SolidColourReadsNoSizeAndShortFilesKeepPreviousValues)
{
    EXPECT_EQ(header_of(test::solid_mat(7), {-1, -1, 5, 6}), (Header{0, 7, 5, 6}));
    // Every 4-byte slot at position p holds 1000 + p; the file is cut short.
    std::string bytes;
    for (int p = 0; p < 140; p += 4) {
        bytes += test::le32(1000 + p);
    }
    for (const auto& [length, expected] :
         std::vector<std::pair<std::size_t, Header>>{{140, {1008, 1080, 1116, 1120}},
                                                     {10, {1004, -1, -1, -1}},
                                                     {82, {1008, 1076, -1, -1}},
                                                     {118, {1008, 1080, 1112, -1}},
                                                     {0, {-1, -1, -1, -1}}}) {
        EXPECT_EQ(header_of(bytes.substr(0, length), {-1, -1, -1, -1}), expected) << length;
    }
    MatHeader h;
    EXPECT_THROW(read_mat_header(MemoryBinary(bytes), -1, h), FileError);
    EXPECT_THROW(palette_colour(test::test_palette(), 256), RangeError);
    EXPECT_THROW(palette_colour(test::test_palette(), -1), RangeError);
}

TEST(Texels, RowsFollowTheHeaderAndRepeatTheLastOnePastTheEnd)
{
    struct Case {
        std::string texels; // what the file holds of a 4 x 2 texture
        std::vector<std::uint8_t> row0, row1;
        std::uint8_t after;
    };
    // The texture sits 3 bytes into the data; texel bytes 140 to 147 from there.
    for (const Case& c :
         {Case{"\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x63", {10, 11, 12, 13}, {14, 15, 16, 17}, 17},
          Case{"\x01\x02", {1, 2, 2, 2}, {2, 2, 2, 2}, 2},
          Case{"", {77, 77, 77, 77}, {77, 77, 77, 77}, 77}}) {
        const std::string data = "pad" + test::texture_mat(4, 2, c.texels);
        const MemoryBinary source(data);
        std::uint8_t last = 77; // what the previous texture left
        TexelRows rows(source, 3, 4, last);
        std::vector<std::uint8_t> row0(4), row1(4);
        rows.read(0, 4, row0.data());
        rows.read(1, 4, row1.data());
        rows.finish(2);
        EXPECT_EQ(row0, c.row0) << c.texels.size();
        EXPECT_EQ(row1, c.row1) << c.texels.size();
        EXPECT_EQ(last, c.after) << c.texels.size();
    }
}

TEST(DecodeMat, SolidColourTextureAndClipping)
{
    const Palette palette = test::test_palette();
    EXPECT_EQ(decode_mat(MemoryBinary(test::solid_mat(200)), 0, palette).rgb,
              (std::vector<std::uint8_t>{200, 55, 100}));
    EXPECT_THROW(decode_mat(MemoryBinary(test::solid_mat(256)), 0, palette), RangeError);

    // Clipped to 2 x 2, the rows keep the file's stride: texels 0, 1 / 16, 17.
    const MatImage clipped = decode_mat(MemoryBinary(test::pattern_mat(3, 2)), 0, palette, 2);
    EXPECT_EQ(clipped.rgb,
              (std::vector<std::uint8_t>{0, 255, 0, 1, 254, 0, 16, 239, 8, 17, 238, 8}));

    const std::string huge = test::texture_mat(0x7FFFFFFF, 0x7FFFFFFF, "\x05\x06");
    const MemoryBinary bytes(huge);
    const test::CountingSource source(bytes);
    const MatImage image = decode_mat(source, 0, palette, 64);
    EXPECT_EQ(image.width * image.height, 64 * 64);
    EXPECT_LE(source.asked, 140u + 64 * 64 + 1);
    EXPECT_EQ(image.rgb.back(), palette[6].blue);
}

} // namespace
} // namespace facetor
