// The archive's directory, palette and material lookup, over archives built
// in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "textures/archive_builder.h"
#include "textures/fixed_paths.h"
#include "textures/gob.h"

namespace facetor {
namespace {

using test::Archive;
using test::ArchiveEntry;

std::vector<std::string> listed(const MatDirectory& d)
{
    std::vector<std::string> names;
    for (int i = 0; i < d.mat_count; ++i) {
        names.push_back(d.mats[static_cast<std::size_t>(i)].name);
    }
    return names;
}

MatDirectory read(const Archive& archive)
{
    MatDirectory d;
    read_directory(archive, d);
    return d;
}

TEST(Directory, ListsMatEntriesByTheCharactersAfterTheFirstDot)
{
    const std::string long_name = "mat\\" + std::string(120, 'q') + ".mat"; // no zero byte at all
    const Archive archive({
        {"mat\\wall01.mat", "AB"},
        {"mat\\WALL01.MAT", ""}, // upper case does not match
        {"mat\\x.mxt", "C"},     // the middle character is not looked at
        {"3do\\mesh.3do", ""},
        {"a.b\\c.mat", ""},                            // judged after "a."
        {"d\\a.mxt\\c.bmp", ""},                       // the same rule keeps this one, as "a"
        {std::string("mat\\wa\0\0ll.mat\0x", 16), ""}, // each group cut at its own zero
        {"nodot", ""},
        {"wall02.mat", ""}, // no folder before the "."
        {"mat\\y.mt", ""},  // fewer than three characters after it
        {"mat\\z.m", ""},
        {long_name, "DEF"},
    });
    const MatDirectory d = read(archive);
    EXPECT_EQ(listed(d),
              (std::vector<std::string>{"wall01", "x", "a", "wall", std::string(120, 'q')}));
    EXPECT_EQ(d.mats[0].offset, archive.offset(0));
    EXPECT_EQ(d.mats[0].size, 2);
    EXPECT_EQ(d.mats[4].offset, archive.offset(11));
    EXPECT_EQ(d.mats[4].size, 3);
}

TEST(Directory, HoldsAtMost2001Entries)
{
    for (const int kept : {2001, 2002}) {
        std::vector<ArchiveEntry> entries;
        for (int i = 0; i < kept; ++i) {
            entries.push_back({"m\\t" + std::to_string(i) + ".mat", ""});
            entries.push_back({"m\\skipped.txt", ""}); // only kept entries count
        }
        MatDirectory d;
        if (kept > k_max_mats) {
            EXPECT_THROW(read_directory(Archive(entries), d), RangeError);
        } else {
            read_directory(Archive(entries), d);
        }
        EXPECT_EQ(d.mat_count, 2001) << kept;
        EXPECT_EQ(d.mats[2000].name, "t2000");
    }
}

TEST(Directory, CountIsBoundedByTheData)
{
    struct Case {
        std::int64_t count;
        int listed;
    };
    for (const Case c : {Case{0, 0}, Case{-5, 0}, Case{1, 1}, Case{0x7FFFFFFF, 2}}) {
        Archive archive({{"m\\a.mat", ""}, {"m\\b.mat", ""}}, std::nullopt);
        archive.body.replace(12, 4, test::le32(c.count));
        EXPECT_EQ(read(archive).mat_count, c.listed) << c.count;
    }
}

TEST(Directory, EntryCutByTheEndKeepsThePreviousValues)
{
    // The second entry's length is cut: it keeps the first entry's. Its name
    // lies wholly past the end, so every group keeps the first entry's last
    // group, all zeros: an empty name, skipped.
    Archive archive({{"m\\a.mat", "xyz"}, {"m\\b.mat", ""}}, std::nullopt);
    const std::string whole = archive.body;
    archive.body = whole.substr(0, 16 + 136 + 4 + 2);
    const MatDirectory d = read(archive);
    EXPECT_EQ(listed(d), std::vector<std::string>{"a"});

    // Whole length (0), then groups "m\b." and "mat": the later groups repeat
    // "mat", and the name still passes as b.
    archive.body = whole.substr(0, 16 + 136 + 8 + 8);
    const MatDirectory d2 = read(archive);
    EXPECT_EQ(listed(d2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d2.mats[1].size, 0);
}

TEST(Palette, ReadsItsFixedPlaceAndKeepsWhatLiesPastTheEnd)
{
    Archive archive(test::Entries{{"m\\a.mat", ""}});
    Palette p{};
    read_palette(archive, p);
    EXPECT_EQ(p, test::test_palette());

    Palette kept{};
    kept.fill({9, 9, 9});
    archive.tail.resize(5); // entry 0 whole, entry 1 red and green
    read_palette(archive, kept);
    EXPECT_EQ(kept[0], test::test_palette()[0]);
    EXPECT_EQ(kept[1], (Rgb{1, 254, 9}));
    EXPECT_EQ(kept[255], (Rgb{9, 9, 9}));

    Palette short_archive{};
    read_palette(Archive(test::Entries{{"m\\a.mat", ""}}, std::nullopt), short_archive);
    EXPECT_EQ(short_archive, Palette{});
}

TEST(FindMaterial, ExactOrUpperCaseFormOfTheFirstMatchingEntry)
{
    const MatDirectory d = read(Archive(
        {{"m\\wall01.mat", ""}, {"m\\Wall01.mat", ""}, {"m\\x.mat", ""}, {"m\\b\xe9.mat", ""}}));
    struct Case {
        const char* material;
        int found;
    };
    for (const Case c :
         {Case{"wall01.mat", 0}, Case{"WALL01.MAT", 0}, Case{"Wall01.mat", 1}, Case{"X.MAT", 2},
          Case{"x.MAT", -1}, Case{"wall01", -1}, Case{"B\xe9.MAT", 3}, Case{"B\xc9.MAT", -1}}) {
        EXPECT_EQ(find_material(d, c.material), c.found) << c.material;
    }
    EXPECT_THROW(mat_entry(d, -1), RangeError);
    EXPECT_THROW(mat_entry(d, 4), RangeError);
}

TEST(FixedPaths, DriveLetterBecomesAFolder)
{
    EXPECT_EQ(map_fixed_path(k_archive_path), "d/gamedata/resource/res2.gob");
    EXPECT_EQ(map_fixed_path(k_fallback_mat_path), "c/bottle1.mat");
    EXPECT_EQ(map_fixed_path("c:x.mat"), "c/x.mat");
    EXPECT_EQ(map_fixed_path("a\\b"), "a/b");
}

} // namespace
} // namespace facetor
