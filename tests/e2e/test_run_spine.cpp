// Whole runs through DUVIZU that exercise the run sequence itself: stop
// requests, the file of file names, file errors, a failed model store, and
// a second run in the same process.
#include <gtest/gtest.h>
#include <omp.h>
#include <unistd.h>

#include "model/model_store.hpp"
#include "run/folder_lock.hpp"
#include "run/run.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using testing::RunFolder;

class RunSpineTest : public testing::EngineTest {
 protected:
  void TearDown() override { set_failing_table_creation(0); }
};

TEST_F(RunSpineTest, StopRequestAtStartSkipsTheInputAndReportsTheStop) {
  RunFolder folder("stop");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, "THIS IS NOT READ\n");
  folder.put(RunFolder::STOP_LINE, "1\n");
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"      *** ANALYSIS STOPPED BY USER ***"});
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].substr(0, 24), "     Execution Time    :");
  EXPECT_EQ(log.back().substr(0, 28), "     Number Processors :  1/");
  const std::string stop_lines = "      \n      *** ANALYSIS STOPPED BY USER ***\n";
  EXPECT_EQ(folder.read(RunFolder::RESULTS_LINE), stop_lines);
  EXPECT_EQ(folder.read(RunFolder::SUMMARY_LINE), stop_lines + "\n\n\n\n" + std::string(17, ' ') + "*****" +
                                                      std::string(5, ' ') + "SUMMARY FOR LOAD CASES AND COMBINATIONS " +
                                                      std::string(5, ' ') + "*****\n");
  EXPECT_EQ(folder.read(RunFolder::STATUS_LINE), " - ANALYSIS STARTED\n\n");
  EXPECT_EQ(folder.read(RunFolder::INPUT_LINE), "THIS IS NOT READ\n");
}

TEST_F(RunSpineTest, StopFileThatDoesNotHoldOneLetsTheRunGoOn) {
  for (const char* content : {"2\n", "STOP\n", "", "  \n"}) {
    RunFolder folder("nostop");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
    folder.put(RunFolder::STOP_LINE, content);
    EXPECT_EQ(folder.run(), 0);
    EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"}) << content;
  }
}

TEST_F(RunSpineTest, MissingStopFileIsCreatedEmpty) {
  RunFolder folder("stopcreated");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
  EXPECT_EQ(folder.run(), 0);
  ASSERT_TRUE(std::filesystem::exists(folder.path(RunFolder::STOP_LINE)));
  EXPECT_EQ(std::filesystem::file_size(folder.path(RunFolder::STOP_LINE)), 0u);
}

TEST_F(RunSpineTest, FileNameWithTrailingBlanksIsUsedWithoutThem) {
  RunFolder folder("blanks");
  folder.name(RunFolder::RUN_LOG_LINE) = "runlog.txt      ";
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
  folder.run();
  EXPECT_TRUE(std::filesystem::exists(folder.folder() / "runlog.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder.folder() / "runlog.txt      "));
}

TEST_F(RunSpineTest, MissingInputFileEndsTheRunWithFileError) {
  RunFolder folder("noinput");
  folder.write_names();
  EXPECT_EQ(folder.run(), 0);
  EXPECT_FALSE(std::filesystem::exists(folder.path(RunFolder::INPUT_LINE)));
  EXPECT_EQ(folder.final_message(),
            (std::vector<std::string>{"     * ERROR IN ANALYSIS *", "     FILE CANNOT BE OPENED", "     file5.txt"}));
  EXPECT_FALSE(std::filesystem::exists(folder.path(RunFolder::RESULTS_LINE)));
}

TEST_F(RunSpineTest, MissingOrShortNamesFileCreatesNothing) {
  for (int lines : {0, 27}) {
    RunFolder folder("nonames");
    if (lines > 0) folder.write_names(lines);
    folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
    EXPECT_EQ(folder.run(), 0);
    // The folder's lock file is the run's guard, not a file of the run.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder())) {
      if (entry.path().filename() != FOLDER_LOCK_FILE) ++files;
    }
    EXPECT_EQ(files, lines > 0 ? 2u : 1u) << "only Names.dat and the input may exist";
  }
}

TEST_F(RunSpineTest, FailedTableCreationTouchesNoFileAndTheNextRunWorks) {
  RunFolder folder("alloc");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
  for (int k : {1, 40, model_table_count()}) {
    set_failing_table_creation(k);
    EXPECT_EQ(folder.run(), ALLOCATION_FAILED) << k;
    EXPECT_FALSE(std::filesystem::exists(folder.path(RunFolder::RUN_LOG_LINE))) << k;
    EXPECT_FALSE(PileTable.head_x.created()) << "tables created before the failure are released";
  }
  set_failing_table_creation(0);
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
}

TEST_F(RunSpineTest, SecondRunInTheSameProcessStartsFresh) {
  RunFolder folder("twice");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
  folder.put(RunFolder::STOP_LINE, "1\n");
  EXPECT_EQ(folder.run(), 0);
  const std::string first_results = folder.read(RunFolder::RESULTS_LINE);
  ASSERT_NE(first_results, "");
  folder.put(RunFolder::STOP_LINE, "0\n");
  EXPECT_EQ(folder.run(), 0);
  // The second run writes its own report headers, and nothing of the first run.
  EXPECT_EQ(folder.read(RunFolder::RESULTS_LINE).find(first_results), std::string::npos)
      << "the results report holds nothing of the first run";
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  EXPECT_FALSE(PileTable.head_x.created()) << "the store is released after the run";
}

// The processor lines of the run log: the host's limit after the slash, the
// threads used before it.
std::vector<std::string> processor_lines(const RunFolder& folder) {
  std::vector<std::string> found;
  for (const std::string& line : folder.lines(RunFolder::RUN_LOG_LINE)) {
    if (line.find("Number Processors") != std::string::npos) found.push_back(line);
  }
  return found;
}

// Six piles in two rows of three in one clay layer, one case: 6000 lb along
// X and fy along Y.
std::string six_pile_deck(double fy) {
  testing::Deck3D d;
  for (int p = 0; p < 6; ++p) d.piles.push_back({6.0 * (p % 3), 6.0 * (p / 3)});
  d.length = 20.0;
  d.increments = 20;
  d.layers = {{1, 0.0, 40.0, {50, 500, 0, 100, 0, 0.01, 0.5}}};
  testing::DeckCase3D c;
  c.fx = 6000.0;
  c.fy = fy;
  d.cases = {c};
  return testing::deck_3d(d);
}

TEST_F(RunSpineTest, RunLeavesTheHostsThreadLimitForTheNextRun) {
  // Regression: the last parallel region's count became the next run's limit.
  const int host_limit = omp_get_max_threads();
  constexpr int LIMIT = 4;
  omp_set_num_threads(LIMIT);
  RunFolder folder("threads");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, six_pile_deck(600.0));
  std::vector<std::vector<std::string>> runs;
  for (int run = 1; run <= 2; ++run) {
    EXPECT_EQ(folder.run(), 0);
    EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
    EXPECT_EQ(omp_get_max_threads(), LIMIT) << "run " << run;
    runs.push_back(processor_lines(folder));
  }
  omp_set_num_threads(host_limit);
  ASSERT_FALSE(runs[0].empty());
  EXPECT_EQ(runs[1], runs[0]);
  EXPECT_EQ(runs[0].back().substr(runs[0].back().size() - 3), "/ 4");
}

TEST_F(RunSpineTest, RunTakesNoMoreThreadsThanTheFreeProcessors) {
  // A host that sets no thread count on a busy machine: the run's regions
  // stay on the processors other work leaves free, the host's limit stays.
  const int host_limit = omp_get_max_threads();
  constexpr int LIMIT = 4;
  omp_set_num_threads(LIMIT);
  SET_FREE_PROCESSOR_SOURCE(+[] { return 1; });
  RunFolder folder("free_processors");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, six_pile_deck(0.0));
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  EXPECT_EQ(omp_get_max_threads(), LIMIT) << "the host's limit after the run";
  omp_set_num_threads(host_limit);
  const std::vector<std::string> lines = processor_lines(folder);
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) EXPECT_EQ(line.substr(line.size() - 5), " 1/ 4") << line;
}

class SummaryCopyTest : public testing::EngineTest {};

TEST_F(SummaryCopyTest, ScratchLinesAreCopiedWholeWithOneBlank) {
  RunFolder folder("summary");
  RunFiles.summary_file = folder.path(RunFolder::SUMMARY_LINE).string();
  RunFiles.summary_scratch_file = folder.path(RunFolder::SUMMARY_SCRATCH_LINE).string();
  const std::string long_line = std::string(125, 'X') + "12345";
  RunFolder::put_file(RunFiles.summary_scratch_file, long_line + "   \n\n   \nEND\n");
  ASSERT_EQ(fio::open(UNIT_SUMMARY, RunFiles.summary_file, fio::Mode::Write), fio::IO_OK);
  CLOSE_RUN_FILES();
  const std::string banner = "\n\n\n\n" + std::string(17, ' ') + "*****" + std::string(5, ' ') +
                             "SUMMARY FOR LOAD CASES AND COMBINATIONS " + std::string(5, ' ') + "*****\n";
  EXPECT_EQ(RunFolder::read_file(RunFiles.summary_file), banner + long_line + " \n  \n  \nEND \n");
}

TEST_F(SummaryCopyTest, EmptyScratchLeavesTheBanner) {
  RunFolder folder("summaryempty");
  RunFiles.summary_file = folder.path(RunFolder::SUMMARY_LINE).string();
  RunFiles.summary_scratch_file = folder.path(RunFolder::SUMMARY_SCRATCH_LINE).string();
  RunFolder::put_file(RunFiles.summary_scratch_file, "");
  ASSERT_EQ(fio::open(UNIT_SUMMARY, RunFiles.summary_file, fio::Mode::Write), fio::IO_OK);
  CLOSE_RUN_FILES();
  EXPECT_EQ(RunFolder::read_file(RunFiles.summary_file).substr(0, 5), "\n\n\n\n ");
}

}  // namespace
}  // namespace pilecap
