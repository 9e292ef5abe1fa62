// The pile-head response of the 3D model and the bookkeeping of one pile
// evaluation. The head displacement is turned into pile axes (d = R^T u),
// the axial force and torque come from the pile's curves, the lateral shears
// and moments from the laterally loaded pile, and the reaction
// f = (P, H_y, H_z, T, -M_yy, M_zz) goes back as -n R f. An evaluation keeps
// its own error word and warnings, so a parallel loop over piles writes
// nothing shared until the calling thread publishes them in pile order.
#include "pile/pile_head.hpp"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

WarningCountersRecord WarningCounters;

namespace {

// The evaluation PILE_HEAD_RESPONSE is running on this thread, if any.
thread_local PileEvaluation* current_evaluation = nullptr;

int error_rank(int code) {
  if (code == PILE_ERR_NONE) return 0;
  if (code == PILE_ERR_NO_CLOSURE || code == PILE_ERR_PY_TOO_SHORT) return 2;
  return 1;
}

void write_warning(const PileWarning& w) {
  if (w.kind == PILE_WARNING_NO_CLOSURE) {
    if (w.to_results) fio::write(UNIT_RESULTS_REPORT, NO_CLOSURE_LAYOUT, w.iteration_limit, w.pile);
    fio::write(UNIT_RUN_LOG, NO_CLOSURE_LAYOUT, w.iteration_limit, w.pile);
    return;
  }
  if (w.kind == PILE_WARNING_BELOW_DEEPEST_LAYER) {
    const std::string label(UnitLabels.length());
    fio::write(UNIT_RESULTS_REPORT, PILE_BELOW_DEEPEST_LAYER_LAYOUT, w.result, label);
    fio::write(UNIT_RUN_LOG, PILE_BELOW_DEEPEST_LAYER_LAYOUT, w.result, label);
    return;
  }
  if (w.kind == PILE_WARNING_PY_TOO_SHORT) {
    fio::write(UNIT_RESULTS_REPORT, PY_CURVES_SHORT_LAYOUT, w.pile);
    fio::write(UNIT_RUN_LOG, PY_CURVES_SHORT_LAYOUT, w.pile);
    return;
  }
  if (!fio::is_open(UNIT_AXIAL_WARNINGS)) return;
  const char* layout = w.kind == PILE_WARNING_TORSION ? TORSION_WARNING_LAYOUT : AXIAL_WARNING_LAYOUT;
  fio::write(UNIT_AXIAL_WARNINGS, layout, std::string_view(w.text), w.pile, w.movement, w.curve_movement, w.result);
}

// Adds a warning's count to a record with bearing, pull_out and torsion.
template <class Counters>
void count_warning(const PileWarning& w, Counters& counters) {
  if (w.kind == PILE_WARNING_BEARING) ++counters.bearing;
  if (w.kind == PILE_WARNING_PULL_OUT) ++counters.pull_out;
  if (w.kind == PILE_WARNING_TORSION) ++counters.torsion;
}

// ------------------------------------------------ reuse of lateral solutions

// The lateral solution of the first evaluation of a pile in the open epoch:
// the values it was solved from and the head forces it gave. Each pile's
// entry is written only by the thread that evaluates the pile.
constexpr int LATERAL_KEY_WORDS = 7;
constexpr int LATERAL_RESULT_WORDS = 4;
struct LateralSolutionMemo {
  std::uint64_t epoch = 0;  // 0: never filled
  std::array<double, LATERAL_KEY_WORDS> key{};
  std::array<double, LATERAL_RESULT_WORDS> result{};  // force y, force z, moment zz, moment yy
};
std::array<LateralSolutionMemo, TABLE_CAPACITY + 1> lateral_memos;

// A lateral solution may be reused only where a solve has no effect beyond
// its head forces: an epoch is open, no pass prints results, the axial force
// does not vary along the pile (the profile would be an input too) and no
// cap passive element reads the node reactions of the solve.
bool lateral_reuse_allowed(int pile) {
  if (PyCurveCache.epoch == 0 || AnalysisControl.pass_mode != 0 || RunOptions.cap_passive_option >= 1) return false;
  if (AnalysisControl.axial_variation == 1 && PileTable.ls_curve(pile) < 1) return false;
  return pile >= 1 && pile <= TABLE_CAPACITY;
}

// The lateral solve of an evaluation: reused when its inputs are
// bit-identical to those of the pile's first solution in the epoch (a Debug
// build solves again and compares), else solved; the first solution of an
// epoch that raised no error and held no warning is kept.
void lateral_solution(int pile, const double* d, double axial_force, double torque, double* result, int& status,
                      PileEvaluation& evaluation, const Matrix6& rotation, PileHeadWork& work) {
  auto solve = [&](double* out) {
    SOLVE_LATERAL_PILE_3D(pile, d[1], -d[5], d[2], d[4], axial_force, torque, out[0], out[1], out[2], out[3], status, d,
                          rotation, work.profile.movement, work.profile.load, work.lateral);
  };
  if (!lateral_reuse_allowed(pile)) {
    solve(result);
    return;
  }
  // Every value of a solve that can differ between evaluations of one epoch.
  const std::array<double, LATERAL_KEY_WORDS> key = {
      d[1], -d[5], d[2], d[4], axial_force, ClosePileFactors.p_factor_1(pile), ClosePileFactors.y_factor_1(pile)};
  LateralSolutionMemo& memo = lateral_memos[static_cast<std::size_t>(pile)];
  const bool filled = memo.epoch == PyCurveCache.epoch;
  if (filled && std::memcmp(memo.key.data(), key.data(), sizeof(key)) == 0) {
    for (int k = 0; k < LATERAL_RESULT_WORDS; ++k) result[k] = memo.result[static_cast<std::size_t>(k)];
#ifndef NDEBUG
    double again[LATERAL_RESULT_WORDS] = {};
    solve(again);
    PILECAP_ASSERT(status == STATUS_OK && std::memcmp(again, result, sizeof(again)) == 0,
                   "a reused lateral solution equals the solution of its inputs bit for bit");
#endif
    return;
  }
  const int error_before = evaluation.error;
  const std::size_t warnings_before = evaluation.warnings.size();
  solve(result);
  if (filled || status != STATUS_OK || evaluation.error != error_before ||
      evaluation.warnings.size() != warnings_before) {
    return;
  }
  memo.epoch = PyCurveCache.epoch;
  memo.key = key;
  for (int k = 0; k < LATERAL_RESULT_WORDS; ++k) memo.result[static_cast<std::size_t>(k)] = result[k];
}

}  // namespace

PileEvaluationScope::PileEvaluationScope(PileEvaluation& evaluation) : previous_(current_evaluation) {
  current_evaluation = &evaluation;
}

PileEvaluationScope::~PileEvaluationScope() { current_evaluation = previous_; }

void CLEAR_PILE_EVALUATION(PileEvaluation& evaluation) {
  evaluation.error = PILE_ERR_NONE;
  evaluation.bearing = evaluation.pull_out = evaluation.torsion = 0;
  evaluation.warnings.clear();
}

int MERGE_PILE_ERROR_WORDS(int current, int incoming) {
  return error_rank(incoming) > error_rank(current) ? incoming : current;
}

void RAISE_PILE_ERROR(int code) {
  if (current_evaluation != nullptr) {
    current_evaluation->error = MERGE_PILE_ERROR_WORDS(current_evaluation->error, code);
    return;
  }
  std::atomic_ref<int> word(PileErrorWord.code);
  int seen = word.load(std::memory_order_relaxed);
  while (!word.compare_exchange_weak(seen, MERGE_PILE_ERROR_WORDS(seen, code), std::memory_order_relaxed)) {
  }
}

void HOLD_PILE_WARNING(PileEvaluation& evaluation, const PileWarning& warning) {
  evaluation.warnings.push_back(warning);
  count_warning(warning, evaluation);
}

void RECORD_PILE_WARNING(const PileWarning& warning) {
  if (current_evaluation != nullptr) {
    HOLD_PILE_WARNING(*current_evaluation, warning);
    return;
  }
  write_warning(warning);
  count_warning(warning, WarningCounters);
}

void PUBLISH_PILE_EVALUATIONS(const PileEvaluation* evaluations, int count) {
  for (int k = 0; k < count; ++k) {
    const PileEvaluation& e = evaluations[k];
    PileErrorWord.code = MERGE_PILE_ERROR_WORDS(PileErrorWord.code, e.error);
    WarningCounters.bearing += e.bearing;
    WarningCounters.pull_out += e.pull_out;
    WarningCounters.torsion += e.torsion;
    for (const PileWarning& w : e.warnings) write_warning(w);
  }
}

void PILE_HEAD_RESPONSE(int pile, double* forces, const double* u, int& status, PileEvaluation& evaluation,
                        PileHeadWork& work) {
  const PileEvaluationScope scope(evaluation);
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  for (int k = 0; k < PILE_HEAD_DOFS; ++k) forces[k] = 0.0;
  double d[PILE_HEAD_DOFS];
  MAT6_TIMES_VECTORS(d, rotation_transposed.data(), u, 1);

  // Every step runs; the first code reported fails the response.
  int axial_status = status;
  double axial_force = 0.0;
  AXIAL_HEAD_FORCE(pile, axial_force, d, work.profile, axial_status, evaluation, work.transfer);
  axial_force *= PileTable.axial_factor(pile);

  double torque = 0.0;
  TORSION_HEAD_MOMENT(pile, torque, d, evaluation);
  if (PileTable.conn_zz(pile) == CONN_PIN || PileTable.conn_yy(pile) == CONN_PIN) torque = 0.0;

  int node_status = STATUS_OK;
  NODE(pile, node_status);

  // A layout that failed left the pile's nodes and layer ranges half made:
  // a lateral solution on them would query the soil at depths of no node
  // and write warnings about them.
  int lateral_status = STATUS_OK;
  double lateral[LATERAL_RESULT_WORDS] = {};
  if (node_status == STATUS_OK) {
    lateral_solution(pile, d, axial_force, torque, lateral, lateral_status, evaluation, rotation, work);
  }
  const double force_y = lateral[0], force_z = lateral[1], moment_zz = lateral[2], moment_yy = lateral[3];

  for (int code : {axial_status, node_status, lateral_status}) {
    if (code != STATUS_OK) {
      status = code;
      return;
    }
  }
  const double local[PILE_HEAD_DOFS] = {axial_force, force_y, force_z, torque, -moment_yy, moment_zz};
  const double scale = -PileTable.n_identical(pile);
  MAT6_TIMES_VECTORS(forces, rotation.data(), local, 1);
  for (int k = 0; k < PILE_HEAD_DOFS; ++k) forces[k] = scale * forces[k];
}

void PILE_HEAD_RESPONSE(int pile, double* forces, const double* u, int& status) {
  auto work = std::make_unique<PileHeadWork>();
  PileEvaluation evaluation;
  PILE_HEAD_RESPONSE(pile, forces, u, status, evaluation, *work);
#pragma omp critical(pilecap_publish_pile_evaluation)
  PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
}

}  // namespace pilecap
