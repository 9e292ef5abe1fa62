// The pile-head response of the 3D model: the forces one pile exerts at its
// head for a given head displacement, both in global axes. Vectors are 6
// doubles (uX, uY, uZ, rX, rY, rZ) and (FX, FY, FZ, MX, MY, MZ), X vertical.
#pragma once

namespace pilecap {

// PILE_HEAD_RESPONSE
// The reaction a pile exerts at its head for a head displacement: axial force
// from the load-settlement curve, torque from the torque-rotation curve,
// lateral shears and moments from the laterally loaded pile solution.
//   in:     pile    1-based entry of PileTable
//   out:    forces  6 values, global axes, times PileTable.n_identical;
//                   zero when the evaluation fails
//   in:     u       head displacement, global axes
//   in,out: status  the status word
void PILE_HEAD_RESPONSE(int pile, double* forces, const double* u, int& status);

}  // namespace pilecap
