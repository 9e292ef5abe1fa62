// Whole 3D runs through DUVIZU for every p-y criterion of this change and
// for user p-y curves: a single pile with a free head and two piles holding
// the cap level (fixed heads) complete, their pile forces balance the loads,
// and the SI twin of the free-head deck moves the cap alike.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/analysis_control.hpp"
#include "soil/soil.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"

namespace pilecap::testing {
namespace {

// English to SI for the deck values.
struct Units {
  double ft = 1, in = 1, lb = 1, psi = 1, pcf = 1, psf = 1, pci = 1, lb_per_in = 1, lb_in = 1, lb_in2 = 1, inch = 1;
};
Units units_of(int system) {
  if (system == DECK_ENGLISH) return {};
  return {0.3048,         25.4,        0.0044482216152605, 6.894757293168361, 0.15708746, 0.04788025898,
          271.4471375263, 0.175126835, 0.000112984829,     2.869881e-6,       0.0254};
}

// A soil of one criterion, its layer properties in English units: unit
// weight (pcf), cohesion (psf; psi for the rock strengths), friction angle,
// subgrade modulus (pci), rock modulus (psi), e50 or krm, J or RQD.
struct CriterionCase {
  const char* name;
  int code;
  std::vector<double> props;
  int py_set = 0;     // the piles' user p-y set (1: their own curves, -1: a layer's)
  double rel = 5e-4;  // English and SI twins agree within this
};

const std::vector<CriterionCase> CASES = {
    {"stiff clay with free water", SOIL_STIFF_CLAY_FREE_WATER, {56, 2000, 0, 500, 0, 0.005, 0}},
    {"stiff clay without free water", SOIL_STIFF_CLAY_NO_WATER, {56, 2000, 0, 0, 0, 0.005, 0}},
    {"stiff clay with initial k", SOIL_STIFF_CLAY_INITIAL_K, {56, 2000, 0, 500, 0, 0.005, 0}},
    {"vuggy limestone", SOIL_VUGGY_LIMESTONE, {60, 2000, 0, 0, 0, 0, 0}},
    {"silt", SOIL_SILT, {56, 200, 30, 100, 0, 0.01, 0}},
    {"API sand", SOIL_API_SAND, {60, 0, 35, 100, 0, 0, 0}},
    {"weak rock", SOIL_WEAK_ROCK, {60, 1000, 0, 0, 20000, 0.0005, 50}},
    {"liquefied sand", SOIL_LIQUEFIED_SAND, {50, 0, 0, 0, 0, 0, 0}, 0, 3e-3},
    {"user p-y curves of the pile", SOIL_SOFT_CLAY, {56, 700, 0, 0, 0, 0.01, 0.5}, 1},
    {"user p-y curves of a layer", SOIL_USER_PY, {56, 0, 0, 0, 0, 0, 0}, -1},
};

Deck3D criterion_deck(const CriterionCase& c, int system, bool fixed_head) {
  const Units u = units_of(system);
  const bool rock = c.code == SOIL_VUGGY_LIMESTONE || c.code == SOIL_WEAK_ROCK;
  const std::vector<double> factors = {u.pcf, rock ? u.psi : u.psf, 1.0, u.pci, u.psi, 1.0, 1.0};
  Deck3D d;
  d.units = system;
  d.piles = fixed_head ? std::vector<DeckPile3D>{{-10 * u.ft, 0}, {10 * u.ft, 0}} : std::vector<DeckPile3D>{{0, 0}};
  d.length = 60 * u.ft;
  d.increments = 60;
  d.diameter = 24 * u.in;
  d.inner_diameter = 23 * u.in;
  d.area = 36.9 * u.in * u.in;
  d.inertia = 2549.0 * u.in * u.in * u.in * u.in;
  d.modulus = 29e6 * u.psi;
  d.shear_modulus = 11.6e6 * u.psi;
  d.gj = 5.91e10 * u.lb_in2;
  d.perimeter = 75.4 * u.in;
  DeckLayer3D layer{c.code, 0.0, 80 * u.ft, {}};
  for (std::size_t k = 0; k < c.props.size(); ++k) layer.props.push_back(c.props[k] * factors[k]);
  d.layers = {layer};
  d.axial_stiffness = 1e9 * u.lb_per_in;
  d.axial_reach = 10.0 * u.inch;
  d.llp_tolerance = 1e-7 * u.inch;
  d.torsion_stiffness = 1e12 * u.lb_in;
  if (c.py_set != 0) {
    // Stiffening with depth: p (lb/in) at y (in) of 0, 0.2, 1 and 4 in.
    for (double depth : {0.0, 40.0, 100.0}) {
      const double s = 1.0 + depth / 20.0;
      DeckPyCurve3D curve{depth * u.ft, {}};
      for (auto [p, y] : {std::pair{0.0, 0.0}, {400.0, 0.2}, {1000.0, 1.0}, {1500.0, 4.0}}) {
        curve.points.push_back({s * p * u.lb_per_in, y * u.inch});
      }
      d.py_curves.push_back(curve);
    }
    d.py_set = c.py_set;
  }
  d.cases = {{.fx = 100000 * u.lb, .fy = 20000 * u.lb, .initial_step = 0.5}};
  return d;
}

class PyCriteriaRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    pile_forces_by_run.clear();
    set_run_end_hook(record_pile_forces);
  }
  void TearDown() override {
    set_run_end_hook(nullptr);
    PileErrorWord.code = PILE_ERR_NONE;  // a run ended on short curves leaves its word
  }

  // Runs the deck; the cap displacement of its one run, after checking that
  // it completed and that the pile forces balance its load.
  static Vector6 run_and_balance(const Deck3D& deck, const std::string& tag) {
    RunFolder folder(tag);
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck_3d(deck));
    pile_forces_by_run.clear();
    folder.run();
    EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("    1 ANALYSIS COMPLETED"), std::string::npos)
        << folder.read(RunFolder::RUN_LOG_LINE);
    const auto rows = table_l_rows(folder);
    if (rows.size() != 1u || pile_forces_by_run.size() != 1u) {
      ADD_FAILURE() << "one solved run expected";
      return {};
    }
    const CapResult& r = rows[0];
    const double scale = std::abs(r.load[0]) + std::abs(r.load[1]);
    for (int k = 0; k < 6; ++k) {
      double sum = 0.0;
      for (const Vector6& f : pile_forces_by_run[0]) sum += f[k];
      const double size = k < 3 ? scale : scale * 200.0;  // moments about the origin, piles 10 ft off
      EXPECT_NEAR(sum, -r.load[k], 1e-6 * size) << "component " << k + 1;
    }
    return r.displacement;
  }
};

TEST_F(PyCriteriaRuns, EveryCriterionCompletesBalancesItsLoadAndHasAnSiTwin) {
  for (const CriterionCase& c : CASES) {
    SCOPED_TRACE(c.name);
    const Vector6 free_head = run_and_balance(criterion_deck(c, DECK_ENGLISH, false), "py_free");
    const Vector6 fixed_head = run_and_balance(criterion_deck(c, DECK_ENGLISH, true), "py_fixed");
    const Vector6 si = run_and_balance(criterion_deck(c, DECK_SI, false), "py_si");
    EXPECT_GT(free_head[1], 0.0) << "the lateral load moves the cap";
    EXPECT_GT(fixed_head[1], 0.0);
    EXPECT_LT(fixed_head[1], free_head[1]) << "each fixed head carries half the load without rotating";
    EXPECT_LT(std::abs(fixed_head[5]), 1e-3 * std::abs(free_head[5])) << "the pair holds the cap level";
    EXPECT_NEAR(si[1], free_head[1] * 0.0254, c.rel * free_head[1] * 0.0254) << "SI twin";
    EXPECT_NEAR(si[5], free_head[5], c.rel * std::abs(free_head[5])) << "SI twin rotation";
  }
}

TEST_F(PyCriteriaRuns, PileLongerThanItsUserCurvesEndsWithErrorFive) {
  CriterionCase c = CASES[8];
  Deck3D d = criterion_deck(c, DECK_ENGLISH, false);
  d.py_curves.pop_back();  // the curves end at 40 ft, the pile at 60 ft
  RunFolder folder("py_short");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck_3d(d));
  folder.run();
  const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
  EXPECT_NE(log.find("  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE, PILE GROUP =     1"), std::string::npos)
      << log;
  EXPECT_NE(log.find("** WARNING **  P-Y CURVES DO NOT EXTEND LENGTH OF PILE(S)"), std::string::npos) << log;
  EXPECT_EQ(folder.read(RunFolder::RESULT_CODES_LINE).find("    1 ANALYSIS COMPLETED"), std::string::npos);
}

TEST_F(PyCriteriaRuns, RockWithoutStrengthIsAnInputError) {
  CriterionCase c = CASES[6];
  c.props[4] = 0.0;  // no rock modulus
  RunFolder folder("py_rock_input");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck_3d(criterion_deck(c, DECK_ENGLISH, false)));
  folder.run();
  const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
  EXPECT_NE(log.find("    ERROR IN INPUT DATA"), std::string::npos) << log;
  EXPECT_NE(log.find("    INPUT SECTION 10, SOIL LAYER 1: YOUNG MODULUS ER OF A WEAK ROCK IS NOT ABOVE 0"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace pilecap::testing
