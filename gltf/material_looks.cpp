#include "gltf/material_looks.h"

#include <map>

#include "model/errors.h"
#include "model/text_escape.h"
#include "textures/binary_source.h"
#include "textures/mat.h"

namespace facetor {

TextureArchive open_texture_archive(const std::string& path)
{
    TextureArchive archive;
    archive.path = path;
    const FileBinary file(path);
    // The palette's place is fixed; any smaller file is something else.
    if (file.size() < k_palette_position + 3 * 256) {
        throw NotAnArchiveError();
    }
    read_palette(file, archive.palette);
    try {
        read_directory(file, *archive.directory);
    } catch (const RangeError&) {
        archive.warnings.push_back("more than " + std::to_string(k_max_mats) +
                                   " MAT entries; the first " + std::to_string(k_max_mats) +
                                   " are used");
    }
    return archive;
}

namespace {

MaterialLook look_of(const MatImage& image)
{
    MaterialLook look;
    if (image.solid) {
        look.kind = MaterialLook::Kind::solid;
        look.colour = {image.rgb[0], image.rgb[1], image.rgb[2]};
    } else if (!image.rgb.empty()) {
        look.kind = MaterialLook::Kind::texture;
        look.width = image.width;
        look.height = image.height;
        look.rgb = image.rgb;
    }
    return look;
}

} // namespace

std::vector<MaterialLook> look_up_materials(const std::vector<std::string>& names,
                                            const TextureArchive* archive,
                                            std::vector<std::string>& warnings)
{
    std::vector<MaterialLook> looks(names.size());
    if (archive == nullptr) {
        return looks;
    }
    std::unique_ptr<FileBinary> file;   // opened at the first name found
    std::map<int, std::size_t> decoded; // entry -> the first look made of it
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string label = "material " + quoted_text(names[i]);
        const int entry = find_material(*archive->directory, names[i]);
        if (entry < 0) {
            warnings.push_back(label + " not found in " + archive->path + "; plain material");
            continue;
        }
        if (const auto seen = decoded.find(entry); seen != decoded.end()) {
            looks[i] = looks[seen->second];
            continue; // and said already, if it was wrong
        }
        decoded.emplace(entry, i);
        try {
            if (!file) {
                file = std::make_unique<FileBinary>(archive->path);
            }
            const type_mats& mat = mat_entry(*archive->directory, entry);
            looks[i] = look_of(decode_mat(*file, mat.offset, archive->palette));
            looks[i].entry = entry;
            if (looks[i].kind == MaterialLook::Kind::plain) {
                warnings.push_back(label + ": the archive's texture has no texels; plain material");
            }
        } catch (const RuntimeError& e) {
            warnings.push_back(label + ": " + e.what() + "; plain material");
        }
    }
    return looks;
}

} // namespace facetor
