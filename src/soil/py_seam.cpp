// The p-y dispatch: computes no soil springs yet.
#include "soil/py_curves.hpp"

namespace pilecap {

void SOIL_REACTION_AT_NODES(int& /*prop_set*/, int& /*status*/, int& /*pile*/, int& /*factor_index*/,
                            const double* /*y*/, double* /*es*/, const double* /*move1*/, const double* /*move2*/,
                            double* /*es_move*/, double* /*p*/) {}

}  // namespace pilecap
