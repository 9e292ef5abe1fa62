// The load-transfer model of one pile shared by the curve generators: the
// pile cut into n_inc elements from the head, the section boundaries along
// it (two per section, 1-based, positions from the head), one t-z curve per
// node (node 1 the head) and the march from the tip to the head. The axial
// march carries loads on EA; the torsional march carries torques on GJ with
// the friction acting at a lever arm r.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/sections.hpp"
#include "transfer/transfer.hpp"

namespace pilecap {

constexpr int TRANSFER_BOUNDARIES = 2 * MAX_PILE_SECTIONS;

struct TransferModel {
  int q = 0, p = 0;  // property set, pile that places it
  int pile_type = 0, n_inc = 0, n_bounds = 0;
  double head_depth = 0.0, ground_line = 0.0;                               // x_h and x_h + ground
  double length = 0.0, vertical_length = 0.0;                               // L and L_v
  double h = 0.0, h_v = 0.0;                                                // element length and its vertical step
  double diameter = 0.0;                                                    // D1, top of section 1
  Array1<double, TRANSFER_BOUNDARIES> position{}, rigidity{}, perimeter{};  // EA or GJ in rigidity
  TzCurveSet nodes;                                                         // node curves, n_inc + 1 of them
};

// CHECK_TRANSFER_INPUT
// The property set and soil profile can be generated: pile type 1 or 2,
// 1 .. TRANSFER_MAX_INCREMENTS increments, positive diameters at the top of
// the first and last sections, positive EA at both ends of every section
// (axial only), at least one soil layer, every soil code 0 .. 14.
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line
void CHECK_TRANSFER_INPUT(int q, bool axial, int& status);

// SETUP_TRANSFER_MODEL / FILL_TRANSFER_MODEL
// Geometry and section boundaries of property q placed by pile p; rigidity
// holds EA (axial) or GJ. The node curves are not built. FILL_ writes into
// a model the caller owns (the node-curve count is cleared).
std::unique_ptr<TransferModel> SETUP_TRANSFER_MODEL(int q, int p, bool axial);
void FILL_TRANSFER_MODEL(TransferModel& m, int q, int p, bool axial);

// BUILD_TZ_AT_DEPTH
// Curve k of set at vertical coordinate x with soil code: tmax from the
// user's friction or the side-friction rules (depth below the pile's ground
// line; none above it or in code 0), the friction angle in degrees, and the
// shape of the pile type and code.
//   in,out: status  a failing soil query's code; the curve is then unfinished
void BUILD_TZ_AT_DEPTH(const TransferModel& m, TzCurveSet& set, int k, double x, int code, int& status);

// PIN_CURVE_FRICTION: tmax(k) := 1e-6 and the shape refilled.
void PIN_CURVE_FRICTION(const TransferModel& m, TzCurveSet& set, int k);

// BUILD_NODE_CURVES
// The node curves of the model, node i at x_h + (i - 1) h_v with the soil
// code there. Every point of a curve is written, so a model can be reused.
void BUILD_NODE_CURVES(TransferModel& m, int& status);

// LAYER_CURVE_DEPTHS
// The depths of the three printed curves of every soil layer: a short step
// below its top (the pile's ground line for layer 1), the middle and a
// short step above its bottom; depth(3l-2 .. 3l) of set, codes likewise.
void LAYER_CURVE_DEPTHS(const TransferModel& m, TzCurveSet& set, int first);

// FRICTION_ON_NODE_CURVES
// Unit side friction at depth d and movement z: linear in depth between the
// two node curves around d (the last curve at or below the last node, 0
// above the head), each read linearly in z and held beyond its last point.
double FRICTION_ON_NODE_CURVES(const TzCurveSet& nodes, double d, double z);

// BOUNDARY_VALUE
// A section value at position s: linear between the boundaries around s,
// the last boundary's value below the last section.
double BOUNDARY_VALUE(const TransferModel& m, const Array1<double, TRANSFER_BOUNDARIES>& values, double s);

// Where MARCH_PILE prints its element rows (none when unit is 0).
struct MarchListing {
  int unit = 0;
  double sign = 1.0;
};

// Movement and load of the lower node of every element as a march accepts
// it, rows as the pile's node tables (head row 4, tip row n_inc + 4).
struct MarchProfile {
  double sign = 1.0;  // applied to every stored value
  double* movement = nullptr;
  double* load = nullptr;  // both indexed by row, row 1 at [0]
};

// MARCH_ELEMENTS
// The march of MARCH_PILE without its warning: false when an element does
// not settle within TRANSFER_MAX_ELEMENT_ITERATIONS (or its movement is not
// finite), the rows stored so far standing. With a profile, each accepted
// element stores its lower node and the head element also the head. The
// element that did not settle (1 at the tip) goes to failed_element when given.
bool MARCH_ELEMENTS(const TransferModel& m, double lever, double start_load, double start_move,
                    const MarchListing& listing, const MarchProfile* profile, double& head_load, double& head_move,
                    int* failed_element = nullptr);

// MARCH_PILE
// From the tip (load start_load, movement start_move) to the head, each
// element settled by fixed-point iteration on the movement at its middle.
//   in:     lever  1 for loads; the radius for torques (movement r theta,
//                  torque t r h C)
//           curve_tag  "LS CURVE" or "TR CURVE" for the warning
//   out:    head_load, head_move
//   in,out: status  STATUS_GENERATION_NO_CONVERGENCE, with a warning on the
//                   run log, when an element does not settle
void MARCH_PILE(const TransferModel& m, double lever, double start_load, double start_move, const MarchListing& listing,
                std::string_view curve_tag, double& head_load, double& head_move, int& status);

// The tabled q-w curves of a pile tip, point 1 (index 0) the origin.
using TipTable = double[TZ_POINTS];
// Driven tip in sand, inches.
inline constexpr TipTable DRIVEN_GRANULAR_W = {0.0,           double(1e-4f), double(0.005f), double(0.01f),
                                               double(0.05f), double(0.1f),  double(0.2f),   double(0.4f),
                                               double(0.8f),  double(5.0f)};
// Drilled tips and the driven code-5 tip: w / D and Q / Q_t.
inline constexpr TipTable DRILLED_TIP_W = {0.0,           double(0.005f), double(0.01f), double(0.015f), double(0.025f),
                                           double(0.03f), double(0.04f),  double(0.05f), double(0.07f),  double(0.1f)};
inline constexpr TipTable DRILLED_GRANULAR_Q = {
    0.0,           double(0.175f), double(0.345f), double(0.485f), double(0.65f),
    double(0.73f), double(0.88f),  double(1.015f), double(1.195f), double(1.46f)};
inline constexpr TipTable DRILLED_COHESIVE_Q = {
    0.0,          double(0.395f), double(0.56f), double(0.7f),  double(0.865f),
    double(0.9f), double(0.95f),  double(0.97f), double(0.98f), double(0.99f)};
inline constexpr TipTable DRIVEN_USER_W = {0.0,          double(0.002f), double(0.013f), double(0.042f), double(0.073f),
                                           double(0.1f), double(0.12f),  double(0.15f),  double(0.18f),  double(0.2f)};
inline constexpr TipTable DRIVEN_USER_Q = {0.0, 0.25, 0.5, 0.75, double(0.9f), 1.0, 1.0, 1.0, 1.0, 1.0};

// The driven tip in sand follows q = Q (w / w_r)^n with the reference
// movement w_r this fraction of the diameter.
constexpr double TIP_REFERENCE_MOVEMENT_FACTOR = double(0.05f);

// DRIVEN_GRANULAR_TIP_EXPONENT
// The exponent n of the driven tip in sand: 0.5 up to 31 degrees, 0.333 up
// to 38 degrees, 0.25 above.
double DRIVEN_GRANULAR_TIP_EXPONENT(double phi_deg);

// The q-w curve of a pile tip: TZ_POINTS points from the origin.
struct TipCurve {
  double w[TZ_POINTS] = {};
  double q[TZ_POINTS] = {};
};

// BUILD_TIP_CURVE
// The ultimate tip load and the tip curve of the model's pile for one side
// (the uplift side bears on a tip area of 1e-4). With along_pile, the
// rules of the axial load variation: a missing e50 takes the soft-clay
// default whatever the code, and a missing tip resistance in any code but
// the clays takes the bearing-factor (driven) or drilled-shaft rule, with no
// added cohesion term for silt.
//   in,out: status  a soil query's code, STATUS_LS_CURVE_ZERO_E50 or
//                   STATUS_LS_CURVE_ZERO_COHESION (with their warning); the
//                   routine returns false then
bool BUILD_TIP_CURVE(const TransferModel& m, int side, bool along_pile, TipCurve& tip, int& status);

// TIP_LOAD_AT: Q at tip movement w, linear on the segment that reaches w,
// the last segment extended beyond the curve.
double TIP_LOAD_AT(const TipCurve& tip, double w);

// INCHES_IN_MODEL: a movement tabled in inches in the model length unit.
double INCHES_IN_MODEL(double inches);

// TIP_LAYER_CODE: the code of the first layer whose bottom lies below x,
// or of the last layer.
int TIP_LAYER_CODE(double x);

// SOIL_LAYER_PLACE
// "SOIL LAYER 2 AT INPUT SECTION 10 (SOIL LAYERS), LINE 45": the layer of
// depth x as TIP_LAYER_CODE finds it, and the line of its first point.
std::string SOIL_LAYER_PLACE(double x);

// SET_GENERATION_CAUSE
// Keeps, as the detail line of a curve generator's failure, where along the
// pile it arose (the caller adds the curve, the pile and its property set).
// Only on the calling thread: the generators run in the input echo.
void SET_GENERATION_CAUSE(std::string_view cause);

// WRITE_CURVE_WARNING
// The warning block "**** WARNING ****" with one text line, on the results
// report and the run log.
void WRITE_CURVE_WARNING(std::string_view text);

// ------------------------------------------- axial load variation

// Corrections of the tip movement before the variation gives up.
constexpr int AXIAL_VARIATION_MAX_ITERATIONS = 25;

// The work of one axial load variation: the pile's load-transfer model
// (section boundaries, one t-z curve per node) and its tip curve.
struct PileTransferWork {
  TransferModel model;
  TipCurve tip;
};

// BUILD_PILE_TZ_CURVES
// The section boundaries of property q and one t-z curve at every node of
// pile p as the generator builds them, except that a node in soil with a
// soil code among the first two nodes has the friction 1e-6.
//   in,out: status  a failing soil query's code; the curves stop there
void BUILD_PILE_TZ_CURVES(int p, int q, double u, int& status, PileTransferWork& work);

// BUILD_PILE_TIP_QW_CURVE
// Moves the curves of nodes 1 and 2 to the pile's ground line and builds the
// tip curve of the side of u (BUILD_TIP_CURVE along the pile).
//   in,out: status  a soil query's code, STATUS_LS_CURVE_ZERO_E50,
//                   STATUS_LS_CURVE_ZERO_COHESION
void BUILD_PILE_TIP_QW_CURVE(int p, int q, double u, int& status, PileTransferWork& work);

// SOLVE_PILE_AXIAL_TRANSFER
// The tip movement whose march reproduces the head movement u, started
// from the generated curve's own tip movements (ComputedLsTable, row of the
// property that defined the pile's curve) and corrected by Newton steps
// kept inside a bracket. A u outside the generated range gets the end tip
// movement and one march. Writes the movement and load of every node (head
// row 4 .. tip row n_inc + 4) of the last march.
//   out:    error  PILE_ERR_AXIAL_VARIATION (4) after 25 corrections or
//                  an element that does not settle; else unchanged
void SOLVE_PILE_AXIAL_TRANSFER(int p, int q, double u, int& status, PileRowVector& movement, PileRowVector& load,
                               PileTransferWork& work, int& error);

}  // namespace pilecap
