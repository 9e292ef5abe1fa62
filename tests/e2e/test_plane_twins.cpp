// Whole 2D runs beside their planar 3D twins (every pile row as its piles
// side by side out of the plane): the example decks of the plane model and
// plane decks that reach the corners of the plane solver (a load with no
// lateral part, batter rows under a small lateral load, loads at a point that
// stop below the full load, reduction factors for close spacing, the cap
// passive resistance by pile means on user p-y curves). Both models must end
// every run alike (the same result-code lines, so the same fraction carried)
// and print the same cap state: TABLE L of the computation report (cap load
// and displacement at the origin), the row forces at the origin against the
// sums of their twin piles, and the cap's passive resistance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

// Agreement of the two models, relative to the size of each block; never
// closer than the cap tolerance of the deck, within which both solvers
// accept their last increment.
constexpr double AGREEMENT = 1e-6;
// Pile forces follow the cap within its tolerance through the stiffness of
// their row, which near the cusp of the soft-clay curves (a row whose head
// hardly moves sideways) is up to a hundred times the group's.
constexpr double FORCE_AMPLIFICATION = 100.0;
// The 3D components of the plane's X, Y and rotation Z.
constexpr int PLANE_IN_SPACE[3] = {0, 1, 5};

std::string text_of(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// text with every `from` replaced by `to`; the deck must hold it.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t first = text.find(from);
  EXPECT_NE(first, std::string::npos) << from;
  for (std::size_t at = first; at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

struct TwinCase {
  std::string name;
  std::string plane, space;                          // the two decks
  std::vector<int> identical;                        // piles per row, rows in order
  double lever = 1.0;                                // farthest pile head from the origin (in)
  double tolerance = 0.0;                            // of the cap solution, every run of the deck
  std::string outcome = "    1 ANALYSIS COMPLETED";  // the result code of the first run
};

// The result-code lines of the runs (the file's headings left out).
std::vector<std::string> result_codes(const RunFolder& folder) {
  std::vector<std::string> codes;
  for (const std::string& line : folder.lines(RunFolder::RESULT_CODES_LINE)) {
    // A code line: blanks, the code, one blank, then its text.
    std::istringstream in(line);
    int code = 0;
    std::string next;
    if (line.rfind("    ", 0) == 0 && in >> code >> next) codes.push_back(line);
  }
  return codes;
}

// The (p-factor, y-factor) rows of the reduction-factor tables on the
// results report, every run's rows in turn.
std::vector<std::array<double, 2>> reduction_factors(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::RESULTS_LINE);
  std::vector<std::array<double, 2>> rows;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].find("GROUP NO     P-FACTOR") == std::string::npos) continue;
    for (std::size_t r = k + 2; r < lines.size(); ++r) {
      std::istringstream in(lines[r]);
      int pile = 0;
      std::array<double, 2> f{};
      if (!(in >> pile >> f[0] >> f[1])) break;
      rows.push_back(f);
    }
  }
  return rows;
}

// The three plane values of a 3D cap vector.
std::array<double, 3> in_plane(const Vector6& v) {
  return {v[PLANE_IN_SPACE[0]], v[PLANE_IN_SPACE[1]], v[PLANE_IN_SPACE[2]]};
}

// Two plane vectors (translation or force, translation or force, rotation or
// moment) agree relative to their block: the rotation part weighs as the
// movement (or the moment of the force) at the farthest pile head.
void expect_agree(const std::array<double, 3>& plane, const std::array<double, 3>& space, double lever,
                  bool rotation_small, double agreement, const char* what) {
  const double block = std::max(
      {std::fabs(plane[0]), std::fabs(plane[1]), (rotation_small ? lever : 1.0 / lever) * std::fabs(plane[2])});
  EXPECT_NEAR(space[0], plane[0], agreement * block) << what << " X";
  EXPECT_NEAR(space[1], plane[1], agreement * block) << what << " Y";
  const double third = rotation_small ? agreement * block / lever : agreement * block * lever;
  EXPECT_NEAR(space[2], plane[2], third) << what << " about Z";
}

// The example deck with some of its lines replaced, beside its twin with the
// same lines replaced (the twin's battered piles by their inclination).
TwinCase example_case(const std::string& name, const std::string& deck,
                      const std::vector<std::pair<std::string, std::string>>& plane_edits,
                      const std::vector<std::pair<std::string, std::string>>& space_edits) {
  TwinCase c{name,
             text_of(std::string(PILECAP_EXAMPLES) + "/" + deck + ".inp"),
             text_of(std::string(PILECAP_TEST_DATA) + "/" + deck + "_planar_twin.inp"),
             {3, 3, 3},
             72.0,
             1e-5};
  for (const auto& [from, to] : plane_edits) c.plane = replaced(c.plane, from, to);
  for (const auto& [from, to] : space_edits) c.space = replaced(c.space, from, to);
  return c;
}

TwinCase deck_case(const std::string& name, const Deck2D& plane, double spacing) {
  TwinCase c{name, deck_2d(plane), deck_3d(planar_twin(plane, spacing)), {}, 1.0, plane.tolerance};
  for (const DeckRow2D& r : plane.rows) {
    c.identical.push_back(r.identical);
    c.lever = std::max(c.lever, 12.0 * std::hypot(r.x, r.y));
  }
  return c;
}

std::vector<TwinCase> twin_cases() {
  std::vector<TwinCase> cases;
  cases.push_back(example_case("example bent", "bent_2d", {}, {}));
  cases.push_back(example_case("example bent with an embedded cap", "bent_2d_embedded_cap", {}, {}));
  // The dead load alone, smaller: the cap hardly rotates or moves sideways.
  const std::pair<std::string, std::string> vertical{"1800000 0 0 0", "300000 0 0 0"};
  cases.push_back(example_case("example bent, vertical load only", "bent_2d", {vertical}, {vertical}));
  const std::pair<std::string, std::string> lateral{"1800000 0 0 0", "300000 30000 0 0"};
  cases.push_back(example_case("example bent battered 10 degrees, small lateral load", "bent_2d",
                               {lateral, {"0 -6 -14 0", "0 -6 -10 0"}, {"0 6 14 0", "0 6 10 0"}},
                               {lateral, {" 104 0 0", " 100 0 0"}, {" 76 0 0", " 80 0 0"}}));

  // Loads given at the point of the origin, the lateral one beyond what the
  // clay can hold: the lateral solutions stop closing late in the attempts
  // at the higher fractions.
  Deck2D stopped = plane_bent();
  for (DeckRow2D& r : stopped.rows) r.batter = 0.0;
  stopped.layers = {{1, 0.0, 80.0, {56, 700, 0, 100, 0, 0.01, 0.5}}};
  stopped.max_iterations = 20;
  stopped.cases = {{.fx = 450000, .fy = 3.4e6, .mz = -2e6, .initial_step = 0.25, .loads_at_point = true}};
  cases.push_back(deck_case("loads at a point, stopped below the full load", stopped, 8.0));
  cases.back().outcome = "    2 SOLUTION AT ";

  // One pile per row (the plane's factors are those of a row, the twin's
  // of each pile), three diameters apart along the load.
  Deck2D close = plane_bent();
  close.pmult_method = 1;
  for (DeckRow2D& r : close.rows) r.identical = 1;
  close.cases = {{.fx = 900000, .fy = 60000, .mz = -4.8e6, .initial_step = 0.5}};
  cases.push_back(deck_case("reduction factors for close spacing", close, 4.0));

  // A cap 3 ft thick cast into the ground, resisting by the means of the
  // piles' reactions on their own user p-y curves.
  Deck2D embedded = embedded_plane_bent();
  embedded.cases = {{.fx = 600000, .fy = 60000, .mz = -1e6, .initial_step = 0.5}};
  cases.push_back(deck_case("embedded cap by pile means on user p-y curves", embedded, 8.0));
  return cases;
}

class PlaneTwins : public ::testing::TestWithParam<TwinCase> {
 protected:
  void SetUp() override {
    pile_forces_by_run.clear();
    set_run_end_hook(record_pile_forces);
  }
  void TearDown() override { set_run_end_hook(nullptr); }

  static std::vector<std::vector<Vector6>> run(RunFolder& folder, const std::string& deck) {
    pile_forces_by_run.clear();
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.run();
    return pile_forces_by_run;
  }
};

TEST_P(PlaneTwins, CapStateAndRowForcesAgreeWithThePlanarTwin) {
  const TwinCase& c = GetParam();
  const double agreement = std::max(AGREEMENT, c.tolerance);
  RunFolder folder_2d("twins_plane"), folder_3d("twins_space");
  const auto forces_2d = run(folder_2d, c.plane);
  const auto forces_3d = run(folder_3d, c.space);

  const auto codes_2d = result_codes(folder_2d);
  ASSERT_FALSE(codes_2d.empty());
  EXPECT_EQ(codes_2d[0].substr(0, c.outcome.size()), c.outcome);
  EXPECT_EQ(codes_2d, result_codes(folder_3d));

  const auto rows_2d = table_l_rows(folder_2d), rows_3d = table_l_rows(folder_3d);
  ASSERT_FALSE(rows_2d.empty());
  ASSERT_EQ(rows_2d.size(), rows_3d.size());
  for (std::size_t r = 0; r < rows_2d.size(); ++r) {
    SCOPED_TRACE("TABLE L " + std::to_string(r + 1));
    const Vector6& u2 = rows_2d[r].displacement;
    const Vector6& f2 = rows_2d[r].load;
    expect_agree({u2[0], u2[1], u2[2]}, in_plane(rows_3d[r].displacement), c.lever, true, agreement,
                 "cap displacement");
    expect_agree({f2[0], f2[1], f2[2]}, in_plane(rows_3d[r].load), c.lever, false, agreement, "cap load");
  }

  ASSERT_EQ(forces_2d.size(), forces_3d.size());
  for (std::size_t run = 0; run < forces_2d.size(); ++run) {
    SCOPED_TRACE("run " + std::to_string(run + 1));
    ASSERT_EQ(forces_2d[run].size(), c.identical.size());
    std::size_t pile = 0;
    for (std::size_t row = 0; row < c.identical.size(); ++row) {
      // The 3D rows hold the reactions on the cap, the plane's the forces on the piles.
      std::array<double, 3> sum{};
      for (int k = 0; k < c.identical[row]; ++k, ++pile) {
        const auto f = in_plane(forces_3d[run].at(pile));
        for (int i = 0; i < 3; ++i) sum[i] -= f[i];
      }
      const Vector6& f = forces_2d[run][row];
      expect_agree({f[0], f[1], f[2]}, sum, c.lever, false, std::max(AGREEMENT, FORCE_AMPLIFICATION * c.tolerance),
                   ("row " + std::to_string(row + 1)).c_str());
    }
  }

  // Every row's factors are those of its twin pile.
  const auto factors_2d = reduction_factors(folder_2d), factors_3d = reduction_factors(folder_3d);
  EXPECT_EQ(factors_2d, factors_3d);

  // The plane table holds the horizontal load and its depth, the twin's
  // the loads along Y and Z, then the depth.
  const auto passive_2d = passive_rows(folder_2d), passive_3d = passive_rows(folder_3d);
  ASSERT_EQ(passive_2d.size(), passive_3d.size());
  for (std::size_t r = 0; r < passive_2d.size(); ++r) {
    ASSERT_GE(passive_2d[r].size(), 2u);
    ASSERT_GE(passive_3d[r].size(), 3u);
    EXPECT_NEAR(passive_3d[r][0], std::fabs(passive_2d[r][0]), 1e-4 * std::fabs(passive_3d[r][0]) + 1e-5);
  }
}

void PrintTo(const TwinCase& c, std::ostream* out) { *out << c.name; }

INSTANTIATE_TEST_SUITE_P(Decks, PlaneTwins, ::testing::ValuesIn(twin_cases()),
                         [](const ::testing::TestParamInfo<TwinCase>& info) {
                           std::string name;
                           for (char ch : info.param.name)
                             name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

}  // namespace
}  // namespace pilecap::testing
