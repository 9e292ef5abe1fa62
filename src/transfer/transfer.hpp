// Axial and torsional load-transfer curves: the normalised t-z curve shapes
// and their selection, the ultimate unit side friction and tip resistance
// by soil code and pile type, and the generators of the load-settlement and
// torque-rotation curves of a pile property set. Curve tables are 1-based,
// (curve, point); point 1 of every t-z curve is the origin. Lengths are in
// model units (inches or metres), stresses in psi or kPa, angles in radians
// unless a name says degrees.
#pragma once

#include "base/arrays.hpp"
#include "model/model_store.hpp"

namespace pilecap {

// ------------------------------------------------------------ constants

constexpr int TZ_POINTS = 10;                                 // points of a t-z or tip curve
constexpr int LS_POINTS_PER_SIDE = 9;                         // points of one side of a generated curve
constexpr int LS_TABLE_COLUMNS = 2 * LS_POINTS_PER_SIDE + 1;  // used columns of ComputedLsTable
constexpr int LS_ORIGIN_COLUMN = LS_POINTS_PER_SIDE + 1;      // the origin column of ComputedLsTable
constexpr int TZ_CURVE_ROWS = 212;                            // t-z curves one set can hold
// Increments a generated pile may have: one node curve per node.
constexpr int TRANSFER_MAX_INCREMENTS = PILE_NODE_ROWS - 7;

// Sides of a generated curve.
constexpr int SIDE_UPLIFT = 1;
constexpr int SIDE_COMPRESSION = 2;

// Element movement tolerance of the marches (length, or radians of twist).
constexpr double AXIAL_TRANSFER_TOLERANCE = double(1e-4f);
// Repetitions of one element's fixed-point loop before a generation gives
// up: a settling element needs a handful; a soft pile on very stiff t-z
// curves may oscillate for ever.
constexpr int TRANSFER_MAX_ELEMENT_ITERATIONS = 1000;

// The assumed tip movements of the generators, inches (the ninth is computed).
constexpr int FIXED_TIP_MOVEMENTS = 8;
inline constexpr double TIP_MOVEMENTS[FIXED_TIP_MOVEMENTS] = {double(1e-4f), double(0.001f), double(0.005f),
                                                              double(0.01f), double(0.05f),  double(0.1f),
                                                              double(0.5f),  double(1.0f)};

// -------------------------------------------------------------- TzShape
// The five normalised t-z shapes; 0 = no shape (code or pile type unknown).
constexpr int TZ_NONE = 0;
constexpr int TZ_DRILLED_COHESIVE = 1;
constexpr int TZ_DRILLED_GRANULAR = 2;
constexpr int TZ_DRIVEN_HYPERBOLIC = 3;
constexpr int TZ_DRIVEN_SOFTENING = 4;
constexpr int TZ_DRIVEN_COHESIVE = 5;

using TzRows = Array2<double, TZ_CURVE_ROWS, MAX_CURVE_POINTS>;
using TzColumn = Array1<double, TZ_CURVE_ROWS>;

// One list of t-z curves: curve k has TZ_POINTS points (t(k, i), z(k, i)),
// its ultimate friction tmax(k), friction angle phi(k) in degrees, depth
// (vertical coordinate) and soil code.
struct TzCurveSet {
  int count = 0;
  TzRows t{}, z{};
  TzColumn tmax{}, phi{}, depth{};
  Array1<int, TZ_CURVE_ROWS> code{};
};

// Shape routines: each writes points 1..TZ_POINTS of row k of t and z from
// tmax(k) (and phi(k) in degrees for the hyperbola); they cannot fail.
//   in: k  1 <= k <= TZ_CURVE_ROWS; D  pile diameter (model length unit)
// The driven cohesive and hyperbolic shapes have movements in inches,
// converted to metres under SI (RunOptions.units); the hyperbola raises a
// tmax(k) not above 1e-15 to 0.001 in the caller's array.
void TZ_SHAPE_DRILLED_COHESIVE(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax);
void TZ_SHAPE_DRILLED_GRANULAR(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax);
void TZ_SHAPE_DRIVEN_HYPERBOLIC(int& k, TzRows& t, TzRows& z, TzColumn& tmax, TzColumn& phi);
void TZ_SHAPE_DRIVEN_SOFTENING(int& k, double& D, TzRows& t, TzRows& z, TzColumn& tmax);
void TZ_SHAPE_DRIVEN_COHESIVE(int& k, TzRows& t, TzRows& z, TzColumn& tmax);

// TZ_SHAPE_FOR
// The shape of a curve from the pile type (PILE_DRIVEN, PILE_DRILLED), the
// soil code 0..14 of its depth and its friction angle in degrees (read only
// for a drilled shaft in code 5: granular above 1 degree, else cohesive).
//   out: TZ_NONE for any other pile type or code
int TZ_SHAPE_FOR(int pile_type, int code, double phi_deg);

// FILL_TZ_CURVE
// Fills curve k of the set with the shape TZ_SHAPE_FOR selects; nothing for
// TZ_NONE.
void FILL_TZ_CURVE(int k, int pile_type, int code, double D, TzCurveSet& set);

// -------------------------------------------- ultimate unit resistances
// The rules by soil code and pile type. c cohesion, phi friction angle
// (radians), gamma average effective unit weight above, z depth below the
// reference surface (model length), units RunOptions.units.

// ALPHA_FRICTION: alpha c of a driven pile (the adhesion factor).
double ALPHA_FRICTION(double c, double gamma, double z, int units);
// SAND_FRICTION: 0.8 gamma z tan(phi - 0.087), the driven pile in sand.
double SAND_FRICTION(double gamma, double z, double phi);
// BATTERED_SAND_FRICTION: gamma z tan(phi - 0.087) (0.8 cos b + sin b), the
// driven pile in sand when depths follow the batter angle b (radians).
double BATTERED_SAND_FRICTION(double gamma, double z, double phi, double batter);
// BETA_FRICTION: beta gamma z of a drilled shaft; z_ft is the depth in feet.
double BETA_FRICTION(double gamma, double z, double z_ft);
// DEPTH_IN_FEET: z in feet by the unit system, at least 1e-7.
double DEPTH_IN_FEET(double z, int units);
// BEARING_FACTOR_NQ: Nq from phi (radians), piecewise linear, 8 to 50.
double BEARING_FACTOR_NQ(double phi);
// Below this friction angle (30 degrees) a drilled tip in sand has the
// nominal resistance 0.1.
constexpr double DRILLED_SAND_PHI_LIMIT = double(0.5236f);
// DRILLED_GRANULAR_TIP: the unit tip resistance of a drilled shaft in sand
// (0.1 below 30 degrees, then two steps by unit system).
double DRILLED_GRANULAR_TIP(double phi, int units);

// SIDE_FRICTION_BY_RULES
// The computed ultimate unit side friction of one soil code and pile type.
//   in: f_user    the user's friction at the depth (codes 5 and 12 keep it)
//       sand_friction  the driven sand friction to use (SAND_FRICTION, or
//                 its batter form)
//   out: 0 for code 0 or a code outside 1..14
double SIDE_FRICTION_BY_RULES(int code, int pile_type, double c, double gamma, double z, double z_ft,
                              double sand_friction, double f_user, int units);

// ULTIMATE_UNIT_RESISTANCE
// The side friction and tip resistance at depth x for both pile types, as
// the soil report prints them; the depth below the top of layer 1 is z.
//   Reads:  SoilProfile (through the soil queries), RunOptions.units
//   out:    side_flag  1 computed (both frictions), 0 the user gives one
//           tip_flag   1 computed (both resistances), 0 the user gives one
//   in,out: status     a failing soil query's code; the outputs stop there
void ULTIMATE_UNIT_RESISTANCE(int& code, double& x, int& side_flag, double& f_driven, double& f_drilled, int& tip_flag,
                              double& q_driven, double& q_drilled, int& status);

// --------------------------------------------------------- generators

// GENERATE_AXIAL_LS_CURVE
// One side of the load-settlement curve of property set q, placed by pile p,
// by the load-transfer method: nine assumed tip movements, each marched from
// the tip to the head on the node t-z curves and the tip q-w curve.
//   Reads:  PileProperty, PileSection, PileTable (head_depth, ground,
//           batter), SoilProfile, RunOptions (units, adjust_batter_depth),
//           UnitLabels
//   Writes: ComputedLsTable row q, the columns of the side; listings on
//           UNIT_AXIAL_CURVE_TEXT, UNIT_AXIAL_CURVE_DATA and (side 1)
//           UNIT_GENERATED_AXIAL_CURVES; warnings on the results report and
//           run log
//   in:     side  SIDE_UPLIFT or SIDE_COMPRESSION; k  curve number (headings)
//   out:    n  LS_POINTS_PER_SIDE; loads, movements  head values, positive
//   in,out: status  a soil query's code; STATUS_LS_CURVE_ZERO_E50 or
//                   STATUS_LS_CURVE_ZERO_COHESION (driven pile, cohesive tip);
//                   STATUS_GENERATION_NO_CONVERGENCE (an element did not
//                   settle, with a warning on the run log)
void GENERATE_AXIAL_LS_CURVE(int& q, int& side, int& k, int& p, int& status, int& n, double* loads, double* movements);

// GENERATE_TORSION_TR_CURVE
// One side of the torque-rotation curve of property set q, placed by pile p:
// the torsional form of the march, friction acting at the radius of section
// 1 and the twist growing with GJ; the tip carries no torque.
//   Reads:  as GENERATE_AXIAL_LS_CURVE, and PileSection.gj, gj_bottom
//   Writes: listings on UNIT_AXIAL_CURVE_TEXT; messages on the results
//           report and run log
//   out:    n  LS_POINTS_PER_SIDE; torques, rotations  head values, positive
//   in,out: status  a soil query's code; STATUS_TORQUE_CURVE_ZERO_E50,
//                   STATUS_TORQUE_CURVE_ZERO_COHESION,
//                   STATUS_ZERO_TORSIONAL_RIGIDITY (after the error lines of
//                   every such section), STATUS_GENERATION_NO_CONVERGENCE
void GENERATE_TORSION_TR_CURVE(int& q, int& side, int& k, int& p, int& status, int& n, double* torques,
                               double* rotations);

}  // namespace pilecap
