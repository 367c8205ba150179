// The 3D scene over the largest model: 35 nodes, each carrying a mesh of 500
// faces of 10 corners. The build is plain C++; the render and the turn step
// draw with OpenGL in an off-screen context (with the GUI build).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "model/model.h"
#include "preview3d/scene_build.h"
#include "preview3d/view3d.h"
#include "preview3d/view3d_mouse.h"

#ifdef FACETOR_SCENE_BENCH_GL
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "preview3d/qt/gl_scene_renderer.h"
#endif

namespace facetor {
namespace {

constexpr int k_decagons = k_max_vertices / k_max_corners; // 50 per mesh

// Every mesh: 50 small decagons spread over the field of view, each face one
// of them starting at a different corner; nodes placed apart so that the
// picture fills the view.
std::unique_ptr<type_model> max_model()
{
    auto model = make_model();
    model->geosets[0].mesh_count = k_max_meshes;
    for (int m = 0; m < k_max_meshes; ++m) {
        type_mesh& mesh = model->mesh(m);
        mesh.vertex_count = k_max_vertices;
        for (int d = 0; d < k_decagons; ++d) {
            const double cx = 0.012 * (d % 10) - 0.054;
            const double cz = 0.012 * (d / 10) - 0.024;
            for (int k = 0; k < k_max_corners; ++k) {
                const double a = 2 * 3.141592653589793 * k / k_max_corners;
                type_vertex& v = mesh.vertices[d * k_max_corners + k];
                v.x = cx + 0.005 * std::cos(a);
                v.y = 0.001 * m;
                v.z = cz + 0.005 * std::sin(a);
            }
        }
        mesh.face_count = k_max_faces;
        for (int f = 0; f < k_max_faces; ++f) {
            type_faces& face = mesh.faces[f];
            face.corner_count = k_max_corners;
            const int d = f % k_decagons;
            const int start = f / k_decagons;
            for (int k = 1; k <= k_max_corners; ++k) {
                face.corner_vertex[k] = d * k_max_corners + (start + k) % k_max_corners;
            }
        }
    }
    model->node_count = k_max_nodes;
    for (int n = 0; n < k_max_nodes; ++n) {
        type_hierarchy& node = model->nodes[n];
        node.mesh = n % k_max_meshes;
        node.world_x = 0.004 * (n % 7) - 0.012;
        node.world_z = 0.006 * (n / 7) - 0.012;
    }
    return model;
}

class NullBackend final : public RenderBackend {
  public:
    void clear() override {}
    void draw(const SceneSnapshot&) override {}
    void update() override {}
};

class NullPlatform final : public View3DPlatform {
  public:
    std::unique_ptr<RenderBackend> create_device(int, int) override
    {
        return std::make_unique<NullBackend>();
    }
    int surface_width() const override { return 244; }
    int surface_height() const override { return 203; }
    bool hardware() const override { return true; }
    bool surface_ready() override { return true; }
    void flip() override {}
};

void BM_SceneBuild_MaxModel(benchmark::State& state)
{
    const auto model = max_model();
    NullPlatform platform;
    View3D view(platform);
    SceneFrames frames;
    for (auto _ : state) {
        build_scene(view, frames, *model);
        benchmark::DoNotOptimize(frames.model_frame.get());
    }
    state.counters["faces"] = static_cast<double>(frames.model_frame->visuals()[0]->faces().size());
}
BENCHMARK(BM_SceneBuild_MaxModel)->Unit(benchmark::kMillisecond);

#ifdef FACETOR_SCENE_BENCH_GL

// The OpenGL benchmarks count the CPU time of the whole process: a software
// renderer draws in threads of its own.

// One application and one current off-screen context for the whole run.
struct GlSetup {
    int argc = 1;
    char name[12] = "scene_bench";
    char* argv[2] = {name, nullptr};
    QGuiApplication app{argc, argv};
    QOffscreenSurface surface;
    QOpenGLContext context;
    bool ready = false;

    GlSetup()
    {
        surface.create();
        ready = context.create() && context.makeCurrent(&surface);
    }
};

GlSetup& gl_setup()
{
    static GlSetup setup;
    return setup;
}

class OffscreenPlatform final : public View3DPlatform {
  public:
    GlSceneRenderer* renderer = nullptr;

    std::unique_ptr<RenderBackend> create_device(int width, int height) override
    {
        auto backend = std::make_unique<GlSceneRenderer>(width, height);
        if (!backend->create_gl()) {
            throw RuntimeError(k_no_device_text);
        }
        renderer = backend.get();
        return backend;
    }
    int surface_width() const override { return 244; }
    int surface_height() const override { return 203; }
    bool hardware() const override { return false; }
    bool surface_ready() override { return true; }
    void flip() override {}
};

// The scene built and drawn once, so that its triangles are on the GPU.
struct RenderedScene {
    std::unique_ptr<type_model> model = max_model();
    OffscreenPlatform platform;
    View3D view{platform};
    SceneFrames frames;

    RenderedScene()
    {
        build_scene(view, frames, *model);
        view.render();
        QOpenGLContext::currentContext()->functions()->glFinish();
    }
};

void finish()
{
    QOpenGLContext::currentContext()->functions()->glFinish();
}

void BM_SceneFirstRender_MaxModel(benchmark::State& state)
{
    if (!gl_setup().ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const auto model = max_model();
    OffscreenPlatform platform;
    View3D view(platform);
    SceneFrames frames;
    for (auto _ : state) {
        state.PauseTiming();
        build_scene(view, frames, *model);
        finish();
        state.ResumeTiming();
        view.render();
        finish();
    }
}
BENCHMARK(BM_SceneFirstRender_MaxModel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_SceneRender_MaxModel(benchmark::State& state)
{
    if (!gl_setup().ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    RenderedScene scene;
    for (auto _ : state) {
        // The same scene again would not be drawn: make it.
        scene.platform.renderer->invalidate();
        scene.view.render();
        finish();
    }
}
BENCHMARK(BM_SceneRender_MaxModel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_TurnStep_MaxModel(benchmark::State& state)
{
    if (!gl_setup().ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    RenderedScene scene;
    const int uploads = scene.platform.renderer->geometry_uploads();
    View3DMouse mouse;
    press_view3d(mouse, false, 100, 100);
    int y = 100;
    for (auto _ : state) {
        y = y == 100 ? 99 : 100; // one pixel up, one down
        if (apply_view3d_step(move_view3d(mouse, 101, y), scene.frames, scene.view.root().get())) {
            scene.view.render();
        }
        finish();
    }
    if (scene.platform.renderer->geometry_uploads() != uploads) {
        state.SkipWithError("a turn sent the mesh to the GPU again");
    }
}
BENCHMARK(BM_TurnStep_MaxModel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// What showing the 3D view as an image adds to each render: reading the
// picture of a pane of a maximised window on a full-HD screen back.
void BM_PictureReadback_Pane(benchmark::State& state)
{
    if (!gl_setup().ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    GlSceneRenderer renderer(877, 497);
    if (!renderer.create_gl()) {
        state.SkipWithError("no surface");
        return;
    }
    for (auto _ : state) {
        const QImage picture = renderer.read_picture();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PictureReadback_Pane)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

#endif

} // namespace
} // namespace facetor
