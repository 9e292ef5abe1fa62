// The transformation between the cap origin and a pile head: the tabled
// orientations, R orthonormal with determinant +1, exact transposes, the
// rigid-body offset of a head and the work identity (T u).F = u.(T^T F).
#include <cmath>

#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

constexpr double DEG = 3.141592653589793 / 180.0;
constexpr double EPS = 1e-12;

class PileTransformation : public testing::PileTest {
 protected:
  Matrix6 tt{}, t{}, r{}, rt{};
  void set_orientation(int p, double alpha_deg, double beta_deg, double theta_deg, double hx, double hy, double hz) {
    PileTable.n_piles = p;
    PileTable.alpha(p) = alpha_deg * DEG;
    PileTable.beta(p) = beta_deg * DEG;
    PileTable.theta(p) = theta_deg * DEG;
    PileTable.head_x(p) = hx;
    PileTable.head_y(p) = hy;
    PileTable.head_z(p) = hz;
    PILE_TRANSFORMATION(p, tt, t, r, rt);
  }
};

TEST_F(PileTransformation, TabledOrientationsGiveTheirRotation) {
  const double c30 = std::sqrt(3.0) / 2;
  struct Case {
    const char* name;
    double alpha, beta, theta;
    double q[3][3];
  } cases[] = {
      {"vertical pile", 0, 90, 0, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {"vertical, alpha 30", 30, 90, 0, {{1, 0, 0}, {0, c30, -0.5}, {0, 0.5, c30}}},
      {"vertical, theta 10 alpha 20 acts as alpha 30", 20, 90, 10, {{1, 0, 0}, {0, c30, -0.5}, {0, 0.5, c30}}},
      {"beta 60 leans towards +Y", 0, 60, 0, {{c30, -0.5, 0}, {0.5, c30, 0}, {0, 0, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    set_orientation(1, c.alpha, c.beta, c.theta, 0, 0, 0);
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) {
        EXPECT_NEAR(r(i, j), c.q[i - 1][j - 1], EPS);
        EXPECT_NEAR(r(i + 3, j + 3), c.q[i - 1][j - 1], EPS);
        EXPECT_EQ(r(i, j + 3), 0.0);
        EXPECT_EQ(r(i + 3, j), 0.0);
      }
    }
    // A head at the origin has no offset.
    for (int i = 1; i <= 6; ++i) {
      for (int j = 1; j <= 6; ++j) {
        EXPECT_EQ(t(i, j), i == j ? 1.0 : 0.0);
        EXPECT_EQ(tt(i, j), i == j ? 1.0 : 0.0);
      }
    }
  }
}

TEST_F(PileTransformation, RotationIsProperAndTransposesAreExact) {
  set_orientation(3, 37, 71, -23, 4.0, -7.5, 2.25);
  double q[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) q[i][j] = r(i + 1, j + 1);
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      double dot = 0.0;
      for (int k = 0; k < 3; ++k) dot += q[k][i] * q[k][j];
      EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, EPS) << i << "," << j;
    }
  }
  const double det = q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) -
                     q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
                     q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
  EXPECT_NEAR(det, 1.0, EPS);
  // The pile axis points along (sin b, cos a cos b, sin a cos b).
  EXPECT_NEAR(q[0][0], std::sin(71 * DEG), EPS);
  EXPECT_NEAR(q[1][0], std::cos(37 * DEG) * std::cos(71 * DEG), EPS);
  EXPECT_NEAR(q[2][0], std::sin(37 * DEG) * std::cos(71 * DEG), EPS);
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 6; ++j) {
      EXPECT_EQ(tt(i, j), t(j, i));
      EXPECT_EQ(rt(i, j), r(j, i));
    }
  }
}

TEST_F(PileTransformation, OffsetCarriesRigidBodyMotionAndConservesWork) {
  const double hx = 3.0, hy = -2.0, hz = 5.0;
  set_orientation(2, 15, 80, 5, hx, hy, hz);
  // A unit cap rotation about Z moves the head by theta x r = (-hy, hx, 0).
  double head[6] = {};
  for (int i = 1; i <= 6; ++i) head[i - 1] = t(i, 6);
  EXPECT_EQ(head[0], -hy);
  EXPECT_EQ(head[1], hx);
  EXPECT_EQ(head[2], 0.0);
  EXPECT_EQ(head[5], 1.0);
  // (T u).F = u.(T^T F) for any u and F; T^T F adds r x F to the moment.
  const double u[6] = {0.3, -1.1, 0.7, 0.02, -0.05, 0.04};
  const double f[6] = {10.0, -4.0, 6.0, 1.5, -2.5, 3.5};
  double tu_f = 0.0, u_ttf = 0.0;
  double ttf[6] = {};
  for (int i = 1; i <= 6; ++i) {
    double tu = 0.0;
    for (int j = 1; j <= 6; ++j) {
      tu += t(i, j) * u[j - 1];
      ttf[i - 1] += tt(i, j) * f[j - 1];
    }
    tu_f += tu * f[i - 1];
  }
  for (int i = 0; i < 6; ++i) u_ttf += u[i] * ttf[i];
  EXPECT_NEAR(tu_f, u_ttf, 1e-12 * (std::fabs(tu_f) + 1.0));
  EXPECT_NEAR(ttf[3], f[3] + hy * f[2] - hz * f[1], 1e-12);
  EXPECT_NEAR(ttf[4], f[4] + hz * f[0] - hx * f[2], 1e-12);
  EXPECT_NEAR(ttf[5], f[5] + hx * f[1] - hy * f[0], 1e-12);
}

}  // namespace
}  // namespace pilecap
