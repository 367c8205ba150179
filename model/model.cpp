#include "model/model.h"

#include "model/node_tree.h"

namespace facetor {

std::unique_ptr<type_model> make_model()
{
    return std::make_unique<type_model>();
}

void place_nodes(type_model& model)
{
    const std::vector<TreeNode> tree = node_tree(model);
    for (int n = 0; n < model.node_count; ++n) {
        type_hierarchy& node = model.nodes[n];
        if (node.mesh == -1) {
            continue;
        }
        // Up the tree, the node's own offset first: the sums of the file's
        // parent walk, in its order.
        const TreeNode& own = tree[static_cast<std::size_t>(n)];
        double x = own.x;
        double y = own.y;
        double z = own.z;
        for (int p = own.parent; p != -1; p = tree[static_cast<std::size_t>(p)].parent) {
            const TreeNode& ancestor = tree[static_cast<std::size_t>(p)];
            x += ancestor.x;
            y += ancestor.y;
            z += ancestor.z;
        }
        node.world_x = x + own.mesh_x;
        node.world_y = y + own.mesh_y;
        node.world_z = z + own.mesh_z;
    }
}

} // namespace facetor
