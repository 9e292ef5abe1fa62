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

// CHECK_PLOT_EXPORT_REQUEST
// When the plot-data file is asked for: at least one plot segment per pile
// and, when a deflection list is given, 2 to 25 deflections, the first not
// negative and each above the one before.
//   Reads:  RunOptions.plot_export, PyExportRequest
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line
void CHECK_PLOT_EXPORT_REQUEST(int& status);

// ECHO_LOAD_CASES: TABLE C, load cases; completes default point lists.
void ECHO_LOAD_CASES(int& status);

// ECHO_LOAD_COMBINATIONS: TABLE C, combinations, envelope options, load sets.
void ECHO_LOAD_COMBINATIONS(int& status);

// PRINT_PILE_PROPERTIES: TABLE E, pile geometry, sections and cross sections.
void PRINT_PILE_PROPERTIES(int& status);

// PRINT_SOIL_PROFILE: TABLE F, soil data.
void PRINT_SOIL_PROFILE(int& status);

// ECHO_USER_PY_CURVES: TABLE G and the working user p-y curves.
void ECHO_USER_PY_CURVES(int& status);

// ECHO_AXIAL_TORSION_CURVES: TABLES H and I with the generated curves.
void ECHO_AXIAL_TORSION_CURVES(int& status);

// ECHO_MOMENT_CURVATURE_SETS: TABLE J and the moment-curvature sets.
void ECHO_MOMENT_CURVATURE_SETS(int& status);

// ECHO_REDUCTION_FACTORS: TABLES J1, J2 and K.
void ECHO_REDUCTION_FACTORS(int& status);

}  // namespace pilecap
