// Passive resistance of an embedded pile cap at the cap origin. By the
// element (method 1): the cap displacement is carried to the element's top
// (u + theta x r) and into its axes, the element's soil reaction back to the
// origin (moments gain r x F); in space its tangent comes from central
// differences with steps of its own, in the plane the solver differentiates
// the force itself. By the means of the piles (method 0): a pressure on the
// embedded height of the cap, trapezoidal from the mean soil reaction at the
// pile heads, opposing the horizontal movement in proportion to its
// components. Cap vectors in the order of the cap displacement (3D: X, Y, Z,
// RX, RY, RZ; plane: X, Y, RZ), X vertical; matrices column-major.
#include <cmath>

#include "base/arrays.hpp"
#include "base/exact_sum.hpp"
#include "cap/embedded_cap.hpp"
#include "group/difference_tangent.hpp"
#include "group/group_forces.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

constexpr double EMBEDDED_GROUND_LINE = -double(1e-6f);  // a mean ground line below this embeds the cap
constexpr double NO_HORIZONTAL_MOVEMENT = double(1e-14f);
constexpr double ONE_THIRD_DIVISOR = 3.0;

// The cap vector entries of the passive resultant (1-based).
constexpr int FY = 2, FZ = 3, MY = 5, MZ = 6;

using Vector6 = Array1<double, CAP_DOFS>;
using Vector3 = Array1<double, CAP_DOFS_2D>;
using Matrix3 = Array2<double, CAP_DOFS_2D, CAP_DOFS_2D>;

int element_entry() { return PileTable.n_piles + 1; }

}  // namespace

void CAP_ELEMENT_FORCE(double* f, const double* u, int& status) {
  const int e = element_entry();
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(e, offset_transposed, offset, rotation, rotation_transposed);
  for (int k = 0; k < CAP_DOFS; ++k) f[k] = 0.0;
  // Cap axes to element axes: the transposed rotation of the transformation.
  Vector6 local_u;
  MAT6_TIMES_VECTORS(local_u.data(), rotation_transposed.data(), u, 1);
  CAP_ELEMENT_NODES(status);
  if (status != STATUS_OK) return;
  double force_y = 0.0, force_z = 0.0, moment_z = 0.0, moment_y = 0.0;
  CAP_SOIL_REACTION_3D(local_u(2), local_u(6), local_u(3), local_u(5), force_y, force_z, moment_z, moment_y, status);
  if (status != STATUS_OK) return;
  const double n = PileTable.n_identical(e);
  Vector6 local_f{}, cap_f;
  local_f(2) = force_y * n;
  local_f(3) = force_z * n;
  local_f(5) = moment_y * n;
  local_f(6) = moment_z * n;
  MAT6_TIMES_VECTORS(cap_f.data(), rotation.data(), local_f.data(), 1);
  for (int k = 1; k <= CAP_DOFS; ++k) f[k - 1] += cap_f(k);
}

void CAP_PASSIVE_FORCE(double* passive, const double* u, int& status) {
  for (int k = 0; k < CAP_DOFS; ++k) passive[k] = 0.0;
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(element_entry(), offset_transposed, offset, rotation, rotation_transposed);
  Vector6 top_u, top_f, origin_f;
  MAT6_TIMES_VECTORS(top_u.data(), offset.data(), u, 1);
  CAP_ELEMENT_FORCE(top_f.data(), top_u.data(), status);
  if (status != STATUS_OK) return;
  MAT6_TIMES_VECTORS(origin_f.data(), offset_transposed.data(), top_f.data(), 1);
  for (int k = 1; k <= CAP_DOFS; ++k) passive[k - 1] += origin_f(k);
}

void CAP_PASSIVE_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps, int& status) {
  double step_t = RunOptions.units == UNITS_SI ? STEP_TRANSLATION_METRES : STEP_TRANSLATION_INCHES;
  double step_r = STEP_ROTATION;
  SCALE_DIFFERENCE_STEPS(du, step_t, step_r, fixed_steps, iteration);
  auto element_force = [](int /*evaluation*/, const double* w, double* g, int& s) { CAP_PASSIVE_FORCE(g, w, s); };
  CENTRAL_DIFFERENCE_TANGENT(k, u, step_t, step_r, element_force, true, status);
}

void CAP_PASSIVE_FORCE_2D(double* passive, const double* u, int& status) {
  for (int k = 0; k < CAP_DOFS_2D; ++k) passive[k] = 0.0;
  const int e = element_entry();
  const double c = std::cos(PileTable.batter(e)), s = std::sin(PileTable.batter(e));
  const double x = PileTable.head_depth(e), y = PileTable.head_plan(e);
  Matrix3 a, a_transposed;
  a(1, 1) = c;
  a(2, 1) = s;
  a(3, 1) = x * s - y * c;
  a(1, 2) = -s;
  a(2, 2) = c;
  a(3, 2) = x * c + y * s;
  a(1, 3) = 0.0;
  a(2, 3) = 0.0;
  a(3, 3) = 1.0;
  for (int i = 1; i <= CAP_DOFS_2D; ++i) {
    for (int j = 1; j <= CAP_DOFS_2D; ++j) a_transposed(i, j) = a(j, i);
  }
  Vector3 local_u;
  MULTIPLY_3X3_BY_COLUMNS(local_u.data(), a_transposed.data(), u, 1);
  CAP_ELEMENT_NODES(status);
  if (status != STATUS_OK) return;
  double force = 0.0, moment = 0.0;
  CAP_SOIL_REACTION_2D(local_u(2), local_u(3), force, moment, status);
  if (status != STATUS_OK) return;
  const double n = PileTable.n_identical(e);
  Vector3 local_f{}, cap_f;
  local_f(2) = force * n;
  local_f(3) = moment * n;
  MULTIPLY_3X3_BY_COLUMNS(cap_f.data(), a.data(), local_f.data(), 1);
  for (int k = 1; k <= CAP_DOFS_2D; ++k) passive[k - 1] += cap_f(k);
}

void CAP_PASSIVE_RESULTANT(double* passive, const double* u, int& status) {
  // The piles' cap pass reads the cap's movement at this u (user p-y
  // curves), so it is set before the piles are evaluated.
  auto& state = CapPassiveState;
  const double uy = u[FY - 1], uz = u[FZ - 1];
  state.horizontal_movement = std::sqrt(uy * uy + uz * uz);
  Vector6 pile_forces;
  FVEC(pile_forces.data(), u, status);
  const int n_piles = PileTable.n_piles;
  const double divisor = n_piles >= 1 ? n_piles : 1;
  // Rounded once, so that the means do not depend on the pile numbering.
  ExactSum ground_sum, reaction_sum;
  for (int p = 1; p <= n_piles; ++p) {
    ground_sum.add(PileSoilData.ground_line(p));
    reaction_sum.add(PileSoilData.first_node_reaction(p));
  }
  state.mean_ground_line = ground_sum.value() / divisor;
  state.mean_first_node_reaction = reaction_sum.value() / divisor;
  const double g = state.mean_ground_line, pb = state.mean_first_node_reaction;

  // The pressure pb at the pile heads falls linearly to 0 at the ground, so
  // the cap's top, when below the ground, sees pt; H is the embedded height.
  double force = 0.0, moment = 0.0;
  if (g < EMBEDDED_GROUND_LINE) {
    const double depth = std::fabs(g), thickness = CapGeometry.thickness_xx;
    double pt = 0.0, height = depth;
    if (depth > thickness) {
      pt = (depth - thickness) * pb / depth;
      height = thickness;
    }
    const double x_n = n_piles >= 1 ? PileTable.head_x(n_piles) : 0.0;
    force = (pb + pt) * 0.5 * height;
    moment = height * ((0.5 * height - x_n) * pt + 0.5 * (pb - pt) * (height / ONE_THIRD_DIVISOR - x_n));
  }

  for (int k = 0; k < CAP_DOFS; ++k) passive[k] = 0.0;
  if (!(std::fabs(state.horizontal_movement) > NO_HORIZONTAL_MOVEMENT)) return;
  const double w = std::fabs(uy) / (std::fabs(uz) + std::fabs(uy));
  const double sign_y = uy >= 0.0 ? -1.0 : 1.0, sign_z = uz >= 0.0 ? -1.0 : 1.0;
  passive[FY - 1] = force * w * sign_y;
  passive[MZ - 1] = -moment * w * sign_y;
  passive[FZ - 1] = force * (1.0 - w) * sign_z;
  passive[MY - 1] = moment * (1.0 - w) * sign_z;
}

void CAP_PASSIVE_RESULTANT_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps,
                                     int& status) {
  double step_t = 0.0, step_r = 0.0;
  HEAD_DIFFERENCE_STEPS(du, iteration, fixed_steps, step_t, step_r);
  auto resultant = [](int /*evaluation*/, const double* w, double* g, int& s) { CAP_PASSIVE_RESULTANT(g, w, s); };
  CENTRAL_DIFFERENCE_TANGENT(k, u, step_t, step_r, resultant, false, status);
}

}  // namespace pilecap
