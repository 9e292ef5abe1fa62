// Routines the run loop and the cap solvers call that are not built yet: the
// plate model. A model that would reach it is refused before its runs.

#include "analysis/analysis.hpp"

namespace pilecap {

// The plate model of the cap computes nothing yet; the 3D solver reports a
// model that selects it as not supported before it gets here.
void RUN_CAP_PLATE_MODEL(double* /*cap_load*/) {}

}  // namespace pilecap
