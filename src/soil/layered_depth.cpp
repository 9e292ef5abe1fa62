// Corrections along a pile for layered soil and for depth. The equivalent
// depth of a lower layer is where that layer's own soil, reaching up to the
// ground, gives the integrated ultimate resistance S of the layers above:
// the root of a closed-form integral for the clays, a stepwise integration
// (resistance at the lower end of each step) for the sands, stiff clay with
// free water and silt. The depth factors interpolate a table over depth.
// Tables are 1-based; depths in model units below the pile's ground line.
#include <algorithm>
#include <cmath>

#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "soil/py_curves.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double CYCLIC_ULTIMATE_FRACTION = double(0.72f);
constexpr double CLAY_TRANSITION_FACTOR = 6.0;  // x_r = 6 c b / (...)
constexpr double STIFF_CLAY_SLOPE = double(2.83f);
constexpr double STIFF_CLAY_F_ROOT = double(1.225f);
constexpr double STIFF_CLAY_F_CONSTANT = double(0.411f);
constexpr double STIFF_CLAY_F_LINEAR = 0.75;
constexpr double STIFF_CLAY_F_CYCLIC_AC = double(0.936f);
constexpr double STIFF_CLAY_F_CYCLIC_AS = double(0.418f);
constexpr double SAND_DEEP_A = double(0.88f);
constexpr double API_SAND_A_MIN = double(0.9f);
constexpr double API_SAND_A_SLOPE = double(0.8f);
constexpr double API_SAND_A_SURFACE = 3.0;
constexpr int STIFF_CLAY_STEPS = 40;
constexpr int SAND_STEPS = 50;

// The real depth of the layer top below the pile's ground line.
double real_top_depth(int pile, int layer) {
  return SoilProfile.layer_top(layer) - PileTable.ground(pile) - PileTable.head_depth(pile);
}

bool usable(double v) { return std::isfinite(v) && v > 0.0; }

// Clay resistance growing as q z^2 + s z up to x_r, constant p_d below.
// cyclic_scale multiplies I(x_r) and p_d, not the root.
double clay_equivalent_depth(double total, double q, double s, double x_r, double p_d, double cyclic_scale,
                             double fallback) {
  const double at_transition = (q * x_r + s) * x_r * cyclic_scale;
  if (total > at_transition) {
    const double deep = p_d * cyclic_scale;
    return usable(deep) && std::isfinite(x_r) ? x_r + (total - at_transition) / deep : fallback;
  }
  if (q > 0.0) return (std::sqrt(s * s + 4.0 * q * total) - s) / (2.0 * q);
  return s > 0.0 ? total / s : fallback;
}

// Stepwise integration of p over N steps of z_e / N, then the rate r beyond.
template <class Resistance, class Rate>
double stepwise_equivalent_depth(double total, double z_e, int steps, Resistance resistance, Rate rate,
                                 double fallback) {
  if (!std::isfinite(z_e)) return fallback;
  double integral = 0.0;
  if (z_e > 0.0) {
    const double step = z_e / steps;
    for (int i = 1; i <= steps; ++i) {
      const double z_i = i * step;
      const double next = integral + step * resistance(z_i);
      if (next > total) return z_i - step * (next - total) / (next - integral);
      integral = next;
    }
  }
  const double r = rate();
  return usable(r) ? std::max(z_e, 0.0) + (total - integral) / r : fallback;
}

}  // namespace

void EQUIVALENT_DEPTH(int& pile, int& layer, int& prop_set, double& b, double& c, double& ca, double& gamma,
                      double& phi, double& alpha, double& beta, double& k0, double& ka, double& tan2_beta, double& z0,
                      double& j, const CoeffTable& abscissae) {
  double total = 0.0;
  for (int k = 1; k < layer; ++k) total += PileLayerData.ultimate_resistance(pile, k);
  const int code = SoilProfile.layer_code(layer);
  const int kind = AnalysisControl.loading_kind;
  const double fallback = real_top_depth(pile, layer);
  const double cyclic_scale = kind == LOADING_CYCLIC ? CYCLIC_ULTIMATE_FRACTION : 1.0;
  const double s = 3.0 * c * b;  // the linear coefficient of every clay integral
  const double p_deep = 9.0 * c * b;
  double& result = PileLayerData.eq_depth(pile, layer);

  // The sand wedge coefficients: p = gamma z (C1 z + C2 b), deep rate C3.
  const double tan_beta = std::tan(beta);
  const double c1 =
      tan_beta * (k0 * (std::tan(phi) * std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) - std::tan(alpha)) +
                  std::tan(alpha) * tan2_beta);
  const double c2 = tan2_beta - ka;
  const double c3 = tan2_beta * tan2_beta * (k0 * std::tan(phi) + tan2_beta) - ka;
  const double sand_z_e = (c3 - c2) * b / c1;
  const double sand_rate = SAND_DEEP_A * c3 * gamma * b * z0;
  auto coefficient = [&](double z_i, const CoeffTable& stat, const CoeffTable& cyc) {
    double x = PileSoilData.ground_line(pile) + z_i;
    return COEFF_TABLE_AT_DEPTH(pile, prop_set, x, kind == LOADING_STATIC ? stat : cyc, abscissae);
  };

  switch (code) {
    case SOIL_STIFF_CLAY_NO_WATER:
    case SOIL_STIFF_CLAY_INITIAL_K: {
      const double q = 0.25 * c + 0.5 * gamma * b;
      const double x_r = (9.0 * c - 3.0 * ca) * b / (0.5 * c + gamma * b);
      result = clay_equivalent_depth(total, q, s, x_r, p_deep, 1.0, fallback);
      return;
    }
    case SOIL_SOFT_CLAY_USER_J:
    case SOIL_MOD_SOFT_CLAY_INITIAL_K: {
      const double q = 0.5 * j * c + 0.5 * gamma * b;
      const double x_r = CLAY_TRANSITION_FACTOR * c * b / (j * c + gamma * b);
      result = clay_equivalent_depth(total, q, s, x_r, p_deep, cyclic_scale, fallback);
      return;
    }
    case SOIL_STIFF_CLAY_FREE_WATER: {
      const double slope = gamma * b + STIFF_CLAY_SLOPE * ca;
      double f = 0.0;
      auto resistance = [&](double z_i) {
        double x = PileSoilData.ground_line(pile) + z_i;
        const double as = STIFF_CLAY_AS_AT_DEPTH(pile, prop_set, x);
        if (kind == LOADING_STATIC) {
          f = STIFF_CLAY_F_ROOT * std::sqrt(as) - STIFF_CLAY_F_CONSTANT - STIFF_CLAY_F_LINEAR * as;
        } else if (kind == LOADING_CYCLIC) {
          f = STIFF_CLAY_F_CYCLIC_AC * STIFF_CLAY_AC_AT_DEPTH(pile, prop_set, x) - STIFF_CLAY_F_CYCLIC_AS * as;
        }
        return f * (slope * z_i + 2.0 * ca * b);
      };
      const double z_e = (11.0 * c - 2.0 * ca) * b / slope;
      result = stepwise_equivalent_depth(
          total, z_e, STIFF_CLAY_STEPS, resistance, [&] { return 11.0 * c * f * b; }, fallback);
      return;
    }
    case SOIL_SAND: {
      auto resistance = [&](double z_i) {
        const double a = coefficient(z_i, SAND_A_STATIC, SAND_A_CYCLIC);
        return a * py::sand_wedge_resistance(gamma, z_i, b, phi, alpha, beta, k0, ka);
      };
      result = stepwise_equivalent_depth(
          total, sand_z_e, SAND_STEPS, resistance, [&] { return sand_rate; }, fallback);
      return;
    }
    case SOIL_SILT: {
      auto resistance = [&](double z_i) {
        const double a = coefficient(z_i, SAND_A_STATIC, SAND_A_CYCLIC);
        return c * (3.0 * b + 0.5 * z_i) + gamma * b * z_i + a * gamma * z_i * (c1 * z_i + c2 * b);
      };
      result = stepwise_equivalent_depth(
          total, sand_z_e, SAND_STEPS, resistance, [&] { return sand_rate + p_deep; }, fallback);
      return;
    }
    case SOIL_API_SAND: {
      auto resistance = [&](double z_i) {
        const double a = kind == LOADING_STATIC
                             ? std::max(API_SAND_A_MIN, API_SAND_A_SURFACE - API_SAND_A_SLOPE * z_i / b)
                             : API_SAND_A_MIN;
        return a * gamma * z_i * (c1 * z_i + c2 * b);
      };
      result = stepwise_equivalent_depth(
          total, sand_z_e, SAND_STEPS, resistance, [&] { return sand_rate; }, fallback);
      return;
    }
    default: {  // soft clay, and every code outside 1..14
      const double q = 0.25 * c + 0.5 * gamma * b;
      const double x_r = CLAY_TRANSITION_FACTOR * c * b / (0.5 * c + gamma * b);
      result = clay_equivalent_depth(total, q, s, x_r, p_deep, cyclic_scale, fallback);
      return;
    }
  }
}

void DEPTH_REDUCTION_FACTORS(int& pile, int& table, double& d, double& pm, double& ym) {
  const int m = PileTable.rfl_set(pile);
  table = m;
  pm = ym = 1.0;
  // A table number beyond those read names no table.
  if (m < 1 || m > DepthFactorTable.count || m > MAX_DEPTH_FACTOR_TABLES) return;
  const int n = std::min(DepthFactorTable.num_rows(m), MAX_DEPTH_FACTOR_ROWS);
  if (n < 1) return;
  const auto& depth = DepthFactorTable.depth;
  if (d < depth(m, 1) || d > depth(m, n)) return;
  if (d == depth(m, 1) || d == depth(m, n)) {
    const int row = d == depth(m, 1) ? 1 : n;
    pm = DepthFactorTable.p_factor(m, row);
    ym = DepthFactorTable.y_factor(m, row);
    return;
  }
  int i = 2;
  while (i < n && depth(m, i) < d) ++i;
  const double dd = d - depth(m, i - 1);
  const double span = depth(m, i) - depth(m, i - 1);
  const auto& pf = DepthFactorTable.p_factor;
  const auto& yf = DepthFactorTable.y_factor;
  pm = pf(m, i - 1) + (pf(m, i) - pf(m, i - 1)) * dd / span;
  ym = yf(m, i - 1) + (yf(m, i) - yf(m, i - 1)) * dd / span;
}

}  // namespace pilecap
