// Input decks of 2D models (pile rows in the plane of a bent) for whole runs:
// rows of identical elastic pipe piles of one property set, fixed or pinned
// to a rigid cap, battered in the plane, a straight user load-settlement
// curve, soil layers of any code, load cases of concentrated loads at the
// origin (vertical, horizontal, moment) and combinations; and the planar 3D
// twin of such a model (every row's piles side by side out of the plane).
// A deck may carry reduction factors for close spacing, user p-y curves and
// load cases whose loads are prescribed at a point.
// Values are written in the deck's own units, as deck_3d.hpp says.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/deck_3d.hpp"

namespace pilecap::testing {

struct DeckRow2D {
  double x = 0.0, y = 0.0;  // head depth and plan position (ft or m)
  double batter = 0.0;      // degrees from the vertical towards +Y
  int identical = 1;
  int conn = CONN_FIXED_HEAD;
  double spacing = 0.0;  // between the piles of the row (ft or m; reduction factors)
};

struct DeckCase2D {
  double fx = 0.0, fy = 0.0, mz = 0.0;  // vertical and horizontal load, moment, at the origin
  int threads = 0;
  double initial_step = 1.0;
  bool loads_at_point = false;  // the loads prescribed at a point (the origin), every DOF load-given
};

struct Deck2D {
  int units = DECK_ENGLISH;
  int kips = 0;
  std::string title = "2D BENT";
  std::vector<DeckRow2D> rows;
  double ground = 0.0;
  double length = 60.0;
  int increments = 60;
  double diameter = 24.0, inner_diameter = 23.0, area = 36.9, inertia = 2549.0, modulus = 29e6, shear_modulus = 11.6e6,
         perimeter = 75.4;
  std::vector<DeckLayer3D> layers;
  double axial_stiffness = 1e6;
  double axial_reach = 10.0;
  std::vector<DeckCase2D> cases;
  std::vector<DeckCombination3D> combinations;
  int combination_envelopes = 0;  // 1: print the combination envelopes (pile tops and node tables)
  double tolerance = 1e-8;
  double llp_tolerance = 1e-9;
  double min_step = 0.01;  // smallest load step of every case
  int print_option = 1;
  // An embedded cap (option 3): its dimensions (ft or m) and, for option 2,
  // its method and increments.
  int cap_passive_option = 0;
  double cap_length = 0.0, cap_width = 0.0, cap_thickness = 0.0, cap_diameter = 0.0;
  int passive_method = 0, passive_increments = 2;
  // Reduction factors for closely spaced piles (option 8), one user p-y
  // curve set (read when not empty) and the set every row names, and the
  // iteration limit of the cap solution.
  int pmult_method = 0;
  std::vector<DeckPyCurve3D> py_curves;
  int py_set = 0;
  int max_iterations = 200;
  std::vector<DeckMovement3D> movement_profile;  // the soil movement profile (Y only in the plane)
};

inline std::string deck_2d(const Deck2D& d) {
  const std::string flags = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  auto n = [](double v) { return deck_number(v); };
  const std::string print = std::to_string(d.print_option);
  std::string deck = d.title + "\nWHOLE-RUN TEST DECK IN THE PLANE\nOPTIONS\n";
  const int user_py = d.py_curves.empty() ? 0 : 1;
  deck.append(std::to_string(d.units)).append(" 2 ").append(std::to_string(d.cap_passive_option));
  deck.append(" 0 ").append(std::to_string(user_py)).append(" 1 0 ").append(std::to_string(d.pmult_method));
  deck.append(" 0 0 0 0 0 0 0 0 0 0 0 ");
  deck.append(std::to_string(d.kips)).append(d.movement_profile.empty() ? " 0 0 0 0" : " 0 1 0 0");
  deck.append("\nPILE CAP\n");
  deck.append(n(d.cap_length) + " " + n(d.cap_width) + " " + n(d.cap_thickness) + " " + n(d.cap_diameter) + " 0 0\n");
  if (d.cap_passive_option == 2) {
    deck.append(std::to_string(d.passive_method) + " " + std::to_string(d.passive_increments) + "\n");
  }
  deck.append("LOAD CASES\n");
  deck.append(std::to_string(d.cases.size())).append(" 0 0 0 0\n");
  for (std::size_t k = 0; k < d.cases.size(); ++k) {
    const DeckCase2D& c = d.cases[k];
    deck.append("0 0 ").append(std::to_string(c.threads)).append(" 1 100 ");
    deck.append(std::to_string(d.max_iterations)).append(" 200\n");
    deck.append(n(d.tolerance) + " " + n(d.llp_tolerance) + " " + n(c.initial_step) + " " + n(d.min_step) + "\n");
    deck.append("CASE ").append(std::to_string(k + 1)).append("\n");
    deck.append("1 0 0 0 0 0 0 ").append(c.loads_at_point ? "1" : "0").append("\n");
    deck.append(print).append(" 1 1.0 0 0 0 0 0 0 0 0\n0\n").append(flags);
    deck.append("1\n").append(n(c.fx)).append(" ").append(n(c.fy)).append(" ").append(n(c.mz)).append(" 0 0 0 0 0 0\n");
    deck.append("0\n0\n");
    if (c.loads_at_point) {
      deck.append("1 1 1 1 1 1\n0 " + n(c.fx) + " 0 " + n(c.fy) + " 0 " + n(c.mz) + "\n0 0 0 0 0 0\n0 0 0\n");
    }
    deck.append("0\n0 0 0 0 0 0 0 0\n0\n");
  }
  deck.append("LOAD COMBINATIONS\n").append(std::to_string(d.combinations.size())).append(" ");
  deck.append(d.combination_envelopes == 1 ? "1 2 1 0\n" + flags : std::string("0 0 0 0\n"));
  for (std::size_t k = 0; k < d.combinations.size(); ++k) {
    const DeckCombination3D& c = d.combinations[k];
    deck.append("0 0 0 1 100 200 200\n").append(n(d.tolerance) + " " + n(d.llp_tolerance) + " 1.0 0.01\n");
    deck.append("COMBINATION ").append(std::to_string(k + 1)).append("\n");
    deck.append("1 1 ").append(std::to_string(c.members.size())).append("\n");
    deck.append(print)
        .append(" 1 0 0 0 0 0 0\n0\n")
        .append(flags)
        .append(std::to_string(c.members.size()))
        .append("\n");
    for (const auto& [member, factor] : c.members) deck.append(std::to_string(member) + " " + n(factor) + "\n");
  }
  deck.append("DISTRIBUTED LOAD SETS\n0\nSOIL MOVEMENT SETS\n0\nPILE ARRANGEMENT\n");
  deck.append(std::to_string(d.rows.size())).append("\n");
  for (const DeckRow2D& r : d.rows) {
    deck.append(std::to_string(r.conn) + " " + std::to_string(r.identical) + " 1 " + std::to_string(d.py_set) +
                " 1 0 0\n0 " + n(r.spacing) + " 1 1 1\n");
    deck.append(n(r.x) + " " + n(r.y) + " " + n(r.batter) + " " + n(d.ground) + "\n");
  }
  deck.append("PROPERTY SETS\n1\n1 1\n").append(std::to_string(d.increments)).append(" ").append(n(d.length));
  deck.append(" 1\n0 ").append(n(d.length)).append(" 1\n");
  deck.append("CROSS SECTIONS\n1\n1 1 1 0\n'PIPE'\n");
  deck.append(n(d.diameter)).append(" ").append(n(d.inner_diameter)).append(" 0 0 0 0 0 0\n");
  deck.append(n(d.shear_modulus) + " " + n(d.area) + " " + n(d.inertia) + " " + n(d.inertia) + " 0 0 0 0 " +
              n(d.modulus) + " 0 " + n(d.perimeter) + " 0 0 0 0\n");
  deck.append("0 0 0 0 0 0\n'NONE'\n");
  deck.append(deck_soil_sections(d.layers, d.py_curves));
  const double reach = d.axial_reach;
  deck.append("GENERATED LOAD-SETTLEMENT CURVES\n0\n");
  deck.append("USER LOAD-SETTLEMENT CURVES\n1\n1 3\n");
  deck.append(n(-d.axial_stiffness * reach) + " " + n(-reach) + "\n0 0\n" + n(d.axial_stiffness * reach) + " " +
              n(reach) + "\n");
  deck.append("MOMENT-CURVATURE SETS\n0\nSECTION MOMENT-CURVATURE CURVES\n0\nSECTION BILINEAR DATA\n0\n");
  if (!d.movement_profile.empty()) {
    deck.append("SOIL MOVEMENT PROFILE\n").append(std::to_string(d.movement_profile.size())).append("\n");
    for (const DeckMovement3D& m : d.movement_profile) deck.append(n(m.depth) + " " + n(m.y) + " " + n(m.z) + "\n");
  }
  return deck;
}

// Three rows of three identical piles 60 ft long, 6 ft apart and battered
// -14, 0, +14 degrees, in soft clay over sand on a load-settlement line of
// capacity 1e6 lb/in x reach; cap tolerance 1e-8, pile tolerance 1e-9.
inline Deck2D plane_bent() {
  Deck2D d;
  d.rows = {{0.0, -6.0, -14.0, 3}, {0.0, 0.0, 0.0, 3}, {0.0, 6.0, 14.0, 3}};
  d.length = 60.0;
  d.increments = 60;
  d.layers = {{1, 0.0, 15.0, {56, 700, 0, 100, 0, 0.01, 0.5}}, {4, 15.0, 80.0, {62, 0, 35, 90, 0, 0, 0}}};
  d.axial_stiffness = 1e6;
  d.tolerance = 1e-8;
  d.llp_tolerance = 1e-9;
  return d;
}

// That bent under a cap 16 x 24 ft, 3 ft thick, cast into the ground (the
// ground line and the clay's top 3 ft above the pile heads), resisting by
// the means of the piles' reactions on their own user p-y curves.
inline Deck2D embedded_plane_bent() {
  Deck2D d = plane_bent();
  d.ground = -3.0;
  d.layers[0].top = -3.0;
  d.cap_length = 16.0;
  d.cap_width = 24.0;
  d.cap_thickness = 3.0;
  d.cap_diameter = 24.0;
  d.cap_passive_option = 1;
  d.py_set = 1;
  d.py_curves = {{-3.0, {{0, 0}, {60, 0.1}, {120, 0.5}, {160, 2.0}, {170, 20.0}}},
                 {80.0, {{0, 0}, {600, 0.1}, {1200, 0.5}, {1600, 2.0}, {1700, 20.0}}}};
  return d;
}

// The planar 3D twin: every row becomes its identical piles side by side
// along Z (spacing apart, symmetric about Z = 0), each battered in the X-Y
// plane as the row; loads FX, FY and MZ.
inline Deck3D planar_twin(const Deck2D& d, double spacing) {
  Deck3D t;
  t.units = d.units;
  t.kips = d.kips;
  t.title = d.title;
  for (const DeckRow2D& r : d.rows) {
    for (int k = 0; k < r.identical; ++k) {
      const double apart = r.spacing > 0.0 ? r.spacing : spacing;
      t.piles.push_back({r.y, apart * (k - 0.5 * (r.identical - 1)), r.x, 90.0 - r.batter});
    }
  }
  t.ground = d.ground;
  t.length = d.length;
  t.increments = d.increments;
  t.diameter = d.diameter;
  t.inner_diameter = d.inner_diameter;
  t.area = d.area;
  t.inertia = d.inertia;
  t.modulus = d.modulus;
  t.shear_modulus = d.shear_modulus;
  t.perimeter = d.perimeter;
  t.layers = d.layers;
  t.axial_stiffness = d.axial_stiffness;
  t.axial_reach = d.axial_reach;
  for (const DeckCase2D& c : d.cases)
    t.cases.push_back(
        {.fx = c.fx, .fy = c.fy, .mz = c.mz, .initial_step = c.initial_step, .loads_at_point = c.loads_at_point});
  t.combinations = d.combinations;
  t.tolerance = d.tolerance;
  t.llp_tolerance = d.llp_tolerance;
  t.cap_passive_option = d.cap_passive_option;
  t.cap_length = d.cap_length;
  t.cap_width = d.cap_width;
  t.cap_thickness = d.cap_thickness;
  t.cap_diameter = d.cap_diameter;
  t.passive_method = d.passive_method;
  t.passive_increments = d.passive_increments;
  t.pmult_method = d.pmult_method;
  t.py_curves = d.py_curves;
  t.py_set = d.py_set;
  t.max_iterations = d.max_iterations;
  t.min_step = d.min_step;
  t.movement_profile = d.movement_profile;
  return t;
}

// The user p-y curves a family's layer of code 5 takes (the layer's set, not
// the piles' own): stiffening with depth down to 40 ft, p (lb/in) at y (in)
// of 0, 0.2, 1 and 4 in.
inline void take_layer_py_curves(Deck2D& d) {
  for (double depth : {0.0, 20.0, 40.0}) {
    const double s = 1.0 + depth / 20.0;
    DeckPyCurve3D curve{depth, {}};
    for (auto [p, y] : {std::pair{0.0, 0.0}, {400.0, 0.2}, {1000.0, 1.0}, {1500.0, 4.0}}) {
      curve.points.push_back({s * p, y});
    }
    d.py_curves.push_back(curve);
  }
  d.py_set = -1;
}

// The pile groups the whole-run families start from, as rows in the plane:
// one row of one pile; two rows of two vertical piles 4 ft apart; a bent of
// a vertical row of one pile between rows of two battered 14 degrees outward
// 6 ft away; a pair 6 ft apart battered 14 degrees outward; and a group
// whose space layout is its own (a 2 x 2 battered outward in both plan
// directions), which in the plane is the single row.
enum class FamilyGroup { single, square, bent, pair, splayed };

inline const char* family_group_name(FamilyGroup g) {
  switch (g) {
    case FamilyGroup::single:
      return "single pile";
    case FamilyGroup::square:
      return "2 x 2";
    case FamilyGroup::bent:
      return "bent";
    case FamilyGroup::pair:
      return "battered pair";
    case FamilyGroup::splayed:
      return "2 x 2 battered both ways";
  }
  return "";
}

// The group's rows, every head connected by head (CONN_).
inline std::vector<DeckRow2D> family_rows(FamilyGroup g, int head) {
  std::vector<DeckRow2D> rows;
  switch (g) {
    case FamilyGroup::single:
    case FamilyGroup::splayed:
      rows = {{0.0, 0.0, 0.0, 1}};
      break;
    case FamilyGroup::square:
      rows = {{0.0, -2.0, 0.0, 2}, {0.0, 2.0, 0.0, 2}};
      break;
    case FamilyGroup::bent:
      rows = {{0.0, -6.0, -14.0, 2}, {0.0, 0.0, 0.0, 1}, {0.0, 6.0, 14.0, 2}};
      break;
    case FamilyGroup::pair:
      rows = {{0.0, -3.0, -14.0, 1}, {0.0, 3.0, 14.0, 1}};
      break;
  }
  for (DeckRow2D& r : rows) r.conn = head;
  return rows;
}

}  // namespace pilecap::testing
