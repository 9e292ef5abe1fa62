// The reports of a solved 3D cap run: the bearing, pull-out and torsion
// warnings of the last force evaluation, then one result road. The full
// output prints TABLE L (equivalent load and cap displacement at the origin,
// and at the point of definition of a point run) on the results, summary,
// summary-scratch and computation reports, folds the run into the cap
// envelope, and makes the final print pass of the group force vector that
// fills the result stores for the per-pile tables. Cap vectors are six
// doubles (X vertical, Y, Z, then rotations); loads print through the kip
// conversion, coordinates in feet or metres, displacements as computed.
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

DofRunModeRecord DofRunMode;

namespace {

using State = CapSolverState3D;

constexpr int FORCE_DOFS = 3;
constexpr int EXTEND_CURVES = 1;
constexpr int PMULT_PREDEFINED_FIRST = 3;  // methods 3 and 4 use a predefined movement
constexpr int PMULT_PREDEFINED_LAST = 4;
constexpr int PASSIVE_LAST_METHOD = 1;
constexpr double PERCENT = 100.0;

// Positions of the symbol characters in UnitLabels.

// Warnings of the last force evaluation, by kind: bearing, pull out, torsion.
//      ** WARNING **  SOME PILES MAY FAIL IN BEARING!
constexpr const char* WARNING_LONG_LAYOUT[3] = {
    "(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN BEARING!\",/,5X,15X,\"AXIAL DISPLACEMENT ESTIMATED IS "
    "LARGER THAN\",/,5X,15X,\"MAXIMUM DISPLACEMENT DEFINED\",\" IN AXIAL LOAD-DISPLACEMENT CURVE\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN PULL OUT!\",/,5X,15X,\"AXIAL DISPLACEMENT ESTIMATED IS "
    "SMALLER THAN\",/,5X,15X,\"MINIMUM DISPLACEMENT DEFINED\",\" IN AXIAL LOAD-DISPLACEMENT CURVE\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN TORSION!\",/,5X,15X,\"TORSIONAL ROTATION ESTIMATED IS "
    "LARGER/SMALLER\",/,5X,15X,\"THAN MAXIMUM/MINIMUM ROTATION DEFINED\",\" IN TORQUE-ROTATION CURVE\")"};
constexpr const char* WARNING_SHORT_LAYOUT[3] = {"(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN BEARING!\")",
                                                 "(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN PULL OUT!\")",
                                                 "(/,5X,\"** WARNING **  \",\"SOME PILES MAY FAIL IN TORSION!\")"};
//      ** WARNING **  SOME PILES REACHED MAXIMUM IN BEARING!
constexpr const char* WARNING_MAXIMUM_LAYOUT[3] = {
    "(/,5X,\"** WARNING **  \",\"SOME PILES REACHED MAXIMUM\",\" IN BEARING!\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES REACHED MAXIMUM\",\" IN PULL OUT!\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES REACHED MAXIMUM\",\" IN TORSION!\")"};

// Reduction factors for closely spaced piles.
constexpr const char* PMULT_PREDEFINED_LAYOUT =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS, COMBINED Y AND Z DIRECTIONS\",/,7X,\"USING A "
    "PREDEFINED MOVEMENT\",7X,\"                                 \",/,7X,\"     GROUP NO     P-FACTOR     "
    "Y-FACTOR        \",/)";
constexpr const char* PMULT_DIRECTION_LAYOUT =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS, COMBINED Y AND Z DIRECTIONS\",/,7X,\"ESTIMATED "
    "USING MOVEMENT IN\",1X,\"THE DIRECTION OF PILE CAP DISPLACEMENTS\",/,7X,\"                                 \",/,"
    "7X,\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)";
constexpr const char* PMULT_COMPUTATION_LAYOUT = "(7X,\"*REDUCTION FACTORS FOR CLOSELY-SPACED PILE*\")";

//      * TABLE L *   COMPUTATION ON PILE CAP
constexpr const char* TABLE_L_SCRATCH_LAYOUT = "(/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* TABLE_L_REPORT_LAYOUT = "(/,/,/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* TABLE_L_COMPUTATION_LAYOUT = "(5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";

// Point tables of a point run.
constexpr const char* POINT_TITLE_LAYOUT = "(/,/,5X,\"* POINT OF DEFINITION\",\" DISPLACEMENT/LOADS *\")";
//             COORD. X , M         COORD. Y , M        COORD. Z , M
constexpr const char* POINT_COORDINATES_LAYOUT =
    "(/,/,10X,\"  COORD. X ,\",A2,6X,\"   COORD. Y ,\",A2,5X,\"   COORD. Z ,\",A2)";
constexpr const char* POINT_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* CONCENTRATED LOAD\",\" AT SPECIFIED POINT *\")";
constexpr const char* POINT_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT SPECIFIED POINT *\")";

constexpr const char* ORIGIN_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* ORIGIN_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")";

//           NUMBER OF GLOBAL ITERATIONS =    3
constexpr const char* ITERATIONS_REPORT_LAYOUT = "(/,/,10X,\"NUMBER OF GLOBAL ITERATIONS = \",I4)";
constexpr const char* ITERATIONS_LOG_LAYOUT = "(/,10X,\"NUMBER OF GLOBAL ITERATIONS = \",I4,/)";

// Summary scratch: one row of six per table.
constexpr const char* SCRATCH_LOAD_TITLE_LAYOUT = "(/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
//              LOAD X, KN     LOAD Y, KN     LOAD Z, KN   MOM X, KN- M   MOM Y, KN- M   MOM Z, KN- M
constexpr const char* SCRATCH_LOAD_HEADING =
    "(8X,3X,\"LOAD X,\",A3,2X,3X,\"LOAD Y,\",A3,2X,3X,\"LOAD Z,\",A3,2X,1X,\" MOM X,\",A3,A1,A2,1X,1X,\" MOM Y,\",A3,"
    "A1,A2,1X,1X,\" MOM Z,\",A3,A1,A2)";
constexpr const char* SCRATCH_DISPLACEMENT_TITLE_LAYOUT =
    "(/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")";
constexpr const char* SCRATCH_DISPLACEMENT_HEADING =
    "(8X,4X,\"DISP X,\",A2,2X,4X,\"DISP Y,\",A2,2X,4X,\"DISP Z,\",A2,2X,3X,\" ROT X,\",A3,2X,3X,\" ROT Y,\",A3,2X,3X,"
    "\" ROT Z,\",A3)";

// Computation report: unconverted rows.
constexpr const char* COMPUTATION_LOAD_TITLE = "(\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* COMPUTATION_DISPLACEMENT_TITLE = "(\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";

//      ** WARNING **    VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD
//                       RESULTS ARE FOR    50.00% OF THE TOTAL LOAD
constexpr const char* PARTIAL_LOAD_LAYOUT =
    "(/,5X,\"** WARNING **  \",\"  VELTO COULD NOT GET SOLUTION FOR 100% OF THE LOAD\",/,5X,\"               \",\"  "
    "RESULTS ARE FOR \",F8.2,\"% OF THE TOTAL LOAD\",/)";

// Passive resistance of an embedded cap.
constexpr const char* PASSIVE_TITLE_LAYOUT = "(/,/,5X,\"* PASSIVE RESISTANCE IN PILE CAP *\")";
constexpr const char* PASSIVE_HEADING_LAYOUT =
    "(/,5X,8X,\"HOR. LOAD Y,\",A3,4X,\"HOR. LOAD Z,\",A3,6X,\"POSITION,\",A3,6X,\"EQ. DIAM,\",A3)";
constexpr const char* PASSIVE_COMPUTATION_LAYOUT = "(\"* PASSIVE RESISTANCE IN PILE CAP *\")";

//      * TABLE M *   COMPUTATION ON INDIVIDUAL PILE
constexpr const char* TABLE_M_REPORT_LAYOUT = "(/,/,/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";
constexpr const char* TABLE_M_SCRATCH_LAYOUT = "(/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";

// Field widths of the rows.
constexpr int REPORT_FIELD_DIGITS = 5;
constexpr CapRowFields REPORT_ROW = {5, 19, REPORT_FIELD_DIGITS};
constexpr int SCRATCH_ROW_INDENT = 7;
constexpr int SCRATCH_FIELD_WIDTH = 15;
constexpr int COMPUTATION_FIELD_WIDTH = 18;
constexpr int COMPUTATION_FIELD_DIGITS = 8;
constexpr int COMPUTATION_FIELD_GAP = 5;
constexpr int PMULT_INDENT = 12;
constexpr int PMULT_PILE_WIDTH = 5;
constexpr int PMULT_GAP = 5;
constexpr int PMULT_FIELD_WIDTH = 12;
constexpr int PMULT_FIELD_DIGITS = 4;
constexpr int PMULT_COMPUTATION_PILE_WIDTH = 10;
constexpr int PMULT_COMPUTATION_GAP = 4;

bool results_report_taken() { return AnalysisControl.analysis_kind <= 0 && AnalysisControl.pushover_active <= 0; }

// The equivalent load and the displacement at the origin (results and
// summary reports).
void write_origin_tables(int unit, const State& s) {
  fio::write(unit, ORIGIN_LOAD_TITLE_LAYOUT);
  WRITE_CAP_LOAD_TABLE(unit, REPORT_ROW, s.cap_load, nullptr);
  fio::write(unit, ORIGIN_DISPLACEMENT_TITLE_LAYOUT);
  WRITE_CAP_DISPLACEMENT_TABLE(unit, REPORT_ROW, s.displacement.data(), nullptr);
}

// The point tables of a point run whose point is not the origin.
void write_point_tables(int unit, const State& s, const double* u_point, const double* f_point, const char* load_marks,
                        const char* displacement_marks) {
  const std::string_view length = UnitLabels.length_large_short();
  fio::write(unit, POINT_TITLE_LAYOUT);
  fio::write(unit, POINT_COORDINATES_LAYOUT, length, length, length);
  const double coordinates[FORCE_DOFS] = {FEET_FROM_INCHES(s.point[0]), FEET_FROM_INCHES(s.point[1]),
                                          FEET_FROM_INCHES(s.point[2])};
  WRITE_CAP_VALUE_ROW(unit, REPORT_ROW, coordinates, false);
  fio::write(unit, POINT_LOAD_TITLE_LAYOUT);
  WRITE_CAP_LOAD_TABLE(unit, REPORT_ROW, f_point, load_marks);
  fio::write(unit, POINT_DISPLACEMENT_TITLE_LAYOUT);
  WRITE_CAP_DISPLACEMENT_TABLE(unit, REPORT_ROW, u_point, displacement_marks);
}

// One row of the six values of a cap vector on the summary scratch.
void write_scratch_row(const double* values, bool kips) {
  WRITE_BLANKS(UNIT_SUMMARY_SCRATCH, SCRATCH_ROW_INDENT);
  for (int k = 0; k < CAP_DOFS; ++k) {
    WRITE_REAL_FIELD(UNIT_SUMMARY_SCRATCH, SCRATCH_FIELD_WIDTH, REPORT_FIELD_DIGITS,
                     kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
  }
  END_REPORT_LINE(UNIT_SUMMARY_SCRATCH);
}

// One unconverted row of values on the computation report with a gap
// between them, and after the last one too when trailing_gap is set.
void write_computation_row(const double* values, int count, bool trailing_gap) {
  for (int k = 0; k < count; ++k) {
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, values[k]);
    if (k + 1 < count || trailing_gap) WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_GAP);
  }
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

// The warning texts of the last base evaluation: one heading per warning
// kind, then the lines the evaluation left on the axial-warning file. A
// file that cannot be read or ends early stops the copy: no line is made up.
void report_warnings() {
  const WarningCountersRecord& w = WarningCounters;
  const int counts[3] = {w.bearing, w.pull_out, w.torsion};
  const bool to_results = results_report_taken();
  const bool maximum = RunOptions.extend_curve_interpolation == EXTEND_CURVES;
  for (int kind = 0; kind < 3; ++kind) {
    if (counts[kind] <= 0) continue;
    if (to_results) fio::write(UNIT_RESULTS_REPORT, WARNING_LONG_LAYOUT[kind]);
    fio::write(UNIT_RUN_LOG, maximum ? WARNING_MAXIMUM_LAYOUT[kind] : WARNING_SHORT_LAYOUT[kind]);
    PileErrorWord.code = PILE_ERR_AXIAL_WARNINGS;
  }
  if (PileErrorWord.code != PILE_ERR_AXIAL_WARNINGS) return;

  COPY_AXIAL_WARNING_LINES(counts[0] + counts[1] + counts[2], to_results);
  if (TargetDeflectionSearch.active == 1) TargetDeflectionSearch.state = -1;
}

void no_convergence_road(const State& s, int& status) {
  if (DofRunMode.mode == DOF_RUN_LEVELS) REPORT_FAILED_LEVEL_3D(s, status);
  WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
  if (AnalysisControl.pushover_active > 0) REPORT_PUSHOVER_NOT_ACHIEVED();
  if (TargetDeflectionSearch.active == 1) TargetDeflectionSearch.state = -1;
}

// The reduction factors of the last blend, per pile.
void report_reduction_factors() {
  const int method = RunOptions.pmult_method;
  const bool predefined = method >= PMULT_PREDEFINED_FIRST && method <= PMULT_PREDEFINED_LAST;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, predefined ? PMULT_PREDEFINED_LAYOUT : PMULT_DIRECTION_LAYOUT);
  }
  fio::write(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_LAYOUT);
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const double p_factor = ClosePileFactors.p_factor_1(p), y_factor = ClosePileFactors.y_factor_1(p);
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      WRITE_BLANKS(unit, PMULT_INDENT);
      WRITE_INT_FIELD(unit, PMULT_PILE_WIDTH, p);
      WRITE_BLANKS(unit, PMULT_GAP);
      WRITE_REAL_FIELD(unit, PMULT_FIELD_WIDTH, PMULT_FIELD_DIGITS, p_factor);
      WRITE_BLANKS(unit, 1);
      WRITE_REAL_FIELD(unit, PMULT_FIELD_WIDTH, PMULT_FIELD_DIGITS, y_factor);
      END_REPORT_LINE(unit);
    }
    WRITE_INT_FIELD(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_PILE_WIDTH, p);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_GAP);
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, p_factor);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_GAP);
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, y_factor);
    END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
  }
}

// A point run: the printed equivalent load is the negated force vector of
// the last converged iteration (after an abandoned step the last residual
// belongs to an iterate that never converged); the point tables follow when
// the point is not the origin, with the markers of the given values on the
// results report.
void report_point(State& s) {
  Array1<double, CAP_DOFS> u_point{}, f_point{};
  NEGATE_VECTOR6(s.converged_force.data(), s.cap_load);
  int moved = 0;
  TRANSFER_ORIGIN_POINT(s.displacement.data(), s.cap_load, s.point, u_point.data(), f_point.data(),
                        s.point_load_working.data(), s.dof_flags, moved);
  char load_marks[CAP_DOFS], displacement_marks[CAP_DOFS];
  DOF_FLAG_CHARACTERS(s.dof_flags, load_marks, displacement_marks);
  if (moved != 1) return;
  write_point_tables(UNIT_RESULTS_REPORT, s, u_point.data(), f_point.data(), load_marks, displacement_marks);
  write_point_tables(UNIT_SUMMARY, s, u_point.data(), f_point.data(), nullptr, nullptr);
}

// TABLE L of the run on every report, the cap envelope, and the result code
// (with the partial-load warning when the run stopped below full load).
void report_table_l(State& s) {
  const double c = s.converged_fraction;
  for (int k = 1; k <= CAP_DOFS; ++k) s.cap_load[k - 1] = s.full_load(k) * c;
  if (s.point_run == 1) {
    for (int k = 1; k <= CAP_DOFS; ++k) {
      s.point_load_working(k) = s.point_load[k - 1] * c;
      s.point_displacement[k - 1] = s.point_displacement_entry(k) * c;
    }
  }
  fio::write(UNIT_SUMMARY_SCRATCH, TABLE_L_SCRATCH_LAYOUT);
  fio::write(UNIT_RESULTS_REPORT, TABLE_L_REPORT_LAYOUT);
  if (s.point_run == 1) report_point(s);
  write_origin_tables(UNIT_RESULTS_REPORT, s);

  const int iterations = s.step == 0 ? 0 : s.iteration;
  fio::write(UNIT_RESULTS_REPORT, ITERATIONS_REPORT_LAYOUT, iterations);
  fio::write(UNIT_RUN_LOG, ITERATIONS_LOG_LAYOUT, iterations);
  fio::flush(UNIT_RUN_LOG);

  const std::string_view force_short = UnitLabels.force_short(), length = UnitLabels.moment_length();
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_HEADING, force_short, force_short, force_short, force_short,
             UnitLabels.dash(), length, force_short, UnitLabels.dash(), length, force_short, UnitLabels.dash(), length);
  write_scratch_row(s.cap_load, true);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_HEADING, length, length, length, UnitLabels.radians(),
             UnitLabels.radians(), UnitLabels.radians());
  write_scratch_row(s.displacement.data(), false);

  if (TargetDeflectionSearch.target_dof >= 1 && TargetDeflectionSearch.target_dof <= CAP_DOFS) {
    TargetDeflectionSearch.computed = s.displacement(TargetDeflectionSearch.target_dof);
  }

  fio::write(UNIT_SUMMARY, TABLE_L_REPORT_LAYOUT);
  write_origin_tables(UNIT_SUMMARY, s);

  fio::write(UNIT_COMPUTATION_REPORT, TABLE_L_COMPUTATION_LAYOUT);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_LOAD_TITLE);
  write_computation_row(s.cap_load, CAP_DOFS, true);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_DISPLACEMENT_TITLE);
  write_computation_row(s.displacement.data(), CAP_DOFS, true);

  UPDATE_CAP_ENVELOPE(s.cap_load, s.displacement.data());

  int code = RESULT_COMPLETED;
  double percent = 0.0;
  CAP_RESULT_CODE_3D(s, code, percent);
  if (code == RESULT_PARTIAL_LOAD) {
    const double q = PERCENT * c;
    for (int unit : {UNIT_RUN_LOG, UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, PARTIAL_LOAD_LAYOUT, q);
    WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, q);
    // The print pass sees the loads and movements of the converged fraction;
    // the failed attempt left them, the movement profile too, at its own.
    APPLY_LOAD_FRACTION_LOADS(c);
    APPLY_LOAD_FRACTION_MOVEMENTS(c);
    APPLY_LOAD_FRACTION_PROFILE(c);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

// The passive resistance of an embedded cap at the solution.
void report_passive(const State& s) {
  const double fy = std::abs(s.passive_force(2)), fz = std::abs(s.passive_force(3));
  if (AnalysisControl.output_option >= 0) {
    const double row[4] = {KIPS_FROM_POUNDS(fy), KIPS_FROM_POUNDS(fz), FEET_FROM_INCHES(s.passive_position),
                           FEET_FROM_INCHES(CapGeometry.width_zz)};
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      fio::write(unit, PASSIVE_TITLE_LAYOUT);
      fio::write(unit, PASSIVE_HEADING_LAYOUT, UnitLabels.force_short(), UnitLabels.force_short(),
                 UnitLabels.length_large(), UnitLabels.length_large_short());
      WRITE_BLANKS(unit, REPORT_ROW.lead);
      for (double v : row) WRITE_REAL_FIELD(unit, REPORT_ROW.width, REPORT_ROW.digits, v);
      END_REPORT_LINE(unit);
    }
  } else {
    fio::write(UNIT_COMPUTATION_REPORT, PASSIVE_COMPUTATION_LAYOUT);
    const double row[3] = {fy, fz, s.passive_position};
    write_computation_row(row, 3, false);
  }
}

void full_output_road(State& s, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  if (RunOptions.pmult_method > 0) report_reduction_factors();
  report_table_l(s);
  a.pass_mode = 1;
  if (RunOptions.cap_passive_option > 0 && CapPassiveElement.method <= PASSIVE_LAST_METHOD) report_passive(s);
  if (a.output_option > 0) {
    fio::write(UNIT_RESULTS_REPORT, TABLE_M_REPORT_LAYOUT);
    fio::write(UNIT_SUMMARY, TABLE_M_REPORT_LAYOUT);
    fio::write(UNIT_SUMMARY_SCRATCH, TABLE_M_SCRATCH_LAYOUT);
  }

  // The final print pass fills the result stores of every pile at U.
  Array1<double, CAP_DOFS> forces;
  if (!OPEN_FILE_FOR_WRITING(UNIT_PILE_RESULTS_SCRATCH, RunFiles.pile_results_scratch_file, status)) {
    a.pass_mode = 0;
    return;
  }
  FVEC(forces.data(), s.displacement.data(), status);
  fio::close(UNIT_PILE_RESULTS_SCRATCH);

  // The writers read the run's print level and node step from AnalysisControl.
  ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  if (DofRunMode.mode == DOF_RUN_NONE) ++a.first_run;
  a.pass_mode = 0;
}

}  // namespace

void REPORT_CAP_SOLUTION_3D(CapSolverState3D& state, int& status) {
  report_warnings();
  if (state.road != CAP_ROAD_NO_CONVERGENCE) {
    if (TargetDeflectionSearch.active == 1) {
      for (int k = 1; k <= CAP_DOFS; ++k) {
        state.result_load[k - 1] = state.cap_load[k - 1];
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
      no_convergence_road(state, status);
      break;
    case CAP_ROAD_FLEXIBILITY_LEVEL:
      REPORT_FLEXIBILITY_LEVEL_3D(state, status);
      break;
    case CAP_ROAD_PUSHOVER:
      REPORT_PUSHOVER_POINT_3D(state, status);
      break;
    case CAP_ROAD_TARGET_SEARCH:
      REPORT_TARGET_SEARCH_3D(state, status);
      break;
    default:
      full_output_road(state, status);
      break;
  }
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
