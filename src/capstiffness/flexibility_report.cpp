// The stiffness of the pile cap at the origin from its flexibility columns:
// for every load level the flexibility matrix F (column d: the cap
// displacements at the origin per unit of DOF d's applied value at that
// level) is assembled from the flexibility-columns file and inverted, K =
// F^-1, by Gauss-Jordan elimination. A DOF without a column (its level
// failed, or the case has no load in it) keeps its unit column, so its
// column of K is the unit column and the warning names it. The results and
// summary reports print K through the kip conversion; the computation
// report prints internal units. Matrices are column-major, 1-based.
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "base/arrays.hpp"
#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/dense_matrix.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

using Matrix = Array2<double, CAP_DOFS, CAP_DOFS>;

constexpr int FULL_MATRIX = 0;
constexpr int DIAGONAL_ONLY = 1;
constexpr int REPORT_PRINTED = 1;
// The kip option is in force when a pound converts to less than this.
constexpr double KIP_OPTION_TEST = double(0.1f);
constexpr double POUNDS_PER_KIP = 1000.0;

//      * PILE CAP STIFFNESS ESTIMATION *
constexpr const char* TITLE_REPORT_LAYOUT = "(/,/,5X,\"* PILE CAP STIFFNESS ESTIMATION *\")";
constexpr const char* TITLE_SHORT_LAYOUT = "(5X,\"* PILE CAP STIFFNESS ESTIMATION *\")";
constexpr const char* UNITS_HEADING_LAYOUT = "(/,4X,\"UNITS\")";
//          N:    2  FACTOR :    0.5000
constexpr const char* LEVEL_REPORT_LAYOUT = "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
constexpr const char* LEVEL_COMPUTATION_LAYOUT = "(4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
//      ** WARNING **  FLEXIBILITY MATRIX IS SINGULAR, NO STIFFNESS AT THIS LEVEL
constexpr const char* SINGULAR_LAYOUT =
    "(5X,\"** WARNING **  \",\"FLEXIBILITY MATRIX IS SINGULAR, NO STIFFNESS AT THIS LEVEL\")";
//      WARNING : STIFFNESS VALUES FOR COMPONENT(S): K11, K55
constexpr const char* NOT_ESTIMATED_LAYOUT =
    "(/,5X,\"WARNING : STIFFNESS VALUES FOR COMPONENT(S): \",A,/,5X,\"WERE NOT ESTIMATED SINCE THERE WAS \",\"NO "
    "CONVERGENCE ON PILE CAP \",\"OR APPLIED FORCE AT CAP IS ZERO\",/,5X,\"VALUE OF 1.0 IS PRINTED FOR THE "
    "STIFFNESS(ES)\",/)";
// A row number or label heading left open for the fields that follow.
constexpr const char* ROW_OPEN_LAYOUT = "(5X,I5,2X,2X,\\)";

// The layouts of one form of the reports (2D or 3D).
struct FormLayouts {
  const char* dof_numbers;        // full form: the DOF numbers over the columns
  const char* translation_units;  // full form: units rows of the force rows
  const char* rotation_units;     // full form: units rows of the moment rows
  const char* labels;             // diagonal form: K11, K22, ...
  const char* diagonal_units;     // diagonal form: the units row
  int row_width, diagonal_lead, gap;
};

//   DOF          1              2   ...
//       1       LBS/ IN         LBS/ IN ...
constexpr FormLayouts LAYOUTS_3D{
    "(2X,\"  DOF\",6(I11,4X))",
    "(2X,I5,7X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A3,8X,A3,A1,A3,8X,A3,A1,A3)",
    "(2X,I5,9X,A3,12X,A3,12X,A3,8X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3)",
    "(7X,6(9X,\"K\",I1,I1,3X))",
    "(14X,A3,A1,A2,9X,A3,A1,A2,9X,A3,A1,A2,7X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3,5X,A3,A1,A2,A1,A3)",
    15,
    7,
    0};
//      DOF            1                  2                  3
constexpr FormLayouts LAYOUTS_2D{"(5X,\" DOF \",4X,3(I9,9X))",
                                 "(5X,I5,8X,A3,A1,A2,12X,A3,A1,A2,13X,A3,A1,A3)",
                                 "(5X,I5,10X,A3,15X,A3,11X,A3,A1,A2,A1,A3)",
                                 "(13X,3(7X,\"K\",I1,I1,8X))",
                                 "(18X,A3,A1,A2,12X,A3,A1,A2,10X,A3,A1,A2,A1,A3)",
                                 14,
                                 24,
                                 4};

constexpr int MATRIX_DIGITS = 5;
constexpr int ROW_LEAD_3D = 2;
constexpr int ROW_NUMBER_WIDTH = 5;
constexpr int COMPUTATION_DIAGONAL_LEAD = 14;
constexpr int COMPUTATION_WIDTH = 18;
constexpr int COMPUTATION_DIGITS = 8;
constexpr int COMPUTATION_GAP = 4;

bool form_2d(int ndof) { return ndof == CAP_DOFS_2D; }

// The units table: its heading, then the DOF numbers and one units row per
// DOF (full form) or the labels and one units row (diagonal form).
void write_units_table(int unit, int diagonal_only, int ndof) {
  const FormLayouts& f = form_2d(ndof) ? LAYOUTS_2D : LAYOUTS_3D;
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view force = u.force_short(), l = u.moment_length(), rad = u.radians(), slash = u.slash(),
                         dash = u.dash();
  fio::write(unit, UNITS_HEADING_LAYOUT);
  int numbers[2 * CAP_DOFS];
  if (diagonal_only == DIAGONAL_ONLY) {
    for (int d = 1; d <= ndof; ++d) numbers[2 * d - 2] = numbers[2 * d - 1] = d;
    fio::write(unit, f.labels, std::span<const int>(numbers, static_cast<std::size_t>(2 * ndof)));
    if (form_2d(ndof)) {
      fio::write(unit, f.diagonal_units, force, slash, l, force, slash, l, force, dash, l, slash, rad);
    } else {
      fio::write(unit, f.diagonal_units, force, slash, l, force, slash, l, force, slash, l, force, dash, l, slash, rad,
                 force, dash, l, slash, rad, force, dash, l, slash, rad);
    }
    return;
  }
  for (int d = 1; d <= ndof; ++d) numbers[d - 1] = d;
  fio::write(unit, f.dof_numbers, std::span<const int>(numbers, static_cast<std::size_t>(ndof)));
  for (int i = 1; i <= ndof; ++i) {
    if (form_2d(ndof) && !CAP_ROTATION_DOF(i, ndof)) {
      fio::write(unit, f.translation_units, i, force, slash, l, force, slash, l, force, slash, rad);
    } else if (form_2d(ndof)) {
      fio::write(unit, f.rotation_units, i, force, force, force, dash, l, slash, rad);
    } else if (!CAP_ROTATION_DOF(i, ndof)) {
      fio::write(unit, f.translation_units, i, force, slash, l, force, slash, l, force, slash, l, force, slash, rad,
                 force, slash, rad, force, slash, rad);
    } else {
      fio::write(unit, f.rotation_units, i, force, force, force, force, dash, l, slash, rad, force, dash, l, slash, rad,
                 force, dash, l, slash, rad);
    }
  }
}

// One level's K on one report, converted: the DOF numbers and the rows, or
// the labels and the diagonal line.
void write_matrix(int unit, const Matrix& k, int diagonal_only, int ndof) {
  const FormLayouts& f = form_2d(ndof) ? LAYOUTS_2D : LAYOUTS_3D;
  int numbers[2 * CAP_DOFS];
  if (diagonal_only == DIAGONAL_ONLY) {
    for (int d = 1; d <= ndof; ++d) numbers[2 * d - 2] = numbers[2 * d - 1] = d;
    fio::write(unit, f.labels, std::span<const int>(numbers, static_cast<std::size_t>(2 * ndof)));
    WRITE_BLANKS(unit, f.diagonal_lead);
    for (int d = 1; d <= ndof; ++d) {
      WRITE_REAL_FIELD(unit, f.row_width, MATRIX_DIGITS, KIPS_FROM_POUNDS(k(d, d)));
      WRITE_BLANKS(unit, f.gap);
    }
    END_REPORT_LINE(unit);
    return;
  }
  for (int d = 1; d <= ndof; ++d) numbers[d - 1] = d;
  fio::write(unit, f.dof_numbers, std::span<const int>(numbers, static_cast<std::size_t>(ndof)));
  for (int i = 1; i <= ndof; ++i) {
    if (form_2d(ndof)) {
      fio::write(unit, ROW_OPEN_LAYOUT, i);
    } else {
      WRITE_BLANKS(unit, ROW_LEAD_3D);
      WRITE_INT_FIELD(unit, ROW_NUMBER_WIDTH, i);
    }
    for (int j = 1; j <= ndof; ++j) {
      WRITE_REAL_FIELD(unit, f.row_width, MATRIX_DIGITS, KIPS_FROM_POUNDS(k(i, j)));
      WRITE_BLANKS(unit, f.gap);
    }
    END_REPORT_LINE(unit);
  }
}

// F of level L from the file: column d is the record of level L in DOF d's
// block (only its diagonal term in the diagonal form). A record whose level
// number is negative marks a DOF without a column.
void read_flexibility(int level, int levels, int diagonal_only, int ndof, Matrix& f,
                      Array1<int, CAP_DOFS>& not_estimated, int& status) {
  OPEN_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, false, status);
  double column[CAP_DOFS];
  for (int d = 1; d <= ndof && status == STATUS_OK; ++d) {
    for (int r = 1; r <= levels && status == STATUS_OK; ++r) {
      if (r != level) {
        SKIP_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, status);
        continue;
      }
      int marked_level = 0;
      READ_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, ndof, marked_level, column, status);
      if (status == STATUS_OK && std::abs(marked_level) != level) {
        ESTIMATION_FILE_FAILED(UNIT_FLEXIBILITY_COLUMNS, status);
      }
      not_estimated(d) = marked_level < 1 ? 1 : 0;
      for (int i = 1; i <= ndof; ++i) f(i, d) = 0.0;
      if (diagonal_only == DIAGONAL_ONLY) {
        f(d, d) = column[d - 1];
      } else {
        for (int i = 1; i <= ndof; ++i) f(i, d) = column[i - 1];
      }
    }
  }
  if (status == STATUS_OK) {
    CLOSE_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, status);
  } else {
    fio::close(UNIT_FLEXIBILITY_COLUMNS);
  }
}

// "K11, K55  ": the labels of the flagged DOFs, the last one followed by two
// blanks.
std::string not_estimated_labels(const Array1<int, CAP_DOFS>& not_estimated, int ndof) {
  std::string labels;
  for (int d = 1; d <= ndof; ++d) {
    if (not_estimated(d) == 0) continue;
    const char digit = static_cast<char>('0' + d);
    labels.append(1, 'K').append(1, digit).append(1, digit).append(", ");
  }
  labels.replace(labels.size() - 2, 2, "  ");
  return labels;
}

}  // namespace

// The computation report's copy of K: the diagonal, then every row,
// unconverted.
void WRITE_STIFFNESS_COMPUTATION_COPY(const Matrix& k, int ndof) {
  auto value = [](double v) {
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_WIDTH, COMPUTATION_DIGITS, v);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_GAP);
  };
  WRITE_BLANKS(UNIT_COMPUTATION_REPORT, COMPUTATION_DIAGONAL_LEAD);
  for (int j = 1; j <= ndof; ++j) value(k(j, j));
  END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
  for (int i = 1; i <= ndof; ++i) {
    fio::write(UNIT_COMPUTATION_REPORT, ROW_OPEN_LAYOUT, i);
    for (int j = 1; j <= ndof; ++j) value(k(i, j));
    END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
  }
}

void REPORT_FLEXIBILITY_STIFFNESS(int report, int diagonal_only, int levels, int ndof, int lda, const double* factors,
                                  int& status) {
  if (report != REPORT_PRINTED) return;
  PILECAP_ASSERT(lda == CAP_DOFS && ndof >= 1 && ndof <= CAP_DOFS, "the working matrix is 6 x 6");
  PILECAP_ASSERT(levels <= MAX_POINT_VALUES, "one factor per level");
  const int form = diagonal_only == DIAGONAL_ONLY ? DIAGONAL_ONLY : FULL_MATRIX;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, TITLE_REPORT_LAYOUT);
  for (int unit : {UNIT_COMPUTATION_REPORT, UNIT_RUN_LOG}) fio::write(unit, TITLE_SHORT_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  CLOSE_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, status);
  if (status != STATUS_OK) return;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_units_table(unit, form, ndof);

  for (int level = 1; level <= levels; ++level) {
    Matrix k{};
    Array1<int, CAP_DOFS> not_estimated{};
    read_flexibility(level, levels, form, ndof, k, not_estimated, status);
    if (status != STATUS_OK) return;
    int singular = 0;
    INVERT_MATRIX(k.data(), ndof, lda, singular);

    const double factor = factors[level - 1];
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, LEVEL_REPORT_LAYOUT, level, factor);
    fio::write(UNIT_COMPUTATION_REPORT, LEVEL_COMPUTATION_LAYOUT, level, factor);
    // A singular F has no stiffness: what the elimination left is no matrix.
    if (singular != 0) {
      for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_COMPUTATION_REPORT}) fio::write(unit, SINGULAR_LAYOUT);
      continue;
    }

    if (!form_2d(ndof)) WRITE_STIFFNESS_COMPUTATION_COPY(k, ndof);
    // A DOF without a column reads 1.0 in every unit system.
    bool any_not_estimated = false;
    for (int d = 1; d <= ndof; ++d) {
      if (not_estimated(d) == 0) continue;
      any_not_estimated = true;
      if (KIPS_FROM_POUNDS(1.0) < KIP_OPTION_TEST) k(d, d) *= POUNDS_PER_KIP;
    }
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) write_matrix(unit, k, form, ndof);
    if (any_not_estimated) {
      const std::string labels = not_estimated_labels(not_estimated, ndof);
      for (int unit : {UNIT_SUMMARY, UNIT_RESULTS_REPORT}) fio::write(unit, NOT_ESTIMATED_LAYOUT, labels);
    }
    if (form_2d(ndof)) WRITE_STIFFNESS_COMPUTATION_COPY(k, ndof);
  }
}

}  // namespace pilecap
