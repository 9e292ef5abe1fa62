// Result table rows and columns: which of the 29 node quantities a table
// shows, the heading lines of the shown columns, the node rows of the results
// report and the numeric node block of the computation report. Node k of a
// pile is row k + 4 of its PileNodeValues (row fastest); depths are k times
// the increment of the pile's property set, in the internal length unit until
// a report converts them.
#include "summary/result_columns.hpp"

#include <cmath>
#include <span>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// Quantities that exist only in space; the computation block also drops the
// y-direction rotation and hinge.
constexpr int SPACE_ONLY_COLUMNS[] = {NR_DISPL_Z,         NR_DISPL_YZ,         NR_DISPL_GZ,        NR_DISPL_GYZ,
                                      NR_MOMENT_Y,        NR_MOMENT_YZ,        NR_SHEAR_Z,         NR_SHEAR_YZ,
                                      NR_SOIL_REACTION_Z, NR_SOIL_REACTION_YZ, NR_FLEX_RIGIDITY_Y, NR_DIST_LOAD_Z};
constexpr int SPACE_ONLY_BLOCK_EXTRA[] = {NR_ROTATION_Y, NR_HINGE_Y};
// The axial load transfer: axial and global displacements, axial force.
constexpr int AXIAL_COLUMNS[] = {NR_DISPL_X, NR_DISPL_GX, NR_DISPL_GY, NR_DISPL_GZ, NR_DISPL_GYZ, NR_AXIAL_FORCE};
constexpr int DEMAND_CAPACITY_COLUMNS[] = {NR_DEMAND_CAPACITY_MOMENT, NR_DEMAND_CAPACITY_SHEAR};
// Quantities the results report shows in the reported force unit.
constexpr int FIRST_FORCE_QUANTITY = NR_MOMENT_Z;
constexpr int LAST_FORCE_QUANTITY = NR_DIST_LOAD_Z;
// The last quantity the input lists select.
constexpr int LAST_LISTED_QUANTITY = NR_DEMAND_CAPACITY_SHEAR;

// A node row: a blank, then 12-column fields of 4 digits.
constexpr int NODE_ROW_CAPACITY = 500;
constexpr int NODE_FIELD_WIDTH = 12;
constexpr int NODE_FIELD_DIGITS = 4;

//   "        29    1    1    1    1    1 ..."
constexpr const char* NODE_BLOCK_FLAGS_LAYOUT = "(I10,30I5)";
//   "      0.00000000E+00  1.2345678       ..."
constexpr const char* NODE_BLOCK_ROW_LAYOUT = "(6X,1P,30G16.8)";

template <std::size_t N>
void clear(ResultColumnFlags& flags, const int (&columns)[N]) {
  for (int q : columns) flags(q) = 0;
}

bool axial_transfer_hidden(int ls_indicator, int axial_variation) { return ls_indicator > 0 || axial_variation == 0; }

// Unit, lead blanks and rule line of a heading mode.
struct HeadingMode {
  int unit;
  int lead;
  bool rule;
};
HeadingMode heading_mode(int mode) {
  switch (mode) {
    case HEADING_NODE_TABLE:
      return {UNIT_RESULTS_REPORT, 2, true};
    case HEADING_SUMMARY:
      return {UNIT_SUMMARY, 3, true};
    case HEADING_SUMMARY_SCRATCH:
      return {UNIT_SUMMARY_SCRATCH, 3, true};
    case HEADING_RESULTS_PUSHOVER:
      return {UNIT_RESULTS_REPORT, 7, false};
    default:
      return {UNIT_SUMMARY, 7, false};
  }
}

bool is_force_quantity(int q) { return q >= FIRST_FORCE_QUANTITY && q <= LAST_FORCE_QUANTITY; }

}  // namespace

void SELECT_RESULT_COLUMNS(int envelope, int ls_indicator, int axial_variation, int dimension,
                           ResultColumnFlags& flags) {
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) flags(q) = 0;
  const int combination = AnalysisControl.current_combination;
  const ResultColumnSelectionRecord& s = ResultColumnSelection;
  // A run number outside the lists (no run solved yet) selects no column.
  const bool listed = envelope != 0 || (combination == 0 ? AnalysisControl.current_run >= 1 &&
                                                               AnalysisControl.current_run <= MAX_LOAD_CASES
                                                         : combination >= 1 && combination <= MAX_LOAD_COMBINATIONS);
  for (int q = 1; listed && q <= LAST_LISTED_QUANTITY; ++q) {
    if (envelope == 0) {
      flags(q) = combination == 0 ? s.case_flags(AnalysisControl.current_run, q) : s.combination_flags(combination, q);
    } else {
      flags(q) = combination != 0 ? s.combination_envelope_flags(q) : s.case_envelope_flags(q);
    }
  }
  if (dimension == MODEL_2D) clear(flags, SPACE_ONLY_COLUMNS);
  if (axial_transfer_hidden(ls_indicator, axial_variation)) clear(flags, AXIAL_COLUMNS);
  if (combination == 0) clear(flags, DEMAND_CAPACITY_COLUMNS);
}

void WRITE_RESULT_COLUMN_HEADERS(int mode, const ResultColumnFlags& flags) {
  const HeadingMode m = heading_mode(mode);
  const ResultColumnHeadingsRecord& h = ResultColumnHeadings;
  const bool node_table = mode == HEADING_NODE_TABLE;
  END_REPORT_LINE(m.unit);
  for (int line = 1; line <= 3; ++line) {
    WRITE_BLANKS(m.unit, m.lead);
    if (node_table) {
      WRITE_TEXT10_FIELD(m.unit, h.node_first_cells(line));
    } else {
      WRITE_TEXT6_FIELD(m.unit, h.pile_first_cells(line == 1 ? 1 : 2));
    }
    const auto& cells = line == 1 ? h.line1 : (line == 2 ? h.line2 : h.unit_line);
    for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
      if (flags(q) > 0) WRITE_TEXT10_FIELD(m.unit, cells(q));
    }
    END_REPORT_LINE(m.unit);
  }
  if (!m.rule) return;
  WRITE_BLANKS(m.unit, m.lead);
  if (node_table) {
    WRITE_TEXT10_FIELD(m.unit, h.rule10);
  } else {
    WRITE_TEXT6_FIELD(m.unit, h.rule6);
  }
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (flags(q) > 0) WRITE_TEXT10_FIELD(m.unit, h.rule10);
  }
  END_REPORT_LINE(m.unit);
}

void WRITE_NODE_RESULT_ROWS(const ResultColumnFlags& flags, int last_row, int node_step, double increment,
                            const PileNodeValues& values) {
  if (last_row < FIRST_NODE_ROW) return;
  const int n = last_row - FIRST_NODE_ROW;
  const int step = node_step < n ? node_step : n;
  std::string line(NODE_ROW_CAPACITY, ' ');
  int next_due = FIRST_NODE_ROW;
  for (int row = FIRST_NODE_ROW; row <= last_row; ++row) {
    if (row != next_due) continue;
    next_due += step;
    int col = 0;
    APPEND_BLANKS(line, 1, col);
    APPEND_REAL_FIELD(line, NODE_FIELD_WIDTH, NODE_FIELD_DIGITS, FEET_FROM_INCHES((row - FIRST_NODE_ROW) * increment),
                      col);
    for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
      if (flags(q) <= 0) continue;
      const double v = is_force_quantity(q) ? KIPS_FROM_POUNDS(values(row, q)) : values(row, q);
      APPEND_REAL_FIELD(line, NODE_FIELD_WIDTH, NODE_FIELD_DIGITS, v, col);
    }
    fio::append(UNIT_RESULTS_REPORT, std::string_view(line).substr(0, static_cast<std::size_t>(col)));
    fio::end_line(UNIT_RESULTS_REPORT);
  }
}

void WRITE_NODE_RESULTS_DATA(int last_row, int ls_indicator, int axial_variation, int current_combination,
                             int dimension, double increment, const PileNodeValues& values) {
  ResultColumnFlags exists;
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) exists(q) = 1;
  if (dimension == MODEL_2D) {
    clear(exists, SPACE_ONLY_COLUMNS);
    clear(exists, SPACE_ONLY_BLOCK_EXTRA);
  }
  if (axial_transfer_hidden(ls_indicator, axial_variation)) clear(exists, AXIAL_COLUMNS);
  if (current_combination == 0) clear(exists, DEMAND_CAPACITY_COLUMNS);
  fio::write(UNIT_COMPUTATION_REPORT, NODE_BLOCK_FLAGS_LAYOUT, NODAL_RESULT_COUNT, exists);
  if (last_row < FIRST_NODE_ROW) return;
  double row_values[NODAL_RESULT_COUNT + 1];
  for (int row = FIRST_NODE_ROW; row <= last_row; ++row) {
    int count = 0;
    row_values[count++] = (row - FIRST_NODE_ROW) * increment;
    for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
      if (exists(q) != 1) continue;
      const double v = values(row, q);
      row_values[count++] = std::fabs(v) < ZERO_PRINT_LIMIT ? 0.0 : v;
    }
    fio::write(UNIT_COMPUTATION_REPORT, NODE_BLOCK_ROW_LAYOUT, std::span<const double>(row_values, count));
  }
}

}  // namespace pilecap
