// `facetor-cli import`: what the user sees, and that a failure writes nothing.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/cli_outcome.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;
using test::run;

class ImportCommand : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_ = fs::temp_directory_path() /
                    ("facetor_import_command_test_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

// A .gltf of `nodes` empty nodes, all roots of the default scene.
std::string empty_nodes_gltf(int nodes)
{
    std::string scene, list;
    for (int n = 0; n < nodes; ++n) {
        scene += (n == 0 ? "" : ",") + std::to_string(n);
        list += n == 0 ? "{}" : ",{}";
    }
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[)" + scene +
           R"(]}],"nodes":[)" + list + "]}";
}

TEST_F(ImportCommand, TheSampleModelsExportComesBackAsAModelTheEditorLoads)
{
    const std::string glb = path("gem.glb"), out = path("gem.3do");
    ASSERT_EQ(run({"export", FACETOR_SOURCE_DIR "/data/dflt.3do", glb}).status, k_exit_ok);
    const Outcome r = run({"import", glb, out});
    EXPECT_EQ(r.status, k_exit_ok) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(run({"check", out}).out, out + ": ok\n");
}

TEST_F(ImportCommand, AModelThatDoesNotFitSaysWhyAndWritesNothing)
{
    const std::string gltf = path("crowd.gltf"), out = path("crowd.3do");
    std::ofstream(gltf) << empty_nodes_gltf(36);
    const Outcome r = run({"import", gltf, out});
    EXPECT_EQ(r.status, k_exit_failed);
    EXPECT_EQ(r.err, gltf + ": the model does not fit a 3DO: it needs 36 nodes, 1 over the 35\n");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(fs::directory_iterator(dir_)->path(), gltf); // no temporary file left either
}

TEST_F(ImportCommand, UnnamedNodesAreNamedAfterTheOutputOrNameAndBadArgumentsAreUsageErrors)
{
    const std::string gltf = path("two.gltf");
    std::ofstream(gltf) << empty_nodes_gltf(2);
    ASSERT_EQ(run({"import", gltf, path("robot.3do")}).status, k_exit_ok);
    EXPECT_NE(run({"info", path("robot.3do")}).out.find("robot_1"), std::string::npos);
    ASSERT_EQ(run({"import", gltf, path("x.3do"), "--name", "arm"}).status, k_exit_ok);
    EXPECT_NE(run({"info", path("x.3do")}).out.find("arm_1"), std::string::npos);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"import", gltf},
                                               {"import", gltf, "a.3do", "--scene", "-1"},
                                               {"import", gltf, "a.3do", "--scene"},
                                               {"import", gltf, "a.3do", "--geoset", "1"}}) {
        EXPECT_EQ(run(args).status, k_exit_usage) << testing::PrintToString(args);
    }
    EXPECT_FALSE(fs::exists("a.3do"));
}

// Each refused before anything is read or written: OUT is IN under any name,
// or IN is no file.
TEST_F(ImportCommand, RefusalsLeaveEveryFileAsItWas)
{
    const std::string gltf = path("in.gltf");
    const std::string text = empty_nodes_gltf(1);
    std::ofstream(gltf) << text;
    fs::create_directory(path("adir"));
    fs::create_symlink("in.gltf", path("link.gltf"));
    fs::create_hard_link(gltf, path("hard.gltf"));
    const std::string same = "; import does not write over its input\n";
    struct Case {
        std::string in, out, said;
    };
    const Case cases[] = {
        {gltf, gltf, gltf + ": the same file as the input " + gltf + same},
        {gltf, path("link.gltf"),
         path("link.gltf") + ": the same file as the input " + gltf + same},
        {path("link.gltf"), path("hard.gltf"),
         path("hard.gltf") + ": the same file as the input " + path("link.gltf") + same},
        {path("adir"), path("a.3do"), path("adir") + ": I/O error 21 (Is a directory)\n"},
        {path("none.gltf"), path("a.3do"), path("none.gltf") + ": File not found\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run({"import", c.in, c.out});
        EXPECT_EQ(r.status, k_exit_failed) << c.said;
        EXPECT_EQ(r.err, c.said);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 4) << c.said;
        EXPECT_TRUE(fs::is_symlink(path("link.gltf")));
        std::ifstream in(gltf);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
    }
}

} // namespace
} // namespace facetor
