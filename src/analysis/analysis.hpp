// Analysis sequencing and pile-cap equilibrium: the loop over load cases and
// combinations, the loads along the piles, and the small dense services of the cap solvers. Cap vectors
// are 6 doubles in the order FX, FY, FZ, MX, MY, MZ (loads) or UX, UY, UZ,
// RX, RY, RZ (displacements) at the cap origin, X vertical; a 2D run uses
// entries 1 to 3 as X, Y and rotation Z. 6 x 6 matrices are column-major.
#pragma once

#include <string>
#include <vector>

#include "base/arrays.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/dense_matrix.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/result_codes.hpp"

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

// Host hook: called as every load case (kind RUN_KIND_CASE) and combination
// starts, before its STARTED line, with the resultant of its concentrated
// loads at the cap origin (FX, FY, FZ, MX, MY, MZ; zero for a case whose
// loads are given at a point) in the units of the reports, and the force and
// moment labels of those units ("KIP", "KIP-IN"), so that a host can show the
// load before the results are read. nullptr (the default) calls nothing.
// libpilecap.so exports the setter with DUVIZU.
using RunStartHook = void (*)(int run_kind, int index, const double* load_at_origin, const char* force_label,
                              const char* moment_label);
__attribute__((visibility("default"))) void set_run_start_hook(RunStartHook hook);

// ---------------------------------------------------- progress files

// WRITE_STATUS_LINE
// Replaces the status file's content by one progress record: "- ANALYSIS
// FOR LOAD CASE n/m STARTED" (or FINISHED, or LOAD COMB.) and two empty
// lines. A file that cannot be opened costs only the record.
//   in: run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in: finished  false STARTED, true FINISHED
//   in: n, m      the number and the count of cases or combinations
void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m);

// Events of a solver's status record.
constexpr int SOLVER_EVENT_ITERATION = 0;
constexpr int SOLVER_EVENT_STEP_COMPLETED = 1;  // 3D only
constexpr int SOLVER_EVENT_ENDED = 2;           // 3D only

// WRITE_SOLVER_STATUS
// Replaces the status file's content by a cap solver's record: the run line
// (case or combination, thread counts) and the event line in its plain, DOF
// or point form; a file that cannot be opened costs only the record.
//   Reads: AnalysisControl (current_run, point and DOF counters, thread
//          counts, pushover_active), TargetDeflectionSearch.active, the counts
//          of cases and combinations
//   in:    run_kind, event (SOLVER_EVENT_), step, tcur, iteration,
//          dimension (MODEL_2D prints a DOF iteration's TCUR with 4 decimals)
void WRITE_SOLVER_STATUS(int run_kind, int event, int step, double tcur, int iteration, int dimension);

// SET_STATUS_WRITTEN_HOOK
// A test seam: the hook is called on the calling thread after every record
// the two routines above write, before the stop request is polled, so that
// a whole-run test can ask for the stop at a known record. nullptr removes it.
using StatusWrittenHook = void (*)();
void SET_STATUS_WRITTEN_HOOK(StatusWrittenHook hook);

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

// APPLY_LOAD_FRACTION_PROFILE
// The soil-movement profile's movements := its case-scaled movements times
// the fraction f.
//   Writes: SoilMovementProfile.move_y, move_z
void APPLY_LOAD_FRACTION_PROFILE(double f);

// APPLY_CONVERGED_FRACTION
// The loads and movements along the piles and the soil-movement profile at
// the fraction c a run converged at below its full load, so that the final
// print pass sees what the cap carried, not the failed attempt's fraction.
void APPLY_CONVERGED_FRACTION(double c);

// SCALE_MOVEMENT_PROFILE
// The case-scaled soil-movement profile: the input movements times the
// scale factor of case c, or unchanged when c is 0 (a combination).
//   Writes: SoilMovementProfile.scaled_move_y, scaled_move_z
void SCALE_MOVEMENT_PROFILE(int c);

// ---------------------------------------------- dense cap services

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
// the parallel pile loop (RUN_PILE_LOOP; bit-identical for every thread
// count).
//   Reads:  PileTable, AnalysisControl (threads_wanted, threads_available)
//   Writes: PileTable.head_force (every pile; 0 for a failed pile),
//           PileErrorWord (merged), AnalysisControl.threads_used_max,
//           RunTimers (threads_used_run, and as RUN_PILE_LOOP books it
//           parallel_time in the analysis pass, print_time otherwise)
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

// PILE_HEAD_FORCES
// One head evaluation inside a loop over piles, of the installed head
// response (PILE_HEAD_RESPONSE unless a test installed a stand-in): forces
// at the head displacement u (both global axes), zero forces on failure.
//   in,out: status  the evaluation's failure when it was 0
void PILE_HEAD_FORCES(int pile, double* forces, const double* u, int& status, PileEvaluation& evaluation,
                      PileHeadWork& work);

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

// ------------------------------------------------- solver trace lines

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

// ------------------------------------------------ group force vector (2D)

// ROW_TRANSFORM_2D
// The transform T of a 2D pile row (3 x 3, column-major): column 1 the axial
// force (c, s, s x - c y), column 2 the lateral force (-s, c, c x + s y),
// column 3 the moment (0, 0, 1), with s, c of PileTable.batter and x, y the
// row's head_depth and head_plan. T carries the row's local head forces to
// the cap origin; its transpose carries the cap displacement to the head.
void ROW_TRANSFORM_2D(int row, double* t);

// FVEC2D
// The group force vector of a 2D model: for every pile row the axial force
// (times PileTable.axial_factor), the lateral force and the moment of the
// plane lateral solution at d = T^T U, times PileTable.n_identical, carried
// to the origin by T, summed in row order after a parallel loop over rows
// (bit-identical for every thread count).
//   Reads:  PileTable, AnalysisControl (threads_wanted, threads_available,
//           pass_mode)
//   Writes: PileTable.head_force(row, 1..3, 1) (0 for a failed row),
//           PileErrorWord (merged), the thread maxima, RunTimers
//           (parallel_time in the analysis pass, print_time otherwise),
//           CapPassiveState.horizontal_movement (|U2|, read by the rows' cap
//           pass on user p-y curves)
//   out:    resultant (3) at the origin
//   in:     u (3) at the origin
//   in,out: status  receives the code of the lowest failing row when it was 0
void FVEC2D(double* resultant, const double* u, int& status);

// Difference steps of the 2D tangent at rest, CAP_TANGENT_2D without steps
// (widened single-precision literals); the solver's iterations take theirs
// from HEAD_DIFFERENCE_STEPS.
constexpr double STEP_TRANSLATION_2D_INCHES = double(1e-5f);     // 9.999999747378752e-06
constexpr double STEP_TRANSLATION_2D_METRES = double(2.54e-7f);  // 2.5399999051378116e-07
constexpr double STEP_ROTATION_2D = double(1e-8f);               // 1.0000000222353253e-08

// CAP_TANGENT_2D
// The 3 x 3 tangent of the 2D pile group at U by central differences of the
// whole force vector: six evaluations of FVEC2D, each with one component of
// U perturbed by -h and +h in the order F1-, F2-, F3-, F1+, F2+, F3+
// (translation step by RunOptions.units, rotation step STEP_ROTATION_2D);
// column j is (Fj+ - Fj-) / (2 h_j). Stops at the first evaluation that sets
// the status word.
//   out:    k (9, column-major); partial when status was set
//   in:     u (3)
//   in,out: status
void CAP_TANGENT_2D(double* k, const double* u, int& status);
// The same with the steps given: steps (3) = translation, translation, rotation.
void CAP_TANGENT_2D(double* k, const double* u, const double* steps, int& status);

// ---------------------------------------- mixed control in 2D, vectors

constexpr int MIXED_SYSTEM_ORDER_2D = 6;

// BUILD_MIXED_SYSTEM_2D
// The 6 x 6 bordered system: k in rows and columns 1-3, and per DOF d a
// constraint row c_d (c_1 = (1, 0, -y_p), c_2 = (0, 1, x_p), c_3 = (0, 0, 1))
// in row 3 + d and its transpose in column 3 + d when flag d is 0
// (displacement prescribed), else a unit diagonal.
//   out: s (36); in: k (9), point (x_p, y_p), flags (3)
void BUILD_MIXED_SYSTEM_2D(double* s, const double* k, const double* point, const int* flags);

// MIXED_RESIDUAL_2D
// Right-hand side r (residual, then target - present point displacement of
// every displacement-controlled DOF) and its companion d (forces, then the
// targets); 0 in both for a load-controlled DOF.
//   out: r, d (6 each); in: residual, forces, targets, u (3 each), point, flags
void MIXED_RESIDUAL_2D(double* r, double* d, const double* residual, const double* forces, const double* targets,
                       const double* u, const double* point, const int* flags);

// MULTIPLY_MIXED_SYSTEM_2D: out := s v for the 6 x 6 s; out must not share
// storage with s or v.
void MULTIPLY_MIXED_SYSTEM_2D(double* out, const double* s, const double* v);

// LIMIT_COUPLING_TERMS_2D
// The first-iteration limit of a point run: each off-diagonal pair whose
// magnitude exceeds half the magnitude of the diagonal of its row is set to
// that half with its sign, row 1, then 2, then 3, each test seeing the
// values the earlier ones left.
//   in,out: k (9, column-major)
void LIMIT_COUPLING_TERMS_2D(double* k);

// TRANSFER_ORIGIN_POINT_2D
// Carries the displacement at the origin to the point by rigid-body motion
// and the load to (FX, FY, MZ - x_p FY + y_p FX); a DOF flagged 1 takes its
// prescribed point load, and for a force DOF the origin load takes it too.
//   in:     u (3); in,out: f (3); in: point (x_p, y_p)
//   out:    u_point, f_point (3 each, only when moved is 1)
//   in:     given (3 point loads), flags (3)
//   out:    moved  0 when the point is exactly the origin, else 1
void TRANSFER_ORIGIN_POINT_2D(const double* u, double* f, const double* point, double* u_point, double* f_point,
                              const double* given, const int* flags, int& moved);

// DOF_FLAG_CHARACTERS_2D: the asterisk on the load of every load-controlled
// DOF (flag not 0) and on the displacement of every other (UnitLabels
// characters 34 and 35).
void DOF_FLAG_CHARACTERS_2D(const int* flags, char* load_marks, char* displacement_marks);

// CAP_DISPLACEMENT_NORMS_2D: sqrt(a^2 + b^2) and |c| of (a, b, c).
void CAP_DISPLACEMENT_NORMS_2D(const double* v, double& translation, double& rotation);

// MAX_ABS_2D: max(|a|, |b|) (|b| only when strictly larger) and |c|.
void MAX_ABS_2D(const double* v, double& translation, double& rotation);

// UPDATE_CAP_ENVELOPE_2D
// Folds a run's load and displacement at the origin into components 1-3 of
// CapEnvelope; the run that finds AnalysisControl.first_run 1 starts afresh.
void UPDATE_CAP_ENVELOPE_2D(const double* load, const double* displacement);

// COPY_VECTOR3: destination := source (3 doubles).
void COPY_VECTOR3(const double* source, double* destination);

// ------------------------------------------------- embedded cap in 2D

// The embedded cap's resistance at one state: C at the origin (force X,
// force Y, moment Z) and, for the report, the horizontal load and its depth.
struct CapPassive2D {
  Array1<double, CAP_DOFS_2D> force{};
  double load = 0.0;
  double position = 0.0;
};

// CAP_PASSIVE_MEANS_2D
// The mean soil state the resistance of method 0 uses: the mean over pile
// rows of PileSoilData.ground_line and of PileSoilData.first_node_reaction,
// as the base force evaluation left them.
void CAP_PASSIVE_MEANS_2D(double& ground_line, double& reaction);

// CAP_PASSIVE_BY_MEANS_2D
// Method 0 (RunOptions.cap_passive_option 1): the soil pressure on the cap
// face as a triangle from the ground line (mean g below the cap top when
// negative) to the mean first-node reaction p, cut to a trapezoid at the
// cap's thickness, acting against the sign of U2; the moment about the
// origin with the cap bottom at the last row's head depth. No resistance
// when g >= -1e-6, for a larger cap option or for a cap that does not move
// sideways (|U2| <= 1e-14; then L = 0, z = head depth).
//   in: u (3, only the sign of U2 is read), ground_line g, reaction p
//   out: passive
void CAP_PASSIVE_BY_MEANS_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive);

// CAP_PASSIVE_2D
// The resistance of the model's method at u: method 0 with the given means,
// method 1 from CAP_PASSIVE_FORCE_2D (0 when it fails, its code then in
// status), no resistance for any other method or without an embedded cap.
//   in: u (3), ground_line, reaction (the means of the base evaluation)
//   out: passive; in,out: status
void CAP_PASSIVE_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive, int& status);

// ------------------------------------------------------ cap solvers

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

// REPORT_REDUCTION_FACTORS
// The reduction factors for closely spaced piles of the run's last blend
// (ClosePileFactors first pair), one row per pile or pile row, on the
// results and summary reports under the heading of the way they were
// estimated, and on the computation report.
//   in: dimension  MODEL_2D or MODEL_3D (the 3D heading names both directions)
void REPORT_REDUCTION_FACTORS(int dimension);

// REPORT_CAP_SOLUTION_2D
// The reports of a finished 2D run: the bearing and pull-out warnings of
// the last force evaluation (with their texts from the axial-warning file),
// then one road: no convergence (result code only), flexibility level,
// pushover point, target search, or the full output (the reduction factors,
// TABLE L with the point tables of a point run, the cap envelope, the
// partial-load warning, the passive cap table, the final print pass of
// FVEC2D and ENVEWR2D). The roads are those of 3D (REPORT_CAP_ROADS).
//   Reads:  WarningCounters, AnalysisControl, RunOptions, UnitLabels,
//           CapGeometry, CapPassiveElement, DofRunMode, TargetDeflectionSearch
//   Writes: state.road, state.cap_load (the printed equivalent load),
//           state.point_displacement, PileErrorWord (3 after warnings),
//           CapEnvelope, AnalysisControl.first_run and pass_mode (0 on
//           return), TargetDeflectionSearch, the distributed loads and
//           movements (the converged fraction after a partial load), the
//           result stores
//   in,out: state, status  (a failed final pass skips the per-pile tables)
void REPORT_CAP_SOLUTION_2D(CapSolverState2D& state, int& status);

// REPORT_FAILED_LEVEL_2D / REPORT_FLEXIBILITY_LEVEL_2D
// The records of a flexibility level (REPORT_FAILED_LEVEL and
// REPORT_FLEXIBILITY_LEVEL below) for a 2D run: U of the state, P from the
// state's full load of the DOF and its converged fraction.
void REPORT_FAILED_LEVEL_2D(const CapSolverState2D& state, int& status);
void REPORT_FLEXIBILITY_LEVEL_2D(CapSolverState2D& state, int& status);

// REPORT_PUSHOVER_POINT_2D: REPORT_PUSHOVER_POINT_3D for a 2D run (the
// printed load of a point run is the pile-force resultant).
void REPORT_PUSHOVER_POINT_2D(CapSolverState2D& state, int& status);

// Test seam: called with the state of every 2D run that reaches its
// reports, just before them; nullptr (the default) calls nothing.
using CapSolutionHook2D = void (*)(const CapSolverState2D& state);
void set_cap_solution_hook_2d(CapSolutionHook2D hook);

// REPORT_FLEXIBILITY_LEVEL
// The records of a solved level of a DOF run of the flexibility estimation,
// for either cap solver (DOF AnalysisControl.current_point, level
// AnalysisControl.current_dof): on the DOF-run steps file (level, P, U) and
// (level, U / P), on the flexibility-columns file (level, U / P), with P the
// load carried, level_load x converged_fraction (U undivided when |P| is
// below FLEXIBILITY_LOAD_LIMIT); then the result code: completed, or the
// partial-load code with the percentage carried, the loads and movements
// along the piles then set to that fraction. A level without a converged
// step (fraction 0) is written as a failed level with the no-convergence code.
//   in:     ndof (3 or 6), u (ndof, displacement of the last converged step),
//           level_load (the level's value of the DOF), converged_fraction
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when a record is not written
//                   (nothing further is written then)
void REPORT_FLEXIBILITY_LEVEL(int ndof, const double* u, double level_load, double converged_fraction, int& status);

// REPORT_FAILED_LEVEL
// The records of a level whose first step never converged: (-level and
// ndof + 1 zeros) and (-level and ndof zeros) on the DOF-run steps file,
// (-level and the unit column of the DOF) on the flexibility-columns file.
// The caller writes the result code.
//   in,out: status  as REPORT_FLEXIBILITY_LEVEL
void REPORT_FAILED_LEVEL(int ndof, int& status);

// REPORT_FAILED_LEVEL_3D / REPORT_FLEXIBILITY_LEVEL_3D
// The two routines above for a 3D run: U of the state, P from the state's
// full load of the DOF and its converged fraction.
void REPORT_FAILED_LEVEL_3D(const CapSolverState3D& state, int& status);
void REPORT_FLEXIBILITY_LEVEL_3D(CapSolverState3D& state, int& status);

// REPORT_PUSHOVER_POINT_3D
// The road of a solved incremental (pushover) point: the load carried (the
// point's load times the converged fraction c; in a point run the negated
// pile forces of the last converged step) and U as the run's results; the
// result code (the partial-load code below the full load, the loads and
// movements along the piles then set to c); the final print pass; the
// point's cap results with the factor it carried (its multiplier times c)
// and its per-pile tables (ENVEWRP). A point without a converged step
// takes the no-convergence lines instead.
//   Writes: state.cap_load, result_load, result_displacement, the point
//           loads and displacement (point runs), AnalysisControl.pass_mode
//           (0 on return), the result stores, the reports
//   in,out: status  as the final pass or the writer leaves it (a failed
//                   pass prints nothing of the point)
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& state, int& status);

// REPORT_PUSHOVER_NOT_ACHIEVED
// The lines of a pushover point that found no solution: the point and its
// multiplier on the summary, then "** SOLUTION NOT ACHIEVED" and "** NO
// CONVERGENCE ON PILE CAP" on the summary and the results report.
void REPORT_PUSHOVER_NOT_ACHIEVED();

// REPORT_TARGET_SEARCH_3D / REPORT_TARGET_SEARCH_2D
// The road of a solved run of a stiffness-estimation factor point: the
// target DOF's displacement into TargetDeflectionSearch.computed and, by
// the search state, the error line on the run log; a search run outside
// the tolerance ends with RESULT_ESTIMATION_COMPLETED (nothing else). Else
// the tangent of the last converged step as the stiffness record of the
// equivalent-spring file, the print pass with pass mode 2 and the pile
// blocks of the file (springs_written := 1), then completed, or the
// partial-load code with the load carried (result load, loads and
// movements along the piles at the converged fraction). A run that
// computed no step: no-convergence code and state -1.
//   Reads:  AnalysisControl, RunConstants.tiny
//   Writes: TargetDeflectionSearch (computed, state, springs_written),
//           state.result_load after a partial run, EquivalentStiffness,
//           AnalysisControl.pass_mode (0 on return)
//   in,out: status  as the print pass leaves it (no pile blocks then)
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& state, int& status);
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& state, int& status);

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

// PILE_DIRECTION_P_MULTIPLIERS
// As UPDATE_DIRECTION_P_MULTIPLIERS, but every pile by the horizontal
// direction of its own head displacement (a cap that is not rigid moves its
// piles apart): pile i's first pair := the blend for head displacement i
// (the load's direction when it has no horizontal part, Y when neither has;
// methods 3 and 4 the given direction). Methods 1 and 3 recompute the
// directional sets for each pile's signs into storage of their own; the
// saved first pair is not changed. Calling thread, outside parallel loops.
//   Reads:  RunOptions (pmult_method, pmult_direction), the pile geometry,
//           PileTable.p_factor_saved, y_factor_saved, ClosePileFactors _2
//   Writes: ClosePileFactors.p_factor_1, y_factor_1 of piles 1..n_piles
//   in:     head_displacements (6 per pile, pile i at 6 (i - 1), cap order),
//           direction (6: the load)
void PILE_DIRECTION_P_MULTIPLIERS(const double* head_displacements, const double* direction);

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

// RUN_CAP_PLATE_MODEL
// A run of a model with a flexible cap (RunOptions.cap_model above 0), in
// place of the rigid cap. Export (cap_model 2): the plate model of the cap is
// written out (WRITE_CAP_PLATE_DATA) and the run is recorded as not
// analysed. Otherwise: two records on the plot-data file, the result headings
// on the results report and the summary, this run's plate data file, and the
// plate analysis on it with the piles' head responses evaluated in parallel
// over the piles; while it steps, the run log gets the rigid cap's heading
// and a line per load step (STEP, TCUR, DTCUR as fractions of the load) and
// the status file the solver's records (an iteration, a step ended, the
// stepping ended); the run's result code says how much of the load the plate
// carried; then the piles' results at the converged plate
// (WRITE_PLATE_CAP_PILE_RESULTS).
//   Reads:  RunOptions, AnalysisControl, PileTable, the cap and plate input
//   in:     run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION (status records)
//           cap_load  6 values at the cap origin (forces X, Y, Z, moments)
//   in,out: status    STATUS_PLATE_ERROR with the cause as the detail line,
//                     the status of a failing pile evaluation, or
//                     STATUS_STOPPED_BY_USER (no result code then)
void RUN_CAP_PLATE_MODEL(int run_kind, const double* cap_load, int& status);

struct PlatePileResponse;  // plate/plate.hpp

// PLATE_PILE_HEAD_RESPONSES
// The head reaction (and, when with_stiffness is 1, the head tangent) of
// every pile the plate holds at its head_displacement, in the parallel pile
// loop (RUN_PILE_LOOP); each pile writes only its own entry, the status words
// are merged and the evaluations published in pile order, so the results do
// not depend on the thread count. In a print pass (pass_mode 1) the
// evaluations fill the piles' result stores.
//   Writes: head_forces (and head_stiffness) of every entry of piles
//   in,out: piles   pile k at index k - 1
//   in,out: status  the first failing pile's status in pile order
void PLATE_PILE_HEAD_RESPONSES(std::vector<PlatePileResponse>& piles, int with_stiffness, int& status);

// WRITE_PLATE_CAP_PILE_RESULTS
// After a plate-cap run with at least one converged step: a line naming the
// plate's listing on the results report and the summary, then a final
// print pass of every pile at the head displacement of the converged plate
// (PlatePileCoupling) and the run's per-pile results by ENVEWR, as after a
// rigid-cap run (the reduction factors of close spacing first, when the
// model has them; TABLE M headings by the print option; the envelope run
// counter advanced). Nothing when no step converged.
//   Reads:  PlateControl.STEP, PlatePileCoupling, PlateFileNames.listing_file,
//           AnalysisControl (output_option), DofRunMode
//   Writes: the result stores, the scratch file and the reports ENVEWR writes,
//           AnalysisControl.first_run; pass_mode back to 0
//   in,out: status  a pile evaluation's status or ENVEWR's
void WRITE_PLATE_CAP_PILE_RESULTS(int& status);

// Methods of the embedded cap's passive resistance (CapPassiveElement.method).
constexpr int PASSIVE_BY_MEANS = 0;
constexpr int PASSIVE_BY_ELEMENT = 1;

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
