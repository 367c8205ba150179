// The glTF import over the largest export that an import reads: the
// maximum model's .glb with each mesh cut to 50 faces of 10 corners (400
// triangles; 35 nodes of them stay within the 16000 triangles), read, baked,
// split, checked and filled into a model: a whole import. The uncut export
// would now be refused before any of it is read. And the import of a hostile
// file, whose verdict must come before any of its elements is read.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "../tests/gltf/hostile_gltf.h"
#include "bench/max_model.h"
#include "gltf/export.h"
#include "gltf/import.h"
#include "model/reader.h"

namespace {

using namespace facetor;

std::string max_model_glb()
{
    const bench::MaxModelFile file;
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_file(file.path(), *model, reader, progress);
    for (type_mesh& mesh : model->geosets[0].meshes) {
        if (mesh.face_count > 50) {
            mesh.face_count = 50;
        }
    }
    std::ostringstream out;
    export_gltf(*model, {}, out);
    return std::move(out).str();
}

void BM_Import_MaxExport(benchmark::State& state)
{
    const std::string glb = max_model_glb();
    std::string verdict;
    for (auto _ : state) {
        try {
            ImportResult r = import_gltf_bytes(glb, ".", {});
            benchmark::DoNotOptimize(r.model.get());
            verdict = "fits";
        } catch (const ImportError& e) {
            verdict = e.what();
        }
    }
    state.SetLabel(verdict);
    state.counters["glb_bytes"] = static_cast<double>(glb.size());
}
BENCHMARK(BM_Import_MaxExport)->Unit(benchmark::kMillisecond);

// 614 bytes naming 2^24 positions five times over: refused in well under
// 10 ms, since nothing is read before the scene's bounds are checked.
void BM_Import_SparseBomb(benchmark::State& state)
{
    const std::string bomb = test::sparse_bomb_gltf();
    std::string verdict;
    for (auto _ : state) {
        try {
            ImportResult r = import_gltf_bytes(bomb, ".", {});
            benchmark::DoNotOptimize(r.model.get());
            verdict = "imported";
        } catch (const ImportError& e) {
            verdict = e.what();
        }
    }
    state.SetLabel(verdict);
    state.counters["file_bytes"] = static_cast<double>(bomb.size());
}
BENCHMARK(BM_Import_SparseBomb)->Unit(benchmark::kMillisecond);

} // namespace
