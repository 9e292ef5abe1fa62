// The parabola C u^(1/n) the sand and silt criteria share, against what
// defines it: it passes through (y_m, p_m) with the straight part's slope,
// meets the initial line k_x u at y_k, and its degenerate cases (a flat
// straight part p_u = p_m, a tiny k, no resistance) give a curve that never
// rises above the larger of p_m and p_u, and never turns down where p_u is
// not below p_m.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "soil/py_frame.hpp"

namespace pilecap {
namespace {

constexpr double Y_M = 0.4, Y_U = 0.9;  // b = 24: b / 60 and 3 b / 80

// The curve the criteria build of it, without the cap of the initial line
// beyond: the initial line to y_k, the parabola to y_m, the straight part to
// y_u, p_u beyond; min with the initial line.
double curve(const py::SandFamilyParabola& q, double p_m, double p_u, double k_x, double u) {
  double p = 0.0;
  if (u >= Y_U) {
    p = p_u;
  } else if (u >= Y_M) {
    p = p_m + q.slope * (u - Y_M);
  } else if (u > q.y_k) {
    p = q.c * std::pow(u, 1.0 / q.n);
  } else {
    p = k_x * u;
  }
  return std::min(p, k_x * u);
}

TEST(SandFamilyParabolaTest, MeetsTheStraightPartAndTheInitialLine) {
  struct Case {
    const char* name;
    double p_m, p_u, k_x;
  };
  const Case cases[] = {
      {"sand: p_u above p_m", 100.0, 150.0, 1000.0},
      {"silt: p_u below p_m", 150.0, 100.0, 1000.0},
      {"steep initial line", 100.0, 150.0, 1e6},
  };
  for (const Case& t : cases) {
    const auto q = py::sand_family_parabola(t.p_m, t.p_u, Y_M, Y_U, t.k_x);
    const double slope = (t.p_u - t.p_m) / (Y_U - Y_M);
    EXPECT_DOUBLE_EQ(q.slope, slope) << t.name;
    EXPECT_NEAR(q.c * std::pow(Y_M, 1.0 / q.n), t.p_m, 1e-12 * t.p_m) << t.name << ": through (y_m, p_m)";
    // The parabola's slope at y_m, p_m / (n y_m), is that of the straight part.
    EXPECT_NEAR(t.p_m / (q.n * Y_M), std::abs(slope), 1e-12 * std::abs(slope)) << t.name;
    ASSERT_GT(q.y_k, 0.0) << t.name;
    ASSERT_LT(q.y_k, Y_M) << t.name;
    EXPECT_NEAR(q.c * std::pow(q.y_k, 1.0 / q.n), t.k_x * q.y_k, 1e-9 * t.k_x * q.y_k) << t.name << ": meets k_x u";
  }
}

TEST(SandFamilyParabolaTest, DegenerateCasesGiveACurveThatNeverTurnsDown) {
  struct Case {
    const char* name;
    double p_m, p_u, k_x;
    double y_k;  // expected
  };
  const Case cases[] = {
      // Regression: n infinite gave y_k = NaN (sand) or y_m (silt), and the
      // curve rose along k_x u above p_m to y_m, then fell to p_m.
      {"flat straight part p_u = p_m", 100.0, 100.0, 1000.0, 100.0 / 1000.0},
      {"flat, initial line beyond y_m", 100.0, 100.0, 100.0, 100.0 / 100.0},
      // The line meets the parabola far beyond y_u: the curve is k_x u.
      {"tiny k, y_k a number beyond y_m", 100.0, 150.0, 1e-6, std::numeric_limits<double>::quiet_NaN()},
      {"tiny k, y_k beyond numbers", 100.0, 150.0, 1e-300, Y_M},
      // Regression: n = 0 / 0 gave y_k = y_m, and the curve rose along k_x u
      // to y_m where there is no resistance at all.
      {"no resistance", 0.0, 0.0, 1000.0, 0.0},
  };
  for (const Case& t : cases) {
    const auto q = py::sand_family_parabola(t.p_m, t.p_u, Y_M, Y_U, t.k_x);
    if (!std::isnan(t.y_k)) {
      EXPECT_DOUBLE_EQ(q.y_k, t.y_k) << t.name;
    } else {
      EXPECT_GT(q.y_k, Y_U) << t.name;
    }
    double before = 0.0;
    const double top = std::max(t.p_m, t.p_u);
    for (int i = 1; i <= 200; ++i) {
      const double u = 1.5 * Y_U * i / 200.0;
      const double p = curve(q, t.p_m, t.p_u, t.k_x, u);
      ASSERT_TRUE(std::isfinite(p)) << t.name << " at u = " << u;
      if (t.p_u >= t.p_m) {
        EXPECT_GE(p, before) << t.name << " turns down at u = " << u;
      }
      EXPECT_LE(p, top * (1.0 + 1e-12)) << t.name << " rises above the straight part at u = " << u;
      EXPECT_LE(p, t.k_x * u * (1.0 + 1e-12)) << t.name;
      before = p;
    }
  }
}

}  // namespace
}  // namespace pilecap
