#pragma once
// The gatherer behind gather_import_scene, declared for the files that hold
// its parts: the node walk and world transforms (import_scene.cpp), the
// checks made before any element is read (import_scene_checks.cpp), the
// primitives (import_scene_primitives.cpp) and the material names
// (import_scene_materials.cpp).
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gltf/import_scene.h"
#include "model/geometry.h"
#include "model/report_text.h"
#include "model/vector_math.h"

namespace tinygltf {
class Model;
struct Material;
struct Mesh;
struct Primitive;
} // namespace tinygltf

namespace facetor::gltf_import {

// Column-major, as glTF writes matrices.
using Matrix = std::array<double, 16>;

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

inline Vec3 to_model_axes(const Vec3& v)
{
    return from_view_axes(v[0], v[1], v[2]);
}

class SceneGatherer {
  public:
    SceneGatherer(const tinygltf::Model& gltf, const std::string& fallback_name)
        : gltf_(gltf), fallback_name_(fallback_name)
    {
    }

    ImportScene gather(int scene);

  private:
    // A glTF mesh as one node's world rotation and scale bake it.
    struct Bake {
        int mesh;
        Linear linear;
    };

    // The node walk
    std::vector<int> roots(int scene);
    void walk(const std::vector<int>& roots);
    int mesh_for(int mesh, const Linear& linear);
    void warn_ignored();

    // The checks before any element is read
    void check_extensions();
    void check_bounds() const;
    void warn_extensions();

    // The primitives
    ImportMesh build_mesh(const Bake& bake);
    void add_primitive(ImportMesh& out, const tinygltf::Primitive& p, const Bake& bake,
                       const Linear& normal_matrix);

    // The materials
    const tinygltf::Material* gltf_material(int index) const;
    int texcoord_set(int material) const;
    std::string image_name(const tinygltf::Material& m) const;
    int material_for(int index, int mesh);

    const tinygltf::Model& gltf_;
    const std::string& fallback_name_;
    ImportScene out_;
    std::vector<Bake> bakes_; // what out_.meshes will hold, in the same order
    std::map<std::pair<int, std::array<std::uint64_t, 9>>, int> bake_of_;
    std::map<int, int> material_of_gltf_;
    std::unordered_map<std::string, int> material_named_;
    bool quantized_ = false; // KHR_mesh_quantization: integer positions are allowed
    std::size_t points_or_lines_ = 0, without_positions_ = 0, non_finite_triangles_ = 0,
                morphed_ = 0, incomplete_triangles_ = 0, non_finite_uvs_ = 0,
                flattened_triangles_ = 0;
};

} // namespace facetor::gltf_import
