// Whole runs of an embedded cap (resisting by the means of the piles'
// reactions on their user p-y curves) that end partial: a vertical load
// beyond the end of the piles' load-settlement lines, with and without a
// sideways load, in the plane and on its planar 3D twin, each as a case and
// as a combination. The passive resistance printed is that of the converged
// state the reports describe, not of the failed attempt after it: the
// sideways load at the fraction reached (TABLE L) is carried by the piles'
// sideways reactions (summary report) and the passive resistance (results
// report) together, to the digits they print, and under the vertical load
// alone, which leaves the bent symmetric, the passive resistance is nil.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

constexpr double VERTICAL_LOAD = 1e6;  // lb, about 1.16 times what the piles carry
constexpr double PILE_CAPACITY = 1e5;  // lb, the end of each pile's load-settlement line
constexpr double PILES_PER_ROW = 3;    // identical piles of a plane row
constexpr double TWIN_SPACING = 8.0;   // ft, between a row's piles out of the plane
// Every printed force is rounded to five digits; the balance holds to twice
// that rounding of every term (the converged state's own unbalance, below
// the cap tolerance of 1e-8 in, is far smaller).
constexpr double PRINTED = 1e-4;

// The embedded bent with each pile's load-settlement line ending at
// PILE_CAPACITY, under the vertical load and a sideways one, as a case in
// steps of a quarter and a combination of it alone.
Deck2D overloaded_bent(double fy) {
  Deck2D d = embedded_plane_bent();
  d.axial_reach = PILE_CAPACITY / d.axial_stiffness;
  d.cases = {{.fx = VERTICAL_LOAD, .fy = fy, .initial_step = 0.25}};
  d.combinations = {{{{1, 1.0}}}};
  return d;
}

// The percentages of the partial-load result codes, run by run.
std::vector<double> partial_percents(const RunFolder& folder) {
  std::vector<double> percents;
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE), partial = "    2 SOLUTION AT ";
  for (std::size_t at = codes.find(partial); at != std::string::npos; at = codes.find(partial, at + 1))
    percents.push_back(std::stod(codes.substr(at + partial.size(), 8)));
  return percents;
}

class PartialPassive : public EngineTest {};

TEST_F(PartialPassive, PartialRunPrintsThePassiveResistanceOfItsConvergedState) {
  // No sideways load, one of 1e-3 and one of 2e-2 of the vertical one.
  for (double fy : {0.0, 1000.0, 20000.0}) {
    for (int space = 0; space < 2; ++space) {
      SCOPED_TRACE((space == 1 ? "planar twin, sideways load " : "bent, sideways load ") + std::to_string(fy));
      const Deck2D bent = overloaded_bent(fy);
      RunFolder folder("partial_passive");
      folder.write_names();
      folder.put(RunFolder::INPUT_LINE, space == 1 ? deck_3d(planar_twin(bent, TWIN_SPACING)) : deck_2d(bent));
      folder.run();
      const auto percents = partial_percents(folder);
      const auto cap = table_l_rows(folder);
      const auto reactions = global_pile_top_reactions(folder);
      const auto passive = passive_rows(folder);
      ASSERT_EQ(percents.size(), 2u);  // the case and the combination
      ASSERT_EQ(cap.size(), 2u);
      ASSERT_EQ(reactions.size(), 2u);
      ASSERT_EQ(passive.size(), 2u);
      for (std::size_t run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "the case" : "the combination");
        const double fraction = percents[run] / 100.0;
        EXPECT_LT(fraction, 1.0);
        EXPECT_GT(fraction, 0.5);
        // TABLE L holds the load at the fraction reached.
        EXPECT_NEAR(cap[run].load[0], fraction * VERTICAL_LOAD, PRINTED * VERTICAL_LOAD);
        const double sideways = cap[run].load[1];
        EXPECT_NEAR(sideways, fraction * fy, PRINTED * fy);
        // The sideways reactions (column FOR. Y) of every pile; a plane
        // row's are those of each of its piles.
        const double piles_per_line = space == 1 ? 1.0 : PILES_PER_ROW;
        ASSERT_EQ(reactions[run].size(), space == 1 ? 9u : 3u);
        double carried = 0.0, resolution = PRINTED * std::fabs(sideways);
        for (const auto& r : reactions[run]) {
          ASSERT_GE(r.size(), 2u);
          carried += piles_per_line * r[1];
          resolution += PRINTED * piles_per_line * std::fabs(r[1]);
        }
        // The plane prints the passive resistance signed, the twin its size
        // along Y, then along Z.
        ASSERT_GE(passive[run].size(), 2u);
        const double resistance = passive[run][0];
        resolution += PRINTED * std::fabs(resistance);
        if (space == 1) {
          EXPECT_NEAR(std::fabs(sideways - carried), resistance, resolution);
          EXPECT_EQ(passive[run][1], 0.0);
        } else {
          EXPECT_NEAR(sideways - carried, resistance, resolution);
        }
        // Under the vertical load alone the state is the symmetric one.
        if (fy == 0.0) {
          EXPECT_NEAR(resistance, 0.0, resolution);
        }
      }
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
