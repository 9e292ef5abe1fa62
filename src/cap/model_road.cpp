// The table of the three model roads, and the refusal of a model that
// selects a feature whose analysis is not built yet: such a model is
// refused as a whole before its first case, every case and combination
// getting a note on the run log and the not-performed result code, so that
// nothing computed without the feature can be taken for an answer.

#include "cap/model_road.hpp"

#include <string>

#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

//      NOTE: AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP IS NOT YET SUPPORTED, RUN NOT ANALYZED
constexpr const char* NOT_SUPPORTED_LAYOUT = "(5X,\"NOTE: \",A,\" IS NOT YET SUPPORTED, RUN NOT ANALYZED\")";
//      NOTE: ESTIMATION AND PUSHOVER POINTS NEED A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT ANALYZED
constexpr const char* PLATE_POINTS_REFUSED_LAYOUT =
    "(5X,\"NOTE: ESTIMATION AND PUSHOVER POINTS NEED A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT "
    "ANALYZED\")";
//      NOTE: ENVELOPES ARE NOT FORMED: NO RUN OF THE PLATE MODEL OF THE CAP GAVE PILE RESULTS
constexpr const char* PLATE_NO_ENVELOPES_LAYOUT =
    "(/,5X,\"NOTE: ENVELOPES ARE NOT FORMED: NO RUN OF THE PLATE MODEL OF THE CAP GAVE PILE RESULTS\")";

using EnvelopeWriter = void (*)(int kind, int which, int& status);

void write_both_envelopes(EnvelopeWriter writer, int kind, int& status) {
  for (int which : {ENVELOPE_MINIMUM, ENVELOPE_MAXIMUM}) {
    writer(kind, which, status);
    if (status != STATUS_OK) return;
  }
}

void plane_envelopes(int kind, int& status) { write_both_envelopes(ENVEWR2D, kind, status); }
void space_envelopes(int kind, int& status) { write_both_envelopes(ENVEWR, kind, status); }

// The plate's runs fill the pile envelopes in their final pile evaluation;
// only the cap's own envelope has no plate counterpart. When no run of the
// pass did (the plate only exported, or no run converged) the stores hold
// their reset zeros, which are no answer.
void plate_envelopes(int kind, int& status) {
  if (AnalysisControl.first_run <= 1) {
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_RUN_LOG}) fio::write(unit, PLATE_NO_ENVELOPES_LAYOUT);
    fio::flush(UNIT_RUN_LOG);
    return;
  }
  write_both_envelopes(PLATE_CAP_ENVEWR, kind, status);
}

std::string nothing_refused() { return ""; }

// The plate carries the cap alone: it adds no embedded cap's resistance,
// so a model that asks for one with it is not analysed.
std::string plate_refused_feature() {
  if (RunOptions.cap_passive_option >= 1) return "AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP";
  return "";
}

// In the order of CapModelKind. The plate model carries one load and writes
// none of the level, point or pushover records the estimations read.
constexpr ModelRoad ROADS[] = {
    {CapModelKind::PLANE_RIGID, MODEL_2D, CAP_DOFS_2D, false, SOLVE_CAP_2D, RESET_ENVELOPES_2D, plane_envelopes,
     nothing_refused, nullptr},
    {CapModelKind::SPACE_RIGID, MODEL_3D, CAP_DOFS, true, SOLVE_CAP_3D, RESET_ENVELOPES, space_envelopes,
     nothing_refused, nullptr},
    {CapModelKind::SPACE_PLATE, MODEL_3D, CAP_DOFS, true, SOLVE_PLATE_CAP, RESET_ENVELOPES, plate_envelopes,
     plate_refused_feature, PLATE_POINTS_REFUSED_LAYOUT},
};
static_assert(ROADS[0].kind == CapModelKind::PLANE_RIGID && ROADS[1].kind == CapModelKind::SPACE_RIGID &&
              ROADS[2].kind == CapModelKind::SPACE_PLATE);

}  // namespace

const ModelRoad& MODEL_ROAD(CapModelKind kind) { return ROADS[static_cast<int>(kind)]; }

std::string UNSUPPORTED_MODEL_FEATURE() { return MODEL_ROAD(CAP_MODEL_KIND()).refused_feature(); }

void REPORT_REFUSED_RUN(const char* layout) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, layout);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

void REPORT_UNSUPPORTED_RUN(const std::string& feature) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NOT_SUPPORTED_LAYOUT, feature);
  fio::flush(UNIT_RUN_LOG);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

}  // namespace pilecap
