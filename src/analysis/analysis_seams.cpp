// Routines the run loop and the cap solvers call that are not built yet: the
// plate model and the result road of the target-displacement search. A
// model or case that would reach them is refused before its runs.

#include "analysis/analysis.hpp"

namespace pilecap {

// The plate model of the cap computes nothing yet; the 3D solver reports a
// model that selects it as not supported before it gets here.
void RUN_CAP_PLATE_MODEL(double* /*cap_load*/) {}

// The records of the target-displacement search are not built yet; no run
// takes this road until the points of that analysis exist.
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& /*state*/, int& /*status*/) {}

}  // namespace pilecap
