// The closing rows that the summary tables after a run and the tables of an
// incremental (pushover) point share: the running extremes of one table and
// the MINIMUM / MAXIMUM rows of its pile-top columns with the pile of each.
// Internal to the summary floor. Columns are 1-based.
#pragma once

#include "summary/result_columns.hpp"

namespace pilecap {

// The running extremes of one table, per column.
struct SummaryExtremes {
  ResultColumnFlags pile_of_minimum, pile_of_maximum;
  ResultColumnValues minimum, maximum;
};

// WRITE_PILE_TOP_EXTREME_ROWS
// The model in space: "  MINIMUM  " and the minima of columns
// first_column..last_column (13 wide, 4 digits), "  Pile N. " and the pile
// of each, then the same for the maxima.
void WRITE_PILE_TOP_EXTREME_ROWS(int unit, int first_column, int last_column, const SummaryExtremes& e);

// WRITE_EXTREME_VALUE_ROWS
// The Min. (minima true) or Max. row of an extreme-value table: value_lead
// blanks, "Min." or "Max." and the flagged columns (12 wide, 4 digits); then
// pile_lead blanks, "Pile N.  " and the pile of each (6 wide, 6 blanks after).
void WRITE_EXTREME_VALUE_ROWS(int unit, bool minima, const ResultColumnFlags& flags, const SummaryExtremes& e,
                              int value_lead, int pile_lead);

// WRITE_PILE_TOP_EXTREME_ROWS_2D
// The plane model: "  MINIMUM " and the minima of columns 1..count (11
// wide), "  Pile G. " and the pile of each, then the same for the maxima.
void WRITE_PILE_TOP_EXTREME_ROWS_2D(int unit, int count, const SummaryExtremes& e);

}  // namespace pilecap
