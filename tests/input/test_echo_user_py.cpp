// The p-y print requests and TABLE G of the input echo as exact text, the
// working copy of the user p-y curves they build, and the input checks of
// the echo: print requests and user p-y sets that name nothing of the
// model, weak rock and vuggy limestone layers without strength or stiffness.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"

namespace pilecap {
namespace {

class EchoUserPyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    RESET_INPUT_RECORDS(status);
    ASSERT_EQ(status, 0);
    fio::open_memory(UNIT_ECHO);
    SET_STATUS_DETAIL("");
    SoilProfile = SoilProfileRecord{};
  }
  void TearDown() override {
    fio::close(UNIT_ECHO);
    PileTable.n_piles = 0;
    SoilProfile = SoilProfileRecord{};
    SET_STATUS_DETAIL("");
    int status = 0;
    RESET_INPUT_RECORDS(status);
    RELEASE_MODEL_ARRAYS(status);
  }
  static void units(int system) {
    RunOptions.units = system;
    int sign = system == 2 ? -1 : 1, force_unit = 0;
    SET_UNIT_LABELS(sign, force_unit);
  }
  // Two piles; requests for both; one set of two curves (depths in model units).
  static void small_model(double depth_unit) {
    PileTable.n_piles = 2;
    RunOptions.print_py_curves = 1;
    RunOptions.user_py_curves = 1;
    PyPrintRequest.count = 2;
    PyPrintRequest.pile(1) = 1;
    PyPrintRequest.depth(1) = 10.0 * depth_unit;
    PyPrintRequest.pile(2) = 2;
    PyPrintRequest.depth(2) = 22.5 * depth_unit;
    auto& u = UserPyCurveSet;
    u.count = 1;
    u.read_num_curves(1) = 2;
    u.read_depth(1, 1) = 0.0;
    u.read_depth(1, 2) = 40.0 * depth_unit;
    for (int c = 1; c <= 2; ++c) {
      u.read_num_points(1, c) = 2;
      u.read_p(1, c, 1) = 0.0;
      u.read_y(1, c, 1) = 0.0;
      u.read_p(1, c, 2) = 1500.0 * c;  // the first value of a point record
      u.read_y(1, c, 2) = 0.5;
    }
    PileTable.py_set(1) = 1;
  }
  static std::string echo() { return fio::memory_contents(UNIT_ECHO); }
};

TEST_F(EchoUserPyTest, PrintRequestsAndTableGInEnglishUnits) {
  units(1);
  small_model(12.0);
  int status = 0;
  ECHO_USER_PY_CURVES(status);
  ASSERT_EQ(status, 0);
  const std::string expected =
      "\n\n     * DATA TO PRINT GENERATED P-Y CURVES *\n"
      "\n      NUMBER OF CURVES TO PRINT :     2\n"
      "\n       CURVE NUMBER     PILE GROUP         DEPTH (FT)   \n"
      "            1               1                 10.0000 \n"
      "            2               2                 22.5000 \n"
      "\n\n\n     * TABLE G *   INPUT P-Y CURVES\n"
      "\n       NUM OF SETS :  1\n"
      "\n\n       SET  1          NUM OF CURVES  2\n\n"
      "\n        CURVE       1      DISTANCE FROM ORIGIN (X-COORD.)      0.00000 FT\n"
      " \n"
      "            POINT             P LBS                 Y IN\n"
      "              1                0.00000              0.00000 \n"
      "              2                1500.00              0.50000 \n"
      "\n        CURVE       2      DISTANCE FROM ORIGIN (X-COORD.)      40.0000 FT\n"
      " \n"
      "            POINT             P LBS                 Y IN\n"
      "              1                0.00000              0.00000 \n"
      "              2                3000.00              0.50000 \n";
  EXPECT_EQ(echo(), expected);
  // The working copy: p the first value of a point, y the second, nothing converted.
  const auto& u = UserPyCurveSet;
  EXPECT_EQ(u.num_curves(1), 2);
  EXPECT_EQ(u.curve_depth(1, 2), 480.0);
  EXPECT_EQ(u.num_points(1, 2), 2);
  EXPECT_EQ(u.p(1, 2, 2), 3000.0);
  EXPECT_EQ(u.y(1, 2, 2), 0.5);
}

TEST_F(EchoUserPyTest, SiLabelsAndTheSwitchesOfEachPart) {
  units(2);
  small_model(1.0);
  RunOptions.print_py_curves = 0;
  int status = 0;
  ECHO_USER_PY_CURVES(status);
  ASSERT_EQ(status, 0);
  const std::string text = echo();
  EXPECT_EQ(text.find("DATA TO PRINT"), std::string::npos) << "no requests without the print option";
  EXPECT_NE(text.find("DISTANCE FROM ORIGIN (X-COORD.)      40.0000  M\n"), std::string::npos) << text;
  EXPECT_NE(text.find("            POINT             P  KN                 Y  M\n"), std::string::npos) << text;

  // The print option with no requests: the heading alone; no sets: no TABLE G.
  fio::open_memory(UNIT_ECHO);
  RunOptions.print_py_curves = 1;
  PyPrintRequest.count = 0;
  UserPyCurveSet.count = 0;
  PileTable.py_set(1) = 0;
  ECHO_USER_PY_CURVES(status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(echo(), "\n\n     * DATA TO PRINT GENERATED P-Y CURVES *\n");
}

TEST_F(EchoUserPyTest, ReferencesOutsideTheModelAreInputErrors) {
  units(1);
  struct Case {
    const char* name;
    void (*change)();
    const char* detail;
  };
  const Case cases[] = {
      {"request for pile 3 of 2", [] { PyPrintRequest.pile(2) = 3; },
       "    INPUT SECTION 11, P-Y PRINT REQUEST 2: '3' (PILE NOT DEFINED)"},
      {"request for pile 0", [] { PyPrintRequest.pile(1) = 0; },
       "    INPUT SECTION 11, P-Y PRINT REQUEST 1: '0' (PILE NOT DEFINED)"},
      {"request at a depth that is not a number",
       [] { PyPrintRequest.depth(1) = std::numeric_limits<double>::quiet_NaN(); },
       "    INPUT SECTION 11, P-Y PRINT REQUEST 1: DEPTH IS NOT A NUMBER"},
      {"a pile's own set beyond the sets read", [] { PileTable.py_set(2) = 2; },
       "    INPUT SECTION 7, PILE 2: '2' (P-Y CURVE SET NOT DEFINED)"},
  };
  for (const Case& c : cases) {
    small_model(12.0);
    c.change();
    int status = 0;
    ECHO_USER_PY_CURVES(status);
    EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), c.detail) << c.name;
  }
  // A set named in a layer of user curves counts whatever its sign; without
  // such a layer and without the option the column is not read.
  small_model(12.0);
  RunOptions.user_py_curves = 0;
  PileTable.py_set(2) = -4;
  int status = 0;
  ECHO_USER_PY_CURVES(status);
  EXPECT_EQ(status, 0) << "no user curves read, none used";
  SoilProfile.num_layers = 1;
  SoilProfile.layer_code(1) = SOIL_USER_PY;
  ECHO_USER_PY_CURVES(status);
  EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    INPUT SECTION 7, PILE 1: '1' (P-Y CURVE SET NOT DEFINED)");
}

TEST_F(EchoUserPyTest, RockLayersNeedStrengthAndStiffness) {
  auto rock_profile = [](int code, double q_u, double krm, double er) {
    SoilProfile = SoilProfileRecord{};
    SoilProfile.num_layers = 2;
    SoilProfile.num_points = 4;
    SoilProfile.layer_code(1) = SOIL_SOFT_CLAY;
    SoilProfile.layer_code(2) = code;
    for (int point = 1; point <= 4; ++point) {
      SoilProfile.cohesion(point) = q_u;
      SoilProfile.e50(point) = krm;
      SoilProfile.rock_modulus(point) = er;
    }
  };
  struct Case {
    const char* name;
    int code;
    double q_u, krm, er;
    int bottom_only;  // 1: the value at the layer bottom only
    const char* detail;
  };
  const Case cases[] = {
      {"weak rock without krm", SOIL_WEAK_ROCK, 1000.0, 0.0, 2e4, 0,
       "    INPUT SECTION 10, SOIL LAYER 2: KRM OF A WEAK ROCK IS NOT ABOVE 0"},
      {"weak rock with a negative modulus at its bottom", SOIL_WEAK_ROCK, 1000.0, 5e-4, -1.0, 1,
       "    INPUT SECTION 10, SOIL LAYER 2: YOUNG MODULUS ER OF A WEAK ROCK IS NOT ABOVE 0"},
      {"vuggy limestone without strength", SOIL_VUGGY_LIMESTONE, 0.0, 0.0, 0.0, 0,
       "    INPUT SECTION 10, SOIL LAYER 2: STRENGTH OF A VUGGY LIMESTONE IS NOT ABOVE 0"},
      {"weak rock as it should be", SOIL_WEAK_ROCK, 1000.0, 5e-4, 2e4, 0, ""},
      {"vuggy limestone as it should be", SOIL_VUGGY_LIMESTONE, 2000.0, 0.0, 0.0, 0, ""},
  };
  for (const Case& c : cases) {
    if (c.bottom_only == 1) {
      rock_profile(c.code, c.q_u, c.krm, 2e4);
      SoilProfile.rock_modulus(4) = c.er;
    } else {
      rock_profile(c.code, c.q_u, c.krm, c.er);
    }
    SET_STATUS_DETAIL("");
    int status = 0;
    CHECK_ROCK_LAYER_INPUT(status);
    EXPECT_EQ(status, c.detail[0] == '\0' ? 0 : STATUS_INPUT_DATA_ERROR) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), c.detail) << c.name;
  }
}

}  // namespace
}  // namespace pilecap
