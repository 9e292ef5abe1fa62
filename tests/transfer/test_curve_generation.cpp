// The load-settlement and torque-rotation generators against closed forms:
// a driven pile with fully mobilised constant friction, a torsionally loaded
// shaft on linear soil, the clay tip curve points, and their failure routes.
#include <cmath>
#include <limits>
#include <string>

#include "tests/transfer/transfer_fixture.hpp"

namespace pilecap {
namespace {

using testing::TransferTest;

struct Side {
  int n = 0;
  double loads[LS_POINTS_PER_SIDE] = {};
  double movements[LS_POINTS_PER_SIDE] = {};
};

Side axial(int side, int& status) {
  Side out;
  int q = 1, k = 1, p = 1;
  GENERATE_AXIAL_LS_CURVE(q, side, k, p, status, out.n, out.loads, out.movements);
  return out;
}

Side torsion(int side, int& status) {
  Side out;
  int q = 1, k = 1, p = 1;
  GENERATE_TORSION_TR_CURVE(q, side, k, p, status, out.n, out.loads, out.movements);
  return out;
}

// Beyond 0.16 in every element carries the residual 0.93 f of the clay
// curve, so the head load is Q_t + 0.93 f C L and the pile shortens by
// (Q_t L + 0.93 f C L^2 / 2) / EA.
TEST_F(TransferTest, DrivenPileInClayBeyondFullMobilisation) {
  Layer layer;
  layer.side_friction = 2.0;    // psi
  layer.tip_resistance = 90.0;  // psi
  layer.e50 = 0.005;
  set_layer(layer);
  Pile pile;
  set_pile(pile);
  int status = 0;
  const Side side = axial(SIDE_COMPRESSION, status);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(side.n, LS_POINTS_PER_SIDE);
  const double f = 2.0 * double(0.93f), C = pile.perimeter, L = pile.length, EA = pile.area * pile.modulus;
  const double tip_load = 90.0 * pile.area;  // the tip curve is flat from 8 D e50 = 0.48 in on
  for (int j : {6, 7, 8}) {
    const double w = j == 8 ? 2.0 : TIP_MOVEMENTS[j];
    EXPECT_NEAR(side.loads[j], tip_load + f * C * L, 1e-9 * side.loads[j]) << j;
    EXPECT_NEAR(side.movements[j] - w, (tip_load * L + f * C * L * L / 2.0) / EA, 1e-9) << j;
    EXPECT_EQ(ComputedLsTable.top_load(1, LS_ORIGIN_COLUMN + j + 1), side.loads[j]);
    EXPECT_EQ(ComputedLsTable.tip_load(1, LS_ORIGIN_COLUMN + j + 1), tip_load);
  }
  for (int j = 0; j < LS_POINTS_PER_SIDE; ++j) EXPECT_GT(side.movements[j], ComputedLsTable.tip_movement(1, 11 + j));

  // Uplift: a tip of 1e-4 area, the same shaft, the columns below the origin negated.
  const Side uplift = axial(SIDE_UPLIFT, status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(uplift.loads[8], 90.0 * double(1e-4f) + f * C * L, 1e-9 * uplift.loads[8]);
  EXPECT_EQ(ComputedLsTable.top_load(1, 1), -uplift.loads[8]);
  EXPECT_EQ(ComputedLsTable.tip_movement(1, 9), -TIP_MOVEMENTS[0]);
}

// The tip of a driven pile in a user p-y layer: Q / Q_t = 0.25, 0.5, 0.75,
// 0.9, 1 at 0.002, 0.013, 0.042, 0.073, 0.1 of the diameter.
TEST_F(TransferTest, DrivenTipCurveOfUserLayerAsListed) {
  Layer layer;
  layer.code = SOIL_USER_PY;
  layer.cohesion = 0.0;  // a cohesive tip without friction angle would count as stiff clay
  layer.side_friction = 1.0;
  layer.tip_resistance = 10.0;
  set_layer(layer);
  Pile pile;
  pile.diameter = 10.0;
  pile.area = 100.0;
  set_pile(pile);
  int status = 0;
  axial(SIDE_COMPRESSION, status);
  ASSERT_EQ(status, 0);
  const std::string listing = text(UNIT_AXIAL_CURVE_TEXT);
  const std::string expected =
      "\n     Q-W CURVE, PILE PROPERTY:  1\n\n"
      "         Q Value            W Value\n"
      "          (LBS)              ( IN)\n"
      "        0.0000E+00         0.0000E+00\n"
      "        0.2500E+03         0.2000E-01\n"
      "        0.5000E+03         0.1300E+00\n"
      "        0.7500E+03         0.4200E+00\n"
      "        0.9000E+03         0.7300E+00\n"
      "        0.1000E+04         0.1000E+01\n"
      "        0.1000E+04         0.1200E+01\n"
      "        0.1000E+04         0.1500E+01\n"
      "        0.1000E+04         0.1800E+01\n"
      "        0.1000E+04         0.2000E+01\n";
  EXPECT_EQ(listing.substr(0, expected.size()), expected);
}

TEST_F(TransferTest, ClayTipWithoutCohesionStopsWithItsWarning) {
  Layer layer;
  layer.cohesion = 0.0;
  set_layer(layer);
  set_pile(Pile{});
  int status = 0;
  axial(SIDE_COMPRESSION, status);
  EXPECT_EQ(status, STATUS_LS_CURVE_ZERO_COHESION);
  const std::string block =
      "\n                             **** WARNING ****\n"
      "     THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE\n";
  EXPECT_EQ(text(UNIT_RUN_LOG), block);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), block);
}

TEST_F(TransferTest, InputThatCannotBeGeneratedIsAnInputError) {
  struct Case {
    const char* name;
    int pile_type;
    int code;
    const char* detail;
  };
  for (const Case& c :
       {Case{"pile type 3", 3, SOIL_SOFT_CLAY, "    INPUT SECTION 8, PROPERTY SET 1: '3' (PILE TYPE NOT 1 OR 2)"},
        Case{"soil code 15", PILE_DRIVEN, 15, "    INPUT SECTION 10, SOIL LAYER 1: '15' (SOIL CODE NOT 0 TO 14)"}}) {
    Layer layer;
    layer.code = c.code;
    set_layer(layer);
    Pile pile;
    pile.type = c.pile_type;
    set_pile(pile);
    for (bool axial_curve : {true, false}) {
      int status = 0;
      if (axial_curve) {
        axial(SIDE_COMPRESSION, status);
      } else {
        torsion(SIDE_COMPRESSION, status);
      }
      EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR) << c.name;
      EXPECT_EQ(STATUS_DETAIL(), c.detail) << c.name;
    }
  }
  EXPECT_EQ(text(UNIT_AXIAL_CURVE_TEXT), "");
}

// Regression: an element whose movement cannot settle (here a perimeter
// that is not a number) ends the generation instead of storing garbage.
TEST_F(TransferTest, ElementThatDoesNotSettleEndsTheGeneration) {
  Layer layer;
  layer.side_friction = 2.0;
  layer.tip_resistance = 90.0;
  set_layer(layer);
  set_pile(Pile{});
  PileSection.perimeter(1, 1) = std::numeric_limits<double>::quiet_NaN();
  InputLines.soil_layer(1) = 52;
  int status = 0;
  axial(SIDE_COMPRESSION, status);
  EXPECT_EQ(status, STATUS_GENERATION_NO_CONVERGENCE);
  EXPECT_NE(text(UNIT_RUN_LOG).find("     ELEMENT MOVEMENT DID NOT CONVERGE, LS CURVE\n"), std::string::npos);
  // Where it stopped, for the detail line the curve's caller completes.
  EXPECT_EQ(STATUS_DETAIL(), "ELEMENT 1 FROM THE TIP, IN SOIL LAYER 1 AT INPUT SECTION 10 (SOIL LAYERS), LINE 52");
}

// A shaft on linear torque-twist soil (the first, linear segment of the
// drilled clay t-z curve) has the head stiffness GJ lambda tanh(lambda L),
// lambda^2 = k r^2 C / GJ; the march approaches it as the elements shrink.
TEST_F(TransferTest, TorsionHeadStiffnessTendsToTheLongShaftSolution) {
  Layer layer;
  layer.side_friction = 1.0;
  set_layer(layer);
  Pile pile;
  pile.type = PILE_DRILLED;
  pile.diameter = 24.0;
  pile.perimeter = 75.4;
  pile.gj = 2.0e10;
  const double r = pile.diameter / 2.0;
  const double k = double(0.51f) / (double(0.001f) * pile.diameter);  // t per unit movement
  const double lambda = std::sqrt(k * r * r * pile.perimeter / pile.gj);
  const double exact = pile.gj * lambda * std::tanh(lambda * pile.length);
  double previous_error = 1.0;
  for (int increments : {50, 200}) {
    pile.increments = increments;
    set_pile(pile);
    int status = 0;
    const Side side = torsion(SIDE_COMPRESSION, status);
    ASSERT_EQ(status, 0);
    ASSERT_LT(side.movements[0] * r, double(0.001f) * pile.diameter);  // still on the linear segment
    const double error = std::fabs(side.loads[0] / side.movements[0] / exact - 1.0);
    EXPECT_LT(error, previous_error) << increments;
    previous_error = error;
  }
  EXPECT_LT(previous_error, 0.02);
}

TEST_F(TransferTest, ZeroTorsionalRigidityEndsTheRunAfterItsErrorLines) {
  Layer layer;
  layer.side_friction = 1.0;
  set_layer(layer);
  Pile pile;
  pile.gj = 0.0;
  set_pile(pile);
  int status = 0;
  torsion(SIDE_COMPRESSION, status);
  EXPECT_EQ(status, STATUS_ZERO_TORSIONAL_RIGIDITY);
  const std::string lines = "\n\n       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO\n\n\n";
  EXPECT_EQ(text(UNIT_RUN_LOG), lines);
  EXPECT_EQ(text(UNIT_RESULTS_REPORT), lines);
}

}  // namespace
}  // namespace pilecap
