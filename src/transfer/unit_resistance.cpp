// Ultimate unit side friction and unit tip resistance of a pile by soil code
// and pile type: the adhesion factor of driven piles in clay (alpha from the
// strength ratio c / overburden), the earth-pressure friction of driven
// piles in sand, the beta method of drilled shafts in sand, a fraction of
// the strength in rock, the bearing factor Nq of driven tips in sand and the
// fixed unit resistances of drilled tips in sand. Depths are in the model
// length unit below a reference surface; stresses in psi or kPa.
#include <algorithm>
#include <cmath>

#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer.hpp"

namespace pilecap {

namespace {

constexpr double USER_VALUE_LIMIT = double(1e-10f);  // a user value at least this large is given
constexpr double DEPTH_FLOOR = double(1e-10f);       // a smaller depth counts as one length unit
constexpr double PSI_FLOOR = double(1e-10f);
constexpr double ALPHA_FULL_LIMIT_PSI = double(3.47f);
constexpr double ALPHA_FULL_LIMIT_KPA = 24.0;
constexpr double SAND_K_TAN = double(0.8f);            // lateral coefficient times the friction factor
constexpr double SAND_PHI_REDUCTION = double(0.087f);  // radians off the friction angle
constexpr double DRILLED_CLAY_FACTOR = double(0.55f);
constexpr double ROCK_FACTOR = double(0.1f);
constexpr double METRES_PER_FOOT = double(0.3048f);
constexpr double INCHES_PER_FOOT = 12.0;
constexpr double MIN_DEPTH_FEET = double(1e-7f);
constexpr double BETA_TOP = 1.5;
constexpr double BETA_SLOPE = double(0.135f);
constexpr double BETA_MAX = double(1.2f);
constexpr double BETA_MIN = 0.25;
constexpr double TIP_BEARING_FACTOR = 9.0;  // of the cohesion
constexpr double T0_COHESION = double(0.1f);
constexpr double T0_PHI = double(1e-4f);
constexpr double DEGREES_PER_RADIAN = double(57.296f);
constexpr double PHI_36_RAD = double(0.628f);
constexpr double DRILLED_TIP_LOW = double(0.1f);
constexpr double DRILLED_TIP_MID_PSI = double(222.2f);
constexpr double DRILLED_TIP_HIGH_PSI = double(555.56f);
constexpr double DRILLED_TIP_MID_KPA = 1530.0;
constexpr double DRILLED_TIP_HIGH_KPA = 3830.0;

bool cohesive_tip_code(int code) {
  return code == SOIL_SOFT_CLAY || code == SOIL_STIFF_CLAY_FREE_WATER || code == SOIL_STIFF_CLAY_NO_WATER ||
         code == SOIL_STIFF_CLAY_INITIAL_K || code == SOIL_SOFT_CLAY_USER_J || code == SOIL_MOD_SOFT_CLAY_INITIAL_K;
}

}  // namespace

double ALPHA_FRICTION(double c, double gamma, double z, int units) {
  const double overburden = gamma * z;
  double psi = PSI_FLOOR;  // the strength ratio c / overburden
  if (overburden > 0.0) {
    psi = std::max(PSI_FLOOR, c / overburden);
  } else if (c > 0.0) {
    psi = HUGE_VAL;
  }
  double alpha = psi > 1.0 ? 0.5 * std::pow(psi, -0.25) : 0.5 * std::pow(psi, -0.5);
  const double full_limit = units == UNITS_SI ? ALPHA_FULL_LIMIT_KPA : ALPHA_FULL_LIMIT_PSI;
  if (alpha < 0.5 && c < full_limit) alpha = 1.0;
  return alpha * c;
}

double SAND_FRICTION(double gamma, double z, double phi) {
  return SAND_K_TAN * gamma * z * std::tan(phi - SAND_PHI_REDUCTION);
}

double BATTERED_SAND_FRICTION(double gamma, double z, double phi, double batter) {
  return gamma * z * std::tan(phi - SAND_PHI_REDUCTION) * (SAND_K_TAN * std::cos(batter) + std::sin(batter));
}

double DEPTH_IN_FEET(double z, int units) {
  const double feet = units == UNITS_SI ? z / METRES_PER_FOOT : z / INCHES_PER_FOOT;
  return std::max(feet, MIN_DEPTH_FEET);
}

double BETA_FRICTION(double gamma, double z, double z_ft) {
  double beta = BETA_TOP - BETA_SLOPE * std::sqrt(z_ft);
  beta = std::min(beta, BETA_MAX);
  beta = std::max(beta, BETA_MIN);
  return beta * gamma * z;
}

double BEARING_FACTOR_NQ(double phi) {
  const double deg = DEGREES_PER_RADIAN * phi;
  if (deg <= 20.0) return 8.0;
  if (deg <= 25.0) return 8.0 + 4.0 * (deg - 20.0) / 5.0;
  if (deg <= 30.0) return 12.0 + 8.0 * (deg - 25.0) / 5.0;
  if (deg <= 35.0) return 20.0 + 20.0 * (deg - 30.0) / 5.0;
  if (deg <= 40.0) return 40.0 + 10.0 * (deg - 35.0) / 5.0;
  return 50.0;
}

double DRILLED_GRANULAR_TIP(double phi, int units) {
  if (phi < DRILLED_SAND_PHI_LIMIT) return DRILLED_TIP_LOW;
  if (phi < PHI_36_RAD) return units == UNITS_SI ? DRILLED_TIP_MID_KPA : DRILLED_TIP_MID_PSI;
  return units == UNITS_SI ? DRILLED_TIP_HIGH_KPA : DRILLED_TIP_HIGH_PSI;
}

double SIDE_FRICTION_BY_RULES(int code, int pile_type, double c, double gamma, double z, double z_ft,
                              double sand_friction, double f_user, int units) {
  const bool driven = pile_type == PILE_DRIVEN;
  if (!driven && pile_type != PILE_DRILLED) return 0.0;
  switch (code) {
    case SOIL_SOFT_CLAY:
    case SOIL_STIFF_CLAY_FREE_WATER:
    case SOIL_STIFF_CLAY_NO_WATER:
    case SOIL_STIFF_CLAY_INITIAL_K:
    case SOIL_LIQUEFIED_SAND:
    case SOIL_SOFT_CLAY_USER_J:
    case SOIL_MOD_SOFT_CLAY_INITIAL_K:
      return driven ? ALPHA_FRICTION(c, gamma, z, units) : DRILLED_CLAY_FACTOR * c;
    case SOIL_VUGGY_LIMESTONE:
    case SOIL_WEAK_ROCK:
      return ROCK_FACTOR * c;
    case SOIL_SAND:
    case SOIL_API_SAND:
      return driven ? sand_friction : BETA_FRICTION(gamma, z, z_ft);
    case SOIL_SILT:
      return driven ? sand_friction + ALPHA_FRICTION(c, gamma, z, units)
                    : BETA_FRICTION(gamma, z, z_ft) + DRILLED_CLAY_FACTOR * c;
    case SOIL_USER_PY:
    case SOIL_ELASTIC_SUBGRADE:
      return f_user;
    default:
      return 0.0;
  }
}

void ULTIMATE_UNIT_RESISTANCE(int& code, double& x, int& side_flag, double& f_driven, double& f_drilled, int& tip_flag,
                              double& q_driven, double& q_drilled, int& status) {
  const int units = RunOptions.units;
  const double f_user = SKIN_FRICTION_AT_DEPTH(x, status);
  if (status != STATUS_OK) return;
  f_driven = f_drilled = 0.0;
  double z = x - SoilProfile.layer_top(1);  // depth below the top of layer 1
  double c = 0.0, phi = 0.0;
  bool have_strength = false;
  if (f_user >= USER_VALUE_LIMIT) {
    side_flag = 0;
  } else {
    side_flag = 1;
    if (z < DEPTH_FLOOR) z = 1.0;
    const double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != STATUS_OK) return;
    phi = FRICTION_ANGLE_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    c = COHESION_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    have_strength = true;
    const double z_ft = DEPTH_IN_FEET(z, units);
    const double sand = SAND_FRICTION(gamma, z, phi);
    f_driven = SIDE_FRICTION_BY_RULES(code, PILE_DRIVEN, c, gamma, z, z_ft, sand, f_user, units);
    f_drilled = SIDE_FRICTION_BY_RULES(code, PILE_DRILLED, c, gamma, z, z_ft, sand, f_user, units);
  }

  tip_flag = 0;
  q_driven = q_drilled = 0.0;
  const double q_user = TIP_RESISTANCE_AT_DEPTH(x, status);
  if (status != STATUS_OK || q_user >= USER_VALUE_LIMIT) return;
  if (!have_strength) {
    c = COHESION_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    phi = FRICTION_ANGLE_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
  }
  const bool treated_cohesive = c > T0_COHESION && phi < T0_PHI;
  if (cohesive_tip_code(code) || treated_cohesive) {
    q_driven = q_drilled = TIP_BEARING_FACTOR * c;
  } else if (code == SOIL_SAND || code == SOIL_SILT || code == SOIL_API_SAND) {
    phi = FRICTION_ANGLE_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    const double nq = BEARING_FACTOR_NQ(phi);
    const double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != STATUS_OK) return;
    q_driven = nq * gamma * z;
    q_drilled = DRILLED_GRANULAR_TIP(phi, units);
    if (code == SOIL_SILT) {
      q_driven += TIP_BEARING_FACTOR * c;
      q_drilled += TIP_BEARING_FACTOR * c;
    }
  } else if (code == SOIL_USER_PY || code == SOIL_VUGGY_LIMESTONE || code == SOIL_WEAK_ROCK ||
             code == SOIL_LIQUEFIED_SAND) {
    q_driven = q_drilled = TIP_BEARING_FACTOR * c;
  }
  tip_flag = 1;
}

}  // namespace pilecap
