// The pieces of the sand resistance that the sand-like criteria share (sand,
// silt, API sand): the angles and earth-pressure coefficients of a friction
// angle, the flow resistance at depth, the curve depth of a lower layer and
// the coefficients A and B over depth / diameter. Model units, angles in
// radians.
#include <cmath>

#include "soil/py_frame.hpp"

namespace pilecap::py {

SandAngles sand_angles(double phi, double pi, double k0) {
  SandAngles s;
  s.phi = phi;
  s.alpha = phi / 2.0;
  s.beta = pi / 4.0 + phi / 2.0;
  s.k0 = k0;
  s.ka = std::pow(std::tan(pi / 4.0 - phi / 2.0), 2);
  s.tan_beta = std::tan(s.beta);
  s.tan2_beta = std::pow(s.tan_beta, 2);
  return s;
}

double sand_flow_resistance(double gamma, double z, double b, const SandAngles& s) {
  return b * gamma * z * (s.ka * (std::pow(s.tan_beta, 8) - 1.0) + s.k0 * std::tan(s.phi) * std::pow(s.tan_beta, 4));
}

double sand_curve_depth(LayerCall& call, const Node& node, double b, double c, double gamma, const SandAngles& s) {
  return curve_depth(call, node, [&] {
    SandAngles a = s;
    double none = 0.0, z0 = node.z;
    EQUIVALENT_DEPTH(call.pile, call.layer, call.prop_set, b, c, none, gamma, a.phi, a.alpha, a.beta, a.k0, a.ka,
                     a.tan2_beta, z0, none, SAND_COEFF_DEPTH_RATIOS);
  });
}

void sand_coefficients(LayerCall& call, const Node& node, double z_eq, bool is_static, double& a, double& b) {
  double coeff_x = PileSoilData.ground_line(call.pile) + z_eq;
  double diameter = node.b;
  const CoeffTable& a_table = is_static ? SAND_A_STATIC : SAND_A_CYCLIC;
  const CoeffTable& b_table = is_static ? SAND_B_STATIC : SAND_B_CYCLIC;
  if (node.cap_pass || CapPassiveElement.evaluating == 1) {
    a = COEFF_TABLE_FOR_DIAMETER(call.pile, call.prop_set, coeff_x, diameter, a_table, SAND_COEFF_DEPTH_RATIOS);
    b = COEFF_TABLE_FOR_DIAMETER(call.pile, call.prop_set, coeff_x, diameter, b_table, SAND_COEFF_DEPTH_RATIOS);
  } else {
    a = COEFF_TABLE_AT_DEPTH(call.pile, call.prop_set, coeff_x, a_table, SAND_COEFF_DEPTH_RATIOS);
    b = COEFF_TABLE_AT_DEPTH(call.pile, call.prop_set, coeff_x, b_table, SAND_COEFF_DEPTH_RATIOS);
  }
}

SandFamilyParabola sand_family_parabola(double p_m, double p_u, double y_m, double y_u, double k_x) {
  SandFamilyParabola parabola;
  parabola.slope = (p_u - p_m) / (y_u - y_m);
  if (!(p_m > 0.0)) {
    // No resistance at y_m: the parabola is zero and the initial line ends at once.
    parabola.n = 1.0;
    return parabola;
  }
  parabola.n = p_m / (std::abs(parabola.slope) * y_m);
  parabola.c = p_m / std::pow(y_m, 1.0 / parabola.n);
  if (std::isinf(parabola.n)) {
    // The exponent n / (n - 1) tends to 1: the line meets the constant p_m.
    parabola.y_k = parabola.c / k_x;
  } else {
    parabola.y_k = std::pow(parabola.c / k_x, parabola.n / (parabola.n - 1.0));
  }
  if (!std::isfinite(parabola.y_k) || !std::isfinite(parabola.c) || !(parabola.n > 0.0)) parabola.y_k = y_m;
  return parabola;
}

}  // namespace pilecap::py
