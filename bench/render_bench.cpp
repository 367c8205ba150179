// One redraw of an orthographic view holding the largest model geoset 0 can
// carry, against the same segments and squares drawn with QPainter, and
// against a bare integer line loop as the floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "model/model.h"
#include "views/render.h"

#if __has_include(<QtGui/QPainter>)
#include <QtGui/QImage>
#include <QtGui/QPainter>
#define FACETOR_BENCH_QPAINTER 1
#endif

namespace {

using namespace facetor;

constexpr int k_pane_width = 960;
constexpr int k_pane_height = 540;
constexpr int k_view = 2;
constexpr int k_pan_x = 480, k_pan_y = 270, k_zoom = 3200;

// Each mesh's 500 vertices sit on a jittered 25 x 20 grid over the whole pane;
// each face walks around a block of 4 x 1 (or 1 x 4) grid cells, 10 corners,
// so edges come out about 5 to 60 pixels long.
constexpr int k_grid_w = 25, k_grid_h = 20;
constexpr int k_spacing_x = 38, k_spacing_y = 27;

struct Scene {
    std::unique_ptr<type_model> model = make_model();
    ViewState state;
    ViewImages out;

    Scene()
    {
        std::mt19937 random(2024);
        std::uniform_int_distribution<int> jitter(-10, 10);
        std::uniform_int_distribution<int> coin(0, 1);
        type_model& m = *model;
        m.geosets[0].mesh_count = k_max_meshes;
        m.node_count = k_max_meshes;
        for (int mi = 0; mi < k_max_meshes; ++mi) {
            type_mesh& mesh = m.mesh(mi);
            mesh.vertex_count = k_max_vertices;
            for (int j = 0; j < k_max_vertices; ++j) {
                const int sx = 20 + (j % k_grid_w) * k_spacing_x + jitter(random);
                const int sy = 12 + (j / k_grid_w) * k_spacing_y + jitter(random);
                // View 2 shows -X to the right and +Y downwards.
                mesh.vertices[j].x = double(k_pan_x - sx) / k_zoom;
                mesh.vertices[j].y = double(sy - k_pan_y) / k_zoom;
                mesh.vertices[j].z = 0.001 * j;
            }
            mesh.face_count = k_max_faces;
            for (int f = 0; f < k_max_faces; ++f) {
                add_block_face(mesh.faces[f], random, coin(random) == 1);
            }
            type_hierarchy& node = m.nodes[mi];
            node.mesh = mi;
            node.parent = -1;
        }
        m.sel_mesh = 3;
        state.active_view = k_view;
        type_view& view = state.views[k_view];
        view.pan_x = k_pan_x;
        view.pan_y = k_pan_y;
        view.zoom = k_zoom;
        out.canvas.resize(k_pane_width, k_pane_height);
        out.images[k_view].resize(k_pane_width, k_pane_height);
        out.screen_width = 2 * k_pane_width;
        out.screen_height = 2 * k_pane_height;
    }

    static void add_block_face(type_faces& face, std::mt19937& random, bool wide)
    {
        const int long_side = 4;
        const int cols = wide ? long_side : 1;
        const int rows = wide ? 1 : long_side;
        std::uniform_int_distribution<int> col(0, k_grid_w - 1 - cols);
        std::uniform_int_distribution<int> row(0, k_grid_h - 1 - rows);
        const int c0 = col(random), r0 = row(random);
        std::vector<int> loop;
        for (int c = 0; c < cols; ++c)
            loop.push_back(r0 * k_grid_w + c0 + c);
        for (int r = 0; r < rows; ++r)
            loop.push_back((r0 + r) * k_grid_w + c0 + cols);
        for (int c = cols; c > 0; --c)
            loop.push_back((r0 + rows) * k_grid_w + c0 + c);
        for (int r = rows; r > 0; --r)
            loop.push_back((r0 + r) * k_grid_w + c0);
        face.corner_count = static_cast<long long>(loop.size());
        for (std::size_t k = 0; k < loop.size(); ++k) {
            face.corner_vertex[k + 1] = loop[k];
        }
    }
};

void count_work(benchmark::State& bench, const type_model& m);

void BM_Render_MaxModel(benchmark::State& bench)
{
    Scene scene;
    for (auto _ : bench) {
        Render(*scene.model, scene.state, mesh_mode, scene.out);
        benchmark::DoNotOptimize(scene.out.images[k_view].data());
        benchmark::ClobberMemory();
    }
    count_work(bench, *scene.model);
}
BENCHMARK(BM_Render_MaxModel)->Unit(benchmark::kMillisecond);

struct Segment {
    int x1, y1, x2, y2;
    std::uint32_t colour;
};

// The segments a Render of the scene draws, in drawing order.
std::vector<Segment> segments_of(const type_model& m)
{
    std::vector<Segment> segments;
    for (int mi = 0; mi < m.geosets[0].mesh_count; ++mi) {
        const type_mesh& mesh = m.mesh(mi);
        const std::uint32_t colour = mi == m.sel_mesh ? k_red : k_silver;
        for (int f = 0; f < mesh.face_count; ++f) {
            const type_faces& face = mesh.faces[f];
            const int n = face.corner_count;
            for (int k = 1; k <= n; ++k) {
                const type_vertex& a = mesh.vertices[face.corner_vertex[k]];
                const type_vertex& b = mesh.vertices[face.corner_vertex[k == n ? 1 : k + 1]];
                segments.push_back({a.screen_x[k_view], a.screen_y[k_view], b.screen_x[k_view],
                                    b.screen_y[k_view], colour});
            }
        }
    }
    return segments;
}

// Segments and line pixels per picture, to compare the scene with others.
void count_work(benchmark::State& bench, const type_model& m)
{
    double pixels = 0, shortest = 1e9, longest = 0;
    const std::vector<Segment> segments = segments_of(m);
    for (const Segment& s : segments) {
        const double length = std::max(std::abs(s.x1 - s.x2), std::abs(s.y1 - s.y2));
        pixels += length;
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    bench.counters["segments"] = static_cast<double>(segments.size());
    bench.counters["line_pixels"] = pixels;
    bench.counters["shortest"] = shortest;
    bench.counters["longest"] = longest;
}

// The floor to compare with: the textbook integer Bresenham, one pixel per
// step, no clipping, over the same segments into a buffer of the same size.
void BM_BareBresenham_MaxModel(benchmark::State& bench)
{
    Scene scene;
    Render(*scene.model, scene.state, mesh_mode, scene.out);
    const std::vector<Segment> segments = segments_of(*scene.model);
    std::vector<std::uint32_t> buffer(std::size_t{k_pane_width} * k_pane_height);
    for (auto _ : bench) {
        for (const Segment& s : segments) {
            const int dx = std::abs(s.x2 - s.x1), dy = std::abs(s.y2 - s.y1);
            const int sx = s.x2 < s.x1 ? -1 : 1, sy = s.y2 < s.y1 ? -k_pane_width : k_pane_width;
            const bool x_major = dx >= dy;
            const int major = x_major ? dx : dy, minor = x_major ? dy : dx;
            const int step_a = x_major ? sx : sy, step_b = x_major ? sy : sx;
            int d = 2 * minor - major;
            std::uint32_t* p = buffer.data() + s.y1 * k_pane_width + s.x1;
            for (int i = 0; i < major; ++i) {
                *p = s.colour;
                if (d > 0) {
                    p += step_b;
                    d -= 2 * major;
                }
                d += 2 * minor;
                p += step_a;
            }
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BareBresenham_MaxModel)->Unit(benchmark::kMillisecond);

#ifdef FACETOR_BENCH_QPAINTER
// The same picture through QPainter: the positions come from one Render, so
// both draw exactly the same segments and squares in the same colours.
void BM_QPainter_MaxModel(benchmark::State& bench)
{
    Scene scene;
    Render(*scene.model, scene.state, mesh_mode, scene.out);
    const type_model& m = *scene.model;
    QImage image(k_pane_width, k_pane_height, QImage::Format_RGB32);
    const QColor silver(192, 192, 192), white(255, 255, 255), red(255, 0, 0);
    for (auto _ : bench) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(0, 0, k_pane_width, k_pane_height, Qt::black);
        for (int mi = 0; mi < m.geosets[0].mesh_count; ++mi) {
            const type_mesh& mesh = m.mesh(mi);
            QPen pen(mi == m.sel_mesh ? red : silver);
            pen.setWidth(0); // cosmetic, 1 pixel
            painter.setPen(pen);
            for (int f = 0; f < mesh.face_count; ++f) {
                const type_faces& face = mesh.faces[f];
                const int n = face.corner_count;
                for (int k = 1; k <= n; ++k) {
                    const type_vertex& a = mesh.vertices[face.corner_vertex[k]];
                    const type_vertex& b = mesh.vertices[face.corner_vertex[k == n ? 1 : k + 1]];
                    painter.drawLine(a.screen_x[k_view], a.screen_y[k_view], b.screen_x[k_view],
                                     b.screen_y[k_view]);
                }
            }
        }
        for (int mi = 0; mi < m.geosets[0].mesh_count; ++mi) {
            const type_mesh& mesh = m.mesh(mi);
            const QColor colour = mi == m.sel_mesh ? red : white;
            for (int j = 0; j < mesh.vertex_count; ++j) {
                const type_vertex& v = mesh.vertices[j];
                painter.fillRect(v.screen_x[k_view] - 1, v.screen_y[k_view] - 1, 3, 3, colour);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_QPainter_MaxModel)->Unit(benchmark::kMillisecond);
#endif

} // namespace
