// The plate model of the engine's cap written out and read back by the plate
// reader: the 8-node mesh of the cap (x = Z, y = Y, elements counter-
// clockwise), the material, the time data to the last digit, the cap load on
// the plate DOFs with the torsion as in-plane forces whose moment is M_X,
// and one pile point per pile at its head; the keyword copy in the cap's
// axes. The plate's own checks and point location pass on the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

// A folder with a "Names.dat" of a run whose input is "deck.inp" and whose
// results report is "results.txt"; the test works inside it.
class CapPlateDataTest : public PlateTest {
 protected:
  void SetUp() override {
    PlateTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_cap_plate_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    std::ofstream names("Names.dat");
    for (const char* record :
         {"r1", "r2", "r3", "r4", "deck.inp", "echo.txt", "results.txt", "summary.txt", "plot.dat"})
      names << record << "\n";
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    // A 10 x 6 cap, 2 x 1 elements, three piles (one below the plane).
    CapGeometry.length_yy = 10.0;
    CapGeometry.plate_width_zz = 6.0;
    CapGeometry.width_zz = 99.0;  // the echo's working width: not the plate's
    CapGeometry.thickness_xx = 2.0;
    CapPlateInput = {.center_x = 0.0,
                     .center_y = 0.0,
                     .divisions_1 = 2,
                     .divisions_2 = 1,
                     .young_modulus = 3.0e6,
                     .poisson_ratio = 0.25};
    AnalysisControl.initial_step = 0.1;
    AnalysisControl.min_step = 1e-5;  // a fixed-point format with 4 decimals would write 0
    AnalysisControl.max_iterations = 30;
    AnalysisControl.tolerance = 1e-4;
    const double heads[3][3] = {{0.0, -3.0, 1.5}, {1.0, 2.5, -1.0}, {0.0, 4.0, 2.0}};
    PileTable.n_piles = 3;
    for (int p = 1; p <= 3; ++p) {
      PileTable.head_x(p) = heads[p - 1][0];
      PileTable.head_y(p) = heads[p - 1][1];
      PileTable.head_z(p) = heads[p - 1][2];
      PileTable.conn_zz(p) = p == 2 ? 1 : 2;
    }
  }
  void TearDown() override {
    fio::close_all();
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
    PlateTest::TearDown();
  }

  // Reads the written data file as the plate analysis does.
  static void read_back(int& status) {
    OPEN_PLATE_FILES(status);
    if (status == 0) READ_PLATE_CONTROL(status);
    if (status == 0) ALLOCATE_PLATE_ARRAYS(status);
    if (status == 0) READ_PLATE_DATA(status);
  }

  // Plate x, y of a located point from its element and (xi, eta).
  static std::array<double, 2> position(int element, double xi, double eta) {
    QUAD8_SHAPE_FUNCTIONS(xi, eta, PlateControl.NNODE);
    std::array<double, 2> at{};
    for (int n = 1; n <= PlateControl.NNODE; ++n) {
      const int node = PlateModel.element_nodes(element, n);
      for (int c = 0; c < 2; ++c) at[c] += PlateElementWork.shape(n) * PlateModel.node_coordinates(node, c + 1);
    }
    return at;
  }

  std::filesystem::path folder_, previous_;
};

constexpr double P1 = 1000.0, P2 = -200.0, P3 = 300.0, P4 = 5000.0, P5 = -4000.0, P6 = 7000.0;

TEST_F(CapPlateDataTest, ReadBackReproducesMeshLoadsAndPiles) {
  const double cap_load[6] = {P1, P2, P3, P4, P5, P6};
  int status = 0;
  WRITE_CAP_PLATE_DATA(cap_load, status);
  ASSERT_EQ(status, 0) << PlateFailure.detail;
  read_back(status);
  ASSERT_EQ(status, 0) << PlateFailure.detail;
  const PlateControlRecord& c = PlateControl;
  EXPECT_EQ(c.NPOIN, 13);
  EXPECT_EQ(c.NELEM, 2);
  EXPECT_EQ(c.NNODE, 8);
  EXPECT_EQ(c.NCLOD, 9);
  EXPECT_EQ(c.NCTSTI, 3);
  EXPECT_EQ(c.pile_springs, 1);
  EXPECT_EQ(c.DT, 0.1);
  EXPECT_EQ(c.DTMIN, 1e-5);
  EXPECT_EQ(c.MAXITER, 30);
  EXPECT_EQ(c.TEND, 1.0);

  const int expected_nodes[2][8] = {{1, 3, 11, 9, 2, 7, 10, 6}, {3, 5, 13, 11, 4, 8, 12, 7}};
  for (int e = 1; e <= 2; ++e) {
    for (int p = 1; p <= 8; ++p) EXPECT_EQ(PlateModel.element_nodes(e, p), expected_nodes[e - 1][p - 1]) << e;
    // Counter-clockwise in the plate's x, y: a positive area at the centre.
    COPY_ELEMENT_COORDINATES(e);
    QUAD8_SHAPE_FUNCTIONS(0.0, 0.0, 8);
    double det = 0.0;
    JACOB2(e, det, 1, status);
    EXPECT_NEAR(det, 2.5 * 3.0, 1e-12) << e;
  }
  // Node 1: the corner at the smallest Y and the largest Z; node 13 the opposite one.
  EXPECT_EQ(PlateModel.node_coordinates(1, 1), 3.0);
  EXPECT_EQ(PlateModel.node_coordinates(1, 2), -5.0);
  EXPECT_EQ(PlateModel.node_coordinates(13, 1), -3.0);
  EXPECT_EQ(PlateModel.node_coordinates(13, 2), 5.0);
  EXPECT_EQ(PlateModel.node_coordinates(7, 1), 0.0);  // the middle row's centre node
  EXPECT_EQ(PlateModel.node_coordinates(7, 2), 0.0);

  // The centre load on the plate DOFs: UX = F_Z, UY = F_Y, UZ = -F_X,
  // ROTX = -M_Y, ROTY = M_Z; the torsion is not at the centre.
  const double centre[6] = {P3, P2, -P1, -P5, P6, 0.0};
  for (int d = 1; d <= 6; ++d) EXPECT_EQ(PlateModel.concentrated_loads(1, d), centre[d - 1]) << d;
  const auto at_centre = position(PlateModel.concentrated_load_elements(1), PlateModel.concentrated_load_points(1, 1),
                                  PlateModel.concentrated_load_points(1, 2));
  EXPECT_NEAR(at_centre[0], 0.0, 1e-12);
  EXPECT_NEAR(at_centre[1], 0.0, 1e-12);
  // The ring: in-plane forces only, no resultant, moment about X = +M_X
  // (M_X = Y F_Z - Z F_Y = y UX - x UY).
  double sum_x = 0.0, sum_y = 0.0, moment = 0.0;
  for (int i = 2; i <= 9; ++i) {
    const auto at = position(PlateModel.concentrated_load_elements(i), PlateModel.concentrated_load_points(i, 1),
                             PlateModel.concentrated_load_points(i, 2));
    const double fx = PlateModel.concentrated_loads(i, 1), fy = PlateModel.concentrated_loads(i, 2);
    for (int d = 3; d <= 6; ++d) EXPECT_EQ(PlateModel.concentrated_loads(i, d), 0.0) << i;
    EXPECT_NEAR(std::hypot(at[0], at[1]), 2.0, 1e-9) << "the ring of radius t = 2 lies on the cap";
    sum_x += fx;
    sum_y += fy;
    moment += at[1] * fx - at[0] * fy;
  }
  EXPECT_NEAR(sum_x, 0.0, 1e-9 * P4);
  EXPECT_NEAR(sum_y, 0.0, 1e-9 * P4);
  EXPECT_NEAR(moment, P4, 1e-9 * P4);

  // Pile points at the heads' (Z, Y), in pile order.
  for (int p = 1; p <= 3; ++p) {
    ASSERT_GT(PlateModel.pile_elements(p), 0) << p;
    const auto at = position(PlateModel.pile_elements(p), PlateModel.pile_points(p, 1), PlateModel.pile_points(p, 2));
    EXPECT_NEAR(at[0], PileTable.head_z(p), 1e-9) << p;
    EXPECT_NEAR(at[1], PileTable.head_y(p), 1e-9) << p;
  }
}

// Without torsion the centre load stands alone; the keyword copy describes
// the same model in the cap's axes, its piles with their direction and
// head-fixity factors.
TEST_F(CapPlateDataTest, KeywordCopyInTheCapsAxes) {
  const double cap_load[6] = {P1, P2, P3, 0.0, P5, P6};
  RunTitle.text = "CAP OF THREE PILES";
  int status = 0;
  WRITE_CAP_PLATE_DATA(cap_load, status);
  ASSERT_EQ(status, 0) << PlateFailure.detail;
  std::ifstream in("deck.plate.key");
  ASSERT_TRUE(in) << "the keyword file sits beside the data file";
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 38u);  // 17 keyword lines, 2 elements, 13 nodes, material, load, 3 piles, time
  EXPECT_EQ(lines[0], " VELTO5_FC");
  EXPECT_EQ(lines[2], " CAP OF THREE PILES") << "the deck's title";
  EXPECT_EQ(lines[4], " QUAD8  REDUCED_INTEGRATION");
  EXPECT_EQ(lines[5], "*       1       1       1       3      11       9       2       7      10       6");
  EXPECT_EQ(lines.back(), " END_DATA");
  auto values_after = [&lines](const std::string& keyword, int row) {
    std::size_t k = 0;
    while (k < lines.size() && lines[k] != " " + keyword) ++k;
    std::istringstream text(lines.at(k + 1 + static_cast<std::size_t>(row)).substr(1));
    std::vector<double> values;
    for (double v; text >> v;) values.push_back(v);
    return values;
  };
  EXPECT_EQ(values_after("CONCENTRATED_LOAD_DATA", 0), (std::vector<double>{0, 0, 0, P1, P2, P3, 0, P5, P6}));
  EXPECT_EQ(values_after("CONCENTRATED_LOAD_DATA", 1).size(), 0u) << "one load line: END follows";
  EXPECT_EQ(values_after("TOTAL_CONCENTRATED_STIFFNESS_DATA", 1),
            (std::vector<double>{1.0, 2.5, -1.0, 1, 1, 0, 0, 0, 0}))
      << "a vertical pinned pile";
  EXPECT_EQ(values_after("NODE_DATA", 0), (std::vector<double>{1, 0, -5, 3}));
}

// A mesh the plate cannot hold, or none at all, is refused with its cause
// before any plate file is written.
TEST_F(CapPlateDataTest, MeshWithoutSizeOrBeyondCapacityIsRefused) {
  struct Case {
    const char* name;
    int f, g;
    double length;
    const char* detail;
  };
  for (const Case& k : {Case{"no division", 0, 1, 10.0, "NO PLATE MESH"}, Case{"no length", 2, 1, 0.0, "NO PLATE MESH"},
                        Case{"beyond capacity", 1000, 1000, 10.0, "CAPACITY"}}) {
    PlateFailure = {};
    CapPlateInput.divisions_1 = k.f;
    CapPlateInput.divisions_2 = k.g;
    CapGeometry.length_yy = k.length;
    const double cap_load[6] = {P1, 0, 0, 0, 0, 0};
    int status = 0;
    WRITE_CAP_PLATE_DATA(cap_load, status);
    EXPECT_EQ(status, STATUS_PLATE_ERROR) << k.name;
    EXPECT_NE(PlateFailure.detail.find(k.detail), std::string::npos) << k.name << ": " << PlateFailure.detail;
    EXPECT_FALSE(std::filesystem::exists("deck.plate.dat")) << k.name;
  }
}

}  // namespace
}  // namespace pilecap::testing
