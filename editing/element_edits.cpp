#include "editing/element_edits.h"

#include <array>

#include "model/selection_set.h"

namespace facetor {

namespace {

std::string counted(const char* one, const char* many, std::size_t count)
{
    return count == 1 ? one : many;
}

// The first corner (1-based) of `face` naming vertex `v`; 0 if none does.
int corner_of(const type_faces& face, int v)
{
    for (int k = 1; k <= face.corner_count; ++k) {
        if (face.corner_vertex[k] == v) {
            return k;
        }
    }
    return 0;
}

std::optional<Carving> carving_of(const type_mesh& mesh, int f, int a, int b)
{
    const type_faces& face = mesh.faces[f];
    int first = corner_of(face, a);
    int second = corner_of(face, b);
    if (first == 0 || second == 0) {
        return std::nullopt;
    }
    if (first > second) {
        std::swap(first, second);
    }
    const bool neighbours = second - first < 2 || (first == 1 && second == face.corner_count);
    if (neighbours) {
        return std::nullopt;
    }
    return Carving{f, first, second};
}

// The face with corners `from`, `from` + 1, ... `to` of `face`, counted
// round past the last corner.
type_faces part_of(const type_faces& face, int from, int to)
{
    type_faces part = face;
    const int n = face.corner_count;
    int count = 0;
    for (int k = from;; k = k % n + 1) {
        ++count;
        part.corner_vertex[count] = face.corner_vertex[k];
        part.corner_tvertex[count] = face.corner_tvertex[k];
        if (k == to) {
            break;
        }
    }
    for (int k = count + 1; k <= k_max_corners; ++k) {
        part.corner_vertex[k] = 0; // as a part read from a file has them
        part.corner_tvertex[k] = 0;
    }
    part.corner_count = count;
    return part;
}

// The face a new face copies its material, type and modes from: the active
// face, else the mesh's first.
const type_faces* model_face(const type_model& model, const type_mesh& mesh)
{
    if (model.sel_face < mesh.face_count) {
        return &mesh.faces[model.sel_face];
    }
    return mesh.face_count > 0 ? &mesh.faces[0] : nullptr;
}

// A new face with no corners yet: as `like`, or, in a mesh without faces,
// with the model's first material and the mesh's modes.
type_faces new_face(const type_model& model, const type_mesh& mesh)
{
    type_faces face;
    if (const type_faces* like = model_face(model, mesh)) {
        face.face_material = like->face_material;
        face.face_type = like->face_type;
        face.geo = like->geo;
        face.light = like->light;
        face.tex = like->tex;
    } else {
        face.face_material =
            model.material_count > 0 ? model.materials[0] : std::string(k_default_material);
        face.face_type = "0x0";
        face.geo = mesh.geometry_mode;
        face.light = mesh.lighting_mode;
        face.tex = mesh.texture_mode;
    }
    return face;
}

} // namespace

EditOutcome create_vertex(type_model& model, EditMode mode)
{
    if (mode != vertex_mode || selected_elements(model, mode).empty()) {
        return {};
    }
    const int m = model.sel_mesh;
    const type_mesh& mesh = model.mesh(m);
    if (std::string refusal = vertex_room(mesh, 1); !refusal.empty()) {
        return {{}, std::move(refusal)};
    }
    const int active = model.sel_vertex;
    const auto at = static_cast<std::uint16_t>(mesh.vertex_count);
    StepRecorder step(model, "Create Vertex");
    step.apply(model, insertion<VertexRecord>(
                          model, m, {at}, {{mesh.vertices[active], mesh.vertex_normals[active]}}));
    model.sel_vertex = at;
    clear_selection(model);
    return {std::move(step).finish(model), {}};
}

EditOutcome delete_vertices(type_model& model, EditMode mode)
{
    const std::vector<int> selected =
        mode == vertex_mode ? selected_elements(model, mode) : std::vector<int>{};
    if (selected.empty()) {
        return {};
    }
    const int m = model.sel_mesh;
    const type_mesh& mesh = model.mesh(m);
    std::array<bool, k_max_vertices + 1> going{};
    for (const int v : selected) {
        going[static_cast<std::size_t>(v)] = true;
    }
    std::vector<std::uint16_t> faces;
    for (int f = 0; f < mesh.face_count; ++f) {
        const type_faces& face = mesh.faces[f];
        for (int k = 1; k <= face.corner_count; ++k) {
            if (going[face.corner_vertex[k]]) {
                faces.push_back(static_cast<std::uint16_t>(f));
                break;
            }
        }
    }
    StepRecorder step(model, counted("Delete Vertex", "Delete Vertices", selected.size()));
    if (!faces.empty()) {
        step.apply(model, removal<FaceRecord>(model, m, std::move(faces)));
    }
    step.apply(model, removal<VertexRecord>(model, m, ascending(selected)));
    model.sel_vertex = 0;
    model.sel_face = 0;
    clear_selection(model);
    return {std::move(step).finish(model), {}};
}

EditOutcome create_face(type_model& model, EditMode mode)
{
    const std::vector<int> corners =
        mode == vertex_mode ? selected_elements(model, mode) : std::vector<int>{};
    if (corners.size() < 3) {
        return {};
    }
    const int m = model.sel_mesh;
    const type_mesh& mesh = model.mesh(m);
    type_faces face = new_face(model, mesh);
    const std::vector<std::string> materials = missing_materials(model, {face.face_material});
    const bool needs_tvertex = mesh.tvertex_count == 0;
    for (const std::string& refusal :
         {corner_room(static_cast<int>(corners.size())), face_room(mesh, 1),
          material_room(model, static_cast<int>(materials.size()))}) {
        if (!refusal.empty()) {
            return {{}, refusal};
        }
    }
    face.corner_count = static_cast<int>(corners.size());
    for (std::size_t k = 0; k < corners.size(); ++k) {
        face.corner_vertex[k + 1] = corners[k];
        face.corner_tvertex[k + 1] = 0; // every corner at texture vertex 0
    }
    const int at = mesh.face_count;
    StepRecorder step(model, "Create Face");
    add_materials(step, model, materials);
    if (needs_tvertex) {
        step.apply(model, insertion<type_tvertex>(model, m, {0}, {type_tvertex{}}));
    }
    step.apply(model, insertion<FaceRecord>(model, m, {static_cast<std::uint16_t>(at)},
                                            {{std::move(face), {}}}));
    refresh_normals(step, model, m, std::array{at});
    model.sel_face = at;
    return {std::move(step).finish(model), {}};
}

EditOutcome delete_faces(type_model& model, EditMode mode)
{
    const std::vector<int> selected =
        mode == face_mode ? selected_elements(model, mode) : std::vector<int>{};
    if (selected.empty()) {
        return {};
    }
    StepRecorder step(model, counted("Delete Face", "Delete Faces", selected.size()));
    step.apply(model, removal<FaceRecord>(model, model.sel_mesh, ascending(selected)));
    model.sel_face = 0;
    clear_selection(model);
    return {std::move(step).finish(model), {}};
}

EditOutcome delete_mesh(type_model& model, EditMode mode)
{
    const int m = model.sel_mesh;
    if (mode != mesh_mode || m >= model.geosets[0].mesh_count) {
        return {};
    }
    StepRecorder step(model, "Delete Mesh");
    step.apply(model, removal<MeshRecord>(model, 0, {static_cast<std::uint16_t>(m)}));
    model.sel_mesh = 0;
    model.sel_face = 0;
    model.sel_vertex = 0;
    clear_selection(model);
    return {std::move(step).finish(model), {}};
}

EditOutcome delete_selection(type_model& model, EditMode mode)
{
    switch (mode) {
    case vertex_mode:
        return delete_vertices(model, mode);
    case face_mode:
        return delete_faces(model, mode);
    case mesh_mode:
        break;
    }
    return delete_mesh(model, mode);
}

std::optional<Carving> carving(const type_model& model, EditMode mode)
{
    const std::vector<int> pair =
        mode == vertex_mode ? selected_elements(model, mode) : std::vector<int>{};
    if (pair.size() != 2) {
        return std::nullopt;
    }
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    if (model.sel_face < mesh.face_count) {
        if (auto c = carving_of(mesh, model.sel_face, pair[0], pair[1])) {
            return c;
        }
    }
    for (int f = 0; f < mesh.face_count; ++f) {
        if (auto c = carving_of(mesh, f, pair[0], pair[1])) {
            return c;
        }
    }
    return std::nullopt;
}

EditOutcome carve_face(type_model& model, EditMode mode)
{
    const std::optional<Carving> c = carving(model, mode);
    if (!c) {
        return {};
    }
    const int m = model.sel_mesh;
    const type_mesh& mesh = model.mesh(m);
    if (std::string refusal = face_room(mesh, 1); !refusal.empty()) {
        return {{}, std::move(refusal)};
    }
    const type_faces& face = mesh.faces[c->face];
    FaceRecord first{part_of(face, c->first, c->second), {}};
    FaceRecord second{part_of(face, c->second, c->first), {}};
    const auto f = static_cast<std::uint16_t>(c->face);
    const auto last = static_cast<std::uint16_t>(mesh.face_count);
    StepRecorder step(model, "Carve Face");
    step.apply(model, removal<FaceRecord>(model, m, {f}));
    step.apply(model,
               insertion<FaceRecord>(model, m, {f, last}, {std::move(first), std::move(second)}));
    refresh_normals(step, model, m, std::array{int{f}, int{last}});
    model.sel_face = f;
    return {std::move(step).finish(model), {}};
}

} // namespace facetor
