#pragma once
// Small models built in memory for the view tests.
#include <vector>

#include "model/model.h"

namespace facetor::testing {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// Appends a mesh with the given vertices and faces (corner lists of vertex
// indices) to a geoset and returns its index.
inline int add_mesh(type_model& model, const std::vector<Point3>& vertices,
                    const std::vector<std::vector<int>>& faces, int geoset = 0)
{
    type_geosets& g = model.geosets[geoset];
    const int m = g.mesh_count;
    g.mesh_count = m + 1;
    type_mesh& mesh = g.meshes[m];
    mesh.vertex_count = static_cast<long long>(vertices.size());
    for (std::size_t j = 0; j < vertices.size(); ++j) {
        mesh.vertices[j].x = vertices[j].x;
        mesh.vertices[j].y = vertices[j].y;
        mesh.vertices[j].z = vertices[j].z;
    }
    mesh.face_count = static_cast<long long>(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        mesh.faces[f].corner_count = static_cast<long long>(faces[f].size());
        for (std::size_t k = 0; k < faces[f].size(); ++k) {
            mesh.faces[f].corner_vertex[k + 1] = faces[f][k];
        }
    }
    return m;
}

// Appends a root node carrying `mesh` (or -1) at the given placement.
inline void add_node(type_model& model, int mesh, Point3 world = {})
{
    type_hierarchy& node = model.nodes[model.node_count];
    model.node_count = model.node_count + 1;
    node.mesh = mesh;
    node.parent = -1;
    node.world_x = world.x;
    node.world_y = world.y;
    node.world_z = world.z;
}

// A mesh of geoset 0 carried by its own node at the origin.
inline int add_placed_mesh(type_model& model, const std::vector<Point3>& vertices,
                           const std::vector<std::vector<int>>& faces)
{
    const int m = add_mesh(model, vertices, faces);
    add_node(model, m);
    return m;
}

} // namespace facetor::testing
