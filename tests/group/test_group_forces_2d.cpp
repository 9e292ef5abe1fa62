// The group force vector of the 2D model on rows of linear stand-in springs:
// a row at the origin gives its own forces, identical piles scale a row, a
// horizontal row and a rotated cap move the heads as the rigid cap does, a
// failing row leaves zeros and the lowest row's code, and every number of
// the force vector and the difference tangent is the same for any number of
// threads.
#include <omp.h>

#include <algorithm>
#include <cmath>

#include "base/arrays.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "tests/cap/plane_fixture.hpp"

namespace pilecap {
namespace {

using testing::Soil;

class GroupForces2D : public testing::PlaneTest {
 protected:
  static Array1<double, 3> forces(const double* u) {
    Array1<double, 3> f;
    int status = 0;
    FVEC2D(f.data(), u, status);
    EXPECT_EQ(status, 0);
    return f;
  }
};

TEST_F(GroupForces2D, RowAtTheOriginGivesItsAxialAndLateralForces) {
  place_row(1, 0.0, 0.0);
  PileTable.axial_factor(1) = 0.8;
  prepare();
  const double u[3] = {0.01, 0.2, 0.0};
  // The axial force softens the row in bending (the beam-column's P-delta).
  const double k_l = pinned_lateral_stiffness(0.8 * AXIAL_STIFFNESS * u[0]);
  const auto f = forces(u);
  EXPECT_DOUBLE_EQ(f(1), 0.8 * AXIAL_STIFFNESS * u[0]);
  EXPECT_NEAR(f(2), k_l * u[1], 1e-9 * k_l * u[1]);
  EXPECT_EQ(f(3), 0.0);  // a pinned head at the origin carries no moment
  EXPECT_EQ(PileTable.head_force(1, 2, 1), f(2));
}

TEST_F(GroupForces2D, IdenticalPilesScaleTheirRow) {
  place_row(1, 0.0, 1.5, 0.2, 1, CONN_FIX);
  prepare();
  const double u[3] = {0.01, 0.2, 0.003};
  const auto one = forces(u);
  PileTable.n_identical(1) = 4;
  const auto four = forces(u);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(four(k), 4 * one(k)) << k;
  // A row of three equals three rows of one.
  PileTable.n_identical(1) = 3;
  const auto three = forces(u);
  for (int p = 2; p <= 3; ++p) place_row(p, 0.0, 1.5, 0.2, 1, CONN_FIX);
  PileTable.n_identical(1) = 1;
  const auto rows = forces(u);
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(rows(k), three(k), 1e-14 * std::fabs(three(k))) << k;
}

TEST_F(GroupForces2D, HorizontalRowPushesAlongYAndShearsAlongMinusX) {
  place_row(1, 0.0, 0.0, std::acos(-1.0) / 2);
  prepare();
  const double u[3] = {0.3, 0.02, 0.0};
  const double k_l = pinned_lateral_stiffness(AXIAL_STIFFNESS * u[1]);
  const auto f = forces(u);
  // d1 = U2 (axial), d2 = -U1 (lateral).
  EXPECT_NEAR(f(2), AXIAL_STIFFNESS * u[1], 1e-9 * AXIAL_STIFFNESS * u[1]);
  EXPECT_NEAR(f(1), k_l * u[0], 1e-9 * k_l * u[0]);
}

TEST_F(GroupForces2D, CapRotationMovesAVerticalRowHeadRigidly) {
  const double x = 4.0, y = -6.0, theta = 2e-3;
  place_row(1, x, y);
  prepare();
  const double rotated[3] = {0.0, 0.0, theta};
  const double moved[3] = {-y * theta, x * theta, 0.0};
  const auto by_rotation = forces(rotated);
  const auto by_translation = forces(moved);
  EXPECT_DOUBLE_EQ(by_rotation(1), by_translation(1));
  EXPECT_DOUBLE_EQ(by_rotation(2), by_translation(2));
  // The pinned head's forces act at (x, y): M = -y FX + x FY about the origin.
  EXPECT_NEAR(by_rotation(3), -y * by_rotation(1) + x * by_rotation(2), 1e-12 * std::fabs(by_rotation(3)));
}

TEST_F(GroupForces2D, FailingRowLeavesZerosAndTheLowestFailingRowsCode) {
  set_layers({{0.0, LENGTH + 50.0}});
  place_row(1, 0.0, -3.0);
  place_row(2, 120.0, 0.0);  // its nodes reach below the deepest layer
  place_row(3, 0.0, 3.0);
  place_row(4, 150.0, 6.0);
  prepare();
  const double u[3] = {0.01, 0.1, 0.0};
  double f[3];
  int status = 0;
  FVEC2D(f, u, status);
  EXPECT_EQ(status, STATUS_PILE_BELOW_DEEPEST_LAYER_2D);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(PileTable.head_force(2, k, 1), 0.0);
    EXPECT_EQ(PileTable.head_force(4, k, 1), 0.0);
  }
  EXPECT_NE(PileTable.head_force(1, 2, 1), 0.0);
  EXPECT_NE(PileTable.head_force(3, 2, 1), 0.0);
}

TEST_F(GroupForces2D, ForcesAndTangentAreTheSameForEveryThreadCount) {
  Soil.soft_deflection = 0.05;  // nonlinear rows
  const double batters[] = {-0.25, -0.1, 0.0, 0.0, 0.1, 0.25, 0.35};
  for (int p = 1; p <= 7; ++p)
    place_row(p, 0.5 * p, 1.5 * (p - 4), batters[p - 1], p % 3 + 1, p % 2 ? CONN_FIX : CONN_PIN);
  prepare();
  AnalysisControl.threads_available = 8;
  const double u[3] = {0.05, 0.4, -0.002};
  Array1<double, 3> reference_f;
  Array1<double, 9> reference_k;
  for (int threads : {1, 2, 3, 8}) {
    SCOPED_TRACE(threads);
    AnalysisControl.threads_wanted = threads;
    const auto f = forces(u);
    Array1<double, 9> k;
    int status = 0;
    CAP_TANGENT_2D(k.data(), u, status);
    ASSERT_EQ(status, 0);
    if (threads == 1) {
      reference_f = f;
      reference_k = k;
      continue;
    }
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(f(i), reference_f(i)) << i;
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(k(i), reference_k(i)) << i;
  }
  // Never more threads than rows, nor than the processors this process may use.
  EXPECT_EQ(AnalysisControl.threads_used_max, std::min(7, omp_get_num_procs()));
}

}  // namespace
}  // namespace pilecap
