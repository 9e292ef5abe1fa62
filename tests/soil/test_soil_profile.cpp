// The soil profile built from the soil layers as read: the columns each soil
// code keeps, the friction angle in radians, the fixed vuggy-limestone strain,
// the layer steps, and the embedded cap's ground.
#include <map>
#include <string>

#include "echo/echo.hpp"
#include "tests/soil/soil_fixture.hpp"

namespace pilecap {
namespace {

using testing::SoilTest;

// Input property k at point p of layer l: distinct and non-zero.
double given(int l, int k, int p) { return 100.0 * l + 10.0 * k + p; }

void give_layer(int l, int code, double top, double bottom) {
  SoilLayerInput.count = l;
  SoilLayerInput.soil_code(l) = code;
  SoilLayerInput.top(l) = top;
  SoilLayerInput.bottom(l) = bottom;
  for (int k = 1; k <= SOIL_LAYER_PROPERTIES; ++k) {
    for (int p = 1; p <= SOIL_LAYER_POINTS; ++p) SoilLayerInput.props(l)(k, p) = given(l, k, p);
  }
}

TEST_F(SoilTest, EachCodeKeepsOnlyItsColumns) {
  // Columns: c cohesion, f friction angle, k subgrade, r rock modulus, e e50, j J.
  const std::map<int, std::string> kept = {
      {0, "cfkrej"}, {1, "ce"},   {2, "cek"},  {3, "ce"}, {4, "fk"},      {5, ""},     {6, "c"},     {7, "cfek"},
      {8, "fk"},     {9, "cerj"}, {10, "cek"}, {11, ""},  {12, "cfkrej"}, {13, "cej"}, {14, "cejk"}, {15, "cfkrej"},
  };
  constexpr double VUGGY_E50 = 0.0005000000237487257;
  for (const auto& [code, columns] : kept) {
    SoilLayerInput = SoilLayerInputRecord{};
    give_layer(1, code, 0.0, 10.0);
    int status = 0;
    BUILD_SOIL_PROFILE(status);
    EXPECT_EQ(status, 0);
    for (int p = 1; p <= 2; ++p) {
      auto expect = [&](char column, double actual, double value) {
        const bool keep = columns.find(column) != std::string::npos;
        EXPECT_EQ(actual, keep ? value : 0.0) << "code " << code << " column " << column << " point " << p;
      };
      expect('c', SoilProfile.cohesion(p), given(1, 2, p));
      expect('f', SoilProfile.friction_angle(p), given(1, 3, p) * PI_SINGLE / 180.0);
      expect('k', SoilProfile.subgrade_k(p), given(1, 4, p));
      expect('r', SoilProfile.rock_modulus(p), given(1, 5, p));
      if (code == SOIL_VUGGY_LIMESTONE) {
        EXPECT_EQ(SoilProfile.e50(p), VUGGY_E50);
      } else {
        expect('e', SoilProfile.e50(p), given(1, 6, p));
      }
      expect('j', SoilProfile.j_factor(p), given(1, 7, p));
      // Unit weight, side friction and tip resistance stay for every code.
      EXPECT_EQ(SoilProfile.unit_weight(p), given(1, 1, p)) << "code " << code;
      EXPECT_EQ(SoilProfile.side_friction(p), given(1, 8, p)) << "code " << code;
      EXPECT_EQ(SoilProfile.tip_resistance(p), given(1, 9, p)) << "code " << code;
    }
  }
}

TEST_F(SoilTest, FrictionAngleInRadiansWithThePiOfTheMoment) {
  give_layer(1, SOIL_SAND, 0.0, 10.0);
  SoilLayerInput.props(1)(3, 1) = 30.0;
  int status = 0;
  BUILD_SOIL_PROFILE(status);
  EXPECT_EQ(SoilProfile.friction_angle(1), 0.5235983530680338);  // single-precision pi, no piles
  RunConstants.pi = 3.141592653589793;
  BUILD_SOIL_PROFILE(status);
  EXPECT_EQ(SoilProfile.friction_angle(1), 0.5235987755982988);
}

TEST_F(SoilTest, LayerBoundariesBecomeSteps) {
  give_layer(1, SOIL_SOFT_CLAY, 0.0, 10.0);
  give_layer(2, SOIL_SAND, 10.0, 20.0);
  int status = 0;
  BUILD_SOIL_PROFILE(status);
  EXPECT_EQ(SoilProfile.num_layers, 2);
  EXPECT_EQ(SoilProfile.num_points, 4);
  EXPECT_EQ(SoilProfile.num_uw_points, 4);
  const double depths[] = {0.0, 10.0, 10.0, 20.0};
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(SoilProfile.depth(j), depths[j - 1]) << j;
    EXPECT_EQ(SoilProfile.uw_depth(j), depths[j - 1]) << j;
  }
  EXPECT_EQ(SoilProfile.layer_code(1), SOIL_SOFT_CLAY);
  EXPECT_EQ(SoilProfile.layer_code(2), SOIL_SAND);
  EXPECT_EQ(SoilProfile.layer_top(2), 10.0);
  EXPECT_EQ(SoilProfile.layer_bottom(2), 20.0);
}

TEST_F(SoilTest, CapGroundFromTheProfileSurface) {
  PileTable.n_piles = 3;
  CapPassiveElement.head_depth = -1.5;
  give_layer(1, SOIL_SAND, 2.0, 10.0);
  int status = 0;
  BUILD_SOIL_PROFILE(status);
  EXPECT_EQ(PileTable.ground(4), 3.5);
}

// Guards against a profile of an earlier run leaking into a run without layers.
TEST_F(SoilTest, NoLayersLeavesAnEmptyProfileWhateverRanBefore) {
  PileTable.n_piles = 1;
  CapPassiveElement.head_depth = 4.0;
  give_layer(1, SOIL_SAND, 2.0, 10.0);
  int status = 0;
  BUILD_SOIL_PROFILE(status);
  SoilLayerInput = SoilLayerInputRecord{};
  BUILD_SOIL_PROFILE(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(SoilProfile.num_layers, 0);
  EXPECT_EQ(SoilProfile.num_points, 0);
  EXPECT_EQ(SoilProfile.depth(1), 0.0);
  EXPECT_EQ(PileTable.ground(2), -4.0);
  // Every query answers 0 on an empty profile and sets no status.
  double x = 5.0;
  EXPECT_EQ(SOIL_CODE_AT_DEPTH(x), 0);
  EXPECT_EQ(COHESION_AT_DEPTH(x, status), 0.0);
  EXPECT_EQ(AVG_UNIT_WEIGHT_ABOVE(x, status), 0.0);
  EXPECT_EQ(BPHI_AT_DEPTH(x, status), 0.0);
  EXPECT_EQ(SUBGRADE_K_OR_DEFAULT(x), 0.0);
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace pilecap
