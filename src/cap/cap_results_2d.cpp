// What the reports of a solved 2D cap run print by their own layouts: the
// bearing and pull-out warnings of the last force evaluation, the tables of
// the origin and of the point of definition in TABLE L, the headings of the
// summary-scratch rows and the embedded cap's resistance. The roads and the
// order of TABLE L are shared with 3D (cap_roads.cpp, cap_full_output.hpp).
// Vectors are (X vertical, Y horizontal, rotation Z); loads print through
// the kip conversion, coordinates in feet or metres, displacements as
// computed.
#include <cmath>
#include <string>

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

namespace {

using State = CapSolverState2D;

// Warnings of the last force evaluation: bearing, then pull out.
//      ** WARNING **  SOME PILES, MAY FAIL IN BEARING!
constexpr const char* WARNING_LONG_LAYOUT[2] = {
    "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN BEARING!\",/,20X,\"AXIAL DISPLACEMENT ESTIMATED IS LARGER "
    "THAN\",/,20X,\"MAXIMUM DISPLACEMENT DEFINED\",\" IN LOAD-SETTLEMENT CURVE\")",
    "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN PULL OUT!\",/,20X,\"AXIAL DISPLACEMENT ESTIMATED IS SMALLER "
    "THAN\",/,20X,\"MINIMUM DISPLACEMENT DEFINED\",\" IN LOAD-SETTLEMENT CURVE\")"};
constexpr const char* WARNING_SHORT_LAYOUT[2] = {"(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN BEARING!\")",
                                                 "(/,5X,\"** WARNING **  \",\"SOME PILES, MAY FAIL IN PULL OUT!\")"};

// Point tables of a point run.
constexpr const char* POINT_TITLE_LAYOUT = "(/,/,5X,\"* POINT OF DEFINITION\",\" DISPLACEMENT/LOADS *\")";
//             COORD. X ,FT         COORD. Y ,FT
constexpr const char* POINT_COORDINATES_LAYOUT = "(/,10X,\"  COORD. X ,\",A2,6X,\"   COORD. Y ,\",A2)";
constexpr const char* POINT_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* CONCENTRATED LOAD\",\" AT SPECIFIED POINT *\")";
constexpr const char* POINT_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT SPECIFIED POINT *\")";

//           NUMBER OF ITERATIONS =   3
constexpr const char* ITERATIONS_REPORT_LAYOUT = "(/,/,10X,\"NUMBER OF ITERATIONS = \",I3)";

// Summary scratch: the headings of the rows of three.
//            LOAD X,KIP     LOAD Y,KIP    MOM Z,KIP-IN
constexpr const char* SCRATCH_LOAD_HEADING = "(11X,\"LOAD X,\",A3,5X,\"LOAD Y,\",A3,3X,\" MOM Z,\",A3,A1,A2)";
//             DISP X,IN      DISP Y,IN      ROT Z,RAD
constexpr const char* SCRATCH_DISPLACEMENT_HEADING = "(12X,\"DISP X,\",A2,6X,\"DISP Y,\",A2,5X,\" ROT Z,\",A3)";

// Passive resistance of an embedded cap.
constexpr const char* PASSIVE_TITLE_LAYOUT = "(/,/,5X,\"* PASSIVE RESISTANCE IN PILE CAP *\")";
//               HORI. LOAD,KIP      POSITION,FT      EQ. DIAM,FT
constexpr const char* PASSIVE_HEADING_LAYOUT = "(14X,\"HORI. LOAD,\",A3,6X,\"POSITION,\",A2,6X,\"EQ. DIAM,\",A2)";
constexpr const char* PASSIVE_COMPUTATION_LAYOUT = "(\"* PASSIVE RESISTANCE IN PILE CAP *\")";

// Field widths of the rows.
constexpr int REPORT_FIELD_DIGITS = 5;
constexpr CapRowFields REPORT_ROW = {10, 18, REPORT_FIELD_DIGITS};
constexpr CapRowFields COORDINATE_ROW = {5, 19, REPORT_FIELD_DIGITS};
constexpr int SOLVER_ROTATION_GAP = 5;

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

// The equivalent load and the displacement at the origin (results and
// summary reports).
void write_origin_tables(int unit, const State& s) {
  WRITE_CAP_LOAD_TITLE(unit);
  WRITE_CAP_LOAD_TABLE_2D(unit, REPORT_ROW, s.cap_load, nullptr);
  WRITE_CAP_DISPLACEMENT_TITLE(unit);
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
// the last converged iteration (after an abandoned step the last residual
// belongs to an iterate that never converged); the point tables follow when
// the point is not the origin.
void report_point(State& s) {
  COPY_VECTOR3(s.converged_force.data(), s.cap_load);
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

// The passive resistance of an embedded cap in the last converged step (a
// partial run's failed attempt leaves its own in the last evaluation).
void report_passive(const State& s) {
  const double load = s.converged_passive.load, position = s.converged_passive.position;
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
  const double computation_row[2] = {load, position};
  cap_output::write_computation_row(computation_row, 2, false);
}

// What the plane full output prints by its own layouts.
struct CapReport2D : CapDimension2D {
  static constexpr const char* ITERATIONS_REPORT_LAYOUT = pilecap::ITERATIONS_REPORT_LAYOUT;
  // The plane's summary scratch holds the rows of TABLE L without the titles
  // of TABLE L and M.
  static constexpr bool SCRATCH_TABLE_TITLES = false;
  static void report_point(State& s) { pilecap::report_point(s); }
  static void write_origin_tables(int unit, const State& s) { pilecap::write_origin_tables(unit, s); }
  static void write_scratch_load_heading() {
    const std::string_view force_short = UnitLabels.force_short();
    fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_LOAD_HEADING, force_short, force_short, force_short, UnitLabels.dash(),
               UnitLabels.moment_length());
  }
  static void write_scratch_displacement_heading() {
    const std::string_view length = UnitLabels.moment_length();
    fio::write(UNIT_SUMMARY_SCRATCH, SCRATCH_DISPLACEMENT_HEADING, length, length, UnitLabels.radians());
  }
  static void update_envelope(const State& s) { UPDATE_CAP_ENVELOPE_2D(s.cap_load, s.displacement.data()); }
  static void report_passive(const State& s) { pilecap::report_passive(s); }
};

}  // namespace

void REPORT_CAP_WARNINGS_2D() { report_warnings(); }

void REPORT_FULL_OUTPUT_2D(CapSolverState2D& state, int& status) { REPORT_FULL_OUTPUT<CapReport2D>(state, status); }

}  // namespace pilecap
