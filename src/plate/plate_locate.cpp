// Location of points of the plate (loads, springs, piles) in its mesh: for
// each element in order, Newton's method on the isoparametric map
// x(xi, eta) = sum N_n x_n from the element's centre, with the full 2 x 2
// Jacobian, so an element may lie in any orientation. A point belongs to the
// first element in which the iteration settles inside -1 <= xi, eta <= 1
// (widened by PLATE_LOCATE_BOUNDARY for rounding), the iteration settling
// when both corrections of (xi, eta) are below PLATE_NEGLIGIBLE. Points and elements count
// from 1; a point's (x, y) is replaced by its (xi, eta) once found.
#include <cmath>

#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr int DERIVATIVE_XI = 1;
constexpr int DERIVATIVE_ETA = 2;

bool inside(double local) { return std::fabs(local) <= 1 + PLATE_LOCATE_BOUNDARY; }

// Newton's method for the point (x, y) in the element whose node coordinates
// are in PlateElementWork.coordinates; true with (xi, eta) when it settles
// inside the element.
bool locate_in_element(double x, double y, double& xi, double& eta) {
  const PlateElementWorkRecord& w = PlateElementWork;
  const int nnode = PlateControl.NNODE;
  xi = 0.0;
  eta = 0.0;
  for (int k = 1; k <= PLATE_LOCATE_MAX_ITERATIONS; ++k) {
    PlateControl.ITER = k;
    QUAD8_SHAPE_FUNCTIONS(xi, eta, nnode);
    double mapped_x = 0.0;
    double mapped_y = 0.0;
    double dx_dxi = 0.0;
    double dy_dxi = 0.0;
    double dx_deta = 0.0;
    double dy_deta = 0.0;
    for (int n = 1; n <= nnode; ++n) {
      const double xn = w.coordinates(1, n);
      const double yn = w.coordinates(2, n);
      mapped_x += w.shape(n) * xn;
      mapped_y += w.shape(n) * yn;
      dx_dxi += w.local_derivatives(DERIVATIVE_XI, n) * xn;
      dy_dxi += w.local_derivatives(DERIVATIVE_XI, n) * yn;
      dx_deta += w.local_derivatives(DERIVATIVE_ETA, n) * xn;
      dy_deta += w.local_derivatives(DERIVATIVE_ETA, n) * yn;
    }
    const double determinant = dx_dxi * dy_deta - dy_dxi * dx_deta;
    if (determinant == 0.0 || !std::isfinite(determinant)) return false;
    const double rx = x - mapped_x;
    const double ry = y - mapped_y;
    const double d_xi = (dy_deta * rx - dx_deta * ry) / determinant;
    const double d_eta = (dx_dxi * ry - dy_dxi * rx) / determinant;
    xi += d_xi;
    eta += d_eta;
    if (!std::isfinite(xi) || !std::isfinite(eta)) return false;
    if (k == 1) continue;  // the first correction is taken without a test
    // The local coordinates lie in -1..1, so the correction itself is the
    // measure: one relative to a coordinate that is a rounding residue of 0
    // (a point on an element's centre line) would never become small.
    if (std::fabs(d_xi) < PLATE_NEGLIGIBLE && std::fabs(d_eta) < PLATE_NEGLIGIBLE) {
      return inside(xi) && inside(eta);
    }
  }
  return false;
}

}  // namespace

void LOCATE_PLATE_POINTS(int count, Table2<double>& points, Table1<int>& elements) {
  for (int p = 1; p <= count; ++p) elements(p) = 0;
  int found = 0;
  for (int e = 1; e <= PlateControl.NELEM && found < count; ++e) {
    COPY_ELEMENT_COORDINATES(e);
    for (int p = 1; p <= count; ++p) {
      if (elements(p) != 0) continue;
      double xi = 0.0;
      double eta = 0.0;
      if (!locate_in_element(points(p, 1), points(p, 2), xi, eta)) continue;
      elements(p) = e;
      points(p, 1) = xi;
      points(p, 2) = eta;
      ++found;
    }
  }
}

}  // namespace pilecap
