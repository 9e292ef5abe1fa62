// The case driver: every load case and then every load combination, each
// run by the road of its model, with the headings, progress records, stop
// polls and envelopes around them; the host's hooks on the runs.
#pragma once

namespace pilecap {

// RUN_CASES_AND_COMBINATIONS
// Runs every load case and then every load combination: headings, progress
// lines on the status file, stop polls before and after each, skipped runs
// (result code 9), control values, loads, the solver run, per-run timing;
// then the envelopes when asked, TABLE N and the plot-data file.
//   Reads:  LoadCase, LoadCombination, EnvelopeOptions, RunOptions, PileTable
//   Writes: AnalysisControl, PileLoadProfile, SoilMovementProfile scaled
//           movements, RunTimers case fields, the reports and status file
//   in:     print_request  the p-y print option as read; restored into
//                          RunOptions.print_py_curves at the end
//   in,out: status  STATUS_STOPPED_BY_USER after a stop request, else what a
//                   called routine set; the loop returns when it is not 0
void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status);

// Test seam: called after the end lines and timing of every analysed case
// (kind RUN_KIND_CASE) and combination, before the stop poll that follows
// them; nullptr (the default) calls nothing.
using RunEndHook = void (*)(int run_kind, int index);
void set_run_end_hook(RunEndHook hook);

// Host hook: called as every load case (kind RUN_KIND_CASE) and combination
// starts, before its STARTED line, with the resultant of its concentrated
// loads at the cap origin (FX, FY, FZ, MX, MY, MZ; zero for a case whose
// loads are given at a point) in the units of the reports, and the force and
// moment labels of those units ("KIP", "KIP-IN"), so that a host can show the
// load before the results are read. nullptr (the default) calls nothing.
// libpilecap.so exports the setter with DUVIZU.
using RunStartHook = void (*)(int run_kind, int index, const double* load_at_origin, const char* force_label,
                              const char* moment_label);
__attribute__((visibility("default"))) void set_run_start_hook(RunStartHook hook);

}  // namespace pilecap
