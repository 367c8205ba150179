#pragma once
// GOB archives and MAT textures for tests. An archive is held sparse, its
// directory and data at the start and its palette at the fixed position
// 55 MB in, so that neither memory nor disk holds the zeros between.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "textures/binary_source.h"
#include "textures/gob.h"

namespace facetor::test {

inline std::string le32(std::int64_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
            static_cast<char>(u >> 24)};
}

// Kind 0 with the colour index at 80.
inline std::string solid_mat(std::int32_t colour_index)
{
    return std::string(80, '\0') + le32(colour_index) + std::string(16, '\0');
}

// Kind 1, width at 116, height at 120, then `texels` as given.
inline std::string texture_mat(std::int32_t width, std::int32_t height, const std::string& texels)
{
    return std::string(8, '\0') + le32(1) + std::string(104, '\0') + le32(width) + le32(height) +
           std::string(16, '\0') + texels;
}

// The texel at (x, y) is (x + 16 * y) mod 256.
inline std::string pattern_mat(int width, int height)
{
    std::string texels;
    for (int i = 0; i < width * height; ++i) {
        texels += static_cast<char>(i % width + 16 * (i / width));
    }
    return texture_mat(width, height, texels);
}

// Entry i is (i, 255 - i, i / 2): every index its own colour.
inline Palette test_palette()
{
    Palette p{};
    for (std::size_t i = 0; i < p.size(); ++i) {
        p[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                static_cast<std::uint8_t>(i / 2)};
    }
    return p;
}

inline std::uint32_t test_argb(int index)
{
    const Rgb c = test_palette()[static_cast<std::size_t>(index & 0xFF)];
    return 0xFF000000u | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}

struct ArchiveEntry {
    std::string name; // zero-padded to 128 bytes; may hold zero bytes itself
    std::string data;
};
using Entries = std::vector<ArchiveEntry>;

class Archive final : public BinarySource {
  public:
    explicit Archive(const Entries& entries, bool with_palette = true)
    {
        body = std::string(12, 'G') + le32(static_cast<std::int64_t>(entries.size()));
        std::size_t at = 16 + entries.size() * k_entry_size;
        for (const ArchiveEntry& e : entries) {
            std::string name = e.name.substr(0, 128);
            name.resize(128, '\0');
            body += le32(static_cast<std::int64_t>(at)) +
                    le32(static_cast<std::int64_t>(e.data.size())) + name;
            at += e.data.size();
        }
        for (const ArchiveEntry& e : entries) {
            body += e.data;
        }
        for (const Rgb& c : test_palette()) {
            palette +=
                {static_cast<char>(c.red), static_cast<char>(c.green), static_cast<char>(c.blue)};
        }
        if (!with_palette) {
            palette.clear();
        }
    }

    // The data position of entry i.
    std::int32_t offset(std::size_t i) const
    {
        std::int32_t v = 0;
        take_le32(reinterpret_cast<const unsigned char*>(body.data()), body.size(),
                  16 + i * k_entry_size, v);
        return v;
    }

    std::int64_t size() const override
    {
        return palette.empty() ? static_cast<std::int64_t>(body.size())
                               : k_palette_position + static_cast<std::int64_t>(palette.size());
    }

    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override
    {
        const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(size() - pos, 0, count));
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t p = pos + static_cast<std::int64_t>(i);
            const std::int64_t q = p - k_palette_position;
            out[i] = static_cast<unsigned char>(p < static_cast<std::int64_t>(body.size())
                                                    ? body[static_cast<std::size_t>(p)]
                                                : q >= 0 ? palette[static_cast<std::size_t>(q)]
                                                         : 0);
        }
        return n;
    }

    // A sparse file: the gap before the palette is a seek.
    void write(const std::string& path) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << body;
        out.seekp(k_palette_position);
        out << palette;
    }

    std::string body;
    std::string palette;
};

// Counts the bytes a reader asks for.
class CountingSource final : public BinarySource {
  public:
    explicit CountingSource(const BinarySource& inner) : inner_(inner) {}
    std::int64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override
    {
        asked += count;
        return inner_.read_at(pos, out, count);
    }
    mutable std::size_t asked = 0;

  private:
    const BinarySource& inner_;
};

} // namespace facetor::test
