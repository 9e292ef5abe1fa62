// Families of whole runs of a flexible cap (the plate model of the cap in
// space): one pile at the centre, 2 x 2, 3 x 3 and an unsymmetric group
// whose heads lie 1 ft below the plate; meshes from 2 x 2 to 8 x 8 elements,
// with piles on nodes and inside elements; plates from very flexible to very
// stiff, one of them offset; soft clay, sand and stiff clay; loads from tiny
// through working to far past what the piles carry, as several cases and
// combinations in one deck. Every run is judged by what does not come from
// the plate's own arithmetic:
// - its outcome is one a user can act on (completed, or a part of the load
//   with its percentage), it has its own plate files, and no file of the run
//   holds a value that is not a number;
// - the pile reactions, carried to the origin, balance the part of the load
//   the plate carried, component by component;
// - a very stiff plate gives the rigid cap's pile forces (the same deck with
//   option 4 = 0), the closer the stiffer: the plate's own bending, all that
//   tells it from a rigid cap, goes as 1 / E;
// - a group symmetric about a plane, under a load symmetric about it, gives
//   mirrored piles mirrored forces, and a load along Y on a square group
//   gives the forces of the same load along Z with Y and Z swapped;
// - a tiny load settles the group by its load over the piles' axial springs,
//   and in sand (whose curves start straight) twice the tiny load moves
//   every head twice as far.
// Pile forces are read from PlatePileCoupling (plate: at each head, global
// axes) or PileTable (rigid cap: at the origin) at the end of every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"
#include "tests/support/report_scan.hpp"
#include "tools/run_report.hpp"

namespace pilecap::testing {
namespace {

constexpr double FT = 12.0;           // inches of a foot: the engine's lengths
constexpr double HALF_CAP = 72.0;     // in: the lever that turns a force scale into a moment scale
constexpr double AXIAL_SPRING = 1e6;  // lb/in, the slope of every pile's load-settlement line
constexpr double CONCRETE = 3.6e6;    // psi
constexpr double VERY_STIFF = 3.6e12;
constexpr double VERY_FLEXIBLE = 3.6e4;

// The plate accepts a step when its last correction is below 1e-4 of the
// step's movement; the unbalance that leaves is the piles' tangent times that
// correction. Ten times the plate's tolerance allows for tangents stiffer than
// the secant near the piles' capacity.
constexpr double BALANCE = 1e-3;
// Mirrored states are each converged to 1e-4 of the step's movement, and
// rounding that breaks the symmetry of an iteration moves them apart by no
// more than that.
constexpr double MIRRORED = 1e-4;
// At 3.6e12 psi (a million times concrete) the plate's own bending is below
// 1e-3 of the pile forces; it grows as 1 / E.
constexpr double RIGID_AT_VERY_STIFF = 1e-3;
// Twice a tiny load in sand: the curves are straight there, and the plate
// converges each run to 1e-4 of its movement.
constexpr double LINEAR = 1e-3;

// ------------------------------------------------------------ the decks

using Soil = DeckSoil;
const Soil SOFT_CLAY{"soft clay", 1, {56, 700, 0, 100, 0, 0.01, 0.5}};
const Soil SAND{"sand", 4, {60, 0, 35, 90, 0, 0, 0}};
const Soil STIFF_CLAY{"stiff clay", 3, {56, 2000, 0, 0, 0, 0.005, 0}};

using Heads = std::vector<DeckPile3D>;  // y, z (ft), depth below the plate (ft)
const Heads CENTRE{{0, 0}};
const Heads SQUARE{{-4, -4}, {-4, 4}, {4, -4}, {4, 4}};
const Heads NINE{{-4, -4}, {-4, 0}, {-4, 4}, {0, -4}, {0, 0}, {0, 4}, {4, -4}, {4, 0}, {4, 4}};
// No two heads mirror each other; the heads lie 1 ft below the plate.
const Heads UNSYMMETRIC{{-4, -4, 1}, {-4, 2, 1}, {0, 4, 1}, {3, -4, 1}, {4, 1, 1}};
// Under the plate offset by a = 12 in, b = 24 in, which spans Y from -5 to
// 7 ft and Z from -8 to 4 ft; the heads at Z = -6 ft lie outside a plate
// moved the other way.
const Heads OFFSET_SQUARE{{-3, -6}, {-3, 2}, {5, -6}, {5, 2}};

// Loads per pile at the origin, FX, FY, FZ, MX, MY, MZ (lb, lb-in): every
// group carries its load alike.
constexpr Vector6 TINY{100, 4, -3, 300, 200, -250};
constexpr Vector6 TWICE_TINY{200, 8, -6, 600, 400, -500};
constexpr Vector6 VERTICAL{100000, 0, 0, 0, 0, 0};
constexpr Vector6 ALONG_Y{50000, 5000, 0, 0, 0, 0};
constexpr Vector6 ALONG_Z{50000, 0, 5000, 0, 0, 0};
constexpr Vector6 MOMENTS{100000, 0, 0, 0, 6e5, -8e5};
constexpr Vector6 TORSION{50000, 0, 0, 5e5, 0, 0};
constexpr Vector6 COMBINED{100000, 4000, -3000, 4e5, 5e5, -6e5};
constexpr Vector6 PAST_CAPACITY{0, 1e6, 0, 0, 0, 0};

DeckCase3D per_pile(std::size_t piles, const Vector6& l) {
  const double n = static_cast<double>(piles);
  return {.fx = n * l[0],
          .fy = n * l[1],
          .fz = n * l[2],
          .mx = n * l[3],
          .my = n * l[4],
          .mz = n * l[5],
          .initial_step = 0.5};
}

// One deck of the family: a group under its plate in its soil, with several
// cases (one per load) and combinations.
struct Member {
  const char* tag;  // the name of its test
  const char* name;
  const Heads* heads;
  const Soil* soil;
  PlateCap plate;
  std::vector<Vector6> loads;
  std::vector<DeckCombination3D> combinations;
};

void PrintTo(const Member& m, std::ostream* out) { *out << m.name; }

Deck3D member_deck(const Member& m) {
  Deck3D d;
  d.title = std::string("PLATE FAMILY: ") + m.name;
  d.piles = *m.heads;
  d.length = 40.0;
  d.increments = 40;
  d.axial_stiffness = AXIAL_SPRING;
  d.layers = {{m.soil->code, 0.0, 80.0, m.soil->props}};
  for (const Vector6& l : m.loads) d.cases.push_back(per_pile(m.heads->size(), l));
  d.combinations = m.combinations;
  // A load far past capacity halves its steps down to the smallest: these
  // two keep that short.
  d.max_iterations = 30;
  d.min_step = 0.05;
  return d;
}

Vector6 case_load(const DeckCase3D& c) { return {c.fx, c.fy, c.fz, c.mx, c.my, c.mz}; }

// The load of a run at the origin: a case's, or the factored sum of a
// combination's cases.
Vector6 run_load(const Deck3D& d, int kind, int index) {
  if (kind == RUN_KIND_CASE) return case_load(d.cases.at(static_cast<std::size_t>(index - 1)));
  Vector6 sum{};
  for (const auto& [member, factor] : d.combinations.at(static_cast<std::size_t>(index - 1)).members) {
    const Vector6 l = case_load(d.cases.at(static_cast<std::size_t>(member - 1)));
    for (std::size_t k = 0; k < 6; ++k) sum[k] += factor * l[k];
  }
  return sum;
}

// ------------------------------------------------------------ the runs

// Forces at a head carried to the origin (sign 1: the moments gain r x F)
// or from the origin to the head (sign -1).
Vector6 carried(const Vector6& f, const DeckPile3D& head, double sign) {
  const double x = head.x * FT, y = head.y * FT, z = head.z * FT;
  Vector6 o = f;
  o[3] += sign * (y * f[2] - z * f[1]);
  o[4] += sign * (z * f[0] - x * f[2]);
  o[5] += sign * (x * f[1] - y * f[0]);
  return o;
}

// What a run leaves: every pile's reaction at its head in global axes and,
// under a plate, the head's movement; the part of the load carried.
struct RunRecord {
  int kind = 0, index = 0;
  std::vector<Vector6> forces, movements;
  double carried = 1.0;
};
std::vector<RunRecord> records;
const Heads* recorded_heads = nullptr;

void record_run(int kind, int index) {
  RunRecord r{kind, index, {}, {}, 1.0};
  if (RunOptions.cap_model > 0) {
    for (const PlatePileResponse& p : PlatePileCoupling.piles) {
      Vector6 f{}, u{};
      for (int k = 1; k <= 6; ++k) {
        f[static_cast<std::size_t>(k - 1)] = p.head_forces(k);
        u[static_cast<std::size_t>(k - 1)] = p.head_displacement(k);
      }
      r.forces.push_back(f);
      r.movements.push_back(u);
    }
    r.carried = PlateControl.converged_time;
  } else {
    for (int p = 1; p <= PileTable.n_piles; ++p) {
      Vector6 f{};
      for (int k = 1; k <= 6; ++k) f[static_cast<std::size_t>(k - 1)] = PileTable.head_force(p, k, 1);
      r.forces.push_back(carried(f, recorded_heads->at(static_cast<std::size_t>(p - 1)), -1.0));
    }
  }
  records.push_back(r);
}

std::string run_name(const RunRecord& r) {
  return (r.kind == RUN_KIND_CASE ? ".case" : ".comb") + std::to_string(r.index);
}

const char* const PLATE_SUFFIXES[] = {".plate.dat",   ".plate.key", ".plate.lst",
                                      ".plate.steps", ".plate.log", ".plate.dbg"};

// Runs a deck and checks what every run must give: the analysis ends; every
// run has an outcome a user can act on, completed or a part of the load
// (for a plate, the printed percentage is its last converged step); under a
// plate every run has its own plate files; no file holds a value that is
// not a number. The records of the runs, in run order.
std::vector<RunRecord> run_deck(const std::string& tag, const std::string& deck, const Heads& heads, bool plate) {
  records.clear();
  recorded_heads = &heads;
  RunFolder folder(tag);
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck);
  EXPECT_EQ(folder.run(), 0);
  std::vector<RunRecord> runs = records;
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  EXPECT_TRUE(host::analysis_completed(host::final_message(log)));
  const auto outcomes = host::read_run_outcomes(folder.lines(RunFolder::RESULT_CODES_LINE), log);
  EXPECT_EQ(outcomes.size(), runs.size()) << "every run analysed";
  for (std::size_t k = 0; k < std::min(outcomes.size(), runs.size()); ++k) {
    RunRecord& r = runs[k];
    SCOPED_TRACE(run_name(r));
    const host::RunOutcome& outcome = outcomes[k];
    EXPECT_EQ(outcome.kind == host::RunKind::Case ? RUN_KIND_CASE : RUN_KIND_COMBINATION, r.kind);
    EXPECT_EQ(outcome.number, r.index);
    EXPECT_EQ(r.forces.size(), heads.size());
    if (outcome.outcome == host::Outcome::Partial) {
      const double printed = std::stod(outcome.percent) / 100.0;
      if (plate) {
        EXPECT_NEAR(printed, r.carried, 5e-5) << "the printed share is the plate's last converged step";
      } else {
        r.carried = printed;
      }
      EXPECT_GT(r.carried, 0.0);
      EXPECT_LT(r.carried, 1.0);
    } else {
      EXPECT_EQ(outcome.outcome, host::Outcome::Completed) << host::describe(outcome);
      EXPECT_EQ(r.carried, 1.0);
    }
    if (!plate) continue;
    for (const char* suffix : PLATE_SUFFIXES) {
      const std::string name = "file5" + run_name(r) + suffix;
      EXPECT_TRUE(std::filesystem::exists(folder.folder() / name)) << name;
    }
  }
  for (const auto& file : std::filesystem::directory_iterator(folder.folder())) {
    EXPECT_EQ(first_non_finite_word(RunFolder::read_file(file.path())), "") << file.path().filename();
  }
  return runs;
}

// ------------------------------------------------------------ the checks

// The scale of a force of a load: the largest of its forces and of its
// moments over the half cap; HALF_CAP times it is the scale of a moment.
double force_scale(const Vector6& load) {
  double s = 0.0;
  for (std::size_t k = 0; k < 6; ++k) s = std::max(s, std::fabs(load[k]) / (k < 3 ? 1.0 : HALF_CAP));
  return s;
}

double lever(std::size_t k) { return k < 3 ? 1.0 : HALF_CAP; }

// The pile reactions carried to the origin balance the carried part of the
// load, component by component.
void expect_balance(const Deck3D& d, const Heads& heads, const RunRecord& r) {
  const Vector6 load = run_load(d, r.kind, r.index);
  Vector6 sum{};
  for (std::size_t p = 0; p < r.forces.size(); ++p) {
    const Vector6 at_origin = carried(r.forces[p], heads.at(p), 1.0);
    for (std::size_t k = 0; k < 6; ++k) sum[k] += at_origin[k];
  }
  const double scale = force_scale(load) * r.carried;
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(sum[k], -r.carried * load[k], BALANCE * scale * lever(k))
        << run_name(r) << " carried " << r.carried << ", component " << k + 1;
  }
}

// The largest difference of two sets of head forces, forces and moments
// each against the larger of the largest of their kind in `expected` and a
// pile's share of the load.
double largest_difference(const std::vector<Vector6>& actual, const std::vector<Vector6>& expected,
                          const Vector6& load) {
  const double share = force_scale(load) / static_cast<double>(expected.size());
  double worst = 0.0;
  for (std::size_t first : {0u, 3u}) {
    double scale = share * lever(first);
    for (const Vector6& f : expected) {
      for (std::size_t k = first; k < first + 3; ++k) scale = std::max(scale, std::fabs(f[k]));
    }
    for (std::size_t p = 0; p < expected.size() && p < actual.size(); ++p) {
      for (std::size_t k = first; k < first + 3; ++k) {
        worst = std::max(worst, std::fabs(actual[p][k] - expected[p][k]) / scale);
      }
    }
  }
  return worst;
}

// A plane of symmetry of the cap's plane: a reflection S of the axes (X
// stays). A force or movement v becomes S v, a moment or rotation
// det(S) S m = -S m.
struct Mirror {
  const char* name;
  int map[3];  // component k of S v is sign[k] times component map[k] of v
  double sign[3];
};
const Mirror MIRRORS[] = {
    {"Y to -Y", {0, 1, 2}, {1, -1, 1}},
    {"Z to -Z", {0, 1, 2}, {1, 1, -1}},
    {"Y and Z swapped", {0, 2, 1}, {1, 1, 1}},
};

Vector6 mirrored(const Vector6& v, const Mirror& s) {
  Vector6 m{};
  for (std::size_t k = 0; k < 3; ++k) {
    const auto from = static_cast<std::size_t>(s.map[k]);
    m[k] = s.sign[k] * v[from];
    m[k + 3] = -s.sign[k] * v[from + 3];
  }
  return m;
}

// The pile at the mirror image of pile p's head, or -1.
int mirror_pile(const Heads& heads, std::size_t p, const Mirror& s) {
  const Vector6 at = mirrored({heads[p].x, heads[p].y, heads[p].z, 0, 0, 0}, s);
  for (std::size_t q = 0; q < heads.size(); ++q) {
    if (heads[q].x == at[0] && heads[q].y == at[1] && heads[q].z == at[2]) return static_cast<int>(q);
  }
  return -1;
}

bool maps_onto_itself(const Heads& heads, const Mirror& s) {
  for (std::size_t p = 0; p < heads.size(); ++p) {
    if (mirror_pile(heads, p, s) < 0) return false;
  }
  return true;
}

// Every mirror that maps the group onto itself, and every pair of runs
// whose loads it maps onto each other (a run with itself included): the
// mirror image of each pile's forces in the one run are the forces of the
// mirror pile in the other. Returns the number of pairs checked.
int expect_mirrored_runs(const Deck3D& d, const Heads& heads, const std::vector<RunRecord>& runs) {
  int pairs = 0;
  for (const Mirror& s : MIRRORS) {
    if (!maps_onto_itself(heads, s)) continue;
    for (const RunRecord& a : runs) {
      for (const RunRecord& b : runs) {
        if (a.carried < 1.0 || b.carried < 1.0) continue;
        if (mirrored(run_load(d, a.kind, a.index), s) != run_load(d, b.kind, b.index)) continue;
        SCOPED_TRACE(std::string(s.name) + ": " + run_name(a) + " and " + run_name(b));
        ++pairs;
        std::vector<Vector6> images(heads.size());
        for (std::size_t p = 0; p < heads.size(); ++p) {
          images[static_cast<std::size_t>(mirror_pile(heads, p, s))] = mirrored(a.forces.at(p), s);
        }
        EXPECT_LT(largest_difference(images, b.forces, run_load(d, b.kind, b.index)), MIRRORED);
      }
    }
  }
  return pairs;
}

// A tiny load moves every head a tiny, finite way, and settles the group on
// its linear axial springs by the vertical load over their sum, whatever
// the plate and the soil: the heads' mean settlement is FX / (n k).
void expect_tiny_movements(const Deck3D& d, const RunRecord& r) {
  const double n = static_cast<double>(r.movements.size());
  double settlement = 0.0;
  for (const Vector6& u : r.movements) {
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_TRUE(std::isfinite(u[k]));
      EXPECT_LT(std::fabs(u[k]), k < 3 ? 1e-3 : 1e-5) << run_name(r) << ", component " << k + 1;
    }
    settlement += u[0] / n;
  }
  const double expected = run_load(d, r.kind, r.index)[0] / (n * AXIAL_SPRING);
  EXPECT_NEAR(settlement, expected, 1e-4 * expected) << run_name(r);
}

// Twice the load moves every head twice as far: translations and rotations
// each to LINEAR of the largest of their kind.
void expect_doubled(const RunRecord& once, const RunRecord& twice) {
  for (std::size_t first : {0u, 3u}) {
    double scale = 0.0;
    for (const Vector6& u : twice.movements) {
      for (std::size_t k = first; k < first + 3; ++k) scale = std::max(scale, std::fabs(u[k]));
    }
    ASSERT_GT(scale, 0.0);
    for (std::size_t p = 0; p < once.movements.size(); ++p) {
      for (std::size_t k = first; k < first + 3; ++k) {
        EXPECT_NEAR(twice.movements.at(p)[k], 2.0 * once.movements[p][k], LINEAR * scale)
            << "pile " << p + 1 << ", component " << k + 1;
      }
    }
  }
}

class PlateRoadFamilies : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    PlatePileCoupling = PlatePileCouplingRecord{};
    PlateControl = PlateControlRecord{};
    records.clear();
    set_run_end_hook(record_run);
  }
  void TearDown() override {
    set_run_end_hook(nullptr);
    recorded_heads = nullptr;
  }
};

// ------------------------------------------------------------ the family

const Member FAMILY[] = {
    {"SquareInSoftClayUnderConcrete",
     "2 x 2 in soft clay, concrete plate 6 x 6",
     &SQUARE,
     &SOFT_CLAY,
     {},
     {TINY, VERTICAL, ALONG_Y, ALONG_Z, MOMENTS, TORSION, COMBINED, PAST_CAPACITY},
     {{{{7, 1.2}, {6, 0.8}}}, {{{2, 1.0}, {3, -1.5}}}}},
    {"SquareInSandUnderAVeryStiffPlate",
     "2 x 2 in sand, very stiff plate 4 x 4 (piles inside elements)",
     &SQUARE,
     &SAND,
     {.divisions_1 = 4, .divisions_2 = 4, .young = VERY_STIFF},
     {TINY, TWICE_TINY, VERTICAL, COMBINED},
     {{{{1, 1.0}, {4, 1.0}}}}},
    {"NineInStiffClayUnderAVeryFlexiblePlate",
     "3 x 3 in stiff clay, very flexible plate 8 x 8",
     &NINE,
     &STIFF_CLAY,
     {.divisions_1 = 8, .divisions_2 = 8, .young = VERY_FLEXIBLE},
     {VERTICAL, ALONG_Y, ALONG_Z, TORSION, COMBINED, PAST_CAPACITY},
     {{{{5, 1.0}, {1, 0.5}}}}},
    {"OnePileInSandUnderConcrete",
     "one pile at the centre in sand, concrete plate 2 x 2",
     &CENTRE,
     &SAND,
     {.divisions_1 = 2, .divisions_2 = 2},
     {TINY, TWICE_TINY, COMBINED, PAST_CAPACITY},
     {{{{3, 1.5}}}}},
    {"UnsymmetricBelowAVeryStiffPlate",
     "unsymmetric group 1 ft below the plate in soft clay, very stiff plate 6 x 6",
     &UNSYMMETRIC,
     &SOFT_CLAY,
     {.young = VERY_STIFF},
     {VERTICAL, COMBINED, TORSION, ALONG_Z},
     {{{{2, 1.0}, {3, -1.0}}}}},
    {"SquareUnderAnOffsetVeryStiffPlate",
     "2 x 2 under an offset plate in sand, very stiff plate 6 x 6",
     &OFFSET_SQUARE,
     &SAND,
     {.offset_a = 12.0, .offset_b = 24.0, .young = VERY_STIFF},
     {VERTICAL, COMBINED},
     {{{{1, 0.5}, {2, 1.0}}}}},
};

class PlateRoadFamily : public PlateRoadFamilies, public ::testing::WithParamInterface<Member> {};

TEST_P(PlateRoadFamily, EveryRunBalancesMirrorsAndMeetsTheRigidCap) {
  const Member& m = GetParam();
  const Deck3D d = member_deck(m);
  const std::vector<RunRecord> runs = run_deck("plate_family", plate_deck(d, m.plate), *m.heads, true);
  ASSERT_EQ(runs.size(), d.cases.size() + d.combinations.size());
  for (const RunRecord& r : runs) expect_balance(d, *m.heads, r);

  const bool centred = m.plate.offset_a == 0.0 && m.plate.offset_b == 0.0;
  if (centred) expect_mirrored_runs(d, *m.heads, runs);

  // The tiny loads; in sand, the pair of a tiny load and twice it.
  const RunRecord* once = nullptr;
  const RunRecord* twice = nullptr;
  for (std::size_t c = 0; c < m.loads.size(); ++c) {
    if (m.loads[c] == TINY) once = &runs[c];
    if (m.loads[c] == TWICE_TINY) twice = &runs[c];
  }
  for (const RunRecord* r : {once, twice}) {
    if (r != nullptr) expect_tiny_movements(d, *r);
  }
  for (std::size_t c = 0; c < m.loads.size(); ++c) {
    if (m.loads[c] == PAST_CAPACITY) {
      EXPECT_LT(runs[c].carried, 1.0) << "far past capacity";
    }
  }
  if (m.soil == &SAND && once != nullptr && twice != nullptr) expect_doubled(*once, *twice);

  if (m.plate.young < VERY_STIFF) return;
  const std::vector<RunRecord> rigid = run_deck("plate_family_rigid", deck_3d(d), *m.heads, false);
  ASSERT_EQ(rigid.size(), runs.size());
  for (std::size_t k = 0; k < runs.size(); ++k) {
    if (rigid[k].carried < 1.0 || runs[k].carried < 1.0) continue;
    EXPECT_LT(largest_difference(runs[k].forces, rigid[k].forces, run_load(d, runs[k].kind, runs[k].index)),
              RIGID_AT_VERY_STIFF)
        << run_name(runs[k]);
  }
}

INSTANTIATE_TEST_SUITE_P(Members, PlateRoadFamily, ::testing::ValuesIn(FAMILY),
                         [](const ::testing::TestParamInfo<Member>& info) { return std::string(info.param.tag); });

// The checks of the family have something to judge: its centred symmetric
// members hold mirrored pairs of cases (a centred vertical load on each
// symmetric group, a load along Y and the same along Z), three of its decks
// load their piles far past capacity, and two hold a tiny load and twice it
// in sand.
TEST_F(PlateRoadFamilies, TheFamilyHoldsMirroredOverloadedAndTinyRuns) {
  int mirrored_pairs = 0, overloaded = 0, tiny_pairs = 0;
  for (const Member& m : FAMILY) {
    for (const Mirror& s : MIRRORS) {
      if (!maps_onto_itself(*m.heads, s) || m.plate.offset_a != 0.0 || m.plate.offset_b != 0.0) continue;
      for (const Vector6& l : m.loads) mirrored_pairs += std::count(m.loads.begin(), m.loads.end(), mirrored(l, s));
    }
    for (const Vector6& l : m.loads) overloaded += l == PAST_CAPACITY ? 1 : 0;
    const bool once = std::find(m.loads.begin(), m.loads.end(), TINY) != m.loads.end();
    const bool twice = std::find(m.loads.begin(), m.loads.end(), TWICE_TINY) != m.loads.end();
    tiny_pairs += m.soil == &SAND && once && twice ? 1 : 0;
  }
  EXPECT_GE(mirrored_pairs, 12);
  EXPECT_GE(overloaded, 3);
  EXPECT_EQ(tiny_pairs, 2);
}

// The plate of the unsymmetric group at two stiffnesses against its rigid
// cap: a hundred times stiffer, a hundred times closer (within a factor of
// 5), and within RIGID_AT_VERY_STIFF times 3.6e12 / E at each.
TEST_F(PlateRoadFamilies, StifferPlateComesCloserToTheRigidCapAsOneOverItsModulus) {
  Member m = FAMILY[4];
  m.loads = {VERTICAL, COMBINED, TORSION};
  m.combinations.clear();
  const Deck3D d = member_deck(m);
  const std::vector<RunRecord> rigid = run_deck("plate_sweep_rigid", deck_3d(d), *m.heads, false);
  std::vector<double> worst;
  for (double young : {VERY_STIFF / 100.0, VERY_STIFF}) {
    SCOPED_TRACE(young);
    m.plate.young = young;
    const std::vector<RunRecord> runs = run_deck("plate_sweep", plate_deck(d, m.plate), *m.heads, true);
    ASSERT_EQ(runs.size(), rigid.size());
    double largest = 0.0;
    for (std::size_t k = 0; k < runs.size(); ++k) {
      ASSERT_EQ(runs[k].carried, 1.0);
      const double difference =
          largest_difference(runs[k].forces, rigid[k].forces, run_load(d, runs[k].kind, runs[k].index));
      EXPECT_LT(difference, RIGID_AT_VERY_STIFF * VERY_STIFF / young) << run_name(runs[k]);
      largest = std::max(largest, difference);
    }
    worst.push_back(largest);
  }
  EXPECT_GT(worst[0], 1e-3) << "the softer plate bends measurably";
  EXPECT_LT(worst[1], 0.05 * worst[0]);
}

// ------------------------------------------------ loads the plate must not drop

// The plate carries loads only. A case that prescribes a displacement at a
// point is refused with its reason (it used to run without the displacement,
// the piles then carrying only the loads); the rigid cap settles the same
// deck by the displacement, and the later cases of the deck still run.
TEST_F(PlateRoadFamilies, DisplacementPrescribedAtAPointIsRefusedUnderAPlate) {
  Deck3D d =
      member_deck({"", "prescribed settlement", &SQUARE, &SAND, {}, {{0, 0, 0, 0, 0, 0}, {0, 0, 1000, 0, 0, 0}}, {}});
  d.cases[0].fy = 20000;
  d.cases[0].loads_at_point = true;
  const std::string given = "1 1 1 1 1 1\n0 0 0 20000 0 0\n";
  const std::string prescribed = "0 1 1 1 1 1\n0.05 0 0 20000 0 0\n";
  for (bool plate : {false, true}) {
    std::string deck = plate ? plate_deck(d, {.young = VERY_STIFF}) : deck_3d(d);
    const auto at = deck.find(given);
    ASSERT_NE(at, std::string::npos);
    deck.replace(at, given.size(), prescribed);
    records.clear();
    recorded_heads = &SQUARE;
    RunFolder folder(plate ? "plate_prescribed" : "plate_prescribed_rigid");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.run();
    const auto outcomes =
        host::read_run_outcomes(folder.lines(RunFolder::RESULT_CODES_LINE), folder.lines(RunFolder::RUN_LOG_LINE));
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[1].outcome, host::Outcome::Completed) << "the next case runs";
    if (plate) {
      EXPECT_EQ(outcomes[0].outcome, host::Outcome::NotAnalysed);
      for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE}) {
        EXPECT_NE(folder.read(line).find("\n     NOTE: A DISPLACEMENT PRESCRIBED AT A POINT NEEDS A RIGID CAP, NOT THE "
                                         "PLATE MODEL OF THE CAP, RUN NOT ANALYZED\n"),
                  std::string::npos)
            << line;
      }
    } else {
      EXPECT_EQ(outcomes[0].outcome, host::Outcome::Completed);
      ASSERT_EQ(records.size(), 2u);
      double settled = 0.0;
      for (const Vector6& f : records[0].forces) settled -= f[0];
      EXPECT_NEAR(settled, 4 * AXIAL_SPRING * 0.05, 1.0) << "the rigid cap settles as prescribed";
    }
  }
}

// The soil movement follows the plate's load steps as it follows the rigid
// cap's: a plate that carries a part of a load past capacity reports the
// piles under that part of the movement too, as the rigid cap does under the
// same part of both (it used to apply the whole movement from the first
// step, and a partial run mixed the two).
TEST_F(PlateRoadFamilies, SoilMovementFollowsThePlatesLoadSteps) {
  Member m{
      "", "soil movement along Y, load along Z", &SQUARE, &SOFT_CLAY, {.young = VERY_STIFF}, {{0, 0, 1e6, 0, 0, 0}},
      {}};
  Deck3D d = member_deck(m);
  d.movement_profile = {{0.0, 0.5, 0.0}, {20.0, 0.0, 0.0}};
  const std::vector<RunRecord> runs = run_deck("plate_movement", plate_deck(d, m.plate), SQUARE, true);
  ASSERT_EQ(runs.size(), 1u);
  const double p = runs[0].carried;
  ASSERT_LT(p, 1.0) << "the load is past capacity";
  Deck3D part = d;
  part.cases[0].fz *= p;
  for (DeckMovement3D& movement : part.movement_profile) movement.y *= p;
  const std::vector<RunRecord> rigid = run_deck("plate_movement_rigid", deck_3d(part), SQUARE, false);
  ASSERT_EQ(rigid.size(), 1u);
  ASSERT_EQ(rigid[0].carried, 1.0);
  expect_balance(d, SQUARE, runs[0]);
  // The piles' force along Y and moment about Z, which the movement along Y
  // causes, each within 10 % of the largest of its kind (the whole movement
  // makes them five times as large).
  for (std::size_t k : {1u, 5u}) {
    double scale = 0.0;
    for (const Vector6& f : rigid[0].forces) scale = std::max(scale, std::fabs(f[k]));
    for (std::size_t q = 0; q < SQUARE.size(); ++q) {
      EXPECT_NEAR(runs[0].forces.at(q)[k], rigid[0].forces.at(q)[k], 0.1 * scale) << "pile " << q + 1 << ", " << k + 1;
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
