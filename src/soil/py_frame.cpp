// The shared frame of the p-y criteria: node preparation, layer integral,
// factored modulus, node outputs and the reported points of generated
// curves. Node arrays by node number; the analysis writes only the pile's
// own entries and never a shared record, so piles may run on many threads.
#include "soil/py_frame.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"

namespace pilecap::py {

namespace {

// prepare_node without the slot: every value computed.
bool prepare_node_values(LayerCall& call, int j, bool cap_pass, bool single_pass, int plot_code, Node& node) {
  const int pile = call.pile;
  const int first = PileLayerData.first_node(pile, call.layer);
  node.j = j;
  node.first = j == first;
  node.cap_pass = cap_pass;
  // Points above a buried pile head (j <= 0) lie outside the pile: they may
  // take part in a layer integral but never get node outputs.
  node.outputs = j >= 1;
  node.factor_in_curve = false;
  node.x = NODE_COORDINATE_AT(pile, j);
  node.axial = NODE_DEPTH_AT(pile, j);
  node.depth_factors = RunOptions.depth_reduction == 1;
  node.pm = node.ym = 1.0;
  if (node.depth_factors) {
    int table = 0;
    DEPTH_REDUCTION_FACTORS(call.pile, table, node.x, node.pm, node.ym);
  }
  node.h = NODE_COORDINATE_AT(pile, first + 1) - NODE_COORDINATE_AT(pile, first);
  const int factor_entry = curve_generation() ? call.factor_index : pile;
  node.p_factor = ClosePileFactors.p_factor_1(factor_entry);
  node.y_factor = ClosePileFactors.y_factor_1(factor_entry);
  node.z = node.x - PileTable.ground(pile) - PileTable.head_depth(pile);
  const bool in_soil = !above_ground_line(node.z);
  // The node at the ground line carries the spring of depth 0.
  if (in_soil && node.z < PY_MIN_DEPTH) node.z = 0.0;
  // The plot fields are shared: only the curve generation, which runs on the
  // calling thread, writes them.
  if (GeneratedPyCurve.from_plot_list == 1 && curve_generation()) {
    GeneratedPyCurve.plot_soil_code = plot_code;
    GeneratedPyCurve.plot_in_soil = in_soil ? 1 : 0;
    GeneratedPyCurve.plot_depth = node.z;
  }
  if (!in_soil) {
    if (node.outputs) {
      call.es[j] = 0.0;
      call.p[j] = 0.0;
      call.es_move[j] = 0.0;
    }
    return false;
  }
  const bool cap_width = !single_pass && (cap_pass || CapPassiveElement.evaluating == 1);
  node.b = cap_width ? CapGeometry.width_zz : SECTION_DIAMETER_AT(pile, call.prop_set, node.axial);
  return true;
}

// The values prepare_node computes for a slot are the same bits in a and b.
[[maybe_unused]] bool same_prepared_values(const Node& a, const Node& b) {
  auto same = [](double u, double v) { return std::bit_cast<std::uint64_t>(u) == std::bit_cast<std::uint64_t>(v); };
  return a.j == b.j && a.first == b.first && a.cap_pass == b.cap_pass && a.outputs == b.outputs &&
         a.depth_factors == b.depth_factors && same(a.x, b.x) && same(a.axial, b.axial) && same(a.z, b.z) &&
         same(a.b, b.b) && same(a.h, b.h) && same(a.pm, b.pm) && same(a.ym, b.ym) && same(a.p_factor, b.p_factor) &&
         same(a.y_factor, b.y_factor);
}

}  // namespace

bool prepare_node(LayerCall& call, int j, bool cap_pass, bool single_pass, int plot_code, Node& node) {
  return prepare_node(call, j, cap_pass, single_pass, plot_code, solve_slots(call, cap_pass), node);
}

bool prepare_node(LayerCall& call, int j, bool cap_pass, bool single_pass, int plot_code, const SolveSlots& slots,
                  Node& node) {
  if (slots.mark == 0 || j < 1 || j > slots.n_nodes) {
    return prepare_node_values(call, j, cap_pass, single_pass, plot_code, node);
  }
  CurveCacheEntry& slot = slots.entries[j - 1];
  if (slot.prepared_solve != slots.mark || slot.prepared_layer != call.layer) {
    slot.below_ground = prepare_node_values(call, j, cap_pass, single_pass, plot_code, node);
    slot.prepared = node;
    slot.prepared_solve = slots.mark;
    slot.prepared_layer = call.layer;
    slot.current_solve = 0;
    node.slot = &slot;
    return slot.below_ground;
  }
  node = slot.prepared;
  node.slot = &slot;
#ifndef NDEBUG
  Node fresh;
  const bool below_ground = prepare_node_values(call, j, cap_pass, single_pass, plot_code, fresh);
  PILECAP_ASSERT(below_ground == slot.below_ground && same_prepared_values(node, fresh),
                 "a node prepared once in a solve keeps its values");
#endif
  if (!slot.below_ground) {
    call.es[j] = 0.0;
    call.p[j] = 0.0;
    call.es_move[j] = 0.0;
  }
  return slot.below_ground;
}

void add_layer_integral(LayerCall& call, const Node& node, double& running, double resistance) {
  const double top = SoilProfile.layer_top(call.layer);
  const double bottom = SoilProfile.layer_bottom(call.layer);
  const double upper = node.x - node.h < top ? node.x - top : node.h;
  const double length = node.x + node.h > bottom ? upper + (bottom - node.x) : upper;
  running += length * resistance;
  PileLayerData.ultimate_resistance(call.pile, call.layer) = running;
}

int point_count() {
  if (!curve_generation()) return 1;
  const int n = GeneratedPyCurve.num_points == 0 ? DEFAULT_PY_POINT_COUNT : GeneratedPyCurve.num_points;
  return std::clamp(n, 0, MAX_GENERATED_PY_POINTS);
}

double factored_modulus(const Node& node, double p, double u) {
  const double p_factor = node.factor_in_curve ? 1.0 : node.p_factor;
  double es = p_factor * p / u / node.y_factor;
  if (node.depth_factors) es = es * node.pm / node.ym;
  return es;
}

// The cap pass of the first cap option reports the bare curve.
static bool bare_report(const Node& node) { return node.cap_pass && RunOptions.cap_passive_option == 1; }

double reported_deflection(const Node& node, double u) {
  if (bare_report(node)) return u;
  double reported = u * node.y_factor;
  if (node.depth_factors) reported = reported * node.ym;
  return reported;
}

double reported_reaction(const Node& node, double p) {
  if (bare_report(node)) return p;
  double reported = node.factor_in_curve ? p : p * node.p_factor;
  if (node.depth_factors) reported = reported * node.pm;
  return reported;
}

void finish_point(LayerCall& call, const Node& node, int i, double u, double m, double p, double es) {
  const int j = node.j;
  const bool analysis = !curve_generation();
  if (node.outputs) call.es[j] = es;
  if (node.cap_pass && RunOptions.cap_passive_option == 1) PileSoilData.first_node_reaction(call.pile) = p;
  if (analysis && movements_present(call.pile) && node.outputs) call.es_move[j] = es * m;
  double signed_p = node.factor_in_curve ? p : node.p_factor * p;
  if (node.outputs && call.y[j] > m) signed_p = -signed_p;
  if (node.depth_factors) signed_p = signed_p * node.pm;
  if (node.outputs) call.p[j] = signed_p;
  if (analysis) return;
  const double u_reported = reported_deflection(node, u);
  const double p_reported = reported_reaction(node, p);
  if (GeneratedPyCurve.from_plot_list == 1) {
    GeneratedPyCurve.y(i) = node.bare_export ? u : u_reported;
    GeneratedPyCurve.p(i) = node.bare_export ? p : p_reported;
    return;
  }
  if (node.echo_point_layout != nullptr) {
    fio::write(UNIT_ECHO, node.echo_point_layout, u_reported, KIPS_FROM_POUNDS(p_reported));
  } else {
    WRITE_BLANKS(UNIT_ECHO, node.echo_lead_blanks);
    WRITE_REAL_FIELD(UNIT_ECHO, node.echo_deflection_width, POINT_FIELD_DIGITS, u_reported);
    WRITE_REAL_FIELD(UNIT_ECHO, POINT_FIELD_WIDTH, POINT_FIELD_DIGITS, KIPS_FROM_POUNDS(p_reported));
    END_REPORT_LINE(UNIT_ECHO);
  }
  fio::write(UNIT_PLOT, node.plot_point_layout, u_reported, p_reported);
}

void write_plot_node_record(const Node& node) { fio::write_list(UNIT_PLOT, node.x); }

}  // namespace pilecap::py
