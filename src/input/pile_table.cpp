// TABLE D: the pile table. Copies the rows (2D) or piles (3D) of the pile
// arrangement into PileTable, appends the entry of the embedded cap after the
// last pile, converts the pile angles from degrees to radians and prints the
// arrangement. Indices are 1-based; entry n_piles + 1 is the cap.
#include <cmath>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr double DEGREES_PER_HALF_TURN = 180.0;

constexpr const char* TABLE_D_TITLE = "(/,/,/,5X,\"* TABLE D *   ARRANGEMENT OF PILE GROUPS\")";
constexpr const char* HEADING_2D_WITH_FACTOR =
    "(/,7X,\"GROUP   CONNECT   NO OF PILE   PILE PROP \",\"   P-Y CURVE    L-S CURVE    R-F-L SET   \","
    "\"FACT. AXIAL LOAD\")";
constexpr const char* HEADING_2D =
    "(/,7X,\"GROUP   CONNECT   NO OF PILE   PILE PROP \",\"   P-Y CURVE    L-S CURVE    R-F-L SET\")";
//          1       FIX         1            1           0            1 G           0        1.0000
constexpr const char* ROW_2D_WITH_FACTOR = "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,7X,I5,1X,A1,7X,I5,6X,F10.4)";
constexpr const char* ROW_2D = "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,7X,I5,1X,A1,7X,I5)";
constexpr const char* POSITION_HEADING_2D =
    "(/,7X,\"GROUP\",5X,\"VERT,\",A2,7X,\"HOR,\",A2,4X,\"SLOPE,\",A2,A1,A2,3X,\"GROUND,\",A2,2X,\"SPRING,\",A3,A1,A2,"
    "2X,\"SPACING,\",A2)";
constexpr const char* HEADING_3D_WITH_FACTOR =
    "(/,3X,\"  GROUP  CONN.Z-Z   CONN.Y-Y   PILE PROP \",\" P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET \","
    "\" FACT.AX.LD\")";
constexpr const char* HEADING_3D =
    "(/,3X,\"  GROUP  CONN.Z-Z   CONN.Y-Y   PILE PROP \",\" P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET \")";
constexpr const char* ROW_3D_WITH_FACTOR =
    "(3X,I5,3X,4X,A3,4X,4X,A3,4X,1X,I5,5X,1X,I5,6X,I5,1X,A1,4X,I5,1X,A1,3X,1X,I5,5X,1X,F10.4)";
constexpr const char* ROW_3D = "(3X,I5,3X,4X,A3,4X,4X,A3,4X,1X,I5,5X,1X,I5,6X,I5,1X,A1,4X,I5,1X,A1,3X,1X,I5)";
constexpr const char* POSITION_HEADING_3D =
    "(/,5X,\"GROUP\",1X,2X,\"CorX,\",A2,4X,\"CorY,\",A2,4X,\"CorZ,\",A2,1X,\" ALPHA,\",A3,1X,\"  BETA,\",A3,1X,"
    "\" THETA,\",A3,2X,\"GROUND,\",A2,1X,\"SPz,\",A3,A1,A2,1X,\"SPy,\",A3,A1,A2)";

// 2D integer and real columns of a row.
enum Column2D { CONNECT = 1, NO_OF_PILE, PILE_PROP, PY_CURVE, LS_CURVE, RFL_SET, GEN_LS };
enum Real2D { SPRING = 1, SPACING, P_FACTOR, Y_FACTOR, AXIAL_FACTOR, VERT, HOR, BATTER, GROUND };
// 3D integer and real columns of a pile.
enum Column3D { CONN_ZZ = 1, CONN_YY, PROP_3D, PY_3D, LS_3D, TR_3D, RFL_3D, UNUSED_3D, GEN_LS_3D, GEN_TR_3D };
enum Real3D { SPZ = 1, SPY, P1, Y1, P2, Y2, AXIAL_3D, COR_X, COR_Y, COR_Z, ALPHA, BETA, THETA, GROUND_3D };

std::string_view connection_text(int code) {
  switch (code) {
    case 1:
      return "PIN";
    case 2:
      return "FIX";
    case 3:
      return "RES";
    default:
      return "   ";  // no text is defined for other codes
  }
}

// The curve number a pile uses and its letter: U for a user curve, G for a generated one.
int curve_number(int user, int generated) { return user != 0 ? user : generated; }
std::string_view curve_letter(int user) { return user != 0 ? "U" : "G"; }

// Appends the cap entry after n piles whose shallowest head lies at top_x.
void append_cap_entry(int n, double top_x, bool model_3d) {
  auto& P = PileTable;
  const int cap = n + 1;
  const double head = top_x - CapGeometry.thickness_xx;
  P.head_x(cap) = head;
  P.head_depth(cap) = head;
  P.head_y(cap) = 0.0;
  P.alpha(cap) = 0.0;
  P.n_identical(cap) = 1.0;
  // The cap's own property set follows the input sets; set here, before any
  // loop over piles reads the entry.
  P.prop(cap) = PropertySetInput.count + 1;
  if (model_3d) {
    P.head_z(cap) = 0.0;
    P.theta(cap) = 0.0;
    P.angle_extra(cap) = 0.0;
    P.beta(cap) = HALF_PI;
  }
  CapPassiveElement.head_depth = head;
  CapPassiveElement.length = CapGeometry.thickness_xx;
}

void build_2d() {
  auto& P = PileTable;
  auto& in = PileArrangementInput;
  const bool factor_column = RunOptions.axial_factor_column != 0;
  fio::write(UNIT_ECHO, factor_column ? HEADING_2D_WITH_FACTOR : HEADING_2D);
  const int n = in.n_rows_2d;
  P.n_piles = n;
  double top_x = 0.0;
  for (int i = 1; i <= n; ++i) {
    P.conn_zz(i) = in.int_2d(i, CONNECT);
    P.n_identical(i) = static_cast<double>(in.int_2d(i, NO_OF_PILE));
    P.prop(i) = in.int_2d(i, PILE_PROP);
    P.py_set(i) = in.int_2d(i, PY_CURVE);
    P.ls_curve(i) = in.int_2d(i, LS_CURVE);
    P.rfl_set(i) = in.int_2d(i, RFL_SET);
    P.gen_ls_curve(i) = in.int_2d(i, GEN_LS);
    P.spring_zz(i) = in.real_2d(i, SPRING);
    P.spacing(i) = in.real_2d(i, SPACING);
    ClosePileFactors.p_factor_1(i) = in.real_2d(i, P_FACTOR);
    ClosePileFactors.y_factor_1(i) = in.real_2d(i, Y_FACTOR);
    P.axial_factor(i) = in.real_2d(i, AXIAL_FACTOR);
    P.head_x(i) = in.real_2d(i, VERT);
    P.head_y(i) = in.real_2d(i, HOR);
    P.alpha(i) = in.real_2d(i, BATTER);
    P.ground(i) = in.real_2d(i, GROUND);
    if (i == 1 || P.head_x(i) < top_x) top_x = P.head_x(i);
  }
  append_cap_entry(n, top_x, false);
  for (int i = 1; i <= n; ++i) {
    const int curve = curve_number(P.ls_curve(i), P.gen_ls_curve(i));
    const int identical = static_cast<int>(P.n_identical(i));
    if (factor_column) {
      fio::write(UNIT_ECHO, ROW_2D_WITH_FACTOR, i, connection_text(P.conn_zz(i)), identical, P.prop(i), P.py_set(i),
                 curve, curve_letter(P.ls_curve(i)), P.rfl_set(i), P.axial_factor(i));
    } else {
      fio::write(UNIT_ECHO, ROW_2D, i, connection_text(P.conn_zz(i)), identical, P.prop(i), P.py_set(i), curve,
                 curve_letter(P.ls_curve(i)), P.rfl_set(i));
    }
  }
  const auto& L = UnitLabels;
  fio::write(UNIT_ECHO, POSITION_HEADING_2D, L.length_large_short(), L.length_large_short(), L.moment_length(), "/",
             L.moment_length(), L.length_large_short(), L.force_short(), "-", L.moment_length(),
             L.length_large_short());
  for (int i = 1; i <= n; ++i) {
    P.head_depth(i) = P.head_x(i);
    P.head_plan(i) = P.head_y(i);
    P.batter(i) = P.alpha(i);
  }
  for (int i = 1; i <= n; ++i) {
    RunConstants.pi = PI_DOUBLE;
    P.alpha(i) = P.alpha(i) * RunConstants.pi / DEGREES_PER_HALF_TURN;
    P.batter(i) = P.alpha(i);
    const double slope = std::tan(P.alpha(i));
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_INT_FIELD(UNIT_ECHO, 5, i);
    WRITE_BLANKS(UNIT_ECHO, 3);
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(P.head_depth(i)));
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(P.head_plan(i)));
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, slope);
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(P.ground(i)));
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, KIPS_FROM_POUNDS(P.spring_zz(i)));
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(P.spacing(i)));
    END_REPORT_LINE(UNIT_ECHO);
  }
}

void build_3d() {
  auto& P = PileTable;
  auto& in = PileArrangementInput;
  const bool factor_column = RunOptions.axial_factor_column != 0;
  fio::write(UNIT_ECHO, factor_column ? HEADING_3D_WITH_FACTOR : HEADING_3D);
  const int n = in.n_piles_3d;
  P.n_piles = n;
  double top_x = 0.0;
  for (int i = 1; i <= n; ++i) {
    P.conn_zz(i) = in.int_3d(i, CONN_ZZ);
    P.conn_yy(i) = in.int_3d(i, CONN_YY);
    P.n_identical(i) = 1.0;
    P.prop(i) = in.int_3d(i, PROP_3D);
    P.py_set(i) = in.int_3d(i, PY_3D);
    P.ls_curve(i) = in.int_3d(i, LS_3D);
    P.tr_curve(i) = in.int_3d(i, TR_3D);
    P.rfl_set(i) = in.int_3d(i, RFL_3D);
    P.unused_column_8(i) = in.int_3d(i, UNUSED_3D);
    P.gen_ls_curve(i) = in.int_3d(i, GEN_LS_3D);
    P.gen_tr_curve(i) = in.int_3d(i, GEN_TR_3D);
    P.spring_zz(i) = in.real_3d(i, SPZ);
    P.spring_yy(i) = in.real_3d(i, SPY);
    ClosePileFactors.p_factor_1(i) = in.real_3d(i, P1);
    ClosePileFactors.y_factor_1(i) = in.real_3d(i, Y1);
    ClosePileFactors.p_factor_2(i) = in.real_3d(i, P2);
    ClosePileFactors.y_factor_2(i) = in.real_3d(i, Y2);
    P.p_factor_saved(i) = in.real_3d(i, P1);
    P.y_factor_saved(i) = in.real_3d(i, Y1);
    P.axial_factor(i) = in.real_3d(i, AXIAL_3D);
    P.head_x(i) = in.real_3d(i, COR_X);
    P.head_depth(i) = P.head_x(i);
    P.head_y(i) = in.real_3d(i, COR_Y);
    P.head_z(i) = in.real_3d(i, COR_Z);
    P.alpha(i) = in.real_3d(i, ALPHA);
    P.beta(i) = in.real_3d(i, BETA);
    P.theta(i) = in.real_3d(i, THETA);
    P.ground(i) = in.real_3d(i, GROUND_3D);
    if (i == 1 || P.head_x(i) < top_x) top_x = P.head_x(i);
  }
  append_cap_entry(n, top_x, true);
  RunConstants.pi = PI_DOUBLE;
  for (int i = 1; i <= n; ++i) {
    const int ls = curve_number(P.ls_curve(i), P.gen_ls_curve(i));
    const int tr = curve_number(P.tr_curve(i), P.gen_tr_curve(i));
    if (factor_column) {
      fio::write(UNIT_ECHO, ROW_3D_WITH_FACTOR, i, connection_text(P.conn_zz(i)), connection_text(P.conn_yy(i)),
                 P.prop(i), P.py_set(i), ls, curve_letter(P.ls_curve(i)), tr, curve_letter(P.tr_curve(i)), P.rfl_set(i),
                 P.axial_factor(i));
    } else {
      fio::write(UNIT_ECHO, ROW_3D, i, connection_text(P.conn_zz(i)), connection_text(P.conn_yy(i)), P.prop(i),
                 P.py_set(i), ls, curve_letter(P.ls_curve(i)), tr, curve_letter(P.tr_curve(i)), P.rfl_set(i));
    }
  }
  const auto& L = UnitLabels;
  fio::write(UNIT_ECHO, POSITION_HEADING_3D, L.length_large_short(), L.length_large_short(), L.length_large_short(),
             "DEG", "DEG", "DEG", L.length_large_short(), L.force_short(), "-", L.moment_length(), L.force_short(), "-",
             L.moment_length());
  for (int i = 1; i <= n; ++i) {
    WRITE_BLANKS(UNIT_ECHO, 4);
    WRITE_INT_FIELD(UNIT_ECHO, 4, i);
    WRITE_BLANKS(UNIT_ECHO, 1);
    const double values[] = {FEET_FROM_INCHES(P.head_x(i)),
                             FEET_FROM_INCHES(P.head_y(i)),
                             FEET_FROM_INCHES(P.head_z(i)),
                             P.alpha(i),
                             P.beta(i),
                             P.theta(i),
                             FEET_FROM_INCHES(P.ground(i)),
                             KIPS_FROM_POUNDS(P.spring_zz(i)),
                             KIPS_FROM_POUNDS(P.spring_yy(i))};
    for (double value : values) {
      WRITE_BLANKS(UNIT_ECHO, 1);
      WRITE_REAL_FIELD(UNIT_ECHO, 10, 3, value);
    }
    END_REPORT_LINE(UNIT_ECHO);
  }
  // The angles are printed in degrees, the input unit, and held in radians from here on.
  for (int i = 1; i <= n; ++i) {
    P.beta(i) = P.beta(i) * PI_DOUBLE / DEGREES_PER_HALF_TURN;
    P.alpha(i) = P.alpha(i) * PI_DOUBLE / DEGREES_PER_HALF_TURN;
    P.theta(i) = P.theta(i) * PI_DOUBLE / DEGREES_PER_HALF_TURN;
    P.batter(i) = HALF_PI - P.beta(i);
    P.angle_extra(i) = 0.0;
  }
  RunConstants.pi = PI_DOUBLE;
}

}  // namespace

void BUILD_PILE_TABLE() {
  fio::write(UNIT_ECHO, TABLE_D_TITLE);
  if (RunOptions.dimension == MODEL_2D) {
    build_2d();
  } else {
    build_3d();
  }
}

}  // namespace pilecap
