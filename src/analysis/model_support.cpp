// Which parts of a model the engine can analyse today. A model that selects
// an option whose analysis is not built yet is refused as a whole before its
// first case: every case and combination gets a note on the run log and the
// not-performed result code, and no results are printed for it, so nothing
// computed without that option can be taken for an answer.
#include <string>

#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

//      NOTE: PLATE MODEL OF THE PILE CAP IS NOT YET SUPPORTED, RUN NOT ANALYZED
constexpr const char* NOT_SUPPORTED_LAYOUT = "(5X,\"NOTE: \",A,\" IS NOT YET SUPPORTED, RUN NOT ANALYZED\")";

}  // namespace

std::string UNSUPPORTED_MODEL_FEATURE() {
  if (RunOptions.cap_model > 0) return "PLATE MODEL OF THE PILE CAP";
  return "";
}

void REPORT_UNSUPPORTED_RUN(const std::string& feature) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NOT_SUPPORTED_LAYOUT, feature);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
