// The spring blocks of the plot-data file, read back by the tests' own
// reader: branches are antisymmetric; on shared abscissas the springs of
// all nodes sum to the segments' resistances (p h for the p-y springs, t pi
// D dL for the t-z springs, plus the tip q-w curve); a node lumps half of
// each adjacent segment; the torsional springs are the axial ones at the
// radius D / 2. Resistances are computed here from the published formulas:
// Matlock's soft clay, the elastic subgrade, the adhesion factor of driven
// piles in clay and the normalised clay t-z curve.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/results/plot_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr double LENGTH = 400.0;  // in
constexpr double DIAMETER = 24.0;
constexpr int SEGMENTS = 4;
constexpr double SEGMENT = LENGTH / SEGMENTS;

// The published clay t-z curve of driven piles: t / tmax at z (inches).
const std::vector<double> CLAY_TZ_Z = {0.0, 0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 10.0};
const std::vector<double> CLAY_TZ_T = {0.0, 0.18, 0.38, 0.79, 0.97, 1.0, 0.97, 0.93, 0.93, 0.93};

class PlotSpringsTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    PyExportRequest.plot_nodes = SEGMENTS;
    set_property(1, PILE_DRIVEN, LENGTH, 40);
    set_pile(1, 1, 0.0, 0.0);
    open_plot_file(true);
  }
  static void use_deflections(const std::vector<double>& list) {
    PyExportRequest.deflection_list_flag = 1;
    PyExportRequest.num_deflections = static_cast<int>(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) PyExportRequest.deflections(static_cast<int>(i) + 1) = list[i];
  }
  static PlotLayer soft_clay() {
    return {.code = SOIL_SOFT_CLAY, .top = 0.0, .bottom = 1000.0, .cohesion = 10.0, .e50 = 0.01, .unit_weight = 0.04};
  }
};

void expect_antisymmetric(const PlotCurveNode& node, const std::string& what) {
  const std::size_t count = node.points.size();
  ASSERT_EQ(count % 2, 1u) << what;
  for (std::size_t j = 0; j < count; ++j) {
    EXPECT_EQ(node.points[j].number, static_cast<int>(j) + 1) << what;
    EXPECT_EQ(node.points[j].a, -node.points[count - 1 - j].a) << what << " point " << j + 1;
    EXPECT_EQ(node.points[j].b, -node.points[count - 1 - j].b) << what << " point " << j + 1;
  }
}

// A linear subgrade k = 100 + 0.5 x (pci) in front of a 24 in pile: p = k D y
// per unit length, so on one deflection list the nodes' springs sum to
// sum over the segments of k(midpoint) D y h, and the head carries half of
// the first segment.
TEST_F(PlotSpringsTest, PySpringsOfTheNodesSumToTheSegmentResistances) {
  set_layers({{.code = SOIL_ELASTIC_SUBGRADE,
               .top = 0.0,
               .bottom = 1000.0,
               .subgrade_k = 100.0,
               .unit_weight = 0.04,
               .subgrade_k_bottom = 600.0}});
  const std::vector<double> list = {0.0, 0.05, 0.2, 0.6, 1.5};
  use_deflections(list);
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const PlotCurveBlock& py = file.piles[0].curves[0];
  ASSERT_EQ(py.nodes.size(), 5u);
  auto k_at = [](double x) { return 100.0 + 0.5 * x; };
  double k_sum = 0.0;
  for (int s = 1; s <= SEGMENTS; ++s) k_sum += k_at((s - 0.5) * SEGMENT);
  for (std::size_t i = 0; i < list.size(); ++i) {
    double sum = 0.0;
    for (const PlotCurveNode& node : py.nodes) {
      ASSERT_EQ(node.flag, 1);
      ASSERT_EQ(node.count, 9);
      EXPECT_EQ(node.type, 6) << "the plot code of the elastic subgrade";
      const PlotPoint point = positive_branch(node)[i];
      EXPECT_EQ(point.a, list[i]);
      sum += point.b;
    }
    const double expected = k_sum * DIAMETER * list[i] * SEGMENT;
    EXPECT_NEAR(sum, expected, 1e-12 * (expected + 1.0)) << "deflection " << list[i];
    const double head = 0.5 * SEGMENT * k_at(0.5 * SEGMENT) * DIAMETER * list[i];
    EXPECT_NEAR(positive_branch(py.nodes[0])[i].b, head, 1e-12 * (head + 1.0));
  }
  for (const PlotCurveNode& node : py.nodes) expect_antisymmetric(node, "p-y node " + std::to_string(node.number));
}

// Matlock's soft clay, static: p = 0.5 pu (y / y50)^(1/3) up to 8 y50, pu
// = min((3 + gamma z / c + J z / b) c b, 9 c b), y50 = 2.5 e50 b. The head
// node carries half of the first segment's curve, taken at its midpoint.
TEST_F(PlotSpringsTest, HeadNodeCarriesHalfOfTheSoftClayCurveOfItsSegment) {
  set_layers({soft_clay()});
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const PlotCurveNode& head = file.piles[0].curves[0].nodes[0];
  ASSERT_EQ(head.count, 33) << "17 default deflections";
  EXPECT_EQ(head.type, 1);
  const double c = 10.0, gamma = 0.04, z = 0.5 * SEGMENT, b = DIAMETER;
  const double pu = std::min((3.0 + gamma * z / c + 0.5 * z / b) * c * b, 9.0 * c * b);
  const double y50 = 2.5 * 0.01 * b;
  const std::vector<PlotPoint> branch = positive_branch(head);
  EXPECT_EQ(branch.front().a, 0.0);
  EXPECT_EQ(branch.front().b, 0.0);
  EXPECT_GT(branch.back().a, 8.0 * y50) << "the curve reaches its plateau";
  for (const PlotPoint& point : branch) {
    const double y = point.a;
    const double p = y <= 8.0 * y50 ? 0.5 * pu * std::cbrt(y / y50) : pu;
    // The criterion's exponent 1/3 is a single-precision constant.
    EXPECT_NEAR(point.b, 0.5 * SEGMENT * p, 1e-7 * 0.5 * SEGMENT * pu) << "deflection " << y;
  }
  expect_antisymmetric(head, "head");
}

// A segment below the deepest layer has no p-y curve: the node above it
// keeps the half curve of its upper segment on that curve's deflections
// (not every point at deflection 0).
TEST_F(PlotSpringsTest, NodeAboveASegmentWithoutCurveKeepsItsUpperHalf) {
  set_layers({{.code = SOIL_ELASTIC_SUBGRADE, .top = 0.0, .bottom = 200.0, .subgrade_k = 100.0, .unit_weight = 0.04}});
  const std::vector<double> list = {0.0, 0.1, 0.4, 1.0};
  use_deflections(list);
  write_plot_file();
  const PlotFile file = read_back();
  const PlotCurveBlock& py = file.piles[0].curves[0];
  ASSERT_EQ(py.nodes.size(), 5u);
  const PlotCurveNode& boundary = py.nodes[2];  // at 200: segment 2 above, segment 3 below the layers
  ASSERT_EQ(boundary.count, 7);
  const std::vector<PlotPoint> branch = positive_branch(boundary);
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(branch[i].a, list[i]);
    EXPECT_NEAR(branch[i].b, 0.5 * SEGMENT * 100.0 * DIAMETER * list[i], 1e-9);
  }
  // Below: no curve, still in the ground.
  for (std::size_t k = 3; k < 5; ++k) {
    EXPECT_EQ(py.nodes[k].flag, 1);
    for (const PlotPoint& point : py.nodes[k].points) EXPECT_EQ(point.b, 0.0);
  }
}

// A failing soil query ends the export at the node being worked on: its
// count record says "no points" and nothing follows, so the file reads to
// its last record; the code is the writer's.
TEST_F(PlotSpringsTest, FailingQueryEndsTheFileAfterTheNodesCountRecord) {
  set_layers({{.code = SOIL_ELASTIC_SUBGRADE, .top = 0.0, .bottom = 200.0, .subgrade_k = 100.0, .unit_weight = 0.04}});
  EXPECT_EQ(write_plot_file(), STATUS_BEYOND_SIDE_FRICTION_CURVE);
  const PlotFile file = read_back();
  EXPECT_EQ(file.error, "") << "every record whole";
  EXPECT_FALSE(file.complete);
  ASSERT_EQ(file.piles[0].curves.size(), 2u);
  const PlotCurveBlock& tz = file.piles[0].curves[1];
  ASSERT_EQ(tz.nodes.size(), 3u);
  EXPECT_EQ(tz.nodes[1].count, 19);
  EXPECT_EQ(tz.nodes[2].flag, 0) << "node 3: its midpoint lies below the soil curves";
  EXPECT_EQ(tz.nodes[2].count, 0);
  EXPECT_NE(fio::memory_contents(UNIT_RUN_LOG).find("THE INPUT MAXIMUM SKIN FRICTION"), std::string::npos);
}

// Regression: a status word already set made the t-z writers stop at their
// first node in the soil. Each writer now works on a word of its own.
TEST_F(PlotSpringsTest, StatusSetBeforeTheWritersLeavesTheirBlocksWhole) {
  set_layers({soft_clay()});
  plot::write_record(plot::INTEGERS_LAYOUT, 1, MODEL_3D, UNITS_ENGLISH);
  GeneratedPyCurve.from_plot_list = 1;
  RunOptions.print_py_curves = 1;
  int status = STATUS_BEYOND_STRENGTH_CURVE;
  WRITE_PLOT_PILE_GEOMETRY(1, status);
  WRITE_PLOT_PY_CURVES(1, status);
  WRITE_PLOT_TZ_CURVES(1, status);
  WRITE_PLOT_TQ_CURVES(1, status);
  EXPECT_EQ(status, STATUS_BEYOND_STRENGTH_CURVE) << "kept, not cleared";
  const PlotFile file = read_back();
  ASSERT_TRUE(file.complete) << file.error;
  for (const PlotCurveBlock& block : file.piles[0].curves) {
    for (const PlotCurveNode& node : block.nodes) EXPECT_GT(node.count, 0) << "block " << block.kind;
  }
}

// Piecewise-linear tip curve of a driven pile in clay: Q / 2 sqrt(w / (2 D
// e50)) at w = k D e50 (k = 0 .. 8), then Q at 80 D e50.
double clay_tip_load(double q_tip, double d, double e50, double v) {
  std::vector<double> w, q;
  for (int k = 0; k <= 8; ++k) {
    w.push_back(k * d * e50);
    q.push_back(0.5 * q_tip * std::sqrt(k / 2.0));
  }
  w.push_back(80.0 * d * e50);
  q.push_back(q_tip);
  std::size_t j = 1;
  while (j + 1 < w.size() && w[j] < v) ++j;
  return q[j - 1] + (q[j] - q[j - 1]) * (v - w[j - 1]) / (w[j] - w[j - 1]);
}

// Driven pile in soft clay (c = 10 psi, gamma = 0.04 pci): fs = alpha c,
// alpha = 0.5 psi^-0.5 for psi = c / (gamma z) <= 1, else 0.5 psi^-0.25; the
// clay t-z shape has the same movements at every depth, so the nodes'
// axial springs sum to sum over segments of t pi D dL, plus the tip load
// Q = 9 c A_t on its parabola at the tip node.
TEST_F(PlotSpringsTest, AxialSpringsSumToShaftFrictionPlusTheTip) {
  set_layers({soft_clay()});
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const PlotCurveBlock& tz = file.piles[0].curves[1];
  ASSERT_EQ(tz.kind, 2);
  ASSERT_EQ(tz.nodes.size(), 5u);
  const double c = 10.0, gamma = 0.04;
  double fs_sum = 0.0;
  for (int s = 1; s <= SEGMENTS; ++s) {
    const double psi = c / (gamma * (s - 0.5) * SEGMENT);
    const double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 / std::pow(psi, 0.25);
    fs_sum += alpha * c;
  }
  const double q_tip = 9.0 * c * 36.9;
  for (std::size_t j = 0; j < CLAY_TZ_Z.size(); ++j) {
    double sum = 0.0;
    for (const PlotCurveNode& node : tz.nodes) {
      ASSERT_EQ(node.count, 19);
      const PlotPoint point = positive_branch(node)[j];
      EXPECT_NEAR(point.a, CLAY_TZ_Z[j], 1e-7 * CLAY_TZ_Z[j]);
      sum += point.b;
    }
    const double z = CLAY_TZ_Z[j];
    const double expected =
        fs_sum * CLAY_TZ_T[j] * std::numbers::pi * DIAMETER * SEGMENT + clay_tip_load(q_tip, DIAMETER, 0.01, z);
    EXPECT_NEAR(sum, expected, 1e-6 * (expected + 1.0)) << "movement " << z;
  }
  for (std::size_t k = 0; k + 1 < tz.nodes.size(); ++k) expect_antisymmetric(tz.nodes[k], "shaft node");
  // The tip: uplift is the mirror of the shaft half; compression adds the tip.
  const std::vector<PlotPoint>& tip = tz.nodes.back().points;
  for (int k = 1; k <= 9; ++k) {
    const PlotPoint& up = tip[static_cast<std::size_t>(9 + k)];
    const PlotPoint& down = tip[static_cast<std::size_t>(9 - k)];
    EXPECT_EQ(up.a, -down.a);
    EXPECT_NEAR(up.b + down.b, clay_tip_load(q_tip, DIAMETER, 0.01, up.a), 1e-6 * q_tip) << "movement " << up.a;
  }
  EXPECT_EQ(tip[9].a, 0.0);
  EXPECT_EQ(tip[9].b, 0.0);
}

// Torque = force D / 2 at rotation = movement / (D / 2), node by node; the
// tip has no tip term.
TEST_F(PlotSpringsTest, TorsionalSpringsAreTheAxialOnesAtHalfTheDiameter) {
  set_layers({soft_clay()});
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const PlotCurveBlock& tz = file.piles[0].curves[1];
  const PlotCurveBlock& tq = file.piles[0].curves[2];
  ASSERT_EQ(tq.kind, 3);
  ASSERT_EQ(tq.nodes.size(), tz.nodes.size());
  const double r = DIAMETER / 2.0;
  for (std::size_t k = 0; k < tq.nodes.size(); ++k) {
    const bool tip = k + 1 == tq.nodes.size();
    const auto& axial = tz.nodes[k].points;
    const auto& torsion = tq.nodes[k].points;
    ASSERT_EQ(torsion.size(), 19u);
    expect_antisymmetric(tq.nodes[k], "torsion node");
    for (std::size_t j = 0; j < torsion.size(); ++j) {
      // At the tip the axial compression branch holds the tip load too.
      const double force = tip && j >= 9 ? -axial[18 - j].b : axial[j].b;
      EXPECT_NEAR(torsion[j].a, axial[j].a / r, 1e-15 * std::abs(axial[j].a / r));
      EXPECT_NEAR(torsion[j].b, force * r, 1e-12 * std::abs(force * r));
    }
  }
}

// A pile head standing above the ground: the nodes whose segment below
// lies above the ground line carry no spring; the first node in the soil
// carries only the half curve below it.
TEST_F(PlotSpringsTest, NodesAboveTheGroundCarryNoSpring) {
  set_pile(1, 1, 0.0, 150.0);
  set_layers(
      {{.code = SOIL_SOFT_CLAY, .top = 150.0, .bottom = 1000.0, .cohesion = 10.0, .e50 = 0.01, .unit_weight = 0.04}});
  const PlotFile file = written_file();
  ASSERT_TRUE(file.complete);
  const std::vector<int> flags = {0, 0, 1, 1, 1};  // midpoints 50, 150 (the ground line), 250, 350
  for (std::size_t b = 0; b < 3; ++b) {
    const PlotCurveBlock& block = file.piles[0].curves[b];
    for (std::size_t k = 0; k < flags.size(); ++k) {
      EXPECT_EQ(block.nodes[k].flag, flags[k]) << "block " << block.kind << " node " << k + 1;
      EXPECT_EQ(block.nodes[k].points.empty(), flags[k] == 0);
    }
  }
  // Node 3 (at 200) lumps only the segment below it: half of the next node's
  // upper share on the same movements.
  const PlotCurveBlock& tz = file.piles[0].curves[1];
  const double psi3 = 10.0 / (0.04 * 100.0), psi4 = 10.0 / (0.04 * 200.0);
  const double fs3 = 0.5 * std::pow(psi3, -0.25) * 10.0, fs4 = 0.5 * std::pow(psi4, -0.25) * 10.0;
  const PlotPoint at_peak = positive_branch(tz.nodes[2])[5];  // z = 0.08 in, t = tmax
  EXPECT_NEAR(at_peak.b, fs3 * 0.5 * std::numbers::pi * DIAMETER * SEGMENT, 1e-6 * at_peak.b);
  const PlotPoint next_peak = positive_branch(tz.nodes[3])[5];
  EXPECT_NEAR(next_peak.b, (fs3 + fs4) * 0.5 * std::numbers::pi * DIAMETER * SEGMENT, 1e-6 * next_peak.b);
}

}  // namespace
}  // namespace pilecap::testing
