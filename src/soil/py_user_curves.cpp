// User p-y curves: a set of curves given at increasing depths, each a list of
// (deflection, resistance) points with increasing deflections. A node takes
// the resistance at its deflection on the two curves that bracket its depth
// (linear between points) and interpolates the secant modulus linearly by
// depth. Here the evaluation shared with the single pile's own curves, the
// report of curves that end above a node, and the criterion of a layer of
// user curves (code 5). Sets, curves and points are 1-based; depths are
// vertical coordinates in model units; node arrays by node number.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

#include "base/fio.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

namespace {

constexpr int FIRST_BRACKET = 2;                     // the deeper curve (upper point) index starts here
constexpr double CAP_ELEMENT_DEPTH = double(0.99f);  // the cap element's curves, times the head depth

std::atomic<PyCurvesShortReporter> short_reporter{nullptr};

// The resistance of curve c of set s at deflection u.
double curve_resistance(int s, int c, double u) {
  const auto& sets = UserPyCurveSet;
  const int n = std::min(sets.num_points(s, c), MAX_CURVE_POINTS);
  if (n < 1) return 0.0;
  int i = FIRST_BRACKET;
  while (i <= n && sets.y(s, c, i) < u) ++i;
  if (i > n) return sets.p(s, c, n);
  const double y_i = sets.y(s, c, i), p_i = sets.p(s, c, i);
  if (y_i == u) return p_i;
  const double y_before = sets.y(s, c, i - 1), p_before = sets.p(s, c, i - 1);
  const double span = y_i - y_before;
  // Two points at one deflection leave no segment to interpolate on.
  if (span == 0.0) return p_i;
  // Measured from the lower point, so a deflection near it keeps its digits.
  return p_before + (p_i - p_before) * (u - y_before) / span;
}

// The last point's resistance of curve c of set s.
double curve_ultimate(int s, int c) {
  const int n = std::min(UserPyCurveSet.num_points(s, c), MAX_CURVE_POINTS);
  return n < 1 ? 0.0 : UserPyCurveSet.p(s, c, n);
}

}  // namespace

bool USER_PY_CURVES_AT(int s, double d, double u, int& curve, UserPyValues& values) {
  const auto& sets = UserPyCurveSet;
  if (s < 1 || s > std::min(sets.count, MAX_PY_SETS)) return false;
  const int n_curves = std::min(sets.num_curves(s), MAX_PY_CURVES_PER_SET);
  int& k = curve;
  while (k <= n_curves && sets.curve_depth(s, k) < d) ++k;
  if (k > n_curves) return false;
  const int upper = sets.curve_depth(s, k) == d ? k : k - 1;
  const double p_deep = curve_resistance(s, k, u);
  const double p_upper = curve_resistance(s, upper, u);
  const double ultimate_deep = curve_ultimate(s, k);
  const double ultimate_upper = curve_ultimate(s, upper);
  const double span = sets.curve_depth(s, k) - sets.curve_depth(s, upper);
  // Linear by depth from the deeper curve; a node at a curve's depth, or two
  // curves at one depth, take the deeper curve alone.
  const double t = span != 0.0 ? (sets.curve_depth(s, k) - d) / span : 0.0;
  values.secant = p_deep / u - (p_deep / u - p_upper / u) * t;
  values.reaction = p_deep - (p_deep - p_upper) * t;
  values.deeper = p_deep;
  values.ultimate = ultimate_deep - (ultimate_deep - ultimate_upper) * t;
  return true;
}

void SET_PY_CURVES_SHORT_REPORTER(PyCurvesShortReporter reporter) { short_reporter.store(reporter); }

void REPORT_PY_CURVES_SHORT(int pile) {
  const PyCurvesShortReporter reporter = short_reporter.load();
  if (reporter != nullptr) {
    reporter(pile);
    return;
  }
  fio::write(UNIT_RESULTS_REPORT, PY_CURVES_SHORT_LAYOUT, pile);
  fio::write(UNIT_RUN_LOG, PY_CURVES_SHORT_LAYOUT, pile);
  PileErrorWord.code = PILE_ERR_PY_TOO_SHORT;
}

void PY_USER_CURVES_LAYER(int& prop_set, int& layer, int& pile, int& factor_index, const double* y, double* es,
                          const double* move1, const double* move2, double* es_move, double* p) {
  // The printed and exported curves refuse depths inside such a layer.
  if (py::curve_generation()) return;
  int status = STATUS_OK;  // no soil query sets it: the curves end the criterion themselves
  py::LayerCall call{prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p};
  const int set = std::abs(PileTable.py_set(pile));
  const double increment = PileProperty.increment(prop_set);
  int curve = FIRST_BRACKET;
  auto eval = [&](py::Node& node, double& running) {
    // The cap element of the first cap option reads the curves just above
    // the head at the cap's own deflection.
    const bool cap_element = node.cap_pass && RunOptions.cap_passive_option == 1;
    double m = 0.0;
    double u = py::point_deflection(call, node, 1, m, [](int) { return 0.0; });
    double d = node.x;
    if (cap_element) {
      d = CAP_ELEMENT_DEPTH * PileTable.head_depth(pile);
      u = CapPassiveState.horizontal_movement;
      m = 0.0;
    }
    u = std::max(u, RunConstants.tiny);
    UserPyValues values;
    if (!USER_PY_CURVES_AT(set, d, u, curve, values)) {
      REPORT_PY_CURVES_SHORT(pile);
      return false;
    }
    running += values.ultimate * increment;
    PileLayerData.ultimate_resistance(pile, layer) = running;
    if (!node.outputs) return true;
    // Es = P-FACTOR p / (u Y-FACTOR), interpolated by depth; the reaction is
    // the deeper curve's.
    double modulus = node.p_factor * values.secant / node.y_factor;
    if (node.depth_factors) modulus = modulus * node.pm / node.ym;
    py::finish_point(call, node, 1, u, m, values.deeper, modulus);
    if (cap_element) PileSoilData.first_node_reaction(pile) = values.reaction;
    return true;
  };
  py::run_layer(call, SOIL_USER_PY, eval);
}

}  // namespace pilecap
