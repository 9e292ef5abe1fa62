// The plate data reader: the listing echo of every kind of record, exact to
// the character; records stored where their numbers say (a repeated node
// keeps its last record); and the location of points in elements of any
// orientation, on shared sides and at the plate's corners.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "tests/plate/plate_data_file.hpp"

namespace pilecap::testing {
namespace {

class PlateReaderTest : public PlateTest {};

// One 8-node element over [0, 2] x [0, 2] with every kind of record; node
// labels are ten times the node numbers, the element's label is 7. Node 3
// is given twice, first at a wrong place.
PlateDataFile single_element_file() {
  PlateDataFile f;
  f.dt = 0.25;
  f.dtmin = 0.01;
  f.maxiter = 5;
  f.elements = {{1, 7, 1, {1, 3, 8, 6, 2, 5, 7, 4}}};
  f.nodes = {{1, 10, 0, 0}, {2, 20, 1, 0}, {3, 30, 9, 9}, {3, 30, 2, 0}, {4, 40, 0, 1},
             {5, 50, 2, 1}, {6, 60, 0, 2}, {7, 70, 1, 2}, {8, 80, 2, 2}};
  f.restraints = {{1, {1, 1, 1, 0, 0, 1}, {}}, {3, {0, 1, 1, 0, 2, 1}, {0, 0.5, 0, 0, 0, 0}}};
  f.materials = {{1, 2.0e7, 0.25, 0.2}};
  f.nodal_loads = {{8, {0, 0, -5, 0, 0, 0}}};
  f.nodal_stiffnesses = {{5, {0, 0, 1000, 0, 0, 0}}};
  f.distributed_loads = {{1, {0, 0, -1, 0, 0, 0}}};
  f.distributed_stiffnesses = {{1, {0, 0, 10, 0, 0, 0}}};
  f.concentrated_loads = {{1.5, 0.5, {0, 0, -2, 0, 0, 0}}};
  f.concentrated_stiffnesses = {{0.5, 1.5, {0, 0, 100, 0, 0, 0}}};
  f.edge_loads = {{1, 2, 3, {1, 2, 3}}};
  f.edge_stiffnesses = {{1, 4, 3, {5, 5, 5}}};
  f.piles = {{1.0, 1.0}};
  return f;
}

// Reads the file from memory as the driver does, up to and with the checks.
int read_from_memory(const std::string& text) {
  fio::open_memory(UNIT_PLATE_DATA, text);
  fio::open_memory(UNIT_PLATE_LISTING);
  fio::open_memory(UNIT_PLATE_CONVERGENCE_LOG);
  int status = 0;
  READ_PLATE_CONTROL(status);
  if (status == 0) {
    ECHO_PLATE_CONTROL();
    CHECK1(status);
  }
  if (status == 0) ALLOCATE_PLATE_ARRAYS(status);
  if (status == 0) READ_PLATE_DATA(status);
  return status;
}

TEST_F(PlateReaderTest, ListingEchoesEveryRecord) {
  ASSERT_EQ(read_from_memory(single_element_file().text()), 0) << PlateFailure.detail;
  const std::string zero = "  0.00000E+00";
  const std::string expected =
      "TEST PLATE" + std::string(62, ' ') +
      "\n"
      " UNITS: LENGTHS IN, ROTATIONS RAD, FORCES LB, MOMENTS LB-IN, SIGMA LB/IN**2, PLATE MOMENTS LB-IN/IN, SHEAR "
      "FORCES LB/IN\n"
      "\n"
      "\n"
      " NPOIN =   8     NELEM =   1     NVFIX =   2     NCASE =   1     NTYPE =   0     NNODE =   8     NDOFN =   6\n"
      "\n"
      " NMATS =   1     NPROP =   3     NGAUS =   2     NDIME =   2     NSTRE =   8     NEVAB =  48\n"
      "\n"
      " NNLOD =   1     NNSTI =   1     NDLOD =   1     NDSTI =   1     NCLOD =   1     NCSTI =   1 NCTSTI =   1\n"
      "\n"
      "    DT =    0.2500      TINI =    0.0000     TEND  =    1.0000     DTMIN =    0.0100     MAXITER =    5\n"
      "\n"
      "\n"
      " ELEMENT   PROPERTY      NODE NUMBERS\n"
      "       7       1       1       3       8       6       2       5       7       4\n"
      "\n"
      "\n"
      "   NODAL POINT COORDINATES\n"
      "     NODE          X            Y\n"
      "       10       0.0000       0.0000\n"
      "       20       1.0000       0.0000\n"
      "       30       2.0000       0.0000\n"
      "       40       0.0000       1.0000\n"
      "       50       2.0000       1.0000\n"
      "       60       0.0000       2.0000\n"
      "       70       1.0000       2.0000\n"
      "       80       2.0000       2.0000\n"
      "\n"
      "\n"
      " RESTRAINED NODES\n"
      "    NODF  CODF       FIXED VALUES\n"
      "      10  111001" +
      zero + zero + zero + zero + zero + zero +
      "\n"
      "      30  011021" +
      zero + "  0.50000E+00" + zero + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      "  MATERIAL PROPERTIES\n"
      "  NUMBER       YOUNG MODULUS POISSON RATIO   THICKNESS   \n"
      "     1         0.200000E+08  0.250000E+00  0.200000E+00\n"
      "\n"
      "\n"
      " NODAL LOADS\n"
      "    NODE,           VALUES\n"
      "      80  " +
      zero + zero + " -0.50000E+01" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " NODAL STIFFNESSES\n"
      "    NODE,           VALUES\n"
      "      50  " +
      zero + zero + "  0.10000E+04" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " DISTRIBUTED LOADS\n"
      "  ELEMENT           VALUES\n"
      "       7  " +
      zero + zero + " -0.10000E+01" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " DISTRIBUTED STIFFNESSES\n"
      "  ELEMENT           VALUES\n"
      "       7  " +
      zero + zero + "  0.10000E+02" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " CONCENTRATED LOADS\n"
      "     X        Y            VALUES\n"
      "     1.5000    0.5000  " +
      zero + zero + " -0.20000E+01" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " CONCENTRATED STIFFNESSES\n"
      "     X        Y            VALUES\n"
      "     0.5000    1.5000  " +
      zero + zero + "  0.10000E+03" + zero + zero + zero +
      "\n"
      "\n"
      "\n"
      " EDGE LOADS\n"
      "   ELEM    SIDE    DOF             VALUES\n"
      "       1       2       3    0.10000E+01  0.20000E+01  0.30000E+01\n"
      "\n"
      "\n"
      " EDGE STIFFNESS\n"
      "   ELEM    SIDE    DOF             VALUES\n"
      "       1       4       3    0.50000E+01  0.50000E+01  0.50000E+01\n"
      "\n"
      "\n"
      " CONCENTRATED TOTAL STIFFNESSES\n"
      "       X          Y \n"
      "     1.0000    1.0000\n"
      "\n"
      "\n"
      " MAXIMUM FRONTWIDTH ENCOUNTERED =   48\n";
  EXPECT_EQ(fio::memory_contents(UNIT_PLATE_LISTING), expected);
  EXPECT_EQ(fio::memory_contents(UNIT_PLATE_CONVERGENCE_LOG), "");
  EXPECT_EQ(PlateControl.front_size, PLATE_FRONT_DEFAULT);

  // Where the records landed; the points now hold their local coordinates.
  const PlateModelRecord& m = PlateModel;
  EXPECT_EQ(m.node_coordinates(3, 1), 2.0);
  EXPECT_EQ(m.node_coordinates(3, 2), 0.0);
  EXPECT_EQ(m.element_nodes(1, 3), 8);
  EXPECT_EQ(m.restraint_codes(2, PLATE_ROTY), 2);
  EXPECT_EQ(m.prescribed_values(2, PLATE_UY), 0.5);
  EXPECT_EQ(m.edge_load_keys(1, EDGE_KEY_SIDE), 2);
  EXPECT_EQ(m.edge_stiffnesses(1, 3), 5.0);
  struct Located {
    const char* name;
    int element;
    double xi, eta, expected_xi, expected_eta;
  };
  const Located located[] = {
      {"concentrated load", m.concentrated_load_elements(1), m.concentrated_load_points(1, 1),
       m.concentrated_load_points(1, 2), 0.5, -0.5},
      {"concentrated stiffness", m.concentrated_stiffness_elements(1), m.concentrated_stiffness_points(1, 1),
       m.concentrated_stiffness_points(1, 2), -0.5, 0.5},
      {"pile", m.pile_elements(1), m.pile_points(1, 1), m.pile_points(1, 2), 0.0, 0.0},
  };
  for (const Located& l : located) {
    EXPECT_EQ(l.element, 1) << l.name;
    EXPECT_NEAR(l.xi, l.expected_xi, 1e-12) << l.name;
    EXPECT_NEAR(l.eta, l.expected_eta, 1e-12) << l.name;
  }
}

// A square 8-node element over [0, 2] x [0, 2] whose local numbering starts
// at each of its four corners in turn (xi along +x, +y, -x, -y), then a
// distorted quadrilateral with curved sides: the point is found in every
// orientation, and its (xi, eta) maps back onto it.
TEST_F(PlateReaderTest, LocatesPointsInElementsOfAnyOrientation) {
  struct Case {
    const char* name;
    std::function<void(int, int, double&, double&)> corner;
    int turns;   // quarter turns of the local numbering
    bool known;  // (xi, eta) known in closed form
    double expected_xi, expected_eta;
  };
  auto distorted = [](int ix, int iy, double& x, double& y) {
    if (ix == 2 && iy == 2) x += 0.6;
    if (ix == 0 && iy == 2) y += 0.3;
  };
  const Case cases[] = {
      {"xi along +x", nullptr, 0, true, 0.5, -0.5},
      {"xi along +y", nullptr, 1, true, -0.5, -0.5},
      {"xi along -x", nullptr, 2, true, -0.5, 0.5},
      {"xi along -y", nullptr, 3, true, 0.5, 0.5},
      {"distorted, xi along +y", distorted, 1, false, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    reset_plate_records();
    MeshPlan plan;
    plan.nx = plan.ny = 1;
    plan.a = plan.b = 2.0;
    plan.corner = c.corner;
    install_mesh(layout_mesh(plan));
    std::vector<int> nodes;
    for (int p = 1; p <= 8; ++p) nodes.push_back(PlateModel.element_nodes(1, p));
    for (int t = 0; t < c.turns; ++t) nodes = turned_by_a_quarter(nodes);
    for (int p = 1; p <= 8; ++p) PlateModel.element_nodes(1, p) = nodes[p - 1];
    Table2<double> points;
    Table1<int> elements;
    points.create("points", 1, 2);
    elements.create("elements", 1);
    points(1, 1) = 1.5;
    points(1, 2) = 0.5;
    LOCATE_PLATE_POINTS(1, points, elements);
    ASSERT_EQ(elements(1), 1) << c.name;
    if (c.known) {
      EXPECT_NEAR(points(1, 1), c.expected_xi, 1e-12) << c.name;
      EXPECT_NEAR(points(1, 2), c.expected_eta, 1e-12) << c.name;
    }
    COPY_ELEMENT_COORDINATES(1);
    QUAD8_SHAPE_FUNCTIONS(points(1, 1), points(1, 2), 8);
    double x = 0.0;
    double y = 0.0;
    for (int n = 1; n <= 8; ++n) {
      x += PlateElementWork.shape(n) * PlateElementWork.coordinates(1, n);
      y += PlateElementWork.shape(n) * PlateElementWork.coordinates(2, n);
    }
    EXPECT_NEAR(x, 1.5, 1e-12) << c.name;
    EXPECT_NEAR(y, 0.5, 1e-12) << c.name;
  }
}

// On a 2 x 2 mesh over [0, 4] x [0, 4]: a point on the side shared by
// elements 1 and 2 goes to element 1; the plate's corners and the middle of
// an outer side are inside; points beyond the plate are in no element.
TEST_F(PlateReaderTest, PointsOnSidesGoToTheLowerElementAndOutsidePointsToNone) {
  MeshPlan plan;
  plan.a = plan.b = 4.0;
  install_mesh(layout_mesh(plan));
  struct Case {
    double x, y;
    int element;
  };
  const Case cases[] = {{2.0, 1.0, 1}, {2.0, 2.0, 1}, {3.0, 2.0, 2}, {4.0, 4.0, 4},  {0.0, 0.0, 1},
                        {4.0, 0.0, 2}, {1.0, 4.0, 3}, {4.5, 1.0, 0}, {-1e-6, 2.0, 0}};
  const int count = static_cast<int>(std::size(cases));
  Table2<double> points;
  Table1<int> elements;
  points.create("points", count, 2);
  elements.create("elements", count);
  for (int i = 1; i <= count; ++i) {
    points(i, 1) = cases[i - 1].x;
    points(i, 2) = cases[i - 1].y;
  }
  LOCATE_PLATE_POINTS(count, points, elements);
  for (int i = 1; i <= count; ++i) {
    EXPECT_EQ(elements(i), cases[i - 1].element) << "point " << cases[i - 1].x << ", " << cases[i - 1].y;
    if (elements(i) == 0) {
      EXPECT_EQ(points(i, 1), cases[i - 1].x) << "a point in no element keeps its x";
    }
  }
}

// A 12 ft cap centred on the origin in 5, 11, 15 or 25 divisions: node
// coordinates such as -72 + 2 x 28.8 are not exact in binary, so the local
// coordinate of a point on an element's centre line is a rounding residue of
// 0. Every element centre, the cap's origin and points a quarter inside each
// element are found in their own element and map back onto themselves.
// Guards against a convergence test relative to that residue.
TEST_F(PlateReaderTest, PointsOnElementCentreLinesAreFoundInAnyMesh) {
  constexpr double SIDE = 144.0;
  for (int divisions : {5, 11, 15, 25}) {
    SCOPED_TRACE(divisions);
    reset_plate_records();
    MeshPlan plan;
    plan.nx = plan.ny = divisions;
    plan.a = plan.b = SIDE;
    plan.corner = [](int, int, double& x, double& y) {
      x -= SIDE / 2;
      y -= SIDE / 2;
    };
    install_mesh(layout_mesh(plan));
    const double size = SIDE / divisions;
    struct Point {
      double x, y;
      int element;
    };
    std::vector<Point> wanted;
    for (int row = 0; row < divisions; ++row) {
      for (int column = 0; column < divisions; ++column) {
        const int element = row * divisions + column + 1;
        const double centre_x = -SIDE / 2 + (column + 0.5) * size;
        const double centre_y = -SIDE / 2 + (row + 0.5) * size;
        wanted.push_back({centre_x, centre_y, element});
        wanted.push_back({centre_x + 0.25 * size, centre_y, element});
        wanted.push_back({centre_x, centre_y - 0.25 * size, element});
      }
    }
    wanted.push_back({0.0, 0.0, (divisions / 2) * divisions + divisions / 2 + 1});
    const int count = static_cast<int>(wanted.size());
    Table2<double> points;
    Table1<int> elements;
    points.create("points", count, 2);
    elements.create("elements", count);
    for (int i = 1; i <= count; ++i) {
      points(i, 1) = wanted[static_cast<std::size_t>(i - 1)].x;
      points(i, 2) = wanted[static_cast<std::size_t>(i - 1)].y;
    }
    LOCATE_PLATE_POINTS(count, points, elements);
    for (int i = 1; i <= count; ++i) {
      const Point& p = wanted[static_cast<std::size_t>(i - 1)];
      ASSERT_EQ(elements(i), p.element) << "point " << p.x << ", " << p.y;
      COPY_ELEMENT_COORDINATES(elements(i));
      QUAD8_SHAPE_FUNCTIONS(points(i, 1), points(i, 2), 8);
      double x = 0.0;
      double y = 0.0;
      for (int n = 1; n <= 8; ++n) {
        x += PlateElementWork.shape(n) * PlateElementWork.coordinates(1, n);
        y += PlateElementWork.shape(n) * PlateElementWork.coordinates(2, n);
      }
      EXPECT_NEAR(x, p.x, 1e-9 * SIDE) << "point " << i;
      EXPECT_NEAR(y, p.y, 1e-9 * SIDE) << "point " << i;
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
