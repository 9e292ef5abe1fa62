// Pile results, envelopes and plot-data file: the per-pile result tables of
// every run, the minimum and maximum envelopes over the runs of a pass and
// the blocks of the plot-data file. Result tables are those of the model
// store (pile index fastest).
#pragma once

#include "pile/pile.hpp"
#include "summary/result_columns.hpp"

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

// ENVEWR2D
// Per-pile results of the plane model (one entry per pile row): of the run
// just solved (kind 0, which 0), or the minimum (which 1) or maximum (which
// 2) envelope over the load cases (kind 1) or combinations (kind 2), with
// the cap envelope (TABLE L) first. As ENVEWR, each pile's computation-report
// block and its results-report tables plus scratch records are written by
// two tasks of one region of at most two threads; then the six summary
// tables in the plane are printed from the scratch file.
//   Reads:  as ENVEWR; pile-top columns 1-7
//   Writes: as ENVEWR
//   in:     kind, which
//   in,out: status  STATUS_SCRATCH_FILE_ERROR (with the file name as detail)
//                   when the scratch file cannot be opened, written or read
//                   back; the summary tables are then not printed
void ENVEWR2D(int kind, int which, int& status);

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

// WRITE_CAP_LOAD_TABLE_2D / WRITE_CAP_DISPLACEMENT_TABLE_2D
// The plane model's heading (vertical and horizontal load and moment;
// vertical and horizontal displacement and rotation) and its row of three
// values. marks: one character per DOF after each unit (a point run's
// prescribed DOFs), or nullptr. rotation_gap: the blanks before "ROTATION,"
// in the unmarked heading (5 in the solver's tables, 4 in the envelopes').
void WRITE_CAP_LOAD_TABLE_2D(int unit, const CapRowFields& row, const double* load, const char* marks);
void WRITE_CAP_DISPLACEMENT_TABLE_2D(int unit, const CapRowFields& row, const double* displacement, const char* marks,
                                     int rotation_gap);

}  // namespace pilecap
