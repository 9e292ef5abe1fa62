// What the reports of a solved 3D cap run print by their own layouts: the
// bearing, pull-out and torsion warnings of the last force evaluation, the
// tables of the origin and of the point of definition in TABLE L, the headings of the
// summary-scratch rows and the embedded cap's resistance. The roads and the
// order of TABLE L are shared with 2D (cap_roads.cpp, cap_full_output.hpp).
// Cap vectors are six doubles (X vertical, Y, Z, then rotations); loads
// print through the kip conversion, coordinates in feet or metres,
// displacements as computed.
#include <cmath>
#include <string>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_solver.hpp"
#include "cap/cap_vectors.hpp"
#include "capstiffness/capstiffness.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "results/results.hpp"

namespace pilecap {

DofRunModeRecord DofRunMode;

namespace {

using State = CapSolverState3D;

constexpr int FORCE_DOFS = 3;
constexpr int EXTEND_CURVES = 1;

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

// Point tables of a point run.
constexpr const char* POINT_TITLE_LAYOUT = "(/,/,5X,\"* POINT OF DEFINITION\",\" DISPLACEMENT/LOADS *\")";
//             COORD. X , M         COORD. Y , M        COORD. Z , M
constexpr const char* POINT_COORDINATES_LAYOUT =
    "(/,/,10X,\"  COORD. X ,\",A2,6X,\"   COORD. Y ,\",A2,5X,\"   COORD. Z ,\",A2)";
constexpr const char* POINT_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* CONCENTRATED LOAD\",\" AT SPECIFIED POINT *\")";
constexpr const char* POINT_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT SPECIFIED POINT *\")";

//           NUMBER OF GLOBAL ITERATIONS =    3
constexpr const char* ITERATIONS_REPORT_LAYOUT = "(/,/,10X,\"NUMBER OF GLOBAL ITERATIONS = \",I4)";

// Summary scratch: the headings of the rows of six.
//              LOAD X, KN     LOAD Y, KN     LOAD Z, KN   MOM X, KN- M   MOM Y, KN- M   MOM Z, KN- M
constexpr const char* SCRATCH_LOAD_HEADING =
    "(8X,3X,\"LOAD X,\",A3,2X,3X,\"LOAD Y,\",A3,2X,3X,\"LOAD Z,\",A3,2X,1X,\" MOM X,\",A3,A1,A2,1X,1X,\" MOM Y,\",A3,"
    "A1,A2,1X,1X,\" MOM Z,\",A3,A1,A2)";
constexpr const char* SCRATCH_DISPLACEMENT_HEADING =
    "(8X,4X,\"DISP X,\",A2,2X,4X,\"DISP Y,\",A2,2X,4X,\"DISP Z,\",A2,2X,3X,\" ROT X,\",A3,2X,3X,\" ROT Y,\",A3,2X,3X,"
    "\" ROT Z,\",A3)";

// Passive resistance of an embedded cap.
constexpr const char* PASSIVE_TITLE_LAYOUT = "(/,/,5X,\"* PASSIVE RESISTANCE IN PILE CAP *\")";
constexpr const char* PASSIVE_HEADING_LAYOUT =
    "(/,5X,8X,\"HOR. LOAD Y,\",A3,4X,\"HOR. LOAD Z,\",A3,6X,\"POSITION,\",A3,6X,\"EQ. DIAM,\",A3)";
constexpr const char* PASSIVE_COMPUTATION_LAYOUT = "(\"* PASSIVE RESISTANCE IN PILE CAP *\")";

// Field widths of the rows.
constexpr int REPORT_FIELD_DIGITS = 5;
constexpr CapRowFields REPORT_ROW = {5, 19, REPORT_FIELD_DIGITS};
constexpr int COMPUTATION_FIELD_GAP = 5;

// The equivalent load and the displacement at the origin (results and
// summary reports).
void write_origin_tables(int unit, const State& s) {
  WRITE_CAP_LOAD_TITLE(unit);
  WRITE_CAP_LOAD_TABLE(unit, REPORT_ROW, s.cap_load, nullptr);
  WRITE_CAP_DISPLACEMENT_TITLE(unit);
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

// The warning texts of the last base evaluation: one heading per warning
// kind, then the lines the evaluation left on the axial-warning file. A
// file that cannot be read or ends early stops the copy: no line is made up.
void report_warnings() {
  const WarningCountersRecord& w = WarningCounters;
  const int counts[3] = {w.bearing, w.pull_out, w.torsion};
  const bool to_results = WARNINGS_TO_RESULTS_REPORT();
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

// The passive resistance of an embedded cap in the last converged step (a
// partial run's failed attempt leaves its own in the last evaluation).
void report_passive(const State& s) {
  const double fy = std::abs(s.converged_passive_force(2)), fz = std::abs(s.converged_passive_force(3));
  const double position = s.converged_passive_position;
  if (AnalysisControl.output_option >= 0) {
    const double row[4] = {KIPS_FROM_POUNDS(fy), KIPS_FROM_POUNDS(fz), FEET_FROM_INCHES(position),
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
    const double row[3] = {fy, fz, position};
    cap_output::write_computation_row(row, 3, false);
  }
}

// What the 3D full output prints by its own layouts.
struct CapReport3D : CapDimension3D {
  static constexpr const char* ITERATIONS_REPORT_LAYOUT = pilecap::ITERATIONS_REPORT_LAYOUT;
  // The titles of TABLE L and M also head their parts of the summary scratch.
  static constexpr bool SCRATCH_TABLE_TITLES = true;
  static void report_point(State& s) { pilecap::report_point(s); }
  static void write_origin_tables(int unit, const State& s) { pilecap::write_origin_tables(unit, s); }
  static void write_scratch_load_heading() {
    const std::string_view force_short = UnitLabels.force_short(), length = UnitLabels.moment_length();
    fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_HEADING, force_short, force_short, force_short, force_short,
               UnitLabels.dash(), length, force_short, UnitLabels.dash(), length, force_short, UnitLabels.dash(),
               length);
  }
  static void write_scratch_displacement_heading() {
    const std::string_view length = UnitLabels.moment_length();
    fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_HEADING, length, length, length, UnitLabels.radians(),
               UnitLabels.radians(), UnitLabels.radians());
  }
  static void update_envelope(const State& s) { UPDATE_CAP_ENVELOPE(s.cap_load, s.displacement.data()); }
  static void report_passive(const State& s) { pilecap::report_passive(s); }
};

}  // namespace

void REPORT_CAP_WARNINGS_3D() { report_warnings(); }

void REPORT_FULL_OUTPUT_3D(CapSolverState3D& state, int& status) { REPORT_FULL_OUTPUT<CapReport3D>(state, status); }

}  // namespace pilecap
