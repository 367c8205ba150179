#include "editing/element_rules.h"

#include <algorithm>
#include <array>

#include "model/geometry.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

// "OWNER holds COUNT WHAT, the most LIMIT", or with room for fewer than
// `more`: "OWNER holds COUNT WHAT; MORE more would pass the MOST LIMIT".
std::string room(const std::string& owner, int count, int more, int most, const char* what,
                 const char* limit)
{
    if (count + more <= most) {
        return {};
    }
    const std::string holds = owner + " holds " + std::to_string(count) + " " + what;
    if (count == most) {
        return holds + ", the most " + limit;
    }
    if (count > most) {
        return holds + ", more than the " + std::to_string(most) + " " + limit;
    }
    return holds + "; " + std::to_string(more) + " more would pass the " + std::to_string(most) +
           " " + limit;
}

std::string mesh_owner(const type_mesh& mesh)
{
    return "Mesh " + printable(mesh.name);
}

} // namespace

std::string vertex_room(const type_mesh& mesh, int more)
{
    return room(mesh_owner(mesh), mesh.vertex_count, more, k_max_vertices, "vertices",
                "a mesh can hold");
}

std::string face_room(const type_mesh& mesh, int more)
{
    return room(mesh_owner(mesh), mesh.face_count, more, k_max_faces, "faces", "a mesh can hold");
}

std::string tvertex_room(const type_mesh& mesh, int more)
{
    return room(mesh_owner(mesh), mesh.tvertex_count, more, corner_index::max + 1,
                "texture vertices", "a face corner can name");
}

std::string material_room(const type_model& model, int more)
{
    return room("The model", model.material_count, more, k_max_materials, "materials",
                "a model can hold");
}

std::string mesh_room(const type_model& model, int more)
{
    return room("Geoset 0", model.geosets[0].mesh_count, more, k_max_meshes, "meshes",
                "a geoset can hold");
}

std::string node_room(const type_model& model, int more)
{
    return room("The model", model.node_count, more, k_max_nodes, "nodes", "a model can hold");
}

std::string corner_room(int corners)
{
    if (corners <= k_max_corners) {
        return {};
    }
    return "A face has at most " + std::to_string(k_max_corners) + " corners; " +
           std::to_string(corners) + " vertices are selected";
}

std::vector<std::string> missing_materials(const type_model& model,
                                           const std::vector<std::string>& materials)
{
    std::vector<std::string> missing;
    const auto listed = model.materials.begin();
    for (const std::string& name : materials) {
        if (name.empty() || std::find(listed, listed + model.material_count, name) !=
                                listed + model.material_count) {
            continue;
        }
        if (std::find(missing.begin(), missing.end(), name) == missing.end()) {
            missing.push_back(name);
        }
    }
    return missing;
}

void add_materials(StepRecorder& step, type_model& model, std::vector<std::string> names)
{
    if (names.empty()) {
        return;
    }
    std::vector<std::uint16_t> at;
    for (std::size_t i = 0; i < names.size(); ++i) {
        at.push_back(static_cast<std::uint16_t>(model.material_count + i));
    }
    step.apply(model, insertion<std::string>(model, 0, std::move(at), std::move(names)));
}

void refresh_normals(StepRecorder& step, type_model& model, int mesh, std::span<const int> faces)
{
    type_mesh& me = model.mesh(mesh);
    const auto m = static_cast<std::uint8_t>(mesh);
    std::array<bool, k_max_vertices + 1> named{};
    std::vector<int> vertices;
    for (const int f : faces) {
        const Vec3 n = face_normal(me, f);
        const auto i = static_cast<std::uint16_t>(f);
        step.set(model, {Field::face_normal_x, m, i}, n[0]);
        step.set(model, {Field::face_normal_y, m, i}, n[1]);
        step.set(model, {Field::face_normal_z, m, i}, n[2]);
        const type_faces& face = me.faces[f];
        for (int k = 1; k <= face.corner_count; ++k) {
            const int v = face.corner_vertex[k];
            if (!named[static_cast<std::size_t>(v)]) {
                named[static_cast<std::size_t>(v)] = true;
                vertices.push_back(v);
            }
        }
    }
    const std::vector<Vec3> normals = vertex_normals(me, vertices);
    for (std::size_t j = 0; j < vertices.size(); ++j) {
        const auto i = static_cast<std::uint16_t>(vertices[j]);
        step.set(model, {Field::vertex_normal_x, m, i}, normals[j][0]);
        step.set(model, {Field::vertex_normal_y, m, i}, normals[j][1]);
        step.set(model, {Field::vertex_normal_z, m, i}, normals[j][2]);
    }
}

std::vector<std::uint16_t> ascending(std::span<const int> indices)
{
    std::vector<std::uint16_t> sorted(indices.begin(), indices.end());
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

} // namespace facetor
