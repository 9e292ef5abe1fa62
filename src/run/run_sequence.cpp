// The run sequence: the exported entry DUVIZU and RUN_ANALYSIS, which takes
// one analysis from the creation of the model store to its release. Every
// step after the store reports failure through the one status word; the
// final report and the release always run.
#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>

#include "analysis/analysis.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "run/duvizu.hpp"
#include "run/engine_records.hpp"
#include "run/run.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

// Whether a run is under way in this process. Every record of a run is a
// global record of the process, so a second call while one runs would work
// in the records and files of the first: it is refused before it touches any.
std::atomic<bool> run_under_way{false};

// Holds the process's one run from the call that wins it to its return.
class ProcessRun {
 public:
  ProcessRun() : held_(!run_under_way.exchange(true, std::memory_order_acquire)) {}
  ~ProcessRun() {
    if (held_) run_under_way.store(false, std::memory_order_release);
  }
  ProcessRun(const ProcessRun&) = delete;
  ProcessRun& operator=(const ProcessRun&) = delete;
  bool held() const { return held_; }

 private:
  bool held_;
};

}  // namespace

void RUN_ANALYSIS(int& status) {
  // Before anything of the run is read or set: a refused call leaves the
  // status detail, the write failure and the thread limit of the run under
  // way as they are.
  const ProcessRun process_run;
  if (!process_run.held()) {
    status = STATUS_RUN_UNDER_WAY;
    return;
  }
  // The host's thread limit, taken before any region of this run sets its
  // own count and given back at the end, so the next run starts from it too.
  const int host_threads = omp_get_max_threads();
  status = STATUS_OK;
  SET_STATUS_DETAIL("");
  fio::clear_write_failure();
  // Nothing is read or written while another run works in the folder.
  int lock_file = -1;
  if (!ENTER_RUN_FOLDER(lock_file)) {
    status = STATUS_FOLDER_IN_USE;
    return;
  }
  // Every record as a new process has it, whatever the run before left.
  RESET_ENGINE_RECORDS();
  RunTimers.case_time = omp_get_wtime();
  RunTimers.run_clock = omp_get_wtime();

  ALLOCATE_MODEL_ARRAYS(status);
  if (status > 0) {  // nothing opened, nothing written
    LEAVE_RUN_FOLDER(lock_file);
    return;
  }

  OPEN_RUN_FILES(status);
  if (status == STATUS_OK) READ_INPUT_FILE(status);
  CHECK_FILE_WRITES(status);

  // Recorded whatever happened before, so the processor line can show it.
  AnalysisControl.threads_available = host_threads > 0 ? host_threads : 1;
  AnalysisControl.threads_host_set = HOST_CHOSE_THREAD_COUNT(host_threads) ? 1 : 0;
  // Where the runtime's idle threads spin, no region of the run takes more
  // threads than the processors other work leaves free as it starts, so that
  // on a busy machine no spinning thread of the run holds a processor that a
  // working one waits for; a region that sets no count of its own runs on
  // this one. Where they wait passively or briefly, the host's count stands.
  AnalysisControl.threads_free = RUN_THREAD_CAP();
  if (AnalysisControl.threads_free >= 1) {
    omp_set_num_threads(std::min(AnalysisControl.threads_available, AnalysisControl.threads_free));
  }
  AnalysisControl.threads_used_max = 1;
  RunTimers.threads_used_run = 1;

  if (status == STATUS_OK) CONVERT_INPUT_UNITS(status);
  if (status == STATUS_OK) ECHO_INPUT_DATA(status);
  CHECK_FILE_WRITES(status);
  if (status == STATUS_OK) {
    // The p-y print option travels in keep: the criteria read the option word
    // as "analysis" while the cases run.
    int keep = RunOptions.print_py_curves;
    RunOptions.print_py_curves = 0;
    AnalysisControl.pass_mode = 0;
    RUN_CASES_AND_COMBINATIONS(keep, status);
  }

  RunTimers.run_clock = omp_get_wtime() - RunTimers.run_clock;
  REPORT_FINAL_STATUS(status);
  RELEASE_MODEL_ARRAYS(status);
  RELEASE_PY_CURVE_CACHE();
  LEAVE_RUN_FOLDER(lock_file);
  omp_set_num_threads(host_threads);
}

int run_write_failure(char* file, int size) {
  fio::WriteFailure failure;
  if (!fio::first_write_failure(failure)) return 0;
  if (file != nullptr && size > 0) std::snprintf(file, static_cast<std::size_t>(size), "%s", failure.path.c_str());
  return failure.error != 0 ? failure.error : EIO;
}

}  // namespace pilecap

extern "C" int DUVIZU(void) {
  int status = 0;
  pilecap::RUN_ANALYSIS(status);
  return status;
}
