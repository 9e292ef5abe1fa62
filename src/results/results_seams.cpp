// Result writers that write nothing yet: the blocks of the plot-data file.
#include "results/results.hpp"

namespace pilecap {

void WRITE_PLOT_PILE_GEOMETRY(int /*pile*/, int& /*status*/) {}
void WRITE_PLOT_PY_CURVES(int /*pile*/, int& /*status*/) {}
void WRITE_PLOT_TZ_CURVES(int /*pile*/, int& /*status*/) {}
void WRITE_PLOT_TQ_CURVES(int /*pile*/, int& /*status*/) {}

}  // namespace pilecap
