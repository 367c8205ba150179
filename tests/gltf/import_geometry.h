#pragma once
// What the import's tests compare: the triangles a model shows and those a
// glTF holds, and a grid of squares to make meshes of any size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include <tiny_gltf.h>

#include "gltf/gltf_builder.h"
#include "model/geometry.h"
#include "model/model.h"
#include "model/vector_math.h"

namespace facetor::test {

using facetor::Vec3;
using Triangle = std::array<Vec3, 3>;

// Every face of every node's mesh, fanned into triangles, where the node
// places it: what the editor's views and 3D scene show.
inline std::vector<Triangle> model_triangles(const type_model& model)
{
    std::vector<Triangle> out;
    for (int n = 0; n < model.node_count; ++n) {
        const type_hierarchy& node = model.nodes[n];
        if (node.mesh < 0 || node.mesh >= model.geosets[0].mesh_count) {
            continue;
        }
        const type_mesh& mesh = model.mesh(node.mesh);
        const auto at = [&](int v) {
            const type_vertex& p = mesh.vertices[v];
            return Vec3{p.x + node.world_x, p.y + node.world_y, p.z + node.world_z};
        };
        for (int f = 0; f < mesh.face_count; ++f) {
            const type_faces& face = mesh.faces[f];
            bool usable = face.corner_count >= 3;
            for (int k = 1; k <= face.corner_count; ++k) {
                usable = usable && face.corner_vertex[k] < mesh.vertex_count;
            }
            for (int k = 2; usable && k < face.corner_count; ++k) {
                out.push_back({at(face.corner_vertex[1]), at(face.corner_vertex[k]),
                               at(face.corner_vertex[k + 1])});
            }
        }
    }
    return out;
}

// The triangles of a glTF whose nodes only translate (as the export writes
// them), in model axes.
inline std::vector<Triangle> gltf_triangles(const tinygltf::Model& gltf)
{
    std::vector<int> parent(gltf.nodes.size(), -1);
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        for (const int c : gltf.nodes[n].children) {
            parent[static_cast<std::size_t>(c)] = static_cast<int>(n);
        }
    }
    std::vector<Triangle> out;
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        if (gltf.nodes[n].mesh < 0) {
            continue;
        }
        Vec3 world{};
        for (int p = static_cast<int>(n); p != -1; p = parent[static_cast<std::size_t>(p)]) {
            const auto& t = gltf.nodes[static_cast<std::size_t>(p)].translation;
            for (std::size_t i = 0; i < t.size(); ++i) {
                world[i] += t[i];
            }
        }
        for (const auto& prim :
             gltf.meshes[static_cast<std::size_t>(gltf.nodes[n].mesh)].primitives) {
            const auto data = [&](int index) {
                const tinygltf::Accessor& a = gltf.accessors[static_cast<std::size_t>(index)];
                const tinygltf::BufferView& v =
                    gltf.bufferViews[static_cast<std::size_t>(a.bufferView)];
                return gltf.buffers[0].data.data() + v.byteOffset + a.byteOffset;
            };
            const auto* xyz = reinterpret_cast<const float*>(data(prim.attributes.at("POSITION")));
            const auto* index = reinterpret_cast<const std::uint32_t*>(data(prim.indices));
            const std::size_t count = gltf.accessors[static_cast<std::size_t>(prim.indices)].count;
            for (std::size_t i = 0; i + 2 < count; i += 3) {
                Triangle t;
                for (std::size_t k = 0; k < 3; ++k) {
                    const float* p = xyz + 3 * index[i + k];
                    t[k] = from_view_axes(world[0] + p[0], world[1] + p[1], world[2] + p[2]);
                }
                out.push_back(t);
            }
        }
    }
    return out;
}

inline double area(const std::vector<Triangle>& triangles)
{
    double sum = 0;
    for (const Triangle& t : triangles) {
        sum += length(cross(difference(t[1], t[0]), difference(t[2], t[0]))) / 2;
    }
    return sum;
}

inline bool near(const Triangle& a, const Triangle& b, double tolerance)
{
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (std::fabs(a[k][i] - b[k][i]) > tolerance * std::max(1.0, std::fabs(a[k][i]))) {
                return false;
            }
        }
    }
    return true;
}

// The same triangles, corners in the same turn, in any order.
inline void expect_same_triangles(const std::vector<Triangle>& expected,
                                  const std::vector<Triangle>& actual, double tolerance = 1e-5)
{
    ASSERT_EQ(actual.size(), expected.size());
    std::vector<bool> taken(actual.size(), false);
    for (std::size_t e = 0; e < expected.size(); ++e) {
        bool found = false;
        for (std::size_t a = 0; a < actual.size() && !found; ++a) {
            if (!taken[a] && near(expected[e], actual[a], tolerance)) {
                taken[a] = found = true;
            }
        }
        ASSERT_TRUE(found) << "triangle " << e << " at " << expected[e][0][0] << ", "
                           << expected[e][0][1] << ", " << expected[e][0][2];
    }
    EXPECT_NEAR(area(actual), area(expected), tolerance * std::max(1.0, area(expected)));
}

// A grid of n x n unit squares in the glTF xz plane: corners and texture
// coordinates shared; or every triangle with corners of its own, lifted
// apart (`apart`) or in place with texture coordinates of their own.
enum class Grid { shared, apart, own_uvs };

inline tinygltf::Primitive grid(GltfBuilder& b, int n, Grid layout)
{
    std::vector<float> xyz, uv;
    std::vector<std::uint32_t> index;
    const auto corner = [&](int x, int z) {
        if (layout == Grid::shared) {
            return static_cast<std::uint32_t>(z * (n + 1) + x);
        }
        const auto i = static_cast<std::uint32_t>(xyz.size() / 3);
        const float lift = layout == Grid::apart ? float(i / 3) : 0.0f;
        xyz.insert(xyz.end(), {float(x), lift, float(z)});
        uv.insert(uv.end(), {layout == Grid::own_uvs ? float(i) : 0.0f, 0});
        return i;
    };
    if (layout == Grid::shared) {
        for (int z = 0; z <= n; ++z) {
            for (int x = 0; x <= n; ++x) {
                xyz.insert(xyz.end(), {float(x), 0, float(z)});
                uv.insert(uv.end(), {float(x) / float(n), float(z) / float(n)});
            }
        }
    }
    for (int z = 0; z < n; ++z) {
        for (int x = 0; x < n; ++x) {
            for (const auto& [cx, cz] : {std::pair{x, z},
                                         {x, z + 1},
                                         {x + 1, z + 1},
                                         {x, z},
                                         {x + 1, z + 1},
                                         {x + 1, z}}) {
                index.push_back(corner(cx, cz));
            }
        }
    }
    return b.primitive(xyz, index, -1, uv);
}

} // namespace facetor::test
