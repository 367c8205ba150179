// facetor-cli over the largest model the editor holds: `check` beside the
// reader benchmark it must keep up with, and the glTF export without
// textures.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/max_model.h"
#include "cli/cli.h"
#include "gltf/export.h"
#include "model/reader.h"

namespace {

using namespace facetor;

using bench::MaxModelFile;

const MaxModelFile& max_model_file()
{
    static const MaxModelFile file;
    return file;
}

// `check` of one file, beside BM_Read_MaxModel: like it, and like `check`
// over many files, it loads into a model that is already there.
void BM_Check_MaxModel(benchmark::State& state)
{
    const MaxModelFile& file = max_model_file();
    const std::vector<std::string> files = {file.path()};
    auto model = make_model();
    std::istringstream no_input; // no file is "-"
    for (auto _ : state) {
        std::ostringstream out;
        if (check_files(files, *model, out, no_input) != k_exit_ok) {
            state.SkipWithError("the largest model does not load");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_Check_MaxModel)->Unit(benchmark::kMillisecond);

// The whole command for one file, as a shell runs it: the model is made
// (and zeroed) for it.
void BM_CheckCommand_MaxModel(benchmark::State& state)
{
    const std::vector<std::string> args = {"check", max_model_file().path()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (run_cli(args, out, err) != k_exit_ok) {
            state.SkipWithError("the largest model does not load");
            break;
        }
    }
}
BENCHMARK(BM_CheckCommand_MaxModel)->Unit(benchmark::kMillisecond);

// From the loaded model to the bytes of the .glb, in memory.
void BM_ExportGlb_MaxModel(benchmark::State& state)
{
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_file(max_model_file().path(), *model, reader, progress);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        export_gltf(*model, {}, out);
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["glb_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportGlb_MaxModel)->Unit(benchmark::kMillisecond);

} // namespace
