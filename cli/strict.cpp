#include "cli/strict.h"

#include <algorithm>

#include "model/node_tree.h"
#include "model/text_escape.h"

namespace facetor {

void StrictObserver::mesh_read(int geoset, int mesh, std::uint64_t name_offset)
{
    meshes.push_back({geoset, mesh, mesh, 0, name_offset});
}

void StrictObserver::face_read(int geoset, int mesh, int face, int material,
                               std::uint64_t material_offset)
{
    faces.push_back({geoset, mesh, face, material, material_offset});
}

void StrictObserver::node_read(int node, std::uint64_t flags_offset)
{
    nodes.push_back({0, 0, node, 0, flags_offset});
}

namespace {

struct Problem {
    std::uint64_t offset;
    std::string text;
};

std::string face_name(const StrictObserver::Place& p)
{
    return "geosets[" + std::to_string(p.geoset) + "].meshes[" + std::to_string(p.mesh) +
           "].faces[" + std::to_string(p.index) + "]";
}

void check_face(const type_model& model, const StrictObserver::Place& p, std::vector<Problem>& out)
{
    const type_mesh& mesh = model.geosets[p.geoset].meshes[p.mesh];
    const type_faces& face = mesh.faces[p.index];
    if (p.material >= model.material_count) {
        out.push_back({p.offset, face_name(p) + " names material " + std::to_string(p.material) +
                                     " of a list of " + std::to_string(model.material_count)});
    }
    for (int k = 1; k <= face.corner_count; ++k) {
        if (face.corner_vertex[k] >= mesh.vertex_count) {
            out.push_back({p.offset, face_name(p) + " corner " + std::to_string(k) +
                                         " names vertex " + std::to_string(face.corner_vertex[k]) +
                                         " of " + std::to_string(mesh.vertex_count)});
        }
        if (face.corner_tvertex[k] >= mesh.tvertex_count) {
            out.push_back({p.offset, face_name(p) + " corner " + std::to_string(k) +
                                         " names texture vertex " +
                                         std::to_string(face.corner_tvertex[k]) + " of " +
                                         std::to_string(mesh.tvertex_count)});
        }
    }
}

} // namespace

std::vector<std::string> strict_problems(const type_model& model, const StrictObserver& observer,
                                         const ModelInput& input)
{
    std::vector<Problem> problems;
    for (const auto& p : observer.faces) {
        check_face(model, p, problems);
    }
    std::vector<bool> carried(k_max_meshes + 1, false);
    const std::vector<TreeNode> tree = node_tree(model);
    for (const auto& p : observer.nodes) {
        const type_hierarchy& node = model.nodes[p.index];
        const std::string name =
            "nodes[" + std::to_string(p.index) + "] " + quoted_text(node.node_name);
        if (node.mesh >= model.geosets[0].mesh_count) {
            problems.push_back({p.offset, name + " carries mesh " + std::to_string(node.mesh) +
                                              " of " + std::to_string(model.geosets[0].mesh_count) +
                                              " in geoset 0"});
        } else if (node.mesh >= 0) {
            carried[static_cast<std::size_t>(node.mesh)] = true;
        }
        if (tree[static_cast<std::size_t>(p.index)].broken) {
            problems.push_back({p.offset, name + ": its parent links (parent " +
                                              std::to_string(node.parent) +
                                              ") never reach a root"});
        }
    }
    for (const auto& p : observer.meshes) {
        if (p.geoset == 0 && !carried[static_cast<std::size_t>(p.mesh)]) {
            problems.push_back({p.offset, "geosets[0].meshes[" + std::to_string(p.mesh) + "] " +
                                              quoted_text(model.mesh(p.mesh).name) +
                                              " is carried by no node"});
        }
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.offset < b.offset; });
    std::vector<std::uint64_t> offsets;
    for (const Problem& p : problems) {
        offsets.push_back(p.offset);
    }
    const std::vector<LineColumn> places = input.line_columns(offsets);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        out.push_back(input.name() + ":" + std::to_string(places[i].line) + ":" +
                      std::to_string(places[i].column) + ": strict: " + problems[i].text);
    }
    return out;
}

} // namespace facetor
