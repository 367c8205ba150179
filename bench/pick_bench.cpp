// A face pick over the largest geoset 0 the editor holds: 32 meshes of 500
// faces with 10 corners each, 160,000 edge tests. The faces are small
// decagons on a grid over a 960 x 540 view; the press lies between them, so
// the scan runs to the end while its ray crosses many decagons.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "model/model.h"
#include "views/picking.h"
#include "views/view_state.h"

namespace facetor {
namespace {

constexpr int k_columns = 40;
constexpr int k_rings_per_mesh = k_max_faces / k_max_corners; // 50 decagons, each face 10 times

std::unique_ptr<type_model> make_pick_model()
{
    auto model = make_model();
    model->geosets[0].mesh_count = k_max_meshes;
    for (int m = 0; m < k_max_meshes; ++m) {
        type_mesh& mesh = model->mesh(m);
        mesh.vertex_count = k_max_vertices;
        for (int v = 0; v < k_max_vertices; ++v) {
            const int ring = m * k_rings_per_mesh + v / k_max_corners;
            const double angle = (v % k_max_corners) * (2 * M_PI / k_max_corners);
            const int cx = 12 + 24 * (ring % k_columns);
            const int cy = 7 + 12 * (ring / k_columns);
            for (int view = 1; view <= k_view_count; ++view) {
                mesh.vertices[v].screen_x[view] =
                    cx + static_cast<int>(std::lround(5 * std::cos(angle)));
                mesh.vertices[v].screen_y[view] =
                    cy + static_cast<int>(std::lround(5 * std::sin(angle)));
            }
        }
        mesh.face_count = k_max_faces;
        for (int f = 0; f < k_max_faces; ++f) {
            type_faces& face = mesh.faces[f];
            face.corner_count = k_max_corners;
            for (int k = 1; k <= k_max_corners; ++k) {
                face.corner_vertex[k] = (f % k_rings_per_mesh) * k_max_corners + k - 1;
            }
        }
    }
    return model;
}

// Whether a press at (x, y) lies outside every face of geoset 0.
bool misses_everything(const type_model& model, int x, int y)
{
    for (int m = 0; m < k_max_meshes; ++m) {
        for (int f = 0; f < k_max_faces; ++f) {
            if (face_hit(model, m, f, 2, x, y)) {
                return false;
            }
        }
    }
    return true;
}

void BM_FacePick_MaxModel(benchmark::State& state)
{
    auto model = make_pick_model();
    // A ray through a corner counts both its edges. On this grid every
    // corner has an even x - y, so a press with an odd x - y between the
    // decagons misses them all; take the first such spot.
    int press_x = -1;
    int press_y = -1;
    for (int y = 0; y < 12 && press_x < 0; ++y) {
        for (int x = 0; x < 24 && press_x < 0; ++x) {
            if (misses_everything(*model, x, y)) {
                press_x = x;
                press_y = y;
            }
        }
    }
    if (press_x < 0) {
        state.SkipWithError("no press position outside every face");
        return;
    }
    PickState pick;
    for (auto _ : state) {
        mouse_move(pick, press_x, press_y);
        const bool taken = face_pick(pick, *model, 2, press_x, press_y);
        benchmark::DoNotOptimize(taken);
    }
    state.counters["edge_tests"] = k_max_meshes * k_max_faces * k_max_corners;
}
BENCHMARK(BM_FacePick_MaxModel)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace facetor
