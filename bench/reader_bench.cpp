// Reader throughput over the largest model the editor holds, read from a
// file so that the block reads are measured too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "max_model.h"
#include "model/reader.h"

namespace {

using namespace facetor;

class MaxModelFile {
  public:
    MaxModelFile()
        : path_(std::filesystem::temp_directory_path() /
                ("facetor_reader_bench_" + std::to_string(::getpid()) + ".3do"))
    {
        const std::string text = bench::make_max_model_text();
        size_ = text.size();
        std::ofstream(path_, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(size_));
    }
    ~MaxModelFile() { std::filesystem::remove(path_); }

    std::string path() const { return path_.string(); }
    std::size_t size() const { return size_; }

  private:
    std::filesystem::path path_;
    std::size_t size_ = 0;
};

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
