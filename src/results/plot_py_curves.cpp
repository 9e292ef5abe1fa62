// The p-y block of the plot-data file: one lateral spring per plot node of
// a pile, lumping half of the p-y resistance of each adjacent segment. The
// p-y curve of a segment comes from the criterion of the soil layer at the
// segment's midpoint: node 1 of the pile is moved there and the dispatch is
// run in curve mode, which stores the points (deflection, resistance per
// unit length) in GeneratedPyCurve. Node arrays by node number, from the
// imaginary node -2; the analysis is over when this runs.
#include <algorithm>
#include <vector>

#include "base/check.hpp"
#include "results/plot_file.hpp"

namespace pilecap {

namespace {

// Entries of the node arrays before node 1; the dispatch never reads or
// writes the points above the head, so they only pad the arrays.
constexpr int NODES_BEFORE_HEAD = 3;

// The six node arrays the dispatch takes; the curve mode reads none back.
struct NodeWork {
  std::vector<double> y, es, move1, move2, es_move, p;
  explicit NodeWork(int n_nodes) {
    const std::size_t size = static_cast<std::size_t>(NODES_BEFORE_HEAD + n_nodes);
    for (auto* v : {&y, &es, &move1, &move2, &es_move, &p}) v->assign(size, 0.0);
  }
  static double* node_one(std::vector<double>& v) { return v.data() + NODES_BEFORE_HEAD; }
};

// Moves node 1 of the pile to x_mid, node 2 with it, in both node tables.
void place_first_node(int pile, double x_mid) {
  for (Table2<double>* table : {&PileNodes.depth, &PileNodes.axial_x}) {
    Table2<double>& t = *table;
    t(pile, 2) = t(pile, 2) + (x_mid - t(pile, 1));
    t(pile, 1) = x_mid;
  }
}

// Hands node 1 to the first layer whose bottom lies below x_mid, and to no
// other layer (the curve mode takes a layer by its first node).
void select_layer(int pile, int n_layers, double x_mid) {
  if (n_layers < 1) return;
  PileLayerData.last_node(pile, n_layers) = 1;
  int selected = 0;
  for (int l = 1; l <= n_layers; ++l) {
    const bool here = selected == 0 && SoilProfile.layer_bottom(l) > x_mid;
    if (here) selected = l;
    PileLayerData.first_node(pile, l) = here ? 1 : 0;
  }
  if (selected == 0) return;
  for (int l = selected; l < n_layers; ++l) PileLayerData.last_node(pile, l) = 1;
}

// The generated curve of the segment as the half curve of a node: its
// resistance per unit length times half the segment.
plot::SpringCurve half_segment_curve(int n, double h) {
  plot::SpringCurve c;
  c.n = n;
  for (int i = 1; i <= n; ++i) {
    c.a(i) = GeneratedPyCurve.y(i);
    c.b(i) = GeneratedPyCurve.p(i) * (0.5 * h);
  }
  return c;
}

}  // namespace

void WRITE_PLOT_PY_CURVES(int pile, int& status) {
  auto& g = GeneratedPyCurve;
  const int m = PyExportRequest.plot_nodes;
  int set = PileTable.prop(pile);
  const double h = m >= 1 ? PileProperty.length(set) / m : 0.0;
  const int n_layers = SoilLayerInput.count;
  const double ground_line = PileTable.head_depth(pile) + PileTable.ground(pile);
  SoilProfile.num_layers = n_layers;
  g.active = 1;
  g.request = pile;
  plot::write_record(plot::INTEGERS_LAYOUT, pile, m + 1, PLOT_BLOCK_PY);

  g.num_points = PyExportRequest.deflection_list_flag >= 1 ? PyExportRequest.num_deflections : 0;
  const int n_requested = g.num_points == 0 ? DEFAULT_PY_POINT_COUNT : g.num_points;
  PILECAP_ASSERT(n_requested >= 2 && n_requested <= plot::MAX_SPRING_POINTS,
                 "the input echo admits 2 to 25 export deflections");
  const int n = std::clamp(n_requested, 1, plot::MAX_SPRING_POINTS);

  NodeWork work(PileProperty.n_increments(set) + 1);
  plot::SpringCurve carried = plot::zero_curve(n);  // the lower half of the node above
  plot::SpringCurve node_curve = plot::zero_curve(n);
  g.plot_in_soil = 0;
  double x = PileTable.head_x(pile);
  for (int k = 1; k <= m + 1; ++k, x += h) {
    const int upper_in_soil = g.plot_in_soil;
    g.plot_in_soil = 0;
    for (int i = 1; i <= n; ++i) g.y(i) = g.p(i) = 0.0;
    node_curve = carried;
    carried = plot::zero_curve(n);
    plot::write_record(plot::NODE_LAYOUT, k, x);
    // Where no criterion runs (the tip, a user p-y layer, below the deepest
    // layer) the node's own depth below the ground line decides.
    g.plot_depth = x - ground_line;
    if (k <= m) {
      const double x_mid = x + 0.5 * h;
      place_first_node(pile, x_mid);
      select_layer(pile, n_layers, x_mid);
      int call_status = STATUS_OK;
      SOIL_REACTION_AT_NODES(set, call_status, pile, pile, NodeWork::node_one(work.y), NodeWork::node_one(work.es),
                             NodeWork::node_one(work.move1), NodeWork::node_one(work.move2),
                             NodeWork::node_one(work.es_move), NodeWork::node_one(work.p));
      if (call_status != STATUS_OK) {
        status = call_status;
        plot::write_record(plot::INTEGERS_LAYOUT, 0, 0, g.plot_soil_code);
        return;
      }
      carried = half_segment_curve(n, h);
      if (upper_in_soil == 1) {
        plot::COMBINE_HALF_CURVES(node_curve, carried, node_curve);
      } else {
        node_curve = carried;
      }
    }
    const int flag = g.plot_depth >= PY_MIN_DEPTH ? 1 : 0;
    plot::write_record(plot::INTEGERS_LAYOUT, flag, flag == 1 ? 2 * n - 1 : 0, g.plot_soil_code);
    if (flag == 1) plot::WRITE_SPRING_POINTS(node_curve, nullptr);
  }
}

}  // namespace pilecap
