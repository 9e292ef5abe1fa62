// Whole 3D runs of a flexible cap through DUVIZU: a very stiff plate on four
// fixed-head piles against the rigid cap of the same deck (head movements,
// including their rotations, and pile reactions), a flexible plate whose
// centre pile carries more than its corner piles the softer the plate is,
// a pile on a node against the same pile inside an element, reports alike
// for 1 and 4 threads, the piles' envelopes over cases and combinations,
// and the export-only mode. The plate's pile results
// are read from PlatePileCoupling after the run (head displacements and
// reactions in the cap's axes, at the pile heads), and from the reports'
// pile-top tables, which a plate run prints as a rigid-cap run does.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cap/progress_files.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/estimation_decks.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"
#include "tools/run_report.hpp"

namespace pilecap::testing {
namespace {

constexpr double FT = 12.0;  // inches of a foot: the engine's lengths

// Four fixed-head piles 8 ft apart in soft clay on axial springs of 1e6 lb/in.
Deck3D four_piles() {
  Deck3D d;
  d.piles = {{-4.0, -4.0}, {-4.0, 4.0}, {4.0, -4.0}, {4.0, 4.0}};
  d.length = 60.0;
  d.increments = 60;
  d.axial_stiffness = 1e6;
  d.layers = {{1, 0.0, 80.0, {56, 700, 0, 100, 0, 0.01, 0.5}}};
  d.cases = {{.fx = 400000, .fy = 20000, .fz = 10000, .my = 2e6, .mz = 3e6, .initial_step = 0.5}};
  return d;
}

class PlateCapRuns : public PileForceRecordingTest {
 protected:
  static void run(RunFolder& folder, const std::string& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.run();
  }
  // A plate file of a run: "file5.case1.plate.lst" for the listing of case 1.
  static std::filesystem::path plate_file(const RunFolder& folder, const char* suffix, const char* run = ".case1") {
    return folder.folder() / (std::string("file5") + run + suffix);
  }
};

using Vector = std::array<double, 6>;

Vector to_array(const PlateVector6& v) {
  Vector a{};
  for (int k = 1; k <= 6; ++k) a[static_cast<std::size_t>(k - 1)] = v(k);
  return a;
}

// The largest magnitude of the translations (0..2) or the rotations (3..5)
// of a set of vectors: the scale each block is compared against.
double block_scale(const std::vector<Vector>& vectors, int first) {
  double scale = 0.0;
  for (const Vector& v : vectors) {
    for (int k = first; k < first + 3; ++k) scale = std::max(scale, std::fabs(v[static_cast<std::size_t>(k)]));
  }
  return scale;
}

void expect_close_blocks(const std::vector<Vector>& actual, const std::vector<Vector>& expected, double relative,
                         const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (int first : {0, 3}) {
    const double tolerance = relative * block_scale(expected, first);
    for (std::size_t p = 0; p < expected.size(); ++p) {
      for (int k = first; k < first + 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_NEAR(actual[p][i], expected[p][i], tolerance) << what << ", pile " << p + 1 << ", component " << k + 1;
      }
    }
  }
}

// u + theta x r at a head at r = (x, y, z).
Vector carried_to_head(const Vector& u, double x, double y, double z) {
  Vector w = u;
  w[0] += u[4] * z - u[5] * y;
  w[1] += u[5] * x - u[3] * z;
  w[2] += u[3] * y - u[4] * x;
  return w;
}

// Forces at a head at r carried to the origin: moments gain r x F.
Vector carried_to_origin(const Vector& f, double x, double y, double z) {
  Vector o = f;
  o[3] += y * f[2] - z * f[1];
  o[4] += z * f[0] - x * f[2];
  o[5] += x * f[1] - y * f[0];
  return o;
}

std::vector<Vector> plate_head_displacements() {
  std::vector<Vector> w;
  for (const PlatePileResponse& r : PlatePileCoupling.piles) w.push_back(to_array(r.head_displacement));
  return w;
}

// The plate's pile reactions carried to the origin, as the rigid cap's (the
// model's tables are released at the end of a run: heads from the deck).
std::vector<Vector> plate_reactions_at_origin(const Deck3D& d) {
  std::vector<Vector> f;
  for (std::size_t p = 0; p < PlatePileCoupling.piles.size() && p < d.piles.size(); ++p) {
    const DeckPile3D& head = d.piles[p];
    f.push_back(
        carried_to_origin(to_array(PlatePileCoupling.piles[p].head_forces), head.x * FT, head.y * FT, head.z * FT));
  }
  return f;
}

// A very stiff plate moves as the rigid cap: the vertical load and the
// moments about both horizontal axes tilt the cap, and the fixed heads take
// its rotations, so the comparison checks the signs of the rotation coupling
// as well as the head offsets below the plate.
TEST_F(PlateCapRuns, VeryStiffPlateReproducesTheRigidCap) {
  Deck3D d = four_piles();
  for (DeckPile3D& p : d.piles) p.x = 1.0;  // heads 1 ft below the cap's plane
  RunFolder rigid("plate_rigid");
  run(rigid, deck_3d(d));
  const auto rows = table_l_rows(rigid);
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_EQ(pile_forces_by_run.size(), 1u);
  std::vector<Vector> rigid_heads;
  for (const DeckPile3D& head : d.piles) {
    rigid_heads.push_back(carried_to_head(rows[0].displacement, head.x * FT, head.y * FT, head.z * FT));
  }
  const std::vector<Vector> rigid_forces = pile_forces_by_run[0];

  RunFolder plate("plate_stiff");
  run(plate, plate_deck(d, {.young = 3.6e12}));
  ASSERT_EQ(PlatePileCoupling.piles.size(), 4u);
  EXPECT_NE(plate.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
  for (int report : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE}) {
    EXPECT_NE(plate.read(report).find("\n     * TABLE I *   COMPUTATION ON INDIVIDUAL PILE\n"), std::string::npos);
    EXPECT_EQ(plate.read(report).find("TABLE L"), std::string::npos) << "no rigid cap results";
  }
  expect_close_blocks(plate_head_displacements(), rigid_heads, 0.01, "head displacement");
  expect_close_blocks(plate_reactions_at_origin(d), rigid_forces, 0.01, "pile reaction");
  // The rigid answer tilts the cap about both horizontal axes.
  EXPECT_GT(std::fabs(rows[0].displacement[4]), 1e-6);
  EXPECT_GT(std::fabs(rows[0].displacement[5]), 1e-6);
}

// Close-spacing factors follow each pile's own sideways movement under a
// plate: a very stiff plate moves its piles as the rigid cap does, so with
// the factors recomputed by the movement it gives the rigid cap's head
// movements and pile reactions with the same factors. The factors matter
// here: they move the rigid cap sideways by more than the tolerance.
TEST_F(PlateCapRuns, VeryStiffPlateWithCloseSpacingFactorsReproducesTheRigidCap) {
  RunFolder without("plate_spacing_none");
  run(without, deck_3d(four_piles()));
  const auto plain_rows = table_l_rows(without);
  ASSERT_EQ(plain_rows.size(), 1u);

  Deck3D d = four_piles();
  d.pmult_method = PMULT_METHOD_MOVEMENT;
  pile_forces_by_run.clear();
  RunFolder rigid("plate_spacing_rigid");
  run(rigid, deck_3d(d));
  const auto rows = table_l_rows(rigid);
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_EQ(pile_forces_by_run.size(), 1u);
  const std::vector<Vector> rigid_forces = pile_forces_by_run[0];
  EXPECT_GT(std::fabs(rows[0].displacement[1] - plain_rows[0].displacement[1]),
            0.05 * std::fabs(plain_rows[0].displacement[1]))
      << "the factors soften the group sideways";
  std::vector<Vector> rigid_heads;
  for (const DeckPile3D& head : d.piles) {
    rigid_heads.push_back(carried_to_head(rows[0].displacement, head.x * FT, head.y * FT, head.z * FT));
  }

  RunFolder plate("plate_spacing_stiff");
  run(plate, plate_deck(d, {.young = 3.6e12}));
  ASSERT_EQ(PlatePileCoupling.piles.size(), 4u);
  EXPECT_NE(plate.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_NE(plate.read(RunFolder::SUMMARY_LINE).find("REDUCTION FACTORS FOR CLOSELY-SPACED PILE"), std::string::npos);
  expect_close_blocks(plate_head_displacements(), rigid_heads, 0.01, "head displacement");
  expect_close_blocks(plate_reactions_at_origin(d), rigid_forces, 0.01, "pile reaction");
}

// Nine piles under a central column load: a soft plate bends and sends more
// of the load to the centre pile than to the corner piles; as the plate
// stiffens the shares even out. The piles balance the load whatever the plate.
TEST_F(PlateCapRuns, FlexiblePlateCentrePileCarriesMoreTheSofterItIs) {
  Deck3D d = four_piles();
  d.piles.clear();
  for (double y : {-4.0, 0.0, 4.0}) {
    for (double z : {-4.0, 0.0, 4.0}) d.piles.push_back({y, z});
  }
  const double load = 900000.0;
  d.cases = {{.fx = load, .initial_step = 0.5}};
  constexpr int CENTRE = 5, CORNER = 1;
  double last_ratio = 0.0;
  for (double young : {3.6e4, 3.6e5, 3.6e6, 3.6e8}) {
    SCOPED_TRACE(young);
    RunFolder folder("plate_flexible");
    run(folder, plate_deck(d, {.young = young}));
    ASSERT_EQ(PlatePileCoupling.piles.size(), 9u);
    double total = 0.0;
    for (const Vector& f : plate_reactions_at_origin(d)) total += f[0];
    EXPECT_NEAR(total, -load, 1e-3 * load) << "the piles balance the column";
    const double centre = PlatePileCoupling.piles[CENTRE - 1].head_forces(1);
    const double corner = PlatePileCoupling.piles[CORNER - 1].head_forces(1);
    const double ratio = centre / corner;
    EXPECT_GT(ratio, 1.0);
    if (last_ratio > 0.0) {
      EXPECT_LT(ratio, last_ratio) << "a stiffer plate evens the shares out";
    }
    last_ratio = ratio;
  }
  EXPECT_LT(last_ratio, 1.01) << "a stiff plate shares the column equally";
}

// Whatever the plate's stiffness, the pile reactions balance every load at
// the origin, the torsion (carried to the plate as a ring of forces)
// included, with its sign.
TEST_F(PlateCapRuns, PileReactionsBalanceTheCapLoad) {
  Deck3D d = four_piles();
  d.cases = {{.fx = 400000, .fy = 20000, .fz = -15000, .mx = 1.5e6, .my = 2e6, .mz = -3e6, .initial_step = 0.5}};
  const Vector load{400000, 20000, -15000, 1.5e6, 2e6, -3e6};
  for (double young : {3.6e5, 3.6e9}) {
    SCOPED_TRACE(young);
    RunFolder folder("plate_balance");
    run(folder, plate_deck(d, {.young = young}));
    Vector sum{};
    for (const Vector& f : plate_reactions_at_origin(d)) {
      for (std::size_t k = 0; k < 6; ++k) sum[k] += f[k];
    }
    for (std::size_t k = 0; k < 6; ++k) {
      const double scale = k < 3 ? 400000.0 : 3e6;
      EXPECT_NEAR(sum[k], -load[k], 1e-3 * scale) << "component " << k + 1;
    }
  }
}

// A plate loaded sideways past what its piles carry keeps its converged
// steps: the case ends below the full load (result code 2, the warning on
// the reports and the run log, as the rigid cap gives it) with the pile
// reactions balancing that part of the load. The overflowing iteration used
// to end the whole analysis with an error.
TEST_F(PlateCapRuns, OverloadedPlateEndsBelowTheFullLoadWithBalancedPiles) {
  Deck3D d = four_piles();
  d.cases = {{.fx = 400000, .fy = 4000000, .my = 1.2e6, .initial_step = 0.5}};
  const Vector load{400000, 4000000, 0, 0, 1.2e6, 0};
  auto percent_of = [](const RunFolder& folder) {
    const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
    const std::size_t at = codes.find("    2 SOLUTION AT ");
    return at == std::string::npos ? -1.0 : std::stod(codes.substr(at + 18, 8));
  };
  RunFolder rigid_folder("plate_overload_rigid");
  run(rigid_folder, deck_3d(d));
  const double rigid_percent = percent_of(rigid_folder);
  ASSERT_GT(rigid_percent, 0.0) << rigid_folder.read(RunFolder::RESULT_CODES_LINE)
                                << rigid_folder.read(RunFolder::RUN_LOG_LINE);

  RunFolder folder("plate_overload");
  run(folder, plate_deck(d, {}));
  const double percent = percent_of(folder);
  ASSERT_GT(percent, 0.0) << folder.read(RunFolder::RUN_LOG_LINE);
  // Both end where a load step of the piles' last stand no longer converges;
  // the plate's iteration, without the rigid cap's retries of its own,
  // gives up at a smaller part (21.88 % against 31.25 % when this was
  // written), but not at a first step that failed.
  EXPECT_GT(percent, 0.5 * rigid_percent);
  char warning[80];
  std::snprintf(warning, sizeof warning, "  RESULTS ARE FOR %8.2f%% OF THE TOTAL LOAD", percent);
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::RUN_LOG_LINE}) {
    EXPECT_NE(folder.read(line).find(warning), std::string::npos) << line;
  }
  Vector sum{};
  for (const Vector& f : plate_reactions_at_origin(d)) {
    for (std::size_t k = 0; k < 6; ++k) sum[k] += f[k];
  }
  for (std::size_t k = 0; k < 6; ++k) {
    const double scale = k < 3 ? 4000000.0 : 1.2e6;
    EXPECT_NEAR(sum[k], -load[k] * percent / 100.0, 2e-3 * scale) << "component " << k + 1;
  }
}

// The piles at +-4 ft of a 12 ft cap lie on corner nodes of a 6 x 6 mesh and
// inside the elements of a 4 x 4 mesh (at xi = eta = +-1/3); both carry the
// same load the same way.
TEST_F(PlateCapRuns, PileOnANodeAndInsideAnElementAgree) {
  const Deck3D d = four_piles();
  std::vector<std::vector<Vector>> heads, forces;
  for (int divisions : {6, 4}) {
    SCOPED_TRACE(divisions);
    RunFolder folder("plate_mesh");
    run(folder, plate_deck(d, {.divisions_1 = divisions, .divisions_2 = divisions, .young = 3.6e8}));
    ASSERT_EQ(PlatePileCoupling.piles.size(), 4u);
    heads.push_back(plate_head_displacements());
    forces.push_back(plate_reactions_at_origin(d));
  }
  expect_close_blocks(heads[1], heads[0], 0.01, "head displacement");
  expect_close_blocks(forces[1], forces[0], 0.01, "pile reaction");
}

// The plate's own files and the engine's reports are the same whatever the
// number of threads the pile loop runs on.
TEST_F(PlateCapRuns, PlateReportsAreAlikeForOneAndFourThreads) {
  Deck3D d = four_piles();
  std::vector<std::vector<std::string>> files;
  for (int threads : {1, 4}) {
    d.cases[0].threads = threads;
    RunFolder folder("plate_threads");
    run(folder, plate_deck(d, {}));
    std::vector<std::string> texts;
    for (const char* suffix : {".plate.lst", ".plate.steps", ".plate.log", ".plate.dbg"}) {
      texts.push_back(RunFolder::read_file(plate_file(folder, suffix)));
      EXPECT_FALSE(texts.back().empty()) << suffix;
    }
    texts.push_back(without_timing(folder.read(RunFolder::RESULTS_LINE)));
    texts.push_back(without_timing(folder.read(RunFolder::SUMMARY_LINE)));
    files.push_back(texts);
  }
  for (std::size_t k = 0; k < files[0].size(); ++k) EXPECT_EQ(files[0][k], files[1][k]) << "file " << k;
}

// The deck of the four piles with two load cases and two combinations, the
// envelopes of both printed, with the given cap.
constexpr PlateCap PLATE_OF_THE_FIXTURE{};

std::string enveloped_deck(const PlateCap* plate) {
  Deck3D d = four_piles();
  d.cases.push_back({.fx = 300000, .fy = -20000, .fz = 15000, .my = -1e6, .mz = 1e6, .initial_step = 0.5});
  d.combinations = {{{{1, 1.0}, {2, 0.5}}}, {{{2, 1.2}}}};
  std::string deck = plate ? plate_deck(d, *plate) : deck_3d(d);
  std::string columns;
  for (int k = 0; k < 25; ++k) columns.append(k == 0 ? "1" : " 1");
  for (const std::string section : {"LOAD CASES\n2", "LOAD COMBINATIONS\n2"}) {
    const std::string line = section + " 0 0 0 0\n";
    const auto at = deck.find(line);
    if (at == std::string::npos) {
      ADD_FAILURE() << "the deck's " << section << " line moved";
      return deck;
    }
    deck.replace(at, line.size(), section + " 1 0 1 0\n" + columns + "\n");
  }
  return deck;
}

// The rows of every table of the summary that follows a marker line, table
// by table in report order: each row's values after its pile number (the
// location rows of the extreme-value tables are skipped).
using Rows = std::vector<std::vector<double>>;
std::vector<Rows> summary_tables(const RunFolder& folder, const std::string& marker, std::size_t heading_lines) {
  const auto lines = folder.lines(RunFolder::SUMMARY_LINE);
  std::vector<Rows> tables;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].find(marker) == std::string::npos) continue;
    Rows rows;
    for (std::size_t r = k + heading_lines; r < lines.size(); ++r) {
      if (lines[r].find("x(FT)") != std::string::npos) continue;
      std::istringstream in(lines[r]);
      int pile = 0;
      if (!(in >> pile)) break;
      std::vector<double> values;
      for (double x = 0.0; in >> x;) values.push_back(x);
      rows.push_back(values);
    }
    tables.push_back(rows);
  }
  return tables;
}

// What the summary of an enveloped deck prints for every run in order (case
// 1, case 2, their minimum and maximum envelopes, then the same for the
// combinations): the pile-top reactions in pile axes and the extreme values
// along the piles.
struct RunTables {
  std::vector<Rows> local_reactions, minima, maxima;
};

RunTables run_tables(const RunFolder& folder) {
  RunTables t;
  const std::vector<Rows> reactions = summary_tables(folder, "* PILE TOP REACTIONS *", 4);
  for (std::size_t k = 1; k < reactions.size(); k += 2) t.local_reactions.push_back(reactions[k]);
  t.minima = summary_tables(folder, "* MINIMUM VALUES AND LOCATIONS *", 6);
  t.maxima = summary_tables(folder, "* MAXIMUM VALUES AND LOCATIONS *", 6);
  return t;
}

constexpr std::size_t RUNS_WITH_ENVELOPES = 8;     // 2 cases, 2 envelopes, 2 combinations, 2 envelopes
constexpr std::size_t MOMENT_Z = 3, MOMENT_Y = 4;  // columns of the extreme-value tables

// The pile envelopes of a plate cap are formed over the cases and over the
// combinations as under a rigid cap: each envelope holds, pile by pile, the
// larger (maximum) or smaller (minimum) of the two runs' printed values, for
// every pile-top reaction and for the extreme moments along the pile; only
// the cap's own envelope is left out, with a note in its place.
TEST_F(PlateCapRuns, PlateCapEnvelopesHoldTheExtremesOfTheRuns) {
  RunFolder folder("plate_envelopes");
  run(folder, enveloped_deck(&PLATE_OF_THE_FIXTURE));
  const RunTables t = run_tables(folder);
  ASSERT_EQ(t.local_reactions.size(), RUNS_WITH_ENVELOPES);
  ASSERT_EQ(t.minima.size(), RUNS_WITH_ENVELOPES);
  ASSERT_EQ(t.maxima.size(), RUNS_WITH_ENVELOPES);
  for (std::size_t first : {0u, 4u}) {
    const std::size_t a = first, b = first + 1, minimum = first + 2, maximum = first + 3;
    for (std::size_t p = 0; p < 4; ++p) {
      const std::vector<double>& top_a = t.local_reactions[a].at(p);
      const std::vector<double>& top_b = t.local_reactions[b].at(p);
      ASSERT_EQ(top_a.size(), 6u);
      for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(t.local_reactions[maximum].at(p).at(k), std::max(top_a[k], top_b[k]))
            << "run " << first << ", pile " << p + 1 << ", reaction " << k + 1;
        EXPECT_DOUBLE_EQ(t.local_reactions[minimum].at(p).at(k), std::min(top_a[k], top_b[k]))
            << "run " << first << ", pile " << p + 1 << ", reaction " << k + 1;
      }
      for (std::size_t k : {MOMENT_Z, MOMENT_Y}) {
        EXPECT_DOUBLE_EQ(t.maxima[maximum].at(p).at(k), std::max(t.maxima[a].at(p).at(k), t.maxima[b].at(p).at(k)))
            << "run " << first << ", pile " << p + 1 << ", moment column " << k;
        EXPECT_DOUBLE_EQ(t.minima[minimum].at(p).at(k), std::min(t.minima[a].at(p).at(k), t.minima[b].at(p).at(k)))
            << "run " << first << ", pile " << p + 1 << ", moment column " << k;
      }
    }
  }
  // The two cases differ: an envelope equal to one run only would not pass.
  EXPECT_NE(t.local_reactions[0][0][0], t.local_reactions[1][0][0]);

  const std::string note =
      "\n     NOTE: THE CAP ENVELOPE IS NOT FORMED: THE PLATE MODEL OF THE CAP HAS NO SINGLE DISPLACEMENT AT THE "
      "ORIGIN\n";
  for (int report : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE, RunFolder::COMPUTATION_LINE}) {
    const std::string text = folder.read(report);
    std::size_t notes = 0;
    for (std::size_t k = text.find(note); k != std::string::npos; k = text.find(note, k + 1)) ++notes;
    EXPECT_EQ(notes, 4u) << "report " << report << ": one note for each envelope";
    EXPECT_EQ(text.find("TABLE L"), std::string::npos) << "report " << report;
  }
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  std::size_t printed = 0;
  for (std::size_t k = codes.find("CALCULATED AND PRINTED"); k != std::string::npos;
       k = codes.find("CALCULATED AND PRINTED", k + 1))
    ++printed;
  EXPECT_EQ(printed, 4u);
  EXPECT_EQ(folder.read(RunFolder::RUN_LOG_LINE).find("ENVELOPES ARE NOT FORMED"), std::string::npos);
}

// A plate that is only exported feeds no run into the envelopes: instead of
// tables of the stores' reset zeros the reports say they are not formed,
// and the result-code file has no envelope lines.
TEST_F(PlateCapRuns, ExportedPlateFormsNoEnvelopes) {
  const PlateCap exported{.cap_model = CAP_MODEL_PLATE_EXPORT};
  RunFolder folder("plate_envelopes_export");
  run(folder, enveloped_deck(&exported));
  const std::string note =
      "\n     NOTE: ENVELOPES ARE NOT FORMED: NO RUN OF THE PLATE MODEL OF THE CAP GAVE PILE RESULTS\n";
  for (int report : {RunFolder::RESULTS_LINE, RunFolder::RUN_LOG_LINE}) {
    const std::string text = folder.read(report);
    std::size_t notes = 0;
    for (std::size_t k = text.find(note); k != std::string::npos; k = text.find(note, k + 1)) ++notes;
    EXPECT_EQ(notes, 2u) << "report " << report << ": the cases and the combinations";
    EXPECT_EQ(text.find("MAXIMUM ENVELOPE"), std::string::npos) << "report " << report;
  }
  EXPECT_EQ(folder.read(RunFolder::RESULT_CODES_LINE).find("ENVELOPE"), std::string::npos);
}

// A very stiff plate gives the rigid cap's pile envelopes: the pile-top
// reactions in pile axes and the extreme moments along the piles of both
// envelopes of the cases and of the combinations within 1 % (of the value
// for the axial force, of the largest of the lateral forces or of the
// moments otherwise: the piles' torsion, a few tens of lb-in with no twist
// applied, is measured against their bending moments).
TEST_F(PlateCapRuns, VeryStiffPlateEnvelopesAreTheRigidCapsEnvelopes) {
  RunFolder rigid("plate_envelopes_rigid");
  run(rigid, enveloped_deck(nullptr));
  const RunTables r = run_tables(rigid);
  const PlateCap stiff{.young = 3.6e10};
  RunFolder plate("plate_envelopes_stiff");
  run(plate, enveloped_deck(&stiff));
  const RunTables s = run_tables(plate);
  for (const RunTables* t : {&r, &s}) {
    ASSERT_EQ(t->local_reactions.size(), RUNS_WITH_ENVELOPES);
    ASSERT_EQ(t->minima.size(), RUNS_WITH_ENVELOPES);
    ASSERT_EQ(t->maxima.size(), RUNS_WITH_ENVELOPES);
  }
  // Columns first..last of the pile rows, each within 1 % of the largest
  // magnitude of those columns, or of its own value when own_value.
  auto expect_close = [](const Rows& actual, const Rows& expected, std::size_t first, std::size_t last, bool own_value,
                         const char* what) {
    double scale = 0.0;
    for (const std::vector<double>& row : expected) {
      for (std::size_t k = first; k <= last; ++k) scale = std::max(scale, std::fabs(row.at(k)));
    }
    for (std::size_t p = 0; p < expected.size(); ++p) {
      for (std::size_t k = first; k <= last; ++k) {
        const double tolerance = 0.01 * (own_value ? std::fabs(expected[p].at(k)) : scale);
        EXPECT_NEAR(actual.at(p).at(k), expected[p].at(k), tolerance) << what << ", pile " << p + 1 << ", column " << k;
      }
    }
  };
  for (std::size_t envelope : {2u, 3u, 6u, 7u}) {
    ASSERT_EQ(s.local_reactions[envelope].size(), 4u);
    const Rows& plate_top = s.local_reactions[envelope];
    const Rows& rigid_top = r.local_reactions[envelope];
    expect_close(plate_top, rigid_top, 0, 0, true, "pile-top axial force");
    expect_close(plate_top, rigid_top, 1, 2, false, "pile-top lateral force");
    expect_close(plate_top, rigid_top, 3, 5, false, "pile-top moment");
    expect_close(s.minima[envelope], r.minima[envelope], MOMENT_Z, MOMENT_Y, false, "minimum moment");
    expect_close(s.maxima[envelope], r.maxima[envelope], MOMENT_Z, MOMENT_Y, false, "maximum moment");
  }
}

// The example deck of the flexible cap with a very stiff plate, and its
// rigid-cap twin (the same deck with the cap option 0 and no plate line).
std::string example_deck(bool rigid) {
  std::string deck = RunFolder::read_file(std::string(PILECAP_EXAMPLES) + "/flexible_cap.inp");
  const std::string plate_line = "0 0 6 6 3.6E6 0.2\n";
  const std::string options = "1 3 0 1 0 0";
  const auto at_plate = deck.find(plate_line);
  const auto at_options = deck.find(options);
  if (at_plate == std::string::npos || at_options == std::string::npos) {
    ADD_FAILURE() << "the example's option or plate line moved";
    return deck;
  }
  if (rigid) {
    deck.erase(at_plate, plate_line.size());
    deck.replace(at_options, options.size(), "1 3 0 0 0 0");
  } else {
    deck.replace(at_plate, plate_line.size(), "0 0 6 6 3.6E10 0.2\n");
  }
  return deck;
}

// A plate run reports its piles as a rigid-cap run does: the very stiff
// plate prints the rigid cap's pile-top axial and lateral forces in the same
// summary table, and the printed pile forces balance the cap load (400 kips
// down, 40 kips along Y, 1200 kip-in about Y at the origin).
TEST_F(PlateCapRuns, StiffPlatePrintsTheRigidCapsPileTopForces) {
  RunFolder rigid("plate_example_rigid");
  run(rigid, example_deck(true));
  const std::vector<Vector6> rigid_rows = pile_top_reactions(rigid);
  RunFolder plate("plate_example_stiff");
  run(plate, example_deck(false));
  const std::vector<Vector6> plate_rows = pile_top_reactions(plate);
  ASSERT_EQ(rigid_rows.size(), 4u);
  ASSERT_EQ(plate_rows.size(), 4u);
  EXPECT_NE(plate.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_NE(plate.read(RunFolder::RESULTS_LINE)
                .find("\n     THE CAP IS THE PLATE MODEL: ITS DISPLACEMENTS, MOMENTS AND SHEARS ARE IN "
                      "file5.case1.plate.lst\n"),
            std::string::npos);

  double axial_scale = 0.0, lateral_scale = 0.0;
  for (const Vector6& row : rigid_rows) {
    axial_scale = std::max(axial_scale, std::fabs(row[0]));
    lateral_scale = std::max({lateral_scale, std::fabs(row[1]), std::fabs(row[2])});
  }
  for (std::size_t p = 0; p < 4; ++p) {
    EXPECT_NEAR(plate_rows[p][0], rigid_rows[p][0], 0.01 * std::fabs(rigid_rows[p][0])) << "axial, pile " << p + 1;
    for (std::size_t k : {1u, 2u}) {
      EXPECT_NEAR(plate_rows[p][k], rigid_rows[p][k], 0.01 * lateral_scale) << "lateral " << k << ", pile " << p + 1;
    }
  }

  const Vector6 load{400.0, 40.0, 0.0, 0.0, 1200.0, 0.0};                                         // kips, kip-in
  const std::vector<std::array<double, 2>> heads = {{-48, -48}, {-48, 48}, {48, -48}, {48, 48}};  // y, z in
  const Vector6 sum = resultant_at_origin(plate_rows, heads);
  for (std::size_t k = 0; k < 6; ++k) {
    const double scale = k < 3 ? 400.0 : 1200.0;
    EXPECT_NEAR(sum[k], load[k], 1e-3 * scale) << "component " << k + 1;
  }
}

// Every run of a deck keeps its own plate files: the listing, step results,
// convergence log and debug trace of each case and combination, each named
// in the run's block of the results report and the summary. Each run's files
// are those of a deck holding that load alone (so nothing of one run is lost
// to, or mixed into, another), and an export keeps every run's data file,
// the same file the analysis of that run reads.
TEST_F(PlateCapRuns, EveryRunKeepsItsOwnPlateFiles) {
  Deck3D d = four_piles();
  d.cases.push_back({.fx = 300000, .fy = -20000, .fz = 15000, .my = -1e6, .mz = 1e6, .initial_step = 0.5});
  d.combinations = {{{{1, 1.0}, {2, 0.5}}}};
  RunFolder folder("plate_every_run");
  run(folder, plate_deck(d, {}));
  const char* const runs[] = {".case1", ".case2", ".comb1"};
  const std::string results = folder.read(RunFolder::RESULTS_LINE);
  const std::string summary = folder.read(RunFolder::SUMMARY_LINE);
  for (const char* r : runs) {
    SCOPED_TRACE(r);
    const std::string listing = RunFolder::read_file(plate_file(folder, ".plate.lst", r));
    EXPECT_NE(listing.find(" DISPLACEMENTS\n"), std::string::npos);
    EXPECT_NE(listing.find("X-MOMENT"), std::string::npos);
    const std::string steps = RunFolder::read_file(plate_file(folder, ".plate.steps", r));
    EXPECT_EQ(steps.rfind("STEP_DATA\n", 0), 0u);
    EXPECT_TRUE(steps.ends_with("END_STEP_DATA\n"));
    EXPECT_TRUE(std::filesystem::exists(plate_file(folder, ".plate.log", r)));
    EXPECT_TRUE(std::filesystem::exists(plate_file(folder, ".plate.dbg", r)));
    const std::string pointer =
        std::string("THE CAP IS THE PLATE MODEL: ITS DISPLACEMENTS, MOMENTS AND SHEARS ARE IN file5") + r +
        ".plate.lst";
    EXPECT_NE(results.find(pointer), std::string::npos);
    EXPECT_NE(summary.find(pointer), std::string::npos);
  }
  // Each pointer stands in its own run's block, in run order.
  const std::size_t case_2 = summary.find("LOAD CASE :     2");
  const std::size_t combination = summary.find("LOAD COMB. :     1");
  ASSERT_NE(case_2, std::string::npos);
  ASSERT_NE(combination, std::string::npos);
  EXPECT_LT(summary.find("file5.case1.plate.lst"), case_2);
  EXPECT_GT(summary.find("file5.case2.plate.lst"), case_2);
  EXPECT_LT(summary.find("file5.case2.plate.lst"), combination);
  EXPECT_GT(summary.find("file5.comb1.plate.lst"), combination);

  // Case 2 of the deck against a deck whose only case is that load.
  Deck3D alone = d;
  alone.cases = {d.cases[1]};
  alone.combinations.clear();
  RunFolder single("plate_every_run_alone");
  run(single, plate_deck(alone, {}));
  for (const char* suffix : {".plate.lst", ".plate.steps", ".plate.log"}) {
    EXPECT_EQ(RunFolder::read_file(plate_file(folder, suffix, ".case2")),
              RunFolder::read_file(plate_file(single, suffix, ".case1")))
        << suffix;
  }

  RunFolder exported("plate_every_run_export");
  run(exported, plate_deck(d, {.cap_model = CAP_MODEL_PLATE_EXPORT}));
  for (const char* r : runs) {
    const std::string data = RunFolder::read_file(plate_file(exported, ".plate.dat", r));
    EXPECT_FALSE(data.empty()) << r;
    EXPECT_EQ(data, RunFolder::read_file(plate_file(folder, ".plate.dat", r))) << r;
    EXPECT_TRUE(std::filesystem::exists(plate_file(exported, ".plate.key", r))) << r;
  }
}

constexpr int ECHO_LINE_OF_THE_RUN = 6;  // line of "Names.dat" naming the input echo

// The status record at which a test asks for the stop, and whether it did.
std::string stop_at_record;
bool stop_written = false;

// Writes 1 into the stop-request file once the status file holds the record
// named: the engine polls the request right after the record, so the stop
// lands there whatever the speed of the machine.
void stop_at_status_record() {
  if (stop_written) return;
  if (RunFolder::read_file(RunFiles.status_file).find(stop_at_record) == std::string::npos) return;
  RunFolder::put_file(RunFiles.stop_request_file, "1\n");
  stop_written = true;
}

// The last converged step of a plate listing: the TIME of its last "STEP =" line.
double last_listed_time(const std::string& listing) {
  const std::size_t at = listing.rfind("   STEP =");
  const std::size_t time = at == std::string::npos ? at : listing.find("TIME =", at);
  return time == std::string::npos ? -1.0 : std::stod(listing.substr(time + 6, 10));
}

// A stop request after some converged load steps: the run ends with the
// stop message, the case has no result code, and the host reports the share
// of the load of the last converged step (the plate's from its own listing,
// the rigid cap's the steps it converged) and that the results are missing.
TEST_F(PlateCapRuns, StopAfterConvergedStepsReportsTheLastConvergedShare) {
  struct Case {
    const char* name;
    bool plate;
    double initial_step;
    const char* record;  // the status record after which the stop lands
    const char* percent;
  };
  const Case cases[] = {
      {"plate, after its first step", true, 0.05, " STEP:    2 TCUR:    0.1000 ITERATION:    1", "5.00"},
      {"rigid cap, after two steps", false, 0.25, " STEP:    3 TCUR:    0.7500 ITERATION:    1", "50.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Deck3D d = four_piles();
    d.cases[0].initial_step = c.initial_step;
    stop_at_record = c.record;
    stop_written = false;
    SET_STATUS_WRITTEN_HOOK(stop_at_status_record);
    RunFolder folder("stopped_case");
    run(folder, c.plate ? plate_deck(d, {}) : deck_3d(d));
    SET_STATUS_WRITTEN_HOOK(nullptr);
    ASSERT_TRUE(stop_written);
    EXPECT_EQ(folder.final_message(), (std::vector<std::string>{"      *** ANALYSIS STOPPED BY USER ***"}));
    const auto codes = folder.lines(RunFolder::RESULT_CODES_LINE);
    auto runs = host::read_run_outcomes(codes, folder.lines(RunFolder::RUN_LOG_LINE));
    host::settle_unreached_runs(runs, folder.lines(ECHO_LINE_OF_THE_RUN), true);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].outcome, host::Outcome::CutShort);
    EXPECT_EQ(runs[0].percent, c.percent);
    EXPECT_NE(host::describe(runs[0]).find(std::string("stopped by request at ") + c.percent +
                                           " % of the load, no results reported"),
              std::string::npos);
    if (c.plate) {
      const double listed = last_listed_time(RunFolder::read_file(plate_file(folder, ".plate.lst")));
      EXPECT_DOUBLE_EQ(listed, c.initial_step);
      const std::string steps = RunFolder::read_file(plate_file(folder, ".plate.steps"));
      EXPECT_TRUE(steps.ends_with("END_STEP_DATA\n"));
    }
  }
}

// A case a plate cap cannot carry (an estimation of the cap's flexibility)
// is refused alone, with its reason in the run log and on its outcome; the
// next case and the combination are analysed and the run completes.
TEST_F(PlateCapRuns, EstimationCaseIsRefusedAloneAndTheOtherRunsGoOn) {
  Deck3D d = four_piles();
  d.cases.push_back({.fx = 300000, .fy = -20000, .initial_step = 0.5});
  d.combinations = {{{{2, 1.0}}}};
  const std::string deck = with_point_values(plate_deck(d, {}), "1 1 1 0 0 0 0 0", {0.5, 1.0});
  RunFolder folder("plate_refused_case");
  run(folder, deck);
  const auto codes = folder.lines(RunFolder::RESULT_CODES_LINE);
  std::vector<std::string> outcomes;
  for (const std::string& line : codes) {
    if (line.find("ANALYSIS NOT PERFORMED") != std::string::npos ||
        line.find("ANALYSIS COMPLETED") != std::string::npos)
      outcomes.push_back(line.substr(line.find_first_not_of(' ')));
  }
  EXPECT_EQ(outcomes,
            (std::vector<std::string>{"9 ANALYSIS NOT PERFORMED", "1 ANALYSIS COMPLETED", "1 ANALYSIS COMPLETED"}));
  const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
  EXPECT_NE(log.find("     NOTE: ESTIMATION AND PUSHOVER POINTS NEED A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, "
                     "RUN NOT ANALYZED"),
            std::string::npos);
  EXPECT_NE(log.find("ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.folder() / "file15.txt")) << "no flexibility columns";
}

// A run into the folder of an earlier plate run of the same deck leaves no
// plate file of that run: a rigid-cap run none at all, an export only its
// own data files.
TEST_F(PlateCapRuns, RerunLeavesNoStalePlateFiles) {
  const char* const suffixes[] = {".plate.dat", ".plate.key", ".plate.lst", ".plate.steps", ".plate.log", ".plate.dbg"};
  RunFolder folder("plate_rerun");
  run(folder, plate_deck(four_piles(), {}));
  for (const char* suffix : suffixes) ASSERT_TRUE(std::filesystem::exists(plate_file(folder, suffix))) << suffix;
  run(folder, plate_deck(four_piles(), {.cap_model = CAP_MODEL_PLATE_EXPORT}));
  for (const char* suffix : suffixes) {
    const bool exported = std::string(suffix) == ".plate.dat" || std::string(suffix) == ".plate.key";
    EXPECT_EQ(std::filesystem::exists(plate_file(folder, suffix)), exported) << suffix;
  }
  // Plate files of other runs of the deck, and of a run before the runs had
  // their own files, go too; a file that only looks like one stays.
  const char* const others[] = {"file5.comb2.plate.log", "file5.case12.plate.steps", "file5.plate.lst"};
  const char* const not_plate[] = {"file5.caseX.plate.lst", "file5.case1.plate.txt", "other.case1.plate.lst"};
  for (const char* name : others) RunFolder::put_file(folder.folder() / name, "stale\n");
  for (const char* name : not_plate) RunFolder::put_file(folder.folder() / name, "kept\n");
  run(folder, deck_3d(four_piles()));
  EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
  for (const char* suffix : suffixes) EXPECT_FALSE(std::filesystem::exists(plate_file(folder, suffix))) << suffix;
  for (const char* name : others) EXPECT_FALSE(std::filesystem::exists(folder.folder() / name)) << name;
  for (const char* name : not_plate) EXPECT_TRUE(std::filesystem::exists(folder.folder() / name)) << name;
  EXPECT_FALSE(std::filesystem::exists(folder.folder() / "gslab.dat"));
  EXPECT_TRUE(std::filesystem::exists(folder.path(RunFolder::INPUT_LINE))) << "the deck itself stays";
}

// Export only: the plate files are written, nothing is analysed, and the run
// says so; the run itself completes.
TEST_F(PlateCapRuns, ExportWritesThePlateFilesAndAnalysesNothing) {
  RunFolder folder("plate_export");
  run(folder, plate_deck(four_piles(), {.cap_model = CAP_MODEL_PLATE_EXPORT}));
  EXPECT_TRUE(std::filesystem::exists(plate_file(folder, ".plate.dat")));
  EXPECT_TRUE(std::filesystem::exists(plate_file(folder, ".plate.key")));
  EXPECT_FALSE(std::filesystem::exists(plate_file(folder, ".plate.lst")));
  EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("9 ANALYSIS NOT PERFORMED"), std::string::npos);
  EXPECT_EQ(folder.read(RunFolder::RESULTS_LINE).find("* TABLE I *"), std::string::npos);
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  EXPECT_NE(std::find_if(log.begin(), log.end(),
                         [](const std::string& l) { return l.find("ANALYSIS COMPLETED") != std::string::npos; }),
            log.end());
}

}  // namespace
}  // namespace pilecap::testing
