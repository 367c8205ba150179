#include "preview3d/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "vector_near.h"

namespace facetor {
namespace {

using test::expect_near;

TEST(Frame, ModelFramePlacesModelPointsAtXZMinusY)
{
    Runtime3D runtime;
    const auto root = runtime.CreateFrame(nullptr);
    const auto model = runtime.CreateFrame(root);
    model->SetPosition(root.get(), 0, 0, 0);
    ASSERT_TRUE(model->SetOrientation(root.get(), 0, 1, 0, 0, 0, -1));

    const struct {
        Vector3 model, root;
    } cases[] = {
        {{1, 0, 0}, {1, 0, 0}},
        {{0, 1, 0}, {0, 0, -1}},
        {{0, 0, 1}, {0, 1, 0}},
        {{2, 3, 4}, {2, 4, -3}},
        {{-0.5f, 0.25f, 7}, {-0.5f, 7, -0.25f}},
    };
    for (const auto& c : cases) {
        expect_near(model->world().apply(c.model), c.root);
    }
}

TEST(Frame, PositionAndOrientationAreTakenInTheReferenceFrame)
{
    Runtime3D runtime;
    const auto root = runtime.CreateFrame(nullptr);
    const auto parent = runtime.CreateFrame(root);
    parent->SetPosition(root.get(), 5, -2, 3);
    ASSERT_TRUE(parent->SetOrientation(root.get(), 1, 0, 0, 0, 0, 1));
    const auto child = runtime.CreateFrame(parent);

    child->SetPosition(root.get(), 1, 2, 3);
    ASSERT_TRUE(child->SetOrientation(root.get(), 0, 0, 1, 0, 1, 0));
    const Placement world = child->world();
    expect_near(world.origin, {1, 2, 3});
    expect_near(world.axis_x, {1, 0, 0});
    expect_near(world.axis_y, {0, 1, 0});
    expect_near(world.axis_z, {0, 0, 1});

    // Null reference: relative to the parent.
    child->SetPosition(nullptr, 1, 0, 0);
    expect_near(child->world().origin, parent->world().apply({1, 0, 0}));
}

TEST(Frame, DegenerateOrientationLeavesTheFrameAsItWas)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* name;
        Vector3 direction, up;
    } cases[] = {
        {"zero direction", {0, 0, 0}, {0, 1, 0}},
        {"zero up", {0, 0, 1}, {0, 0, 0}},
        {"up along direction", {0, 2, 0}, {0, -1, 0}},
        {"not a number", {nan, 0, 1}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        Runtime3D runtime;
        const auto root = runtime.CreateFrame(nullptr);
        const auto frame = runtime.CreateFrame(root);
        ASSERT_TRUE(frame->SetOrientation(root.get(), 1, 0, 0, 0, 1, 0));
        EXPECT_FALSE(frame->SetOrientation(root.get(), c.direction.x, c.direction.y, c.direction.z,
                                           c.up.x, c.up.y, c.up.z))
            << c.name;
        expect_near(frame->placement().axis_z, {1, 0, 0});
        expect_near(frame->placement().axis_y, {0, 1, 0});
    }
}

TEST(Frame, FrameOutlivingItsRootStandsAlone)
{
    Runtime3D runtime;
    auto root = runtime.CreateFrame(nullptr);
    root->SetPosition(nullptr, 4, 4, 4);
    const auto kept = runtime.CreateFrame(root);
    kept->SetPosition(nullptr, 1, 0, 0);
    root.reset();

    EXPECT_EQ(kept->parent(), nullptr);
    expect_near(kept->world().origin, {1, 0, 0});
    kept->SetPosition(kept.get(), 1, 0, 0);
    expect_near(kept->world().origin, {2, 0, 0});
}

struct CameraScene {
    Runtime3D runtime;
    std::shared_ptr<Frame> root = runtime.CreateFrame(nullptr);
    std::shared_ptr<Frame> camera = runtime.CreateFrame(root);
    std::shared_ptr<Device3D> device;
    std::unique_ptr<Viewport> viewport;

    CameraScene(int width, int height)
    {
        camera->SetPosition(root.get(), 0, 0, -10);
        camera->SetOrientation(root.get(), 0, 0, 1, 0, 1, 0);
        device = std::make_shared<Device3D>(nullptr, width, height, true);
        viewport = std::make_unique<Viewport>(device, camera, 0, 0, width, height);
        viewport->SetBack(5000);
        viewport->SetField(0.01f);
    }
};

TEST(Viewport, FieldSpansHalfTheShorterSideAtUnitDistance)
{
    CameraScene scene(200, 100);
    const struct {
        Vector3 root;
        float px, py;
    } cases[] = {
        {{0, 0, 0}, 100, 50},      {{0.05f, 0, 0}, 125, 50}, // 0.05 / 10 / 0.01 of 50 pixels
        {{0, 0.05f, 0}, 100, 25},                            // up is up the screen
        {{-0.1f, 0, 0}, 50, 50},   // the field's edge across the short side
        {{0.05f, 0, -5}, 150, 50}, // half the distance, twice as far out
    };
    for (const auto& c : cases) {
        float px = 0, py = 0;
        ASSERT_TRUE(scene.viewport->project(c.root, px, py));
        EXPECT_NEAR(px, c.px, 1e-3f);
        EXPECT_NEAR(py, c.py, 1e-3f);
    }
    float px, py;
    EXPECT_FALSE(scene.viewport->project({0, 0, -9.5f}, px, py)); // inside the front plane
}

TEST(Viewport, ProjectionMatrixAgreesWithProject)
{
    CameraScene scene(240, 180);
    const Matrix4 p = scene.viewport->projection();
    const Matrix4 v = scene.camera->world().inverse().matrix();
    const auto mul = [](const Matrix4& m, const std::array<float, 4>& x) {
        std::array<float, 4> r{};
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                r[row] += m[col * 4 + row] * x[col];
            }
        }
        return r;
    };
    for (const Vector3 point : {Vector3{0.03f, -0.02f, 1}, Vector3{-0.07f, 0.04f, -3}}) {
        const auto clip = mul(p, mul(v, {point.x, point.y, point.z, 1}));
        const float px = (clip[0] / clip[3] + 1) / 2 * 240;
        const float py = (1 - clip[1] / clip[3]) / 2 * 180;
        float ex = 0, ey = 0;
        ASSERT_TRUE(scene.viewport->project(point, ex, ey));
        EXPECT_NEAR(px, ex, 1e-2f);
        EXPECT_NEAR(py, ey, 1e-2f);
        EXPECT_GT(clip[2] / clip[3], -1);
        EXPECT_LT(clip[2] / clip[3], 1);
    }
}

TEST(Viewport, SnapshotGathersLightsAndVisualsInRootCoordinates)
{
    CameraScene scene(100, 100);
    const auto light_frame = scene.runtime.CreateFrame(scene.root);
    light_frame->SetOrientation(scene.root.get(), 1, 0, 0, 0, 1, 0);
    light_frame->AddLight(scene.runtime.CreateLightRGB(LightType::directional, 0.9f, 0.8f, 0.7f));
    scene.root->AddLight(scene.runtime.CreateLightRGB(LightType::ambient, 0.1f, 0.1f, 0.1f));
    scene.root->AddLight(scene.runtime.CreateLightRGB(LightType::ambient, 0.2f, 0, 0));
    const auto holder = scene.runtime.CreateFrame(light_frame);
    holder->SetPosition(nullptr, 0, 0, 4);
    const auto mesh = scene.runtime.CreateMeshBuilder();
    holder->AddVisual(mesh);

    const SceneSnapshot s = scene.viewport->snapshot(*scene.root);
    EXPECT_NEAR(s.lighting.ambient.red, 0.3f, 1e-6f);
    EXPECT_NEAR(s.lighting.ambient.green, 0.1f, 1e-6f);
    ASSERT_EQ(s.lighting.directional.size(), 1u);
    expect_near(s.lighting.directional[0].direction, {1, 0, 0});
    EXPECT_EQ(s.lighting.directional[0].color, (ColorRGB{0.9f, 0.8f, 0.7f}));
    ASSERT_EQ(s.items.size(), 1u);
    EXPECT_EQ(s.items[0].mesh, mesh.get());
    expect_near(s.items[0].world.origin, {4, 0, 0});
    expect_near(s.camera.origin, {0, 0, -10});
}

TEST(Viewport, SnapshotsDifferWheneverThePictureMay)
{
    CameraScene scene(100, 100);
    const auto frame = scene.runtime.CreateFrame(scene.root);
    const auto mesh = scene.runtime.CreateMeshBuilder();
    const auto face = scene.runtime.CreateFace();
    mesh->AddFace(face);
    frame->AddVisual(mesh);
    const struct {
        const char* name;
        std::function<void()> change;
    } changes[] = {
        {"nothing", [] {}},
        {"corner added", [&] { face->AddVertex(0, 0, 1); }},
        {"colour", [&] { face->SetColorRGB(1, 0, 0); }},
        {"face added", [&] { mesh->AddFace(scene.runtime.CreateFace()); }},
        {"frame turned", [&] { frame->SetOrientation(nullptr, 1, 0, 0, 0, 1, 0); }},
        {"frame moved", [&] { frame->SetPosition(nullptr, 0, 0, -5); }},
        {"camera moved", [&] { scene.camera->SetPosition(nullptr, 0, 0, -9); }},
        {"light added",
         [&] { frame->AddLight(scene.runtime.CreateLightRGB(LightType::ambient, 1, 1, 1)); }},
        {"field", [&] { scene.viewport->SetField(0.02f); }},
        {"visual added", [&] { frame->AddVisual(scene.runtime.CreateMeshBuilder()); }},
    };
    for (const auto& c : changes) {
        const SceneSnapshot before = scene.viewport->snapshot(*scene.root);
        c.change();
        const bool same = before == scene.viewport->snapshot(*scene.root);
        EXPECT_EQ(same, std::string(c.name) == "nothing") << c.name;
    }
}

TEST(Viewport, FieldAndClippingPlanesRefuseUnusableValues)
{
    CameraScene scene(100, 100);
    for (const float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity()}) {
        scene.viewport->SetField(bad);
        EXPECT_EQ(scene.viewport->field(), 0.01f);
    }
    scene.viewport->SetFront(6000);
    EXPECT_EQ(scene.viewport->front(), k_default_front_clip);
    scene.viewport->SetBack(0.5f);
    EXPECT_EQ(scene.viewport->back(), 5000);
}

} // namespace
} // namespace facetor
