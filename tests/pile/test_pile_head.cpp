// The pile-head forces and response: curve lookups at and beyond the curve
// ends with their warnings and counters, the initial curve slopes, the
// error-word merge, and PILE_HEAD_RESPONSE against the separate axial,
// torsional and lateral solutions, under rotation of the pile, for the
// symmetry of the group stiffness of linear springs, and for 1 and several
// threads. The soil springs are a linear stand-in (Es constant), so every
// expected value follows from the separate pieces.
#include <omp.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "pile/pile_head.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

double spring_modulus = 50.0;

void constant_springs(int& /*prop_set*/, int& /*status*/, int& pile, int& /*factor_index*/, const double* y, double* es,
                      const double* /*move1*/, const double* /*move2*/, double* /*es_move*/, double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) {
    es[j] = spring_modulus;
    p[j] = es[j] * y[j];
  }
}

constexpr double EI = 1.0e6;
constexpr double LENGTH = 200.0;
constexpr double PI = 3.141592653589793;

class PileHead : public testing::PileTest {
 protected:
  void SetUp() override {
    testing::PileTest::SetUp();
    SET_SOIL_REACTION_PROVIDER(constant_springs);
    AnalysisControl.llp_tolerance = 1e-10;
    AnalysisControl.llp_max_iterations = 50;
    fio::open_memory(UNIT_AXIAL_WARNINGS);
    // User curve 1: axial, points (-0.5, -100), (0, 0), (0.5, 300), (1, 400).
    const double movement[] = {-0.5, 0.0, 0.5, 1.0}, load[] = {-100.0, 0.0, 300.0, 400.0};
    UserLsCurve.point_count(1) = 4;
    for (int i = 1; i <= 4; ++i) {
      UserLsCurve.movement(1, i) = movement[i - 1];
      UserLsCurve.load(1, i) = load[i - 1];
    }
    // User curve 1: torsion, linear, 2000 per radian over +-0.1.
    UserTrCurve.point_count(1) = 3;
    const double rotation[] = {-0.1, 0.0, 0.1};
    for (int i = 1; i <= 3; ++i) {
      UserTrCurve.rotation(1, i) = rotation[i - 1];
      UserTrCurve.torque(1, i) = 2000.0 * rotation[i - 1];
    }
  }
  void TearDown() override {
    WarningCounters = WarningCountersRecord{};
    testing::PileTest::TearDown();
  }
  // Pile p: vertical unless angles are given, user curves 1, fixed head.
  static void pile(int p, double alpha_deg = 0.0, double beta_deg = 90.0, double theta_deg = 0.0, double head_y = 0.0,
                   double head_z = 0.0) {
    set_pile(p, 0.0, LENGTH, 50, EI);
    PileTable.alpha(p) = alpha_deg * PI / 180.0;
    PileTable.beta(p) = beta_deg * PI / 180.0;
    PileTable.theta(p) = theta_deg * PI / 180.0;
    PileTable.head_y(p) = head_y;
    PileTable.head_z(p) = head_z;
    PileTable.ls_curve(p) = PileTable.tr_curve(p) = 1;
    PileTable.axial_factor(p) = PileTable.n_identical(p) = 1.0;
    PileTable.conn_zz(p) = PileTable.conn_yy(p) = CONN_FIX;
  }
  static void prepare() {
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    ASSERT_EQ(status, 0);
  }
  static std::string warnings() { return fio::memory_contents(UNIT_AXIAL_WARNINGS); }
};

struct LookupCase {
  const char* name;
  double u;
  int extend;
  double force;
  int bearing, pull_out;
  const char* text;  // the case text of the warning, empty for none
  double curve_point;
};

TEST_F(PileHead, AxialLookupAtAndBeyondTheCurveEnds) {
  pile(3);
  const LookupCase cases[] = {
      {"zero movement", 0.0, 0, 0.0, 0, 0, "", 0.0},
      {"on a point", 0.5, 0, 300.0, 0, 0, "", 0.0},
      {"on the first point", -0.5, 0, -100.0, 0, 0, "", 0.0},
      {"between points", 0.75, 0, 350.0, 0, 0, "", 0.0},
      {"uplift between points", -0.25, 0, -50.0, 0, 0, "", 0.0},
      {"beyond, failure", 1.5, 0, 0.0, 1, 0, "APPARENT FAILURE IN BEARING    ,", 1.0},
      {"beyond, maximum", 1.5, 1, 400.0, 1, 0, "REACHED MAXIMUM LOAD IN BEARING  ", 1.0},
      {"before, failure", -0.75, 0, 0.0, 0, 1, "APPARENT FAILURE IN PULL OUT    ", -0.5},
      {"before, maximum", -0.75, 1, -100.0, 0, 1, "REACHED MAXIMUM LOAD IN PULLOUT  ", -0.5},
  };
  auto work = std::make_unique<PileTransferWork>();
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunOptions.extend_curve_interpolation = c.extend;
    for (int base : {0, 1}) {
      WarningCounters.base_evaluation = base;
      PileEvaluation evaluation;
      PileAxialProfile profile;
      profile.load(4) = 9.0;
      double force = -1.0;
      int status = 0;
      const double d[6] = {c.u, 1.0, 1.0, 1.0, 1.0, 1.0};
      AXIAL_HEAD_FORCE(3, force, d, profile, status, evaluation, *work);
      EXPECT_EQ(force, c.force);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(profile.load(4), 0.0);
      // Warnings only in the base evaluation.
      EXPECT_EQ(evaluation.bearing, base * c.bearing);
      EXPECT_EQ(evaluation.pull_out, base * c.pull_out);
      fio::open_memory(UNIT_AXIAL_WARNINGS);
      PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
      std::string expected;
      if (base == 1 && c.text[0] != '\0') {
        char line[200];
        std::snprintf(line, sizeof line, "\n     ** WARNING **  %s  PILE GROUP    3\n", c.text);
        expected = line;
        fio::open_memory(UNIT_RUN_LOG);  // scratch for the value fields
        fio::write(UNIT_RUN_LOG, "(20X,\"AX. DISP.=\",E12.4,\" > \",E12.4,5X,\"AX. FORCE=\",E12.4)", c.u, c.curve_point,
                   c.force);
        expected += fio::memory_contents(UNIT_RUN_LOG);
      }
      EXPECT_EQ(warnings(), expected);
    }
  }
  EXPECT_EQ(WarningCounters.bearing, 2);
  EXPECT_EQ(WarningCounters.pull_out, 2);
}

TEST_F(PileHead, BearingFailureLineAsTheReportPrintsIt) {
  pile(3);
  WarningCounters.base_evaluation = 1;
  PileEvaluation evaluation;
  PileAxialProfile profile;
  auto work = std::make_unique<PileTransferWork>();
  double force = 0.0;
  int status = 0;
  const double d[6] = {1.5};
  AXIAL_HEAD_FORCE_2D(3, force, d, profile, status, evaluation, *work);
  AXIAL_HEAD_FORCE(3, force, d, profile, status, evaluation, *work);
  PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
  EXPECT_EQ(warnings(),
            "\n     ** WARNING **  APPARENT FAILURE IN BEARING       PILE GROUP    3\n"
            "                    AX. DISP.=  0.1500E+01 >   0.1000E+01     AX. FORCE=  0.0000E+00\n"
            "\n     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    3\n"
            "                    AX. DISP.=  0.1500E+01 >   0.1000E+01     AX. FORCE=  0.0000E+00\n");
  EXPECT_EQ(WarningCounters.bearing, 2);
}

TEST_F(PileHead, TorqueLookupAndItsWarnings) {
  pile(2);
  WarningCounters.base_evaluation = 1;
  PileEvaluation evaluation;
  double torque = 0.0;
  const double inside[6] = {0, 0, 0, 0.05, 0, 0};
  TORSION_HEAD_MOMENT(2, torque, inside, evaluation);
  EXPECT_DOUBLE_EQ(torque, 100.0);
  const double beyond[6] = {0, 0, 0, -0.2, 0, 0};
  RunOptions.extend_curve_interpolation = 1;
  TORSION_HEAD_MOMENT(2, torque, beyond, evaluation);
  EXPECT_EQ(torque, -200.0);
  RunOptions.extend_curve_interpolation = 0;
  TORSION_HEAD_MOMENT(2, torque, beyond, evaluation);
  EXPECT_EQ(torque, 0.0);
  EXPECT_EQ(evaluation.torsion, 2);
  PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
  EXPECT_EQ(warnings(),
            "\n     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    2\n"
            "                    ROTATION = -0.2000E+00 >  -0.1000E+00     T. MOMENT= -0.2000E+03\n"
            "\n     ** WARNING **  APPARENT FAILURE IN TORSION       PILE GROUP    2\n"
            "                    ROTATION = -0.2000E+00 >  -0.1000E+00     T. MOMENT=  0.0000E+00\n");
  EXPECT_EQ(WarningCounters.torsion, 2);
}

TEST_F(PileHead, InitialSlopesOfTheCurves) {
  pile(1);
  double k = 0.0;
  AXIAL_CURVE_STIFFNESS(1, CURVE_TANGENT_MODE, k);
  EXPECT_DOUBLE_EQ(k, 200.0);  // the uplift segment that ends at the origin
  TORSION_CURVE_STIFFNESS(1, CURVE_TANGENT_MODE, k);
  EXPECT_DOUBLE_EQ(k, 2000.0);
  // A curve that starts at the origin: its first segment.
  UserLsCurve.movement(1, 1) = 0.0;
  UserLsCurve.load(1, 1) = 0.0;
  UserLsCurve.movement(1, 2) = 0.2;
  UserLsCurve.load(1, 2) = 50.0;
  AXIAL_CURVE_STIFFNESS(1, CURVE_TANGENT_MODE, k);
  EXPECT_DOUBLE_EQ(k, 250.0);
}

TEST(PileErrorWords, LateralFailuresOutrankTheAxialVariation) {
  struct Case {
    int current, incoming, merged;
  };
  const Case cases[] = {{0, 4, 4}, {4, 1, 1}, {4, 5, 5}, {1, 4, 1}, {5, 4, 5},
                        {1, 5, 1}, {5, 1, 5}, {0, 0, 0}, {4, 0, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(MERGE_PILE_ERROR_WORDS(c.current, c.incoming), c.merged) << c.current << " then " << c.incoming;
  }
}

// The response of one pile through the full routine.
std::vector<double> response(int p, const double* u, int& status, PileEvaluation& evaluation) {
  auto work = std::make_unique<PileHeadWork>();
  std::vector<double> forces(6, -1.0);
  PILE_HEAD_RESPONSE(p, forces.data(), u, status, evaluation, *work);
  return forces;
}

TEST_F(PileHead, VerticalPileMatchesTheSeparateSolutions) {
  pile(1);
  prepare();
  const double u[6] = {0.25, 0.02, -0.03, 0.04, 0.001, -0.002};
  int status = 0;
  PileEvaluation evaluation;
  const std::vector<double> f = response(1, u, status, evaluation);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(evaluation.error, 0);
  // The lateral solution on its own with the arguments the response passes.
  int node_status = 0;
  NODE(1, node_status);
  auto work = std::make_unique<LateralPileWork>();
  PileRowVector none{};
  Matrix6 identity{};
  for (int i = 1; i <= 6; ++i) identity(i, i) = 1.0;
  double h_y = 0, h_z = 0, m_zz = 0, m_yy = 0;
  int lateral_status = 0;
  SOLVE_LATERAL_PILE_3D(1, u[1], -u[5], u[2], u[4], 150.0, 80.0, h_y, h_z, m_zz, m_yy, lateral_status, u, identity,
                        none, none, *work);
  EXPECT_DOUBLE_EQ(f[0], -150.0);  // axial curve at 0.25
  EXPECT_DOUBLE_EQ(f[3], -80.0);   // torsion curve at 0.04
  // R of a vertical pile holds cos(pi/2), not exactly 0: the forces agree to rounding.
  const double size = std::fabs(m_yy) + std::fabs(m_zz) + 150.0;
  EXPECT_NEAR(f[1], -h_y, 1e-12 * size);
  EXPECT_NEAR(f[2], -h_z, 1e-12 * size);
  EXPECT_NEAR(f[4], m_yy, 1e-12 * size);
  EXPECT_NEAR(f[5], -m_zz, 1e-12 * size);
  EXPECT_NE(h_y, 0.0);
  // A pinned head discards the torque; the axial factor scales the axial force.
  PileTable.conn_yy(1) = CONN_PIN;
  PileTable.axial_factor(1) = 0.5;
  const std::vector<double> pinned = response(1, u, status, evaluation);
  EXPECT_EQ(pinned[3], 0.0);
  EXPECT_DOUBLE_EQ(pinned[0], -75.0);
}

TEST_F(PileHead, RotatingThePileRotatesTheForces) {
  pile(1);
  pile(2, 30.0, 70.0, 15.0);
  prepare();
  Matrix6 tt, t, r, rt;
  PILE_TRANSFORMATION(2, tt, t, r, rt);
  const double u_local[6] = {0.1, 0.02, -0.01, 0.03, 0.002, 0.001};
  double u_global[6] = {};
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) u_global[i - 1] += r(i, j) * u_local[j - 1];
  int status = 0;
  PileEvaluation evaluation;
  const std::vector<double> f_vertical = response(1, u_local, status, evaluation);
  const std::vector<double> f_rotated = response(2, u_global, status, evaluation);
  ASSERT_EQ(status, 0);
  double scale = 0.0;
  for (double v : f_vertical) scale = std::max(scale, std::fabs(v));
  for (int i = 1; i <= 6; ++i) {
    double expected = 0.0;
    for (int j = 1; j <= 6; ++j) expected += r(i, j) * f_vertical[j - 1];
    EXPECT_NEAR(f_rotated[i - 1], expected, 1e-9 * scale) << i;
  }
}

TEST_F(PileHead, GroupStiffnessOfLinearSpringsIsSymmetric) {
  // Linear axial and torsional curves, so every spring is linear.
  UserLsCurve.point_count(1) = 2;
  UserLsCurve.movement(1, 1) = -10.0;
  UserLsCurve.load(1, 1) = -2000.0;
  UserLsCurve.movement(1, 2) = 10.0;
  UserLsCurve.load(1, 2) = 2000.0;
  pile(1, 20.0, 75.0, 10.0, 30.0, -20.0);
  PileTable.head_x(1) = PileTable.head_depth(1) = 0.0;
  prepare();
  Matrix6 tt, t, r, rt;
  PILE_TRANSFORMATION(1, tt, t, r, rt);
  // K_origin(:, j) = -Tt (F(T e_j h) - F(-T e_j h)) / 2h.
  double k[6][6] = {};
  const double step = 1e-3;
  for (int j = 1; j <= 6; ++j) {
    double plus[6], minus[6];
    for (int i = 1; i <= 6; ++i) {
      plus[i - 1] = t(i, j) * step;
      minus[i - 1] = -plus[i - 1];
    }
    int status = 0;
    PileEvaluation evaluation;
    const std::vector<double> fp = response(1, plus, status, evaluation);
    const std::vector<double> fm = response(1, minus, status, evaluation);
    ASSERT_EQ(status, 0);
    for (int i = 1; i <= 6; ++i) {
      double sum = 0.0;
      for (int m = 1; m <= 6; ++m) sum += tt(i, m) * (fp[m - 1] - fm[m - 1]);
      k[i - 1][j - 1] = -sum / (2 * step);
    }
  }
  for (int i = 0; i < 6; ++i) {
    EXPECT_GT(k[i][i], 0.0) << i;
    for (int j = 0; j < i; ++j) {
      const double size = std::sqrt(k[i][i] * k[j][j]);
      EXPECT_NEAR(k[i][j], k[j][i], 0.01 * size) << i << "," << j;
    }
  }
}

TEST_F(PileHead, LoopOfPilesGivesTheSameResultsOnAnyThreadCount) {
  constexpr int n_piles = 12;
  for (int p = 1; p <= n_piles; ++p) pile(p, 10.0 * p, 80.0 + p, 5.0 * p);
  prepare();
  RunOptions.extend_curve_interpolation = 0;
  WarningCounters.base_evaluation = 1;
  AnalysisControl.llp_max_iterations = 50;
  struct Outcome {
    std::vector<double> forces;
    std::string axial_warnings, log;
    int error, bearing, pull_out;
  };
  auto run = [&](int threads) {
    Outcome out;
    out.forces.assign(6 * n_piles, 0.0);
    std::vector<PileEvaluation> evaluations(n_piles);
    std::vector<int> statuses(n_piles, 0);
    fio::open_memory(UNIT_AXIAL_WARNINGS);
    fio::open_memory(UNIT_RUN_LOG);
    PileErrorWord.code = 0;
    WarningCounters.bearing = WarningCounters.pull_out = WarningCounters.torsion = 0;
    omp_set_num_threads(threads);
#pragma omp parallel
    {
      auto work = std::make_unique<PileHeadWork>();
#pragma omp for schedule(static)
      for (int p = 1; p <= n_piles; ++p) {
        // Odd piles go beyond the axial curve, one way or the other.
        const double axial = (p % 2 == 1) ? (p % 4 == 1 ? 2.0 : -1.0) : 0.1 * p / n_piles;
        const double u[6] = {axial, 0.01 * p, -0.005 * p, 0.001, 0.0, 0.0};
        PILE_HEAD_RESPONSE(p, &out.forces[6 * (p - 1)], u, statuses[p - 1], evaluations[p - 1], *work);
      }
    }
    PUBLISH_PILE_EVALUATIONS(evaluations.data(), n_piles);
    out.axial_warnings = warnings();
    out.log = fio::memory_contents(UNIT_RUN_LOG);
    out.error = PileErrorWord.code;
    out.bearing = WarningCounters.bearing;
    out.pull_out = WarningCounters.pull_out;
    return out;
  };
  const Outcome one = run(1);
  const Outcome several = run(4);
  EXPECT_EQ(one.forces, several.forces);
  EXPECT_EQ(one.axial_warnings, several.axial_warnings);
  EXPECT_EQ(one.bearing, 3);
  EXPECT_EQ(one.pull_out, 3);
  EXPECT_EQ(several.bearing, one.bearing);
  EXPECT_EQ(several.pull_out, one.pull_out);
  // Pile order in the file: pile 1 first, pile 11 last.
  EXPECT_LT(one.axial_warnings.find("PILE GROUP    1\n"), one.axial_warnings.find("PILE GROUP    3\n"));
  EXPECT_LT(one.axial_warnings.find("PILE GROUP    9\n"), one.axial_warnings.find("PILE GROUP   11\n"));
}

TEST_F(PileHead, NoClosureInALoopIsHeldUntilPublishedAndWins) {
  pile(1);
  pile(2);
  prepare();
  AnalysisControl.llp_max_iterations = 1;
  const double u[6] = {0.0, 0.01, 0.0, 0.0, 0.0, 0.0};
  PileEvaluation evaluations[2];
  int status = 0;
  evaluations[0].error = PILE_ERR_AXIAL_VARIATION;
  response(2, u, status, evaluations[1]);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(evaluations[1].error, PILE_ERR_NO_CLOSURE);
  EXPECT_EQ(run_log(), "");
  EXPECT_EQ(PileErrorWord.code, 0);
  PUBLISH_PILE_EVALUATIONS(evaluations, 2);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NO_CLOSURE);
  EXPECT_EQ(run_log(),
            "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    2\n");
}

TEST_F(PileHead, FinalPassStoresTheHeadAndNodeResults) {
  pile(1);
  prepare();
  PileSection.area(SET, 1) = PileSection.area_bottom(SET, 1) = 20.0;
  PileSection.nonlinear(SET, 1) = 1;  // no bending stress: sigma = |N| / A
  AnalysisControl.pass_mode = 1;
  AnalysisControl.first_run = 1;
  const double u[6] = {0.5, 0.02, 0.0, 0.0, 0.0, 0.0};
  int status = 0;
  PileEvaluation evaluation;
  const std::vector<double> f = response(1, u, status, evaluation);
  ASSERT_EQ(status, 0);
  // Pile top: local force f = (N, H_y, ...), global force = -(reaction), so
  // the stored global force is R f and equals -f returned.
  for (int c = 1; c <= 6; ++c) {
    EXPECT_NEAR(PileTopResults.current_global(1, c), u[c - 1], 1e-15) << c;
    EXPECT_NEAR(PileTopResults.current_global(1, 6 + c), -f[c - 1], 1e-9 * 300.0) << c;
    EXPECT_EQ(PileTopResults.max_global(1, 6 + c), PileTopResults.current_global(1, 6 + c));
  }
  EXPECT_EQ(PileTopResults.current_local(1, PT_FORCE_X), 300.0);
  EXPECT_EQ(PileTopResults.current_global(1, PT_STRESS), 300.0 / 20.0);
  const int n = 50;
  for (int row = 4; row <= n + 4; ++row) {
    // Without the axial variation: no axial displacement, the head force everywhere.
    EXPECT_EQ(NodeResults.current(1, row, NR_DISPL_X), 0.0);
    EXPECT_EQ(NodeResults.current(1, row, NR_AXIAL_FORCE), 300.0);
    EXPECT_EQ(NodeResults.current(1, row, NR_TOTAL_STRESS), 15.0);
    EXPECT_EQ(NodeResults.current(1, row, NR_DEMAND_CAPACITY_MOMENT), 0.0);
    EXPECT_EQ(NodeResults.current(1, row, NR_FLEX_RIGIDITY_Z), EI);
    EXPECT_NEAR(NodeResults.current(1, row, NR_DISPL_GY), NodeResults.current(1, row, NR_DISPL_Y), 1e-15);
  }
  EXPECT_NEAR(NodeResults.current(1, 4, NR_DISPL_Y), 0.02, 1e-15);
  // Stored moments are EI y'': a fixed head pushed along +y bends with y'' < 0
  // there, while the head reaction carries M = -EI y''.
  const double head_moment = NodeResults.current(1, 4, NR_MOMENT_Z);
  EXPECT_LT(head_moment, 0.0);
  EXPECT_NEAR(PileTopResults.current_local(1, PT_MOMENT_Z), -head_moment, -1e-9 * head_moment);

  // A second run: the envelope keeps the larger head deflection.
  AnalysisControl.first_run = 0;
  const double smaller[6] = {0.5, 0.01, 0.0, 0.0, 0.0, 0.0};
  response(1, smaller, status, evaluation);
  EXPECT_NEAR(NodeResults.current(1, 4, NR_DISPL_Y), 0.01, 1e-15);
  EXPECT_NEAR(NodeResults.max_env(1, 4, NR_DISPL_Y), 0.02, 1e-15);
  EXPECT_NEAR(NodeResults.min_env(1, 4, NR_DISPL_Y), 0.01, 1e-15);
}

TEST_F(PileHead, StiffnessPassTakesTheInitialSlopeAtZeroMovement) {
  pile(1);
  prepare();
  AnalysisControl.pass_mode = 2;
  const double u[6] = {0.0, 0.02, 0.0, 0.05, 0.0, 0.0};
  int status = 0;
  PileEvaluation evaluation;
  response(1, u, status, evaluation);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(EquivalentStiffness.top(1, 1), 0.0, 1e-12);   // R^T u of a vertical pile: rounding only
  EXPECT_DOUBLE_EQ(EquivalentStiffness.top(1, 2), 200.0);   // initial slope of the axial curve
  EXPECT_DOUBLE_EQ(EquivalentStiffness.top(1, 3), 2000.0);  // 100 / 0.05
  EXPECT_EQ(EquivalentStiffness.top(1, 4), LENGTH / 50);
  EXPECT_NEAR(EquivalentStiffness.node(1, 10, 2), spring_modulus, 1e-9 * spring_modulus);
  EXPECT_EQ(EquivalentStiffness.node(1, 10, 1), 6 * LENGTH / 50);
}

}  // namespace
}  // namespace pilecap
