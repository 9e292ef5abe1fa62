// Silt p-y curves (code 7), a soil with cohesion and friction: the frictional
// resistance p_phi is that of the sand criterion (the smaller of its wedge
// and flow forms), the cohesive part p_c = min(gamma z / c + 3 + 0.5 z / b, 9)
// c b of the soft-clay kind joins at y_m = b/60 (p_m = 1.5 p_phi + p_c), the
// ultimate p_u = A p_phi holds from y_u = 3b/80. Where the initial line k z u
// meets the other branches picks one of three curve shapes; every value stays
// under k z u. Also the default silt p-y modulus. Model units, angles in
// radians; node arrays by node number; z_eq is the curve depth.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double EARTH_PRESSURE_AT_REST = double(0.4f);
constexpr double NO_FRICTION = 1e-10;            // a friction angle below this is none
constexpr double SLOPE_LIMIT = double(1e-10f);   // 1 - cos^2 phi below this: no friction to hold a slope
constexpr double SURFACE_COHESION_FACTOR = 3.0;  // N = gamma z / c + 3 + 0.5 z / b
constexpr double DEPTH_COHESION_FACTOR = 0.5;
constexpr double DEEP_COHESION_FACTOR = 9.0;
constexpr double MEAN_FRICTION_FACTOR = 1.5;              // p_m = 1.5 p_phi + p_c
constexpr double ULTIMATE_DEFLECTION_RATIO = 3.0 / 80.0;  // y_u = 3 b / 80
constexpr double MEAN_DEFLECTION_DIVISOR = 60.0;          // y_m = b / 60
constexpr double NO_INITIAL_LINE_DIAMETERS = 2.0;         // y_k without an initial line
constexpr double SHORT_INITIAL_LINE = 0.75;               // y_k <= 0.75 y_m: the short default list
constexpr double DEGREES_PER_HALF_TURN = 180.0;
constexpr int SILT_PLOT_CODE = 7;

// The curve shapes.
constexpr int CASE_PARABOLA = 1;      // the initial line, a parabola, a straight part, p_u
constexpr int CASE_STRAIGHT = 2;      // the initial line, a straight part from y_i, p_u
constexpr int CASE_INITIAL_LINE = 3;  // the initial line up to p_u

// Default silt modulus: the friction term over the friction angle.
constexpr double FRICTION_LOW_DEGREES = 30.0;
constexpr double FRICTION_HIGH_DEGREES = 36.0;
constexpr double ABOVE_WATER_GAMMA_ENGLISH = double(0.045f);  // lb/in^3
constexpr double ABOVE_WATER_GAMMA_SI = double(12.225f);      // kN/m^3
constexpr Array1<double, 3> FRICTION_K_ABOVE_ENGLISH = {{25.0, 90.0, 225.0}};
constexpr Array1<double, 3> FRICTION_K_BELOW_ENGLISH = {{20.0, 60.0, 125.0}};
constexpr Array1<double, 3> FRICTION_K_ABOVE_SI = {{double(6786.18f), double(24430.24f), double(61075.6f)}};
constexpr Array1<double, 3> FRICTION_K_BELOW_SI = {{double(5428.94f), double(16286.83f), double(33930.9f)}};

// Default deflections: the parabola shape over the initial line, the
// parabola and the straight part, with a short or a long initial line; the
// straight shape in eighths of y_i (y_i twice) and sixths up to y_u; the
// initial-line shape in twelfths of y_p; each ends beyond y_u (y_p).
constexpr int SHORT_LINE_STEPS = 10;  // from y_k to y_m
constexpr int LONG_LINE_STEPS = 6;    // to y_k, and from y_k to y_m
constexpr int PARABOLA_SHAPE_POINTS = 13;
constexpr Array1<double, 8> STRAIGHT_FRACTIONS = {{0.125, 0.25, 0.375, 0.5, 0.625, 0.875, 1.0, 1.0}};
constexpr int STRAIGHT_TAIL_STEPS = 6;  // from y_i to y_u
constexpr int INITIAL_LINE_STEPS = 12;  // to y_p
constexpr Array1<double, 3> STRAIGHT_TAIL = {{1.0, double(1.1f), double(1.2f)}};
constexpr Array1<double, 4> INITIAL_LINE_TAIL = {{double(1.05f), double(1.1f), double(1.15f), double(1.2f)}};
constexpr double DEFAULT_LAST_POINT = double(1.2f);

//        --------------------WARNING----------------------
//        THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT
constexpr const char* ZERO_FRICTION_LAYOUT =
    "(/,7X,\"--------------------WARNING----------------------\",/,7X,\"THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO "
    "THE INPUT\",/,7X,\"DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\")";
//        WARNING-------The Angle of the slope can not
constexpr const char* SLOPE_LAYOUT =
    "(/,/,7X,\"WARNING-------The Angle of the slope can not\",/,7X,\"              be greater than the internal  \",/,"
    "7X,\"              friction angle of the silt.   \",/)";
//      DEPTH      DIAM      PHI  GAMMA AVG        A         B     Puc       Puf
constexpr const char* HEADER_LAYOUT =
    "(/,/,5X,\"DEPTH\",6X,\"DIAM\",6X,\"PHI\",2X,\"GAMMA AVG\",8X,\"A\",9X,\"B\",5X,\"Puc\",7X,\"Puf\",/,7X,A2,8X,A2,"
    "12X,A3,A1,A2,A2,A1,22X,A3,A1,A2,4X,A3,A1,A2,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3)";
//              EQ. DEPTH =   10.00 FT
constexpr const char* EQ_DEPTH_LAYOUT = "(13X,\"EQ. DEPTH =\",F8.2,1X,A2)";
constexpr const char* COLUMNS_LAYOUT = "(/,37X,\"Y\",19X,\"P\",/,37X,A2,16X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(2X,G15.8))";

// The curve of one node.
struct SiltCurve {
  int shape = CASE_PARABOLA;
  double k_x = 0.0, p_u = 0.0, p_m = 0.0, y_u = 0.0, y_m = 0.0;
  double slope = 0.0, n = 0.0, c = 0.0, y_k = 0.0, y_i = 0.0, y_p = 0.0;

  // Chooses the shape where the initial line k_x u meets the other branches.
  void choose_shape() {
    const py::SandFamilyParabola parabola = py::sand_family_parabola(p_m, p_u, y_m, y_u, k_x);
    slope = parabola.slope;
    n = parabola.n;
    c = parabola.c;
    y_k = parabola.y_k;
    if (y_k >= 0.0 && y_k < y_m) {
      shape = CASE_PARABOLA;
      return;
    }
    y_i = (p_m - y_m * slope) / (k_x - slope);
    if (y_i >= y_m && y_i < y_u) {
      shape = CASE_STRAIGHT;
      return;
    }
    y_p = p_u / k_x;
    shape = y_p >= y_u ? CASE_INITIAL_LINE : CASE_PARABOLA;
  }

  double at(double u) const {
    if (!(k_x > 0.0)) return 0.0;  // no initial line: every branch is 0
    double p = 0.0;
    if (shape == CASE_STRAIGHT) {
      p = u <= y_i ? k_x * u : (u <= y_u ? k_x * y_i + slope * (u - y_i) : p_u);
    } else if (shape == CASE_INITIAL_LINE) {
      p = u <= y_p ? k_x * u : p_u;
    } else if (u <= y_k) {
      p = k_x * u;
    } else if (u <= y_m) {
      p = c * std::pow(u, 1.0 / n);
    } else {
      p = u <= y_u ? p_m + slope * (u - y_m) : p_u;
    }
    return std::min(p, k_x * u);
  }

  // The 17 default deflections of the shape.
  double default_deflection(int i) const {
    if (i == 1) return 0.0;
    if (shape == CASE_STRAIGHT) {
      const int n_fractions = STRAIGHT_FRACTIONS.size();
      if (i <= n_fractions + 1) return STRAIGHT_FRACTIONS(i - 1) * y_i;
      const int tail = i - n_fractions - 1;
      if (tail < STRAIGHT_TAIL_STEPS) return y_i + tail * (y_u - y_i) / STRAIGHT_TAIL_STEPS;
      return STRAIGHT_TAIL(tail - STRAIGHT_TAIL_STEPS + 1) * y_u;
    }
    if (shape == CASE_INITIAL_LINE) {
      if (i <= INITIAL_LINE_STEPS + 1) return (i - 1) * y_p / INITIAL_LINE_STEPS;
      return INITIAL_LINE_TAIL(i - INITIAL_LINE_STEPS - 1) * y_p;
    }
    if (i <= PARABOLA_SHAPE_POINTS) {
      if (y_k <= SHORT_INITIAL_LINE * y_m) {
        return i == 2 ? y_k / 2.0 : y_k + (i - 3) * (y_m - y_k) / SHORT_LINE_STEPS;
      }
      if (i <= LONG_LINE_STEPS + 1) return (i - 1) * y_k / LONG_LINE_STEPS;
      return y_k + (i - LONG_LINE_STEPS - 1) * (y_m - y_k) / LONG_LINE_STEPS;
    }
    switch (i - PARABOLA_SHAPE_POINTS) {
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

void print_node_block(const py::Node& node, double phi, double gamma, double a, double b_coeff, double p_c,
                      double p_phi, double z_eq) {
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
             u.length_large_short(), u.power(), u.three(), u.force_short(), u.slash(), u.length_small_short(),
             u.force_short(), u.slash(), u.length_small_short(), FEET_FROM_INCHES(node.z), KILO_SCALE_SI(node.b),
             phi * DEGREES_PER_HALF_TURN / RunConstants.pi, KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), a, b_coeff,
             KIPS_FROM_POUNDS(p_c), KIPS_FROM_POUNDS(p_phi));
  fio::write(UNIT_ECHO, EQ_DEPTH_LAYOUT, FEET_FROM_INCHES(z_eq), u.length_large_short());
  fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
  if (RunOptions.print_py_curves == 1) py::write_plot_node_record(node);
}

// The friction term of the default silt modulus.
double friction_modulus(double gamma, double phi, int units) {
  const double degrees = phi * DEGREES_PER_HALF_TURN / std::numbers::pi;
  const int column = degrees <= FRICTION_LOW_DEGREES ? 1 : (degrees <= FRICTION_HIGH_DEGREES ? 2 : 3);
  if (units == UNITS_SI) {
    return gamma > ABOVE_WATER_GAMMA_SI ? FRICTION_K_ABOVE_SI(column) : FRICTION_K_BELOW_SI(column);
  }
  return gamma > ABOVE_WATER_GAMMA_ENGLISH ? FRICTION_K_ABOVE_ENGLISH(column) : FRICTION_K_BELOW_ENGLISH(column);
}

}  // namespace

void DEFAULT_K_SILT(double& gamma, double& c, double& phi, double& k, int& units, int& kind) {
  if (units != UNITS_ENGLISH && units != UNITS_SI) return;
  // The cohesion term is the clay table's; another loading kind keeps the k
  // that came in.
  double cohesion_term = k;
  DEFAULT_K_CLAY(c, cohesion_term, units, kind);
  k = cohesion_term + friction_modulus(gamma, phi, units);
}

void PY_SILT(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
             const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int kind = AnalysisControl.loading_kind;
  const bool is_static = kind == LOADING_STATIC;
  double ultimate_before = 0.0;  // A p_phi of the last evaluated node numbered 1 or more
  int shape_before = CASE_PARABOLA;
  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    node.bare_export = true;
    py::NodeCurveCache cache(call, node, SILT_PLOT_CODE);
    cache.depends_on(ultimate_before);
    cache.depends_on(shape_before);
    SiltCurve curve;
    if (!cache.fetch(curve)) {
      double x = node.x;
      double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      double c = COHESION_AT_DEPTH(x, status);
      if (status != 0) return false;
      double phi = FRICTION_ANGLE_AT_DEPTH(x, status);
      if (status != 0) return false;
      if (node.j > PileLayerData.first_node(pile, layer) && phi < NO_FRICTION) {
        fio::write(UNIT_ECHO, ZERO_FRICTION_LAYOUT);
        fio::write(UNIT_RUN_LOG, ZERO_FRICTION_LAYOUT);
        status = STATUS_SILT_ZERO_FRICTION_ANGLE;
        return false;
      }
      if (1.0 - std::pow(std::cos(phi), 2) < SLOPE_LIMIT) {
        fio::write(UNIT_RUN_LOG, SLOPE_LAYOUT);
        fio::write(UNIT_ECHO, SLOPE_LAYOUT);
        status = STATUS_SILT_SLOPE_ABOVE_FRICTION;
        return false;
      }
      const py::SandAngles angles = py::sand_angles(phi, std::numbers::pi, EARTH_PRESSURE_AT_REST);
      const double b = node.b;
      const double z = node.z;
      const double z_eq = py::sand_curve_depth(call, node, b, c, gamma, angles);
      double k = SUBGRADE_K_AT_DEPTH(x);
      int loading = kind;
      if (k <= 0.0) DEFAULT_K_SILT(gamma, c, phi, k, RunOptions.units, loading);

      // The frictional part, the real depth multiplying the unit weight.
      const double p_st =
          gamma * z * py::sand_wedge_bracket(z_eq, b, phi, angles.alpha, angles.beta, angles.k0, angles.ka);
      const double p_phi = std::min(p_st, py::sand_flow_resistance(gamma, z, b, angles));
      // The cohesive part; without cohesion there is none.
      double p_c = 0.0;
      if (c > 0.0) {
        const double factor = gamma * z_eq / c + SURFACE_COHESION_FACTOR + DEPTH_COHESION_FACTOR * z_eq / b;
        p_c = std::min(factor, DEEP_COHESION_FACTOR) * c * b;
      }
      double a = 0.0, b_coeff = 0.0;
      py::sand_coefficients(call, node, z_eq, is_static, a, b_coeff);

      curve.k_x = k * z_eq;
      curve.p_u = a * p_phi;
      curve.p_m = MEAN_FRICTION_FACTOR * p_phi + p_c;
      curve.y_u = ULTIMATE_DEFLECTION_RATIO * b;
      curve.y_m = b / MEAN_DEFLECTION_DIVISOR;
      curve.y_k = NO_INITIAL_LINE_DIAMETERS * b;
      curve.shape = shape_before;
      if (z_eq > 0.0 && curve.k_x > 0.0) curve.choose_shape();
      if (node.outputs && py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
        print_node_block(node, phi, gamma, a, b_coeff, p_c, p_phi, z_eq);
      }
      cache.store(curve);
    }
    // The layer integral takes the mean of consecutive nodes.
    py::add_layer_integral(call, node, running, (ultimate_before + curve.p_u) / 2.0);
    if (node.j >= 1) ultimate_before = curve.p_u;
    shape_before = curve.shape;
    if (!node.outputs) return true;
    py::initial_line_points(call, node, curve, curve.k_x);
    return true;
  };
  py::run_layer(call, SILT_PLOT_CODE, eval);
}

}  // namespace pilecap
