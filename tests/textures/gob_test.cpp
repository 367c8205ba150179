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

std::vector<std::string> listed(const Archive& archive)
{
    MatDirectory d;
    read_directory(archive, d);
    std::vector<std::string> names;
    for (int i = 0; i < d.mat_count; ++i) {
        names.push_back(d.mats[static_cast<std::size_t>(i)].name);
    }
    return names;
}

TEST(Directory, ListsMatEntriesByTheCharactersAfterTheFirstDot)
{
    const std::string no_zero = "mat\\" + std::string(120, 'q') + ".mat"; // all 128 bytes
    const Archive archive({{"mat\\wall01.mat", "AB"},
                           {"mat\\WALL01.MAT", ""},
                           {"mat\\x.mxt", ""}, // the middle character is not looked at
                           {"3do\\mesh.3do", ""},
                           {"a.b\\c.mat", ""},      // judged after "a."
                           {"d\\a.mxt\\c.bmp", ""}, // by the same rule kept, as "a"
                           {std::string("mat\\wa\0\0ll.mat\0x", 16), ""},
                           {"nodot", ""},
                           {"wall02.mat", ""}, // no backslash before the "."
                           {"mat\\y.mt", ""},  // fewer than three characters after it
                           {no_zero, ""}});
    EXPECT_EQ(listed(archive),
              (std::vector<std::string>{"wall01", "x", "a", "wall", std::string(120, 'q')}));
    MatDirectory d;
    read_directory(archive, d);
    EXPECT_EQ(d.mats[0].offset, archive.offset(0));
    EXPECT_EQ(d.mats[0].size, 2);
}

TEST(Directory, HoldsAtMost2001Entries)
{
    for (const int kept : {2001, 2002}) {
        test::Entries entries;
        for (int i = 0; i < kept; ++i) {
            entries.push_back({"m\\t" + std::to_string(i) + ".mat", ""});
            entries.push_back({"m\\skipped.txt", ""});
        }
        MatDirectory d;
        if (kept > k_max_mats) {
            EXPECT_THROW(read_directory(Archive(entries), d), RangeError);
        } else {
            read_directory(Archive(entries), d);
        }
        EXPECT_EQ(d.mat_count, 2001);
    }
}

TEST(Directory, CountIsBoundedByTheData)
{
    for (const auto& [count, expected] : std::vector<std::pair<std::int64_t, std::size_t>>{
             {0, 0}, {-5, 0}, {1, 1}, {0x7FFFFFFF, 2}}) {
        Archive archive({{"m\\a.mat", ""}, {"m\\b.mat", ""}}, false);
        archive.body.replace(12, 4, test::le32(count));
        EXPECT_EQ(listed(archive).size(), expected) << count;
    }
    // An entry cut after the groups "m\b." and "mat": each later group keeps
    // "mat", and the name still passes as b.
    Archive cut({{"m\\a.mat", ""}, {"m\\b.mat", ""}}, false);
    cut.body.resize(16 + 136 + 16);
    EXPECT_EQ(listed(cut), (std::vector<std::string>{"a", "b"}));
}

TEST(Palette, ReadsItsFixedPlaceAndKeepsWhatLiesPastTheEnd)
{
    Archive archive({});
    Palette p{};
    p.fill({9, 9, 9});
    archive.palette.resize(5); // entry 0 whole, entry 1 red and green
    read_palette(archive, p);
    EXPECT_EQ(p[0], test::test_palette()[0]);
    EXPECT_EQ(p[1], (Rgb{1, 254, 9}));
    EXPECT_EQ(p[255], (Rgb{9, 9, 9}));
}

TEST(FindMaterial, ExactOrUpperCaseFormOfTheFirstMatchingEntry)
{
    const Archive archive(
        {{"m\\wall01.mat", ""}, {"m\\Wall01.mat", ""}, {"m\\x.mat", ""}, {"m\\b\xe9.mat", ""}});
    MatDirectory d;
    read_directory(archive, d);
    for (const auto& [material, found] :
         std::vector<std::pair<std::string, int>>{{"wall01.mat", 0},
                                                  {"WALL01.MAT", 0},
                                                  {"Wall01.mat", 1},
                                                  {"X.MAT", 2},
                                                  {"x.MAT", -1},
                                                  {"wall01", -1},
                                                  {"B\xe9.MAT", 3},
                                                  {"B\xc9.MAT", -1}}) {
        EXPECT_EQ(find_material(d, material), found) << material;
    }
    EXPECT_THROW(mat_entry(d, -1), RangeError);
    EXPECT_THROW(mat_entry(d, 4), RangeError);
}

TEST(FixedPaths, DriveLetterBecomesAFolder)
{
    EXPECT_EQ(map_fixed_path(k_archive_path), "d/gamedata/resource/res2.gob");
    EXPECT_EQ(map_fixed_path(k_fallback_mat_path), "c/bottle1.mat");
}

} // namespace
} // namespace facetor
