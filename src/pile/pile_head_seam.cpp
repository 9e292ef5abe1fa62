// The pile-head response: computes no head forces yet.
#include "pile/pile_head.hpp"

namespace pilecap {

void PILE_HEAD_RESPONSE(int /*pile*/, double* forces, const double* /*u*/, int& /*status*/) {
  for (int k = 0; k < 6; ++k) forces[k] = 0.0;
}

}  // namespace pilecap
