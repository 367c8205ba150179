#include "model/model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/errors.h"
#include "model/node_tree.h"

namespace facetor {
namespace {

struct RangedCase {
    const char* name;
    std::function<void(type_model&, long long)> store;
    std::function<long long(const type_model&)> load;
    long long low, high;
};

// One field of each storage type and signedness: the ranged type must refuse
// values that would fit the storage but not the range, and values that
// would wrap into it.
TEST(Model, RangedFieldsAdmitTheirRangeAndKeepTheirValueOtherwise)
{
    const RangedCase cases[] = {
        {"geoset_count", [](type_model& m, long long v) { m.geoset_count = v; },
         [](const type_model& m) -> long long { return m.geoset_count; }, 0, 4},
        {"tvertex_count", [](type_model& m, long long v) { m.mesh(0).tvertex_count = v; },
         [](const type_model& m) -> long long { return m.mesh(0).tvertex_count; }, 0, 2000},
        {"corner_tvertex",
         [](type_model& m, long long v) { m.mesh(0).faces[0].corner_tvertex[10] = v; },
         [](const type_model& m) -> long long { return m.mesh(0).faces[0].corner_tvertex[10]; }, 0,
         500},
        {"node parent", [](type_model& m, long long v) { m.nodes[0].parent = v; },
         [](const type_model& m) -> long long { return m.nodes[0].parent; }, -1, 32},
    };
    const auto model = make_model();
    for (const RangedCase& c : cases) {
        for (const long long v : {c.low, c.high}) {
            c.store(*model, v);
            EXPECT_EQ(c.load(*model), v) << c.name;
        }
        for (const long long v : {c.low - 1, c.high + 1, c.high + 256, c.high + 65536}) {
            EXPECT_THROW(c.store(*model, v), RangeError) << c.name << " " << v;
            EXPECT_EQ(c.load(*model), c.high) << c.name << " " << v;
        }
    }
}

struct Offsets {
    double x, y, z;
};

void set_node(type_model& m, int n, int mesh, int parent, Offsets offset, Offsets pivot)
{
    type_hierarchy& node = m.nodes[n];
    node.mesh = mesh;
    node.parent = parent;
    node.offset_x = offset.x;
    node.offset_y = offset.y;
    node.offset_z = offset.z;
    node.pivot_x = pivot.x;
    node.pivot_y = pivot.y;
    node.pivot_z = pivot.z;
    node.pitch = 90; // angles take no part in placement
}

Offsets world(const type_model& m, int n)
{
    return {m.nodes[n].world_x, m.nodes[n].world_y, m.nodes[n].world_z};
}

bool operator==(Offsets a, Offsets b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

void PrintTo(Offsets o, std::ostream* os)
{
    *os << "(" << o.x << ", " << o.y << ", " << o.z << ")";
}

TEST(PlaceNodes, AddsTheOffsetsOfEveryAncestorAndTheNodesOwnPivot)
{
    const auto m = make_model();
    m->node_count = 4;
    set_node(*m, 0, 0, -1, {1, 2, 3}, {0.5, 0.25, 0.125});
    set_node(*m, 1, 1, 0, {10, 20, 30}, {1, 1, 1});
    set_node(*m, 2, 2, 1, {100, 200, 300}, {0, 0, 0});
    set_node(*m, 3, -1, 0, {7, 7, 7}, {7, 7, 7});
    m->nodes[3].world_x = 42;
    m->nodes[3].world_y = 43;
    m->nodes[3].world_z = 44;

    place_nodes(*m);
    EXPECT_EQ(world(*m, 0), (Offsets{1.5, 2.25, 3.125}));
    EXPECT_EQ(world(*m, 1), (Offsets{12, 23, 34}));
    EXPECT_EQ(world(*m, 2), (Offsets{111, 222, 333}));
    EXPECT_EQ(world(*m, 3), (Offsets{42, 43, 44})) << "a node without a mesh keeps its placement";

    place_nodes(*m);
    EXPECT_EQ(world(*m, 2), (Offsets{111, 222, 333})) << "placing again gives the same";
}

TEST(PlaceNodes, EndsOnCyclesAndOnLinksPastTheNodesRead)
{
    const auto m = make_model();
    m->node_count = 4;
    set_node(*m, 0, 0, 1, {1, 0, 0}, {0, 0, 0}); // 0 -> 1 -> 0
    set_node(*m, 1, 1, 0, {10, 0, 0}, {0, 0, 0});
    set_node(*m, 2, 2, 2, {100, 0, 0}, {0, 0, 0}); // its own parent
    set_node(*m, 3, 3, 20, {1000, 0, 0}, {0, 0, 0});
    set_node(*m, 20, 0, -1, {5, 5, 5}, {0, 0, 0}); // a slot beyond node_count
    place_nodes(*m);
    EXPECT_EQ(world(*m, 0).x, 11);
    EXPECT_EQ(world(*m, 1).x, 11);
    EXPECT_EQ(world(*m, 2).x, 100);
    EXPECT_EQ(world(*m, 3).x, 1000);
    EXPECT_EQ(world(*m, 20).x, 0) << "nodes beyond node_count are not placed";
}

// The tree the glTF export and placement share: links that reach a root stay,
// a node whose walk does not becomes a root at its placed offset.
TEST(NodeTree, KeepsLinksThatReachARootAndHangsTheRestFromTheScene)
{
    const auto m = make_model();
    m->node_count = 6;
    set_node(*m, 0, 0, -1, {1, 0, 0}, {0.5, 0, 0});
    set_node(*m, 1, 1, 0, {2, 0, 0}, {0, 0, 0});
    set_node(*m, 2, 0, 3, {4, 0, 0}, {0, 0, 0}); // 2 <-> 3
    set_node(*m, 3, -1, 2, {8, 0, 0}, {0, 0, 0});
    set_node(*m, 4, 1, 20, {16, 0, 0}, {0, 0, 0}); // past the nodes read
    set_node(*m, 5, 0, 4, {32, 0, 0}, {0, 0.25, 0});
    const std::vector<TreeNode> tree = node_tree(*m);
    const struct {
        int parent;
        bool broken;
        double x, mesh_y;
    } expected[] = {{-1, false, 1, 0}, {0, false, 2, 0},  {-1, true, 12, 0},
                    {-1, true, 12, 0}, {-1, true, 16, 0}, {-1, true, 48, 0.25}};
    ASSERT_EQ(tree.size(), 6u);
    for (std::size_t n = 0; n < tree.size(); ++n) {
        EXPECT_EQ(tree[n].parent, expected[n].parent) << n;
        EXPECT_EQ(tree[n].broken, expected[n].broken) << n;
        EXPECT_EQ(tree[n].x, expected[n].x) << n;
        EXPECT_EQ(tree[n].mesh_y, expected[n].mesh_y) << n;
    }
    place_nodes(*m);
    EXPECT_EQ(world(*m, 1), (Offsets{3, 0, 0})) << "the tree's offsets without the parent's pivot";
    EXPECT_EQ(world(*m, 5), (Offsets{48, 0.25, 0}));
}

} // namespace
} // namespace facetor
