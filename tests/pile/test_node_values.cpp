// Loads and soil movements at the nodes (linear between stations, nothing
// beyond a table, means of coincident stations, one-station tables, the
// ground line of the movement profile, the turn into pile axes) and the
// secant bending stiffness (bilinear laws, curves interpolated in the axial
// force, the elastic-plastic law of a section with a moment capacity).
#include <cmath>

#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

class NodeValues : public testing::PileTest {
 protected:
  void SetUp() override {
    testing::PileTest::SetUp();
    set_pile(1, 10.0, 20.0, 4);  // nodes 0, 5, 10, 15, 20 from the head at 10
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    NODE(1, status);
  }
  static void set_loads(const std::vector<std::pair<double, double>>& stations) {
    PileLoadProfile.load_count(1) = static_cast<int>(stations.size());
    for (std::size_t k = 0; k < stations.size(); ++k) {
      PileLoadProfile.load_depth(1, static_cast<int>(k) + 1) = stations[k].first;
      PileLoadProfile.load_y(1, static_cast<int>(k) + 1) = stations[k].second;
    }
  }
};

TEST_F(NodeValues, StationTablesAreLinearAndEndAtTheirLastStation) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> stations;
    double expected[5];
  } cases[] = {
      {"table from 0 to 10: nothing beyond", {{0, 2}, {10, 4}}, {2, 3, 4, 0, 0}},
      {"table from 3 to 20", {{3, 0}, {20, 17}}, {0, 2, 7, 12, 17}},
      {"coincident stations give their mean", {{0, 0}, {4.999999, 2}, {5, 4}, {20, 4}}, {0, 3, 4, 4, 4}},
      {"one station gives its value at that node only", {{5, 7}}, {0, 7, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    set_loads(c.stations);
    PileNodeVector values{};
    values(6) = 99.0;
    DIST_LOAD_AT_NODES_Y(1, values);
    for (int j = 1; j <= 5; ++j) EXPECT_NEAR(values(j), c.expected[j - 1], 1e-12) << "node " << j;
    EXPECT_EQ(values(6), 99.0);
    ZERO_NODE_VALUES(1, values);
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(values(j), 0.0);
    EXPECT_EQ(values(6), 99.0);
  }
}

TEST_F(NodeValues, MovementProfileTurnsIntoPileAxesBelowTheGround) {
  const double deg = 3.141592653589793 / 180;
  SoilMovementProfile.count = 2;
  SoilMovementProfile.depth(1) = 0.0;
  SoilMovementProfile.depth(2) = 40.0;
  SoilMovementProfile.move_y(1) = 4.0;
  SoilMovementProfile.move_y(2) = 0.0;
  SoilMovementProfile.move_z(1) = -2.0;
  SoilMovementProfile.move_z(2) = 0.0;
  PileTable.ground(1) = 5.0;  // ground line at depth 15: node 1 (depth 10) is above it
  RunOptions.dimension = MODEL_3D;
  PileTable.beta(1) = 90 * deg;
  SOIL_MOVE_PROFILE_ON_PILE(1);
  PileNodeVector y{}, z{};
  PROFILE_MOVE_AT_NODES_Y(1, y);
  PROFILE_MOVE_AT_NODES_Z(1, z);
  const double expected_y[5] = {0, 2.5, 2.0, 1.5, 1.0};  // 4 (1 - depth / 40)
  for (int j = 1; j <= 5; ++j) {
    EXPECT_NEAR(y(j), expected_y[j - 1], 1e-12);
    EXPECT_NEAR(z(j), -expected_y[j - 1] / 2, 1e-12);
  }
  RunOptions.dimension = MODEL_2D;
  PileTable.batter(1) = 30 * deg;
  SOIL_MOVE_PROFILE_ON_PILE(1);
  PROFILE_MOVE_AT_NODES_Y(1, y);
  EXPECT_NEAR(y(3), 2.0 * std::cos(30 * deg), 1e-12);
}

class BendingStiffness : public NodeValues {
 protected:
  PileRowVector ei{}, w{};
  PileRowFlags flags{};
  // Deflections with curvature phi at every node: w = -phi x^2 / 2 along rows.
  void bend(double phi) {
    const double h = PileProperty.increment(SET);
    for (int row = 1; row <= 12; ++row) w(row) = 0.5 * phi * (row * h) * (row * h);
    for (int row = 1; row <= 12; ++row) ei(row) = 1.0e6;
  }
  static void set_curve(int m, int c, double load, const std::vector<std::pair<double, double>>& points) {
    auto& S = MomentCurvatureSet;
    S.n_sets = m > S.n_sets ? m : S.n_sets;
    S.n_curves(m) = c > S.n_curves(m) ? c : S.n_curves(m);
    S.axial_load(m, c) = load;
    S.n_points(m, c) = static_cast<int>(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
      S.curvature(m, c, static_cast<int>(k) + 1) = points[k].first;
      S.moment(m, c, static_cast<int>(k) + 1) = points[k].second;
      S.bilinear_curvature(m, c, static_cast<int>(k) + 1) = points[k].first;
      S.bilinear_moment(m, c, static_cast<int>(k) + 1) = points[k].second;
    }
  }
};

TEST_F(BendingStiffness, BilinearLawYieldsAtItsYieldCurvature) {
  set_curve(1, 1, 0.0, {{0, 0}, {0.001, 100}, {0.01, 100}});
  MomentCurvatureSet.bilinear(1) = 1;
  PileSection.mphi_set_zz(SET, 1) = 1;
  struct Case {
    double phi, ei;
    int flag;
  } cases[] = {{0.0, 1e5, 0}, {0.0005, 1e5, 0}, {0.002, 5e4, 1}, {0.004, 25e3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.phi);
    bend(c.phi);
    NODE_FLEXURAL_RIGIDITY(1, AXIS_ZZ, 0.0, ei, w, flags);
    for (int row = 4; row <= 8; ++row) {
      EXPECT_NEAR(ei(row), c.ei, 1e-6 * c.ei);
      EXPECT_EQ(flags(row), c.flag);
    }
  }
}

TEST_F(BendingStiffness, CurvesAreInterpolatedInTheAxialForce) {
  set_curve(2, 1, 0.0, {{0, 0}, {0.001, 100}, {0.002, 150}});
  set_curve(2, 2, 1000.0, {{0, 0}, {0.001, 200}, {0.002, 300}});
  PileSection.mphi_set_yy(SET, 1) = 2;
  struct Case {
    const char* name;
    double n, phi, ei;
  } cases[] = {
      {"straight pile: initial secant", 0.0, 0.0, 1e5},
      {"between points", 0.0, 0.0015, 125.0 / 0.0015},
      {"beyond the last point the moment stays", 0.0, 0.004, 150.0 / 0.004},
      {"halfway between the curves", 500.0, 0.001, 1.5e5},
      {"below the first load: first curve alone", -100.0, 0.001, 1e5},
      {"above the last load: last curve alone", 5000.0, 0.001, 2e5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bend(c.phi);
    flags(5) = 7;
    NODE_FLEXURAL_RIGIDITY(1, AXIS_YY, c.n, ei, w, flags);
    EXPECT_NEAR(ei(5), c.ei, 1e-6 * c.ei);
    EXPECT_EQ(flags(5), 7);  // general curves keep the flag
  }
}

TEST_F(BendingStiffness, SectionWithMomentCapacityIsElasticPlastic) {
  PileSection.moment_capacity_given(SET, 1) = 1;
  PileSection.mp_zz(SET, 1) = PileSection.mp_zz_bottom(SET, 1) = 200.0;
  PileSection.phi_y_zz(SET, 1) = PileSection.phi_y_zz_bottom(SET, 1) = 0.002;
  bend(0.001);
  NODE_FLEXURAL_RIGIDITY(1, AXIS_ZZ, 0.0, ei, w, flags);
  EXPECT_NEAR(ei(4), 1e5, 1e-6);
  EXPECT_EQ(flags(4), 0);
  bend(0.008);
  NODE_FLEXURAL_RIGIDITY(1, AXIS_ZZ, 0.0, ei, w, flags);
  EXPECT_NEAR(ei(4), 25e3, 1e-6);
  EXPECT_EQ(flags(4), 1);
  // An elastic section keeps its EI and clears the flag.
  PileSection.moment_capacity_given(SET, 1) = 0;
  bend(0.008);
  NODE_FLEXURAL_RIGIDITY(1, AXIS_ZZ, 0.0, ei, w, flags);
  EXPECT_EQ(ei(4), 1e6);
  EXPECT_EQ(flags(4), 0);
}

}  // namespace
}  // namespace pilecap
