#pragma once
// The GOB archive as the texture picker reads it: the 256-colour palette at
// a fixed place, and the directory of MAT entries. All numbers in the files
// are little-endian signed 32-bit. Nothing is ever written.
//
// Short reads are not errors: a value that lies past the end of the file is
// not read, and the variable it would fill keeps its previous content (a
// value only partly inside the file counts as past the end).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "textures/binary_source.h"

namespace facetor {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Entry i is the colour of palette index i.
using Palette = std::array<Rgb, 256>;

// The palette's 768 bytes (red, green, blue per entry) follow 64 bytes that
// are skipped; the place is fixed, not found through the directory.
inline constexpr std::int64_t k_palette_skip_position = 55'604'090;
inline constexpr std::int64_t k_palette_position = k_palette_skip_position + 64;

// The directory: the entry count at position 12, then entries of 136 bytes
// (data position, data length, a 128-byte name in 32 groups of 4 bytes).
inline constexpr std::int64_t k_count_position = 12;
inline constexpr std::int64_t k_entries_position = 16;
inline constexpr std::size_t k_entry_size = 136;
inline constexpr std::size_t k_name_groups = 32;

// One MAT entry of the archive, as the picker lists it.
struct type_mats {
    std::string name;        // base name: no folder, no extension
    std::int32_t offset = 0; // position of the MAT data in the archive
    std::int32_t size = 0;   // length of the data; kept, not used
};

inline constexpr int k_max_mats = 2001;

struct MatDirectory {
    std::array<type_mats, k_max_mats> mats{};
    int mat_count = 0; // entries 0 .. mat_count - 1 are filled
};

// Reads the palette into `palette` in place: entries past the end of the
// data keep what they held (all zero for a fresh palette).
void read_palette(const BinarySource& archive, Palette& palette);

// Sets `mat_count` to 0 and lists the MAT entries of the directory in file
// order. A count of 0 or less lists nothing; a count that runs past the end
// of the data stops there. A 2002nd kept entry raises RangeError ("Range
// check error") and ends the read with 2001 entries filled.
void read_directory(const BinarySource& archive, MatDirectory& directory);

// The same for the archive at `path`; opening raises FileError.
void read_palette_file(const std::string& path, Palette& palette);
void read_directory_file(const std::string& path, MatDirectory& directory);

// A name field decoded: each 4-byte group contributes its bytes before its
// own first zero byte, and the contributions are joined in order.
std::string
decode_entry_name(const std::array<std::array<unsigned char, 4>, k_name_groups>& groups);

// The MAT filter: judged on the characters after the name's first ".", the
// first of which must be "m" and the third "t" (the second is not looked
// at; upper case does not match). A kept name yields its base name, the
// characters between the last backslash before that "." and the ".".
// Names without ".", without a backslash before it, or with fewer than three
// characters after it are not MAT entries.
std::optional<std::string> mat_base_name(std::string_view name);

// The first entry i whose name plus ".mat" equals `material`, or equals the
// same text with "a" to "z" in upper case: the entry the picker preselects
// for a face's material. -1 if none matches.
int find_material(const MatDirectory& directory, std::string_view material);

// The entry at `index`; RangeError if it is not one of the filled entries.
const type_mats& mat_entry(const MatDirectory& directory, int index);

} // namespace facetor
