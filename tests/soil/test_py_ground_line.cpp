// The ends of a layer's node range: the node on the ground line takes the
// curve of depth 0 under every criterion (soft clay 3 c b as its ultimate
// resistance, sand nothing, the elastic subgrade k b), a node above it gets
// nothing; the points above a buried pile head (numbered 0, -1, ...) are
// never read or written, however many there are.
#include <cmath>
#include <vector>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double B = 12.0, H = 6.0, C = 10.0, GAMMA = 0.04, E50 = 0.01, K = 50.0;
constexpr double Y50 = 2.5 * E50 * B;

class GroundLineTest : public PyTest {
 protected:
  void set_soil(int code, double top = 0.0) {
    set_layers({{top, 4000.0}}, code);
    set_constant(SoilProfile.cohesion, code == SOIL_SOFT_CLAY ? C : 0.0);
    set_constant(SoilProfile.e50, E50);
    set_constant(SoilProfile.friction_angle, 35.0 * std::numbers::pi / 180.0);
    set_constant(SoilProfile.subgrade_k, K);
    set_unit_weight(GAMMA);
  }
};

struct Criterion {
  const char* name;
  int code;
  double p_at_u;  // |p| at u = Y50 on the ground line
};

const Criterion CRITERIA[] = {
    {"soft clay: 0.5 (3 c b) (u / y50)^(1/3)", SOIL_SOFT_CLAY, 0.5 * 3.0 * C* B},
    {"sand: no resistance at depth 0", SOIL_SAND, 0.0},
    {"elastic subgrade: k b u", SOIL_ELASTIC_SUBGRADE, K* B* Y50},
};

TEST_F(GroundLineTest, NodeOnTheGroundLineTakesTheCurveOfDepthZero) {
  for (const Criterion& c : CRITERIA) {
    SCOPED_TRACE(c.name);
    set_soil(c.code);
    set_pile(41, H, B);  // head and ground line at 0
    set_range(1, 1, 41);
    double p = 0.0, es = 0.0;
    evaluate_at(1, Y50, p, es);
    expect_close(-p, c.p_at_u, 1e-12, "reaction at u = y50");
    expect_close(es * Y50, -p, 1e-12, "Es u = |p|");
    evaluate_at(1, 0.0, p, es);
    EXPECT_EQ(p, 0.0);
    EXPECT_TRUE(std::isfinite(es)) << "never 0 / 0";
    EXPECT_GE(es, 0.0);
  }
}

TEST_F(GroundLineTest, OnlyANodeAboveTheGroundLineLosesItsSpring) {
  struct Case {
    const char* name;
    double ground;  // coordinate of the ground line; the head is at 0
    bool spring;
  };
  const Case cases[] = {
      {"ground line a rounding error below the head", 1e-9, true},
      {"ground line a rounding error above the head", -1e-9, true},
      {"ground line 0.001 below the head", 1e-3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    set_soil(SOIL_ELASTIC_SUBGRADE, -1.0);
    set_pile(41, H, B, 0.0, c.ground);
    set_range(1, 1, 41);
    at(es_, 1) = at(p_, 1) = 99.0;
    double p = 0.0, es = 0.0;
    evaluate_at(1, 1.0, p, es);
    EXPECT_EQ(es, c.spring ? K * B : 0.0);
    EXPECT_EQ(p, c.spring ? -K * B : 0.0);
  }
}

// Regression: the single-pass criteria wrote the points above a buried
// head, reaching before the start of the solver's work arrays.
TEST_F(GroundLineTest, PointsAboveABuriedHeadAreNeverWritten) {
  constexpr double HEAD = 120.0;  // head 120 below the ground and layer top: 20 points above it
  constexpr int FIRST = -19, N_NODES = 41;
  constexpr double GUARD = -777.0;
  for (const Criterion& c : CRITERIA) {
    SCOPED_TRACE(c.name);
    set_soil(c.code);
    set_pile(N_NODES, H, B, HEAD, 0.0);
    set_range(1, FIRST, N_NODES);
    // Arrays by node from FIRST - 1 on, the points above the head fenced.
    const int offset = 1 - FIRST;
    std::vector<double> y(N_NODES + offset + 1, GUARD), es = y, move1 = y, move2 = y, es_move = y, p = y;
    for (int j = 1; j <= N_NODES; ++j) y[j + offset] = 0.5, move1[j + offset] = move2[j + offset] = 0.0;
    int status = 0, set = SET, pile = PILE, factor = PILE;
    SOIL_REACTION_AT_NODES(set, status, pile, factor, y.data() + offset, es.data() + offset, move1.data() + offset,
                           move2.data() + offset, es_move.data() + offset, p.data() + offset);
    ASSERT_EQ(status, 0);
    for (int j = FIRST - 1; j <= 0; ++j) {
      EXPECT_EQ(es[j + offset], GUARD) << "Es of point " << j;
      EXPECT_EQ(p[j + offset], GUARD) << "p of point " << j;
      EXPECT_EQ(es_move[j + offset], GUARD) << "es_move of point " << j;
    }
    // The head lies 120 below the ground line: every node has soil in front.
    for (int j = 1; j <= N_NODES; ++j) EXPECT_LT(p[j + offset], 0.0) << "node " << j;
  }
}

}  // namespace
}  // namespace pilecap::testing
