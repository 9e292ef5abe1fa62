// The group's force vector and tangent: the head reactions of all piles at
// a cap displacement, carried to the cap origin and summed in pile order, and
// their derivatives by central differences, in space and in the plane (pile
// rows); the reduction factors that follow the direction of movement. Cap
// vectors are 6 doubles in the order FX, FY, FZ, MX, MY, MZ (loads) or UX,
// UY, UZ, RX, RY, RZ (displacements) at the cap origin, X vertical; a plane
// model uses 3 (X, Y, rotation Z). Matrices are column-major.
#pragma once

#include "model/analysis_control.hpp"

namespace pilecap {

struct PileEvaluation;
struct PileHeadWork;

// --------------------------------- group force vector and stiffness (3D)

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

// ----------------------------------------------- group force vector (2D)

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

// ----------------------------------- reduction factors by direction (3D)

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

}  // namespace pilecap
