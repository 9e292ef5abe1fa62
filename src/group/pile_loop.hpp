// The frame of every parallel loop over piles (or 2D pile rows): the group
// force vectors, the group stiffness and the plate's pile-head responses.
// One status word and one evaluation (error word, warning counts and lines)
// per pile, merged and published in pile order by the calling thread after
// the loop, and one head work record per thread for the thread's life. So
// results and reports do not depend on the thread count.
#pragma once

#include <vector>

#include "pile/pile_head.hpp"

namespace pilecap {

// PileLoopBody: the work of one pile inside the loop; returns the pile's
// status word. It writes only the pile's own rows of the shared tables, its
// evaluation and the thread's work record.
using PileLoopBody = int (*)(const void* context, int pile, PileEvaluation& evaluation, PileHeadWork& work);

// RUN_PILE_LOOP_FRAME
// Runs body for piles 1..n_piles in a parallel loop with the engine's thread
// count (at most n_piles threads) and guided schedule. Before the loop it
// clears the piles' status words and evaluations and, unless an evaluation
// pair holds one, opens an epoch of the p-y curve cache and of the reuse of
// lateral solutions for this loop alone; after it, on the calling thread:
// books the region's wall-clock time, closes the epoch it opened, merges the
// first failing pile's status into status (when status is 0) and publishes
// the evaluations in pile order.
// The time goes to RunTimers.parallel_time in an analysis pass and to
// RunTimers.print_time in a print pass: a print pass is where the piles
// write their result records, and the timing summary splits a case into the
// time of solving and the time of writing per-pile results.
//   Reads:  AnalysisControl.threads_wanted, pass_mode
//   Writes: AnalysisControl.threads_used_max, RunTimers.threads_used_run,
//           RunTimers.parallel_time or print_time, PyCurveCache.epoch,
//           PileErrorWord and the warning counters (by the publication)
//   in,out: status  the first failing pile's status when it was 0
void RUN_PILE_LOOP_FRAME(int n_piles, int& status, PileLoopBody body, const void* context);

// RUN_PILE_LOOP
// RUN_PILE_LOOP_FRAME with a callable body: body(pile, evaluation, work)
// returns the pile's status word.
template <class Body>
void RUN_PILE_LOOP(int n_piles, int& status, const Body& body) {
  RUN_PILE_LOOP_FRAME(
      n_piles, status,
      [](const void* context, int pile, PileEvaluation& evaluation, PileHeadWork& work) {
        return (*static_cast<const Body*>(context))(pile, evaluation, work);
      },
      &body);
}

// PileEvaluationPair
// A force vector and the tangent at the same cap displacement, made by a
// solver between which nothing of the model changes: the loops inside the
// scope share one epoch, so the tangent reads the curve data the force
// vector computed and reuses its lateral solutions where their inputs are
// bit-identical. Closes at the end of the scope or at close().
class PileEvaluationPair {
 public:
  PileEvaluationPair();
  ~PileEvaluationPair() { close(); }
  PileEvaluationPair(const PileEvaluationPair&) = delete;
  PileEvaluationPair& operator=(const PileEvaluationPair&) = delete;
  void close();

 private:
  bool open_ = true;
};

// SUM_HEAD_FORCES
// The group's resultant at the cap origin: component k of the piles' (or
// rows') head forces PileTable.head_force(p, k, 1), summed over p = 1..n_piles
// and rounded once, so that it does not depend on the pile numbering and the
// forces of piles that mirror each other cancel exactly (also in the
// differences of a tangent).
//   out: sums  n_dofs values
void SUM_HEAD_FORCES(int n_piles, int n_dofs, double* sums);

// THREAD_HEAD_WORK
// The head work record of the calling thread, made on its first use and kept
// for the thread's life: the runtime keeps its threads, so regions reuse the
// records instead of allocating and clearing a quarter megabyte per thread.
PileHeadWork& THREAD_HEAD_WORK();

}  // namespace pilecap
