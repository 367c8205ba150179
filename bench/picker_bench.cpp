// The texture picker's preview of a texture at least as large as the
// picture: header, texels, the row-by-row repaints of the preview and of the
// progress bar. Arrowing through the list previews at every key repeat.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "textures/gob.h"
#include "textures/mat.h"
#include "textures/picker.h"

#ifdef FACETOR_PICKER_BENCH_GUI
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QWindow>
#include <memory>

#include "textures/qt/matpicker.h"
#endif

namespace facetor {
namespace {

constexpr std::int32_t k_side = 256; // one more than the picture: clipping included

std::string le32(std::int64_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8 & 0xFF),
            static_cast<char>(u >> 16 & 0xFF), static_cast<char>(u >> 24 & 0xFF)};
}

std::string texture(std::int32_t side)
{
    std::string m(static_cast<std::size_t>(k_texels_position), '\0');
    m.replace(8, 4, le32(1));
    m.replace(116, 4, le32(side));
    m.replace(120, 4, le32(side));
    for (std::int32_t i = 0; i < side * side; ++i) {
        m += static_cast<char>((i * 7 + i / side) & 0xFF);
    }
    return m;
}

// An archive of "mat\big.mat" (k_side square) and "mat\t64.mat" (64 square)
// with a palette of our own, written sparsely at the mapped fixed path
// under `folder`.
void write_archive(const std::filesystem::path& folder)
{
    const std::filesystem::path path = folder / "d/gamedata/resource/res2.gob";
    std::filesystem::create_directories(path.parent_path());
    const std::string mats[] = {texture(k_side), texture(64)};
    const char* names[] = {"mat\\big.mat", "mat\\t64.mat"};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << std::string(12, 'B') << le32(2);
    std::int64_t at = 16 + 2 * 136;
    for (int i = 0; i < 2; ++i) {
        std::string name = names[i];
        name.resize(128, '\0');
        out << le32(at) << le32(static_cast<std::int64_t>(mats[i].size())) << name;
        at += static_cast<std::int64_t>(mats[i].size());
    }
    out << mats[0] << mats[1];
    out.seekp(k_palette_position);
    for (int i = 0; i < 256; ++i) {
        out << static_cast<char>(i) << static_cast<char>(255 - i) << static_cast<char>(i / 2);
    }
}

class NoWindow final : public PickerWindow {
  public:
    int selected_index() const override { return 0; }
    std::optional<std::string> choose_file() override { return std::nullopt; }
    void texts_changed() override {}
    void preview_changed(int, int) override {}
};

// The preview's own work, without a window: reading and colouring.
void BM_PickerPreviewCore_MaxTexture(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "picker_bench";
    write_archive(folder);
    const std::string archive = (folder / "d/gamedata/resource/res2.gob").string();
    MatPicker picker(archive, "");
    picker.load_archive();
    NoWindow window;
    Progress progress;
    for (auto _ : state) {
        const FileBinary file(archive);
        picker.show_mat(file, picker.directory().mats[0].offset, window, progress);
        benchmark::DoNotOptimize(picker.pixels());
    }
}
BENCHMARK(BM_PickerPreviewCore_MaxTexture)->Unit(benchmark::kMillisecond);

#ifdef FACETOR_PICKER_BENCH_GUI

// The picker as the editor shows it, with a progress bar that repaints at
// every change as the main window's does.
struct PickerSetup {
    int argc = 1;
    char name[13] = "picker_bench";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "picker_bench_gui";
    QWidget bar_window;
    QProgressBar* PB = new QProgressBar(&bar_window);
    Progress progress{[this](int v) {
        PB->setValue(v);
        PB->repaint();
    }};
    std::unique_ptr<type_model> model = make_model();
    std::string cur_material;
    std::string error;
    std::unique_ptr<Tmatpicker> picker;
    bool ready = false;

    PickerSetup()
    {
        write_archive(folder);
        std::filesystem::current_path(folder);
        PB->setRange(0, 100); // as the main window's bar
        PB->setTextVisible(false);
        PB->setGeometry(4, 4, 129, 9);
        bar_window.resize(140, 20);
        bar_window.show();
        picker = std::make_unique<Tmatpicker>(*model, progress, cur_material,
                                              [this](const HandlerBody& body) {
                                                  try {
                                                      body();
                                                  } catch (const std::exception& e) {
                                                      error = e.what();
                                                  }
                                              });
        picker->Button2Click();
        picker->show();
        ready = wait_exposed(bar_window) && wait_exposed(*picker);
    }

    static bool wait_exposed(QWidget& w)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            QApplication::processEvents();
            if (w.windowHandle() != nullptr && w.windowHandle()->isExposed()) {
                QApplication::processEvents();
                return true;
            }
        }
        return false;
    }
};

// Previews the archive entry that `material` names, as showing the picker
// for a face of that material does.
void preview_in_window(benchmark::State& state, const char* material)
{
    static PickerSetup setup;
    if (!setup.ready) {
        state.SkipWithError("no display");
        return;
    }
    setup.cur_material = material;
    for (auto _ : state) {
        setup.picker->FormShow();
        QApplication::processEvents(); // the labels and whatever else is pending
    }
    if (!setup.error.empty()) {
        state.SkipWithError(setup.error.c_str());
    }
    state.counters["bar"] = setup.progress.value();
}

void BM_PickerPreview_MaxTexture(benchmark::State& state)
{
    preview_in_window(state, "big.mat");
}
BENCHMARK(BM_PickerPreview_MaxTexture)->Unit(benchmark::kMillisecond);

// 64 rows: here the bar moves, and is repainted, after every row.
void BM_PickerPreview_Texture64(benchmark::State& state)
{
    preview_in_window(state, "t64.mat");
}
BENCHMARK(BM_PickerPreview_Texture64)->Unit(benchmark::kMillisecond);

#endif

} // namespace
} // namespace facetor
