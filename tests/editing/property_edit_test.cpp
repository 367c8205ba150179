#include "editing/property_edit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "model/errors.h"

namespace facetor {
namespace {

TEST(OptionChooser, FlagCodeOfEveryCombination)
{
    const struct {
        bool c1, c2, c3;
        int code;
        const char* text;
    } cases[] = {
        {true, false, false, 0, "0x1"}, {false, true, false, 1, "0x2"},
        {false, false, true, 2, "0x4"}, {true, true, false, 3, "0x3"},
        {true, false, true, 4, "0x5"},  {false, true, true, 5, "0x6"},
        {true, true, true, 6, "0x7"},   {false, false, false, 7, "0x0"},
    };
    for (const auto& c : cases) {
        OptionsState options;
        for (int k = 0; k < 3; ++k) {
            options.c[static_cast<std::size_t>(k)].visible = true;
        }
        options.c[0].checked = c.c1;
        options.c[1].checked = c.c2;
        options.c[2].checked = c.c3;
        options_ok(options);
        EXPECT_EQ(options.choice, c.code) << c.text;
        EXPECT_EQ(face_type_of(c.code), c.text);
        // The text's flags check the same boxes again.
        const std::array<bool, 3> back = face_flags_of(c.text);
        EXPECT_EQ(back, (std::array<bool, 3>{c.c1, c.c2, c.c3})) << c.text;
    }
    EXPECT_THROW(face_type_of(8), RangeError);
    EXPECT_THROW(face_type_of(-1), RangeError);
}

TEST(OptionChooser, RadioOkTakesTheCheckedPositionOrKeepsTheLastAndBlanksEverything)
{
    OptionsState options;
    show_radio_options(options, std::array<const char*, 7>{"a", "b", "c", "d", "e", "f", "g"});
    options.b[2].checked = true;
    options_ok(options);
    EXPECT_EQ(options.choice, 2);
    for (const OptionControl& control : options.b) {
        EXPECT_FALSE(control.visible || control.checked);
    }

    // Five options after seven: only b1..b5 show; nothing checked keeps 2.
    show_radio_options(options, k_geometry_options);
    EXPECT_TRUE(options.b[4].visible);
    EXPECT_FALSE(options.b[5].visible);
    options_ok(options);
    EXPECT_EQ(options.choice, 2);
}

TEST(OptionChooser, FaceTypeTextsThatPreselectNothing)
{
    for (const char* text : {"0x0000", "0x0", "", "0x00001", "0x8", "0X1", "1"}) {
        EXPECT_EQ(face_flags_of(text), (std::array<bool, 3>{})) << text;
    }
    for (const char* text : {"0x10", "0x00010"}) {
        EXPECT_EQ(node_type_option(text), 0) << text;
    }
    EXPECT_EQ(node_type_option("0x00008"), 6);
    EXPECT_EQ(node_type_option("0x0010"), -1);
    EXPECT_EQ(node_type_option("0X10"), -1);
}

// The grids with a chooser whose user does `act` to the shown options and
// presses Ok; what the chooser showed is kept for the test.
class PropertyGridTest : public ::testing::Test {
  protected:
    std::unique_ptr<type_model> model = make_model();
    OptionsState options;
    OptionsState shown;
    std::function<void(OptionsState&)> act = [](OptionsState&) {};
    int chooser_shows = 0;
    int picker_shows = 0;
    std::string cur_material;
    PropertyDialogs dialogs{options,
                            [this] {
                                ++chooser_shows;
                                shown = options;
                                act(options);
                                options_ok(options);
                            },
                            [this] { ++picker_shows; }};

    bool press_mesh(int col, int row) { return mesh_grid_press(*model, dialogs, col, row); }
    bool press_face(int col, int row)
    {
        return face_grid_press(*model, cur_material, dialogs, col, row);
    }
    static void check(OptionsState& o, int k) { o.b[static_cast<std::size_t>(k)].checked = true; }
};

TEST_F(PropertyGridTest, OnlyTheLabelsOfThePlusRowsOpenAnything)
{
    for (const int row : {0, 4, 5, 7, 19, 20, -1}) {
        EXPECT_FALSE(press_mesh(0, row)) << row;
    }
    for (const int row : {1, 2, 3, 6}) {
        EXPECT_FALSE(press_mesh(1, row)) << row;
        EXPECT_FALSE(press_mesh(-1, row)) << row;
    }
    EXPECT_FALSE(press_face(1, 1));
    EXPECT_FALSE(press_face(0, 5));
    EXPECT_EQ(chooser_shows + picker_shows, 0);
}

TEST_F(PropertyGridTest, ByteRowsShowTheirTablePreselectTheValueAndStoreTheChoice)
{
    const struct {
        bool face;
        int row;
        int options;
        const char* last_caption;
    } rows[] = {
        {false, 1, 5, "Draw it textured"}, {false, 2, 4, "Better"}, {false, 3, 3, "Perspective"},
        {true, 2, 5, "Draw it textured"},  {true, 3, 4, "Better"},  {true, 4, 3, "Perspective"},
    };
    model->sel_mesh = 1;
    model->sel_face = 7;
    type_mesh& mesh = model->mesh(1);
    type_faces& face = mesh.faces[7];
    const auto field = [&](bool on_face, int row) -> int {
        if (on_face) {
            return row == 2 ? int{face.geo} : row == 3 ? int{face.light} : int{face.tex};
        }
        return row == 1   ? int{mesh.geometry_mode}
               : row == 2 ? int{mesh.lighting_mode}
                          : int{mesh.texture_mode};
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.face ? "face row " : "mesh row ") << r.row);
        // Start from 1; the user picks the last option.
        act = [](OptionsState& o) { check(o, 1); };
        ASSERT_TRUE(r.face ? press_face(0, r.row) : press_mesh(0, r.row));
        act = [&](OptionsState& o) {
            o.b[1].checked = false;
            check(o, r.options - 1);
        };
        ASSERT_TRUE(r.face ? press_face(0, r.row) : press_mesh(0, r.row));
        EXPECT_TRUE(shown.b[1].checked); // the value 1 was preselected
        EXPECT_TRUE(shown.b[static_cast<std::size_t>(r.options - 1)].visible);
        EXPECT_EQ(shown.b[static_cast<std::size_t>(r.options - 1)].caption, r.last_caption);
        if (r.options < 7) {
            EXPECT_FALSE(shown.b[static_cast<std::size_t>(r.options)].visible);
        }
        EXPECT_EQ(field(r.face, r.row), r.options - 1);
    }
}

TEST_F(PropertyGridTest, AChoiceOutOfTheFieldsRangeRaisesAndLeavesIt)
{
    model->mesh(0).lighting_mode = 2;
    act = [](OptionsState& o) {
        o.b[2].checked = false;
        check(o, 4); // as if a fifth option were offered
    };
    EXPECT_THROW(press_mesh(0, 2), RangeError);
    EXPECT_EQ(model->mesh(0).lighting_mode, 2);
}

TEST_F(PropertyGridTest, NodeTypeStoresTheShortFormInTheShownNode)
{
    model->geosets[0].mesh_count = 2;
    model->node_count = 2;
    model->nodes[0].mesh = 1;
    model->nodes[1].mesh = 0;
    model->nodes[1].node_type = "0x00010";
    ASSERT_TRUE(press_mesh(0, 6)); // Ok with "Hip" still checked
    EXPECT_TRUE(shown.b[0].checked);
    EXPECT_EQ(shown.b[6].caption, "Head");
    EXPECT_EQ(model->nodes[1].node_type, "0x10");

    // A mesh no node names: the spare slot at node_count takes the choice.
    model->sel_mesh = 5;
    act = [](OptionsState& o) { check(o, 6); };
    ASSERT_TRUE(press_mesh(0, 6));
    EXPECT_EQ(model->nodes[2].node_type, "0x8");
    EXPECT_EQ(model->node_count, 2);

    // An unknown text preselects nothing; with nothing checked the last
    // result (6) applies; a result beyond the table leaves the text.
    model->nodes[2].node_type = "0x99";
    act = [](OptionsState&) {};
    ASSERT_TRUE(press_mesh(0, 6));
    EXPECT_FALSE(shown.b[6].checked);
    EXPECT_EQ(model->nodes[2].node_type, "0x8");
    options.choice = 7;
    model->nodes[2].node_type = "0x99";
    ASSERT_TRUE(press_mesh(0, 6));
    EXPECT_EQ(model->nodes[2].node_type, "0x99");
}

TEST_F(PropertyGridTest, FaceTypeFlagsArePreselectedAndAlwaysRewritten)
{
    type_faces& face = model->mesh(0).faces[0];
    face.face_type = "0x0005";
    ASSERT_TRUE(press_face(0, 1));
    EXPECT_TRUE(shown.c[0].checked && !shown.c[1].checked && shown.c[2].checked);
    EXPECT_EQ(shown.c[2].caption, "Collides with other objects");
    EXPECT_EQ(face.face_type, "0x5");

    act = [](OptionsState& o) {
        for (OptionControl& box : o.c) {
            box.checked = false;
        }
    };
    ASSERT_TRUE(press_face(0, 1));
    EXPECT_EQ(face.face_type, "0x0");
}

TEST_F(PropertyGridTest, MaterialRowHandsTheFaceMaterialToThePicker)
{
    model->sel_face = 3;
    model->mesh(0).faces[3].face_material = "wall01.mat";
    ASSERT_TRUE(press_face(0, 0));
    EXPECT_EQ(cur_material, "wall01.mat");
    EXPECT_EQ(picker_shows, 1);
    EXPECT_EQ(chooser_shows, 0);
}

} // namespace
} // namespace facetor
