// Analysis sequencing and pile-cap equilibrium: the loop over load cases and
// combinations, the loads along the piles, and the small dense services of the cap solvers. Cap vectors
// are 6 doubles in the order FX, FY, FZ, MX, MY, MZ (loads) or UX, UY, UZ,
// RX, RY, RZ (displacements) at the cap origin, X vertical; a 2D run uses
// entries 1 to 3 as X, Y and rotation Z. 6 x 6 matrices are column-major.
#pragma once

#include <string>

#include "base/arrays.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"

namespace pilecap {

struct PileEvaluation;
struct PileHeadWork;

// ---------------------------------------------------------- run loop

// RUN_CASES_AND_COMBINATIONS
// Runs every load case and then every load combination: headings, progress
// lines on the status file, stop polls before and after each, skipped runs
// (result code 9), control values, loads, the solver run, per-run timing;
// then the envelopes when asked, TABLE N and the plot-data file.
//   Reads:  LoadCase, LoadCombination, EnvelopeOptions, RunOptions, PileTable
//   Writes: AnalysisControl, PileLoadProfile, SoilMovementProfile scaled
//           movements, RunTimers case fields, the reports and status file
//   in:     print_request  the p-y print option as read; restored into
//                          RunOptions.print_py_curves at the end
//   in,out: status  STATUS_STOPPED_BY_USER after a stop request, else what a
//                   called routine set; the loop returns when it is not 0
void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status);

// Test seam: called after the end lines and timing of every analysed case
// (kind RUN_KIND_CASE) and combination, before the stop poll that follows
// them; nullptr (the default) calls nothing.
using RunEndHook = void (*)(int run_kind, int index);
void set_run_end_hook(RunEndHook hook);

// ---------------------------------------------------- progress files

// WRITE_STATUS_LINE
// Replaces the status file's content by one progress record: "- ANALYSIS
// FOR LOAD CASE n/m STARTED" (or FINISHED, or LOAD COMB.) and two empty
// lines. A file that cannot be opened costs only the record.
//   in: run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in: finished  false STARTED, true FINISHED
//   in: n, m      the number and the count of cases or combinations
void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m);

// STOP_REQUESTED: true when the stop-request file holds the value 1.
bool STOP_REQUESTED();

// Result codes of the result-code file.
constexpr int RESULT_COMPLETED = 1;
constexpr int RESULT_PARTIAL_LOAD = 2;
constexpr int RESULT_NO_CAP_CONVERGENCE = 3;
constexpr int RESULT_SKIPPED_ZERO_CAP_FORCE = 5;
constexpr int RESULT_NOT_PERFORMED = 9;
constexpr int RESULT_ESTIMATION_COMPLETED = 10;

// WRITE_RESULT_CODE
// Writes the line of one result code on the result-code file.
//   in: code     one of the RESULT_ codes; any other writes nothing
//   in: percent  the share of the total load reached (code 2 only)
void WRITE_RESULT_CODE(int code, double percent = 0.0);

// ---------------------------------------------- loads along the piles
// The per-pile station tables of PileLoadProfile (pile p = 1..n_piles,
// station k = 1..n + 1 at distances 0, dx, 2 dx, ... from the head along the
// pile axis, dx = length / n of the pile's property set). None of these
// routines can fail.

// CASE_DISTRIBUTED_LOADS / COMB_DISTRIBUTED_LOADS
// Clear the load tables and the axial-resultant mark, then add the
// distributed-load entries of case c (times its scale factor), or of every
// member case of combination j (times scale factor and member factor).
void CASE_DISTRIBUTED_LOADS(int c);
void COMB_DISTRIBUTED_LOADS(int j);

// CASE_SOIL_MOVEMENTS / COMB_SOIL_MOVEMENTS: the same for the soil movements.
void CASE_SOIL_MOVEMENTS(int c);
void COMB_SOIL_MOVEMENTS(int j);

// INTERPOLATE_LOAD_SET
// Adds the distributed-load entries of case c, times f, to the load tables.
// AXIS 0 loads along the pile's own axes, any other value globally; a global
// load gives its axial share to the pile's axial resultant when the case
// carries it to the head (axial_as_head_load 1).
void INTERPOLATE_LOAD_SET(int c, double f);

// INTERPOLATE_MOVEMENT_SET
// Adds the soil-movement entries of case c, times f, to the movement tables;
// AXIS 1 means the pile's own axes, any other value global directions.
void INTERPOLATE_MOVEMENT_SET(int c, double f);

// LOAD_SET_VALUE
// The value of a load set (or movement set) at distance x along the pile:
// linear between its points, its end value within 1e-8 of an end, 0 outside
// and for a set number below 1, beyond the table or with fewer than 2 points.
//   in: movements  false the distributed-load sets, true the movement sets
double LOAD_SET_VALUE(bool movements, int set, double x);

// CLEAR_DISTRIBUTED_LOADS: zero loads, station counts and axial resultants
// of piles 1..n_piles (the axial-resultant mark stays).
void CLEAR_DISTRIBUTED_LOADS();
// CLEAR_SOIL_MOVEMENTS: zero movements and station counts.
void CLEAR_SOIL_MOVEMENTS();

// DISTRIBUTED_LOAD_RESULTANT
// Adds the axial resultants of all piles, as forces at their heads, to the
// cap load at the origin; nothing when no resultant was accumulated.
//   in,out: load  6 doubles
void DISTRIBUTED_LOAD_RESULTANT(double* load);

// SCALE_DISTRIBUTED_LOADS / SCALE_SOIL_MOVEMENTS: the tables times m.
void SCALE_DISTRIBUTED_LOADS(double m);
void SCALE_SOIL_MOVEMENTS(double m);

// SAVE_DISTRIBUTED_LOADS: the saved copies := the load tables.
void SAVE_DISTRIBUTED_LOADS();
// SAVE_SOIL_MOVEMENTS: the saved copies := the movement tables.
//   out: moving  1 when some movement is not 0, else 0
void SAVE_SOIL_MOVEMENTS(int& moving);

// APPLY_LOAD_FRACTION_LOADS / APPLY_LOAD_FRACTION_MOVEMENTS
// The tables := their saved copies times the fraction f.
void APPLY_LOAD_FRACTION_LOADS(double f);
void APPLY_LOAD_FRACTION_MOVEMENTS(double f);

// SCALE_MOVEMENT_PROFILE
// The case-scaled soil-movement profile: the input movements times the
// scale factor of case c, or unchanged when c is 0 (a combination).
//   Writes: SoilMovementProfile.scaled_move_y, scaled_move_z
void SCALE_MOVEMENT_PROFILE(int c);

// ---------------------------------------------- dense cap services

// INVERT_MATRIX
// Inverts the n x n matrix a (column-major, leading dimension lda) in place
// by Gauss-Jordan elimination with full pivoting; among pivot candidates of
// equal magnitude the last met (row by row) wins.
//   in,out: a         inverted when singular is 0; unusable otherwise
//   in:     n, lda    0 <= n <= MAX_INVERT_ORDER, n <= lda
//   out:    singular  0 inverted; 1 when a pivot is 0, no pivot can be
//                     chosen, an entry is not finite or n is out of range
void INVERT_MATRIX(double* a, int n, int lda, int& singular);

// MAX_ABS_TRANSLATION_ROTATION
// The largest magnitude among components 1-3 (translation) and among 4-6
// (rotation) of a cap vector.
void MAX_ABS_TRANSLATION_ROTATION(const double* v, double& translation, double& rotation);

// NEGATE_VECTOR6: destination := -source (a zero becomes a negative zero).
void NEGATE_VECTOR6(const double* source, double* destination);

// TRANSFER_ORIGIN_POINT
// Carries the cap displacement at the origin to the point r by rigid-body
// motion and the equivalent load at the origin to the point (forces kept,
// moments M - r x F); a load-controlled DOF (flag 1) takes its prescribed
// point load, and for a force DOF the load at the origin takes it as well.
//   in:     u        displacement at the origin (6)
//   in,out: f        load at the origin (6); forces of flagged DOFs replaced
//   in:     r        point (3)
//   out:    u_point, f_point  (6 each), written only when moved is 1
//   in:     given    prescribed point loads (6); flags (6): 1 load prescribed
//   out:    moved    0 when r is exactly the origin (nothing written), else 1
void TRANSFER_ORIGIN_POINT(const double* u, double* f, const double* r, double* u_point, double* f_point,
                           const double* given, const int* flags, int& moved);

// DOF_FLAG_CHARACTERS
// Marker characters of the point tables: an asterisk on the load of every
// load-controlled DOF (flag not 0) and on the displacement of every other.
//   Reads: UnitLabels characters 34 (blank) and 35 (asterisk)
void DOF_FLAG_CHARACTERS(const int* flags, char* load_marks, char* displacement_marks);

// UPDATE_CAP_ENVELOPE
// Folds one run's equivalent load and cap displacement at the origin into
// CapEnvelope; the run that finds AnalysisControl.first_run equal to 1
// starts the envelope afresh.
void UPDATE_CAP_ENVELOPE(const double* load, const double* displacement);

// ----------------------------------- group force vector and stiffness (3D)

// The head response the group routines evaluate; PILE_HEAD_RESPONSE unless a
// test installs a stand-in. Same contract as PILE_HEAD_RESPONSE.
using HeadResponseProvider = void (*)(int pile, double* forces, const double* u, int& status);

// SET_HEAD_RESPONSE_PROVIDER: installs provider; nullptr restores
// PILE_HEAD_RESPONSE. Not to be called while a group routine runs.
void SET_HEAD_RESPONSE_PROVIDER(HeadResponseProvider provider);

// Difference steps of the head tangents (widened single-precision literals;
// products as the engine forms them).
constexpr double STEP_TRANSLATION_INCHES = double(1e-7f);                              // 1.0000000116860974e-7
constexpr double STEP_TRANSLATION_METRES = double(1e-7f) * double(0.0254f);            // 2.539999998986295e-9
constexpr double STEP_ROTATION = double(1e-4f) * double(1e-7f);                        // 9.999999864239723e-12
constexpr double STEP_ROTATION_SMALL = double(1e-2f) * double(1e-4f) * double(1e-7f);  // 9.999999640722308e-14
constexpr double STEP_REDUCTION = double(1e-4f);                                       // 9.999999747378752e-5
constexpr double STEP_TRANSLATION_THRESHOLD = 100.0;
constexpr double STEP_SMALL_ROTATION_THRESHOLD = STEP_ROTATION * 100.0;  // 9.999999864239723e-10
constexpr double CENTRAL_DIFFERENCE_FACTOR = 0.5;
constexpr int STEP_FULL_ITERATIONS = 2;  // iterations whose translation step is always reduced

// HEAD_DIFFERENCE_STEPS
// The translation and rotation steps of a central-difference head tangent:
// full steps when fixed_steps is 1; reduced translation step in the first two
// iterations; later the translation step is reduced when it is large against
// the translation of du, and the rotation step shrinks when du hardly rotates.
//   Reads: RunOptions.units (2 SI: metres, else inches)
//   in:    du (6) the latest cap increment, iteration (1-based), fixed_steps
//   out:   step_t, step_r
void HEAD_DIFFERENCE_STEPS(const double* du, int iteration, int fixed_steps, double& step_t, double& step_r);

// FVEC
// The group force vector: the head reactions of all piles at the cap
// displacement u, each carried to the cap origin, summed in pile order after
// a parallel loop over the piles (bit-identical for every thread count).
//   Reads:  PileTable, AnalysisControl (threads_wanted, threads_available)
//   Writes: PileTable.head_force (every pile; 0 for a failed pile),
//           PileErrorWord (merged), AnalysisControl.threads_used_max,
//           RunTimers (threads_used_run, parallel_time)
//   out:    forces (6) at the origin
//   in:     u (6) at the origin
//   in,out: status  receives the code of the lowest failing pile when it was 0
void FVEC(double* forces, const double* u, int& status);

// PILE_HEAD_STIFFNESS
// The 6 x 6 tangent k(i, j) = dF_i / du_j of one pile's head response at the
// head displacement u (global axes, column-major) by central differences: 13
// evaluations, base, +1..+6, -1..-6; every perturbed component is restored
// to its saved value. A failed evaluation counts as zero forces.
//   in:     pile, u (6, unchanged), du (6), iteration, fixed_steps
//   out:    k (36)
//   in,out: status  the first failure of the 13 evaluations when it was 0
void PILE_HEAD_STIFFNESS(int pile, double* k, const double* u, const double* du, int iteration, int fixed_steps,
                         int& status);
// The same inside a loop over piles: the 13 evaluations report into the
// pile's evaluation and use the thread's work record; the caller publishes.
void PILE_HEAD_STIFFNESS(int pile, double* k, const double* u, const double* du, int iteration, int fixed_steps,
                         int& status, PileEvaluation& evaluation, PileHeadWork& work);

// STIFF
// The group tangent at the cap displacement u: per pile T^T k T in a
// parallel loop, then their sum in pile order on the calling thread.
//   Reads:  as FVEC
//   Writes: PileTable.head_stiffness (every pile), PileErrorWord (merged),
//           the thread maxima, RunTimers.parallel_time in the analysis pass
//           (pass_mode 0), RunTimers.print_time otherwise
//   out:    k (36) column-major
//   in:     u, du (6 each), iteration, fixed_steps
//   in,out: status  as FVEC
void STIFF(double* k, const double* u, const double* du, int iteration, int fixed_steps, int& status);

// ------------------------------------- loads and displacements at a point

constexpr int POINT_SYSTEM_ORDER = 12;

// BUILD_POINT_SYSTEM
// The 12 x 12 system of a run with displacements given at a point: the
// tangent k bordered by one rigid-body constraint row and column per DOF
// whose displacement is given (flag 0) and a unit diagonal for the others.
//   out: s (144, column-major); in: k (36), r (3) point, flags (6)
void BUILD_POINT_SYSTEM(double* s, const double* k, const double* r, const int* flags);

// POINT_SYSTEM_RESIDUAL
// Right-hand side b (residual, then the displacement misfits d - u_point of
// the given DOFs) and force target a (forces, then the given displacements).
//   out: b, a (12 each); in: residual, forces, d, u (6 each), r (3), flags (6)
void POINT_SYSTEM_RESIDUAL(double* b, double* a, const double* residual, const double* forces, const double* d,
                           const double* u, const double* r, const int* flags);

// MULTIPLY_12X12_BY_VECTOR: out := m v for a column-major 12 x 12 m; out
// must not share storage with m or v.
void MULTIPLY_12X12_BY_VECTOR(double* out, const double* m, const double* v);

// CAP_DISPLACEMENT_NORMS: Euclidean norms of components 1-3 and of 4-6.
void CAP_DISPLACEMENT_NORMS(const double* v, double& translation, double& rotation);

// ------------------------------------------------------ cap solvers

// The state of one 3D cap run, created at the solver's entry and handed to
// the result reports after the last step; nothing of it outlives the run.
struct CapSolverState3D {
  // The arguments of the run.
  int run_kind = RUN_KIND_CASE;
  double* result_load = nullptr;
  double* result_displacement = nullptr;
  double* cap_load = nullptr;
  const double* point_load = nullptr;
  double* point_displacement = nullptr;
  const double* point = nullptr;
  const int* dof_flags = nullptr;
  int point_run = 0;  // 1 when the case gives loads or displacements at a point

  int step = 0;              // load-step counter, 1 for the first step
  int iteration = 0;         // Newton iteration of the current step attempt
  int last_step_result = 0;  // 1 converged, -1 failed, 0 no step computed
  int torsion_only = 0;      // only the torque about the vertical axis loads the cap
  int movements_present = 0;
  int fixed_steps = 0;  // the fixed-step flag of the head tangents
  int singular = 0;
  int road = 0;  // CAP_ROAD_ after the stepping
  double tcur = 0.0;
  double dtcur = 0.0;
  double converged_fraction = 0.0;
  double movement_fraction = 0.0;
  double passive_position = 0.0;
  Array1<double, CAP_DOFS> full_load{}, displacement{}, increment{}, step_displacement{}, step_start_displacement{};
  Array1<double, CAP_DOFS> pile_force{}, residual{}, passive_force{}, point_displacement_entry{}, point_load_working{};
  Array2<double, CAP_DOFS, CAP_DOFS> tangent{}, assembled_tangent{}, tangent_term{};
  double err_dsp = 0.0, inc_dsp = 0.0, tot_dsp = 0.0, err_rot = 0.0, inc_rot = 0.0, tot_rot = 0.0;
  double max_dsp = 0.0, max_rot = 0.0;
  // The point system (point runs only).
  Array2<double, POINT_SYSTEM_ORDER, POINT_SYSTEM_ORDER> point_matrix{};
  Array1<double, POINT_SYSTEM_ORDER> point_rhs{}, point_force_target{}, point_solution{}, point_step{}, point_total{},
      point_saved_total{};
};

// Result roads after the stepping of a 3D run, in the order they are tried.
constexpr int CAP_ROAD_NO_CONVERGENCE = 1;
constexpr int CAP_ROAD_FLEXIBILITY_LEVEL = 2;
constexpr int CAP_ROAD_PUSHOVER = 3;
constexpr int CAP_ROAD_TARGET_SEARCH = 4;
constexpr int CAP_ROAD_FULL_OUTPUT = 5;

// Kinds of run of a flexibility estimation (DofRunMode.mode).
constexpr int DOF_RUN_NONE = 0;
constexpr int DOF_RUN_LEVELS = 2;  // one level of a degree of freedom of the flexibility estimation

// Whether the run is a level of the cap flexibility estimation; 0 for every
// plain case and combination.
struct DofRunModeRecord {
  int mode = DOF_RUN_NONE;
};
extern DofRunModeRecord DofRunMode;

// The search for the load factor that gives a target cap displacement, as
// far as the result reports of a 3D run read and write it.
struct TargetDeflectionSearchRecord {
  int active = 0;         // 1 while a search runs
  int state = 0;          // above 0: the search goes on; -1 after warnings of the last evaluation
  int target_dof = 0;     // the cap DOF whose displacement is searched; 0 none
  double computed = 0.0;  // that DOF's displacement of the last run
};
extern TargetDeflectionSearchRecord TargetDeflectionSearch;

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

// REPORT_CAP_SOLUTION_3D
// The reports of a finished 3D run: the bearing, pull-out and torsion
// warnings of the last force evaluation (with the warning texts copied from
// the axial-warning file), then one road: no convergence (result code only),
// flexibility level, pushover point, target search, or the full output
// (reduction factors, TABLE L with the point tables of a point run, the cap
// envelope, the partial-load warning, the passive cap table, the final print
// pass of the group force vector and the per-pile tables).
//   Reads:  WarningCounters, AnalysisControl, RunOptions, UnitLabels,
//           ClosePileFactors, CapGeometry, DofRunMode, TargetDeflectionSearch
//   Writes: state.road, state.cap_load (the printed equivalent load),
//           state.point_displacement, PileErrorWord (3 after warnings),
//           CapEnvelope, AnalysisControl.first_run and pass_mode (0 on
//           return), TargetDeflectionSearch (state,
//           computed), the distributed loads and movements (the converged
//           fraction after a partial load), the result stores
//   in,out: state   the solver's state after its last step
//   in,out: status  as the final print pass leaves it; not tested here
void REPORT_CAP_SOLUTION_3D(CapSolverState3D& state, int& status);

// REPORT_FAILED_LEVEL_3D / REPORT_FLEXIBILITY_LEVEL_3D
// The records of a level of the cap flexibility estimation: of a level
// whose first step failed, and of a solved level with its result code.
void REPORT_FAILED_LEVEL_3D(const CapSolverState3D& state);
void REPORT_FLEXIBILITY_LEVEL_3D(CapSolverState3D& state, int& status);

// REPORT_PUSHOVER_POINT_3D
// The road of a solved incremental (pushover) point: result code, final
// print pass and the point's per-pile tables.
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& state, int& status);

// REPORT_TARGET_SEARCH_3D
// The road of a run of the target-displacement search that goes on: the
// error against the target, the equivalent stiffness records and the
// stiffness-estimation print pass.
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& state, int& status);

// ----------------------------------------------- embedded cap (passive)
// The embedded-cap element is entry n_piles + 1 of PileTable, a vertical
// element from the cap's top (head_x = d0) down over the cap thickness L
// (CapPassiveElement.length) in n = CapPassiveElement.increments equal
// increments h = L / n; its property set is the one after the input sets.
// None of these routines may run inside a parallel loop.

// CAP_ELEMENT_NODES
// Lays out the element's nodes (node j at d0 + (j - 1) h, accumulated) and
// the nodes of each soil layer, at most one layer opening per node; layers
// the element does not reach get 0 and 0. Without soil layers there are no
// ranges (the element has no springs).
//   Reads:  PileTable (n_piles, head_x of the element), CapPassiveElement,
//           SoilProfile (num_layers, layer_top, layer_bottom)
//   Writes: PileNodes (depth, axial_x) and PileLayerData node ranges of the
//           element, CapPassiveElement.head_depth, the sentinel
//           SoilProfile.layer_top(num_layers + 1)
//   out:    status  STATUS_OK, or STATUS_PILE_BELOW_DEEPEST_LAYER (with the
//                   fatal block on the results report and the run log) when
//                   a node lies below the deepest layer
void CAP_ELEMENT_NODES(int& status);

// CAP_SOIL_REACTION_3D
// The soil's resultant on the element for a rigid movement of its top, in
// its axes: Y_j = v + theta_z s_j, Z_j = w - theta_y s_j; one secant modulus
// per node at the radial displacement (the p-y curves of the cap width), so
// each reaction lies along its node's displacement; trapezoidal sums.
//   in:     v, theta_z, w, theta_y
//   out:    force_y, force_z, and the moments moment_z, moment_y about the
//           top; untouched when the springs fail
//   in,out: status  the p-y machinery's code
void CAP_SOIL_REACTION_3D(double v, double theta_z, double w, double theta_y, double& force_y, double& force_z,
                          double& moment_z, double& moment_y, int& status);

// CAP_SOIL_REACTION_2D
// The same in the plane: y_j = u + theta s_j; F = -sum w E y, M = -sum w a E y.
void CAP_SOIL_REACTION_2D(double u, double theta, double& force, double& moment, int& status);

// CAP_ELEMENT_FORCE
// The element's reaction at its top in cap axes for the displacement of its
// top in cap axes: no axial and no torsional part.
//   out: f (6); in: u (6); in,out: status (f 0 on failure)
void CAP_ELEMENT_FORCE(double* f, const double* u, int& status);

// CAP_PASSIVE_FORCE
// The element's reaction at the cap origin for the cap displacement u at the
// origin, in the order and sign convention of the group force vector.
//   out: passive (6; 0 on failure); in: u (6, unchanged); in,out: status
void CAP_PASSIVE_FORCE(double* passive, const double* u, int& status);

// CAP_PASSIVE_STIFFNESS
// The 6 x 6 tangent of CAP_PASSIVE_FORCE by central differences, steps 1e-7
// in (2.54e-9 m) and 1e-11 rad, shrunk against the last increment du unless
// fixed_steps is 1 (SCALE_DIFFERENCE_STEPS). A failing evaluation ends it.
//   out: k (36, valid only when status stays 0); in: u, du (6 each, unchanged),
//   iteration (1 for the first of a step), fixed_steps; in,out: status
void CAP_PASSIVE_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps, int& status);

// CAP_PASSIVE_FORCE_2D
// The element's reaction at the origin of the plane model, (X, Y, RZ), for
// the cap displacement u there; the element's row transform from its
// batter, head depth and plan position.
//   out: passive (3; 0 on failure); in: u (3, unchanged); in,out: status
void CAP_PASSIVE_FORCE_2D(double* passive, const double* u, int& status);

// CAP_PASSIVE_RESULTANT
// The passive resistance by the means of the piles: FVEC at u refreshes the
// piles' ground lines and head reactions; with the cap embedded (mean
// ground line below -1e-6) a trapezoidal pressure over the embedded height,
// split between Y and Z by the shares of the horizontal movement and
// opposing it; nothing without horizontal movement.
//   Writes: what FVEC writes, CapPassiveState
//   out: passive (6); in: u (6); in,out: status  FVEC's code
void CAP_PASSIVE_RESULTANT(double* passive, const double* u, int& status);

// CAP_PASSIVE_RESULTANT_STIFFNESS
// Its tangent by central differences with the steps of the head tangents;
// every evaluation is made whatever the status word holds.
void CAP_PASSIVE_RESULTANT_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps,
                                     int& status);

// ------------------------------------- reduction factors by direction (3D)

// UPDATE_DIRECTION_P_MULTIPLIERS
// The first pair of ClosePileFactors of every pile := the blend of the two
// directions for the horizontal direction of u (the load's when u has none,
// Y when neither has; methods 3 and 4 the given direction). Methods 1 and 3
// first recompute both directional pairs for the signs of the movement (of
// the given direction) and save the first; after iteration 20 of a pure
// torsion, method 1 takes both signs + and methods 1 and 2 both directions
// alike.
//   Reads:  RunOptions (pmult_method, pmult_direction), the pile geometry
//   Writes: ClosePileFactors; PileTable.p_factor_saved, y_factor_saved
//   in:     u (6), direction (6: the load), iteration, torsion_only
void UPDATE_DIRECTION_P_MULTIPLIERS(const double* u, const double* direction, int iteration, int torsion_only);

// CAP_STIFFNESS_BY_DIFFERENCES
// The tangent of the group force vector with factors that follow the
// direction of movement: 12 evaluations of FVEC, each with the factors of
// its own perturbed displacement (kept per evaluation, given to the p-y
// curves between the parallel loops); the steps of the head tangents.
//   Writes: what FVEC writes (its last evaluation's); ClosePileFactors
//           first pair restored to its value at entry
//   out:    k (36); in: u, du, cap_load (6 each), iteration, fixed_steps,
//           torsion_only; in,out: status  FVEC's codes
void CAP_STIFFNESS_BY_DIFFERENCES(double* k, const double* u, const double* du, const double* cap_load, int iteration,
                                  int fixed_steps, int torsion_only, int& status);

// RUN_CAP_PLATE_MODEL: the run handed to the plate model of the cap.
void RUN_CAP_PLATE_MODEL(double* cap_load);

// Methods of the embedded cap's passive resistance (CapPassiveElement.method).
constexpr int PASSIVE_BY_MEANS = 0;
constexpr int PASSIVE_BY_ELEMENT = 1;

// UNSUPPORTED_MODEL_FEATURE
// The first feature the model selects whose analysis is not built yet, as
// the text of its run-log note; empty when every run of the model can be
// analysed. The run loop asks once, on the calling thread, before the first
// case, and then reports every case and combination as not analysed.
//   Reads: RunOptions, CapPassiveElement, SoilLayerInput, PileTable.py_set
std::string UNSUPPORTED_MODEL_FEATURE();

// REPORT_UNSUPPORTED_RUN
// The note "NOTE: <feature> IS NOT YET SUPPORTED, RUN NOT ANALYZED" on the
// results report, the summary and the run log, and the not-performed result
// code of the run.
void REPORT_UNSUPPORTED_RUN(const std::string& feature);

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

// RUN_ESTIMATION_POINTS
// The points of a case that estimates the cap's flexibility or stiffness or
// adds incremental (pushover) points, its total-load point included.
//   in:     c       the case
//   in,out: status
void RUN_ESTIMATION_POINTS(int c, int& status);

}  // namespace pilecap
