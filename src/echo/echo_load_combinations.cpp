// TABLE C of the input echo, second part: the envelope options of the load
// cases, the load combinations with their member cases and control values,
// the envelope options of the combinations, and the distributed-load and
// soil-movement sets the cases point to. Prints only. Combinations, members,
// sets and points are 1-based; depths print in feet or metres.
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int NOT_ANALYSED = 1;
constexpr std::size_t MEMBER_NAME_LENGTH = 26;

constexpr const char* CASE_ENVELOPES_TITLE = "(/,/,5X,\"** LOAD CASES ENVELOPES **\",/)";
constexpr const char* COMBINATION_ENVELOPES_TITLE = "(/,/,5X,\"** LOAD COMBINATION ENVELOPES **\",/)";
constexpr const char* COMBINATIONS_TITLE = "(/,/,/,5X,\"** LOAD COMBINATIONS **\",/)";
//      NUMBER OF LOAD COMB. :    1
constexpr const char* COMBINATION_COUNT_LAYOUT = "(/,5X,\"NUMBER OF LOAD COMB. :\",I5)";
constexpr const char* COMBINATION_LAYOUT = "(/,5X,\"LOAD COMB. : \",I5,/,5X,\"COMB. NAME : \",A80)";
constexpr const char* NOT_ANALYSED_LAYOUT = "(5X,\"NOTE: LOAD COMB. WILL NOT BE ANALYZED\")";
//      BENDING RF :   1.00000
constexpr const char* RESISTANCE_FACTORS_LAYOUT = "(5X,\"BENDING RF : \",1P,G12.5,/,5X,\"SHEAR RF   : \",1P,G12.5,/)";
constexpr const char* MEMBERS_HEADING =
    "(5X,\"  NL     LOAD NUMBER         LOAD NAME\",\"                  LOAD FACTOR\")";
//         1         1          DEAD LOAD
constexpr const char* MEMBER_ROW_LAYOUT = "(5X,I4,I10,10X,A26,5X,\\)";

constexpr const char* LOAD_SETS_TITLE = "(/,/,/,5X,\"** SETS OF DISTRIBUTED LOAD **\",/)";
constexpr const char* MOVEMENT_SETS_TITLE = "(/,/,/,5X,\"** SETS OF SOIL MOVEMENT **\",/)";
//      NUMBER OF SETS :    2
constexpr const char* SET_COUNT_LAYOUT = "(/,5X,\"NUMBER OF SETS :\",I5)";
constexpr const char* LOAD_SET_LAYOUT = "(/,5X,\"DIST. LOAD SET : \",I5)";
constexpr const char* MOVEMENT_SET_LAYOUT = "(/,5X,\"SOIL MOVE. SET : \",I5)";
constexpr const char* LOAD_SET_HEADING = "(5X,\"  NL           DEPTH         LOAD \")";
constexpr const char* MOVEMENT_SET_HEADING = "(5X,\"  NL           DEPTH         MOVE \")";
//                     (FT)        (LBS/IN)
constexpr const char* LOAD_SET_UNITS = "(5X,15X,\"(\",A2,\")\",8X,\"(\",A3,\"/\",A2,\")\")";
//                     (FT)          (IN)
constexpr const char* MOVEMENT_SET_UNITS = "(5X,15X,\"(\",A2,\")\",10X,\"(\",A2,\")\")";

void write_combination(int j) {
  const auto& c = LoadCombination;
  fio::write(UNIT_ECHO, COMBINATION_LAYOUT, j, c.name(j));
  if (c.not_analysed(j) == NOT_ANALYSED) fio::write(UNIT_ECHO, NOT_ANALYSED_LAYOUT);
  fio::write(UNIT_ECHO, RESISTANCE_FACTORS_LAYOUT, c.load_scale(j, 1), c.load_scale(j, 2));
  if (c.member_count(j) >= 1) {
    fio::write(UNIT_ECHO, MEMBERS_HEADING);
    for (int m = 1; m <= c.member_count(j); ++m) {
      const int k = c.member_case(j, m);
      // A member naming no case read shows a blank name.
      std::string name = k >= 1 && k <= LoadCase.count ? LoadCase.name(k) : std::string();
      name.resize(MEMBER_NAME_LENGTH, ' ');
      fio::write(UNIT_ECHO, MEMBER_ROW_LAYOUT, m, k, name);
      WRITE_REAL_FIELD(UNIT_ECHO, 12, 5, c.member_factor(j, m));
      END_REPORT_LINE(UNIT_ECHO);
    }
  }
  PRINT_RUN_CONTROLS(c, j, false);
}

// The texts of one half of the load-set table.
struct SetTexts {
  const char* title;
  const char* set_line;
  const char* heading;
};

// Every set of one half with its points; convert_value turns a stored value
// into the printed one.
template <class Units, class Convert>
void write_sets(LoadSetHalf& half, const SetTexts& texts, Units write_units, Convert convert_value) {
  if (half.count < 1) return;
  fio::write(UNIT_ECHO, texts.title);
  fio::write(UNIT_ECHO, SET_COUNT_LAYOUT, half.count);
  for (int s = 1; s <= half.count; ++s) {
    fio::write(UNIT_ECHO, texts.set_line, s);
    const int n_points = half.num_points(s);
    if (n_points < 1) continue;
    fio::write(UNIT_ECHO, texts.heading);
    write_units();
    for (int i = 1; i <= n_points; ++i) {
      WRITE_BLANKS(UNIT_ECHO, 5);
      WRITE_INT_FIELD(UNIT_ECHO, 4, i);
      WRITE_BLANKS(UNIT_ECHO, 4);
      WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, FEET_FROM_INCHES(half.depth(s, i)));
      WRITE_BLANKS(UNIT_ECHO, 2);
      WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, convert_value(half.value(s, i)));
      END_REPORT_LINE(UNIT_ECHO);
    }
  }
}

}  // namespace

void ECHO_LOAD_COMBINATIONS(int& /*status*/) {
  const EnvelopeOptionsRecord& envelopes = EnvelopeOptions;
  if (envelopes.cases.print_envelopes >= 1) {
    fio::write(UNIT_ECHO, CASE_ENVELOPES_TITLE);
    PRINT_RESULT_OPTION(envelopes.cases.print_option, envelopes.cases.node_step, true);
  }
  const int n_combinations = LoadCombination.count;
  if (n_combinations >= 1) {
    fio::write(UNIT_ECHO, COMBINATIONS_TITLE);
    fio::write(UNIT_ECHO, COMBINATION_COUNT_LAYOUT, n_combinations);
  }
  for (int j = 1; j <= n_combinations; ++j) write_combination(j);
  if (envelopes.combinations.print_envelopes >= 1) {
    fio::write(UNIT_ECHO, COMBINATION_ENVELOPES_TITLE);
    PRINT_RESULT_OPTION(envelopes.combinations.print_option, envelopes.combinations.node_step, true);
  }

  const auto& u = UnitLabels;
  write_sets(
      LoadSetTable.loads, {LOAD_SETS_TITLE, LOAD_SET_LAYOUT, LOAD_SET_HEADING},
      [&] { fio::write(UNIT_ECHO, LOAD_SET_UNITS, u.length_large_short(), u.force_short(), u.moment_length()); },
      [](double v) { return KIPS_FROM_POUNDS(v); });
  write_sets(
      LoadSetTable.movements, {MOVEMENT_SETS_TITLE, MOVEMENT_SET_LAYOUT, MOVEMENT_SET_HEADING},
      [&] { fio::write(UNIT_ECHO, MOVEMENT_SET_UNITS, u.length_large_short(), u.moment_length()); },
      [](double v) { return v; });
}

}  // namespace pilecap
