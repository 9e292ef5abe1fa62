// Equilibrium of a rigid pile cap in 2D: the load fraction TCUR rises in
// steps DTCUR to 1, and in every step full Newton iterations
// U := U + K^-1 (P TCUR - F(U)) run until both the translation and the
// rotation increment are small against the displacement of the step. The
// tangent K is rebuilt in every iteration from central differences of the
// whole group force vector (six evaluations), made symmetric in the first
// iteration of a step attempt. The stepping itself, shared with the 3D
// solver, is cap_stepping.hpp; this file is the plane's stepping trait for it.
// Vectors are (X vertical, Y horizontal, rotation Z); matrices column-major.
#include <algorithm>
#include <cmath>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_solver.hpp"
#include "cap/cap_stepping.hpp"
#include "cap/cap_vectors.hpp"
#include "cap/embedded_cap.hpp"
#include "group/group_forces.hpp"
#include "group/pile_loads.hpp"
#include "group/pile_loop.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

using State = CapSolverState2D;
using Vector3 = CapSolverState2D::Vector3;
using Matrix3 = Array2<double, CAP_DOFS_2D, CAP_DOFS_2D>;

constexpr double SYMMETRY_FACTOR = 0.5;
constexpr double SINGULAR_DETERMINANT = double(1e-14f);
constexpr int PY_VALUES_AT_NODES = 0;

// Iteration dump records.
constexpr const char* DUMP_TANGENT_ROW_LAYOUT = "(\"SS  \",I1,7E18.10)";
constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = "(\"SE  \",I1,7E18.10)";
constexpr const char* DUMP_VECTOR_LAYOUT = "(A5,7E18.10)";
constexpr const char* DUMP_LABELS[2][6] = {{"DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "},
                                           {"DDUV ", "DFUV ", "UDUV ", "DUV  ", "FFUV ", "RUV  "}};

CapSolutionHook2D solution_hook = nullptr;

// The plane's fixed translation step of the tangent at rest.
double translation_step() {
  return RunOptions.units == UNITS_SI ? STEP_TRANSLATION_2D_METRES : STEP_TRANSLATION_2D_INCHES;
}

// The resistance of the embedded cap at u from the means of the base state.
void passive_at(const State& s, const double* u, CapPassive2D& passive, int& status) {
  CAP_PASSIVE_2D(u, s.mean_ground_line, s.mean_reaction, passive, status);
}

// The embedded cap's resistance at the base state, taken off the pile forces.
bool subtract_cap_resistance(State& s, int& status) {
  s.passive = CapPassive2D{};
  if (RunOptions.cap_passive_option <= 0) return true;
  CAP_PASSIVE_MEANS_2D(s.mean_ground_line, s.mean_reaction);
  passive_at(s, s.displacement.data(), s.passive, status);
  if (status != STATUS_OK) return false;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) s.pile_force(k) -= s.passive.force(k);
  return true;
}

// The difference steps of the iteration by the rule of the head tangents:
// steps far below the closure of the lateral pile solutions would see only
// its noise, steps far above the increments blur a stiffness that changes
// within them (the soft-clay curves near zero deflection), and the cap then
// oscillates about its solution without converging.
void tangent_steps(const State& s, double steps[CAP_DOFS_2D]) {
  const double du[CAP_DOFS] = {s.increment(1), s.increment(2), 0.0, 0.0, 0.0, s.increment(3)};
  double step_t = 0.0, step_r = 0.0;
  HEAD_DIFFERENCE_STEPS(du, s.iteration, s.fixed_steps, step_t, step_r);
  steps[0] = steps[1] = step_t;
  steps[2] = step_r;
}

// The tangent of the piles less the difference tangent of the cap
// resistance; false when an evaluation set the status word.
bool form_tangent(State& s, int& status) {
  double steps[CAP_DOFS_2D];
  tangent_steps(s, steps);
  CAP_TANGENT_2D(s.tangent.data(), s.displacement.data(), steps, status);
  if (status != STATUS_OK) return false;
  if (RunOptions.cap_passive_option <= 0) return true;
  Vector3 u = s.displacement;
  for (int j = 1; j <= CAP_DOFS_2D; ++j) {
    CapPassive2D minus, plus;
    u(j) = s.displacement(j) - steps[j - 1];
    passive_at(s, u.data(), minus, status);
    u(j) = s.displacement(j) + steps[j - 1];
    passive_at(s, u.data(), plus, status);
    u(j) = s.displacement(j);
    if (status != STATUS_OK) return false;
    for (int i = 1; i <= CAP_DOFS_2D; ++i) {
      s.tangent(i, j) -= CENTRAL_DIFFERENCE_FACTOR * (plus.force(i) - minus.force(i)) / steps[j - 1];
    }
  }
  return true;
}

void write_tangent_rows(const State& s) {
  for (int i = 1; i <= CAP_DOFS_2D; ++i) {
    const Vector3 row{{s.tangent(i, 1), s.tangent(i, 2), s.tangent(i, 3)}};
    fio::write(UNIT_ITERATION_DUMP, DUMP_TANGENT_ROW_LAYOUT, i, row);
  }
}

void symmetrise(Matrix3& k) {
  for (int j = 1; j <= CAP_DOFS_2D; ++j) {
    for (int i = 1; i < j; ++i) k(i, j) = k(j, i) = (k(i, j) + k(j, i)) * SYMMETRY_FACTOR;
  }
}

// The inverse by cofactors: the adjugate over the determinant expanded along
// the first row; false when |det| is not above the singular limit.
bool invert_by_cofactors(const Matrix3& k, Matrix3& inverse) {
  const double c11 = k(2, 2) * k(3, 3) - k(2, 3) * k(3, 2);
  const double c12 = k(2, 3) * k(3, 1) - k(2, 1) * k(3, 3);
  const double c13 = k(2, 1) * k(3, 2) - k(2, 2) * k(3, 1);
  const double det = k(1, 1) * c11 + k(1, 2) * c12 + k(1, 3) * c13;
  if (!(std::fabs(det) > SINGULAR_DETERMINANT)) return false;
  inverse(1, 1) = c11 / det;
  inverse(2, 1) = c12 / det;
  inverse(3, 1) = c13 / det;
  inverse(1, 2) = (k(1, 3) * k(3, 2) - k(1, 2) * k(3, 3)) / det;
  inverse(2, 2) = (k(1, 1) * k(3, 3) - k(1, 3) * k(3, 1)) / det;
  inverse(3, 2) = (k(1, 2) * k(3, 1) - k(1, 1) * k(3, 2)) / det;
  inverse(1, 3) = (k(1, 2) * k(2, 3) - k(1, 3) * k(2, 2)) / det;
  inverse(2, 3) = (k(1, 3) * k(2, 1) - k(1, 1) * k(2, 3)) / det;
  inverse(3, 3) = (k(1, 1) * k(2, 2) - k(1, 2) * k(2, 1)) / det;
  return true;
}

// The increment dU of a run without a point; false when the tangent is
// singular.
bool solve_plain(State& s) {
  if (!invert_by_cofactors(s.tangent, s.inverse)) {
    s.singular = 1;
    return false;
  }
  MULTIPLY_3X3_BY_VECTOR(s.increment.data(), s.inverse.data(), s.residual.data());
  return true;
}

void write_dump_vectors(const State& s) {
  if (s.point_run == 0) {
    const Vector3* vectors[6] = {&s.increment,    &s.residual, &s.step_displacement,
                                 &s.displacement, &s.applied,  &s.pile_force};
    for (int r = 0; r < 6; ++r) fio::write(UNIT_ITERATION_DUMP, DUMP_VECTOR_LAYOUT, DUMP_LABELS[0][r], *vectors[r]);
    return;
  }
  CapSolverState2D::Vector6 step_sum, total, target_sum;
  for (int k = 1; k <= MIXED_SYSTEM_ORDER_2D; ++k) {
    const bool multiplier = k > CAP_DOFS_2D;
    step_sum(k) = multiplier ? s.point_solution(k) : s.step_displacement(k);
    total(k) = multiplier ? s.point_solution(k) : s.displacement(k);
    target_sum(k) = s.point_rhs(k) + s.point_force_target(k);
  }
  const CapSolverState2D::Vector6* vectors[6] = {&s.point_solution, &s.point_rhs,         &step_sum, &total,
                                                 &target_sum,       &s.point_force_target};
  for (int r = 0; r < 6; ++r) fio::write(UNIT_ITERATION_DUMP, DUMP_VECTOR_LAYOUT, DUMP_LABELS[1][r], *vectors[r]);
}

void compute_norms(State& s) {
  CAP_DISPLACEMENT_NORMS_2D(s.increment.data(), s.inc_dsp, s.inc_rot);
  CAP_DISPLACEMENT_NORMS_2D(s.step_displacement.data(), s.tot_dsp, s.tot_rot);
  MAX_ABS_2D(s.increment.data(), s.max_dsp, s.max_rot);
  s.err_dsp = s.tot_dsp == 0.0 ? s.inc_dsp : s.inc_dsp / s.tot_dsp;
  s.err_rot = s.tot_rot == 0.0 ? s.inc_rot : s.inc_rot / s.tot_rot;
}

// Loads, force vector, cap resistance, residual and tangent of one
// iteration, the tangent made symmetric (and its coupling limited in a point
// run) in the first iteration of a step attempt.
CapIteration prepare_iteration(State& s, int& status);

// The state an iteration reached, evaluated for the balance test: the
// force vector less the embedded cap's resistance, and the residual
// against the same load.
CapIteration check_state(State& s, int& status);

// What the plane cap differs in from the 3D one (see cap_stepping.hpp).
struct CapStepping2D : CapDimension2D {
  static constexpr double CONVERGED_INCREMENT = double(1e-10f);  // 1.000000013351432e-10
  static constexpr bool BLANK_BEFORE_STEP = false;
  static constexpr bool STEP_STATUS_LINES = false;
  static constexpr bool FIRST_ITERATION_COUNTS = false;  // skipped iterations do not count
  static CapIteration prepare_iteration(State& s, int& status) { return pilecap::prepare_iteration(s, status); }
  static CapIteration check_state(State& s, int& status) { return pilecap::check_state(s, status); }
  // The plane's factors of close spacing do not follow the movement.
  static void restore_converged_factors(const State& /*s*/) {}
  static bool solve_plain(State& s) { return pilecap::solve_plain(s); }
  static bool increment_finite(const State& s) { return CAP_VALUES_FINITE(s.increment); }
  static void after_increment(State& /*s*/) {}
  static void write_dump_vectors(const State& s) { pilecap::write_dump_vectors(s); }
  static void compute_norms(State& s) { pilecap::compute_norms(s); }
  static void start_step_attempt(State& /*s*/) { GeneratedPyCurve.active = PY_VALUES_AT_NODES; }
  static void on_converged_step(State& s) { s.converged_passive = s.passive; }
  static void on_failed_step(State& /*s*/) {}
  // The 6 x 6 bordered system.
  static constexpr int POINT_ORDER = MIXED_SYSTEM_ORDER_2D;
  static constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = pilecap::DUMP_SYSTEM_ROW_LAYOUT;
  static constexpr auto build_point_system = BUILD_MIXED_SYSTEM_2D;
  static constexpr auto point_system_residual = MIXED_RESIDUAL_2D;
  static constexpr auto multiply_point_system = MULTIPLY_MIXED_SYSTEM_2D;
};

CapIteration prepare_iteration(State& s, int& status) {
  if (!CAP_BASE_EVALUATION<CapStepping2D>(s, status)) return CapIteration::Return;
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), CAP_VALUES_FINITE(s.pile_force))) return CapIteration::Failed;
  CAP_APPLY_STEP_LOADS<CapStepping2D>(s);
  if (!subtract_cap_resistance(s, status)) return CapIteration::Return;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) s.residual(k) = s.applied(k) - s.pile_force(k);
  fio::write_list(UNIT_ITERATION_DUMP);
  fio::write_list(UNIT_ITERATION_DUMP, s.iteration);

  if (!form_tangent(s, status)) return CapIteration::Return;
  const bool all_numbers =
      CAP_VALUES_FINITE(s.pile_force) && CAP_VALUES_FINITE(s.residual) && CAP_VALUES_FINITE(s.tangent);
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), all_numbers)) return CapIteration::Failed;
  write_tangent_rows(s);
  s.assembled_tangent = s.tangent;
  if (s.iteration == 1) {
    symmetrise(s.tangent);
    if (s.point_run == 1) LIMIT_COUPLING_TERMS_2D(s.tangent.data());
  }
  return CapIteration::Solve;
}

CapIteration check_state(State& s, int& status) {
  if (!CAP_BASE_EVALUATION<CapStepping2D>(s, status)) return CapIteration::Return;
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), CAP_VALUES_FINITE(s.pile_force))) return CapIteration::Failed;
  if (!subtract_cap_resistance(s, status)) return CapIteration::Return;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) s.residual(k) = s.applied(k) - s.pile_force(k);
  if (FAILED_CAP_EVALUATION(false, CAP_VALUES_FINITE(s.residual))) return CapIteration::Failed;
  return CapIteration::Solve;
}

}  // namespace

void set_cap_solution_hook_2d(CapSolutionHook2D hook) { solution_hook = hook; }

void CAP_TANGENT_2D(double* k, const double* u, int& status) {
  const double steps[CAP_DOFS_2D] = {translation_step(), translation_step(), STEP_ROTATION_2D};
  CAP_TANGENT_2D(k, u, steps, status);
}

void CAP_TANGENT_2D(double* k, const double* u, const double* steps, int& status) {
  Vector3 w, minus[CAP_DOFS_2D], plus[CAP_DOFS_2D];
  for (int j = 1; j <= CAP_DOFS_2D; ++j) w(j) = u[j - 1];
  // The six force vectors share the curve data of the rows' nodes.
  const PileEvaluationPair pair;
  for (int side = 0; side < 2; ++side) {
    for (int j = 1; j <= CAP_DOFS_2D; ++j) {
      w(j) = u[j - 1] + (side == 0 ? -steps[j - 1] : steps[j - 1]);
      FVEC2D((side == 0 ? minus : plus)[j - 1].data(), w.data(), status);
      w(j) = u[j - 1];
      if (status != STATUS_OK) return;
    }
  }
  for (int j = 1; j <= CAP_DOFS_2D; ++j) {
    for (int i = 1; i <= CAP_DOFS_2D; ++i) {
      k[(i - 1) + CAP_DOFS_2D * (j - 1)] =
          CENTRAL_DIFFERENCE_FACTOR * (plus[j - 1](i) - minus[j - 1](i)) / steps[j - 1];
    }
  }
}

void SOLVE_CAP_2D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags) {
  CLEAR_WARNING_COUNTERS();
  State s;
  if (!START_CAP_RUN(s, run_kind, equivalent_load, cap_displacement, cap_load, point_loads, point_displacements, point,
                     dof_flags)) {
    return;
  }
  CAP_TAKE_RUN_LOADS<CapStepping2D>(s, cap_load, point_displacements);

  WRITE_CAP_TRACE_HEADING();
  print_flags = RunOptions.print_py_curves;
  RunOptions.print_py_curves = 0;
  AnalysisControl.pass_mode = 0;
  PileErrorWord.code = PILE_ERR_NONE;
  SAVE_DISTRIBUTED_LOADS();
  SAVE_SOIL_MOVEMENTS(s.movements_present);

  RUN_CAP_AND_REPORT<CapStepping2D>(s, status, solution_hook);
}

}  // namespace pilecap
