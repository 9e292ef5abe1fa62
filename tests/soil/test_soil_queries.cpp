// Soil queries by depth against hand-calculated values on small profiles:
// one table per interpolation rule with the ties at layer boundaries and at
// the ends of the curves, the averages from the ground, the default subgrade
// modulus, the coefficient tables, and the warnings and statuses of depths
// beyond each curve.
#include <omp.h>

#include <functional>
#include <sstream>
#include <string_view>
#include <vector>

#include "tests/soil/soil_fixture.hpp"

namespace pilecap {
namespace {

using testing::SoilTest;

const std::string WARNING_LINE = std::string(29, ' ').append("**** WARNING ****");

// A warning block: an empty line, the warning line, then the given lines.
std::string warning_block(std::string_view lines) {
  std::string block = "\n";
  return block.append(WARNING_LINE).append("\n").append(lines);
}

// The cohesion block on the run log, framed by two list-directed records:
// x with the reach of the curve (20 + 1e-8), then the point count 4 with the
// last depth 20. List-directed reals take 25 columns, integers 12.
std::string framed_cohesion_block(std::string_view x, std::string_view block) {
  std::string log = " ";
  log.append(25 - x.size(), ' ').append(x);
  log.append(25 - 11, ' ').append("20.00000001\n").append(block);
  log.append(" ").append(11, ' ').append("4").append(23, ' ').append("20\n");
  return log;
}

// Two layers 0-10 and 10-20; a column with 2, 4 in the upper layer and 6, 10
// in the lower one: linear 2 + x/5 above the step at 10, 6 + 0.4 (x - 10) below.
class SoilQueryTest : public SoilTest {
 protected:
  void SetUp() override {
    SoilTest::SetUp();
    set_layers({{0.0, 10.0}, {10.0, 20.0}});
  }
};

struct DepthCase {
  const char* name;
  std::vector<double> column;  // values at points 1..4
  double x;
  double expected;
  int status = 0;
};

const std::vector<double> RISING = {2.0, 4.0, 6.0, 10.0};
const std::vector<double> LOWER_TOP_ZERO = {2.0, 4.0, 0.0, 10.0};
const std::vector<double> UPPER_BOTTOM_ZERO = {2.0, 0.0, 6.0, 10.0};
constexpr double JUST_BELOW = 20.0 + 5e-9;     // within the 1e-8 reach of the last point
constexpr double CLEARLY_BELOW = 20.0 + 1e-7;  // beyond it
constexpr double EXTENDED_JUST_BELOW = 10.0 + 0.4 * 5e-9;

// Runs the cases of one query over one column.
void run_cases(const char* query, SoilColumn& column, const std::vector<DepthCase>& cases,
               const std::function<double(double&, int&)>& ask) {
  for (const DepthCase& c : cases) {
    SoilColumn fresh{};
    column = fresh;
    for (std::size_t j = 0; j < c.column.size(); ++j) column(static_cast<int>(j) + 1) = c.column[j];
    double x = c.x;
    int status = 0;
    EXPECT_NEAR(ask(x, status), c.expected, 1e-12) << query << ": " << c.name;
    EXPECT_EQ(status, c.status) << query << ": " << c.name;
  }
}

TEST_F(SoilQueryTest, StepMeanRule) {
  const std::vector<DepthCase> common = {
      {"above the first point extends the first segment", RISING, -5.0, 1.0},
      {"first point", RISING, 0.0, 2.0},
      {"inside the upper layer", RISING, 5.0, 3.0},
      {"boundary: mean of both layers", RISING, 10.0, 5.0},
      {"boundary: lower layer absent", LOWER_TOP_ZERO, 10.0, 4.0},
      {"boundary: upper layer absent", UPPER_BOTTOM_ZERO, 10.0, 6.0},
      {"inside the lower layer", RISING, 15.0, 8.0},
      {"last point", RISING, 20.0, 10.0},
  };
  std::vector<DepthCase> zero_below = common;
  zero_below.push_back({"just below the last point", RISING, JUST_BELOW, 0.0});
  zero_below.push_back({"far below the last point", RISING, 120.0, 0.0});
  SoilProfileRecord& s = SoilProfile;
  run_cases("SUBGRADE_K_AT_DEPTH", s.subgrade_k, zero_below, [](double& x, int&) { return SUBGRADE_K_AT_DEPTH(x); });
  run_cases("ROCK_MODULUS_AT_DEPTH", s.rock_modulus, zero_below,
            [](double& x, int&) { return ROCK_MODULUS_AT_DEPTH(x); });
  run_cases("E50_AT_DEPTH", s.e50, zero_below, [](double& x, int&) { return E50_AT_DEPTH(x); });
  run_cases("J_OR_RQD_AT_DEPTH", s.j_factor, zero_below, [](double& x, int&) { return J_OR_RQD_AT_DEPTH(x); });

  std::vector<DepthCase> extended = common;
  extended.push_back({"just below the last point", RISING, JUST_BELOW, EXTENDED_JUST_BELOW});
  extended.push_back({"100 below the last point", RISING, 120.0, 50.0});
  extended.push_back({"beyond the reach of 1e8", RISING, 20.0 + 2e8, 0.0, STATUS_BEYOND_FRICTION_ANGLE_CURVE});
  run_cases("FRICTION_ANGLE_AT_DEPTH", s.friction_angle, extended, FRICTION_ANGLE_AT_DEPTH);
}

TEST_F(SoilQueryTest, StepLowerRule) {
  const std::vector<DepthCase> cases = {
      {"above the first point", RISING, -5.0, 1.0},
      {"inside the upper layer", RISING, 5.0, 3.0},
      {"boundary: the lower layer", RISING, 10.0, 6.0},
      {"boundary: lower layer absent", LOWER_TOP_ZERO, 10.0, 4.0},
      {"boundary: upper layer zero", UPPER_BOTTOM_ZERO, 10.0, 6.0},
      {"last point", RISING, 20.0, 10.0},
      {"just below the last point", RISING, JUST_BELOW, EXTENDED_JUST_BELOW},
      {"beyond the curve", RISING, CLEARLY_BELOW, 0.0, STATUS_BEYOND_COHESION_CURVE},
  };
  run_cases("COHESION_AT_DEPTH", SoilProfile.cohesion, cases, COHESION_AT_DEPTH);
}

TEST_F(SoilQueryTest, SegmentRule) {
  const std::vector<DepthCase> common = {
      {"above the first point", RISING, -5.0, 1.0},
      {"inside the upper layer", RISING, 5.0, 3.0},
      {"boundary: the lower layer's top", RISING, 10.0, 6.0},
      {"boundary: the lower layer's top even at 0", LOWER_TOP_ZERO, 10.0, 0.0},
      {"inside the lower layer", RISING, 15.0, 8.0},
      {"last point", RISING, 20.0, 10.0},
  };
  struct Query {
    const char* name;
    SoilColumn& column;
    double (*ask)(double&, int&);
    int beyond_status;
    double just_below;  // result 5e-9 below the last point
    int just_below_status;
  };
  SoilProfileRecord& s = SoilProfile;
  const Query queries[] = {
      {"SKIN_FRICTION_AT_DEPTH", s.side_friction, SKIN_FRICTION_AT_DEPTH, STATUS_BEYOND_SIDE_FRICTION_CURVE,
       EXTENDED_JUST_BELOW, 0},
      {"TIP_RESISTANCE_AT_DEPTH", s.tip_resistance, TIP_RESISTANCE_AT_DEPTH, STATUS_BEYOND_SIDE_RESISTANCE_CURVE,
       EXTENDED_JUST_BELOW, 0},
      {"BPHI_AT_DEPTH", s.friction_angle, BPHI_AT_DEPTH, STATUS_BEYOND_STRENGTH_CURVE, 0.0,
       STATUS_BEYOND_STRENGTH_CURVE},
  };
  for (const Query& q : queries) {
    std::vector<DepthCase> cases = common;
    cases.push_back({"just below the last point", RISING, JUST_BELOW, q.just_below, q.just_below_status});
    cases.push_back({"beyond the curve", RISING, CLEARLY_BELOW, 0.0, q.beyond_status});
    run_cases(q.name, q.column, cases, q.ask);
  }
}

TEST_F(SoilQueryTest, SegmentRuleMeanOnAStepSegment) {
  // A last layer of no thickness: just below it the segment is a step.
  set_layers({{0.0, 10.0}, {20.0, 20.0}});
  set_column(SoilProfile.side_friction, {2.0, 4.0, 6.0, 10.0});
  double x = JUST_BELOW;
  int status = 0;
  EXPECT_EQ(SKIN_FRICTION_AT_DEPTH(x, status), 8.0);
  EXPECT_EQ(status, 0);
}

// Guards against a division by the zero length of a layer of no thickness.
TEST_F(SoilQueryTest, LayerOfNoThicknessGivesFiniteValues) {
  set_layers({{5.0, 5.0}, {5.0, 20.0}});
  set_column(SoilProfile.cohesion, {2.0, 4.0, 6.0, 10.0});
  set_column(SoilProfile.e50, {2.0, 4.0, 6.0, 10.0});
  double x = 1.0;  // above the first point, whose segment has no slope
  int status = 0;
  EXPECT_EQ(COHESION_AT_DEPTH(x, status), 2.0);
  EXPECT_EQ(E50_AT_DEPTH(x), 2.0);
  set_layers({{0.0, 20.0}, {20.0, 20.0}});
  x = JUST_BELOW;  // the last segment extended has no slope either
  EXPECT_EQ(COHESION_AT_DEPTH(x, status), 6.0);
  EXPECT_EQ(status, 0);
}

TEST_F(SoilQueryTest, LayerCodeBoundaryBelongsToTheUpperLayer) {
  set_layers({{0.0, 10.0}, {10.0, 20.0}, {22.0, 30.0}});
  SoilProfile.layer_code(1) = SOIL_SOFT_CLAY;
  SoilProfile.layer_code(2) = SOIL_SAND;
  SoilProfile.layer_code(3) = SOIL_WEAK_ROCK;
  const struct {
    double x;
    int code;
  } cases[] = {{-1.0, 0},
               {0.0, SOIL_SOFT_CLAY},
               {5.0, SOIL_SOFT_CLAY},
               {10.0, SOIL_SOFT_CLAY},
               {10.5, SOIL_SAND},
               {20.0, SOIL_SAND},
               {21.0, 0},
               {22.0, SOIL_WEAK_ROCK},
               {30.0, SOIL_WEAK_ROCK},
               {30.5, 0}};
  for (const auto& c : cases) {
    double x = c.x;
    EXPECT_EQ(SOIL_CODE_AT_DEPTH(x), c.code) << "x = " << c.x;
  }
}

TEST_F(SoilQueryTest, AverageUnitWeightFromTheGround) {
  // Unit weight 1 to 3 in the upper layer, 5 in the lower one: the integral
  // from 0 is 20 at the boundary and 20 + 5 (x - 10) below it.
  set_column(SoilProfile.unit_weight, {1.0, 3.0, 5.0, 5.0});
  const struct {
    const char* name;
    double x, expected;
  } cases[] = {
      {"above the ground", -1.0, 0.0},
      {"at the ground: the first positive weight", 0.0, 1.0},
      {"half way down the upper layer", 5.0, 7.5 / 5.0},
      {"at the boundary", 10.0, 2.0},
      {"in the lower layer", 15.0, 45.0 / 15.0},
      {"at the last point", 20.0, 3.5},
      {"just below the last point", JUST_BELOW, 70.0 / JUST_BELOW},
  };
  for (const auto& c : cases) {
    double x = c.x;
    int status = 0;
    EXPECT_NEAR(AVG_UNIT_WEIGHT_ABOVE(x, status), c.expected, 1e-12) << c.name;
    EXPECT_EQ(status, 0) << c.name;
  }
  set_column(SoilProfile.unit_weight, {0.0, 3.0, 5.0, 5.0});
  double x = 0.0;
  int status = 0;
  EXPECT_EQ(AVG_UNIT_WEIGHT_ABOVE(x, status), 3.0);  // the first positive one
  // One layer of constant weight below a ground at 2.
  set_layers({{2.0, 12.0}});
  set_column(SoilProfile.unit_weight, {0.04, 0.04});
  x = 3.0;
  EXPECT_NEAR(AVG_UNIT_WEIGHT_ABOVE(x, status), 0.04, 1e-15);
  EXPECT_EQ(status, 0);
}

TEST_F(SoilQueryTest, AverageCohesionFromTheGround) {
  set_column(SoilProfile.cohesion, {1.0, 3.0, 5.0, 5.0});
  const struct {
    const char* name;
    double x, expected;
  } cases[] = {
      {"above the ground", -1.0, 0.0},
      {"at the ground: the cohesion there", 0.0, 1.0},
      {"in the lower layer", 15.0, 45.0 / 15.0},
      {"at the last point", 20.0, 3.5},
      {"below the profile: the last cohesion holds on", 40.0, (70.0 + 5.0 * 20.0) / 40.0},
  };
  for (const auto& c : cases) {
    double x = c.x;
    int status = 0;
    EXPECT_NEAR(AVG_COHESION_ABOVE(x, status), c.expected, 1e-12) << c.name;
    EXPECT_EQ(status, 0) << c.name;
  }
  // Below the profile: a warning on the results report only.
  EXPECT_EQ(
      results(),
      warning_block("     THE VALUE OF X = 0.400E+02IS BEYOND THE EXTENT OF THE/     INPUT FOR AVERAGE COHESION\n"));
  EXPECT_EQ(run_log(), "");
}

TEST_F(SoilQueryTest, DefaultSubgradeModulusFromCohesion) {
  set_layers({{0.0, 100.0}});
  const struct {
    const char* name;
    int units;
    double k, c, x, expected;
  } cases[] = {
      {"given k", UNITS_ENGLISH, 200.0, 5.0, 50.0, 200.0},
      {"given negative k", UNITS_ENGLISH, -300.0, 5.0, 50.0, -300.0},
      {"k 0, c 5 psi", UNITS_ENGLISH, 0.0, 5.0, 50.0, 100.0},
      {"k 0.00005 is not given", UNITS_ENGLISH, 0.00005, 5.0, 50.0, 100.0},
      {"c at the first band limit", UNITS_ENGLISH, 0.0, 3.4700000286102295, 50.0, 50.0},
      {"c above the first band limit", UNITS_ENGLISH, 0.0, 3.48, 50.0, 100.0},
      {"c at the second band limit", UNITS_ENGLISH, 0.0, 6.940000057220459, 50.0, 100.0},
      {"c in the third band", UNITS_ENGLISH, 0.0, 13.899999618530273, 50.0, 500.0},
      {"c at the last band limit", UNITS_ENGLISH, 0.0, 27.799999237060547, 50.0, 1000.0},
      {"c above the last band limit", UNITS_ENGLISH, 0.0, 27.81, 50.0, 2000.0},
      {"SI, c 30 kPa (4.35 psi)", UNITS_SI, 0.0, 30.0, 50.0, 100.0 * 271.5},
      {"SI, c 200 kPa (29 psi)", UNITS_SI, 0.0, 200.0, 50.0, 2000.0 * 271.5},
      {"above the first point", UNITS_ENGLISH, 0.0, 5.0, -1.0, 0.0},
  };
  for (const auto& c : cases) {
    RunOptions.units = c.units;
    set_column(SoilProfile.subgrade_k, {c.k, c.k});
    set_column(SoilProfile.cohesion, {c.c, c.c});
    double x = c.x;
    EXPECT_EQ(SUBGRADE_K_OR_DEFAULT(x), c.expected) << c.name;
  }
  EXPECT_EQ(run_log(), "");
}

TEST_F(SoilQueryTest, DefaultSubgradeModulusBeyondTheCohesionCurve) {
  RunOptions.units = UNITS_ENGLISH;
  set_column(SoilProfile.cohesion, {20.0, 20.0, 20.0, 20.0});
  double x = 25.0;
  EXPECT_EQ(SUBGRADE_K_OR_DEFAULT(x), 50.0);  // cohesion taken as 0
  const std::string block =
      warning_block("     THE VALUE OF X = 0.250E+02 IS BEYOND THE EXTENT OF\n     THE INPUT FOR COHESION\n");
  EXPECT_EQ(results(), block);
  EXPECT_EQ(run_log(), framed_cohesion_block("25", block));
}

TEST_F(SoilQueryTest, StiffClayCoefficients) {
  int pile = 1;
  int set = 1;
  PileSoilData.ground_line(pile) = 100.0;
  const struct {
    double z;  // depth below the ground line in diameters of 2
    double as, ac;
  } cases[] = {
      {-1.0, 0.223 - (0.46 - 0.223), 0.2 - 0.09},
      {0.0, 0.223, 0.2},
      {0.5, 0.3415, 0.245},
      {2.5, 0.57, 0.3},
      {7.0, 0.6, 0.3},
  };
  for (const auto& c : cases) {
    double x = 100.0 + 2.0 * c.z;
    double b = 2.0;
    // The table values are single-precision literals.
    EXPECT_NEAR(STIFF_CLAY_AS_FOR_DIAMETER(pile, set, x, b), c.as, 1e-7) << "z/b = " << c.z;
    EXPECT_NEAR(STIFF_CLAY_AC_FOR_DIAMETER(pile, set, x, b), c.ac, 1e-7) << "z/b = " << c.z;
  }
  // Guards against a division by a zero diameter: z is taken as 0.
  double x = 110.0;
  double b = 0.0;
  EXPECT_NEAR(STIFF_CLAY_AS_FOR_DIAMETER(pile, set, x, b), 0.223, 1e-7);
}

TEST_F(SoilQueryTest, TenPointCoefficientTable) {
  int pile = 2;
  int set = 1;
  PileSoilData.ground_line(pile) = 10.0;
  // Values on the line 3z - 1 over uneven abscissae: every segment and both
  // extensions lie on that line.
  const CoeffTable abscissae = {{0.0, 0.5, 1.0, 2.0, 3.0, 5.0, 8.0, 10.0, 15.0, 20.0}};
  CoeffTable values{};
  for (int i = 1; i <= COEFF_TABLE_POINTS; ++i) values(i) = 3.0 * abscissae(i) - 1.0;
  for (double z : {-1.0, 0.0, 0.25, 4.0, 15.0, 20.0, 30.0}) {
    double x = 10.0 + 4.0 * z;
    double b = 4.0;
    EXPECT_NEAR(COEFF_TABLE_FOR_DIAMETER(pile, set, x, b, values, abscissae), 3.0 * z - 1.0, 1e-12) << z;
  }
}

// Each query beyond its curve: its status, result 0 and its exact warning on
// the results report and the run log.
TEST_F(SoilQueryTest, BeyondEachCurveStatusAndWarning) {
  const std::string cohesion_block =
      warning_block("     THE VALUE OF X = 0.250E+02 IS BEYOND THE EXTENT OF\n     THE INPUT FOR COHESION\n");
  const struct {
    const char* name;
    double (*ask)(double&, int&);
    double x;
    int status;
    std::string block;
    std::string log;  // empty: the block
  } cases[] = {
      {"AVG_UNIT_WEIGHT_ABOVE",
       AVG_UNIT_WEIGHT_ABOVE,
       25.0,
       STATUS_BEYOND_UNIT_WEIGHT_CURVE,
       warning_block("     THE VALUE OF X = 0.250E+02IS BEYOND THE EXTENT OF\n     THE INPUT CURVE FOR UNIT WEIGHT\n"),
       {}},
      {"COHESION_AT_DEPTH", COHESION_AT_DEPTH, 25.0, STATUS_BEYOND_COHESION_CURVE, cohesion_block,
       framed_cohesion_block("25", cohesion_block)},
      {"FRICTION_ANGLE_AT_DEPTH",
       FRICTION_ANGLE_AT_DEPTH,
       3e8,
       STATUS_BEYOND_FRICTION_ANGLE_CURVE,
       warning_block("     THE VALUE OF X = 0.300E+09 IS BEYOND THE EXTENT OF\n     THE INPUT PHI CURVE\n"),
       {}},
      {"SKIN_FRICTION_AT_DEPTH",
       SKIN_FRICTION_AT_DEPTH,
       25.0,
       STATUS_BEYOND_SIDE_FRICTION_CURVE,
       warning_block("     THE VALUE OF X = 0.250E+02 IS BEYOND THE EXTENT OF\n     THE INPUT MAXIMUM SKIN FRICTION\n"),
       {}},
      {"TIP_RESISTANCE_AT_DEPTH",
       TIP_RESISTANCE_AT_DEPTH,
       25.0,
       STATUS_BEYOND_SIDE_RESISTANCE_CURVE,
       warning_block("     THE VALUE OF X = 0.250E+02IS BEYOND THE EXTENT OF/     THE INPUT MAXIMUM TIP RESISTANCE\n"),
       {}},
      {"BPHI_AT_DEPTH",
       BPHI_AT_DEPTH,
       25.0,
       STATUS_BEYOND_STRENGTH_CURVE,
       warning_block("     THE VALUE OF X = 0.250E+02IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE, BPHI\n"),
       {}},
  };
  SoilProfileRecord& s = SoilProfile;
  for (SoilColumn* column : {&s.unit_weight, &s.cohesion, &s.friction_angle, &s.side_friction, &s.tip_resistance}) {
    for (int j = 1; j <= 4; ++j) (*column)(j) = 7.0;
  }
  for (const auto& c : cases) {
    fio::open_memory(UNIT_RESULTS_REPORT);
    fio::open_memory(UNIT_RUN_LOG);
    double x = c.x;
    int status = 0;
    EXPECT_EQ(c.ask(x, status), 0.0) << c.name;
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(results(), c.block) << c.name;
    EXPECT_EQ(run_log(), c.log.empty() ? c.block : c.log) << c.name;
  }
}

// Queries from many threads at once give the serial results, and each
// warning block stays whole on its unit.
TEST_F(SoilQueryTest, ParallelCallersReadOnlyAndWarnInWholeBlocks) {
  set_column(SoilProfile.cohesion, RISING);
  set_column(SoilProfile.side_friction, RISING);
  constexpr int CALLS = 400;
  std::vector<double> serial(CALLS), parallel(CALLS);
  std::vector<int> statuses(CALLS);
  auto ask = [](int i, int& status) {
    double inside = 0.05 * i;  // 0 .. 20
    double beyond = 21.0 + i;
    return COHESION_AT_DEPTH(inside, status) + SKIN_FRICTION_AT_DEPTH(beyond, status);
  };
  for (int i = 0; i < CALLS; ++i) {
    int status = 0;
    serial[i] = ask(i, status);
  }
  fio::open_memory(UNIT_RESULTS_REPORT);
#pragma omp parallel for num_threads(4) schedule(static)
  for (int i = 0; i < CALLS; ++i) {
    int status = 0;
    parallel[i] = ask(i, status);
    statuses[i] = status;
  }
  for (int i = 0; i < CALLS; ++i) {
    EXPECT_EQ(parallel[i], serial[i]) << i;
    EXPECT_EQ(statuses[i], STATUS_BEYOND_SIDE_FRICTION_CURVE) << i;
  }
  std::istringstream lines(results());
  std::string line;
  int n_lines = 0;
  for (; std::getline(lines, line); ++n_lines) {
    switch (n_lines % 4) {
      case 0:
        EXPECT_EQ(line, "") << n_lines;
        break;
      case 1:
        EXPECT_EQ(line, WARNING_LINE) << n_lines;
        break;
      case 2:
        EXPECT_EQ(line.rfind("     THE VALUE OF X =", 0), 0u) << n_lines;
        break;
      default:
        EXPECT_EQ(line, "     THE INPUT MAXIMUM SKIN FRICTION") << n_lines;
        break;
    }
  }
  EXPECT_EQ(n_lines, 4 * CALLS);
}

}  // namespace
}  // namespace pilecap
