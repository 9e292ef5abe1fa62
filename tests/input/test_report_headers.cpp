// Report headers and the date block as exact text, with a fixed clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "input/report_headers.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

RunDateTime march_third() { return {2026, 3, 3, 9, 5, 7}; }
RunDateTime bad_month() { return {2026, 13, 3, 9, 5, 7}; }

const std::string RULE = "     " + std::string(73, '-') + "\n";
const std::string DATE_BLOCK = RULE + std::string(26, ' ') + "Time and Date of Analysis\n" + RULE + "\n" +
                               std::string(15, ' ') + "Date:  March 03, 2026     Time:  09:05:07\n";

class ReportHeaderTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    for (int unit : REPORT_UNITS) fio::open_memory(unit);
    set_run_clock(march_third);
  }
  void TearDown() override {
    for (int unit : REPORT_UNITS) fio::close(unit);
    set_run_clock(nullptr);
    RunFiles = RunFilesRecord{};
  }
  static constexpr int REPORT_UNITS[] = {UNIT_RUN_LOG, UNIT_COMPUTATION_REPORT, UNIT_RESULTS_REPORT, UNIT_SUMMARY,
                                         UNIT_ECHO};
};

TEST_F(ReportHeaderTest, FileNamesThenDateBlock) {
  RunFiles.input_file = "/data/site/pile.inp   ";
  RunFiles.echo_file = "/out/pile.echo";
  RunFiles.results_file = "pile.results";
  RunFiles.summary_file = "pile.summary";
  RunFiles.plot_file = "pile.plot";
  RunFiles.run_log_file = "pile.log";
  WRITE_REPORT_HEADERS();
  const std::string names =
      "     Path to file locations      : /data/site/\n"
      "     Name of input data file     : pile.inp\n"
      "     Name of output echo file    : pile.echo\n"
      "     Name of output results file : pile.resul\n"
      "     Name of output summary file : pile.summa\n"
      "     Name of plot output file    : pile.plot\n"
      "     Name of runtime file        : pile.log\n\n\n";
  EXPECT_EQ(fio::memory_contents(UNIT_RESULTS_REPORT), names + DATE_BLOCK);
  EXPECT_EQ(fio::memory_contents(UNIT_ECHO), names + DATE_BLOCK);
  EXPECT_EQ(fio::memory_contents(UNIT_COMPUTATION_REPORT), names + DATE_BLOCK + "\n");
  EXPECT_EQ(fio::memory_contents(UNIT_SUMMARY), DATE_BLOCK);
  EXPECT_EQ(fio::memory_contents(UNIT_RUN_LOG), DATE_BLOCK);
}

TEST_F(ReportHeaderTest, MonthOutsideTheYearLeavesOutTheDateLine) {
  set_run_clock(bad_month);
  PRINT_RUN_DATE_TIME();
  EXPECT_EQ(fio::memory_contents(UNIT_SUMMARY), RULE + std::string(26, ' ') + "Time and Date of Analysis\n" + RULE + "\n");
}

TEST(FilePathTest, SplitsIntoDirectoryNameAndShortExtension) {
  const FilePathParts bare = SPLIT_FILE_PATH("model.inp");
  EXPECT_EQ(bare.drive, "");
  EXPECT_EQ(bare.directory, std::filesystem::current_path().string() + "/");
  EXPECT_EQ(bare.name, "model");
  EXPECT_EQ(bare.extension, ".inp");
  const FilePathParts long_ext = SPLIT_FILE_PATH("/tmp/run.abcdefg");
  EXPECT_EQ(long_ext.directory, "/tmp/");
  EXPECT_EQ(long_ext.extension, ".abcde");
  const FilePathParts none = SPLIT_FILE_PATH("/tmp/README");
  EXPECT_EQ(none.name, "README");
  EXPECT_EQ(none.extension, "");
}

}  // namespace
}  // namespace pilecap
