// Input decks of 3D pile groups for whole runs: vertical elastic pipe piles
// of one property set under a rigid cap, user load-settlement and
// torque-rotation curves (straight lines through the origin), soil layers of
// any code, load cases of concentrated loads at the origin and combinations.
// A case may give its loads at the origin as loads prescribed at a point,
// and the deck may carry a soil movement profile. Values are written in the
// deck's own units: English (feet, pounds, inches for sections, pcf, psf,
// pci) or SI (metres, kN, mm for sections, kN/m3, kPa, kN/m3).
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace pilecap::testing {

constexpr int DECK_ENGLISH = 1;
constexpr int DECK_SI = 2;
constexpr int CONN_PINNED_HEAD = 1;
constexpr int CONN_FIXED_HEAD = 2;

struct DeckPile3D {
  double y = 0.0, z = 0.0;  // head position (ft or m)
  double x = 0.0;           // head depth (ft or m)
  double beta = 90.0;       // degrees; 90 - beta is the batter towards +Y
};

// A soil of one layer as the families of decks name it: its name, layer
// code and the properties the layer lines give at top and bottom alike.
struct DeckSoil {
  const char* name;
  int code;
  std::vector<double> props;
};

// One layer of every soil code 1 to 14 (FAMILY_SOILS[code - 1]), with the
// seven properties the families give it: the soils of the whole-run families
// that sweep every code.
inline const DeckSoil FAMILY_SOILS[] = {
    {"soft clay", 1, {50, 500, 0, 100, 0, 0.01, 0.5}},
    {"stiff clay with free water", 2, {56, 2000, 0, 500, 0, 0.005, 0}},
    {"stiff clay without free water", 3, {56, 2000, 0, 0, 0, 0.005, 0}},
    {"sand", 4, {60, 0, 35, 90, 0, 0, 0}},
    {"user p-y curves of the layer", 5, {56, 0, 0, 0, 0, 0, 0}},
    {"vuggy limestone", 6, {60, 2000, 0, 0, 0, 0, 0}},
    {"silt", 7, {56, 200, 30, 100, 0, 0.01, 0}},
    {"API sand", 8, {60, 0, 35, 100, 0, 0, 0}},
    {"weak rock", 9, {60, 1000, 0, 0, 20000, 0.0005, 50}},
    {"stiff clay with initial k", 10, {56, 2000, 0, 500, 0, 0.005, 0}},
    {"liquefied sand", 11, {50, 0, 0, 0, 0, 0, 0}},
    {"elastic subgrade", 12, {56, 0, 0, 100, 0, 0, 0}},
    {"soft clay with J", 13, {50, 500, 0, 0, 0, 0.01, 0.25}},
    {"modified soft clay with initial k", 14, {50, 500, 0, 100, 0, 0.01, 0.5}},
};

struct DeckLayer3D {
  int code = 1;
  double top = 0.0, bottom = 0.0;
  std::vector<double> props;  // the same values at the layer top and bottom
};

struct DeckCase3D {
  double fx = 0.0, fy = 0.0, fz = 0.0;  // vertical and horizontal loads at the origin
  double mx = 0.0, my = 0.0, mz = 0.0;  // moments about X, Y, Z
  int threads = 0;
  double initial_step = 1.0;
  bool loads_at_point = false;  // the loads prescribed at a point (the origin), every DOF load-given
};

struct DeckMovement3D {
  double depth = 0.0;       // ft or m
  double y = 0.0, z = 0.0;  // soil movement (in or m)
};

// A user p-y curve: its depth (ft or m) and points (p, y) as the input gives
// them (p in lb/in or kN/m, y in in or m).
struct DeckPyCurve3D {
  double depth = 0.0;
  std::vector<std::pair<double, double>> points;
};

struct DeckCombination3D {
  std::vector<std::pair<int, double>> members;  // case, factor
};

// The cap as a plate (option 4 above 0): its plate line, whose offsets a
// and b are in inches or metres as read (the plate's centre lies at Y = a,
// Z = -b); the plate's size is the cap line's.
struct PlateCap {
  int cap_model = 1;                                    // 1 analyse the plate, 2 write it out only
  double length = 12.0, width = 12.0, thickness = 3.0;  // the cap line (ft or m)
  double offset_a = 0.0, offset_b = 0.0;
  int divisions_1 = 6, divisions_2 = 6;
  double young = 3.6e6, poisson = 0.2;
};

struct Deck3D {
  int units = DECK_ENGLISH;
  int kips = 0;
  std::string title = "3D GROUP";
  std::vector<DeckPile3D> piles;
  double ground = 0.0;  // ground line (ft or m, X downward from the cap)
  double length = 100.0;
  int increments = 100;
  // Elastic pipe section: diameters (in or mm), area, inertia, E, G, GJ.
  double diameter = 24.0, inner_diameter = 23.0, area = 36.9, inertia = 2549.0, modulus = 29e6, shear_modulus = 11.6e6,
         gj = 5.91e10, perimeter = 75.4;
  double plastic_moment = 0.0;  // above 0: the section is elastic-perfectly plastic (lb-in or kN-m)
  std::vector<DeckLayer3D> layers;
  double axial_stiffness = 1e9;  // of the load-settlement line (lb/in or kN/m)
  double axial_reach = 10.0;     // movement of its end points (in or m)
  double torsion_stiffness = 1e12;
  std::vector<DeckCase3D> cases;
  std::vector<DeckCombination3D> combinations;
  double tolerance = 1e-7;
  double llp_tolerance = 1e-7;  // closure of the lateral pile solution (in or m)
  // The plot-data file: asked for (option 23), unformatted (option 24), and
  // the export request (input section 22) written when it is asked for.
  int plot_export = 0, export_unformatted = 0;
  std::string export_request = "P-Y EXPORT\n4 0 0\n";
  // One user p-y curve set (read with the user p-y option when not empty) and
  // the set every pile names (0: none).
  std::vector<DeckPyCurve3D> py_curves;
  int py_set = 0;
  int max_iterations = 200;  // of the cap solution, per step
  double min_step = 0.01;    // smallest load step of every case
  std::vector<DeckMovement3D> movement_profile;
  // Every case's print option, pushover multipliers (none: plain cases) and
  // eight unscaled-component flags (empty: all 0).
  int print_option = 0;
  int connection = CONN_FIXED_HEAD;  // of every pile head, both planes
  std::vector<double> pushover;
  std::vector<int> unscaled;
  // Reduction factors for closely spaced piles (option 8) and an embedded
  // cap (option 3): its dimensions (ft or m) and, for option 2, its method
  // and increments.
  int pmult_method = 0;
  int cap_passive_option = 0;
  double cap_length = 0.0, cap_width = 0.0, cap_thickness = 0.0, cap_diameter = 0.0;
  int passive_method = 0, passive_increments = 2;
  // The cap's model: 0 rigid, else the plate's option and line (the plate
  // gives the cap line its dimensions).
  int cap_model = 0;
  PlateCap plate;
};

inline std::string deck_number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.12g", v);
  return text;
}

// The soil layers (each with its properties at its top and bottom) and, when
// there are any, the one set of user p-y curves: the same sections in the
// plane and in space.
inline std::string deck_soil_sections(const std::vector<DeckLayer3D>& layers,
                                      const std::vector<DeckPyCurve3D>& py_curves) {
  auto n = [](double v) { return deck_number(v); };
  std::string deck = "SOIL LAYERS\n" + std::to_string(layers.size()) + "\n";
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const DeckLayer3D& l = layers[k];
    deck.append(std::to_string(k + 1) + " " + std::to_string(l.code) + "\n" + n(l.top) + " " + n(l.bottom) + "\n");
    deck.append("2 ").append(std::to_string(l.props.size())).append("\n");
    for (int point = 0; point < 2; ++point) {
      for (std::size_t v = 0; v < l.props.size(); ++v) deck.append(v == 0 ? "" : " ").append(n(l.props[v]));
      deck.append("\n");
    }
  }
  if (!py_curves.empty()) {
    deck.append("USER P-Y CURVES\n1\n1 ").append(std::to_string(py_curves.size())).append("\n");
    for (const DeckPyCurve3D& c : py_curves) {
      deck.append(n(c.depth)).append("\n").append(std::to_string(c.points.size())).append("\n");
      for (const auto& [p, y] : c.points) deck.append(n(p) + " " + n(y) + "\n");
    }
  }
  return deck;
}

inline std::string deck_3d(const Deck3D& d) {
  const std::string flags = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
  auto n = [](double v) { return deck_number(v); };
  std::string deck = d.title + "\nWHOLE-RUN TEST DECK\nOPTIONS\n";
  const int user_py = d.py_curves.empty() ? 0 : 1;
  deck.append(std::to_string(d.units)).append(" 3 ").append(std::to_string(d.cap_passive_option));
  deck.append(" ").append(std::to_string(d.cap_model)).append(" ").append(std::to_string(user_py)).append(" 1 1 ");
  // Option 9 turns the nonlinear bending stiffness on, which a plastic section needs.
  deck.append(std::to_string(d.pmult_method)).append(d.plastic_moment > 0.0 ? " 1" : " 0");
  deck.append(" 0 0 0 0 0 0 0 0 0 0 ");
  deck.append(std::to_string(d.kips)).append(" 0 ").append(d.movement_profile.empty() ? "0" : "1");
  deck.append(" ").append(std::to_string(d.plot_export)).append(" ");
  deck.append(std::to_string(d.export_unformatted)).append("\nPILE CAP\n");
  const PlateCap& p = d.plate;
  const bool plate = d.cap_model > 0;
  deck.append(n(plate ? p.length : d.cap_length) + " " + n(plate ? p.width : d.cap_width) + " " +
              n(plate ? p.thickness : d.cap_thickness) + " " + n(d.cap_diameter) + " 0 0\n");
  if (d.cap_passive_option == 2) {
    deck.append(std::to_string(d.passive_method) + " " + std::to_string(d.passive_increments) + "\n");
  }
  if (plate) {
    deck.append(n(p.offset_a) + " " + n(p.offset_b) + " " + std::to_string(p.divisions_1) + " " +
                std::to_string(p.divisions_2) + " " + n(p.young) + " " + n(p.poisson) + "\n");
  }
  deck.append("LOAD CASES\n");
  deck.append(std::to_string(d.cases.size())).append(" 0 0 0 0\n");
  for (std::size_t k = 0; k < d.cases.size(); ++k) {
    const DeckCase3D& c = d.cases[k];
    deck.append("0 0 ").append(std::to_string(c.threads)).append(" 1 100 ");
    deck.append(std::to_string(d.max_iterations)).append(" 200\n");
    deck.append(n(d.tolerance) + " " + n(d.llp_tolerance) + " " + n(c.initial_step) + " " + n(d.min_step) + "\n");
    deck.append("CASE ").append(std::to_string(k + 1)).append("\n");
    deck.append("1 0 0 0 0 0 0 ").append(c.loads_at_point ? "1" : "0");
    deck.append("\n").append(std::to_string(d.print_option)).append(" 1 1.0 0 0 0 0 0 0 ");
    deck.append(d.pushover.empty() ? "0" : "1").append(" ").append(std::to_string(d.pushover.size()));
    deck.append("\n0\n").append(flags);
    deck.append("1\n").append(n(c.fx)).append(" ").append(n(c.fy)).append(" ").append(n(c.mz)).append(" ");
    deck.append(n(c.fz)).append(" ").append(n(c.my)).append(" ").append(n(c.mx)).append(" 0 0 0\n");
    deck.append("0\n0\n");
    if (c.loads_at_point) {
      // Flags, then (displacement, load) pairs of X, Y, rotation Z and of Z,
      // rotation Y, rotation X, then the point.
      deck.append("1 1 1 1 1 1\n0 " + n(c.fx) + " 0 " + n(c.fy) + " 0 " + n(c.mz) + "\n");
      deck.append("0 " + n(c.fz) + " 0 " + n(c.my) + " 0 " + n(c.mx) + "\n0 0 0\n");
    }
    deck.append(std::to_string(d.pushover.size())).append("\n");
    for (double m : d.pushover) deck.append(n(m)).append("\n");
    for (int k = 0; k < 8; ++k) {
      deck.append(k == 0 ? "" : " ")
          .append(k < static_cast<int>(d.unscaled.size()) ? std::to_string(d.unscaled[k]) : "0");
    }
    deck.append("\n0\n");
  }
  deck.append("LOAD COMBINATIONS\n").append(std::to_string(d.combinations.size())).append(" 0 0 0 0\n");
  for (std::size_t k = 0; k < d.combinations.size(); ++k) {
    const DeckCombination3D& c = d.combinations[k];
    deck.append("0 0 0 1 100 200 200\n").append(n(d.tolerance) + " " + n(d.llp_tolerance) + " 1.0 0.01\n");
    deck.append("COMBINATION ").append(std::to_string(k + 1)).append("\n");
    deck.append("1 1 ").append(std::to_string(c.members.size())).append("\n");
    deck.append("0 1 0 0 0 0 0 0\n0\n").append(flags).append(std::to_string(c.members.size())).append("\n");
    for (const auto& [member, factor] : c.members) deck.append(std::to_string(member) + " " + n(factor) + "\n");
  }
  deck.append("DISTRIBUTED LOAD SETS\n0\nSOIL MOVEMENT SETS\n0\nPILE ARRANGEMENT\n");
  deck.append(std::to_string(d.piles.size())).append("\n");
  for (const DeckPile3D& p : d.piles) {
    const std::string connection = std::to_string(d.connection);
    deck.append(connection)
        .append(" ")
        .append(connection)
        .append(" 1 ")
        .append(std::to_string(d.py_set))
        .append(" 1 1 0 0 0 0\n0 0 1 1 1 1 1\n")
        .append(n(p.x));
    deck.append(" ").append(n(p.y)).append(" ").append(n(p.z)).append(" 0 ").append(n(p.beta)).append(" 0 ");
    deck.append(n(d.ground)).append("\n");
  }
  deck.append("PROPERTY SETS\n1\n1 1\n").append(std::to_string(d.increments)).append(" ").append(n(d.length));
  deck.append(" 1\n0 ").append(n(d.length)).append(" 1\n");
  deck.append("CROSS SECTIONS\n1\n1 1 1 0\n'PIPE'\n");
  deck.append(n(d.diameter)).append(" ").append(n(d.inner_diameter)).append(" 0 0 0 0 0 0\n");
  const std::string mp = n(d.plastic_moment), capacity_given = d.plastic_moment > 0.0 ? "1" : "0";
  deck.append(n(d.shear_modulus) + " " + n(d.area) + " " + n(d.inertia) + " " + n(d.inertia) + " 0 " + n(d.gj) + " " +
              mp + " 0 " + n(d.modulus) + " 0 " + n(d.perimeter) + " " + capacity_given + " " + mp + " 0 0\n");
  deck.append("0 0 0 0 0 0\n'NONE'\n");
  deck.append(deck_soil_sections(d.layers, d.py_curves));
  const double reach = d.axial_reach;
  deck.append("GENERATED LOAD-SETTLEMENT CURVES\n0\nGENERATED TORQUE-ROTATION CURVES\n0\n");
  deck.append("USER LOAD-SETTLEMENT CURVES\n1\n1 3\n");
  deck.append(n(-d.axial_stiffness * reach) + " " + n(-reach) + "\n0 0\n" + n(d.axial_stiffness * reach) + " " +
              n(reach) + "\n");
  deck.append("USER TORQUE-ROTATION CURVES\n1\n1 3\n");
  deck.append(n(-d.torsion_stiffness) + " -1\n0 0\n" + n(d.torsion_stiffness) + " 1\n");
  deck.append("MOMENT-CURVATURE SETS\n0\nSECTION MOMENT-CURVATURE CURVES\n0\nSECTION BILINEAR DATA\n0\n");
  if (!d.movement_profile.empty()) {
    deck.append("SOIL MOVEMENT PROFILE\n").append(std::to_string(d.movement_profile.size())).append("\n");
    for (const DeckMovement3D& m : d.movement_profile) deck.append(n(m.depth) + " " + n(m.y) + " " + n(m.z) + "\n");
  }
  if (d.plot_export == 1) deck.append(d.export_request);
  return deck;
}

// The deck with its cap the plate p.
inline std::string plate_deck(Deck3D d, const PlateCap& p) {
  d.cap_model = p.cap_model;
  d.plate = p;
  return deck_3d(d);
}

// Elastic pipe piles 20 ft long in 20 increments in soft clay down to 40
// ft, under one case of a vertical and a sideways load at the origin in
// steps of half the load: the small model that the whole-run tests of
// refused and mutated decks change one value of.
inline Deck3D soft_clay_deck(const std::string& title, const std::vector<DeckPile3D>& piles, double fx, double fy,
                             int threads) {
  Deck3D d;
  d.title = title;
  d.piles = piles;
  d.length = 20.0;
  d.increments = 20;
  d.layers = {{1, 0.0, 40.0, {50, 500, 0, 100, 0, 0.01, 0.5}}};
  DeckCase3D c;
  c.fx = fx;
  c.fy = fy;
  c.initial_step = 0.5;
  c.threads = threads;
  d.cases = {c};
  return d;
}

}  // namespace pilecap::testing
