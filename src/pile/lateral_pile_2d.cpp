// The laterally loaded pile of a 2D pile row: the finite-difference
// beam-column of the 3D solution reduced to one bending plane (deflection y
// across the pile, bending about z-z), on secant soil springs taken at the
// signed deflection of every node. The head rotation enters with the sign of
// the plane model: a fixed head has slope +r. Work vectors hold node j at
// row j + 3: head row 4, tip row n + 4.
#include <algorithm>

#include "base/check.hpp"
#include "model/run_state.hpp"
#include "pile/lateral_plane.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

// The initial deflection falls linearly from the head value to 0 at the tip;
// the ratio i / n is a single-precision quotient.
double initial_deflection(double y_head, int i, int n) {
  const double ratio = static_cast<double>(static_cast<float>(i) / static_cast<float>(n));
  return y_head * (1.0 - ratio);
}

// Starting moduli of a row on the p-y springs: the subgrade estimate, then
// the moduli of the springs at the initial deflections wherever they give one.
bool initial_py_modulus(int pile, int n, double y_head, bool soil_movement, LateralPileWork& w, int& status) {
  INITIAL_SUBGRADE_MODULUS(pile, n, w);
  for (int i = 0; i <= n; ++i) w.resultant_deflection(i + 1 + NODE_ROW_OFFSET) = initial_deflection(y_head, i, n);
  if (soil_movement) LATERAL_SPRING_DEFLECTIONS(n, w.resultant_deflection, nullptr, true, w);
  return LATERAL_SOIL_MODULI(pile, w.resultant_deflection, w, status);
}

}  // namespace

void SOLVE_LATERAL_PILE_2D(int pile, double y_head, double rotation, double axial_force, double& head_force,
                           double& head_moment, int& status, const double* head_displacement, const double* transform,
                           const PileRowVector& axial_movement, const PileRowVector& axial_load, LateralPileWork& w) {
  head_force = head_moment = 0.0;
  const LateralSolveStart start(pile, false, w);
  const int set = start.set, n = start.n;
  const double h = start.h;
  const bool soil_movement = start.soil_movement;
  if (USES_OWN_PY_CURVES(pile)) {
    // The first solve of a row on its own curves uses the node distances.
    for (int row = 4; row <= n + 4; ++row) w.soil_modulus(row) = (row - 4) * h;
  } else if (!initial_py_modulus(pile, n, y_head, soil_movement, w, status)) {
    return;
  }
  LATERAL_AXIAL_FORCE_ROWS(pile, n, axial_force, axial_load, w);

  // The elastic rigidities stay in the saved rows; the moment-curvature
  // rigidity of the straight pile goes to the rows of the first solve.
  for (int row = 3; row <= n + 6; ++row) {
    const int node = std::min(std::max(row - NODE_ROW_OFFSET, 1), n + 1);
    w.ei_zz(row) = w.ei_zz_saved(row) = SECTION_EI_ZZ_AT(pile, set, PileNodes.axial_x(pile, node));
  }
  const bool nonlinear_ei = MomentCurvatureSet.n_sets > 0;
  if (nonlinear_ei) NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz, w.deflection_y, w.hinge_zz);

  // The plane's rotation term is -r: the shared head rows give slope -term.
  const LateralPlane plane{w.deflection_y,          w.previous_deflection_y,   w.ei_zz, w.load_y,
                           PileTable.conn_zz(pile), PileTable.spring_zz(pile), y_head,  -rotation};

  LateralIterationGuard guard;
  for (int iteration = 1;; ++iteration) {
    if (nonlinear_ei && AnalysisControl.ei_previous == 1) {
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz, w.deflection_y, w.hinge_zz);
    }
    SOLVE_LATERAL_PLANE(plane, n, h, w);
    if (nonlinear_ei && AnalysisControl.ei_previous == 0) {
      NODE_FLEXURAL_RIGIDITY(pile, AXIS_ZZ, axial_force, w.ei_zz_saved, w.deflection_y, w.hinge_zz);
    }
    if (iteration > 1 && LATERAL_DEFLECTIONS_CLOSED(n, w)) break;
    if (iteration + 1 > AnalysisControl.llp_max_iterations) {
      REPORT_LATERAL_NO_CLOSURE(pile);
      RAISE_PILE_ERROR(PILE_ERR_NO_CLOSURE);
      return;
    }
    if (soil_movement) LATERAL_GUARDED_DEFLECTIONS(guard, iteration, n, false, w);
    if (soil_movement) LATERAL_SPRING_DEFLECTIONS(n, w.deflection_y, nullptr, true, w);
    if (!LATERAL_SOIL_MODULI(pile, soil_movement ? w.resultant_deflection : w.deflection_y, w, status)) return;
    if (soil_movement) {
      for (int row = 4; row <= n + 4; ++row)
        w.load_y(row) = w.soil_modulus(row) * w.soil_move_y(row) + w.dist_load_y(row);
    }
    for (int row = 4; row <= n + 5; ++row) w.ei_zz(row) = w.ei_zz_saved(row);
  }

  head_force = LATERAL_PLANE_RESULTS(w.deflection_y, w.ei_zz, w.load_y, n, h, w, w.slope_y, w.moment_zz, w.shear_y,
                                     w.reaction_y);
  head_moment = w.moment_zz(4);
  if (AnalysisControl.pass_mode == 1 || AnalysisControl.pass_mode == 2) {
    LATERAL_PILE_RESULTS_2D(pile, w, axial_force, head_force, head_displacement, transform, axial_movement, axial_load);
  }
}

}  // namespace pilecap
