// The input echo: the steps of ECHO_INPUT_DATA in their order. Each step
// prints its tables on the input echo report and builds the working tables
// of the analysis from the input records.
#pragma once

namespace pilecap {

// ECHO_HEADING_AND_OPTIONS: the "INPUT INFORMATION" heading, title and option lines.
void ECHO_HEADING_AND_OPTIONS();

// ECHO_PILE_CAP_OPTIONS: TABLE B, then the working cap width of the analysis.
void ECHO_PILE_CAP_OPTIONS();

// ECHO_LOAD_CASES: TABLE C, load cases; completes default point lists.
void ECHO_LOAD_CASES(int& status);

// ECHO_LOAD_COMBINATIONS: TABLE C, combinations, envelope options, load sets.
void ECHO_LOAD_COMBINATIONS(int& status);

// BUILD_PILE_TABLE
// TABLE D: copies the pile arrangement into PileTable, appends the embedded
// cap entry, converts the pile angles to radians and prints the table.
//   Writes: PileTable, ClosePileFactors (input factors), CapPassiveElement
//           head_depth and length, RunConstants.pi
void BUILD_PILE_TABLE();

// BUILD_PILE_PROPERTIES
// Builds the working property sets and their sections from input sections 8
// and 9, appends the set of the embedded cap (set n + 1, one section from 0
// to the cap thickness, the working cap width as diameter and as every
// inertia), numbers the moment-curvature sets of the nonlinear cross
// sections after the user sets (z-z, then y-y in 3D), and computes at both
// ends of every section its rigidities, resultant capacities and, where a
// moment capacity is given, yield curvatures. Sets the sentinel slot of
// every set. The tables are cleared first.
//   Reads:  PropertySetInput, CrossSection, CapGeometry, CapPassiveElement,
//           MomentCurvatureSet.n_user_sets, RunOptions.dimension, PileTable
//           (n_piles, prop)
//   Writes: PileProperty, PileSection, CrossSection.mphi_set_zz and
//           mphi_set_yy of the generated sets
//   in,out: status  STATUS_INPUT_DATA_ERROR, with the detail line, and
//                   nothing built, when a set has no sections, a section
//                   names an undefined cross section or a pile an undefined
//                   property set
void BUILD_PILE_PROPERTIES(int& status);

// PRINT_PILE_PROPERTIES: TABLE E, pile geometry, sections and cross sections.
void PRINT_PILE_PROPERTIES(int& status);

// BUILD_SOIL_PROFILE
// Builds SoilProfile afresh from the soil layers: the layer table, two points
// per layer on every property curve, only the columns each soil code uses
// (the others 0), friction angles in radians with the pi of the moment, and
// the fixed strain of vuggy limestone; then the embedded cap's ground.
//   Reads:  SoilLayerInput, RunConstants.pi, CapPassiveElement.head_depth
//   Writes: SoilProfile; PileTable.ground of the cap entry n_piles + 1
//   in,out: status  never set; the build cannot fail
void BUILD_SOIL_PROFILE(int& status);

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
