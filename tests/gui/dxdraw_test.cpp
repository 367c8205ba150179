// The 3D view on its own: what the scene looks like on screen, the mouse,
// size changes, and a display without OpenGL.
#include <QMouseEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

#include "model/model.h"
#include "preview3d/qt/dxdraw.h"
#include "preview3d/qt/dxdraw_renderer.h"
#include "preview3d/qt/gl_scene_renderer.h"

namespace facetor {
namespace {

constexpr int k_size = 200;
constexpr const char* k_child_flag = "FACETOR_DXDRAW_NO_GL_CHILD";

// One node carrying mesh 0, one square face of half-width `half` in the
// model's x-z plane (or x-y plane) around (cx, cy, cz).
std::unique_ptr<type_model> square_model(double cx, double cy, double cz, double half,
                                         bool in_xy_plane = false)
{
    auto model = make_model();
    model->geosets[0].mesh_count = 1;
    type_mesh& mesh = model->mesh(0);
    const double corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    mesh.vertex_count = 4;
    for (int v = 0; v < 4; ++v) {
        mesh.vertices[v].x = cx + corners[v][0];
        mesh.vertices[v].y = cy + (in_xy_plane ? corners[v][1] : 0);
        mesh.vertices[v].z = cz + (in_xy_plane ? 0 : corners[v][1]);
    }
    mesh.face_count = 1;
    mesh.faces[0].corner_count = 4;
    for (int k = 1; k <= 4; ++k) {
        mesh.faces[0].corner_vertex[k] = k - 1;
    }
    model->node_count = 1;
    model->nodes[0].mesh = 0;
    return model;
}

// The bounds of everything brighter than the background.
struct Lit {
    QRect bounds;
    int brightest = 0;
};

Lit lit_area(const QImage& image)
{
    Lit lit;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int level = std::max({qRed(p), qGreen(p), qBlue(p)});
            lit.brightest = std::max(lit.brightest, level);
            if (level > 40) {
                lit.bounds = lit.bounds.united(QRect(x, y, 1, 1));
            }
        }
    }
    return lit;
}

class DXDrawView : public ::testing::Test {
  protected:
    void SetUp() override
    {
        window_.resize(k_size + 20, k_size + 20);
        view_ = new DXDraw([this](const HandlerBody& body) { run_guarded(body); }, &window_);
        view_->setGeometry(10, 10, k_size, k_size);
    }

    void show()
    {
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void load(type_model& model)
    {
        view_->DXDrawInitialize(model);
        view_->D3DRMRender();
    }

    QImage picture() { return view_->grabFramebuffer(); }

    // The main window's guard, minus the box: errors are collected.
    void run_guarded(const HandlerBody& body)
    {
        try {
            body();
        } catch (const std::exception& e) {
            errors_.push_back(e.what());
        }
    }

    std::vector<std::string> errors_;
    QWidget window_;
    DXDraw* view_ = nullptr;
};

TEST_F(DXDrawView, ModelAxesLandWhereTheCameraLooks)
{
    const struct {
        const char* name;
        double x, y, z;
        QPoint centre; // 0.05 units at 10 units with field 0.01 is half the half-width
    } cases[] = {
        {"model +x is right of the centre", 0.05, 0, 0, {150, 100}},
        {"model +z is above it", 0, 0, 0.05, {100, 50}},
        {"model -x is left", -0.05, 0, 0, {50, 100}},
        {"model +y is at the centre, nearer", 0, 0.05, 0, {100, 100}},
    };
    show();
    for (const auto& c : cases) {
        const auto model = square_model(c.x, c.y, c.z, 0.01);
        load(*model);
        const Lit lit = lit_area(picture());
        ASSERT_FALSE(lit.bounds.isEmpty()) << c.name;
        EXPECT_NEAR(lit.bounds.center().x(), c.centre.x(), 2) << c.name;
        EXPECT_NEAR(lit.bounds.center().y(), c.centre.y(), 2) << c.name;
        // Facing the light straight on: ambient plus directional is full white.
        EXPECT_GE(lit.brightest, 250) << c.name;
    }
}

// Moving the view into another window replaces its OpenGL context: the scene
// must come back on the new surface, not a black pane.
TEST_F(DXDrawView, AViewMovedToAnotherWindowShowsItsSceneAgain)
{
    show();
    const auto model = square_model(0, 0, 0, 0.02);
    load(*model);
    ASSERT_NEAR(lit_area(picture()).bounds.width(), 40, 2);

    QWidget other;
    other.resize(k_size + 20, k_size + 20);
    view_->setParent(&other);
    view_->setGeometry(10, 10, k_size, k_size);
    view_->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    const Lit lit = lit_area(picture());
    EXPECT_NEAR(lit.bounds.width(), 40, 2);
    EXPECT_GE(lit.brightest, 250);
    EXPECT_TRUE(errors_.empty());
    view_->setParent(&window_); // the fixture owns it
}

TEST_F(DXDrawView, MouseErrorsGoToTheGuardAndTheViewGoesOn)
{
    show();
    view_->mouse_state().view3d_angle_x = 2147483647;
    QTest::mousePress(view_, Qt::LeftButton, Qt::NoModifier, {40, 40});
    QTest::mouseMove(view_, {40, 39});
    QTest::mouseRelease(view_, Qt::LeftButton, Qt::NoModifier, {40, 39});
    EXPECT_EQ(errors_, std::vector<std::string>{"Integer overflow"});
    EXPECT_EQ(view_->mouse_state().view3d_mode, view3d_idle);
}

TEST_F(DXDrawView, NodesWithoutMeshesShowOnlyTheBackground)
{
    show();
    auto model = square_model(0, 0, 0, 0.05);
    model->nodes[0].mesh = -1;
    load(*model);
    const QImage image = picture();
    ASSERT_EQ(image.width(), k_size);
    EXPECT_TRUE(lit_area(image).bounds.isEmpty());
    EXPECT_EQ(lit_area(image).brightest, 0);
}

TEST_F(DXDrawView, ShiftDragDownFiveBringsTheModelToTwiceTheSize)
{
    show();
    const auto model = square_model(0, 0, 0, 0.02);
    load(*model);
    const QRect before = lit_area(picture()).bounds;
    EXPECT_NEAR(before.width(), 40, 2);

    QSignalSpy depth(view_, &DXDraw::depth_changed);
    QTest::mousePress(view_, Qt::LeftButton, Qt::ShiftModifier, {100, 100});
    // Letting Shift go during the movement keeps depth mode.
    QTest::mouseMove(view_, {100, 103});
    QTest::mouseMove(view_, {100, 105});
    QTest::mouseRelease(view_, Qt::LeftButton, Qt::NoModifier, {100, 105});

    ASSERT_EQ(depth.count(), 2);
    EXPECT_EQ(depth.last().at(0).toInt(), -5);
    EXPECT_EQ(view_->mouse_state().view3d_depth, -5);
    const QRect after = lit_area(picture()).bounds;
    EXPECT_NEAR(after.width(), 80, 3);
    EXPECT_NEAR(after.center().x(), 100, 2);
}

TEST_F(DXDrawView, TurningUpNinetyShowsAFaceThatWasEdgeOn)
{
    show();
    // A face in the model's x-y plane is seen edge-on from the start.
    const auto model = square_model(0, 0, 0, 0.03, true);
    load(*model);
    EXPECT_LT(lit_area(picture()).bounds.height(), 3);

    QTest::mousePress(view_, Qt::LeftButton, Qt::NoModifier, {100, 150});
    QTest::mouseMove(view_, {100, 60});
    QTest::mouseRelease(view_, Qt::LeftButton, Qt::NoModifier, {100, 60});

    EXPECT_EQ(view_->mouse_state().view3d_angle_x, 90);
    const Lit lit = lit_area(picture());
    EXPECT_NEAR(lit.bounds.width(), 60, 3);
    EXPECT_NEAR(lit.bounds.height(), 60, 3);
    EXPECT_GE(lit.brightest, 250); // its other side, lit all the same
}

TEST_F(DXDrawView, SizeChangeStartsBlackUntilTheNextRenderOrRepaint)
{
    const struct {
        const char* name;
        void (*redraw)(DXDraw&);
    } cases[] = {
        {"render", [](DXDraw& v) { v.D3DRMRender(); }},
        {"main window repaint", [](DXDraw& v) { v.repaint_scene(); }},
    };
    show();
    const auto model = square_model(0, 0, 0, 0.02);
    for (const auto& c : cases) {
        view_->resize(k_size, k_size);
        load(*model);
        ASSERT_FALSE(lit_area(picture()).bounds.isEmpty()) << c.name;

        view_->resize(160, 120);
        EXPECT_TRUE(lit_area(picture()).bounds.isEmpty()) << c.name;

        c.redraw(*view_);
        const QRect shown = lit_area(picture()).bounds;
        EXPECT_NEAR(shown.center().x(), 80, 2) << c.name;
        EXPECT_NEAR(shown.center().y(), 60, 2) << c.name;
        // The field of the build stays: 0.02 units is a third of 60 pixels.
        EXPECT_NEAR(shown.width(), 24, 2) << c.name;
    }
}

TEST_F(DXDrawView, SceneBuiltBeforeTheFirstShowAppearsWithIt)
{
    const auto model = square_model(0.05, 0, 0, 0.01);
    load(*model); // no OpenGL context of its own yet
    show();
    const Lit lit = lit_area(picture());
    ASSERT_FALSE(lit.bounds.isEmpty());
    EXPECT_NEAR(lit.bounds.center().x(), 150, 2);
}

TEST_F(DXDrawView, RepaintOfAnUnchangedSceneKeepsThePictureWithoutDrawingIt)
{
    show();
    const auto model = square_model(0, 0, 0, 0.02);
    load(*model);
    const QImage shown = picture();
    const int drawn = view_->renderer().surface()->pictures_drawn();

    view_->repaint_scene();
    view_->D3DRMRender();
    EXPECT_EQ(view_->renderer().surface()->pictures_drawn(), drawn);
    EXPECT_EQ(picture(), shown);

    QTest::mousePress(view_, Qt::LeftButton, Qt::NoModifier, {100, 100});
    QTest::mouseMove(view_, {101, 100});
    QTest::mouseRelease(view_, Qt::LeftButton, Qt::NoModifier, {101, 100});
    EXPECT_EQ(view_->renderer().surface()->pictures_drawn(), drawn + 1);
}

TEST_F(DXDrawView, FinalisedViewDrawsNothing)
{
    show();
    const auto model = square_model(0, 0, 0, 0.02);
    load(*model);
    view_->finalize();
    EXPECT_TRUE(lit_area(picture()).bounds.isEmpty());
    view_->repaint_scene(); // nothing to draw with any more
    view_->D3DRMRender();
    EXPECT_TRUE(lit_area(picture()).bounds.isEmpty());
}

TEST_F(DXDrawView, ClickIsALeftPressAndReleaseInside)
{
    const struct {
        const char* name;
        Qt::MouseButton button;
        QPoint release;
        int clicks;
    } cases[] = {
        {"inside", Qt::LeftButton, {50, 50}, 1},
        {"released outside", Qt::LeftButton, {k_size + 5, 50}, 0},
        {"right button", Qt::RightButton, {50, 50}, 0},
    };
    show();
    for (const auto& c : cases) {
        QSignalSpy clicked(view_, &DXDraw::clicked);
        QTest::mousePress(view_, c.button, Qt::NoModifier, {40, 40});
        QTest::mouseRelease(view_, c.button, Qt::NoModifier, c.release);
        EXPECT_EQ(clicked.count(), c.clicks) << c.name;
        // Every button turns; the release ends it.
        EXPECT_EQ(view_->mouse_state().view3d_mode, view3d_idle) << c.name;
    }
}

// Runs in a second copy of this program whose display offers no OpenGL.
TEST(DXDrawWithoutOpenGL, EveryBuildReportsNoDeviceAndTheViewStaysQuiet)
{
    if (qEnvironmentVariableIsEmpty(k_child_flag)) {
        GTEST_SKIP() << "runs inside DisplaysWithoutOpenGLReportDeviceNotFound";
    }
    QWidget window;
    window.resize(k_size, k_size);
    auto* view = new DXDraw([](const HandlerBody& body) { body(); }, &window);
    view->setGeometry(0, 0, k_size, k_size);
    const auto model = square_model(0, 0, 0, 0.02);
    EXPECT_FALSE(view->has_opengl());

    for (int build = 0; build < 2; ++build) {
        try {
            view->DXDrawInitialize(*model);
            FAIL() << "built without OpenGL";
        } catch (const RuntimeError& error) {
            EXPECT_STREQ(error.what(), "3D device not found");
        }
        view->D3DRMRender();
        if (build == 0) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
    }
    EXPECT_EQ(model->mesh(0).face3d[0], nullptr);

    QSignalSpy depth(view, &DXDraw::depth_changed);
    QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, {10, 10});
    QTest::mouseMove(view, {10, 12});
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, {10, 12});
    EXPECT_EQ(depth.count(), 1);
    view->repaint_scene();
    EXPECT_EQ(lit_area(view->grabFramebuffer()).brightest, 0);
    view->finalize();
}

TEST(DXDrawWithoutOpenGL, DisplaysWithoutOpenGLReportDeviceNotFound)
{
    if (!qEnvironmentVariableIsEmpty(k_child_flag)) {
        GTEST_SKIP();
    }
    const struct {
        const char* platform;
        const char* gl_integration;
    } cases[] = {
        {"xcb", "none"},   // an X display whose OpenGL is switched off
        {"offscreen", ""}, // contexts, perhaps, but no OpenGL in widgets
    };
    for (const auto& c : cases) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(k_child_flag, "1");
        env.insert("QT_QPA_PLATFORM", c.platform);
        env.insert("QT_XCB_GL_INTEGRATION", c.gl_integration);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=DXDrawWithoutOpenGL.EveryBuild*"});
        ASSERT_TRUE(child.waitForFinished(60000)) << c.platform;
        const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << c.platform << "\n" << output;
        EXPECT_EQ(child.exitCode(), 0) << c.platform << "\n" << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << c.platform;
    }
}

} // namespace
} // namespace facetor
