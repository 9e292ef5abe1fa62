// The node layout of a pile: node coordinates, the node range of every soil
// layer (worked example, heads above and below the ground, thin layers,
// layers below the tip), battered piles, the failure below the deepest
// layer with its message, and the batter that gives no downward step.
#include <cmath>
#include <vector>

#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

class NodeLayout : public testing::PileTest {
 protected:
  static void expect_ranges(int p, const std::vector<std::pair<int, int>>& ranges) {
    for (std::size_t l = 0; l < ranges.size(); ++l) {
      const int layer = static_cast<int>(l) + 1;
      EXPECT_EQ(PileLayerData.first_node(p, layer), ranges[l].first) << "first node of layer " << layer;
      EXPECT_EQ(PileLayerData.last_node(p, layer), ranges[l].second) << "last node of layer " << layer;
    }
  }
  static int lay_out(int p) {
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    EXPECT_EQ(status, 0);
    NODE(p, status);
    return status;
  }
};

TEST_F(NodeLayout, LayersGetTheirNodeRanges) {
  struct Case {
    const char* name;
    double head, length;
    int n;
    std::vector<std::pair<double, double>> layers;
    std::vector<std::pair<int, int>> ranges;
  } cases[] = {
      {"worked example: tip at a layer boundary, two layers below the tip",
       0,
       25,
       5,
       {{0, 10}, {10, 20}, {20, 30}, {30, 40}, {40, 50}},
       {{1, 2}, {3, 4}, {5, 6}, {0, 0}, {0, 0}}},
      {"head inside layer 1: points above it numbered 0 and -1", 12, 10, 2, {{0, 30}, {30, 40}}, {{-1, 3}, {0, 0}}},
      {"head below the top of layer 2: the assignment lags",
       12,
       10,
       2,
       {{0, 10}, {10, 20}, {20, 30}},
       {{-1, 1}, {2, 2}, {3, 3}}},
      {"head above the ground", -10, 40, 8, {{0, 20}, {20, 50}}, {{3, 6}, {7, 9}}},
      {"thin layer gets the next node", 0, 20, 4, {{0, 6}, {6, 7}, {7, 30}}, {{1, 2}, {3, 3}, {4, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    set_layers(c.layers);
    set_pile(1, c.head, c.length, c.n);
    ASSERT_EQ(lay_out(1), 0);
    expect_ranges(1, c.ranges);
    const double h = c.length / c.n;
    EXPECT_EQ(PileProperty.increment(SET), h);
    for (int j = 1; j <= c.n + 1; ++j) {
      EXPECT_NEAR(PileNodes.depth(1, j), c.head + (j - 1) * h, 1e-12);
      EXPECT_EQ(PileNodes.depth(1, j), PileNodes.axial_x(1, j));
    }
  }
}

TEST_F(NodeLayout, BatterShortensTheVerticalStepOnlyWhenAsked) {
  set_layers({{0, 100}});
  set_pile(1, 0, 120, 6);
  PileTable.batter(1) = 30 * 3.141592653589793 / 180;
  RunOptions.adjust_batter_depth = 1;
  // 120 along the axis reaches below the layer; 120 cos 30 = 103.9 does too,
  // so take a pile whose vertical reach (103.9 - 20 cos 30) stays inside.
  set_pile(1, 0, 100, 5);
  ASSERT_EQ(lay_out(1), 0);
  for (int j = 1; j <= 6; ++j) {
    EXPECT_NEAR(PileNodes.axial_x(1, j), (j - 1) * 20.0, 1e-12);
    EXPECT_NEAR(PileNodes.depth(1, j), (j - 1) * 20.0 * std::cos(30 * 3.141592653589793 / 180), 1e-12);
  }
  RunOptions.adjust_batter_depth = 0;
  ASSERT_EQ(lay_out(1), 0);
  EXPECT_EQ(PileNodes.depth(1, 6), 100.0);
}

TEST_F(NodeLayout, PileBelowTheDeepestLayerFailsWithItsMessage) {
  set_layers({{0, 10}, {10, 20}});
  set_pile(1, 0, 24, 4);
  EXPECT_EQ(lay_out(1), STATUS_PILE_BELOW_DEEPEST_LAYER);
  const std::string message =
      "\n\n\n     **** FATAL ERROR ****\n     THE PILE LENGTH,   0.24E+02( IN), EXTENDS BELOW THE\n"
      "     BOTTOM OF THE DEEPEST LAYER.\n";
  EXPECT_EQ(results(), message);
  EXPECT_EQ(run_log(), message);
  // NODE2D sets its own code and never clears the word.
  int status = 0;
  NODE2D(1, status);
  EXPECT_EQ(status, STATUS_PILE_BELOW_DEEPEST_LAYER_2D);
  set_pile(1, 0, 20, 4);  // the tip exactly at the bottom passes
  PREPARE_NODE_LAYOUT(status);
  status = 7;
  NODE2D(1, status);
  EXPECT_EQ(status, 7);
  NODE(1, status);
  EXPECT_EQ(status, 0);
  expect_ranges(1, {{1, 2}, {3, 5}});
}

// Regression: inside a loop over piles the message was written by whichever
// thread failed first. It is held in the pile's evaluation and written when
// the loop's evaluations are published, in pile order.
TEST_F(NodeLayout, MessagesInsideALoopWaitForThePublishingInPileOrder) {
  set_layers({{0, 10}, {10, 20}});
  set_pile(1, 0, 24, 4);
  set_pile(2, 0, 24, 4);
  // Pile 2 of a set of its own, longer.
  constexpr int LONGER_SET = 2;
  PileTable.prop(2) = LONGER_SET;
  PileProperty.length(LONGER_SET) = 36;
  PileProperty.n_increments(LONGER_SET) = 4;
  int status = 0;
  PREPARE_NODE_LAYOUT(status);
  std::vector<PileEvaluation> evaluations(2);
  for (int p : {2, 1}) {  // failing in the order a second thread might
    const PileEvaluationScope scope(evaluations[static_cast<std::size_t>(p - 1)]);
    int own = 0;
    NODE(p, own);
    EXPECT_EQ(own, STATUS_PILE_BELOW_DEEPEST_LAYER);
  }
  EXPECT_EQ(results(), "");
  EXPECT_EQ(run_log(), "");
  PUBLISH_PILE_EVALUATIONS(evaluations.data(), 2);
  auto message = [](const char* length) {
    return std::string("\n\n\n     **** FATAL ERROR ****\n     THE PILE LENGTH,   ") + length +
           "( IN), EXTENDS BELOW THE\n     BOTTOM OF THE DEEPEST LAYER.\n";
  };
  EXPECT_EQ(results(), message("0.24E+02") + message("0.36E+02"));
  EXPECT_EQ(run_log(), message("0.24E+02") + message("0.36E+02"));
  EXPECT_EQ(WarningCounters.bearing + WarningCounters.pull_out + WarningCounters.torsion, 0);
}

TEST_F(NodeLayout, PileWithItsOwnCurvesGetsCoordinatesOnly) {
  set_layers({{0, 10}});
  set_pile(1, 5, 40, 4);
  RunOptions.user_py_curves = 1;
  PileTable.py_set(1) = 2;
  ASSERT_EQ(lay_out(1), 0);
  EXPECT_EQ(PileNodes.depth(1, 5), 45.0);
  expect_ranges(1, {{0, 0}});
}

// A head below the ground with a batter of 90 degrees or more would count
// the points above the head for ever: it is rejected before the analysis.
TEST_F(NodeLayout, BatterWithoutDownwardStepIsAnInputError) {
  set_layers({{0, 100}});
  set_pile(1, 5, 20, 4);
  PileTable.batter(1) = 3.141592653589793 / 2 + 0.1;
  RunOptions.adjust_batter_depth = 1;
  int status = 0;
  PREPARE_NODE_LAYOUT(status);
  EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    INPUT SECTION 7, PILE 1: BATTER GIVES NODES THAT DO NOT ADVANCE DOWNWARD");
  NODE(1, status);  // and the layout itself still ends
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace pilecap
