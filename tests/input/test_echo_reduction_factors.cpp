// The last tables of the input echo as exact text: the depth factor tables
// (TABLE J1), the soil movement profile (TABLE J2) and the reduction factors
// for closely spaced piles (TABLE K), with the factors that TABLE K leaves
// for the analysis: computed for the lateral load of case 1 or for the given
// direction and, in 3D, combined into the first pair.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "echo/echo.hpp"
#include "model/sections.hpp"
#include "tests/input/echo_fixture.hpp"

namespace pilecap {
namespace {

using testing::EchoRecordsTest;

constexpr double D = 24.0;
constexpr double PUBLISHED = 5e-5;
constexpr double SIDE_AT_3 = 0.9298, LEAD_AT_3 = 0.9314, TRAIL_AT_3 = 0.7287;

const std::string K_TITLE = "\n\n\n     * TABLE K *   REDUCTION FACTORS        \n";
const std::string COLUMNS =
    "       " + std::string(33, ' ') + "\n            GROUP NO     P-FACTOR     Y-FACTOR        \n\n";

std::string row(int entry, const char* p_factor, const char* y_factor) {
  return std::string(12, ' ') + "    " + std::to_string(entry) + std::string(5, ' ') + p_factor + " " + y_factor +
         " \n";
}

class EchoReductionFactors : public EchoRecordsTest {
 protected:
  void SetUp() override {
    EchoRecordsTest::SetUp();
    units(1, 0, 3);
    PileSection.diameter(1, 1) = D;
  }
  // Two piles 3 diameters apart along Y.
  static void two_piles_in_line() {
    PileTable.n_piles = 2;
    for (int p = 1; p <= 2; ++p) {
      PileTable.prop(p) = 1;
      PileTable.n_identical(p) = 1.0;
      PileTable.head_y(p) = (p - 1) * 3.0 * D;
    }
  }
  // Load case 1 with one load (FY, FZ, MZ, MY) at the origin.
  static void case_one(double fy, double fz, double mz = 0.0, double my = 0.0) {
    LoadCase.count = 1;
    LoadCase.num_conc_loads(1) = 1;
    LoadCase.scale_factor(1) = 1.0;
    ConcentratedLoad.force_y(1, 1) = fy;
    ConcentratedLoad.force_z(1, 1) = fz;
    ConcentratedLoad.moment_z(1, 1) = mz;
    ConcentratedLoad.moment_y(1, 1) = my;
  }
  static int echo_factors() {
    int status = 0;
    ECHO_REDUCTION_FACTORS(status);
    return status;
  }
};

TEST_F(EchoReductionFactors, DepthFactorTablesShowEveryRow) {
  RunOptions.depth_reduction = 1;
  auto& d = DepthFactorTable;
  d.count = 2;
  d.num_rows(1) = 3;
  d.num_rows(2) = 5;
  for (int i = 1; i <= 5; ++i) {
    for (int m = 1; m <= 2; ++m) {
      d.depth(m, i) = 12.0 * i;  // i feet
      d.p_factor(m, i) = 0.5;
      d.y_factor(m, i) = 2.0;
    }
  }
  ASSERT_EQ(echo_factors(), 0);
  auto rows = [](int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
      text += std::string(11, ' ') + "     " + std::to_string(i) + ".00000" + std::string(9, ' ') + "     0.50000" +
              std::string(9, ' ') + "     2.00000 \n";
    }
    return text;
  };
  const std::string heading = "            " + std::string("     DEPTH,FT") + std::string(10, ' ') + "P-FACTOR   " +
                              std::string(10, ' ') + "Y-FACTOR   \n";
  const std::string expected =
      "\n\n\n     * TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  \n\n       NUM OF SETS :  2\n"
      "\n          SET  1          NUM OF POINTS  3\n\n" +
      heading + rows(3) + "\n          SET  2          NUM OF POINTS  5\n\n" + heading + rows(5) + K_TITLE +
      "\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\n"
      "       ARE NOT CONSIDERED        \n\n";
  EXPECT_EQ(echo(), expected);
}

TEST_F(EchoReductionFactors, SoilMovementProfileInSpace) {
  RunOptions.soil_movement_profile = 1;
  SoilMovementProfile.count = 1;
  SoilMovementProfile.depth(1) = 120.0;
  SoilMovementProfile.move_y(1) = 0.25;
  SoilMovementProfile.move_z(1) = -0.5;
  ASSERT_EQ(echo_factors(), 0);
  const std::string expected =
      "\n\n\n     * TABLE J2 *  SOIL MOVEMENT DATA       \n"
      "            POINT         DEPTH             MOVE Y-DIR             MOVE Z-DIR\n"
      "                            FT                  IN                  IN\n"
      "              1                10.0000              0.25000             -0.50000 \n";
  EXPECT_EQ(echo().substr(0, expected.size()), expected);
}

// Case 1 pushes towards -Y and +Z: along Y pile 1 leads, along Z the two
// stand side by side, and the first pair becomes the blend for the
// direction (0.6, 0.8) of the load.
TEST_F(EchoReductionFactors, SpaceFactorsForTheLoadOfCaseOne) {
  two_piles_in_line();
  case_one(-300.0, 400.0);
  RunOptions.pmult_method = 1;
  ASSERT_EQ(echo_factors(), 0);
  const std::string small(UnitLabels.length_small());
  const std::string expected =
      K_TITLE + "\n       PILE DIAMETER =     24.000 " + small +
      "\n\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Y-DIRECTION\n"
      "       ESTIMATED ASSUMING MOVEMENT IN THE DIRECTION OF Y-FORCE (-)\n" +
      COLUMNS + row(1, "      0.9314", "      1.0000") + row(2, "      0.7287", "      1.0000") +
      "\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Z-DIRECTION\n"
      "       ESTIMATED ASSUMING MOVEMENT IN THE DIRECTION OF Z-FORCE (+)\n" +
      COLUMNS + row(1, "      0.9298", "      1.0000") + row(2, "      0.9298", "      1.0000");
  EXPECT_EQ(echo(), expected);
  for (int p = 1; p <= 2; ++p) {
    const double along_y = p == 1 ? LEAD_AT_3 : TRAIL_AT_3;
    EXPECT_NEAR(PileTable.p_factor_saved(p), along_y, PUBLISHED) << p;
    EXPECT_NEAR(ClosePileFactors.p_factor_2(p), SIDE_AT_3, PUBLISHED) << p;
    EXPECT_NEAR(ClosePileFactors.p_factor_1(p), std::hypot(0.6 * along_y, 0.8 * SIDE_AT_3), PUBLISHED) << p;
    EXPECT_NEAR(ClosePileFactors.y_factor_1(p), 1.0, 1e-15) << p;
  }
}

TEST_F(EchoReductionFactors, CombinationWeightsWithoutALateralLoad) {
  struct Case {
    const char* name;
    int method;
    double mz, my, d1, d2;
    double cy;  // direction cosine of Y in the blend
  } cases[] = {
      {"moment about z only", 1, 500.0, 0.0, 1.0, 1.0, 1.0},
      {"no load at all", 1, 0.0, 0.0, 1.0, 1.0, std::sqrt(0.5)},
      {"given direction of zeros", 3, 0.0, 0.0, 0.0, 0.0, std::sqrt(0.5)},
  };
  for (const Case& c : cases) {
    two_piles_in_line();
    case_one(0.0, 0.0, c.mz, c.my);
    RunOptions.pmult_method = c.method;
    RunOptions.pmult_direction(1) = c.d1;
    RunOptions.pmult_direction(2) = c.d2;
    ASSERT_EQ(echo_factors(), 0) << c.name;
    const double cz = std::sqrt(1.0 - c.cy * c.cy);
    for (int p = 1; p <= 2; ++p) {
      EXPECT_NEAR(ClosePileFactors.p_factor_1(p),
                  std::hypot(c.cy * PileTable.p_factor_saved(p), cz * ClosePileFactors.p_factor_2(p)), 1e-12)
          << c.name;
    }
    // Positive signs: moving towards +Y, pile 2 leads.
    EXPECT_NEAR(PileTable.p_factor_saved(2), LEAD_AT_3, PUBLISHED) << c.name;
  }
}

TEST_F(EchoReductionFactors, GivenDirectionPrintsItsSigns) {
  two_piles_in_line();
  RunOptions.pmult_method = 3;
  RunOptions.pmult_direction(1) = 2.0;
  RunOptions.pmult_direction(2) = -1.0;
  ASSERT_EQ(echo_factors(), 0);
  const std::string length(UnitLabels.length());
  const std::string text = echo();
  EXPECT_NE(text.find("\n       PILE DIAMETER =     24.000 " + length + "\n"), std::string::npos);
  EXPECT_NE(text.find("ALONG Y-DIRECTION\n       ESTIMATED BASED ON DEFINED MOVEMENT IN THE Y-DIRECTION OF (+)\n"),
            std::string::npos);
  EXPECT_NE(text.find("ALONG Z-DIRECTION\n       ESTIMATED BASED ON DEFINED MOVEMENT IN THE Z-DIRECTION OF (-)\n"),
            std::string::npos);
  // The blend of the direction (2, 1), whatever the signs.
  const double cy = 2.0 / std::sqrt(5.0), cz = 1.0 / std::sqrt(5.0);
  EXPECT_NEAR(ClosePileFactors.p_factor_1(2), std::hypot(cy * LEAD_AT_3, cz * SIDE_AT_3), PUBLISHED);
}

TEST_F(EchoReductionFactors, GivenFactorsArePrintedAsTheyStand) {
  two_piles_in_line();
  RunOptions.pmult_method = 2;
  ClosePileFactors.p_factor_1(1) = 0.8;
  ClosePileFactors.p_factor_2(2) = 0.7;
  ASSERT_EQ(echo_factors(), 0);
  const std::string expected =
      K_TITLE + "\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Y-DIRECTION\n" + COLUMNS +
      row(1, "      0.8000", "      1.0000") + row(2, "      1.0000", "      1.0000") +
      "\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Z-DIRECTION\n" + COLUMNS +
      row(1, "      1.0000", "      1.0000") + row(2, "      0.7000", "      1.0000");
  EXPECT_EQ(echo(), expected);
  EXPECT_EQ(ClosePileFactors.p_factor_1(1), 0.8);
}

TEST_F(EchoReductionFactors, RowsOfThePlaneForTheLoadOfCaseOne) {
  units(2, 0, 2);
  PileSection.diameter(1, 1) = 0.6;  // metres
  PileTable.n_piles = 1;
  PileTable.prop(1) = 1;
  PileTable.n_identical(1) = 3.0;
  PileTable.spacing(1) = 1.2;  // 2 diameters
  case_one(-10.0, 0.0);
  RunOptions.pmult_method = 1;
  ASSERT_EQ(echo_factors(), 0);
  const std::string expected = K_TITLE + "\n       PILE DIAMETER =    600.000 " +
                               std::string(UnitLabels.length_small()) +
                               "\n\n       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\n" + COLUMNS +
                               row(1, "      0.7588", "      1.0000");
  EXPECT_EQ(echo(), expected);
}

TEST_F(EchoReductionFactors, MorePilesThanTheTableHoldsAreRefused) {
  units(1, 0, 2);
  PileTable.n_piles = 2;
  for (int p = 1; p <= 2; ++p) {
    PileTable.prop(p) = 1;
    PileTable.n_identical(p) = 2000.0;
  }
  RunOptions.pmult_method = 3;
  EXPECT_EQ(echo_factors(), STATUS_CAPACITY_EXCEEDED);
  EXPECT_EQ(STATUS_DETAIL(),
            "    INPUT SECTION 7, PILES OF ALL ROWS 4000 EXCEED THE CAPACITY 2501 OF THE REDUCTION FACTORS");
  RunOptions.pmult_method = 2;  // factors as given: nothing to compute
  EXPECT_EQ(echo_factors(), STATUS_OK);
}

}  // namespace
}  // namespace pilecap
