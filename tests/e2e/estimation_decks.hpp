// Decks of the cap estimations (flexibility and stiffness), built on the
// 3D deck builder: a group of three vertical piles on linear springs (or
// in soft clay) and the rewriting of a deck's first case into a case of
// another analysis kind with its list of point values.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "group/group_forces.hpp"
#include "tests/e2e/deck_3d.hpp"

namespace pilecap::testing {

using Matrix = std::array<std::array<double, 6>, 6>;

// The group's stiffness at rest in the model as it stands: in 3D -dF/dU of
// the pile reactions (STIFF at U = 0), in the plane dF/dU of the rows'
// resistance (X, Y, rotation Z; the rest zero). Taken from a run-end hook,
// when a case has ended.
inline Matrix group_stiffness_at_rest(int dimension) {
  Matrix m{};
  int status = 0;
  if (dimension == 3) {
    double k[36], zero[6] = {}, du[6] = {};
    STIFF(k, zero, du, 1, 1, status);
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 6; ++j) m[i][j] = -k[i + 6 * j];
    }
    return m;
  }
  double k[9], zero[3] = {};
  CAP_TANGENT_2D(k, zero, status);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m[i][j] = k[i + 3 * j];
  }
  return m;
}

constexpr int SOFT_CLAY_CODE = 1;
constexpr int ELASTIC_SUBGRADE_CODE = 12;

// The deck's first case with the case line 4 given (analysis kind and its
// flags) and the point values of the list.
inline std::string with_point_values(std::string deck, const std::string& case_line,
                                     const std::vector<double>& values) {
  const std::string plain = "CASE 1\n1 0 0 0 0 0 0 0\n";
  const std::size_t at = deck.find(plain);
  deck.replace(at, plain.size(), "CASE 1\n" + case_line + "\n");
  // After the concentrated loads: distributed loads, then the point values.
  const std::string lists = "\n0\n0\n0\n0 0 0 0 0 0 0 0\n0\n";
  std::string text = "\n0\n" + std::to_string(values.size()) + "\n";
  for (double value : values) text.append(deck_number(value)).append("\n");
  text.append("0\n0 0 0 0 0 0 0 0\n0\n");
  deck.replace(deck.find(lists, at), lists.size(), text);
  return deck;
}

// Three vertical piles on linear springs (or in soft clay), in English
// units or as its SI twin, loaded in every DOF.
inline Deck3D linear_group(int units, bool soft_clay = false) {
  const bool si = units == DECK_SI;
  const double ft = si ? 0.3048 : 1.0, in = si ? 25.4 : 1.0, lb = si ? 0.0044482216152605 : 1.0;
  const double psi = si ? 6.894757293168361 : 1.0, pcf = si ? 0.15708746 : 1.0, pci = si ? 271.4471375263 : 1.0;
  const double psf = si ? 0.04788025898 : 1.0;
  const double lb_per_in = si ? 0.175126835 : 1.0, lb_in = si ? 0.000112984829 : 1.0, lb_in2 = si ? 2.869881e-6 : 1.0;
  Deck3D d;
  d.units = units;
  d.piles = {{-5 * ft, -3 * ft}, {5 * ft, -3 * ft}, {0.0, 6 * ft}};
  d.ground = -1e-6 * ft;
  d.length = 40 * ft;
  d.increments = 40;
  d.diameter = 24 * in;
  d.inner_diameter = 23 * in;
  d.area = 36.9 * in * in;
  d.inertia = 2549.0 * in * in * in * in;
  d.modulus = 29e6 * psi;
  d.shear_modulus = 11.6e6 * psi;
  d.gj = 5.91e10 * lb_in2;
  d.perimeter = 75.4 * in;
  d.layers = {{ELASTIC_SUBGRADE_CODE, -1e-6 * ft, 80 * ft, {56 * pcf, 0, 0, 100 * pci, 0, 0, 0}}};
  if (soft_clay) {
    // Soft clay from the heads down.
    d.ground = 0.0;
    d.layers = {{SOFT_CLAY_CODE, 0.0, 80 * ft, {56 * pcf, 700 * psf, 0, 100 * pci, 0, 0.01, 0.5}}};
  }
  d.axial_stiffness = 2e6 * lb_per_in;
  d.axial_reach = si ? 10 * 0.0254 : 10.0;
  d.torsion_stiffness = 1e10 * lb_in;
  d.llp_tolerance = si ? 1e-7 * 0.0254 : 1e-7;
  d.cases = {{.fx = 100000 * lb,
              .fy = 10000 * lb,
              .fz = 8000 * lb,
              .mx = 2e5 * lb_in,
              .my = 1e6 * lb_in,
              .mz = 1.2e6 * lb_in}};
  return d;
}

}  // namespace pilecap::testing
