// The plate model of a flexible cap as a run of the engine: the plate
// analysis fed by the piles' head responses in the parallel pile loop, and
// the piles' results at the converged plate.
#pragma once

#include <vector>

namespace pilecap {

// RUN_CAP_PLATE_MODEL
// A run of a model with a flexible cap (RunOptions.cap_model above 0), in
// place of the rigid cap. Export (cap_model 2): the plate model of the cap is
// written out (WRITE_CAP_PLATE_DATA) and the run is recorded as not
// analysed. Otherwise: two records on the plot-data file, the result headings
// on the results report and the summary, this run's plate data file, and the
// plate analysis on it with the piles' head responses evaluated in parallel
// over the piles; while it steps, the run log gets the rigid cap's heading
// and a line per load step (STEP, TCUR, DTCUR as fractions of the load) and
// the status file the solver's records (an iteration, a step ended, the
// stepping ended); the run's result code says how much of the load the plate
// carried; then the piles' results at the converged plate
// (WRITE_PLATE_CAP_PILE_RESULTS).
//   Reads:  RunOptions, AnalysisControl, PileTable, the cap and plate input
//   in:     run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION (status records)
//           cap_load  6 values at the cap origin (forces X, Y, Z, moments)
//   in,out: status    STATUS_PLATE_ERROR with the cause as the detail line,
//                     the status of a failing pile evaluation, or
//                     STATUS_STOPPED_BY_USER (no result code then)
void RUN_CAP_PLATE_MODEL(int run_kind, const double* cap_load, int& status);

struct PlatePileResponse;  // plate/plate.hpp

// PLATE_PILE_HEAD_RESPONSES
// The head reaction (and, when with_stiffness is 1, the head tangent) of
// every pile the plate holds at its head_displacement, in the parallel pile
// loop (RUN_PILE_LOOP); each pile writes only its own entry, the status words
// are merged and the evaluations published in pile order, so the results do
// not depend on the thread count. In a print pass (pass_mode 1) the
// evaluations fill the piles' result stores.
//   Writes: head_forces (and head_stiffness) of every entry of piles
//   in,out: piles   pile k at index k - 1
//   in,out: status  the first failing pile's status in pile order
void PLATE_PILE_HEAD_RESPONSES(std::vector<PlatePileResponse>& piles, int with_stiffness, int& status);

// WRITE_PLATE_CAP_PILE_RESULTS
// After a plate-cap run with at least one converged step: a line naming the
// plate's listing on the results report and the summary, then a final
// print pass of every pile at the head displacement of the converged plate
// (PlatePileCoupling) and the run's per-pile results by ENVEWR, as after a
// rigid-cap run (the reduction factors of close spacing first, when the
// model has them; TABLE M headings by the print option; the envelope run
// counter advanced). Nothing when no step converged.
//   Reads:  PlateControl.STEP, PlatePileCoupling, PlateFileNames.listing_file,
//           AnalysisControl (output_option), DofRunMode
//   Writes: the result stores, the scratch file and the reports ENVEWR writes,
//           AnalysisControl.first_run; pass_mode back to 0
//   in,out: status  a pile evaluation's status or ENVEWR's
void WRITE_PLATE_CAP_PILE_RESULTS(int& status);

}  // namespace pilecap
