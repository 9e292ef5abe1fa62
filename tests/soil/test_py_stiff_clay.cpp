// Stiff clay p-y curves against their published forms, the formulas restated
// as numbers. With free water (code 2): pc = min(2 ca b + gamma b z + 2.83 ca
// z, 11 c b), y50 = e50 b, the static parabola 0.5 pc (y / y50)^0.5, its
// softening and residual, the cyclic hump AC pc at 0.45 yp. Without free
// water (codes 3, 10): pu = min(3 ca b + gamma b z + 0.5 ca z, 9 c b), p =
// 0.5 pu (y / y50)^(1/4), y50 = 2.5 e50 b, pu at 16 y50 (static) or at 25.6
// y50 with 10 cycles.
#include <algorithm>
#include <cmath>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double C = 10.0, GAMMA = 0.04, E50 = 0.005, B = 12.0, H = 12.0;

class StiffClayTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    set_layers({{0.0, 2000.0}}, SOIL_STIFF_CLAY_FREE_WATER);
    set_constant(SoilProfile.cohesion, C);
    set_constant(SoilProfile.e50, E50);
    set_constant(SoilProfile.subgrade_k, 1e9);  // the initial line out of the way
    set_unit_weight(GAMMA);
    set_pile(41, H, B);
    set_range(1, 1, 41);
  }
};

struct CurvePoint {
  const char* name;
  double u;  // deflection
  double p;  // expected reaction
};

class FreeWaterTest : public StiffClayTest {
 protected:
  void check(int node, const std::vector<CurvePoint>& points, double rel = 1e-6) {
    for (const CurvePoint& c : points) {
      double p = 0.0, es = 0.0;
      evaluate_at(node, c.u, p, es);
      expect_close(-p, c.p, rel, c.name);
      expect_close(es * c.u, -p, 1e-12, c.name);
    }
  }
};

// Node 3, z = 24 (z / b = 2): AS = 0.55, AC = 0.30 from the tables; ca = c.
constexpr double Z2 = 24.0;
constexpr double PC2 = 2.0 * C * B + GAMMA * B * Z2 + 2.83 * C * Z2;  // 930.72 < 11 c b = 1320
constexpr double AS2 = 0.55, AC2 = 0.30;
constexpr double Y50_2 = E50 * B;  // 0.06

TEST_F(FreeWaterTest, StaticCurveRisesSoftensAndEndsOnItsResidual) {
  const double a = AS2 * Y50_2;
  const double peak_line = 0.5 * PC2 * std::sqrt(6.0 * AS2) - 0.411 * PC2;
  check(3, {
               {"parabola at 0.5 AS y50", 0.5 * a, 0.5 * PC2 * std::sqrt(0.5 * AS2)},
               {"parabola at AS y50", a, 0.5 * PC2 * std::sqrt(AS2)},
               {"softening at 3 AS y50", 3.0 * a, 0.5 * PC2 * std::sqrt(3.0 * AS2) - 0.055 * PC2 * std::pow(2.0, 1.25)},
               {"softening at 6 AS y50", 6.0 * a, 0.5 * PC2 * std::sqrt(6.0 * AS2) - 0.055 * PC2 * std::pow(5.0, 1.25)},
               {"straight drop at 12 AS y50", 12.0 * a, peak_line - 0.0625 * PC2 / Y50_2 * 6.0 * a},
               {"residual at 18 AS y50", 18.0 * a, peak_line - 0.75 * AS2 * PC2},
               {"residual beyond", 40.0 * a, peak_line - 0.75 * AS2 * PC2},
           });
}

TEST_F(FreeWaterTest, CyclicCurvePeaksAtAcPcAndFallsToItsResidual) {
  AnalysisControl.loading_kind = 0;
  const double yp = 4.1 * AC2 * Y50_2;
  const double t = (0.2 - 0.45) / 0.45;
  check(3, {
               {"rising hump", 0.2 * yp, AC2 * PC2 * (1.0 - std::pow(std::abs(t), 2.5))},
               {"peak at 0.45 yp", 0.45 * yp, AC2 * PC2},
               {"falling line at 1.2 yp", 1.2 * yp, 0.936 * AC2 * PC2 - 0.085 * PC2 / Y50_2 * 0.6 * yp},
               {"residual beyond 1.8 yp", 3.0 * yp, 0.936 * AC2 * PC2 - 0.102 * PC2 * yp / Y50_2},
           });
}

TEST_F(FreeWaterTest, InitialLineAndDefaults) {
  // A small k: the curve lies on k z u.
  set_constant(SoilProfile.subgrade_k, 10.0);
  check(3, {{"under the initial line", 0.01, 10.0 * Z2 * 0.01}});
  double p = 0.0, es = 0.0;
  evaluate_at(3, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 10.0 * Z2) << "u = 0: Es = k z without factors";
  // e50 of 0 takes the stiff-clay default: c = 10 psi lies from 6.94 to 13.9 psi, 0.007.
  set_constant(SoilProfile.subgrade_k, 1e9);
  set_constant(SoilProfile.e50, 0.0);
  check(3, {{"default e50", 0.01, 0.5 * PC2 * std::sqrt(0.01 / (0.007 * B))}});
  // A deep node: pc = 11 c b.
  set_constant(SoilProfile.e50, E50);
  check(41, {{"deep node at AS y50", 0.6 * Y50_2, 0.5 * 11.0 * C * B * std::sqrt(0.6)}});
}

TEST_F(FreeWaterTest, DefaultPointsOfTheGeneratedCurve) {
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 3, 3);
  const double static_points[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 10, 14, 18, 26};
  const double cyclic_points[] = {0,    0.05, 0.1,  0.15, 0.2, 0.25, 0.3, 0.35, 0.4,
                                  0.45, 0.5,  0.55, 0.6,  1.0, 1.4,  1.8, 10};
  for (int kind : {1, 0}) {
    AnalysisControl.loading_kind = kind;
    ASSERT_EQ(run(), 0);
    const double unit = kind == 1 ? AS2 * Y50_2 : 4.1 * AC2 * Y50_2;
    for (int i = 1; i <= 17; ++i) {
      const double expected = (kind == 1 ? static_points : cyclic_points)[i - 1] * unit;
      expect_close(GeneratedPyCurve.y(i), expected, 1e-6, "default deflection");
    }
    EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 2);
  }
}

TEST_F(FreeWaterTest, PrintedCurveBlock) {
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.request = 1;
  GeneratedPyCurve.num_points = 1;
  PyPrintRequest.y(1, 1) = AS2 * Y50_2;
  set_range(1, 3, 3);
  ASSERT_EQ(run(), 0);
  // c = 10 psi = 1440 lb/ft^2; gamma = 0.04 lb/in^3 = 69.12 lb/ft^3; p = 0.5 pc sqrt(0.55) = 345.12 lb/in.
  const std::string expected =
      "\n"
      "         DEPTH BELOW GS      DIAM        C         CAVG      GAMMA        E50\n"
      "               FT             IN     LBS/FT**2  LBS/FT**2  LBS/FT**3\n"
      "               2.00         12.000   0.14E+04   0.14E+04   0.69E+02  0.5000E-02\n"
      "         AS = 0.55,    AC = 0.30,    EQ. DEPTH =    2.00 FT\n"
      "\n"
      "                                     Y,IN             P,LBS/IN\n" +
      std::string(32, ' ') + "0.0330000" + std::string(13, ' ') + "345.120 \n";
  EXPECT_EQ(fio::memory_contents(UNIT_ECHO), expected);
}

class NoWaterTest : public StiffClayTest {
 protected:
  void SetUp() override {
    StiffClayTest::SetUp();
    SoilProfile.layer_code(1) = SOIL_STIFF_CLAY_NO_WATER;
  }
};

// Node 3, z = 24: pu = 3 c b + gamma b z + 0.5 c z = 491.52 < 9 c b; y50 = 2.5 e50 b = 0.15.
constexpr double PU3 = 3.0 * C * B + GAMMA * B * Z2 + 0.5 * C * Z2;
constexpr double Y50_3 = 2.5 * E50 * B;

TEST_F(NoWaterTest, QuarterPowerCurveReachesPuAt16Y50) {
  std::vector<CurvePoint> static_points = {
      {"y50", Y50_3, 0.5 * PU3},
      {"4 y50", 4.0 * Y50_3, 0.5 * PU3 * std::sqrt(2.0)},
      {"16 y50 reaches pu", 16.0 * Y50_3, PU3},
      {"beyond 16 y50", 30.0 * Y50_3, PU3},
  };
  for (const CurvePoint& c : static_points) {
    double p = 0.0, es = 0.0;
    evaluate_at(3, c.u, p, es);
    expect_close(-p, c.p, 1e-6, c.name);
    expect_close(es * c.u, -p, 1e-12, c.name);
  }
  double p = 0.0, es = 0.0;
  evaluate_at(41, 16.0 * Y50_3, p, es);
  expect_close(-p, 9.0 * C * B, 1e-9, "deep node: 9 c b");
  evaluate_at(3, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  expect_close(es, 0.5 * PU3 / Y50_3 * std::pow(Y50_3 / 1e-14, 0.75), 1e-6, "Es0 = p / u of the curve at tiny");
}

TEST_F(NoWaterTest, CyclesStretchTheDeflections) {
  AnalysisControl.loading_kind = 0;
  AnalysisControl.cycles = 10.0;
  struct Case {
    const char* name;
    double cycles, u, p;
  };
  const Case cases[] = {
      {"10 cycles at 1.6 y50", 10.0, 1.6 * Y50_3, 0.5 * PU3},
      {"10 cycles reach pu at 25.6 y50", 10.0, 25.6 * Y50_3, PU3},
      {"10 cycles beyond", 10.0, 40.0 * Y50_3, PU3},
      {"1 cycle is the static curve", 1.0, Y50_3, 0.5 * PU3},
      {"fewer than one cycle count as one", 0.25, Y50_3, 0.5 * PU3},
      {"no cycles count as one", 0.0, 16.0 * Y50_3, PU3},
  };
  for (const Case& c : cases) {
    AnalysisControl.cycles = c.cycles;
    double p = 0.0, es = 0.0;
    evaluate_at(3, c.u, p, es);
    expect_close(-p, c.p, 1e-6, c.name);
    EXPECT_EQ(AnalysisControl.cycles, c.cycles) << "the cycles are read, never written";
  }
  // The generated curve runs to 1.2 yr, yr = (16 + 9.6 log10 N) y50.
  AnalysisControl.cycles = 10.0;
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.from_plot_list = 1;
  set_range(1, 3, 3);
  ASSERT_EQ(run(), 0);
  expect_close(GeneratedPyCurve.y(17), 1.2 * 25.6 * Y50_3, 1e-6, "last default point");
  EXPECT_EQ(GeneratedPyCurve.plot_soil_code, 3);
}

TEST_F(NoWaterTest, InitialKVariantStaysUnderKzu) {
  SoilProfile.layer_code(1) = SOIL_STIFF_CLAY_INITIAL_K;
  set_constant(SoilProfile.subgrade_k, 20.0);
  double p = 0.0, es = 0.0;
  evaluate_at(3, 0.01, p, es);
  expect_close(-p, 20.0 * Z2 * 0.01, 1e-12, "k z u below the curve");
  evaluate_at(3, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 20.0 * Z2) << "u = 0: Es = k z";
  set_constant(SoilProfile.subgrade_k, 1e9);
  evaluate_at(3, 4.0 * Y50_3, p, es);
  expect_close(-p, 0.5 * PU3 * std::sqrt(2.0), 1e-6, "a large k gives the code 3 curve");
  // k of 0: the clay default, static 500 lb/in^3 for c = 10 psi.
  set_constant(SoilProfile.subgrade_k, 0.0);
  evaluate_at(3, 1e-4, p, es);
  expect_close(-p, 500.0 * Z2 * 1e-4, 1e-12, "default k");
}

TEST_F(NoWaterTest, LayerIntegralTakesTheSpacingOfThePilesFirstNodes) {
  // Layer 1 from 0 to 48 holds nodes 1..5 (node 1 at the ground is skipped);
  // each node adds h pu, node 5 on the layer bottom h as well.
  set_layers({{0.0, 48.0}, {48.0, 2000.0}}, SOIL_STIFF_CLAY_NO_WATER);
  set_constant(SoilProfile.cohesion, C);
  set_constant(SoilProfile.e50, E50);
  set_unit_weight(GAMMA);
  set_range(1, 1, 5);
  set_range(2, 5, 41);
  double expected = 0.0;
  for (int j = 2; j <= 5; ++j) {
    const double z = (j - 1) * H;
    expected += H * std::min(3.0 * C * B + GAMMA * B * z + 0.5 * C * z, 9.0 * C * B);
  }
  ASSERT_EQ(run(), 0);
  expect_close(PileLayerData.ultimate_resistance(PILE, 1), expected, 1e-12, "static integral");
}

}  // namespace
}  // namespace pilecap::testing
