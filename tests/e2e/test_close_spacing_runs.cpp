// Whole runs of a 3 x 3 group at 2.5 diameters under an embedded cap, with
// the reduction factors that follow the cap's movement: the run completes
// with the factors and the passive resistance in its reports, its SI twin
// moves the cap alike, the piles and the cap balance the load, and no
// report depends on the thread count.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "cap/cap_solver.hpp"
#include "model/model_store.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

// The state of every 3D run that reaches its reports, and after its final
// evaluation the pile forces at the origin and the factors it left.
std::vector<CapSolverState3D> solutions;
void keep_solution(const CapSolverState3D& state) { solutions.push_back(state); }
struct RunEnd {
  std::vector<std::array<double, 3>> forces;
  std::vector<double> p_factors;
};
std::vector<RunEnd> run_ends;
void keep_run_end(int /*run_kind*/, int /*index*/) {
  RunEnd r;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    r.forces.push_back({PileTable.head_force(p, 1, 1), PileTable.head_force(p, 2, 1), PileTable.head_force(p, 3, 1)});
    r.p_factors.push_back(ClosePileFactors.p_factor_1(p));
  }
  run_ends.push_back(r);
}

// Units of the deck: English (ft, in, lb) or SI (m, mm, kN).
struct DeckUnits {
  double ft, in, lb, psi, pcf, psf, lb_per_in, lb_in, lb_in2;
};
DeckUnits deck_units(int units) {
  if (units == DECK_SI) {
    return {0.3048,        25.4,        0.0044482216152605, 6.894757293168361, 0.15708746,
            0.04788025898, 0.175126835, 0.000112984829,     2.869881e-6};
  }
  return {1, 1, 1, 1, 1, 1, 1, 1, 1};
}

// Nine pipe piles (2 ft) at 5 ft in soft clay whose surface lies 3 ft above
// their heads, under a 14 ft square cap 3 ft thick whose element has six
// increments; loads along Y and Z.
Deck3D group_deck(int units, int threads = 0) {
  const DeckUnits u = deck_units(units);
  Deck3D d;
  d.units = units;
  for (double y : {-5.0, 0.0, 5.0}) {
    for (double z : {-5.0, 0.0, 5.0}) d.piles.push_back({y * u.ft, z * u.ft});
  }
  d.ground = -3.0 * u.ft;
  d.length = 50.0 * u.ft;
  d.increments = 50;
  d.diameter = 24 * u.in;
  d.inner_diameter = 23 * u.in;
  d.area = 36.9 * u.in * u.in;
  d.inertia = 2549.0 * u.in * u.in * u.in * u.in;
  d.modulus = 29e6 * u.psi;
  d.shear_modulus = 11.6e6 * u.psi;
  d.gj = 5.91e10 * u.lb_in2;
  d.perimeter = 75.4 * u.in;
  d.layers = {{1, -3.0 * u.ft, 80 * u.ft, {56 * u.pcf, 900 * u.psf, 0, 0, 0, 0.01, 0.5}}};
  d.axial_stiffness = 2e6 * u.lb_per_in;
  d.axial_reach = units == DECK_SI ? 10 * 0.0254 : 10.0;
  d.llp_tolerance = units == DECK_SI ? 1e-7 * 0.0254 : 1e-7;
  d.torsion_stiffness = 1e10 * u.lb_in;
  d.cases = {{.fx = 900000 * u.lb, .fy = 120000 * u.lb, .fz = -40000 * u.lb, .threads = threads, .initial_step = 0.5}};
  d.pmult_method = 1;
  d.cap_passive_option = 2;
  d.cap_length = d.cap_width = 14.0 * u.ft;
  d.cap_thickness = 3.0 * u.ft;
  d.passive_method = 1;
  d.passive_increments = 6;
  return d;
}

class CloseSpacingRuns : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    solutions.clear();
    run_ends.clear();
    set_cap_solution_hook(keep_solution);
    set_run_end_hook(keep_run_end);
  }
  void TearDown() override {
    set_cap_solution_hook(nullptr);
    set_run_end_hook(nullptr);
  }
  static void run(RunFolder& folder, const Deck3D& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck_3d(deck));
    folder.run();
  }
};

TEST_F(CloseSpacingRuns, GroupUnderAnEmbeddedCapCompletes) {
  RunFolder folder("close_spacing");
  run(folder, group_deck(DECK_ENGLISH));
  ASSERT_EQ(solutions.size(), 1u);
  ASSERT_EQ(run_ends.size(), 1u);
  const CapSolverState3D& s = solutions[0];
  const RunEnd& end = run_ends[0];
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 1);
  EXPECT_NE(folder.read(RunFolder::RUN_LOG_LINE).find("ANALYSIS COMPLETED"), std::string::npos);
  const std::string echo = folder.read(RunFolder::ECHO_LINE);
  EXPECT_EQ(count_text(echo, "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG"), 2);
  EXPECT_EQ(count_text(echo, "THE DIRECTION OF Y-FORCE (+)"), 1);
  EXPECT_EQ(count_text(echo, "THE DIRECTION OF Z-FORCE (-)"), 1);
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULTS_LINE), "THE DIRECTION OF PILE CAP DISPLACEMENTS"), 1);

  // The cap moves along the load, the soil in front of it resists, and the
  // piles and the cap together balance the load.
  EXPECT_GT(s.displacement(2), 0.0);
  EXPECT_LT(s.displacement(3), 0.0);
  EXPECT_LT(s.passive_force(2), 0.0);
  EXPECT_GT(s.passive_force(3), 0.0);
  for (int k = 0; k < 3; ++k) {
    double piles = 0.0;
    for (const auto& f : end.forces) piles += f[static_cast<std::size_t>(k)];
    EXPECT_NEAR(piles + s.passive_force(k + 1) + s.full_load(k + 1), 0.0, 1e-5 * s.full_load(1)) << k + 1;
  }
  // Moving towards +Y the leading row (largest Y, piles 7 to 9) keeps more
  // of its soil than the trailing row (piles 1 to 3).
  ASSERT_EQ(end.p_factors.size(), 9u);
  for (std::size_t j = 0; j < 3; ++j) EXPECT_GT(end.p_factors[6 + j], end.p_factors[j]) << j;
}

TEST_F(CloseSpacingRuns, SiTwinMovesTheCapAlike) {
  RunFolder english("close_spacing_english"), si("close_spacing_si");
  run(english, group_deck(DECK_ENGLISH));
  run(si, group_deck(DECK_SI));
  ASSERT_EQ(solutions.size(), 2u);
  const CapSolverState3D &e = solutions[0], &s = solutions[1];
  const double inch = 0.0254, pound = 0.0044482216152605;
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(s.displacement(k), e.displacement(k) * inch, 1e-4 * e.displacement(2) * inch) << k;
    EXPECT_NEAR(s.displacement(k + 3), e.displacement(k + 3), 1e-4 * std::fabs(e.displacement(2)) / 600.0) << k;
    EXPECT_NEAR(s.passive_force(k), e.passive_force(k) * pound, 1e-4 * std::fabs(e.passive_force(2)) * pound) << k;
  }
}

// Every line of a report but those of time, date and processors.
std::string steady_lines(const std::string& text) {
  static const char* const varying[] = {"Execution Time", "Number Processors", "processing :", "Date:", " proc.)"};
  std::string kept;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    bool keep = true;
    for (const char* v : varying) keep = keep && line.find(v) == std::string::npos;
    if (keep) kept += line + "\n";
    start = end + 1;
  }
  return kept;
}

TEST_F(CloseSpacingRuns, ReportsDoNotDependOnTheThreadCount) {
  const std::vector<int> reports = {RunFolder::RESULTS_LINE,      RunFolder::SUMMARY_LINE,     RunFolder::RUN_LOG_LINE,
                                    RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE, RunFolder::ECHO_LINE};
  RunFolder folder("close_spacing_threads");
  run(folder, group_deck(DECK_ENGLISH, 1));
  std::vector<std::string> one_thread;
  for (int line : reports) one_thread.push_back(steady_lines(folder.read(line)));
  run(folder, group_deck(DECK_ENGLISH, 4));
  for (std::size_t k = 0; k < reports.size(); ++k) {
    EXPECT_EQ(one_thread[k], steady_lines(folder.read(reports[k]))) << reports[k];
  }
}

}  // namespace
}  // namespace pilecap::testing
