// The 2D cap solver on rows of linear (or softening) stand-in springs: two
// batter rows against the closed form with the cap rotation held at a point,
// a linear group against the stiffness assembled by hand from the row
// transforms, mixed control at a point, the load steps, a retried step that
// never falls behind the converged fraction, abandoned and partial runs with
// their result codes, a singular tangent, a refused embedded cap, and a
// whole solve that does not depend on the thread count.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "model/analysis_control.hpp"
#include "tests/cap/plane_fixture.hpp"

namespace pilecap {
namespace {

using testing::Soil;
using testing::Solution2D;

constexpr double PI = 3.141592653589793;

class CapSolver2D : public testing::PlaneTest {
 protected:
  // The TCUR of every STEP line of the run log, in order.
  static std::vector<double> step_fractions() {
    std::vector<double> fractions;
    std::istringstream log(run_log());
    for (std::string line; std::getline(log, line);) {
      const auto at = line.find(", TCUR ");
      if (line.find("     STEP ") == 0 && at != std::string::npos)
        fractions.push_back(std::stod(line.substr(at + 7, 10)));
    }
    return fractions;
  }
};

TEST_F(CapSolver2D, BatterRowsMatchTheClosedFormWithTheRotationHeld) {
  // Two pinned rows at +-b through the origin; the rotation held at 0 at the
  // origin leaves UY = H / (2 (k_a s^2 + k_l c^2)), UX = V / (2 (k_a c^2 + k_l s^2)).
  for (double degrees : {10.0, 25.0, 90.0}) {
    SCOPED_TRACE(degrees);
    const double b = degrees * PI / 180;
    place_row(1, 0.0, 0.0, b);
    place_row(2, 0.0, 0.0, -b);
    prepare();
    const double k_l = pinned_lateral_stiffness();
    const double k_a = AXIAL_STIFFNESS;
    const double s = std::sin(b), c = std::cos(b);
    // Small loads keep the axial forces small; their softening of the rows'
    // bending (about P / P_cr < 1e-5 here) bounds the agreement.
    const double load[3] = {0.2, 0.15, 0.0};
    const int flags[3] = {1, 1, 0};
    const double origin[2] = {0.0, 0.0};
    const auto out = solve(load, flags, origin);
    ASSERT_EQ(out.status, 0);
    ASSERT_TRUE(out.captured);
    EXPECT_NEAR(out.u[1], load[1] / (2 * (k_a * s * s + k_l * c * c)), 1e-4 * std::fabs(out.u[1]));
    EXPECT_NEAR(out.u[0], load[0] / (2 * (k_a * c * c + k_l * s * s)), 1e-4 * std::fabs(out.u[0]));
    EXPECT_NEAR(out.u[2], 0.0, 1e-12);
    EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n");
    fio::open_memory(UNIT_RESULT_CODES);
  }
}

TEST_F(CapSolver2D, LinearGroupMatchesTheStiffnessAssembledFromTheRowTransforms) {
  struct Row {
    double x, y, batter;
    int n;
  };
  const Row rows[] = {{0.0, -6.0, -0.24, 2}, {1.0, 0.0, 0.0, 3}, {0.0, 6.0, 0.24, 2}};
  for (int p = 1; p <= 3; ++p) place_row(p, rows[p - 1].x, rows[p - 1].y, rows[p - 1].batter, rows[p - 1].n);
  prepare();
  const double k_l = pinned_lateral_stiffness();
  // K = sum n T diag(k_a, k_l, 0) T^T, T the row transform.
  double k[3][3] = {};
  for (const Row& r : rows) {
    const double s = std::sin(r.batter), c = std::cos(r.batter);
    const double axial[3] = {c, s, s * r.x - c * r.y};
    const double lateral[3] = {-s, c, c * r.x + s * r.y};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j)
        k[i][j] += r.n * (AXIAL_STIFFNESS * axial[i] * axial[j] + k_l * lateral[i] * lateral[j]);
    }
  }
  const double load[3] = {0.3, 0.1, -0.4};
  auto det = [](const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  const double d = det(k);
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  double expected[3];
  for (int j = 0; j < 3; ++j) {
    double kj[3][3];
    for (int r = 0; r < 3; ++r) {
      for (int q = 0; q < 3; ++q) kj[r][q] = q == j ? load[r] : k[r][q];
    }
    expected[j] = det(kj) / d;  // Cramer's rule
  }
  // Measured against the head movements the displacement makes (a rotation
  // times the rows' lever arm); the axial forces' softening of the bending
  // bounds the agreement.
  const double lever = 6.0;
  const double size = std::max({std::fabs(expected[0]), std::fabs(expected[1]), lever * std::fabs(expected[2])});
  EXPECT_NEAR(out.u[0], expected[0], 1e-4 * size);
  EXPECT_NEAR(out.u[1], expected[1], 1e-4 * size);
  EXPECT_NEAR(lever * out.u[2], lever * expected[2], 1e-4 * size);
}

TEST_F(CapSolver2D, MixedControlReachesThePrescribedPointDisplacement) {
  place_row(1, 0.0, -4.0, -0.2, 2, CONN_FIX);
  place_row(2, 0.0, 4.0, 0.2, 2, CONN_FIX);
  prepare();
  const double point[2] = {-2.0, 3.0};
  const double load[3] = {5.0, 0.0, 0.0};
  const int flags[3] = {1, 0, 1};  // the horizontal displacement is prescribed at the point
  const double targets[3] = {0.0, 0.012, 0.0};
  const auto held = solve(load, flags, point, targets);
  ASSERT_EQ(held.status, 0);
  EXPECT_NEAR(held.u[1] + held.u[2] * point[0], targets[1], 1e-9);
  // All DOFs loaded at a point reproduce the plain run.
  const int loads[3] = {1, 1, 1};
  const double origin[2] = {0.0, 0.0};
  const double all_loads[3] = {5.0, 1.0, -2.0};
  const auto mixed = solve(all_loads, loads, origin);
  const auto plain = solve(all_loads);
  ASSERT_EQ(mixed.status, 0);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(mixed.u[k], plain.u[k], 1e-7 * std::fabs(plain.u[k])) << k;
}

TEST_F(CapSolver2D, LoadStepsLandOnTheFullLoad) {
  place_row(1, 0.0, -3.0);
  place_row(2, 0.0, 3.0);
  prepare();
  AnalysisControl.initial_step = 0.3;
  // A horizontal load sways the vertical rows without axial forces: linear.
  const double load[3] = {0.0, 1.0, 0.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(step_fractions(), (std::vector<double>{0.3, 0.6, 0.9, 1.0}));
  // The first step of the linear sway converges on iteration 2. From a
  // displaced start the difference tangent also sees how an axial movement
  // changes the rows' bending (the axial force's P-delta), a coupling the
  // tangent made symmetric on iteration 1 halves: later steps take one more.
  EXPECT_EQ(count(run_log(), "     ITERATION    2"), 4);
  EXPECT_EQ(count(run_log(), "     ITERATION    4"), 0);
  EXPECT_NE(run_log().find("     STEP     2"), std::string::npos);
  const auto first_step = run_log().substr(0, run_log().find("     STEP     2"));
  EXPECT_EQ(count(first_step, "     ITERATION    3"), 0);
}

// Regression: after the last step was shortened to the full load, a retry
// went back behind the fraction already converged.
TEST_F(CapSolver2D, RetriedStepsNeverFallBehindTheConvergedFraction) {
  place_row(1, 0.0, -3.0);
  place_row(2, 0.0, 3.0);
  prepare();
  const double load[3] = {0.0, 2.0, 0.0};
  const double full = solve(load).u[1];
  // Beyond 93 % of the load the rows report a lateral solution that does not close.
  Soil.no_closure_beyond = 0.93 * full;
  fio::open_memory(UNIT_RUN_LOG);
  fio::open_memory(UNIT_RESULT_CODES);
  AnalysisControl.initial_step = 0.3;
  AnalysisControl.min_step = 0.01;
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  const auto fractions = step_fractions();
  double converged = 0.0;
  for (std::size_t i = 0; i < fractions.size(); ++i) {
    EXPECT_GT(fractions[i], converged) << i;
    if (fractions[i] <= 0.93) converged = fractions[i];
  }
  const double reached = Solution2D.state.converged_fraction;
  EXPECT_GT(reached, 0.9);
  EXPECT_LE(reached, 0.93);
  std::ostringstream line;
  line.setf(std::ios::fixed);
  line.precision(2);
  line << "    2 SOLUTION AT    " << 100 * reached << " % OF THE TOTAL LOAD\n";
  EXPECT_EQ(result_codes(), line.str());
  EXPECT_EQ(count(run_log(), "NO CLOSURE ON LATERAL PILE ANALYSIS"), 1);
  EXPECT_EQ(count(results(), "RESULTS ARE FOR "), 1);
}

TEST_F(CapSolver2D, RunWithoutAConvergedStepReportsNoConvergenceAndNoTables) {
  place_row(1, 0.0, -3.0);
  place_row(2, 0.0, 3.0);
  prepare();
  Soil.no_closure_beyond = 1e-12;
  AnalysisControl.min_step = 0.6;
  const double load[3] = {0.0, 2.0, 0.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
  EXPECT_EQ(count(results(), "TABLE L"), 0);
}

TEST_F(CapSolver2D, SingularTangentIsReportedAndEndsTheRun) {
  // Pinned rows meeting at the origin have no rotational stiffness.
  place_row(1, 0.0, 0.0, 0.2);
  place_row(2, 0.0, 0.0, -0.2);
  prepare();
  AnalysisControl.min_step = 0.6;
  const double load[3] = {1.0, 1.0, 0.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(count(results(), "     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"), 1);
  EXPECT_EQ(count(run_log(), "\n\n     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"), 1);
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
}

TEST_F(CapSolver2D, StepAboveTheFullLoadComputesNothingAndReportsNoLoad) {
  place_row(1, 0.0, -3.0);
  place_row(2, 0.0, 3.0);
  prepare();
  AnalysisControl.initial_step = 1.5;
  const double load[3] = {1.0, 1.0, 0.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(count(run_log(), "     ITERATION "), 0);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT     0.00 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver2D, ZeroLoadConvergesOnTheSecondIteration) {
  place_row(1, 0.0, -3.0);
  place_row(2, 0.0, 3.0);
  prepare();
  const double load[3] = {0.0, 0.0, 0.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(count(run_log(), "     ITERATION    2"), 1);
  EXPECT_EQ(count(run_log(), "     ITERATION    3"), 0);
  for (double u : out.u) EXPECT_EQ(u, 0.0);
}

TEST_F(CapSolver2D, WholeSolveIsTheSameForEveryThreadCount) {
  Soil.soft_deflection = 0.02;
  const double batters[] = {-0.2, 0.0, 0.0, 0.2, 0.3};
  for (int p = 1; p <= 5; ++p) place_row(p, 0.0, 2.0 * (p - 3), batters[p - 1], 2, CONN_FIX);
  prepare();
  AnalysisControl.threads_available = 8;
  AnalysisControl.initial_step = 0.5;
  const double load[3] = {20.0, 8.0, -30.0};
  std::string reference_dump, reference_log;
  double reference_u[3];
  for (int threads : {1, 4}) {
    SCOPED_TRACE(threads);
    fio::open_memory(UNIT_ITERATION_DUMP);
    fio::open_memory(UNIT_RUN_LOG);
    AnalysisControl.threads_wanted = threads;
    const auto out = solve(load);
    ASSERT_EQ(out.status, 0);
    if (threads == 1) {
      reference_dump = dump();
      reference_log = run_log();
      for (int k = 0; k < 3; ++k) reference_u[k] = out.u[k];
      continue;
    }
    EXPECT_EQ(dump(), reference_dump);
    EXPECT_EQ(run_log(), reference_log);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(out.u[k], reference_u[k]);
  }
}

}  // namespace
}  // namespace pilecap
