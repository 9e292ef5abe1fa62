// Equilibrium of a rigid pile cap in 3D: the load fraction TCUR rises in
// steps DTCUR to 1, and in every step Newton iterations U := U + K^-1 R with
// R = -(P TCUR + F(U)) run until the translation and rotation increments are
// small against the displacement of the step; the tangent is the group's
// (STIFF) plus the embedded cap's and the close-spacing difference terms.
// The stepping itself, shared with the 2D solver, is cap_stepping.hpp; this
// file is the space's stepping trait for it and the door to the plate model.
// Cap vectors are six doubles (X vertical, Y, Z, then the rotations), 6 x 6
// matrices column-major.
// The trace goes to the run log, the vectors of every iteration to the
// iteration dump, progress lines to the status file.
#include <algorithm>
#include <cmath>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_solver.hpp"
#include "cap/cap_stepping.hpp"
#include "cap/cap_vectors.hpp"
#include "cap/embedded_cap.hpp"
#include "cap/model_road.hpp"
#include "group/group_forces.hpp"
#include "group/pile_loads.hpp"
#include "group/pile_loop.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/dense_matrix.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

constexpr double SYMMETRY_FACTOR = 0.5;
constexpr int DIFFERENCE_TERM_AFTER = 10;
constexpr int TORSION_DIFFERENCE_LAST = 20;
constexpr double POINT_CLAMP_FACTOR = 0.5;
constexpr int PY_VALUES_AT_NODES = 0;

// Iteration dump records.
constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = "(\"SE \",I2,12E13.5)";
constexpr const char* DUMP_VECTOR_LAYOUT[2] = {"(A5,7E13.5)", "(A5,12E13.5)"};
constexpr const char* DUMP_LABELS[2][6] = {{"DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "},
                                           {"DDUV ", "DFUV ", "UDUV ", "DUV  ", "FFUV ", "RUV  "}};

CapSolutionHook solution_hook = nullptr;

using State = CapSolverState3D;

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
    for (int i = 1; i < j; ++i) k(i, j) = k(j, i) = (k(i, j) + k(j, i)) * SYMMETRY_FACTOR;
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

// The increment dU of a run without a point from the conditioned tangent;
// false when it is singular.
bool solve_plain(State& s) {
  INVERT_MATRIX(s.tangent.data(), CAP_DOFS, CAP_DOFS, s.singular);
  if (s.singular == 1) return false;
  MULTIPLY_6X6_BY_VECTOR(s.increment.data(), s.tangent.data(), s.residual.data());
  return true;
}

// The point-system vectors take the increment (U and the step sum took it).
void point_vectors_take_increment(State& s) {
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

// The passive force of an embedded cap at U and the position of its
// resultant, added to the forces; false when a routine left a status code.
// With the tangent, its difference tangent goes into tangent_term.
bool add_passive_force(State& s, int& status, bool with_tangent) {
  const double* u = s.displacement.data();
  const double* du = s.increment.data();
  bool passive = false;
  if (RunOptions.cap_passive_option >= 1 && CapPassiveElement.method == PASSIVE_BY_MEANS) {
    CAP_PASSIVE_RESULTANT(s.passive_force.data(), u, status);
    if (status != STATUS_OK) return false;
    if (with_tangent) {
      CAP_PASSIVE_RESULTANT_STIFFNESS(s.tangent_term.data(), u, du, s.iteration, s.fixed_steps, status);
    }
    passive = true;
  } else if (RunOptions.cap_passive_option >= 1 && CapPassiveElement.method == PASSIVE_BY_ELEMENT) {
    CAP_PASSIVE_FORCE(s.passive_force.data(), u, status);
    if (status != STATUS_OK) return false;
    if (with_tangent) CAP_PASSIVE_STIFFNESS(s.tangent_term.data(), u, du, s.iteration, s.fixed_steps, status);
    passive = true;
  }
  if (status != STATUS_OK) return false;
  if (!passive) return true;
  const auto& p = s.passive_force;
  if (std::fabs(p(2)) > 0.0) {
    s.passive_position = p(6) / p(2);
  } else if (std::fabs(p(3)) > 0.0) {
    s.passive_position = -p(5) / p(3);
  } else {
    s.passive_position = PileTable.n_piles >= 1 ? PileTable.head_x(PileTable.n_piles) : 0.0;
  }
  for (int k = 1; k <= CAP_DOFS; ++k) s.pile_force(k) += p(k);
  if (!with_tangent) return true;
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) s.tangent(i, j) += s.tangent_term(i, j);
  }
  return true;
}

// Passive resistance of an embedded cap and the difference term, added to
// the forces and the tangent; false when a routine left a status code.
bool add_cap_terms(State& s, int& status) {
  const double* u = s.displacement.data();
  const double* du = s.increment.data();
  s.tangent_term.fill(0.0);
  if (!add_passive_force(s, status, true)) return false;
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

// Loads, force vector, tangent and residual of one iteration, the tangent
// conditioned in the first iteration of a step attempt.
CapIteration prepare_iteration(State& s, int& status);

// The state an iteration reached, evaluated for the balance test: the
// factors of close spacing for it, the force vector with the embedded
// cap's passive force, and the residual against the same load.
CapIteration check_state(State& s, int& status);

// The factors of close spacing (the first pair) of every pile kept for the
// converged state, and put back.
void keep_converged_factors(State& s) {
  if (RunOptions.pmult_method <= 0) return;
  const int n = PileTable.n_piles;
  s.converged_p_factor.resize(static_cast<std::size_t>(n));
  s.converged_y_factor.resize(static_cast<std::size_t>(n));
  for (int p = 1; p <= n; ++p) {
    s.converged_p_factor[static_cast<std::size_t>(p - 1)] = ClosePileFactors.p_factor_1(p);
    s.converged_y_factor[static_cast<std::size_t>(p - 1)] = ClosePileFactors.y_factor_1(p);
  }
}

void restore_converged_factors(const State& s) {
  if (RunOptions.pmult_method <= 0) return;
  const int n = std::min(PileTable.n_piles, static_cast<int>(s.converged_p_factor.size()));
  for (int p = 1; p <= n; ++p) {
    ClosePileFactors.p_factor_1(p) = s.converged_p_factor[static_cast<std::size_t>(p - 1)];
    ClosePileFactors.y_factor_1(p) = s.converged_y_factor[static_cast<std::size_t>(p - 1)];
  }
}

// What the 3D cap differs in from the plane one (see cap_stepping.hpp).
struct CapStepping3D : CapDimension3D {
  static constexpr double CONVERGED_INCREMENT = double(1e-12f);  // 9.999999960041972e-13
  static constexpr bool BLANK_BEFORE_STEP = true;
  static constexpr bool STEP_STATUS_LINES = true;
  static constexpr bool FIRST_ITERATION_COUNTS = true;  // against the iteration limit
  static CapIteration prepare_iteration(State& s, int& status) { return pilecap::prepare_iteration(s, status); }
  static CapIteration check_state(State& s, int& status) { return pilecap::check_state(s, status); }
  static void restore_converged_factors(const State& s) { pilecap::restore_converged_factors(s); }
  static bool solve_plain(State& s) { return pilecap::solve_plain(s); }
  static bool increment_finite(const State& s) { return finite_size(s.increment); }
  static void after_increment(State& s) { point_vectors_take_increment(s); }
  static void write_dump_vectors(const State& s) { pilecap::write_dump_vectors(s); }
  static void compute_norms(State& s) { pilecap::compute_norms(s); }
  static void start_step_attempt(State& s) { s.point_step.fill(0.0); }
  static void on_converged_step(State& s) {
    keep_converged_factors(s);
    s.converged_passive_force = s.passive_force;
    s.converged_passive_position = s.passive_position;
    if (s.point_run == 0) return;
    for (int k = 1; k <= POINT_SYSTEM_ORDER; ++k) s.point_saved_total(k) += s.point_step(k);
    s.point_total = s.point_saved_total;
  }
  static void on_failed_step(State& s) {
    if (s.point_run == 1) s.point_total = s.point_saved_total;
  }
  // The 12 x 12 point system.
  static constexpr int POINT_ORDER = POINT_SYSTEM_ORDER;
  static constexpr const char* DUMP_SYSTEM_ROW_LAYOUT = pilecap::DUMP_SYSTEM_ROW_LAYOUT;
  static constexpr auto build_point_system = BUILD_POINT_SYSTEM;
  static constexpr auto point_system_residual = POINT_SYSTEM_RESIDUAL;
  static constexpr auto multiply_point_system = MULTIPLY_12X12_BY_VECTOR;
};

CapIteration prepare_iteration(State& s, int& status) {
  // The force vector and its tangent share curve data and lateral solutions.
  PileEvaluationPair pair;
  if (RunOptions.pmult_method > 0) {
    UPDATE_DIRECTION_P_MULTIPLIERS(s.displacement.data(), s.cap_load, s.iteration, s.torsion_only);
  }
  if (!CAP_BASE_EVALUATION<CapStepping3D>(s, status)) return CapIteration::Return;
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), CAP_VALUES_FINITE(s.pile_force))) return CapIteration::Failed;
  CAP_APPLY_STEP_LOADS<CapStepping3D>(s);

  STIFF(s.tangent.data(), s.displacement.data(), s.increment.data(), s.iteration, s.fixed_steps, status);
  pair.close();
  if (status != STATUS_OK) return CapIteration::Return;
  if (!add_cap_terms(s, status)) return CapIteration::Return;
  for (int k = 1; k <= CAP_DOFS; ++k) s.residual(k) = -(s.cap_load[k - 1] + s.pile_force(k));
  const bool all_numbers =
      CAP_VALUES_FINITE(s.pile_force) && CAP_VALUES_FINITE(s.residual) && CAP_VALUES_FINITE(s.tangent);
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), all_numbers)) return CapIteration::Failed;

  fio::write_list(UNIT_ITERATION_DUMP);
  fio::write_list(UNIT_ITERATION_DUMP, s.iteration);
  s.assembled_tangent = s.tangent;
  if (s.iteration == 1) condition_tangent(s);
  return CapIteration::Solve;
}

CapIteration check_state(State& s, int& status) {
  if (RunOptions.pmult_method > 0) {
    // As the next iteration would see the state.
    UPDATE_DIRECTION_P_MULTIPLIERS(s.displacement.data(), s.cap_load, s.iteration + 1, s.torsion_only);
  }
  if (!CAP_BASE_EVALUATION<CapStepping3D>(s, status)) return CapIteration::Return;
  if (FAILED_CAP_EVALUATION(CAP_LATERAL_FAILURE(), CAP_VALUES_FINITE(s.pile_force))) return CapIteration::Failed;
  if (!add_passive_force(s, status, false)) return CapIteration::Return;
  for (int k = 1; k <= CAP_DOFS; ++k) s.residual(k) = -(s.cap_load[k - 1] + s.pile_force(k));
  if (FAILED_CAP_EVALUATION(false, CAP_VALUES_FINITE(s.residual))) return CapIteration::Failed;
  return CapIteration::Solve;
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

void SOLVE_CAP_3D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags) {
  if (CAP_MODEL_KIND() == CapModelKind::SPACE_PLATE) {
    // The flexible cap carries the load instead of the rigid one. The case
    // driver takes the plate's road itself; this door serves a direct caller.
    SOLVE_PLATE_CAP(run_kind, print_flags, status, equivalent_load, cap_displacement, cap_load, point_loads,
                    point_displacements, point, dof_flags);
    return;
  }
  CLEAR_WARNING_COUNTERS();
  State s;
  if (!START_CAP_RUN(s, run_kind, equivalent_load, cap_displacement, cap_load, point_loads, point_displacements, point,
                     dof_flags)) {
    return;
  }
  CAP_TAKE_RUN_LOADS<CapStepping3D>(s, cap_load, point_displacements);

  WRITE_CAP_TRACE_HEADING();
  PileErrorWord.code = PILE_ERR_NONE;
  GeneratedPyCurve.active = PY_VALUES_AT_NODES;
  s.torsion_only = ONLY_FOURTH_COMPONENT_NONZERO(s.full_load.data()) ? 1 : 0;
  SAVE_DISTRIBUTED_LOADS();
  SAVE_SOIL_MOVEMENTS(s.movements_present);
  s.converged_fraction = 0.0;

  RUN_CAP_AND_REPORT<CapStepping3D>(s, status, solution_hook);
}

}  // namespace pilecap
