// The laterally loaded pile of a 2D pile row against the closed forms of a
// long elastic pile (through a linear stand-in for the soil springs), against
// the y plane of the 3D solution (its twin), with nonlinear springs at a
// signed deflection, its first deflection profile, the result stores of the
// print passes and the no-closure warning.
#include <cmath>
#include <vector>

#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

// The stand-in springs: Es = es_constant / (1 + |y| / y_soft) (linear when
// y_soft is 0); the first call's deflections are kept.
double es_constant = 0.0;
double y_soft = 0.0;
std::vector<double> first_deflections;

void stand_in_springs(int& /*prop_set*/, int& /*status*/, int& pile, int& /*factor_index*/, const double* y, double* es,
                      const double* /*move1*/, const double* /*move2*/, double* /*es_move*/, double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  const bool first = first_deflections.empty();
  for (int j = 1; j <= n + 1; ++j) {
    if (first) first_deflections.push_back(y[j]);
    es[j] = y_soft > 0.0 ? es_constant / (1.0 + std::fabs(y[j]) / y_soft) : es_constant;
    p[j] = es[j] * y[j];
  }
}

constexpr double EI = 1.0e6;
constexpr double LENGTH = 200.0;
constexpr double ES = 100.0;

struct RowResponse {
  double force, moment;
  int status;
};

class LateralPile2D : public testing::PileTest {
 protected:
  LateralPileWork work{};
  PileRowVector axial_profile{};
  double transform[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

  void SetUp() override {
    testing::PileTest::SetUp();
    SET_SOIL_REACTION_PROVIDER(stand_in_springs);
    es_constant = ES;
    y_soft = 0.0;
    first_deflections.clear();
    AnalysisControl.llp_tolerance = 1e-9;
    AnalysisControl.llp_max_iterations = 50;
  }
  void build(int n, int conn, double spring = 0.0) {
    set_pile(1, 0.0, LENGTH, n, EI);
    PileTable.conn_zz(1) = PileTable.conn_yy(1) = conn;
    PileTable.spring_zz(1) = PileTable.spring_yy(1) = spring;
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    NODE2D(1, status);
    ASSERT_EQ(status, 0);
  }
  RowResponse solve(double y, double r, double axial = 0.0, const double* u = nullptr) {
    RowResponse out{};
    const double zero[3] = {};
    first_deflections.clear();
    SOLVE_LATERAL_PILE_2D(1, y, r, axial, out.force, out.moment, out.status, u != nullptr ? u : zero, transform,
                          axial_profile, axial_profile, work);
    return out;
  }
};

TEST_F(LateralPile2D, LongElasticPileMatchesTheClosedForms) {
  const double beta = std::pow(ES / (4 * EI), 0.25);  // beta L = 14
  const double y_h = 0.5;
  build(200, CONN_PIN);
  RowResponse r = solve(y_h, 0.0);
  ASSERT_EQ(r.status, 0);
  // Pinned head: y0 = 2 H beta / Es; fixed head: y0 = H beta / Es.
  EXPECT_NEAR(r.force, ES * y_h / (2 * beta), 0.005 * ES * y_h / (2 * beta));
  EXPECT_NEAR(r.moment, 0.0, 1e-9 * EI);
  build(200, CONN_FIX);
  r = solve(y_h, 0.0);
  EXPECT_NEAR(r.force, ES * y_h / beta, 0.005 * ES * y_h / beta);
  // The fixed head of the plane model keeps the slope it is given: +r.
  solve(0.0, 0.002);
  EXPECT_NEAR((work.deflection_y(5) - work.deflection_y(3)) / 2.0, 0.002, 1e-12);
}

TEST_F(LateralPile2D, IsTheYPlaneOfThe3DSolutionWithTheRotationOfOppositeSign) {
  struct Head {
    const char* name;
    int conn;
    double spring;
  };
  const Head heads[] = {{"pinned", CONN_PIN, 0.0}, {"fixed", CONN_FIX, 0.0}, {"rotational spring", CONN_RES, 3.0e7}};
  for (const Head& head : heads) {
    SCOPED_TRACE(head.name);
    build(80, head.conn, head.spring);
    const double y = 0.3, rotation = 0.004, axial = 2.0e3;
    const RowResponse plane = solve(y, rotation, axial);
    double force_y = 0.0, force_z = 0.0, moment_zz = 0.0, moment_yy = 0.0;
    int status = 0;
    const double u[6] = {};
    Matrix6 identity{};
    SOLVE_LATERAL_PILE_3D(1, y, -rotation, 0.0, 0.0, axial, 0.0, force_y, force_z, moment_zz, moment_yy, status, u,
                          identity, axial_profile, axial_profile, work);
    ASSERT_EQ(status, 0);
    EXPECT_DOUBLE_EQ(plane.force, force_y);
    EXPECT_DOUBLE_EQ(plane.moment, moment_zz);
  }
}

TEST_F(LateralPile2D, SoftSpringsSeeTheDeflectionWithItsSign) {
  y_soft = 0.05;
  build(100, CONN_FIX);
  const RowResponse ahead = solve(0.4, 0.001);
  const RowResponse behind = solve(-0.4, -0.001);
  ASSERT_EQ(ahead.status, 0);
  EXPECT_DOUBLE_EQ(behind.force, -ahead.force);
  EXPECT_DOUBLE_EQ(behind.moment, -ahead.moment);
  // Softening springs carry less than the linear ones at the same deflection.
  y_soft = 0.0;
  EXPECT_LT(ahead.force, solve(0.4, 0.001).force);
}

TEST_F(LateralPile2D, FirstSpringsSeeADeflectionFallingLinearlyToTheTip) {
  const int n = 7;
  build(n, CONN_PIN);
  const double y_h = 0.3;
  solve(y_h, 0.0);
  ASSERT_EQ(first_deflections.size(), static_cast<std::size_t>(n + 1));
  for (int i = 0; i <= n; ++i) {
    const double ratio = static_cast<double>(static_cast<float>(i) / static_cast<float>(n));
    EXPECT_EQ(first_deflections[static_cast<std::size_t>(i)], y_h * (1.0 - ratio)) << i;
  }
}

TEST_F(LateralPile2D, FinalPassStoresTheRowsPlaneResultsTurnedByTheBatter) {
  build(40, CONN_FIX);
  constexpr double AREA = 40.0, INERTIA = 3000.0, DIAMETER = 24.0, CAPACITY = 5.0e6;
  auto& section = PileSection;
  section.area(SET, 1) = section.area_bottom(SET, 1) = AREA;
  section.inertia_zz(SET, 1) = section.inertia_zz_bottom(SET, 1) = INERTIA;
  section.diameter(SET, 1) = section.diameter_bottom(SET, 1) = DIAMETER;
  section.mp(SET, 1) = section.mp_bottom(SET, 1) = CAPACITY;
  const double b = 0.3;  // batter, radians
  PileTable.batter(1) = b;
  const double c = std::cos(b), s = std::sin(b);
  const double x = 2.0, y = -3.0;  // head position of the row
  const double t[9] = {c, s, s * x - c * y, -s, c, c * x + s * y, 0.0, 0.0, 1.0};
  for (int k = 0; k < 9; ++k) transform[k] = t[k];
  AnalysisControl.pass_mode = 1;
  AnalysisControl.first_run = 1;
  AnalysisControl.current_combination = 0;
  const double u[3] = {0.02, 0.25, 0.001};
  const double axial = 5.0e3;
  const RowResponse r = solve(u[1], u[2], axial, u);
  ASSERT_EQ(r.status, 0);

  auto top = [](int column) { return PileTopResults.current_global(1, column); };
  auto local = [](int column) { return PileTopResults.current_local(1, column); };
  const double y4 = work.deflection_y(4);
  EXPECT_DOUBLE_EQ(top(1), u[0] * c - y4 * s);
  EXPECT_DOUBLE_EQ(top(2), u[0] * s + y4 * c);
  EXPECT_EQ(top(3), u[2]);
  EXPECT_NEAR(top(4), c * axial - s * r.force, 1e-12 * axial);
  EXPECT_NEAR(top(5), s * axial + c * r.force, 1e-12 * axial);
  EXPECT_EQ(top(6), r.moment);
  EXPECT_EQ(local(1), u[0]);
  EXPECT_EQ(local(2), y4);
  EXPECT_EQ(local(4), axial);
  EXPECT_EQ(local(5), r.force);
  EXPECT_NEAR(top(7), axial / AREA + std::fabs(r.moment) * DIAMETER / (2 * INERTIA), 1e-12 * top(7));
  EXPECT_EQ(local(7), top(7));
  // The envelopes of a first run are the run's values.
  EXPECT_EQ(PileTopResults.max_global(1, 5), top(5));
  EXPECT_EQ(PileTopResults.min_local(1, 2), y4);

  const int n = 40;
  for (int row = 4; row <= n + 4; ++row) {
    auto q = [row](int quantity) { return NodeResults.current(1, row, quantity); };
    const double yk = work.deflection_y(row);
    EXPECT_EQ(q(NR_DISPL_Y), yk);
    EXPECT_EQ(q(NR_DISPL_X), 0.0);  // no axial load variation
    EXPECT_EQ(q(NR_AXIAL_FORCE), axial);
    EXPECT_DOUBLE_EQ(q(NR_DISPL_GX), -yk * s);
    EXPECT_DOUBLE_EQ(q(NR_DISPL_GY), yk * c);
    EXPECT_EQ(q(NR_MOMENT_Z), -work.moment_zz(row));  // stored as EI y''
    EXPECT_EQ(q(NR_DEMAND_CAPACITY_MOMENT), 0.0);     // only a combination shows the ratios
    for (int space_only :
         {NR_DISPL_Z, NR_DISPL_YZ, NR_DISPL_GZ, NR_DISPL_GYZ, NR_MOMENT_Y, NR_MOMENT_YZ, NR_SHEAR_Z, NR_SHEAR_YZ,
          NR_SOIL_REACTION_Z, NR_SOIL_REACTION_YZ, NR_FLEX_RIGIDITY_Y, NR_DIST_LOAD_Z, NR_ROTATION_Y, NR_HINGE_Y}) {
      EXPECT_EQ(q(space_only), 0.0) << space_only;
    }
  }
  // In a combination the moment ratio is |M| / Mn over the bending load scale.
  AnalysisControl.current_combination = 1;
  AnalysisControl.load_scale(1) = 0.9;
  const RowResponse again = solve(u[1], u[2], axial, u);
  EXPECT_NEAR(NodeResults.current(1, 4, NR_DEMAND_CAPACITY_MOMENT), std::fabs(again.moment) / CAPACITY / 0.9, 1e-12);
}

TEST_F(LateralPile2D, StiffnessPassGivesTheRowsSecantStiffnesses) {
  build(40, CONN_PIN);
  AnalysisControl.pass_mode = 2;
  const double u[3] = {0.0, 0.2, 0.0};
  const RowResponse r = solve(u[1], u[2], 700.0, u);
  ASSERT_EQ(r.status, 0);
  const double h = LENGTH / 40;
  EXPECT_EQ(EquivalentStiffness.top(1, 1), 700.0);
  EXPECT_EQ(EquivalentStiffness.top(1, 2), 0.0);  // no axial movement
  EXPECT_EQ(EquivalentStiffness.top(1, 3), h);    // the plane keeps the element length third
  for (int m = 0; m <= 40; ++m) {
    EXPECT_EQ(EquivalentStiffness.node(1, m + 4, 1), m * h);
    if (std::fabs(work.deflection_y(m + 4)) > 1e-10) {
      EXPECT_NEAR(EquivalentStiffness.node(1, m + 4, 2), ES, 1e-9 * ES);
    }
  }
}

TEST_F(LateralPile2D, SolutionThatDoesNotCloseWarnsWithItsRowAndReturnsZeros) {
  build(20, CONN_FIX);
  PileTable.n_piles = 3;
  PileTable.prop(3) = SET;
  int status = 0;
  NODE2D(3, status);
  AnalysisControl.llp_max_iterations = 1;
  RowResponse r{};
  const double zero[3] = {};
  SOLVE_LATERAL_PILE_2D(3, 0.3, 0.0, 0.0, r.force, r.moment, r.status, zero, transform, axial_profile, axial_profile,
                        work);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NO_CLOSURE);
  EXPECT_EQ(r.force, 0.0);
  EXPECT_EQ(r.moment, 0.0);
  const std::string warning =
      "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    3\n";
  EXPECT_EQ(results(), warning);
  EXPECT_EQ(run_log(), warning);
}

}  // namespace
}  // namespace pilecap
