// Node layout of a pile: equally spaced nodes from the head (node 1) to the
// tip (node n + 1) at the increment h = length / n along the axis, depths
// advancing by the vertical step (h cos(batter) when the batter adjusts
// depths, else h), and for every soil layer the first and last node inside
// it. Node j sits at row j of PileNodes; layer ranges are 1-based by layer.
// The increment and the sentinel layer top are shared between piles and are
// set once before the parallel loops (PREPARE_NODE_LAYOUT); NODE only reads.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/lateral_plane.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

// The input section of the pile arrangement, named in the detail line.
constexpr int PILE_ARRANGEMENT_SECTION = 7;
constexpr const char* DETAIL_INDENT = "    ";
// Points above a buried head, counted at the vertical step: five pile
// lengths at the finest node spacing.
constexpr int MAX_NODE_STEPS_ABOVE_HEAD = 1000;

double vertical_step(int pile, double increment) {
  return RunOptions.adjust_batter_depth == 1 ? increment * std::cos(PileTable.batter(pile)) : increment;
}

// "12.5 FT": a length of the model in the unit of site lengths.
std::string length_text(double length) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.6g", FEET_FROM_INCHES(length));
  return std::string(text.data()) + " " + LABEL_TEXT(UnitLabels.length_large());
}

void refuse_pile(int pile, const std::string& fault, int& status) {
  std::string detail(DETAIL_INDENT);
  detail.append("INPUT SECTION ").append(std::to_string(PILE_ARRANGEMENT_SECTION)).append(", PILE ");
  detail.append(std::to_string(pile)).append(": ").append(fault);
  SET_STATUS_DETAIL(detail);
  status = STATUS_INPUT_DATA_ERROR;
}

// The fatal message of the pile: held in the pile's evaluation inside a loop
// over piles and written after it in pile order, else written at once.
void report_below_deepest_layer(int pile) {
  PileWarning message;
  message.kind = PILE_WARNING_BELOW_DEEPEST_LAYER;
  message.pile = pile;
  message.result = PileProperty.length(PileTable.prop(pile));
  RECORD_PILE_WARNING(message);
}

// The layout of NODE and NODE2D; false when a node lies below the deepest layer.
bool lay_out_nodes(int pile, double head) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double h = PileProperty.increment(set);
  const double v = vertical_step(pile, h);
  const int n_layers = SoilProfile.num_layers;
  auto& first = PileLayerData.first_node;
  auto& last = PileLayerData.last_node;
  auto& depth = PileNodes.depth;
  auto& axial = PileNodes.axial_x;
  PILECAP_ASSERT(h == PileProperty.length(set) / n, "PREPARE_NODE_LAYOUT has set the increment of the pile's set");

  for (int l = 1; l <= n_layers; ++l) first(pile, l) = last(pile, l) = 0;
  depth(pile, 1) = axial(pile, 1) = head;

  // Coordinates only for a pile with its own p-y curves, or without soil.
  if (USES_OWN_PY_CURVES(pile) || n_layers < 1) {
    for (int j = 2; j <= n + 1; ++j) {
      axial(pile, j) = axial(pile, j - 1) + h;
      depth(pile, j) = depth(pile, j - 1) + v;
    }
    return true;
  }
  PILECAP_ASSERT(SoilProfile.layer_top(n_layers + 1) == SoilProfile.layer_bottom(n_layers),
                 "PREPARE_NODE_LAYOUT has set the sentinel layer top");
  const double deepest = SoilProfile.layer_bottom(n_layers);

  // Walk the nodes, the layer counter advancing at most one layer per node.
  int c = 1;
  for (int j = 1; j <= n + 1; ++j) {
    if (j >= 2) {
      axial(pile, j) = axial(pile, j - 1) + h;
      depth(pile, j) = depth(pile, j - 1) + v;
      if (depth(pile, j) > deepest + BELOW_DEEPEST_LAYER_TOLERANCE) return false;
    }
    first(pile, c) = j;
    if (depth(pile, j) >= SoilProfile.layer_top(c) && c <= n_layers) {
      ++c;
      first(pile, c) = j;
    }
  }
  for (int l = c + 1; l <= n_layers; ++l) first(pile, l) = first(pile, c);

  // A head below the top of the first layer: the points above it, counted
  // upward at the vertical step, go to the layers above.
  if (head > SoilProfile.layer_top(1) && v > 0.0) {
    int k = 0;
    for (int l = 1; l <= n_layers && SoilProfile.layer_top(l) < head; ++l) k = l;
    double x = head - v;
    int m = 0;
    while (x >= SoilProfile.layer_top(1) && k >= 1) {
      if (x > SoilProfile.layer_top(k)) {
        first(pile, k) = m;
      } else {
        --k;
      }
      --m;
      x -= v;
    }
  }

  for (int l = 1; l <= n_layers - 1; ++l) last(pile, l) = first(pile, l + 1) - 1;
  for (int l = 1; l <= n_layers; ++l) {
    if (SoilProfile.layer_bottom(l) >= depth(pile, n + 1)) last(pile, l) = n + 1;
  }
  last(pile, n_layers) = n + 1;

  // Clear the layers the pile does not reach. Clearing layer l touches no
  // value that the test of layer l - 1 reads, so the tests see the ranges
  // as they stood before any clearing.
  for (int l = n_layers; l >= 2; --l) {
    if (first(pile, l) == last(pile, l) && last(pile, l) == last(pile, l - 1)) first(pile, l) = last(pile, l) = 0;
  }
  return true;
}

}  // namespace

void PREPARE_NODE_LAYOUT(int& status) {
  const int n_layers = SoilProfile.num_layers;
  if (n_layers >= 1) SoilProfile.layer_top(n_layers + 1) = SoilProfile.layer_bottom(n_layers);
  for (int p = 1; p <= PileTable.n_piles + 1; ++p) {
    const int set = PileTable.prop(p);
    if (set < 1 || PileProperty.n_increments(set) < 1) continue;
    const double h = PileProperty.length(set) / PileProperty.n_increments(set);
    PileProperty.increment(set) = h;
    // The cap entry's nodes are laid out by the embedded-cap element itself.
    if (status != STATUS_OK || p > PileTable.n_piles || USES_OWN_PY_CURVES(p) || n_layers < 1) continue;
    const double head = PileTable.head_x(p);
    const double top = SoilProfile.layer_top(1);
    if (head <= top) continue;
    // A buried head has points above it at the vertical step up to the top
    // of the soil, and every soil evaluation visits them: their number must
    // neither be endless nor so large that a run never ends.
    const double v = vertical_step(p, h);
    std::string fault;
    if (!(v > 0.0)) {
      fault = "BATTER GIVES NODES THAT DO NOT ADVANCE DOWNWARD";
    } else if (!((head - top) / v <= MAX_NODE_STEPS_ABOVE_HEAD)) {
      fault = "HEAD MORE THAN " + std::to_string(MAX_NODE_STEPS_ABOVE_HEAD) + " NODE STEPS BELOW THE TOP OF THE SOIL";
    }
    if (!fault.empty()) refuse_pile(p, fault, status);
  }
}

void CHECK_PILES_REACH_THE_SOIL(int& status) {
  const int n_layers = SoilProfile.num_layers;
  for (int p = 1; p <= PileTable.n_piles && status == STATUS_OK; ++p) {
    const int set = PileTable.prop(p);
    if (set < 1 || PileProperty.n_increments(set) < 1) continue;
    const double reach = PileProperty.n_increments(set) * vertical_step(p, PileProperty.increment(set));
    // A batter without a downward step is PREPARE_NODE_LAYOUT's to refuse.
    if (!(reach > 0.0)) continue;
    if (PileTable.ground(p) > reach) {
      refuse_pile(p,
                  "HEAD " + length_text(PileTable.ground(p)) + " ABOVE ITS GROUND LINE, MORE THAN THE PILE REACHES (" +
                      length_text(reach) + ")",
                  status);
      continue;
    }
    // Piles on their own p-y curves need no soil layers along them.
    if (USES_OWN_PY_CURVES(p) || n_layers < 1) continue;
    const double tip = PileTable.head_x(p) + reach;
    const double bottom = SoilProfile.layer_bottom(n_layers);
    const double top = SoilProfile.layer_top(1);
    if (tip > bottom + BELOW_DEEPEST_LAYER_TOLERANCE) {
      refuse_pile(p,
                  "TIP AT DEPTH " + length_text(tip) + ", BELOW THE END OF THE SOIL LAYERS AT " + length_text(bottom),
                  status);
    } else if (tip <= top) {
      // No soil along the pile: nothing would hold it sideways.
      refuse_pile(p,
                  "TIP AT DEPTH " + length_text(tip) + ", NOT BELOW THE TOP OF THE SOIL LAYERS AT " + length_text(top),
                  status);
    }
  }
}

void NODE(int pile, int& status) {
  status = STATUS_OK;
  if (!lay_out_nodes(pile, PileTable.head_x(pile))) {
    report_below_deepest_layer(pile);
    status = STATUS_PILE_BELOW_DEEPEST_LAYER;
  }
}

void NODE2D(int pile, int& status) {
  if (!lay_out_nodes(pile, PileTable.head_depth(pile))) {
    report_below_deepest_layer(pile);
    status = STATUS_PILE_BELOW_DEEPEST_LAYER_2D;
  }
}

}  // namespace pilecap
