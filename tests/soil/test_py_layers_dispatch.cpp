// Equivalent depth of layered soil (closed-form clay roots, stepwise sand
// integration), depth reduction factors, and the dispatch frame: which
// layers are taken, the ground-line pass and the ground depth it leaves.
#include <algorithm>
#include <cmath>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

class LayersTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 120.0}, {120.0, 2000.0}}, SOIL_SOFT_CLAY);
    set_pile(41, 12.0, 12.0);
    RunOptions.layering_correction = 1;
  }
  double equivalent(double s, double c, double gamma, double b, double j = 0.0) {
    PileLayerData.ultimate_resistance(PILE, 1) = s;
    int pile = PILE, layer = 2, set = SET;
    double none = 0.0, z0 = 120.0;
    EQUIVALENT_DEPTH(pile, layer, set, b, c, none, gamma, none, none, none, none, none, none, z0, j,
                     SAND_COEFF_DEPTH_RATIOS);
    return PileLayerData.eq_depth(PILE, 2);
  }
};

TEST_F(LayersTest, ClayRootAndDeepContinuation) {
  // The published case: c = 10, b = 12, gamma = 0.04, S = 1000.
  EXPECT_NEAR(equivalent(1000.0, 10.0, 0.04, 12.0), 2.7214, 1e-4);
  const double q = 0.25 * 10.0 + 0.5 * 0.04 * 12.0, s = 3.0 * 10.0 * 12.0;
  const double x_r = 6.0 * 10.0 * 12.0 / (0.5 * 10.0 + 0.04 * 12.0);
  const double i_r = q * x_r * x_r + s * x_r;
  const double big = 2.0 * i_r;
  EXPECT_NEAR(equivalent(big, 10.0, 0.04, 12.0), x_r + (big - i_r) / 1080.0, 1e-9 * x_r);
  AnalysisControl.loading_kind = 0;  // cyclic: I(x_r) and p_d times 0.72
  EXPECT_NEAR(equivalent(big, 10.0, 0.04, 12.0), x_r + (big - 0.72 * i_r) / (0.72 * 1080.0), 1e-6 * x_r);
  EXPECT_NEAR(equivalent(1000.0, 10.0, 0.04, 12.0), 2.7214, 1e-4) << "the root takes no cyclic factor";
  // Codes 13 and 14: the integral of their own pu; J = 0.5 is code 1.
  AnalysisControl.loading_kind = 1;
  SoilProfile.layer_code(2) = SOIL_SOFT_CLAY_USER_J;
  EXPECT_NEAR(equivalent(1000.0, 10.0, 0.04, 12.0, 0.5), 2.7214, 1e-4);
  const double q1 = 0.5 * 1.0 * 10.0 + 0.5 * 0.04 * 12.0;
  EXPECT_NEAR(equivalent(1000.0, 10.0, 0.04, 12.0, 1.0), (std::sqrt(s * s + 4.0 * q1 * 1000.0) - s) / (2.0 * q1),
              1e-12);
  // S = 0: the layer starts as at the ground.
  EXPECT_EQ(equivalent(0.0, 10.0, 0.04, 12.0), 0.0);
  // No resistance to match (c = 0, gamma = 0): the real depth of the top.
  EXPECT_EQ(equivalent(1000.0, 0.0, 0.0, 12.0), 120.0);
}

TEST_F(LayersTest, SandStepwiseIntegration) {
  SoilProfile.layer_code(2) = SOIL_SAND;
  const double phi = 35.0 * std::numbers::pi / 180.0, gamma = 0.04, b = 12.0;
  double alpha = phi / 2, beta = std::numbers::pi / 4 + phi / 2, k0 = double(0.4f);
  double ka = std::pow(std::tan(std::numbers::pi / 4 - phi / 2), 2), t2 = std::pow(std::tan(beta), 2);
  PileSoilData.ground_line(PILE) = 0.0;
  auto run_eq = [&](double s) {
    PileLayerData.ultimate_resistance(PILE, 1) = s;
    int pile = PILE, layer = 2, set = SET;
    double b_ = b, g = gamma, p = phi, none = 0.0, z0 = 120.0;
    EQUIVALENT_DEPTH(pile, layer, set, b_, none, none, g, p, alpha, beta, k0, ka, t2, z0, none,
                     SAND_COEFF_DEPTH_RATIOS);
    return PileLayerData.eq_depth(PILE, 2);
  };
  // Independent: A by linear interpolation of the static table over z / b,
  // the wedge as gamma z (C1 z + C2 b) with the published coefficients,
  // resistance at the lower end of each of 50 steps of z_e / 50.
  const double C1 = 2.9704, C2 = 3.4192, C3 = 53.793;
  const double z_e = (C3 - C2) * b / C1;
  auto a_static = [](double r) {
    const double xs[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
    const double as[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    if (r >= 6) return 0.88;
    int i = 1;
    while (xs[i] < r) ++i;
    return as[i - 1] + (as[i] - as[i - 1]) * (r - xs[i - 1]) / (xs[i] - xs[i - 1]);
  };
  double total = 0.0;
  const double step = z_e / 50;
  for (int i = 1; i <= 20; ++i) {
    const double z = i * step;
    total += step * a_static(z / b) * gamma * z * (C1 * z + C2 * b);
  }
  EXPECT_NEAR(run_eq(total), 20 * step, 2e-3 * z_e) << "S reached at step 20";
  // Beyond z_e the depth continues at r = 0.88 C3 gamma b z0.
  double full = total;
  for (int i = 21; i <= 50; ++i) {
    const double z = i * step;
    full += step * a_static(z / b) * gamma * z * (C1 * z + C2 * b);
  }
  const double extra = 5000.0;
  EXPECT_NEAR(run_eq(full + extra), z_e + extra / (0.88 * C3 * gamma * b * 120.0), 2e-3 * z_e);
}

TEST_F(LayersTest, LayeringOptionsAndCachedDepth) {
  set_constant(SoilProfile.cohesion, 10.0);
  set_constant(SoilProfile.e50, 0.01);
  set_unit_weight(0.04);
  set_range(1, 1, 11);
  set_range(2, 11, 41);
  at(y_, 20) = 0.1;
  RunOptions.layering_correction = 0;
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(PileLayerData.eq_depth(PILE, 2), 120.0) << "option 16 = 0: the real depth";
  PileLayerData.eq_depth(PILE, 2) = 0.0;
  RunOptions.layering_correction = 1;
  RunOptions.layering_same_code_skip = 1;
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(PileLayerData.eq_depth(PILE, 2), 120.0) << "option 17 = 1, same codes";
  PileLayerData.eq_depth(PILE, 2) = 0.0;
  RunOptions.layering_same_code_skip = 0;
  ASSERT_EQ(run(), 0);
  const double computed = PileLayerData.eq_depth(PILE, 2);
  // The same clay above: about the real depth, a little deeper because the
  // node sum of the upper layer takes each node's resistance over its spacing.
  EXPECT_GT(computed, 120.0);
  EXPECT_LT(computed, 132.0);
  PileLayerData.ultimate_resistance(PILE, 1) = 1.0;
  set_range(1, 0, 0);
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(PileLayerData.eq_depth(PILE, 2), computed) << "the cached value is kept";
}

TEST_F(LayersTest, DepthReductionFactors) {
  DepthFactorTable.count = 1;
  DepthFactorTable.num_rows(1) = 3;
  const double d[] = {10.0, 20.0, 40.0}, pf[] = {0.5, 0.7, 0.9}, yf[] = {2.0, 1.5, 1.0};
  for (int i = 1; i <= 3; ++i) {
    DepthFactorTable.depth(1, i) = d[i - 1];
    DepthFactorTable.p_factor(1, i) = pf[i - 1];
    DepthFactorTable.y_factor(1, i) = yf[i - 1];
  }
  struct Case {
    const char* name;
    int set;
    double depth, pm, ym;
  };
  const Case cases[] = {
      {"no table", 0, 15.0, 1.0, 1.0},           {"table not read", 7, 15.0, 1.0, 1.0},
      {"above the first row", 1, 5.0, 1.0, 1.0}, {"below the last row", 1, 41.0, 1.0, 1.0},
      {"first row", 1, 10.0, 0.5, 2.0},          {"middle row exactly", 1, 20.0, 0.7, 1.5},
      {"last row", 1, 40.0, 0.9, 1.0},           {"interpolated", 1, 30.0, 0.8, 1.25},
  };
  for (const Case& c : cases) {
    PileTable.rfl_set(PILE) = c.set;
    int pile = PILE, table = -1;
    double depth = c.depth, pm = 0.0, ym = 0.0;
    DEPTH_REDUCTION_FACTORS(pile, table, depth, pm, ym);
    EXPECT_EQ(table, c.set) << c.name;
    EXPECT_NEAR(pm, c.pm, 1e-15) << c.name;
    EXPECT_NEAR(ym, c.ym, 1e-15) << c.name;
  }
}

TEST_F(LayersTest, DispatchTakesLayersByTheCurveGenerationWord) {
  set_layers({{-100.0, 2000.0}}, SOIL_ELASTIC_SUBGRADE);
  set_constant(SoilProfile.subgrade_k, 10.0);
  set_unit_weight(0.04);
  // Head 36 above the ground; imaginary nodes above the head in the range.
  set_pile(41, 12.0, 12.0, 0.0, 36.0);
  set_range(1, 0, 4);
  for (int j = 1; j <= 41; ++j) at(y_, j) = 1.0, at(es_, j) = 99.0;
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(at(es_, 1), 0.0) << "above the ground line";
  EXPECT_EQ(at(es_, 4), 10.0 * 12.0) << "on the ground line: the spring of depth 0";
  EXPECT_EQ(at(es_, 5), 99.0) << "outside the layer range";
  EXPECT_EQ(PileSoilData.ground_line(PILE), 36.0) << "ground depth below the head";
  // In curve generation a range starting at node 0 is not taken.
  at(es_, 4) = 99.0;
  RunOptions.print_py_curves = 1;
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(at(es_, 4), 99.0);
  // Node 5 lies below the ground: evaluated, Es = k b.
  RunOptions.print_py_curves = 0;
  set_range(1, 5, 5);
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(at(es_, 5), 10.0 * 12.0);
}

TEST_F(LayersTest, FailedQuerySkipsTheGroundLinePass) {
  set_layers({{0.0, 100.0}}, SOIL_SOFT_CLAY);
  set_pile(41, 12.0, 12.0, 0.0, 24.0);  // the pile reaches below the soil
  SoilProfile.num_uw_points = 2;
  set_range(1, 1, 41);
  for (int j = 1; j <= 41; ++j) at(es_, j) = 99.0;
  at(y_, 41) = 1.0;
  const int status = run();
  EXPECT_EQ(status, STATUS_BEYOND_COHESION_CURVE);
  EXPECT_EQ(PileSoilData.ground_line(PILE), 24.0) << "left as the ground line of the node frame";
}

TEST_F(LayersTest, SoilMovementEqualToDeflection) {
  set_constant(SoilProfile.cohesion, 10.0);
  set_constant(SoilProfile.e50, 0.01);
  set_unit_weight(0.04);
  set_range(1, 1, 41);
  SoilMovementProfile.count = 1;
  at(y_, 20) = at(move1_, 20) = 0.25;
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(at(p_, 20), 0.0);
  EXPECT_FALSE(std::signbit(at(p_, 20))) << "positive when y = m";
  EXPECT_GT(at(es_, 20), 0.0) << "the initial modulus";
}

}  // namespace
}  // namespace pilecap::testing
