// The analysis state records.
#include "model/analysis_control.hpp"

namespace pilecap {

AnalysisControlRecord AnalysisControl;
CapEnvelopeRecord CapEnvelope;
PileErrorWordRecord PileErrorWord;
CapPassiveStateRecord CapPassiveState;

bool WARNINGS_TO_RESULTS_REPORT() { return AnalysisControl.analysis_kind <= ANALYSIS_KIND_PLAIN; }

}  // namespace pilecap
