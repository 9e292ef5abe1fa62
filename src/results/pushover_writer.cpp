// The results of one point of an incremental (pushover) analysis, in space
// and in the plane: the cap's load and displacement at the origin with the
// point's factor, then pile by pile a computation-report block and the
// pile's scratch records (with its plastic hinges, the uppermost node of
// each run of yielded nodes), and last the summary tables over all piles of
// the point and the table of hinges. No per-pile table reaches the results
// report or the summary. Result tables are (pile, row, quantity) with node
// k at row k + 4; the computation report keeps the internal units.
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "results/pile_writer.hpp"
#include "results/results.hpp"
#include "summary/summary.hpp"

namespace pilecap {

namespace {

// ------------------------------------------------------- cap results

//        N:    2  FACTOR :    0.5000
constexpr const char* POINT_LAYOUT = "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
//            1   N:    2  FACTOR :    0.5000
constexpr const char* POINT_COMPUTATION_LAYOUT = "(4X,\"    1\",\"   N:\",I5,\"  FACTOR :\",F10.4)";
// A point that stopped below its load carries its mark beside its number:
//        N:    2  FACTOR :    1.3750  PARTIAL:  68.75 % OF THE POINT LOAD
constexpr const char* PARTIAL_POINT_LAYOUT =
    "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4,\"  PARTIAL: \",F6.2,\" % OF THE POINT LOAD\")";
constexpr const char* PARTIAL_POINT_COMPUTATION_LAYOUT =
    "(4X,\"    1\",\"   N:\",I5,\"  FACTOR :\",F10.4,\"  PARTIAL: \",F6.2,\" % OF THE POINT LOAD\")";
constexpr const char* CAP_COMPUTATION_LAYOUT = "(6X,\"* COMPUTATION ON PILE CAP *\")";
constexpr const char* LOAD_COMPUTATION_LAYOUT = "(6X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* DISPLACEMENT_COMPUTATION_LAYOUT = "(6X,\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";
constexpr const char* LOAD_TITLE_LAYOUT = "(/,6X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* DISPLACEMENT_TITLE_LAYOUT = "(/,6X,\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")";
//                 FX,KIP         FY,KIP         FZ,KIP       MX,KIP-IN      MY,KIP-IN      MZ,KIP-IN
constexpr const char* LOAD_HEADING_LAYOUT =
    "(2X,\"     \",5X,\"   FX,\",A3,6X,\"   FY,\",A3,6X,\"   FZ,\",A3,4X,\"   MX,\",A3,A1,A2,3X,\"   MY,\",A3,A1,A2,3X,"
    "\"   MZ,\",A3,A1,A2,5X)";
constexpr const char* LOAD_HEADING_LAYOUT_2D =
    "(2X,\"     \",5X,\"   FX,\",A3,6X,\"   FY,\",A3,2X,\"   MZ,\",A3,A1,A2,5X)";
//                 UX,IN          UY,IN          UZ,IN          RX,RAD         RY,RAD         RZ,RAD
constexpr const char* DISPLACEMENT_HEADING_LAYOUT =
    "(2X,\"     \",5X,\"   UX,\",A2,7X,\"   UY,\",A2,7X,\"   UZ,\",A2,7X,\"   RX,\",A3,6X,\"   RY,\",A3,6X,\"   "
    "RZ,\",A3,"
    "6X)";
constexpr const char* DISPLACEMENT_HEADING_LAYOUT_2D =
    "(2X,\"     \",5X,\"   UX,\",A2,7X,\"   UY,\",A2,7X,\"   RZ,\",A3,6X)";

constexpr int ROW_LEAD = 7;
constexpr int COMPUTATION_WIDTH = 18;
constexpr int COMPUTATION_DIGITS = 8;
constexpr int COMPUTATION_GAP = 5;
constexpr int REPORT_WIDTH = 15;
constexpr int REPORT_DIGITS = 5;

// ----------------------------------------------------- per-pile results

//       * COMPUTATION ON INDIVIDUAL PILE *
constexpr const char* INDIVIDUAL_PILE_LAYOUT = "(2X,\"    * COMPUTATION ON INDIVIDUAL PILE *\")";
//       * PILE GROUP *     3
constexpr ComputationBlockLayouts POINT_BLOCK_LAYOUTS{
    "(2X,\"    * PILE GROUP *\",I6)", "(2X,\"    * PILE TOP DISP. AND REACT. GLOBAL\")",
    "(2X,\"    * PILE TOP DISP. AND REACT. LOCAL\")", "(2X,\"    * EFFECTS FOR LATERALLY LOADED PILE *\")"};
constexpr const char* EFFECTS_TITLE_LAYOUT = "(/,7X,\"* EFFECTS FOR LATERALLY LOADED PILE *   \")";
constexpr const char* HINGE_TITLE_LAYOUT = "(/,7X,\"* FORMATION OF PLASTIC HINGES IN PILES *   \")";
constexpr const char* HINGE_HEADING_LAYOUT = "(/,7X,A)";
//        PILE     DIR          DEPTH  (FT)
constexpr std::string_view HINGE_HEADING_ENGLISH = " PILE     DIR          DEPTH  (FT)         ";
constexpr std::string_view HINGE_HEADING_SI = " PILE     DIR          DEPTH  (M)          ";
constexpr std::string_view HINGE_HEADING_ENGLISH_2D = " PILE                  DEPTH  (FT)         ";
constexpr std::string_view HINGE_HEADING_SI_2D = " PILE                  DEPTH  (M)          ";

constexpr int TOP_VALUES_3D = 6;
constexpr int TOP_VALUES_2D = 3;
constexpr int ENGLISH_UNITS = 1;
// Print option from which the results report gets the tables' titles.
constexpr int TITLES_ON_RESULTS = 2;

// One row of the cap vector: computation report (gap after each value) or
// results and summary reports (loads in the report's force unit).
void write_cap_row(int unit, const double* values, int count, bool computation, bool kips) {
  WRITE_BLANKS(unit, ROW_LEAD);
  for (int k = 0; k < count; ++k) {
    if (computation) {
      WRITE_REAL_FIELD(unit, COMPUTATION_WIDTH, COMPUTATION_DIGITS, values[k]);
      WRITE_BLANKS(unit, COMPUTATION_GAP);
    } else {
      WRITE_REAL_FIELD(unit, REPORT_WIDTH, REPORT_DIGITS, kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
    }
  }
  END_REPORT_LINE(unit);
}

// The load and displacement tables of the point on the results report or
// the summary.
void write_cap_tables(int unit, bool plane, int count, const double* load, const double* displacement) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view f = u.force_short(), l = u.moment_length(), dash = u.dash(), rad = u.radians();
  fio::write(unit, LOAD_TITLE_LAYOUT);
  if (plane) {
    fio::write(unit, LOAD_HEADING_LAYOUT_2D, f, f, f, dash, l);
  } else {
    fio::write(unit, LOAD_HEADING_LAYOUT, f, f, f, f, dash, l, f, dash, l, f, dash, l);
  }
  write_cap_row(unit, load, count, false, true);
  fio::write(unit, DISPLACEMENT_TITLE_LAYOUT);
  if (plane) {
    fio::write(unit, DISPLACEMENT_HEADING_LAYOUT_2D, l, l, rad);
  } else {
    fio::write(unit, DISPLACEMENT_HEADING_LAYOUT, l, l, l, rad, rad, rad);
  }
  write_cap_row(unit, displacement, count, false, false);
}

// Task 1 of one pile: its eight scratch records and its hinges.
int write_point_records(const PileOutput& o, bool plane, int& hinges_z, int& hinges_y) {
  int code = plane ? WRITE_PILE_TOP_RECORDS_2D(o.pile, o.global_values, o.local_values)
                   : WRITE_PILE_TOP_RECORDS(o.pile, o.global_values, o.local_values);
  if (code == fio::IO_OK) code = WRITE_PILE_EXTREMES(o.pile, o.last_row, o.increment, o.values);
  COUNT_PLASTIC_HINGES(HINGE_DIRECTION_Z, o.pile, hinges_z, o.last_row, o.values);
  if (!plane) COUNT_PLASTIC_HINGES(HINGE_DIRECTION_Y, o.pile, hinges_y, o.last_row, o.values);
  return code;
}

// The table of the hinges of the point, when a pile has one.
void write_hinge_table(bool plane) {
  const bool english = RunOptions.units == ENGLISH_UNITS;
  const std::string_view heading = plane ? (english ? HINGE_HEADING_ENGLISH_2D : HINGE_HEADING_SI_2D)
                                         : (english ? HINGE_HEADING_ENGLISH : HINGE_HEADING_SI);
  fio::write(UNIT_SUMMARY, HINGE_TITLE_LAYOUT);
  fio::write(UNIT_SUMMARY, HINGE_HEADING_LAYOUT, heading);
  if (AnalysisControl.output_option >= TITLES_ON_RESULTS) {
    fio::write(UNIT_RESULTS_REPORT, HINGE_TITLE_LAYOUT);
    fio::write(UNIT_RESULTS_REPORT, HINGE_HEADING_LAYOUT, heading);
  }
  PRINT_PLASTIC_HINGES(HINGE_DIRECTION_Z);
  if (!plane) PRINT_PLASTIC_HINGES(HINGE_DIRECTION_Y);
}

// ENVEWRP and ENVEWR2DP: the one writer in its two forms.
void write_point_results(bool plane, int& status) {
  using SummaryTable = void (*)(int, int, int, const ResultColumnFlags&, int, int&);
  const SummaryTable table = plane ? PILE_SUMMARY_TABLE_2DP : PILE_SUMMARY_TABLE_P;
  const int top_values = plane ? TOP_VALUES_2D : TOP_VALUES_3D;
  const int user_curves = USER_CURVE_FLAG();
  fio::write(UNIT_COMPUTATION_REPORT, INDIVIDUAL_PILE_LAYOUT);
  int hinges_z = 0, hinges_y = 0;
  WRITE_PILE_OUTPUTS(
      0, [&](const PileOutput& o) { WRITE_COMPUTATION_BLOCK(o, top_values, POINT_BLOCK_LAYOUTS); },
      [&](const PileOutput& o) { return write_point_records(o, plane, hinges_z, hinges_y); }, status);
  if (status != STATUS_OK) return;

  ResultColumnFlags flags;
  SELECT_RESULT_COLUMNS(0, user_curves, AnalysisControl.axial_variation, RunOptions.dimension, flags);
  const int n_piles = PileTable.n_piles, option = AnalysisControl.output_option;
  for (int quantity = 1; quantity <= 2 && status == STATUS_OK; ++quantity) {
    table(SUMMARY_LOCAL_AXES, quantity, n_piles, flags, option, status);
  }
  if (status != STATUS_OK) return;
  fio::write(UNIT_SUMMARY, EFFECTS_TITLE_LAYOUT);
  if (option >= TITLES_ON_RESULTS) fio::write(UNIT_RESULTS_REPORT, EFFECTS_TITLE_LAYOUT);
  for (int quantity = 1; quantity <= 2 && status == STATUS_OK; ++quantity) {
    table(SUMMARY_EXTREMES, quantity, n_piles, flags, option, status);
  }
  if (status != STATUS_OK) return;
  if (hinges_z + hinges_y >= 1) write_hinge_table(plane);
}

}  // namespace

void PRINT_PUSHOVER_CAP_RESULTS(int dimension, int point, double factor, double partial_percent, const double* load,
                                const double* displacement) {
  const bool plane = dimension == MODEL_2D;
  const int count = CAP_DOFS_OF_MODEL(dimension);
  const int unit = UNIT_COMPUTATION_REPORT;
  if (partial_percent > 0.0) {
    fio::write(UNIT_SUMMARY, PARTIAL_POINT_LAYOUT, point, factor, partial_percent);
    fio::write(UNIT_RESULTS_REPORT, PARTIAL_POINT_LAYOUT, point, factor, partial_percent);
    fio::write(unit, PARTIAL_POINT_COMPUTATION_LAYOUT, point, factor, partial_percent);
  } else {
    fio::write(UNIT_SUMMARY, POINT_LAYOUT, point, factor);
    fio::write(UNIT_RESULTS_REPORT, POINT_LAYOUT, point, factor);
    fio::write(unit, POINT_COMPUTATION_LAYOUT, point, factor);
  }
  fio::write(unit, CAP_COMPUTATION_LAYOUT);
  fio::write(unit, LOAD_COMPUTATION_LAYOUT);
  write_cap_row(unit, load, count, true, false);
  fio::write(unit, DISPLACEMENT_COMPUTATION_LAYOUT);
  write_cap_row(unit, displacement, count, true, false);
  write_cap_tables(UNIT_RESULTS_REPORT, plane, count, load, displacement);
  write_cap_tables(UNIT_SUMMARY, plane, count, load, displacement);
}

void ENVEWRP(int& status) { write_point_results(false, status); }

void ENVEWR2DP(int& status) { write_point_results(true, status); }

}  // namespace pilecap
