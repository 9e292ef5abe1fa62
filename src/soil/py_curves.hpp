// Lateral soil springs: the p-y dispatch over the soil layers a pile meets,
// the p-y criteria of the soil codes, the equivalent depth of layered soil
// and the depth reduction factors. Node arrays are addressed by node number:
// values[j] is node j, node 1 the head, node n + 1 the tip. A layer above a
// buried head numbers the points above it 0, -1, -2, ...; they take part in
// the layer integral only, and no entry before node 1 is read or written.
// Depths are vertical coordinates in model units, positive downward; tables
// are 1-based.
#pragma once

#include <cstdint>

#include "base/arrays.hpp"
#include "soil/soil.hpp"

namespace pilecap {

// ------------------------------------------------------------- constants

constexpr int MAX_GENERATED_PY_POINTS = 25;  // stored points of one generated curve
constexpr int DEFAULT_PY_POINT_COUNT = 17;

// Fractions of a criterion's reference deflection at which a generated curve
// is evaluated when the request gives no deflections.
constexpr Array1<double, DEFAULT_PY_POINT_COUNT> DEFAULT_PY_CURVE_POINTS = {
    {0.0, double(0.00025f), double(0.0025f), double(0.0075f), double(0.02f), double(0.04f), double(0.06f), double(0.1f),
     double(0.15f), double(0.225f), double(0.3f), double(0.4f), double(0.5f), double(0.65f), double(0.8f), 1.0,
     double(1.2f)}};

// A node within this distance of the ground line lies on it and takes the
// curve of depth 0 (node coordinates are running sums, so a node meant to
// lie on the line may miss it by rounding); an equivalent depth below it is
// not yet computed.
constexpr double PY_MIN_DEPTH = double(1e-6f);

// A node higher than the ground line by PY_MIN_DEPTH or more has no soil in
// front of it; z is its depth below the ground line.
constexpr bool above_ground_line(double z) { return z <= -PY_MIN_DEPTH; }

// The sand coefficients A and B over depth / diameter, static and cyclic; the
// silt criterion and the equivalent depth of sand read them too.
constexpr CoeffTable SAND_COEFF_DEPTH_RATIOS = {{0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0}};
constexpr CoeffTable SAND_A_STATIC = {{double(2.83f), double(2.48f), double(2.11f), double(1.76f), double(1.48f),
                                       double(1.23f), double(1.06f), double(0.90f), double(0.88f), double(0.88f)}};
constexpr CoeffTable SAND_B_STATIC = {{double(2.14f), double(1.83f), double(1.54f), double(1.27f), double(1.05f),
                                       double(0.86f), double(0.71f), double(0.53f), double(0.50f), double(0.50f)}};
constexpr CoeffTable SAND_A_CYCLIC = {{double(0.75f), double(0.93f), double(1.07f), double(1.11f), double(1.03f),
                                       double(0.98f), double(0.94f), double(0.90f), double(0.88f), double(0.88f)}};
constexpr CoeffTable SAND_B_CYCLIC = {{double(0.53f), double(0.72f), double(0.83f), double(0.86f), double(0.82f),
                                       double(0.77f), double(0.70f), double(0.55f), double(0.55f), double(0.55f)}};

// ---------------------------------------------------------------- records

// The state of p-y curve generation. Written on the calling thread only,
// outside the parallel loops over piles.
struct GeneratedPyCurveRecord {
  int active = 0;          // 1 while whole curves are generated
  int request = 0;         // the PyPrintRequest, or the pile of an export
  int num_points = 0;      // points per curve; 0: the 17 default deflections
  int from_plot_list = 0;  // 0: request deflections, points printed; 1: export list, points stored
  Array1<double, MAX_GENERATED_PY_POINTS> y{}, p{};  // the stored points of the last curve
  int plot_soil_code = 0;                            // the criterion's plot code
  int plot_in_soil = 0;                              // 1 when the node lies below the ground line
  double plot_depth = 0.0;                           // the node's depth below the ground line
};
extern GeneratedPyCurveRecord GeneratedPyCurve;

// ------------------------------------------------------- curve-data cache

// The depth-only data of each node's p-y curve (what the criterion computes
// from the soil and the node's depth before it reads the deflection) is kept
// per (pile, node) for one epoch: a span of pile evaluations over which the
// model does not change, opened and closed on the calling thread around the
// loops over piles. A node's entry carries the values its data was computed
// from (coordinate, depth, diameter, equivalent depth, ground line, layer,
// criterion, loading kind, cycles and what the criterion adds, such as the
// state a running mean carries from the node before); the entry serves only
// when every one of them is bit-identical, else the curve is computed again.
// Each pile's entries are written only by the thread that evaluates the
// pile. Curve generation, the cap pass, the cap element and the points above
// a buried head are never cached.
struct PyCurveCacheRecord {
  int enabled = 1;          // 0: every curve is computed (the tests compare outputs both ways)
  std::uint64_t epoch = 0;  // the open epoch; 0: none, nothing is cached (epochs never repeat in a process)
  int pair_open = 0;        // 1: a force vector and its tangent share the open epoch
};
extern PyCurveCacheRecord PyCurveCache;

// OPEN_PY_CURVE_EPOCH / CLOSE_PY_CURVE_EPOCH
// Opens a new epoch (every entry of an earlier one stops serving) when the
// cache is enabled; closes the open one. Calling thread only, outside the
// parallel regions.
void OPEN_PY_CURVE_EPOCH();
void CLOSE_PY_CURVE_EPOCH();

// RELEASE_PY_CURVE_CACHE
// Frees the entries of every pile and closes the epoch (end of a run).
void RELEASE_PY_CURVE_CACHE();

// PyPileSolve
// The scope of one lateral solve of a pile inside an open epoch: between
// its start and its end the springs of the pile are evaluated again and
// again at new deflections, and nothing else of the pile's curves changes.
// Inside the scope each node's depth-only values (coordinate, depth,
// diameter, depth factors) are computed at the solve's first evaluation and
// read at the later ones, and curve data found current is read without
// comparing its key again. A pile's solve marks never repeat in a process. Made and
// ended by the thread that evaluates the pile, one scope of a pile at a time.
class PyPileSolve {
 public:
  explicit PyPileSolve(int pile);
  ~PyPileSolve();
  PyPileSolve(const PyPileSolve&) = delete;
  PyPileSolve& operator=(const PyPileSolve&) = delete;

 private:
  int pile_;
};

// ---------------------------------------------------------------- dispatch

// SOIL_REACTION_AT_NODES
// Secant soil moduli and soil reactions at the nodes of one pile, layer by
// layer through the p-y criterion of each layer's soil code; then Es := 0 at
// the nodes above the ground line. In curve generation (RunOptions.
// print_py_curves 1) the criteria print or store whole curves instead.
//   Reads:  PileTable, PileProperty, PileNodes, PileLayerData node ranges,
//           SoilProfile, ClosePileFactors, RunOptions, GeneratedPyCurve
//   Writes: the pile's PileSoilData and PileLayerData (ultimate_resistance,
//           eq_depth); during curve generation GeneratedPyCurve points
//   in:     prop_set      PileTable.prop of the pile
//   in,out: status        the status word; soil queries set 22-27; on a set
//                         word the ground-line pass is skipped
//   in:     pile          entry of PileTable (the cap entry included)
//   in:     factor_index  entry of ClosePileFactors whose P- and Y-FACTOR apply
//                         in curve generation (the analysis uses the pile)
//   in:     y             node deflections (3D: the resultant lateral deflection)
//   out:    es            secant modulus p / y times the factors
//   in:     move1, move2  soil movement components at the nodes
//   out:    es_move       Es times the soil-movement magnitude
//   out:    p             soil reaction times the P-FACTOR, signed
void SOIL_REACTION_AT_NODES(int& prop_set, int& status, int& pile, int& factor_index, const double* y, double* es,
                            const double* move1, const double* move2, double* es_move, double* p);

// ---------------------------------------------------------------- criteria
// Each criterion evaluates the nodes first_node .. last_node of (pile,
// layer) and writes only their entries of the node arrays (arguments as
// SOIL_REACTION_AT_NODES, plus the layer number), never those of the points
// numbered 0 or less. Nodes above the ground line get Es = 0, p = 0 and
// es_move = 0; the node on the ground line gets the curve of depth 0. A soil
// query that sets the status word ends the criterion at once.

// PY_SOFT_CLAY (code 1 and every code outside 1..14), PY_SOFT_CLAY_USER_J
// (13), PY_MOD_SOFT_CLAY_INITIAL_K (14)
// Soft clay: p = 0.5 pu (u / y50)^(1/3) up to pu at 8 y50, pu = min((3 +
// gamma z / c + J z / b) c b, 9 c b), y50 = 2.5 e50 b; cyclic loading cuts the
// curve to 0.72 pu beyond 3 y50 and, above the transition depth, down to a
// residual value at 15 y50. J is 0.5 for code 1, the layer's J for 13 and 14;
// code 14 keeps the curve under the initial line k z u.
void PY_SOFT_CLAY(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                  const double* move1, const double* move2, double* es_move, double* p);
void PY_SOFT_CLAY_USER_J(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                         double* es, const double* move1, const double* move2, double* es_move, double* p);
void PY_MOD_SOFT_CLAY_INITIAL_K(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                                double* es, const double* move1, const double* move2, double* es_move, double* p);

// PY_SAND (code 4)
// Sand: pu = A min(wedge, flow) resistance, a straight initial part k z u,
// a parabola, a straight part from b/60 to 3b/80 and pu beyond; A and B by
// depth over diameter, static or cyclic.
void PY_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
             const double* move1, const double* move2, double* es_move, double* p);

// PY_ELASTIC_SUBGRADE (code 12)
// A linear spring p = k b u, cut at b s_max when s_max > 0; one pass, never
// the cap width, no layered-soil correction; the P-FACTOR inside the curve.
void PY_ELASTIC_SUBGRADE(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                         double* es, const double* move1, const double* move2, double* es_move, double* p);

// PY_STIFF_CLAY_FREE_WATER (code 2)
// Stiff clay below free water: pc = min(2 ca b + gamma b z + 2.83 ca z,
// 11 c b), y50 = e50 b; static, a square-root parabola softening beyond AS
// y50 to a residual from 18 AS y50; cyclic, a hump AC pc at 0.45 yp (yp =
// 4.1 AC y50) falling to a residual beyond 1.8 yp; both under k z u. Its
// soil values and the cohesion average are read at every node a pass
// reaches, also above the ground line.
void PY_STIFF_CLAY_FREE_WATER(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                              double* es, const double* move1, const double* move2, double* es_move, double* p);

// PY_STIFF_CLAY_NO_WATER (code 3), PY_STIFF_CLAY_INITIAL_K (code 10)
// Stiff clay above free water: pu = min(3 ca b + gamma b z + 0.5 ca z, 9 c
// b), y50 = 2.5 e50 b, p = 0.5 pu (u / y50)^(1/4) up to pu at 16 y50; cyclic
// loading stretches the deflections by 1 + 0.6 log10 N, N the load cycles
// (at least 1). Code 10 keeps the curve under k z u.
//   Reads: AnalysisControl.cycles (never written)
void PY_STIFF_CLAY_NO_WATER(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                            double* es, const double* move1, const double* move2, double* es_move, double* p);
void PY_STIFF_CLAY_INITIAL_K(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                             double* es, const double* move1, const double* move2, double* es_move, double* p);

// PY_VUGGY_LIMESTONE (code 6)
// Vuggy limestone, s_u = q_u / 2: p = 2000 s_u u up to 0.0004 b, then a line
// of slope 100 s_u up to b s_u, b s_u beyond. One pass, never the cap width,
// no layered-soil correction, no layer integral.
void PY_VUGGY_LIMESTONE(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                        double* es, const double* move1, const double* move2, double* es_move, double* p);

// PY_SILT (code 7)
// Silt: the sand frictional resistance p_phi with a cohesive part p_c =
// min(gamma z / c + 3 + 0.5 z / b, 9) c b (0 without cohesion); p_m = 1.5
// p_phi + p_c at b/60, p_u = A p_phi from 3b/80; one of three shapes by where
// k z u meets the branches. A friction angle of 0 below the layer's first
// node sets STATUS_SILT_ZERO_FRICTION_ANGLE, one with 1 - cos^2 phi below
// 1e-10 STATUS_SILT_SLOPE_ABOVE_FRICTION, each with its warning lines.
void PY_SILT(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
             const double* move1, const double* move2, double* es_move, double* p);

// PY_API_SAND (code 8)
// API sand: pu = gamma z (C1 z + C2 b) or, below the crossover, C3 b gamma z;
// p = A pu tanh(k z u / (A pu)), A = max(0.9, 3 - 0.8 z / b) static, 0.9
// cyclic. A friction angle of 0 below the layer's first node sets
// STATUS_SAND_ZERO_FRICTION_ANGLE with its warning lines.
void PY_API_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                 const double* move1, const double* move2, double* es_move, double* p);

// PY_WEAK_ROCK (code 9)
// Weak rock: alpha_r = 1 - RQD / 150, p_ur = alpha_r q_u (b + 1.4 x_r) (q_u
// averaged over the layer) growing with the depth x_r into the rock to 5.2
// alpha_r q_u b at 3 b; the initial line M_ir u (M_ir from 100 E_r to 500
// E_r) up to y_a, then 0.5 p_ur (u / (k_rm b))^(1/4) up to p_ur. One pass,
// never the cap width, no layered-soil correction. A zero strength below the
// layer's first node sets STATUS_WEAK_ROCK_ZERO_COHESION with its warning.
void PY_WEAK_ROCK(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                  const double* move1, const double* move2, double* es_move, double* p);

// PY_LIQUEFIED_SAND (code 11)
// Liquefied sand: p = A (B y)^C (kN/m, y in mm) with A, B, C power laws of
// the depth, times a diameter factor, limited at 150 mm, at half a diameter
// and at 15 kN/m; English input converted at the law's edges. No initial
// modulus (Es = 0 at u = 0), the Y-FACTOR divides the deflection.
void PY_LIQUEFIED_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                       double* es, const double* move1, const double* move2, double* es_move, double* p);

// ------------------------------------------------------------ user curves

// The message of user p-y curves that end above a node of a pile.
//   "  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE, PILE GROUP =     3"
constexpr const char* PY_CURVES_SHORT_LAYOUT =
    "(/,/,\"  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE\",\", PILE GROUP = \",I5)";

// A user p-y curve set at one depth and deflection u: on each of the curves
// that bracket the depth the resistance at u (linear between points, the
// first segment extended below the first point, the last point's resistance
// beyond the last), then interpolated linearly by depth.
struct UserPyValues {
  double secant = 0.0;    // p / u, interpolated by depth
  double reaction = 0.0;  // p, interpolated by depth
  double deeper = 0.0;    // p of the deeper bracketing curve
  double ultimate = 0.0;  // the last point's p of each curve, interpolated by depth
};

// USER_PY_CURVES_AT
// Evaluates set s of the working copy of UserPyCurveSet at depth d (the
// vertical coordinate) and deflection u > 0. The curve index names the
// deeper bracketing curve; it starts at 2 for a pile and only moves forward,
// from node to node, so a pile's nodes go down the set once. Above the first
// curve's depth curves 1 and 2 serve; a node exactly at a curve's depth
// uses that curve alone.
//   Reads: UserPyCurveSet (count, num_curves, curve_depth, num_points, p, y)
//   out:   false when the curves end above d (the index passes the set's
//          last curve) or s names no set of the input; values unchanged then
bool USER_PY_CURVES_AT(int s, double d, double u, int& curve, UserPyValues& values);

// The report of user p-y curves that end above a node of a pile: the pile's
// error word PILE_ERR_PY_TOO_SHORT and the PY_CURVES_SHORT_LAYOUT lines on
// the results report and the run log. The single-pile floor installs the
// reporter that holds both in the pile's evaluation, so a loop over piles
// publishes them in pile order; without one the lines are written at once
// and the error word is set directly (calls outside any loop only).
using PyCurvesShortReporter = void (*)(int pile);
void SET_PY_CURVES_SHORT_REPORTER(PyCurvesShortReporter reporter);
void REPORT_PY_CURVES_SHORT(int pile);

// PY_USER_CURVES_LAYER (code 5)
// The user p-y curves of a layer: the set |PileTable.py_set| of the pile,
// Es = P-FACTOR p / (u Y-FACTOR) interpolated by depth, the reaction P-FACTOR
// times the deeper curve's p; the layer integral adds the depth-interpolated
// ultimate resistance times the increment of the property set. No status
// word: curves that end above a node are reported (REPORT_PY_CURVES_SHORT)
// and end the criterion. In curve generation it produces no points.
void PY_USER_CURVES_LAYER(int& prop_set, int& layer, int& pile, int& factor_index, const double* y, double* es,
                          const double* move1, const double* move2, double* es_move, double* p);

// ---------------------------------------------------------- printed curves

// PRINT_GENERATED_PY_CURVES
// TABLE N: checks every p-y print request against its pile, the pile cap
// and the soil profile, prints a rejection message or the curve's header
// lines, places node 1 of the pile at the requested depth and lets the
// criterion of the layer there print the points; a compact copy of the
// requests goes to the plot-data file. Runs once, after the analysis, on
// the calling thread, in curve generation (RunOptions.print_py_curves 1,
// GeneratedPyCurve.from_plot_list 0). Every request names a pile of the
// pile table (the input echo refuses others).
//   Reads:  PyPrintRequest, PileTable, PileProperty, SoilLayerInput.count,
//           SoilProfile, CapGeometry.thickness_xx, RunOptions, UnitLabels
//   Writes: PyPrintRequest.status, SoilProfile.num_layers, GeneratedPyCurve
//           (active, request, num_points); nodes 1 and 2 of PileNodes and the
//           PileLayerData node ranges of every requested pile
//   in,out: status  handed to the criteria (soil queries set 22 to 27); not
//                   tested between requests
void PRINT_GENERATED_PY_CURVES(int& status);

// ------------------------------------------- layered soil and depth factors

// EQUIVALENT_DEPTH
// The equivalent depth of the top of a lower layer: the depth at which the
// layer's own soil, reaching up to the ground, would give the integrated
// ultimate resistance S of the layers above it along the pile. Closed forms
// for the clays (codes 1, 3, 10, 13, 14; every code outside 1..14 as code 1),
// stepwise integration for codes 2, 4, 7 and 8. Where the layer's soil gives
// no resistance to match (a zero divisor), the real depth of the layer top.
//   Reads:  PileLayerData.ultimate_resistance of layers 1 .. layer-1,
//           SoilProfile, AnalysisControl.loading_kind, PileSoilData.ground_line
//   Writes: PileLayerData.eq_depth(pile, layer)
//   in:     b, c, ca, gamma, phi, alpha, beta, k0, ka, tan2_beta, z0, j at the
//           layer's first node (each code reads those its rule names);
//           abscissae  the depth / diameter points of the sand A table
void EQUIVALENT_DEPTH(int& pile, int& layer, int& prop_set, double& b, double& c, double& ca, double& gamma,
                      double& phi, double& alpha, double& beta, double& k0, double& ka, double& tan2_beta, double& z0,
                      double& j, const CoeffTable& abscissae);

// DEPTH_REDUCTION_FACTORS
// The p- and y-multipliers of the pile's depth factor table at depth d,
// interpolated linearly between rows; 1 and 1 outside the table, for a pile
// without a table, and for a table number the input does not hold.
//   Reads:  PileTable.rfl_set, DepthFactorTable
//   out:    table  PileTable.rfl_set(pile); pm, ym
void DEPTH_REDUCTION_FACTORS(int& pile, int& table, double& d, double& pm, double& ym);

// PRINT_GENERATED_PY_CURVES: TABLE N of the requested p-y curves on UNIT_ECHO.
void PRINT_GENERATED_PY_CURVES(int& status);

}  // namespace pilecap
