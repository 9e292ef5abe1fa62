// TABLE N, the printed p-y curves: every curve printed for a soil code whose
// criterion is built equals the criterion called directly at the same depth
// (same numbers in the printed precision), and every rejection of a request
// is reached with its message, its status and its plot-data line.
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/soil/py_fixture.hpp"

namespace pilecap::testing {
namespace {

constexpr int SCRATCH_UNIT = 901;  // a memory unit the expected fields are formatted on
constexpr double H = 12.0, B = 24.0;
constexpr int N_NODES = 41;

using Criterion = void (*)(int&, int&, int&, int&, int&, const double*, double*, const double*, const double*, double*,
                           double*);

class PrintedCurvesTest : public PyTest {
 protected:
  void SetUp() override {
    PyTest::SetUp();
    RunOptions.print_py_curves = 1;
    AnalysisControl.loading_kind = LOADING_STATIC;
    CapGeometry = CapGeometryRecord{};
  }
  void TearDown() override {
    CapGeometry = CapGeometryRecord{};
    PyTest::TearDown();
  }

  // One layer of one code from 0 to 4000 with the values every built criterion reads.
  static void one_layer(int code) {
    set_layers({{0.0, 4000.0}}, code);
    SoilLayerInput.count = 1;
    set_constant(SoilProfile.cohesion, 10.0);
    set_constant(SoilProfile.e50, 0.01);
    set_constant(SoilProfile.j_factor, 0.25);
    set_constant(SoilProfile.subgrade_k, 150.0);
    set_constant(SoilProfile.friction_angle, 35.0 * std::numbers::pi / 180.0);
    set_unit_weight(0.04);
  }

  static void request(int j, int pile, double depth, const std::vector<double>& y) {
    PyPrintRequest.count = std::max(PyPrintRequest.count, j);
    PyPrintRequest.pile(j) = pile;
    PyPrintRequest.depth(j) = depth;
    PyPrintRequest.num_points(j) = static_cast<int>(y.size());
    for (std::size_t i = 0; i < y.size(); ++i) PyPrintRequest.y(j, static_cast<int>(i) + 1) = y[i];
  }

  static std::string echo() { return fio::memory_contents(UNIT_ECHO); }
  static std::string plot() { return fio::memory_contents(UNIT_PLOT); }

  // The point rows printed after the criterion's header: 21 blanks, the
  // deflection and the reaction in 20 columns each, one blank.
  static std::vector<std::pair<std::string, std::string>> printed_points(const std::string& text) {
    static const std::regex ROW("^ {21}( *-?[0-9][0-9.E+-]*)( *-?[0-9][0-9.E+-]*) $");
    std::vector<std::pair<std::string, std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      std::smatch m;
      if (line.size() == 62 && std::regex_match(line, m, ROW)) rows.emplace_back(m[1].str(), m[2].str());
    }
    return rows;
  }

  // A value as the point rows print it.
  static std::string field(double v) {
    fio::open_memory(SCRATCH_UNIT);
    WRITE_REAL_FIELD(SCRATCH_UNIT, 20, 5, v);
    END_REPORT_LINE(SCRATCH_UNIT);
    std::string text = fio::memory_contents(SCRATCH_UNIT);
    fio::close(SCRATCH_UNIT);
    return text.substr(0, 20);
  }

  // The criterion called in analysis at node 1 of the pile as TABLE N left
  // it, for deflection u; the reaction's magnitude as printed.
  double direct_reaction(Criterion criterion, double u) {
    RunOptions.print_py_curves = 0;
    GeneratedPyCurve.active = 0;
    set_range(1, 1, 1);
    at(y_, 1) = u;
    int set = SET, layer = 1, status = 0, pile = PILE, factor = PILE;
    criterion(set, layer, status, pile, factor, y_.data() + 2, es_.data() + 2, move1_.data() + 2, move2_.data() + 2,
              es_move_.data() + 2, p_.data() + 2);
    EXPECT_EQ(status, 0);
    RunOptions.print_py_curves = 1;
    return std::abs(at(p_, 1));
  }
};

TEST_F(PrintedCurvesTest, EveryBuiltCriterionPrintsWhatItComputes) {
  struct Case {
    const char* name;
    int code;
    Criterion criterion;
    const char* label;
  };
  const Case cases[] = {
      {"soft clay", SOIL_SOFT_CLAY, PY_SOFT_CLAY, "SOFT CLAY CRITERIA"},
      {"soft clay with J", SOIL_SOFT_CLAY_USER_J, PY_SOFT_CLAY_USER_J, "SOFT CLAY WITH USER DEFINED J CRITERIA"},
      {"modified soft clay", SOIL_MOD_SOFT_CLAY_INITIAL_K, PY_MOD_SOFT_CLAY_INITIAL_K,
       "MOD. SOFT CLAY WITH INITIAL K VALUE CRITERIA"},
      {"sand", SOIL_SAND, PY_SAND, "SAND CRITERIA"},
      {"elastic subgrade", SOIL_ELASTIC_SUBGRADE, PY_ELASTIC_SUBGRADE, "ELASTIC SUBGRADE CRITERIA"},
  };
  const std::vector<double> deflections = {0.0, 0.002, 0.03, 0.25, 1.0, 4.0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fio::open_memory(UNIT_ECHO);
    fio::open_memory(UNIT_PLOT);
    one_layer(c.code);
    set_pile(N_NODES, H, B);
    PyPrintRequest = PyPrintRequestRecord{};
    request(1, PILE, 100.0, deflections);
    int status = 0;
    PRINT_GENERATED_PY_CURVES(status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(PyPrintRequest.status(1), 0);
    const std::string text = echo();
    EXPECT_NE(text.find("         P-Y CURVE COMPUTED USING " + std::string(c.label) + "\n"), std::string::npos) << text;
    EXPECT_EQ(PileNodes.depth(PILE, 1), 100.0) << "node 1 at the requested depth";
    EXPECT_EQ(PileNodes.depth(PILE, 2), 100.0 + H) << "node 2 keeps the pile's own spacing";
    const auto rows = printed_points(text);
    ASSERT_EQ(rows.size(), deflections.size()) << text;
    for (std::size_t i = 0; i < deflections.size(); ++i) {
      EXPECT_EQ(rows[i].first, field(deflections[i])) << "point " << i + 1;
      EXPECT_EQ(rows[i].second, field(KIPS_FROM_POUNDS(direct_reaction(c.criterion, deflections[i]))))
          << "point " << i + 1;
    }
    EXPECT_TRUE(plot().starts_with("     * GENERATED P-Y CURVES *\n         1\n    1    1    6\n")) << plot();
  }
}

TEST_F(PrintedCurvesTest, CodeOutsideTheTableIsSoftClayWithoutLabel) {
  one_layer(15);
  set_pile(N_NODES, H, B);
  request(1, PILE, 100.0, {0.1, 0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  const std::string text = echo();
  EXPECT_EQ(text.find("P-Y CURVE COMPUTED"), std::string::npos) << text;
  const auto rows = printed_points(text);
  ASSERT_EQ(rows.size(), 2u) << text;
  EXPECT_EQ(rows[1].second, field(direct_reaction(PY_SOFT_CLAY, 0.5)));
}

TEST_F(PrintedCurvesTest, HeaderAndDefaultPointCount) {
  one_layer(SOIL_ELASTIC_SUBGRADE);
  set_pile(N_NODES, H, B);
  request(1, PILE, 120.0, {});  // 10 ft, the 17 default deflections
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  const std::string expected =
      "\n\n     * GENERATED P-Y CURVES *\n\n     NUMBER OF CURVES  :    1\n"
      "\n\n         CURVE NUMBER              =    1\n"
      "\n         PILE GROUP NUMBER         =    1\n"
      "\n         DEPTH BELOW ORIGIN        =     10.00 FT\n"
      "\n         NUMBER OF POINTS ON CURVE =   17\n"
      "\n         P-Y CURVE COMPUTED USING ELASTIC SUBGRADE CRITERIA\n";
  const std::string text = echo();
  ASSERT_GE(text.size(), expected.size());
  EXPECT_EQ(text.substr(0, expected.size()), expected);
  EXPECT_EQ(printed_points(text).size(), 17u);
  EXPECT_TRUE(plot().starts_with("     * GENERATED P-Y CURVES *\n         1\n    1    1   17\n")) << plot();
}

TEST_F(PrintedCurvesTest, NoRequestsPrintBothHeadersWithZero) {
  one_layer(SOIL_SOFT_CLAY);
  set_pile(N_NODES, H, B);
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(echo(), "\n\n     * GENERATED P-Y CURVES *\n\n     NUMBER OF CURVES  :    0\n");
  EXPECT_EQ(plot(), "     * GENERATED P-Y CURVES *\n         0\n");
}

TEST_F(PrintedCurvesTest, BoundaryDepthLabelsTheUpperLayerAndComputesTheLower) {
  set_layers({{0.0, 120.0}, {120.0, 4000.0}}, SOIL_SOFT_CLAY);
  SoilProfile.layer_code(2) = SOIL_ELASTIC_SUBGRADE;
  SoilLayerInput.count = 2;
  set_constant(SoilProfile.cohesion, 10.0);
  set_constant(SoilProfile.e50, 0.01);
  set_constant(SoilProfile.subgrade_k, 150.0);
  set_unit_weight(0.04);
  set_pile(N_NODES, H, B);
  request(1, PILE, 120.0, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  const std::string text = echo();
  // The soft-clay label, then the elastic subgrade's own block.
  const auto label = text.find("P-Y CURVE COMPUTED USING SOFT CLAY CRITERIA");
  ASSERT_NE(label, std::string::npos) << text;
  EXPECT_NE(text.find("DEPTH BELOW GS     DIAM        ST", label), std::string::npos) << text;
  EXPECT_EQ(PileLayerData.first_node(PILE, 1), 0);
  EXPECT_EQ(PileLayerData.first_node(PILE, 2), 1);
  EXPECT_EQ(PileLayerData.last_node(PILE, 2), 1);
  const auto rows = printed_points(text);
  ASSERT_EQ(rows.size(), 1u);
  // The direct call of the lower layer's criterion.
  set_range(1, 0, 0);
  RunOptions.print_py_curves = 0;
  at(y_, 1) = 0.5;
  int set = SET, layer = 2, pile = PILE, factor = PILE;
  PileLayerData.first_node(PILE, 2) = PileLayerData.last_node(PILE, 2) = 1;
  PY_ELASTIC_SUBGRADE(set, layer, status, pile, factor, y_.data() + 2, es_.data() + 2, move1_.data() + 2,
                      move2_.data() + 2, es_move_.data() + 2, p_.data() + 2);
  EXPECT_EQ(rows[0].second, field(std::abs(at(p_, 1))));
}

// Every rejection of the cap option once. Pile 1: head at 36 under a cap 36
// thick (0 .. 36), ground line at 12, 480 long (tip at 516). Soil from 12 to
// 400, a layer of user curves from 300. Pile 2 uses its own user p-y curves.
TEST_F(PrintedCurvesTest, EveryRejectionOnceWithItsMessage) {
  set_layers({{12.0, 300.0}, {300.0, 400.0}}, SOIL_ELASTIC_SUBGRADE);
  SoilProfile.layer_code(2) = SOIL_USER_PY;
  SoilLayerInput.count = 2;
  set_constant(SoilProfile.subgrade_k, 150.0);
  set_pile(N_NODES, H, B, 36.0, 12.0);
  PileTable.n_piles = 2;
  PileTable.prop(2) = SET;
  PileTable.head_depth(2) = 36.0;
  PileTable.ground(2) = -24.0;
  PileTable.py_set(2) = 1;
  RunOptions.user_py_curves = 1;
  for (int j = 1; j <= N_NODES; ++j) PileNodes.depth(2, j) = PileNodes.axial_x(2, j) = 36.0 + (j - 1) * H;
  CapGeometry.thickness_xx = 36.0;
  CapGeometry.width_zz = 120.0;
  RunOptions.cap_passive_option = 1;
  struct Case {
    int pile;
    double depth;  // inches
    int status;
    std::string message;
  };
  auto pile_line = [](int p) { return "\n\n         PILE GROUP NUMBER         =    " + std::to_string(p) + "\n\n"; };
  const std::vector<Case> cases = {
      {1, 24.0, 1,
       "\n\n         AT PILE CAP LEVEL, DEPTH  =      2.00 FT\n\n         NUMBER OF POINTS ON CURVE =    1\n"},
      {1, 30.0, 2,
       "\n\n         AT PILE CAP LEVEL, DEPTH  =      2.50 FT\n\n         CURVE NOT GENERATED SINCE ONLY ONE CURVE \n"
       "         AT PILE CAP LEVEL CAN BE PRINTED \n"},
      {1, 6.0, 3,
       pile_line(1) + "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,        0.50 FT,\n"
                      "         IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE,       1.00 FT\n"},
      {1, 528.0, 4,
       pile_line(1) + "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,       44.00 FT,\n"
                      "         IS BELOW TIP OF REQUIRED PILE,      43.00 FT\n"},
      {1, 0.0, 5,
       pile_line(1) + "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,        0.00 FT,\n"
                      "         IS ABOVE TOP OF PILE CAP,       0.00 FT\n"},
      {1, 450.0, 0,
       pile_line(1) + "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          37.50 FT,\n"
                      "         IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM,      33.33 FT\n"},
      {2, 200.0, 0,
       pile_line(2) + "         CURVE NOT GENERATED SINCE A USER DEFINED P-Y CURVE\n"
                      "         IS SET FOR THIS PILE (  1)\n"},
      {1, 360.0, 0,
       pile_line(1) + "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          30.00 FT,\n"
                      "         IS WITHIN LAYER   2, WHICH IS SET AS USER DEFINED P-Y CURVES\n"},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) request(static_cast<int>(k) + 1, cases[k].pile, cases[k].depth, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(status, 0);
  const std::string text = echo();
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const int j = static_cast<int>(k) + 1;
    SCOPED_TRACE(j);
    EXPECT_EQ(PyPrintRequest.status(j), cases[k].status);
    char number[16];
    std::snprintf(number, sizeof number, "%5d", j);
    EXPECT_NE(text.find("\n\n         CURVE NUMBER              =" + std::string(number) + cases[k].message),
              std::string::npos)
        << text;
  }
  // Only the cap-level curve is computed, in the cap pass.
  EXPECT_EQ(printed_points(text).size(), 1u) << text;
  const std::string lines = plot();
  EXPECT_TRUE(lines.starts_with("     * GENERATED P-Y CURVES *\n         8\n    1    1    1\n")) << lines;
  EXPECT_NE(lines.find("    2    1    0\n    3    1    0\n    4    1    0\n    5    1    0\n    6    1    0\n"
                       "    7    2    0\n    8    1    0\n"),
            std::string::npos)
      << lines;
}

TEST_F(PrintedCurvesTest, DepthAboveTheSoilTop) {
  set_layers({{100.0, 4000.0}}, SOIL_ELASTIC_SUBGRADE);
  SoilLayerInput.count = 1;
  set_pile(N_NODES, H, B, 0.0, 12.0);
  request(1, PILE, 60.0, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(PyPrintRequest.status(1), 0);
  EXPECT_NE(echo().find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,        5.00 FT,\n"
                        "         IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP,       8.33 FT\n"),
            std::string::npos)
      << echo();
}

TEST_F(PrintedCurvesTest, DepthAtOrAboveTheHeadWithoutCapOption) {
  one_layer(SOIL_ELASTIC_SUBGRADE);
  set_pile(N_NODES, H, B, 36.0, 12.0);
  request(1, PILE, 36.0, {0.5});          // at the head: status 6
  request(2, PILE, 6.0, {0.5});           // above ground and head: status 6 overrides 3
  request(3, PILE, 36.0 + 480.0, {0.5});  // exactly at the tip: printed
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(PyPrintRequest.status(1), 6);
  EXPECT_EQ(PyPrintRequest.status(2), 6);
  EXPECT_EQ(PyPrintRequest.status(3), 0);
  EXPECT_NE(echo().find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,        3.00 FT,\n"
                        "         IS ABOVE TOP OF REQUIRED PILE,       3.00 FT\n"),
            std::string::npos)
      << echo();
}

TEST_F(PrintedCurvesTest, GroundLineToleranceIsTheSinglePrecisionLiteral) {
  one_layer(SOIL_ELASTIC_SUBGRADE);
  set_pile(N_NODES, H, B, 0.0, 12.0);
  request(1, PILE, 12.0 + double(1e-6f), {0.5});
  request(2, PILE, 12.0 + 2e-6, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(PyPrintRequest.status(1), 3);
  EXPECT_EQ(PyPrintRequest.status(2), 0);
}

TEST_F(PrintedCurvesTest, CapOptionTwoPrintsEveryCapLevelCurve) {
  one_layer(SOIL_ELASTIC_SUBGRADE);
  set_pile(N_NODES, H, B, 36.0, 12.0);
  CapGeometry.thickness_xx = 36.0;
  CapGeometry.width_zz = 120.0;
  RunOptions.cap_passive_option = 2;
  request(1, PILE, 24.0, {0.5});
  request(2, PILE, 30.0, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(PyPrintRequest.status(1), 1);
  EXPECT_EQ(PyPrintRequest.status(2), 1);
  EXPECT_EQ(printed_points(echo()).size(), 2u) << echo();
}

// Regression: a profile without layers indexed layer 0 of the pile's layer table.
TEST_F(PrintedCurvesTest, NoSoilLayersRejectsTheRequest) {
  SoilProfile = SoilProfileRecord{};
  SoilLayerInput.count = 0;
  set_pile(N_NODES, H, B);
  request(1, PILE, 120.0, {0.5});
  int status = 0;
  PRINT_GENERATED_PY_CURVES(status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(echo().find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          10.00 FT,\n"
                        "         IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM,       0.00 FT\n"),
            std::string::npos)
      << echo();
  EXPECT_EQ(printed_points(echo()).size(), 0u);
  EXPECT_NE(plot().find("    1    1    0\n"), std::string::npos);
}

}  // namespace
}  // namespace pilecap::testing
