// The geometry block of the plot-data file: the direction cosines of the
// pile axes form a right-handed orthonormal frame for vertical, battered
// and skewed piles; the section values stand at the segment midpoints; the
// formatted block has its exact text. Files are read back by the tests' own
// reader.
#include <cmath>
#include <string>
#include <vector>

#include "tests/results/plot_fixture.hpp"

namespace pilecap::testing {
namespace {

using Rows = std::vector<std::vector<double>>;

double dot(const std::vector<double>& u, const std::vector<double>& v) {
  double sum = 0.0;
  for (std::size_t k = 0; k < u.size(); ++k) sum += u[k] * v[k];
  return sum;
}

double determinant(const Rows& r) {
  if (r.size() == 2) return r[0][0] * r[1][1] - r[0][1] * r[1][0];
  return r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) - r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
         r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
}

void expect_right_handed_orthonormal(const Rows& rows, const std::string& name) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
      EXPECT_NEAR(dot(rows[i], rows[j]), i == j ? 1.0 : 0.0, 1e-15) << name << " rows " << i << ", " << j;
    }
  }
  EXPECT_NEAR(determinant(rows), 1.0, 1e-15) << name;
}

class PlotGeometryTest : public PlotTest {};

TEST_F(PlotGeometryTest, AxesOfPilesInSpaceAreARightHandedOrthonormalFrame) {
  struct Case {
    const char* name;
    double alpha, beta;  // degrees
  };
  const Case cases[] = {
      {"vertical", 0.0, 90.0}, {"vertical, turned", 40.0, 90.0}, {"battered", 30.0, 75.0},
      {"skewed", 135.0, 60.0}, {"skewed back", -45.0, 110.0},
  };
  set_property(1, PILE_DRIVEN, 600.0, 60);
  int p = 0;
  for (const Case& c : cases) set_pile(++p, 1, 0.0, 0.0, c.alpha, c.beta);
  open_plot_file(true);
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  ASSERT_EQ(file.piles.size(), std::size(cases));
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    const Rows& rows = file.piles[k].geometry.cosines;
    ASSERT_EQ(rows.size(), 3u);
    expect_right_handed_orthonormal(rows, c.name);
    // The first axis runs along the pile: down at beta from the horizontal plane.
    const double beta = c.beta * PI_DOUBLE / 180.0, alpha = c.alpha * PI_DOUBLE / 180.0;
    EXPECT_NEAR(rows[0][0], std::sin(beta), 1e-15) << c.name;
    EXPECT_NEAR(std::hypot(rows[0][1], rows[0][2]), std::abs(std::cos(beta)), 1e-15) << c.name;
    EXPECT_NEAR(rows[2][0], 0.0, 0.0) << c.name;
    EXPECT_NEAR(rows[2][2], std::cos(alpha), 1e-15) << c.name;
  }
  // A vertical pile: (1, 0, 0), (0, cos a, sin a), (0, -sin a, cos a).
  const Rows& turned = file.piles[1].geometry.cosines;
  const double a = 40.0 * PI_DOUBLE / 180.0;
  const Rows expected = {{1.0, 0.0, 0.0}, {0.0, std::cos(a), std::sin(a)}, {0.0, -std::sin(a), std::cos(a)}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(turned[i][j], expected[i][j], 1e-16) << i << ", " << j;
  }
}

// Regression: the angle of a plane pile used whatever pi an earlier writer
// had stored, so a vertical pile's cosine depended on the piles before it.
TEST_F(PlotGeometryTest, AxesInThePlaneFollowTheBatterWithTheOnePi) {
  RunOptions.dimension = 2;
  const double batters[] = {0.0, 0.2, -0.3, 0.0};
  set_property(1, PILE_DRIVEN, 600.0, 60);
  int p = 0;
  for (double batter : batters) set_pile(++p, 1, 0.0, 0.0, 0.0, 90.0, batter);
  // Soil in front of every pile, so the t-z writers of the first piles run.
  set_layers(
      {{.code = SOIL_SOFT_CLAY, .top = 0.0, .bottom = 2000.0, .cohesion = 10.0, .e50 = 0.01, .unit_weight = 0.04}});
  open_plot_file(true);
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  for (std::size_t k = 0; k < std::size(batters); ++k) {
    const Rows& rows = file.piles[k].geometry.cosines;
    ASSERT_EQ(rows.size(), 2u);
    expect_right_handed_orthonormal(rows, "batter " + std::to_string(batters[k]));
    EXPECT_NEAR(rows[0][0], std::sin(batters[k]), 1e-16);
    EXPECT_NEAR(rows[0][1], std::cos(batters[k]), 1e-16);
  }
  EXPECT_EQ(file.piles[0].geometry.cosines[0][0], std::cos(PI_DOUBLE * 0.5));
  EXPECT_EQ(file.piles[3].geometry.cosines[0][0], std::cos(PI_DOUBLE * 0.5)) << "after the t-z writers of 3 piles";
  EXPECT_EQ(RunConstants.pi, PI_DOUBLE);
}

TEST_F(PlotGeometryTest, SectionValuesStandAtTheSegmentMidpoints) {
  const PlotSection tapered{.diameter = 30.0, .diameter_bottom = 20.0, .area = 50.0, .inertia = 3000.0, .gj = 4e10};
  set_property(1, PILE_DRILLED, 400.0, 40, tapered);
  set_pile(1, 1, 12.0, 0.0);
  PileTable.head_y(1) = -48.0;
  PileTable.head_z(1) = 36.0;
  PyExportRequest.plot_nodes = 4;
  open_plot_file(true);
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const PlotGeometry& g = file.piles[0].geometry;
  EXPECT_EQ(g.pile, 1);
  EXPECT_EQ(g.m, 4);
  EXPECT_EQ(g.length, 400.0);
  EXPECT_EQ(g.head, (std::vector<double>{12.0, -48.0, 36.0}));
  ASSERT_EQ(g.node_x.size(), 4u);
  for (int i = 1; i <= 4; ++i) {
    const std::size_t k = static_cast<std::size_t>(i - 1);
    EXPECT_EQ(g.node_numbers[k], i);
    const double midpoint = 12.0 + (i - 0.5) * 100.0;
    EXPECT_NEAR(g.node_x[k], midpoint, 1e-12);
    const std::vector<double> expected = {30.0 - 10.0 * (midpoint - 12.0) / 400.0, 50.0, 3000.0, 3000.0, 29e6, 4e10};
    ASSERT_EQ(g.sections[k].size(), expected.size());
    for (std::size_t v = 0; v < expected.size(); ++v) {
      EXPECT_NEAR(g.sections[k][v], expected[v], 1e-12 * expected[v]) << "node " << i << " value " << v;
    }
  }
}

TEST_F(PlotGeometryTest, FormattedBlockOfAPlanePileHasItsExactText) {
  RunOptions.dimension = 2;
  set_property(1, PILE_DRIVEN, 600.0, 60);
  set_pile(1, 1, 0.0, 0.0);
  PileTable.head_y(1) = 36.0;
  PyExportRequest.plot_nodes = 1;
  ASSERT_EQ(write_plot_file(), STATUS_OK);
  const std::string blanks(10, ' ');
  const std::string expected =
      "         1         2         1\n"
      "         1         1         0\n" +
      blanks + "   600.00000    \n" +                  //
      blanks + "   0.0000000       36.000000    \n" +  //
      blanks + "  6.12323400E-17   1.0000000    \n" +  //
      blanks + "  -1.0000000      6.12323400E-17\n" +  //
      "         1  300.0000\n" +                       //
      blanks + "   24.000000       36.900000       2549.0000       29000000.    \n" +
      "         1         2         1\n";
  EXPECT_EQ(plot_bytes().substr(0, expected.size()), expected);
  const PlotFile file = read_back();
  EXPECT_TRUE(file.complete) << file.error;
  EXPECT_EQ(file.dimension, 2);
  EXPECT_EQ(file.piles[0].curves.size(), 2u) << "no torque block in the plane";
}

}  // namespace
}  // namespace pilecap::testing
