// Liquefied sand p-y curves (code 11), after the published empirical law for
// liquefied sand: p = A (B y)^C in kN/m for y in mm, with A, B, C power laws
// of a depth s = z_m + 1 in metres, times a diameter factor P_d, and limited
// by the law's values at 150 mm, at half a diameter and at 15 kN/m. The law
// runs in its own units (m, mm, kN); English input is converted at its edges.
// No layered-soil correction: a lower layer's law depth is gamma z / 10. The
// Y-FACTOR divides the deflection, the P-FACTOR is part of the curve value.
// Node arrays by node number.
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

// The law, in metres, millimetres and kilonewtons.
constexpr double C_FACTOR = double(2.85f);
constexpr double C_POWER = double(-0.41f);
constexpr double B_FACTOR = double(2.8f);
constexpr double B_POWER = double(0.11f);
constexpr double A_FACTOR = double(3e-7f);
constexpr double A_POWER = double(6.05f);
constexpr double DIAMETER_LOG_FACTOR = double(3.81f);  // P_d = 3.81 ln b + 5.6 from b = 0.3 m
constexpr double DIAMETER_CONSTANT = double(5.6f);
constexpr double DIAMETER_LIMIT = double(0.3f);
// A diameter of 0.3 m takes the logarithmic branch: the widened 0.3f lies
// above the 0.3 that a 300 mm section gives.
constexpr double LOG_BRANCH_FROM = 0.3;
constexpr double LIMIT_DEFLECTION_MM = 150.0;
constexpr double LIMIT_RESISTANCE = 15.0;  // kN/m
constexpr double MM_PER_M = 1000.0;
constexpr double HALF_DIAMETER_MM = 500.0;     // half a diameter in metres, in mm
constexpr double LOWER_LAYER_DEPTH_SI = 10.0;  // z_m = gamma z / 10 (kN/m^3, m)
// English edges of the law.
constexpr double METRES_PER_INCH = double(0.0254f);
constexpr double MM_PER_INCH = double(25.4f);
constexpr double HALF_DIAMETER_MM_ENGLISH = double(12.7f);     // half a diameter in inches, in mm
constexpr double LOWER_LAYER_DEPTH_ENGLISH = double(0.6894f);  // z_m = 0.6894 gamma z (lb/in^3, in)
constexpr double LB_PER_IN_PER_KN_PER_M = double(5.7143f);
// Default deflections, fractions of the reference deflection.
constexpr Array1<double, 17> DEFAULT_FRACTIONS = {{double(0.0001f), double(0.02f), double(0.04f), double(0.08f),
                                                   double(0.1f), double(0.15f), double(0.2f), double(0.25f),
                                                   double(0.3f), double(0.4f), double(0.5f), double(0.6f), double(0.7f),
                                                   double(0.8f), double(0.9f), 1.0, double(1.1f)}};
constexpr int LIQUEFIED_SAND_PLOT_CODE = 11;
constexpr int POINT_LEAD_BLANKS = 27;
constexpr int POINT_DEFLECTION_WIDTH = 14;

//          Depth below ground surface       =       10.000 FT
//          Diameter                         =       24.000 IN
//          Gamma Avg                        =     69.12000 LBS/FT**3
//          Pu                               =      123.456 LBS/IN
//                                   y, IN            p, LBS/IN
//                               ------------       -------------
constexpr const char* HEADER_LAYOUT =
    "(/,9X,\"Depth below ground surface       = \",F12.3,1X,A2,/,9X,\"Diameter                         = \",F12.3,"
    "1X,A2,/,9X,\"Gamma Avg                        = \",F12.5,1X,A3,A1,2A2,A1,/,9X,\"Pu                               "
    "= \",F12.3,1X,A3,A1,A2,/,26X,\"         y, \",A2,\"            p, \",A3,A1,A2,/,30X,\"------------       "
    "-------------\")";
constexpr const char* PLOT_POINT_LAYOUT = "(7X,1P,2G20.8)";

// The law at one law depth for one diameter, in its own units.
struct LiquefiedSandLaw {
  double a = 0.0, b = 0.0, c = 0.0, p_d = 0.0;
  double limit_law = 0.0;  // the law at the deflection limit
  bool english = false;

  LiquefiedSandLaw() = default;
  LiquefiedSandLaw(double law_depth, double diameter, bool english_units) : english(english_units) {
    const double s = law_depth + 1.0;
    c = C_FACTOR * std::pow(s, C_POWER);
    b = B_FACTOR * std::pow(s, B_POWER);
    a = A_FACTOR * std::pow(s, A_POWER);
    const double metres = english ? METRES_PER_INCH * diameter : diameter;
    p_d = metres >= LOG_BRANCH_FROM ? DIAMETER_LOG_FACTOR * std::log(metres) + DIAMETER_CONSTANT
                                    : metres / DIAMETER_LIMIT;
    limit_law = law(LIMIT_DEFLECTION_MM);
  }
  double law(double mm) const { return a * std::pow(b * mm, c); }
  // The resistance, limited as the law is, at a deflection in millimetres;
  // in lb/in under English units.
  double limited(double mm) const {
    const double kn_per_m = p_d * std::min(limit_law, std::min(LIMIT_RESISTANCE, law(mm)));
    return english ? LB_PER_IN_PER_KN_PER_M * kn_per_m : kn_per_m;
  }
  // The deflection in metres where the law reaches 15 kN/m, at most 150 mm.
  double reference_metres() const {
    return std::min(LIMIT_DEFLECTION_MM, std::pow(LIMIT_RESISTANCE / a, 1.0 / c) / b) / MM_PER_M;
  }
};

}  // namespace

void PY_LIQUEFIED_SAND(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                       double* es, const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const bool english = RunOptions.units != UNITS_SI;
  const int last = PileLayerData.last_node(pile, layer);
  // The layer integral takes the spacing of the pile's first two nodes.
  const double spacing = NODE_COORDINATE_AT(pile, 2) - NODE_COORDINATE_AT(pile, 1);
  double p_u_before = 0.0;  // p_u of the node evaluated before
  auto eval = [&](py::Node& node, double& running) {
    // The cap pass is reported with the factors and keeps no first-node
    // reaction: to the frame it is a plain pass (the cap width stays).
    node.cap_pass = false;
    node.factor_in_curve = true;
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    node.echo_lead_blanks = POINT_LEAD_BLANKS;
    node.echo_deflection_width = POINT_DEFLECTION_WIDTH;
    double x = node.x;
    const double z = node.z, b = node.b;
    const bool printing = node.outputs && py::curve_generation() && GeneratedPyCurve.from_plot_list == 0;
    py::NodeCurveCache cache(call, node, LIQUEFIED_SAND_PLOT_CODE);
    struct NodeData {
      LiquefiedSandLaw law;
      double p_u = 0.0;
      double gamma = 0.0;
    } data;
    if (!cache.fetch(data)) {
      COHESION_AT_DEPTH(x, status);
      if (status != 0) return false;
      AVG_COHESION_ABOVE(x, status);
      if (status != 0) return false;
      data.gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      double law_depth = z;
      if (english) {
        law_depth = layer == 1 ? METRES_PER_INCH * z : LOWER_LAYER_DEPTH_ENGLISH * data.gamma * z;
      } else if (layer > 1) {
        law_depth = data.gamma * z / LOWER_LAYER_DEPTH_SI;
      }
      data.law = LiquefiedSandLaw(law_depth, b, english);
      data.p_u = data.law.limited(english ? HALF_DIAMETER_MM_ENGLISH * b : HALF_DIAMETER_MM * b);
      cache.store(data);
    }
    const LiquefiedSandLaw& law = data.law;
    const double p_u = data.p_u, gamma = data.gamma;

    if (!node.first) running += spacing * (p_u_before + p_u) / 2.0;
    if (node.j == last) running += (SoilProfile.layer_bottom(layer) - x) * p_u;
    PileLayerData.ultimate_resistance(pile, layer) = running;
    p_u_before = p_u;
    if (!node.outputs) return true;

    if (printing) {
      const auto& u = UnitLabels;
      fio::write(UNIT_ECHO, HEADER_LAYOUT, FEET_FROM_INCHES(z), u.length_large_short(), KILO_SCALE_SI(b),
                 u.length_small_short(), KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), u.force_short(), u.slash(),
                 u.length_large_short(), u.power(), u.three(), KIPS_FROM_POUNDS(p_u), u.force_short(), u.slash(),
                 u.moment_length(), u.moment_length(), u.moment_force(), u.slash(), u.moment_length());
      py::write_plot_node_record(node);
    }
    const double reference = english ? law.reference_metres() * MM_PER_M / MM_PER_INCH : law.reference_metres();
    const bool analysis = !py::curve_generation();
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      double u = py::point_deflection(call, node, i, m, [&](int k) { return DEFAULT_FRACTIONS(k) * reference; });
      // The Y-FACTOR divides the node's own deflection (not one measured
      // against a soil movement).
      if (analysis && !py::movements_present(pile)) u /= node.y_factor;
      const double mm = english ? MM_PER_INCH * u : MM_PER_M * u;
      const double value = node.p_factor * std::min(law.limited(mm), p_u);
      const double modulus = u == 0.0 ? 0.0 : py::factored_modulus(node, value, u);
      py::finish_point(call, node, i, u, m, value, modulus);
    }
    return true;
  };
  py::run_layer(call, LIQUEFIED_SAND_PLOT_CODE, eval);
}

}  // namespace pilecap
