// Secant bending stiffness of the nodes of a pile from moment-curvature
// data: the curvature of each node by central differences of the
// deflections (h the increment along the axis), then EI = M / phi from the
// section's moment-curvature curves (linear between the two curves whose
// axial loads bracket the pile's axial force), from a bilinear law at zero
// axial load, or from an elastic-perfectly-plastic law (My, phi_y) of an
// elastic section with a given moment capacity. Work vectors hold node j at
// row j + 3; moment-curvature sets, curves and points are 1-based.
#include <cmath>

#include "pile/pile.hpp"

namespace pilecap {

namespace {

// The secant rigidity of curve c of set m at the curvature phi; present is
// the node's EI, kept when the curve has nothing to give.
double curve_secant(int m, int c, double phi, double present) {
  const auto& S = MomentCurvatureSet;
  const int np = S.n_points(m, c);
  if (np <= 0) return present;
  auto k_phi = [&](int k) { return S.curvature(m, c, k); };
  auto k_m = [&](int k) { return S.moment(m, c, k); };
  if (phi <= k_phi(1)) {
    if (k_phi(1) == 0.0) return np >= 2 && k_phi(2) != 0.0 ? k_m(2) / k_phi(2) : present;
    return k_phi(1) < 0.0 ? k_m(1) / phi : k_m(1) / k_phi(1);
  }
  for (int k = 2; k <= np; ++k) {
    if (phi > k_phi(k)) continue;
    // phi lies in (phi(k-1), phi(k)], so the segment has positive length.
    const double moment = k_m(k - 1) + (phi - k_phi(k - 1)) * (k_m(k) - k_m(k - 1)) / (k_phi(k) - k_phi(k - 1));
    if (phi != 0.0) return moment / phi;
    return k_phi(k) != 0.0 ? k_m(k) / k_phi(k) : k_m(k - 1) / k_phi(k - 1);
  }
  // Beyond the last point the moment stays at the last point's value.
  if (phi != 0.0) return k_m(np) / phi;
  return k_phi(np) != 0.0 ? k_m(np) / k_phi(np) : present;
}

// The rigidity of general curves at the axial force N: one curve, or the
// secants of the two curves bracketing N interpolated linearly in N.
double curves_secant(int m, double axial_force, double phi, double present) {
  const auto& S = MomentCurvatureSet;
  const int nc = S.n_curves(m);
  if (nc < 1) return present;
  int c = 1;
  if (nc == 1 || axial_force <= S.axial_load(m, 1)) {
    c = 1;
  } else if (axial_force >= S.axial_load(m, nc)) {
    c = nc;
  } else {
    // Loads out of order bracket nothing; the first curve serves then.
    for (int k = 1; k < nc; ++k) {
      if (S.axial_load(m, k) <= axial_force && axial_force < S.axial_load(m, k + 1)) {
        c = k;
        break;
      }
    }
  }
  const double ei_c = curve_secant(m, c, phi, present);
  if (c < nc && axial_force > S.axial_load(m, c)) {
    const double ei_next = curve_secant(m, c + 1, phi, present);
    return ei_c + (axial_force - S.axial_load(m, c)) * (ei_next - ei_c) / (S.axial_load(m, c + 1) - S.axial_load(m, c));
  }
  return ei_c;
}

// EI = moment / divisor when the divisor is positive; false otherwise.
bool plastic_secant(double moment, double divisor, double& ei) {
  if (!(divisor > 0.0)) return false;
  ei = moment / divisor;
  return true;
}

}  // namespace

void SECANT_EI_BILINEAR(int /*pile*/, int set, double /*axial_force*/, double curvature, double& ei, int& yielded) {
  const auto& S = MomentCurvatureSet;
  const int nc = S.n_curves(set);
  yielded = 0;
  if (nc < 1) return;
  // Bracket the zero axial load.
  int lo = 1;
  int hi = 1;
  if (nc <= 1 || S.axial_load(set, 1) >= 0.0) {
    lo = hi = 1;
  } else if (S.axial_load(set, nc) <= 0.0) {
    lo = hi = nc;
  } else {
    for (int c = 1; c < nc; ++c) {
      if (S.axial_load(set, c) <= 0.0 && 0.0 < S.axial_load(set, c + 1)) {
        lo = c;
        hi = c + 1;
        break;
      }
    }
  }
  const double t = lo == hi ? 0.0 : (0.0 - S.axial_load(set, lo)) / (S.axial_load(set, hi) - S.axial_load(set, lo));
  auto yield_point = [&](int k, double& phi_y, double& m_y) {
    phi_y =
        S.bilinear_curvature(set, lo, k) + t * (S.bilinear_curvature(set, hi, k) - S.bilinear_curvature(set, lo, k));
    m_y = S.bilinear_moment(set, lo, k) + t * (S.bilinear_moment(set, hi, k) - S.bilinear_moment(set, lo, k));
  };
  double phi_y = 0.0;
  double m_y = 0.0;
  const double phi = curvature;
  // Below yield the initial rigidity, at and beyond it the plateau moment;
  // a zero divisor gives no rigidity and leaves ei as it is.
  auto take = [&](bool below_yield) {
    const double divisor = below_yield ? phi_y : phi;
    yielded = below_yield ? 0 : 1;
    if (divisor != 0.0) ei = m_y / divisor;
  };
  if (RunOptions.nonsymmetric_ei == 0) {
    yield_point(2, phi_y, m_y);
    take(phi_y > phi);
    return;
  }
  if (phi < 0.0) {
    yield_point(2, phi_y, m_y);
    take(!(phi <= phi_y));
  } else {
    yield_point(4, phi_y, m_y);
    take(phi_y > phi);
  }
}

void NODE_FLEXURAL_RIGIDITY(int pile, int axis, double axial_force, PileRowVector& ei, const PileRowVector& deflection,
                            PileRowFlags& yielded) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double h = PileProperty.increment(set);
  bool have_last = false;
  double last_ei = 0.0;
  for (int j = 1; j <= n + 1; ++j) {
    const int i = j + NODE_ROW_OFFSET;
    double phi = (deflection(i + 1) - 2 * deflection(i) + deflection(i - 1)) / (h * h);
    if (RunOptions.nonsymmetric_ei != 1) phi = std::fabs(phi);
    if (std::fabs(phi) < ZERO_CURVATURE) phi = 0.0;
    const double x = PileNodes.axial_x(pile, j);
    const int m = axis == AXIS_ZZ ? SECTION_MPHI_SET_ZZ(pile, set, x) : SECTION_MPHI_SET_YY(pile, set, x);
    if (m < 1 || m > MAX_MPHI_SETS) {
      if (SECTION_ELASTOPLASTIC_FLAG(pile, set, x) == 0) {
        yielded(i) = 0;  // elastic: the EI the solver set stays
        continue;
      }
      const double m_y = axis == AXIS_ZZ ? SECTION_MP_ZZ_AT(pile, set, x) : SECTION_MP_YY_AT(pile, set, x);
      const double phi_y = axis == AXIS_ZZ ? SECTION_PHI_Y_ZZ_AT(pile, set, x) : SECTION_PHI_Y_YY_AT(pile, set, x);
      const bool below_yield = phi_y > phi;
      yielded(i) = below_yield ? 0 : 1;
      double value = 0.0;
      if (plastic_secant(m_y, below_yield ? phi_y : phi, value)) {
        ei(i) = last_ei = value;
        have_last = true;
      } else if (have_last) {
        ei(i) = last_ei;
      }
      continue;
    }
    if (MomentCurvatureSet.bilinear(m) == 1) {
      double value = ei(i);
      int flag = 0;
      SECANT_EI_BILINEAR(pile, m, axial_force, phi, value, flag);
      yielded(i) = flag;
      ei(i) = last_ei = value;
      have_last = true;
      continue;
    }
    ei(i) = curves_secant(m, axial_force, phi, ei(i));
  }
}

}  // namespace pilecap
