// The axial load variation along a pile against the generated load-settlement
// curve it starts from: a head movement equal to a generated point gives
// back that point's load, the profile runs from the head load down to the
// tip load, uplift mirrors it, and movements beyond the curve take one march
// at the end tip movement. The pile stands free above the ground for three
// increments, so the pinned friction of its first two nodes plays no part.
#include <cmath>
#include <memory>

#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile_head.hpp"
#include "tests/transfer/transfer_fixture.hpp"

namespace pilecap {
namespace {

using testing::TransferTest;

class AxialVariation : public TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    Layer layer;
    layer.code = SOIL_SAND;
    layer.cohesion = 0.0;
    layer.phi = 0.6;  // radians
    layer.unit_weight = 0.04;
    set_layer(layer);
    Pile p;
    p.increments = 20;
    p.ground = 3.5 * p.length / p.increments;
    set_pile(p);
    PileTable.axial_factor(1) = 1.0;
    PileTable.ls_curve(1) = -1;
    GeneratedLsCurve.count = 1;
    GeneratedLsCurve.pile(1) = 1;
    for (int side : {SIDE_UPLIFT, SIDE_COMPRESSION}) {
      int q = 1, k = 1, pile = 1, status = 0, n = 0;
      double loads[LS_POINTS_PER_SIDE], movements[LS_POINTS_PER_SIDE];
      GENERATE_AXIAL_LS_CURVE(q, side, k, pile, status, n, loads, movements);
      ASSERT_EQ(status, 0);
    }
    // The generated curve itself, as the echo stores it.
    GeneratedLsCurve.point_count(1) = LS_TABLE_COLUMNS;
    for (int c = 1; c <= LS_TABLE_COLUMNS; ++c) {
      GeneratedLsCurve.movement(1, c) = ComputedLsTable.top_movement(1, c);
      GeneratedLsCurve.load(1, c) = ComputedLsTable.top_load(1, c);
    }
    AnalysisControl.axial_variation = 1;
    RunOptions.extend_curve_interpolation = 1;
  }
  void TearDown() override {
    AnalysisControl = AnalysisControlRecord{};
    GeneratedLsCurve.count = 0;
    TransferTest::TearDown();
  }
  struct Result {
    double force = 0.0;
    PileAxialProfile profile;
    int status = 0, error = 0;
  };
  Result evaluate(double u) {
    Result r;
    PileEvaluation evaluation;
    auto work = std::make_unique<PileTransferWork>();
    const double d[6] = {u};
    AXIAL_HEAD_FORCE(1, r.force, d, r.profile, r.status, evaluation, *work);
    r.error = evaluation.error;
    return r;
  }
};

TEST_F(AxialVariation, HeadMovementOfAGeneratedPointGivesItsLoad) {
  for (int c : {2, 5, 9, 11, 13, 16, 18}) {
    SCOPED_TRACE(c);
    const double u = ComputedLsTable.top_movement(1, c);
    const Result r = evaluate(u);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.error, 0);
    const double load = ComputedLsTable.top_load(1, c);
    EXPECT_NEAR(r.force, load, 1e-9 * std::fabs(load));
    EXPECT_NEAR(r.profile.movement(4), u, 1e-9 * std::fabs(u));
    // The tip row carries the tip movement and load of the same point.
    const int tip_row = 20 + 4;
    EXPECT_NEAR(r.profile.movement(tip_row), ComputedLsTable.tip_movement(1, c),
                1e-9 * std::fabs(ComputedLsTable.tip_movement(1, c)));
    EXPECT_NEAR(r.profile.load(tip_row), ComputedLsTable.tip_load(1, c), 1e-9 * std::fabs(load));
    // Above the ground the pile carries its head load unchanged.
    EXPECT_NEAR(r.profile.load(5), r.profile.load(4), 1e-9 * std::fabs(load));
    EXPECT_EQ(r.profile.load(tip_row + 1), 0.0);
  }
}

TEST_F(AxialVariation, MovementBetweenPointsConvergesOnTheHeadMovement) {
  for (double u : {0.03, -0.02, 0.3}) {
    SCOPED_TRACE(u);
    const Result r = evaluate(u);
    EXPECT_EQ(r.error, 0);
    EXPECT_NEAR(r.profile.movement(4), u, 1e-4 * std::fabs(u));
    EXPECT_GT(r.force * u, 0.0);  // uplift pulls, settlement pushes
  }
}

TEST_F(AxialVariation, AxialFactorScalesTheProfileButNotTheForce) {
  const double u = ComputedLsTable.top_movement(1, 14);
  const Result plain = evaluate(u);
  PileTable.axial_factor(1) = 0.5;
  const Result halved = evaluate(u);
  EXPECT_EQ(halved.force, plain.force);
  EXPECT_EQ(halved.profile.load(10), 0.5 * plain.profile.load(10));
}

TEST_F(AxialVariation, BeyondTheCurveOneMarchAtTheEndTipMovement) {
  const double beyond = 2.0 * ComputedLsTable.top_movement(1, LS_TABLE_COLUMNS);
  const Result r = evaluate(beyond);
  EXPECT_EQ(r.error, 0);
  const double end_load = ComputedLsTable.top_load(1, LS_TABLE_COLUMNS);
  EXPECT_NEAR(r.force, end_load, 1e-9 * end_load);
  // With the extension off the curve gives 0 and the variation is skipped.
  RunOptions.extend_curve_interpolation = 0;
  const Result off = evaluate(beyond);
  EXPECT_EQ(off.force, 0.0);
  EXPECT_EQ(off.profile.load(4), 0.0);
}

TEST_F(AxialVariation, UserCurveNeverVaries) {
  UserLsCurve.point_count(1) = 2;
  UserLsCurve.movement(1, 1) = -1.0;
  UserLsCurve.load(1, 1) = -10.0;
  UserLsCurve.movement(1, 2) = 1.0;
  UserLsCurve.load(1, 2) = 10.0;
  PileTable.ls_curve(1) = 1;
  const Result r = evaluate(0.5);
  EXPECT_EQ(r.force, 5.0);
  EXPECT_EQ(r.profile.load(4), 0.0);
}

}  // namespace
}  // namespace pilecap
