// Summary tables over all piles: after each per-pile writer, seven tables in
// space (six in the plane) read back from the per-pile results scratch file
// (eight records per pile, in pile order) and printed on the summary report,
// with a condensed copy (titles, headings, rows of extremes) on the summary
// scratch file. Columns and piles are 1-based.
#pragma once

#include "summary/result_columns.hpp"

namespace pilecap {

// Kinds and quantities of PILE_SUMMARY_TABLE.
constexpr int SUMMARY_GLOBAL_AXES = 1;  // 1 displacements, 2 reactions
constexpr int SUMMARY_LOCAL_AXES = 2;   // 1 displacements, 2 reactions, 3 stress
constexpr int SUMMARY_EXTREMES = 3;     // 1 minima, 2 maxima along the piles

// WRITE_PILE_SUMMARY_TABLES
// The global block, its displacement and reaction tables, the pile-axes
// block, its displacement, reaction and stress tables, the effects title and
// the minima and maxima tables. Stops at the first table whose scratch file
// fails.
//   Reads:  the scratch file (RunFiles.pile_results_scratch_file), UnitLabels
//   Writes: UNIT_SUMMARY, UNIT_SUMMARY_SCRATCH
//   in:     n_piles (PileTable.n_piles), flags (the run's column selection)
//   in,out: status  STATUS_SCRATCH_FILE_ERROR with the detail line when the
//                   file cannot be opened or a record is missing or unreadable
void WRITE_PILE_SUMMARY_TABLES(int n_piles, const ResultColumnFlags& flags, int& status);

// PILE_SUMMARY_TABLE
// One table: title and heading on both summary units, a row per pile on the
// summary report, then the smallest and largest value of each printed column
// and the pile where each first occurs. With no piles the table has no rows
// at all. Rows of extremes are written only after the whole file read well.
//   in:     kind, quantity  one of the seven pairs above
//   in:     n_piles, flags
//   in,out: status  as WRITE_PILE_SUMMARY_TABLES
void PILE_SUMMARY_TABLE(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int& status);

// WRITE_PILE_SUMMARY_2D
// The summary tables of the plane model after its per-pile writer: the
// global block with its displacement and reaction tables, the pile-axes
// block with the same two, the effects title and the minima and maxima
// tables. Stops at the first table whose scratch file fails.
//   Reads, writes and status as WRITE_PILE_SUMMARY_TABLES
void WRITE_PILE_SUMMARY_2D(int n_piles, const ResultColumnFlags& flags, int& status);

// PILE_SUMMARY_TABLE_2D
// One plane table: kind 1 or 2 with quantity 1 (displacements X, Y and
// rotation) or 2 (forces, moment and stress), a row per pile, then the
// MINIMUM and MAXIMUM rows with the pile where each first occurs; kind 3 as
// PILE_SUMMARY_TABLE.
void PILE_SUMMARY_TABLE_2D(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int& status);

// UPDATE_MIN_MAX_LOCATION
// Running extremes of columns 1..n over a series of items: item 1 starts them
// afresh; a later item replaces an extreme only when strictly beyond it (a
// tie or NaN keeps the earlier item).
//   in:     index (the item, from 1), n (columns 1..n, at most 29; nothing
//           when below 1), values
//   in,out: pile_of_minimum, pile_of_maximum, minimum, maximum
void UPDATE_MIN_MAX_LOCATION(int index, int n, ResultColumnFlags& pile_of_minimum, ResultColumnFlags& pile_of_maximum,
                             const ResultColumnValues& values, ResultColumnValues& minimum,
                             ResultColumnValues& maximum);

// PILE_SUMMARY_TABLE_P
// One summary table of an incremental (pushover) point in space: kind 2
// (pile axes) with quantity 1 (the six displacements) or 2 (the six
// reactions), or kind 3 (extremes along the piles) with quantity 1 (minima,
// under the heading of the selected columns) or 2 (maxima). The title and
// heading go to the summary report, and to the results report from print
// option 1 (kind 2) or 2 (kind 3); then the smallest and largest value of
// each column over all piles with the pile where it first occurs (and, for
// kind 3, its depth along that pile), on the summary report and from print
// option 2 on the results report too. No row per pile; no rows of extremes
// without piles.
//   Reads:  the scratch file (RunFiles.pile_results_scratch_file), UnitLabels
//   Writes: UNIT_SUMMARY, UNIT_RESULTS_REPORT
//   in:     kind, quantity, n_piles (PileTable.n_piles), flags (the point's
//           column selection), print_option (AnalysisControl.output_option)
//   in,out: status  STATUS_SCRATCH_FILE_ERROR with the detail line when the
//                   file cannot be opened or a record is missing or unreadable
void PILE_SUMMARY_TABLE_P(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int print_option,
                          int& status);

// PILE_SUMMARY_TABLE_2DP
// The same in the plane: kind 2 with quantity 1 (displacements x, y and the
// rotation) or 2 (axial and lateral force, moment and stress), headed by the
// pile cell; the closing rows of the plane's pile-top tables.
void PILE_SUMMARY_TABLE_2DP(int kind, int quantity, int n_piles, const ResultColumnFlags& flags, int print_option,
                            int& status);

// UPDATE_MIN_MAX_LOCATION_DEPTH
// UPDATE_MIN_MAX_LOCATION that also keeps, per column, the depth of the
// minimum and of the maximum: pile 1 starts every extreme and both depths
// afresh; a later pile replaces an extreme and its depth only when strictly
// beyond it (a tie or NaN keeps the earlier pile).
//   in:     pile (from 1), n (columns 1..n, at most 29), values, depths
//   in,out: pile_of_minimum, pile_of_maximum, minimum, maximum,
//           depth_of_minimum, depth_of_maximum
void UPDATE_MIN_MAX_LOCATION_DEPTH(int pile, int n, ResultColumnFlags& pile_of_minimum,
                                   ResultColumnFlags& pile_of_maximum, const ResultColumnValues& values,
                                   ResultColumnValues& minimum, ResultColumnValues& maximum,
                                   const ResultColumnValues& depths, ResultColumnValues& depth_of_minimum,
                                   ResultColumnValues& depth_of_maximum);

}  // namespace pilecap
