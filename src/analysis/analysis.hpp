// Analysis sequencing and pile-cap equilibrium: the loop over load cases and
// combinations and the control values of the run being solved.
#pragma once

namespace pilecap {

// The control values of the run now being solved.
struct AnalysisControlRecord {
  int threads_wanted = 0;     // threads the case asks for; 0 = automatic
  int threads_available = 1;  // largest thread count of the parallel runtime
  int threads_used_max = 1;   // largest thread count set in this run
  int pass_mode = 0;          // 0 analysis; other values are print passes
  int loading_kind = 1;       // 1 static; 0 (and every other value) cyclic, as each p-y criterion says
  double cycles = 0.0;        // load cycles of the cyclic criteria
};
extern AnalysisControlRecord AnalysisControl;

// RUN_CASES_AND_COMBINATIONS
// Runs every load case and then every load combination.
//   in:     print_request  the p-y print option as read
//   in,out: status
void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status);

}  // namespace pilecap
