// The input echo of whole runs: TABLES C, E and F as exact text for an
// English and an SI model with a fixed clock; the default point list a
// stiffness estimation without points runs with; a print request naming no
// pile refused at the echo; a run without soil layers whose print request is
// refused in TABLE N; and every example deck still completing with every
// table in its echo.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "input/input.hpp"
#include "input/report_headers.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/input/echo_decks.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using testing::RunFolder;

constexpr int ECHO_INSERT_LINE = 27;

RunDateTime march_third() { return {2026, 3, 3, 9, 5, 7}; }

class EchoReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::reset_engine_state();
    set_run_clock(march_third);
  }
  // A whole run leaves its options, constants, pile count and profile
  // behind; the next test starts from none of them.
  void TearDown() override {
    set_run_clock(nullptr);
    RunOptions = RunOptionsRecord{};
    RunConstants = RunConstantsRecord{};
    PileTable.n_piles = 0;
    SoilProfile = SoilProfileRecord{};
  }

  // Runs the deck in a fresh folder; the run log and the echo afterwards.
  void run(const std::string& tag, const std::string& deck) {
    RunFolder folder(tag);
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.put(ECHO_INSERT_LINE, "");
    folder.run();
    echo_ = folder.read(RunFolder::ECHO_LINE);
    log_ = folder.read(RunFolder::RUN_LOG_LINE);
  }

  // The table from its title line up to the title line of the next.
  std::string table(const std::string& title, const std::string& next) const {
    const auto first = echo_.find(title);
    const auto last = echo_.find(next);
    if (first == std::string::npos || last == std::string::npos || last < first) return "missing " + title;
    const auto begin = echo_.rfind('\n', first) + 1;
    const auto end = echo_.rfind('\n', last) + 1;
    return echo_.substr(begin, end - begin);
  }

  bool completed() const { return log_.find("ANALYSIS COMPLETED") != std::string::npos; }

  std::string echo_, log_;
};

TEST_F(EchoReportTest, TablesCEFOfAnEnglishAndAnSiModel) {
  struct Model {
    const char* name;
    const std::string& deck;
    const std::string& c;
    const std::string& e;
    const std::string& f;
  };
  const Model models[] = {
      {"english", testing::ECHO_DECK_ENGLISH, testing::ENGLISH_TABLE_C, testing::ENGLISH_TABLE_E,
       testing::ENGLISH_TABLE_F},
      {"si", testing::ECHO_DECK_SI, testing::SI_TABLE_C, testing::SI_TABLE_E, testing::SI_TABLE_F},
  };
  for (const Model& m : models) {
    SCOPED_TRACE(m.name);
    run(std::string("echo_") + m.name, m.deck);
    EXPECT_TRUE(completed()) << log_;
    EXPECT_EQ(table("* TABLE C *", "* TABLE D *"), m.c);
    EXPECT_EQ(table("* TABLE E *", "* TABLE F *"), m.e);
    EXPECT_EQ(table("* TABLE F *", "* TABLE H *"), m.f);
  }
}

// A stiffness estimation that gives no points runs on the ten levels the
// echo wrote: its run takes the road of the estimation points.
TEST_F(EchoReportTest, StiffnessEstimationWithoutPointsRunsTheDefaultLevels) {
  testing::Deck3D d;
  d.piles = {{0.0, 0.0}};
  d.layers = {{SOIL_ELASTIC_SUBGRADE, 0.0, 200.0, {110.0, 0.0, 0.0, 100.0}}};
  d.cases = {{1000.0, 0, 0, 0, 0, 0}};
  std::string deck = testing::deck_3d(d);
  const std::string plain_case = "CASE 1\n1 0 0 0 0 0 0 0\n";
  ASSERT_NE(deck.find(plain_case), std::string::npos);
  deck.replace(deck.find(plain_case), plain_case.size(), "CASE 1\n1 11 0 0 0 0 0 0\n");
  run("echo_default_levels", deck);
  EXPECT_NE(echo_.find("     * FOUNDATION STIFFNESS LOAD LEVELS *\n\n       NL       LOAD LEVEL\n"
                       "        1          0.10000 \n        2          0.30103 \n"),
            std::string::npos)
      << echo_;
  EXPECT_NE(echo_.find("       10          1.00000 \n"), std::string::npos);
  // Ten levels make eleven points, not one plain run.
  EXPECT_NE(log_.find("     STIFFNESS ESTIMATION, POINT :   10/  10 FACTOR :      1.00000\n"), std::string::npos)
      << log_;
  EXPECT_NE(log_.find("     ANALYSIS DUE TO TOTAL LOAD\n"), std::string::npos) << log_;
}

// A one-pile 3D model without soil layers or load cases, with a print
// request section after its soil layers.
std::string with_print_requests(const std::string& requests) {
  testing::Deck3D model;
  model.piles = {{}};
  std::string deck = testing::deck_3d(model);
  const std::string options = " 3 0 0 0 1 1 0 0 0 0 0 ";
  deck.replace(deck.find(options), options.size(), " 3 0 0 0 1 1 0 0 0 0 1 ");
  const std::string layers = "SOIL LAYERS\n0\n";
  deck.insert(deck.find(layers) + layers.size(), "P-Y PRINT REQUESTS\n" + requests);
  return deck;
}

TEST_F(EchoReportTest, PrintRequestNamingNoPileIsAnInputError) {
  run("echo_bad_request", with_print_requests("2\n1 10\n0\n2 10\n0\n"));
  EXPECT_FALSE(completed());
  EXPECT_NE(log_.find("ERROR IN INPUT DATA\n     INPUT SECTION 11, REQUEST 2: '2' (PILE NOT DEFINED)\n"),
            std::string::npos)
      << log_;
  EXPECT_EQ(echo_.find("* TABLE N *"), std::string::npos);
}

// Regression: TABLE N of a model without soil layers read layer 0 of the
// pile's layer table.
TEST_F(EchoReportTest, PrintRequestWithoutSoilLayersIsRefusedInTableN) {
  run("echo_no_layers", with_print_requests("1\n1 10\n0\n"));
  EXPECT_TRUE(completed()) << log_;
  EXPECT_NE(echo_.find("     * TABLE F *   SOIL DATA\n\n       NO SOIL LAYERS DEFINED\n"), std::string::npos);
  EXPECT_NE(echo_.find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          10.00 FT,\n"
                       "         IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM,       0.00 FT\n"),
            std::string::npos)
      << echo_;
}

TEST_F(EchoReportTest, ExampleDecksCompleteWithEveryTable) {
  const std::filesystem::path examples =
      std::filesystem::path(PILECAP_TEST_DATA).parent_path().parent_path() / "examples";
  for (const char* name : {"single_pile.inp", "group_2x2_3d.inp", "group_3x3_layered.inp"}) {
    SCOPED_TRACE(name);
    run("echo_example", RunFolder::read_file(examples / name));
    EXPECT_TRUE(completed()) << log_;
    for (const char* title : {"* TABLE C *", "* TABLE D *", "* TABLE E *", "* TABLE F *", "* TABLE H *"}) {
      EXPECT_NE(echo_.find(title), std::string::npos) << title;
    }
  }
}

}  // namespace
}  // namespace pilecap
