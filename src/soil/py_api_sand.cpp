// API sand p-y curves (code 8), after the published recommended-practice sand
// criterion: pu = gamma z (C1 z + C2 b) near the surface and C3 b gamma z
// below the crossover depth, C1, C2, C3 from the friction angle; p = A pu
// tanh(k z u / (A pu)) with A = max(0.9, 3 - 0.8 z / b) under static loading
// and 0.9 under cyclic loading. Model units, angles in radians; node arrays by
// node number; z_eq is the curve depth (equivalent depth in a lower layer).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double EARTH_PRESSURE_AT_REST = 0.4;
constexpr double A_MIN = double(0.9f);
constexpr double A_SURFACE = 3.0;
constexpr double A_SLOPE = double(0.8f);
constexpr double NO_FRICTION = 1e-10;               // a friction angle below this is none
constexpr double MIN_CURVE_DEPTH = double(1e-10f);  // no resistance at a shallower curve depth
// Deflections, in y_r, at which tanh reaches 0.95, 0.99 and 0.9999.
constexpr double TANH_95 = double(1.8317807f);
constexpr double TANH_99 = double(2.646653f);
constexpr double TANH_9999 = double(4.951636f);
constexpr int LINEAR_POINTS = 10;  // divisions up to the first of them
constexpr double DEFAULT_LAST_POINT = double(1.2f);
constexpr double DEGREES_PER_HALF_TURN = 180.0;
constexpr int API_SAND_PLOT_CODE = 8;

//        --------------------WARNING----------------------
//        THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT
constexpr const char* ZERO_FRICTION_LAYOUT =
    "(/,7X,\"--------------------WARNING----------------------\",/,7X,\"THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO "
    "THE INPUT\",/,7X,\"DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\")";
//      DEPTH      DIAM      PHI  GAMMA AVG        A         B     PCT       PCD
//        FT        IN            LBS/FT**3
//     10.00     24.00      35.0 0.690E+02      0.90      0.00 0.123E+04 0.456E+05
constexpr const char* HEADER_LAYOUT =
    "(/,/,5X,\"DEPTH\",6X,\"DIAM\",6X,\"PHI\",2X,\"GAMMA "
    "AVG\",8X,\"A\",9X,\"B\",5X,\"PCT\",7X,\"PCD\",/,7X,A2,8X,A2,12X,"
    "A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3)";
//              EQ. DEPTH =   10.00 FT
constexpr const char* EQ_DEPTH_LAYOUT = "(13X,\"EQ. DEPTH =\",F8.2,1X,A2)";
//                                     Y                   P
//                                     IN                LBS/IN
constexpr const char* COLUMNS_LAYOUT = "(/,37X,\"Y\",19X,\"P\",/,37X,A2,16X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(2X,G15.8))";

// The hyperbolic-tangent curve of one node.
struct ApiSandCurve {
  double ultimate = 0.0;   // A pu
  double reference = 0.0;  // y_r = A pu / (k z); 0 where there is no resistance
  double k_z = 0.0;        // the initial modulus

  double at(double u) const { return reference > 0.0 ? ultimate * std::tanh(u / reference) : 0.0; }
  // The 17 default deflections.
  double default_deflection(int i) const {
    const double y2 = TANH_95 * reference, y3 = TANH_99 * reference, y4 = TANH_9999 * reference;
    if (i <= LINEAR_POINTS + 1) return (i - 1) * y2 / LINEAR_POINTS;
    switch (i - LINEAR_POINTS - 1) {
      case 1:
        return (y2 + y3) / 2.0;
      case 2:
        return y3;
      case 3:
        return (y4 + 2.0 * y3) / 3.0;
      case 4:
        return (2.0 * y4 + y3) / 3.0;
      case 5:
        return y4;
      default:
        return DEFAULT_LAST_POINT * y4;
    }
  }
};

}  // namespace

void PY_API_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                 const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const bool is_static = AnalysisControl.loading_kind == LOADING_STATIC;
  const double pi = std::numbers::pi;
  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    node.bare_export = true;
    py::NodeCurveCache cache(call, node, API_SAND_PLOT_CODE);
    ApiSandCurve curve;
    if (!cache.fetch(curve)) {
      double x = node.x;
      double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      COHESION_AT_DEPTH(x, status);
      if (status != 0) return false;
      double phi = FRICTION_ANGLE_AT_DEPTH(x, status);
      if (status != 0) return false;
      if (node.j > PileLayerData.first_node(pile, layer) && phi < NO_FRICTION) {
        fio::write(UNIT_RUN_LOG, ZERO_FRICTION_LAYOUT);
        fio::write(UNIT_ECHO, ZERO_FRICTION_LAYOUT);
        status = STATUS_SAND_ZERO_FRICTION_ANGLE;
        return false;
      }
      const py::SandAngles s = py::sand_angles(phi, pi, EARTH_PRESSURE_AT_REST);
      const double b = node.b;
      const double z = node.z;
      const double z_eq = py::sand_curve_depth(call, node, b, 0.0, gamma, s);
      double k = SUBGRADE_K_AT_DEPTH(x);
      if (k <= 0.0) DEFAULT_K_SAND(phi, gamma, k, RunOptions.units);

      const double tan_phi = std::tan(phi), tan_alpha = std::tan(s.alpha);
      const double c1 =
          s.tan_beta *
          (s.k0 * (tan_phi * std::sin(s.beta) * (1.0 / std::cos(s.alpha) + 1.0) - tan_alpha) + tan_alpha * s.tan2_beta);
      const double c2 = s.tan2_beta - s.ka;
      const double c3 = s.tan2_beta * s.tan2_beta * (s.k0 * tan_phi + s.tan2_beta) - s.ka;
      const double p_st = gamma * z * (c1 * z_eq + c2 * b);
      const double p_sd = c3 * b * gamma * z;
      // Without friction C1 is 0 and there is no crossover: the shallow form.
      const bool deep = c1 > 0.0 && z_eq - (c3 - c2) * b / c1 > 0.0;
      const double p_u = deep ? p_sd : p_st;
      const double a = is_static ? std::max(A_MIN, A_SURFACE - A_SLOPE * z_eq / b) : A_MIN;

      curve.ultimate = a * p_u;
      curve.k_z = k * z_eq;
      if (z_eq >= MIN_CURVE_DEPTH && curve.k_z > 0.0 && curve.ultimate > 0.0) {
        curve.reference = curve.ultimate / k / z_eq;
      }
      if (node.outputs && py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
        const auto& u = UnitLabels;
        fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
                   u.length_large_short(), u.power(), u.three(), FEET_FROM_INCHES(z), KILO_SCALE_SI(b),
                   phi * DEGREES_PER_HALF_TURN / RunConstants.pi, KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), a,
                   0.0, KIPS_FROM_POUNDS(p_st), KIPS_FROM_POUNDS(p_sd));
        fio::write(UNIT_ECHO, EQ_DEPTH_LAYOUT, FEET_FROM_INCHES(z_eq), u.length_large_short());
        fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
        if (RunOptions.print_py_curves == 1) py::write_plot_node_record(node);
      }
      cache.store(curve);
    }
    py::add_layer_integral(call, node, running, curve.ultimate);
    if (!node.outputs) return true;
    py::initial_line_points(call, node, curve, curve.k_z);
    return true;
  };
  py::run_layer(call, API_SAND_PLOT_CODE, eval);
}

}  // namespace pilecap
