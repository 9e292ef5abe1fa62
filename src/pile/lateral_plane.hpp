// The steps the laterally loaded pile shares between its 3D form (two bending
// planes) and its 2D form (one plane): one solve of a bending plane as a
// pentadiagonal finite-difference system, the set-up of the work rows, the
// soil moduli through the p-y springs, the closure test and the results of a
// closed plane. Work vectors hold node j at row j + 3: head row 4, tip row
// n + 4, fictitious rows 3, n + 5 and n + 6, row n + 7 held at 0.
#pragma once

#include <optional>

#include "pile/pile.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

// One bending plane of a solve: its deflections, rigidities, loads and head
// condition. A fixed head has slope dy/dx = -rotation; a spring head obeys
// EI y'' = k (y' + rotation) at the head row.
struct LateralPlane {
  PileRowVector& deflection;
  PileRowVector& previous;
  PileRowVector& ei;
  PileRowVector& load;
  int connection;  // CONN_PIN, CONN_FIX, any other code a rotational spring
  double spring;
  double head_deflection;
  double rotation;
};

// LateralSolveStart
// The start of every lateral solve of a pile, in either form: the pile's
// property set, increments and increment length, the work rows cleared, the
// scope in which its springs keep their depth-only node values (none for a
// pile on its own user curves, which has no springs to keep) and the soil
// movements and distributed loads at the nodes (LATERAL_MOVEMENTS_AND_LOADS,
// the z plane only when both_planes). Lives for the whole solve.
struct LateralSolveStart {
  LateralSolveStart(int pile, bool both_planes, LateralPileWork& w);
  int set;             // the pile's property set
  int n;               // increments; nodes 1..n + 1
  double h;            // increment length
  bool soil_movement;  // the pile has soil movement
  std::optional<PyPileSolve> solve_scope;
};

// CLEAR_LATERAL_WORK: rows 1..last_row of every work vector and flag := 0.
void CLEAR_LATERAL_WORK(LateralPileWork& w, int last_row);

// USES_OWN_PY_CURVES: the pile takes its soil springs from its own user p-y
// curves (RunOptions.user_py_curves 1 and PileTable.py_set above 0).
bool USES_OWN_PY_CURVES(int pile);

// LATERAL_MOVEMENTS_AND_LOADS
// Soil movements at the nodes (the run's profile, replaced by the pile's own
// movement stations) and distributed loads, into soil_move_y/_z,
// dist_load_y/_z and load_y/_z; the z plane only when both_planes is set.
//   returns true when the pile has soil movement
bool LATERAL_MOVEMENTS_AND_LOADS(int pile, int n, bool both_planes, LateralPileWork& w);

// INITIAL_SUBGRADE_MODULUS
// Starting moduli, rows 4..n + 4: 0 above the top of the first layer, else
// the subgrade modulus times the depth below the pile's ground line.
void INITIAL_SUBGRADE_MODULUS(int pile, int n, LateralPileWork& w);

// LATERAL_AXIAL_FORCE_ROWS
// The axial force of rows 3..n + 6: N everywhere, or, with the axial load
// variation on a generated load-settlement curve, the profile's rows with the
// head row above the head and the tip row below the tip.
void LATERAL_AXIAL_FORCE_ROWS(int pile, int n, double axial_force, const PileRowVector& axial_load, LateralPileWork& w);

// LATERAL_SOIL_MODULI
// New secant moduli (soil_modulus) and reactions (soil_reaction) at the given
// deflections (rows), from the pile's own user curves or the p-y springs.
//   returns false when the springs set the status word
bool LATERAL_SOIL_MODULI(int pile, PileRowVector& deflection, LateralPileWork& w, int& status);

// SOLVE_LATERAL_PLANE
// One solve of one plane with the common soil_modulus and axial_force: the
// previous deflections kept, the forward recursion, the two tip conditions
// (zero moment, zero shear with the axial-force term; a zero determinant
// gives zero fictitious tip rows) and back substitution. A zero pivot makes
// its row's coefficients 0.
void SOLVE_LATERAL_PLANE(const LateralPlane& plane, int n, double h, LateralPileWork& w);

// SOLVE_LATERAL_PLANES
// One solve of both planes of the 3D pile, their forward recursions in one
// loop (the z plane's coefficients in coef_a_z, coef_b_z, coef_c_z): the
// same operations as SOLVE_LATERAL_PLANE for each plane, so the same bits.
void SOLVE_LATERAL_PLANES(const LateralPlane& plane_y, const LateralPlane& plane_z, int n, double h,
                          LateralPileWork& w);

// LATERAL_DEFLECTIONS_CLOSED
// True when no node of rows 4..n + 4 moved by the closure tolerance
// (AnalysisControl.llp_tolerance) in either plane since the last solve.
bool LATERAL_DEFLECTIONS_CLOSED(int n, const LateralPileWork& w);

// LATERAL_SPRING_DEFLECTIONS
// The deflections the soil springs read at the deflections y (and z of the
// second plane, when given), rows 4..n + 4, into resultant_deflection. The springs take a node's displacement against
// the soil as the distance of the deflection they are given from the magnitude of the soil movement; so a node gets its
// deflection (in 3D the resultant of both planes) wherever that distance is its displacement against the soil, and
// otherwise (a pile deflecting against the movement, soil moving towards -y) the deflection at which it is: the
// magnitude of the movement plus or minus the node's true displacement against the soil, on the side the pile lies.
void LATERAL_SPRING_DEFLECTIONS(int n, const PileRowVector& y, const PileRowVector* z, bool soil_movement,
                                LateralPileWork& w);

// LateralIterationGuard
// The state of the safeguard of the secant iteration: the smallest change
// of a solve over its input deflections so far, the iterations since it
// fell, and whether the safeguarded iteration has taken over (and has a
// previous solve to take a secant step from).
struct LateralIterationGuard {
  bool active = false;
  bool secant_ready = false;
  double best_change = 0.0;
  int since_best = -1;  // -1: no change seen yet
};

// LATERAL_GUARDED_DEFLECTIONS
// After a solve that did not close: the deflections of the next spring
// update. While the plain secant iteration makes progress (the largest
// change of a solve over its input deflections reaches a new low within a
// few iterations) they stay those of the solve, as the plain iteration has
// them. Once it stops making progress (a cycle, or changes that stall) the
// safeguarded iteration takes over for the rest of the solution: the next
// input is a secant step on the deflections, the solve less the share of
// its change from the previous solve that brings the change of the
// solves over their inputs to its least along that direction, bounded so
// that it neither extrapolates far nor stands still; or, without a usable
// previous solve, half the way from the input to the solve. Closure is
// still the plain test, the solve against its input, so a closed solution
// is a fixed point of the secant iteration to the pile tolerance. The
// solvers call it for piles in moving soil, where the secant moduli of the
// curves that rise steeply from the origin grow without bound as the pile
// comes to move with its soil and the plain iteration cycles about that
// state. A pile without soil movement that does not close marks a cap
// iterate far from the solution, from which the cap's step halving
// recovers; it is left to that as it was.
void LATERAL_GUARDED_DEFLECTIONS(LateralIterationGuard& guard, int iteration, int n, bool both_planes,
                                 LateralPileWork& w);

// LATERAL_PLANE_RESULTS
// Slopes and moments (rows 4..n + 5, M = -EI y''), shears and soil
// reactions (rows 4..n + 4) of one plane of a closed solution.
//   returns the head force: the trapezoidal integral of (reaction - load) h
double LATERAL_PLANE_RESULTS(const PileRowVector& y, const PileRowVector& ei, const PileRowVector& load, int n,
                             double h, const LateralPileWork& w, PileRowVector& slope, PileRowVector& moment,
                             PileRowVector& shear, PileRowVector& reaction);

// REPORT_LATERAL_NO_CLOSURE
// The no-closure warning of a pile, held with the pile's evaluation when
// one is current on this thread (so a loop reports it in pile order).
void REPORT_LATERAL_NO_CLOSURE(int pile);

// LATERAL_SOIL_REACTION_PROVIDER: the springs installed by
// SET_SOIL_REACTION_PROVIDER (SOIL_REACTION_AT_NODES by default).
SoilReactionProvider LATERAL_SOIL_REACTION_PROVIDER();

// The view of a row vector that puts node j at pointer[j] (row j + 3), as
// the p-y springs address their node arrays.
inline double* BY_NODE(PileRowVector& rows) { return rows.data() + (NODE_ROW_OFFSET - 1); }

}  // namespace pilecap
