// Whole 2D runs through DUVIZU judged by physics: a bent against its planar
// 3D twin (the same cap movement and pile-head forces), an English deck
// against its SI twin, the row forces times their identical piles balancing
// the loads of every run, the closing rows of the summary tables equal to
// the extremes of the rows printed above them, and reports that do not
// depend on the thread count. Cap results are read from TABLE L of the
// computation report (unconverted, nine digits); pile-top values from the
// result stores at the end of every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/model_store.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

struct CapRow {
  std::vector<double> load, displacement;
};

std::vector<double> numbers(const std::string& line) {
  std::vector<double> v;
  std::istringstream in(line);
  for (double x; in >> x;) v.push_back(x);
  return v;
}

// The TABLE L rows of every solved run, in run order (not those of the
// envelopes, which follow their envelope's line).
std::vector<CapRow> table_l_rows(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
  std::vector<CapRow> rows;
  for (std::size_t k = 1; k + 4 < lines.size(); ++k) {
    if (lines[k].find("* TABLE L *") == std::string::npos) continue;
    if (lines[k - 1].find(" ENV : ") != std::string::npos) continue;
    rows.push_back({numbers(lines[k + 2]), numbers(lines[k + 4])});
  }
  return rows;
}

// The global pile-top values (13 columns) of every pile after each run.
std::vector<std::vector<std::array<double, 13>>> pile_tops_by_run;

void record_pile_tops(int /*run_kind*/, int /*index*/) {
  std::vector<std::array<double, 13>> tops(static_cast<std::size_t>(PileTable.n_piles));
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    for (int c = 1; c <= 13; ++c) tops[static_cast<std::size_t>(p - 1)][c - 1] = PileTopResults.current_global(p, c);
  }
  pile_tops_by_run.push_back(tops);
}

std::string example_bent() {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/bent_2d.inp");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PlaneRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    pile_tops_by_run.clear();
    set_run_end_hook(record_pile_tops);
  }
  void TearDown() override { set_run_end_hook(nullptr); }

  static void run(RunFolder& folder, const std::string& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.run();
  }
};

// A bent of three rows (two battered) in soft clay over sand under a
// vertical load, a horizontal load and a moment.
Deck2D bent(int units) {
  const bool si = units == DECK_SI;
  const double ft = si ? 0.3048 : 1.0;
  const double in = si ? 25.4 : 1.0;
  const double lb = si ? 0.0044482216152605 : 1.0;
  const double psi = si ? 6.894757293168361 : 1.0;
  const double pcf = si ? 0.15708746 : 1.0;
  const double psf = si ? 0.04788025898 : 1.0;
  const double pci = si ? 271.4471375263 : 1.0;
  const double lb_per_in = si ? 0.175126835 : 1.0;
  const double lb_in = si ? 0.000112984829 : 1.0;  // kN m from lb in
  Deck2D d;
  d.units = units;
  d.rows = {{0.0, -6 * ft, -14.0, 3}, {0.0, 0.0, 0.0, 3}, {0.0, 6 * ft, 14.0, 3}};
  d.length = 60 * ft;
  d.increments = 60;
  d.diameter = 24 * in;
  d.inner_diameter = 23 * in;
  d.area = 36.9 * in * in;
  d.inertia = 2549.0 * in * in * in * in;
  d.modulus = 29e6 * psi;
  d.shear_modulus = 11.6e6 * psi;
  d.perimeter = 75.4 * in;
  d.layers = {{1, 0.0, 15 * ft, {56 * pcf, 700 * psf, 0, 100 * pci, 0, 0.01, 0.5}},
              {4, 15 * ft, 80 * ft, {62 * pcf, 0, 35, 90 * pci, 0, 0, 0}}};
  d.axial_stiffness = 1e6 * lb_per_in;
  d.axial_reach = si ? 10 * 0.0254 : 10.0;
  d.llp_tolerance = si ? 1e-9 * 0.0254 : 1e-9;  // a length: the same closure in both units
  d.cases = {{.fx = 900000 * lb, .fy = 60000 * lb, .mz = -4.8e6 * lb_in, .initial_step = 0.5},
             {.fx = 300000 * lb, .fy = -90000 * lb}};
  d.combinations = {{{{1, 1.2}, {2, 1.6}}}};
  d.combination_envelopes = 1;
  return d;
}

TEST_F(PlaneRuns, BentAndItsPlanarThreeDimensionalTwinAgree) {
  const Deck2D plane = bent(DECK_ENGLISH);
  constexpr double SPACING = 8.0;  // ft between the piles of a row, out of the plane
  RunFolder folder_2d("twin_plane"), folder_3d("twin_space");
  run(folder_2d, deck_2d(plane));
  const auto tops_2d = pile_tops_by_run;
  pile_tops_by_run.clear();
  run(folder_3d, deck_3d(planar_twin(plane, SPACING)));
  const auto tops_3d = pile_tops_by_run;
  const auto rows_2d = table_l_rows(folder_2d), rows_3d = table_l_rows(folder_3d);
  ASSERT_EQ(rows_2d.size(), 3u);
  ASSERT_EQ(rows_3d.size(), 3u);
  ASSERT_EQ(tops_2d.size(), 3u);
  ASSERT_EQ(tops_3d.size(), 3u);
  // The solvers step and converge differently: agreement to 1e-4 of the
  // size of each block (translations, rotations, forces, moments).
  constexpr double AGREEMENT = 1e-4;
  for (std::size_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    const auto& u2 = rows_2d[r].displacement;
    const auto& u3 = rows_3d[r].displacement;
    ASSERT_EQ(u2.size(), 3u);
    ASSERT_EQ(u3.size(), 6u);
    const double translation = std::max(std::fabs(u2[0]), std::fabs(u2[1]));
    EXPECT_NEAR(u3[0], u2[0], AGREEMENT * translation);
    EXPECT_NEAR(u3[1], u2[1], AGREEMENT * translation);
    EXPECT_NEAR(u3[5], u2[2], AGREEMENT * std::fabs(u2[2]));
    EXPECT_NEAR(u3[2], 0.0, 1e-9);
    // Row i's piles against the middle one of its twins (piles 3 i + 1..3).
    double force = 0.0, moment = 0.0;
    for (const auto& row : tops_2d[r]) {
      force = std::max({force, std::fabs(row[3]), std::fabs(row[4])});
      moment = std::max(moment, std::fabs(row[5]));
    }
    for (std::size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const auto& row = tops_2d[r][i];
      const auto& pile = tops_3d[r][3 * i + 1];
      EXPECT_NEAR(pile[6], row[3], AGREEMENT * force);    // FX
      EXPECT_NEAR(pile[7], row[4], AGREEMENT * force);    // FY
      EXPECT_NEAR(pile[11], row[5], AGREEMENT * moment);  // MZ
    }
  }
  EXPECT_EQ(count_text(folder_2d.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 3);
}

// The bent under a cap 3 ft thick cast into the soft clay, whose surface
// lies at the cap's top: the cap's passive resistance by its element in the
// plane model and in the planar twin (one working width, the equivalent
// diameter) must move the cap alike, and less than without the cap.
TEST_F(PlaneRuns, EmbeddedCapOfTheBentAndOfItsPlanarTwinAgree) {
  Deck2D plane = bent(DECK_ENGLISH);
  plane.cases.resize(1);
  plane.combinations.clear();
  plane.combination_envelopes = 0;
  plane.ground = -3.0;
  plane.layers[0].top = -3.0;
  plane.cap_length = 16.0;
  plane.cap_width = 24.0;
  plane.cap_thickness = 3.0;
  plane.cap_diameter = 24.0;  // one working width for both models
  RunFolder folder_bare("cap_bare");
  run(folder_bare, deck_2d(plane));
  const auto rows_bare = table_l_rows(folder_bare);
  ASSERT_EQ(rows_bare.size(), 1u);
  struct Method {
    const char* name;
    int option, method;
  } methods[] = {{"by the cap element", 2, 1}, {"by the means of the piles", 1, 0}};
  for (const Method& m : methods) {
    SCOPED_TRACE(m.name);
    plane.cap_passive_option = m.option;
    plane.passive_method = m.method;
    plane.passive_increments = 6;
    RunFolder folder_2d("cap_plane"), folder_3d("cap_space");
    run(folder_2d, deck_2d(plane));
    run(folder_3d, deck_3d(planar_twin(plane, 8.0)));
    const auto rows_2d = table_l_rows(folder_2d), rows_3d = table_l_rows(folder_3d);
    ASSERT_EQ(rows_2d.size(), 1u);
    ASSERT_EQ(rows_3d.size(), 1u);
    const auto& u2 = rows_2d[0].displacement;
    const auto& u3 = rows_3d[0].displacement;
    ASSERT_EQ(u2.size(), 3u);
    ASSERT_EQ(u3.size(), 6u);
    constexpr double AGREEMENT = 1e-4;
    const double translation = std::max(std::fabs(u2[0]), std::fabs(u2[1]));
    EXPECT_NEAR(u3[0], u2[0], AGREEMENT * translation);
    EXPECT_NEAR(u3[1], u2[1], AGREEMENT * translation);
    EXPECT_NEAR(u3[5], u2[2], AGREEMENT * std::fabs(u2[2]));
    // The resistance holds the cap back by a visible share of its movement.
    EXPECT_LT(std::fabs(u2[1]), 0.95 * std::fabs(rows_bare[0].displacement[1]));
    EXPECT_EQ(count_text(folder_2d.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 1);
  }
}

TEST_F(PlaneRuns, EnglishBentAndItsSiTwinMoveTheCapAlike) {
  RunFolder english("plane_english"), si("plane_si");
  run(english, deck_2d(bent(DECK_ENGLISH)));
  run(si, deck_2d(bent(DECK_SI)));
  const auto e = table_l_rows(english), s = table_l_rows(si);
  ASSERT_EQ(e.size(), 3u);
  ASSERT_EQ(s.size(), 3u);
  const double inch = 0.0254, pound = 0.0044482216152605, pound_inch = pound * inch;
  for (std::size_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    const double translation = std::max(std::fabs(e[r].displacement[0]), std::fabs(e[r].displacement[1]));
    for (int k = 0; k < 2; ++k) {
      EXPECT_NEAR(s[r].displacement[k], e[r].displacement[k] * inch, 1e-4 * translation * inch);
      EXPECT_NEAR(s[r].load[k], e[r].load[k] * pound, 1e-6 * std::fabs(e[r].load[0]) * pound);
    }
    EXPECT_NEAR(s[r].displacement[2], e[r].displacement[2], 1e-4 * std::fabs(e[r].displacement[2]));
    EXPECT_NEAR(s[r].load[2], e[r].load[2] * pound_inch, 1e-6 * std::fabs(e[r].load[2]) * pound_inch);
  }
  EXPECT_GT(std::fabs(e[1].displacement[1]), 0.01);  // the horizontal load moves the cap measurably
}

// The printed TABLE L load of every run of the example bent against the
// row forces of its pile tops: sum n (FX, FY, -y FX + x FY + M).
TEST_F(PlaneRuns, RowForcesTimesTheirPilesBalanceTheLoadsOfTheExampleBent) {
  RunFolder folder("example_bent");
  run(folder, example_bent());
  EXPECT_EQ(folder.lines(RunFolder::RESULT_CODES_LINE)[5], "    1 ANALYSIS COMPLETED");
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 3);
  const auto rows = table_l_rows(folder);
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(pile_tops_by_run.size(), 3u);
  struct Row {
    double x, y, n;
  };
  const Row heads[] = {{0.0, -72.0, 3}, {0.0, 0.0, 3}, {0.0, 72.0, 3}};  // inches
  for (std::size_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    double sum[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
      const auto& top = pile_tops_by_run[r][i];
      const Row& h = heads[i];
      sum[0] += h.n * top[3];
      sum[1] += h.n * top[4];
      sum[2] += h.n * (-h.y * top[3] + h.x * top[4] + top[5]);
    }
    const auto& load = rows[r].load;
    const double force = std::max(std::fabs(load[0]), std::fabs(load[1]));
    EXPECT_NEAR(sum[0], load[0], 1e-4 * force);
    EXPECT_NEAR(sum[1], load[1], 1e-4 * force);
    EXPECT_NEAR(sum[2], load[2], 1e-4 * force * 72.0);  // moments of forces 6 ft off
  }
}

// The summary's closing rows name, for every column, the smallest and the
// largest value printed in the rows above and the first pile where each
// stands.
TEST_F(PlaneRuns, SummaryClosingRowsHoldTheExtremesOfThePrintedRows) {
  RunFolder folder("summary_extremes");
  run(folder, example_bent());
  // The summary report's own tables, before the condensed copy of the
  // summary scratch appended at the end of the run.
  auto lines = folder.lines(RunFolder::SUMMARY_LINE);
  const auto copy = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("SUMMARY FOR LOAD CASES AND COMBINATIONS") != std::string::npos;
  });
  ASSERT_NE(copy, lines.end());
  lines.erase(copy, lines.end());
  int pile_top_tables = 0, extreme_tables = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const bool pile_top = lines[k].rfind("       **********  ***********", 0) == 0;
    const bool extremes = lines[k].rfind("    ******  **********", 0) == 0;
    if (!pile_top && !extremes) continue;
    // The per-pile rows up to the empty line (extreme tables: values rows
    // and depth rows alternate), then the closing rows.
    std::vector<std::vector<double>> values;
    std::size_t at = k + 1;
    for (; at < lines.size() && !lines[at].empty(); ++at) {
      if (extremes && lines[at].find("x(") != std::string::npos) continue;
      auto v = numbers(lines[at]);
      ASSERT_GE(v.size(), 2u) << lines[at];
      v.erase(v.begin());  // the pile number
      values.push_back(v);
    }
    ASSERT_EQ(values.size(), 3u) << k;
    const std::size_t columns = values[0].size();
    for (const auto& v : values) ASSERT_EQ(v.size(), columns) << k;
    ASSERT_LT(at + 4, lines.size());
    const auto minimum = numbers(lines[at + 1].substr(pile_top ? 17 : 10));
    const auto minimum_piles = numbers(lines[at + 2].substr(pile_top ? 17 : 12));
    ASSERT_EQ(minimum.size(), columns) << lines[at + 1];
    ASSERT_EQ(minimum_piles.size(), columns) << lines[at + 2];
    for (std::size_t c = 0; c < columns; ++c) {
      std::size_t first = 0;
      for (std::size_t p = 1; p < values.size(); ++p) {
        const bool beyond = lines[at + 1].find("Max.") != std::string::npos ? values[p][c] > values[first][c]
                                                                            : values[p][c] < values[first][c];
        if (beyond) first = p;
      }
      EXPECT_EQ(minimum[c], values[first][c]) << lines[at + 1] << " column " << c;
      EXPECT_EQ(minimum_piles[c], static_cast<double>(first + 1)) << lines[at + 2] << " column " << c;
    }
    if (pile_top) {
      // The MAXIMUM row follows its MINIMUM pair.
      const auto maximum = numbers(lines[at + 3].substr(17));
      const auto maximum_piles = numbers(lines[at + 4].substr(17));
      for (std::size_t c = 0; c < columns; ++c) {
        std::size_t first = 0;
        for (std::size_t p = 1; p < values.size(); ++p) {
          if (values[p][c] > values[first][c]) first = p;
        }
        EXPECT_EQ(maximum[c], values[first][c]) << lines[at + 3] << " column " << c;
        EXPECT_EQ(maximum_piles[c], static_cast<double>(first + 1)) << lines[at + 4] << " column " << c;
      }
      ++pile_top_tables;
    } else {
      ++extreme_tables;
    }
  }
  // Per run and envelope: four pile-top tables and the minimum and maximum
  // tables; three runs and the two combination envelopes.
  EXPECT_EQ(pile_top_tables, 4 * 5);
  EXPECT_EQ(extreme_tables, 2 * 5);
}

TEST_F(PlaneRuns, ReportsOfTheExampleBentDoNotDependOnTheThreadCount) {
  auto deck = [](int threads) {
    std::string text = example_bent();
    const std::string controls = "0 0 0 1 100 200 100\n";
    const std::string with_threads = "0 0 " + std::to_string(threads) + " 1 100 200 100\n";
    for (auto at = text.find(controls); at != std::string::npos; at = text.find(controls, at + 1)) {
      text.replace(at, controls.size(), with_threads);
    }
    return text;
  };
  const std::vector<int> reports = {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE,
                                    RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE};
  RunFolder folder("plane_threads");
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

}  // namespace
}  // namespace pilecap::testing
