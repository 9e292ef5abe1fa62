// The normalised t-z curve shapes of the load-transfer method and the rule
// that picks one from the pile type and soil code. Drilled-shaft shapes
// follow the published normalised side-load transfer trends of bored piles
// in clay and in sand; the driven shapes are the clay t-z curve with its
// residual, a softening curve scaled by the diameter and the sand hyperbola
// with a stiffness from the friction angle. Ten points per curve, point 1
// the origin; rows are 1-based (curve, point).
#include <cmath>

#include "input/input.hpp"
#include "model/conversions.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

using Factors = double[TZ_POINTS];

// Movements as fractions of the diameter, and t / tmax.
constexpr Factors DRILLED_Z = {0.0,
                               double(0.001f),
                               double(0.002f),
                               double(0.003f),
                               double(0.005f),
                               double(0.006f),
                               double(0.008f),
                               double(0.012f),
                               double(0.016f),
                               double(0.1f)};
constexpr Factors DRILLED_COHESIVE_T = {0.0,
                                        double(0.51f),
                                        double(0.72f),
                                        double(0.90f),
                                        double(0.925f),
                                        double(0.945f),
                                        double(0.955f),
                                        double(0.925f),
                                        double(0.90f),
                                        double(0.835f)};
constexpr Factors DRILLED_GRANULAR_T = {0.0,           double(0.335f), double(0.58f),  double(0.72f), double(0.86f),
                                        double(0.91f), double(0.95f),  double(0.965f), double(0.96f), double(0.95f)};
constexpr Factors SOFTENING_Z = {0.0,           double(0.0016f), double(0.0031f), double(0.0057f), double(0.008f),
                                 double(0.01f), double(0.02f),   double(0.03f),   double(0.05f),   double(0.1f)};
constexpr Factors SOFTENING_T = {0.0,          double(0.30f), double(0.50f), double(0.75f), double(0.90f),
                                 double(1.0f), double(0.8f),  double(0.8f),  double(0.8f),  double(0.8f)};
// Movements in inches.
constexpr Factors DRIVEN_COHESIVE_Z = {0.0,           double(0.01f), double(0.02f), double(0.04f), double(0.06f),
                                       double(0.08f), double(0.12f), double(0.16f), double(0.5f),  double(10.0f)};
constexpr Factors DRIVEN_COHESIVE_T = {0.0,          double(0.18f), double(0.38f), double(0.79f), double(0.97f),
                                       double(1.0f), double(0.97f), double(0.93f), double(0.93f), double(0.93f)};
constexpr Factors HYPERBOLIC_Z = {0.0,           double(0.01f), double(0.02f), double(0.04f), double(0.06f),
                                  double(0.08f), double(0.12f), double(0.16f), double(0.5f),  double(2.5f)};

constexpr double TMAX_FLOOR = double(1e-15f);
constexpr double TMAX_RAISED = double(0.001f);
// Pounds per square foot per kilopascal, as the hyperbola's SI form takes it.
constexpr double PSF_PER_KPA = double(20.88f);
constexpr double SQ_INCHES_PER_SQ_FOOT = 144.0;

// Initial stiffness of the sand hyperbola (per inch) by friction angle.
constexpr double K_LOW = 6000.0, K_MID = 10000.0, K_HIGH = 14000.0, K_TOP = 18000.0;
constexpr double K_SLOPE = double(1333.3f);
constexpr double PHI_28 = 28.0, PHI_31 = 31.0, PHI_32 = 32.0, PHI_34 = 34.0, PHI_35 = 35.0, PHI_38 = 38.0;

// The granular drilled shape needs a friction angle above this (degrees).
constexpr double DRILLED_GRANULAR_MIN_PHI = 1.0;

void scaled_shape(int k, double D, TzRows& t, TzRows& z, const TzColumn& tmax, const Factors& fz, const Factors& ft) {
  for (int i = 1; i <= TZ_POINTS; ++i) {
    z(k, i) = D * fz[i - 1];
    t(k, i) = tmax(k) * ft[i - 1];
  }
}

double hyperbola_stiffness(double phi) {
  if (phi <= PHI_28) return K_LOW;
  if (phi <= PHI_31) return K_LOW + K_SLOPE * (phi - PHI_28);
  if (phi <= PHI_32) return K_MID;
  if (phi <= PHI_34) return K_MID + K_SLOPE * (phi - PHI_32);
  if (phi <= PHI_35) return K_HIGH;
  if (phi <= PHI_38) return K_HIGH + K_SLOPE * (phi - PHI_35);
  return K_TOP;
}

}  // namespace

void TZ_SHAPE_DRILLED_COHESIVE(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax) {
  scaled_shape(k, D, t, z, tmax, DRILLED_Z, DRILLED_COHESIVE_T);
}

void TZ_SHAPE_DRILLED_GRANULAR(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax) {
  scaled_shape(k, D, t, z, tmax, DRILLED_Z, DRILLED_GRANULAR_T);
}

void TZ_SHAPE_DRIVEN_SOFTENING(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax) {
  scaled_shape(k, D, t, z, tmax, SOFTENING_Z, SOFTENING_T);
}

void TZ_SHAPE_DRIVEN_COHESIVE(int& k, TzRows& t, TzRows& z, TzColumn& tmax) {
  for (int i = 1; i <= TZ_POINTS; ++i) {
    z(k, i) = INCHES_IN_MODEL(DRIVEN_COHESIVE_Z[i - 1]);
    t(k, i) = tmax(k) * DRIVEN_COHESIVE_T[i - 1];
  }
}

void TZ_SHAPE_DRIVEN_HYPERBOLIC(int& k, TzRows& t, TzRows& z, TzColumn& tmax, TzColumn& phi) {
  if (tmax(k) <= TMAX_FLOOR) tmax(k) = TMAX_RAISED;
  const double stiffness = hyperbola_stiffness(phi(k));  // initial slope, per inch of movement
  t(k, 1) = 0.0;
  z(k, 1) = 0.0;
  for (int i = 2; i <= TZ_POINTS; ++i) {
    const double zi = HYPERBOLIC_Z[i - 1];
    if (RunOptions.units == UNITS_SI) {
      // The hyperbola is calibrated in pounds per square foot.
      const double t_psf = PSF_PER_KPA * tmax(k);
      t(k, i) = (zi / (zi / t_psf + 1.0 / stiffness)) / PSF_PER_KPA;
    } else {
      t(k, i) = zi / (zi / tmax(k) + SQ_INCHES_PER_SQ_FOOT / stiffness);
    }
    z(k, i) = INCHES_IN_MODEL(zi);
  }
}

int TZ_SHAPE_FOR(int pile_type, int code, double phi_deg) {
  if (code < 0 || code > SOIL_CODE_COUNT) return TZ_NONE;
  const bool granular = code == SOIL_SAND || code == SOIL_SILT || code == SOIL_API_SAND;
  if (pile_type == PILE_DRILLED) {
    if (granular) return TZ_DRILLED_GRANULAR;
    // A friction angle of exactly 1 degree counts as cohesive.
    if (code == SOIL_USER_PY && phi_deg > DRILLED_GRANULAR_MIN_PHI) return TZ_DRILLED_GRANULAR;
    return TZ_DRILLED_COHESIVE;
  }
  if (pile_type == PILE_DRIVEN) {
    if (granular) return TZ_DRIVEN_HYPERBOLIC;
    if (code == SOIL_USER_PY || code == SOIL_ELASTIC_SUBGRADE) return TZ_DRIVEN_SOFTENING;
    return TZ_DRIVEN_COHESIVE;
  }
  return TZ_NONE;
}

void FILL_TZ_CURVE(int k, int pile_type, int code, double D, TzCurveSet& set) {
  switch (TZ_SHAPE_FOR(pile_type, code, set.phi(k))) {
    case TZ_DRILLED_COHESIVE:
      TZ_SHAPE_DRILLED_COHESIVE(k, D, set.t, set.z, set.tmax);
      break;
    case TZ_DRILLED_GRANULAR:
      TZ_SHAPE_DRILLED_GRANULAR(k, D, set.t, set.z, set.tmax);
      break;
    case TZ_DRIVEN_HYPERBOLIC:
      TZ_SHAPE_DRIVEN_HYPERBOLIC(k, set.t, set.z, set.tmax, set.phi);
      break;
    case TZ_DRIVEN_SOFTENING:
      TZ_SHAPE_DRIVEN_SOFTENING(k, D, set.t, set.z, set.tmax);
      break;
    case TZ_DRIVEN_COHESIVE:
      TZ_SHAPE_DRIVEN_COHESIVE(k, set.t, set.z, set.tmax);
      break;
    default:
      break;
  }
}

}  // namespace pilecap
