// The per-pile results writer of the model in space: after a solved run, or
// for the minimum or maximum envelope of a pass, the cap envelope (TABLE L),
// then pile by pile a computation-report block and, in a second task of the
// same parallel region, the pile's scratch records and its results-report
// tables (TABLE M); last, the summary tables over all piles read back from
// the scratch file. Result tables are (pile, row, quantity) with node k at
// row k + 4; forces in the results report follow the kip option, the
// computation report keeps the internal units.
#include <omp.h>

#include <span>
#include <string_view>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"
#include "summary/summary.hpp"

namespace pilecap {

namespace {

// ------------------------------------------------------------- layouts

//   "     LOAD CASE ENV : 1" / "     CASE NAME     : MINIMUM ENVELOPE"
constexpr const char* CASE_ENVELOPE_TITLE_LAYOUT = "(/,/,/,5X,\"LOAD CASE ENV : \",A,/,5X,\"CASE NAME     : \",A)";
constexpr const char* COMBINATION_ENVELOPE_TITLE_LAYOUT =
    "(/,/,/,5X,\"LOAD COMB. ENV : \",A,/,5X,\"COMB. NAME     : \",A)";
constexpr const char* CASE_ENVELOPE_LINE_LAYOUT = "(\"LOAD CASE ENV : \",A)";
constexpr const char* COMBINATION_ENVELOPE_LINE_LAYOUT = "(\"LOAD COMB. ENV : \",A)";
constexpr const char* CASE_ENVELOPE_CODE_LAYOUT = "(\"LOAD CASE ENV : \",A,/,6X,A)";
constexpr const char* COMBINATION_ENVELOPE_CODE_LAYOUT = "(\"LOAD COMB. ENV : \",A,/,6X,A)";
constexpr const char* ENVELOPE_PRINTED_LAYOUT = "(\"    1 CALCULATED AND PRINTED\")";

constexpr const char* TABLE_L_LAYOUT = "(/,/,/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* CAP_LOAD_TITLE_LAYOUT = "(/,/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
//   "           VERT. LOAD,KIPS    HOR. LOAD Y,KIPS   HOR. LOAD Z,KIPS"
constexpr const char* CAP_DISPLACEMENT_TITLE_LAYOUT =
    "(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")";
constexpr const char* TABLE_M_LAYOUT = "(/,/,/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";
constexpr const char* TABLE_M_SCRATCH_LAYOUT = "(/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";

constexpr const char* COMPUTATION_TABLE_L_LAYOUT = "(5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")";
constexpr const char* COMPUTATION_CAP_LOAD_LAYOUT = "(\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* COMPUTATION_CAP_DISPLACEMENT_LAYOUT = "(\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";
constexpr const char* COMPUTATION_TABLE_M_LAYOUT = "(\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")";

//   "* PILE GROUP *     3"
constexpr const char* COMPUTATION_PILE_LAYOUT = "(\"* PILE GROUP *\",I6)";
constexpr const char* COMPUTATION_GLOBAL_LAYOUT = "(7X,\"* PILE TOP DISP. AND REACT. GLOBAL\")";
constexpr const char* COMPUTATION_LOCAL_LAYOUT = "(7X,\"* PILE TOP DISP. AND REACT. LOCAL\")";
constexpr const char* COMPUTATION_EFFECTS_LAYOUT = "(8X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \")";

constexpr const char* PILE_TITLE_LAYOUT = "(/,/,7X,\"* PILE GROUP *\",I6)";
constexpr const char* PILE_TOP_TITLE_LAYOUT = "(/,/,8X,\"* PILE TOP DISPLACEMENTS AND REACTIONS *\",/)";
constexpr const char* GLOBAL_SYSTEM_LAYOUT =
    "(/,7X,\"THE GLOBAL STRUCTURAL COORDINATE SYSTEM\",/,7X,\"---------------------------------------\",/)";
constexpr const char* LOCAL_SYSTEM_LAYOUT =
    "(/,/,7X,\"THE PILE COORDINATE SYSTEM (LOCAL AXES)\",/,7X,\"---------------------------------------\",/)";
//   "      DISP. X,IN   DISP. Y,IN   DISP. Z,IN   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD  "
constexpr const char* GLOBAL_DISPLACEMENT_HEADING_LAYOUT =
    "(/,5X,\" DISP. X,\",A2,3X,\"DISP. Y,\",A2,3X,\"DISP. Z,\",A2,3X,\"ROT. X,\",A3,3X,\"ROT. Y,\",A3,3X,\"ROT. "
    "Z,\",A3,"
    "2X)";
constexpr const char* LOCAL_DISPLACEMENT_HEADING_LAYOUT =
    "(/,5X,\" DISP. x,\",A2,3X,\"DISP. y,\",A2,3X,\"DISP. z,\",A2,3X,\"ROT. x,\",A3,3X,\"ROT. y,\",A3,3X,\"ROT. "
    "z,\",A3,"
    "2X)";
constexpr const char* GLOBAL_REACTION_HEADING_LAYOUT =
    "(/,5X,\" FOR. X,\",A3,3X,\"FOR. Y,\",A3,3X,\"FOR. Z,\",A3,2X,\"MOM X,\",A3,A1,A2,1X,\"MOM Y,\",A3,A1,A2,1X,"
    "\"MOM Z,\",A3,A1,A2)";
constexpr const char* LOCAL_REACTION_HEADING_LAYOUT =
    "(/,5X,\"  AXIAL,\",A3,3X,\"LAT. y,\",A3,3X,\"LAT. z,\",A3,2X,\"MOM x,\",A3,A1,A2,1X,\"MOM y,\",A3,A1,A2,1X,"
    "\"MOM z,\",A3,A1,A2)";
//   "     STR,LBS/IN**2"
constexpr const char* STRESS_HEADING_LAYOUT = "(/,5X,\"STR,\",A3,A1,A2,A2,A1)";
constexpr const char* NODE_TABLE_TITLE_LAYOUT = "(/,/,8X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \",/)";

// Fields of the value rows.
constexpr CapRowFields RESULTS_CAP_ROW = {8, 18, 5};
constexpr CapRowFields SUMMARY_CAP_ROW = {5, 19, 4};
constexpr int COMPUTATION_CAP_WIDTH = 18;
constexpr int COMPUTATION_CAP_GAP = 5;
constexpr int COMPUTATION_TOP_LEAD = 5;
constexpr int COMPUTATION_TOP_WIDTH = 15;
constexpr int COMPUTATION_TOP_GAP = 2;
constexpr int FULL_DIGITS = 8;
constexpr int PILE_TOP_ROW_LEAD = 3;
constexpr int PILE_TOP_WIDTH = 13;
constexpr int PILE_TOP_DIGITS = 4;

constexpr int CAP_COMPONENTS = 6;
constexpr int HALF = 3;
// Print option of the combination envelopes from which their node tables print.
constexpr int COMBINATION_NODE_TABLE_OPTION = 2;

// Unit texts of UnitLabels.symbols.

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

// What the print switches of a kind ask for.
struct PrintSwitches {
  bool pile_top;
  bool node_table;
  int node_step;
};

PrintSwitches print_switches(int kind) {
  switch (kind) {
    case ENVELOPE_KIND_CASES: {
      const EnvelopeSettings& e = EnvelopeOptions.cases;
      return {e.print_option >= 1, e.print_option >= 1, e.node_step};
    }
    case ENVELOPE_KIND_COMBINATIONS: {
      const EnvelopeSettings& e = EnvelopeOptions.combinations;
      return {e.print_option >= 1, e.print_option >= COMBINATION_NODE_TABLE_OPTION, e.node_step};
    }
    default:
      return {AnalysisControl.output_option >= 1, AnalysisControl.output_option >= 1, AnalysisControl.output_count};
  }
}

// 1 when every pile has a user load-settlement curve (or there is none), else -1.
int user_curve_flag() {
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    if (PileTable.ls_curve(p) < 1) return -1;
  }
  return 1;
}

void gather(int p, int which, PileOutput& out) {
  const int set = PileTable.prop(p);
  out.pile = p;
  out.increment = PileProperty.increment(set);
  out.last_row = FIRST_NODE_ROW + PileProperty.n_increments(set);
  PILECAP_ASSERT(out.last_row <= PILE_NODE_ROWS, "a pile's nodes fit the node tables");
  if (out.last_row > PILE_NODE_ROWS) out.last_row = PILE_NODE_ROWS;
  out.ls_curve = PileTable.ls_curve(p);
  const PileTopResultsRecord& t = PileTopResults;
  const Table2<double>& global =
      which == 0 ? t.current_global : (which == ENVELOPE_MINIMUM ? t.min_global : t.max_global);
  const Table2<double>& local = which == 0 ? t.current_local : (which == ENVELOPE_MINIMUM ? t.min_local : t.max_local);
  for (int c = 1; c <= PILE_TOP_RESULT_COUNT; ++c) {
    out.global_values[c - 1] = global(p, c);
    out.local_values[c - 1] = local(p, c);
  }
  const Table3<double>& nodes =
      which == 0 ? NodeResults.current : (which == ENVELOPE_MINIMUM ? NodeResults.min_env : NodeResults.max_env);
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    for (int row = FIRST_NODE_ROW; row <= out.last_row; ++row) out.values(row, q) = nodes(p, row, q);
  }
}

// One row of reals behind lead blanks, each optionally followed by gap blanks.
void write_value_row(int unit, int lead, int width, int digits, const double* values, int count, int gap, bool kips) {
  WRITE_BLANKS(unit, lead);
  for (int k = 0; k < count; ++k) {
    WRITE_REAL_FIELD(unit, width, digits, kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
    WRITE_BLANKS(unit, gap);
  }
  END_REPORT_LINE(unit);
}

// The envelope titles of the results report, summary, computation report
// and result-code file.
void write_envelope_titles(int kind, int which) {
  const bool cases = kind == ENVELOPE_KIND_CASES;
  const std::string_view number = which == ENVELOPE_MINIMUM ? "1" : "2";
  const std::string_view name = which == ENVELOPE_MINIMUM ? "MINIMUM ENVELOPE" : "MAXIMUM ENVELOPE";
  const char* title = cases ? CASE_ENVELOPE_TITLE_LAYOUT : COMBINATION_ENVELOPE_TITLE_LAYOUT;
  fio::write(UNIT_RESULTS_REPORT, title, number, name);
  fio::write(UNIT_SUMMARY, title, number, name);
  fio::write(UNIT_COMPUTATION_REPORT, cases ? CASE_ENVELOPE_LINE_LAYOUT : COMBINATION_ENVELOPE_LINE_LAYOUT, number);
  fio::write(UNIT_RESULT_CODES, cases ? CASE_ENVELOPE_CODE_LAYOUT : COMBINATION_ENVELOPE_CODE_LAYOUT, number, name);
  fio::write(UNIT_RESULT_CODES, ENVELOPE_PRINTED_LAYOUT);
}

// TABLE L on the results report or the summary.
void write_table_l(int unit, const CapRowFields& row, const double* load, const double* displacement) {
  fio::write(unit, TABLE_L_LAYOUT);
  fio::write(unit, CAP_LOAD_TITLE_LAYOUT);
  WRITE_CAP_LOAD_TABLE(unit, row, load, nullptr);
  fio::write(unit, CAP_DISPLACEMENT_TITLE_LAYOUT);
  WRITE_CAP_DISPLACEMENT_TABLE(unit, row, displacement, nullptr);
}

void write_cap_envelope(int kind, int which) {
  write_envelope_titles(kind, which);
  const bool minimum = which == ENVELOPE_MINIMUM;
  const double* load = minimum ? CapEnvelope.min_load.data() : CapEnvelope.max_load.data();
  const double* displacement = minimum ? CapEnvelope.min_displacement.data() : CapEnvelope.max_displacement.data();
  write_table_l(UNIT_RESULTS_REPORT, RESULTS_CAP_ROW, load, displacement);
  write_table_l(UNIT_SUMMARY, SUMMARY_CAP_ROW, load, displacement);
  fio::write(UNIT_RESULTS_REPORT, TABLE_M_LAYOUT);
  fio::write(UNIT_SUMMARY, TABLE_M_LAYOUT);
  fio::write(UNIT_SUMMARY_SCRATCH, TABLE_M_SCRATCH_LAYOUT);
  const int unit = UNIT_COMPUTATION_REPORT;
  fio::write(unit, COMPUTATION_TABLE_L_LAYOUT);
  fio::write(unit, COMPUTATION_CAP_LOAD_LAYOUT);
  write_value_row(unit, 0, COMPUTATION_CAP_WIDTH, FULL_DIGITS, load, CAP_COMPONENTS, COMPUTATION_CAP_GAP, false);
  fio::write(unit, COMPUTATION_CAP_DISPLACEMENT_LAYOUT);
  write_value_row(unit, 0, COMPUTATION_CAP_WIDTH, FULL_DIGITS, displacement, CAP_COMPONENTS, COMPUTATION_CAP_GAP,
                  false);
}

// One pile-top line of the computation block: displacements, reactions, stress.
void write_computation_top_line(const double* top_values, double stress) {
  const int unit = UNIT_COMPUTATION_REPORT;
  WRITE_BLANKS(unit, COMPUTATION_TOP_LEAD);
  for (int k = 0; k < CAP_COMPONENTS; ++k) {
    WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, top_values[k]);
    WRITE_BLANKS(unit, COMPUTATION_TOP_GAP);
  }
  WRITE_BLANKS(unit, COMPUTATION_TOP_LEAD);
  for (int k = CAP_COMPONENTS; k < 2 * CAP_COMPONENTS; ++k) {
    WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, top_values[k]);
    WRITE_BLANKS(unit, COMPUTATION_TOP_GAP);
  }
  WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, stress);
  END_REPORT_LINE(unit);
}

// Task 0: the pile's block on the computation report.
void write_computation_block(const PileOutput& o) {
  const int unit = UNIT_COMPUTATION_REPORT;
  const double stress = o.global_values[PT_STRESS - 1];
  fio::write(unit, COMPUTATION_PILE_LAYOUT, o.pile);
  fio::write(unit, COMPUTATION_GLOBAL_LAYOUT);
  write_computation_top_line(o.global_values, stress);
  fio::write(unit, COMPUTATION_LOCAL_LAYOUT);
  write_computation_top_line(o.local_values, stress);
  fio::write(unit, COMPUTATION_EFFECTS_LAYOUT);
  WRITE_NODE_RESULTS_DATA(o.last_row, o.ls_curve, AnalysisControl.axial_variation, AnalysisControl.current_combination,
                          RunOptions.dimension, o.increment, o.values);
}

// The pile-top tables of the results report.
void write_pile_top_tables(const PileOutput& o) {
  const int unit = UNIT_RESULTS_REPORT;
  const UnitLabelsRecord& u = UnitLabels;
  const double stress = o.global_values[PT_STRESS - 1];
  const std::string_view f = u.force_short();
  const std::string_view l = u.moment_length();
  fio::write(unit, PILE_TITLE_LAYOUT, o.pile);
  fio::write(unit, PILE_TOP_TITLE_LAYOUT);
  for (int system = 0; system < 2; ++system) {
    const bool global = system == 0;
    const double* top = global ? o.global_values : o.local_values;
    fio::write(unit, global ? GLOBAL_SYSTEM_LAYOUT : LOCAL_SYSTEM_LAYOUT);
    fio::write(unit, global ? GLOBAL_DISPLACEMENT_HEADING_LAYOUT : LOCAL_DISPLACEMENT_HEADING_LAYOUT, l, l, l,
               UnitLabels.radians(), UnitLabels.radians(), UnitLabels.radians());
    write_value_row(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, top, CAP_COMPONENTS, 0, false);
    fio::write(unit, global ? GLOBAL_REACTION_HEADING_LAYOUT : LOCAL_REACTION_HEADING_LAYOUT, f, f, f, f,
               UnitLabels.dash(), l, f, UnitLabels.dash(), l, f, UnitLabels.dash(), l);
    write_value_row(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, top + CAP_COMPONENTS, CAP_COMPONENTS, 0,
                    true);
    fio::write(unit, STRESS_HEADING_LAYOUT, f, UnitLabels.slash(), l, UnitLabels.power(), UnitLabels.two());
    write_value_row(unit, PILE_TOP_ROW_LEAD, PILE_TOP_WIDTH, PILE_TOP_DIGITS, &stress, 1, 0, true);
  }
}

// Task 1: the scratch records and the results-report tables of the pile.
// Returns the first failing fio code of the scratch file.
int write_results_side(const PileOutput& o, int envelope, const PrintSwitches& s) {
  int code = WRITE_PILE_TOP_RECORDS(o.pile, o.global_values, o.local_values);
  if (s.pile_top) {
    write_pile_top_tables(o);
    if (s.node_table) {
      fio::write(UNIT_RESULTS_REPORT, NODE_TABLE_TITLE_LAYOUT);
      ResultColumnFlags flags;
      SELECT_RESULT_COLUMNS(envelope, o.ls_curve, AnalysisControl.axial_variation, RunOptions.dimension, flags);
      WRITE_RESULT_COLUMN_HEADERS(HEADING_NODE_TABLE, flags);
      WRITE_NODE_RESULT_ROWS(flags, o.last_row, s.node_step, o.increment, o.values);
    }
  }
  if (code == fio::IO_OK) code = WRITE_PILE_EXTREMES(o.pile, o.last_row, o.increment, o.values);
  return code;
}

}  // namespace

void ENVEWR(int kind, int which, int& status) {
  const int n_piles = PileTable.n_piles;
  const int user_curves = user_curve_flag();
  if (which >= 1) write_cap_envelope(kind, which);
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_TABLE_M_LAYOUT);

  OPEN_PILE_RESULTS_SCRATCH(true, status);
  if (status != STATUS_OK) return;
  const int envelope = kind == ENVELOPE_KIND_RUN ? 0 : 1;
  const PrintSwitches switches = print_switches(kind);
  PileOutput output;
  int scratch_code = fio::IO_OK;
  for (int p = 1; p <= n_piles && scratch_code == fio::IO_OK; ++p) {
    gather(p, which, output);
    SET_THREAD_COUNT(AnalysisControl.threads_wanted, AnalysisControl.threads_available,
                     AnalysisControl.threads_used_max, RunTimers.threads_used_run, n_piles, 1);
    const double start = omp_get_wtime();
    // Task 0 writes only the computation report, task 1 only the scratch
    // file and the results report; both read the gathered output set.
#pragma omp parallel for schedule(static)
    for (int task = 0; task <= 1; ++task) {
      if (task == 0) {
        write_computation_block(output);
      } else {
        scratch_code = write_results_side(output, envelope, switches);
      }
    }
    RunTimers.print_time += omp_get_wtime() - start;
  }
  if (scratch_code != fio::IO_OK) SCRATCH_FILE_FAILED(status);
  CLOSE_PILE_RESULTS_SCRATCH(status);
  if (status != STATUS_OK) return;

  ResultColumnFlags flags;
  SELECT_RESULT_COLUMNS(envelope, user_curves, AnalysisControl.axial_variation, RunOptions.dimension, flags);
  WRITE_PILE_SUMMARY_TABLES(n_piles, flags, status);
}

}  // namespace pilecap
