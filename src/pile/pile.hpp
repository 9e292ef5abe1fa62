// Single-pile analysis: the node layout of a pile, loads and soil
// movements at its nodes, bending stiffness, the pile transformation, the
// laterally loaded pile and its result stores. The property sets and
// sections are in model/sections.hpp.
#pragma once

#include "base/arrays.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"

namespace pilecap {

// ============================================================ node layout
// Node j of a pile (j = 1 head .. n + 1 tip) sits at row j of PileNodes and
// of the node vectors below; the lateral solvers' work vectors put it at
// row j + 3 (PileRowVector).

// The failure message of a pile that reaches below the deepest soil layer.
//   "     THE PILE LENGTH,  0.12E+04( IN), EXTENDS BELOW THE"
constexpr const char* PILE_BELOW_DEEPEST_LAYER_LAYOUT =
    "(/,/,/,5X,\"**** FATAL ERROR ****\",/,5X,\"THE PILE LENGTH, \",E10.2,\"(\",A3,\")\",\", EXTENDS BELOW THE\",/,5X,"
    "\"BOTTOM OF THE DEEPEST LAYER.\")";
// A node deeper than the bottom of the deepest layer by more than this fails.
constexpr double BELOW_DEEPEST_LAYER_TOLERANCE = double(1e-8f);

// PREPARE_NODE_LAYOUT
// The values the node layouts share between piles, set once on the calling
// thread before any parallel loop over piles: the increment length of the
// property set of every pile (the cap entry included) and the sentinel layer
// top after the deepest layer. Rejects a pile whose node depths would not
// advance downward where the layout counts the points above its head.
//   Reads:  PileTable (n_piles, prop, batter, head_x, py_set), PileProperty,
//           SoilProfile, RunOptions (adjust_batter_depth, user_py_curves)
//   Writes: PileProperty.increment, SoilProfile.layer_top(num_layers + 1)
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line for a pile
//                   whose batter gives a vertical step that is not positive,
//                   or too small to count the points above its head to an
//                   end, while its head lies below the top of the first layer
void PREPARE_NODE_LAYOUT(int& status);

// CHECK_PILES_REACH_THE_SOIL
// Refuses, at input, a pile that the analysis could not hold: one whose head
// is more than its vertical reach above its ground line (it never touches
// the ground, and the cap finds no equilibrium), one whose tip lies below
// the end of the soil layers (the axial curves and the lateral solution
// would stop without naming the pile), and one whose tip does not reach
// below the top of the soil layers (no soil holds it). Called after
// PREPARE_NODE_LAYOUT.
//   Reads:  PileTable (n_piles, prop, batter, head_x, ground, py_set),
//           PileProperty, SoilProfile, RunOptions, UnitLabels
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line naming the
//                   pile and the two depths or heights
void CHECK_PILES_REACH_THE_SOIL(int& status);

// NODE / NODE2D
// Lays out the nodes of one pile (3D pile or 2D pile row) at equal steps from
// its head, gives each soil layer the range of nodes inside it, and checks
// that the pile ends above the bottom of the deepest layer. Numbers 0 and
// below count points above a head that lies below the top of the first
// layer; a range 0/0 marks a layer the pile does not reach (every layer of
// a pile with its own p-y curves).
//   Reads:  PileTable, PileProperty (length, n_increments, increment), the
//           sentinel layer top (PREPARE_NODE_LAYOUT), SoilProfile, RunOptions
//   Writes: PileNodes rows 1..n + 1 and PileLayerData ranges of the pile
//   in:     pile    1-based, 1 <= pile <= n_piles + 1
//   in,out: status  NODE: 0 on success, STATUS_PILE_BELOW_DEEPEST_LAYER on
//                   failure; NODE2D: unchanged on success,
//                   STATUS_PILE_BELOW_DEEPEST_LAYER_2D on failure. The
//                   failure writes its message to the results report and
//                   the run log; the caller must not solve the pile then.
void NODE(int pile, int& status);
void NODE2D(int pile, int& status);

// ===================================================== loads at the nodes
// Node vectors here hold node j at index j (PileNodeVector).

using PileNodeVector = Array1<double, PILE_NODE_ROWS>;

// A station closer than this (single precision) to the next counts as equal.
constexpr double PROFILE_STATION_TOLERANCE = double(1e-5f);

// SOIL_MOVE_PROFILE_ON_PILE
// Carries the soil-movement profile (global Y and Z by depth) into the local
// lateral directions of one pile: in 2D the Y movement times the cosine of
// the batter, in 3D the horizontal vector turned by the pile's rotation.
//   Reads:  SoilMovementProfile (count, depth, move_y, move_z), PileTable
//           (batter; alpha, beta, theta), RunOptions.dimension
//   Writes: SoilMovementProfile.pile_depth, pile_move_y, pile_move_z of the
//           pile (points 1..count); nothing shared (pi is not stored here:
//           it is fixed before the parallel loops)
//   in:     pile  1-based; the profile holds at most SOIL_MOVEMENT_ROWS points
void SOIL_MOVE_PROFILE_ON_PILE(int pile);

// Values of one table at the nodes 1..n + 1 of a pile, linear between
// stations, 0 outside the table (no extrapolation); two stations closer
// than the tolerance give the mean of their values; a one-station table
// gives its value to a node exactly at the station. The callers call them
// only for a table with at least one station.
//   DIST_LOAD_AT_NODES_Y/_Z  PileLoadProfile load stations, by distance from the head
//   SOIL_MOVE_AT_NODES_Y/_Z  PileLoadProfile movement stations, by distance from the head
//   PROFILE_MOVE_AT_NODES_Y/_Z  the pile's soil-movement profile, by node
//                            depth; 0 for a node above the pile's ground line
//   Reads:  PileNodes, PileTable (prop, head_depth, ground), PileProperty
//   out:    values  node j at index j
void DIST_LOAD_AT_NODES_Y(int pile, PileNodeVector& values);
void DIST_LOAD_AT_NODES_Z(int pile, PileNodeVector& values);
void SOIL_MOVE_AT_NODES_Y(int pile, PileNodeVector& values);
void SOIL_MOVE_AT_NODES_Z(int pile, PileNodeVector& values);
void PROFILE_MOVE_AT_NODES_Y(int pile, PileNodeVector& values);
void PROFILE_MOVE_AT_NODES_Z(int pile, PileNodeVector& values);

// ZERO_NODE_VALUES: values 1..n + 1 of the pile := 0, nothing after them.
void ZERO_NODE_VALUES(int pile, PileNodeVector& values);

// ======================================================= bending stiffness

// Bending axes of NODE_FLEXURAL_RIGIDITY.
constexpr int AXIS_ZZ = 0;
constexpr int AXIS_YY = 1;

// A curvature below this (single precision) is taken as zero.
constexpr double ZERO_CURVATURE = double(1e-15f);

// NODE_FLEXURAL_RIGIDITY
// The secant flexural rigidity of every node of a pile for one bending axis
// at the curvature of the given deflections, with a yielded flag: from the
// moment-curvature curves of the node's section (interpolated between the
// curves bracketing the axial force), from its bilinear law, or from an
// elastic-perfectly-plastic law of a section with a given moment capacity.
// An elastic section keeps the EI it has and gets flag 0; a section with
// general curves keeps its flag. Where a law has no positive divisor, the
// node takes the last EI a plastic or bilinear law gave earlier in the call,
// or keeps its present EI when none did.
//   Reads:  PileTable.prop, PileProperty, PileNodes.axial_x, PileSection,
//           MomentCurvatureSet, RunOptions.nonsymmetric_ei
//   in:     pile, axis (AXIS_ZZ or AXIS_YY), axial_force (the pile's axial force)
//   in:     deflection  rows 3..n + 5
//   in,out: ei, yielded  rows 4..n + 4
void NODE_FLEXURAL_RIGIDITY(int pile, int axis, double axial_force, PileRowVector& ei, const PileRowVector& deflection,
                            PileRowFlags& yielded);

// SECANT_EI_BILINEAR
// The secant rigidity and yielded flag of a bilinear moment-curvature set at
// a curvature, from the yield point at zero axial load (interpolated between
// the curves that bracket it). The axial force is not used. Under the
// nonsymmetric option, with the zero load not bracketed, the yield points of
// the nearest curve serve.
//   out: ei, yielded (1 at or beyond yield)
void SECANT_EI_BILINEAR(int pile, int set, double axial_force, double curvature, double& ei, int& yielded);

// ========================================================= transformation

// A 6 x 6 matrix column by column, entry (i, j) 1-based.
using Matrix6 = Array2<double, 6, 6>;

// PILE_TRANSFORMATION
// The matrices between the cap origin and one pile head: T carries the cap
// displacement (uX, uY, uZ, rX, rY, rZ) to the head, u + theta x r with r the
// head coordinates; its transpose carries a head force to the origin; R
// carries a vector in pile axes (axial, lateral y, lateral z, then the
// rotations) to global axes, Q = Rx(alpha) Rz(90 deg - beta) Rx(theta) in
// both diagonal blocks; R transposed carries back.
//   Reads: PileTable (head_x, head_y, head_z, alpha, beta, theta)
//   in:    pile  1-based
//   out:   every entry of the four matrices
void PILE_TRANSFORMATION(int pile, Matrix6& offset_transposed, Matrix6& offset, Matrix6& rotation,
                         Matrix6& rotation_transposed);

// ====================================================== lateral pile in 3D

// Head connection codes of PileTable.conn_zz and conn_yy; any other code
// acts as a rotational spring.
constexpr int CONN_PIN = 1;
constexpr int CONN_FIX = 2;
constexpr int CONN_RES = 3;

// The no-closure warning of a lateral solution.
//   "     ** WARNING **  NO CLOSURE OF A LLP AFTER   100  ITERATIONS          PILE GROUP    7"
constexpr const char* NO_CLOSURE_LAYOUT =
    "(/,/,5X,\"** WARNING **  \",\"NO CLOSURE OF A LLP AFTER \",I5,2X,\"ITERATIONS\",10X,\"PILE GROUP\",I5)";

// The work of one lateral solution; every vector node j at row j + 3.
struct LateralPileWork {
  PileRowVector deflection_y, deflection_z, previous_deflection_y, previous_deflection_z;
  PileRowVector ei_zz, ei_yy, ei_zz_saved, ei_yy_saved;
  PileRowVector axial_force, soil_modulus, load_y, load_z, dist_load_y, dist_load_z, soil_move_y, soil_move_z;
  PileRowVector soil_reaction, resultant_deflection, modulus_times_movement;
  // The safeguarded iteration's previous solve and its change, per plane.
  PileRowVector guard_solve_y, guard_solve_z, guard_change_y, guard_change_z;
  PileRowFlags hinge_zz, hinge_yy;
  PileRowVector coef_a, coef_b, coef_c;
  // The z plane's recursion coefficients when both planes run in one loop.
  PileRowVector coef_a_z, coef_b_z, coef_c_z;
  // Results of a closed solution, rows 4..n + 5 (shears and reactions 4..n + 4).
  PileRowVector slope_y, slope_z, moment_zz, moment_yy, shear_y, shear_z, reaction_y, reaction_z;
};

// The lateral soil springs of one pile, with the argument order of
// SOIL_REACTION_AT_NODES: node arrays addressed by node number, node j at
// pointer[j] (j down to -2 for points above the head).
using SoilReactionProvider = void (*)(int& prop_set, int& status, int& pile, int& factor_index, const double* y,
                                      double* es, const double* move1, const double* move2, double* es_move, double* p);

// SET_SOIL_REACTION_PROVIDER
// Replaces the soil springs of the lateral solutions; nullptr restores
// SOIL_REACTION_AT_NODES. Set it outside parallel regions only.
void SET_SOIL_REACTION_PROVIDER(SoilReactionProvider provider);

// USER_PY_PILE_MODULUS
// Secant moduli and reactions of a pile from its own user p-y curves (set
// |PileTable.py_set|) over its whole length: at every node the curves that
// bracket the node's depth, head depth + (node - 1) h, are read at its
// deflection (less the soil movement); Es = P-FACTOR p / (u Y-FACTOR)
// interpolated by depth, times pm / ym of the pile's depth factors at the
// distance from the head; the reaction is P-FACTOR times the deeper curve's
// p, opposing the deflection. A node above coordinate 0 gets Es = 0. With the
// cap option a first pass evaluates nodes 1 and 2 for the cap element. Every
// vector is one of the lateral solvers' row vectors: node j at row j + 3.
//   Reads:  PileTable, PileProperty, UserPyCurveSet, ClosePileFactors,
//           DepthFactorTable, soil movements, CapPassiveState.horizontal_movement
//   Writes: PileSoilData.ground_line and, in the cap element's pass,
//           first_node_reaction of the pile
//   in:     deflection, move_y, move_z  rows 4 .. n + 4
//   out:    modulus, modulus_times_movement (with soil movements), reaction
//   Curves that end above a node: REPORT_PY_CURVES_SHORT (the pile's error
//   word PILE_ERR_PY_TOO_SHORT and its warning), the remaining rows unchanged.
void USER_PY_PILE_MODULUS(int pile, const PileRowVector& deflection, PileRowVector& modulus,
                          const PileRowVector& move_y, const PileRowVector& move_z,
                          PileRowVector& modulus_times_movement, PileRowVector& reaction);

// ======================================================== result stores

// The node quantities of NodeResults, in their column order.
enum NodeQuantity : int {
  NR_DISPL_X = 1,
  NR_DISPL_Y,
  NR_DISPL_Z,
  NR_DISPL_YZ,
  NR_DISPL_GX,
  NR_DISPL_GY,
  NR_DISPL_GZ,
  NR_DISPL_GYZ,
  NR_MOMENT_Z,
  NR_MOMENT_Y,
  NR_MOMENT_YZ,
  NR_SHEAR_Y,
  NR_SHEAR_Z,
  NR_SHEAR_YZ,
  NR_SOIL_REACTION_Y,
  NR_SOIL_REACTION_Z,
  NR_SOIL_REACTION_YZ,
  NR_AXIAL_FORCE,
  NR_TOTAL_STRESS,
  NR_FLEX_RIGIDITY_Z,
  NR_FLEX_RIGIDITY_Y,
  NR_DIST_LOAD_Y,
  NR_DIST_LOAD_Z,
  NR_DEMAND_CAPACITY_MOMENT,
  NR_DEMAND_CAPACITY_SHEAR,
  NR_ROTATION_Z,
  NR_ROTATION_Y,
  NR_HINGE_Z,
  NR_HINGE_Y
};

// The pile-top columns of PileTopResults in 3D (global / local meaning).
enum PileTopColumn : int {
  PT_DISP_X = 1,
  PT_DISP_Y,
  PT_DISP_Z,
  PT_ROT_X,
  PT_ROT_Y,
  PT_ROT_Z,
  PT_FORCE_X,
  PT_FORCE_Y,
  PT_FORCE_Z,
  PT_MOMENT_X,
  PT_MOMENT_Y,
  PT_MOMENT_Z,
  PT_STRESS
};
// The seven columns a 2D run uses.
constexpr int PILE_TOP_COLUMNS_2D = 7;

// The node results of one pile: column q (a NodeQuantity) row r, node j at
// row j + 3.
using NodeResultBlock = Array2<double, PILE_NODE_ROWS, NODAL_RESULT_COUNT>;

// The work arrays a 3D lateral solution hands to the packing, one per
// quantity (the two yielded-flag arrays as integers).
struct NodeResultColumns3D {
  const PileRowVector *y, *z, *moment_zz, *moment_yy, *shear_y, *shear_z, *reaction_y, *reaction_z, *stress;
  const PileRowVector *ei_zz, *ei_yy, *deflection_yz, *moment_yz, *reaction_yz, *shear_yz, *ratio_moment;
  const PileRowVector *ratio_shear, *axial_displacement, *axial_force, *global_x, *global_y, *global_z;
  const PileRowVector *global_yz, *dist_load_y, *dist_load_z, *slope_y, *slope_z;
  const PileRowFlags *hinge_zz, *hinge_yy;
};

// PACK_PILE_NODE_RESULTS_3D
// Copies rows 1..PILE_NODE_ROWS of every work array into the column of its
// quantity; the yielded flags become 0.0 or 1.0.
void PACK_PILE_NODE_RESULTS_3D(NodeResultBlock& block, const NodeResultColumns3D& columns);

// The work arrays a 2D lateral solution hands to the packing.
struct NodeResultColumns2D {
  const PileRowVector *y, *moment, *shear, *reaction, *stress, *ei, *ratio_moment, *ratio_shear;
  const PileRowVector *axial_displacement, *axial_force, *global_x, *global_y, *dist_load, *slope;
  const PileRowFlags* hinge;
};

// PACK_PILE_NODE_RESULTS (2D)
// Zeroes the whole block, then copies rows 1..PILE_NODE_ROWS of every work
// array into the column of its quantity (the plane quantities 1, 2, 5, 6, 9,
// 12, 15, 18, 19, 20, 22, 24, 25, 26 and 28); the space-only columns stay 0.
void PACK_PILE_NODE_RESULTS(NodeResultBlock& block, const NodeResultColumns2D& columns);

// STORE_PILE_NODE_RESULTS
// Rows 4..last_row of all 29 quantities of a pile into NodeResults: the
// envelopes restart when AnalysisControl.first_run is 1, then take a value
// strictly above (below) them, then the current value is stored.
//   Writes: NodeResults (current, max_env, min_env) of the pile only
void STORE_PILE_NODE_RESULTS(int pile, int last_row, const NodeResultBlock& block);

// STORE_PILE_HEAD_RESULTS_3D
// The 13 pile-top columns of a pile, global and local, with the same
// envelope rule; the head stress serves both.
//   in: the 6-vectors displacement and force (global, local), element 1 first
void STORE_PILE_HEAD_RESULTS_3D(int pile, double stress, const double* displacement_global,
                                const double* displacement_local, const double* force_global,
                                const double* force_local);

// STORE_PILE_HEAD_RESULTS (2D)
// Columns 1..7 (displacement X and Y, rotation, force X and Y, moment,
// stress), the local array with the axial and lateral displacement and the
// axial and lateral force; rotation, moment and stress serve both.
void STORE_PILE_HEAD_RESULTS(int pile, double global_x, double global_y, double rotation, double axial_displacement,
                             double lateral_displacement, double force_x, double force_y, double moment,
                             double axial_force, double lateral_force, double stress);

// COPY_PILE_NODE_ROW
// The n + 1 node springs of a pile (EquivalentSprings.node_spring, rows
// 1..n + 1) into destination elements 1..n + 1 (destination[0] is element 1).
void COPY_PILE_NODE_ROW(int pile, double* destination);

// PLANAR_MAGNITUDE: sqrt(a^2 + b^2), a component of magnitude below 1e-24
// taken as 0 first.
double PLANAR_MAGNITUDE(double a, double b);

// ROTATE_TO_GLOBAL_3D
// The global (X, Y, Z) of a vector (u_x, u_y, u_z) in the axes of a pile.
//   Reads: PileTable (alpha, beta, theta)
void ROTATE_TO_GLOBAL_3D(int pile, double u_x, double u_y, double u_z, double& x, double& y, double& z);

// LATERAL_PILE_RESULTS_3D
// The print-pass results of a closed 3D lateral solution: equivalent
// stiffnesses (pass 2) or the node and pile-top result stores (pass 1).
//   in: pile, the closed work record, axial force N, torque T, the head
//       displacement in pile axes (6), the rotation R, the axial profile
void LATERAL_PILE_RESULTS_3D(int pile, const LateralPileWork& work, double axial_force, double torque,
                             double head_force_y, double head_force_z, const double* head_displacement,
                             const Matrix6& rotation, const PileRowVector& axial_movement,
                             const PileRowVector& axial_load);

// SOLVE_LATERAL_PILE_3D
// Deflects one pile under a prescribed head displacement in its own axes on
// nonlinear soil springs, as a finite-difference beam-column in the y and
// z planes with the axial force, distributed loads and soil movements;
// iterates the soil moduli (at the resultant deflection) and the bending
// stiffness until no node moves by the closure tolerance between solves.
//   Reads:  AnalysisControl (llp_tolerance, llp_max_iterations,
//           axial_variation, ei_previous, pass_mode, analysis_kind,
//           pushover_active), PileTable, PileProperty, PileNodes (after
//           NODE), PileSection, MomentCurvatureSet, SoilProfile,
//           SoilMovementProfile, PileLoadProfile, RunOptions.user_py_curves
//   Writes: PileErrorWord.code (PILE_ERR_NO_CLOSURE); the print-pass stores
//   in:     pile, y_head, rotation_y (a fixed head has dy/dx = -rotation_y),
//           z_head, rotation_z, axial_force N, torque
//   out:    head_force_y, head_force_z, head_moment_zz, head_moment_yy
//           (M = -EI y'' at the head); 0 when the solution fails
//   in,out: status  a failure code of the soil springs travels up unchanged;
//                   a solution that does not close writes its warning and
//                   leaves status alone
//   in:     head_displacement (6, pile axes), rotation (R), axial_movement,
//           axial_load (rows): read in the print passes and for the axial
//           load variation
//   work:   one record of the caller's (no allocation)
void SOLVE_LATERAL_PILE_3D(int pile, double y_head, double rotation_y, double z_head, double rotation_z,
                           double axial_force, double torque, double& head_force_y, double& head_force_z,
                           double& head_moment_zz, double& head_moment_yy, int& status, const double* head_displacement,
                           const Matrix6& rotation, const PileRowVector& axial_movement,
                           const PileRowVector& axial_load, LateralPileWork& work);

// ====================================================== lateral pile in 2D

// ROTATE_BY_BATTER
// The global (X, Y) of a pile row's local (axial u_x, lateral y) pair:
// X = u_x cos b - y sin b, Y = u_x sin b + y cos b, b = PileTable.batter.
void ROTATE_BY_BATTER(int pile, double u_x, double y, double& x_global, double& y_global);

// LATERAL_PILE_RESULTS_2D
// The print-pass results of a closed 2D lateral solution: equivalent
// stiffnesses (pass 2) or the node and pile-top result stores (pass 1).
//   in: pile row, the closed work record (slope, moment and shear of the y
//       plane filled), axial force N, head force H, the head displacement in
//       pile axes (3: axial, lateral, rotation), the row transform T (3 x 3,
//       column-major), the axial profile
void LATERAL_PILE_RESULTS_2D(int pile, const LateralPileWork& work, double axial_force, double head_force,
                             const double* head_displacement, const double* transform,
                             const PileRowVector& axial_movement, const PileRowVector& axial_load);

// SOLVE_LATERAL_PILE_2D
// The laterally loaded pile of a 2D pile row (one pile of the row): the 3D
// method in the single bending plane (deflection y, bending about z-z), the
// soil springs at the signed deflection. The first moduli come from the p-y
// springs at a deflection falling linearly from the head value to 0 at the
// tip (a row with its own p-y curves starts from the node distances).
//   Reads:  as SOLVE_LATERAL_PILE_3D, PileTable.batter
//   Writes: PileErrorWord.code (PILE_ERR_NO_CLOSURE) of the current
//           evaluation; the print-pass stores
//   in:     pile (row), y_head, rotation (a fixed head has dy/dx = +rotation),
//           axial_force N
//   out:    head_force H, head_moment M (= -EI y'' at the head); 0 when the
//           solution fails
//   in,out: status  a failure code of the soil springs travels up unchanged
//   in:     head_displacement (3, pile axes), transform (3 x 3 column-major),
//           axial_movement, axial_load (rows)
//   work:   one record of the caller's
void SOLVE_LATERAL_PILE_2D(int pile, double y_head, double rotation, double axial_force, double& head_force,
                           double& head_moment, int& status, const double* head_displacement, const double* transform,
                           const PileRowVector& axial_movement, const PileRowVector& axial_load, LateralPileWork& work);

}  // namespace pilecap
