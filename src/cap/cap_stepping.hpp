// The load stepping of a rigid cap in either dimension: the load fraction
// TCUR rises in steps DTCUR to 1, every step runs Newton iterations
// U := U + dU until the translation and the rotation increments are small
// against the displacement of the step, and a step that does not converge is
// repeated from the last converged fraction with DTCUR halved, until the
// step falls below the minimum and the run ends with the fraction reached.
// The dimension comes in as a stepping trait: a struct of what the plane and space
// solvers do differently (the force vector, tangent and residual of an
// iteration, the system solved, the dumps, the norms, a few trace and status
// lines). Internal to the cap floor.
#pragma once

#include <algorithm>
#include <cmath>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "cap/progress_files.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/dense_matrix.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

// The outcome of one step attempt, and of the preparation of one iteration.
enum class CapAttempt { Converged, Failed, Return };
enum class CapIteration { Solve, Failed, Return };

// Constants of the stepping shared by both dimensions.
constexpr double CAP_STEP_HALVING = 0.5;
constexpr double CAP_LOOSE_INCREMENT = double(1e-8f);  // 9.99999993922529e-09
constexpr int CAP_LOOSE_AFTER_ITERATION = 40;
constexpr int CAP_MOVEMENT_FIRST_CONVERGENCE = 12;
constexpr double CAP_OVERSHOOT_RATIO = 0.5;    // a reversed increment this size of the last is an overshoot
constexpr double CAP_OVERSHOOT_DAMPING = 0.5;  // and is cut to this fraction
constexpr int CAP_CYCLE_REVERSALS = 2;         // from the second such increment in a row

// The balance an accepted state must show: its unbalanced forces within
// 5e-4 of its force scale and its unbalanced moments within 1e-3 of its
// moment scale (the larger of the load and the sum of the sizes of the
// piles' forces, or of their moments about the origin, with the embedded
// cap's), or within 10 lb and 120 lb-in (their equals in kN and kN-m). The
// shares are what the pile solutions resolve where the soil curves rise
// from a cusp at zero deflection: a cap that stands within the pile
// deflection tolerance of its solution there leaves up to 5e-4 of its
// vertical load unbalanced sideways.
constexpr double CAP_BALANCE_FORCE_SHARE = 5e-4;
constexpr double CAP_BALANCE_MOMENT_SHARE = 1e-3;
constexpr double CAP_BALANCE_FORCE_FLOOR[2] = {10.0, 10.0 * 4.4482216152605e-3};       // lb; kN
constexpr double CAP_BALANCE_MOMENT_FLOOR[2] = {120.0, 120.0 * 1.129848290276167e-4};  // lb-in; kN-m

// A head that moves more than a hundred times its pile's length, or the far
// end of its load-settlement curve, away is beyond anything its piles can
// take: no answer lies there.
constexpr double CAP_REACH_FACTOR = 100.0;

// A lateral pile solution that did not close or p-y curves that end short
// (the value 4 of a non-converged axial variation does not count).
inline bool CAP_LATERAL_FAILURE() {
  const int code = PileErrorWord.code & ~PILE_ERR_AXIAL_VARIATION;
  return code == PILE_ERR_NO_CLOSURE;
}

// CAP_INCREMENT_SMALL
// One test (translation or rotation) of the convergence of an iteration:
// relative to the step's displacement, or below the dimension's absolute floor,
// or, after iteration 40, below 1e-8, or within the given resolution, or
// within the largest-increment limit when the case sets one. The solver
// gives the resolution of the pile solutions (CAP_RESOLUTION) to an
// increment that overshot the solution (CAP_DAMP_OVERSHOOT), else 0: an
// iterate that crosses the solution back and forth by less than the pile
// solutions resolve cannot be told from it.
inline bool CAP_INCREMENT_SMALL(double err, double inc, double tot, double max_value, double max_limit, int iteration,
                                double floor, double resolution) {
  const AnalysisControlRecord& a = AnalysisControl;
  if (err <= a.tolerance || inc <= floor || tot <= floor || inc <= resolution) return true;
  if (iteration > CAP_LOOSE_AFTER_ITERATION && (inc <= CAP_LOOSE_INCREMENT || tot <= CAP_LOOSE_INCREMENT)) return true;
  return a.use_max_limits == 1 && max_value <= max_limit;
}

// CAP_RESOLUTION
// The finest cap movement the pile solutions resolve: a lateral solution
// closes once no node moves by the pile deflection tolerance between its
// iterations, so a cap translation is resolved to that tolerance, and a cap
// rotation to it over the longest lever by which the cap turns into pile
// deflections (a head's distance from the origin, or a pile's node spacing,
// over which a head's own rotation becomes a deflection).
//   out: s.resolution_dsp, s.resolution_rot (0 without piles or tolerance)
template <class D>
void CAP_RESOLUTION(typename D::State& s) {
  double lever = 0.0;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    lever = std::max(lever, D::head_distance(p));
    const int set = PileTable.prop(p);
    if (set >= 1 && PileProperty.n_increments(set) >= 1) {
      lever = std::max(lever, PileProperty.length(set) / PileProperty.n_increments(set));
    }
  }
  const double tolerance = std::max(AnalysisControl.llp_tolerance, 0.0);
  s.resolution_dsp = tolerance;
  s.resolution_rot = lever > 0.0 ? tolerance / lever : 0.0;
}

// CAP_RESIDUAL_SIZE
// The size of a residual: its largest force or its largest moment over the
// lever, whichever is larger.
template <class D, class Vector>
double CAP_RESIDUAL_SIZE(const Vector& r, double lever) {
  double force = 0.0, moment = 0.0;
  for (int k = 1; k <= D::DOFS; ++k) {
    if (k <= D::TRANSLATIONS) {
      force = std::max(force, std::fabs(r(k)));
    } else {
      moment = std::max(moment, std::fabs(r(k)));
    }
  }
  return std::max(force, moment / lever);
}

// CAP_LIMIT_FIRST_INCREMENT
// The first Newton increment of a step attempt rests on the tangent at the
// step's start. Where the soil curves start flat (liquefied sand: p grows
// as a power of y above 1) that tangent is nearly zero, and the increment
// throws the cap far onto the curves' flat ends, where no later tangent
// brings it back. So the increment is tried first: the force vector at
// U + dU, and while the residual there is more than CAP_FIRST_INCREMENT_GROWTH
// times that at U (or the piles cannot be solved there) the increment is
// halved, up to CAP_FIRST_INCREMENT_HALVINGS times; when no halving brings
// the residual back within that bound the increment stays as the tangent
// gave it. An increment that keeps the residual within the bound stays as
// it is, and so does one that moves no head by CAP_FIRST_INCREMENT_SHARE of
// the narrowest pile's diameter (translations, and rotations over the
// lever), so a run whose first increments all do so is solved as before.
// Moments weigh against forces over the longest lever of the group (a
// head's distance from the origin or a pile's length). Point runs and
// embedded caps (whose residuals hold more than the piles) keep their
// increments. The trial evaluations record no warning and leave the pile
// error word and the warning counters as the base evaluation set them.
//   in,out: s.increment
//   returns false when the status word was set
constexpr int CAP_FIRST_INCREMENT_HALVINGS = 30;
constexpr double CAP_FIRST_INCREMENT_GROWTH = 2.0;
constexpr double CAP_FIRST_INCREMENT_SHARE = 0.01;
template <class D>
bool CAP_LIMIT_FIRST_INCREMENT(typename D::State& s, int& status) {
  using Vector = typename D::State::Vector;
  if (s.iteration != 1 || s.point_run == 1 || RunOptions.cap_passive_option > 0) return true;
  double lever = 0.0;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    lever = std::max(lever, D::head_distance(p));
    const int set = PileTable.prop(p);
    if (set >= 1) lever = std::max(lever, PileProperty.length(set));
  }
  if (!(lever > 0.0)) return true;
  // An increment that moves no head by a hundredth of the narrowest pile's
  // diameter stays on the near-straight start of any curve: it is kept.
  double diameter = 0.0;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const int set = PileTable.prop(p);
    // A pile with no sections (a head response given whole) has no diameter.
    const double d = set >= 1 && PileProperty.n_sections(set) >= 1 ? SECTION_DIAMETER_AT(p, set, 0.0) : 0.0;
    if (d > 0.0 && (diameter == 0.0 || d < diameter)) diameter = d;
  }
  double movement = 0.0;
  for (int k = 1; k <= D::DOFS; ++k) {
    movement = std::max(movement, std::fabs(s.increment(k)) * (k <= D::TRANSLATIONS ? 1.0 : lever));
  }
  if (!(movement > CAP_FIRST_INCREMENT_SHARE * diameter)) return true;
  const double bound = CAP_FIRST_INCREMENT_GROWTH * CAP_RESIDUAL_SIZE<D>(s.residual, lever);
  if (!(bound > 0.0)) return true;
  const PileErrorWordRecord error_word = PileErrorWord;
  const WarningCountersRecord counters = WarningCounters;
  Vector du = s.increment, trial, force, residual;
  for (int halving = 0; halving <= CAP_FIRST_INCREMENT_HALVINGS; ++halving) {
    for (int k = 1; k <= D::DOFS; ++k) trial(k) = s.displacement(k) + du(k);
    PileErrorWord.code = PILE_ERR_NONE;
    WarningCounters.base_evaluation = 0;
    D::forces(force.data(), trial.data(), status);
    if (status != STATUS_OK) break;
    for (int k = 1; k <= D::DOFS; ++k) residual(k) = s.residual(k) - (force(k) - s.pile_force(k));
    if (!CAP_LATERAL_FAILURE() && CAP_VALUES_FINITE(force) && CAP_RESIDUAL_SIZE<D>(residual, lever) <= bound) {
      s.increment = du;
      break;
    }
    for (int k = 1; k <= D::DOFS; ++k) du(k) *= CAP_STEP_HALVING;
  }
  PileErrorWord = error_word;
  WarningCounters = counters;
  return status == STATUS_OK;
}

// CAP_INCREMENT_REVERSES
// The part first..last of the increment points against that of the
// previous increment and keeps more than half its size: the iterate crossed
// the solution and overshot it by as much as it was away.
template <class Vector>
bool CAP_INCREMENT_REVERSES(const Vector& increment, const Vector& previous, int first, int last) {
  double dot = 0.0, now = 0.0, before = 0.0;
  for (int k = first; k <= last; ++k) {
    dot += increment(k) * previous(k);
    now += increment(k) * increment(k);
    before += previous(k) * previous(k);
  }
  return dot < 0.0 && now > CAP_OVERSHOOT_RATIO * CAP_OVERSHOOT_RATIO * before;
}

// CAP_DAMP_OVERSHOOT
// Near the cusp of the soil curves at zero deflection (soft clay: p grows
// as y^(1/3)), where the cap of a group under a nearly centred load finds its
// solution, the tangent at an iterate is softer than the secant to the
// solution, and Newton's increments overshoot it: they reverse without
// shrinking and the cap cycles across the solution. The translations or the
// rotations whose increment so reverses a second time in a row are halved, which brings a response
// growing as y^p back to its solution for p down to 1/4, and leaves an
// iteration that converges (whose increments shrink) as it was. Point runs
// (constraint multipliers) and the iterations that ramp soil movements in
// keep their full increments.
//   out: s.overshoot_dsp, s.overshoot_rot  whether the part was halved
template <class D>
void CAP_DAMP_OVERSHOOT(typename D::State& s, const typename D::State::Vector& previous) {
  s.overshoot_dsp = s.overshoot_rot = false;
  if (s.point_run == 1 || (s.movements_present == 1 && s.iteration < CAP_MOVEMENT_FIRST_CONVERGENCE)) return;
  // One reversal happens on the way to any solution; a cycle reverses in a row.
  s.reversals_dsp = CAP_INCREMENT_REVERSES(s.increment, previous, 1, D::TRANSLATIONS) ? s.reversals_dsp + 1 : 0;
  s.reversals_rot =
      CAP_INCREMENT_REVERSES(s.increment, previous, D::TRANSLATIONS + 1, D::DOFS) ? s.reversals_rot + 1 : 0;
  s.overshoot_dsp = s.reversals_dsp >= CAP_CYCLE_REVERSALS;
  s.overshoot_rot = s.reversals_rot >= CAP_CYCLE_REVERSALS;
  for (int k = 1; k <= D::DOFS; ++k) {
    if (k <= D::TRANSLATIONS ? s.overshoot_dsp : s.overshoot_rot) s.increment(k) *= CAP_OVERSHOOT_DAMPING;
  }
}

// CAP_BASE_EVALUATION
// The loads and movements of the iteration at TCUR (movements ramped over
// the first iterations) and the force vector at U into pile_force; false
// when the status word was set. Only this evaluation records curve warnings,
// so the counters and the axial-warning file describe the same evaluation
// when it is reported.
template <class D>
bool CAP_BASE_EVALUATION(typename D::State& s, int& status) {
  s.movement_fraction = APPLY_STEP_FRACTION(s.tcur, s.converged_fraction, s.iteration);
  WarningCounters.base_evaluation = 1;
  if (OPEN_FILE_FOR_WRITING(UNIT_AXIAL_WARNINGS, RunFiles.axial_warnings_file, status)) {
    D::forces(s.pile_force.data(), s.displacement.data(), status);
  }
  fio::close(UNIT_AXIAL_WARNINGS);
  WarningCounters.base_evaluation = 0;
  return status == STATUS_OK;
}

// CAP_APPLY_STEP_LOADS
// The load applied in the iteration (full load x TCUR) into the dimension's
// applied load; in a point run the working point loads and the given point
// displacements at TCUR; the fixed-step flag of the difference tangents
// (full steps with a movement profile or in a point run).
template <class D>
void CAP_APPLY_STEP_LOADS(typename D::State& s) {
  double* applied = D::applied_load(s);
  for (int k = 1; k <= D::DOFS; ++k) applied[k - 1] = s.full_load(k) * s.tcur;
  if (s.point_run == 1) {
    for (int k = 1; k <= D::DOFS; ++k) {
      s.point_load_working(k) = s.point_load[k - 1] * s.tcur;
      s.point_displacement[k - 1] = s.point_displacement_entry(k) * s.tcur;
    }
  }
  s.fixed_steps = (SoilMovementProfile.count > 0 || s.point_run == 1) ? 1 : 0;
}

// CAP_SOLVE_POINT_SYSTEM
// The increment of a point run from the dimension's bordered system (the
// tangent bordered by one constraint per DOF whose displacement is given at
// the point): built and its rows dumped, inverted in place, its right-hand
// side from the residual and the point's misfits, solved; dU is the first
// DOFS entries of the solution. False when the system is singular.
template <class D>
bool CAP_SOLVE_POINT_SYSTEM(typename D::State& s) {
  D::build_point_system(s.point_matrix.data(), s.tangent.data(), s.point, s.dof_flags);
  for (int i = 1; i <= D::POINT_ORDER; ++i) {
    Array1<double, D::POINT_ORDER> row;
    for (int j = 1; j <= D::POINT_ORDER; ++j) row(j) = s.point_matrix(i, j);
    fio::write(UNIT_ITERATION_DUMP, D::DUMP_SYSTEM_ROW_LAYOUT, i, row);
  }
  INVERT_MATRIX(s.point_matrix.data(), D::POINT_ORDER, D::POINT_ORDER, s.singular);
  if (s.singular == 1) return false;
  D::point_system_residual(s.point_rhs.data(), s.point_force_target.data(), s.residual.data(), s.pile_force.data(),
                           s.point_displacement, s.displacement.data(), s.point, s.dof_flags);
  D::multiply_point_system(s.point_solution.data(), s.point_matrix.data(), s.point_rhs.data());
  for (int k = 1; k <= D::DOFS; ++k) s.increment(k) = s.point_solution(k);
  return true;
}

// CAP_WITHIN_REACH
// Whether every pile head stays within CAP_REACH_FACTOR times the larger of
// its pile's length and the far end of its load-settlement curve of where it
// started: an iterate beyond it has left every curve of the piles behind,
// and the step attempt fails there rather than wander on.
template <class D>
bool CAP_WITHIN_REACH(const typename D::State& s) {
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const int set = PileTable.prop(p);
    const double length = set >= 1 ? PileProperty.length(set) : 0.0;
    const double reach = CAP_REACH_FACTOR * std::max(length, AXIAL_CURVE_REACH(p));
    if (!(reach > 0.0)) continue;
    double t[3];
    D::head_translation(p, s.displacement, t);
    if (!(std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]) <= reach)) return false;
  }
  return true;
}

// CAP_STATE_BALANCED
// Whether the state of the last evaluation balances its load: the residual
// (the load less the piles' and the embedded cap's forces, at the origin;
// in a point run at the point, its components whose displacement is given
// there being the point's reactions) within the limits of
// CAP_BALANCE_FORCE_SHARE and CAP_BALANCE_MOMENT_SHARE of the state's
// scales, or their floors in the run's units. The piles' forces at the
// origin are those the evaluation left in PileTable.head_force.
template <class D>
bool CAP_STATE_BALANCED(typename D::State& s) {
  constexpr int T = D::TRANSLATIONS;
  double residual[D::DOFS];
  if (s.point_run == 1) {
    D::at_point(s.residual.data(), s.point, residual);
    for (int k = 0; k < D::DOFS; ++k) {
      if (s.dof_flags[k] == 0) residual[k] = 0.0;
    }
  } else {
    for (int k = 0; k < D::DOFS; ++k) residual[k] = s.residual(k + 1);
  }
  // The size of the translation part (first T) and of the rotation part of
  // a cap vector.
  auto sizes = [](const double* v, double& force, double& moment) {
    force = moment = 0.0;
    for (int k = 0; k < D::DOFS; ++k) (k < T ? force : moment) += v[k] * v[k];
    force = std::sqrt(force);
    moment = std::sqrt(moment);
  };
  double force_scale = 0.0, moment_scale = 0.0, f = 0.0, m = 0.0;
  const double* passive = D::passive_force(s);
  sizes(passive, force_scale, moment_scale);
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    double row[D::DOFS];
    for (int k = 0; k < D::DOFS; ++k) row[k] = PileTable.head_force(p, k + 1, 1);
    sizes(row, f, m);
    force_scale += f;
    moment_scale += m;
  }
  sizes(D::applied_load(s), f, m);
  force_scale = std::max(force_scale, f);
  moment_scale = std::max(moment_scale, m);
  const int units = RunOptions.units == UNITS_SI ? 1 : 0;
  const double force_limit = std::max(CAP_BALANCE_FORCE_SHARE * force_scale, CAP_BALANCE_FORCE_FLOOR[units]);
  const double moment_limit = std::max(CAP_BALANCE_MOMENT_SHARE * moment_scale, CAP_BALANCE_MOMENT_FLOOR[units]);
  for (int k = 0; k < D::DOFS; ++k) {
    if (!(std::fabs(residual[k]) <= (k < T ? force_limit : moment_limit))) return false;
  }
  return true;
}

// RUN_CAP_STEP_ATTEMPT
// The Newton iterations of one step attempt: converged, failed (iteration
// limit, failed evaluation, singular system) or Return (stop request or a
// status word set).
template <class D>
CapAttempt RUN_CAP_STEP_ATTEMPT(typename D::State& s, int& status) {
  const AnalysisControlRecord& a = AnalysisControl;
  s.iteration = 0;
  for (;;) {
    ++s.iteration;
    PileErrorWord.code = PILE_ERR_NONE;
    CLEAR_WARNING_COUNTERS();
    WRITE_SOLVER_STATUS(s.run_kind, SOLVER_EVENT_ITERATION, s.step, s.tcur, s.iteration, D::MODEL);
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      return CapAttempt::Return;
    }
    const CapIteration prepared = D::prepare_iteration(s, status);
    if (prepared == CapIteration::Return) return CapAttempt::Return;
    if (prepared == CapIteration::Failed) return CapAttempt::Failed;
    // An increment whose size is beyond the range of numbers comes from a
    // tangent that is singular in all but its exact zeros.
    s.singular = 0;
    const typename D::State::Vector previous = s.increment;
    const bool solved = s.point_run == 1 ? CAP_SOLVE_POINT_SYSTEM<D>(s) : D::solve_plain(s);
    if (!solved || !D::increment_finite(s)) {
      WRITE_SINGULAR_TANGENT_WARNING();
      PileErrorWord.code = PILE_ERR_SINGULAR;
      return CapAttempt::Failed;
    }
    if (!CAP_LIMIT_FIRST_INCREMENT<D>(s, status)) return CapAttempt::Return;
    CAP_DAMP_OVERSHOOT<D>(s, previous);
    for (int k = 1; k <= D::DOFS; ++k) {
      s.displacement(k) += s.increment(k);
      s.step_displacement(k) += s.increment(k);
    }
    D::after_increment(s);
    if (!CAP_WITHIN_REACH<D>(s)) return CapAttempt::Failed;
    D::write_dump_vectors(s);
    D::compute_norms(s);
    WRITE_CAP_TRACE_ITERATION(s.iteration, s.err_dsp, s.inc_dsp, s.tot_dsp, s.err_rot, s.inc_rot, s.tot_rot, s.max_dsp,
                              s.max_rot);

    // The first iteration never converges; with soil movements none before
    // the movements have reached the step's fraction.
    if (s.iteration == 1) {
      if (D::FIRST_ITERATION_COUNTS && s.iteration > a.max_iterations) return CapAttempt::Failed;
      continue;
    }
    if (s.movements_present == 1 && s.iteration < CAP_MOVEMENT_FIRST_CONVERGENCE) continue;
    const bool translation =
        CAP_INCREMENT_SMALL(s.err_dsp, s.inc_dsp, s.tot_dsp, s.max_dsp, a.max_dsp_limit, s.iteration,
                            D::CONVERGED_INCREMENT, s.overshoot_dsp ? s.resolution_dsp : 0.0);
    const bool rotation = CAP_INCREMENT_SMALL(s.err_rot, s.inc_rot, s.tot_rot, s.max_rot, a.max_rot_limit, s.iteration,
                                              D::CONVERGED_INCREMENT, s.overshoot_rot ? s.resolution_rot : 0.0);
    if (translation && rotation) {
      // Small increments alone do not make an answer (beyond the ends of
      // the curves a pile gives nothing, and the iterate may stand still far
      // from any solution): the state they reached is evaluated and must
      // balance its load, else the iteration goes on.
      const CapIteration checked = D::check_state(s, status);
      if (checked == CapIteration::Return) return CapAttempt::Return;
      if (checked == CapIteration::Failed) return CapAttempt::Failed;
      if (CAP_STATE_BALANCED<D>(s)) return CapAttempt::Converged;
    }
    if (s.iteration > a.max_iterations) return CapAttempt::Failed;
  }
}

// A converged step: U and the converged state move on, TCUR advances (the
// last step lands on the full load).
template <class D>
void FINISH_CONVERGED_STEP(typename D::State& s) {
  // A later step that fails leaves its own, unconverged forces in pile_force.
  s.converged_force = s.pile_force;
  s.converged_tangent = s.assembled_tangent;
  for (int k = 1; k <= D::DOFS; ++k) {
    s.step_start_displacement(k) += s.step_displacement(k);
    s.displacement(k) = s.step_start_displacement(k);
  }
  D::on_converged_step(s);
  s.converged_fraction = s.tcur;
  s.tcur += s.dtcur;
  if (s.tcur > 1.0 && s.converged_fraction < 1.0 - RunConstants.tiny) s.tcur = 1.0;
  s.last_step_result = 1;
}

// A failed step: halve DTCUR and retry from the last converged fraction plus
// the halved step (never behind it, also after a shortened last step), or
// abandon the run when the halved step is below the minimum or no longer
// moves the fraction.
template <class D>
void FINISH_FAILED_STEP(typename D::State& s) {
  s.dtcur *= CAP_STEP_HALVING;
  s.displacement = s.step_start_displacement;
  D::on_failed_step(s);
  const double retry = s.converged_fraction + s.dtcur;
  if (AnalysisControl.min_step > s.dtcur || !(retry > s.converged_fraction)) {
    WRITE_CAP_ABANDON_WARNING();
    s.tcur = TCUR_ABANDONED;
  } else {
    s.tcur = std::min(retry, 1.0);
    --s.step;
  }
  s.last_step_result = -1;
}

// CAP_TAKE_RUN_LOADS
// The run's full cap load and its given point displacements into the state;
// TCUR and DTCUR start at the case's initial step.
template <class D>
void CAP_TAKE_RUN_LOADS(typename D::State& s, const double* cap_load, const double* point_displacements) {
  for (int k = 1; k <= D::DOFS; ++k) {
    s.full_load(k) = cap_load[k - 1];
    s.point_displacement_entry(k) = point_displacements[k - 1];
  }
  s.tcur = s.dtcur = AnalysisControl.initial_step;
  CAP_RESOLUTION<D>(s);
}

// RUN_CAP_LOAD_STEPS
// The stepping of one run from TCUR = DTCUR = the initial step to the full
// load or the abandonment, and the road it ends on (no convergence when the
// first step never converged, else the full output, which the reports may
// narrow). A step above the full load computes no step; so does a step that
// is not positive, which would never advance the fraction. False when the
// run ended at once (stop request, status word set).
template <class D>
bool RUN_CAP_LOAD_STEPS(typename D::State& s, int& status) {
  const bool stepping = AnalysisControl.initial_step > 0.0 && AnalysisControl.initial_step <= 1.0;
  while (stepping && s.tcur <= 1.0) {
    if (s.step >= CAP_LOAD_STEP_LIMIT) {
      WRITE_CAP_STEP_LIMIT_WARNING();
      s.tcur = TCUR_ABANDONED;
      break;
    }
    ++s.step;
    if (D::BLANK_BEFORE_STEP) fio::write_list(UNIT_RUN_LOG);
    WRITE_CAP_TRACE_STEP(s.step, s.tcur, s.dtcur);
    s.increment.fill(0.0);
    s.step_displacement.fill(0.0);
    s.reversals_dsp = s.reversals_rot = 0;
    D::start_step_attempt(s);
    const CapAttempt outcome = RUN_CAP_STEP_ATTEMPT<D>(s, status);
    if (outcome == CapAttempt::Return) return false;
    if (outcome == CapAttempt::Converged) {
      FINISH_CONVERGED_STEP<D>(s);
    } else {
      FINISH_FAILED_STEP<D>(s);
    }
    if (D::STEP_STATUS_LINES) {
      WRITE_SOLVER_STATUS(s.run_kind, SOLVER_EVENT_STEP_COMPLETED, s.step, s.converged_fraction, s.iteration, D::MODEL);
    }
  }
  if (D::STEP_STATUS_LINES) WRITE_SOLVER_STATUS(s.run_kind, SOLVER_EVENT_ENDED, s.step, 0.0, s.iteration, D::MODEL);
  s.road = (s.step == 1 && s.last_step_result == -1) ? CAP_ROAD_NO_CONVERGENCE : CAP_ROAD_FULL_OUTPUT;
  return true;
}

// CAP_RETURN_TO_CONVERGED_STATE
// A run whose last step attempt failed reports its last converged state
// alone: the factors of close spacing of that state and the curve warnings
// of a base evaluation there at the converged fraction (those of the failed
// attempt describe a state that was never accepted). The pile error word
// keeps what the failed attempt left. False when the status word was set.
template <class D>
bool CAP_RETURN_TO_CONVERGED_STATE(typename D::State& s, int& status) {
  if (s.last_step_result != -1 || s.road == CAP_ROAD_NO_CONVERGENCE) return true;
  D::restore_converged_factors(s);
  const int iteration = s.iteration, error = PileErrorWord.code;
  const double tcur = s.tcur;
  s.tcur = s.converged_fraction;
  s.iteration = CAP_MOVEMENT_FIRST_CONVERGENCE;  // the movements at the full fraction
  CLEAR_WARNING_COUNTERS();
  const bool evaluated = CAP_BASE_EVALUATION<D>(s, status);
  s.iteration = iteration;
  s.tcur = tcur;
  PileErrorWord.code = error;
  return evaluated;
}

// RUN_CAP_AND_REPORT
// The stepping of a prepared run, then (unless it ended at once) the test
// seam with the state and the result roads; pass mode 0 on return.
template <class D>
void RUN_CAP_AND_REPORT(typename D::State& s, int& status, void (*hook)(const typename D::State&)) {
  if (!RUN_CAP_LOAD_STEPS<D>(s, status)) return;
  if (!CAP_RETURN_TO_CONVERGED_STATE<D>(s, status)) return;
  if (hook != nullptr) hook(s);
  D::report(s, status);
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
