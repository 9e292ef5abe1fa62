// The last tables of the input echo: the p- and y-multipliers along depth
// (TABLE J1), the soil movement profile (TABLE J2) and the reduction factors
// for closely spaced piles (TABLE K). For TABLE K the factors are computed
// for the movement the method assumes (the lateral load of case 1 or the
// given direction) and, in 3D, the two directions are combined into the
// first pair the analysis starts from; the tables show them before that.
// Depths print in feet or metres; movements and factors as they stand.
#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "soil/close_spacing.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_PILE_ARRANGEMENT = 7;
constexpr const char* DETAIL_INDENT = "    ";

// Load components of CASE_LOAD_AT_ORIGIN (1-based).
constexpr int LOAD_FY = 2;
constexpr int LOAD_FZ = 3;
constexpr int LOAD_MY = 5;
constexpr int LOAD_MZ = 6;

// ---- TABLE J1
constexpr const char* J1_TITLE = "(/,/,/,5X,\"* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  \")";
//        NUM OF SETS :  2
constexpr const char* J1_COUNT_LAYOUT = "(/,7X,\"NUM OF SETS :\",I3)";
//          SET  1          NUM OF POINTS  3
constexpr const char* J1_SET_LAYOUT = "(/,8X,\"  SET\",I3,10X,\"NUM OF POINTS\",I3,/)";
//                  DEPTH,FT          P-FACTOR             Y-FACTOR
constexpr const char* J1_HEADING_LAYOUT = "(12X,\"     DEPTH,\",A2,10X,\"P-FACTOR   \",10X,\"Y-FACTOR   \")";
constexpr int J1_ROW_INDENT = 11;
constexpr int J1_GAP = 9;
constexpr int J1_FIELD_WIDTH = 12;
constexpr int J1_FIELD_DIGITS = 5;

// ---- TABLE J2
constexpr const char* J2_TITLE = "(/,/,/,5X,\"* TABLE J2 *  SOIL MOVEMENT DATA       \")";
//             POINT         DEPTH             MOVE Y-DIR
//                             FT                  IN
constexpr const char* J2_HEADING_2D = "(12X,\"POINT\",9X,\"DEPTH\",13X,\"MOVE Y-DIR\",/,12X,\"     \",9X,2X,A2,18X,A2)";
constexpr const char* J2_HEADING_3D =
    "(12X,\"POINT\",9X,\"DEPTH\",13X,\"MOVE Y-DIR\",13X,\"MOVE Z-DIR\",/,12X,\"     \",9X,2X,A2,18X,A2,18X,A2)";
constexpr int J2_ROW_INDENT = 10;
constexpr int J2_POINT_WIDTH = 5;
constexpr int J2_POINT_GAP = 11;

// ---- TABLE K
constexpr const char* K_TITLE = "(/,/,/,5X,\"* TABLE K *   REDUCTION FACTORS        \")";
constexpr const char* K_NOT_CONSIDERED =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\",/,7X,\"ARE NOT CONSIDERED        \",/)";
//        PILE DIAMETER =     24.000  IN
constexpr const char* K_DIAMETER_LAYOUT = "(/,7X,\"PILE DIAMETER = \",F10.3,1X,A3)";
constexpr const char* K_AVERAGE_DIAMETER = "(/,7X,\"AVERAGE DIAMETER IS USED TO GET RATIO S/B\")";
constexpr const char* K_PLANE_HEADING =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\",/,7X,\"                                 \",/,7X,"
    "\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)";
constexpr const char* K_AS_GIVEN_HEADING =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\",1X,A,/,7X,\"                                 \",/,7X,"
    "\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)";
//       ESTIMATED ASSUMING MOVEMENT IN THE DIRECTION OF Y-FORCE (-)
constexpr const char* K_LOAD_HEADING =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\",1X,A,/,7X,\"ESTIMATED ASSUMING MOVEMENT IN\",1X,A,A3,"
    "/,7X,\"                                 \",/,7X,\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)";
constexpr const char* K_DEFINED_HEADING =
    "(/,7X,\"REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\",1X,A,/,7X,\"ESTIMATED BASED ON DEFINED MOVEMENT "
    "IN\",1X,"
    "A,A3,/,7X,\"                                 \",/,7X,\"     GROUP NO     P-FACTOR     Y-FACTOR        \",/)";
constexpr const char* ALONG_Y = "ALONG Y-DIRECTION";
constexpr const char* ALONG_Z = "ALONG Z-DIRECTION";
constexpr const char* Y_FORCE = "THE DIRECTION OF Y-FORCE ";
constexpr const char* Z_FORCE = "THE DIRECTION OF Z-FORCE ";
constexpr const char* Y_DEFINED = "THE Y-DIRECTION OF ";
constexpr const char* Z_DEFINED = "THE Z-DIRECTION OF ";
constexpr int K_ROW_INDENT = 12;
constexpr int K_ENTRY_WIDTH = 5;
constexpr int K_GAP = 5;
constexpr int K_FIELD_WIDTH = 12;
constexpr int K_FIELD_DIGITS = 4;

double sign_of(double value) { return value < 0.0 ? -1.0 : 1.0; }
const char* sign_text(double value) { return value < 0.0 ? "(-)" : "(+)"; }

void write_depth_factor_table() {
  const auto& d = DepthFactorTable;
  fio::write(UNIT_ECHO, J1_TITLE);
  if (d.count < 1) return;
  fio::write(UNIT_ECHO, J1_COUNT_LAYOUT, d.count);
  for (int m = 1; m <= d.count; ++m) {
    fio::write(UNIT_ECHO, J1_SET_LAYOUT, m, d.num_rows(m));
    fio::write(UNIT_ECHO, J1_HEADING_LAYOUT, UnitLabels.length_large_short());
    for (int i = 1; i <= d.num_rows(m); ++i) {
      WRITE_BLANKS(UNIT_ECHO, J1_ROW_INDENT);
      WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, FEET_FROM_INCHES(d.depth(m, i)));
      WRITE_BLANKS(UNIT_ECHO, J1_GAP);
      WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, d.p_factor(m, i));
      WRITE_BLANKS(UNIT_ECHO, J1_GAP);
      WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, d.y_factor(m, i));
      END_REPORT_LINE(UNIT_ECHO);
    }
  }
}

void write_soil_movement_table() {
  const auto& s = SoilMovementProfile;
  const bool three_d = RunOptions.dimension != MODEL_2D;
  fio::write(UNIT_ECHO, J2_TITLE);
  if (three_d) {
    fio::write(UNIT_ECHO, J2_HEADING_3D, UnitLabels.length_large_short(), UnitLabels.moment_length(),
               UnitLabels.moment_length());
  } else {
    fio::write(UNIT_ECHO, J2_HEADING_2D, UnitLabels.length_large_short(), UnitLabels.moment_length());
  }
  for (int p = 1; p <= s.count; ++p) {
    WRITE_BLANKS(UNIT_ECHO, J2_ROW_INDENT);
    WRITE_INT_FIELD(UNIT_ECHO, J2_POINT_WIDTH, p);
    WRITE_BLANKS(UNIT_ECHO, J2_POINT_GAP);
    WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, FEET_FROM_INCHES(s.depth(p)));
    WRITE_BLANKS(UNIT_ECHO, J1_GAP);
    WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, s.move_y(p));
    if (three_d) {
      WRITE_BLANKS(UNIT_ECHO, J1_GAP);
      WRITE_REAL_FIELD(UNIT_ECHO, J1_FIELD_WIDTH, J1_FIELD_DIGITS, s.move_z(p));
    }
    END_REPORT_LINE(UNIT_ECHO);
  }
}

// The factor rows of one pair of ClosePileFactors.
void write_factor_rows(const Table1<double>& p_factor, const Table1<double>& y_factor) {
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    WRITE_BLANKS(UNIT_ECHO, K_ROW_INDENT);
    WRITE_INT_FIELD(UNIT_ECHO, K_ENTRY_WIDTH, i);
    WRITE_BLANKS(UNIT_ECHO, K_GAP);
    WRITE_REAL_FIELD(UNIT_ECHO, K_FIELD_WIDTH, K_FIELD_DIGITS, p_factor(i));
    WRITE_BLANKS(UNIT_ECHO, 1);
    WRITE_REAL_FIELD(UNIT_ECHO, K_FIELD_WIDTH, K_FIELD_DIGITS, y_factor(i));
    END_REPORT_LINE(UNIT_ECHO);
  }
}

// The diameter of the spacing ratios when every pair uses pile 1's.
double first_pile_diameter() { return PileSection.diameter(PileTable.prop(1), 1); }

// The lateral load of case 1 at the origin; zeros without a case.
void case_one_load(double* load) {
  for (int k = 0; k < CAP_DOFS; ++k) load[k] = 0.0;
  if (LoadCase.count >= 1) CASE_LOAD_AT_ORIGIN(1, load);
}

// The factors are computed only for as many individual piles as the pile
// table holds; a larger 2D model is refused before anything is computed.
bool individual_piles_fit(int& status) {
  const long long n = INDIVIDUAL_PILE_COUNT();
  if (n <= MAX_INDIVIDUAL_PILES) return true;
  std::string detail(DETAIL_INDENT);
  detail.append("INPUT SECTION ").append(std::to_string(INPUT_SECTION_PILE_ARRANGEMENT));
  detail.append(", PILES OF ALL ROWS ").append(std::to_string(n));
  detail.append(" EXCEED THE CAPACITY ").append(std::to_string(MAX_INDIVIDUAL_PILES));
  detail.append(" OF THE REDUCTION FACTORS");
  SET_STATUS_DETAIL(detail);
  status = STATUS_CAPACITY_EXCEEDED;
  return false;
}

void write_plane_factors(int method) {
  if (method == PMULT_METHOD_MOVEMENT) {
    double load[CAP_DOFS];
    case_one_load(load);
    double sign = sign_of(load[LOAD_FY - 1]);
    CLOSE_SPACING_FACTORS_1(sign);
  } else if (method == PMULT_METHOD_DEFINED_SIGNS) {
    double sign = sign_of(RunOptions.pmult_direction(1));
    CLOSE_SPACING_FACTORS_1(sign);
  }
  fio::write(UNIT_ECHO, K_TITLE);
  if (method == PMULT_METHOD_MOVEMENT && RunOptions.spacing_diameter_option == 0) {
    fio::write(UNIT_ECHO, K_DIAMETER_LAYOUT, KILO_SCALE_SI(first_pile_diameter()), UnitLabels.length_small());
  }
  fio::write(UNIT_ECHO, K_PLANE_HEADING);
  write_factor_rows(ClosePileFactors.p_factor_1, ClosePileFactors.y_factor_1);
}

// Methods 1 and 3 in 3D: both directions for the assumed movement, printed,
// then combined into the first pair for the direction (a, b).
void write_space_computed(int method) {
  const bool by_load = method == PMULT_METHOD_MOVEMENT;
  double load[CAP_DOFS];
  case_one_load(load);
  const double first = by_load ? load[LOAD_FY - 1] : RunOptions.pmult_direction(1);
  const double second = by_load ? load[LOAD_FZ - 1] : RunOptions.pmult_direction(2);
  double sign_1 = sign_of(first), sign_2 = sign_of(second);
  CLOSE_SPACING_FACTORS_1(sign_1);
  CLOSE_SPACING_FACTORS_2(sign_2);

  fio::write(UNIT_ECHO, K_TITLE);
  if (by_load) {
    if (RunOptions.spacing_diameter_option == 0) {
      fio::write(UNIT_ECHO, K_DIAMETER_LAYOUT, KILO_SCALE_SI(first_pile_diameter()), UnitLabels.length_small());
    } else {
      fio::write(UNIT_ECHO, K_AVERAGE_DIAMETER);
    }
  } else if (RunOptions.spacing_diameter_option == 0) {
    fio::write(UNIT_ECHO, K_DIAMETER_LAYOUT, first_pile_diameter(), UnitLabels.length());
  }
  const char* layout = by_load ? K_LOAD_HEADING : K_DEFINED_HEADING;
  fio::write(UNIT_ECHO, layout, ALONG_Y, by_load ? Y_FORCE : Y_DEFINED, sign_text(first));
  write_factor_rows(ClosePileFactors.p_factor_1, ClosePileFactors.y_factor_1);
  fio::write(UNIT_ECHO, layout, ALONG_Z, by_load ? Z_FORCE : Z_DEFINED, sign_text(second));
  write_factor_rows(ClosePileFactors.p_factor_2, ClosePileFactors.y_factor_2);

  // The weights of the combination: the lateral load (or, without one, the
  // moments about the vertical axes), else both directions alike.
  double a = std::fabs(first), b = std::fabs(second);
  if (by_load && a == 0.0 && b == 0.0) {
    a = std::fabs(load[LOAD_MZ - 1]);
    b = std::fabs(load[LOAD_MY - 1]);
  }
  if (a == 0.0 && b == 0.0) a = b = 1.0;
  SAVE_FIRST_DIRECTION_FACTORS();
  COMBINE_CLOSE_SPACING_FACTORS(a, b);
}

void write_space_factors(int method) {
  if (method == PMULT_METHOD_MOVEMENT || method == PMULT_METHOD_DEFINED_SIGNS) {
    write_space_computed(method);
    return;
  }
  fio::write(UNIT_ECHO, K_TITLE);
  fio::write(UNIT_ECHO, K_AS_GIVEN_HEADING, ALONG_Y);
  write_factor_rows(ClosePileFactors.p_factor_1, ClosePileFactors.y_factor_1);
  fio::write(UNIT_ECHO, K_AS_GIVEN_HEADING, ALONG_Z);
  write_factor_rows(ClosePileFactors.p_factor_2, ClosePileFactors.y_factor_2);
}

}  // namespace

void ECHO_REDUCTION_FACTORS(int& status) {
  if (RunOptions.depth_reduction == 1) write_depth_factor_table();
  if (RunOptions.soil_movement_profile == 1) write_soil_movement_table();

  const int method = RunOptions.pmult_method;
  if (method == PMULT_METHOD_NONE) {
    fio::write(UNIT_ECHO, K_TITLE);
    fio::write(UNIT_ECHO, K_NOT_CONSIDERED);
    return;
  }
  const bool computed = method == PMULT_METHOD_MOVEMENT || method == PMULT_METHOD_DEFINED_SIGNS;
  if (computed && !individual_piles_fit(status)) return;
  if (RunOptions.dimension == MODEL_2D) {
    write_plane_factors(method);
  } else {
    write_space_factors(method);
  }
}

}  // namespace pilecap
