// The reduction factors for closely spaced piles as a solved run reports
// them, in space and in the plane (rigid cap and plate alike): one row per
// pile or pile row with its p-factor and y-factor, under a heading that says
// how they were estimated, on the results report and the summary, and
// without heading text on the computation report.
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_reports.hpp"
#include "input/input.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int PMULT_PREDEFINED_FIRST = 3;  // methods 3 and 4 use a predefined movement
constexpr int PMULT_PREDEFINED_LAST = 4;

// Reduction factors for closely spaced piles, by dimension (index 0 the
// plane, 1 space) and by the way they are estimated.
constexpr const char* PMULT_PREDEFINED_LAYOUT[2] = {
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS\",/,7X,\"USING A "
    "PREDEFINED MOVEMENT\",7X,\"                                 \",/,7X,\"     GROUP NO     P-FACTOR     "
    "Y-FACTOR        \",/)",
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS, COMBINED Y AND Z DIRECTIONS\",/,7X,\"USING A "
    "PREDEFINED MOVEMENT\",7X,\"                                 \",/,7X,\"     GROUP NO     P-FACTOR     "
    "Y-FACTOR        \",/)"};
constexpr const char* PMULT_DIRECTION_LAYOUT[2] = {
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS\",/,7X,\"ESTIMATED "
    "USING MOVEMENT IN\",1X,\"THE DIRECTION OF PILE CAP DISPLACEMENTS\",/,7X,\"                                 \",/,"
    "7X,\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)",
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE\",1X,\"GROUPS, COMBINED Y AND Z DIRECTIONS\",/,7X,\"ESTIMATED "
    "USING MOVEMENT IN\",1X,\"THE DIRECTION OF PILE CAP DISPLACEMENTS\",/,7X,\"                                 \",/,"
    "7X,\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)"};
constexpr const char* PMULT_COMPUTATION_LAYOUT = "(7X,\"*REDUCTION FACTORS FOR CLOSELY-SPACED PILE*\")";

// One row of the results report and the summary:
//                1           0.4307       1.0000
constexpr int PMULT_INDENT = 12;
constexpr int PMULT_PILE_WIDTH = 5;
constexpr int PMULT_GAP = 5;
constexpr int PMULT_FIELD_WIDTH = 12;
constexpr int PMULT_FIELD_DIGITS = 4;
constexpr int PMULT_COMPUTATION_PILE_WIDTH = 10;
constexpr int PMULT_COMPUTATION_GAP = 4;
constexpr int COMPUTATION_FIELD_WIDTH = 18;
constexpr int COMPUTATION_FIELD_DIGITS = 8;

}  // namespace

void REPORT_REDUCTION_FACTORS(int dimension) {
  const int layout = dimension == MODEL_2D ? 0 : 1;
  const int method = RunOptions.pmult_method;
  const bool predefined = method >= PMULT_PREDEFINED_FIRST && method <= PMULT_PREDEFINED_LAST;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, predefined ? PMULT_PREDEFINED_LAYOUT[layout] : PMULT_DIRECTION_LAYOUT[layout]);
  }
  fio::write(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_LAYOUT);
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const double p_factor = ClosePileFactors.p_factor_1(p), y_factor = ClosePileFactors.y_factor_1(p);
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      WRITE_BLANKS(unit, PMULT_INDENT);
      WRITE_INT_FIELD(unit, PMULT_PILE_WIDTH, p);
      WRITE_BLANKS(unit, PMULT_GAP);
      WRITE_REAL_FIELD(unit, PMULT_FIELD_WIDTH, PMULT_FIELD_DIGITS, p_factor);
      WRITE_BLANKS(unit, 1);
      WRITE_REAL_FIELD(unit, PMULT_FIELD_WIDTH, PMULT_FIELD_DIGITS, y_factor);
      END_REPORT_LINE(unit);
    }
    WRITE_INT_FIELD(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_PILE_WIDTH, p);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_GAP);
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, p_factor);
    WRITE_BLANKS(UNIT_COMPUTATION_REPORT, PMULT_COMPUTATION_GAP);
    WRITE_REAL_FIELD(UNIT_COMPUTATION_REPORT, COMPUTATION_FIELD_WIDTH, COMPUTATION_FIELD_DIGITS, y_factor);
    END_REPORT_LINE(UNIT_COMPUTATION_REPORT);
  }
}

}  // namespace pilecap
