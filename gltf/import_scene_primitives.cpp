// A glTF mesh's primitives as triangles in model axes: lists, strips and
// fans, with their normals and texture coordinates.
#include <cmath>

#include <tiny_gltf.h>

#include "gltf/gltf_accessors.h"
#include "gltf/import_error.h"
#include "gltf/import_scene_gatherer.h"

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

ImportMesh SceneGatherer::build_mesh(const tinygltf::Mesh& mesh, const Linear& linear)
{
    ImportMesh out;
    out.name = mesh.name;
    const Linear normal_matrix = linear.normal_matrix();
    const bool mirrored = linear.determinant() < 0;
    for (const tinygltf::Primitive& p : mesh.primitives) {
        add_primitive(out, p, linear, normal_matrix, mirrored);
    }
    return out;
}

// The accessor of attribute `name`, read as `components` floats per
// vertex; empty when the primitive lacks it.
std::vector<float> SceneGatherer::attribute(const tinygltf::Primitive& p, const std::string& name,
                                            int components, std::size_t vertices)
{
    const auto it = p.attributes.find(name);
    if (it == p.attributes.end()) {
        return {};
    }
    std::vector<float> values = read_floats(gltf_, it->second, components);
    if (values.size() != vertices * static_cast<std::size_t>(components)) {
        throw ImportError("accessor " + std::to_string(it->second) + ": " + name +
                          " has another count than POSITION");
    }
    return values;
}

void SceneGatherer::add_primitive(ImportMesh& out, const tinygltf::Primitive& p,
                                  const Linear& linear, const Linear& normal_matrix, bool mirrored)
{
    const int mode = p.mode < 0 ? TINYGLTF_MODE_TRIANGLES : p.mode;
    if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
        mode != TINYGLTF_MODE_TRIANGLE_FAN) {
        ++points_or_lines_;
        return;
    }
    const auto position = p.attributes.find("POSITION");
    if (position == p.attributes.end()) {
        ++without_positions_;
        return;
    }
    if (!p.targets.empty()) {
        ++morphed_;
    }
    const std::vector<float> positions = read_floats(gltf_, position->second, 3);
    const std::size_t count = positions.size() / 3;
    const std::vector<float> normals = attribute(p, "NORMAL", 3, count);
    const int material = material_for(p.material);
    const std::vector<float> uvs =
        attribute(p, "TEXCOORD_" + std::to_string(texcoord_set(p.material)), 2, count);

    const auto base = static_cast<std::uint32_t>(out.positions.size());
    for (std::size_t v = 0; v < count; ++v) {
        out.positions.push_back(to_model_axes(linear.apply(&positions[3 * v])));
        Vec3 n{};
        if (!normals.empty()) {
            n = normal_matrix.apply(&normals[3 * v]);
            const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            n = length > 0 && std::isfinite(length)
                    ? to_model_axes({n[0] / length, n[1] / length, n[2] / length})
                    : Vec3{};
        }
        out.normals.push_back(n);
        std::array<double, 2> uv{};
        if (!uvs.empty() && std::isfinite(uvs[2 * v]) && std::isfinite(uvs[2 * v + 1])) {
            uv = {uvs[2 * v], uvs[2 * v + 1]};
        }
        out.uvs.push_back(uv);
    }

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
    for_each_triangle(mode, indices, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        // Strips and fans join their runs with repeated indices; such a
        // triangle is no face.
        if (a == b || b == c || a == c) {
            return;
        }
        if (!finite(out.positions[base + a]) || !finite(out.positions[base + b]) ||
            !finite(out.positions[base + c])) {
            ++non_finite_triangles_;
            return;
        }
        if (mirrored) {
            std::swap(b, c); // a mirror turns the winding
        }
        out.triangles.push_back({{base + a, base + b, base + c}, material});
    });
}

} // namespace facetor::gltf_import
