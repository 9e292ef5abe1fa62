// Whole 3D runs that end on the partial-load road: the run is abandoned
// after some steps have converged, and everything it prints belongs to the
// converged fraction. The printed pile-top reactions (summary report, global
// axes, five digits) carried to the origin balance the printed cap load
// (TABLE L of the computation report).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

// The percentage of the load a partial-load result code names; -1 without one.
double partial_percent(const RunFolder& folder) {
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  const std::size_t at = codes.find("    2 SOLUTION AT ");
  return at == std::string::npos ? -1.0 : std::stod(codes.substr(at + 18, 8));
}

// The reactions of the piles at (y, z) (in) carried to the origin against
// the cap load: forces to five digits of the largest force, moments to five
// digits of the largest moment the forces make about the origin. The
// reactions print in pounds, or in kips (to_pounds 1000).
void expect_balance(const RunFolder& folder, const std::vector<std::array<double, 2>>& heads, double to_pounds = 1.0) {
  const auto rows = table_l_rows(folder);
  auto reactions = pile_top_reactions(folder);
  for (Vector6& r : reactions) {
    for (double& v : r) v *= to_pounds;
  }
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_EQ(reactions.size(), heads.size());
  const Vector6 sum = resultant_at_origin(reactions, heads);
  const Vector6& load = rows[0].load;
  double force = 0.0, arm = 1.0;
  for (int k = 0; k < 3; ++k) force = std::max(force, std::fabs(load[k]));
  for (const auto& h : heads) arm = std::max({arm, std::fabs(h[0]), std::fabs(h[1])});
  const double per_pile = 2e-4 * static_cast<double>(heads.size());
  for (int k = 0; k < 6; ++k) {
    const double size = k < 3 ? force : force * arm;
    EXPECT_NEAR(sum[k], load[k], per_pile * size) << "component " << k + 1;
  }
}

// One pile in soft clay on a load-settlement line of capacity 100000 lb.
Deck3D pile_in_soft_clay(double fx, double fy) {
  Deck3D d;
  d.piles = {{0.0, 0.0}};
  d.length = 60.0;
  d.increments = 60;
  d.layers = {{1, 0.0, 80.0, {56, 700, 0, 100, 0, 0.01, 0.5}}};
  d.axial_stiffness = 1e6;
  d.axial_reach = 0.1;
  d.cases = {{.fx = fx, .fy = fy, .initial_step = 0.25}};
  return d;
}

// Regression: the print pass of an abandoned run kept the soil movement
// profile of the failed attempt, and a run with its loads given at a point
// printed the forces of an iterate that never converged.
TEST(PartialLoad3D, AbandonedRunPrintsReactionsThatBalanceItsCapLoad) {
  struct Case {
    const char* name;
    Deck3D deck;
  };
  // Pushed beyond the end of the axial line while the soil moves 0.2 in at
  // the ground line, nothing at 20 ft.
  Deck3D moving = pile_in_soft_clay(150000, 2000);
  moving.movement_profile = {{0.0, 0.2, 0.0}, {20.0, 0.0, 0.0}};
  // Loads given at the origin as a point, the lateral one beyond what the
  // clay can hold: steps fail on the iteration limit.
  Deck3D at_point = pile_in_soft_clay(50000, 400000);
  at_point.cases[0].loads_at_point = true;
  at_point.max_iterations = 20;
  const Case cases[] = {{"soil movement profile", moving}, {"loads given at a point", at_point}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolder folder("partial_balance");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck_3d(c.deck));
    folder.run();
    const double percent = partial_percent(folder);
    EXPECT_GT(percent, 25.0);
    EXPECT_LT(percent, 100.0);
    expect_balance(folder, {{0.0, 0.0}});
  }
}

// A sixteenth of the 100-pile benchmark group under 6000 kips, beyond the
// end of the piles' generated load-settlement curves: the steps stop short of
// the full load, and the partial result prints the fraction reached with
// reactions that balance its load. Forces in kips.
TEST(PartialLoad3D, OverloadedGroupEndsAtTheFractionReachedWithBalancedResults) {
  RunFolder folder("partial_group");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, RunFolder::read_file(std::string(PILECAP_TEST_DATA) + "/group_4x4_overloaded.inp"));
  folder.run();
  const double percent = partial_percent(folder);
  EXPECT_GT(percent, 25.0);  // 90.62 when the deck was made
  EXPECT_LT(percent, 100.0);
  char warning[80];
  std::snprintf(warning, sizeof warning, "  RESULTS ARE FOR %8.2f%% OF THE TOTAL LOAD", percent);
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE}) {
    EXPECT_NE(folder.read(line).find(warning), std::string::npos) << line;
  }
  const auto rows = table_l_rows(folder);
  ASSERT_EQ(rows.size(), 1u);
  const Vector6 full = {6000000, 4800, 3200, 80000, 160000, -160000};
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(rows[0].load[k], full[k] * percent / 100.0, 1e-4 * std::fabs(full[k]));
  std::vector<std::array<double, 2>> heads;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) heads.push_back({12.0 * (6 * i - 9), 12.0 * (6 * j - 9)});
  }
  expect_balance(folder, heads, 1000.0);
}

}  // namespace
}  // namespace pilecap::testing
