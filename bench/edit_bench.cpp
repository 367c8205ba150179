// The edit history over the largest mesh: undo and redo of a drag that moved
// all 500 vertices, and deleting one vertex, the fields only (the window's
// redraw is measured apart).
#include <benchmark/benchmark.h>

#include <memory>

#include "editing/edit_history.h"
#include "editing/element_edits.h"
#include "max_model.h"
#include "model/reader.h"
#include "model/selection_set.h"
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

// Delete Vertex of one vertex of a full mesh (500 vertices, 500 faces of 10
// corners): the 10 faces that use it go with it and the 4,900 corners of
// the rest are renumbered. Only the command is timed; its undo puts the
// mesh back for the next one.
void BM_DeleteVertex_MaxMesh(benchmark::State& state)
{
    const bench::MaxModelFile file;
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_file(file.path(), *model, reader, progress);

    std::size_t faces_left = 0, step_bytes = 0;
    for (auto _ : state) {
        model->sel_mesh = 0;
        model->sel_vertex = 250;
        clear_selection(*model);
        EditOutcome outcome = delete_vertices(*model, vertex_mode);
        state.PauseTiming();
        faces_left = model->mesh(0).face_count;
        step_bytes = outcome.step.bytes();
        apply_before(*model, outcome.step);
        state.ResumeTiming();
    }
    state.counters["faces_left"] = static_cast<double>(faces_left);
    state.counters["step_bytes"] = static_cast<double>(step_bytes);
}
BENCHMARK(BM_DeleteVertex_MaxMesh)->Unit(benchmark::kMicrosecond);

} // namespace
