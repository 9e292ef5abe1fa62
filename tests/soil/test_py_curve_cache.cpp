// The per-node cache of p-y curve data: inside one open epoch, a spring
// evaluation after an input of the curve data changed (the ground line, the
// loading kind, the load cycles, the diameter, the equivalent depth of the
// lower layer) gives the bits the uncached criterion gives for the new
// input, for every criterion in a lower layer under soft clay; and with
// nothing changed a repeated evaluation equals the first. Inside a lateral
// solve every iteration gives the uncached bits.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "soil/py_frame.hpp"
#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr int N_NODES = 41;
constexpr double SPACING = 12.0;   // in
constexpr double DIAMETER = 24.0;  // in
constexpr double LAYER_TOP = 120.0;

struct CriterionCase {
  const char* name;
  int code;
  double cohesion, friction_degrees, k, rock_modulus, e50, j;
};

const CriterionCase CRITERIA[] = {
    {"soft clay", SOIL_SOFT_CLAY, 5.0, 0, 0, 0, 0.01, 0.5},
    {"sand", SOIL_SAND, 0, 35, 60, 0, 0, 0},
    {"stiff clay with free water", SOIL_STIFF_CLAY_FREE_WATER, 15.0, 0, 500, 0, 0.005, 0},
    {"stiff clay without free water", SOIL_STIFF_CLAY_NO_WATER, 15.0, 0, 0, 0, 0.005, 0},
    {"stiff clay with initial k", SOIL_STIFF_CLAY_INITIAL_K, 15.0, 0, 500, 0, 0.005, 0},
    {"silt", SOIL_SILT, 1.5, 30, 100, 0, 0.01, 0},
    {"API sand", SOIL_API_SAND, 0, 35, 100, 0, 0, 0},
    {"weak rock", SOIL_WEAK_ROCK, 7.0, 0, 0, 20000, 0.0005, 50},
    {"vuggy limestone", SOIL_VUGGY_LIMESTONE, 14.0, 0, 0, 0, 0, 0},
    {"liquefied sand", SOIL_LIQUEFIED_SAND, 0, 0, 0, 0, 0, 0},
    {"elastic subgrade", SOIL_ELASTIC_SUBGRADE, 3.0, 0, 50, 0, 0, 0},
};

struct Change {
  const char* name;
  std::function<void()> apply;
};

class PyCurveCacheTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    RunOptions.layering_correction = 1;
    AnalysisControl.cycles = 10.0;
  }
  void TearDown() override {
    CLOSE_PY_CURVE_EPOCH();
    PyTest::TearDown();
  }

  void set_model(const CriterionCase& c) {
    set_layers({{0.0, LAYER_TOP}, {LAYER_TOP, 2000.0}}, SOIL_SOFT_CLAY);
    SoilProfile.layer_code(2) = c.code;
    set_column(SoilProfile.cohesion, {5.0, 5.0, c.cohesion, c.cohesion});
    set_column(SoilProfile.friction_angle,
               {0, 0, c.friction_degrees * std::numbers::pi / 180.0, c.friction_degrees * std::numbers::pi / 180.0});
    set_column(SoilProfile.subgrade_k, {0, 0, c.k, c.k});
    set_column(SoilProfile.rock_modulus, {0, 0, c.rock_modulus, c.rock_modulus});
    set_column(SoilProfile.e50, {0.01, 0.01, c.e50, c.e50});
    set_column(SoilProfile.j_factor, {0.5, 0.5, c.j, c.j});
    set_unit_weight(0.035);
    set_pile(N_NODES, SPACING, DIAMETER);
    set_range(1, 1, 10);
    set_range(2, 11, N_NODES);
    for (int j = 1; j <= N_NODES; ++j) at(y_, j) = 0.05 + 0.002 * j;  // in
  }

  // The springs of every node: moduli then reactions.
  std::vector<double> springs() {
    EXPECT_EQ(run(), 0);
    std::vector<double> values;
    for (int j = 1; j <= N_NODES; ++j) values.push_back(at(es_, j));
    for (int j = 1; j <= N_NODES; ++j) values.push_back(at(p_, j));
    return values;
  }
};

bool same_bits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST_F(PyCurveCacheTest, EvaluationsInsideAnEpochFollowEveryChangedInputOfTheCurveData) {
  const Change changes[] = {
      {"nothing", [] {}},
      {"ground line", [] { PileTable.ground(PILE) += 18.0; }},
      {"loading kind", [] { AnalysisControl.loading_kind = LOADING_CYCLIC; }},
      {"load cycles",
       [] {
         AnalysisControl.loading_kind = LOADING_CYCLIC;
         AnalysisControl.cycles = 1000.0;
       }},
      {"diameter",
       [] {
         PileSection.diameter(SET, 1) = PileSection.diameter_bottom(SET, 1) = 36.0;
         SET_SECTION_SENTINELS(SET);
       }},
      {"equivalent depth", [] { PileLayerData.eq_depth(PILE, 2) *= 0.5; }},
  };
  for (const CriterionCase& c : CRITERIA) {
    for (const Change& change : changes) {
      const std::string what = std::string(c.name) + ", " + change.name;
      // The cycles of the cyclic change stay with the model until it is set again.
      AnalysisControl = AnalysisControlRecord{};
      AnalysisControl.cycles = 10.0;
      set_model(c);
      OPEN_PY_CURVE_EPOCH();
      const std::vector<double> first = springs();  // fills the entries (and the equivalent depth)
      change.apply();
      const std::vector<double> cached = springs();
      CLOSE_PY_CURVE_EPOCH();
      const std::vector<double> computed = springs();
      EXPECT_TRUE(same_bits(cached, computed)) << what;
      if (std::string(change.name) == "nothing") {
        EXPECT_TRUE(same_bits(first, computed)) << what;
      }
    }
  }
}

// Inside a lateral solve the nodes are prepared at the first evaluation and
// the curve data found current is read without its key: at every iteration
// the springs are the bits the uncached criterion gives for the iteration's
// deflections, for every criterion; a later solve of the same epoch follows
// a changed input again.
TEST_F(PyCurveCacheTest, EvaluationsInsideALateralSolveGiveTheUncachedBitsAtEveryIteration) {
  constexpr int ITERATIONS = 4;
  auto deflect = [this](int iteration) {
    for (int j = 1; j <= N_NODES; ++j) at(y_, j) = 0.05 * iteration + 0.002 * j;  // in
  };
  for (const CriterionCase& c : CRITERIA) {
    AnalysisControl = AnalysisControlRecord{};
    AnalysisControl.cycles = 10.0;
    set_model(c);
    OPEN_PY_CURVE_EPOCH();
    std::vector<std::vector<double>> solved;
    {
      const PyPileSolve solve(PILE);
      for (int iteration = 1; iteration <= ITERATIONS; ++iteration) {
        deflect(iteration);
        solved.push_back(springs());
      }
    }
    PileTable.ground(PILE) += 18.0;  // between two solves of one epoch
    std::vector<double> after_change;
    {
      const PyPileSolve solve(PILE);
      deflect(1);
      springs();
      after_change = springs();
    }
    CLOSE_PY_CURVE_EPOCH();
    PileTable.ground(PILE) -= 18.0;
    for (int iteration = 1; iteration <= ITERATIONS; ++iteration) {
      deflect(iteration);
      EXPECT_TRUE(same_bits(solved[static_cast<std::size_t>(iteration - 1)], springs()))
          << c.name << ", iteration " << iteration;
    }
    PileTable.ground(PILE) += 18.0;
    deflect(1);
    EXPECT_TRUE(same_bits(after_change, springs())) << c.name << ", a solve after the ground line changed";
  }
}

// The switch the whole-run comparison uses: with the cache disabled no epoch
// opens, so no entry is ever read.
TEST_F(PyCurveCacheTest, ADisabledCacheOpensNoEpoch) {
  PyCurveCache.enabled = 0;
  OPEN_PY_CURVE_EPOCH();
  EXPECT_EQ(PyCurveCache.epoch, 0u);
  PyCurveCache.enabled = 1;
  OPEN_PY_CURVE_EPOCH();
  const std::uint64_t first = PyCurveCache.epoch;
  OPEN_PY_CURVE_EPOCH();
  EXPECT_GT(first, 0u);
  EXPECT_GT(PyCurveCache.epoch, first) << "every epoch is new";
}

}  // namespace
}  // namespace pilecap::testing
