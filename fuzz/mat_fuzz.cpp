// Feeds arbitrary bytes to the MAT readers: the picker's preview, which
// keeps its header and texel variables from one input to the next as the
// editor does, and the whole-texture decoder. Every input must end in a
// picture or a runtime error, reading nothing outside the data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/errors.h"
#include "textures/mat.h"
#include "textures/picker.h"

namespace {

class NoWindow final : public facetor::PickerWindow {
  public:
    int selected_index() const override { return 0; }
    std::optional<std::string> choose_file() override { return std::nullopt; }
    void texts_changed() override {}
    void preview_changed(int, int) override {}
};

facetor::Palette grey_palette()
{
    facetor::Palette p{};
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        p[i] = {v, v, v};
    }
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static facetor::MatPicker picker("", "");
    static const facetor::Palette palette = grey_palette();
    NoWindow window;
    facetor::Progress progress;
    const facetor::MemoryBinary mat({reinterpret_cast<const char*>(data), size});
    // The data's first byte also serves as a start inside it, as an
    // archive entry's position would.
    const std::int64_t starts[] = {0, size > 0 ? data[0] : 0};
    for (const std::int64_t start : starts) {
        try {
            picker.show_mat(mat, start, window, progress);
        } catch (const facetor::RuntimeError&) {
            // No directory entry to name it after, or a bad colour index.
        }
        try {
            // Small sides keep each run fast; the clipping rule is the same.
            (void)facetor::decode_mat(mat, start, palette, 64);
        } catch (const facetor::RuntimeError&) {
        }
    }
    return 0;
}
