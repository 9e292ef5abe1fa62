// The plate analysis from its data file to its reports: a simply supported
// square plate under a uniform load against the plate tables, with the
// reactions carrying the load; the same answer when every element's local
// numbering is turned by a quarter; a plate on linear springs, whose exact
// deflection is load / stiffness, converging in two iterations at every step
// of the stepping sequences; the step results file; and the files the plate
// analysis refuses to open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "model/model_store.hpp"
#include "tests/plate/plate_data_file.hpp"
#include "tests/support/report_scan.hpp"

namespace pilecap::testing {
namespace {

class PlateAnalysisTest : public PlateRunTest {};

// ----------------------------------------------------------- listing tables

struct StepTables {
  int step = 0;
  double time = 0.0;
  std::vector<std::vector<double>> displacements, reactions;  // per node: number, six values
  std::vector<std::vector<double>> points;                    // per sampling point: k, x, y, eight stresses
};

// The tables of every converged step of a listing.
std::vector<StepTables> step_tables(const std::string& listing, int n_nodes) {
  const std::vector<std::string> lines = lines_of(listing);
  std::vector<StepTables> steps;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    StepTables s;
    if (std::sscanf(lines[i].c_str(), "   STEP =%d   TIME =%lf", &s.step, &s.time) == 2) {
      steps.push_back(s);
      continue;
    }
    if (steps.empty()) continue;
    auto read_rows = [&](std::vector<std::vector<double>>& rows) {
      for (int n = 0; n < n_nodes; ++n) rows.push_back(numbers_in(lines[i + 3 + static_cast<std::size_t>(n)]));
    };
    if (lines[i] == "      DISPLACEMENTS") read_rows(steps.back().displacements);
    if (lines[i] == "      REACTIONS") read_rows(steps.back().reactions);
    if (lines[i].rfind("     ELEMENT NO.=", 0) == 0) {
      for (std::size_t k = i + 1; k < lines.size() && !lines[k].empty(); ++k) {
        steps.back().points.push_back(numbers_in(lines[k]));
      }
    }
  }
  return steps;
}

// The node lines of every block of the step results file: label, 14 values.
std::vector<std::vector<std::vector<double>>> step_result_blocks(const std::string& text) {
  std::vector<std::vector<std::vector<double>>> blocks;
  for (const std::string& line : lines_of(text)) {
    if (line.rfind("STEP ", 0) == 0) {
      blocks.emplace_back();
    } else if (!blocks.empty() && line != "END_STEP_DATA") {
      blocks.back().push_back(numbers_in(line));
    }
  }
  return blocks;
}

// ------------------------------------------------------------------ models

constexpr double SIDE = 10.0;
constexpr double THICKNESS = 0.1;
constexpr double YOUNG = 1.0e7;
constexpr double POISSON = 0.3;
constexpr double PRESSURE = 1.0;

// A simply supported square plate of divisions x divisions elements under a
// uniform load: membrane and drilling DOFs held everywhere, w and the
// rotation along the edge held on the edges.
PlateDataFile simply_supported_plate(int divisions, Mesh& mesh, int nnode = 8, int ngaus = 2, bool turned = false) {
  MeshPlan plan;
  plan.nx = plan.ny = divisions;
  plan.nnode = nnode;
  plan.ngaus = ngaus;
  plan.a = plan.b = SIDE;
  plan.young = YOUNG;
  plan.poisson = POISSON;
  plan.thickness = THICKNESS;
  mesh = layout_mesh(plan);
  PlateDataFile f = data_file_of(mesh, turned);
  const int last = 2 * divisions;
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    const bool x_edge = mesh.node_ix[n - 1] == 0 || mesh.node_ix[n - 1] == last;
    const bool y_edge = mesh.node_iy[n - 1] == 0 || mesh.node_iy[n - 1] == last;
    f.restraints.push_back({n, {1, 1, x_edge || y_edge, y_edge, x_edge, 1}, {}});
  }
  for (int e = 1; e <= mesh.n_elements; ++e) f.distributed_loads.push_back({e, {0, 0, PRESSURE, 0, 0, 0}});
  return f;
}

TEST_F(PlateAnalysisTest, SimplySupportedPlateMatchesThePlateTablesAndItsReactionsCarryTheLoad) {
  PlateRunFolder folder;
  Mesh mesh;
  const PlateDataFile file = simply_supported_plate(8, mesh);
  ASSERT_EQ(PlateRunFolder::run(file.text()), 0) << PlateFailure.detail;
  const std::vector<StepTables> steps = step_tables(PlateRunFolder::listing(), mesh.n_nodes);
  ASSERT_EQ(steps.size(), 1u);
  const StepTables& s = steps[0];
  EXPECT_EQ(s.step, 1);
  EXPECT_EQ(s.time, 1.0);

  // Centre deflection 0.00406 q a^4 / D and moment 0.0479 q a^2 (nu = 0.3),
  // the moment as the mean of the four sampling points nearest the centre.
  const double rigidity = YOUNG * std::pow(THICKNESS, 3) / (12 * (1 - POISSON * POISSON));
  const int centre = mesh.node_at(8, 8);
  EXPECT_NEAR(s.displacements[centre - 1][3], 0.00406 * PRESSURE * std::pow(SIDE, 4) / rigidity,
              0.02 * 0.00406 * PRESSURE * std::pow(SIDE, 4) / rigidity);
  double nearest = 1e300;
  for (const auto& p : s.points) nearest = std::min(nearest, std::hypot(p[1] - SIDE / 2, p[2] - SIDE / 2));
  double moment = 0.0;
  int n_nearest = 0;
  for (const auto& p : s.points) {
    if (std::hypot(p[1] - SIDE / 2, p[2] - SIDE / 2) > nearest + 1e-3) continue;
    moment += p[6];
    ++n_nearest;
  }
  EXPECT_EQ(n_nearest, 4);
  EXPECT_NEAR(moment / n_nearest, 0.0479 * PRESSURE * SIDE * SIDE, 0.02 * 0.0479 * PRESSURE * SIDE * SIDE);
  EXPECT_EQ(s.points.size(), 4u * mesh.n_elements);

  // The supports carry the whole load; no force acts in the plate's plane.
  double vertical = 0.0;
  double in_plane = 0.0;
  for (const auto& r : s.reactions) {
    vertical += r[3];
    in_plane += std::fabs(r[1]) + std::fabs(r[2]);
  }
  EXPECT_NEAR(vertical, -PRESSURE * SIDE * SIDE, 1e-5 * PRESSURE * SIDE * SIDE);
  EXPECT_LT(in_plane, 1e-6);

  // The step results file: its headings once, one block, the end line; node
  // lines hold the label, the displacements and the averaged stresses.
  const std::vector<std::string> lines = lines_of(PlateRunFolder::steps());
  ASSERT_EQ(lines.size(), 4u + mesh.n_nodes + 1);
  EXPECT_EQ(lines[0], "STEP_DATA");
  EXPECT_EQ(lines[1], "14");
  EXPECT_EQ(lines[2], "UX UY UZ ROTX ROTY ROTZ SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ");
  EXPECT_EQ(lines[3], "STEP       1");
  EXPECT_EQ(lines.back(), "END_STEP_DATA");
  const std::vector<double> centre_line = numbers_in(lines[3 + centre]);
  ASSERT_EQ(centre_line.size(), 15u);
  EXPECT_EQ(centre_line[0], centre);
  EXPECT_NEAR(centre_line[3], s.displacements[centre - 1][3], 1e-4 * std::fabs(centre_line[3]));
  // The centre's average of the 16 sampling points around it, a little
  // below the peak moment.
  EXPECT_NEAR(centre_line[10], moment / n_nearest, 0.05 * moment / n_nearest);
}

// Every element's local numbering starts at its second corner, so xi runs
// along global y: the plate gives the same displacements and nodal stresses,
// and the concentrated load, located in the turned elements, reaches the
// supports.
TEST_F(PlateAnalysisTest, TurnedElementNumberingGivesTheSameAnswer) {
  constexpr double POINT_LOAD = 40.0;
  std::vector<std::vector<std::vector<double>>> results;
  for (bool turned : {false, true}) {
    reset_plate_records();
    PlateRunFolder folder;
    Mesh mesh;
    PlateDataFile file = simply_supported_plate(4, mesh, 8, 2, turned);
    file.concentrated_loads = {{3.3, 6.1, {0, 0, POINT_LOAD, 0, 0, 0}}};
    ASSERT_EQ(PlateRunFolder::run(file.text()), 0) << PlateFailure.detail;
    double vertical = 0.0;
    const std::vector<StepTables> tables = step_tables(PlateRunFolder::listing(), mesh.n_nodes);
    ASSERT_EQ(tables.size(), 1u);
    for (const auto& r : tables[0].reactions) vertical += r[3];
    EXPECT_NEAR(vertical, -(PRESSURE * SIDE * SIDE + POINT_LOAD), 1e-5 * POINT_LOAD) << "turned " << turned;
    results.push_back(step_result_blocks(PlateRunFolder::steps()).at(0));
  }
  ASSERT_EQ(results[0].size(), results[1].size());
  for (std::size_t column = 1; column < 15; ++column) {
    double largest = 0.0;
    for (const auto& row : results[0]) largest = std::max(largest, std::fabs(row[column]));
    for (std::size_t n = 0; n < results[0].size(); ++n) {
      EXPECT_NEAR(results[1][n][column], results[0][n][column], 1e-3 * largest)
          << "node " << n + 1 << " column " << column;
    }
  }
}

// A 2 x 2 plate on nodal springs (k under every node's w; the membrane and
// drilling DOFs on springs too) with the load P at every node: every node
// moves by f P / k, the plate stays flat, at the load factor f = TCUR of
// every step.
constexpr double NODE_LOAD = 50.0;
constexpr double NODE_SPRING = 1.0e4;

PlateDataFile plate_on_springs(Mesh& mesh, double dt) {
  MeshPlan plan;
  plan.a = plan.b = 4.0;
  mesh = layout_mesh(plan);
  PlateDataFile f = data_file_of(mesh);
  f.dt = dt;
  f.dtmin = 0.01;
  f.maxiter = 0;  // still two iterations a step
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    f.nodal_loads.push_back({n, {0, 0, NODE_LOAD, 0, 0, 0}});
    f.nodal_stiffnesses.push_back({n, {1.0e3, 1.0e3, NODE_SPRING, 0, 0, 1.0e3}});
  }
  return f;
}

std::string step_line(int step, const char* time, const char* dt) {
  char line[80];
  std::snprintf(line, sizeof line, "STEP %5d   TCUR   =%10s  DT = %10s", step, time, dt);
  return line;
}

TEST_F(PlateAnalysisTest, LinearSpringsConvergeInTwoIterationsAtEveryStep) {
  struct Sequence {
    double dt;
    const char* dt_text;
    std::vector<const char*> times;  // TCUR of the steps as the log prints them
    std::vector<double> factors;
  };
  const Sequence sequences[] = {
      {0.15,
       "0.1500",
       {"0.1500", "0.3000", "0.4500", "0.6000", "0.7500", "0.9000", "1.0000"},
       {0.15, 0.3, 0.45, 0.6, 0.75, 0.9, 1.0}},
      // The tenth step lands a hair below 1, so an eleventh at 1 follows.
      {0.1,
       "0.1000",
       {"0.1000", "0.2000", "0.3000", "0.4000", "0.5000", "0.6000", "0.7000", "0.8000", "0.9000", "1.0000", "1.0000"},
       {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.0}},
  };
  for (const Sequence& q : sequences) {
    SCOPED_TRACE(q.dt_text);
    reset_plate_records();
    PlateRunFolder folder;
    Mesh mesh;
    ASSERT_EQ(PlateRunFolder::run(plate_on_springs(mesh, q.dt).text()), 0) << PlateFailure.detail;

    // The log: per step an empty line, the step line and two iteration records.
    std::vector<std::string> expected_steps;
    std::vector<std::string> steps;
    int step = 0;
    std::vector<int> iterations;
    for (const std::string& line : lines_of(PlateRunFolder::log())) {
      if (line.rfind("STEP ", 0) == 0) {
        steps.push_back(line);
        iterations.push_back(0);
      } else if (line.rfind("ITER =", 0) == 0) {
        ++iterations.back();
      }
    }
    for (const char* time : q.times) expected_steps.push_back(step_line(++step, time, q.dt_text));
    EXPECT_EQ(steps, expected_steps);
    EXPECT_EQ(iterations, std::vector<int>(q.times.size(), 2));

    // Every node moves by f P / k at every step; the plate stays flat.
    const std::vector<StepTables> tables = step_tables(PlateRunFolder::listing(), mesh.n_nodes);
    ASSERT_EQ(tables.size(), q.factors.size());
    for (std::size_t s = 0; s < tables.size(); ++s) {
      EXPECT_EQ(tables[s].step, static_cast<int>(s) + 1);
      for (const auto& row : tables[s].displacements) {
        EXPECT_NEAR(row[3], q.factors[s] * NODE_LOAD / NODE_SPRING, 1e-6 * NODE_LOAD / NODE_SPRING);
        EXPECT_NEAR(row[4], 0.0, 1e-12);
        EXPECT_NEAR(row[5], 0.0, 1e-12);
      }
    }
    EXPECT_EQ(step_result_blocks(PlateRunFolder::steps()).size(), q.factors.size());
  }
}

// The iteration record of the log and the debug trace of the first
// iteration: the correction of the translations D = U (the step's movement,
// 0.15 P / k at each of 21 nodes) and the load's norm RHS.
TEST_F(PlateAnalysisTest, IterationRecordsAndDebugTrace) {
  PlateRunFolder folder;
  Mesh mesh;
  fio::open_memory(UNIT_PLATE_CONSOLE);  // a host's console
  ASSERT_EQ(PlateRunFolder::run(plate_on_springs(mesh, 0.15).text()), 0) << PlateFailure.detail;
  const std::vector<std::string> console = lines_of(fio::memory_contents(UNIT_PLATE_CONSOLE));
  ASSERT_GE(console.size(), 3u);
  EXPECT_EQ(console[1], step_line(1, "0.1500", "0.1500"));
  EXPECT_EQ(console[2].substr(0, 30), "ITER =    1 ERR1 = 0.1000E+01 ");
  EXPECT_EQ(console[2].substr(30, 7), "ERR2 = ");
  const std::vector<std::string> log = lines_of(PlateRunFolder::log());
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "");
  EXPECT_EQ(log[1], step_line(1, "0.1500", "0.1500"));
  EXPECT_EQ(log[2], "ITER =    1 ERR1 = 0.1000E+01 D =  0.3437E-02 U = 0.3437E-02 RHS =  0.3437E+02");
  EXPECT_EQ(log[3].substr(0, 18), "            ERR2 =");
  const std::vector<std::string> debug = lines_of(PlateRunFolder::debug());
  ASSERT_GE(debug.size(), 4u + 3 * (1 + mesh.n_nodes));
  EXPECT_EQ(debug[1], log[1]);
  EXPECT_EQ(debug[2], " ITER =            0           1");
  EXPECT_EQ(debug[3], " DSDIS");
  EXPECT_EQ(numbers_in(debug[4]).at(0), 1.0);
  EXPECT_NEAR(numbers_in(debug[4]).at(3), 0.15 * NODE_LOAD / NODE_SPRING, 1e-8);
  EXPECT_EQ(debug[4 + mesh.n_nodes], " TSDIS");
  EXPECT_EQ(debug[5 + 2 * mesh.n_nodes], " ASDIS + TSDIS");
}

// A failure in the stepping (an element turned inside out, a plate without
// stiffness, a residual or a correction that is not finite) ends the
// analysis with its cause, naming the step, the iteration and the equation;
// the files are closed whole and none holds a value that is not a number.
// A residual or a correction that runs away is first tried again with
// shorter steps; when none converges down to the least step, the first
// runaway is the cause.
TEST_F(PlateAnalysisTest, FailuresDuringTheSteppingEndTheAnalysisWithTheirCause) {
  struct Case {
    const char* name;
    std::function<void(PlateDataFile&)> change;
    std::string listing_line;
    std::string detail;
    bool runaway = false;
  };
  const Case cases[] = {
      {"an element numbered clockwise",
       [](PlateDataFile& f) {
         const std::vector<int> n = f.elements[0].nodes;
         f.elements[0].nodes = {n[0], n[3], n[2], n[1], n[7], n[6], n[5], n[4]};
       },
       "           ELEMENT NUMBER     1", "    ZERO OR NEGATIVE AREA IN PLATE ELEMENT 1"},
      {"a material without stiffness", [](PlateDataFile& f) { f.materials[0].young = 0.0; },
       "    NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO.    1 OF VALUE      0.000000E+00",
       "    ZERO PIVOT AT PLATE EQUATION 1 (NODE 1, DOF 1), STEP 1, ITERATION 1"},
      // The norm of loads of 1e300 overflows: the largest load names the equation.
      {"loads whose norm overflows",
       [](PlateDataFile& f) {
         for (auto& load : f.nodal_loads) load.values = {0, 0, 1e300, 0, 0, 0};
         f.nodal_loads[4].values[2] = 2e300;
       },
       "    THE RESIDUAL IS NOT FINITE AT PLATE EQUATION 27 (NODE 5, DOF 3), STEP 1, ITERATION 1",
       "    THE RESIDUAL IS NOT FINITE AT PLATE EQUATION 27 (NODE 5, DOF 3), STEP 1, ITERATION 1", true},
      // A plate of almost no stiffness under a large load moves beyond the
      // largest number: the correction overflows, no pivot being 0.
      {"a correction beyond the largest number",
       [](PlateDataFile& f) {
         f.materials[0].young = 1e-200;
         for (auto& load : f.nodal_loads) load.values = {0, 0, 1e150, 0, 0, 0};
       },
       "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_plate_records();
    PlateRunFolder folder;
    Mesh mesh;
    PlateDataFile file = plate_on_springs(mesh, 1.0);
    for (auto& spring : file.nodal_stiffnesses) spring.values = {};
    c.change(file);
    EXPECT_EQ(PlateRunFolder::run(file.text()), STATUS_PLATE_ERROR);
    const std::vector<std::string> listing = lines_of(PlateRunFolder::listing());
    if (c.detail.empty()) {
      EXPECT_EQ(PlateFailure.detail.rfind("    THE CORRECTION IS NOT FINITE AT PLATE EQUATION ", 0), 0u)
          << PlateFailure.detail;
      EXPECT_NE(PlateFailure.detail.find(", STEP 1, ITERATION 1"), std::string::npos) << PlateFailure.detail;
      EXPECT_EQ(listing.back(), PlateFailure.detail);
    } else {
      EXPECT_EQ(PlateFailure.detail, c.detail);
      EXPECT_NE(std::find(listing.begin(), listing.end(), c.listing_line), listing.end());
    }
    for (const std::string& text :
         {PlateRunFolder::listing(), PlateRunFolder::steps(), PlateRunFolder::log(), PlateRunFolder::debug()}) {
      EXPECT_EQ(first_non_finite_word(text), "");
    }
    EXPECT_EQ(PlateRunFolder::steps(), "END_STEP_DATA\n");
    const std::string first_step = "\n" + step_line(1, "1.0000", "1.0000") + "\n";
    if (c.runaway) {
      // Halved from 1 down to the least step, each attempt announced.
      const std::string log = PlateRunFolder::log();
      EXPECT_EQ(log.rfind(first_step, 0), 0u) << log;
      EXPECT_NE(log.find(step_line(1, "0.0156", "0.0156")), std::string::npos) << log;
      EXPECT_EQ(lines_of(log).back(), "error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED");
      EXPECT_NE(std::find(listing.begin(), listing.end(),
                          "    THE STEP IS TRIED AGAIN FROM THE LAST CONVERGED STEP, HALF AS LONG"),
                listing.end());
    } else {
      EXPECT_EQ(PlateRunFolder::log(), first_step);
    }
    for (int unit = UNIT_PLATE_CONTROL; unit <= UNIT_PLATE_DEBUG; ++unit) EXPECT_FALSE(fio::is_open(unit));
    EXPECT_FALSE(PlateModel.element_matrices.created());
  }
}

// The host's stop request reaches the plate's stepping: with the value 1 in
// the stop-request file the analysis ends with the stop status before its
// first iteration, its files closed whole; with 0 it runs to the end.
TEST_F(PlateAnalysisTest, StopRequestEndsTheSteppingWithTheStopStatus) {
  for (const char* request : {"1\n", "0\n"}) {
    SCOPED_TRACE(request);
    reset_plate_records();
    PlateRunFolder folder;
    RunFiles.stop_request_file = "stop.txt";
    PlateRunFolder::write("stop.txt", request);
    Mesh mesh;
    const int status = PlateRunFolder::run(plate_on_springs(mesh, 0.5).text());
    if (request[0] == '1') {
      EXPECT_EQ(status, STATUS_STOPPED_BY_USER);
      EXPECT_EQ(PlateRunFolder::steps(), "END_STEP_DATA\n");
      EXPECT_EQ(PlateRunFolder::log(), "\n" + step_line(1, "0.5000", "0.5000") + "\n");
    } else {
      EXPECT_EQ(status, 0);
      const std::vector<std::string> log = lines_of(PlateRunFolder::log());
      EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("STEP ", 0) == 0; }),
                2);
    }
    for (int unit = UNIT_PLATE_CONTROL; unit <= UNIT_PLATE_DEBUG; ++unit) EXPECT_FALSE(fio::is_open(unit));
    RunFiles.stop_request_file.clear();
  }
}

// A pile under the plate's centre whose answer a test chooses: a linear
// spring of PILE_SPRING on every head DOF, until the call numbered
// `spoiled_call`, which answers NaN (a failed pile solution) or writes the
// stop request (a host asking to stop while the plate iterates).
struct ScriptedPile {
  int calls = 0;
  int spoiled_call = 0;
  bool stop = false;
};
ScriptedPile scripted_pile;
constexpr double PILE_SPRING = 1.0e5;

void scripted_response(std::vector<PlatePileResponse>& piles, int /*with_stiffness*/, int& /*status*/) {
  ++scripted_pile.calls;
  const bool spoiled = scripted_pile.calls == scripted_pile.spoiled_call;
  if (spoiled && scripted_pile.stop) PlateRunFolder::write("stop.txt", "1\n");
  for (PlatePileResponse& r : piles) {
    for (int i = 1; i <= PLATE_NODE_DOFS; ++i) {
      r.head_forces(i) = spoiled && !scripted_pile.stop ? std::nan("") : -PILE_SPRING * r.head_displacement(i);
      for (int j = 1; j <= PLATE_NODE_DOFS; ++j) r.head_stiffness(i, j) = i == j ? -PILE_SPRING : 0.0;
    }
  }
}

// Runs the plate on springs with one pile under its centre, answered by
// `responder`, in load steps of dt; returns the status of the analysis.
int run_with_one_pile(PlatePileResponder responder, double dt) {
  PileTable.n_piles = 1;
  EXPECT_TRUE(PileTable.head_x.create("head_x", 1));
  SET_PLATE_PILE_RESPONDER(responder);
  Mesh mesh;
  PlateDataFile file = plate_on_springs(mesh, dt);
  file.piles = {{2.0, 2.0}};
  file.pile_springs = 1;
  const int status = PlateRunFolder::run(file.text());
  SET_PLATE_PILE_RESPONDER(nullptr);
  PileTable.head_x.release();
  PileTable.n_piles = 0;
  return status;
}

// The stop request is polled at every iteration of the stepping, not only
// before it: written during the third iteration, it ends the analysis with
// the stop status before the fourth. A pile response that is not a number
// ends it with the plate's error naming the pile, the step and the
// iteration, before any file receives the value.
TEST_F(PlateAnalysisTest, StopRequestAndSpoiledPileResponsesEndTheIterationAtOnce) {
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "stop request" : "pile response not a number");
    reset_plate_records();
    PlateRunFolder folder;
    RunFiles.stop_request_file = "stop.txt";
    scripted_pile = ScriptedPile{.spoiled_call = 3, .stop = stop};
    const int status = run_with_one_pile(scripted_response, 0.5);
    RunFiles.stop_request_file.clear();
    // Step 1 converges in two iterations; the third call is step 2's first,
    // which a stop request lets finish and a spoiled response ends.
    const std::vector<std::string> log = lines_of(PlateRunFolder::log());
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("ITER =", 0) == 0; }),
              stop ? 3 : 2);
    if (stop) {
      EXPECT_EQ(status, STATUS_STOPPED_BY_USER);
      EXPECT_EQ(scripted_pile.calls, 3);
    } else {
      EXPECT_EQ(status, STATUS_PLATE_ERROR);
      EXPECT_EQ(PlateFailure.detail, "    THE RESPONSE OF PILE 1 IS NOT FINITE, STEP 2, ITERATION 1");
    }
    for (const std::string& text :
         {PlateRunFolder::listing(), PlateRunFolder::steps(), PlateRunFolder::log(), PlateRunFolder::debug()}) {
      EXPECT_EQ(first_non_finite_word(text), "");
    }
    for (int unit = UNIT_PLATE_CONTROL; unit <= UNIT_PLATE_DEBUG; ++unit) EXPECT_FALSE(fio::is_open(unit));
  }
}

// A pile whose answer runs away past a head movement: linear springs of
// PILE_SPRING until the largest head displacement passes `limit`, then forces
// whose norm overflows (as a pile loaded past what it carries drives the
// plate's iteration). Records the largest head displacement it was asked at.
struct RunawayPile {
  double limit = std::numeric_limits<double>::infinity();
  double largest = 0.0;
};
RunawayPile runaway_pile;

void runaway_response(std::vector<PlatePileResponse>& piles, int /*with_stiffness*/, int& /*status*/) {
  for (PlatePileResponse& r : piles) {
    double moved = 0.0;
    for (int i = 1; i <= PLATE_NODE_DOFS; ++i) moved = std::max(moved, std::fabs(r.head_displacement(i)));
    runaway_pile.largest = std::max(runaway_pile.largest, moved);
    for (int i = 1; i <= PLATE_NODE_DOFS; ++i) {
      r.head_forces(i) = moved > runaway_pile.limit ? 1.0e300 : -PILE_SPRING * r.head_displacement(i);
      for (int j = 1; j <= PLATE_NODE_DOFS; ++j) r.head_stiffness(i, j) = i == j ? -PILE_SPRING : 0.0;
    }
  }
}

// A step whose iteration runs away after steps that converged is tried again
// shorter, down to the least step: the analysis keeps what converged and ends
// without error below the full load. The plate being linear, the pile moves
// in proportion to the load, so the last converged time lies within two
// least steps below the fraction at which the pile reaches its limit.
TEST_F(PlateAnalysisTest, RunawayAfterConvergedStepsEndsBelowTheFullLoad) {
  auto run = [](double limit) {
    reset_plate_records();
    PlateRunFolder folder;
    runaway_pile = RunawayPile{.limit = limit};
    const int status = run_with_one_pile(runaway_response, 0.25);
    for (const std::string& text : {PlateRunFolder::listing(), PlateRunFolder::steps(), PlateRunFolder::log()}) {
      EXPECT_EQ(first_non_finite_word(text), "");
    }
    return std::make_pair(status, lines_of(PlateRunFolder::listing()));
  };
  const auto [full_status, full_listing] = run(std::numeric_limits<double>::infinity());
  ASSERT_EQ(full_status, 0);
  ASSERT_EQ(PlateControl.converged_time, 1.0);
  const double full_movement = runaway_pile.largest;
  ASSERT_GT(full_movement, 0.0);

  constexpr double LIMIT_FRACTION = 0.6;
  const auto [status, listing] = run(LIMIT_FRACTION * full_movement);
  EXPECT_EQ(status, 0) << PlateFailure.detail;
  EXPECT_LE(PlateControl.converged_time, LIMIT_FRACTION);
  EXPECT_GT(PlateControl.converged_time, LIMIT_FRACTION - 2 * PlateControl.DTMIN);
  EXPECT_NE(std::find(listing.begin(), listing.end(),
                      "    THE STEP IS TRIED AGAIN FROM THE LAST CONVERGED STEP, HALF AS LONG"),
            listing.end());
}

// A first step beyond TEND solves nothing: the step results file holds only
// its end line.
TEST_F(PlateAnalysisTest, FirstStepBeyondTheEndSolvesNothing) {
  PlateRunFolder folder;
  Mesh mesh;
  ASSERT_EQ(PlateRunFolder::run(plate_on_springs(mesh, 2.0).text()), 0);
  EXPECT_EQ(PlateRunFolder::steps(), "END_STEP_DATA\n");
  EXPECT_EQ(PlateRunFolder::log(), "");
}

// 9-node elements with 3 x 3 points put a sampling point on every centre
// node; that node's averaged stresses are the point's own (a regression:
// the inverse-square weight was infinite there).
TEST_F(PlateAnalysisTest, SamplingPointOnANodeGivesTheNodeItsStresses) {
  PlateRunFolder folder;
  Mesh mesh;
  const PlateDataFile file = simply_supported_plate(2, mesh, 9, 3);
  ASSERT_EQ(PlateRunFolder::run(file.text()), 0) << PlateFailure.detail;
  const std::string steps = PlateRunFolder::steps();
  EXPECT_EQ(first_non_finite_word(steps), "");
  const std::vector<std::vector<double>> block = step_result_blocks(steps).at(0);
  const std::vector<StepTables> tables = step_tables(PlateRunFolder::listing(), mesh.n_nodes);
  const std::vector<double>& centre_point = tables.at(0).points.at(4);  // element 1, point 5
  const std::vector<double>& centre_node = block.at(static_cast<std::size_t>(mesh.node_at(1, 1) - 1));
  for (int s = 0; s < 8; ++s) {
    EXPECT_NEAR(centre_node[7 + s], centre_point[3 + s], 1e-3 * std::fabs(centre_point[3 + s]) + 1e-9)
        << "component " << s + 1;
  }
}

// Names in "gslab.dat" that the analysis refuses before it writes anything,
// and files it cannot have.
TEST_F(PlateAnalysisTest, RefusesFileNamesThatWouldOverwriteOtherFiles) {
  struct Case {
    const char* name;
    std::vector<std::string> names;  // the lines of "gslab.dat"; empty: no file
    std::string detail;
  };
  const Case cases[] = {
      {"the listing over the data file",
       {"plot.txt", "deck.plate.dat", "./deck.plate.dat", "deck.plate.steps", "deck.plate.log"},
       "    PLATE FILE WOULD OVERWRITE ANOTHER FILE: ./deck.plate.dat"},
      {"the convergence log over the results report",
       {"plot.txt", "deck.plate.dat", "deck.plate.lst", "deck.plate.steps", "sub/../report.txt"},
       "    PLATE FILE WOULD OVERWRITE ANOTHER FILE: sub/../report.txt"},
      {"the step results over the listing",
       {"plot.txt", "deck.plate.dat", "deck.plate.lst", "deck.plate.lst", "deck.plate.log"},
       "    PLATE FILE WOULD OVERWRITE ANOTHER FILE: deck.plate.lst"},
      {"no names file", {}, "    FILE CANNOT BE READ: gslab.dat"},
      {"a short names file", {"plot.txt", "deck.plate.dat"}, "    FILE CANNOT BE READ: gslab.dat"},
      {"no data file",
       {"plot.txt", "missing.plate.dat", "deck.plate.lst", "deck.plate.steps", "deck.plate.log"},
       "    FILE CANNOT BE OPENED: missing.plate.dat"},
  };
  Mesh mesh;
  const std::string data = plate_on_springs(mesh, 1.0).text();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_plate_records();
    PlateRunFolder folder;
    RunFiles.results_file = "report.txt";
    PlateRunFolder::write("report.txt", "the engine's results\n");
    std::filesystem::remove(PLATE_NAMES_FILE);
    if (!c.names.empty()) PlateRunFolder::write_names(c.names);
    PlateRunFolder::write("deck.plate.dat", data);
    int status = 0;
    RUN_PLATE_ANALYSIS(status);
    EXPECT_EQ(status, STATUS_PLATE_ERROR);
    EXPECT_EQ(PlateFailure.detail, c.detail);
    EXPECT_EQ(PlateRunFolder::read("deck.plate.dat"), data);
    EXPECT_EQ(PlateRunFolder::read("report.txt"), "the engine's results\n");
    for (int unit = UNIT_PLATE_CONTROL; unit <= UNIT_PLATE_DEBUG; ++unit) EXPECT_FALSE(fio::is_open(unit));
  }
}

// A failed step is retried from the last converged time with half the step,
// never from behind it: also when the failed step had been cut at TEND.
TEST_F(PlateAnalysisTest, FailedStepIsRetriedFromTheLastConvergedTime) {
  struct Case {
    const char* name;
    double converged, tcur, dt, dtmin;
    bool below_minimum;
    double next_tcur, next_dt;
  };
  const Case cases[] = {
      {"a full step", 0.3, 0.45, 0.15, 0.01, false, 0.375, 0.075},
      {"a step cut at TEND", 0.99, 1.0, 0.15, 0.001, false, 0.995, 0.005},
      {"below the minimum", 0.3, 0.45, 0.15, 0.1, true, 0.45, 0.075},
  };
  for (const Case& c : cases) {
    PlateControl.TINI = 0.0;
    PlateControl.TEND = 1.0;
    PlateControl.TCUR = c.tcur;
    PlateControl.dt_current = c.dt;
    PlateControl.DTMIN = c.dtmin;
    bool below_minimum = false;
    HALVE_PLATE_STEP(c.converged, below_minimum);
    EXPECT_EQ(below_minimum, c.below_minimum) << c.name;
    EXPECT_NEAR(PlateControl.TCUR, c.next_tcur, 1e-15) << c.name;
    EXPECT_NEAR(PlateControl.dt_current, c.next_dt, 1e-15) << c.name;
    EXPECT_GT(PlateControl.TCUR, c.converged) << c.name;
  }
  EXPECT_EQ(NEXT_PLATE_TIME(0.9, 0.15), 1.0);
  EXPECT_EQ(NEXT_PLATE_TIME(1.0, 0.15), 1.15);
}

}  // namespace
}  // namespace pilecap::testing
