// A glTF scene gathered for a 3DO model: the node walk first, then the
// checks that need no element, then the meshes, then the warnings.
#include "gltf/import_scene.h"

#include <tiny_gltf.h>

#include "gltf/import_scene_checks.h"
#include "gltf/import_scene_materials.h"
#include "gltf/import_scene_nodes.h"
#include "gltf/import_scene_primitives.h"
#include "model/report_text.h"

namespace facetor {

namespace {

using gltf_import::PrimitiveCounts;

// The counted warnings, for what the file holds that the import leaves out
// or changes.
void warn_ignored(const tinygltf::Model& gltf, const PrimitiveCounts& counts,
                  std::vector<std::string>& w)
{
    if (counts.points_or_lines > 0) {
        w.push_back(count_of(counts.points_or_lines, "primitive", "primitives") +
                    " of points or lines ignored");
    }
    if (counts.without_positions > 0) {
        w.push_back(count_of(counts.without_positions, "primitive", "primitives") +
                    " without positions ignored");
    }
    if (counts.non_finite_triangles > 0) {
        w.push_back(count_of(counts.non_finite_triangles, "triangle", "triangles") +
                    " with coordinates that are not finite numbers left out");
    }
    if (!gltf.animations.empty()) {
        w.push_back(count_of(gltf.animations.size(), "animation", "animations") + " ignored");
    }
    if (!gltf.skins.empty()) {
        w.push_back(count_of(gltf.skins.size(), "skin", "skins") +
                    " ignored; meshes are taken as they stand without them");
    }
    if (counts.morphed > 0) {
        w.push_back("morph targets of " + count_of(counts.morphed, "primitive", "primitives") +
                    " ignored; the base shape is taken");
    }
    if (!gltf.cameras.empty()) {
        w.push_back(count_of(gltf.cameras.size(), "camera", "cameras") + " ignored");
    }
    if (counts.incomplete_triangles > 0) {
        w.push_back(
            count_of(counts.incomplete_triangles, "incomplete triangle", "incomplete triangles") +
            " left out (an index count that is not a multiple of 3)");
    }
    if (counts.non_finite_uvs > 0) {
        w.push_back(count_of(counts.non_finite_uvs, "texture coordinate", "texture coordinates") +
                    (counts.non_finite_uvs == 1 ? " that is not a finite number"
                                                : " that are not finite numbers") +
                    " written as 0, 0");
    }
    if (counts.flattened_triangles > 0) {
        w.push_back(count_of(counts.flattened_triangles, "triangle", "triangles") +
                    " flattened by a zero scale left out");
    }
    gltf_import::warn_extensions(gltf, w);
}

} // namespace

ImportScene gather_import_scene(const tinygltf::Model& gltf, int scene,
                                const std::string& fallback_name)
{
    ImportScene out;
    const bool quantized = gltf_import::check_extensions(gltf);
    gltf_import::SceneNodes nodes(gltf, out.warnings);
    nodes.walk(scene);
    gltf_import::check_bounds(gltf, nodes.nodes().size(), nodes.bakes());
    out.nodes = std::move(nodes.nodes());
    gltf_import::SceneMaterials materials(gltf, fallback_name);
    gltf_import::MeshBaker baker(gltf, quantized, materials);
    for (const gltf_import::Bake& bake : nodes.bakes()) {
        out.meshes.push_back(baker.build_mesh(bake));
    }
    out.materials = std::move(materials.materials());
    warn_ignored(gltf, baker.counts(), out.warnings);
    return out;
}

} // namespace facetor
