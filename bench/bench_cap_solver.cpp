// One group force vector (FVEC) and one group tangent (STIFF, 13 head
// evaluations per pile) of a 100-pile 3D group on 1, 2, 4 and all processors;
// beside it one force vector and one difference tangent (FVEC2D and six
// more evaluations of it) of 100 pile rows of a 2D model on 1 and 8 threads.
// Each head evaluation is a full nonlinear lateral pile solution (100
// increments, soft-clay-like springs p = pu/2 (y/y50)^(1/3) up to pu) with an
// arctangent axial spring, standing in for the pile-head response. Compare
// the times of the thread counts for the speedup (real time); the counters
// give the time of one pile (row) evaluation. The whole-run figures with the
// engine's own criteria are bench/run_group_100.sh.
#include <benchmark/benchmark.h>
#include <omp.h>

#include <algorithm>
#include <cmath>

#include "group/group_forces.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "run/run.hpp"

namespace {

using namespace pilecap;

constexpr int GRID_SIDE = 10;              // 10 x 10 piles
constexpr double SPACING = 36.0;           // in
constexpr double Y50 = 0.25;               // in
constexpr double PU_TOP = 20.0;            // lb/in
constexpr double PU_SLOPE = 1.5;           // lb/in per in
constexpr double AXIAL_CAPACITY = 2.0e5;   // lb
constexpr double AXIAL_STIFFNESS = 1.0e6;  // lb/in
constexpr double MIN_DEFLECTION = 1e-6;
constexpr double EVALUATIONS_PER_PILE_3D = 14.0;  // FVEC 1, STIFF 13
constexpr double EVALUATIONS_PER_ROW_2D = 7.0;    // FVEC2D and the six of its tangent

void soft_clay_springs(int& /*set*/, int& /*status*/, int& pile, int& /*factor*/, const double* y, double* es,
                       const double* /*move1*/, const double* /*move2*/, double* /*es_move*/, double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) {
    const double pu = PU_TOP + PU_SLOPE * (PileNodes.depth(pile, j) - PileTable.head_depth(pile));
    const double deflection = std::max(std::fabs(y[j]), MIN_DEFLECTION);
    p[j] = std::min(0.5 * pu * std::cbrt(deflection / Y50), pu);
    es[j] = p[j] / deflection;
  }
}

// A nonlinear head: arctangent axial spring, lateral pile solution, no torque.
void nonlinear_head(int pile, double* forces, const double* u, int& status) {
  thread_local LateralPileWork work{};
  thread_local PileRowVector axial{};
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  double local_u[6], local_f[6] = {};
  MULTIPLY_6X6_BY_VECTOR(local_u, rotation_transposed.data(), u);
  const double axial_force = AXIAL_CAPACITY * std::atan(AXIAL_STIFFNESS * local_u[0] / AXIAL_CAPACITY);
  double hy = 0, hz = 0, mzz = 0, myy = 0;
  SOLVE_LATERAL_PILE_3D(pile, local_u[1], local_u[5], local_u[2], local_u[4], axial_force, 0.0, hy, hz, mzz, myy,
                        status, local_u, rotation, axial, axial, work);
  local_f[0] = -axial_force;
  local_f[1] = -hy;
  local_f[2] = -hz;
  local_f[4] = -myy;
  local_f[5] = -mzz;
  MULTIPLY_6X6_BY_VECTOR(forces, rotation.data(), local_f);
}

void BM_GroupForceAndTangent100Piles(benchmark::State& state) {
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  RESET_INPUT_RECORDS(status);
  RunOptions.units = 1;
  PileProperty.length(1) = 600.0;
  PileProperty.n_increments(1) = 100;
  PileProperty.n_sections(1) = 1;
  PileSection.bottom(1, 1) = 600.0;
  PileSection.ei_zz(1, 1) = PileSection.ei_zz_bottom(1, 1) = 2.0e10;
  PileSection.ei_yy(1, 1) = PileSection.ei_yy_bottom(1, 1) = 2.0e10;
  SET_SECTION_SENTINELS(1);
  int p = 0;
  for (int i = 0; i < GRID_SIDE; ++i) {
    for (int j = 0; j < GRID_SIDE; ++j) {
      ++p;
      PileTable.n_piles = p;
      PileTable.prop(p) = 1;
      PileTable.beta(p) = 3.141592653589793 / 2;
      PileTable.head_y(p) = SPACING * i;
      PileTable.head_z(p) = SPACING * j;
      PileTable.n_identical(p) = 1.0;
      PileTable.conn_zz(p) = PileTable.conn_yy(p) = CONN_FIX;
    }
  }
  PREPARE_NODE_LAYOUT(status);
  for (int q = 1; q <= PileTable.n_piles; ++q) NODE(q, status);
  AnalysisControl.llp_tolerance = 1e-5;
  AnalysisControl.llp_max_iterations = 500;
  AnalysisControl.threads_available = omp_get_num_procs();
  AnalysisControl.threads_used_max = 1;
  AnalysisControl.threads_wanted = state.range(0) > 0 ? static_cast<int>(state.range(0)) : omp_get_num_procs();
  SET_SOIL_REACTION_PROVIDER(soft_clay_springs);
  SET_HEAD_RESPONSE_PROVIDER(nonlinear_head);
  const double u[6] = {0.05, 0.4, 0.2, 1e-4, -2e-4, 3e-4};
  const double du[6] = {0.01, 0.01, 0.01, 1e-5, 1e-5, 1e-5};
  double f[6], k[36];
  for (auto _ : state) {
    FVEC(f, u, status);
    STIFF(k, u, du, 3, 0, status);
    benchmark::DoNotOptimize(k);
  }
  state.counters["threads"] = AnalysisControl.threads_used_max;
  state.counters["status"] = status;
  // One iteration is the pile evaluations of one Newton iteration: the force
  // vector and the tangent, 14 per pile; the counter shows the time of one.
  state.counters["per_pile_evaluation"] =
      benchmark::Counter(EVALUATIONS_PER_PILE_3D * PileTable.n_piles,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  SET_HEAD_RESPONSE_PROVIDER(nullptr);
  SET_SOIL_REACTION_PROVIDER(nullptr);
  RELEASE_MODEL_ARRAYS(status);
}
// Argument: thread count asked for; 0 = every processor.
BENCHMARK(BM_GroupForceAndTangent100Piles)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 100 pile rows of a bent, battered from -0.3 to +0.3 rad, on the same
// springs, with a straight load-settlement line of AXIAL_STIFFNESS.
void BM_GroupForceAndTangent2D100Rows(benchmark::State& state) {
  constexpr int ROWS = 100;
  constexpr double BATTER_SPAN = 0.6;   // rad, from the first row to the last
  constexpr double AXIAL_REACH = 10.0;  // in, the end of the load-settlement line
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  RESET_INPUT_RECORDS(status);
  RunOptions.units = 1;
  RunOptions.dimension = 2;
  PileProperty.length(1) = 600.0;
  PileProperty.n_increments(1) = 100;
  PileProperty.n_sections(1) = 1;
  PileSection.bottom(1, 1) = 600.0;
  PileSection.ei_zz(1, 1) = PileSection.ei_zz_bottom(1, 1) = 2.0e10;
  SET_SECTION_SENTINELS(1);
  UserLsCurve.point_count(1) = 3;
  const double reach[3] = {-AXIAL_REACH, 0.0, AXIAL_REACH};
  for (int i = 1; i <= 3; ++i) {
    UserLsCurve.movement(1, i) = reach[i - 1];
    UserLsCurve.load(1, i) = AXIAL_STIFFNESS * reach[i - 1];
  }
  for (int row = 1; row <= ROWS; ++row) {
    PileTable.n_piles = row;
    PileTable.prop(row) = 1;
    PileTable.ls_curve(row) = 1;
    PileTable.axial_factor(row) = 1.0;
    PileTable.head_plan(row) = SPACING * (row - 1);
    PileTable.batter(row) = BATTER_SPAN * ((row - 1.0) / (ROWS - 1.0) - 0.5);
    PileTable.n_identical(row) = 2.0;
    PileTable.conn_zz(row) = CONN_FIX;
  }
  PREPARE_NODE_LAYOUT(status);
  AnalysisControl.llp_tolerance = 1e-5;
  AnalysisControl.llp_max_iterations = 500;
  AnalysisControl.threads_available = omp_get_num_procs();
  AnalysisControl.threads_used_max = 1;
  AnalysisControl.threads_wanted = static_cast<int>(state.range(0));
  SET_SOIL_REACTION_PROVIDER(soft_clay_springs);
  const double u[3] = {0.05, 0.4, 3e-4};
  double f[3], k[9];
  for (auto _ : state) {
    FVEC2D(f, u, status);
    CAP_TANGENT_2D(k, u, status);
    benchmark::DoNotOptimize(k);
  }
  state.counters["threads"] = AnalysisControl.threads_used_max;
  state.counters["status"] = status;
  state.counters["per_row_evaluation"] = benchmark::Counter(
      EVALUATIONS_PER_ROW_2D * ROWS, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  SET_SOIL_REACTION_PROVIDER(nullptr);
  RELEASE_MODEL_ARRAYS(status);
}
// Argument: thread count asked for.
BENCHMARK(BM_GroupForceAndTangent2D100Rows)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
