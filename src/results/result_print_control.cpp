// The print level and node step of the per-pile writers, written by the cap
// solvers before each call and read by the writers.
#include "results/results.hpp"

namespace pilecap {

ResultPrintControlRecord ResultPrintControl;

}  // namespace pilecap
