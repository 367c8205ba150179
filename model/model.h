#pragma once
// The one in-memory model: fixed-capacity records, zero at creation, filled in
// place by the reader. Every array has one slot more than its count admits.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/ranged.h"
#include "model/selection_set.h"
#include "model/shared_text.h"

namespace facetor {

inline constexpr int k_max_geosets = 4;
inline constexpr int k_max_meshes = 32;
inline constexpr int k_max_vertices = 500;
inline constexpr int k_max_tvertices = 2000;
inline constexpr int k_max_faces = 500;
inline constexpr int k_max_materials = 64;
inline constexpr int k_max_nodes = 35;
inline constexpr int k_max_corners = 10;
inline constexpr int k_view_count = 3;

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using s8 = std::int8_t;

using count_geosets = ranged<u8, 0, k_max_geosets>;
using count_meshes = ranged<u8, 0, k_max_meshes>;
using count_vertices = ranged<u16, 0, k_max_vertices>;
using count_tvertices = ranged<u16, 0, k_max_tvertices>;
using count_faces = ranged<u16, 0, k_max_faces>;
using count_materials = ranged<u8, 0, k_max_materials>;
using count_nodes = ranged<u8, 0, k_max_nodes>;
using count_corners = ranged<u8, 0, k_max_corners>;
using count_children = ranged<u8, 0, 16>;
using geometry_mode_t = ranged<u8, 0, 4>;
using lighting_mode_t = ranged<u8, 0, 3>;
using texture_mode_t = ranged<u8, 0, 2>;
using corner_index = ranged<u16, 0, 500>; // also for texture vertices, though a mesh holds 2000
using node_link = ranged<s8, -1, 32>;     // mesh, parent, child, sibling; -1 = none
using sel_mesh_t = ranged<u8, 0, k_max_meshes>;
using sel_index_t = ranged<u16, 0, 500>;

// The 3D scene's face object (defined by the 3D preview); the model only
// keeps a reference to the one built for each face.
struct Face3D;
using face3d_ref = std::shared_ptr<Face3D>;

// Edit mode, shared by drawing, navigation, picking and the panels.
enum EditMode : std::uint8_t { mesh_mode = 0, face_mode = 1, vertex_mode = 2 };

struct type_vertex {
    double x = 0, y = 0, z = 0;
    double intensity = 0;
    // Indexed by view number 1..3; slot 0 is unused.
    std::array<std::int32_t, k_view_count + 1> screen_x{};
    std::array<std::int32_t, k_view_count + 1> screen_y{};
};

struct type_tvertex {
    double u = 0, v = 0;
};

struct type_normal {
    double x = 0, y = 0, z = 0;
};

struct type_faces {
    // Shared by the faces that took it from one load (model/shared_text.h).
    shared_text face_material;
    geometry_mode_t geo;
    lighting_mode_t light;
    texture_mode_t tex;
    count_corners corner_count;
    double extra_light = 0;
    std::string face_type;
    // Indexed by corner number 1..10; slot 0 is unused.
    std::array<corner_index, k_max_corners + 1> corner_vertex{};
    std::array<corner_index, k_max_corners + 1> corner_tvertex{};
};

struct type_mesh {
    std::string name;
    double radius = 0;
    geometry_mode_t geometry_mode;
    lighting_mode_t lighting_mode;
    texture_mode_t texture_mode;
    count_vertices vertex_count;
    std::array<type_vertex, k_max_vertices + 1> vertices{};
    count_tvertices tvertex_count;
    std::array<type_tvertex, k_max_tvertices + 1> tvertices{};
    std::array<type_normal, k_max_vertices + 1> vertex_normals{};
    count_faces face_count;
    std::array<face3d_ref, k_max_faces + 1> face3d{};
    std::array<type_faces, k_max_faces + 1> faces{};
    std::array<type_normal, k_max_faces + 1> face_normals{};
};

struct type_geosets {
    count_meshes mesh_count;
    std::array<type_mesh, k_max_meshes + 1> meshes{};
};

struct type_hierarchy {
    std::string node_flags;
    std::string node_type;
    std::string node_name;
    node_link mesh;
    node_link parent;
    node_link child;
    node_link sibling;
    count_children num_children;
    double offset_x = 0, offset_y = 0, offset_z = 0;
    double pitch = 0, yaw = 0, roll = 0;
    double pivot_x = 0, pivot_y = 0, pivot_z = 0;
    double world_x = 0, world_y = 0, world_z = 0;
};

struct type_model {
    count_geosets geoset_count;
    std::array<type_geosets, k_max_geosets + 1> geosets{};
    double radius = 0;
    double insert_offset_x = 0, insert_offset_y = 0, insert_offset_z = 0;
    count_materials material_count;
    std::array<std::string, k_max_materials + 1> materials{};
    count_nodes node_count;
    std::array<type_hierarchy, k_max_nodes + 1> nodes{};
    sel_mesh_t sel_mesh;
    sel_index_t sel_face;
    sel_index_t sel_vertex;
    // The faces or vertices selected beside the active one (model/selection_set.h).
    SelectionSet selection;

    // Mesh m outside the reader always means mesh m of geoset 0.
    type_mesh& mesh(int m) { return geosets[0].meshes[m]; }
    const type_mesh& mesh(int m) const { return geosets[0].meshes[m]; }
};

// The model is several megabytes: create it on the heap, zero-filled.
std::unique_ptr<type_model> make_model();

// Places every mesh-carrying node at its offset plus its ancestors' offsets
// plus its own pivot. Run after every successful load.
void place_nodes(type_model& model);

} // namespace facetor
