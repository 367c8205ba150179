// The picker's preview without a window: which texels it reads, what it
// keeps from one preview to the next, and where a missing selection stops it.
#include <gtest/gtest.h>

#include <string>

#include "model/errors.h"
#include "textures/archive_builder.h"
#include "textures/picker.h"

namespace facetor {
namespace {

class FakeWindow final : public PickerWindow {
  public:
    int selected_index() const override { return selected; }
    std::optional<std::string> choose_file() override { return std::nullopt; }
    void texts_changed() override {}
    void preview_changed(int, int row_count) override { rows_repainted += row_count; }

    int selected = 0;
    int rows_repainted = 0;
};

class CountingSource final : public BinarySource {
  public:
    explicit CountingSource(const BinarySource& inner) : inner_(inner) {}
    std::int64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override
    {
        asked += count;
        return inner_.read_at(pos, out, count);
    }
    mutable std::size_t asked = 0;

  private:
    const BinarySource& inner_;
};

// A picker whose directory and palette come from `archive`, read from a
// file that is gone afterwards: previews below feed it bytes directly.
MatPicker picker_over(const test::Archive& archive)
{
    const std::string path = testing::TempDir() + "preview_test.gob";
    archive.write(path);
    MatPicker picker(path, testing::TempDir() + "no_such.mat");
    picker.load_archive();
    std::remove(path.c_str());
    return picker;
}

TEST(Preview, LargeTextureReadsOnlyTheShownTexels)
{
    const test::Archive archive(test::Entries{{"m\\big.mat", test::pattern_mat(512, 512)}});
    MatPicker picker = picker_over(archive);
    FakeWindow window;
    int bar_changes = 0;
    Progress progress([&bar_changes](int) { ++bar_changes; });
    const CountingSource counted(archive);
    picker.show_mat(counted, archive.offset(0), window, progress);

    EXPECT_LE(counted.asked, 140u + 255 * 255 + 2);
    EXPECT_EQ(picker.pixel(254, 254), test::test_argb((254 + 16 * 254) & 0xFF));
    EXPECT_EQ(picker.pixel(3, 1), test::test_argb(19));
    EXPECT_EQ(window.rows_repainted, 255 + 255); // the white fill, then each row
    EXPECT_EQ(progress.value(), 0);
    EXPECT_EQ(bar_changes, 0); // 100 div 512 never moves the bar
    EXPECT_EQ(picker.width_text(), "512");
    EXPECT_EQ(picker.name_text(), "big.mat");
}

TEST(Preview, ShortFileShowsWhatThePreviousOneLeft)
{
    const test::Archive archive({{"m\\a.mat", test::pattern_mat(2, 2)}, {"m\\cut.mat", ""}});
    MatPicker picker = picker_over(archive);
    FakeWindow window;
    Progress progress;
    picker.show_mat(archive, archive.offset(0), window, progress);
    // A loose file that ends before its size fields.
    const std::string cut = test::texture_mat(9, 9, "").substr(0, 100);
    window.selected = 1;
    picker.show_mat(MemoryBinary(cut), 0, window, progress);
    // Size and texels of a.mat; its last texel, 17, in every shown pixel.
    EXPECT_EQ(picker.width_text(), "2");
    EXPECT_EQ(picker.pixel(0, 0), test::test_argb(17));
    EXPECT_EQ(picker.pixel(1, 1), test::test_argb(17));
    EXPECT_EQ(picker.pixel(2, 0), MatPicker::k_white);
    EXPECT_EQ(picker.name_text(), "cut.mat");
}

TEST(Preview, SolidColourFillsAndAnIndexOutOfRangeFillsNothing)
{
    const test::Archive archive(
        {{"m\\red.mat", test::solid_mat(9)}, {"m\\bad.mat", test::solid_mat(256)}});
    MatPicker picker = picker_over(archive);
    FakeWindow window;
    Progress progress;
    picker.show_mat(archive, archive.offset(0), window, progress);
    EXPECT_EQ(picker.pixel(254, 0), test::test_argb(9));
    EXPECT_EQ(picker.width_text(), "");
    EXPECT_EQ(progress.value(), 100);

    window.selected = 1;
    EXPECT_THROW(picker.show_mat(archive, archive.offset(1), window, progress), RangeError);
    EXPECT_EQ(picker.pixel(0, 0), test::test_argb(9));
    EXPECT_EQ(picker.name_text(), "red.mat");
}

TEST(Preview, NoSelectedEntry)
{
    const test::Archive archive(test::Entries{{"m\\a.mat", test::pattern_mat(2, 2)}});
    MatPicker picker = picker_over(archive);
    FakeWindow window;
    window.selected = -1;
    Progress progress;
    progress.set(50);
    // From the list: stops before opening anything (the archive is gone).
    picker.set_from_list(1);
    EXPECT_THROW(picker.preview(window, progress), RangeError);
    EXPECT_EQ(progress.value(), 0);
    // From a file: the texture is drawn, then naming it fails.
    EXPECT_THROW(picker.show_mat(archive, archive.offset(0), window, progress), RangeError);
    EXPECT_EQ(picker.pixel(1, 1), test::test_argb(17));
    EXPECT_EQ(picker.name_text(), "");
    // A cancelled dialog reads the fallback file, which is missing here.
    picker.set_from_list(0);
    try {
        picker.preview(window, progress);
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

} // namespace
} // namespace facetor
