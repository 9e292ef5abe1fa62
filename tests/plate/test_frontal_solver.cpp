// The frontal solver against a dense solution of the same equations written
// here: several element orders (each gives another front), prescribed,
// reported and free DOFs, reactions K u - f, a negative pivot; the
// prescribed correction across iterations; and its failures (a zero pivot,
// a front beyond its capacity) as a status instead of a stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

class FrontalSolverTest : public PlateTest {};

// A 3 x 2 mesh of distorted 8-node elements over 3 x 2, clamped with given
// rotations along x = 0 (code 1, some values not 0), one DOF reporting its
// value times its correction (code 2), the rest free.
struct SolverCase {
  const char* name;
  std::vector<int> element_order;
  double negative_spring = 0.0;  // on UZ of the middle node of the far edge
};

void build_case(const SolverCase& c, Mesh& mesh) {
  MeshPlan plan;
  plan.nx = 3;
  plan.ny = 2;
  plan.a = 3.0;
  plan.b = 2.0;
  plan.element_order = c.element_order;
  plan.corner = [](int ix, int iy, double& x, double& y) {
    x += 0.07 * std::sin(1.7 * ix + 0.3 * iy);
    y += 0.05 * std::cos(0.9 * ix - 1.1 * iy);
  };
  mesh = layout_mesh(plan);
  int clamped = 0;
  for (int iy = 0; iy <= 2 * plan.ny; ++iy) clamped += mesh.node_at(0, iy) != 0 ? 1 : 0;
  install_mesh(mesh, {.restraints = clamped + 1, .nodal_stiffnesses = 1});
  int v = 0;
  for (int iy = 0; iy <= 2 * plan.ny; ++iy) {
    const int node = mesh.node_at(0, iy);
    if (node == 0) continue;
    set_restraint(++v, node, {1, 1, 1, 1, 1, 1}, {0.0, 1e-3 * iy, -2e-3, 0.0, 5e-4 * iy, 0.0});
  }
  set_restraint(++v, mesh.node_at(6, 2), {0, 2, 0, 0, 0, 0}, {0.0, 250.0, 0.0, 0.0, 0.0, 0.0});
  PlateModel.nodal_stiffness_nodes(1) = mesh.node_at(6, 2);
  PlateModel.nodal_stiffnesses(1, PLATE_UZ) = c.negative_spring;
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  ASSERT_EQ(status, 0);
  // Loads straight into the right-hand sides, different at every variable.
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int i = 1; i <= PlateControl.NEVAB; ++i) PlateModel.element_vectors(e, i) = 10.0 * std::sin(0.37 * i + e);
  }
}

TEST_F(FrontalSolverTest, MatchesADenseSolutionForEveryElementOrder) {
  const std::vector<SolverCase> cases = {
      {"row order", {}},
      {"column order", {1, 3, 5, 2, 4, 6}},
      {"reversed", {6, 5, 4, 3, 2, 1}},
      {"scrambled", {4, 1, 6, 2, 5, 3}},
      {"negative pivot", {}, -1e9},
  };
  std::vector<int> fronts;
  for (const SolverCase& c : cases) {
    reset_plate_records();
    Mesh mesh;
    build_case(c, mesh);
    DenseSystem dense = assemble_dense();
    const int n = dense.n;
    std::vector<bool> fixed(n, false);
    std::vector<double> given(n, 0.0);
    std::vector<int> codes(n, 0);
    for (int v = 1; v <= PlateControl.NVFIX; ++v) {
      for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
        const int q = PLATE_EQUATION(PlateModel.restrained_nodes(v), d);
        codes[q - 1] = PlateModel.restraint_codes(v, d);
        fixed[q - 1] = codes[q - 1] == PLATE_RESTRAINT_PRESCRIBED;
        given[q - 1] = PlateModel.prescribed_values(v, d);
      }
    }
    const std::vector<double> u = dense_solve(dense, fixed, given);

    int status = 0;
    FRONTAL_SOLVE(status);
    ASSERT_EQ(status, 0) << c.name;
    fronts.push_back(FrontalScratch.largest_front);
    EXPECT_EQ(static_cast<int>(FrontalScratch.eliminated.size()), n) << c.name;
    const double size =
        *std::max_element(u.begin(), u.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    for (int q = 1; q <= n; ++q) {
      EXPECT_NEAR(PlateModel.DSDIS(q), u[q - 1], 1e-9 * std::fabs(size)) << c.name << ", equation " << q;
      double reaction = 0.0;
      if (codes[q - 1] == PLATE_RESTRAINT_PRESCRIBED) reaction = dense_residual(dense, u, q);
      if (codes[q - 1] == PLATE_RESTRAINT_REPORTED) reaction = given[q - 1] * u[q - 1];
      EXPECT_NEAR(PlateModel.nodal_reactions(q), reaction, 1e-9 * (std::fabs(reaction) + 1.0))
          << c.name << ", equation " << q;
    }
  }
  // The orders give fronts of different widths.
  EXPECT_NE(fronts[0], fronts[1]);
}

// Only the entries on and above the diagonal of an element matrix count.
TEST_F(FrontalSolverTest, IgnoresTheLowerTriangleOfTheElementMatrices) {
  Mesh mesh;
  build_case({"row order", {}}, mesh);
  int status = 0;
  FRONTAL_SOLVE(status);
  ASSERT_EQ(status, 0);
  std::vector<double> first(mesh.equations());
  for (int q = 1; q <= mesh.equations(); ++q) first[q - 1] = PlateModel.DSDIS(q);
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int r = 2; r <= PlateControl.NEVAB; ++r) {
      for (int col = 1; col < r; ++col) PlateModel.element_matrices(e, r, col) += 1e3 * r - col;
    }
  }
  FRONTAL_SOLVE(status);
  ASSERT_EQ(status, 0);
  for (int q = 1; q <= mesh.equations(); ++q) EXPECT_EQ(PlateModel.DSDIS(q), first[q - 1]) << q;
}

std::vector<double> solved_values(const Table1<double>& table, int n) {
  std::vector<double> values(n);
  for (int q = 1; q <= n; ++q) values[q - 1] = table(q);
  return values;
}

// The eliminated equations kept in blocks far smaller than a front column
// (every record in a block of its own, most larger than the block size) give
// the same bits as the default blocks, and a second solution fills the same
// blocks again without adding any.
TEST_F(FrontalSolverTest, SmallScratchBlocksGiveTheSameBits) {
  const std::vector<SolverCase> cases = {{"row order", {}}, {"scrambled", {4, 1, 6, 2, 5, 3}}};
  for (const SolverCase& c : cases) {
    reset_plate_records();
    Mesh mesh;
    build_case(c, mesh);
    const int n = mesh.equations();
    int status = 0;
    FRONTAL_SOLVE(status);
    ASSERT_EQ(status, 0) << c.name;
    const std::vector<double> solution = solved_values(PlateModel.DSDIS, n);
    const std::vector<double> reactions = solved_values(PlateModel.nodal_reactions, n);

    FrontalScratch = FrontalScratchRecord{};
    FrontalScratch.values.block_entries = 5;
    FrontalScratch.masks.block_entries = 1;
    for (int solution_number = 1; solution_number <= 2; ++solution_number) {
      FRONTAL_SOLVE(status);
      ASSERT_EQ(status, 0) << c.name;
      EXPECT_EQ(solved_values(PlateModel.DSDIS, n), solution) << c.name << ", solution " << solution_number;
      EXPECT_EQ(solved_values(PlateModel.nodal_reactions, n), reactions) << c.name << ", solution " << solution_number;
      EXPECT_GT(FrontalScratch.values.blocks.size(), std::size_t{1}) << c.name;
      EXPECT_EQ(FrontalScratch.values.blocks.size(), static_cast<std::size_t>(FrontalScratch.values.current + 1));
    }
  }
}

// Membrane, bending and drilling DOFs of a flat plate do not couple, so the
// front columns are mostly zeros: what is kept of them is at most half of
// the columns over their active widths.
TEST_F(FrontalSolverTest, KeepsOnlyTheCouplingsOfTheEliminatedEquations) {
  Mesh mesh;
  build_case({"row order", {}}, mesh);
  int status = 0;
  FRONTAL_SOLVE(status);
  ASSERT_EQ(status, 0);
  std::size_t widths = 0;
  for (const EliminatedEquation& record : FrontalScratch.eliminated) widths += record.width;
  std::size_t kept = 0;
  for (const FrontalScratchBlock<double>& block : FrontalScratch.values.blocks) kept += block.used;
  EXPECT_GT(kept, std::size_t{0});
  EXPECT_LE(2 * kept, widths);
}

// A prescribed DOF moves to its value times the load factor from where it
// stands: the full value at the first iteration, nothing more at the second
// (a regression: re-applying the value every iteration walked the DOF away).
TEST_F(FrontalSolverTest, PrescribedCorrectionClosesOnTheFactoredValue) {
  Mesh mesh;
  build_case({"row order", {}}, mesh);
  PlateControl.TCUR = 0.5;  // load factor 0.5
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int i = 1; i <= PlateControl.NEVAB; ++i) PlateModel.element_vectors(e, i) = 0.0;
  }
  int status = 0;
  for (int iteration = 1; iteration <= 2; ++iteration) {
    for (int e = 1; e <= mesh.n_elements; ++e) {
      for (int i = 1; i <= PlateControl.NEVAB; ++i) PlateModel.element_vectors(e, i) = 0.0;
    }
    PLATE_ELEMENT_MATRICES(status);
    FRONTAL_SOLVE(status);
    ASSERT_EQ(status, 0);
    const int node = mesh.node_at(0, 4);
    const double expected = iteration == 1 ? 0.5 * 4e-3 : 0.0;
    EXPECT_NEAR(PlateModel.DSDIS(PLATE_EQUATION(node, PLATE_UY)), expected, 1e-15) << "iteration " << iteration;
    double largest = 0.0;
    for (int q = 1; q <= mesh.equations(); ++q) {
      if (iteration == 2) largest = std::max(largest, std::fabs(PlateModel.DSDIS(q)));
      PlateModel.TSDIS(q) += PlateModel.DSDIS(q);
    }
    EXPECT_LT(largest, 1e-12);
    EXPECT_NEAR(PlateModel.TSDIS(PLATE_EQUATION(node, PLATE_UY)), 0.5 * 4e-3, 1e-15);
  }
}

// An element with no stiffness at all: the first pivot is exactly zero.
TEST_F(FrontalSolverTest, ZeroPivotEndsWithTheListingLineAndTheStatus) {
  MeshPlan plan;
  plan.nx = plan.ny = 1;
  plan.young = 0.0;
  install_mesh(layout_mesh(plan));
  fio::open_memory(UNIT_PLATE_LISTING);
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  ASSERT_EQ(status, 0);
  FRONTAL_SOLVE(status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_EQ(fio::memory_contents(UNIT_PLATE_LISTING),
            "    NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO.    1 OF VALUE      0.000000E+00\n");
  EXPECT_EQ(PlateFailure.detail, "    ZERO PIVOT AT PLATE EQUATION 1 (NODE 1, DOF 1)");
}

TEST_F(FrontalSolverTest, FrontBeyondItsCapacityFailsWithoutWritingPastIt) {
  Mesh mesh;
  build_case({"row order", {}}, mesh);
  PlateControl.front_size = 60;  // the first element alone needs 48, the second 48 more
  int status = 0;
  FRONTAL_SOLVE(status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_EQ(PlateFailure.detail, "    THE PLATE SOLVER NEEDS A FRONT OF MORE THAN 60 EQUATIONS");
}

}  // namespace
}  // namespace pilecap::testing
