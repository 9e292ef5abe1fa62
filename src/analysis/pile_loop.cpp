// The per-pile status words, evaluations and thread work records of the
// parallel loops over piles. Pile p's word sits at index p.
#include "analysis/pile_loop.hpp"

#include <memory>

#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

// The status word of each pile of the running loop (pile p at index p).
Array1<int, TABLE_CAPACITY> pile_status{};

}  // namespace

void START_PILE_LOOP(int n_piles) {
  for (int p = 1; p <= n_piles; ++p) pile_status(p) = STATUS_OK;
  SET_PILE_LOOP_THREADS(n_piles);
  if (PyCurveCache.pair_open == 0) OPEN_PY_CURVE_EPOCH();
}

void END_PILE_LOOP() {
  if (PyCurveCache.pair_open == 0) CLOSE_PY_CURVE_EPOCH();
}

PileEvaluationPair::PileEvaluationPair() {
  OPEN_PY_CURVE_EPOCH();
  PyCurveCache.pair_open = 1;
}

void PileEvaluationPair::close() {
  if (!open_) return;
  open_ = false;
  PyCurveCache.pair_open = 0;
  CLOSE_PY_CURVE_EPOCH();
}

int& PILE_LOOP_STATUS(int pile) { return pile_status(pile); }

void MERGE_PILE_LOOP_STATUS(int n_piles, int& status) {
  for (int p = 1; p <= n_piles && status == STATUS_OK; ++p) status = pile_status(p);
}

std::vector<PileEvaluation>& PILE_LOOP_EVALUATIONS(int n_piles) {
  static std::vector<PileEvaluation> evaluations;
  if (evaluations.size() < static_cast<std::size_t>(n_piles)) evaluations.resize(static_cast<std::size_t>(n_piles));
  for (int p = 1; p <= n_piles; ++p) CLEAR_PILE_EVALUATION(evaluations[static_cast<std::size_t>(p - 1)]);
  return evaluations;
}

PileHeadWork& THREAD_HEAD_WORK() {
  thread_local std::unique_ptr<PileHeadWork> work;
  if (!work) work = std::make_unique<PileHeadWork>();
  return *work;
}

}  // namespace pilecap
