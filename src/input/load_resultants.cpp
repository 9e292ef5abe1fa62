// Load vectors at the cap origin: the concentrated loads of a case summed
// with their moments about the origin (M = m + p x F), the factored sum of
// the member cases of a combination, and the loads and displacements that a
// case prescribes at one point. Results are 6-vectors in the order of the cap
// displacements (X, Y, Z, rotation X, rotation Y, rotation Z); a 2D model
// fills elements 1, 2 and 6 and leaves 3 to 5 at zero. The input gives its
// degrees of freedom in another order: X, Y, rotation Z, Z, rotation Y,
// rotation X. Vectors are built 1-based and copied to the callers' arrays.
#include <algorithm>

#include "base/check.hpp"
#include "input/input.hpp"

namespace pilecap {

namespace {

// Positions in a cap vector.
constexpr int CAP_X = 1;
constexpr int CAP_Y = 2;
constexpr int CAP_Z = 3;
constexpr int CAP_RX = 4;
constexpr int CAP_RY = 5;
constexpr int CAP_RZ = 6;
// Positions in the input order of the prescribed degrees of freedom.
constexpr int IN_X = 1;
constexpr int IN_Y = 2;
constexpr int IN_RZ = 3;
constexpr int IN_Z = 4;
constexpr int IN_RY = 5;
constexpr int IN_RX = 6;

// Values of LoadCase.point_loads_flag and SpecifiedDofData.flags.
constexpr int NO_POINT_LOADS = 0;
constexpr int POINT_LOADS_GIVEN = 1;
constexpr int DISPLACEMENT_PRESCRIBED = 0;
constexpr int LOAD_PRESCRIBED = 1;

using CapVector = Array1<double, PILE_HEAD_DOFS>;

void store(const CapVector& v, double* out) {
  for (int i = 1; i <= PILE_HEAD_DOFS; ++i) out[i - 1] = v(i);
}

void scale(CapVector& v, double factor) {
  for (int i = 1; i <= PILE_HEAD_DOFS; ++i) v(i) *= factor;
}

bool is_2d() { return PLANE_MODEL(RunOptions.dimension); }

void check_case([[maybe_unused]] int k) {
  PILECAP_ASSERT(k >= 1 && k <= LoadCase.count && k <= MAX_LOAD_CASES, "a load case number within the cases read");
}

// The resultant of case k, unscaled and scaled, as a 1-based vector.
CapVector case_resultant(int k) {
  CapVector r{};
  if (LoadCase.point_loads_flag(k) == POINT_LOADS_GIVEN) return r;
  const auto& load = ConcentratedLoad;
  const int n_loads = std::min(LoadCase.num_conc_loads(k), MAX_CASE_LOADS);
  for (int j = 1; j <= n_loads; ++j) {
    const double fx = load.force_x(k, j);
    const double fy = load.force_y(k, j);
    const double fz = load.force_z(k, j);
    const double x = load.point_x(k, j);
    const double y = load.point_y(k, j);
    const double z = load.point_z(k, j);
    r(CAP_X) += fx;
    r(CAP_Y) += fy;
    if (!is_2d()) {
      r(CAP_Z) += fz;
      r(CAP_RX) += load.moment_x(k, j) + fz * y - fy * z;
      r(CAP_RY) += load.moment_y(k, j) + z * fx - fz * x;
    }
    r(CAP_RZ) += load.moment_z(k, j) + fy * x - fx * y;
  }
  scale(r, LoadCase.scale_factor(k));
  return r;
}

}  // namespace

void CASE_LOAD_AT_ORIGIN(int k, double* r) {
  check_case(k);
  store(case_resultant(k), r);
}

void COMBINATION_LOAD_AT_ORIGIN(int j, double* r) {
  PILECAP_ASSERT(j >= 1 && j <= LoadCombination.count && j <= MAX_LOAD_COMBINATIONS,
                 "a combination number within the combinations read");
  CapVector sum{};
  const int n_members = std::min(LoadCombination.member_count(j), MAX_CASE_LOADS);
  for (int m = 1; m <= n_members; ++m) {
    const int k = LoadCombination.member_case(j, m);
    // A member naming no case read contributes nothing.
    if (k < 1 || k > LoadCase.count || k > MAX_LOAD_CASES) continue;
    const double factor = LoadCombination.member_factor(j, m);
    const CapVector member = case_resultant(k);
    for (int i = 1; i <= PILE_HEAD_DOFS; ++i) sum(i) += factor * member(i);
  }
  store(sum, r);
}

void CASE_SPECIFIED_DOFS(int k, double* r, double* p, double* u, double* xyz, int* flags) {
  check_case(k);
  CapVector resultant{}, load{}, displacement{}, point{};
  if (LoadCase.point_loads_flag(k) != NO_POINT_LOADS) {
    const auto& data = SpecifiedDofData;
    // Pair d is values 2d - 1 and 2d of row_a followed by row_b.
    auto listed = [&](int n) { return n <= INPUT_DOFS ? data.row_a(k, n) : data.row_b(k, n - INPUT_DOFS); };
    // Per input degree of freedom: prescribed displacement U, load P, flag f.
    Array1<double, INPUT_DOFS> U{}, P{};
    Array1<int, INPUT_DOFS> f{};
    for (int d = 1; d <= INPUT_DOFS; ++d) {
      U(d) = listed(2 * d - 1);
      P(d) = listed(2 * d);
      f(d) = data.flags(k, d);
      if (f(d) == DISPLACEMENT_PRESCRIBED) P(d) = 0.0;
      if (f(d) == LOAD_PRESCRIBED) U(d) = 0.0;
    }
    const double x = data.point(k, 1);
    const double y = data.point(k, 2);
    const double z = data.point(k, 3);
    if (is_2d()) {
      flags[CAP_X - 1] = f(IN_X);
      flags[CAP_Y - 1] = f(IN_Y);
      flags[CAP_RZ - 1] = f(IN_RZ);
      resultant(CAP_X) = P(IN_X);
      resultant(CAP_Y) = P(IN_Y);
      resultant(CAP_RZ) = x * P(IN_Y) - y * P(IN_X) + P(IN_RZ);
      // The point load keeps the rotation in element 3, unlike the others.
      load(1) = P(IN_X);
      load(2) = P(IN_Y);
      load(3) = P(IN_RZ);
      displacement(CAP_X) = U(IN_X);
      displacement(CAP_Y) = U(IN_Y);
      displacement(CAP_RZ) = U(IN_RZ);
      point(1) = x;
      point(2) = y;
    } else {
      // Input order to cap order: X, Y, Z, rotation X, rotation Y, rotation Z.
      constexpr int CAP_FROM_INPUT[PILE_HEAD_DOFS] = {IN_X, IN_Y, IN_Z, IN_RX, IN_RY, IN_RZ};
      for (int i = 1; i <= PILE_HEAD_DOFS; ++i) {
        const int d = CAP_FROM_INPUT[i - 1];
        flags[i - 1] = f(d);
        load(i) = P(d);
        displacement(i) = U(d);
      }
      resultant(CAP_X) = P(IN_X);
      resultant(CAP_Y) = P(IN_Y);
      resultant(CAP_Z) = P(IN_Z);
      resultant(CAP_RX) = P(IN_RX) + y * P(IN_Z) - z * P(IN_Y);
      resultant(CAP_RY) = P(IN_RY) + z * P(IN_X) - x * P(IN_Z);
      resultant(CAP_RZ) = P(IN_RZ) + x * P(IN_Y) - y * P(IN_X);
      point(1) = x;
      point(2) = y;
      point(3) = z;
    }
    const double factor = LoadCase.scale_factor(k);
    scale(resultant, factor);
    scale(load, factor);
    scale(displacement, factor);
  }
  store(resultant, r);
  store(load, p);
  store(displacement, u);
  store(point, xyz);
}

}  // namespace pilecap
