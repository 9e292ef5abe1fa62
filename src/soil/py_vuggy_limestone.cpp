// Vuggy limestone p-y curves (code 6), after the published criterion for
// vuggy limestone: with s_u = q_u / 2, a steep initial line 2000 s_u u up to
// y1 = 0.0004 b, a flatter line of slope 100 s_u up to y2, where it reaches
// b s_u, and b s_u beyond. One pass over the layer's nodes with the section
// diameter, no layered-soil correction, nothing added to the layer integral.
// Model units; node arrays by node number.
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double INITIAL_MODULUS_RATIO = 2000.0;  // E_i = 2000 s_u
constexpr double SECOND_SLOPE_RATIO = 100.0;      // the second line's slope, 100 s_u
constexpr double FIRST_BREAK_DIAMETERS = double(0.0004f);
constexpr int DEFAULT_STEPS = 15;  // default deflections in steps of y2 / 15
constexpr int VUGGY_LIMESTONE_PLOT_CODE = 6;

//           DEPTH BELOW GS     DIAM        C
//                 FT            IN     LBS/IN**2
//               10.00          24.000   0.1E+04
//                                      Y                   P
//                                      IN               LBS/IN
constexpr const char* HEADER_LAYOUT =
    "(/,10X,\"DEPTH BELOW GS\",5X,\"DIAM\",8X,\"C\",7X,/,16X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X,/,10X,F10.2,5X,F10.3,"
    "E10.1,/,38X,\"Y\",19X,\"P\",/,38X,A2,15X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,1X,2(G15.8,2X))";

// The trilinear curve of one node.
struct VuggyLimestoneCurve {
  double s_u = 0.0, b = 0.0;

  double initial_modulus() const { return INITIAL_MODULUS_RATIO * s_u; }
  double y1() const { return FIRST_BREAK_DIAMETERS * b; }
  double p1() const { return initial_modulus() * y1(); }
  double y2() const { return y1() + (b * s_u - p1()) / (SECOND_SLOPE_RATIO * s_u); }
  double at(double u) const {
    if (u < y1()) return initial_modulus() * u;
    // The second line ends at b s_u, which holds beyond it.
    if (u < y2()) return p1() + SECOND_SLOPE_RATIO * s_u * (u - y1());
    return b * s_u;
  }
};

}  // namespace

void PY_VUGGY_LIMESTONE(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                        double* es, const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const double tiny = RunConstants.tiny;
  PileLayerData.ultimate_resistance(pile, layer) = 0.0;
  const int first = PileLayerData.first_node(pile, layer);
  const int last = PileLayerData.last_node(pile, layer);
  for (int j = first; j <= last; ++j) {
    py::Node node;
    if (!py::prepare_node(call, j, false, true, VUGGY_LIMESTONE_PLOT_CODE, node)) continue;
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    double x = node.x;
    py::NodeCurveCache cache(call, node, VUGGY_LIMESTONE_PLOT_CODE);
    VuggyLimestoneCurve curve;
    if (!cache.fetch(curve)) {
      curve.b = node.b;
      curve.s_u = COHESION_AT_DEPTH(x, status) / 2.0;
      if (status != 0) return;
      AVG_COHESION_ABOVE(x, status);
      AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return;
      cache.store(curve);
    }
    // A layer without strength (refused in the input echo) offers no resistance.
    const bool resisting = curve.s_u > 0.0;

    if (py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
      const auto& u = UnitLabels;
      fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
                 u.moment_length(), u.power(), u.two(), FEET_FROM_INCHES(node.z), KILO_SCALE_SI(curve.b),
                 KIPS_FROM_POUNDS(curve.s_u), u.moment_length(), u.force_short(), u.slash(), u.moment_length());
      py::write_plot_node_record(node);
    }
    const double step = resisting ? curve.y2() / DEFAULT_STEPS : 0.0;
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      const double u = py::point_deflection(call, node, i, m, [&](int k) { return (k - 1) * step; });
      double value = 0.0, modulus = 0.0;
      if (resisting && u < tiny) {
        value = curve.at(u);
        modulus = curve.initial_modulus() / node.y_factor;
        if (node.depth_factors) modulus = modulus * node.pm / node.ym;
      } else if (resisting) {
        value = curve.at(u);
        modulus = py::factored_modulus(node, value, u);
      }
      py::finish_point(call, node, i, u, m, value, modulus);
    }
  }
}

}  // namespace pilecap
