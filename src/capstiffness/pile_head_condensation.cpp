// The head stiffness of one pile from its linear model: beam-column
// elements along the pile axis on the secant lateral node springs, walked
// from the tip up and condensed node by node onto the head (the Schur
// complement of the lower node's block, without pivot search), then the
// head connection and the secant axial and torsional head springs. Element
// DOFs: the lower node (axial, lateral y, lateral z, torsion, rotations
// about y and z; 2D: axial, lateral, rotation), then the upper node; every
// matrix is column-major, 1-based through the array templates. Nodes are
// 1 (head) .. n + 1 (tip) as in PileNodes and EquivalentSprings.
#include <algorithm>

#include "base/arrays.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"

namespace pilecap {

namespace {

constexpr int ELEMENT_DOFS_3D = 12;
constexpr int ELEMENT_DOFS_2D = 6;
constexpr int NODE_DOFS_3D = 6;
constexpr int NODE_DOFS_2D = 3;
// The axial and torsional chains carry unit rigidities: only the head
// springs replace their terms.
constexpr double UNIT_RIGIDITY = 1.0;
constexpr int GEOMETRIC_TERMS = 1;
constexpr int CONNECTION_PINNED = 1;  // head connection codes of PileTable.conn_zz / conn_yy
constexpr int CONNECTION_SPRING = 3;

using Element3D = Array2<double, ELEMENT_DOFS_3D, ELEMENT_DOFS_3D>;
using Element2D = Array2<double, ELEMENT_DOFS_2D, ELEMENT_DOFS_2D>;
using Node3D = Array2<double, NODE_DOFS_3D, NODE_DOFS_3D>;
using Node2D = Array2<double, NODE_DOFS_2D, NODE_DOFS_2D>;
using NodeValues = Array1<double, PILE_NODE_ROWS>;

// Entry (i, j) and its mirror.
template <class M>
void set_symmetric(M& m, int i, int j, double v) {
  m(i, j) = v;
  m(j, i) = v;
}

// The head connection of one bending plane on the carried matrix c:
// rotation r, its lateral partner t.
template <class M>
void apply_connection(M& c, int n, int code, double spring, int r, int t) {
  const bool pinned = code == CONNECTION_PINNED || (code == CONNECTION_SPRING && spring == 0.0);
  if (pinned) {
    // A zero rotational term has nothing to condense: only its row and
    // column go.
    const double crr = c(r, r);
    if (crr != 0.0) {
      for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
          if (i != r && j != r) c(i, j) -= c(i, r) * c(r, j) / crr;
        }
      }
    }
    for (int k = 1; k <= n; ++k) c(r, k) = c(k, r) = 0.0;
    return;
  }
  if (code != CONNECTION_SPRING) return;
  // The spring in series with the pile head.
  const double denominator = c(r, r) + spring;
  if (denominator == 0.0) {
    for (int k = 1; k <= n; ++k) c(r, k) = c(k, r) = 0.0;
    return;
  }
  c(t, t) -= c(t, r) * c(r, t) / denominator;
  c(t, r) = c(t, r) * spring / denominator;
  c(r, t) = c(r, t) * spring / denominator;
  c(r, r) = c(r, r) * spring / denominator;
}

// The bending rigidity at node j: that of the node above it (node 1 for
// nodes 1 and 2). The node's axial coordinate is the one the lateral
// solutions read the sections at, also for a battered 2D pile.
template <class Rigidity>
void node_rigidities(int pile, int n, NodeValues& ei, Rigidity rigidity) {
  const int set = PileTable.prop(pile);
  for (int j = 1; j <= n + 1; ++j) ei(j) = rigidity(pile, set, PileNodes.axial_x(pile, std::max(j - 1, 1)));
}

}  // namespace

void BEAM_COLUMN_STIFFNESS_3D(double ei_zz, double ei_yy, double ea, double gj, double length, double axial_force,
                              int flag, double* element_matrix) {
  Element3D k{};
  const double l = length, l2 = length * length, l3 = l2 * length;
  const double p = flag == GEOMETRIC_TERMS ? axial_force : 0.0;
  set_symmetric(k, 1, 1, ea / l);
  set_symmetric(k, 7, 7, ea / l);
  set_symmetric(k, 1, 7, -ea / l);
  set_symmetric(k, 4, 4, gj / l);
  set_symmetric(k, 10, 10, gj / l);
  set_symmetric(k, 4, 10, -gj / l);
  // Bending about z: lateral y (2, 8) with rotation z (6, 12).
  set_symmetric(k, 2, 2, 12.0 * ei_zz / l3 - p / l);
  set_symmetric(k, 8, 8, 12.0 * ei_zz / l3 - p / l);
  set_symmetric(k, 2, 8, -12.0 * ei_zz / l3 + p / l);
  set_symmetric(k, 2, 6, -6.0 * ei_zz / l2 + p / 10.0);
  set_symmetric(k, 2, 12, -6.0 * ei_zz / l2 + p / 10.0);
  set_symmetric(k, 6, 8, 6.0 * ei_zz / l2 - p / 10.0);
  set_symmetric(k, 8, 12, 6.0 * ei_zz / l2 - p / 10.0);
  set_symmetric(k, 6, 6, 4.0 * ei_zz / l - 2.0 * p * l / 15.0);
  set_symmetric(k, 12, 12, 4.0 * ei_zz / l - 2.0 * p * l / 15.0);
  set_symmetric(k, 6, 12, 2.0 * ei_zz / l + p * l / 30.0);
  // Bending about y: lateral z (3, 9) with rotation y (5, 11).
  set_symmetric(k, 3, 3, 12.0 * ei_yy / l3 - p / l);
  set_symmetric(k, 9, 9, 12.0 * ei_yy / l3 - p / l);
  set_symmetric(k, 3, 9, -12.0 * ei_yy / l3 + p / l);
  set_symmetric(k, 3, 5, 6.0 * ei_yy / l2 - p / 10.0);
  set_symmetric(k, 3, 11, 6.0 * ei_yy / l2 - p / 10.0);
  set_symmetric(k, 5, 9, -6.0 * ei_yy / l2 + p / 10.0);
  set_symmetric(k, 9, 11, -6.0 * ei_yy / l2 + p / 10.0);
  set_symmetric(k, 5, 5, 4.0 * ei_yy / l - 2.0 * p * l / 15.0);
  set_symmetric(k, 11, 11, 4.0 * ei_yy / l - 2.0 * p * l / 15.0);
  set_symmetric(k, 5, 11, 2.0 * ei_yy / l + p * l / 30.0);
  std::copy(k.data(), k.data() + ELEMENT_DOFS_3D * ELEMENT_DOFS_3D, element_matrix);
}

void BEAM_COLUMN_STIFFNESS_2D(double ei, double ea, double length, double axial_force, int flag,
                              double* element_matrix) {
  Element3D full;
  BEAM_COLUMN_STIFFNESS_3D(ei, 0.0, ea, 0.0, length, axial_force, flag, full.data());
  // Axial, lateral y and rotation z of each node.
  constexpr int PLANE_DOFS[ELEMENT_DOFS_2D] = {1, 2, 6, 7, 8, 12};
  Element2D k;
  for (int j = 1; j <= ELEMENT_DOFS_2D; ++j) {
    for (int i = 1; i <= ELEMENT_DOFS_2D; ++i) k(i, j) = full(PLANE_DOFS[i - 1], PLANE_DOFS[j - 1]);
  }
  std::copy(k.data(), k.data() + ELEMENT_DOFS_2D * ELEMENT_DOFS_2D, element_matrix);
}

void STATIC_CONDENSATION(double* matrix, double* reduced, int n, int m, int& singular) {
  auto a = [&](int r, int c) -> double& { return matrix[(r - 1) + n * (c - 1)]; };
  singular = 0;
  std::fill(reduced, reduced + m * m, 0.0);
  const int eliminated = n - m;
  for (int i = 1; i <= eliminated; ++i) {
    const double pivot = a(i, i);
    if (pivot == 0.0) {
      singular = 1;
      return;
    }
    for (int j = i + 1; j <= n; ++j) {
      const double g = -a(i, j) / pivot;
      for (int r = i; r <= n; ++r) a(r, j) += g * a(r, i);
    }
  }
  for (int c = 1; c <= m; ++c) {
    for (int r = 1; r <= m; ++r) reduced[(r - 1) + m * (c - 1)] = a(eliminated + r, eliminated + c);
  }
}

void CONDENSE_PILE_HEAD_MATRIX_3D(int pile, int geometric_flag, int& /*status*/, double* head_matrix) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double length = PileProperty.increment(set);
  const double axial_force = EquivalentSprings.axial_force(pile);
  NodeValues ei_zz, ei_yy;
  node_rigidities(pile, n, ei_zz, SECTION_EI_ZZ_AT);
  node_rigidities(pile, n, ei_yy, SECTION_EI_YY_AT);

  Node3D c{};
  Element3D e;
  for (int k = 1; k <= n; ++k) {
    const int upper = n + 1 - k;
    BEAM_COLUMN_STIFFNESS_3D(0.5 * (ei_zz(upper) + ei_zz(upper + 1)), 0.5 * (ei_yy(upper) + ei_yy(upper + 1)),
                             UNIT_RIGIDITY, UNIT_RIGIDITY, length, axial_force, geometric_flag, e.data());
    for (int j = 1; j <= NODE_DOFS_3D; ++j) {
      for (int i = 1; i <= NODE_DOFS_3D; ++i) e(i, j) += c(i, j);
    }
    if (k == 1) {
      e(2, 2) += EquivalentSprings.node_spring(pile, n + 1);
      e(3, 3) += EquivalentSprings.node_spring(pile, n + 1);
    }
    e(8, 8) += EquivalentSprings.node_spring(pile, upper);
    e(9, 9) += EquivalentSprings.node_spring(pile, upper);
    int singular = 0;
    STATIC_CONDENSATION(e.data(), c.data(), ELEMENT_DOFS_3D, NODE_DOFS_3D, singular);
  }
  apply_connection(c, NODE_DOFS_3D, PileTable.conn_zz(pile), PileTable.spring_zz(pile), 6, 2);
  apply_connection(c, NODE_DOFS_3D, PileTable.conn_yy(pile), PileTable.spring_yy(pile), 5, 3);
  c(1, 1) = EquivalentSprings.axial_stiffness(pile);
  c(4, 4) = EquivalentSprings.torsional_stiffness(pile);
  std::copy(c.data(), c.data() + NODE_DOFS_3D * NODE_DOFS_3D, head_matrix);
}

void CONDENSE_PILE_HEAD_MATRIX_2D(int pile, int geometric_flag, int& /*status*/, double* head_matrix) {
  const int set = PileTable.prop(pile);
  const int n = PileProperty.n_increments(set);
  const double length = PileProperty.increment(set);
  const double axial_force = EquivalentSprings.axial_force(pile);
  NodeValues ei;
  node_rigidities(pile, n, ei, SECTION_EI_ZZ_AT);

  Node2D c{};
  Element2D e;
  for (int k = 1; k <= n; ++k) {
    const int upper = n + 1 - k;
    BEAM_COLUMN_STIFFNESS_2D(0.5 * (ei(upper) + ei(upper + 1)), UNIT_RIGIDITY, length, axial_force, geometric_flag,
                             e.data());
    for (int j = 1; j <= NODE_DOFS_2D; ++j) {
      for (int i = 1; i <= NODE_DOFS_2D; ++i) e(i, j) += c(i, j);
    }
    if (k == 1) e(2, 2) += EquivalentSprings.node_spring(pile, n + 1);
    e(5, 5) += EquivalentSprings.node_spring(pile, upper);
    int singular = 0;
    STATIC_CONDENSATION(e.data(), c.data(), ELEMENT_DOFS_2D, NODE_DOFS_2D, singular);
  }
  apply_connection(c, NODE_DOFS_2D, PileTable.conn_zz(pile), PileTable.spring_zz(pile), 3, 2);
  c(1, 1) = EquivalentSprings.axial_stiffness(pile);
  std::copy(c.data(), c.data() + NODE_DOFS_2D * NODE_DOFS_2D, head_matrix);
}

}  // namespace pilecap
