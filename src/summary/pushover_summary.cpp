// Summary tables over all piles of one incremental (pushover) point, in space
// and in the plane: the pile-top displacements and reactions in pile axes,
// and the minima and maxima along the piles with the pile and the depth
// where each extreme over all piles first occurs. Like the tables after a
// run they read the per-pile results scratch file back (eight records per
// pile, pile order) and print the values as it holds them, already in the
// report units; unlike them they print no row per pile. Columns and piles
// are 1-based; a pile is numbered by its place in the file.
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "model/run_state.hpp"
#include "summary/result_columns.hpp"
#include "summary/summary.hpp"
#include "summary/summary_rows.hpp"

namespace pilecap {

namespace {

//        * PILE TOP DISPLACEMENTS, LOCAL *
constexpr const char* DISPLACEMENT_TITLE_LAYOUT = "(/,7X,\"* PILE TOP DISPLACEMENTS, LOCAL *\")";
constexpr const char* REACTION_TITLE_LAYOUT = "(/,7X,\"* PILE TOP REACTIONS, LOCAL *\")";
//                    DISP. x,IN   DISP. y,IN   DISP. z,IN   ROT. x,RAD   ROT. y,RAD   ROT. z,RAD
constexpr const char* DISPLACEMENT_HEADING_LAYOUT =
    "(18X,\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"DISP. z,\",A2,3X,\"ROT. x,\",A3,3X,\"ROT. y,\",A3,3X,\"ROT. "
    "z,\",A3,2X)";
//                    AXIAL,KIP    LAT. y,KIP   LAT. z,KIP  MOM x,KIP-IN MOM y,KIP-IN MOM z,KIP-IN
constexpr const char* REACTION_HEADING_LAYOUT =
    "(17X,\"  AXIAL,\",A3,4X,\"LAT. y,\",A3,3X,\"LAT. z,\",A3,2X,\"MOM x,\",A3,A1,A2,1X,\"MOM y,\",A3,A1,A2,1X,\"MOM "
    "z,\",A3,A1,A2)";
// The plane model: an empty line, then the heading with its pile cell.
//       PILE GROUP  DISP. x,IN   DISP. y,IN   ROT. z,RAD
constexpr const char* DISPLACEMENT_HEADING_LAYOUT_2D =
    "(/,6X,\" PILE GROUP \",\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"ROT. z,\",A3,2X)";
//       PILE GROUP   AXIAL,KIP   LAT. y,KIP   MOM z,KIP-IN  STRESS,KIP/IN**2
constexpr const char* REACTION_HEADING_LAYOUT_2D =
    "(/,6X,\" PILE GROUP \",\"  AXIAL,\",A3,3X,\"LAT. y,\",A3,3X,\"MOM z,\",A3,A1,A2,2X,\"STRESS,\",A3,A1,A2,A2,A1)";

// The rows of the extreme-value tables.
constexpr int EXTREME_ROW_LEAD = 10;
constexpr int EXTREME_PILE_ROW_LEAD = 7;
constexpr int EXTREME_DEPTH_ROW_LEAD = 9;
constexpr int EXTREME_WIDTH = 12;
constexpr int EXTREME_DIGITS = 4;

// Values read from the pile-top records: six in space (the stress of the
// reactions record is not read); three displacements, or three reactions
// and the stress, in the plane.
constexpr int TOP_VALUES = 6;
constexpr int TOP_DISPLACEMENTS_2D = 3;
constexpr int TOP_REACTIONS_2D = 4;

// Print options from which the results report gets the headings and the rows.
constexpr int HEADINGS_ON_RESULTS = 1;
constexpr int ROWS_ON_RESULTS = 2;

// The state of one extreme-value table: the extremes, and where they lie.
struct DepthExtremes {
  SummaryExtremes e;
  ResultColumnValues depth_of_minimum, depth_of_maximum;
  std::string label;
};

// The title and heading of a pile-top table on one unit.
void write_pile_top_heading(int unit, int quantity, bool plane) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view l = u.moment_length(), f = u.force_short(), rad = u.radians(), dash = u.dash();
  if (quantity == 1) {
    fio::write(unit, DISPLACEMENT_TITLE_LAYOUT);
    if (plane) {
      fio::write(unit, DISPLACEMENT_HEADING_LAYOUT_2D, l, l, rad);
    } else {
      fio::write(unit, DISPLACEMENT_HEADING_LAYOUT, l, l, l, rad, rad, rad);
    }
    return;
  }
  fio::write(unit, REACTION_TITLE_LAYOUT);
  if (plane) {
    fio::write(unit, REACTION_HEADING_LAYOUT_2D, f, f, f, dash, l, f, u.slash(), l, u.power(), u.two());
  } else {
    fio::write(unit, REACTION_HEADING_LAYOUT, f, f, f, f, dash, l, f, dash, l, f, dash, l);
  }
}

// The Min. (or Max.) row of an extreme-value table, its pile row and its
// depth row, on one unit.
void write_extreme_rows(int unit, bool minima, const ResultColumnFlags& flags, const DepthExtremes& d) {
  WRITE_EXTREME_VALUE_ROWS(unit, minima, flags, d.e, EXTREME_ROW_LEAD, EXTREME_PILE_ROW_LEAD);
  WRITE_BLANKS(unit, EXTREME_DEPTH_ROW_LEAD);
  fio::append(unit, d.label);
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) <= 0) continue;
    WRITE_REAL_FIELD(unit, EXTREME_WIDTH, EXTREME_DIGITS, minima ? d.depth_of_minimum(q) : d.depth_of_maximum(q));
  }
  END_REPORT_LINE(unit);
}

// One table of a pushover point, in space or in the plane.
void pushover_table(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int print_option, bool plane,
                    int& status) {
  const bool extremes = kind == SUMMARY_EXTREMES;
  if (!extremes) {
    write_pile_top_heading(UNIT_SUMMARY, quantity, plane);
    if (print_option >= HEADINGS_ON_RESULTS) write_pile_top_heading(UNIT_RESULTS_REPORT, quantity, plane);
  } else if (quantity == 1) {
    WRITE_RESULT_COLUMN_HEADERS(HEADING_SUMMARY_PUSHOVER, flags);
    if (print_option >= ROWS_ON_RESULTS) WRITE_RESULT_COLUMN_HEADERS(HEADING_RESULTS_PUSHOVER, flags);
  }

  // Every extreme starts at 0 on pile 1 and depth 0, then follows the piles.
  DepthExtremes d;
  for (int c = 1; c <= NODAL_RESULT_COUNT; ++c) {
    d.e.pile_of_minimum(c) = d.e.pile_of_maximum(c) = 1;
    d.e.minimum(c) = d.e.maximum(c) = 0.0;
    d.depth_of_minimum(c) = d.depth_of_maximum(c) = 0.0;
  }
  int record = 0, count = 0;
  if (extremes) {
    record = quantity == 1 ? 5 : 7;
    count = NODAL_RESULT_COUNT;
  } else {
    record = quantity == 1 ? 3 : 4;
    count = !plane ? TOP_VALUES : (quantity == 1 ? TOP_DISPLACEMENTS_2D : TOP_REACTIONS_2D);
  }
  READ_PILE_SCRATCH(n_piles, record, count, extremes, status, [&](int p, const PileScratchRead& r) {
    if (extremes) {
      d.label = r.depth_label;
      UPDATE_MIN_MAX_LOCATION_DEPTH(p, count, d.e.pile_of_minimum, d.e.pile_of_maximum, r.values, d.e.minimum,
                                    d.e.maximum, r.depths, d.depth_of_minimum, d.depth_of_maximum);
    } else {
      UPDATE_MIN_MAX_LOCATION(p, count, d.e.pile_of_minimum, d.e.pile_of_maximum, r.values, d.e.minimum, d.e.maximum);
    }
  });
  if (status != STATUS_OK) return;
  if (n_piles < 1) return;  // no pile, no extremes to show

  for (int unit : {UNIT_SUMMARY, UNIT_RESULTS_REPORT}) {
    if (unit == UNIT_RESULTS_REPORT && print_option < ROWS_ON_RESULTS) break;
    if (extremes) {
      write_extreme_rows(unit, quantity == 1, flags, d);
    } else if (plane) {
      WRITE_PILE_TOP_EXTREME_ROWS_2D(unit, count, d.e);
    } else {
      WRITE_PILE_TOP_EXTREME_ROWS(unit, 1, count, d.e);
    }
  }
}

}  // namespace

void UPDATE_MIN_MAX_LOCATION_DEPTH(int pile, int n, ResultColumnFlags& pile_of_minimum,
                                   ResultColumnFlags& pile_of_maximum, const ResultColumnValues& values,
                                   ResultColumnValues& minimum, ResultColumnValues& maximum,
                                   const ResultColumnValues& depths, ResultColumnValues& depth_of_minimum,
                                   ResultColumnValues& depth_of_maximum) {
  if (n > NODAL_RESULT_COUNT) n = NODAL_RESULT_COUNT;
  if (pile == 1) {
    for (int c = 1; c <= n; ++c) {
      minimum(c) = maximum(c) = values(c);
      pile_of_minimum(c) = pile_of_maximum(c) = 1;
      depth_of_minimum(c) = depth_of_maximum(c) = depths(c);
    }
  }
  for (int c = 1; c <= n; ++c) {
    if (values(c) < minimum(c)) {
      minimum(c) = values(c);
      pile_of_minimum(c) = pile;
      depth_of_minimum(c) = depths(c);
    }
    if (values(c) > maximum(c)) {
      maximum(c) = values(c);
      pile_of_maximum(c) = pile;
      depth_of_maximum(c) = depths(c);
    }
  }
}

void PILE_SUMMARY_TABLE_P(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int print_option,
                          int& status) {
  pushover_table(kind, quantity, n_piles, flags, print_option, false, status);
}

void PILE_SUMMARY_TABLE_2DP(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int print_option,
                            int& status) {
  pushover_table(kind, quantity, n_piles, flags, print_option, true, status);
}

}  // namespace pilecap
