// MAT headers, texels and whole-texture decoding, over bytes in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "textures/archive_builder.h"
#include "textures/mat.h"

namespace facetor {
namespace {

TEST(MatHeader, SolidColourReadsNoSize)
{
    MatHeader h{-1, -1, 5, 6};
    read_mat_header(MemoryBinary(test::solid_mat(7)), 0, h);
    EXPECT_EQ(h.kind, 0);
    EXPECT_EQ(h.colour_index, 7);
    EXPECT_EQ(h.width, 5);
    EXPECT_EQ(h.height, 6);
    EXPECT_EQ(palette_colour(test::test_palette(), 7), (Rgb{7, 248, 3}));
}

TEST(MatHeader, ValuesPastTheEndKeepTheirPreviousContent)
{
    // Every 4-byte slot at position p holds 1000 + p; the file is cut at `length`.
    std::string bytes;
    for (int p = 0; p < 140; p += 4) {
        bytes += test::le32(1000 + p);
    }
    struct Case {
        std::size_t length;
        MatHeader expected;
    };
    for (const Case c : {Case{140, {1008, 1080, 1116, 1120}}, Case{10, {1004, -1, -1, -1}},
                         Case{82, {1008, 1076, -1, -1}}, Case{118, {1008, 1080, 1112, -1}},
                         Case{0, {-1, -1, -1, -1}}}) {
        MatHeader h{-1, -1, -1, -1};
        read_mat_header(MemoryBinary(std::string_view(bytes).substr(0, c.length)), 0, h);
        EXPECT_EQ(h.kind, c.expected.kind) << c.length;
        EXPECT_EQ(h.colour_index, c.expected.colour_index) << c.length;
        EXPECT_EQ(h.width, c.expected.width) << c.length;
        EXPECT_EQ(h.height, c.expected.height) << c.length;
    }
    MatHeader h;
    EXPECT_THROW(read_mat_header(MemoryBinary(bytes), -1, h), FileError);
}

TEST(Texels, RowsFollowThe140ByteHeader)
{
    // A 4 x 2 texture inside an archive-like blob: texels at 140 to 147.
    const std::string blob =
        "pad" + test::texture_mat(4, 2, "\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x63");
    const MemoryBinary source(blob);
    std::uint8_t last = 0;
    TexelRows rows(source, 3, 4, last);
    std::vector<std::uint8_t> row(4);
    rows.read(0, 4, row.data());
    EXPECT_EQ(row, (std::vector<std::uint8_t>{10, 11, 12, 13}));
    rows.read(1, 4, row.data());
    EXPECT_EQ(row, (std::vector<std::uint8_t>{14, 15, 16, 17}));
    rows.finish(2);
    EXPECT_EQ(last, 17); // the byte after the texels is never a texel
}

TEST(Texels, PastTheEndRepeatTheLastOneRead)
{
    struct Case {
        std::string texels;  // what the file holds of a 3 x 2 texture
        std::uint8_t before; // the texel variable before
        std::vector<std::uint8_t> row1;
        std::uint8_t after;
    };
    for (const Case& c :
         {Case{"\x01\x02\x03\x04", 77, {4, 4, 4}, 4}, Case{"", 77, {77, 77, 77}, 77}}) {
        const std::string mat = test::texture_mat(3, 2, c.texels);
        const MemoryBinary source(mat);
        std::uint8_t last = c.before;
        TexelRows rows(source, 0, 3, last);
        std::vector<std::uint8_t> row(3);
        rows.read(1, 3, row.data());
        EXPECT_EQ(row, c.row1);
        rows.finish(2);
        EXPECT_EQ(last, c.after);
    }
}

TEST(DecodeMat, SolidColourTextureAndClipping)
{
    const Palette palette = test::test_palette();
    const MatImage solid = decode_mat(MemoryBinary(test::solid_mat(200)), 0, palette);
    EXPECT_TRUE(solid.solid);
    EXPECT_EQ(solid.rgb, (std::vector<std::uint8_t>{200, 55, 100}));
    EXPECT_THROW(decode_mat(MemoryBinary(test::solid_mat(256)), 0, palette), RangeError);
    EXPECT_THROW(decode_mat(MemoryBinary(test::solid_mat(-1)), 0, palette), RangeError);

    const MatImage texture = decode_mat(MemoryBinary(test::pattern_mat(3, 2)), 0, palette, 2);
    EXPECT_EQ(texture.file_width, 3);
    EXPECT_EQ(texture.width, 2);
    EXPECT_EQ(texture.height, 2);
    // Texels 0, 1 / 16, 17: the clipped row keeps the file's stride.
    EXPECT_EQ(texture.rgb,
              (std::vector<std::uint8_t>{0, 255, 0, 1, 254, 0, 16, 239, 8, 17, 238, 8}));

    const MatImage empty = decode_mat(MemoryBinary(test::texture_mat(0, 5, "")), 0, palette);
    EXPECT_EQ(empty.width, 0);
    EXPECT_TRUE(empty.rgb.empty());
}

// Counts the bytes a reader asks for.
class CountingSource final : public BinarySource {
  public:
    explicit CountingSource(std::string_view bytes) : inner_(bytes) {}
    std::int64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override
    {
        asked += count;
        return inner_.read_at(pos, out, count);
    }
    mutable std::size_t asked = 0;

  private:
    MemoryBinary inner_;
};

TEST(DecodeMat, HugeSizeInATinyFileReadsOnlyTheClippedPart)
{
    const std::string mat = test::texture_mat(0x7FFFFFFF, 0x7FFFFFFF, "\x05\x06");
    const CountingSource source(mat);
    const MatImage image = decode_mat(source, 0, test::test_palette(), 64);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 64);
    EXPECT_LE(source.asked, 140u + 64 * 64 + 1);
    EXPECT_EQ(image.rgb[0], 5);
    EXPECT_EQ(image.rgb.back(), test::test_palette()[6].blue); // the last byte repeats
}

} // namespace
} // namespace facetor
