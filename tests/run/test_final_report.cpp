// The final message of every status code, the time layouts and the thread
// count rule, compared as exact text and as a truth table.
#include <gtest/gtest.h>
#include <omp.h>

#include <string>
#include <vector>

#include "model/analysis_control.hpp"
#include "plate/plate.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

// The run log text REPORT_FINAL_STATUS writes before the execution time.
std::string final_message_text(int status) {
  fio::clear_write_failure();
  fio::open_memory(UNIT_RUN_LOG);
  int word = status;
  REPORT_FINAL_STATUS(word);
  const std::string log = fio::memory_contents(UNIT_RUN_LOG);
  return log.substr(0, log.find("     Execution Time"));
}

class FinalMessageTest : public testing::EngineTest {};

TEST_F(FinalMessageTest, LinesOfEachCode) {
  struct Case {
    int code;
    const char* text;
  };
  const std::vector<Case> cases = {
      {0, "     \n     ANALYSIS COMPLETED\n"},
      {4, "     \n      *** ANALYSIS STOPPED BY USER ***\n"},
      {1, "     \n     * ERROR IN ANALYSIS *\n     1, UNKNOWN CODE\n"},
      {13,
       "     \n     * ERROR IN ANALYSIS *\n     PILE LENGTH EXTENDS BELOW THE BOTTOM\n"
       "     OF THE DEEPEST LAYER, NODE2D\n"},
      {24,
       "     \n     * ERROR IN ANALYSIS *\n     CURRENT DEPTH IS BEYOND THE EXTENT\n"
       "     OF INPUT CURVE FOR FRICTION ANGLE\n"},
      {27,
       "     \n     * ERROR IN ANALYSIS *\n     CURRENT DEPTH IS BEYOND THE EXTENT\n"
       "     OF INPUT CURVE FOR FRICTION ANGLE\n"},
      {33, "     \n     * ERROR IN ANALYSIS *\n       LS CURVE, COHESION VALUE IS ZERO\n"},
      {36,
       "     \n     * ERROR IN ANALYSIS *\n      CONVERGENCE ERROR, \n"
       "      WHILE COMPUTING AXIAL FORCES ALONG PILE\n"},
      {7, "     \n     * ERROR IN ANALYSIS *\n                7, UNKNOWN CODE\n"},
      {43,
       "     \n     * ERROR IN ANALYSIS *\n     CONVERGENCE ERROR WHILE GENERATING\n"
       "     LOAD-SETTLEMENT OR TORQUE-ROTATION CURVE\n"},
      {44,
       "     \n     * ERROR IN ANALYSIS *\n     GJ (TORSIONAL RIGIDITY) OF A PILE SECTION IS ZERO\n"
       "     TORQUE-ROTATION CURVE NOT GENERATED\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(final_message_text(c.code), c.text) << c.code;
}

TEST_F(FinalMessageTest, EngineCodesCarryTheirDetailLine) {
  SET_STATUS_DETAIL("    INPUT SECTION 7, LINE 23: 1.5X");
  EXPECT_EQ(final_message_text(STATUS_INPUT_DATA_ERROR),
            "     \n     * ERROR IN ANALYSIS *\n     ERROR IN INPUT DATA\n     INPUT SECTION 7, LINE 23: 1.5X\n");
  SET_STATUS_DETAIL("    run.inp");
  EXPECT_EQ(final_message_text(STATUS_FILE_ERROR),
            "     \n     * ERROR IN ANALYSIS *\n     FILE CANNOT BE OPENED\n     run.inp\n");
  SET_STATUS_DETAIL("    pile.scr");
  EXPECT_EQ(final_message_text(STATUS_SCRATCH_FILE_ERROR),
            "     \n     * ERROR IN ANALYSIS *\n     PILE RESULTS SCRATCH FILE CANNOT BE WRITTEN OR READ\n"
            "     pile.scr\n");
  SET_STATUS_DETAIL("    ZERO PIVOT AT PLATE EQUATION 9 (NODE 2, DOF 3)");
  EXPECT_EQ(final_message_text(STATUS_PLATE_ERROR),
            "     \n     * ERROR IN ANALYSIS *\n     ERROR IN THE PLATE MODEL OF THE CAP\n"
            "     ZERO PIVOT AT PLATE EQUATION 9 (NODE 2, DOF 3)\n");
  SET_STATUS_DETAIL("");
}

class TimeLayoutTest : public testing::EngineTest {};

TEST_F(TimeLayoutTest, MillisecondsSecondsMinutesHours) {
  struct Case {
    double seconds;
    const char* text;
  };
  const std::vector<Case> cases = {
      {0.25, "     Execution Time    :  250 ms\n"},
      {59.9996, "     Execution Time    :   59 sec  999 ms\n"},
      {75.5, "     Execution Time    :    1 min   15 sec  500 ms\n"},
      {3725.5, "     Execution Time    :       1 hr    2 min    5 sec  500 ms\n"},
  };
  for (const Case& c : cases) {
    fio::open_memory(UNIT_RUN_LOG);
    WRITE_TIME_LINE(UNIT_RUN_LOG, c.seconds);
    EXPECT_EQ(fio::memory_contents(UNIT_RUN_LOG), c.text) << c.seconds;
    fio::close(UNIT_RUN_LOG);
  }
}

class ThreadCountTest : public testing::EngineTest {};

TEST_F(ThreadCountTest, RuleTruthTable) {
  struct Case {
    int requested, processors, work, pair, expected;
  };
  const std::vector<Case> cases = {
      {0, 8, 5, 0, 5},   {0, 8, 100, 0, 6},  {0, 2, 100, 0, 1},  {0, 3, 100, 0, 2},
      {0, 1, 100, 0, 1}, {12, 8, 100, 0, 8}, {3, 8, 100, 0, 3},  {0, 8, 100, 1, 2},
      {5, 8, 100, 1, 2}, {0, 8, 0, 0, 1},    {-4, 8, 100, 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(THREAD_COUNT_RULE(c.requested, c.processors, c.work, c.pair), c.expected)
        << c.requested << " " << c.processors << " " << c.work << " " << c.pair;
  }
}

TEST_F(ThreadCountTest, SetRaisesTheCounters) {
  int used_max = 1;
  int used_run = 1;
  SET_THREAD_COUNT(2, 2, used_max, used_run, 10, 0);
  EXPECT_GE(used_max, 1);
  EXPECT_EQ(used_max, used_run);
  SET_THREAD_COUNT(1, 2, used_max, used_run, 10, 0);
  EXPECT_GE(used_max, 1) << "a smaller count never lowers the maxima";
}

TEST_F(ThreadCountTest, SetTakesNoMoreThanTheFreeProcessors) {
  struct Case {
    int requested, free, expected;
  };
  const int processors = omp_get_num_procs();
  const std::vector<Case> cases = {
      {processors, 1, 1},           // a busy machine: one thread, whatever was asked
      {processors, 0, processors},  // free processors not known: the rule alone
      {1, processors, 1},
      {processors, processors + 4, processors},
  };
  for (const Case& c : cases) {
    AnalysisControl.threads_free = c.free;
    int used_max = 1;
    int used_run = 1;
    SET_THREAD_COUNT(c.requested, processors, used_max, used_run, 100, 0);
    EXPECT_EQ(omp_get_max_threads(), c.expected) << c.requested << " requested, " << c.free << " free";
    EXPECT_EQ(used_max, c.expected);
  }
}

TEST_F(ThreadCountTest, RunningTasksOfTheMachine) {
  struct Case {
    std::string statistics;
    int expected;
  };
  const std::vector<Case> cases = {
      {"cpu  1 2 3\nprocesses 8151\nprocs_running 9\nprocs_blocked 0\n", 9},
      {"procs_running 1", 1},
      {"procs_running   12\n", 12},
      {"procs_running_total 3\nprocs_blocked 0\n", -1},
      {"procs_blocked 2\n", -1},
      {"procs_running x\n", -1},
      {"", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(RUNNING_TASKS_IN_STATISTICS(c.statistics), c.expected) << c.statistics;
}

TEST_F(ThreadCountTest, StateOfATask) {
  struct Case {
    std::string stat;
    bool running;
  };
  const std::vector<Case> cases = {
      {"4242 (pilecap-run) R 4000 4242 4000 34816", true},
      {"4243 (pilecap-run) S 4000 4242 4000 34816", false},
      {"4244 (a) R (b) S 1 2 3", false},  // the name is "a) R (b"
      {"4245 (x y) R 1", true},
      {"4246 (cut", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(TASK_STAT_RUNNING(c.stat), c.running) << c.stat;
}

TEST_F(ThreadCountTest, RuntimeWaitThatSpins) {
  // Only a long spin keeps the run to the free processors; the runtime reads
  // a spin count of its own before the policy, and ignores what it cannot read.
  struct Case {
    const char* policy;
    const char* spin_count;
    bool spins;
  };
  const std::vector<Case> cases = {
      {nullptr, nullptr, true},  // the runtime's default: milliseconds
      {"PASSIVE", nullptr, false}, {" passive ", nullptr, false},   {"ACTIVE", nullptr, true},
      {"sleepy", nullptr, true},  // not a policy: the default
      {nullptr, "1000", false},    {nullptr, "30000", false},       {nullptr, "30001", true},
      {nullptr, "30k", false},     {nullptr, "300k", true},         {nullptr, "1M", true},
      {nullptr, "infinite", true}, {"PASSIVE", "infinity", true},   {"ACTIVE", "0", false},
      {nullptr, "abc", true},      {"PASSIVE", "abc", false},       {nullptr, "10x", true},
      {nullptr, "-5", true},       {nullptr, "99999999999T", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RUNTIME_WAIT_SPINS(c.policy, c.spin_count), c.spins)
        << (c.policy ? c.policy : "(unset)") << " / " << (c.spin_count ? c.spin_count : "(unset)");
  }
}

TEST_F(ThreadCountTest, FreeProcessorsOfThisMachine) {
  SET_FREE_PROCESSOR_SOURCE(nullptr);
  const int free = FREE_PROCESSORS();
  EXPECT_GE(free, 1) << "the machine's /proc gives the count";
  EXPECT_LE(free, omp_get_num_procs());
}

}  // namespace
}  // namespace pilecap
