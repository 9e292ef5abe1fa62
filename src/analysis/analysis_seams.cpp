// Routines the run loop calls that are not built yet: the cap solvers and
// the points of stiffness estimation and incremental analysis with their
// result roads. A case with estimation or pushover points is reported as not
// analysed.

#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

//      NOTE: STIFFNESS ESTIMATION AND PUSHOVER POINTS ARE NOT ANALYZED
constexpr const char* POINTS_NOT_ANALYSED_LAYOUT =
    "(5X,\"NOTE: STIFFNESS ESTIMATION AND PUSHOVER POINTS ARE NOT ANALYZED\")";

}  // namespace

// The plate model of the cap computes nothing yet; the 3D solver reports a
// model that selects it as not supported before it gets here.
void RUN_CAP_PLATE_MODEL(double* /*cap_load*/) {}

// The records of the flexibility estimation, the incremental (pushover)
// points and the target-displacement search are not built yet; no run
// takes these roads until the points of those analyses exist.
void REPORT_FAILED_LEVEL_3D(const CapSolverState3D& /*state*/) {}
void REPORT_FLEXIBILITY_LEVEL_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& /*state*/, int& /*status*/) {}

void SOLVE_CAP_2D(int /*run_kind*/, int& /*print_flags*/, int& /*status*/, double* /*equivalent_load*/,
                  double* /*cap_displacement*/, double* /*cap_load*/, const double* /*point_loads*/,
                  double* /*point_displacements*/, const double* /*point*/, const int* /*dof_flags*/) {}

void RUN_ESTIMATION_POINTS(int /*c*/, int& /*status*/) {
  fio::write(UNIT_RUN_LOG, POINTS_NOT_ANALYSED_LAYOUT);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
