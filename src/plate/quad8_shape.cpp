// Geometry of the plate's quadrilaterals: the Gauss-Legendre rule, the shape
// functions of the 4-node bilinear, 8-node serendipity and 9-node Lagrangian
// elements with their local derivatives, the Jacobian of the isoparametric
// map with the Cartesian derivatives, and sampling points along a side.
// Local node order: corners (-1,-1), (1,-1), (1,1), (-1,1) counter-clockwise,
// then the mid-side nodes of sides 1-2, 2-3, 3-4, 4-1, then the centre.
#include <cmath>
#include <string>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "plate/plate.hpp"

namespace pilecap {

PlateGaussRuleRecord PlateGaussRule;
PlateElementWorkRecord PlateElementWork;

namespace {

// Gauss-Legendre points and weights, stored in single precision.
constexpr double GAUSS_2_POSITION = double(0.577350269f);
constexpr double GAUSS_3_POSITION = double(0.774596669f);
constexpr double GAUSS_1_WEIGHT = 2.0;
constexpr double GAUSS_2_WEIGHT = 1.0;
constexpr double GAUSS_3_OUTER_WEIGHT = double(0.555555556f);
constexpr double GAUSS_3_CENTRE_WEIGHT = double(0.888888889f);

// Local coordinates (xi, eta) of the nodes.
constexpr double NODE_XI[PLATE_MAX_ELEMENT_NODES] = {-1, 1, 1, -1, 0, 1, 0, -1, 0};
constexpr double NODE_ETA[PLATE_MAX_ELEMENT_NODES] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};

constexpr int BILINEAR_NODES = 4;
constexpr int SERENDIPITY_NODES = 8;
constexpr int LAGRANGIAN_NODES = 9;
constexpr int DERIVATIVE_XI = 1;
constexpr int DERIVATIVE_ETA = 2;
constexpr int FIRST_MID_SIDE_NODE = 5;

//
//
//  PROGRAM HALTED IN SUBROUTINE JACOB2
//             ZERO OR NEGATIVE AREA
//            ELEMENT NUMBER     5
constexpr const char* JACOB2_HALT_LAYOUT =
    "(/,/,\" PROGRAM HALTED IN SUBROUTINE JACOB2\",/,11X,\" ZERO OR NEGATIVE AREA\",/,10X,\" ELEMENT NUMBER \",I5)";

// One-dimensional quadratic Lagrange functions through -1, 0, 1 at r, for a
// node at r_n, and their derivatives.
double lagrange(double r, double r_n) {
  if (r_n < 0) return r * (r - 1) / 2;
  if (r_n > 0) return r * (r + 1) / 2;
  return 1 - r * r;
}
double lagrange_derivative(double r, double r_n) {
  if (r_n < 0) return r - 0.5;
  if (r_n > 0) return r + 0.5;
  return -2 * r;
}

void set_node(int n, double value, double d_xi, double d_eta) {
  PlateElementWork.shape(n) = value;
  PlateElementWork.local_derivatives(DERIVATIVE_XI, n) = d_xi;
  PlateElementWork.local_derivatives(DERIVATIVE_ETA, n) = d_eta;
}

void serendipity(double s, double t) {
  for (int n = 1; n <= SERENDIPITY_NODES; ++n) {
    const double sn = NODE_XI[n - 1];
    const double tn = NODE_ETA[n - 1];
    if (n < FIRST_MID_SIDE_NODE) {
      set_node(n, (1 + s * sn) * (1 + t * tn) * (s * sn + t * tn - 1) / 4,
               sn * (1 + t * tn) * (2 * s * sn + t * tn) / 4, tn * (1 + s * sn) * (s * sn + 2 * t * tn) / 4);
    } else if (sn == 0) {
      set_node(n, (1 - s * s) * (1 + t * tn) / 2, -s * (1 + t * tn), tn * (1 - s * s) / 2);
    } else {
      set_node(n, (1 + s * sn) * (1 - t * t) / 2, sn * (1 - t * t) / 2, -t * (1 + s * sn));
    }
  }
}

}  // namespace

void GAUSS_LEGENDRE_RULE(int points, Array1<double, PLATE_MAX_GAUSS>& positions,
                         Array1<double, PLATE_MAX_GAUSS>& weights) {
  positions.fill(0.0);
  weights.fill(0.0);
  switch (points) {
    case 1:
      positions(1) = -0.0;
      weights(1) = GAUSS_1_WEIGHT;
      break;
    case 2:
      positions(1) = -GAUSS_2_POSITION;
      positions(2) = GAUSS_2_POSITION;
      weights(1) = weights(2) = GAUSS_2_WEIGHT;
      break;
    case 3:
      positions(1) = -GAUSS_3_POSITION;
      positions(2) = 0.0;
      positions(3) = GAUSS_3_POSITION;
      weights(1) = weights(3) = GAUSS_3_OUTER_WEIGHT;
      weights(2) = GAUSS_3_CENTRE_WEIGHT;
      break;
    default:
      break;  // CHECK_PLATE_ELEMENT_KIND refuses other rules
  }
}

void PLATE_GAUSS_RULE() {
  GAUSS_LEGENDRE_RULE(PlateControl.NGAUS, PlateGaussRule.sampling_positions, PlateGaussRule.sampling_weights);
}

void QUAD8_SHAPE_FUNCTIONS(double xi, double eta, int node_count) {
  PlateElementWork.shape.fill(0.0);
  PlateElementWork.local_derivatives.fill(0.0);
  switch (node_count) {
    case BILINEAR_NODES:
      for (int n = 1; n <= BILINEAR_NODES; ++n) {
        const double sn = NODE_XI[n - 1];
        const double tn = NODE_ETA[n - 1];
        set_node(n, (1 + xi * sn) * (1 + eta * tn) / 4, sn * (1 + eta * tn) / 4, tn * (1 + xi * sn) / 4);
      }
      break;
    case SERENDIPITY_NODES:
      serendipity(xi, eta);
      break;
    case LAGRANGIAN_NODES:
      for (int n = 1; n <= LAGRANGIAN_NODES; ++n) {
        const double sn = NODE_XI[n - 1];
        const double tn = NODE_ETA[n - 1];
        set_node(n, lagrange(xi, sn) * lagrange(eta, tn), lagrange_derivative(xi, sn) * lagrange(eta, tn),
                 lagrange(xi, sn) * lagrange_derivative(eta, tn));
      }
      break;
    default:
      break;  // no functions: everything stays 0
  }
}

void COPY_ELEMENT_COORDINATES(int element) {
  PlateElementWork.coordinates.fill(0.0);
  for (int n = 1; n <= PlateControl.NNODE; ++n) {
    const int node = PlateModel.element_nodes(element, n);
    for (int c = 1; c <= PLATE_DIMENSIONS; ++c) {
      PlateElementWork.coordinates(c, n) = PlateModel.node_coordinates(node, c);
    }
  }
}

void JACOB2(int element, double& determinant, int k, int& status) {
  PlateElementWorkRecord& w = PlateElementWork;
  const int nnode = PlateControl.NNODE;
  // jacobian(i, j): derivative i (xi, eta) of coordinate j (x, y).
  Array2<double, 2, PLATE_DIMENSIONS> jacobian{};
  for (int c = 1; c <= PLATE_DIMENSIONS; ++c) {
    double position = 0.0;
    for (int n = 1; n <= nnode; ++n) {
      position += w.shape(n) * w.coordinates(c, n);
      for (int i = 1; i <= 2; ++i) jacobian(i, c) += w.local_derivatives(i, n) * w.coordinates(c, n);
    }
    if (k != PLATE_POINT_NOT_RECORDED) w.record.sampling_point_coordinates(c, k) = position;
  }
  determinant = jacobian(1, 1) * jacobian(2, 2) - jacobian(1, 2) * jacobian(2, 1);
  if (!(determinant > 0.0)) {
    fio::write(UNIT_PLATE_LISTING, JACOB2_HALT_LAYOUT, element);
    FAIL_PLATE(status, "    ZERO OR NEGATIVE AREA IN PLATE ELEMENT " + std::to_string(element));
    return;
  }
  const double inverse[2][2] = {{jacobian(2, 2) / determinant, -jacobian(1, 2) / determinant},
                                {-jacobian(2, 1) / determinant, jacobian(1, 1) / determinant}};
  for (int n = 1; n <= nnode; ++n) {
    for (int i = 1; i <= 2; ++i) {
      w.cartesian_derivatives(i, n) = inverse[i - 1][0] * w.local_derivatives(DERIVATIVE_XI, n) +
                                      inverse[i - 1][1] * w.local_derivatives(DERIVATIVE_ETA, n);
    }
  }
}

void AREA_SAMPLING_POINT(int element, int k, double& area, int& status) {
  const int ngaus = PlateControl.NGAUS;
  const int i = (k - 1) / ngaus + 1;  // xi position, the outer loop
  const int j = (k - 1) % ngaus + 1;  // eta position, the inner loop
  QUAD8_SHAPE_FUNCTIONS(PlateGaussRule.sampling_positions(i), PlateGaussRule.sampling_positions(j), PlateControl.NNODE);
  double determinant = 0.0;
  JACOB2(element, determinant, k, status);
  area = determinant * PlateGaussRule.sampling_weights(i) * PlateGaussRule.sampling_weights(j);
}

void PLATE_EDGE_POINT(int element, int side, double xi, PlateEdgePoint& point) {
  PILECAP_ASSERT(side >= 1 && side <= PLATE_CORNERS, "an element has four sides");
  const bool quadratic = PlateControl.NNODE > BILINEAR_NODES;
  point.n_nodes = quadratic ? 3 : 2;
  point.local_nodes(1) = side;
  point.local_nodes(2) = side % PLATE_CORNERS + 1;
  point.local_nodes(3) = quadratic ? side + PLATE_CORNERS : 0;
  // Positions along the side: -1 first corner, +1 second corner, 0 mid-side node.
  constexpr double SIDE_POSITIONS[3] = {-1, 1, 0};
  Array1<double, 3> slope{};
  for (int q = 1; q <= point.n_nodes; ++q) {
    const double r_q = SIDE_POSITIONS[q - 1];
    point.weights(q) = quadratic ? lagrange(xi, r_q) : (1 + xi * r_q) / 2;
    slope(q) = quadratic ? lagrange_derivative(xi, r_q) : r_q / 2;
  }
  double dx = 0.0;
  double dy = 0.0;
  for (int q = 1; q <= point.n_nodes; ++q) {
    const int node = PlateModel.element_nodes(element, point.local_nodes(q));
    dx += slope(q) * PlateModel.node_coordinates(node, 1);
    dy += slope(q) * PlateModel.node_coordinates(node, 2);
  }
  point.length_factor = std::hypot(dx, dy);
}

}  // namespace pilecap
