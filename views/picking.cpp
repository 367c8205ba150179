#include "views/picking.h"

namespace facetor {

namespace {

// The press's test segment runs this far down and right from the pointer.
constexpr std::int32_t k_ray_length = 1000;

enum class CycleKind { face, mesh };

// Face and mesh picks differ only in what is passed over and what is taken.
bool passed_over(const type_model& model, CycleKind kind, int m, int f)
{
    return kind == CycleKind::face ? f == model.sel_face : m == model.sel_mesh;
}

void take(type_model& model, CycleKind kind, int m, int f)
{
    if (kind == CycleKind::face) {
        model.sel_mesh = m;
        model.sel_face = f;
        model.sel_vertex = model.mesh(m).faces[f].corner_vertex[1].get();
    } else {
        model.sel_face = 0;
        model.sel_mesh = m;
        model.sel_vertex = 0;
    }
}

// One scan over the faces of geoset 0; takes the candidate that
// pick_target names, counting from 1.
bool cycle_scan(PickState& pick, type_model& model, CycleKind kind, int view, std::int32_t x,
                std::int32_t y)
{
    pick.pick_skipped = 0;
    bool first_of_cycle = false;
    const int mesh_count = model.geosets[0].mesh_count;
    for (int m = 0; m < mesh_count; ++m) {
        const int face_count = model.mesh(m).face_count;
        for (int f = 0; f < face_count; ++f) {
            if (!face_hit(model, m, f, view, x, y) || passed_over(model, kind, m, f)) {
                continue;
            }
            if (pick.pick_target == 0) {
                pick.pick_target = 1;
                first_of_cycle = true;
            }
            if (pick.pick_target - 1 != pick.pick_skipped) {
                ++pick.pick_skipped;
                continue;
            }
            take(model, kind, m, f);
            if (!first_of_cycle) {
                ++pick.pick_target;
            }
            return true;
        }
    }
    return false;
}

bool cycle_pick(PickState& pick, type_model& model, CycleKind kind, int view, std::int32_t x,
                std::int32_t y)
{
    if (cycle_scan(pick, model, kind, view, x, y)) {
        return true;
    }
    if (pick.pick_target == 0) {
        return false;
    }
    // Past the last candidate: start the cycle again with the first.
    pick.pick_target = 0;
    return cycle_scan(pick, model, kind, view, x, y);
}

bool valid_view(int view)
{
    return view >= 1 && view <= 3;
}

} // namespace

bool segment_intersect(float ax, float ay, float bx, float by, float px, float py, float qx,
                       float qy, float& x, float& y, float& u)
{
    const float d = (bx - ax) * (qy - py) - (by - ay) * (qx - px);
    if (d == 0) {
        return false;
    }
    const float t = ((ay - py) * (qx - px) - (ax - px) * (qy - py)) / d;
    x = ax + t * (bx - ax);
    y = ay + t * (by - ay);
    const float s = ((ay - py) * (bx - ax) - (ax - px) * (by - ay)) / d;
    if (t >= 0 && t <= 1 && s >= 0 && s <= 1) {
        u = s;
        return true;
    }
    return false;
}

bool face_hit(const type_model& model, int m, int f, int view, std::int32_t x, std::int32_t y)
{
    const type_mesh& mesh = model.mesh(m);
    const type_faces& face = mesh.faces[f];
    const int corners = face.corner_count;
    if (corners == 0) {
        return false;
    }
    // The ray's far end is computed in 64 bits: a pointer position near the
    // integer limit must not wrap round.
    const auto px = static_cast<float>(x);
    const auto py = static_cast<float>(y);
    const auto qx = static_cast<float>(static_cast<std::int64_t>(x) + k_ray_length);
    const auto qy = static_cast<float>(static_cast<std::int64_t>(y) + k_ray_length);
    auto corner = [&](int k) -> const type_vertex& {
        return mesh.vertices[face.corner_vertex[k].get()];
    };
    int crossings = 0;
    for (int k = 1; k <= corners; ++k) {
        const type_vertex& a = corner(k);
        const type_vertex& b = corner(k < corners ? k + 1 : 1);
        float ix, iy, iu;
        if (segment_intersect(static_cast<float>(a.screen_x[view]),
                              static_cast<float>(a.screen_y[view]),
                              static_cast<float>(b.screen_x[view]),
                              static_cast<float>(b.screen_y[view]), px, py, qx, qy, ix, iy, iu)) {
            ++crossings;
        }
    }
    return crossings % 2 == 1;
}

bool vertex_pick(type_model& model, int view, std::int32_t x, std::int32_t y)
{
    if (!valid_view(view)) {
        return false;
    }
    const std::int64_t px = x;
    const std::int64_t py = y;
    const int mesh_count = model.geosets[0].mesh_count;
    for (int m = 0; m < mesh_count; ++m) {
        const type_mesh& mesh = model.mesh(m);
        const int vertex_count = mesh.vertex_count;
        for (int v = 0; v < vertex_count; ++v) {
            const std::int64_t sx = mesh.vertices[v].screen_x[view];
            const std::int64_t sy = mesh.vertices[v].screen_y[view];
            // Not centred: from 4 pixels left/above to 2 right/below.
            const bool hit = sx > px - 3 && sx < px + 5 && sy > py - 3 && sy < py + 5;
            if (!hit || v == model.sel_vertex) {
                continue;
            }
            model.sel_vertex = v;
            model.sel_mesh = m;
            for (int f = mesh.face_count - 1; f >= 0; --f) {
                const type_faces& face = mesh.faces[f];
                for (int k = 1; k <= face.corner_count; ++k) {
                    if (face.corner_vertex[k] == v) {
                        model.sel_face = f;
                        return true;
                    }
                }
            }
            return true;
        }
    }
    return false;
}

bool face_pick(PickState& pick, type_model& model, int view, std::int32_t x, std::int32_t y)
{
    return valid_view(view) && cycle_pick(pick, model, CycleKind::face, view, x, y);
}

bool mesh_pick(PickState& pick, type_model& model, int view, std::int32_t x, std::int32_t y)
{
    return valid_view(view) && cycle_pick(pick, model, CycleKind::mesh, view, x, y);
}

bool add_pick(PickState& pick, type_model& model, int view, EditMode mode, std::int32_t x,
              std::int32_t y)
{
    if (mode == mesh_mode) {
        return mesh_pick(pick, model, view, x, y);
    }
    // The pick runs as a plain one would and says what is under the
    // pointer; the selection then changes from where it was.
    const auto mesh = model.sel_mesh.get();
    const auto face = model.sel_face.get();
    const auto vertex = model.sel_vertex.get();
    const bool taken =
        mode == vertex_mode ? vertex_pick(model, view, x, y) : face_pick(pick, model, view, x, y);
    if (!taken) {
        return false;
    }
    const bool other_mesh = model.sel_mesh != mesh;
    const int picked = active_index(model, mode);
    const auto picked_face = model.sel_face.get();
    const auto picked_vertex = model.sel_vertex.get();
    model.sel_mesh = mesh;
    model.sel_face = face;
    model.sel_vertex = vertex;
    if (other_mesh) {
        return false;
    }
    toggle_selected(model, mode, picked);
    if (active_index(model, mode) == picked) {
        // It joined: the face or vertex the pick chose with it comes too.
        model.sel_face = picked_face;
        model.sel_vertex = picked_vertex;
    }
    return true;
}

PressResult mouse_press(PickState& pick, type_model& model, const ViewState& views, EditMode mode,
                        std::int32_t x, std::int32_t y, bool ctrl, bool shift)
{
    if (ctrl) {
        pick.dragging = 1;
        pick.drag_prev_x = x;
        pick.drag_prev_y = y;
        return {.start_mover = true};
    }
    const int view = views.active_view;
    if (!valid_view(view)) {
        return {};
    }
    if (shift) {
        add_pick(pick, model, view, mode, x, y);
        return {};
    }
    bool taken = false;
    switch (mode) {
    case vertex_mode:
        taken = vertex_pick(model, view, x, y);
        break;
    case face_mode:
        taken = face_pick(pick, model, view, x, y);
        break;
    case mesh_mode:
        taken = mesh_pick(pick, model, view, x, y);
        break;
    }
    if (taken) {
        clear_selection(model); // a plain pick is the whole selection
    }
    return {};
}

StatusTexts status_texts(std::int32_t x, std::int32_t y)
{
    return {std::to_string(x), std::to_string(y)};
}

StatusTexts mouse_move(PickState& pick, std::int32_t x, std::int32_t y)
{
    pick.pick_target = 0;
    pick.mouse_x = x;
    pick.mouse_y = y;
    return status_texts(x, y);
}

void mouse_release(PickState& pick)
{
    pick.dragging = 0;
}

void move_vertex(type_model& model, const PickState& pick, const ViewState& views, int v)
{
    const int view = views.active_view;
    if (!valid_view(view)) {
        return;
    }
    const std::int32_t zoom = views.views[view].zoom;
    if (zoom <= 0) {
        // Halving reaches 0; a step there would divide by zero.
        return;
    }
    const double s = zoom;
    // 64-bit differences: pointer positions far apart cannot overflow.
    const double dx =
        static_cast<double>(static_cast<std::int64_t>(pick.mouse_x) - pick.drag_prev_x);
    const double dy =
        static_cast<double>(static_cast<std::int64_t>(pick.mouse_y) - pick.drag_prev_y);
    type_vertex& vertex = model.mesh(model.sel_mesh).vertices[v];
    switch (view) {
    case 1:
        vertex.y = vertex.y + dx / s;
        vertex.z = vertex.z - dy / s;
        break;
    case 2:
        vertex.x = vertex.x - dx / s;
        vertex.y = vertex.y + dy / s;
        break;
    default:
        vertex.x = vertex.x - dx / s;
        vertex.z = vertex.z - dy / s;
        break;
    }
}

bool drag_step(PickState& pick, type_model& model, const ViewState& views, EditMode mode)
{
    if (pick.dragging != 1) {
        return false;
    }
    for_each_dragged_vertex(model, mode, [&](int v) { move_vertex(model, pick, views, v); });
    pick.drag_prev_x = pick.mouse_x;
    pick.drag_prev_y = pick.mouse_y;
    return true;
}

} // namespace facetor
