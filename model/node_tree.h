#pragma once
// The hierarchy nodes as a tree: parent links as the file gives them where
// they lead to a root, and a root of its own for every node whose parent
// walk meets a cycle or a link past the nodes read. Node placement is built
// on it, so the 3D view and every export place a node alike.
#include <vector>

#include "model/model.h"

namespace facetor {

struct TreeNode {
    int parent = -1;     // the tree parent, -1 for a root
    bool broken = false; // the file's parent walk never reaches a root
    // Offset from the tree parent in model axes: the node's own offset, or
    // for a broken node the sum of its walk, so that it stays where
    // placement puts it. The pivot is not included.
    double x = 0, y = 0, z = 0;
    // The pivot: it moves the node's own mesh, not its children.
    double mesh_x = 0, mesh_y = 0, mesh_z = 0;
};

// One entry per node read (`node_count`).
std::vector<TreeNode> node_tree(const type_model& model);

} // namespace facetor
