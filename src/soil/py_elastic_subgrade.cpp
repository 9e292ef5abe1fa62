// Elastic subgrade p-y curves (code 12): a linear spring p = k b u with the
// layer's subgrade modulus k, cut off at b s_max when a maximum stress s_max
// is given. One pass over the layer's nodes with the section diameter, no
// layered-soil correction, nothing added to the layer integral; the P-FACTOR
// is part of the curve value. Model units; node arrays by node number.
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double DEFAULT_STEP_DIAMETERS = double(0.003125f);  // default deflection step without a cut-off
constexpr double CUTOFF_STEPS = 10.0;                         // default steps up to the cut-off deflection
constexpr int SUBGRADE_PLOT_CODE = 6;

//           DEPTH BELOW GS     DIAM        ST           ES
//                 FT            IN      LBS/IN**2     LBS/IN**3
//                10.00          24.000   0.10E+03     0.10E+03
//
//                                      Y                   P
//                                      IN               LBS/IN
constexpr const char* HEADER_LAYOUT =
    "(/,10X,\"DEPTH BELOW GS\",5X,\"DIAM\",8X,\"ST\",11X,\"ES\",/,16X,A2,12X,A2,6X,A3,A1,A2,A2,A1,5X,A3,A1,A2,A2,A1,"
    "1X,/,10X,F10.2,5X,F10.3,E11.2,3X,E11.2,/,/,38X,\"Y\",19X,\"P\",/,38X,A2,15X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,1X,2(G15.8,2X))";

}  // namespace

void PY_ELASTIC_SUBGRADE(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                         double* es, const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  PileLayerData.ultimate_resistance(pile, layer) = 0.0;
  const int first = PileLayerData.first_node(pile, layer);
  const int last = PileLayerData.last_node(pile, layer);
  // No layer integral: the points above a buried head (j <= 0) play no part.
  for (int j = first < 1 ? 1 : first; j <= last; ++j) {
    py::Node node;
    if (!py::prepare_node(call, j, false, true, SUBGRADE_PLOT_CODE, node)) continue;
    node.factor_in_curve = true;
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    double x = node.x;
    // The soil values of the node; the factors stay outside, at each point.
    py::NodeCurveCache cache(call, node, SUBGRADE_PLOT_CODE);
    struct SoilValues {
      double s_max = 0.0, k = 0.0;
    } soil;
    if (!cache.fetch(soil)) {
      soil.s_max = COHESION_AT_DEPTH(x, status);
      if (status != 0) return;
      soil.k = SUBGRADE_K_AT_DEPTH(x);
      AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return;
      cache.store(soil);
    }
    const double s_max = soil.s_max, k = soil.k;
    const double b = node.b;
    const double k_b = b * k;
    const double p_max = b * s_max;
    const double cutoff = s_max / k;  // deflection where the cut-off starts (s_max > 0)
    // Without a usable cut-off deflection (k of 0 or less) the steps follow the diameter.
    const double step = s_max <= 0.0 || k <= 0.0 ? DEFAULT_STEP_DIAMETERS * b : cutoff / CUTOFF_STEPS;

    if (py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
      const auto& u = UnitLabels;
      fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
                 u.moment_length(), u.power(), u.two(), u.force_short(), u.slash(), u.moment_length(), u.power(),
                 u.three(), FEET_FROM_INCHES(node.z), KILO_SCALE_SI(b), KIPS_FROM_POUNDS(s_max), KIPS_FROM_POUNDS(k),
                 u.moment_length(), u.force_short(), u.slash(), u.moment_length());
      py::write_plot_node_record(node);
    }
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      const double u = py::point_deflection(call, node, i, m, [&](int k_point) { return (k_point - 1) * step; });
      double value = node.p_factor * k_b * u;
      if (s_max > 0.0 && u >= cutoff) value = node.p_factor * p_max;
      double modulus = 0.0;
      if (u == 0.0) {
        modulus = k_b / node.y_factor;
        if (node.depth_factors) modulus = modulus * node.pm / node.ym;
      } else {
        modulus = py::factored_modulus(node, value, u);
      }
      py::finish_point(call, node, i, u, m, value, modulus);
    }
  }
}

}  // namespace pilecap
