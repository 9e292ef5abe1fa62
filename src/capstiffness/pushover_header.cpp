// The heading of an incremental (pushover) analysis: printed once per load
// case before its first pushover point, on the results and summary reports,
// the computation report and the run log.
#include "base/fio.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

//      * INCREMENTAL/PUSHOVER ANALYSIS *
constexpr const char* REPORT_LAYOUT = "(/,/,5X,\"* INCREMENTAL/PUSHOVER ANALYSIS *\")";
constexpr const char* COMPUTATION_LAYOUT = "(5X,\"* INCREMENTAL/PUSHOVER ANALYSIS *\")";
constexpr const char* LOG_LAYOUT = "(/,5X,\"* INCREMENTAL/PUSHOVER ANALYSIS *\")";

}  // namespace

void PRINT_PUSHOVER_HEADER() {
  fio::write(UNIT_RESULTS_REPORT, REPORT_LAYOUT);
  fio::write(UNIT_SUMMARY, REPORT_LAYOUT);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_LAYOUT);
  fio::write(UNIT_RUN_LOG, LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
}

}  // namespace pilecap
