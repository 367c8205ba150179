#include "model/reader.h"

#include <array>

#include "model/errors.h"
#include "model/tokenizer.h"

namespace facetor {

namespace {

// The grammar of a 3DO file, section by section. Every value goes straight
// into its place in the model, through the ranged fields, so a value out of
// range raises RangeError before it is stored and everything read before it
// stays.
class Parser {
  public:
    Parser(ByteSource& source, type_model& model, ReaderState& state, Progress& progress,
           ReadObserver* observer)
        : tok_(source, state), model_(model), state_(state), progress_(progress),
          observer_(observer)
    {
    }

    void run()
    {
        word("SECTION: HEADER");
        word("3DO");
        word("2.1");
        word("SECTION: MODELRESOURCE");
        materials();
        progress_.set(2);
        word("SECTION: GEOMETRYDEF");
        geometry();
        word("SECTION: HIERARCHYDEF");
        hierarchy();
        progress_.set(99);
    }

  private:
    // The failure paths say what was expected and where; they are out of
    // line so that the reading loops stay as small as before.
    [[noreturn, gnu::cold, gnu::noinline]] void fail(const char* expected)
    {
        throw ReadFormatError(expected, tok_.token_offset());
    }
    [[noreturn, gnu::cold, gnu::noinline]] void fail_word(std::string_view w)
    {
        throw ReadFormatError("\"" + std::string(w) + "\"", tok_.token_offset());
    }
    [[noreturn, gnu::cold, gnu::noinline]] void fail_index(int n)
    {
        throw ReadFormatError("\"" + std::to_string(n) + "\"", tok_.token_offset());
    }
    [[noreturn, gnu::cold, gnu::noinline]] void fail_range(const char* field, long long value,
                                                           long long lo, long long hi)
    {
        throw ReadRangeError(field, value, lo, hi, tok_.token_offset());
    }

    void word(std::string_view w)
    {
        if (!tok_.expect_word(w)) {
            fail_word(w);
        }
    }
    void index(int n)
    {
        if (!tok_.expect_index(n)) {
            fail_index(n);
        }
    }
    std::int32_t integer()
    {
        if (!tok_.read_int()) {
            fail("an integer");
        }
        return state_.tok_int;
    }
    double real()
    {
        if (!tok_.read_float()) {
            fail("a number");
        }
        return state_.tok_float;
    }
    const std::string& text()
    {
        if (!tok_.read_text()) {
            fail("text");
        }
        return state_.tok_text;
    }
    // An integer into a ranged field; the field would refuse the value too,
    // but only here is its name known.
    template <class Field> void store(Field& field, const char* name)
    {
        const std::int32_t value = integer();
        if (!Field::admits(value)) {
            fail_range(name, value, Field::min, Field::max);
        }
        field = value;
    }

    void materials()
    {
        word("MATERIALS");
        store(model_.material_count, "material_count");
        for (int i = 0; i < model_.material_count; ++i) {
            index(i);
            model_.materials[i] = text();
        }
    }

    void geometry()
    {
        word("RADIUS");
        model_.radius = real();
        word("INSERT OFFSET");
        model_.insert_offset_x = real();
        model_.insert_offset_y = real();
        model_.insert_offset_z = real();
        word("GEOSETS");
        store(model_.geoset_count, "geoset_count");
        for (int g = 0; g < model_.geoset_count; ++g) {
            word("GEOSET");
            index(g);
            word("MESHES");
            type_geosets& geoset = model_.geosets[g];
            store(geoset.mesh_count, "mesh_count");
            geoset_ = g;
            for (int m = 0; m < geoset.mesh_count; ++m) {
                mesh(geoset.meshes[m], m);
                advance_progress();
            }
        }
    }

    // Each mesh block moves the bar by a share computed from geoset 0 alone.
    // When geoset 0 has no meshes there is no share to give: the bar stays.
    void advance_progress()
    {
        const int first_geoset_meshes = model_.geosets[0].mesh_count;
        const int step =
            first_geoset_meshes == 0 ? 0 : (95 / model_.geoset_count) / first_geoset_meshes;
        progress_.set(progress_.value() + step);
    }

    // A mesh block is where a load spends its time: everything it calls is
    // inlined into it, so that the inliner's budget for one large function
    // does not decide how fast a file loads.
    [[gnu::flatten]] void mesh(type_mesh& mesh, int m)
    {
        word("MESH");
        index(m);
        word("NAME");
        mesh.name = text();
        if (observer_ != nullptr) {
            observer_->mesh_read(geoset_, m, tok_.token_offset());
        }
        word("RADIUS");
        mesh.radius = real();
        word("GEOMETRYMODE");
        store(mesh.geometry_mode, "geometry_mode");
        word("LIGHTINGMODE");
        store(mesh.lighting_mode, "lighting_mode");
        word("TEXTUREMODE");
        store(mesh.texture_mode, "texture_mode");

        word("VERTICES");
        store(mesh.vertex_count, "vertex_count");
        for (int v = 0; v < mesh.vertex_count; ++v) {
            index(v);
            type_vertex& vertex = mesh.vertices[v];
            vertex.x = real();
            vertex.y = real();
            vertex.z = real();
            vertex.intensity = real();
        }

        word("TEXTURE VERTICES");
        store(mesh.tvertex_count, "tvertex_count");
        for (int t = 0; t < mesh.tvertex_count; ++t) {
            index(t);
            type_tvertex& tvertex = mesh.tvertices[t];
            tvertex.u = real();
            tvertex.v = real();
        }

        word("VERTEX NORMALS");
        for (int v = 0; v < mesh.vertex_count; ++v) {
            index(v);
            normal(mesh.vertex_normals[v]);
        }

        word("FACES");
        store(mesh.face_count, "face_count");
        for (int f = 0; f < mesh.face_count; ++f) {
            index(f);
            face(mesh.faces[f], m, f);
        }

        word("FACE NORMALS");
        for (int f = 0; f < mesh.face_count; ++f) {
            index(f);
            normal(mesh.face_normals[f]);
        }
    }

    void normal(type_normal& n)
    {
        n.x = real();
        n.y = real();
        n.z = real();
    }

    void face(type_faces& face, int m, int f)
    {
        // The face keeps the material's name as the slot holds it now; the
        // index is checked first, since the slots end at 64.
        const std::int32_t material = integer();
        if (!count_materials::admits(material)) {
            fail_range("material", material, count_materials::min, count_materials::max);
        }
        if (observer_ != nullptr) {
            observer_->face_read(geoset_, m, f, material, tok_.token_offset());
        }
        face.face_material = material_name(material);
        face.face_type = text();
        store(face.geo, "geo");
        store(face.light, "light");
        store(face.tex, "tex");
        face.extra_light = real();
        store(face.corner_count, "corner_count");
        for (int k = 1; k <= face.corner_count; ++k) {
            store(face.corner_vertex[k], "corner_vertex");
            store(face.corner_tvertex[k], "corner_tvertex");
        }
    }

    // One copy of each name for all the faces of this load that take it;
    // the slots do not change after the materials section.
    const shared_text& material_name(int index)
    {
        const auto i = static_cast<std::size_t>(index);
        if (!material_taken_[i]) {
            material_names_[i] = model_.materials[i];
            material_taken_[i] = true;
        }
        return material_names_[i];
    }

    void hierarchy()
    {
        word("HIERARCHY NODES");
        store(model_.node_count, "node_count");
        for (int n = 0; n < model_.node_count; ++n) {
            index(n);
            node(model_.nodes[n], n);
        }
    }

    void node(type_hierarchy& node, int n)
    {
        node.node_flags = text();
        if (observer_ != nullptr) {
            observer_->node_read(n, tok_.token_offset());
        }
        node.node_type = text();
        store(node.mesh, "mesh");
        store(node.parent, "parent");
        store(node.child, "child");
        store(node.sibling, "sibling");
        store(node.num_children, "num_children");
        node.offset_x = real();
        node.offset_y = real();
        node.offset_z = real();
        node.pitch = real();
        node.yaw = real();
        node.roll = real();
        node.pivot_x = real();
        node.pivot_y = real();
        node.pivot_z = real();
        node.node_name = text();
    }

    Tokenizer tok_;
    type_model& model_;
    ReaderState& state_;
    Progress& progress_;
    ReadObserver* observer_;
    int geoset_ = 0; // of the mesh being read
    std::array<shared_text, k_max_materials + 1> material_names_{};
    std::array<bool, k_max_materials + 1> material_taken_{};
};

void parse(ByteSource& source, type_model& model, ReaderState& state, Progress& progress,
           ReadObserver* observer)
{
    Parser(source, model, state, progress, observer).run();
}

void complete_load(type_model& model)
{
    place_nodes(model);
    model.sel_mesh = 0;
    model.sel_face = 0;
    model.sel_vertex = 0;
    clear_selection(model);
}

} // namespace

void read_3do(ByteSource& source, type_model& model, ReaderState& state, Progress& progress,
              ReadObserver* observer)
{
    parse(source, model, state, progress, observer);
    complete_load(model);
}

void read_3do_file(const std::string& path, type_model& model, ReaderState& state,
                   Progress& progress, ReadObserver* observer)
{
    {
        FileSource file(path);
        parse(file, model, state, progress, observer);
    } // closed here, before the nodes are placed
    complete_load(model);
}

void read_3do_bytes(std::string_view bytes, type_model& model, ReaderState& state,
                    Progress& progress, ReadObserver* observer)
{
    MemorySource memory(bytes);
    read_3do(memory, model, state, progress, observer);
}

} // namespace facetor
