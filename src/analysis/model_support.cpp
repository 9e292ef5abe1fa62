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

//      NOTE: AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP IS NOT YET SUPPORTED, RUN NOT ANALYZED
constexpr const char* NOT_SUPPORTED_LAYOUT = "(5X,\"NOTE: \",A,\" IS NOT YET SUPPORTED, RUN NOT ANALYZED\")";

}  // namespace

std::string UNSUPPORTED_MODEL_FEATURE() {
  // The plate carries the cap alone: it adds no embedded cap's resistance,
  // so a 3D model that asks for one with it is not analysed.
  if (RunOptions.dimension != MODEL_2D && RunOptions.cap_model > 0 && RunOptions.cap_passive_option >= 1) {
    return "AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP";
  }
  return "";
}

void REPORT_UNSUPPORTED_RUN(const std::string& feature) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NOT_SUPPORTED_LAYOUT, feature);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
