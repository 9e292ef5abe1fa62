// Invariants of every p-y criterion of this change over a sweep of
// deflections about a soil movement, static and cyclic, with close-spacing
// factors: p(0) = 0, p opposes y - m, Es u Y-FACTOR = |p| outside the
// initial modulus, the curve monotone where the criterion's is, and finite
// values just below the ground line.
#include <cmath>
#include <vector>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double B = 24.0, H = 12.0, GAMMA = 0.04, M = 0.3;
constexpr double P_FACTOR = 0.8, Y_FACTOR = 1.25;
constexpr int NODE = 9;  // x = 96, a depth of a user curve

struct CodeCase {
  const char* name;
  int code;
  double c, phi_degrees, k, e50, rock_modulus, j;
  double scale;  // the step of the deflection sweep
  bool monotone;
};

const std::vector<CodeCase> CODES = {
    {"stiff clay with free water", SOIL_STIFF_CLAY_FREE_WATER, 10.0, 0.0, 500.0, 0.005, 0.0, 0.0, 0.005, false},
    {"stiff clay without free water", SOIL_STIFF_CLAY_NO_WATER, 10.0, 0.0, 0.0, 0.005, 0.0, 0.0, 0.05, true},
    {"stiff clay with initial k", SOIL_STIFF_CLAY_INITIAL_K, 10.0, 0.0, 500.0, 0.005, 0.0, 0.0, 0.05, true},
    {"vuggy limestone", SOIL_VUGGY_LIMESTONE, 2000.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.002, true},
    {"silt", SOIL_SILT, 5.0, 30.0, 100.0, 0.01, 0.0, 0.0, 0.03, false},
    {"API sand", SOIL_API_SAND, 0.0, 35.0, 100.0, 0.0, 0.0, 0.0, 0.03, true},
    {"weak rock", SOIL_WEAK_ROCK, 1000.0, 0.0, 0.0, 0.0005, 20000.0, 50.0, 0.01, true},
    {"liquefied sand", SOIL_LIQUEFIED_SAND, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.05, true},
    {"user p-y curves", SOIL_USER_PY, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.05, true},
};

class SweepTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    int status = 0;
    RESET_INPUT_RECORDS(status);
    ASSERT_EQ(status, 0);
    set_defaults();
    PileErrorWord.code = PILE_ERR_NONE;
    ClosePileFactors.p_factor_1(PILE) = P_FACTOR;
    ClosePileFactors.y_factor_1(PILE) = Y_FACTOR;
    SoilMovementProfile.count = 1;  // soil movements present
    // User curves at 0, 96 and 500: (y, p) = (0, 0), (1, 500), (3, 800).
    auto& u = UserPyCurveSet;
    u.count = 1;
    u.num_curves(1) = 3;
    const double depths[] = {0.0, 96.0, 500.0};
    for (int c = 1; c <= 3; ++c) {
      u.curve_depth(1, c) = depths[c - 1];
      u.num_points(1, c) = 3;
      u.y(1, c, 2) = 1.0;
      u.p(1, c, 2) = 500.0 * c;
      u.y(1, c, 3) = 3.0;
      u.p(1, c, 3) = 800.0 * c;
    }
    PileTable.py_set(PILE) = 1;
    // The ground line a hair above the head: node 1 lies just below it.
    set_pile(41, H, B, 0.0, -1.5e-6);
  }
  void TearDown() override {
    SoilMovementProfile.count = 0;
    PileErrorWord.code = PILE_ERR_NONE;
    PyTest::TearDown();
  }
  void set_soil(const CodeCase& c) {
    set_layers({{0.0, 2000.0}}, c.code);
    set_range(1, 1, 41);
    set_constant(SoilProfile.cohesion, c.c);
    set_constant(SoilProfile.friction_angle, c.phi_degrees * std::numbers::pi / 180.0);
    set_constant(SoilProfile.subgrade_k, c.k);
    set_constant(SoilProfile.e50, c.e50);
    set_constant(SoilProfile.rock_modulus, c.rock_modulus);
    set_constant(SoilProfile.j_factor, c.j);
    set_unit_weight(GAMMA);
  }
};

TEST_F(SweepTest, EveryCriterionOpposesTheRelativeDeflectionWithItsSecantModulus) {
  for (const CodeCase& c : CODES) {
    set_soil(c);
    for (int kind : {1, 0}) {
      SCOPED_TRACE(std::string(c.name) + (kind == 1 ? ", static" : ", cyclic"));
      AnalysisControl.loading_kind = kind;
      at(move1_, NODE) = 0.6 * M;
      at(move2_, NODE) = 0.8 * M;
      double previous = 0.0;
      for (int step = -40; step <= 40; ++step) {
        const double y = M + step * c.scale;
        at(y_, NODE) = y;
        ASSERT_EQ(run(), 0);
        ASSERT_EQ(PileErrorWord.code, PILE_ERR_NONE);
        const double p = at(p_, NODE), es = at(es_, NODE);
        ASSERT_TRUE(std::isfinite(p) && std::isfinite(es)) << "step " << step;
        const double u = std::abs(y - M);
        if (step == 0) {
          EXPECT_GE(p, 0.0) << "y = m is not beyond the movement";
          EXPECT_NEAR(p, 0.0, 1e-9) << "p(0) = 0";
          EXPECT_GE(es, 0.0);
          continue;
        }
        EXPECT_TRUE(step > 0 ? p < 0.0 : p > 0.0) << "p opposes y - m, step " << step;
        expect_close(es * u * Y_FACTOR, std::abs(p), 1e-9, "Es u Y-FACTOR = |p|");
        expect_close(at(es_move_, NODE), es * M, 1e-12, "es_move = Es m");
        if (step > 0 && c.monotone) {
          EXPECT_GE(std::abs(p), previous * (1.0 - 1e-9)) << "monotone, step " << step;
        }
        if (step > 0) previous = std::abs(p);
      }
      // Just below the ground line every criterion gives finite springs.
      EXPECT_TRUE(std::isfinite(at(es_, 1)) && std::isfinite(at(p_, 1)));
      EXPECT_GE(at(es_, 1), 0.0);
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
