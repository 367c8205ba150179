// The model dump's own cases: records that look empty at first sight, texts
// that fill its output buffer to the byte, and the counted slots the
// round-trip fuzz compares.
#include "model/dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "model/errors.h"
#include "model/reader.h"

namespace facetor {
namespace {

std::string dump_text(const type_model& model, DumpSlots slots = DumpSlots::all)
{
    std::ostringstream out;
    dump_model(model, out, slots);
    return out.str();
}

// What the round-trip fuzz relies on to compare and clear only the counted
// slots: a load into a fresh model, whole or broken off, stores nothing past
// the counts it has read.
TEST(Dump, ALoadStoresNothingPastItsCounts)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files{fs::path(FACETOR_SOURCE_DIR) / "data/dflt.3do"};
    for (const char* corpus : {"fuzz/corpus/reader", "fuzz/corpus/format"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(FACETOR_SOURCE_DIR) / corpus)) {
            files.push_back(entry.path());
        }
    }
    int broken = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const auto model = make_model();
        ReaderState state;
        Progress progress;
        try {
            read_3do_bytes(bytes, *model, state, progress);
        } catch (const RuntimeError&) {
            ++broken;
        }
        EXPECT_EQ(dump_text(*model, DumpSlots::counted), dump_text(*model, DumpSlots::all)) << file;
    }
    EXPECT_GE(broken, 3); // the samples include loads that stop half-way
}

TEST(Dump, CountedSlotsLeaveOutOnlyWhatLiesPastTheCounts)
{
    const struct {
        std::function<void(type_model&)> set;
        const char* line;
        bool counted;
    } cases[] = {
        {[](type_model& m) { m.mesh(0).vertices[1].x = 2; }, "geosets[0].meshes[0].vertices[1].x=2",
         false},
        {[](type_model& m) { m.mesh(0).vertices[0].x = 2; }, "geosets[0].meshes[0].vertices[0].x=2",
         true},
        {[](type_model& m) { m.mesh(0).face_normals[1].z = 3; },
         "geosets[0].meshes[0].face_normals[1].z=3", false},
        {[](type_model& m) { m.mesh(0).faces[0].corner_vertex[9] = 4; },
         "geosets[0].meshes[0].faces[0].corner_vertex[9]=4", true}, // a counted face is whole
        {[](type_model& m) { m.mesh(1).name = "past"; }, "geosets[0].meshes[1].name=\"past\"",
         false},
        {[](type_model& m) { m.geosets[1].mesh_count = 1; }, "geosets[1].mesh_count=1", false},
        {[](type_model& m) { m.materials[1] = "b.mat"; }, "materials[1]=\"b.mat\"", false},
        {[](type_model& m) { m.nodes[1].yaw = 5; }, "nodes[1].yaw=5", false},
    };
    for (const auto& c : cases) {
        const auto model = make_model();
        model->geoset_count = 1;
        model->geosets[0].mesh_count = 1;
        model->mesh(0).vertex_count = 1;
        model->mesh(0).face_count = 1;
        model->material_count = 1;
        model->node_count = 1;
        c.set(*model);
        const std::string line = std::string(c.line) + "\n";
        EXPECT_NE(dump_text(*model, DumpSlots::all).find(line), std::string::npos) << c.line;
        EXPECT_EQ(dump_text(*model, DumpSlots::counted).find(line) != std::string::npos, c.counted)
            << c.line;
    }
}

// A record is left out only when every field is +0 or empty: one whose first
// field is zero and a later one is not is still printed.
TEST(Dump, ARecordWithAZeroFirstFieldIsStillPrinted)
{
    struct Case {
        std::function<void(type_mesh&)> change;
        std::string line; // after "geosets[0].meshes[0]."
    };
    const Case cases[] = {
        {[](type_mesh& m) { m.tvertices[2].v = 0.25; }, "tvertices[2].v=0.25"},
        {[](type_mesh& m) { m.tvertices[3].u = -0.0; }, "tvertices[3].u=-0"},
        {[](type_mesh& m) { m.vertices[1].intensity = 0.5; }, "vertices[1].intensity=0.5"},
        {[](type_mesh& m) { m.vertex_normals[4].y = 1; }, "vertex_normals[4].y=1"},
        {[](type_mesh& m) { m.face_normals[5].z = 2; }, "face_normals[5].z=2"},
        {[](type_mesh& m) { m.faces[6].corner_tvertex[10] = 7; }, "faces[6].corner_tvertex[10]=7"},
        {[](type_mesh& m) { m.faces[7].face_type = "0x2"; }, "faces[7].face_type=\"0x2\""},
    };
    for (const Case& c : cases) {
        const auto model = make_model();
        c.change(model->geosets[0].meshes[0]);
        EXPECT_EQ(dump_text(*model), "geosets[0].meshes[0]." + c.line + "\n");
    }
}

// A text line that ends exactly at the end of the buffer, one byte either
// side of it, or is longer than the whole buffer.
TEST(Dump, TextsOfAnyLengthAroundTheBufferAreWrittenWhole)
{
    // "material_count=2\n" and "materials[0]=" come before the quoted text.
    constexpr std::size_t k_before_text = 17 + 13;
    constexpr std::size_t k_fills_buffer = k_dump_buffer_bytes - k_before_text - 2;
    for (const std::size_t length :
         {k_fills_buffer - 1, k_fills_buffer, k_fills_buffer + 1, 3 * k_dump_buffer_bytes}) {
        const auto model = make_model();
        model->material_count = 2;
        model->materials[0] = std::string(length, 'n');
        model->materials[1] = "b.mat";
        EXPECT_EQ(dump_text(*model), "material_count=2\nmaterials[0]=\"" + model->materials[0] +
                                         "\"\nmaterials[1]=\"b.mat\"\n")
            << length;
    }
}

} // namespace
} // namespace facetor
