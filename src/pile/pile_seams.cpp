// A step of the single-pile analysis that computes nothing yet: the moduli
// of a pile's own user p-y curves.
#include "pile/pile.hpp"

namespace pilecap {

void USER_PY_PILE_MODULUS(int /*pile*/, const PileRowVector& /*deflection*/, PileRowVector& /*modulus*/,
                          const PileRowVector& /*move_y*/, const PileRowVector& /*move_z*/, PileRowVector& /*work_row*/,
                          PileRowVector& /*reaction*/) {}

}  // namespace pilecap
