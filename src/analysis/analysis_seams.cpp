// The case and combination loop: runs nothing yet.
#include "analysis/analysis.hpp"

namespace pilecap {

AnalysisControlRecord AnalysisControl;
PileErrorWordRecord PileErrorWord;

void RUN_CASES_AND_COMBINATIONS(int& /*print_request*/, int& /*status*/) {}

}  // namespace pilecap
