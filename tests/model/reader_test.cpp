#include "model/reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/max_model.h"
#include "model/errors.h"
#include "model/memory_cap.h"
#include "model/model_text.h"
#include "model/tokenizer.h"

namespace facetor {
namespace {

using test::FaceLayout;
using test::MeshLayout;
using test::model_text;
using test::ModelLayout;
using test::NodeLayout;
using test::replace_all;

struct Load {
    std::unique_ptr<type_model> model = make_model();
    ReaderState state;
    std::vector<int> bar;
    Progress progress{[this](int v) { bar.push_back(v); }};

    Load() = default;
    Load(const Load&) = delete; // the bar's recorder points at this one
    Load& operator=(const Load&) = delete;

    void read(const std::string& text) { read_3do_bytes(text, *model, state, progress); }
};

TEST(Reader, StoresEveryValueOfASmallModel)
{
    Load load;
    load.model->sel_mesh = 3;
    load.model->sel_face = 4;
    load.model->sel_vertex = 5;
    load.read(model_text());
    const type_model& m = *load.model;

    EXPECT_EQ(m.material_count, 2);
    EXPECT_EQ(m.materials[0], "red.mat");
    EXPECT_EQ(m.materials[1], "blue.mat");
    EXPECT_EQ(m.radius, 1.5);
    EXPECT_EQ(m.insert_offset_x, 0.25);
    EXPECT_EQ(m.insert_offset_y, -0.5);
    EXPECT_EQ(m.insert_offset_z, 0.75);
    EXPECT_EQ(m.geoset_count, 1);
    ASSERT_EQ(m.geosets[0].mesh_count, 1);

    const type_mesh& mesh = m.mesh(0);
    EXPECT_EQ(mesh.name, "tri");
    EXPECT_EQ(mesh.radius, 0.75);
    EXPECT_EQ(mesh.geometry_mode, 4);
    EXPECT_EQ(mesh.lighting_mode, 3);
    EXPECT_EQ(mesh.texture_mode, 2);
    ASSERT_EQ(mesh.vertex_count, 3);
    EXPECT_EQ(mesh.vertices[2].x, 2);
    EXPECT_EQ(mesh.vertices[2].y, 2.5);
    EXPECT_EQ(mesh.vertices[2].z, -2);
    EXPECT_EQ(mesh.vertices[2].intensity, 0.25);
    ASSERT_EQ(mesh.tvertex_count, 3);
    EXPECT_EQ(mesh.tvertices[1].u, 0.125);
    EXPECT_EQ(mesh.tvertices[1].v, 0.875);
    EXPECT_EQ(mesh.vertex_normals[2].z, 1);
    ASSERT_EQ(mesh.face_count, 1);
    const type_faces& face = mesh.faces[0];
    EXPECT_EQ(face.face_material, "blue.mat");
    EXPECT_EQ(face.face_type, "0x0001");
    EXPECT_EQ(face.geo, 4);
    EXPECT_EQ(face.light, 3);
    EXPECT_EQ(face.tex, 2);
    EXPECT_EQ(face.extra_light, 0.5);
    ASSERT_EQ(face.corner_count, 3);
    EXPECT_EQ(face.corner_vertex[3], 2);
    EXPECT_EQ(face.corner_tvertex[3], 2);
    EXPECT_EQ(mesh.face_normals[0].y, 1);

    ASSERT_EQ(m.node_count, 2);
    const type_hierarchy& root = m.nodes[0];
    EXPECT_EQ(root.node_flags, "0x0000");
    EXPECT_EQ(root.node_type, "0x00001");
    EXPECT_EQ(root.mesh, 0);
    EXPECT_EQ(root.parent, -1);
    EXPECT_EQ(root.child, -1);
    EXPECT_EQ(root.sibling, -1);
    EXPECT_EQ(root.num_children, 0);
    EXPECT_EQ(root.offset_z, 3);
    EXPECT_EQ(root.roll, 30);
    EXPECT_EQ(root.pivot_x, 0.5);
    EXPECT_EQ(root.node_name, "root");
    EXPECT_EQ(m.nodes[1].node_name, "child");
    EXPECT_EQ(m.nodes[1].parent, 0);

    // After the read: nodes placed, selection back to the start, bar at 99.
    EXPECT_EQ(root.world_x, 1.5);
    EXPECT_EQ(root.world_y, 2.5);
    EXPECT_EQ(root.world_z, 3.5);
    EXPECT_EQ(m.sel_mesh, 0);
    EXPECT_EQ(m.sel_face, 0);
    EXPECT_EQ(m.sel_vertex, 0);
    EXPECT_EQ(load.progress.value(), 99);
    EXPECT_EQ(load.state.cur_char, '\r');
}

struct TextCase {
    const char* name;
    std::function<std::string(std::string)> edit;
    bool loads;
};

TEST(Reader, AcceptsTheLayoutsOfTheFormatAndRefusesOthers)
{
    const TextCase cases[] = {
        {"as written", [](std::string t) { return t; }, true},
        {"line feeds alone", [](std::string t) { return replace_all(t, "\r\n", "\n"); }, false},
        {"comments after values and on lines of their own",
         [](std::string t) { return replace_all(t, "\r\n", " # note: 1 2\r\n#\r\n"); }, true},
        {"blank lines and leading blanks",
         [](std::string t) { return replace_all(t, "\r\n", "\r\n\r\n \t "); }, true},
        {"commas and colons between values",
         [](std::string t) {
             return replace_all(replace_all(t, "0.25 -0.5 0.75", "0.25,-0.5:0.75"), "1 2 3",
                                "1::2,,3");
         },
         true},
        {"a face line over several lines",
         [](std::string t) { return replace_all(t, " 0.5 3 ", "\r\n 0.5\r\n# corners\r\n 3 "); },
         true},
        {"anything after the last node line",
         [](std::string t) { return t + "garbage \x01\xff\r\n"; }, true},
        {"no line break after the last node name",
         [](std::string t) { return t.substr(0, t.size() - 2); }, true},
        {"first keyword in lower case",
         [](std::string t) { return replace_all(t, "SECTION: HEADER", "section: header"); }, false},
        {"no space after the colon",
         [](std::string t) { return replace_all(t, "SECTION: HEADER", "SECTION:HEADER"); }, false},
        {"two spaces after the colon",
         [](std::string t) { return replace_all(t, "SECTION: HEADER", "SECTION:  HEADER"); },
         false},
        {"version 2.0", [](std::string t) { return replace_all(t, "3DO 2.1", "3DO 2.0"); }, false},
        {"keyword in mixed case",
         [](std::string t) { return replace_all(t, "MATERIALS", "Materials"); }, false},
        {"one section line too many",
         [](std::string t) { return replace_all(t, "MATERIALS 2", "MATERIALS 1"); }, false},
        {"one section line too few",
         [](std::string t) { return replace_all(t, "MATERIALS 2", "MATERIALS 3"); }, false},
        {"an integer with a decimal point",
         [](std::string t) { return replace_all(t, "GEOSETS 1", "GEOSETS 1.0"); }, false},
        {"a float too large for a double",
         [](std::string t) { return replace_all(t, "RADIUS 1.5", "RADIUS 1e400"); }, false},
        {"a number where a word is expected",
         [](std::string t) { return replace_all(t, "GEOSET 0", "GEOSET 1"); }, false},
    };
    for (const TextCase& c : cases) {
        Load load;
        const std::string text = c.edit(model_text());
        if (c.loads) {
            EXPECT_NO_THROW(load.read(text)) << c.name;
            EXPECT_EQ(load.model->nodes[1].node_name, "child") << c.name;
            EXPECT_EQ(load.model->nodes[0].pivot_z, 0.5) << c.name;
        } else {
            EXPECT_THROW(load.read(text), FormatError) << c.name;
        }
    }
}

TEST(Reader, ReadsNumbersAsTheTokenizerSplitsThem)
{
    const std::string vertex1 = "1: 1 1.500000 -1 0.25";
    struct Case {
        const char* name;
        std::string line;
        std::array<double, 4> vertex1;
    };
    const Case cases[] = {
        {"a line numbered 10 where 1 is expected is line 1, then 0",
         "10 1.500000 -1 0.25",
         {0, 1.5, -1, 0.25}},
        {"a decimal comma splits the number", "1: 1,5 -1 0.25", {1, 5, -1, 0.25}},
        {"integers where floats are expected", "1: 7 8 9 10", {7, 8, 9, 10}},
        {"exponents, underflow to zero", "1: 1e2 -2.5E-1 1e-400 .5", {100, -0.25, 0, 0.5}},
    };
    for (const Case& c : cases) {
        Load load;
        ASSERT_NO_THROW(load.read(replace_all(model_text(), vertex1, c.line))) << c.name;
        const type_vertex& v = load.model->mesh(0).vertices[1];
        EXPECT_EQ((std::array<double, 4>{v.x, v.y, v.z, v.intensity}), c.vertex1) << c.name;
    }
}

TEST(Reader, DollarHexIntegers)
{
    Load load;
    load.read(replace_all(model_text(), " 3 0, 0 ", " 3 $1F, $1f "));
    EXPECT_EQ(load.model->mesh(0).faces[0].corner_vertex[1], 31);
    EXPECT_EQ(load.model->mesh(0).faces[0].corner_tvertex[1], 31);
}

TEST(Reader, AShortVertexLineTakesTheNextLinesNumberAndThenFails)
{
    Load load;
    EXPECT_THROW(load.read(replace_all(model_text(), "1: 1 1.500000 -1 0.25", "1: 1 1.500000 -1")),
                 FormatError);
    EXPECT_EQ(load.model->mesh(0).vertices[1].intensity, 2);
}

struct RangeCase {
    const char* name;
    const char* field; // the one the error names
    std::function<void(ModelLayout&)> edit;
    // Checks that the offending field kept its value and that the value
    // read just before it was stored.
    std::function<void(const type_model&)> check;
};

TEST(Reader, AValueOutOfRangeEndsTheLoadBeforeItIsStored)
{
    auto mesh0 = [](ModelLayout& s) -> MeshLayout& { return s.geosets[0][0]; };
    auto face0 = [&](ModelLayout& s) -> FaceLayout& { return mesh0(s).faces[0]; };
    const RangeCase cases[] = {
        {"65 materials", "material_count", [](ModelLayout& s) { s.materials.resize(65, "x.mat"); },
         [](const type_model& m) { EXPECT_EQ(m.material_count, 0); }},
        {"5 geosets", "geoset_count", [](ModelLayout& s) { s.geosets.resize(5); },
         [](const type_model& m) {
             EXPECT_EQ(m.geoset_count, 0);
             EXPECT_EQ(m.insert_offset_z, 0.75);
         }},
        {"33 meshes", "mesh_count", [](ModelLayout& s) { s.geosets[0].resize(33); },
         [](const type_model& m) {
             EXPECT_EQ(m.geosets[0].mesh_count, 0);
             EXPECT_EQ(m.geoset_count, 1);
         }},
        {"501 vertices", "vertex_count", [&](ModelLayout& s) { mesh0(s).vertices = 501; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).vertex_count, 0);
             EXPECT_EQ(m.mesh(0).texture_mode, 2);
         }},
        {"2001 texture vertices", "tvertex_count",
         [&](ModelLayout& s) { mesh0(s).tvertices = 2001; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).tvertex_count, 0);
             EXPECT_EQ(m.mesh(0).vertices[2].intensity, 0.25);
         }},
        {"501 faces", "face_count", [&](ModelLayout& s) { mesh0(s).faces.resize(501); },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).face_count, 0);
             EXPECT_EQ(m.mesh(0).vertex_normals[2].z, 1);
         }},
        {"36 nodes", "node_count", [](ModelLayout& s) { s.nodes.resize(36); },
         [](const type_model& m) {
             EXPECT_EQ(m.node_count, 0);
             EXPECT_EQ(m.mesh(0).face_normals[0].y, 1);
         }},
        {"geometry mode 5", "geometry_mode", [&](ModelLayout& s) { mesh0(s).geometry = 5; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).geometry_mode, 0);
             EXPECT_EQ(m.mesh(0).radius, 0.75);
         }},
        {"lighting mode 4", "lighting_mode", [&](ModelLayout& s) { mesh0(s).lighting = 4; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).lighting_mode, 0);
             EXPECT_EQ(m.mesh(0).geometry_mode, 4);
         }},
        {"texture mode 3", "texture_mode", [&](ModelLayout& s) { mesh0(s).texture = 3; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).texture_mode, 0);
             EXPECT_EQ(m.mesh(0).lighting_mode, 3);
         }},
        {"material index 65", "material", [&](ModelLayout& s) { face0(s).material = 65; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].face_material, "");
             EXPECT_EQ(m.mesh(0).face_count, 1);
         }},
        {"face geometry mode 5", "geo", [&](ModelLayout& s) { face0(s).geo = 5; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].geo, 0);
             EXPECT_EQ(m.mesh(0).faces[0].face_type, "0x0001");
         }},
        {"face lighting mode 4", "light", [&](ModelLayout& s) { face0(s).light = 4; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].light, 0);
             EXPECT_EQ(m.mesh(0).faces[0].geo, 4);
         }},
        {"face texture mode 3", "tex", [&](ModelLayout& s) { face0(s).tex = 3; },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].tex, 0);
             EXPECT_EQ(m.mesh(0).faces[0].light, 3);
         }},
        {"11 corners", "corner_count", [&](ModelLayout& s) { face0(s).corners.resize(11); },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].corner_count, 0);
             EXPECT_EQ(m.mesh(0).faces[0].extra_light, 0.5);
         }},
        {"corner vertex 501", "corner_vertex",
         [&](ModelLayout& s) {
             face0(s).corners[0] = {9, 8};
             face0(s).corners[1] = {501, 7};
         },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].corner_vertex[2], 0);
             EXPECT_EQ(m.mesh(0).faces[0].corner_tvertex[1], 8);
         }},
        {"corner texture vertex 501", "corner_tvertex",
         [&](ModelLayout& s) {
             face0(s).corners[1] = {7, 501};
         },
         [](const type_model& m) {
             EXPECT_EQ(m.mesh(0).faces[0].corner_tvertex[2], 0);
             EXPECT_EQ(m.mesh(0).faces[0].corner_vertex[2], 7);
         }},
        {"node mesh 33", "mesh", [](ModelLayout& s) { s.nodes[0].mesh = 33; },
         [](const type_model& m) {
             EXPECT_EQ(m.nodes[0].mesh, 0);
             EXPECT_EQ(m.nodes[0].node_type, "0x00001");
         }},
        {"node parent -2", "parent", [](ModelLayout& s) { s.nodes[1].parent = -2; },
         [](const type_model& m) {
             EXPECT_EQ(m.nodes[1].parent, 0);
             EXPECT_EQ(m.nodes[1].mesh, -1);
         }},
        {"node child 33", "child", [](ModelLayout& s) { s.nodes[0].child = 33; },
         [](const type_model& m) {
             EXPECT_EQ(m.nodes[0].child, 0);
             EXPECT_EQ(m.nodes[0].parent, -1);
         }},
        {"node sibling -2", "sibling", [](ModelLayout& s) { s.nodes[0].sibling = -2; },
         [](const type_model& m) {
             EXPECT_EQ(m.nodes[0].sibling, 0);
             EXPECT_EQ(m.nodes[0].child, -1);
         }},
        {"17 children", "num_children", [](ModelLayout& s) { s.nodes[0].children = 17; },
         [](const type_model& m) {
             EXPECT_EQ(m.nodes[0].num_children, 0);
             EXPECT_EQ(m.nodes[0].sibling, -1);
         }},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelLayout layout;
        c.edit(layout);
        Load load;
        try {
            load.read(model_text(layout));
            ADD_FAILURE() << "loaded";
        } catch (const ReadRangeError& e) {
            EXPECT_STREQ(e.field(), c.field);
        }
        c.check(*load.model);
        EXPECT_EQ(load.model->nodes[0].world_x, 0) << "no placement after a failed load";
    }
}

TEST(Reader, TheLargestAdmittedValuesLoad)
{
    ModelLayout layout;
    layout.geosets[0][0].vertices = 3;
    layout.geosets[0][0].faces[0] = FaceLayout{.material = 64, .corners = {{500, 500}}};
    layout.nodes[0] =
        NodeLayout{.mesh = 32, .parent = -1, .child = 32, .sibling = 32, .children = 16};
    layout.nodes[1] = NodeLayout{.mesh = -1, .parent = 32, .child = -1, .sibling = -1};
    Load load;
    load.read(model_text(layout));
    const type_faces& face = load.model->mesh(0).faces[0];
    EXPECT_EQ(face.corner_vertex[1], 500);
    EXPECT_EQ(face.corner_tvertex[1], 500);
    EXPECT_EQ(face.face_material, "");
    EXPECT_EQ(load.model->nodes[0].mesh, 32);
    EXPECT_EQ(load.model->nodes[0].child, 32);
    EXPECT_EQ(load.model->nodes[0].sibling, 32);
    EXPECT_EQ(load.model->nodes[0].num_children, 16);
    EXPECT_EQ(load.model->nodes[1].parent, 32);
}

TEST(Reader, FillsAModelToEveryCapacity)
{
    Load load;
    load.read(bench::make_max_model_text());
    const type_model& m = *load.model;
    EXPECT_EQ(m.material_count, 64);
    EXPECT_EQ(m.materials[63], "mat63.mat");
    ASSERT_EQ(m.geoset_count, 4);
    const type_mesh& last = m.geosets[3].meshes[31];
    EXPECT_EQ(m.geosets[3].mesh_count, 32);
    EXPECT_EQ(last.name, "mesh31");
    EXPECT_EQ(last.vertex_count, 500);
    EXPECT_EQ(last.tvertex_count, 2000);
    EXPECT_EQ(last.face_count, 500);
    EXPECT_EQ(last.faces[499].corner_count, 10);
    EXPECT_EQ(last.faces[499].face_material, "mat51.mat");
    EXPECT_EQ(last.geometry_mode, 4);
    EXPECT_EQ(last.lighting_mode, 3);
    EXPECT_EQ(last.texture_mode, 2);
    EXPECT_EQ(m.node_count, 35);
    EXPECT_EQ(m.nodes[34].node_name, "node34");
    EXPECT_EQ(load.progress.value(), 99);
}

TEST(Reader, AdvancesTheBarPerMeshByTheShareOfTheFirstGeoset)
{
    const MeshLayout empty{.vertices = 0, .tvertices = 0, .faces = {}};
    auto meshes = [&](int n) {
        return std::vector<MeshLayout>(static_cast<std::size_t>(n), empty);
    };
    struct Case {
        const char* name;
        std::vector<std::vector<MeshLayout>> geosets;
        std::vector<int> bar;
    };
    const Case cases[] = {
        {"one geoset of five meshes", {meshes(5)}, {2, 21, 40, 59, 78, 97, 99}},
        {"geosets of 4 and 6 meshes, held at the maximum",
         {meshes(4), meshes(6)},
         {2, 13, 24, 35, 46, 57, 68, 79, 90, 100, 100, 99}},
        {"no geosets", {}, {2, 99}},
        {"no meshes in the first geoset: the bar stays", {meshes(0), meshes(2)}, {2, 2, 2, 99}},
    };
    for (const Case& c : cases) {
        ModelLayout layout;
        layout.geosets = c.geosets;
        Load load;
        load.progress.set(50);
        load.bar.clear();
        load.read(model_text(layout));
        EXPECT_EQ(load.bar, c.bar) << c.name;
    }
}

TEST(Reader, MinimalFileKeepsWhatEarlierLoadsLeft)
{
    Load load;
    load.read(model_text());
    load.read(test::minimal_model_text());
    const type_model& m = *load.model;
    EXPECT_EQ(m.material_count, 0);
    EXPECT_EQ(m.geoset_count, 0);
    EXPECT_EQ(m.node_count, 0);
    EXPECT_EQ(m.materials[1], "blue.mat");
    EXPECT_EQ(m.geosets[0].mesh_count, 1);
    EXPECT_EQ(m.mesh(0).name, "tri");
    EXPECT_EQ(m.nodes[0].node_name, "root");
}

TEST(Reader, OverwritesInPlaceAndFacesTakeTheMaterialNameOfTheirSlotNow)
{
    Load load;
    ModelLayout first;
    first.materials.clear();
    for (int i = 0; i < 10; ++i) {
        first.materials.push_back("first" + std::to_string(i) + ".mat");
    }
    first.geosets[0].push_back(MeshLayout{.name = "second_mesh"});
    load.read(model_text(first));

    ModelLayout second;
    second.materials = {"a.mat", "b.mat", "c.mat"};
    second.geosets[0][0].faces = {FaceLayout{.material = 5}, FaceLayout{.material = 2}};
    second.nodes.resize(1);
    load.read(model_text(second));

    const type_model& m = *load.model;
    EXPECT_EQ(m.material_count, 3);
    EXPECT_EQ(m.materials[2], "c.mat");
    EXPECT_EQ(m.materials[3], "first3.mat");
    EXPECT_EQ(m.materials[9], "first9.mat");
    EXPECT_EQ(m.mesh(0).faces[0].face_material, "first5.mat");
    EXPECT_EQ(m.mesh(0).faces[1].face_material, "c.mat");
    EXPECT_EQ(m.geosets[0].mesh_count, 1);
    EXPECT_EQ(m.mesh(1).name, "second_mesh");
    EXPECT_EQ(m.node_count, 1);
    EXPECT_EQ(m.nodes[1].node_name, "child");
}

TEST(Reader, EveryTruncationFailsUntilTheLastNameHasBegun)
{
    const std::string text = model_text();
    const std::size_t name_start = text.rfind("child");
    Load load;
    for (std::size_t length = 0; length < text.size(); ++length) {
        const std::string prefix = text.substr(0, length);
        if (length <= name_start) {
            EXPECT_THROW(load.read(prefix), FormatError) << length;
        } else {
            ASSERT_NO_THROW(load.read(prefix)) << length;
            EXPECT_EQ(load.model->nodes[1].node_name,
                      text.substr(name_start, std::min<std::size_t>(length - name_start, 5)));
        }
    }
}

TEST(Reader, KeepsTheLookAheadBetweenLoads)
{
    Load load;
    const std::string text = model_text();
    load.read(text.substr(0, text.size() - 2));
    EXPECT_EQ(load.state.cur_char, 'd');
    EXPECT_THROW(load.read(""), FormatError);
    EXPECT_EQ(load.state.cur_char, 'd');
    load.read(text);
    EXPECT_EQ(load.state.cur_char, '\r');
}

TEST(Reader, GivesTheSameModelWhateverTheBlockSize)
{
    const std::string text =
        replace_all(model_text(), "\r\n", " # comment running over the block end\r\n\r\n");
    auto read_in_blocks = [&](Load& load, std::size_t chunk) {
        MemorySource source(text, chunk);
        read_3do(source, *load.model, load.state, load.progress);
    };
    Load whole;
    read_in_blocks(whole, SIZE_MAX);
    for (const std::size_t chunk : {1, 2, 3, 7, 13}) {
        Load blocks;
        read_in_blocks(blocks, chunk);
        const type_mesh& a = whole.model->mesh(0);
        const type_mesh& b = blocks.model->mesh(0);
        for (int v = 0; v < 3; ++v) {
            EXPECT_EQ(a.vertices[v].y, b.vertices[v].y) << chunk;
            EXPECT_EQ(a.tvertices[v].v, b.tvertices[v].v) << chunk;
        }
        EXPECT_EQ(a.faces[0].face_type, b.faces[0].face_type) << chunk;
        EXPECT_EQ(a.faces[0].corner_vertex, b.faces[0].corner_vertex) << chunk;
        EXPECT_EQ(whole.model->nodes[1].node_name, blocks.model->nodes[1].node_name) << chunk;
        EXPECT_EQ(whole.model->nodes[0].world_z, blocks.model->nodes[0].world_z) << chunk;
        EXPECT_EQ(whole.bar, blocks.bar) << chunk;
    }
}

TEST(Reader, SaysWhatItExpectedAtTheTokenWhereItStopped)
{
    const std::string good = model_text();
    struct Case {
        const char* name;
        std::string text;
        std::size_t offset;   // of the token the load stopped at
        std::string expected; // empty: a range error
    };
    const std::string v2 = replace_all(good, "3DO 2.1", "3DO 2.0");
    const std::string geoset = replace_all(good, "GEOSET 0", "GEOSET 1");
    const std::string real_count = replace_all(good, "GEOSETS 1", "GEOSETS 1.0");
    const std::string vertices = replace_all(good, "VERTICES 3", "VERTICES $1F5");
    const Case cases[] = {
        {"a word", v2, v2.find("2.0"), "\"2.1\""},
        {"a line number", geoset, geoset.find("GEOSET 1") + 7, "\"0\""},
        {"an integer", real_count, real_count.find("1.0"), "an integer"},
        {"the end of the data", good.substr(0, good.rfind("child")), good.rfind("child"), "text"},
        {"a value out of range", vertices, vertices.find("$1F5"), ""},
    };
    for (const Case& c : cases) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
            SCOPED_TRACE(std::string(c.name) + ", blocks of " + std::to_string(chunk));
            Load load;
            MemorySource source(c.text, chunk);
            try {
                read_3do(source, *load.model, load.state, load.progress);
                ADD_FAILURE() << "loaded";
            } catch (const ReadFormatError& e) {
                EXPECT_EQ(e.offset(), c.offset);
                EXPECT_EQ(e.expected(), c.expected);
            } catch (const ReadRangeError& e) {
                EXPECT_EQ(e.offset(), c.offset);
                EXPECT_TRUE(c.expected.empty());
                EXPECT_STREQ(e.field(), "vertex_count");
                EXPECT_EQ((std::array{e.value(), e.lo(), e.hi()}), (std::array{501LL, 0LL, 500LL}));
            }
        }
    }
}

class ReaderFile : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("facetor_reader_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    Load load;
};

TEST_F(ReaderFile, ReadsAFileLikeTheSameBytes)
{
    const std::filesystem::path path = dir_ / "model.3do";
    std::ofstream(path, std::ios::binary) << model_text();
    read_3do_file(path.string(), *load.model, load.state, load.progress);
    EXPECT_EQ(load.model->nodes[1].node_name, "child");
    EXPECT_EQ(load.model->mesh(0).tvertices[2].u, 0.25);
}

TEST_F(ReaderFile, ReportsFilesThatCannotBeRead)
{
    struct Case {
        std::filesystem::path path;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {dir_ / "missing.3do", ENOENT, "File not found"},
        {dir_, EISDIR, "I/O error 21"},
        {"/dev/zero", ENODEV, "I/O error 19"}, // would feed the reader forever
    };
    for (const Case& c : cases) {
        try {
            read_3do_file(c.path.string(), *load.model, load.state, load.progress);
            ADD_FAILURE() << c.path << " was read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.code(), c.code) << c.path;
            EXPECT_STREQ(e.what(), c.text) << c.path;
        }
    }
    EXPECT_TRUE(load.bar.empty()) << "nothing was read";
}

// 64,000 faces of one material whose name is 1 MiB long: the faces share
// the name, so the load fits in a few times the file, not 64 GiB.
TEST(ReaderMemory, FacesShareTheNameTheyTookFromOneLoad)
{
    if (!test::k_can_cap_memory) {
        GTEST_SKIP() << "the sanitizer's address space cannot be capped";
    }
    ModelLayout layout;
    const std::string name = std::string(1 << 20, 'n') + ".mat";
    layout.materials = {name};
    MeshLayout mesh;
    mesh.faces.assign(500, FaceLayout{.material = 0});
    layout.geosets.assign(4, std::vector<MeshLayout>(32, mesh));
    const std::string text = model_text(layout);
    const int status = test::run_with_memory_cap(256 << 20, [&] {
        Load load;
        load.read(text);
        return load.model->geosets[3].meshes[31].faces[499].face_material == name ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST(ReaderMemory, AFaceKeepsTheNameItGotWhateverChangesOthers)
{
    Load load;
    ModelLayout layout;
    layout.geosets[0][0].faces.assign(3, FaceLayout{.material = 0});
    load.read(model_text(layout));
    type_mesh& mesh = load.model->mesh(0);
    const shared_text kept = mesh.faces[2].face_material;
    mesh.faces[0].face_material = std::string("picked.mat"); // as the picker's Ok stores it
    layout.materials = {"other.mat"};
    layout.geosets[0][0].faces.resize(2);
    load.read(model_text(layout));
    EXPECT_EQ(mesh.faces[0].face_material, "other.mat");
    EXPECT_EQ(mesh.faces[2].face_material, "red.mat");
    EXPECT_EQ(kept, "red.mat");
}

} // namespace
} // namespace facetor
