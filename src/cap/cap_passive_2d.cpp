// The passive resistance of an embedded pile cap in the 2D solver. Method 0
// takes the soil pressure on the cap face from the mean state of the pile
// rows: zero at the mean ground line, rising linearly to the mean reaction
// of the rows' first nodes at the cap bottom, cut to a trapezoid where the
// ground line lies above the cap top; the pressure opposes the horizontal
// movement. Method 1 is the embedded-cap element. The resistance is
// (force X, force Y, moment Z) at the cap origin, depths positive downward.
#include <cmath>

#include "base/exact_sum.hpp"
#include "cap/embedded_cap.hpp"
#include "input/input.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// Mean ground lines at or above this (single precision) leave the cap free.
constexpr double CAP_NOT_EMBEDDED = double(-1e-6f);
// A horizontal movement at or below this (single precision) is none.
constexpr double NO_HORIZONTAL_MOVEMENT = double(1e-14f);
constexpr int MEANS_OPTION = 1;  // the cap option that uses method 0
constexpr double HALF = 0.5;
constexpr double THIRD = 1.0 / 3.0;

// The depth of the cap bottom: the head depth of the last pile row.
double cap_bottom() { return PileTable.n_piles >= 1 ? PileTable.head_depth(PileTable.n_piles) : 0.0; }

}  // namespace

void CAP_PASSIVE_MEANS_2D(double& ground_line, double& reaction) {
  ground_line = reaction = 0.0;
  const int n_rows = PileTable.n_piles;
  if (n_rows < 1) return;
  // Rounded once, so that the means do not depend on the row numbering.
  ExactSum ground_sum, reaction_sum;
  for (int row = 1; row <= n_rows; ++row) {
    ground_sum.add(PileSoilData.ground_line(row));
    reaction_sum.add(PileSoilData.first_node_reaction(row));
  }
  ground_line = ground_sum.value() / n_rows;
  reaction = reaction_sum.value() / n_rows;
}

void CAP_PASSIVE_BY_MEANS_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive) {
  const double hd = cap_bottom();
  passive.force.fill(0.0);
  passive.load = 0.0;
  passive.position = hd;
  if (RunOptions.cap_passive_option != MEANS_OPTION || ground_line >= CAP_NOT_EMBEDDED) return;
  // The soil resists a movement: a cap that does not move sideways meets no
  // resistance, in neither direction.
  if (!(std::fabs(u[1]) > NO_HORIZONTAL_MOVEMENT)) return;
  const double thickness = CapGeometry.thickness_xx;
  const double p = reaction;
  const double a = std::fabs(ground_line);
  const double d = a > thickness ? thickness : a;                      // embedded height of the cap face
  const double p_top = a > thickness ? p * (a - thickness) / a : 0.0;  // pressure at the cap top
  const double force = HALF * (p + p_top) * d;
  const double moment = d * ((HALF * d - hd) * p_top + HALF * (p - p_top) * (d * THIRD - hd));
  const double sign = u[1] >= 0.0 ? 1.0 : -1.0;
  passive.force(2) = -sign * force;
  passive.force(3) = sign * moment;
  passive.load = sign * force;
  if (std::fabs(passive.load) > 0.0) {
    passive.position = hd - HALF * d * (p_top * d + (p - p_top) * d * THIRD) / std::fabs(passive.load);
  }
}

void CAP_PASSIVE_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive, int& status) {
  passive = CapPassive2D{};
  if (RunOptions.cap_passive_option <= 0) return;
  if (CapPassiveElement.method == PASSIVE_BY_MEANS) {
    CAP_PASSIVE_BY_MEANS_2D(u, ground_line, reaction, passive);
    return;
  }
  if (CapPassiveElement.method != PASSIVE_BY_ELEMENT) return;
  int own_status = STATUS_OK;
  CAP_PASSIVE_FORCE_2D(passive.force.data(), u, own_status);
  if (own_status != STATUS_OK) {
    // A failed evaluation gives no resistance; the code ends the run.
    passive.force.fill(0.0);
    if (status == STATUS_OK) status = own_status;
  }
  const double fy = passive.force(2);
  passive.load = std::fabs(fy);
  passive.position = std::fabs(fy) > 0.0 ? passive.force(3) / fy
                                         : (PileTable.n_piles >= 1 ? PileTable.head_x(PileTable.n_piles) : 0.0);
}

}  // namespace pilecap
