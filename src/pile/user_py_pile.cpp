// The soil springs of a pile that has its own set of user p-y curves over its
// whole length, and the report of user curves that end above a node through
// the pile's evaluation. Every vector is one of the lateral solvers' row
// vectors: node j at row j + 3, the head at row 4; depths are vertical
// coordinates in model units.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

constexpr int HEAD_ROW = NODE_ROW_OFFSET + 1;
constexpr int CAP_ELEMENT_ROWS = 2;                  // nodes 1 and 2 in the cap element's pass
constexpr double CAP_ELEMENT_DEPTH = double(0.99f);  // the cap element's curves, times the head depth
constexpr int FIRST_BRACKET = 2;                     // the curve index starts at the second curve

// The short curves go with the pile's evaluation when there is one, so a
// loop over piles reports them in pile order and writes nothing itself.
void report_short_curves(int pile) {
  PileWarning warning;
  warning.kind = PILE_WARNING_PY_TOO_SHORT;
  warning.pile = pile;
  RECORD_PILE_WARNING(warning);
  RAISE_PILE_ERROR(PILE_ERR_PY_TOO_SHORT);
}

// Installed before any run, for the layers of user curves in the soil floor.
[[maybe_unused]] const bool short_reporter_installed = [] {
  SET_PY_CURVES_SHORT_REPORTER(report_short_curves);
  return true;
}();

}  // namespace

void USER_PY_PILE_MODULUS(int pile, const PileRowVector& deflection, PileRowVector& modulus,
                          const PileRowVector& move_y, const PileRowVector& move_z,
                          PileRowVector& modulus_times_movement, PileRowVector& reaction) {
  const double head_depth = PileTable.head_depth(pile);
  PileSoilData.ground_line(pile) = PileTable.ground(pile) + head_depth;
  const int prop_set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(prop_set);
  const double h = PileProperty.increment(prop_set);
  const int set = std::abs(PileTable.py_set(pile));
  const bool movements = SoilMovementProfile.count >= 1 || PileLoadProfile.move_count(pile) >= 1;
  const bool depth_factors = RunOptions.depth_reduction == 1;
  const double p_factor = ClosePileFactors.p_factor_1(pile);
  const double y_factor = ClosePileFactors.y_factor_1(pile);
  const int cap_option = RunOptions.cap_passive_option;
  int curve = FIRST_BRACKET;
  for (int pass = cap_option >= 1 ? 1 : 2; pass <= 2; ++pass) {
    const bool cap_element = pass == 1 && cap_option == 1;
    const int last_row = pass == 1 ? HEAD_ROW + CAP_ELEMENT_ROWS - 1 : HEAD_ROW + n;
    for (int r = HEAD_ROW; r <= last_row; ++r) {
      double along = (r - HEAD_ROW) * h;  // distance from the head
      double d = head_depth + along;
      if (d < 0.0) {
        modulus(r) = 0.0;
        continue;
      }
      double pm = 1.0, ym = 1.0;
      if (depth_factors) {
        int table = 0;
        int pile_ref = pile;
        DEPTH_REDUCTION_FACTORS(pile_ref, table, along, pm, ym);
      }
      double m = 0.0, u = 0.0;
      if (cap_element) {
        d = CAP_ELEMENT_DEPTH * head_depth;
        u = CapPassiveState.horizontal_movement;
      } else if (movements) {
        m = std::sqrt(move_y(r) * move_y(r) + move_z(r) * move_z(r));
        u = std::abs(deflection(r) - m);
      } else {
        u = std::abs(deflection(r));
      }
      u = std::max(u, RunConstants.tiny);
      UserPyValues values;
      if (!USER_PY_CURVES_AT(set, d, u, curve, values)) {
        REPORT_PY_CURVES_SHORT(pile);
        return;
      }
      double es = p_factor * values.secant / y_factor;
      double p = p_factor * values.deeper;
      if (deflection(r) > m) p = -p;
      if (depth_factors) {
        es = es * pm / ym;
        p = p * pm;
      }
      modulus(r) = es;
      if (movements) modulus_times_movement(r) = es * m;
      reaction(r) = p;
      if (cap_element) PileSoilData.first_node_reaction(pile) = values.reaction;
    }
  }
}

}  // namespace pilecap
