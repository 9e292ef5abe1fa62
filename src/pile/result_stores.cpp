// The pile result stores: the 29 node quantities of every pile (NodeResults,
// pile, row, quantity; node j at row j + 3) and the 13 pile-top values
// (PileTopResults, pile, column), each as the current run's values and as
// maximum and minimum envelopes over the runs of the cases or of the
// combinations. The first run of each pass (AnalysisControl.first_run 1)
// restarts the envelopes; after that a value replaces an envelope only when
// strictly beyond it, so a NaN never enters one.
#include <cmath>

#include "base/numbers.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

// Below this a component of a resultant counts as zero.
constexpr double RESULTANT_FLOOR = 1e-24;

void envelope(double& maximum, double& minimum, double v, bool first) {
  if (first) maximum = minimum = v;
  UPDATE_MAX(maximum, v);
  UPDATE_MIN(minimum, v);
}

void copy_column(NodeResultBlock& block, int quantity, const PileRowVector& rows) {
  for (int r = 1; r <= PILE_NODE_ROWS; ++r) block(r, quantity) = rows(r);
}

void copy_flags(NodeResultBlock& block, int quantity, const PileRowFlags& rows) {
  for (int r = 1; r <= PILE_NODE_ROWS; ++r) block(r, quantity) = static_cast<double>(rows(r));
}

}  // namespace

void PACK_PILE_NODE_RESULTS_3D(NodeResultBlock& block, const NodeResultColumns3D& c) {
  const struct {
    int quantity;
    const PileRowVector* rows;
  } columns[] = {{NR_DISPL_X, c.axial_displacement},
                 {NR_DISPL_Y, c.y},
                 {NR_DISPL_Z, c.z},
                 {NR_DISPL_YZ, c.deflection_yz},
                 {NR_DISPL_GX, c.global_x},
                 {NR_DISPL_GY, c.global_y},
                 {NR_DISPL_GZ, c.global_z},
                 {NR_DISPL_GYZ, c.global_yz},
                 {NR_MOMENT_Z, c.moment_zz},
                 {NR_MOMENT_Y, c.moment_yy},
                 {NR_MOMENT_YZ, c.moment_yz},
                 {NR_SHEAR_Y, c.shear_y},
                 {NR_SHEAR_Z, c.shear_z},
                 {NR_SHEAR_YZ, c.shear_yz},
                 {NR_SOIL_REACTION_Y, c.reaction_y},
                 {NR_SOIL_REACTION_Z, c.reaction_z},
                 {NR_SOIL_REACTION_YZ, c.reaction_yz},
                 {NR_AXIAL_FORCE, c.axial_force},
                 {NR_TOTAL_STRESS, c.stress},
                 {NR_FLEX_RIGIDITY_Z, c.ei_zz},
                 {NR_FLEX_RIGIDITY_Y, c.ei_yy},
                 {NR_DIST_LOAD_Y, c.dist_load_y},
                 {NR_DIST_LOAD_Z, c.dist_load_z},
                 {NR_DEMAND_CAPACITY_MOMENT, c.ratio_moment},
                 {NR_DEMAND_CAPACITY_SHEAR, c.ratio_shear},
                 {NR_ROTATION_Z, c.slope_y},
                 {NR_ROTATION_Y, c.slope_z}};
  for (const auto& column : columns) copy_column(block, column.quantity, *column.rows);
  copy_flags(block, NR_HINGE_Z, *c.hinge_zz);
  copy_flags(block, NR_HINGE_Y, *c.hinge_yy);
}

void PACK_PILE_NODE_RESULTS(NodeResultBlock& block, const NodeResultColumns2D& c) {
  block.fill(0.0);
  const struct {
    int quantity;
    const PileRowVector* rows;
  } columns[] = {{NR_DISPL_X, c.axial_displacement},
                 {NR_DISPL_Y, c.y},
                 {NR_DISPL_GX, c.global_x},
                 {NR_DISPL_GY, c.global_y},
                 {NR_MOMENT_Z, c.moment},
                 {NR_SHEAR_Y, c.shear},
                 {NR_SOIL_REACTION_Y, c.reaction},
                 {NR_AXIAL_FORCE, c.axial_force},
                 {NR_TOTAL_STRESS, c.stress},
                 {NR_FLEX_RIGIDITY_Z, c.ei},
                 {NR_DIST_LOAD_Y, c.dist_load},
                 {NR_DEMAND_CAPACITY_MOMENT, c.ratio_moment},
                 {NR_DEMAND_CAPACITY_SHEAR, c.ratio_shear},
                 {NR_ROTATION_Z, c.slope}};
  for (const auto& column : columns) copy_column(block, column.quantity, *column.rows);
  copy_flags(block, NR_HINGE_Z, *c.hinge);
}

void STORE_PILE_NODE_RESULTS(int pile, int last_row, const NodeResultBlock& block) {
  const bool first = AnalysisControl.first_run == 1;
  NodeResultsRecord& s = NodeResults;
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    for (int r = 4; r <= last_row; ++r) {
      const double v = block(r, q);
      envelope(s.max_env(pile, r, q), s.min_env(pile, r, q), v, first);
      s.current(pile, r, q) = v;
    }
  }
}

void STORE_PILE_HEAD_RESULTS_3D(int pile, double stress, const double* displacement_global,
                                const double* displacement_local, const double* force_global,
                                const double* force_local) {
  double global[PILE_TOP_RESULT_COUNT], local[PILE_TOP_RESULT_COUNT];
  for (int k = 0; k < PILE_HEAD_DOFS; ++k) {
    global[k] = displacement_global[k];
    local[k] = displacement_local[k];
    global[k + PILE_HEAD_DOFS] = force_global[k];
    local[k + PILE_HEAD_DOFS] = force_local[k];
  }
  global[PT_STRESS - 1] = local[PT_STRESS - 1] = stress;
  const bool first = AnalysisControl.first_run == 1;
  PileTopResultsRecord& s = PileTopResults;
  for (int c = 1; c <= PILE_TOP_RESULT_COUNT; ++c) {
    envelope(s.max_global(pile, c), s.min_global(pile, c), global[c - 1], first);
    envelope(s.max_local(pile, c), s.min_local(pile, c), local[c - 1], first);
    s.current_global(pile, c) = global[c - 1];
    s.current_local(pile, c) = local[c - 1];
  }
}

void STORE_PILE_HEAD_RESULTS(int pile, double global_x, double global_y, double rotation, double axial_displacement,
                             double lateral_displacement, double force_x, double force_y, double moment,
                             double axial_force, double lateral_force, double stress) {
  const double global[PILE_TOP_COLUMNS_2D] = {global_x, global_y, rotation, force_x, force_y, moment, stress};
  const double local[PILE_TOP_COLUMNS_2D] = {
      axial_displacement, lateral_displacement, rotation, axial_force, lateral_force, moment, stress};
  const bool first = AnalysisControl.first_run == 1;
  PileTopResultsRecord& s = PileTopResults;
  for (int c = 1; c <= PILE_TOP_COLUMNS_2D; ++c) {
    envelope(s.max_global(pile, c), s.min_global(pile, c), global[c - 1], first);
    envelope(s.max_local(pile, c), s.min_local(pile, c), local[c - 1], first);
    s.current_global(pile, c) = global[c - 1];
    s.current_local(pile, c) = local[c - 1];
  }
}

void COPY_PILE_NODE_ROW(int pile, double* destination) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) destination[j - 1] = EquivalentSprings.node_spring(pile, j);
}

double PLANAR_MAGNITUDE(double a, double b) {
  if (std::fabs(a) > 0.0 && std::fabs(a) < RESULTANT_FLOOR) a = 0.0;
  if (std::fabs(b) > 0.0 && std::fabs(b) < RESULTANT_FLOOR) b = 0.0;
  return std::sqrt(a * a + b * b);
}

void ROTATE_BY_BATTER(int pile, double u_x, double y, double& x_global, double& y_global) {
  const double b = PileTable.batter(pile);
  x_global = u_x * std::cos(b) - y * std::sin(b);
  y_global = u_x * std::sin(b) + y * std::cos(b);
}

void ROTATE_TO_GLOBAL_3D(int pile, double u_x, double u_y, double u_z, double& x, double& y, double& z) {
  double st, ct, sb, cb, sa, ca;
  ANGLE_SIN_COS(PileTable.theta(pile), st, ct);
  ANGLE_SIN_COS(PileTable.beta(pile), sb, cb);
  ANGLE_SIN_COS(PileTable.alpha(pile), sa, ca);
  const double y1 = u_y * ct - u_z * st;
  const double z1 = u_y * st + u_z * ct;
  x = u_x * sb - y1 * cb;
  const double x1 = u_x * cb + y1 * sb;
  y = x1 * ca - z1 * sa;
  z = x1 * sa + z1 * ca;
}

}  // namespace pilecap
