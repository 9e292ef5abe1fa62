// The frame every p-y criterion shares: the passes over a layer's nodes (the
// cap pass with the cap width, then all nodes), the node's coordinate, depth
// below the ground line and diameter, the depth and close-spacing factors,
// the depth the curve uses in a lower layer, the layer integral of the
// ultimate resistance, the deflections at which the curve is evaluated, and
// the node outputs and reported curve points. Node arrays are addressed by
// node number (values[j] is node j). Internal to the soil subsystem.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "base/check.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "soil/py_curves.hpp"

namespace pilecap::py {

// The printed row of a curve point: blanks, the deflection, the reaction.
constexpr int POINT_LEAD_BLANKS = 21;
constexpr int POINT_FIELD_WIDTH = 20;
constexpr int POINT_FIELD_DIGITS = 5;

// The arguments of one criterion call.
struct LayerCall {
  int& prop_set;
  int& layer;
  int& status;
  int& pile;
  int& factor_index;
  const double* y;
  double* es;
  const double* move1;
  const double* move2;
  double* es_move;
  double* p;
};

struct CurveCacheEntry;

// One node of a pass, as the frame prepares it for the criterion.
struct Node {
  int j = 0;                     // node number
  bool first = false;            // the layer's first node
  bool cap_pass = false;         // evaluated in the cap pass
  bool outputs = true;           // node outputs are written (never for points above the head)
  bool factor_in_curve = false;  // the criterion's curve value already holds the P-FACTOR
  double x = 0.0;                // vertical coordinate
  double axial = 0.0;            // position along the pile axis
  double z = 0.0;                // depth below the ground line
  double b = 0.0;                // diameter (or cap width)
  double h = 0.0;                // node spacing at the layer's first node
  bool depth_factors = false;
  double pm = 1.0, ym = 1.0;                // depth factors
  double p_factor = 1.0, y_factor = 1.0;    // close-spacing factors
  const char* plot_point_layout = nullptr;  // layout of a point on the plot-data file
  bool bare_export = false;                 // exported points hold the unfactored (u, p)
  // The printed point on the input echo: field writers with these widths, or
  // one layout of (deflection, reaction) when echo_point_layout is set.
  int echo_lead_blanks = POINT_LEAD_BLANKS;
  int echo_deflection_width = POINT_FIELD_WIDTH;
  const char* echo_point_layout = nullptr;
  // The node's cache slot when it was prepared in its pile's open solve
  // scope (see prepare_node); null when the cache does not serve the node.
  CurveCacheEntry* slot = nullptr;
};

// 1 while curves are generated (the curve-generation word), 0 in analysis.
inline bool curve_generation() { return RunOptions.print_py_curves != 0; }

// Soil movements are measured against in analysis.
inline bool movements_present(int pile) {
  return SoilMovementProfile.count >= 1 || PileLoadProfile.move_count(pile) >= 1;
}

// The slots of a pile's open solve scope (PyPileSolve): its mark (0: none)
// and the cache entries of nodes 1..n_nodes.
struct SolveSlots {
  std::uint64_t mark = 0;
  CurveCacheEntry* entries = nullptr;
  int n_nodes = 0;
};

// The slots of the call's pile for a pass where its solve scope is open and
// the curve-data cache serves the pass (an epoch open, analysis, not the cap
// pass nor the cap element); else no mark.
SolveSlots solve_slots(const LayerCall& call, bool cap_pass);

// Prepares node j of the call for a pass: coordinates, factors, depth below
// the ground line (0 for the node on it) and the plot fields. False when the
// node lies above the ground line; its outputs are then cleared (Es, p,
// es_move). A point above a buried head (j <= 0) never has outputs.
// plot_code is the criterion's code on the plot-data file.
// What it computes depends only on the pile, the node, the layer and the
// pile's close-spacing factors, none of which a lateral solve changes:
// inside a solve scope (PyPileSolve), where the curve-data cache serves the
// node, it is computed at the solve's first visit of the node, kept in the
// node's slot and copied at the later visits (the lateral iterations). A
// Debug build prepares the node again and asserts the same bits.
bool prepare_node(LayerCall& call, int j, bool cap_pass, bool single_pass, int plot_code, Node& node);
// The same with the slots of the pass (solve_slots), taken once per pass.
bool prepare_node(LayerCall& call, int j, bool cap_pass, bool single_pass, int plot_code, const SolveSlots& slots,
                  Node& node);

// The criteria with the full frame: runs the cap pass (with the cap option)
// and the main pass over the layer's nodes and calls eval(node, running) for
// each node below the ground line; running is the pass's layer integral,
// reset with PileLayerData.ultimate_resistance at the start of each pass.
// eval returns false to end the criterion (status word set). The second form
// first calls visit(node) for every node a pass reaches, also those the frame
// then skips (only the coordinates and factors of such a node are set);
// visit too returns false to end the criterion.
template <class Eval>
void run_layer(LayerCall& call, int plot_code, Eval eval);
template <class Eval, class Visit>
void run_layer(LayerCall& call, int plot_code, Eval eval, Visit visit);

// The depth the curve uses: z in layer 1, the equivalent depth in a lower
// layer, 0 on the ground line in every layer. At the layer's first node
// during the analysis, an equivalent depth not yet computed is set by the
// layering options or by compute().
template <class Compute>
double curve_depth(LayerCall& call, const Node& node, Compute compute);

// Adds the node's share of the layer integral: its length in the layer times
// the resistance per unit length.
void add_layer_integral(LayerCall& call, const Node& node, double& running, double resistance);

// Points per node: 1 in analysis, the requested count (17 for 0) in curve
// generation, at most MAX_GENERATED_PY_POINTS.
int point_count();

// The deflection of point i: |y - m| in analysis (m the soil movement, 0
// without movements; 0 for a point above the head, which has no entries);
// in curve generation the request's or export list's value, or by default
// defaults(i) (a 1-based callable).
template <class Defaults>
double point_deflection(LayerCall& call, const Node& node, int i, double& m, Defaults defaults);

// Es := P-FACTOR p / u / Y-FACTOR, times pm / ym with depth factors.
double factored_modulus(const Node& node, double p, double u);

// The points of a node on a curve with an initial line: below the smallest
// deflection (RunConstants.tiny) p = initial u and Es = initial, without
// factors; else curve.at(u) with the factored secant modulus. The default
// deflections are curve.default_deflection(i).
template <class Curve>
void initial_line_points(LayerCall& call, const Node& node, const Curve& curve, double initial);

// The deflection and reaction a generated point reports.
double reported_deflection(const Node& node, double u);
double reported_reaction(const Node& node, double p);

// Writes the node outputs for point i of deflection u (movement m) with the
// curve value p and the modulus es, and reports the point in curve generation.
void finish_point(LayerCall& call, const Node& node, int i, double u, double m, double p, double es);

// The sand wedge resistance per unit length at depth z for diameter b:
// gamma z (C1 z + C2 b) written out in the angles alpha, beta and the earth
// pressure coefficients k0, ka.
double sand_wedge_resistance(double gamma, double z, double b, double phi, double alpha, double beta, double k0,
                             double ka);
// The bracket of the wedge resistance at depth z: resistance / (gamma z).
double sand_wedge_bracket(double z, double b, double phi, double alpha, double beta, double k0, double ka);

// The angles and earth-pressure coefficients of the sand resistance at the
// friction angle phi (radians): alpha = phi / 2, beta = pi / 4 + phi / 2,
// the coefficient at rest k0, Ka = tan^2(pi / 4 - phi / 2).
struct SandAngles {
  double phi = 0.0, alpha = 0.0, beta = 0.0, k0 = 0.0, ka = 0.0, tan_beta = 0.0, tan2_beta = 0.0;
};
SandAngles sand_angles(double phi, double pi, double k0);

// The sand flow resistance per unit length at depth z:
// b gamma z (Ka (tan^8 beta - 1) + K0 tan phi tan^4 beta).
double sand_flow_resistance(double gamma, double z, double b, const SandAngles& s);

// The curve depth of the sand-like criteria (codes 4, 7, 8): z in layer 1,
// the equivalent depth in a lower layer from the node's diameter b,
// cohesion c, unit weight and angles.
double sand_curve_depth(LayerCall& call, const Node& node, double b, double c, double gamma, const SandAngles& s);

// The sand coefficients A and B of the loading kind at the curve depth z_eq
// over the node's diameter (the cap width in the cap pass).
void sand_coefficients(LayerCall& call, const Node& node, double z_eq, bool is_static, double& a, double& b);

// The parabola C u^(1/n) of the sand-like criteria (codes 4 and 7) between
// the initial line k_x u and the straight part from (y_m, p_m) to (y_u, p_u):
// it passes through (y_m, p_m) with the straight part's slope there, so
// n = p_m / (|slope| y_m) and C = p_m / y_m^(1/n), and meets the initial
// line at y_k = (C / k_x)^(n / (n - 1)). A flat straight part (p_u = p_m)
// makes the parabola the constant p_m (n infinite), which the initial line
// meets at y_k = p_m / k_x. Without resistance at y_m (p_m = 0) the
// parabola is zero (C = 0, n = 1) and y_k = 0. An initial line too flat to
// meet the parabola in numbers has y_k = y_m: the initial line runs to y_m.
struct SandFamilyParabola {
  double slope = 0.0;  // of the straight part, (p_u - p_m) / (y_u - y_m)
  double n = 0.0;      // the parabola's exponent is 1 / n
  double c = 0.0;      // the parabola's factor C
  double y_k = 0.0;    // where the initial line meets the parabola
};
SandFamilyParabola sand_family_parabola(double p_m, double p_u, double y_m, double y_u, double k_x);

// Writes the plot-data record of the node (its coordinate), list-directed.
void write_plot_node_record(const Node& node);

// ------------------------------------------------------- curve-data cache

constexpr int CURVE_KEY_WORDS = 18;   // values a node's curve data may depend on
constexpr int CURVE_DATA_WORDS = 16;  // room for a criterion's curve data

// One (pile, node) entry of the curve-data cache: the epoch it was filled
// in, the values its data was computed from and the data; the node as
// prepare_node made it; and the solve in which the data was found current.
struct CurveCacheEntry {
  std::uint64_t epoch = 0;  // 0: never filled
  std::array<double, CURVE_KEY_WORDS> key{};
  std::array<double, CURVE_DATA_WORDS> data{};
  // The prepared node of prepared_layer in the solve of mark prepared_solve
  // (0: none) and whether it lies below the ground line.
  std::uint64_t prepared_solve = 0;
  int prepared_layer = 0;
  bool below_ground = false;
  Node prepared;
  // A fetch of a prepared node found the data current in this solve: its key
  // holds nothing that changes before the solve ends (the node's values, the
  // layer's equivalent depth once set, the running state of a pass that meets
  // the same nodes in the same order), so the solve's later visits take the
  // data without building the key again. A store or a node prepared again
  // (another layer) clears it.
  std::uint64_t current_solve = 0;
};

// The entry of node j of a pile (1 <= j <= n_nodes, the pile's node count),
// made on first use by the thread that evaluates the pile.
CurveCacheEntry& PY_CURVE_CACHE_ENTRY(int pile, int j, int n_nodes);

constexpr int COMMON_CURVE_KEYS = 11;  // the values of NodeCurveCache's constructor

// The cache of one node of a criterion's pass. The constructor takes the
// values every criterion's data depends on (criterion code, layer, property
// set, the first-node mark, coordinate, depth below the ground line,
// diameter, the layer's equivalent depth, the pile's ground line, loading
// kind, load cycles); depends_on adds the criterion's own (the state a
// running value carries from the node before). A node the cache does not
// serve (no epoch open, curve generation, the cap pass or cap element, a
// point above the head, the layer's first node while its equivalent depth is
// still to be computed) never fetches and stores nothing.
class NodeCurveCache {
 public:
  NodeCurveCache(const LayerCall& call, const Node& node, int code)
      : prepared_(node.slot != nullptr), current_(prepared_ && node.slot->current_solve == node.slot->prepared_solve) {
    if (current_ && !CHECK_CURRENT_KEYS) {
      entry_ = node.slot;
      return;
    }
    build_key(call, node, code);
    PILECAP_ASSERT(!prepared_ || entry_ == nullptr || entry_ == node.slot, "a prepared node's entry is its slot");
    PILECAP_ASSERT(!current_ || entry_ == node.slot, "current curve data is served by its node's entry");
  }

  void depends_on(double value) {
    if (entry_ == nullptr || (current_ && !CHECK_CURRENT_KEYS)) return;
    if (n_keys_ == CURVE_KEY_WORDS) {
      entry_ = nullptr;  // more values than a key holds: not cached
      return;
    }
    key_[static_cast<std::size_t>(n_keys_++)] = value;
  }

  // True, with data copied from the entry, when the entry holds data of the
  // open epoch computed from bit-identical values.
  template <class Data>
  bool fetch(Data& data) const {
    static_assert(std::is_trivially_copyable_v<Data> && sizeof(Data) <= sizeof(CurveCacheEntry::data));
    if (entry_ == nullptr) return false;
    if (current_) {
      PILECAP_ASSERT(entry_->epoch == PyCurveCache.epoch && same_key(), "curve data found current keeps its key");
    } else {
      if (entry_->epoch != PyCurveCache.epoch || !same_key()) return false;
      if (prepared_) entry_->current_solve = entry_->prepared_solve;
    }
    std::memcpy(static_cast<void*>(&data), entry_->data.data(), sizeof(Data));
    return true;
  }

  template <class Data>
  void store(const Data& data) {
    static_assert(std::is_trivially_copyable_v<Data> && sizeof(Data) <= sizeof(CurveCacheEntry::data));
    if (entry_ == nullptr) return;
    PILECAP_ASSERT(!current_, "curve data found current is never stored again");
    entry_->epoch = PyCurveCache.epoch;
    entry_->current_solve = 0;
    entry_->key = key_;
    std::memcpy(entry_->data.data(), &data, sizeof(Data));
  }

 private:
  // The entry of the node and the key of the values its data depends on,
  // where the cache serves the node.
  void build_key(const LayerCall& call, const Node& node, int code);

  // The entry's key equals this one bit for bit.
  bool same_key() const {
    std::uint64_t differ = 0;
    for (std::size_t i = 0; i < key_.size(); ++i) {
      differ |= std::bit_cast<std::uint64_t>(entry_->key[i]) ^ std::bit_cast<std::uint64_t>(key_[i]);
    }
    return differ == 0;
  }

#ifdef NDEBUG
  static constexpr bool CHECK_CURRENT_KEYS = false;
#else
  // A Debug build builds the key of current data too and asserts it.
  static constexpr bool CHECK_CURRENT_KEYS = true;
#endif

  CurveCacheEntry* entry_ = nullptr;
  bool prepared_ = false;  // the node comes prepared from its slot (entry_)
  bool current_ = false;   // the slot's data is current: no key to compare
  // Set (every word) only when the node is cached: a cleared array per node
  // would cost as much as the lookup.
  std::array<double, CURVE_KEY_WORDS> key_;
  int n_keys_ = 0;
};

// The mean of a soil value over a layer's nodes from the node where it
// starts, by the trapezoid rule: the value itself at the start, then the
// integral divided by the distance from the start. It starts again at the
// layer's first node and at the first node of each pass.
struct RunningMean {
  bool started = false;
  bool cap_pass = false;  // the pass it started in
  double x_start = 0.0, previous = 0.0, integral = 0.0;

  // The state carried to the next node and the coordinate of the node
  // before it (x_before), as values of a cache key.
  void add_to_key(NodeCurveCache& cache, double x_before) const {
    cache.depends_on(x_before);
    cache.depends_on(started ? 1.0 : 0.0);
    cache.depends_on(cap_pass ? 1.0 : 0.0);
    cache.depends_on(x_start);
    cache.depends_on(previous);
    cache.depends_on(integral);
  }

  // The mean at the node (coordinate node.x, the node before it at x_before)
  // of value.
  double at(const Node& node, double x_before, double value) {
    if (!started || node.first || node.cap_pass != cap_pass) {
      started = true;
      cap_pass = node.cap_pass;
      x_start = node.x;
      previous = value;
      integral = 0.0;
      return value;
    }
    integral += (previous + value) / 2.0 * (node.x - x_before);
    previous = value;
    const double distance = node.x - x_start;
    return distance > 0.0 ? integral / distance : value;
  }
};

// ------------------------------------------------------------ templates

template <class Eval>
void run_layer(LayerCall& call, int plot_code, Eval eval) {
  run_layer(call, plot_code, eval, [](const Node&) { return true; });
}

template <class Eval, class Visit>
void run_layer(LayerCall& call, int plot_code, Eval eval, Visit visit) {
  const int first = PileLayerData.first_node(call.pile, call.layer);
  const int last = PileLayerData.last_node(call.pile, call.layer);
  const bool cap_option = RunOptions.cap_passive_option >= 1;
  const bool generating = GeneratedPyCurve.active == 1;
  const double cap_bottom = PileTable.head_depth(call.pile);
  const double cap_top = cap_bottom - CapGeometry.thickness_xx;
  for (int pass = cap_option ? 1 : 2; pass <= 2; ++pass) {
    const bool cap_pass = pass == 1;
    const SolveSlots slots = solve_slots(call, cap_pass);
    double running = 0.0;
    PileLayerData.ultimate_resistance(call.pile, call.layer) = 0.0;
    const int pass_last = cap_pass ? (last < 1 ? last : 1) : last;
    for (int j = first; j <= pass_last; ++j) {
      if (generating && cap_option) {
        const double x = NODE_COORDINATE_AT(call.pile, j);
        const bool in_cap = x >= cap_top && x <= cap_bottom;
        if (cap_pass && !in_cap) break;
        if (!cap_pass && in_cap) continue;
      }
      Node node;
      const bool below_ground = prepare_node(call, j, cap_pass, false, plot_code, slots, node);
      if (!visit(node)) return;
      if (!below_ground) continue;
      if (!eval(node, running)) return;
    }
  }
}

template <class Compute>
double curve_depth(LayerCall& call, const Node& node, Compute compute) {
  const int l = call.layer;
  if (l <= 1) return node.z;
  double& eq_depth = PileLayerData.eq_depth(call.pile, l);
  if (node.first && !curve_generation() && eq_depth < PY_MIN_DEPTH) {
    const bool same_code_skip =
        RunOptions.layering_same_code_skip == 1 && SoilProfile.layer_code(l - 1) == SoilProfile.layer_code(l);
    if (RunOptions.layering_correction == 0 || same_code_skip) {
      eq_depth = SoilProfile.layer_top(l) - PileTable.ground(call.pile) - PileTable.head_depth(call.pile);
    } else {
      compute();
    }
  }
  if (node.z == 0.0) return 0.0;
  return node.x - SoilProfile.layer_top(l) + eq_depth;
}

template <class Defaults>
double point_deflection(LayerCall& call, const Node& node, int i, double& m, Defaults defaults) {
  m = 0.0;
  const int j = node.j;
  if (!curve_generation()) {
    if (!node.outputs) return 0.0;  // a point above the head has no entry to read
    if (!movements_present(call.pile)) return std::abs(call.y[j]);
    m = std::sqrt(call.move1[j] * call.move1[j] + call.move2[j] * call.move2[j]);
    return std::abs(call.y[j] - m);
  }
  if (GeneratedPyCurve.num_points == 0) return defaults(i);
  if (GeneratedPyCurve.from_plot_list == 0) return PyPrintRequest.y(GeneratedPyCurve.request, i);
  return PyExportRequest.deflections(i);
}

template <class Curve>
void initial_line_points(LayerCall& call, const Node& node, const Curve& curve, double initial) {
  for (int i = 1, n = point_count(); i <= n; ++i) {
    double m = 0.0;
    const double u = point_deflection(call, node, i, m, [&](int k) { return curve.default_deflection(k); });
    double value = initial * u, modulus = initial;
    if (u >= RunConstants.tiny) {
      value = curve.at(u);
      modulus = factored_modulus(node, value, u);
    }
    finish_point(call, node, i, u, m, value, modulus);
  }
}

}  // namespace pilecap::py
