// The outcome of one level of a DOF run of the cap flexibility estimation,
// for either cap solver: two records on the DOF-run steps file (the applied
// value P and the cap displacements U at the origin, then U / P) and the
// flexibility column U / P on the flexibility-columns file, then the run's
// result code. P is the load the cap actually carried: the level's value of
// the DOF times the converged load fraction, so a level stopped below its
// full load still gives the flexibility of the load it reached. A level
// without a converged step writes its level number negated and the unit
// column of its DOF. Cap vectors are 0-based arrays of ndof values here.
#include <cmath>

#include "base/check.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr double PERCENT = 100.0;

}  // namespace

void REPORT_FAILED_LEVEL(int ndof, int& status) {
  const int dof = AnalysisControl.current_point, level = AnalysisControl.current_dof;
  PILECAP_ASSERT(dof >= 1 && dof <= ndof && ndof <= CAP_DOFS, "a level runs one DOF of the cap");
  const double zeros[1 + CAP_DOFS] = {};
  double unit_column[CAP_DOFS] = {};
  unit_column[dof - 1] = 1.0;
  WRITE_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, -level, zeros, 1 + ndof, status);
  if (status == STATUS_OK) WRITE_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, -level, zeros, ndof, status);
  if (status == STATUS_OK) WRITE_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, -level, unit_column, ndof, status);
}

void REPORT_FLEXIBILITY_LEVEL(int ndof, const double* u, double level_load, double converged_fraction, int& status) {
  // Without a converged step there is no displacement to divide.
  if (converged_fraction <= 0.0) {
    REPORT_FAILED_LEVEL(ndof, status);
    if (status == STATUS_OK) WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
    return;
  }
  const int level = AnalysisControl.current_dof;
  const double carried = level_load * converged_fraction;
  double load_and_u[1 + CAP_DOFS], ratios[CAP_DOFS];
  load_and_u[0] = carried;
  const bool divide = std::fabs(carried) >= FLEXIBILITY_LOAD_LIMIT;
  for (int i = 0; i < ndof; ++i) {
    load_and_u[1 + i] = u[i];
    ratios[i] = divide ? u[i] / carried : u[i];
  }
  WRITE_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, level, load_and_u, 1 + ndof, status);
  if (status == STATUS_OK) WRITE_ESTIMATION_RECORD(UNIT_DOF_RUN_STEPS, level, ratios, ndof, status);
  if (status == STATUS_OK) WRITE_ESTIMATION_RECORD(UNIT_FLEXIBILITY_COLUMNS, level, ratios, ndof, status);
  if (status != STATUS_OK) return;
  if (converged_fraction < 1.0 - RunConstants.tiny) {
    WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, PERCENT * converged_fraction);
    // What follows the level sees the loads of the fraction it carried.
    APPLY_LOAD_FRACTION_LOADS(converged_fraction);
    APPLY_LOAD_FRACTION_MOVEMENTS(converged_fraction);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

namespace {

template <class D>
void report_flexibility_level(typename D::State& state, int& status) {
  const int dof = AnalysisControl.current_point;
  PILECAP_ASSERT(dof >= 1 && dof <= D::DOFS, "a level runs one DOF of the cap");
  REPORT_FLEXIBILITY_LEVEL(D::DOFS, state.displacement.data(), state.full_load(dof), state.converged_fraction, status);
}

}  // namespace

void REPORT_FAILED_LEVEL_3D(const CapSolverState3D& /*state*/, int& status) { REPORT_FAILED_LEVEL(CAP_DOFS, status); }
void REPORT_FAILED_LEVEL_2D(const CapSolverState2D& /*state*/, int& status) {
  REPORT_FAILED_LEVEL(CAP_DOFS_2D, status);
}
void REPORT_FLEXIBILITY_LEVEL_3D(CapSolverState3D& state, int& status) {
  report_flexibility_level<CapDimension3D>(state, status);
}
void REPORT_FLEXIBILITY_LEVEL_2D(CapSolverState2D& state, int& status) {
  report_flexibility_level<CapDimension2D>(state, status);
}

}  // namespace pilecap
