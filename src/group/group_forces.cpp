// The group force vector and tangent of the 3D pile cap. Each pile is carried
// from the cap origin to its head by u_head = T U, its head reaction back by
// T^T f, and its head tangent k by T^T k T; head tangents come from central
// differences of the head response (13 evaluations per pile). Piles run in
// the parallel pile loop (RUN_PILE_LOOP), each writing only its own rows of PileTable
// (head_force(p, 1..6, 1), head_stiffness(p, 1..6, 1..6)), its own status
// word and its own PileEvaluation (error word, warnings); every thread has
// one head work record for the whole region. The calling thread sums the
// rows and publishes the evaluations in pile order afterwards, so results
// and reports do not depend on the thread count.
#include "group/group_forces.hpp"

#include <cmath>
#include <vector>

#include "base/arrays.hpp"
#include "base/exact_sum.hpp"
#include "group/difference_tangent.hpp"
#include "group/pile_loop.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"

namespace pilecap {

namespace {

// A stand-in head response installed by tests; nullptr: the pile's own.
HeadResponseProvider head_response = nullptr;

// One head evaluation with a status word of its own; zero forces on failure.
void evaluate_head(int pile, double* forces, const double* u, int& status, PileEvaluation& evaluation,
                   PileHeadWork& work) {
  int own_status = STATUS_OK;
  if (head_response != nullptr) {
    const PileEvaluationScope scope(evaluation);
    head_response(pile, forces, u, own_status);
  } else {
    PILE_HEAD_RESPONSE(pile, forces, u, own_status, evaluation, work);
  }
  if (own_status != STATUS_OK) {
    for (int k = 0; k < CAP_DOFS; ++k) forces[k] = 0.0;
    if (status == STATUS_OK) status = own_status;
  }
}

// The offset matrices of pile p and the cap displacement carried to its head.
void carry_to_head(int pile, const Array1<double, CAP_DOFS>& cap_u, Matrix6& offset_transposed, Matrix6& offset,
                   Array1<double, CAP_DOFS>& u_head) {
  Matrix6 rotation, rotation_transposed;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  MULTIPLY_6X6_BY_VECTOR(u_head.data(), offset.data(), cap_u.data());
}

}  // namespace

void SET_HEAD_RESPONSE_PROVIDER(HeadResponseProvider provider) { head_response = provider; }

void PILE_HEAD_FORCES(int pile, double* forces, const double* u, int& status, PileEvaluation& evaluation,
                      PileHeadWork& work) {
  evaluate_head(pile, forces, u, status, evaluation, work);
}

void HEAD_DIFFERENCE_STEPS(const double* du, int iteration, int fixed_steps, double& step_t, double& step_r) {
  step_t = RunOptions.units == UNITS_SI ? STEP_TRANSLATION_METRES : STEP_TRANSLATION_INCHES;
  step_r = STEP_ROTATION;
  if (fixed_steps == 1) return;
  if (iteration <= STEP_FULL_ITERATIONS) {
    step_t *= STEP_REDUCTION;
    return;
  }
  const double translation = std::sqrt(du[0] * du[0] + du[1] * du[1] + du[2] * du[2]);
  const double rotation = std::sqrt(du[3] * du[3] + du[4] * du[4] + du[5] * du[5]);
  if (STEP_TRANSLATION_THRESHOLD * step_t > translation) step_t *= STEP_REDUCTION;
  if (rotation < STEP_SMALL_ROTATION_THRESHOLD) step_r = STEP_ROTATION_SMALL;
}

void FVEC(double* forces, const double* u, int& status) {
  const int n_piles = PileTable.n_piles;
  Array1<double, CAP_DOFS> cap_u{};
  for (int k = 1; k <= CAP_DOFS; ++k) {
    forces[k - 1] = 0.0;
    cap_u(k) = u[k - 1];
  }
  for (int p = 1; p <= n_piles; ++p) {
    for (int k = 1; k <= CAP_DOFS; ++k) PileTable.head_force(p, k, 1) = 0.0;
  }
  RUN_PILE_LOOP(n_piles, status, [&cap_u](int p, PileEvaluation& evaluation, PileHeadWork& work) {
    Matrix6 offset_transposed, offset;
    Array1<double, CAP_DOFS> u_head, f_head, f_origin;
    carry_to_head(p, cap_u, offset_transposed, offset, u_head);
    int own_status = STATUS_OK;
    evaluate_head(p, f_head.data(), u_head.data(), own_status, evaluation, work);
    if (own_status != STATUS_OK) return own_status;
    MULTIPLY_6X6_BY_VECTOR(f_origin.data(), offset_transposed.data(), f_head.data());
    for (int k = 1; k <= CAP_DOFS; ++k) PileTable.head_force(p, k, 1) = f_origin(k);
    return own_status;
  });
  SUM_HEAD_FORCES(n_piles, CAP_DOFS, forces);
}

void PILE_HEAD_STIFFNESS(int pile, double* k, const double* u, const double* du, int iteration, int fixed_steps,
                         int& status) {
  PileEvaluation evaluation;
  PILE_HEAD_STIFFNESS(pile, k, u, du, iteration, fixed_steps, status, evaluation, THREAD_HEAD_WORK());
  PUBLISH_PILE_EVALUATIONS(&evaluation, 1);
}

void PILE_HEAD_STIFFNESS(int pile, double* k, const double* u, const double* du, int iteration, int fixed_steps,
                         int& status, PileEvaluation& evaluation, PileHeadWork& work) {
  double step_t = 0.0, step_r = 0.0;
  HEAD_DIFFERENCE_STEPS(du, iteration, fixed_steps, step_t, step_r);
  // The base evaluation leaves nothing used; it keeps the pile's stores and
  // iteration history in the order the pile routines expect.
  CENTRAL_DIFFERENCE_TANGENT(
      k, u, step_t, step_r,
      [&](int, double* w, double* forces, int& evaluation_status) {
        evaluate_head(pile, forces, w, evaluation_status, evaluation, work);
      },
      false, status, DifferenceBase::FIRST);
}

void STIFF(double* k, const double* u, const double* du, int iteration, int fixed_steps, int& status) {
  const int n_piles = PileTable.n_piles;
  Array1<double, CAP_DOFS> cap_u{}, cap_du{};
  for (int j = 1; j <= CAP_DOFS; ++j) {
    cap_u(j) = u[j - 1];
    cap_du(j) = du[j - 1];
  }
  for (int p = 1; p <= n_piles; ++p) {
    for (int j = 1; j <= CAP_DOFS; ++j) {
      for (int i = 1; i <= CAP_DOFS; ++i) PileTable.head_stiffness(p, i, j) = 0.0;
    }
  }
  RUN_PILE_LOOP(n_piles, status, [&](int p, PileEvaluation& evaluation, PileHeadWork& work) {
    Matrix6 offset_transposed, offset;
    Array1<double, CAP_DOFS> u_head;
    carry_to_head(p, cap_u, offset_transposed, offset, u_head);
    Matrix6 head_k, head_k_offset, origin_k;
    int own_status = STATUS_OK;
    PILE_HEAD_STIFFNESS(p, head_k.data(), u_head.data(), cap_du.data(), iteration, fixed_steps, own_status, evaluation,
                        work);
    MAT6_TIMES_VECTORS(head_k_offset.data(), head_k.data(), offset.data(), CAP_DOFS);
    MAT6_TIMES_VECTORS(origin_k.data(), offset_transposed.data(), head_k_offset.data(), CAP_DOFS);
    for (int j = 1; j <= CAP_DOFS; ++j) {
      for (int i = 1; i <= CAP_DOFS; ++i) PileTable.head_stiffness(p, i, j) = origin_k(i, j);
    }
    return own_status;
  });
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) {
      // Rounded once, as the force vector is: a symmetric group has exact
      // zeros where its stiffness couples nothing.
      ExactSum sum;
      for (int p = 1; p <= n_piles; ++p) sum.add(PileTable.head_stiffness(p, i, j));
      k[(i - 1) + CAP_DOFS * (j - 1)] = sum.value();
    }
  }
}

}  // namespace pilecap
