#include "model/node_tree.h"

#include <array>

namespace facetor {

std::vector<TreeNode> node_tree(const type_model& model)
{
    const int count = model.node_count;
    std::vector<TreeNode> tree(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) {
        const type_hierarchy& node = model.nodes[n];
        TreeNode& t = tree[static_cast<std::size_t>(n)];
        t.x = node.offset_x;
        t.y = node.offset_y;
        t.z = node.offset_z;
        t.mesh_x = node.pivot_x;
        t.mesh_y = node.pivot_y;
        t.mesh_z = node.pivot_z;
        // A file may link parents into a cycle or to a node that was not
        // read: the walk stops at the first node it has already added (each
        // ancestor counts once) or at a link past the nodes read.
        double x = t.x, y = t.y, z = t.z;
        std::array<bool, k_max_nodes + 1> visited{};
        visited[static_cast<std::size_t>(n)] = true;
        int p = node.parent;
        while (p >= 0 && p < count && !visited[static_cast<std::size_t>(p)]) {
            visited[static_cast<std::size_t>(p)] = true;
            const type_hierarchy& ancestor = model.nodes[p];
            x += ancestor.offset_x;
            y += ancestor.offset_y;
            z += ancestor.offset_z;
            p = ancestor.parent;
        }
        if (p == -1) {
            t.parent = node.parent;
        } else {
            t.broken = true;
            t.x = x;
            t.y = y;
            t.z = z;
        }
    }
    return tree;
}

} // namespace facetor
