// The 3D lateral pile solution against closed forms of a long elastic pile,
// driven through a linear stand-in for the soil springs (the p-y criteria
// are exercised elsewhere): constant Es (Hetenyi), Es growing with depth
// (Matlock-Reese coefficients), an axial compression (beam on an elastic
// foundation with axial load, second-order convergence), the independence
// of the two planes, and the no-closure warning.
#include <cmath>

#include "echo/echo.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

// The stand-in springs: Es = es_constant + es_slope * (depth below the head).
double es_constant = 0.0;
double es_slope = 0.0;

void linear_springs(int& /*prop_set*/, int& /*status*/, int& pile, int& /*factor_index*/, const double* y, double* es,
                    const double* /*move1*/, const double* /*move2*/, double* /*es_move*/, double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) {
    es[j] = es_constant + es_slope * (PileNodes.depth(pile, j) - PileTable.head_depth(pile));
    p[j] = es[j] * y[j];
  }
}

constexpr double EI = 1.0e6;
constexpr double LENGTH = 200.0;

struct HeadResponse {
  double force_y, force_z, moment_zz, moment_yy;
  int status;
};

class LateralPile3D : public testing::PileTest {
 protected:
  LateralPileWork work{};
  PileRowVector axial_profile{};
  Matrix6 rotation{};

  void SetUp() override {
    testing::PileTest::SetUp();
    SET_SOIL_REACTION_PROVIDER(linear_springs);
    AnalysisControl.llp_tolerance = 1e-9;
    AnalysisControl.llp_max_iterations = 50;
  }
  void build(int n, double es0, double es1, int conn) {
    es_constant = es0;
    es_slope = es1;
    set_pile(1, 0.0, LENGTH, n, EI);
    PileTable.conn_zz(1) = PileTable.conn_yy(1) = conn;
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    NODE(1, status);
    ASSERT_EQ(status, 0);
  }
  HeadResponse solve(double y, double ry, double z, double rz, double axial = 0.0) {
    HeadResponse r{};
    const double u[6] = {};
    SOLVE_LATERAL_PILE_3D(1, y, ry, z, rz, axial, 0.0, r.force_y, r.force_z, r.moment_zz, r.moment_yy, r.status, u,
                          rotation, axial_profile, axial_profile, work);
    return r;
  }
};

TEST_F(LateralPile3D, ConstantModulusMatchesTheLongPileClosedForm) {
  const double es = 100.0;
  const double beta = std::pow(es / (4 * EI), 0.25);  // beta L = 14
  const double y_h = 0.5;
  build(200, es, 0.0, CONN_PIN);
  HeadResponse r = solve(y_h, 0.0, 0.0, 0.0);
  ASSERT_EQ(r.status, 0);
  EXPECT_NEAR(r.force_y, es * y_h / (2 * beta), 0.005 * es * y_h / (2 * beta));
  EXPECT_NEAR(r.moment_zz, 0.0, 1e-9 * EI);
  EXPECT_EQ(r.force_z, 0.0);

  build(200, es, 0.0, CONN_FIX);
  r = solve(y_h, 0.0, 0.0, 0.0);
  EXPECT_NEAR(r.force_y, es * y_h / beta, 0.005 * es * y_h / beta);
  EXPECT_NEAR(std::fabs(r.moment_zz), 2 * EI * beta * beta * y_h, 0.01 * 2 * EI * beta * beta * y_h);
  // The fixed head keeps the slope it is given: (y(5) - y(3)) / 2h = -r.
  r = solve(0.0, 0.002, 0.0, 0.0);
  EXPECT_NEAR((work.deflection_y(5) - work.deflection_y(3)) / 2.0, -0.002, 1e-12);
}

TEST_F(LateralPile3D, ModulusGrowingWithDepthMatchesTheNondimensionalSolution) {
  const double k = 1.0;
  const double t = std::pow(EI / k, 0.2);  // relative stiffness; L / T = 12.6
  const double y_h = 0.4;
  build(200, 0.0, k, CONN_PIN);
  HeadResponse r = solve(y_h, 0.0, 0.0, 0.0);
  EXPECT_NEAR(y_h, 2.435 * r.force_y * t * t * t / EI, 0.01 * y_h);

  build(200, 0.0, k, CONN_FIX);
  r = solve(y_h, 0.0, 0.0, 0.0);
  EXPECT_NEAR(y_h, 0.93 * r.force_y * t * t * t / EI, 0.01 * y_h);
  // A head with a slope and a moment: y0 = 2.435 H T^3/EI + 1.623 M T^2/EI,
  // M being the moment that acts on the pile (the negative of -EI y'').
  r = solve(y_h, -0.01, 0.0, 0.0);
  const double y0 = 2.435 * r.force_y * t * t * t / EI + 1.623 * (-r.moment_zz) * t * t / EI;
  EXPECT_NEAR(y_h, y0, 0.01 * y_h);
}

TEST_F(LateralPile3D, AxialCompressionSoftensAsTheFoundationSolutionWithAxialLoadSays) {
  const double es = 100.0;
  const double p = 0.5 * std::sqrt(es * EI);  // a quarter of the buckling load 2 sqrt(k EI)
  const double lambda2 = std::sqrt(es / (4 * EI));
  const double alpha2 = lambda2 - p / (4 * EI);
  const double gamma2 = lambda2 + p / (4 * EI);
  const double alpha = std::sqrt(alpha2);
  const double y_h = 1.0;
  // y = e^(-alpha x) (A cos gx + B sin gx) with y'' = 0 at the head: H = k integral of y.
  const double exact = es * y_h * (3 * alpha2 - gamma2) / (2 * alpha * (alpha2 + gamma2));
  const double no_axial = es * y_h / (2 * std::sqrt(lambda2));
  double error[2];
  const int increments[2] = {100, 200};
  for (int i = 0; i < 2; ++i) {
    build(increments[i], es, 0.0, CONN_PIN);
    const HeadResponse r = solve(y_h, 0.0, 0.0, 0.0, p);
    error[i] = r.force_y - exact;
    EXPECT_LT(r.force_y, 0.8 * no_axial);
  }
  EXPECT_NEAR(error[0] / error[1], 4.0, 0.6);
  EXPECT_LT(std::fabs(error[1]), 0.005 * exact);
}

TEST_F(LateralPile3D, PlanesShareTheSpringsAndAddUpByResultant) {
  build(100, 100.0, 0.0, CONN_FIX);
  const HeadResponse y_only = solve(0.3, 0.0, 0.0, 0.0);
  const HeadResponse both = solve(0.3, 0.0, -0.4, 0.0);
  // Linear springs independent of the deflection: the planes do not interact.
  EXPECT_NEAR(both.force_y, y_only.force_y, 1e-9 * std::fabs(y_only.force_y));
  EXPECT_NEAR(both.force_z, -0.4 / 0.3 * y_only.force_y, 1e-9 * std::fabs(y_only.force_y));
  EXPECT_NEAR(both.moment_yy, -0.4 / 0.3 * y_only.moment_zz, 1e-9 * std::fabs(y_only.moment_zz));
  const HeadResponse zero = solve(0.0, 0.0, 0.0, 0.0);
  EXPECT_EQ(zero.force_y, 0.0);
  EXPECT_EQ(zero.moment_zz, 0.0);
}

TEST_F(LateralPile3D, SolutionThatDoesNotCloseWarnsAndReturnsZeros) {
  build(20, 100.0, 0.0, CONN_FIX);
  AnalysisControl.llp_max_iterations = 1;
  const HeadResponse r = solve(0.3, 0.0, 0.1, 0.0);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NO_CLOSURE);
  EXPECT_EQ(r.force_y, 0.0);
  EXPECT_EQ(r.moment_zz, 0.0);
  const std::string warning =
      "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    1\n";
  EXPECT_EQ(results(), warning);
  EXPECT_EQ(run_log(), warning);
}

// The head rows of a spring-restrained head are built in every solve from
// the bending stiffness the solve uses, so the closed solution keeps moment
// = spring x (slope + rotation term) at the head even where the head has
// yielded. (Rows fixed once from the stiffness at zero deflection would lose
// it as soon as the head's stiffness changes.)
TEST_F(LateralPile3D, SpringHeadKeepsMomentEqualToSpringTimesRotationAfterYield) {
  constexpr double SPRING = 1e7;      // moment per radian
  constexpr double PHI_YIELD = 1e-3;  // yield curvature; beyond it 30 % of EI
  build(200, 100.0, 0.0, CONN_RES);
  PileTable.spring_zz(1) = PileTable.spring_yy(1) = SPRING;
  // Moment-curvature set 1 for both axes: EI to the yield point, then hardening.
  auto& S = MomentCurvatureSet;
  S.n_sets = S.n_curves(1) = 1;
  S.n_points(1, 1) = 3;
  const double points[3][2] = {{0.0, 0.0}, {PHI_YIELD, EI * PHI_YIELD}, {100 * PHI_YIELD, EI * PHI_YIELD * 30.7}};
  for (int k = 1; k <= 3; ++k) {
    S.curvature(1, 1, k) = points[k - 1][0];
    S.moment(1, 1, k) = points[k - 1][1];
  }
  PileSection.mphi_set_zz(SET, 1) = PileSection.mphi_set_yy(SET, 1) = 1;
  AnalysisControl.llp_max_iterations = 500;
  struct Case {
    const char* name;
    int ei_previous;
    double rotation;
  };
  const Case cases[] = {
      {"stiffness after each solve", 0, 0.0},
      {"stiffness before each solve", 1, 0.0},
      {"with a rotation term", 0, -0.002},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisControl.ei_previous = c.ei_previous;
    const HeadResponse r = solve(0.5, c.rotation, 0.0, 0.0);
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(PileErrorWord.code, 0) << "closed";
    EXPECT_LT(work.ei_zz(4), 0.9 * EI) << "the head has yielded";
    const double slope = (work.deflection_y(5) - work.deflection_y(3)) / (2.0 * LENGTH / 200);
    EXPECT_NEAR(r.moment_zz, -SPRING * (slope + c.rotation), 1e-9 * std::fabs(r.moment_zz));
    EXPECT_GT(std::fabs(r.moment_zz), EI * PHI_YIELD);
  }
}

}  // namespace
}  // namespace pilecap

namespace pilecap {
namespace {

// The solver through the real p-y dispatch: an elastic subgrade layer with a
// cut-off far beyond the deflections is a constant Es = k b, so the long-pile
// closed forms hold for the whole chain (layer walk, criterion, solver).
class LateralPileOnRealSprings : public testing::PileTest {};

TEST_F(LateralPileOnRealSprings, ElasticSubgradeMatchesTheLongPileClosedForm) {
  constexpr double K = 50.0;       // subgrade modulus, force / length^3
  constexpr double B = 2.0;        // pile diameter
  constexpr double S_MAX = 1.0e9;  // cut-off stress far beyond the deflections
  constexpr double EI_REAL = 1.0e6;
  constexpr double LENGTH_REAL = 200.0;
  set_pile(1, 0.0, LENGTH_REAL, 200, EI_REAL);
  PileSection.diameter(SET, 1) = PileSection.diameter_bottom(SET, 1) = B;
  // The ground line and the top of the layer at the head, whose node
  // carries the spring of depth 0.
  PileTable.ground(1) = 0.0;
  auto& layer = SoilLayerInput;
  layer.count = 1;
  layer.soil_code(1) = SOIL_ELASTIC_SUBGRADE;
  layer.top(1) = 0.0;
  layer.bottom(1) = 1000.0;
  for (int point = 1; point <= 2; ++point) {
    layer.props(1)(2, point) = S_MAX;
    layer.props(1)(4, point) = K;
  }
  int status = 0;
  BUILD_SOIL_PROFILE(status);
  PREPARE_NODE_LAYOUT(status);
  NODE(1, status);
  ASSERT_EQ(status, 0);
  AnalysisControl.llp_tolerance = 1e-9;
  AnalysisControl.llp_max_iterations = 50;
  AnalysisControl.loading_kind = 1;
  PileTable.conn_zz(1) = PileTable.conn_yy(1) = CONN_PIN;

  LateralPileWork work{};
  PileRowVector axial_profile{};
  Matrix6 rotation{};
  const double u[6] = {};
  const double y_h = 0.5;
  double force_y = 0.0, force_z = 0.0, moment_zz = 0.0, moment_yy = 0.0;
  int solve_status = 0;
  SOLVE_LATERAL_PILE_3D(1, y_h, 0.0, 0.0, 0.0, 0.0, 0.0, force_y, force_z, moment_zz, moment_yy, solve_status, u,
                        rotation, axial_profile, axial_profile, work);
  ASSERT_EQ(solve_status, 0);
  const double es = K * B;
  const double beta = std::pow(es / (4 * EI_REAL), 0.25);  // beta L = 14
  EXPECT_NEAR(force_y, es * y_h / (2 * beta), 0.01 * es * y_h / (2 * beta));
  EXPECT_EQ(PileErrorWord.code, 0);
}

}  // namespace
}  // namespace pilecap
