#include "preview3d/mesh_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace facetor {
namespace {

face3d_ref polygon(int corners, float radius = 1)
{
    auto face = std::make_shared<Face3D>();
    for (int k = 0; k < corners; ++k) {
        const double a = 2 * 3.14159265358979 * k / corners;
        face->AddVertex(static_cast<float>(radius * std::cos(a)), 0,
                        static_cast<float>(radius * std::sin(a)));
    }
    return face;
}

TEST(Triangulate, EachFaceBecomesAFanAndShortFacesNothing)
{
    MeshBuilder mesh;
    for (const int corners : {0, 1, 2, 3, 4, 10}) {
        mesh.AddFace(polygon(corners));
    }
    const MeshGeometry g = triangulate(mesh);
    EXPECT_EQ(g.vertices.size(), std::size_t(3 + 4 + 10) * k_vertex_floats);
    EXPECT_EQ(g.indices.size(), std::size_t(1 + 2 + 8) * 3);
    // The 4-corner face starts at vertex 3 and fans from there.
    const std::vector<std::uint32_t> square(g.indices.begin() + 3, g.indices.begin() + 9);
    EXPECT_EQ(square, (std::vector<std::uint32_t>{3, 4, 5, 3, 5, 6}));
    for (const auto index : g.indices) {
        EXPECT_LT(index, g.vertices.size() / k_vertex_floats);
    }
}

TEST(Triangulate, CornersCarryTheFaceNormalAndColour)
{
    MeshBuilder mesh;
    auto face = polygon(5, 2);
    face->SetColorRGB(0.5f, 0.25f, 1);
    mesh.AddFace(face);
    const MeshGeometry g = triangulate(mesh);
    for (std::size_t v = 0; v < 5; ++v) {
        const float* at = &g.vertices[v * k_vertex_floats];
        EXPECT_EQ(at[0], face->corners()[v].x);
        EXPECT_EQ(at[2], face->corners()[v].z);
        // Corners counted from x to z in the x-z plane: the normal is -y.
        EXPECT_NEAR(at[3], 0, 1e-6f);
        EXPECT_NEAR(at[4], -1, 1e-6f);
        EXPECT_NEAR(at[5], 0, 1e-6f);
        EXPECT_EQ(at[6], 0.5f);
        EXPECT_EQ(at[7], 0.25f);
        EXPECT_EQ(at[8], 1.0f);
    }
}

} // namespace
} // namespace facetor
