// Model store: creation and release of the fixed-capacity tables, block by
// block in a fixed order. A failed creation undoes the tables created before
// it, so the next run starts clean.
#include "model/model_store.hpp"

#include <functional>
#include <vector>

#include "base/unit_labels.hpp"

namespace pilecap {

static_assert(RESULT_HEADING_COLUMNS == NODAL_RESULT_COUNT, "one heading cell per result quantity");

PileTopResultsRecord PileTopResults;
NodeResultsRecord NodeResults;
EquivalentStiffnessRecord EquivalentStiffness;
EquivalentSpringsRecord EquivalentSprings;
LoadSetTableRecord LoadSetTable;
SoilMovementProfileRecord SoilMovementProfile;
ClosePileFactorsRecord ClosePileFactors;
PileTableRecord PileTable;
PileHeadMatricesRecord PileHeadMatrices;
PileLoadProfileRecord PileLoadProfile;
PlasticHingeTableRecord PlasticHingeTable;
PileNodesRecord PileNodes;
PileArrangementInputRecord PileArrangementInput;
GeneratedCurvePilesRecord GeneratedCurvePiles;
PileLayerDataRecord PileLayerData;
PileSoilDataRecord PileSoilData;
ComputedLsTableRecord ComputedLsTable;
GeneratedLsCurveRecord GeneratedLsCurve;
GeneratedTrCurveRecord GeneratedTrCurve;

namespace {

constexpr int T = TABLE_CAPACITY;
constexpr int D = DEPTH_TABLE_CAPACITY;
constexpr int ROWS = PILE_NODE_ROWS;
constexpr int STATIONS = PILE_DEPTH_STATIONS;
constexpr int POINT_AND_VALUE = 2;

// One table of the store: how to create it and how to release it.
struct StoreTable {
  std::function<bool()> create;
  std::function<void()> release;
};

template <class Tab>
StoreTable one(Tab& table, const char* name, int n) {
  return {[&table, name, n] { return table.create(name, n); }, [&table] { table.release(); }};
}
template <class Tab>
StoreTable two(Tab& table, const char* name, int n1, int n2) {
  return {[&table, name, n1, n2] { return table.create(name, n1, n2); }, [&table] { table.release(); }};
}
template <class Tab>
StoreTable three(Tab& table, const char* name, int n1, int n2, int n3) {
  return {[&table, name, n1, n2, n3] { return table.create(name, n1, n2, n3); }, [&table] { table.release(); }};
}

std::vector<StoreTable> block_a() {
  auto& P = PileTopResults;
  return {
      two(P.max_global, "PileTopResults.max_global", T, PILE_TOP_RESULT_COUNT),
      two(P.max_local, "PileTopResults.max_local", T, PILE_TOP_RESULT_COUNT),
      two(P.min_global, "PileTopResults.min_global", T, PILE_TOP_RESULT_COUNT),
      two(P.min_local, "PileTopResults.min_local", T, PILE_TOP_RESULT_COUNT),
      two(P.current_global, "PileTopResults.current_global", T, PILE_TOP_RESULT_COUNT),
      two(P.current_local, "PileTopResults.current_local", T, PILE_TOP_RESULT_COUNT),
      two(EquivalentStiffness.top, "EquivalentStiffness.top", T, EQUIVALENT_TOP_VALUES),
      three(NodeResults.max_env, "NodeResults.max_env", T, ROWS, NODAL_RESULT_COUNT),
      three(NodeResults.min_env, "NodeResults.min_env", T, ROWS, NODAL_RESULT_COUNT),
      three(NodeResults.current, "NodeResults.current", T, ROWS, NODAL_RESULT_COUNT),
      three(EquivalentStiffness.node, "EquivalentStiffness.node", T, ROWS, EQUIVALENT_NODE_VALUES),
      two(EquivalentSprings.node_spring, "EquivalentSprings.node_spring", T, ROWS),
      one(EquivalentSprings.axial_stiffness, "EquivalentSprings.axial_stiffness", T),
      one(EquivalentSprings.torsional_stiffness, "EquivalentSprings.torsional_stiffness", T),
      one(EquivalentSprings.axial_force, "EquivalentSprings.axial_force", T),
      three(LoadSetTable.loads.points, "LoadSetTable.loads", D, STATIONS, POINT_AND_VALUE),
      one(LoadSetTable.loads.num_points, "LoadSetTable.loads.num_points", D),
      three(LoadSetTable.movements.points, "LoadSetTable.movements", D, STATIONS, POINT_AND_VALUE),
      one(LoadSetTable.movements.num_points, "LoadSetTable.movements.num_points", D),
      two(SoilMovementProfile.pile_depth, "SoilMovementProfile.pile_depth", T, SOIL_MOVEMENT_ROWS),
      two(SoilMovementProfile.pile_move_y, "SoilMovementProfile.pile_move_y", T, SOIL_MOVEMENT_ROWS),
      two(SoilMovementProfile.pile_move_z, "SoilMovementProfile.pile_move_z", T, SOIL_MOVEMENT_ROWS),
  };
}

std::vector<StoreTable> block_b() {
  auto& P = PileTable;
  auto& L = PileLoadProfile;
  // Every per-pile table has TABLE_CAPACITY rows so that the embedded-cap
  // entry after the last pile always fits.
  return {
      one(ClosePileFactors.p_factor_1, "ClosePileFactors.p_factor_1", T),
      one(ClosePileFactors.y_factor_1, "ClosePileFactors.y_factor_1", T),
      one(ClosePileFactors.p_factor_2, "ClosePileFactors.p_factor_2", T),
      one(ClosePileFactors.y_factor_2, "ClosePileFactors.y_factor_2", T),
      one(P.p_factor_saved, "PileTable.p_factor_saved", T),
      one(P.y_factor_saved, "PileTable.y_factor_saved", T),
      one(P.n_identical, "PileTable.n_identical", T),
      one(P.head_x, "PileTable.head_x", T),
      one(P.head_y, "PileTable.head_y", T),
      one(P.head_z, "PileTable.head_z", T),
      one(P.angle_extra, "PileTable.angle_extra", T),
      one(P.beta, "PileTable.beta", T),
      one(P.alpha, "PileTable.alpha", T),
      one(P.spring_zz, "PileTable.spring_zz", T),
      one(P.spring_yy, "PileTable.spring_yy", T),
      one(P.axial_factor, "PileTable.axial_factor", T),
      one(P.ground, "PileTable.ground", T),
      one(P.head_depth, "PileTable.head_depth", T),
      one(P.head_plan, "PileTable.head_plan", T),
      one(P.batter, "PileTable.batter", T),
      one(P.theta, "PileTable.theta", T),
      one(L.axial_resultant, "PileLoadProfile.axial_resultant", T),
      one(P.spacing, "PileTable.spacing", T),
      one(P.cos_alpha, "PileTable.cos_alpha", T),
      one(P.sin_alpha, "PileTable.sin_alpha", T),
      one(P.cos_beta, "PileTable.cos_beta", T),
      one(P.sin_beta, "PileTable.sin_beta", T),
      one(P.sin_theta, "PileTable.sin_theta", T),
      one(P.cos_theta, "PileTable.cos_theta", T),
      three(P.head_force, "PileTable.head_force", T, PILE_HEAD_DOFS, 1),
      three(P.head_stiffness, "PileTable.head_stiffness", T, PILE_HEAD_DOFS, PILE_HEAD_DOFS),
      three(PileHeadMatrices.matrix, "PileHeadMatrices", T, PILE_HEAD_DOFS, PILE_HEAD_DOFS),
      two(L.load_depth, "PileLoadProfile.load_depth", T, STATIONS),
      two(L.load_y, "PileLoadProfile.load_y", T, STATIONS),
      two(L.load_z, "PileLoadProfile.load_z", T, STATIONS),
      two(L.move_depth, "PileLoadProfile.move_depth", T, STATIONS),
      two(L.move_y, "PileLoadProfile.move_y", T, STATIONS),
      two(L.move_z, "PileLoadProfile.move_z", T, STATIONS),
      two(L.saved_load_y, "PileLoadProfile.saved_load_y", T, STATIONS),
      two(L.saved_load_z, "PileLoadProfile.saved_load_z", T, STATIONS),
      two(L.saved_move_y, "PileLoadProfile.saved_move_y", T, STATIONS),
      two(L.saved_move_z, "PileLoadProfile.saved_move_z", T, STATIONS),
      two(PlasticHingeTable.hinge_z, "PlasticHingeTable.hinge_z", T, ROWS),
      two(PlasticHingeTable.hinge_y, "PlasticHingeTable.hinge_y", T, ROWS),
      two(PileNodes.depth, "PileNodes.depth", T, ROWS),
      two(PileNodes.axial_x, "PileNodes.axial_x", T, ROWS),
      one(P.prop, "PileTable.prop", T),
      one(P.ls_curve, "PileTable.ls_curve", T),
      one(P.py_set, "PileTable.py_set", T),
      one(P.tr_curve, "PileTable.tr_curve", T),
      one(P.rfl_set, "PileTable.rfl_set", T),
      one(P.unused_column_8, "PileTable.unused_column_8", T),
      one(P.gen_ls_curve, "PileTable.gen_ls_curve", T),
      one(P.gen_tr_curve, "PileTable.gen_tr_curve", T),
      one(GeneratedLsCurve.pile, "GeneratedLsCurve.pile", T),
      one(GeneratedTrCurve.pile, "GeneratedTrCurve.pile", T),
      one(P.conn_zz, "PileTable.conn_zz", T),
      one(P.conn_yy, "PileTable.conn_yy", T),
      one(L.load_count, "PileLoadProfile.load_count", T),
      one(L.move_count, "PileLoadProfile.move_count", T),
      one(PlasticHingeTable.hinge_count_z, "PlasticHingeTable.hinge_count_z", T),
      one(PlasticHingeTable.hinge_count_y, "PlasticHingeTable.hinge_count_y", T),
      two(PileArrangementInput.real_2d, "PileArrangementInput.real_2d", T, ARRANGEMENT_REALS_2D),
      two(PileArrangementInput.real_3d, "PileArrangementInput.real_3d", T, ARRANGEMENT_REALS_3D),
      two(PileArrangementInput.int_2d, "PileArrangementInput.int_2d", T, ARRANGEMENT_INTS_2D),
      two(PileArrangementInput.int_3d, "PileArrangementInput.int_3d", T, ARRANGEMENT_INTS_3D),
      one(GeneratedCurvePiles.ls_piles, "GeneratedCurvePiles.ls_piles", T),
      one(GeneratedCurvePiles.tr_piles, "GeneratedCurvePiles.tr_piles", T),
  };
}

std::vector<StoreTable> block_c() {
  return {
      two(PileLayerData.eq_depth, "PileLayerData.eq_depth", T, MAX_LAYERS_PER_PILE),
      two(PileLayerData.ultimate_resistance, "PileLayerData.ultimate_resistance", T, MAX_LAYERS_PER_PILE),
      one(PileSoilData.ground_line, "PileSoilData.ground_line", T),
      one(PileSoilData.first_node_reaction, "PileSoilData.first_node_reaction", T),
      two(PileLayerData.first_node, "PileLayerData.first_node", T, MAX_LAYERS_PER_PILE),
      two(PileLayerData.last_node, "PileLayerData.last_node", T, MAX_LAYERS_PER_PILE),
      two(ComputedLsTable.top_movement, "ComputedLsTable.top_movement", T, MAX_CURVE_POINTS),
      two(ComputedLsTable.top_load, "ComputedLsTable.top_load", T, MAX_CURVE_POINTS),
      two(ComputedLsTable.tip_movement, "ComputedLsTable.tip_movement", T, MAX_CURVE_POINTS),
      two(ComputedLsTable.tip_load, "ComputedLsTable.tip_load", T, MAX_CURVE_POINTS),
      two(GeneratedLsCurve.movement, "GeneratedLsCurve.movement", T, MAX_CURVE_POINTS),
      two(GeneratedLsCurve.load, "GeneratedLsCurve.load", T, MAX_CURVE_POINTS),
      one(GeneratedLsCurve.point_count, "GeneratedLsCurve.point_count", T),
      two(GeneratedTrCurve.rotation, "GeneratedTrCurve.rotation", T, MAX_CURVE_POINTS),
      two(GeneratedTrCurve.torque, "GeneratedTrCurve.torque", T, MAX_CURVE_POINTS),
      one(GeneratedTrCurve.point_count, "GeneratedTrCurve.point_count", T),
  };
}

// Every table in order of creation: blocks A, B, C.
const std::vector<StoreTable>& store_tables() {
  static const std::vector<StoreTable> tables = [] {
    std::vector<StoreTable> all = block_a();
    for (auto& t : block_b()) all.push_back(std::move(t));
    for (auto& t : block_c()) all.push_back(std::move(t));
    return all;
  }();
  return tables;
}

int failing_creation = 0;

}  // namespace

void set_failing_table_creation(int k) { failing_creation = k; }

int model_table_count() { return static_cast<int>(store_tables().size()); }

void ALLOCATE_MODEL_ARRAYS(int& status) {
  const auto& tables = store_tables();
  for (std::size_t k = 0; k < tables.size(); ++k) {
    const bool injected = failing_creation > 0 && static_cast<std::size_t>(failing_creation) == k + 1;
    if (injected || !tables[k].create()) {
      // Undo the tables created so far, so nothing survives into a later run.
      for (std::size_t done = k + 1; done-- > 0;) tables[done].release();
      status = ALLOCATION_FAILED;
      return;
    }
  }
  status = 0;
}

void RELEASE_MODEL_ARRAYS(int& status) {
  const auto& tables = store_tables();
  for (std::size_t k = tables.size(); k-- > 0;) tables[k].release();
  status = 0;
}

}  // namespace pilecap
