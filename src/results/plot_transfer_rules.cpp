// Load-transfer rules of the plot curves: the ultimate unit side friction of
// a point by pile type and soil code (the adhesion factor of driven piles in
// clay, earth pressure on driven piles in sand, the beta method of drilled
// shafts), its normalised t-z curve, and the capacity and q-w curve of the
// pile tip (bearing factor Nq of driven tips in sand, the normalised
// end-bearing trends of drilled shafts, the parabolic clay tip curve from
// e50). Soil values by query at the point's vertical coordinate; curves are
// 1-based, point 1 the origin; model units.
#include <algorithm>
#include <cmath>
#include <memory>

#include "model/conversions.hpp"
#include "model/sections.hpp"
#include "results/plot_file.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

constexpr double USER_VALUE_LIMIT = double(1e-10f);  // a user value at least this large is given
constexpr double DEPTH_FLOOR = double(1e-10f);       // a driven pile point shallower counts as 1 deep
constexpr double PI_OF_FRICTION_ANGLES = double(3.1416f);
constexpr double HALF_TURN_DEGREES = 180.0;
// A drilled shaft in user p-y soil is granular above and cohesive below
// this friction angle (degrees), and has no curve exactly at it.
constexpr double DRILLED_USER_PY_PHI = 1.0;
constexpr double TIP_BEARING_FACTOR = 9.0;  // of the cohesion
// A tip with more cohesion and less friction than these follows the clay rules.
constexpr double COHESIVE_TIP_COHESION = double(0.1f);
constexpr double COHESIVE_TIP_PHI = double(1e-4f);
constexpr double DEGREES_PER_RADIAN = double(57.296f);
// Below 30 degrees a drilled tip in sand bears this load, whatever its area.
constexpr double DRILLED_SAND_LOW_TIP_LOAD = double(0.1f);
constexpr double ZERO_LIMIT = double(1e-14f);
// The clay tip curve: q = Q / 2 sqrt(w / (2 Dt e50)) up to the failure
// movement 8 Dt e50, then Q, held to 10 times that movement.
constexpr double CLAY_TIP_FAILURE_FACTOR = 8.0;
constexpr int CLAY_TIP_RISING_POINTS = 8;
constexpr double CLAY_TIP_LAST_FACTOR = 10.0;

bool granular_sand_code(int code) { return code == SOIL_SAND || code == SOIL_SILT || code == SOIL_API_SAND; }

// The tip rules of the clays: codes below 4, 10, 13 and 14.
bool clay_capacity_code(int code) {
  return code < SOIL_SAND || code == SOIL_STIFF_CLAY_INITIAL_K || code == SOIL_SOFT_CLAY_USER_J ||
         code == SOIL_MOD_SOFT_CLAY_INITIAL_K;
}

// Codes whose tip capacity is the user's tip resistance, or 9 c A_t.
bool user_tip_code(int code) {
  return code == SOIL_USER_PY || code == SOIL_VUGGY_LIMESTONE || code == SOIL_WEAK_ROCK || code == SOIL_LIQUEFIED_SAND;
}

bool granular_tip_code(int code) {
  return granular_sand_code(code) || code == SOIL_WEAK_ROCK || code == SOIL_LIQUEFIED_SAND ||
         code == SOIL_ELASTIC_SUBGRADE || code > SOIL_CODE_COUNT;
}

// The shape routines fill one row of a curve list; one list serves every call.
TzCurveSet& shape_rows() {
  thread_local std::unique_ptr<TzCurveSet> rows;
  if (!rows) rows = std::make_unique<TzCurveSet>();
  return *rows;
}

// A tabled tip curve: movements d times w_table, loads capacity times q_table.
void scaled_tip(PlotTipCurve& tip, double d, const TipTable& w_table, const TipTable& q_table) {
  for (int j = 1; j <= TZ_POINTS; ++j) {
    tip.w(j) = d * w_table[j - 1];
    tip.q(j) = tip.capacity * q_table[j - 1];
  }
}

// The driven tip in sand: q = Q (w / (0.05 D1))^n at the tabled movements.
void driven_granular_tip(PlotTipCurve& tip, double d1, double phi_deg) {
  const double reference = TIP_REFERENCE_MOVEMENT_FACTOR * d1;
  if (!(reference > 0.0)) return;  // no diameter: no tip curve
  const double exponent = DRIVEN_GRANULAR_TIP_EXPONENT(phi_deg);
  for (int j = 1; j <= TZ_POINTS; ++j) {
    tip.w(j) = INCHES_IN_MODEL(DRIVEN_GRANULAR_W[j - 1]);
    tip.q(j) = j == 1 ? 0.0 : tip.capacity * std::pow(tip.w(j) / reference, exponent);
  }
}

// The driven tip in clay: a parabola from e50 up to Q at 8 Dt e50.
void driven_cohesive_tip(PlotTipCurve& tip, double dt, double e50, int& status) {
  if (std::fabs(e50) < ZERO_LIMIT) {
    WRITE_CURVE_WARNING("THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
    status = STATUS_LS_CURVE_ZERO_E50;
    return;
  }
  if (std::fabs(tip.capacity) < ZERO_LIMIT) {
    WRITE_CURVE_WARNING("THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
    status = STATUS_LS_CURVE_ZERO_COHESION;
    return;
  }
  const double strain_length = 2.0 * dt * e50;
  if (!(strain_length > 0.0)) return;  // no tip diameter: no tip curve
  const double failure = CLAY_TIP_FAILURE_FACTOR * dt * e50;
  for (int j = 1; j <= CLAY_TIP_RISING_POINTS + 1; ++j) tip.w(j) = (j - 1) * failure / CLAY_TIP_FAILURE_FACTOR;
  tip.w(TZ_POINTS) = CLAY_TIP_LAST_FACTOR * failure;
  for (int j = 1; j <= CLAY_TIP_RISING_POINTS; ++j) tip.q(j) = 0.5 * tip.capacity * std::sqrt(tip.w(j) / strain_length);
  tip.q(CLAY_TIP_RISING_POINTS + 1) = tip.q(TZ_POINTS) = tip.capacity;
}

}  // namespace

double PLOT_UNIT_SIDE_FRICTION(int pile, double x, double z, int code, int& status) {
  const double user_friction = SKIN_FRICTION_AT_DEPTH(x, status);
  if (status != STATUS_OK || user_friction >= USER_VALUE_LIMIT) return user_friction;
  const int type = PileProperty.pile_type(PileTable.prop(pile));
  const int units = RunOptions.units;
  double gamma = 0.0, phi = 0.0, c = 0.0, depth = z;
  if (type == PILE_DRIVEN) {
    gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != STATUS_OK) return user_friction;
    phi = FRICTION_ANGLE_AT_DEPTH(x, status);
    if (status != STATUS_OK) return user_friction;
    if (depth < DEPTH_FLOOR) depth = 1.0;
    c = COHESION_AT_DEPTH(x, status);
    if (status != STATUS_OK) return user_friction;
  } else if (type == PILE_DRILLED) {
    c = COHESION_AT_DEPTH(x, status);  // not tested here: the t-z curve's first query stops on it
    if (granular_sand_code(code)) {
      gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != STATUS_OK) return user_friction;
      FRICTION_ANGLE_AT_DEPTH(x, status);
      if (status != STATUS_OK) return user_friction;
    }
  } else {
    return user_friction;
  }
  // Every code below 1 follows the clay rules; codes above 14 keep the user's value.
  const int rule_code = std::max(code, SOIL_SOFT_CLAY);
  if (rule_code > SOIL_CODE_COUNT) return user_friction;
  const bool battered = RunOptions.adjust_batter_depth == 1 && (code == SOIL_SAND || code == SOIL_API_SAND);
  const double sand =
      battered ? BATTERED_SAND_FRICTION(gamma, depth, phi, PileTable.batter(pile)) : SAND_FRICTION(gamma, depth, phi);
  return SIDE_FRICTION_BY_RULES(rule_code, type, c, gamma, depth, DEPTH_IN_FEET(depth, units), sand, user_friction,
                                units);
}

void PLOT_TZ_CURVE(int pile, double x, int code, double fs, PlotTzCurve& curve, double& phi_deg, int& status) {
  curve = PlotTzCurve{};
  phi_deg = BPHI_AT_DEPTH(x, status) * HALF_TURN_DEGREES / PI_OF_FRICTION_ANGLES;
  if (status != STATUS_OK) return;
  const int set = PileTable.prop(pile);
  const int type = PileProperty.pile_type(set);
  if (type == PILE_DRILLED && code == SOIL_USER_PY && phi_deg == DRILLED_USER_PY_PHI) return;
  TzCurveSet& rows = shape_rows();
  constexpr int ROW = 1;
  for (int i = 1; i <= TZ_POINTS; ++i) rows.t(ROW, i) = rows.z(ROW, i) = 0.0;
  rows.tmax(ROW) = fs;
  rows.phi(ROW) = phi_deg;
  // Codes below 1 take the shapes of code 0; codes above 14 and other pile types have none.
  FILL_TZ_CURVE(ROW, type, std::max(code, 0), PileSection.diameter(set, 1), rows);
  for (int i = 1; i <= TZ_POINTS; ++i) {
    curve.t(i) = rows.t(ROW, i);
    curve.z(i) = rows.z(ROW, i);
  }
}

void PLOT_TIP_CURVE(int pile, int tip_code, PlotTipCurve& tip, int& status) {
  tip = PlotTipCurve{};
  const int set = PileTable.prop(pile);
  const int type = PileProperty.pile_type(set);
  int units = RunOptions.units;
  const int last_section = PileProperty.n_sections(set);
  const double d1 = PileSection.diameter(set, 1);
  const double dt = PileSection.diameter_bottom(set, last_section);
  const double at = PileSection.area_bottom(set, last_section);
  double xt = PileTable.head_x(pile) + PileProperty.length(set);
  const double zt = xt - (PileTable.head_depth(pile) + PileTable.ground(pile));

  double e50 = E50_AT_DEPTH(xt);
  double c = COHESION_AT_DEPTH(xt, status);
  if (status != STATUS_OK) return;
  if (e50 <= 0.0) DEFAULT_E50_SOFT_CLAY(c, e50, units);
  double q = TIP_RESISTANCE_AT_DEPTH(xt, status) * at;
  if (status != STATUS_OK) return;
  const double phi = FRICTION_ANGLE_AT_DEPTH(xt, status);
  if (status != STATUS_OK) return;
  int code = tip_code;
  if (c > COHESIVE_TIP_COHESION && phi < COHESIVE_TIP_PHI) code = SOIL_STIFF_CLAY_NO_WATER;

  double phi_deg = 0.0;
  if (clay_capacity_code(code)) {
    if (q < USER_VALUE_LIMIT) q = TIP_BEARING_FACTOR * c * at;
  } else {
    phi_deg = phi * DEGREES_PER_RADIAN;
    const double gamma = AVG_UNIT_WEIGHT_ABOVE(xt, status);
    if (status != STATUS_OK) return;
    if (q < USER_VALUE_LIMIT) {
      if (type == PILE_DRIVEN) {
        q = zt * at * gamma * BEARING_FACTOR_NQ(phi);
      } else if (type == PILE_DRILLED) {
        q = phi < DRILLED_SAND_PHI_LIMIT ? DRILLED_SAND_LOW_TIP_LOAD : DRILLED_GRANULAR_TIP(phi, units) * at;
      }
    }
    if (user_tip_code(code)) {
      q = TIP_RESISTANCE_AT_DEPTH(xt, status) * at;
      if (status != STATUS_OK) return;
      if (q < USER_VALUE_LIMIT) q = TIP_BEARING_FACTOR * c * at;
    }
  }
  tip.capacity = q;

  const bool granular = granular_tip_code(code);
  if (type == PILE_DRIVEN && granular) {
    driven_granular_tip(tip, d1, phi_deg);
  } else if (type == PILE_DRILLED) {
    scaled_tip(tip, d1, DRILLED_TIP_W, granular ? DRILLED_GRANULAR_Q : DRILLED_COHESIVE_Q);
  } else if (type == PILE_DRIVEN && code == SOIL_USER_PY) {
    scaled_tip(tip, d1, DRIVEN_USER_W, DRIVEN_USER_Q);
  } else if (type == PILE_DRIVEN) {
    driven_cohesive_tip(tip, dt, e50, status);
  }
}

double Qtip(const PlotTipCurve& tip, double v) { return plot::value_on_points(tip.w, tip.q, TZ_POINTS, v); }

}  // namespace pilecap
