// The frame of one degree-of-freedom run of the cap flexibility estimation:
// its heading or, without a case load in the DOF, its skipped levels with
// their marker records; after the levels the table of the levels read back
// from the DOF-run steps file (applied value and cap displacements at the
// origin) and the table of the DOF's flexibility coefficients. The reports
// print forces through the kip conversion and coefficients per kip; the
// computation report prints internal units. DOFs and levels are 1-based.
#include <cmath>
#include <span>
#include <string_view>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// Headings of DOF d (index d - 1): results and summary reports, then the
// computation report; the 2D model's third DOF is its moment Z.
constexpr const char* DOF_HEADINGS[CAP_DOFS] = {"DOF   : 1 (FORCE X)",  "DOF   : 2 (FORCE Y)",  "DOF   : 3 (FORCE Z)",
                                                "DOF   : 4 (MOMENT X)", "DOF   : 5 (MOMENT Y)", "DOF   : 6 (MOMENT Z)"};
constexpr const char* DOF_SHORT_HEADINGS[CAP_DOFS] = {"CAP FLEX., 1, FORCE X",  "CAP FLEX., 2, FORCE Y",
                                                      "CAP FLEX., 3, FORCE Z",  "CAP FLEX., 4, MOMENT X",
                                                      "CAP FLEX., 5, MOMENT Y", "CAP FLEX., 6, MOMENT Z"};
constexpr const char* MOMENT_Z_HEADING_2D = "DOF   : 3 (MOMENT Z)";
constexpr const char* MOMENT_Z_SHORT_HEADING_2D = "CAP FLEX., 3, MOMENT Z";
//
//      DOF   : 2 (FORCE Y)
constexpr const char* HEADING_LAYOUT = "(/,5X,A)";
constexpr const char* SHORT_HEADING_LAYOUT = "(5X,A)";
constexpr const char* NOT_CONSIDERED_LAYOUT =
    "(/,\"             DOF NOT CONSIDERED\",\" SINCE APPLIED FORCE AT CAP IS ZERO\")";

// A level's number, left open for the fields that follow.
//         2  (then the fields)
constexpr const char* LEVEL_OPEN_LAYOUT = "(5X,I5,2X,\\)";
//          2     NO CONVERGENCE ON PILE CAP
constexpr const char* NO_CONVERGENCE_LAYOUT = "(5X,I5,5X,\"NO CONVERGENCE ON PILE CAP\")";

// Levels table headings (results report).
constexpr const char* LEVELS_FORCE_3D =
    "(/,5X,\"    N\",5X,\"FORCE,\",A3,1X,/,5X,\"     \",5X,\"DISP X,\",A2,1X,5X,\"DISP Y,\",A2,1X,5X,\"DISP Z,\",A2,1X,"
    "5X,\"ROT X,\",A3,1X,5X,\"ROT Y,\",A3,1X,5X,\"ROT Z,\",A3)";
constexpr const char* LEVELS_MOMENT_3D =
    "(/,5X,\"    N\",2X,\"MOMENT,\",A3,A1,A2,/,5X,\"     \",5X,\"DISP X,\",A2,1X,5X,\"DISP Y,\",A2,1X,5X,\"DISP "
    "Z,\",A2,"
    "1X,5X,\"ROT X,\",A3,1X,5X,\"ROT Y,\",A3,1X,5X,\"ROT Z,\",A3)";
constexpr const char* LEVELS_FORCE_2D =
    "(/,5X,\"    N\",7X,\"FORCE,\",A3,5X,\"VERT. DISP,\",A2,4X,\"HOR. DISP Y,\",A2,4X,\"ROTATION Z,\",A3)";
constexpr const char* LEVELS_MOMENT_2D =
    "(/,5X,\"    N\",5X,\"MOMENT,\",A3,A1,A2,3X,\"VERT. DISP,\",A2,4X,\"HOR. DISP Y,\",A2,4X,\"ROTATION Z,\",A3)";

// Flexibility table headings: S followed by the row and the DOF.
//          N         S12            S22   ...
constexpr const char* COEFFICIENTS_3D = "(/,5X,\"    N\",6(9X,\"S\",I1,I1,3X))";
constexpr const char* COEFFICIENTS_2D = "(/,5X,\"    N\",2X,3(9X,\"S\",I1,I1,6X))";
// Their units rows: a displacement or rotation per force or moment.
constexpr const char* UNITS_FORCE_3D = "(9X,3(7X,A2,A1,A3,2X),2(6X,A3,A1,A3,2X),6X,A3,A1,A3)";
constexpr const char* UNITS_MOMENT_3D = "(9X,3(5X,A2,A1,A2,A1,A3,1X),3(5X,A3,A1,A2,A1,A3))";
constexpr const char* UNITS_FORCE_2D = "(15X,2(5X,A2,A1,A3,7X),4X,A3,A1,A3,7X)";
constexpr const char* UNITS_MOMENT_2D = "(15X,4X,A2,A1,A2,A1,A3,9X,A2,A1,A2,A1,A3,8X,A3,A1,A2,A1,A3,8X)";

// Field widths and digits of the rows.
constexpr int ROW_INDENT = 5;
constexpr int LEVEL_WIDTH = 5;
constexpr int VALUE_DIGITS = 5;
constexpr int VALUE_WIDTH_3D = 15;
constexpr int VALUE_WIDTH_2D = 14;
constexpr int DISPLACEMENT_INDENT_3D = 10;
constexpr int DISPLACEMENT_INDENT_2D = 29;
constexpr int VALUE_GAP_2D = 4;
constexpr int COMPUTATION_LEAD = 2;
constexpr int COMPUTATION_WIDTH = 18;
constexpr int COMPUTATION_DIGITS = 8;
constexpr int COMPUTATION_GAP = 4;

// Whether the DOF's load is a moment.
bool moment_dof(int dof, int dimension) { return CAP_ROTATION_DOF(dof, CAP_DOFS_OF_MODEL(dimension)); }

// One value and its gap on the computation report.
void write_computation_value(double v) {
  WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_WIDTH, COMPUTATION_DIGITS, v);
  WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_GAP);
}

void write_levels_heading(int dof, int dimension) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view f = u.force_short(), l = u.moment_length(), rad = u.radians();
  if (PLANE_MODEL(dimension)) {
    if (moment_dof(dof, dimension)) {
      fio::write(UNIT_RESULTS_REPORT, LEVELS_MOMENT_2D, f, u.dash(), l, l, l, rad);
    } else {
      fio::write(UNIT_RESULTS_REPORT, LEVELS_FORCE_2D, f, l, l, rad);
    }
  } else if (moment_dof(dof, dimension)) {
    fio::write(UNIT_RESULTS_REPORT, LEVELS_MOMENT_3D, f, u.dash(), l, l, l, l, rad, rad, rad);
  } else {
    fio::write(UNIT_RESULTS_REPORT, LEVELS_FORCE_3D, f, l, l, l, rad, rad, rad);
  }
}

// The rows of one level of the levels table: the results report (unless the
// level failed) and the computation report. values = P, U_1..U_ndof.
void write_level_rows(int level, const double* values, int dof, int dimension, int ndof) {
  const double load = values[0];
  const double* u = values + 1;
  if (level < 1) {
    fio::write(UNIT_RESULTS_REPORT, NO_CONVERGENCE_LAYOUT, -level);
  } else if (PLANE_MODEL(dimension)) {
    fio::write(UNIT_RESULTS_REPORT, LEVEL_OPEN_LAYOUT, level);
    WRITE_BLANKS(UNIT_RESULTS_REPORT, ROW_INDENT);
    WRITE_REAL_FIELD(UNIT_RESULTS_REPORT, VALUE_WIDTH_2D, VALUE_DIGITS, KIPS_FROM_POUNDS(load));
    END_REPORT_LINE(UNIT_RESULTS_REPORT);
    WRITE_BLANKS(UNIT_RESULTS_REPORT, DISPLACEMENT_INDENT_2D);
    for (int i = 0; i < ndof; ++i) {
      WRITE_REAL_FIELD(UNIT_RESULTS_REPORT, VALUE_WIDTH_2D, VALUE_DIGITS, u[i]);
      WRITE_BLANKS(UNIT_RESULTS_REPORT, VALUE_GAP_2D);
    }
    END_REPORT_LINE(UNIT_RESULTS_REPORT);
  } else {
    WRITE_BLANKS(UNIT_RESULTS_REPORT, ROW_INDENT);
    WRITE_INT_FIELD(UNIT_RESULTS_REPORT, LEVEL_WIDTH, level);
    WRITE_REAL_FIELD(UNIT_RESULTS_REPORT, VALUE_WIDTH_3D, VALUE_DIGITS, KIPS_FROM_POUNDS(load));
    END_REPORT_LINE(UNIT_RESULTS_REPORT);
    WRITE_BLANKS(UNIT_RESULTS_REPORT, DISPLACEMENT_INDENT_3D);
    for (int i = 0; i < ndof; ++i) WRITE_REAL_FIELD(UNIT_RESULTS_REPORT, VALUE_WIDTH_3D, VALUE_DIGITS, u[i]);
    END_REPORT_LINE(UNIT_RESULTS_REPORT);
  }
  fio::write(UNIT_COMPUTATION_REPORT, LEVEL_OPEN_LAYOUT, level);
  WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_LEAD);
  write_computation_value(load);
  write_computation_value(u[dof - 1]);
  for (int i = 0; i < ndof; ++i) write_computation_value(u[i]);
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

// Heading and units row of the flexibility table on one unit.
void write_coefficients_heading(int unit, int dof, int dimension, int ndof) {
  int pairs[2 * CAP_DOFS];
  for (int i = 1; i <= ndof; ++i) {
    pairs[2 * i - 2] = i;
    pairs[2 * i - 1] = dof;
  }
  const std::span<const int> heading(pairs, static_cast<std::size_t>(2 * ndof));
  fio::write(unit, PLANE_MODEL(dimension) ? COEFFICIENTS_2D : COEFFICIENTS_3D, heading);
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view f = u.force_short(), l = u.moment_length(), rad = u.radians(), slash = u.slash(),
                         dash = u.dash();
  if (PLANE_MODEL(dimension)) {
    if (moment_dof(dof, dimension)) {
      fio::write(unit, UNITS_MOMENT_2D, l, slash, l, dash, f, l, slash, l, dash, f, rad, slash, l, dash, f);
    } else {
      fio::write(unit, UNITS_FORCE_2D, l, slash, f, l, slash, f, rad, slash, f);
    }
  } else if (moment_dof(dof, dimension)) {
    fio::write(unit, UNITS_MOMENT_3D, l, slash, l, dash, f, l, slash, l, dash, f, l, slash, l, dash, f, rad, slash, l,
               dash, f, rad, slash, l, dash, f, rad, slash, l, dash, f);
  } else {
    fio::write(unit, UNITS_FORCE_3D, l, slash, f, l, slash, f, l, slash, f, rad, slash, f, rad, slash, f, rad, slash,
               f);
  }
}

// One row of the flexibility table on one unit; ratios = R_1..R_ndof.
void write_coefficient_row(int unit, int level, const double* ratios, int dimension, int ndof) {
  if (level < 1) {
    fio::write(unit, NO_CONVERGENCE_LAYOUT, -level);
    return;
  }
  if (PLANE_MODEL(dimension)) {
    fio::write(unit, LEVEL_OPEN_LAYOUT, level);
    WRITE_BLANKS(unit, ROW_INDENT);
    for (int i = 0; i < ndof; ++i) {
      WRITE_REAL_FIELD(unit, VALUE_WIDTH_2D, VALUE_DIGITS, POUNDS_FROM_KIPS(ratios[i]));
      WRITE_BLANKS(unit, VALUE_GAP_2D);
    }
  } else {
    WRITE_BLANKS(unit, ROW_INDENT);
    WRITE_INT_FIELD(unit, LEVEL_WIDTH, level);
    for (int i = 0; i < ndof; ++i) WRITE_REAL_FIELD(unit, VALUE_WIDTH_3D, VALUE_DIGITS, POUNDS_FROM_KIPS(ratios[i]));
  }
  END_REPORT_LINE(unit);
}

// Reads the record of level k and checks that it belongs to level k (a
// failed level carries -k).
void read_level_record(int k, int n, int& level, double* values, int& status) {
  READ_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, n, level, values, status);
  if (status == STATUS_OK && std::abs(level) != k) ESTIMATION_FILE_FAILED(UNIT_DOF_RUN_STEPS, status);
}

// Reopens the steps file to read it from its first record.
void reopen_steps(int& steps_open, int& status) {
  CLOSE_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, status);
  steps_open = 0;
  if (status != STATUS_OK) return;
  OPEN_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, false, status);
  if (status == STATUS_OK) steps_open = 1;
}

}  // namespace

void START_FLEXIBILITY_DOF_RUN(int /*mode*/, int dof, int dimension, int levels, int ndof, const double* cap_loads,
                               int& skip, int& status) {
  PILECAP_ASSERT(dof >= 1 && dof <= ndof && ndof <= CAP_DOFS, "a DOF of the cap");
  skip = 0;
  const bool moment_z_2d = PLANE_MODEL(dimension) && CAP_ROTATION_DOF(dof, CAP_DOFS_2D);
  const char* heading = moment_z_2d ? MOMENT_Z_HEADING_2D : DOF_HEADINGS[dof - 1];
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, HEADING_LAYOUT, heading);
  fio::write(UNIT_COMPUTATION_REPORT, SHORT_HEADING_LAYOUT,
             moment_z_2d ? MOMENT_Z_SHORT_HEADING_2D : DOF_SHORT_HEADINGS[dof - 1]);
  if (std::fabs(cap_loads[dof - 1]) >= ZERO_CAP_FORCE) return;

  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, NOT_CONSIDERED_LAYOUT);
  for (int k = 1; k <= levels; ++k) {
    fio::write(UNIT_RESULT_CODES, DOF_LEVEL_CODES_LAYOUT, dof, k);
    WRITE_RESULT_CODE(RESULT_SKIPPED_ZERO_CAP_FORCE);
  }
  double unit_column[CAP_DOFS] = {};
  unit_column[dof - 1] = 1.0;
  for (int k = 1; k <= levels && status == STATUS_OK; ++k) {
    WRITE_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, -k, unit_column, ndof, status);
    fio::write(UNIT_COMPUTATION_REPORT, LEVEL_OPEN_LAYOUT, -k);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_LEAD);
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_WIDTH, COMPUTATION_DIGITS, 0.0);
    END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
  }
  skip = 1;
}

void PRINT_DOF_RUN_TABLES(int mode, int dof, int levels, int dimension, int ndof, int& steps_open, int& status) {
  if (mode != DOF_RUN_LEVELS) return;
  PILECAP_ASSERT(dof >= 1 && dof <= ndof && ndof <= CAP_DOFS, "a DOF of the cap");
  double values[1 + CAP_DOFS];  // P, U_1..U_ndof or R_1..R_ndof
  int level = 0;

  reopen_steps(steps_open, status);
  if (status != STATUS_OK) return;
  write_levels_heading(dof, dimension);
  for (int k = 1; k <= levels; ++k) {
    read_level_record(k, 1 + ndof, level, values, status);
    if (status != STATUS_OK) return;
    write_level_rows(level, values, dof, dimension, ndof);
    SKIP_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, status);
    if (status != STATUS_OK) return;
  }

  reopen_steps(steps_open, status);
  if (status != STATUS_OK) return;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_coefficients_heading(unit, dof, dimension, ndof);
  for (int k = 1; k <= levels; ++k) {
    SKIP_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, status);
    if (status == STATUS_OK) read_level_record(k, ndof, level, values, status);
    if (status != STATUS_OK) return;
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_coefficient_row(unit, level, values, dimension, ndof);
  }
  CLOSE_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, status);
  steps_open = 0;
}

}  // namespace pilecap
