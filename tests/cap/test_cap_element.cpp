// The embedded-cap element: its nodes in the soil layers, and its soil
// reaction against closed forms. With one secant modulus E over its whole
// depth, a translation v of the element gives F = -E v L and M = -E v L^2 / 2
// about its top, a rotation theta F = -E theta L^2 / 2, for any number of
// increments; carried to the cap origin the reaction gains r x F; and a
// tangent by differences of a linear reaction is that reaction's matrix.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cap/embedded_cap.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "tests/cap/cap_element_fixture.hpp"

namespace pilecap {
namespace {

using testing::CapElementTest;

constexpr double K = 50.0;   // subgrade modulus, lb/in^3
constexpr double B = 120.0;  // cap width, in
constexpr double E = K * B;  // the secant modulus of every node, lb/in^2

class CapElement : public CapElementTest {};

TEST_F(CapElement, NodesFindTheirLayers) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> layers;
    double d0;
    std::vector<std::pair<int, int>> ranges;  // first and last node of each layer
  } cases[] = {
      {"top at the ground, one layer", {{0.0, 100.0}, {100.0, 200.0}}, 0.0, {{1, 5}, {0, 0}}},
      {"top above the ground", {{10.0, 200.0}}, 0.0, {{2, 5}}},
      {"boundary between nodes", {{-10.0, 15.0}, {15.0, 200.0}}, 0.0, {{1, 2}, {3, 5}}},
      {"boundary at a node", {{-10.0, 20.0}, {20.0, 200.0}}, 0.0, {{1, 2}, {3, 5}}},
      {"underside at the deepest bottom", {{0.0, 40.0}}, 0.0, {{1, 5}}},
      {"a layer below the element", {{-50.0, 100.0}, {100.0, 150.0}, {150.0, 200.0}}, 5.0, {{1, 5}, {0, 0}, {0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    soil(c.layers, SOIL_ELASTIC_SUBGRADE, K);
    element(c.d0, 40.0, 4, B);
    int status = -1;
    CAP_ELEMENT_NODES(status);
    ASSERT_EQ(status, STATUS_OK);
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(PileNodes.depth(CAP, j), c.d0 + 10.0 * (j - 1)) << j;
    EXPECT_EQ(CapPassiveElement.head_depth, c.d0);
    for (std::size_t l = 0; l < c.ranges.size(); ++l) {
      const int layer = static_cast<int>(l) + 1;
      EXPECT_EQ(PileLayerData.first_node(CAP, layer), c.ranges[l].first) << layer;
      EXPECT_EQ(PileLayerData.last_node(CAP, layer), c.ranges[l].second) << layer;
    }
  }
}

TEST_F(CapElement, NodeBelowTheDeepestLayerEndsTheRun) {
  soil({{0.0, 35.0}}, SOIL_ELASTIC_SUBGRADE, K);
  element(0.0, 40.0, 4, B);
  int status = STATUS_OK;
  CAP_ELEMENT_NODES(status);
  EXPECT_EQ(status, STATUS_PILE_BELOW_DEEPEST_LAYER);
  const std::string block =
      "\n\n\n     **** FATAL ERROR ****\n     THE PILE LENGTH,   0.40E+02( IN), EXTENDS BELOW THE\n"
      "     BOTTOM OF THE DEEPEST LAYER.\n";
  EXPECT_EQ(results(), block);
  EXPECT_EQ(run_log(), block);
  // The force routines hand the code on and answer nothing.
  double f[6] = {1, 1, 1, 1, 1, 1};
  const double u[6] = {0, 1, 1, 0, 0, 0};
  status = STATUS_OK;
  CAP_PASSIVE_FORCE(f, u, status);
  EXPECT_EQ(status, STATUS_PILE_BELOW_DEEPEST_LAYER);
  for (double v : f) EXPECT_EQ(v, 0.0);
}

TEST_F(CapElement, WithoutSoilTheElementHasNoSprings) {
  element(0.0, 40.0, 4, B);
  int status = -1;
  CAP_ELEMENT_NODES(status);
  EXPECT_EQ(status, STATUS_OK);
  EXPECT_EQ(PileNodes.depth(CAP, 5), 40.0);
  double fy = 1, fz = 1, mz = 1, my = 1;
  CAP_SOIL_REACTION_3D(1.0, 0.0, 0.0, 0.0, fy, fz, mz, my, status);
  EXPECT_EQ(fy, 0.0);
  EXPECT_EQ(mz, 0.0);
}

// The ground lies a little above the cap's top, so every node has the
// same modulus E = k b of an elastic subgrade.
TEST_F(CapElement, UniformModulusGivesTheClosedForms) {
  const double L = 36.0, v = 0.02, theta = 1e-3;
  for (int n : {1, 2, 3, 7}) {
    SCOPED_TRACE(n);
    soil({{-1.0, 400.0}}, SOIL_ELASTIC_SUBGRADE, K);
    element(0.0, L, n, B);
    int status = STATUS_OK;
    CAP_ELEMENT_NODES(status);
    ASSERT_EQ(status, STATUS_OK);
    const double tolerance = 1e-12 * E * L * L;
    double fy = 0, fz = 0, mz = 0, my = 0;
    CAP_SOIL_REACTION_3D(v, 0.0, 0.0, 0.0, fy, fz, mz, my, status);
    EXPECT_NEAR(fy, -E * v * L, tolerance);
    EXPECT_NEAR(mz, -E * v * L * L / 2, tolerance * L);
    EXPECT_EQ(fz, 0.0);
    EXPECT_EQ(my, 0.0);
    CAP_SOIL_REACTION_3D(0.0, 0.0, v, 0.0, fy, fz, mz, my, status);
    EXPECT_NEAR(fz, -E * v * L, tolerance);
    EXPECT_NEAR(my, E * v * L * L / 2, tolerance * L);  // a force along z below the top turns it about -y
    EXPECT_EQ(fy, 0.0);
    CAP_SOIL_REACTION_3D(0.0, theta, 0.0, 0.0, fy, fz, mz, my, status);
    EXPECT_NEAR(fy, -E * theta * L * L / 2, tolerance);
    CAP_SOIL_REACTION_3D(0.0, 0.0, 0.0, theta, fy, fz, mz, my, status);
    EXPECT_NEAR(fz, E * theta * L * L / 2, tolerance);
    double f = 0, m = 0;
    CAP_SOIL_REACTION_2D(v, 0.0, f, m, status);
    EXPECT_NEAR(f, -E * v * L, tolerance);
    EXPECT_NEAR(m, -E * v * L * L / 2, tolerance * L);
    CAP_SOIL_REACTION_2D(0.0, theta, f, m, status);
    EXPECT_NEAR(f, -E * theta * L * L / 2, tolerance);
    EXPECT_EQ(CapPassiveElement.evaluating, 0);
  }
}

// In soft clay the modulus depends on the size of the displacement only, so
// turning (v, w) in the horizontal plane turns (Fy, Fz) with it.
TEST_F(CapElement, TurningTheMovementTurnsTheReaction) {
  soil({{-1.0, 400.0}}, SOIL_SOFT_CLAY, 0.0, 5.0, 0.01, 0.03);
  element(0.0, 36.0, 4, B);
  int status = STATUS_OK;
  CAP_ELEMENT_NODES(status);
  double fy0 = 0, fz0 = 0, mz0 = 0, my0 = 0;
  CAP_SOIL_REACTION_3D(0.3, 0.0, 0.0, 0.0, fy0, fz0, mz0, my0, status);
  ASSERT_EQ(status, STATUS_OK);
  ASSERT_LT(fy0, 0.0);
  for (double angle : {0.5, 2.0, -2.5}) {
    double fy = 0, fz = 0, mz = 0, my = 0;
    CAP_SOIL_REACTION_3D(0.3 * std::cos(angle), 0.0, 0.3 * std::sin(angle), 0.0, fy, fz, mz, my, status);
    EXPECT_NEAR(fy, fy0 * std::cos(angle), 1e-10 * std::fabs(fy0)) << angle;
    EXPECT_NEAR(fz, fy0 * std::sin(angle), 1e-10 * std::fabs(fy0)) << angle;
    EXPECT_NEAR(mz, mz0 * std::cos(angle), 1e-10 * std::fabs(mz0)) << angle;
    EXPECT_NEAR(my, -mz0 * std::sin(angle), 1e-10 * std::fabs(mz0)) << angle;
  }
}

class CapPassive : public CapElementTest {
 protected:
  static constexpr double D0 = -36.0;  // the cap's top, 3 ft above the pile heads
  static constexpr double L = 36.0;
  void SetUp() override {
    CapElementTest::SetUp();
    soil({{-40.0, 400.0}}, SOIL_ELASTIC_SUBGRADE, K);
    element(D0, L, 3, B);
  }
  static void force(const double* u, double* f) {
    int status = STATUS_OK;
    CAP_PASSIVE_FORCE(f, u, status);
    ASSERT_EQ(status, STATUS_OK);
  }
};

// The element's top lies at d0 on the X axis: it sees v = UY + d0 RZ and
// w = UZ - d0 RY, and its reaction at the origin gains the moments of its
// forces about the origin.
TEST_F(CapPassive, ForceAtTheOriginCarriesTheElementsReaction) {
  const double tolerance = 1e-11 * E * L * L;
  double f[6];
  const double translation[6] = {0.4, 0.01, -0.03, 0.0, 0.0, 0.0};
  force(translation, f);
  const double fy = -E * 0.01 * L, fz = E * 0.03 * L;
  const double mz = -E * 0.01 * L * L / 2, my = -E * 0.03 * L * L / 2;
  EXPECT_NEAR(f[0], 0.0, tolerance);
  EXPECT_NEAR(f[1], fy, tolerance);
  EXPECT_NEAR(f[2], fz, tolerance);
  EXPECT_NEAR(f[3], 0.0, tolerance);
  EXPECT_NEAR(f[4], my - D0 * fz, tolerance * L);
  EXPECT_NEAR(f[5], mz + D0 * fy, tolerance * L);

  const double rz = 1e-4;
  const double turn[6] = {0.0, 0.0, 0.0, 0.0, 0.0, rz};
  force(turn, f);
  EXPECT_NEAR(f[1], -E * (D0 * rz * L + rz * L * L / 2), tolerance);

  // Vertical movement and twist move nothing of the element.
  const double vertical[6] = {0.5, 0.0, 0.0, 0.02, 0.0, 0.0};
  force(vertical, f);
  for (double v : f) EXPECT_NEAR(v, 0.0, tolerance);
  const double zero[6] = {};
  force(zero, f);
  for (double v : f) EXPECT_EQ(v, 0.0);
}

// A linear reaction: the difference tangent is the reaction's matrix, with
// its closed-form terms, symmetric, and nothing in rows and columns 1 and 4.
TEST_F(CapPassive, TangentOfALinearElementIsItsMatrix) {
  double k[36];
  const double u[6] = {0.1, 0.004, -0.002, 0.0, 1e-5, 2e-5};
  const double du[6] = {1e-3, 1e-3, 0, 0, 0, 1e-6};
  int status = STATUS_OK;
  CAP_PASSIVE_STIFFNESS(k, u, du, 5, 0, status);
  ASSERT_EQ(status, STATUS_OK);
  auto K = [&](int i, int j) { return k[(i - 1) + 6 * (j - 1)]; };
  const double scale = E * L * (L + std::fabs(D0)) * (L + std::fabs(D0));
  for (int m = 1; m <= 6; ++m) {
    for (int i : {1, 4}) {
      EXPECT_NEAR(K(i, m), 0.0, 1e-9 * scale) << i << " " << m;
      EXPECT_NEAR(K(m, i), 0.0, 1e-9 * scale) << m << " " << i;
    }
  }
  const double tolerance = 1e-6 * E * L;
  EXPECT_NEAR(K(2, 2), -E * L, tolerance);
  EXPECT_NEAR(K(3, 3), -E * L, tolerance);
  EXPECT_NEAR(K(2, 6), -E * (D0 * L + L * L / 2), tolerance * L);
  EXPECT_NEAR(K(6, 2), -E * (D0 * L + L * L / 2), tolerance * L);
  EXPECT_NEAR(K(3, 5), E * (D0 * L + L * L / 2), tolerance * L);
  // The rest against differences of the reaction taken here, over large
  // steps (exact for a linear reaction).
  for (int j : {5, 6}) {
    double plus[6], minus[6], w[6];
    for (int s = 0; s < 2; ++s) {
      for (int m = 0; m < 6; ++m) w[m] = u[m];
      w[j - 1] += s == 0 ? 1e-3 : -1e-3;
      force(w, s == 0 ? plus : minus);
    }
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(K(i, j), (plus[i - 1] - minus[i - 1]) / 2e-3, 1e-6 * scale) << i << j;
  }
}

// In soft clay p grows as y^(1/3), so at rest the difference tangent is
// -C h^(-2/3) and tells its step: 1e-4 of the full translation step in the
// first iterations, the full steps when they are to stay fixed, and a
// rotation step cut to 1e-2 when the last increment hardly turned.
TEST_F(CapElement, StepsOfTheTangentFollowItsRule) {
  soil({{-100.0, 400.0}}, SOIL_SOFT_CLAY, 0.0, 5.0, 0.01, 0.03);
  element(0.0, 36.0, 3, B);
  auto tangent = [](const double* du, int iteration, int fixed) {
    double k[36];
    const double u[6] = {};
    int status = STATUS_OK;
    CAP_PASSIVE_STIFFNESS(k, u, du, iteration, fixed, status);
    EXPECT_EQ(status, STATUS_OK);
    return std::pair<double, double>(k[7], k[35]);  // K(2, 2), K(6, 6)
  };
  const double none[6] = {};
  const double moved[6] = {1e-3, 0, 0, 1e-10, 0, 0};
  const auto full = tangent(none, 1, 1);
  const auto first = tangent(none, 1, 0);
  const auto later = tangent(moved, 3, 0);
  const double translation_cut = std::pow(double(1e-4f), -2.0 / 3.0);
  const double rotation_cut = std::pow(double(0.01f), -2.0 / 3.0);
  EXPECT_NEAR(first.first / full.first, translation_cut, 1e-6 * translation_cut);
  EXPECT_NEAR(first.second / full.second, 1.0, 1e-9);
  EXPECT_NEAR(later.first / full.first, 1.0, 1e-9);
  EXPECT_NEAR(later.second / full.second, rotation_cut, 1e-6 * rotation_cut);
}

// The plane element below the origin: u = (UX, UY + x RZ, RZ), and the
// reaction (0, F, x F + M) back at the origin.
TEST_F(CapPassive, PlaneForceAtTheOrigin) {
  RunOptions.dimension = 2;
  const double tolerance = 1e-11 * E * L * L;
  double f[3];
  int status = STATUS_OK;
  const double lateral[3] = {0.3, 0.01, 0.0};
  CAP_PASSIVE_FORCE_2D(f, lateral, status);
  ASSERT_EQ(status, STATUS_OK);
  const double fy = -E * 0.01 * L, mz = -E * 0.01 * L * L / 2;
  EXPECT_NEAR(f[0], 0.0, tolerance);
  EXPECT_NEAR(f[1], fy, tolerance);
  EXPECT_NEAR(f[2], D0 * fy + mz, tolerance * L);
  const double turn[3] = {0.0, 0.0, 1e-4};
  CAP_PASSIVE_FORCE_2D(f, turn, status);
  EXPECT_NEAR(f[1], -E * (D0 * 1e-4 * L + 1e-4 * L * L / 2), tolerance);
  const double vertical[3] = {0.7, 0.0, 0.0};
  CAP_PASSIVE_FORCE_2D(f, vertical, status);
  for (double v : f) EXPECT_EQ(v, 0.0);
}

}  // namespace
}  // namespace pilecap
