// Whole runs of models that select an analysis the engine cannot do yet: the
// 3D plate cap with an embedded cap; and of options that have been built
// since (close spacing, an embedded cap in either model; the plate cap, also
// with close spacing, has its own runs). Every
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

#include "base/fio.hpp"
#include "tests/e2e/case_decks.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using testing::RunFolder;

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

// A deck with the embedded cap's passive resistance by the cap element.
std::string with_cap_element(std::string deck) {
  const std::string options = "OPTIONS\n1 2 0 ";
  const std::string cap = "PILE CAP\n0 0 0 0 0 0\n";
  const auto at_options = deck.find(options);
  const auto at_cap = deck.find(cap);
  if (at_options == std::string::npos || at_cap == std::string::npos) {
    ADD_FAILURE() << "the case deck's option or cap line moved";
    return deck;
  }
  deck.replace(at_cap, cap.size(), "PILE CAP\n10 10 3 0 0 0\n1 2\n");  // method 1, 2 increments
  deck.replace(at_options, options.size(), "OPTIONS\n1 2 2 ");         // the cap option with a method line
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
  return {
      {"plate cap embedded", with_lines("flexible_cap.inp", {{"1 3 0 1 0 0 0 0", "1 3 1 1 0 0 0 0"}}),
       "AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP"},
  };
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
    const auto codes = folder.lines(RunFolder::RESULT_CODES_LINE);
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
      {"embedded-cap element in the plane", with_cap_element(testing::deck_with_cases({{}, {}}, {{}}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolder folder("built_option");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, c.deck);
    folder.run();
    EXPECT_TRUE(contains(folder.lines(RunFolder::RESULT_CODES_LINE), "1 ANALYSIS COMPLETED"));
    EXPECT_FALSE(contains(folder.lines(RunFolder::RUN_LOG_LINE), "IS NOT YET SUPPORTED"));
    EXPECT_TRUE(contains(folder.lines(RunFolder::RESULTS_LINE), "TABLE L"));
  }
}

TEST_F(UnsupportedModelTest, SoilCodesOfBuiltCriteriaComplete) {
  for (int code : {1, 2, 3, 13}) {
    SCOPED_TRACE(code);
    RunFolder folder("supported");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, with_soil_code(code));
    folder.run();
    const auto codes = folder.lines(RunFolder::RESULT_CODES_LINE);
    EXPECT_TRUE(contains(codes, "1 ANALYSIS COMPLETED"));
    EXPECT_FALSE(contains(folder.lines(RunFolder::RUN_LOG_LINE), "IS NOT YET SUPPORTED"));
    EXPECT_TRUE(contains(folder.lines(RunFolder::RESULTS_LINE), "TABLE L"));
  }
}

}  // namespace
}  // namespace pilecap
