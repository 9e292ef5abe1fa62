// Whole runs of small decks that each carry one bad value, and runs whose
// reports cannot be written: every one must end with its status and the
// final message that names the fault, never with "ANALYSIS COMPLETED", and
// within the bounds of its input. The decks are one change away from a
// one-pile 3D model that completes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "model/input_records.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

// One elastic pipe pile, 20 ft in 20 increments, in soft clay to 40 ft, one case.
Deck3D one_pile() {
  Deck3D d;
  d.title = "BAD INPUT BASE";
  d.piles = {{0.0, 0.0}};
  d.length = 20.0;
  d.increments = 20;
  d.layers = {{1, 0.0, 40.0, {50, 500, 0, 100, 0, 0.01, 0.5}}};
  DeckCase3D c;
  c.fx = 1000.0;
  c.fy = 100.0;
  c.initial_step = 0.5;
  d.cases = {c};
  return d;
}

std::string base_deck() { return deck_3d(one_pile()); }

const std::string INPUT_ERROR = "     ERROR IN INPUT DATA";
const std::string ERROR_HEADING = "     * ERROR IN ANALYSIS *";

// A text of a deck and what replaces it at its first occurrence.
struct DeckEdit {
  const char* find;
  const char* replace;
};

// The option line and the cap line of the base deck, which several cases edit.
constexpr const char* BASE_OPTIONS = "1 3 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
constexpr const char* BASE_CAP = "PILE CAP\n0 0 0 0 0 0\n";
constexpr const char* FIRST_CURVES_AFTER_SOIL = "GENERATED LOAD-SETTLEMENT CURVES\n";
constexpr const char* USER_PY_OPTIONS = "1 3 0 0 1 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
// A valid set of two curves, at 0 and 40 ft, before the curves that follow the soil.
constexpr const char* USER_PY_SET =
    "USER P-Y CURVES\n1\n7 2\n0\n2\n0 0\n100 1\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n";

struct BadInput {
  const char* name;
  const char* find;                 // text of the base deck, replaced at its first occurrence
  const char* replace;              // by this
  int section;                      // input section of the detail line
  const char* line;                 // the changed deck's line the detail names; nullptr: a pile
  const char* detail;               // the detail after the place
  std::vector<DeckEdit> more = {};  // further edits, made after the first
};

const std::vector<BadInput>& bad_inputs() {
  static const std::vector<BadInput> cases = {
      {"point-loads flag of 2", "CASE 1\n1 0 0 0 0 0 0 0\n", "CASE 1\n1 0 0 0 0 0 0 2\n", 3, "1 0 0 0 0 0 0 2",
       "'2' (POINT-LOADS FLAG NOT 0 OR 1)"},
      {"point-loads flag of -1", "CASE 1\n1 0 0 0 0 0 0 0\n", "CASE 1\n1 0 0 0 0 0 0 -1\n", 3, "1 0 0 0 0 0 0 -1",
       "'-1' (POINT-LOADS FLAG NOT 0 OR 1)"},
      {"initial step below the minimum step", "1e-07 1e-07 0.5 0.01", "1e-07 1e-07 0.005 0.01", 3,
       "1e-07 1e-07 0.005 0.01", "'0.005' (INITIAL STEP BELOW THE MINIMUM STEP 0.01)"},
      {"initial step of 1e-300", "1e-07 1e-07 0.5 0.01", "1e-07 1e-07 1e-300 1e-300", 3, "1e-07 1e-07 1e-300 1e-300",
       "'1e-300' (MAGNITUDE NOT 0 OR 1E-100 TO 1E+100)"},
      {"initial step that needs a million steps", "1e-07 1e-07 0.5 0.01", "1e-07 1e-07 1e-06 1e-06", 3,
       "1e-07 1e-07 1e-06 1e-06", "'1e-06' (THE FULL LOAD TAKES MORE THAN 10000 STEPS)"},
      {"Newton iteration limit of 2147483647", "0 0 0 1 100 200 200", "0 0 0 1 100 2147483647 200", 3,
       "0 0 0 1 100 2147483647 200", "'2147483647' (ITERATION LIMIT ABOVE 9998)"},
      {"lateral pile iteration limit of 2147483647", "0 0 0 1 100 200 200", "0 0 0 1 100 200 2147483647", 3,
       "0 0 0 1 100 200 2147483647", "'2147483647' (ITERATION LIMIT ABOVE 9998)"},
      {"pile ground line of 1.7976931348623157e308", "0 0 0 0 90 0 0\n", "0 0 0 0 90 0 1.7976931348623157e308\n", 7,
       "0 0 0 0 90 0 1.7976931348623157e308", "'1.7976931348623157e+308' (MAGNITUDE NOT 0 OR 1E-100 TO 1E+100)"},
      {"soil strain of 4.9e-324", "50 500 0 100 0 0.01 0.5\n", "50 500 0 100 0 4.9e-324 0.5\n", 10,
       "50 500 0 100 0 4.9e-324 0.5", "'5e-324' (MAGNITUDE NOT 0 OR 1E-100 TO 1E+100)"},
      {"load-settlement curve -2147483648", "2 2 1 0 1 1 0 0 0 0\n", "2 2 1 0 -2147483648 1 0 0 0 0\n", 7, nullptr,
       "'-2147483648' (NO LOAD-SETTLEMENT CURVE FOR THE PILE)"},
      {"generated curve -2147483648", "2 2 1 0 1 1 0 0 0 0\n", "2 2 1 0 0 1 0 0 -2147483648 0\n", 7, nullptr,
       "'-2147483648' (NO GENERATED LOAD-SETTLEMENT CURVE FOR THE PILE)"},
      // The generated curve is named as the input gives it, not negated.
      {"generated curve 9 of none", "2 2 1 0 1 1 0 0 0 0\n", "2 2 1 0 0 1 0 0 9 0\n", 7, nullptr,
       "'9' (NO GENERATED LOAD-SETTLEMENT CURVE FOR THE PILE)"},
      // Increments beyond the node tables, with user axial curves only.
      {"increments 0", "1 1\n20 20 1\n", "1 1\n0 20 1\n", 8, "0 20 1", "'0' (INCREMENTS NOT 1 TO 200)"},
      {"increments 201", "1 1\n20 20 1\n", "1 1\n201 20 1\n", 8, "201 20 1", "'201' (INCREMENTS NOT 1 TO 200)"},
      {"increments -5", "1 1\n20 20 1\n", "1 1\n-5 20 1\n", 8, "-5 20 1", "'-5' (INCREMENTS NOT 1 TO 200)"},
      {"increments -2147483648", "1 1\n20 20 1\n", "1 1\n-2147483648 20 1\n", 8, "-2147483648 20 1",
       "'-2147483648' (INCREMENTS NOT 1 TO 200)"},
      {"head connection 4", "2 2 1 0 1 1 0 0 0 0\n", "2 4 1 0 1 1 0 0 0 0\n", 7, "2 4 1 0 1 1 0 0 0 0",
       "'4' (HEAD CONNECTION NOT 1, 2 OR 3)"},
      {"head connection 0", "2 2 1 0 1 1 0 0 0 0\n", "0 2 1 0 1 1 0 0 0 0\n", 7, "0 2 1 0 1 1 0 0 0 0",
       "'0' (HEAD CONNECTION NOT 1, 2 OR 3)"},
      {"pushover flag 2", "0 1 1.0 0 0 0 0 0 0 0 0\n", "0 1 1.0 0 0 0 0 0 0 2 0\n", 3, "0 1 1.0 0 0 0 0 0 0 2 0",
       "'2' (PUSHOVER FLAG NOT 0 OR 1)"},
      {"pushover flag -1", "0 1 1.0 0 0 0 0 0 0 0 0\n", "0 1 1.0 0 0 0 0 0 0 -1 0\n", 3, "0 1 1.0 0 0 0 0 0 0 -1 0",
       "'-1' (PUSHOVER FLAG NOT 0 OR 1)"},
      // Named at the count, not at the first factor line read as what follows.
      {"negative pushover count", "0\n0\n0\n0 0 0 0 0 0 0 0\n", "0\n0\n-2\n0.5\n1\n0 0 0 0 0 0 0 0\n", 3, "-2",
       "'-2' (PUSHOVER FACTOR COUNT BELOW 0)"},
      {"cap model 3", BASE_OPTIONS, "1 3 0 3 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n", 1,
       "1 3 0 3 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "'3' (THE CAP MODEL OPTION IS 0, 1 OR 2)"},
      // A plate line after it would otherwise be read as the load-case header.
      {"cap model -1",
       BASE_OPTIONS,
       "1 3 0 -1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
       1,
       "1 3 0 -1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
       "'-1' (THE CAP MODEL OPTION IS 0, 1 OR 2)",
       {{BASE_CAP, "PILE CAP\n10 10 3 0 0 0\n0 0 2 2 3e6 0.2\n"}}},
      {"plate Young modulus 0",
       BASE_OPTIONS,
       "1 3 0 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
       2,
       "0 0 2 2 0 0.2",
       "'0' (THE PLATE NEEDS A POSITIVE YOUNG MODULUS)",
       {{BASE_CAP, "PILE CAP\n10 10 3 0 0 0\n0 0 2 2 0 0.2\n"}}},
      {"plate Young modulus -3e6",
       BASE_OPTIONS,
       "1 3 0 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
       2,
       "0 0 2 2 -3e6 0.2",
       "'-3e+06' (THE PLATE NEEDS A POSITIVE YOUNG MODULUS)",
       {{BASE_CAP, "PILE CAP\n10 10 3 0 0 0\n0 0 2 2 -3e6 0.2\n"}}},
      {"embedded cap of width 0",
       BASE_OPTIONS,
       "1 3 1 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
       2,
       "10 0 3 0 0 0",
       "'0' (AN EMBEDDED CAP NEEDS A POSITIVE WIDTH)",
       {{BASE_CAP, "PILE CAP\n10 0 3 0 0 0\n"}}},
      {"p-y set below 0 without a user p-y layer",
       "2 2 1 0 1 1 0 0 0 0\n",
       "2 2 1 -1 1 1 0 0 0 0\n",
       7,
       nullptr,
       "'-1' (P-Y CURVE SET BELOW 0)",
       {{BASE_OPTIONS, USER_PY_OPTIONS}, {FIRST_CURVES_AFTER_SOIL, USER_PY_SET}}},
      {"p-y set -2147483648 without a user p-y layer",
       "2 2 1 0 1 1 0 0 0 0\n",
       "2 2 1 -2147483648 1 1 0 0 0 0\n",
       7,
       nullptr,
       "'-2147483648' (P-Y CURVE SET BELOW 0)",
       {{BASE_OPTIONS, USER_PY_OPTIONS}, {FIRST_CURVES_AFTER_SOIL, USER_PY_SET}}},
      // A set of one curve brackets no depth: every run of it failed.
      {"p-y set of one curve",
       BASE_OPTIONS,
       USER_PY_OPTIONS,
       12,
       "7 1",
       "'1' (A P-Y CURVE SET NEEDS AT LEAST 2 CURVES)",
       {{FIRST_CURVES_AFTER_SOIL, "USER P-Y CURVES\n1\n7 1\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n"}}},
      {"p-y curve of negative p",
       BASE_OPTIONS,
       USER_PY_OPTIONS,
       12,
       "-100 1",
       "'-100' (NEGATIVE SOIL RESISTANCE P)",
       {{FIRST_CURVES_AFTER_SOIL,
         "USER P-Y CURVES\n1\n7 2\n0\n2\n0 0\n-100 1\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n"}}},
      {"p-y curve of equal y",
       BASE_OPTIONS,
       USER_PY_OPTIONS,
       12,
       "100 0.5",
       "'0.5' (DEFLECTIONS Y OF A CURVE DO NOT INCREASE)",
       {{FIRST_CURVES_AFTER_SOIL,
         "USER P-Y CURVES\n1\n7 2\n0\n2\n50 0.5\n100 0.5\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n"}}},
      {"p-y curve of decreasing y",
       BASE_OPTIONS,
       USER_PY_OPTIONS,
       12,
       "100 -1",
       "'-1' (DEFLECTIONS Y OF A CURVE DO NOT INCREASE)",
       {{FIRST_CURVES_AFTER_SOIL,
         "USER P-Y CURVES\n1\n7 2\n0\n3\n0 0\n50 1\n100 -1\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n"}}},
      {"soil top 2147483648 ft above a pile head", "1 1\n0 40\n", "1 1\n-2147483648 40\n", 7, nullptr,
       "HEAD MORE THAN 1000 NODE STEPS BELOW THE TOP OF THE SOIL"},
  };
  return cases;
}

// 1-based number of the deck's line that reads text.
int line_number(const std::string& deck, const std::string& text) {
  int number = 1;
  std::size_t start = 0;
  while (start < deck.size()) {
    const std::size_t end = deck.find('\n', start);
    if (deck.compare(start, (end == std::string::npos ? deck.size() : end) - start, text) == 0) return number;
    if (end == std::string::npos) break;
    start = end + 1;
    ++number;
  }
  return 0;
}

class BadInputs : public testing::EngineTest {};

TEST_F(BadInputs, BaseDeckCompletes) {
  RunFolder folder("bad_base");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, base_deck());
  EXPECT_EQ(folder.run(), 0);
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
}

TEST_F(BadInputs, EachEndsWithItsStatusAndMessage) {
  const std::string base = base_deck();
  for (const BadInput& c : bad_inputs()) {
    std::string deck = base;
    const std::size_t at = deck.find(c.find);
    ASSERT_NE(at, std::string::npos) << c.name;
    deck.replace(at, std::string(c.find).size(), c.replace);
    for (const DeckEdit& edit : c.more) {
      const std::size_t more_at = deck.find(edit.find);
      ASSERT_NE(more_at, std::string::npos) << c.name;
      deck.replace(more_at, std::string(edit.find).size(), edit.replace);
    }
    std::string place = "     INPUT SECTION " + std::to_string(c.section);
    if (c.line != nullptr) {
      const int line = line_number(deck, c.line);
      ASSERT_GT(line, 0) << c.name;
      // A line of the file is named with its section's usual header.
      const std::map<int, std::string> headers = {{1, "OPTIONS"},          {2, "PILE CAP"},      {3, "LOAD CASES"},
                                                  {7, "PILE ARRANGEMENT"}, {8, "PROPERTY SETS"}, {10, "SOIL LAYERS"},
                                                  {12, "USER P-Y CURVES"}};
      place += " (" + headers.at(c.section) + "), LINE " + std::to_string(line) + ": ";
    } else {
      place += ", PILE 1: ";
    }
    RunFolder folder("bad_input");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    EXPECT_EQ(folder.run(), 0) << c.name;
    EXPECT_EQ(folder.final_message(), (std::vector<std::string>{ERROR_HEADING, INPUT_ERROR, place + c.detail}))
        << c.name;
  }
}

// One row of pile rows in the plane: the messages name a ROW, and the value
// as the input gives it.
std::string plane_deck(const std::string& row_line) {
  Deck2D d;
  d.rows = {{}};
  d.length = 20.0;
  d.increments = 20;
  d.layers = {{1, 0.0, 40.0, {50, 500, 0, 100, 0, 0.01, 0.5}}};
  d.cases = {{1000.0, 100.0, 0.0, 0, 0.5}};
  std::string deck = deck_2d(d);
  const std::string base_row = "2 1 1 0 1 0 0\n";
  deck.replace(deck.find(base_row), base_row.size(), row_line + "\n");
  return deck;
}

TEST_F(BadInputs, PileRowsOfThePlaneAreNamedAsRows) {
  struct RowCase {
    const char* row_line;
    std::string detail;
  };
  const std::vector<RowCase> cases = {
      {"2 1 1 0 1 0 0", "     ANALYSIS COMPLETED"},
      {"2 1 1 0 0 0 9", "     INPUT SECTION 7, PILE ROW 1: '9' (NO GENERATED LOAD-SETTLEMENT CURVE FOR THE PILE)"},
      {"2 1 1 0 4 0 0", "     INPUT SECTION 7, PILE ROW 1: '4' (NO LOAD-SETTLEMENT CURVE FOR THE PILE)"},
      {"4 1 1 0 1 0 0", "     INPUT SECTION 7 (PILE ARRANGEMENT), LINE 0: '4' (HEAD CONNECTION NOT 1, 2 OR 3)"},
  };
  for (const RowCase& c : cases) {
    std::string deck = plane_deck(c.row_line);
    std::string detail = c.detail;
    const std::size_t line_mark = detail.find("LINE 0");
    if (line_mark != std::string::npos)
      detail.replace(line_mark, 6, "LINE " + std::to_string(line_number(deck, c.row_line)));
    RunFolder folder("bad_row");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    EXPECT_EQ(folder.run(), 0) << c.row_line;
    const std::vector<std::string> message = folder.final_message();
    ASSERT_FALSE(message.empty()) << c.row_line;
    EXPECT_EQ(message.back(), detail) << c.row_line;
  }
}

// Eight piles, four of them (2, 3, 6, 8) reaching below the deepest layer at
// 40 ft with lengths of their own, in a case run on the given threads.
std::string deck_of_failing_piles(int threads) {
  std::vector<DeckPile3D> piles;
  for (int k = 0; k < 8; ++k) piles.push_back({6.0 * (k % 4), 6.0 * (k / 4)});
  std::string deck = deck_3d(soft_clay_deck("PILES BELOW THE SOIL", piles, 1000.0, 100.0, threads));
  const std::string sets = "PROPERTY SETS\n1\n1 1\n20 20 1\n0 20 1\n";
  deck.replace(deck.find(sets), sets.size(),
               "PROPERTY SETS\n4\n1 1\n20 20 1\n0 20 1\n2 1\n41 41 1\n0 41 1\n3 1\n50 50 1\n0 50 1\n"
               "4 1\n60 60 1\n0 60 1\n");
  const std::string pile_line = "2 2 1 0 1 1 0 0 0 0\n";
  const std::vector<int> set_of_pile = {1, 2, 3, 1, 1, 4, 1, 2};
  std::size_t at = 0;
  for (const int set : set_of_pile) {
    at = deck.find(pile_line, at);
    deck.replace(at, pile_line.size(), "2 2 " + std::to_string(set) + " 0 1 1 0 0 0 0\n");
    at += pile_line.size();
  }
  return deck;
}

// Regression: the fatal messages of several piles that fail inside the
// parallel loop came out in the order the threads met them. Piles whose tips
// lie below the soil are now refused with the input, before any loop: the
// refusal names the first of them, whatever the thread count.
TEST_F(BadInputs, FailingPilesReportAlikeOnAnyThreadCount) {
  const std::vector<int> reports = {RunFolder::RESULTS_LINE, RunFolder::RUN_LOG_LINE, RunFolder::SUMMARY_LINE};
  std::vector<std::string> one_thread;
  for (const int threads : {1, 3, 8}) {
    RunFolder folder("failing_piles");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck_of_failing_piles(threads));
    EXPECT_EQ(folder.run(), 0);
    const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
    EXPECT_NE(log.find(INPUT_ERROR), std::string::npos) << threads << " threads";
    EXPECT_NE(log.find("PILE 2: TIP AT DEPTH"), std::string::npos) << threads << " threads\n" << log;
    for (std::size_t k = 0; k < reports.size(); ++k) {
      const std::string text = without_timing(folder.read(reports[k]));
      if (threads == 1) {
        one_thread.push_back(text);
      } else {
        EXPECT_EQ(text, one_thread[k]) << threads << " threads, Names.dat line " << reports[k];
      }
    }
  }
}

// Regression: a stiffness report that could not be created was skipped and
// the run ended ANALYSIS COMPLETED. Every report and scratch file the run
// loop opens, standing in the way as a folder of its name, ends the run with
// the named file error.
TEST_F(BadInputs, FileThatCannotBeCreatedEndsTheRunWithItsName) {
  struct Blocked {
    const char* file;
    int line;  // of "Names.dat"
  };
  const std::vector<Blocked> files = {
      {"pile results scratch", 17}, {"equivalent springs", 19}, {"equivalent stiffness", 20}, {"axial warnings", 21}};
  for (const Blocked& b : files) {
    RunFolder folder("blocked_file");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, base_deck());
    std::filesystem::create_directories(folder.path(b.line));
    EXPECT_EQ(folder.run(), 0) << b.file;
    EXPECT_EQ(folder.final_message(),
              (std::vector<std::string>{ERROR_HEADING, "     FILE CANNOT BE OPENED", "     " + folder.name(b.line)}))
        << b.file;
  }
}

// A report on a file system that refuses its data: the device that is
// always full stands for a disk that fills during the run.
constexpr const char* FULL_DEVICE = "/dev/full";

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(FULL_DEVICE)) GTEST_SKIP() << "no " << FULL_DEVICE;
  }
  void TearDown() override { fio::clear_write_failure(); }
  static std::vector<std::string> file_error() {
    return {ERROR_HEADING, "     FILE CANNOT BE OPENED",
            std::string("     ") + FULL_DEVICE + " (WRITE FAILED: No space left on device)"};
  }
  static std::string file_error_text() {
    std::string text;
    for (const std::string& line : file_error()) text += line + "\n";
    return text;
  }
  // Runs the base deck with the file of Names.dat line `line` on the device.
  static void run_on_full_device(RunFolder& folder, int line) {
    folder.name(line) = FULL_DEVICE;
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, base_deck());
    EXPECT_EQ(folder.run(), 0);
  }
};

TEST_F(FullDisk, ResultsReportThatCannotBeWrittenEndsTheRunWithTheFileError) {
  RunFolder folder("full_results");
  run_on_full_device(folder, RunFolder::RESULTS_LINE);
  EXPECT_EQ(folder.final_message(), file_error());
  // The summary report carries the final message too.
  EXPECT_NE(folder.read(RunFolder::SUMMARY_LINE).find(file_error_text()), std::string::npos);
}

TEST_F(FullDisk, RunLogThatCannotBeWrittenLeavesTheFinalMessageInTheOtherReports) {
  RunFolder folder("full_log");
  run_on_full_device(folder, RunFolder::RUN_LOG_LINE);
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE}) {
    EXPECT_NE(folder.read(line).find(file_error_text()), std::string::npos) << line;
  }
}

// Input checks in the engineer's terms: a line holding more values than its
// record reads (a thousands comma) is a warning and the run goes on; a units
// flag other than 1 or 2, a pile that never reaches its ground line, a pile
// tip below the soil layers and a record that runs into the next section's
// header end the run with a detail line naming the place.

// 1-based number of the first deck line that starts with text.
int line_starting(const std::string& deck, const std::string& text) {
  int number = 1;
  for (std::size_t start = 0; start < deck.size(); ++number) {
    if (deck.compare(start, text.size(), text) == 0) return number;
    const std::size_t end = deck.find('\n', start);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return 0;
}

std::string replaced(std::string deck, const std::string& find, const std::string& replace) {
  const std::size_t at = deck.find(find);
  EXPECT_NE(at, std::string::npos) << find;
  if (at != std::string::npos) deck.replace(at, find.size(), replace);
  return deck;
}

class InputChecks : public EngineTest {
 protected:
  // Runs the deck; the final message of the run log.
  std::vector<std::string> run_deck(const std::string& deck) {
    RunFolder folder("input_checks");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    EXPECT_EQ(folder.run(), 0);
    log_ = folder.read(RunFolder::RUN_LOG_LINE);
    return folder.final_message();
  }
  std::string log_;
};

const std::vector<std::string> COMPLETED = {"     ANALYSIS COMPLETED"};

std::vector<std::string> input_error(const std::string& detail) {
  return {"     * ERROR IN ANALYSIS *", "     ERROR IN INPUT DATA", "     " + detail};
}

TEST_F(InputChecks, ThousandsCommaIsReadAsTwoValuesWithAWarningForItsLine) {
  const std::string good = deck_3d(one_pile());
  ASSERT_EQ(run_deck(good), COMPLETED);
  EXPECT_EQ(log_.find("HOLDS"), std::string::npos);

  // "1,000" for 1000: the axial load becomes 1 and every field after it
  // shifts by one, the last value of the line left unread.
  const std::string deck = replaced(good, "\n1000 100 0 0 0 0 0 0 0\n", "\n1,000 100 0 0 0 0 0 0 0\n");
  const int line = line_starting(deck, "1,000 ");
  ASSERT_GT(line, 0);
  EXPECT_EQ(run_deck(deck), COMPLETED);
  EXPECT_NE(log_.find("     ** WARNING **  INPUT SECTION 3 (LOAD CASES), LINE " + std::to_string(line) +
                      " HOLDS 10 VALUES, 9 ARE READ\n"),
            std::string::npos)
      << log_;
  EXPECT_EQ(ConcentratedLoad.force_x(1, 1), 1.0);
  EXPECT_EQ(ConcentratedLoad.force_y(1, 1), 0.0);
  EXPECT_EQ(ConcentratedLoad.moment_z(1, 1), 100.0);
}

TEST_F(InputChecks, EachRefusedWithItsPlace) {
  struct Case {
    const char* name;
    Deck3D deck;
    const char* find;     // text of the deck, replaced at its first occurrence
    const char* replace;  // by this
    const char* line;     // the start of the line the detail names; nullptr: no line
    std::string detail;   // the detail after the place
  };
  Deck3D shallow_soil = one_pile();
  shallow_soil.layers[0].bottom = 15.0;
  Deck3D high_head = one_pile();
  high_head.ground = 25.0;
  const std::vector<Case> cases = {
      {"units flag of 3", one_pile(), "OPTIONS\n1 3 ", "OPTIONS\n3 3 ", "3 3 ",
       "INPUT SECTION 1 (OPTIONS), LINE 4: '3' (THE UNITS FLAG IS 1 (ENGLISH) OR 2 (SI))"},
      {"units flag of 0", one_pile(), "OPTIONS\n1 3 ", "OPTIONS\n0 3 ", "0 3 ",
       "INPUT SECTION 1 (OPTIONS), LINE 4: '0' (THE UNITS FLAG IS 1 (ENGLISH) OR 2 (SI))"},
      {"soil layers ending above the tip", shallow_soil, "", "", nullptr,
       "INPUT SECTION 7, PILE 1: TIP AT DEPTH 20 FT, BELOW THE END OF THE SOIL LAYERS AT 15 FT"},
      {"head above the ground line by more than the pile's length", high_head, "", "", nullptr,
       "INPUT SECTION 7, PILE 1: HEAD 25 FT ABOVE ITS GROUND LINE, MORE THAN THE PILE REACHES (20 FT)"},
      // A value missing on the load line: the counts below it shift into the
      // load line and the records after it, until the last record of the case
      // runs into the next header. That record's own line is named.
      {"value missing on the load line", one_pile(), "\n1000 100 0 0 0 0 0 0 0\n", "\n1000 100 0 0 0 0 0 0\n",
       "LOAD COMBINATIONS",
       "INPUT SECTION 3 (LOAD CASES), LINE @-1: THE RECORD RUNS INTO THE SECTION HEADER 'LOAD COMBINATIONS' AT "
       "LINE @, ENTRY 1 OF THE 1 LOAD CASES COUNTED AT LINE 8, A VALUE IS MISSING HERE OR ABOVE"},
      // A value missing on the case's last line but one: the last count is
      // due where the header stands.
      {"value missing on the flags line", one_pile(), "\n0 0 0 0 0 0 0 0\n0\nLOAD COMBINATIONS",
       "\n0 0 0 0 0 0 0\n0\nLOAD COMBINATIONS", "LOAD COMBINATIONS",
       "INPUT SECTION 3 (LOAD CASES), LINE @: A RECORD IS DUE, NOT THE SECTION HEADER 'LOAD COMBINATIONS', ENTRY 1 "
       "OF THE 1 LOAD CASES COUNTED AT LINE 8, A VALUE IS MISSING ABOVE IT"},
  };
  for (const Case& c : cases) {
    std::string deck = deck_3d(c.deck);
    if (*c.find != '\0') deck = replaced(deck, c.find, c.replace);
    std::string detail = c.detail;
    if (c.line != nullptr) {
      const int line = line_starting(deck, c.line);
      ASSERT_GT(line, 0) << c.name;
      for (const auto& [mark, value] : {std::pair{"@-1", line - 1}, std::pair{"@", line}}) {
        for (std::size_t at = detail.find(mark); at != std::string::npos; at = detail.find(mark)) {
          detail.replace(at, std::string(mark).size(), std::to_string(value));
        }
      }
    }
    EXPECT_EQ(run_deck(deck), input_error(detail)) << c.name;
  }
}

TEST_F(InputChecks, PileWhoseTipIsAtTheEndOfTheSoilAndBelowItsGroundLineIsAccepted) {
  Deck3D d = one_pile();
  d.ground = 8.0;
  d.layers[0].bottom = 20.0;
  EXPECT_EQ(run_deck(deck_3d(d)), COMPLETED);
}

}  // namespace
}  // namespace pilecap::testing
