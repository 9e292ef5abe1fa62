// The files that connect a running analysis with its host: the status file
// (each progress record replaces the file's whole content, so the host
// always reads the newest one) and the stop-request file (the value 1 asks
// for a stop).
#include "cap/progress_files.hpp"

#include <string>

#include "base/fio.hpp"
#include "capstiffness/capstiffness.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// - ANALYSIS FOR LOAD CASE   2/  3 STARTED   (then two empty lines)
constexpr const char* CASE_STARTED_LAYOUT = "(\"- ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" STARTED\",/,/)";
constexpr const char* CASE_FINISHED_LAYOUT = "(\"- ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" FINISHED\",/,/)";
constexpr const char* COMB_STARTED_LAYOUT = "(\"- ANALYSIS FOR LOAD COMB. \",I3,\"/\",I3,\" STARTED\",/,/)";
constexpr const char* COMB_FINISHED_LAYOUT = "(\"- ANALYSIS FOR LOAD COMB. \",I3,\"/\",I3,\" FINISHED\",/,/)";

// Solver records: the run line, then the line of the event.
//   - ANALYSIS FOR LOAD CASE   1/  4 ( 4/ 8 proc.)
//    STEP:    2 TCUR:    0.5000 ITERATION:    3
constexpr const char* STATUS_CASE_LINE = "\"- ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" (\",I2,\"/\",I2,\" proc.)\"";
constexpr const char* STATUS_COMB_LINE = "\"- ANALYSIS FOR LOAD COMB \",I3,\"/\",I3,\" (\",I2,\"/\",I2,\" proc.)\"";
enum StatusForm { FORM_PLAIN = 0, FORM_DOF = 1, FORM_POINT = 2 };
constexpr const char* STATUS_EVENT_LINE[3][3] = {
    {"\" STEP:\",I5,\" TCUR:\",F10.4,\" ITERATION:\",I5", "\" STEP:\",I5,\" TCUR:\",F10.4,\" COMPLETED\"",
     "\" STEP:\",I5,\" COMPLETED\""},
    {"\" DOF:\",I3,\"/\",I3,\" STEP:\",I5,\" TCUR:\",F9.3,\" ITERATION:\",I5",
     "\" DOF:\",I3,\"/\",I3,\" STEP:\",I5,\" TCUR:\",F9.3,\" COMPLETED\"",
     "\" DOF:\",I3,\"/\",I3,\" STEP:\",I5,\" COMPLETED\""},
    {"\" POINT:\",I3,\"/\",I3,\" STEP:\",I5,\" TCUR:\",F9.3,\" ITERATION:\",I5",
     "\" POINT:\",I3,\"/\",I3,\" STEP:\",I5,\" TCUR:\",F9.3,\" COMPLETED\"",
     "\" POINT:\",I3,\"/\",I3,\" STEP:\",I5,\" COMPLETED\""},
};
// The iteration line of a DOF point of the plane solver shows four decimals.
constexpr const char* STATUS_DOF_ITERATION_2D =
    "\" DOF:\",I3,\"/\",I3,\" STEP:\",I5,\" TCUR:\",F10.4,\" ITERATION:\",I5";

StatusWrittenHook status_written_hook = nullptr;

void status_written() {
  if (status_written_hook != nullptr) status_written_hook();
}

}  // namespace

void SET_STATUS_WRITTEN_HOOK(StatusWrittenHook hook) { status_written_hook = hook; }

void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m) {
  const bool is_case = run_kind == RUN_KIND_CASE;
  const char* layout = is_case ? (finished ? CASE_FINISHED_LAYOUT : CASE_STARTED_LAYOUT)
                               : (finished ? COMB_FINISHED_LAYOUT : COMB_STARTED_LAYOUT);
  if (fio::open(UNIT_STATUS, RunFiles.status_file, fio::Mode::Write) != fio::IO_OK) return;
  fio::write(UNIT_STATUS, layout, n, m);
  fio::close(UNIT_STATUS);
  status_written();
}

void WRITE_SOLVER_STATUS(int run_kind, int event, int step, double tcur, int iteration, int dimension) {
  const AnalysisControlRecord& a = AnalysisControl;
  int form = FORM_PLAIN, first = 0, second = 0;
  if (a.point_count != 1 && a.current_point != a.point_count) {
    first = a.current_point;
    if (a.pushover_active == 1) {
      form = FORM_POINT;
      second = a.point_count - 1;
    } else if (TargetDeflectionSearch.active == 1) {
      form = FORM_POINT;
      second = a.current_dof;
    } else {
      form = FORM_DOF;
      second = a.current_dof;
    }
  }
  std::string layout = "(";
  layout.append(run_kind == RUN_KIND_CASE ? STATUS_CASE_LINE : STATUS_COMB_LINE);
  layout.append(",/,");
  const bool plane_dof_iteration = dimension == MODEL_2D && form == FORM_DOF && event == SOLVER_EVENT_ITERATION;
  layout.append(plane_dof_iteration ? STATUS_DOF_ITERATION_2D : STATUS_EVENT_LINE[form][event]);
  layout.append(",/)");
  const int n = a.current_run;
  const int m = run_kind == RUN_KIND_CASE ? LoadCase.count : LoadCombination.count;
  if (fio::open(UNIT_STATUS, RunFiles.status_file, fio::Mode::Write) != fio::IO_OK) return;
  const fio::Format& format = fio::cached_format(layout);
  const int used = a.threads_used_max, available = a.threads_available;
  if (form == FORM_PLAIN) {
    if (event == SOLVER_EVENT_ITERATION) fio::write(UNIT_STATUS, format, n, m, used, available, step, tcur, iteration);
    if (event == SOLVER_EVENT_STEP_COMPLETED) fio::write(UNIT_STATUS, format, n, m, used, available, step, tcur);
    if (event == SOLVER_EVENT_ENDED) fio::write(UNIT_STATUS, format, n, m, used, available, step);
  } else {
    if (event == SOLVER_EVENT_ITERATION) {
      fio::write(UNIT_STATUS, format, n, m, used, available, first, second, step, tcur, iteration);
    }
    if (event == SOLVER_EVENT_STEP_COMPLETED) {
      fio::write(UNIT_STATUS, format, n, m, used, available, first, second, step, tcur);
    }
    if (event == SOLVER_EVENT_ENDED) fio::write(UNIT_STATUS, format, n, m, used, available, first, second, step);
  }
  fio::close(UNIT_STATUS);
  status_written();
}

}  // namespace pilecap
