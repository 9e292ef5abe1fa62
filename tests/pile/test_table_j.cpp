// TABLE J: the printed user set and the bilinear test of its curves.
#include "echo/echo.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap {
namespace {

using TableJ = testing::PileTest;

TEST_F(TableJ, UserSetIsPrintedAndMarkedBilinear) {
  fio::open_memory(UNIT_ECHO);
  MomentCurvatureSet.n_sets = 1;
  MomentCurvatureSet.n_user_sets = 1;
  auto& in = MomentCurvatureInput;
  in.num_curves(1) = 1;
  in.axial_load(1, 1) = 100.0;
  in.num_points(1, 1) = 3;
  const double points[3][2] = {{0, 0}, {0.001, 100}, {0.01, 100}};
  for (int k = 1; k <= 3; ++k) {
    in.curvature(1, 1, k) = points[k - 1][0];
    in.moment(1, 1, k) = points[k - 1][1];
  }
  int status = 0;
  ECHO_MOMENT_CURVATURE_SETS(status);
  EXPECT_EQ(MomentCurvatureSet.bilinear(1), 1);
  EXPECT_EQ(MomentCurvatureSet.bilinear_moment(1, 1, 2), 100.0);
  const std::string text = fio::memory_contents(UNIT_ECHO);
  EXPECT_NE(text.find("     * TABLE J *   MOMENT CURVATURE SETS    \n"), std::string::npos) << text;
  EXPECT_NE(text.find("       NUM OF SETS :  1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("        CURVE  1              AXIAL LOAD     0.100E+03"), std::string::npos) << text;
  // A fourth point makes the curve general.
  in.num_points(1, 1) = 4;
  in.curvature(1, 1, 4) = 0.02;
  in.moment(1, 1, 4) = 100.0;
  ECHO_MOMENT_CURVATURE_SETS(status);
  EXPECT_EQ(MomentCurvatureSet.bilinear(1), 0);
}

}  // namespace
}  // namespace pilecap
