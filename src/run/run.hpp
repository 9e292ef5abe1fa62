// Run control and model store: the report field writers and the records and
// routines of the run sequence. Units are the fio unit numbers.
#pragma once

#include <string>
#include <string_view>

#include "run/arrays.hpp"
#include "run/fio.hpp"
#include "run/numbers.hpp"

namespace pilecap {

// ------------------------------------------------------------ status word
// The engine's one failure channel: set by the routine that meets a
// condition that ends the run, tested by every caller after every call.

constexpr int STATUS_OK = 0;
constexpr int STATUS_PILE_BELOW_DEEPEST_LAYER = 3;
constexpr int STATUS_STOPPED_BY_USER = 4;
constexpr int STATUS_METHOD_KFLAG_CONFLICT = 12;
constexpr int STATUS_PILE_BELOW_DEEPEST_LAYER_2D = 13;
constexpr int STATUS_ZERO_DETERMINANT = 14;
constexpr int STATUS_WEAK_ROCK_ZERO_COHESION = 21;
constexpr int STATUS_BEYOND_UNIT_WEIGHT_CURVE = 22;
constexpr int STATUS_BEYOND_COHESION_CURVE = 23;
constexpr int STATUS_BEYOND_FRICTION_ANGLE_CURVE = 24;
constexpr int STATUS_BEYOND_SIDE_FRICTION_CURVE = 25;
constexpr int STATUS_BEYOND_SIDE_RESISTANCE_CURVE = 26;
constexpr int STATUS_BEYOND_STRENGTH_CURVE = 27;
constexpr int STATUS_SILT_ZERO_FRICTION_ANGLE = 28;
constexpr int STATUS_SILT_SLOPE_ABOVE_FRICTION = 29;
constexpr int STATUS_SAND_ZERO_FRICTION_ANGLE = 30;
constexpr int STATUS_SAND_SLOPE_ABOVE_FRICTION = 31;
constexpr int STATUS_LS_CURVE_ZERO_E50 = 32;
constexpr int STATUS_LS_CURVE_ZERO_COHESION = 33;
constexpr int STATUS_TORQUE_CURVE_ZERO_E50 = 34;
constexpr int STATUS_TORQUE_CURVE_ZERO_COHESION = 35;
constexpr int STATUS_AXIAL_FORCE_NO_CONVERGENCE = 36;
constexpr int STATUS_INPUT_DATA_ERROR = 40;
constexpr int STATUS_FILE_ERROR = 41;
constexpr int STATUS_CAPACITY_EXCEEDED = 42;
constexpr int STATUS_GENERATION_NO_CONVERGENCE = 43;  // an element of a curve generator did not settle
constexpr int STATUS_ZERO_TORSIONAL_RIGIDITY = 44;    // a section's GJ is not above 1e-6
constexpr int STATUS_SCRATCH_FILE_ERROR = 45;         // the per-pile results scratch file failed

// ------------------------------------------------------------- unit numbers

constexpr int UNIT_RUN_LOG = 10;
constexpr int UNIT_FLEXIBILITY_COLUMNS = 11;
constexpr int UNIT_DOF_RUN_STEPS = 12;
constexpr int UNIT_PILE_RESULTS_SCRATCH = 13;
constexpr int UNIT_COMPUTATION_REPORT = 14;
constexpr int UNIT_INPUT = 15;
constexpr int UNIT_RESULTS_REPORT = 16;
constexpr int UNIT_PLOT = 17;
constexpr int UNIT_SUMMARY = 18;
constexpr int UNIT_RESULT_CODES = 19;
constexpr int UNIT_AXIAL_CURVE_TEXT = 20;
constexpr int UNIT_STATUS = 21;
constexpr int UNIT_STOP_REQUEST = 22;
constexpr int UNIT_EQUIVALENT_SPRINGS = 23;
constexpr int UNIT_EQUIVALENT_STIFFNESS = 24;
constexpr int UNIT_AXIAL_WARNINGS = 25;
constexpr int UNIT_ITERATION_DUMP = 26;
constexpr int UNIT_AXIAL_CURVE_DATA = 27;
constexpr int UNIT_CURVE_EXPORT = 28;
constexpr int UNIT_CAP_MODEL_PILES = 29;
constexpr int UNIT_SUMMARY_SCRATCH = 30;
constexpr int UNIT_FILE_NAMES = 31;
constexpr int UNIT_ECHO = 32;
constexpr int UNIT_ECHO_INSERT = 33;
constexpr int UNIT_GENERATED_AXIAL_CURVES = 34;

// ------------------------------------------------------------- run files

constexpr int FILE_NAME_LENGTH = 256;

// The file names of a run, lines 5 to 28 of "Names.dat", each without its
// trailing blanks.
struct RunFilesRecord {
  std::string input_file, echo_file, results_file, summary_file, plot_file, run_log_file, result_codes_file,
      computation_file, status_file, axial_curve_text_file, flexibility_columns_file, dof_run_steps_file,
      pile_results_scratch_file, stop_request_file, equivalent_springs_file, equivalent_stiffness_file,
      axial_warnings_file, iteration_dump_file, axial_curve_data_file, curve_export_file, cap_model_piles_file,
      summary_scratch_file, echo_insert_file, generated_axial_curves_file;
};
extern RunFilesRecord RunFiles;

// ------------------------------------------------------------ run sequence

// DUVIZU is declared in run/duvizu.hpp, the library's one exported entry.

// RUN_ANALYSIS
// One analysis: creates the model store, opens the run's files, reads,
// converts and echoes the input, runs the cases and combinations, writes the
// final message, times and summary, closes the files and releases the store.
//   out: status  the release result (0) after any run that created its tables;
//                the allocator's code when they could not be created
void RUN_ANALYSIS(int& status);

// SET_STATUS_DETAIL
// Keeps the line that names what failed (input section and line, file name,
// exceeded capacity) for the final message of codes 40, 41 and 42. Called
// by the routine that sets the code; the last call of a run wins.
void SET_STATUS_DETAIL(std::string_view line);
const std::string& STATUS_DETAIL();

// ------------------------------------------------------------- run files

// OPEN_RUN_FILES
// Reads "Names.dat" from the current directory, opens the run's files on
// their units, writes the start line of the status file and polls the stop
// request once.
//   in,out: status  STATUS_FILE_ERROR when "Names.dat" is missing or short or
//                   a file cannot be opened; STATUS_STOPPED_BY_USER on a stop
void OPEN_RUN_FILES(int& status);

// CLOSE_RUN_FILES
// The end of a run: the summary banner, the copy of the summary scratch file
// into the summary report (COPY_SUMMARY_SCRATCH), and the closing of every
// run file (CLOSE_RUN_UNITS).
void CLOSE_RUN_FILES();
void COPY_SUMMARY_SCRATCH();
void CLOSE_RUN_UNITS();

// CHECK_FILE_WRITES
// Hands every open file's buffered data to the file system, then ends a run
// that has no other failure with STATUS_FILE_ERROR when some file of the run
// refused data since the run began (fio's first write failure); the detail
// line names that file, "(WRITE FAILED)" after it.
//   in,out: status  left as it is unless it is STATUS_OK
void CHECK_FILE_WRITES(int& status);

// READ_STOP_REQUEST
// Opens the stop-request file (created empty when missing), reads its first
// integer and closes it. 0 when the file is empty, unreadable or absent.
int READ_STOP_REQUEST();

// ------------------------------------------------------- final report, timing

// Wall-clock times of the run in seconds.
struct RunTimersRecord {
  double case_time = 0.0;      // elapsed time of the case just finished
  double run_clock = 0.0;      // wall clock at the start; elapsed run time at the end
  double case_mark = 0.0;      // elapsed run time at the end of the previous case
  double parallel_time = 0.0;  // in parallel regions during the current case
  double serial_time = 0.0;    // case_time - parallel_time - print_time
  double print_time = 0.0;     // writing per-pile results during the current case
  int threads_used_run = 1;    // largest thread count set in the run
};
extern RunTimersRecord RunTimers;

// REPORT_FINAL_STATUS
// The stop message on the results and summary reports, the summary copy,
// the check of every file's writes, the final message of the status word to
// the run log (after a refused write also to the results and summary reports,
// wherever it can still be written), execution time, and closing.
void REPORT_FINAL_STATUS(int& status);

// PRINT_EXECUTION_TIME: the run's elapsed time and processor line, run log.
void PRINT_EXECUTION_TIME();

// PRINT_TIMING_SUMMARY
// The time of the case just finished with its processor line and its serial,
// parallel and printing shares, run log. Stores RunTimers.serial_time.
void PRINT_TIMING_SUMMARY(int mode);

// WRITE_TIME_LINE: one time line (ms, sec, min or hr layout) for T seconds.
void WRITE_TIME_LINE(int unit, double seconds);

// SET_THREAD_COUNT
// Chooses the thread count of the next parallel region: the request capped by
// the processors, or an automatic count that leaves processors free; never
// more than work_count or (pair_flag 1) 2, never fewer than 1. Raises used_max
// and used_run.
//   in: requested (0 automatic), available (the host's limit), work_count, pair_flag
//   in,out: used_max, used_run
void SET_THREAD_COUNT(int requested, int available, int& used_max, int& used_run, int work_count, int pair_flag);

// The count SET_THREAD_COUNT chooses for p processors.
int THREAD_COUNT_RULE(int requested, int processors, int work_count, int pair_flag);

// ------------------------------------------------------ report field writers
// A report row is built by appending fields to the unit's current line and
// ends with END_REPORT_LINE. Widths and digit counts are those of two-digit
// layout fields: 0 to 99.

constexpr int FIELD_LAYOUT_LIMIT = 99;
constexpr double FIELD_ZERO_LIMIT = 1e-50;   // below this magnitude a value prints as 0
constexpr int APPEND_SCRATCH_LENGTH = 50;    // the text an appended field is formatted in

// WRITE_REAL_FIELD
// Appends v with d significant digits in w columns: fixed form when v's
// decade allows d - k decimals with at most d + 2 of them, else 1PEw.d.
//   in: unit, w (1..99), d (0..99), v
void WRITE_REAL_FIELD(int unit, int w, int d, double v);

// WRITE_INT_FIELD
// Appends n right-aligned in w columns (asterisks when it does not fit).
void WRITE_INT_FIELD(int unit, int w, int n);

// WRITE_BLANKS
// Appends n blanks; nothing when n < 1.
void WRITE_BLANKS(int unit, int n);

// WRITE_TEXT10_FIELD / WRITE_TEXT6_FIELD
// Append one blank, the text as 10 (6) characters, one blank. A shorter text
// is padded with blanks, a longer one cut.
void WRITE_TEXT10_FIELD(int unit, std::string_view text);
void WRITE_TEXT6_FIELD(int unit, std::string_view text);

// WRITE_CHAR_FIELD: appends one character.
void WRITE_CHAR_FIELD(int unit, char c);

// WITHOUT_TRAILING_BLANKS: the text up to its last non-blank character.
std::string_view WITHOUT_TRAILING_BLANKS(std::string_view text);

// WRITE_TRIMMED_TEXT
// Appends the text (at most 256 characters) up to its last non-blank
// character; nothing for an all-blank text.
void WRITE_TRIMMED_TEXT(int unit, std::string_view text);

// WRITE_TEXT2_FIELD / WRITE_TEXT3_FIELD: append the text as 2 (3) characters.
void WRITE_TEXT2_FIELD(int unit, std::string_view text);
void WRITE_TEXT3_FIELD(int unit, std::string_view text);

// END_REPORT_LINE: appends one blank and ends the line.
void END_REPORT_LINE(int unit);

// APPEND_REAL_FIELD
// Places v in positions col+1 .. col+w of line, chosen as WRITE_REAL_FIELD
// does but with the lower limit 10^(3-d); then col := col + w. Characters
// that would fall beyond the end of line are dropped.
//   in:     w (1..50), d (0..99), v
//   in,out: line (its length is the buffer's), col
void APPEND_REAL_FIELD(std::string& line, int w, int d, double v, int& col);

// APPEND_BLANKS
// Blanks at positions col+1 .. col+n of line (none when n < 1); col := col + n.
void APPEND_BLANKS(std::string& line, int n, int& col);

// ===================================================================
// Unit labels and result column headings, set once per run from the option
// line of the input.

constexpr int UNIT_LABELS_LENGTH = 52;
constexpr int RESULT_HEADING_WIDTH = 10;  // characters of one heading cell
constexpr int RESULT_HEADING_COLUMNS = 29;
constexpr int PILE_FIRST_CELL_WIDTH = 6;

// The short unit texts of report headings, addressed by character position
// (1-based): the fields below are fixed stretches of the one text.
struct UnitLabelsRecord {
  std::string text = std::string(UNIT_LABELS_LENGTH, ' ');

  // Characters first .. last.
  std::string_view chars(int first, int last) const {
    return std::string_view(text).substr(static_cast<std::size_t>(first - 1),
                                         static_cast<std::size_t>(last - first + 1));
  }
  char at(int position) const { return text[static_cast<std::size_t>(position - 1)]; }
  std::string_view length() const { return chars(1, 3); }
  std::string_view force() const { return chars(4, 7); }
  std::string_view moment_length() const { return chars(8, 9); }
  std::string_view moment_force() const { return chars(10, 12); }
  std::string_view stress() const { return chars(29, 32); }
  std::string_view length_large() const { return chars(36, 38); }
  std::string_view length_small() const { return chars(39, 41); }
  std::string_view length_large_short() const { return chars(42, 43); }
  std::string_view length_small_short() const { return chars(44, 45); }
  std::string_view force_large() const { return chars(46, 49); }
  std::string_view force_short() const { return chars(50, 52); }
  // The symbol characters, the same in every unit set.
  std::string_view slash() const { return chars(13, 13); }
  std::string_view dash() const { return chars(14, 14); }
  std::string_view power() const { return chars(15, 16); }   // "**"
  std::string_view two() const { return chars(17, 17); }
  std::string_view three() const { return chars(18, 18); }
  std::string_view radians() const { return chars(22, 24); }  // "RAD"
  char blank_mark() const { return at(34); }
  char asterisk_mark() const { return at(35); }
};
extern UnitLabelsRecord UnitLabels;

// The three heading lines above the per-node result columns, one 10-character
// cell per result quantity, and the cells that precede and underline them.
struct ResultColumnHeadingsRecord {
  Array1<std::string, RESULT_HEADING_COLUMNS> line1, line2, unit_line;
  Array1<std::string, 3> node_first_cells;  // "x", blank, depth unit
  Array1<std::string, 2> pile_first_cells;  // " PILE ", then six blanks for lines 2 and 3
  std::string rule10, rule6;
};
extern ResultColumnHeadingsRecord ResultColumnHeadings;

// SET_UNIT_LABELS
// Fills UnitLabels for one unit system: the symbol characters always, then
// the texts of the set. The generic set has no stress unit (blanks) and the
// force texts "F".
//   in: sign        < 0 SI, > 0 English, 0 generic units
//   in: force_unit  1 with English units: forces in kips
void SET_UNIT_LABELS(int& sign, int& force_unit);

// SET_RESULT_COLUMN_HEADINGS
// Fills ResultColumnHeadings from UnitLabels.
//   Reads:  UnitLabels
//   in:     dimension  3 the set of the 3D model, any other value the 2D set
void SET_RESULT_COLUMN_HEADINGS(int& dimension);

}  // namespace pilecap
