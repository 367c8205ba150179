// The edit history over the largest mesh: undo and redo of a drag that moved
// all 500 vertices, the fields only (the window's redraw is measured apart).
#include <benchmark/benchmark.h>

#include <memory>

#include "editing/edit_history.h"
#include "max_model.h"
#include "model/reader.h"
#include "views/picking.h"

namespace {

using namespace facetor;

void BM_UndoDrag_MaxMesh(benchmark::State& state)
{
    const bench::MaxModelFile file;
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_file(file.path(), *model, reader, progress);

    // A Mesh mode drag in view 2: every vertex moves in x and y.
    EditHistory history;
    StepRecorder drag(*model, "Move Mesh");
    for_each_dragged_vertex(*model, mesh_mode, [&](int v) {
        drag.record_vertex(*model, 0, v);
        model->mesh(0).vertices[v].x -= 0.01;
        model->mesh(0).vertices[v].y += 0.01;
    });
    history.record(std::move(drag).finish(*model));

    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(*model));
        benchmark::DoNotOptimize(history.redo(*model));
    }
    state.counters["step_bytes"] = static_cast<double>(history.bytes());
}
// One iteration is an undo and a redo.
BENCHMARK(BM_UndoDrag_MaxMesh)->Unit(benchmark::kMicrosecond);

} // namespace
