// The full-output road of a solved rigid-cap run in either dimension: the
// reduction factors, TABLE L (equivalent load and cap displacement at the
// origin, and at the point of definition of a point run) on the results,
// summary, summary-scratch and computation reports, the cap envelope, the
// result code with the partial-load warning, the embedded cap's resistance,
// and the final print pass of the group force vector that fills the result
// stores for the per-pile tables. The dimension comes in as a report road
// (CapDimension3D or 2D with its tables and layouts). Loads print through
// the kip conversion on the results, summary and scratch reports, unconverted
// on the computation report. Internal to the cap floor.
#pragma once

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace cap_output {

//           NUMBER OF GLOBAL ITERATIONS =    3
constexpr const char* ITERATIONS_LOG_LAYOUT = "(/,10X,\"NUMBER OF GLOBAL ITERATIONS = \",I4,/)";
//      ** WARNING **    VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD
//                       RESULTS ARE FOR    45.00% OF THE TOTAL LOAD
constexpr const char* PARTIAL_LOAD_LAYOUT =
    "(/,5X,\"** WARNING **  \",\"  VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD\",/,5X,\"               \",\"  "
    "RESULTS ARE FOR \",F8.2,\"% OF THE TOTAL LOAD\",/)";

// A solution below the full load, at percent of it: the warning on the run
// log and the two reports, before the results it qualifies, and the
// partial-load result code. A partial solution is never reported as completed.
inline void report_partial_load(double percent) {
  for (int unit : {UNIT_RUN_LOG, UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, PARTIAL_LOAD_LAYOUT, percent);
  WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, percent);
}

constexpr int PASSIVE_LAST_METHOD = 1;
constexpr double PERCENT = 100.0;
constexpr int REPORT_FIELD_DIGITS = 5;
constexpr int SCRATCH_ROW_INDENT = 7;
constexpr int SCRATCH_FIELD_WIDTH = 15;
constexpr int COMPUTATION_FIELD_WIDTH = 18;
constexpr int COMPUTATION_FIELD_DIGITS = 8;
constexpr int COMPUTATION_FIELD_GAP = 5;

// One row of the values of a cap vector on the summary scratch.
inline void write_scratch_row(const double* values, int count, bool kips) {
  WRITE_BLANKS(UNIT_SUMMARY_SCRATCH, SCRATCH_ROW_INDENT);
  for (int k = 0; k < count; ++k) {
    WRITE_REAL_FIELD(UNIT_SUMMARY_SCRATCH, SCRATCH_FIELD_WIDTH, REPORT_FIELD_DIGITS,
                     kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
  }
  END_REPORT_LINE(UNIT_SUMMARY_SCRATCH);
}

// One unconverted row of values on the computation report with a gap
// between them, and after the last one too when trailing_gap is set.
inline void write_computation_row(const double* values, int count, bool trailing_gap) {
  for (int k = 0; k < count; ++k) {
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, values[k]);
    if (k + 1 < count || trailing_gap) WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_GAP);
  }
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

// TABLE L of the run on every report, the cap envelope, and the result code
// (with the partial-load warning when the run stopped below full load).
template <class R>
void report_table_l(typename R::State& s) {
  const double c = s.converged_fraction;
  SCALE_TO_CONVERGED_FRACTION<R>(s);
  if (R::SCRATCH_TABLE_TITLES) WRITE_TABLE_L_TITLE(UNIT_SUMMARY_SCRATCH);
  WRITE_TABLE_L_TITLE(UNIT_RESULTS_REPORT);
  if (s.point_run == 1) R::report_point(s);
  R::write_origin_tables(UNIT_RESULTS_REPORT, s);

  const int iterations = s.step == 0 ? 0 : s.iteration;
  fio::write(UNIT_RESULTS_REPORT, R::ITERATIONS_REPORT_LAYOUT, iterations);
  fio::write(UNIT_RUN_LOG, ITERATIONS_LOG_LAYOUT, iterations);
  fio::flush(UNIT_RUN_LOG);

  WRITE_CAP_LOAD_TITLE(UNIT_SUMMARY_SCRATCH);
  R::write_scratch_load_heading();
  write_scratch_row(s.cap_load, R::DOFS, true);
  WRITE_CAP_DISPLACEMENT_TITLE(UNIT_SUMMARY_SCRATCH);
  R::write_scratch_displacement_heading();
  write_scratch_row(s.displacement.data(), R::DOFS, false);

  if (TargetDeflectionSearch.target_dof >= 1 && TargetDeflectionSearch.target_dof <= R::DOFS) {
    TargetDeflectionSearch.computed = s.displacement(TargetDeflectionSearch.target_dof);
  }

  WRITE_TABLE_L_TITLE(UNIT_SUMMARY);
  R::write_origin_tables(UNIT_SUMMARY, s);

  WRITE_TABLE_L_TITLE(UNIT_COMPUTATION_REPORT);
  WRITE_CAP_LOAD_TITLE(UNIT_COMPUTATION_REPORT);
  write_computation_row(s.cap_load, R::DOFS, true);
  WRITE_CAP_DISPLACEMENT_TITLE(UNIT_COMPUTATION_REPORT);
  write_computation_row(s.displacement.data(), R::DOFS, true);

  R::update_envelope(s);

  if (c < 1.0 - RunConstants.tiny) {
    report_partial_load(PERCENT * c);
    APPLY_CONVERGED_FRACTION(c);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

}  // namespace cap_output

// REPORT_FULL_OUTPUT
// The full-output road of a run of the report road R (see the file's head).
//   in,out: s, status  (status as the final print pass leaves it)
template <class R>
void REPORT_FULL_OUTPUT(typename R::State& s, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  if (RunOptions.pmult_method > 0) REPORT_REDUCTION_FACTORS(R::MODEL);
  cap_output::report_table_l<R>(s);
  a.pass_mode = 1;
  if (RunOptions.cap_passive_option > 0 && CapPassiveElement.method <= cap_output::PASSIVE_LAST_METHOD) {
    R::report_passive(s);
  }
  if (a.output_option > 0) {
    WRITE_TABLE_M_TITLE(UNIT_RESULTS_REPORT);
    WRITE_TABLE_M_TITLE(UNIT_SUMMARY);
    if (R::SCRATCH_TABLE_TITLES) WRITE_TABLE_M_TITLE(UNIT_SUMMARY_SCRATCH);
  }

  // The final print pass fills the result stores of every pile at U.
  if (!CAP_PRINT_PASS<R>(s, status)) {
    a.pass_mode = 0;
    return;
  }
  // A failed pass leaves no result stores to print: the run ends with its
  // status and nothing more is written of it, in either dimension.
  if (status != STATUS_OK) return;

  // The writers read the run's print level and node step from AnalysisControl.
  R::write_run_piles(status);
  if (DofRunMode.mode == DOF_RUN_NONE) ++a.first_run;
  a.pass_mode = 0;
}

}  // namespace pilecap
