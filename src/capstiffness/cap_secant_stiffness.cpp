// The secant stiffness of the pile group at the cap origin for one factor
// point of a stiffness estimation: every pile's head matrix in pile axes
// (from its linear model on the equivalent springs) carried to the origin,
// T^T K T with T = R O (O carries the cap displacement to the head, R turns
// global axes into pile axes), and summed. The piles are formed in parallel
// in the shared frame of the loops over piles, each into its own slot of
// PileHeadMatrices; the sum and every file line are made on the calling
// thread in pile order, so the result and the files do not depend on the
// thread count. Matrices are 6 x 6 column-major (2D: rows and columns 1..3).
#include <algorithm>
#include <cmath>
#include <span>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/pile_loop.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

using Matrix3 = Array2<double, CAP_DOFS_2D, CAP_DOFS_2D>;

//      NPILES=    4
constexpr const char* PILE_COUNT_LAYOUT = "(5X,\"NPILES=\",I5)";
//      * EQV. STIFFNESS MATRIX AT ORIGIN *
constexpr const char* MATRIX_FILE_TITLE = "(5X,\"* EQV. STIFFNESS MATRIX AT ORIGIN *\")";
constexpr const char* MATRIX_RESULTS_TITLE = "(/,10X,\"* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *\")";
constexpr const char* MATRIX_SUMMARY_TITLE = "(/,10X,\"* EQV. STIFFNESS MATRIX AT ORIGIN *\")";
//   DOF          1              2 ...
constexpr const char* DOF_NUMBERS_LAYOUT = "(2X,\"  DOF\",6(I11,4X))";
constexpr int FILE_LEAD = 5;
constexpr int FILE_WIDTH = 19;
constexpr int FILE_DIGITS = 5;
constexpr int ROW_LEAD = 2;
constexpr int ROW_NUMBER_WIDTH = 5;
constexpr int REPORT_WIDTH = 15;
constexpr int REPORT_DIGITS = 5;

// K0 = O^T R^T K R O of one 2D pile row, times its identical piles.
void row_at_origin_2d(int pile, int geometric_flag, int& status) {
  Matrix3 ot, rt, o, r, k, w;
  PILE_CAP_TRANSFORMS_2D(pile, ot.data(), rt.data(), o.data(), r.data());
  CONDENSE_PILE_HEAD_MATRIX_2D(pile, geometric_flag, status, k.data());
  Matrix3 wr, owr, result;
  MULTIPLY_3X3_BY_COLUMNS(w.data(), rt.data(), k.data(), CAP_DOFS_2D);
  MULTIPLY_3X3_BY_COLUMNS(wr.data(), w.data(), r.data(), CAP_DOFS_2D);
  MULTIPLY_3X3_BY_COLUMNS(owr.data(), ot.data(), wr.data(), CAP_DOFS_2D);
  MULTIPLY_3X3_BY_COLUMNS(result.data(), owr.data(), o.data(), CAP_DOFS_2D);
  const double n_identical = PileTable.n_identical(pile);
  for (int j = 1; j <= CAP_DOFS_2D; ++j) {
    for (int i = 1; i <= CAP_DOFS_2D; ++i) PileHeadMatrices.matrix(pile, i, j) = n_identical * result(i, j);
  }
}

// K0 = O^T R K R^T O of one 3D pile (R of the transformation turns pile
// axes into global axes).
void pile_at_origin_3d(int pile, int geometric_flag, int& status) {
  Matrix6 offset_transposed, offset, rotation, rotation_transposed, k, left, right, result;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  CONDENSE_PILE_HEAD_MATRIX_3D(pile, geometric_flag, status, k.data());
  // right = R^T O carries the cap displacement into pile axes at the head.
  MAT6_TIMES_VECTORS(right.data(), rotation_transposed.data(), offset.data(), CAP_DOFS);
  MAT6_TIMES_VECTORS(left.data(), k.data(), right.data(), CAP_DOFS);
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) {
      double sum = 0.0;
      for (int m = 1; m <= CAP_DOFS; ++m) sum += right(m, i) * left(m, j);
      result(i, j) = sum;
    }
  }
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) PileHeadMatrices.matrix(pile, i, j) = result(i, j);
  }
}

void write_report_matrix(int unit, const Array2<double, CAP_DOFS, CAP_DOFS>& k, int ndof) {
  int numbers[CAP_DOFS];
  for (int j = 1; j <= ndof; ++j) numbers[j - 1] = j;
  fio::write(unit, DOF_NUMBERS_LAYOUT, std::span<const int>(numbers, static_cast<std::size_t>(ndof)));
  for (int r = 1; r <= ndof; ++r) {
    WRITE_BLANKS(unit, ROW_LEAD);
    WRITE_INT_FIELD(unit, ROW_NUMBER_WIDTH, r);
    for (int c = 1; c <= ndof; ++c) WRITE_REAL_FIELD(unit, REPORT_WIDTH, REPORT_DIGITS, KIPS_FROM_POUNDS(k(r, c)));
    END_REPORT_LINE(unit);
  }
}

}  // namespace

void PILE_CAP_TRANSFORMS_2D(int pile, double* offset_transposed, double* rotation_transposed, double* offset,
                            double* rotation) {
  const double x = PileTable.head_depth(pile), y = PileTable.head_plan(pile);
  const double c = std::cos(PileTable.batter(pile)), s = std::sin(PileTable.batter(pile));
  // Row by row as the transformations read; stored column by column.
  const double o[CAP_DOFS_2D][CAP_DOFS_2D] = {{1.0, 0.0, -y}, {0.0, 1.0, x}, {0.0, 0.0, 1.0}};
  const double r[CAP_DOFS_2D][CAP_DOFS_2D] = {{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}};
  for (int i = 0; i < CAP_DOFS_2D; ++i) {
    for (int j = 0; j < CAP_DOFS_2D; ++j) {
      offset[i + CAP_DOFS_2D * j] = o[i][j];
      offset_transposed[j + CAP_DOFS_2D * i] = o[i][j];
      rotation[i + CAP_DOFS_2D * j] = r[i][j];
      rotation_transposed[j + CAP_DOFS_2D * i] = r[i][j];
    }
  }
}

void CAPTSTF(int& status, int geometric_flag, int settings_offset, int point, double factor,
             const double* equivalent_load, const double* displacement, double* stiffness) {
  const int dimension = RunOptions.dimension;
  const bool plane = PLANE_MODEL(dimension);
  const int ndof = CAP_DOFS_OF_MODEL(dimension);
  const int n_piles = PileTable.n_piles;
  for (int p = 1; p <= n_piles; ++p) {
    for (int j = 1; j <= CAP_DOFS; ++j) {
      for (int i = 1; i <= ndof; ++i) PileHeadMatrices.matrix(p, i, j) = 0.0;
    }
  }
  fio::write(UNIT_CAP_MODEL_PILES, PILE_COUNT_LAYOUT, n_piles);

  // Each pile writes only its own slot and reports into its own word; the
  // shared frame of the loops over piles keeps the first failing pile's.
  RUN_PILE_LOOP(n_piles, status, [&](int p, PileEvaluation&, PileHeadWork&) {
    int pile_status = STATUS_OK;
    if (plane) {
      row_at_origin_2d(p, geometric_flag, pile_status);
    } else {
      pile_at_origin_3d(p, geometric_flag, pile_status);
    }
    return pile_status;
  });
  if (status != STATUS_OK) return;
  for (int p = 1; p <= n_piles; ++p) WRITE_CAP_MODEL_PILE_BLOCK(p, dimension);

  Array2<double, CAP_DOFS, CAP_DOFS> k{};
  for (int p = 1; p <= n_piles; ++p) {
    for (int j = 1; j <= ndof; ++j) {
      for (int i = 1; i <= ndof; ++i) k(i, j) += PileHeadMatrices.matrix(p, i, j);
    }
  }
  for (int j = 1; j <= ndof; ++j) {
    for (int i = 1; i <= ndof; ++i) stiffness[(i - 1) + CAP_DOFS * (j - 1)] = k(i, j);
  }

  fio::write(UNIT_EQUIVALENT_STIFFNESS, MATRIX_FILE_TITLE);
  for (int i = 1; i <= ndof; ++i) {
    WRITE_BLANKS(UNIT_EQUIVALENT_STIFFNESS, FILE_LEAD);
    for (int j = 1; j <= ndof; ++j) WRITE_REAL_FIELD(UNIT_EQUIVALENT_STIFFNESS, FILE_WIDTH, FILE_DIGITS, k(i, j));
    END_REPORT_LINE(UNIT_EQUIVALENT_STIFFNESS);
  }

  const TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  PRINT_STIFFNESS_POINT_REPORT(settings_offset, dimension, point, factor, t.computed, t.target,
                               AnalysisControl.point_factors.data(), equivalent_load, displacement);
  fio::write(UNIT_RESULTS_REPORT, MATRIX_RESULTS_TITLE);
  fio::write(UNIT_SUMMARY, MATRIX_SUMMARY_TITLE);
  write_report_matrix(UNIT_RESULTS_REPORT, k, ndof);
  write_report_matrix(UNIT_SUMMARY, k, ndof);
  WRITE_STIFFNESS_COMPUTATION_COPY(k, ndof);
}

}  // namespace pilecap
