// Whole runs through DUVIZU that exercise the run sequence itself: stop
// requests, the file of file names, file errors, a failed model store, a
// second run in the same process, the files an earlier run left, the lock
// of the run folder and a second call while a run is under way.
#include <gtest/gtest.h>
#include <omp.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <thread>

#include "analysis/analysis.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "pile/pile_head.hpp"
#include "plate/plate.hpp"
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

// Regression: a file the run did not write (a flexibility report, generated
// curves, plate files of a case the new deck lacks) kept an earlier run's
// content beside the new reports, and a run stopped at its start kept them
// all. Whether the run goes through or stops at once, every file the engine
// may write under the run's names is this run's or gone; the host's files
// and the files of another deck stay.
TEST_F(RunSpineTest, FilesAnEarlierRunLeftAreRemovedBeforeTheRunWrites) {
  constexpr const char* STALE = "STALE\n";
  constexpr int HOST_LINES[] = {RunFolder::INPUT_LINE, RunFolder::STOP_LINE, 27};  // 27: the echo insert
  const std::vector<std::string> plate_files = {"file5.case1.plate.lst", "file5.comb2.plate.steps",
                                                "file5.case3.plate.dat", "file5.case3.plate.key",
                                                "file5.plate.log",       PLATE_NAMES_FILE};
  const std::vector<std::string> other_deck = {"other.case1.plate.lst", "notes.txt"};
  for (const bool stop : {false, true}) {
    RunFolder folder("stale");
    folder.write_names();
    for (int line = 6; line <= 28; ++line) folder.put(line, STALE);
    for (const std::string& name : plate_files) RunFolder::put_file(folder.folder() / name, STALE);
    for (const std::string& name : other_deck) RunFolder::put_file(folder.folder() / name, STALE);
    folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
    folder.put(RunFolder::STOP_LINE, stop ? "1\n" : "0\n");
    folder.put(27, "INSERT\n");
    EXPECT_EQ(folder.run(), 0);
    EXPECT_EQ(folder.final_message(),
              std::vector<std::string>{stop ? "      *** ANALYSIS STOPPED BY USER ***" : "     ANALYSIS COMPLETED"});
    for (int line = 6; line <= 28; ++line) {
      if (std::find(std::begin(HOST_LINES), std::end(HOST_LINES), line) != std::end(HOST_LINES)) continue;
      if (std::filesystem::exists(folder.path(line))) {
        EXPECT_NE(folder.read(line), STALE) << "line " << line;
      }
    }
    for (const std::string& name : plate_files) {
      EXPECT_FALSE(std::filesystem::exists(folder.folder() / name)) << name << (stop ? ", stopped" : "");
    }
    for (const std::string& name : other_deck) EXPECT_EQ(RunFolder::read_file(folder.folder() / name), STALE) << name;
    EXPECT_EQ(folder.read(RunFolder::STOP_LINE), stop ? "1\n" : "0\n");
    EXPECT_EQ(folder.read(27), "INSERT\n");
  }
}

// Another process holds the lock of a folder until the test lets it go; the
// child makes only system calls.
class LockHolder {
 public:
  explicit LockHolder(const std::filesystem::path& folder) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    const std::string lock = (folder / FOLDER_LOCK_FILE).string();
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);  // else the read below never ends
      const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT, 0644);
      const char held = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
      [[maybe_unused]] const ssize_t told = write(ready[1], &held, 1);
      char go = 0;
      [[maybe_unused]] const ssize_t waited = read(release[0], &go, 1);
      _exit(0);
    }
    char held = 'n';
    if (pid_ > 0 && read(ready[0], &held, 1) == 1) held_ = held == 'y';
    release_ = release[1];
    close(ready[0]);
    close(ready[1]);
    close(release[0]);
  }
  ~LockHolder() {
    close(release_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool held() const { return held_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool held_ = false;
};

// Regression: two runs in one folder read each other's "Names.dat" and wrote
// into each other's reports. A run in a folder another process holds is
// refused at once and writes nothing; a run whose host holds the lock itself
// (pilecap-run) goes on, leaves the host's lock held, and the next run after
// the holder is gone goes through.
TEST_F(RunSpineTest, RunInAFolderInUseIsRefusedAndWritesNothing) {
  RunFolder folder("locked");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, testing::MINIMAL_INPUT);
  {
    LockHolder other(folder.folder());
    ASSERT_TRUE(other.held());
    EXPECT_EQ(folder.run(), STATUS_FOLDER_IN_USE);
    EXPECT_FALSE(std::filesystem::exists(folder.path(RunFolder::RUN_LOG_LINE)));
    EXPECT_FALSE(std::filesystem::exists(folder.path(RunFolder::STOP_LINE)));
  }
  int host_lock = -1;
  long holder = 0;
  ASSERT_EQ(TAKE_FOLDER_LOCK(folder.folder().string(), host_lock, holder), FolderLockState::Taken);
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  {
    LockHolder other(folder.folder());
    EXPECT_FALSE(other.held()) << "the host's lock outlives the run";
  }
  RELEASE_FOLDER_LOCK(host_lock);
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  LockHolder after(folder.folder());
  EXPECT_TRUE(after.held()) << "the run lets its own lock go";
}

// The reports of a run in a folder that two runs of one model share, without
// the timing lines.
std::vector<std::string> run_reports(const RunFolder& folder) {
  std::vector<std::string> reports;
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE,
                   RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE, RunFolder::STATUS_LINE}) {
    reports.push_back(testing::without_timing(folder.read(line)));
  }
  return reports;
}

// The second call, made from the hook of the first run: the thread of the
// first run waits in its hook until the second call returned, so the two
// overlap for certain, whatever the machine's speed.
std::promise<void>* first_run_under_way = nullptr;
std::shared_future<void> second_call_returned;

void hold_first_run(int, int) {
  if (first_run_under_way == nullptr) return;
  first_run_under_way->set_value();
  first_run_under_way = nullptr;
  // Only a guard against a hang: the second call returns at once or the
  // test fails below.
  second_call_returned.wait_for(std::chrono::minutes(2));
}

// Regression: two threads of one host calling DUVIZU together crashed the
// process (the run's records are the process's). The second call returns
// STATUS_RUN_UNDER_WAY at once and touches nothing; the first runs to its
// end with the reports of a run alone, and a third call afterwards runs.
TEST_F(RunSpineTest, SecondCallWhileARunIsUnderWayIsRefusedAndTouchesNothing) {
  RunFolder folder("overlap");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, six_pile_deck(600.0));
  ASSERT_EQ(folder.run(), 0);
  const std::vector<std::string> alone = run_reports(folder);
  ASSERT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});

  std::promise<void> under_way;
  std::promise<void> returned;
  first_run_under_way = &under_way;
  second_call_returned = returned.get_future().share();
  set_run_end_hook(hold_first_run);
  std::future<int> first = std::async(std::launch::async, [&folder] { return folder.run(); });
  under_way.get_future().wait();
  // The first run changed the process into its folder and holds its open
  // files: the second call would read its "Names.dat" and write its reports.
  const int second = DUVIZU();
  const std::vector<std::string> during = run_reports(folder);
  returned.set_value();
  EXPECT_EQ(second, STATUS_RUN_UNDER_WAY);
  EXPECT_EQ(first.get(), 0);
  set_run_end_hook(nullptr);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  EXPECT_EQ(run_reports(folder), alone) << "the run under way is untouched by the refused call";
  // While the first run was held its log had no final message yet: the
  // refused call wrote none into it.
  EXPECT_EQ(during[2].find("ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_EQ(during[2].find("ERROR IN ANALYSIS"), std::string::npos);

  EXPECT_EQ(folder.run(), 0) << "a call after the run returned runs normally";
  EXPECT_EQ(run_reports(folder), alone);
}

// A run starts from the engine's reset of every record (run/engine_records.hpp),
// whatever they hold: the reports are those of a run in a new process, and a
// record the run never writes (the plate's, under a rigid cap) holds its new
// process value after the run.
TEST_F(RunSpineTest, RunStartsFromFreshRecordsWhateverTheyHold) {
  RunFolder folder("fresh_records");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE,
             RunFolder::read_file(std::string(PILECAP_EXAMPLES) + "/group_3x3_embedded_cap.inp"));
  ASSERT_EQ(folder.run(), 0);
  const std::vector<std::string> alone = run_reports(folder);
  // What a run under way holds in the middle of an estimation, and what a
  // plate run leaves.
  DofRunMode.mode = DOF_RUN_LEVELS;
  TargetDeflectionSearch.active = 1;
  TargetDeflectionSearch.state = 2;
  AnalysisControl.first_run = 0;
  WarningCounters.bearing = 4;
  PileErrorWord.code = PILE_ERR_NO_CLOSURE;
  CapPassiveState.horizontal_movement = 3.0;
  PlateFailure.detail = "LEFT BY A PLATE RUN";
  PlateControl.NPOIN = 81;
  FrontalScratch.largest_front = 40;
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(run_reports(folder), alone);
  EXPECT_EQ(PlateFailure.detail, "");
  EXPECT_EQ(PlateControl.NPOIN, 0);
  EXPECT_EQ(FrontalScratch.largest_front, 0);
}

}  // namespace
}  // namespace pilecap
