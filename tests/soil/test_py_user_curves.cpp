// User p-y curves, interpolated on deflection on each curve and then on depth
// between the two curves that bracket a node: in a layer of user curves
// (code 5) and over the whole length of a pile with its own set. Curves end
// above a node: error 5 for the pile with its warning, held in the pile's
// evaluation until the loop publishes it.
#include <cmath>

#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double H = 2.5;  // node spacing: node 6 at 12.5
const std::string SHORT_LINE = "\n\n  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE, PILE GROUP =     1\n";

class UserCurvesTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    int status = 0;
    RESET_INPUT_RECORDS(status);  // creates the working copy of the curve sets
    ASSERT_EQ(status, 0);
    set_defaults();  // the reset cleared the options
    PileErrorWord.code = PILE_ERR_NONE;
    // Set 1: curves at 10 and 20 (and 40), points (y, p); the deeper curves are stiffer.
    auto& u = UserPyCurveSet;
    u.count = 1;
    u.num_curves(1) = 3;
    const double depths[] = {10.0, 20.0, 40.0};
    const double scale[] = {1.0, 2.0, 4.0};
    for (int c = 1; c <= 3; ++c) {
      u.curve_depth(1, c) = depths[c - 1];
      u.num_points(1, c) = 3;
      const double ys[] = {0.0, 1.0, 2.0}, ps[] = {0.0, 100.0, 150.0};
      for (int i = 1; i <= 3; ++i) {
        u.y(1, c, i) = ys[i - 1];
        u.p(1, c, i) = scale[c - 1] * ps[i - 1];
      }
    }
    set_layers({{0.0, 100.0}}, SOIL_USER_PY);
    set_pile(17, H, 12.0);  // nodes 0 .. 40
    set_range(1, 1, 17);
    PileTable.py_set(PILE) = -1;  // the sign is ignored
  }
  void TearDown() override {
    PileErrorWord.code = PILE_ERR_NONE;
    PyTest::TearDown();
  }
};

TEST_F(UserCurvesTest, LayerInterpolatesOnDeflectionThenOnDepth) {
  struct Case {
    const char* name;
    int node;
    double u;
    double es;        // expected Es
    double reaction;  // expected |p|: the deeper curve's
  };
  // Node 6 at 12.5: Es = Es20 - 0.75 (Es20 - Es10); u = 0.5: Es10 = 100, Es20 = 200.
  const Case cases[] = {
      {"between curves", 6, 0.5, 200.0 - 0.75 * (200.0 - 100.0), 100.0},
      {"between points 2 and 3", 6, 1.5, (250.0 - 0.75 * (250.0 - 125.0)) / 1.5, 250.0},
      {"exactly at a curve's depth", 9, 0.5, 200.0, 100.0},
      {"beyond the last point Es falls as 1/u", 9, 4.0, 300.0 / 4.0, 300.0},
      {"above the first curve: curves 1 and 2 extended", 3, 0.5, 200.0 - 1.5 * (200.0 - 100.0), 100.0},
  };
  for (const Case& c : cases) {
    double p = 0.0, es = 0.0;
    evaluate_at(c.node, c.u, p, es);
    expect_close(es, c.es, 1e-12, c.name);
    expect_close(-p, c.reaction, 1e-12, c.name);
  }
  // A zero deflection is taken at 1e-14: the first segment's slope.
  double p = 0.0, es = 0.0;
  evaluate_at(9, 0.0, p, es);
  expect_close(es, 200.0, 1e-9, "u = 0");
  EXPECT_GT(p, 0.0) << "y = 0 is not beyond the movement: positive";
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NONE);
}

TEST_F(UserCurvesTest, FactorsAndLayerIntegral) {
  ClosePileFactors.p_factor_1(PILE) = 0.5;
  ClosePileFactors.y_factor_1(PILE) = 2.0;
  double p = 0.0, es = 0.0;
  evaluate_at(6, 0.5, p, es);
  expect_close(es, 0.5 * 125.0 / 2.0, 1e-12, "P-FACTOR / Y-FACTOR");
  expect_close(-p, 0.5 * 100.0, 1e-12, "P-FACTOR times the deeper curve");
  // Nodes 2..17 (node 1 at the ground is skipped) each add the ultimate
  // (last point's p, by depth) times the increment.
  double expected = 0.0;
  for (int j = 2; j <= 17; ++j) {
    const double d = (j - 1) * H;
    const double upper = d <= 20.0 ? 150.0 : 300.0, lower = d <= 20.0 ? 300.0 : 600.0;
    const double top = d <= 20.0 ? 10.0 : 20.0, bottom = d <= 20.0 ? 20.0 : 40.0;
    expected += (lower - (lower - upper) * (bottom - d) / (bottom - top)) * H;
  }
  expect_close(PileLayerData.ultimate_resistance(PILE, 1), expected, 1e-12, "layer integral");
}

TEST_F(UserCurvesTest, CurvesEndingAboveANodeGiveErrorFiveWithItsWarning) {
  UserPyCurveSet.num_curves(1) = 2;  // the curves end at 20
  for (int j = 1; j <= 17; ++j) at(es_, j) = -1.0;
  at(y_, 6) = 0.5;
  EXPECT_EQ(run(), 0) << "the status word is not touched";
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_PY_TOO_SHORT);
  expect_close(at(es_, 6), 125.0, 1e-12, "nodes above keep their new values");
  EXPECT_EQ(at(es_, 10), -1.0) << "the node below the curves and after it are left";
  EXPECT_EQ(results(), SHORT_LINE);
  EXPECT_EQ(run_log(), SHORT_LINE);
}

TEST_F(UserCurvesTest, ShortCurvesAreHeldByThePilesEvaluation) {
  UserPyCurveSet.num_curves(1) = 2;
  PileEvaluation evaluation;
  {
    const PileEvaluationScope scope(evaluation);
    EXPECT_EQ(run(), 0);
  }
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NONE) << "nothing shared is written in the evaluation";
  EXPECT_EQ(results(), "");
  EXPECT_EQ(evaluation.error, PILE_ERR_PY_TOO_SHORT);
  PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_PY_TOO_SHORT);
  EXPECT_EQ(results(), SHORT_LINE);
  EXPECT_EQ(run_log(), SHORT_LINE);
}

TEST_F(UserCurvesTest, SetNotReadGivesErrorFiveNotACrash) {
  PileTable.py_set(PILE) = 0;
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_PY_TOO_SHORT);
  PileErrorWord.code = PILE_ERR_NONE;
  PileTable.py_set(PILE) = 7;
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_PY_TOO_SHORT);
}

TEST_F(UserCurvesTest, GeneratedCurvesHaveNoPointsInSuchALayer) {
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  GeneratedPyCurve.y(1) = 7.0;
  set_range(1, 6, 6);
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(GeneratedPyCurve.y(1), 7.0);
  EXPECT_EQ(fio::memory_contents(UNIT_ECHO), "");
}

// The pile's own set over its whole length, rows of the solver (node j at row j + 3).
class PileCurvesTest : public UserCurvesTest {
 protected:
  void SetUp() override {
    UserCurvesTest::SetUp();
    RunOptions.user_py_curves = 1;
    PileTable.py_set(PILE) = 1;
  }
  void evaluate(double head, double u) {
    PileTable.head_depth(PILE) = head;
    for (int r = 1; r <= PILE_NODE_ROWS; ++r) {
      y_rows(r) = u;
      es_rows(r) = p_rows(r) = move_rows(r) = -1.0;
    }
    USER_PY_PILE_MODULUS(PILE, y_rows, es_rows, zero_rows, zero_rows, move_rows, p_rows);
  }
  PileRowVector y_rows{}, es_rows{}, p_rows{}, move_rows{}, zero_rows{};
};

TEST_F(PileCurvesTest, RowsFollowTheCurvesFromTheHead) {
  evaluate(0.0, 0.5);
  expect_close(es_rows(NODE_ROW_OFFSET + 6), 125.0, 1e-12, "node 6 at 12.5");
  expect_close(p_rows(NODE_ROW_OFFSET + 6), -100.0, 1e-12, "the deeper curve, against the deflection");
  expect_close(es_rows(NODE_ROW_OFFSET + 9), 200.0, 1e-12, "node 9 at 20");
  EXPECT_EQ(move_rows(NODE_ROW_OFFSET + 6), -1.0) << "no soil movement: untouched";
  EXPECT_EQ(es_rows(NODE_ROW_OFFSET + 18), -1.0) << "beyond the tip: untouched";
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NONE);
  // A head above coordinate 0: the rows above it get Es = 0.
  evaluate(-5.0, 0.5);
  EXPECT_EQ(es_rows(NODE_ROW_OFFSET + 1), 0.0);
  EXPECT_EQ(es_rows(NODE_ROW_OFFSET + 2), 0.0);
  expect_close(es_rows(NODE_ROW_OFFSET + 3), 200.0 - 2.0 * (200.0 - 100.0), 1e-12, "node 3 at 0");
  // Curves that end above the tip: error 5, the rows below unchanged.
  evaluate(10.0, 0.5);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_PY_TOO_SHORT);
  EXPECT_EQ(es_rows(NODE_ROW_OFFSET + 17), -1.0);
  EXPECT_EQ(results(), SHORT_LINE);
}

TEST_F(PileCurvesTest, SoilMovementIsMeasuredFromTheRows) {
  SoilMovementProfile.count = 1;
  PileRowVector move_y{}, move_z{};
  const int row = NODE_ROW_OFFSET + 9;  // node 9 at 20
  move_y(row) = 0.3;
  move_z(row) = 0.4;  // m = 0.5
  y_rows(row) = 1.5;
  USER_PY_PILE_MODULUS(PILE, y_rows, es_rows, move_y, move_z, move_rows, p_rows);
  expect_close(es_rows(row), 200.0, 1e-12, "u = |y - m| = 1");
  expect_close(move_rows(row), 200.0 * 0.5, 1e-12, "Es m");
  expect_close(p_rows(row), -200.0, 1e-12, "y > m: negative");
  SoilMovementProfile.count = 0;
}

}  // namespace
}  // namespace pilecap::testing
