// Lateral soil springs: the p-y dispatch over the soil layers a pile meets.
// Node arrays are addressed by node number: values[j] is node j, node 1 the
// head, node n + 1 the tip; layers above the head may reach imaginary nodes
// j <= 0 (down to -2), so callers pass a pointer with room before node 1.
#pragma once

namespace pilecap {

// SOIL_REACTION_AT_NODES
// Secant soil moduli and soil reactions at the nodes of one pile, layer by
// layer through the p-y criterion of each layer's soil code.
//   in:     prop_set      PileTable.prop of the pile
//   in,out: status        the status word; criteria set 21, 22-31 and the like
//   in:     pile          entry of PileTable (the cap entry included)
//   in:     factor_index  entry of ClosePileFactors whose P- and Y-FACTOR apply
//   in:     y             node deflections (3D: the resultant lateral deflection)
//   out:    es            secant modulus p / y times the factors
//   in:     move1, move2  soil movement components at the nodes
//   out:    es_move       Es times the soil-movement magnitude
//   out:    p             soil reaction times the P-FACTOR, signed
void SOIL_REACTION_AT_NODES(int& prop_set, int& status, int& pile, int& factor_index, const double* y, double* es,
                            const double* move1, const double* move2, double* es_move, double* p);

}  // namespace pilecap
