// The load vectors: the load factor, nodal loads once through the lowest
// element holding the node, distributed loads integrating to their total
// (with the consistent shares of a rectangle), concentrated loads shared by
// the shape functions, edge loads over the side's true length, the 1e-30
// threshold, and records that name nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

class PlateLoadTest : public PlateTest {};

// The sum over the element's nodes of its right-hand side at DOF d, and the
// first moment of it about x = 0.
double load_total(int e, int d) {
  double sum = 0.0;
  for (int p = 1; p <= PlateControl.NNODE; ++p) sum += PlateModel.element_vectors(e, PLATE_ELEMENT_VARIABLE(p, d));
  return sum;
}
double load_moment_x(int e, int d) {
  double sum = 0.0;
  for (int p = 1; p <= PlateControl.NNODE; ++p) {
    sum += PlateModel.element_vectors(e, PLATE_ELEMENT_VARIABLE(p, d)) *
           PlateModel.node_coordinates(PlateModel.element_nodes(e, p), 1);
  }
  return sum;
}

int apply_loads() {
  int status = 0;
  PLATE_LOAD_VECTORS(status);
  return status;
}

TEST_F(PlateLoadTest, LoadFactorFollowsThePseudoTime) {
  struct Case {
    double tini, tend, tcur, factor;
  };
  for (const Case c : {Case{0.0, 1.0, 0.25, 0.25}, Case{0.0, 1.0, 1.0, 1.0}, Case{2.0, 2.0, 2.0, 1.0},
                       Case{2.0, 2.0, 7.0, 1.0}, Case{1.0, 3.0, 2.5, 0.75}}) {
    PlateControl.TINI = c.tini;
    PlateControl.TEND = c.tend;
    PlateControl.TCUR = c.tcur;
    EXPECT_EQ(PLATE_LOAD_FACTOR(), c.factor) << c.tini << " " << c.tend << " " << c.tcur;
  }
}

// Elements numbered so that the node's first element in row order is not the
// lowest-numbered one: the load goes once, to the lowest number.
TEST_F(PlateLoadTest, NodalLoadGoesOnceThroughTheLowestElement) {
  MeshPlan plan;
  plan.element_order = {4, 3, 2, 1};
  const Mesh mesh = layout_mesh(plan);
  install_mesh(mesh, {.nodal_loads = 2});
  PlateModel.nodal_load_nodes(1) = mesh.node_at(2, 2);
  for (int d = 1; d <= 6; ++d) PlateModel.nodal_loads(1, d) = 10.0 * d;
  PlateModel.nodal_load_nodes(2) = mesh.n_nodes + 5;  // a node in no element: nothing
  PlateModel.nodal_loads(2, 1) = 1e6;
  PlateControl.TCUR = 0.5;
  ASSERT_EQ(apply_loads(), 0);
  for (int e = 1; e <= 4; ++e) {
    for (int d = 1; d <= 6; ++d) EXPECT_EQ(load_total(e, d), e == 1 ? 5.0 * d : 0.0) << "element " << e;
  }
  // Element 1 is the last in row order; the node is its first corner.
  EXPECT_EQ(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(1, PLATE_UZ)), 15.0);
}

// A load per unit area on a distorted element integrates to its total; on a
// rectangle its consistent shares are -1/12 at the corners and 1/3 at the
// mid-side nodes.
TEST_F(PlateLoadTest, DistributedLoadIntegratesToItsTotal) {
  MeshPlan plan;
  plan.nx = 2;
  plan.ny = 1;
  plan.a = 4.0;
  plan.b = 1.5;
  plan.corner = [](int ix, int iy, double& x, double& y) {
    if (ix == 4 && iy == 2) {
      x = 4.6;
      y = 2.1;
    }
  };
  const Mesh mesh = layout_mesh(plan);
  install_mesh(mesh, {.distributed_loads = 3});
  PlateModel.distributed_load_elements(1) = 1;
  PlateModel.distributed_loads(1, PLATE_UZ) = -3.0;
  PlateModel.distributed_load_elements(2) = 2;
  PlateModel.distributed_loads(2, PLATE_UX) = 2.0;
  PlateModel.distributed_load_elements(3) = 7;  // no such element: nothing
  PlateModel.distributed_loads(3, PLATE_UX) = 1e6;
  ASSERT_EQ(apply_loads(), 0);
  const double rectangle = 2.0 * 1.5;
  EXPECT_NEAR(load_total(1, PLATE_UZ), -3.0 * rectangle, 1e-7 * rectangle);
  for (int p = 1; p <= 8; ++p) {
    const double share = p <= 4 ? -1.0 / 12 : 1.0 / 3;
    EXPECT_NEAR(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(p, PLATE_UZ)), -3.0 * rectangle * share, 1e-7)
        << "node " << p;
  }
  // Element 2: corners (2, 0), (4, 0), (4.6, 2.1), (2, 1.5).
  const double area = 0.5 * ((4.6 - 2.0) * (1.5 - 0.0) - (2.0 - 4.0) * (2.1 - 0.0));
  EXPECT_NEAR(load_total(2, PLATE_UX), 2.0 * area, 1e-7 * area);
  EXPECT_EQ(load_total(2, PLATE_UZ), 0.0);
}

// Shared by the shape functions: the total and its moment are kept, and a
// point at a node loads that node alone.
TEST_F(PlateLoadTest, ConcentratedLoadKeepsItsTotalAndMoment) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.a = 2.0;
  plan.b = 2.0;
  install_mesh(layout_mesh(plan), {.concentrated_loads = 3});
  PlateModel.concentrated_load_elements(1) = 1;
  PlateModel.concentrated_load_points(1, 1) = 0.5;   // x = 1.5
  PlateModel.concentrated_load_points(1, 2) = -0.5;  // y = 0.5
  PlateModel.concentrated_loads(1, PLATE_UZ) = 100.0;
  PlateModel.concentrated_load_elements(2) = 1;
  PlateModel.concentrated_load_points(2, 1) = 1.0;  // corner node 3
  PlateModel.concentrated_load_points(2, 2) = 1.0;
  PlateModel.concentrated_loads(2, PLATE_ROTX) = 7.0;
  PlateModel.concentrated_load_elements(3) = 0;  // outside the plate: nothing
  PlateModel.concentrated_loads(3, PLATE_UZ) = 1e6;
  ASSERT_EQ(apply_loads(), 0);
  EXPECT_NEAR(load_total(1, PLATE_UZ), 100.0, 1e-12);
  EXPECT_NEAR(load_moment_x(1, PLATE_UZ), 150.0, 1e-12);
  for (int p = 1; p <= 8; ++p) {
    EXPECT_EQ(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(p, PLATE_ROTX)), p == 3 ? 7.0 : 0.0) << p;
  }
}

// A linearly varying load on side 2 (from corner 2 to corner 3) of a
// distorted element: total (a + b)/2 x L with L the side's length, whatever
// side it is, times the load factor; corner 2's share is L (2a + b) / 6 for a
// linear load on a two-node side.
TEST_F(PlateLoadTest, EdgeLoadUsesTheTrueLengthOfItsSide) {
  for (int nnode : {8, 4}) {
    reset_plate_records();
    MeshPlan plan;
    plan.nx = plan.ny = 1;
    plan.nnode = nnode;
    plan.corner = [](int ix, int iy, double& x, double& y) {
      if (ix == 2) x = iy == 0 ? 3.0 : 2.4;
      if (iy == 2) y = ix == 0 ? 1.0 : 2.2;
    };
    const Mesh mesh = layout_mesh(plan);
    install_mesh(mesh, {.edge_loads = 3});
    constexpr double a = 4.0, b = 10.0;
    auto key = [](int i, int element, int side, int dof) {
      PlateModel.edge_load_keys(i, EDGE_KEY_ELEMENT) = element;
      PlateModel.edge_load_keys(i, EDGE_KEY_SIDE) = side;
      PlateModel.edge_load_keys(i, EDGE_KEY_DOF) = dof;
    };
    key(1, 1, 2, PLATE_UY);
    PlateModel.edge_loads(1, 1) = a;
    PlateModel.edge_loads(1, 2) = b;
    PlateModel.edge_loads(1, 3) = (a + b) / 2;
    key(2, 1, 5, PLATE_UX);  // no side 5: nothing
    key(3, 1, 1, 7);         // no DOF 7: nothing
    PlateModel.edge_loads(2, 1) = PlateModel.edge_loads(3, 1) = 1e6;
    PlateControl.TCUR = 0.5;
    ASSERT_EQ(apply_loads(), 0);
    const double length = std::hypot(2.4 - 3.0, 2.2 - 0.0);
    EXPECT_NEAR(load_total(1, PLATE_UY), 0.5 * (a + b) / 2 * length, 1e-6) << nnode << " nodes";
    EXPECT_EQ(load_total(1, PLATE_UX), 0.0);
    if (nnode == 4) {
      EXPECT_NEAR(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(2, PLATE_UY)), 0.5 * length * (2 * a + b) / 6,
                  1e-6);
    }
  }
}

// A factored value below 1e-30 (single precision) adds nothing; one at the
// threshold is added.
TEST_F(PlateLoadTest, FactoredValuesBelowTheThresholdAreSkipped) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  install_mesh(layout_mesh(plan), {.nodal_loads = 1, .concentrated_loads = 1});
  PlateModel.nodal_load_nodes(1) = 1;
  PlateModel.nodal_loads(1, PLATE_UX) = 1.9e-30;  // times 0.5: below
  PlateModel.nodal_loads(1, PLATE_UY) = 2.0 * PLATE_PIVOT_NEGLIGIBLE;
  PlateModel.concentrated_load_elements(1) = 1;
  PlateModel.concentrated_loads(1, PLATE_UZ) = 1.9e-30;
  PlateControl.TCUR = 0.5;
  ASSERT_EQ(apply_loads(), 0);
  EXPECT_EQ(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(1, PLATE_UX)), 0.0);
  EXPECT_EQ(PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(1, PLATE_UY)), PLATE_PIVOT_NEGLIGIBLE);
  EXPECT_EQ(load_total(1, PLATE_UZ), 0.0);
}

}  // namespace
}  // namespace pilecap::testing
