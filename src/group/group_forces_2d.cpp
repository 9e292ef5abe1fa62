// The group force vector of the 2D pile cap: every pile row is carried from
// the cap origin to its head by the transposed row transform, d = T^T U, its
// axial force comes from its load-settlement curve, its lateral force and
// moment from the laterally loaded pile in the plane, and the row's forces,
// times its number of identical piles, go back to the origin by T. Rows run
// in the parallel pile loop (RUN_PILE_LOOP), each writing only its own entries of
// PileTable.head_force, its own status word and its own evaluation; the
// calling thread sums the rows and publishes the evaluations in row order,
// so results and reports do not depend on the thread count. Vectors are
// (X vertical, Y horizontal, rotation Z); T is 3 x 3 column-major.
#include <cmath>
#include <vector>

#include "base/arrays.hpp"
#include "group/group_forces.hpp"
#include "group/pile_loop.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"

namespace pilecap {

namespace {

using Vector3 = Array1<double, CAP_DOFS_2D>;
using Matrix3 = Array2<double, CAP_DOFS_2D, CAP_DOFS_2D>;

// One row's forces at the origin, with a status word of its own; nothing
// when a step fails (the lateral solution is not run on a failed layout).
void evaluate_row(int row, const Vector3& u, Vector3& f_origin, int& status, PileEvaluation& evaluation,
                  PileHeadWork& work) {
  const PileEvaluationScope scope(evaluation);
  Matrix3 t;
  ROW_TRANSFORM_2D(row, t.data());
  Vector3 d;
  for (int i = 1; i <= CAP_DOFS_2D; ++i) {
    d(i) = t(1, i) * u(1) + t(2, i) * u(2) + t(3, i) * u(3);
  }
  double head[PILE_HEAD_DOFS] = {d(1), d(2), 0.0, d(3), 0.0, 0.0};
  double axial_force = 0.0;
  AXIAL_HEAD_FORCE_2D(row, axial_force, head, work.profile, status, evaluation, work.transfer);
  if (status != STATUS_OK) return;
  axial_force *= PileTable.axial_factor(row);
  NODE2D(row, status);
  if (status != STATUS_OK) return;
  double lateral_force = 0.0, moment = 0.0;
  SOLVE_LATERAL_PILE_2D(row, d(2), d(3), axial_force, lateral_force, moment, status, d.data(), t.data(),
                        work.profile.movement, work.profile.load, work.lateral);
  if (status != STATUS_OK) return;
  const double n = PileTable.n_identical(row);
  const Vector3 local{{n * axial_force, n * lateral_force, n * moment}};
  MULTIPLY_3X3_BY_VECTOR(f_origin.data(), t.data(), local.data());
}

}  // namespace

void ROW_TRANSFORM_2D(int row, double* t) {
  const double s = std::sin(PileTable.batter(row)), c = std::cos(PileTable.batter(row));
  const double x = PileTable.head_depth(row), y = PileTable.head_plan(row);
  const double columns[CAP_DOFS_2D][CAP_DOFS_2D] = {{c, s, s * x - c * y}, {-s, c, c * x + s * y}, {0.0, 0.0, 1.0}};
  for (int j = 0; j < CAP_DOFS_2D; ++j) {
    for (int i = 0; i < CAP_DOFS_2D; ++i) t[i + CAP_DOFS_2D * j] = columns[j][i];
  }
}

void FVEC2D(double* resultant, const double* u, int& status) {
  const int n_rows = PileTable.n_piles;
  Vector3 cap_u;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) {
    resultant[k - 1] = 0.0;
    cap_u(k) = u[k - 1];
  }
  for (int row = 1; row <= n_rows; ++row) {
    for (int k = 1; k <= CAP_DOFS_2D; ++k) PileTable.head_force(row, k, 1) = 0.0;
  }
  // The rows' cap pass on user p-y curves reads the cap's own horizontal
  // movement at this u.
  CapPassiveState.horizontal_movement = std::fabs(cap_u(2));
  RUN_PILE_LOOP(n_rows, status, [&cap_u](int row, PileEvaluation& evaluation, PileHeadWork& work) {
    Vector3 f_origin{};
    int own_status = STATUS_OK;
    evaluate_row(row, cap_u, f_origin, own_status, evaluation, work);
    if (own_status != STATUS_OK) return own_status;
    for (int k = 1; k <= CAP_DOFS_2D; ++k) PileTable.head_force(row, k, 1) = f_origin(k);
    return own_status;
  });
  SUM_HEAD_FORCES(n_rows, CAP_DOFS_2D, resultant);
}

}  // namespace pilecap
