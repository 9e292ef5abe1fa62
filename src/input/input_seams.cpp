// Steps of the input subsystem that the run sequence calls and that do not
// read, convert or echo anything yet.
#include "input/input.hpp"

namespace pilecap {

RunOptionsRecord RunOptions;

void READ_INPUT_FILE(int& /*status*/) {}

void CONVERT_INPUT_UNITS(int& /*status*/) {}

void ECHO_INPUT_DATA(int& /*status*/) {}

}  // namespace pilecap
