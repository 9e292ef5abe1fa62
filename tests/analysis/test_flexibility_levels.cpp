// The levels of a DOF run of the flexibility estimation through the 3D cap
// solver on stand-in head springs: the flexibility column of a linear group
// is the column of the inverse of its tangent at rest; a level stopped
// below its load divides by the load it carried and says so in its result
// code; a level without a converged step is marked; a load below the limit
// keeps the displacements undivided; a file that refuses the records ends
// the run. Then the cases the points loop does not analyse yet.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/case_runs.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/dense_matrix.hpp"
#include "model/input_records.hpp"
#include "tests/cap/cap_fixture.hpp"

namespace pilecap {
namespace {

using testing::Springs;

// One record of a flexibility scratch file as read back.
struct Record {
  int level = 0;
  std::vector<double> values;
};

std::vector<Record> records(int unit) {
  std::vector<Record> out;
  std::istringstream in(fio::memory_contents(unit));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Record r;
    fields >> r.level;
    for (double v; fields >> v;) r.values.push_back(v);
    out.push_back(r);
  }
  return out;
}

class FlexibilityLevels : public testing::CapTest {
 protected:
  void SetUp() override {
    CapTest::SetUp();
    fio::open_memory(UNIT_FLEXIBILITY_COLUMNS);
    fio::open_memory(UNIT_DOF_RUN_STEPS);
    fio::open_memory(UNIT_SUMMARY);
    AnalysisControl.analysis_kind = ANALYSIS_KIND_CAP_FLEXIBILITY;
    DofRunMode.mode = DOF_RUN_LEVELS;
  }

  // Level k of DOF d at the load value p.
  static Outcome level(int d, int k, double p) {
    AnalysisControl.current_point = d;
    AnalysisControl.current_dof = k;
    double load[6] = {};
    load[d - 1] = p;
    return solve(load);
  }
};

// Three piles, one battered, on linear springs: every DOF couples with
// others, and the solution of a level is exact, so the column U / P must be
// column d of the inverse of the group's stiffness at rest, the negated
// tangent of the pile reactions.
TEST_F(FlexibilityLevels, ColumnOfALinearGroupIsTheInverseTangentColumn) {
  place_pile(1, -2.0, 1.0);
  place_pile(2, 2.0, 1.5);
  place_pile(3, 0.5, -2.0, 0.3);
  const double loads[6] = {500.0, 40.0, -30.0, 900.0, 700.0, -800.0};
  for (int d = 1; d <= 6; ++d) {
    const auto out = level(d, 1, loads[d - 1]);
    ASSERT_EQ(out.status, 0) << d;
  }
  double k[36], zero[6] = {}, du[6] = {};
  int status = 0, singular = 0;
  STIFF(k, zero, du, 1, 1, status);
  for (double& term : k) term = -term;
  INVERT_MATRIX(k, 6, 6, singular);
  ASSERT_EQ(singular, 0);

  const auto columns = records(UNIT_FLEXIBILITY_COLUMNS);
  const auto steps = records(UNIT_DOF_RUN_STEPS);
  ASSERT_EQ(columns.size(), 6u);
  ASSERT_EQ(steps.size(), 12u);
  for (int d = 1; d <= 6; ++d) {
    const Record& column = columns[static_cast<std::size_t>(d - 1)];
    const Record& first = steps[static_cast<std::size_t>(2 * d - 2)];
    const Record& second = steps[static_cast<std::size_t>(2 * d - 1)];
    EXPECT_EQ(column.level, 1);
    ASSERT_EQ(column.values.size(), 6u);
    EXPECT_EQ(first.values[0], loads[d - 1]);
    double size = 0.0;
    for (int i = 1; i <= 6; ++i) size = std::max(size, std::fabs(k[(i - 1) + 6 * (d - 1)]));
    for (int i = 1; i <= 6; ++i) {
      const double expected = k[(i - 1) + 6 * (d - 1)];
      EXPECT_NEAR(column.values[static_cast<std::size_t>(i - 1)], expected, 1e-7 * size) << d << ", " << i;
      EXPECT_EQ(second.values[static_cast<std::size_t>(i - 1)], column.values[static_cast<std::size_t>(i - 1)]);
      EXPECT_NEAR(first.values[static_cast<std::size_t>(i)], expected * loads[d - 1],
                  1e-7 * size * std::fabs(loads[d - 1]));
    }
  }
  EXPECT_EQ(count(result_codes(), "    1 ANALYSIS COMPLETED\n"), 6);
  EXPECT_EQ(AnalysisControl.first_run, 0) << "a level is not a run of the envelopes";
  EXPECT_EQ(results().find("TABLE L"), std::string::npos) << "a level prints no cap tables";
}

// Regression: a level abandoned at 62.5 % of its load was divided by the
// last load attempted (75 %) and reported as completed. Axial spring 100
// up to its capacity: the flexibility of the carried load is 1 / 100.
TEST_F(FlexibilityLevels, PartialLevelDividesByTheLoadCarried) {
  place_pile(1, 0, 0);
  Springs.capacity = 100.0;
  AnalysisControl.initial_step = 0.5;
  AnalysisControl.min_step = 0.1;
  const auto out = level(1, 3, 150.0);
  EXPECT_EQ(out.status, 0);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT    62.50 % OF THE TOTAL LOAD\n");
  const auto steps = records(UNIT_DOF_RUN_STEPS);
  const auto columns = records(UNIT_FLEXIBILITY_COLUMNS);
  ASSERT_EQ(steps.size(), 2u);
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_EQ(steps[0].level, 3);
  EXPECT_EQ(steps[0].values[0], 93.75);  // 150 x 0.625, not 150 x 0.75
  EXPECT_EQ(steps[0].values[1], 0.9375);
  EXPECT_EQ(steps[1].level, 3);
  EXPECT_EQ(columns[0].level, 3);
  for (const auto* ratios : {&steps[1].values, &columns[0].values}) {
    EXPECT_NEAR((*ratios)[0], 1.0 / Springs.axial, 1e-12);
    for (std::size_t i = 1; i < 6; ++i) EXPECT_NEAR((*ratios)[i], 0.0, 1e-12);
  }
}

TEST_F(FlexibilityLevels, LevelWithoutAConvergedStepIsMarked) {
  // An arctangent head converges too slowly for 5 iterations at any step.
  place_pile(1, 0, 0);
  Springs.capacity = 100.0;
  Springs.atan_scale = 1.0;
  AnalysisControl.max_iterations = 5;
  AnalysisControl.tolerance = 1e-10;
  AnalysisControl.min_step = 0.6;
  level(1, 2, 0.9 * 100.0 * 3.141592653589793 / 2);
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
  const auto steps = records(UNIT_DOF_RUN_STEPS);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].level, -2);
  EXPECT_EQ(steps[0].values, std::vector<double>(7, 0.0));
  EXPECT_EQ(steps[1].level, -2);
  EXPECT_EQ(steps[1].values, std::vector<double>(6, 0.0));
  const auto columns = records(UNIT_FLEXIBILITY_COLUMNS);
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_EQ(columns[0].level, -2);
  EXPECT_EQ(columns[0].values, (std::vector<double>{1, 0, 0, 0, 0, 0}));
}

TEST_F(FlexibilityLevels, LoadBelowTheLimitKeepsTheDisplacementsUndivided) {
  place_pile(1, 0, 0);
  level(1, 1, 5e-15);  // U = 5e-17 on the axial spring of 100
  const auto columns = records(UNIT_FLEXIBILITY_COLUMNS);
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_NEAR(columns[0].values[0], 5e-17, 1e-24);
  EXPECT_EQ(records(UNIT_DOF_RUN_STEPS)[1].values[0], columns[0].values[0]);
}

// A file that takes no record ends the run with the scratch-file status and
// the file's name; nothing after the failing record is written.
TEST_F(FlexibilityLevels, ColumnsFileThatRefusesItsRecordEndsTheRun) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no device that refuses writes";
  place_pile(1, 0, 0);
  RunFiles.flexibility_columns_file = "/dev/full";
  int status = 0;
  OPEN_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, true, status);
  ASSERT_EQ(status, 0);
  const auto out = level(1, 1, 100.0);
  EXPECT_EQ(out.status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    /dev/full");
  EXPECT_EQ(result_codes(), "");
  EXPECT_EQ(records(UNIT_DOF_RUN_STEPS).size(), 2u);
}

// The points loop: what it does not analyse yet, and a plate cap.
class EstimationPoints : public testing::CapTest {
 protected:
  void SetUp() override {
    CapTest::SetUp();
    fio::open_memory(UNIT_SUMMARY);
    fio::open_memory(UNIT_COMPUTATION_REPORT);
    AnalysisControl.analysis_kind = ANALYSIS_KIND_CAP_FLEXIBILITY;
    AnalysisControl.point_value_count = 2;
    AnalysisControl.point_count = CAP_DOFS + 1;
    RunFiles.flexibility_columns_file = scratch_.string() + ".columns";
  }
  void TearDown() override {
    std::filesystem::remove(RunFiles.flexibility_columns_file);
    CapTest::TearDown();
  }
  static int run_points() {
    RunVectors v;
    v.working_load(1) = 100.0;
    int status = 0;
    RUN_ESTIMATION_POINTS(1, v, status);
    return status;
  }
};

TEST_F(EstimationPoints, EstimationsWithPushoverPointsAreNotAnalysed) {
  struct Case {
    const char* name;
    int kind, pushover;
  };
  for (const Case& c : {Case{"stiffness with pushover", ANALYSIS_KIND_CAP_STIFFNESS, 1},
                        Case{"flexibility with pushover", ANALYSIS_KIND_CAP_FLEXIBILITY, 1}}) {
    SetUp();
    AnalysisControl.analysis_kind = c.kind;
    AnalysisControl.pushover_flag = c.pushover;
    EXPECT_EQ(run_points(), 0) << c.name;
    EXPECT_EQ(run_log(), "     NOTE: PUSHOVER POINTS OF AN ESTIMATION ARE NOT ANALYZED\n") << c.name;
    EXPECT_EQ(result_codes(), "     9 ANALYSIS NOT PERFORMED\n") << c.name;
    EXPECT_FALSE(std::filesystem::exists(RunFiles.flexibility_columns_file)) << c.name;
  }
}

// The plate model writes none of the level, point or pushover records the
// estimations read: such a case of a plate cap (analysed or exported) is
// refused alone, with its reason, and the analysis goes on (no status).
TEST_F(EstimationPoints, PlateCapRefusesTheCaseAloneWithItsReason) {
  struct Case {
    const char* name;
    int cap_model, kind, pushover;
  };
  const std::string note =
      "     NOTE: ESTIMATION AND PUSHOVER POINTS NEED A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT "
      "ANALYZED\n";
  for (const Case& c :
       {Case{"flexibility", 1, ANALYSIS_KIND_CAP_FLEXIBILITY, 0}, Case{"stiffness", 1, ANALYSIS_KIND_CAP_STIFFNESS, 0},
        Case{"pushover", 1, 0, 1}, Case{"flexibility of an exported plate", 2, ANALYSIS_KIND_CAP_FLEXIBILITY, 0}}) {
    SetUp();
    RunOptions.cap_model = c.cap_model;
    AnalysisControl.analysis_kind = c.kind;
    AnalysisControl.pushover_flag = c.pushover;
    EXPECT_EQ(run_points(), 0) << c.name;
    EXPECT_EQ(results(), note) << c.name;
    EXPECT_EQ(run_log(), note) << c.name;
    EXPECT_EQ(result_codes(), "     9 ANALYSIS NOT PERFORMED\n") << c.name;
    EXPECT_FALSE(std::filesystem::exists(RunFiles.flexibility_columns_file)) << c.name;
  }
}

}  // namespace
}  // namespace pilecap
