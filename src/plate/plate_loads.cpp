// The loads of the plate data, scaled by the load factor of the current
// pseudo-time, added to the element right-hand sides: nodal loads, loads per
// unit area integrated with the shape functions over the element's Gauss
// rule, point loads shared by the shape functions at the point, and loads
// per unit length along a side, integrated with the side's true length.
// Element variable 6(p-1)+d is DOF d of local node p.
#include <cmath>

#include "plate/plate.hpp"

namespace pilecap {

namespace {

// The factored value, or 0 when it is below the load threshold.
double factored(double factor, double value) {
  const double term = factor * value;
  return std::fabs(term) < PLATE_PIVOT_NEGLIGIBLE ? 0.0 : term;
}

bool element_exists(int element) { return element >= 1 && element <= PlateControl.NELEM; }

void add_nodal_loads(double factor) {
  for (int i = 1; i <= PlateControl.NNLOD; ++i) {
    int element = 0;
    int local_node = 0;
    FIRST_ELEMENT_HOLDING(PlateModel.nodal_load_nodes(i), element, local_node);
    if (element == 0) continue;  // a node in no element carries nothing
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      PlateModel.element_vectors(element, PLATE_ELEMENT_VARIABLE(local_node, d)) +=
          factored(factor, PlateModel.nodal_loads(i, d));
    }
  }
}

void add_distributed_loads(double factor, int& status) {
  const int nnode = PlateControl.NNODE;
  for (int i = 1; i <= PlateControl.NDLOD; ++i) {
    const int element = PlateModel.distributed_load_elements(i);
    if (!element_exists(element)) continue;
    COPY_ELEMENT_COORDINATES(element);
    for (int k = 1; k <= PlateControl.NGAUS * PlateControl.NGAUS; ++k) {
      double area = 0.0;
      AREA_SAMPLING_POINT(element, k, area, status);
      if (status != 0) return;
      for (int p = 1; p <= nnode; ++p) {
        for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
          PlateModel.element_vectors(element, PLATE_ELEMENT_VARIABLE(p, d)) +=
              PlateElementWork.shape(p) * area * factored(factor, PlateModel.distributed_loads(i, d));
        }
      }
    }
  }
}

void add_concentrated_loads(double factor) {
  const int nnode = PlateControl.NNODE;
  for (int i = 1; i <= PlateControl.NCLOD; ++i) {
    const int element = PlateModel.concentrated_load_elements(i);
    if (!element_exists(element)) continue;  // a point outside the plate carries nothing
    QUAD8_SHAPE_FUNCTIONS(PlateModel.concentrated_load_points(i, 1), PlateModel.concentrated_load_points(i, 2), nnode);
    for (int p = 1; p <= nnode; ++p) {
      for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
        PlateModel.element_vectors(element, PLATE_ELEMENT_VARIABLE(p, d)) +=
            PlateElementWork.shape(p) * factored(factor, PlateModel.concentrated_loads(i, d));
      }
    }
  }
}

// The load per unit length is interpolated from its values at the side's
// nodes (first corner, second corner, mid-side node).
void add_edge_loads(double factor) {
  for (int i = 1; i <= PlateControl.edge_load_count; ++i) {
    const int element = PlateModel.edge_load_keys(i, EDGE_KEY_ELEMENT);
    const int side = PlateModel.edge_load_keys(i, EDGE_KEY_SIDE);
    const int dof = PlateModel.edge_load_keys(i, EDGE_KEY_DOF);
    if (!element_exists(element) || side < 1 || side > PLATE_CORNERS || dof < 1 || dof > PLATE_NODE_DOFS) continue;
    for (int g = 1; g <= PlateControl.NGAUS; ++g) {
      PlateEdgePoint point;
      PLATE_EDGE_POINT(element, side, PlateGaussRule.sampling_positions(g), point);
      double value = 0.0;
      for (int q = 1; q <= point.n_nodes; ++q)
        value += factored(factor, PlateModel.edge_loads(i, q)) * point.weights(q);
      const double line_load = value * PlateGaussRule.sampling_weights(g) * point.length_factor;
      for (int q = 1; q <= point.n_nodes; ++q) {
        PlateModel.element_vectors(element, PLATE_ELEMENT_VARIABLE(point.local_nodes(q), dof)) +=
            point.weights(q) * line_load;
      }
    }
  }
}

}  // namespace

double PLATE_LOAD_FACTOR() {
  const double span = PlateControl.TEND - PlateControl.TINI;
  return span == 0.0 ? 1.0 : (PlateControl.TCUR - PlateControl.TINI) / span;
}

void PLATE_LOAD_VECTORS(int& status) {
  CHECK_PLATE_ELEMENT_KIND(status);
  if (status != 0) return;
  const double factor = PLATE_LOAD_FACTOR();
  add_nodal_loads(factor);
  add_distributed_loads(factor, status);
  if (status != 0) return;
  add_concentrated_loads(factor);
  add_edge_loads(factor);
}

}  // namespace pilecap
