// The picker's preview without a window: which texels it reads, what it
// keeps from one preview to the next, and where a missing selection stops it.
#include <gtest/gtest.h>

#include <cstdio>
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

// A picker whose palette and directory come from `archive`, in a file that
// is gone afterwards: the previews below read `archive` directly.
MatPicker picker_over(const test::Archive& archive)
{
    const std::string path = testing::TempDir() +
                             testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".gob"; // tests may run side by side
    archive.write(path);
    MatPicker picker(path, "");
    picker.load_archive();
    std::remove(path.c_str());
    return picker;
}

TEST(Preview, LargeTextureReadsOnlyTheShownTexels)
{
    const test::Archive archive({{"m\\big.mat", test::pattern_mat(512, 512)}});
    MatPicker picker = picker_over(archive);
    FakeWindow window;
    int bar_changes = 0;
    Progress progress([&bar_changes](int) { ++bar_changes; });
    const test::CountingSource counted(archive);
    picker.show_mat(counted, archive.offset(0), window, progress);

    EXPECT_LE(counted.asked, 140u + 255 * 255 + 2);
    EXPECT_EQ(picker.pixel(254, 254), test::test_argb(254 + 16 * 254));
    EXPECT_EQ(picker.pixel(3, 1), test::test_argb(19));
    EXPECT_EQ(window.rows_repainted, 255 + 255); // the white fill, then each row
    EXPECT_EQ(bar_changes, 0);                   // 100 div 512 never moves the bar
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
    window.selected = 1;
    picker.show_mat(MemoryBinary(test::texture_mat(9, 9, "").substr(0, 100)), 0, window, progress);
    // The size of a.mat, and its last texel, 17, in every shown pixel.
    EXPECT_EQ(picker.width_text(), "2");
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
    const test::Archive archive({{"m\\a.mat", test::pattern_mat(2, 2)}});
    const std::string path = testing::TempDir() + "no_selection.gob";
    archive.write(path);
    MatPicker picker(path, "");
    picker.load_archive();
    FakeWindow window;
    window.selected = -1;
    Progress progress;
    progress.set(50);
    picker.set_from_list(1);
    EXPECT_THROW(picker.preview(window, progress), RangeError);
    EXPECT_EQ(progress.value(), 0);
    std::remove(path.c_str());
    // A loose file is drawn; naming it after the list's entry fails.
    EXPECT_THROW(picker.show_mat(archive, archive.offset(0), window, progress), RangeError);
    EXPECT_EQ(picker.pixel(1, 1), test::test_argb(17));
    EXPECT_EQ(picker.name_text(), "");
}

TEST(Preview, TheEntriesBeforeA2002ndAreKeptForThePreselection)
{
    test::Entries entries;
    for (int i = 0; i <= k_max_mats; ++i) {
        entries.push_back({"m\\t" + std::to_string(i) + ".mat", ""});
    }
    const std::string path = testing::TempDir() + "overflowing.gob";
    test::Archive(entries).write(path);
    MatPicker picker(path, "");
    EXPECT_THROW(picker.load_archive(), RangeError);
    std::remove(path.c_str());
    EXPECT_EQ(picker.directory().mat_count, k_max_mats);
    EXPECT_EQ(picker.preselect("t2000.mat"), 2000);
    EXPECT_EQ(picker.from_list(), 1);
}

} // namespace
} // namespace facetor
