// Input data and input report: the input records as read, the reader of the
// input data file, the conversion of input units and the input echo.
#pragma once

namespace pilecap {

// The option line of the input file and the run-time switches derived from it.
struct RunOptionsRecord {
  int units = 0;       // 1 English, 2 SI
  int force_unit = 0;  // 1: forces shown in kips under English units
  // Curve-generation word: 0 while the analysis runs, 1 while p-y curves are
  // generated for printing or export.
  int print_py_curves = 0;
};
extern RunOptionsRecord RunOptions;

// READ_INPUT_FILE
// Reads the whole input data file on UNIT_INPUT into the input records and
// prints the report headers.
//   in,out: status  STATUS_INPUT_DATA_ERROR or STATUS_CAPACITY_EXCEEDED on bad input
void READ_INPUT_FILE(int& status);

// CONVERT_INPUT_UNITS
// Converts the input from its units (feet, pounds) to the model units, in place.
void CONVERT_INPUT_UNITS(int& status);

// ECHO_INPUT_DATA
// Prints the input echo and builds the working tables of the analysis.
void ECHO_INPUT_DATA(int& status);

}  // namespace pilecap
