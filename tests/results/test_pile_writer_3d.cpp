// The per-pile results writer in space through its outputs: scratch records
// by column, summary rows read back from them, identical files on one and
// two threads, and a scratch file that cannot be written.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "results_fixture.hpp"
#include "summary/summary.hpp"

namespace pilecap::testing {
namespace {

double ramp(int p, int k, int q) { return p * 100.0 + k * 10.0 + q * 0.5; }

class PileWriterTest : public ResultsTest {
 protected:
  void two_piles_of_a_run() {
    set_pile(1, 1, 2, 1.5, ramp);
    set_pile(2, 1, 2, 1.5, ramp);
    show_all_columns();
    AnalysisControl.current_run = 1;
    AnalysisControl.axial_variation = 1;
    AnalysisControl.output_option = 2;
    AnalysisControl.output_count = 1;
  }
  std::string line_of(const std::string& text, const std::string& start) {
    const auto at = text.find(start);
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
  }
};

TEST_F(PileWriterTest, ScratchRecordsPutEachValueInItsColumns) {
  two_piles_of_a_run();
  int status = 0;
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  const std::string scratch = scratch_text();
  // Pile 1 record 2: pile in 6-11, values in 18 + 14(i - 1) .. 29 + 14(i - 1), the stress seventh.
  EXPECT_NE(scratch.find("          1        17.000        18.000        19.000        20.000        21.000"
                         "        22.000        23.000    \n"),
            std::string::npos);
  // The local reactions carry the global stress.
  EXPECT_NE(scratch.find("          1       -17.000       -18.000       -19.000       -20.000       -21.000"
                         "       -22.000        23.000    \n"),
            std::string::npos);
  EXPECT_EQ(scratch.rfind("        2     0.22050E+03   0.22100E+03", 0), std::string::npos);
  EXPECT_NE(scratch.find("        2     0.22050E+03   0.22100E+03"), std::string::npos);
  // Eight records per pile.
  EXPECT_EQ(std::count(scratch.begin(), scratch.end(), '\n'), 16);
}

TEST_F(PileWriterTest, SummaryRowsNameThePileOfEachExtreme) {
  two_piles_of_a_run();
  int status = 0;
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  const std::string summary = unit_text(UNIT_SUMMARY);
  EXPECT_NE(
      summary.find("       MINIMUM        -27.000      -28.000      -29.000      -30.000      -31.000      -32.000 \n"
                   "       Pile N.          2            2            2            2            2            2\n"
                   "       MAXIMUM        -17.000      -18.000      -19.000      -20.000      -21.000      -22.000 \n"
                   "       Pile N.          1            1            1            1            1            1\n"),
      std::string::npos);
  EXPECT_NE(summary.find("      PILE GROUP   STRESS, KN/ M**2\n      **********  ****************\n"
                         "          1            23.000 \n          2            33.000 \n\n"
                         "       MINIMUM         23.000 \n       Pile N.          1\n"
                         "       MAXIMUM         33.000 \n       Pile N.          2\n"),
            std::string::npos);
  // Depth of the maxima: the tip, 2 x 1.5 m.
  EXPECT_EQ(line_of(summary, "     x( M)      3.0000").substr(0, 34), "     x( M)      3.0000      3.0000");
  // The condensed copy has no row per pile and nothing of the stress table.
  const std::string condensed = unit_text(UNIT_SUMMARY_SCRATCH);
  EXPECT_EQ(condensed.find("          1            11.000"), std::string::npos);
  EXPECT_EQ(condensed.find("STRESS,"), std::string::npos);
  EXPECT_NE(condensed.find("      Max.      220.50      221.00"), std::string::npos);
}

TEST_F(PileWriterTest, OneAndTwoThreadsWriteIdenticalFiles) {
  two_piles_of_a_run();
  set_pile(3, 2, 5, 0.25, [](int p, int k, int q) { return std::sin(p + k * 0.3 + q) * 1e4; });
  std::vector<std::string> outputs[2];
  for (int threads = 1; threads <= 2; ++threads) {
    for (int unit : REPORT_UNITS) fio::open_memory(unit);
    AnalysisControl.threads_wanted = threads;
    int status = 0;
    ENVEWR(ENVELOPE_KIND_RUN, 0, status);
    ASSERT_EQ(status, 0);
    for (int unit : REPORT_UNITS) outputs[threads - 1].push_back(unit_text(unit));
    outputs[threads - 1].push_back(scratch_text());
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_FALSE(outputs[0][1].empty());
}

TEST_F(PileWriterTest, ScratchFileThatCannotBeOpenedSetsStatusAndPrintsNoSummary) {
  two_piles_of_a_run();
  RunFiles.pile_results_scratch_file = (folder_ / "missing" / "piles.scr").string();
  int status = 0;
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    " + RunFiles.pile_results_scratch_file);
  EXPECT_EQ(unit_text(UNIT_SUMMARY).find("MINIMUM"), std::string::npos);
}

TEST_F(PileWriterTest, ShortScratchFileSetsStatusInsteadOfExtremes) {
  // A file with the records of one pile read as a file of two piles.
  two_piles_of_a_run();
  int status = 0;
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  ASSERT_EQ(status, 0);
  for (int unit : REPORT_UNITS) fio::open_memory(unit);
  ResultColumnFlags flags{};
  PILE_SUMMARY_TABLE(SUMMARY_GLOBAL_AXES, 1, 3, flags, status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  EXPECT_EQ(unit_text(UNIT_SUMMARY).find("MINIMUM"), std::string::npos);
  EXPECT_EQ(unit_text(UNIT_SUMMARY_SCRATCH).find("MINIMUM"), std::string::npos);
}

TEST_F(PileWriterTest, NoPilesGiveTitlesButNoClosingRows) {
  int status = 0;
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  EXPECT_EQ(status, 0);
  const std::string summary = unit_text(UNIT_SUMMARY);
  EXPECT_NE(summary.find("* PILE TOP DISPLACEMENTS *"), std::string::npos);
  EXPECT_EQ(summary.find("  MINIMUM  "), std::string::npos);
  EXPECT_EQ(unit_text(UNIT_SUMMARY_SCRATCH).find("Min."), std::string::npos);
}

TEST_F(PileWriterTest, CaseEnvelopePrintsCapTableAndResultCodes) {
  two_piles_of_a_run();
  CapEnvelope.min_load(1) = -1500.0;
  CapEnvelope.min_displacement(6) = 2.5e-4;
  int status = 0;
  ENVEWR(ENVELOPE_KIND_CASES, ENVELOPE_MINIMUM, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(unit_text(UNIT_RESULT_CODES), "LOAD CASE ENV : 1\n      MINIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n");
  const std::string results = unit_text(UNIT_RESULTS_REPORT);
  EXPECT_EQ(results.rfind("\n\n\n     LOAD CASE ENV : 1\n     CASE NAME     : MINIMUM ENVELOPE\n\n\n\n"
                          "     * TABLE L *   COMPUTATION ON PILE CAP\n",
                          0),
            0u);
  EXPECT_NE(results.find("           VERT. LOAD,  KN    HOR. LOAD Y,  KN   HOR. LOAD Z,  KN\n"
                         "                  -1500.00           0.00000           0.00000 \n"),
            std::string::npos);
  EXPECT_NE(results.find("          ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD    ANGLE ROT. Z,RAD\n"
                         "                   0.00000           0.00000       2.50000E-04 \n"),
            std::string::npos);
  // Print option 0 of the case envelopes: no pile tables on the results report.
  EXPECT_EQ(results.find("* PILE GROUP *"), std::string::npos);
}

}  // namespace
}  // namespace pilecap::testing
