// The files the export writes: valid for the Khronos validator, and read
// back with TinyGLTF they put every corner where the 3D view puts it.
#include "gltf/export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <tiny_gltf.h>
#include <unistd.h>

#include "bench/max_model.h"
#include "model/load_text.h"
#include "model/model_text.h"
#include "model/reader.h"
#include "preview3d/fake_platform.h"
#include "preview3d/scene_build.h"

#include "gltf/gltf_validator.h"
namespace facetor {
namespace {

namespace fs = std::filesystem;
using test::NodeLayout;

using test::load_text;

std::string sample_text()
{
    std::ifstream file(FACETOR_SOURCE_DIR "/data/dflt.3do", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Parent links that form a tree, a cycle (2 <-> 3), a link past the nodes
// (4), a child of a broken node (5), pivots, and mesh 0 carried three times.
std::string tangled_text()
{
    test::ModelLayout layout;
    layout.geosets[0].push_back(test::MeshLayout{.name = "second"});
    layout.nodes = {
        {.mesh = 0, .offset = "1 2 3", .pivot = "0.5 0.5 0.5", .name = "root"},
        {.mesh = 1, .parent = 0, .offset = "0.25 0 0", .pivot = "0 0 1", .name = "child"},
        {.mesh = 0, .parent = 3, .offset = "4 0 0", .pivot = "0 1 0", .name = "cycle_a"},
        {.mesh = -1, .parent = 2, .offset = "0 8 0", .name = "cycle_b"},
        {.mesh = 1, .parent = 20, .offset = "0 0 16", .name = "lost"},
        {.mesh = 0, .parent = 4, .offset = "32 0 0", .pivot = "0.5 0.5 0.5", .name = "lost_child"},
    };
    return test::model_text(layout);
}

class WrittenAsset : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const type_model& model, const std::string& name,
                      const TextureArchive* archive = nullptr)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        const bool binary = name.ends_with(".glb");
        warnings_ = export_gltf(model, {0, archive, binary}, out);
        return path;
    }

    static tinygltf::Model read_back(const std::string& path)
    {
        tinygltf::Model gltf;
        tinygltf::TinyGLTF loader;
        std::string err, warn;
        const bool ok = path.ends_with(".glb") ? loader.LoadBinaryFromFile(&gltf, &err, &warn, path)
                                               : loader.LoadASCIIFromFile(&gltf, &err, &warn, path);
        EXPECT_TRUE(ok) << err;
        return gltf;
    }

    fs::path dir_ = fs::temp_directory_path() /
                    ("facetor_gltf_test_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::vector<std::string> warnings_;
};

// Runs the validator script; its report goes into `report`.
int validate(const std::string& path, std::string& report)
{
    return test::validate_gltf(path, report);
}

// Meshes but no node, and names with a zero byte and a control byte.
std::string nodeless_text()
{
    test::ModelLayout layout;
    layout.geosets[0].resize(2);
    layout.geosets[0][0].name = std::string("a\0b", 3);
    layout.geosets[0][1].name = "c\x01";
    layout.nodes.clear();
    return test::model_text(layout);
}

TEST_F(WrittenAsset, EveryFileHasASceneAndWholeNames)
{
    const tinygltf::Model gltf = read_back(write(*load_text(nodeless_text()), "n.glb"));
    ASSERT_EQ(gltf.scenes.size(), 1u);
    EXPECT_EQ(gltf.scenes[0].nodes, (std::vector<int>{0, 1}));
    EXPECT_EQ(gltf.nodes.at(0).name, "a\\x00b");
    EXPECT_EQ(gltf.nodes.at(1).name, "c\\x01");
    EXPECT_EQ(gltf.meshes.at(0).name, "a\\x00b");
    EXPECT_EQ(read_back(write(*load_text(test::minimal_model_text()), "e.glb")).scenes.size(), 1u);
}

TEST_F(WrittenAsset, TheKhronosValidatorFindsNoError)
{
    // Installed by scripts/setup.sh, which `make test` runs: its absence is
    // a broken set-up, never a reason to skip.
    ASSERT_TRUE(fs::exists(FACETOR_GLTF_VALIDATOR "/package.json"))
        << "no glTF validator at " FACETOR_GLTF_VALIDATOR "; run scripts/setup.sh";
    ASSERT_TRUE(fs::exists(FACETOR_DEMO_ARCHIVE)) << "the demo archive was not built";
    const TextureArchive archive = open_texture_archive(FACETOR_DEMO_ARCHIVE);
    const std::string sample = sample_text();
    const struct {
        std::string name;
        std::string text;
        const TextureArchive* archive;
    } cases[] = {
        {"sample.glb", sample, nullptr},
        {"sample.gltf", sample, nullptr},
        {"max.glb", bench::make_max_model_text(), nullptr},
        {"textured.glb",
         test::replace_all(test::replace_all(sample, "gem.mat", "checker.mat"), "base.mat",
                           "SKY.MAT"),
         &archive},
        {"tangled.gltf", tangled_text(), nullptr},
        {"nodeless.glb", nodeless_text(), nullptr},
        {"empty.glb", test::minimal_model_text(), nullptr},
    };
    for (const auto& c : cases) {
        const std::string path = write(*load_text(c.text), c.name, c.archive);
        std::string report;
        EXPECT_EQ(validate(path, report), 0) << report;
    }
}

using Points = std::vector<std::array<double, 3>>;

// Every corner of every face the 3D scene build makes, in glTF axes.
Points scene_corners(type_model& model)
{
    testing::FakePlatform platform;
    View3D view{platform};
    SceneFrames frames;
    build_scene(view, frames, model);
    Points points;
    for (const auto& face : frames.model_frame->visuals().at(0)->faces()) {
        for (const Vector3& c : face->corners()) {
            points.push_back({c.x, c.z, -c.y}); // the model frame's orientation
        }
    }
    return points;
}

// Every vertex of every node's mesh, moved by the node's world translation.
Points gltf_corners(const tinygltf::Model& gltf)
{
    std::vector<int> parent(gltf.nodes.size(), -1);
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        for (const int c : gltf.nodes[n].children) {
            parent[static_cast<std::size_t>(c)] = static_cast<int>(n);
        }
    }
    Points points;
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        const tinygltf::Node& node = gltf.nodes[n];
        EXPECT_TRUE(node.rotation.empty() && node.scale.empty() && node.matrix.empty());
        if (node.mesh < 0) {
            continue;
        }
        std::array<double, 3> world{};
        for (int p = static_cast<int>(n); p != -1; p = parent[static_cast<std::size_t>(p)]) {
            const auto& t = gltf.nodes[static_cast<std::size_t>(p)].translation;
            for (std::size_t i = 0; i < t.size(); ++i) {
                world[i] += t[i];
            }
        }
        for (const auto& primitive : gltf.meshes[static_cast<std::size_t>(node.mesh)].primitives) {
            const tinygltf::Accessor& a =
                gltf.accessors[static_cast<std::size_t>(primitive.attributes.at("POSITION"))];
            const tinygltf::BufferView& view =
                gltf.bufferViews[static_cast<std::size_t>(a.bufferView)];
            const auto* xyz = reinterpret_cast<const float*>(gltf.buffers[0].data.data() +
                                                             view.byteOffset + a.byteOffset);
            for (std::size_t v = 0; v < a.count; ++v) {
                points.push_back(
                    {world[0] + xyz[3 * v], world[1] + xyz[3 * v + 1], world[2] + xyz[3 * v + 2]});
            }
        }
    }
    return points;
}

TEST_F(WrittenAsset, ReadBackItPutsEveryCornerWhereThe3DViewDoes)
{
    for (const std::string& text : {sample_text(), tangled_text()}) {
        const auto model = load_text(text);
        const tinygltf::Model gltf = read_back(write(*model, "model.glb"));
        Points expected = scene_corners(*model);
        Points actual = gltf_corners(gltf);
        ASSERT_EQ(actual.size(), expected.size());
        std::sort(expected.begin(), expected.end());
        std::sort(actual.begin(), actual.end());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            for (std::size_t axis = 0; axis < 3; ++axis) {
                EXPECT_NEAR(actual[i][axis], expected[i][axis], 1e-6) << i;
            }
        }
    }
    // Broken parent walks hang from the scene, the tree keeps the rest.
    const tinygltf::Model gltf = read_back(write(*load_text(tangled_text()), "tangled.glb"));
    EXPECT_EQ(gltf.scenes.at(0).nodes, (std::vector<int>{0, 2, 3, 4, 5}));
    EXPECT_EQ(gltf.nodes[0].children, std::vector<int>{1});
}

TEST_F(WrittenAsset, ArchiveTexturesTravelAsPngsAndSolidColoursAsFactors)
{
    const TextureArchive archive = open_texture_archive(FACETOR_DEMO_ARCHIVE);
    std::vector<std::string> warnings;
    const auto looks = look_up_materials({"checker.mat", "SKY.MAT", "nothere.mat", "CHECKER.MAT"},
                                         &archive, warnings);
    ASSERT_EQ(looks[0].kind, MaterialLook::Kind::texture);
    ASSERT_EQ(looks[1].kind, MaterialLook::Kind::solid);
    EXPECT_EQ(looks[2].kind, MaterialLook::Kind::plain);
    EXPECT_EQ(looks[3].entry, looks[0].entry);
    EXPECT_EQ(looks[3].rgb, looks[0].rgb);
    EXPECT_EQ(warnings,
              std::vector<std::string>{"material \"nothere.mat\" not found in " FACETOR_DEMO_ARCHIVE
                                       "; plain material"});

    const std::string text = test::replace_all(
        test::replace_all(sample_text(), "gem.mat", "checker.mat"), "base.mat", "SKY.MAT");
    const tinygltf::Model gltf = read_back(write(*load_text(text), "textured.gltf", &archive));
    ASSERT_EQ(gltf.images.size(), 1u);
    const tinygltf::Image& image = gltf.images[0];
    EXPECT_EQ(image.width, looks[0].width);
    EXPECT_EQ(image.height, looks[0].height);
    ASSERT_EQ(image.component, 4); // TinyGLTF widens to RGBA
    for (std::size_t texel : {std::size_t{0}, std::size_t{9 * 64 + 3}}) {
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(image.image[4 * texel + c], looks[0].rgb[3 * texel + c]) << texel;
        }
    }
    // Node 0 (plinth) comes first, so SKY.MAT is material 0.
    const auto& sky = gltf.materials.at(0).pbrMetallicRoughness;
    EXPECT_EQ(gltf.materials[0].name, "SKY.MAT");
    EXPECT_NEAR(sky.baseColorFactor[2],
                std::pow((looks[1].colour.blue / 255.0 + 0.055) / 1.055, 2.4), 1e-9);
    EXPECT_EQ(gltf.materials.at(1).pbrMetallicRoughness.baseColorTexture.index, 0);
    EXPECT_TRUE(warnings_.empty());
}

// `make run` and the README's export use our sample beside the demo archive.
TEST_F(WrittenAsset, TheDemoArchiveTexturesEveryMaterialOfTheSample)
{
    const TextureArchive archive = open_texture_archive(FACETOR_DEMO_ARCHIVE);
    const auto model = load_text(sample_text());
    const std::vector<std::string> names(model->materials.begin(),
                                         model->materials.begin() + model->material_count);
    std::vector<std::string> warnings;
    for (const MaterialLook& look : look_up_materials(names, &archive, warnings)) {
        EXPECT_EQ(look.kind, MaterialLook::Kind::texture);
    }
    EXPECT_EQ(warnings, std::vector<std::string>{});
}

} // namespace
} // namespace facetor
