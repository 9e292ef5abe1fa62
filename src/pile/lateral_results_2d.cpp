// The print-pass results of a closed 2D lateral pile solution: in the
// stiffness-estimation pass the row's secant axial and soil stiffnesses
// (EquivalentStiffness), in the final pass the stresses, demand/capacity
// ratios, the plane node quantities and the seven pile-top values of one
// pile of the row (not times the row's pile count). Work vectors hold node j
// at row j + 3; the head reaction in pile axes is (N, H, M).
#include <cmath>
#include <memory>

#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

// Displacements, capacities and load scales not above this count as zero.
constexpr double ZERO_LIMIT = double(1e-14f);
constexpr int ROW_DOFS = 3;
// Section shapes below this code are round: the bending stress uses the diameter.
constexpr int FIRST_RECTANGULAR_SHAPE = 2;

// The node rows of the final pass besides the work's own arrays.
struct FinalRows2D {
  PileRowVector stress{}, ratio_moment{}, ratio_shear{}, moment{}, reaction{};
  PileRowVector axial_displacement{}, axial_force{}, global_x{}, global_y{};
};

void stresses_and_ratios(int pile, int n, const LateralPileWork& w, FinalRows2D& out) {
  const int set = PileTable.prop(pile);
  const double scale_moment = AnalysisControl.load_scale(1), scale_shear = AnalysisControl.load_scale(2);
  for (int k = 4; k <= n + 4; ++k) {
    const double x = PileNodes.axial_x(pile, k - NODE_ROW_OFFSET);
    const double moment = std::fabs(w.moment_zz(k));
    double bending = 0.0;
    if (SECTION_NO_STRESS_AT(pile, set, x) == 0) {
      const double i_zz = SECTION_INERTIA_ZZ_AT(pile, set, x);
      const double fibre = SECTION_SHAPE_AT(pile, set, x) < FIRST_RECTANGULAR_SHAPE ? SECTION_DIAMETER_AT(pile, set, x)
                                                                                    : SECTION_WIDTH_ZZ_AT(pile, set, x);
      bending = moment * fibre / (2 * i_zz);
    }
    out.stress(k) = std::fabs(w.axial_force(k)) / SECTION_AREA_AT(pile, set, x) + bending;
    const double mn = SECTION_MOMENT_CAPACITY_AT(pile, set, x);
    out.ratio_moment(k) = mn > ZERO_LIMIT && scale_moment > ZERO_LIMIT ? moment / mn / scale_moment : 0.0;
    const double vn = SECTION_SHEAR_CAPACITY_AT(pile, set, x);
    out.ratio_shear(k) = vn > ZERO_LIMIT && scale_shear > ZERO_LIMIT ? std::fabs(w.shear_y(k)) / vn / scale_shear : 0.0;
  }
}

void equivalent_stiffness(int pile, int n, double h, const LateralPileWork& w, double axial_force, const double* u) {
  EquivalentStiffnessRecord& e = EquivalentStiffness;
  e.top(pile, 1) = axial_force;
  e.top(pile, 2) = std::fabs(u[0]) > ZERO_LIMIT ? axial_force / u[0] : 0.0;
  e.top(pile, 3) = h;
  for (int m = 0; m <= n; ++m) {
    const int row = m + 4;
    const double y = w.deflection_y(row);
    e.node(pile, row, 1) = m * h;
    e.node(pile, row, 2) = std::fabs(y) > ZERO_LIMIT ? w.reaction_y(row) / y : 0.0;
  }
}

}  // namespace

void LATERAL_PILE_RESULTS_2D(int pile, const LateralPileWork& w, double axial_force, double head_force, const double* u,
                             const double* transform, const PileRowVector& axial_movement,
                             const PileRowVector& axial_load) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double h = PileProperty.increment(set);
  if (AnalysisControl.pass_mode == 2) {
    equivalent_stiffness(pile, n, h, w, axial_force, u);
    return;
  }
  if (AnalysisControl.pass_mode != 1) return;

  auto rows = std::make_unique<FinalRows2D>();
  FinalRows2D& r = *rows;
  stresses_and_ratios(pile, n, w, r);

  const double head_moment = w.moment_zz(4);
  const double local_force[ROW_DOFS] = {axial_force, head_force, head_moment};
  double global_force[ROW_DOFS];
  MULTIPLY_3X3_BY_VECTOR(global_force, transform, local_force);
  const double u_x = u[0];
  double head_x = 0.0, head_y = 0.0;
  ROTATE_BY_BATTER(pile, u_x, w.deflection_y(4), head_x, head_y);
  STORE_PILE_HEAD_RESULTS(pile, head_x, head_y, u[2], u_x, w.deflection_y(4), global_force[0], global_force[1],
                          head_moment, axial_force, head_force, r.stress(4));

  const bool soil_movement = SoilMovementProfile.count > 0 || PileLoadProfile.move_count(pile) > 0;
  const bool along_pile = AnalysisControl.axial_variation != 0 && PileTable.ls_curve(pile) <= 0;
  const bool load_case = AnalysisControl.current_combination == 0;
  for (int k = 4; k <= n + 4; ++k) {
    r.moment(k) = -w.moment_zz(k);
    // A moving soil reacts with the value its p-y curve gave for the node.
    r.reaction(k) = soil_movement ? w.soil_reaction(k) : w.reaction_y(k);
    r.axial_displacement(k) = along_pile ? axial_movement(k) : 0.0;
    r.axial_force(k) = along_pile ? axial_load(k) : axial_force;
    ROTATE_BY_BATTER(pile, r.axial_displacement(k), w.deflection_y(k), r.global_x(k), r.global_y(k));
    if (load_case) r.ratio_moment(k) = r.ratio_shear(k) = 0.0;
  }

  const NodeResultColumns2D columns{&w.deflection_y, &r.moment,      &w.shear_y,
                                    &r.reaction,     &r.stress,      &w.ei_zz,
                                    &r.ratio_moment, &r.ratio_shear, &r.axial_displacement,
                                    &r.axial_force,  &r.global_x,    &r.global_y,
                                    &w.dist_load_y,  &w.slope_y,     &w.hinge_zz};
  auto block = std::make_unique<NodeResultBlock>();
  PACK_PILE_NODE_RESULTS(*block, columns);
  STORE_PILE_NODE_RESULTS(pile, n + 4, *block);
}

}  // namespace pilecap
