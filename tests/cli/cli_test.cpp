#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

#include "cli/cli_outcome.h"
#include "model/descriptor_buffer.h"
#include "model/model_text.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::replace_all;

using test::Outcome;
using test::run;

class Cli : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& text)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path dir_ = fs::temp_directory_path() /
                    ("facetor_cli_test_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(Cli, CheckPointsAtTheTokenWhereTheEditorsLoadStops)
{
    const std::string good = test::minimal_model_text();
    const std::string one_node = replace_all(good, "NODES 0", "NODES 1");
    struct Case {
        const char* name;
        std::string text;
        std::string said; // after "FILE"
    };
    const Case cases[] = {
        {"loads", good, ": ok"},
        {"a word", replace_all(good, "2.1", "2.0"), ":2:5: ERROR: expected \"2.1\""},
        {"line feeds alone", replace_all(good, "\r\n", "\n"), ":1:16: ERROR: expected \"3DO\""},
        {"a number", replace_all(good, "RADIUS 0", "RADIUS x"), ":6:8: ERROR: expected a number"},
        {"after tabs", replace_all(good, "OFFSET 0 0 0", "OFFSET\t0\t0\tz"),
         ":7:19: ERROR: expected a number"},
        {"an integer", replace_all(good, "GEOSETS 0", "GEOSETS 1.0"),
         ":8:9: ERROR: expected an integer"},
        {"a count out of range", replace_all(good, "GEOSETS 0", "GEOSETS $5"),
         ":8:9: Range check error: geoset_count 5 outside 0..4"},
        {"a missing line", one_node, ":11:1: ERROR: expected \"0\""},
        {"a missing name", one_node + "0: 0x0 0x1 -1 -1 -1 -1 0 0 0 0 0 0 0 0 0 0",
         ":11:43: ERROR: expected text"},
        {"a link out of range", one_node + "0: 0x0 0x1 -1 -1 40 -1 0 0 0 0 0 0 0 0 0 0 n\r\n",
         ":11:18: Range check error: child 40 outside -1..32"},
    };
    for (const Case& c : cases) {
        const std::string path = write("model.3do", c.text);
        const Outcome r = run({"check", path});
        EXPECT_EQ(r.out, path + c.said + "\n") << c.name;
        EXPECT_EQ(r.status, c.said == ": ok" ? k_exit_ok : k_exit_failed) << c.name;
    }
}

TEST_F(Cli, CheckReportsEveryFileAndFailsIfAnyFails)
{
    const std::string good = write("good.3do", test::minimal_model_text());
    const std::string missing = (dir_ / "missing.3do").string();
    const Outcome r = run({"check", good, missing, dir_.string()});
    EXPECT_EQ(r.out, good + ": ok\n" + missing + ": File not found\n" + dir_.string() +
                         ": I/O error 21 (Is a directory)\n");
    EXPECT_EQ(r.status, k_exit_failed);
}

TEST_F(Cli, InfoOfTheSampleModelIsTheExpectedText)
{
    std::ifstream expected_file(FACETOR_SOURCE_DIR "/tests/cli/dflt_info.txt");
    const std::string expected{std::istreambuf_iterator<char>(expected_file), {}};
    const Outcome r = run({"info", FACETOR_SOURCE_DIR "/data/dflt.3do"});
    EXPECT_EQ(r.status, k_exit_ok) << r.err;
    EXPECT_EQ(r.out, expected);
}

TEST_F(Cli, InfoShowsBrokenParentWalksAsRootsAndOddBytesEscaped)
{
    test::ModelLayout layout;
    layout.nodes = {{.parent = 1, .name = "a\xe9"}, {.mesh = -1, .parent = 0, .name = "b"}};
    const Outcome r = run({"info", write("m.3do", test::model_text(layout))});
    EXPECT_NE(
        r.out.find("nodes 2\n"
                   "  node 0 a\\xe9: mesh 0 tri, world 2.5 4.5 6.5, parent 1 never leads to a "
                   "root\n"
                   "  node 1 b: no mesh, offset 1 2 3, parent 0 never leads to a root\n"),
        std::string::npos)
        << r.out;
}

TEST_F(Cli, ExportWritesTheAssetOrSaysWhyNot)
{
    const std::string model = write("m.3do", test::model_text());
    const std::string glb = (dir_ / "m.glb").string();
    Outcome r = run({"export", model, glb});
    EXPECT_EQ(r.status, k_exit_ok) << r.err;
    EXPECT_GT(fs::file_size(glb), 100u);

    r = run({"export", model, glb, "--geoset", "2"});
    EXPECT_EQ(r.status, k_exit_failed);
    EXPECT_EQ(r.err, model + ": no geoset 2; the file has 1\n");

    const std::string no_archive = (dir_ / "none.gob").string();
    r = run({"export", model, glb, "--archive", no_archive});
    EXPECT_EQ(r.status, k_exit_failed);
    EXPECT_EQ(r.err, no_archive + ": File not found\n");
}

TEST(CliUsage, WrongArgumentsExitWithTwoAndTheUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frob"},
        {"check"},
        {"info"},
        {"info", "a.3do", "b.3do"},
        {"export", "a.3do"},
        {"export", "a.3do", "b.obj"},
        {"export", "a.3do", "b.glb", "--geoset", "4"},
        {"export", "a.3do", "b.glb", "--geoset", "1x"},
        {"export", "a.3do", "b.glb", "--archive"},
        {"export", "a.3do", "b.glb", "--colour", "red"},
        {"check", "--archive", "x", "a.3do"},
        {"dump"},
        {"dump", "a.3do", "b.3do"},
        {"format", "a.3do"},
        {"format", "--strict", "a.3do", "b.3do"},
    };
    for (const auto& args : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, k_exit_usage) << testing::PrintToString(args);
        // A command's own synopsis, or every command's.
        const std::string shown = args.empty() || args[0] == "frob" ? "check" : args[0];
        EXPECT_NE(r.err.find("usage: facetor-cli " + shown + " "), std::string::npos) << r.err;
    }
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"help", "frob"}, {"help", "info", "dump"}, {"--version", "x"}, {"--frob"}}) {
        EXPECT_EQ(run(args).status, k_exit_usage) << testing::PrintToString(args);
    }
}

TEST(CliUsage, EachCommandHasItsOwnHelpAndTheToolItsVersion)
{
    struct Case {
        std::string command, option;
    };
    const Case cases[] = {{"check", "--strict"},  {"info", "node tree"},   {"dump", "PATH=VALUE"},
                          {"format", "comments"}, {"export", "--archive"}, {"import", "--scene"}};
    for (const Case& c : cases) {
        const Outcome r = run({c.command, "a.3do", "--help"});
        EXPECT_EQ(r.status, k_exit_ok) << c.command;
        EXPECT_EQ(r.out.find("usage: facetor-cli " + c.command + " "), 0u) << r.out;
        EXPECT_EQ(r.out.find("usage:", 1), std::string::npos) << r.out; // no other command's
        EXPECT_NE(r.out.find(c.option), std::string::npos) << r.out;
        EXPECT_EQ(run({"help", c.command}).out, r.out);
        EXPECT_NE(run({"--help"}).out.find("facetor-cli " + c.command + " "), std::string::npos);
    }
    EXPECT_EQ(run({"--version"}).out, "facetor-cli " FACETOR_VERSION "\n");
}

// Every command that prints, with its standard output on a full disk.
TEST_F(Cli, AStandardOutputThatCannotBeWrittenFailsTheCommand)
{
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full < 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    const std::string model = write("m.3do", test::model_text());
    const std::string gltf = write(
        "m.gltf", R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{}]})");
    const std::string full_said = "standard output: No space left on device\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string said;
    };
    const Case cases[] = {
        {{"check", model}, k_exit_failed, full_said},
        {{"info", model}, k_exit_failed, full_said},
        {{"dump", model}, k_exit_failed, full_said},
        {{"format", model, "-"}, k_exit_failed, full_said},
        {{"import", gltf, "-"}, k_exit_failed, full_said},
        {{"dump", "--help"}, k_exit_failed, full_said},
        {{"--version"}, k_exit_failed, full_said},
        {{"format", model, (dir_ / "out.3do").string()}, k_exit_ok, ""}, // prints nothing
    };
    for (const Case& c : cases) {
        DescriptorBuffer buffer(full);
        std::ostream out(&buffer);
        std::istringstream in;
        std::ostringstream err;
        EXPECT_EQ(run_cli(c.args, in, out, err), c.status) << testing::PrintToString(c.args);
        EXPECT_EQ(err.str(), c.said) << testing::PrintToString(c.args);
    }
    ::close(full);
}

} // namespace
} // namespace facetor
