// Whole runs of families of small decks along both rigid-cap roads for the
// two options that change the answer most: a cap set into the ground, whose
// sides the soil resists (by the means of the piles' reactions at their
// heads, or by a short vertical element on p-y curves of the cap's width),
// and the reduction factors of closely spaced piles. Every run is judged by
// what holds whatever the engine computes: the pile reactions carried to
// the origin and the passive resistance the results report prints balance
// the load carried, with the resistance on the side the cap moves away
// from; a symmetric group answers turned and mirrored loads turned and
// mirrored; embedding a cap, or embedding it deeper, never lets it move
// more; a pile alone keeps its soil whatever the factors' method, a row
// along the load leaves its trailing piles less soil than its leading one,
// the methods that take the direction given agree with those that follow
// the movement when both see the same direction; and a deck in the plane
// moves as its planar twin in space.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

// Elastic 24 in pipe piles 20 ft long in 20 increments, their heads 3 ft
// below the ground line, where the top of the only soil layer lies; a cap
// 12 ft square whose sides reach down to the pile heads.
constexpr double DIAMETER_FT = 2.0;
constexpr double GROUND_FT = -3.0;
constexpr double CAP_SIDE_FT = 12.0;
constexpr double CAP_TOLERANCE = 1e-6;
constexpr double WORKING_PER_PILE = 10e3;  // lb sideways

// How the cap resists: not at all (option 0), by the means of the piles
// (option 1, method 0), or by a vertical element on p-y curves (option 2,
// method 1).
enum class Passive { none, pile_means, element };

const char* passive_name(Passive p) {
  static const char* const names[] = {"cap not embedded", "passive by the means of the piles",
                                      "passive by a vertical element"};
  return names[static_cast<int>(p)];
}

using Soil = DeckSoil;
const Soil SAND{"sand", 4, {60, 0, 35, 90, 0, 0, 0}};
const Soil SOFT_CLAY{"soft clay", 1, {50, 500, 0, 100, 0, 0.01, 0.5}};
const Soil STIFF_CLAY{"stiff clay with free water", 2, {56, 2000, 0, 500, 0, 0.005, 0}};

// A load at the origin in the order of TABLE L in space: FX, FY, FZ, MX,
// MY, MZ (lb, lb-in); the plane carries FX, FY and MZ.
using Load = Vector6;

// The piles' plan positions (ft): in space every pile, in the plane every
// row (y) with its count of piles side by side, `spacing` apart.
struct Layout {
  const char* name;
  std::vector<std::array<double, 2>> piles;  // (y, z), space
  std::vector<std::pair<double, int>> rows;  // (y, piles), plane
  double spacing = 6.0;
};

// 2 x 2 at 3 diameters; a row of three along Y at 3 diameters; one pile.
const Layout SQUARE{"2 x 2", {{-3, -3}, {-3, 3}, {3, -3}, {3, 3}}, {{-3.0, 2}, {3.0, 2}}};
const Layout ROW{"row of three along Y", {{-6, 0}, {0, 0}, {6, 0}}, {{-6.0, 1}, {0.0, 1}, {6.0, 1}}};
const Layout SINGLE{"single pile", {{0, 0}}, {{0.0, 1}}};

struct Member {
  const Layout* layout;
  bool plane;
  Passive passive;
  const Soil* soil;
  Load load;
  double cap_thickness = 3.0;  // ft
  int pmult_method = 0;
  std::array<double, 2> pmult_direction{1.0, 1.0};  // methods 3 and 4
  // Methods 2 and 4 in space: the given factors of each pile along Y and Z,
  // less on the trailing side of the group.
  bool given_factors = false;
  double cap_diameter = 0.0;  // ft; above 0 the cap's width in both roads
  double ground = GROUND_FT;  // the ground line and the top of the soil (ft)
  int head = CONN_FIXED_HEAD;
  std::string name() const {
    std::ostringstream out;
    out << (plane ? "plane " : "space ") << layout->name << ", " << passive_name(passive) << " (cap " << cap_thickness
        << " ft thick), factors " << pmult_method << ", in " << soil->name << ", load";
    for (double v : load) out << " " << v;
    return out.str();
  }
};

Deck2D plane_deck(const Member& m) {
  Deck2D d;
  for (const auto& [y, count] : m.layout->rows) {
    d.rows.push_back(
        {.x = 0.0, .y = y, .identical = count, .conn = m.head, .spacing = count > 1 ? m.layout->spacing : 0.0});
  }
  d.ground = m.ground;
  d.length = 20.0;
  d.increments = 20;
  d.layers = {{m.soil->code, m.ground, 40.0, m.soil->props}};
  d.axial_stiffness = 1e6;
  d.axial_reach = 10.0;
  d.tolerance = CAP_TOLERANCE;
  d.llp_tolerance = 1e-7;
  d.print_option = 0;
  d.pmult_method = m.pmult_method;
  if (m.passive != Passive::none) {
    d.cap_passive_option = m.passive == Passive::pile_means ? 1 : 2;
    d.passive_method = 1;
    d.passive_increments = 6;
    d.cap_length = d.cap_width = CAP_SIDE_FT;
    d.cap_thickness = m.cap_thickness;
    d.cap_diameter = m.cap_diameter;
  }
  d.cases = {{.fx = m.load[0], .fy = m.load[1], .mz = m.load[5], .threads = 1, .initial_step = 0.25}};
  return d;
}

Deck3D space_deck(const Member& m) {
  Deck3D d = planar_twin(plane_deck(m), m.layout->spacing);
  d.piles.clear();
  for (const auto& [y, z] : m.layout->piles) d.piles.push_back({y, z});
  d.torsion_stiffness = 1e10;
  d.connection = m.head;
  const Load& l = m.load;
  d.cases = {
      {.fx = l[0], .fy = l[1], .fz = l[2], .mx = l[3], .my = l[4], .mz = l[5], .threads = 1, .initial_step = 0.25}};
  return d;
}

// The deck's text: the direction line of methods 3 and 4 after the options,
// and in space the given factors of methods 2 and 4 on the pile lines.
std::string deck_text(const Member& m) {
  std::string text = m.plane ? deck_2d(plane_deck(m)) : deck_3d(space_deck(m));
  if (m.pmult_method >= 3) {
    const std::size_t at = text.find("PILE CAP\n");
    text.insert(at, deck_number(m.pmult_direction[0]) + " " + deck_number(m.pmult_direction[1]) + "\n");
  }
  if (!m.plane && m.given_factors) {
    std::size_t at = 0;
    for (const auto& [y, z] : m.layout->piles) {
      at = text.find("\n0 0 1 1 1 1 1\n", at);
      const std::string factors =
          "\n0 0 " + deck_number(y > 0 ? 1.0 : 0.7) + " 1 " + deck_number(z > 0 ? 1.0 : 0.7) + " 1 1\n";
      text.replace(at, 15, factors);
      at += factors.size() - 1;
    }
  }
  return text;
}

// ------------------------------------------------------------ the outcomes

// What a run left (its result, TABLE L and head reactions) and the passive
// row of the results report (in the plane, of the computation report).
struct Outcome : RunOutcome {
  std::vector<double> passive;
};

Outcome run_member(const Member& m) {
  SCOPED_TRACE(m.name());
  RunFolder folder("cap_option_family");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck_text(m));
  folder.run();
  Outcome o;
  static_cast<RunOutcome&>(o) = read_run_outcome(folder, m.plane);
  EXPECT_TRUE(o.code == 1 || o.code == 2) << folder.read(RunFolder::RESULT_CODES_LINE);
  if (m.plane) {
    // The computation report prints the plane's passive force and its depth
    // (in) to eight decimals.
    const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
      if (lines[k].find("* PASSIVE RESISTANCE IN PILE CAP *") == std::string::npos) continue;
      std::istringstream in(lines[k + 1]);
      o.passive.clear();
      for (double x; in >> x;) o.passive.push_back(x);
      if (o.passive.size() == 2u) o.passive[1] /= 12.0;
    }
  } else {
    const auto passive = passive_rows(folder);
    if (!passive.empty()) o.passive = passive.back();
  }
  return o;
}

// ------------------------------------------------------------- the checks

Load times(const Load& l, double f) {
  Load r = l;
  for (double& v : r) v *= f;
  return r;
}

double sign_of(double v) { return v > 0.0 ? 1.0 : v < 0.0 ? -1.0 : 0.0; }

// The heads of the run's report: plan positions (in) and the piles each
// stands for (a plane row's).
std::vector<HeadPlace> heads_of(const Member& m) {
  std::vector<HeadPlace> heads;
  if (m.plane) {
    for (const auto& [y, count] : m.layout->rows) heads.push_back({12.0 * y, 0.0, count});
  } else {
    for (const auto& [y, z] : m.layout->piles) heads.push_back({12.0 * y, 12.0 * z, 1});
  }
  return heads;
}

// What the cap's sides carry of the load, at the origin, from the passive
// row of the results report: its size along Y and Z (in space; the plane
// prints one sideways force, signed by the pile-means method) at the depth
// of its position. The soil pushes back against the cap's movement, so it
// carries the share of the load along the way the cap moves.
Vector6 passive_share(const Member& m, const Outcome& o) {
  Vector6 q{};
  if (m.passive == Passive::none) return q;
  const std::size_t columns = m.plane ? 2u : 4u;
  EXPECT_EQ(o.passive.size(), columns) << "passive row";
  if (o.passive.size() != columns) return q;
  const double fy = o.passive[0], fz = m.plane ? 0.0 : o.passive[1];
  const double depth = 12.0 * o.passive[m.plane ? 1 : 2];
  if (m.plane && m.passive == Passive::pile_means && fy != 0.0) {
    EXPECT_EQ(sign_of(fy), sign_of(o.displacement[1])) << "signed passive force against the cap movement";
  }
  q[1] = sign_of(o.displacement[1]) * std::fabs(fy);
  q[2] = sign_of(o.displacement[2]) * std::fabs(fz);
  q[4] = -depth * q[2];
  q[5] = depth * q[1];
  return q;
}

// Runs the member and checks what holds of every run: it ends completed or
// partial, TABLE L holds the load times the share carried, and the pile
// reactions carried to the origin and the passive share balance it. The cap
// stops once its last correction is within the cap tolerance of the step's
// movement, so the balance holds to that tolerance of the load (a moment
// weighed by the pile length); the passive row is printed to five decimals
// of pounds and feet.
Outcome solve(const Member& m) {
  SCOPED_TRACE(m.name());
  const Outcome o = run_member(m);
  if (!o.solved) {
    ADD_FAILURE() << "no TABLE L";
    return o;
  }
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(o.load[k], m.load[k] * o.percent / 100.0, 1e-4 * std::fabs(m.load[k])) << "TABLE L load " << k + 1;
  }
  const std::vector<HeadPlace> heads = heads_of(m);
  EXPECT_EQ(o.head_reactions.size(), heads.size());
  if (o.head_reactions.size() != heads.size()) return o;
  const Vector6 piles = head_reactions_at_origin(o.head_reactions, heads);
  const Vector6 cap = passive_share(m, o);
  const double lever = 240.0;
  const double force = largest(o.load, 0, 3) + largest(o.load, 3, 6) / lever;
  const double printed = 1e-5 + 12e-5 * largest(cap, 0, 3);
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(piles[k] + cap[k], o.load[k], 2.0 * CAP_TOLERANCE * force * (k < 3 ? 1.0 : lever) + printed)
        << "balance " << k + 1 << ": piles " << piles[k] << ", cap " << cap[k];
  }
  return o;
}

class CapOptionFamilies : public EngineTest {};

// A cap load or movement seen in the mirror y -> -y, or turned a quarter
// about X (Y to Z, Z to -Y); moments and rotations are axial vectors.
Vector6 mirrored(const Vector6& v) { return {v[0], -v[1], v[2], -v[3], v[4], -v[5]}; }
Vector6 turned(const Vector6& v) { return {v[0], -v[2], v[1], v[3], -v[5], v[4]}; }

const Passive EMBEDDED[] = {Passive::pile_means, Passive::element};

// The sideways loads of a road: along +Y and -Y, in space also +Z and -Z.
std::vector<Load> sideways_directions(bool plane) {
  std::vector<Load> loads = {{0, 1, 0, 0, 0, 0}, {0, -1, 0, 0, 0, 0}};
  if (!plane) {
    loads.push_back({0, 0, 1, 0, 0, 0});
    loads.push_back({0, 0, -1, 0, 0, 0});
  }
  return loads;
}

// The 2 x 2 group under an embedded cap, both ways of resisting, both roads,
// every sideways direction: 1 lb in sand, a working load in stiff clay, and
// in soft clay 5000 kips, five times what the piles (9 c b over their
// length, 180 kips each) and the cap's sides (9 c b over the cap's height
// and its widest plan extent, 230 kips) could ever carry together. Every
// run balances; a working load is completed with a share on the cap's sides;
// the load beyond capacity is never carried.
TEST_F(CapOptionFamilies, PilesAndPassiveResistanceBalanceTheLoad) {
  struct Size {
    const Soil* soil;
    double load;
  };
  const Size sizes[] = {{&SAND, 1.0}, {&STIFF_CLAY, 4.0 * WORKING_PER_PILE}, {&SOFT_CLAY, 5e6}};
  for (bool plane : {true, false}) {
    for (Passive passive : EMBEDDED) {
      for (const Load& direction : sideways_directions(plane)) {
        for (const Size& size : sizes) {
          const Member m{&SQUARE, plane, passive, size.soil, times(direction, size.load)};
          SCOPED_TRACE(m.name());
          const Outcome o = solve(m);
          if (size.load > 1e6) {
            EXPECT_EQ(o.code, 2);
          } else {
            EXPECT_EQ(o.code, 1);
          }
          if (size.load == 4.0 * WORKING_PER_PILE && o.passive.size() >= 2u) {
            EXPECT_GT(std::fabs(o.passive[0]) + (plane ? 0.0 : std::fabs(o.passive[1])), 0.0) << "no passive share";
          }
        }
        // A working load down, sideways and about the axis across it, the
        // moment turning the cap's top the way the sideways load pushes it,
        // on pinned heads: the cap's moment is the piles' axial forces' and
        // the passive resistance's alone.
        const bool along_z = direction[2] != 0.0;
        const double sense = direction[1] + direction[2];
        Load combined{2e5, 3e4, 0, 0, 0, -4e5};
        if (sense < 0.0) combined = mirrored(combined);
        if (along_z) combined = turned(combined);
        Member m{&SQUARE, plane, passive, &STIFF_CLAY, combined};
        m.head = CONN_PINNED_HEAD;
        SCOPED_TRACE(m.name() + ", pinned heads");
        EXPECT_EQ(solve(m).code, 1);
      }
    }
  }
}

void expect_same_movement(const Vector6& expected, const Vector6& actual, double agreement) {
  const double arm = 36.0;  // in, the reach of a corner pile along each axis
  const double size = std::max(largest(expected, 0, 3), arm * largest(expected, 3, 6));
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(actual[k], expected[k], agreement * size / (k < 3 ? 1.0 : arm)) << "cap movement " << k + 1;
  }
}

// The 2 x 2 group in space with an embedded cap, both ways of resisting:
// a sideways load with a moment along Y, turned a quarter about X, moves the
// cap as the first run turned, with the passive resistance turned from Y to
// Z at the same depth; the load's negative gives the mirrored movement and
// the same passive resistance; a load along the diagonal moves the cap as
// far along Y as along Z, and the sides take as much along each.
TEST_F(CapOptionFamilies, SquareGroupAnswersTurnedAndMirroredLoadsInKind) {
  constexpr double AGREEMENT = 1e-8;
  for (Passive passive : EMBEDDED) {
    for (const Soil* soil : {&STIFF_CLAY, &SAND}) {
      const Member along_y{&SQUARE, false, passive, soil, {0, 3e4, 0, 0, 0, 4e5}};
      SCOPED_TRACE(along_y.name());
      Member along_z = along_y, opposite = along_y, diagonal = along_y;
      along_z.load = turned(along_y.load);
      opposite.load = times(along_y.load, -1.0);
      diagonal.load = {0, 2e4, 2e4, 0, 0, 0};
      const Outcome y = solve(along_y), z = solve(along_z), minus = solve(opposite), both = solve(diagonal);
      ASSERT_EQ(y.passive.size(), 4u);
      ASSERT_EQ(z.passive.size(), 4u);
      ASSERT_EQ(minus.passive.size(), 4u);
      ASSERT_EQ(both.passive.size(), 4u);
      {
        SCOPED_TRACE("the load along Z against the load along Y turned");
        expect_same_movement(turned(y.displacement), z.displacement, AGREEMENT);
        EXPECT_NEAR(z.passive[0], y.passive[1], AGREEMENT * y.passive[0] + 1e-5);
        EXPECT_NEAR(z.passive[1], y.passive[0], AGREEMENT * y.passive[0] + 1e-5);
        EXPECT_NEAR(z.passive[2], y.passive[2], 1e-5);
      }
      {
        SCOPED_TRACE("the negative load against the mirror image");
        expect_same_movement(mirrored(y.displacement), minus.displacement, AGREEMENT);
        for (std::size_t k = 0; k < 3; ++k)
          EXPECT_NEAR(minus.passive[k], y.passive[k], AGREEMENT * y.passive[0] + 1e-5);
      }
      SCOPED_TRACE("the diagonal load");
      EXPECT_NEAR(both.displacement[1], both.displacement[2], AGREEMENT * both.displacement[1]);
      EXPECT_NEAR(both.passive[0], both.passive[1], AGREEMENT * both.passive[0] + 1e-5);
      EXPECT_GT(both.passive[0], 0.0);
    }
  }
}

// Embedding the cap adds the soil at its sides to the piles' soil, so under
// the same sideways load the cap moves less than the same cap standing
// free; with the ground line fixed 3 ft above the pile heads, a cap 1, 2
// and 3 ft thick has ever more side in the soil, and moves ever less. Both
// roads, both ways of resisting, a working load and three times it.
TEST_F(CapOptionFamilies, EmbeddingTheCapDeeperNeverLetsItMoveMore) {
  for (bool plane : {true, false}) {
    for (double load : {4.0 * WORKING_PER_PILE, 12.0 * WORKING_PER_PILE}) {
      const Member free{&SQUARE, plane, Passive::none, &STIFF_CLAY, {0, load, 0, 0, 0, 0}};
      SCOPED_TRACE(free.name());
      const double free_movement = solve(free).displacement[1];
      EXPECT_GT(free_movement, 0.0);
      for (Passive passive : EMBEDDED) {
        // The ground line at the pile heads leaves the cap's sides out of
        // the soil: no resistance, and the free cap's movement.
        Member above = free;
        above.passive = passive;
        above.ground = 0.0;
        Member free_above = free;
        free_above.ground = 0.0;
        {
          SCOPED_TRACE(above.name() + ", ground line at the pile heads");
          const Outcome o = solve(above);
          ASSERT_GE(o.passive.size(), 1u);
          EXPECT_EQ(o.passive[0], 0.0);
          expect_same_movement(solve(free_above).displacement, o.displacement, CAP_TOLERANCE);
        }
        double previous = free_movement;
        for (double thickness : {1.0, 2.0, 3.0}) {
          Member m = free;
          m.passive = passive;
          m.cap_thickness = thickness;
          SCOPED_TRACE(m.name());
          const Outcome o = solve(m);
          EXPECT_EQ(o.code, 1);
          EXPECT_GT(o.displacement[1], 0.0);
          EXPECT_LT(o.displacement[1], previous);
          previous = o.displacement[1];
        }
      }
    }
  }
}

// A pile alone has no neighbour to share its soil with: every method of the
// reduction factors leaves it as it is without them (methods 2 and 4 with
// the factors 1 a deck gives by default), with the cap free or embedded on
// its vertical element, in the plane and in space.
TEST_F(CapOptionFamilies, PileAloneIsUnchangedByTheFactors) {
  for (bool plane : {true, false}) {
    for (Passive passive : {Passive::none, Passive::element}) {
      const Member without{&SINGLE, plane, passive, &SAND, {1e5, 2e4, plane ? 0.0 : -1.5e4, 0, 0, 0}};
      SCOPED_TRACE(without.name());
      const Outcome reference = solve(without);
      EXPECT_EQ(reference.code, 1);
      for (int method = 1; method <= 4; ++method) {
        Member m = without;
        m.pmult_method = method;
        m.pmult_direction = {-0.6, 0.8};
        SCOPED_TRACE(m.name());
        const Outcome o = solve(m);
        EXPECT_EQ(o.code, 1);
        expect_same_movement(reference.displacement, o.displacement, CAP_TOLERANCE);
      }
    }
  }
}

// A row of three piles three diameters apart along the load, with the
// factors that follow the movement: the leading pile keeps more of its soil
// than the piles in its wake, so it takes more of the sideways load than
// either of them, in both roads and both ways along the row.
TEST_F(CapOptionFamilies, TrailingPilesOfARowCarryLessThanTheLeadingOne) {
  for (bool plane : {true, false}) {
    for (double sense : {1.0, -1.0}) {
      Member m{&ROW, plane, Passive::none, &SAND, {0, sense * 3e4, 0, 0, 0, 0}};
      m.pmult_method = 1;
      SCOPED_TRACE(m.name());
      const Outcome o = solve(m);
      EXPECT_EQ(o.code, 1);
      ASSERT_EQ(o.head_reactions.size(), 3u);
      const std::size_t leading = sense > 0.0 ? 2 : 0;
      for (std::size_t trailing : {std::size_t{1}, 2 - leading}) {
        EXPECT_GT(sense * o.head_reactions[leading][1], sense * o.head_reactions[trailing][1])
            << "pile " << trailing + 1;
        EXPECT_GT(sense * o.head_reactions[trailing][1], 0.0) << "pile " << trailing + 1;
      }
    }
  }
}

// The 2 x 2 group in space with factors that follow the movement, computed
// (method 1) or given per direction, less on each direction's trailing
// side (method 2): the load along +Z moves the cap as the load along +Y
// turned. The methods that take a given direction agree with them when it
// is the direction of the movement: method 3 with method 1, method 4 with
// method 2, along +Y and along -Z, the cap free or embedded.
TEST_F(CapOptionFamilies, DirectionalFactorsAgreeTurnedAndWithTheirGivenDirection) {
  const Load along_y{0, 4e4, 0, 0, 0, 0}, along_minus_z{0, 0, -4e4, 0, 0, 0};
  for (int method : {1, 2}) {
    for (Passive passive : {Passive::none, Passive::element}) {
      Member m{&SQUARE, false, passive, &SAND, along_y};
      m.pmult_method = method;
      m.given_factors = method == 2;
      SCOPED_TRACE(m.name());
      Member z = m;
      z.load = turned(along_y);
      const Outcome y = solve(m);
      {
        SCOPED_TRACE("the load along Z against the load along Y turned");
        expect_same_movement(turned(y.displacement), solve(z).displacement, 1e-8);
      }
      for (const Load& load : {along_y, along_minus_z}) {
        Member following = m, given = m;
        following.load = given.load = load;
        given.pmult_method = method + 2;
        given.pmult_direction = {load[1] / 4e4, load[2] / 4e4};
        SCOPED_TRACE(given.name());
        const Outcome a = solve(following), b = solve(given);
        EXPECT_EQ(a.code, 1);
        EXPECT_EQ(b.code, 1);
        expect_same_movement(a.displacement, b.displacement, CAP_TOLERANCE);
      }
    }
  }
  // In the plane the factors are those of the first case's direction, or
  // of the direction given.
  for (double sense : {1.0, -1.0}) {
    Member following{&ROW, true, Passive::element, &SAND, {0, sense * 3e4, 0, 0, 0, 0}};
    following.pmult_method = 1;
    Member given = following;
    given.pmult_method = 3;
    given.pmult_direction = {sense, 0.0};
    SCOPED_TRACE(given.name());
    expect_same_movement(solve(following).displacement, solve(given).displacement, CAP_TOLERANCE);
  }
}

// A deck in the plane and its planar twin in space are one model when the
// cap is as wide in both (its equivalent diameter given; without it space
// takes the cap's plan diagonal for its element and for the piles' soil
// reactions at the cap's level), when every row holds as many
// piles (the pile-means method averages rows in the plane and piles in
// space), and when the twin's load has no component out of the plane: both
// end alike, move the cap alike and print the same passive resistance at
// the same depth, with the factors of a row along the load too, and beyond
// what the clay can carry.
TEST_F(CapOptionFamilies, PlaneDecksWithAnEmbeddedCapMoveAsTheirPlanarTwins) {
  std::vector<Member> members = {
      {&SQUARE, true, Passive::element, &STIFF_CLAY, {2e5, -4e4, 0, 0, 0, 3e5}},
      {&ROW, true, Passive::pile_means, &SAND, {0, 3e4, 0, 0, 0, 0}},
      {&SQUARE, true, Passive::pile_means, &SOFT_CLAY, {0, 4e5, 0, 0, 0, 0}},
      {&ROW, true, Passive::element, &SAND, {1e5, -3e4, 0, 0, 0, -2e5}},
  };
  for (Member& m : members) m.cap_diameter = 10.0;
  members[1].pmult_method = 1;
  members[3].pmult_method = 1;
  for (const Member& plane : members) {
    SCOPED_TRACE(plane.name());
    Member space = plane;
    space.plane = false;
    const Outcome a = solve(plane), b = solve(space);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.percent, b.percent);
    expect_same_movement(a.displacement, b.displacement, CAP_TOLERANCE);
    ASSERT_EQ(a.passive.size(), 2u);
    ASSERT_EQ(b.passive.size(), 4u);
    EXPECT_NEAR(b.passive[0], std::fabs(a.passive[0]), 10.0 * CAP_TOLERANCE * std::fabs(a.passive[0]) + 1e-5);
    EXPECT_EQ(b.passive[1], 0.0);
    EXPECT_NEAR(b.passive[2], a.passive[1], 1e-5);
  }
}

}  // namespace
}  // namespace pilecap::testing
