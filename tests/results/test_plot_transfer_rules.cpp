// Load-transfer rules of the plot curves at tabled points: the bearing
// factor Nq of driven tips in sand, the clamps of the drilled-shaft beta,
// the adhesion factor alpha of driven piles in clay, the clay tip capacity
// 9 c A_t, tip curves that rise from the origin, the driven clay tip curve
// reaching Q at its failure movement, the zero-cohesion warning, the t-z
// shape of a drilled shaft in user p-y soil by its friction angle, and the
// evaluation of a tip curve.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/results/plot_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double LENGTH = 400.0;
constexpr double TIP_AREA = 36.9;
constexpr double GAMMA = 0.04;  // pci

class PlotRulesTest : public PlotTest {
 protected:
  // One pile of the given type from coordinate 0 (its ground line) in one layer.
  static void one_pile_in(int type, const PlotLayer& layer) {
    set_property(1, type, LENGTH, 40);
    set_pile(1, 1, 0.0, 0.0);
    set_layers({layer});
  }
  // The tip of that pile, its tip code the layer's.
  static PlotTipCurve tip_in(int type, const PlotLayer& layer, int& status) {
    one_pile_in(type, layer);
    PlotTipCurve tip;
    PLOT_TIP_CURVE(1, layer.code, tip, status);
    return tip;
  }
  static PlotLayer layer(int code, double cohesion, double phi_deg) {
    return {.code = code,
            .top = 0.0,
            .bottom = 1000.0,
            .cohesion = cohesion,
            .friction_angle = phi_deg * std::numbers::pi / 180.0,
            .e50 = 0.01,
            .unit_weight = GAMMA};
  }
};

TEST_F(PlotRulesTest, BearingFactorOfDrivenTipsInSandIsContinuousThroughItsAnchors) {
  struct Case {
    double phi_deg, nq;
  };
  const Case cases[] = {{15.0, 8.0},  {20.0, 8.0},  {22.5, 10.0}, {25.0, 12.0}, {27.5, 16.0},
                        {30.0, 20.0}, {35.0, 40.0}, {37.5, 45.0}, {40.0, 50.0}, {45.0, 50.0}};
  for (const Case& c : cases) {
    // The rule takes the angle to degrees by 57.296; given so, it is c.phi_deg there.
    PlotLayer sand = layer(SOIL_SAND, 0.0, 0.0);
    sand.friction_angle = c.phi_deg / double(57.296f);
    int status = STATUS_OK;
    const PlotTipCurve tip = tip_in(PILE_DRIVEN, sand, status);
    ASSERT_EQ(status, STATUS_OK);
    // Q = zt A_t gamma Nq.
    EXPECT_NEAR(tip.capacity / (LENGTH * TIP_AREA * GAMMA), c.nq, 1e-12 * c.nq) << c.phi_deg << " degrees";
  }
}

TEST_F(PlotRulesTest, BetaOfDrilledShaftsInSandStaysBetweenAQuarterAndOnePointTwo) {
  PlotLayer sand = layer(SOIL_SAND, 0.0, 32.0);
  sand.bottom = 2000.0;
  one_pile_in(PILE_DRILLED, sand);
  const double z_feet[] = {0.5, 2.0, 4.9, 5.0, 30.0, 85.0, 86.0, 100.0};
  for (double feet : z_feet) {
    const double z = 12.0 * feet;
    const double beta = std::clamp(1.5 - 0.135 * std::sqrt(feet), 0.25, 1.2);
    int status = STATUS_OK;
    const double fs = PLOT_UNIT_SIDE_FRICTION(1, z, z, SOIL_SAND, status);
    ASSERT_EQ(status, STATUS_OK);
    EXPECT_NEAR(fs / (GAMMA * z), beta, 1e-7) << feet << " ft";
  }
}

TEST_F(PlotRulesTest, AdhesionOfDrivenPilesInClayFollowsTheStrengthRatio) {
  struct Case {
    const char* name;
    int units;
    double c, z, alpha;
  };
  // psi = c / (gamma z); alpha = 0.5 psi^-0.5 up to psi = 1, 0.5 psi^-0.25
  // above, and 1 where that falls below 0.5 in a weak clay (c < 3.47 psi,
  // or 24 kPa under SI units).
  const Case cases[] = {
      {"psi 1/4", UNITS_ENGLISH, 10.0, 1000.0, 1.0},
      {"psi 1", UNITS_ENGLISH, 10.0, 250.0, 0.5},
      {"psi 4", UNITS_ENGLISH, 10.0, 62.5, 0.5 * std::pow(4.0, -0.25)},
      {"psi 16, weak clay", UNITS_ENGLISH, 2.0, 3.125, 1.0},
      {"psi 16, weak clay in SI", UNITS_SI, 20.0, 31.25, 1.0},
      {"psi 16, SI clay", UNITS_SI, 30.0, 46.875, 0.25},
      {"at the ground line: 1 deep", UNITS_ENGLISH, 10.0, 0.0, 0.5 * std::pow(10.0 / GAMMA, -0.25)},
  };
  for (const Case& c : cases) {
    RunOptions.units = c.units;
    one_pile_in(PILE_DRIVEN, layer(SOIL_SOFT_CLAY, c.c, 0.0));
    int status = STATUS_OK;
    const double fs = PLOT_UNIT_SIDE_FRICTION(1, c.z, c.z, SOIL_SOFT_CLAY, status);
    ASSERT_EQ(status, STATUS_OK);
    EXPECT_NEAR(fs, c.alpha * c.c, 1e-12 * c.c) << c.name;
  }
  // A side friction the input gives is used as it stands.
  PlotLayer given = layer(SOIL_SOFT_CLAY, 10.0, 0.0);
  given.side_friction = 3.3;
  one_pile_in(PILE_DRIVEN, given);
  int status = STATUS_OK;
  EXPECT_EQ(PLOT_UNIT_SIDE_FRICTION(1, 100.0, 100.0, SOIL_SOFT_CLAY, status), 3.3);
}

TEST_F(PlotRulesTest, TipCurvesRiseFromTheOriginAndClayTipsBearNineCohesions) {
  struct Case {
    const char* name;
    int type, code;
    double c, phi_deg, capacity;  // capacity 0: not checked
  };
  const Case cases[] = {
      {"driven in clay", PILE_DRIVEN, SOIL_SOFT_CLAY, 10.0, 0.0, 9.0 * 10.0 * TIP_AREA},
      {"drilled in clay", PILE_DRILLED, SOIL_SOFT_CLAY, 10.0, 0.0, 9.0 * 10.0 * TIP_AREA},
      {"driven in sand", PILE_DRIVEN, SOIL_SAND, 0.0, 34.0, 0.0},
      {"drilled in sand", PILE_DRILLED, SOIL_SAND, 0.0, 34.0, 0.0},
      {"drilled in loose sand: a load of 0.1", PILE_DRILLED, SOIL_SAND, 0.0, 25.0, double(0.1f)},
      {"driven in user p-y soil", PILE_DRIVEN, SOIL_USER_PY, 10.0, 10.0, 9.0 * 10.0 * TIP_AREA},
      {"driven in sand, tip cohesive", PILE_DRIVEN, SOIL_SAND, 10.0, 0.0, 9.0 * 10.0 * TIP_AREA},
  };
  for (const Case& c : cases) {
    int status = STATUS_OK;
    const PlotTipCurve tip = tip_in(c.type, layer(c.code, c.c, c.phi_deg), status);
    ASSERT_EQ(status, STATUS_OK) << c.name;
    if (c.capacity > 0.0) {
      EXPECT_NEAR(tip.capacity, c.capacity, 1e-12 * c.capacity) << c.name;
    }
    EXPECT_EQ(tip.w(1), 0.0) << c.name;
    EXPECT_EQ(tip.q(1), 0.0) << c.name;
    for (int j = 2; j <= TZ_POINTS; ++j) {
      EXPECT_GT(tip.w(j), tip.w(j - 1)) << c.name << " point " << j;
      EXPECT_GE(tip.q(j), tip.q(j - 1)) << c.name << " point " << j;
    }
  }
}

// The driven clay tip: q = Q / 2 sqrt(w / (2 Dt e50)) at w = k Dt e50, k =
// 0 .. 8, reaching Q at the failure movement 8 Dt e50 and holding it to 10
// times that movement.
TEST_F(PlotRulesTest, DrivenClayTipReachesItsCapacityAtTheFailureMovement) {
  int status = STATUS_OK;
  const PlotTipCurve tip = tip_in(PILE_DRIVEN, layer(SOIL_SOFT_CLAY, 10.0, 0.0), status);
  ASSERT_EQ(status, STATUS_OK);
  const double q = tip.capacity, unit = 24.0 * 0.01;
  for (int k = 0; k <= 8; ++k) {
    EXPECT_NEAR(tip.w(k + 1), k * unit, 1e-15 * unit) << k;
    EXPECT_NEAR(tip.q(k + 1), 0.5 * q * std::sqrt(k / 2.0), 1e-12 * q) << k;
  }
  EXPECT_EQ(tip.q(9), q);
  EXPECT_EQ(tip.q(10), q);
  EXPECT_NEAR(tip.w(10), 80.0 * unit, 1e-14);
  EXPECT_EQ(Qtip(tip, 100.0), q) << "held beyond the last movement";
}

TEST_F(PlotRulesTest, DrivenClayTipWithoutCohesionStopsWithItsWarning) {
  int status = STATUS_OK;
  tip_in(PILE_DRIVEN, layer(SOIL_SOFT_CLAY, 0.0, 0.0), status);
  EXPECT_EQ(status, STATUS_LS_CURVE_ZERO_COHESION);
  const std::string warning = "\n" + std::string(29, ' ') + "**** WARNING ****\n" + std::string(5, ' ') +
                              "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE\n";
  EXPECT_EQ(fio::memory_contents(UNIT_RUN_LOG), warning);
  EXPECT_EQ(fio::memory_contents(UNIT_RESULTS_REPORT), warning);
}

// A drilled shaft in user p-y soil is granular above 1 degree, cohesive
// below, and has no curve at exactly 1 degree.
TEST_F(PlotRulesTest, DrilledShaftInUserPySoilTakesItsShapeByTheFrictionAngle) {
  const double pi_of_angles = double(3.1416f);
  const double one_degree = pi_of_angles / 180.0;
  ASSERT_EQ(one_degree * 180.0 / pi_of_angles, 1.0);
  struct Case {
    const char* name;
    double phi, first_ratio;  // t / tmax at z = 0.001 D
  };
  const Case cases[] = {{"granular", 1.5 * one_degree, 0.335},
                        {"cohesive", 0.5 * one_degree, 0.51},
                        {"exactly 1 degree", one_degree, 0.0}};
  for (const Case& c : cases) {
    PlotLayer user_py = layer(SOIL_USER_PY, 0.0, 0.0);
    user_py.friction_angle = c.phi;
    one_pile_in(PILE_DRILLED, user_py);
    PlotTzCurve tz;
    double phi_deg = 0.0;
    int status = STATUS_OK;
    PLOT_TZ_CURVE(1, 100.0, SOIL_USER_PY, 2.0, tz, phi_deg, status);
    ASSERT_EQ(status, STATUS_OK);
    EXPECT_NEAR(tz.t(2), 2.0 * c.first_ratio, 1e-7) << c.name;
    EXPECT_NEAR(tz.z(2), c.first_ratio > 0.0 ? 0.001 * 24.0 : 0.0, 1e-8) << c.name;
  }
}

TEST_F(PlotRulesTest, TipLoadIsLinearBetweenItsPointsAndExtendedBeyond) {
  PlotTipCurve tip;
  for (int j = 1; j <= TZ_POINTS; ++j) {
    tip.w(j) = j - 1.0;
    tip.q(j) = 10.0 * (j - 1.0) * (j - 1.0);
  }
  EXPECT_EQ(Qtip(tip, 0.0), 0.0);
  EXPECT_EQ(Qtip(tip, 2.5), 65.0);
  EXPECT_EQ(Qtip(tip, 11.0), 810.0 + 2.0 * 170.0) << "the last segment extended";
  // A curve of a pile without diameter: every movement 0; a segment of zero
  // length gives its left load, never 0 / 0.
  PlotTipCurve flat;
  for (int j = 1; j <= TZ_POINTS; ++j) flat.q(j) = j;
  EXPECT_EQ(Qtip(flat, 0.0), 1.0);
  EXPECT_EQ(Qtip(flat, 0.5), 9.0);
}

}  // namespace
}  // namespace pilecap::testing
