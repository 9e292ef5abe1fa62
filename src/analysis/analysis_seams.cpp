// Routines the run loop and the cap solvers call that are not built yet: the
// result roads of the incremental (pushover) points and the
// target-displacement search. A case that would reach them is refused before
// its runs.

#include "analysis/analysis.hpp"

namespace pilecap {

// The records of the incremental (pushover) points and the
// target-displacement search are not built yet; no run takes these roads
// until the points of those analyses exist.
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_PUSHOVER_POINT_2D(CapSolverState2D& /*state*/, int& /*status*/) {}
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& /*state*/, int& /*status*/) {}

}  // namespace pilecap
