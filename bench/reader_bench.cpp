// Reader throughput over the largest model the editor holds, read from a
// file so that the block reads are measured too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "max_model.h"
#include "model/dump.h"
#include "model/reader.h"
#include "model/writer.h"

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

// Counts what it is given and keeps nothing: the text's making is measured,
// not a disk.
class CountingBuffer final : public std::streambuf {
  public:
    std::int64_t count = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        count += n;
        return n;
    }
    int_type overflow(int_type c) override
    {
        ++count;
        return traits_type::not_eof(c);
    }
};

const type_model& loaded_max_model()
{
    static const auto model = [] {
        const MaxModelFile file;
        auto m = make_model();
        ReaderState reader;
        Progress progress;
        read_3do_file(file.path(), *m, reader, progress);
        return m;
    }();
    return *model;
}

// The dump of the largest model, every line of it.
void BM_Dump_MaxModel(benchmark::State& state)
{
    const type_model& model = loaded_max_model();
    CountingBuffer buffer;
    std::ostream out(&buffer);
    for (auto _ : state) {
        dump_model(model, out);
    }
    state.SetBytesProcessed(buffer.count);
}
BENCHMARK(BM_Dump_MaxModel)->Unit(benchmark::kMillisecond);

// The 3DO text of the largest model, as `format` writes it.
void BM_Format_MaxModel(benchmark::State& state)
{
    const type_model& model = loaded_max_model();
    CountingBuffer buffer;
    std::ostream out(&buffer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(write_3do(model, out));
    }
    state.SetBytesProcessed(buffer.count);
}
BENCHMARK(BM_Format_MaxModel)->Unit(benchmark::kMillisecond);

// Save: the largest model written to a file as the editor saves it (a
// temporary file beside it, then a rename), to compare with the read.
void BM_Save_MaxModel(benchmark::State& state)
{
    const type_model& model = loaded_max_model();
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("facetor_saved_" + std::to_string(::getpid()) + ".3do");
    for (auto _ : state) {
        benchmark::DoNotOptimize(write_3do_file(model, path.string()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_Save_MaxModel)->Unit(benchmark::kMillisecond);

} // namespace
