// The glTF import: nodes, meshes, materials and capacities on files made
// here, and round trips through the export.
#include "gltf/import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "gltf/export.h"
#include "gltf/export_scene.h"
#include "gltf/gltf_builder.h"
#include "gltf/gltf_validator.h"
#include "model/reader.h"
#include "model/writer.h"
#include "preview3d/scene_build.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::GltfBuilder;
using Vec3 = std::array<double, 3>;
using Triangle = std::array<Vec3, 3>;

ImportResult import(const GltfBuilder& b, ImportOptions options = {})
{
    return import_gltf_bytes(b.bytes(), ".", options);
}

// Every face of every node's mesh, fanned into triangles, where the node
// places it: what the editor's views and 3D scene show.
std::vector<Triangle> model_triangles(const type_model& model)
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
std::vector<Triangle> gltf_triangles(const tinygltf::Model& gltf)
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

double area(const std::vector<Triangle>& triangles)
{
    double sum = 0;
    for (const Triangle& t : triangles) {
        const Vec3 u{t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
        const Vec3 v{t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
        const Vec3 c{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                     u[0] * v[1] - u[1] * v[0]};
        sum += std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) / 2;
    }
    return sum;
}

bool near(const Triangle& a, const Triangle& b, double tolerance)
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
void expect_same_triangles(const std::vector<Triangle>& expected,
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

Vec3 face_normal(const type_mesh& mesh, int f)
{
    const type_normal& n = mesh.face_normals[f];
    return {n.x, n.y, n.z};
}

const std::vector<float> k_triangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

TEST(Import, NodesKeepEveryTriangleWhereTheSceneHasItWithRotationAndScaleInTheVertices)
{
    GltfBuilder b;
    const int tri = b.mesh({b.primitive(k_triangle)}, "tri");
    const double h = std::sqrt(0.5); // quarter turns
    const int root = b.node("root", -1, -1, {1, 2, 3}, {0, h, 0, h});
    b.node("arm", tri, root, {0, 0, 2}, {h, 0, 0, h}, {2, 2, 2});
    b.node("mirror", tri, -1, {}, {}, {-1, 1, 1});
    const ImportResult r = import(b);
    const type_model& m = *r.model;
    EXPECT_TRUE(r.warnings.empty());

    ASSERT_EQ(int{m.node_count}, 3);
    ASSERT_EQ(int{m.geosets[0].mesh_count}, 2); // one mesh, two ways of turning it
    struct Expected {
        const char* name;
        int mesh, parent, child, sibling, children;
        Vec3 offset;
    };
    const Expected nodes[] = {{"root", -1, -1, 1, 2, 1, {1, -3, 2}},
                              {"arm", 0, 0, -1, -1, 0, {2, 0, 0}},
                              {"mirror", 1, -1, -1, -1, 0, {0, 0, 0}}};
    for (int n = 0; n < 3; ++n) {
        const type_hierarchy& got = m.nodes[n];
        const Expected& e = nodes[n];
        EXPECT_EQ(got.node_name, e.name);
        EXPECT_EQ(
            (std::array<int, 5>{got.mesh, got.parent, got.child, got.sibling, got.num_children}),
            (std::array<int, 5>{e.mesh, e.parent, e.child, e.sibling, e.children}))
            << n;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR((std::array{got.offset_x, got.offset_y, got.offset_z})[i], e.offset[i],
                        1e-12);
        }
        EXPECT_EQ((std::array{got.pitch, got.yaw, got.roll, got.pivot_x, got.pivot_y, got.pivot_z}),
                  (std::array<double, 6>{}));
    }
    // Worked by hand: the arm's corners in glTF's scene are (3, 2, 3),
    // (3, 2, 1) and (5, 2, 3); the mirror's (0, 0, 0), (0, 1, 0), (-1, 0, 0)
    // with its winding turned back so that it still faces +z.
    expect_same_triangles(
        {{{{3, -3, 2}, {3, -1, 2}, {5, -3, 2}}}, {{{0, 0, 0}, {0, 0, 1}, {-1, 0, 0}}}},
        model_triangles(m), 1e-12);
    const Vec3 arm = face_normal(m.mesh(0), 0), mirror = face_normal(m.mesh(1), 0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(arm[i], (Vec3{0, 0, -1})[i], 1e-12);
        EXPECT_NEAR(mirror[i], (Vec3{0, -1, 0})[i], 1e-12);
    }
}

TEST(Import, MaterialsTakeTheirTexturesImageNameOrTheirOwnAndTexturedFacesDrawTextured)
{
    GltfBuilder b;
    tinygltf::Image& image = b.gltf.images.emplace_back();
    image.name = "bricks.png";
    image.mimeType = "image/png";
    image.bufferView = b.gltf.accessors[static_cast<std::size_t>(b.indices({0}))].bufferView;
    b.gltf.textures.emplace_back().source = 0;
    tinygltf::Material& bricks = b.gltf.materials.emplace_back();
    bricks.name = "ignored, the image names it";
    bricks.pbrMetallicRoughness.baseColorTexture.index = 0;
    tinygltf::Material& paint = b.gltf.materials.emplace_back();
    paint.name = "Red Paint:\xC3\xA9#1"; // a space, a colon, an e acute and a hash
    paint.doubleSided = true;
    const std::vector<float> uvs = {0.25f, 0.75f, 0.5f, 0.75f, 0.25f, 1};
    b.node("n", b.mesh({b.primitive(k_triangle, {}, 0, uvs), b.primitive(k_triangle, {}, 1),
                        b.primitive(k_triangle, {}, -1)}));
    const ImportResult r = import(b);
    const type_model& m = *r.model;

    ASSERT_EQ(int{m.material_count}, 3);
    EXPECT_EQ(m.materials[0], "bricks.mat");
    EXPECT_EQ(m.materials[1], "Red_Paint_\xE9_1.mat");
    EXPECT_EQ(m.materials[2], "default.mat");
    ASSERT_EQ(int{m.geosets[0].mesh_count}, 1); // one glTF mesh, one 3DO mesh
    const type_mesh& mesh = m.mesh(0);
    EXPECT_EQ((std::array<int, 3>{mesh.geometry_mode, mesh.lighting_mode, mesh.texture_mode}),
              (std::array{4, 3, 1}));
    ASSERT_EQ(int{mesh.face_count}, 3);
    EXPECT_EQ(int{mesh.vertex_count}, 3); // equal positions are one vertex
    struct Face {
        std::string material, type;
        int geo, light, tex;
    };
    const Face faces[] = {{"bricks.mat", "0x0", 4, 3, 1},
                          {"Red_Paint_\xE9_1.mat", "0x1", 3, 3, 0},
                          {"default.mat", "0x0", 3, 3, 0}};
    for (int f = 0; f < 3; ++f) {
        const type_faces& got = mesh.faces[f];
        EXPECT_EQ(got.face_material, faces[f].material);
        EXPECT_EQ(got.face_type, faces[f].type);
        EXPECT_EQ((std::array<int, 3>{got.geo, got.light, got.tex}),
                  (std::array{faces[f].geo, faces[f].light, faces[f].tex}));
        for (int k = 1; k <= 3; ++k) {
            const type_tvertex& t = mesh.tvertices[got.corner_tvertex[k]];
            const double u = f == 0 ? uvs[2 * (k - 1)] : 0, v = f == 0 ? uvs[2 * (k - 1) + 1] : 0;
            EXPECT_EQ((std::array{t.u, t.v}), (std::array{u, v})) << f << " " << k;
        }
    }
}

TEST(Import, StripsAndFansBecomeTrianglesThatAllFaceOneWay)
{
    GltfBuilder b;
    // A strip of three triangles facing -z, a fan of three facing +z.
    const std::vector<float> strip = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 2, 0, 0};
    const std::vector<float> fan = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, -1, 1, 0};
    b.node("strip", b.mesh({b.primitive(strip, {}, -1, {}, TINYGLTF_MODE_TRIANGLE_STRIP)}));
    b.node("fan", b.mesh({b.primitive(fan, {0, 1, 2, 3, 4}, -1, {}, TINYGLTF_MODE_TRIANGLE_FAN)}));
    const ImportResult r = import(b);
    const type_model& m = *r.model;
    const Vec3 expected[] = {{0, 1, 0}, {0, -1, 0}}; // -z and +z in model axes
    for (int mesh = 0; mesh < 2; ++mesh) {
        ASSERT_EQ(int{m.mesh(mesh).face_count}, 3);
        for (int f = 0; f < 3; ++f) {
            const Vec3 n = face_normal(m.mesh(mesh), f);
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_NEAR(n[i], expected[mesh][i], 1e-12) << mesh << " " << f;
            }
        }
    }
    EXPECT_NEAR(area(model_triangles(m)), 3.0, 1e-12);
}

// A grid of n x n unit squares in the glTF xz plane: corners and texture
// coordinates shared; or every triangle with corners of its own, lifted
// apart (`apart`) or in place with texture coordinates of their own.
enum class Grid { shared, apart, own_uvs };

tinygltf::Primitive grid(GltfBuilder& b, int n, Grid layout)
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

TEST(Import, APrimitiveOverACapacityIsSplitOverChildNodesAtTheSamePlace)
{
    struct Case {
        const char* name;
        Grid layout;
        int parts;
    };
    const Case cases[] = {
        {"faces", Grid::shared, 3},      // 1250 faces over 500
        {"vertices", Grid::apart, 8},    // 3 fresh positions a triangle, 500 a part
        {"tvertices", Grid::own_uvs, 8}, // 3 fresh texture vertices a triangle, 501 a part
    };
    for (const Case& c : cases) {
        GltfBuilder b;
        const int root = b.node("root", -1, -1, {5, 0, 0});
        b.node("ground", b.mesh({grid(b, 25, c.layout)}, "ground"), root);
        const ImportResult r = import(b);
        const type_model& m = *r.model;
        ASSERT_EQ(int{m.geosets[0].mesh_count}, c.parts) << c.name;
        ASSERT_EQ(int{m.node_count}, c.parts + 1) << c.name;
        int faces = 0;
        for (int p = 0; p < c.parts; ++p) {
            const type_mesh& mesh = m.mesh(p);
            EXPECT_LE(int{mesh.vertex_count}, 500);
            EXPECT_LE(int{mesh.face_count}, 500);
            EXPECT_LE(int{mesh.tvertex_count}, 501);
            faces += mesh.face_count;
            const type_hierarchy& node = m.nodes[p + 1];
            EXPECT_EQ(int{node.mesh}, p);
            EXPECT_EQ(int{node.parent}, p == 0 ? 0 : 1) << c.name;
            EXPECT_EQ((std::array{node.world_x, node.world_y, node.world_z}),
                      (std::array<double, 3>{5, 0, 0}));
        }
        EXPECT_EQ(m.nodes[2].node_name, "ground_part2");
        EXPECT_EQ(int{m.nodes[1].num_children}, c.parts - 1);
        EXPECT_EQ(faces, 1250);
        EXPECT_NEAR(area(model_triangles(m)), 625, 1e-9);
    }
}

TEST(Import, AModelThatCannotFitSaysWhatIsOverAndByHowMuch)
{
    struct Case {
        const char* name;
        int nodes, meshes, materials;
        std::string message;
    };
    const std::string prefix = "the model does not fit a 3DO: it needs ";
    const Case cases[] = {
        {"meshes", 33, 33, 1, prefix + "33 meshes, 1 over the 32"},
        {"nodes", 36, 0, 0, prefix + "36 nodes, 1 over the 35"},
        {"materials and meshes", 34, 34, 70,
         prefix + "34 meshes, 2 over the 32; 70 materials, 6 over the 64"},
    };
    for (const Case& c : cases) {
        GltfBuilder b;
        for (int i = 0; i < c.materials; ++i) {
            b.gltf.materials.emplace_back().name = "m" + std::to_string(i);
        }
        for (int n = 0; n < c.nodes; ++n) {
            int mesh = -1;
            if (n < c.meshes) {
                std::vector<tinygltf::Primitive> primitives;
                // The materials spread over the meshes, all used.
                for (int i = n; i < c.materials; i += c.meshes) {
                    primitives.push_back(b.primitive(k_triangle, {}, i));
                }
                if (primitives.empty()) {
                    primitives.push_back(b.primitive(k_triangle));
                }
                mesh = b.mesh(std::move(primitives));
            }
            b.node("n" + std::to_string(n), mesh);
        }
        try {
            import(b);
            ADD_FAILURE() << c.name << ": imported";
        } catch (const ImportError& e) {
            EXPECT_EQ(e.what(), c.message) << c.name;
        }
    }
}

TEST(Import, NodesPastTheLinkRangeAreNeverParentsAndStayWhereTheSceneHasThem)
{
    // In tree order the arm would be node 33, which no parent link can name.
    GltfBuilder b;
    const int root = b.node("root");
    for (int i = 0; i < 32; ++i) {
        b.node("leaf" + std::to_string(i), -1, root, {double(i), 0, 0});
    }
    const int arm = b.node("arm", -1, root, {0, 0, 1});
    b.node("hand", b.mesh({b.primitive(k_triangle)}), arm, {0, 1, 0});
    const ImportResult r = import(b);
    const type_model& m = *r.model;
    ASSERT_EQ(int{m.node_count}, 35);
    for (int n = 0; n < 35; ++n) {
        EXPECT_LE(int{m.nodes[n].parent}, 1) << n; // root and arm come first
    }
    const type_hierarchy& hand = m.nodes[34];
    EXPECT_EQ(hand.node_name, "hand");
    EXPECT_EQ(m.nodes[hand.parent].node_name, "arm");
    EXPECT_EQ((std::array{hand.world_x, hand.world_y, hand.world_z}), (std::array{0.0, -1.0, 1.0}));
    EXPECT_EQ(int{m.nodes[1].child}, -1);        // would name node 34
    EXPECT_EQ(int{m.nodes[0].num_children}, 16); // of 33
    EXPECT_EQ(r.warnings,
              (std::vector<std::string>{"nodes 33 and 34 cannot be named by a child or sibling "
                                        "link; those links are -1 (placement is unchanged)",
                                        "a node with more than 16 children shows 16 as its child "
                                        "count"}));
}

TEST(Import, AFileWithoutADefaultSceneGivesItsFirstSceneOrTheOneAskedFor)
{
    GltfBuilder b;
    b.node("first");
    b.gltf.defaultScene = -1;
    b.gltf.nodes.emplace_back().name = "second";
    b.gltf.scenes.emplace_back().nodes = {1};
    const ImportResult first = import(b);
    ASSERT_EQ(int{first.model->node_count}, 1);
    EXPECT_EQ(first.model->nodes[0].node_name, "first");
    EXPECT_EQ(first.warnings,
              std::vector<std::string>{"no default scene; scene 0 of 2 scenes imported"});
    const ImportResult second = import(b, {.scene = 1});
    EXPECT_EQ(second.model->nodes[0].node_name, "second");
    EXPECT_TRUE(second.warnings.empty());
    EXPECT_THROW(
        try { import(b, {.scene = 2}); } catch (const ImportError& e) {
            EXPECT_STREQ(e.what(), "no scene 2; the file has 2 scenes");
            throw;
        },
        ImportError);
}

TEST(Import, WhatA3DOCannotHoldIsIgnoredWithOneWarningEach)
{
    GltfBuilder b;
    tinygltf::Primitive morphed = b.primitive(k_triangle);
    morphed.targets.push_back({{"POSITION", morphed.attributes["POSITION"]}});
    tinygltf::Primitive lines = b.primitive(k_triangle);
    lines.mode = TINYGLTF_MODE_LINE;
    const int mesh = b.mesh({morphed, lines, b.primitive(k_triangle)});
    const int node = b.node("n", mesh);
    b.gltf.cameras.emplace_back().type = "perspective";
    b.gltf.cameras[0].perspective.yfov = 1;
    b.gltf.cameras[0].perspective.znear = 0.1;
    b.gltf.nodes[0].camera = 0;
    tinygltf::Light& light = b.gltf.lights.emplace_back();
    light.type = "point";
    b.gltf.extensionsUsed.push_back("KHR_lights_punctual");
    tinygltf::Skin& skin = b.gltf.skins.emplace_back();
    skin.joints = {node};
    tinygltf::Animation& animation = b.gltf.animations.emplace_back();
    tinygltf::AnimationSampler& sampler = animation.samplers.emplace_back();
    sampler.input = b.floats({0, 0, 0}, TINYGLTF_TYPE_VEC3);
    sampler.output = sampler.input;
    tinygltf::AnimationChannel& channel = animation.channels.emplace_back();
    channel.sampler = 0;
    channel.target_node = node;
    channel.target_path = "translation";
    const ImportResult r = import(b);
    EXPECT_EQ(r.warnings, (std::vector<std::string>{
                              "1 primitive of points or lines ignored",
                              "1 animation ignored",
                              "1 skin ignored; meshes are taken as they stand without them",
                              "morph targets of 1 primitive ignored; the base shape is taken",
                              "1 camera ignored",
                              "1 light ignored",
                          }));
    EXPECT_EQ(int{r.model->mesh(0).face_count}, 2);
}

TEST(Import, AFileThatBreaksItsOwnRulesIsRefusedWithAMessage)
{
    struct Case {
        const char* name;
        void (*spoil)(GltfBuilder&);
        std::string message;
    };
    const Case cases[] = {
        {"accessor past its buffer", [](GltfBuilder& b) { b.gltf.accessors[0].count = 4; },
         "accessor 0: lies outside its buffer"},
        {"stride past its buffer", [](GltfBuilder& b) { b.gltf.bufferViews[0].byteStride = 16; },
         "accessor 0: lies outside its buffer"},
        {"index past the vertices",
         [](GltfBuilder& b) {
             b.gltf.meshes[0].primitives[0].indices = b.indices({0, 1, 3});
         },
         "accessor 1: an index past the primitive's 3 vertices"},
        {"wrong element type",
         [](GltfBuilder& b) { b.gltf.accessors[0].type = TINYGLTF_TYPE_VEC2; },
         "accessor 0: has the wrong element type"},
        {"required extension",
         [](GltfBuilder& b) { b.gltf.extensionsRequired.push_back("KHR_draco_mesh_compression"); },
         "the file requires the extension KHR_draco_mesh_compression, which the import does not "
         "read"},
    };
    for (const Case& c : cases) {
        GltfBuilder b;
        b.node("n", b.mesh({b.primitive(k_triangle)}));
        c.spoil(b);
        try {
            import(b);
            ADD_FAILURE() << c.name << ": imported";
        } catch (const ImportError& e) {
            EXPECT_EQ(e.what(), c.message) << c.name;
        }
    }
    EXPECT_THROW(import_gltf_bytes("glTF and then nothing", ".", {}), ImportError);
    EXPECT_THROW(import_gltf_bytes("{\"asset\": ", ".", {}), ImportError);
}

// Runs the Khronos validator over bytes; its report goes into `report`.
int validate(const std::string& bytes, const std::string& name, std::string& report)
{
    const fs::path path = fs::temp_directory_path() /
                          ("facetor_import_test_" + std::to_string(::getpid()) + "_" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    const int status = test::validate_gltf(path.string(), report);
    fs::remove(path);
    return status;
}

// The export of an imported model: its bytes, and read back.
std::string export_bytes(const type_model& model)
{
    std::ostringstream out;
    export_gltf(model, {}, out);
    return std::move(out).str();
}

tinygltf::Model read_glb(const std::string& bytes)
{
    tinygltf::Model gltf;
    tinygltf::TinyGLTF loader;
    std::string err, warn;
    EXPECT_TRUE(loader.LoadBinaryFromMemory(&gltf, &err, &warn,
                                            reinterpret_cast<const unsigned char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size())))
        << err;
    return gltf;
}

TEST(ImportRoundTrip, AGltfThatFitsExportsTheSameSurfaceAndTheExportIsValid)
{
    ASSERT_TRUE(fs::exists(FACETOR_GLTF_VALIDATOR "/package.json"))
        << "no glTF validator at " FACETOR_GLTF_VALIDATOR "; run scripts/setup.sh";
    const double h = std::sqrt(0.5);
    struct Case {
        const char* name;
        GltfBuilder gltf;
        bool translations_only; // so that gltf_triangles reads the input too
    };
    std::vector<Case> cases;
    {
        Case& c = cases.emplace_back(Case{"turned and mirrored", {}, false});
        const int tri = c.gltf.mesh({c.gltf.primitive(k_triangle)});
        const int root = c.gltf.node("root", tri, -1, {1, 2, 3}, {0, h, 0, h});
        c.gltf.node("arm", tri, root, {0, 0, 2}, {h, 0, 0, h}, {2, 2, 0.5});
        c.gltf.node("mirror", tri, root, {}, {}, {-1, 1, 1});
    }
    {
        Case& c = cases.emplace_back(Case{"split", {}, true});
        const int root = c.gltf.node("root", -1, -1, {5, 0, -1.5});
        c.gltf.node("ground", c.gltf.mesh({grid(c.gltf, 25, Grid::shared)}), root, {0.25, 1, 0});
    }
    {
        Case& c = cases.emplace_back(Case{"soup with own texture vertices", {}, true});
        c.gltf.node("ground", c.gltf.mesh({grid(c.gltf, 12, Grid::own_uvs)}));
    }
    for (Case& c : cases) {
        const ImportResult imported = import(c.gltf);
        const std::vector<Triangle> expected = model_triangles(*imported.model);
        const std::string bytes = export_bytes(*imported.model);
        expect_same_triangles(expected, gltf_triangles(read_glb(bytes)));
        if (c.translations_only) {
            expect_same_triangles(gltf_triangles(c.gltf.gltf), expected);
        }
        std::string report;
        EXPECT_EQ(validate(bytes, std::string(c.name) + ".glb", report), 0) << c.name << report;
    }
}

// Our sample models: the editor's default model and the reader's seeds that load.
std::vector<fs::path> sample_models()
{
    std::vector<fs::path> paths = {FACETOR_SOURCE_DIR "/data/dflt.3do"};
    for (const auto& entry : fs::directory_iterator(FACETOR_SOURCE_DIR "/fuzz/corpus/reader")) {
        if (entry.path().extension() == ".3do") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin() + 1, paths.end());
    return paths;
}

TEST(ImportRoundTrip, EachSampleModelComesBackFromItsExportWithItsGeometry)
{
    int loaded = 0;
    for (const fs::path& path : sample_models()) {
        SCOPED_TRACE(path.filename().string());
        auto original = make_model();
        try {
            ReaderState state;
            Progress progress;
            read_3do_file(path.string(), *original, state, progress);
        } catch (const RuntimeError&) {
            continue; // a seed that does not load has nothing to export
        }
        ++loaded;
        const std::string name = path.filename().string();
        const std::string exported = export_bytes(*original);
        const ImportResult imported = import_gltf_bytes(exported, ".", {});
        // Through the 3DO writer and the editor's reader, as `import` then
        // opening the file would go.
        std::ostringstream text;
        EXPECT_TRUE(write_3do(*imported.model, text).empty()) << name;
        auto reloaded = make_model();
        ReaderState state;
        Progress progress;
        read_3do_bytes(text.str(), *reloaded, state, progress);
        expect_same_triangles(model_triangles(*original), model_triangles(*reloaded), 0);
        std::string report;
        EXPECT_EQ(validate(export_bytes(*imported.model), name + ".glb", report), 0)
            << name << report;
    }
    EXPECT_GE(loaded, 5);
}

} // namespace
} // namespace facetor
