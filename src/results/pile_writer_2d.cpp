// The per-pile results writer of the plane model (one entry per pile row):
// after a solved run, or for the minimum or maximum envelope of a pass, the
// cap envelope (TABLE L: vertical and horizontal load, moment; vertical and
// horizontal displacement, rotation), then pile by pile a computation-report
// block and, in a second task of the same parallel region, the pile's
// scratch records and its results-report tables (TABLE M); last, the six
// summary tables in the plane read back from the scratch file. Pile-top
// columns 1-7: displacement X and Y, rotation, force X and Y, moment, stress
// (local: axial and lateral).
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

//         DISP.X,IN   DISP.Y,IN     SLOPE     FOR.X,KIP   FOR.Y,KIP   BM,KIP-IN   STRESS,KIP/IN**2
constexpr const char* GLOBAL_HEADING_LAYOUT =
    "(8X,\"DISP.X,\",A2,3X,\"DISP.Y,\",A2,5X,\"SLOPE\",5X,\"FOR.X,\",A3,3X,\"FOR.Y,\",A3,3X,\"BM,\",A3,A1,A2,3X,"
    "\"STRESS,\",A3,A1,A2,A2,A1,/)";
constexpr const char* LOCAL_HEADING_LAYOUT =
    "(8X,\"DISP.x,\",A2,3X,\"DISP.y,\",A2,5X,\"SLOPE\",5X,\"AXIAL,\",A3,4X,\"LAT,\",A3,4X,\"BM,\",A3,A1,A2,3X,"
    "\"STRESS,\",A3,A1,A2,A2,A1,/)";

constexpr int ROW_VALUES = 3;  // displacements, and reactions, per pile-top row
constexpr int STRESS_INDEX = 2 * ROW_VALUES;
constexpr int ROW_LEAD = 6;
constexpr int STRESS_GAP = 4;
constexpr int FIELD_WIDTH = 12;
constexpr int FIELD_DIGITS = 4;

// One pile-top row: three displacements unchanged, three reactions and,
// after a gap, the stress in the report's force unit.
void write_pile_top_row(const double* values) {
  const int unit = UNIT_RESULTS_REPORT;
  WRITE_BLANKS(unit, ROW_LEAD);
  for (int k = 0; k < ROW_VALUES; ++k) WRITE_REAL_FIELD(unit, FIELD_WIDTH, FIELD_DIGITS, values[k]);
  for (int k = ROW_VALUES; k < STRESS_INDEX; ++k) {
    WRITE_REAL_FIELD(unit, FIELD_WIDTH, FIELD_DIGITS, KIPS_FROM_POUNDS(values[k]));
  }
  WRITE_BLANKS(unit, STRESS_GAP);
  WRITE_REAL_FIELD(unit, FIELD_WIDTH, FIELD_DIGITS, KIPS_FROM_POUNDS(values[STRESS_INDEX]));
  END_REPORT_LINE(unit);
}

void write_pile_top_tables(const PileOutput& o) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view l = u.moment_length(), f = u.force_short();
  // The stress of both rows is the global one.
  double local[STRESS_INDEX + 1];
  for (int k = 0; k < STRESS_INDEX; ++k) local[k] = o.local_values[k];
  local[STRESS_INDEX] = o.global_values[STRESS_INDEX];
  WRITE_PILE_TOP_TITLE(o.pile);
  for (int system = 0; system < 2; ++system) {
    const bool global = system == 0;
    WRITE_COORDINATE_SYSTEM_TITLE(global);
    fio::write(UNIT_RESULTS_REPORT, global ? GLOBAL_HEADING_LAYOUT : LOCAL_HEADING_LAYOUT, l, l, f, f, f, u.dash(), l,
               f, u.slash(), l, u.power(), u.two());
    write_pile_top_row(global ? o.global_values : local);
  }
}

// Task 1's own part: the scratch pile-top records and the pile-top tables.
int write_pile_top(const PileOutput& o, const PrintSwitches& s) {
  const int code = WRITE_PILE_TOP_RECORDS_2D(o.pile, o.global_values, o.local_values);
  if (s.pile_top) write_pile_top_tables(o);
  return code;
}

}  // namespace

void ENVEWR2D(int kind, int which, int& status) {
  if (which >= 1) WRITE_CAP_ENVELOPE(kind, which, true);
  const PileWriterParts parts{ROW_VALUES, write_pile_top, WRITE_PILE_SUMMARY_2D};
  WRITE_PER_PILE_RESULTS(kind, which, parts, status);
}

}  // namespace pilecap
