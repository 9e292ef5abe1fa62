// P-y criteria of the soil codes whose curves come later: each computes
// nothing yet and leaves the node arrays as the caller filled them.
#include "soil/py_curves.hpp"

namespace pilecap {

#define PILECAP_PY_SEAM(NAME)                                                                         \
  void NAME(int& /*prop_set*/, int& /*layer*/, int& /*status*/, int& /*pile*/, int& /*factor_index*/, \
            const double* /*y*/, double* /*es*/, const double* /*move1*/, const double* /*move2*/,    \
            double* /*es_move*/, double* /*p*/) {}

PILECAP_PY_SEAM(PY_STIFF_CLAY_FREE_WATER)
PILECAP_PY_SEAM(PY_STIFF_CLAY_NO_WATER)
PILECAP_PY_SEAM(PY_VUGGY_LIMESTONE)
PILECAP_PY_SEAM(PY_SILT)
PILECAP_PY_SEAM(PY_API_SAND)
PILECAP_PY_SEAM(PY_WEAK_ROCK)
PILECAP_PY_SEAM(PY_STIFF_CLAY_INITIAL_K)
PILECAP_PY_SEAM(PY_LIQUEFIED_SAND)

#undef PILECAP_PY_SEAM

void PY_USER_CURVES_LAYER(int& /*prop_set*/, int& /*layer*/, int& /*pile*/, int& /*factor_index*/, const double* /*y*/,
                          double* /*es*/, const double* /*move1*/, const double* /*move2*/, double* /*es_move*/,
                          double* /*p*/) {}

}  // namespace pilecap
