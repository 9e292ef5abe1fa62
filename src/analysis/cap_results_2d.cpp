// The reports of a solved 2D cap run: the bearing and pull-out warnings of
// the last force evaluation, then one result road. The full output prints
// TABLE L (equivalent load and cap displacement at the origin, and at the
// point of definition of a point run) on the results, summary,
// summary-scratch and computation reports, folds the run into the cap
// envelope, prints the embedded cap's resistance and makes the final print
// pass of the group force vector that fills the result stores for the
// per-pile tables. Vectors are (X vertical, Y horizontal, rotation Z); loads
// print through the kip conversion, coordinates in feet or metres,
// displacements as computed.
#include <cmath>
#include <string>

#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

using State = CapSolverState2D;

constexpr int PASSIVE_LAST_METHOD = 1;
constexpr double PERCENT = 100.0;

// Warnings of the last force evaluation: bearing, then pull out.
//      ** WARNING **  SOME PILES, MAY FAIL IN BEARING!
constexpr const char* WARNING_LONG_LAYOUT[2] = {
    "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN BEARING!\",/,20X,\"AXIAL DISPLACEMENT ESTIMATED IS LARGER "
    "THAN\",/,20X,\"MAXIMUM DISPLACEMENT DEFINED\",\" IN LOAD-SETTLEMENT CURVE\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN PULL OUT!\",/,20X,\"AXIAL DISPLACEMENT ESTIMATED IS SMALLER "
    "THAN\",/,20X,\"MINIMUM DISPLACEMENT DEFINED\",\" IN LOAD-SETTLEMENT CURVE\")"};
constexpr const char* WARNING_SHORT_LAYOUT[2] = {"(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN BEARING!\")",
                                                 "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN PULL OUT!\")"};

//      * TABLE L *   COMPUTATION ON PILE CAP
constexpr const char* TABLE_L_REPORT_LAYOUT = "(/,/,/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* TABLE_L_COMPUTATION_LAYOUT = "(5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* ORIGIN_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* ORIGIN_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")";

// Point tables of a point run.
constexpr const char* POINT_TITLE_LAYOUT = "(/,/,5X,\"* POINT OF DEFINITION\",\" DISPLACEMENT/LOADS *\")";
//             COORD. X ,FT         COORD. Y ,FT
constexpr const char* POINT_COORDINATES_LAYOUT = "(/,10X,\"  COORD. X ,\",A2,6X,\"   COORD. Y ,\",A2)";
constexpr const char* POINT_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* CONCENTRATED LOAD\",\" AT SPECIFIED POINT *\")";
constexpr const char* POINT_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT SPECIFIED POINT *\")";

//           NUMBER OF ITERATIONS =   3
constexpr const char* ITERATIONS_REPORT_LAYOUT = "(/,/,10X,\"NUMBER OF ITERATIONS = \",I3)";
constexpr const char* ITERATIONS_LOG_LAYOUT = "(/,10X,\"NUMBER OF GLOBAL ITERATIONS = \",I4,/)";

// Summary scratch: one row of three per table.
constexpr const char* SCRATCH_LOAD_TITLE_LAYOUT = "(/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
//            LOAD X,KIP     LOAD Y,KIP    MOM Z,KIP-IN
constexpr const char* SCRATCH_LOAD_HEADING = "(11X,\"LOAD X,\",A3,5X,\"LOAD Y,\",A3,3X,\" MOM Z,\",A3,A1,A2)";
constexpr const char* SCRATCH_DISPLACEMENT_TITLE_LAYOUT =
    "(/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")";
//             DISP X,IN      DISP Y,IN      ROT Z,RAD
constexpr const char* SCRATCH_DISPLACEMENT_HEADING = "(12X,\"DISP X,\",A2,6X,\"DISP Y,\",A2,5X,\" ROT Z,\",A3)";

// Computation report: unconverted rows.
constexpr const char* COMPUTATION_LOAD_TITLE = "(\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* COMPUTATION_DISPLACEMENT_TITLE = "(\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";

//      ** WARNING **    VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD
//                       RESULTS ARE FOR    45.00% OF THE TOTAL LOAD
constexpr const char* PARTIAL_LOAD_LAYOUT =
    "(/,5X,\"** WARNING **  \",\"  VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD\",/,5X,\"               \",\"  "
    "RESULTS ARE FOR \",F8.2,\"% OF THE TOTAL LOAD\",/)";

// Passive resistance of an embedded cap.
constexpr const char* PASSIVE_TITLE_LAYOUT = "(/,/,5X,\"* PASSIVE RESISTANCE IN PILE CAP *\")";
//               HORI. LOAD,KIP      POSITION,FT      EQ. DIAM,FT
constexpr const char* PASSIVE_HEADING_LAYOUT = "(14X,\"HORI. LOAD,\",A3,6X,\"POSITION,\",A2,6X,\"EQ. DIAM,\",A2)";
constexpr const char* PASSIVE_COMPUTATION_LAYOUT = "(\"* PASSIVE RESISTANCE IN PILE CAP *\")";

//      * TABLE M *   COMPUTATION ON INDIVIDUAL PILE
constexpr const char* TABLE_M_REPORT_LAYOUT = "(/,/,/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";

// Field widths of the rows.
constexpr int REPORT_FIELD_DIGITS = 5;
constexpr CapRowFields REPORT_ROW = {10, 18, REPORT_FIELD_DIGITS};
constexpr CapRowFields COORDINATE_ROW = {5, 19, REPORT_FIELD_DIGITS};
constexpr int SOLVER_ROTATION_GAP = 5;
constexpr int SCRATCH_ROW_INDENT = 7;
constexpr int SCRATCH_FIELD_WIDTH = 15;
constexpr int COMPUTATION_FIELD_WIDTH = 18;
constexpr int COMPUTATION_FIELD_DIGITS = 8;
constexpr int COMPUTATION_FIELD_GAP = 5;

// The bearing and pull-out warnings of the last base evaluation: one
// heading per kind, then the lines the evaluation left on the axial-warning
// file.
void report_warnings() {
  const WarningCountersRecord& w = WarningCounters;
  const int counts[2] = {w.bearing, w.pull_out};
  for (int kind = 0; kind < 2; ++kind) {
    if (counts[kind] <= 0) continue;
    fio::write(UNIT_RESULTS_REPORT, WARNING_LONG_LAYOUT[kind]);
    fio::write(UNIT_RUN_LOG, WARNING_SHORT_LAYOUT[kind]);
    PileErrorWord.code = PILE_ERR_AXIAL_WARNINGS;
  }
  if (counts[0] + counts[1] <= 0) return;
  COPY_AXIAL_WARNING_LINES(counts[0] + counts[1], true);
  if (TargetDeflectionSearch.active == 1) TargetDeflectionSearch.state = -1;
}

// One unconverted row of three values on the computation report, each
// followed by a gap.
void write_computation_row(const double* values) {
  for (int k = 0; k < CAP_DOFS_2D; ++k) {
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, values[k]);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_GAP);
  }
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

// One row of three values on the summary scratch.
void write_scratch_row(const double* values, bool kips) {
  WRITE_BLANKS(UNIT_SUMMARY_SCRATCH, SCRATCH_ROW_INDENT);
  for (int k = 0; k < CAP_DOFS_2D; ++k) {
    WRITE_REAL_FIELD(UNIT_SUMMARY_SCRATCH, SCRATCH_FIELD_WIDTH, REPORT_FIELD_DIGITS,
                     kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
  }
  END_REPORT_LINE(UNIT_SUMMARY_SCRATCH);
}

// The equivalent load and the displacement at the origin (results and
// summary reports).
void write_origin_tables(int unit, const State& s) {
  fio::write(unit, ORIGIN_LOAD_TITLE_LAYOUT);
  WRITE_CAP_LOAD_TABLE_2D(unit, REPORT_ROW, s.cap_load, nullptr);
  fio::write(unit, ORIGIN_DISPLACEMENT_TITLE_LAYOUT);
  WRITE_CAP_DISPLACEMENT_TABLE_2D(unit, REPORT_ROW, s.displacement.data(), nullptr, SOLVER_ROTATION_GAP);
}

// The point tables of a point run whose point is not the origin.
void write_point_tables(int unit, const State& s, const double* u_point, const double* f_point, const char* load_marks,
                        const char* displacement_marks) {
  const std::string_view length = UnitLabels.length_large_short();
  fio::write(unit, POINT_TITLE_LAYOUT);
  fio::write(unit, POINT_COORDINATES_LAYOUT, length, length);
  WRITE_BLANKS(unit, COORDINATE_ROW.lead);
  for (int k = 0; k < 2; ++k) {
    WRITE_REAL_FIELD(unit, COORDINATE_ROW.width, COORDINATE_ROW.digits, FEET_FROM_INCHES(s.point[k]));
  }
  END_REPORT_LINE(unit);
  fio::write(unit, POINT_LOAD_TITLE_LAYOUT);
  WRITE_CAP_LOAD_TABLE_2D(unit, REPORT_ROW, f_point, load_marks);
  fio::write(unit, POINT_DISPLACEMENT_TITLE_LAYOUT);
  WRITE_CAP_DISPLACEMENT_TABLE_2D(unit, REPORT_ROW, u_point, displacement_marks, SOLVER_ROTATION_GAP);
}

// A point run: the printed equivalent load is the pile-force resultant of
// the last iteration; the point tables follow when the point is not the
// origin.
void report_point(State& s) {
  COPY_VECTOR3(s.mixed_forces.data(), s.cap_load);
  CapSolverState2D::Vector3 u_point{}, f_point{};
  int moved = 0;
  TRANSFER_ORIGIN_POINT_2D(s.displacement.data(), s.cap_load, s.point, u_point.data(), f_point.data(),
                           s.point_load_working.data(), s.dof_flags, moved);
  char load_marks[CAP_DOFS_2D], displacement_marks[CAP_DOFS_2D];
  DOF_FLAG_CHARACTERS_2D(s.dof_flags, load_marks, displacement_marks);
  if (moved != 1) return;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    write_point_tables(unit, s, u_point.data(), f_point.data(), load_marks, displacement_marks);
  }
}

// TABLE L of the run on every report, the cap envelope, and the result code
// (with the partial-load warning when the run stopped below full load).
void report_table_l(State& s) {
  const double c = s.converged_fraction;
  s.tcur = c;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) s.cap_load[k - 1] = s.full_load(k) * c;
  if (s.point_run == 1) {
    for (int k = 1; k <= CAP_DOFS_2D; ++k) {
      s.point_load_working(k) = s.point_load[k - 1] * c;
      s.point_displacement[k - 1] = s.point_displacement_entry(k) * c;
    }
  }
  fio::write(UNIT_RESULTS_REPORT, TABLE_L_REPORT_LAYOUT);
  if (s.point_run == 1) report_point(s);
  write_origin_tables(UNIT_RESULTS_REPORT, s);

  const int iterations = s.step == 0 ? 0 : s.iteration;
  fio::write(UNIT_RESULTS_REPORT, ITERATIONS_REPORT_LAYOUT, iterations);
  fio::write(UNIT_RUN_LOG, ITERATIONS_LOG_LAYOUT, iterations);
  fio::flush(UNIT_RUN_LOG);

  const std::string_view force_short = UnitLabels.force_short(), length = UnitLabels.moment_length();
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_HEADING, force_short, force_short, force_short, UnitLabels.dash(),
             length);
  write_scratch_row(s.cap_load, true);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_HEADING, length, length, UnitLabels.radians());
  write_scratch_row(s.displacement.data(), false);

  if (TargetDeflectionSearch.target_dof >= 1 && TargetDeflectionSearch.target_dof <= CAP_DOFS_2D) {
    TargetDeflectionSearch.computed = s.displacement(TargetDeflectionSearch.target_dof);
  }

  fio::write(UNIT_SUMMARY, TABLE_L_REPORT_LAYOUT);
  write_origin_tables(UNIT_SUMMARY, s);

  fio::write(UNIT_COMPUTATION_REPORT, TABLE_L_COMPUTATION_LAYOUT);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_LOAD_TITLE);
  write_computation_row(s.cap_load);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_DISPLACEMENT_TITLE);
  write_computation_row(s.displacement.data());

  UPDATE_CAP_ENVELOPE_2D(s.cap_load, s.displacement.data());

  if (c < 1.0 - RunConstants.tiny) {
    // A partial solution is never reported as completed.
    const double q = PERCENT * c;
    for (int unit : {UNIT_RUN_LOG, UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, PARTIAL_LOAD_LAYOUT, q);
    WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, q);
    // The print pass sees the loads and movements of the converged fraction.
    APPLY_LOAD_FRACTION_LOADS(c);
    APPLY_LOAD_FRACTION_MOVEMENTS(c);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

// The passive resistance of an embedded cap at the last base evaluation.
void report_passive(const State& s) {
  const double load = s.passive.load, position = s.passive.position;
  if (AnalysisControl.output_option >= 0) {
    const double row[3] = {KIPS_FROM_POUNDS(load), FEET_FROM_INCHES(position), FEET_FROM_INCHES(CapGeometry.width_zz)};
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      fio::write(unit, PASSIVE_TITLE_LAYOUT);
      fio::write(unit, PASSIVE_HEADING_LAYOUT, UnitLabels.force_short(), UnitLabels.length_large_short(),
                 UnitLabels.length_large_short());
      WRITE_CAP_VALUE_ROW(unit, REPORT_ROW, row, false);
    }
  }
  fio::write(UNIT_COMPUTATION_REPORT, PASSIVE_COMPUTATION_LAYOUT);
  WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, load);
  WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_GAP);
  WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, position);
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

void full_output_road(State& s, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  report_table_l(s);
  a.pass_mode = 1;
  if (RunOptions.cap_passive_option > 0 && CapPassiveElement.method <= PASSIVE_LAST_METHOD) report_passive(s);
  if (a.output_option > 0) {
    fio::write(UNIT_RESULTS_REPORT, TABLE_M_REPORT_LAYOUT);
    fio::write(UNIT_SUMMARY, TABLE_M_REPORT_LAYOUT);
  }

  // The final print pass fills the result stores of every pile row at U.
  CapSolverState2D::Vector3 forces;
  if (OPEN_FILE_FOR_WRITING(UNIT_PILE_RESULTS_SCRATCH, RunFiles.pile_results_scratch_file, status)) {
    FVEC2D(forces.data(), s.displacement.data(), status);
  }
  fio::close(UNIT_PILE_RESULTS_SCRATCH);
  if (status != STATUS_OK) return;

  // The writers read the run's print level and node step from AnalysisControl.
  ENVEWR2D(ENVELOPE_KIND_RUN, 0, status);
  if (DofRunMode.mode == DOF_RUN_NONE) ++a.first_run;
}

}  // namespace

void REPORT_CAP_SOLUTION_2D(CapSolverState2D& state, int& status) {
  report_warnings();
  if (state.road != CAP_ROAD_NO_CONVERGENCE) {
    if (TargetDeflectionSearch.active == 1) {
      for (int k = 1; k <= CAP_DOFS_2D; ++k) {
        state.result_load[k - 1] = state.applied(k);
        state.result_displacement[k - 1] = state.displacement(k);
      }
    }
    if (DofRunMode.mode == DOF_RUN_LEVELS) {
      state.road = CAP_ROAD_FLEXIBILITY_LEVEL;
    } else if (AnalysisControl.pushover_active > 0) {
      state.road = CAP_ROAD_PUSHOVER;
    } else if (TargetDeflectionSearch.active == 1 && TargetDeflectionSearch.state > 0) {
      state.road = CAP_ROAD_TARGET_SEARCH;
    } else {
      state.road = CAP_ROAD_FULL_OUTPUT;
    }
  }
  switch (state.road) {
    case CAP_ROAD_NO_CONVERGENCE:
      if (DofRunMode.mode == DOF_RUN_LEVELS) REPORT_FAILED_LEVEL_2D(state, status);
      WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
      if (AnalysisControl.pushover_active > 0) REPORT_PUSHOVER_NOT_ACHIEVED();
      if (TargetDeflectionSearch.active == 1) TargetDeflectionSearch.state = -1;
      break;
    case CAP_ROAD_FLEXIBILITY_LEVEL:
      REPORT_FLEXIBILITY_LEVEL_2D(state, status);
      break;
    case CAP_ROAD_PUSHOVER:
      REPORT_PUSHOVER_POINT_2D(state, status);
      break;
    case CAP_ROAD_TARGET_SEARCH:
      REPORT_TARGET_SEARCH_2D(state, status);
      break;
    default:
      full_output_road(state, status);
      break;
  }
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
