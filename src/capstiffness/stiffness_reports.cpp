// The reports of a stiffness estimation and the load-factor prediction of
// its target-deflection search. The heading gives the basis and the units
// of the printed terms; each solved factor point prints its number and
// factor, the target line and the equivalent load and cap displacement at
// the origin. The search predicts the next factor by linear interpolation
// in a table of (displacement, factor) pairs kept sorted by factor. DOFs
// are 1-based in the cap order (3D: X, Y, Z, rotations about X, Y, Z; 2D:
// X, Y, rotation Z); the point list is 1-based, point_values[q - 1] holding
// position q.
#include <cmath>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"

namespace pilecap {

TargetDeflectionSearchRecord TargetDeflectionSearch;

namespace {

// A single pair scales its factor only when its displacement is above this.
constexpr double SINGLE_PAIR_MIN_DISPLACEMENT = 1e-4;

//      * PILE CAP STIFFNESS ESTIMATION *
constexpr const char* TITLE_REPORT_LAYOUT = "(/,/,5X,\"* PILE CAP STIFFNESS ESTIMATION *\")";
constexpr const char* TITLE_COMPUTATION_LAYOUT = "(5X,\"* PILE CAP STIFFNESS ESTIMATION *\")";
constexpr const char* TITLE_LOG_LAYOUT = "(/,5X,\"* PILE CAP STIFFNESS ESTIMATION *\")";
constexpr const char* BASIS_TOTAL_LOAD_LAYOUT = "(5X,\"- BASED ON TOTAL APPLIED LOAD  \")";
constexpr const char* BASIS_TARGET_LAYOUT = "(5X,\"- BASED ON TARGET DEFLECTION   \")";
constexpr const char* UNITS_LOAD_DISP_LAYOUT = "(/,4X,\"UNITS, LOAD AND DISP\")";
constexpr const char* UNITS_STIFFNESS_LAYOUT = "(/,4X,\"UNITS, STIFFNESS\")";

// The unit rows of one form (3D or 2D).
struct UnitRows {
  const char* load;         //          KIP            KIP ...   KIP-IN
  const char* disp;         //           IN             IN ...     RAD
  const char* dof_numbers;  //   DOF          1              2 ...
  const char* force_row;    //      1       KIP/IN         KIP/IN ... KIP/RAD
  const char* moment_row;   //      4         KIP            KIP ... KIP-IN/RAD
};
constexpr UnitRows ROWS_3D{
    "(2X,\" LOAD\",3X,3(6X,A3,6X),3(4X,A3,A1,A2,5X))",
    "(2X,\" DISP\",3X,3(6X,A2,7X),3(6X,A3,6X))",
    "(2X,\"  DOF\",6(I11,4X))",
    "(2X,I5,3X,4X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A3,8X,A3,A1,A3,8X,A3,A1,A3)",
    "(2X,I5,3X,6X,A3,12X,A3,12X,A3,8X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3)",
};
constexpr UnitRows ROWS_2D{
    "(2X,\" LOAD\",3X,2(6X,A3,6X),4X,A3,A1,A2,5X)",
    "(2X,\" DISP\",3X,2(6X,A2,7X),6X,A3,6X)",
    "(2X,\"  DOF\",3(I11,4X))",
    "(2X,I5,3X,4X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A3)",
    "(2X,I5,3X,6X,A3,12X,A3,8X,A3,A1,A2,A1,A3)",
};

// Point report.
//          N:    2  FACTOR :    0.5000
constexpr const char* POINT_SUMMARY_LAYOUT = "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
//          1   N:    2  FACTOR :    0.5000
constexpr const char* POINT_COMPUTATION_LAYOUT = "(4X,\"    1\",\"   N:\",I5,\"  FACTOR :\",F10.4)";
constexpr const char* LOAD_TITLE_LAYOUT = "(7X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* DISP_TITLE_LAYOUT = "(7X,\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";
constexpr const char* LOAD_ROW_OPEN = "(2X,\" LOAD\",\\)";
constexpr const char* DISP_ROW_OPEN = "(2X,\" DISP\",\\)";
constexpr int COMPUTATION_LEAD = 7;
constexpr int COMPUTATION_WIDTH = 18;
constexpr int COMPUTATION_DIGITS = 8;
constexpr int COMPUTATION_GAP = 5;
constexpr int REPORT_WIDTH = 15;
constexpr int REPORT_DIGITS = 5;

// Target line: label, target, computed.
//        DISPLACEMENT Y,  TARGET =      0.50000 IN , COMPUTED =      0.49876 IN
constexpr const char* TARGET_LABEL_LAYOUT[7] = {
    "(5X,\\)",
    "(5X,\"  DISPLACEMENT X,\",\"  TARGET =\",\\)",
    "(5X,\"  DISPLACEMENT Y,\",\"  TARGET =\",\\)",
    "(5X,\"  DISPLACEMENT Z,\",\"  TARGET =\",\\)",
    "(5X,\"      ROTATION X,\",\"  TARGET =\",\\)",
    "(5X,\"      ROTATION Y,\",\"  TARGET =\",\\)",
    "(5X,\"      ROTATION Z,\",\"  TARGET =\",\\)",
};
constexpr const char* TARGET_LABEL_ROTATION_Z_2D = "(5X,\"      ROTATION Z,\",\"  TARGET =\",\\)";
constexpr const char* TARGET_UNIT_LAYOUT = "(1X,A2,\\)";
constexpr const char* COMPUTED_LAYOUT = "(\" , COMPUTED =\",\\)";
constexpr int TARGET_WIDTH = 13;
constexpr int TARGET_DIGITS = 5;

void write_unit_rows(int unit, int dimension) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view f = u.force_short(), l = u.moment_length(), rad = u.radians(), dash = u.dash();
  if (dimension == MODEL_2D) {
    fio::write(unit, ROWS_2D.load, f, f, f, dash, l);
    fio::write(unit, ROWS_2D.disp, l, l, rad);
  } else {
    fio::write(unit, ROWS_3D.load, f, f, f, f, dash, l, f, dash, l, f, dash, l);
    fio::write(unit, ROWS_3D.disp, l, l, l, rad, rad, rad);
  }
}

void write_stiffness_units(int unit, int dimension) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view f = u.force_short(), l = u.moment_length(), rad = u.radians(), slash = u.slash(),
                         dash = u.dash();
  fio::write(unit, UNITS_STIFFNESS_LAYOUT);
  if (dimension == MODEL_2D) {
    fio::write(unit, ROWS_2D.dof_numbers, 1, 2, 3);
    for (int i = 1; i <= 2; ++i) fio::write(unit, ROWS_2D.force_row, i, f, slash, l, f, slash, l, f, slash, rad);
    fio::write(unit, ROWS_2D.moment_row, 3, f, f, f, dash, l, slash, rad);
    return;
  }
  fio::write(unit, ROWS_3D.dof_numbers, 1, 2, 3, 4, 5, 6);
  for (int i = 1; i <= 3; ++i) {
    fio::write(unit, ROWS_3D.force_row, i, f, slash, l, f, slash, l, f, slash, l, f, slash, rad, f, slash, rad, f,
               slash, rad);
  }
  for (int i = 4; i <= 6; ++i) {
    fio::write(unit, ROWS_3D.moment_row, i, f, f, f, f, dash, l, slash, rad, f, dash, l, slash, rad, f, dash, l, slash,
               rad);
  }
}

// The unit after a target or computed value: a length for the
// translations (DOF 3 is the rotation in 2D).
bool has_length_unit(int dof, int dimension) { return dof == 1 || dof == 2 || (dof == 3 && dimension != MODEL_2D); }

void write_value_row(int unit, const char* open_layout, const double* values, int ndof, bool forces) {
  fio::write(unit, open_layout);
  for (int k = 0; k < ndof; ++k) {
    WRITE_REAL_FIELD(unit, REPORT_WIDTH, REPORT_DIGITS, forces ? KIPS_FROM_POUNDS(values[k]) : values[k]);
  }
  END_REPORT_LINE(unit);
}

void write_computation_values(const double* values, int ndof) {
  WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_LEAD);
  for (int k = 0; k < ndof; ++k) {
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_WIDTH, COMPUTATION_DIGITS, values[k]);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_GAP);
  }
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
}

// The newest pair (position n) moves before the first stored pair of a
// larger factor, the pairs from there moving up by one.
void sort_newest_pair(TargetDeflectionSearchRecord& t, int n) {
  int j = 0;
  for (int k = 1; k <= n - 1; ++k) {
    if (t.pair_factor(k) > t.pair_factor(n)) {
      j = k;
      break;
    }
  }
  if (j == 0) return;
  const double d = t.pair_displacement(n), f = t.pair_factor(n);
  for (int k = n; k > j; --k) {
    t.pair_displacement(k) = t.pair_displacement(k - 1);
    t.pair_factor(k) = t.pair_factor(k - 1);
  }
  t.pair_displacement(j) = d;
  t.pair_factor(j) = f;
}

}  // namespace

void PREDICT_TARGET_LOAD_FACTOR() {
  TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  t.prediction_failed = 0;
  const int n = t.pair_count < MAX_TARGET_PAIRS ? t.pair_count : MAX_TARGET_PAIRS;
  if (n <= 0) {
    t.new_factor = 0.0;
    return;
  }
  if (n == 1) {
    const double d = t.pair_displacement(1);
    t.new_factor = std::fabs(d) > SINGLE_PAIR_MIN_DISPLACEMENT ? t.target * t.pair_factor(1) / d : 1.0;
    return;
  }
  const double newest_factor = t.pair_factor(n);
  sort_newest_pair(t, n);
  int a = 0, b = 0;
  if (t.pair_displacement(1) >= t.target) {
    a = 1;
    b = 2;
  } else if (t.target >= t.pair_displacement(n)) {
    a = n - 1;
    b = n;
  } else {
    for (int k = 2; k <= n; ++k) {
      if (t.pair_displacement(k) >= t.target) {
        a = k - 1;
        b = k;
        break;
      }
    }
  }
  const double span = t.pair_displacement(b) - t.pair_displacement(a);
  // Runs of equal displacement say nothing about the factor the target
  // needs: the search stays at the newest run's factor.
  if (span == 0.0) {
    t.new_factor = newest_factor;
    t.prediction_failed = 1;
    return;
  }
  t.new_factor = t.pair_factor(a) + (t.target - t.pair_displacement(a)) * (t.pair_factor(b) - t.pair_factor(a)) / span;
}

void PRINT_CAP_STIFFNESS_HEADER(int basis, int dimension) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, TITLE_REPORT_LAYOUT);
  fio::write(UNIT_COMPUTATION_REPORT, TITLE_COMPUTATION_LAYOUT);
  fio::write(UNIT_RUN_LOG, TITLE_LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, basis == BASIS_TOTAL_LOAD ? BASIS_TOTAL_LOAD_LAYOUT : BASIS_TARGET_LAYOUT);
  }
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, UNITS_LOAD_DISP_LAYOUT);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_unit_rows(unit, dimension);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_stiffness_units(unit, dimension);
}

void PRINT_TARGET_VS_COMPUTED(int unit, int settings_offset, int dimension, double computed, double target,
                              const double* point_values) {
  if (point_values[settings_offset] == 0.0) return;
  const int dof = static_cast<int>(point_values[settings_offset + 1]);
  const bool known = dof >= 1 && dof <= CAP_DOFS;
  const std::string_view length = UnitLabels.moment_length();
  if (known) {
    fio::write(unit, dof == 3 && dimension == MODEL_2D ? TARGET_LABEL_ROTATION_Z_2D : TARGET_LABEL_LAYOUT[dof]);
    WRITE_REAL_FIELD(unit, TARGET_WIDTH, TARGET_DIGITS, target);
    if (has_length_unit(dof, dimension)) fio::write(unit, TARGET_UNIT_LAYOUT, length);
  } else {
    fio::write(unit, TARGET_LABEL_LAYOUT[0]);
  }
  fio::write(unit, COMPUTED_LAYOUT);
  WRITE_REAL_FIELD(unit, TARGET_WIDTH, TARGET_DIGITS, computed);
  if (has_length_unit(dof, dimension)) fio::write(unit, TARGET_UNIT_LAYOUT, length);
  END_REPORT_LINE(unit);
}

void PRINT_STIFFNESS_POINT_REPORT(int settings_offset, int dimension, int point, double factor, double computed,
                                  double target, const double* point_values, const double* equivalent_load,
                                  const double* displacement) {
  const int ndof = CAP_DOFS_OF_MODEL(dimension);
  fio::write(UNIT_SUMMARY, POINT_SUMMARY_LAYOUT, point, factor);
  fio::write(UNIT_COMPUTATION_REPORT, POINT_COMPUTATION_LAYOUT, point, factor);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    PRINT_TARGET_VS_COMPUTED(unit, settings_offset, dimension, computed, target, point_values);
  }
  fio::write(UNIT_COMPUTATION_REPORT, LOAD_TITLE_LAYOUT);
  write_computation_values(equivalent_load, ndof);
  fio::write(UNIT_COMPUTATION_REPORT, DISP_TITLE_LAYOUT);
  write_computation_values(displacement, ndof);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    write_value_row(unit, LOAD_ROW_OPEN, equivalent_load, ndof, true);
    write_value_row(unit, DISP_ROW_OPEN, displacement, ndof, false);
  }
}

}  // namespace pilecap
