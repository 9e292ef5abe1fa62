// Whole runs of families of small decks along the two rigid-cap roads: rows
// of piles under a rigid cap in the plane, and piles under a rigid cap in
// space. A family spans the groups a user starts from (a single pile, 2 x 2,
// a bent of three rows, a battered pair), the soil codes the deck writer
// can write, pinned and fixed heads, and loads from 1 lb through working
// loads to loads several times what the piles could carry at all, in every
// direction. Every run is judged by what holds whatever the engine
// computes: it ends completed, or partial with the share it carried; its
// reports hold only finite numbers; its TABLE L load is the applied load
// times that share; the head reactions it prints, carried to the origin,
// balance that load; the heads move with the rigid cap. Beside that: a load
// above every resistance the piles and soil can offer is never carried, a
// symmetric deck gives the symmetric answer, 1 lb in soil whose curves start
// straight moves the cap half as far as 2 lb, and a deck in the plane moves
// as its planar twin in space.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
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

// ---------------------------------------------------------------- the decks

// Elastic 24 in pipe piles 20 ft long in 20 increments, the soil layer down
// to 40 ft. Every pile stands on a straight load-settlement line of 1e6
// lb/in that ends at 0.5 in either way, so no pile carries more than 500
// kips along its axis, and in space on a straight torque-rotation line that
// ends at 1e8 lb-in.
constexpr double PILE_DIAMETER = 24.0;   // in
constexpr double PILE_LENGTH = 240.0;    // in
constexpr double AXIAL_STIFFNESS = 1e6;  // lb/in
constexpr double AXIAL_REACH = 0.5;      // in
constexpr double AXIAL_CAPACITY = AXIAL_STIFFNESS * AXIAL_REACH;
constexpr double TORSION_CAPACITY = 1e8;  // lb-in, at 1 rad
constexpr double CAP_TOLERANCE = 1e-6;
constexpr double PILE_TOLERANCE = 1e-7;  // in
constexpr double FIRST_STEP = 0.25;
constexpr double TWIN_SPACING = 4.0;  // ft, between the piles of a row out of the plane

// A soil of one layer, its properties in English units: unit weight (pcf),
// cohesion (psf; uniaxial strength in psi for rock), friction angle,
// subgrade modulus (pci), rock modulus (psi), e50 (krm for weak rock), J
// (RQD for weak rock).
struct Soil {
  const char* name;
  int code;
  std::vector<double> props;
  // The curves start as straight lines through the origin, so under a load
  // small enough the whole group is linear.
  bool straight_start;
  // A clay whose curves never rise above N c b (N here; 0: not such a clay).
  double bound_factor = 0.0;
  bool layer_curves = false;  // the layer's p-y curves are the user's
};

const Soil SOFT_CLAY{"soft clay", 1, {50, 500, 0, 100, 0, 0.01, 0.5}, false, 9.0};
const Soil STIFF_CLAY_WATER{"stiff clay with free water", 2, {56, 2000, 0, 500, 0, 0.005, 0}, true, 11.0};
const Soil STIFF_CLAY_DRY{"stiff clay without free water", 3, {56, 2000, 0, 0, 0, 0.005, 0}, false, 9.0};
const Soil SAND{"sand", 4, {60, 0, 35, 90, 0, 0, 0}, true};
const Soil USER_CURVES{"user p-y curves of the layer", 5, {56, 0, 0, 0, 0, 0, 0}, true, 0.0, true};
const Soil LIMESTONE{"vuggy limestone", 6, {60, 2000, 0, 0, 0, 0, 0}, true};
const Soil SILT{"silt", 7, {56, 200, 30, 100, 0, 0.01, 0}, true};
const Soil API_SAND{"API sand", 8, {60, 0, 35, 100, 0, 0, 0}, true};
const Soil WEAK_ROCK{"weak rock", 9, {60, 1000, 0, 0, 20000, 0.0005, 50}, true};
const Soil STIFF_CLAY_K{"stiff clay with initial k", 10, {56, 2000, 0, 500, 0, 0.005, 0}, true, 9.0};
const Soil LIQUEFIED_SAND{"liquefied sand", 11, {50, 0, 0, 0, 0, 0, 0}, false};
const Soil ELASTIC{"elastic subgrade", 12, {56, 0, 0, 100, 0, 0, 0}, true};
const Soil SOFT_CLAY_J{"soft clay with J", 13, {50, 500, 0, 0, 0, 0.01, 0.25}, false, 9.0};
const Soil MODIFIED_SOFT_CLAY{"modified soft clay with initial k", 14, {50, 500, 0, 100, 0, 0.01, 0.5}, true, 9.0};

// The groups (FamilyGroup but the splayed one); in space every row becomes
// its piles side by side along Z, 4 ft apart: the planar twin.
using Group = FamilyGroup;

// A load at the origin in the order of TABLE L in space: FX (down), FY, FZ,
// MX, MY, MZ (lb, lb-in). The plane carries FX, FY and MZ.
using Load = Vector6;

struct Config {
  bool plane;
  Group group;
  int head;
};

struct Member {
  Config config;
  const Soil* soil;
  Load load;
  std::string name() const {
    std::ostringstream out;
    out << (config.plane ? "plane " : "space ") << family_group_name(config.group)
        << (config.head == CONN_PINNED_HEAD ? " pinned" : " fixed") << " in " << soil->name << ", load";
    for (double v : load) out << " " << v;
    return out.str();
  }
};

// What the decks of both roads share.
Deck2D plane_deck(const Member& m) {
  Deck2D d;
  d.rows = family_rows(m.config.group, m.config.head);
  d.length = PILE_LENGTH / 12.0;
  d.increments = 20;
  d.layers = {{m.soil->code, 0.0, 40.0, m.soil->props}};
  d.axial_stiffness = AXIAL_STIFFNESS;
  d.axial_reach = AXIAL_REACH;
  d.tolerance = CAP_TOLERANCE;
  d.llp_tolerance = PILE_TOLERANCE;
  d.print_option = 0;
  if (m.soil->layer_curves) take_layer_py_curves(d);
  d.cases = {{.fx = m.load[0], .fy = m.load[1], .mz = m.load[5], .threads = 1, .initial_step = FIRST_STEP}};
  return d;
}

Deck3D space_deck(const Member& m) {
  Deck3D d = planar_twin(plane_deck(m), TWIN_SPACING);
  d.connection = m.config.head;
  d.torsion_stiffness = TORSION_CAPACITY;
  d.cases = {{.fx = m.load[0],
              .fy = m.load[1],
              .fz = m.load[2],
              .mx = m.load[3],
              .my = m.load[4],
              .mz = m.load[5],
              .threads = 1,
              .initial_step = FIRST_STEP}};
  return d;
}

// A head: its position (y, z; in), the unit vector of its pile's axis
// (X, Y, Z) and the piles it stands for (a plane row's).
using Vector3 = std::array<double, 3>;
struct Head {
  double y, z;
  Vector3 axis;
  int piles;
};

std::vector<Head> heads_of(const Config& c) {
  const double degree = std::acos(-1.0) / 180.0;
  std::vector<Head> heads;
  if (c.plane) {
    for (const DeckRow2D& r : family_rows(c.group, c.head)) {
      const double b = r.batter * degree;
      heads.push_back({12.0 * r.y, 0.0, {std::cos(b), std::sin(b), 0.0}, r.identical});
    }
  } else {
    const Member m{c, &SAND, {}};  // the layout does not depend on the soil or the load
    for (const DeckPile3D& p : space_deck(m).piles) {
      const double b = p.beta * degree;
      heads.push_back({12.0 * p.y, 12.0 * p.z, {std::sin(b), std::cos(b), 0.0}, 1});
    }
  }
  return heads;
}

int pile_count(const Config& c) {
  int n = 0;
  for (const Head& h : heads_of(c)) n += h.piles;
  return n;
}

// ------------------------------------------------------- loads and limits

enum class Direction { vertical, along_y, along_z, torsion, about_y, about_z, combined };

const Direction SPACE_DIRECTIONS[] = {Direction::vertical, Direction::along_y, Direction::along_z, Direction::torsion,
                                      Direction::about_y,  Direction::about_z, Direction::combined};
const Direction PLANE_DIRECTIONS[] = {Direction::vertical, Direction::along_y, Direction::about_z, Direction::combined};

// A working load of one pile in the direction: 150 kips down, 10 kips
// sideways, 300 kip-in of torsion and 400 kip-in of moment, or a mix.
Load working_load(Direction d, bool plane) {
  switch (d) {
    case Direction::vertical:
      return {150e3, 0, 0, 0, 0, 0};
    case Direction::along_y:
      return {0, 10e3, 0, 0, 0, 0};
    case Direction::along_z:
      return {0, 0, 10e3, 0, 0, 0};
    case Direction::torsion:
      return {0, 0, 0, 3e5, 0, 0};
    case Direction::about_y:
      return {0, 0, 0, 0, 4e5, 0};
    case Direction::about_z:
      return {0, 0, 0, 0, 0, 4e5};
    case Direction::combined:
      return plane ? Load{100e3, 6e3, 0, 0, 0, 3e5} : Load{100e3, 6e3, -4e3, 1e5, -2e5, 3e5};
  }
  return {};
}

// 1 lb, or a moment of 1 lb-ft, in the direction.
Load tiny_load(Direction d, bool plane) {
  Load l = working_load(d, plane);
  for (std::size_t k = 0; k < 6; ++k) l[k] = l[k] == 0.0 ? 0.0 : std::copysign(k < 3 ? 1.0 : 12.0, l[k]);
  return l;
}

Load times(const Load& l, double f) {
  Load r = l;
  for (double& v : r) v *= f;
  return r;
}

// What one pile can resist at most in a clay whose curves never rise above
// N c b: along its axis the end of its load-settlement line, across it the
// ultimate soil reaction over its whole length (N c b L); at a fixed head,
// about the head the moment of that reaction (N c b L^2 / 2) and about its
// axis the end of its torque-rotation line. A pinned head turns freely
// under the cap, about its axis too: it takes no moment.
struct PileLimits {
  double axial, lateral, bending, torsion;
};

PileLimits pile_limits(const Soil& s, int head) {
  const double cohesion = s.props[1] / 144.0;  // psi
  const double pu = s.bound_factor * cohesion * PILE_DIAMETER;
  const double fixed = head == CONN_FIXED_HEAD ? 1.0 : 0.0;
  return {AXIAL_CAPACITY, pu * PILE_LENGTH, fixed * pu * PILE_LENGTH * PILE_LENGTH / 2.0, fixed * TORSION_CAPACITY};
}

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The most a pile on the axis e resists of a force along w (not a unit
// vector): its axial force along e, its shear across it.
double force_limit(const PileLimits& l, const Vector3& e, const Vector3& w) {
  const double along = std::fabs(dot(e, w));
  return l.axial * along + l.lateral * std::sqrt(std::max(0.0, dot(w, w) - along * along));
}

// The most the group resists of cap load component k: the sum over the
// piles of what each can give to it; a moment about the axis d takes the
// forces of the piles at r by their arm d x r and their head moments.
double component_limit(const Config& c, const PileLimits& l, std::size_t k) {
  Vector3 d{};
  d[k % 3] = 1.0;
  double sum = 0.0;
  for (const Head& h : heads_of(c)) {
    double pile = 0.0;
    if (k < 3) {
      pile = force_limit(l, h.axis, d);
    } else {
      const double along = std::fabs(dot(h.axis, d));
      pile = force_limit(l, h.axis, cross(d, {0.0, h.y, h.z})) + l.torsion * along +
             l.bending * std::sqrt(std::max(0.0, 1.0 - along * along));
    }
    sum += h.piles * pile;
  }
  return sum;
}

// The largest share of the load the group could carry: no component may
// exceed what the piles resist of it.
double largest_share(const Member& m) {
  const PileLimits l = pile_limits(*m.soil, m.config.head);
  double share = 1e300;
  for (std::size_t k = 0; k < 6; ++k) {
    if (m.load[k] != 0.0) share = std::min(share, component_limit(m.config, l, k) / std::fabs(m.load[k]));
  }
  return share;
}

// ------------------------------------------------------------ the outcomes

// What a run left (cap_results.hpp).
using Outcome = RunOutcome;

// Every field of every file the run wrote that shows a NaN or an infinity.
std::vector<std::string> non_finite_fields(const RunFolder& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder.folder())) {
    std::istringstream text(RunFolder::read_file(entry.path()));
    for (std::string token; text >> token;) {
      std::string t = token.substr(std::min(token.size(), token.find_first_not_of("+-")));
      for (char& ch : t) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (t == "nan" || t == "inf" || t == "infinity") found.push_back(entry.path().filename().string() + ": " + token);
    }
  }
  return found;
}

// The farthest head from the origin (in), at least 1 in.
double reach(const Config& c) {
  double arm = 1.0;
  for (const Head& h : heads_of(c)) arm = std::max(arm, std::hypot(h.y, h.z));
  return arm;
}

// Runs the member's deck along its road and checks what holds of every
// run; returns what the run left.
Outcome solve(const Member& m) {
  SCOPED_TRACE(m.name());
  RunFolder folder("rigid_family");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, m.config.plane ? deck_2d(plane_deck(m)) : deck_3d(space_deck(m)));
  folder.run();
  const Outcome o = read_run_outcome(folder, m.config.plane);

  // The engine ran to its end, and the run ended completed or partial.
  const auto message = folder.final_message();
  EXPECT_EQ(message, std::vector<std::string>{"     ANALYSIS COMPLETED"});
  EXPECT_TRUE(o.code == 1 || (o.code == 2 && o.percent > 0.0 && o.percent < 100.0))
      << folder.read(RunFolder::RESULT_CODES_LINE);
  EXPECT_EQ(non_finite_fields(folder), std::vector<std::string>{});
  if (!o.solved) {
    ADD_FAILURE() << "no TABLE L";
    return o;
  }

  // TABLE L holds the applied load times the share carried (printed to
  // hundredths of a per cent).
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(o.load[k], m.load[k] * o.percent / 100.0, 1e-4 * std::fabs(m.load[k])) << "TABLE L load " << k + 1;
  }

  // The head reactions (a row's times its piles), carried to the origin,
  // balance that load. The cap stops iterating once its last correction is
  // within the cap tolerance of the movement of the step; what the
  // correction would still have moved is at most that tolerance times the
  // load, a force weighed against the moments by the longer of the group's
  // reach and the pile length, over which the piles carry the load into
  // the ground. Measured: at most half of this, in runs stopped partial.
  const std::vector<Head> heads = heads_of(m.config);
  EXPECT_EQ(o.head_reactions.size(), heads.size());
  if (o.head_reactions.size() != heads.size()) return o;
  std::vector<HeadPlace> places;
  for (const Head& h : heads) places.push_back({h.y, h.z, h.piles});
  const Vector6 sum = head_reactions_at_origin(o.head_reactions, places);
  const double lever = std::max(reach(m.config), PILE_LENGTH);
  const double force = largest(o.load, 0, 3) + largest(o.load, 3, 6) / lever;
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(sum[k], o.load[k], CAP_TOLERANCE * force * (k < 3 ? 1.0 : lever)) << "balance " << k + 1;
  }

  // Every head moves with the rigid cap: the cap's translation plus its
  // rotation about the origin times the head's position (eight or nine
  // printed digits).
  const Vector6& u = o.displacement;
  const double size = movement_size(u, reach(m.config));
  for (std::size_t p = 0; p < heads.size(); ++p) {
    const double y = heads[p].y, z = heads[p].z;
    const Vector3 expected = {u[0] + u[4] * z - u[5] * y, u[1] - u[3] * z, u[2] + u[3] * y};
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(o.head_displacements[p][k], expected[k], 1e-7 * size) << "head " << p + 1 << " movement " << k + 1;
    }
  }

  // A vertical load on vertical piles sinks the cap by the load carried
  // over the stiffness of their load-settlement lines, within the cap
  // tolerance.
  const bool vertical_piles = std::all_of(heads.begin(), heads.end(), [](const Head& h) { return h.axis[0] == 1.0; });
  if (vertical_piles && largest(m.load, 1, 6) == 0.0) {
    const double sink = o.load[0] / (pile_count(m.config) * AXIAL_STIFFNESS);
    EXPECT_NEAR(u[0], sink, CAP_TOLERANCE * std::fabs(sink)) << "settlement";
  }
  return o;
}

// ------------------------------------------------------------- symmetries

// A cap load or movement, or a head reaction, seen in the mirror or turned
// (moments and rotations are axial vectors): the reflections y -> -y and
// z -> -z, the quarter turn about X that takes Y to Z and Z to -Y, the
// quarter turn back, and the half turn about X.
Vector6 mirrored(const Vector6& v) { return {v[0], -v[1], v[2], -v[3], v[4], -v[5]}; }
Vector6 reflected_z(const Vector6& v) { return {v[0], v[1], -v[2], -v[3], -v[4], v[5]}; }
Vector6 turned(const Vector6& v) { return {v[0], -v[2], v[1], v[3], -v[5], v[4]}; }
Vector6 turned_back(const Vector6& v) { return {v[0], v[2], -v[1], v[3], v[5], -v[4]}; }
Vector6 half_turned(const Vector6& v) { return {v[0], -v[1], -v[2], v[3], -v[4], -v[5]}; }

// How closely a run keeps a symmetry of its deck, relative to the largest
// value of each kind: to the rounding of the arithmetic; but the axes of
// battered piles in space, given by their angle with the horizontal, mirror
// each other only to their rounding, and the cap settles the difference to
// its tolerance.
double symmetry_agreement(const Config& c) {
  return !c.plane && (c.group == Group::bent || c.group == Group::pair) ? CAP_TOLERANCE : 1e-9;
}

// The symmetry of one run to another: the second deck is the first turned
// or reflected by `map`, which takes a head at (y, z) to `place`; so are
// its cap movement and every head's reaction (a rotation weighed by the
// group's reach, a moment by the pile length).
template <class Map, class Place>
void expect_symmetric(const Outcome& a, const Outcome& b, const Config& c, Map map, Place place) {
  const double agreement = symmetry_agreement(c);
  EXPECT_EQ(a.code, b.code);
  EXPECT_EQ(a.percent, b.percent);
  const double arm = reach(c);
  const Vector6 mapped = map(a.displacement);
  const double size = std::max(movement_size(a.displacement, arm), movement_size(b.displacement, arm));
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(b.displacement[k], mapped[k], agreement * size / (k < 3 ? 1.0 : arm)) << "cap movement " << k + 1;
  }
  const std::vector<Head> heads = heads_of(c);
  if (a.head_reactions.size() != heads.size() || b.head_reactions.size() != heads.size()) return;
  double force = 0.0;
  for (const Vector6& r : a.head_reactions) force = std::max(force, largest(r, 0, 3) + largest(r, 3, 6) / PILE_LENGTH);
  for (std::size_t p = 0; p < heads.size(); ++p) {
    const std::array<double, 2> to = place(heads[p].y, heads[p].z);
    std::size_t q = 0;
    while (q < heads.size() && std::hypot(heads[q].y - to[0], heads[q].z - to[1]) > 1e-6) ++q;
    if (q == heads.size()) {
      ADD_FAILURE() << "no head at the image of head " << p + 1;
      continue;
    }
    const Vector6 r = map(a.head_reactions[p]);
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_NEAR(b.head_reactions[q][k], r[k], agreement * force * (k < 3 ? 1.0 : PILE_LENGTH))
          << "head " << p + 1 << " reaction " << k + 1 << " against head " << q + 1;
    }
  }
}

// The run itself is symmetric under the reflection y -> -y (and, in space,
// z -> -z).
void expect_reflection_symmetric(const Outcome& o, const Config& c) {
  {
    SCOPED_TRACE("reflected y -> -y");
    expect_symmetric(o, o, c, mirrored, [](double y, double z) { return std::array<double, 2>{-y, z}; });
  }
  if (!c.plane) {
    SCOPED_TRACE("reflected z -> -z");
    expect_symmetric(o, o, c, reflected_z, [](double y, double z) { return std::array<double, 2>{y, -z}; });
  }
}

class RigidRoadFamilies : public EngineTest {};

// Every group of both roads, fixed, and pinned where the cap stays stable:
// a single pile or a pair along Y pinned in space would leave the cap free
// to turn.
const Config CONFIGS[] = {
    {false, Group::single, CONN_FIXED_HEAD},  {false, Group::square, CONN_FIXED_HEAD},
    {false, Group::square, CONN_PINNED_HEAD}, {false, Group::pair, CONN_FIXED_HEAD},
    {true, Group::single, CONN_FIXED_HEAD},   {true, Group::square, CONN_FIXED_HEAD},
    {true, Group::bent, CONN_FIXED_HEAD},     {true, Group::bent, CONN_PINNED_HEAD},
    {true, Group::pair, CONN_PINNED_HEAD},
};

std::vector<Direction> directions(const Config& c) {
  return c.plane ? std::vector<Direction>(std::begin(PLANE_DIRECTIONS), std::end(PLANE_DIRECTIONS))
                 : std::vector<Direction>(std::begin(SPACE_DIRECTIONS), std::end(SPACE_DIRECTIONS));
}

// Every group under a working load and under five times the most its piles
// could resist, in every direction of its road. The working loads meet the
// soils in turn (liquefied sand, which holds a pile by nothing at first,
// is left to the loads of 1 lb); the loads beyond capacity meet the clays,
// whose curves are bounded by N c b at every depth. Such a load is never
// carried: the run stops partial at no more than the share the bound
// allows. Each run is symmetric as its deck: a centred vertical load moves
// the cap straight down and loads mirrored piles alike, and the single pile
// and the 2 x 2 group answer a load along Z (a moment about Y) as they
// answer the load along Y (the moment about Z) turned a quarter about X.
// One test per group and head, so that each stays short under a sanitizer.
class RigidRoadGroups : public RigidRoadFamilies, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(RigidRoadGroups, EveryDirectionFromWorkingLoadsToBeyondCapacity) {
  const Soil* const working_soils[] = {&STIFF_CLAY_WATER, &SAND,      &USER_CURVES, &LIMESTONE,  &SILT,
                                       &API_SAND,         &WEAK_ROCK, &ELASTIC,     &SOFT_CLAY_J};
  const Soil* const clays[] = {&SOFT_CLAY,          &STIFF_CLAY_DRY,   &STIFF_CLAY_K,
                               &MODIFIED_SOFT_CLAY, &STIFF_CLAY_WATER, &SOFT_CLAY_J};
  const std::size_t turn = GetParam();
  {
    const Config& c = CONFIGS[turn];
    for (bool beyond : {false, true}) {
      const Soil* soil = beyond ? clays[turn % std::size(clays)] : working_soils[turn % std::size(working_soils)];
      SCOPED_TRACE(std::string(c.plane ? "plane " : "space ") + family_group_name(c.group) + " in " + soil->name);
      std::vector<Outcome> outcomes;
      for (Direction d : directions(c)) {
        Member m{c, soil, times(working_load(d, c.plane), pile_count(c))};
        if (beyond) m.load = times(m.load, 5.0 * largest_share(m));
        SCOPED_TRACE(m.name());
        outcomes.push_back(solve(m));
        const Outcome& o = outcomes.back();
        if (beyond) {
          EXPECT_EQ(o.code, 2);
          EXPECT_LE(o.percent, 100.0 * largest_share(m));
        } else {
          EXPECT_EQ(o.code, 1);
        }
      }
      auto of = [&](Direction d) -> const Outcome& {
        const auto all = directions(c);
        return outcomes[static_cast<std::size_t>(std::find(all.begin(), all.end(), d) - all.begin())];
      };
      {
        SCOPED_TRACE("centred vertical load");
        expect_reflection_symmetric(of(Direction::vertical), c);
      }
      if (!c.plane && c.group != Group::pair) {
        {
          SCOPED_TRACE("the load along Z against the load along Y turned");
          expect_symmetric(of(Direction::along_y), of(Direction::along_z), c, turned, [](double y, double z) {
            return std::array<double, 2>{-z, y};
          });
        }
        // The turn the other way takes a moment about Z to one about Y.
        SCOPED_TRACE("the moment about Y against the moment about Z turned back");
        expect_symmetric(of(Direction::about_z), of(Direction::about_y), c, turned_back, [](double y, double z) {
          return std::array<double, 2>{z, -y};
        });
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Groups, RigidRoadGroups, ::testing::Range<std::size_t>(0, std::size(CONFIGS)));

// Every group under 1 lb (or 1 lb-ft) in every direction of its road, in
// soils whose curves start straight (sand, API sand, the elastic subgrade,
// modified soft clay, stiff clay with an initial k, user curves), and in
// liquefied sand, which holds a pile by nothing at first. The cap moves by
// a tiny amount: a pile in the soils that start straight takes more than
// 1e4 lb per inch at its head, so 1 lb moves the cap less than 1e-4 in
// (measured: at most 1.5e-5 in, a rotation weighed by half the pile
// length); in liquefied sand it moves as far as the sand must give to hold
// 1 lb, less than 0.1 in (measured: 0.02 in).
// Where the curves start straight the whole group is linear under such a
// load, and 2 lb moves it twice as far, to five digits. Clays whose curves
// rise from a cusp are left out: a pound moves their piles far less than the
// pile deflection tolerance, below which the pile solutions do not resolve
// the force the soil develops.
TEST_F(RigidRoadFamilies, TinyLoadsMoveTheCapByTinyAmounts) {
  const Soil* const soils[] = {&SAND,        &STIFF_CLAY_K,   &ELASTIC,
                               &API_SAND,    &LIQUEFIED_SAND, &MODIFIED_SOFT_CLAY,
                               &USER_CURVES, &SAND,           &STIFF_CLAY_K};
  std::size_t turn = 0;
  for (const Config& c : CONFIGS) {
    const Soil* soil = soils[turn++];
    const double arm = std::max(reach(c), PILE_LENGTH / 2.0);
    for (Direction d : directions(c)) {
      const Member m{c, soil, tiny_load(d, c.plane)};
      SCOPED_TRACE(m.name());
      const Outcome one = solve(m);
      EXPECT_EQ(one.code, 1);
      const double limit = soil->straight_start ? 1e-4 : 0.1;
      EXPECT_LT(movement_size(one.displacement, arm), limit);
      if (!soil->straight_start) continue;
      const Outcome two = solve({c, soil, times(m.load, 2.0)});
      const double size = movement_size(one.displacement, arm);
      for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(two.displacement[k], 2.0 * one.displacement[k], 1e-5 * size / (k < 3 ? 1.0 : arm))
            << "cap movement " << k + 1;
      }
    }
  }
}

// A load and its mirror image, in sand and in clay (curves the same either
// way): a group symmetric under the reflection y -> -y, or under half a
// turn about X, answers the mirrored load with the mirrored answer. The
// reflection or the half turn takes sideways forces, moments and torsion
// without a vertical load to their negatives: those cases are a load and
// its negative, and one of them lies beyond what the clay can hold.
TEST_F(RigidRoadFamilies, MirroredLoadsGiveMirroredAnswers) {
  struct Case {
    Member member;
    bool half_turn;  // else the reflection y -> -y
  };
  const Case cases[] = {
      {{{false, Group::square, CONN_FIXED_HEAD}, &SAND, {0, 3e4, 0, 4e5, 0, -6e5}}, false},
      {{{false, Group::pair, CONN_FIXED_HEAD}, &SOFT_CLAY, {0, 1.5e4, -1e4, 0, 3e5, 4e5}}, true},
      {{{false, Group::square, CONN_PINNED_HEAD}, &STIFF_CLAY_WATER, {0, 2e4, 2e4, 0, 5e5, -5e5}}, true},
      {{{false, Group::single, CONN_FIXED_HEAD}, &STIFF_CLAY_WATER, {2e5, 1e4, 5e3, 1e6, -3e5, 2e5}}, false},
      {{{false, Group::square, CONN_FIXED_HEAD}, &SOFT_CLAY, {0, 2e6, 0, 0, 0, 0}}, false},
      {{{true, Group::bent, CONN_PINNED_HEAD}, &SAND, {4e5, 3e4, 0, 0, 0, -1e6}}, false},
      {{{true, Group::pair, CONN_PINNED_HEAD}, &SOFT_CLAY, {0, 2e4, 0, 0, 0, 5e5}}, false},
      {{{true, Group::square, CONN_FIXED_HEAD}, &STIFF_CLAY_WATER, {0, -1.5e4, 0, 0, 0, 8e5}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member.name());
    Member image = c.member;
    image.load = c.half_turn ? half_turned(c.member.load) : mirrored(c.member.load);
    const Outcome a = solve(c.member), b = solve(image);
    if (c.half_turn) {
      expect_symmetric(a, b, c.member.config, half_turned, [](double y, double z) {
        return std::array<double, 2>{-y, -z};
      });
    } else {
      expect_symmetric(a, b, c.member.config, mirrored, [](double y, double z) {
        return std::array<double, 2>{-y, z};
      });
    }
  }
}

// A deck in the plane and its planar twin in space (every row's piles side
// by side along Z, 4 ft apart), for soils, heads and loads the example
// twins do not reach: pinned rows, stiff clay with free water, sand, silt,
// API sand, weak rock, user p-y curves of a layer, the elastic subgrade, a
// pure moment, a load of 1 lb, and loads beyond what the axial lines or the
// clay can carry, where both must stop at the same share. Both models end
// alike and move the cap alike, out of the plane not at all, and every twin
// pile carries what a pile of its row carries; both solvers stop within
// the cap tolerance of the movement of the step (measured: 3e-8 of it).
TEST_F(RigidRoadFamilies, PlaneDecksMoveAsTheirPlanarTwins) {
  std::vector<Member> members = {
      {{true, Group::bent, CONN_PINNED_HEAD}, &STIFF_CLAY_WATER, {4e5, 2.5e4, 0, 0, 0, 1e6}},
      {{true, Group::square, CONN_FIXED_HEAD}, &SAND, {0, 4e4, 0, 0, 0, 0}},
      {{true, Group::pair, CONN_FIXED_HEAD}, &SILT, {0, -2e4, 0, 0, 0, 6e5}},
      {{true, Group::single, CONN_FIXED_HEAD}, &API_SAND, {5.0 * AXIAL_CAPACITY, 0, 0, 0, 0, 0}},
      {{true, Group::bent, CONN_FIXED_HEAD}, &SOFT_CLAY, {0, 1.0, 0, 0, 0, 0}},
      {{true, Group::bent, CONN_FIXED_HEAD}, &ELASTIC, {0, 1.0, 0, 0, 0, 0}},
      {{true, Group::square, CONN_PINNED_HEAD}, &USER_CURVES, {0, 0, 0, 0, 0, 1.6e6}},
      {{true, Group::single, CONN_FIXED_HEAD}, &WEAK_ROCK, {1e5, 6e3, 0, 0, 0, 3e5}},
  };
  members[4].load = times(members[4].load, 5.0 * largest_share(members[4]));
  for (const Member& plane : members) {
    SCOPED_TRACE(plane.name());
    Member space = plane;
    space.config.plane = false;
    const Outcome a = solve(plane), b = solve(space);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.percent, b.percent);
    const double arm = reach(plane.config);
    const double size = movement_size(a.displacement, arm);
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_NEAR(b.displacement[k], a.displacement[k], CAP_TOLERANCE * size / (k < 3 ? 1.0 : arm))
          << "cap movement " << k + 1;
    }
    double force = 0.0;
    for (const Vector6& r : a.head_reactions)
      force = std::max(force, largest(r, 0, 3) + largest(r, 3, 6) / PILE_LENGTH);
    const std::vector<Head> rows = heads_of(plane.config);
    ASSERT_EQ(a.head_reactions.size(), rows.size());
    ASSERT_EQ(static_cast<int>(b.head_reactions.size()), pile_count(plane.config));
    std::size_t pile = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (int k = 0; k < rows[row].piles; ++k, ++pile) {
        for (std::size_t i = 0; i < 6; ++i) {
          EXPECT_NEAR(b.head_reactions[pile][i], a.head_reactions[row][i],
                      CAP_TOLERANCE * force * (i < 3 ? 1.0 : PILE_LENGTH))
              << "row " << row + 1 << ", twin pile " << pile + 1 << ", reaction " << i + 1;
        }
      }
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
