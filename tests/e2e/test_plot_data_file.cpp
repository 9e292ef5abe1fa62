// Whole runs that write the plot-data file, read back by the tests' own
// reader: a two-pile model in space in both forms of the file (every block
// in its place, every record of its size, the two forms alike), a model in
// the plane, an example deck with the export on written alike on 1 and 4
// threads, export requests the input echo refuses, and a tip curve that
// fails and ends the export and the run with its code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/case_decks.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/results/plot_file_reader.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

// Whole runs start from a fresh engine.
using PlotDataFile = testing::EngineTest;

// The final message lines of the run log (list-directed: one blank first).
const std::string COMPLETED = "     ANALYSIS COMPLETED";
const std::string INPUT_ERROR = "     ERROR IN INPUT DATA";
const std::string ZERO_COHESION = "       LS CURVE, COHESION VALUE IS ZERO";

int run_deck(RunFolder& folder, const std::string& deck) {
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck);
  return folder.run();
}

PlotFile read_export(const RunFolder& folder, bool unformatted) {
  return read_plot_file(RunFolder::read_file(folder.path(RunFolder::CURVE_EXPORT_LINE)), unformatted);
}

bool log_has_line(const RunFolder& folder, const std::string& line) {
  const auto log = folder.lines(RunFolder::RUN_LOG_LINE);
  return std::find(log.begin(), log.end(), line) != log.end();
}

// Two piles in space in soft clay over sand, one load case.
Deck3D two_pile_deck(int unformatted) {
  Deck3D d;
  d.piles = {{0.0, 0.0}, {0.0, 10.0}};
  d.length = 60.0;
  d.increments = 60;
  d.layers = {{1, 0.0, 20.0, {50, 500, 0, 100, 0, 0.01, 0.5}}, {4, 20.0, 80.0, {60, 0, 35, 90, 0, 0, 0}}};
  d.cases = {{.fx = 100000, .fy = 10000}};
  d.plot_export = 1;
  d.export_unformatted = unformatted;
  d.export_request = "P-Y EXPORT\n6 1 0\n5\n0\n0.1\n0.3\n1\n3\n";
  return d;
}

// The same numbers in both forms: integers alike, reals to the eight
// digits of the formatted form.
void expect_same_reals(const std::vector<double>& text, const std::vector<double>& binary, const std::string& what) {
  ASSERT_EQ(text.size(), binary.size()) << what;
  for (std::size_t k = 0; k < text.size(); ++k) {
    EXPECT_NEAR(text[k], binary[k], 5.1e-8 * std::abs(binary[k])) << what << " value " << k;
  }
}

void expect_same_file(const PlotFile& text, const PlotFile& binary) {
  ASSERT_EQ(text.records, binary.records);
  ASSERT_EQ(text.piles.size(), binary.piles.size());
  for (std::size_t p = 0; p < text.piles.size(); ++p) {
    const PlotGeometry& a = text.piles[p].geometry;
    const PlotGeometry& b = binary.piles[p].geometry;
    expect_same_reals({a.length}, {b.length}, "length");
    expect_same_reals(a.head, b.head, "head");
    for (std::size_t r = 0; r < a.cosines.size(); ++r) expect_same_reals(a.cosines[r], b.cosines[r], "cosines");
    expect_same_reals(a.node_x, b.node_x, "midpoints");
    for (std::size_t k = 0; k < a.sections.size(); ++k) expect_same_reals(a.sections[k], b.sections[k], "section");
    for (std::size_t c = 0; c < text.piles[p].curves.size(); ++c) {
      const PlotCurveBlock& u = text.piles[p].curves[c];
      const PlotCurveBlock& v = binary.piles[p].curves[c];
      for (std::size_t k = 0; k < u.nodes.size(); ++k) {
        EXPECT_EQ(u.nodes[k].flag, v.nodes[k].flag);
        EXPECT_EQ(u.nodes[k].type, v.nodes[k].type);
        for (std::size_t j = 0; j < u.nodes[k].points.size(); ++j) {
          const PlotPoint& s = u.nodes[k].points[j];
          const PlotPoint& t = v.nodes[k].points[j];
          expect_same_reals({s.a, s.b}, {t.a, t.b}, "point");
        }
      }
    }
  }
}

TEST_F(PlotDataFile, TwoPileModelReadsBackInItsOrderAndAlikeInBothForms) {
  RunFolder folder("plot_two_piles");
  run_deck(folder, deck_3d(two_pile_deck(0)));
  EXPECT_TRUE(log_has_line(folder, COMPLETED));
  const PlotFile text = read_export(folder, false);
  run_deck(folder, deck_3d(two_pile_deck(1)));
  EXPECT_TRUE(log_has_line(folder, COMPLETED));
  const PlotFile binary = read_export(folder, true);
  for (const PlotFile* file : {&text, &binary}) {
    ASSERT_TRUE(file->complete) << file->error;
    EXPECT_EQ(file->n_piles, 2);
    EXPECT_EQ(file->dimension, 3);
    EXPECT_EQ(file->units, 1);
    for (int p = 1; p <= 2; ++p) {
      const PlotPile& pile = file->piles[static_cast<std::size_t>(p - 1)];
      EXPECT_EQ(pile.geometry.pile, p);
      EXPECT_EQ(pile.geometry.m, 6);
      EXPECT_EQ(pile.geometry.length, 720.0);
      ASSERT_EQ(pile.curves.size(), 3u);
      for (int kind = 1; kind <= 3; ++kind) {
        const PlotCurveBlock& block = pile.curves[static_cast<std::size_t>(kind - 1)];
        EXPECT_EQ(block.pile, p);
        ASSERT_EQ(block.n_nodes, 7);
        for (int k = 1; k <= 7; ++k) {
          const PlotCurveNode& node = block.nodes[static_cast<std::size_t>(k - 1)];
          EXPECT_EQ(node.number, k);
          EXPECT_NEAR(node.x, (k - 1) * 120.0, 1e-9);
          EXPECT_EQ(node.flag, 1);
          EXPECT_EQ(node.count, kind == 1 ? 9 : 19) << "5 export deflections, or 10 t-z points";
          // The p-y curve type: clay above 20 ft, sand below (segment 3 from 20 ft).
          if (kind == 1) {
            EXPECT_EQ(node.type, k <= 2 ? 1 : 4) << "node " << k;
          }
        }
      }
    }
  }
  expect_same_file(text, binary);
}

TEST_F(PlotDataFile, ModelInThePlaneHasNoTorqueBlockAndNoSoilSprings) {
  RunFolder folder("plot_plane");
  // A run with soil first: its p-y curve types must not reach the next run.
  run_deck(folder, deck_3d(two_pile_deck(0)));
  std::string plane = deck_with_cases({{}}, {}, 1);
  const std::string layer = "SOIL LAYERS\n1\n1 12\n0 60\n2 7\n60 500 30 100 0 0.01 0.5\n60 500 30 100 0 0.01 0.5\n";
  ASSERT_NE(plane.find(layer), std::string::npos);
  plane.replace(plane.find(layer), layer.size(), "SOIL LAYERS\n0\n");  // a model without soil
  run_deck(folder, plane);
  const PlotFile file = read_export(folder, false);
  ASSERT_TRUE(file.complete) << file.error;
  EXPECT_EQ(file.dimension, 2);
  ASSERT_EQ(file.piles.size(), 1u);
  const PlotPile& pile = file.piles[0];
  EXPECT_EQ(pile.geometry.head.size(), 2u);
  EXPECT_EQ(pile.geometry.cosines.size(), 2u);
  EXPECT_EQ(pile.geometry.sections[0].size(), 4u);
  ASSERT_EQ(pile.curves.size(), 2u);
  // No soil layers: no criterion runs, no t-z spring anywhere.
  for (const PlotCurveNode& node : pile.curves[0].nodes) EXPECT_EQ(node.type, 0);
  for (const PlotCurveNode& node : pile.curves[1].nodes) EXPECT_EQ(node.count, 0);
}

std::string example_with_export(int threads) {
  const auto examples = std::filesystem::path(PILECAP_TEST_DATA).parent_path().parent_path() / "examples";
  std::string deck = RunFolder::read_file(examples / "group_2x2_3d.inp");
  const std::string options = "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n";
  const std::string case_line = "0 0 0 1 100 200 100\n";
  const std::size_t at_options = deck.find(options), at_case = deck.find(case_line);
  EXPECT_NE(at_options, std::string::npos);
  EXPECT_NE(at_case, std::string::npos);
  if (at_options == std::string::npos || at_case == std::string::npos) return deck;
  deck.replace(at_options, options.size(), "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 1 0\n");
  deck.replace(at_case, case_line.size(), "0 0 " + std::to_string(threads) + " 1 100 200 100\n");
  return deck + "P-Y EXPORT\n6 0 0\n";
}

TEST_F(PlotDataFile, ExampleDeckWritesTheSameFileOnOneAndFourThreads) {
  RunFolder folder("plot_example");
  run_deck(folder, example_with_export(1));
  EXPECT_TRUE(log_has_line(folder, COMPLETED));
  const std::string one_thread = RunFolder::read_file(folder.path(RunFolder::CURVE_EXPORT_LINE));
  run_deck(folder, example_with_export(4));
  EXPECT_TRUE(log_has_line(folder, COMPLETED));
  EXPECT_EQ(RunFolder::read_file(folder.path(RunFolder::CURVE_EXPORT_LINE)), one_thread);
  const PlotFile file = read_plot_file(one_thread, false);
  ASSERT_TRUE(file.complete) << file.error;
  EXPECT_EQ(file.n_piles, 4);
  EXPECT_EQ(file.dimension, 3);
}

TEST_F(PlotDataFile, ExportRequestsTheEchoRefusesEndTheRunWithTheirDetailLine) {
  struct Case {
    const char* request;
    const char* detail;
  };
  const Case cases[] = {
      {"0 0 0\n", "    INPUT SECTION 22, PLOT SEGMENTS: '0' (ONE SEGMENT AT LEAST)"},
      {"4 1 0\n1\n0.5\n", "    INPUT SECTION 22, EXPORT DEFLECTIONS: '1' (2 TO 25 DEFLECTIONS)"},
      {"4 1 0\n3\n0\n0.5\n0.5\n", "    INPUT SECTION 22, EXPORT DEFLECTION 3: '0.5' (NOT ABOVE THE ONE BEFORE)"},
      {"4 1 0\n2\n-0.1\n0.5\n", "    INPUT SECTION 22, EXPORT DEFLECTION 1: '-0.1' (NEGATIVE)"},
  };
  RunFolder folder("plot_request");
  for (const Case& c : cases) {
    std::string deck = deck_with_cases({{}}, {}, 1);
    deck.replace(deck.rfind("P-Y EXPORT\n") + 11, std::string::npos, c.request);
    run_deck(folder, deck);
    EXPECT_TRUE(log_has_line(folder, INPUT_ERROR)) << c.detail;
    std::string detail_line(" ");
    detail_line.append(c.detail);
    EXPECT_TRUE(log_has_line(folder, detail_line)) << c.detail;
    EXPECT_EQ(RunFolder::read_file(folder.path(RunFolder::CURVE_EXPORT_LINE)), "") << c.detail;
  }
}

// Clay without cohesion: the first pile's tip has no capacity. The export
// ends at the t-z block's last shaft node, whose count record says "no
// points"; the file reads cleanly to that record in both forms and the run
// ends with the code of the tip curve.
TEST_F(PlotDataFile, TipCurveThatFailsEndsTheExportAndTheRunWithItsCode) {
  for (int unformatted : {0, 1}) {
    Deck3D d = two_pile_deck(unformatted);
    d.layers = {{1, 0.0, 200.0, {50, 0, 0, 100, 0, 0.01, 0.5}}};
    d.cases.clear();
    d.export_request = "P-Y EXPORT\n3 0 0\n";
    RunFolder folder("plot_failure");
    run_deck(folder, deck_3d(d));
    EXPECT_TRUE(log_has_line(folder, ZERO_COHESION));
    EXPECT_FALSE(log_has_line(folder, COMPLETED));
    const PlotFile file = read_export(folder, unformatted == 1);
    EXPECT_EQ(file.error, "") << "every record whole";
    EXPECT_FALSE(file.complete);
    ASSERT_EQ(file.piles.size(), 1u) << "nothing of pile 2";
    const std::vector<PlotCurveBlock>& curves = file.piles[0].curves;
    ASSERT_EQ(curves.size(), 2u) << "no torque block";
    EXPECT_EQ(curves[0].nodes.size(), 4u) << "the p-y block whole";
    const std::vector<PlotCurveNode>& tz = curves[1].nodes;
    ASSERT_EQ(tz.size(), 3u);
    EXPECT_EQ(tz[1].count, 19);
    EXPECT_EQ(tz[2].flag, 0);
    EXPECT_EQ(tz[2].count, 0);
  }
}

}  // namespace
}  // namespace pilecap::testing
