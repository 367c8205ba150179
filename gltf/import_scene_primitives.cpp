#include "gltf/import_scene_primitives.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <tiny_gltf.h>

#include "gltf/gltf_accessors.h"
#include "gltf/import_error.h"
#include "model/report_text.h"

namespace facetor::gltf_import {

namespace {

template <typename Emit>
void for_each_triangle(int mode, const std::vector<std::uint32_t>& i, Emit emit)
{
    const std::size_t n = i.size();
    if (mode == TINYGLTF_MODE_TRIANGLES) {
        for (std::size_t k = 0; k + 2 < n; k += 3) {
            emit(i[k], i[k + 1], i[k + 2]);
        }
    } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
        // Every other triangle is turned, so that all face one way.
        for (std::size_t k = 0; k + 2 < n; ++k) {
            if (k % 2 == 0) {
                emit(i[k], i[k + 1], i[k + 2]);
            } else {
                emit(i[k], i[k + 2], i[k + 1]);
            }
        }
    } else {
        for (std::size_t k = 1; k + 1 < n; ++k) {
            emit(i[k], i[k + 1], i[0]);
        }
    }
}

} // namespace

ImportMesh MeshBaker::build_mesh(const Bake& bake)
{
    const tinygltf::Mesh& mesh = gltf_.meshes[static_cast<std::size_t>(bake.mesh)];
    ImportMesh out;
    out.name = mesh.name;
    const Linear normal_matrix = bake.linear.normal_matrix();
    for (const tinygltf::Primitive& p : mesh.primitives) {
        add_primitive(out, p, bake, normal_matrix);
    }
    return out;
}

namespace {

// The reader of attribute `name`, when the primitive has it, checked to
// hold one element per vertex before anything is read.
std::optional<AccessorReader> attribute(const tinygltf::Model& gltf, const tinygltf::Primitive& p,
                                        const std::string& name, int components,
                                        std::size_t vertices)
{
    const auto it = p.attributes.find(name);
    if (it == p.attributes.end()) {
        return std::nullopt;
    }
    AccessorReader reader(gltf, it->second, components);
    if (reader.count() != vertices) {
        throw ImportError("accessor " + std::to_string(it->second) + ": " + name +
                          " has another count than POSITION");
    }
    return reader;
}

// Element `v` as the floats glTF stores.
std::array<float, 3> floats_of(const AccessorReader& reader, std::size_t v)
{
    double d[3] = {};
    reader.read(v, d);
    return {static_cast<float>(d[0]), static_cast<float>(d[1]), static_cast<float>(d[2])};
}

bool has_area(const Vec3& a, const Vec3& b, const Vec3& c)
{
    return cross(difference(b, a), difference(c, a)) != Vec3{};
}

} // namespace

void MeshBaker::add_primitive(ImportMesh& out, const tinygltf::Primitive& p, const Bake& bake,
                              const Linear& normal_matrix)
{
    const int mode = p.mode < 0 ? TINYGLTF_MODE_TRIANGLES : p.mode;
    if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
        mode != TINYGLTF_MODE_TRIANGLE_FAN) {
        ++counts_.points_or_lines;
        return;
    }
    const auto position = p.attributes.find("POSITION");
    if (position == p.attributes.end()) {
        ++counts_.without_positions;
        return;
    }
    if (!p.targets.empty()) {
        ++counts_.morphed;
    }
    const AccessorReader positions(gltf_, position->second, 3);
    if (positions.component_type() != TINYGLTF_COMPONENT_TYPE_FLOAT && !quantized_) {
        throw ImportError("accessor " + std::to_string(position->second) +
                          ": POSITION in integers needs the extension KHR_mesh_quantization, "
                          "which the file does not use");
    }
    const std::size_t count = positions.count();
    const std::optional<AccessorReader> normals = attribute(gltf_, p, "NORMAL", 3, count);
    const int material = materials_.material_for(p.material, bake.mesh);
    const std::optional<AccessorReader> uvs = attribute(
        gltf_, p, "TEXCOORD_" + std::to_string(materials_.texcoord_set(p.material)), 2, count);

    // The bounds checked before reading cover the corners, not the
    // vertices: only the vertices a corner names are read.
    std::vector<std::uint32_t> indices;
    if (p.indices >= 0) {
        indices = read_indices(gltf_, p.indices);
        for (const std::uint32_t i : indices) {
            if (i >= count) {
                throw ImportError("accessor " + std::to_string(p.indices) +
                                  ": an index past the primitive's " +
                                  count_of(count, "vertex", "vertices"));
            }
        }
    } else {
        indices.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            indices[i] = static_cast<std::uint32_t>(i);
        }
    }
    if (mode == TINYGLTF_MODE_TRIANGLES && indices.size() % 3 != 0) {
        ++counts_.incomplete_triangles;
    }
    std::vector<std::uint32_t> used = indices;
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());

    const auto base = static_cast<std::uint32_t>(out.positions.size());
    std::vector<std::array<float, 3>> file_positions(used.size());
    for (const std::uint32_t v : used) {
        const std::array<float, 3> xyz = floats_of(positions, v);
        file_positions[out.positions.size() - base] = xyz;
        out.positions.push_back(to_model_axes(bake.linear.apply(xyz.data())));
        Vec3 n{};
        if (normals) {
            const Vec3 unit = unit_vector(normal_matrix.apply(floats_of(*normals, v).data()));
            n = unit == Vec3{} ? Vec3{} : to_model_axes(unit);
        }
        out.normals.push_back(n);
        std::array<double, 2> uv{};
        if (uvs) {
            double d[2] = {};
            uvs->read(v, d);
            const float u = static_cast<float>(d[0]), w = static_cast<float>(d[1]);
            if (std::isfinite(u) && std::isfinite(w)) {
                uv = {u, w};
            } else {
                ++counts_.non_finite_uvs;
            }
        }
        out.uvs.push_back(uv);
    }
    const auto local = [&](std::uint32_t v) {
        return static_cast<std::uint32_t>(std::lower_bound(used.begin(), used.end(), v) -
                                          used.begin());
    };
    const auto as_vec = [](const std::array<float, 3>& f) { return Vec3{f[0], f[1], f[2]}; };
    const bool mirrored = bake.linear.determinant() < 0;
    for_each_triangle(mode, indices, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        // Strips and fans join their runs with repeated indices; such a
        // triangle is no face.
        if (a == b || b == c || a == c) {
            return;
        }
        a = local(a), b = local(b), c = local(c);
        const Vec3 &pa = out.positions[base + a], &pb = out.positions[base + b],
                   &pc = out.positions[base + c];
        if (!finite(pa) || !finite(pb) || !finite(pc)) {
            ++counts_.non_finite_triangles;
            return;
        }
        // A triangle with an area in the file that the node's scale
        // flattens is no face either; one without an area stays as the
        // file has it.
        if (!has_area(pa, pb, pc) && has_area(as_vec(file_positions[a]), as_vec(file_positions[b]),
                                              as_vec(file_positions[c]))) {
            ++counts_.flattened_triangles;
            return;
        }
        if (mirrored) {
            std::swap(b, c); // a mirror turns the winding
        }
        out.triangles.push_back({{base + a, base + b, base + c}, material});
    });
}

} // namespace facetor::gltf_import
