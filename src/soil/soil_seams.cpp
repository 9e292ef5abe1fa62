// Routines of the soil subsystem that compute nothing yet.
#include "soil/soil.hpp"

namespace pilecap {

void DEFAULT_K_SILT(double& /*gamma*/, double& /*c*/, double& /*phi*/, double& /*k*/, int& /*units*/, int& /*kind*/) {}

}  // namespace pilecap
