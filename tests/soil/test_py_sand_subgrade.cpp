// Sand and elastic subgrade p-y curves against their closed forms. Sand:
// wedge gamma z (C1 z + C2 b) and flow C3 gamma b z, with C1, C2, C3 =
// 2.9704, 3.4192, 53.793 at 35 degrees; the four-segment curve. Elastic
// subgrade: p = k b u capped at b s_max.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double PHI_DEG = 35.0, GAMMA = 0.04, B = 24.0, H = 12.0;
constexpr double C1 = 2.9704, C2 = 3.4192, C3 = 53.793;  // published at 35 degrees

class SandTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 4000.0}}, SOIL_SAND);
    set_constant(SoilProfile.friction_angle, PHI_DEG * std::numbers::pi / 180.0);
    set_constant(SoilProfile.subgrade_k, 100.0);
    set_unit_weight(GAMMA);
    set_pile(61, H, B);
    set_range(1, 1, 61);
  }
  static double p_s(double z) { return std::min(GAMMA * z * (C1 * z + C2 * B), C3 * GAMMA * B * z); }
};

TEST_F(SandTest, UltimateResistanceIsWedgeOrFlowTimesA) {
  struct Case {
    const char* name;
    int kind, node;
    double a;  // A at z / b from the published tables
  };
  const Case cases[] = {
      {"static z/b = 0.5 (wedge)", 1, 2, 2.48}, {"static z/b = 3", 1, 7, 1.06},
      {"static z/b = 15", 1, 31, 0.88},         {"static z/b = 25 (flow)", 1, 51, 0.88},
      {"cyclic z/b = 1.5", 0, 4, 1.11},         {"cyclic z/b = 25 (flow)", 0, 51, 0.88},
  };
  for (const Case& c : cases) {
    AnalysisControl.loading_kind = c.kind;
    const double z = (c.node - 1) * H;
    double p = 0.0, es = 0.0;
    evaluate_at(c.node, 2.0 * B, p, es);  // far beyond y_u = 3b/80
    expect_close(-p, c.a * p_s(z), 2e-4, c.name);
  }
  // The flow expression takes over below (C3 - C2) b / C1 = 407: wedge > flow at z/b = 25.
  EXPECT_GT(GAMMA * 600.0 * (C1 * 600.0 + C2 * B), C3 * GAMMA * B * 600.0);
}

TEST_F(SandTest, FourSegmentCurve) {
  const int node = 31;  // z = 360, A = 0.88, B = 0.50 (static)
  const double z = 360.0, k_x = 100.0 * z;
  const double p_u = 0.88 * p_s(z), p_m = 0.50 * p_s(z);
  const double y_u = 3.0 * B / 80.0, y_m = B / 60.0;
  const double m = (p_u - p_m) / (y_u - y_m), n = p_m / (m * y_m), c = p_m / std::pow(y_m, 1.0 / n);
  const double y_k = std::pow(c / k_x, n / (n - 1.0));
  ASSERT_LT(y_k, y_m);
  struct Case {
    const char* name;
    double u, p;
  };
  const double u_par = 0.5 * (y_k + y_m), u_lin = 0.5 * (y_m + y_u);
  const Case cases[] = {
      {"initial line", 0.5 * y_k, k_x * 0.5 * y_k},
      {"parabola", u_par, c * std::pow(u_par, 1.0 / n)},
      {"at y_m", y_m, p_m},
      {"straight part", u_lin, p_m + m * (u_lin - y_m)},
      {"at y_u", y_u, p_u},
      {"beyond y_u", 3.0 * y_u, p_u},
  };
  for (const Case& cs : cases) {
    double p = 0.0, es = 0.0;
    evaluate_at(node, cs.u, p, es);
    expect_close(-p, cs.p, 2e-4, cs.name);
  }
  double p = 0.0, es = 0.0;
  evaluate_at(node, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, k_x) << "initial modulus k z at u = 0";
}

TEST_F(SandTest, SweepInvariants) {
  ClosePileFactors.p_factor_1(PILE) = 0.7;
  for (int kind : {1, 0}) {
    AnalysisControl.loading_kind = kind;
    for (int node : {2, 9, 40}) {
      double previous = 0.0;
      for (int step = 0; step <= 80; ++step) {
        const double u = step * B / 800.0;
        double p = 0.0, es = 0.0;
        evaluate_at(node, u, p, es);
        if (step == 0) {
          EXPECT_EQ(p, 0.0);
          continue;
        }
        EXPECT_LT(p, 0.0) << "p opposes y";
        expect_close(es * u, -p, 1e-12, "Es u = |p|");
        EXPECT_GE(-p, previous * (1.0 - 1e-12)) << "monotone, node " << node << " step " << step;
        EXPECT_LE(-p, 0.7 * 100.0 * (node - 1) * H * u * (1.0 + 1e-12)) << "never above P k z u";
        previous = -p;
      }
    }
  }
}

// Regression: the list dropped y0 and ended with 1.2 y_u twice.
TEST_F(SandTest, DefaultDeflectionsFollowTheBreakpointsOfTheCurve) {
  const int node = 31;  // z = 360, A = 0.88, B = 0.50 (static)
  const double z = 360.0, p_u = 0.88 * p_s(z), p_m = 0.50 * p_s(z);
  const double y_u = 3.0 * B / 80.0, y_m = B / 60.0;
  const double m = (p_u - p_m) / (y_u - y_m), n = p_m / (m * y_m), c = p_m / std::pow(y_m, 1.0 / n);
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, node, node);
  for (double k : {100.0, 10.0}) {  // the initial line ends before y_m, or beyond it
    SCOPED_TRACE(k);
    set_constant(SoilProfile.subgrade_k, k);
    const double y_k = std::pow(c / (k * z), n / (n - 1.0));
    const double y0 = y_k <= y_m ? y_k : y_m / 10.0;
    std::vector<double> expected = {0.0, y0 / 2.0, y0};
    for (int i = 1; i <= 9; ++i) expected.push_back(y0 + i * (y_m - y0) / 10.0);
    for (double u : {y_m, (y_u + 2.0 * y_m) / 3.0, (2.0 * y_u + y_m) / 3.0, y_u, double(1.2f) * y_u}) {
      expected.push_back(u);
    }
    ASSERT_EQ(run(), 0);
    // 2e-4: y_k from the published constants C1, C2, C3 (four digits).
    for (int i = 1; i <= 17; ++i) {
      EXPECT_NEAR(GeneratedPyCurve.y(i), expected[static_cast<std::size_t>(i - 1)], 2e-4 * y_m) << "point " << i;
    }
    expect_close(GeneratedPyCurve.p(16), std::min(p_u, k * z * y_u), 2e-4, "at y_u: p_u, never above k z u");
  }
  EXPECT_LT(std::pow(c / (100.0 * z), n / (n - 1.0)), y_m);
  EXPECT_GT(std::pow(c / (10.0 * z), n / (n - 1.0)), y_m);
}

class SubgradeTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 2000.0}}, SOIL_ELASTIC_SUBGRADE);
    set_constant(SoilProfile.subgrade_k, 50.0);
    set_unit_weight(GAMMA);
    set_pile(21, H, B);
    set_range(1, 1, 21);
  }
};

TEST_F(SubgradeTest, LinearSpringCappedAtMaximumStress) {
  struct Case {
    const char* name;
    double s_max, u, p;
  };
  const Case cases[] = {
      {"no cap: k b u", 0.0, 0.5, 50.0 * B * 0.5},      {"no cap, large u", 0.0, 30.0, 50.0 * B * 30.0},
      {"below the cut-off", 10.0, 0.1, 50.0 * B * 0.1}, {"at the cut-off s_max / k", 10.0, 0.2, B * 10.0},
      {"beyond the cut-off", 10.0, 5.0, B * 10.0},
  };
  ClosePileFactors.p_factor_1(PILE) = 0.5;
  for (const Case& c : cases) {
    set_constant(SoilProfile.cohesion, c.s_max);
    double p = 0.0, es = 0.0;
    evaluate_at(6, c.u, p, es);
    expect_close(-p, 0.5 * c.p, 1e-12, c.name);
    expect_close(es * c.u, -p, 1e-12, c.name);
  }
  double p = 0.0, es = 0.0;
  evaluate_at(6, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 50.0 * B) << "u = 0: Es = k b / Y-FACTOR";
  EXPECT_EQ(PileLayerData.ultimate_resistance(PILE, 1), 0.0);
}

TEST_F(SubgradeTest, DefaultDeflectionsReachTheCutOffAtTheEleventhPoint) {
  set_constant(SoilProfile.cohesion, 10.0);
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 4, 4);
  at(y_, 4) = 1.0;
  ASSERT_EQ(run(), 0);
  for (int i = 1; i <= 17; ++i) {
    expect_close(GeneratedPyCurve.y(i), (i - 1) * 0.02, 1e-12, "step s_max / k / 10");
    expect_close(GeneratedPyCurve.p(i), std::min(50.0 * B * (i - 1) * 0.02, 10.0 * B), 1e-12, "reaction");
  }
  EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 6);
}

}  // namespace
}  // namespace pilecap::testing
