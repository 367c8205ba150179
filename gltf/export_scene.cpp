#include "gltf/export_scene.h"

#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

#include "model/geometry.h"
#include "model/name_cache.h"
#include "model/node_tree.h"
#include "model/report_text.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

// The file admits any double, glTF consumers read floats: a value past the
// float range becomes the largest float, NaN (a sum of opposite infinities)
// becomes 0, and the export says so once.
class Narrowing {
  public:
    double clamp(double v)
    {
        if (std::isnan(v)) {
            clamped_ = true;
            return 0;
        }
        if (std::fabs(v) > FLT_MAX) {
            clamped_ = true;
            return std::copysign(static_cast<double>(FLT_MAX), v);
        }
        return v;
    }
    float operator()(double v) { return static_cast<float>(clamp(v)); }
    bool clamped() const { return clamped_; }

  private:
    bool clamped_ = false;
};

std::string mesh_label(const type_mesh& mesh, int m)
{
    return "mesh " + std::to_string(m) + " (" + printable(mesh.name) + ")";
}

// One warning per mesh and cause, however many faces share it: a count and
// the first face as an example, the causes in this order.
enum FaceCause { too_few_corners = 0, vertex_past_count = 1, tvertex_past_count = 2 };
constexpr std::array<const char*, 3> k_face_causes = {
    "fewer than 3 corners; skipped", "a corner past the vertices; skipped",
    "a corner past the texture vertices; UV 0, 0"};

void report_faces(const WarningTally& said, const std::string& label,
                  std::vector<std::string>& warnings)
{
    for (const char* cause : k_face_causes) {
        if (const WarningTally::Entry* e = said.find(cause)) {
            warnings.push_back(label + ": " + count_of(e->count, "face", "faces") + " with " +
                               cause + " (first: " + e->first + ")");
        }
    }
}

// Which faces of mesh `m` can be exported. Checked once per mesh, so a mesh
// that several nodes carry warns once.
std::vector<bool> usable_faces(const type_mesh& mesh, int m, std::vector<std::string>& warnings)
{
    std::vector<bool> usable(mesh.face_count, false);
    WarningTally said;
    const auto add = [&](FaceCause cause, const std::string& first) {
        said.add(k_face_causes[cause], first);
    };
    for (int f = 0; f < mesh.face_count; ++f) {
        const type_faces& face = mesh.faces[f];
        const std::string where = "face " + std::to_string(f);
        if (face.corner_count < 3) {
            add(too_few_corners, where + ", " + std::to_string(face.corner_count) + " corners");
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= face.corner_count && ok; ++k) {
            if (face.corner_vertex[k] >= mesh.vertex_count) {
                add(vertex_past_count, where + " corner " + std::to_string(k) + " names vertex " +
                                           std::to_string(face.corner_vertex[k]) + " of " +
                                           std::to_string(mesh.vertex_count));
                ok = false;
            }
        }
        for (int k = 1; k <= face.corner_count && ok; ++k) {
            if (face.corner_tvertex[k] >= mesh.tvertex_count) {
                add(tvertex_past_count, where + " corner " + std::to_string(k) +
                                            " names texture vertex " +
                                            std::to_string(face.corner_tvertex[k]) + " of " +
                                            std::to_string(mesh.tvertex_count));
                break;
            }
        }
        usable[static_cast<std::size_t>(f)] = ok;
    }
    report_faces(said, mesh_label(mesh, m), warnings);
    return usable;
}

// A face without area still needs a unit normal: the file's face normal,
// or else up.
Vec3 unit_face_normal(const Vec3* corners, int count, const type_normal& file_normal)
{
    const Vec3 n = face_normal(std::span<const Vec3>(corners, static_cast<std::size_t>(count)));
    if (n != Vec3{}) {
        return n;
    }
    const Vec3 file = unit_vector(to_view_axes(file_normal.x, file_normal.y, file_normal.z));
    if (file != Vec3{}) {
        return file;
    }
    return {0, 1, 0};
}

class SceneBuilder {
  public:
    SceneBuilder(const type_model& model, int geoset)
        : model_(model), geoset_(model.geosets[geoset])
    {
    }

    ExportScene build()
    {
        const std::vector<TreeNode> tree = node_tree(model_);
        for (int n = 0; n < model_.node_count; ++n) {
            const type_hierarchy& node = model_.nodes[n];
            const TreeNode& t = tree[static_cast<std::size_t>(n)];
            ExportNode& out = scene_.nodes.emplace_back();
            out.name = node.node_name;
            out.parent = t.parent;
            const Vec3 translation = to_view_axes(t.x, t.y, t.z);
            for (std::size_t i = 0; i < 3; ++i) {
                out.translation[i] = narrow_.clamp(translation[i]);
            }
            if (node.mesh != -1) {
                out.mesh = mesh_for(n, node, {t.mesh_x, t.mesh_y, t.mesh_z});
            }
        }
        add_meshes_no_node_carries();
        if (narrow_.clamped()) {
            scene_.warnings.push_back("coordinates beyond the range of 32-bit floats were clamped");
        }
        return std::move(scene_);
    }

  private:
    // Meshes are shared by nodes that carry the same mesh with the same
    // shift, since placement moves the node's mesh, not its children, by it:
    // it is built into the vertices.
    struct MeshKey {
        int mesh;
        Vec3 shift;
        int index; // into scene_.meshes, -1 when the mesh has no face to show
    };

    // A mesh that no node carries would be lost: it becomes a root of its
    // own at the origin, as the editor's views draw it.
    void add_meshes_no_node_carries()
    {
        for (int m = 0; m < geoset_.mesh_count; ++m) {
            bool carried = false;
            for (const MeshKey& k : built_) {
                carried = carried || k.mesh == m;
            }
            if (carried) {
                continue;
            }
            const int index = shared_mesh(m, {0, 0, 0});
            ExportNode& out = scene_.nodes.emplace_back();
            out.name = geoset_.meshes[m].name;
            out.mesh = index;
            scene_.warnings.push_back(mesh_label(geoset_.meshes[m], m) +
                                      ": carried by no node; a root at the origin");
        }
    }

    int mesh_for(int n, const type_hierarchy& node, const Vec3& shift)
    {
        if (node.mesh >= geoset_.mesh_count) {
            scene_.warnings.push_back(
                "node " + std::to_string(n) + " (" + printable(node.node_name) + "): mesh " +
                std::to_string(node.mesh) + " is not in the geoset; node without mesh");
            return -1;
        }
        return shared_mesh(node.mesh, shift);
    }

    int shared_mesh(int m, const Vec3& shift)
    {
        for (const MeshKey& k : built_) {
            if (k.mesh == m && k.shift == shift) {
                return k.index;
            }
        }
        ExportMesh mesh = build_mesh(m, shift);
        int index = -1;
        if (!mesh.primitives.empty()) {
            index = static_cast<int>(scene_.meshes.size());
            scene_.meshes.push_back(std::move(mesh));
        }
        built_.push_back({m, shift, index});
        return index;
    }

    const std::vector<bool>& usable(int m)
    {
        auto [it, inserted] = usable_.try_emplace(m);
        if (inserted) {
            it->second = usable_faces(geoset_.meshes[m], m, scene_.warnings);
        }
        return it->second;
    }

    int material_index(const std::string& name)
    {
        if (const int* known = material_of_bytes_.find(name)) {
            return *known;
        }
        auto [it, inserted] =
            material_of_name_.try_emplace(name, static_cast<int>(scene_.materials.size()));
        if (inserted) {
            scene_.materials.push_back(name);
        }
        material_of_bytes_.keep(name, it->second);
        return it->second;
    }

    ExportMesh build_mesh(int m, const Vec3& shift)
    {
        const type_mesh& mesh = geoset_.meshes[m];
        const std::vector<bool>& ok = usable(m);
        ExportMesh out;
        out.name = mesh.name;
        std::unordered_map<int, std::size_t> primitive_of_material;
        for (int f = 0; f < mesh.face_count; ++f) {
            if (!ok[static_cast<std::size_t>(f)]) {
                continue;
            }
            const type_faces& face = mesh.faces[f];
            const int material = material_index(face.face_material);
            auto [it, inserted] =
                primitive_of_material.try_emplace(material, out.primitives.size());
            if (inserted) {
                out.primitives.emplace_back().material = material;
            }
            add_face(out.primitives[it->second], mesh, f, shift);
        }
        for (ExportPrimitive& p : out.primitives) {
            bound(p);
        }
        return out;
    }

    void add_face(ExportPrimitive& p, const type_mesh& mesh, int f, const Vec3& shift)
    {
        const type_faces& face = mesh.faces[f];
        const int count = face.corner_count;
        std::array<Vec3, k_max_corners> corners;
        for (int k = 1; k <= count; ++k) {
            const type_vertex& v = mesh.vertices[face.corner_vertex[k]];
            corners[static_cast<std::size_t>(k - 1)] =
                to_view_axes(v.x + shift[0], v.y + shift[1], v.z + shift[2]);
        }
        const Vec3 normal = unit_face_normal(corners.data(), count, mesh.face_normals[f]);
        const auto base = static_cast<std::uint32_t>(p.positions.size() / 3);
        for (int k = 1; k <= count; ++k) {
            for (const double c : corners[static_cast<std::size_t>(k - 1)]) {
                p.positions.push_back(narrow_(c));
            }
            for (const double c : normal) {
                p.normals.push_back(static_cast<float>(c));
            }
            const int t = face.corner_tvertex[k];
            if (t < mesh.tvertex_count) {
                p.uvs.push_back(narrow_(mesh.tvertices[t].u));
                p.uvs.push_back(narrow_(mesh.tvertices[t].v));
            } else {
                p.uvs.insert(p.uvs.end(), {0.0f, 0.0f});
            }
        }
        append_fan(p.indices, base, static_cast<std::size_t>(count));
    }

    static void bound(ExportPrimitive& p)
    {
        p.min = {FLT_MAX, FLT_MAX, FLT_MAX};
        p.max = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
        for (std::size_t i = 0; i < p.positions.size(); ++i) {
            const std::size_t axis = i % 3;
            p.min[axis] = std::min(p.min[axis], p.positions[i]);
            p.max[axis] = std::max(p.max[axis], p.positions[i]);
        }
    }

    const type_model& model_;
    const type_geosets& geoset_;
    ExportScene scene_;
    Narrowing narrow_;
    std::vector<MeshKey> built_;
    std::unordered_map<int, std::vector<bool>> usable_;
    std::unordered_map<std::string, int> material_of_name_;
    NameCache<int> material_of_bytes_;
};

} // namespace

ExportScene build_export_scene(const type_model& model, int geoset)
{
    if (geoset < 0 || geoset > k_max_geosets) {
        throw std::invalid_argument("no geoset " + std::to_string(geoset));
    }
    return SceneBuilder(model, geoset).build();
}

} // namespace facetor
