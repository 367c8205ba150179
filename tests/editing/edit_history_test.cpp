#include "editing/edit_history.h"

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <limits>
#include <memory>
#include <sstream>

#include "editing/document.h"
#include "model/dump.h"
#include "model/errors.h"

namespace facetor {
namespace {

// One mesh of four vertices carried by node 0, which hangs under node 1.
std::unique_ptr<type_model> small_model()
{
    auto model = make_model();
    model->geoset_count = 1;
    model->geosets[0].mesh_count = 1;
    type_mesh& mesh = model->mesh(0);
    mesh.name = "gem";
    mesh.vertex_count = 4;
    for (int v = 0; v < 4; ++v) {
        mesh.vertices[v] = {v * 0.25, 1.0 / 3, 0.0, 0, {}, {}};
    }
    model->node_count = 2;
    model->nodes[0].mesh = 0;
    model->nodes[0].parent = 1;
    model->nodes[1].mesh = -1;
    model->nodes[1].parent = -1;
    model->nodes[1].offset_x = 2;
    place_nodes(*model);
    return model;
}

// Every field but the selection, which steps restore as they were made.
std::string dump(const type_model& model)
{
    std::ostringstream out;
    dump_model(model, out);
    std::string fields;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("sel_", 0) != 0) {
            fields += line + '\n';
        }
    }
    return fields;
}

FieldRef vertex_field(Field f, int v)
{
    return {f, 0, static_cast<std::uint16_t>(v)};
}

TEST(EditHistory, UndoAndRedoRestoreEveryStepExactly)
{
    auto model = small_model();
    EditHistory history;
    std::vector<std::string> states{dump(*model)};
    const auto step = [&](EditStep s) {
        ASSERT_FALSE(s.empty()) << s.name;
        history.record(std::move(s));
        states.push_back(dump(*model));
    };
    // Bits a printed value could lose: -0 against 0, a third in full.
    step(set_field(*model, vertex_field(Field::vertex_x, 0), -0.0));
    step(set_field(*model, vertex_field(Field::vertex_y, 1), 0.1 + 0.2));
    model->sel_vertex = 3; // a step keeps the selection it was made in
    step(set_field(*model, {Field::mesh_name, 0, 0}, std::string("ring")));
    step(set_field(*model, {Field::geometry_mode, 0, 0}, 2.0));
    step(set_field(*model, {Field::offset_x, 0, 1}, 5.0)); // the parent moves the mesh
    EXPECT_EQ(model->nodes[0].world_x, 5.0);

    ASSERT_EQ(history.undo_name(), "Set Offset X");
    for (std::size_t back = states.size() - 1; back > 0; --back) {
        ASSERT_NE(history.undo(*model), nullptr);
        EXPECT_EQ(dump(*model), states[back - 1]) << "undo to " << back - 1;
        EXPECT_EQ(model->sel_vertex, back >= 3 ? 3 : 0) << "undo to " << back - 1;
    }
    EXPECT_EQ(history.undo(*model), nullptr);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(model->mesh(0).vertices[0].x), 0u);
    EXPECT_EQ(history.redo_name(), "Set Vertex X");
    for (std::size_t forward = 1; forward < states.size(); ++forward) {
        ASSERT_NE(history.redo(*model), nullptr);
        EXPECT_EQ(dump(*model), states[forward]) << "redo to " << forward;
    }
    EXPECT_FALSE(history.can_redo());
}

TEST(EditHistory, ANewStepDropsWhatCouldBeRedone)
{
    auto model = small_model();
    EditHistory history;
    history.record(set_field(*model, vertex_field(Field::vertex_x, 1), 7.0));
    history.record(set_field(*model, vertex_field(Field::vertex_x, 2), 8.0));
    history.record(EditStep{}); // nothing changed: no step
    EXPECT_EQ(history.size(), 2u);
    history.undo(*model);
    history.record(set_field(*model, vertex_field(Field::vertex_z, 2), 9.0));
    EXPECT_FALSE(history.can_redo());
    EXPECT_EQ(history.size(), 2u);
    EXPECT_EQ(history.undo_name(), "Set Vertex Z");
    // The same value again is no step at all.
    EXPECT_TRUE(set_field(*model, vertex_field(Field::vertex_z, 2), 9.0).empty());
}

TEST(EditHistory, ModifiedExactlyAwayFromTheSavedPosition)
{
    auto model = small_model();
    EditHistory history;
    const auto edit = [&](double x) {
        history.record(set_field(*model, vertex_field(Field::vertex_x, 1), x));
    };
    EXPECT_FALSE(history.modified());
    edit(1);
    edit(2);
    EXPECT_TRUE(history.modified());
    history.undo(*model);
    history.undo(*model);
    EXPECT_FALSE(history.modified()) << "undone back to the file";
    history.redo(*model);
    history.mark_saved();
    history.redo(*model);
    EXPECT_TRUE(history.modified());
    history.undo(*model);
    EXPECT_FALSE(history.modified()) << "back at the save";
    history.undo(*model);
    edit(3); // the saved step can no longer be reached
    history.undo(*model);
    EXPECT_TRUE(history.modified());

    history.clear_unsaved(); // a load that stopped part-way
    EXPECT_TRUE(history.modified());
    EXPECT_FALSE(history.can_undo());
    history.clear();
    EXPECT_FALSE(history.modified());
}

TEST(EditHistory, KeepsAThousandStepsOr64MiBDroppingTheOldest)
{
    auto model = small_model();
    EditHistory history;
    for (int i = 1; i <= 1005; ++i) {
        history.record(set_field(*model, vertex_field(Field::vertex_z, 0), i));
    }
    EXPECT_EQ(history.size(), EditHistory::k_max_steps);
    while (history.undo(*model) != nullptr) {
    }
    EXPECT_EQ(model->mesh(0).vertices[0].z, 5.0); // steps 1..5 went
    EXPECT_TRUE(history.modified()) << "the file's state went with them";

    // Names of 1 MiB: each step holds two.
    history.clear();
    for (int i = 0; i < 40; ++i) {
        history.record(
            set_field(*model, {Field::mesh_name, 0, 0},
                      std::string(std::size_t{1} << 20, static_cast<char>('a' + i % 2))));
    }
    EXPECT_LE(history.bytes(), EditHistory::k_max_bytes);
    EXPECT_LT(history.size(), 40u);
    EXPECT_GT(history.size(), 20u);
}

TEST(StepRecorder, KeepsOnlyWhatChangedOncePerField)
{
    auto model = small_model();
    StepRecorder drag(*model, "Move Mesh");
    for (int v = 0; v < 4; ++v) {
        drag.record_vertex(*model, 0, v);
    }
    for (int tick = 0; tick < 3; ++tick) {
        for (int v = 0; v < 4; ++v) {
            drag.record_vertex(*model, 0, v); // recorded already: kept from the first
            model->mesh(0).vertices[v].x += 0.5;
        }
    }
    model->mesh(0).vertices[2].x -= 1.5; // back where it was
    const EditStep step = std::move(drag).finish(*model);
    EXPECT_EQ(step.name, "Move Mesh");
    ASSERT_EQ(step.numbers.size(), 3u); // x of vertices 0, 1, 3; no y or z
    EXPECT_EQ(step.numbers[0].before, 0.0);
    EXPECT_EQ(step.numbers[0].after, 1.5);
    EXPECT_TRUE(step.texts.empty());
}

TEST(ModelDocument, TracksItsFileAndWhatSaveNeeds)
{
    ModelDocument doc;
    EXPECT_EQ(doc.path(), "dflt.3do");
    EXPECT_EQ(doc.close_question(), "Save changes to dflt.3do before closing?");
    doc.load_failed();
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.save_needs_path());
    doc.saved("/work/models/ring.3do");
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.save_needs_path());
    EXPECT_EQ(doc.close_question(), "Save changes to ring.3do before closing?");
    EXPECT_EQ(save_failure_text("/x/file/a.3do", FileError(ENOTDIR)),
              "Cannot save /x/file/a.3do: Not a directory");
}

} // namespace
} // namespace facetor
