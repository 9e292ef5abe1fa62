// Steps of the single-pile analysis that compute nothing yet: the moduli of
// a pile's own user p-y curves and the print-pass results of a closed 3D
// lateral solution.
#include "pile/pile.hpp"

namespace pilecap {

void USER_PY_PILE_MODULUS(int /*pile*/, const PileRowVector& /*deflection*/, PileRowVector& /*modulus*/,
                          const PileRowVector& /*move_y*/, const PileRowVector& /*move_z*/, PileRowVector& /*work_row*/,
                          PileRowVector& /*reaction*/) {}

void LATERAL_PILE_RESULTS_3D(int /*pile*/, const LateralPileWork& /*work*/, double /*axial_force*/, double /*torque*/,
                             double /*head_force_y*/, double /*head_force_z*/, const double* /*head_displacement*/,
                             const Matrix6& /*rotation*/, const PileRowVector& /*axial_movement*/,
                             const PileRowVector& /*axial_load*/) {}

}  // namespace pilecap
