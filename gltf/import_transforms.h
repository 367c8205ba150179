#pragma once
// A glTF node's transform as the import bakes it into the vertices of its
// mesh, and glTF's axes turned into the model's.
#include <array>
#include <cstddef>

#include "model/geometry.h"
#include "model/vector_math.h"

namespace facetor::gltf_import {

// Column-major, as glTF writes matrices.
using Matrix = std::array<double, 16>;

// The upper 3 x 3 of a node's world matrix: what gets built into the
// vertices of its mesh.
struct Linear {
    std::array<double, 9> m{}; // column-major

    explicit Linear(const Matrix& world)
    {
        for (int col = 0; col < 3; ++col) {
            for (int row = 0; row < 3; ++row) {
                m[static_cast<std::size_t>(col * 3 + row)] =
                    world[static_cast<std::size_t>(col * 4 + row)];
            }
        }
    }
    double at(int row, int col) const { return m[static_cast<std::size_t>(col * 3 + row)]; }
    Vec3 apply(const float* v) const
    {
        return {at(0, 0) * v[0] + at(0, 1) * v[1] + at(0, 2) * v[2],
                at(1, 0) * v[0] + at(1, 1) * v[1] + at(1, 2) * v[2],
                at(2, 0) * v[0] + at(2, 1) * v[1] + at(2, 2) * v[2]};
    }
    double determinant() const
    {
        return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
               at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
               at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
    }
    // The cofactor matrix, which is the inverse transpose times the
    // determinant: normals keep their side under a mirror when multiplied
    // by its sign.
    Linear normal_matrix() const
    {
        Linear n = *this;
        const double sign = determinant() < 0 ? -1.0 : 1.0;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
                const int c1 = (col + 1) % 3, c2 = (col + 2) % 3;
                n.m[static_cast<std::size_t>(col * 3 + row)] =
                    sign * (at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1));
            }
        }
        return n;
    }
};

// A glTF mesh as one node's world rotation and scale bake it.
struct Bake {
    int mesh;
    Linear linear;
};

inline Vec3 to_model_axes(const Vec3& v)
{
    return from_view_axes(v[0], v[1], v[2]);
}

} // namespace facetor::gltf_import
