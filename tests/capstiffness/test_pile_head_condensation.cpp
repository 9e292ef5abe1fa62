// The head stiffness of a linear pile by condensation against a dense
// assembly of the whole pile reduced onto the head, against the
// semi-infinite beam on an elastic foundation, the head connections, the
// secant stiffness at the origin (a pile at the origin, an offset pile, a
// row of identical piles, a group turned by 90 degrees) and the
// equivalent-spring file written and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "capstiffness/capstiffness.hpp"
#include "results/results.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap::testing {
namespace {

using Dense = std::vector<std::vector<double>>;

// K_hh - K_hr K_rr^-1 K_rh of a dense symmetric matrix by Gauss-Jordan on
// the rest block (DOFs 0..head-1 are the head).
Dense schur_onto_head(Dense k, int head) {
  const int n = static_cast<int>(k.size());
  for (int p = n - 1; p >= head; --p) {
    const double pivot = k[p][p];
    for (int i = 0; i < p; ++i) {
      const double g = k[i][p] / pivot;
      for (int j = 0; j < p; ++j) k[i][j] -= g * k[p][j];
    }
  }
  Dense out(head, std::vector<double>(head));
  for (int i = 0; i < head; ++i) {
    for (int j = 0; j < head; ++j) out[i][j] = k[i][j];
  }
  return out;
}

class PileHeadCondensation : public PileTest {
 protected:
  // A vertical pile of set 1 with n elements of length h, rigidity ei and
  // node springs spring * tributary length.
  static void linear_pile(int p, int n, double h, double ei, double spring, int connection, double head_y = 0.0) {
    set_pile(p, 0.0, n * h, n, ei);
    PileProperty.increment(SET) = h;
    PileTable.conn_zz(p) = PileTable.conn_yy(p) = connection;
    PileTable.n_identical(p) = 1.0;
    PileTable.head_plan(p) = PileTable.head_y(p) = head_y;
    PileTable.beta(p) = std::acos(0.0);  // vertical
    for (int j = 1; j <= n + 1; ++j) {
      PileNodes.axial_x(p, j) = PileNodes.depth(p, j) = (j - 1) * h;
      EquivalentSprings.node_spring(p, j) = spring * ((j == 1 || j == n + 1) ? 0.5 * h : h);
    }
    EquivalentSprings.axial_stiffness(p) = 5e5;
    EquivalentSprings.torsional_stiffness(p) = 7e7;
  }

  static std::vector<double> head_2d(int p) {
    std::vector<double> k(9);
    int status = 0;
    CONDENSE_PILE_HEAD_MATRIX_2D(p, 0, status, k.data());
    return k;
  }
};

TEST_F(PileHeadCondensation, StaticCondensationIsTheSchurComplementAndReportsAZeroPivot) {
  const Dense a = {{9, 2, 1, 0.5}, {2, 7, 0.3, 1}, {1, 0.3, 5, 2}, {0.5, 1, 2, 6}};
  // STATIC_CONDENSATION removes the leading DOFs: reverse the order for the
  // reference, which removes the trailing ones.
  Dense reversed(4, std::vector<double>(4));
  std::vector<double> m(16);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      reversed[3 - i][3 - j] = a[i][j];
      m[i + 4 * j] = a[i][j];
    }
  }
  const Dense expected = schur_onto_head(reversed, 2);
  std::vector<double> reduced(4);
  int singular = -1;
  STATIC_CONDENSATION(m.data(), reduced.data(), 4, 2, singular);
  EXPECT_EQ(singular, 0);
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) EXPECT_NEAR(reduced[r + 2 * c], expected[1 - r][1 - c], 1e-12 * 9) << r << c;
  }
  std::vector<double> zero_pivot(16, 1.0);
  zero_pivot[0] = 0.0;
  STATIC_CONDENSATION(zero_pivot.data(), reduced.data(), 4, 2, singular);
  EXPECT_EQ(singular, 1);
  for (double v : reduced) EXPECT_EQ(v, 0.0);
}

// The whole pile assembled densely (node j: axial, lateral, rotation; the
// head first) and reduced onto the head gives the condensed head matrix.
TEST_F(PileHeadCondensation, CondensationEqualsTheDenseAssemblyReducedOntoTheHead) {
  constexpr int N = 12;
  constexpr double H = 24.0, EI = 3e9, K = 800.0;
  linear_pile(1, N, H, EI, K, CONN_FIX);
  const int n_dofs = 3 * (N + 1);
  Dense dense(n_dofs, std::vector<double>(n_dofs, 0.0));
  std::vector<double> e(36);
  for (int upper = 1; upper <= N; ++upper) {
    BEAM_COLUMN_STIFFNESS_2D(EI, 1.0, H, 0.0, 0, e.data());
    // Element node 1 is the lower node (upper + 1), node 2 the upper one.
    const int base[2] = {3 * upper, 3 * (upper - 1)};
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 6; ++j) dense[base[i / 3] + i % 3][base[j / 3] + j % 3] += e[i + 6 * j];
    }
  }
  for (int j = 1; j <= N + 1; ++j) dense[3 * (j - 1) + 1][3 * (j - 1) + 1] += EquivalentSprings.node_spring(1, j);
  const Dense expected = schur_onto_head(dense, 3);
  const std::vector<double> k = head_2d(1);
  EXPECT_EQ(k[0], 5e5) << "the axial head spring replaces the chain";
  for (int i = 1; i < 3; ++i) {
    for (int j = 1; j < 3; ++j) {
      const double scale = std::sqrt(std::fabs(expected[i][i] * expected[j][j]));
      EXPECT_NEAR(k[i + 3 * j], expected[i][j], 1e-9 * scale) << i << j;
    }
  }
}

// A long pile on uniform springs k: the head of a semi-infinite beam,
// [[4 EI b^3, 2 EI b^2], [2 EI b^2, 2 EI b]], b = (k / 4 EI)^(1/4); pinned,
// the lateral term 2 EI b^3 and no rotational row.
TEST_F(PileHeadCondensation, LongPileTendsToTheSemiInfiniteBeamOnUniformSprings) {
  constexpr double EI = 1e10, K = 1000.0, H = 6.0;
  constexpr int N = 200;
  const double beta = std::pow(K / (4 * EI), 0.25);
  linear_pile(1, N, H, EI, K, CONN_FIX);
  std::vector<double> k = head_2d(1);
  EXPECT_NEAR(k[4], 4 * EI * std::pow(beta, 3), 2e-3 * k[4]);
  EXPECT_NEAR(std::fabs(k[7]), 2 * EI * beta * beta, 2e-3 * std::fabs(k[7]));
  EXPECT_NEAR(k[7], k[5], 1e-9 * std::fabs(k[7]));
  EXPECT_NEAR(k[8], 2 * EI * beta, 2e-3 * k[8]);

  struct Case {
    const char* name;
    int connection;
    double spring;
  };
  for (const Case& c : {Case{"pinned", CONN_PIN, 0.0}, Case{"spring of 0", CONN_RES, 0.0}}) {
    PileTable.conn_zz(1) = c.connection;
    PileTable.spring_zz(1) = c.spring;
    k = head_2d(1);
    EXPECT_NEAR(k[4], 2 * EI * std::pow(beta, 3), 2e-3 * k[4]) << c.name;
    EXPECT_EQ(k[5], 0.0) << c.name;
    EXPECT_EQ(k[7], 0.0) << c.name;
    EXPECT_EQ(k[8], 0.0) << c.name;
  }
  PileTable.conn_zz(1) = CONN_RES;
  PileTable.spring_zz(1) = 1e20;
  k = head_2d(1);
  EXPECT_NEAR(k[4], 4 * EI * std::pow(beta, 3), 3e-3 * k[4]) << "a stiff spring acts as a fixed head";
}

// A zero rotational term under a pinned head clears its row and column
// instead of dividing by it.
TEST_F(PileHeadCondensation, PinnedHeadWithoutBendingStiffnessDividesByNothing) {
  linear_pile(1, 4, 12.0, 0.0, 0.0, CONN_PIN);
  const std::vector<double> k = head_2d(1);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(std::isfinite(k[i])) << i;
  EXPECT_EQ(k[0], 5e5);
}

class SecantStiffnessAtOrigin : public PileHeadCondensation {
 protected:
  void SetUp() override {
    PileHeadCondensation::SetUp();
    for (int unit : {UNIT_COMPUTATION_REPORT, UNIT_SUMMARY, UNIT_EQUIVALENT_STIFFNESS, UNIT_CAP_MODEL_PILES}) {
      fio::open_memory(unit);
    }
  }
  static std::vector<double> captstf(int dimension) {
    RunOptions.dimension = dimension;
    std::vector<double> stiffness(36, 0.0);
    const double load[6] = {}, u[6] = {};
    int status = 0;
    CAPTSTF(status, 0, AnalysisControl.point_value_count, 1, 1.0, load, u, stiffness.data());
    EXPECT_EQ(status, 0);
    return stiffness;
  }
};

// A vertical plane pile at the origin contributes its head matrix; moved
// by y it adds -y K11 between X and the rotation and y^2 K11 to the
// rotation; a row of three identical piles counts three times.
TEST_F(SecantStiffnessAtOrigin, PlanePileAtTheOriginOffsetAndInARow) {
  linear_pile(1, 20, 12.0, 3e9, 500.0, CONN_FIX);
  const std::vector<double> head = head_2d(1);
  std::vector<double> k = captstf(MODEL_2D);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(k[i + 6 * j], head[i + 3 * j], 1e-12 * std::fabs(head[4])) << i << j;
  }
  constexpr double Y = 40.0;
  PileTable.head_plan(1) = Y;
  k = captstf(MODEL_2D);
  EXPECT_NEAR(k[0 + 6 * 2], -Y * head[0], 1e-12 * Y * head[0]);
  EXPECT_NEAR(k[2 + 6 * 0], -Y * head[0], 1e-12 * Y * head[0]);
  EXPECT_NEAR(k[2 + 6 * 2], head[8] + Y * Y * head[0], 1e-12 * Y * Y * head[0]);
  PileTable.n_identical(1) = 3.0;
  const std::vector<double> row = captstf(MODEL_2D);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(row[i + 6 * j], 3.0 * k[i + 6 * j], 1e-12 * std::fabs(row[14])) << i << j;
  }
  EXPECT_EQ(fio::memory_contents(UNIT_CAP_MODEL_PILES).substr(0, 18), "     NPILES=    1\n");
}

// Turning a group by 90 degrees about the vertical axis swaps Y with Z and
// the rotations about them: every term keeps its size at the swapped place.
TEST_F(SecantStiffnessAtOrigin, GroupTurnedByNinetyDegreesPermutesTheMatrix) {
  struct Head {
    double y, z;
  };
  const std::vector<Head> group = {{30, 0}, {-30, 0}, {0, 80}};
  auto stiffness_of = [&](bool turned) {
    for (int p = 1; p <= 3; ++p) {
      linear_pile(p, 20, 12.0, 3e9, 500.0, CONN_FIX);
      const Head& h = group[p - 1];
      PileTable.head_y(p) = turned ? -h.z : h.y;
      PileTable.head_z(p) = turned ? h.y : h.z;
    }
    return captstf(MODEL_3D);
  };
  const std::vector<double> a = stiffness_of(false), b = stiffness_of(true);
  const int swap[6] = {0, 2, 1, 3, 5, 4};
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double scale = std::sqrt(std::fabs(a[i + 6 * i] * a[j + 6 * j]));
      EXPECT_NEAR(std::fabs(b[swap[i] + 6 * swap[j]]), std::fabs(a[i + 6 * j]), 1e-9 * scale) << i << j;
    }
  }
  EXPECT_GT(std::fabs(a[0 + 6 * 4]), 0.0) << "the group couples X with a rotation";
}

// The writer's block of every pile read back: the top values and each
// node's modulus times its tributary length (the larger of the two in 3D).
TEST_F(PileHeadCondensation, SpringRecordsReadBackEqualWhatWasWritten) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "pilecap_springs_readback.txt";
  RunFiles.equivalent_springs_file = file.string();
  set_pile(1, 0.0, 30.0, 3);
  PileProperty.increment(SET) = 10.0;
  PileTable.prop(2) = SET;
  PileTable.n_piles = 2;
  RunOptions.dimension = MODEL_3D;
  for (int p = 1; p <= 2; ++p) {
    EquivalentStiffness.top(p, 1) = -1234.5 * p;
    EquivalentStiffness.top(p, 2) = 2.5e6 / p;
    EquivalentStiffness.top(p, 3) = 7.125e9;
    EquivalentStiffness.top(p, 4) = 10.0;
    for (int m = 0; m <= 3; ++m) {
      EquivalentStiffness.node(p, m + 4, 1) = 10.0 * m;
      EquivalentStiffness.node(p, m + 4, 2) = 100.0 * (m + 1) * p;
      EquivalentStiffness.node(p, m + 4, 3) = m == 2 ? 1e6 : 0.0;
    }
  }
  ASSERT_EQ(fio::open(UNIT_EQUIVALENT_SPRINGS, file.string(), fio::Mode::Write), fio::IO_OK);
  fio::write(UNIT_EQUIVALENT_SPRINGS, "(\"LOAD CASE : \",I5)", 1);
  for (int i = 0; i <= 6; ++i) fio::write(UNIT_EQUIVALENT_SPRINGS, "(5X,\"ROW\")");
  WRITE_EQUIV_STIFFNESS_3D();
  fio::close(UNIT_EQUIVALENT_SPRINGS);
  int status = 0;
  READ_EQUIVALENT_SPRINGS(status);
  ASSERT_EQ(status, 0);
  for (int p = 1; p <= 2; ++p) {
    EXPECT_EQ(EquivalentSprings.axial_force(p), -1234.5 * p);
    EXPECT_DOUBLE_EQ(EquivalentSprings.axial_stiffness(p), 2.5e6 / p);
    EXPECT_EQ(EquivalentSprings.torsional_stiffness(p), 7.125e9);
    EXPECT_EQ(EquivalentSprings.node_spring(p, 1), 100.0 * p * 5.0);
    EXPECT_EQ(EquivalentSprings.node_spring(p, 2), 200.0 * p * 10.0);
    EXPECT_EQ(EquivalentSprings.node_spring(p, 3), 1e6 * 10.0);
    EXPECT_EQ(EquivalentSprings.node_spring(p, 4), 400.0 * p * 5.0);
  }
  // A file that ends inside a pile block is refused, never read as zeros.
  std::filesystem::resize_file(file, std::filesystem::file_size(file) - 100);
  READ_EQUIVALENT_SPRINGS(status);
  EXPECT_EQ(status, STATUS_SCRATCH_FILE_ERROR);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace pilecap::testing
