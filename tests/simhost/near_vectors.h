// Vectors compared as the tests of axes and placements compare them: sines
// and cosines of angles in degrees miss their exact values by a few units in
// the last place.
#pragma once

#include <gtest/gtest.h>

#include "simhost/scene/item_motion.h"

namespace near_vectors {

const double kTolerance = 1e-12;

inline void expectNear(const sim::Vec3& actual, const sim::Vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
    EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

}  // namespace near_vectors
