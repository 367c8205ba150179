// dump, format, check --strict, standard input and "--", and what export
// says about archives: through run_cli, as a user types them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "model/memory_cap.h"
#include "model/model_text.h"
#include "textures/archive_builder.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::model_text;
using test::ModelLayout;
using test::replace_all;

using test::Outcome;
using test::run;

// Each test runs in a folder of its own, also its working folder: the
// export looks for the editor's archive there.
class Commands : public ::testing::Test {
  protected:
    void SetUp() override
    {
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    std::string write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return (dir_ / name).string();
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path previous_ = fs::current_path();
    fs::path dir_ = fs::temp_directory_path() /
                    ("facetor_commands_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(Commands, DumpPrintsWhatDiffersFromAFreshModelAndWhatAFailedLoadStored)
{
    const std::string good =
        replace_all(test::minimal_model_text(), "MATERIALS 0", "MATERIALS 1\r\n0: a\"b\\\x01");
    const std::string stored = "material_count=1\nmaterials[0]=\"a\\\"b\\\\\\x01\"\n";
    Outcome r = run({"dump", write("good.3do", replace_all(good, "RADIUS 0", "RADIUS -0"))});
    EXPECT_EQ(r.out, "radius=-0\n" + stored);
    EXPECT_EQ(r.status, k_exit_ok);

    const std::string broken = write("broken.3do", replace_all(good, "RADIUS 0", "RADIUS x"));
    r = run({"dump", broken});
    EXPECT_EQ(r.out, stored);
    EXPECT_EQ(r.err, broken + ":7:8: ERROR: expected a number\n");
    EXPECT_EQ(r.status, k_exit_failed);
}

TEST_F(Commands, FormatRewritesAFileInPlaceToTheSameModel)
{
    ModelLayout layout;
    layout.nodes[0].name = "root#1"; // "#" starts a comment: the rest of the line is lost
    const std::string path = write("m.3do", model_text(layout));
    const std::string before = run({"dump", path}).out;
    Outcome r = run({"format", path, path});
    EXPECT_EQ(r.status, k_exit_ok) << r.err;
    EXPECT_EQ(run({"dump", path}).out, before);
    EXPECT_EQ(read(path).substr(0, 17), "SECTION: HEADER\r\n");

    r = run({"format", path, (dir_ / "no" / "m.3do").string()});
    EXPECT_EQ(r.status, k_exit_failed);
    EXPECT_EQ(r.err, (dir_ / "no" / "m.3do").string() + ": cannot be written: File not found\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

TEST_F(Commands, StandardInputAndTheEndOfOptions)
{
    const std::string text = model_text();
    const std::string dump = run({"dump", write("-odd.3do", text)}).out;
    EXPECT_EQ(run({"dump", "-odd.3do"}).status, k_exit_usage);
    EXPECT_EQ(run({"dump", "--", "-odd.3do"}).out, dump);
    EXPECT_EQ(run({"dump", "-"}, text).out, dump);
    EXPECT_EQ(run({"check", "-"}, text).out, "-: ok\n");
    EXPECT_EQ(run({"check", "-"}, replace_all(text, "GEOSETS 1", "GEOSETS 9")).out,
              "-:16:9: Range check error: geoset_count 9 outside 0..4\n");
    const Outcome r = run({"format", "-", "-"}, text);
    EXPECT_EQ(run({"dump", "-"}, r.out).out, dump);
}

TEST_F(Commands, CheckStrictReportsWhatTheRestOfTheProgramAssumes)
{
    struct Case {
        const char* what;
        void (*change)(ModelLayout&);
        std::string said; // after the file name
    };
    const std::vector<Case> cases = {
        {"a sound model", [](ModelLayout&) {}, ": ok\n"},
        {"material past the list", [](ModelLayout& l) { l.geosets[0][0].faces[0].material = 5; },
         ":44:4: strict: geosets[0].meshes[0].faces[0] names material 5 of a list of 2\n"},
        {"corners past the counts",
         [](ModelLayout& l) {
             l.geosets[0][0].faces[0].corners = {{0, 0}, {1, 1}, {3, 7}};
         },
         ":44:4: strict: geosets[0].meshes[0].faces[0] corner 3 names vertex 3 of 3\n"
         ":44:4: strict: geosets[0].meshes[0].faces[0] corner 3 names texture vertex 7 of 3\n"},
        {"a mesh no node carries", [](ModelLayout& l) { l.nodes[0].mesh = -1; },
         ":22:6: strict: geosets[0].meshes[0] \"tri\" is carried by no node\n"},
        {"a missing mesh and a cycle",
         [](ModelLayout& l) {
             l.nodes[1].mesh = 4;
             l.nodes[0].parent = 1;
         },
         ":52:4: strict: nodes[0] \"root\": its parent links (parent 1) never reach a root\n"
         ":53:4: strict: nodes[1] \"child\" carries mesh 4 of 1 in geoset 0\n"
         ":53:4: strict: nodes[1] \"child\": its parent links (parent 0) never reach a root\n"},
    };
    for (const Case& c : cases) {
        ModelLayout layout;
        c.change(layout);
        const std::string path = write("m.3do", model_text(layout));
        EXPECT_EQ(run({"check", path}).status, k_exit_ok) << c.what;
        const Outcome r = run({"check", "--strict", path});
        std::string expected;
        std::istringstream lines(c.said);
        for (std::string line; std::getline(lines, line);) {
            expected += path + line + "\n";
        }
        EXPECT_EQ(r.out, expected) << c.what;
        EXPECT_EQ(r.status, c.said == ": ok\n" ? k_exit_ok : k_exit_failed) << c.what;
    }
}

// Memory that runs out in one file is that file's verdict; the next is
// checked all the same.
TEST_F(Commands, CheckGoesOnAfterAFileThatExhaustsMemory)
{
    if (!test::k_can_cap_memory) {
        GTEST_SKIP() << "the sanitizer's address space cannot be capped";
    }
    const std::string huge = write(
        "huge.3do", replace_all(test::minimal_model_text(), "MATERIALS 0",
                                "MATERIALS 1\r\n0: " + std::string(std::size_t{15} << 20, 'n')));
    const std::string good = write("good.3do", test::minimal_model_text());
    const auto model = make_model();
    const int status = test::run_with_memory_cap(16 << 20, [&] {
        std::istringstream in;
        std::ostringstream out;
        check_files({huge, good}, *model, out, in);
        return out.str() == huge + ": out of memory\n" + good + ": ok\n" ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST_F(Commands, ExportSaysWhatItMakesOfTheArchive)
{
    ModelLayout layout;
    layout.materials = {"red.mat", "blue.mat"};
    const std::string model = write("m.3do", model_text(layout));
    const std::string glb = (dir_ / "m.glb").string();

    Outcome r = run({"export", model, glb});
    EXPECT_EQ(r.err, "d/gamedata/resource/res2.gob: warning: no archive here and no --archive; "
                     "plain materials\n");
    EXPECT_EQ(r.status, k_exit_ok);

    r = run({"export", model, glb, "--archive", model});
    EXPECT_EQ(r.err, model + ": not an archive: the file ends before the palette\n");
    EXPECT_EQ(r.status, k_exit_failed);

    test::Entries entries(k_max_mats + 1, {"m\\x.mat", ""});
    entries.push_back({"m\\blue.mat", test::solid_mat(3)});
    const std::string gob = (dir_ / "many.gob").string();
    test::Archive(entries).write(gob);
    r = run({"export", model, glb, "--archive", gob});
    EXPECT_EQ(r.err, gob + ": warning: more than 2001 MAT entries; the first 2001 are used\n" +
                         model + ": warning: material \"blue.mat\" not found in " + gob +
                         "; plain material\n");
    EXPECT_EQ(r.status, k_exit_ok);
}

} // namespace
} // namespace facetor
