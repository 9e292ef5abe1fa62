// The embedded-cap element: the cap as one short, rigid, vertical pile from
// its top down to the shallowest pile head (entry n_piles + 1 of the pile
// table, with the property set after the last input set), with p-y springs
// of the cap width at its nodes in the soil. A rigid-body movement (a lateral
// displacement and rotation of the top, in one or two directions) gives the
// soil's resultant force and moment at the top by the trapezoidal rule over
// the nodes. Node j lies at (j - 1) h below the top, h = L / n; node arrays
// are the solvers' row vectors (node j at row j + 3).
#include <cmath>
#include <string>

#include "base/arrays.hpp"
#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "cap/embedded_cap.hpp"
#include "input/input.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

constexpr double END_LEVER_FRACTION = 0.25;  // the centroid of an end half-increment, in increments from the end

// The view of a row vector that puts node j at pointer[j].
double* by_node(PileRowVector& rows) { return rows.data() + (NODE_ROW_OFFSET - 1); }
int row_of(int node) { return node + NODE_ROW_OFFSET; }

int element_entry() { return PileTable.n_piles + 1; }
double element_step() { return CapPassiveElement.length / CapPassiveElement.increments; }

void report_below_deepest_layer() {
  const std::string label(UnitLabels.length());
  fio::write(UNIT_RESULTS_REPORT, PILE_BELOW_DEEPEST_LAYER_LAYOUT, CapPassiveElement.length, label);
  fio::write(UNIT_RUN_LOG, PILE_BELOW_DEEPEST_LAYER_LAYOUT, CapPassiveElement.length, label);
}

// The secant moduli of the element's nodes for the lateral displacements
// (node rows); a node no layer range covers keeps 0.
bool element_moduli(const PileRowVector& displacement, PileRowVector& modulus, int& status) {
  int pile = element_entry();
  int set = PileTable.prop(pile);
  PileRowVector y = displacement, move_1{}, move_2{}, modulus_move{}, reaction{};
  modulus.fill(0.0);
  CapPassiveElement.evaluating = 1;
  SOIL_REACTION_AT_NODES(set, status, pile, pile, by_node(y), by_node(modulus), by_node(move_1), by_node(move_2),
                         by_node(modulus_move), by_node(reaction));
  CapPassiveElement.evaluating = 0;
  return status == STATUS_OK;
}

// F = -sum w_j E_j d_j and M = -sum w_j a_j E_j d_j over the nodes: the
// tributary lengths w (h/2 at both ends, h between) and the lever arms a
// below the top (h/4 and n h - h/4 at the ends, the node's distance between).
void lateral_resultant(const PileRowVector& displacement, const PileRowVector& modulus, double& force, double& moment) {
  const int n = CapPassiveElement.increments;
  const double h = element_step();
  double sum_force = 0.0, sum_moment = 0.0;
  for (int j = 1; j <= n + 1; ++j) {
    const bool end = j == 1 || j == n + 1;
    const double w = end ? h / 2 : h;
    double a = (j - 1) * h;
    if (j == 1) a = h * END_LEVER_FRACTION;
    if (j == n + 1) a = n * h - h * END_LEVER_FRACTION;
    const int r = row_of(j);
    sum_force += w * modulus(r) * displacement(r);
    sum_moment += w * a * modulus(r) * displacement(r);
  }
  force = -sum_force;
  moment = -sum_moment;
}

// The rigid-body profile v + slope s_j, accumulated node by node.
void rigid_profile(double top, double slope, PileRowVector& displacement) {
  const int n = CapPassiveElement.increments;
  const double step = slope * element_step();
  displacement.fill(0.0);
  displacement(row_of(1)) = top;
  for (int j = 2; j <= n + 1; ++j) displacement(row_of(j)) = displacement(row_of(j - 1)) + step;
}

}  // namespace

void CAP_ELEMENT_NODES(int& status) {
  status = STATUS_OK;
  const int e = element_entry();
  const int n = CapPassiveElement.increments;
  const int n_layers = SoilProfile.num_layers;
  PILECAP_ASSERT(n >= 1 && n <= MAX_PILE_INCREMENTS, "the input reader admits 1 to 200 increments of the element");
  PILECAP_ASSERT(n_layers < MAX_LAYERS_PER_PILE, "the profile has room for the sentinel after its deepest layer");
  const double h = element_step();
  auto& depth = PileNodes.depth;
  auto& axial = PileNodes.axial_x;
  CapPassiveElement.head_depth = PileTable.head_x(e);
  depth(e, 1) = axial(e, 1) = CapPassiveElement.head_depth;

  // Without soil the element has nodes and no springs.
  if (n_layers < 1) {
    for (int j = 2; j <= n + 1; ++j) depth(e, j) = axial(e, j) = depth(e, j - 1) + h;
    return;
  }

  // The first node of each layer, at most one layer opening per node; the
  // entry after the last layer takes the tip.
  Array1<int, MAX_LAYERS_PER_PILE + 1> first{}, last{};
  SoilProfile.layer_top(n_layers + 1) = SoilProfile.layer_bottom(n_layers);
  const double deepest = SoilProfile.layer_bottom(n_layers);
  int k = 1;
  for (int j = 1;; ++j) {
    if (k <= n_layers && SoilProfile.layer_top(k) <= depth(e, j)) first(k++) = j;
    if (j == n + 1) {
      first(k) = n + 1;
      break;
    }
    depth(e, j + 1) = axial(e, j + 1) = depth(e, j) + h;
    if (depth(e, j + 1) > deepest) {
      report_below_deepest_layer();
      status = STATUS_PILE_BELOW_DEEPEST_LAYER;
      return;
    }
  }

  const double tip = depth(e, n + 1);
  for (int l = 1; l <= n_layers; ++l) {
    if (SoilProfile.layer_bottom(l) >= tip) {
      last(l) = n + 1;
      if (first(l + 1) == n + 1) first(l + 1) = 0;
    } else {
      last(l) = first(l + 1) - 1;
    }
  }
  last(n_layers) = n + 1;
  // Layers below the element lose the tip node they were given.
  for (int l = n_layers; l >= 2; --l) {
    if (first(l) == 0 && last(l) == last(l - 1)) last(l) = 0;
  }
  for (int l = 1; l <= n_layers; ++l) {
    PileLayerData.first_node(e, l) = first(l);
    PileLayerData.last_node(e, l) = last(l);
  }
}

void CAP_SOIL_REACTION_3D(double v, double theta_z, double w, double theta_y, double& force_y, double& force_z,
                          double& moment_z, double& moment_y, int& status) {
  const int n = CapPassiveElement.increments;
  PileRowVector along_y, along_z, radial{}, modulus;
  rigid_profile(v, theta_z, along_y);
  rigid_profile(w, -theta_y, along_z);
  for (int j = 1; j <= n + 1; ++j) {
    const int r = row_of(j);
    radial(r) = std::sqrt(along_y(r) * along_y(r) + along_z(r) * along_z(r));
  }
  if (!element_moduli(radial, modulus, status)) return;
  double moment_about_y = 0.0;
  lateral_resultant(along_y, modulus, force_y, moment_z);
  lateral_resultant(along_z, modulus, force_z, moment_about_y);
  // A force along z below the top turns the element negatively about y.
  moment_y = -moment_about_y;
}

void CAP_SOIL_REACTION_2D(double u, double theta, double& force, double& moment, int& status) {
  PileRowVector lateral, modulus;
  rigid_profile(u, theta, lateral);
  if (!element_moduli(lateral, modulus, status)) return;
  lateral_resultant(lateral, modulus, force, moment);
}

}  // namespace pilecap
