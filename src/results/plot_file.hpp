// The records of the plot-data file and the spring curves of its curve
// blocks, shared by the plot-data writers. Every record is one write of a
// fixed list of items: a text line in one of four layouts, or one
// unformatted record of the same items (4-byte integers, 8-byte reals).
// Spring curves are 1-based, n points of increasing abscissa from the
// origin (or the first deflection), one branch of a curve that is written
// mirrored. Internal to the results subsystem.
#pragma once

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"
#include "soil/py_curves.hpp"

namespace pilecap::plot {

// ---- record layouts ----
//          1         5         1
constexpr const char* INTEGERS_LAYOUT = "(3I10)";
//          2  180.0000
constexpr const char* NODE_LAYOUT = "(I10,F10.4)";
// Up to six reals (1P,10X,6(1X,G15.8)); the colon ends a shorter record
// right after its last value, with no blank of the next field's 1X.
//              24.000000       36.900000       2549.0000       29000000.
constexpr const char* REALS_LAYOUT = "(1P,10X,6(:,1X,G15.8))";
//          1  -4.8000000      -62971.876
constexpr const char* POINT_LAYOUT = "(1P,I10,2(1X,G15.8))";

// One record of the plot-data file in the file's form.
template <class... A>
void write_record(const char* layout, const A&... values) {
  if (RunOptions.export_unformatted != 0) {
    fio::write_record(UNIT_CURVE_EXPORT, values...);
  } else {
    fio::write(UNIT_CURVE_EXPORT, layout, values...);
  }
}

// ---- spring curves ----

constexpr int MAX_SPRING_POINTS = MAX_GENERATED_PY_POINTS;

// One branch of a spring: n points (a(i), b(i)), abscissas increasing.
struct SpringCurve {
  int n = 0;
  Array1<double, MAX_SPRING_POINTS> a{}, b{};
};

// A branch of n points at the origin.
SpringCurve zero_curve(int n);

// The ordinate of points (a, b), i = 1 .. n (n >= 2), at abscissa v: linear
// between points j - 1 and j, j the first of 2 .. n with a(j) >= v (n when
// none: the last segment extended; a v below a(2) uses the first segment,
// extrapolated below a(1)). A segment of zero length gives b(j - 1).
template <class Abscissas, class Ordinates>
double value_on_points(const Abscissas& a, const Ordinates& b, int n, double v) {
  int j = 2;
  while (j < n && a(j) < v) ++j;
  const double span = a(j) - a(j - 1);
  if (!(span != 0.0)) return b(j - 1);
  return b(j - 1) + (v - a(j - 1)) * (b(j) - b(j - 1)) / span;
}

// COMBINE_HALF_CURVES
// The spring of a node from the half curve of the segment above it (upper)
// and of the segment below it (lower), both of n points: on the abscissas
// of the one that ends first (the lower one on a tie), its ordinates plus
// the other's ordinates there. A half whose last abscissa is not above 0
// was not generated: the other half stands alone.
void COMBINE_HALF_CURVES(const SpringCurve& upper, const SpringCurve& lower, SpringCurve& node);

// WRITE_SPRING_POINTS
// The 2n - 1 point records of a node's spring: points 1 .. n - 1 the branch
// mirrored through the origin and reversed (-a(n), -b(n)) .. (-a(2),
// -b(2)), then points n .. 2n - 1 the branch itself. With a tip, the tip
// load Qtip(a) is added to every ordinate of the positive branch.
void WRITE_SPRING_POINTS(const SpringCurve& curve, const PlotTipCurve* tip);

}  // namespace pilecap::plot
