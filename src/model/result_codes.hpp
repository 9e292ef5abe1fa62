// The result-code file: one line per solver run (and per skipped level of a
// flexibility estimation) with the run's outcome, which hosts read to tell
// what was analysed. The cap solvers, the run loop and the cap-stiffness
// estimation write it.
#pragma once

namespace pilecap {

// Result codes of the result-code file.
constexpr int RESULT_COMPLETED = 1;
constexpr int RESULT_PARTIAL_LOAD = 2;
constexpr int RESULT_NO_CAP_CONVERGENCE = 3;
constexpr int RESULT_SKIPPED_ZERO_CAP_FORCE = 5;
constexpr int RESULT_NOT_PERFORMED = 9;
constexpr int RESULT_ESTIMATION_COMPLETED = 10;

// WRITE_RESULT_CODE
// Writes the line of one result code on the result-code file.
//   in: code     one of the RESULT_ codes; any other writes nothing
//   in: percent  the share of the total load reached (code 2 only)
void WRITE_RESULT_CODE(int code, double percent = 0.0);

}  // namespace pilecap
