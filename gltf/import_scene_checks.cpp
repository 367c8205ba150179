// What is refused before any element of the file is read: extensions that
// would change the geometry, and scenes too large for a 3DO whatever their
// contents. Also the warnings for the extensions that are ignored.
#include "gltf/import_scene_checks.h"

#include <algorithm>
#include <limits>
#include <set>

#include <tiny_gltf.h>

#include "gltf/gltf_accessors.h"
#include "gltf/import_error.h"
#include "model/model.h"
#include "model/report_text.h"

namespace facetor::gltf_import {

namespace {

constexpr const char* k_quantization = "KHR_mesh_quantization";
constexpr const char* k_texture_transform = "KHR_texture_transform";
constexpr const char* k_lights = "KHR_lights_punctual";

// Extensions whose data replaces or multiplies the geometry: a file that
// requires one cannot be imported without it.
bool changes_geometry(const std::string& extension)
{
    return extension == "KHR_draco_mesh_compression" || extension == "EXT_meshopt_compression" ||
           extension == "EXT_mesh_gpu_instancing";
}

bool numbers_are(const tinygltf::Value& array, double value)
{
    for (std::size_t i = 0; i < array.ArrayLen(); ++i) {
        const tinygltf::Value& v = array.Get(static_cast<int>(i));
        if (!v.IsNumber() || v.GetNumberAsDouble() != value) {
            return false;
        }
    }
    return true;
}

bool is_identity(const tinygltf::Value& transform)
{
    if (!transform.IsObject()) {
        return true; // not a transform at all
    }
    const tinygltf::Value& rotation = transform.Get("rotation");
    return numbers_are(transform.Get("offset"), 0) && numbers_are(transform.Get("scale"), 1) &&
           (!rotation.IsNumber() || rotation.GetNumberAsDouble() == 0);
}

// Every texture transform within `value` (nested extensions included) is
// the identity. The JSON's depth is bounded, and so is the recursion.
bool transforms_are_identity(const tinygltf::Value& value)
{
    if (value.IsArray()) {
        for (const tinygltf::Value& v : value.Get<tinygltf::Value::Array>()) {
            if (!transforms_are_identity(v)) {
                return false;
            }
        }
    } else if (value.IsObject()) {
        for (const auto& [key, v] : value.Get<tinygltf::Value::Object>()) {
            if ((key == k_texture_transform && !is_identity(v)) || !transforms_are_identity(v)) {
                return false;
            }
        }
    }
    return true;
}

bool transforms_are_identity(const tinygltf::ExtensionMap& extensions)
{
    return std::all_of(extensions.begin(), extensions.end(), [](const auto& entry) {
        return (entry.first != k_texture_transform || is_identity(entry.second)) &&
               transforms_are_identity(entry.second);
    });
}

bool texture_transforms_are_identity(const tinygltf::Model& gltf)
{
    return std::all_of(gltf.materials.begin(), gltf.materials.end(), [](const auto& m) {
        return transforms_are_identity(m.pbrMetallicRoughness.baseColorTexture.extensions) &&
               transforms_are_identity(
                   m.pbrMetallicRoughness.metallicRoughnessTexture.extensions) &&
               transforms_are_identity(m.normalTexture.extensions) &&
               transforms_are_identity(m.occlusionTexture.extensions) &&
               transforms_are_identity(m.emissiveTexture.extensions) &&
               transforms_are_identity(m.extensions);
    });
}

std::uint64_t add_saturated(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

// The triangles a mesh's primitives can make, from their counts and modes
// alone: joins and repeated corners are not yet known, so this is a bound.
std::uint64_t triangle_bound(const tinygltf::Model& gltf, const tinygltf::Mesh& mesh)
{
    std::uint64_t triangles = 0;
    for (const tinygltf::Primitive& p : mesh.primitives) {
        const int mode = p.mode < 0 ? TINYGLTF_MODE_TRIANGLES : p.mode;
        const auto position = p.attributes.find("POSITION");
        if ((mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
             mode != TINYGLTF_MODE_TRIANGLE_FAN) ||
            position == p.attributes.end()) {
            continue;
        }
        const std::uint64_t corners =
            accessor_count(gltf, p.indices >= 0 ? p.indices : position->second);
        triangles = add_saturated(triangles, mode == TINYGLTF_MODE_TRIANGLES ? corners / 3
                                             : corners >= 3                  ? corners - 2
                                                                             : 0);
    }
    return triangles;
}

} // namespace

bool check_extensions(const tinygltf::Model& gltf)
{
    for (const std::string& ext : gltf.extensionsRequired) {
        if (changes_geometry(ext)) {
            throw ImportError("the file requires the extension " + ext +
                              ", which the import does not read");
        }
        if (ext == k_texture_transform && !texture_transforms_are_identity(gltf)) {
            throw ImportError("the file requires the extension " + ext +
                              " to move its texture coordinates, which the import does not do");
        }
    }
    const auto& used = gltf.extensionsUsed;
    const auto& required = gltf.extensionsRequired;
    return std::find(used.begin(), used.end(), k_quantization) != used.end() ||
           std::find(required.begin(), required.end(), k_quantization) != required.end();
}

// A scene the format cannot hold, however its data turns out, is refused
// at once, so that the work on a file stays within what a 3DO can hold.
void check_bounds(const tinygltf::Model& gltf, std::size_t nodes, const std::vector<Bake>& bakes)
{
    std::vector<std::string> overs;
    if (nodes > k_max_nodes) {
        overs.push_back(capacity_over("nodes", nodes, k_max_nodes));
    }
    std::uint64_t triangles = 0;
    for (const Bake& bake : bakes) {
        triangles = add_saturated(
            triangles, triangle_bound(gltf, gltf.meshes[static_cast<std::size_t>(bake.mesh)]));
    }
    constexpr std::uint64_t k_max_triangles = std::uint64_t{k_max_meshes} * k_max_faces;
    if (triangles > k_max_triangles) {
        overs.push_back(capacity_over("triangles", triangles, k_max_triangles));
    }
    if (!overs.empty()) {
        throw capacity_error(overs);
    }
}

void warn_extensions(const tinygltf::Model& gltf, std::vector<std::string>& warnings)
{
    std::vector<std::string> named = gltf.extensionsUsed;
    named.insert(named.end(), gltf.extensionsRequired.begin(), gltf.extensionsRequired.end());
    std::set<std::string> said = {k_quantization};
    if (!gltf.lights.empty()) {
        // Lights come from their extension: one warning says both.
        warnings.push_back(count_of(gltf.lights.size(), "light", "lights") +
                           " ignored (extension " + k_lights + ")");
        said.insert(k_lights);
    }
    for (const std::string& ext : named) {
        if (said.insert(ext).second) {
            warnings.push_back("extension " + ext + " ignored");
        }
    }
}

} // namespace facetor::gltf_import
