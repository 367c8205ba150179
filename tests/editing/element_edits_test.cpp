// The commands that add to the model and take from it, on small models:
// the model each leaves, its undo and redo, the capacities, and what is
// greyed.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>

#include "editing/clipboard.h"
#include "editing/command_states.h"
#include "editing/element_edits.h"
#include "editing/element_models.h"
#include "editing/mesh_creation.h"
#include "model/selection_set.h"

namespace facetor {
namespace {

using test::build;
using test::fields;
using test::ModelPlan;

using Command = std::function<EditOutcome(type_model&, EditMode)>;

// Selects vertices or faces in order, the last one active, as Shift+presses do.
std::function<void(type_model&)> picks(EditMode mode, std::vector<int> order, int mesh = 0)
{
    return [=](type_model& m) {
        m.sel_mesh = mesh;
        (mode == face_mode ? m.sel_face : m.sel_vertex) = order.front();
        for (std::size_t i = 1; i < order.size(); ++i) {
            toggle_selected(m, mode, order[i]);
        }
    };
}

ModelPlan bare_model()
{
    return {{}, {{"bare", 0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, {}, {}}}, {{"bare", 0}}};
}

constexpr test::Point k_up{0, 0, 1};

TEST(ElementEdits, EachCommandLeavesTheExpectedModelAndUndoesExactly)
{
    struct Case {
        const char* name;
        ModelPlan (*base)();
        EditMode mode;
        std::function<void(type_model&)> select;
        Command command;
        std::function<void(ModelPlan&)> expect;
        std::array<int, 3> after; // sel_mesh, sel_face, sel_vertex
    };
    const Case cases[] = {
        {"Create Vertex",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {4}),
         create_vertex,
         [](ModelPlan& s) {
             s.meshes[0].vertices.push_back({1, 1, 0});
         },
         {0, 0, 6}},
        {"Delete Vertex",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {2}),
         delete_vertices,
         [](ModelPlan& s) {
             auto& gem = s.meshes[0];
             gem.vertices.erase(gem.vertices.begin() + 2);
             gem.faces = {{"red.mat", {{0, 0}, {1, 1}, {3, 2}, {2, 0}}},
                          {"red.mat", {{0, 0}, {3, 2}, {2, 1}}}};
         },
         {0, 0, 0}},
        {"Delete Vertices",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {1, 5}),
         delete_selection,
         [](ModelPlan& s) {
             auto& gem = s.meshes[0];
             gem.vertices = {{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}};
             gem.faces = {{"red.mat", {{0, 0}, {3, 2}, {2, 1}}}};
         },
         {0, 0, 0}},
        {"Create Face",
         test::strip_model,
         vertex_mode,
         [](type_model& m) {
             m.sel_face = 1; // the blue quad gives its material
             picks(vertex_mode, {2, 5, 4})(m);
         },
         create_face,
         [](ModelPlan& s) {
             auto& gem = s.meshes[0];
             gem.faces.push_back({"blue.mat", {{2, 0}, {5, 0}, {4, 0}}});
             gem.normals = {{1, 0, 0}, {1, 0, 0}, k_up, {1, 0, 0}, k_up, k_up};
         },
         {0, 3, 4}},
        {"Create Face in a bare mesh",
         bare_model,
         vertex_mode,
         [](type_model& m) { select_all(m, vertex_mode); },
         create_face,
         [](ModelPlan& s) {
             s.materials = {k_default_material};
             auto& bare = s.meshes[0];
             bare.tvertices = {{0, 0}};
             bare.faces = {{k_default_material, {{0, 0}, {1, 0}, {2, 0}}}};
             bare.normals = {k_up, k_up, k_up};
         },
         {0, 0, 0}},
        {"Delete Faces",
         test::strip_model,
         face_mode,
         picks(face_mode, {0, 2}),
         delete_faces,
         [](ModelPlan& s) { s.meshes[0].faces = {s.meshes[0].faces[1]}; },
         {0, 0, 0}},
        {"Carve Face",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {0, 4}),
         carve_face,
         [](ModelPlan& s) {
             auto& gem = s.meshes[0];
             gem.faces[0].corners = {{0, 0}, {1, 1}, {4, 2}};
             gem.faces.push_back({"red.mat", {{4, 2}, {3, 0}, {0, 0}}});
             gem.normals = {k_up, k_up, {1, 0, 0}, k_up, k_up, {1, 0, 0}};
         },
         {0, 0, 4}},
        {"Delete Mesh",
         test::strip_model,
         mesh_mode,
         [](type_model&) {},
         delete_selection,
         [](ModelPlan& s) {
             s.meshes.erase(s.meshes.begin());
             s.nodes[0].mesh = 0;
             s.nodes[1].mesh = -1; // carries none, stays in the tree
         },
         {0, 0, 0}},
        {"Create Mesh",
         test::strip_model,
         mesh_mode,
         [](type_model&) {},
         [](type_model& m, EditMode) { return create_mesh(m, "cap", 2, 1.0); },
         [](ModelPlan& s) {
             s.meshes.push_back({"cap",
                                 std::sqrt(0.5),
                                 {{0.5, 0.5, 0}, {-0.5, 0.5, 0}, {0, -0.5, 0}},
                                 {k_up, k_up, k_up},
                                 {{0, 1}, {1, 1}, {0.5, 0}},
                                 {{"red.mat", {{0, 0}, {1, 1}, {2, 2}}}}});
             s.nodes[0].sibling = 2;
             s.nodes.push_back({"cap", 2});
         },
         {2, 0, 0}},
        {"Paste",
         test::strip_model,
         face_mode,
         picks(face_mode, {2}),
         [](type_model& m, EditMode mode) {
             const Clipboard copy = copy_faces(m, mode);
             m.sel_mesh = 1; // into the plinth
             return paste_faces(m, mode, copy);
         },
         [](ModelPlan& s) {
             auto& plinth = s.meshes[1];
             plinth.vertices.insert(plinth.vertices.end(), {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}});
             plinth.normals = {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, k_up, k_up, k_up};
             plinth.tvertices.insert(plinth.tvertices.end(), {{0, 0}, {1, 1}, {1, 0}});
             plinth.faces.push_back({"red.mat", {{3, 1}, {4, 2}, {5, 3}}});
         },
         {1, 1, 3}},
    };
    for (const Case& c : cases) {
        ModelPlan expected = c.base();
        c.expect(expected);
        auto model = build(c.base());
        const std::string original = fields(*model, DumpSlots::all);
        c.select(*model);
        EditOutcome outcome = c.command(*model, c.mode);
        EXPECT_EQ(outcome.refusal, "") << c.name;
        EXPECT_EQ(std::string(c.name).rfind(outcome.step.name, 0), 0u) << outcome.step.name;
        EXPECT_EQ(fields(*model), fields(*build(expected))) << c.name;
        EXPECT_EQ((std::array<int, 3>{model->sel_mesh, model->sel_face, model->sel_vertex}),
                  c.after)
            << c.name;

        apply_before(*model, outcome.step);
        EXPECT_EQ(fields(*model, DumpSlots::all), original) << c.name << ": undone";
        apply_after(*model, outcome.step);
        EXPECT_EQ(fields(*model), fields(*build(expected))) << c.name << ": redone";
    }
}

// One mesh "gem" of `vertices` vertices, `faces` quads (or triangles under
// four vertices) and `tvertices` texture vertices; `meshes` - 1 meshes more;
// a root carrying the gem with `nodes` - 1 children (a loop, none a root,
// when `rooted` is false); `materials` materials, the first the faces'.
ModelPlan sized(int vertices, int faces, int tvertices, int materials = 1, int meshes = 1,
                int nodes = 1, bool rooted = true)
{
    ModelPlan s;
    for (int i = 0; i < materials; ++i) {
        s.materials.push_back("m" + std::to_string(i) + ".mat");
    }
    test::MeshPlan gem;
    gem.name = "gem";
    for (int v = 0; v < vertices; ++v) {
        gem.vertices.push_back({v % 2 * 1.0, v / 2 % 2 * 1.0, v * 0.5});
    }
    gem.tvertices.resize(static_cast<std::size_t>(tvertices));
    const std::vector<std::pair<int, int>> quad = {{0, 0}, {1, 0}, {3, 0}, {2, 0}};
    for (int f = 0; f < faces; ++f) {
        gem.faces.push_back({"m0.mat", {quad.begin(), quad.begin() + (vertices < 4 ? 3 : 4)}});
    }
    s.meshes.push_back(gem);
    for (int m = 1; m < meshes; ++m) {
        s.meshes.emplace_back().name = "m" + std::to_string(m);
    }
    for (int n = 0; n < nodes; ++n) {
        s.nodes.push_back(
            {"n", n == 0 ? 0 : (n < meshes ? n : -1), n == 0 ? (rooted ? -1 : 1) : 0});
    }
    return s;
}

TEST(ElementEdits, CapacitiesRefuseWithTheReason)
{
    const auto copy_paste = [](type_model& m, EditMode mode) {
        return paste_faces(m, mode, copy_faces(m, mode));
    };
    const auto new_mesh = [](type_model& m, EditMode) { return create_mesh(m, "cap", 2, 1); };
    const auto none = [](type_model&) {};
    const auto all_of = [](int n) {
        std::vector<int> v(static_cast<std::size_t>(n));
        std::iota(v.begin(), v.end(), 0);
        return v;
    };
    struct Case {
        ModelPlan plan;
        EditMode mode;
        std::function<void(type_model&)> select;
        Command command;
        const char* refusal; // "" when it is done, nullptr when there is nothing to act on
        bool CommandStates::*state;
    };
    const Case cases[] = {
        {sized(499, 0, 0), vertex_mode, none, create_vertex, "", &CommandStates::create_vertex},
        {sized(500, 0, 0), vertex_mode, none, create_vertex,
         "Mesh gem holds 500 vertices, the most a mesh can hold", &CommandStates::create_vertex},
        {sized(3, 499, 1), vertex_mode, picks(vertex_mode, {0, 1, 2}), create_face, "",
         &CommandStates::create_face},
        {sized(3, 500, 1), vertex_mode, picks(vertex_mode, {0, 1, 2}), create_face,
         "Mesh gem holds 500 faces, the most a mesh can hold", &CommandStates::create_face},
        {sized(11, 0, 1), vertex_mode, picks(vertex_mode, all_of(10)), create_face, "",
         &CommandStates::create_face},
        {sized(11, 0, 1), vertex_mode, picks(vertex_mode, all_of(11)), create_face,
         "A face has at most 10 corners; 11 vertices are selected", &CommandStates::create_face},
        {sized(3, 0, 1, 0), vertex_mode, picks(vertex_mode, {0, 1, 2}), create_face, "",
         &CommandStates::create_face},
        {sized(3, 1, 1, 64), vertex_mode,
         [](type_model& m) {
             m.mesh(0).faces[0].face_material = "new.mat";
             picks(vertex_mode, {0, 1, 2})(m);
         },
         create_face, "The model holds 64 materials, the most a model can hold",
         &CommandStates::create_face},
        {sized(4, 499, 1), vertex_mode, picks(vertex_mode, {0, 3}), carve_face, "",
         &CommandStates::carve_face},
        {sized(4, 500, 1), vertex_mode, picks(vertex_mode, {0, 3}), carve_face,
         "Mesh gem holds 500 faces, the most a mesh can hold", &CommandStates::carve_face},
        {sized(4, 1, 1), vertex_mode, picks(vertex_mode, {0, 1}), carve_face, nullptr,
         &CommandStates::carve_face},
        {sized(496, 1, 1), face_mode, none, copy_paste, "", &CommandStates::paste},
        {sized(497, 1, 1), face_mode, none, copy_paste,
         "Mesh gem holds 497 vertices; 4 more would pass the 500 a mesh can hold",
         &CommandStates::paste},
        {sized(4, 1, 500), face_mode, none, copy_paste, "",
         &CommandStates::paste}, // the new one is texture vertex 500
        {sized(4, 1, 501), face_mode, none, copy_paste,
         "Mesh gem holds 501 texture vertices, the most a face corner can name",
         &CommandStates::paste},
        {sized(3, 1, 1, 1, 31), mesh_mode, none, new_mesh, "", &CommandStates::create_mesh},
        {sized(3, 1, 1, 1, 32), mesh_mode, none, new_mesh,
         "Geoset 0 holds 32 meshes, the most a geoset can hold", &CommandStates::create_mesh},
        {sized(3, 1, 1, 1, 1, 32), mesh_mode, none, new_mesh, "",
         &CommandStates::create_mesh}, // node 32: links reach it
        {sized(3, 1, 1, 1, 1, 33), mesh_mode, none, new_mesh, nullptr, &CommandStates::create_mesh},
        {sized(3, 1, 1, 1, 1, 35, false), mesh_mode, none, new_mesh,
         "The model holds 35 nodes, the most a model can hold", &CommandStates::create_mesh},
    };
    for (const Case& c : cases) {
        auto model = build(c.plan);
        c.select(*model);
        const std::string before = fields(*model, DumpSlots::all);
        const CommandStates states = command_states(*model, c.mode, true);
        const EditOutcome outcome = c.command(*model, c.mode);
        const std::string shown = c.refusal == nullptr ? "nothing to act on" : c.refusal;
        EXPECT_EQ(outcome.refusal, c.refusal == nullptr ? "" : c.refusal) << shown;
        EXPECT_EQ(outcome.step.empty(), c.refusal == nullptr || *c.refusal != 0) << shown;
        if (!outcome.step.empty()) {
            continue;
        }
        EXPECT_EQ(fields(*model, DumpSlots::all), before) << shown;
        // Refused for a capacity: enabled, so that it can say why.
        EXPECT_EQ(states.*c.state, c.refusal != nullptr) << shown;
    }
}

TEST(ElementEdits, CommandsWithNothingToActOnAreGreyed)
{
    struct Case {
        EditMode mode;
        std::function<void(type_model&)> select;
        bool clipboard;
        // Create Vertex, Delete Vertex, Create Face, Delete Face, Carve Face,
        // Create Mesh, Copy, Paste, Delete, Select All.
        const char* enabled;
    };
    const Case cases[] = {
        {mesh_mode, [](type_model&) {}, true, "0000010010"},
        {mesh_mode, [](type_model& m) { m.sel_mesh = 2; }, true, "0000010000"},
        {vertex_mode, picks(vertex_mode, {0}), false, "1100010011"},
        {vertex_mode, picks(vertex_mode, {0, 1}), false, "1100010011"}, // neighbours
        {vertex_mode, picks(vertex_mode, {0, 4}), false, "1100110011"},
        {vertex_mode, picks(vertex_mode, {0, 4, 5}), false, "1110010011"},
        {vertex_mode, [](type_model& m) { m.sel_vertex = 6; }, false, "0000010001"},
        {face_mode, picks(face_mode, {1, 2}), false, "0001011011"},
        {face_mode, picks(face_mode, {1}), true, "0001011111"},
        {face_mode, [](type_model& m) { m.sel_face = 3; }, true, "0000010101"},
    };
    for (const Case& c : cases) {
        auto model = build(test::strip_model());
        c.select(*model);
        const CommandStates s = command_states(*model, c.mode, c.clipboard);
        std::string got;
        for (const bool b :
             {s.create_vertex, s.delete_vertex, s.create_face, s.delete_face, s.carve_face,
              s.create_mesh, s.copy, s.paste, s.delete_selection, s.select_all}) {
            got += b ? '1' : '0';
        }
        EXPECT_EQ(got, c.enabled) << int{c.mode} << " " << c.enabled;
    }
}

} // namespace
} // namespace facetor
