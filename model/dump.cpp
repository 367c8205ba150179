#include "model/dump.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "model/number_text.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

class Dumper {
  public:
    Dumper(std::ostream& out, DumpSlots slots)
        : out_(out), slots_(slots), buffer_(new char[k_dump_buffer_bytes])
    {
    }
    ~Dumper() { flush(); }
    Dumper(const Dumper&) = delete;
    Dumper& operator=(const Dumper&) = delete;

    void model(const type_model& m)
    {
        integer("geoset_count", m.geoset_count);
        for (int g = 0; g < slots(m.geoset_count, m.geosets); ++g) {
            const Scope s(*this, "geosets", g);
            geoset(m.geosets[g]);
        }
        real("radius", m.radius);
        real("insert_offset_x", m.insert_offset_x);
        real("insert_offset_y", m.insert_offset_y);
        real("insert_offset_z", m.insert_offset_z);
        integer("material_count", m.material_count);
        for (int i = 0; i < slots(m.material_count, m.materials); ++i) {
            text_at("materials", i, m.materials[i]);
        }
        integer("node_count", m.node_count);
        for (int n = 0; n < slots(m.node_count, m.nodes); ++n) {
            const Scope s(*this, "nodes", n);
            node(m.nodes[n]);
        }
        integer("sel_mesh", m.sel_mesh);
        integer("sel_face", m.sel_face);
        integer("sel_vertex", m.sel_vertex);
    }

  private:
    // Adds "NAME[i]." to the path for the fields of one array slot.
    class Scope {
      public:
        Scope(Dumper& d, std::string_view name, int i) : d_(d), length_(d.path_.size())
        {
            d.path_ += name;
            d.append_index(d.path_, i);
            d.path_ += '.';
        }
        ~Scope() { d_.path_.resize(length_); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Dumper& d_;
        std::size_t length_;
    };

    static void append_index(std::string& to, int i)
    {
        char digits[12];
        const auto r = std::to_chars(digits, digits + sizeof digits, i);
        to += '[';
        to.append(digits, static_cast<std::size_t>(r.ptr - digits));
        to += ']';
    }

    // Whatever the length: what does not fit flushes the buffer first, and
    // what is longer than the buffer goes out past it.
    void put(const char* data, std::size_t size)
    {
        if (size > k_dump_buffer_bytes - used_) {
            flush();
            if (size > k_dump_buffer_bytes) {
                out_.write(data, static_cast<std::streamsize>(size));
                return;
            }
        }
        std::memcpy(buffer_.get() + used_, data, size);
        used_ += size;
    }
    void put(std::string_view text) { put(text.data(), text.size()); }
    void end_line() { put("\n", 1); }
    void flush()
    {
        out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

    // One line "PATH" + "FIELD[INDEX]=VALUE": the tail is made in one piece,
    // since a large model has millions of these lines.
    struct Tail {
        char text[128];
        char* p = text;
        explicit Tail(std::string_view field)
        {
            std::memcpy(p, field.data(), field.size()); // field names are short
            p += field.size();
        }
    };
    void emit(Tail& tail)
    {
        // Paths are at most "geosets[4].meshes[32].face_normals[500]." long.
        put(path_);
        put(tail.text, static_cast<std::size_t>(tail.p - tail.text));
        end_line();
    }

    void integer(std::string_view field, long long v)
    {
        if (v == 0) {
            return;
        }
        Tail tail(field);
        *tail.p++ = '=';
        tail.p = std::to_chars(tail.p, tail.p + 24, v).ptr;
        emit(tail);
    }
    void integer_at(std::string_view field, int i, long long v)
    {
        if (v == 0) {
            return;
        }
        Tail tail(field);
        *tail.p++ = '[';
        tail.p = std::to_chars(tail.p, tail.p + 12, i).ptr;
        *tail.p++ = ']';
        *tail.p++ = '=';
        tail.p = std::to_chars(tail.p, tail.p + 24, v).ptr;
        emit(tail);
    }

    // A fresh model's doubles are +0: -0 differs from it and is shown.
    void real(std::string_view field, double v)
    {
        if (std::bit_cast<std::uint64_t>(v) == 0) {
            return;
        }
        Tail tail(field);
        *tail.p++ = '=';
        if (std::isnan(v)) {
            std::memcpy(tail.p, "nan", 3); // one spelling, whatever its sign and payload
            tail.p += 3;
        } else {
            tail.p = shortest_double(tail.p, v);
        }
        emit(tail);
    }

    void text(std::string_view field, const std::string& v)
    {
        if (v.empty()) {
            return;
        }
        put(path_);
        put(field);
        put("=", 1);
        put(quoted_text(v));
        end_line();
    }
    void text_at(std::string_view field, int i, const std::string& v)
    {
        if (v.empty()) {
            return;
        }
        put(path_);
        put(field);
        std::string index;
        append_index(index, i);
        put(index);
        put("=", 1);
        put(quoted_text(v));
        end_line();
    }

    void geoset(const type_geosets& g)
    {
        integer("mesh_count", g.mesh_count);
        for (int m = 0; m < slots(g.mesh_count, g.meshes); ++m) {
            const Scope s(*this, "meshes", m);
            mesh(g.meshes[m]);
        }
    }

    void mesh(const type_mesh& m)
    {
        text("name", m.name);
        real("radius", m.radius);
        integer("geometry_mode", m.geometry_mode);
        integer("lighting_mode", m.lighting_mode);
        integer("texture_mode", m.texture_mode);
        integer("vertex_count", m.vertex_count);
        for (int v = 0; v < slots(m.vertex_count, m.vertices); ++v) {
            const type_vertex& p = m.vertices[v];
            if (is_zero(p.x) && is_zero(p.y) && is_zero(p.z) && is_zero(p.intensity)) {
                continue; // most slots of most meshes: no path to build
            }
            const Scope s(*this, "vertices", v);
            real("x", p.x);
            real("y", p.y);
            real("z", p.z);
            real("intensity", p.intensity);
        }
        integer("tvertex_count", m.tvertex_count);
        for (int t = 0; t < slots(m.tvertex_count, m.tvertices); ++t) {
            const type_tvertex& p = m.tvertices[t];
            if (is_zero(p.u) && is_zero(p.v)) {
                continue;
            }
            const Scope s(*this, "tvertices", t);
            real("u", p.u);
            real("v", p.v);
        }
        normals("vertex_normals", m.vertex_normals, m.vertex_count);
        integer("face_count", m.face_count);
        for (int f = 0; f < slots(m.face_count, m.faces); ++f) {
            const type_faces& face = m.faces[f];
            if (is_fresh(face)) {
                continue;
            }
            const Scope s(*this, "faces", f);
            this->face(face);
        }
        normals("face_normals", m.face_normals, m.face_count);
    }

    template <std::size_t N>
    void normals(std::string_view name, const std::array<type_normal, N>& normals, int count)
    {
        for (int i = 0; i < slots(count, normals); ++i) {
            const type_normal& n = normals[i];
            if (is_zero(n.x) && is_zero(n.y) && is_zero(n.z)) {
                continue;
            }
            const Scope s(*this, name, i);
            real("x", n.x);
            real("y", n.y);
            real("z", n.z);
        }
    }

    // How many slots of an array the dump looks at.
    template <class Slots> int slots(int count, const Slots& array) const
    {
        return slots_ == DumpSlots::counted ? count : static_cast<int>(array.size());
    }

    static bool is_zero(double v) { return std::bit_cast<std::uint64_t>(v) == 0; }

    static bool is_fresh(const type_faces& f)
    {
        if (!f.face_material.empty() || f.geo != 0 || f.light != 0 || f.tex != 0 ||
            f.corner_count != 0 || !is_zero(f.extra_light) || !f.face_type.empty()) {
            return false;
        }
        for (std::size_t k = 0; k < f.corner_vertex.size(); ++k) {
            if (f.corner_vertex[k] != 0 || f.corner_tvertex[k] != 0) {
                return false;
            }
        }
        return true;
    }

    void face(const type_faces& f)
    {
        text("face_material", f.face_material);
        integer("geo", f.geo);
        integer("light", f.light);
        integer("tex", f.tex);
        integer("corner_count", f.corner_count);
        real("extra_light", f.extra_light);
        text("face_type", f.face_type);
        // Corners are numbered 1..10; slot 0 is never used.
        for (int k = 0; k < static_cast<int>(f.corner_vertex.size()); ++k) {
            integer_at("corner_vertex", k, f.corner_vertex[k]);
        }
        for (int k = 0; k < static_cast<int>(f.corner_tvertex.size()); ++k) {
            integer_at("corner_tvertex", k, f.corner_tvertex[k]);
        }
    }

    void node(const type_hierarchy& n)
    {
        text("node_flags", n.node_flags);
        text("node_type", n.node_type);
        text("node_name", n.node_name);
        integer("mesh", n.mesh);
        integer("parent", n.parent);
        integer("child", n.child);
        integer("sibling", n.sibling);
        integer("num_children", n.num_children);
        real("offset_x", n.offset_x);
        real("offset_y", n.offset_y);
        real("offset_z", n.offset_z);
        real("pitch", n.pitch);
        real("yaw", n.yaw);
        real("roll", n.roll);
        real("pivot_x", n.pivot_x);
        real("pivot_y", n.pivot_y);
        real("pivot_z", n.pivot_z);
        real("world_x", n.world_x);
        real("world_y", n.world_y);
        real("world_z", n.world_z);
    }

    std::ostream& out_;
    DumpSlots slots_;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

} // namespace

void dump_model(const type_model& model, std::ostream& out, DumpSlots slots)
{
    Dumper(out, slots).model(model);
}

} // namespace facetor
