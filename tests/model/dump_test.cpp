// The model dump's own cases: records that look empty at first sight, and
// texts that fill its output buffer to the byte.
#include "model/dump.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace facetor {
namespace {

std::string dump_text(const type_model& model)
{
    std::ostringstream out;
    dump_model(model, out);
    return out.str();
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
