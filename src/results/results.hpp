// Pile results, envelopes and plot-data file: the per-pile result tables of
// every run, the minimum and maximum envelopes over the runs of a pass and
// the blocks of the plot-data file. Result tables are those of the model
// store (pile index fastest).
#pragma once

#include "pile/pile.hpp"

namespace pilecap {

// Kinds and selections of the per-pile writers.
constexpr int ENVELOPE_KIND_RUN = 0;
constexpr int ENVELOPE_KIND_CASES = 1;
constexpr int ENVELOPE_KIND_COMBINATIONS = 2;
constexpr int ENVELOPE_MINIMUM = 1;
constexpr int ENVELOPE_MAXIMUM = 2;

// RESET_ENVELOPES
// Zeroes CapEnvelope (6 components of each set) and the minimum and maximum
// envelopes of PileTopResults (13 columns) and NodeResults (29 quantities,
// every node row) for piles 1..PileTable.n_piles. Current values are kept.
void RESET_ENVELOPES();

// RESET_ENVELOPES_2D
// The same for the plane model: CapEnvelope components 1-3, pile-top columns
// 1-7 and every node quantity the plane writers read (all 29), so that a
// combination envelope never shows a value of the load cases.
void RESET_ENVELOPES_2D();

// ENVEWR
// Per-pile results of the model in space: of the run just solved (kind 0,
// which 0), or the minimum (which 1) or maximum (which 2) envelope over the
// load cases (kind 1) or combinations (kind 2), with the cap envelope (TABLE
// L) first. Each pile's computation-report block and its results-report
// tables plus scratch records are written by two tasks of one region of at
// most two threads; then the summary tables over all piles are printed from
// the scratch file.
//   Reads:  PileTable, PileProperty, PileTopResults, NodeResults, CapEnvelope,
//           AnalysisControl (output_option, output_count, current_run,
//           current_combination, axial_variation, threads_wanted),
//           EnvelopeOptions, ResultColumnSelection, UnitLabels, RunFiles
//   Writes: units 14, 16, 18, 19, 30 and the scratch file (unit 13);
//           RunTimers.print_time; the used-thread maxima
//   in:     kind, which  one of the five pairs above
//   in,out: status  STATUS_SCRATCH_FILE_ERROR (with the file name as detail)
//                   when the scratch file cannot be opened, written or read
//                   back; the summary tables are then not printed
void ENVEWR(int kind, int which, int& status);

// ENVEWR2D: the per-pile results of the plane model (not written yet).
void ENVEWR2D(int kind, int which);

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

// WRITE_PILE_EXTREMES
// Records 5 to 8 of one pile: the minimum and maximum along the pile of
// every quantity with the depth where it first occurs from the head.
// Quantities 9 to 23 in the reported force unit, depths in feet or metres.
//   in:  pile, last_row (n + 4, at least FIRST_NODE_ROW), increment, values
//   returns the first failing fio code, IO_OK when all four were written
int WRITE_PILE_EXTREMES(int pile, int last_row, double increment, const PileNodeValues& values);

// ============================================================ plastic hinges

// Directions of the hinge tables.
constexpr int HINGE_DIRECTION_Z = 1;  // NodeResults.hinge_z into PlasticHingeTable.hinge_z
constexpr int HINGE_DIRECTION_Y = 2;  // NodeResults.hinge_y into PlasticHingeTable.hinge_y

// COUNT_PLASTIC_HINGES
// Copies one direction's hinge markers of a pile into PlasticHingeTable and
// merges each run of adjacent hinge rows into one hinge kept at its
// uppermost row (the others become 0); a marker above 0 is a hinge, 0, a
// negative value or NaN is none.
//   Writes: PlasticHingeTable rows FIRST_NODE_ROW..last_row of the pile and
//           the pile's hinge count of the direction
//   in:     direction, pile, last_row, values
//   in,out: piles_with_hinges  + 1 when the pile has a hinge
void COUNT_PLASTIC_HINGES(int direction, int pile, int& piles_with_hinges, int last_row, const PileNodeValues& values);

// PRINT_PLASTIC_HINGES
// One row per hinge of one direction, pile by pile from the head down, on
// the summary report, and on the results report when
// AnalysisControl.output_option is above 1. The label is "Z-DIR" (blanks in
// the plane) or "Y-DIR"; the depth from the head in feet or metres.
//   Reads:  PileTable (n_piles, prop), PileProperty, PlasticHingeTable,
//           RunOptions.dimension, AnalysisControl.output_option
void PRINT_PLASTIC_HINGES(int direction);

// WRITE_PLOT_PILE_GEOMETRY, WRITE_PLOT_PY_CURVES, WRITE_PLOT_TZ_CURVES,
// WRITE_PLOT_TQ_CURVES
// Append one pile's geometry block and its p-y, t-z (with the tip q-w curve)
// and torque-rotation curve blocks to the plot-data file.
//   in:     pile  1..PileTable.n_piles
//   in,out: status  the t-z and torque writers may set it
void WRITE_PLOT_PILE_GEOMETRY(int pile, int& status);
void WRITE_PLOT_PY_CURVES(int pile, int& status);
void WRITE_PLOT_TZ_CURVES(int pile, int& status);
void WRITE_PLOT_TQ_CURVES(int pile, int& status);

// ----------------------------------------------------- cap vector tables

// The fields of a row of three cap values: blanks before, width, digits.
struct CapRowFields {
  int lead, width, digits;
};

// WRITE_CAP_VALUE_ROW: lead blanks, three values (forces in the report's
// force unit when kips), END_REPORT_LINE.
void WRITE_CAP_VALUE_ROW(int unit, const CapRowFields& row, const double* values, bool kips);

// WRITE_CAP_LOAD_TABLE / WRITE_CAP_DISPLACEMENT_TABLE
// The force and moment (translation and rotation) headings of a cap
// 6-vector, each followed by its row of three values. marks: one character
// per DOF printed after each unit (a point run's prescribed DOFs), or
// nullptr for the plain headings.
void WRITE_CAP_LOAD_TABLE(int unit, const CapRowFields& row, const double* load, const char* marks);
void WRITE_CAP_DISPLACEMENT_TABLE(int unit, const CapRowFields& row, const double* displacement, const char* marks);

}  // namespace pilecap
