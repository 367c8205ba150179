#pragma once
// One undoable step: the elements an edit put in or took out (whole
// records, editing/element_change.h), the fields it changed, each with its
// value before and after, and the selection before and after. Undo writes
// the values before back, bit for bit (doubles included), redo the values
// after.
//
// Redo applies the element changes in their order, then the fields, which
// name elements by the indices they have after them; undo goes the
// reverse way. The selection is put back whole, since the elements it
// names may have been renumbered.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "editing/element_change.h"
#include "editing/model_fields.h"
#include "model/model.h"

namespace facetor {

struct Selection {
    std::uint8_t mesh = 0;
    std::uint16_t face = 0;
    std::uint16_t vertex = 0;
    // The selection of several (model/selection_set.h), as short as it is.
    std::uint8_t set_mode = 0;
    std::uint8_t set_mesh = 0;
    std::vector<std::uint16_t> set;
    friend bool operator==(const Selection&, const Selection&) = default;
};

Selection selection_of(const type_model& model);
void select(type_model& model, const Selection& selection);

struct NumberChange {
    FieldRef at;
    double before = 0, after = 0;
};

struct TextChange {
    FieldRef at;
    std::string before, after;
};

struct EditStep {
    std::string name; // "Move Vertex", for the Undo and Redo captions
    Selection selection_before, selection_after;
    std::vector<ElementChange> elements;
    std::vector<NumberChange> numbers;
    std::vector<TextChange> texts;

    bool empty() const { return elements.empty() && numbers.empty() && texts.empty(); }
    // The memory the step takes, for the history's bound.
    std::size_t bytes() const;
};

// Redo: the elements, the values after, then the selection after. Undo:
// the values before, the elements taken back, then the selection before.
// Each runs node placement again when the step moved a node.
void apply_after(type_model& model, const EditStep& step);
void apply_before(type_model& model, const EditStep& step);

// Whether two doubles are the same bits: -0 differs from 0, and a NaN
// equals itself.
bool same_bits(double a, double b);

// Builds a step while an edit runs: each field is recorded (once) before
// it may change, and `finish` keeps those whose value did.
class StepRecorder {
  public:
    // Starts a step named `name` from the model as it is now.
    StepRecorder(const type_model& model, std::string name);

    void record(const type_model& model, FieldRef at);
    // The vertex's three coordinates.
    void record_vertex(const type_model& model, int mesh, int vertex);
    // Records a number field and sets it.
    void set(type_model& model, FieldRef at, double value);

    // Applies an element change and keeps it. All of them come before the
    // first field is recorded, as redo applies them.
    void apply(type_model& model, ElementChange change);

    // The step of what changed since it was recorded; empty if nothing did.
    EditStep finish(const type_model& model) &&;

  private:
    EditStep step_;
    std::unordered_set<std::uint32_t> recorded_;
};

// The step of setting one field: made and applied, or empty (and nothing
// applied) when the field already holds that value.
EditStep set_field(type_model& model, FieldRef at, double value);
EditStep set_field(type_model& model, FieldRef at, const std::string& value);

} // namespace facetor
