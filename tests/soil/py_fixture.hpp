// A fixture for the p-y tests: one pile of uniform diameter with its nodes
// laid out by the test (the node layout itself belongs to the pile solver),
// one or more soil layers with constant properties, and node arrays by node
// (values[j] is node j) with a margin before node 1.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "soil/py_curves.hpp"
#include "tests/soil/soil_fixture.hpp"

namespace pilecap::testing {

class PyTest : public SoilTest {
 protected:
  static constexpr int PILE = 1;
  static constexpr int SET = 1;

  void SetUp() override {
    SoilTest::SetUp();
    fio::open_memory(UNIT_ECHO);
    fio::open_memory(UNIT_PLOT);
    set_defaults();
  }
  // The run constants, options and single pile the tests start from.
  void set_defaults() {
    RunConstants.pi = std::numbers::pi;
    RunOptions.units = UNITS_ENGLISH;
    int sign = 1, force_unit = 0;
    SET_UNIT_LABELS(sign, force_unit);
    AnalysisControl = AnalysisControlRecord{};
    GeneratedPyCurve = GeneratedPyCurveRecord{};
    DepthFactorTable = DepthFactorTableRecord{};
    PyPrintRequest = PyPrintRequestRecord{};
    SoilMovementProfile.count = 0;
    PileTable.n_piles = 1;
    PileTable.prop(PILE) = SET;
    ClosePileFactors.p_factor_1(PILE) = 1.0;
    ClosePileFactors.y_factor_1(PILE) = 1.0;
    SoilMovementProfile.count = 0;  // no soil movements unless a test gives them
  }
  void TearDown() override {
    CLEAR_PILE_PROPERTIES();
    AnalysisControl = AnalysisControlRecord{};
    GeneratedPyCurve = GeneratedPyCurveRecord{};
    DepthFactorTable = DepthFactorTableRecord{};
    PyPrintRequest = PyPrintRequestRecord{};
    SoilTest::TearDown();
  }

  // A pile of n_nodes nodes at spacing h from coordinate head (its head),
  // diameter b, ground line at coordinate ground.
  void set_pile(int n_nodes, double h, double b, double head = 0.0, double ground = 0.0) {
    const double length = (n_nodes - 1) * h;
    PileProperty.n_increments(SET) = n_nodes - 1;
    PileProperty.length(SET) = length;
    PileProperty.increment(SET) = h;
    PileProperty.n_sections(SET) = 1;
    PileSection.top(SET, 1) = 0.0;
    PileSection.bottom(SET, 1) = length;
    PileSection.diameter(SET, 1) = PileSection.diameter_bottom(SET, 1) = b;
    SET_SECTION_SENTINELS(SET);
    PileTable.head_depth(PILE) = head;
    PileTable.ground(PILE) = ground - head;
    for (int j = 1; j <= n_nodes; ++j) {
      PileNodes.depth(PILE, j) = head + (j - 1) * h;
      PileNodes.axial_x(PILE, j) = head + (j - 1) * h;
    }
    resize(n_nodes);
  }
  // Layer l reaches nodes first .. last of the pile.
  static void set_range(int layer, int first, int last) {
    PileLayerData.first_node(PILE, layer) = first;
    PileLayerData.last_node(PILE, layer) = last;
  }
  // A constant value of a property column over every layer.
  static void set_constant(SoilColumn& column, double value) {
    for (int i = 1; i <= SoilProfile.num_points; ++i) column(i) = value;
  }
  static void set_unit_weight(double gamma) {
    for (int i = 1; i <= SoilProfile.num_uw_points; ++i) SoilProfile.unit_weight(i) = gamma;
  }

  void resize(int n_nodes) {
    const std::size_t size = static_cast<std::size_t>(n_nodes + 3);
    y_.assign(size, 0.0);
    es_.assign(size, 0.0);
    move1_.assign(size, 0.0);
    move2_.assign(size, 0.0);
    es_move_.assign(size, 0.0);
    p_.assign(size, 0.0);
  }
  // Node j of an array (j from -2).
  static double& at(std::vector<double>& v, int j) { return v[static_cast<std::size_t>(j + 2)]; }

  int run(int factor_index = PILE) {
    int status = 0, set = SET, pile = PILE;
    SOIL_REACTION_AT_NODES(set, status, pile, factor_index, y_.data() + 2, es_.data() + 2, move1_.data() + 2,
                           move2_.data() + 2, es_move_.data() + 2, p_.data() + 2);
    return status;
  }
  // The reaction and modulus of node j at deflection u (no soil movement).
  void evaluate_at(int j, double u, double& p, double& es) {
    at(y_, j) = u;
    EXPECT_EQ(run(), 0);
    p = at(p_, j);
    es = at(es_, j);
  }

  std::vector<double> y_, es_, move1_, move2_, es_move_, p_;
};

// Relative closeness against the size of the expected value.
inline void expect_close(double actual, double expected, double rel, const char* what) {
  EXPECT_NEAR(actual, expected, rel * std::max(1.0, std::abs(expected))) << what;
}

}  // namespace pilecap::testing
