// The axial load variation along one pile: for a head movement u, the pile's
// load-transfer model (node t-z curves, tip q-w curve) is rebuilt and the tip
// movement w whose march from the tip reproduces u is found by Newton steps
// kept inside a bracket of the generated curve's own points. The march of
// the accepted w leaves the movement and load of every node in the profile,
// rows as the node tables (head row 4, tip row n_inc + 4). Magnitudes are
// marched; an uplift (w <= 0) stores every value negated.
#include <cmath>

#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer_model.hpp"

namespace pilecap {

namespace {

constexpr double PINNED_FRICTION = double(1e-6f);
constexpr double DIFFERENCE_STEP = double(1e-6f);
constexpr double ZERO_MOVEMENT = double(1e-14f);
constexpr double ABSOLUTE_TOLERANCE = double(1e-4f);
constexpr double RELATIVE_TOLERANCE = double(1e-4f);
constexpr double LATE_RELATIVE_TOLERANCE = double(1e-3f);
constexpr int LATE_CORRECTIONS = 10;

// One march at tip movement w (signed); the head movement it gives, or NaN
// when an element does not settle.
double march_at(const PileTransferWork& work, double w, PileRowVector& movement, PileRowVector& load) {
  const double magnitude = std::fabs(w);
  const double sign = w <= 0.0 ? -1.0 : 1.0;
  const MarchProfile profile{sign, movement.data(), load.data()};
  double head_load = 0.0, head_move = 0.0;
  if (!MARCH_ELEMENTS(work.model, 1.0, TIP_LOAD_AT(work.tip, magnitude), magnitude, MarchListing{}, &profile, head_load,
                      head_move)) {
    return std::nan("");
  }
  return sign * head_move;
}

// The pile's generated curve was defined by this property's table row.
int defining_property(int p) {
  const int curve = -PileTable.ls_curve(p);
  if (curve >= 1 && curve <= GeneratedLsCurve.count) return PileTable.prop(GeneratedLsCurve.pile(curve));
  return PileTable.prop(p);
}

}  // namespace

void BUILD_PILE_TZ_CURVES(int p, int q, double /*u*/, int& status, PileTransferWork& work) {
  TransferModel& m = work.model;
  FILL_TRANSFER_MODEL(m, q, p, true);
  BUILD_NODE_CURVES(m, status);
  if (status != STATUS_OK) return;
  for (int i = 1; i <= 2 && i <= m.nodes.count; ++i) {
    // A node in soil: BUILD_TZ_AT_DEPTH has cleared the code above the ground.
    if (m.nodes.code(i) != 0 && m.nodes.depth(i) >= m.ground_line) {
      m.nodes.tmax(i) = PINNED_FRICTION;
      FILL_TZ_CURVE(i, m.pile_type, m.nodes.code(i), m.diameter, m.nodes);
    }
  }
}

void BUILD_PILE_TIP_QW_CURVE(int p, int /*q*/, double u, int& status, PileTransferWork& work) {
  TransferModel& m = work.model;
  m.nodes.depth(1) = m.nodes.depth(2) = PileTable.head_depth(p) + PileTable.ground(p);
  work.tip = TipCurve{};
  const int side = u >= 0.0 ? SIDE_COMPRESSION : SIDE_UPLIFT;
  BUILD_TIP_CURVE(m, side, true, work.tip, status);
}

void SOLVE_PILE_AXIAL_TRANSFER(int p, int /*q*/, double u, int& /*status*/, PileRowVector& movement,
                               PileRowVector& load, PileTransferWork& work, int& error) {
  const int row = defining_property(p);
  const ComputedLsTableRecord& table = ComputedLsTable;
  double w = 0.0;
  bool single_pass = false;
  double x_lo = 0.0, w_lo = 0.0, x_hi = 0.0, w_hi = 0.0;
  if (u < table.top_movement(row, 1)) {
    w = table.tip_movement(row, 1);
    single_pass = true;
  } else if (u > table.top_movement(row, LS_TABLE_COLUMNS)) {
    w = table.tip_movement(row, LS_TABLE_COLUMNS);
    single_pass = true;
  } else {
    int j = 2;
    while (j < LS_TABLE_COLUMNS && !(table.top_movement(row, j) > u)) ++j;
    x_lo = table.top_movement(row, j - 1);
    w_lo = table.tip_movement(row, j - 1);
    x_hi = table.top_movement(row, j);
    w_hi = table.tip_movement(row, j);
    w = x_hi == x_lo ? w_lo : w_lo + (u - x_lo) * (w_hi - w_lo) / (x_hi - x_lo);
  }
  for (int corrections = 0;;) {
    const double magnitude = std::fabs(w);
    const double dw = magnitude >= DIFFERENCE_STEP ? DIFFERENCE_STEP : magnitude / 2.0;
    const double sign = w <= 0.0 ? -1.0 : 1.0;
    const double f_minus = march_at(work, sign * (magnitude - dw), movement, load);
    const double f_plus = march_at(work, sign * (magnitude + dw), movement, load);
    const double f = march_at(work, w, movement, load);
    if (std::isnan(f_minus) || std::isnan(f_plus) || std::isnan(f)) {
      // An element that never settles: the variation has no answer.
      error = PILE_ERR_AXIAL_VARIATION;
      return;
    }
    const double e = u - f;
    if (single_pass) return;
    const bool converged = std::fabs(u) < ZERO_MOVEMENT
                               ? std::fabs(e) <= ABSOLUTE_TOLERANCE
                               : std::fabs(e / u) <= RELATIVE_TOLERANCE ||
                                     (corrections > LATE_CORRECTIONS && std::fabs(e / u) <= LATE_RELATIVE_TOLERANCE);
    if (converged) return;
    if (++corrections > AXIAL_VARIATION_MAX_ITERATIONS) {
      error = PILE_ERR_AXIAL_VARIATION;
      return;
    }
    if (f > u) {
      x_hi = f;
      w_hi = w;
    } else {
      x_lo = f;
      w_lo = w;
    }
    const double w_rf = x_hi == x_lo ? w : w_lo + (u - x_lo) * (w_hi - w_lo) / (x_hi - x_lo);
    w = w_rf;
    if (f_plus != f_minus) {
      const double step = e * 2.0 * dw / (f_plus - f_minus);
      const double w_newton = u >= 0.0 ? magnitude + step : -magnitude - step;
      if (w_lo <= w_newton && w_newton <= w_hi) w = w_newton;
    }
  }
}

}  // namespace pilecap
