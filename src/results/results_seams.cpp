// Result writers that write nothing yet: the per-pile tables of the plane.
#include "results/results.hpp"

namespace pilecap {

void ENVEWR2D(int /*kind*/, int /*which*/) {}

}  // namespace pilecap
