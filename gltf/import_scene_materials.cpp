// The 3DO material a glTF material becomes: its name, and whether it is
// textured, two-sided or translucent.
#include "gltf/import_scene_materials.h"

#include <algorithm>

#include <tiny_gltf.h>

#include "gltf/format_names.h"
#include "gltf/import_error.h"

namespace facetor::gltf_import {

namespace {

int hex_digit(char c)
{
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// The last part of a relative URI, without query or fragment, its %XX
// escapes decoded ("Wood%20Planks.png" names "Wood Planks.png").
std::string uri_file_name(const std::string& uri)
{
    std::string name = uri.substr(0, uri.find_first_of("?#"));
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) {
        name = name.substr(slash + 1);
    }
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() && hex_digit(name[i + 1]) >= 0 &&
            hex_digit(name[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(name[i + 1]) * 16 + hex_digit(name[i + 2]));
            i += 2;
        } else {
            out += name[i];
        }
    }
    return out;
}

} // namespace

const tinygltf::Material* SceneMaterials::gltf_material(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= gltf_.materials.size()) {
        return nullptr;
    }
    return &gltf_.materials[static_cast<std::size_t>(index)];
}

int SceneMaterials::texcoord_set(int material) const
{
    const tinygltf::Material* m = gltf_material(material);
    return m != nullptr && m->pbrMetallicRoughness.baseColorTexture.index >= 0
               ? std::max(m->pbrMetallicRoughness.baseColorTexture.texCoord, 0)
               : 0;
}

// The safe name of the base colour texture's image: its name, else the
// file name of its URI; empty when there is none.
std::string SceneMaterials::image_name(const tinygltf::Material& m) const
{
    const int t = m.pbrMetallicRoughness.baseColorTexture.index;
    if (t < 0 || static_cast<std::size_t>(t) >= gltf_.textures.size()) {
        return {};
    }
    const int i = gltf_.textures[static_cast<std::size_t>(t)].source;
    if (i < 0 || static_cast<std::size_t>(i) >= gltf_.images.size()) {
        return {};
    }
    const tinygltf::Image& image = gltf_.images[static_cast<std::size_t>(i)];
    std::string name = format_safe_name(image.name);
    return name.empty() ? format_safe_name(uri_file_name(image.uri)) : name;
}

int SceneMaterials::material_for(int index, int mesh)
{
    const auto known = material_of_gltf_.find(index);
    if (known != material_of_gltf_.end()) {
        return known->second;
    }
    if (index != -1 && (index < 0 || static_cast<std::size_t>(index) >= gltf_.materials.size())) {
        throw ImportError("mesh " + std::to_string(mesh) + " names material " +
                          std::to_string(index) + ", which the file does not have");
    }
    ImportMaterial material;
    const tinygltf::Material* m = gltf_material(index);
    std::string base = "default"; // glTF's default material
    if (m != nullptr) {
        base = image_name(*m);
        const int texture = m->pbrMetallicRoughness.baseColorTexture.index;
        material.textured =
            texture >= 0 && static_cast<std::size_t>(texture) < gltf_.textures.size();
        if (base.empty()) {
            base = format_safe_name(m->name);
        }
        if (base.empty()) {
            base = format_safe_name(fallback_name_) + "_" + std::to_string(index);
        }
        material.double_sided = m->doubleSided;
        material.translucent = m->alphaMode == "BLEND";
    }
    material.name = mat_file_name(base);
    // Materials that come to one name are one 3DO material: a face
    // keeps only the name.
    const auto [named, fresh] =
        material_named_.try_emplace(material.name, static_cast<int>(materials_.size()));
    const int found = named->second;
    if (fresh) {
        materials_.push_back(material);
    } else {
        ImportMaterial& same = materials_[static_cast<std::size_t>(found)];
        same.textured = same.textured || material.textured;
        same.double_sided = same.double_sided || material.double_sided;
        same.translucent = same.translucent || material.translucent;
    }
    material_of_gltf_[index] = found;
    return found;
}

} // namespace facetor::gltf_import
