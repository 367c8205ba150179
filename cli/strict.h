#pragma once
// `check --strict`: what the editor accepts but the rest of the program
// assumes: corners within the mesh's counts, material indices within the
// list, every mesh of geoset 0 carried by a node, node meshes that exist,
// parent links that reach a root.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/load.h"

namespace facetor {

// Watches a load for the places of meshes, faces and nodes.
class StrictObserver final : public ReadObserver {
  public:
    void mesh_read(int geoset, int mesh, std::uint64_t name_offset) override;
    void face_read(int geoset, int mesh, int face, int material,
                   std::uint64_t material_offset) override;
    void node_read(int node, std::uint64_t flags_offset) override;

    struct Place {
        int geoset, mesh, index, material;
        std::uint64_t offset;
    };
    std::vector<Place> meshes, faces, nodes;
};

// One line per problem, "NAME:LINE:COLUMN: strict: ...", in file order, of
// a model that `observer` watched load from `input`.
std::vector<std::string> strict_problems(const type_model& model, const StrictObserver& observer,
                                         const ModelInput& input);

} // namespace facetor
