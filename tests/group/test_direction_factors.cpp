// Reduction factors that follow the direction of the cap's movement, the
// group tangent that sees them change, and the passive resultant of an
// embedded cap by the means of the piles, on stand-in head springs whose
// lateral stiffness scales with the pile's P-FACTOR over its Y-FACTOR.
// Factors are checked against the published group efficiencies, tangents
// against differences of the force vector taken here, the resultant
// against its pressure figure worked by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cap/embedded_cap.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "soil/close_spacing.hpp"
#include "tests/cap/cap_fixture.hpp"

namespace pilecap {
namespace {

using testing::Springs;

constexpr double D = 24.0;  // pile diameter
constexpr double PUBLISHED = 5e-5;
constexpr double SIDE_AT_3 = 0.9298, LEAD_AT_3 = 0.9314, TRAIL_AT_3 = 0.7287;

// The published efficiency of a pile next to another at offsets m along and
// t across the movement (in diameters), moving with the given sign.
double published_efficiency(double m, double t, double sign) {
  auto side = [](double r) { return std::min(1.0, 0.64 * std::pow(r, 0.34)); };
  auto lead = [](double r) { return std::min(1.0, 0.70 * std::pow(r, 0.26)); };
  auto trail = [](double r) { return std::min(1.0, 0.48 * std::pow(r, 0.38)); };
  const double am = std::fabs(m), at = std::fabs(t);
  if (am < 1e-5) return at > 5.0 ? 1.0 : side(at);
  if (at < 1e-6) return am > 8.0 ? 1.0 : (m * sign > 0 ? lead(am) : trail(am));
  const double r = std::hypot(m, t);
  if (r > 8.0) return 1.0;
  const double angle = std::atan(at / am);
  const double line = m * sign >= 0 ? lead(r) : trail(r);
  return std::min(1.0, std::hypot(side(r) * std::sin(angle), line * std::cos(angle)));
}

// The stand-in springs, the lateral ones scaled by the factors in use.
void factored_head_response(int pile, double* forces, const double* u, int& status) {
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  double local_u[6], local_f[6];
  MULTIPLY_6X6_BY_VECTOR(local_u, rotation_transposed.data(), u);
  testing::local_response(local_u, local_f);
  const double scale = ClosePileFactors.p_factor_1(pile) / ClosePileFactors.y_factor_1(pile);
  local_f[1] *= scale;
  local_f[2] *= scale;
  MULTIPLY_6X6_BY_VECTOR(forces, rotation.data(), local_f);
  (void)status;
}

// The ground line below each head and the soil reaction at its first node,
// as the p-y curves would leave them, for the pile-means resultant.
struct PileSoil {
  double ground[4] = {};
  double reaction[4] = {};
  double movement_seen = -1.0;  // the cap movement the piles' evaluation read
};
PileSoil Soil;
void soil_head_response(int pile, double* forces, const double* u, int& status) {
  factored_head_response(pile, forces, u, status);
  PileSoilData.ground_line(pile) = Soil.ground[pile - 1];
  PileSoilData.first_node_reaction(pile) = Soil.reaction[pile - 1];
  if (pile == 1) Soil.movement_seen = CapPassiveState.horizontal_movement;
}

class DirectionFactors : public testing::CapTest {
 protected:
  void SetUp() override {
    CapTest::SetUp();
    SET_HEAD_RESPONSE_PROVIDER(factored_head_response);
    PileSection.diameter(SET, 1) = D;
    Soil = PileSoil{};
  }
  // Two piles 3 diameters apart along Y: moving towards +Y pile 2 leads.
  static void pair_in_line() {
    place_pile(1, 0.0, 0.0);
    place_pile(2, 3.0 * D, 0.0);
  }
  static void grid(int side, double spacing) {
    int p = 0;
    for (int i = 0; i < side; ++i) {
      for (int j = 0; j < side; ++j)
        place_pile(++p, spacing * (i - 0.5 * (side - 1)), spacing * (j - 0.5 * (side - 1)));
    }
  }
  static double tangent_entry(const double* k, int i, int j) { return k[(i - 1) + 6 * (j - 1)]; }
};

TEST_F(DirectionFactors, BlendFollowsTheDirectionOfMovement) {
  const double r5 = std::sqrt(5.0);
  struct Case {
    const char* name;
    int method;
    double wy, wz, ly, lz;
    int iteration, torsion;
    double d1, d2;
    double pile_2;  // the blended P-FACTOR of pile 2
  } cases[] = {
      {"towards +Y", 1, 0.1, 0.0, 0, 0, 1, 0, 1, 1, LEAD_AT_3},
      {"towards -Y", 1, -0.1, 0.0, 0, 0, 1, 0, 1, 1, TRAIL_AT_3},
      {"no movement, no lateral load", 1, 0.0, 0.0, 0, 0, 1, 0, 1, 1, LEAD_AT_3},
      {"no movement, load along Z", 1, 0.0, 0.0, 0, 5, 1, 0, 1, 1, SIDE_AT_3},
      {"towards (-3, 4)", 1, -0.3, 0.4, 0, 0, 1, 0, 1, 1, std::hypot(0.6 * TRAIL_AT_3, 0.8 * SIDE_AT_3)},
      {"pure torsion after 20 iterations", 1, -0.1, -0.2, 0, 0, 21, 1, 1, 1,
       std::hypot(LEAD_AT_3, SIDE_AT_3) / std::sqrt(2.0)},
      {"pure torsion at 20 iterations", 1, -0.1, 0.0, 0, 0, 20, 1, 1, 1, TRAIL_AT_3},
      {"given direction (-1, 2)", 3, 5.0, 0.0, 0, 0, 1, 0, -1, 2, std::hypot(TRAIL_AT_3 / r5, 2 * SIDE_AT_3 / r5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pair_in_line();
    RunOptions.pmult_method = c.method;
    RunOptions.pmult_direction(1) = c.d1;
    RunOptions.pmult_direction(2) = c.d2;
    const double w[6] = {0.0, c.wy, c.wz, 0, 0, 0}, load[6] = {0.0, c.ly, c.lz, 0, 0, 0};
    UPDATE_DIRECTION_P_MULTIPLIERS(w, load, c.iteration, c.torsion);
    EXPECT_NEAR(ClosePileFactors.p_factor_1(2), c.pile_2, 2 * PUBLISHED);
    EXPECT_NEAR(ClosePileFactors.y_factor_1(2), 1.0, 1e-15);
    // The directional pair of Y is kept for the next blend.
    EXPECT_NEAR(ClosePileFactors.p_factor_2(2), SIDE_AT_3, PUBLISHED);
  }
}

// Methods 2 and 4 blend the factors as given, without recomputing them.
TEST_F(DirectionFactors, GivenFactorsAreOnlyBlended) {
  pair_in_line();
  for (int p = 1; p <= 2; ++p) {
    PileTable.p_factor_saved(p) = 0.8;
    ClosePileFactors.p_factor_2(p) = 0.6;
  }
  const double w[6] = {0.0, 0.0, 3.0, 0, 0, 0}, load[6] = {};
  RunOptions.pmult_method = 2;
  UPDATE_DIRECTION_P_MULTIPLIERS(w, load, 1, 0);
  EXPECT_DOUBLE_EQ(ClosePileFactors.p_factor_1(1), 0.6);
  RunOptions.pmult_method = 4;
  RunOptions.pmult_direction(1) = RunOptions.pmult_direction(2) = 0.0;
  UPDATE_DIRECTION_P_MULTIPLIERS(w, load, 1, 0);
  EXPECT_NEAR(ClosePileFactors.p_factor_1(1), std::sqrt(0.5 * (0.64 + 0.36)), 1e-15);
  EXPECT_EQ(PileTable.p_factor_saved(1), 0.8);
}

// The tangent of forces whose factors follow the movement, against central
// differences of that force vector taken here over larger steps; the
// factors change with the direction, so Y and Z couple where the pile
// tangent alone does not.
TEST_F(DirectionFactors, TangentSeesTheFactorsChange) {
  grid(2, 3.0 * D);
  Springs.lateral = 1000.0;
  RunOptions.pmult_method = 1;
  const double u[6] = {0.01, 0.02, 0.015, 0.0, 1e-5, -2e-5}, du[6] = {}, load[6] = {0, 100, 50, 0, 0, 0};
  UPDATE_DIRECTION_P_MULTIPLIERS(u, load, 11, 0);
  const double before = ClosePileFactors.p_factor_1(3);
  double k[36];
  int status = STATUS_OK;
  CAP_STIFFNESS_BY_DIFFERENCES(k, u, du, load, 11, 1, 0, status);
  ASSERT_EQ(status, STATUS_OK);
  EXPECT_EQ(ClosePileFactors.p_factor_1(3), before) << "the solver's factors are restored";

  double reference[36];
  const double h[6] = {1e-5, 1e-5, 1e-5, 1e-8, 1e-8, 1e-8};
  for (int j = 0; j < 6; ++j) {
    double w[6], plus[6], minus[6];
    for (int s = 0; s < 2; ++s) {
      std::memcpy(w, u, sizeof w);
      w[j] += s == 0 ? h[j] : -h[j];
      UPDATE_DIRECTION_P_MULTIPLIERS(w, load, 11, 0);
      FVEC(s == 0 ? plus : minus, w, status);
    }
    for (int i = 0; i < 6; ++i) reference[i + 6 * j] = (plus[i] - minus[i]) / (2 * h[j]);
  }
  double largest = 0.0;
  for (double v : reference) largest = std::max(largest, std::fabs(v));
  for (int n = 0; n < 36; ++n) EXPECT_NEAR(k[n], reference[n], 1e-6 * largest) << "entry " << n;
  // With fixed factors these four vertical piles couple nothing of Y and Z.
  double pile_tangent[36];
  UPDATE_DIRECTION_P_MULTIPLIERS(u, load, 11, 0);
  STIFF(pile_tangent, u, du, 11, 1, status);
  EXPECT_NEAR(tangent_entry(pile_tangent, 2, 3), 0.0, 1e-9 * largest);
  EXPECT_GT(std::fabs(tangent_entry(k, 2, 3)), 1e-3 * std::fabs(tangent_entry(k, 2, 2)));
}

TEST_F(DirectionFactors, TangentIsTheSameForEveryThreadCount) {
  grid(3, 2.5 * D);
  RunOptions.pmult_method = 1;
  const double u[6] = {0.01, -0.02, 0.005, 1e-6, 1e-5, -2e-5}, du[6] = {1e-3, 0, 0, 0, 0, 1e-6};
  const double load[6] = {0, -100, 20, 0, 0, 0};
  double reference[36], k[36];
  int status = STATUS_OK;
  AnalysisControl.threads_wanted = 1;
  CAP_STIFFNESS_BY_DIFFERENCES(reference, u, du, load, 12, 0, 0, status);
  for (int threads : {2, 4}) {
    AnalysisControl.threads_wanted = threads;
    CAP_STIFFNESS_BY_DIFFERENCES(k, u, du, load, 12, 0, 0, status);
    EXPECT_EQ(std::memcmp(k, reference, sizeof k), 0) << threads;
  }
}

// A 3 x 3 group at 2.5 diameters pushed along +Y: every pile shares the
// load by its P-FACTOR, the product of the published efficiencies with its
// eight neighbours, and the piles balance the load.
TEST_F(DirectionFactors, GroupSharesTheLoadByItsFactors) {
  const double s = 2.5 * D;
  grid(3, s);
  RunOptions.pmult_method = 1;
  const double h = 900.0;
  const double load[6] = {0.0, h, 0, 0, 0, 0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  ASSERT_TRUE(out.u_valid);
  double expected[10] = {}, sum = 0.0;
  for (int a = 1; a <= 9; ++a) {
    expected[a] = 1.0;
    for (int b = 1; b <= 9; ++b) {
      if (b == a) continue;
      const double m = (PileTable.head_y(a) - PileTable.head_y(b)) / D;
      const double t = (PileTable.head_z(a) - PileTable.head_z(b)) / D;
      expected[a] *= published_efficiency(m, t, 1.0);
    }
    sum += expected[a];
  }
  double f[6];
  int status = STATUS_OK;
  FVEC(f, out.u, status);
  EXPECT_NEAR(f[1], -h, 1e-6 * h);
  for (int p = 1; p <= 9; ++p) {
    EXPECT_NEAR(ClosePileFactors.p_factor_1(p), expected[p], 1e-6) << p;
    EXPECT_NEAR(PileTable.head_force(p, 2, 1) / f[1], expected[p] / sum, 1e-6) << p;
  }
  // The middle pile of the leading row (largest Y) takes more than the one
  // behind it and the one of the trailing row.
  EXPECT_GT(expected[8], expected[5]);
  EXPECT_GT(expected[8], expected[2]);
}

// ------------------------------------------------------ the pile means

class PileMeans : public DirectionFactors {
 protected:
  void SetUp() override {
    DirectionFactors::SetUp();
    SET_HEAD_RESPONSE_PROVIDER(soil_head_response);
    place_pile(1, -30.0, 0.0);
    place_pile(2, 30.0, 0.0);
    PileTable.head_x(2) = 2.0;  // x_n, the head of the last pile
    RunOptions.cap_passive_option = 1;
    CapPassiveElement.method = PASSIVE_BY_MEANS;
    Soil.ground[0] = -20.0;
    Soil.ground[1] = -40.0;  // a mean ground line 30 above the heads
    Soil.reaction[0] = 80.0;
    Soil.reaction[1] = 120.0;  // a mean head reaction pb = 100
  }
};

TEST_F(PileMeans, PressureOnTheEmbeddedHeightOpposesTheMovement) {
  const double pb = 100.0, xn = 2.0;
  struct Case {
    const char* name;
    double thickness, uy, uz;
    double wy;  // the share of the Y direction
    double sy, sz;
  } cases[] = {
      {"deeper than thick, along +Y", 20.0, 0.2, 0.0, 1.0, -1.0, -1.0},
      {"thicker than deep, along +Y", 50.0, 0.2, 0.0, 1.0, -1.0, -1.0},
      {"half on each axis", 20.0, 0.1, -0.1, 0.5, -1.0, 1.0},
      {"three quarters towards -Y", 20.0, -0.3, 0.1, 0.75, 1.0, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CapGeometry.thickness_xx = c.thickness;
    const double a = 30.0;
    const double pt = a > c.thickness ? (a - c.thickness) * pb / a : 0.0;
    const double height = std::min(a, c.thickness);
    const double fh = (pb + pt) / 2 * height;
    const double mh = height * ((height / 2 - xn) * pt + (pb - pt) / 2 * (height / 3 - xn));
    const double u[6] = {0.5, c.uy, c.uz, 0, 0, 0};
    double f[6];
    int status = STATUS_OK;
    CAP_PASSIVE_RESULTANT(f, u, status);
    ASSERT_EQ(status, STATUS_OK);
    const double tolerance = 1e-12 * fh * 10;
    EXPECT_EQ(f[0], 0.0);
    EXPECT_EQ(f[3], 0.0);
    EXPECT_NEAR(f[1], fh * c.wy * c.sy, tolerance);
    EXPECT_NEAR(f[5], -mh * c.wy * c.sy, tolerance * 10);
    EXPECT_NEAR(f[2], fh * (1 - c.wy) * c.sz, tolerance);
    EXPECT_NEAR(f[4], mh * (1 - c.wy) * c.sz, tolerance * 10);
    EXPECT_EQ(CapPassiveState.mean_ground_line, -30.0);
    EXPECT_EQ(CapPassiveState.mean_first_node_reaction, pb);
    EXPECT_NEAR(CapPassiveState.horizontal_movement, std::hypot(c.uy, c.uz), 1e-15);
  }
}

TEST_F(PileMeans, NoResistanceWithoutEmbedmentOrHorizontalMovement) {
  CapGeometry.thickness_xx = 20.0;
  double f[6], k[36];
  int status = STATUS_OK;
  const double vertical[6] = {0.5, 0, 0, 1e-3, 1e-3, 1e-3}, du[6] = {};
  CAP_PASSIVE_RESULTANT(f, vertical, status);
  for (double v : f) EXPECT_EQ(v, 0.0);
  Soil.ground[0] = Soil.ground[1] = 1e-7;  // the ground at the heads: not embedded
  const double lateral[6] = {0.5, 0.2, 0.1, 0, 0, 0};
  CAP_PASSIVE_RESULTANT(f, lateral, status);
  for (double v : f) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(CapPassiveState.mean_ground_line, 1e-7);
  EXPECT_EQ(CapPassiveState.mean_first_node_reaction, 100.0);
  EXPECT_NEAR(CapPassiveState.horizontal_movement, std::hypot(0.2, 0.1), 1e-15);
  CAP_PASSIVE_RESULTANT_STIFFNESS(k, lateral, du, 1, 0, status);
  for (double v : k) EXPECT_EQ(v, 0.0);
}

// The user p-y curves of the piles' cap pass read the cap's movement during
// the evaluation: it must be that of the displacement being evaluated, not
// of the one before.
TEST_F(PileMeans, PilesReadTheMovementOfTheDisplacementBeingEvaluated) {
  CapGeometry.thickness_xx = 20.0;
  double f[6];
  int status = STATUS_OK;
  const double first[6] = {0.5, 0.3, 0.4, 0, 0, 0}, second[6] = {0.5, 0.05, -0.12, 0, 0, 0};
  CAP_PASSIVE_RESULTANT(f, first, status);
  EXPECT_NEAR(Soil.movement_seen, 0.5, 1e-15);
  CAP_PASSIVE_RESULTANT(f, second, status);
  ASSERT_EQ(status, STATUS_OK);
  EXPECT_NEAR(Soil.movement_seen, 0.13, 1e-15);
}

// Away from the axes the resultant turns with the shares |uY| / (|uY| +
// |uZ|) of the movement: its tangent by hand, nothing in rows 1 and 4.
TEST_F(PileMeans, TangentFollowsTheSharesOfTheMovement) {
  CapGeometry.thickness_xx = 20.0;
  const double pb = 100.0, xn = 2.0, pt = pb / 3, height = 20.0;
  const double fh = (pb + pt) / 2 * height;
  const double mh = height * ((height / 2 - xn) * pt + (pb - pt) / 2 * (height / 3 - xn));
  const double uy = 0.2, uz = 0.1, sum = uy + uz;
  const double dw_duy = uz / (sum * sum), dw_duz = -uy / (sum * sum);
  const double u[6] = {0.5, uy, uz, 0, 0, 0}, du[6] = {};
  double k[36];
  int status = STATUS_OK;
  CAP_PASSIVE_RESULTANT_STIFFNESS(k, u, du, 11, 1, status);
  ASSERT_EQ(status, STATUS_OK);
  const double tolerance = 1e-5 * fh / sum;
  EXPECT_NEAR(tangent_entry(k, 2, 2), -fh * dw_duy, tolerance);
  EXPECT_NEAR(tangent_entry(k, 2, 3), -fh * dw_duz, tolerance);
  EXPECT_NEAR(tangent_entry(k, 3, 2), fh * dw_duy, tolerance);
  EXPECT_NEAR(tangent_entry(k, 6, 3), mh * dw_duz, tolerance * 10);
  EXPECT_NEAR(tangent_entry(k, 5, 2), mh * dw_duy, tolerance * 10);
  for (int j = 1; j <= 6; ++j) {
    EXPECT_EQ(tangent_entry(k, 1, j), 0.0);
    EXPECT_EQ(tangent_entry(k, 4, j), 0.0);
    if (j != 2 && j != 3) {
      EXPECT_EQ(tangent_entry(k, 2, j), 0.0) << j;
    }
  }
}

// A constant pressure Fh against the movement: the cap moves by what the
// piles alone must carry, (H - Fh) / (n k). The heads lie at the origin's
// level, so the cap's turn under the resultant's moment moves none of them
// sideways.
TEST_F(PileMeans, SolverCarriesTheLoadLessTheResistance) {
  CapGeometry.thickness_xx = 20.0;
  PileTable.head_x(2) = 0.0;
  Springs.lateral = 50.0;
  const double pb = 100.0, pt = pb / 3, fh = (pb + pt) / 2 * 20.0;
  const double h = 5000.0;
  const double load[6] = {0, h, 0, 0, 0, 0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  ASSERT_TRUE(out.u_valid);
  EXPECT_NEAR(out.u[1], (h - fh) / (2 * Springs.lateral), 1e-6 * h / Springs.lateral);
  EXPECT_NEAR(out.u[2], 0.0, 1e-9);
  EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n");
}

}  // namespace
}  // namespace pilecap
