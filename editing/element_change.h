#pragma once
// Changes that put elements into the model or take them out: vertices,
// faces, texture vertices, materials, hierarchy nodes and meshes of
// geoset 0. Each holds the whole records it moves, so that it can be
// applied, undone and applied again, bit for bit.
//
// What follows the changed indices moves up or down, and the references to
// it are renumbered: the corners of the mesh's faces for vertices, the
// nodes' meshes for meshes. Only references to elements the list held
// before the change are renumbered; one past the count (a file may hold
// such) is left as it is, so that it never passes its range. Slots past the
// counts are restored too: an insertion keeps what the slots it takes held.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/model.h"

namespace facetor {

// A vertex with its normal, which shares its index.
struct VertexRecord {
    type_vertex vertex;
    type_normal normal;
};

// A face with its normal. The 3D scene's reference is not kept: the scene
// is built again after every step.
struct FaceRecord {
    type_faces face;
    type_normal normal;
};

// A whole mesh slot, its arrays past the counts too, without the 3D scene's
// references.
using MeshRecord = std::shared_ptr<const type_mesh>;

// A node that carried a mesh taken out, and that mesh.
struct Carrier {
    std::uint8_t node = 0;
    std::uint8_t mesh = 0;
};

// Records of one kind put into one list of the model, or taken out of it.
template <class Record> struct ListChange {
    bool inserts = true;   // applied forward it puts the records in; else it takes them out
    std::uint8_t mesh = 0; // whose vertices, faces or texture vertices
    // Ascending: the indices the records have while they are in the list.
    std::vector<std::uint16_t> at;
    std::vector<Record> records; // one per index
    // Of an insertion: what the slots past the old count held, which its
    // undo puts back.
    std::vector<Record> overwritten;
    // Of meshes taken out: the nodes that carried them, which carry none
    // (mesh -1) while they are out.
    std::vector<Carrier> carriers;
};

using ElementChange =
    std::variant<ListChange<VertexRecord>, ListChange<FaceRecord>, ListChange<type_tvertex>,
                 ListChange<std::string>, ListChange<type_hierarchy>, ListChange<MeshRecord>>;

// The change that takes out the elements at `at` (ascending, each within
// the count) of `mesh` (unused for materials, nodes and meshes), from the
// model as it is before it is applied.
template <class Record>
ListChange<Record> removal(const type_model& model, int mesh, std::vector<std::uint16_t> at);

// The change that puts `records` in at `at` (ascending: the indices they
// get), from the model as it is before it is applied.
template <class Record>
ListChange<Record> insertion(const type_model& model, int mesh, std::vector<std::uint16_t> at,
                             std::vector<Record> records);

// Applies the change (`forward`) or undoes it. A change that does not fit
// the list as it is (its capacity, its count) raises the range error
// before it changes anything.
void apply_element(type_model& model, const ElementChange& change, bool forward);

// The memory a change holds beside its own size, for the history's bound.
std::size_t element_bytes(const ElementChange& change);

} // namespace facetor
