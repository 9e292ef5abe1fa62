// The files that connect a running analysis with its host: the status file
// (each progress record replaces the file's whole content, so the host
// always reads the newest one) and the stop-request file (the value 1 asks
// for a stop).
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

}  // namespace pilecap
