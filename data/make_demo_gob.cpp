// Writes the demo texture archive res2.gob and the loose demo texture
// bottle1.mat into the folder named on the command line. Every texture and
// the palette are drawn here, procedurally: nothing is copied from anywhere.
//
// The archive keeps the palette at its fixed place 55 MB in; the gap before
// it is skipped with a seek, so the file is sparse on disk.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "textures/gob.h"
#include "textures/mat.h"

namespace {

using facetor::Palette;
using facetor::Rgb;

// Sixteen ramps of sixteen shades, dark to light: index 16 * ramp + shade.
enum Ramp {
    grey,
    brick,
    clay,
    sand,
    moss,
    leaf,
    teal,
    sky,
    ocean,
    dusk,
    plum,
    rose,
    gold,
    rust,
    glass,
    slate
};

constexpr std::array<Rgb, 16> k_ramp_colours = {{{200, 200, 200},
                                                 {178, 64, 44},
                                                 {196, 120, 80},
                                                 {222, 196, 140},
                                                 {110, 140, 60},
                                                 {70, 180, 70},
                                                 {40, 160, 150},
                                                 {110, 170, 235},
                                                 {30, 80, 190},
                                                 {110, 80, 170},
                                                 {150, 60, 140},
                                                 {230, 120, 150},
                                                 {235, 190, 50},
                                                 {160, 80, 30},
                                                 {40, 130, 80},
                                                 {90, 100, 120}}};

std::uint8_t shade_of(Ramp ramp, int shade)
{
    return static_cast<std::uint8_t>(16 * ramp + std::clamp(shade, 0, 15));
}

Palette demo_palette()
{
    Palette p{};
    for (int ramp = 0; ramp < 16; ++ramp) {
        const Rgb base = k_ramp_colours[static_cast<std::size_t>(ramp)];
        for (int shade = 0; shade < 16; ++shade) {
            // Shades 0..11 darken the base towards black, 12..15 lighten it.
            const auto mix = [shade](std::uint8_t c) {
                const double v = shade < 12 ? c * (0.15 + 0.85 * shade / 11.0)
                                            : c + (255 - c) * (shade - 11) / 5.0;
                return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
            };
            p[static_cast<std::size_t>(16 * ramp + shade)] = {mix(base.red), mix(base.green),
                                                              mix(base.blue)};
        }
    }
    return p;
}

void put_le32(std::string& bytes, std::size_t at, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(u >> (8 * i) & 0xFF);
    }
}

// Our MAT layout: an 8-byte tag, the kind at 8, the colour index at 80, and
// for a texture its width at 116, height at 120 and the texels at 140.
std::string solid_mat(std::uint8_t colour_index)
{
    std::string m(100, '\0');
    m.replace(0, 8, "FCTRMAT1");
    put_le32(m, 80, colour_index);
    return m;
}

struct Texture {
    int width, height;
    std::vector<std::uint8_t> texels; // rows from the top
};

std::string texture_mat(const Texture& t)
{
    std::string m(static_cast<std::size_t>(facetor::k_texels_position), '\0');
    m.replace(0, 8, "FCTRMAT1");
    put_le32(m, 8, 1);
    put_le32(m, 116, t.width);
    put_le32(m, 120, t.height);
    m.append(t.texels.begin(), t.texels.end());
    return m;
}

template <typename F> Texture draw(int width, int height, F texel)
{
    Texture t{width, height, {}};
    t.texels.reserve(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            t.texels.push_back(texel(x, y));
        }
    }
    return t;
}

Texture checker()
{
    return draw(64, 64, [](int x, int y) {
        const bool dark = ((x / 8) + (y / 8)) % 2 == 1;
        return dark ? shade_of(slate, 4) : shade_of(grey, 13);
    });
}

Texture gradient()
{
    // 32 rows: the bar fills in steps of 3.
    return draw(32, 32, [](int x, int y) { return shade_of(dusk, (x + y) * 15 / 62); });
}

Texture sunset()
{
    return draw(64, 64, [](int x, int y) {
        const int band = y * 4 / 64;
        const Ramp ramps[] = {ocean, dusk, rose, gold};
        return shade_of(ramps[band], 4 + (y % 16) * 8 / 16 + (x % 7 == 0 ? 1 : 0));
    });
}

Texture bricks()
{
    // Bricks of 16 x 8 with a 1-texel mortar line, every other course shifted.
    return draw(128, 64, [](int x, int y) {
        const int course = y / 8;
        const int shifted = x + (course % 2) * 8;
        if (y % 8 == 7 || shifted % 16 == 15) {
            return shade_of(grey, 9);
        }
        const int brick_no = course * 8 + shifted / 16;
        const int speckle = (x * 7 + y * 13 + brick_no * 5) % 5 == 0 ? -2 : 0;
        return shade_of(brick, 7 + brick_no % 4 + speckle);
    });
}

Texture rings()
{
    // Larger than the preview: only its top-left 255 x 255 texels show.
    return draw(256, 256, [](int x, int y) {
        const double d = std::hypot(x - 128.0, y - 128.0);
        const int ring = static_cast<int>(d / 12.0);
        const Ramp ramp = ring % 2 == 0 ? teal : sand;
        return shade_of(ramp, 6 + static_cast<int>(d) % 12 / 2);
    });
}

Texture stripes()
{
    return draw(16, 16, [](int x, int y) {
        return (x + y) % 8 < 4 ? shade_of(gold, 12) : shade_of(rust, 6);
    });
}

Texture bottle()
{
    // A green bottle on a pale wall: a neck, shoulders and a round body.
    return draw(32, 64, [](int x, int y) {
        const double cx = 15.5;
        double half = 0;
        if (y >= 4 && y < 20) {
            half = 3;
        } else if (y >= 20 && y < 28) {
            half = 3 + (y - 20) * 8 / 8.0;
        } else if (y >= 28 && y < 60) {
            half = 11;
        }
        const double dx = std::abs(x - cx);
        if (dx > half) {
            return shade_of(sand, 13);
        }
        const int light = 11 - static_cast<int>(dx * 8 / (half + 1)) + (dx < 2 && x < cx ? 3 : 0);
        return shade_of(glass, light);
    });
}

// The sample model's two materials, so that its faces show a texture.
Texture gem()
{
    // Facets of a cut stone: wedges around the centre, each its own shade.
    return draw(64, 64, [](int x, int y) {
        const double dx = x - 31.5;
        const double dy = y - 31.5;
        const int wedge =
            static_cast<int>((std::atan2(dy, dx) + 3.14159265) / (2 * 3.14159265) * 8) % 8;
        const bool table = std::abs(dx) + std::abs(dy) < 14;
        const int shade = table ? 13 : 5 + (wedge * 3) % 8;
        return shade_of(ocean, shade + ((x + y) % 11 == 0 ? 1 : 0));
    });
}

Texture base()
{
    // A veined stone slab.
    return draw(64, 64, [](int x, int y) {
        const double vein = std::sin(x * 0.21 + std::sin(y * 0.17) * 2.5 + y * 0.07);
        const int shade = vein > 0.85 ? 6 : 11 + static_cast<int>(vein * 2);
        return shade_of(slate, shade);
    });
}

struct Entry {
    std::string name;
    std::string data;
};

bool write_archive(const std::string& path, const std::vector<Entry>& entries,
                   const Palette& palette)
{
    std::string head(static_cast<std::size_t>(facetor::k_entries_position), '\0');
    head.replace(0, 12, "FCTRDEMOGOB1");
    put_le32(head, static_cast<std::size_t>(facetor::k_count_position),
             static_cast<std::int32_t>(entries.size()));
    std::size_t data_at = head.size() + entries.size() * facetor::k_entry_size;
    std::string directory;
    for (const Entry& e : entries) {
        std::string record(facetor::k_entry_size, '\0');
        put_le32(record, 0, static_cast<std::int32_t>(data_at));
        put_le32(record, 4, static_cast<std::int32_t>(e.data.size()));
        record.replace(8, e.name.size(), e.name);
        directory += record;
        data_at += e.data.size();
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << head << directory;
    for (const Entry& e : entries) {
        out << e.data;
    }
    out.seekp(facetor::k_palette_position);
    for (const Rgb& c : palette) {
        out.put(static_cast<char>(c.red))
            .put(static_cast<char>(c.green))
            .put(static_cast<char>(c.blue));
    }
    out.close();
    return static_cast<bool>(out);
}

bool write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_gob <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<Entry> entries = {
        {"mat\\checker.mat", texture_mat(checker())},
        {"mat\\gradient.mat", texture_mat(gradient())},
        {"3do\\crate.3do", "# not a texture: the picker does not list it\r\n"},
        {"mat\\sunset.mat", texture_mat(sunset())},
        {"mat\\bricks.mat", texture_mat(bricks())},
        {"misc\\readme.txt", "Facetor demo archive, drawn by data/make_demo_gob.cpp.\r\n"},
        {"mat\\rings.mat", texture_mat(rings())},
        {"mat\\stripes.mat", texture_mat(stripes())},
        {"mat\\sky.mat", solid_mat(shade_of(sky, 12))},
        {"mat\\gem.mat", texture_mat(gem())},
        {"mat\\base.mat", texture_mat(base())},
    };
    if (!write_archive(folder + "/res2.gob", entries, demo_palette()) ||
        !write_file(folder + "/bottle1.mat", texture_mat(bottle()))) {
        std::perror("make_demo_gob");
        return 1;
    }
    return 0;
}
