// TABLES H and I: the stored user curves as exact text, the generated curves
// through the origin and the pile references, and the curve checks of the echo.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "echo/echo.hpp"
#include "tests/transfer/transfer_fixture.hpp"

namespace pilecap {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class EchoCurvesTest : public testing::TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_echo_curves_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    RunFiles.generated_axial_curves_file = (folder_ / "generated.txt").string();
  }
  void TearDown() override {
    TransferTest::TearDown();
    RunFiles = RunFilesRecord{};
    UserLsCurve = UserLsCurveRecord{};
    UserTrCurve = UserTrCurveRecord{};
    SoilLayerInput = SoilLayerInputRecord{};
    GeneratedCurvePiles.ls_count = GeneratedCurvePiles.tr_count = 0;
    std::filesystem::remove_all(folder_);
  }
  // One user curve of each kind with two points.
  static void user_curves() {
    RunOptions.user_axial_curves = RunOptions.user_torsion_curves = 1;
    UserLsCurve.count = UserTrCurve.count = 1;
    UserLsCurve.read_point_count(1) = UserTrCurve.read_point_count(1) = 2;
    UserLsCurve.read_load(1, 1) = -5000.0;
    UserLsCurve.read_movement(1, 1) = -0.5;
    UserLsCurve.read_load(1, 2) = 20000.0;
    UserLsCurve.read_movement(1, 2) = 1.0;
    UserTrCurve.read_torque(1, 1) = 1.0e6;
    UserTrCurve.read_rotation(1, 1) = 0.01;
    UserTrCurve.read_torque(1, 2) = 2.0e6;
    UserTrCurve.read_rotation(1, 2) = 0.05;
  }
  std::filesystem::path folder_;
};

TEST_F(EchoCurvesTest, UserCurvesAreStoredAndPrinted) {
  RunOptions.dimension = MODEL_3D;
  user_curves();
  set_pile(Pile{});
  PileTable.ls_curve(1) = PileTable.tr_curve(1) = 1;
  int status = 0;
  ECHO_AXIAL_TORSION_CURVES(status);
  ASSERT_EQ(status, 0);
  const std::string expected =
      "\n\n\n     * TABLE H *   AXIAL LOAD VS DISPLACEMENT \n"
      "\n     USER DEFINED AXIAL LOAD-DISPLACEMENT CURVES\n"
      "\n       NUM OF CURVES  1\n"
      "\n        CURVE  1          NUM OF POINTS  2\n\n"
      "       DISPLACEMENT, IN       AXIAL LOAD,LBS\n"
      "              -0.50000             -5000.00 \n"
      "               1.00000              20000.0 \n"
      "\n\n\n     * TABLE I *   TORS. MOM. VS ANGLE ROT. \n"
      "\n     USER DEFINED TORQUE-ROTATION CURVE\n"
      "\n       NUM OF CURVES  1\n"
      "\n        CURVE  1          NUM OF POINTS  2\n\n"
      "         ROT. ANGLE,Rad.     TORS.MOMEN,LBS-IN\n"
      "           1.00000E-02          1.00000E+06 \n"
      "             0.0500000          2.00000E+06 \n";
  EXPECT_EQ(text(UNIT_ECHO), expected);
  EXPECT_EQ(UserLsCurve.load(1, 2), 20000.0);
  EXPECT_EQ(UserLsCurve.movement(1, 1), -0.5);
  EXPECT_EQ(UserTrCurve.rotation(1, 2), 0.05);
  EXPECT_EQ(text(UNIT_PLOT), "");
  EXPECT_FALSE(std::filesystem::exists(RunFiles.generated_axial_curves_file));
}

TEST_F(EchoCurvesTest, GeneratedCurvesRunThroughTheOrigin) {
  RunOptions.dimension = MODEL_3D;
  Layer layer;
  layer.side_friction = 2.0;
  layer.tip_resistance = 90.0;
  set_layer(layer);
  SoilLayerInput.count = 1;
  set_pile(Pile{});
  PileTable.gen_ls_curve(1) = PileTable.gen_tr_curve(1) = 1;
  GeneratedCurvePiles.ls_count = GeneratedCurvePiles.tr_count = 1;
  GeneratedCurvePiles.ls_piles(1) = GeneratedCurvePiles.tr_piles(1) = 1;
  int status = 0;
  ECHO_AXIAL_TORSION_CURVES(status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(PileTable.ls_curve(1), -1);
  EXPECT_EQ(PileTable.tr_curve(1), -1);
  ASSERT_EQ(GeneratedLsCurve.point_count(1), 19);
  ASSERT_EQ(GeneratedTrCurve.point_count(1), 19);
  for (int j = 1; j <= 19; ++j) {
    EXPECT_EQ(GeneratedLsCurve.movement(1, j), ComputedLsTable.top_movement(1, j)) << j;
    EXPECT_EQ(GeneratedLsCurve.load(1, j), ComputedLsTable.top_load(1, j)) << j;
    if (j > 1) {
      EXPECT_GT(GeneratedTrCurve.rotation(1, j), GeneratedTrCurve.rotation(1, j - 1)) << j;
    }
  }
  EXPECT_EQ(GeneratedTrCurve.torque(1, 10), 0.0);
  EXPECT_EQ(GeneratedTrCurve.torque(1, 1), -GeneratedTrCurve.torque(1, 19));
  const std::string echo = text(UNIT_ECHO);
  EXPECT_NE(echo.find("\n     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY \n\n       NUM OF CURVES  1\n"
                      "\n        CURVE  1          NUM OF POINTS 19\n\n"
                      "       DISPLACEMENT, IN       AXIAL LOAD,LBS\n"),
            std::string::npos);
  EXPECT_NE(echo.find("\n               0.00000              0.00000 \n"), std::string::npos);
  EXPECT_NE(echo.find("\n     TORQUE-ROTATION CURVES GENERATED INTERNALLY \n"), std::string::npos);
  const std::string plot = text(UNIT_PLOT);
  const std::string plot_head = "     * AXIAL LOAD-DISPLACEMENT CURVES *\n         1\n         1    1   19\n";
  EXPECT_EQ(plot.substr(0, plot_head.size()), plot_head);
  EXPECT_NE(
      plot.find("\n             10" + std::string(16, ' ') + "0.00000000" + std::string(14, ' ') + "0.00000000 \n"),
      std::string::npos)
      << plot;
  // Unit 34: the two records before the curve, then the node curves.
  const std::string generated = read_file(RunFiles.generated_axial_curves_file);
  EXPECT_EQ(generated.substr(0, 56), "\n            1           1           1\n\n\n     T-Z CURVES");
}

TEST_F(EchoCurvesTest, PileWithoutAnAxialCurveIsAnInputError) {
  struct Case {
    const char* name;
    int layers;
    int generated_number;
    const char* detail;
  };
  for (const Case& c :
       {Case{"no soil layers", 0, 1, "    INPUT SECTION 7, PILE ROW 1: '0' (NO LOAD-SETTLEMENT CURVE FOR THE PILE)"},
        Case{"curve 2 of 1", 1, 2,
             "    INPUT SECTION 7, PILE ROW 1: '2' (NO GENERATED LOAD-SETTLEMENT CURVE FOR THE PILE)"}}) {
    RunOptions.dimension = MODEL_2D;
    set_layer(Layer{});
    SoilLayerInput.count = c.layers;
    set_pile(Pile{});
    PileTable.ls_curve(1) = 0;
    PileTable.gen_ls_curve(1) = c.generated_number;
    GeneratedCurvePiles.ls_count = 1;
    GeneratedCurvePiles.ls_piles(1) = 1;
    int status = 0;
    ECHO_AXIAL_TORSION_CURVES(status);
    EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), c.detail) << c.name;
  }
  EXPECT_EQ(text(UNIT_ECHO), "");
}

}  // namespace
}  // namespace pilecap
