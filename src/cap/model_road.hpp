// The road of each kind of model through a run. A model is analysed as
// rows of piles under a rigid cap in the plane, piles under a rigid cap in
// space, or piles under the plate model of a flexible cap in space
// (CAP_MODEL_KIND); everything of a run that differs between the three is
// in one entry of one table, so the case driver asks the kind once and
// never again.
#pragma once

#include <string>

#include "model/analysis_control.hpp"

namespace pilecap {

// The solver of one run, with the arguments of SOLVE_CAP_3D and SOLVE_CAP_2D.
using CapRunSolver = void (*)(int run_kind, int& print_flags, int& status, double* equivalent_load,
                              double* cap_displacement, double* cap_load, const double* point_loads,
                              double* point_displacements, const double* point, const int* dof_flags);

struct ModelRoad {
  CapModelKind kind;
  int dimension;        // MODEL_2D or MODEL_3D, as the writers and the estimations take it
  int dofs;             // the cap's degrees of freedom in a run
  bool torsion_curves;  // the plot-data file carries the piles' t-q curves
  CapRunSolver solve;   // one run, its reports and its result code
  void (*reset_envelopes)();
  // The minimum and then the maximum envelopes of a pass of cases
  // (ENVELOPE_KIND_CASES) or combinations, or the note that none formed.
  void (*write_envelopes)(int kind, int& status);
  // The feature of the model whose analysis is not built yet, as the text
  // of its note; empty when every run of the model can be analysed.
  std::string (*refused_feature)();
  // The note of a case with estimation or pushover points the model cannot
  // run; nullptr when it runs them.
  const char* points_refusal_layout;
};

// MODEL_ROAD
// The road of a kind of model; the table is built once and never changes.
const ModelRoad& MODEL_ROAD(CapModelKind kind);

// UNSUPPORTED_MODEL_FEATURE
// The refused feature of the model RunOptions select, as the text of its
// run-log note; empty when every run of the model can be analysed. The run
// loop asks once, on the calling thread, before the first case, and then
// reports every case and combination as not analysed.
//   Reads: RunOptions
std::string UNSUPPORTED_MODEL_FEATURE();

// REPORT_UNSUPPORTED_RUN
// The note "NOTE: <feature> IS NOT YET SUPPORTED, RUN NOT ANALYZED" on the
// results report, the summary and the run log, and the not-performed result
// code of the run.
void REPORT_UNSUPPORTED_RUN(const std::string& feature);

// REPORT_REFUSED_RUN
// A run the model's road cannot make: the note of the layout (its reason)
// on the results report, the summary and the run log, and the
// not-performed result code of the run.
void REPORT_REFUSED_RUN(const char* layout);

// SOLVE_PLATE_CAP
// One run of the plate model with the arguments of a cap solver: the
// warning counters cleared, a refused model's note (START_CAP_RUN), else
// RUN_CAP_PLATE_MODEL with the run's cap load; pass mode 0 on return.
// Nothing of the rigid cap is set up; only cap_load is read.
void SOLVE_PLATE_CAP(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                     double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                     const int* dof_flags);

}  // namespace pilecap
