// The result columns of the per-pile tables and the per-pile results
// scratch file: the writers of the results reports fill them, the summary
// tables read them back. Node rows follow the node result tables (node k at
// row k + 4).
#pragma once

#include <string>

#include "pile/pile.hpp"

namespace pilecap {

// ================================================== result rows and columns

// Row of node 0 (the pile head) in the node tables; node k at row k + 4.
constexpr int FIRST_NODE_ROW = NODE_ROW_OFFSET + 1;
// Below this magnitude the computation report writes a node value as 0.
constexpr double ZERO_PRINT_LIMIT = 1e-50;

// One pile's copy of the current, minimum or maximum NodeResults:
// (row, quantity), row fastest; rows FIRST_NODE_ROW .. n + 4 meaningful.
using PileNodeValues = NodeResultBlock;
// The 29 column flags of one table; flag q above 0 shows quantity q.
using ResultColumnFlags = Array1<int, NODAL_RESULT_COUNT>;
// One real per node quantity (extremes, depths of one record).
using ResultColumnValues = Array1<double, NODAL_RESULT_COUNT>;

// Heading modes of WRITE_RESULT_COLUMN_HEADERS.
constexpr int HEADING_NODE_TABLE = 0;        // unit 16, depth column, rule line
constexpr int HEADING_SUMMARY = 1;           // unit 18, pile column, rule line
constexpr int HEADING_SUMMARY_SCRATCH = 2;   // unit 30, pile column, rule line
constexpr int HEADING_RESULTS_PUSHOVER = 3;  // unit 16, wide pile column, no rule
constexpr int HEADING_SUMMARY_PUSHOVER = 4;  // unit 18, wide pile column, no rule

// SELECT_RESULT_COLUMNS
// The columns of one table: the list of the run (envelope 0: the case or
// combination now solved) or of the envelope line of the pass, without the
// rotations and hinges, without the space-only columns in the plane, without
// the axial columns when the axial load transfer is not shown (ls_indicator
// above 0 or no axial variation), and without the demand-over-capacity
// columns outside the combinations.
//   Reads:  ResultColumnSelection, AnalysisControl (current_run,
//           current_combination)
//   in:     envelope, ls_indicator, axial_variation, dimension
//   out:    flags  every one of the 29 set
void SELECT_RESULT_COLUMNS(int envelope, int ls_indicator, int axial_variation, int dimension,
                           ResultColumnFlags& flags);

// WRITE_RESULT_COLUMN_HEADERS
// An empty (one-blank) line, the three heading lines of the flagged columns
// and, in modes 0 to 2, the rule line, on the unit of the mode.
//   Reads:  ResultColumnHeadings
//   in:     mode (a HEADING_ constant), flags
void WRITE_RESULT_COLUMN_HEADERS(int mode, const ResultColumnFlags& flags);

// WRITE_NODE_RESULT_ROWS
// The node rows of one pile on the results report: the head, then every
// step-th node (the step at most n; a step below 1 prints the head only);
// depth in feet or metres, quantities 9 to 23 in the reported force unit.
//   in: flags, last_row (n + 4), node_step, increment (internal length),
//       values
void WRITE_NODE_RESULT_ROWS(const ResultColumnFlags& flags, int last_row, int node_step, double increment,
                            const PileNodeValues& values);

// WRITE_NODE_RESULTS_DATA
// The numeric node block of one pile on the computation report: the count
// and the 29 existence flags, then every node's depth and existing values,
// unconverted.
//   in: last_row, ls_indicator, axial_variation, current_combination,
//       dimension, increment, values
void WRITE_NODE_RESULTS_DATA(int last_row, int ls_indicator, int axial_variation, int current_combination,
                             int dimension, double increment, const PileNodeValues& values);

// ====================================================== pile results scratch
// Eight text records per pile, in pile order: four pile-top records (global
// displacements, global reactions and stress, local displacements, local
// reactions and stress), then the minima, their depths, the maxima, their
// depths of the 29 node quantities.

constexpr int SCRATCH_RECORDS_PER_PILE = 8;

// OPEN_PILE_RESULTS_SCRATCH
// Opens the scratch file on unit 13 by RunFiles.pile_results_scratch_file:
// to write (truncated, created when missing) or to read from its start.
//   in,out: status  STATUS_SCRATCH_FILE_ERROR with the detail line on failure
void OPEN_PILE_RESULTS_SCRATCH(bool for_writing, int& status);

// CLOSE_PILE_RESULTS_SCRATCH
// Hands the written data to the file system and disconnects unit 13.
//   in,out: status  STATUS_SCRATCH_FILE_ERROR with the detail line when the
//                   data cannot be flushed (status already set: just closes)
void CLOSE_PILE_RESULTS_SCRATCH(int& status);

// SCRATCH_FILE_FAILED
// Sets STATUS_SCRATCH_FILE_ERROR and the detail line naming the file.
void SCRATCH_FILE_FAILED(int& status);

// WRITE_PILE_TOP_RECORDS
// Records 1 to 4 of one pile, space model: global displacements (6), global
// reactions (6) and the stress, local displacements, local reactions and the
// same stress; reactions and stress in the reported force unit.
//   in:  pile, global_values and local_values (13 pile-top columns each,
//        element 1 first)
//   returns the first failing fio code, IO_OK when all four were written
int WRITE_PILE_TOP_RECORDS(int pile, const double* global_values, const double* local_values);

// WRITE_PILE_TOP_RECORDS_2D
// The same in the plane: three displacements (X, Y, rotation), then three
// reactions (force X, force Y, moment) and the stress as the fourth value,
// from the seven plane pile-top columns of each set; the stress of both
// reaction records is the global one.
int WRITE_PILE_TOP_RECORDS_2D(int pile, const double* global_values, const double* local_values);

// WRITE_PILE_EXTREMES
// Records 5 to 8 of one pile: the minimum and maximum along the pile of
// every quantity with the depth where it first occurs from the head.
// Quantities 9 to 23 in the reported force unit, depths in feet or metres.
//   in:  pile, last_row (n + 4, at least FIRST_NODE_ROW), increment, values
//   returns the first failing fio code, IO_OK when all four were written
int WRITE_PILE_EXTREMES(int pile, int last_row, double increment, const PileNodeValues& values);

// PileScratchRead: what one pile's records give back to a summary table.
struct PileScratchRead {
  int pile_number = 0;          // as the record carries it
  ResultColumnValues values{};  // the record's values, 1..count; 0 after them
  std::string depth_label;      // extreme records: the label of the depth record ("x(FT)")
  ResultColumnValues depths{};  // extreme records: the depth of each extreme
};

// PileScratchVisitor: the use of one pile's read records (pile 1-based, in
// file order).
using PileScratchVisitor = void (*)(const void* context, int pile, const PileScratchRead& read);

// READ_PILE_SCRATCH_FRAME
// The one reader of the scratch file: opens it to read, reads for each of
// piles 1..n_piles record `record` (count values; a pile-top record 1 to 4,
// or with extremes an extreme-value record 5 or 7 and the depth record after
// it), passes over the pile's other records, hands the values to visit, and
// closes the file. A file that cannot be opened or read ends the reading.
//   in,out: status  STATUS_SCRATCH_FILE_ERROR with the detail line when the
//                   file cannot be opened or read; the caller tests it
void READ_PILE_SCRATCH_FRAME(int n_piles, int record, int count, bool extremes, int& status, PileScratchVisitor visit,
                             const void* context);

// READ_PILE_SCRATCH
// READ_PILE_SCRATCH_FRAME with a callable visit(pile, read).
template <class Visit>
void READ_PILE_SCRATCH(int n_piles, int record, int count, bool extremes, int& status, const Visit& visit) {
  READ_PILE_SCRATCH_FRAME(
      n_piles, record, count, extremes, status,
      [](const void* context, int pile, const PileScratchRead& read) {
        (*static_cast<const Visit*>(context))(pile, read);
      },
      &visit);
}

}  // namespace pilecap
