// The analysis state records.
#include "model/analysis_control.hpp"

namespace pilecap {

AnalysisControlRecord AnalysisControl;
CapEnvelopeRecord CapEnvelope;
PileErrorWordRecord PileErrorWord;
CapPassiveStateRecord CapPassiveState;

}  // namespace pilecap
