// The model store: the fixed-capacity tables created at the start of every
// run and released at its end. Sizes are constants of the engine, never taken
// from the input. Tables are one-based, the first index the pile (pile row,
// property set, curve or load set) and varying fastest. Memory comes zeroed
// from the operating system, so pages a small model never touches are never
// made resident.
#pragma once

#include "base/arrays.hpp"

namespace pilecap {

// Capacities.
constexpr int TABLE_CAPACITY = 2501;        // entries per pile table (piles + the embedded cap)
constexpr int DEPTH_TABLE_CAPACITY = 2500;  // depth, node and load-set tables
constexpr int PILE_NODE_ROWS = 207;         // rows of a pile's node tables (node j at row j + 3)
constexpr int PILE_DEPTH_STATIONS = 201;    // stations of load and movement tables, points of a load set
constexpr int MAX_CURVE_POINTS = 50;        // points of a load-settlement or torque-rotation curve
constexpr int MAX_LAYERS_PER_PILE = 40;
constexpr int NODAL_RESULT_COUNT = 29;
constexpr int SOIL_MOVEMENT_ROWS = 25;
constexpr int PILE_TOP_RESULT_COUNT = 13;
constexpr int PILE_HEAD_DOFS = 6;
constexpr int EQUIVALENT_TOP_VALUES = 4;
constexpr int EQUIVALENT_NODE_VALUES = 3;
constexpr int ARRANGEMENT_REALS_2D = 9;
constexpr int ARRANGEMENT_REALS_3D = 14;
constexpr int ARRANGEMENT_INTS_2D = 7;
constexpr int ARRANGEMENT_INTS_3D = 10;

// ---------------------------------------------------------------- block A

// Pile-top values (pile, column 1..13): current, maximum and minimum
// envelopes, each in global and in pile axes.
struct PileTopResultsRecord {
  Table2<double> max_global, max_local, min_global, min_local, current_global, current_local;
};
extern PileTopResultsRecord PileTopResults;

// Node results (pile, row 1..207, quantity 1..29).
struct NodeResultsRecord {
  Table3<double> max_env, min_env, current;
};
extern NodeResultsRecord NodeResults;

struct EquivalentStiffnessRecord {
  Table2<double> top;   // (pile, 1..4)
  Table3<double> node;  // (pile, row, 1..3)
};
extern EquivalentStiffnessRecord EquivalentStiffness;

struct EquivalentSpringsRecord {
  Table2<double> node_spring;  // (pile, row)
  Table1<double> axial_stiffness, torsional_stiffness, axial_force;
};
extern EquivalentSpringsRecord EquivalentSprings;

// The distributed-load sets (section 5) and the soil-movement sets
// (section 6): (set, point, 1 depth / 2 value) and the point count per set.
struct LoadSetHalf {
  int count = 0;
  Table3<double> points;
  Table1<int> num_points;
  double& depth(int set, int point) { return points(set, point, 1); }
  double& value(int set, int point) { return points(set, point, 2); }
};
struct LoadSetTableRecord {
  LoadSetHalf loads;
  LoadSetHalf movements;
};
extern LoadSetTableRecord LoadSetTable;

// The soil-movement profile: the points of input section 21 (depth, move_y,
// move_z), two working pairs of the movements (scaled for the running case,
// and as read), and the tables along the piles (pile, row 1..25).
struct SoilMovementProfileRecord {
  int count = 0;
  Array1<double, SOIL_MOVEMENT_ROWS> depth{}, move_y{}, move_z{};
  Array1<double, SOIL_MOVEMENT_ROWS> scaled_move_y{}, scaled_move_z{}, read_move_y{}, read_move_z{};
  Table2<double> pile_depth, pile_move_y, pile_move_z;
};
extern SoilMovementProfileRecord SoilMovementProfile;

// ---------------------------------------------------------------- block B

struct ClosePileFactorsRecord {
  Table1<double> p_factor_1, y_factor_1, p_factor_2, y_factor_2;
};
extern ClosePileFactorsRecord ClosePileFactors;

struct PileTableRecord {
  int n_piles = 0;
  Table1<double> p_factor_saved, y_factor_saved, n_identical, head_x, head_y, head_z, angle_extra, beta, alpha,
      spring_zz, spring_yy, axial_factor, ground, head_depth, head_plan, batter, theta, spacing, cos_alpha, sin_alpha,
      cos_beta, sin_beta, sin_theta, cos_theta;
  Table3<double> head_force;      // (pile, 1..6, 1)
  Table3<double> head_stiffness;  // (pile, 6, 6)
  Table1<int> prop, ls_curve, py_set, tr_curve, rfl_set, unused_column_8, gen_ls_curve, gen_tr_curve, conn_zz, conn_yy;
};
extern PileTableRecord PileTable;

// Per-pile 6 x 6 matrices of the pile heads (pile, 6, 6).
struct PileHeadMatricesRecord {
  Table3<double> matrix;
};
extern PileHeadMatricesRecord PileHeadMatrices;

// Loads and soil movements along the piles of the running case.
struct PileLoadProfileRecord {
  Table1<double> axial_resultant;
  Table2<double> load_depth, load_y, load_z, move_depth, move_y, move_z, saved_load_y, saved_load_z, saved_move_y,
      saved_move_z;
  Table1<int> load_count, move_count;
  int axial_present = 0;  // 1 once an axial resultant was added since the load tables were filled
};
extern PileLoadProfileRecord PileLoadProfile;

struct PlasticHingeTableRecord {
  Table2<double> hinge_z, hinge_y;  // (pile, row)
  Table1<int> hinge_count_z, hinge_count_y;
};
extern PlasticHingeTableRecord PlasticHingeTable;

struct PileNodesRecord {
  Table2<double> depth, axial_x;  // (pile, node)
};
extern PileNodesRecord PileNodes;

// Section 7 as read: 2D rows or 3D piles, integer and real columns.
struct PileArrangementInputRecord {
  int n_rows_2d = 0;
  int n_piles_3d = 0;
  Table2<double> real_2d, real_3d;
  Table2<int> int_2d, int_3d;
};
extern PileArrangementInputRecord PileArrangementInput;

// Sections 13 and 14: the piles whose curves are generated.
struct GeneratedCurvePilesRecord {
  int ls_count = 0;
  int tr_count = 0;
  Table1<int> ls_piles, tr_piles;
};
extern GeneratedCurvePilesRecord GeneratedCurvePiles;

// ---------------------------------------------------------------- block C

struct PileLayerDataRecord {
  Table2<double> eq_depth, ultimate_resistance;  // (pile, layer)
  Table2<int> first_node, last_node;
};
extern PileLayerDataRecord PileLayerData;

struct PileSoilDataRecord {
  Table1<double> ground_line, first_node_reaction;
};
extern PileSoilDataRecord PileSoilData;

struct ComputedLsTableRecord {
  Table2<double> top_movement, top_load, tip_movement, tip_load;  // (property, point)
};
extern ComputedLsTableRecord ComputedLsTable;

struct GeneratedLsCurveRecord {
  int count = 0;
  Table1<int> pile;
  Table2<double> movement, load;  // (curve, point)
  Table1<int> point_count;
};
extern GeneratedLsCurveRecord GeneratedLsCurve;

struct GeneratedTrCurveRecord {
  int count = 0;
  Table1<int> pile;
  Table2<double> rotation, torque;
  Table1<int> point_count;
};
extern GeneratedTrCurveRecord GeneratedTrCurve;

// --------------------------------------------------------------- routines

// Failure code stored when the allocator cannot supply a table.
constexpr int ALLOCATION_FAILED = 1;

// ALLOCATE_MODEL_ARRAYS
// Creates the tables of blocks A, B and C in order; stops at the first
// failure, releases what was created and leaves ALLOCATION_FAILED in status.
//   in,out: status  0 on success
void ALLOCATE_MODEL_ARRAYS(int& status);

// RELEASE_MODEL_ARRAYS
// Releases blocks C, B, A, each table in reverse order of creation; a
// complete release leaves status 0 whatever it held.
void RELEASE_MODEL_ARRAYS(int& status);

// Test seam: the k-th table creation of the next ALLOCATE_MODEL_ARRAYS calls
// fails (k >= 1); 0 turns the injection off.
void set_failing_table_creation(int k);

// Number of tables the store creates (for tests of the injection seam).
int model_table_count();

}  // namespace pilecap
