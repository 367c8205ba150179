#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace facetor {
namespace {

void expect_near(const Vec3& got, const Vec3& want, const char* name)
{
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(got[i], want[i], 1e-12) << name << ", axis " << i;
    }
}

TEST(FaceNormal, FlatFacesGetTheirUnitNormalAndDegenerateOnesNone)
{
    const struct {
        const char* name;
        std::vector<Vec3> corners;
        Vec3 normal;
    } cases[] = {
        {"square in x-z, counted from x to z",
         {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
         {0, -1, 0}},
        {"same square the other way round",
         {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}},
         {0, 1, 0}},
        {"first three corners in a line", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}}, {0, 0, 1}},
        {"far from the origin", {{1e9, 1e9, 5}, {1e9 + 1, 1e9, 5}, {1e9, 1e9 + 1, 5}}, {0, 0, 1}},
        {"all in a line", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {0, 0, 0}},
        {"two corners", {{0, 0, 0}, {1, 0, 0}}, {0, 0, 0}},
        {"no corners", {}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        expect_near(face_normal(c.corners), c.normal, c.name);
    }
}

// A face of a mesh by index: the normal of its vertices in model axes,
// which the view axes of the 3D scene and glTF turn as they turn the
// corners; nothing for a face or corner the mesh does not hold.
TEST(FaceNormal, AFaceOfAMeshFromItsVerticesInModelAxes)
{
    const auto model = make_model();
    type_mesh& mesh = model->mesh(0);
    mesh.vertex_count = 4;
    const Vec3 at[] = {{0, 0, 0}, {2, 0, 0}, {2, 0, 3}, {0, 1, 3}};
    for (int v = 0; v < 4; ++v) {
        mesh.vertices[v].x = at[v][0];
        mesh.vertices[v].y = at[v][1];
        mesh.vertices[v].z = at[v][2];
    }
    const struct {
        const char* name;
        std::vector<int> corners;
        Vec3 normal;
    } faces[] = {
        {"x-z triangle", {0, 1, 2}, {0, -1, 0}},
        {"slanted", {0, 2, 3}, {-3.0 / 7, -6.0 / 7, 2.0 / 7}},
        {"corner past the vertices", {0, 1, 4}, {}},
        {"two corners", {0, 1}, {}},
    };
    mesh.face_count = std::size(faces);
    for (std::size_t f = 0; f < std::size(faces); ++f) {
        type_faces& face = mesh.faces[f];
        face.corner_count = static_cast<long long>(faces[f].corners.size());
        for (std::size_t k = 0; k < faces[f].corners.size(); ++k) {
            face.corner_vertex[k + 1] = faces[f].corners[k];
        }
    }
    for (std::size_t f = 0; f < std::size(faces); ++f) {
        const Vec3 n = face_normal(mesh, static_cast<int>(f));
        expect_near(n, faces[f].normal, faces[f].name);
        std::vector<Vec3> seen;
        for (const int v : faces[f].corners) {
            if (v < 4) {
                seen.push_back(to_view_axes(at[v][0], at[v][1], at[v][2]));
            }
        }
        if (n != Vec3{}) {
            expect_near(face_normal(seen), to_view_axes(n[0], n[1], n[2]), faces[f].name);
        }
    }
    expect_near(face_normal(mesh, 4), {}, "face past the count");
    expect_near(face_normal(mesh, -1), {}, "negative face");
}

// A face names a vertex once however often it lists it; faces count alike
// whatever their size; a vertex no face names has no normal.
TEST(VertexNormals, TheNormalisedSumOfTheFacesAroundEach)
{
    const auto model = make_model();
    type_mesh& mesh = model->mesh(0);
    const Vec3 at[] = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {0, 0, 1}, {5, 5, 5}};
    mesh.vertex_count = 5;
    for (int v = 0; v < 5; ++v) {
        mesh.vertices[v].x = at[v][0];
        mesh.vertices[v].y = at[v][1];
        mesh.vertices[v].z = at[v][2];
    }
    const std::vector<std::vector<int>> faces = {{0, 1, 2}, {0, 3, 1}, {0, 1, 2, 0}};
    mesh.face_count = 3;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        mesh.faces[f].corner_count = static_cast<long long>(faces[f].size());
        for (std::size_t k = 0; k < faces[f].size(); ++k) {
            mesh.faces[f].corner_vertex[k + 1] = faces[f][k];
        }
    }
    const double r5 = std::sqrt(5.0);
    const std::vector<int> wanted = {0, 3, 4, 2};
    const std::vector<Vec3> normals = vertex_normals(mesh, wanted);
    ASSERT_EQ(normals.size(), 4u);
    expect_near(normals[0], {0, 1 / r5, 2 / r5}, "vertex 0: +z twice, +y once");
    expect_near(normals[1], {0, 1, 0}, "vertex 3: +y");
    expect_near(normals[2], {0, 0, 0}, "vertex 4: no face");
    expect_near(normals[3], {0, 0, 1}, "vertex 2: +z twice");
}

} // namespace
} // namespace facetor
