// The input echo frame, TABLE B and TABLE D as exact text, and the working
// values they leave: pile table entries, the cap entry, radians, cap width.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

class EchoTableTest : public testing::ModelRecordsTest {
 protected:
  void SetUp() override {
    testing::ModelRecordsTest::SetUp();
    fio::open_memory(UNIT_ECHO);
  }
  void TearDown() override {
    fio::close(UNIT_ECHO);
    testing::ModelRecordsTest::TearDown();
  }
  static void units(int system, int force_unit, int dimension) {
    RunOptions.units = system;
    RunOptions.force_unit = force_unit;
    RunOptions.dimension = dimension;
    int sign = system == 2 ? -1 : (system == 1 ? 1 : 0);
    SET_UNIT_LABELS(sign, force_unit);
  }
  static std::string echo() { return fio::memory_contents(UNIT_ECHO); }
};

TEST_F(EchoTableTest, HeadingShowsOptionLinesInOrder) {
  units(1, 0, 3);
  RunTitle.text = "TWO PILE TEST";
  RunOptions.extend_curve_interpolation = 1;
  RunOptions.nonsymmetric_ei = 1;
  ECHO_HEADING_AND_OPTIONS();
  const std::string expected =
      "\n\n\n\n\n\n" + std::string(16, ' ') + "*****     INPUT INFORMATION     *****\n\n\n" + "     TWO PILE TEST" +
      std::string(67, ' ') + "\n\n" + "     ANALYSIS TYPE = 3D ANALYSIS     \n\n" +
      "     EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES\n\n" +
      "     CONSIDER NON SYMMETRIC SECTIONS FOR NONLINEAR EI\n\n" + "     UNITS SYSTEM  = ENGL\n";
  EXPECT_EQ(echo(), expected);
  EXPECT_EQ(RunConstants.end_marker, "END ");
}

TEST_F(EchoTableTest, TableBWithFhdParametersAndWorkingWidth) {
  units(1, 0, 3);
  RunOptions.cap_passive_option = 3;
  CapGeometry.length_yy = 120.0;  // inches: 10 ft
  CapGeometry.width_zz = 240.0;
  CapGeometry.thickness_xx = 36.0;
  CapPassiveElement.method = 1;
  CapPassiveElement.increments = 4;
  CapPassiveElement.soil_model = 2;
  CapPassiveElement.K50 = 1500.0;
  CapPassiveElement.F_ULT = 2.5e5;
  CapPassiveElement.Y_MAX = 0.5;
  ECHO_PILE_CAP_OPTIONS();
  const std::string lb = std::string(UnitLabels.length_large_short());
  const std::string f = std::string(UnitLabels.moment_force());
  const std::string l = std::string(UnitLabels.moment_length());
  const std::string expected =
      "\n\n\n     * TABLE B *  PILE CAP OPTIONS\n\n"
      "     LENGTH,YY    ( " +
      lb +
      " ) =    10.00       \n"
      "     WIDTH, ZZ    ( " +
      lb +
      " ) =    20.00       \n"
      "     THICKNESS,XX ( " +
      lb +
      " ) =    3.000    \n\n"
      "     * PILE CAP IS EMBEDDED AND PASSIVE EARTH\n"
      "       RESISTANCE IN FRONT OF PILE CAP WILL BE CONSIDERED\n\n"
      "     - USING EQUIVALENT LATERAL SPRING\n"
      "       INCREMENTS =     4\n"
      "     - USE FHD MODEL, PARAMETERS:    \n"
      "       K50    (" +
      f + "/" + l + "/" + l +
      ") =    1500.       \n"
      "       F ULT  (" +
      f + "/" + l +
      ")    =   2.5000E+05   \n"
      "       Y MAX  (" +
      l + ")        =   0.5000    \n";
  EXPECT_EQ(echo(), expected);
  EXPECT_EQ(CapGeometry.width_zz, std::sqrt(240.0 * 240.0 + 120.0 * 120.0)) << "the 3D plan diagonal";
}

TEST_F(EchoTableTest, WorkingWidthRules) {
  struct Case {
    int dimension, option;
    double eq_diameter, expected;
  };
  const Case cases[] = {{3, 0, 0.0, 22.360679774997898}, {3, 1, 15.0, 15.0}, {2, 0, 15.0, 20.0}, {2, 2, 15.0, 15.0}};
  for (const Case& c : cases) {
    units(1, 0, c.dimension);
    RunOptions.cap_passive_option = c.option;
    CapGeometry.length_yy = 10.0;
    CapGeometry.width_zz = 20.0;
    CapGeometry.eq_diameter = c.eq_diameter;
    ECHO_PILE_CAP_OPTIONS();
    EXPECT_EQ(CapGeometry.width_zz, c.expected) << c.dimension << " " << c.option;
  }
}

TEST_F(EchoTableTest, NoTableBWithoutCapOrOption) {
  units(1, 0, 2);
  ECHO_PILE_CAP_OPTIONS();
  EXPECT_EQ(echo(), "");
}

TEST_F(EchoTableTest, TableD2DRowsAndCapEntry) {
  units(1, 1, 2);
  RunOptions.axial_factor_column = 1;
  auto& in = PileArrangementInput;
  in.n_rows_2d = 3;
  const double heads[] = {120.0, 48.0, 84.0};  // inches: 10, 4 and 7 ft
  for (int r = 1; r <= 3; ++r) {
    in.int_2d(r, 1) = r;  // PIN, FIX, RES
    in.int_2d(r, 2) = r == 1 ? 3 : 1;
    in.int_2d(r, 3) = 1;
    in.int_2d(r, 5) = r == 2 ? 5 : 0;  // user curve 5 on row 2
    in.int_2d(r, 7) = 2;
    in.real_2d(r, 1) = 2.0e6;  // lb-in
    in.real_2d(r, 2) = 36.0;
    in.real_2d(r, 5) = 1.0;
    in.real_2d(r, 6) = heads[r - 1];
    in.real_2d(r, 8) = r == 1 ? 45.0 : 0.0;
    in.real_2d(r, 9) = 12.0;
  }
  CapGeometry.thickness_xx = 36.0;
  BUILD_PILE_TABLE();
  const std::string text = echo();
  EXPECT_NE(
      text.find("         1       PIN         3            1           0           2 G           0          1.0000\n"),
      std::string::npos)
      << text;
  EXPECT_NE(
      text.find("         2       FIX         1            1           0           5 U           0          1.0000\n"),
      std::string::npos);
  EXPECT_NE(text.find("         1         10.0000      0.00000      1.00000      1.00000      2000.00      3.00000 \n"),
            std::string::npos)
      << text;
  EXPECT_EQ(PileTable.n_piles, 3);
  EXPECT_EQ(PileTable.n_identical(1), 3.0);
  EXPECT_EQ(PileTable.alpha(1), 0.7853981633974483);
  EXPECT_EQ(PileTable.batter(1), 0.7853981633974483);
  EXPECT_EQ(PileTable.head_x(4), 48.0 - 36.0) << "cap entry above the shallowest head";
  EXPECT_EQ(PileTable.head_depth(4), 12.0);
  EXPECT_EQ(CapPassiveElement.head_depth, 12.0);
  EXPECT_EQ(CapPassiveElement.length, 36.0);
  EXPECT_EQ(RunConstants.pi, 3.141592653589793);
}

TEST_F(EchoTableTest, TableD3DPrintsDegreesAndStoresRadians) {
  units(2, 0, 3);
  auto& in = PileArrangementInput;
  in.n_piles_3d = 1;
  in.int_3d(1, 1) = 2;
  in.int_3d(1, 2) = 1;
  in.int_3d(1, 3) = 1;
  in.int_3d(1, 6) = 0;
  in.int_3d(1, 10) = 4;
  in.real_3d(1, 3) = 0.8;
  in.real_3d(1, 4) = 1.1;
  in.real_3d(1, 8) = 1.5;  // CorX, metres
  in.real_3d(1, 9) = -2.0;
  in.real_3d(1, 12) = 90.0;  // BETA
  in.real_3d(1, 13) = 30.0;  // THETA
  BUILD_PILE_TABLE();
  const std::string text = echo();
  EXPECT_NE(text.find("       1       FIX        PIN         1          0          0 G        4 G        0\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("       1       1.500     -2.000      0.000      0.000      90.00      30.00      0.000      "
                      "0.000      0.000 \n"),
            std::string::npos)
      << text;
  EXPECT_EQ(PileTable.beta(1), 90.0 * 3.141592653589793 / 180.0);
  EXPECT_EQ(PileTable.batter(1), 1.5707963267948966 - PileTable.beta(1));
  EXPECT_EQ(PileTable.theta(1), 30.0 * 3.141592653589793 / 180.0);
  EXPECT_EQ(PileTable.p_factor_saved(1), 0.8);
  EXPECT_EQ(ClosePileFactors.y_factor_1(1), 1.1);
  EXPECT_EQ(PileTable.beta(2), 1.5707963267948966) << "cap entry is vertical";
  EXPECT_EQ(PileTable.head_x(2), 1.5);
}

TEST_F(EchoTableTest, NoRowsPutsTheCapAtMinusItsThickness) {
  units(1, 0, 2);
  CapGeometry.thickness_xx = 24.0;
  const double pi_before = RunConstants.pi;
  BUILD_PILE_TABLE();
  EXPECT_EQ(PileTable.n_piles, 0);
  EXPECT_EQ(PileTable.head_x(1), -24.0);
  EXPECT_EQ(RunConstants.pi, pi_before) << "a 2D model without rows leaves pi as read";
}

}  // namespace
}  // namespace pilecap
