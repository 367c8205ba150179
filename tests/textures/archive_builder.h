#pragma once
// Builds GOB archives and MAT textures for tests. An archive is held sparse:
// its directory and data, and the palette far away at its fixed position,
// with zeros between, so that neither memory nor disk holds 55 MB.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "textures/binary_source.h"
#include "textures/gob.h"

namespace facetor::test {

inline std::string le32(std::int64_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8 & 0xFF),
            static_cast<char>(u >> 16 & 0xFF), static_cast<char>(u >> 24 & 0xFF)};
}

// A solid-colour MAT: kind 0 at 8, the colour index at 80, 100 bytes.
inline std::string solid_mat(std::int32_t colour_index)
{
    std::string m(100, '\0');
    m.replace(80, 4, le32(colour_index));
    return m;
}

// A texture MAT header (kind 1) followed by `texels` as they are given.
inline std::string texture_mat(std::int32_t width, std::int32_t height, std::string_view texels)
{
    std::string m(140, '\0');
    m.replace(8, 4, le32(1));
    m.replace(116, 4, le32(width));
    m.replace(120, 4, le32(height));
    return m.append(texels);
}

// A texture whose texel at (x, y) is (x + 16 * y) mod 256.
inline std::string pattern_mat(std::int32_t width, std::int32_t height)
{
    std::string texels;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            texels += static_cast<char>((x + 16 * y) & 0xFF);
        }
    }
    return texture_mat(width, height, texels);
}

// Palette entry i is (i, 255 - i, i / 2): every index its own colour.
inline Palette test_palette()
{
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        p[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i),
                                          static_cast<std::uint8_t>(255 - i),
                                          static_cast<std::uint8_t>(i / 2)};
    }
    return p;
}

inline std::uint32_t test_argb(int index)
{
    const Rgb c = test_palette()[static_cast<std::size_t>(index)];
    return 0xFF000000u | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}

struct ArchiveEntry;
using Entries = std::vector<ArchiveEntry>;

struct ArchiveEntry {
    std::string name; // zero-padded to 128 bytes; may hold zero bytes itself
    std::string data;
};

class Archive final : public BinarySource {
  public:
    // Header, count, directory and the entries' data one after another;
    // the palette, if any, at its fixed position.
    explicit Archive(const std::vector<ArchiveEntry>& entries,
                     std::optional<Palette> palette = test_palette())
    {
        body = std::string(12, 'G') + le32(static_cast<std::int64_t>(entries.size()));
        std::int64_t data_at =
            k_entries_position + static_cast<std::int64_t>(entries.size() * k_entry_size);
        for (const ArchiveEntry& e : entries) {
            std::string name = e.name.substr(0, 128);
            name.resize(128, '\0');
            body += le32(data_at) + le32(static_cast<std::int64_t>(e.data.size())) + name;
            data_at += static_cast<std::int64_t>(e.data.size());
        }
        for (const ArchiveEntry& e : entries) {
            body += e.data;
        }
        if (palette) {
            for (const Rgb& c : *palette) {
                tail += {static_cast<char>(c.red), static_cast<char>(c.green),
                         static_cast<char>(c.blue)};
            }
        }
    }

    // The data position of entry i, as the directory states it.
    std::int32_t offset(std::size_t i) const
    {
        std::int32_t v = 0;
        const std::size_t at = 16 + i * k_entry_size;
        take_le32(reinterpret_cast<const unsigned char*>(body.data()), body.size(), at, v);
        return v;
    }

    std::int64_t size() const override
    {
        return tail.empty() ? static_cast<std::int64_t>(body.size())
                            : k_palette_position + static_cast<std::int64_t>(tail.size());
    }

    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override
    {
        const std::size_t n =
            static_cast<std::size_t>(std::clamp<std::int64_t>(size() - pos, 0, count));
        std::memset(out, 0, n);
        copy_part(body, 0, pos, out, n);
        copy_part(tail, k_palette_position, pos, out, n);
        return n;
    }

    // Writes the archive as a sparse file: the gap is a seek, not zeros.
    void write(const std::string& path) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << body;
        if (!tail.empty()) {
            out.seekp(k_palette_position);
            out << tail;
        }
    }

    std::string body;
    std::string tail; // the palette bytes

  private:
    static void copy_part(const std::string& part, std::int64_t at, std::int64_t pos,
                          unsigned char* out, std::size_t n)
    {
        const std::int64_t from = std::max(pos, at);
        const std::int64_t to = std::min(pos + static_cast<std::int64_t>(n),
                                         at + static_cast<std::int64_t>(part.size()));
        if (from < to) {
            std::memcpy(out + (from - pos), part.data() + (from - at),
                        static_cast<std::size_t>(to - from));
        }
    }
};

} // namespace facetor::test
