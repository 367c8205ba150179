#include "views/render.h"

#include <algorithm>
#include <cmath>

#include "model/checked.h"
#include "model/errors.h"

namespace facetor {

namespace {

constexpr double k_degrees_to_radians = 0.017453292519943295;

// Screen positions exist for views 1..3 only; reading another view's entry
// is the range error that stops a Render called for the grids or the 3D view.
void require_drawable_view(int v)
{
    if (v < 1 || v > 3) {
        throw RangeError();
    }
}

struct Rotation {
    double cos_a, sin_a, cos_b, sin_b, cos_c, sin_c;

    explicit Rotation(const type_view& view)
    {
        const double a = view.angle_x * k_degrees_to_radians;
        const double b = view.angle_y * k_degrees_to_radians;
        const double c = view.angle_z * k_degrees_to_radians;
        cos_a = std::cos(a);
        sin_a = std::sin(a);
        cos_b = std::cos(b);
        sin_b = std::sin(b);
        cos_c = std::cos(c);
        sin_c = std::sin(c);
    }
};

void project_vertex(type_vertex& vertex, const type_hierarchy& node, const type_view& view,
                    const Rotation& rot, int v)
{
    const double x0 = vertex.x + node.world_x;
    const double y0 = vertex.y + node.world_y;
    const double z0 = vertex.z + node.world_z;
    // About X, then Y, then Z.
    const double x1 = x0;
    const double y1 = y0 * rot.cos_a - z0 * rot.sin_a;
    const double z1 = y0 * rot.sin_a + z0 * rot.cos_a;
    const double x2 = x1 * rot.cos_b + z1 * rot.sin_b;
    const double y2 = y1;
    const double z2 = z1 * rot.cos_b - x1 * rot.sin_b;
    const double x3 = x2 * rot.cos_c - y2 * rot.sin_c;
    const double y3 = x2 * rot.sin_c + y2 * rot.cos_c;
    const double z3 = z2;

    const double zoom = view.zoom;
    const auto scaled = [zoom](double t) { return round_to_int32(zoom * t); };
    // Each entry is stored as soon as it is known, so a failure in the second
    // keeps the first.
    switch (v) {
    case 1:
        vertex.screen_x[1] = checked_add(scaled(y3), view.pan_y);
        vertex.screen_y[1] = checked_sub(view.pan_z, scaled(z3));
        break;
    case 2:
        vertex.screen_x[2] = checked_sub(view.pan_x, scaled(x3));
        vertex.screen_y[2] = checked_add(scaled(y3), view.pan_y);
        break;
    default:
        vertex.screen_x[3] = checked_sub(view.pan_x, scaled(x3));
        vertex.screen_y[3] = checked_sub(view.pan_z, scaled(z3));
        break;
    }
}

// Meshes reach the view only through the nodes that carry them; a mesh that
// two nodes name ends up where the later node puts it.
void project_view(type_model& model, const type_view& view, int v)
{
    const Rotation rot(view);
    for (int i = 0; i < model.node_count; ++i) {
        const type_hierarchy& node = model.nodes[i];
        if (node.mesh == -1) {
            continue;
        }
        type_mesh& mesh = model.mesh(node.mesh);
        for (int j = 0; j < mesh.vertex_count; ++j) {
            require_drawable_view(v);
            project_vertex(mesh.vertices[j], node, view, rot, v);
        }
    }
}

void draw_edge(V_Canvas& canvas, const type_mesh& mesh, const type_faces& face, int k, int v)
{
    require_drawable_view(v);
    const int next = k == face.corner_count ? 1 : k + 1;
    const type_vertex& from = mesh.vertices[face.corner_vertex[k]];
    const type_vertex& to = mesh.vertices[face.corner_vertex[next]];
    canvas.line(from.screen_x[v], from.screen_y[v], to.screen_x[v], to.screen_y[v]);
}

// The 3x3 square centred on a vertex. The corners use checked arithmetic like
// every other integer sum here, so a position at the edge of the int32 range
// ends the drawing with the overflow error instead of wrapping around.
void draw_vertex(V_Canvas& canvas, const type_vertex& vertex, int v)
{
    require_drawable_view(v);
    const std::int32_t sx = vertex.screen_x[v];
    const std::int32_t sy = vertex.screen_y[v];
    canvas.fill_rect(checked_sub(sx, 1), checked_sub(sy, 1), checked_add(sx, 2),
                     checked_add(sy, 2));
}

// A mesh's view-v positions side by side: the edge pass reads each one about
// twenty times, and packed they stay in cache while the lines sweep the image.
// Every slot is taken, since a corner may name a vertex past the count.
void gather_positions(const type_mesh& mesh, int v,
                      std::array<CanvasPoint, k_max_vertices + 1>& positions)
{
    for (int j = 0; j <= k_max_vertices; ++j) {
        positions[j] = {mesh.vertices[j].screen_x[v], mesh.vertices[j].screen_y[v]};
    }
}

void draw_edges(V_Canvas& canvas, const type_model& model, EditMode mode, int v)
{
    std::array<CanvasPoint, k_max_vertices + 1> positions;
    std::array<CanvasPoint, k_max_corners> corners;
    for (int m = 0; m < model.geosets[0].mesh_count; ++m) {
        const type_mesh& mesh = model.mesh(m);
        if (mesh.face_count == 0) {
            continue;
        }
        const std::uint32_t colour = mode == mesh_mode && m == model.sel_mesh ? k_red : k_silver;
        if (v >= 1 && v <= 3) {
            gather_positions(mesh, v, positions);
        }
        for (int f = 0; f < mesh.face_count; ++f) {
            // The faces stream from memory while the lines push them out of
            // the cache; asking for them ahead hides most of that wait.
            __builtin_prefetch(&mesh.faces[std::min(f + 8, k_max_faces)]);
            const type_faces& face = mesh.faces[f];
            const int n = face.corner_count;
            if (n == 0) {
                continue;
            }
            // Every edge of a face takes the same pen: setting it once per
            // face draws the same as setting it before each edge.
            canvas.set_pen(colour);
            require_drawable_view(v);
            for (int k = 1; k <= n; ++k) {
                corners[k - 1] = positions[face.corner_vertex[k]];
            }
            canvas.outline(std::span(corners.data(), n));
        }
    }
}

void draw_vertices(V_Canvas& canvas, const type_model& model, EditMode mode, int v)
{
    for (int m = 0; m < model.geosets[0].mesh_count; ++m) {
        const type_mesh& mesh = model.mesh(m);
        std::uint32_t colour = mode == vertex_mode ? k_yellow : k_white;
        if (mode == mesh_mode && m == model.sel_mesh) {
            colour = k_red;
        }
        for (int j = 0; j < mesh.vertex_count; ++j) {
            canvas.set_pen(colour);
            canvas.set_brush(colour);
            draw_vertex(canvas, mesh.vertices[j], v);
        }
    }
}

void draw_face(V_Canvas& canvas, const type_mesh& mesh, int f, std::uint32_t colour, int v)
{
    const type_faces& face = mesh.faces[f];
    for (int k = 1; k <= face.corner_count; ++k) {
        canvas.set_pen(colour);
        canvas.set_brush(colour);
        draw_edge(canvas, mesh, face, k, v);
        draw_vertex(canvas, mesh.vertices[face.corner_vertex[k]], v);
    }
}

void draw_selection(V_Canvas& canvas, const type_model& model, EditMode mode, int v)
{
    if (mode != face_mode && mode != vertex_mode) {
        return; // the selected mesh is already red from the edge and vertex passes
    }
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    const int active = mode == face_mode ? int{model.sel_face} : int{model.sel_vertex};
    // The rest of the selection first, so that the active element lies over it.
    for (const int i : selected_indices(model, mode)) {
        if (i == active) {
            continue;
        }
        if (mode == face_mode) {
            draw_face(canvas, mesh, i, k_dim_red, v);
        } else {
            canvas.set_pen(k_dim_red);
            canvas.set_brush(k_dim_red);
            draw_vertex(canvas, mesh.vertices[i], v);
        }
    }
    if (mode == face_mode) {
        draw_face(canvas, mesh, active, k_red, v);
    } else {
        canvas.set_pen(k_red);
        canvas.set_brush(k_red);
        draw_vertex(canvas, mesh.vertices[active], v);
    }
}

} // namespace

void Render(type_model& model, const ViewState& state, EditMode mode, ViewImages& out)
{
    const int v = state.active_view;
    V_Canvas& canvas = out.canvas;
    // Half the screen covers a whole pane as long as the window fits the screen.
    const int right = out.screen_width / 2;
    const int bottom = out.screen_height / 2;

    canvas.set_pen(k_black);
    canvas.set_brush(k_black);
    canvas.fill_rect(0, 0, right, bottom);

    // Slot 0 only stands in for a view without a table entry; no position of
    // such a view is ever computed.
    const type_view& view = state.views[v >= 1 && v <= 3 ? v : 0];
    project_view(model, view, v);
    draw_edges(canvas, model, mode, v);
    draw_vertices(canvas, model, mode, v);
    draw_selection(canvas, model, mode, v);

    // Last, so that a failure above leaves the view's old picture. A Render
    // for the grids or the 3D view that found nothing to draw changes no image.
    if (v >= 1 && v <= 3) {
        canvas.copy_rect_to(out.images[v], 0, 0, right, bottom);
    }
}

void redraw_all_views(type_model& model, ViewState& state, EditMode mode, ViewImages& out)
{
    struct RestoreActiveView {
        ViewState& state;
        active_view_t saved;
        ~RestoreActiveView() { state.active_view = saved; }
    } restore{state, state.active_view};

    for (int v = 1; v <= 3; ++v) {
        state.active_view = v;
        Render(model, state, mode, out);
    }
}

} // namespace facetor
