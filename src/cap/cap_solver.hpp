// The rigid-cap solvers: the arguments and the state of one run, the trace
// lines and warnings of the stepping, and the two entry points. Cap vectors
// are 6 doubles (X vertical, Y, Z, then the rotations) in space and 3 (X, Y,
// rotation Z) in the plane; matrices are column-major.
#pragma once

#include <vector>

#include "base/arrays.hpp"
#include "cap/cap_vectors.hpp"
#include "cap/embedded_cap.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"

namespace pilecap {

// ---------------------------------------------------- solver trace lines

// COPY_AXIAL_WARNING_LINES
// The three lines of each of n_warnings warnings of the last base evaluation
// from the axial-warning file, each line to the results report (when
// to_results) and to the run log. A file that cannot be read or ends early
// stops the copy: no line is made up.
void COPY_AXIAL_WARNING_LINES(int n_warnings, bool to_results);

// WRITE_CAP_TRACE_HEADING / WRITE_CAP_TRACE_STEP
// The "GLOBAL ITERATIONS" heading of a run and the line of a load step
// (step, TCUR, DTCUR) on the run log, which is flushed after each.
void WRITE_CAP_TRACE_HEADING();
void WRITE_CAP_TRACE_STEP(int step, double tcur, double dtcur);

// WRITE_CAP_TRACE_ITERATION
// The ITERATION line and the ErrDsp and ErrRot lines of a Newton increment,
// and the MaxDsp line when AnalysisControl.use_max_limits is 1; flushed.
void WRITE_CAP_TRACE_ITERATION(int iteration, double err_dsp, double inc_dsp, double tot_dsp, double err_rot,
                               double inc_rot, double tot_rot, double max_dsp, double max_rot);

// WRITE_SINGULAR_TANGENT_WARNING
// "DETERMINANT OF STIFFNESS MATRIX IS ZERO" on the results report and, after
// two empty lines, on the run log.
void WRITE_SINGULAR_TANGENT_WARNING();

// CAP_LOAD_STEP_LIMIT
// The steps a cap run may make: those of the smallest initial step the input
// takes, and one more that lands on the full load. Only a step halved far
// below the initial one reaches it.
constexpr int CAP_LOAD_STEP_LIMIT = MAX_LOAD_STEPS + 1;

// CAP_VALUES_FINITE
// Whether every one of count values from first is a number.
bool CAP_VALUES_FINITE(const double* first, int count);
template <int N>
bool CAP_VALUES_FINITE(const Array1<double, N>& v) {
  return CAP_VALUES_FINITE(v.data(), N);
}
template <int R, int C>
bool CAP_VALUES_FINITE(const Array2<double, R, C>& m) {
  return CAP_VALUES_FINITE(m.data(), R * C);
}

// FAILED_CAP_EVALUATION
// Whether a force evaluation failed: a lateral pile solution that did not
// close (lateral_failed), or results that are not all numbers, which fail
// like it (PileErrorWord.code becomes PILE_ERR_NO_CLOSURE) so that no step
// converges on them.
bool FAILED_CAP_EVALUATION(bool lateral_failed, bool all_numbers);

// WRITE_CAP_STEP_LIMIT_WARNING
// "LOAD STEPS REACH THE LIMIT OF 10001": on the run log, and first on the
// results report unless the run estimates stiffness or is a pushover point.
void WRITE_CAP_STEP_LIMIT_WARNING();

// WRITE_CAP_ABANDON_WARNING
// The warning of a run abandoned below the minimum step, by PileErrorWord:
// no closure of a lateral pile, p-y curves too short, nothing after a
// singular tangent, else no convergence after max_iterations iterations;
// on the run log, and first on the results report unless the run estimates
// stiffness or is a pushover point.
void WRITE_CAP_ABANDON_WARNING();

// ----------------------------------------------------------- cap solvers

// The arguments of one cap run as the run loop hands them to a solver (see
// SOLVE_CAP_3D and SOLVE_CAP_2D), and whether the run is point-controlled.
struct CapRunArguments {
  int run_kind = RUN_KIND_CASE;
  double* result_load = nullptr;
  double* result_displacement = nullptr;
  double* cap_load = nullptr;
  const double* point_load = nullptr;
  double* point_displacement = nullptr;
  const double* point = nullptr;
  const int* dof_flags = nullptr;
  int point_run = 0;  // 1 when the case gives loads or displacements at a point
};

// CASE_WITH_POINT
// Whether the run is a load case that gives loads or displacements at a
// point (LoadCase.point_loads_flag of AnalysisControl.current_run above 0).
bool CASE_WITH_POINT(int run_kind);

// START_CAP_RUN
// The start of a solver run: a model that selects a feature not built is
// refused (its note and result code 9, pass mode 0: false); otherwise the
// arguments are kept and a load case with loads or displacements at a point
// (LoadCase.point_loads_flag of AnalysisControl.current_run) is marked.
bool START_CAP_RUN(CapRunArguments& run, int run_kind, double* equivalent_load, double* cap_displacement,
                   double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                   const int* dof_flags);

// APPLY_STEP_FRACTION
// The loads and soil movements of one Newton iteration at the load fraction
// tcur: the movement profile's points and the distributed loads at tcur,
// the movements along the piles ramped from the converged fraction to tcur
// over the first ten iterations.
//   Writes: SoilMovementProfile.move_y, move_z; the load and movement tables
//   returns the movement fraction applied
double APPLY_STEP_FRACTION(double tcur, double converged_fraction, int iteration);

// The state of one cap run in either dimension (N = 6 in space, 3 in the
// plane: X vertical, Y, Z, then the rotations; or X, Y, rotation Z), created
// at the solver's entry and handed to the result reports after the last
// step; nothing of it outlives the run. Matrices are column-major.
template <int N, int P>
struct CapSolverState : CapRunArguments {
  using Vector = Array1<double, N>;
  using Matrix = Array2<double, N, N>;
  int step = 0;              // load-step counter, 1 for the first step
  int iteration = 0;         // Newton iteration of the current step attempt
  int last_step_result = 0;  // 1 converged, -1 failed, 0 no step computed
  int movements_present = 0;
  int fixed_steps = 0;  // the fixed-step flag of the difference tangents
  int singular = 0;
  int road = 0;  // CAP_ROAD_ after the stepping
  double tcur = 0.0;
  double dtcur = 0.0;
  double converged_fraction = 0.0;  // TCUR of the last converged step
  double movement_fraction = 0.0;
  Vector full_load{}, displacement{}, increment{}, step_displacement{}, step_start_displacement{};
  Vector pile_force{}, residual{}, point_displacement_entry{}, point_load_working{};
  Vector converged_force{};  // F of the last iteration of the last converged step
  Matrix tangent{}, assembled_tangent{};
  Matrix converged_tangent{};  // assembled tangent of the last converged step
  double err_dsp = 0.0, inc_dsp = 0.0, tot_dsp = 0.0, err_rot = 0.0, inc_rot = 0.0, tot_rot = 0.0;
  double max_dsp = 0.0, max_rot = 0.0;
  // The finest translation and rotation of the cap the pile solutions
  // resolve (CAP_RESOLUTION), and whether the last increment's translations
  // or rotations overshot the solution (CAP_DAMP_OVERSHOOT).
  double resolution_dsp = 0.0, resolution_rot = 0.0;
  bool overshoot_dsp = false, overshoot_rot = false;
  int reversals_dsp = 0, reversals_rot = 0;  // increments in a row that reversed the one before
  // The bordered system of a point run (P = N + one multiplier per DOF):
  // the matrix, inverted in place, its right-hand side, the forces and given
  // displacements it was formed from, and its solution (dU, multipliers).
  Array2<double, P, P> point_matrix{};
  Array1<double, P> point_rhs{}, point_force_target{}, point_solution{};
};

// The state of one 3D cap run: F is the group force vector plus the
// passive force, R = -(P TCUR + F); the point system of a point run.
struct CapSolverState3D : CapSolverState<CAP_DOFS, POINT_SYSTEM_ORDER> {
  int torsion_only = 0;  // only the torque about the vertical axis loads the cap
  double passive_position = 0.0;
  Array1<double, CAP_DOFS> passive_force{};
  // The passive force and its position of the last iteration of the last
  // converged step: what a partial run reports.
  double converged_passive_position = 0.0;
  Array1<double, CAP_DOFS> converged_passive_force{};
  Array2<double, CAP_DOFS, CAP_DOFS> tangent_term{};
  // The reduction factors of close spacing (the pair the p-y curves read),
  // pile by pile, of the last converged step: a partial run reports them.
  std::vector<double> converged_p_factor, converged_y_factor;
  // The sums of the point system over the step and the run (point runs only).
  Array1<double, POINT_SYSTEM_ORDER> point_step{}, point_total{}, point_saved_total{};
};

// Result roads after the stepping of a 3D run, in the order they are tried.
constexpr int CAP_ROAD_NO_CONVERGENCE = 1;
constexpr int CAP_ROAD_FLEXIBILITY_LEVEL = 2;
constexpr int CAP_ROAD_PUSHOVER = 3;
constexpr int CAP_ROAD_TARGET_SEARCH = 4;
constexpr int CAP_ROAD_FULL_OUTPUT = 5;

// The state of one 2D cap run: F is the pile-force resultant less the cap
// resistance, R = P TCUR - F; the bordered system of a point run.
struct CapSolverState2D : CapSolverState<CAP_DOFS_2D, MIXED_SYSTEM_ORDER_2D> {
  using Vector3 = Vector;
  using Vector6 = Array1<double, MIXED_SYSTEM_ORDER_2D>;
  double mean_ground_line = 0.0, mean_reaction = 0.0;  // embedded cap, method 0
  Vector3 applied{};                                   // P x TCUR of the last iteration
  Matrix inverse{};
  CapPassive2D passive{};            // the resistance of the last base evaluation
  CapPassive2D converged_passive{};  // that of the last converged step, which is reported
};

// Whether the run is a level of the cap flexibility estimation; 0 for every
// plain case and combination.
struct DofRunModeRecord {
  int mode = DOF_RUN_NONE;
};
extern DofRunModeRecord DofRunMode;

// The load fraction TCUR takes when the run is abandoned below the minimum step.
constexpr double TCUR_ABANDONED = double(1.1f);

// CAP_RESULT_CODE_3D
// The result code of a finished 3D run: no convergence, or completed when
// the converged fraction reaches the full load, else the partial-load code
// with the percentage of the load actually carried (never completed).
//   out: code (RESULT_), percent (100 x converged fraction for the partial code)
void CAP_RESULT_CODE_3D(const CapSolverState3D& state, int& code, double& percent);

// Test seam: called with the state of every 3D run that reaches its
// reports, just before them; nullptr (the default) calls nothing.
using CapSolutionHook = void (*)(const CapSolverState3D& state);
void set_cap_solution_hook(CapSolutionHook hook);

// Test seam: called with the state of every 2D run that reaches its
// reports, just before them; nullptr (the default) calls nothing.
using CapSolutionHook2D = void (*)(const CapSolverState2D& state);
void set_cap_solution_hook_2d(CapSolutionHook2D hook);

// SOLVE_CAP_3D / SOLVE_CAP_2D
// One run of the pile-cap equilibrium with its reports and its result-code
// line; the rest of the run's control comes from AnalysisControl.
//   in:     run_kind         RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in,out: print_flags      the solver's print-flag word
//   in,out: status
//   out:    equivalent_load, cap_displacement  at the origin (6 each)
//   in,out: cap_load         the run's load at the origin (6), may be overwritten
//   in:     point_loads      loads prescribed at the point (6)
//   in,out: point_displacements  prescribed displacements (6), may be overwritten
//   in:     point            coordinates of the point (3), then zeros
//   in:     dof_flags        6: 0 displacement prescribed, otherwise load
void SOLVE_CAP_3D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags);
void SOLVE_CAP_2D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags);

}  // namespace pilecap
