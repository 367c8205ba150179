#include "gltf/export_scene.h"

#include <gtest/gtest.h>

#include "model/model_text.h"
#include "model/reader.h"

namespace facetor {
namespace {

using test::FaceLayout;

std::unique_ptr<type_model> load(const test::ModelLayout& layout)
{
    auto model = make_model();
    ReaderState state;
    Progress progress;
    read_3do_bytes(test::model_text(layout), *model, state, progress);
    return model;
}

std::size_t triangles(const ExportScene& scene)
{
    std::size_t n = 0;
    for (const ExportMesh& mesh : scene.meshes) {
        for (const ExportPrimitive& p : mesh.primitives) {
            n += p.indices.size() / 3;
        }
    }
    return n;
}

TEST(ExportScene, LeavesOutWhatItCannotShowAndSaysWhyOncePerMeshAndCause)
{
    test::ModelLayout layout;
    layout.geosets[0][0].name = "t\x01";
    // The causes come in a fixed order, not in the order the faces meet them.
    layout.geosets[0][0].faces = {
        FaceLayout{.corners = {{0, 0}, {1, 1}, {2, 9}}},
        FaceLayout{.corners = {{0, 0}, {1, 1}}},
        FaceLayout{.corners = {{0, 0}, {1, 1}, {7, 2}}},
        FaceLayout{.corners = {{0, 0}, {1, 1}, {2, 8}}},
        FaceLayout{},
    };
    layout.nodes[1].mesh = 5; // the geoset has one mesh
    layout.nodes[1].name = "c\xff";
    layout.nodes.push_back({.mesh = 1, .parent = 0, .name = "edge"}); // just past it
    const ExportScene scene = build_export_scene(*load(layout), 0);

    EXPECT_EQ(scene.warnings,
              (std::vector<std::string>{
                  "mesh 0 (t\\x01): 1 face with fewer than 3 corners; skipped (first: face 1, 2 "
                  "corners)",
                  "mesh 0 (t\\x01): 1 face with a corner past the vertices; skipped (first: face 2 "
                  "corner 3 names vertex 7 of 3)",
                  "mesh 0 (t\\x01): 2 faces with a corner past the texture vertices; UV 0, 0 "
                  "(first: face 0 corner 3 names texture vertex 9 of 3)",
                  "node 1 (c\\xff): mesh 5 is not in the geoset; node without mesh",
                  "node 2 (edge): mesh 1 is not in the geoset; node without mesh",
              }));
    EXPECT_EQ(triangles(scene), 3u);
    EXPECT_EQ(scene.nodes[1].mesh, -1);
    EXPECT_EQ(scene.nodes[2].mesh, -1);
    const ExportPrimitive& p = scene.meshes.at(0).primitives.at(0);
    EXPECT_EQ((std::vector<float>(p.uvs.begin() + 2, p.uvs.begin() + 6)),
              (std::vector<float>{0.125f, 0.875f, 0, 0}));
}

TEST(ExportScene, AMeshNoNodeCarriesIsARootAtTheOrigin)
{
    test::ModelLayout layout;
    layout.geosets[0].resize(2);
    layout.geosets[0][1].name = "second";
    layout.nodes.resize(1); // carries mesh 0 only
    const ExportScene scene = build_export_scene(*load(layout), 0);
    ASSERT_EQ(scene.nodes.size(), 2u);
    EXPECT_EQ(scene.nodes[1].name, "second");
    EXPECT_EQ(scene.nodes[1].parent, -1);
    EXPECT_EQ(scene.nodes[1].translation, (std::array<double, 3>{}));
    EXPECT_EQ(scene.nodes[1].mesh, 1);
    EXPECT_EQ(scene.warnings, std::vector<std::string>{
                                  "mesh 1 (second): carried by no node; a root at the origin"});
}

TEST(ExportScene, FansEachFaceWithOneFlatNormalAndGroupsFacesByMaterial)
{
    auto model = make_model();
    model->geoset_count = 1;
    model->geosets[0].mesh_count = 1;
    type_mesh& mesh = model->mesh(0);
    mesh.vertex_count = 5;
    mesh.tvertex_count = 5;
    mesh.vertices[4].z = 1; // above corner 0: with corners 0 and 3 a face that looks along +x
    const double square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // counter-clockwise seen from +z
    for (int v = 0; v < 4; ++v) {
        mesh.vertices[v].x = square[v][0];
        mesh.vertices[v].y = square[v][1];
        mesh.tvertices[v].u = v;
    }
    const struct {
        const char* material;
        std::vector<int> corners;
    } faces[] = {
        {"a.mat", {0, 1, 2, 3}}, {"b.mat", {0, 1, 2}}, {"a.mat", {1, 1, 1}}, {"b.mat", {0, 3, 4}}};
    mesh.face_count = 4;
    for (int f = 0; f < 4; ++f) {
        mesh.faces[f].face_material = faces[f].material;
        mesh.faces[f].corner_count = static_cast<long long>(faces[f].corners.size());
        for (std::size_t k = 0; k < faces[f].corners.size(); ++k) {
            mesh.faces[f].corner_vertex[k + 1] = faces[f].corners[k];
            mesh.faces[f].corner_tvertex[k + 1] = faces[f].corners[k];
        }
    }
    mesh.face_normals[2].x = 2; // the face without area falls back on it
    model->node_count = 1;
    model->nodes[0].mesh = 0;
    model->nodes[0].parent = -1;

    const ExportScene scene = build_export_scene(*model, 0);
    EXPECT_EQ(scene.materials, (std::vector<std::string>{"a.mat", "b.mat"}));
    const auto& primitives = scene.meshes.at(0).primitives;
    ASSERT_EQ(primitives.size(), 2u);
    const ExportPrimitive& a = primitives[0];
    EXPECT_EQ(a.material, 0);
    EXPECT_EQ(a.indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6}));
    // Model z is the view's up: the square faces glTF +y, its corners at (x, 0, -y).
    EXPECT_EQ((std::vector<float>(a.positions.begin() + 6, a.positions.begin() + 9)),
              (std::vector<float>{1, 0, -1}));
    EXPECT_EQ((std::vector<float>(a.normals.begin(), a.normals.begin() + 3)),
              (std::vector<float>{0, 1, 0}));
    EXPECT_EQ((std::vector<float>(a.normals.end() - 3, a.normals.end())),
              (std::vector<float>{1, 0, 0}));
    EXPECT_EQ(a.uvs[6], 3);
    EXPECT_EQ(a.min, (std::array<float, 3>{0, 0, -1}));
    EXPECT_EQ(a.max, (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ(primitives[1].material, 1);
    EXPECT_EQ((std::vector<float>(primitives[1].normals.end() - 3, primitives[1].normals.end())),
              (std::vector<float>{1, 0, 0}));
    EXPECT_TRUE(scene.warnings.empty());
}

} // namespace
} // namespace facetor
