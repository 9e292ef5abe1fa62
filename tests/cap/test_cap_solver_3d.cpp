// The 3D cap solver on stand-in head springs: hand solutions of linear
// groups (UX = V / (n k_a), rotation from k_a sum y^2, lateral displacement
// from the fixed-head long-beam spring Es / beta), batter piles, equilibrium
// at convergence, symmetric groups, thread-count independence, the load
// steps with halving and abandonment, a singular tangent, failing piles,
// the stop request, the point system and the trace and dump records.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "cap/cap_solver.hpp"
#include "cap/cap_vectors.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "tests/cap/cap_fixture.hpp"
#include "tests/support/report_scan.hpp"

namespace pilecap {
namespace {

using testing::Solution;
using testing::Springs;

class CapSolver3D : public testing::CapTest {
 protected:
  // The group force at the converged displacement plus the applied load.
  static double residual_norm(const double* u, const double* load) {
    double f[6];
    int status = 0;
    FVEC(f, u, status);
    double norm = 0;
    for (int k = 0; k < 6; ++k) norm = std::max(norm, std::fabs(f[k] + load[k]));
    return norm;
  }
  static void grid(int n_side, double spacing, double head_x = 0.0) {
    int p = 0;
    for (int i = 0; i < n_side; ++i) {
      for (int j = 0; j < n_side; ++j) {
        place_pile(++p, spacing * (i - 0.5 * (n_side - 1)), spacing * (j - 0.5 * (n_side - 1)));
        PileTable.head_x(p) = head_x;
      }
    }
  }
};

TEST_F(CapSolver3D, LinearGroupMatchesTheHandSolution) {
  // Fixed-head long pile on an elastic subgrade: y0 = H beta / Es.
  const double es = 40.0, ei = 2.5e4;
  const double beta = std::pow(es / (4 * ei), 0.25);
  Springs.lateral = es / beta;
  Springs.rotation = 0.0;
  grid(2, 3.0);  // heads at y, z = +-1.5
  const double v = 1000.0, h = 50.0, mz = 600.0;
  const double load[6] = {v, h, 0, 0, 0, mz};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  ASSERT_TRUE(out.u_valid);
  const double sum_y2 = 4 * 1.5 * 1.5;
  EXPECT_NEAR(out.u[0], v / (4 * Springs.axial), 1e-9);
  EXPECT_NEAR(out.u[1], h * beta / (4 * es), 1e-9);
  EXPECT_NEAR(out.u[5], mz / (Springs.axial * sum_y2), 1e-9);
  EXPECT_NEAR(out.u[2], 0.0, 1e-12);
  EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n");
}

TEST_F(CapSolver3D, BatterPairSettlesAndSwaysByTheClosedForm) {
  const double b = 0.25;
  place_pile(1, 0.0, 0.0, b);
  place_pile(2, 0.0, 0.0, -b);
  const double load[6] = {800.0, 60.0, 0, 0, 0, 0};
  const auto out = solve(load);
  const double c = std::cos(b), s = std::sin(b);
  EXPECT_NEAR(out.u[0], 800.0 / (2 * (100 * c * c + 10 * s * s)), 1e-9);
  EXPECT_NEAR(out.u[1], 60.0 / (2 * (100 * s * s + 10 * c * c)), 1e-9);
}

TEST_F(CapSolver3D, ConvergedDisplacementBalancesTheLoadOnANonlinearGroup) {
  grid(3, 2.0, 0.5);
  Springs.capacity = 80.0;
  Springs.atan_scale = 1.0;
  AnalysisControl.tolerance = 1e-6;
  AnalysisControl.initial_step = 0.25;
  const double load[6] = {500.0, 40.0, -25.0, 30.0, 100.0, -80.0};
  const auto out = solve(load);
  ASSERT_EQ(out.status, 0);
  EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n");
  EXPECT_LT(residual_norm(out.u, load), 1e-6 * 500.0);
}

TEST_F(CapSolver3D, SymmetricGroupsShareAndMirrorTheirForces) {
  Springs.capacity = 80.0;
  Springs.atan_scale = 1.0;
  for (int side : {2, 3}) {
    SCOPED_TRACE(side);
    PileTable.n_piles = 0;
    grid(side, 2.0, 0.5);
    const int n = side * side;
    // Vertical load: one settlement, equal axial forces.
    const double vertical[6] = {60.0 * n, 0, 0, 0, 0, 0};
    auto out = solve(vertical);
    double f[6];
    int status = 0;
    FVEC(f, out.u, status);
    for (int p = 2; p <= n; ++p) EXPECT_NEAR(PileTable.head_force(p, 1, 1), PileTable.head_force(1, 1, 1), 1e-9);
    for (int k = 1; k < 6; ++k) EXPECT_NEAR(out.u[k], 0.0, 1e-12);
    // Lateral load along Y: piles mirrored about Y = 0 push and pull alike.
    const double lateral[6] = {0, 15.0 * n, 0, 0, 0, 0};
    out = solve(lateral);
    const auto forward = out;
    FVEC(f, out.u, status);
    for (int i = 0; i < side; ++i) {
      for (int j = 0; j < side; ++j) {
        const int p = i * side + j + 1, mirror = (side - 1 - i) * side + j + 1;
        EXPECT_NEAR(PileTable.head_force(p, 1, 1), -PileTable.head_force(mirror, 1, 1), 1e-8);
        EXPECT_NEAR(PileTable.head_force(p, 2, 1), PileTable.head_force(mirror, 2, 1), 1e-8);
      }
    }
    // The reversed load reverses the displacement.
    const double reversed[6] = {0, -15.0 * n, 0, 0, 0, 0};
    out = solve(reversed);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(out.u[k], -forward.u[k], 1e-12);
  }
}

TEST_F(CapSolver3D, DisplacementIsBitIdenticalForAnyThreadCount) {
  grid(4, 2.0, 0.5);
  Springs.capacity = 80.0;
  Springs.atan_scale = 1.0;
  AnalysisControl.initial_step = 0.5;
  const double load[6] = {600.0, 40.0, -25.0, 30.0, 100.0, -80.0};
  AnalysisControl.threads_wanted = 1;
  const auto reference = solve(load);
  for (int threads : {2, 3, 0}) {
    SCOPED_TRACE(threads);
    AnalysisControl.threads_wanted = threads;
    const auto out = solve(load);
    EXPECT_EQ(std::memcmp(out.u, reference.u, sizeof out.u), 0);
  }
}

TEST_F(CapSolver3D, StepsOfThreeTenthsLandExactlyOnTheFullLoad) {
  place_pile(1, 0, 0);
  AnalysisControl.initial_step = 0.3;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  solve(load);
  const std::string log = run_log();
  EXPECT_NE(log.find("     STEP     1, TCUR     0.3000, DTCUR     0.3000\n"), std::string::npos);
  EXPECT_NE(log.find("     STEP     3, TCUR     0.9000, DTCUR     0.3000\n"), std::string::npos);
  EXPECT_NE(log.find("     STEP     4, TCUR     1.0000, DTCUR     0.3000\n"), std::string::npos);
  EXPECT_EQ(count(log, "     STEP "), 4);
  EXPECT_EQ(Solution.state.converged_fraction, 1.0);
  EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n");
}

TEST_F(CapSolver3D, InitialStepAboveOneComputesNoStepAndIsNotCompleted) {
  place_pile(1, 0, 0);
  AnalysisControl.initial_step = 1.5;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  EXPECT_EQ(count(run_log(), "     STEP "), 0);
  EXPECT_EQ(Solution.state.step, 0);
  EXPECT_EQ(out.u[0], 0.0);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT     0.00 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver3D, SingularTangentHalvesTheStepUntilTheRunIsAbandoned) {
  // Axial capacity 100 at u = 1: beyond it the axial tangent is zero.
  place_pile(1, 0, 0);
  Springs.capacity = 100.0;
  AnalysisControl.initial_step = 0.5;
  AnalysisControl.min_step = 0.1;
  const double load[6] = {150.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  EXPECT_EQ(out.status, 0);
  const std::string log = run_log();
  const char* expected_steps[] = {
      "     STEP     1, TCUR     0.5000, DTCUR     0.5000\n", "     STEP     2, TCUR     1.0000, DTCUR     0.5000\n",
      "     STEP     2, TCUR     0.7500, DTCUR     0.2500\n", "     STEP     2, TCUR     0.6250, DTCUR     0.1250\n",
      "     STEP     3, TCUR     0.7500, DTCUR     0.1250\n"};
  std::size_t at = 0;
  for (const char* line : expected_steps) {
    at = log.find(line, at);
    ASSERT_NE(at, std::string::npos) << line;
  }
  EXPECT_EQ(count(log, "     STEP "), 5);
  EXPECT_EQ(count(log, "DETERMINANT OF STIFFNESS MATRIX IS ZERO"), 3);
  EXPECT_EQ(count(results(), "     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"), 3);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_SINGULAR);
  EXPECT_EQ(log.find("DOES NOT CONVERGE"), std::string::npos) << "the singular warning stands for itself";
  EXPECT_NEAR(out.u[0], 0.625 * 1.5, 1e-12);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT    62.50 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver3D, RetryAfterTheLastStepStartsFromTheConvergedFraction) {
  // 0.9 of the load is carried, the full load is not: every retry targets
  // the full load again, never less than the converged 0.9.
  place_pile(1, 0, 0);
  Springs.capacity = 95.0;
  AnalysisControl.initial_step = 0.3;
  AnalysisControl.min_step = 0.05;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  solve(load);
  const std::string log = run_log();
  EXPECT_NE(log.find("     STEP     4, TCUR     1.0000, DTCUR     0.3000\n"), std::string::npos);
  EXPECT_NE(log.find("     STEP     4, TCUR     1.0000, DTCUR     0.1500\n"), std::string::npos);
  EXPECT_NE(log.find("     STEP     4, TCUR     0.9750, DTCUR     0.0750\n"), std::string::npos);
  EXPECT_EQ(log.find("TCUR     0.8500"), std::string::npos);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT    90.00 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver3D, IterationLimitFailsAfterOneMoreIterationAndAbandons) {
  // An arctangent head converges slowly from below: not within 6 iterations.
  place_pile(1, 0, 0);
  Springs.capacity = 100.0;
  Springs.atan_scale = 1.0;
  AnalysisControl.max_iterations = 5;
  AnalysisControl.tolerance = 1e-10;
  AnalysisControl.min_step = 0.6;
  const double load[6] = {0.9 * 100.0 * 3.141592653589793 / 2, 0, 0, 0, 0, 0};
  solve(load);
  const std::string log = run_log();
  EXPECT_EQ(count(log, "     ITERATION "), 6);
  EXPECT_EQ(count(log, "          - ErrDsp "), 6);
  EXPECT_NE(log.find("\n\n\n     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    5  ITERATIONS\n"),
            std::string::npos);
  EXPECT_NE(results().find("PILE CAP DISPL DOES NOT CONVERGE AFTER,    5  ITERATIONS"), std::string::npos);
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
}

TEST_F(CapSolver3D, ForcesThatAreNotNumbersFailTheEvaluationLikeALateralFailure) {
  // Regression: a NaN force reached the tangent and was taken for a singular
  // one. Beyond u = 0.6 the head gives no numbers: 0.5 converges, 1.0 and
  // 0.75 fail, the next halving is below the minimum step.
  place_pile(1, 0, 0);
  Springs.finite_reach = 0.6;
  AnalysisControl.min_step = 0.2;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  EXPECT_EQ(out.status, 0);
  const std::string log = run_log();
  EXPECT_EQ(log.find("DETERMINANT"), std::string::npos);
  EXPECT_EQ(count(log, "** WARNING **  NO CLOSURE ON LATERAL PILE ANALYSIS    \n"), 1);
  EXPECT_EQ(PileErrorWord.code, PILE_ERR_NO_CLOSURE);
  for (const std::string& report : {log, dump(), results()}) {
    EXPECT_EQ(testing::first_non_finite_word(report), "");
  }
  EXPECT_NEAR(out.u[0], 0.5, 1e-12);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver3D, IncrementThatIsNotANumberFailsTheStepAsASingularTangent) {
  // A load so large against the axial tangent that the increment overflows.
  place_pile(1, 0, 0);
  Springs.axial = 1e-5;
  AnalysisControl.min_step = 0.6;
  const double load[6] = {1e305, 0, 0, 0, 0, 0};
  solve(load);
  EXPECT_EQ(count(run_log(), "DETERMINANT OF STIFFNESS MATRIX IS ZERO"), 1);
  EXPECT_EQ(testing::first_non_finite_word(run_log()), "");
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
}

TEST_F(CapSolver3D, StepsHalvedFarBelowTheInitialStepStopAtTheStepLimit) {
  // Steps of 2^-14 (as after halvings towards a tiny minimum step) would
  // need 16384 steps; the run stops after 10001 with 10001 x 2^-14 reached.
  place_pile(1, 0, 0);
  AnalysisControl.initial_step = 1.0 / 16384;
  AnalysisControl.min_step = 1.0 / 16384;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  EXPECT_EQ(out.status, 0);
  const std::string log = run_log();
  EXPECT_EQ(count(log, "     STEP "), 10001);
  EXPECT_EQ(count(log, "\n\n\n     ** WARNING **  LOAD STEPS REACH THE LIMIT OF 10001\n"), 1);
  EXPECT_NE(results().find("** WARNING **  LOAD STEPS REACH THE LIMIT OF 10001"), std::string::npos);
  EXPECT_EQ(result_codes(), "    2 SOLUTION AT    61.04 % OF THE TOTAL LOAD\n");
}

TEST_F(CapSolver3D, LateralFailureFailsTheStepBeforeAnyTangent) {
  place_pile(1, 0, 0);
  place_pile(2, 1, 0);
  Springs.no_closure_pile = 2;
  AnalysisControl.min_step = 0.6;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  solve(load);
  EXPECT_NE(run_log().find("** WARNING **  NO CLOSURE ON LATERAL PILE ANALYSIS    \n"), std::string::npos);
  EXPECT_EQ(count(run_log(), "     ITERATION "), 0);
  EXPECT_EQ(dump(), "") << "an iteration that fails on a lateral pile writes no dump";
  EXPECT_EQ(result_codes(), "    3 NO CONVERGENCE ON PILE CAP\n");
}

TEST_F(CapSolver3D, FailedPileEvaluationEndsTheRunWithItsStatus) {
  place_pile(1, 0, 0);
  Springs.failing_pile = 1;
  Springs.failing_status = STATUS_PILE_BELOW_DEEPEST_LAYER;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  EXPECT_EQ(out.status, STATUS_PILE_BELOW_DEEPEST_LAYER);
  EXPECT_FALSE(out.u_valid);
  EXPECT_EQ(result_codes(), "");
}

// The stand-in springs, failing in a print pass only.
void failing_in_print_pass(int pile, double* forces, const double* u, int& status) {
  testing::spring_head_response(pile, forces, u, status);
  if (AnalysisControl.pass_mode != 0) status = STATUS_PILE_BELOW_DEEPEST_LAYER;
}

// Guards the difference the dimensions had: after a failed final print pass
// a 3D run still wrote the title of the per-pile part and counted the run
// into the envelopes; the plane wrote nothing more, as both do now.
TEST_F(CapSolver3D, FailedPrintPassEndsTheRunWithNothingMoreWritten) {
  place_pile(1, 0, 0);
  SET_HEAD_RESPONSE_PROVIDER(failing_in_print_pass);
  fio::open_memory(UNIT_COMPUTATION_REPORT);
  AnalysisControl.first_run = 1;
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  const std::string computation = fio::memory_contents(UNIT_COMPUTATION_REPORT);
  fio::close(UNIT_COMPUTATION_REPORT);
  EXPECT_EQ(out.status, STATUS_PILE_BELOW_DEEPEST_LAYER);
  EXPECT_EQ(count(computation, "TABLE L"), 1);
  EXPECT_EQ(count(computation, "TABLE M"), 0);
  EXPECT_EQ(AnalysisControl.first_run, 1);
  EXPECT_EQ(AnalysisControl.pass_mode, 0);
}

TEST_F(CapSolver3D, StopRequestEndsTheRunWithoutAResultCode) {
  place_pile(1, 0, 0);
  const auto folder = std::filesystem::temp_directory_path() / ("pilecap_stop_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  RunFiles.stop_request_file = (folder / "stop.dat").string();
  std::ofstream(RunFiles.stop_request_file) << "1\n";
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  const auto out = solve(load);
  RunFiles.stop_request_file.clear();
  std::filesystem::remove_all(folder);
  EXPECT_EQ(out.status, STATUS_STOPPED_BY_USER);
  EXPECT_EQ(result_codes(), "");
  EXPECT_EQ(dump(), "");
}

TEST_F(CapSolver3D, TraceAndDumpRecordsOfALinearRun) {
  place_pile(1, 0, 0);
  const double load[6] = {100.0, 0, 0, 0, 0, 0};
  solve(load);
  const std::string log = run_log();
  EXPECT_EQ(log.rfind("\n     GLOBAL ITERATIONS\n\n     STEP     1, TCUR     1.0000, DTCUR     1.0000\n", 0), 0u);
  // Iteration 1 moves the cap by 1.0; iteration 2 finds nothing left to do.
  EXPECT_NE(log.find("     ITERATION    1\n"
                     "                   - ErrDsp   0.10000E+01, IncDsp   0.10000E+01, TotDsp   0.10000E+01\n"
                     "                   - ErrRot   0.00000E+00, IncRot   0.00000E+00, TotRot   0.00000E+00\n"
                     "     ITERATION    2\n"),
            std::string::npos);
  EXPECT_EQ(count(log, "     ITERATION "), 2);
  const std::string d = dump();
  EXPECT_EQ(count(d, "\n"), 16) << "8 records per iteration";
  EXPECT_EQ(d.rfind("\n            2\nDDV    0.00000E+00"), d.find("\n            2\n"));
  EXPECT_NE(d.find("DV     0.10000E+01"), std::string::npos);
  EXPECT_NE(d.find("FV     0.10000E+03  0.00000E+00"), std::string::npos);
  EXPECT_NE(d.find("RV    -0.10000E+03"), std::string::npos);
}

TEST_F(CapSolver3D, DisplacementGivenAtAPointIsReached) {
  place_pile(1, 1.0, 0.0);
  place_pile(2, -1.0, 0.0);
  LoadCase.point_loads_flag(1) = 1;
  int print_flags = 0, status = 0;
  double equivalent[6]{}, displacement[6]{}, cap_load[6]{}, point_loads[6]{};
  double point_displacements[6] = {0.2, 0, 0, 0, 0, 0};
  const double point[3] = {0.0, 2.0, 0.0};
  const int flags[6] = {0, 1, 1, 1, 1, 1};
  SOLVE_CAP_3D(RUN_KIND_CASE, print_flags, status, equivalent, displacement, cap_load, point_loads, point_displacements,
               point, flags);
  ASSERT_TRUE(Solution.captured);
  const auto& u = Solution.state.displacement;
  // The point moves by UX - 2 RZ = 0.2; the force that holds it there,
  // lambda at the point, is shared by the axial springs (K_XX = 2 k_a) and
  // the rotation (K_RZ = k_a sum y^2 + 2 k_r): UX = lambda / K_XX,
  // RZ = -2 lambda / K_RZ.
  const double k_xx = 2 * Springs.axial, k_rz = Springs.axial * 2 + 2 * Springs.rotation;
  const double lambda = 0.2 / (1 / k_xx + 4 / k_rz);
  EXPECT_NEAR(u(1) - 2.0 * u(6), 0.2, 1e-9);
  EXPECT_NEAR(u(1), lambda / k_xx, 1e-9);
  EXPECT_NEAR(u(6), -2 * lambda / k_rz, 1e-9);
  EXPECT_EQ(count(dump(), "SE "), 12 * Solution.state.iteration);
  LoadCase.point_loads_flag(1) = 0;
}

TEST(PointSystem, AllLoadsGivenBorderTheTangentWithTheIdentity) {
  double k[36], s[144];
  for (int i = 0; i < 36; ++i) k[i] = (i % 7 == 0) ? 10.0 + i : 0.5 * (i % 5);
  const double r[3] = {1, 2, 3};
  const int flags[6] = {1, 1, 1, 1, 1, 1};
  BUILD_POINT_SYSTEM(s, k, r, flags);
  for (int i = 1; i <= 12; ++i) {
    for (int j = 1; j <= 12; ++j) {
      const double expected = (i <= 6 && j <= 6) ? k[(i - 1) + 6 * (j - 1)] : (i == j ? 1.0 : 0.0);
      EXPECT_EQ(s[(i - 1) + 12 * (j - 1)], expected) << i << "," << j;
    }
  }
}

TEST(PointSystem, XDisplacementAtAnOffsetPointCouplesTheZRotation) {
  double k[36] = {}, s[144], b[12], a[12];
  for (int i = 0; i < 6; ++i) k[i * 7] = 5.0;
  const double r[3] = {0, 2, 0};
  const int flags[6] = {0, 1, 1, 1, 1, 1};
  BUILD_POINT_SYSTEM(s, k, r, flags);
  auto at = [&](int i, int j) { return s[(i - 1) + 12 * (j - 1)]; };
  EXPECT_EQ(at(7, 1), 1.0);
  EXPECT_EQ(at(7, 6), -2.0);
  EXPECT_EQ(at(6, 7), -2.0);
  EXPECT_EQ(at(7, 5), 0.0);
  EXPECT_EQ(at(8, 8), 1.0);
  const double residual[6] = {1, 2, 3, 4, 5, 6}, forces[6] = {-1, -2, -3, -4, -5, -6};
  const double d[6] = {0.5, 9, 9, 9, 9, 9}, u[6] = {0.1, 0, 0, 0, 0, 0.05};
  POINT_SYSTEM_RESIDUAL(b, a, residual, forces, d, u, r, flags);
  EXPECT_DOUBLE_EQ(b[6], 0.5 - (0.1 - 2 * 0.05));
  EXPECT_EQ(a[6], 0.5);
  for (int k2 = 7; k2 < 12; ++k2) EXPECT_EQ(b[k2], 0.0);
}

}  // namespace
}  // namespace pilecap
