// Equilibrium of a rigid pile cap in 3D: the load fraction TCUR rises in
// steps DTCUR to 1, and in every step Newton iterations U := U + K^-1 R with
// R = -(P TCUR + F(U)) run until the translation and rotation increments are
// small against the displacement of the step. A step that does not converge
// is repeated from the last converged fraction with DTCUR halved; below the
// minimum step the run ends with the fraction reached. Cap vectors are six
// doubles (X vertical, Y, Z, then the rotations), 6 x 6 matrices column-major.
// The trace goes to the run log, the vectors of every iteration to the
// iteration dump, progress lines to the status file.
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

constexpr double HALVING_FACTOR = 0.5;
constexpr double CONVERGED_INCREMENT = double(1e-12f);  // 9.999999960041972e-13
constexpr double LOOSE_INCREMENT = double(1e-8f);       // 9.99999993922529e-09
constexpr int LOOSE_AFTER_ITERATION = 40;
constexpr int MOVEMENT_FIRST_CONVERGENCE = 12;
constexpr int DIFFERENCE_TERM_AFTER = 10;
constexpr int TORSION_DIFFERENCE_LAST = 20;
constexpr double POINT_CLAMP_FACTOR = 0.5;
constexpr int PY_VALUES_AT_NODES = 0;

// Iteration dump records.
constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = "(\"SE \",I2,12E13.5)";
constexpr const char* DUMP_VECTOR_LAYOUT[2] = {"(A5,7E13.5)", "(A5,12E13.5)"};
constexpr const char* DUMP_LABELS[2][6] = {{"DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "},
                                           {"DDUV ", "DFUV ", "UDUV ", "DUV  ", "FFUV ", "RUV  "}};

enum StatusEvent {
  EVENT_ITERATION = SOLVER_EVENT_ITERATION,
  EVENT_STEP_COMPLETED = SOLVER_EVENT_STEP_COMPLETED,
  EVENT_ENDED = SOLVER_EVENT_ENDED
};

enum class Attempt { Converged, Failed, Return };

void clear_warning_counters() {
  WarningCounters.bearing = WarningCounters.pull_out = WarningCounters.torsion = 0;
  WarningCounters.base_evaluation = 0;
}

CapSolutionHook solution_hook = nullptr;

using State = CapSolverState3D;

// The status-file record of one event.
void write_status(const State& s, StatusEvent event, double tcur) {
  WRITE_SOLVER_STATUS(s.run_kind, event, s.step, tcur, s.iteration, MODEL_3D);
}

// A lateral pile solution that did not close or p-y curves that end short
// (the value 4 of a non-converged axial variation does not count).
bool lateral_failure() {
  const int code = PileErrorWord.code & ~PILE_ERR_AXIAL_VARIATION;
  return code == PILE_ERR_NO_CLOSURE;
}

// The translation and rotation norms of a cap vector are numbers.
bool finite_size(const Array1<double, CAP_DOFS>& v) {
  double translation = 0.0, rotation = 0.0;
  CAP_DISPLACEMENT_NORMS(v.data(), translation, rotation);
  return std::isfinite(translation) && std::isfinite(rotation);
}

// Symmetrises k; in a point run then limits every off-diagonal pair to half
// the magnitude of the row's diagonal, keeping its sign.
void condition_tangent(State& s) {
  auto& k = s.tangent;
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i < j; ++i) k(i, j) = k(j, i) = (k(i, j) + k(j, i)) * HALVING_FACTOR;
  }
  if (s.point_run == 0) return;
  for (int i = 1; i <= CAP_DOFS; ++i) {
    const double limit = POINT_CLAMP_FACTOR * std::fabs(k(i, i));
    for (int j = 1; j <= CAP_DOFS; ++j) {
      if (j == i || std::fabs(k(i, j)) <= limit) continue;
      k(i, j) = k(j, i) = std::copysign(limit, k(i, j));
    }
  }
}

void write_singular_warning() { WRITE_SINGULAR_TANGENT_WARNING(); }

// The increment dU from the conditioned tangent; false when it is singular.
bool solve_increment(State& s) {
  s.singular = 0;
  if (s.point_run == 1) {
    BUILD_POINT_SYSTEM(s.point_matrix.data(), s.tangent.data(), s.point, s.dof_flags);
    for (int i = 1; i <= POINT_SYSTEM_ORDER; ++i) {
      Array1<double, POINT_SYSTEM_ORDER> row;
      for (int j = 1; j <= POINT_SYSTEM_ORDER; ++j) row(j) = s.point_matrix(i, j);
      fio::write(UNIT_ITERATION_DUMP, DUMP_SYSTEM_ROW_LAYOUT, i, row);
    }
    INVERT_MATRIX(s.point_matrix.data(), POINT_SYSTEM_ORDER, POINT_SYSTEM_ORDER, s.singular);
    if (s.singular == 1) return false;
    POINT_SYSTEM_RESIDUAL(s.point_rhs.data(), s.point_force_target.data(), s.residual.data(), s.pile_force.data(),
                          s.point_displacement, s.displacement.data(), s.point, s.dof_flags);
    MULTIPLY_12X12_BY_VECTOR(s.point_solution.data(), s.point_matrix.data(), s.point_rhs.data());
    for (int k = 1; k <= CAP_DOFS; ++k) s.increment(k) = s.point_solution(k);
    return true;
  }
  INVERT_MATRIX(s.tangent.data(), CAP_DOFS, CAP_DOFS, s.singular);
  if (s.singular == 1) return false;
  MULTIPLY_6X6_BY_VECTOR(s.increment.data(), s.tangent.data(), s.residual.data());
  return true;
}

// U, the step sum and the point-system vectors take the increment.
void apply_increment(State& s) {
  for (int k = 1; k <= CAP_DOFS; ++k) {
    s.displacement(k) += s.increment(k);
    s.step_displacement(k) += s.increment(k);
  }
  if (s.point_run == 0) return;
  for (int k = 1; k <= CAP_DOFS; ++k) {
    s.point_step(k) += s.increment(k);
    s.point_total(k) += s.increment(k);
    const int multiplier = CAP_DOFS + k;
    s.point_step(multiplier) = s.point_solution(multiplier);
    s.point_total(multiplier) = s.point_saved_total(multiplier) + s.point_solution(multiplier);
  }
}

void write_dump_vectors(const State& s) {
  const int kind = s.point_run;
  const int n = kind == 1 ? POINT_SYSTEM_ORDER : CAP_DOFS;
  const char* layout = DUMP_VECTOR_LAYOUT[kind];
  Array1<double, POINT_SYSTEM_ORDER> applied{};
  for (int k = 1; k <= n; ++k) {
    applied(k) = kind == 1 ? -(s.point_force_target(k) + s.point_rhs(k)) : s.cap_load[k - 1];
  }
  const double* vectors[6];
  if (kind == 1) {
    vectors[0] = s.point_solution.data();
    vectors[1] = s.point_rhs.data();
    vectors[2] = s.point_step.data();
    vectors[3] = s.point_total.data();
    vectors[5] = s.point_force_target.data();
  } else {
    vectors[0] = s.increment.data();
    vectors[1] = s.residual.data();
    vectors[2] = s.step_displacement.data();
    vectors[3] = s.displacement.data();
    vectors[5] = s.pile_force.data();
  }
  vectors[4] = applied.data();
  for (int r = 0; r < 6; ++r) {
    if (kind == 1) {
      Array1<double, POINT_SYSTEM_ORDER> values;
      for (int k = 1; k <= n; ++k) values(k) = vectors[r][k - 1];
      fio::write(UNIT_ITERATION_DUMP, layout, DUMP_LABELS[kind][r], values);
    } else {
      Array1<double, CAP_DOFS> values;
      for (int k = 1; k <= n; ++k) values(k) = vectors[r][k - 1];
      fio::write(UNIT_ITERATION_DUMP, layout, DUMP_LABELS[kind][r], values);
    }
  }
}

void compute_norms(State& s) {
  CAP_DISPLACEMENT_NORMS(s.increment.data(), s.inc_dsp, s.inc_rot);
  CAP_DISPLACEMENT_NORMS(s.step_displacement.data(), s.tot_dsp, s.tot_rot);
  MAX_ABS_TRANSLATION_ROTATION(s.increment.data(), s.max_dsp, s.max_rot);
  s.err_dsp = s.tot_dsp == 0.0 ? s.inc_dsp : s.inc_dsp / s.tot_dsp;
  s.err_rot = s.tot_rot == 0.0 ? s.inc_rot : s.inc_rot / s.tot_rot;
}

void write_trace_iteration(const State& s) {
  WRITE_CAP_TRACE_ITERATION(s.iteration, s.err_dsp, s.inc_dsp, s.tot_dsp, s.err_rot, s.inc_rot, s.tot_rot, s.max_dsp,
                            s.max_rot);
}

// One test (translation or rotation) of the convergence of an iteration.
bool small_enough(double err, double inc, double tot, double max_value, double max_limit, int iteration) {
  const AnalysisControlRecord& a = AnalysisControl;
  if (err <= a.tolerance || inc <= CONVERGED_INCREMENT || tot <= CONVERGED_INCREMENT) return true;
  if (iteration > LOOSE_AFTER_ITERATION && (inc <= LOOSE_INCREMENT || tot <= LOOSE_INCREMENT)) return true;
  return a.use_max_limits == 1 && max_value <= max_limit;
}

// Passive resistance of an embedded cap and the difference term, added to
// the forces and the tangent; false when a routine left a status code.
bool add_cap_terms(State& s, int& status) {
  const double* u = s.displacement.data();
  const double* du = s.increment.data();
  s.tangent_term.fill(0.0);
  bool passive = false;
  if (RunOptions.cap_passive_option >= 1 && CapPassiveElement.method == PASSIVE_BY_MEANS) {
    CAP_PASSIVE_RESULTANT(s.passive_force.data(), u, status);
    if (status != STATUS_OK) return false;
    CAP_PASSIVE_RESULTANT_STIFFNESS(s.tangent_term.data(), u, du, s.iteration, s.fixed_steps, status);
    passive = true;
  } else if (RunOptions.cap_passive_option >= 1 && CapPassiveElement.method == PASSIVE_BY_ELEMENT) {
    CAP_PASSIVE_FORCE(s.passive_force.data(), u, status);
    if (status != STATUS_OK) return false;
    CAP_PASSIVE_STIFFNESS(s.tangent_term.data(), u, du, s.iteration, s.fixed_steps, status);
    passive = true;
  }
  if (status != STATUS_OK) return false;
  if (passive) {
    const auto& p = s.passive_force;
    if (std::fabs(p(2)) > 0.0) {
      s.passive_position = p(6) / p(2);
    } else if (std::fabs(p(3)) > 0.0) {
      s.passive_position = -p(5) / p(3);
    } else {
      s.passive_position = PileTable.n_piles >= 1 ? PileTable.head_x(PileTable.n_piles) : 0.0;
    }
    for (int k = 1; k <= CAP_DOFS; ++k) s.pile_force(k) += p(k);
    for (int j = 1; j <= CAP_DOFS; ++j) {
      for (int i = 1; i <= CAP_DOFS; ++i) s.tangent(i, j) += s.tangent_term(i, j);
    }
  }
  const bool difference_term = RunOptions.pmult_method > 0 && s.iteration > DIFFERENCE_TERM_AFTER &&
                               !(s.iteration > TORSION_DIFFERENCE_LAST && s.torsion_only == 1);
  if (difference_term) {
    CAP_STIFFNESS_BY_DIFFERENCES(s.tangent_term.data(), u, du, s.cap_load, s.iteration, s.fixed_steps, s.torsion_only,
                                 status);
    if (status != STATUS_OK) return false;
    for (int j = 1; j <= CAP_DOFS; ++j) {
      for (int i = 1; i <= CAP_DOFS; ++i) s.tangent(i, j) += s.tangent_term(i, j);
    }
  }
  return true;
}

// Loads, movements and the base force evaluation of one iteration.
bool evaluate_forces(State& s, int& status) {
  if (RunOptions.pmult_method > 0) {
    UPDATE_DIRECTION_P_MULTIPLIERS(s.displacement.data(), s.cap_load, s.iteration, s.torsion_only);
  }
  s.movement_fraction = APPLY_STEP_FRACTION(s.tcur, s.converged_fraction, s.iteration);
  // Only this evaluation records curve warnings, so the counters and the
  // axial-warning file describe the same evaluation when it is reported.
  WarningCounters.base_evaluation = 1;
  if (OPEN_FILE_FOR_WRITING(UNIT_AXIAL_WARNINGS, RunFiles.axial_warnings_file, status)) {
    FVEC(s.pile_force.data(), s.displacement.data(), status);
  }
  fio::close(UNIT_AXIAL_WARNINGS);
  WarningCounters.base_evaluation = 0;
  return status == STATUS_OK;
}

// Newton iterations of one step attempt.
Attempt run_step_attempt(State& s, int& status) {
  const AnalysisControlRecord& a = AnalysisControl;
  s.iteration = 0;
  for (;;) {
    ++s.iteration;
    PileErrorWord.code = PILE_ERR_NONE;
    clear_warning_counters();
    write_status(s, EVENT_ITERATION, s.tcur);
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      return Attempt::Return;
    }
    // The force vector and its tangent share curve data and lateral solutions.
    PileEvaluationPair pair;
    if (!evaluate_forces(s, status)) return Attempt::Return;
    if (FAILED_CAP_EVALUATION(lateral_failure(), CAP_VALUES_FINITE(s.pile_force))) return Attempt::Failed;

    for (int k = 1; k <= CAP_DOFS; ++k) s.cap_load[k - 1] = s.full_load(k) * s.tcur;
    if (s.point_run == 1) {
      for (int k = 1; k <= CAP_DOFS; ++k) {
        s.point_load_working(k) = s.point_load[k - 1] * s.tcur;
        s.point_displacement[k - 1] = s.point_displacement_entry(k) * s.tcur;
      }
    }
    s.fixed_steps = (SoilMovementProfile.count > 0 || s.point_run == 1) ? 1 : 0;

    STIFF(s.tangent.data(), s.displacement.data(), s.increment.data(), s.iteration, s.fixed_steps, status);
    pair.close();
    if (status != STATUS_OK) return Attempt::Return;
    if (!add_cap_terms(s, status)) return Attempt::Return;
    for (int k = 1; k <= CAP_DOFS; ++k) s.residual(k) = -(s.cap_load[k - 1] + s.pile_force(k));
    const bool all_numbers =
        CAP_VALUES_FINITE(s.pile_force) && CAP_VALUES_FINITE(s.residual) && CAP_VALUES_FINITE(s.tangent);
    if (FAILED_CAP_EVALUATION(lateral_failure(), all_numbers)) return Attempt::Failed;

    fio::write_list(UNIT_ITERATION_DUMP);
    fio::write_list(UNIT_ITERATION_DUMP, s.iteration);
    s.assembled_tangent = s.tangent;
    if (s.iteration == 1) condition_tangent(s);
    // An increment whose size is beyond the range of numbers comes from a
    // tangent that is singular in all but its exact zeros.
    if (!solve_increment(s) || !finite_size(s.increment)) {
      write_singular_warning();
      PileErrorWord.code = PILE_ERR_SINGULAR;
      return Attempt::Failed;
    }
    apply_increment(s);
    write_dump_vectors(s);
    compute_norms(s);
    write_trace_iteration(s);

    // The first iteration never converges; with soil movements none before
    // the movements have reached the step's fraction.
    if (s.iteration == 1) {
      if (s.iteration > a.max_iterations) return Attempt::Failed;
      continue;
    }
    if (s.movements_present == 1 && s.iteration < MOVEMENT_FIRST_CONVERGENCE) continue;
    const bool translation = small_enough(s.err_dsp, s.inc_dsp, s.tot_dsp, s.max_dsp, a.max_dsp_limit, s.iteration);
    const bool rotation = small_enough(s.err_rot, s.inc_rot, s.tot_rot, s.max_rot, a.max_rot_limit, s.iteration);
    if (translation && rotation) return Attempt::Converged;
    if (s.iteration > a.max_iterations) return Attempt::Failed;
  }
}

// The abandon warning of a run whose step fell below the minimum.
void write_abandon_warning() { WRITE_CAP_ABANDON_WARNING(); }

void start_step_attempt(State& s) {
  s.increment.fill(0.0);
  s.step_displacement.fill(0.0);
  s.point_step.fill(0.0);
}

void finish_converged_step(State& s) {
  // A later step that fails leaves its own, unconverged forces in pile_force.
  s.converged_force = s.pile_force;
  s.converged_tangent = s.assembled_tangent;
  for (int k = 1; k <= CAP_DOFS; ++k) {
    s.step_start_displacement(k) += s.step_displacement(k);
    s.displacement(k) = s.step_start_displacement(k);
  }
  if (s.point_run == 1) {
    for (int k = 1; k <= POINT_SYSTEM_ORDER; ++k) s.point_saved_total(k) += s.point_step(k);
    s.point_total = s.point_saved_total;
  }
  s.converged_fraction = s.tcur;
  s.tcur += s.dtcur;
  if (s.tcur > 1.0 && s.converged_fraction < 1.0 - RunConstants.tiny) s.tcur = 1.0;
  s.last_step_result = 1;
}

// A failed step: halve DTCUR and retry from the last converged fraction, or
// abandon the run when the halved step is below the minimum or no longer
// moves the fraction.
void finish_failed_step(State& s) {
  s.dtcur *= HALVING_FACTOR;
  s.displacement = s.step_start_displacement;
  if (s.point_run == 1) s.point_total = s.point_saved_total;
  const double retry = s.converged_fraction + s.dtcur;
  if (AnalysisControl.min_step > s.dtcur || !(retry > s.converged_fraction)) {
    write_abandon_warning();
    s.tcur = TCUR_ABANDONED;
  } else {
    s.tcur = std::min(retry, 1.0);
    --s.step;
  }
  s.last_step_result = -1;
}

}  // namespace

void set_cap_solution_hook(CapSolutionHook hook) { solution_hook = hook; }

void CAP_RESULT_CODE_3D(const CapSolverState3D& state, int& code, double& percent) {
  percent = 0.0;
  if (state.road == CAP_ROAD_NO_CONVERGENCE) {
    code = RESULT_NO_CAP_CONVERGENCE;
  } else if (state.converged_fraction < 1.0 - RunConstants.tiny) {
    code = RESULT_PARTIAL_LOAD;
    percent = 100.0 * state.converged_fraction;
  } else {
    code = RESULT_COMPLETED;
  }
}

void SOLVE_CAP_3D(int run_kind, int& /*print_flags*/, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags) {
  clear_warning_counters();
  State s;
  if (!START_CAP_RUN(s, run_kind, equivalent_load, cap_displacement, cap_load, point_loads, point_displacements, point,
                     dof_flags)) {
    return;
  }
  if (RunOptions.cap_model > 0) {
    // The flexible cap carries the load instead of the rigid one.
    RUN_CAP_PLATE_MODEL(cap_load, status);
    AnalysisControl.pass_mode = 0;
    return;
  }
  for (int k = 1; k <= CAP_DOFS; ++k) {
    s.full_load(k) = cap_load[k - 1];
    s.point_displacement_entry(k) = point_displacements[k - 1];
  }
  s.tcur = s.dtcur = AnalysisControl.initial_step;

  WRITE_CAP_TRACE_HEADING();
  PileErrorWord.code = PILE_ERR_NONE;
  GeneratedPyCurve.active = PY_VALUES_AT_NODES;
  s.torsion_only = ONLY_FOURTH_COMPONENT_NONZERO(s.full_load.data()) ? 1 : 0;
  SAVE_DISTRIBUTED_LOADS();
  SAVE_SOIL_MOVEMENTS(s.movements_present);
  s.converged_fraction = 0.0;

  // A step that is not positive would never advance the fraction: like a
  // step above the full load, it computes no step.
  const bool stepping = AnalysisControl.initial_step > 0.0 && AnalysisControl.initial_step <= 1.0;
  while (stepping && s.tcur <= 1.0) {
    if (s.step >= CAP_LOAD_STEP_LIMIT) {
      WRITE_CAP_STEP_LIMIT_WARNING();
      s.tcur = TCUR_ABANDONED;
      break;
    }
    ++s.step;
    fio::write_list(UNIT_RUN_LOG);
    WRITE_CAP_TRACE_STEP(s.step, s.tcur, s.dtcur);
    start_step_attempt(s);
    const Attempt outcome = run_step_attempt(s, status);
    if (outcome == Attempt::Return) return;
    if (outcome == Attempt::Converged) {
      finish_converged_step(s);
    } else {
      finish_failed_step(s);
    }
    write_status(s, EVENT_STEP_COMPLETED, s.converged_fraction);
  }

  write_status(s, EVENT_ENDED, 0.0);
  s.road = (s.step == 1 && s.last_step_result == -1) ? CAP_ROAD_NO_CONVERGENCE : CAP_ROAD_FULL_OUTPUT;
  if (solution_hook != nullptr) solution_hook(s);
  REPORT_CAP_SOLUTION_3D(s, status);
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
