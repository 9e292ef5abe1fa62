// The frame the per-pile results writers of space and of the plane share:
// the output set of one pile gathered by the calling thread, the print
// switches of a kind, the envelope titles, the value rows of the
// computation report, and the loop that runs each pile's two tasks (the
// computation-report block, formatted by the piles side by side, and the
// scratch records with the results-report tables) in pile order, then the
// summary tables read back from the scratch file.
#pragma once

#include <functional>

#include "results/results.hpp"
#include "summary/result_columns.hpp"

namespace pilecap {

// The output set of one pile, gathered by the calling thread.
struct PileOutput {
  int pile = 0;
  double increment = 0.0;
  int last_row = 0;
  int ls_curve = 0;
  double global_values[PILE_TOP_RESULT_COUNT] = {};
  double local_values[PILE_TOP_RESULT_COUNT] = {};
  PileNodeValues values{};
};

// What the print switches of a kind ask for on the results report.
struct PrintSwitches {
  bool pile_top;
  bool node_table;
  int node_step;
};

// What a writer of one model adds to the shared frame: the number of
// displacements (and of reactions) among the pile-top values, 6 in space and
// 3 in the plane; the pile's scratch pile-top records and, when the switches
// ask for them, its pile-top tables on the results report (task 1, returning
// the first failing fio code of the scratch file); the summary tables.
struct PileWriterParts {
  int top_values;
  int (*pile_top_records_and_tables)(const PileOutput& o, const PrintSwitches& s);
  void (*summary)(int n_piles, const ResultColumnFlags& flags, int& status);
};

// PRINT_SWITCHES_OF_KIND
// Pile-top tables and node table of the results report and the node step:
// from the run's print option (kind 0), or from the envelope options of the
// cases or the combinations (the combinations' node table only from 2).
PrintSwitches PRINT_SWITCHES_OF_KIND(int kind);

// USER_CURVE_FLAG: 1 when every pile has a user load-settlement curve (or
// there is no pile), else -1.
int USER_CURVE_FLAG();

// GATHER_PILE_OUTPUT
// The output set of pile p from the current (which 0), minimum (1) or
// maximum (2) result stores: its 13 pile-top columns in both axes and its
// node rows FIRST_NODE_ROW..n + 4.
void GATHER_PILE_OUTPUT(int p, int which, PileOutput& out);

// WRITE_VALUE_ROW
// lead blanks, then count reals (forces in the report's force unit when
// kips), each followed by gap blanks; END_REPORT_LINE.
void WRITE_VALUE_ROW(int unit, int lead, int width, int digits, const double* values, int count, int gap, bool kips);

// WRITE_PILE_TOP_TITLE: the pile's group title and the pile-top title on
// the results report.
void WRITE_PILE_TOP_TITLE(int pile);

// WRITE_COORDINATE_SYSTEM_TITLE: the title of the global structural or of
// the pile (local) coordinate system with its rule, results report.
void WRITE_COORDINATE_SYSTEM_TITLE(bool global);

// WRITE_ENVELOPE_TITLES
// The envelope's titles on the results report, the summary, the
// computation report and the result-code file ("    1 CALCULATED AND
// PRINTED" there).
void WRITE_ENVELOPE_TITLES(int kind, int which);

// WRITE_CAP_ENVELOPE
// The envelope titles and TABLE L of the cap envelope of the pass (minimum
// or maximum load and displacement at the origin) on the results report and
// the summary, the TABLE M titles (WRITE_TABLE_M_TITLES in results.hpp), and TABLE L on the computation report:
// six components in space, three in the plane (vertical, horizontal,
// rotation).
void WRITE_CAP_ENVELOPE(int kind, int which, bool plane);

// The layouts of the titles of a pile's computation-report block: its pile
// line (with the pile number), the global and the local pile-top titles and
// the title of its node block.
struct ComputationBlockLayouts {
  const char* pile;
  const char* global;
  const char* local;
  const char* effects;
};

// WRITE_COMPUTATION_BLOCK
// The pile's block on the computation report, unconverted: the pile line,
// the global pile-top line (n displacements, n reactions, the stress), the
// local one with the same stress, then the numeric node block.
void WRITE_COMPUTATION_BLOCK(const PileOutput& o, int n, const ComputationBlockLayouts& layouts);

// The two output tasks of one pile: the first writes only the computation
// report and may run on any thread (its writes are captured there); the
// second writes the scratch file and what its caller gives it, on the
// calling thread, and returns the first failing fio code of the scratch file.
using PileComputationTask = std::function<void(const PileOutput&)>;
using PileScratchTask = std::function<int(const PileOutput&)>;

// WRITE_PILE_OUTPUTS
// Opens the scratch file, then, a batch of piles at a time, gathers the
// piles' output sets from the stores of which (0 current, 1 minimum, 2
// maximum) and formats their computation-report blocks in one parallel loop
// (each thread into its own capture); then, pile after pile in order, writes
// the pile's block to the report and runs its scratch task. Adds the time to
// RunTimers.print_time and closes the file. The first failing record ends
// the loop after its pile's block.
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when the scratch file cannot be
//                   opened, written or flushed
void WRITE_PILE_OUTPUTS(int which, const PileComputationTask& computation, const PileScratchTask& scratch, int& status);

// WRITE_PER_PILE_RESULTS
// The per-pile part of a writer: the TABLE M line of the computation
// report, then WRITE_PILE_OUTPUTS with the computation-report block of n top
// values as the first task and parts.pile_top_records_and_tables, then the
// pile's extremes on the scratch file, as the second; then the summary
// tables with the columns of the kind.
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when the scratch file fails;
//                   the summary tables are then not printed
void WRITE_PER_PILE_RESULTS(int kind, int which, const PileWriterParts& parts, int& status);

}  // namespace pilecap
