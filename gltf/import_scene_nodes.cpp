// The node walk: the scene's roots, depth first, each node's world
// transform and its offset from its parent.
#include "gltf/import_scene_nodes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <tiny_gltf.h>

#include "gltf/import_error.h"
#include "model/report_text.h"

namespace facetor::gltf_import {

namespace {

constexpr Matrix k_identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix local_matrix(const tinygltf::Node& node)
{
    if (node.matrix.size() == 16) {
        Matrix m;
        std::copy(node.matrix.begin(), node.matrix.end(), m.begin());
        return m;
    }
    Matrix t = k_identity, r = k_identity, s = k_identity;
    if (node.translation.size() == 3) {
        t[12] = node.translation[0];
        t[13] = node.translation[1];
        t[14] = node.translation[2];
    }
    if (node.rotation.size() == 4) {
        double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2],
               w = node.rotation[3];
        const double length = std::sqrt(x * x + y * y + z * z + w * w);
        if (length > 0 && std::isfinite(length)) {
            x /= length, y /= length, z /= length, w /= length;
            // clang-format off
            r = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),     0,
                 2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),     0,
                 2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y), 0,
                 0,                       0,                       0,                       1};
            // clang-format on
        }
    }
    if (node.scale.size() == 3) {
        s[0] = node.scale[0];
        s[5] = node.scale[1];
        s[10] = node.scale[2];
    }
    return multiply(t, multiply(r, s));
}

} // namespace

void SceneNodes::walk(int scene)
{
    walk_from(roots(scene));
}

std::vector<int> SceneNodes::roots(int scene)
{
    const std::size_t scenes = gltf_.scenes.size();
    if (scene >= 0) {
        if (static_cast<std::size_t>(scene) >= scenes) {
            throw ImportError("no scene " + std::to_string(scene) + "; the file has " +
                              count_of(scenes, "scene", "scenes"));
        }
        return gltf_.scenes[static_cast<std::size_t>(scene)].nodes;
    }
    if (gltf_.defaultScene != -1) {
        // A default the file names but does not have makes the file invalid:
        // any other scene might be the wrong one.
        if (gltf_.defaultScene < 0 || static_cast<std::size_t>(gltf_.defaultScene) >= scenes) {
            throw ImportError("the file names scene " + std::to_string(gltf_.defaultScene) +
                              " as its default and has " + count_of(scenes, "scene", "scenes"));
        }
        return gltf_.scenes[static_cast<std::size_t>(gltf_.defaultScene)].nodes;
    }
    if (scenes > 0) {
        warnings_.push_back("no default scene; scene 0 of " + count_of(scenes, "scene", "scenes") +
                            " imported");
        return gltf_.scenes[0].nodes;
    }
    // A file of nodes without a scene: every node that is nobody's child.
    std::vector<bool> child(gltf_.nodes.size(), false);
    for (const tinygltf::Node& node : gltf_.nodes) {
        for (const int c : node.children) {
            if (c >= 0 && static_cast<std::size_t>(c) < child.size()) {
                child[static_cast<std::size_t>(c)] = true;
            }
        }
    }
    std::vector<int> roots;
    for (std::size_t n = 0; n < child.size(); ++n) {
        if (!child[n]) {
            roots.push_back(static_cast<int>(n));
        }
    }
    if (!gltf_.nodes.empty()) {
        warnings_.push_back("no scene; every root node imported");
    }
    return roots;
}

// Depth first, children in file order, without recursion: a file may
// nest nodes deeper than any stack.
void SceneNodes::walk_from(const std::vector<int>& roots)
{
    struct Visit {
        int node;
        int parent; // into nodes_
    };
    std::vector<Visit> stack;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
        stack.push_back({*it, -1});
    }
    std::vector<bool> seen(gltf_.nodes.size(), false);
    std::vector<Matrix> world; // per nodes_ entry
    bool reached_twice = false, non_finite = false;
    while (!stack.empty()) {
        const Visit v = stack.back();
        stack.pop_back();
        if (v.node < 0 || static_cast<std::size_t>(v.node) >= gltf_.nodes.size()) {
            throw ImportError("the scene names node " + std::to_string(v.node) +
                              ", which the file does not have");
        }
        if (seen[static_cast<std::size_t>(v.node)]) {
            reached_twice = true; // a cycle or a node with two parents
            continue;
        }
        seen[static_cast<std::size_t>(v.node)] = true;
        const tinygltf::Node& node = gltf_.nodes[static_cast<std::size_t>(v.node)];
        const Matrix parent_world =
            v.parent < 0 ? k_identity : world[static_cast<std::size_t>(v.parent)];
        world.push_back(multiply(parent_world, local_matrix(node)));
        const Matrix& w = world.back();
        ImportNode& out = nodes_.emplace_back();
        out.name = node.name;
        out.index = v.node;
        out.parent = v.parent;
        out.offset = to_model_axes(
            {w[12] - parent_world[12], w[13] - parent_world[13], w[14] - parent_world[14]});
        if (!finite(out.offset)) {
            out.offset = {};
            non_finite = true;
        }
        if (node.mesh >= 0) {
            out.mesh = mesh_for(node.mesh, Linear(w));
        }
        const int index = static_cast<int>(nodes_.size() - 1);
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
            stack.push_back({*it, index});
        }
    }
    if (reached_twice) {
        warnings_.push_back(
            "a node reached twice in the scene (a cycle, or two parents) imported once");
    }
    if (non_finite) {
        warnings_.push_back("node translations that are not finite numbers set to 0");
    }
}

// Nodes that show one mesh with the same rotation and scale share it. The
// mesh is only noted here: nothing is read before the scene's bounds are
// checked.
int SceneNodes::mesh_for(int mesh, const Linear& linear)
{
    if (static_cast<std::size_t>(mesh) >= gltf_.meshes.size()) {
        throw ImportError("a node names mesh " + std::to_string(mesh) +
                          ", which the file does not have");
    }
    std::array<std::uint64_t, 9> bits{};
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const double v = linear.m[i] + 0.0; // -0 is 0
        std::memcpy(&bits[i], &v, sizeof v);
    }
    const auto [it, fresh] = bake_of_.try_emplace({mesh, bits}, static_cast<int>(bakes_.size()));
    if (fresh) {
        bakes_.push_back({mesh, linear});
    }
    return it->second;
}

} // namespace facetor::gltf_import
