#include "textures/picker.h"

#include <algorithm>
#include <utility>

namespace facetor {

namespace {

std::uint32_t argb(const Rgb& c)
{
    return 0xFF000000u | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 |
           std::uint32_t{c.blue};
}

} // namespace

MatPicker::MatPicker(std::string archive_path, std::string fallback_path)
    : archive_path_(std::move(archive_path)), fallback_path_(std::move(fallback_path))
{
    pixels_.fill(k_white);
}

void MatPicker::load_archive()
{
    file_read_ = archive_path_;
    read_palette_file(archive_path_, palette_);
    read_directory_file(archive_path_, directory_);
}

int MatPicker::preselect(std::string_view cur_material)
{
    const int found = find_material(directory_, cur_material);
    if (found >= 0) {
        from_list_ = 1;
    }
    return found;
}

void MatPicker::preview(PickerWindow& window, Progress& progress)
{
    progress.set(0);
    if (from_list_ == 1) {
        file_read_ = archive_path_;
        const FileBinary archive(archive_path_);
        show_mat(archive, mat_entry(directory_, window.selected_index()).offset, window, progress);
    } else {
        const std::optional<std::string> chosen = window.choose_file();
        file_read_ = chosen ? *chosen : fallback_path_;
        const FileBinary file(file_read_);
        show_mat(file, 0, window, progress);
    }
}

void MatPicker::show_mat(const BinarySource& source, std::int64_t start, PickerWindow& window,
                         Progress& progress)
{
    read_mat_header(source, start, header_);
    if (header_.kind != 0) {
        draw_texture(source, start, window, progress);
        return;
    }
    pixels_.fill(argb(palette_colour(palette_, header_.colour_index)));
    window.preview_changed(0, k_side);
    show_selected_name(window);
    progress.set(100);
}

void MatPicker::draw_texture(const BinarySource& source, std::int64_t start, PickerWindow& window,
                             Progress& progress)
{
    const std::int32_t width = header_.width;
    const std::int32_t height = header_.height;
    width_text_ = std::to_string(width);
    height_text_ = std::to_string(height);
    window.texts_changed();
    pixels_.fill(k_white);
    window.preview_changed(0, k_side);

    // Rows and columns beyond the picture would be dropped: they are not
    // read, and the rows below it would add nothing to the bar, since a
    // height above 100 adds 0 per row.
    const int rows_shown = std::clamp(height, 0, k_side);
    const int columns_shown = std::clamp(width, 0, k_side);
    const int step = height > 0 ? 100 / height : 0;
    TexelRows texels(source, start, width, last_texel_);
    std::array<std::uint8_t, k_side> row{};
    for (int y = 0; y < rows_shown; ++y) {
        texels.read(y, columns_shown, row.data());
        std::uint32_t* out = pixels_.data() + static_cast<std::size_t>(y) * k_side;
        for (int x = 0; x < columns_shown; ++x) {
            out[x] = argb(palette_[row[static_cast<std::size_t>(x)]]);
        }
        // The bar is repainted only when it moves: at a height above 100 it
        // never does, and repainting an unchanged bar is what a preview of
        // a large texture would otherwise spend most of its time on.
        const int bar = std::min(progress.value() + step, 100);
        if (bar != progress.value()) {
            progress.set(bar);
        }
        window.preview_changed(y, 1);
    }
    texels.finish(height);
    show_selected_name(window);
}

void MatPicker::show_selected_name(PickerWindow& window)
{
    name_text_ = mat_entry(directory_, window.selected_index()).name + ".mat";
    window.texts_changed();
}

void store_face_material(type_model& model, const std::string& name)
{
    model.mesh(model.sel_mesh).faces[model.sel_face].face_material = name;
}

} // namespace facetor
