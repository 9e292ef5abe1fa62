// The central-difference frame that the group tangents of the 3D cap share:
// twelve evaluations of a cap function G, each at the cap displacement with
// one component moved by its step (+1 .. +6, then -1 .. -6), on a copy of the
// displacement whose perturbed component is put back to its saved value.
// Cap vectors of 6 doubles, the tangent column-major. Shared by a pile's
// head tangent, the group's tangent with its reduction factors and the
// embedded cap.
#pragma once

#include "base/arrays.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"

namespace pilecap {

// Evaluations of one difference tangent, numbered as they are made.
constexpr int DIFFERENCE_EVALUATIONS = 2 * CAP_DOFS;

// Whether a difference tangent first evaluates G at u itself (evaluation 0),
// whose value it does not use: a function with a history (the piles'
// stores and iteration starts) then sees u before the moved displacements,
// in the order its own solver made them.
enum class DifferenceBase { NONE, FIRST };

// CENTRAL_DIFFERENCE_TANGENT
// K(i, j) = (G(u + h_j e_j)_i - G(u - h_j e_j)_i) / h_j x 0.5, h_j = step_t
// for the translations and step_r for the rotations.
//   out:    k (36)
//   in:     u (6, unchanged), step_t, step_r
//   in:     evaluate(evaluation, w, g, status): g := G(w); evaluation 1..6 for
//           +h_j, 7..12 for -h_j, in the order they are made
//   in:     stop_at_failure  true: the first evaluation that leaves status set
//           ends the tangent (k is then not valid); false: every evaluation
//           is made whatever status holds
//   in,out: status
//   in:     base  DifferenceBase::FIRST: evaluation 0, G(u), before the others
template <class Evaluate>
void CENTRAL_DIFFERENCE_TANGENT(double* k, const double* u, double step_t, double step_r, Evaluate evaluate,
                                bool stop_at_failure, int& status, DifferenceBase base = DifferenceBase::NONE) {
  Array1<double, CAP_DOFS> w, step;
  Array2<double, CAP_DOFS, CAP_DOFS> plus{}, minus{};  // column j: G at w_j + h_j (w_j - h_j)
  for (int j = 1; j <= CAP_DOFS; ++j) {
    w(j) = u[j - 1];
    step(j) = j <= CAP_TRANSLATION_DOFS ? step_t : step_r;
  }
  if (base == DifferenceBase::FIRST) {
    Array1<double, CAP_DOFS> unused{};
    evaluate(0, w.data(), unused.data(), status);
    if (stop_at_failure && status != STATUS_OK) return;
  }
  for (int side = 0; side < 2; ++side) {
    for (int j = 1; j <= CAP_DOFS; ++j) {
      w(j) = side == 0 ? u[j - 1] + step(j) : u[j - 1] - step(j);
      evaluate(side * CAP_DOFS + j, w.data(), side == 0 ? plus.column(j) : minus.column(j), status);
      w(j) = u[j - 1];
      if (stop_at_failure && status != STATUS_OK) return;
    }
  }
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) {
      k[(i - 1) + CAP_DOFS * (j - 1)] = (plus(i, j) - minus(i, j)) / step(j) * CENTRAL_DIFFERENCE_FACTOR;
    }
  }
}

}  // namespace pilecap
