// Input data: the reader of the input data file, the conversion of input
// units, the working tables built from the input (pile table, property sets)
// and the load resultants at the origin. The records themselves are in
// model/input_records.hpp.
#pragma once

#include <string>
#include <string_view>

#include "model/input_records.hpp"

namespace pilecap {

// The input lines that gave the property sets, cross sections, soil layers
// and generated curves, kept by the reader so that a check made after
// it (the echo, the curve generators) can name where a value came from.
// 0 = not read in this run.
struct InputLinesRecord {
  Array1<int, MAX_INPUT_PROPERTY_SETS> property_set;  // increments, length and pile type
  Array1<int, MAX_CROSS_SECTIONS> cross_section;      // the line of E, area, inertias and GJ (top)
  Array1<int, MAX_INPUT_SOIL_LAYERS> soil_layer;      // the first point line of the layer
  Array1<int, TABLE_CAPACITY> generated_ls_curve;     // the line naming the pile of curve k
  Array1<int, TABLE_CAPACITY> generated_tr_curve;
};
extern InputLinesRecord InputLines;

// INPUT_PLACE
// "INPUT SECTION 10 (SOIL LAYERS), LINE 45": a line of the input data file
// as the messages name it, the section by its usual header.
std::string INPUT_PLACE(int section, int line);

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

// READ_INPUT_FILE
// Writes the report headers, then reads the whole input data file on
// UNIT_INPUT into the input records, writes one "READING" line per section
// to the run log, opens the curve export file and sets the unit labels and
// result column headings. A failed read stops at once and leaves the detail
// line of the final message (SET_STATUS_DETAIL), naming the section, the line
// and the offending text.
//   Reads:  RunFiles.curve_export_file
//   Writes: every input record, the unit labels and column headings
//   in,out: status  STATUS_OK on success; STATUS_INPUT_DATA_ERROR for a file
//                   that does not follow the layout or holds values the
//                   analysis cannot use; STATUS_CAPACITY_EXCEEDED for a count
//                   beyond its table; STATUS_FILE_ERROR when the export file
//                   cannot be opened
void READ_INPUT_FILE(int& status);

// CONVERT_INPUT_UNITS
// Converts the input records once, in place, from the units of the input file
// to the model units. English units (every units value but 2): site lengths
// from feet to inches, soil unit weights per cubic foot and strengths, side
// friction and tip resistance per square foot to per square inch (not the
// rock strength of codes 6 and 9). SI units: cross-section dimensions, areas
// and moments of inertia from millimetres to metres. Forces, moments, angles,
// load values and curves are left as read. Copies the pile count of the
// model's dimension into PileTable.n_piles.
//   Reads:  RunOptions (units, dimension, print_py_curves, user_py_curves,
//           depth_reduction, soil_movement_profile) and the input counts
//   Writes: CapGeometry, ConcentratedLoad and SpecifiedDofData points,
//           LoadSetTable depths, PileArrangementInput, PropertySetInput,
//           CrossSection, SoilLayerInput, PyPrintRequest, UserPyCurveSet,
//           DepthFactorTable and SoilMovementProfile depths, PileTable.n_piles
//   in,out: status  left unchanged: the conversion cannot fail
void CONVERT_INPUT_UNITS(int& status);

// ------------------------------------------- load resultants at the origin
//
// Load vectors at the cap origin, 6 doubles in the order of the cap
// displacements: X, Y, Z, rotation X, rotation Y, rotation Z. A 2D model
// fills elements 1, 2 and 6 and leaves 3 to 5 at zero; its caller moves
// element 6 to position 3. Output arrays are plain 6-element arrays, element
// 1 at index 0. The routines change nothing but their outputs.

// CASE_LOAD_AT_ORIGIN
// Sums the concentrated loads of case k with their moments about the origin
// (M = m + p x F) and multiplies the sum by the case's scale factor. A case
// whose loads are prescribed at a point (point_loads_flag 1) gives zeros.
//   Reads:  RunOptions.dimension, LoadCase, ConcentratedLoad
//   in:     k  1-based case number, 1 <= k <= LoadCase.count
//   out:    r  6 doubles
void CASE_LOAD_AT_ORIGIN(int k, double* r);

// COMBINATION_LOAD_AT_ORIGIN
// The sum over the members of combination j of the member factor times the
// member case's load at the origin (with that case's scale factor). A member
// naming no case read contributes nothing; no member gives zeros.
//   Reads:  LoadCombination and what CASE_LOAD_AT_ORIGIN reads
//   in:     j  1-based combination number, 1 <= j <= LoadCombination.count
//   out:    r  6 doubles
void COMBINATION_LOAD_AT_ORIGIN(int j, double* r);

// CASE_SPECIFIED_DOFS
// The loads and displacements that case k prescribes at one point. Per input
// degree of freedom a flag of 0 keeps the displacement and zeroes the load,
// 1 keeps the load and zeroes the displacement, any other flag keeps both.
// r, p and u are multiplied by the scale factor; xyz and flags are not.
// When point_loads_flag is 0, r, p, u and xyz are zeros and flags is left
// untouched. In 2D only flags 1, 2 and 6 are written, and p holds the
// prescribed moment in element 3 while r, u and flags hold it in element 6.
//   Reads:  RunOptions.dimension, LoadCase, SpecifiedDofData
//   in:     k      1-based case number, 1 <= k <= LoadCase.count
//   out:    r      6 doubles: the prescribed loads carried to the origin
//   out:    p      6 doubles: the prescribed loads at the point
//   out:    u      6 doubles: the prescribed displacements
//   out:    xyz    6 doubles: the point, then zeros
//   out:    flags  6 ints: the prescription flags in cap order
void CASE_SPECIFIED_DOFS(int k, double* r, double* p, double* u, double* xyz, int* flags);

}  // namespace pilecap
