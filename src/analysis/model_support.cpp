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
#include "soil/soil.hpp"

namespace pilecap {

namespace {

//      NOTE: PLATE MODEL OF THE PILE CAP IS NOT YET SUPPORTED, RUN NOT ANALYZED
constexpr const char* NOT_SUPPORTED_LAYOUT = "(5X,\"NOTE: \",A,\" IS NOT YET SUPPORTED, RUN NOT ANALYZED\")";

// Whether the p-y criterion of each soil code is built (index = code).
constexpr bool PY_CRITERION_BUILT[SOIL_CODE_COUNT + 1] = {
    true,   // 0: no lateral resistance
    true,   // SOIL_SOFT_CLAY
    false,  // SOIL_STIFF_CLAY_FREE_WATER
    false,  // SOIL_STIFF_CLAY_NO_WATER
    true,   // SOIL_SAND
    false,  // SOIL_USER_PY
    false,  // SOIL_VUGGY_LIMESTONE
    false,  // SOIL_SILT
    false,  // SOIL_API_SAND
    false,  // SOIL_WEAK_ROCK
    false,  // SOIL_STIFF_CLAY_INITIAL_K
    false,  // SOIL_LIQUEFIED_SAND
    true,   // SOIL_ELASTIC_SUBGRADE
    true,   // SOIL_SOFT_CLAY_USER_J
    true,   // SOIL_MOD_SOFT_CLAY_INITIAL_K
};

bool py_criterion_built(int code) { return code < 0 || code > SOIL_CODE_COUNT || PY_CRITERION_BUILT[code]; }

bool piles_use_own_py_curves() {
  if (RunOptions.user_py_curves != 1) return false;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    if (PileTable.py_set(p) > 0) return true;
  }
  return false;
}

}  // namespace

std::string UNSUPPORTED_MODEL_FEATURE() {
  if (RunOptions.dimension == MODEL_2D) return "THE PLANE (2D) MODEL";
  if (RunOptions.cap_model > 0) return "PLATE MODEL OF THE PILE CAP";
  // The embedded cap of the plane model enters through the plane solver.
  if (RunOptions.dimension == MODEL_2D && RunOptions.cap_passive_option >= 1 &&
      (CapPassiveElement.method == PASSIVE_BY_MEANS || CapPassiveElement.method == PASSIVE_BY_ELEMENT)) {
    return "PASSIVE RESISTANCE OF AN EMBEDDED CAP IN THE PLANE MODEL";
  }
  if (piles_use_own_py_curves()) return "USER P-Y CURVE INPUT OF THE PILES";
  for (int l = 1; l <= SoilLayerInput.count; ++l) {
    const int code = SoilLayerInput.soil_code(l);
    if (!py_criterion_built(code)) return "P-Y CRITERION OF SOIL CODE " + std::to_string(code);
  }
  return "";
}

void REPORT_UNSUPPORTED_RUN(const std::string& feature) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NOT_SUPPORTED_LAYOUT, feature);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
