// Whole runs of families of small rigid-cap decks, in the plane and in space,
// over the load inputs other than a load at the origin: loads and
// displacements prescribed at a point, distributed loads along the piles
// (load sets), soil movement (movement sets and the soil movement profile)
// and combinations of such cases. Each run is judged against something the
// engine does not compute the same way: the loads carried to the origin by
// hand, the same deck loaded another way, the rigid-body motion of the cap,
// superposition in a linear deck, and the exact answer of an elastic
// subgrade (p = k b y, one modulus k b at every node in the soil) moved or
// loaded uniformly along every pile.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
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
// to 40 ft from the pile heads (the ground line), on straight axial and
// torsional lines far longer than any movement here.
constexpr double PILE_LENGTH = 240.0;  // in
constexpr double DIAMETER = 24.0;      // in
constexpr double AXIAL_STIFFNESS = 1e6;
constexpr double CAP_TOLERANCE = 1e-8;
constexpr double PILE_TOLERANCE = 1e-9;  // in
constexpr double TWIN_SPACING = 4.0;     // ft

using Soil = DeckSoil;

// p = k b y with k = 100 pci: every node in the soil, the head at the ground
// line included, has the modulus k b = 2400 lb/in per in.
const Soil ELASTIC{"elastic subgrade", 12, {56, 0, 0, 100, 0, 0, 0}};
constexpr double ELASTIC_MODULUS = 100.0 * DIAMETER;
const Soil SAND{"sand", 4, {60, 0, 35, 90, 0, 0, 0}};
const Soil SOFT_CLAY{"soft clay", 1, {50, 500, 0, 100, 0, 0.01, 0.5}};
const Soil STIFF_CLAY{"stiff clay with free water", 2, {56, 2000, 0, 500, 0, 0.005, 0}};

// The groups of the families (FamilyGroup). In space: the planar twins of
// the plane's rows (every row's piles side by side along Z), and the 2 x 2
// group battered outward in both plan directions.
using Group = FamilyGroup;

struct Config {
  bool plane;
  Group group;
  int head = CONN_FIXED_HEAD;
  std::string name() const {
    return std::string(plane ? "plane " : "space ") + family_group_name(group) +
           (head == CONN_PINNED_HEAD ? " pinned" : " fixed");
  }
};

Deck2D plane_model(const Config& c, const Soil& soil) {
  Deck2D d;
  d.rows = family_rows(c.group, c.head);
  d.length = PILE_LENGTH / 12.0;
  d.increments = 20;
  d.layers = {{soil.code, 0.0, 40.0, soil.props}};
  d.axial_stiffness = AXIAL_STIFFNESS;
  d.axial_reach = 10.0;
  d.tolerance = CAP_TOLERANCE;
  d.llp_tolerance = PILE_TOLERANCE;
  d.print_option = 0;
  return d;
}

Deck3D space_model(const Config& c, const Soil& soil) {
  Deck3D d = planar_twin(plane_model(c, soil), TWIN_SPACING);
  if (c.group == Group::splayed) {
    // Heads at (+-3, +-3) ft, each leaning 10 degrees away from the centre
    // along the diagonal.
    d.piles.clear();
    for (double y : {-3.0, 3.0}) {
      for (double z : {-3.0, 3.0}) d.piles.push_back({y, z, 0.0, 80.0});
    }
  }
  d.connection = c.head;
  d.torsion_stiffness = 1e9;
  d.max_iterations = 200;
  return d;
}

// The alpha of the splayed piles (degrees): away from the centre.
double splay_alpha(double y, double z) { return std::atan2(z, y) * 180.0 / std::acos(-1.0); }

// ------------------------------------------------------ the load inputs

// A concentrated load in the input order FX, FY, MZ, FZ, MY, MX (lb, lb-in)
// and the point (X, Y, Z, ft) it acts at.
using InputLoad = std::array<double, 9>;

// The four lines of a load case's prescribed point: per input DOF (FX, FY,
// MZ, FZ, MY, MX) the flag (0 displacement given, 1 load given), the
// displacement (in, rad) and the load, and the point (ft).
struct PointLines {
  std::array<int, 6> flags{1, 1, 1, 1, 1, 1};
  std::array<double, 6> displacement{}, load{};
  std::array<double, 3> at{};
};

// One entry of a case's distributed loads or soil movements.
struct Entry {
  int axis = 1;  // loads: 0 the pile's axes, else global; movements: 1 the pile's axes, else global
  int first = 1, last = 0, step = 1;
  int set_y = 0;
  double factor_y = 1.0;
  int set_z = 0;
  double factor_z = 1.0;
};

struct Case {
  std::vector<InputLoad> loads;
  std::optional<PointLines> point;
  std::vector<Entry> distributed, movements;
  int axial_at_head = 0;
  double scale = 1.0;
  double initial_step = 1.0;
};

using Set = std::vector<std::pair<double, double>>;  // (distance from the head, ft; value)

struct Loading {
  std::vector<Case> cases;
  std::vector<DeckCombination3D> combinations;
  std::vector<Set> load_sets, movement_sets;
  std::vector<DeckMovement3D> profile;  // depth (ft), movement along Y and Z (in)
};

std::string entry_lines(const std::vector<Entry>& entries) {
  auto n = [](double v) { return deck_number(v); };
  std::string text = std::to_string(entries.size()) + "\n";
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const Entry& e = entries[k];
    text += std::to_string(k + 1) + " " + std::to_string(e.axis) + " " + std::to_string(e.first) + " " +
            std::to_string(e.last) + " " + std::to_string(e.step) + " " + std::to_string(e.set_y) + " " +
            n(e.factor_y) + " " + std::to_string(e.set_z) + " " + n(e.factor_z) + "\n";
  }
  return text;
}

std::string set_lines(const std::vector<Set>& sets) {
  std::string text = std::to_string(sets.size()) + "\n";
  for (const Set& s : sets) {
    text += std::to_string(s.size()) + "\n";
    for (const auto& [at, value] : s) text += deck_number(at) + " " + deck_number(value) + "\n";
  }
  return text;
}

std::string case_section(const std::vector<Case>& cases) {
  auto n = [](double v) { return deck_number(v); };
  std::string text = "LOAD CASES\n" + std::to_string(cases.size()) + " 0 0 0 0\n";
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    text += "0 0 1 1 100 200 200\n" + n(CAP_TOLERANCE) + " " + n(PILE_TOLERANCE) + " " + n(c.initial_step) + " 0.01\n";
    text += "CASE " + std::to_string(k + 1) + "\n";
    text += "1 0 0 0 0 0 " + std::to_string(c.axial_at_head) + (c.point ? " 1\n" : " 0\n");
    text += "0 1 " + n(c.scale) + " 0 0 0 0 0 0 0 0\n0\n";
    text += "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
    text += std::to_string(c.loads.size()) + "\n";
    for (const InputLoad& l : c.loads) {
      for (std::size_t v = 0; v < l.size(); ++v) {
        if (v > 0) text += " ";
        text += n(l[v]);
      }
      text += "\n";
    }
    text += entry_lines(c.distributed) + "0\n";
    if (c.point) {
      const PointLines& p = *c.point;
      for (int f : p.flags) text += std::to_string(f) + " ";
      text.back() = '\n';
      for (int d = 0; d < 6; ++d) text += n(p.displacement[d]) + " " + n(p.load[d]) + (d % 3 == 2 ? "\n" : " ");
      text += n(p.at[0]) + " " + n(p.at[1]) + " " + n(p.at[2]) + "\n";
    }
    text += "0\n0 0 0 0 0 0 0 0\n" + entry_lines(c.movements);
  }
  return text;
}

// text with `from` (which it must hold once) replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The deck of the configuration in the soil with the loading spliced in:
// its load cases, its combinations, its load and movement sets and its soil
// movement profile.
std::string deck_of(const Config& c, const Soil& soil, const Loading& l) {
  std::string deck;
  if (c.plane) {
    Deck2D d = plane_model(c, soil);
    d.combinations = l.combinations;
    deck = deck_2d(d);
    if (!l.profile.empty()) {
      deck = replaced(deck, " 0 0 0 0\nPILE CAP\n", " 0 1 0 0\nPILE CAP\n");
      deck += "SOIL MOVEMENT PROFILE\n" + std::to_string(l.profile.size()) + "\n";
      for (const DeckMovement3D& m : l.profile) deck += deck_number(m.depth) + " " + deck_number(m.y) + " 0\n";
    }
  } else {
    Deck3D d = space_model(c, soil);
    d.combinations = l.combinations;
    d.movement_profile = l.profile;
    deck = deck_3d(d);
    if (c.group == Group::splayed) {
      // The lean of every pile away from the centre (ALPHA of its third line).
      for (const DeckPile3D& p : d.piles) {
        const std::string line = "\n0 " + deck_number(p.y) + " " + deck_number(p.z) + " 0 80 0 ";
        deck = replaced(
            deck, line,
            "\n0 " + deck_number(p.y) + " " + deck_number(p.z) + " " + deck_number(splay_alpha(p.y, p.z)) + " 80 0 ");
      }
    }
  }
  const std::size_t from = deck.find("LOAD CASES\n"), to = deck.find("LOAD COMBINATIONS\n");
  deck.replace(from, to - from, case_section(l.cases));
  return replaced(
      deck, "DISTRIBUTED LOAD SETS\n0\nSOIL MOVEMENT SETS\n0\n",
      "DISTRIBUTED LOAD SETS\n" + set_lines(l.load_sets) + "SOIL MOVEMENT SETS\n" + set_lines(l.movement_sets));
}

// A head of the group: its position (in) and the piles it stands for (a
// plane row's count).
struct Head {
  double x, y, z;
  int piles;
};

std::vector<Head> heads_of(const Config& c) {
  std::vector<Head> heads;
  if (c.plane) {
    for (const DeckRow2D& r : plane_model(c, ELASTIC).rows) heads.push_back({12.0 * r.x, 12.0 * r.y, 0.0, r.identical});
  } else {
    for (const DeckPile3D& p : space_model(c, ELASTIC).piles) heads.push_back({12.0 * p.x, 12.0 * p.y, 12.0 * p.z, 1});
  }
  return heads;
}

int pile_count(const Config& c) {
  int n = 0;
  for (const Head& h : heads_of(c)) n += h.piles;
  return n;
}

// The farthest head from the origin (in), at least 1 in.
double reach(const Config& c) {
  double arm = 1.0;
  for (const Head& h : heads_of(c)) arm = std::max(arm, std::hypot(h.y, h.z));
  return arm;
}

// ------------------------------------------------------------ the outcomes

// What one run (a case or a combination) left, in the space order FX, FY,
// FZ, MX, MY, MZ (lb, lb-in; in, rad): the result code and share carried,
// TABLE L, and every head's global reaction (nine digits; a plane row's
// for one of its piles).
struct RunResult {
  int code = 0;
  double percent = 0.0;
  Vector6 load{}, displacement{};
  std::vector<Vector6> reactions;
};

Vector6 in_space_order(double a, double b, double c) { return {a, b, 0.0, 0.0, 0.0, c}; }

std::vector<double> numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> v;
  for (double x; in >> x;) v.push_back(x);
  return v;
}

// Runs the deck and returns its runs in order, cases then combinations;
// every run must have ended with a TABLE L and a reaction per head.
std::vector<RunResult> run_deck(const Config& c, const std::string& deck) {
  RunFolder folder("load_inputs");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck);
  folder.run();
  EXPECT_EQ(folder.final_message(), std::vector<std::string>{"     ANALYSIS COMPLETED"});
  std::vector<RunResult> runs;
  for (const std::string& line : folder.lines(RunFolder::RESULT_CODES_LINE)) {
    if (line.size() < 6 || line.rfind("    ", 0) != 0 || !std::isdigit(static_cast<unsigned char>(line[4]))) continue;
    RunResult r;
    r.code = std::stoi(line.substr(0, 5));
    r.percent = r.code == 1 ? 100.0 : r.code == 2 ? std::stod(line.substr(18, 8)) : 0.0;
    runs.push_back(r);
  }
  const auto rows = table_l_rows(folder);
  EXPECT_EQ(rows.size(), runs.size()) << folder.read(RunFolder::RESULT_CODES_LINE);
  for (std::size_t k = 0; k < std::min(rows.size(), runs.size()); ++k) {
    const Vector6 &f = rows[k].load, &u = rows[k].displacement;
    runs[k].load = c.plane ? in_space_order(f[0], f[1], f[2]) : f;
    runs[k].displacement = c.plane ? in_space_order(u[0], u[1], u[2]) : u;
  }
  const std::size_t heads = heads_of(c).size();
  std::size_t seen = 0;
  const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    if (lines[k].find("* PILE TOP DISP. AND REACT. GLOBAL") == std::string::npos) continue;
    const std::vector<double> v = numbers(lines[k + 1]);
    const std::size_t run = seen++ / heads;
    if (run >= runs.size() || v.size() < (c.plane ? 6u : 12u)) continue;
    runs[run].reactions.push_back(c.plane ? in_space_order(v[3], v[4], v[5])
                                          : Vector6{v[6], v[7], v[8], v[9], v[10], v[11]});
  }
  for (const RunResult& r : runs) EXPECT_EQ(r.reactions.size(), heads);
  return runs;
}

// Two cap displacements agree to `relative` of their size.
void expect_same_movement(const Vector6& a, const Vector6& b, double arm, double relative, const std::string& what) {
  const double size = std::max(movement_size(a, arm), movement_size(b, arm));
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(b[k], a[k], relative * size / (k < 3 ? 1.0 : arm)) << what << ", cap movement " << k + 1;
  }
}

// Two loads at the origin (or sums of head reactions) agree to `relative`
// of their size, or of `floor` when that is larger, a moment weighed by the
// lever (in).
void expect_same_load(const Vector6& a, const Vector6& b, double lever, double relative, const std::string& what,
                      double floor = 0.0) {
  const double size =
      std::max({largest(a, 0, 3) + largest(a, 3, 6) / lever, largest(b, 0, 3) + largest(b, 3, 6) / lever, floor});
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(b[k], a[k], relative * size * (k < 3 ? 1.0 : lever)) << what << ", component " << k + 1;
  }
}

// The resultant at the origin of every pile's head reaction.
Vector6 reaction_resultant(const Config& c, const RunResult& r) {
  const std::vector<Head> heads = heads_of(c);
  Vector6 sum{};
  for (std::size_t p = 0; p < std::min(heads.size(), r.reactions.size()); ++p) {
    const Vector6& f = r.reactions[p];
    const Head& h = heads[p];
    const double n = h.piles;
    for (int k = 0; k < 6; ++k) sum[k] += n * f[k];
    sum[3] += n * (h.y * f[2] - h.z * f[1]);
    sum[4] += n * (h.z * f[0] - h.x * f[2]);
    sum[5] += n * (h.x * f[1] - h.y * f[0]);
  }
  return sum;
}

double lever_of(const Config& c) { return std::max(reach(c), PILE_LENGTH); }

// The head reactions balance the run's TABLE L load to the cap tolerance.
// The head reactions balance the run's TABLE L load to the cap tolerance
// of the load, or of the reactions themselves when the cap carries little
// or no load (a case of loads along the piles).
void expect_balance(const Config& c, const RunResult& r, const std::string& what) {
  const double lever = lever_of(c);
  const std::vector<Head> heads = heads_of(c);
  double carried = 0.0;
  for (std::size_t p = 0; p < std::min(heads.size(), r.reactions.size()); ++p) {
    carried += heads[p].piles * (largest(r.reactions[p], 0, 3) + largest(r.reactions[p], 3, 6) / lever);
  }
  expect_same_load(r.load, reaction_resultant(c, r), lever, 10.0 * CAP_TOLERANCE, what + ", balance", carried);
}

// ------------------------------------------------------- hand calculations

// An input load (FX, FY, MZ, FZ, MY, MX at X, Y, Z ft) carried to the origin
// by hand, in the space order: the moments gain r x F. The plane keeps FX,
// FY and MZ.
Vector6 at_origin(const InputLoad& l, bool plane) {
  const double fx = l[0], fy = l[1], mz = l[2], fz = plane ? 0.0 : l[3], my = plane ? 0.0 : l[4],
               mx = plane ? 0.0 : l[5];
  const double x = 12.0 * l[6], y = 12.0 * l[7], z = plane ? 0.0 : 12.0 * l[8];
  return {fx, fy, fz, mx + y * fz - z * fy, my + z * fx - x * fz, mz + x * fy - y * fx};
}

// The cap displacement at the origin carried to a point (in) by the
// rigid-body motion of the cap, in the input order of the point lines (X,
// Y, rotation Z, Z, rotation Y, rotation X).
std::array<double, 6> at_point(const Vector6& u, const std::array<double, 3>& at_ft) {
  const double x = 12.0 * at_ft[0], y = 12.0 * at_ft[1], z = 12.0 * at_ft[2];
  const double ux = u[0] + z * u[4] - y * u[5], uy = u[1] - z * u[3] + x * u[5], uz = u[2] + y * u[3] - x * u[4];
  return {ux, uy, u[5], uz, u[4], u[3]};
}

// A load at the origin (space order) seen at a point (ft) in the input
// order: the forces stay, the moments lose r x F.
std::array<double, 6> load_at_point(const Vector6& f, const std::array<double, 3>& at_ft) {
  const double x = 12.0 * at_ft[0], y = 12.0 * at_ft[1], z = 12.0 * at_ft[2];
  const double mx = f[3] - (y * f[2] - z * f[1]), my = f[4] - (z * f[0] - x * f[2]), mz = f[5] - (x * f[1] - y * f[0]);
  return {f[0], f[1], mz, f[2], my, mx};
}

class LoadInputFamilies : public EngineTest {};

// ================================================== loads given at a point

// The configurations the point families run over, each in its own soil.
struct Member {
  Config config;
  const Soil* soil;
};

const Member POINT_MEMBERS[] = {
    {{true, Group::single}, &SAND},
    {{true, Group::bent}, &SOFT_CLAY},
    {{true, Group::bent, CONN_PINNED_HEAD}, &ELASTIC},
    {{true, Group::square}, &STIFF_CLAY},
    {{false, Group::single}, &STIFF_CLAY},
    {{false, Group::square}, &SAND},
    {{false, Group::splayed}, &SOFT_CLAY},
    {{false, Group::bent, CONN_PINNED_HEAD}, &ELASTIC},
};

// Points off the origin (ft): above the cap on the vertical axis, in the
// cap's plane, and off every axis below and above it.
const std::array<double, 3> POINTS[] = {{-10.0, 0.0, 0.0}, {0.0, 3.0, -2.0}, {-4.0, -2.0, 5.0}, {2.5, 1.5, -3.0}};

// A working load of the group in the input order (FX, FY, MZ, FZ, MY, MX):
// per pile 60 kips down, 3 kips along Y, -2 kips along Z, moments of 20 to
// 40 kip-in (the plane keeps FX, FY and MZ).
InputLoad working_load(const Config& c, const std::array<double, 3>& at) {
  const double n = pile_count(c);
  InputLoad l{n * 6e4, n * 3e3, n * 4e4, n * -2e3, n * 3e4, n * 2e4, at[0], at[1], at[2]};
  if (c.plane) l[3] = l[4] = l[5] = l[8] = 0.0;
  return l;
}

InputLoad times(InputLoad l, double f) {
  for (std::size_t i = 0; i < 6; ++i) l[i] *= f;
  return l;
}

Case load_case(const InputLoad& l) {
  Case c;
  c.loads = {l};
  return c;
}

Case point_case(const InputLoad& l) {
  PointLines p;
  std::copy(l.begin(), l.begin() + 6, p.load.begin());
  p.at = {l[6], l[7], l[8]};
  Case c;
  c.point = p;
  return c;
}

// Six loads given at a point off the origin (all six flags 1) are the loads
// carried to the origin by hand: the run moves the cap as the hand-carried
// load at the origin does, and so do the same loads given at the point
// twice over in a case of scale factor 0.5, and the same load given with
// its point on the concentrated-load line. Each TABLE L holds the
// hand-carried load.
TEST_F(LoadInputFamilies, LoadsGivenAtAPointAreTheirResultantAtTheOrigin) {
  const char* const ways[] = {"at the origin", "prescribed at the point", "prescribed twice over, scaled 0.5",
                              "on the load line"};
  std::size_t turn = 0;
  for (const Member& m : POINT_MEMBERS) {
    for (int k = 0; k < 2; ++k) {
      const std::array<double, 3>& at = POINTS[(turn + k) % std::size(POINTS)];
      const InputLoad l = working_load(m.config, at);
      const Vector6 hand = at_origin(l, m.config.plane);
      InputLoad origin{hand[0], hand[1], hand[5], hand[2], hand[4], hand[3], 0, 0, 0};
      SCOPED_TRACE(m.config.name() + " in " + m.soil->name + ", point " + deck_number(at[0]) + " " +
                   deck_number(at[1]) + " " + deck_number(at[2]));
      Loading loading;
      Case scaled = point_case(times(l, 2.0));
      scaled.scale = 0.5;
      loading.cases = {load_case(origin), point_case(l), scaled, load_case(l)};
      const auto runs = run_deck(m.config, deck_of(m.config, *m.soil, loading));
      ASSERT_EQ(runs.size(), std::size(ways));
      const double arm = reach(m.config), lever = lever_of(m.config);
      for (std::size_t r = 0; r < runs.size(); ++r) {
        SCOPED_TRACE(ways[r]);
        EXPECT_EQ(runs[r].code, 1);
        expect_same_load(hand, runs[r].load, lever, 10.0 * CAP_TOLERANCE, "TABLE L load");
        expect_balance(m.config, runs[r], "");
        expect_same_movement(runs[0].displacement, runs[r].displacement, arm, 1e-6, "against the origin");
      }
    }
    ++turn;
  }
}

// ============================================ displacements given at a point

const Member DISPLACEMENT_MEMBERS[] = {
    {{true, Group::single}, &SAND},
    {{true, Group::bent}, &SOFT_CLAY},
    {{false, Group::square}, &STIFF_CLAY},
    {{false, Group::splayed}, &SAND},
    {{false, Group::single, CONN_FIXED_HEAD}, &ELASTIC},
};

// The input DOFs (FX, FY, MZ, FZ, MY, MX = 0..5) whose displacement a
// variant prescribes.
std::vector<std::vector<int>> prescribed_sets(const Config& c) {
  if (c.plane) return {{1}, {2}, {0, 1}, {0, 1, 2}};
  return {{1}, {2}, {3, 5}, {0, 4}, {0, 1, 2, 3, 4, 5}};
}

// A case of the loads l at their point with the displacements of `dofs`
// prescribed there instead (their loads stay on the lines, unused).
Case prescribed_case(const InputLoad& l, const std::vector<int>& dofs, const std::array<double, 6>& displacement) {
  Case c = point_case(l);
  for (int d : dofs) {
    c.point->flags[static_cast<std::size_t>(d)] = 0;
    c.point->displacement[static_cast<std::size_t>(d)] = displacement[static_cast<std::size_t>(d)];
  }
  return c;
}

// A run under loads given at a point off the origin moves the point, by the
// rigid-body motion of the cap, by some displacement. Prescribing that
// displacement at the point, in one DOF, in several, or in all six, with
// the other DOFs still loaded, gives the same answer: the same cap
// movement, the same load in TABLE L (the load the point needed) and the
// same reaction at every head. Nonlinear soils included: the p-y curves
// are nonlinear but path-independent, so the answer does not depend on
// whether loads or displacements were stepped up.
TEST_F(LoadInputFamilies, DisplacementGivenAtAPointGivesTheAnswerOfTheLoadsThatMoveItSo) {
  std::size_t turn = 0;
  for (const Member& m : DISPLACEMENT_MEMBERS) {
    const std::array<double, 3>& at = POINTS[turn++ % std::size(POINTS)];
    const InputLoad l = working_load(m.config, at);
    SCOPED_TRACE(m.config.name() + " in " + m.soil->name);
    Loading loads;
    loads.cases = {point_case(l)};
    const auto first = run_deck(m.config, deck_of(m.config, *m.soil, loads));
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(first[0].code, 1);
    const std::array<double, 6> moved = at_point(first[0].displacement, at);
    Loading prescribed;
    const auto sets = prescribed_sets(m.config);
    for (const auto& dofs : sets) prescribed.cases.push_back(prescribed_case(l, dofs, moved));
    const auto runs = run_deck(m.config, deck_of(m.config, *m.soil, prescribed));
    ASSERT_EQ(runs.size(), sets.size());
    const double arm = reach(m.config), lever = lever_of(m.config);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      std::string name = "displacements given:";
      for (int d : sets[r]) name.append(" ").append(std::to_string(d + 1));
      SCOPED_TRACE(name);
      EXPECT_EQ(runs[r].code, 1);
      expect_same_movement(first[0].displacement, runs[r].displacement, arm, 1e-6, "against the loads");
      expect_same_load(first[0].load, runs[r].load, lever, 1e-6, "TABLE L load");
      ASSERT_EQ(runs[r].reactions.size(), first[0].reactions.size());
      for (std::size_t p = 0; p < first[0].reactions.size(); ++p) {
        expect_same_load(first[0].reactions[p], runs[r].reactions[p], PILE_LENGTH, 1e-5,
                         "head " + std::to_string(p + 1));
      }
      expect_balance(m.config, runs[r], "");
    }
  }
}

// A zero displacement prescribed at a point off the origin holds the cap
// there: the point does not move in that DOF (by the rigid-body motion of
// the cap from TABLE L), and the load at the origin, seen at the point,
// holds the given loads in every other DOF: the point's constraint acts in
// its own DOF alone.
TEST_F(LoadInputFamilies, ZeroDisplacementGivenAtAPointHoldsTheCapThere) {
  std::size_t turn = 1;
  for (const Member& m : POINT_MEMBERS) {
    const std::array<double, 3>& at = POINTS[turn++ % std::size(POINTS)];
    const InputLoad l = working_load(m.config, at);
    SCOPED_TRACE(m.config.name() + " in " + m.soil->name);
    // Held: the horizontal movement along Y, the rotation about Z, and in
    // space the movement along Z and the rotation about Y.
    std::vector<int> held = {1, 2};
    if (!m.config.plane) held.insert(held.end(), {3, 4});
    Loading loading;
    loading.cases.push_back(point_case(l));
    for (int d : held) loading.cases.push_back(prescribed_case(l, {d}, {}));
    const auto runs = run_deck(m.config, deck_of(m.config, *m.soil, loading));
    ASSERT_EQ(runs.size(), held.size() + 1);
    const double arm = reach(m.config), lever = lever_of(m.config);
    const double size = movement_size(runs[0].displacement, arm);
    for (std::size_t r = 1; r < runs.size(); ++r) {
      const std::size_t d = static_cast<std::size_t>(held[r - 1]);
      SCOPED_TRACE("held: DOF " + std::to_string(d + 1));
      EXPECT_EQ(runs[r].code, 1);
      const std::array<double, 6> moved = at_point(runs[r].displacement, at);
      EXPECT_NEAR(moved[d], 0.0, 1e-6 * size / (d == 0 || d == 1 || d == 3 ? 1.0 : arm));
      const std::array<double, 6> seen = load_at_point(runs[r].load, at);
      const double force = largest(runs[r].load, 0, 3) + largest(runs[r].load, 3, 6) / lever;
      for (std::size_t k = 0; k < 6; ++k) {
        if (k == d || (m.config.plane && k > 2)) continue;
        const bool moment = k == 2 || k >= 4;
        EXPECT_NEAR(seen[k], l[k], 1e-6 * force * (moment ? lever : 1.0)) << "load at the point " << k + 1;
      }
      expect_balance(m.config, runs[r], "");
    }
  }
}

// ============================ uniform loads and movements in elastic soil

// A set of one value from the head to beyond the tip.
Set uniform_set(double value) { return {{0.0, value}, {25.0, value}}; }

// The groups of vertical piles (so a sideways movement of the soil moves
// them without working their axial lines) with both heads.
const Config VERTICAL_CONFIGS[] = {
    {true, Group::single},  {true, Group::square},  {true, Group::square, CONN_PINNED_HEAD},
    {false, Group::single}, {false, Group::square}, {false, Group::square, CONN_PINNED_HEAD},
};

// In the elastic subgrade every node in the soil has the modulus k b, so a
// soil that moves by m uniformly along every pile, with no load on the cap,
// carries the piles with it: the piles translate by m without bending and
// nothing loads their heads. A uniform distributed load q along every pile
// is the same load on the piles as a movement q / (k b): the cap moves by
// it. Every way of giving the movement or the load: movement sets and load
// sets in the piles' axes and in global ones, a case scale factor, and the
// soil movement profile (which every case of its deck carries, times the
// case's scale factor).
TEST_F(LoadInputFamilies, UniformMovementOrLoadAlongEveryPileCarriesTheCapAlong) {
  struct Variant {
    std::string name;
    Vector6 expected;  // the cap movement
  };
  for (const Config& c : VERTICAL_CONFIGS) {
    SCOPED_TRACE(c.name());
    const int last = c.plane ? static_cast<int>(heads_of(c).size()) : pile_count(c);
    const double qy = 180.0, qz = -300.0, my = 0.04, mz = 0.07;  // lb/in, in
    Loading sets;
    sets.load_sets = {uniform_set(qy), uniform_set(qz)};
    sets.movement_sets = {uniform_set(my), uniform_set(mz)};
    std::vector<Variant> variants;
    auto add = [&](const std::string& name, Case k, Vector6 expected) {
      if (c.plane) expected[2] = 0.0;
      sets.cases.push_back(k);
      variants.push_back({name, expected});
    };
    const double to_y = qy / ELASTIC_MODULUS, to_z = qz / ELASTIC_MODULUS;
    Case k;
    k.distributed = {{0, 1, last, 1, 1, 1.0, 2, 1.0}};
    add("loads in the piles' axes", k, {0, to_y, to_z, 0, 0, 0});
    k.distributed = {{1, 1, last, 1, 1, 1.0, 2, 1.0}};
    add("loads in global axes", k, {0, to_y, to_z, 0, 0, 0});
    k = Case{};
    k.movements = {{0, 1, last, 1, 1, 1.0, 2, 1.0}};
    add("movements in global axes", k, {0, my, mz, 0, 0, 0});
    k.movements = {{1, 1, last, 1, 1, 1.0, 2, 1.0}};
    k.scale = 2.0;
    add("movements in the piles' axes, scaled 2", k, {0, 2 * my, 2 * mz, 0, 0, 0});
    k = Case{};
    // Half the movement over the whole range, the other half by an entry
    // for each half of the range (the single pile: a second entry).
    const int half_range = std::max(1, last / 2);
    k.movements = {{0, 1, last, 1, 1, 0.5, 2, 0.5}, {0, 1, half_range, 1, 1, 0.5, 2, 0.5}};
    if (last > 1) k.movements.push_back({0, half_range + 1, last, 1, 1, 0.5, 2, 0.5});
    add("movements of three entries", k, {0, my, mz, 0, 0, 0});

    Loading profile;
    profile.profile = {{0.0, my, mz}, {40.0, my, mz}};
    profile.cases = {Case{}, Case{}};
    profile.cases[1].scale = -0.5;
    const Vector6 whole{0, my, c.plane ? 0.0 : mz, 0, 0, 0};
    const Vector6 half{0, -0.5 * my, c.plane ? 0.0 : -0.5 * mz, 0, 0, 0};

    auto runs = run_deck(c, deck_of(c, ELASTIC, sets));
    const auto moved = run_deck(c, deck_of(c, ELASTIC, profile));
    runs.insert(runs.end(), moved.begin(), moved.end());
    variants.push_back({"the soil movement profile", whole});
    variants.push_back({"the soil movement profile, scaled -0.5", half});
    ASSERT_EQ(runs.size(), variants.size());
    const double arm = reach(c);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      SCOPED_TRACE(variants[r].name);
      EXPECT_EQ(runs[r].code, 1);
      expect_same_movement(variants[r].expected, runs[r].displacement, arm, 1e-6, "cap");
      // No head carries more than a millionth of the load along its pile
      // (q L, or k b m L).
      const double along = std::max(std::fabs(qy), std::fabs(qz)) * PILE_LENGTH;
      for (std::size_t p = 0; p < runs[r].reactions.size(); ++p) {
        for (std::size_t i = 0; i < 6; ++i) {
          EXPECT_NEAR(runs[r].reactions[p][i], 0.0, 1e-6 * along * (i < 3 ? 1.0 : PILE_LENGTH))
              << "head " << p + 1 << ", reaction " << i + 1;
        }
      }
    }
  }
}

// In the elastic subgrade a distributed load q on a pile is the same load
// as a soil movement q / (k b) along it, pile by pile: a group whose piles
// carry different loads (or none) and a cap load moves as the same group
// whose soil moves by those amounts around the same piles, battered ones
// included, and every head carries the same reaction.
TEST_F(LoadInputFamilies, DistributedLoadOnAPileActsAsTheSoilMovementItEquals) {
  const Config configs[] = {{true, Group::bent},
                            {true, Group::square, CONN_PINNED_HEAD},
                            {false, Group::bent},
                            {false, Group::splayed},
                            {false, Group::square, CONN_PINNED_HEAD}};
  for (const Config& c : configs) {
    SCOPED_TRACE(c.name());
    const int piles = c.plane ? static_cast<int>(heads_of(c).size()) : pile_count(c);
    Loading loading;
    // A load rising from 50 lb/in at the head to 250 at 15 ft, nothing
    // below; across, a uniform -120 lb/in.
    const Set rising = {{0.0, 50.0}, {15.0, 250.0}};
    loading.load_sets = {rising, uniform_set(-120.0)};
    for (const Set& s : loading.load_sets) {
      Set m = s;
      for (auto& point : m) point.second /= ELASTIC_MODULUS;
      loading.movement_sets.push_back(m);
    }
    const InputLoad cap = working_load(c, {0.0, 0.0, 0.0});
    Case loads = load_case(cap), movements = load_case(cap);
    // The first pile takes the rising load, the last twice the uniform one
    // across (in the plane: along) and the rising one along, in the piles'
    // axes.
    loads.distributed = {{0, 1, 1, 1, 1, 1.0, 2, 0.0}, {0, piles, piles, 1, 1, 1.0, 2, 2.0}};
    if (c.plane) loads.distributed[1] = {0, piles, piles, 1, 2, 2.0, 0, 0.0};
    movements.movements = loads.distributed;
    for (Entry& e : movements.movements) e.axis = 1;
    loading.cases = {loads, movements};
    const auto runs = run_deck(c, deck_of(c, ELASTIC, loading));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].code, 1);
    EXPECT_EQ(runs[1].code, 1);
    expect_same_movement(runs[0].displacement, runs[1].displacement, reach(c), 1e-6, "cap");
    expect_same_load(runs[0].load, runs[1].load, lever_of(c), 1e-9, "TABLE L load");
    for (std::size_t p = 0; p < runs[0].reactions.size() && p < runs[1].reactions.size(); ++p) {
      expect_same_load(runs[0].reactions[p], runs[1].reactions[p], PILE_LENGTH, 1e-5, "head " + std::to_string(p + 1));
    }
    expect_balance(c, runs[0], "loads");
    expect_balance(c, runs[1], "movements");
  }
}

// ========================================================= combinations

// The load at the origin of a case's concentrated loads, carried by hand and
// times the case's scale factor.
Vector6 case_load(const Case& k, bool plane) {
  Vector6 sum{};
  for (const InputLoad& l : k.loads) {
    const Vector6 r = at_origin(l, plane);
    for (std::size_t i = 0; i < 6; ++i) sum[i] += k.scale * r[i];
  }
  return sum;
}

// The buckling load of a long pile in the elastic subgrade, 2 sqrt(k b EI)
// (lb): a pile carrying an axial force Q bends under a lateral load as if
// softened by about Q over it, so a deck whose piles carry axial forces is
// linear only to that share.
const double BUCKLING_LOAD = 2.0 * std::sqrt(ELASTIC_MODULUS * 29e6 * 2549.0);

// Combinations of cases of concentrated loads at points off the origin (one
// case with a scale factor), of a case of distributed loads on the first
// pile and of a case of soil movement around the others, with factors of
// either sign and a case named twice. The load a combination puts on the
// cap (TABLE L) is the factored sum of its cases' loads carried to the
// origin by hand, and the head reactions balance it, in any soil. In the
// elastic subgrade the cap moves as the factored sum of its cases'
// movements: exactly (to the cap tolerance) where no pile carries an axial
// force (pinned vertical piles under loads across them at the heads' level
// and torsion), else to three times the largest axial force over the
// buckling load.
TEST_F(LoadInputFamilies, CombinationsAreTheFactoredSumOfTheirCases) {
  struct CombinationMember {
    Member member;
    bool across_only;  // loads across the piles at the heads' level, and torsion
  };
  const CombinationMember members[] = {
      {{{true, Group::square, CONN_PINNED_HEAD}, &ELASTIC}, true},
      {{{false, Group::square, CONN_PINNED_HEAD}, &ELASTIC}, true},
      {{{true, Group::square}, &ELASTIC}, false},
      {{{true, Group::bent}, &ELASTIC}, false},
      {{{false, Group::splayed}, &ELASTIC}, false},
      {{{true, Group::bent, CONN_PINNED_HEAD}, &SAND}, false},
      {{{false, Group::square}, &STIFF_CLAY}, false},
      {{{false, Group::square}, &SOFT_CLAY}, false},
      {{{true, Group::square}, &SOFT_CLAY}, false},
  };
  for (const CombinationMember& cm : members) {
    const Member& m = cm.member;
    const Config& c = m.config;
    SCOPED_TRACE(c.name() + " in " + m.soil->name);
    const int last = c.plane ? static_cast<int>(heads_of(c).size()) : pile_count(c);
    auto load = [&](const std::array<double, 3>& at, double f) {
      InputLoad l = times(working_load(c, at), f);
      if (cm.across_only) l = {0.0, l[1], 0.0, l[3], 0.0, l[5], 0.0, at[1], at[2]};
      return l;
    };
    Loading loading;
    loading.load_sets = {{{0.0, 50.0}, {15.0, 250.0}}, uniform_set(-120.0)};
    loading.movement_sets = {uniform_set(0.02), uniform_set(-0.01)};
    Case one, two, three, four;
    one.loads = {load(POINTS[0], 0.5), load(POINTS[2], 0.3)};
    two.loads = {load(POINTS[1], 0.4)};
    two.scale = 2.0;
    three.distributed = {{0, 1, 1, 1, 1, 1.0, 2, 1.0}};
    four.movements = {{0, 2, last, 1, 1, 1.0, 2, 1.0}};
    loading.cases = {one, two, three, four};
    loading.combinations = {{{{1, 1.2}, {2, 1.6}}},
                            {{{1, 0.9}, {3, -1.0}, {4, 0.5}}},
                            {{{2, 1.0}, {3, 1.0}, {4, 1.0}, {1, -0.5}, {2, 0.25}}}};
    const auto runs = run_deck(c, deck_of(c, *m.soil, loading));
    ASSERT_EQ(runs.size(), loading.cases.size() + loading.combinations.size());
    const double arm = reach(c), lever = lever_of(c);
    double axial = 0.0;  // the largest axial force of a pile (bounded by its head force)
    for (const RunResult& r : runs) {
      for (const Vector6& f : r.reactions) {
        const bool battered = c.group == Group::bent || c.group == Group::pair || c.group == Group::splayed;
        axial = std::max(axial, battered ? largest(f, 0, 3) : std::fabs(f[0]));
      }
    }
    const double linear = std::max(1e-6, 3.0 * axial / BUCKLING_LOAD);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      SCOPED_TRACE(r < 4 ? "case " + std::to_string(r + 1) : "combination " + std::to_string(r - 3));
      EXPECT_EQ(runs[r].code, 1);
      expect_balance(c, runs[r], "");
      Vector6 expected{}, movement{};
      if (r < 4) {
        expected = case_load(loading.cases[r], c.plane);
      } else {
        for (const auto& [member, factor] : loading.combinations[r - 4].members) {
          const Vector6 own = case_load(loading.cases[static_cast<std::size_t>(member - 1)], c.plane);
          for (std::size_t i = 0; i < 6; ++i) {
            expected[i] += factor * own[i];
            movement[i] += factor * runs[static_cast<std::size_t>(member - 1)].displacement[i];
          }
        }
        if (m.soil == &ELASTIC) expect_same_movement(movement, runs[r].displacement, arm, linear, "factored sum");
      }
      expect_same_load(expected, runs[r].load, lever, 10.0 * CAP_TOLERANCE, "TABLE L load");
    }
  }
}

// ======================================= the axial share of global loads

using Vector3 = std::array<double, 3>;

// A pile's axis (X, Y, Z), its head (in) and the piles it stands for.
struct Axis {
  Vector3 e;
  Head head;
};

std::vector<Axis> axes_of(const Config& c) {
  const double degree = std::acos(-1.0) / 180.0;
  std::vector<Axis> axes;
  const std::vector<Head> heads = heads_of(c);
  if (c.plane) {
    const auto rows = plane_model(c, ELASTIC).rows;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const double b = rows[k].batter * degree;
      axes.push_back({{std::cos(b), std::sin(b), 0.0}, heads[k]});
    }
  } else {
    const auto piles = space_model(c, ELASTIC).piles;
    for (std::size_t k = 0; k < piles.size(); ++k) {
      const double b = piles[k].beta * degree;
      const double a = c.group == Group::splayed ? splay_alpha(piles[k].y, piles[k].z) * degree : 0.0;
      axes.push_back({{std::sin(b), std::cos(b) * std::cos(a), std::cos(b) * std::sin(a)}, heads[k]});
    }
  }
  return axes;
}

// A uniform distributed load in global directions along battered piles
// loads each pile across its axis and along it. When the case says so, the
// share along the axis (the load's component along it times the pile's
// length) goes to the cap as a force along the pile at its head: TABLE L
// holds the concentrated load plus these forces and their moments about
// the origin. Otherwise the axial share is not applied at all and TABLE L
// holds the concentrated load alone. Either way the head reactions balance
// TABLE L.
void expect_axial_share(const Member& m) {
  const double wy = 150.0, wz = -90.0;  // lb/in
  {
    const Config& c = m.config;
    SCOPED_TRACE(c.name() + " in " + m.soil->name);
    const int last = c.plane ? static_cast<int>(heads_of(c).size()) : pile_count(c);
    Loading loading;
    loading.load_sets = {uniform_set(wy), uniform_set(wz)};
    Case with = load_case(working_load(c, POINTS[3]));
    with.distributed = {{1, 1, last, 1, 1, 1.0, 2, 1.0}};
    with.axial_at_head = 1;
    Case without = with;
    without.axial_at_head = 0;
    loading.cases = {with, without};
    const auto runs = run_deck(c, deck_of(c, *m.soil, loading));
    ASSERT_EQ(runs.size(), 2u);
    Vector6 expected = case_load(with, c.plane);
    for (const Axis& a : axes_of(c)) {
      const double along = PILE_LENGTH * (a.e[1] * wy + (c.plane ? 0.0 : a.e[2] * wz));
      const double n = a.head.piles;
      const Vector3 f = {n * along * a.e[0], n * along * a.e[1], n * along * a.e[2]};
      for (std::size_t i = 0; i < 3; ++i) expected[i] += f[i];
      expected[3] += a.head.y * f[2] - a.head.z * f[1];
      expected[4] += a.head.z * f[0] - a.head.x * f[2];
      expected[5] += a.head.x * f[1] - a.head.y * f[0];
    }
    const double lever = lever_of(c);
    EXPECT_EQ(runs[0].code, 1);
    EXPECT_EQ(runs[1].code, 1);
    expect_same_load(expected, runs[0].load, lever, 10.0 * CAP_TOLERANCE, "with the axial share");
    expect_same_load(case_load(without, c.plane), runs[1].load, lever, 10.0 * CAP_TOLERANCE, "without it");
    expect_balance(c, runs[0], "with the axial share");
    expect_balance(c, runs[1], "without it");
  }
}

TEST_F(LoadInputFamilies, AxialShareOfGlobalDistributedLoadsGoesToTheHeadsWhenTheCaseSaysSo) {
  const Member members[] = {
      {{true, Group::pair}, &SAND},           {{true, Group::pair, CONN_PINNED_HEAD}, &ELASTIC},
      {{false, Group::splayed}, &STIFF_CLAY}, {{false, Group::bent}, &SAND},
      {{false, Group::pair}, &ELASTIC},
  };
  for (const Member& m : members) expect_axial_share(m);
}

// A plane row of several identical piles gives the cap the axial share of
// every pile of the row, as its planar twin does (it gave one pile's).
TEST_F(LoadInputFamilies, AxialShareOfARowIsEveryPilesShare) {
  expect_axial_share({{true, Group::bent}, &SAND});
  expect_axial_share({{true, Group::bent, CONN_PINNED_HEAD}, &ELASTIC});
}

// =================================== movement in the plane and in space

// A deck in the plane and its planar twin in space (every row's piles side
// by side along Z) in soil that moves along Y by a profile that dies out
// with depth, with no load, with a load, and in a combination that halves
// the load (the profile moves the soil of every case and combination, a
// combination's by its whole amount). Both models end alike, move the cap
// alike, out of the plane not at all, and every twin pile carries what a
// pile of its row carries.
TEST_F(LoadInputFamilies, PlaneDecksMoveWithTheSoilAsTheirPlanarTwins) {
  const Member members[] = {
      {{true, Group::bent}, &SOFT_CLAY},
      {{true, Group::bent, CONN_PINNED_HEAD}, &SAND},
      {{true, Group::square}, &STIFF_CLAY},
      {{true, Group::single}, &ELASTIC},
  };
  for (const Member& m : members) {
    SCOPED_TRACE(m.config.name() + " in " + m.soil->name);
    Loading loading;
    loading.profile = {{0.0, 0.3, 0.0}, {8.0, 0.1, 0.0}, {30.0, 0.0, 0.0}};
    Case free, loaded = load_case(working_load(m.config, {0.0, 0.0, 0.0}));
    free.initial_step = loaded.initial_step = 0.5;
    loading.cases = {free, loaded};
    loading.combinations = {{{{2, 0.5}}}};
    Config space = m.config;
    space.plane = false;
    const auto plane_runs = run_deck(m.config, deck_of(m.config, *m.soil, loading));
    const auto space_runs = run_deck(space, deck_of(space, *m.soil, loading));
    ASSERT_EQ(plane_runs.size(), 3u);
    ASSERT_EQ(space_runs.size(), 3u);
    const std::vector<Head> rows = heads_of(m.config);
    for (std::size_t r = 0; r < 3; ++r) {
      SCOPED_TRACE("run " + std::to_string(r + 1));
      const RunResult &a = plane_runs[r], &b = space_runs[r];
      EXPECT_EQ(a.code, 1);
      EXPECT_EQ(b.code, a.code);
      expect_same_movement(a.displacement, b.displacement, reach(m.config), 1e-6, "twin");
      // At least 1 lb: a single pile in the moving soil without a load
      // carries nothing.
      double force = 1.0;
      for (const Vector6& f : a.reactions) force = std::max(force, largest(f, 0, 3) + largest(f, 3, 6) / PILE_LENGTH);
      ASSERT_EQ(static_cast<int>(b.reactions.size()), pile_count(m.config));
      std::size_t pile = 0;
      for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int k = 0; k < rows[row].piles; ++k, ++pile) {
          for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_NEAR(b.reactions[pile][i], a.reactions[row][i], 1e-5 * force * (i < 3 ? 1.0 : PILE_LENGTH))
                << "row " << row + 1 << ", twin pile " << pile + 1 << ", reaction " << i + 1;
          }
        }
      }
    }
  }
}

// The pile ranges a user may write as the loads along the piles read them:
// a last pile of 0 loads the first pile alone, a step of 0 the range's two
// ends, and a range given from its end loads the same piles (the reader used
// to refuse the first two as a range beyond the piles and a step of zero).
TEST_F(LoadInputFamilies, PileRangesOfZeroLastPileOrStepLoadWhatTheyName) {
  const Config c{false, Group::square};
  Loading loading;
  loading.load_sets = {uniform_set(100.0)};
  Case zero_last, first_alone, zero_step, ends, reversed, forward;
  zero_last.distributed = {{0, 2, 0, 1, 1, 1.0, 0, 0.0}};
  first_alone.distributed = {{0, 2, 2, 1, 1, 1.0, 0, 0.0}};
  zero_step.distributed = {{0, 1, 4, 0, 1, 1.0, 0, 0.0}};
  ends.distributed = {{0, 1, 1, 1, 1, 1.0, 0, 0.0}, {0, 4, 4, 1, 1, 1.0, 0, 0.0}};
  reversed.distributed = {{0, 4, 1, 2, 1, 1.0, 0, 0.0}};
  forward.distributed = {{0, 1, 4, 2, 1, 1.0, 0, 0.0}};
  loading.cases = {zero_last, first_alone, zero_step, ends, reversed, forward};
  const auto runs = run_deck(c, deck_of(c, ELASTIC, loading));
  ASSERT_EQ(runs.size(), 6u);
  expect_same_movement(runs[1].displacement, runs[0].displacement, reach(c), 1e-9, "last pile 0");
  expect_same_movement(runs[3].displacement, runs[2].displacement, reach(c), 1e-9, "step 0");
  expect_same_movement(runs[5].displacement, runs[4].displacement, reach(c), 1e-9, "range from its end");
}

}  // namespace
}  // namespace pilecap::testing
