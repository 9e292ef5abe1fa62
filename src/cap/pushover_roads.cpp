// The result road of a point of an incremental (pushover) analysis, for
// either cap solver. The point reports the load the cap actually carried:
// the point's load times the converged fraction (the negated pile forces of
// the last converged step in a 3D point run, the pile-force resultant in a
// 2D one), with the partial-load code when that fraction is below 1; the
// loads and movements along the piles are set to that fraction before the
// final print pass fills the result stores for the point's per-pile tables.
// Cap vectors are the solvers' (six in space, three in the plane).
#include "base/fio.hpp"
#include "cap/cap_dimension.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

constexpr double PERCENT = 100.0;

//        N:    3  FACTOR :    1.5000
constexpr const char* POINT_LAYOUT = "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
constexpr const char* NOT_ACHIEVED_LAYOUT =
    "(\"    ** SOLUTION NOT ACHIEVED \",/,\"    ** NO CONVERGENCE ON PILE CAP\")";

// The multiplier of the running point.
double point_multiplier() {
  const int point = AnalysisControl.current_point;
  return point >= 1 && point <= MAX_POINT_VALUES ? AnalysisControl.point_multipliers(point) : 0.0;
}

// The percent of its load a point carried when it stopped below it; 0 at
// the full load.
double partial_percent(double c) { return c < 1.0 - RunConstants.tiny ? PERCENT * c : 0.0; }

// The result code of the point's converged fraction c; below the full load
// the loads and movements along the piles and the movement profile are set
// to c, as the print pass must see the load carried, not the last attempt's.
void write_point_code(double c) {
  if (partial_percent(c) > 0.0) {
    WRITE_RESULT_CODE(RESULT_PARTIAL_LOAD, PERCENT * c);
    APPLY_CONVERGED_FRACTION(c);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

// A point without a converged step (none computed either).
void point_not_achieved() {
  WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
  REPORT_PUSHOVER_NOT_ACHIEVED();
}

}  // namespace

void REPORT_PUSHOVER_NOT_ACHIEVED() {
  fio::write(UNIT_SUMMARY, POINT_LAYOUT, AnalysisControl.current_point, point_multiplier());
  fio::write(UNIT_SUMMARY, NOT_ACHIEVED_LAYOUT);
  fio::write(UNIT_RESULTS_REPORT, NOT_ACHIEVED_LAYOUT);
}

namespace {

// The road of a pushover point in either dimension.
template <class D>
void report_pushover_point(typename D::State& s, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  const double c = s.converged_fraction;
  if (c <= 0.0) {
    point_not_achieved();
    return;
  }
  SCALE_TO_CONVERGED_FRACTION<D>(s);
  if (s.point_run == 1) D::carried_point_load(s, s.cap_load);
  for (int k = 1; k <= D::DOFS; ++k) {
    s.result_displacement[k - 1] = s.displacement(k);
    s.result_load[k - 1] = s.cap_load[k - 1];
  }
  write_point_code(c);

  a.pass_mode = 1;
  CAP_PRINT_PASS<D>(s, status);
  if (status == STATUS_OK) {
    PRINT_PUSHOVER_CAP_RESULTS(RunOptions.dimension, a.current_point, point_multiplier() * c, partial_percent(c),
                               s.cap_load, s.displacement.data());
    D::write_pushover_piles(status);
  }
  a.pass_mode = 0;
}

}  // namespace

void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& s, int& status) { report_pushover_point<CapDimension3D>(s, status); }
void REPORT_PUSHOVER_POINT_2D(CapSolverState2D& s, int& status) { report_pushover_point<CapDimension2D>(s, status); }

}  // namespace pilecap
