// The per-pile results writer of the plane model through its outputs: the
// scratch records with three values (the stress fourth), the pile-top
// tables of the results report, the six summary tables in the plane with
// their closing rows, the cap envelope, identical files on one and two
// threads, a scratch file that cannot be opened and a model without piles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "results_fixture.hpp"
#include "summary/summary.hpp"

namespace pilecap::testing {
namespace {

double ramp(int p, int k, int q) { return p * 100.0 + k * 10.0 + q * 0.5; }

class PileWriter2DTest : public ResultsTest {
 protected:
  void SetUp() override {
    ResultsTest::SetUp();
    RunOptions.dimension = 2;
    int dimension = 2;
    SET_RESULT_COLUMN_HEADINGS(dimension);
  }
  void two_rows_of_a_run() {
    set_pile(1, 1, 2, 1.5, ramp);
    set_pile(2, 1, 2, 1.5, ramp);
    show_all_columns();
    AnalysisControl.current_run = 1;
    AnalysisControl.output_option = 2;
    AnalysisControl.output_count = 1;
  }
  static std::string after(const std::string& text, const std::string& start, std::size_t length) {
    const auto at = text.find(start);
    return at == std::string::npos ? std::string() : text.substr(at, length);
  }
};

TEST_F(PileWriter2DTest, ScratchRecordsCarryThreeValuesAndTheStressFourth) {
  two_rows_of_a_run();
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  const std::string scratch = scratch_text();
  // Pile 1: global X, Y and rotation; forces X, Y, moment and the stress
  // (column 7); then the local values with the global stress. A record
  // ends with the two blanks after its last value.
  EXPECT_EQ(scratch.substr(0, scratch.find("\n        1 ")),
            "          1        11.000        12.000        13.000      \n"
            "          1        14.000        15.000        16.000        17.000      \n"
            "          1       -11.000       -12.000       -13.000      \n"
            "          1       -14.000       -15.000       -16.000        17.000      ");
  EXPECT_EQ(std::count(scratch.begin(), scratch.end(), '\n'), 16);
}

TEST_F(PileWriter2DTest, PileTopTablesShowTheRowsPlaneValues) {
  two_rows_of_a_run();
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  const std::string results = unit_text(UNIT_RESULTS_REPORT);
  const std::string expected =
      "       * PILE GROUP *     1\n"
      "\n"
      "\n"
      "        * PILE TOP DISPLACEMENTS AND REACTIONS *\n"
      "\n"
      "\n"
      "       THE GLOBAL STRUCTURAL COORDINATE SYSTEM\n"
      "       ---------------------------------------\n"
      "\n"
      "        DISP.X, M   DISP.Y, M     SLOPE     FOR.X, KN   FOR.Y, KN   BM, KN- M   STRESS, KN/ M**2\n"
      "\n"
      "            11.000      12.000      13.000      14.000      15.000      16.000          17.000 \n"
      "\n"
      "\n"
      "       THE PILE COORDINATE SYSTEM (LOCAL AXES)\n"
      "       ---------------------------------------\n"
      "\n"
      "        DISP.x, M   DISP.y, M     SLOPE     AXIAL, KN    LAT, KN    BM, KN- M   STRESS, KN/ M**2\n"
      "\n"
      "           -11.000     -12.000     -13.000     -14.000     -15.000     -16.000          17.000 \n"
      "\n"
      "\n"
      "        * EFFECTS FOR LATERALLY LOADED PILE *   \n"
      "\n";
  EXPECT_EQ(after(results, "       * PILE GROUP *     1", expected.size()), expected);
  // The computation report's block: three displacements, three reactions, the stress.
  EXPECT_NE(unit_text(UNIT_COMPUTATION_REPORT)
                .find("* PILE GROUP *     1\n       * PILE TOP DISP. AND REACT. GLOBAL\n"
                      "          11.0000000       12.0000000       13.0000000            14.0000000       15.0000000"
                      "       16.0000000       17.0000000 \n"),
            std::string::npos);
}

TEST_F(PileWriter2DTest, SummaryTablesInThePlaneEndWithTheirExtremes) {
  two_rows_of_a_run();
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  const std::string summary = unit_text(UNIT_SUMMARY);
  const std::string global_tables =
      "\n\n       THE GLOBAL STRUCTURAL COORDINATE SYSTEM\n"
      "       ---------------------------------------\n"
      "\n"
      "       * PILE TOP DISPLACEMENTS *\n"
      "\n"
      "       PILE GROUP  DISP. X, M   DISP. Y, M   ROT. Z,RAD  \n"
      "       **********  ***********  ***********  ***********\n"
      "            1           11.000       12.000       13.000   \n"
      "            2           21.000       22.000       23.000   \n"
      "\n"
      "         MINIMUM        11.000       12.000       13.000   \n"
      "         Pile G.        1            1            1       \n"
      "         MAXIMUM        21.000       22.000       23.000   \n"
      "         Pile G.        2            2            2       \n"
      "\n"
      "       * PILE TOP REACTIONS *\n"
      "\n"
      "       PILE GROUP  FOR. X, KN   FOR. Y, KN   MOM Z, KN- M  STRESS, KN/ M**2\n"
      "       **********  ***********  ***********  ************  ****************\n"
      "            1           14.000       15.000       16.000       17.000   \n"
      "            2           24.000       25.000       26.000       27.000   \n"
      "\n"
      "         MINIMUM        14.000       15.000       16.000       17.000   \n"
      "         Pile G.        1            1            1            1       \n"
      "         MAXIMUM        24.000       25.000       26.000       27.000   \n"
      "         Pile G.        2            2            2            2       \n"
      "\n"
      "\n"
      "       THE PILE COORDINATE SYSTEM (LOCAL AXES)\n";
  EXPECT_EQ(after(summary, "\n\n       THE GLOBAL STRUCTURAL", global_tables.size()), global_tables);
  // The condensed copy: titles and headings with blank first cells and the
  // closing rows, no row per pile.
  const std::string condensed = unit_text(UNIT_SUMMARY_SCRATCH);
  EXPECT_NE(condensed.find("\n       * PILE TOP DISPLACEMENTS, GLOBAL *\n"
                           "                   DISP. X, M   DISP. Y, M   ROT. Z,RAD  \n"
                           "                   ***********  ***********  ***********\n"
                           "         MINIMUM        11.000       12.000       13.000   \n"),
            std::string::npos)
      << condensed;
  EXPECT_EQ(condensed.find("            1          11.000"), std::string::npos);
  // The plane's node columns: deflection, moment, shear, reaction, stress,
  // rigidity and distributed load; the maxima are pile 2's tip values.
  EXPECT_NE(condensed.find(
                "      Max.      221.00      224.50      226.00      227.50      229.50      230.00      231.00 \n"
                "   Pile N.       2           2           2           2           2           2           2       \n"),
            std::string::npos);
}

TEST_F(PileWriter2DTest, CaseEnvelopePrintsThePlaneCapTable) {
  two_rows_of_a_run();
  CapEnvelope.min_load(1) = -1500.0;
  CapEnvelope.min_load(3) = 75.0;
  CapEnvelope.min_displacement(3) = 2.5e-4;
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_CASES, ENVELOPE_MINIMUM, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(unit_text(UNIT_RESULT_CODES), "LOAD CASE ENV : 1\n      MINIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n");
  const std::string table_l =
      "\n\n\n     * TABLE L *   COMPUTATION ON PILE CAP\n"
      "\n\n     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\n"
      "\n             VERT. LOAD,  KN    HORI. LOAD,  KN    MOMENT, KN- M\n"
      "                  -1500.00           0.00000           75.0000 \n"
      "\n\n     * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *\n"
      "\n                VERTICAL, M      HORIZONTAL, M    ROTATION,RAD\n"
      "                   0.00000           0.00000       2.50000E-04 \n";
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    EXPECT_NE(unit_text(unit).find("     CASE NAME     : MINIMUM ENVELOPE\n" + table_l), std::string::npos)
        << unit_text(unit);
  }
  EXPECT_NE(unit_text(UNIT_COMPUTATION_REPORT)
                .find("LOAD CASE ENV : 1\n     * TABLE L *   COMPUTATION ON PILE CAP\n"
                      "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\n"
                      "       -1500.00000             0.00000000             75.0000000      \n"),
            std::string::npos)
      << unit_text(UNIT_COMPUTATION_REPORT);
}

TEST_F(PileWriter2DTest, OneAndTwoThreadsWriteIdenticalFiles) {
  two_rows_of_a_run();
  set_pile(3, 2, 5, 0.25, [](int p, int k, int q) { return std::sin(p + k * 0.3 + q) * 1e4; });
  std::vector<std::string> outputs[2];
  for (int threads = 1; threads <= 2; ++threads) {
    for (int unit : REPORT_UNITS) fio::open_memory(unit);
    AnalysisControl.threads_wanted = threads;
    int status = 0;
    ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
    ASSERT_EQ(status, 0);
    for (int unit : REPORT_UNITS) outputs[threads - 1].push_back(unit_text(unit));
    outputs[threads - 1].push_back(scratch_text());
  }
  EXPECT_EQ(outputs[0], outputs[1]);
}

TEST_F(PileWriter2DTest, ScratchFileThatCannotBeOpenedSetsStatusAndPrintsNoSummary) {
  two_rows_of_a_run();
  RunFiles.pile_results_scratch_file = (folder_ / "missing" / "piles.scr").string();
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(unit_text(UNIT_SUMMARY).find("MINIMUM"), std::string::npos);
}

TEST_F(PileWriter2DTest, NoPilesGiveTitlesButNoClosingRows) {
  int status = 0;
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  EXPECT_EQ(status, 0);
  const std::string summary = unit_text(UNIT_SUMMARY);
  EXPECT_NE(summary.find("* PILE TOP DISPLACEMENTS *"), std::string::npos);
  EXPECT_EQ(summary.find("  MINIMUM "), std::string::npos);
  EXPECT_EQ(unit_text(UNIT_SUMMARY_SCRATCH).find("Min."), std::string::npos);
}

}  // namespace
}  // namespace pilecap::testing
