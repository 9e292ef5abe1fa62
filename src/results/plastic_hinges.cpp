// Plastic hinges of the piles: the hinge markers of the node results (a
// value above 0 at a yielded node) copied into PlasticHingeTable, each run of
// adjacent hinge rows merged into one hinge kept at its uppermost row, and
// the table rows that name the pile and the depth of every hinge. Node k of a
// pile is row k + 4; depths are measured from the pile head.
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

constexpr int ROW_LEAD = 5;
constexpr int PILE_WIDTH = 6;
constexpr int LABEL_GAP = 5;
constexpr int DEPTH_WIDTH = 13;
constexpr int DEPTH_DIGITS = 4;
// Output option from which the hinge rows go to the results report too.
constexpr int HINGES_ON_RESULTS_OPTION = 2;

Table2<double>& hinge_table(int direction) {
  return direction == HINGE_DIRECTION_Y ? PlasticHingeTable.hinge_y : PlasticHingeTable.hinge_z;
}
Table1<int>& hinge_counts(int direction) {
  return direction == HINGE_DIRECTION_Y ? PlasticHingeTable.hinge_count_y : PlasticHingeTable.hinge_count_z;
}

int last_node_row(int pile) { return FIRST_NODE_ROW + PileProperty.n_increments(PileTable.prop(pile)); }

void write_hinge_row(int unit, int pile, std::string_view label, double depth) {
  WRITE_BLANKS(unit, ROW_LEAD);
  WRITE_INT_FIELD(unit, PILE_WIDTH, pile);
  WRITE_BLANKS(unit, LABEL_GAP);
  fio::append(unit, label);
  WRITE_BLANKS(unit, LABEL_GAP);
  WRITE_REAL_FIELD(unit, DEPTH_WIDTH, DEPTH_DIGITS, depth);
  END_REPORT_LINE(unit);
}

}  // namespace

void COUNT_PLASTIC_HINGES(int direction, int pile, int& piles_with_hinges, int last_row, const PileNodeValues& values) {
  Table2<double>& table = hinge_table(direction);
  const int quantity = direction == HINGE_DIRECTION_Y ? NR_HINGE_Y : NR_HINGE_Z;
  bool any = false;
  for (int row = FIRST_NODE_ROW; row <= last_row; ++row) {
    table(pile, row) = values(row, quantity);
    if (table(pile, row) > 0.0) any = true;
  }
  int hinges = 0;
  if (any) {
    ++piles_with_hinges;
    int last_hinge_row = 0;  // none met yet
    for (int row = FIRST_NODE_ROW; row <= last_row; ++row) {
      if (!(table(pile, row) > 0.0)) continue;
      if (row - 1 == last_hinge_row) {
        table(pile, row) = 0.0;  // continues the hinge above it
      } else {
        ++hinges;
      }
      last_hinge_row = row;
    }
  }
  hinge_counts(direction)(pile) = hinges;
}

void PRINT_PLASTIC_HINGES(int direction) {
  const Table2<double>& table = hinge_table(direction);
  const Table1<int>& counts = hinge_counts(direction);
  const std::string_view label =
      direction == HINGE_DIRECTION_Y ? "Y-DIR" : (RunOptions.dimension == MODEL_2D ? "     " : "Z-DIR");
  const bool on_results = AnalysisControl.output_option >= HINGES_ON_RESULTS_OPTION;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    if (counts(p) <= 0) continue;
    const double increment = PileProperty.increment(PileTable.prop(p));
    const int last_row = last_node_row(p);
    for (int row = FIRST_NODE_ROW; row <= last_row; ++row) {
      if (!(table(p, row) > 0.0)) continue;
      const double depth = FEET_FROM_INCHES((row - FIRST_NODE_ROW) * increment);
      write_hinge_row(UNIT_SUMMARY, p, label, depth);
      if (on_results) write_hinge_row(UNIT_RESULTS_REPORT, p, label, depth);
    }
  }
}

}  // namespace pilecap
