// Torque-rotation curve of a pile property set by the torsional form of the
// load-transfer march: the node t-z curves act on the circumferential
// movement r theta of the shaft at the radius r of the first section, the
// twist grows with the torsional rigidity GJ, and the tip carries no torque.
// Nine assumed tip twists (the tip movements over r) give the nine points of
// one side. Sections are 1-based; twists in radians.
#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

constexpr double LAST_TIP_MOVEMENT_INCHES = double(2.0f);
constexpr double UPLIFT_TIP_AREA = double(1e-4f);
constexpr double USER_VALUE_LIMIT = double(1e-10f);
constexpr double ZERO_LIMIT = double(1e-14f);
constexpr double MIN_TORSIONAL_RIGIDITY = 1e-6;
constexpr double TIP_BEARING_FACTOR = 9.0;
constexpr int INPUT_SECTION_CROSS_SECTIONS = 9;

constexpr const char* TQ_HEADING_LAYOUT = "(/,/,5X,\"T-q CURVES, PILE PROPERTY:\",I3,/)";
constexpr const char* TQ_COLUMNS_LAYOUT =
    "(10X,\"CURVE\",3X,\"N. POINTS\",5X,\"DEPTH\",11X,\"T Value\",9X,\"q Value\")";
//                                 (FT )          (LBS/IN )         (RAD)
constexpr const char* TQ_UNITS_LAYOUT = "(32X,\"(\",A,\")\",10X,\"(\",A,\"/\",A,\")\",9X,\"(RAD)\")";
constexpr const char* TQ_CURVE_LAYOUT = "(8X,I5,I11,E16.4)";
constexpr const char* TQ_POINT_LAYOUT = "(40X,E17.4,E16.4)";
constexpr const char* GJ_ERROR_LAYOUT = "(/,/,\"       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO\",/,/)";
constexpr const char* POINTS_COLUMNS_LAYOUT =
    "(/,/,/,8X,\"TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT\",5X,\"TIP  MOM.\",/,9X,A,\"-\",A,11X,\"RAD\",14X,"
    "\"RAD\",9X,A,\"-\",A)";
//        0.1235E+06      0.1235E-01      0.1000E-03      0.0000E+00
constexpr const char* POINTS_ROW_LAYOUT = "(E17.4,3E16.4)";

// The printed layer curves of side 1, torque per length and twist.
void layer_curves(const TransferModel& m, double radius, int& status) {
  auto layers = std::make_unique<TzCurveSet>();
  LAYER_CURVE_DEPTHS(m, *layers, 1);
  for (int k = 1; k <= layers->count; ++k) {
    BUILD_TZ_AT_DEPTH(m, *layers, k, layers->depth(k), layers->code(k), status);
    if (status != STATUS_OK) return;
    if (k == 1) PIN_CURVE_FRICTION(m, *layers, k);
  }
  const int unit = UNIT_AXIAL_CURVE_TEXT;
  fio::write(unit, TQ_HEADING_LAYOUT, m.q);
  fio::write(unit, TQ_COLUMNS_LAYOUT);
  fio::write(unit, TQ_UNITS_LAYOUT, UnitLabels.length_large(), UnitLabels.moment_force(), UnitLabels.length());
  for (int k = 1; k <= layers->count; ++k) {
    fio::write(unit, TQ_CURVE_LAYOUT, k, TZ_POINTS, FEET_FROM_INCHES(layers->depth(k)));
    for (int i = 1; i <= TZ_POINTS; ++i) {
      fio::write(unit, TQ_POINT_LAYOUT, layers->t(k, i) * radius, layers->z(k, i) / radius);
    }
  }
}

// Every section with a GJ not above the limit gets the error lines; the
// twist increments would divide by it. The first such section is named as
// the cause, with the line of its cross section's GJ.
bool torsional_rigidity_given(int q) {
  bool given = true;
  for (int s = 1; s <= PileProperty.n_sections(q); ++s) {
    if (PileSection.gj(q, s) <= MIN_TORSIONAL_RIGIDITY || PileSection.gj_bottom(q, s) <= MIN_TORSIONAL_RIGIDITY) {
      fio::write(UNIT_RESULTS_REPORT, GJ_ERROR_LAYOUT);
      fio::write(UNIT_RUN_LOG, GJ_ERROR_LAYOUT);
      if (given) {
        const int c = PileSection.cross_section(q, s);
        const int line = c >= 1 && c <= MAX_CROSS_SECTIONS ? InputLines.cross_section(c) : 0;
        SET_GENERATION_CAUSE("SECTION " + std::to_string(s) + ", CROSS SECTION " + std::to_string(c) + " AT " +
                             INPUT_PLACE(INPUT_SECTION_CROSS_SECTIONS, line));
      }
      given = false;
    }
  }
  return given;
}

// The soil queries of the tip and the check of a driven pile in a cohesive
// tip; the tip resistance takes no further part.
void check_tip(const TransferModel& m, int side, int& status) {
  double x_t = m.head_depth + m.vertical_length;
  const int code = TIP_LAYER_CODE(x_t);
  double e50 = E50_AT_DEPTH(x_t);
  double c = COHESION_AT_DEPTH(x_t, status);
  if (status != STATUS_OK) return;
  const bool granular_queries =
      (code >= SOIL_SAND && code <= SOIL_WEAK_ROCK) || code == SOIL_LIQUEFIED_SAND || code == SOIL_ELASTIC_SUBGRADE;
  if (granular_queries) {
    FRICTION_ANGLE_AT_DEPTH(x_t, status);
    if (status != STATUS_OK) return;
    AVG_UNIT_WEIGHT_ABOVE(x_t, status);
    if (status != STATUS_OK) return;
  }
  double user_tip = 0.0;
  if (code == SOIL_VUGGY_LIMESTONE || code == SOIL_WEAK_ROCK) {
    user_tip = TIP_RESISTANCE_AT_DEPTH(x_t, status);
    if (status != STATUS_OK) return;
  }
  const bool checked = code == SOIL_SOFT_CLAY || code == SOIL_STIFF_CLAY_FREE_WATER ||
                       code == SOIL_STIFF_CLAY_NO_WATER || code == SOIL_VUGGY_LIMESTONE ||
                       code == SOIL_STIFF_CLAY_INITIAL_K || code == SOIL_SOFT_CLAY_USER_J ||
                       code == SOIL_MOD_SOFT_CLAY_INITIAL_K;
  if (m.pile_type != PILE_DRIVEN || !checked) return;
  const double area =
      side == SIDE_UPLIFT ? UPLIFT_TIP_AREA : PileSection.area_bottom(m.q, PileProperty.n_sections(m.q));
  if (e50 <= 0.0) DEFAULT_E50_SOFT_CLAY(c, e50, RunOptions.units);
  double tip_load = TIP_BEARING_FACTOR * c * area;
  if (code == SOIL_VUGGY_LIMESTONE) {
    tip_load = user_tip * area;
    if (tip_load < USER_VALUE_LIMIT) tip_load = TIP_BEARING_FACTOR * c * area;
  }
  if (std::fabs(e50) < ZERO_LIMIT) {
    WRITE_CURVE_WARNING("THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE");
    status = STATUS_TORQUE_CURVE_ZERO_E50;
  } else if (std::fabs(tip_load) < ZERO_LIMIT) {
    WRITE_CURVE_WARNING("THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE");
    status = STATUS_TORQUE_CURVE_ZERO_COHESION;
  }
}

}  // namespace

void GENERATE_TORSION_TR_CURVE(int& q, int& side, int& /*k*/, int& p, int& status, int& n, double* torques,
                               double* rotations) {
  CHECK_TRANSFER_INPUT(q, false, status);
  if (status != STATUS_OK) return;
  std::unique_ptr<TransferModel> model = SETUP_TRANSFER_MODEL(q, p, false);
  TransferModel& m = *model;
  const double radius = m.diameter / 2.0;

  if (side == SIDE_UPLIFT) {
    layer_curves(m, radius, status);
    if (status != STATUS_OK) return;
  }
  BUILD_NODE_CURVES(m, status);
  if (status != STATUS_OK) return;
  if (m.head_depth >= m.ground_line && m.nodes.code(1) != 0) PIN_CURVE_FRICTION(m, m.nodes, 1);

  if (!torsional_rigidity_given(q)) {
    status = STATUS_ZERO_TORSIONAL_RIGIDITY;
    return;
  }
  check_tip(m, side, status);
  if (status != STATUS_OK) {
    SET_GENERATION_CAUSE("THE TIP, IN " + SOIL_LAYER_PLACE(m.head_depth + m.vertical_length));
    return;
  }

  n = LS_POINTS_PER_SIDE;
  double tip_twists[LS_POINTS_PER_SIDE];
  for (int i = 0; i < FIXED_TIP_MOVEMENTS; ++i) tip_twists[i] = INCHES_IN_MODEL(TIP_MOVEMENTS[i]) / radius;
  tip_twists[LS_POINTS_PER_SIDE - 1] = INCHES_IN_MODEL(LAST_TIP_MOVEMENT_INCHES) / radius;
  for (int i = 0; i < LS_POINTS_PER_SIDE; ++i) {
    MARCH_PILE(m, radius, 0.0, tip_twists[i], MarchListing{}, "TR CURVE", torques[i], rotations[i], status);
    if (status != STATUS_OK) return;
  }

  const double sign = side == SIDE_UPLIFT ? -1.0 : 1.0;
  const std::string_view force = UnitLabels.moment_force(), length = UnitLabels.length();
  fio::write(UNIT_AXIAL_CURVE_TEXT, POINTS_COLUMNS_LAYOUT, force, length, length, force);
  for (int i = 0; i < LS_POINTS_PER_SIDE; ++i) {
    fio::write(UNIT_AXIAL_CURVE_TEXT, POINTS_ROW_LAYOUT, sign * torques[i], sign * rotations[i], sign * tip_twists[i],
               sign * 0.0);
  }
}

}  // namespace pilecap
