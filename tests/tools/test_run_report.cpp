// The stand-in host's reading of a run: outcomes from the result-code file
// with names and pile warnings from the run log, the final message, and the
// progress lines rebuilt from status records of which a poll sees only some.
// The file texts are laid out as the engine writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/run_report.hpp"

namespace pilecap::host {
namespace {

const std::vector<std::string> RESULT_CODES = {
    "COMPUTATION RESULTS",
    "2 PILES UNDER A CAP",  // a title that starts like a result-code line
    "LOAD CASES RESULTS ",
    "LOAD CASE :     1",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "    1 ANALYSIS COMPLETED",
    "LOAD CASE :     2",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "    2 SOLUTION AT     1.56 % OF THE TOTAL LOAD",
    "LOAD CASE :     3",
    "       ANALYSIS TO NOT RUN   ",
    "     9 ANALYSIS NOT PERFORMED",
    "LOAD CASE :     4",
    "      STIFFNESS ESTIMATION, POINT :    1/   2 FACTOR :      0.50000",
    "    1 ANALYSIS COMPLETED",
    "      STIFFNESS ESTIMATION, POINT :    2/   2 FACTOR :      1.00000",
    "    2 SOLUTION AT    80.00 % OF THE TOTAL LOAD",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "    2 SOLUTION AT    62.50 % OF THE TOTAL LOAD",
    "LOAD CASE :     5",
    "      DOF :     1 POINT :     1",
    "    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO",
    "LOAD CASE :     6",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "    3 NO CONVERGENCE ON PILE CAP",
    "LOAD CASE :     7",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "LOAD CASE ENV : 1",
    "      MINIMUM ENVELOPE",
    "    1 CALCULATED AND PRINTED",
    "LOAD COMBINATIONS RESULTS ",
    "LOAD COMB. :     1",
    "      ANALYSIS DUE TO TOTAL LOAD",
    "   10 ANALYSIS COMPLETED",
};

const std::vector<std::string> RUN_LOG = {
    "     READING LOAD CASES",
    "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    9",  // while curves are generated
    "     LOAD CASE :     1",
    "     CASE NAME : DEAD LOAD                                                   ",
    "     ANALYSIS FOR LOAD CASE   1/  7 FINISHED",
    "     LOAD CASE :     2",
    "     CASE NAME : OVERLOAD",
    "     ** WARNING **  SOME PILES MAY FAIL IN BEARING!",
    "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    1",
    "                    AX. DISP.=  0.3691E+01 >   0.2094E+01     AX. FORCE=  0.0000E+00",
    "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    2",
    "     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO",
    "     ANALYSIS FOR LOAD CASE   2/  7 FINISHED",
    "     LOAD CASE :     3",
    "     CASE NAME : SKIPPED",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "     LOAD CASE :     4",
    "     CASE NAME :",
    "     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    4",
    "     LOAD COMB. :     1",
    "     COMB. NAME : 1.2 DEAD + 1.6 WIND",
};

TEST(RunOutcomes, EveryRunWithItsNameWorstCodeAndPileWarnings) {
  const std::vector<std::string> expected = {
      "load case 1 \"DEAD LOAD\": completed, no pile warnings",
      "load case 2 \"OVERLOAD\": partial at 1.56 % of the load, 2 pile warnings",
      "load case 3 \"SKIPPED\": not analysed: marked not to be analysed",
      "load case 4: partial at 62.50 % of the load, 1 pile warning",
      "load case 5: not analysed (the applied force at the cap is zero)",
      "load case 6: no convergence on the pile cap, no pile warnings",
      "load case 7: no result recorded",
      "load combination 1 \"1.2 DEAD + 1.6 WIND\": completed, no pile warnings",
  };
  const auto runs = read_run_outcomes(RESULT_CODES, RUN_LOG);
  ASSERT_EQ(runs.size(), expected.size());
  for (std::size_t k = 0; k < runs.size(); ++k) EXPECT_EQ(describe(runs[k]), expected[k]);
}

// A run the engine refused says why on its line; a case the deck marks not
// to be analysed has no reason to give.
TEST(RunOutcomes, RefusedRunShowsTheReasonOfItsNote) {
  const std::vector<std::string> codes = {"LOAD CASE :     1", "     9 ANALYSIS NOT PERFORMED",
                                          "LOAD CASE :     2", "    1 ANALYSIS COMPLETED",
                                          "LOAD CASE :     3", "     9 ANALYSIS NOT PERFORMED"};
  const std::vector<std::string> log = {
      "     LOAD CASE :     1",
      "     CASE NAME : STIFFNESS",
      "     NOTE: ESTIMATION AND PUSHOVER POINTS NEED A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT ANALYZED",
      "     LOAD CASE :     2",
      "     LOAD CASE :     3",
      "     NOTE: LOAD CASE WILL NOT BE ANALYZED"};
  const auto runs = read_run_outcomes(codes, log);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(describe(runs[0]),
            "load case 1 \"STIFFNESS\": not analysed: estimation and pushover points need a rigid cap, not the plate "
            "model of the cap");
  EXPECT_EQ(describe(runs[1]), "load case 2: completed, no pile warnings");
  EXPECT_EQ(describe(runs[2]), "load case 3: not analysed: marked not to be analysed");
}

// A run stopped in case 2 inside its load steps, with a pushover case 1
// whose second point stopped part way and a refused case 3 before it.
TEST(RunOutcomes, StoppedRunPushoverPointsAndRefusalReasons) {
  const std::vector<std::string> codes = {
      "LOAD CASES RESULTS ",
      "LOAD CASE :     1",
      "      INCREMENTAL/PUSHOVER ANALYSIS, POINT :    1/   2 FACTOR :      0.50000",
      "    1 ANALYSIS COMPLETED",
      "      INCREMENTAL/PUSHOVER ANALYSIS, POINT :    2/   2 FACTOR :      2.00000",
      "    2 SOLUTION AT    68.75 % OF THE TOTAL LOAD",
      "      ANALYSIS DUE TO TOTAL LOAD",
      "    1 ANALYSIS COMPLETED",
      "LOAD CASE :     3",
      "       ANALYSIS TO NOT RUN   ",
      "     9 ANALYSIS NOT PERFORMED",
      "LOAD CASE :     4",
      "      ANALYSIS DUE TO TOTAL LOAD",
  };
  const std::vector<std::string> log = {
      "     LOAD CASE :     1",
      "     CASE NAME : PUSHED",
      "     GLOBAL ITERATIONS",
      "     STEP     1, TCUR     0.2500, DTCUR     0.2500",
      "     LOAD CASE :     3",
      "     NOTE: CLOSE-SPACING FACTORS WITH A PLATE CAP IS NOT YET SUPPORTED, RUN NOT ANALYZED",
      "     LOAD CASE :     4",
      "     GLOBAL ITERATIONS",
      "     STEP     1, TCUR     0.2500, DTCUR     0.2500",
      "     STEP     2, TCUR     0.5000, DTCUR     0.2500",
      "     STEP     3, TCUR     0.6250, DTCUR     0.1250",
  };
  const std::vector<std::string> echo = {
      "     NUMBER OF LOAD CASES :    5", "     LOAD CASE    :     1",  "     CASE NAME    : PUSHED",
      "     LOAD CASE    :     2",        "     CASE NAME    : SECOND", "     LOAD CASE    :     3",
      "     LOAD CASE    :     4",        "     LOAD CASE    :     5",  "     CASE NAME    : LAST",
      "     NUMBER OF LOAD COMB. :    1", "     LOAD COMB. :     1",    "     COMB. NAME : ALL",
  };
  struct Case {
    bool stopped;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {true,
       {"load case 1 \"PUSHED\": completed, 1 of its 2 pushover points partial, no pile warnings",
        "load case 3: not analysed: close-spacing factors with a plate cap is not supported",
        "load case 4: stopped by request at 50.00 % of the load, no results reported, no pile warnings",
        "load case 5 \"LAST\": not analysed: stopped by request",
        "load combination 1 \"ALL\": not analysed: stopped by request"}},
      // Without a stop the runs the engine never reached have no result.
      {false,
       {"load case 1 \"PUSHED\": completed, 1 of its 2 pushover points partial, no pile warnings",
        "load case 3: not analysed: close-spacing factors with a plate cap is not supported",
        "load case 4: no result recorded", "load case 5 \"LAST\": no result recorded",
        "load combination 1 \"ALL\": no result recorded"}},
  };
  for (const Case& c : cases) {
    auto runs = read_run_outcomes(codes, log);
    settle_unreached_runs(runs, echo, c.stopped);
    std::vector<std::string> lines;
    for (const RunOutcome& run : runs) lines.push_back(describe(run));
    EXPECT_EQ(lines, c.lines) << c.stopped;
    EXPECT_FALSE(fully_completed(runs.front()));
  }
}

TEST(RunOutcomes, StopAndInputWarningsInTheRunLog) {
  EXPECT_TRUE(analysis_stopped({"*** ANALYSIS STOPPED BY USER ***"}));
  EXPECT_FALSE(analysis_stopped({"ANALYSIS COMPLETED"}));
  EXPECT_FALSE(analysis_stopped({}));
  const std::vector<std::string> log = {
      "     READING LOAD CASES",
      "     ** WARNING **  INPUT SECTION 3 (LOAD CASES), LINE 23 HOLDS 7 VALUES, 6 ARE READ",
      "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    9",
  };
  EXPECT_EQ(
      input_warnings(log),
      (std::vector<std::string>{"** WARNING **  INPUT SECTION 3 (LOAD CASES), LINE 23 HOLDS 7 VALUES, 6 ARE READ"}));
}

TEST(RunOutcomes, NoResultCodeFileListsNoRuns) { EXPECT_TRUE(read_run_outcomes({}, RUN_LOG).empty()); }

TEST(FinalMessage, TheLinesAboveTheLastExecutionTime) {
  const std::vector<std::string> timing = {"     Execution Time    :  237 ms", "     Number Processors :  1/ 8"};
  const std::vector<std::string> case_end = {"     ANALYSIS FOR LOAD CASE   1/  1 FINISHED", "",
                                             "     Execution Time    :  237 ms", "     Number Processors :  1/ 8",
                                             "     Serial processing :     0.208 sec"};
  struct Case {
    const char* name;
    std::vector<std::string> tail;  // the log after the case's timing block
    std::vector<std::string> message;
  };
  const std::vector<Case> cases = {
      {"completed", {"     ", "     ANALYSIS COMPLETED"}, {"ANALYSIS COMPLETED"}},
      {"input error",
       {"     ", "     * ERROR IN ANALYSIS *", "     ERROR IN INPUT DATA",
        "     INPUT SECTION 3 (LOAD CASES), LINE 17: 'O'"},
       {"* ERROR IN ANALYSIS *", "ERROR IN INPUT DATA", "INPUT SECTION 3 (LOAD CASES), LINE 17: 'O'"}},
      {"stopped", {"     ", "      *** ANALYSIS STOPPED BY USER ***"}, {"*** ANALYSIS STOPPED BY USER ***"}},
      {"empty detail line",
       {"     ", "     * ERROR IN ANALYSIS *", "     FILE CANNOT BE OPENED", " "},
       {"* ERROR IN ANALYSIS *", "FILE CANNOT BE OPENED"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> log = case_end;
    log.insert(log.end(), c.tail.begin(), c.tail.end());
    log.insert(log.end(), timing.begin(), timing.end());
    EXPECT_EQ(final_message(log), c.message) << c.name;
    EXPECT_EQ(analysis_completed(final_message(log)), c.message.front() == "ANALYSIS COMPLETED") << c.name;
  }
  // A log cut off in a case (a killed run) has no final message, although a
  // case's timing block ends it.
  EXPECT_TRUE(final_message(case_end).empty());
  EXPECT_FALSE(analysis_completed(final_message(case_end)));
}

TEST(Progress, RecordsOfTheRunLoopAndTheSolver) {
  struct Case {
    const char* text;
    bool parsed;
    RunKind kind;
    int number, total;
    bool finished;
  };
  const std::vector<Case> cases = {
      {"- ANALYSIS FOR LOAD CASE   2/  3 STARTED\n\n\n", true, RunKind::Case, 2, 3, false},
      {"- ANALYSIS FOR LOAD CASE   3/  3 FINISHED\n\n\n", true, RunKind::Case, 3, 3, true},
      {"- ANALYSIS FOR LOAD COMB.   1/  2 STARTED\n\n\n", true, RunKind::Combination, 1, 2, false},
      {"- ANALYSIS FOR LOAD CASE   1/  4 ( 4/ 8 proc.)\n STEP:    2 TCUR:    0.5000 ITERATION:    3\n\n", true,
       RunKind::Case, 1, 4, false},
      {"- ANALYSIS FOR LOAD COMB   2/  2 ( 1/ 8 proc.)\n STEP:    1 COMPLETED\n\n", true, RunKind::Combination, 2, 2,
       false},
      {" - ANALYSIS STARTED\n\n", false, RunKind::Case, 0, 0, false},
      {"", false, RunKind::Case, 0, 0, false},
      {"- ANALYSIS FOR LOAD CASE   2/  3 STAR", false, RunKind::Case, 0, 0, false},
      {"- ANALYSIS FOR LOAD CASE   2/", false, RunKind::Case, 0, 0, false},
      {"- ANALYSIS FOR LOAD CASE   4/  3 STARTED\n", false, RunKind::Case, 0, 0, false},
  };
  for (const Case& c : cases) {
    const auto record = parse_progress(c.text);
    ASSERT_EQ(record.has_value(), c.parsed) << c.text;
    if (!record) continue;
    EXPECT_EQ(record->kind, c.kind) << c.text;
    EXPECT_EQ(record->number, c.number) << c.text;
    EXPECT_EQ(record->total, c.total) << c.text;
    EXPECT_EQ(record->finished, c.finished) << c.text;
  }
}

// Where a solver is within its run, from the second line of its record:
// the step, the share of the load being solved (or reached, after a step),
// the iteration, and the DOF or point of a run that has them.
TEST(Progress, SolverPositionWithinARun) {
  struct Case {
    const char* text;
    const char* line;  // describe_progress; empty: nothing to show
  };
  const std::vector<Case> cases = {
      {"- ANALYSIS FOR LOAD CASE   1/  4 ( 4/ 8 proc.)\n STEP:    2 TCUR:    0.3750 ITERATION:    3\n\n",
       "load case 1/4: step 2, 37.50 % of the load, iteration 3"},
      {"- ANALYSIS FOR LOAD COMB   2/  2 ( 1/ 8 proc.)\n STEP:   12 TCUR:    0.0500 COMPLETED\n\n",
       "load combination 2/2: step 12 ended, 5.00 % of the load reached"},
      {"- ANALYSIS FOR LOAD CASE   3/  3 ( 2/ 8 proc.)\n DOF:  2/  1 STEP:    1 TCUR:    0.500 ITERATION:    7\n\n",
       "load case 3/3, DOF 2, level 1: step 1, 50.00 % of the load, iteration 7"},
      {"- ANALYSIS FOR LOAD CASE   1/  1 ( 2/ 8 proc.)\n POINT:  3/  4 STEP:    5 TCUR:    1.000 COMPLETED\n\n",
       "load case 1/1, point 3: step 5 ended, 100.00 % of the load reached"},
      {"- ANALYSIS FOR LOAD COMB   2/  2 ( 1/ 8 proc.)\n STEP:    1 COMPLETED\n\n", ""},
      {"- ANALYSIS FOR LOAD CASE   1/  4 ( 4/ 8 proc.)\n STEP:    2 TCUR:    0.37", ""},
      {"- ANALYSIS FOR LOAD CASE   2/  3 STARTED\n\n\n", ""},
  };
  for (const Case& c : cases) {
    const auto record = parse_progress(c.text);
    ASSERT_TRUE(record.has_value()) << c.text;
    EXPECT_EQ(describe_progress(*record), c.line) << c.text;
  }
}

ProgressRecord progress(RunKind kind, int number, int total, bool finished) {
  ProgressRecord record;
  record.kind = kind;
  record.number = number;
  record.total = total;
  record.finished = finished;
  return record;
}

TEST(Progress, MissedRecordsAreFilledInAndOldOnesIgnored) {
  struct Step {
    ProgressRecord seen;
    std::vector<std::string> lines;
  };
  const std::vector<Step> steps = {
      {progress(RunKind::Case, 2, 3, false), {"load case 1/3 started", "load case 1/3 ended", "load case 2/3 started"}},
      {progress(RunKind::Case, 2, 3, false), {}},  // seen again
      {progress(RunKind::Case, 2, 3, true), {"load case 2/3 ended"}},
      {progress(RunKind::Case, 1, 3, true), {}},  // older
      {progress(RunKind::Combination, 2, 2, false),
       {"load case 3/3 started", "load case 3/3 ended", "load combination 1/2 started", "load combination 1/2 ended",
        "load combination 2/2 started"}},
      {progress(RunKind::Combination, 2, 2, true), {"load combination 2/2 ended"}},
  };
  ProgressTracker tracker;
  for (const Step& step : steps) EXPECT_EQ(tracker.advance(step.seen), step.lines);

  // A run whose first record seen is a combination's knows nothing of its cases.
  ProgressTracker late;
  EXPECT_EQ(late.advance(progress(RunKind::Combination, 1, 1, true)),
            (std::vector<std::string>{"load combination 1/1 started", "load combination 1/1 ended"}));
}

}  // namespace
}  // namespace pilecap::host
