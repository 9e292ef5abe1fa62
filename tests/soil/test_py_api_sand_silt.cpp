// API sand and silt p-y curves against their published forms, with C1, C2,
// C3 = 2.9704, 3.4192, 53.793 at 35 degrees. API sand: pu = gamma z (C1 z +
// C2 b) above the crossover (C3 - C2) b / C1, C3 b gamma z below, p = A pu
// tanh(k z y / (A pu)), A = max(0.9, 3 - 0.8 z / b) static (0.9 from z =
// 2.625 b), 0.9 cyclic. Silt: the sand frictional resistance plus a cohesive
// part; without cohesion the sand curve with p_m = 1.5 p_phi. The default
// silt modulus: the clay k by cohesion plus a friction term.
#include <algorithm>
#include <cmath>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double PHI = 35.0 * std::numbers::pi / 180.0;
constexpr double GAMMA = 0.04, B = 24.0;
constexpr double C1 = 2.9704, C2 = 3.4192, C3 = 53.793;  // published at 35 degrees
constexpr double PUBLISHED = 2e-4;                       // the coefficients' own rounding

double shallow(double z) { return GAMMA * z * (C1 * z + C2 * B); }
double deep(double z) { return C3 * B * GAMMA * z; }

class ApiSandTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 4000.0}}, SOIL_API_SAND);
    set_constant(SoilProfile.friction_angle, PHI);
    set_constant(SoilProfile.subgrade_k, 100.0);
    set_unit_weight(GAMMA);
    set_pile(81, 10.5, B);  // z = 10.5 (j - 1): node 7 at 63 = 2.625 b
    set_range(1, 1, 81);
  }
};

TEST_F(ApiSandTest, TanhCurveWithTheDepthFactorA) {
  struct Case {
    const char* name;
    int kind, node;
    double a, pu;
  };
  const Case cases[] = {
      {"static z = b", 1, 3, 3.0 - 0.8 * 21.0 / B, shallow(21.0)},
      {"static z = 2.1875 b", 1, 6, 3.0 - 0.8 * 52.5 / B, shallow(52.5)},
      {"static z = 2.625 b: A reaches 0.9", 1, 7, 0.9, shallow(63.0)},
      {"static deep: below the crossover", 1, 61, 0.9, deep(630.0)},
      {"cyclic shallow", 0, 3, 0.9, shallow(21.0)},
      {"cyclic deep", 0, 61, 0.9, deep(630.0)},
  };
  // The crossover depth (C3 - C2) b / C1 = 407 lies between nodes 3 and 61.
  ASSERT_LT(21.0, (C3 - C2) * B / C1);
  ASSERT_GT(630.0, (C3 - C2) * B / C1);
  for (const Case& c : cases) {
    AnalysisControl.loading_kind = c.kind;
    const double z = (c.node - 1) * 10.5;
    const double y_r = c.a * c.pu / (100.0 * z);  // tanh reaches 0.76 at y = y_r
    for (double u : {0.3 * y_r, y_r, 4.0 * y_r}) {
      double p = 0.0, es = 0.0;
      evaluate_at(c.node, u, p, es);
      expect_close(-p, c.a * c.pu * std::tanh(u / y_r), PUBLISHED, c.name);
      expect_close(es * u, -p, 1e-12, c.name);
    }
  }
  double p = 0.0, es = 0.0;
  evaluate_at(7, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 100.0 * 63.0) << "u = 0: Es = k z without factors";
}

TEST_F(ApiSandTest, ZeroFrictionBelowTheFirstNodeStopsTheRun) {
  set_constant(SoilProfile.friction_angle, 0.0);
  set_range(1, 2, 81);
  at(y_, 2) = at(y_, 3) = 0.1;
  EXPECT_EQ(run(), STATUS_SAND_ZERO_FRICTION_ANGLE);
  EXPECT_EQ(at(p_, 2), 0.0) << "the first node is evaluated: no friction, no resistance";
  const std::string block =
      "\n       --------------------WARNING----------------------\n"
      "       THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT\n"
      "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
  EXPECT_EQ(run_log(), block);
  EXPECT_EQ(fio::memory_contents(UNIT_ECHO), block);
}

TEST_F(ApiSandTest, ExportedPointsAreUnfactored) {
  ClosePileFactors.p_factor_1(PILE) = 0.5;
  ClosePileFactors.y_factor_1(PILE) = 2.0;
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 7, 7);
  ASSERT_EQ(run(), 0);
  const double y_r = 0.9 * shallow(63.0) / (100.0 * 63.0);
  // The default points: tenths of y2 = 1.8318 y_r, then y3 = 2.6467 y_r and y4 = 4.9516 y_r.
  const double y2 = 1.8317807 * y_r, y3 = 2.646653 * y_r, y4 = 4.951636 * y_r;
  const double expected[] = {0,        0.1 * y2,          0.2 * y2,          0.3 * y2, 0.4 * y2, 0.5 * y2,
                             0.6 * y2, 0.7 * y2,          0.8 * y2,          0.9 * y2, y2,       (y2 + y3) / 2,
                             y3,       (y4 + 2 * y3) / 3, (2 * y4 + y3) / 3, y4,       1.2 * y4};
  for (int i = 1; i <= 17; ++i) {
    expect_close(GeneratedPyCurve.y(i), expected[i - 1], PUBLISHED, "unfactored deflection");
    expect_close(GeneratedPyCurve.p(i), 0.9 * shallow(63.0) * std::tanh(expected[i - 1] / y_r), PUBLISHED,
                 "unfactored reaction");
  }
  EXPECT_NEAR(std::tanh(1.8317807), 0.95, 1e-6);
  EXPECT_NEAR(std::tanh(4.951636), 0.9999, 1e-7);
  EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 8);
}

class SiltTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 4000.0}}, SOIL_SILT);
    set_constant(SoilProfile.friction_angle, PHI);
    set_constant(SoilProfile.subgrade_k, 1000.0);
    set_unit_weight(GAMMA);
    set_pile(61, 12.0, B);
    set_range(1, 1, 61);
  }
};

TEST_F(SiltTest, WithoutCohesionTheSandCurveWithPmOfOneAndAHalfPphi) {
  // Node 31, z = 360 = 15 b: A = 0.88 (static); p_phi the wedge.
  const double z = 360.0, k_x = 1000.0 * z;
  const double p_phi = std::min(shallow(z), deep(z));
  const double p_u = 0.88 * p_phi, p_m = 1.5 * p_phi, y_u = 3.0 * B / 80.0, y_m = B / 60.0;
  const double m = (p_u - p_m) / (y_u - y_m);
  const double n = p_m / (std::abs(m) * y_m), c = p_m / std::pow(y_m, 1.0 / n);
  const double y_k = std::pow(c / k_x, n / (n - 1.0));
  ASSERT_LT(y_k, y_m);  // the parabola shape
  const double u_par = 0.5 * (y_k + y_m), u_lin = 0.5 * (y_m + y_u);
  struct Case {
    const char* name;
    double u, p;
  };
  const Case cases[] = {
      {"initial line", 0.5 * y_k, k_x * 0.5 * y_k},
      {"parabola", u_par, c * std::pow(u_par, 1.0 / n)},
      {"p_m at y_m", y_m, p_m},
      {"straight part", u_lin, p_m + m * (u_lin - y_m)},
      {"p_u at y_u", y_u, p_u},
      {"p_u beyond", 4.0 * y_u, p_u},
  };
  for (const Case& cs : cases) {
    double p = 0.0, es = 0.0;
    evaluate_at(31, cs.u, p, es);
    expect_close(-p, cs.p, PUBLISHED, cs.name);
    expect_close(es * cs.u, -p, 1e-12, cs.name);
  }
}

TEST_F(SiltTest, CohesionAddsItsSoftClayPartAtYm) {
  // Node 3, z = 24 = b: N = gamma z / c + 3 + 0.5 z / b = 0.192 + 3.5 < 9.
  const double c = 5.0, z = 24.0;
  set_constant(SoilProfile.cohesion, c);
  const double p_c = (GAMMA * z / c + 3.0 + 0.5 * z / B) * c * B;
  const double p_phi = shallow(z);
  double p = 0.0, es = 0.0;
  evaluate_at(3, B / 60.0, p, es);
  expect_close(-p, std::min(1.5 * p_phi + p_c, 1000.0 * z * B / 60.0), PUBLISHED, "p_m = 1.5 p_phi + p_c");
  // Deep: N is 9.
  evaluate_at(61, 3.0 * B / 80.0, p, es);
  const double p_u = 0.88 * std::min(shallow(720.0), deep(720.0));
  expect_close(-p, p_u, PUBLISHED, "p_u = A p_phi, the cohesion only in p_m");
  EXPECT_GT(GAMMA * 720.0 / c + 3.0 + 0.5 * 720.0 / B, 9.0);
}

TEST_F(SiltTest, StiffInitialLineGivesTheStraightAndInitialLineShapes) {
  const double z = 360.0;
  const double p_phi = std::min(shallow(z), deep(z));
  const double p_u = 0.88 * p_phi, p_m = 1.5 * p_phi, y_u = 3.0 * B / 80.0, y_m = B / 60.0;
  const double m = (p_u - p_m) / (y_u - y_m);
  // k = 100: y_k beyond y_m, the line meets the straight part at y_i.
  set_constant(SoilProfile.subgrade_k, 100.0);
  const double k_x = 100.0 * z, y_i = (p_m - y_m * m) / (k_x - m);
  ASSERT_GE(y_i, y_m);
  ASSERT_LT(y_i, y_u);
  double p = 0.0, es = 0.0;
  evaluate_at(31, 0.9 * y_i, p, es);
  expect_close(-p, k_x * 0.9 * y_i, 1e-12, "straight shape: initial line");
  evaluate_at(31, 0.5 * (y_i + y_u), p, es);
  expect_close(-p, k_x * y_i + m * 0.5 * (y_u - y_i), PUBLISHED, "straight shape: straight part from y_i");
  // k = 10: p_u / k z lies beyond y_u, the initial line up to p_u.
  set_constant(SoilProfile.subgrade_k, 10.0);
  ASSERT_GE(p_u / (10.0 * z), y_u);
  evaluate_at(31, y_u, p, es);
  expect_close(-p, 10.0 * z * y_u, 1e-12, "initial-line shape");
  evaluate_at(31, 2.0 * p_u / (10.0 * z), p, es);
  expect_close(-p, p_u, PUBLISHED, "initial-line shape: p_u");
}

TEST_F(SiltTest, ZeroFrictionStopsWithItsOwnStatus) {
  // No friction throughout a layer whose first node is evaluated: the slope
  // check of that node stops the run.
  set_constant(SoilProfile.friction_angle, 0.0);
  set_range(1, 2, 61);
  EXPECT_EQ(run(), STATUS_SILT_SLOPE_ABOVE_FRICTION);
  EXPECT_NE(run_log().find("WARNING-------The Angle of the slope can not"), std::string::npos);
  // A second layer without friction below one with it: its first node, on
  // the boundary, takes the upper layer's angle; the next node stops the run.
  set_layers({{0.0, 12.0}, {12.0, 4000.0}}, SOIL_SILT);
  set_unit_weight(GAMMA);
  set_column(SoilProfile.friction_angle, {PHI, PHI, 0.0, 0.0});
  set_range(1, 1, 2);
  set_range(2, 2, 61);
  EXPECT_EQ(run(), STATUS_SILT_ZERO_FRICTION_ANGLE);
  EXPECT_NE(run_log().find("THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT"), std::string::npos);
}

TEST(SiltDefaultModulus, ClayTermPlusFrictionTerm) {
  struct Case {
    const char* name;
    int units, kind;
    double gamma, c, phi_degrees, k_in, expected;
  };
  const double s = 6.94444465637207, s_si = 47.8802604675293;
  const Case cases[] = {
      {"English static, soft, loose, dry", 1, 1, 0.05, 0.5 * s, 28.0, 0.0, 250.0 + 25.0},
      {"English cyclic, stiff, medium, wet", 1, 0, 0.04, 3.0 * s, 33.0, 0.0, 400.0 + 60.0},
      {"English static at 2 s, 36 degrees, dry", 1, 1, 0.06, 2.0 * s, 36.0, 0.0, 1000.0 + 90.0},
      {"English cyclic, very stiff, dense, wet", 1, 0, 0.045, 5.0 * s, 40.0, 0.0, 800.0 + 125.0},
      {"SI static, dense, dry", 2, 1, 13.0, 0.5 * s_si, 38.0, 0.0, 67861.78125 + 61075.6015625},
      {"SI cyclic, loose, wet", 2, 0, 12.225, 4.0 * s_si, 30.0, 0.0, 217157.6875 + 5428.93994140625},
      {"another loading kind adds to the k given", 1, 2, 0.05, s, 40.0, 7.0, 7.0 + 225.0},
      {"another unit system leaves k", 3, 1, 0.05, s, 40.0, 7.0, 7.0},
  };
  for (const Case& c : cases) {
    double gamma = c.gamma, cohesion = c.c, phi = c.phi_degrees * std::numbers::pi / 180.0, k = c.k_in;
    int units = c.units, kind = c.kind;
    DEFAULT_K_SILT(gamma, cohesion, phi, k, units, kind);
    EXPECT_EQ(k, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace pilecap::testing
