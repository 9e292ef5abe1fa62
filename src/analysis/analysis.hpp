// Analysis sequencing and pile-cap equilibrium: the loop over load cases and
// combinations and the control values of the run being solved.
#pragma once

namespace pilecap {

// The control values of the run now being solved.
struct AnalysisControlRecord {
  int threads_wanted = 0;      // threads the case asks for; 0 = automatic
  int threads_available = 1;   // largest thread count of the parallel runtime
  int threads_used_max = 1;    // largest thread count set in this run
  int pass_mode = 0;           // 0 analysis; 1 final print pass; 2 stiffness-estimation print pass
  int loading_kind = 1;        // 1 static; 0 (and every other value) cyclic, as each p-y criterion says
  double cycles = 0.0;         // load cycles of the cyclic criteria
  int analysis_kind = 0;       // 0 plain analysis; above 0 stiffness estimation or incremental points
  int pushover_active = 0;     // above 0 while an incremental (pushover) point runs
  int axial_variation = 0;     // 1: the axial load varies along the piles
  int ei_previous = 0;         // 1: bending stiffness from the previous solve's deflections, before each solve
  int llp_max_iterations = 0;  // solves of one lateral pile solution
  double llp_tolerance = 0.0;  // closure of the deflections between two solves, length
};
extern AnalysisControlRecord AnalysisControl;

// Lateral pile failures of a force evaluation.
constexpr int PILE_ERR_NONE = 0;
constexpr int PILE_ERR_NO_CLOSURE = 1;
constexpr int PILE_ERR_PY_TOO_SHORT = 5;

// The pile-level failure code of the last evaluation (0 none).
struct PileErrorWordRecord {
  int code = PILE_ERR_NONE;
};
extern PileErrorWordRecord PileErrorWord;

// RUN_CASES_AND_COMBINATIONS
// Runs every load case and then every load combination.
//   in:     print_request  the p-y print option as read
//   in,out: status
void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status);

}  // namespace pilecap
