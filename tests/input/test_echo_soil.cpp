// TABLE F on the profile directly: the layer count field, the elastic
// subgrade with and without a maximum stress, piles that all have user
// load-settlement curves, and a failing soil query that ends the table.
#include <gtest/gtest.h>

#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "pile/pile.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"
#include "tests/input/echo_decks.hpp"
#include "tests/input/echo_fixture.hpp"

namespace pilecap {
namespace {

using testing::lines;

class EchoSoilTest : public testing::EchoRecordsTest {
 protected:
  void SetUp() override {
    EchoRecordsTest::SetUp();
    fio::open_memory(UNIT_RUN_LOG);
    fio::open_memory(UNIT_RESULTS_REPORT);
    units(1, 0, 3);
    RunConstants.pi = PI_DOUBLE;
    // One driven pile 600 long from the surface, on a generated curve.
    PileTable.n_piles = 1;
    PileTable.prop(1) = 1;
    PileProperty.pile_type(1) = PILE_DRIVEN;
    PileProperty.length(1) = 600.0;
  }
  void TearDown() override {
    SoilProfile = SoilProfileRecord{};
    CLEAR_PILE_PROPERTIES();
    PileTable.n_piles = 0;
    EchoRecordsTest::TearDown();
  }
  // Layers of one code, each 120 deep, with the same values at every point.
  static void layers(int n, int code) {
    auto& s = SoilProfile;
    s.num_layers = n;
    s.num_points = s.num_uw_points = 2 * n;
    for (int l = 1; l <= n; ++l) {
      s.layer_code(l) = code;
      s.layer_top(l) = 120.0 * (l - 1);
      s.layer_bottom(l) = 120.0 * l;
      for (int j : {2 * l - 1, 2 * l}) {
        s.depth(j) = s.uw_depth(j) = j % 2 == 1 ? s.layer_top(l) : s.layer_bottom(l);
        s.unit_weight(j) = 0.04;
        s.subgrade_k(j) = 100.0;
        s.friction_angle(j) = 0.6;
        s.side_friction(j) = 2.0;
        s.tip_resistance(j) = 50.0;
      }
    }
  }
  static std::string table(int& status) {
    fio::open_memory(UNIT_ECHO);
    PRINT_SOIL_PROFILE(status);
    return fio::memory_contents(UNIT_ECHO);
  }
};

TEST_F(EchoSoilTest, TenLayersOverflowTheCountField) {
  layers(10, SOIL_SAND);
  PileTable.ls_curve(1) = 1;
  int status = 0;
  EXPECT_NE(table(status).find("\n         * LAYER(S) OF SOIL\n"), std::string::npos);
}

TEST_F(EchoSoilTest, ElasticSubgradeShowsTheMaximumStressOnlyWhenGiven) {
  layers(1, SOIL_ELASTIC_SUBGRADE);
  PileTable.ls_curve(1) = 1;
  int status = 0;
  std::string text = table(status);
  EXPECT_NE(text.find("         THE SOIL IS AN ELASTIC SUBGRADE\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("MAXIMUM STRESS TRANSFER"), std::string::npos) << text;
  EXPECT_NE(text.find("         ELASTIC SUBGRADE MODULUS      (LBS/IN**3)        100.000           100.000 \n"),
            std::string::npos)
      << text;
  SoilProfile.cohesion(2) = 1.0;  // 144 lb/ft^2 at the layer bottom
  text = table(status);
  EXPECT_NE(text.find("         THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER\n"), std::string::npos);
  EXPECT_NE(text.find("         MAXIMUM STRESS TRANSFER       (LBS/FT**2)        0.00000           144.000 \n"),
            std::string::npos)
      << text;
}

// Every pile has its own load-settlement curve: nothing is estimated, the
// given values print without notes and the table has no notes block.
TEST_F(EchoSoilTest, UserCurvesEverywhereMeanNoEstimates) {
  layers(1, SOIL_SAND);
  PileTable.ls_curve(1) = 1;
  SoilProfile.side_friction(1) = 0.0;
  SoilProfile.tip_resistance(2) = 0.0;
  int status = 0;
  const std::string text = table(status);
  EXPECT_NE(text.find(lines({
                "         ULTIMATE UNIT SIDE FRICTION   (LBS/FT**2)        0.00000           288.000 |",
                "         ULTIMATE UNIT TIP RESISTANCE  (LBS/FT**2)        7200.00           0.00000 |",
            })),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Notes :"), std::string::npos) << text;
}

// A tip estimate is shown only in the layer that holds the pile tip.
TEST_F(EchoSoilTest, TipEstimateOnlyWhereThePileEnds) {
  layers(6, SOIL_SAND);
  for (int j = 1; j <= 12; ++j) SoilProfile.tip_resistance(j) = 0.0;
  int status = 0;
  const std::string text = table(status);
  ASSERT_EQ(status, 0);
  int estimated_rows = 0;
  for (auto at = text.find("TIP RESISTANCE"); at != std::string::npos; at = text.find("TIP RESISTANCE", at + 1)) {
    const std::string row = text.substr(at, text.find('\n', at) - at);
    if (row.find("(R)") != std::string::npos) ++estimated_rows;
  }
  EXPECT_EQ(estimated_rows, 2) << "layer 5 ends at the tip (600), layer 6 starts there\n" << text;
}

// Regression guard: a soil query that fails inside the side-friction
// estimate ends the table with its status and writes nothing after it.
TEST_F(EchoSoilTest, FailingEstimateEndsTheTable) {
  layers(2, SOIL_SAND);
  SoilProfile.side_friction(4) = 0.0;
  SoilProfile.num_uw_points = 2;  // the unit weights end with layer 1
  int status = 0;
  const std::string text = table(status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(text.find("ULTIMATE UNIT SIDE FRICTION", text.find("LAYER  2")), std::string::npos) << text;
  EXPECT_EQ(text.find("Notes :"), std::string::npos) << text;
}

}  // namespace
}  // namespace pilecap
