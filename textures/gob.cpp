#include "textures/gob.h"

#include <algorithm>

#include "model/errors.h"

namespace facetor {

void read_palette(const BinarySource& archive, Palette& palette)
{
    std::array<unsigned char, 3 * 256> bytes{};
    const std::size_t n = archive.read_at(k_palette_position, bytes.data(), bytes.size());
    for (std::size_t i = 0; i < n; ++i) {
        Rgb& entry = palette[i / 3];
        (i % 3 == 0 ? entry.red : i % 3 == 1 ? entry.green : entry.blue) = bytes[i];
    }
}

std::string decode_entry_name(const std::array<std::array<unsigned char, 4>, k_name_groups>& groups)
{
    std::string name;
    for (const auto& group : groups) {
        for (const unsigned char c : group) {
            if (c == 0) {
                break;
            }
            name += static_cast<char>(c);
        }
    }
    return name;
}

std::optional<std::string> mat_base_name(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || name.size() - dot - 1 < 3) {
        return std::nullopt;
    }
    if (name[dot + 1] != 'm' || name[dot + 3] != 't') {
        return std::nullopt;
    }
    const std::size_t slash = name.rfind('\\', dot);
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(name.substr(slash + 1, dot - slash - 1));
}

void read_directory(const BinarySource& archive, MatDirectory& directory)
{
    directory.mat_count = 0;

    // The four header values go through one variable; the last one read is
    // the count.
    std::array<unsigned char, k_entries_position> header{};
    const std::size_t header_read = archive.read_at(0, header.data(), header.size());
    std::int32_t count = 0;
    for (std::size_t at = 0; at < header.size(); at += 4) {
        take_le32(header.data(), header_read, at, count);
    }

    // Like the count, these variables carry over from one entry to the next,
    // which is what an entry cut by the end of the file sees.
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::array<std::array<unsigned char, 4>, k_name_groups> groups{};
    std::array<unsigned char, 4> group{};

    const std::int64_t end = archive.size();
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t at = k_entries_position + i * static_cast<std::int64_t>(k_entry_size);
        if (at >= end) {
            break; // a count beyond the file: nothing more to read
        }
        std::array<unsigned char, k_entry_size> entry{};
        const std::size_t n = archive.read_at(at, entry.data(), entry.size());
        take_le32(entry.data(), n, 0, offset);
        take_le32(entry.data(), n, 4, length);
        for (std::size_t g = 0; g < k_name_groups; ++g) {
            const std::size_t from = 8 + 4 * g;
            if (from + 4 <= n) {
                std::copy_n(entry.begin() + static_cast<std::ptrdiff_t>(from), 4, group.begin());
            }
            groups[g] = group;
        }
        std::optional<std::string> base = mat_base_name(decode_entry_name(groups));
        if (!base) {
            continue;
        }
        if (directory.mat_count >= k_max_mats) {
            throw RangeError();
        }
        type_mats& kept = directory.mats[static_cast<std::size_t>(directory.mat_count)];
        kept.name = std::move(*base);
        kept.offset = offset;
        kept.size = length;
        ++directory.mat_count;
    }
}

void read_palette_file(const std::string& path, Palette& palette)
{
    const FileBinary archive(path);
    read_palette(archive, palette);
}

void read_directory_file(const std::string& path, MatDirectory& directory)
{
    const FileBinary archive(path);
    read_directory(archive, directory);
}

namespace {

std::string upper_case_ascii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

} // namespace

int find_material(const MatDirectory& directory, std::string_view material)
{
    for (int i = 0; i < directory.mat_count; ++i) {
        const std::string exact = directory.mats[static_cast<std::size_t>(i)].name + ".mat";
        if (material == exact || material == upper_case_ascii(exact)) {
            return i;
        }
    }
    return -1;
}

const type_mats& mat_entry(const MatDirectory& directory, int index)
{
    if (index < 0 || index >= directory.mat_count) {
        throw RangeError();
    }
    return directory.mats[static_cast<std::size_t>(index)];
}

} // namespace facetor
