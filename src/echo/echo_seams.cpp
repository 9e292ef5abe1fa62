// Steps of the input echo that print or build nothing yet.
#include "echo/echo.hpp"

namespace pilecap {

void ECHO_LOAD_CASES(int& /*status*/) {}
void ECHO_LOAD_COMBINATIONS(int& /*status*/) {}
void PRINT_PILE_PROPERTIES(int& /*status*/) {}
void PRINT_SOIL_PROFILE(int& /*status*/) {}
void ECHO_REDUCTION_FACTORS(int& /*status*/) {}

}  // namespace pilecap
