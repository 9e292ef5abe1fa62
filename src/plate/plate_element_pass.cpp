// One element pass of a Newton iteration of the plate: for every element its
// tangent matrix, the internal forces K u taken from its right-hand side, the
// springs the data attach to it (nodal, distributed over the area,
// concentrated at a point, along a side) and the pile springs. A spring of
// value c on element variable v adds c to K(v, v) and takes c u(v) from the
// right-hand side, so the residual stays f - K u. Element variables count
// from 1; u is ASDIS + TSDIS gathered at the element's nodes.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/check.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

void gather_displacements(int element) {
  PlateElementWorkRecord& w = PlateElementWork;
  for (int p = 1; p <= PlateControl.NNODE; ++p) {
    const int node = PlateModel.element_nodes(element, p);
    PILECAP_ASSERT(node >= 1 && node <= PlateControl.NPOIN, "the mesh check keeps node numbers in range");
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      const int q = PLATE_EQUATION(node, d);
      w.element_displacements(PLATE_ELEMENT_VARIABLE(p, d)) = PlateModel.ASDIS(q) + PlateModel.TSDIS(q);
    }
  }
}

void subtract_internal_forces(int element) {
  const PlateElementWorkRecord& w = PlateElementWork;
  const int nevab = PLATE_NODE_DOFS * PlateControl.NNODE;
  for (int r = 1; r <= nevab; ++r) {
    double force = 0.0;
    for (int c = 1; c <= nevab; ++c) force += w.element_matrix(r, c) * w.element_displacements(c);
    PlateModel.element_vectors(element, r) -= force;
  }
}

void add_spring(int element, int variable, double stiffness) {
  PlateElementWork.element_matrix(variable, variable) += stiffness;
  PlateModel.element_vectors(element, variable) -= stiffness * PlateElementWork.element_displacements(variable);
}

bool negligible(double value) { return std::fabs(value) < PLATE_PIVOT_NEGLIGIBLE; }

// Where each nodal stiffness acts: once, at the node's first position in the
// first element holding it (element 0: nowhere).
struct NodalSpringOwners {
  Table1<int> element, local_node;
};

// False when the lookup tables cannot be had.
bool find_nodal_spring_owners(NodalSpringOwners& owners) {
  const int count = std::max(PlateControl.NNSTI, 0);
  if (!owners.element.create("nodal spring element", count) ||
      !owners.local_node.create("nodal spring local node", count)) {
    return false;
  }
  for (int i = 1; i <= owners.element.size(); ++i) {
    FIRST_ELEMENT_HOLDING(PlateModel.nodal_stiffness_nodes(i), owners.element(i), owners.local_node(i));
  }
  return true;
}

void add_nodal_springs(int element, const NodalSpringOwners& owners) {
  for (int i = 1; i <= owners.element.size(); ++i) {
    if (owners.element(i) != element) continue;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      add_spring(element, PLATE_ELEMENT_VARIABLE(owners.local_node(i), d), PlateModel.nodal_stiffnesses(i, d));
    }
  }
}

void add_distributed_springs(int element, int& status) {
  const int nnode = PlateControl.NNODE;
  for (int i = 1; i <= PlateControl.NDSTI; ++i) {
    if (PlateModel.distributed_stiffness_elements(i) != element) continue;
    for (int k = 1; k <= PlateControl.NGAUS * PlateControl.NGAUS; ++k) {
      double area = 0.0;
      AREA_SAMPLING_POINT(element, k, area, status);
      if (status != 0) return;
      for (int n = 1; n <= nnode; ++n) {
        for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
          const double value = PlateModel.distributed_stiffnesses(i, d);
          if (negligible(value)) continue;
          add_spring(element, PLATE_ELEMENT_VARIABLE(n, d), PlateElementWork.shape(n) * area * value);
        }
      }
    }
  }
}

void add_concentrated_springs(int element) {
  const int nnode = PlateControl.NNODE;
  for (int i = 1; i <= PlateControl.NCSTI; ++i) {
    if (PlateModel.concentrated_stiffness_elements(i) != element) continue;
    QUAD8_SHAPE_FUNCTIONS(PlateModel.concentrated_stiffness_points(i, 1),
                          PlateModel.concentrated_stiffness_points(i, 2), nnode);
    for (int n = 1; n <= nnode; ++n) {
      for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
        const double value = PlateModel.concentrated_stiffnesses(i, d);
        if (negligible(value)) continue;
        add_spring(element, PLATE_ELEMENT_VARIABLE(n, d), PlateElementWork.shape(n) * value);
      }
    }
  }
}

// A line spring along the side, its value interpolated from the side's
// nodes, integrated with the true length of the side and lumped onto them.
void add_edge_springs(int element) {
  for (int i = 1; i <= PlateControl.edge_stiffness_count; ++i) {
    if (PlateModel.edge_stiffness_keys(i, EDGE_KEY_ELEMENT) != element) continue;
    const int side = PlateModel.edge_stiffness_keys(i, EDGE_KEY_SIDE);
    const int dof = PlateModel.edge_stiffness_keys(i, EDGE_KEY_DOF);
    if (side < 1 || side > PLATE_CORNERS || dof < 1 || dof > PLATE_NODE_DOFS) continue;
    for (int g = 1; g <= PlateControl.NGAUS; ++g) {
      PlateEdgePoint point;
      PLATE_EDGE_POINT(element, side, PlateGaussRule.sampling_positions(g), point);
      double value = 0.0;
      for (int q = 1; q <= point.n_nodes; ++q) value += PlateModel.edge_stiffnesses(i, q) * point.weights(q);
      const double line_stiffness = PlateGaussRule.sampling_weights(g) * value * point.length_factor;
      for (int q = 1; q <= point.n_nodes; ++q) {
        add_spring(element, PLATE_ELEMENT_VARIABLE(point.local_nodes(q), dof), point.weights(q) * line_stiffness);
      }
    }
  }
}

// A pile whose response is not a number (a failed pile solution) would put
// that value into the plate's matrices and its debug trace: it ends the
// iteration, naming the pile, the step and the iteration.
void check_pile_responses(int& status) {
  const std::vector<PlatePileResponse>& piles = PlatePileCoupling.piles;
  for (std::size_t k = 0; k < piles.size(); ++k) {
    const PlatePileResponse& r = piles[k];
    bool finite = true;
    for (int i = 1; i <= PLATE_NODE_DOFS; ++i) {
      finite = finite && std::isfinite(r.plate_forces(i));
      for (int j = 1; j <= PLATE_NODE_DOFS; ++j) finite = finite && std::isfinite(r.plate_stiffness(i, j));
    }
    if (!finite) {
      FAIL_PLATE(status,
                 "    THE RESPONSE OF PILE " + std::to_string(k + 1) + " IS NOT FINITE" + PLATE_ITERATION_NAME());
      return;
    }
  }
}

void store_element(int element) {
  const int nevab = PLATE_NODE_DOFS * PlateControl.NNODE;
  for (int r = 1; r <= nevab; ++r) {
    for (int c = 1; c <= nevab; ++c) PlateModel.element_matrices(element, r, c) = PlateElementWork.element_matrix(r, c);
  }
  PlateModel.element_records(element) = PlateElementWork.record;
}

}  // namespace

void PLATE_ELEMENT_MATRICES(int& status) {
  CHECK_PLATE_ELEMENT_KIND(status);
  if (status != 0) return;
  NodalSpringOwners owners;
  if (!find_nodal_spring_owners(owners)) {
    FAIL_PLATE(status, PLATE_ALLOCATION_DETAIL);
    return;
  }
  PLATE_PILE_RESPONSES(1, status);
  if (status == 0) check_pile_responses(status);
  if (status != 0) return;
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    if (PLATE_STOP_POLL(status)) return;
    QUAD8_ELEMENT_STIFFNESS(e, status);
    if (status != 0) return;
    gather_displacements(e);
    subtract_internal_forces(e);
    add_nodal_springs(e, owners);
    add_distributed_springs(e, status);
    if (status != 0) return;
    add_concentrated_springs(e);
    add_edge_springs(e);
    PLATE_PILE_SPRINGS(e, status);
    if (status != 0) return;
    store_element(e);
  }
}

}  // namespace pilecap
