// Summary tables over all piles of the model in space and in the plane
// (three pile-top values per row). Each table reopens the
// per-pile results scratch file, reads the records it needs of every pile
// (skipping the others line by line), prints a row per pile and then the
// smallest and largest value of each column over all piles with the pile
// where it first occurs. Values are printed as the scratch file holds them,
// already in the report units. Columns are node quantities 1..29 (extreme
// tables) or pile-top values 1..7; piles are numbered by their place in the
// file, eight records each.
#include <span>
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

// ------------------------------------------------------------- layouts

constexpr const char* GLOBAL_BLOCK_LAYOUT =
    "(/,/,7X,\"THE GLOBAL STRUCTURAL COORDINATE SYSTEM\",/,7X,\"---------------------------------------\",/)";
constexpr const char* LOCAL_BLOCK_LAYOUT =
    "(/,/,7X,\"THE PILE COORDINATE SYSTEM (LOCAL AXES)\",/,7X,\"---------------------------------------\",/)";
constexpr const char* EFFECTS_TITLE_LAYOUT = "(/,7X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \")";
constexpr const char* TITLE_LAYOUT = "(/,7X,A)";
constexpr const char* FIRST_TITLE_LAYOUT = "(7X,A)";

//   "      PILE GROUP    DISP. X,IN   DISP. Y,IN ..."
constexpr const char* GLOBAL_DISPLACEMENT_CELLS =
    "(5X,A,\" DISP. X,\",A2,3X,\"DISP. Y,\",A2,3X,\"DISP. Z,\",A2,3X,\"ROT. X,\",A3,3X,\"ROT. Y,\",A3,3X,"
    "\"ROT. Z,\",A3,2X)";
constexpr const char* LOCAL_DISPLACEMENT_CELLS =
    "(5X,A,\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"DISP. z,\",A2,3X,\"ROT. x,\",A3,3X,\"ROT. y,\",A3,3X,"
    "\"ROT. z,\",A3,2X)";
constexpr const char* GLOBAL_REACTION_CELLS =
    "(5X,A,\" FOR. X,\",A3,3X,\"FOR. Y,\",A3,3X,\"FOR. Z,\",A3,1X,\"MOM X,\",A3,A1,A2,1X,\"MOM Y,\",A3,A1,A2,1X,"
    "\"MOM Z,\",A3,A1,A2)";
constexpr const char* LOCAL_REACTION_CELLS =
    "(5X,A,\"  AXIAL,\",A3,4X,\"LAT. y,\",A3,3X,\"LAT. z,\",A3,1X,\"MOM x,\",A3,A1,A2,1X,\"MOM y,\",A3,A1,A2,1X,"
    "\"MOM z,\",A3,A1,A2)";
//   "      **********  ***********  ***********  ..."
constexpr const char* PILE_TOP_RULE_LAYOUT = "(6X,A,6(2X,\"***********\"))";
//   "      PILE GROUP   STRESS,LBS/IN**2"
constexpr const char* STRESS_HEADING_LAYOUT =
    "(/,5X,\" PILE GROUP \",2X,\"STRESS,\",A3,A1,A2,A2,A1,/,6X,\"**********\",2X,\"****************\")";

// The plane model's pile-top headings (a leading empty line on the summary
// only), rows and closing rows.
//         PILE GROUP  DISP. X,IN   DISP. Y,IN   ROT. Z,RAD
constexpr const char* GLOBAL_DISPLACEMENT_CELLS_2D = "(6X,A,\" DISP. X,\",A2,3X,\"DISP. Y,\",A2,3X,\"ROT. Z,\",A3,2X)";
constexpr const char* LOCAL_DISPLACEMENT_CELLS_2D = "(6X,A,\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"ROT. z,\",A3,2X)";
constexpr const char* GLOBAL_REACTION_CELLS_2D =
    "(6X,A,\" FOR. X,\",A3,3X,\"FOR. Y,\",A3,3X,\"MOM Z,\",A3,A1,A2,2X,\"STRESS,\",A3,A1,A2,A2,A1)";
constexpr const char* LOCAL_REACTION_CELLS_2D =
    "(6X,A,\"  AXIAL,\",A3,3X,\"LAT. y,\",A3,3X,\"MOM z,\",A3,A1,A2,2X,\"STRESS,\",A3,A1,A2,A2,A1)";
//          **********  ***********  ***********  ***********
constexpr const char* DISPLACEMENT_RULE_2D = "(7X,A,3(2X,\"***********\"))";
constexpr const char* REACTION_RULE_2D =
    "(7X,A,2X,\"***********\",2X,\"***********\",2X,\"************\",2X,\"****************\")";
//            Pile G.       1            2            1            1
constexpr const char* PILE_COUNTERS_2D = "(7X,\"  Pile G. \",2X,6(I6,7X),I8)";
constexpr std::string_view PILE_CELL_2D = " PILE GROUP ";

constexpr std::string_view PILE_CELL = " PILE GROUP  ";
constexpr std::string_view PILE_CELL_LOCAL_REACTIONS = " PILE GROUP ";
constexpr std::string_view PILE_RULE_CELL = "**********";

// Row fields.
constexpr int ROW_LEAD = 5;
constexpr int PILE_WIDTH = 6;
constexpr int TOP_WIDTH = 13;
constexpr int EXTREME_PILE_WIDTH = 8;
constexpr int EXTREME_WIDTH = 12;
constexpr int ROW_DIGITS = 4;
constexpr int PILE_GAP = 7;
constexpr int EXTREME_PILE_GAP = 6;
constexpr int EXTREME_ROW_LEAD = 6;
constexpr int EXTREME_PILE_ROW_LEAD = 3;

constexpr int ROW_LEAD_2D = 7;
constexpr int PILE_GAP_2D = 6;
constexpr int TOP_WIDTH_2D = 11;
constexpr int VALUE_GAP_2D = 2;

constexpr int PILE_TOP_VALUES = 6;
constexpr int PILE_TOP_DISPLACEMENTS_2D = 3;
constexpr int PILE_TOP_REACTIONS_2D = 4;  // with the stress
constexpr int STRESS_COLUMN = 7;

// Unit texts of UnitLabels.symbols.

// What one (kind, quantity) pair prints.
struct TableShape {
  bool extremes;        // kind 3
  int record;           // the record read (the values record of kind 3)
  int count;            // values read
  int first_column;     // first printed pile-top column
  int last_column;      // last printed pile-top column
  const char* title;    // on UNIT_SUMMARY; nullptr none
  const char* scratch;  // on UNIT_SUMMARY_SCRATCH; nullptr none
  bool first_title;     // no empty line before the summary title
  bool plane = false;   // the plane model's headings, rows and closing rows
};

TableShape table_shape(int kind, int quantity) {
  if (kind == SUMMARY_EXTREMES) {
    const bool minima = quantity == 1;
    return {true,
            minima ? 5 : 7,
            NODAL_RESULT_COUNT,
            1,
            NODAL_RESULT_COUNT,
            minima ? "* MINIMUM VALUES AND LOCATIONS *" : "* MAXIMUM VALUES AND LOCATIONS *",
            nullptr,
            false};
  }
  if (kind == SUMMARY_GLOBAL_AXES) {
    if (quantity == 1) {
      return {false,
              1,
              PILE_TOP_VALUES,
              1,
              PILE_TOP_VALUES,
              "* PILE TOP DISPLACEMENTS *",
              "* PILE TOP DISPLACEMENTS, GLOBAL *",
              true};
    }
    return {false, 2, PILE_TOP_VALUES, 1, PILE_TOP_VALUES, "* PILE TOP REACTIONS *", "* PILE TOP REACTIONS, GLOBAL *",
            false};
  }
  if (quantity == 1) {
    return {false,
            3,
            PILE_TOP_VALUES,
            1,
            PILE_TOP_VALUES,
            "* PILE TOP DISPLACEMENTS *",
            "* PILE TOP DISPLACEMENTS, LOCAL *",
            true};
  }
  if (quantity == 2) {
    return {false, 4, PILE_TOP_VALUES, 1, PILE_TOP_VALUES, "* PILE TOP REACTIONS *", "* PILE TOP REACTIONS, LOCAL *",
            false};
  }
  return {false, 4, STRESS_COLUMN, STRESS_COLUMN, STRESS_COLUMN, nullptr, nullptr, false};
}

// The plane model's tables: the extreme tables as in space, the pile-top
// tables with three displacements or three reactions and the stress.
TableShape table_shape_2d(int kind, int quantity) {
  if (kind == SUMMARY_EXTREMES) return table_shape(kind, quantity);
  TableShape shape = table_shape(kind, quantity == 1 ? 1 : 2);
  shape.count = quantity == 1 ? PILE_TOP_DISPLACEMENTS_2D : PILE_TOP_REACTIONS_2D;
  shape.last_column = shape.count;
  shape.plane = true;
  return shape;
}

// The two heading lines of a plane pile-top table on one unit.
void write_pile_top_heading_2d(int unit, int kind, int quantity, bool summary) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view l = u.moment_length(), f = u.force_short(), rad = u.radians(), dash = u.dash();
  const std::string first = summary ? std::string(PILE_CELL_2D) : std::string(PILE_CELL_2D.size(), ' ');
  const std::string rule = summary ? std::string(PILE_RULE_CELL) : std::string(PILE_RULE_CELL.size(), ' ');
  const bool global = kind == SUMMARY_GLOBAL_AXES;
  if (summary) fio::end_line(unit);
  if (quantity == 1) {
    fio::write(unit, global ? GLOBAL_DISPLACEMENT_CELLS_2D : LOCAL_DISPLACEMENT_CELLS_2D, first, l, l, rad);
    fio::write(unit, DISPLACEMENT_RULE_2D, rule);
  } else {
    fio::write(unit, global ? GLOBAL_REACTION_CELLS_2D : LOCAL_REACTION_CELLS_2D, first, f, f, f, dash, l, f, u.slash(),
               l, u.power(), u.two());
    fio::write(unit, REACTION_RULE_2D, rule);
  }
}

// The two heading lines of a pile-top table on one unit.
void write_pile_top_heading(int unit, int kind, int quantity, bool summary) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view l = u.moment_length();
  const std::string_view f = u.force_short();
  const std::string_view rad = u.radians();
  const std::string_view dash = u.dash();
  const bool local_reactions = kind == SUMMARY_LOCAL_AXES && quantity == 2;
  const std::string_view cell = local_reactions ? PILE_CELL_LOCAL_REACTIONS : PILE_CELL;
  const std::string first = summary ? std::string(cell) : std::string(cell.size(), ' ');
  if (summary) fio::end_line(unit);
  if (quantity == 1) {
    fio::write(unit, kind == SUMMARY_GLOBAL_AXES ? GLOBAL_DISPLACEMENT_CELLS : LOCAL_DISPLACEMENT_CELLS, first, l, l, l,
               rad, rad, rad);
  } else {
    fio::write(unit, local_reactions ? LOCAL_REACTION_CELLS : GLOBAL_REACTION_CELLS, first, f, f, f, f, dash, l, f,
               dash, l, f, dash, l);
  }
  const std::string rule = summary ? std::string(PILE_RULE_CELL) : std::string(PILE_RULE_CELL.size(), ' ');
  fio::write(unit, PILE_TOP_RULE_LAYOUT, rule);
}

void write_titles_and_headings(int kind, int quantity, const TableShape& shape, const ResultColumnFlags& flags) {
  if (shape.title) fio::write(UNIT_SUMMARY, shape.first_title ? FIRST_TITLE_LAYOUT : TITLE_LAYOUT, shape.title);
  if (shape.scratch) fio::write(UNIT_SUMMARY_SCRATCH, TITLE_LAYOUT, shape.scratch);
  if (shape.extremes) {
    WRITE_RESULT_COLUMN_HEADERS(HEADING_SUMMARY, flags);
    if (quantity == 1) WRITE_RESULT_COLUMN_HEADERS(HEADING_SUMMARY_SCRATCH, flags);
    return;
  }
  if (shape.first_column == STRESS_COLUMN) {
    const UnitLabelsRecord& u = UnitLabels;
    fio::write(UNIT_SUMMARY, STRESS_HEADING_LAYOUT, u.force_short(), u.slash(), u.moment_length(), u.power(), u.two());
    return;
  }
  if (shape.plane) {
    write_pile_top_heading_2d(UNIT_SUMMARY, kind, quantity, true);
    write_pile_top_heading_2d(UNIT_SUMMARY_SCRATCH, kind, quantity, false);
    return;
  }
  write_pile_top_heading(UNIT_SUMMARY, kind, quantity, true);
  write_pile_top_heading(UNIT_SUMMARY_SCRATCH, kind, quantity, false);
}

using Extremes = SummaryExtremes;

// One pile's rows of the table from its read records.
void write_pile_rows(int p, const TableShape& shape, const ResultColumnFlags& flags, const PileScratchRead& r,
                     Extremes& e) {
  if (!shape.extremes) {
    WRITE_BLANKS(UNIT_SUMMARY, shape.plane ? ROW_LEAD_2D : ROW_LEAD);
    WRITE_INT_FIELD(UNIT_SUMMARY, PILE_WIDTH, r.pile_number);
    WRITE_BLANKS(UNIT_SUMMARY, shape.plane ? PILE_GAP_2D : ROW_LEAD);
    for (int c = shape.first_column; c <= shape.last_column; ++c) {
      WRITE_REAL_FIELD(UNIT_SUMMARY, shape.plane ? TOP_WIDTH_2D : TOP_WIDTH, ROW_DIGITS, r.values(c));
      if (shape.plane) WRITE_BLANKS(UNIT_SUMMARY, VALUE_GAP_2D);
    }
    END_REPORT_LINE(UNIT_SUMMARY);
    UPDATE_MIN_MAX_LOCATION(p, shape.count, e.pile_of_minimum, e.pile_of_maximum, r.values, e.minimum, e.maximum);
    return;
  }
  WRITE_BLANKS(UNIT_SUMMARY, 1);
  WRITE_INT_FIELD(UNIT_SUMMARY, EXTREME_PILE_WIDTH, r.pile_number);
  WRITE_BLANKS(UNIT_SUMMARY, 1);
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) > 0) WRITE_REAL_FIELD(UNIT_SUMMARY, EXTREME_WIDTH, ROW_DIGITS, r.values(q));
  }
  END_REPORT_LINE(UNIT_SUMMARY);
  UPDATE_MIN_MAX_LOCATION(p, NODAL_RESULT_COUNT, e.pile_of_minimum, e.pile_of_maximum, r.values, e.minimum, e.maximum);
  WRITE_BLANKS(UNIT_SUMMARY, ROW_LEAD);
  fio::append(UNIT_SUMMARY, r.depth_label);
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) > 0) WRITE_REAL_FIELD(UNIT_SUMMARY, EXTREME_WIDTH, ROW_DIGITS, r.depths(q));
  }
  END_REPORT_LINE(UNIT_SUMMARY);
}

}  // namespace

void WRITE_EXTREME_VALUE_ROWS(int unit, bool minima, const ResultColumnFlags& flags, const SummaryExtremes& e,
                              int value_lead, int pile_lead) {
  WRITE_BLANKS(unit, value_lead);
  fio::append(unit, minima ? "Min." : "Max.");
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) > 0) WRITE_REAL_FIELD(unit, EXTREME_WIDTH, ROW_DIGITS, minima ? e.minimum(q) : e.maximum(q));
  }
  END_REPORT_LINE(unit);
  WRITE_BLANKS(unit, pile_lead);
  fio::append(unit, "Pile N.  ");
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) <= 0) continue;
    WRITE_INT_FIELD(unit, PILE_WIDTH, minima ? e.pile_of_minimum(q) : e.pile_of_maximum(q));
    WRITE_BLANKS(unit, EXTREME_PILE_GAP);
  }
  END_REPORT_LINE(unit);
}

void WRITE_PILE_TOP_EXTREME_ROWS(int unit, int first_column, int last_column, const SummaryExtremes& e) {
  for (int side = 0; side < 2; ++side) {
    const bool minimum = side == 0;
    WRITE_BLANKS(unit, ROW_LEAD);
    fio::append(unit, minimum ? "  MINIMUM  " : "  MAXIMUM  ");
    for (int c = first_column; c <= last_column; ++c) {
      WRITE_REAL_FIELD(unit, TOP_WIDTH, ROW_DIGITS, minimum ? e.minimum(c) : e.maximum(c));
    }
    END_REPORT_LINE(unit);
    WRITE_BLANKS(unit, ROW_LEAD);
    fio::append(unit, "  Pile N. ");
    WRITE_BLANKS(unit, 4);
    for (int c = first_column; c <= last_column; ++c) {
      if (c > first_column) WRITE_BLANKS(unit, PILE_GAP);
      WRITE_INT_FIELD(unit, PILE_WIDTH, minimum ? e.pile_of_minimum(c) : e.pile_of_maximum(c));
    }
    fio::end_line(unit);
  }
}

void WRITE_PILE_TOP_EXTREME_ROWS_2D(int unit, int count, const SummaryExtremes& e) {
  for (int side = 0; side < 2; ++side) {
    const bool minimum = side == 0;
    WRITE_BLANKS(unit, ROW_LEAD_2D);
    fio::append(unit, minimum ? "  MINIMUM " : "  MAXIMUM ");
    WRITE_BLANKS(unit, VALUE_GAP_2D);
    for (int c = 1; c <= count; ++c) {
      WRITE_REAL_FIELD(unit, TOP_WIDTH_2D, ROW_DIGITS, minimum ? e.minimum(c) : e.maximum(c));
      WRITE_BLANKS(unit, VALUE_GAP_2D);
    }
    END_REPORT_LINE(unit);
    const ResultColumnFlags& piles = minimum ? e.pile_of_minimum : e.pile_of_maximum;
    fio::write(unit, PILE_COUNTERS_2D, std::span<const int>(piles.data(), static_cast<std::size_t>(count)));
  }
}

void UPDATE_MIN_MAX_LOCATION(int index, int n, ResultColumnFlags& pile_of_minimum, ResultColumnFlags& pile_of_maximum,
                             const ResultColumnValues& values, ResultColumnValues& minimum,
                             ResultColumnValues& maximum) {
  if (n > NODAL_RESULT_COUNT) n = NODAL_RESULT_COUNT;
  if (index == 1) {
    for (int c = 1; c <= n; ++c) {
      minimum(c) = maximum(c) = values(c);
      pile_of_minimum(c) = pile_of_maximum(c) = index;
    }
  }
  for (int c = 1; c <= n; ++c) {
    if (values(c) > maximum(c)) {
      maximum(c) = values(c);
      pile_of_maximum(c) = index;
    }
    if (values(c) < minimum(c)) {
      minimum(c) = values(c);
      pile_of_minimum(c) = index;
    }
  }
}

namespace {

// One table of the given shape: titles, headings, rows, closing rows.
void summary_table(int kind, int quantity, const TableShape& shape, int n_piles, const ResultColumnFlags& flags,
                   int& status) {
  write_titles_and_headings(kind, quantity, shape, flags);
  Extremes e;
  for (int c = 1; c <= NODAL_RESULT_COUNT; ++c) {
    e.pile_of_minimum(c) = e.pile_of_maximum(c) = 1;
    e.minimum(c) = e.maximum(c) = 0.0;
  }
  READ_PILE_SCRATCH(n_piles, shape.record, shape.count, shape.extremes, status,
                    [&](int p, const PileScratchRead& r) { write_pile_rows(p, shape, flags, r, e); });
  if (status != STATUS_OK) return;
  if (n_piles < 1) return;  // no pile, no extremes to show

  fio::end_line(UNIT_SUMMARY);
  if (shape.extremes) {
    const bool minima = quantity == 1;
    WRITE_EXTREME_VALUE_ROWS(UNIT_SUMMARY, minima, flags, e, EXTREME_ROW_LEAD, EXTREME_PILE_ROW_LEAD);
    WRITE_EXTREME_VALUE_ROWS(UNIT_SUMMARY_SCRATCH, minima, flags, e, EXTREME_ROW_LEAD, EXTREME_PILE_ROW_LEAD);
    return;
  }
  if (shape.plane) {
    WRITE_PILE_TOP_EXTREME_ROWS_2D(UNIT_SUMMARY, shape.count, e);
    WRITE_PILE_TOP_EXTREME_ROWS_2D(UNIT_SUMMARY_SCRATCH, shape.count, e);
    return;
  }
  WRITE_PILE_TOP_EXTREME_ROWS(UNIT_SUMMARY, shape.first_column, shape.last_column, e);
  if (shape.first_column != STRESS_COLUMN)
    WRITE_PILE_TOP_EXTREME_ROWS(UNIT_SUMMARY_SCRATCH, shape.first_column, shape.last_column, e);
}

}  // namespace

void PILE_SUMMARY_TABLE(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int& status) {
  summary_table(kind, quantity, table_shape(kind, quantity), n_piles, flags, status);
}

void PILE_SUMMARY_TABLE_2D(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int& status) {
  summary_table(kind, quantity, table_shape_2d(kind, quantity), n_piles, flags, status);
}

void WRITE_PILE_SUMMARY_2D(int n_piles, const ResultColumnFlags& flags, int& status) {
  auto tables = [&](int kind) {
    for (int quantity = 1; quantity <= 2 && status == STATUS_OK; ++quantity) {
      PILE_SUMMARY_TABLE_2D(kind, quantity, n_piles, flags, status);
    }
  };
  fio::write(UNIT_SUMMARY, GLOBAL_BLOCK_LAYOUT);
  tables(SUMMARY_GLOBAL_AXES);
  if (status != STATUS_OK) return;
  fio::write(UNIT_SUMMARY, LOCAL_BLOCK_LAYOUT);
  tables(SUMMARY_LOCAL_AXES);
  if (status != STATUS_OK) return;
  fio::write(UNIT_SUMMARY, EFFECTS_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, EFFECTS_TITLE_LAYOUT);
  tables(SUMMARY_EXTREMES);
}

void WRITE_PILE_SUMMARY_TABLES(int n_piles, const ResultColumnFlags& flags, int& status) {
  struct Table {
    int kind, quantity;
  };
  static constexpr Table GLOBAL_TABLES[] = {{SUMMARY_GLOBAL_AXES, 1}, {SUMMARY_GLOBAL_AXES, 2}};
  static constexpr Table LOCAL_TABLES[] = {{SUMMARY_LOCAL_AXES, 1}, {SUMMARY_LOCAL_AXES, 2}, {SUMMARY_LOCAL_AXES, 3}};
  static constexpr Table EXTREME_TABLES[] = {{SUMMARY_EXTREMES, 1}, {SUMMARY_EXTREMES, 2}};
  fio::write(UNIT_SUMMARY, GLOBAL_BLOCK_LAYOUT);
  for (const Table& t : GLOBAL_TABLES) {
    PILE_SUMMARY_TABLE(t.kind, t.quantity, n_piles, flags, status);
    if (status != STATUS_OK) return;
  }
  fio::write(UNIT_SUMMARY, LOCAL_BLOCK_LAYOUT);
  for (const Table& t : LOCAL_TABLES) {
    PILE_SUMMARY_TABLE(t.kind, t.quantity, n_piles, flags, status);
    if (status != STATUS_OK) return;
  }
  fio::write(UNIT_SUMMARY, EFFECTS_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, EFFECTS_TITLE_LAYOUT);
  for (const Table& t : EXTREME_TABLES) {
    PILE_SUMMARY_TABLE(t.kind, t.quantity, n_piles, flags, status);
    if (status != STATUS_OK) return;
  }
}

}  // namespace pilecap
