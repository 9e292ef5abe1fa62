// Whole 3D runs through DUVIZU judged by physics: a long elastic pile on an
// elastic subgrade against the closed form of a beam on a Winkler
// foundation, an English deck against its SI twin, a symmetric group that
// balances its loads with mirrored pile forces, and reports that do not
// depend on the thread count. Cap results are read from TABLE L of the
// computation report (unconverted, nine digits).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "model/model_store.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

class CapResults3D : public PileForceRecordingTest {
 protected:
  static void run(RunFolder& folder, const Deck3D& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck_3d(deck));
    folder.run();
  }
};

// A long elastic pipe pile (EI = 29e6 psi x 2549 in4) on a subgrade of
// k = 100 pci, 24 in wide, so Es = k b = 2400 psi and beta L > 10, its head
// on the ground line, where the node carries the spring of depth 0.
constexpr double EI = 29e6 * 2549.0;
constexpr double ES = 100.0 * 24.0;
constexpr double LATERAL_LOAD = 10000.0;

Deck3D elastic_pile_deck(const std::vector<DeckPile3D>& piles) {
  Deck3D d;
  d.piles = piles;
  d.ground = 0.0;
  d.length = 100.0;
  d.increments = 200;
  d.layers = {{12, 0.0, 200.0, {56, 0, 0, 100, 0, 0, 0}}};
  d.cases = {{.fy = LATERAL_LOAD}};
  return d;
}

// Head deflection of a long pile on an elastic subgrade: free head 2 H beta
// / Es, fixed head H beta / Es. A single pile whose cap takes no moment is
// free; two piles 20 ft apart along the load on stiff axial springs hold
// the cap level, so each is a fixed-head pile under H / 2.
TEST_F(CapResults3D, LongElasticPileFollowsTheClosedForm) {
  const double beta = std::pow(ES / (4.0 * EI), 0.25);
  struct Case {
    const char* name;
    std::vector<DeckPile3D> piles;
    double expected;
  };
  const std::vector<Case> cases = {
      {"free head", {{0.0, 0.0}}, 2.0 * LATERAL_LOAD * beta / ES},
      {"fixed head", {{-10.0, 0.0}, {10.0, 0.0}}, (LATERAL_LOAD / 2.0) * beta / ES},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolder folder(std::string("closed_form_") + (c.piles.size() == 1 ? "free" : "fixed"));
    run(folder, elastic_pile_deck(c.piles));
    const auto rows = table_l_rows(folder);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NEAR(rows[0].displacement[1], c.expected, 0.003 * c.expected);  // h = 6 in, beta h = 0.057
    EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("    1 ANALYSIS COMPLETED"), std::string::npos);
  }
}

// A 2 x 2 group in soft clay under a vertical load and two horizontal loads,
// once in English units and once in SI: the same cap movement and loads.
Deck3D twin_deck(int units) {
  const bool si = units == DECK_SI;
  const double ft = si ? 0.3048 : 1.0;  // site lengths
  const double in = si ? 25.4 : 1.0;    // section dimensions (mm)
  const double lb = si ? 0.0044482216152605 : 1.0;
  const double psi = si ? 6.894757293168361 : 1.0;  // kPa
  const double pcf = si ? 0.15708746 : 1.0;         // kN/m3
  const double psf = si ? 0.04788025898 : 1.0;      // kPa
  const double pci = si ? 271.4471375263 : 1.0;     // kN/m3 of subgrade
  const double lb_per_in = si ? 0.175126835 : 1.0;  // kN/m
  const double lb_in = si ? 0.000112984829 : 1.0;   // kN m
  const double lb_in2 = si ? 2.869881e-6 : 1.0;     // kN m2
  Deck3D d;
  d.units = units;
  d.piles = {{-4 * ft, -4 * ft}, {-4 * ft, 4 * ft}, {4 * ft, -4 * ft}, {4 * ft, 4 * ft}};
  d.length = 60 * ft;
  d.increments = 60;
  d.diameter = 24 * in;
  d.inner_diameter = 23 * in;
  d.area = 36.9 * in * in;
  d.inertia = 2549.0 * in * in * in * in;
  d.modulus = 29e6 * psi;
  d.shear_modulus = 11.6e6 * psi;
  d.gj = 5.91e10 * lb_in2;
  d.perimeter = 75.4 * in;
  d.layers = {{1, 0.0, 80 * ft, {56 * pcf, 700 * psf, 0, 100 * pci, 0, 0.01, 0.5}}};
  d.axial_stiffness = 2e6 * lb_per_in;
  d.axial_reach = si ? 10 * 0.0254 : 10.0;
  d.llp_tolerance = si ? 1e-7 * 0.0254 : 1e-7;  // a length: the same closure in both units
  d.torsion_stiffness = 1e10 * lb_in;
  d.cases = {{.fx = 400000 * lb, .fy = 40000 * lb, .fz = 20000 * lb, .initial_step = 0.5}};
  return d;
}

TEST_F(CapResults3D, EnglishDeckAndItsSiTwinMoveTheCapAlike) {
  RunFolder english("twin_english"), si("twin_si");
  run(english, twin_deck(DECK_ENGLISH));
  run(si, twin_deck(DECK_SI));
  const auto e = table_l_rows(english), s = table_l_rows(si);
  ASSERT_EQ(e.size(), 1u);
  ASSERT_EQ(s.size(), 1u);
  const double inch = 0.0254, pound = 0.0044482216152605;
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(s[0].displacement[k], e[0].displacement[k] * inch, 1e-4 * std::fabs(e[0].displacement[1]) * inch);
    EXPECT_NEAR(s[0].displacement[k + 3], e[0].displacement[k + 3], 1e-4 * std::fabs(e[0].displacement[5]));
    EXPECT_NEAR(s[0].load[k], e[0].load[k] * pound, 1e-6 * e[0].load[0] * pound);
  }
  EXPECT_GT(e[0].displacement[1], 0.01);  // the lateral load moves the cap measurably
}

// A 3 x 3 group symmetric about the X-Y plane under loads in that plane:
// piles mirrored in z carry mirrored forces, and the pile forces balance
// the applied loads in every run (two cases and their combination).
TEST_F(CapResults3D, SymmetricGroupGivesMirroredPileForcesThatBalanceTheLoads) {
  Deck3D d;
  for (double y : {-8.0, 0.0, 8.0}) {
    for (double z : {-8.0, 0.0, 8.0}) d.piles.push_back({y, z});
  }
  d.length = 60.0;
  d.increments = 60;
  d.axial_stiffness = 2e6;
  d.layers = {{1, 0.0, 20.0, {50, 500, 0, 100, 0, 0.01, 0.5}}, {4, 20.0, 80.0, {60, 0, 35, 90, 0, 0, 0}}};
  d.cases = {{.fx = 900000, .fy = 90000, .mz = 2e6, .initial_step = 0.5}, {.fx = 500000, .fy = -30000}};
  d.combinations = {{{{1, 1.2}, {2, 0.9}}}};
  RunFolder folder("symmetric");
  run(folder, d);
  const auto rows = table_l_rows(folder);
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(pile_forces_by_run.size(), 3u);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    const auto& forces = pile_forces_by_run[r];
    const double scale = std::fabs(rows[r].load[0]) + std::fabs(rows[r].load[1]);
    for (int k = 0; k < 6; ++k) {
      double sum = 0.0;
      for (const Vector6& f : forces) sum += f[k];
      const double size = k < 3 ? scale : scale * 100.0;  // moments about the origin, piles 8 ft off
      EXPECT_NEAR(sum, -rows[r].load[k], 1e-6 * size) << "component " << k + 1;
    }
    // Pile (y, z) is pile 3 i + j + 1 for i, j = 0..2 over y and z; its
    // mirror (y, -z) is pile 3 i + (2 - j) + 1.
    for (int i = 0; i < 3; ++i) {
      const Vector6& a = forces[static_cast<std::size_t>(3 * i)];
      const Vector6& b = forces[static_cast<std::size_t>(3 * i + 2)];
      const std::array<double, 6> sign = {1, 1, -1, -1, -1, 1};
      for (int k = 0; k < 6; ++k) {
        const double size = k < 3 ? scale : scale * 100.0;
        EXPECT_NEAR(a[k], sign[k] * b[k], 1e-7 * size) << "row " << i << " component " << k + 1;
      }
    }
    EXPECT_NEAR(rows[r].displacement[2], 0.0, 1e-9);
  }
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 3);
}

TEST_F(CapResults3D, ReportsDoNotDependOnTheThreadCount) {
  auto deck = [](int threads) {
    Deck3D d = twin_deck(DECK_ENGLISH);
    d.cases.push_back({.fx = 300000, .fy = -20000, .mx = 1e6, .initial_step = 0.25});
    for (DeckCase3D& c : d.cases) c.threads = threads;
    d.combinations = {{{{1, 1.0}, {2, 0.5}}}};
    return d;
  };
  const std::vector<int> reports = {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE,
                                    RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE};
  RunFolder folder("threads");
  run(folder, deck(1));
  ASSERT_EQ(table_l_rows(folder).size(), 3u);
  std::vector<std::string> one_thread;
  for (int line : reports) one_thread.push_back(without_timing(folder.read(line)));
  run(folder, deck(4));
  for (std::size_t k = 0; k < reports.size(); ++k) {
    SCOPED_TRACE(reports[k]);
    EXPECT_EQ(one_thread[k], without_timing(folder.read(reports[k])));
  }
}

// A pile pushed beyond the end of its load-settlement line (capacity
// 100000 lb) by 150000 lb: the run ends at the last converged fraction with
// the partial-load warning and result code carrying the same percentage,
// and reports the state of that fraction alone: its pile stands within its
// curve, so no bearing warning is printed (the failed attempts beyond the
// curve's end were never accepted; they used to print theirs).
TEST_F(CapResults3D, OverloadedPileEndsOnThePartialLoadRoadWithTheWarningsOfItsConvergedState) {
  Deck3D d = elastic_pile_deck({{0.0, 0.0}});
  d.axial_stiffness = 1e6;
  d.axial_reach = 0.1;
  d.cases = {{.fx = 150000, .fy = 1000, .initial_step = 0.25}};
  RunFolder folder("partial_load");
  run(folder, d);
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  const std::size_t at = codes.find("    2 SOLUTION AT ");
  ASSERT_NE(at, std::string::npos) << codes;
  const double percent = std::stod(codes.substr(at + 18, 8));
  EXPECT_GT(percent, 60.0);
  EXPECT_LE(percent, 100.0 * 100000.0 / 150000.0);
  char expected[80];
  std::snprintf(expected, sizeof expected, "  RESULTS ARE FOR %8.2f%% OF THE TOTAL LOAD", percent);
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(count_text(folder.read(line), expected), 1);
  }
  const std::string results = folder.read(RunFolder::RESULTS_LINE), log = folder.read(RunFolder::RUN_LOG_LINE);
  EXPECT_EQ(count_text(results, "SOME PILES MAY FAIL IN BEARING!"), 0);
  EXPECT_EQ(count_text(log, "SOME PILES MAY FAIL IN BEARING!"), 0);
  EXPECT_EQ(count_text(results, "APPARENT FAILURE IN BEARING"), 0);
  // TABLE L shows the load of the converged fraction.
  const auto rows = table_l_rows(folder);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NEAR(rows[0].load[0], 150000.0 * percent / 100.0, 150000.0 * 0.005 / 100.0);  // percent has 2 decimals
}

}  // namespace
}  // namespace pilecap::testing
