#include "textures/mat.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "model/errors.h"

namespace facetor {

void read_mat_header(const BinarySource& source, std::int64_t start, MatHeader& header)
{
    if (start < 0) {
        throw FileError(EINVAL); // a seek before the file's beginning
    }
    std::array<unsigned char, k_texels_position> bytes{};
    const std::size_t n = source.read_at(start, bytes.data(), bytes.size());
    for (std::size_t at = 0; at <= 8; at += 4) {
        take_le32(bytes.data(), n, at, header.kind);
    }
    for (std::size_t at = 12; at <= 80; at += 4) {
        take_le32(bytes.data(), n, at, header.colour_index);
    }
    if (header.kind == 0) {
        return;
    }
    for (std::size_t at = 100; at <= 116; at += 4) {
        take_le32(bytes.data(), n, at, header.width);
    }
    take_le32(bytes.data(), n, 120, header.height);
}

Rgb palette_colour(const Palette& palette, std::int32_t index)
{
    if (index < 0 || index > 255) {
        throw RangeError();
    }
    return palette[static_cast<std::size_t>(index)];
}

TexelRows::TexelRows(const BinarySource& source, std::int64_t start, std::int32_t width,
                     std::uint8_t& last)
    : source_(source), first_(start + k_texels_position), width_(width), last_(last),
      past_end_(last)
{
    // Reading runs in file order, so past the end every texel repeats the
    // file's last byte, provided that byte was a texel at all.
    const std::int64_t final_byte = source.size() - 1;
    unsigned char byte = 0;
    if (final_byte >= first_ && source.read_at(final_byte, &byte, 1) == 1) {
        past_end_ = byte;
    }
}

void TexelRows::read(std::int32_t y, std::int32_t count, std::uint8_t* out) const
{
    const auto wanted = static_cast<std::size_t>(count);
    const std::size_t n =
        source_.read_at(first_ + static_cast<std::int64_t>(y) * width_, out, wanted);
    std::fill(out + n, out + wanted, past_end_);
}

void TexelRows::finish(std::int32_t height)
{
    if (width_ <= 0 || height <= 0) {
        return; // no texel was read
    }
    const std::int64_t end = first_ + static_cast<std::int64_t>(width_) * height;
    const std::int64_t final_texel = std::min(end, source_.size()) - 1;
    unsigned char byte = 0;
    if (final_texel >= first_ && source_.read_at(final_texel, &byte, 1) == 1) {
        last_ = byte;
    }
}

MatImage decode_mat(const BinarySource& source, std::int64_t start, const Palette& palette,
                    std::int32_t max_side)
{
    MatHeader header;
    read_mat_header(source, start, header);
    MatImage image;
    if (header.kind == 0) {
        const Rgb c = palette_colour(palette, header.colour_index);
        image.solid = true;
        image.width = image.height = image.file_width = image.file_height = 1;
        image.rgb = {c.red, c.green, c.blue};
        return image;
    }
    image.file_width = header.width;
    image.file_height = header.height;
    if (header.width <= 0 || header.height <= 0 || max_side <= 0) {
        return image;
    }
    image.width = std::min(header.width, max_side);
    image.height = std::min(header.height, max_side);
    const auto w = static_cast<std::size_t>(image.width);
    image.rgb.resize(w * static_cast<std::size_t>(image.height) * 3);

    std::uint8_t last = 0;
    const TexelRows rows(source, start, header.width, last);
    std::vector<std::uint8_t> row(w);
    auto out = image.rgb.begin();
    for (std::int32_t y = 0; y < image.height; ++y) {
        rows.read(y, image.width, row.data());
        for (const std::uint8_t p : row) {
            const Rgb& c = palette[p];
            *out++ = c.red;
            *out++ = c.green;
            *out++ = c.blue;
        }
    }
    return image;
}

} // namespace facetor
