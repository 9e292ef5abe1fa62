// The iteration trace of the cap solvers on the run log and the warnings
// their load stepping writes: the heading of a run, a line per load step,
// the norms of every Newton increment, a singular tangent and an abandoned
// run. Shared by the 3D and 2D solvers, which write the same lines.
#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

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

}  // namespace

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

void WRITE_CAP_ABANDON_WARNING() {
  const bool results_too = AnalysisControl.analysis_kind <= 0 && AnalysisControl.pushover_active <= 0;
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
