#pragma once
// The few vector helpers that the model's geometry, the 3D scene and glTF
// share: 3-vectors in double and column-major 4 x 4 matrices.
#include <array>
#include <cmath>
#include <cstddef>

namespace facetor {

using Vec3 = std::array<double, 3>;

// a - b.
inline Vec3 difference(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

inline Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

inline double dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline double length(const Vec3& v)
{
    return std::sqrt(dot(v, v));
}

inline bool finite(const Vec3& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// `v` scaled to length 1; zero where it has no length or an infinite one,
// so a caller tells a direction from none by comparing with zero.
inline Vec3 unit_vector(Vec3 v)
{
    const double l = length(v);
    if (!(l > 0) || !std::isfinite(l)) {
        return {};
    }
    for (double& c : v) {
        c /= l;
    }
    return v;
}

// a x b for column-major matrices (the layout of OpenGL and glTF), summed
// in the matrices' own precision.
template <class T>
std::array<T, 16> multiply(const std::array<T, 16>& a, const std::array<T, 16>& b)
{
    std::array<T, 16> product{};
    for (std::size_t column = 0; column < 4; ++column) {
        for (std::size_t row = 0; row < 4; ++row) {
            T sum = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
    return product;
}

} // namespace facetor
