#include "gltf/import_parts.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "gltf/import.h"
#include "model/vector_math.h"

namespace facetor::gltf_import {

namespace {

// Exact bits, so that equal coordinates are one vertex; -0 is 0.
struct Key {
    std::array<std::uint64_t, 3> bits{};
    bool operator==(const Key&) const = default;
};

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ULL;
        for (const std::uint64_t b : k.bits) {
            h = (h ^ b) * 0xBF58476D1CE4E5B9ULL;
            h ^= h >> 31;
        }
        return static_cast<std::size_t>(h);
    }
};

std::uint64_t bits_of(double v)
{
    v += 0.0;
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

Key key_of(const Vec3& p)
{
    return {{bits_of(p[0]), bits_of(p[1]), bits_of(p[2])}};
}

Key key_of(const std::array<double, 2>& uv)
{
    return {{bits_of(uv[0]), bits_of(uv[1]), 0}};
}

void add_to(Vec3& sum, const Vec3& v)
{
    sum[0] += v[0];
    sum[1] += v[1];
    sum[2] += v[2];
}

constexpr Vec3 k_up{0, 0, 1};

// Vertex normals the file did not give, from the faces around them
// (weighted by area); face normals from their corners, or for a face
// without area from its vertices.
void finish_normals(Part& part)
{
    std::vector<Vec3> computed(part.positions.size(), Vec3{});
    std::vector<Vec3> raw(part.faces.size());
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        const auto& v = part.faces[f].vertex;
        const Vec3& a = part.positions[static_cast<std::size_t>(v[0])];
        raw[f] = cross(difference(part.positions[static_cast<std::size_t>(v[1])], a),
                       difference(part.positions[static_cast<std::size_t>(v[2])], a));
        for (const int i : v) {
            add_to(computed[static_cast<std::size_t>(i)], raw[f]);
        }
    }
    for (std::size_t i = 0; i < part.positions.size(); ++i) {
        Vec3 n = part.file_normal[i] ? unit_vector(part.normals[i]) : Vec3{};
        if (n == Vec3{}) {
            n = unit_vector(computed[i]);
        }
        part.normals[i] = n == Vec3{} ? k_up : n;
    }
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        Vec3 n = unit_vector(raw[f]);
        if (n == Vec3{}) {
            Vec3 around{};
            for (const int i : part.faces[f].vertex) {
                add_to(around, part.normals[static_cast<std::size_t>(i)]);
            }
            n = unit_vector(around);
        }
        part.faces[f].normal = n == Vec3{} ? k_up : n;
    }
}

} // namespace

std::vector<Part> split_mesh(const ImportMesh& mesh)
{
    std::vector<Part> parts;
    Part part;
    std::unordered_map<Key, int, KeyHash> vertex_of, tvertex_of;
    const auto close_part = [&] {
        finish_normals(part);
        parts.push_back(std::move(part));
        part = Part{};
        vertex_of.clear();
        tvertex_of.clear();
    };
    for (const ImportTriangle& t : mesh.triangles) {
        std::array<Key, 3> vk, tk;
        for (std::size_t k = 0; k < 3; ++k) {
            vk[k] = key_of(mesh.positions[t.corners[k]]);
            tk[k] = key_of(mesh.uvs[t.corners[k]]);
        }
        const auto new_keys = [](const std::array<Key, 3>& keys, const auto& known) {
            int fresh = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                const bool repeat = (k > 0 && keys[k] == keys[0]) || (k > 1 && keys[k] == keys[1]);
                fresh += !repeat && !known.contains(keys[k]);
            }
            return fresh;
        };
        if (part.faces.size() + 1 > k_max_faces ||
            part.positions.size() + static_cast<std::size_t>(new_keys(vk, vertex_of)) >
                k_max_vertices ||
            part.uvs.size() + static_cast<std::size_t>(new_keys(tk, tvertex_of)) >
                k_max_usable_tvertices) {
            close_part();
        }
        PartFace& face = part.faces.emplace_back();
        face.material = t.material;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t c = t.corners[k];
            auto [v, new_vertex] =
                vertex_of.try_emplace(vk[k], static_cast<int>(part.positions.size()));
            if (new_vertex) {
                part.positions.push_back(mesh.positions[c]);
                part.normals.emplace_back();
                part.file_normal.push_back(false);
            }
            const auto vi = static_cast<std::size_t>(v->second);
            if (mesh.normals[c] != Vec3{}) {
                add_to(part.normals[vi], mesh.normals[c]);
                part.file_normal[vi] = true;
            }
            auto [tv, new_tvertex] =
                tvertex_of.try_emplace(tk[k], static_cast<int>(part.uvs.size()));
            if (new_tvertex) {
                part.uvs.push_back(mesh.uvs[c]);
            }
            face.vertex[k] = v->second;
            face.tvertex[k] = tv->second;
        }
    }
    if (!part.faces.empty()) {
        close_part();
    }
    return parts;
}

} // namespace facetor::gltf_import
