// Stiff clay above free water p-y curves (codes 3 and 10), after the
// published stiff-clay criterion without free water: pu = min(3 ca b + gamma
// b z + 0.5 ca z, 9 c b), y50 = 2.5 e50 b, p = 0.5 pu (u / y50)^(1/4) up to pu
// at 16 y50; under cyclic loading the deflections stretch by 1 + 0.6 log10 N
// for N load cycles. Code 10 keeps the curve under the initial line k z u.
// Model units; node arrays by node number; z is the curve depth (equivalent
// depth in a lower layer).
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double SURFACE_COHESION_FACTOR = 3.0;  // 3 ca b at the surface
constexpr double DEPTH_COHESION_FACTOR = 0.5;    // 0.5 ca z
constexpr double DEEP_FACTOR = 9.0;              // 9 c b at depth
constexpr double Y50_PER_E50_DIAMETER = 2.5;
constexpr double HALF = 0.5;
constexpr double QUARTER_POWER = 0.25;
constexpr double INITIAL_POWER = 0.75;             // p / u of the quarter-power branch
constexpr double STATIC_ULTIMATE_Y50 = 16.0;       // the static curve reaches pu here
constexpr double CYCLIC_REFERENCE = double(9.6f);  // yr = (16 + 9.6 log10 N) y50
constexpr double CYCLIC_STRETCH = double(0.6f);    // deflections over (1 + 0.6 log10 N) y50
constexpr double MIN_CYCLES = 1.0;

//           DEPTH BELOW GS     DIAM        C       CAVG      GAMMA       E50
//                 FT            IN     LBS/FT**2 LBS/FT**2 LBS/FT**3
//               10.00          24.000  0.10E+04  0.10E+04  0.69E+02  0.5000E-02
constexpr const char* HEADER_LAYOUT =
    "(/,10X,\"DEPTH BELOW GS\",5X,\"DIAM\",8X,\"C\",7X,\"CAVG\",6X,\"GAMMA\",7X,\"E50\",/,16X,A2,12X,A2,5X,3(A3,A1,A2,"
    "A2,A1,1X),/,10X,F10.2,5X,F10.3,3E10.2,E12.4)";
//              EQ. DEPTH =   10.00 FT
constexpr const char* EQ_DEPTH_LAYOUT = "(13X,\"EQ. DEPTH =\",F8.2,1X,A2)";
//                                      Y                   P
//                                      IN               LBS/IN
constexpr const char* COLUMNS_LAYOUT = "(/,38X,\"Y\",19X,\"P\",/,38X,A2,15X,A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(1X,G15.8))";

// The curve of one node.
struct NoWaterCurve {
  int code = SOIL_STIFF_CLAY_NO_WATER;
  bool is_cyclic = false;
  double pu = 0.0, y50 = 0.0, cycles = MIN_CYCLES, k_z = 0.0;

  // The reference deflection: where the curve reaches pu.
  double reference() const {
    const double y50s = is_cyclic ? STATIC_ULTIMATE_Y50 + CYCLIC_REFERENCE * std::log10(cycles) : STATIC_ULTIMATE_Y50;
    return y50s * y50;
  }
  double at(double u) const {
    double p = 0.0;
    if (y50 > 0.0) {
      if (is_cyclic) {
        const double stretched = (1.0 + CYCLIC_STRETCH * std::log10(cycles)) * y50;
        p = std::min(pu, HALF * pu * std::pow(u / stretched, QUARTER_POWER));
      } else {
        p = u <= reference() ? HALF * pu * std::pow(u / y50, QUARTER_POWER) : pu;
      }
    }
    if (code == SOIL_STIFF_CLAY_INITIAL_K) p = std::min(p, k_z * u);
    return p;
  }
  // The modulus below the smallest deflection: p / u of the static branch
  // at that deflection (code 3), the initial line (code 10).
  double initial_modulus(double tiny) const {
    if (code == SOIL_STIFF_CLAY_INITIAL_K) return k_z;
    return y50 > 0.0 ? HALF * pu / y50 * std::pow(y50 / tiny, INITIAL_POWER) : 0.0;
  }
};

void print_node_block(const py::Node& node, double c, double ca, double gamma, double e50, double zc) {
  py::write_plot_node_record(node);
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
             u.length_large_short(), u.power(), u.two(), u.force_short(), u.slash(), u.length_large_short(), u.power(),
             u.two(), u.force_short(), u.slash(), u.length_large_short(), u.power(), u.three(),
             FEET_FROM_INCHES(node.z), KILO_SCALE_SI(node.b), KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(c)),
             KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(ca)), KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma)), e50);
  fio::write(UNIT_ECHO, EQ_DEPTH_LAYOUT, FEET_FROM_INCHES(zc), u.length_large_short());
  fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
}

void stiff_clay_no_water_layer(int code, int& prop_set, int& layer, int& status, int& pile, int& factor_index,
                               const double* y, double* es, const double* move1, const double* move2, double* es_move,
                               double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int kind = AnalysisControl.loading_kind;
  const double tiny = RunConstants.tiny;
  const bool lower_layer = layer > 1;
  // The layer integral takes the spacing of the pile's first two nodes.
  const double spacing = NODE_COORDINATE_AT(pile, 2) - NODE_COORDINATE_AT(pile, 1);
  // Fewer than one load cycle means one: the cycles are read, never stored.
  const double cycles = std::max(AnalysisControl.cycles, MIN_CYCLES);
  // In a lower layer the cohesion average starts at the layer's first
  // evaluated node.
  py::RunningMean cohesion_mean;

  // The curve of a node with the cohesion average after it.
  struct NodeData {
    NoWaterCurve curve;
    double es0 = 0.0;
    py::RunningMean mean_after;
  };

  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    node.h = spacing;
    const double x_before = NODE_COORDINATE_AT(pile, node.j - 1);
    py::NodeCurveCache cache(call, node, code);
    cache.depends_on(GeneratedPyCurve.active);
    cohesion_mean.add_to_key(cache, x_before);
    NodeData data;
    NoWaterCurve& curve = data.curve;
    if (cache.fetch(data)) {
      cohesion_mean = data.mean_after;
    } else {
      double x = node.x;
      double c = COHESION_AT_DEPTH(x, status);
      if (status != 0) return false;
      double ca = AVG_COHESION_ABOVE(x, status);
      double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      double e50 = E50_AT_DEPTH(x);
      if (e50 <= 0.0) DEFAULT_E50_STIFF_CLAY(c, e50, RunOptions.units);
      if (lower_layer && GeneratedPyCurve.active == 1) {
        double top = SoilProfile.layer_top(layer);
        const double c_top = COHESION_AT_DEPTH(top, status);
        if (status != 0) return false;
        ca = (c + c_top) / 2.0;
      } else if (lower_layer) {
        ca = cohesion_mean.at(node, x_before, c);
      }
      double b = node.b;
      const double zc = py::curve_depth(call, node, [&] {
        double none = 0.0, z0 = node.z;
        EQUIVALENT_DEPTH(pile, layer, prop_set, b, c, ca, gamma, none, none, none, none, none, none, z0, none,
                         SAND_COEFF_DEPTH_RATIOS);
      });
      if (py::curve_generation() && GeneratedPyCurve.from_plot_list == 0) {
        print_node_block(node, c, ca, gamma, e50, zc);
      }

      curve.code = code;
      curve.is_cyclic = kind == LOADING_CYCLIC;
      curve.cycles = cycles;
      curve.pu = std::min(SURFACE_COHESION_FACTOR * ca * b + gamma * b * zc + DEPTH_COHESION_FACTOR * ca * zc,
                          DEEP_FACTOR * c * b);
      curve.y50 = Y50_PER_E50_DIAMETER * e50 * b;
      if (code == SOIL_STIFF_CLAY_INITIAL_K) {
        double k = SUBGRADE_K_AT_DEPTH(x);
        int loading = kind;
        if (k <= 0.0) DEFAULT_K_CLAY(c, k, RunOptions.units, loading);
        curve.k_z = k * zc;
      }
      data.es0 = curve.initial_modulus(tiny);
      data.mean_after = cohesion_mean;
      cache.store(data);
    }
    py::add_layer_integral(call, node, running, curve.pu);
    if (!node.outputs) return true;

    const double es0 = data.es0;
    const double reference = curve.reference();
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      const double u =
          py::point_deflection(call, node, i, m, [&](int k) { return DEFAULT_PY_CURVE_POINTS(k) * reference; });
      const double value = curve.at(u);
      const double modulus = u < tiny ? es0 : py::factored_modulus(node, value, u);
      py::finish_point(call, node, i, u, m, value, modulus);
    }
    return true;
  };
  py::run_layer(call, code, eval);
}

}  // namespace

void PY_STIFF_CLAY_NO_WATER(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                            double* es, const double* move1, const double* move2, double* es_move, double* p) {
  stiff_clay_no_water_layer(SOIL_STIFF_CLAY_NO_WATER, prop_set, layer, status, pile, factor_index, y, es, move1, move2,
                            es_move, p);
}

void PY_STIFF_CLAY_INITIAL_K(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                             double* es, const double* move1, const double* move2, double* es_move, double* p) {
  stiff_clay_no_water_layer(SOIL_STIFF_CLAY_INITIAL_K, prop_set, layer, status, pile, factor_index, y, es, move1, move2,
                            es_move, p);
}

}  // namespace pilecap
