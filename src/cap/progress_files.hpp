// The status file a host polls while a run goes on: the progress record of
// every load case and combination, and the cap solver's records of its
// iterations and steps.
#pragma once

#include "model/analysis_control.hpp"

namespace pilecap {

// WRITE_STATUS_LINE
// Replaces the status file's content by one progress record: "- ANALYSIS
// FOR LOAD CASE n/m STARTED" (or FINISHED, or LOAD COMB.) and two empty
// lines. A file that cannot be opened costs only the record.
//   in: run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in: finished  false STARTED, true FINISHED
//   in: n, m      the number and the count of cases or combinations
void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m);

// Events of a solver's status record.
constexpr int SOLVER_EVENT_ITERATION = 0;
constexpr int SOLVER_EVENT_STEP_COMPLETED = 1;  // 3D only
constexpr int SOLVER_EVENT_ENDED = 2;           // 3D only

// WRITE_SOLVER_STATUS
// Replaces the status file's content by a cap solver's record: the run line
// (case or combination, thread counts) and the event line in its plain, DOF
// or point form; a file that cannot be opened costs only the record.
//   Reads: AnalysisControl (current_run, point and DOF counters, thread
//          counts, pushover_active), TargetDeflectionSearch.active, the counts
//          of cases and combinations
//   in:    run_kind, event (SOLVER_EVENT_), step, tcur, iteration,
//          dimension (MODEL_2D prints a DOF iteration's TCUR with 4 decimals)
void WRITE_SOLVER_STATUS(int run_kind, int event, int step, double tcur, int iteration, int dimension);

// SET_STATUS_WRITTEN_HOOK
// A test seam: the hook is called on the calling thread after every record
// the two routines above write, before the stop request is polled, so that
// a whole-run test can ask for the stop at a known record. nullptr removes it.
using StatusWrittenHook = void (*)();
void SET_STATUS_WRITTEN_HOOK(StatusWrittenHook hook);

}  // namespace pilecap
