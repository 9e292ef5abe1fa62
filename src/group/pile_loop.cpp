// The frame of the parallel loops over piles with its per-pile status words,
// evaluations and thread work records. Pile p's word sits at index p, its
// evaluation at index p - 1.

#include "group/pile_loop.hpp"

#include <omp.h>

#include <memory>

#include "base/arrays.hpp"
#include "base/exact_sum.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

// The status word of each pile of the running loop (pile p at index p).
Array1<int, TABLE_CAPACITY> pile_status{};

// Clears the status words of piles 1..n_piles, sets the thread count of the
// coming loop and, unless an evaluation pair is open, opens an epoch of the
// p-y curve cache for this loop alone.
void start_pile_loop(int n_piles) {
  for (int p = 1; p <= n_piles; ++p) pile_status(p) = STATUS_OK;
  SET_PILE_LOOP_THREADS(n_piles);
  if (PyCurveCache.pair_open == 0) OPEN_PY_CURVE_EPOCH();
}

// Closes the epoch start_pile_loop opened (none when an evaluation pair holds
// it), so no evaluation outside a loop reads an entry.
void end_pile_loop() {
  if (PyCurveCache.pair_open == 0) CLOSE_PY_CURVE_EPOCH();
}

// The cleared evaluations of piles 1..n_piles, kept between loops so their
// warning lists keep their room; calling thread only.
std::vector<PileEvaluation>& pile_loop_evaluations(int n_piles) {
  static std::vector<PileEvaluation> evaluations;
  if (evaluations.size() < static_cast<std::size_t>(n_piles)) evaluations.resize(static_cast<std::size_t>(n_piles));
  for (int p = 1; p <= n_piles; ++p) CLEAR_PILE_EVALUATION(evaluations[static_cast<std::size_t>(p - 1)]);
  return evaluations;
}

// A print pass writes the piles' result records: its time is printing time.
void book_pile_loop_time(double elapsed) {
  if (AnalysisControl.pass_mode == 0) {
    RunTimers.parallel_time += elapsed;
  } else {
    RunTimers.print_time += elapsed;
  }
}

}  // namespace

void RUN_PILE_LOOP_FRAME(int n_piles, int& status, PileLoopBody body, const void* context) {
  start_pile_loop(n_piles);
  std::vector<PileEvaluation>& evaluations = pile_loop_evaluations(n_piles);
  const double clock = omp_get_wtime();

#pragma omp parallel
  {
    PileHeadWork& work = THREAD_HEAD_WORK();
    // The schedule of loops over piles: SET_PILE_LOOP_THREADS.
#pragma omp for schedule(guided)
    for (int p = 1; p <= n_piles; ++p) {
      pile_status(p) = body(context, p, evaluations[static_cast<std::size_t>(p - 1)], work);
    }
  }

  book_pile_loop_time(omp_get_wtime() - clock);
  end_pile_loop();
  for (int p = 1; p <= n_piles && status == STATUS_OK; ++p) status = pile_status(p);
  PUBLISH_PILE_EVALUATIONS(evaluations.data(), n_piles);
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

PileHeadWork& THREAD_HEAD_WORK() {
  thread_local std::unique_ptr<PileHeadWork> work;
  if (!work) work = std::make_unique<PileHeadWork>();
  return *work;
}

void SUM_HEAD_FORCES(int n_piles, int n_dofs, double* sums) {
  for (int k = 1; k <= n_dofs; ++k) {
    ExactSum sum;
    for (int p = 1; p <= n_piles; ++p) sum.add(PileTable.head_force(p, k, 1));
    sums[k - 1] = sum.value();
  }
}

}  // namespace pilecap
