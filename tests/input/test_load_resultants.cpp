// Load vectors at the cap origin: hand cases of single loads, scale factors,
// combinations and prescribed point values, and random loads checked against
// a separate resultant computation (r = sum F, M = sum (m + p x F)).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "input/input.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using Vec6 = std::array<double, 6>;
using Vec3 = std::array<double, 3>;

class LoadResultantTest : public testing::ModelRecordsTest {
 protected:
  // Case k with its scale factor; loads are added by add_load.
  static void define_case(int k, double scale, int point_loads_flag = 0) {
    LoadCase.count = std::max(LoadCase.count, k);
    LoadCase.scale_factor(k) = scale;
    LoadCase.point_loads_flag(k) = point_loads_flag;
  }
  // Components in input order: Fx, Fy, Mz, Fz, My, Mx, x, y, z.
  static void add_load(int k, std::array<double, 9> c) {
    const int j = ++LoadCase.num_conc_loads(k);
    auto& l = ConcentratedLoad;
    l.force_x(k, j) = c[0];
    l.force_y(k, j) = c[1];
    l.moment_z(k, j) = c[2];
    l.force_z(k, j) = c[3];
    l.moment_y(k, j) = c[4];
    l.moment_x(k, j) = c[5];
    l.point_x(k, j) = c[6];
    l.point_y(k, j) = c[7];
    l.point_z(k, j) = c[8];
  }
  static Vec6 case_load(int k) {
    Vec6 r;
    r.fill(-999.0);
    CASE_LOAD_AT_ORIGIN(k, r.data());
    return r;
  }
  static Vec6 combination_load(int j) {
    Vec6 r;
    r.fill(-999.0);
    COMBINATION_LOAD_AT_ORIGIN(j, r.data());
    return r;
  }
};

void expect_vector(const Vec6& actual, const Vec6& expected, const char* what) {
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(actual[i], expected[i]) << what << ", element " << i + 1;
}

TEST_F(LoadResultantTest, HandCasesOfSingleLoads) {
  RunOptions.dimension = MODEL_2D;
  define_case(1, 1.0);
  add_load(1, {10, 5, 2, 99, 99, 99, 3, 4, 99});
  expect_vector(case_load(1), {10, 5, 0, 0, 0, 2 + 5 * 3 - 10 * 4}, "2D load at (3, 4)");

  RunOptions.dimension = MODEL_3D;
  define_case(2, 1.0);
  add_load(2, {0, 0, 0, 1, 0, 0, 0, 2, 0});
  expect_vector(case_load(2), {0, 0, 1, 2, 0, 0}, "3D vertical-axis force at y = 2");

  define_case(3, 2.0);
  add_load(3, {0, 0, 0, 1, 0, 0, 0, 2, 0});
  add_load(3, {1, 0, 0, 0, 0, 0, 0, 0, 3});
  expect_vector(case_load(3), {2, 0, 2, 4, 6, 0}, "scale factor 2");

  define_case(4, 1.0, 1);
  add_load(4, {7, 7, 7, 7, 7, 7, 1, 1, 1});
  expect_vector(case_load(4), {0, 0, 0, 0, 0, 0}, "loads prescribed at a point");

  define_case(5, 3.0);
  expect_vector(case_load(5), {0, 0, 0, 0, 0, 0}, "no loads");
}

// A resultant computed without the engine: forces summed, moments of each
// force about the origin by the cross product p x F added to its own moment.
Vec6 independent_resultant(const std::vector<std::array<double, 9>>& loads, double scale) {
  auto cross = [](const Vec3& a, const Vec3& b) -> Vec3 {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  Vec3 force{}, moment{};
  for (const auto& c : loads) {
    const Vec3 f = {c[0], c[1], c[3]};
    const Vec3 m = {c[5], c[4], c[2]};
    const Vec3 p = {c[6], c[7], c[8]};
    const Vec3 pxf = cross(p, f);
    for (std::size_t i = 0; i < 3; ++i) {
      force[i] += f[i];
      moment[i] += m[i] + pxf[i];
    }
  }
  return {scale * force[0],  scale * force[1],  scale * force[2],
          scale * moment[0], scale * moment[1], scale * moment[2]};
}

TEST_F(LoadResultantTest, RandomLoadsMatchAnIndependentResultant) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> value(-50.0, 50.0);
  for (int trial = 1; trial <= 20; ++trial) {
    int status = 0;
    RESET_INPUT_RECORDS(status);
    RunOptions.dimension = MODEL_3D;
    const double scale = value(random) / 10;
    define_case(1, scale);
    std::vector<std::array<double, 9>> loads(static_cast<std::size_t>(1 + trial % 7));
    for (auto& c : loads) {
      for (double& v : c) v = value(random);
      add_load(1, c);
    }
    const Vec6 expected = independent_resultant(loads, scale);
    const Vec6 r = case_load(1);
    double size = 0.0;
    for (double e : expected) size = std::max(size, std::abs(e));
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_NEAR(r[i], expected[i], 1e-12 * size) << "trial " << trial << ", element " << i + 1;
    }
    // The 2D model keeps the in-plane part: X, Y and the moment about Z.
    RunOptions.dimension = MODEL_2D;
    const Vec6 r2 = case_load(1);
    for (std::size_t i : {0u, 1u, 5u}) EXPECT_NEAR(r2[i], expected[i], 1e-12 * size) << "2D trial " << trial;
    for (std::size_t i : {2u, 3u, 4u}) EXPECT_EQ(r2[i], 0.0) << "2D trial " << trial;
  }
}

TEST_F(LoadResultantTest, CombinationIsTheFactoredSumOfItsCases) {
  RunOptions.dimension = MODEL_3D;
  define_case(1, 2.0);
  add_load(1, {1, 2, 3, 4, 5, 6, 0.5, -1, 2});
  define_case(2, 1.0);
  add_load(2, {-3, 1, 0, 2, 0, 1, 1, 1, 1});
  define_case(3, 1.0, 1);
  add_load(3, {100, 100, 100, 100, 100, 100, 1, 1, 1});
  const Vec6 r1 = case_load(1);
  const Vec6 r2 = case_load(2);
  auto& c = LoadCombination;
  c.count = 3;
  c.member_count(1) = 3;
  c.member_case(1, 1) = 1;
  c.member_factor(1, 1) = 1.5;
  c.member_case(1, 2) = 2;
  c.member_factor(1, 2) = -1.0;
  c.member_case(1, 3) = 3;  // loads prescribed at a point contribute nothing
  c.member_factor(1, 3) = 4.0;
  Vec6 expected;
  for (std::size_t i = 0; i < 6; ++i) expected[i] = 1.5 * r1[i] - r2[i];
  expect_vector(combination_load(1), expected, "1.5 case 1 - case 2");

  c.member_count(2) = 0;
  expect_vector(combination_load(2), {0, 0, 0, 0, 0, 0}, "no member");

  // Guards reading past the case table for a member that names no case.
  c.member_count(3) = 4;
  c.member_case(3, 1) = 0;
  c.member_case(3, 2) = LoadCase.count + 1;
  c.member_case(3, 3) = MAX_LOAD_CASES + 5;
  c.member_case(3, 4) = 2;
  for (int m = 1; m <= 4; ++m) c.member_factor(3, m) = 1.0;
  expect_vector(combination_load(3), r2, "members outside the cases");
}

TEST_F(LoadResultantTest, PrescribedValuesAtAPoint) {
  struct Case {
    const char* name;
    int dimension;
    std::array<int, 6> flags;     // input order
    std::array<double, 12> list;  // row_a then row_b: (U, P) per input dof
    Vec3 point;
    double scale;
    Vec6 r, p, u, xyz;
    std::array<int, 6> cap_flags;  // -7 where the routine must not write
  };
  const std::vector<Case> cases = {
      {"2D hand case",
       MODEL_2D,
       {0, 1, 1, 0, 0, 0},
       {0.5, 99, 7, 20, 8, 3, 0, 0, 0, 0, 0, 0},
       {2, 1, 5},
       1.0,
       {0, 20, 0, 0, 0, 43},
       {0, 20, 3, 0, 0, 0},
       {0.5, 0, 0, 0, 0, 0},
       {2, 1, 0, 0, 0, 0},
       {0, 1, -7, -7, -7, 1}},
      {"2D scaled",
       MODEL_2D,
       {0, 1, 1, 0, 0, 0},
       {0.5, 99, 7, 20, 8, 3, 0, 0, 0, 0, 0, 0},
       {2, 1, 5},
       2.0,
       {0, 40, 0, 0, 0, 86},
       {0, 40, 6, 0, 0, 0},
       {1, 0, 0, 0, 0, 0},
       {2, 1, 0, 0, 0, 0},
       {0, 1, -7, -7, -7, 1}},
      {"2D flag 2 keeps both",
       MODEL_2D,
       {2, 2, 2, 0, 0, 0},
       {1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0},
       {1, 1, 0},
       1.0,
       {2, 4, 0, 0, 0, 1 * 4 - 1 * 2 + 6},
       {2, 4, 6, 0, 0, 0},
       {1, 3, 0, 0, 0, 5},
       {1, 1, 0, 0, 0, 0},
       {2, 2, -7, -7, -7, 2}},
      // Loads only: P = (1, 2, 3, 4, 5, 6) in input order X, Y, RZ, Z, RY, RX at (1, 2, 3).
      {"3D loads",
       MODEL_3D,
       {1, 1, 1, 1, 1, 1},
       {9, 1, 9, 2, 9, 3, 9, 4, 9, 5, 9, 6},
       {1, 2, 3},
       1.0,
       {1, 2, 4, 6 + 2 * 4 - 3 * 2, 5 + 3 * 1 - 1 * 4, 3 + 1 * 2 - 2 * 1},
       {1, 2, 4, 6, 5, 3},
       {0, 0, 0, 0, 0, 0},
       {1, 2, 3, 0, 0, 0},
       {1, 1, 1, 1, 1, 1}},
      {"3D displacements",
       MODEL_3D,
       {0, 0, 0, 0, 0, 0},
       {1, 9, 2, 9, 3, 9, 4, 9, 5, 9, 6, 9},
       {1, 2, 3},
       0.5,
       {0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0},
       {0.5, 1, 2, 3, 2.5, 1.5},
       {1, 2, 3, 0, 0, 0},
       {0, 0, 0, 0, 0, 0}},
      {"3D mixed flags in cap order",
       MODEL_3D,
       {1, 0, 2, 1, 0, 2},
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {0, 0, 0},
       1.0,
       {2, 0, 8, 12, 0, 6},
       {2, 0, 8, 12, 0, 6},
       {0, 3, 0, 11, 9, 5},
       {0, 0, 0, 0, 0, 0},
       {1, 0, 1, 2, 0, 2}},
  };
  for (const Case& c : cases) {
    int status = 0;
    RESET_INPUT_RECORDS(status);
    RunOptions.dimension = c.dimension;
    define_case(1, c.scale, 1);
    add_load(1, {5, 5, 5, 5, 5, 5, 1, 1, 1});  // ignored: the point values replace them
    for (int d = 1; d <= INPUT_DOFS; ++d) {
      SpecifiedDofData.flags(1, d) = c.flags[static_cast<std::size_t>(d - 1)];
      SpecifiedDofData.row_a(1, d) = c.list[static_cast<std::size_t>(d - 1)];
      SpecifiedDofData.row_b(1, d) = c.list[static_cast<std::size_t>(d + 5)];
    }
    for (int k = 1; k <= POINT_COORDINATES; ++k)
      SpecifiedDofData.point(1, k) = c.point[static_cast<std::size_t>(k - 1)];
    Vec6 r = case_load(1), p, u, xyz;
    expect_vector(r, {0, 0, 0, 0, 0, 0}, c.name);
    std::array<int, 6> flags;
    flags.fill(-7);
    CASE_SPECIFIED_DOFS(1, r.data(), p.data(), u.data(), xyz.data(), flags.data());
    expect_vector(r, c.r, c.name);
    expect_vector(p, c.p, c.name);
    expect_vector(u, c.u, c.name);
    expect_vector(xyz, c.xyz, c.name);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(flags[i], c.cap_flags[i]) << c.name << ", flag " << i + 1;
  }
}

TEST_F(LoadResultantTest, CaseWithoutPointValuesClearsOnlyTheVectors) {
  RunOptions.dimension = MODEL_3D;
  define_case(1, 1.0, 0);
  SpecifiedDofData.row_a(1, 2) = 5.0;
  SpecifiedDofData.flags(1, 1) = 1;
  SpecifiedDofData.point(1, 1) = 3.0;
  Vec6 r, p, u, xyz;
  for (Vec6* v : {&r, &p, &u, &xyz}) v->fill(8.0);
  std::array<int, 6> flags;
  flags.fill(-7);
  CASE_SPECIFIED_DOFS(1, r.data(), p.data(), u.data(), xyz.data(), flags.data());
  for (const Vec6* v : {&r, &p, &u, &xyz}) expect_vector(*v, {0, 0, 0, 0, 0, 0}, "cleared");
  for (int f : flags) EXPECT_EQ(f, -7);
}

}  // namespace
}  // namespace pilecap
