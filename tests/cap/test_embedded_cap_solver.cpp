// The 3D cap solver with the embedded-cap element on stand-in pile springs:
// the soil in front of the cap takes part of a lateral load, so the cap
// moves less, and at the solution the piles and the element together
// balance the load in all six components, whatever the thread count.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "cap/embedded_cap.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "tests/cap/cap_element_fixture.hpp"
#include "tests/cap/cap_fixture.hpp"

namespace pilecap {
namespace {

using testing::Springs;

constexpr int CAP_SET = 2;

class EmbeddedCapSolver : public testing::CapTest {
 protected:
  void SetUp() override {
    CapTest::SetUp();
    int english = 1, pounds = 0;
    SET_UNIT_LABELS(english, pounds);
    Springs.lateral = 2e4;
    for (int p = 1; p <= 4; ++p) place_pile(p, p <= 2 ? -60.0 : 60.0, p % 2 == 1 ? -60.0 : 60.0);
    testing::set_one_section(SET, PileProperty.length(SET), 24.0);
    testing::set_uniform_soil({{-48.0, 600.0}}, SOIL_ELASTIC_SUBGRADE, 50.0);
  }
  void embed() {
    RunOptions.cap_passive_option = 2;
    testing::set_cap_element(-36.0, 36.0, 6, 150.0, CAP_SET);
  }
  // The piles' and the element's forces at u, plus the load.
  static void residual(const double* u, const double* load, double* r) {
    double piles[6], cap[6];
    int status = STATUS_OK;
    FVEC(piles, u, status);
    CAP_PASSIVE_FORCE(cap, u, status);
    for (int k = 0; k < 6; ++k) r[k] = piles[k] + cap[k] + load[k];
  }
};

TEST_F(EmbeddedCapSolver, SoilInFrontOfTheCapTakesPartOfTheLoad) {
  const double load[6] = {4000.0, 60000.0, -25000.0, 0, 0, 0};
  const auto free = solve(load);
  ASSERT_EQ(free.status, 0);
  EXPECT_NEAR(free.u[1], load[1] / (4 * Springs.lateral), 1e-8 * free.u[1]);

  embed();
  const auto embedded = solve(load);
  ASSERT_EQ(embedded.status, 0);
  ASSERT_TRUE(embedded.u_valid);
  EXPECT_EQ(result_codes(), "    1 ANALYSIS COMPLETED\n    1 ANALYSIS COMPLETED\n");
  EXPECT_LT(embedded.u[1], 0.8 * free.u[1]);
  EXPECT_LT(std::fabs(embedded.u[2]), 0.8 * std::fabs(free.u[2]));
  double r[6];
  residual(embedded.u, load, r);
  for (int k = 0; k < 6; ++k) {
    const double size = k < 3 ? load[1] : load[1] * 60.0;  // moments over the group's half width
    EXPECT_NEAR(r[k], 0.0, 1e-6 * size) << "component " << k + 1;
  }
  // The passive force of the run is what the element gives at the solution.
  double cap[6];
  int status = STATUS_OK;
  CAP_PASSIVE_FORCE(cap, embedded.u, status);
  EXPECT_NEAR(testing::Solution.state.passive_force(2), cap[1], 1e-6 * load[1]);
  EXPECT_LT(cap[1], 0.0);
}

TEST_F(EmbeddedCapSolver, DisplacementIsTheSameForEveryThreadCount) {
  embed();
  const double load[6] = {4000.0, 60000.0, -25000.0, 1e5, 0, 2e5};
  AnalysisControl.threads_wanted = 1;
  const auto reference = solve(load);
  ASSERT_TRUE(reference.u_valid);
  for (int threads : {2, 4}) {
    AnalysisControl.threads_wanted = threads;
    const auto out = solve(load);
    EXPECT_EQ(std::memcmp(out.u, reference.u, sizeof out.u), 0) << threads;
  }
}

}  // namespace
}  // namespace pilecap
