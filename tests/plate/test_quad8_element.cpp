// The flat-shell element: rigid-body modes (the in-plane rotation with
// matching node rotations) in the null space of an unsupported element, the
// node rotations tied to the membrane's rotation, patch
// tests solved on 2 x 2 patches (constant membrane stresses, constant moments
// with zero shear), the internal forces K u, and the springs the data attach.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

class Quad8ElementTest : public PlateTest {};

// A 2 x 2 patch over [0, 2] x [0, 1.5] whose interior corner and boundary
// corners are moved: no element is a parallelogram.
void distorted_patch(int ix, int iy, double& x, double& y) {
  if (ix == 2 && iy == 2) {
    x = 1.23;
    y = 0.61;
  } else if (ix == 4 && iy == 4) {
    x += 0.31;
    y += 0.17;
  } else if (ix == 0 && iy == 2) {
    x -= 0.12;
  } else if (ix == 2 && iy == 0) {
    y -= 0.09;
  }
}

MeshPlan distorted_plan(int nnode = 8, int ngaus = 2) {
  MeshPlan plan;
  plan.a = 2.0;
  plan.b = 1.5;
  plan.nnode = nnode;
  plan.ngaus = ngaus;
  plan.corner = distorted_patch;
  return plan;
}

// A 2 x 2 patch of parallelograms of unequal size: an uneven grid, sheared.
void skewed_patch(int ix, int iy, double& x, double& y) {
  const double u = ix == 2 ? 0.8 : x;
  const double v = iy == 2 ? 0.45 : y;
  x = u + 0.35 * v;
  y = 0.9 * v + 0.1 * u;
}

// The rigid-body modes of the shell: translations UX, UY, UZ, the in-plane
// rotation carried by UX, UY with the same rotation ROTZ at every node, the
// two tilts w = x (theta_x = 1), w = y (theta_y = 1).
std::array<std::vector<double>, 5> rigid_modes(const std::vector<double>& x, const std::vector<double>& y) {
  std::array<std::vector<double>, 5> modes;
  const std::size_t nevab = PLATE_NODE_DOFS * x.size();
  for (auto& mode : modes) mode.assign(nevab, 0.0);
  for (std::size_t p = 0; p < x.size(); ++p) {
    const std::size_t base = PLATE_NODE_DOFS * p;
    modes[0][base] = 1.0;
    modes[1][base + 1] = 1.0;
    modes[2][base + 2] = 1.0;
    modes[3][base] = -y[p];
    modes[3][base + 1] = x[p];
    modes[3][base + 5] = 1.0;
    modes[4][base + 2] = x[p] + 2.0 * y[p];
    modes[4][base + 3] = 1.0;
    modes[4][base + 4] = 2.0;
  }
  return modes;
}

TEST_F(Quad8ElementTest, RigidBodyModesCarryNoForceAndTheDrillingRotationIsTiedToTheMembrane) {
  struct Case {
    int nnode, ngaus;
  };
  for (const Case c : {Case{8, 2}, Case{8, 3}, Case{4, 2}, Case{9, 3}, Case{8, 1}}) {
    reset_plate_records();
    MeshPlan plan;
    plan.nx = plan.ny = 1;
    plan.nnode = c.nnode;
    plan.ngaus = c.ngaus;
    plan.corner = [](int ix, int iy, double& x, double& y) {
      if (ix == 2 && iy == 2) {
        x = 1.4;
        y = 1.2;
      } else if (ix == 2) {
        y = -0.3;
      }
    };
    install_mesh(layout_mesh(plan));
    int status = 0;
    QUAD8_ELEMENT_STIFFNESS(1, status);
    ASSERT_EQ(status, 0);
    const auto& k = PlateElementWork.element_matrix;
    const int nevab = PlateControl.NEVAB;
    double largest = 0.0;
    for (int r = 1; r <= nevab; ++r) {
      for (int col = 1; col <= nevab; ++col) {
        largest = std::max(largest, std::fabs(k(r, col)));
        EXPECT_EQ(k(r, col), k(col, r));
      }
    }
    std::vector<double> xs, ys;
    for (int p = 1; p <= c.nnode; ++p) {
      xs.push_back(PlateElementWork.coordinates(1, p));
      ys.push_back(PlateElementWork.coordinates(2, p));
    }
    const auto modes = rigid_modes(xs, ys);
    for (std::size_t m = 0; m < modes.size(); ++m) {
      for (int r = 1; r <= nevab; ++r) {
        double force = 0.0;
        for (int col = 1; col <= nevab; ++col) force += k(r, col) * modes[m][col - 1];
        EXPECT_NEAR(force, 0.0, 1e-12 * largest) << c.nnode << " nodes, " << c.ngaus << " points, mode " << m;
      }
    }
    // A node rotation against a membrane at rest is resisted (no node's
    // rotation is left free), and so is a membrane rotation whose nodes do
    // not turn with it: the rotation is tied to the membrane, not the ground.
    for (int p = 1; p <= c.nnode; ++p) {
      EXPECT_GT(k(PLATE_ELEMENT_VARIABLE(p, PLATE_ROTZ), PLATE_ELEMENT_VARIABLE(p, PLATE_ROTZ)), 0.0);
    }
    std::vector<double> unturned = modes[3];
    for (int p = 1; p <= c.nnode; ++p) unturned[PLATE_ELEMENT_VARIABLE(p, PLATE_ROTZ) - 1] = 0.0;
    double energy = 0.0;
    for (int r = 1; r <= nevab; ++r) {
      for (int col = 1; col <= nevab; ++col) energy += unturned[r - 1] * k(r, col) * unturned[col - 1];
    }
    EXPECT_GT(energy, 1e-6 * largest) << c.nnode << " nodes, " << c.ngaus << " points";
  }
}

// Guards the order the element once depended on: the drilling penalty's
// 3 x 3 rule wrote its points into the stress record, so it had to run before
// the element's own rule overwrote them. Now it writes none of them.
TEST_F(Quad8ElementTest, StressRecordHoldsOnlyTheElementsOwnSamplingPoints) {
  constexpr double SENTINEL = -999.0;
  for (int ngaus : {1, 2}) {
    SCOPED_TRACE(ngaus);
    reset_plate_records();
    MeshPlan plan;
    plan.nx = plan.ny = 1;
    plan.ngaus = ngaus;
    install_mesh(layout_mesh(plan));
    PlateElementWork.record.sampling_point_coordinates.fill(SENTINEL);
    int status = 0;
    QUAD8_ELEMENT_STIFFNESS(1, status);
    ASSERT_EQ(status, 0);
    const auto& points = PlateElementWork.record.sampling_point_coordinates;
    for (int k = 1; k <= PLATE_MAX_SAMPLING_POINTS; ++k) {
      for (int c = 1; c <= PLATE_DIMENSIONS; ++c) {
        if (k > ngaus * ngaus) {
          EXPECT_EQ(points(c, k), SENTINEL) << "point " << k;
          continue;
        }
        double low = PlateElementWork.coordinates(c, 1), high = low;
        for (int n = 2; n <= PlateControl.NNODE; ++n) {
          low = std::min(low, PlateElementWork.coordinates(c, n));
          high = std::max(high, PlateElementWork.coordinates(c, n));
        }
        EXPECT_GT(points(c, k), low) << "point " << k;
        EXPECT_LT(points(c, k), high) << "point " << k;
      }
    }
  }
}

// Restrains every node: the listed DOFs take the field's values at boundary
// nodes (code 1) and are free inside; every other DOF is held at 0.
template <class Field>
void prescribe_on_boundary(const Mesh& mesh, std::initializer_list<int> field_dofs, Field field) {
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    std::array<int, 6> codes{1, 1, 1, 1, 1, 1};
    std::array<double, 6> values{};
    const std::array<double, 6> exact = field(mesh.x[n - 1], mesh.y[n - 1]);
    for (int d : field_dofs) {
      codes[d - 1] = mesh.on_boundary(n) ? 1 : 0;
      values[d - 1] = exact[d - 1];
    }
    set_restraint(n, n, codes, values);
  }
}

void solve_plate(int& status) {
  PLATE_ELEMENT_MATRICES(status);
  if (status == 0) PLATE_LOAD_VECTORS(status);
  if (status == 0) FRONTAL_SOLVE(status);
}

// Linear displacements on a distorted patch: the interior nodes take the
// field and every sampling point has the same stresses D_m eps. The Gauss
// points are single-precision constants, so the element integrals, and the
// patch test, hold to about 1e-8 of the field's size. A field that also
// turns the membrane by w (its node rotations given as w on the boundary and
// free inside) gives the same stresses, and the inner nodes turn by w: the
// drilling rotation follows the membrane's.
TEST_F(Quad8ElementTest, MembranePatchTestOnADistortedPatch) {
  struct Case {
    int nnode, ngaus;
  };
  for (const double w : {0.0, 4e-3}) {
    for (const Case c : {Case{8, 2}, Case{8, 3}, Case{4, 2}, Case{9, 3}}) {
      reset_plate_records();
      const MeshPlan plan = distorted_plan(c.nnode, c.ngaus);
      const Mesh mesh = layout_mesh(plan);
      install_mesh(mesh, {.restraints = mesh.n_nodes});
      constexpr double ex = 2e-3, ey = -1e-3, gxy = 3e-3;  // strains of the field
      auto field = [&](double x, double y) {
        return std::array<double, 6>{
            1e-3 + ex * x + (0.5 * gxy - w) * y, -2e-3 + ey * y + (0.5 * gxy + w) * x, 0, 0, 0, w};
      };
      if (w == 0.0) {
        prescribe_on_boundary(mesh, {PLATE_UX, PLATE_UY}, field);
      } else {
        prescribe_on_boundary(mesh, {PLATE_UX, PLATE_UY, PLATE_ROTZ}, field);
      }
      int status = 0;
      solve_plate(status);
      ASSERT_EQ(status, 0);
      constexpr double field_size = 5e-3;
      for (int n = 1; n <= mesh.n_nodes; ++n) {
        const auto exact = field(mesh.x[n - 1], mesh.y[n - 1]);
        EXPECT_NEAR(solved(n, PLATE_UX), exact[0], 1e-7 * field_size) << c.nnode << " nodes, node " << n;
        EXPECT_NEAR(solved(n, PLATE_UY), exact[1], 1e-7 * field_size) << c.nnode << " nodes, node " << n;
        EXPECT_NEAR(solved(n, PLATE_ROTZ), exact[5], 1e-7 * field_size) << c.nnode << " nodes, node " << n;
      }
      const double scale = plan.young / (1 - plan.poisson * plan.poisson);
      const double sx = scale * (ex + plan.poisson * ey);
      const double sy = scale * (ey + plan.poisson * ex);
      const double txy = scale * (1 - plan.poisson) / 2 * gxy;
      for (int e = 1; e <= mesh.n_elements; ++e) {
        for (int k = 1; k <= c.ngaus * c.ngaus; ++k) {
          const auto stress = sampling_stresses(e, k, PlateModel.DSDIS);
          EXPECT_NEAR(stress[0], sx, 1e-6 * sx) << c.nnode << " nodes, element " << e << " point " << k;
          EXPECT_NEAR(stress[1], sy, 1e-6 * sx) << c.nnode << " nodes, element " << e << " point " << k;
          EXPECT_NEAR(stress[2], txy, 1e-6 * sx) << c.nnode << " nodes, element " << e << " point " << k;
        }
      }
    }
  }
}

// A quadratic deflection with theta = grad w: constant curvatures, so
// constant moments M = -D (w_xx + nu w_yy) ..., and zero shear forces.
struct QuadraticDeflection {
  double c0 = 1e-3, cx = 2e-3, cy = -1e-3, cxx = 4e-3, cxy = -3e-3, cyy = 2.5e-3;
  std::array<double, 6> operator()(double x, double y) const {
    return {0,
            0,
            c0 + cx * x + cy * y + cxx * x * x + cxy * x * y + cyy * y * y,
            cx + 2 * cxx * x + cxy * y,
            cy + cxy * x + 2 * cyy * y,
            0};
  }
};

void expect_constant_moments(const MeshPlan& plan, const QuadraticDeflection& w, const Table1<double>& u,
                             int n_elements, bool zero_shear) {
  const double t = plan.thickness;
  const double rigidity = plan.young * t * t * t / (12 * (1 - plan.poisson * plan.poisson));
  const double kx = -2 * w.cxx;
  const double ky = -2 * w.cyy;
  const double kxy = -2 * w.cxy;
  const double mx = rigidity * (kx + plan.poisson * ky);
  const double my = rigidity * (ky + plan.poisson * kx);
  const double mxy = rigidity * (1 - plan.poisson) / 2 * kxy;
  const double size = std::fabs(mx) + std::fabs(my) + std::fabs(mxy);
  for (int e = 1; e <= n_elements; ++e) {
    for (int k = 1; k <= plan.ngaus * plan.ngaus; ++k) {
      const auto stress = sampling_stresses(e, k, u);
      EXPECT_NEAR(stress[3], mx, 1e-9 * size) << "element " << e << " point " << k;
      EXPECT_NEAR(stress[4], my, 1e-9 * size) << "element " << e << " point " << k;
      EXPECT_NEAR(stress[5], mxy, 1e-9 * size) << "element " << e << " point " << k;
      if (zero_shear) {
        EXPECT_NEAR(stress[6], 0.0, 1e-9 * size) << "element " << e << " point " << k;
        EXPECT_NEAR(stress[7], 0.0, 1e-9 * size) << "element " << e << " point " << k;
      }
    }
  }
}

// Solved on a patch of unequal, sheared parallelograms, where the quadratic
// field lies in the element's space: the interior nodes take it exactly.
TEST_F(Quad8ElementTest, BendingPatchTestGivesConstantMomentsAndNoShear) {
  for (int nnode : {8, 9}) {
    reset_plate_records();
    MeshPlan plan;
    plan.nnode = nnode;
    plan.corner = skewed_patch;
    const Mesh mesh = layout_mesh(plan);
    install_mesh(mesh, {.restraints = mesh.n_nodes});
    const QuadraticDeflection w;
    prescribe_on_boundary(mesh, {PLATE_UZ, PLATE_ROTX, PLATE_ROTY}, w);
    int status = 0;
    solve_plate(status);
    ASSERT_EQ(status, 0);
    for (int n = 1; n <= mesh.n_nodes; ++n) {
      const auto exact = w(mesh.x[n - 1], mesh.y[n - 1]);
      for (int d : {PLATE_UZ, PLATE_ROTX, PLATE_ROTY}) {
        EXPECT_NEAR(solved(n, d), exact[d - 1], 1e-12) << nnode << " nodes, node " << n << " dof " << d;
      }
    }
    expect_constant_moments(plan, w, PlateModel.DSDIS, mesh.n_elements, true);
  }
}

// On a distorted patch the rotations are linear fields, which every element
// reproduces: the moments stay constant at every sampling point.
TEST_F(Quad8ElementTest, DistortedPatchKeepsMomentsOfLinearRotationsConstant) {
  const MeshPlan plan = distorted_plan();
  const Mesh mesh = layout_mesh(plan);
  install_mesh(mesh);
  const QuadraticDeflection w;
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    const auto exact = w(mesh.x[n - 1], mesh.y[n - 1]);
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) PlateModel.TSDIS(PLATE_EQUATION(n, d)) = exact[d - 1];
  }
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  ASSERT_EQ(status, 0);
  expect_constant_moments(plan, w, PlateModel.TSDIS, mesh.n_elements, false);
}

// The right-hand side after the pass is -K u for u = ASDIS + TSDIS.
TEST_F(Quad8ElementTest, InternalForcesAreTheMatrixTimesTheCurrentDisplacement) {
  const MeshPlan plan = distorted_plan();
  const Mesh mesh = layout_mesh(plan);
  install_mesh(mesh);
  for (int q = 1; q <= mesh.equations(); ++q) {
    PlateModel.ASDIS(q) = 1e-3 * std::sin(0.7 * q);
    PlateModel.TSDIS(q) = 1e-4 * std::cos(1.3 * q);
  }
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  ASSERT_EQ(status, 0);
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int r = 1; r <= PlateControl.NEVAB; ++r) {
      double expected = 0.0, size = 0.0;
      for (int c = 1; c <= PlateControl.NEVAB; ++c) {
        const int p = (c - 1) / 6 + 1;
        const int q = PLATE_EQUATION(PlateModel.element_nodes(e, p), c - 6 * (p - 1));
        const double term = PlateModel.element_matrices(e, r, c) * (PlateModel.ASDIS(q) + PlateModel.TSDIS(q));
        expected -= term;
        size += std::fabs(term);
      }
      EXPECT_NEAR(PlateModel.element_vectors(e, r), expected, 1e-13 * size + 1e-300);
    }
  }
}

// The springs the data attach: each adds to the diagonal and takes c u from
// the right-hand side. Sums over the element's nodes: a nodal stiffness once
// (in the first element holding its node), a distributed one k x area, a
// concentrated one k, an edge one k x the side's true length.
TEST_F(Quad8ElementTest, SpringsAddTheirTotalStiffnessOnce) {
  const MeshPlan plan = distorted_plan();
  const Mesh mesh = layout_mesh(plan);
  const DataCounts counts{
      .nodal_stiffnesses = 1, .distributed_stiffnesses = 2, .concentrated_stiffnesses = 2, .edge_stiffnesses = 1};
  install_mesh(mesh, counts);
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  ASSERT_EQ(status, 0);
  Table3<double> bare;
  bare.create("bare", mesh.n_elements, PlateControl.NEVAB, PlateControl.NEVAB);
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int r = 1; r <= PlateControl.NEVAB; ++r) {
      for (int c = 1; c <= PlateControl.NEVAB; ++c) bare(e, r, c) = PlateModel.element_matrices(e, r, c);
    }
  }
  // The total stiffness the springs add to DOF d of element e (or of the
  // whole mesh), and a check that nothing else changed.
  auto added = [&](int e, int d) {
    double sum = 0.0;
    for (int p = 1; p <= PlateControl.NNODE; ++p) {
      const int v = PLATE_ELEMENT_VARIABLE(p, d);
      sum += PlateModel.element_matrices(e, v, v) - bare(e, v, v);
    }
    return sum;
  };
  const int shared_node = mesh.node_at(2, 2);  // held by all four elements
  PlateModel.nodal_stiffness_nodes(1) = shared_node;
  PlateModel.nodal_stiffnesses(1, PLATE_UZ) = 500.0;
  PlateModel.distributed_stiffness_elements(1) = 4;
  PlateModel.distributed_stiffnesses(1, PLATE_UZ) = 7.0;
  PlateModel.distributed_stiffness_elements(2) = 4;
  PlateModel.distributed_stiffnesses(2, PLATE_UX) = 1e-31;  // below the threshold: nothing
  PlateModel.concentrated_stiffness_elements(1) = 2;
  PlateModel.concentrated_stiffness_points(1, 1) = 0.3;
  PlateModel.concentrated_stiffness_points(1, 2) = -0.6;
  PlateModel.concentrated_stiffnesses(1, PLATE_ROTX) = 40.0;
  PlateModel.concentrated_stiffness_elements(2) = 0;  // a point in no element
  PlateModel.concentrated_stiffnesses(2, PLATE_ROTX) = 1e6;
  PlateModel.edge_stiffness_keys(1, EDGE_KEY_ELEMENT) = 4;
  PlateModel.edge_stiffness_keys(1, EDGE_KEY_SIDE) = 2;
  PlateModel.edge_stiffness_keys(1, EDGE_KEY_DOF) = PLATE_UY;
  for (int q = 1; q <= 3; ++q) PlateModel.edge_stiffnesses(1, q) = 3.0;
  for (int pass = 1; pass <= 2; ++pass) {  // a second pass adds the nodal stiffness again, once
    for (int e = 1; e <= mesh.n_elements; ++e) {
      for (int r = 1; r <= PlateControl.NEVAB; ++r) PlateModel.element_vectors(e, r) = 0.0;
    }
    PLATE_ELEMENT_MATRICES(status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(added(1, PLATE_UZ), 500.0, 1e-9) << "the shared node's first element";
    for (int e = 2; e <= 3; ++e) EXPECT_NEAR(added(e, PLATE_UZ), 0.0, 1e-9) << "element " << e;
    // Element 4: the whole distributed spring over its area, plus the edge spring.
    const double area = 0.5 * std::fabs((mesh.x[mesh.node_at(4, 4) - 1] - mesh.x[mesh.node_at(2, 2) - 1]) *
                                            (mesh.y[mesh.node_at(2, 4) - 1] - mesh.y[mesh.node_at(4, 2) - 1]) -
                                        (mesh.x[mesh.node_at(2, 4) - 1] - mesh.x[mesh.node_at(4, 2) - 1]) *
                                            (mesh.y[mesh.node_at(4, 4) - 1] - mesh.y[mesh.node_at(2, 2) - 1]));
    EXPECT_NEAR(added(4, PLATE_UZ), 7.0 * area, 1e-9);
    EXPECT_NEAR(added(4, PLATE_UX), 0.0, 1e-12);
    const double side = std::hypot(mesh.x[mesh.node_at(4, 4) - 1] - mesh.x[mesh.node_at(4, 2) - 1],
                                   mesh.y[mesh.node_at(4, 4) - 1] - mesh.y[mesh.node_at(4, 2) - 1]);
    EXPECT_NEAR(added(4, PLATE_UY), 3.0 * side, 1e-9);
    EXPECT_NEAR(added(2, PLATE_ROTX), 40.0, 1e-9);
  }
  // The right-hand side of a spring term is -c u: with u = 1 at every UZ,
  // element 1's UZ entries sum to -(K_e u) minus the nodal spring.
  for (int n = 1; n <= mesh.n_nodes; ++n) PlateModel.TSDIS(PLATE_EQUATION(n, PLATE_UZ)) = 1.0;
  for (int r = 1; r <= PlateControl.NEVAB; ++r) PlateModel.element_vectors(1, r) = 0.0;
  PLATE_ELEMENT_MATRICES(status);
  double uz_sum = 0.0;
  for (int p = 1; p <= PlateControl.NNODE; ++p)
    uz_sum += PlateModel.element_vectors(1, PLATE_ELEMENT_VARIABLE(p, PLATE_UZ));
  EXPECT_NEAR(uz_sum, -500.0, 1e-9);  // a rigid translation has no internal force
}

TEST_F(Quad8ElementTest, PoissonRatioOfOneFails) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.poisson = 1.0;
  install_mesh(layout_mesh(plan));
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_EQ(PlateFailure.detail, "    POISSON RATIO OF 1 OR -1 IN PLATE MATERIAL 1");
}

}  // namespace
}  // namespace pilecap::testing
