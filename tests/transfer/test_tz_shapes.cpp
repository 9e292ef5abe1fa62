// The t-z shapes against their tabled points and the published curves they
// follow, and the choice of shape by pile type and soil code.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "input/input.hpp"
#include "pile/pile.hpp"
#include "model/conversions.hpp"
#include "soil/soil.hpp"
#include "tests/support/engine_state.hpp"
#include "transfer/transfer.hpp"

namespace pilecap {
namespace {

constexpr double UNTOUCHED = -7.0;

struct ShapeCase {
  const char* name;
  int shape;
  std::vector<double> z;  // expected movements
  std::vector<double> t;  // expected t / tmax
};

// Fills curve 3 of a fresh set with tmax 2 and diameter 20.
std::unique_ptr<TzCurveSet> fill(int shape, double phi_deg = 30.0) {
  auto set = std::make_unique<TzCurveSet>();
  set->t.fill(UNTOUCHED);
  set->z.fill(UNTOUCHED);
  int k = 3;
  double D = 20.0;
  set->tmax(k) = 2.0;
  set->phi(k) = phi_deg;
  switch (shape) {
    case TZ_DRILLED_COHESIVE:
      TZ_SHAPE_DRILLED_COHESIVE(k, D, set->t, set->z, set->tmax);
      break;
    case TZ_DRILLED_GRANULAR:
      TZ_SHAPE_DRILLED_GRANULAR(k, D, set->t, set->z, set->tmax);
      break;
    case TZ_DRIVEN_SOFTENING:
      TZ_SHAPE_DRIVEN_SOFTENING(k, D, set->t, set->z, set->tmax);
      break;
    case TZ_DRIVEN_COHESIVE:
      TZ_SHAPE_DRIVEN_COHESIVE(k, set->t, set->z, set->tmax);
      break;
    default:
      TZ_SHAPE_DRIVEN_HYPERBOLIC(k, set->t, set->z, set->tmax, set->phi);
      break;
  }
  return set;
}

class TzShapeTest : public testing::EngineTest {
 protected:
  void TearDown() override { RunOptions = RunOptionsRecord{}; }
};

TEST_F(TzShapeTest, TabledShapesGiveTheirPointsAndNoMore) {
  RunOptions.units = UNITS_ENGLISH;
  const double D = 20.0;
  const std::vector<ShapeCase> cases = {
      {"drilled cohesive",
       TZ_DRILLED_COHESIVE,
       {0, 0.001 * D, 0.002 * D, 0.003 * D, 0.005 * D, 0.006 * D, 0.008 * D, 0.012 * D, 0.016 * D, 0.1 * D},
       {0, 0.51, 0.72, 0.90, 0.925, 0.945, 0.955, 0.925, 0.90, 0.835}},
      {"drilled granular",
       TZ_DRILLED_GRANULAR,
       {0, 0.001 * D, 0.002 * D, 0.003 * D, 0.005 * D, 0.006 * D, 0.008 * D, 0.012 * D, 0.016 * D, 0.1 * D},
       {0, 0.335, 0.58, 0.72, 0.86, 0.91, 0.95, 0.965, 0.96, 0.95}},
      {"driven softening",
       TZ_DRIVEN_SOFTENING,
       {0, 0.0016 * D, 0.0031 * D, 0.0057 * D, 0.008 * D, 0.01 * D, 0.02 * D, 0.03 * D, 0.05 * D, 0.1 * D},
       {0, 0.30, 0.50, 0.75, 0.90, 1.0, 0.8, 0.8, 0.8, 0.8}},
      // The clay t-z curve: peak at 0.08 in, residual 0.93 from 0.16 in on.
      {"driven cohesive",
       TZ_DRIVEN_COHESIVE,
       {0, 0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 10.0},
       {0, 0.18, 0.38, 0.79, 0.97, 1.0, 0.97, 0.93, 0.93, 0.93}},
  };
  for (const ShapeCase& c : cases) {
    auto set = fill(c.shape);
    for (int i = 1; i <= TZ_POINTS; ++i) {
      EXPECT_NEAR(set->z(3, i), c.z[i - 1], 1e-6 * (1.0 + c.z[i - 1])) << c.name << " point " << i;
      EXPECT_NEAR(set->t(3, i), 2.0 * c.t[i - 1], 1e-6) << c.name << " point " << i;
    }
    EXPECT_EQ(set->t(3, TZ_POINTS + 1), UNTOUCHED) << c.name;
    EXPECT_EQ(set->z(2, 1), UNTOUCHED) << c.name;
  }
}

TEST_F(TzShapeTest, AbsoluteMovementsBecomeMetresUnderSi) {
  RunOptions.units = UNITS_SI;
  auto cohesive = fill(TZ_DRIVEN_COHESIVE);
  EXPECT_EQ(cohesive->z(3, 2), 0.00025399999125301845);
  EXPECT_EQ(cohesive->z(3, 10), 0.2539999969303608);
  auto hyperbola = fill(TZ_DRIVEN_HYPERBOLIC);
  EXPECT_EQ(hyperbola->z(3, 10), 0.0634999992325902);
  // The scaled shapes do not depend on the unit system.
  auto softening = fill(TZ_DRIVEN_SOFTENING);
  EXPECT_NEAR(softening->z(3, 6), 0.2, 1e-8);
}

// The sand hyperbola t = z / (z / tmax + 144 / K) with K from the friction angle.
TEST_F(TzShapeTest, HyperbolaFollowsItsStiffnessTable) {
  RunOptions.units = UNITS_ENGLISH;
  struct Case {
    double phi;
    double K;
  };
  const double slope = double(1333.3f);
  for (const Case& c :
       {Case{25.0, 6000.0}, Case{30.0, 6000.0 + 2 * slope}, Case{31.5, 10000.0}, Case{34.0, 10000.0 + 2 * slope},
        Case{34.5, 14000.0}, Case{37.0, 14000.0 + 2 * slope}, Case{40.0, 18000.0}}) {
    auto set = fill(TZ_DRIVEN_HYPERBOLIC, c.phi);
    const double z = double(0.04f);
    EXPECT_NEAR(set->t(3, 4), z / (z / 2.0 + 144.0 / c.K), 1e-12) << c.phi;
    EXPECT_EQ(set->t(3, 1), 0.0);
  }
}

TEST_F(TzShapeTest, HyperbolaWithoutFrictionRaisesTmaxInTheCallersArray) {
  RunOptions.units = UNITS_ENGLISH;
  auto set = std::make_unique<TzCurveSet>();
  int k = 1;
  set->phi(k) = 20.0;
  TZ_SHAPE_DRIVEN_HYPERBOLIC(k, set->t, set->z, set->tmax, set->phi);
  EXPECT_EQ(set->tmax(k), double(0.001f));
  EXPECT_GT(set->t(k, 10), 0.99 * double(0.001f));
  EXPECT_LT(set->t(k, 10), double(0.001f));
}

TEST_F(TzShapeTest, ShapeChosenByPileTypeAndSoilCode) {
  struct Case {
    int code;
    int drilled;
    int driven;
  };
  const int DC = TZ_DRILLED_COHESIVE, DG = TZ_DRILLED_GRANULAR, HY = TZ_DRIVEN_HYPERBOLIC, SO = TZ_DRIVEN_SOFTENING,
            CO = TZ_DRIVEN_COHESIVE;
  const std::vector<Case> cases = {
      {0, DC, CO},           {1, DC, CO},  {2, DC, CO},  {3, DC, CO},  {4, DG, HY},
      {6, DC, CO},           {7, DG, HY},  {8, DG, HY},  {9, DC, CO},  {10, DC, CO},
      {11, DC, CO},          {12, DC, SO}, {13, DC, CO}, {14, DC, CO}, {15, TZ_NONE, TZ_NONE},
      {-1, TZ_NONE, TZ_NONE}};
  for (const Case& c : cases) {
    EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRILLED, c.code, 30.0), c.drilled) << "code " << c.code;
    EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRIVEN, c.code, 30.0), c.driven) << "code " << c.code;
    EXPECT_EQ(TZ_SHAPE_FOR(3, c.code, 30.0), TZ_NONE) << "code " << c.code;
  }
  // User p-y layers: the drilled shape follows the friction angle; exactly
  // 1 degree counts as cohesive.
  EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRILLED, SOIL_USER_PY, 1.5), DG);
  EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRILLED, SOIL_USER_PY, 1.0), DC);
  EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRILLED, SOIL_USER_PY, 0.5), DC);
  EXPECT_EQ(TZ_SHAPE_FOR(PILE_DRIVEN, SOIL_USER_PY, 0.5), SO);
}

}  // namespace
}  // namespace pilecap
