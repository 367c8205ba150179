#pragma once
// The rules of the texture picker without its window: what creation reads,
// which entry a face's material preselects, and how a preview reads a MAT
// and paints it into a 255 x 255 picture, row by row, while it drives the
// progress bar. The window (qt/matpicker.h) only shows the results.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/model.h"
#include "model/progress.h"
#include "textures/fixed_paths.h"
#include "textures/gob.h"
#include "textures/mat.h"

namespace facetor {

// What the picker's rules need from its window.
class PickerWindow {
  public:
    virtual ~PickerWindow() = default;
    // The list's selected index; -1 when no item is selected.
    virtual int selected_index() const = 0;
    // Runs the file dialog: the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> choose_file() = 0;
    // The name or size texts changed; show them.
    virtual void texts_changed() = 0;
    // Rows first_row .. first_row + row_count - 1 of the preview changed;
    // show them now, since a preview blocks the event loop.
    virtual void preview_changed(int first_row, int row_count) = 0;
};

class MatPicker {
  public:
    static constexpr int k_side = 255;                   // the preview is k_side square
    static constexpr std::uint32_t k_white = 0xFFFFFFFF; // pixels are 0xFFRRGGBB

    // The paths are read relative to the current directory when used.
    explicit MatPicker(std::string archive_path = map_fixed_path(k_archive_path),
                       std::string fallback_path = map_fixed_path(k_fallback_mat_path));

    // Creation: reads the palette, then the directory, from the archive.
    // Raises FileError or RangeError. The directory keeps what was read
    // before the error (2001 entries when a 2002nd ends it), and the
    // preselection on show still looks through them, while the window's
    // list, filled only after a whole read, stays empty.
    void load_archive();

    const Palette& palette() const { return palette_; }
    const MatDirectory& directory() const { return directory_; }

    // 1: a preview shows the entry selected in the list; 0: a file from the dialog.
    std::uint8_t from_list() const { return from_list_; }
    void set_from_list(std::uint8_t value) { from_list_ = value; }

    // The entry to preselect for `cur_material` (see find_material), or -1.
    // Finding one sets from_list to 1, since its preview comes from the list.
    int preselect(std::string_view cur_material);

    // Previews the selected entry (from_list 1) or a loose file: the chosen
    // one, or the fixed fallback when the dialog is cancelled. The bar goes
    // to 0 first; a solid colour fills the picture and puts the bar at 100;
    // a texture is drawn on white, its top-left 255 x 255 texels at most,
    // adding 100 div height to the bar after each row (the bar stops at 100
    // and is set only when that moves it). The name shown is the
    // selected entry's, also for a loose file: with no entry selected that
    // step raises RangeError. Other errors: FileError (nothing opened) and
    // RangeError (a solid colour's index outside 0..255, nothing filled).
    void preview(PickerWindow& window, Progress& progress);

    // The file the last load_archive or preview opened or tried to open,
    // for an error to name.
    const std::string& file_read() const { return file_read_; }

    // Lname, Lsizex, Lsizey: empty until a preview sets them.
    const std::string& name_text() const { return name_text_; }
    const std::string& width_text() const { return width_text_; }
    const std::string& height_text() const { return height_text_; }

    // The picture: k_side rows of k_side pixels, white at first.
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t pixel(int x, int y) const
    {
        return pixels_[static_cast<std::size_t>(y) * k_side + static_cast<std::size_t>(x)];
    }

    // The rest of a preview once its source is open: reads the MAT at
    // `start` of `source` and shows it.
    void show_mat(const BinarySource& source, std::int64_t start, PickerWindow& window,
                  Progress& progress);

  private:
    void draw_texture(const BinarySource& source, std::int64_t start, PickerWindow& window,
                      Progress& progress);
    void show_selected_name(PickerWindow& window);

    std::string archive_path_;
    std::string fallback_path_;
    std::string file_read_;
    Palette palette_{};
    MatDirectory directory_;
    std::uint8_t from_list_ = 0;
    // The header and texel variables live as long as the picker: a short
    // file shows what the previous one left in them.
    MatHeader header_;
    std::uint8_t last_texel_ = 0;
    std::string name_text_, width_text_, height_text_;
    std::array<std::uint32_t, static_cast<std::size_t>(k_side) * k_side> pixels_;
};

// Ok: the shown name becomes the material of the selected face.
void store_face_material(type_model& model, const std::string& name);

} // namespace facetor
