// Weak rock p-y curves (code 9), after the published interim criterion for
// weak rock: with alpha_r = 1 - RQD/150 and the half strength q_h = q_u / 2
// averaged over the layer, the ultimate resistance p_ur = alpha_r 2 q_h (b +
// 1.4 x_r) grows with the depth x_r into the rock up to 5.2 alpha_r q_u b at
// three diameters; the curve is the initial line M_ir u (M_ir from 100 to
// 500 E_r) up to y_a, then 0.5 p_ur (u / y_rm)^(1/4) up to p_ur, y_rm = k_rm b.
// One pass over the layer's nodes with the section diameter, no layered-soil
// correction. Model units; node arrays by node number.
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double RQD_PER_CENT = double(1.0f / 150.0f);  // alpha_r = 1 - RQD / 150
constexpr double NO_STRENGTH = 1e-10;                   // a half strength below this is none
constexpr double ROCK_DEPTH_OFFSET = double(1e-8f);     // added to the depth into the rock
constexpr double SHALLOW_DIAMETERS = 3.0;               // p_ur and M_ir grow down to 3 b
constexpr double DEPTH_GROWTH = double(1.4f);           // b + 1.4 x_r
constexpr double DEEP_FACTOR = double(10.4f);           // 10.4 alpha_r q_h b = 5.2 alpha_r q_u b
constexpr double SURFACE_MODULUS_RATIO = 100.0;         // M_ir = (100 + 400 x_r / 3b) E_r
constexpr double MODULUS_GROWTH_RATIO = 400.0;
constexpr double DEEP_MODULUS_RATIO = 500.0;
constexpr double HALF = 0.5;
constexpr double QUARTER_POWER = 0.25;
constexpr double BREAK_POWER = 4.0 / 3.0;  // y_a = (p_ur / (2 y_rm^(1/4) M_ir))^(4/3)
constexpr double ULTIMATE_Y_RM = 16.0;     // p_ur is reached at 16 y_rm
constexpr double LAST_Y_RM = 20.0;
// Default deflections: y_a, then these fractions of the way to 16 y_rm.
constexpr Array1<double, 14> DEFAULT_FRACTIONS = {
    {double(0.01f), double(0.02f), double(0.04f), double(0.06f), double(0.08f), double(0.1f), double(0.2f),
     double(0.3f), double(0.4f), double(0.5f), double(0.6f), double(0.7f), double(0.8f), double(0.9f)}};
constexpr int WEAK_ROCK_PLOT_CODE = 9;

//        --------------------WARNING----------------------
//        THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK
constexpr const char* ZERO_STRENGTH_LAYOUT =
    "(/,7X,\"--------------------WARNING----------------------\",/,7X,\"THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK "
    "ROCK \",/,7X,\"ACCORDING TO THE INPUT DATA.\",/,7X,\"PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\")";
//               DEPTH     DIAM       C          PU    GAMMA AVG      KRM
//                 FT       IN    LBS/IN**2 LBS/IN**3 LBS/FT**3
//               10.00    24.000  0.50E+03  0.12E+05  0.69E+02   0.500E-03
//                                     Y                   P
//                                     IN                LBS/IN
constexpr const char* HEADER_LAYOUT =
    "(/,/,14X,\"DEPTH\",5X,\"DIAM\",7X,\"C\",8X,\" PU \",3X,\"GAMMA "
    "AVG\",6X,\"KRM\",/,16X,A2,7X,A2,4X,3(A3,A1,A2,A2,A1,"
    "1X),/,10X,F10.2,F10.3,3E10.2,E12.3,/,37X,\"Y\",19X,\"P\",/,37X,A2,16X,A3,A1,A2)";
constexpr const char* ECHO_POINT_LAYOUT = "(21X,2E20.3)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(2X,G15.8))";

// The curve of one node.
struct WeakRockCurve {
  double p_ur = 0.0, m_ir = 0.0, y_rm = 0.0, y_a = 0.0;

  double at(double u) const {
    if (u < y_a) return m_ir * u;
    return std::min(HALF * p_ur * std::pow(u / y_rm, QUARTER_POWER), p_ur);
  }
  double default_deflection(int i) const {
    if (i == 1) return y_a;
    if (i <= DEFAULT_FRACTIONS.size() + 1) return y_a + DEFAULT_FRACTIONS(i - 1) * (ULTIMATE_Y_RM * y_rm - y_a);
    return i == DEFAULT_PY_POINT_COUNT ? LAST_Y_RM * y_rm : ULTIMATE_Y_RM * y_rm;
  }
};

void print_node_block(const py::Node& node, double q_h, double p_ur, double gamma, double k_rm) {
  py::write_plot_node_record(node);
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
             u.moment_length(), u.power(), u.two(), u.force_short(), u.slash(), u.moment_length(), u.power(), u.three(),
             u.force_short(), u.slash(), u.length_large_short(), u.power(), u.three(), FEET_FROM_INCHES(node.z),
             KILO_SCALE_SI(node.b), KIPS_FROM_POUNDS(q_h), KIPS_FROM_POUNDS(p_ur),
             KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), k_rm, u.moment_length(), u.force_short(), u.slash(),
             u.moment_length());
}

}  // namespace

void PY_WEAK_ROCK(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                  const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int first = PileLayerData.first_node(pile, layer);
  const int last = PileLayerData.last_node(pile, layer);
  // The layer integral takes the spacing of the pile's first two nodes.
  const double spacing = NODE_COORDINATE_AT(pile, 2) - NODE_COORDINATE_AT(pile, 1);
  double running = 0.0;
  PileLayerData.ultimate_resistance(pile, layer) = 0.0;
  // The strength average starts at the layer's first evaluated node.
  py::RunningMean strength_mean;
  // The curve of a node with the strength average after it.
  struct NodeData {
    WeakRockCurve curve;
    bool resisting = false;
    py::RunningMean mean_after;
  };
  // Computes the curve of a node; false when the status word was set.
  auto compute_node = [&](const py::Node& node, double x_before, NodeData& data) {
    WeakRockCurve& curve = data.curve;
    const int j = node.j;
    double x = node.x;
    const double b = node.b;
    const double q_h = COHESION_AT_DEPTH(x, status) / 2.0;
    if (status != 0) return false;
    const double rqd = J_OR_RQD_AT_DEPTH(x);
    const double alpha_r = 1.0 - rqd * RQD_PER_CENT;
    if (j != first && q_h < NO_STRENGTH) {
      fio::write(UNIT_ECHO, ZERO_STRENGTH_LAYOUT);
      fio::write(UNIT_RUN_LOG, ZERO_STRENGTH_LAYOUT);
      status = STATUS_WEAK_ROCK_ZERO_COHESION;
      return false;
    }
    double q_mean = strength_mean.at(node, x_before, q_h);
    if (GeneratedPyCurve.active == 1) {
      double top = SoilProfile.layer_top(layer);
      q_mean = (q_h + COHESION_AT_DEPTH(top, status) / 2.0) / 2.0;
      if (status != 0) return false;
    }
    if (layer == 1) q_mean = AVG_COHESION_ABOVE(x, status) / 2.0;
    const double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != 0) return false;
    const double k_rm = E50_AT_DEPTH(x);
    const double x_r = std::min(node.z, x - SoilProfile.layer_top(layer)) + ROCK_DEPTH_OFFSET;
    const double e_r = ROCK_MODULUS_AT_DEPTH(x);

    if (x_r <= SHALLOW_DIAMETERS * b) {
      curve.p_ur = alpha_r * 2.0 * q_mean * (b + DEPTH_GROWTH * x_r);
      curve.m_ir = (SURFACE_MODULUS_RATIO + MODULUS_GROWTH_RATIO * x_r / (SHALLOW_DIAMETERS * b)) * e_r;
    } else {
      curve.p_ur = DEEP_FACTOR * alpha_r * q_mean * b;
      curve.m_ir = DEEP_MODULUS_RATIO * e_r;
    }
    curve.y_rm = k_rm * b;
    // A rock without a strain factor or modulus (refused in the input echo)
    // offers no resistance here rather than a curve of divisions by zero.
    data.resisting = curve.y_rm > 0.0 && curve.m_ir > 0.0;
    if (data.resisting)
      curve.y_a = std::pow(curve.p_ur / (2.0 * std::pow(curve.y_rm, QUARTER_POWER) * curve.m_ir), BREAK_POWER);

    if (py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
      print_node_block(node, q_h, curve.p_ur, gamma, k_rm);
    }
    data.mean_after = strength_mean;
    return true;
  };
  for (int j = first; j <= last; ++j) {
    py::Node node;
    if (!py::prepare_node(call, j, false, true, WEAK_ROCK_PLOT_CODE, node)) continue;
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    node.echo_point_layout = ECHO_POINT_LAYOUT;
    node.h = spacing;
    const double x_before = NODE_COORDINATE_AT(pile, j - 1);
    py::NodeCurveCache cache(call, node, WEAK_ROCK_PLOT_CODE);
    cache.depends_on(GeneratedPyCurve.active);
    strength_mean.add_to_key(cache, x_before);
    NodeData data;
    WeakRockCurve& curve = data.curve;
    if (cache.fetch(data)) {
      strength_mean = data.mean_after;
    } else {
      if (!compute_node(node, x_before, data)) return;
      cache.store(data);
    }
    py::add_layer_integral(call, node, running, curve.p_ur);
    const bool resisting = data.resisting;
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      const double u = py::point_deflection(call, node, i, m, [&](int k) { return curve.default_deflection(k); });
      double value = 0.0, modulus = 0.0;
      if (resisting && u < curve.y_a) {
        value = curve.at(u);
        modulus = curve.m_ir;
      } else if (resisting && u > 0.0) {
        value = curve.at(u);
        modulus = py::factored_modulus(node, value, u);
      }
      py::finish_point(call, node, i, u, m, value, modulus);
    }
  }
}

}  // namespace pilecap
