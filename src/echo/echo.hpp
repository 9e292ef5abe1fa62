// The input echo: the steps of ECHO_INPUT_DATA in their order. Each step
// prints its tables on the input echo report and builds the working tables
// of the analysis from the input records.
#pragma once

namespace pilecap {

// ECHO_INPUT_DATA
// Prints the input echo and builds the working tables of the analysis.
void ECHO_INPUT_DATA(int& status);

// ECHO_HEADING_AND_OPTIONS: the "INPUT INFORMATION" heading, title and option lines.
void ECHO_HEADING_AND_OPTIONS();

// ECHO_PILE_CAP_OPTIONS: TABLE B, then the working cap width of the analysis.
void ECHO_PILE_CAP_OPTIONS();

// ECHO_LOAD_CASES: TABLE C, load cases; completes default point lists.
void ECHO_LOAD_CASES(int& status);

// ECHO_LOAD_COMBINATIONS: TABLE C, combinations, envelope options, load sets.
void ECHO_LOAD_COMBINATIONS(int& status);

// PRINT_PILE_PROPERTIES: TABLE E, pile geometry, sections and cross sections.
void PRINT_PILE_PROPERTIES(int& status);

// PRINT_SOIL_PROFILE: TABLE F, soil data.
void PRINT_SOIL_PROFILE(int& status);

// CHECK_ROCK_LAYER_INPUT
// Refuses a weak rock layer (code 9) whose strain factor krm or rock modulus
// Er, or a vuggy limestone layer (code 6) whose strength, is not above 0 at
// its top or bottom: their curves divide by these.
//   Reads:  SoilProfile
//   in,out: status  STATUS_INPUT_DATA_ERROR with a detail line naming the layer
void CHECK_ROCK_LAYER_INPUT(int& status);

// ECHO_USER_PY_CURVES
// The p-y print requests (with the print option), then the working copy of
// the user p-y curve sets and TABLE G (with the user p-y option). Refuses
// first a print request naming no pile of the model or a depth that is not
// a number, and a pile naming a user p-y set the input does not hold while
// it reads one (its own curves, or a layer of user curves).
//   Reads:  RunOptions, PyPrintRequest, UserPyCurveSet as read, PileTable,
//           SoilProfile, UnitLabels
//   Writes: the working copy of UserPyCurveSet
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line
void ECHO_USER_PY_CURVES(int& status);

// ECHO_AXIAL_TORSION_CURVES: TABLES H and I with the generated curves.
void ECHO_AXIAL_TORSION_CURVES(int& status);

// ECHO_MOMENT_CURVATURE_SETS: TABLE J and the moment-curvature sets.
void ECHO_MOMENT_CURVATURE_SETS(int& status);

// ECHO_REDUCTION_FACTORS: TABLES J1, J2 and K.
void ECHO_REDUCTION_FACTORS(int& status);

}  // namespace pilecap
