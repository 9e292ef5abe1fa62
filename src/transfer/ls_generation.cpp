// Load-settlement curve of a pile property set by the load-transfer method:
// nine assumed tip movements, each marched from the tip to the head over
// the node t-z curves, the tip taking its load from a q-w curve (a power law
// in sand for driven piles, the normalised end-bearing trends of drilled
// shafts, the parabolic clay tip curve from e50). One side per call; the
// listings document the layer t-z curves, the node curves, the tip curve,
// every march and the computed points. ComputedLsTable is (property, column).
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

constexpr double USER_VALUE_LIMIT = double(1e-10f);
constexpr double UPLIFT_TIP_AREA = double(1e-4f);
constexpr double ZERO_LIMIT = double(1e-14f);
constexpr double LAST_TIP_MOVEMENT_INCHES = double(2.0f);
constexpr double TIP_BEARING_FACTOR = 9.0;
constexpr double T0_COHESION = double(0.1f);
constexpr double T0_PHI = double(1e-4f);
constexpr double DEGREES_PER_RADIAN_TZ = 180.0 / double(3.1416f);
constexpr double CLAY_TIP_FAILURE_FACTOR = 8.0;  // w_f = 8 D e50
constexpr int CLAY_TIP_RISING_POINTS = 8;
constexpr double CLAY_TIP_LAST_FACTOR = 10.0;
// Exponents of the driven tip in sand by the friction angle (degrees).
constexpr double PHI_EXPONENT_LOW = 31.0, PHI_EXPONENT_HIGH = 38.0;
constexpr double EXPONENT_LOW = 0.5, EXPONENT_MID = double(0.333f), EXPONENT_HIGH = 0.25;

// Listing layouts.
constexpr const char* TZ_HEADING_LAYOUT = "(/,/,5X,\"T-Z CURVES, PILE PROPERTY:\",I3,/)";
constexpr const char* TZ_COLUMNS_LAYOUT =
    "(10X,\"CURVE\",3X,\"N. POINTS\",5X,\"DEPTH\",11X,\"T Value\",9X,\"Z Value\")";
//                                 (FT )           (PSI )          (IN )
constexpr const char* TZ_UNITS_LAYOUT = "(32X,\"(\",A,\")\",11X,\"(\",A,\")\",10X,\"(\",A,\")\")";
//             1         10      0.1000E+01
constexpr const char* TZ_CURVE_LAYOUT = "(8X,I5,I11,E16.4)";
//                                              0.1000E+01      0.1000E-01
constexpr const char* TZ_POINT_LAYOUT = "(40X,E17.4,E16.4)";
constexpr const char* QW_HEADING_LAYOUT = "(/,5X,\"Q-W CURVE, PILE PROPERTY:\",I3,/)";
constexpr const char* QW_COLUMNS_LAYOUT = "(9X,\"Q Value\",12X,\"W Value\")";
constexpr const char* QW_UNITS_LAYOUT = "(10X,\"(\",A,\")\",14X,\"(\",A,\")\")";
//        0.1000E+05         0.1000E+00
constexpr const char* QW_POINT_LAYOUT = "(E18.4,E19.4)";
constexpr const char* MARCH_HEADING_LAYOUT = "(/,5X,\"T-Z CURVES, PILE PROPERTY:\",I5,/)";
constexpr const char* MARCH_COLUMNS_LAYOUT =
    "(/,5X,\"  N  \",\"  DEPTH \",5X,\"AXIAL LOAD\",11X,\"MOVEMENT\",/,13X,A,12X,A,16X,A)";
constexpr const char* POINTS_COLUMNS_LAYOUT =
    "(/,/,/,8X,\"TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT\",5X,\"TIP  LOAD\",/,11X,A,13X,A,14X,A,12X,A)";
//      0.1234567E+05  0.1234567E-01  0.1000000E-03  0.1234567E+02
constexpr const char* POINTS_ROW_LAYOUT = "(5X,4E15.7)";

std::string_view stress_label() { return UnitLabels.chars(29, 33); }

// The ten points of one t-z curve list as listing A (layers) or B (nodes).
void write_tz_curves(int unit, const TzCurveSet& set) {
  fio::write(unit, TZ_COLUMNS_LAYOUT);
  fio::write(unit, TZ_UNITS_LAYOUT, UnitLabels.length_large(), stress_label(), UnitLabels.length());
  for (int k = 1; k <= set.count; ++k) {
    fio::write(unit, TZ_CURVE_LAYOUT, k, TZ_POINTS, FEET_FROM_INCHES(set.depth(k)));
    for (int i = 1; i <= TZ_POINTS; ++i) fio::write(unit, TZ_POINT_LAYOUT, set.t(k, i), set.z(k, i));
  }
}

// The layer curves, printed on side 1 and built on both.
void layer_curves(const TransferModel& m, int side, int& status) {
  auto layers = std::make_unique<TzCurveSet>();
  layers->depth(1) = layers->depth(2) = m.ground_line;
  layers->code(1) = layers->code(2) = SoilProfile.layer_code(1);
  LAYER_CURVE_DEPTHS(m, *layers, 3);
  for (int k = 1; k <= layers->count; ++k) {
    BUILD_TZ_AT_DEPTH(m, *layers, k, layers->depth(k), layers->code(k), status);
    if (status != STATUS_OK) return;
    if (k <= 2) PIN_CURVE_FRICTION(m, *layers, k);
  }
  if (side != SIDE_UPLIFT) return;
  fio::write(UNIT_AXIAL_CURVE_TEXT, TZ_HEADING_LAYOUT, m.q);
  write_tz_curves(UNIT_AXIAL_CURVE_TEXT, *layers);
}

void write_node_curves(const TransferModel& m) {
  const int unit = UNIT_GENERATED_AXIAL_CURVES;
  fio::write(unit, TZ_HEADING_LAYOUT, m.q);
  fio::write_list(unit, FEET_FROM_INCHES(m.length), FEET_FROM_INCHES(PileTable.head_depth(m.p)),
                  FEET_FROM_INCHES(PileTable.ground(m.p)));
  fio::write_list(unit);
  write_tz_curves(unit, m.nodes);
}

bool granular_tip(int code) {
  return code == SOIL_SAND || code == SOIL_SILT || code == SOIL_API_SAND || code == SOIL_WEAK_ROCK ||
         code == SOIL_LIQUEFIED_SAND || code == SOIL_ELASTIC_SUBGRADE;
}

void scaled_tip(TipCurve& tip, double diameter, double q_t, const TipTable& w, const TipTable& q) {
  for (int i = 0; i < TZ_POINTS; ++i) {
    tip.w[i] = diameter * w[i];
    tip.q[i] = q_t * q[i];
  }
}

void write_tip_curve(const TransferModel& m, const TipCurve& tip) {
  fio::write(UNIT_AXIAL_CURVE_TEXT, QW_HEADING_LAYOUT, m.q);
  fio::write(UNIT_AXIAL_CURVE_TEXT, QW_COLUMNS_LAYOUT);
  fio::write(UNIT_AXIAL_CURVE_TEXT, QW_UNITS_LAYOUT, UnitLabels.moment_force(), UnitLabels.length());
  for (int i = 0; i < TZ_POINTS; ++i) fio::write(UNIT_AXIAL_CURVE_TEXT, QW_POINT_LAYOUT, tip.q[i], tip.w[i]);
}

}  // namespace

bool BUILD_TIP_CURVE(const TransferModel& m, int side, bool along_pile, TipCurve& tip, int& status) {
  const int units = RunOptions.units;
  const int q = m.q;
  const int n_s = PileProperty.n_sections(q);
  double x_t = m.head_depth + m.vertical_length;                      // tip depth
  const double embedded = m.vertical_length - PileTable.ground(m.p);  // below the ground line
  const double area = side == SIDE_UPLIFT ? UPLIFT_TIP_AREA : PileSection.area_bottom(q, n_s);
  const double tip_diameter = PileSection.diameter(q, n_s);
  int code = TIP_LAYER_CODE(x_t);

  double e50 = E50_AT_DEPTH(x_t);
  double c = COHESION_AT_DEPTH(x_t, status);
  if (status != STATUS_OK) return false;
  if (e50 <= 0.0) {
    int units_now = RunOptions.units;
    if (along_pile) {
      DEFAULT_E50_SOFT_CLAY(c, e50, units_now);
    } else {
      DEFAULT_E50_BY_SOIL(c, e50, code, units_now);
    }
  }
  double q_t = TIP_RESISTANCE_AT_DEPTH(x_t, status) * area;
  if (status != STATUS_OK) return false;
  const double phi = FRICTION_ANGLE_AT_DEPTH(x_t, status);
  if (status != STATUS_OK) return false;
  if (c > T0_COHESION && phi < T0_PHI) code = SOIL_STIFF_CLAY_NO_WATER;

  const bool driven = m.pile_type == PILE_DRIVEN;
  switch (code) {
    case SOIL_SOFT_CLAY:
    case SOIL_STIFF_CLAY_FREE_WATER:
    case SOIL_STIFF_CLAY_NO_WATER:
    case SOIL_STIFF_CLAY_INITIAL_K:
    case SOIL_SOFT_CLAY_USER_J:
    case SOIL_MOD_SOFT_CLAY_INITIAL_K:
      if (q_t < USER_VALUE_LIMIT) q_t = TIP_BEARING_FACTOR * c * area;
      break;
    case SOIL_SAND:
    case SOIL_SILT:
    case SOIL_API_SAND:
    case SOIL_ELASTIC_SUBGRADE:
    case 0: {
      // The generator leaves the user's value in these two; along the pile
      // they take the granular rule like the sands.
      if (!along_pile && (code == SOIL_ELASTIC_SUBGRADE || code == 0)) break;
      const double nq = BEARING_FACTOR_NQ(FRICTION_ANGLE_AT_DEPTH(x_t, status));
      if (status != STATUS_OK) return false;
      const double gamma = AVG_UNIT_WEIGHT_ABOVE(x_t, status);
      if (status != STATUS_OK) return false;
      if (q_t < USER_VALUE_LIMIT) {
        // The drilled value below 30 degrees is taken as a force, as the method has it.
        const double drilled = DRILLED_GRANULAR_TIP(phi, units);
        const double drilled_load = phi < DRILLED_SAND_PHI_LIMIT ? drilled : drilled * area;
        q_t = driven ? nq * gamma * embedded * area : drilled_load;
        if (code == SOIL_SILT && !along_pile) q_t += TIP_BEARING_FACTOR * c * area;
      }
      break;
    }
    case SOIL_USER_PY:
    case SOIL_VUGGY_LIMESTONE:
    case SOIL_WEAK_ROCK:
    case SOIL_LIQUEFIED_SAND:
      q_t = TIP_RESISTANCE_AT_DEPTH(x_t, status) * area;
      if (status != STATUS_OK) return false;
      if (q_t < USER_VALUE_LIMIT) q_t = TIP_BEARING_FACTOR * c * area;
      break;
    default:
      break;
  }

  const double d1 = m.diameter;
  if (driven && granular_tip(code)) {
    // The friction angle at the tip itself sets the exponent.
    const double phi_tip = BPHI_AT_DEPTH(x_t, status) * DEGREES_PER_RADIAN_TZ;
    if (status != STATUS_OK) return false;
    const double exponent = DRIVEN_GRANULAR_TIP_EXPONENT(phi_tip);
    const double reference = TIP_REFERENCE_MOVEMENT_FACTOR * d1;
    for (int i = 0; i < TZ_POINTS; ++i) {
      tip.w[i] = INCHES_IN_MODEL(DRIVEN_GRANULAR_W[i]);
      tip.q[i] = i == 0 ? 0.0 : q_t * std::pow(tip.w[i] / reference, exponent);
    }
  } else if (!driven && granular_tip(code)) {
    scaled_tip(tip, d1, q_t, DRILLED_TIP_W, DRILLED_GRANULAR_Q);
  } else if (!driven) {
    scaled_tip(tip, d1, code == 0 ? 0.0 : q_t, DRILLED_TIP_W, DRILLED_COHESIVE_Q);
  } else if (code == SOIL_USER_PY) {
    scaled_tip(tip, d1, q_t, DRIVEN_USER_W, DRIVEN_USER_Q);
  } else if (code == 0) {
    // A tip outside every layer bears nothing.
    scaled_tip(tip, d1, 0.0, DRILLED_TIP_W, DRILLED_COHESIVE_Q);
  } else {
    if (std::fabs(e50) < ZERO_LIMIT) {
      WRITE_CURVE_WARNING("THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
      status = STATUS_LS_CURVE_ZERO_E50;
      return false;
    }
    if (std::fabs(q_t) < ZERO_LIMIT) {
      WRITE_CURVE_WARNING("THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
      status = STATUS_LS_CURVE_ZERO_COHESION;
      return false;
    }
    const double failure = CLAY_TIP_FAILURE_FACTOR * tip_diameter * e50;  // movement at full tip load
    const double a = 0.5 * q_t / std::sqrt(2.0 * tip_diameter * e50);
    for (int i = 1; i < CLAY_TIP_RISING_POINTS; ++i) {
      tip.w[i] = i * failure / CLAY_TIP_FAILURE_FACTOR;
      tip.q[i] = a * std::sqrt(tip.w[i]);
    }
    tip.w[8] = failure;
    tip.q[8] = q_t;
    tip.w[9] = CLAY_TIP_LAST_FACTOR * failure;
    tip.q[9] = q_t;
  }
  return true;
}

double DRIVEN_GRANULAR_TIP_EXPONENT(double phi_deg) {
  if (phi_deg <= PHI_EXPONENT_LOW) return EXPONENT_LOW;
  if (phi_deg <= PHI_EXPONENT_HIGH) return EXPONENT_MID;
  return EXPONENT_HIGH;
}

double TIP_LOAD_AT(const TipCurve& tip, double w) {
  int i = 1;
  while (i < TZ_POINTS - 1 && tip.w[i] < w) ++i;
  const double span = tip.w[i] - tip.w[i - 1];
  if (span <= 0.0) return tip.q[i];
  return tip.q[i - 1] + (tip.q[i] - tip.q[i - 1]) * (w - tip.w[i - 1]) / span;
}

void GENERATE_AXIAL_LS_CURVE(int& q, int& side, int& /*k*/, int& p, int& status, int& n, double* loads,
                             double* movements) {
  CHECK_TRANSFER_INPUT(q, true, status);
  if (status != STATUS_OK) return;
  std::unique_ptr<TransferModel> model = SETUP_TRANSFER_MODEL(q, p, true);
  TransferModel& m = *model;

  layer_curves(m, side, status);
  if (status != STATUS_OK) return;
  BUILD_NODE_CURVES(m, status);
  if (status != STATUS_OK) return;
  if (side == SIDE_UPLIFT) write_node_curves(m);

  TipCurve tip;
  if (!BUILD_TIP_CURVE(m, side, false, tip, status)) {
    SET_GENERATION_CAUSE("THE TIP, IN " + SOIL_LAYER_PLACE(m.head_depth + m.vertical_length));
    return;
  }
  if (side == SIDE_COMPRESSION) write_tip_curve(m, tip);

  double tip_movements[LS_POINTS_PER_SIDE];
  for (int j = 0; j < FIXED_TIP_MOVEMENTS; ++j) tip_movements[j] = INCHES_IN_MODEL(TIP_MOVEMENTS[j]);
  tip_movements[LS_POINTS_PER_SIDE - 1] =
      std::max(INCHES_IN_MODEL(LAST_TIP_MOVEMENT_INCHES), TIP_REFERENCE_MOVEMENT_FACTOR * m.diameter);
  n = LS_POINTS_PER_SIDE;
  if (side == SIDE_UPLIFT) {
    fio::write(UNIT_AXIAL_CURVE_DATA, MARCH_HEADING_LAYOUT, q);
    fio::write_list(UNIT_AXIAL_CURVE_DATA, LS_POINTS_PER_SIDE, 1, LS_POINTS_PER_SIDE, m.n_inc, m.h);
  }

  const double sign = side == SIDE_UPLIFT ? -1.0 : 1.0;
  const MarchListing listing{UNIT_AXIAL_CURVE_DATA, sign};
  double tip_loads[LS_POINTS_PER_SIDE];
  for (int j = 0; j < LS_POINTS_PER_SIDE; ++j) {
    tip_loads[j] = TIP_LOAD_AT(tip, tip_movements[j]);
    fio::write(UNIT_AXIAL_CURVE_DATA, MARCH_COLUMNS_LAYOUT, UnitLabels.length(), UnitLabels.moment_force(),
               UnitLabels.length());
    MARCH_PILE(m, 1.0, tip_loads[j], tip_movements[j], listing, "LS CURVE", loads[j], movements[j], status);
    if (status != STATUS_OK) return;
  }

  fio::write(UNIT_AXIAL_CURVE_TEXT, POINTS_COLUMNS_LAYOUT, UnitLabels.moment_force(), UnitLabels.length(),
             UnitLabels.length(), UnitLabels.moment_force());
  for (int j = 0; j < LS_POINTS_PER_SIDE; ++j) {
    fio::write(UNIT_AXIAL_CURVE_TEXT, POINTS_ROW_LAYOUT, sign * loads[j], sign * movements[j], sign * tip_movements[j],
               sign * tip_loads[j]);
    const int column = LS_ORIGIN_COLUMN + (side == SIDE_UPLIFT ? -(j + 1) : j + 1);
    ComputedLsTable.top_movement(q, column) = sign * movements[j];
    ComputedLsTable.top_load(q, column) = sign * loads[j];
    ComputedLsTable.tip_movement(q, column) = sign * tip_movements[j];
    ComputedLsTable.tip_load(q, column) = sign * tip_loads[j];
  }
}

}  // namespace pilecap
