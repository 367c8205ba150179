#include "cli/info.h"

#include <charconv>

#include "model/node_tree.h"
#include "model/report_text.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

// The shortest text that reads back as the same double.
std::string number(double v)
{
    char digits[32];
    const auto r = std::to_chars(digits, digits + sizeof digits, v);
    return {digits, r.ptr};
}

std::string triple(double x, double y, double z)
{
    return number(x) + " " + number(y) + " " + number(z);
}

class InfoPrinter {
  public:
    InfoPrinter(const type_model& model, std::ostream& out)
        : model_(model), out_(out), tree_(node_tree(model))
    {
    }

    void print()
    {
        // The reader takes nothing else.
        out_ << "version 3DO 2.1\n";
        out_ << "materials " << int{model_.material_count} << '\n';
        for (int i = 0; i < model_.material_count; ++i) {
            out_ << "  " << i << ' ' << printable(model_.materials[i]) << '\n';
        }
        out_ << "geosets " << int{model_.geoset_count} << '\n';
        for (int g = 0; g < model_.geoset_count; ++g) {
            const type_geosets& geoset = model_.geosets[g];
            out_ << "  geoset " << g << ": " << count_of(geoset.mesh_count, "mesh", "meshes")
                 << '\n';
            for (int m = 0; m < geoset.mesh_count; ++m) {
                const type_mesh& mesh = geoset.meshes[m];
                out_ << "    mesh " << m << ' ' << printable(mesh.name) << ": "
                     << count_of(mesh.vertex_count, "vertex", "vertices") << ", "
                     << count_of(mesh.tvertex_count, "texture vertex", "texture vertices") << ", "
                     << count_of(mesh.face_count, "face", "faces") << '\n';
            }
        }
        out_ << "nodes " << int{model_.node_count} << '\n';
        for (int n = 0; n < model_.node_count; ++n) {
            if (tree_[static_cast<std::size_t>(n)].parent == -1) {
                node(n, 1);
            }
        }
    }

  private:
    // Depth is bounded: the tree has no cycles and at most 35 nodes.
    void node(int n, int depth)
    {
        const type_hierarchy& h = model_.nodes[n];
        out_ << std::string(static_cast<std::size_t>(2 * depth), ' ') << "node " << n << ' '
             << printable(h.node_name) << ": ";
        if (h.mesh == -1) {
            out_ << "no mesh, offset " << triple(h.offset_x, h.offset_y, h.offset_z);
        } else {
            out_ << "mesh " << int{h.mesh} << ' ';
            if (h.mesh < model_.geosets[0].mesh_count) {
                out_ << printable(model_.mesh(h.mesh).name);
            } else {
                out_ << "(not in geoset 0)";
            }
            out_ << ", world " << triple(h.world_x, h.world_y, h.world_z);
        }
        if (tree_[static_cast<std::size_t>(n)].broken) {
            out_ << ", parent " << int{h.parent} << " never leads to a root";
        }
        out_ << '\n';
        for (int c = 0; c < model_.node_count; ++c) {
            if (tree_[static_cast<std::size_t>(c)].parent == n) {
                node(c, depth + 1);
            }
        }
    }

    const type_model& model_;
    std::ostream& out_;
    std::vector<TreeNode> tree_;
};

} // namespace

void print_info(const type_model& model, std::ostream& out)
{
    InfoPrinter(model, out).print();
}

} // namespace facetor
