// Whole 3D runs of a single pile whose head is not at the ground line or
// sits exactly on it. A head buried below the top of the soil numbers the
// points above it 0, -1, ... for the layer walk; they must change nothing,
// so the run equals the one whose layer starts at the head (the curves
// depend on the depth below the ground line only). A head on the ground
// line carries the spring of depth 0, so moving the ground line a hair
// above the head changes the response by a hair, not by percents.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

constexpr double LATERAL_LOAD = 10000.0;  // lb

struct Soil {
  const char* name;
  int code;
  std::vector<double> props;  // unit weight, cohesion or stress, phi, k, -, e50, J
};

const std::vector<Soil> SOILS = {
    {"soft clay", 1, {56, 700, 0, 100, 0, 0.01, 0.5}},
    {"sand", 4, {60, 0, 35, 90, 0, 0, 0}},
    {"elastic subgrade", 12, {56, 0, 0, 100, 0, 0, 0}},
};

// One pile 100 ft long in 200 increments under a lateral load; the ground
// line and the layer top in ft below the head.
Deck3D single_pile(const Soil& soil, double ground, double layer_top) {
  Deck3D d;
  d.piles = {{0.0, 0.0}};
  d.ground = ground;
  d.length = 100.0;
  d.increments = 200;
  d.layers = {{soil.code, layer_top, 200.0, soil.props}};
  d.cases = {{.fy = LATERAL_LOAD, .initial_step = 0.5}};
  return d;
}

CapResult solve(const std::string& tag, const Deck3D& deck) {
  RunFolder folder(tag);
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, deck_3d(deck));
  folder.run();
  const auto rows = table_l_rows(folder);
  EXPECT_EQ(rows.size(), 1u) << tag;
  EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("    1 ANALYSIS COMPLETED"), std::string::npos) << tag;
  return rows.empty() ? CapResult{} : rows[0];
}

// Regression: the points above a buried head were written past the start
// of the solver's work arrays (and a Debug build stopped on them).
TEST(GroundLine3D, BuriedHeadActsAsTheSameSoilStartingAtTheHead) {
  for (const Soil& soil : SOILS) {
    SCOPED_TRACE(soil.name);
    // The soil and the ground line 4 ft above the head: 8 points above it.
    const CapResult buried = solve("buried_above", single_pile(soil, -4.0, -4.0));
    const CapResult at_head = solve("buried_at_head", single_pile(soil, -4.0, 0.0));
    const double y = at_head.displacement[1];
    EXPECT_GT(y, 0.0);
    for (int k = 0; k < 6; ++k) {
      EXPECT_NEAR(buried.displacement[k], at_head.displacement[k], 1e-9 * y) << "component " << k + 1;
      EXPECT_NEAR(buried.load[k], at_head.load[k], 1e-9 * LATERAL_LOAD) << "component " << k + 1;
    }
  }
  // The subgrade does not vary with depth: the long-pile closed form
  // 2 H beta / Es holds for the buried head too (Es = k b, EI of the pipe).
  const double es = 100.0 * 24.0, ei = 29e6 * 2549.0;
  const double beta = std::pow(es / (4.0 * ei), 0.25);
  const CapResult buried = solve("buried_closed_form", single_pile(SOILS[2], -4.0, -4.0));
  EXPECT_NEAR(buried.displacement[1], 2.0 * LATERAL_LOAD * beta / es, 0.003 * 2.0 * LATERAL_LOAD * beta / es);
}

// Regression: a node exactly on the ground line was left without a spring,
// so the head deflection jumped by percents when the ground line reached
// the head.
TEST(GroundLine3D, HeadOnTheGroundLineRespondsAsWithTheGroundAHairAbove) {
  for (const Soil& soil : SOILS) {
    SCOPED_TRACE(soil.name);
    const CapResult on_line = solve("ground_on_head", single_pile(soil, 0.0, 0.0));
    const CapResult hair_above = solve("ground_hair_above", single_pile(soil, -1e-5, -1e-5));  // 1.2e-4 in
    const double y = hair_above.displacement[1];
    EXPECT_GT(y, 0.0);
    EXPECT_NEAR(on_line.displacement[1], y, 1e-4 * y);
    EXPECT_NEAR(on_line.displacement[5], hair_above.displacement[5], 1e-4 * std::fabs(hair_above.displacement[5]));
  }
}

}  // namespace
}  // namespace pilecap::testing
