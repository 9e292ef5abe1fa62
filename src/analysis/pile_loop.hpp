// The bookkeeping of a parallel loop over piles (or 2D pile rows), shared by
// the group force vectors and the group stiffness: one status word and one
// evaluation (error word, warning counts and lines) per pile, merged and
// published in pile order by the calling thread after the loop, and one head
// work record per thread for the thread's life. So results and reports do
// not depend on the thread count.
#pragma once

#include <vector>

#include "pile/pile_head.hpp"

namespace pilecap {

// START_PILE_LOOP
// Clears the status words of piles 1..n_piles, sets the thread count of the
// coming loop (AnalysisControl.threads_wanted, at most n_piles threads) and,
// unless an evaluation pair is open, opens an epoch of the p-y curve cache
// and of the reuse of lateral solutions for this loop alone.
//   Writes: AnalysisControl.threads_used_max, RunTimers.threads_used_run,
//           PyCurveCache.epoch
void START_PILE_LOOP(int n_piles);

// END_PILE_LOOP
// After the loop: closes the epoch START_PILE_LOOP opened (none when an
// evaluation pair holds it), so no evaluation outside a loop reads an entry.
void END_PILE_LOOP();

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

// PILE_LOOP_STATUS: the status word of pile p in the running loop; each pile
// writes only its own.
int& PILE_LOOP_STATUS(int pile);

// MERGE_PILE_LOOP_STATUS
// The first non-zero pile status word in pile order, into status when it is 0.
void MERGE_PILE_LOOP_STATUS(int n_piles, int& status);

// PILE_LOOP_EVALUATIONS
// The cleared evaluations of piles 1..n_piles (pile p at index p - 1), kept
// between loops so their warning lists keep their room; calling thread only.
std::vector<PileEvaluation>& PILE_LOOP_EVALUATIONS(int n_piles);

// THREAD_HEAD_WORK
// The head work record of the calling thread, made on its first use and kept
// for the thread's life: the runtime keeps its threads, so regions reuse the
// records instead of allocating and clearing a quarter megabyte per thread.
PileHeadWork& THREAD_HEAD_WORK();

}  // namespace pilecap
