#include "model/model.h"

namespace facetor {

std::unique_ptr<type_model> make_model()
{
    return std::make_unique<type_model>();
}

void place_nodes(type_model& model)
{
    const int count = model.node_count;
    for (int n = 0; n < count; ++n) {
        type_hierarchy& node = model.nodes[n];
        if (node.mesh == -1) {
            continue;
        }
        double x = node.offset_x;
        double y = node.offset_y;
        double z = node.offset_z;
        // A file may link parents into a cycle or to a node that was not
        // read: the walk stops at the first node it has already added (each
        // ancestor counts once) or at a link past the nodes read.
        std::array<bool, k_max_nodes + 1> visited{};
        visited[n] = true;
        int p = node.parent;
        while (p >= 0 && p < count && !visited[p]) {
            visited[p] = true;
            const type_hierarchy& ancestor = model.nodes[p];
            x += ancestor.offset_x;
            y += ancestor.offset_y;
            z += ancestor.offset_z;
            p = ancestor.parent;
        }
        node.world_x = x + node.pivot_x;
        node.world_y = y + node.pivot_y;
        node.world_z = z + node.pivot_z;
    }
}

}  // namespace facetor
