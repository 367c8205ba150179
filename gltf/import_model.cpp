#include "gltf/import_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "gltf/format_names.h"

namespace facetor {

namespace {

// The import's choices for what glTF does not say (see the README).
constexpr int k_geometry_textured = 4; // "Draw it textured"
constexpr int k_geometry_filled = 3;   // "Draw it with filled faces"
constexpr int k_lighting = 3;          // "Better"
constexpr int k_texture_perspective_corrected = 1;
constexpr int k_texture_linear = 0;
constexpr const char* k_node_flags = "0x0000";
constexpr const char* k_node_type = "0x00001";
// Node links are signed bytes up to 32: nodes 33 and 34 can be stored but
// named by no link.
constexpr int k_max_linked_node = node_link::max;

struct PartFace {
    std::array<int, 3> vertex{};
    std::array<int, 3> tvertex{};
    int material = 0; // into the scene's materials
    Vec3 normal{};
};

// One 3DO mesh: a run of a mesh's triangles that fits the capacities.
struct Part {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<bool> file_normal; // the file gave this vertex a normal
    std::vector<std::array<double, 2>> uvs;
    std::vector<PartFace> faces;
};

// Exact bits, so that equal coordinates are one vertex; -0 is 0.
struct Key {
    std::array<std::uint64_t, 3> bits{};
    bool operator==(const Key&) const = default;
};

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ULL;
        for (const std::uint64_t b : k.bits) {
            h = (h ^ b) * 0xBF58476D1CE4E5B9ULL;
            h ^= h >> 31;
        }
        return static_cast<std::size_t>(h);
    }
};

std::uint64_t bits_of(double v)
{
    v += 0.0;
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

Key key_of(const Vec3& p)
{
    return {{bits_of(p[0]), bits_of(p[1]), bits_of(p[2])}};
}

Key key_of(const std::array<double, 2>& uv)
{
    return {{bits_of(uv[0]), bits_of(uv[1]), 0}};
}

Vec3 cross_of(const Vec3& a, const Vec3& b, const Vec3& c)
{
    const Vec3 u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vec3 v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

void add_to(Vec3& sum, const Vec3& v)
{
    sum[0] += v[0];
    sum[1] += v[1];
    sum[2] += v[2];
}

bool normalise(Vec3& n)
{
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length)) {
        return false;
    }
    for (double& c : n) {
        c /= length;
    }
    return true;
}

constexpr Vec3 k_up{0, 0, 1};

// glTF numbers are floats: a double that is one (or rounds to one) is
// stored as the shortest decimal that reads back as that float, so that the
// file says 0.05 where the glTF meant 0.05, not 0.05000000074505806.
double as_written(double v)
{
    const auto f = static_cast<float>(v);
    if (!std::isfinite(f)) {
        return v;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, f).ptr;
    double out = v;
    std::from_chars(text, end, out);
    return out;
}

// Vertex normals the file did not give, from the faces around them
// (weighted by area); face normals from their corners, or for a face
// without area from its vertices.
void finish_normals(Part& part)
{
    std::vector<Vec3> computed(part.positions.size(), Vec3{});
    std::vector<Vec3> raw(part.faces.size());
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        const auto& v = part.faces[f].vertex;
        raw[f] = cross_of(part.positions[static_cast<std::size_t>(v[0])],
                          part.positions[static_cast<std::size_t>(v[1])],
                          part.positions[static_cast<std::size_t>(v[2])]);
        for (const int i : v) {
            add_to(computed[static_cast<std::size_t>(i)], raw[f]);
        }
    }
    for (std::size_t i = 0; i < part.positions.size(); ++i) {
        Vec3& n = part.normals[i];
        if ((part.file_normal[i] && normalise(n)) || (n = computed[i], normalise(n))) {
            continue;
        }
        n = k_up;
    }
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        Vec3 n = raw[f];
        if (!normalise(n)) {
            n = {};
            for (const int i : part.faces[f].vertex) {
                add_to(n, part.normals[static_cast<std::size_t>(i)]);
            }
            if (!normalise(n)) {
                n = k_up;
            }
        }
        part.faces[f].normal = n;
    }
}

// Splits a mesh's triangles, in order, into parts within the vertex, face
// and texture-vertex capacities; equal positions and equal texture
// coordinates are shared within a part.
std::vector<Part> split_mesh(const ImportMesh& mesh)
{
    std::vector<Part> parts;
    Part part;
    std::unordered_map<Key, int, KeyHash> vertex_of, tvertex_of;
    const auto close_part = [&] {
        finish_normals(part);
        parts.push_back(std::move(part));
        part = Part{};
        vertex_of.clear();
        tvertex_of.clear();
    };
    for (const ImportTriangle& t : mesh.triangles) {
        std::array<Key, 3> vk, tk;
        for (std::size_t k = 0; k < 3; ++k) {
            vk[k] = key_of(mesh.positions[t.corners[k]]);
            tk[k] = key_of(mesh.uvs[t.corners[k]]);
        }
        const auto new_keys = [](const std::array<Key, 3>& keys, const auto& known) {
            int fresh = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                const bool repeat = (k > 0 && keys[k] == keys[0]) || (k > 1 && keys[k] == keys[1]);
                fresh += !repeat && !known.contains(keys[k]);
            }
            return fresh;
        };
        if (part.faces.size() + 1 > k_max_faces ||
            part.positions.size() + static_cast<std::size_t>(new_keys(vk, vertex_of)) >
                k_max_vertices ||
            part.uvs.size() + static_cast<std::size_t>(new_keys(tk, tvertex_of)) >
                k_max_usable_tvertices) {
            close_part();
        }
        PartFace& face = part.faces.emplace_back();
        face.material = t.material;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t c = t.corners[k];
            auto [v, new_vertex] =
                vertex_of.try_emplace(vk[k], static_cast<int>(part.positions.size()));
            if (new_vertex) {
                part.positions.push_back(mesh.positions[c]);
                part.normals.emplace_back();
                part.file_normal.push_back(false);
            }
            const auto vi = static_cast<std::size_t>(v->second);
            if (mesh.normals[c] != Vec3{}) {
                add_to(part.normals[vi], mesh.normals[c]);
                part.file_normal[vi] = true;
            }
            auto [tv, new_tvertex] =
                tvertex_of.try_emplace(tk[k], static_cast<int>(part.uvs.size()));
            if (new_tvertex) {
                part.uvs.push_back(mesh.uvs[c]);
            }
            face.vertex[k] = v->second;
            face.tvertex[k] = tv->second;
        }
    }
    if (!part.faces.empty()) {
        close_part();
    }
    return parts;
}

struct OutNode {
    std::string name;
    int parent = -1; // into the node list
    Vec3 offset{};
    int mesh = -1; // into the parts
};

std::string over(const char* what, std::size_t needed, int capacity)
{
    return std::to_string(needed) + " " + what + ", " +
           std::to_string(needed - static_cast<std::size_t>(capacity)) + " over the " +
           std::to_string(capacity);
}

class ModelBuilder {
  public:
    ModelBuilder(const ImportScene& scene, const std::string& name)
        : scene_(scene), name_(format_safe_name(name))
    {
        if (name_.empty()) {
            name_ = "model";
        }
    }

    ImportResult build()
    {
        result_.warnings = scene_.warnings;
        lay_out_nodes();
        const std::vector<int> order = numbering();
        count_materials();
        check_capacities();
        fill(order);
        return std::move(result_);
    }

  private:
    void lay_out_nodes()
    {
        std::vector<int> out_of(scene_.nodes.size());
        std::vector<std::vector<int>> parts_of(scene_.meshes.size());
        std::vector<bool> split(scene_.meshes.size(), false);
        for (std::size_t i = 0; i < scene_.nodes.size(); ++i) {
            const ImportNode& in = scene_.nodes[i];
            out_of[i] = static_cast<int>(nodes_.size());
            OutNode& node = nodes_.emplace_back();
            node.parent = in.parent < 0 ? -1 : out_of[static_cast<std::size_t>(in.parent)];
            node.offset = in.offset;
            const ImportMesh* mesh =
                in.mesh < 0 ? nullptr : &scene_.meshes[static_cast<std::size_t>(in.mesh)];
            node.name = format_safe_name(in.name);
            if (node.name.empty() && mesh != nullptr) {
                node.name = format_safe_name(mesh->name);
            }
            if (node.name.empty()) {
                node.name = name_ + "_" + std::to_string(in.index);
            }
            if (mesh == nullptr) {
                continue;
            }
            std::vector<int>& parts = parts_of[static_cast<std::size_t>(in.mesh)];
            if (!split[static_cast<std::size_t>(in.mesh)]) {
                split[static_cast<std::size_t>(in.mesh)] = true;
                std::string mesh_name = format_safe_name(mesh->name);
                if (mesh_name.empty()) {
                    mesh_name = node.name;
                }
                std::vector<Part> made = split_mesh(*mesh);
                for (std::size_t k = 0; k < made.size(); ++k) {
                    parts.push_back(static_cast<int>(parts_.size()));
                    parts_.push_back(std::move(made[k]));
                    part_names_.push_back(k == 0 ? mesh_name
                                                 : mesh_name + "_part" + std::to_string(k + 1));
                }
            }
            // The first part stays on the node, each further one hangs on a
            // child of its own at the same place.
            const int self = out_of[i];
            const std::string base_name = node.name;
            for (std::size_t k = 0; k < parts.size(); ++k) {
                if (k == 0) {
                    nodes_[static_cast<std::size_t>(self)].mesh = parts[0];
                    continue;
                }
                OutNode& child = nodes_.emplace_back();
                child.parent = self;
                child.mesh = parts[k];
                child.name = base_name + "_part" + std::to_string(k + 1);
            }
        }
    }

    // Node indices: the tree order, unless that puts a parent at an index
    // no link can name; then parents first.
    std::vector<int> numbering()
    {
        const std::size_t count = nodes_.size();
        std::vector<bool> has_children(count, false);
        for (const OutNode& n : nodes_) {
            if (n.parent >= 0) {
                has_children[static_cast<std::size_t>(n.parent)] = true;
            }
        }
        std::vector<int> order(count); // old index of each new one
        for (std::size_t i = 0; i < count; ++i) {
            order[i] = static_cast<int>(i);
        }
        bool fits = true;
        for (std::size_t i = k_max_linked_node + 1; i < count; ++i) {
            fits = fits && !has_children[i];
        }
        if (!fits) {
            std::stable_partition(order.begin(), order.end(),
                                  [&](int n) { return has_children[static_cast<std::size_t>(n)]; });
        }
        parents_ =
            static_cast<std::size_t>(std::count(has_children.begin(), has_children.end(), true));
        return order;
    }

    void count_materials()
    {
        std::vector<bool> used(scene_.materials.size(), false);
        for (const Part& part : parts_) {
            for (const PartFace& face : part.faces) {
                if (!used[static_cast<std::size_t>(face.material)]) {
                    used[static_cast<std::size_t>(face.material)] = true;
                    used_materials_.push_back(face.material);
                }
            }
        }
    }

    void check_capacities()
    {
        std::vector<std::string> overs;
        if (parts_.size() > k_max_meshes) {
            overs.push_back(over("meshes", parts_.size(), k_max_meshes));
        }
        if (nodes_.size() > k_max_nodes) {
            overs.push_back(over("nodes", nodes_.size(), k_max_nodes));
        } else if (parents_ > k_max_linked_node + 1) {
            overs.push_back(over("nodes with children", parents_, k_max_linked_node + 1));
        }
        if (used_materials_.size() > k_max_materials) {
            overs.push_back(over("materials", used_materials_.size(), k_max_materials));
        }
        if (overs.empty()) {
            return;
        }
        std::string message = "the model does not fit a 3DO: it needs ";
        for (std::size_t i = 0; i < overs.size(); ++i) {
            message += (i == 0 ? "" : "; ") + overs[i];
        }
        throw ImportError(message);
    }

    void fill(const std::vector<int>& order)
    {
        result_.model = make_model();
        type_model& model = *result_.model;
        model.geoset_count = 1;
        model.material_count = static_cast<long long>(used_materials_.size());
        for (std::size_t i = 0; i < used_materials_.size(); ++i) {
            model.materials[i] =
                scene_.materials[static_cast<std::size_t>(used_materials_[i])].name;
        }
        type_geosets& geoset = model.geosets[0];
        geoset.mesh_count = static_cast<long long>(parts_.size());
        for (std::size_t m = 0; m < parts_.size(); ++m) {
            fill_mesh(geoset.meshes[m], parts_[m], part_names_[m]);
        }
        fill_nodes(model, order);
        place_nodes(model);
        model.radius = as_written(model_radius(model));
    }

    void fill_mesh(type_mesh& out, const Part& part, const std::string& name)
    {
        out.name = name;
        bool textured = false;
        for (const PartFace& face : part.faces) {
            textured = textured || material(face).textured;
        }
        out.geometry_mode = textured ? k_geometry_textured : k_geometry_filled;
        out.lighting_mode = k_lighting;
        out.texture_mode = textured ? k_texture_perspective_corrected : k_texture_linear;
        out.vertex_count = static_cast<long long>(part.positions.size());
        double radius = 0;
        for (std::size_t v = 0; v < part.positions.size(); ++v) {
            const Vec3 p = {as_written(part.positions[v][0]), as_written(part.positions[v][1]),
                            as_written(part.positions[v][2])};
            out.vertices[v].x = p[0];
            out.vertices[v].y = p[1];
            out.vertices[v].z = p[2];
            out.vertex_normals[v] = {as_written(part.normals[v][0]), as_written(part.normals[v][1]),
                                     as_written(part.normals[v][2])};
            radius = std::max(radius, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
        }
        out.radius = as_written(radius);
        out.tvertex_count = static_cast<long long>(part.uvs.size());
        for (std::size_t t = 0; t < part.uvs.size(); ++t) {
            out.tvertices[t] = {as_written(part.uvs[t][0]), as_written(part.uvs[t][1])};
        }
        out.face_count = static_cast<long long>(part.faces.size());
        for (std::size_t f = 0; f < part.faces.size(); ++f) {
            const PartFace& in = part.faces[f];
            const ImportMaterial& m = material(in);
            type_faces& face = out.faces[f];
            face.face_material = m.name;
            face.geo = m.textured ? k_geometry_textured : k_geometry_filled;
            face.light = k_lighting;
            face.tex = m.textured ? k_texture_perspective_corrected : k_texture_linear;
            face.extra_light = 0;
            // The face type's short form: two-sided 1, translucent 2.
            face.face_type =
                "0x" + std::to_string((m.double_sided ? 1 : 0) | (m.translucent ? 2 : 0));
            face.corner_count = 3;
            for (std::size_t k = 0; k < 3; ++k) {
                face.corner_vertex[k + 1] = in.vertex[k];
                face.corner_tvertex[k + 1] = in.tvertex[k];
            }
            out.face_normals[f] = {as_written(in.normal[0]), as_written(in.normal[1]),
                                   as_written(in.normal[2])};
        }
    }

    const ImportMaterial& material(const PartFace& face) const
    {
        return scene_.materials[static_cast<std::size_t>(face.material)];
    }

    void fill_nodes(type_model& model, const std::vector<int>& order)
    {
        const std::size_t count = order.size();
        std::vector<int> new_of(count);
        for (std::size_t i = 0; i < count; ++i) {
            new_of[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        }
        bool unnamed = false, crowded = false;
        const auto link = [&](int n) -> int {
            if (n > k_max_linked_node) {
                unnamed = true;
                return -1;
            }
            return n;
        };
        model.node_count = static_cast<long long>(count);
        int last_root = -1;
        std::vector<int> last_child(count, -1);
        for (std::size_t i = 0; i < count; ++i) {
            const OutNode& in = nodes_[static_cast<std::size_t>(order[i])];
            type_hierarchy& node = model.nodes[i];
            node.node_flags = k_node_flags;
            node.node_type = k_node_type;
            node.node_name = in.name;
            node.mesh = in.mesh;
            node.parent = in.parent < 0 ? -1 : new_of[static_cast<std::size_t>(in.parent)];
            node.child = -1;
            node.sibling = -1;
            node.offset_x = as_written(in.offset[0]);
            node.offset_y = as_written(in.offset[1]);
            node.offset_z = as_written(in.offset[2]);
        }
        // Children and siblings in index order: a parent's child link names
        // its first child, each child's sibling link the next.
        for (std::size_t i = 0; i < count; ++i) {
            type_hierarchy& node = model.nodes[i];
            int& previous =
                node.parent < 0 ? last_root : last_child[static_cast<std::size_t>(node.parent)];
            if (previous >= 0) {
                model.nodes[static_cast<std::size_t>(previous)].sibling = link(static_cast<int>(i));
            } else if (node.parent >= 0) {
                model.nodes[static_cast<std::size_t>(node.parent.get())].child =
                    link(static_cast<int>(i));
            }
            previous = static_cast<int>(i);
            if (node.parent >= 0) {
                type_hierarchy& parent = model.nodes[static_cast<std::size_t>(node.parent.get())];
                if (parent.num_children < count_children::max) {
                    parent.num_children = parent.num_children + 1;
                } else {
                    crowded = true;
                }
            }
        }
        if (unnamed) {
            result_.warnings.push_back("nodes 33 and 34 cannot be named by a child or sibling "
                                       "link; those links are -1 (placement is unchanged)");
        }
        if (crowded) {
            result_.warnings.push_back(
                "a node with more than 16 children shows 16 as its child count");
        }
    }

    static double model_radius(const type_model& model)
    {
        double radius = 0;
        for (int n = 0; n < model.node_count; ++n) {
            const type_hierarchy& node = model.nodes[n];
            if (node.mesh < 0) {
                continue;
            }
            const type_mesh& mesh = model.mesh(node.mesh);
            for (int v = 0; v < mesh.vertex_count; ++v) {
                const double x = mesh.vertices[v].x + node.world_x;
                const double y = mesh.vertices[v].y + node.world_y;
                const double z = mesh.vertices[v].z + node.world_z;
                radius = std::max(radius, std::sqrt(x * x + y * y + z * z));
            }
        }
        return radius;
    }

    const ImportScene& scene_;
    std::string name_;
    ImportResult result_;
    std::vector<OutNode> nodes_;
    std::vector<Part> parts_;
    std::vector<std::string> part_names_;
    std::size_t parents_ = 0;
    std::vector<int> used_materials_; // scene materials the faces use, first use first
};

} // namespace

ImportResult build_import_model(const ImportScene& scene, const std::string& name)
{
    return ModelBuilder(scene, name).build();
}

} // namespace facetor
