// Default soil parameters against their published tables: the soft and
// stiff clay e50 bands, the clay k bands, the sand k rule with its continuity
// at 27.6423 and 45 degrees, and the choices of the soil report.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "model/conversions.hpp"
#include "soil/soil.hpp"

namespace pilecap {
namespace {

// The published values, single-precision literals widened.
constexpr double E50_002 = 0.019999999552965164;
constexpr double E50_001 = 0.009999999776482582;
constexpr double E50_0011 = 0.010999999940395355;
constexpr double E50_0007 = 0.007000000216066837;
constexpr double E50_0005 = 0.004999999888241291;
constexpr double E50_0004 = 0.004000000189989805;
constexpr double E50_0001 = 0.0010000000474974513;
constexpr double SOFT_BASE_ENGLISH = 3.472222328186035;
constexpr double SOFT_BASE_SI = 23.94013023376465;
constexpr double STIFF_BASE_ENGLISH = 6.94444465637207;
constexpr double STIFF_BASE_SI = 47.8802604675293;
constexpr int OTHER_UNITS = 3;
constexpr double UNTOUCHED = -7.0;

struct E50Case {
  int units;
  double c, e50;
};

void check_e50_bands(void (*rule)(double&, double&, int&), const std::vector<E50Case>& cases) {
  for (const E50Case& c : cases) {
    double cohesion = c.c;
    double e50 = UNTOUCHED;
    int units = c.units;
    rule(cohesion, e50, units);
    EXPECT_EQ(e50, c.e50) << "units " << c.units << " c " << c.c;
  }
}

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

TEST(DefaultE50, SoftClayBands) {
  const std::vector<E50Case> cases = {
      {UNITS_ENGLISH, 0.0, E50_002},
      {UNITS_ENGLISH, std::nextafter(SOFT_BASE_ENGLISH, 0.0), E50_002},
      {UNITS_ENGLISH, SOFT_BASE_ENGLISH, E50_001},  // the band starts at s
      {UNITS_ENGLISH, 2 * SOFT_BASE_ENGLISH, E50_0005},
      {UNITS_ENGLISH, 5 * SOFT_BASE_ENGLISH, E50_0005},  // 4s to 8s keeps 0.005
      {UNITS_ENGLISH, std::nextafter(8 * SOFT_BASE_ENGLISH, 0.0), E50_0005},
      {UNITS_ENGLISH, 8 * SOFT_BASE_ENGLISH, E50_0004},
      {UNITS_SI, 20.0, E50_002},
      {UNITS_SI, SOFT_BASE_SI, E50_001},
      {UNITS_SI, 100.0, E50_0005},
      {UNITS_SI, 200.0, E50_0004},
      {OTHER_UNITS, 1.0, E50_0001},
      {OTHER_UNITS, 1000.0, E50_0001},
  };
  check_e50_bands(DEFAULT_E50_SOFT_CLAY, cases);
}

TEST(DefaultE50, StiffClayBands) {
  const std::vector<E50Case> cases = {
      {UNITS_ENGLISH, std::nextafter(STIFF_BASE_ENGLISH, 0.0), E50_0011},
      {UNITS_ENGLISH, STIFF_BASE_ENGLISH, E50_0007},
      {UNITS_ENGLISH, 2 * STIFF_BASE_ENGLISH, E50_0005},
      {UNITS_ENGLISH, 4 * STIFF_BASE_ENGLISH, E50_0004},
      {UNITS_SI, 40.0, E50_0011},
      {UNITS_SI, STIFF_BASE_SI, E50_0007},
      {UNITS_SI, 200.0, E50_0004},
      {OTHER_UNITS, 1.0, UNTOUCHED},
  };
  check_e50_bands(DEFAULT_E50_STIFF_CLAY, cases);
}

TEST(DefaultK, ClayBandsStaticAndCyclic) {
  const struct {
    int units;
    double c, k_static, k_cyclic;
  } cases[] = {
      {UNITS_ENGLISH, 1.0, 250.0, 100.0},
      {UNITS_ENGLISH, STIFF_BASE_ENGLISH, 500.0, 200.0},
      {UNITS_ENGLISH, 3 * STIFF_BASE_ENGLISH, 1000.0, 400.0},
      {UNITS_ENGLISH, 4 * STIFF_BASE_ENGLISH, 2000.0, 800.0},
      {UNITS_SI, 40.0, 67861.78125, 27144.7109375},
      {UNITS_SI, 60.0, 135723.5625, 54289.421875},
      {UNITS_SI, 150.0, 271447.125, 108578.84375},
      {UNITS_SI, 200.0, 542894.25, 217157.6875},
      {OTHER_UNITS, 1.0, UNTOUCHED, UNTOUCHED},
  };
  for (const auto& c : cases) {
    double cohesion = c.c;
    int units = c.units;
    double k = UNTOUCHED;
    int kind = LOADING_STATIC;
    DEFAULT_K_CLAY(cohesion, k, units, kind);
    EXPECT_EQ(k, c.k_static) << "units " << c.units << " c " << c.c;
    k = UNTOUCHED;
    kind = LOADING_CYCLIC;
    DEFAULT_K_CLAY(cohesion, k, units, kind);
    EXPECT_EQ(k, c.k_cyclic) << "units " << c.units << " c " << c.c;
    k = UNTOUCHED;
    kind = 2;
    DEFAULT_K_CLAY(cohesion, k, units, kind);
    EXPECT_EQ(k, UNTOUCHED) << "loading kind 2";
  }
}

double sand_k(double degrees, double gamma, int units) {
  double phi = radians(degrees);
  double k = UNTOUCHED;
  DEFAULT_K_SAND(phi, gamma, k, units);
  return k;
}

TEST(DefaultK, SandPolynomialAndItsEnds) {
  // Published approximate values at 30 degrees.
  EXPECT_NEAR(sand_k(30.0, 0.04, UNITS_ENGLISH), 34.54, 0.01);
  EXPECT_NEAR(sand_k(30.0, 0.05, UNITS_ENGLISH), 47.69, 0.01);
  // At 45 degrees exactly the polynomial, above it the constant.
  EXPECT_NEAR(sand_k(45.0, 0.04, UNITS_ENGLISH), 228.7656, 1e-3);
  EXPECT_NE(sand_k(45.0, 0.04, UNITS_ENGLISH), 228.76556396484375);
  EXPECT_EQ(sand_k(45.0001, 0.04, UNITS_ENGLISH), 228.76556396484375);
  EXPECT_EQ(sand_k(60.0, 0.05, UNITS_ENGLISH), 394.7129821777344);
  EXPECT_EQ(sand_k(45.0001, 12.0, UNITS_SI), 62097.7578125);
  EXPECT_EQ(sand_k(60.0, 13.0, UNITS_SI), 107143.7109375);
  // The water table: 0.045 lb/in^3 and 12.225 kN/m^3 count as below water.
  EXPECT_EQ(sand_k(30.0, 0.04500000178813934, UNITS_ENGLISH), sand_k(30.0, 0.0, UNITS_ENGLISH));
  EXPECT_EQ(sand_k(30.0, 12.225000381469727, UNITS_SI), sand_k(30.0, 0.0, UNITS_SI));
  EXPECT_NE(sand_k(30.0, 12.23, UNITS_SI), sand_k(30.0, 0.0, UNITS_SI));
  // Linear from 0 below 27.6423 degrees.
  EXPECT_EQ(sand_k(0.0, 0.04, UNITS_ENGLISH), 0.0);
  EXPECT_NEAR(sand_k(27.64229965209961 / 2, 0.04, UNITS_ENGLISH), 10.20672607421875 / 2, 1e-12);
  EXPECT_NEAR(sand_k(27.64229965209961 / 2, 0.05, UNITS_ENGLISH), 10.206787109375 / 2, 1e-12);
  // Any other unit system leaves k alone.
  EXPECT_EQ(sand_k(30.0, 0.04, OTHER_UNITS), UNTOUCHED);
}

TEST(DefaultK, SandContinuousWhereItsPiecesMeet) {
  constexpr double PHI_1 = 27.64229965209961;
  const double below = std::nextafter(PHI_1, 0.0);
  for (double gamma : {0.04, 0.05}) {
    // The linear piece ends where the polynomial starts, within the rounding
    // of the fitted coefficients; the polynomial reaches the constant at 45.
    EXPECT_NEAR(sand_k(below, gamma, UNITS_ENGLISH), sand_k(PHI_1, gamma, UNITS_ENGLISH), 2e-4) << gamma;
    EXPECT_NEAR(sand_k(45.0, gamma, UNITS_ENGLISH), sand_k(45.0001, gamma, UNITS_ENGLISH), 2e-4) << gamma;
  }
  // SI: the English value in kN/m^3, below and above water.
  for (double degrees : {20.0, 30.0, 40.0}) {
    EXPECT_EQ(sand_k(degrees, 10.0, UNITS_SI), sand_k(degrees, 0.04, UNITS_ENGLISH) * 271.4471435546875);
    EXPECT_EQ(sand_k(degrees, 15.0, UNITS_SI), sand_k(degrees, 0.05, UNITS_ENGLISH) * 271.4471435546875);
  }
}

TEST(DefaultE50, BySoilCode) {
  const struct {
    int code;
    double e50;  // English, c = 5 psi
  } cases[] = {
      {SOIL_SOFT_CLAY, E50_001},
      {SOIL_SILT, E50_001},
      {SOIL_SOFT_CLAY_USER_J, E50_001},
      {SOIL_MOD_SOFT_CLAY_INITIAL_K, E50_001},
      {SOIL_STIFF_CLAY_FREE_WATER, E50_0011},
      {SOIL_STIFF_CLAY_NO_WATER, E50_0011},
      {SOIL_STIFF_CLAY_INITIAL_K, E50_0011},
      {SOIL_SAND, UNTOUCHED},
      {SOIL_WEAK_ROCK, UNTOUCHED},
      {0, UNTOUCHED},
  };
  for (const auto& c : cases) {
    double cohesion = 5.0;
    double e50 = UNTOUCHED;
    int code = c.code;
    int units = UNITS_ENGLISH;
    DEFAULT_E50_BY_SOIL(cohesion, e50, code, units);
    EXPECT_EQ(e50, c.e50) << "code " << c.code;
  }
}

TEST(DefaultE50, ForTheSoilReport) {
  double c = 5.0;
  int units = UNITS_ENGLISH;
  int code = SOIL_SOFT_CLAY;
  double given = 0.03;
  double e50 = 0.0;
  int estimated = -1;
  DEFAULT_E50_FOR_ECHO(c, given, e50, units, code, estimated);
  EXPECT_EQ(e50, 0.03);
  EXPECT_EQ(estimated, 0);
  given = 0.0;
  DEFAULT_E50_FOR_ECHO(c, given, e50, units, code, estimated);
  EXPECT_EQ(e50, E50_001);
  EXPECT_EQ(estimated, 1);
  code = SOIL_SAND;  // no default: the given value stays, still marked estimated
  DEFAULT_E50_FOR_ECHO(c, given, e50, units, code, estimated);
  EXPECT_EQ(e50, 0.0);
  EXPECT_EQ(estimated, 1);
}

TEST(DefaultK, ForTheSoilReport) {
  const struct {
    const char* name;
    int code;
    double k_in, k_static, k_cyclic;
    int estimated, two_values;
  } cases[] = {
      {"given k", SOIL_SAND, 1200.0, 1200.0, 1200.0, 0, 0},
      {"stiff clay with free water", SOIL_STIFF_CLAY_FREE_WATER, 0.0, 250.0, 100.0, 1, 1},
      {"stiff clay, initial k", SOIL_STIFF_CLAY_INITIAL_K, -1.0, 250.0, 100.0, 1, 1},
      {"modified soft clay", SOIL_MOD_SOFT_CLAY_INITIAL_K, 0.0, 250.0, 100.0, 1, 1},
      {"sand: static only", SOIL_SAND, 0.0, 394.7129821777344, 0.0, 1, 0},
      {"API sand: static only", SOIL_API_SAND, 0.0, 394.7129821777344, 0.0, 1, 0},
      {"soft clay: no default", SOIL_SOFT_CLAY, 0.0, 0.0, 0.0, 1, 0},
  };
  for (const auto& c : cases) {
    double cohesion = 5.0;  // psi, below the stiff-clay base
    double phi = radians(50.0);
    double gamma = 0.05;
    double k_in = c.k_in;
    double k_static = UNTOUCHED;
    double k_cyclic = UNTOUCHED;
    int units = UNITS_ENGLISH;
    int code = c.code;
    int estimated = -1;
    int two_values = -1;
    DEFAULT_K_FOR_ECHO(cohesion, phi, gamma, k_in, k_static, k_cyclic, units, code, estimated, two_values);
    const double k_cyclic_expected = c.k_cyclic == 0.0 ? c.k_in : c.k_cyclic;
    const double k_static_expected = c.k_static == 0.0 ? c.k_in : c.k_static;
    EXPECT_EQ(k_static, k_static_expected) << c.name;
    EXPECT_EQ(k_cyclic, k_cyclic_expected) << c.name;
    EXPECT_EQ(estimated, c.estimated) << c.name;
    EXPECT_EQ(two_values, c.two_values) << c.name;
  }
}

}  // namespace
}  // namespace pilecap
