// Stiff clay below free water p-y curves (code 2), after the published
// stiff-clay criterion with free water: pc = min(2 ca b + gamma b z + 2.83 ca
// z, 11 c b), y50 = e50 b. Static: a square-root parabola 0.5 pc (u /
// y50)^0.5 softening beyond AS y50 to a residual plateau from 18 AS y50;
// cyclic: a hump AC pc at 0.45 yp (yp = 4.1 AC y50) falling to a lower
// residual beyond 1.8 yp. Both stay under the initial line k z u. AS and AC
// come from their tables over depth / diameter. Model units; node arrays by
// node number; z is the curve depth (equivalent depth in a lower layer).
#include <algorithm>
#include <cmath>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr double SURFACE_COHESION_FACTOR = 2.0;          // 2 ca b at the surface
constexpr double DEPTH_COHESION_FACTOR = double(2.83f);  // 2.83 ca z
constexpr double DEEP_FACTOR = 11.0;                     // 11 c b at depth
// The final-resistance factor F of the layer integral.
constexpr double F_STATIC_ROOT = double(1.225f);
constexpr double F_STATIC_CONSTANT = double(0.411f);
constexpr double F_STATIC_LINEAR = 0.75;
constexpr double F_CYCLIC_AC = double(0.936f);
constexpr double F_CYCLIC_AS = double(0.418f);
// The static curve.
constexpr double HALF = 0.5;
constexpr double SOFTENING_FACTOR = double(0.055f);
constexpr double SOFTENING_POWER = 1.25;
constexpr double SOFTENING_END = 6.0;  // in AS y50
constexpr double RESIDUAL_START = 18.0;
constexpr double RESIDUAL_DROP = double(0.411f);
constexpr double RESIDUAL_SLOPE = 0.0625;  // times pc / y50
constexpr double RESIDUAL_LINEAR = 0.75;   // times AS pc
// The cyclic curve.
constexpr double PEAK_FACTOR = double(4.1f);  // yp = 4.1 AC y50
constexpr double PEAK_AT = double(0.45f);     // the peak at 0.45 yp
constexpr double HUMP_END = double(0.6f);
constexpr double CYCLIC_RESIDUAL_START = double(1.8f);
constexpr double CYCLIC_DROP_SLOPE = double(0.085f);  // times pc / y50
constexpr double CYCLIC_RESIDUAL_DROP = double(0.102f);
// Default curve points: 0, then 12 equal steps, three wider ones and a last.
constexpr int RISING_POINTS = 12;
constexpr double STATIC_STEP = 0.5;  // in AS y50
constexpr Array1<double, 4> STATIC_LAST_POINTS = {{10.0, 14.0, 18.0, 26.0}};
constexpr double CYCLIC_STEP = double(0.05f);      // in yp
constexpr double CYCLIC_WIDE_STEP = double(0.4f);  // in yp, points 14 to 16
constexpr double CYCLIC_LAST_POINT = 10.0;         // in yp
constexpr int STIFF_CLAY_FREE_WATER_PLOT_CODE = 2;

//          DEPTH BELOW GS      DIAM        C         CAVG      GAMMA        E50
//                FT             IN     LBS/FT**2  LBS/FT**2  LBS/FT**3
//              10.00          24.000   0.10E+04   0.10E+04   0.69E+02  0.5000E-02
constexpr const char* HEADER_LAYOUT =
    "(/,9X,\"DEPTH BELOW GS\",6X,\"DIAM\",8X,\"C\",9X,\"CAVG\",6X,\"GAMMA\",8X,\"E50\",/,15X,A2,13X,A2,5X,2(A3,A1,2A2,"
    "A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,E10.2),E12.4)";
//          AS = 0.38,    AC = 0.25,    EQ. DEPTH =   10.00 FT
constexpr const char* COEFFICIENTS_LAYOUT =
    "(9X,\"AS =\",F5.2,\",\",4X,\"AC =\",F5.2,\",\",4X,\"EQ. DEPTH =\",F8.2,1X,A2)";
//                                      Y,IN             P,LBS/IN
constexpr const char* COLUMNS_LAYOUT = "(/,37X,\"Y,\",A2,13X,\"P,\",A3,A1,A2)";
constexpr const char* PLOT_POINT_LAYOUT = "(1P,2(1X,G15.8))";

// The soil values of one node, read before the frame's depth test.
struct FreeWaterSoil {
  double c = 0.0, ca = 0.0, gamma = 0.0, e50 = 0.0, k = 0.0;
};

// The curve of one node; es0 = k z is the initial line.
struct FreeWaterCurve {
  bool is_static = true;
  double pc = 0.0, y50 = 0.0, as = 0.0, ac = 0.0, es0 = 0.0;

  double yp() const { return PEAK_FACTOR * ac * y50; }

  double static_curve(double u) const {
    const double a = as * y50;
    if (!(a > 0.0)) return 0.0;
    const double rising = HALF * pc * std::sqrt(u / y50);
    if (u <= a) return rising;
    if (u <= SOFTENING_END * a) return rising - SOFTENING_FACTOR * pc * std::pow((u - a) / a, SOFTENING_POWER);
    const double plateau_start = HALF * pc * std::sqrt(SOFTENING_END * as) - RESIDUAL_DROP * pc;
    if (u <= RESIDUAL_START * a) return plateau_start - RESIDUAL_SLOPE * pc / y50 * (u - SOFTENING_END * a);
    return plateau_start - RESIDUAL_LINEAR * as * pc;
  }

  double cyclic_curve(double u) const {
    const double y_p = yp();
    if (!(y_p > 0.0)) return 0.0;
    if (u <= HUMP_END * y_p) {
      const double t = std::abs((u - PEAK_AT * y_p) / (PEAK_AT * y_p));
      return ac * pc * (1.0 - std::sqrt(t) * t * t);  // |t|^2.5
    }
    const double hump_end = F_CYCLIC_AC * ac * pc;
    if (u <= CYCLIC_RESIDUAL_START * y_p) return hump_end - CYCLIC_DROP_SLOPE * pc / y50 * (u - HUMP_END * y_p);
    return hump_end - CYCLIC_RESIDUAL_DROP * pc * y_p / y50;
  }

  // Both curves stay under the initial line.
  double at(double u) const { return std::min(is_static ? static_curve(u) : cyclic_curve(u), es0 * u); }

  // The 17 default deflections.
  double default_deflection(int i) const {
    if (i == 1) return 0.0;
    if (is_static) {
      const double a = as * y50;
      return i <= RISING_POINTS + 1 ? (i - 1) * STATIC_STEP * a : STATIC_LAST_POINTS(i - RISING_POINTS - 1) * a;
    }
    const double y_p = yp();
    if (i <= RISING_POINTS + 1) return (i - 1) * CYCLIC_STEP * y_p;
    if (i < DEFAULT_PY_POINT_COUNT)
      return RISING_POINTS * CYCLIC_STEP * y_p + (i - RISING_POINTS - 1) * CYCLIC_WIDE_STEP * y_p;
    return CYCLIC_LAST_POINT * y_p;
  }
};

void print_node_block(const py::Node& node, const FreeWaterSoil& soil, double as, double ac, double zc) {
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, HEADER_LAYOUT, u.length_large_short(), u.length_small_short(), u.force_short(), u.slash(),
             u.length_large_short(), u.power(), u.two(), u.force_short(), u.slash(), u.length_large_short(), u.power(),
             u.two(), u.force_short(), u.slash(), u.length_large_short(), u.power(), u.three(),
             FEET_FROM_INCHES(node.z), KILO_SCALE_SI(node.b), KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(soil.c)),
             KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(soil.ca)), KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(soil.gamma)),
             soil.e50);
  fio::write(UNIT_ECHO, COEFFICIENTS_LAYOUT, as, ac, FEET_FROM_INCHES(zc), u.length_large_short());
  fio::write(UNIT_ECHO, COLUMNS_LAYOUT, u.moment_length(), u.force_short(), u.slash(), u.moment_length());
  py::write_plot_node_record(node);
}

// The final-resistance factor of the layer integral; 0 for a loading kind
// other than static or cyclic.
double final_factor(int kind, double as, double ac) {
  if (kind == LOADING_STATIC) return F_STATIC_ROOT * std::sqrt(as) - F_STATIC_CONSTANT - F_STATIC_LINEAR * as;
  if (kind == LOADING_CYCLIC) return F_CYCLIC_AC * ac - F_CYCLIC_AS * as;
  return 0.0;
}

}  // namespace

void PY_STIFF_CLAY_FREE_WATER(int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                              double* es, const double* move1, const double* move2, double* es_move, double* p) {
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int kind = AnalysisControl.loading_kind;
  const bool lower_layer = layer > 1;
  FreeWaterSoil soil;
  py::RunningMean cohesion_mean;
  double pc_before = 0.0;  // pc of the last evaluated node numbered 1 or more

  // The soil values and the cohesion average are read at every node a pass
  // reaches, also above the ground line, so a lower layer's average starts
  // at its first node.
  auto visit = [&](const py::Node& node) {
    double x = node.x;
    soil.c = COHESION_AT_DEPTH(x, status);
    if (status != 0) return false;
    if (lower_layer && GeneratedPyCurve.active == 1) {
      double top = SoilProfile.layer_top(layer);
      const double c_top = COHESION_AT_DEPTH(top, status);
      if (status != 0) return false;
      soil.ca = (soil.c + c_top) / 2.0;
    }
    if (!lower_layer) soil.ca = AVG_COHESION_ABOVE(x, status);
    soil.gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != 0) return false;
    soil.e50 = E50_AT_DEPTH(x);
    if (soil.e50 <= 0.0) DEFAULT_E50_STIFF_CLAY(soil.c, soil.e50, RunOptions.units);
    soil.k = SUBGRADE_K_AT_DEPTH(x);
    int loading = kind;
    if (soil.k <= 0.0) DEFAULT_K_CLAY(soil.c, soil.k, RunOptions.units, loading);
    if (lower_layer && GeneratedPyCurve.active != 1) {
      soil.ca = cohesion_mean.at(node, NODE_COORDINATE_AT(pile, node.j - 1), soil.c);
    }
    return true;
  };

  // The curve of a node with the resistance its layer integral takes.
  struct NodeData {
    FreeWaterCurve curve;
    double integral = 0.0;
  };

  auto eval = [&](py::Node& node, double& running) {
    node.plot_point_layout = PLOT_POINT_LAYOUT;
    // The soil values of the visit hold the cohesion average of the nodes before.
    py::NodeCurveCache cache(call, node, STIFF_CLAY_FREE_WATER_PLOT_CODE);
    for (double value : {soil.c, soil.ca, soil.gamma, soil.e50, soil.k, pc_before}) cache.depends_on(value);
    NodeData data;
    FreeWaterCurve& curve = data.curve;
    if (!cache.fetch(data)) {
      double b = node.b;
      const double zc = py::curve_depth(call, node, [&] {
        double none = 0.0, z0 = node.z;
        EQUIVALENT_DEPTH(pile, layer, prop_set, b, soil.c, soil.ca, soil.gamma, none, none, none, none, none, none, z0,
                         none, SAND_COEFF_DEPTH_RATIOS);
      });
      double coeff_x = PileSoilData.ground_line(pile) + zc;
      const bool cap_width = node.cap_pass || CapPassiveElement.evaluating == 1;
      curve.is_static = kind == LOADING_STATIC;
      curve.as = cap_width ? STIFF_CLAY_AS_FOR_DIAMETER(pile, prop_set, coeff_x, b)
                           : STIFF_CLAY_AS_AT_DEPTH(pile, prop_set, coeff_x);
      curve.ac = cap_width ? STIFF_CLAY_AC_FOR_DIAMETER(pile, prop_set, coeff_x, b)
                           : STIFF_CLAY_AC_AT_DEPTH(pile, prop_set, coeff_x);
      const bool printing = py::curve_generation() && GeneratedPyCurve.from_plot_list == 0;
      if (printing) print_node_block(node, soil, curve.as, curve.ac, zc);

      curve.pc =
          std::min(SURFACE_COHESION_FACTOR * soil.ca * b + soil.gamma * b * zc + DEPTH_COHESION_FACTOR * soil.ca * zc,
                   DEEP_FACTOR * soil.c * b);
      data.integral = (pc_before + curve.pc) / 2.0 * final_factor(kind, curve.as, curve.ac);
      curve.y50 = soil.e50 * b;
      curve.es0 = soil.k * zc;
      cache.store(data);
    }
    py::add_layer_integral(call, node, running, data.integral);
    if (node.j >= 1) pc_before = curve.pc;
    if (!node.outputs) return true;
    py::initial_line_points(call, node, curve, curve.es0);
    return true;
  };
  py::run_layer(call, STIFF_CLAY_FREE_WATER_PLOT_CODE, eval, visit);
}

}  // namespace pilecap
