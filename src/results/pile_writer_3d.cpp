// The per-pile results writer of the model in space: after a solved run, or
// for the minimum or maximum envelope of a pass, the cap envelope (TABLE L),
// then pile by pile a computation-report block and, in a second task of the
// same parallel region, the pile's scratch records and its results-report
// tables (TABLE M); last, the summary tables over all piles read back from
// the scratch file. Result tables are (pile, row, quantity) with node k at
// row k + 4; forces in the results report follow the kip option, the
// computation report keeps the internal units.
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "results/pile_writer.hpp"
#include "results/results.hpp"
#include "summary/summary.hpp"

namespace pilecap {

namespace {

// ------------------------------------------------------------- layouts

//   "      DISP. X,IN   DISP. Y,IN   DISP. Z,IN   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD  "
constexpr const char* GLOBAL_DISPLACEMENT_HEADING_LAYOUT =
    "(/,5X,\" DISP. X,\",A2,3X,\"DISP. Y,\",A2,3X,\"DISP. Z,\",A2,3X,\"ROT. X,\",A3,3X,\"ROT. Y,\",A3,3X,\"ROT. "
    "Z,\",A3,"
    "2X)";
constexpr const char* LOCAL_DISPLACEMENT_HEADING_LAYOUT =
    "(/,5X,\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"DISP. z,\",A2,3X,\"ROT. x,\",A3,3X,\"ROT. y,\",A3,3X,\"ROT. "
    "z,\",A3,"
    "2X)";
constexpr const char* GLOBAL_REACTION_HEADING_LAYOUT =
    "(/,5X,\" FOR. X,\",A3,3X,\"FOR. Y,\",A3,3X,\"FOR. Z,\",A3,2X,\"MOM X,\",A3,A1,A2,1X,\"MOM Y,\",A3,A1,A2,1X,"
    "\"MOM Z,\",A3,A1,A2)";
constexpr const char* LOCAL_REACTION_HEADING_LAYOUT =
    "(/,5X,\"  AXIAL,\",A3,3X,\"LAT. y,\",A3,3X,\"LAT. z,\",A3,2X,\"MOM x,\",A3,A1,A2,1X,\"MOM y,\",A3,A1,A2,1X,"
    "\"MOM z,\",A3,A1,A2)";
//   "     STR,LBS/IN**2"
constexpr const char* STRESS_HEADING_LAYOUT = "(/,5X,\"STR,\",A3,A1,A2,A2,A1)";

// Fields of the value rows.
constexpr int PILE_TOP_ROW_LEAD = 3;
constexpr int PILE_TOP_WIDTH = 13;
constexpr int PILE_TOP_DIGITS = 4;

constexpr int CAP_COMPONENTS = 6;

// In place of an envelope's TABLE L when the cap is the plate: a plate bends,
// so no one load and displacement at the origin stand for the cap of a run.
//      NOTE: THE CAP ENVELOPE IS NOT FORMED: THE PLATE MODEL OF THE CAP HAS NO SINGLE DISPLACEMENT AT THE ORIGIN
constexpr const char* PLATE_NO_CAP_ENVELOPE_LAYOUT =
    "(/,5X,\"NOTE: THE CAP ENVELOPE IS NOT FORMED: THE PLATE MODEL OF THE CAP HAS NO SINGLE DISPLACEMENT AT THE "
    "ORIGIN\")";

// The pile-top tables of the results report.
void write_pile_top_tables(const PileOutput& o) {
  const int unit = UNIT_RESULTS_REPORT;
  const UnitLabelsRecord& u = UnitLabels;
  const double stress = o.global_values[PT_STRESS - 1];
  const std::string_view f = u.force_short();
  const std::string_view l = u.moment_length();
  WRITE_PILE_TOP_TITLE(o.pile);
  for (int system = 0; system < 2; ++system) {
    const bool global = system == 0;
    const double* top = global ? o.global_values : o.local_values;
    WRITE_COORDINATE_SYSTEM_TITLE(global);
    fio::write(unit, global ? GLOBAL_DISPLACEMENT_HEADING_LAYOUT : LOCAL_DISPLACEMENT_HEADING_LAYOUT, l, l, l,
               UnitLabels.radians(), UnitLabels.radians(), UnitLabels.radians());
    WRITE_VALUE_ROW(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, top, CAP_COMPONENTS, 0, false);
    fio::write(unit, global ? GLOBAL_REACTION_HEADING_LAYOUT : LOCAL_REACTION_HEADING_LAYOUT, f, f, f, f,
               UnitLabels.dash(), l, f, UnitLabels.dash(), l, f, UnitLabels.dash(), l);
    WRITE_VALUE_ROW(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, top + CAP_COMPONENTS, CAP_COMPONENTS, 0,
                    true);
    fio::write(unit, STRESS_HEADING_LAYOUT, f, UnitLabels.slash(), l, UnitLabels.power(), UnitLabels.two());
    WRITE_VALUE_ROW(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, &stress, 1, 0, true);
  }
}

// Task 1's own part: the scratch pile-top records and the pile-top tables.
int write_pile_top(const PileOutput& o, const PrintSwitches& s) {
  const int code = WRITE_PILE_TOP_RECORDS(o.pile, o.global_values, o.local_values);
  if (s.pile_top) write_pile_top_tables(o);
  return code;
}

// The per-pile part of a run or an envelope: every pile's tables, then the
// summary tables.
void write_piles(int kind, int which, int& status) {
  const PileWriterParts parts{CAP_COMPONENTS, write_pile_top, WRITE_PILE_SUMMARY_TABLES};
  WRITE_PER_PILE_RESULTS(kind, which, parts, status);
}

}  // namespace

void ENVEWR(int kind, int which, int& status) {
  if (which >= 1) WRITE_CAP_ENVELOPE(kind, which, false);
  write_piles(kind, which, status);
}

void PLATE_CAP_ENVEWR(int kind, int which, int& status) {
  WRITE_ENVELOPE_TITLES(kind, which);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_COMPUTATION_REPORT}) {
    fio::write(unit, PLATE_NO_CAP_ENVELOPE_LAYOUT);
  }
  WRITE_TABLE_M_TITLES();
  write_piles(kind, which, status);
}

}  // namespace pilecap
