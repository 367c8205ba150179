#include "editing/panels.h"

#include <gtest/gtest.h>

#include <set>

#include "editing/edit_modes.h"
#include "editing/number_text.h"

namespace facetor {
namespace {

TEST(RealText, Forms)
{
    struct Case {
        double value;
        char point;
        const char* text;
    };
    const Case cases[] = {
        {1.25, '.', "1.25"},
        {3, '.', "3"},
        {1.25, ',', "1,25"},
        {0.5, ',', "0,5"},
        {-0.5, '.', "-0.5"},
        {2, ',', "2"},
        {-0.0, '.', "0"},
        {0.1 + 0.2, '.', "0.3"}, // 15 digits hide the binary noise
        {1.0 / 3, '.', "0.333333333333333"},
        {123456789012345.0, '.', "123456789012345"},
        {999999999999999.9, '.', "1E15"}, // rounding carries into the next power
        {1e15, '.', "1E15"},
        {1.5e20, ',', "1,5E20"},
        {0.00001, '.', "0.00001"},
        {0.000012, '.', "0.000012"},
        {0.0000015, ',', "1,5E-6"},
        {-2.5e-7, '.', "-2.5E-7"},
        {100, '.', "100"},
        {-1024.125, '.', "-1024.125"},
        {std::numeric_limits<double>::quiet_NaN(), '.', "NAN"},
        {-std::numeric_limits<double>::infinity(), '.', "-INF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(real_text(c.value, c.point), c.text) << c.value;
    }
}

// What each switch shows is checked in the window (EditingWindow,
// ModeCommandsSwitchPageMenuButtonAndViewColours); here, that the table rows
// fit together, which a misplaced row breaks.
TEST(ModeSwitch, EachModeRaisesItsOwnPageOverTheOtherTwo)
{
    std::set<Page> fronts;
    for (const ModeSwitch& row : mode_switches()) {
        EXPECT_EQ(&mode_switch(row.mode), &row);
        fronts.insert(row.brought_front);
        EXPECT_EQ((std::set<Page>{row.sent_back[0], row.sent_back[1], row.brought_front}).size(),
                  3u)
            << row.button;
    }
    EXPECT_EQ(fronts.size(), 3u);
    EXPECT_THROW(mode_switch(static_cast<EditMode>(3)), RangeError);
}

class PanelContentTest : public ::testing::Test {
  protected:
    std::unique_ptr<type_model> model = make_model();

    std::vector<std::string> values(EditMode mode, char point = '.')
    {
        auto content = panel_content(*model, mode, point);
        EXPECT_TRUE(content.has_value());
        return content ? content->values : std::vector<std::string>{};
    }

    // Nodes 0..n-1 naming meshes `meshes` in order.
    void add_nodes(std::initializer_list<int> meshes)
    {
        int i = 0;
        for (int m : meshes) {
            type_hierarchy& node = model->nodes[i];
            node.node_name = "node" + std::to_string(i);
            node.mesh = m;
            node.parent = -1;
            node.offset_x = i + 0.25;
            ++i;
        }
        model->node_count = i;
    }
};

TEST_F(PanelContentTest, MeshPage)
{
    type_mesh& mesh = model->mesh(2);
    mesh.name = "wheel";
    mesh.geometry_mode = 4;
    mesh.lighting_mode = 3;
    mesh.texture_mode = 1;
    add_nodes({0, 2});
    type_hierarchy& node = model->nodes[1];
    node.node_flags = "0x0";
    node.node_type = "0x00010";
    node.parent = -1; // no parent
    node.child = 3;
    node.sibling = 5;
    node.num_children = 16;
    node.offset_x = 1.25;
    node.offset_y = 3;
    node.offset_z = -0.5;
    node.pitch = 90;
    node.yaw = 0;
    node.roll = 12.5;
    node.pivot_x = 0.001;
    node.pivot_y = -7;
    node.pivot_z = 1e20;
    model->sel_mesh = 2;

    auto content = panel_content(*model, mesh_mode, '.');
    ASSERT_TRUE(content);
    EXPECT_EQ(content->page, Page::mesh_page);
    EXPECT_EQ(content->caption, "MESH: 2");
    const std::vector<std::string> expected{
        "wheel", "4",    "3", "1",    "node1", "0x0", "0x00010", "-1",    "3",  "5",
        "16",    "1.25", "3", "-0.5", "90",    "0",   "12.5",    "0.001", "-7", "1E20"};
    EXPECT_EQ(content->values, expected);

    EXPECT_EQ(values(mesh_mode, ',')[11], "1,25");
    EXPECT_EQ(values(mesh_mode, ',')[12], "3");
}

TEST_F(PanelContentTest, SelectedNode)
{
    struct Case {
        std::vector<int> node_meshes;
        int sel_mesh;
        int node;
    };
    const Case cases[] = {
        {{}, 0, 0},                           // no nodes: the spare slot 0
        {{0, 1, 2}, 1, 1}, {{3, 1, 1}, 1, 1}, // two nodes name the mesh: the lower one
        {{0, 2}, 1, 2},                       // no node names it: slot node_count
        {{-1, -1}, 0, 2},                     // -1 is 255 as a byte, never a mesh
        {{0, 32}, 32, 1},                     // the spare mesh slot can be named
    };
    for (const Case& c : cases) {
        model = make_model();
        for (std::size_t i = 0; i < c.node_meshes.size(); ++i) {
            model->nodes[i].mesh = c.node_meshes[i];
        }
        model->node_count = static_cast<long long>(c.node_meshes.size());
        model->sel_mesh = c.sel_mesh;
        EXPECT_EQ(selected_node(*model), c.node) << "sel_mesh " << c.sel_mesh;
    }
}

TEST_F(PanelContentTest, MeshWithoutNodeShowsSpareSlot)
{
    add_nodes({0, 1});
    model->sel_mesh = 5;
    const auto v = values(mesh_mode);
    EXPECT_EQ(v[4], "");  // Node Name
    EXPECT_EQ(v[6], "");  // +Node Type
    EXPECT_EQ(v[7], "0"); // Node Parent of an untouched slot
    EXPECT_EQ(v[11], "0");

    // Whatever an earlier load left in the spare slot shows.
    model->nodes[2].node_name = "left over";
    model->nodes[2].parent = -1;
    EXPECT_EQ(values(mesh_mode)[4], "left over");
    EXPECT_EQ(values(mesh_mode)[7], "-1");
}

TEST_F(PanelContentTest, FacePage)
{
    type_faces& face = model->mesh(1).faces[7];
    face.face_material = "dflt.mat";
    face.face_type = "0x0005";
    face.geo = 4;
    face.light = 3;
    face.tex = 2;
    model->sel_mesh = 1;
    model->sel_face = 7;
    auto content = panel_content(*model, face_mode, '.');
    ASSERT_TRUE(content);
    EXPECT_EQ(content->page, Page::face_page);
    EXPECT_EQ(content->caption, "FACE: 7");
    EXPECT_EQ(content->values, (std::vector<std::string>{"dflt.mat", "0x0005", "4", "3", "2"}));
}

TEST_F(PanelContentTest, VertexPage)
{
    type_vertex& vertex = model->mesh(3).vertices[500];
    vertex.x = 0.5;
    vertex.y = -2;
    vertex.z = 0.0123;
    model->sel_mesh = 3;
    model->sel_vertex = 500; // one past the last possible vertex: the spare slot
    auto content = panel_content(*model, vertex_mode, ',');
    ASSERT_TRUE(content);
    EXPECT_EQ(content->page, Page::vertex_page);
    EXPECT_EQ(content->caption, "VERTEX: 500");
    EXPECT_EQ(content->values, (std::vector<std::string>{"0,5", "-2", "0,0123"}));
}

TEST_F(PanelContentTest, OnlyGeosetZeroIsShown)
{
    model->geoset_count = 2;
    model->geosets[1].meshes[0].name = "other";
    model->geosets[0].meshes[0].name = "first";
    EXPECT_EQ(values(mesh_mode)[0], "first");
}

TEST_F(PanelContentTest, UnknownModeWritesNothing)
{
    EXPECT_FALSE(panel_content(*model, static_cast<EditMode>(3), '.'));
    EXPECT_FALSE(panel_content(*model, static_cast<EditMode>(255), '.'));
}

} // namespace
} // namespace facetor
