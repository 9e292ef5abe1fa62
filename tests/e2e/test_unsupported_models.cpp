// Whole runs of models that select an analysis the engine cannot do yet: the
// single-pile example deck with each soil code whose p-y criterion is not
// built, with user p-y curves of its pile, and as a plane (2D) model; and
// of options that have been built since (close spacing, an embedded cap). Every
// run of such a model must be reported as not analysed (its note and result
// code 9) and print no cap or pile results, so that nothing computed without
// the missing part can be read as an answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "tests/e2e/case_decks.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using testing::RunFolder;

constexpr int RESULT_CODES_LINE = 11;

std::string example_deck() {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/single_pile.inp");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The example with its one soil layer given another soil code.
std::string with_soil_code(int code) {
  std::string deck = example_deck();
  const std::string layer = "SOIL LAYERS\n1\n1 1\n";
  const auto at = deck.find(layer);
  if (at == std::string::npos) {
    ADD_FAILURE() << "the example's soil layer line moved";
    return deck;
  }
  deck.replace(at, layer.size(), "SOIL LAYERS\n1\n1 " + std::to_string(code) + "\n");
  return deck;
}

// The example with a set of user p-y curves that its pile uses.
std::string with_user_py_curves() {
  std::string deck = example_deck();
  auto replace = [&deck](const std::string& from, const std::string& to) {
    const auto at = deck.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    deck.replace(at, from.size(), to);
  };
  replace("1 3 0 0 0 0 0 0", "1 3 0 0 1 0 0 0");          // option: user p-y curves
  replace("2 2 1 0 0 0 0 0 1 1", "2 2 1 1 0 0 0 0 1 1");  // the pile uses set 1
  replace("GENERATED LOAD-SETTLEMENT CURVES\n",
          "USER P-Y CURVES\n1\n1 2\n0\n3\n0 0\n100 1\n200 10\n80\n3\n0 0\n100 1\n200 10\n"
          "GENERATED LOAD-SETTLEMENT CURVES\n");
  return deck;
}

// An example deck with some of its lines replaced.
std::string with_lines(const std::string& example, const std::vector<std::pair<std::string, std::string>>& lines) {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/" + example);
  std::stringstream text;
  text << in.rdbuf();
  std::string deck = text.str();
  for (const auto& [from, to] : lines) {
    const auto at = deck.find(from);
    if (at == std::string::npos) {
      ADD_FAILURE() << example << ": the line moved: " << from;
      continue;
    }
    deck.replace(at, from.size(), to);
  }
  return deck;
}

// The four piles of the group example (60 increments of 1 ft) under a 2 ft
// cap embedded in soil whose surface lies at the cap's top, with reduction
// factors by the direction of movement: the cap by its element (option 2,
// method 1) or by the mean soil reaction of the piles (option 1).
std::string embedded_group(const std::string& option, const std::string& cap_lines) {
  return with_lines("group_2x2_3d.inp", {{"1 3 0 0 0 0 0 0", "1 3 " + option + " 0 0 0 0 1"},
                                         {"PILE CAP\n0 0 0 0 0 0\n", "PILE CAP\n14 14 2 0 0 0\n" + cap_lines},
                                         {"1 1\n100 60 1\n", "1 1\n60 60 1\n"},
                                         {"0 -4 -4 0 90 0 0", "0 -4 -4 0 90 0 -2"},
                                         {"0 -4 4 0 90 0 0", "0 -4 4 0 90 0 -2"},
                                         {"0 4 -4 0 90 0 0", "0 4 -4 0 90 0 -2"},
                                         {"0 4 4 0 90 0 0", "0 4 4 0 90 0 -2"},
                                         {"SOIL LAYERS\n1\n1 1\n0 80", "SOIL LAYERS\n1\n1 1\n-2 80"}});
}

struct UnsupportedDeck {
  const char* name;
  std::string deck;
  const char* feature;  // as the note names it
};

std::vector<UnsupportedDeck> unsupported_decks() {
  std::vector<UnsupportedDeck> decks;
  static const char* const CRITERIA[] = {"",
                                         "",
                                         "P-Y CRITERION OF SOIL CODE 2",
                                         "P-Y CRITERION OF SOIL CODE 3",
                                         "",
                                         "P-Y CRITERION OF SOIL CODE 5",
                                         "P-Y CRITERION OF SOIL CODE 6",
                                         "P-Y CRITERION OF SOIL CODE 7",
                                         "P-Y CRITERION OF SOIL CODE 8",
                                         "P-Y CRITERION OF SOIL CODE 9",
                                         "P-Y CRITERION OF SOIL CODE 10",
                                         "P-Y CRITERION OF SOIL CODE 11"};
  for (int code : {2, 3, 5, 6, 7, 8, 9, 10, 11}) {
    decks.push_back({CRITERIA[code], with_soil_code(code), CRITERIA[code]});
  }
  decks.push_back({"user p-y curves", with_user_py_curves(), "USER P-Y CURVE INPUT OF THE PILES"});
  decks.push_back({"plane model", testing::deck_with_cases({{}, {}}, {{}}), "THE PLANE (2D) MODEL"});
  return decks;
}

bool contains(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&text](const std::string& l) { return l.find(text) != std::string::npos; });
}

int count_containing(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                        [&text](const std::string& l) { return l.find(text) != std::string::npos; }));
}

class UnsupportedModelTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::reset_engine_state(); }
};

TEST_F(UnsupportedModelTest, EveryRunIsRefusedWithItsNoteAndNoResults) {
  for (const UnsupportedDeck& d : unsupported_decks()) {
    SCOPED_TRACE(d.name);
    RunFolder folder("unsupported");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, d.deck);
    folder.run();

    const std::string note = std::string("NOTE: ") + d.feature + " IS NOT YET SUPPORTED, RUN NOT ANALYZED";
    const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
    const auto codes = folder.lines(RESULT_CODES_LINE);
    const auto results = folder.lines(RunFolder::RESULTS_LINE);
    const auto summary = folder.lines(RunFolder::SUMMARY_LINE);
    const int runs = count_containing(codes, "LOAD CASE :") + count_containing(codes, "LOAD COMB. :");
    ASSERT_GE(runs, 1) << "the deck has no run to refuse";
    EXPECT_EQ(count_containing(log, note), runs);
    EXPECT_EQ(count_containing(results, note), runs);
    EXPECT_EQ(count_containing(codes, "9 ANALYSIS NOT PERFORMED"), runs);
    EXPECT_FALSE(contains(codes, "1 ANALYSIS COMPLETED"));
    for (const auto* report : {&results, &summary}) {
      EXPECT_FALSE(contains(*report, "TABLE L")) << "cap results printed for a refused run";
      EXPECT_FALSE(contains(*report, "PILE TOP")) << "pile results printed for a refused run";
    }
  }
}

// Options that once were refused and now are analysed.
TEST_F(UnsupportedModelTest, BuiltOptionsComplete) {
  struct Case {
    const char* name;
    std::string deck;
  } cases[] = {
      {"reduction factors by the direction of movement",
       with_lines("group_2x2_3d.inp", {{"1 3 0 0 0 0 0 0", "1 3 0 0 0 0 0 1"}})},
      {"embedded cap by its element", embedded_group("2", "1 4\n")},
      {"embedded cap by the pile means", embedded_group("1", "")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolder folder("built_option");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, c.deck);
    folder.run();
    EXPECT_TRUE(contains(folder.lines(RESULT_CODES_LINE), "1 ANALYSIS COMPLETED"));
    EXPECT_FALSE(contains(folder.lines(RunFolder::RUN_LOG_LINE), "IS NOT YET SUPPORTED"));
    EXPECT_TRUE(contains(folder.lines(RunFolder::RESULTS_LINE), "TABLE L"));
  }
}

TEST_F(UnsupportedModelTest, BuiltSoilCodesStillComplete) {
  for (int code : {1, 13}) {
    SCOPED_TRACE(code);
    RunFolder folder("supported");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, with_soil_code(code));
    folder.run();
    const auto codes = folder.lines(RESULT_CODES_LINE);
    EXPECT_TRUE(contains(codes, "1 ANALYSIS COMPLETED"));
    EXPECT_FALSE(contains(folder.lines(RunFolder::RUN_LOG_LINE), "IS NOT YET SUPPORTED"));
    EXPECT_TRUE(contains(folder.lines(RunFolder::RESULTS_LINE), "TABLE L"));
  }
}

}  // namespace
}  // namespace pilecap
