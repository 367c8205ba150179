#include "model/writer.h"

#include <string>
#include <vector>

#include "model/replace_file.h"
#include "model/writer_materials.h"
#include "model/writer_output.h"

namespace facetor {

namespace {

// The sections in the reader's order, each line built in place in the
// output's buffer.
class Writer : detail::LineOut {
  public:
    Writer(const type_model& model, std::ostream& out)
        : LineOut(out), model_(model), materials_(model)
    {
    }

    std::vector<std::string> run()
    {
        collect_materials(); // the list is written before the faces that add to it
        line("SECTION: HEADER");
        line("");
        line("3DO 2.1");
        line("");
        write_materials();
        line("");
        write_geometry();
        line("");
        write_hierarchy();
        flush();
        return warning_lines();
    }

  private:
    void collect_materials()
    {
        for_each_face([this](const type_faces& face, auto path) {
            materials_.index_of(face.face_material, path, &warnings_);
        });
    }

    template <class Visit> void for_each_face(Visit visit) const
    {
        for (int g = 0; g < model_.geoset_count; ++g) {
            const type_geosets& geoset = model_.geosets[g];
            for (int m = 0; m < geoset.mesh_count; ++m) {
                const type_mesh& mesh = geoset.meshes[m];
                for (int f = 0; f < mesh.face_count; ++f) {
                    visit(mesh.faces[f], [=] { return face_path(g, m, f) + ".face_material"; });
                }
            }
        }
    }

    static std::string mesh_path(int g, int m)
    {
        return "geosets[" + std::to_string(g) + "].meshes[" + std::to_string(m) + "]";
    }
    static std::string face_path(int g, int m, int f)
    {
        return mesh_path(g, m) + ".faces[" + std::to_string(f) + "]";
    }

    void write_materials()
    {
        line("SECTION: MODELRESOURCE");
        line("");
        put("MATERIALS ");
        integer(materials_.written_count());
        end_line();
        for (int i = 0; i < model_.material_count; ++i) {
            index_prefix(i);
            text(
                model_.materials[i], [&] { return "materials[" + std::to_string(i) + "]"; }, "_");
            end_line();
        }
        int i = model_.material_count;
        for (const std::string& name : materials_.extra()) {
            index_prefix(i);
            text(
                name, [&] { return "materials[" + std::to_string(i) + "]"; }, "_");
            end_line();
            ++i;
        }
    }

    void write_geometry()
    {
        line("SECTION: GEOMETRYDEF");
        line("");
        put("RADIUS ");
        real(model_.radius, [] { return std::string("radius"); });
        end_line();
        put("INSERT OFFSET ");
        reals({{model_.insert_offset_x, "insert_offset_x"},
               {model_.insert_offset_y, "insert_offset_y"},
               {model_.insert_offset_z, "insert_offset_z"}},
              [] { return std::string(); });
        end_line();
        put("GEOSETS ");
        integer(model_.geoset_count);
        end_line();
        for (int g = 0; g < model_.geoset_count; ++g) {
            const type_geosets& geoset = model_.geosets[g];
            line("");
            put("GEOSET ");
            integer(g);
            end_line();
            put("MESHES ");
            integer(geoset.mesh_count);
            end_line();
            for (int m = 0; m < geoset.mesh_count; ++m) {
                line("");
                write_mesh(geoset.meshes[m], g, m);
            }
        }
    }

    void write_mesh(const type_mesh& mesh, int g, int m)
    {
        const std::string path = mesh_path(g, m);
        put("MESH ");
        integer(m);
        end_line();
        put("NAME ");
        text(
            mesh.name, [&] { return path + ".name"; }, "_");
        end_line();
        put("RADIUS ");
        real(mesh.radius, [&] { return path + ".radius"; });
        end_line();
        put("GEOMETRYMODE ");
        integer(mesh.geometry_mode);
        end_line();
        put("LIGHTINGMODE ");
        integer(mesh.lighting_mode);
        end_line();
        put("TEXTUREMODE ");
        integer(mesh.texture_mode);
        end_line();

        put("VERTICES ");
        integer(mesh.vertex_count);
        end_line();
        for (int v = 0; v < mesh.vertex_count; ++v) {
            const type_vertex& p = mesh.vertices[v];
            index_prefix(v);
            reals({{p.x, "x"}, {p.y, "y"}, {p.z, "z"}, {p.intensity, "intensity"}},
                  [&] { return path + ".vertices[" + std::to_string(v) + "]."; });
            end_line();
        }

        put("TEXTURE VERTICES ");
        integer(mesh.tvertex_count);
        end_line();
        for (int t = 0; t < mesh.tvertex_count; ++t) {
            const type_tvertex& p = mesh.tvertices[t];
            index_prefix(t);
            reals({{p.u, "u"}, {p.v, "v"}},
                  [&] { return path + ".tvertices[" + std::to_string(t) + "]."; });
            end_line();
        }

        line("VERTEX NORMALS");
        for (int v = 0; v < mesh.vertex_count; ++v) {
            normal(v, mesh.vertex_normals[v], path, ".vertex_normals");
        }

        put("FACES ");
        integer(mesh.face_count);
        end_line();
        for (int f = 0; f < mesh.face_count; ++f) {
            write_face(mesh.faces[f], g, m, f);
        }

        line("FACE NORMALS");
        for (int f = 0; f < mesh.face_count; ++f) {
            normal(f, mesh.face_normals[f], path, ".face_normals");
        }
    }

    void normal(int i, const type_normal& n, const std::string& mesh, const char* array)
    {
        index_prefix(i);
        reals({{n.x, "x"}, {n.y, "y"}, {n.z, "z"}},
              [&] { return mesh + array + "[" + std::to_string(i) + "]."; });
        end_line();
    }

    void write_face(const type_faces& face, int g, int m, int f)
    {
        index_prefix(f);
        const std::string& material = face.face_material;
        integer(materials_.resolve_empty(materials_.index_of(
            material, [] { return std::string(); }, nullptr)));
        space();
        const auto path = [&](const char* field) {
            return [=, this] { return face_path(g, m, f) + field; };
        };
        text(face.face_type, path(".face_type"), "0");
        space();
        integer(face.geo);
        space();
        integer(face.light);
        space();
        integer(face.tex);
        space();
        real(face.extra_light, path(".extra_light"));
        space();
        integer(face.corner_count);
        for (int k = 1; k <= face.corner_count; ++k) {
            space();
            integer(face.corner_vertex[k]);
            comma();
            integer(face.corner_tvertex[k]);
        }
        end_line();
    }

    void write_hierarchy()
    {
        line("SECTION: HIERARCHYDEF");
        line("");
        put("HIERARCHY NODES ");
        integer(model_.node_count);
        end_line();
        for (int n = 0; n < model_.node_count; ++n) {
            const type_hierarchy& node = model_.nodes[n];
            const std::string path = "nodes[" + std::to_string(n) + "].";
            index_prefix(n);
            text(
                node.node_flags, [&] { return path + "node_flags"; }, "0");
            space();
            text(
                node.node_type, [&] { return path + "node_type"; }, "0");
            for (const int link : {int{node.mesh}, int{node.parent}, int{node.child},
                                   int{node.sibling}, int{node.num_children}}) {
                space();
                integer(link);
            }
            space();
            reals({{node.offset_x, "offset_x"},
                   {node.offset_y, "offset_y"},
                   {node.offset_z, "offset_z"},
                   {node.pitch, "pitch"},
                   {node.yaw, "yaw"},
                   {node.roll, "roll"},
                   {node.pivot_x, "pivot_x"},
                   {node.pivot_y, "pivot_y"},
                   {node.pivot_z, "pivot_z"}},
                  [&] { return path; });
            space();
            text(
                node.node_name, [&] { return path + "node_name"; }, "_");
            end_line();
        }
    }

    const type_model& model_;
    detail::MaterialIndex materials_;
};

} // namespace

std::vector<std::string> write_3do(const type_model& model, std::ostream& out)
{
    return Writer(model, out).run();
}

std::vector<std::string> write_3do_file(const type_model& model, const std::string& path)
{
    std::vector<std::string> warnings;
    replace_file(path, [&](std::ostream& out) { warnings = write_3do(model, out); });
    return warnings;
}

} // namespace facetor
