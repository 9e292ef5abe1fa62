// Unit conversions switched by the unit system, and small numeric routines
// shared by the solvers, the p-y criteria and the reports. Factors are
// applied one operation at a time as written (x * 12 * 12, never x * 144),
// which fixes the last bit of every result.
#pragma once

#include "base/arrays.hpp"

namespace pilecap {

constexpr int UNITS_ENGLISH = 1;
constexpr int UNITS_SI = 2;
constexpr int FORCE_UNIT_KIPS = 1;

// Forces: pounds and kips, only under English units with the kip option.
double KIPS_FROM_POUNDS(double x);
double POUNDS_FROM_KIPS(double x);
// Lengths, areas and volumes: feet and inches under every system but SI.
double FEET_FROM_INCHES(double x);
double INCHES_FROM_FEET(double x);
double SQ_INCHES_FROM_SQ_FEET(double x);
double SQ_FEET_FROM_SQ_INCHES(double x);
double CU_INCHES_FROM_CU_FEET(double x);
double CU_FEET_FROM_CU_INCHES(double x);
// SI multiples: metres and millimetres, kilonewtons and their powers.
double KILO_SCALE_SI(double x);
double MEGA_SCALE_SI(double x);
double TERA_SCALE_SI(double x);
double KILO_DIVIDE_SI(double x);
double MEGA_DIVIDE_SI(double x);
double TERA_DIVIDE_SI(double x);

// MULTIPLY_6X6_BY_VECTOR
// out := m v for a column-major 6 x 6 m; out must not share storage with m
// or v.
void MULTIPLY_6X6_BY_VECTOR(double* out, const double* m, const double* v);

// MULTIPLY_3X3_BY_VECTOR
// out := m v for a column-major 3 x 3 m (the 2D solver's tangent and a pile
// row's transform); out must not share storage with m or v.
void MULTIPLY_3X3_BY_VECTOR(double* out, const double* m, const double* v);

// MAT6_TIMES_VECTORS
// c(., j) := a * b(., j) for j = 1..n, each 6-vector of b read whole before
// c(., j) is written, so c may be b. Nothing happens when n <= 0.
//   in:  a  6 x 6, a(row, column) at a[(row - 1) + 6 * (column - 1)]
//   in:  b  n vectors of 6 consecutive values
//   out: c  n vectors of 6 consecutive values
void MAT6_TIMES_VECTORS(double* c, const double* a, const double* b, int n);

// MULTIPLY_3X3_BY_COLUMNS
// c(., j) := a * b(., j) for j = 1..n, the plane twin of MAT6_TIMES_VECTORS:
// each 3-vector of b is read whole before c(., j) is written, so c may be b.
// Nothing happens when n <= 0.
//   in:  a  3 x 3, a(row, column) at a[(row - 1) + 3 * (column - 1)]
//   in:  b  n vectors of 3 consecutive values
//   out: c  n vectors of 3 consecutive values
void MULTIPLY_3X3_BY_COLUMNS(double* c, const double* a, const double* b, int n);

// UPDATE_MIN / UPDATE_MAX: m := v when v is below (above) m; a tie keeps m.
void UPDATE_MIN(double& m, double v);
void UPDATE_MAX(double& m, double v);

// ONLY_FOURTH_COMPONENT_NONZERO
// True when of the 6-vector v only component 4 exceeds 1e-14 in magnitude.
bool ONLY_FOURTH_COMPONENT_NONZERO(const double* v);

// NODE_COORDINATE_AT / NODE_DEPTH_AT
// The vertical coordinate (position along the pile) of node j of a pile;
// for j <= 0 extrapolated linearly above the head from nodes 1 and 2.
//   Reads: PileNodes.depth / PileNodes.axial_x
double NODE_COORDINATE_AT(int pile, int j);
double NODE_DEPTH_AT(int pile, int j);

// SCALE_DIFFERENCE_STEPS
// Shrinks the translation and rotation steps of a central difference: in
// the first two iterations the translation step always, later each step
// when it is large against the resultant force (moment) of the loads.
//   in:     loads (6: three forces, three moments), flag (1 = leave as is), iteration
//   in,out: step_t, step_r
void SCALE_DIFFERENCE_STEPS(const double* loads, double& step_t, double& step_r, int flag, int iteration);

}  // namespace pilecap
