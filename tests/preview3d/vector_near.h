#pragma once
// Compares two scene vectors component by component.
#include <gtest/gtest.h>

#include "preview3d/scene.h"

namespace facetor::test {

inline void expect_near(Vector3 actual, Vector3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace facetor::test
