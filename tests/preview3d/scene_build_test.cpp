#include "preview3d/scene_build.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace facetor {
namespace {

using testing::FakePlatform;

// Mesh m gets `faces` triangles over vertices (m, f, 0), (m, f, 1), (m, f, 2)
// so that every corner tells where it came from.
void add_mesh(type_model& model, int m, int faces)
{
    type_mesh& mesh = model.mesh(m);
    mesh.vertex_count = 3;
    for (int v = 0; v < 3; ++v) {
        mesh.vertices[v].x = m;
        mesh.vertices[v].z = v;
    }
    mesh.face_count = faces;
    for (int f = 0; f < faces; ++f) {
        mesh.faces[f].corner_count = 3;
        mesh.faces[f].corner_vertex[1] = 0;
        mesh.faces[f].corner_vertex[2] = 1;
        mesh.faces[f].corner_vertex[3] = 2;
        mesh.vertices[0].y = f; // the last face's y; only x and z are checked per face
    }
}

void add_node(type_model& model, int mesh, double wx, double wy, double wz)
{
    type_hierarchy& node = model.nodes[model.node_count];
    node.mesh = mesh;
    node.world_x = wx;
    node.world_y = wy;
    node.world_z = wz;
    model.node_count = model.node_count + 1;
}

struct Built {
    FakePlatform platform;
    View3D view{platform};
    SceneFrames frames;
    std::unique_ptr<type_model> model = make_model();

    const MeshBuilder& mesh_builder() const { return *frames.model_frame->visuals().at(0); }
};

TEST(SceneBuild, EveryNodeCarriedMeshGivesOneWhiteFacePerModelFace)
{
    Built b;
    b.model->geosets[0].mesh_count = 3;
    add_mesh(*b.model, 0, 2);
    add_mesh(*b.model, 1, 1);
    add_mesh(*b.model, 2, 4); // named by no node
    add_node(*b.model, 1, 10, 20, 30);
    add_node(*b.model, -1, 0, 0, 0);
    add_node(*b.model, 0, 0.5, 0, 0);
    add_node(*b.model, 1, -1, -2, -3); // mesh 1 a second time

    build_scene(b.view, b.frames, *b.model);

    const auto& faces = b.mesh_builder().faces();
    ASSERT_EQ(faces.size(), 1u + 2u + 1u);
    const struct {
        float x0, z0; // first corner
    } expected[] = {{11, 30}, {0.5f, 0}, {0.5f, 0}, {0, -3}};
    for (std::size_t i = 0; i < faces.size(); ++i) {
        ASSERT_EQ(faces[i]->corners().size(), 3u);
        EXPECT_EQ(faces[i]->corners()[0].x, expected[i].x0) << i;
        EXPECT_EQ(faces[i]->corners()[0].z, expected[i].z0) << i;
        EXPECT_EQ(faces[i]->corners()[2].z, expected[i].z0 + 2) << i;
        EXPECT_EQ(faces[i]->color(), (ColorRGB{1, 1, 1}));
    }
    // The twice-named mesh's entries point at the later node's faces.
    EXPECT_EQ(b.model->mesh(1).face3d[0], faces[3]);
    EXPECT_EQ(b.model->mesh(0).face3d[1], faces[2]);
    EXPECT_EQ(b.model->mesh(2).face3d[0], nullptr);
}

TEST(SceneBuild, FaceWithoutCornersIsStillAdded)
{
    Built b;
    b.model->mesh(0).face_count = 2;
    b.model->mesh(0).faces[1].corner_count = 1;
    add_node(*b.model, 0, 0, 0, 0);

    build_scene(b.view, b.frames, *b.model);

    const auto& faces = b.mesh_builder().faces();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_TRUE(faces[0]->corners().empty());
    EXPECT_EQ(faces[1]->corners().size(), 1u);
}

TEST(SceneBuild, CornerSumsAreFormedInDoubleBeforeNarrowing)
{
    Built b;
    type_mesh& mesh = b.model->mesh(0);
    mesh.face_count = 1;
    mesh.faces[0].corner_count = 1;
    mesh.vertices[0].x = 0.1;
    add_node(*b.model, 0, 0.2, 0, 0);

    build_scene(b.view, b.frames, *b.model);

    EXPECT_EQ(b.mesh_builder().faces()[0]->corners()[0].x, static_cast<float>(0.1 + 0.2));
}

TEST(SceneBuild, ReplacesFaceEntriesAndReleasesTheOldFaces)
{
    Built b;
    add_mesh(*b.model, 0, 2);
    add_node(*b.model, 0, 0, 0, 0);
    build_scene(b.view, b.frames, *b.model);
    const std::weak_ptr<Face3D> old_face = b.model->mesh(0).face3d[0];
    const std::weak_ptr<Frame> old_model_frame = b.frames.model_frame;

    b.model->mesh(0).face_count = 1;
    build_scene(b.view, b.frames, *b.model);

    EXPECT_TRUE(old_face.expired());
    EXPECT_TRUE(old_model_frame.expired());
    EXPECT_EQ(b.model->mesh(0).face3d[0], b.mesh_builder().faces()[0]);
    // Face 1 is not reached any more and keeps the face of the first build.
    EXPECT_NE(b.model->mesh(0).face3d[1], nullptr);
}

TEST(SceneBuild, NoDeviceStopsBeforeTouchingFramesOrModel)
{
    Built b;
    add_mesh(*b.model, 0, 1);
    add_node(*b.model, 0, 0, 0, 0);
    build_scene(b.view, b.frames, *b.model);
    const auto model_frame = b.frames.model_frame;
    const auto face = b.model->mesh(0).face3d[0];

    b.platform.has_device = false;
    try {
        build_scene(b.view, b.frames, *b.model);
        FAIL() << "the build went on without a device";
    } catch (const RuntimeError& error) {
        EXPECT_STREQ(error.what(), "3D device not found");
    }
    EXPECT_FALSE(b.view.initialized());
    EXPECT_EQ(b.frames.model_frame, model_frame);
    EXPECT_EQ(b.model->mesh(0).face3d[0], face);
    b.view.render();
    EXPECT_TRUE(b.platform.log.calls.empty());
}

} // namespace
} // namespace facetor
