// Input decks for whole runs with load cases and combinations: the minimal
// 2D model of one pile row with plain cases of unit loads. Each case and
// combination can be marked not to be analysed; a case can ask for a
// flexibility estimation instead of a plain run.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {

struct DeckCase {
  int not_analysed = 0;
  int analysis_kind = 0;
  double tolerance = 0.25;
};

struct DeckCombination {
  int not_analysed = 0;
  double scale_1 = 1.0;
  double scale_2 = 1.0;
};

inline std::string deck_with_cases(const std::vector<DeckCase>& cases, const std::vector<DeckCombination>& combinations,
                                   int plot_export = 0) {
  const std::string flags = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  std::string deck = "CASE MODEL\nSECOND TITLE\nOPTIONS\n1 2 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ";
  deck.append(std::to_string(plot_export)).append(" 0\nPILE CAP\n0 0 0 0 0 0\nLOAD CASES\n");
  deck.append(std::to_string(cases.size())).append(" 0 0 0 0\n");
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const DeckCase& c = cases[k];
    deck.append("0 0 2 1 0 100 100\n");
    deck.append(std::to_string(c.tolerance)).append(" 0.001 0.5 0.01\n");
    deck.append("CASE ").append(std::to_string(k + 1)).append("\n");
    deck.append("1 ").append(std::to_string(c.analysis_kind)).append(" 0 0 0 0 0 0\n");
    deck.append("2 1 1.0 0 0 0 0 ").append(std::to_string(c.not_analysed)).append(" 0 0 0\n");
    deck.append("0\n").append(flags);
    deck.append("1\n100 1000 0 0 0 0 0 0 0\n");  // one concentrated load
    deck.append("0\n");                          // distributed loads
    deck.append("0\n");                          // point values
    deck.append("0\n0 0 0 0 0 0 0 0\n0\n");      // pushover factors, flags, soil movements
  }
  deck.append("LOAD COMBINATIONS\n").append(std::to_string(combinations.size())).append(" 0 0 0 0\n");
  for (std::size_t k = 0; k < combinations.size(); ++k) {
    const DeckCombination& c = combinations[k];
    deck.append("0 0 0 1 0 100 100\n0.5 0.001 0.5 0.01\n");
    deck.append("COMBINATION ").append(std::to_string(k + 1)).append("\n");
    deck.append(std::to_string(c.scale_1)).append(" ").append(std::to_string(c.scale_2)).append(" 1\n");
    deck.append("2 1 0 0 0 0 ").append(std::to_string(c.not_analysed)).append(" 0\n");
    deck.append("0\n").append(flags).append("1\n1 1.5\n");
  }
  deck.append(ONE_ROW_MODEL_SECTIONS);
  if (plot_export == 1) deck.append("P-Y EXPORT\n1 0 0\n");
  return deck;
}

}  // namespace pilecap::testing
