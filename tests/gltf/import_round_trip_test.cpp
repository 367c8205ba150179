// The glTF import against the export: a glTF that fits comes back through
// the export with the same surface, and so does each sample model through
// its export, the 3DO writer and the editor's reader.
#include "gltf/import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "gltf/export.h"
#include "gltf/gltf_builder.h"
#include "gltf/gltf_validator.h"
#include "gltf/import_geometry.h"
#include "model/reader.h"
#include "model/writer.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::GltfBuilder;
using test::Grid;
using test::grid;
using test::k_triangle;
using test::Triangle;

// Runs the Khronos validator over bytes; its report goes into `report`.
int validate(const std::string& bytes, const std::string& name, std::string& report)
{
    const fs::path path = fs::temp_directory_path() /
                          ("facetor_import_test_" + std::to_string(::getpid()) + "_" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    const int status = test::validate_gltf(path.string(), report);
    fs::remove(path);
    return status;
}

// The export of an imported model: its bytes, and read back.
std::string export_bytes(const type_model& model)
{
    std::ostringstream out;
    export_gltf(model, {}, out);
    return std::move(out).str();
}

tinygltf::Model read_glb(const std::string& bytes)
{
    tinygltf::Model gltf;
    tinygltf::TinyGLTF loader;
    std::string err, warn;
    EXPECT_TRUE(loader.LoadBinaryFromMemory(&gltf, &err, &warn,
                                            reinterpret_cast<const unsigned char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size())))
        << err;
    return gltf;
}

TEST(ImportRoundTrip, AGltfThatFitsExportsTheSameSurfaceAndTheExportIsValid)
{
    ASSERT_TRUE(fs::exists(FACETOR_GLTF_VALIDATOR "/package.json"))
        << "no glTF validator at " FACETOR_GLTF_VALIDATOR "; run scripts/setup.sh";
    const double h = std::sqrt(0.5);
    struct Case {
        const char* name;
        GltfBuilder gltf;
        bool translations_only; // so that gltf_triangles reads the input too
    };
    std::vector<Case> cases;
    {
        Case& c = cases.emplace_back(Case{"turned and mirrored", {}, false});
        const int tri = c.gltf.mesh({c.gltf.primitive(k_triangle)});
        const int root = c.gltf.node("root", tri, -1, {1, 2, 3}, {0, h, 0, h});
        c.gltf.node("arm", tri, root, {0, 0, 2}, {h, 0, 0, h}, {2, 2, 0.5});
        c.gltf.node("mirror", tri, root, {}, {}, {-1, 1, 1});
    }
    {
        Case& c = cases.emplace_back(Case{"split", {}, true});
        const int root = c.gltf.node("root", -1, -1, {5, 0, -1.5});
        c.gltf.node("ground", c.gltf.mesh({grid(c.gltf, 25, Grid::shared)}), root, {0.25, 1, 0});
    }
    {
        Case& c = cases.emplace_back(Case{"soup with own texture vertices", {}, true});
        c.gltf.node("ground", c.gltf.mesh({grid(c.gltf, 12, Grid::own_uvs)}));
    }
    for (Case& c : cases) {
        const ImportResult imported = import_gltf_bytes(c.gltf.bytes(), ".", {});
        const std::vector<Triangle> expected = test::model_triangles(*imported.model);
        const std::string bytes = export_bytes(*imported.model);
        test::expect_same_triangles(expected, test::gltf_triangles(read_glb(bytes)));
        if (c.translations_only) {
            test::expect_same_triangles(test::gltf_triangles(c.gltf.gltf), expected);
        }
        std::string report;
        EXPECT_EQ(validate(bytes, std::string(c.name) + ".glb", report), 0) << c.name << report;
    }
}

// Our sample models: the editor's default model and the reader's seeds that load.
std::vector<fs::path> sample_models()
{
    std::vector<fs::path> paths = {FACETOR_SOURCE_DIR "/data/dflt.3do"};
    for (const auto& entry : fs::directory_iterator(FACETOR_SOURCE_DIR "/fuzz/corpus/reader")) {
        if (entry.path().extension() == ".3do") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin() + 1, paths.end());
    return paths;
}

TEST(ImportRoundTrip, EachSampleModelComesBackFromItsExportWithItsGeometry)
{
    int loaded = 0;
    for (const fs::path& path : sample_models()) {
        SCOPED_TRACE(path.filename().string());
        auto original = make_model();
        try {
            ReaderState state;
            Progress progress;
            read_3do_file(path.string(), *original, state, progress);
        } catch (const RuntimeError&) {
            continue; // a seed that does not load has nothing to export
        }
        ++loaded;
        const std::string name = path.filename().string();
        const std::string exported = export_bytes(*original);
        const ImportResult imported = import_gltf_bytes(exported, ".", {});
        // Through the 3DO writer and the editor's reader, as `import` then
        // opening the file would go.
        std::ostringstream text;
        EXPECT_TRUE(write_3do(*imported.model, text).empty()) << name;
        auto reloaded = make_model();
        ReaderState state;
        Progress progress;
        read_3do_bytes(text.str(), *reloaded, state, progress);
        test::expect_same_triangles(test::model_triangles(*original),
                                    test::model_triangles(*reloaded), 0);
        std::string report;
        EXPECT_EQ(validate(export_bytes(*imported.model), name + ".glb", report), 0)
            << name << report;
    }
    EXPECT_GE(loaded, 5);
}

} // namespace
} // namespace facetor
