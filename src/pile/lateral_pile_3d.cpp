// The laterally loaded pile in 3D: a beam-column on nonlinear soil springs
// by central finite differences, solved in the y plane (bending about z-z)
// and the z plane (bending about y-y) with one set of secant soil moduli
// taken at the resultant deflection. Each plane is a pentadiagonal system
// with two head rows (deflection, and zero moment, slope or a rotational
// spring) and two tip rows (zero moment and zero shear with the axial-force
// term), reduced by a forward recursion y(i) = a y(i+1) + b y(i+2) + c and
// back substitution. Work vectors hold node j at row j + 3: head row 4, tip
// row n + 4, fictitious rows 3, n + 5 and n + 6. The steps it shares with
// the plane form are in lateral_plane.cpp.
#include <algorithm>
#include <cmath>

#include "base/check.hpp"
#include "model/run_state.hpp"
#include "pile/lateral_plane.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

void SOLVE_LATERAL_PILE_3D(int pile, double y_head, double rotation_y, double z_head, double rotation_z,
                           double axial_force, double torque, double& head_force_y, double& head_force_z,
                           double& head_moment_zz, double& head_moment_yy, int& status, const double* head_displacement,
                           const Matrix6& rotation, const PileRowVector& axial_movement,
                           const PileRowVector& axial_load, LateralPileWork& w) {
  // A solution that fails leaves zero forces, never those of an earlier call.
  head_force_y = head_force_z = head_moment_zz = head_moment_yy = 0.0;
  const LateralSolveStart start(pile, true, w);
  const int set = start.set, n = start.n;
  const double h = start.h;
  const bool soil_movement = start.soil_movement;

  if (USES_OWN_PY_CURVES(pile)) {
    USER_PY_PILE_MODULUS(pile, w.resultant_deflection, w.soil_modulus, w.soil_move_y, w.soil_move_z,
                         w.modulus_times_movement, w.soil_reaction);
  } else {
    INITIAL_SUBGRADE_MODULUS(pile, n, w);
  }

  LATERAL_AXIAL_FORCE_ROWS(pile, n, axial_force, axial_load, w);
  for (int row = 3; row <= n + 6; ++row) {
    const int node = std::min(std::max(row - NODE_ROW_OFFSET, 1), n + 1);
    const double x = PileNodes.axial_x(pile, node);
    w.ei_zz(row) = SECTION_EI_ZZ_AT(pile, set, x);
    w.ei_yy(row) = SECTION_EI_YY_AT(pile, set, x);
  }
  const bool nonlinear_ei = MomentCurvatureSet.n_sets > 0;
  if (nonlinear_ei) {
    NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz, w.deflection_y, w.hinge_zz);
    NODE_FLEXURAL_RIGIDITY(pile, AXIS_YY, axial_force, w.ei_yy, w.deflection_z, w.hinge_yy);
    for (int row = 3; row <= n + 6; ++row) {
      w.ei_zz_saved(row) = w.ei_zz(row);
      w.ei_yy_saved(row) = w.ei_yy(row);
    }
  }

  const LateralPlane plane_y{w.deflection_y,          w.previous_deflection_y,   w.ei_zz, w.load_y,
                             PileTable.conn_zz(pile), PileTable.spring_zz(pile), y_head,  rotation_y};
  const LateralPlane plane_z{w.deflection_z,          w.previous_deflection_z,   w.ei_yy, w.load_z,
                             PileTable.conn_yy(pile), PileTable.spring_yy(pile), z_head,  rotation_z};

  LateralIterationGuard guard;
  for (int iteration = 1;; ++iteration) {
    if (nonlinear_ei && AnalysisControl.ei_previous == 1) {
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz, w.deflection_y, w.hinge_zz);
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_YY, axial_force, w.ei_yy, w.deflection_z, w.hinge_yy);
    }
    SOLVE_LATERAL_PLANES(plane_y, plane_z, n, h, w);
    if (nonlinear_ei && AnalysisControl.ei_previous == 0) {
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz_saved, w.deflection_y, w.hinge_zz);
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_YY, axial_force, w.ei_yy_saved, w.deflection_z, w.hinge_yy);
    }
    if (iteration > 1 && LATERAL_DEFLECTIONS_CLOSED(n, w)) break;
    if (iteration + 1 > AnalysisControl.llp_max_iterations) {
      REPORT_LATERAL_NO_CLOSURE(pile);
      RAISE_PILE_ERROR(PILE_ERR_NO_CLOSURE);
      return;
    }
    if (soil_movement) LATERAL_GUARDED_DEFLECTIONS(guard, iteration, n, true, w);
    LATERAL_SPRING_DEFLECTIONS(n, w.deflection_y, &w.deflection_z, soil_movement, w);
    if (!LATERAL_SOIL_MODULI(pile, w.resultant_deflection, w, status)) return;
    if (soil_movement) {
      for (int row = 4; row <= n + 4; ++row) {
        w.load_y(row) = w.soil_modulus(row) * w.soil_move_y(row) + w.dist_load_y(row);
        w.load_z(row) = w.soil_modulus(row) * w.soil_move_z(row) + w.dist_load_z(row);
      }
    }
    if (nonlinear_ei) {
      for (int row = 4; row <= n + 5; ++row) {
        w.ei_zz(row) = w.ei_zz_saved(row);
        w.ei_yy(row) = w.ei_yy_saved(row);
      }
    }
  }

  const double force_y = LATERAL_PLANE_RESULTS(w.deflection_y, w.ei_zz, w.load_y, n, h, w, w.slope_y, w.moment_zz,
                                               w.shear_y, w.reaction_y);
  const double force_z = LATERAL_PLANE_RESULTS(w.deflection_z, w.ei_yy, w.load_z, n, h, w, w.slope_z, w.moment_yy,
                                               w.shear_z, w.reaction_z);
  head_force_y = force_y;
  head_force_z = force_z;
  head_moment_zz = w.moment_zz(4);
  head_moment_yy = w.moment_yy(4);
  if (AnalysisControl.pass_mode == 1 || AnalysisControl.pass_mode == 2) {
    LATERAL_PILE_RESULTS_3D(pile, w, axial_force, torque, force_y, force_z, head_displacement, rotation, axial_movement,
                            axial_load);
  }
}

}  // namespace pilecap
