// Default soil parameters where the input gives none: the strain at 50 %
// stress of soft and stiff clay and the clay p-y modulus by cohesion band,
// and the sand p-y modulus from the friction angle above or below the water
// table (a linear rise, a fitted polynomial up to 45 degrees, then constant).
// Cohesion in psi (English) or kPa (SI); moduli in lb/in^3 or kN/m^3; the
// friction angle comes in radians. Every base and value is a single-precision
// literal widened to double.
#include <numbers>

#include "model/conversions.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

// Cohesion bases of the bands.
constexpr double SOFT_CLAY_BASE_ENGLISH = double(3.4722223f);
constexpr double SOFT_CLAY_BASE_SI = double(23.94013f);
constexpr double STIFF_CLAY_BASE_ENGLISH = double(6.9444447f);
constexpr double STIFF_CLAY_BASE_SI = double(47.88026f);

// Band upper limits in multiples of the base. Soft clay: below s, 2s, 8s,
// beyond (the 2s-4s and 4s-8s bands share one value). Stiff clay and clay
// k: below s, 2s, 4s, beyond.
constexpr int BANDS = 4;
constexpr double SOFT_CLAY_BAND_LIMITS[BANDS - 1] = {1.0, 2.0, 8.0};
constexpr double STIFF_CLAY_BAND_LIMITS[BANDS - 1] = {1.0, 2.0, 4.0};

constexpr double SOFT_CLAY_E50[BANDS] = {double(0.02f), double(0.01f), double(0.005f), double(0.004f)};
constexpr double SOFT_CLAY_E50_OTHER_UNITS = double(0.001f);
constexpr double STIFF_CLAY_E50[BANDS] = {double(0.011f), double(0.007f), double(0.005f), double(0.004f)};

constexpr double CLAY_K_STATIC_ENGLISH[BANDS] = {250.0, 500.0, 1000.0, 2000.0};
constexpr double CLAY_K_CYCLIC_ENGLISH[BANDS] = {100.0, 200.0, 400.0, 800.0};
constexpr double CLAY_K_STATIC_SI[BANDS] = {double(67861.78125f), double(135723.5625f), double(271447.125f),
                                            double(542894.25f)};
constexpr double CLAY_K_CYCLIC_SI[BANDS] = {double(27144.7109375f), double(54289.421875f), double(108578.84375f),
                                            double(217157.6875f)};

// Sand: water table from the effective unit weight, and the k rule over
// the friction angle in degrees.
constexpr double DEGREES_PER_HALF_TURN = 180.0;
constexpr double SAND_BELOW_WATER_GAMMA_ENGLISH = double(0.045f);  // lb/in^3
constexpr double SAND_BELOW_WATER_GAMMA_SI = double(12.225f);      // kN/m^3
constexpr double SAND_PHI_LINEAR_END = double(27.6423f);
constexpr double SAND_PHI_POLYNOMIAL_END = 45.0;
constexpr double SAND_K_AT_LINEAR_END_BELOW = double(10.206726f);
constexpr double SAND_K_AT_LINEAR_END_ABOVE = double(10.206787f);
// Below water: ((B3 phi - B2) phi + B1) phi - B0.
constexpr double SAND_BELOW_B3 = double(0.0166f);
constexpr double SAND_BELOW_B2 = double(1.55262f);
constexpr double SAND_BELOW_B1 = double(58.42955f);
constexpr double SAND_BELOW_B0 = double(769.18353f);
// Above water: (A2 phi - A1) phi - A0.
constexpr double SAND_ABOVE_A2 = double(0.4168f);
constexpr double SAND_ABOVE_A1 = double(8.1254f);
constexpr double SAND_ABOVE_A0 = double(83.664f);
constexpr double SAND_K_DEEP_BELOW_ENGLISH = double(228.76556f);
constexpr double SAND_K_DEEP_ABOVE_ENGLISH = double(394.71298f);
constexpr double SAND_K_DEEP_BELOW_SI = double(62097.758f);
constexpr double SAND_K_DEEP_ABOVE_SI = double(107143.71f);
constexpr double SAND_K_SI_FACTOR = double(271.44714f);  // lb/in^3 to kN/m^3

// The band of cohesion c against base s and the band limits; -1 when the
// unit system has no base.
int cohesion_band(double c, int units, double base_english, double base_si, const double (&limits)[BANDS - 1]) {
  double base = 0.0;
  if (units == UNITS_ENGLISH) base = base_english;
  if (units == UNITS_SI) base = base_si;
  if (base == 0.0) return -1;
  int band = 0;
  while (band < BANDS - 1 && c >= limits[band] * base) ++band;
  return band;
}

}  // namespace

void DEFAULT_E50_SOFT_CLAY(double& c, double& e50, int& units) {
  const int band = cohesion_band(c, units, SOFT_CLAY_BASE_ENGLISH, SOFT_CLAY_BASE_SI, SOFT_CLAY_BAND_LIMITS);
  e50 = band < 0 ? SOFT_CLAY_E50_OTHER_UNITS : SOFT_CLAY_E50[band];
}

void DEFAULT_E50_STIFF_CLAY(double& c, double& e50, int& units) {
  const int band = cohesion_band(c, units, STIFF_CLAY_BASE_ENGLISH, STIFF_CLAY_BASE_SI, STIFF_CLAY_BAND_LIMITS);
  if (band >= 0) e50 = STIFF_CLAY_E50[band];
}

void DEFAULT_K_CLAY(double& c, double& k, int& units, int& kind) {
  if (kind != LOADING_STATIC && kind != LOADING_CYCLIC) return;
  const int band = cohesion_band(c, units, STIFF_CLAY_BASE_ENGLISH, STIFF_CLAY_BASE_SI, STIFF_CLAY_BAND_LIMITS);
  if (band < 0) return;
  const bool si = units == UNITS_SI;
  if (kind == LOADING_STATIC) {
    k = si ? CLAY_K_STATIC_SI[band] : CLAY_K_STATIC_ENGLISH[band];
  } else {
    k = si ? CLAY_K_CYCLIC_SI[band] : CLAY_K_CYCLIC_ENGLISH[band];
  }
}

void DEFAULT_E50_BY_SOIL(double& c, double& e50, int& code, int& units) {
  switch (code) {
    case SOIL_SOFT_CLAY:
    case SOIL_SILT:
    case SOIL_SOFT_CLAY_USER_J:
    case SOIL_MOD_SOFT_CLAY_INITIAL_K:
      DEFAULT_E50_SOFT_CLAY(c, e50, units);
      break;
    case SOIL_STIFF_CLAY_FREE_WATER:
    case SOIL_STIFF_CLAY_NO_WATER:
    case SOIL_STIFF_CLAY_INITIAL_K:
      DEFAULT_E50_STIFF_CLAY(c, e50, units);
      break;
    default:
      break;
  }
}

void DEFAULT_E50_FOR_ECHO(double& c, double& e50_in, double& e50_out, int& units, int& code, int& estimated) {
  e50_out = e50_in;
  estimated = 0;
  if (e50_in > 0.0) return;
  estimated = 1;
  DEFAULT_E50_BY_SOIL(c, e50_out, code, units);
}

void DEFAULT_K_SAND(double& phi, double& gamma, double& k, int& units) {
  if (units != UNITS_ENGLISH && units != UNITS_SI) return;
  const bool si = units == UNITS_SI;
  const double degrees = phi * DEGREES_PER_HALF_TURN / std::numbers::pi;
  const bool below_water = gamma <= (si ? SAND_BELOW_WATER_GAMMA_SI : SAND_BELOW_WATER_GAMMA_ENGLISH);
  if (degrees > SAND_PHI_POLYNOMIAL_END) {
    if (si) {
      k = below_water ? SAND_K_DEEP_BELOW_SI : SAND_K_DEEP_ABOVE_SI;
    } else {
      k = below_water ? SAND_K_DEEP_BELOW_ENGLISH : SAND_K_DEEP_ABOVE_ENGLISH;
    }
    return;
  }
  double english = 0.0;
  if (degrees < SAND_PHI_LINEAR_END) {
    const double at_end = below_water ? SAND_K_AT_LINEAR_END_BELOW : SAND_K_AT_LINEAR_END_ABOVE;
    english = at_end * degrees / SAND_PHI_LINEAR_END;
  } else if (below_water) {
    english = ((SAND_BELOW_B3 * degrees - SAND_BELOW_B2) * degrees + SAND_BELOW_B1) * degrees - SAND_BELOW_B0;
  } else {
    english = (SAND_ABOVE_A2 * degrees - SAND_ABOVE_A1) * degrees - SAND_ABOVE_A0;
  }
  k = si ? english * SAND_K_SI_FACTOR : english;
}

void DEFAULT_K_FOR_ECHO(double& c, double& phi, double& gamma, double& k_in, double& k_static, double& k_cyclic,
                        int& units, int& code, int& estimated, int& two_values) {
  k_static = k_in;
  k_cyclic = k_in;
  estimated = 0;
  two_values = 0;
  if (k_in > 0.0) return;
  estimated = 1;
  int kind_static = LOADING_STATIC;
  int kind_cyclic = LOADING_CYCLIC;
  switch (code) {
    case SOIL_STIFF_CLAY_FREE_WATER:
    case SOIL_STIFF_CLAY_INITIAL_K:
    case SOIL_MOD_SOFT_CLAY_INITIAL_K:
      DEFAULT_K_CLAY(c, k_static, units, kind_static);
      DEFAULT_K_CLAY(c, k_cyclic, units, kind_cyclic);
      two_values = 1;
      break;
    case SOIL_SAND:
    case SOIL_API_SAND:
      DEFAULT_K_SAND(phi, gamma, k_static, units);
      break;
    case SOIL_SILT:
      DEFAULT_K_SILT(gamma, c, phi, k_static, units, kind_static);
      DEFAULT_K_SILT(gamma, c, phi, k_cyclic, units, kind_cyclic);
      two_values = 1;
      break;
    default:
      break;
  }
}

}  // namespace pilecap
