#include "editing/edit_step.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace facetor {

namespace {

bool moves_nodes(const EditStep& step)
{
    return std::any_of(step.numbers.begin(), step.numbers.end(),
                       [](const NumberChange& c) { return places_nodes(c.at.field); });
}

// Each field appears once in a step, so the order of the writes does not
// matter; the reverse order is kept for undo all the same.
template <bool After> void apply(type_model& model, const EditStep& step)
{
    if constexpr (After) {
        for (const ElementChange& c : step.elements) {
            apply_element(model, c, true);
        }
        for (const NumberChange& c : step.numbers) {
            set_number(model, c.at, c.after);
        }
        for (const TextChange& c : step.texts) {
            set_text(model, c.at, c.after);
        }
    } else {
        for (auto c = step.texts.rbegin(); c != step.texts.rend(); ++c) {
            set_text(model, c->at, c->before);
        }
        for (auto c = step.numbers.rbegin(); c != step.numbers.rend(); ++c) {
            set_number(model, c->at, c->before);
        }
        for (auto c = step.elements.rbegin(); c != step.elements.rend(); ++c) {
            apply_element(model, *c, false);
        }
    }
    if (moves_nodes(step)) {
        place_nodes(model);
    }
    select(model, After ? step.selection_after : step.selection_before);
}

} // namespace

Selection selection_of(const type_model& model)
{
    const SelectionSet& set = model.selection;
    return {model.sel_mesh, model.sel_face, model.sel_vertex,
            set.mode,       set.mesh,       {set.items.begin(), set.items.begin() + set.count}};
}

void select(type_model& model, const Selection& selection)
{
    model.sel_mesh = selection.mesh;
    model.sel_face = selection.face;
    model.sel_vertex = selection.vertex;
    SelectionSet& set = model.selection;
    set.mode = selection.set_mode;
    set.mesh = selection.set_mesh;
    set.count = static_cast<std::uint16_t>(std::min(selection.set.size(), set.items.size()));
    std::copy_n(selection.set.begin(), set.count, set.items.begin());
}

std::size_t EditStep::bytes() const
{
    std::size_t total = sizeof(EditStep) + name.capacity() +
                        numbers.capacity() * sizeof(NumberChange) +
                        texts.capacity() * sizeof(TextChange);
    for (const TextChange& c : texts) {
        total += c.before.capacity() + c.after.capacity();
    }
    total += elements.capacity() * sizeof(ElementChange);
    for (const ElementChange& c : elements) {
        total += element_bytes(c);
    }
    total +=
        (selection_before.set.capacity() + selection_after.set.capacity()) * sizeof(std::uint16_t);
    return total;
}

void apply_after(type_model& model, const EditStep& step)
{
    apply<true>(model, step);
}

void apply_before(type_model& model, const EditStep& step)
{
    apply<false>(model, step);
}

bool same_bits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

StepRecorder::StepRecorder(const type_model& model, std::string name)
{
    step_.name = std::move(name);
    step_.selection_before = selection_of(model);
}

void StepRecorder::record(const type_model& model, FieldRef at)
{
    if (!recorded_.insert(at.key()).second) {
        return;
    }
    if (is_text(at.field)) {
        const std::string& value = text_of(model, at);
        step_.texts.push_back({at, value, value});
    } else {
        const double value = number_of(model, at);
        step_.numbers.push_back({at, value, value});
    }
}

void StepRecorder::record_vertex(const type_model& model, int mesh, int vertex)
{
    for (const Field f : {Field::vertex_x, Field::vertex_y, Field::vertex_z}) {
        record(model, {f, static_cast<std::uint8_t>(mesh), static_cast<std::uint16_t>(vertex)});
    }
}

void StepRecorder::set(type_model& model, FieldRef at, double value)
{
    record(model, at);
    set_number(model, at, value);
}

void StepRecorder::apply(type_model& model, ElementChange change)
{
    if (!recorded_.empty()) {
        throw std::logic_error("an element change after a field change");
    }
    apply_element(model, change, true);
    step_.elements.push_back(std::move(change));
}

EditStep StepRecorder::finish(const type_model& model) &&
{
    std::erase_if(step_.numbers, [&](NumberChange& c) {
        c.after = number_of(model, c.at);
        return same_bits(c.before, c.after);
    });
    std::erase_if(step_.texts, [&](TextChange& c) {
        c.after = text_of(model, c.at);
        return c.before == c.after;
    });
    step_.elements.shrink_to_fit();
    step_.numbers.shrink_to_fit();
    step_.texts.shrink_to_fit();
    step_.selection_after = selection_of(model);
    return std::move(step_);
}

EditStep set_field(type_model& model, FieldRef at, double value)
{
    if (same_bits(number_of(model, at), value)) {
        return {};
    }
    StepRecorder recorder(model, std::string(step_name(at.field)));
    recorder.record(model, at);
    set_number(model, at, value);
    if (places_nodes(at.field)) {
        place_nodes(model);
    }
    return std::move(recorder).finish(model);
}

EditStep set_field(type_model& model, FieldRef at, const std::string& value)
{
    if (text_of(model, at) == value) {
        return {};
    }
    StepRecorder recorder(model, std::string(step_name(at.field)));
    recorder.record(model, at);
    set_text(model, at, value);
    return std::move(recorder).finish(model);
}

} // namespace facetor
