// TABLES H and I of the input echo: the axial load-settlement curves and, in
// 3D, the torque-rotation curves of the pile heads. User curves are stored
// from their input copies; the others are generated from the soil profile,
// one side at a time, and stored as 2n + 1 points through the origin (the
// uplift side negated and reversed first). Piles that ask for a generated
// curve then point at it by a negative curve number. Tables are 1-based,
// (curve, point).
#include <limits>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_PILE_ARRANGEMENT = 7;
constexpr int INPUT_SECTION_PROPERTY_SETS = 8;
constexpr int INPUT_SECTION_GENERATED_LS_PILES = 13;
constexpr int INPUT_SECTION_GENERATED_TR_PILES = 14;

constexpr const char* TABLE_H_TITLE = "(/,/,/,5X,\"* TABLE H *   AXIAL LOAD VS DISPLACEMENT \")";
constexpr const char* USER_LS_TITLE = "(/,5X,\"USER DEFINED\",\" AXIAL LOAD-DISPLACEMENT CURVES\")";
constexpr const char* GENERATED_LS_TITLE = "(/,5X,\"AXIAL LOAD-DISPLACEMENT CURVES\",\" GENERATED INTERNALLY \")";
constexpr const char* PLOT_LS_TITLE = "(5X,\"* AXIAL LOAD-DISPLACEMENT CURVES *\")";
//        DISPLACEMENT,IN        AXIAL LOAD,LBS
constexpr const char* LS_COLUMNS_LAYOUT = "(7X,\"DISPLACEMENT,\",A3,7X,\"AXIAL LOAD,\",A3)";
constexpr const char* TABLE_I_TITLE = "(/,/,/,5X,\"* TABLE I *   TORS. MOM. VS ANGLE ROT. \")";
constexpr const char* USER_TR_TITLE = "(/,5X,\"USER DEFINED TORQUE-ROTATION CURVE\")";
constexpr const char* GENERATED_TR_TITLE = "(/,5X,\"TORQUE-ROTATION CURVES\",\" GENERATED INTERNALLY \")";
constexpr const char* PLOT_TR_TITLE = "(5X,\"* TORQUE-ROTATION CURVES *\")";
//          ROT. ANGLE,Rad.     TORS.MOMEN,LBS-IN
constexpr const char* TR_COLUMNS_LAYOUT = "(9X,\"ROT. ANGLE,\",\"Rad.\",5X,\"TORS.MOMEN,\",A3,A1,A2)";
//        NUM OF CURVES  2
constexpr const char* NUM_CURVES_LAYOUT = "(/,7X,\"NUM OF CURVES\",I3)";
//         CURVE  1          NUM OF POINTS 19
constexpr const char* CURVE_LAYOUT = "(/,8X,\"CURVE\",I3,10X,\"NUM OF POINTS\",I3,/)";
constexpr const char* PLOT_COUNT_LAYOUT = "(5X,I5)";
constexpr const char* PLOT_CURVE_LAYOUT = "(5X,3I5)";

// The tables one kind of curve (axial or torsional) is kept in.
struct CurveKind {
  bool axial;
  int input_section;            // of the generated-curve piles
  Table1<int>& pile_curve;      // PileTable.ls_curve or tr_curve
  Table1<int>& pile_generated;  // PileTable.gen_ls_curve or gen_tr_curve
  int generated_piles_count;    // input section 13 or 14
  Table1<int>& generated_piles;
  int user_count;
  int& count;  // generated curves
  Table1<int>& pile;
  Table1<int>& point_count;
  Table2<double>& x;  // movement or rotation
  Table2<double>& y;  // load or torque
};

CurveKind axial_kind() {
  GeneratedLsCurveRecord& g = GeneratedLsCurve;
  return {true,
          INPUT_SECTION_GENERATED_LS_PILES,
          PileTable.ls_curve,
          PileTable.gen_ls_curve,
          GeneratedCurvePiles.ls_count,
          GeneratedCurvePiles.ls_piles,
          RunOptions.user_axial_curves == 1 ? UserLsCurve.count : 0,
          g.count,
          g.pile,
          g.point_count,
          g.movement,
          g.load};
}

CurveKind torsion_kind() {
  GeneratedTrCurveRecord& g = GeneratedTrCurve;
  return {false,
          INPUT_SECTION_GENERATED_TR_PILES,
          PileTable.tr_curve,
          PileTable.gen_tr_curve,
          GeneratedCurvePiles.tr_count,
          GeneratedCurvePiles.tr_piles,
          RunOptions.user_torsion_curves == 1 ? UserTrCurve.count : 0,
          g.count,
          g.pile,
          g.point_count,
          g.rotation,
          g.torque};
}

bool generation_wanted(const CurveKind& kind) {
  if (SoilLayerInput.count < 1) return false;
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    if (kind.pile_curve(i) == 0) return true;
  }
  return false;
}

// Before anything is generated: every generated curve is placed by a pile
// that exists and its property set can be generated, and every pile ends up
// with a curve that will exist.
void check_curve_references(const CurveKind& kind, int& status) {
  const bool generating = generation_wanted(kind);
  const int n_generated = generating ? kind.generated_piles_count : 0;
  for (int k = 1; k <= n_generated; ++k) {
    const int pile = kind.generated_piles(k);
    if (pile < 1 || pile > PileTable.n_piles) {
      REJECT_INPUT_VALUE(status, kind.input_section, "CURVE " + std::to_string(k), pile, "PILE NOT DEFINED");
      return;
    }
    CHECK_TRANSFER_INPUT(PileTable.prop(pile), kind.axial, status);
    if (status != STATUS_OK) return;
  }
  // A 2D model's entries are pile rows; the message names the column the
  // value was read from, as the input gives it.
  const std::string entry = RunOptions.dimension == MODEL_2D ? "PILE ROW " : "PILE ";
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    // The ranges are tested without negating the curve number: the most
    // negative integer has no negation, and names no curve either.
    int curve = kind.pile_curve(i);
    const int generated = kind.pile_generated(i);
    const bool by_generation = curve == 0 && generating;
    bool named = true;
    if (by_generation) {
      named = generated != std::numeric_limits<int>::min();
      curve = named ? -generated : generated;
    }
    named = named && ((curve > 0 && curve <= kind.user_count) || (curve < 0 && curve >= -n_generated));
    if (!named) {
      const char* reason = kind.axial ? (by_generation ? "NO GENERATED LOAD-SETTLEMENT CURVE FOR THE PILE"
                                                       : "NO LOAD-SETTLEMENT CURVE FOR THE PILE")
                                      : (by_generation ? "NO GENERATED TORQUE-ROTATION CURVE FOR THE PILE"
                                                       : "NO TORQUE-ROTATION CURVE FOR THE PILE");
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PILE_ARRANGEMENT, entry + std::to_string(i),
                         by_generation ? generated : curve, reason);
      return;
    }
  }
}

// The heading of one curve's points on the echo.
void write_columns_heading(bool axial) {
  if (axial) {
    fio::write(UNIT_ECHO, LS_COLUMNS_LAYOUT, UnitLabels.length(), UnitLabels.force_short());
  } else {
    fio::write(UNIT_ECHO, TR_COLUMNS_LAYOUT, UnitLabels.force_short(), "-", UnitLabels.moment_length());
  }
}

// One echo row: movement (rotation) and load (torque).
void write_point_row(double x, double y) {
  WRITE_BLANKS(UNIT_ECHO, 10);
  WRITE_REAL_FIELD(UNIT_ECHO, 12, 5, x);
  WRITE_BLANKS(UNIT_ECHO, 9);
  WRITE_REAL_FIELD(UNIT_ECHO, 12, 5, KIPS_FROM_POUNDS(y));
  END_REPORT_LINE(UNIT_ECHO);
}

template <class Points>
void store_and_echo_user_curves(int count, const char* title, bool axial, Array1<int, MAX_USER_CURVES>& point_count,
                                const Array1<int, MAX_USER_CURVES>& read_count, Points& x, Points& y,
                                const Points& read_first, const Points& read_second) {
  for (int k = 1; k <= count; ++k) {
    point_count(k) = read_count(k);
    for (int j = 1; j <= point_count(k); ++j) {
      y(k, j) = read_first(k, j);
      x(k, j) = read_second(k, j);
    }
  }
  if (count < 1) return;
  fio::write(UNIT_ECHO, title);
  fio::write(UNIT_ECHO, NUM_CURVES_LAYOUT, count);
  for (int k = 1; k <= count; ++k) {
    fio::write(UNIT_ECHO, CURVE_LAYOUT, k, point_count(k));
    write_columns_heading(axial);
    for (int j = 1; j <= point_count(k); ++j) write_point_row(x(k, j), y(k, j));
  }
}

// The detail line of a generator's failure: the curve with its line, its
// pile and the pile's property set with theirs, then where along the pile
// the generator stopped when it said so. A refused input value has its own.
void name_failed_curve(const CurveKind& kind, int k, int pile, int q, int status) {
  if (status == STATUS_INPUT_DATA_ERROR || status == STATUS_FILE_ERROR || status == STATUS_CAPACITY_EXCEEDED) return;
  const std::string cause = STATUS_DETAIL();
  const int curve_line = kind.axial ? InputLines.generated_ls_curve(k) : InputLines.generated_tr_curve(k);
  const int set_line = q >= 1 && q <= MAX_INPUT_PROPERTY_SETS ? InputLines.property_set(q) : 0;
  std::string detail("    ");
  detail.append(INPUT_PLACE(kind.input_section, curve_line)).append(": CURVE ").append(std::to_string(k));
  detail.append(" OF PILE ").append(std::to_string(pile)).append(", PROPERTY SET ").append(std::to_string(q));
  detail.append(" AT ").append(INPUT_PLACE(INPUT_SECTION_PROPERTY_SETS, set_line));
  if (!cause.empty()) detail.append(", ").append(cause);
  SET_STATUS_DETAIL(detail);
}

// Both sides of generated curve k; a failing side leaves what was stored.
void generate_curve(CurveKind& kind, int k, int& status) {
  int pile = kind.pile(k);
  int q = PileTable.prop(pile);
  if (kind.axial) {
    const int origin = LS_ORIGIN_COLUMN;
    ComputedLsTable.top_movement(q, origin) = ComputedLsTable.top_load(q, origin) = 0.0;
    ComputedLsTable.tip_movement(q, origin) = ComputedLsTable.tip_load(q, origin) = 0.0;
    fio::write_list(UNIT_GENERATED_AXIAL_CURVES);
    fio::write_list(UNIT_GENERATED_AXIAL_CURVES, k, pile, q);
  }
  int n = 0;
  for (int side = SIDE_UPLIFT; side <= SIDE_COMPRESSION; ++side) {
    double y[LS_POINTS_PER_SIDE] = {}, x[LS_POINTS_PER_SIDE] = {};
    if (kind.axial) {
      GENERATE_AXIAL_LS_CURVE(q, side, k, pile, status, n, y, x);
    } else {
      fio::flush(UNIT_RUN_LOG);
      GENERATE_TORSION_TR_CURVE(q, side, k, pile, status, n, y, x);
    }
    if (status != STATUS_OK) {
      name_failed_curve(kind, k, pile, q, status);
      return;
    }
    kind.point_count(k) = 2 * n + 1;
    for (int j = 1; j <= n; ++j) {
      if (side == SIDE_UPLIFT) {
        kind.x(k, j) = -x[n - j];
        kind.y(k, j) = -y[n - j];
      } else {
        kind.x(k, n + 1 + j) = x[j - 1];
        kind.y(k, n + 1 + j) = y[j - 1];
      }
    }
  }
  kind.x(k, n + 1) = kind.y(k, n + 1) = 0.0;
}

void echo_generated_curves(const CurveKind& kind, const char* title, const char* plot_title) {
  fio::write(UNIT_ECHO, title);
  fio::write(UNIT_ECHO, NUM_CURVES_LAYOUT, kind.count);
  fio::write(UNIT_PLOT, plot_title);
  fio::write(UNIT_PLOT, PLOT_COUNT_LAYOUT, kind.count);
  for (int k = 1; k <= kind.count; ++k) {
    const int n_points = kind.point_count(k);
    fio::write(UNIT_ECHO, CURVE_LAYOUT, k, n_points);
    write_columns_heading(kind.axial);
    for (int j = 1; j <= n_points; ++j) write_point_row(kind.x(k, j), kind.y(k, j));
    fio::write(UNIT_PLOT, PLOT_CURVE_LAYOUT, k, k, n_points);
    for (int j = 1; j <= n_points; ++j) {
      WRITE_BLANKS(UNIT_PLOT, 10);
      WRITE_INT_FIELD(UNIT_PLOT, 5, j);
      WRITE_BLANKS(UNIT_PLOT, 11);
      WRITE_REAL_FIELD(UNIT_PLOT, 15, 8, kind.y(k, j));
      WRITE_BLANKS(UNIT_PLOT, 9);
      WRITE_REAL_FIELD(UNIT_PLOT, 15, 8, kind.x(k, j));
      END_REPORT_LINE(UNIT_PLOT);
    }
  }
}

// The generated curves of one kind: numbering, pile references, generation.
void generate_curves(CurveKind& kind, int& status) {
  if (!generation_wanted(kind)) return;
  kind.count = kind.generated_piles_count;
  for (int k = 1; k <= kind.count; ++k) kind.pile(k) = kind.generated_piles(k);
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    if (kind.pile_curve(i) == 0) kind.pile_curve(i) = -kind.pile_generated(i);
  }
  if (kind.axial) {
    const std::string& name = RunFiles.generated_axial_curves_file;
    if (fio::open(UNIT_GENERATED_AXIAL_CURVES, name, fio::Mode::Write) != fio::IO_OK) {
      std::string detail("    ");
      detail.append(name);
      SET_STATUS_DETAIL(detail);
      status = STATUS_FILE_ERROR;
      return;
    }
  }
  for (int k = 1; k <= kind.count && status == STATUS_OK; ++k) generate_curve(kind, k, status);
  if (kind.axial) fio::close(UNIT_GENERATED_AXIAL_CURVES);
  if (status != STATUS_OK) return;
  echo_generated_curves(kind, kind.axial ? GENERATED_LS_TITLE : GENERATED_TR_TITLE,
                        kind.axial ? PLOT_LS_TITLE : PLOT_TR_TITLE);
}

}  // namespace

void ECHO_AXIAL_TORSION_CURVES(int& status) {
  GeneratedLsCurve.count = 0;
  GeneratedTrCurve.count = 0;
  const bool three_d = RunOptions.dimension == MODEL_3D;
  CurveKind axial = axial_kind();
  check_curve_references(axial, status);
  if (status != STATUS_OK) return;
  if (three_d) {
    CurveKind torsion = torsion_kind();
    check_curve_references(torsion, status);
    if (status != STATUS_OK) return;
  }

  fio::write(UNIT_ECHO, TABLE_H_TITLE);
  if (RunOptions.user_axial_curves == 1) {
    UserLsCurveRecord& u = UserLsCurve;
    store_and_echo_user_curves(u.count, USER_LS_TITLE, true, u.point_count, u.read_point_count, u.movement, u.load,
                               u.read_load, u.read_movement);
  }
  generate_curves(axial, status);
  if (status != STATUS_OK || !three_d) return;

  fio::write(UNIT_ECHO, TABLE_I_TITLE);
  if (RunOptions.user_torsion_curves == 1) {
    UserTrCurveRecord& u = UserTrCurve;
    store_and_echo_user_curves(u.count, USER_TR_TITLE, false, u.point_count, u.read_point_count, u.rotation, u.torque,
                               u.read_torque, u.read_rotation);
  }
  CurveKind torsion = torsion_kind();
  generate_curves(torsion, status);
}

}  // namespace pilecap
