#include "model/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include <sys/stat.h>

#include "model/dump.h"
#include "model/load_text.h"
#include "model/model_text.h"
#include "model/number_text.h"
#include "model/reader.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::ModelLayout;

std::string dump_of(const type_model& model)
{
    std::ostringstream out;
    dump_model(model, out);
    return out.str();
}

using test::load_text;

struct Written {
    std::string text;
    std::vector<std::string> warnings;
};

Written write(const type_model& model)
{
    std::ostringstream out;
    Written w;
    w.warnings = write_3do(model, out);
    w.text = out.str();
    return w;
}

std::string file_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every sample of ours that loads: written, loaded again into a fresh model,
// it gives the same dump, and writing that gives the same text.
TEST(Writer, EverySampleThatLoadsComesBackTheSame)
{
    std::vector<fs::path> files{fs::path(FACETOR_SOURCE_DIR) / "data/dflt.3do"};
    for (const auto& entry :
         fs::directory_iterator(fs::path(FACETOR_SOURCE_DIR) / "fuzz/corpus/reader")) {
        files.push_back(entry.path());
    }
    int loaded = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        std::unique_ptr<type_model> original;
        try {
            original = load_text(file_bytes(file));
        } catch (const RuntimeError&) {
            continue;
        }
        ++loaded;
        const Written w = write(*original);
        EXPECT_TRUE(w.warnings.empty());
        const auto again = load_text(w.text);
        EXPECT_EQ(dump_of(*again), dump_of(*original));
        EXPECT_EQ(write(*again).text, w.text);
    }
    EXPECT_GE(loaded, 8);
}

TEST(Writer, InlineModelsComeBackTheSame)
{
    ModelLayout names;
    names.materials = {"a\x01\xff.mat", "\n", "LF\nin", "x\"y\\z"};
    names.geosets[0][0].name = "\x80\x81";
    names.geosets[0][0].faces[0].material = 3;
    ModelLayout past_list; // a face naming a slot past the list gets an empty name
    past_list.geosets[0][0].faces[0].material = 64;
    ModelLayout numbers;
    numbers.radius = "1e308";
    numbers.insert_offset = "-0 4.9406564584124654e-324 2.2250738585072014E-308";
    numbers.geosets[0][0].radius = "0.1";
    numbers.geosets[0][0].faces[0].extra_light = "123456789012345678901234567890";
    numbers.nodes[0].offset = "1e-400 -1e-400 .5";
    ModelLayout many;
    many.geosets = {{test::MeshLayout{}, test::MeshLayout{}}, {}, {test::MeshLayout{}}};
    for (const ModelLayout& layout : {names, past_list, numbers, many}) {
        const auto original = load_text(test::model_text(layout));
        const Written w = write(*original);
        EXPECT_TRUE(w.warnings.empty());
        EXPECT_EQ(dump_of(*load_text(w.text)), dump_of(*original));
    }
}

// What a file cannot say is written in the nearest form it can, and named.
TEST(Writer, ValuesAFileCannotHoldAreWrittenNearAndNamed)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        void (*change)(type_model&);
        std::string expected_dump_line; // of the model read back
        std::string expected_warning;
    };
    const std::vector<Case> cases = {
        {"infinity", [](type_model& m) { m.radius = -inf; }, "radius=-1.7976931348623157e+308",
         "radius: -inf cannot be written; written as the largest double"},
        {"nan", [](type_model& m) { m.mesh(0).vertices[1].z = std::nan(""); }, "",
         "geosets[0].meshes[0].vertices[1].z: nan cannot be written; written as 0"},
        {"empty name", [](type_model& m) { m.mesh(0).name = ""; },
         "geosets[0].meshes[0].name=\"_\"",
         "geosets[0].meshes[0].name: an empty text cannot be written; written as \"_\""},
        {"separators", [](type_model& m) { m.nodes[1].node_name = "a b,c:d\te\rf#g"; },
         "nodes[1].node_name=\"a_b_c_d_e_f_g\"", "nodes[1].node_name: spaces, commas"},
        {"unknown material",
         [](type_model& m) {
             m.mesh(0).faces[0].face_material = "new.mat";
             m.mesh(0).faces[1].face_material = m.mesh(0).faces[0].face_material; // shared
         },
         "materials[2]=\"new.mat\"",
         "geosets[0].meshes[0].faces[0].face_material and 1 more: material \"new.mat\" is not in "
         "the material list; added to it as material 2"},
    };
    ModelLayout layout;
    layout.geosets[0][0].faces.resize(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto model = load_text(test::model_text(layout));
        c.change(*model);
        const Written w = write(*model);
        ASSERT_EQ(w.warnings.size(), 1u);
        EXPECT_EQ(w.warnings[0].substr(0, c.expected_warning.size()), c.expected_warning);
        const std::string back = dump_of(*load_text(w.text));
        if (!c.expected_dump_line.empty()) {
            EXPECT_NE(back.find(c.expected_dump_line + "\n"), std::string::npos) << back;
        }
    }
}

TEST(Writer, AFullListLeavesAnUnknownMaterialOut)
{
    ModelLayout layout;
    layout.materials.assign(64, "m.mat");
    auto model = load_text(test::model_text(layout));
    model->mesh(0).faces[0].face_material = "new.mat";
    const Written w = write(*model);
    ASSERT_EQ(w.warnings.size(), 1u);
    EXPECT_NE(w.warnings[0].find("the list is full"), std::string::npos);
    EXPECT_EQ(std::string(load_text(w.text)->mesh(0).faces[0].face_material), "");
}

// Each number as the library writes it, at the edges of where the quick
// paths apply too: they must give the same text.
TEST(Writer, NumbersTakeTheLibrarysText)
{
    const std::string reals =
        "0 -0 0.01 0.009999999999999998 0.0099999 -0.015625 0.1 0.3 1 10 1e+06 1e+07 "
        "123456.789012 0.123456 -0.1234567 2.000001 999999999.999999 1e+09 999999999.9999999 "
        "-999999999.5 2.5e-07 0.3333333333333333 12.125 1e+21 -1e+22 1.5e+300 5e-324 1e-310 "
        "2.2250738585072014e-308 1.7976931348623157e+308 inf -inf nan";
    std::istringstream texts(reals);
    for (std::string text; texts >> text;) {
        double v = 0;
        std::from_chars(text.data(), text.data() + text.size(), v);
        char quick[40], library[40];
        EXPECT_EQ(std::string(library, std::to_chars(library, library + 40, v).ptr), text);
        EXPECT_EQ(std::string(quick, shortest_double(quick, v)), text);
    }
    std::istringstream integers("0 9 10 99 100 4294967295 4294967296 -1 -4294967295 -4294967296 "
                                "-9223372036854775808 9223372036854775807");
    for (std::string text; integers >> text;) {
        long long v = 0;
        std::from_chars(text.data(), text.data() + text.size(), v);
        char quick[24];
        EXPECT_EQ(std::string(quick, write_integer(quick, v)), text);
    }
}

// A text far longer than one write is cut to what the reader takes, and
// what would end a token is replaced wherever it falls.
TEST(Writer, ALongTextIsWrittenInPieces)
{
    std::string name((std::size_t{16} << 20) + 5, 'n');
    for (const std::size_t at : {std::size_t{0}, std::size_t{1} << 20, (std::size_t{16} << 20) - 1,
                                 std::size_t{16} << 20}) {
        name[at] = ' ';
    }
    auto model = load_text(test::model_text());
    model->mesh(0).name = name;
    const Written w = write(*model);
    EXPECT_EQ(w.warnings.size(), 2u);
    std::string expected = name.substr(0, std::size_t{16} << 20);
    std::replace(expected.begin(), expected.end(), ' ', '_');
    EXPECT_TRUE(std::string(load_text(w.text)->mesh(0).name) == expected);
}

class WriterFile : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("facetor_writer_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(WriterFile, ReplacesTheFileWholeAndKeepsItsMode)
{
    const auto model = load_text(test::model_text());
    const fs::path path = folder_ / "out.3do";
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0640);
    write_3do_file(*model, path);
    EXPECT_EQ(file_bytes(path), write(*model).text);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
}

// Large enough for the disk to be handed the file as it is written, and for
// the file it replaces to be let go after the save.
TEST_F(WriterFile, ALargeFileReplacesALargeFile)
{
    auto model = load_text(test::model_text());
    const fs::path path = folder_ / "out.3do";
    for (const char c : {'a', 'b'}) {
        model->mesh(0).name = std::string(std::size_t{9} << 20, c);
        write_3do_file(*model, path);
        EXPECT_TRUE(file_bytes(path) == write(*model).text);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
}

TEST_F(WriterFile, AFailureLeavesNoFileBehind)
{
    const auto model = load_text(test::model_text());
    // A folder where the file should go: the rename fails after the write.
    fs::create_directories(folder_ / "taken" / "inner");
    EXPECT_THROW(write_3do_file(*model, folder_ / "taken"), FileError);
    EXPECT_THROW(write_3do_file(*model, folder_ / "missing" / "out.3do"), FileError);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
    EXPECT_TRUE(fs::exists(folder_ / "taken" / "inner"));
}

} // namespace
} // namespace facetor
