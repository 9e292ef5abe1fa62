// Sections 10 to 16 and 20 to 22 of the input file: soil layers, p-y print
// requests, user p-y curves, the piles of the generated curves, user
// load-settlement and torque-rotation curves, depth reduction factors, the
// soil movement profile and the p-y export request. Indices are 1-based;
// depths are in the input's length unit, curve values as read.
#include <cmath>
#include <string>

#include "base/unit_labels.hpp"
#include "input/input_reader.hpp"

namespace pilecap::input_detail {

namespace {

// A curve the analysis interpolates needs at least two points.
constexpr int MIN_CURVE_POINTS = 2;
constexpr int MIN_SET_CURVES = 2;  // of a user p-y set
constexpr int LIST_FOLLOWS = 1;
// Relative difference below which the top of a layer meets the bottom of the
// one above: one depth, its last bits perhaps changed by the arithmetic of
// the program that wrote the deck.
constexpr double LAYER_DEPTH_TOLERANCE = 1e-9;

// A point count of a user curve just read: within capacity and at least two points.
bool curve_point_count(InputReader& in, int& n, const char* item) {
  if (!in.count(n, item, MAX_CURVE_POINTS)) return false;
  if (n < MIN_CURVE_POINTS) {
    in.reject(std::to_string(n), "A CURVE NEEDS AT LEAST 2 POINTS");
    return false;
  }
  return true;
}

// Sections 15 and 16: curves of (first, second) value pairs.
template <class Curves>
void read_user_pile_head_curves(InputReader& in, int section, Curves& curves,
                                Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS>& first,
                                Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS>& second) {
  if (!in.section_count(section, curves.count, "USER CURVES", MAX_USER_CURVES)) {
    return;
  }
  CountedList list(in, "USER CURVES", curves.count);
  for (int k = 1; k <= curves.count; ++k) {
    list.entry(k);
    int& n = curves.read_point_count(k);
    if (!in.read_counting({{1, MAX_CURVE_POINTS}}, curves.read_label(k), n) ||
        !curve_point_count(in, n, "POINTS OF A USER CURVE")) {
      return;
    }
    CountedList points(in, "POINTS OF A USER CURVE", n);
    for (int j = 1; j <= n; ++j) {
      points.entry(j);
      if (!in.read(first(k, j), second(k, j))) return;
    }
  }
}

// "40 FT": a depth as the input gives it, in its unit.
std::string depth_text(double depth) { return number_text(depth) + " " + LABEL_TEXT(UnitLabels.length_large()); }

// The layers follow one another downward without gap or overlap: the depth
// queries take the bottom of a layer for the top of the next, and a depth
// between two layers belongs to none, which the p-y criteria would take for
// soft clay. Layer l's depths were just read, on the last line read.
bool layer_depths_usable(InputReader& in, int l) {
  const auto& s = SoilLayerInput;
  const double top = s.top(l), bottom = s.bottom(l);
  const std::string depths = number_text(top) + " " + number_text(bottom);
  const std::string layer = "LAYER " + std::to_string(l);
  if (top > bottom) {
    in.reject(depths, layer + " HAS ITS TOP BELOW ITS BOTTOM");
    return false;
  }
  if (l == 1) return true;
  const double above = s.bottom(l - 1);
  const double tolerance = LAYER_DEPTH_TOLERANCE * std::fmax(1.0, std::fabs(above));
  const std::string previous = "LAYER " + std::to_string(l - 1) + ", WHICH ENDS AT " + depth_text(above);
  if (top < above - tolerance) {
    in.reject(depths, layer + " FROM " + depth_text(top) + " OVERLAPS " + previous);
    return false;
  }
  if (top > above + tolerance) {
    in.reject(depths, layer + " FROM " + depth_text(top) + " LEAVES A GAP BELOW " + previous);
    return false;
  }
  return true;
}

// Properties of a soil layer by their place on a point line.
constexpr int PROP_UNIT_WEIGHT = 1;
constexpr int PROP_STRENGTH = 2;  // cohesion, rock strength qu or maximum stress
constexpr int PROP_FRICTION_ANGLE = 3;
constexpr int PROP_SUBGRADE_MODULUS = 4;
constexpr int PROP_ROCK_MODULUS = 5;
constexpr int PROP_E50 = 6;  // krm of weak rock
constexpr int PROP_SIDE_FRICTION = 8;
constexpr int PROP_TIP_RESISTANCE = 9;
constexpr double RIGHT_ANGLE_DEGREES = 90.0;
// Soil codes the checks tell apart.
constexpr int CODE_SOFT_CLAY = 1;
constexpr int CODE_STIFF_CLAY_FREE_WATER = 2;
constexpr int CODE_STIFF_CLAY_NO_WATER = 3;
constexpr int CODE_SAND = 4;
constexpr int CODE_USER_PY = 5;
constexpr int CODE_VUGGY_LIMESTONE = 6;
constexpr int CODE_SILT = 7;
constexpr int CODE_API_SAND = 8;
constexpr int CODE_WEAK_ROCK = 9;
constexpr int CODE_STIFF_CLAY_INITIAL_K = 10;
constexpr int CODE_ELASTIC_SUBGRADE = 12;
constexpr int CODE_SOFT_CLAY_USER_J = 13;
constexpr int CODE_MOD_SOFT_CLAY_INITIAL_K = 14;

// The codes whose criteria estimate a k, or an e50, not given (0 or less):
// the clays with a k, the sands and the silt; the clays and the silt.
bool estimates_k(int code) {
  for (const int c : {CODE_STIFF_CLAY_FREE_WATER, CODE_SAND, CODE_SILT, CODE_API_SAND, CODE_STIFF_CLAY_INITIAL_K,
                      CODE_MOD_SOFT_CLAY_INITIAL_K}) {
    if (code == c) return true;
  }
  return false;
}
bool estimates_e50(int code) {
  for (const int c : {CODE_SOFT_CLAY, CODE_STIFF_CLAY_FREE_WATER, CODE_STIFF_CLAY_NO_WATER, CODE_SILT,
                      CODE_STIFF_CLAY_INITIAL_K, CODE_SOFT_CLAY_USER_J, CODE_MOD_SOFT_CLAY_INITIAL_K}) {
    if (code == c) return true;
  }
  return false;
}

// Whether the criteria of a code weigh the soil: all but the rocks, the
// elastic subgrade and the user's own p-y curves.
bool weighs_the_soil(int code) {
  return code != CODE_USER_PY && code != CODE_VUGGY_LIMESTONE && code != CODE_WEAK_ROCK &&
         code != CODE_ELASTIC_SUBGRADE;
}

// What no soil has, in property k of a layer of the code given; an empty
// text when value is one a soil can have.
std::string impossible_property(int k, double value, int code) {
  const bool sand = code == CODE_SAND || code == CODE_API_SAND;
  switch (k) {
    case PROP_UNIT_WEIGHT:
      if (value < 0.0 || (value == 0.0 && weighs_the_soil(code))) return "THE UNIT WEIGHT IS ABOVE 0";
      return {};
    case PROP_STRENGTH:
      if (code == CODE_WEAK_ROCK && !(value > 0.0)) return "THE COMPRESSIVE STRENGTH OF WEAK ROCK IS ABOVE 0";
      if (value < 0.0) return "THE COHESION OR STRENGTH IS 0 OR ABOVE";
      return {};
    case PROP_FRICTION_ANGLE:
      if (sand && !(value > 0.0 && value < RIGHT_ANGLE_DEGREES)) {
        return "THE FRICTION ANGLE OF A SAND IS ABOVE 0 AND BELOW 90 DEGREES";
      }
      // The silt criterion stops at a friction angle of 0.
      if (code == CODE_SILT && !(value > 0.0 && value < RIGHT_ANGLE_DEGREES)) {
        return "THE FRICTION ANGLE OF A SILT IS ABOVE 0 AND BELOW 90 DEGREES";
      }
      if (value < 0.0 || value >= RIGHT_ANGLE_DEGREES) return "THE FRICTION ANGLE IS 0 OR ABOVE AND BELOW 90 DEGREES";
      return {};
    case PROP_SUBGRADE_MODULUS:
      // The elastic subgrade takes its modulus as given.
      return code == CODE_ELASTIC_SUBGRADE && value < 0.0 ? "THE ELASTIC SUBGRADE MODULUS IS 0 OR ABOVE" : "";
    case PROP_ROCK_MODULUS:
      return value < 0.0 ? "THE ROCK MASS MODULUS IS 0 OR ABOVE" : "";
    case PROP_SIDE_FRICTION:
      return value < 0.0 ? "THE ULTIMATE UNIT SIDE FRICTION IS 0 (COMPUTED) OR ABOVE" : "";
    case PROP_TIP_RESISTANCE:
      return value < 0.0 ? "THE ULTIMATE UNIT TIP RESISTANCE IS 0 (COMPUTED) OR ABOVE" : "";
    default:
      return {};
  }
}

// Point p of layer l, just read on the last line read: a value no soil has
// ends the read; an e50 or k below 0, which the criteria take as not given
// and estimate, is warned of.
bool layer_point_usable(InputReader& in, int l, int p) {
  const auto& s = SoilLayerInput;
  const int code = s.soil_code(l);
  const std::string layer = "LAYER " + std::to_string(l) + ": ";
  for (int k = 1; k <= s.num_props(l); ++k) {
    const double value = s.props(l)(k, p);
    const std::string impossible = impossible_property(k, value, code);
    if (!impossible.empty()) {
      in.reject(number_text(value), layer + impossible);
      return false;
    }
    const bool estimated = (k == PROP_SUBGRADE_MODULUS && estimates_k(code)) || (k == PROP_E50 && estimates_e50(code));
    if (estimated && value < 0.0) {
      in.warn_at(in.line(), number_text(value),
                 layer + (k == PROP_E50 ? "E50" : "K") + " BELOW 0 IS TAKEN AS NOT GIVEN, AND ESTIMATED");
    }
  }
  return true;
}

}  // namespace

void read_soil_layers(InputReader& in) {
  auto& s = SoilLayerInput;
  if (!in.section_count(SECTION_SOIL_LAYERS, s.count, "SOIL LAYERS", MAX_INPUT_SOIL_LAYERS)) {
    return;
  }
  CountedList layers(in, "SOIL LAYERS", s.count);
  for (int l = 1; l <= s.count; ++l) {
    layers.entry(l);
    if (!in.read(s.layer_number(l), s.soil_code(l)) || !in.read(s.top(l), s.bottom(l)) || !layer_depths_usable(in, l) ||
        !in.read_counting({{0, SOIL_LAYER_POINTS}, {1, SOIL_LAYER_PROPERTIES}}, s.num_points(l), s.num_props(l))) {
      return;
    }
    const int props_given = s.num_props(l);
    if (!in.count(s.num_points(l), "POINTS OF A SOIL LAYER", SOIL_LAYER_POINTS) ||
        !in.count(s.num_props(l), "PROPERTIES OF A SOIL LAYER", SOIL_LAYER_PROPERTIES)) {
      return;
    }
    // A count of 0 takes each point line and reads nothing from it, as the
    // format has it; a negative one does the same, but is no count at all.
    if (props_given < 0 && s.num_points(l) > 0) {
      in.warn_at(in.line(), std::to_string(props_given),
                 "NO PROPERTY OF LAYER " + std::to_string(l) + " IS READ: ITS " + std::to_string(s.num_points(l)) +
                     " POINT LINES ARE PASSED OVER");
    }
    CountedList points(in, "POINTS OF A SOIL LAYER", s.num_points(l));
    for (int p = 1; p <= s.num_points(l); ++p) {
      points.entry(p);
      // With no properties the point's line is still taken.
      auto properties = StridedRange<double>(s.props(l).column(p), 1, s.num_props(l));
      if (!in.read(properties)) return;
      if (p == 1) InputLines.soil_layer(l) = in.line();
      if (!layer_point_usable(in, l, p)) return;
    }
  }
}

void read_py_print_requests(InputReader& in) {
  auto& r = PyPrintRequest;
  if (!in.section_count(SECTION_PY_PRINT_REQUESTS, r.count, "P-Y PRINT REQUESTS", MAX_PY_PRINT_REQUESTS)) {
    return;
  }
  CountedList requests(in, "P-Y PRINT REQUESTS", r.count);
  for (int j = 1; j <= r.count; ++j) {
    requests.entry(j);
    if (!in.read(r.pile(j), r.depth(j)) ||
        !in.read_count(r.num_points(j), "DEFLECTIONS OF A PRINT REQUEST", MAX_PY_PRINT_POINTS)) {
      return;
    }
    if (r.num_points(j) > 0 && !in.read(row(r.y, j, 1, r.num_points(j)))) return;
  }
}

void read_user_py_curves(InputReader& in) {
  auto& u = UserPyCurveSet;
  if (!in.section_count(SECTION_USER_PY_CURVES, u.count, "P-Y CURVE SETS", MAX_PY_SETS)) {
    return;
  }
  CountedList sets(in, "P-Y CURVE SETS", u.count);
  for (int s = 1; s <= u.count; ++s) {
    sets.entry(s);
    if (!in.read_counting({{1, MAX_PY_CURVES_PER_SET}}, u.set_label(s), u.read_num_curves(s)) ||
        !in.count(u.read_num_curves(s), "CURVES OF A P-Y SET", MAX_PY_CURVES_PER_SET)) {
      return;
    }
    // A depth is served by the two curves that bracket it; one curve alone
    // brackets nothing.
    if (u.read_num_curves(s) < MIN_SET_CURVES) {
      in.reject(std::to_string(u.read_num_curves(s)), "A P-Y CURVE SET NEEDS AT LEAST 2 CURVES");
      return;
    }
    CountedList curves(in, "CURVES OF A P-Y SET", u.read_num_curves(s));
    for (int c = 1; c <= u.read_num_curves(s); ++c) {
      curves.entry(c);
      int& n = u.read_num_points(s, c);
      if (!in.read(u.read_depth(s, c))) return;
      // A curve above the soil serves no node a criterion would not; more
      // often the depth has lost a digit or gained a sign.
      if (SoilLayerInput.count > 0 && u.read_depth(s, c) < SoilLayerInput.top(1)) {
        in.warn_at(in.line(), number_text(u.read_depth(s, c)),
                   "CURVE " + std::to_string(c) + " OF P-Y SET " + std::to_string(s) +
                       " STANDS ABOVE THE TOP OF THE SOIL AT " + depth_text(SoilLayerInput.top(1)));
      }
      if (!in.read_counting({{0, MAX_CURVE_POINTS}}, n) || !curve_point_count(in, n, "POINTS OF A P-Y CURVE")) return;
      CountedList points(in, "POINTS OF A P-Y CURVE", n);
      for (int k = 1; k <= n; ++k) {
        points.entry(k);
        if (!in.read(u.read_p(s, c, k), u.read_y(s, c, k))) return;
        // The soil resists a deflection of either sign with the same
        // resistance; the interpolation divides by the step of y.
        if (u.read_p(s, c, k) < 0.0) {
          in.reject(number_text(u.read_p(s, c, k)), "NEGATIVE SOIL RESISTANCE P");
          return;
        }
        if (k > 1 && !(u.read_y(s, c, k) > u.read_y(s, c, k - 1))) {
          in.reject(number_text(u.read_y(s, c, k)), "DEFLECTIONS Y OF A CURVE DO NOT INCREASE");
          return;
        }
        // Below its first point a curve extends its first segment: one off
        // the origin resists a deflection of 0, or none up to some deflection.
        if (k == 1 && (u.read_p(s, c, 1) != 0.0 || u.read_y(s, c, 1) != 0.0)) {
          in.warn_at(in.line(), number_text(u.read_p(s, c, 1)) + " " + number_text(u.read_y(s, c, 1)),
                     "CURVE " + std::to_string(c) + " OF P-Y SET " + std::to_string(s) +
                         " STARTS OFF THE ORIGIN: BELOW ITS FIRST POINT ITS FIRST SEGMENT IS EXTENDED");
        }
      }
    }
  }
}

void read_generated_curve_piles(InputReader& in, int section, int& count, Table1<int>& piles,
                                Array1<int, TABLE_CAPACITY>& lines) {
  if (!in.section_count(section, count, "GENERATED CURVES", TABLE_CAPACITY)) return;
  CountedList curves(in, "GENERATED CURVES", count);
  for (int k = 1; k <= count; ++k) {
    curves.entry(k);
    if (!in.read(piles(k))) return;
    lines(k) = in.line();
  }
}

void read_user_ls_curves(InputReader& in) {
  read_user_pile_head_curves(in, SECTION_USER_LS_CURVES, UserLsCurve, UserLsCurve.read_load, UserLsCurve.read_movement);
}

void read_user_tr_curves(InputReader& in) {
  read_user_pile_head_curves(in, SECTION_USER_TR_CURVES, UserTrCurve, UserTrCurve.read_torque,
                             UserTrCurve.read_rotation);
}

void read_depth_factor_tables(InputReader& in) {
  auto& d = DepthFactorTable;
  if (!in.section_count(SECTION_DEPTH_FACTORS, d.count, "DEPTH FACTOR TABLES", MAX_DEPTH_FACTOR_TABLES)) {
    return;
  }
  CountedList tables(in, "DEPTH FACTOR TABLES", d.count);
  for (int m = 1; m <= d.count; ++m) {
    tables.entry(m);
    if (!in.read_counting({{1, MAX_DEPTH_FACTOR_ROWS}}, d.table_label(m), d.num_rows(m)) ||
        !in.count(d.num_rows(m), "ROWS OF A DEPTH FACTOR TABLE", MAX_DEPTH_FACTOR_ROWS)) {
      return;
    }
    CountedList rows(in, "ROWS OF A DEPTH FACTOR TABLE", d.num_rows(m));
    for (int i = 1; i <= d.num_rows(m); ++i) {
      rows.entry(i);
      if (!in.read(d.depth(m, i), d.p_factor(m, i), d.y_factor(m, i))) return;
    }
  }
}

void read_soil_movement_profile(InputReader& in) {
  auto& s = SoilMovementProfile;
  int n = 0;
  if (!in.section_count(SECTION_SOIL_MOVEMENT_PROFILE, n, "POINTS OF THE SOIL MOVEMENT PROFILE",
                        MAX_SOIL_MOVE_POINTS)) {
    return;
  }
  CountedList points(in, "POINTS OF THE SOIL MOVEMENT PROFILE", n);
  for (int p = 1; p <= n; ++p) {
    points.entry(p);
    if (!in.read(s.depth(p), s.move_y(p), s.move_z(p))) return;
    s.scaled_move_y(p) = s.read_move_y(p) = s.move_y(p);
    s.scaled_move_z(p) = s.read_move_z(p) = s.move_z(p);
    // Counted as it is read, so a profile cut short holds only whole points.
    s.count = p;
  }
}

void read_py_export_request(InputReader& in) {
  auto& e = PyExportRequest;
  if (!in.header(SECTION_PY_EXPORT) || !in.read(e.plot_nodes, e.deflection_list_flag, e.second_list_flag)) return;
  if (e.deflection_list_flag == LIST_FOLLOWS) {
    if (!in.read_count(e.num_deflections, "EXPORT DEFLECTIONS", MAX_EXPORT_DEFLECTIONS)) return;
    CountedList deflections(in, "EXPORT DEFLECTIONS", e.num_deflections);
    for (int k = 1; k <= e.num_deflections; ++k) {
      deflections.entry(k);
      if (!in.read(e.deflections(k))) return;
    }
  }
  if (e.second_list_flag == LIST_FOLLOWS) {
    int n_values = 0;
    if (in.read(n_values)) in.discard_reals(n_values);
  }
}

}  // namespace pilecap::input_detail
