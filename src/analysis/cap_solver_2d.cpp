// Equilibrium of a rigid pile cap in 2D: the load fraction TCUR rises in
// steps DTCUR to 1, and in every step full Newton iterations
// U := U + K^-1 (P TCUR - F(U)) run until both the translation and the
// rotation increment are small against the displacement of the step. The
// tangent K is rebuilt in every iteration from central differences of the
// whole group force vector (six evaluations), made symmetric in the first
// iteration of a step attempt. A step that does not converge is repeated
// from the last converged fraction with DTCUR halved; below the minimum step
// the run ends with the fraction reached. Vectors are (X vertical, Y
// horizontal, rotation Z); matrices column-major.
#include <algorithm>
#include <cmath>

#include "analysis/analysis.hpp"
#include "analysis/pile_loop.hpp"
#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

using State = CapSolverState2D;
using Vector3 = CapSolverState2D::Vector3;
using Matrix3 = Array2<double, CAP_DOFS_2D, CAP_DOFS_2D>;

constexpr double HALVING_FACTOR = 0.5;
constexpr double SYMMETRY_FACTOR = 0.5;
constexpr int MOVEMENT_FIRST_CONVERGENCE = 12;
constexpr double SMALL_INCREMENT = double(1e-10f);  // 1.000000013351432e-10
constexpr double SINGULAR_DETERMINANT = double(1e-14f);
constexpr int PY_VALUES_AT_NODES = 0;

// Iteration dump records.
constexpr const char* DUMP_TANGENT_ROW_LAYOUT = "(\"SS  \",I1,7E18.10)";
constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = "(\"SE  \",I1,7E18.10)";
constexpr const char* DUMP_VECTOR_LAYOUT = "(A5,7E18.10)";
constexpr const char* DUMP_LABELS[2][6] = {{"DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "},
                                           {"DDUV ", "DFUV ", "UDUV ", "DUV  ", "FFUV ", "RUV  "}};

enum class Attempt { Converged, Failed, Return };

CapSolutionHook2D solution_hook = nullptr;

void clear_warning_counters() {
  WarningCounters.bearing = WarningCounters.pull_out = WarningCounters.torsion = 0;
  WarningCounters.base_evaluation = 0;
}

// A lateral pile solution that did not close or p-y curves that end short
// (the value 4 of a non-converged axial variation does not count).
bool lateral_failure() { return (PileErrorWord.code & ~PILE_ERR_AXIAL_VARIATION) == PILE_ERR_NO_CLOSURE; }

double translation_step() {
  return RunOptions.units == UNITS_SI ? STEP_TRANSLATION_2D_METRES : STEP_TRANSLATION_2D_INCHES;
}

// The resistance of the embedded cap at u from the means of the base state.
void passive_at(const State& s, const double* u, CapPassive2D& passive, int& status) {
  CAP_PASSIVE_2D(u, s.mean_ground_line, s.mean_reaction, passive, status);
}

// Loads, movements and the base force evaluation of one iteration; false
// when the status word was set.
bool evaluate_forces(State& s, int& status) {
  s.movement_fraction = APPLY_STEP_FRACTION(s.tcur, s.converged_fraction, s.iteration);
  // Only this evaluation records curve warnings, so the counters and the
  // axial-warning file describe the same evaluation when it is reported.
  WarningCounters.base_evaluation = 1;
  if (OPEN_FILE_FOR_WRITING(UNIT_AXIAL_WARNINGS, RunFiles.axial_warnings_file, status)) {
    FVEC2D(s.pile_force.data(), s.displacement.data(), status);
  }
  fio::close(UNIT_AXIAL_WARNINGS);
  WarningCounters.base_evaluation = 0;
  return status == STATUS_OK;
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

// The tangent of the piles less the difference tangent of the cap
// resistance; false when an evaluation set the status word.
bool form_tangent(State& s, int& status) {
  CAP_TANGENT_2D(s.tangent.data(), s.displacement.data(), status);
  if (status != STATUS_OK) return false;
  if (RunOptions.cap_passive_option <= 0) return true;
  const double steps[CAP_DOFS_2D] = {translation_step(), translation_step(), STEP_ROTATION_2D};
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

// The increment dU of the iteration; false when the system is singular.
bool solve_increment(State& s) {
  s.singular = 0;
  if (s.point_run == 1) {
    BUILD_MIXED_SYSTEM_2D(s.mixed.data(), s.tangent.data(), s.point, s.dof_flags);
    for (int i = 1; i <= MIXED_SYSTEM_ORDER_2D; ++i) {
      CapSolverState2D::Vector6 row;
      for (int j = 1; j <= MIXED_SYSTEM_ORDER_2D; ++j) row(j) = s.mixed(i, j);
      fio::write(UNIT_ITERATION_DUMP, DUMP_SYSTEM_ROW_LAYOUT, i, row);
    }
    INVERT_MATRIX(s.mixed.data(), MIXED_SYSTEM_ORDER_2D, MIXED_SYSTEM_ORDER_2D, s.singular);
    if (s.singular == 1) return false;
    MIXED_RESIDUAL_2D(s.mixed_rhs.data(), s.mixed_forces.data(), s.residual.data(), s.pile_force.data(),
                      s.point_displacement, s.displacement.data(), s.point, s.dof_flags);
    MULTIPLY_MIXED_SYSTEM_2D(s.mixed_solution.data(), s.mixed.data(), s.mixed_rhs.data());
    for (int k = 1; k <= CAP_DOFS_2D; ++k) s.increment(k) = s.mixed_solution(k);
    return true;
  }
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
    step_sum(k) = multiplier ? s.mixed_solution(k) : s.step_displacement(k);
    total(k) = multiplier ? s.mixed_solution(k) : s.displacement(k);
    target_sum(k) = s.mixed_rhs(k) + s.mixed_forces(k);
  }
  const CapSolverState2D::Vector6* vectors[6] = {&s.mixed_solution, &s.mixed_rhs,   &step_sum, &total,
                                                 &target_sum,       &s.mixed_forces};
  for (int r = 0; r < 6; ++r) fio::write(UNIT_ITERATION_DUMP, DUMP_VECTOR_LAYOUT, DUMP_LABELS[1][r], *vectors[r]);
}

void compute_norms(State& s) {
  CAP_DISPLACEMENT_NORMS_2D(s.increment.data(), s.inc_dsp, s.inc_rot);
  CAP_DISPLACEMENT_NORMS_2D(s.step_displacement.data(), s.tot_dsp, s.tot_rot);
  MAX_ABS_2D(s.increment.data(), s.max_dsp, s.max_rot);
  s.err_dsp = s.tot_dsp == 0.0 ? s.inc_dsp : s.inc_dsp / s.tot_dsp;
  s.err_rot = s.tot_rot == 0.0 ? s.inc_rot : s.inc_rot / s.tot_rot;
}

// One test (translation or rotation) of the convergence of an iteration.
bool small_enough(double err, double inc, double tot, double max_value, double max_limit) {
  const AnalysisControlRecord& a = AnalysisControl;
  if (a.tolerance >= err || inc <= SMALL_INCREMENT || tot <= SMALL_INCREMENT) return true;
  return a.use_max_limits == 1 && max_limit >= max_value;
}

// Newton iterations of one step attempt.
Attempt run_step_attempt(State& s, int& status) {
  const AnalysisControlRecord& a = AnalysisControl;
  s.iteration = 0;
  for (;;) {
    ++s.iteration;
    PileErrorWord.code = PILE_ERR_NONE;
    clear_warning_counters();
    WRITE_SOLVER_STATUS(s.run_kind, SOLVER_EVENT_ITERATION, s.step, s.tcur, s.iteration, MODEL_2D);
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      return Attempt::Return;
    }
    if (!evaluate_forces(s, status)) return Attempt::Return;
    if (FAILED_CAP_EVALUATION(lateral_failure(), CAP_VALUES_FINITE(s.pile_force))) return Attempt::Failed;

    for (int k = 1; k <= CAP_DOFS_2D; ++k) s.applied(k) = s.full_load(k) * s.tcur;
    if (s.point_run == 1) {
      for (int k = 1; k <= CAP_DOFS_2D; ++k) {
        s.point_load_working(k) = s.point_load[k - 1] * s.tcur;
        s.point_displacement[k - 1] = s.point_displacement_entry(k) * s.tcur;
      }
    }
    if (!subtract_cap_resistance(s, status)) return Attempt::Return;
    for (int k = 1; k <= CAP_DOFS_2D; ++k) s.residual(k) = s.applied(k) - s.pile_force(k);
    fio::write_list(UNIT_ITERATION_DUMP);
    fio::write_list(UNIT_ITERATION_DUMP, s.iteration);

    if (!form_tangent(s, status)) return Attempt::Return;
    const bool all_numbers =
        CAP_VALUES_FINITE(s.pile_force) && CAP_VALUES_FINITE(s.residual) && CAP_VALUES_FINITE(s.tangent);
    if (FAILED_CAP_EVALUATION(lateral_failure(), all_numbers)) return Attempt::Failed;
    write_tangent_rows(s);
    s.assembled_tangent = s.tangent;
    if (s.iteration == 1) {
      symmetrise(s.tangent);
      if (s.point_run == 1) LIMIT_COUPLING_TERMS_2D(s.tangent.data());
    }
    // An increment beyond the range of numbers comes from a tangent that is
    // singular in all but its exact zeros.
    if (!solve_increment(s) || !CAP_VALUES_FINITE(s.increment)) {
      WRITE_SINGULAR_TANGENT_WARNING();
      PileErrorWord.code = PILE_ERR_SINGULAR;
      return Attempt::Failed;
    }
    for (int k = 1; k <= CAP_DOFS_2D; ++k) {
      s.displacement(k) += s.increment(k);
      s.step_displacement(k) += s.increment(k);
    }
    write_dump_vectors(s);
    compute_norms(s);
    WRITE_CAP_TRACE_ITERATION(s.iteration, s.err_dsp, s.inc_dsp, s.tot_dsp, s.err_rot, s.inc_rot, s.tot_rot, s.max_dsp,
                              s.max_rot);

    // The first iteration never converges; with soil movements none before
    // the movements have reached the step's fraction. Skipped iterations do
    // not count against the limit.
    if (s.iteration == 1) continue;
    if (s.movements_present == 1 && s.iteration < MOVEMENT_FIRST_CONVERGENCE) continue;
    const bool translation = small_enough(s.err_dsp, s.inc_dsp, s.tot_dsp, s.max_dsp, a.max_dsp_limit);
    const bool rotation = small_enough(s.err_rot, s.inc_rot, s.tot_rot, s.max_rot, a.max_rot_limit);
    if (translation && rotation) return Attempt::Converged;
    if (s.iteration > a.max_iterations) return Attempt::Failed;
  }
}

void finish_converged_step(State& s) {
  s.converged_tangent = s.assembled_tangent;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) {
    s.step_start_displacement(k) += s.step_displacement(k);
    s.displacement(k) = s.step_start_displacement(k);
  }
  s.converged_fraction = s.tcur;
  s.tcur += s.dtcur;
  if (s.tcur > 1.0 && s.converged_fraction < 1.0 - RunConstants.tiny) s.tcur = 1.0;
  s.last_step_result = 1;
}

// A failed step: halve DTCUR and retry from the last converged fraction plus
// the halved step (never behind it, also after a shortened last step), or
// abandon the run when the halved step is below the minimum or no longer
// moves the fraction.
void finish_failed_step(State& s) {
  s.dtcur *= HALVING_FACTOR;
  s.displacement = s.step_start_displacement;
  const double retry = s.converged_fraction + s.dtcur;
  if (AnalysisControl.min_step > s.dtcur || !(retry > s.converged_fraction)) {
    WRITE_CAP_ABANDON_WARNING();
    s.tcur = TCUR_ABANDONED;
    s.last_step_result = -1;
  } else {
    s.tcur = std::min(retry, 1.0);
    --s.step;
  }
}

}  // namespace

void set_cap_solution_hook_2d(CapSolutionHook2D hook) { solution_hook = hook; }

void CAP_TANGENT_2D(double* k, const double* u, int& status) {
  const double steps[CAP_DOFS_2D] = {translation_step(), translation_step(), STEP_ROTATION_2D};
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
  clear_warning_counters();
  State s;
  if (!START_CAP_RUN(s, run_kind, equivalent_load, cap_displacement, cap_load, point_loads, point_displacements, point,
                     dof_flags)) {
    return;
  }
  for (int k = 1; k <= CAP_DOFS_2D; ++k) {
    s.full_load(k) = cap_load[k - 1];
    s.point_displacement_entry(k) = point_displacements[k - 1];
  }
  s.tcur = s.dtcur = AnalysisControl.initial_step;

  WRITE_CAP_TRACE_HEADING();
  print_flags = RunOptions.print_py_curves;
  RunOptions.print_py_curves = 0;
  AnalysisControl.pass_mode = 0;
  PileErrorWord.code = PILE_ERR_NONE;
  SAVE_DISTRIBUTED_LOADS();
  SAVE_SOIL_MOVEMENTS(s.movements_present);

  // A step above the full load computes no step; so does a step that is not
  // positive, which would never advance the fraction.
  const bool stepping = AnalysisControl.initial_step > 0.0 && AnalysisControl.initial_step <= 1.0;
  while (stepping && s.tcur <= 1.0) {
    if (s.step >= CAP_LOAD_STEP_LIMIT) {
      WRITE_CAP_STEP_LIMIT_WARNING();
      s.tcur = TCUR_ABANDONED;
      break;
    }
    ++s.step;
    WRITE_CAP_TRACE_STEP(s.step, s.tcur, s.dtcur);
    s.step_displacement.fill(0.0);
    s.increment.fill(0.0);
    GeneratedPyCurve.active = PY_VALUES_AT_NODES;
    const Attempt outcome = run_step_attempt(s, status);
    if (outcome == Attempt::Return) return;
    if (outcome == Attempt::Converged) {
      finish_converged_step(s);
    } else {
      finish_failed_step(s);
    }
  }

  s.road = (s.step == 1 && s.last_step_result == -1) ? CAP_ROAD_NO_CONVERGENCE : CAP_ROAD_FULL_OUTPUT;
  if (solution_hook != nullptr) solution_hook(s);
  REPORT_CAP_SOLUTION_2D(s, status);
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
