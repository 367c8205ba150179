#include "model/selection_set.h"

#include <algorithm>

#include "model/model.h"

namespace facetor {

namespace {

bool holds(const SelectionSet& set, int index)
{
    const auto end = set.items.begin() + set.count;
    return std::find(set.items.begin(), end, index) != end;
}

bool stands(const type_model& model, EditMode mode)
{
    const SelectionSet& set = model.selection;
    if (set.count == 0 || set.mode != mode || set.mesh != model.sel_mesh) {
        return false;
    }
    const int count = element_count(model, mode);
    const auto end = set.items.begin() + set.count;
    return holds(set, active_index(model, mode)) &&
           std::all_of(set.items.begin(), end, [count](int i) { return i < count; });
}

void set_active(type_model& model, EditMode mode, int index)
{
    if (mode == face_mode) {
        model.sel_face = index;
    } else {
        model.sel_vertex = index;
    }
}

} // namespace

int active_index(const type_model& model, EditMode mode)
{
    switch (mode) {
    case face_mode:
        return model.sel_face;
    case vertex_mode:
        return model.sel_vertex;
    case mesh_mode:
        break;
    }
    return -1;
}

int element_count(const type_model& model, EditMode mode)
{
    if (model.sel_mesh >= model.geosets[0].mesh_count) {
        return 0;
    }
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    switch (mode) {
    case face_mode:
        return mesh.face_count;
    case vertex_mode:
        return mesh.vertex_count;
    case mesh_mode:
        break;
    }
    return 0;
}

std::vector<int> selected_indices(const type_model& model, EditMode mode)
{
    if (mode != face_mode && mode != vertex_mode) {
        return {};
    }
    if (!stands(model, mode)) {
        return {active_index(model, mode)};
    }
    const SelectionSet& set = model.selection;
    return {set.items.begin(), set.items.begin() + set.count};
}

std::vector<int> selected_elements(const type_model& model, EditMode mode)
{
    std::vector<int> indices = selected_indices(model, mode);
    const int count = element_count(model, mode);
    if (!indices.empty() && indices.front() >= count) {
        indices.clear(); // the active element alone, past the count
    }
    return indices;
}

void clear_selection(type_model& model)
{
    model.selection.count = 0;
}

void select_elements(type_model& model, EditMode mode, std::span<const int> indices, int active)
{
    SelectionSet& set = model.selection;
    set.count = 0;
    if (indices.empty() || indices.size() > set.items.size()) {
        return;
    }
    set.mode = mode;
    set.mesh = model.sel_mesh;
    for (const int i : indices) {
        set.items[set.count++] = static_cast<std::uint16_t>(i);
    }
    set_active(model, mode, active);
}

void toggle_selected(type_model& model, EditMode mode, int index)
{
    std::vector<int> indices = selected_elements(model, mode);
    const auto at = std::find(indices.begin(), indices.end(), index);
    int active = index;
    if (at == indices.end()) {
        indices.push_back(index);
    } else if (index != active_index(model, mode)) {
        indices.erase(at);
        active = active_index(model, mode);
    }
    select_elements(model, mode, indices, active);
}

bool select_all(type_model& model, EditMode mode)
{
    const int count = element_count(model, mode);
    if (count == 0) {
        return false;
    }
    std::vector<int> all(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        all[static_cast<std::size_t>(i)] = i;
    }
    const int active = active_index(model, mode);
    select_elements(model, mode, all, active < count ? active : 0);
    return true;
}

} // namespace facetor
