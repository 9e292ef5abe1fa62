// The pile-head response of the 3D model: the forces one pile exerts at its
// head for a given head displacement, both in global axes, and the axial and
// torsional head forces read from the pile's load-settlement and
// torque-rotation curves. Vectors are 6 doubles (uX, uY, uZ, rX, rY, rZ) and
// (FX, FY, FZ, MX, MY, MZ), X vertical, element 1 at index 0. The axial load
// profile along a pile is indexed like every node table of a pile: node j at
// row j + 3, the head at row 4.
#pragma once

#include <vector>

#include "model/analysis_control.hpp"
#include "pile/pile.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

// The pile error word values: PILE_ERR_NO_CLOSURE (1) and
// PILE_ERR_PY_TOO_SHORT (5) of the lateral solutions (analysis_control.hpp) and
// PILE_ERR_AXIAL_VARIATION (4) of the axial load variation
// (transfer_model.hpp), which the cap solvers do not count as a failed
// force evaluation.

// The bearing, pull-out and torsion warnings of the last base evaluation
// (the group force vector at the current cap displacement). The cap solvers
// reset the counters and set base_evaluation on the calling thread; inside a
// parallel loop over piles it is only read, and the counters grow only when
// the loop's evaluations are published (PUBLISH_PILE_EVALUATIONS).
struct WarningCountersRecord {
  int bearing = 0;
  int pull_out = 0;
  int torsion = 0;
  int base_evaluation = 0;  // 1: head-force warnings are recorded and counted
};
extern WarningCountersRecord WarningCounters;

// CLEAR_WARNING_COUNTERS: every counter and base_evaluation to 0, as a cap
// run starts and before each base evaluation.
inline void CLEAR_WARNING_COUNTERS() { WarningCounters = WarningCountersRecord{}; }

// The axial movement and load along one evaluated pile, node j at row j + 3;
// all zero unless the axial load variation filled them.
struct PileAxialProfile {
  PileRowVector movement{}, load{};
};

// Everything one pile-head evaluation needs besides the model tables. About
// 250 KB: a caller in a parallel loop makes one per thread at the start of
// the region and hands it to every pile that thread evaluates.
struct PileHeadWork {
  LateralPileWork lateral;
  PileTransferWork transfer;
  PileAxialProfile profile;
};

// Kinds of a warning recorded during an evaluation.
constexpr int PILE_WARNING_BEARING = 1;       // axial movement beyond the last curve point
constexpr int PILE_WARNING_PULL_OUT = 2;      // axial movement before the first curve point
constexpr int PILE_WARNING_TORSION = 3;       // twist outside the torque-rotation curve
constexpr int PILE_WARNING_NO_CLOSURE = 4;    // lateral solution did not close
constexpr int PILE_WARNING_PY_TOO_SHORT = 5;  // user p-y curves end above a node
// The fatal message of a node layout below the deepest layer (result: the
// pile length), held like a warning so that the messages of several failing
// piles come out in pile order.
constexpr int PILE_WARNING_BELOW_DEEPEST_LAYER = 6;

// One warning held back until the evaluations of a loop are published.
struct PileWarning {
  int kind = 0;
  int pile = 0;
  const char* text = "";  // the case text of a curve warning
  double movement = 0.0, curve_movement = 0.0, result = 0.0;
  int iteration_limit = 0;  // no-closure warning: the limit it reports
  bool to_results = false;  // no-closure warning: also on the results report
};

// The outcome of evaluating one pile: its own error word, its warning counts
// and the warning lines it produced, in the order it produced them.
struct PileEvaluation {
  int error = PILE_ERR_NONE;
  int bearing = 0, pull_out = 0, torsion = 0;
  std::vector<PileWarning> warnings;
};

// The axial-warning lines: an empty line, the case text and the pile, then
// the movement, the curve point passed and the force returned.
//   "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    3"
//   "                    AX. DISP.=  0.1500E+01 >   0.1000E+01     AX. FORCE=  0.0000E+00"
constexpr const char* AXIAL_WARNING_LAYOUT =
    "(/,5X,\"** WARNING **  \",A,2X,\"PILE GROUP\",I5,/,20X,\"AX. DISP.=\",E12.4,\" > \",E12.4,5X,\"AX. FORCE=\","
    "E12.4)";
constexpr const char* TORSION_WARNING_LAYOUT =
    "(/,5X,\"** WARNING **  \",A,2X,\"PILE GROUP\",I5,/,20X,\"ROTATION =\",E12.4,\" > \",E12.4,5X,\"T. MOMENT=\","
    "E12.4)";

// Makes an evaluation the current one of this thread for a scope, so that
// RAISE_PILE_ERROR and RECORD_PILE_WARNING deep inside an evaluation (or in
// a stand-in head response of a test) report into it. Scopes nest.
class PileEvaluationScope {
 public:
  explicit PileEvaluationScope(PileEvaluation& evaluation);
  ~PileEvaluationScope();
  PileEvaluationScope(const PileEvaluationScope&) = delete;
  PileEvaluationScope& operator=(const PileEvaluationScope&) = delete;

 private:
  PileEvaluation* previous_;
};

// ------------------------------------------------------------ routines

// CLEAR_PILE_EVALUATION
// Empties an evaluation for reuse, keeping the room its warning list has.
void CLEAR_PILE_EVALUATION(PileEvaluation& evaluation);

// MERGE_PILE_ERROR_WORDS
// The error word that stands when a later evaluation reports incoming after
// current: a lateral failure (1) or short p-y curves (5) outrank every other
// code, any other non-zero code outranks 0, and between codes of equal rank
// the earlier one stays, so merging in pile order keeps the lowest pile's.
int MERGE_PILE_ERROR_WORDS(int current, int incoming);

// RAISE_PILE_ERROR
// Reports a pile error code from inside an evaluation: into the evaluation
// that PILE_HEAD_RESPONSE has made current on this thread, merged; with
// none current (a routine called on its own, outside any loop), into the
// shared PileErrorWord, merged.
void RAISE_PILE_ERROR(int code);

// HOLD_PILE_WARNING
// Appends a warning to an evaluation and counts it there.
void HOLD_PILE_WARNING(PileEvaluation& evaluation, const PileWarning& warning);

// RECORD_PILE_WARNING
// Holds a warning in the current evaluation of this thread; with none
// current it is written at once (as PUBLISH_PILE_EVALUATIONS writes it) and
// counted in WarningCounters.
void RECORD_PILE_WARNING(const PileWarning& warning);

// PUBLISH_PILE_EVALUATIONS
// After a loop over piles, on the calling thread: merges the error words of
// the evaluations in array order into PileErrorWord.code, adds their
// counts to WarningCounters, and writes their warnings in the same order:
// curve warnings on UNIT_AXIAL_WARNINGS (when connected), no-closure
// warnings on the results report (unless the run estimates stiffness or is
// a pushover) and the run log, short p-y curves on the results report and
// the run log. Callers keep one evaluation per pile in pile order, so
// reports do not depend on the thread count.
void PUBLISH_PILE_EVALUATIONS(const PileEvaluation* evaluations, int count);

// AXIAL_HEAD_FORCE / AXIAL_HEAD_FORCE_2D
// The axial head force for the axial movement d[0] (positive into the
// ground) from the pile's load-settlement curve (user curve ls_curve >= 1,
// else generated curve -ls_curve), linear between points; beyond the ends
// the end force when RunOptions.extend_curve_interpolation is 1, else 0,
// with a bearing or pull-out warning during a base evaluation. With
// AnalysisControl.axial_variation 1 and a generated curve, the movement and
// load along the pile come from the load-transfer model and the force is
// the head load of that profile. The two forms differ only in the texts of
// three warnings. PileTable.axial_factor is applied to profile.load only.
//   in:     pile (1-based), d (6 values, pile axes; only d[0] is read)
//   out:    force, profile (all rows zeroed first)
//   in,out: status  codes of the axial variation's soil queries and tip;
//                   the force then stays that of the curve
//           evaluation  counts, warnings, error word 4 of the variation
//   work:   transfer (used only by the axial variation)
void AXIAL_HEAD_FORCE(int pile, double& force, const double* d, PileAxialProfile& profile, int& status,
                      PileEvaluation& evaluation, PileTransferWork& transfer);
void AXIAL_HEAD_FORCE_2D(int pile, double& force, const double* d, PileAxialProfile& profile, int& status,
                         PileEvaluation& evaluation, PileTransferWork& transfer);

// TORSION_HEAD_MOMENT
// The head torque for the twist d[3] from the pile's torque-rotation curve,
// with the same rules at and beyond the ends (torsion warnings).
void TORSION_HEAD_MOMENT(int pile, double& torque, const double* d, PileEvaluation& evaluation);

// Tangent mode of the curve stiffness routines, the only one.
constexpr int CURVE_TANGENT_MODE = 1;

// AXIAL_CURVE_STIFFNESS / TORSION_CURVE_STIFFNESS
// The initial slope of the pile's load-settlement (torque-rotation) curve:
// of the segment that ends at the first point with a movement >= 0 (the
// last segment when there is none). 0 for a curve of fewer than 2 points or
// a segment of zero length.
void AXIAL_CURVE_STIFFNESS(int pile, int mode, double& k);
void TORSION_CURVE_STIFFNESS(int pile, int mode, double& k);

// AXIAL_CURVE_REACH
// The larger movement, either way, of the two ends of the pile's
// load-settlement curve: how far the curve says anything of the pile. 0 for
// a pile without a curve.
double AXIAL_CURVE_REACH(int pile);

// PILE_HEAD_RESPONSE
// The reaction a pile exerts at its head for a head displacement: axial force
// from the load-settlement curve, torque from the torque-rotation curve
// (discarded for a pinned head), lateral shears and moments from the
// laterally loaded pile solution; carrying displacements and forces between
// the cap origin and the head is the caller's.
//   in:     pile    1-based entry of PileTable
//   out:    forces  6 values, global axes, times PileTable.n_identical;
//                   zero when a step reports a status code
//   in:     u       head displacement, global axes (not changed)
//   in,out: status  the status word of this evaluation
//           evaluation  this pile's error word, counts and warnings, added
//                   to (clear it before the evaluation it is to describe);
//                   nothing shared is written
//   work:   one PileHeadWork per thread
// Parallel loops: one PileEvaluation per pile, one PileHeadWork per thread,
// then PUBLISH_PILE_EVALUATIONS after the loop.
void PILE_HEAD_RESPONSE(int pile, double* forces, const double* u, int& status, PileEvaluation& evaluation,
                        PileHeadWork& work);

// The same for a single call outside any parallel loop: it makes its own
// work area and evaluation and publishes the evaluation at once.
void PILE_HEAD_RESPONSE(int pile, double* forces, const double* u, int& status);

}  // namespace pilecap
