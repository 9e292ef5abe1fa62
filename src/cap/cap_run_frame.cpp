// What the 3D and 2D cap solvers share around their Newton iterations: the
// start of a run, the loads and movements of an iteration's load fraction,
// the iteration trace on the run log (the heading of a run, a line per load
// step, the norms of every increment) and the warnings of the load stepping
// (a singular tangent, an abandoned run) and the lines of the axial warnings.
#include <algorithm>
#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "cap/model_road.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// Iterations over which the soil movements rise from the converged fraction.
constexpr int MOVEMENT_RAMP_ITERATIONS = 10;

constexpr int WARNING_RECORD_LENGTH = 256;
constexpr int RECORDS_PER_WARNING = 3;  // empty line, warning line, values line
constexpr const char* WARNING_RECORD_LAYOUT = "(A256)";

//      GLOBAL ITERATIONS
constexpr const char* TRACE_HEADING_LAYOUT = "(/,\"     GLOBAL ITERATIONS\")";
//      STEP     1, TCUR     0.2500, DTCUR     0.2500
constexpr const char* TRACE_STEP_LAYOUT = "(5X,\"STEP \",I5,\", TCUR \",F10.4,\", DTCUR \",F10.4)";
//      ITERATION    3
constexpr const char* TRACE_ITERATION_LAYOUT = "(5X,\"ITERATION \",I4)";
//                    - ErrDsp   0.12345E-02, IncDsp   0.12345E-04, TotDsp   0.10000E-01
constexpr const char* TRACE_DSP_LAYOUT =
    "(5X,\"          \",4X,\"- ErrDsp \",E13.5,\", IncDsp \",E13.5,\", TotDsp \",E13.5)";
constexpr const char* TRACE_ROT_LAYOUT =
    "(5X,\"          \",4X,\"- ErrRot \",E13.5,\", IncRot \",E13.5,\", TotRot \",E13.5)";
constexpr const char* TRACE_MAX_LAYOUT = "(5X,\"          \",4X,\"- MaxDsp \",E13.5,\", MaxRot \",E13.5)";

//      ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO
constexpr const char* SINGULAR_RESULTS_LAYOUT =
    "(5X,\"** WARNING **  \",\"DETERMINANT OF STIFFNESS MATRIX IS ZERO\",/)";
constexpr const char* SINGULAR_LOG_LAYOUT =
    "(/,/,5X,\"** WARNING **  \",\"DETERMINANT OF STIFFNESS MATRIX IS ZERO\",/)";
constexpr const char* NO_CLOSURE_LAYOUT = "(/,/,5X,\"** WARNING **  \",\"NO CLOSURE ON LATERAL PILE ANALYSIS    \",/)";
constexpr const char* PY_SHORT_LAYOUT = "(/,/,5X,\"** WARNING **  \",\"P-Y CURVES DO NOT EXTEND LENGTH OF PILE(S)\",/)";
//      ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,  100  ITERATIONS
constexpr const char* NO_CONVERGENCE_LAYOUT =
    "(/,/,5X,\"** WARNING **  \",\"PILE CAP DISPL DOES NOT CONVERGE AFTER,\",I5,2X,\"ITERATIONS\",/)";
//      ** WARNING **  LOAD STEPS REACH THE LIMIT OF 10001
constexpr const char* STEP_LIMIT_LAYOUT = "(/,/,5X,\"** WARNING **  \",\"LOAD STEPS REACH THE LIMIT OF\",I6,/)";

}  // namespace

bool START_CAP_RUN(CapRunArguments& run, int run_kind, double* equivalent_load, double* cap_displacement,
                   double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                   const int* dof_flags) {
  // The run loop refuses such a model before it gets here; a direct caller is
  // refused the same way.
  const std::string feature = UNSUPPORTED_MODEL_FEATURE();
  if (!feature.empty()) {
    REPORT_UNSUPPORTED_RUN(feature);
    AnalysisControl.pass_mode = 0;
    return false;
  }
  run.run_kind = run_kind;
  run.result_load = equivalent_load;
  run.result_displacement = cap_displacement;
  run.cap_load = cap_load;
  run.point_load = point_loads;
  run.point_displacement = point_displacements;
  run.point = point;
  run.dof_flags = dof_flags;
  run.point_run = CASE_WITH_POINT(run_kind) ? 1 : 0;
  return true;
}

bool CASE_WITH_POINT(int run_kind) {
  const int c = AnalysisControl.current_run;
  return run_kind == RUN_KIND_CASE && c >= 1 && c <= LoadCase.count && LoadCase.point_loads_flag(c) > 0;
}

double APPLY_STEP_FRACTION(double tcur, double converged_fraction, int iteration) {
  APPLY_LOAD_FRACTION_PROFILE(tcur);
  const double c = converged_fraction;
  const double movement_fraction =
      iteration <= MOVEMENT_RAMP_ITERATIONS ? c + iteration * (tcur - c) / MOVEMENT_RAMP_ITERATIONS : tcur;
  APPLY_LOAD_FRACTION_LOADS(tcur);
  APPLY_LOAD_FRACTION_MOVEMENTS(movement_fraction);
  return movement_fraction;
}

void COPY_AXIAL_WARNING_LINES(int n_warnings, bool to_results) {
  if (n_warnings <= 0) return;
  if (fio::open(UNIT_AXIAL_WARNINGS, RunFiles.axial_warnings_file, fio::Mode::Read) != fio::IO_OK) return;
  const int n_records = n_warnings * RECORDS_PER_WARNING;
  std::string record;
  for (int r = 1; r <= n_records; ++r) {
    if (fio::read_line(UNIT_AXIAL_WARNINGS, record, WARNING_RECORD_LENGTH) != fio::IO_OK) break;
    if (to_results) fio::write(UNIT_RESULTS_REPORT, WARNING_RECORD_LAYOUT, record);
    fio::write(UNIT_RUN_LOG, WARNING_RECORD_LAYOUT, record);
  }
  fio::close(UNIT_AXIAL_WARNINGS);
}

void WRITE_CAP_TRACE_HEADING() {
  fio::write(UNIT_RUN_LOG, TRACE_HEADING_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
}

void WRITE_CAP_TRACE_STEP(int step, double tcur, double dtcur) {
  fio::write(UNIT_RUN_LOG, TRACE_STEP_LAYOUT, step, tcur, dtcur);
  fio::flush(UNIT_RUN_LOG);
}

void WRITE_CAP_TRACE_ITERATION(int iteration, double err_dsp, double inc_dsp, double tot_dsp, double err_rot,
                               double inc_rot, double tot_rot, double max_dsp, double max_rot) {
  fio::write(UNIT_RUN_LOG, TRACE_ITERATION_LAYOUT, iteration);
  fio::flush(UNIT_RUN_LOG);
  fio::write(UNIT_RUN_LOG, TRACE_DSP_LAYOUT, err_dsp, inc_dsp, tot_dsp);
  fio::write(UNIT_RUN_LOG, TRACE_ROT_LAYOUT, err_rot, inc_rot, tot_rot);
  if (AnalysisControl.use_max_limits == 1) fio::write(UNIT_RUN_LOG, TRACE_MAX_LAYOUT, max_dsp, max_rot);
  fio::flush(UNIT_RUN_LOG);
}

void WRITE_SINGULAR_TANGENT_WARNING() {
  fio::write(UNIT_RESULTS_REPORT, SINGULAR_RESULTS_LAYOUT);
  fio::write(UNIT_RUN_LOG, SINGULAR_LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
}

bool CAP_VALUES_FINITE(const double* first, int count) {
  return std::all_of(first, first + count, [](double v) { return std::isfinite(v); });
}

bool FAILED_CAP_EVALUATION(bool lateral_failed, bool all_numbers) {
  if (lateral_failed) return true;
  if (all_numbers) return false;
  PileErrorWord.code = PILE_ERR_NO_CLOSURE;
  return true;
}

void WRITE_CAP_STEP_LIMIT_WARNING() {
  if (WARNINGS_TO_RESULTS_REPORT()) {
    fio::write(UNIT_RESULTS_REPORT, STEP_LIMIT_LAYOUT, CAP_LOAD_STEP_LIMIT);
  }
  fio::write(UNIT_RUN_LOG, STEP_LIMIT_LAYOUT, CAP_LOAD_STEP_LIMIT);
  fio::flush(UNIT_RUN_LOG);
}

void WRITE_CAP_ABANDON_WARNING() {
  const bool results_too = WARNINGS_TO_RESULTS_REPORT();
  auto write = [](int unit) {
    switch (PileErrorWord.code) {
      case PILE_ERR_NO_CLOSURE:
        fio::write(unit, NO_CLOSURE_LAYOUT);
        break;
      case PILE_ERR_PY_TOO_SHORT:
        fio::write(unit, PY_SHORT_LAYOUT);
        break;
      case PILE_ERR_SINGULAR:
        break;  // the singular warning stands for itself
      default:
        fio::write(unit, NO_CONVERGENCE_LAYOUT, AnalysisControl.max_iterations);
        break;
    }
  };
  if (results_too) write(UNIT_RESULTS_REPORT);
  write(UNIT_RUN_LOG);
  fio::flush(UNIT_RUN_LOG);
}

}  // namespace pilecap
