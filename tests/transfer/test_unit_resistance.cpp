// The unit side friction and tip resistance rules against hand values of
// their published formulas, and the flags of the soil report's routine.
#include <cmath>
#include <vector>

#include "tests/transfer/transfer_fixture.hpp"

namespace pilecap {
namespace {

using testing::TransferTest;

TEST(UnitResistanceRules, BearingFactorIsLinearBetweenItsAnchors) {
  struct Case {
    double degrees;
    double nq;
  };
  for (const Case& c : {Case{10, 8}, Case{20, 8}, Case{25, 12}, Case{30, 20}, Case{35, 40}, Case{37.5, 45},
                        Case{40, 50}, Case{45, 50}}) {
    const double phi = c.degrees / double(57.296f);
    EXPECT_NEAR(BEARING_FACTOR_NQ(phi), c.nq, 1e-9) << c.degrees;
  }
}

TEST(UnitResistanceRules, BetaIsCappedAndFloored) {
  const double gamma = 0.06, z = 120.0;
  struct Case {
    double z_ft;
    double beta;
  };
  for (const Case& c :
       {Case{1e-7, double(1.2f)}, Case{4.0, double(1.2f)}, Case{25.0, 1.5 - double(0.135f) * 5.0}, Case{90.0, 0.25}}) {
    EXPECT_NEAR(BETA_FRICTION(gamma, z, c.z_ft), c.beta * gamma * z, 1e-12) << c.z_ft;
  }
  EXPECT_EQ(DEPTH_IN_FEET(0.0, UNITS_ENGLISH), double(1e-7f));
  EXPECT_NEAR(DEPTH_IN_FEET(24.0, UNITS_ENGLISH), 2.0, 1e-15);
  EXPECT_NEAR(DEPTH_IN_FEET(0.6096, UNITS_SI), 0.6096 / double(0.3048f), 1e-15);
}

TEST(UnitResistanceRules, AlphaOfSoftShallowAndStiffClay) {
  // c > gamma z: psi > 1 and alpha = 0.5 psi^-0.25; below 3.47 psi the full cohesion.
  EXPECT_DOUBLE_EQ(ALPHA_FRICTION(2.0, 0.04, 10.0, UNITS_ENGLISH), 2.0);
  const double psi = 10.0 / (0.04 * 10.0);
  EXPECT_DOUBLE_EQ(ALPHA_FRICTION(10.0, 0.04, 10.0, UNITS_ENGLISH), 0.5 * std::pow(psi, -0.25) * 10.0);
  EXPECT_DOUBLE_EQ(ALPHA_FRICTION(20.0, 10.0, 1.0, UNITS_SI), 20.0);  // below 24 kPa
  // psi < 1: alpha = 0.5 psi^-0.5 (above 0.5, kept).
  EXPECT_DOUBLE_EQ(ALPHA_FRICTION(5.0, 0.1, 100.0, UNITS_ENGLISH), 0.5 * std::pow(0.5, -0.5) * 5.0);
}

TEST(UnitResistanceRules, DrilledSandTipStepsWithTheFrictionAngle) {
  EXPECT_EQ(DRILLED_GRANULAR_TIP(0.5, UNITS_ENGLISH), double(0.1f));
  EXPECT_EQ(DRILLED_GRANULAR_TIP(0.55, UNITS_ENGLISH), double(222.2f));
  EXPECT_EQ(DRILLED_GRANULAR_TIP(0.7, UNITS_ENGLISH), double(555.56f));
  EXPECT_EQ(DRILLED_GRANULAR_TIP(0.55, UNITS_SI), 1530.0);
  EXPECT_EQ(DRILLED_GRANULAR_TIP(0.7, UNITS_SI), 3830.0);
}

TEST_F(TransferTest, UserValuesClearTheFlagsAndTheComputedValues) {
  Layer layer;
  layer.side_friction = 3.0;
  layer.tip_resistance = 50.0;
  set_layer(layer);
  int code = SOIL_SOFT_CLAY, side = -1, tip = -1, status = 0;
  double x = 100.0, f1 = -1, f2 = -1, q1 = -1, q2 = -1;
  ULTIMATE_UNIT_RESISTANCE(code, x, side, f1, f2, tip, q1, q2, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(side, 0);
  EXPECT_EQ(tip, 0);
  EXPECT_EQ(f1 + f2 + q1 + q2, 0.0);
}

TEST_F(TransferTest, SandLayerValuesFromTheRules) {
  Layer layer;
  layer.code = SOIL_SAND;
  layer.cohesion = 0.0;
  layer.phi = 35.0 / double(57.296f);
  layer.unit_weight = 0.06;
  set_layer(layer);
  int code = SOIL_SAND, side = 0, tip = 0, status = 0;
  double x = 240.0, f_driven = 0, f_drilled = 0, q_driven = 0, q_drilled = 0;
  ULTIMATE_UNIT_RESISTANCE(code, x, side, f_driven, f_drilled, tip, q_driven, q_drilled, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(side, 1);
  EXPECT_EQ(tip, 1);
  const double sigma = 0.06 * 240.0;  // overburden at 20 ft
  EXPECT_NEAR(f_driven, double(0.8f) * sigma * std::tan(layer.phi - double(0.087f)), 1e-12);
  EXPECT_NEAR(f_drilled, (1.5 - double(0.135f) * std::sqrt(20.0)) * sigma, 1e-12);
  EXPECT_NEAR(q_driven, 40.0 * sigma, 1e-9);
  EXPECT_EQ(q_drilled, double(222.2f));  // 35 degrees is below the 0.628 rad step
}

TEST_F(TransferTest, CohesiveSandTipTakesNineCohesion) {
  Layer layer;
  layer.code = SOIL_SAND;
  layer.cohesion = 2.0;
  layer.phi = 0.0;
  set_layer(layer);
  int code = SOIL_SAND, side = 0, tip = 0, status = 0;
  double x = 240.0, f1 = 0, f2 = 0, q_driven = 0, q_drilled = 0;
  ULTIMATE_UNIT_RESISTANCE(code, x, side, f1, f2, tip, q_driven, q_drilled, status);
  EXPECT_EQ(q_driven, 18.0);
  EXPECT_EQ(q_drilled, 18.0);
}

}  // namespace
}  // namespace pilecap
