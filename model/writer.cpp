#include "model/writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>
#include <unordered_map>

#include "model/number_text.h"
#include "model/replace_file.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

// The reader ends a token at these bytes and skips them before one.
bool ends_token(unsigned char c)
{
    return c == ' ' || c == ',' || c == ':' || c == '\t' || c == '\r' || c == '#';
}

// The tokenizer refuses longer tokens.
constexpr std::size_t k_max_text = std::size_t{16} << 20;

// Warnings of one cause are gathered into one line: a model can hold
// thousands of values with the same problem.
class Warnings {
  public:
    void add(const std::string& cause, const std::string& path)
    {
        auto [it, inserted] = by_cause_.try_emplace(cause, Entry{path, 0});
        if (inserted) {
            order_.push_back(cause);
        }
        ++it->second.count;
    }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (const std::string& cause : order_) {
            const Entry& e = by_cause_.at(cause);
            std::string line = e.first_path;
            if (e.count > 1) {
                line += " and " + std::to_string(e.count - 1) + " more";
            }
            out.push_back(line + ": " + cause);
        }
        return out;
    }

  private:
    struct Entry {
        std::string first_path;
        std::size_t count;
    };
    std::map<std::string, Entry> by_cause_;
    std::vector<std::string> order_;
};

// Which material index gives each face its name back.
class MaterialIndex {
  public:
    explicit MaterialIndex(const type_model& model) : model_(model), count_(model.material_count) {}

    // The index to write for `name`; adds a name that is not in the list
    // while there is room, since a face keeps its material that way. Warns
    // into `warnings` unless it is null (the second pass over the faces).
    template <class Path> int index_of(const std::string& name, Path path, Warnings* warnings)
    {
        const auto seen = by_address_.find(name.data());
        if (seen != by_address_.end() && seen->second.size == name.size()) {
            if (warnings != nullptr && !seen->second.cause.empty()) {
                warnings->add(seen->second.cause, path()); // counted per face
            }
            return seen->second.index;
        }
        int index = find(name);
        if (index < 0) {
            if (name.empty()) {
                index = k_max_materials; // any slot past the list reads back empty
            } else if (written_count() < k_max_materials) {
                index = written_count();
                extra_.push_back(name);
            } else {
                index = k_max_materials;
            }
        }
        std::string cause;
        if (index >= count_ && !name.empty()) {
            cause = "material " + quoted_text(name) + " is not in the material list; " +
                    (index < k_max_materials ? "added to it as material " + std::to_string(index)
                                             : "the list is full: written without a material");
            if (warnings != nullptr) {
                warnings->add(cause, path());
            }
        }
        by_address_[name.data()] = {name.size(), index, std::move(cause)};
        return index;
    }

    int written_count() const { return count_ + static_cast<int>(extra_.size()); }
    const std::vector<std::string>& extra() const { return extra_; }

    // A face without a material names a slot past the written list.
    int resolve_empty(int index) const
    {
        return index == k_max_materials ? written_count() : index;
    }

  private:
    int find(const std::string& name) const
    {
        for (int i = 0; i < count_; ++i) {
            if (model_.materials[i] == name) {
                return i;
            }
        }
        for (std::size_t k = 0; k < extra_.size(); ++k) {
            if (extra_[k] == name) {
                return count_ + static_cast<int>(k);
            }
        }
        return -1;
    }

    const type_model& model_;
    int count_;
    std::vector<std::string> extra_;
    // Names met before, by the address of their bytes: the faces of one load
    // share them, so a long name is compared once, not once per face.
    struct Seen {
        std::size_t size;
        int index;
        std::string cause; // of its warning, if it has one
    };
    std::unordered_map<const char*, Seen> by_address_;
};

class Writer {
  public:
    Writer(const type_model& model, std::ostream& out) : model_(model), out_(out), materials_(model)
    {
        buffer_.reserve(k_flush_at + 4096);
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
        return warnings_.lines();
    }

  private:
    static constexpr std::size_t k_flush_at = 256 * 1024;

    void flush()
    {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

    void end_line()
    {
        buffer_ += "\r\n";
        if (buffer_.size() >= k_flush_at) {
            flush();
        }
    }
    void line(std::string_view text)
    {
        buffer_ += text;
        end_line();
    }

    void integer(long long v)
    {
        char digits[24];
        append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
    }
    // From `first` to `last`: the pointer-pair append of std::string takes
    // a slow general path.
    void append(const char* first, const char* last)
    {
        buffer_.append(first, static_cast<std::size_t>(last - first));
    }
    void space() { buffer_ += ' '; }
    void index_prefix(int i)
    {
        integer(i);
        buffer_ += ": ";
    }

    // The reader takes decimal and exponent forms only: infinities become
    // the largest double of their sign and NaN becomes 0.
    // `path` builds the field's path, only when a warning needs it.
    template <class Path> void real(double v, Path path)
    {
        if (std::isnan(v)) {
            warnings_.add("nan cannot be written; written as 0", path());
            v = 0;
        } else if (std::isinf(v)) {
            warnings_.add(std::string(v < 0 ? "-inf" : "inf") +
                              " cannot be written; written as the largest double",
                          path());
            v = std::copysign(std::numeric_limits<double>::max(), v);
        }
        char digits[32];
        append(digits, shortest_double(digits, v));
    }
    template <class Prefix>
    void reals(std::initializer_list<std::pair<double, const char*>> values, Prefix prefix)
    {
        bool first = true;
        for (const auto& value : values) {
            if (!first) {
                space();
            }
            first = false;
            real(value.first, [&] { return prefix() + value.second; });
        }
    }

    // A text is one token: not empty, none of the bytes that end a token,
    // at most the tokenizer's length. Anything else is written in the
    // nearest form the reader takes, with a warning.
    template <class Path>
    void text(const std::string& value, Path path, std::string_view placeholder)
    {
        if (value.empty()) {
            warnings_.add("an empty text cannot be written; written as " + quoted_text(placeholder),
                          path());
            buffer_ += placeholder;
            return;
        }
        const std::string_view kept(value.data(), std::min(value.size(), k_max_text));
        const std::size_t start = buffer_.size();
        buffer_ += kept;
        bool replaced = false;
        for (std::size_t i = start; i < buffer_.size(); ++i) {
            if (ends_token(static_cast<unsigned char>(buffer_[i]))) {
                buffer_[i] = '_';
                replaced = true;
            }
        }
        if (replaced) {
            warnings_.add("spaces, commas, colons, tabs, carriage returns and \"#\" end a "
                          "text; written as \"_\"",
                          path());
        }
        if (kept.size() != value.size()) {
            warnings_.add("a text longer than 16 MiB cannot be read; cut to 16 MiB", path());
        }
    }

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
        buffer_ += "MATERIALS ";
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
        buffer_ += "RADIUS ";
        real(model_.radius, [] { return std::string("radius"); });
        end_line();
        buffer_ += "INSERT OFFSET ";
        reals({{model_.insert_offset_x, "insert_offset_x"},
               {model_.insert_offset_y, "insert_offset_y"},
               {model_.insert_offset_z, "insert_offset_z"}},
              [] { return std::string(); });
        end_line();
        buffer_ += "GEOSETS ";
        integer(model_.geoset_count);
        end_line();
        for (int g = 0; g < model_.geoset_count; ++g) {
            const type_geosets& geoset = model_.geosets[g];
            line("");
            buffer_ += "GEOSET ";
            integer(g);
            end_line();
            buffer_ += "MESHES ";
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
        buffer_ += "MESH ";
        integer(m);
        end_line();
        buffer_ += "NAME ";
        text(
            mesh.name, [&] { return path + ".name"; }, "_");
        end_line();
        buffer_ += "RADIUS ";
        real(mesh.radius, [&] { return path + ".radius"; });
        end_line();
        buffer_ += "GEOMETRYMODE ";
        integer(mesh.geometry_mode);
        end_line();
        buffer_ += "LIGHTINGMODE ";
        integer(mesh.lighting_mode);
        end_line();
        buffer_ += "TEXTUREMODE ";
        integer(mesh.texture_mode);
        end_line();

        buffer_ += "VERTICES ";
        integer(mesh.vertex_count);
        end_line();
        for (int v = 0; v < mesh.vertex_count; ++v) {
            const type_vertex& p = mesh.vertices[v];
            index_prefix(v);
            reals({{p.x, "x"}, {p.y, "y"}, {p.z, "z"}, {p.intensity, "intensity"}},
                  [&] { return path + ".vertices[" + std::to_string(v) + "]."; });
            end_line();
        }

        buffer_ += "TEXTURE VERTICES ";
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

        buffer_ += "FACES ";
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
            buffer_ += ',';
            integer(face.corner_tvertex[k]);
        }
        end_line();
    }

    void write_hierarchy()
    {
        line("SECTION: HIERARCHYDEF");
        line("");
        buffer_ += "HIERARCHY NODES ";
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
    std::ostream& out_;
    MaterialIndex materials_;
    Warnings warnings_;
    std::string buffer_;
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
