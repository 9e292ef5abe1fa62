// Loads and soil movements along the piles: set values at the stations,
// pile ranges, the trapezoidal axial resultant of a global load on a battered
// pile and its force at the cap origin, the 3D projection (the lateral part
// is what remains of the global load once its axial share is removed),
// combination factors, and the scale, save and load-fraction operations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

constexpr int N_PILES = 9;
constexpr int INCREMENTS = 10;
constexpr double LENGTH = 10.0;  // stations every 1.0

class PileLoadsTest : public testing::ModelRecordsTest {
 protected:
  void SetUp() override {
    testing::ModelRecordsTest::SetUp();
    RunOptions.dimension = MODEL_2D;
    PileTable.n_piles = N_PILES;
    PileProperty.n_increments(1) = INCREMENTS;
    PileProperty.length(1) = LENGTH;
    for (int p = 1; p <= N_PILES; ++p) PileTable.prop(p) = 1;
    LoadCase.count = 2;
    LoadCase.scale_factor(1) = 1.0;
    LoadCase.scale_factor(2) = 1.0;
  }
  void TearDown() override {
    testing::ModelRecordsTest::TearDown();
    PileTable.n_piles = 0;
    PileProperty = PilePropertyRecord{};
  }
  // A load (or movement) set of points (distance, value).
  static int add_set(LoadSetHalf& half, const std::vector<std::array<double, 2>>& points) {
    const int s = ++half.count;
    half.num_points(s) = static_cast<int>(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
      half.depth(s, static_cast<int>(k) + 1) = points[k][0];
      half.value(s, static_cast<int>(k) + 1) = points[k][1];
    }
    return s;
  }
  // A distributed-load entry of case c.
  static void add_entry(int c, int axis, int first, int last, int step, int set_y, double factor_y, int set_z = 0,
                        double factor_z = 0.0) {
    const int j = ++LoadCase.num_dist_loads(c);
    auto& a = LoadAssignment.distributed;
    a.AXIS(c, j) = axis;
    a.INI_PILE(c, j) = first;
    a.END_PILE(c, j) = last;
    a.INC_PILE(c, j) = step;
    a.SET_Y(c, j) = set_y;
    a.FACTOR_Y(c, j) = factor_y;
    a.SET_Z(c, j) = set_z;
    a.FACTOR_Z(c, j) = factor_z;
  }
  static std::vector<int> loaded_piles() {
    std::vector<int> piles;
    for (int p = 1; p <= N_PILES; ++p) {
      if (PileLoadProfile.load_count(p) > 0) piles.push_back(p);
    }
    return piles;
  }
};

TEST_F(PileLoadsTest, SetValuesAtTheStations) {
  const int s = add_set(LoadSetTable.loads, {{2.0, 10.0}, {4.0, 30.0}, {6.0, 20.0}});
  add_entry(1, 0, 1, 0, 1, s, 1.0);
  CASE_DISTRIBUTED_LOADS(1);
  ASSERT_EQ(PileLoadProfile.load_count(1), INCREMENTS + 1);
  const double expected[INCREMENTS + 1] = {0, 0, 10, 20, 30, 25, 20, 0, 0, 0, 0};
  for (int k = 1; k <= INCREMENTS + 1; ++k) {
    EXPECT_DOUBLE_EQ(PileLoadProfile.load_depth(1, k), k - 1.0);
    EXPECT_DOUBLE_EQ(PileLoadProfile.load_y(1, k), expected[k - 1]) << "station " << k;
  }
  EXPECT_EQ(LOAD_SET_VALUE(false, s, 2.0 + 5e-9), 10.0) << "within 1e-8 of an end: the end value";
  EXPECT_EQ(LOAD_SET_VALUE(false, 0, 3.0), 0.0);
  EXPECT_EQ(LOAD_SET_VALUE(false, s + 1, 3.0), 0.0) << "a set beyond the table gives 0";
}

TEST_F(PileLoadsTest, PileRanges) {
  struct Range {
    int first, last, step;
    std::vector<int> piles;
  };
  const Range table[] = {
      {3, 0, 1, {3}},
      {2, 8, 0, {2, 8}},
      {8, 2, 3, {2, 5, 8}},
      {4, 4, 0, {4}},
      {2, 6, -2, {2, 4, 6}},  // a negative step walks the range as its magnitude
      // Steps whose magnitude or sum with a pile number is beyond int (a
      // regression: negated or added without a bound) take the first pile.
      {2, 6, std::numeric_limits<int>::min(), {2}},
      {2, 6, std::numeric_limits<int>::max(), {2}},
  };
  const int s = add_set(LoadSetTable.loads, {{0.0, 1.0}, {10.0, 1.0}});
  for (const Range& r : table) {
    LoadCase.num_dist_loads(1) = 0;
    add_entry(1, 0, r.first, r.last, r.step, s, 1.0);
    CASE_DISTRIBUTED_LOADS(1);
    EXPECT_EQ(loaded_piles(), r.piles) << r.first << " " << r.last << " " << r.step;
  }
}

TEST_F(PileLoadsTest, TrapezoidAxialResultantOfAGlobalLoadOnABatteredPile) {
  const double batter = 0.3;
  const double scale = 2.0;
  const double factor = 1.5;
  PileTable.batter(2) = batter;
  PileTable.head_x(2) = 1.25;
  PileTable.head_y(2) = -4.0;
  // A row of three identical piles: each pile's axial share goes to the cap.
  const double piles = 3.0;
  PileTable.n_identical(2) = piles;
  LoadCase.scale_factor(1) = scale;
  LoadCase.axial_as_head_load(1) = 1;
  const double w_head = 3.0;
  const double w_tip = 7.0;
  const int s = add_set(LoadSetTable.loads, {{0.0, w_head}, {LENGTH, w_tip}});
  add_entry(1, 1, 2, 0, 1, s, factor);
  CASE_DISTRIBUTED_LOADS(1);
  // A linear load: the trapezoid rule is exact, R = mean load x length x sin b.
  const double resultant = 0.5 * (w_head + w_tip) * LENGTH * scale * factor * std::sin(batter);
  EXPECT_NEAR(PileLoadProfile.axial_resultant(2), resultant, 1e-12 * resultant);
  EXPECT_NEAR(PileLoadProfile.load_y(2, 1), w_head * scale * factor * std::cos(batter), 1e-12);
  double cap[6] = {1, 0, 0, 0, 0, 0};
  DISTRIBUTED_LOAD_RESULTANT(cap);
  const double row = piles * resultant;
  EXPECT_NEAR(cap[0], 1.0 + row * std::cos(batter), 1e-12 * row);
  EXPECT_NEAR(cap[1], row * std::sin(batter), 1e-12 * row);
  EXPECT_NEAR(cap[5], row * std::sin(batter) * 1.25 + row * std::cos(batter) * 4.0, 1e-11 * row);
  EXPECT_EQ(cap[2], 0.0);

  // Without the head-load switch the cap gains nothing.
  LoadCase.axial_as_head_load(1) = 0;
  CASE_DISTRIBUTED_LOADS(1);
  double untouched[6] = {};
  DISTRIBUTED_LOAD_RESULTANT(untouched);
  EXPECT_EQ(untouched[0], 0.0);
}

TEST_F(PileLoadsTest, GlobalLoadInSpaceSplitsIntoAxialAndLateralParts) {
  RunOptions.dimension = MODEL_3D;
  PileTable.alpha(1) = 0.4;
  PileTable.beta(1) = 1.1;
  PileTable.theta(1) = 0.7;
  LoadCase.axial_as_head_load(1) = 1;
  const double vy = 5.0;
  const double vz = -2.0;
  const int set_y = add_set(LoadSetTable.loads, {{0.0, vy}, {LENGTH, vy}});
  const int set_z = add_set(LoadSetTable.loads, {{0.0, vz}, {LENGTH, vz}});
  add_entry(1, 1, 1, 0, 1, set_y, 1.0, set_z, 1.0);
  CASE_DISTRIBUTED_LOADS(1);
  // Unit vector of the pile axis in (X, Y, Z), as the cap resultant uses it.
  const double alpha = 0.4, beta = 1.1;
  const double axis[3] = {std::sin(beta), std::cos(beta) * std::cos(alpha), std::cos(beta) * std::sin(alpha)};
  const double axial = vy * axis[1] + vz * axis[2];
  const double lateral_squared = vy * vy + vz * vz - axial * axial;
  for (int k = 1; k <= INCREMENTS + 1; ++k) {
    const double y = PileLoadProfile.load_y(1, k);
    const double z = PileLoadProfile.load_z(1, k);
    EXPECT_NEAR(y * y + z * z, lateral_squared, 1e-12 * (vy * vy + vz * vz)) << k;
  }
  EXPECT_NEAR(PileLoadProfile.axial_resultant(1), axial * LENGTH, 1e-12 * LENGTH * 10);
  double cap[6] = {};
  DISTRIBUTED_LOAD_RESULTANT(cap);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(cap[k], axial * LENGTH * axis[k], 1e-11);
}

TEST_F(PileLoadsTest, CombinationAddsFactoredMemberCases) {
  LoadCase.scale_factor(1) = 2.0;
  LoadCase.scale_factor(2) = 4.0;
  const int s1 = add_set(LoadSetTable.loads, {{0.0, 1.0}, {LENGTH, 11.0}});
  const int s2 = add_set(LoadSetTable.loads, {{0.0, 3.0}, {LENGTH, 3.0}});
  add_entry(1, 0, 5, 0, 1, s1, 1.0);
  add_entry(2, 0, 5, 0, 1, s2, 1.0);
  LoadCombination.count = 1;
  LoadCombination.member_count(1) = 2;
  LoadCombination.member_case(1, 1) = 1;
  LoadCombination.member_factor(1, 1) = 1.5;
  LoadCombination.member_case(1, 2) = 2;
  LoadCombination.member_factor(1, 2) = 0.5;
  COMB_DISTRIBUTED_LOADS(1);
  for (int k = 1; k <= INCREMENTS + 1; ++k) {
    EXPECT_DOUBLE_EQ(PileLoadProfile.load_y(5, k), 1.5 * 2.0 * (1.0 + (k - 1)) + 0.5 * 4.0 * 3.0) << k;
  }
}

TEST_F(PileLoadsTest, MovementAxisCodesAreTheReverseOfTheLoadCodes) {
  PileTable.batter(1) = 0.5;
  const int s = add_set(LoadSetTable.movements, {{0.0, 2.0}, {LENGTH, 2.0}});
  const int j = ++LoadCase.num_soil_moves(1);
  auto& a = LoadAssignment.soil_movement;
  a.AXIS(1, j) = 1;  // local for a movement
  a.INI_PILE(1, j) = 1;
  a.INC_PILE(1, j) = 1;
  a.SET_Y(1, j) = s;
  a.FACTOR_Y(1, j) = 1.0;
  CASE_SOIL_MOVEMENTS(1);
  EXPECT_EQ(PileLoadProfile.move_y(1, 3), 2.0);
  a.AXIS(1, j) = 0;  // global
  CASE_SOIL_MOVEMENTS(1);
  EXPECT_DOUBLE_EQ(PileLoadProfile.move_y(1, 3), 2.0 * std::cos(0.5));
}

TEST_F(PileLoadsTest, SaveScaleAndLoadFractionRestore) {
  const int s = add_set(LoadSetTable.loads, {{0.0, 1.0}, {LENGTH, 6.0}});
  add_entry(1, 0, 1, 3, 1, s, 1.0);
  CASE_DISTRIBUTED_LOADS(1);
  std::vector<double> original;
  for (int k = 1; k <= INCREMENTS + 1; ++k) original.push_back(PileLoadProfile.load_y(3, k));
  SAVE_DISTRIBUTED_LOADS();
  APPLY_LOAD_FRACTION_LOADS(0.3);
  for (int k = 1; k <= INCREMENTS + 1; ++k) EXPECT_EQ(PileLoadProfile.load_y(3, k), original[k - 1] * 0.3);
  APPLY_LOAD_FRACTION_LOADS(1.0);
  for (int k = 1; k <= INCREMENTS + 1; ++k) EXPECT_EQ(PileLoadProfile.load_y(3, k), original[k - 1]);
  SCALE_DISTRIBUTED_LOADS(2.5);
  for (int k = 1; k <= INCREMENTS + 1; ++k) EXPECT_EQ(PileLoadProfile.load_y(3, k), original[k - 1] * 2.5);

  // Movement stations that are all zero do not count as moving soil.
  const int m = add_set(LoadSetTable.movements, {{0.0, 0.0}, {LENGTH, 0.0}});
  const int j = ++LoadCase.num_soil_moves(1);
  LoadAssignment.soil_movement.INI_PILE(1, j) = 2;
  LoadAssignment.soil_movement.SET_Y(1, j) = m;
  LoadAssignment.soil_movement.FACTOR_Y(1, j) = 1.0;
  CASE_SOIL_MOVEMENTS(1);
  ASSERT_EQ(PileLoadProfile.move_count(2), INCREMENTS + 1);
  int moving = -1;
  SAVE_SOIL_MOVEMENTS(moving);
  EXPECT_EQ(moving, 0);
  PileLoadProfile.move_y(2, 4) = -0.01;
  SAVE_SOIL_MOVEMENTS(moving);
  EXPECT_EQ(moving, 1);
  APPLY_LOAD_FRACTION_MOVEMENTS(0.5);
  EXPECT_EQ(PileLoadProfile.move_y(2, 4), -0.005);
  SCALE_SOIL_MOVEMENTS(4.0);
  EXPECT_EQ(PileLoadProfile.move_y(2, 4), -0.02);
}

TEST_F(PileLoadsTest, MovementProfileScaledByTheCaseOrKeptForACombination) {
  SoilMovementProfile.count = 2;
  SoilMovementProfile.read_move_y(1) = 0.5;
  SoilMovementProfile.read_move_z(2) = -1.5;
  LoadCase.scale_factor(2) = 3.0;
  SCALE_MOVEMENT_PROFILE(2);
  EXPECT_EQ(SoilMovementProfile.scaled_move_y(1), 1.5);
  EXPECT_EQ(SoilMovementProfile.scaled_move_z(2), -4.5);
  SCALE_MOVEMENT_PROFILE(0);
  EXPECT_EQ(SoilMovementProfile.scaled_move_y(1), 0.5);
  EXPECT_EQ(SoilMovementProfile.scaled_move_z(2), -1.5);
}

}  // namespace
}  // namespace pilecap
