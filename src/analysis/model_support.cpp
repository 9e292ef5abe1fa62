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

//      NOTE: DIRECTION-DEPENDENT REDUCTION FACTORS IS NOT YET SUPPORTED, RUN NOT ANALYZED
constexpr const char* NOT_SUPPORTED_LAYOUT = "(5X,\"NOTE: \",A,\" IS NOT YET SUPPORTED, RUN NOT ANALYZED\")";

}  // namespace

std::string UNSUPPORTED_MODEL_FEATURE() {
  if (RunOptions.pmult_method > 0) return "DIRECTION-DEPENDENT REDUCTION FACTORS";
  // An embedded cap waits for the cap element in both models (the plane
  // solver's mean-state resistance is in place, and is refused with it).
  if (RunOptions.cap_passive_option >= 1 &&
      (CapPassiveElement.method == PASSIVE_BY_MEANS || CapPassiveElement.method == PASSIVE_BY_ELEMENT)) {
    return "PASSIVE RESISTANCE OF AN EMBEDDED CAP";
  }
  return "";
}

void REPORT_UNSUPPORTED_RUN(const std::string& feature) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NOT_SUPPORTED_LAYOUT, feature);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
