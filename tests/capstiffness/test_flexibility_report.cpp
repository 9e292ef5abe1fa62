// The stiffness report of a flexibility estimation, fed with flexibility
// columns written through the engine's own record writer: K = F^-1 at every
// level (hand inverses of dyadic matrices, which the file holds exactly, and
// F K = I for a full matrix), the diagonal form, the exact text of the 3D
// and 2D forms in English units, kips and SI, the columns without a value,
// a singular level, and files that are short or do not belong to the case.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/capstiffness/flexibility_fixture.hpp"

namespace pilecap {
namespace {

using testing::Record;

constexpr int REPORT = 1;
constexpr int FULL = 0;
constexpr int DIAGONAL = 1;
constexpr double FACTORS[3] = {0.5, 1.0, 2.0};

// A 3D flexibility at one level whose inverse is exact: F11 = 1/16, and the
// pairs (2, 6) and (3, 5) of a cap on piles that sway and rotate together.
// DOF 4 has no column (a marker record).
const std::vector<Record> DYADIC_3D = {{1, {0.0625, 0, 0, 0, 0, 0}},           {1, {0, 0.25, 0, 0, 0, 0.03125}},
                                       {1, {0, 0, 0.25, 0, -0.03125, 0}},      {-1, {0, 0, 0, 1, 0, 0}},
                                       {1, {0, 0, -0.03125, 0, 0.0078125, 0}}, {1, {0, 0.03125, 0, 0, 0, 0.0078125}}};

class FlexibilityReport : public testing::FlexibilityTest {
 protected:
  // Writes the columns, leaves the file open as the run loop does and runs
  // the report; returns the status word.
  int report(const std::vector<Record>& columns, int ndof, int levels, int diagonal_only, int flag = REPORT) {
    write_records(UNIT_FLEXIBILITY_COLUMNS, columns);
    fio::open(UNIT_FLEXIBILITY_COLUMNS, RunFiles.flexibility_columns_file, fio::Mode::Read);
    int status = 0;
    REPORT_FLEXIBILITY_STIFFNESS(flag, diagonal_only, levels, ndof, CAP_DOFS, FACTORS, status);
    return status;
  }

  // The matrices of the computation report's copies, one per level: rows
  // 1..n after the diagonal line.
  static std::vector<std::vector<std::vector<double>>> computation_matrices(int n) {
    std::vector<std::vector<std::vector<double>>> levels;
    std::istringstream in(text(UNIT_COMPUTATION_REPORT));
    std::string line;
    while (std::getline(in, line)) {
      if (line.find("N:") == std::string::npos) continue;
      std::getline(in, line);  // the diagonal
      std::vector<std::vector<double>> k(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n)));
      for (auto& row : k) {
        std::getline(in, line);
        std::istringstream values(line);
        int i = 0;
        values >> i;
        for (double& v : row) values >> v;
      }
      levels.push_back(k);
    }
    return levels;
  }
};

// A full, unsymmetric F of each level: F K must be the identity to the
// eight digits the computation report prints.
TEST_F(FlexibilityReport, StiffnessTimesFlexibilityIsTheIdentityAtEveryLevel) {
  for (int ndof : {3, 6}) {
    SetUp();
    SCOPED_TRACE(ndof);
    std::vector<std::vector<std::vector<double>>> f(3);
    std::vector<Record> columns;
    for (int d = 1; d <= ndof; ++d) {
      for (int level = 1; level <= 3; ++level) {
        Record r{level, std::vector<double>(static_cast<std::size_t>(ndof))};
        for (int i = 1; i <= ndof; ++i) {
          // Diagonally dominant, softening with the level, coupled both ways.
          r.values[i - 1] = i == d ? level * (1.0 + 0.25 * d) : 0.05 * (i + 2 * d) / (1.0 + level);
        }
        columns.push_back(r);
      }
    }
    ASSERT_EQ(report(columns, ndof, 3, FULL), 0);
    const auto k = computation_matrices(ndof);
    ASSERT_EQ(k.size(), 3u);
    for (int level = 1; level <= 3; ++level) {
      for (int i = 1; i <= ndof; ++i) {
        for (int j = 1; j <= ndof; ++j) {
          // (F K)(i, j) with F(i, d) the value i of DOF d's record of the level.
          double sum = 0.0;
          for (int d = 1; d <= ndof; ++d) {
            const double f_id = columns[static_cast<std::size_t>((d - 1) * 3 + level - 1)].values[i - 1];
            sum += f_id * k[level - 1][d - 1][j - 1];
          }
          EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-7) << "level " << level << " (" << i << ", " << j << ")";
        }
      }
    }
  }
}

TEST_F(FlexibilityReport, DiagonalFormTakesTheReciprocalOfEachDiagonalTerm) {
  const std::vector<Record> columns = {
      {1, {0.5, 0.125, 0.25}}, {1, {0.125, 0.25, 0.0625}}, {1, {0.25, 0.0625, 0.0625}}};
  ASSERT_EQ(report(columns, 3, 1, DIAGONAL), 0);
  const auto k = computation_matrices(3);
  ASSERT_EQ(k.size(), 1u);
  const std::vector<std::vector<double>> expected = {{2, 0, 0}, {0, 4, 0}, {0, 0, 16}};
  EXPECT_EQ(k[0], expected);
}

// Exact text: the units table and the level of the 3D full form, English
// pounds; the marked DOF 4 keeps a unit column and is named.
TEST_F(FlexibilityReport, Exact3DReportInPounds) {
  ASSERT_EQ(report(DYADIC_3D, 6, 1, FULL), 0);
  const std::string units =
      "\n"
      "    UNITS\n"
      "    DOF          1              2              3              4              5              6    \n"
      "      1       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
      "      2       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
      "      3       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
      "      4         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n"
      "      5         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n"
      "      6         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n";
  const std::string level =
      "\n"
      "       N:    1  FACTOR :    0.5000\n"
      "    DOF          1              2              3              4              5              6    \n"
      "      1        16.0000        0.00000        0.00000        0.00000        0.00000        0.00000 \n"
      "      2        0.00000        8.00000        0.00000        0.00000        0.00000       -32.0000 \n"
      "      3        0.00000        0.00000        8.00000        0.00000        32.0000        0.00000 \n"
      "      4        0.00000        0.00000        0.00000        1.00000        0.00000        0.00000 \n"
      "      5        0.00000        0.00000        32.0000        0.00000        256.000        0.00000 \n"
      "      6        0.00000       -32.0000        0.00000        0.00000        0.00000        256.000 \n";
  const std::string warning =
      "\n"
      "     WARNING : STIFFNESS VALUES FOR COMPONENT(S): K44  \n"
      "     WERE NOT ESTIMATED SINCE THERE WAS NO CONVERGENCE ON PILE CAP OR APPLIED FORCE AT CAP IS ZERO\n"
      "     VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)\n"
      "\n";
  const std::string title = "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n";
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), title + units + level + warning);
  EXPECT_EQ(text(UNIT_SUMMARY), title + units + level + warning);
  EXPECT_EQ(text(UNIT_COMPUTATION_REPORT),
            "     * PILE CAP STIFFNESS ESTIMATION *\n"
            "       N:    1  FACTOR :    0.5000\n"
            "                      16.0000000            8.00000000            8.00000000            1.00000000     "
            "       256.000000            256.000000     \n"
            "         1            16.0000000            0.00000000            0.00000000            0.00000000     "
            "       0.00000000            0.00000000     \n"
            "         2            0.00000000            8.00000000            0.00000000            0.00000000     "
            "       0.00000000           -32.0000000     \n"
            "         3            0.00000000            0.00000000            8.00000000            0.00000000     "
            "       32.0000000            0.00000000     \n"
            "         4            0.00000000            0.00000000            0.00000000            1.00000000     "
            "       0.00000000            0.00000000     \n"
            "         5            0.00000000            0.00000000            32.0000000            0.00000000     "
            "       256.000000            0.00000000     \n"
            "         6            0.00000000           -32.0000000            0.00000000            0.00000000     "
            "       0.00000000            256.000000     \n");
  EXPECT_EQ(text(UNIT_RUN_LOG), "     * PILE CAP STIFFNESS ESTIMATION *\n");
}

// Under kips every term is divided by 1000 but the unit column still reads
// 1.0; the 3D computation report shows it as computed. SI has its own labels.
TEST_F(FlexibilityReport, Exact3DDiagonalReportInKipsAndSi) {
  struct Case {
    const char* name;
    int sign, kips;
    const char* units_row;
    const char* values;
  };
  const Case cases[] = {
      {"kips", testing::LABELS_ENGLISH, 1,
       "              KIP/IN         KIP/IN         KIP/IN       KIP-IN/RAD     KIP-IN/RAD     KIP-IN/RAD\n",
       "             0.0160000    4.00000E-03    4.00000E-03        1.00000        0.12800        0.12800 \n"},
      {"si", testing::LABELS_SI, 0,
       "               KN/ M          KN/ M          KN/ M        KN- M/RAD      KN- M/RAD      KN- M/RAD\n",
       "               16.0000        4.00000        4.00000        1.00000        128.000        128.000 \n"},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.name);
    use_units(c.sign, c.kips);
    ASSERT_EQ(report(DYADIC_3D, 6, 1, DIAGONAL), 0);
    const std::string labels =
        "                K11            K22            K33            K44            K55            K66   \n";
    EXPECT_EQ(text(UNIT_RESULTS_REPORT), std::string("\n\n     * PILE CAP STIFFNESS ESTIMATION *\n\n    UNITS\n") +
                                             labels + c.units_row + "\n       N:    1  FACTOR :    0.5000\n" + labels +
                                             c.values +
                                             "\n     WARNING : STIFFNESS VALUES FOR COMPONENT(S): K44  \n"
                                             "     WERE NOT ESTIMATED SINCE THERE WAS NO CONVERGENCE ON PILE CAP OR "
                                             "APPLIED FORCE AT CAP IS ZERO\n"
                                             "     VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)\n\n");
    EXPECT_NE(text(UNIT_COMPUTATION_REPORT).find("            1.00000000            128.000000"), std::string::npos);
  }
}

// The 2D form: its own layouts, and its computation copy comes after the
// kip scaling of a unit column.
TEST_F(FlexibilityReport, Exact2DReportInKips) {
  use_units(testing::LABELS_ENGLISH, 1);
  ASSERT_EQ(report({{1, {0.0625, 0, 0}}, {1, {0, 0.25, 0.03125}}, {-1, {0, 0, 1}}}, 3, 1, FULL), 0);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT),
            "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n"
            "\n"
            "    UNITS\n"
            "      DOF             1                 2                 3         \n"
            "         1        KIP/IN            KIP/IN             KIP/RAD\n"
            "         2        KIP/IN            KIP/IN             KIP/RAD\n"
            "         3          KIP               KIP           KIP-IN/RAD\n"
            "\n"
            "       N:    1  FACTOR :    0.5000\n"
            "      DOF             1                 2                 3         \n"
            "         1         0.0160000           0.00000           0.00000     \n"
            "         2           0.00000       4.00000E-03           0.00000     \n"
            "         3           0.00000      -1.25000E-04           1.00000     \n"
            "\n"
            "     WARNING : STIFFNESS VALUES FOR COMPONENT(S): K33  \n"
            "     WERE NOT ESTIMATED SINCE THERE WAS NO CONVERGENCE ON PILE CAP OR APPLIED FORCE AT CAP IS ZERO\n"
            "     VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)\n"
            "\n");
  EXPECT_EQ(text(UNIT_COMPUTATION_REPORT),
            "     * PILE CAP STIFFNESS ESTIMATION *\n"
            "       N:    1  FACTOR :    0.5000\n"
            "                      16.0000000            4.00000000            1000.00000     \n"
            "         1            16.0000000            0.00000000            0.00000000     \n"
            "         2            0.00000000            4.00000000            0.00000000     \n"
            "         3            0.00000000           -0.12500000            1000.00000     \n");
}

// Regression: a column was taken for a marker when its own term was exactly
// 1.0; only the marked level number says that a column is missing.
TEST_F(FlexibilityReport, OnlyMarkedColumnsAreNamedInTheWarning) {
  const std::vector<Record> columns = {{1, {1.0, 0, 0}}, {-1, {0, 1.0, 0}}, {1, {0, 0, 0.5}}};
  ASSERT_EQ(report(columns, 3, 1, FULL), 0);
  const std::string results = text(UNIT_RESULTS_REPORT);
  EXPECT_NE(results.find("COMPONENT(S): K22  \n"), std::string::npos) << results;
  EXPECT_EQ(results.find("K11"), std::string::npos) << results;
}

TEST_F(FlexibilityReport, SingularLevelPrintsItsHeadingAndOneLine) {
  // Level 1 of DOF 2 has no flexibility: F is singular there only.
  const std::vector<Record> columns = {{1, {0.0625, 0, 0}},     {2, {0.0625, 0, 0}}, {1, {0, 0.0, 0.03125}},
                                       {2, {0, 0.25, 0.03125}}, {1, {0, 0, 0.5}},    {2, {0, 0, 0.5}}};
  ASSERT_EQ(report(columns, 3, 2, DIAGONAL), 0);
  const std::string singular = "     ** WARNING **  FLEXIBILITY MATRIX IS SINGULAR, NO STIFFNESS AT THIS LEVEL\n";
  EXPECT_NE(text(UNIT_RESULTS_REPORT)
                .find("\n       N:    1  FACTOR :    0.5000\n" + singular +
                      "\n       N:    2  FACTOR :    1.0000\n"
                      "                    K11               K22               K33        \n"
                      "                               16.0000           4.00000           2.00000     \n"),
            std::string::npos)
      << text(UNIT_RESULTS_REPORT);
  EXPECT_NE(text(UNIT_COMPUTATION_REPORT)
                .find("       N:    1  FACTOR :    0.5000\n" + singular + "       N:    2  FACTOR :    1.0000\n"),
            std::string::npos);
}

TEST_F(FlexibilityReport, WithoutTheReportFlagNothingIsTouched) {
  for (int flag : {0, 2}) {
    SetUp();
    int status = 0;
    OPEN_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, true, status);
    const double values[3] = {0.5, 0, 0};
    WRITE_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, 1, values, 3, status);
    REPORT_FLEXIBILITY_STIFFNESS(flag, FULL, 1, 3, CAP_DOFS, FACTORS, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fio::is_open(UNIT_FLEXIBILITY_COLUMNS)) << flag;
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_COMPUTATION_REPORT, UNIT_RUN_LOG}) {
      EXPECT_EQ(text(unit), "") << flag;
    }
  }
}

TEST_F(FlexibilityReport, NoLevelsPrintTheTitleAndTheUnitsOnly) {
  ASSERT_EQ(report({}, 3, 0, DIAGONAL), 0);
  EXPECT_FALSE(fio::is_open(UNIT_FLEXIBILITY_COLUMNS));
  EXPECT_EQ(text(UNIT_RESULTS_REPORT),
            "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n\n    UNITS\n"
            "                    K11               K22               K33        \n"
            "                  LBS/IN            LBS/IN          LBS-IN/RAD\n");
}

// A file that does not hold the case's NDOF x N records ends the run with
// the scratch-file status and the file's name, before a level is printed
// from a column it does not have.
TEST_F(FlexibilityReport, FileThatDoesNotHoldTheCaseEndsWithTheScratchStatus) {
  struct Case {
    const char* name;
    std::string contents;
  };
  const Case cases[] = {
      {"one record short", "    1  0.5 0 0\n    1  0 0.5 0\n"},
      {"a record short of values", "    1  0.5 0 0\n    1  0 0.5\n    1  0 0 0.5\n"},
      {"a value that does not read", "    1  0.5 0 0\n    1  0 X 0\n    1  0 0 0.5\n"},
      {"another level's record", "    1  0.5 0 0\n    2  0 0.5 0\n    1  0 0 0.5\n"},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.name);
    write_file(RunFiles.flexibility_columns_file, c.contents);
    int status = 0;
    REPORT_FLEXIBILITY_STIFFNESS(REPORT, FULL, 1, 3, CAP_DOFS, FACTORS, status);
    EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
    EXPECT_EQ(STATUS_DETAIL(), "    " + RunFiles.flexibility_columns_file);
    EXPECT_EQ(text(UNIT_RESULTS_REPORT).find("N:"), std::string::npos);
  }
}

}  // namespace
}  // namespace pilecap
