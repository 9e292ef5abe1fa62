// The services of mixed control at a point in 2D and the embedded cap by the
// mean soil state: the bordered system, its right-hand side, the rigid
// transfer to the point, the DOF marks, the norms, the first-iteration limit
// of the coupling terms, the cap envelope, and the trapezoid of soil
// pressure on the cap face against hand-computed states.
#include <gtest/gtest.h>

#include <cmath>

#include "base/arrays.hpp"
#include "base/unit_labels.hpp"
#include "cap/cap_vectors.hpp"
#include "cap/embedded_cap.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/dense_matrix.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"

namespace pilecap {
namespace {

using Matrix6 = Array2<double, MIXED_SYSTEM_ORDER_2D, MIXED_SYSTEM_ORDER_2D>;

class PointSystem2D : public ::testing::Test {
 protected:
  void SetUp() override {
    AnalysisControl = AnalysisControlRecord{};
    CapEnvelope = CapEnvelopeRecord{};
    int english = 1, pounds = 0;
    SET_UNIT_LABELS(english, pounds);
  }
};

TEST_F(PointSystem2D, LoadControlledDofsBorderTheTangentWithTheIdentity) {
  const double k[9] = {4, 1, 2, 1, 5, 3, 2, 3, 6};
  const double point[2] = {1.5, -2.0};
  const int flags[3] = {1, 1, 1};
  Matrix6 s;
  BUILD_MIXED_SYSTEM_2D(s.data(), k, point, flags);
  for (int j = 1; j <= 6; ++j) {
    for (int i = 1; i <= 6; ++i) {
      const double expected = i <= 3 && j <= 3 ? k[(i - 1) + 3 * (j - 1)] : (i == j ? 1.0 : 0.0);
      EXPECT_EQ(s(i, j), expected) << i << "," << j;
    }
  }
  // The multipliers of load-controlled DOFs come out 0.
  const double residual[3] = {1, 2, 3}, forces[3] = {7, 8, 9}, targets[3] = {0.5, 0.5, 0.5}, u[3] = {0.1, 0.2, 0.3};
  double r[6], d[6];
  MIXED_RESIDUAL_2D(r, d, residual, forces, targets, u, point, flags);
  for (int k6 = 3; k6 < 6; ++k6) {
    EXPECT_EQ(r[k6], 0.0);
    EXPECT_EQ(d[k6], 0.0);
  }
}

TEST_F(PointSystem2D, ADisplacementAtThePointIsReachedAfterOneExactStep) {
  // Horizontal displacement prescribed at (0, y_p): constraint row (0, 1, 0).
  const double k[9] = {10, 1, 0, 1, 8, 2, 0, 2, 30};
  const double point[2] = {0.0, 4.0};
  const int flags[3] = {1, 0, 1};
  Matrix6 s;
  BUILD_MIXED_SYSTEM_2D(s.data(), k, point, flags);
  EXPECT_EQ(s(5, 1), 0.0);
  EXPECT_EQ(s(5, 2), 1.0);
  EXPECT_EQ(s(5, 3), 0.0);  // x_p = 0
  EXPECT_EQ(s(2, 5), 1.0);
  const double u[3] = {0.0, 0.0, 0.0}, residual[3] = {3.0, 0.0, -1.0}, forces[3] = {}, targets[3] = {0.0, 0.25, 0.0};
  double r[6], d[6], x[6];
  MIXED_RESIDUAL_2D(r, d, residual, forces, targets, u, point, flags);
  EXPECT_EQ(r[4], 0.25);
  EXPECT_EQ(d[4], 0.25);
  int singular = 0;
  INVERT_MATRIX(s.data(), 6, 6, singular);
  ASSERT_EQ(singular, 0);
  MULTIPLY_MIXED_SYSTEM_2D(x, s.data(), r);
  EXPECT_NEAR(x[1], 0.25, 1e-15);
  // The multiplier is the horizontal load the point needs: K (dU) - r.
  EXPECT_NEAR(x[4], -(k[1] * x[0] + k[4] * x[1] + k[7] * x[2] - residual[1]), 1e-12);
}

TEST_F(PointSystem2D, TransferToThePointMovesRigidlyAndKeepsGivenLoads) {
  const double u[3] = {0.01, 0.02, 0.003};
  const double point[2] = {2.0, -5.0};
  double f[3] = {100.0, 40.0, 60.0};
  const double given[3] = {90.0, 30.0, 7.0};
  const int flags[3] = {0, 1, 1};  // vertical displacement prescribed, loads of Y and the rotation given
  double u_p[3], f_p[3];
  int moved = 0;
  TRANSFER_ORIGIN_POINT_2D(u, f, point, u_p, f_p, given, flags, moved);
  EXPECT_EQ(moved, 1);
  EXPECT_DOUBLE_EQ(u_p[0], 0.01 - 0.003 * -5.0);
  EXPECT_DOUBLE_EQ(u_p[1], 0.02 + 0.003 * 2.0);
  EXPECT_EQ(u_p[2], 0.003);
  EXPECT_EQ(f_p[0], 100.0);  // from the origin
  EXPECT_EQ(f_p[1], 30.0);   // given
  EXPECT_EQ(f_p[2], 7.0);    // the given point moment
  EXPECT_EQ(f[1], 30.0);     // a given force replaces the origin's
  EXPECT_EQ(f[2], 60.0);     // the origin moment stays
  const int loads_only[3] = {0, 0, 0};
  double g[3] = {100.0, 40.0, 60.0};
  TRANSFER_ORIGIN_POINT_2D(u, g, point, u_p, f_p, given, loads_only, moved);
  EXPECT_DOUBLE_EQ(f_p[2], 60.0 - 2.0 * 40.0 + -5.0 * 100.0);
  // The origin itself moves nothing.
  const double origin[2] = {0.0, 0.0};
  TRANSFER_ORIGIN_POINT_2D(u, g, origin, u_p, f_p, given, flags, moved);
  EXPECT_EQ(moved, 0);
}

TEST_F(PointSystem2D, MarksStarThePrescribedQuantities) {
  const int flags[3] = {0, 1, 2};
  char loads[3], displacements[3];
  DOF_FLAG_CHARACTERS_2D(flags, loads, displacements);
  EXPECT_EQ(std::string(loads, 3), " **");
  EXPECT_EQ(std::string(displacements, 3), "*  ");
}

TEST_F(PointSystem2D, NormsAndLargestComponents) {
  const double v[3] = {-3.0, 4.0, -0.5};
  double t = 0, r = 0;
  CAP_DISPLACEMENT_NORMS_2D(v, t, r);
  EXPECT_EQ(t, 5.0);
  EXPECT_EQ(r, 0.5);
  MAX_ABS_2D(v, t, r);
  EXPECT_EQ(t, 4.0);
  EXPECT_EQ(r, 0.5);
}

TEST_F(PointSystem2D, FirstIterationLimitSeesTheValuesLeftBefore) {
  // Column-major: k(1,2) = k[3].
  double k[9] = {2.0, -3.0, 0.5, -3.0, 10.0, 9.0, 0.5, 9.0, 4.0};
  LIMIT_COUPLING_TERMS_2D(k);
  // Row 1: |K12| = 3 > 1 -> -1 in both; |K13| = 0.5 stays. Row 2: |K21| = 1
  // <= 5 stays; |K23| = 9 > 5 -> 5. Row 3: |K31| stays; |K32| = 5 > 2 -> 2.
  const double expected[9] = {2.0, -1.0, 0.5, -1.0, 10.0, 2.0, 0.5, 2.0, 4.0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(k[i], expected[i]) << i;
}

TEST_F(PointSystem2D, EnvelopeOfTheFirstRunIsTheRunsOwnValues) {
  AnalysisControl.first_run = 1;
  const double load[3] = {5.0, -2.0, 1.0}, u[3] = {0.1, -0.2, 0.3};
  UPDATE_CAP_ENVELOPE_2D(load, u);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(CapEnvelope.max_load(k), load[k - 1]);
    EXPECT_EQ(CapEnvelope.min_load(k), load[k - 1]);
    EXPECT_EQ(CapEnvelope.max_displacement(k), u[k - 1]);
    EXPECT_EQ(CapEnvelope.min_displacement(k), u[k - 1]);
  }
  AnalysisControl.first_run = 2;
  const double later[3] = {6.0, -3.0, 1.0};
  UPDATE_CAP_ENVELOPE_2D(later, u);
  EXPECT_EQ(CapEnvelope.max_load(1), 6.0);
  EXPECT_EQ(CapEnvelope.min_load(2), -3.0);
  EXPECT_EQ(CapEnvelope.max_load(4), 0.0);  // components 4-6 untouched
}

// The cap face between the mean ground line g (below the cap top when
// negative) and the cap bottom at the last row's head depth hd.
class PassiveByMeans2D : public ::testing::Test {
 protected:
  static constexpr double THICKNESS = 4.0, HD = 10.0, P = 2.0;
  void SetUp() override {
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    PileTable.n_piles = 2;
    PileTable.head_depth(2) = HD;
    CapGeometry.thickness_xx = THICKNESS;
    RunOptions.cap_passive_option = 1;
  }
  void TearDown() override {
    PileTable.n_piles = 0;
    RunOptions = RunOptionsRecord{};
    CapGeometry = CapGeometryRecord{};
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
  }
};

TEST_F(PassiveByMeans2D, PartlyEmbeddedCapCarriesATriangle) {
  const double u[3] = {0.0, 0.01, 0.0};
  CapPassive2D c;
  const double d = 0.5 * THICKNESS;
  CAP_PASSIVE_BY_MEANS_2D(u, -d, P, c);
  const double force = 0.5 * P * d;
  EXPECT_DOUBLE_EQ(c.force(2), -force);
  EXPECT_DOUBLE_EQ(c.force(3), d * 0.5 * P * (d / 3 - HD));
  EXPECT_EQ(c.force(1), 0.0);
  EXPECT_DOUBLE_EQ(c.load, force);
  EXPECT_DOUBLE_EQ(c.position, HD - d / 3);
}

TEST_F(PassiveByMeans2D, DeeplyEmbeddedCapCarriesATrapezoid) {
  const double u[3] = {0.0, 0.01, 0.0};
  const double a = 10.0;  // a mean ground line 10 above the pile heads
  CapPassive2D c;
  CAP_PASSIVE_BY_MEANS_2D(u, -a, P, c);
  const double d = THICKNESS, p_top = P * (a - THICKNESS) / a;
  const double force = 0.5 * (P + p_top) * d;
  const double moment = d * ((0.5 * d - HD) * p_top + 0.5 * (P - p_top) * (d / 3 - HD));
  EXPECT_DOUBLE_EQ(c.force(2), -force);
  EXPECT_DOUBLE_EQ(c.force(3), moment);
  EXPECT_DOUBLE_EQ(c.position, HD - 0.5 * d * (p_top * d + (P - p_top) * d / 3) / force);
  // Moving in -Y turns the force, the moment and the reported load together.
  const double back[3] = {0.0, -0.01, 0.0};
  CapPassive2D r;
  CAP_PASSIVE_BY_MEANS_2D(back, -a, P, r);
  EXPECT_EQ(r.force(2), -c.force(2));
  EXPECT_EQ(r.force(3), -c.force(3));
  EXPECT_EQ(r.load, -c.load);
  EXPECT_EQ(r.position, c.position);
}

// Regression: at U2 = 0 the resistance pushed the cap toward -Y with the
// full force, so it flipped sign across a cap at rest.
TEST_F(PassiveByMeans2D, CapAtRestMeetsNoResistanceAndEitherSideIsTheMirror) {
  const double a = 10.0;
  CapPassive2D rest;
  const double zero[3] = {0.0, 0.0, 0.0};
  CAP_PASSIVE_BY_MEANS_2D(zero, -a, P, rest);
  EXPECT_EQ(rest.force(2), 0.0);
  EXPECT_EQ(rest.force(3), 0.0);
  EXPECT_EQ(rest.load, 0.0);
  EXPECT_EQ(rest.position, HD);
  for (double y : {1e-6, 1e-3}) {
    SCOPED_TRACE(y);
    const double ahead[3] = {0.0, y, 0.0}, back[3] = {0.0, -y, 0.0};
    CapPassive2D f, r;
    CAP_PASSIVE_BY_MEANS_2D(ahead, -a, P, f);
    CAP_PASSIVE_BY_MEANS_2D(back, -a, P, r);
    EXPECT_LT(f.force(2), 0.0);  // against the movement
    EXPECT_EQ(r.force(2), -f.force(2));
    EXPECT_EQ(r.force(3), -f.force(3));
  }
}

TEST_F(PassiveByMeans2D, NoResistanceAboveTheCapOrForLargerOptions) {
  const double u[3] = {0.0, 0.01, 0.0};
  CapPassive2D c;
  CAP_PASSIVE_BY_MEANS_2D(u, -1e-7, P, c);
  EXPECT_EQ(c.force(2), 0.0);
  EXPECT_EQ(c.load, 0.0);
  EXPECT_EQ(c.position, HD);
  RunOptions.cap_passive_option = 2;
  CAP_PASSIVE_BY_MEANS_2D(u, -2.0, P, c);
  EXPECT_EQ(c.force(2), 0.0);
  EXPECT_EQ(c.force(3), 0.0);
  EXPECT_EQ(c.position, HD);
}

}  // namespace
}  // namespace pilecap
