// The road of a solved run of a stiffness-estimation factor point, for
// either cap solver: the run's displacement in the target DOF is judged
// against the point's target (a search run outside the tolerance ends
// here, so that the points loop predicts another factor); otherwise the
// tangent of the last converged step goes to the equivalent-spring file as
// the stiffness at the origin, a print pass with pass mode 2 leaves every
// pile's secant springs in EquivalentStiffness and the writers add them to
// the file. A run stopped below its load reports the load it carried, with
// the partial-load code. Cap vectors are 0-based arrays of ndof values.
#include <cmath>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/pile_loads.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

constexpr double PERCENT = 100.0;
constexpr int SEARCH_RUN = 2;   // a run of the search: judged against the tolerance
constexpr int LAST_RUN = 1;     // the last run the point allows
constexpr int SINGLE_RUN = 3;   // the one run of a total-load point
constexpr int MATRIX_LEAD = 5;  // the matrix record of the equivalent-spring file
constexpr int MATRIX_WIDTH = 19;
constexpr int MATRIX_DIGITS = 5;

//      STIFFNESS ESTIMATION,  COMPUTED DEF.:      0.4988 TARGET DEF.:      0.5000 ERROR(%):      0.2400
constexpr const char* SEARCH_LINE_LAYOUT =
    "(/,5X,\"STIFFNESS ESTIMATION, \",\" COMPUTED DEF.: \",F11.4,\" TARGET DEF.: \",F11.4,\" ERROR(%): \",F11.4)";
constexpr const char* LAST_RUN_LINE_LAYOUT =
    "(/,5X,\"STIFFNESS ESTIMATION, \",\" MAX. ITER. REACHED, \",\" COMPUTED DEF.: \",F11.4,\" TARGET DEF.: \",F11.4,"
    "\" ERROR(%): \",F11.4)";
//      * EQV. STIFFNESS MATRIX AT ORIGIN *
constexpr const char* MATRIX_TITLE_LAYOUT = "(5X,\"* EQV. STIFFNESS MATRIX AT ORIGIN *\")";

// The run's displacement in the target DOF against the target; false when
// a search run lies outside the tolerance or the run computed no step (its
// result code written).
bool target_met(const double* u, int ndof, double converged_fraction) {
  TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  // A run that computed no step has no solution to judge.
  if (converged_fraction <= 0.0) {
    WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
    t.state = -1;
    return false;
  }
  t.run_fraction = converged_fraction;
  if (t.target_dof >= 1 && t.target_dof <= ndof) t.computed = u[t.target_dof - 1];
  // A target of 0 is refused when a search starts; a single run has none.
  const double error = t.target != 0.0 ? std::fabs((t.computed - t.target) / t.target) : 0.0;
  switch (t.state) {
    case SEARCH_RUN:
      fio::write(UNIT_RUN_LOG, SEARCH_LINE_LAYOUT, t.computed, t.target, PERCENT * error);
      if (error > t.tolerance_percent / PERCENT) {
        WRITE_RESULT_CODE(RESULT_ESTIMATION_COMPLETED);
        return false;
      }
      t.state = 0;
      break;
    case LAST_RUN:
      fio::write(UNIT_RUN_LOG, LAST_RUN_LINE_LAYOUT, t.computed, t.target, PERCENT * error);
      break;
    case SINGLE_RUN:
      t.state = 0;
      break;
    default:
      break;
  }
  return true;
}

// The stiffness record of the equivalent-spring file: the title and ndof
// rows of the tangent (column-major, leading dimension ndof).
void write_matrix_record(const double* k, int ndof) {
  fio::write(UNIT_EQUIVALENT_SPRINGS, MATRIX_TITLE_LAYOUT);
  for (int i = 0; i < ndof; ++i) {
    WRITE_BLANKS(UNIT_EQUIVALENT_SPRINGS, MATRIX_LEAD);
    for (int j = 0; j < ndof; ++j)
      WRITE_REAL_FIELD(UNIT_EQUIVALENT_SPRINGS, MATRIX_WIDTH, MATRIX_DIGITS, k[i + ndof * j]);
    END_REPORT_LINE(UNIT_EQUIVALENT_SPRINGS);
  }
}

// A run below its load: the result load is what the cap carried, and the
// print pass sees the loads and movements of that fraction.
bool carried_fraction(double c, const double* full_load, double* result_load, int ndof) {
  if (c >= 1.0 - RunConstants.tiny) return false;
  for (int k = 0; k < ndof; ++k) result_load[k] = full_load[k] * c;
  APPLY_CONVERGED_FRACTION(c);
  return true;
}

void finish_road(bool partial, double c) {
  TargetDeflectionSearch.springs_written = 1;
  if (partial) {
    WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, PERCENT * c);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

}  // namespace

namespace {

template <class D>
void report_target_search(typename D::State& state, int& status) {
  AnalysisControl.pass_mode = 0;
  if (!target_met(state.displacement.data(), D::DOFS, state.converged_fraction)) return;
  write_matrix_record(state.converged_tangent.data(), D::DOFS);
  const double c = state.converged_fraction;
  const bool partial = carried_fraction(c, state.full_load.data(), state.result_load, D::DOFS);

  AnalysisControl.pass_mode = 2;
  CAP_PRINT_PASS<D>(state, status);
  AnalysisControl.pass_mode = 0;
  if (status != STATUS_OK) return;
  D::write_equivalent_stiffness();
  finish_road(partial, c);
}

}  // namespace

void REPORT_TARGET_SEARCH_3D(CapSolverState3D& state, int& status) {
  report_target_search<CapDimension3D>(state, status);
}
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& state, int& status) {
  report_target_search<CapDimension2D>(state, status);
}

}  // namespace pilecap
