// The frame of a DOF run of the flexibility estimation: the heading and the
// skipped levels of a DOF without load (markers with negated level numbers,
// result code 5), and the tables read back from the DOF-run steps file as
// exact text, 3D and 2D, in kips and SI, with a level that found no
// solution; a steps file that does not hold the levels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/capstiffness/flexibility_fixture.hpp"

namespace pilecap {
namespace {

constexpr int DIMENSION_2D = 2;
constexpr int DIMENSION_3D = 3;

class DofRuns : public testing::FlexibilityTest {
 protected:
  // Writes the steps records as the solver does and prints the tables of dof.
  static int tables(const std::vector<testing::Record>& steps, int dof, int levels, int dimension, int& open) {
    write_records(UNIT_DOF_RUN_STEPS, steps);
    fio::open(UNIT_DOF_RUN_STEPS, RunFiles.dof_run_steps_file, fio::Mode::Read);
    open = 1;
    int status = 0;
    PRINT_DOF_RUN_TABLES(DOF_RUN_LEVELS, dof, levels, dimension, dimension == DIMENSION_2D ? 3 : 6, open, status);
    return status;
  }
};

TEST_F(DofRuns, DofWithoutLoadIsSkippedWithItsMarkersAndResultCodes) {
  int status = 0, skip = 0;
  OPEN_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, true, status);
  const double loads[6] = {100.0, 1e-13, 0, 0, 0, 0};
  START_FLEXIBILITY_DOF_RUN(DOF_RUN_LEVELS, 2, DIMENSION_3D, 2, 6, loads, skip, status);
  CLOSE_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(skip, 1);
  const std::string report =
      "\n     DOF   : 2 (FORCE Y)\n\n             DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO\n";
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), report);
  EXPECT_EQ(text(UNIT_SUMMARY), report);
  EXPECT_EQ(text(UNIT_COMPUTATION_REPORT),
            "     CAP FLEX., 2, FORCE Y\n"
            "        -1            0.00000000 \n"
            "        -2            0.00000000 \n");
  EXPECT_EQ(text(UNIT_RESULT_CODES),
            "      DOF :     2 POINT :     1\n"
            "    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\n"
            "      DOF :     2 POINT :     2\n"
            "    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\n");
  const std::string marker =
      "       0.0000000            1.0000000            0.0000000            0.0000000     "
      "       0.0000000            0.0000000       \n";
  EXPECT_EQ(read_file(RunFiles.flexibility_columns_file), "        -1" + marker + "        -2" + marker);
}

// Regression: a displacement below 1e-99, written "2.46160442-116" by the
// record layout, did not read back and ended a valid flexibility case with
// the scratch-file error. Records of values across the range of double, of
// either sign, read back within the eight digits the layout keeps.
TEST_F(DofRuns, RecordsReadBackAcrossTheRangeOfDouble) {
  const std::vector<double> magnitudes = {
      2.4616044217e-116, 1e-300, 1.5e-100, 9.99999999e-100, 1e-99, 0.0, 1.25, 1e99, 1e100, 1.234e300};
  for (const double magnitude : magnitudes) {
    for (const double sign : {1.0, -1.0}) {
      const double values[3] = {sign * magnitude, -sign * magnitude * 0.5, 1.0};
      int status = 0;
      OPEN_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, true, status);
      WRITE_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, 2, values, 3, status);
      CLOSE_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, status);
      OPEN_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, false, status);
      int level = 0;
      double back[3] = {};
      READ_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, 3, level, back, status);
      CLOSE_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, status);
      const std::string written = read_file(RunFiles.dof_run_steps_file);
      ASSERT_EQ(status, 0) << written;
      EXPECT_EQ(level, 2) << written;
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], values[k], 1e-8 * std::fabs(values[k])) << written;
    }
  }
}

TEST_F(DofRuns, LoadedDofIsRunWithItsHeadingOnly) {
  struct Case {
    int dof, dimension;
    const char* heading;
    const char* short_heading;
  };
  const Case cases[] = {
      {1, DIMENSION_3D, "DOF   : 1 (FORCE X)", "CAP FLEX., 1, FORCE X"},
      {3, DIMENSION_3D, "DOF   : 3 (FORCE Z)", "CAP FLEX., 3, FORCE Z"},
      {3, DIMENSION_2D, "DOF   : 3 (MOMENT Z)", "CAP FLEX., 3, MOMENT Z"},
      {5, DIMENSION_3D, "DOF   : 5 (MOMENT Y)", "CAP FLEX., 5, MOMENT Y"},
  };
  for (const Case& c : cases) {
    SetUp();
    int status = 0, skip = 1;
    const double loads[6] = {1e-12, 1e-12, -1e-12, 1e-12, 1e-12, 1e-12};  // at the limit: run
    START_FLEXIBILITY_DOF_RUN(DOF_RUN_LEVELS, c.dof, c.dimension, 3, c.dimension == DIMENSION_2D ? 3 : 6, loads, skip,
                              status);
    EXPECT_EQ(skip, 0) << c.heading;
    EXPECT_EQ(text(UNIT_RESULTS_REPORT), std::string("\n     ") + c.heading + "\n");
    EXPECT_EQ(text(UNIT_COMPUTATION_REPORT), std::string("     ") + c.short_heading + "\n");
    EXPECT_EQ(text(UNIT_RESULT_CODES), "");
  }
}

// Level 2 found no solution. Under kips the force is printed in kips and
// the coefficients per kip; the computation report keeps pounds.
TEST_F(DofRuns, Exact3DTablesInKips) {
  use_units(testing::LABELS_ENGLISH, 1);
  int open = 0;
  ASSERT_EQ(tables({{1, {2000, 0.5, 0.25, 0, 0, 0, 0.125}},
                    {1, {0.00025, 0.000125, 0, 0, 0, 0.0000625}},
                    {-2, {0, 0, 0, 0, 0, 0, 0}},
                    {-2, {0, 0, 0, 0, 0, 0}},
                    {3, {8000, 1, 2, 0, 0, 0, 0.5}},
                    {3, {0.000125, 0.00025, 0, 0, 0, 0.0000625}}},
                   2, 3, DIMENSION_3D, open),
            0);
  EXPECT_EQ(open, 0);
  EXPECT_FALSE(fio::is_open(UNIT_DOF_RUN_STEPS));
  const std::string coefficients =
      "\n"
      "         N         S12            S22            S32            S42            S52            S62   \n"
      "                IN/KIP         IN/KIP         IN/KIP        RAD/KIP        RAD/KIP        RAD/KIP\n"
      "         1        0.25000        0.12500        0.00000        0.00000        0.00000      0.0625000 \n"
      "         2     NO CONVERGENCE ON PILE CAP\n"
      "         3        0.12500        0.25000        0.00000        0.00000        0.00000      0.0625000 \n";
  EXPECT_EQ(text(UNIT_RESULTS_REPORT),
            "\n"
            "         N     FORCE,KIP \n"
            "               DISP X,IN      DISP Y,IN      DISP Z,IN      ROT X,RAD      ROT Y,RAD      ROT Z,RAD\n"
            "         1        2.00000 \n"
            "                  0.50000        0.25000        0.00000        0.00000        0.00000        0.12500 \n"
            "         2     NO CONVERGENCE ON PILE CAP\n"
            "         3        8.00000 \n"
            "                  1.00000        2.00000        0.00000        0.00000        0.00000        0.50000 \n" +
                coefficients);
  EXPECT_EQ(text(UNIT_SUMMARY), coefficients);
  EXPECT_EQ(text(UNIT_COMPUTATION_REPORT),
            "         1            2000.00000            0.25000000            0.50000000            0.25000000     "
            "       0.00000000            0.00000000            0.00000000            0.12500000     \n"
            "        -2            0.00000000            0.00000000            0.00000000            0.00000000     "
            "       0.00000000            0.00000000            0.00000000            0.00000000     \n"
            "         3            8000.00000            2.00000000            1.00000000            2.00000000     "
            "       0.00000000            0.00000000            0.00000000            0.50000000     \n");
}

TEST_F(DofRuns, Exact3DMomentHeadingsInPounds) {
  int open = 0;
  ASSERT_EQ(tables({{1, {2000, 0.5, 0.25, 0, 0, 0, 0.125}}, {1, {0.00025, 0.000125, 0, 0, 0, 0.0000625}}}, 6, 1,
                   DIMENSION_3D, open),
            0);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT),
            "\n"
            "         N  MOMENT,LBS-IN\n"
            "               DISP X,IN      DISP Y,IN      DISP Z,IN      ROT X,RAD      ROT Y,RAD      ROT Z,RAD\n"
            "         1        2000.00 \n"
            "                  0.50000        0.25000        0.00000        0.00000        0.00000        0.12500 \n"
            "\n"
            "         N         S16            S26            S36            S46            S56            S66   \n"
            "              IN/IN-LBS      IN/IN-LBS      IN/IN-LBS      RAD/IN-LBS     RAD/IN-LBS     RAD/IN-LBS\n"
            "         1    2.50000E-04    1.25000E-04        0.00000        0.00000        0.00000    6.25000E-05 \n");
}

TEST_F(DofRuns, Exact2DTablesInSi) {
  use_units(testing::LABELS_SI, 0);
  const std::vector<testing::Record> steps = {
      {1, {20, 0.5, 0.25, 0.125}}, {1, {0.025, 0.0125, 0.00625}}, {-2, {0, 0, 0, 0}}, {-2, {0, 0, 0}}};
  const std::string rows_tail = "         2     NO CONVERGENCE ON PILE CAP\n";
  struct Case {
    int dof;
    const char* levels_heading;
    const char* coefficients_heading;
  };
  const Case cases[] = {
      {3, "         N     MOMENT, KN- M   VERT. DISP, M    HOR. DISP Y, M    ROTATION Z,RAD\n",
       "         N           S13               S23               S33      \n"
       "                    M/ M- KN          M/ M- KN        RAD/ M- KN        \n"},
      {1, "         N       FORCE, KN     VERT. DISP, M    HOR. DISP Y, M    ROTATION Z,RAD\n",
       "         N           S11               S21               S31      \n"
       "                     M/ KN             M/ KN           RAD/ KN       \n"},
  };
  for (const Case& c : cases) {
    SetUp();
    use_units(testing::LABELS_SI, 0);
    int open = 0;
    ASSERT_EQ(tables(steps, c.dof, 2, DIMENSION_2D, open), 0);
    const std::string coefficients = std::string("\n") + c.coefficients_heading +
                                     "         1            0.0250000         0.0125000       6.25000E-03     \n" +
                                     rows_tail;
    EXPECT_EQ(text(UNIT_RESULTS_REPORT),
              std::string("\n") + c.levels_heading +
                  "         1              20.0000 \n"
                  "                                    0.50000           0.25000           0.12500     \n" +
                  rows_tail + coefficients)
        << c.dof;
    EXPECT_EQ(text(UNIT_SUMMARY), coefficients);
  }
}

TEST_F(DofRuns, OtherRunsPrintNothing) {
  int open = 1, status = 0;
  PRINT_DOF_RUN_TABLES(DOF_RUN_NONE, 1, 3, DIMENSION_3D, 6, open, status);
  EXPECT_EQ(open, 1);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), "");
}

// The steps file must hold two records per level, numbered 1..N (negated
// for a failed level); anything else is a damaged file, not a table.
TEST_F(DofRuns, StepsFileThatDoesNotHoldTheLevelsEndsWithTheScratchStatus) {
  struct Case {
    const char* name;
    std::string contents;
  };
  const Case cases[] = {
      {"second record missing", "    1  10 0.1 0.2 0.3\n"},
      {"first record short", "    1  10 0.1 0.2\n    1  0.01 0.02 0.03\n"},
      {"levels out of order", "    2  10 0.1 0.2 0.3\n    2  0.01 0.02 0.03\n"},
      {"empty file", ""},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.name);
    write_file(RunFiles.dof_run_steps_file, c.contents);
    fio::open(UNIT_DOF_RUN_STEPS, RunFiles.dof_run_steps_file, fio::Mode::Read);
    int open = 1, status = 0;
    PRINT_DOF_RUN_TABLES(DOF_RUN_LEVELS, 1, 1, DIMENSION_2D, 3, open, status);
    EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
    EXPECT_EQ(STATUS_DETAIL(), "    " + RunFiles.dof_run_steps_file);
    EXPECT_EQ(open, fio::is_open(UNIT_DOF_RUN_STEPS) ? 1 : 0);
  }
}

TEST_F(DofRuns, StepsFileThatCannotBeReopenedEndsWithTheScratchStatus) {
  RunFiles.dof_run_steps_file = (folder_ / "missing" / "steps.txt").string();
  int open = 1, status = 0;
  PRINT_DOF_RUN_TABLES(DOF_RUN_LEVELS, 1, 1, DIMENSION_3D, 6, open, status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(open, 0);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), "");
}

}  // namespace
}  // namespace pilecap
