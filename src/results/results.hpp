// Pile results, envelopes and plot-data file: the per-pile result tables of
// every run, the minimum and maximum envelopes over the runs of a pass and
// the blocks of the plot-data file. Result tables are those of the model
// store (pile index fastest).
#pragma once

#include "pile/pile.hpp"
#include "summary/result_columns.hpp"
#include "transfer/transfer.hpp"

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
// L) first. The piles' computation-report blocks are formatted side by side
// and written in pile order, each followed by the pile's results-report
// tables and scratch records; then the summary tables over all piles are
// printed from the scratch file.
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

// PLATE_CAP_ENVEWR
// The minimum (which 1) or maximum (which 2) envelope over the load cases
// (kind 1) or combinations (kind 2) of a model whose cap is the plate: the
// envelope titles, a note in place of the cap envelope (TABLE L: a plate has
// no single load and displacement at the origin), then every pile's tables
// and the summary tables as ENVEWR writes them. The pile envelopes are those
// the final pile evaluation of each converged plate run filled.
//   Reads, writes and status as ENVEWR, without CapEnvelope.
void PLATE_CAP_ENVEWR(int kind, int which, int& status);

// WRITE_TABLE_M_TITLES
// The TABLE M titles that head the per-pile part of an envelope or of a
// plate-cap run: results report, summary and summary scratch file.
void WRITE_TABLE_M_TITLES();

// ENVEWR2D
// Per-pile results of the plane model (one entry per pile row): of the run
// just solved (kind 0, which 0), or the minimum (which 1) or maximum (which
// 2) envelope over the load cases (kind 1) or combinations (kind 2), with
// the cap envelope (TABLE L) first. As ENVEWR, the piles' computation-report
// blocks are formatted side by side and written in pile order, each followed
// by the pile's results-report tables and scratch records; then the six
// summary tables in the plane are printed from the scratch file.
//   Reads:  as ENVEWR; pile-top columns 1-7
//   Writes: as ENVEWR
//   in:     kind, which
//   in,out: status  STATUS_SCRATCH_FILE_ERROR (with the file name as detail)
//                   when the scratch file cannot be opened, written or read
//                   back; the summary tables are then not printed
void ENVEWR2D(int kind, int which, int& status);

// PRINT_PUSHOVER_CAP_RESULTS
// The cap of one incremental (pushover) point: its number and factor on the
// summary, the results and the computation report, then the equivalent
// concentrated load and the cap displacement at the origin: unconverted on
// the computation report, in the report units (loads through the kip
// conversion) under their unit headings on the results report and the
// summary. Three components in the plane (X, Y, rotation Z), six in space.
//   Reads:  UnitLabels, RunOptions (kips)
//   in:     dimension (RunOptions.dimension), point, factor (the load
//           multiplier the point carried), partial_percent (the percent of
//           the point's load carried when it stopped below it, which marks
//           the point line "PARTIAL"; 0 for a point at its full load), load,
//           displacement (3 or 6)
void PRINT_PUSHOVER_CAP_RESULTS(int dimension, int point, double factor, double partial_percent, const double* load,
                                const double* displacement);

// ENVEWRP / ENVEWR2DP
// Per-pile results of one incremental (pushover) point after its final print
// pass, in space and in the plane: the computation-report block of every pile
// (formatted side by side, written in pile order) and its scratch records,
// with the pile's plastic hinges counted; then the pile-axes
// summary tables and the minima and maxima along the piles over all piles
// (PILE_SUMMARY_TABLE_P / PILE_SUMMARY_TABLE_2DP), and the table of plastic
// hinges when a pile has one. No per-pile table on the results report.
//   Reads:  PileTable, PileProperty, the current PileTopResults and
//           NodeResults, AnalysisControl (output_option, current_run,
//           current_combination, axial_variation, threads_wanted),
//           ResultColumnSelection, UnitLabels, RunOptions, RunFiles
//   Writes: units 14, 16, 18 and the scratch file (unit 13),
//           PlasticHingeTable, RunTimers.print_time, the used-thread maxima
//   in,out: status  STATUS_SCRATCH_FILE_ERROR (with the file name as detail)
//                   when the scratch file cannot be opened, written or read
//                   back; the tables after the failing one are not printed
void ENVEWRP(int& status);
void ENVEWR2DP(int& status);

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

// ======================================================== plot-data file
// The plot-data file (UNIT_CURVE_EXPORT, formatted or unformatted by
// RunOptions.export_unformatted) holds, after its header of three integers
// (piles, dimension, units), per pile a geometry block and curve blocks of
// one spring curve per plot node: m equal segments (PyExportRequest.
// plot_nodes), nodes 1 (head) .. m + 1 (tip) at the segment ends, section
// values at the segment midpoints. Values in the model's internal units.

// Kinds of the blocks, the third integer of each block header.
constexpr int PLOT_BLOCK_GEOMETRY = 0;
constexpr int PLOT_BLOCK_PY = 1;
constexpr int PLOT_BLOCK_TZ = 2;
constexpr int PLOT_BLOCK_TQ = 3;

// The writers of one pile's blocks, called in this order for p = 1 ..
// n_piles on the calling thread (the torque block in 3D only). A curve is
// computed before its node's count record is written: when it fails, that
// count record says "no points" (0, 0) and the writer returns at once with
// the code, so the file is readable to its last record.
//   in:     pile    1..PileTable.n_piles
//   in,out: status  the failing code, if any; a code already set on entry
//                   neither stops a writer nor is cleared
//
// WRITE_PLOT_PILE_GEOMETRY
// Record (p, m, 0), the length L, the head coordinates, the direction
// cosines of the pile axes (2 x 2 in the plane from the batter, 3 x 3 in
// space from alpha and beta), then per segment i its midpoint (i, x_i) at
// head_x + (i - 1/2) L / m and its section values there (D, A, Izz, E; in
// space D, A, Izz, Iyy, E, GJ). Never fails.
//   Reads: PileTable, PileProperty, the section lookups, RunConstants.pi
void WRITE_PLOT_PILE_GEOMETRY(int pile, int& status);

// WRITE_PLOT_PY_CURVES
// Block (p, m + 1, 1): per node its coordinate, (F, C, T) and C = 2n - 1
// points of its lateral spring (deflection, force), negative branch
// mirrored. A node lumps half of the p-y resistance of each adjacent
// segment, generated at the segment midpoint by the soil layer's criterion
// (n = 17 default deflections or the export list). F = 1 when the node's
// curve lies below the ground line; T is the criterion's plot code.
//   Reads:  PyExportRequest, SoilLayerInput.count, SoilProfile, PileTable,
//           PileProperty; the p-y criteria through SOIL_REACTION_AT_NODES
//   Writes: SoilProfile.num_layers; GeneratedPyCurve; rows 1 and 2 of the
//           pile's PileNodes and its PileLayerData node ranges (the
//           analysis is over: nothing reads them afterwards)
void WRITE_PLOT_PY_CURVES(int pile, int& status);

// WRITE_PLOT_TZ_CURVES / WRITE_PLOT_TQ_CURVES
// Block (p, m + 1, 2) of axial springs (movement, force) with the tip q-w
// curve added at the tip node, or block (p, m + 1, 3) of torsional springs
// (rotation, torque): per node its coordinate, (1, 19) and 19 points when
// the midpoint below it lies in the soil, else (0, 0). Each node lumps half
// of the shaft friction of the adjacent segments (PLOT_TZ_CURVE).
//   in,out: status  a soil query's code, STATUS_LS_CURVE_ZERO_E50 or
//                   STATUS_LS_CURVE_ZERO_COHESION (axial tip, with warning)
void WRITE_PLOT_TZ_CURVES(int pile, int& status);
void WRITE_PLOT_TQ_CURVES(int pile, int& status);

// ---------------------------------- load-transfer rules of the plot curves
// Rules of their own for the plot curves, by PileProperty.pile_type and the
// SoilCode of a point: x is the point's vertical coordinate, z its depth
// below the pile's ground line. Every soil value comes from a soil query at
// x; a failing query leaves its code (and warning) in status and the
// operation returns at once. RunOptions.units is 1 or 2.

// PLOT_UNIT_SIDE_FRICTION
// The ultimate unit side friction: the user's value when it is at least
// 1e-10; else for a driven pile alpha c in clays (alpha = 0.5 psi^-0.5 up
// to psi = c / (gamma z) = 1, 0.5 psi^-0.25 above, 1 for a weak clay), the
// sand rule (batter form when depths follow the batter), 0.1 c in rock; for
// a drilled shaft 0.55 c, beta gamma z (beta = 1.5 - 0.135 sqrt(z in ft)
// within 0.25 .. 1.2), 0.1 c in rock. Codes 5, 12 and above 14 and other
// pile types keep the user's value.
double PLOT_UNIT_SIDE_FRICTION(int pile, double x, double z, int code, int& status);

// The t-z curve of a point: unit friction t against movement z, point 1 the origin.
struct PlotTzCurve {
  Array1<double, TZ_POINTS> t{}, z{};
};

// PLOT_TZ_CURVE
// The point's t-z curve with tmax = fs, the shape chosen by pile type and
// code (diameter of section 1 where the shape scales); the zero curve for a
// code above 14, another pile type, or a drilled shaft in code 5 at exactly
// 1 degree.
//   out: curve; phi_deg  the friction angle at x in degrees
void PLOT_TZ_CURVE(int pile, double x, int code, double fs, PlotTzCurve& curve, double& phi_deg, int& status);

// The tip of a pile: its capacity Q and q-w curve (load q against movement
// w, point 1 the origin).
struct PlotTipCurve {
  double capacity = 0.0;
  Array1<double, TZ_POINTS> w{}, q{};
};

// PLOT_TIP_CURVE
// Capacity and curve of the tip at head_x + L: 9 c A_t in clay, Nq gamma z
// A_t (driven) or the drilled-shaft values in sand, unless the user gives a
// tip resistance; the curve by tip kind (granular for codes 4, 7, 8, 9, 11,
// 12 and above 14) and pile type. A cohesive tip (c > 0.1, phi < 1e-4)
// counts as code 3. Another pile type has no tip curve (all zero).
//   in:     tip_code  the SoilCode of the pile's last shaft point
//   in,out: status  also STATUS_LS_CURVE_ZERO_E50 / _COHESION for a driven
//                   cohesive tip (not code 5), with their warning
void PLOT_TIP_CURVE(int pile, int tip_code, PlotTipCurve& tip, int& status);

// Qtip
// The tip load at movement v: linear on the first segment whose end reaches
// v, the last segment extended beyond the curve; a segment of zero length
// gives its left load.
double Qtip(const PlotTipCurve& tip, double v);

// ----------------------------------------------------- cap vector tables

// The fields of a row of three cap values: blanks before, width, digits.
struct CapRowFields {
  int lead, width, digits;
};

// WRITE_TABLE_L_TITLE / WRITE_CAP_LOAD_TITLE / WRITE_CAP_DISPLACEMENT_TITLE /
// WRITE_TABLE_M_TITLE
// The titles of TABLE L (the cap's equivalent load and displacement at the
// origin) and of TABLE M (the per-pile part) on one report, spaced as that
// report spaces them: UNIT_RESULTS_REPORT and UNIT_SUMMARY after blank lines,
// UNIT_SUMMARY_SCRATCH after one, UNIT_COMPUTATION_REPORT on its own line.
// Every writer of these tables, rigid cap or envelope, 3D or plane, prints
// its titles here.
void WRITE_TABLE_L_TITLE(int unit);
void WRITE_CAP_LOAD_TITLE(int unit);
void WRITE_CAP_DISPLACEMENT_TITLE(int unit);
void WRITE_TABLE_M_TITLE(int unit);

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

// WRITE_EQUIV_STIFFNESS_3D / WRITE_EQUIV_STIFFNESS_2D
// One block per pile on the equivalent-spring file (open on
// UNIT_EQUIVALENT_SPRINGS): the pile line, the pile-top title and values
// (axial force, secant axial and, in 3D, torsional stiffness; columns 1-17,
// 18-34, 35-51), the along-pile title, the element length (columns 7-22)
// and the n + 1 node lines from the head (distance at 7-22, the lateral
// moduli at 23-39 and, in 3D, 40-56).
//   Reads: PileTable, PileProperty.n_increments, EquivalentStiffness
void WRITE_EQUIV_STIFFNESS_3D();
void WRITE_EQUIV_STIFFNESS_2D();

}  // namespace pilecap
