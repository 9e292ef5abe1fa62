// Soft clay p-y curves (codes 1, 13, 14 and every code outside 1..14), after
// the published soft-clay criterion: pu = min((3 + gamma z / c + J z / b) c b,
// 9 c b), y50 = 2.5 e50 b, p = 0.5 pu (u / y50)^(1/3) up to pu at 8 y50;
// cyclic loading holds 0.72 pu beyond 3 y50 and, above the transition depth
// xr, falls to 0.72 pu z / xr at 15 y50. Code 14 keeps p under k z u. Model
// units; node arrays by node number; z is the curve depth (equivalent depth
// in a lower layer).
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double SOFT_CLAY_J = 0.5;
constexpr double Y50_PER_E50_DIAMETER = 2.5;
constexpr double NP_LIMIT = 9.0;
constexpr double NP_SURFACE = 3.0;
constexpr double CYCLIC_FRACTION = double(0.72f);
constexpr double CUBE_ROOT = double(1.0f / 3.0f);
constexpr double TWO_THIRDS = double(2.0f / 3.0f);
constexpr double CURVE_HALF = 0.5;
constexpr double CYCLIC_BRANCH_Y50 = 3.0;    // the cyclic cut begins at 3 y50
constexpr double STATIC_ULTIMATE_Y50 = 8.0;  // the static curve reaches pu here
constexpr double RESIDUAL_Y50 = 15.0;        // the cyclic residual begins here
constexpr double TRANSITION_FACTOR = 6.0;    // xr = 6 c b / (gamma b + J c)
constexpr int SOFT_CLAY_PLOT_CODE = 1;

//          DEPTH BELOW GS      DIAM         C         GAMMA         E50
//                FT             IN        LBS/FT**2    LBS/FT**3
constexpr const char* HEADER_LAYOUT =
    "(/,9X,\"DEPTH BELOW GS\",6X,\"DIAM\",9X,\"C\",9X,\"GAMMA\",9X,\"E50\",/,15X,A2,13X,A2,7X,A3,A1,A2,A2,A1,4X,A3,"
    "A1,A2,A2,A1)";
constexpr const char* HEADER_J_LAYOUT =
    "(/,9X,\"DEPTH BELOW GS\",6X,\"DIAM\",9X,\"C\",9X,\"GAMMA\",9X,\"E50\",11X,\"J\",/,15X,A2,13X,A2,7X,A3,A1,A2,A2,"
    "A1,4X,A3,A1,A2,A2,A1)";
//              10.00              24.000    0.1000E+04   0.1100E+03  0.1000E-01
constexpr const char* VALUES_LAYOUT = "(8X,F10.2,6X,F10.3,3X,E11.4,2X,E11.4,1X,E12.4)";
constexpr const char* VALUES_J_LAYOUT = "(8X,F10.2,6X,F10.3,3X,E11.4,2X,E11.4,1X,E12.4,E12.4)";
//              EQ. DEPTH =   10.00 FT
constexpr const char* EQ_DEPTH_LAYOUT = "(13X,\"EQ. DEPTH =\",F8.2,1X,A2)";
//                                      Y,IN             P,LBS/IN
constexpr const char* COLUMNS_LAYOUT = "(/,37X,\"Y,\",A2,13X,\"P,\",A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(1X,G15.8))";
//      DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM
//      USED A SOIL MODULUS OF   0.1234E+03
constexpr const char* SMALL_DEFLECTION_WARNING =
    "(/,29X,\"**** WARNING ****\",/,5X,\"DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\",/,5X,\"USED A SOIL "
    "MODULUS OF \",E12.4)";

// The curve of one node.
struct SoftClayCurve {
  int code = SOIL_SOFT_CLAY;
  bool is_static = true;
  double pu = 0.0, y50 = 0.0, xr = 0.0, pr = 0.0, zc = 0.0, k = 0.0;
  double es0 = 0.0;  // the modulus below the smallest deflection

  double at(double u) const {
    double p = 0.0;
    if (pu > 0.0 && y50 > 0.0) {
      const double rising = CURVE_HALF * pu * std::pow(u / y50, CUBE_ROOT);
      const double cut = CYCLIC_FRACTION * pu;
      if (u <= CYCLIC_BRANCH_Y50 * y50) {
        p = rising;
      } else if (is_static) {
        p = u <= STATIC_ULTIMATE_Y50 * y50 ? rising : pu;
      } else if (xr - zc <= 0.0) {
        p = cut;
      } else if (u > RESIDUAL_Y50 * y50) {
        p = pr;
      } else {
        p = cut + (u - CYCLIC_BRANCH_Y50 * y50) * (pr - cut) / ((RESIDUAL_Y50 - CYCLIC_BRANCH_Y50) * y50);
      }
    }
    if (code == SOIL_MOD_SOFT_CLAY_INITIAL_K) p = std::min(p, k * zc * u);
    return p;
  }
};

void print_node_block(int code, const py::Node& node, double c, double gamma, double e50, double j, double zc) {
  const bool with_j = code == SOIL_SOFT_CLAY_USER_J || code == SOIL_MOD_SOFT_CLAY_INITIAL_K;
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, with_j ? HEADER_J_LAYOUT : HEADER_LAYOUT, u.length_large_short(), u.length_small_short(),
             u.force_short(), u.slash(), u.length_large_short(), u.power(), u.two(), u.force_short(), u.slash(),
             u.length_large_short(), u.power(), u.three());
  const double depth = FEET_FROM_INCHES(node.z);
  const double diameter = KILO_SCALE_SI(node.b);
  const double cohesion = KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(c));
  const double weight = KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(gamma));
  if (with_j) {
    fio::write(UNIT_ECHO, VALUES_J_LAYOUT, depth, diameter, cohesion, weight, e50, j);
  } else {
    fio::write(UNIT_ECHO, VALUES_LAYOUT, depth, diameter, cohesion, weight, e50);
  }
  fio::write(UNIT_ECHO, EQ_DEPTH_LAYOUT, FEET_FROM_INCHES(zc), u.length_large_short());
  fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
  py::write_plot_node_record(node);
}

void soft_clay_layer(int code, int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                     double* es, const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int kind = AnalysisControl.loading_kind;
  const double tiny = RunConstants.tiny;
  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    const bool printing = py::curve_generation() && GeneratedPyCurve.from_plot_list == 0;
    py::NodeCurveCache cache(call, node, code);
    SoftClayCurve curve;
    if (!cache.fetch(curve)) {
      double x = node.x;
      double c = COHESION_AT_DEPTH(x, status);
      if (status != 0) return false;
      double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
      if (status != 0) return false;
      double e50 = E50_AT_DEPTH(x);
      if (e50 <= 0.0) DEFAULT_E50_SOFT_CLAY(c, e50, RunOptions.units);
      double j =
          code == SOIL_SOFT_CLAY_USER_J || code == SOIL_MOD_SOFT_CLAY_INITIAL_K ? J_OR_RQD_AT_DEPTH(x) : SOFT_CLAY_J;
      curve.code = code;
      curve.is_static = kind == LOADING_STATIC;
      if (code == SOIL_MOD_SOFT_CLAY_INITIAL_K) {
        curve.k = SUBGRADE_K_AT_DEPTH(x);
        int loading = kind;
        if (curve.k <= 0.0) DEFAULT_K_CLAY(c, curve.k, RunOptions.units, loading);
      }
      double b = node.b;
      curve.zc = py::curve_depth(call, node, [&] {
        double none = 0.0, z0 = node.z;
        EQUIVALENT_DEPTH(pile, layer, prop_set, b, c, none, gamma, none, none, none, none, none, none, z0, j,
                         SAND_COEFF_DEPTH_RATIOS);
      });
      const double zc = curve.zc;
      if (printing) print_node_block(code, node, c, gamma, e50, j, zc);

      const double np = c > 0.0 ? NP_SURFACE + gamma * zc / c + j * zc / b : 0.0;
      curve.pu = np <= NP_LIMIT ? np * c * b : NP_LIMIT * c * b;
      curve.y50 = Y50_PER_E50_DIAMETER * e50 * b;
      curve.xr = TRANSITION_FACTOR * c * b / (gamma * b + j * c);
      if (!(curve.xr >= RunConstants.depth_tolerance)) curve.xr = b;
      curve.pr = CYCLIC_FRACTION * curve.pu * zc / curve.xr;
      curve.es0 = curve.k * zc;
      if (code != SOIL_MOD_SOFT_CLAY_INITIAL_K) {
        curve.es0 = curve.y50 > 0.0 ? CURVE_HALF * curve.pu / curve.y50 * std::pow(curve.y50 / tiny, TWO_THIRDS) : 0.0;
      }
      cache.store(curve);
    }
    const double es0 = curve.es0;
    if (kind == LOADING_STATIC) {
      py::add_layer_integral(call, node, running, curve.pu);
    } else if (kind == LOADING_CYCLIC) {
      py::add_layer_integral(call, node, running, CYCLIC_FRACTION * curve.pu);
    } else {
      PileLayerData.ultimate_resistance(pile, layer) = running;
    }
    if (!node.outputs) return true;

    const double reference = STATIC_ULTIMATE_Y50 * curve.y50;
    for (int i = 1, n = py::point_count(); i <= n; ++i) {
      double m = 0.0;
      const double u =
          py::point_deflection(call, node, i, m, [&](int k) { return DEFAULT_PY_CURVE_POINTS(k) * reference; });
      double value = 0.0, modulus = es0;
      if (u < tiny) {
        value = code == SOIL_MOD_SOFT_CLAY_INITIAL_K ? curve.at(u) : u * es0;
      } else {
        value = curve.at(u);
        modulus = py::factored_modulus(node, value, u);
      }
      py::finish_point(call, node, i, u, m, value, modulus);
      if (printing && i >= 2 && py::reported_deflection(node, u) < tiny) {
        fio::write(UNIT_ECHO, SMALL_DEFLECTION_WARNING, es0);
      }
    }
    return true;
  };
  py::run_layer(call, SOFT_CLAY_PLOT_CODE, eval);
}

}  // namespace

void PY_SOFT_CLAY(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y, double* es,
                  const double* move1, const double* move2, double* es_move, double* p) {
  soft_clay_layer(SOIL_SOFT_CLAY, prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
}

void PY_SOFT_CLAY_USER_J(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                         double* es, const double* move1, const double* move2, double* es_move, double* p) {
  soft_clay_layer(SOIL_SOFT_CLAY_USER_J, prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
}

void PY_MOD_SOFT_CLAY_INITIAL_K(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                                double* es, const double* move1, const double* move2, double* es_move, double* p) {
  soft_clay_layer(SOIL_MOD_SOFT_CLAY_INITIAL_K, prop_set, layer, status, pile, factor_index, y, es, move1, move2,
                  es_move, p);
}

}  // namespace pilecap
