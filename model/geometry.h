#pragma once
// The model's geometry rules, one implementation for the 3D scene and glTF
// alike: the axes both show the model in, a face's normal, and the fan that
// cuts a face into triangles.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/model.h"
#include "model/vector_math.h"

namespace facetor {

// Model x, y, z as the 3D view and glTF show them: x, z, -y (y up, the
// model's +y toward the viewer). 0 - y rather than -y, so that a zero stays
// 0, not -0.
inline Vec3 to_view_axes(double x, double y, double z)
{
    return {x, z, 0.0 - y};
}

// The inverse: view x, y, z back to model x, -z, y.
inline Vec3 from_view_axes(double x, double y, double z)
{
    return {x, 0.0 - z, y};
}

// The unit normal of a flat face (Newell's method, so any planar polygon
// works whatever its first corners), in the axes the corners are given in;
// zero for fewer than three corners or a face with no area. Which side it
// points to follows the corner order, by the right-hand rule. Each
// difference is taken from the first corner, so that large coordinates do
// not swamp it.
Vec3 face_normal(std::span<const Vec3> corners);

// The same for face `face` of `mesh`, from its vertices in model axes (a
// face's normal does not depend on where its node places it); zero also
// for a face past the mesh's count or with a corner past its vertices.
Vec3 face_normal(const type_mesh& mesh, int face);

// The normals of `vertices` of `mesh`: for each, the sum of the unit
// normals of the faces that name it as a corner (a face once, however often
// it names it), scaled to length 1, so that every face around a vertex
// counts alike whatever its size. Zero for a vertex no face names, or
// whose faces' normals cancel out. One pass over the faces for them all.
std::vector<Vec3> vertex_normals(const type_mesh& mesh, std::span<const int> vertices);

// The fan of a face from its first corner: triangles (first, first + k,
// first + k + 1). Fewer than three corners give none.
void append_fan(std::vector<std::uint32_t>& indices, std::uint32_t first, std::size_t corner_count);

} // namespace facetor
