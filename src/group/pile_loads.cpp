// Loads and soil movements along the piles: the distributed-load and
// soil-movement entries of a case (or of the member cases of a combination)
// become per-pile station tables in PileLoadProfile, station k at distance
// (k - 1) dx from the head along the pile axis (dx = length / increments of
// the pile's property set). Global loads are projected on the pile axes by
// the pile's batter (2D) or its angles alpha, beta, theta (3D); the axial
// share of a global load can go to the cap as a force at the pile head,
// integrated by the trapezoidal rule. Tables are 1-based, pile index fastest.
#include "group/pile_loads.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "base/arrays.hpp"
#include "input/input.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

// Distances closer than this to a set's first or last point take its value.
constexpr double SET_END_TOLERANCE = double(1e-8f);
// AXIS values: a distributed load along the pile's own axes, a soil
// movement along the pile's own axes (the two codes are opposite).
constexpr int LOAD_AXIS_LOCAL = 0;
constexpr int MOVEMENT_AXIS_LOCAL = 1;

// The pile range of one entry: first, last and the step between them.
struct PileRange {
  int first, last, step;
};

// An END_PILE of 0 means the first pile alone; the two ends may come in
// either order. A step of 0 takes the two ends only. The step's sign carries
// nothing once the ends are ordered, so its magnitude is used: a negative
// step would otherwise walk away from the range. A magnitude beyond the
// range takes its first pile alone; it is cut to one past the range, so
// neither the magnitude of the most negative int nor a pile number plus the
// step leaves int.
PileRange pile_range(int ini_pile, int end_pile, int inc_pile) {
  PileRange range{ini_pile, end_pile == 0 ? ini_pile : end_pile, 0};
  if (range.last < range.first) std::swap(range.first, range.last);
  const long long span = static_cast<long long>(range.last) - range.first;
  range.step = static_cast<int>(std::min(std::llabs(static_cast<long long>(inc_pile)), span + 1));
  if (range.step == 0) range.step = static_cast<int>(span);
  if (range.step == 0) range.step = 1;
  return range;
}

// Stations of pile p: n + 1 of them, dx apart; false for a pile whose
// property set has no usable increments.
bool pile_stations(int p, int& n_stations, double& dx) {
  const int set = PileTable.prop(p);
  if (set < 1 || set > PILE_PROPERTY_ROWS) return false;
  const int n = PileProperty.n_increments(set);
  if (n < 1 || n + 1 > PILE_DEPTH_STATIONS) return false;
  n_stations = n + 1;
  dx = PileProperty.length(set) / n;
  return true;
}

// The two tables one kind of entry fills.
struct StationTables {
  Table1<int>& count;
  Table2<double>& depth;
  Table2<double>& y;
  Table2<double>& z;
};

StationTables load_tables() {
  auto& L = PileLoadProfile;
  return {L.load_count, L.load_depth, L.load_y, L.load_z};
}

StationTables movement_tables() {
  auto& L = PileLoadProfile;
  return {L.move_count, L.move_depth, L.move_y, L.move_z};
}

// Adds the entries of case c, times f, to the tables. Loads (movements
// false) may add axial resultants.
void add_entries(int c, double f, bool movements) {
  const LoadAssignmentTable& a = movements ? LoadAssignment.soil_movement : LoadAssignment.distributed;
  const int n_entries = movements ? LoadCase.num_soil_moves(c) : LoadCase.num_dist_loads(c);
  const StationTables t = movements ? movement_tables() : load_tables();
  const bool three_d = RunOptions.dimension == MODEL_3D;
  const bool axial_to_head = !movements && LoadCase.axial_as_head_load(c) == 1;

  for (int j = 1; j <= n_entries; ++j) {
    const PileRange range = pile_range(a.INI_PILE(c, j), a.END_PILE(c, j), a.INC_PILE(c, j));
    const bool local = a.AXIS(c, j) == (movements ? MOVEMENT_AXIS_LOCAL : LOAD_AXIS_LOCAL);
    const double factor_y = a.FACTOR_Y(c, j) * f;
    const double factor_z = a.FACTOR_Z(c, j) * f;
    for (int p = range.first; p <= range.last; p += range.step) {
      if (p < 1) break;
      int n_stations = 0;
      double dx = 0.0;
      if (!pile_stations(p, n_stations, dx)) continue;
      t.count(p) = n_stations;
      double x = 0.0;
      double previous_y = 0.0;  // values of the station before, for the trapezoid
      double previous_z = 0.0;
      for (int k = 1; k <= n_stations; ++k) {
        t.depth(p, k) = x;
        const double value_y = LOAD_SET_VALUE(movements, a.SET_Y(c, j), x) * factor_y;
        const double value_z = three_d ? LOAD_SET_VALUE(movements, a.SET_Z(c, j), x) * factor_z : 0.0;
        if (local) {
          t.y(p, k) += value_y;
          if (three_d) t.z(p, k) += value_z;
        } else if (!three_d) {
          const double batter = PileTable.batter(p);
          t.y(p, k) += value_y * std::cos(batter);
          if (axial_to_head && k >= 2) {
            PileLoadProfile.axial_resultant(p) += 0.5 * dx * (previous_y + value_y) * std::sin(batter);
            PileLoadProfile.axial_present = 1;
          }
        } else {
          const double alpha = PileTable.alpha(p);
          const double beta = PileTable.beta(p);
          const double theta = PileTable.theta(p);
          // a_part: the global load across the pile in the plane of beta;
          // b_part: the component normal to that plane.
          const double a_part = std::sin(beta) * (value_y * std::cos(alpha) + value_z * std::sin(alpha));
          const double b_part = value_z * std::cos(alpha) - value_y * std::sin(alpha);
          t.y(p, k) += std::cos(theta) * a_part + std::sin(theta) * b_part;
          t.z(p, k) += -std::sin(theta) * a_part + std::cos(theta) * b_part;
          if (axial_to_head && k >= 2) {
            PileLoadProfile.axial_resultant(p) +=
                0.5 * dx * std::cos(beta) *
                ((previous_y + value_y) * std::cos(alpha) + (previous_z + value_z) * std::sin(alpha));
            PileLoadProfile.axial_present = 1;
          }
        }
        previous_y = value_y;
        previous_z = value_z;
        x += dx;
      }
    }
  }
}

// Applies op(value) to the two value tables at every station of every pile.
template <class Op>
void for_each_station(Table2<double>& y, Table2<double>& z, Op op) {
  for (int k = 1; k <= PILE_DEPTH_STATIONS; ++k) {
    for (int p = 1; p <= PileTable.n_piles; ++p) {
      op(y(p, k), p, k, true);
      op(z(p, k), p, k, false);
    }
  }
}

}  // namespace

double LOAD_SET_VALUE(bool movements, int set, double x) {
  LoadSetHalf& half = movements ? LoadSetTable.movements : LoadSetTable.loads;
  if (set < 1 || set > half.count) return 0.0;
  const int n = half.num_points(set);
  if (n < 2) return 0.0;
  if (std::fabs(x - half.depth(set, 1)) < SET_END_TOLERANCE) return half.value(set, 1);
  if (std::fabs(x - half.depth(set, n)) < SET_END_TOLERANCE) return half.value(set, n);
  if (x < half.depth(set, 1) || x > half.depth(set, n)) return 0.0;
  for (int j = 2; j <= n; ++j) {
    if (half.depth(set, j) > x) {
      const double s0 = half.depth(set, j - 1);
      const double w0 = half.value(set, j - 1);
      return w0 + (half.value(set, j) - w0) / (half.depth(set, j) - s0) * (x - s0);
    }
  }
  return 0.0;  // points out of order: no interval holds x
}

void CLEAR_DISTRIBUTED_LOADS() {
  auto& L = PileLoadProfile;
  for_each_station(L.load_y, L.load_z, [](double& v, int, int, bool) { v = 0.0; });
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    L.load_count(p) = 0;
    L.axial_resultant(p) = 0.0;
  }
}

void CLEAR_SOIL_MOVEMENTS() {
  auto& L = PileLoadProfile;
  for_each_station(L.move_y, L.move_z, [](double& v, int, int, bool) { v = 0.0; });
  for (int p = 1; p <= PileTable.n_piles; ++p) L.move_count(p) = 0;
}

void INTERPOLATE_LOAD_SET(int c, double f) { add_entries(c, f, false); }

void INTERPOLATE_MOVEMENT_SET(int c, double f) { add_entries(c, f, true); }

void CASE_DISTRIBUTED_LOADS(int c) {
  CLEAR_DISTRIBUTED_LOADS();
  PileLoadProfile.axial_present = 0;
  INTERPOLATE_LOAD_SET(c, LoadCase.scale_factor(c));
}

void CASE_SOIL_MOVEMENTS(int c) {
  CLEAR_SOIL_MOVEMENTS();
  INTERPOLATE_MOVEMENT_SET(c, LoadCase.scale_factor(c));
}

void COMB_DISTRIBUTED_LOADS(int j) {
  CLEAR_DISTRIBUTED_LOADS();
  PileLoadProfile.axial_present = 0;
  for (int m = 1; m <= LoadCombination.member_count(j); ++m) {
    const int c = LoadCombination.member_case(j, m);
    INTERPOLATE_LOAD_SET(c, LoadCase.scale_factor(c) * LoadCombination.member_factor(j, m));
  }
}

void COMB_SOIL_MOVEMENTS(int j) {
  CLEAR_SOIL_MOVEMENTS();
  for (int m = 1; m <= LoadCombination.member_count(j); ++m) {
    const int c = LoadCombination.member_case(j, m);
    INTERPOLATE_MOVEMENT_SET(c, LoadCase.scale_factor(c) * LoadCombination.member_factor(j, m));
  }
}

void DISTRIBUTED_LOAD_RESULTANT(double* load) {
  if (PileLoadProfile.axial_present < 1 || PileTable.n_piles < 1) return;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const double resultant = PileLoadProfile.axial_resultant(p);
    if (RunOptions.dimension != MODEL_3D) {
      // A row's resultant is one pile's; every identical pile of the row
      // carries it, as every one carries the row's lateral load.
      const double batter = PileTable.batter(p);
      const double row_resultant = resultant * PileTable.n_identical(p);
      load[0] += row_resultant * std::cos(batter);
      load[1] += row_resultant * std::sin(batter);
      load[5] += row_resultant * std::sin(batter) * PileTable.head_x(p) -
                 row_resultant * std::cos(batter) * PileTable.head_y(p);
      continue;
    }
    const double alpha = PileTable.alpha(p);
    const double beta = PileTable.beta(p);
    const double force_x = resultant * std::sin(beta);
    const double force_y = resultant * std::cos(beta) * std::cos(alpha);
    const double force_z = resultant * std::cos(beta) * std::sin(alpha);
    const double x = PileTable.head_x(p);
    const double y = PileTable.head_y(p);
    const double z = PileTable.head_z(p);
    load[0] += force_x;
    load[1] += force_y;
    load[2] += force_z;
    load[3] += y * force_z - z * force_y;
    load[4] += z * force_x - x * force_z;
    load[5] += x * force_y - y * force_x;
  }
}

void SCALE_DISTRIBUTED_LOADS(double m) {
  auto& L = PileLoadProfile;
  for_each_station(L.load_y, L.load_z, [m](double& v, int, int, bool) { v *= m; });
}

void SCALE_SOIL_MOVEMENTS(double m) {
  auto& L = PileLoadProfile;
  for_each_station(L.move_y, L.move_z, [m](double& v, int, int, bool) { v *= m; });
}

void SAVE_DISTRIBUTED_LOADS() {
  auto& L = PileLoadProfile;
  for_each_station(L.load_y, L.load_z,
                   [&L](double& v, int p, int k, bool y) { (y ? L.saved_load_y : L.saved_load_z)(p, k) = v; });
}

void SAVE_SOIL_MOVEMENTS(int& moving) {
  auto& L = PileLoadProfile;
  moving = 0;
  for_each_station(L.move_y, L.move_z, [&L, &moving](double& v, int p, int k, bool y) {
    (y ? L.saved_move_y : L.saved_move_z)(p, k) = v;
    if (std::fabs(v) > 0.0) moving = 1;
  });
}

void APPLY_LOAD_FRACTION_LOADS(double f) {
  auto& L = PileLoadProfile;
  for_each_station(L.load_y, L.load_z,
                   [&L, f](double& v, int p, int k, bool y) { v = (y ? L.saved_load_y : L.saved_load_z)(p, k) * f; });
}

void APPLY_LOAD_FRACTION_MOVEMENTS(double f) {
  auto& L = PileLoadProfile;
  for_each_station(L.move_y, L.move_z,
                   [&L, f](double& v, int p, int k, bool y) { v = (y ? L.saved_move_y : L.saved_move_z)(p, k) * f; });
}

void APPLY_LOAD_FRACTION_PROFILE(double f) {
  auto& s = SoilMovementProfile;
  for (int k = 1; k <= s.count; ++k) {
    s.move_y(k) = s.scaled_move_y(k) * f;
    s.move_z(k) = s.scaled_move_z(k) * f;
  }
}

void APPLY_CONVERGED_FRACTION(double c) {
  APPLY_LOAD_FRACTION_LOADS(c);
  APPLY_LOAD_FRACTION_MOVEMENTS(c);
  APPLY_LOAD_FRACTION_PROFILE(c);
}

void SCALE_MOVEMENT_PROFILE(int c) {
  const double factor = c > 0 ? LoadCase.scale_factor(c) : 1.0;
  auto& s = SoilMovementProfile;
  for (int k = 1; k <= s.count; ++k) {
    s.scaled_move_y(k) = s.read_move_y(k) * factor;
    s.scaled_move_z(k) = s.read_move_z(k) * factor;
  }
}

}  // namespace pilecap
