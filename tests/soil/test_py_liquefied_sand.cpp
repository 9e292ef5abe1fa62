// Liquefied sand p-y curves against the published law, restated as numbers:
// p = A (B y)^C in kN/m for y in mm, C = 2.85 s^-0.41, B = 2.8 s^0.11, A =
// 3e-7 s^6.05 with s = z + 1 (z in m), times P_d = 3.81 ln b + 5.6 (b >= 0.3
// m, else b / 0.3), limited by the values at 150 mm, at half a diameter and
// at 15 kN/m; English input gives the same curve within the law's own
// conversion constants.
#include <algorithm>
#include <cmath>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double B_M = 0.6, H_M = 0.5, GAMMA_SI = 8.0;  // metres, kN/m^3
constexpr double INCH = 0.0254;

// The published law at law depth z (m) for diameter b (m): the resistance in
// kN/m at a deflection u in metres, with all its limits.
double law_resistance(double z, double b, double u) {
  const double s = z + 1.0;
  const double c = 2.85 * std::pow(s, -0.41), bb = 2.8 * std::pow(s, 0.11), a = 3e-7 * std::pow(s, 6.05);
  auto law = [&](double mm) { return a * std::pow(bb * mm, c); };
  const double p_d = b >= 0.3 ? 3.81 * std::log(b) + 5.6 : b / 0.3;
  const double p_u = p_d * std::min(law(150.0), std::min(15.0, law(500.0 * b)));
  return std::min(p_d * std::min(law(150.0), std::min(15.0, law(1000.0 * u))), p_u);
}

class LiquefiedSandTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    RunOptions.units = UNITS_SI;
    int sign = -1, force_unit = 0;
    SET_UNIT_LABELS(sign, force_unit);
    set_layers({{0.0, 100.0}}, SOIL_LIQUEFIED_SAND);
    set_unit_weight(GAMMA_SI);
    set_pile(41, H_M, B_M);
    set_range(1, 1, 41);
  }
};

TEST_F(LiquefiedSandTest, PowerLawWithItsLimits) {
  // Node 5, z = 2 m: the law rises steeply and is cut at 15 kN/m times P_d.
  for (double u : {0.002, 0.01, 0.03, 0.1, 0.4}) {
    double p = 0.0, es = 0.0;
    evaluate_at(5, u, p, es);
    expect_close(-p, law_resistance(2.0, B_M, u), 1e-5, "z = 2 m");
    expect_close(es * u, -p, 1e-12, "Es u = p");
  }
  double p = 0.0, es = 0.0;
  evaluate_at(5, 0.4, p, es);
  expect_close(-p, (3.81 * std::log(B_M) + 5.6) * 15.0, 1e-5, "large deflection: 15 kN/m times P_d");
  evaluate_at(5, 0.0, p, es);
  EXPECT_EQ(p, 0.0);
  EXPECT_EQ(es, 0.0) << "no initial modulus";
}

TEST_F(LiquefiedSandTest, DiameterFactorBelowAndAtThirtyCentimetres) {
  // A 300 mm section takes the logarithmic branch, P_d = 1.013.
  EXPECT_NEAR(3.81 * std::log(0.3) + 5.6, 1.013, 1e-3);
  for (double b : {0.15, 0.3}) {
    set_pile(41, H_M, b);
    double p = 0.0, es = 0.0;
    evaluate_at(9, 0.5, p, es);
    expect_close(-p, law_resistance(4.0, b, 0.5), 1e-5, "P_d");
  }
}

TEST_F(LiquefiedSandTest, LowerLayerLawDepthFromTheOverburden) {
  set_layers({{0.0, 1.0}, {1.0, 100.0}}, SOIL_LIQUEFIED_SAND);
  set_unit_weight(GAMMA_SI);
  set_range(1, 1, 3);
  set_range(2, 3, 41);
  double p = 0.0, es = 0.0;
  evaluate_at(7, 0.01, p, es);  // z = 3 m: law depth 8 x 3 / 10
  expect_close(-p, law_resistance(GAMMA_SI * 3.0 / 10.0, B_M, 0.01), 1e-5, "gamma z / 10");
}

TEST_F(LiquefiedSandTest, YFactorDividesTheDeflection) {
  ClosePileFactors.p_factor_1(PILE) = 0.5;
  ClosePileFactors.y_factor_1(PILE) = 2.0;
  double p = 0.0, es = 0.0;
  evaluate_at(5, 0.04, p, es);
  expect_close(-p, 0.5 * law_resistance(2.0, B_M, 0.02), 1e-5, "P-FACTOR p at y / Y-FACTOR");
  expect_close(es * 0.04, -p, 1e-12, "Es = P p / y");
}

TEST_F(LiquefiedSandTest, EnglishInputGivesTheSameCurve) {
  double p_si = 0.0, es = 0.0;
  evaluate_at(5, 0.03, p_si, es);
  RunOptions.units = UNITS_ENGLISH;
  set_unit_weight(GAMMA_SI / 271.4471);  // lb/in^3
  set_layers({{0.0, 100.0 / INCH}}, SOIL_LIQUEFIED_SAND);
  set_pile(41, H_M / INCH, B_M / INCH);
  double p_english = 0.0;
  evaluate_at(5, 0.03 / INCH, p_english, es);
  // lb/in to kN/m: 1 lb/in = 0.175127 kN/m; the law converts with 5.7143.
  expect_close(p_english / 5.7143, p_si, 1e-5, "English twin");
}

TEST_F(LiquefiedSandTest, PrintedPointRow) {
  RunOptions.print_py_curves = 1;
  GeneratedPyCurve.active = 1;
  GeneratedPyCurve.request = 1;
  GeneratedPyCurve.num_points = 1;
  PyPrintRequest.y(1, 1) = 0.4;
  set_range(1, 5, 5);
  ASSERT_EQ(run(), 0);
  // 27 blanks, the deflection in 14 columns, the reaction in 20.
  // 15 kN/m times P_d = 3.81 ln 0.6 + 5.6 = 3.65375: 54.8063 kN/m.
  const std::string row = std::string(27, ' ') + "       0.40000" + std::string(13, ' ') + "54.8063 \n";
  const std::string echo = fio::memory_contents(UNIT_ECHO);
  ASSERT_GE(echo.size(), row.size());
  EXPECT_EQ(echo.substr(echo.size() - row.size()), row) << echo;
  EXPECT_NE(echo.find("         Depth below ground surface       =        2.000  M\n"), std::string::npos) << echo;
}

}  // namespace
}  // namespace pilecap::testing
