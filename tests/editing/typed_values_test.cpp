#include "editing/typed_values.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>

namespace facetor {
namespace {

TEST(TypedValues, ParsedOrRefusedWithTheRowsLabel)
{
    struct Case {
        Field field;
        const char* text;
        char point;        // the locale's decimal separator
        double number;     // a number field's value...
        const char* value; // ...a text field's, or nullptr
        const char* refusal;
    };
    const Case cases[] = {
        {Field::offset_x, "1.5", '.', 1.5, nullptr, ""},
        {Field::offset_x, "1,5", ',', 1.5, nullptr, ""},
        {Field::offset_x, "1.5", ',', 1.5, nullptr, ""}, // a point always works
        {Field::offset_x, "1,5", '.', 0, nullptr, "Offset X: '1,5' is not a number"},
        {Field::vertex_y, " -2.5E-7 ", '.', -2.5e-7, nullptr, ""},
        {Field::vertex_y, "+3", '.', 3, nullptr, ""},
        {Field::vertex_y, "+-3", '.', 0, nullptr, "Y: '+-3' is not a number"},
        {Field::pivot_z, "-0", '.', -0.0, nullptr, ""},
        {Field::offset_x, "abc", '.', 0, nullptr, "Offset X: 'abc' is not a number"},
        {Field::offset_x, "", '.', 0, nullptr, "Offset X: '' is not a number"},
        {Field::offset_x, "1.2.3", '.', 0, nullptr, "Offset X: '1.2.3' is not a number"},
        {Field::offset_x, "0x10", '.', 0, nullptr, "Offset X: '0x10' is not a number"},
        {Field::yaw, "inf", '.', 0, nullptr, "Yaw: 'inf' is not a finite number"},
        {Field::yaw, "nan", '.', 0, nullptr, "Yaw: 'nan' is not a finite number"},
        {Field::roll, "1e999", '.', 0, nullptr, "Roll: '1e999' is out of range"},
        {Field::mesh_name, "ring", '.', 0, "ring", ""},
        {Field::mesh_name, "caf\xC3\xA9", '.', 0, "caf\xE9", ""}, // one 8-bit byte
        {Field::mesh_name, "", '.', 0, nullptr, "Name: a name cannot be empty"},
        {Field::node_name, "a b", '.', 0, nullptr,
         "Node Name: 'a b' holds a space, comma, colon, tab, carriage return or '#'"},
        {Field::node_name, "a#b", '.', 0, nullptr,
         "Node Name: 'a#b' holds a space, comma, colon, tab, carriage return or '#'"},
        {Field::node_name, "a:b", '.', 0, nullptr,
         "Node Name: 'a:b' holds a space, comma, colon, tab, carriage return or '#'"},
        {Field::node_name, "\xE2\x82\xAC", '.', 0, nullptr,
         "Node Name: '\xE2\x82\xAC' holds a character a 3DO file cannot hold"},
        {Field::node_flags, "0x1F", '.', 0, "0x1F", ""},
        {Field::node_flags, "0x00000000", '.', 0, "0x00000000", ""},
        {Field::node_flags, "0x000000000", '.', 0, nullptr,
         "Node Flags: '0x000000000' is not 0x and 1 to 8 hexadecimal digits"},
        {Field::node_flags, "0x", '.', 0, nullptr,
         "Node Flags: '0x' is not 0x and 1 to 8 hexadecimal digits"},
        {Field::node_flags, "12", '.', 0, nullptr,
         "Node Flags: '12' is not 0x and 1 to 8 hexadecimal digits"},
        {Field::node_flags, "0xG", '.', 0, nullptr,
         "Node Flags: '0xG' is not 0x and 1 to 8 hexadecimal digits"},
    };
    for (const Case& c : cases) {
        const TypedValue v = parse_typed(c.field, c.text, c.point);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(v.refusal, c.refusal);
        if (c.refusal[0] == '\0' && c.value != nullptr) {
            EXPECT_EQ(v.text, c.value);
        } else if (c.refusal[0] == '\0') {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(v.number),
                      std::bit_cast<std::uint64_t>(c.number));
        }
    }
}

// Mesh 0 with three vertices and node 0; mesh 1, carried by no node.
std::unique_ptr<type_model> two_meshes()
{
    auto model = make_model();
    model->geoset_count = 1;
    model->geosets[0].mesh_count = 2;
    model->mesh(0).vertex_count = 3;
    model->mesh(0).vertices[1].x = 1.0 / 3;
    model->mesh(1).vertex_count = 3;
    model->node_count = 1;
    model->nodes[0].mesh = 0;
    model->nodes[0].parent = -1;
    return model;
}

TEST(TypedValues, WhichCellsTakeTyping)
{
    auto model = two_meshes();
    std::string typed;
    for (int row = 0; row < 20; ++row) {
        typed += takes_typing(*model, Page::mesh_page, row) ? 'T' : '.';
    }
    EXPECT_EQ(typed, "T...TT.....TTTTTTTTT");
    for (int row = 0; row < 5; ++row) {
        EXPECT_FALSE(takes_typing(*model, Page::face_page, row)) << row;
    }
    EXPECT_TRUE(takes_typing(*model, Page::vertex_page, 2));

    model->sel_mesh = 1; // no node: its rows show the spare slot, never saved
    EXPECT_TRUE(takes_typing(*model, Page::mesh_page, 0));
    EXPECT_FALSE(takes_typing(*model, Page::mesh_page, 4));
    EXPECT_FALSE(takes_typing(*model, Page::mesh_page, 11));
    model->sel_vertex = 3; // one past the last
    EXPECT_FALSE(takes_typing(*model, Page::vertex_page, 0));
    model->sel_mesh = 2;
    EXPECT_FALSE(takes_typing(*model, Page::mesh_page, 0));
}

TEST(TypedValues, TypingAppliesOneStepOrNone)
{
    auto model = two_meshes();
    model->sel_vertex = 1;
    // The text the cell shows for a third, sent back as it is: no change.
    TypedOutcome same = type_value(*model, Page::vertex_page, 0, "0.333333333333333", '.');
    EXPECT_TRUE(same.step.empty());
    EXPECT_TRUE(same.refusal.empty());
    EXPECT_EQ(model->mesh(0).vertices[1].x, 1.0 / 3);

    TypedOutcome refused = type_value(*model, Page::vertex_page, 0, "abc", '.');
    EXPECT_EQ(refused.refusal, "X: 'abc' is not a number");
    EXPECT_TRUE(refused.step.empty());

    TypedOutcome moved = type_value(*model, Page::mesh_page, 11, "0,25", ',');
    EXPECT_EQ(moved.step.name, "Set Offset X");
    EXPECT_EQ(model->nodes[0].offset_x, 0.25);
    EXPECT_EQ(model->nodes[0].world_x, 0.25) << "placed again";

    model->sel_mesh = 1; // no node to type into
    EXPECT_TRUE(type_value(*model, Page::mesh_page, 11, "9", '.').step.empty());
    EXPECT_EQ(model->nodes[1].offset_x, 0.0);
}

} // namespace
} // namespace facetor
