// Whole runs with load cases and combinations through DUVIZU: the result-code
// file, the status file, stop requests before and between cases, the control
// values each run receives. The decks are small plane (2D) models of one
// pile row in one soil layer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/analysis_control.hpp"
#include "tests/e2e/case_decks.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using testing::DeckCase;
using testing::DeckCombination;
using testing::RunFolder;

// What the end-of-run hook saw, one entry per analysed case or combination.
struct SeenRun {
  int run_kind, index, current_run, current_combination, threads_wanted, first_run, output_option;
  double tolerance, load_scale_1, load_scale_2;
};

struct HookState {
  const RunFolder* folder = nullptr;
  int stop_after_case = 0;  // write the stop file after this case (0 never)
  std::string stop_content;
  std::vector<SeenRun> seen;
};
HookState hook_state;

void record_run(int run_kind, int index) {
  const auto& a = AnalysisControl;
  hook_state.seen.push_back({run_kind, index, a.current_run, a.current_combination, a.threads_wanted, a.first_run,
                             a.output_option, a.tolerance, a.load_scale(1), a.load_scale(2)});
  if (run_kind == RUN_KIND_CASE && index == hook_state.stop_after_case) {
    hook_state.folder->put(RunFolder::STOP_LINE, hook_state.stop_content);
  }
}

class RunLoopTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    hook_state = HookState{};
    set_run_end_hook(record_run);
  }
  void TearDown() override { set_run_end_hook(nullptr); }

  // Runs the deck in a fresh folder and returns DUVIZU's result.
  int run(RunFolder& folder, const std::string& deck) {
    hook_state.folder = &folder;
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    return folder.run();
  }
};

// The final message line: the one before the run's (last) execution time.
std::string last_message(const RunFolder& folder) {
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  const auto at = std::find_if(log.rbegin(), log.rend(),
                               [](const std::string& l) { return l.find("Execution Time") != std::string::npos; });
  return at == log.rend() || at + 1 == log.rend() ? std::string() : *(at + 1);
}

int count_lines(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

const std::string TITLE = std::string("CASE MODEL") + std::string(70, ' ');

TEST_F(RunLoopTest, ResultCodeFileNamesEveryRunAndSkippedOnes) {
  RunFolder folder("codes");
  ASSERT_EQ(run(folder, testing::deck_with_cases({{}, {1}, {0, ANALYSIS_KIND_CAP_STIFFNESS}}, {{}, {1}})), 0);
  std::vector<std::string> expected = {
      "COMPUTATION RESULTS",
      TITLE,
      "LOAD CASES RESULTS ",
      "LOAD CASE :     1",
      "      ANALYSIS DUE TO TOTAL LOAD",
      "    1 ANALYSIS COMPLETED",
      "LOAD CASE :     2",
      "       ANALYSIS TO NOT RUN   ",
      "     9 ANALYSIS NOT PERFORMED",
      "LOAD CASE :     3",
  };
  // The stiffness estimation runs its ten default factors (0.1, then
  // log10 of 2 to 10), one run each with the pair count before it, then
  // the total load.
  for (int p = 1; p <= 10; ++p) {
    char factor[16];
    std::snprintf(factor, sizeof factor, "%12.5f", p == 1 ? double(0.1f) : std::log10(double(p)));
    char point[96], run[96];
    std::snprintf(point, sizeof point, "      STIFFNESS ESTIMATION, POINT : %4d/  10 FACTOR : %s", p, factor);
    std::snprintf(run, sizeof run, "      STIFFNESS ESTIMATION, ITER : %5d FACTOR : %s", p == 1 ? 0 : 1, factor);
    expected.insert(expected.end(), {point, run, "    1 ANALYSIS COMPLETED"});
  }
  expected.insert(expected.end(), {"      ANALYSIS DUE TO TOTAL LOAD", "    1 ANALYSIS COMPLETED"});
  expected.insert(expected.end(), {
                                      "LOAD COMBINATIONS RESULTS ",
                                      "LOAD COMB. :     1",
                                      "      ANALYSIS DUE TO TOTAL LOAD",
                                      "    1 ANALYSIS COMPLETED",
                                      "LOAD COMB. :     2",
                                      "       ANALYSIS TO NOT RUN   ",
                                      "     9 ANALYSIS NOT PERFORMED",
                                  });
  EXPECT_EQ(folder.lines(RunFolder::RESULT_CODES_LINE), expected);
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  EXPECT_EQ(count_lines(log, "     NOTE: LOAD CASE WILL NOT BE ANALYZED"), 1);
  EXPECT_EQ(count_lines(log, "     NOTE: LOAD COMB WILL NOT BE ANALYZED"), 1);
  // A skipped case has no FINISHED line; the others have one each.
  EXPECT_EQ(count_lines(log, "     ANALYSIS FOR LOAD CASE   1/  3 FINISHED"), 1);
  EXPECT_EQ(count_lines(log, "     ANALYSIS FOR LOAD CASE   2/  3 FINISHED"), 0);
  EXPECT_EQ(count_lines(log, "     ANALYSIS FOR LOAD CASE   3/  3 FINISHED"), 1);
  EXPECT_EQ(count_lines(log, "     ANALYSIS FOR LOAD COMB.   1/  2 FINISHED"), 1);
  EXPECT_EQ(count_lines(log, "     ANALYSIS FOR LOAD COMB.   2/  2 FINISHED"), 0);
  EXPECT_EQ(last_message(folder), "     ANALYSIS COMPLETED");
}

// Regression: a deck that asks for the envelopes of its combinations but has
// none printed the case envelopes again under the combinations' titles.
TEST_F(RunLoopTest, NoCombinationsNoCombinationEnvelopes) {
  std::FILE* file = std::fopen(PILECAP_EXAMPLES "/bent_2d.inp", "rb");
  ASSERT_NE(file, nullptr);
  std::string deck;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) deck.push_back(static_cast<char>(c));
  std::fclose(file);
  const std::size_t from = deck.find("LOAD COMBINATIONS\n");
  const std::size_t to = deck.find("DISTRIBUTED LOAD SETS");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  std::string columns;
  for (int k = 0; k < 25; ++k) columns.append(k == 0 ? "1" : " 1");
  deck.replace(from, to - from, "LOAD COMBINATIONS\n0 1 1 10 0\n" + columns + "\n");
  RunFolder folder("no_combinations");
  ASSERT_EQ(run(folder, deck), 0);
  const std::string results = folder.read(RunFolder::RESULTS_LINE);
  EXPECT_EQ(results.find("LOAD COMB. ENV"), std::string::npos);
  EXPECT_EQ(count_lines(folder.lines(RunFolder::RESULT_CODES_LINE), "LOAD COMB. ENV : 1"), 0);
  EXPECT_EQ(last_message(folder), "     ANALYSIS COMPLETED");
}

TEST_F(RunLoopTest, StatusFileHoldsOnlyTheNewestRecord) {
  RunFolder folder("status");
  ASSERT_EQ(run(folder, testing::deck_with_cases({{}, {}, {}}, {})), 0);
  EXPECT_EQ(folder.read(RunFolder::STATUS_LINE), "- ANALYSIS FOR LOAD CASE   3/  3 FINISHED\n\n\n");
}

TEST_F(RunLoopTest, StatusFileEndsOnTheStartOfASkippedCombination) {
  RunFolder folder("statusskip");
  ASSERT_EQ(run(folder, testing::deck_with_cases({{}}, {{}, {1}})), 0);
  EXPECT_EQ(folder.read(RunFolder::STATUS_LINE), "- ANALYSIS FOR LOAD COMB.   2/  2 STARTED\n\n\n");
}

// A stop file written with the given content after case 1 (between cases),
// or before the run.
struct StopCase {
  const char* name;
  const char* content;
  bool before_run;
  bool stops;
  std::vector<int> cases_finished;
};

TEST_F(RunLoopTest, StopRequestsBeforeAndBetweenCases) {
  const StopCase table[] = {
      {"one before the run", "1\n", true, true, {}},
      {"one between cases", "1\n", false, true, {1}},
      {"two between cases", "2\n", false, false, {1, 2, 3}},
      {"a word between cases", "STOP\n", false, false, {1, 2, 3}},
      {"nothing between cases", "", false, false, {1, 2, 3}},
  };
  for (const StopCase& c : table) {
    SetUp();
    RunFolder folder("stopcase");
    if (c.before_run) {
      folder.put(RunFolder::STOP_LINE, c.content);
    } else {
      hook_state.stop_after_case = 1;
      hook_state.stop_content = c.content;
    }
    ASSERT_EQ(run(folder, testing::deck_with_cases({{}, {}, {}}, {{}})), 0) << c.name;
    std::vector<int> finished;
    for (const SeenRun& s : hook_state.seen) {
      if (s.run_kind == RUN_KIND_CASE) finished.push_back(s.index);
    }
    EXPECT_EQ(finished, c.cases_finished) << c.name;
    EXPECT_EQ(last_message(folder), c.stops ? "      *** ANALYSIS STOPPED BY USER ***" : "     ANALYSIS COMPLETED")
        << c.name;
    const auto codes = folder.lines(RunFolder::RESULT_CODES_LINE);
    EXPECT_EQ(count_lines(codes, "LOAD CASE :     2"), c.stops ? 0 : 1) << c.name;
    EXPECT_EQ(count_lines(codes, "LOAD COMB. :     1"), c.stops ? 0 : 1) << c.name;
    if (c.stops && !c.before_run) {
      // Case 2 never started: its STARTED record is missing.
      EXPECT_EQ(folder.read(RunFolder::STATUS_LINE), "- ANALYSIS FOR LOAD CASE   1/  3 FINISHED\n\n\n") << c.name;
    }
  }
}

TEST_F(RunLoopTest, EachRunReceivesItsControlValues) {
  RunFolder folder("controls");
  std::vector<DeckCase> cases(2);
  cases[0].tolerance = 0.125;
  cases[1].tolerance = 0.375;
  ASSERT_EQ(run(folder, testing::deck_with_cases(cases, {{0, 0.75, 0.5}})), 0);
  ASSERT_EQ(hook_state.seen.size(), 3u);
  const SeenRun& first = hook_state.seen[0];
  const SeenRun& second = hook_state.seen[1];
  const SeenRun& combination = hook_state.seen[2];
  EXPECT_EQ(first.current_run, 1);
  EXPECT_EQ(first.current_combination, 0);
  EXPECT_EQ(first.tolerance, 0.125);
  EXPECT_EQ(first.threads_wanted, 2);
  EXPECT_EQ(first.output_option, 2);
  EXPECT_EQ(first.load_scale_1, 1.0);
  EXPECT_EQ(first.load_scale_2, 1.0);
  // Every analysed run of a pass moves the envelope counter on by one.
  EXPECT_EQ(first.first_run, 2);
  EXPECT_EQ(second.current_run, 2);
  EXPECT_EQ(second.tolerance, 0.375);
  EXPECT_EQ(second.first_run, 3);
  EXPECT_EQ(combination.run_kind, RUN_KIND_COMBINATION);
  EXPECT_EQ(combination.current_run, 1);
  EXPECT_EQ(combination.current_combination, 1);
  EXPECT_EQ(combination.tolerance, 0.5);
  EXPECT_EQ(combination.threads_wanted, 0);
  EXPECT_EQ(combination.load_scale_1, 0.75);
  EXPECT_EQ(combination.load_scale_2, 0.5);
  EXPECT_EQ(combination.first_run, 2);
  EXPECT_EQ(AnalysisControl.pass_mode, 0);
}

// Regression: a refused model wrote a plot-data file as if it had been analysed.
TEST_F(RunLoopTest, RefusedModelWritesNoPlotData) {
  RunFolder folder("plot");
  // A 3D plate cap under an embedded cap is not analysed.
  testing::Deck3D d;
  d.piles = {{0.0, 0.0}};
  d.length = 60.0;  // its tip inside the soil layers
  d.increments = 60;
  d.layers = {{1, 0.0, 80.0, {56, 700, 0, 100, 0, 0.01, 0.5}}};
  d.cases = {{.fx = 1000.0}};
  d.plot_export = 1;
  std::string deck = testing::deck_3d(d);
  const std::string options = "OPTIONS\n1 3 0 0 0 1 1 0 ";
  const std::string cap = "PILE CAP\n0 0 0 0 0 0\n";
  ASSERT_NE(deck.find(options), std::string::npos);
  ASSERT_NE(deck.find(cap), std::string::npos);
  deck.replace(deck.find(cap), cap.size(), "PILE CAP\n12 12 3 0 0 0\n0 0 2 2 3000 0.2\n");
  deck.replace(deck.find(options), options.size(), "OPTIONS\n1 3 1 1 0 1 1 0 ");
  ASSERT_EQ(run(folder, deck), 0);
  EXPECT_NE(folder.read(RunFolder::RUN_LOG_LINE).find("IS NOT YET SUPPORTED, RUN NOT ANALYZED"), std::string::npos);
  EXPECT_EQ(RunFolder::read_file(folder.path(RunFolder::CURVE_EXPORT_LINE)), "");
}

}  // namespace
}  // namespace pilecap
