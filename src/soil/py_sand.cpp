// Sand p-y curves (code 4), after the published sand criterion: the ultimate
// resistance is the smaller of a wedge resistance near the surface and a flow
// resistance at depth, times A; the curve is a straight line k z u, a
// parabola C u^(1/n), a straight part from y_m = b/60 (p_m = B p_s) to
// y_u = 3b/80 (p_u = A p_s) and p_u beyond, never above k z u. A and B come
// from static or cyclic tables over depth / diameter. Model units, angles in
// radians; node arrays by node number.
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace py {

double sand_wedge_bracket(double z, double b, double phi, double alpha, double beta, double k0, double ka) {
  const double tan_beta = std::tan(beta);
  const double tan_phi = std::tan(phi);
  const double tan_alpha = std::tan(alpha);
  const double tan_beta_phi = std::tan(beta - phi);
  return k0 * z * tan_phi * std::sin(beta) / (tan_beta_phi * std::cos(alpha)) +
         tan_beta / tan_beta_phi * (b + z * tan_beta * tan_alpha) +
         k0 * z * tan_beta * (tan_phi * std::sin(beta) - tan_alpha) - ka * b;
}

double sand_wedge_resistance(double gamma, double z, double b, double phi, double alpha, double beta, double k0,
                             double ka) {
  return gamma * z * sand_wedge_bracket(z, b, phi, alpha, beta, k0, ka);
}

}  // namespace py

namespace {

constexpr double EARTH_PRESSURE_AT_REST = double(0.4f);
constexpr double ULTIMATE_DEFLECTION_RATIO = 3.0 / 80.0;  // y_u = 3 b / 80
constexpr double MEAN_DEFLECTION_DIVISOR = 60.0;          // y_m = b / 60
constexpr double DEFAULT_LAST_POINT = double(1.2f);       // the last default deflection, times y_u
constexpr double NO_INITIAL_LINE_DIAMETERS = 2.0;         // y_k without an initial line
constexpr int LINEAR_POINTS = 10;                         // divisions from y0 to y_m
constexpr double DEGREES_PER_HALF_TURN = 180.0;
constexpr int SAND_PLOT_CODE = 4;

//            DEPTH BELOW GS      DIAM      PHI     GAMMA          A         B               PCT       PCD
constexpr const char* HEADER_LAYOUT =
    "(/,11X,\"DEPTH BELOW GS\",6X,\"DIAM\",6X,\"PHI\",5X,\"GAMMA\",10X,\"A\",9X,\"B\",15X,\"PCT\",7X,\"PCD\",/,17X,"
    "A2,13X,A2,13X,A3,A1,A2,A2,A1,/,10X,F10.2,5X,2F10.2,E10.2,2F10.2,10X,2E10.2)";
//              EQ. DEPTH =   10.00 FT
constexpr const char* EQ_DEPTH_LAYOUT = "(13X,\"EQ. DEPTH =\",F8.2,1X,A2)";
//                                      Y                   P
constexpr const char* COLUMNS_LAYOUT = "(/,38X,\"Y\",19X,\"P\",/,38X,A2,15X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(1X,G15.8))";

struct SandCurve {
  double p_u = 0.0, p_m = 0.0, y_u = 0.0, y_m = 0.0, slope = 0.0, n = 0.0, c = 0.0, y_k = 0.0, k_x = 0.0;
  bool resisting = false;  // p_s > 0: the soil offers resistance at this depth

  double at(double u) const {
    if (!resisting) return 0.0;
    double p = 0.0;
    if (u >= y_u) {
      p = p_u;
    } else if (u >= y_m) {
      p = p_m + slope * (u - y_m);
    } else if (u > y_k) {
      p = c * std::pow(u, 1.0 / n);
    } else {
      p = k_x * u;
    }
    return std::min(p, k_x * u);
  }
  // The 17 default deflections: 0, y0 / 2, y0 (the end of the initial line,
  // or y_m / 10 when it does not end before y_m), nine steps of (y_m - y0) / 10
  // after it, y_m, the two thirds between y_m and y_u, y_u and 1.2 y_u.
  double default_deflection(int i) const {
    const double y0 = y_k < y_m ? y_k : y_m / LINEAR_POINTS;
    constexpr int AT_Y0 = 3;  // the point at y0; y_m follows LINEAR_POINTS points later
    if (i == 1) return 0.0;
    if (i == 2) return y0 / 2.0;
    if (i < AT_Y0 + LINEAR_POINTS) return y0 + (i - AT_Y0) * (y_m - y0) / LINEAR_POINTS;
    switch (i - AT_Y0 - LINEAR_POINTS) {
      case 0:
        return y_m;
      case 1:
        return (y_u + 2.0 * y_m) / 3.0;
      case 2:
        return (2.0 * y_u + y_m) / 3.0;
      case 3:
        return y_u;
      default:
        return DEFAULT_LAST_POINT * y_u;
    }
  }
};

}  // namespace

void PY_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
             const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const bool is_static = AnalysisControl.loading_kind == LOADING_STATIC;
  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    py::NodeCurveCache cache(call, node, SAND_PLOT_CODE);
    SandCurve curve;
    if (!cache.fetch(curve)) {
      double x = node.x;
      double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      double phi = FRICTION_ANGLE_AT_DEPTH(x, status);
      if (status != 0) return false;
      const py::SandAngles angles = py::sand_angles(phi, RunConstants.pi, EARTH_PRESSURE_AT_REST);
      const double b = node.b;
      const double z_eq = py::sand_curve_depth(call, node, b, 0.0, gamma, angles);
      double k = SUBGRADE_K_AT_DEPTH(x);
      if (k <= 0.0) DEFAULT_K_SAND(phi, gamma, k, RunOptions.units);

      const double p_st =
          py::sand_wedge_resistance(gamma, z_eq, b, phi, angles.alpha, angles.beta, angles.k0, angles.ka);
      const double p_sd = py::sand_flow_resistance(gamma, node.z, b, angles);
      const double p_s = std::min(p_st, p_sd);

      // The coefficients over depth / diameter, with the cap width where it serves.
      double a = 0.0, b_coeff = 0.0;
      py::sand_coefficients(call, node, z_eq, is_static, a, b_coeff);

      curve.k_x = k * z_eq;
      curve.p_u = a * p_s;
      curve.p_m = b_coeff * p_s;
      curve.y_u = ULTIMATE_DEFLECTION_RATIO * b;
      curve.y_m = b / MEAN_DEFLECTION_DIVISOR;
      curve.resisting = p_s > 0.0;
      curve.y_k = NO_INITIAL_LINE_DIAMETERS * b;
      if (z_eq > 0.0 && curve.resisting && curve.k_x > 0.0) {
        const py::SandFamilyParabola parabola =
            py::sand_family_parabola(curve.p_m, curve.p_u, curve.y_m, curve.y_u, curve.k_x);
        curve.slope = parabola.slope;
        curve.n = parabola.n;
        curve.c = parabola.c;
        curve.y_k = parabola.y_k;
      }
      if (node.outputs && py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
        const auto& u = UnitLabels;
        fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
                   u.length_large_short(), u.power(), u.three(), FEET_FROM_INCHES(node.z), KILO_SCALE_SI(b),
                   phi * DEGREES_PER_HALF_TURN / RunConstants.pi, KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), a,
                   b_coeff, KIPS_FROM_POUNDS(p_st), KIPS_FROM_POUNDS(p_sd));
        fio::write(UNIT_ECHO, EQ_DEPTH_LAYOUT, FEET_FROM_INCHES(z_eq), u.length_large_short());
        fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
        py::write_plot_node_record(node);
      }
      cache.store(curve);
    }
    py::add_layer_integral(call, node, running, curve.p_u);
    if (!node.outputs) return true;
    py::initial_line_points(call, node, curve, curve.k_x);
    return true;
  };
  py::run_layer(call, SAND_PLOT_CODE, eval);
}

}  // namespace pilecap
