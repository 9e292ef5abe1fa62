// The frame of the per-pile results writers of space and of the plane: the
// output set of a pile, the print switches, the envelope titles and cap
// envelope, and the loop of each pile's two tasks (computation-report block,
// formatted side by side; scratch records and results-report tables) in pile
// order, followed by
// the summary tables. Result tables are (pile, row, quantity) with node k at
// row k + 4; forces in the results report follow the kip option, the
// computation report keeps the internal units.
#include "results/pile_writer.hpp"

#include <omp.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "summary/summary.hpp"

namespace pilecap {

namespace {

//   "     LOAD CASE ENV : 1" / "     CASE NAME     : MINIMUM ENVELOPE"
constexpr const char* CASE_ENVELOPE_TITLE_LAYOUT = "(/,/,/,5X,\"LOAD CASE ENV : \",A,/,5X,\"CASE NAME     : \",A)";
constexpr const char* COMBINATION_ENVELOPE_TITLE_LAYOUT =
    "(/,/,/,5X,\"LOAD COMB. ENV : \",A,/,5X,\"COMB. NAME     : \",A)";
constexpr const char* CASE_ENVELOPE_LINE_LAYOUT = "(\"LOAD CASE ENV : \",A)";
constexpr const char* COMBINATION_ENVELOPE_LINE_LAYOUT = "(\"LOAD COMB. ENV : \",A)";
constexpr const char* CASE_ENVELOPE_CODE_LAYOUT = "(\"LOAD CASE ENV : \",A,/,6X,A)";
constexpr const char* COMBINATION_ENVELOPE_CODE_LAYOUT = "(\"LOAD COMB. ENV : \",A,/,6X,A)";
constexpr const char* ENVELOPE_PRINTED_LAYOUT = "(\"    1 CALCULATED AND PRINTED\")";

//   "* PILE GROUP *     3"
// The computation-report block of a pile after a run or for an envelope.
constexpr ComputationBlockLayouts RUN_BLOCK_LAYOUTS{
    "(\"* PILE GROUP *\",I6)", "(7X,\"* PILE TOP DISP. AND REACT. GLOBAL\")",
    "(7X,\"* PILE TOP DISP. AND REACT. LOCAL\")", "(8X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \")"};
constexpr const char* PILE_TITLE_LAYOUT = "(/,/,7X,\"* PILE GROUP *\",I6)";
constexpr const char* PILE_TOP_TITLE_LAYOUT = "(/,/,8X,\"* PILE TOP DISPLACEMENTS AND REACTIONS *\",/)";
constexpr const char* GLOBAL_SYSTEM_LAYOUT =
    "(/,7X,\"THE GLOBAL STRUCTURAL COORDINATE SYSTEM\",/,7X,\"---------------------------------------\",/)";
constexpr const char* LOCAL_SYSTEM_LAYOUT =
    "(/,/,7X,\"THE PILE COORDINATE SYSTEM (LOCAL AXES)\",/,7X,\"---------------------------------------\",/)";
constexpr const char* NODE_TABLE_TITLE_LAYOUT = "(/,/,8X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \",/)";

// Fields of the value rows.
constexpr CapRowFields RESULTS_CAP_ROW = {8, 18, 5};
constexpr CapRowFields SUMMARY_CAP_ROW = {5, 19, 4};
constexpr int ENVELOPE_ROTATION_GAP_2D = 4;
constexpr int COMPUTATION_CAP_WIDTH = 18;
constexpr int COMPUTATION_CAP_GAP = 5;
constexpr int COMPUTATION_TOP_LEAD = 5;
constexpr int COMPUTATION_TOP_WIDTH = 15;
constexpr int COMPUTATION_TOP_GAP = 2;
constexpr int FULL_DIGITS = 8;
// Piles per thread whose outputs and formatted computation blocks are held
// at once while they are printed: enough to keep every thread busy, few
// enough that what is held stays small whatever the number of piles. A
// pile's output set (its node tables at the largest node count) and its
// formatted block take about 50 and 40 to 80 kB.
constexpr int PRINT_BATCH_PILES_PER_THREAD = 8;

// Print option of the combination envelopes from which their node tables print.
constexpr int COMBINATION_NODE_TABLE_OPTION = 2;

// TABLE L on the results report or the summary.
void write_table_l(int unit, const CapRowFields& row, const double* load, const double* displacement, bool plane) {
  WRITE_TABLE_L_TITLE(unit);
  WRITE_CAP_LOAD_TITLE(unit);
  if (plane) {
    WRITE_CAP_LOAD_TABLE_2D(unit, row, load, nullptr);
  } else {
    WRITE_CAP_LOAD_TABLE(unit, row, load, nullptr);
  }
  WRITE_CAP_DISPLACEMENT_TITLE(unit);
  if (plane) {
    WRITE_CAP_DISPLACEMENT_TABLE_2D(unit, row, displacement, nullptr, ENVELOPE_ROTATION_GAP_2D);
  } else {
    WRITE_CAP_DISPLACEMENT_TABLE(unit, row, displacement, nullptr);
  }
}

// One pile-top line of the computation block: n displacements, n reactions
// (from top_values[n]) and the stress.
void write_computation_top_line(const double* top_values, int n, double stress) {
  const int unit = UNIT_COMPUTATION_REPORT;
  WRITE_BLANKS(unit, COMPUTATION_TOP_LEAD);
  for (int k = 0; k < n; ++k) {
    WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, top_values[k]);
    WRITE_BLANKS(unit, COMPUTATION_TOP_GAP);
  }
  WRITE_BLANKS(unit, COMPUTATION_TOP_LEAD);
  for (int k = n; k < 2 * n; ++k) {
    WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, top_values[k]);
    WRITE_BLANKS(unit, COMPUTATION_TOP_GAP);
  }
  WRITE_REAL_FIELD(unit, COMPUTATION_TOP_WIDTH, FULL_DIGITS, stress);
  END_REPORT_LINE(unit);
}

// Task 1: the scratch records and the results-report tables of the pile.
// Returns the first failing fio code of the scratch file.
int write_results_side(const PileOutput& o, int envelope, const PrintSwitches& s, const PileWriterParts& parts) {
  int code = parts.pile_top_records_and_tables(o, s);
  if (s.pile_top && s.node_table) {
    fio::write(UNIT_RESULTS_REPORT, NODE_TABLE_TITLE_LAYOUT);
    ResultColumnFlags flags;
    SELECT_RESULT_COLUMNS(envelope, o.ls_curve, AnalysisControl.axial_variation, RunOptions.dimension, flags);
    WRITE_RESULT_COLUMN_HEADERS(HEADING_NODE_TABLE, flags);
    WRITE_NODE_RESULT_ROWS(flags, o.last_row, s.node_step, o.increment, o.values);
  }
  if (code == fio::IO_OK) code = WRITE_PILE_EXTREMES(o.pile, o.last_row, o.increment, o.values);
  return code;
}

}  // namespace

PrintSwitches PRINT_SWITCHES_OF_KIND(int kind) {
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

int USER_CURVE_FLAG() {
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    if (PileTable.ls_curve(p) < 1) return -1;
  }
  return 1;
}

void GATHER_PILE_OUTPUT(int p, int which, PileOutput& out) {
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

void WRITE_VALUE_ROW(int unit, int lead, int width, int digits, const double* values, int count, int gap, bool kips) {
  WRITE_BLANKS(unit, lead);
  for (int k = 0; k < count; ++k) {
    WRITE_REAL_FIELD(unit, width, digits, kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
    WRITE_BLANKS(unit, gap);
  }
  END_REPORT_LINE(unit);
}

void WRITE_PILE_TOP_TITLE(int pile) {
  fio::write(UNIT_RESULTS_REPORT, PILE_TITLE_LAYOUT, pile);
  fio::write(UNIT_RESULTS_REPORT, PILE_TOP_TITLE_LAYOUT);
}

void WRITE_COORDINATE_SYSTEM_TITLE(bool global) {
  fio::write(UNIT_RESULTS_REPORT, global ? GLOBAL_SYSTEM_LAYOUT : LOCAL_SYSTEM_LAYOUT);
}

void WRITE_ENVELOPE_TITLES(int kind, int which) {
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

void WRITE_CAP_ENVELOPE(int kind, int which, bool plane) {
  WRITE_ENVELOPE_TITLES(kind, which);
  const bool minimum = which == ENVELOPE_MINIMUM;
  const double* load = minimum ? CapEnvelope.min_load.data() : CapEnvelope.max_load.data();
  const double* displacement = minimum ? CapEnvelope.min_displacement.data() : CapEnvelope.max_displacement.data();
  // The plane model prints its summary copy line for line like the report.
  write_table_l(UNIT_RESULTS_REPORT, RESULTS_CAP_ROW, load, displacement, plane);
  write_table_l(UNIT_SUMMARY, plane ? RESULTS_CAP_ROW : SUMMARY_CAP_ROW, load, displacement, plane);
  WRITE_TABLE_M_TITLES();
  const int unit = UNIT_COMPUTATION_REPORT;
  const int components = CAP_DOFS_OF_MODEL(plane ? MODEL_2D : MODEL_3D);
  WRITE_TABLE_L_TITLE(unit);
  WRITE_CAP_LOAD_TITLE(unit);
  WRITE_VALUE_ROW(unit, 0, COMPUTATION_CAP_WIDTH, FULL_DIGITS, load, components, COMPUTATION_CAP_GAP, false);
  WRITE_CAP_DISPLACEMENT_TITLE(unit);
  WRITE_VALUE_ROW(unit, 0, COMPUTATION_CAP_WIDTH, FULL_DIGITS, displacement, components, COMPUTATION_CAP_GAP, false);
}

void WRITE_COMPUTATION_BLOCK(const PileOutput& o, int n, const ComputationBlockLayouts& layouts) {
  const int unit = UNIT_COMPUTATION_REPORT;
  const double stress = o.global_values[2 * n];
  fio::write(unit, layouts.pile, o.pile);
  fio::write(unit, layouts.global);
  write_computation_top_line(o.global_values, n, stress);
  fio::write(unit, layouts.local);
  write_computation_top_line(o.local_values, n, stress);
  fio::write(unit, layouts.effects);
  WRITE_NODE_RESULTS_DATA(o.last_row, o.ls_curve, AnalysisControl.axial_variation, AnalysisControl.current_combination,
                          RunOptions.dimension, o.increment, o.values);
}

void WRITE_PILE_OUTPUTS(int which, const PileComputationTask& computation, const PileScratchTask& scratch,
                        int& status) {
  const int n_piles = PileTable.n_piles;
  OPEN_PILE_RESULTS_SCRATCH(true, status);
  if (status != STATUS_OK) return;
  std::vector<PileOutput> outputs;
  std::vector<std::string> blocks;
  int scratch_code = fio::IO_OK;
  SET_PILE_LOOP_THREADS(n_piles);
  const int batch = PRINT_BATCH_PILES_PER_THREAD * omp_get_max_threads();
  for (int first = 1; first <= n_piles && scratch_code == fio::IO_OK; first += batch) {
    const int last = std::min(n_piles, first + batch - 1);
    const int count = last - first + 1;
    outputs.resize(static_cast<std::size_t>(count));
    blocks.assign(static_cast<std::size_t>(count), std::string());
    SET_PILE_LOOP_THREADS(count);
    const double start = omp_get_wtime();
    // The computation-report blocks are formatted side by side, each thread
    // into its own capture, and handed to the report in pile order below:
    // formatting them is most of the printing, and the report's text is the
    // same as when one thread writes them. The schedule: SET_PILE_LOOP_THREADS.
#pragma omp parallel for schedule(guided)
    for (int p = first; p <= last; ++p) {
      const std::size_t slot = static_cast<std::size_t>(p - first);
      GATHER_PILE_OUTPUT(p, which, outputs[slot]);
      fio::CaptureUnit capture(UNIT_COMPUTATION_REPORT);
      computation(outputs[slot]);
      blocks[slot] = capture.take();
    }
    for (int p = first; p <= last && scratch_code == fio::IO_OK; ++p) {
      const std::size_t slot = static_cast<std::size_t>(p - first);
      fio::write_captured(UNIT_COMPUTATION_REPORT, blocks[slot]);
      scratch_code = scratch(outputs[slot]);
    }
    RunTimers.print_time += omp_get_wtime() - start;
  }
  if (scratch_code != fio::IO_OK) SCRATCH_FILE_FAILED(status);
  CLOSE_PILE_RESULTS_SCRATCH(status);
}

void WRITE_PER_PILE_RESULTS(int kind, int which, const PileWriterParts& parts, int& status) {
  const int user_curves = USER_CURVE_FLAG();
  WRITE_TABLE_M_TITLE(UNIT_COMPUTATION_REPORT);
  const int envelope = kind == ENVELOPE_KIND_RUN ? 0 : 1;
  const PrintSwitches switches = PRINT_SWITCHES_OF_KIND(kind);
  WRITE_PILE_OUTPUTS(
      which, [&](const PileOutput& o) { WRITE_COMPUTATION_BLOCK(o, parts.top_values, RUN_BLOCK_LAYOUTS); },
      [&](const PileOutput& o) { return write_results_side(o, envelope, switches, parts); }, status);
  if (status != STATUS_OK) return;

  ResultColumnFlags flags;
  SELECT_RESULT_COLUMNS(envelope, user_curves, AnalysisControl.axial_variation, RunOptions.dimension, flags);
  parts.summary(PileTable.n_piles, flags, status);
}

}  // namespace pilecap
