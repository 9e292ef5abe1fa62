// The embedded cap: the passive resistance of the soil against the sides
// of a cap set into the ground, by the means of the piles (method 0) or by a
// vertical element with p-y springs (method 1), in space and in the plane.
#pragma once

#include "base/arrays.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

// Methods of the embedded cap's passive resistance (CapPassiveElement.method).
constexpr int PASSIVE_BY_MEANS = 0;
constexpr int PASSIVE_BY_ELEMENT = 1;

// ------------------------------------------------ embedded cap (passive)

// The embedded-cap element is entry n_piles + 1 of PileTable, a vertical
// element from the cap's top (head_x = d0) down over the cap thickness L
// (CapPassiveElement.length) in n = CapPassiveElement.increments equal
// increments h = L / n; its property set is the one after the input sets.
// None of these routines may run inside a parallel loop.

// CAP_ELEMENT_NODES
// Lays out the element's nodes (node j at d0 + (j - 1) h, accumulated) and
// the nodes of each soil layer, at most one layer opening per node; layers
// the element does not reach get 0 and 0. Without soil layers there are no
// ranges (the element has no springs).
//   Reads:  PileTable (n_piles, head_x of the element), CapPassiveElement,
//           SoilProfile (num_layers, layer_top, layer_bottom)
//   Writes: PileNodes (depth, axial_x) and PileLayerData node ranges of the
//           element, CapPassiveElement.head_depth, the sentinel
//           SoilProfile.layer_top(num_layers + 1)
//   out:    status  STATUS_OK, or STATUS_PILE_BELOW_DEEPEST_LAYER (with the
//                   fatal block on the results report and the run log) when
//                   a node lies below the deepest layer
void CAP_ELEMENT_NODES(int& status);

// CAP_SOIL_REACTION_3D
// The soil's resultant on the element for a rigid movement of its top, in
// its axes: Y_j = v + theta_z s_j, Z_j = w - theta_y s_j; one secant modulus
// per node at the radial displacement (the p-y curves of the cap width), so
// each reaction lies along its node's displacement; trapezoidal sums.
//   in:     v, theta_z, w, theta_y
//   out:    force_y, force_z, and the moments moment_z, moment_y about the
//           top; untouched when the springs fail
//   in,out: status  the p-y machinery's code
void CAP_SOIL_REACTION_3D(double v, double theta_z, double w, double theta_y, double& force_y, double& force_z,
                          double& moment_z, double& moment_y, int& status);

// CAP_SOIL_REACTION_2D
// The same in the plane: y_j = u + theta s_j; F = -sum w E y, M = -sum w a E y.
void CAP_SOIL_REACTION_2D(double u, double theta, double& force, double& moment, int& status);

// CAP_ELEMENT_FORCE
// The element's reaction at its top in cap axes for the displacement of its
// top in cap axes: no axial and no torsional part.
//   out: f (6); in: u (6); in,out: status (f 0 on failure)
void CAP_ELEMENT_FORCE(double* f, const double* u, int& status);

// CAP_PASSIVE_FORCE
// The element's reaction at the cap origin for the cap displacement u at the
// origin, in the order and sign convention of the group force vector.
//   out: passive (6; 0 on failure); in: u (6, unchanged); in,out: status
void CAP_PASSIVE_FORCE(double* passive, const double* u, int& status);

// CAP_PASSIVE_STIFFNESS
// The 6 x 6 tangent of CAP_PASSIVE_FORCE by central differences, steps 1e-7
// in (2.54e-9 m) and 1e-11 rad, shrunk against the last increment du unless
// fixed_steps is 1 (SCALE_DIFFERENCE_STEPS). A failing evaluation ends it.
//   out: k (36, valid only when status stays 0); in: u, du (6 each, unchanged),
//   iteration (1 for the first of a step), fixed_steps; in,out: status
void CAP_PASSIVE_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps, int& status);

// CAP_PASSIVE_FORCE_2D
// The element's reaction at the origin of the plane model, (X, Y, RZ), for
// the cap displacement u there; the element's row transform from its
// batter, head depth and plan position.
//   out: passive (3; 0 on failure); in: u (3, unchanged); in,out: status
void CAP_PASSIVE_FORCE_2D(double* passive, const double* u, int& status);

// CAP_PASSIVE_RESULTANT
// The passive resistance by the means of the piles: FVEC at u refreshes the
// piles' ground lines and head reactions; with the cap embedded (mean
// ground line below -1e-6) a trapezoidal pressure over the embedded height,
// split between Y and Z by the shares of the horizontal movement and
// opposing it; nothing without horizontal movement.
//   Writes: what FVEC writes, CapPassiveState
//   out: passive (6); in: u (6); in,out: status  FVEC's code
void CAP_PASSIVE_RESULTANT(double* passive, const double* u, int& status);

// CAP_PASSIVE_RESULTANT_STIFFNESS
// Its tangent by central differences with the steps of the head tangents;
// every evaluation is made whatever the status word holds.
void CAP_PASSIVE_RESULTANT_STIFFNESS(double* k, const double* u, const double* du, int iteration, int fixed_steps,
                                     int& status);

// ---------------------------------------------------- embedded cap in 2D

// The embedded cap's resistance at one state: C at the origin (force X,
// force Y, moment Z) and, for the report, the horizontal load and its depth.
struct CapPassive2D {
  Array1<double, CAP_DOFS_2D> force{};
  double load = 0.0;
  double position = 0.0;
};

// CAP_PASSIVE_MEANS_2D
// The mean soil state the resistance of method 0 uses: the mean over pile
// rows of PileSoilData.ground_line and of PileSoilData.first_node_reaction,
// as the base force evaluation left them.
void CAP_PASSIVE_MEANS_2D(double& ground_line, double& reaction);

// CAP_PASSIVE_BY_MEANS_2D
// Method 0 (RunOptions.cap_passive_option 1): the soil pressure on the cap
// face as a triangle from the ground line (mean g below the cap top when
// negative) to the mean first-node reaction p, cut to a trapezoid at the
// cap's thickness, acting against the sign of U2; the moment about the
// origin with the cap bottom at the last row's head depth. No resistance
// when g >= -1e-6, for a larger cap option or for a cap that does not move
// sideways (|U2| <= 1e-14; then L = 0, z = head depth).
//   in: u (3, only the sign of U2 is read), ground_line g, reaction p
//   out: passive
void CAP_PASSIVE_BY_MEANS_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive);

// CAP_PASSIVE_2D
// The resistance of the model's method at u: method 0 with the given means,
// method 1 from CAP_PASSIVE_FORCE_2D (0 when it fails, its code then in
// status), no resistance for any other method or without an embedded cap.
//   in: u (3), ground_line, reaction (the means of the base evaluation)
//   out: passive; in,out: status
void CAP_PASSIVE_2D(const double* u, double ground_line, double reaction, CapPassive2D& passive, int& status);

}  // namespace pilecap
