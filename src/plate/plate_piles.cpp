// The piles under the plate: every pile head is a point of the plate, and in
// every element pass the plate asks the engine's single-pile analysis for the
// pile's head reaction and tangent at the plate's displacement there. The
// plate lies in the cap's plane X = 0 with x = Z, y = Y, z = -X; a pile head
// is head_x below that plane, so the point's movement reaches the head as a
// rigid offset (translation + rotation x (head_x, 0, 0)) and the head forces
// come back with their moment about the point. T = P O^T carries head forces
// to the point's plate DOFs, T^T the point's displacement to the head. The
// responses of all piles are evaluated once per pass, before the elements, by
// the installed responder (in parallel over piles on the engine's floor);
// the elements then lump them onto their nodes in pile order.
#include <cmath>

#include "base/fio.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"

namespace pilecap {

PlatePileCouplingRecord PlatePileCoupling;

namespace {

PlatePileResponder responder = nullptr;

// DDD    0.12345E-02  0.00000E+00 -0.12345E-02  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* POINT_LAYOUT = "(\"DDD  \",6E13.5)";
constexpr const char* HEAD_LAYOUT = "(\"DD2  \",6E13.5)";
// SS2      1  0.12345E+06  0.00000E+00 ...
constexpr const char* HEAD_ROW_LAYOUT = "(\"SS2  \",I5,6E13.5)";
constexpr const char* PLATE_ROW_LAYOUT = "(\"SS   \",I5,6E13.5)";

constexpr const char* NO_RESPONDER_DETAIL = "    THE PILES OF THE PLATE HAVE NO PILE ANALYSIS TO ASK";
constexpr const char* TOO_MANY_POINTS_DETAIL = "    THE PLATE DATA HOLD MORE PILE POINTS THAN THE MODEL HAS PILES";

bool coupled() { return PlateControl.pile_springs > 0 && PlateControl.NCTSTI > 0; }

// T = P O^T for a head at `depth` below the plate: head forces to the
// point's plate DOFs.
void head_to_plate(double depth, PlateMatrix6& t) {
  PlateMatrix6 p, offset_transposed;
  PLATE_PILE_PERMUTATION(p);
  for (int i = 1; i <= PLATE_NODE_DOFS; ++i) offset_transposed(i, i) = 1.0;
  // Moments about the point of the head forces: (depth, 0, 0) x F.
  offset_transposed(5, 3) = -depth;
  offset_transposed(6, 2) = depth;
  MAT6_TIMES_VECTORS(t.data(), p.data(), offset_transposed.data(), PLATE_NODE_DOFS);
}

PlateMatrix6 transposed(const PlateMatrix6& a) {
  PlateMatrix6 t;
  for (int i = 1; i <= PLATE_NODE_DOFS; ++i) {
    for (int j = 1; j <= PLATE_NODE_DOFS; ++j) t(j, i) = a(i, j);
  }
  return t;
}

// The displacement `u` (by global equation) at the point (xi, eta) of the element.
void point_displacement(int element, double xi, double eta, const Table1<double>& u, const Table1<double>* du,
                        PlateVector6& at_point) {
  QUAD8_SHAPE_FUNCTIONS(xi, eta, PlateControl.NNODE);
  at_point.fill(0.0);
  for (int n = 1; n <= PlateControl.NNODE; ++n) {
    const int node = PlateModel.element_nodes(element, n);
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      const int q = PLATE_EQUATION(node, d);
      const double value = du != nullptr ? u(q) + (*du)(q) : u(q);
      at_point(d) += PlateElementWork.shape(n) * value;
    }
  }
}

// Every pile's head displacement from `u` (+ `du`), its responses, and the
// responses carried back to the plate.
void evaluate_piles(const Table1<double>& u, const Table1<double>* du, int with_stiffness, int& status) {
  if (responder == nullptr) {
    FAIL_PLATE(status, NO_RESPONDER_DETAIL);
    return;
  }
  const int n_points = PlateControl.NCTSTI;
  if (n_points > PileTable.n_piles) {
    FAIL_PLATE(status, TOO_MANY_POINTS_DETAIL);
    return;
  }
  std::vector<PlatePileResponse>& piles = PlatePileCoupling.piles;
  piles.assign(static_cast<std::size_t>(n_points), PlatePileResponse{});
  for (int k = 1; k <= n_points; ++k) {
    PlatePileResponse& r = piles[static_cast<std::size_t>(k - 1)];
    const int element = PlateModel.pile_elements(k);
    if (element == 0) continue;  // in no element: no displacement, never lumped
    point_displacement(element, PlateModel.pile_points(k, 1), PlateModel.pile_points(k, 2), u, du,
                       r.point_displacement);
    PlateMatrix6 t;
    head_to_plate(PileTable.head_x(k), t);
    const PlateMatrix6 t_transposed = transposed(t);
    MULTIPLY_6X6_BY_VECTOR(r.head_displacement.data(), t_transposed.data(), r.point_displacement.data());
  }
  responder(piles, with_stiffness, status);
  if (status != 0) return;
  for (int k = 1; k <= n_points; ++k) {
    PlatePileResponse& r = piles[static_cast<std::size_t>(k - 1)];
    PlateMatrix6 t;
    head_to_plate(PileTable.head_x(k), t);
    MULTIPLY_6X6_BY_VECTOR(r.plate_forces.data(), t.data(), r.head_forces.data());
    if (with_stiffness == 1) {
      PlateMatrix6 t_k, t_transposed = transposed(t);
      MAT6_TIMES_VECTORS(t_k.data(), t.data(), r.head_stiffness.data(), PLATE_NODE_DOFS);
      MAT6_TIMES_VECTORS(r.plate_stiffness.data(), t_k.data(), t_transposed.data(), PLATE_NODE_DOFS);
    }
    r.evaluated = 1;
  }
}

void write_rows(const char* layout, const PlateMatrix6& m) {
  for (int i = 1; i <= PLATE_NODE_DOFS; ++i) {
    PlateVector6 row;
    for (int j = 1; j <= PLATE_NODE_DOFS; ++j) row(j) = m(i, j);
    fio::write(UNIT_PLATE_DEBUG, layout, i, row);
  }
}

bool negligible(double value) { return std::fabs(value) < PLATE_PIVOT_NEGLIGIBLE; }

}  // namespace

void PLATE_PILE_PERMUTATION(PlateMatrix6& p) {
  p.fill(0.0);
  p(PLATE_UX, 3) = 1.0;     // x = Z
  p(PLATE_UY, 2) = 1.0;     // y = Y
  p(PLATE_UZ, 1) = -1.0;    // z = -X
  p(PLATE_ROTX, 5) = -1.0;  // dw/dx = -(rotation about Y)
  p(PLATE_ROTY, 6) = 1.0;   // dw/dy = rotation about Z
  p(PLATE_ROTZ, 4) = -1.0;  // about z = -(rotation about X)
}

void SET_PLATE_PILE_RESPONDER(PlatePileResponder new_responder) { responder = new_responder; }

void PLATE_PILE_RESPONSES(int with_stiffness, int& status) {
  PlatePileCoupling.piles.clear();
  if (!coupled()) return;
  evaluate_piles(PlateModel.ASDIS, &PlateModel.TSDIS, with_stiffness, status);
}

void PLATE_PILE_SPRINGS(int element, int& /*status*/) {
  if (!coupled()) return;
  const std::vector<PlatePileResponse>& piles = PlatePileCoupling.piles;
  PlateMatrix6 p;
  PLATE_PILE_PERMUTATION(p);
  for (int k = 1; k <= static_cast<int>(piles.size()); ++k) {
    if (PlateModel.pile_elements(k) != element) continue;
    const PlatePileResponse& r = piles[static_cast<std::size_t>(k - 1)];
    if (r.evaluated != 1) continue;
    fio::write(UNIT_PLATE_DEBUG, POINT_LAYOUT, r.point_displacement);
    fio::write(UNIT_PLATE_DEBUG, HEAD_LAYOUT, r.head_displacement);
    PlateMatrix6 t, head_rows;
    head_to_plate(PileTable.head_x(k), t);
    MAT6_TIMES_VECTORS(head_rows.data(), t.data(), r.head_stiffness.data(), PLATE_NODE_DOFS);
    write_rows(HEAD_ROW_LAYOUT, head_rows);
    write_rows(PLATE_ROW_LAYOUT, r.plate_stiffness);
    QUAD8_SHAPE_FUNCTIONS(PlateModel.pile_points(k, 1), PlateModel.pile_points(k, 2), PlateControl.NNODE);
    for (int n = 1; n <= PlateControl.NNODE; ++n) {
      const double share = PlateElementWork.shape(n);
      // The tangent of the lumped reaction N_n F(sum_m N_m u_m) is
      // N_n N_m K' for every pair of the element's nodes; a share on the
      // node's own block alone would be negative at the corner nodes that
      // have negative shape functions at the point, and Newton's method
      // then diverges under a stiff pile.
      for (int m = 1; m <= PlateControl.NNODE; ++m) {
        const double pair_share = share * PlateElementWork.shape(m);
        if (pair_share == 0.0) continue;
        for (int c = 1; c <= PLATE_NODE_DOFS; ++c) {
          for (int j = 1; j <= PLATE_NODE_DOFS; ++j) {
            if (negligible(r.plate_stiffness(c, j))) continue;
            PlateElementWork.element_matrix(PLATE_ELEMENT_VARIABLE(n, c), PLATE_ELEMENT_VARIABLE(m, j)) -=
                pair_share * r.plate_stiffness(c, j);
          }
        }
      }
      for (int c = 1; c <= PLATE_NODE_DOFS; ++c) {
        if (negligible(r.plate_forces(c))) continue;
        PlateModel.element_vectors(element, PLATE_ELEMENT_VARIABLE(n, c)) += share * r.plate_forces(c);
      }
    }
  }
}

void PLATE_FINAL_PILE_FORCES(int& status) {
  if (!coupled()) return;
  fio::write_list(UNIT_PLATE_DEBUG, "ITER = ", PlateControl.ITER);
  evaluate_piles(PlateModel.ASDIS, nullptr, 0, status);
  if (status != 0) return;
  for (int k = 1; k <= static_cast<int>(PlatePileCoupling.piles.size()); ++k) {
    const PlatePileResponse& r = PlatePileCoupling.piles[static_cast<std::size_t>(k - 1)];
    fio::write_list(UNIT_PLATE_DEBUG, k);
    fio::write(UNIT_PLATE_DEBUG, POINT_LAYOUT, r.point_displacement);
    fio::write(UNIT_PLATE_DEBUG, HEAD_LAYOUT, r.head_displacement);
  }
}

}  // namespace pilecap
