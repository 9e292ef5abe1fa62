// Input decks for whole runs with load cases and combinations: a small 2D
// model of one fixed-head pile row in one soil layer (elastic subgrade, or
// any other soil code) with plain cases of small loads. Each case and
// combination can be marked not to be analysed; a case can ask for a
// stiffness or flexibility estimation instead of a plain run.
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

// Sections 5 to 19: an elastic pipe pile row (fixed head, user
// load-settlement curve) in one soil layer of the given code.
inline std::string one_row_in_soil(int soil_code) {
  return "DISTRIBUTED LOAD SETS\n0\n"
         "SOIL MOVEMENT SETS\n0\n"
         "PILE ARRANGEMENT\n1\n2 1 1 0 1 0 0\n0 0 1 1 1\n0 0 0 0\n"
         "PROPERTY SETS\n1\n1 1\n50 40 1\n0 40 1\n"
         "CROSS SECTIONS\n1\n1 1 1 0\n'PIPE'\n24 23 0 0 0 0 0 0\n"
         "11.6E6 36.9 2549 2549 0 0 0 0 29E6 0 75.4 0 0 0 0\n0 0 0.5 0 0 0\n'NONE'\n"
         "SOIL LAYERS\n1\n1 " +
         std::to_string(soil_code) +
         "\n0 60\n2 7\n60 500 30 100 0 0.01 0.5\n60 500 30 100 0 0.01 0.5\n"
         "GENERATED LOAD-SETTLEMENT CURVES\n0\n"
         "USER LOAD-SETTLEMENT CURVES\n1\n1 3\n-1000000 -1\n0 0\n1000000 1\n"
         "MOMENT-CURVATURE SETS\n0\n"
         "SECTION MOMENT-CURVATURE CURVES\n0\n"
         "SECTION BILINEAR DATA\n0\n";
}

constexpr int ELASTIC_SUBGRADE_CODE = 12;

inline std::string deck_with_cases(const std::vector<DeckCase>& cases, const std::vector<DeckCombination>& combinations,
                                   int plot_export = 0, int soil_code = ELASTIC_SUBGRADE_CODE) {
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
  deck.append(one_row_in_soil(soil_code));
  if (plot_export == 1) deck.append("P-Y EXPORT\n1 0 0\n");
  return deck;
}

}  // namespace pilecap::testing
