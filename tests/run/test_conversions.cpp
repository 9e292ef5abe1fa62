// Unit conversions (one factor at a time, switched by the unit system) and
// the small numeric routines.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

class ConversionTest : public testing::EngineTest {
 protected:
  void TearDown() override { RunOptions = RunOptionsRecord{}; }
  static void units(int system, int force_unit = 0) {
    RunOptions.units = system;
    RunOptions.force_unit = force_unit;
  }
};

TEST_F(ConversionTest, FactorsApplyOneAtATime) {
  units(UNITS_ENGLISH);
  // 0.1 * 12 * 12 rounds twice and differs from 0.1 * 144 in the last bit.
  EXPECT_EQ(SQ_INCHES_FROM_SQ_FEET(0.1), 14.400000000000002);
  EXPECT_NE(SQ_INCHES_FROM_SQ_FEET(0.1), 0.1 * 144);
  EXPECT_EQ(CU_INCHES_FROM_CU_FEET(0.9), 1555.2000000000003);
  units(UNITS_SI);
  EXPECT_EQ(MEGA_DIVIDE_SI(0.9), 9e-07);
  EXPECT_NE(MEGA_DIVIDE_SI(0.9), 0.9 / 1e6);
}

TEST_F(ConversionTest, SwitchedByTheUnitSystem) {
  struct Case {
    const char* name;
    double (*convert)(double);
    double x;
    double english;  // units 1, force unit 1
    double si;       // units 2
  };
  const std::vector<Case> cases = {
      {"FEET_FROM_INCHES", FEET_FROM_INCHES, 30.0, 2.5, 30.0},
      {"INCHES_FROM_FEET", INCHES_FROM_FEET, 2.5, 30.0, 2.5},
      {"KIPS_FROM_POUNDS", KIPS_FROM_POUNDS, 2500.0, 2.5, 2500.0},
      {"POUNDS_FROM_KIPS", POUNDS_FROM_KIPS, 2.5, 2500.0, 2.5},
      {"SQ_FEET_FROM_SQ_INCHES", SQ_FEET_FROM_SQ_INCHES, 288.0, 2.0, 288.0},
      {"CU_FEET_FROM_CU_INCHES", CU_FEET_FROM_CU_INCHES, 3456.0, 2.0, 3456.0},
      {"KILO_SCALE_SI", KILO_SCALE_SI, 0.5, 0.5, 500.0},
      {"MEGA_SCALE_SI", MEGA_SCALE_SI, 0.5, 0.5, 500000.0},
      {"TERA_SCALE_SI", TERA_SCALE_SI, 2.0, 2.0, 2e12},
      {"KILO_DIVIDE_SI", KILO_DIVIDE_SI, 500.0, 500.0, 0.5},
      {"TERA_DIVIDE_SI", TERA_DIVIDE_SI, 2e12, 2e12, 2.0},
  };
  for (const Case& c : cases) {
    units(UNITS_ENGLISH, FORCE_UNIT_KIPS);
    EXPECT_EQ(c.convert(c.x), c.english) << c.name;
    units(UNITS_SI, FORCE_UNIT_KIPS);
    EXPECT_EQ(c.convert(c.x), c.si) << c.name;
  }
  // Kips only with the kip option; feet under every system but SI.
  units(UNITS_ENGLISH, 0);
  EXPECT_EQ(KIPS_FROM_POUNDS(2500.0), 2500.0);
  units(0, FORCE_UNIT_KIPS);
  EXPECT_EQ(KIPS_FROM_POUNDS(2500.0), 2500.0);
  EXPECT_EQ(FEET_FROM_INCHES(30.0), 2.5);
}

TEST_F(ConversionTest, RoundTripsStayWithinOneRounding) {
  for (double x : {0.1, 0.9, 3.7, 1234.5678, 1e-9}) {
    units(UNITS_ENGLISH, FORCE_UNIT_KIPS);
    EXPECT_NEAR(SQ_FEET_FROM_SQ_INCHES(SQ_INCHES_FROM_SQ_FEET(x)), x, 4 * std::numeric_limits<double>::epsilon() * x);
    EXPECT_NEAR(FEET_FROM_INCHES(INCHES_FROM_FEET(x)), x, 2 * std::numeric_limits<double>::epsilon() * x);
    EXPECT_NEAR(KIPS_FROM_POUNDS(POUNDS_FROM_KIPS(x)), x, 2 * std::numeric_limits<double>::epsilon() * x);
    units(UNITS_SI);
    EXPECT_NEAR(TERA_DIVIDE_SI(TERA_SCALE_SI(x)), x, 8 * std::numeric_limits<double>::epsilon() * x);
  }
}

TEST(NumericRoutineTest, MatrixTimesVectorsInPlace) {
  double a[36];
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) a[(r - 1) + 6 * (c - 1)] = r == c ? 2.0 : (c == r + 1 ? 1.0 : 0.0);
  double b[12] = {1, 2, 3, 4, 5, 6, -1, 0, 1, 0, -1, 2};
  const double expected[12] = {4, 7, 10, 13, 16, 12, -2, 1, 2, -1, 0, 4};
  MAT6_TIMES_VECTORS(b, a, b, 2);  // in place
  for (int k = 0; k < 12; ++k) EXPECT_EQ(b[k], expected[k]) << k;
  MAT6_TIMES_VECTORS(b, a, b, 0);
  EXPECT_EQ(b[0], 4.0);
}

// The plane twin: a rotation by a quarter turn and a shear, applied to two
// columns at once, in place.
TEST(NumericRoutineTest, ThreeByThreeProductByColumns) {
  const double a[9] = {0, 1, 0, -1, 0, 0, 2, 0, 1};  // columns (0, 1, 0), (-1, 0, 0), (2, 0, 1)
  double b[6] = {1, 2, 3, -4, 5, 0.5};
  const double expected[6] = {-2 + 6, 1, 3, -5 + 1, -4, 0.5};
  MULTIPLY_3X3_BY_COLUMNS(b, a, b, 2);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(b[k], expected[k]) << k;
  MULTIPLY_3X3_BY_COLUMNS(b, a, b, 0);
  EXPECT_EQ(b[0], 4.0);
}

TEST(NumericRoutineTest, MinMaxAndFourthComponent) {
  double m = 3.0;
  UPDATE_MIN(m, 5.0);
  EXPECT_EQ(m, 3.0);
  UPDATE_MIN(m, -1.0);
  EXPECT_EQ(m, -1.0);
  UPDATE_MAX(m, 7.0);
  EXPECT_EQ(m, 7.0);
  const double only4[6] = {0, 0, 0, 5, 0, 0};
  const double also2[6] = {0, 1e-13, 0, 5, 0, 0};
  const double none[6] = {0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(ONLY_FOURTH_COMPONENT_NONZERO(only4));
  EXPECT_FALSE(ONLY_FOURTH_COMPONENT_NONZERO(also2));
  EXPECT_FALSE(ONLY_FOURTH_COMPONENT_NONZERO(none));
}

class NodeCoordinateTest : public testing::EngineTest {};

TEST_F(NodeCoordinateTest, ExtrapolatesAboveTheHead) {
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  ASSERT_EQ(status, 0);
  PileNodes.depth(3, 1) = 10.0;
  PileNodes.depth(3, 2) = 12.0;
  PileNodes.axial_x(3, 1) = 0.0;
  PileNodes.axial_x(3, 2) = 5.0;
  EXPECT_EQ(NODE_COORDINATE_AT(3, 0), 8.0);
  EXPECT_EQ(NODE_COORDINATE_AT(3, -1), 6.0);
  EXPECT_EQ(NODE_COORDINATE_AT(3, 2), 12.0);
  EXPECT_EQ(NODE_DEPTH_AT(3, -1), -10.0);
  RELEASE_MODEL_ARRAYS(status);
}

TEST(NumericRoutineTest, DifferenceStepsShrink) {
  const double big[6] = {1e6, 0, 0, 1e6, 0, 0};
  double step_t = 1e-7, step_r = 1e-11;
  SCALE_DIFFERENCE_STEPS(big, step_t, step_r, 0, 1);
  EXPECT_EQ(step_t, 1e-7 * double(1e-4f)) << "the first iterations shrink the translation step whatever the load";
  EXPECT_EQ(step_r, 1e-11);
  step_t = 1e-7;
  SCALE_DIFFERENCE_STEPS(big, step_t, step_r, 1, 1);
  EXPECT_EQ(step_t, 1e-7);
  const double small[6] = {1e-8, 0, 0, 0, 0, 1e-12};
  step_t = 1e-7;
  step_r = 1e-11;
  SCALE_DIFFERENCE_STEPS(small, step_t, step_r, 0, 3);
  EXPECT_EQ(step_t, 1e-7 * double(1e-4f));
  EXPECT_EQ(step_r, 1e-11 * double(0.01f));
  step_t = 1e-7;
  step_r = 1e-11;
  SCALE_DIFFERENCE_STEPS(big, step_t, step_r, 0, 3);
  EXPECT_EQ(step_t, 1e-7);
  EXPECT_EQ(step_r, 1e-11);
}

}  // namespace
}  // namespace pilecap
