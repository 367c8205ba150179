#include "editing/clipboard.h"

#include <array>
#include <numeric>

#include "model/selection_set.h"

namespace facetor {

namespace {

// Each element the copied faces use, once, in the order of first use: the
// index it gets in the clipboard.
template <std::size_t N> class FirstUse {
  public:
    FirstUse() { index_.fill(-1); }
    // The element's index in the copy, and whether it was new.
    std::pair<int, bool> take(int element)
    {
        int& i = index_[static_cast<std::size_t>(element)];
        if (i >= 0) {
            return {i, false};
        }
        i = count_++;
        return {i, true};
    }

  private:
    std::array<int, N> index_;
    int count_ = 0;
};

std::vector<std::uint16_t> run_of(int from, int count)
{
    std::vector<std::uint16_t> at(static_cast<std::size_t>(count));
    std::iota(at.begin(), at.end(), static_cast<std::uint16_t>(from));
    return at;
}

} // namespace

Clipboard copy_faces(const type_model& model, EditMode mode)
{
    Clipboard copy;
    if (mode != face_mode) {
        return copy;
    }
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    FirstUse<k_max_vertices + 1> vertices;
    FirstUse<corner_index::max + 1> tvertices;
    for (const int f : selected_elements(model, mode)) {
        type_faces face = mesh.faces[f];
        for (int k = 1; k <= face.corner_count; ++k) {
            const int v = face.corner_vertex[k];
            const auto [vi, new_vertex] = vertices.take(v);
            if (new_vertex) {
                copy.vertices.push_back({mesh.vertices[v], mesh.vertex_normals[v]});
            }
            const int t = face.corner_tvertex[k];
            const auto [ti, new_tvertex] = tvertices.take(t);
            if (new_tvertex) {
                copy.tvertices.push_back(mesh.tvertices[t]);
            }
            face.corner_vertex[k] = vi;
            face.corner_tvertex[k] = ti;
        }
        copy.faces.push_back(std::move(face));
    }
    return copy;
}

EditOutcome paste_faces(type_model& model, EditMode mode, const Clipboard& clipboard)
{
    if (mode != face_mode || clipboard.empty() || model.sel_mesh >= model.geosets[0].mesh_count) {
        return {};
    }
    const int m = model.sel_mesh;
    const type_mesh& mesh = model.mesh(m);
    std::vector<std::string> names;
    for (const type_faces& face : clipboard.faces) {
        names.push_back(face.face_material);
    }
    const std::vector<std::string> materials = missing_materials(model, names);
    const auto nv = static_cast<int>(clipboard.vertices.size());
    const auto nt = static_cast<int>(clipboard.tvertices.size());
    const auto nf = static_cast<int>(clipboard.faces.size());
    for (const std::string& refusal :
         {vertex_room(mesh, nv), tvertex_room(mesh, nt), face_room(mesh, nf),
          material_room(model, static_cast<int>(materials.size()))}) {
        if (!refusal.empty()) {
            return {{}, refusal};
        }
    }
    const int first_vertex = mesh.vertex_count;
    const int first_tvertex = mesh.tvertex_count;
    const int first_face = mesh.face_count;
    std::vector<FaceRecord> faces;
    for (const type_faces& copied : clipboard.faces) {
        FaceRecord r{copied, {}};
        for (int k = 1; k <= r.face.corner_count; ++k) {
            r.face.corner_vertex[k] = r.face.corner_vertex[k] + first_vertex;
            r.face.corner_tvertex[k] = r.face.corner_tvertex[k] + first_tvertex;
        }
        faces.push_back(std::move(r));
    }

    StepRecorder step(model, "Paste");
    add_materials(step, model, materials);
    if (nt > 0) {
        step.apply(model, insertion<type_tvertex>(model, m, run_of(first_tvertex, nt),
                                                  clipboard.tvertices));
    }
    step.apply(model,
               insertion<VertexRecord>(model, m, run_of(first_vertex, nv), clipboard.vertices));
    step.apply(model, insertion<FaceRecord>(model, m, run_of(first_face, nf), std::move(faces)));
    std::vector<int> pasted(static_cast<std::size_t>(nf));
    std::iota(pasted.begin(), pasted.end(), first_face);
    refresh_normals(step, model, m, pasted);
    select_elements(model, mode, pasted, first_face);
    model.sel_vertex = model.mesh(m).faces[first_face].corner_vertex[1].get();
    return {std::move(step).finish(model), {}};
}

} // namespace facetor
