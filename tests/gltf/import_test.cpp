// The glTF import: nodes, meshes, materials, normals and capacities on
// files made here.
#include "gltf/import.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "gltf/gltf_builder.h"
#include "gltf/import_geometry.h"

namespace facetor {
namespace {

using test::GltfBuilder;
using test::Grid;
using test::grid;
using test::k_triangle;
using test::Triangle;
using test::Vec3;

ImportResult import(const GltfBuilder& b, ImportOptions options = {})
{
    return import_gltf_bytes(b.bytes(), ".", options);
}

Vec3 stored_face_normal(const type_mesh& mesh, int f)
{
    const type_normal& n = mesh.face_normals[f];
    return {n.x, n.y, n.z};
}

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
    test::expect_same_triangles(
        {{{{3, -3, 2}, {3, -1, 2}, {5, -3, 2}}}, {{{0, 0, 0}, {0, 0, 1}, {-1, 0, 0}}}},
        test::model_triangles(m), 1e-12);
    const Vec3 arm = stored_face_normal(m.mesh(0), 0), mirror = stored_face_normal(m.mesh(1), 0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(arm[i], (Vec3{0, 0, -1})[i], 1e-12);
        EXPECT_NEAR(mirror[i], (Vec3{0, -1, 0})[i], 1e-12);
    }
}

TEST(Import, VertexNormalsAreTheFilesTurnedWithTheNodeAndFaceNormalsComeFromTheCorners)
{
    GltfBuilder b;
    tinygltf::Primitive p = b.primitive(k_triangle);
    // Leaning away from the face's own +z, as on a smoothed edge.
    p.attributes["NORMAL"] =
        b.floats({0.6f, 0, 0.8f, 0, 0.6f, 0.8f, 0.6f, 0, 0.8f}, TINYGLTF_TYPE_VEC3);
    const double h = std::sqrt(0.5);
    b.node("n", b.mesh({p}), -1, {}, {h, 0, 0, h}); // a quarter turn about x: y to z, z to -y
    const ImportResult r = import(b);
    const type_mesh& mesh = r.model->mesh(0);
    // Turned, then in model axes (x, -z, y).
    const Vec3 expected[] = {{0.6, 0, -0.8}, {0, -0.6, -0.8}, {0.6, 0, -0.8}};
    ASSERT_EQ(int{mesh.vertex_count}, 3);
    for (int v = 0; v < 3; ++v) {
        const type_normal& n = mesh.vertex_normals[v];
        EXPECT_NEAR(n.x, expected[v][0], 1e-6) << v;
        EXPECT_NEAR(n.y, expected[v][1], 1e-6) << v;
        EXPECT_NEAR(n.z, expected[v][2], 1e-6) << v;
    }
    const Vec3 face = stored_face_normal(mesh, 0);
    EXPECT_NEAR(face[2], -1, 1e-12);
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
            const Vec3 n = stored_face_normal(m.mesh(mesh), f);
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_NEAR(n[i], expected[mesh][i], 1e-12) << mesh << " " << f;
            }
        }
    }
    EXPECT_NEAR(test::area(test::model_triangles(m)), 3.0, 1e-12);
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
        EXPECT_NEAR(test::area(test::model_triangles(m)), 625, 1e-9);
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
                              "1 light ignored (extension KHR_lights_punctual)",
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

} // namespace
} // namespace facetor
