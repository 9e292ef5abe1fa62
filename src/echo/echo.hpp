// The input echo: the steps of ECHO_INPUT_DATA in their order. Each step
// prints its tables on the input echo report and builds the working tables
// of the analysis from the input records.
#pragma once

#include <string>
#include <string_view>

#include "input/input.hpp"

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

// LoadType: the code LoadCase.load_type names; any other code, negative
// ones included, is the special type.
constexpr int LOAD_DEAD = 0;
constexpr int LOAD_LIVE = 1;
constexpr int LOAD_SEISMIC = 2;
constexpr int LOAD_IMPACT = 3;
constexpr int LOAD_WIND = 4;
constexpr int LOAD_WATER = 5;
constexpr int LOAD_ICE = 6;
constexpr int LOAD_SOILS = 7;
constexpr int LOAD_ROOF_LIVE = 8;
constexpr int LOAD_RAIN = 9;
constexpr int LOAD_SNOW = 10;
constexpr int LOAD_TEMPERATURE = 11;
constexpr int LOAD_SPECIAL = 12;

constexpr int LOAD_TYPE_NAME_LENGTH = 32;

// LOAD_TYPE_NAME
// The name of a load type code, padded with blanks.
//   in:  code  any integer
//   out: name  LOAD_TYPE_NAME_LENGTH characters
void LOAD_TYPE_NAME(int code, std::string& name);

// PRINT_VARIATION_NOTE
// One line on the echo saying whether the quantity labelled is kept constant
// (flag not 0) or changes with the load factor of an incremental analysis.
//   in: flag, label  (10 characters)
void PRINT_VARIATION_NOTE(int flag, const std::string& label);

// ECHO_LOAD_CASES
// TABLE C, first part: one block per load case with its loads, the data of a
// stiffness estimation or incremental analysis and its control values. A
// case that asks for estimation or incremental points and gives none gets
// the default list of ten, which the analysis then uses.
//   Reads:  LoadCase, ConcentratedLoad, SpecifiedDofData, LoadAssignment,
//           RunOptions (dimension), UnitLabels
//   Writes: LoadCase.num_points and point_factors, count2 and
//           pushover_factors of such cases
//   in,out: status  never set
void ECHO_LOAD_CASES(int& status);

// ECHO_LOAD_COMBINATIONS
// TABLE C, second part: the case envelope options, the combinations with
// their member cases and controls, the combination envelope options and the
// distributed-load and soil-movement sets. Prints only.
//   Reads:  EnvelopeOptions, LoadCombination, LoadCase.name, LoadSetTable
//   in,out: status  never set
void ECHO_LOAD_COMBINATIONS(int& status);

// PRINT_RUN_CONTROLS
// The closing lines of a case or combination block: its loading kind, its
// control parameters, its axial-variation and EI lines and its print option.
//   in: t, i  the case or combination table and the 1-based entry
//       blank_before_nodes  false for the combinations, whose step line has
//                           no blank before "NODE(S)"
void PRINT_RUN_CONTROLS(const LoadControlTable& t, int i, bool blank_before_nodes);

// PRINT_RESULT_OPTION
// The print-option line, and for option 2 the node-step line.
void PRINT_RESULT_OPTION(int option, int node_step, bool blank_before_nodes);

// PRINT_PILE_PROPERTIES
// TABLE E: the property sets and their sections as the input gave them, the
// description of every cross section and the tables of the elastic and the
// nonlinear cross sections' properties. Prints only; runs after
// BUILD_PILE_PROPERTIES, whose moment-curvature numbers it shows.
//   Reads:  PileProperty, PileSection, CrossSection, PropertySetInput.count,
//           RunOptions.dimension, UnitLabels
//   in,out: status  never set
void PRINT_PILE_PROPERTIES(int& status);

// PRINT_CROSS_SECTIONS
// The "* PILE CROSS SECTIONS *" descriptions of TABLE E, one block per cross
// section: shape, dimensions and moduli of an elastic one, the description
// its moment-curvature curves were made from for a nonlinear one.
//   Reads:  CrossSection, RunOptions.dimension, UnitLabels
void PRINT_CROSS_SECTIONS();

// PRINT_SOIL_PROFILE
// TABLE F: every soil layer with its code, depths and the properties its
// code uses at the layer top and bottom. Where the input gave 0 for a p-y
// modulus, a strain at 50 % stress, a side friction or a tip resistance the
// table shows the program's estimate with a note letter, and ends with the
// notes that occurred. The estimates are shown only, never stored.
//   Reads:  SoilProfile, PileTable, PileProperty, RunOptions, RunConstants.pi,
//           UnitLabels
//   in,out: status  a failing soil query of the side-friction or tip
//                   estimate (22 to 27); the table ends there
void PRINT_SOIL_PROFILE(int& status);

// CHECK_PY_PRINT_REQUESTS
// Every p-y print request names a pile of the pile table, so the printed
// curves index only piles that exist.
//   Reads:  PyPrintRequest, PileTable.n_piles, RunOptions.dimension
//   in,out: status  STATUS_INPUT_DATA_ERROR with its detail line otherwise
void CHECK_PY_PRINT_REQUESTS(int& status);

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

// ECHO_REDUCTION_FACTORS
// TABLE J1 (depth factor tables, with the depth reduction option), TABLE J2
// (soil movement profile, with its option) and TABLE K: the reduction
// factors for closely spaced piles as the method makes them. Methods 1 and 3
// compute them for the movement of the lateral load of case 1 or of the
// given direction; in 3D the two directions are then combined into the
// first pair (the second kept, the first saved in PileTable); methods 2 and
// 4 print the input factors.
//   Reads:  RunOptions, DepthFactorTable, SoilMovementProfile, PileTable,
//           PileSection.diameter, LoadCase and its loads, UnitLabels
//   Writes: ClosePileFactors, PileTable (p_factor_saved, y_factor_saved,
//           head_plan), UNIT_ECHO
//   in,out: status  STATUS_CAPACITY_EXCEEDED with its detail line when a
//                   method that computes the factors meets more individual
//                   piles than the pile table holds
void ECHO_REDUCTION_FACTORS(int& status);

}  // namespace pilecap
