// Reader throughput over the largest model the editor holds, read from a
// file so that the block reads are measured too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "max_model.h"
#include "model/reader.h"

namespace {

using namespace facetor;

using bench::MaxModelFile;

void BM_Read_MaxModel(benchmark::State& state)
{
    static const MaxModelFile file;
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    for (auto _ : state) {
        read_3do_file(file.path(), *model, reader, progress);
        benchmark::DoNotOptimize(model->nodes[34].world_x);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_Read_MaxModel)->Unit(benchmark::kMillisecond);

} // namespace
