// Whole runs of load cases with incremental (pushover) points, through
// DUVIZU. A group on linear springs must give displacements and pile forces
// in proportion to each point's multiplier; in soft clay the capacity curve
// (cap load against cap displacement) rises and softens, and the piles whose
// head moment reaches the plastic moment of their section are named in the
// hinge table at the head, where a fixed head has its largest moment; the
// plane model's points behave as its 3D points; the reports do not depend
// on the thread count.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

constexpr int SOFT_CLAY_CODE = 1;
constexpr int ELASTIC_SUBGRADE_CODE = 12;
constexpr int PILE_TOP_VALUES = 13;  // displacements, reactions and the stress of one pile top in space

using Values = std::vector<double>;

// One block of the computation report: a pushover point (its factor) or the
// run at the total load (factor 0): the cap load and displacement at the
// origin and every pile's global pile-top line.
struct Block {
  double factor = 0.0;
  Values load, displacement;
  std::vector<Values> piles;
};

Values numbers(const std::string& line) {
  Values v;
  std::istringstream in(line);
  for (double x; in >> x;) v.push_back(x);
  return v;
}

std::vector<Block> computation_blocks(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
  std::vector<Block> blocks;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const std::string& line = lines[k];
    const auto factor_at = line.find("FACTOR :");
    if (factor_at != std::string::npos) {
      blocks.push_back({std::stod(line.substr(factor_at + 8)), {}, {}, {}});
    } else if (line.find("* TABLE L *") != std::string::npos) {
      blocks.push_back({});
    }
    if (blocks.empty()) continue;
    Block& b = blocks.back();
    if (line.find("EQUIVALENT CONCENTRATED LOAD AT ORIGIN") != std::string::npos) b.load = numbers(lines[k + 1]);
    if (line.find("DISPLACEMENT OF PILE CAP AT ORIGIN") != std::string::npos) b.displacement = numbers(lines[k + 1]);
    if (line.find("PILE TOP DISP. AND REACT. GLOBAL") != std::string::npos) b.piles.push_back(numbers(lines[k + 1]));
  }
  return blocks;
}

double largest(const Values& v, std::size_t from, std::size_t to) {
  double m = 0.0;
  for (std::size_t k = from; k < to && k < v.size(); ++k) m = std::max(m, std::fabs(v[k]));
  return m;
}

// a = m b, component by component, to rel of the largest magnitude of the
// group [from, to) of b it belongs to.
void expect_scaled(const Values& a, const Values& b, double m, std::size_t from, std::size_t to, double rel,
                   const std::string& what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  const double scale = std::fabs(m) * largest(b, from, to);
  for (std::size_t k = from; k < to; ++k) EXPECT_NEAR(a[k], m * b[k], rel * scale + 1e-300) << what << " " << k;
}

// Three vertical elastic piles on linear springs, pinned to the cap, under
// a vertical load that every point keeps (so the axial force of every pile,
// and with it the beam-column term, is the same at every point), lateral
// loads and a torque; or, fixed to the cap in soft clay, under a vertical
// and a lateral load.
Deck3D group(bool soft_clay) {
  Deck3D d;
  d.connection = CONN_PINNED_HEAD;
  d.unscaled = {1, 0, 0, 0, 0, 0, 0, 0};
  d.piles = {{-5.0, -3.0}, {5.0, -3.0}, {0.0, 6.0}};
  d.ground = -1e-6;
  d.length = 40.0;
  d.increments = 40;
  d.layers = {{ELASTIC_SUBGRADE_CODE, -1e-6, 80.0, {56, 0, 0, 100, 0, 0, 0}}};
  d.axial_stiffness = 2e6;
  d.torsion_stiffness = 1e10;
  d.cases = {{.fx = 100000, .fy = 10000, .fz = 8000, .mx = 2e6}};
  if (soft_clay) {
    d.connection = CONN_FIXED_HEAD;
    d.unscaled.clear();
    d.ground = 0.0;
    d.layers = {{SOFT_CLAY_CODE, 0.0, 80.0, {56, 500, 0, 100, 0, 0.01, 0.5}}};
    d.cases = {{.fx = 90000, .fy = 30000}};
    d.tolerance = 1e-6;
    d.llp_tolerance = 1e-6;
  }
  return d;
}

class PushoverRuns : public EngineTest {
 protected:
  static void run(RunFolder& folder, const std::string& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    ASSERT_EQ(folder.run(), 0);
    ASSERT_NE(folder.read(RunFolder::RUN_LOG_LINE).find("     ANALYSIS COMPLETED\n"), std::string::npos);
  }
};

// On a linear model each point is the total-load run times its multiplier:
// the lateral cap loads, the lateral displacements and the torsional
// rotation, every pile's lateral displacements and forces; the vertical
// load, flagged unscaled, and what it moves stay as they are. The last point
// is the run at the total load; every point completes.
TEST_F(PushoverRuns, LinearGroupAnswersInProportionToTheMultiplier) {
  Deck3D d = group(false);
  const std::vector<double> multipliers = {0.5, 1.0, 2.5};
  d.pushover = multipliers;
  RunFolder folder("pushover_linear");
  run(folder, deck_3d(d));
  const std::vector<Block> blocks = computation_blocks(folder);
  ASSERT_EQ(blocks.size(), multipliers.size() + 1);
  const Block& total = blocks.back();
  ASSERT_EQ(total.load.size(), 6u);
  ASSERT_EQ(total.piles.size(), 3u);
  for (std::size_t p = 0; p < multipliers.size(); ++p) {
    const Block& b = blocks[p];
    const double m = multipliers[p];
    const std::string what = "point " + std::to_string(p + 1);
    EXPECT_EQ(b.factor, m) << what;
    expect_scaled(b.load, total.load, 1.0, 0, 1, 1e-8, what + " vertical load");
    expect_scaled(b.load, total.load, m, 1, 4, 1e-8, what + " lateral loads and torque");
    expect_scaled(b.displacement, total.displacement, 1.0, 0, 1, 1e-6, what + " settlement");
    expect_scaled(b.displacement, total.displacement, m, 1, 3, 1e-6, what + " lateral displacements");
    expect_scaled(b.displacement, total.displacement, m, 3, 4, 1e-6, what + " twist");
    ASSERT_EQ(b.piles.size(), 3u) << what;
    for (std::size_t pile = 0; pile < 3; ++pile) {
      ASSERT_EQ(b.piles[pile].size(), static_cast<std::size_t>(PILE_TOP_VALUES));
      const std::string which = what + " pile " + std::to_string(pile + 1);
      expect_scaled(b.piles[pile], total.piles[pile], m, 1, 3, 1e-5, which + " lateral displacements");
      expect_scaled(b.piles[pile], total.piles[pile], 1.0, 6, 7, 1e-5, which + " axial force");
      expect_scaled(b.piles[pile], total.piles[pile], m, 7, 9, 1e-5, which + " lateral forces");
    }
  }
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  EXPECT_NE(codes.find("      INCREMENTAL/PUSHOVER ANALYSIS, POINT :    3/   3 FACTOR :      2.50000\n"
                       "    1 ANALYSIS COMPLETED\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"),
            std::string::npos);
}

// In soft clay the capacity curve rises and softens: the lateral
// displacement grows faster than the load from point to point. A pile's
// head moment that reaches the plastic moment makes a hinge there, at depth
// 0; below it no hinge table is printed.
TEST_F(PushoverRuns, SoftClayCapacityCurveSoftensAndHingesFormAtTheHead) {
  constexpr double PLASTIC_MOMENT = 4.5e5;  // lb-in
  Deck3D d = group(true);
  d.plastic_moment = PLASTIC_MOMENT;
  d.pushover = {0.25, 0.5, 0.75, 1.0, 1.25};
  RunFolder folder("pushover_soft_clay");
  run(folder, deck_3d(d));
  const std::vector<Block> blocks = computation_blocks(folder);
  ASSERT_EQ(blocks.size(), d.pushover.size() + 1);

  double previous_load = 0.0, previous_displacement = 0.0, previous_secant = INFINITY;
  for (std::size_t p = 0; p < d.pushover.size(); ++p) {
    const double load = blocks[p].load[1], displacement = blocks[p].displacement[1];
    const std::string what = "point " + std::to_string(p + 1);
    EXPECT_GT(load, previous_load) << what;
    EXPECT_GT(displacement, previous_displacement) << what;
    const double secant = (load - previous_load) / (displacement - previous_displacement);
    EXPECT_LT(secant, previous_secant) << what << ": the curve softens";
    previous_load = load;
    previous_displacement = displacement;
    previous_secant = secant;
  }

  // The summary, point by point: the hinge rows between a point's line and the next.
  const std::string summary = folder.read(RunFolder::SUMMARY_LINE);
  std::vector<std::string> point_text;
  for (std::size_t p = 1; p <= d.pushover.size(); ++p) {
    char mark[32];
    std::snprintf(mark, sizeof mark, "   N:%5zu", p);
    const auto at = summary.find(mark);
    ASSERT_NE(at, std::string::npos) << mark;
    point_text.push_back(summary.substr(at, summary.find("N:", at + 10) - at));
  }
  int points_with_hinges = 0;
  for (std::size_t p = 0; p < d.pushover.size(); ++p) {
    const std::string what = "point " + std::to_string(p + 1);
    const std::string& text = point_text[p];
    bool any = false;
    for (std::size_t pile = 0; pile < 3; ++pile) {
      const double head_moment = std::fabs(blocks[p].piles[pile][11]);
      char row[64];
      std::snprintf(row, sizeof row, "%11zu     Z-DIR            0.0000 \n", pile + 1);
      if (head_moment >= (1.0 - 1e-3) * PLASTIC_MOMENT) {
        EXPECT_NE(text.find(row), std::string::npos) << what << " pile " << pile + 1;
        any = true;
      } else {
        EXPECT_EQ(text.find(row), std::string::npos) << what << " pile " << pile + 1;
      }
      EXPECT_LE(head_moment, (1.0 + 1e-3) * PLASTIC_MOMENT) << what;
    }
    EXPECT_EQ(text.find("* FORMATION OF PLASTIC HINGES IN PILES *") != std::string::npos, any) << what;
    if (any) {
      ++points_with_hinges;
      EXPECT_NE(text.find("\n        PILE     DIR          DEPTH  (FT)         \n"), std::string::npos) << what;
    }
  }
  EXPECT_GE(points_with_hinges, 1) << "the largest point reaches the plastic moment";
  EXPECT_LT(points_with_hinges, static_cast<int>(d.pushover.size())) << "the smallest does not";
}

// The plane model: each point of a linear bent of pinned rows is its
// total-load run times the multiplier in the lateral load, the lateral
// displacement and the rows' lateral forces; the vertical load is kept.
TEST_F(PushoverRuns, PlaneModelAnswersInProportionToTheMultiplier) {
  Deck2D d;
  d.rows = {{0.0, -4.0, 0.0, 2, CONN_PINNED_HEAD}, {0.0, 4.0, 0.0, 2, CONN_PINNED_HEAD}};
  d.layers = {{ELASTIC_SUBGRADE_CODE, -1e-6, 80.0, {56, 0, 0, 100, 0, 0, 0}}};
  d.cases = {{.fx = 200000, .fy = 20000}};
  std::string deck = deck_2d(d);
  // The case gets three pushover points.
  const std::string line5 = " 1 1.0 0 0 0 0 0 0 0 0\n";
  deck.replace(deck.find(line5), line5.size(), " 1 1.0 0 0 0 0 0 0 1 3\n");
  const std::string lists = "0\n0\n0\n0 0 0 0 0 0 0 0\n0\n";
  deck.replace(deck.find(lists), lists.size(), "0\n0\n3\n0.5\n1.5\n3\n1 0 0 0 0 0 0 0\n0\n");
  RunFolder folder("pushover_plane");
  run(folder, deck);
  const std::vector<Block> blocks = computation_blocks(folder);
  ASSERT_EQ(blocks.size(), 4u);
  const Block& total = blocks.back();
  ASSERT_EQ(total.load.size(), 3u);
  const double multipliers[] = {0.5, 1.5, 3.0};
  for (std::size_t p = 0; p < 3; ++p) {
    const std::string what = "point " + std::to_string(p + 1);
    const double m = multipliers[p];
    EXPECT_EQ(blocks[p].factor, m);
    expect_scaled(blocks[p].load, total.load, 1.0, 0, 1, 1e-8, what + " vertical load");
    expect_scaled(blocks[p].load, total.load, m, 1, 2, 1e-8, what + " lateral load");
    expect_scaled(blocks[p].displacement, total.displacement, 1.0, 0, 1, 1e-6, what + " settlement");
    expect_scaled(blocks[p].displacement, total.displacement, m, 1, 2, 1e-6, what + " lateral displacement");
    ASSERT_EQ(blocks[p].piles.size(), 2u);
    for (std::size_t row = 0; row < 2; ++row) {
      // Three displacements, three reactions, the stress.
      expect_scaled(blocks[p].piles[row], total.piles[row], 1.0, 3, 4, 1e-5, what + " axial force");
      expect_scaled(blocks[p].piles[row], total.piles[row], m, 4, 5, 1e-5, what + " lateral force");
    }
  }
  const std::string summary = folder.read(RunFolder::SUMMARY_LINE);
  EXPECT_NE(summary.find("       * PILE TOP DISPLACEMENTS, LOCAL *\n\n       PILE GROUP  DISP. x,IN"),
            std::string::npos);
}

// Every report of a pushover case is the same on one thread and on four.
TEST_F(PushoverRuns, ReportsDoNotDependOnTheThreadCount) {
  const int files[] = {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::COMPUTATION_LINE,
                       RunFolder::RESULT_CODES_LINE};
  std::vector<std::string> one_thread;
  for (int threads : {1, 4}) {
    Deck3D d = group(true);
    d.plastic_moment = 4.5e5;
    d.pushover = {0.5, 1.0, 1.25};
    d.print_option = 2;
    d.cases[0].threads = threads;
    RunFolder folder("pushover_threads");
    run(folder, deck_3d(d));
    for (std::size_t k = 0; k < std::size(files); ++k) {
      const std::string text = without_timing(folder.read(files[k]));
      if (threads == 1) {
        one_thread.push_back(text);
      } else {
        EXPECT_EQ(one_thread[k], text) << "file " << files[k];
      }
    }
  }
}

// A point pushed beyond the capacity of the pile's axial line stops below
// its load: it is reported with the load it carried, its factor the
// multiplier times the converged fraction, and the partial-load code with
// that percentage (never "completed"); the pile's reaction balances that
// load. The point before it completes.
TEST_F(PushoverRuns, PointStoppedBelowItsLoadReportsTheLoadItCarried) {
  Deck3D d;
  d.piles = {{0.0, 0.0}};
  d.length = 60.0;
  d.increments = 60;
  d.layers = {{SOFT_CLAY_CODE, 0.0, 80.0, {56, 700, 0, 100, 0, 0.01, 0.5}}};
  d.axial_stiffness = 1e6;
  d.axial_reach = 0.1;  // the axial line ends at 100000 lb
  d.cases = {{.fx = 80000, .fy = 2000, .initial_step = 0.25}};
  d.pushover = {0.5, 2.0};
  RunFolder folder("pushover_partial");
  run(folder, deck_3d(d));
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  const std::string second = "      INCREMENTAL/PUSHOVER ANALYSIS, POINT :    2/   2 FACTOR :      2.00000\n";
  ASSERT_NE(codes.find("FACTOR :      0.50000\n    1 ANALYSIS COMPLETED\n" + second), std::string::npos) << codes;
  const std::string partial = "    2 SOLUTION AT ";
  const auto at = codes.find(second + partial);
  ASSERT_NE(at, std::string::npos) << codes;
  const double percent = std::stod(codes.substr(at + second.size() + partial.size(), 8));
  EXPECT_GT(percent, 0.0);
  EXPECT_LT(percent, 100.0);

  const std::vector<Block> blocks = computation_blocks(folder);
  ASSERT_EQ(blocks.size(), 3u);
  const double carried = percent / 100.0;
  EXPECT_NEAR(blocks[1].factor, 2.0 * carried, 1e-4);
  EXPECT_NEAR(blocks[1].load[0], 2.0 * 80000 * carried, 1e-4 * 160000);
  EXPECT_NEAR(blocks[1].load[1], 2.0 * 2000 * carried, 1e-4 * 4000);
  ASSERT_EQ(blocks[1].piles.size(), 1u);
  EXPECT_NEAR(blocks[1].piles[0][6], blocks[1].load[0], 1e-4 * blocks[1].load[0]) << "axial reaction";
  EXPECT_NEAR(blocks[1].piles[0][7], blocks[1].load[1], 1e-3 * blocks[1].load[1]) << "lateral reaction";

  // Wherever the points are listed, the partial one carries its mark with
  // the percent of its code, the full one none.
  const std::string percent_text = codes.substr(at + second.size() + partial.size() + 2, 6);
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE}) {
    const std::string report = folder.read(line);
    EXPECT_EQ(count_text(report, "  PARTIAL: " + percent_text + " % OF THE POINT LOAD\n"), 1) << report;
    EXPECT_EQ(count_text(report, "PARTIAL"), 1) << report;
    EXPECT_NE(report.find("   N:    2  FACTOR :"), std::string::npos);
  }
  EXPECT_EQ(
      count_text(folder.read(RunFolder::COMPUTATION_LINE), "  PARTIAL: " + percent_text + " % OF THE POINT LOAD\n"), 1);
}

// Pushed to three times its lateral load, the example's last point stops part
// way through lateral pile solutions that do not close: their warnings reach
// the results report, as those of a plain case do, and not only the run log.
TEST_F(PushoverRuns, WarningsOfAPointReachTheResultsReport) {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/pushover_3d.inp");
  std::stringstream example;
  example << in.rdbuf();
  std::string deck = example.str();
  const std::string last = "\n1.5\n";
  ASSERT_NE(deck.find(last), std::string::npos);
  deck.replace(deck.find(last), last.size(), "\n3.0\n");
  RunFolder folder("pushover_warnings");
  run(folder, deck);
  const std::string warning = "** WARNING **  NO CLOSURE OF A LLP AFTER";
  const int in_log = count_text(folder.read(RunFolder::RUN_LOG_LINE), warning);
  EXPECT_GT(in_log, 0);
  const std::string results = folder.read(RunFolder::RESULTS_LINE);
  EXPECT_EQ(count_text(results, warning), in_log);
  // They stand before the point whose run gave them.
  EXPECT_LT(results.rfind(warning), results.find("   N:    3  FACTOR :"));
  EXPECT_GT(results.find(warning), results.find("   N:    2  FACTOR :"));
}

// The example deck: its point at multiplier 1 is the case's own run at the
// total load (the same loads, so the same cap and pile results to the
// digit), its last point forms hinges at the four heads, and its reports are
// the same on one thread and on four.
TEST_F(PushoverRuns, ExampleDeckPointAtOneIsTheTotalLoadRun) {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/pushover_3d.inp");
  std::stringstream example;
  example << in.rdbuf();
  auto deck = [&](int threads) {
    std::string text = example.str();
    const std::string controls = "0 0 0 1 100 200 100\n";
    text.replace(text.find(controls), controls.size(), "0 0 " + std::to_string(threads) + " 1 100 200 100\n");
    return text;
  };
  const int files[] = {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::COMPUTATION_LINE,
                       RunFolder::RESULT_CODES_LINE, RunFolder::RUN_LOG_LINE};
  std::vector<std::string> one_thread;
  for (int threads : {1, 4}) {
    RunFolder folder("pushover_example");
    run(folder, deck(threads));
    std::vector<std::string> texts;
    for (int line : files) texts.push_back(without_timing(folder.read(line)));
    if (threads == 4) {
      for (std::size_t k = 0; k < std::size(files); ++k) EXPECT_EQ(one_thread[k], texts[k]) << "file " << files[k];
      continue;
    }
    one_thread = texts;
    const std::vector<Block> blocks = computation_blocks(folder);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[1].factor, 1.0);
    EXPECT_EQ(blocks[1].load, blocks[3].load);
    EXPECT_EQ(blocks[1].displacement, blocks[3].displacement);
    EXPECT_EQ(blocks[1].piles, blocks[3].piles);
    const std::string summary = texts[1];
    const auto hinges = summary.find("* FORMATION OF PLASTIC HINGES IN PILES *");
    ASSERT_NE(hinges, std::string::npos);
    EXPECT_GT(hinges, summary.find("   N:    3  FACTOR :    1.5000")) << "only the last point has hinges";
    EXPECT_NE(summary.find("          4     Z-DIR            0.0000 \n", hinges), std::string::npos);
  }
}

}  // namespace
}  // namespace pilecap::testing
