#include "gltf/import_scene.h"

#include <cmath>
#include <map>
#include <string_view>

#include <tiny_gltf.h>

#include "gltf/export_scene.h"
#include "preview3d/scene_build.h"
#include "gltf/format_names.h"
#include "gltf/gltf_accessors.h"
#include "gltf/import_error.h"

namespace facetor {

namespace {

// Column-major, as glTF writes matrices.
using Matrix = std::array<double, 16>;

constexpr Matrix k_identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[static_cast<std::size_t>(k * 4 + row)] *
                       b[static_cast<std::size_t>(col * 4 + k)];
            }
            m[static_cast<std::size_t>(col * 4 + row)] = sum;
        }
    }
    return m;
}

Matrix local_matrix(const tinygltf::Node& node)
{
    if (node.matrix.size() == 16) {
        Matrix m;
        std::copy(node.matrix.begin(), node.matrix.end(), m.begin());
        return m;
    }
    Matrix t = k_identity, r = k_identity, s = k_identity;
    if (node.translation.size() == 3) {
        t[12] = node.translation[0];
        t[13] = node.translation[1];
        t[14] = node.translation[2];
    }
    if (node.rotation.size() == 4) {
        double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2],
               w = node.rotation[3];
        const double length = std::sqrt(x * x + y * y + z * z + w * w);
        if (length > 0 && std::isfinite(length)) {
            x /= length, y /= length, z /= length, w /= length;
            // clang-format off
            r = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),     0,
                 2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),     0,
                 2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y), 0,
                 0,                       0,                       0,                       1};
            // clang-format on
        }
    }
    if (node.scale.size() == 3) {
        s[0] = node.scale[0];
        s[5] = node.scale[1];
        s[10] = node.scale[2];
    }
    return multiply(t, multiply(r, s));
}

// The upper 3 x 3 of a node's world matrix: what gets built into the
// vertices of its mesh.
struct Linear {
    std::array<double, 9> m{}; // column-major

    explicit Linear(const Matrix& world)
    {
        for (int col = 0; col < 3; ++col) {
            for (int row = 0; row < 3; ++row) {
                m[static_cast<std::size_t>(col * 3 + row)] =
                    world[static_cast<std::size_t>(col * 4 + row)];
            }
        }
    }
    double at(int row, int col) const { return m[static_cast<std::size_t>(col * 3 + row)]; }
    Vec3 apply(const float* v) const
    {
        return {at(0, 0) * v[0] + at(0, 1) * v[1] + at(0, 2) * v[2],
                at(1, 0) * v[0] + at(1, 1) * v[1] + at(1, 2) * v[2],
                at(2, 0) * v[0] + at(2, 1) * v[1] + at(2, 2) * v[2]};
    }
    double determinant() const
    {
        return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
               at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
               at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
    }
    // The cofactor matrix, which is the inverse transpose times the
    // determinant: normals keep their side under a mirror when multiplied
    // by its sign.
    Linear normal_matrix() const
    {
        Linear n = *this;
        const double sign = determinant() < 0 ? -1.0 : 1.0;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
                const int c1 = (col + 1) % 3, c2 = (col + 2) % 3;
                n.m[static_cast<std::size_t>(col * 3 + row)] =
                    sign * (at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1));
            }
        }
        return n;
    }
};

bool finite(const Vec3& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

Vec3 to_model_axes(const Vec3& v)
{
    return from_view_axes(v[0], v[1], v[2]);
}

std::string count_of(std::size_t n, std::string_view one, std::string_view many)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

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

class SceneGatherer {
  public:
    SceneGatherer(const tinygltf::Model& gltf, const std::string& fallback_name)
        : gltf_(gltf), fallback_name_(fallback_name)
    {
    }

    ImportScene gather(int scene)
    {
        refuse_required_extensions();
        walk(roots(scene));
        warn_ignored();
        return std::move(out_);
    }

  private:
    void refuse_required_extensions()
    {
        for (const std::string& ext : gltf_.extensionsRequired) {
            // Quantized attributes are read like any other component type;
            // material extensions change looks, and a 3DO keeps only names.
            if (ext != "KHR_mesh_quantization" && !ext.starts_with("KHR_materials_")) {
                throw ImportError("the file requires the extension " + ext +
                                  ", which the import does not read");
            }
        }
    }

    std::vector<int> roots(int scene)
    {
        const std::size_t scenes = gltf_.scenes.size();
        if (scene >= 0) {
            if (static_cast<std::size_t>(scene) >= scenes) {
                throw ImportError("no scene " + std::to_string(scene) + "; the file has " +
                                  count_of(scenes, "scene", "scenes"));
            }
            return gltf_.scenes[static_cast<std::size_t>(scene)].nodes;
        }
        if (gltf_.defaultScene >= 0 && static_cast<std::size_t>(gltf_.defaultScene) < scenes) {
            return gltf_.scenes[static_cast<std::size_t>(gltf_.defaultScene)].nodes;
        }
        if (scenes > 0) {
            out_.warnings.push_back("no default scene; scene 0 of " +
                                    count_of(scenes, "scene", "scenes") + " imported");
            return gltf_.scenes[0].nodes;
        }
        // A file of nodes without a scene: every node that is nobody's child.
        std::vector<bool> child(gltf_.nodes.size(), false);
        for (const tinygltf::Node& node : gltf_.nodes) {
            for (const int c : node.children) {
                if (c >= 0 && static_cast<std::size_t>(c) < child.size()) {
                    child[static_cast<std::size_t>(c)] = true;
                }
            }
        }
        std::vector<int> roots;
        for (std::size_t n = 0; n < child.size(); ++n) {
            if (!child[n]) {
                roots.push_back(static_cast<int>(n));
            }
        }
        if (!gltf_.nodes.empty()) {
            out_.warnings.push_back("no scene; every root node imported");
        }
        return roots;
    }

    // Depth first, children in file order, without recursion: a file may
    // nest nodes deeper than any stack.
    void walk(const std::vector<int>& roots)
    {
        struct Visit {
            int node;
            int parent; // into out_.nodes
        };
        std::vector<Visit> stack;
        for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
            stack.push_back({*it, -1});
        }
        std::vector<bool> seen(gltf_.nodes.size(), false);
        std::vector<Matrix> world; // per out_.nodes entry
        bool reached_twice = false, non_finite = false;
        while (!stack.empty()) {
            const Visit v = stack.back();
            stack.pop_back();
            if (v.node < 0 || static_cast<std::size_t>(v.node) >= gltf_.nodes.size()) {
                throw ImportError("the scene names node " + std::to_string(v.node) +
                                  ", which the file does not have");
            }
            if (seen[static_cast<std::size_t>(v.node)]) {
                reached_twice = true; // a cycle or a node with two parents
                continue;
            }
            seen[static_cast<std::size_t>(v.node)] = true;
            const tinygltf::Node& node = gltf_.nodes[static_cast<std::size_t>(v.node)];
            const Matrix parent_world =
                v.parent < 0 ? k_identity : world[static_cast<std::size_t>(v.parent)];
            world.push_back(multiply(parent_world, local_matrix(node)));
            const Matrix& w = world.back();
            ImportNode& out = out_.nodes.emplace_back();
            out.name = node.name;
            out.index = v.node;
            out.parent = v.parent;
            out.offset = to_model_axes(
                {w[12] - parent_world[12], w[13] - parent_world[13], w[14] - parent_world[14]});
            if (!finite(out.offset)) {
                out.offset = {};
                non_finite = true;
            }
            if (node.mesh >= 0) {
                out.mesh = mesh_for(node.mesh, Linear(w));
            }
            const int index = static_cast<int>(out_.nodes.size() - 1);
            for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
                stack.push_back({*it, index});
            }
        }
        if (reached_twice) {
            out_.warnings.push_back(
                "a node reached twice in the scene (a cycle, or two parents) imported once");
        }
        if (non_finite) {
            out_.warnings.push_back("node translations that are not finite numbers set to 0");
        }
    }

    // Nodes that show one mesh with the same rotation and scale share it.
    int mesh_for(int mesh, const Linear& linear)
    {
        if (static_cast<std::size_t>(mesh) >= gltf_.meshes.size()) {
            throw ImportError("a node names mesh " + std::to_string(mesh) +
                              ", which the file does not have");
        }
        for (const auto& [key, index] : built_) {
            if (key.first == mesh && key.second == linear.m) {
                return index;
            }
        }
        const int index = static_cast<int>(out_.meshes.size());
        out_.meshes.push_back(build_mesh(gltf_.meshes[static_cast<std::size_t>(mesh)], linear));
        built_.push_back({{mesh, linear.m}, index});
        return index;
    }

    ImportMesh build_mesh(const tinygltf::Mesh& mesh, const Linear& linear)
    {
        ImportMesh out;
        out.name = mesh.name;
        const Linear normal_matrix = linear.normal_matrix();
        const bool mirrored = linear.determinant() < 0;
        for (const tinygltf::Primitive& p : mesh.primitives) {
            add_primitive(out, p, linear, normal_matrix, mirrored);
        }
        return out;
    }

    // The accessor of attribute `name`, read as `components` floats per
    // vertex; empty when the primitive lacks it.
    std::vector<float> attribute(const tinygltf::Primitive& p, const std::string& name,
                                 int components, std::size_t vertices)
    {
        const auto it = p.attributes.find(name);
        if (it == p.attributes.end()) {
            return {};
        }
        std::vector<float> values = read_floats(gltf_, it->second, components);
        if (values.size() != vertices * static_cast<std::size_t>(components)) {
            throw ImportError("accessor " + std::to_string(it->second) + ": " + name +
                              " has another count than POSITION");
        }
        return values;
    }

    void add_primitive(ImportMesh& out, const tinygltf::Primitive& p, const Linear& linear,
                       const Linear& normal_matrix, bool mirrored)
    {
        const int mode = p.mode < 0 ? TINYGLTF_MODE_TRIANGLES : p.mode;
        if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
            mode != TINYGLTF_MODE_TRIANGLE_FAN) {
            ++points_or_lines_;
            return;
        }
        const auto position = p.attributes.find("POSITION");
        if (position == p.attributes.end()) {
            ++without_positions_;
            return;
        }
        if (!p.targets.empty()) {
            ++morphed_;
        }
        const std::vector<float> positions = read_floats(gltf_, position->second, 3);
        const std::size_t count = positions.size() / 3;
        const std::vector<float> normals = attribute(p, "NORMAL", 3, count);
        const int material = material_for(p.material);
        const std::vector<float> uvs =
            attribute(p, "TEXCOORD_" + std::to_string(texcoord_set(p.material)), 2, count);

        const auto base = static_cast<std::uint32_t>(out.positions.size());
        for (std::size_t v = 0; v < count; ++v) {
            out.positions.push_back(to_model_axes(linear.apply(&positions[3 * v])));
            Vec3 n{};
            if (!normals.empty()) {
                n = normal_matrix.apply(&normals[3 * v]);
                const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                n = length > 0 && std::isfinite(length)
                        ? to_model_axes({n[0] / length, n[1] / length, n[2] / length})
                        : Vec3{};
            }
            out.normals.push_back(n);
            std::array<double, 2> uv{};
            if (!uvs.empty() && std::isfinite(uvs[2 * v]) && std::isfinite(uvs[2 * v + 1])) {
                uv = {uvs[2 * v], uvs[2 * v + 1]};
            }
            out.uvs.push_back(uv);
        }

        std::vector<std::uint32_t> indices;
        if (p.indices >= 0) {
            indices = read_indices(gltf_, p.indices);
            for (const std::uint32_t i : indices) {
                if (i >= count) {
                    throw ImportError("accessor " + std::to_string(p.indices) +
                                      ": an index past the primitive's " +
                                      count_of(count, "vertex", "vertices"));
                }
            }
        } else {
            indices.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                indices[i] = static_cast<std::uint32_t>(i);
            }
        }
        for_each_triangle(mode, indices, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
            // Strips and fans join their runs with repeated indices; such a
            // triangle is no face.
            if (a == b || b == c || a == c) {
                return;
            }
            if (!finite(out.positions[base + a]) || !finite(out.positions[base + b]) ||
                !finite(out.positions[base + c])) {
                ++non_finite_triangles_;
                return;
            }
            if (mirrored) {
                std::swap(b, c); // a mirror turns the winding
            }
            out.triangles.push_back({{base + a, base + b, base + c}, material});
        });
    }

    template <typename Emit>
    static void for_each_triangle(int mode, const std::vector<std::uint32_t>& i, Emit emit)
    {
        const std::size_t n = i.size();
        if (mode == TINYGLTF_MODE_TRIANGLES) {
            for (std::size_t k = 0; k + 2 < n; k += 3) {
                emit(i[k], i[k + 1], i[k + 2]);
            }
        } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
            // Every other triangle is turned, so that all face one way.
            for (std::size_t k = 0; k + 2 < n; ++k) {
                if (k % 2 == 0) {
                    emit(i[k], i[k + 1], i[k + 2]);
                } else {
                    emit(i[k], i[k + 2], i[k + 1]);
                }
            }
        } else {
            for (std::size_t k = 1; k + 1 < n; ++k) {
                emit(i[k], i[k + 1], i[0]);
            }
        }
    }

    const tinygltf::Material* gltf_material(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= gltf_.materials.size()) {
            return nullptr;
        }
        return &gltf_.materials[static_cast<std::size_t>(index)];
    }

    int texcoord_set(int material) const
    {
        const tinygltf::Material* m = gltf_material(material);
        return m != nullptr && m->pbrMetallicRoughness.baseColorTexture.index >= 0
                   ? std::max(m->pbrMetallicRoughness.baseColorTexture.texCoord, 0)
                   : 0;
    }

    // The safe name of the base colour texture's image: its name, else the
    // file name of its URI; empty when there is none.
    std::string image_name(const tinygltf::Material& m) const
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

    int material_for(int index)
    {
        const auto known = material_of_gltf_.find(index);
        if (known != material_of_gltf_.end()) {
            return known->second;
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
        int found = -1;
        for (std::size_t i = 0; i < out_.materials.size(); ++i) {
            if (out_.materials[i].name == material.name) {
                found = static_cast<int>(i);
            }
        }
        if (found < 0) {
            found = static_cast<int>(out_.materials.size());
            out_.materials.push_back(material);
        } else {
            ImportMaterial& same = out_.materials[static_cast<std::size_t>(found)];
            same.textured = same.textured || material.textured;
            same.double_sided = same.double_sided || material.double_sided;
            same.translucent = same.translucent || material.translucent;
        }
        material_of_gltf_[index] = found;
        return found;
    }

    void warn_ignored()
    {
        auto& w = out_.warnings;
        if (points_or_lines_ > 0) {
            w.push_back(count_of(points_or_lines_, "primitive", "primitives") +
                        " of points or lines ignored");
        }
        if (without_positions_ > 0) {
            w.push_back(count_of(without_positions_, "primitive", "primitives") +
                        " without positions ignored");
        }
        if (non_finite_triangles_ > 0) {
            w.push_back(count_of(non_finite_triangles_, "triangle", "triangles") +
                        " with coordinates that are not finite numbers left out");
        }
        if (!gltf_.animations.empty()) {
            w.push_back(count_of(gltf_.animations.size(), "animation", "animations") + " ignored");
        }
        if (!gltf_.skins.empty()) {
            w.push_back(count_of(gltf_.skins.size(), "skin", "skins") +
                        " ignored; meshes are taken as they stand without them");
        }
        if (morphed_ > 0) {
            w.push_back("morph targets of " + count_of(morphed_, "primitive", "primitives") +
                        " ignored; the base shape is taken");
        }
        if (!gltf_.cameras.empty()) {
            w.push_back(count_of(gltf_.cameras.size(), "camera", "cameras") + " ignored");
        }
        if (!gltf_.lights.empty()) {
            w.push_back(count_of(gltf_.lights.size(), "light", "lights") + " ignored");
        }
    }

    const tinygltf::Model& gltf_;
    const std::string& fallback_name_;
    ImportScene out_;
    std::vector<std::pair<std::pair<int, std::array<double, 9>>, int>> built_;
    std::map<int, int> material_of_gltf_;
    std::size_t points_or_lines_ = 0, without_positions_ = 0, non_finite_triangles_ = 0,
                morphed_ = 0;
};

} // namespace

ImportScene gather_import_scene(const tinygltf::Model& gltf, int scene,
                                const std::string& fallback_name)
{
    return SceneGatherer(gltf, fallback_name).gather(scene);
}

} // namespace facetor
