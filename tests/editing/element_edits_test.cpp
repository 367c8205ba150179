// The commands that add to the model and take from it, on small models:
// the model each leaves, its undo and redo, the capacities, and what is
// greyed.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

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
using test::ModelSpec;

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

ModelSpec bare_model()
{
    return {{}, {{"bare", 0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, {}, {}}}, {{"bare", 0}}};
}

constexpr test::Point k_up{0, 0, 1};

TEST(ElementEdits, EachCommandLeavesTheExpectedModelAndUndoesExactly)
{
    struct Case {
        const char* name;
        ModelSpec (*base)();
        EditMode mode;
        std::function<void(type_model&)> select;
        Command command;
        std::function<void(ModelSpec&)> expect;
        std::array<int, 3> after; // sel_mesh, sel_face, sel_vertex
    };
    const Case cases[] = {
        {"Create Vertex",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {4}),
         create_vertex,
         [](ModelSpec& s) {
             s.meshes[0].vertices.push_back({1, 1, 0});
         },
         {0, 0, 6}},
        {"Delete Vertex",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {2}),
         delete_vertices,
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
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
         [](ModelSpec& s) { s.meshes[0].faces = {s.meshes[0].faces[1]}; },
         {0, 0, 0}},
        {"Carve Face",
         test::strip_model,
         vertex_mode,
         picks(vertex_mode, {0, 4}),
         carve_face,
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
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
         [](ModelSpec& s) {
             auto& plinth = s.meshes[1];
             plinth.vertices.insert(plinth.vertices.end(), {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}});
             plinth.normals = {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, k_up, k_up, k_up};
             plinth.tvertices.insert(plinth.tvertices.end(), {{0, 0}, {1, 1}, {1, 0}});
             plinth.faces.push_back({"red.mat", {{3, 1}, {4, 2}, {5, 3}}});
         },
         {1, 1, 3}},
    };
    for (const Case& c : cases) {
        ModelSpec expected = c.base();
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

} // namespace
} // namespace facetor
