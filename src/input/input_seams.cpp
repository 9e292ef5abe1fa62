// Steps of the input subsystem that the run sequence calls and that do not
// write, convert or echo anything yet.
#include "input/input.hpp"

namespace pilecap {

void CONVERT_INPUT_UNITS(int& /*status*/) {}

}  // namespace pilecap
