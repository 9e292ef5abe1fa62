// Which cap DOF is a rotation and which model is the plane, against the
// cap's DOF orders: X, Y, rotation Z in the plane; UX, UY, UZ, RX, RY, RZ
// in space.
#include <gtest/gtest.h>

#include "model/analysis_control.hpp"

namespace pilecap {
namespace {

TEST(CapDofKindsTest, RotationsOfThePlaneAndOfSpace) {
  const bool plane[CAP_DOFS_2D] = {false, false, true};
  const bool space[CAP_DOFS] = {false, false, false, true, true, true};
  for (int d = 1; d <= CAP_DOFS_2D; ++d) EXPECT_EQ(CAP_ROTATION_DOF(d, CAP_DOFS_2D), plane[d - 1]) << "plane DOF " << d;
  for (int d = 1; d <= CAP_DOFS; ++d) EXPECT_EQ(CAP_ROTATION_DOF(d, CAP_DOFS), space[d - 1]) << "space DOF " << d;
  EXPECT_TRUE(PLANE_MODEL(MODEL_2D));
  EXPECT_FALSE(PLANE_MODEL(MODEL_3D));
  EXPECT_EQ(CAP_DOFS_OF_MODEL(MODEL_2D), CAP_DOFS_2D);
  EXPECT_EQ(CAP_DOFS_OF_MODEL(MODEL_3D), CAP_DOFS);
}

}  // namespace
}  // namespace pilecap
