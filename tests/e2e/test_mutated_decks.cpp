// Whole runs of mutated decks, in the manner of a fuzzing campaign kept
// small: property-set lines and flexibility decks with the values that once
// wrote past the node tables or ended a valid case with a scratch-file error.
// Every run must end with the named input error expected of it or complete,
// and no file of any run may hold a NaN or an Infinity.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"
#include "tests/support/report_scan.hpp"

namespace pilecap::testing {
namespace {

const std::vector<std::string> COMPLETED = {"     ANALYSIS COMPLETED"};

// Two piles on user load-settlement and torque-rotation curves only, so no
// check of generated curves looks at the property set; on one thread, as the
// suite runs beside other work.
std::string user_curve_deck() {
  return deck_3d(soft_clay_deck("USER CURVES ONLY", {{-3.0, 0.0}, {3.0, 0.0}}, 2000.0, 200.0, 1));
}

std::string flexibility_example() {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/flexibility_3d.inp");
  std::stringstream text;
  text << in.rdbuf();
  // On one thread, as the deck of user curves.
  std::string deck = text.str();
  const std::string controls = "\n0 0 0 1 100 200 100\n";
  deck.replace(deck.find(controls), controls.size(), "\n0 0 1 1 100 200 100\n");
  return deck;
}

struct Mutation {
  const char* name;
  std::string (*base)();
  const char* find;  // replaced at every occurrence
  const char* replace;
  const char* outcome;  // the last line of the final message
};

const char* const INCREMENTS_REFUSED = " (INCREMENTS NOT 1 TO 200)";

const std::vector<Mutation>& mutations() {
  static const std::vector<Mutation> table = {
      {"user curves, increments 0", user_curve_deck, "\n20 20 1\n", "\n0 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '0'"},
      {"user curves, increments -5", user_curve_deck, "\n20 20 1\n", "\n-5 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '-5'"},
      {"user curves, increments 201", user_curve_deck, "\n20 20 1\n", "\n201 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '201'"},
      {"user curves, increments 300", user_curve_deck, "\n20 20 1\n", "\n300 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '300'"},
      {"user curves, increments 99999", user_curve_deck, "\n20 20 1\n", "\n99999 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '99999'"},
      {"user curves, increments -2147483648", user_curve_deck, "\n20 20 1\n", "\n-2147483648 20 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '-2147483648'"},
      {"user curves, increments 200", user_curve_deck, "\n20 20 1\n", "\n200 20 1\n", nullptr},
      {"flexibility, increments 0", flexibility_example, "\n100 60 1\n", "\n0 60 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '0'"},
      {"flexibility, increments 201", flexibility_example, "\n100 60 1\n", "\n201 60 1\n",
       "     INPUT SECTION 8 (PROPERTY SETS), LINE 0: '201'"},
      {"flexibility, every pile section turned by 90 degrees", flexibility_example, " 0 90 0 0\n", " 0 90 90 0\n",
       nullptr},
      {"flexibility, two pile sections turned by 180 degrees", flexibility_example, " 4 0 90 0 0\n", " 4 0 90 180 0\n",
       nullptr},
  };
  return table;
}

std::string mutated(const Mutation& m) {
  std::string deck = m.base();
  const std::string find = m.find, replace = m.replace;
  for (std::size_t at = deck.find(find); at != std::string::npos; at = deck.find(find, at + replace.size())) {
    deck.replace(at, find.size(), replace);
  }
  return deck;
}

// 1-based number of the first line of deck that holds text, or 0.
int line_of(const std::string& deck, const std::string& text) {
  const std::size_t at = deck.find("\n" + text + "\n");
  if (at == std::string::npos) return 0;
  return 2 + static_cast<int>(std::count(deck.begin(), deck.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

class MutatedDecks : public testing::EngineTest {};

TEST_F(MutatedDecks, EachEndsWithANamedErrorOrCompletesWithFiniteFiles) {
  for (const Mutation& m : mutations()) {
    const std::string deck = mutated(m);
    ASSERT_NE(deck, m.base()) << m.name << ": the mutation found nothing to change";
    RunFolder folder("mutated");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    EXPECT_EQ(folder.run(), 0) << m.name;
    const std::vector<std::string> message = folder.final_message();
    if (m.outcome == nullptr) {
      EXPECT_EQ(message, COMPLETED) << m.name;
    } else {
      // The detail names the mutated line itself.
      std::string replaced = m.replace;
      replaced = replaced.substr(1, replaced.size() - 2);
      std::string outcome = m.outcome;
      outcome.replace(outcome.find("LINE 0"), 6, "LINE " + std::to_string(line_of(deck, replaced)));
      ASSERT_FALSE(message.empty()) << m.name;
      EXPECT_EQ(message.back(), outcome + INCREMENTS_REFUSED) << m.name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder())) {
      const std::string text = RunFolder::read_file(entry.path());
      EXPECT_EQ(first_non_finite_word(text), "") << m.name << ": " << entry.path().filename();
      EXPECT_EQ(text.find("CANNOT BE WRITTEN OR READ"), std::string::npos) << m.name << ": " << entry.path().filename();
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
