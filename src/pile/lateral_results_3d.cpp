// The print-pass results of a closed 3D lateral pile solution: in the
// stiffness-estimation pass the pile's secant axial, torsional and soil
// stiffnesses (EquivalentStiffness), in the final pass the stresses,
// demand/capacity ratios, the 29 node quantities and the 13 pile-top values
// (the result stores). Work vectors hold node j at row j + 3; the head
// reaction in pile axes is f = (N, H_y, H_z, T, -M_yy, M_zz).
#include <cmath>
#include <memory>

#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"

namespace pilecap {

namespace {

// Displacements, capacities and load scales not above this count as zero.
constexpr double ZERO_LIMIT = double(1e-14f);

// The stresses and ratios of every node row.
struct NodeStresses {
  PileRowVector stress{}, ratio_moment{}, ratio_shear{};
};

void stresses_and_ratios(int pile, int n, const LateralPileWork& w, NodeStresses& out) {
  const int set = PileTable.prop(pile);
  const double scale_moment = AnalysisControl.load_scale(1), scale_shear = AnalysisControl.load_scale(2);
  for (int k = 4; k <= n + 4; ++k) {
    const double x = PileNodes.axial_x(pile, k - NODE_ROW_OFFSET);
    const double m_zz = w.moment_zz(k), m_yy = w.moment_yy(k);
    double bending = 0.0;
    if (SECTION_NO_STRESS_AT(pile, set, x) == 0) {
      const double i_zz = SECTION_INERTIA_ZZ_AT(pile, set, x), i_yy = SECTION_INERTIA_YY_AT(pile, set, x);
      if (SECTION_SHAPE_AT(pile, set, x) < 2) {
        const double d = SECTION_DIAMETER_AT(pile, set, x);
        bending = std::hypot(m_zz * d / (2 * i_zz), m_yy * d / (2 * i_yy));
      } else {
        bending = std::fabs(m_zz * SECTION_WIDTH_ZZ_AT(pile, set, x) / (2 * i_zz)) +
                  std::fabs(m_yy * SECTION_WIDTH_YY_AT(pile, set, x) / (2 * i_yy));
      }
    }
    out.stress(k) = std::fabs(w.axial_force(k)) / SECTION_AREA_AT(pile, set, x) + bending;
    const double mp_zz = SECTION_MP_ZZ_AT(pile, set, x), mp_yy = SECTION_MP_YY_AT(pile, set, x);
    out.ratio_moment(k) = mp_zz > ZERO_LIMIT && mp_yy > ZERO_LIMIT && scale_moment > ZERO_LIMIT
                              ? std::hypot(m_zz / mp_zz, m_yy / mp_yy) / scale_moment
                              : 0.0;
    const double vc_zz = SECTION_SHEAR_CAPACITY_ZZ_AT(pile, set, x);
    const double vc_yy = SECTION_SHEAR_CAPACITY_YY_AT(pile, set, x);
    out.ratio_shear(k) = vc_zz > ZERO_LIMIT && vc_yy > ZERO_LIMIT && scale_shear > ZERO_LIMIT
                             ? std::hypot(w.shear_y(k) / vc_zz, w.shear_z(k) / vc_yy) / scale_shear
                             : 0.0;
  }
}

void equivalent_stiffness(int pile, int n, double h, const LateralPileWork& w, double axial_force, double torque,
                          const double* u) {
  EquivalentStiffnessRecord& e = EquivalentStiffness;
  e.top(pile, 1) = axial_force;
  if (std::fabs(u[0]) > ZERO_LIMIT) {
    e.top(pile, 2) = axial_force / u[0];
  } else {
    AXIAL_CURVE_STIFFNESS(pile, CURVE_TANGENT_MODE, e.top(pile, 2));
  }
  if (std::fabs(u[3]) > ZERO_LIMIT) {
    e.top(pile, 3) = torque / u[3];
  } else {
    TORSION_CURVE_STIFFNESS(pile, CURVE_TANGENT_MODE, e.top(pile, 3));
  }
  e.top(pile, 4) = h;
  for (int m = 0; m <= n; ++m) {
    const int row = m + 4;
    const double y = w.deflection_y(row), z = w.deflection_z(row);
    e.node(pile, row, 1) = m * h;
    e.node(pile, row, 2) = std::fabs(y) > ZERO_LIMIT ? w.reaction_y(row) / y : 0.0;
    e.node(pile, row, 3) = std::fabs(z) > ZERO_LIMIT ? w.reaction_z(row) / z : 0.0;
  }
}

// The node rows of the final pass besides the work's own arrays.
struct FinalRows {
  PileRowVector moment_zz{}, moment_yy{}, reaction_y{}, reaction_z{};
  PileRowVector deflection_yz{}, moment_yz{}, shear_yz{}, reaction_yz{};
  PileRowVector axial_displacement{}, axial_force{}, global_x{}, global_y{}, global_z{}, global_yz{};
};

}  // namespace

void LATERAL_PILE_RESULTS_3D(int pile, const LateralPileWork& w, double axial_force, double torque, double head_force_y,
                             double head_force_z, const double* u, const Matrix6& rotation,
                             const PileRowVector& axial_movement, const PileRowVector& axial_load) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double h = PileProperty.increment(set);
  if (AnalysisControl.pass_mode == 2) {
    equivalent_stiffness(pile, n, h, w, axial_force, torque, u);
    return;
  }
  if (AnalysisControl.pass_mode != 1) return;

  NodeStresses stresses;
  stresses_and_ratios(pile, n, w, stresses);

  const double local_force[PILE_HEAD_DOFS] = {axial_force, head_force_y,    head_force_z,
                                              torque,      -w.moment_yy(4), w.moment_zz(4)};
  double global_force[PILE_HEAD_DOFS], global_displacement[PILE_HEAD_DOFS];
  MULTIPLY_6X6_BY_VECTOR(global_force, rotation.data(), local_force);
  MULTIPLY_6X6_BY_VECTOR(global_displacement, rotation.data(), u);
  STORE_PILE_HEAD_RESULTS_3D(pile, stresses.stress(4), global_displacement, u, global_force, local_force);

  const bool soil_movement = SoilMovementProfile.count > 0 || PileLoadProfile.move_count(pile) > 0;
  const bool along_pile = AnalysisControl.axial_variation != 0 && PileTable.ls_curve(pile) <= 0;
  const bool load_case = AnalysisControl.current_combination == 0;
  auto rows = std::make_unique<FinalRows>();
  FinalRows& r = *rows;
  for (int k = 4; k <= n + 4; ++k) {
    r.moment_zz(k) = -w.moment_zz(k);
    r.moment_yy(k) = -w.moment_yy(k);
    r.reaction_y(k) = w.reaction_y(k);
    r.reaction_z(k) = w.reaction_z(k);
    const double move_y = w.soil_move_y(k), move_z = w.soil_move_z(k);
    const double move = std::hypot(move_y, move_z);
    if (soil_movement && move > 0.0) {
      // The reaction of a moving node acts against the movement.
      r.reaction_y(k) = -w.soil_reaction(k) * move_y / move;
      r.reaction_z(k) = -w.soil_reaction(k) * move_z / move;
    }
    r.deflection_yz(k) = PLANAR_MAGNITUDE(w.deflection_y(k), w.deflection_z(k));
    r.moment_yz(k) = PLANAR_MAGNITUDE(r.moment_zz(k), r.moment_yy(k));
    r.shear_yz(k) = PLANAR_MAGNITUDE(w.shear_y(k), w.shear_z(k));
    r.reaction_yz(k) = soil_movement ? w.soil_reaction(k) : PLANAR_MAGNITUDE(r.reaction_y(k), r.reaction_z(k));
    r.axial_displacement(k) = along_pile ? axial_movement(k) : 0.0;
    r.axial_force(k) = along_pile ? axial_load(k) : axial_force;
    ROTATE_TO_GLOBAL_3D(pile, r.axial_displacement(k), w.deflection_y(k), w.deflection_z(k), r.global_x(k),
                        r.global_y(k), r.global_z(k));
    r.global_yz(k) = PLANAR_MAGNITUDE(r.global_y(k), r.global_z(k));
    if (load_case) stresses.ratio_moment(k) = stresses.ratio_shear(k) = 0.0;
  }

  const NodeResultColumns3D columns{&w.deflection_y,
                                    &w.deflection_z,
                                    &r.moment_zz,
                                    &r.moment_yy,
                                    &w.shear_y,
                                    &w.shear_z,
                                    &r.reaction_y,
                                    &r.reaction_z,
                                    &stresses.stress,
                                    &w.ei_zz,
                                    &w.ei_yy,
                                    &r.deflection_yz,
                                    &r.moment_yz,
                                    &r.reaction_yz,
                                    &r.shear_yz,
                                    &stresses.ratio_moment,
                                    &stresses.ratio_shear,
                                    &r.axial_displacement,
                                    &r.axial_force,
                                    &r.global_x,
                                    &r.global_y,
                                    &r.global_z,
                                    &r.global_yz,
                                    &w.dist_load_y,
                                    &w.dist_load_z,
                                    &w.slope_y,
                                    &w.slope_z,
                                    &w.hinge_zz,
                                    &w.hinge_yy};
  auto block = std::make_unique<NodeResultBlock>();
  PACK_PILE_NODE_RESULTS_3D(*block, columns);
  STORE_PILE_NODE_RESULTS(pile, n + 4, *block);
}

}  // namespace pilecap
