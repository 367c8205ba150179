#include "editing/element_change.h"

#include <algorithm>

#include "model/errors.h"

namespace facetor {

namespace {

std::size_t text_bytes(const std::string& text)
{
    return text.capacity();
}

std::size_t text_bytes(const shared_text& text)
{
    return text.empty() ? 0 : sizeof(std::string) + text.size();
}

// Each list's slots, count and references, by the record it holds.
template <class Record> struct Slots;

template <> struct Slots<VertexRecord> {
    static constexpr int capacity = k_max_vertices;
    template <class M> static auto& count(M& m, int mesh) { return m.mesh(mesh).vertex_count; }
    static VertexRecord get(const type_model& m, int mesh, int i)
    {
        return {m.mesh(mesh).vertices[i], m.mesh(mesh).vertex_normals[i]};
    }
    static void put(type_model& m, int mesh, int i, const VertexRecord& r)
    {
        m.mesh(mesh).vertices[i] = r.vertex;
        m.mesh(mesh).vertex_normals[i] = r.normal;
    }
    static void move(type_model& m, int mesh, int from, int to)
    {
        put(m, mesh, to, get(m, mesh, from));
    }
    // The corners of the mesh's faces.
    template <class Map> static void renumber(type_model& m, int mesh, Map map)
    {
        type_mesh& me = m.mesh(mesh);
        for (int f = 0; f < me.face_count; ++f) {
            type_faces& face = me.faces[f];
            for (int k = 1; k <= face.corner_count; ++k) {
                face.corner_vertex[k] = map(face.corner_vertex[k]);
            }
        }
    }
    static std::size_t bytes(const VertexRecord&) { return sizeof(VertexRecord); }
};

template <> struct Slots<FaceRecord> {
    static constexpr int capacity = k_max_faces;
    template <class M> static auto& count(M& m, int mesh) { return m.mesh(mesh).face_count; }
    static FaceRecord get(const type_model& m, int mesh, int i)
    {
        return {m.mesh(mesh).faces[i], m.mesh(mesh).face_normals[i]};
    }
    static void put(type_model& m, int mesh, int i, const FaceRecord& r)
    {
        type_mesh& me = m.mesh(mesh);
        me.faces[i] = r.face;
        me.face_normals[i] = r.normal;
        me.face3d[i] = nullptr; // built with the scene
    }
    static void move(type_model& m, int mesh, int from, int to)
    {
        type_mesh& me = m.mesh(mesh);
        me.faces[to] = std::move(me.faces[from]);
        me.face_normals[to] = me.face_normals[from];
        me.face3d[to] = std::move(me.face3d[from]);
    }
    template <class Map> static void renumber(type_model&, int, Map) {}
    static std::size_t bytes(const FaceRecord& r)
    {
        return sizeof(FaceRecord) + text_bytes(r.face.face_type) + text_bytes(r.face.face_material);
    }
};

template <> struct Slots<type_tvertex> {
    static constexpr int capacity = k_max_tvertices;
    template <class M> static auto& count(M& m, int mesh) { return m.mesh(mesh).tvertex_count; }
    static type_tvertex get(const type_model& m, int mesh, int i)
    {
        return m.mesh(mesh).tvertices[i];
    }
    static void put(type_model& m, int mesh, int i, const type_tvertex& r)
    {
        m.mesh(mesh).tvertices[i] = r;
    }
    static void move(type_model& m, int mesh, int from, int to)
    {
        put(m, mesh, to, get(m, mesh, from));
    }
    template <class Map> static void renumber(type_model&, int, Map) {}
    static std::size_t bytes(const type_tvertex&) { return sizeof(type_tvertex); }
};

template <> struct Slots<std::string> {
    static constexpr int capacity = k_max_materials;
    template <class M> static auto& count(M& m, int) { return m.material_count; }
    static std::string get(const type_model& m, int, int i) { return m.materials[i]; }
    static void put(type_model& m, int, int i, const std::string& r) { m.materials[i] = r; }
    static void move(type_model& m, int, int from, int to)
    {
        m.materials[to] = std::move(m.materials[from]);
    }
    template <class Map> static void renumber(type_model&, int, Map) {}
    static std::size_t bytes(const std::string& r) { return sizeof(std::string) + text_bytes(r); }
};

template <> struct Slots<type_hierarchy> {
    static constexpr int capacity = k_max_nodes;
    template <class M> static auto& count(M& m, int) { return m.node_count; }
    static type_hierarchy get(const type_model& m, int, int i) { return m.nodes[i]; }
    static void put(type_model& m, int, int i, const type_hierarchy& r) { m.nodes[i] = r; }
    static void move(type_model& m, int, int from, int to)
    {
        m.nodes[to] = std::move(m.nodes[from]);
    }
    template <class Map> static void renumber(type_model&, int, Map) {}
    static std::size_t bytes(const type_hierarchy& r)
    {
        return sizeof(type_hierarchy) + text_bytes(r.node_flags) + text_bytes(r.node_type) +
               text_bytes(r.node_name);
    }
};

template <> struct Slots<MeshRecord> {
    static constexpr int capacity = k_max_meshes;
    template <class M> static auto& count(M& m, int) { return m.geosets[0].mesh_count; }
    static MeshRecord get(const type_model& m, int, int i)
    {
        auto copy = std::make_shared<type_mesh>(m.mesh(i));
        copy->face3d.fill(nullptr); // the scene's, not the model's
        return copy;
    }
    static void put(type_model& m, int, int i, const MeshRecord& r) { m.mesh(i) = *r; }
    static void move(type_model& m, int, int from, int to) { m.mesh(to) = std::move(m.mesh(from)); }
    // The meshes the nodes carry.
    template <class Map> static void renumber(type_model& m, int, Map map)
    {
        for (int n = 0; n < m.node_count; ++n) {
            if (m.nodes[n].mesh >= 0) {
                m.nodes[n].mesh = map(m.nodes[n].mesh);
            }
        }
    }
    static std::size_t bytes(const MeshRecord& r)
    {
        std::size_t total = sizeof(MeshRecord) + sizeof(type_mesh) + text_bytes(r->name);
        for (const type_faces& face : r->faces) {
            total += text_bytes(face.face_type) + text_bytes(face.face_material);
        }
        return total;
    }
};

template <class Record> int list_count(type_model& model, int mesh)
{
    return Slots<Record>::count(model, mesh);
}

bool fits(const std::vector<std::uint16_t>& at, std::size_t records, int longer_count)
{
    return records == at.size() && std::is_sorted(at.begin(), at.end()) &&
           std::adjacent_find(at.begin(), at.end()) == at.end() &&
           (at.empty() || at.back() < longer_count);
}

// Takes the elements at `at` out; `overwritten`, when given, goes back
// into the slots freed at the end.
template <class Record>
void take_out(type_model& model, const ListChange<Record>& c, bool restore_overwritten)
{
    using S = Slots<Record>;
    const int n = list_count<Record>(model, c.mesh);
    const int k = static_cast<int>(c.at.size());
    if (!fits(c.at, c.records.size(), n) ||
        (restore_overwritten && c.overwritten.size() != c.at.size())) {
        throw RangeError();
    }
    // A reference to an element taken out goes to the one after it; the
    // carriers of a mesh taken out carry none.
    S::renumber(model, c.mesh, [&](int i) {
        if (i >= n) {
            return i;
        }
        return i - static_cast<int>(std::lower_bound(c.at.begin(), c.at.end(), i) - c.at.begin());
    });
    if constexpr (std::is_same_v<Record, MeshRecord>) {
        for (const Carrier& carrier : c.carriers) {
            model.nodes[carrier.node].mesh = -1;
        }
    }
    int w = 0;
    std::size_t p = 0;
    for (int i = 0; i < n; ++i) {
        if (p < c.at.size() && c.at[p] == i) {
            ++p;
            continue;
        }
        if (w != i) {
            S::move(model, c.mesh, i, w);
        }
        ++w;
    }
    S::count(model, c.mesh) = n - k;
    if (restore_overwritten) {
        for (int j = 0; j < k; ++j) {
            S::put(model, c.mesh, n - k + j, c.overwritten[static_cast<std::size_t>(j)]);
        }
    }
}

template <class Record> void put_in(type_model& model, const ListChange<Record>& c)
{
    using S = Slots<Record>;
    const int n = list_count<Record>(model, c.mesh);
    const int k = static_cast<int>(c.at.size());
    if (n + k > S::capacity || !fits(c.at, c.records.size(), n + k)) {
        throw RangeError();
    }
    S::renumber(model, c.mesh, [&](int i) {
        if (i >= n) {
            return i;
        }
        for (const std::uint16_t a : c.at) {
            i += a <= i ? 1 : 0;
        }
        return i;
    });
    int r = n - 1;
    for (int w = n + k - 1, p = k - 1; w > r; --w) {
        if (p >= 0 && c.at[static_cast<std::size_t>(p)] == w) {
            S::put(model, c.mesh, w, c.records[static_cast<std::size_t>(p--)]);
        } else {
            S::move(model, c.mesh, r--, w);
        }
    }
    S::count(model, c.mesh) = n + k;
    if constexpr (std::is_same_v<Record, MeshRecord>) {
        for (const Carrier& carrier : c.carriers) {
            model.nodes[carrier.node].mesh = carrier.mesh;
        }
    }
}

template <class Record> std::size_t list_bytes(const ListChange<Record>& c)
{
    std::size_t total = c.at.capacity() * sizeof(std::uint16_t) +
                        (c.records.capacity() + c.overwritten.capacity()) * sizeof(Record) +
                        c.carriers.capacity() * sizeof(Carrier);
    // The records' own: texts, and a mesh's slots.
    for (const auto* list : {&c.records, &c.overwritten}) {
        for (const Record& r : *list) {
            total += Slots<Record>::bytes(r) - sizeof(Record);
        }
    }
    return total;
}

} // namespace

template <class Record>
ListChange<Record> removal(const type_model& model, int mesh, std::vector<std::uint16_t> at)
{
    ListChange<Record> c;
    c.inserts = false;
    c.mesh = static_cast<std::uint8_t>(mesh);
    for (const std::uint16_t i : at) {
        c.records.push_back(Slots<Record>::get(model, mesh, i));
    }
    if constexpr (std::is_same_v<Record, MeshRecord>) {
        for (int n = 0; n < model.node_count; ++n) {
            const int carried = model.nodes[n].mesh;
            if (std::binary_search(at.begin(), at.end(), carried)) {
                c.carriers.push_back(
                    {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(carried)});
            }
        }
    }
    c.at = std::move(at);
    return c;
}

template <class Record>
ListChange<Record> insertion(const type_model& model, int mesh, std::vector<std::uint16_t> at,
                             std::vector<Record> records)
{
    ListChange<Record> c;
    c.mesh = static_cast<std::uint8_t>(mesh);
    const int n = Slots<Record>::count(model, mesh);
    const int k = static_cast<int>(at.size());
    for (int i = n; i < n + k && i <= Slots<Record>::capacity; ++i) {
        c.overwritten.push_back(Slots<Record>::get(model, mesh, i));
    }
    c.at = std::move(at);
    c.records = std::move(records);
    return c;
}

#define FACETOR_LIST_CHANGE(Record)                                                                \
    template ListChange<Record> removal<Record>(const type_model&, int,                            \
                                                std::vector<std::uint16_t>);                       \
    template ListChange<Record> insertion<Record>(                                                 \
        const type_model&, int, std::vector<std::uint16_t>, std::vector<Record>);
FACETOR_LIST_CHANGE(VertexRecord)
FACETOR_LIST_CHANGE(FaceRecord)
FACETOR_LIST_CHANGE(type_tvertex)
FACETOR_LIST_CHANGE(std::string)
FACETOR_LIST_CHANGE(type_hierarchy)
FACETOR_LIST_CHANGE(MeshRecord)
#undef FACETOR_LIST_CHANGE

void apply_element(type_model& model, const ElementChange& change, bool forward)
{
    std::visit(
        [&](const auto& c) {
            if (c.inserts == forward) {
                put_in(model, c);
            } else {
                take_out(model, c, c.inserts);
            }
        },
        change);
}

std::size_t element_bytes(const ElementChange& change)
{
    return std::visit([](const auto& c) { return list_bytes(c); }, change);
}

} // namespace facetor
