// The element geometry: shape functions (interpolation at the nodes,
// partition of unity, linear completeness, derivatives against finite
// differences), the Gauss rule's degree of exactness, the Jacobian of affine
// elements, sampling along a side, and the halt on a reversed element.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double NODE_XI[9] = {-1, 1, 1, -1, 0, 1, 0, -1, 0};
constexpr double NODE_ETA[9] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};
const std::vector<std::pair<double, double>> PROBE_POINTS = {
    {0.0, 0.0}, {0.3, -0.7}, {-0.91, 0.42}, {1.0, 0.25}, {-0.5, -1.0}};

class ShapeFunctionTest : public PlateTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShapeFunctionTest, EachFunctionIsOneAtItsNodeAndZeroAtTheOthers) {
  const int nnode = GetParam();
  for (int n = 1; n <= nnode; ++n) {
    QUAD8_SHAPE_FUNCTIONS(NODE_XI[n - 1], NODE_ETA[n - 1], nnode);
    for (int m = 1; m <= nnode; ++m) {
      EXPECT_NEAR(PlateElementWork.shape(m), m == n ? 1.0 : 0.0, 1e-15) << "node " << n << " function " << m;
    }
  }
}

TEST_P(ShapeFunctionTest, PartitionOfUnityAndLinearCompleteness) {
  const int nnode = GetParam();
  for (const auto& [xi, eta] : PROBE_POINTS) {
    QUAD8_SHAPE_FUNCTIONS(xi, eta, nnode);
    double sum = 0.0, sum_xi = 0.0, sum_eta = 0.0, slope_sum[2] = {0.0, 0.0}, slope_xi = 0.0, slope_eta = 0.0;
    for (int n = 1; n <= nnode; ++n) {
      sum += PlateElementWork.shape(n);
      sum_xi += PlateElementWork.shape(n) * NODE_XI[n - 1];
      sum_eta += PlateElementWork.shape(n) * NODE_ETA[n - 1];
      for (int i = 1; i <= 2; ++i) slope_sum[i - 1] += PlateElementWork.local_derivatives(i, n);
      slope_xi += PlateElementWork.local_derivatives(1, n) * NODE_XI[n - 1];
      slope_eta += PlateElementWork.local_derivatives(2, n) * NODE_ETA[n - 1];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14) << xi << " " << eta;
    EXPECT_NEAR(sum_xi, xi, 1e-14);
    EXPECT_NEAR(sum_eta, eta, 1e-14);
    EXPECT_NEAR(slope_sum[0], 0.0, 1e-14);
    EXPECT_NEAR(slope_sum[1], 0.0, 1e-14);
    EXPECT_NEAR(slope_xi, 1.0, 1e-14);
    EXPECT_NEAR(slope_eta, 1.0, 1e-14);
  }
}

TEST_P(ShapeFunctionTest, DerivativesMatchCentralDifferences) {
  const int nnode = GetParam();
  constexpr double h = 1e-6;
  for (const auto& [xi, eta] : PROBE_POINTS) {
    std::vector<double> plus_xi(nnode), minus_xi(nnode), plus_eta(nnode), minus_eta(nnode);
    auto sample = [&](double s, double t, std::vector<double>& out) {
      QUAD8_SHAPE_FUNCTIONS(s, t, nnode);
      for (int n = 1; n <= nnode; ++n) out[n - 1] = PlateElementWork.shape(n);
    };
    sample(xi + h, eta, plus_xi);
    sample(xi - h, eta, minus_xi);
    sample(xi, eta + h, plus_eta);
    sample(xi, eta - h, minus_eta);
    QUAD8_SHAPE_FUNCTIONS(xi, eta, nnode);
    for (int n = 1; n <= nnode; ++n) {
      EXPECT_NEAR(PlateElementWork.local_derivatives(1, n), (plus_xi[n - 1] - minus_xi[n - 1]) / (2 * h), 1e-8)
          << "node " << n << " at " << xi << ", " << eta;
      EXPECT_NEAR(PlateElementWork.local_derivatives(2, n), (plus_eta[n - 1] - minus_eta[n - 1]) / (2 * h), 1e-8)
          << "node " << n << " at " << xi << ", " << eta;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(NodeCounts, ShapeFunctionTest, ::testing::Values(4, 8, 9));

TEST_F(PlateTest, UnsupportedNodeCountLeavesNoFunctions) {
  QUAD8_SHAPE_FUNCTIONS(0.2, 0.3, 8);
  QUAD8_SHAPE_FUNCTIONS(0.2, 0.3, 6);
  for (int n = 1; n <= PLATE_MAX_ELEMENT_NODES; ++n) EXPECT_EQ(PlateElementWork.shape(n), 0.0);
  PlateControl.NNODE = 6;
  PlateControl.NGAUS = 2;
  int status = 0;
  CHECK_PLATE_ELEMENT_KIND(status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_EQ(PlateFailure.detail, "    ELEMENTS OF 6 NODES WITH 2 SAMPLING POINTS PER DIRECTION ARE NOT SUPPORTED");
}

// An n-point rule integrates x^k exactly up to k = 2n - 1 (within the single
// precision of its constants) and not x^2n.
TEST_F(PlateTest, GaussRuleIsExactToItsDegree) {
  for (int points = 1; points <= 3; ++points) {
    PlateControl.NGAUS = points;
    PLATE_GAUSS_RULE();
    auto integral = [&](int power) {
      double sum = 0.0;
      for (int g = 1; g <= points; ++g) {
        sum += PlateGaussRule.sampling_weights(g) * std::pow(PlateGaussRule.sampling_positions(g), power);
      }
      return sum;
    };
    for (int power = 0; power <= 2 * points - 1; ++power) {
      const double exact = power % 2 == 0 ? 2.0 / (power + 1) : 0.0;
      EXPECT_NEAR(integral(power), exact, 1e-6) << points << " points, x^" << power;
    }
    EXPECT_GT(std::fabs(integral(2 * points) - 2.0 / (2 * points + 1)), 1e-3) << points << " points";
  }
  EXPECT_EQ(PlateGaussRule.sampling_positions(2), 0.0);
  EXPECT_EQ(PlateGaussRule.sampling_weights(2), 0.8888888955116272);
}

// A parallelogram element (sides straight, mid-side nodes at the middles):
// det J is a quarter of its area everywhere, and the Cartesian derivatives
// give the gradient of a linear field exactly.
TEST_F(PlateTest, AffineElementHasConstantJacobianAndExactGradients) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.corner = [](int ix, int iy, double& x, double& y) {
    x = 0.3 + 2.0 * ix / 2 + 0.7 * iy / 2;
    y = -0.2 + 0.4 * ix / 2 + 1.5 * iy / 2;
  };
  for (int nnode : {4, 8, 9}) {
    reset_plate_records();
    plan.nnode = nnode;
    plan.ngaus = 3;
    install_mesh(layout_mesh(plan));
    const double area = 2.0 * 1.5 - 0.7 * 0.4;
    COPY_ELEMENT_COORDINATES(1);
    int status = 0;
    for (int k = 1; k <= 9; ++k) {
      QUAD8_SHAPE_FUNCTIONS(PlateGaussRule.sampling_positions((k - 1) / 3 + 1),
                            PlateGaussRule.sampling_positions((k - 1) % 3 + 1), nnode);
      double determinant = 0.0;
      JACOB2(1, determinant, k, status);
      ASSERT_EQ(status, 0);
      EXPECT_NEAR(determinant, area / 4, 1e-14) << nnode << " nodes, point " << k;
      double dfdx = 0.0, dfdy = 0.0;
      for (int n = 1; n <= nnode; ++n) {
        const int node = PlateModel.element_nodes(1, n);
        const double f = 3.0 * PlateModel.node_coordinates(node, 1) - 2.0 * PlateModel.node_coordinates(node, 2);
        dfdx += PlateElementWork.cartesian_derivatives(1, n) * f;
        dfdy += PlateElementWork.cartesian_derivatives(2, n) * f;
      }
      EXPECT_NEAR(dfdx, 3.0, 1e-13);
      EXPECT_NEAR(dfdy, -2.0, 1e-13);
    }
  }
}

// Along any side the one-dimensional functions sum to 1 and ds/dxi is half
// the side's length (sides are straight with their mid-side node in the middle).
TEST_F(PlateTest, SidePointsCarryHalfTheSideLength) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.corner = [](int ix, int iy, double& x, double& y) {
    const double xs[2][2] = {{0.0, 0.2}, {3.0, 2.5}};  // [ix / 2][iy / 2]
    const double ys[2][2] = {{0.0, 2.0}, {0.5, 3.1}};
    x = xs[ix / 2][iy / 2];
    y = ys[ix / 2][iy / 2];
  };
  for (int nnode : {4, 8, 9}) {
    reset_plate_records();
    plan.nnode = nnode;
    install_mesh(layout_mesh(plan));
    for (int side = 1; side <= 4; ++side) {
      const int first = PlateModel.element_nodes(1, side);
      const int second = PlateModel.element_nodes(1, side % 4 + 1);
      const double length = std::hypot(PlateModel.node_coordinates(second, 1) - PlateModel.node_coordinates(first, 1),
                                       PlateModel.node_coordinates(second, 2) - PlateModel.node_coordinates(first, 2));
      for (double xi : {-0.77, 0.0, 0.5}) {
        PlateEdgePoint point;
        PLATE_EDGE_POINT(1, side, xi, point);
        double sum = 0.0;
        for (int q = 1; q <= point.n_nodes; ++q) sum += point.weights(q);
        EXPECT_NEAR(sum, 1.0, 1e-15);
        EXPECT_NEAR(point.length_factor, length / 2, 1e-14) << nnode << " nodes, side " << side;
        EXPECT_EQ(point.n_nodes, nnode > 4 ? 3 : 2);
      }
    }
  }
}

// A clockwise element has a negative Jacobian: the listing gets the halt
// lines and the run ends with the plate status instead of the process.
TEST_F(PlateTest, ReversedElementFailsWithTheHaltLines) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.corner = [](int ix, int iy, double& x, double& y) {
    x = iy / 2.0;  // mirrored: the nodes run clockwise
    y = ix / 2.0;
  };
  install_mesh(layout_mesh(plan));
  fio::open_memory(UNIT_PLATE_LISTING);
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_EQ(fio::memory_contents(UNIT_PLATE_LISTING),
            "\n\n PROGRAM HALTED IN SUBROUTINE JACOB2\n            ZERO OR NEGATIVE AREA\n"
            "           ELEMENT NUMBER     1\n");
  EXPECT_EQ(PlateFailure.detail, "    ZERO OR NEGATIVE AREA IN PLATE ELEMENT 1");
}

}  // namespace
}  // namespace pilecap::testing
