// The lateral soil input the echo checks and prints after TABLE F: the layers
// of weak rock and vuggy limestone, whose curves need a positive strength,
// strain factor and modulus; the p-y print requests; and the user p-y curve
// sets, copied into the working copy the p-y routines read and printed as
// TABLE G. Sets, curves, points and requests are 1-based; depths in model
// units (printed in feet or metres), curve values as given.
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_PILE_ARRANGEMENT = 7;
constexpr int INPUT_SECTION_SOIL_LAYERS = 10;
constexpr int INPUT_SECTION_PY_PRINT_REQUESTS = 11;

//      * DATA TO PRINT GENERATED P-Y CURVES *
constexpr const char* REQUESTS_TITLE = "(/,/,5X,\"* DATA TO PRINT GENERATED P-Y CURVES *\")";
//       NUMBER OF CURVES TO PRINT :     2
constexpr const char* REQUEST_COUNT_LAYOUT = "(/,5X,\" NUMBER OF CURVES TO PRINT : \",I5)";
//        CURVE NUMBER     PILE GROUP         DEPTH (FT)
constexpr const char* REQUEST_HEADING_LAYOUT =
    "(/,5X,\"  CURVE NUMBER  \",\"   PILE GROUP   \",\"      DEPTH (\",A2,\")   \")";
// Request rows:      blanks(5), I8 curve, blanks(8), I8 pile, blanks(10), depth in 14 columns.
constexpr int REQUEST_LEAD = 5, REQUEST_INT_WIDTH = 8, REQUEST_GAP = 8, REQUEST_DEPTH_GAP = 10;
constexpr int REQUEST_DEPTH_WIDTH = 14, VALUE_DIGITS = 5;

//      * TABLE G *   INPUT P-Y CURVES
constexpr const char* TABLE_G_TITLE = "(/,/,/,5X,\"* TABLE G *   INPUT P-Y CURVES\")";
//        NUM OF SETS :  1
constexpr const char* SET_COUNT_LAYOUT = "(/,7X,\"NUM OF SETS :\",I3)";
//        SET  1          NUM OF CURVES  2
constexpr const char* SET_LAYOUT = "(/,/,7X,\"SET\",I3,10X,\"NUM OF CURVES\",I3,/)";
//         CURVE       1      DISTANCE FROM ORIGIN (X-COORD.)      10.0000FT
constexpr const char* CURVE_START_LAYOUT = "(/,8X,\"CURVE\",\\)";
constexpr const char* CURVE_DISTANCE_LAYOUT = "(\"DISTANCE FROM ORIGIN (X-COORD.)\",\\)";
constexpr const char* CURVE_UNIT_LAYOUT = "(A3)";
constexpr int CURVE_INT_WIDTH = 8, CURVE_GAP = 6, CURVE_DEPTH_GAP = 3, CURVE_DEPTH_WIDTH = 10;
//             POINT             P LBS                 Y IN
constexpr const char* POINT_HEADING_LAYOUT = "(12X,\"POINT\",13X,\"P\",A4,17X,\"Y\",A3)";
// Point rows: blanks(10), I5 point, blanks(11), P in 12 columns, blanks(9), Y in 12 columns.
constexpr int POINT_LEAD = 10, POINT_INT_WIDTH = 5, POINT_GAP = 11, POINT_VALUE_GAP = 9, POINT_VALUE_WIDTH = 12;

bool has_user_py_layer() {
  for (int l = 1; l <= SoilProfile.num_layers; ++l) {
    if (SoilProfile.layer_code(l) == SOIL_USER_PY) return true;
  }
  return false;
}

// Every print request names a pile of the model at a depth that is a number,
// and every pile that reads user p-y curves names a set the input holds.
void check_py_references(int& status) {
  if (RunOptions.print_py_curves == 1) {
    for (int j = 1; j <= PyPrintRequest.count; ++j) {
      const std::string item = "P-Y PRINT REQUEST " + std::to_string(j);
      const int pile = PyPrintRequest.pile(j);
      if (pile < 1 || pile > PileTable.n_piles) {
        REJECT_INPUT_VALUE(status, INPUT_SECTION_PY_PRINT_REQUESTS, item, pile, "PILE NOT DEFINED");
        return;
      }
      if (!std::isfinite(PyPrintRequest.depth(j))) {
        REJECT_INPUT_ITEM(status, INPUT_SECTION_PY_PRINT_REQUESTS, item, "DEPTH IS NOT A NUMBER");
        return;
      }
    }
  }
  const bool user_layer = has_user_py_layer();
  const int n_sets = RunOptions.user_py_curves == 1 ? UserPyCurveSet.count : 0;
  const std::string entry = RunOptions.dimension == MODEL_2D ? "PILE ROW " : "PILE ";
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const int set = PileTable.py_set(p);
    // Only a layer of user p-y curves reads a set by its size alone; in a
    // model that reads user p-y curves without such a layer a negative set
    // would be passed over without a word.
    if (set < 0 && RunOptions.user_py_curves == 1 && !user_layer) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PILE_ARRANGEMENT, entry + std::to_string(p), set,
                         "P-Y CURVE SET BELOW 0");
      return;
    }
    const bool reads_set = (RunOptions.user_py_curves == 1 && set >= 1) || (user_layer && set != 0);
    // Compared without negating the set: the most negative integer has no negation.
    if (reads_set && (set > n_sets || set < -n_sets)) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PILE_ARRANGEMENT, entry + std::to_string(p), set,
                         "P-Y CURVE SET NOT DEFINED");
      return;
    }
  }
}

void print_requests() {
  fio::write(UNIT_ECHO, REQUESTS_TITLE);
  const int n = PyPrintRequest.count;
  if (n < 1) return;
  fio::write(UNIT_ECHO, REQUEST_COUNT_LAYOUT, n);
  fio::write(UNIT_ECHO, REQUEST_HEADING_LAYOUT, UnitLabels.length_large_short());
  for (int j = 1; j <= n; ++j) {
    WRITE_BLANKS(UNIT_ECHO, REQUEST_LEAD);
    WRITE_INT_FIELD(UNIT_ECHO, REQUEST_INT_WIDTH, j);
    WRITE_BLANKS(UNIT_ECHO, REQUEST_GAP);
    WRITE_INT_FIELD(UNIT_ECHO, REQUEST_INT_WIDTH, PyPrintRequest.pile(j));
    WRITE_BLANKS(UNIT_ECHO, REQUEST_DEPTH_GAP);
    WRITE_REAL_FIELD(UNIT_ECHO, REQUEST_DEPTH_WIDTH, VALUE_DIGITS, FEET_FROM_INCHES(PyPrintRequest.depth(j)));
    END_REPORT_LINE(UNIT_ECHO);
  }
}

// The working copy of the sets as read: the first value of a point is its
// resistance, the second its deflection.
void build_working_copy() {
  auto& u = UserPyCurveSet;
  for (int s = 1; s <= u.count; ++s) {
    u.num_curves(s) = u.read_num_curves(s);
    for (int c = 1; c <= u.num_curves(s); ++c) {
      u.curve_depth(s, c) = u.read_depth(s, c);
      u.num_points(s, c) = u.read_num_points(s, c);
      for (int i = 1; i <= u.num_points(s, c); ++i) {
        u.p(s, c, i) = u.read_p(s, c, i);
        u.y(s, c, i) = u.read_y(s, c, i);
      }
    }
  }
}

void print_table_g() {
  const auto& u = UserPyCurveSet;
  if (u.count < 1) return;
  fio::write(UNIT_ECHO, TABLE_G_TITLE);
  fio::write(UNIT_ECHO, SET_COUNT_LAYOUT, u.count);
  for (int s = 1; s <= u.count; ++s) {
    fio::write(UNIT_ECHO, SET_LAYOUT, s, u.num_curves(s));
    for (int c = 1; c <= u.num_curves(s); ++c) {
      fio::write(UNIT_ECHO, CURVE_START_LAYOUT);
      WRITE_INT_FIELD(UNIT_ECHO, CURVE_INT_WIDTH, c);
      WRITE_BLANKS(UNIT_ECHO, CURVE_GAP);
      fio::write(UNIT_ECHO, CURVE_DISTANCE_LAYOUT);
      WRITE_BLANKS(UNIT_ECHO, CURVE_DEPTH_GAP);
      WRITE_REAL_FIELD(UNIT_ECHO, CURVE_DEPTH_WIDTH, VALUE_DIGITS, FEET_FROM_INCHES(u.curve_depth(s, c)));
      fio::write(UNIT_ECHO, CURVE_UNIT_LAYOUT, UnitLabels.length_large());
      END_REPORT_LINE(UNIT_ECHO);
      fio::write(UNIT_ECHO, POINT_HEADING_LAYOUT, UnitLabels.force(), UnitLabels.length());
      for (int i = 1; i <= u.num_points(s, c); ++i) {
        WRITE_BLANKS(UNIT_ECHO, POINT_LEAD);
        WRITE_INT_FIELD(UNIT_ECHO, POINT_INT_WIDTH, i);
        WRITE_BLANKS(UNIT_ECHO, POINT_GAP);
        WRITE_REAL_FIELD(UNIT_ECHO, POINT_VALUE_WIDTH, VALUE_DIGITS, u.p(s, c, i));
        WRITE_BLANKS(UNIT_ECHO, POINT_VALUE_GAP);
        WRITE_REAL_FIELD(UNIT_ECHO, POINT_VALUE_WIDTH, VALUE_DIGITS, u.y(s, c, i));
        END_REPORT_LINE(UNIT_ECHO);
      }
    }
  }
}

// Both points of a layer's column are above 0.
bool positive_in_layer(const SoilColumn& column, int layer) {
  return column(2 * layer - 1) > 0.0 && column(2 * layer) > 0.0;
}

}  // namespace

void CHECK_ROCK_LAYER_INPUT(int& status) {
  const auto& s = SoilProfile;
  for (int l = 1; l <= s.num_layers; ++l) {
    const std::string item = "SOIL LAYER " + std::to_string(l);
    if (s.layer_code(l) == SOIL_WEAK_ROCK) {
      if (!positive_in_layer(s.e50, l)) {
        REJECT_INPUT_ITEM(status, INPUT_SECTION_SOIL_LAYERS, item, "KRM OF A WEAK ROCK IS NOT ABOVE 0");
        return;
      }
      if (!positive_in_layer(s.rock_modulus, l)) {
        REJECT_INPUT_ITEM(status, INPUT_SECTION_SOIL_LAYERS, item, "YOUNG MODULUS ER OF A WEAK ROCK IS NOT ABOVE 0");
        return;
      }
    }
    if (s.layer_code(l) == SOIL_VUGGY_LIMESTONE && !positive_in_layer(s.cohesion, l)) {
      REJECT_INPUT_ITEM(status, INPUT_SECTION_SOIL_LAYERS, item, "STRENGTH OF A VUGGY LIMESTONE IS NOT ABOVE 0");
      return;
    }
  }
}

void ECHO_USER_PY_CURVES(int& status) {
  check_py_references(status);
  if (status != STATUS_OK) return;
  if (RunOptions.print_py_curves == 1) print_requests();
  if (RunOptions.user_py_curves == 1) {
    build_working_copy();
    print_table_g();
  }
}

}  // namespace pilecap
