// Soil properties at a vertical coordinate x, read from the piecewise-linear
// curves of SoilProfile (two points per layer, 1-based, in layer order). The
// rules differ only at the points: a step of two points at one depth is
// resolved by the mean of its two values, by the lower layer's value, or by
// the segment below it; outside the profile a curve extends its end segment
// or reports a depth beyond it. Averages from the ground integrate a curve by
// trapezoids. Everything here only reads shared tables.
#include <cmath>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

constexpr double BEYOND_CURVE_TOLERANCE = double(1e-8f);  // reach of the last segment past the last point
constexpr double ABSENT_VALUE = 1e-20;                    // a value at a step below this is absent
constexpr double FRICTION_ANGLE_REACH = 1e8;              // reach of the friction angle past the last point
constexpr double NO_REACH = 0.0;
constexpr double SHORT_SEGMENT = 1e-6;  // a segment of an average shorter than this ends the sum

// The default subgrade modulus from the cohesion (psi), by band.
constexpr double K_GIVEN_MIN = double(1e-4f);
constexpr double KPA_PER_PSI = double(6.895f);
constexpr double K_SI_FACTOR = 271.5;  // lb/in^3 to kN/m^3
constexpr int K_BANDS = 5;
constexpr double K_BAND_COHESION[K_BANDS - 1] = {double(3.47f), double(6.94f), double(13.9f), double(27.8f)};
constexpr double K_BAND_VALUE[K_BANDS] = {50.0, 100.0, 500.0, 1000.0, 2000.0};

// Stiff-clay coefficients over z/b.
constexpr int AS_POINTS = 6;
constexpr int AC_POINTS = 4;
constexpr Array1<double, AS_POINTS> AS_ABSCISSAE = {{0.0, 1.0, 2.0, 3.0, 4.0, 5.0}};
constexpr Array1<double, AS_POINTS> AS_VALUES = {
    {double(0.223f), double(0.46f), double(0.55f), double(0.59f), double(0.6f), double(0.6f)}};
constexpr Array1<double, AC_POINTS> AC_ABSCISSAE = {{0.0, 1.0, 2.0, 3.0}};
constexpr Array1<double, AC_POINTS> AC_VALUES = {{double(0.2f), double(0.29f), double(0.3f), double(0.3f)}};

// Warnings, each written with x to the results report and the run log.
//      THE VALUE OF X = 0.120E+04IS BEYOND THE EXTENT OF
constexpr const char* UNIT_WEIGHT_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\"IS BEYOND THE EXTENT OF\",/,5X,"
    "\"THE INPUT CURVE FOR UNIT WEIGHT\")";
//      THE VALUE OF X = 0.120E+04 IS BEYOND THE EXTENT OF
constexpr const char* COHESION_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\" IS BEYOND THE EXTENT OF\",/,5X,"
    "\"THE INPUT FOR COHESION\")";
//      THE VALUE OF X = 0.120E+04IS BEYOND THE EXTENT OF THE/     INPUT FOR AVERAGE COHESION
constexpr const char* AVERAGE_COHESION_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\"IS BEYOND THE EXTENT OF THE/\",5X,"
    "\"INPUT FOR AVERAGE COHESION\")";
//      THE INPUT PHI CURVE
constexpr const char* FRICTION_ANGLE_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\" IS BEYOND THE EXTENT OF\",/,5X,"
    "\"THE INPUT PHI CURVE\")";
//      THE INPUT MAXIMUM SKIN FRICTION
constexpr const char* SKIN_FRICTION_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\" IS BEYOND THE EXTENT OF\",/,5X,"
    "\"THE INPUT MAXIMUM SKIN FRICTION\")";
//      THE VALUE OF X = 0.120E+04IS BEYOND THE EXTENT OF/     THE INPUT MAXIMUM TIP RESISTANCE
constexpr const char* TIP_RESISTANCE_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\"IS BEYOND THE EXTENT OF/\",5X,"
    "\"THE INPUT MAXIMUM TIP RESISTANCE\")";
//      THE VALUE OF X = 0.120E+04IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE, BPHI
constexpr const char* BPHI_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"THE VALUE OF X =\",E10.3,\"IS BEYOND THE EXTENT OF/\",5X,"
    "\"THE INPUT STRENGTH CURVE, BPHI\")";

bool profile_empty() { return SoilProfile.num_points < 2; }

double& depth_at(int j) { return SoilProfile.depth(j); }

// Writes a warning block. Each write holds its unit for the whole block, so
// blocks of two threads never mix; their order between threads is the order
// in which the threads get there.
void warn(const char* layout, double x) {
  fio::write(UNIT_RESULTS_REPORT, layout, x);
  fio::write(UNIT_RUN_LOG, layout, x);
}

// The cohesion warning, framed on the run log by x with the reach of the
// curve before it and the point count with the last depth after it.
void warn_beyond_cohesion(double x) {
  const int n = SoilProfile.num_points;
  fio::write_list(UNIT_RUN_LOG, x, depth_at(n) + BEYOND_CURVE_TOLERANCE);
  warn(COHESION_WARNING, x);
  fio::write_list(UNIT_RUN_LOG, n, depth_at(n));
}

// The end point of the segment that holds x: the first point from 2 at
// depth x or deeper (strict: deeper than x). Below the last point the last
// segment serves for reach further; deeper still, beyond is set and 0
// returned.
int segment_end(double x, bool strict, double reach, bool& beyond) {
  beyond = false;
  const int n = SoilProfile.num_points;
  for (int i = 2; i <= n; ++i) {
    if (strict ? depth_at(i) > x : depth_at(i) >= x) return i;
  }
  if (x > depth_at(n) + reach) {
    beyond = true;
    return 0;
  }
  return n;
}

// Linear in the segment from point i-1 to point i, extended beyond it. A
// segment of no length (a layer of no thickness) has no slope to extend.
double on_segment(const SoilColumn& v, int i, double x) {
  const double length = depth_at(i) - depth_at(i - 1);
  if (length == 0.0) return v(i - 1);
  return v(i - 1) + (v(i) - v(i - 1)) * (x - depth_at(i - 1)) / length;
}

enum class StepRule { Mean, Lower };

// The step-mean and step-lower rules; reach and beyond as for segment_end.
double step_value(const SoilColumn& v, double x, StepRule rule, double reach, bool& beyond) {
  const int i = segment_end(x, false, reach, beyond);
  if (beyond) return 0.0;
  const int n = SoilProfile.num_points;
  if (x == depth_at(n)) return v(i);
  if (x != depth_at(i)) return on_segment(v, i, x);
  if (depth_at(i + 1) != depth_at(i)) return v(i);
  const double upper = v(i);      // the upper layer's bottom value
  const double lower = v(i + 1);  // the lower layer's top value
  if (rule == StepRule::Lower) return lower < ABSENT_VALUE ? upper : lower;
  if (lower < ABSENT_VALUE) return upper;
  if (upper < ABSENT_VALUE) return lower;
  return (upper + lower) / 2;
}

// The segment rule: the segment that holds x from above, so a boundary
// gives the lower layer's top value; a step segment gives its mean.
double segment_value(const SoilColumn& v, double x, double reach, bool& beyond) {
  const int i = segment_end(x, true, reach, beyond);
  if (beyond) return 0.0;
  const double length = depth_at(i) - depth_at(i - 1);
  if (length < RunConstants.depth_tolerance) return (v(i - 1) + v(i)) / 2;
  return v(i - 1) + (v(i) - v(i - 1)) * (x - depth_at(i - 1)) / length;
}

// Trapezoid integral of the curve (u, w) of m points from u(1) down to x,
// divided by d. past_end: x is at or below the last point, so the sum
// covers the whole curve.
double trapezoid_mean(const SoilColumn& u, const SoilColumn& w, int m, double x, double d, bool& past_end) {
  past_end = false;
  double sum = 0.0;
  for (int j = 2; j <= m; ++j) {
    const double length = u(j) - u(j - 1);
    if (u(j) > x) {
      if (length < SHORT_SEGMENT) return sum;
      const double t = x - u(j - 1);  // depth of x into the segment
      return sum + (t / d) * (w(j - 1) + t * (w(j) - w(j - 1)) / (2 * length));
    }
    sum += (w(j - 1) + w(j)) * length / (2 * d);
  }
  past_end = true;
  return sum;
}

// A query of the segment rule with its warning and status beyond the curve.
double segment_query(const SoilColumn& v, double x, double reach, const char* warning, int code, int& status) {
  if (profile_empty()) return 0.0;
  bool beyond = false;
  const double value = segment_value(v, x, reach, beyond);
  if (!beyond) return value;
  warn(warning, x);
  status = code;
  return 0.0;
}

// A step-mean query that reads 0 below the last point.
double step_mean_query(const SoilColumn& v, double x) {
  if (profile_empty()) return 0.0;
  bool beyond = false;
  return step_value(v, x, StepRule::Mean, NO_REACH, beyond);
}

// z = depth below the pile's ground line in diameters b.
double depth_in_diameters(int pile, double x, double b) {
  if (b == 0.0) return 0.0;
  return (x - PileSoilData.ground_line(pile)) / b;
}

// Linear in a table over ascending abscissae, end segments extended.
template <int N>
double table_value(const Array1<double, N>& values, const Array1<double, N>& abscissae, double z) {
  int k = N;
  for (int i = 2; i <= N; ++i) {
    if (abscissae(i) > z) {
      k = i;
      break;
    }
  }
  return values(k - 1) + (values(k) - values(k - 1)) * (z - abscissae(k - 1)) / (abscissae(k) - abscissae(k - 1));
}

}  // namespace

int SOIL_CODE_AT_DEPTH(double& x) {
  const SoilProfileRecord& s = SoilProfile;
  if (s.num_layers < 1) return 0;
  if (x < s.layer_top(1) || x > s.layer_bottom(s.num_layers)) return 0;
  for (int l = 1; l <= s.num_layers; ++l) {
    if (s.layer_top(l) <= x && x <= s.layer_bottom(l)) return s.layer_code(l);
  }
  return 0;
}

double AVG_UNIT_WEIGHT_ABOVE(double& x, int& status) {
  const SoilProfileRecord& s = SoilProfile;
  const int m = s.num_uw_points;
  if (m < 2) return 0.0;
  const double ground = s.layer_top(1);
  if (x < ground) return 0.0;
  const double d = x - ground;
  if (d < RunConstants.depth_tolerance) {
    for (int j = 1; j <= m; ++j) {
      if (s.unit_weight(j) > 0.0) return s.unit_weight(j);
    }
    return s.unit_weight(m);
  }
  bool past_end = false;
  const double mean = trapezoid_mean(s.uw_depth, s.unit_weight, m, x, d, past_end);
  if (!past_end || x <= s.uw_depth(m) + BEYOND_CURVE_TOLERANCE) return mean;
  warn(UNIT_WEIGHT_WARNING, x);
  status = STATUS_BEYOND_UNIT_WEIGHT_CURVE;
  return 0.0;
}

double SUBGRADE_K_AT_DEPTH(double& x) { return step_mean_query(SoilProfile.subgrade_k, x); }
double ROCK_MODULUS_AT_DEPTH(double& x) { return step_mean_query(SoilProfile.rock_modulus, x); }
double E50_AT_DEPTH(double& x) { return step_mean_query(SoilProfile.e50, x); }
double J_OR_RQD_AT_DEPTH(double& x) { return step_mean_query(SoilProfile.j_factor, x); }

double SUBGRADE_K_OR_DEFAULT(double& x) {
  if (profile_empty() || x < depth_at(1)) return 0.0;
  const double given = SUBGRADE_K_AT_DEPTH(x);
  if (std::fabs(given) > K_GIVEN_MIN) return given;
  bool beyond = false;
  double c = step_value(SoilProfile.cohesion, x, StepRule::Lower, BEYOND_CURVE_TOLERANCE, beyond);
  if (beyond) {
    warn_beyond_cohesion(x);
    c = 0.0;
  }
  const bool si = RunOptions.units == UNITS_SI;
  if (si) c /= KPA_PER_PSI;
  int band = 0;
  while (band < K_BANDS - 1 && c > K_BAND_COHESION[band]) ++band;
  return si ? K_BAND_VALUE[band] * K_SI_FACTOR : K_BAND_VALUE[band];
}

double COHESION_AT_DEPTH(double& x, int& status) {
  if (profile_empty()) return 0.0;
  bool beyond = false;
  const double c = step_value(SoilProfile.cohesion, x, StepRule::Lower, BEYOND_CURVE_TOLERANCE, beyond);
  if (!beyond) return c;
  warn_beyond_cohesion(x);
  status = STATUS_BEYOND_COHESION_CURVE;
  return 0.0;
}

double AVG_COHESION_ABOVE(double& x, int& status) {
  const SoilProfileRecord& s = SoilProfile;
  if (profile_empty()) return 0.0;
  const double ground = s.layer_top(1);
  if (x < ground) return 0.0;
  const double d = x - ground;
  if (d < RunConstants.depth_tolerance) return COHESION_AT_DEPTH(x, status);
  const int n = s.num_points;
  bool past_end = false;
  const double mean = trapezoid_mean(s.depth, s.cohesion, n, x, d, past_end);
  if (!past_end || x <= s.depth(n)) return mean;
  // Below the profile the last cohesion is taken to hold on.
  fio::write(UNIT_RESULTS_REPORT, AVERAGE_COHESION_WARNING, x);
  return mean + s.cohesion(n) * (x - s.depth(n)) / d;
}

double FRICTION_ANGLE_AT_DEPTH(double& x, int& status) {
  if (profile_empty()) return 0.0;
  bool beyond = false;
  const double phi = step_value(SoilProfile.friction_angle, x, StepRule::Mean, FRICTION_ANGLE_REACH, beyond);
  if (!beyond) return phi;
  warn(FRICTION_ANGLE_WARNING, x);
  status = STATUS_BEYOND_FRICTION_ANGLE_CURVE;
  return 0.0;
}

double SKIN_FRICTION_AT_DEPTH(double& x, int& status) {
  return segment_query(SoilProfile.side_friction, x, BEYOND_CURVE_TOLERANCE, SKIN_FRICTION_WARNING,
                       STATUS_BEYOND_SIDE_FRICTION_CURVE, status);
}

double TIP_RESISTANCE_AT_DEPTH(double& x, int& status) {
  return segment_query(SoilProfile.tip_resistance, x, BEYOND_CURVE_TOLERANCE, TIP_RESISTANCE_WARNING,
                       STATUS_BEYOND_SIDE_RESISTANCE_CURVE, status);
}

double BPHI_AT_DEPTH(double& x, int& status) {
  return segment_query(SoilProfile.friction_angle, x, NO_REACH, BPHI_WARNING, STATUS_BEYOND_STRENGTH_CURVE, status);
}

double STIFF_CLAY_AS_FOR_DIAMETER(int& pile, int& /*set*/, double& x, double& b) {
  return table_value(AS_VALUES, AS_ABSCISSAE, depth_in_diameters(pile, x, b));
}

double STIFF_CLAY_AC_FOR_DIAMETER(int& pile, int& /*set*/, double& x, double& b) {
  return table_value(AC_VALUES, AC_ABSCISSAE, depth_in_diameters(pile, x, b));
}

double STIFF_CLAY_AS_AT_DEPTH(int& pile, int& set, double& x) {
  double b = SECTION_DIAMETER_AT(pile, set, x);
  return STIFF_CLAY_AS_FOR_DIAMETER(pile, set, x, b);
}

double STIFF_CLAY_AC_AT_DEPTH(int& pile, int& set, double& x) {
  double b = SECTION_DIAMETER_AT(pile, set, x);
  return STIFF_CLAY_AC_FOR_DIAMETER(pile, set, x, b);
}

double COEFF_TABLE_FOR_DIAMETER(int& pile, int& /*set*/, double& x, double& b, const CoeffTable& values,
                                const CoeffTable& abscissae) {
  return table_value(values, abscissae, depth_in_diameters(pile, x, b));
}

double COEFF_TABLE_AT_DEPTH(int& pile, int& set, double& x, const CoeffTable& values, const CoeffTable& abscissae) {
  double b = SECTION_DIAMETER_AT(pile, set, x);
  return COEFF_TABLE_FOR_DIAMETER(pile, set, x, b, values, abscissae);
}

}  // namespace pilecap
