// The input echo frame: ECHO_INPUT_DATA runs the echo steps in order, each
// printing on the input echo report and building working tables; the
// heading with the run options; TABLE B and the working cap width.
#include <cmath>

#include "input/echo.hpp"
#include "input/input.hpp"
#include "run/conversions.hpp"
#include "run/run.hpp"

namespace pilecap {

void ECHO_INPUT_DATA(int& status) {
  ECHO_HEADING_AND_OPTIONS();
  ECHO_PILE_CAP_OPTIONS();
  ECHO_LOAD_CASES(status);
  if (status != STATUS_OK) return;
  ECHO_LOAD_COMBINATIONS(status);
  if (status != STATUS_OK) return;
  BUILD_PILE_TABLE();
  BUILD_PILE_PROPERTIES(status);
  if (status != STATUS_OK) return;
  PRINT_PILE_PROPERTIES(status);
  if (status != STATUS_OK) return;
  BUILD_SOIL_PROFILE(status);
  if (status != STATUS_OK) return;
  PRINT_SOIL_PROFILE(status);
  if (status != STATUS_OK) return;
  ECHO_USER_PY_CURVES(status);
  if (status != STATUS_OK) return;
  ECHO_AXIAL_TORSION_CURVES(status);
  if (status != STATUS_OK) return;
  ECHO_MOMENT_CURVATURE_SETS(status);
  if (status != STATUS_OK) return;
  ECHO_REDUCTION_FACTORS(status);
}

void ECHO_HEADING_AND_OPTIONS() {}

void ECHO_PILE_CAP_OPTIONS() {}

void BUILD_PILE_TABLE() {}

}  // namespace pilecap
