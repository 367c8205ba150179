#pragma once
// What the commands that add or take out elements share: their outcome,
// the capacities of the format and what the status bar says when an edit
// would pass one, the material list a new face's material must be in, and
// the normals of the faces they make.
#include <span>
#include <string>
#include <vector>

#include "editing/edit_step.h"
#include "model/model.h"

namespace facetor {

// What a command did to the model.
struct EditOutcome {
    EditStep step;       // applied; empty when the model did not change
    std::string refusal; // why not, for the status bar, when a capacity stood in the way
};

// The material a new face takes when the model has none to give it.
inline constexpr const char* k_default_material = "default.mat";

// Why adding `more` elements does not fit, or empty when they do:
// "Mesh gem holds 500 vertices, the most a mesh can hold".
std::string vertex_room(const type_mesh& mesh, int more);
std::string face_room(const type_mesh& mesh, int more);
// A corner names texture vertex 500 at most, whatever the mesh holds.
std::string tvertex_room(const type_mesh& mesh, int more);
std::string material_room(const type_model& model, int more);
std::string mesh_room(const type_model& model, int more);
std::string node_room(const type_model& model, int more);
// A face of `corners` corners.
std::string corner_room(int corners);

// The names of `materials` the model's list lacks, each once, in order;
// an empty name (a face without a material) is never added.
std::vector<std::string> missing_materials(const type_model& model,
                                           const std::vector<std::string>& materials);

// Puts `names` at the end of the material list.
void add_materials(StepRecorder& step, type_model& model, std::vector<std::string> names);

// Computes the normals of faces `faces` of mesh `mesh` and of every vertex
// they name (model/geometry.h), each as a recorded field change.
void refresh_normals(StepRecorder& step, type_model& model, int mesh, std::span<const int> faces);

// `indices` sorted, each once, as element changes take them.
std::vector<std::uint16_t> ascending(std::span<const int> indices);

} // namespace facetor
