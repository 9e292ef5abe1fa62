// Steps of the input echo that print or build nothing yet.
#include "echo/echo.hpp"

namespace pilecap {

void ECHO_USER_PY_CURVES(int& /*status*/) {}

}  // namespace pilecap
