// Reduction factors for closely spaced piles against the published group
// efficiencies: side by side 0.64 (s/b)^0.34, leading 0.70 (s/b)^0.26,
// trailing 0.48 (s/b)^0.38 (at three diameters 0.9298, 0.9314 and 0.7287),
// the product over the neighbours of a pile, the mean over a row's piles,
// and the elliptical combination of the two horizontal directions.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/sections.hpp"
#include "soil/close_spacing.hpp"
#include "tests/soil/soil_fixture.hpp"

namespace pilecap {
namespace {

constexpr double D = 24.0;            // pile diameter, inches
constexpr double PUBLISHED = 5e-5;    // the published values carry four decimals
constexpr double SIDE_AT_3 = 0.9298;  // 0.64 x 3^0.34
constexpr double LEAD_AT_3 = 0.9314;  // 0.70 x 3^0.26
constexpr double TRAIL_AT_3 = 0.7287;

class CloseSpacing : public testing::SoilTest {
 protected:
  void SetUp() override {
    SoilTest::SetUp();
    RunOptions.dimension = 3;
    PileSection.diameter(1, 1) = D;
  }
  // A 3D pile at (y, z), in diameters, with property set set.
  static void pile(int p, double y, double z, int set = 1) {
    if (p > PileTable.n_piles) PileTable.n_piles = p;
    PileTable.head_y(p) = y * D;
    PileTable.head_z(p) = z * D;
    PileTable.prop(p) = set;
    PileTable.n_identical(p) = 1.0;
  }
  static double factor_1(double sign) {
    CLOSE_SPACING_FACTORS_1(sign);
    return ClosePileFactors.p_factor_1(1);
  }
};

TEST_F(CloseSpacing, PairEfficienciesFollowThePublishedRelations) {
  // Skewed at 45 degrees, r = 2 sqrt 2, by hand: sqrt((fs sin)^2 + (fl cos)^2).
  const double r = std::sqrt(8.0);
  const double fs = 0.64 * std::pow(r, 0.34), lead = 0.70 * std::pow(r, 0.26), trail = 0.48 * std::pow(r, 0.38);
  struct Case {
    const char* name;
    double m, t, sign, expected, tolerance;
  } cases[] = {
      {"side by side at 3 b", 0.0, 3.0, 1.0, SIDE_AT_3, PUBLISHED},
      {"side by side on the other side", 0.0, -3.0, -1.0, SIDE_AT_3, PUBLISHED},
      {"side by side at 2 b", 0.0, 2.0, 1.0, 0.8101, PUBLISHED},
      {"side by side at 6 b", 0.0, 6.0, 1.0, 1.0, 0.0},
      {"leading at 3 b", 3.0, 0.0, 1.0, LEAD_AT_3, PUBLISHED},
      {"trailing at 3 b", -3.0, 0.0, 1.0, TRAIL_AT_3, PUBLISHED},
      {"leading when moving back", -3.0, 0.0, -1.0, LEAD_AT_3, PUBLISHED},
      {"in line at 9 b", 9.0, 0.0, -1.0, 1.0, 0.0},
      {"skewed leading", 2.0, 2.0, 1.0, std::sqrt(0.5 * (fs * fs + lead * lead)), 1e-6},
      {"skewed trailing", -2.0, 2.0, 1.0, std::sqrt(0.5 * (fs * fs + trail * trail)), 1e-6},
      {"skewed at 10 b", 6.0, 8.0, 1.0, 1.0, 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(CLOSE_SPACING_PAIR_FACTOR(c.m, c.t, c.sign), c.expected, c.tolerance) << c.name;
  }
}

TEST_F(CloseSpacing, LeadingAndTrailingPilesSwapWithTheSenseOfMovement) {
  pile(1, 0.0, 0.0);
  pile(2, 3.0, 0.0);  // ahead of pile 1 for a movement towards +Y
  for (double sign : {1.0, -1.0}) {
    SCOPED_TRACE(sign);
    CLOSE_SPACING_FACTORS_1(sign);
    EXPECT_NEAR(ClosePileFactors.p_factor_1(2), sign > 0 ? LEAD_AT_3 : TRAIL_AT_3, PUBLISHED);
    EXPECT_NEAR(ClosePileFactors.p_factor_1(1), sign > 0 ? TRAIL_AT_3 : LEAD_AT_3, PUBLISHED);
    EXPECT_EQ(ClosePileFactors.y_factor_1(1), 1.0);
    // Along Z the two piles stand side by side.
    CLOSE_SPACING_FACTORS_2(sign);
    EXPECT_NEAR(ClosePileFactors.p_factor_2(1), SIDE_AT_3, PUBLISHED);
    EXPECT_NEAR(ClosePileFactors.p_factor_2(2), SIDE_AT_3, PUBLISHED);
    EXPECT_EQ(ClosePileFactors.y_factor_2(2), 1.0);
  }
  EXPECT_EQ(PileTable.head_plan(2), 3.0 * D);
}

TEST_F(CloseSpacing, MiddlePileOfALineTakesTheProductOfItsNeighbours) {
  pile(1, -2.0, 0.0);
  pile(2, 0.0, 0.0);
  pile(3, 2.0, 0.0);
  double sign = 1.0;
  CLOSE_SPACING_FACTORS_2(sign);  // side by side: 0.8101 with each neighbour, 1 at 4 b
  EXPECT_NEAR(ClosePileFactors.p_factor_2(2), 0.6562, PUBLISHED);
  EXPECT_NEAR(ClosePileFactors.p_factor_2(1), 0.8101, PUBLISHED);
  EXPECT_NEAR(ClosePileFactors.p_factor_2(3), 0.8101, PUBLISHED);
}

// A 2D row of n identical piles stands across the plane, at 0, +s, -s, ...
// (odd n) or +s/2, -s/2, ... (even n); its factor is the mean over its piles.
TEST_F(CloseSpacing, RowsOfThePlaneModelTakeTheMeanOverTheirPiles) {
  RunOptions.dimension = 2;
  struct Case {
    const char* name;
    double n, spacing, expected;
  } cases[] = {
      {"three at 2 b", 3.0, 2.0, 0.7588},   // (0.6562 + 2 x 0.8101) / 3
      {"two at 3 b", 2.0, 3.0, SIDE_AT_3},  // at +-1.5 b
      {"four at 3 b", 4.0, 3.0, (2.0 * SIDE_AT_3 + 2.0 * SIDE_AT_3 * SIDE_AT_3) / 4.0},
      {"one pile", 1.0, 3.0, 1.0},
      {"no pile", 0.0, 3.0, 1.0},
  };
  for (const Case& c : cases) {
    pile(1, 0.0, 0.0);
    PileTable.n_identical(1) = c.n;
    PileTable.spacing(1) = c.spacing * D;
    pile(2, 40.0, 0.0);  // far along the movement, a single pile
    PileTable.head_plan(1) = -1.0;
    EXPECT_NEAR(factor_1(1.0), c.expected, 2 * PUBLISHED) << c.name;
    EXPECT_EQ(ClosePileFactors.p_factor_1(2), 1.0) << c.name;
    EXPECT_EQ(PileTable.head_plan(1), c.n >= 1.0 ? 0.0 : -1.0) << c.name;
  }
}

TEST_F(CloseSpacing, SpacingOverTheMeanOrThePileOneDiameter) {
  PileSection.diameter(1, 1) = 20.0;
  PileSection.diameter(2, 1) = 28.0;
  pile(1, 0.0, 0.0, 1);
  PileTable.head_z(1) = 0.0;
  pile(2, 0.0, 0.0, 2);
  PileTable.head_z(2) = 72.0;  // 3 mean diameters, 3.6 diameters of pile 1
  RunOptions.spacing_diameter_option = 1;
  EXPECT_NEAR(factor_1(1.0), SIDE_AT_3, PUBLISHED);
  RunOptions.spacing_diameter_option = 0;
  EXPECT_NEAR(factor_1(1.0), 0.64 * std::pow(3.6, 0.34), 1e-6);
}

TEST_F(CloseSpacing, PilesWithoutADiameterOrWithoutNeighboursAreNotReduced) {
  pile(1, 0.0, 0.0);
  EXPECT_EQ(factor_1(-1.0), 1.0);
  pile(2, 0.0, 1.0);
  PileSection.diameter(1, 1) = 0.0;
  EXPECT_EQ(factor_1(1.0), 1.0);
}

TEST_F(CloseSpacing, MorePilesThanTheTableHoldsLeaveTheFactorsAlone) {
  RunOptions.dimension = 2;
  pile(1, 0.0, 0.0);
  PileTable.n_identical(1) = MAX_INDIVIDUAL_PILES + 1;
  PileTable.spacing(1) = 3.0 * D;
  ClosePileFactors.p_factor_1(1) = 0.5;
  auto factors = std::make_unique<EntryFactors>();
  EXPECT_FALSE(CLOSE_SPACING_P_FACTORS(CLOSE_SPACING_AXIS_Y, 1.0, *factors));
  EXPECT_EQ(factor_1(1.0), 0.5);
}

TEST_F(CloseSpacing, DirectionsCombineElliptically) {
  pile(1, 0.0, 0.0);
  PileTable.p_factor_saved(1) = 0.7;
  PileTable.y_factor_saved(1) = 1.0;
  ClosePileFactors.p_factor_2(1) = 0.9;
  ClosePileFactors.y_factor_2(1) = 1.0;
  COMBINE_CLOSE_SPACING_FACTORS(3.0, 4.0);  // direction cosines 0.6 and 0.8
  EXPECT_NEAR(ClosePileFactors.p_factor_1(1), std::sqrt(0.42 * 0.42 + 0.72 * 0.72), 1e-12);
  EXPECT_NEAR(ClosePileFactors.y_factor_1(1), 1.0, 1e-12);
  COMBINE_CLOSE_SPACING_FACTORS(0.0, 0.0);  // no direction: along Y
  EXPECT_DOUBLE_EQ(ClosePileFactors.p_factor_1(1), 0.7);
}

}  // namespace
}  // namespace pilecap
