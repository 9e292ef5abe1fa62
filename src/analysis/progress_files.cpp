// The files that connect a running analysis with its host: the status file
// (each progress record replaces the file's whole content, so the host
// always reads the newest one), the stop-request file (the value 1 asks for
// a stop) and the result-code file (one line per solver run).
#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int STOP_VALUE = 1;

// - ANALYSIS FOR LOAD CASE   2/  3 STARTED   (then two empty lines)
constexpr const char* CASE_STARTED_LAYOUT = "(\"- ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" STARTED\",/,/)";
constexpr const char* CASE_FINISHED_LAYOUT = "(\"- ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" FINISHED\",/,/)";
constexpr const char* COMB_STARTED_LAYOUT = "(\"- ANALYSIS FOR LOAD COMB. \",I3,\"/\",I3,\" STARTED\",/,/)";
constexpr const char* COMB_FINISHED_LAYOUT = "(\"- ANALYSIS FOR LOAD COMB. \",I3,\"/\",I3,\" FINISHED\",/,/)";

//     1 ANALYSIS COMPLETED
constexpr const char* COMPLETED_LAYOUT = "(\"    1 ANALYSIS COMPLETED\")";
//     2 SOLUTION AT    62.50 % OF THE TOTAL LOAD
constexpr const char* PARTIAL_LOAD_LAYOUT = "(\"    2 SOLUTION AT \",F8.2,\" % OF THE TOTAL LOAD\")";
constexpr const char* NO_CAP_CONVERGENCE_LAYOUT = "(\"    3 NO CONVERGENCE ON PILE CAP\")";
constexpr const char* SKIPPED_ZERO_FORCE_LAYOUT = "(\"    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\")";
//      9 ANALYSIS NOT PERFORMED   (the code one column further right)
constexpr const char* NOT_PERFORMED_LAYOUT = "(\"     9 ANALYSIS NOT PERFORMED\")";
constexpr const char* ESTIMATION_COMPLETED_LAYOUT = "(\"    10 ANALYSIS COMPLETED\")";

}  // namespace

void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m) {
  const bool is_case = run_kind == RUN_KIND_CASE;
  const char* layout = is_case ? (finished ? CASE_FINISHED_LAYOUT : CASE_STARTED_LAYOUT)
                               : (finished ? COMB_FINISHED_LAYOUT : COMB_STARTED_LAYOUT);
  if (fio::open(UNIT_STATUS, RunFiles.status_file, fio::Mode::Write) != fio::IO_OK) return;
  fio::write(UNIT_STATUS, layout, n, m);
  fio::close(UNIT_STATUS);
}

bool STOP_REQUESTED() { return READ_STOP_REQUEST() == STOP_VALUE; }

void WRITE_RESULT_CODE(int code, double percent) {
  switch (code) {
    case RESULT_COMPLETED:
      fio::write(UNIT_RESULT_CODES, COMPLETED_LAYOUT);
      break;
    case RESULT_PARTIAL_LOAD:
      fio::write(UNIT_RESULT_CODES, PARTIAL_LOAD_LAYOUT, percent);
      break;
    case RESULT_NO_CAP_CONVERGENCE:
      fio::write(UNIT_RESULT_CODES, NO_CAP_CONVERGENCE_LAYOUT);
      break;
    case RESULT_SKIPPED_ZERO_CAP_FORCE:
      fio::write(UNIT_RESULT_CODES, SKIPPED_ZERO_FORCE_LAYOUT);
      break;
    case RESULT_NOT_PERFORMED:
      fio::write(UNIT_RESULT_CODES, NOT_PERFORMED_LAYOUT);
      break;
    case RESULT_ESTIMATION_COMPLETED:
      fio::write(UNIT_RESULT_CODES, ESTIMATION_COMPLETED_LAYOUT);
      break;
    default:
      break;
  }
}

}  // namespace pilecap
