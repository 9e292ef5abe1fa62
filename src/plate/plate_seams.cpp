// The steps of the plate model that compute nothing yet: the pile springs of
// the element pass and the piles' final pass at the converged displacement,
// both of which need the single-pile analysis at the plate's displacement.
// The cap solver refuses a flexible cap before any plate routine runs.
#include "plate/plate.hpp"

namespace pilecap {

void PLATE_PILE_SPRINGS(int /*element*/, int& /*status*/) {}

void PLATE_FINAL_PILE_FORCES() {}

}  // namespace pilecap
