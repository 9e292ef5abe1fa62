// Vector services of the cap solvers: the largest translation and rotation
// of a cap vector and its negation.
#include <cmath>

#include "cap/cap_vectors.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

void MAX_ABS_TRANSLATION_ROTATION(const double* v, double& translation, double& rotation) {
  translation = std::fmax(std::fabs(v[0]), std::fmax(std::fabs(v[1]), std::fabs(v[2])));
  rotation = std::fmax(std::fabs(v[3]), std::fmax(std::fabs(v[4]), std::fabs(v[5])));
}

void NEGATE_VECTOR6(const double* source, double* destination) {
  for (int k = 0; k < CAP_DOFS; ++k) destination[k] = -source[k];
}

}  // namespace pilecap
