// The control values of the run being solved, the cap envelope and the
// pile error word: the analysis state that the single-pile, soil and
// transfer code read. Cap vectors are 6 doubles in the order FX, FY, FZ, MX,
// MY, MZ (loads) or UX, UY, UZ, RX, RY, RZ (displacements) at the cap origin.
#pragma once

#include "base/arrays.hpp"
#include "model/input_records.hpp"

namespace pilecap {

// ------------------------------------------------------------ constants

constexpr int CAP_DOFS = 6;
constexpr int CAP_DOFS_2D = 3;
constexpr int CAP_TRANSLATION_DOFS = 3;  // UX, UY, UZ: the first three DOFs of the cap in space

// CAP_DOFS_OF_MODEL
// The cap's degrees of freedom in a model of the given dimension: X, Y and
// the rotation about Z in the plane, all six in space.
constexpr int CAP_DOFS_OF_MODEL(int dimension) { return PLANE_MODEL(dimension) ? CAP_DOFS_2D : CAP_DOFS; }

// CAP_ROTATION_DOF
// Whether DOF dof (1-based) of a cap with ndof DOFs (CAP_DOFS_2D in the
// plane, CAP_DOFS in space) is a rotation, whose load is a moment: the third
// in the plane (about Z), the fourth to sixth in space.
constexpr bool CAP_ROTATION_DOF(int dof, int ndof) {
  return ndof == CAP_DOFS_2D ? dof == CAP_DOFS_2D : dof > CAP_TRANSLATION_DOFS;
}

// The kinds of model a run analyses: rows of piles under a rigid cap in the
// plane, piles under a rigid cap in space, and piles under a flexible cap,
// the plate model, in space. A plane model never has the plate, whatever
// RunOptions.cap_model holds.
enum class CapModelKind { PLANE_RIGID, SPACE_RIGID, SPACE_PLATE };

// CAP_MODEL_KIND
// The kind of model RunOptions select (dimension, cap_model above 0 for the
// plate). The one place that tells the kinds apart; the case driver asks it
// once per run and takes the model's road from it.
inline CapModelKind CAP_MODEL_KIND() {
  if (PLANE_MODEL(RunOptions.dimension)) return CapModelKind::PLANE_RIGID;
  return RunOptions.cap_model > CAP_MODEL_RIGID ? CapModelKind::SPACE_PLATE : CapModelKind::SPACE_RIGID;
}

// STIFFNESS_TARGET_SLOT
// Which of the six target displacements of a stiffness estimation's
// settings (1 to 6, one per DOF) holds the target of the given DOF: its own,
// except that in the plane DOF 3 and DOF 6 both name the rotation, whose
// target is the sixth. 0 for a DOF outside 1 to 6.
constexpr int STIFFNESS_TARGET_SLOT(int dimension, int dof) {
  if (dof < 1 || dof > CAP_DOFS) return 0;
  return dimension == MODEL_2D && dof == CAP_DOFS_2D ? CAP_DOFS : dof;
}
constexpr int MAX_POINT_VALUES = 25;  // values of a case's point list
constexpr int CASE_COMPONENT_FLAGS = 8;

// Kinds of a load case (AnalysisControl.analysis_kind).
constexpr int ANALYSIS_KIND_PLAIN = 0;
constexpr int ANALYSIS_KIND_CAP_FLEXIBILITY = 1;  // 1 to 10
constexpr int ANALYSIS_KIND_CAP_STIFFNESS = 11;   // 11 and above

// Run kinds handed to the cap solvers.
constexpr int RUN_KIND_CASE = 0;
constexpr int RUN_KIND_COMBINATION = 1;

// Largest order INVERT_MATRIX accepts (its work arrays).
constexpr int MAX_INVERT_ORDER = 50;

// ------------------------------------------------------------ records

// The control values of the run now being solved.
struct AnalysisControlRecord {
  int threads_wanted = 0;     // threads the case asks for; 0 = automatic
  int threads_available = 1;  // largest thread count of the parallel runtime
  int threads_host_set = 0;   // 1: the host chose threads_available (HOST_CHOSE_THREAD_COUNT)
  int threads_used_max = 1;   // largest thread count set in this run
  int threads_free = 0;       // cap on the run's thread counts (RUN_THREAD_CAP); 0 = none
  int pass_mode = 0;          // 0 analysis, 1 final print pass, 2 stiffness-estimation print pass

  // ---- run loop: copied from the case or combination before each run ----
  int current_run = 0;          // case (case loop) or combination (combination loop), 1-based
  int current_combination = 0;  // combination number; 0 in the case loop
  int loading_kind = 1;         // 1 static, otherwise cyclic
  double cycles = 0.0;
  int output_option = 0;  // print detail of the per-pile tables
  int output_count = 0;   // node step of the printed tables
  int max_iterations = 0;
  int llp_max_iterations = 0;
  double tolerance = 0.0;
  double llp_tolerance = 0.0;
  double initial_step = 0.0;
  double min_step = 0.0;
  int use_max_limits = 0;
  double max_dsp_limit = 0.0;
  double max_rot_limit = 0.0;
  int axial_variation = 0;
  int ei_previous = 0;
  Array1<double, 2> load_scale{{1.0, 1.0}};
  int analysis_kind = ANALYSIS_KIND_PLAIN;
  int point_value_count = 0;
  int pushover_flag = 0;
  int pushover_points = 0;
  Array1<double, MAX_POINT_VALUES> point_factors{};
  Array1<double, MAX_POINT_VALUES> point_multipliers{};
  Array1<int, CASE_COMPONENT_FLAGS> unscaled_components{};
  int point_count = 1;
  int current_point = 1;
  int current_dof = 1;
  int pushover_active = 0;
  int first_run = 0;  // envelope run counter: 1 = the next normal run starts the envelope
  // ---- end of the run-loop block ----
};
extern AnalysisControlRecord AnalysisControl;

// WARNINGS_TO_RESULTS_REPORT
// Whether the warnings of the run now solved (a lateral pile solution that
// does not close, the cap load steps given up or at their limit, piles that
// may fail in bearing, pull out or torsion) go to the results report as
// well as to the run log: for every run of a plain case, its pushover points
// included, as their warnings belong to the case whose results the report
// holds; not for the runs of a flexibility or stiffness estimation, whose
// results report holds only their tables.
//   Reads: AnalysisControl.analysis_kind
bool WARNINGS_TO_RESULTS_REPORT();

// The smallest and largest equivalent load and cap displacement at the
// origin over the runs of one pass (all cases, or all combinations).
struct CapEnvelopeRecord {
  Array1<double, CAP_DOFS> max_load{}, max_displacement{}, min_load{}, min_displacement{};
};
extern CapEnvelopeRecord CapEnvelope;

// The passive resistance of an embedded cap by the means of the piles, as
// the last CAP_PASSIVE_RESULTANT left it. The p-y curves of piles with their
// own user curves read the cap's horizontal movement here, and nowhere else.
struct CapPassiveStateRecord {
  double mean_ground_line = 0.0;          // mean over the piles of the ground line below the head
  double mean_first_node_reaction = 0.0;  // mean soil reaction at the heads, with the cap width
  double horizontal_movement = 0.0;       // sqrt(uY^2 + uZ^2) of the cap at the origin
};
extern CapPassiveStateRecord CapPassiveState;

// Pile-level failure codes of a force evaluation.
constexpr int PILE_ERR_NONE = 0;
constexpr int PILE_ERR_NO_CLOSURE = 1;
constexpr int PILE_ERR_SINGULAR = 2;        // set by the cap solvers: singular tangent
constexpr int PILE_ERR_AXIAL_WARNINGS = 3;  // set by the cap solvers after their steps
constexpr int PILE_ERR_AXIAL_VARIATION = 4;
constexpr int PILE_ERR_PY_TOO_SHORT = 5;

// The pile-level failure code of the last evaluation (0 none). Inside a
// parallel loop each pile reports into its own PileEvaluation; the calling
// thread merges them into code after the loop (PUBLISH_PILE_EVALUATIONS).
struct PileErrorWordRecord {
  int code = PILE_ERR_NONE;
};
extern PileErrorWordRecord PileErrorWord;

}  // namespace pilecap
