// A step of the plate's element pass that computes nothing yet: the pile
// springs, which need the single-pile analysis at the plate's displacement.
// The cap solver refuses a flexible cap before any plate routine runs.
#include "plate/plate.hpp"

namespace pilecap {

void PLATE_PILE_SPRINGS(int /*element*/, int& /*status*/) {}

}  // namespace pilecap
