// Random sequences of the editing commands, selections, drags, undos and
// redos never break the model: after each sequence the model writes, reads
// back and writes again to the same bytes, `check --strict` finds nothing,
// undoing every step gives back the model the sequence started from and
// redoing them the one it ended with. Seeded, so a failure repeats.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "bench/max_model.h"
#include "cli/load.h"
#include "cli/strict.h"
#include "editing/clipboard.h"
#include "editing/edit_history.h"
#include "editing/element_edits.h"
#include "editing/element_models.h"
#include "editing/mesh_creation.h"
#include "model/reader.h"
#include "model/selection_set.h"
#include "model/writer.h"
#include "views/navigation.h"
#include "views/picking.h"

namespace facetor {
namespace {

class RandomEditor {
  public:
    RandomEditor(type_model& model, unsigned seed) : model_(model), random_(seed) {}

    EditHistory history;
    int steps = 0; // the steps undo can take back

    void run(int commands)
    {
        for (int i = 0; i < commands; ++i) {
            one_command();
        }
    }

  private:
    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void keep(EditOutcome outcome)
    {
        if (!outcome.step.empty()) {
            history.record(std::move(outcome.step));
            ++steps;
        }
    }

    // A selection as presses make it: one element, then a few Shift+presses.
    void pick_some(int extra)
    {
        const int count = element_count(model_, mode_);
        if (mode_ == mesh_mode || count == 0) {
            return;
        }
        (mode_ == face_mode ? model_.sel_face : model_.sel_vertex) = below(count);
        clear_selection(model_);
        for (int i = 0; i < extra; ++i) {
            toggle_selected(model_, mode_, below(count));
        }
    }

    // Two opposite corners of a face of four or more, for Carve Face.
    void pick_carving()
    {
        const type_mesh& mesh = model_.mesh(model_.sel_mesh);
        if (model_.sel_mesh >= model_.geosets[0].mesh_count || mesh.face_count == 0) {
            return;
        }
        const type_faces& face = mesh.faces[below(mesh.face_count)];
        if (face.corner_count >= 4) {
            mode_ = vertex_mode;
            model_.sel_vertex = face.corner_vertex[1];
            clear_selection(model_);
            toggle_selected(model_, mode_, face.corner_vertex[3]);
        }
    }

    void drag()
    {
        StepRecorder step(model_, "Move");
        const double dx = below(7) - 3, dy = below(7) - 3;
        const int m = model_.sel_mesh;
        for_each_dragged_vertex(model_, mode_, [&](int v) {
            step.record_vertex(model_, m, v);
            model_.mesh(m).vertices[v].x += dx / 64;
            model_.mesh(m).vertices[v].y -= dy / 64;
        });
        keep({std::move(step).finish(model_), {}});
    }

    void one_command()
    {
        switch (below(20)) {
        case 0:
            // Vertex and Face mode, where most commands work, twice as often.
            mode_ = static_cast<EditMode>(below(5) % 3);
            clear_selection(model_);
            break;
        case 1:
            step_selection(model_, mode_, below(2) == 0);
            break;
        case 2:
            model_.sel_mesh = below(model_.geosets[0].mesh_count + 1);
            clear_selection(model_);
            break;
        case 3:
            pick_some(below(4));
            break;
        case 4:
            select_all(model_, mode_);
            break;
        case 5:
            pick_carving();
            keep(carve_face(model_, mode_));
            break;
        case 6:
            keep(create_vertex(model_, mode_));
            break;
        case 7:
            keep(delete_selection(model_, mode_));
            break;
        case 8:
            mode_ = vertex_mode;
            pick_some(2 + below(4));
            keep(create_face(model_, mode_));
            break;
        case 9:
            keep(create_mesh(model_, "part" + std::to_string(below(100)), 1 + below(3),
                             0.01 * (1 + below(10))));
            break;
        case 10:
            if (Clipboard copy = copy_faces(model_, mode_); !copy.empty()) {
                clipboard_ = std::move(copy);
            }
            break;
        case 11:
            keep(paste_faces(model_, mode_, clipboard_));
            break;
        case 12:
        case 13:
            drag();
            break;
        case 14:
        case 15:
            steps -= history.undo(model_) != nullptr ? 1 : 0;
            break;
        case 16:
            steps += history.redo(model_) != nullptr ? 1 : 0;
            break;
        default:
            keep(below(2) == 0 ? delete_faces(model_, mode_) : delete_vertices(model_, mode_));
            break;
        }
    }

    type_model& model_;
    std::mt19937 random_;
    EditMode mode_ = mesh_mode;
    Clipboard clipboard_;
};

std::string written(const type_model& model)
{
    std::ostringstream out;
    EXPECT_EQ(write_3do(model, out), std::vector<std::string>{}) << "the writer changed a value";
    return out.str();
}

std::vector<std::string> strict_check(const std::string& text)
{
    std::istringstream in(text);
    const ModelInput input("-", in);
    auto model = make_model();
    StrictObserver observer;
    std::ostringstream diagnostics;
    if (!load_model(input, *model, diagnostics, &observer)) {
        return {diagnostics.str()};
    }
    return strict_problems(*model, observer, input);
}

// Runs `sequences` random sequences of `length` commands on `model`.
void edit_at_random(type_model& model, unsigned seed, int sequences, int length)
{
    RandomEditor editor(model, seed);
    for (int s = 0; s < sequences; ++s) {
        const std::string start = test::fields(model, DumpSlots::all);
        editor.history.clear();
        editor.steps = 0;
        editor.run(length);

        const std::string text = written(model);
        auto again = make_model();
        ReaderState reader;
        Progress progress;
        read_3do_bytes(text, *again, reader, progress);
        ASSERT_EQ(written(*again), text) << "sequence " << s;
        ASSERT_EQ(strict_check(text), std::vector<std::string>{}) << "sequence " << s;

        const std::string end = test::fields(model, DumpSlots::all);
        int undone = 0;
        while (editor.history.undo(model) != nullptr) {
            ++undone;
        }
        ASSERT_EQ(undone, editor.steps) << "the history's bound dropped a step";
        ASSERT_EQ(test::fields(model, DumpSlots::all), start) << "sequence " << s << " undone";
        for (int i = 0; i < undone; ++i) {
            editor.history.redo(model);
        }
        ASSERT_EQ(test::fields(model, DumpSlots::all), end) << "sequence " << s << " redone";
    }
}

std::unique_ptr<type_model> loaded(const std::string& text)
{
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_bytes(text, *model, reader, progress);
    return model;
}

TEST(EditProperty, TwoThousandCommandsOnTheSample)
{
    std::ifstream file(FACETOR_SOURCE_DIR "/data/dflt.3do", std::ios::binary);
    const std::string sample{std::istreambuf_iterator<char>(file), {}};
    auto model = loaded(sample);
    edit_at_random(*model, 27, 20, 100);
}

TEST(EditProperty, FiftyCommandsOnTheLargestModel)
{
    auto model = loaded(bench::make_max_model_text());
    edit_at_random(*model, 2701, 1, 50);
}

} // namespace
} // namespace facetor
