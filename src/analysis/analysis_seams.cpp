// Routines the run loop and the cap solvers call that are not built yet: the
// result road of the target-displacement search. A case that would reach it
// is refused before its runs.

#include "analysis/analysis.hpp"

namespace pilecap {

// The records of the target-displacement search are not built yet; no run
// takes this road until the points of that analysis exist.
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& /*state*/, int& /*status*/) {}

}  // namespace pilecap
