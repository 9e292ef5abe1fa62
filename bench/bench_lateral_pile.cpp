// One 3D lateral pile solution to closure: a 200-increment pile (201 nodes)
// on a nonlinear soft-clay-like spring, p = pu/2 (y/y50)^(1/3) up to pu with
// pu growing with depth, standing in for the p-y criteria. Time per solve;
// the solver works in the caller's record and allocates nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "run/run.hpp"

namespace {

using namespace pilecap;

constexpr double Y50 = 0.25;      // deflection at half the ultimate resistance, in
constexpr double PU_TOP = 20.0;   // ultimate resistance at the ground, lb/in
constexpr double PU_SLOPE = 1.5;  // its growth with depth, lb/in per in
constexpr double MIN_DEFLECTION = 1e-6;

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

void BM_LateralPile200Nodes(benchmark::State& state) {
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  RESET_INPUT_RECORDS(status);
  PileTable.n_piles = 1;
  PileTable.prop(1) = 1;
  PileTable.conn_zz(1) = PileTable.conn_yy(1) = CONN_FIX;
  PileProperty.length(1) = 1200.0;
  PileProperty.n_increments(1) = 200;
  PileProperty.n_sections(1) = 1;
  PileSection.bottom(1, 1) = 1200.0;
  PileSection.ei_zz(1, 1) = PileSection.ei_zz_bottom(1, 1) = 2.0e10;
  PileSection.ei_yy(1, 1) = PileSection.ei_yy_bottom(1, 1) = 2.0e10;
  SET_SECTION_SENTINELS(1);
  PREPARE_NODE_LAYOUT(status);
  NODE(1, status);
  AnalysisControl.llp_tolerance = 1e-5;
  AnalysisControl.llp_max_iterations = 500;
  SET_SOIL_REACTION_PROVIDER(soft_clay_springs);
  LateralPileWork work{};
  PileRowVector axial{};
  Matrix6 rotation{};
  const double u[6] = {};
  double hy = 0, hz = 0, mzz = 0, myy = 0;
  for (auto _ : state) {
    SOLVE_LATERAL_PILE_3D(1, 1.0, 0.0, 0.5, 0.0, 1.0e5, 0.0, hy, hz, mzz, myy, status, u, rotation, axial, axial, work);
    benchmark::DoNotOptimize(hy);
  }
  state.counters["head_force_y"] = hy;
  state.counters["closed"] = PileErrorWord.code == PILE_ERR_NONE ? 1 : 0;
  SET_SOIL_REACTION_PROVIDER(nullptr);
  RELEASE_MODEL_ARRAYS(status);
}
BENCHMARK(BM_LateralPile200Nodes)->Unit(benchmark::kMicrosecond);

}  // namespace
