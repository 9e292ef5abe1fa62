// Rock p-y curves against their published forms, the formulas restated as
// numbers. Weak rock: alpha_r = 1 - RQD/150, p_ur = alpha_r q_u (b + 1.4 x_r)
// up to 5.2 alpha_r q_u b from x_r = 3 b, M_ir = (100 + 400 x_r / 3b) E_r up
// to 500 E_r, y_rm = k_rm b, y_a where the initial line meets 0.5 p_ur (y /
// y_rm)^(1/4), p_ur reached at 16 y_rm. Vuggy limestone: 2000 s_u y up to
// 0.0004 b, then slope 100 s_u up to b s_u, which holds beyond.
#include <algorithm>
#include <cmath>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double QU = 1000.0, RQD = 50.0, ER = 20000.0, KRM = 0.0005, B = 24.0, H = 12.0, GAMMA = 0.04;
constexpr double ALPHA = 1.0 - RQD / 150.0;  // 2/3
constexpr double Y_RM = KRM * B;             // 0.012

class WeakRockTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 2000.0}}, SOIL_WEAK_ROCK);
    set_constant(SoilProfile.cohesion, QU);
    set_constant(SoilProfile.j_factor, RQD);
    set_constant(SoilProfile.rock_modulus, ER);
    set_constant(SoilProfile.e50, KRM);
    set_unit_weight(GAMMA);
    set_pile(41, H, B);
    set_range(1, 1, 41);
  }
};

TEST_F(WeakRockTest, UltimateResistanceAndInitialModulusGrowToThreeDiameters) {
  struct Case {
    const char* name;
    int node;
    double p_ur, m_ir;
  };
  const Case cases[] = {
      {"x_r = b", 3, ALPHA * QU * (B + 1.4 * 24.0), (100.0 + 400.0 * 24.0 / 72.0) * ER},
      {"x_r = 3 b: both forms meet", 7, ALPHA * QU * (B + 1.4 * 72.0), 500.0 * ER},
      {"x_r = 5 b", 11, 5.2 * ALPHA * QU * B, 500.0 * ER},
  };
  EXPECT_NEAR(ALPHA * QU * (B + 1.4 * 72.0), 5.2 * ALPHA * QU * B, 1e-9) << "continuous at 3 b";
  for (const Case& c : cases) {
    const double y_a = std::pow(c.p_ur / (2.0 * std::pow(Y_RM, 0.25) * c.m_ir), 4.0 / 3.0);
    // y_a by continuity: the initial line meets the quarter-power curve.
    EXPECT_NEAR(c.m_ir * y_a, 0.5 * c.p_ur * std::pow(y_a / Y_RM, 0.25), 1e-9 * c.p_ur) << c.name;
    struct Point {
      double u, p;
    };
    const Point points[] = {
        {0.5 * y_a, c.m_ir * 0.5 * y_a}, {Y_RM, 0.5 * c.p_ur},  {4.0 * Y_RM, 0.5 * c.p_ur * std::sqrt(2.0)},
        {16.0 * Y_RM, c.p_ur},           {40.0 * Y_RM, c.p_ur},
    };
    for (const Point& pt : points) {
      double p = 0.0, es = 0.0;
      evaluate_at(c.node, pt.u, p, es);
      expect_close(-p, pt.p, 1e-6, c.name);
      expect_close(es * pt.u, -p, 1e-12, c.name);
    }
  }
}

TEST_F(WeakRockTest, InitialModulusCarriesNoFactors) {
  ClosePileFactors.p_factor_1(PILE) = 0.5;
  ClosePileFactors.y_factor_1(PILE) = 2.0;
  const double m_ir = (100.0 + 400.0 * 24.0 / 72.0) * ER;
  double p = 0.0, es = 0.0;
  evaluate_at(3, 1e-5, p, es);
  expect_close(es, m_ir, 1e-6, "below y_a: Es = M_ir whatever the factors");
  expect_close(-p, 0.5 * m_ir * 1e-5, 1e-6, "the reaction carries the P-FACTOR");
  evaluate_at(3, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  expect_close(es, m_ir, 1e-6, "u = 0: Es = M_ir");
  // RQD 100: alpha_r = 1/3.
  ClosePileFactors.p_factor_1(PILE) = ClosePileFactors.y_factor_1(PILE) = 1.0;
  set_constant(SoilProfile.j_factor, 100.0);
  evaluate_at(11, 16.0 * Y_RM, p, es);
  expect_close(-p, 5.2 * QU * B / 3.0, 1e-6, "RQD 100");
}

TEST_F(WeakRockTest, DepthIntoTheRockAndItsAverageStrengthInALowerLayer) {
  // Clay down to 48, rock below: x_r counts from the rock surface and the
  // strength average starts at the rock's first node.
  set_layers({{0.0, 48.0}, {48.0, 2000.0}}, SOIL_SOFT_CLAY);
  SoilProfile.layer_code(2) = SOIL_WEAK_ROCK;
  set_column(SoilProfile.cohesion, {5.0, 5.0, 800.0, 1200.0 * 2.0 - 800.0});  // q_u rising with depth
  set_constant(SoilProfile.j_factor, RQD);
  set_constant(SoilProfile.rock_modulus, ER);
  set_constant(SoilProfile.e50, KRM);
  set_unit_weight(GAMMA);
  set_range(1, 1, 5);
  set_range(2, 5, 41);
  // Node 7, x = 72: x_r = 24; the trapezoid mean of q_u / 2 from x = 48.
  auto q_h = [](double x) { return (800.0 + (1600.0 - 800.0) * (x - 48.0) / (2000.0 - 48.0)) / 2.0; };
  const double mean = (0.5 * (q_h(48.0) + q_h(60.0)) * 12.0 + 0.5 * (q_h(60.0) + q_h(72.0)) * 12.0) / 24.0;
  double p = 0.0, es = 0.0;
  evaluate_at(7, 16.0 * Y_RM, p, es);
  expect_close(-p, ALPHA * 2.0 * mean * (B + 1.4 * 24.0), 1e-6, "lower layer");
}

TEST_F(WeakRockTest, ZeroStrengthBelowTheFirstNodeStopsTheRun) {
  set_constant(SoilProfile.cohesion, 0.0);
  set_range(1, 2, 41);
  at(y_, 2) = at(y_, 3) = 0.01;
  EXPECT_EQ(run(), STATUS_WEAK_ROCK_ZERO_COHESION);
  EXPECT_EQ(at(p_, 2), 0.0) << "the first node has no strength: no resistance";
  EXPECT_EQ(at(es_, 2), 0.0);
  EXPECT_NE(run_log().find("THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK"), std::string::npos);
}

TEST_F(WeakRockTest, GeneratedCurveStartsAtTheBreakDeflection) {
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 11, 11);
  ASSERT_EQ(run(), 0);
  const double p_ur = 5.2 * ALPHA * QU * B, m_ir = 500.0 * ER;
  const double y_a = std::pow(p_ur / (2.0 * std::pow(Y_RM, 0.25) * m_ir), 4.0 / 3.0);
  expect_close(GeneratedPyCurve.y(1), y_a, 1e-6, "first point at y_a");
  expect_close(GeneratedPyCurve.p(1), m_ir * y_a, 1e-6, "on the initial line");
  expect_close(GeneratedPyCurve.y(7), y_a + 0.1 * (16.0 * Y_RM - y_a), 1e-6, "a tenth of the way to 16 y_rm");
  expect_close(GeneratedPyCurve.y(16), 16.0 * Y_RM, 1e-12, "16 y_rm");
  expect_close(GeneratedPyCurve.p(16), p_ur, 1e-6, "p_ur at 16 y_rm");
  expect_close(GeneratedPyCurve.y(17), 20.0 * Y_RM, 1e-12, "20 y_rm");
  EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 9);

  // A printed point: (21X,2E20.3), 0.5 p_ur = 41600 lb/in at y_rm.
  GeneratedPyCurve.from_plot_list = 0;
  GeneratedPyCurve.request = 1;
  GeneratedPyCurve.num_points = 1;
  PyPrintRequest.y(1, 1) = Y_RM;
  ASSERT_EQ(run(), 0);
  const std::string echo = fio::memory_contents(UNIT_ECHO);
  const std::string row =
      std::string(21, ' ') + std::string(11, ' ') + "0.120E-01" + std::string(11, ' ') + "0.416E+05\n";
  ASSERT_GE(echo.size(), row.size());
  EXPECT_EQ(echo.substr(echo.size() - row.size()), row) << echo;
  EXPECT_NE(echo.find("              DEPTH     DIAM       C         PU    GAMMA AVG      KRM\n"), std::string::npos)
      << echo;
}

class VuggyLimestoneTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 2000.0}}, SOIL_VUGGY_LIMESTONE);
    set_constant(SoilProfile.cohesion, 2.0 * S_U);
    set_unit_weight(GAMMA);
    set_pile(21, H, B);
    set_range(1, 1, 21);
  }
  static constexpr double S_U = 1000.0;
};

TEST_F(VuggyLimestoneTest, TrilinearCurveUpToBSu) {
  const double y1 = 0.0004 * B, p1 = 2000.0 * S_U * y1;  // p1 = 0.8 b s_u
  const double y2 = y1 + (B * S_U - p1) / (100.0 * S_U);
  EXPECT_NEAR(p1, 0.8 * B * S_U, 1e-6);
  struct Case {
    const char* name;
    double u, p;
  };
  const Case cases[] = {
      {"initial line", 0.5 * y1, 2000.0 * S_U * 0.5 * y1},
      {"second line", 0.5 * (y1 + y2), p1 + 100.0 * S_U * 0.5 * (y2 - y1)},
      {"b s_u at y2", y2, B * S_U},
      {"b s_u beyond y2", 10.0 * y2, B * S_U},
  };
  for (const Case& c : cases) {
    double p = 0.0, es = 0.0;
    evaluate_at(8, c.u, p, es);
    expect_close(-p, c.p, 1e-6, c.name);
    expect_close(es * c.u, -p, 1e-12, c.name);
  }
  double p = 0.0, es = 0.0;
  evaluate_at(8, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 2000.0 * S_U) << "u = 0: Es = E_i";
  EXPECT_EQ(PileLayerData.ultimate_resistance(PILE, 1), 0.0) << "no layer integral";
  // The default printed deflections: 17 steps of y2 / 15 from 0.
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 8, 8);
  ASSERT_EQ(run(), 0);
  for (int i = 1; i <= 17; ++i) expect_close(GeneratedPyCurve.y(i), (i - 1) * y2 / 15.0, 1e-6, "default step");
  EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 6);
}

}  // namespace
}  // namespace pilecap::testing
