// Soil profile and p-y curves: the layered soil model of a run (SoilProfile),
// the soil codes, the soil queries by depth and the default soil parameters.
// Tables are 1-based. Layer l of the profile has its top at point 2l-1 and
// its bottom at point 2l of every property curve, so a shared boundary of two
// layers is a step of two points at one depth. Depths are vertical
// coordinates, positive downward, in model units (inches or metres); friction
// angles are in radians; stresses and moduli are in the model's units.
#pragma once

#include "base/arrays.hpp"
#include "model/model_store.hpp"

namespace pilecap {

// ------------------------------------------------------------- capacities

constexpr int MAX_SOIL_LAYERS = MAX_LAYERS_PER_PILE;
constexpr int MAX_SOIL_POINTS = 2 * MAX_SOIL_LAYERS;
constexpr int COEFF_TABLE_POINTS = 10;  // points of a caller's coefficient table

// -------------------------------------------------------------- SoilCode
// The lateral soil criterion of a layer. Any other value keeps every
// property column and is treated as soft clay by the criteria.

constexpr int SOIL_SOFT_CLAY = 1;
constexpr int SOIL_STIFF_CLAY_FREE_WATER = 2;
constexpr int SOIL_STIFF_CLAY_NO_WATER = 3;
constexpr int SOIL_SAND = 4;
constexpr int SOIL_USER_PY = 5;
constexpr int SOIL_VUGGY_LIMESTONE = 6;
constexpr int SOIL_SILT = 7;
constexpr int SOIL_API_SAND = 8;
constexpr int SOIL_WEAK_ROCK = 9;
constexpr int SOIL_STIFF_CLAY_INITIAL_K = 10;
constexpr int SOIL_LIQUEFIED_SAND = 11;
constexpr int SOIL_ELASTIC_SUBGRADE = 12;
constexpr int SOIL_SOFT_CLAY_USER_J = 13;
constexpr int SOIL_MOD_SOFT_CLAY_INITIAL_K = 14;
constexpr int SOIL_CODE_COUNT = 14;

// Loading kinds of the default clay modulus (AnalysisControl.loading_kind).
constexpr int LOADING_CYCLIC = 0;
constexpr int LOADING_STATIC = 1;

// --------------------------------------------------------------- profile

using SoilColumn = Array1<double, MAX_SOIL_POINTS>;

// The soil layers in input order and their property curves over depth.
struct SoilProfileRecord {
  int num_layers = 0;
  Array1<double, MAX_SOIL_LAYERS> layer_top{}, layer_bottom{};  // layer_top(1): the profile's ground surface
  Array1<int, MAX_SOIL_LAYERS> layer_code{};                    // SoilCode
  int num_points = 0;                                           // 2 x num_layers
  SoilColumn depth{};
  SoilColumn cohesion{};        // c; qu for codes 6 and 9; maximum stress transfer for 12
  SoilColumn friction_angle{};  // radians
  SoilColumn subgrade_k{};      // p-y subgrade modulus; elastic subgrade modulus for 12
  SoilColumn rock_modulus{};    // Er
  SoilColumn e50{};             // strain at 50 % stress; krm for 9
  SoilColumn j_factor{};        // J; RQD in per cent for 9
  SoilColumn side_friction{};   // user's ultimate unit side friction
  SoilColumn tip_resistance{};  // user's ultimate unit tip resistance
  int num_uw_points = 0;
  SoilColumn uw_depth{}, unit_weight{};  // effective unit weight curve
};
extern SoilProfileRecord SoilProfile;

// The vuggy limestone strain at 50 % stress, fixed whatever the input gives.
constexpr double VUGGY_LIMESTONE_E50 = double(0.0005f);

// ----------------------------------------------------- queries by depth
// Each query reads one column of SoilProfile at the vertical coordinate x
// (not the depth below a pile's ground line). They read shared tables only,
// so any number of threads may call them at once; the only shared writes
// are the status word and whole warning lines through fio. A query that
// sets a status returns 0; its caller tests the status after the call. An
// empty profile (no layer) answers 0 to every query, with no status.
//
// Boundary rules (x exactly at a shared layer boundary):
//   step mean   the mean of the upper layer's bottom and the lower layer's
//               top value, or the one that is not below 1e-20;
//   step lower  the lower layer's top value (the upper one when the lower
//               is below 1e-20);
//   segment     the lower layer's top value;
//   layer code  the upper layer.
// Above the first point every curve extends its first segment.

// SOIL_CODE_AT_DEPTH
// The SoilCode of the first layer, in input order, with top <= x <= bottom.
//   out: 0 above the top of layer 1, below the bottom of the last layer, or
//        when no layer holds x
int SOIL_CODE_AT_DEPTH(double& x);

// AVG_UNIT_WEIGHT_ABOVE
// Mean effective unit weight from the ground surface (layer_top(1)) down to
// x: the trapezoid integral of the unit-weight curve divided by the depth.
// At the ground surface itself, the first positive unit weight.
//   out:    0 above the ground surface
//   in,out: status  STATUS_BEYOND_UNIT_WEIGHT_CURVE (with its warning) when
//                   x is more than 1e-8 below the last point
double AVG_UNIT_WEIGHT_ABOVE(double& x, int& status);

// SUBGRADE_K_AT_DEPTH
// The p-y subgrade modulus at x by the step-mean rule; 0 below the last point.
double SUBGRADE_K_AT_DEPTH(double& x);

// SUBGRADE_K_OR_DEFAULT
// The p-y subgrade modulus at x, or when its magnitude is not above 1e-4 a
// default from the cohesion (step-lower rule) in psi: 50, 100, 500, 1000,
// 2000 lb/in^3 by band; under SI units the same times 271.5, in kN/m^3.
// Beyond the cohesion curve it writes the cohesion warning, sets no status
// and takes the cohesion as 0.
//   out: 0 above the first point of the profile
double SUBGRADE_K_OR_DEFAULT(double& x);

// COHESION_AT_DEPTH
// The cohesion column at x by the step-lower rule; the last segment is
// extended 1e-8 below the last point.
//   in,out: status  STATUS_BEYOND_COHESION_CURVE (with its warning) beyond
double COHESION_AT_DEPTH(double& x, int& status);

// ROCK_MODULUS_AT_DEPTH, E50_AT_DEPTH, J_OR_RQD_AT_DEPTH
// Er, e50 (krm) and J (RQD) at x by the step-mean rule; 0 below the last point.
double ROCK_MODULUS_AT_DEPTH(double& x);
double E50_AT_DEPTH(double& x);
double J_OR_RQD_AT_DEPTH(double& x);

// AVG_COHESION_ABOVE
// Mean cohesion from the ground surface down to x (trapezoid integral over
// the profile points divided by the depth). At the ground surface, the
// step-lower cohesion there. Below the last point the last value is taken
// as constant beyond it and a warning goes to the results report only.
//   out:    0 above the ground surface
//   in,out: status  STATUS_BEYOND_COHESION_CURVE only from the ground-surface case
double AVG_COHESION_ABOVE(double& x, int& status);

// FRICTION_ANGLE_AT_DEPTH
// The friction angle (radians) at x by the step-mean rule; below the last
// point the last segment is extended for up to 1e8.
//   in,out: status  STATUS_BEYOND_FRICTION_ANGLE_CURVE (with its warning) beyond
double FRICTION_ANGLE_AT_DEPTH(double& x, int& status);

// SKIN_FRICTION_AT_DEPTH, TIP_RESISTANCE_AT_DEPTH
// The user's ultimate unit side friction / tip resistance at x by the
// segment rule; the last segment is extended 1e-8 below the last point.
//   in,out: status  STATUS_BEYOND_SIDE_FRICTION_CURVE /
//                   STATUS_BEYOND_SIDE_RESISTANCE_CURVE (with warnings) beyond
double SKIN_FRICTION_AT_DEPTH(double& x, int& status);
double TIP_RESISTANCE_AT_DEPTH(double& x, int& status);

// BPHI_AT_DEPTH
// The friction angle (radians) at x by the segment rule, as the axial
// load-transfer routines read it; no extension below the last point.
//   in,out: status  STATUS_BEYOND_STRENGTH_CURVE (with its warning) beyond
double BPHI_AT_DEPTH(double& x, int& status);

// ------------------------------------------- coefficient tables by depth
// z = (x - PileSoilData.ground_line(pile)) / b, the depth below the pile's
// ground line in diameters b; the result is linear in the table over z, the
// first and last segments extended beyond it. A zero diameter takes z = 0.
// The _AT_DEPTH forms take b from the pile's section at x (SECTION_DIAMETER_AT);
// the _FOR_DIAMETER forms take it from the caller.
//   Reads: PileSoilData.ground_line; the section tables through SECTION_DIAMETER_AT

// STIFF_CLAY_AS_AT_DEPTH, STIFF_CLAY_AC_AT_DEPTH (and _FOR_DIAMETER)
// The static (AS) and cyclic (AC) stiff-clay coefficients.
//   in: pile  1-based PileTable entry; set  its property set
double STIFF_CLAY_AS_AT_DEPTH(int& pile, int& set, double& x);
double STIFF_CLAY_AC_AT_DEPTH(int& pile, int& set, double& x);
double STIFF_CLAY_AS_FOR_DIAMETER(int& pile, int& set, double& x, double& b);
double STIFF_CLAY_AC_FOR_DIAMETER(int& pile, int& set, double& x, double& b);

using CoeffTable = Array1<double, COEFF_TABLE_POINTS>;

// COEFF_TABLE_AT_DEPTH, COEFF_TABLE_FOR_DIAMETER
// A caller's ten-point table: values over ascending abscissae of z.
double COEFF_TABLE_AT_DEPTH(int& pile, int& set, double& x, const CoeffTable& values, const CoeffTable& abscissae);
double COEFF_TABLE_FOR_DIAMETER(int& pile, int& set, double& x, double& b, const CoeffTable& values,
                                const CoeffTable& abscissae);

// ------------------------------------------------ default soil parameters
// Estimates used where the input gives 0 or less. c is the undrained
// cohesion in the model unit (psi under English units, kPa under SI); units
// is RunOptions.units (1 English, 2 SI). Under any other unit system no band
// applies and each routine follows its own rule below.

// DEFAULT_E50_SOFT_CLAY
// e50 of soft clay: 0.02, 0.01, 0.005, 0.004 for c below s, 2s, 8s and
// above, s = 3.4722 psi or 23.94 kPa.
//   out: e50  0.001 under any other unit system
void DEFAULT_E50_SOFT_CLAY(double& c, double& e50, int& units);

// DEFAULT_E50_STIFF_CLAY
// e50 of stiff clay: 0.011, 0.007, 0.005, 0.004 for c below s, 2s, 4s and
// above, s = 6.9444 psi or 47.88 kPa.
//   in,out: e50  unchanged under any other unit system
void DEFAULT_E50_STIFF_CLAY(double& c, double& e50, int& units);

// DEFAULT_K_CLAY
// The clay p-y modulus by cohesion band (the bands of stiff clay): static
// 250, 500, 1000, 2000 or cyclic 100, 200, 400, 800 lb/in^3, and their SI
// equivalents in kN/m^3. Not the rule of SUBGRADE_K_OR_DEFAULT.
//   in:     kind  LOADING_STATIC or LOADING_CYCLIC
//   in,out: k     unchanged for any other kind or unit system
void DEFAULT_K_CLAY(double& c, double& k, int& units, int& kind);

// DEFAULT_E50_BY_SOIL
// The soft-clay default for codes 1, 7, 13, 14; the stiff-clay default for
// codes 2, 3, 10.
//   in,out: e50  unchanged for any other code
void DEFAULT_E50_BY_SOIL(double& c, double& e50, int& code, int& units);

// DEFAULT_E50_FOR_ECHO
// The e50 the soil report prints: the given one when above 0, else the
// default of DEFAULT_E50_BY_SOIL (the given one for codes without a default).
//   out: e50_out, estimated  1 when the given e50 was not above 0
void DEFAULT_E50_FOR_ECHO(double& c, double& e50_in, double& e50_out, int& units, int& code, int& estimated);

// DEFAULT_K_SAND
// The sand p-y modulus from the friction angle phi (radians) and the
// effective unit weight gamma, which decides below water (gamma <= 0.045
// lb/in^3 or 12.225 kN/m^3) or above: linear up to 27.6423 degrees, a
// polynomial up to 45 degrees, constant above; SI values in kN/m^3.
//   in,out: k  unchanged under any other unit system
void DEFAULT_K_SAND(double& phi, double& gamma, double& k, int& units);

// DEFAULT_K_FOR_ECHO
// The static and cyclic moduli the soil report prints: both the given k
// when it is above 0; else by code the clay table (2, 10, 14; both values),
// the sand rule (4, 8; static only), the silt rule (7; both values), and
// the given k for any other code.
//   out: k_static, k_cyclic, estimated  1 when the given k was not above 0,
//        two_values  1 when the static and cyclic estimates are both given
void DEFAULT_K_FOR_ECHO(double& c, double& phi, double& gamma, double& k_in, double& k_static, double& k_cyclic,
                        int& units, int& code, int& estimated, int& two_values);

// DEFAULT_K_SILT
// The silt p-y modulus: a cohesion term, the clay k of DEFAULT_K_CLAY for
// the loading kind, plus a friction term by phi (up to 30, up to 36 degrees,
// beyond) and the water condition of gamma (above water when gamma > 0.045
// lb/in^3 or 12.225 kN/m^3): 25, 90, 225 lb/in^3 above water, 20, 60, 125
// below, SI values in kN/m^3.
//   in:     kind  LOADING_STATIC or LOADING_CYCLIC; any other kind adds the
//                 friction term to the k that comes in
//   in,out: k     unchanged under any other unit system
void DEFAULT_K_SILT(double& gamma, double& c, double& phi, double& k, int& units, int& kind);

// BUILD_SOIL_PROFILE
// Builds SoilProfile afresh from the soil layers: the layer table, two points
// per layer on every property curve, only the columns each soil code uses
// (the others 0), friction angles in radians with the pi of the moment, and
// the fixed strain of vuggy limestone; then the embedded cap's ground.
//   Reads:  SoilLayerInput, RunConstants.pi, CapPassiveElement.head_depth
//   Writes: SoilProfile; PileTable.ground of the cap entry n_piles + 1
//   in,out: status  never set; the build cannot fail
void BUILD_SOIL_PROFILE(int& status);

}  // namespace pilecap
