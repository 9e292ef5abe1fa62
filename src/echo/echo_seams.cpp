// Steps of the input echo that print or build nothing yet.
#include "echo/echo.hpp"

namespace pilecap {

void ECHO_REDUCTION_FACTORS(int& /*status*/) {}

}  // namespace pilecap
