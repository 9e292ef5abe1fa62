// Spring curves of the plot-data file: the combination of the two half
// curves a node lumps and the point records of a node's spring, the
// negative branch the positive one mirrored through the origin. Curves are
// 1-based, abscissas increasing.
#include "results/plot_file.hpp"

namespace pilecap::plot {

namespace {

// A half curve that ends at the origin (or before it) carries nothing.
bool generated(const SpringCurve& c) { return c.n >= 1 && c.a(c.n) > 0.0; }

}  // namespace

SpringCurve zero_curve(int n) {
  SpringCurve c;
  c.n = n;
  return c;
}

void COMBINE_HALF_CURVES(const SpringCurve& upper, const SpringCurve& lower, SpringCurve& node) {
  if (!generated(lower)) {
    node = upper;
    return;
  }
  if (!generated(upper)) {
    node = lower;
    return;
  }
  // The base ends first, so every abscissa of it lies on the other curve.
  const bool upper_is_base = lower.a(lower.n) > upper.a(upper.n);
  const SpringCurve& base = upper_is_base ? upper : lower;
  const SpringCurve& other = upper_is_base ? lower : upper;
  SpringCurve result;
  result.n = base.n;
  for (int i = 1; i <= base.n; ++i) {
    result.a(i) = base.a(i);
    result.b(i) = base.b(i) + value_on_points(other.a, other.b, other.n, base.a(i));
  }
  node = result;
}

void WRITE_SPRING_POINTS(const SpringCurve& curve, const PlotTipCurve* tip) {
  const int n = curve.n;
  // Mirrored as 0 - v, so that a point at the origin keeps a plain 0.
  for (int j = 1; j < n; ++j) write_record(POINT_LAYOUT, j, 0.0 - curve.a(n + 1 - j), 0.0 - curve.b(n + 1 - j));
  for (int j = n; j <= 2 * n - 1; ++j) {
    const double a = curve.a(j - n + 1);
    double b = curve.b(j - n + 1);
    if (tip != nullptr) b += Qtip(*tip, a);
    write_record(POINT_LAYOUT, j, a, b);
  }
}

}  // namespace pilecap::plot
