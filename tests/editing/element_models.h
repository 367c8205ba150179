#pragma once
// Small models for the tests of the commands that add and take out
// elements, described as plain lists and built in memory, and the text
// two models are compared by.
#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/dump.h"
#include "model/model.h"

namespace facetor::test {

using Point = std::array<double, 3>;

struct FacePlan {
    std::string material = "red.mat";
    std::vector<std::pair<int, int>> corners; // vertex, texture vertex
    Point normal{0, 0, 1};
};

struct MeshPlan {
    std::string name;
    double radius = 0;
    std::vector<Point> vertices;
    std::vector<Point> normals; // one per vertex
    std::vector<std::array<double, 2>> tvertices;
    std::vector<FacePlan> faces;
};

struct NodePlan {
    std::string name;
    int mesh = -1, parent = -1, child = -1, sibling = -1, children = 0;
};

struct ModelPlan {
    std::vector<std::string> materials;
    std::vector<MeshPlan> meshes;
    std::vector<NodePlan> nodes;
};

inline std::unique_ptr<type_model> build(const ModelPlan& plan)
{
    auto model = make_model();
    model->geoset_count = plan.meshes.empty() ? 0 : 1;
    model->material_count = static_cast<int>(plan.materials.size());
    for (std::size_t i = 0; i < plan.materials.size(); ++i) {
        model->materials[i] = plan.materials[i];
    }
    model->geosets[0].mesh_count = static_cast<int>(plan.meshes.size());
    for (std::size_t m = 0; m < plan.meshes.size(); ++m) {
        const MeshPlan& s = plan.meshes[m];
        type_mesh& mesh = model->mesh(static_cast<int>(m));
        mesh.name = s.name;
        mesh.radius = s.radius;
        mesh.geometry_mode = 4;
        mesh.lighting_mode = 3;
        mesh.vertex_count = static_cast<int>(s.vertices.size());
        for (std::size_t v = 0; v < s.vertices.size(); ++v) {
            mesh.vertices[v].x = s.vertices[v][0];
            mesh.vertices[v].y = s.vertices[v][1];
            mesh.vertices[v].z = s.vertices[v][2];
            const Point n = v < s.normals.size() ? s.normals[v] : Point{1, 0, 0};
            mesh.vertex_normals[v] = {n[0], n[1], n[2]};
        }
        mesh.tvertex_count = static_cast<int>(s.tvertices.size());
        for (std::size_t t = 0; t < s.tvertices.size(); ++t) {
            mesh.tvertices[t] = {s.tvertices[t][0], s.tvertices[t][1]};
        }
        mesh.face_count = static_cast<int>(s.faces.size());
        for (std::size_t f = 0; f < s.faces.size(); ++f) {
            type_faces& face = mesh.faces[f];
            face.face_material = s.faces[f].material;
            face.face_type = "0x0";
            face.geo = 4;
            face.light = 3;
            face.corner_count = static_cast<int>(s.faces[f].corners.size());
            for (std::size_t k = 0; k < s.faces[f].corners.size(); ++k) {
                face.corner_vertex[k + 1] = s.faces[f].corners[k].first;
                face.corner_tvertex[k + 1] = s.faces[f].corners[k].second;
            }
            const Point& n = s.faces[f].normal;
            mesh.face_normals[f] = {n[0], n[1], n[2]};
        }
    }
    model->node_count = static_cast<int>(plan.nodes.size());
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const NodePlan& s = plan.nodes[i];
        type_hierarchy& node = model->nodes[i];
        node.node_flags = "0x0000";
        node.node_type = "0x00001";
        node.node_name = s.name;
        node.mesh = s.mesh;
        node.parent = s.parent;
        node.child = s.child;
        node.sibling = s.sibling;
        node.num_children = s.children;
    }
    place_nodes(*model);
    return model;
}

// Every field within the counts but the selection: what the model holds.
inline std::string fields(const type_model& model, DumpSlots slots = DumpSlots::counted)
{
    std::ostringstream out;
    dump_model(model, out, slots);
    std::istringstream lines(out.str());
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("sel_", 0) != 0) {
            kept += line + '\n';
        }
    }
    return kept;
}

// Two quads and a triangle over a 3 x 2 grid of the z = 0 plane, all facing
// +z, whose vertex normals a command has not computed yet (+x); a second
// mesh with one triangle. Node 0 carries the plinth and holds node 1,
// which carries the gem:
//   3 -- 4 -- 5
//   |  / |    |
//   0 -- 1 -- 2
inline ModelPlan strip_model()
{
    MeshPlan gem{"gem",
                 0,
                 {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}},
                 {},
                 {{0, 0}, {1, 0}, {1, 1}},
                 {{"red.mat", {{0, 0}, {1, 1}, {4, 2}, {3, 0}}},
                  {"blue.mat", {{1, 0}, {2, 1}, {5, 2}, {4, 0}}},
                  {"red.mat", {{0, 0}, {4, 2}, {3, 1}}}}};
    MeshPlan plinth{"plinth", 0,        {{0, 0, -1}, {1, 0, -1}, {0, 1, -1}},
                    {},       {{0, 0}}, {{"blue.mat", {{0, 0}, {1, 0}, {2, 0}}}}};
    return {{"red.mat", "blue.mat"},
            {gem, plinth},
            {{"plinth", 1, -1, 1, -1, 1}, {"gem", 0, 0, -1, -1, 0}}};
}

} // namespace facetor::test
