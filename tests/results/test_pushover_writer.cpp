// The results of one incremental (pushover) point: the cap block of the
// point in its exact text, the summary tables of the point read back from
// the scratch file (their rows of extremes equal, as printed fields, the
// extremes of the piles' own values, ties naming the first pile, with the
// depth where that pile has it), what each print option copies to the
// results report, the hinge table, and a scratch file that cannot be
// written.
#include <gtest/gtest.h>

#include <string>

#include "results_fixture.hpp"
#include "summary/summary.hpp"

namespace pilecap::testing {
namespace {

constexpr int FIELD_UNIT = 77;  // a memory unit to format expected fields on

// The field WRITE_REAL_FIELD gives a value.
std::string real(int width, int digits, double v) {
  fio::open_memory(FIELD_UNIT);
  WRITE_REAL_FIELD(FIELD_UNIT, width, digits, v);
  END_REPORT_LINE(FIELD_UNIT);
  std::string text = fio::memory_contents(FIELD_UNIT);
  fio::close(FIELD_UNIT);
  return text.substr(0, static_cast<std::size_t>(width));
}

// Node values of three piles of two increments (1.5 m): displacement y
// (quantity 2) ties between piles 2 and 3 in both extremes, at different
// depths; the moment (quantity 9) falls with pile and node.
double point_values(int p, int k, int q) {
  constexpr double DISPLACEMENT_Y[3][3] = {{3.0, 1.0, 2.0}, {4.0, 2.0, 0.5}, {0.5, 4.0, 1.0}};
  if (q == NR_DISPL_Y) return DISPLACEMENT_Y[p - 1][k];
  if (q == NR_MOMENT_Z) return -(10.0 * p + k);
  return 0.0;
}

class PushoverWriterTest : public ResultsTest {
 protected:
  void three_piles(int print_option) {
    for (int p = 1; p <= 3; ++p) set_pile(p, 1, 2, 1.5, point_values, 1);
    ResultColumnSelection.case_flags(1, NR_DISPL_Y) = 1;
    ResultColumnSelection.case_flags(1, NR_MOMENT_Z) = 1;
    AnalysisControl.current_run = 1;
    AnalysisControl.output_option = print_option;
  }
  static std::string after(const std::string& text, const std::string& mark) {
    const auto at = text.find(mark);
    return at == std::string::npos ? std::string() : text.substr(at);
  }
};

TEST_F(PushoverWriterTest, RowsOfExtremesAreThePilesExtremesTiesNamingTheFirstPile) {
  three_piles(2);
  int status = 0;
  ENVEWRP(status);
  ASSERT_EQ(status, 0);
  const std::string summary = unit_text(UNIT_SUMMARY);
  // Minima: displacement y 0.5 on piles 2 (at 3 m) and 3 (at 0): pile 2; moment -32 on pile 3 at 3 m.
  const std::string minima = "          Min." + real(12, 4, 0.5) + real(12, 4, -32.0) +
                             " \n       Pile N.       2           3       \n         x( M)" + real(12, 4, 3.0) +
                             real(12, 4, 3.0) + " \n";
  // Maxima: displacement y 4.0 on piles 2 (at 0) and 3 (at 1.5 m): pile 2; moment -10 on pile 1 at 0.
  const std::string maxima = "          Max." + real(12, 4, 4.0) + real(12, 4, -10.0) +
                             " \n       Pile N.       2           1       \n         x( M)" + real(12, 4, 0.0) +
                             real(12, 4, 0.0) + " \n";
  EXPECT_NE(summary.find(minima + maxima), std::string::npos) << summary;
  // Pile-top displacements in pile axes: -(10 p + c); the least on pile 3, the largest on pile 1.
  std::string rows = "       MINIMUM  ";
  for (int c = 1; c <= 6; ++c) rows += real(13, 4, -(30.0 + c));
  rows += " \n       Pile N.          3";
  for (int c = 2; c <= 6; ++c) rows += "            3";
  rows += "\n       MAXIMUM  ";
  for (int c = 1; c <= 6; ++c) rows += real(13, 4, -(10.0 + c));
  rows += " \n       Pile N.          1";
  for (int c = 2; c <= 6; ++c) rows += "            1";
  rows += "\n";
  const std::string heading =
      "\n       * PILE TOP DISPLACEMENTS, LOCAL *\n"
      "                   DISP. x, M   DISP. y, M   DISP. z, M   ROT. x,RAD   ROT. y,RAD   ROT. z,RAD  \n";
  EXPECT_NE(summary.find(heading + rows), std::string::npos) << summary;
  EXPECT_NE(
      summary.find("\n       * PILE TOP REACTIONS, LOCAL *\n"
                   "                   AXIAL, KN    LAT. y, KN   LAT. z, KN  MOM x, KN- M MOM y, KN- M MOM z, KN- M\n"
                   "       MINIMUM  "),
      std::string::npos)
      << summary;
  // The summary scratch gets nothing.
  EXPECT_EQ(unit_text(UNIT_SUMMARY_SCRATCH), "");
}

// The cap block of a point, exact text: English units with forces in kips
// in the plane, SI in space.
TEST_F(PushoverWriterTest, CapBlockOfAPoint) {
  int english = 1, kips = 1;
  SET_UNIT_LABELS(english, kips);
  RunOptions.units = 1;
  RunOptions.force_unit = 1;
  const double load[3] = {2500.0, -1000.0, 36000.0}, displacement[3] = {0.25, 0.125, -0.001};
  PRINT_PUSHOVER_CAP_RESULTS(2, 2, 0.5, 0.0, load, displacement);
  const std::string block =
      "\n       N:    2  FACTOR :    0.5000\n"
      "\n      * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\n"
      "               FX,KIP         FY,KIP     MZ,KIP-IN     \n"
      "       " +
      real(15, 5, 2.5) + real(15, 5, -1.0) + real(15, 5, 36.0) +
      " \n"
      "\n      * DISPLACEMENT OF PILE CAP AT ORIGIN *\n"
      "               UX,IN          UY,IN          RZ,RAD      \n"
      "       " +
      real(15, 5, 0.25) + real(15, 5, 0.125) + real(15, 5, -0.001) + " \n";
  EXPECT_EQ(unit_text(UNIT_SUMMARY), block);
  EXPECT_EQ(unit_text(UNIT_RESULTS_REPORT), block);
  const std::string gap = "     ";
  EXPECT_EQ(unit_text(UNIT_COMPUTATION_REPORT),
            "        1   N:    2  FACTOR :    0.5000\n"
            "      * COMPUTATION ON PILE CAP *\n"
            "      * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\n       " +
                real(18, 8, 2500.0) + gap + real(18, 8, -1000.0) + gap + real(18, 8, 36000.0) + gap +
                " \n      * DISPLACEMENT OF PILE CAP AT ORIGIN *\n       " + real(18, 8, 0.25) + gap +
                real(18, 8, 0.125) + gap + real(18, 8, -0.001) + gap + " \n");

  for (int unit : REPORT_UNITS) fio::open_memory(unit);
  int si = -1, no_kips = 0;
  SET_UNIT_LABELS(si, no_kips);
  RunOptions.units = 2;
  RunOptions.force_unit = 0;
  const double load6[6] = {1, 2, 3, 4, 5, 6}, displacement6[6] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  PRINT_PUSHOVER_CAP_RESULTS(3, 1, 1.25, 0.0, load6, displacement6);
  const std::string summary = unit_text(UNIT_SUMMARY);
  EXPECT_NE(summary.find("\n       N:    1  FACTOR :    1.2500\n"
                         "\n      * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\n"
                         "               FX, KN         FY, KN         FZ, KN       MX, KN- M      MY, KN- M      "
                         "MZ, KN- M     \n"),
            std::string::npos)
      << summary;
  EXPECT_NE(summary.find("               UX, M          UY, M          UZ, M          RX,RAD         RY,RAD         "
                         "RZ,RAD      \n"),
            std::string::npos)
      << summary;
}

// Print option 0: nothing of the point's tables on the results report; 1:
// the titles and headings of the pile-top tables only; 2: all of it.
TEST_F(PushoverWriterTest, PrintOptionSelectsWhatReachesTheResultsReport) {
  for (int option : {0, 1, 2}) {
    SCOPED_TRACE(option);
    for (int unit : REPORT_UNITS) fio::open_memory(unit);
    three_piles(option);
    int status = 0;
    ENVEWRP(status);
    ASSERT_EQ(status, 0);
    const std::string results = unit_text(UNIT_RESULTS_REPORT);
    EXPECT_EQ(results.find("* PILE TOP DISPLACEMENTS, LOCAL *") != std::string::npos, option >= 1);
    EXPECT_EQ(results.find("* PILE TOP REACTIONS, LOCAL *") != std::string::npos, option >= 1);
    EXPECT_EQ(results.find("MINIMUM") != std::string::npos, option >= 2);
    EXPECT_EQ(results.find("* EFFECTS FOR LATERALLY LOADED PILE *") != std::string::npos, option >= 2);
    EXPECT_EQ(results.find("Max.") != std::string::npos, option >= 2);
    if (option == 2) {
      EXPECT_EQ(after(unit_text(UNIT_SUMMARY), "* PILE TOP DISPLACEMENTS"), after(results, "* PILE TOP DISPLACEMENTS"));
    }
  }
}

// Hinge nodes at rows 1 and 2 of pile 2 are one hinge, at 1.5 m; with no
// hinge node there is no hinge table.
TEST_F(PushoverWriterTest, HingeTableNamesThePileAndTheDepthOfEachHinge) {
  three_piles(0);
  int status = 0;
  ENVEWRP(status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(unit_text(UNIT_SUMMARY).find("HINGES"), std::string::npos);

  for (int unit : REPORT_UNITS) fio::open_memory(unit);
  NodeResults.current(2, FIRST_NODE_ROW + 1, NR_HINGE_Z) = 1.0;
  NodeResults.current(2, FIRST_NODE_ROW + 2, NR_HINGE_Z) = 1.0;
  NodeResults.current(3, FIRST_NODE_ROW, NR_HINGE_Y) = 1.0;
  ENVEWRP(status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(after(unit_text(UNIT_SUMMARY), "\n       * FORMATION"),
            "\n       * FORMATION OF PLASTIC HINGES IN PILES *   \n"
            "\n        PILE     DIR          DEPTH  (M)          \n"
            "          2     Z-DIR     " +
                real(13, 4, 1.5) + " \n          3     Y-DIR     " + real(13, 4, 0.0) + " \n");
}

// A scratch file that cannot be opened ends the point with status 45, the
// file named, and no summary table.
TEST_F(PushoverWriterTest, ScratchFileThatCannotBeWrittenEndsWithItsStatus) {
  three_piles(2);
  RunFiles.pile_results_scratch_file = (folder_ / "missing" / "piles.scr").string();
  int status = 0;
  ENVEWRP(status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    " + RunFiles.pile_results_scratch_file);
  EXPECT_EQ(unit_text(UNIT_SUMMARY), "");
}

}  // namespace
}  // namespace pilecap::testing
