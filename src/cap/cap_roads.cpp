// The choice of the result road of a finished rigid-cap run, the same in
// the plane and in space: after the warnings of the last force evaluation,
// a run without a converged step takes the no-convergence road; a level of
// a flexibility estimation, a pushover point and a stiffness point still
// searching its target take their own roads; every other run the full
// output. The roads themselves are the dimension's.
#include "cap/cap_dimension.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// The roads by dimension.
void warnings(const CapSolverState3D& /*s*/) { REPORT_CAP_WARNINGS_3D(); }
void warnings(const CapSolverState2D& /*s*/) { REPORT_CAP_WARNINGS_2D(); }
void failed_level(const CapSolverState3D& s, int& status) { REPORT_FAILED_LEVEL_3D(s, status); }
void failed_level(const CapSolverState2D& s, int& status) { REPORT_FAILED_LEVEL_2D(s, status); }
void flexibility_level(CapSolverState3D& s, int& status) { REPORT_FLEXIBILITY_LEVEL_3D(s, status); }
void flexibility_level(CapSolverState2D& s, int& status) { REPORT_FLEXIBILITY_LEVEL_2D(s, status); }
void pushover_point(CapSolverState3D& s, int& status) { REPORT_PUSHOVER_POINT_3D(s, status); }
void pushover_point(CapSolverState2D& s, int& status) { REPORT_PUSHOVER_POINT_2D(s, status); }
void target_search(CapSolverState3D& s, int& status) { REPORT_TARGET_SEARCH_3D(s, status); }
void target_search(CapSolverState2D& s, int& status) { REPORT_TARGET_SEARCH_2D(s, status); }
void full_output(CapSolverState3D& s, int& status) { REPORT_FULL_OUTPUT_3D(s, status); }
void full_output(CapSolverState2D& s, int& status) { REPORT_FULL_OUTPUT_2D(s, status); }

}  // namespace

template <class D>
void REPORT_CAP_ROADS(typename D::State& state, int& status) {
  warnings(state);
  if (state.road != CAP_ROAD_NO_CONVERGENCE) {
    if (TargetDeflectionSearch.active == 1) {
      const double* applied = D::applied_load(state);
      for (int k = 1; k <= D::DOFS; ++k) {
        state.result_load[k - 1] = applied[k - 1];
        state.result_displacement[k - 1] = state.displacement(k);
      }
    }
    if (DofRunMode.mode == DOF_RUN_LEVELS) {
      state.road = CAP_ROAD_FLEXIBILITY_LEVEL;
    } else if (AnalysisControl.pushover_active > 0) {
      state.road = CAP_ROAD_PUSHOVER;
    } else if (TargetDeflectionSearch.active == 1 && TargetDeflectionSearch.state > 0) {
      state.road = CAP_ROAD_TARGET_SEARCH;
    } else {
      state.road = CAP_ROAD_FULL_OUTPUT;
    }
  }
  switch (state.road) {
    case CAP_ROAD_NO_CONVERGENCE:
      if (DofRunMode.mode == DOF_RUN_LEVELS) failed_level(state, status);
      WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
      if (AnalysisControl.pushover_active > 0) REPORT_PUSHOVER_NOT_ACHIEVED();
      if (TargetDeflectionSearch.active == 1) TargetDeflectionSearch.state = -1;
      break;
    case CAP_ROAD_FLEXIBILITY_LEVEL:
      flexibility_level(state, status);
      break;
    case CAP_ROAD_PUSHOVER:
      pushover_point(state, status);
      break;
    case CAP_ROAD_TARGET_SEARCH:
      target_search(state, status);
      break;
    default:
      full_output(state, status);
      break;
  }
  AnalysisControl.pass_mode = 0;
}

void REPORT_CAP_SOLUTION_3D(CapSolverState3D& state, int& status) { REPORT_CAP_ROADS<CapDimension3D>(state, status); }
void REPORT_CAP_SOLUTION_2D(CapSolverState2D& state, int& status) { REPORT_CAP_ROADS<CapDimension2D>(state, status); }

}  // namespace pilecap
