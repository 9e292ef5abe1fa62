// Whole runs with the per-node cache of p-y curve data and the reuse of
// lateral solutions switched off (every curve and every solve computed) and
// on: every output file of the example decks and of generated groups (among
// them reduction factors that follow the cap) must be
// the same byte for byte, apart from the date and timing lines. The run with
// the cache on takes a different thread count, so the comparison also holds
// the results to their independence of the threads.
#include <gtest/gtest.h>
#include <omp.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "soil/py_curves.hpp"
#include "soil/soil.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

std::string read_deck(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A 3 x 3 group with one battered pile through six layers of the criteria
// that carry values from node to node (the cohesion and strength averages,
// the resistance of the node before), under a static and a cyclic case with
// torsion; every lower layer takes an equivalent depth.
std::string layered_group() {
  Deck3D d;
  d.title = "LAYERED GROUP FOR THE CURVE CACHE";
  for (int i = -1; i <= 1; ++i) {
    for (int k = -1; k <= 1; ++k) d.piles.push_back({6.0 * i, 6.0 * k});
  }
  d.piles[4].beta = 80.0;
  d.length = 60.0;
  d.increments = 60;
  d.layers = {{SOIL_SOFT_CLAY, 0.0, 10.0, {56, 700, 0, 0, 0, 0.01, 0.5}},
              {SOIL_STIFF_CLAY_NO_WATER, 10.0, 20.0, {58, 2000, 0, 0, 0, 0.005, 0}},
              {SOIL_STIFF_CLAY_FREE_WATER, 20.0, 30.0, {58, 2500, 0, 500, 0, 0.005, 0}},
              {SOIL_SILT, 30.0, 40.0, {60, 200, 30, 100, 0, 0.01, 0}},
              {SOIL_API_SAND, 40.0, 55.0, {62, 0, 35, 100, 0, 0, 0}},
              {SOIL_WEAK_ROCK, 55.0, 80.0, {64, 1000, 0, 0, 20000, 0.0005, 50}}};
  d.axial_stiffness = 1e6;
  d.llp_tolerance = 1e-8;
  d.cases = {{.fx = 900000, .fy = 60000, .fz = -40000, .mx = 300000, .mz = -2.0e6, .initial_step = 0.5},
             {.fx = 600000, .fy = -90000, .fz = 30000, .mx = -200000, .my = 1.0e6}};
  std::string deck = deck_3d(d);
  // The second case is cyclic.
  const std::string static_case = "\n0 0 0 1 100 ";
  const std::size_t second = deck.find(static_case, deck.find(static_case) + 1);
  if (second != std::string::npos) deck.replace(second, static_case.size(), "\n0 0 0 2 100 ");
  return deck;
}

// A 3 x 3 group at 2.5 diameters whose reduction factors follow the cap's
// movement: the factors of every evaluation (and of the twelve evaluations of
// the difference tangent) change between force vectors, and the reuse of
// lateral solutions must follow them.
std::string close_group_following_factors() {
  Deck3D d;
  d.title = "CLOSE GROUP WITH DIRECTION FACTORS FOR THE CURVE CACHE";
  for (double y : {-5.0, 0.0, 5.0}) {
    for (double z : {-5.0, 0.0, 5.0}) d.piles.push_back({y, z});
  }
  d.length = 50.0;
  d.increments = 50;
  d.layers = {{SOIL_SOFT_CLAY, 0.0, 12.0, {56, 900, 0, 0, 0, 0.01, 0.5}},
              {SOIL_SAND, 12.0, 80.0, {62, 0, 34, 90, 0, 0, 0}}};
  d.axial_stiffness = 2e6;
  d.torsion_stiffness = 1e10;
  d.cases = {{.fx = 900000, .fy = 120000, .fz = -40000, .mx = 100000, .initial_step = 0.5}};
  d.pmult_method = 1;
  return deck_3d(d);
}

struct CacheDeck {
  const char* name;
  std::string (*text)();
  const char* evidence = nullptr;  // a text some output holds when the deck takes the road it is here for
};

const CacheDeck DECKS[] = {
    {"single_pile", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/single_pile.inp"); }},
    {"group_2x2_3d", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/group_2x2_3d.inp"); }},
    {"group_3x3_layered", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/group_3x3_layered.inp"); }},
    {"shafts_clay_sand_rock", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/shafts_clay_sand_rock.inp"); }},
    {"bent_2d", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/bent_2d.inp"); }},
    {"flexibility_3d", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/flexibility_3d.inp"); }},
    {"group_4x4_overloaded", [] { return read_deck(std::string(PILECAP_TEST_DATA) + "/group_4x4_overloaded.inp"); }},
    {"group_3x3_embedded_cap", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/group_3x3_embedded_cap.inp"); }},
    {"bent_2d_embedded_cap", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/bent_2d_embedded_cap.inp"); }},
    {"pushover_3d", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/pushover_3d.inp"); }},
    {"stiffness_3d", [] { return read_deck(std::string(PILECAP_EXAMPLES) + "/stiffness_3d.inp"); }},
    {"layered_group", layered_group},
    {"close_group_following_factors", close_group_following_factors,
     "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG"},
};

// Every file a run of the deck leaves in its folder, by name, without the
// lines that alone may differ between two runs.
std::map<std::string, std::string> run_outputs(const std::string& tag, const std::string& deck, int cache,
                                               int threads) {
  reset_engine_state();
  PyCurveCache.enabled = cache;
  omp_set_num_threads(threads);
  RunFolder folder(tag);
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck);
  folder.run();
  std::map<std::string, std::string> outputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder.folder())) {
    const std::string name = entry.path().filename().string();
    if (name == "Names.dat" || entry.path() == folder.path(RunFolder::INPUT_LINE)) continue;
    outputs[name] = without_timing(RunFolder::read_file(entry.path()));
  }
  return outputs;
}

// The line where two texts first differ, both forms.
std::string first_difference(const std::string& a, const std::string& b) {
  std::istringstream in_a(a), in_b(b);
  std::string line_a, line_b;
  for (int line = 1;; ++line) {
    const bool more_a = static_cast<bool>(std::getline(in_a, line_a));
    const bool more_b = static_cast<bool>(std::getline(in_b, line_b));
    if (!more_a && !more_b) return "nowhere";
    if (more_a != more_b || line_a != line_b) {
      return "line " + std::to_string(line) + "\n  off: " + (more_a ? line_a : "<end>") +
             "\n  on:  " + (more_b ? line_b : "<end>");
    }
  }
}

class CachedEvaluations : public ::testing::TestWithParam<CacheDeck> {
 protected:
  void SetUp() override { reset_engine_state(); }
  void TearDown() override { reset_engine_state(); }
};

TEST_P(CachedEvaluations, EveryOutputFileIsTheSameWithTheCacheOnAndOff) {
  const CacheDeck& deck = GetParam();
  const std::string text = deck.text();
  ASSERT_FALSE(text.empty()) << deck.name;
  // One folder name for both runs: the reports name their folder.
  const auto computed = run_outputs(deck.name, text, 0, 1);
  const auto cached = run_outputs(deck.name, text, 1, 3);
  ASSERT_GE(computed.size(), 10u) << deck.name << ": the run wrote its reports";
  const auto run_log = computed.find("file" + std::to_string(RunFolder::RUN_LOG_LINE) + ".txt");
  ASSERT_NE(run_log, computed.end()) << deck.name;
  EXPECT_NE(run_log->second.find("ANALYSIS COMPLETED"), std::string::npos) << deck.name << ": the deck is analysed";
  if (deck.evidence != nullptr) {
    bool found = false;
    for (const auto& [name, content] : computed) found = found || content.find(deck.evidence) != std::string::npos;
    EXPECT_TRUE(found) << deck.name << ": " << deck.evidence;
  }
  ASSERT_EQ(computed.size(), cached.size()) << deck.name;
  for (const auto& [name, content] : computed) {
    const auto other = cached.find(name);
    ASSERT_NE(other, cached.end()) << deck.name << ": " << name;
    EXPECT_TRUE(content == other->second)
        << deck.name << ": " << name
        << " differs with the cache on, first at: " << first_difference(content, other->second);
  }
}

INSTANTIATE_TEST_SUITE_P(Decks, CachedEvaluations, ::testing::ValuesIn(DECKS),
                         [](const ::testing::TestParamInfo<CacheDeck>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pilecap::testing
