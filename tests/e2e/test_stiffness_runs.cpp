// Whole runs of a load case that estimates the secant stiffness of the pile
// group, through DUVIZU. On linear springs the secant stiffness assembled
// from the equivalent springs of every pile is the tangent of the group at
// rest (within the difference between the beam elements and the
// difference scheme of the lateral solutions) at every factor; a target
// search on a linear model meets its target at the first predicted factor,
// in soft clay within the tolerance in a few runs; the plane model prints
// its 3 x 3 form; the reports do not depend on the thread count.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/estimation_decks.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

// The solver's tangent at rest, taken when the case has ended.
Matrix tangent_at_rest;

void record_tangent_at_rest(int /*run_kind*/, int /*index*/) { tangent_at_rest = group_stiffness_at_rest(3); }
void record_plane_tangent_at_rest(int /*run_kind*/, int /*index*/) { tangent_at_rest = group_stiffness_at_rest(2); }

// The twelve settings after the factors: basis, target DOF, the six
// target displacements, tolerance (%), runs, axial-force terms, target DOF only.
struct Settings {
  int basis = 0;
  int target_dof = 0;
  double target = 0.0;
  double tolerance = 1.0;
  int runs = 1;
  int target_slot = 0;  // the slot of the six that holds the target; 0: the target DOF's own
};

std::vector<double> point_list(const std::vector<double>& factors, const Settings& s) {
  std::vector<double> values = factors;
  values.push_back(s.basis);
  values.push_back(s.target_dof);
  const int slot = s.target_slot > 0 ? s.target_slot : s.target_dof;
  for (int d = 1; d <= 6; ++d) values.push_back(d == slot ? s.target : 0.0);
  values.push_back(s.tolerance);
  values.push_back(s.runs);
  values.push_back(0.0);
  values.push_back(0.0);
  return values;
}

std::string stiffness_deck(const std::string& deck, const std::vector<double>& factors, const Settings& s) {
  return with_point_values(deck, "1 11 0 0 0 0 0 0", point_list(factors, s));
}

// The matrices CAPTSTF printed on the computation report (unconverted), per
// point: after the point line, the load and displacement blocks and the
// diagonal line come the rows.
std::vector<Matrix> secant_stiffness(const RunFolder& folder, int n = 6) {
  std::vector<Matrix> points;
  std::istringstream in(folder.read(RunFolder::COMPUTATION_LINE));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("        1   N:", 0) != 0) continue;
    for (int k = 0; k < 5; ++k) std::getline(in, line);
    Matrix m{};
    for (int i = 0; i < n; ++i) {
      std::getline(in, line);
      std::istringstream values(line);
      int number = 0;
      values >> number;
      for (int j = 0; j < n; ++j) values >> m[i][j];
    }
    points.push_back(m);
  }
  return points;
}

// The computed displacements of the target lines on the results report.
std::vector<double> computed_targets(const RunFolder& folder) {
  std::vector<double> values;
  std::istringstream in(folder.read(RunFolder::RESULTS_LINE));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t at = line.find("COMPUTED =");
    if (at != std::string::npos) values.push_back(std::stod(line.substr(at + 10)));
  }
  return values;
}

class StiffnessRuns : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    tangent_at_rest = Matrix{};
    set_run_end_hook(record_tangent_at_rest);
  }
  void TearDown() override { set_run_end_hook(nullptr); }

  static void run(RunFolder& folder, const std::string& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    ASSERT_EQ(folder.run(), 0);
    ASSERT_NE(folder.read(RunFolder::RUN_LOG_LINE).find("     ANALYSIS COMPLETED\n"), std::string::npos)
        << folder.read(RunFolder::RUN_LOG_LINE);
  }
};

// Every point's secant stiffness against the tangent at rest, relative to
// the scale of its term: the beam elements of the linear pile models and
// the difference scheme of the lateral solutions differ by a fraction of a
// per cent on 40 elements.
void expect_tangent_at_rest(const std::vector<Matrix>& k, int n) {
  for (std::size_t point = 0; point < k.size(); ++point) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        SCOPED_TRACE(::testing::Message() << "point " << point + 1 << " (" << i + 1 << ", " << j + 1 << ")");
        const double scale = std::sqrt(std::fabs(tangent_at_rest[i][i] * tangent_at_rest[j][j]));
        EXPECT_NEAR(k[point][i][j], tangent_at_rest[i][j], 1e-2 * scale);
        EXPECT_NEAR(k[point][i][j], k[point][j][i], 1e-7 * scale);
      }
    }
  }
}

TEST_F(StiffnessRuns, LinearGroupSecantStiffnessIsItsTangentAtRest) {
  RunFolder folder("stiffness_linear");
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {0.5, 1.0}, Settings{}));
  const auto k = secant_stiffness(folder);
  ASSERT_EQ(k.size(), 2u);
  expect_tangent_at_rest(k, 6);
  // One run per point, then the total load.
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED\n"), 3);
  const std::string piles = folder.read(RunFolder::CAP_MODEL_LINE);
  EXPECT_EQ(piles.rfind("     LOAD CASE=    1     NPOINTS=    2\n     POINT=    1\n     NPILES=    3\n"
                        "     PILE=    1     NNODES=   41\n",
                        0),
            0u)
      << piles;
  EXPECT_EQ(count_text(piles, "     PILE="), 6);
  // The equivalent-stiffness file holds both matrices in internal units.
  EXPECT_EQ(count_text(folder.read(RunFolder::STIFFNESS_LINE), "     * EQV. STIFFNESS MATRIX AT ORIGIN *\n"), 2);
  // The spring file of the last run (the total load) holds its case line only.
  EXPECT_EQ(folder.read(RunFolder::SPRINGS_LINE), "LOAD CASE :     1\n");
}

// Three routes to one linear cap stiffness: the inverse of the flexibility
// columns of a flexibility estimation, the secant stiffness of the
// equivalent springs, and the solver's tangent at rest.
TEST_F(StiffnessRuns, FlexibilityInverseSecantAndTangentAgreeOnALinearGroup) {
  RunFolder folder("stiffness_three_routes");
  run(folder, with_point_values(deck_3d(linear_group(DECK_ENGLISH)), "1 1 1 0 0 0 0 0", {1.0}));
  // The flexibility report's copy: the level line, the diagonal, the rows.
  Matrix flexibility_inverse{};
  std::istringstream in(folder.read(RunFolder::COMPUTATION_LINE));
  std::string line;
  while (std::getline(in, line) && line.rfind("       N:", 0) != 0) {
  }
  std::getline(in, line);
  for (int i = 0; i < 6; ++i) {
    std::getline(in, line);
    std::istringstream values(line);
    int number = 0;
    values >> number;
    for (int j = 0; j < 6; ++j) values >> flexibility_inverse[i][j];
  }
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {1.0}, Settings{}));
  const auto k = secant_stiffness(folder);
  ASSERT_EQ(k.size(), 1u);
  expect_tangent_at_rest(k, 6);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double scale = std::sqrt(std::fabs(tangent_at_rest[i][i] * tangent_at_rest[j][j]));
      EXPECT_NEAR(flexibility_inverse[i][j], tangent_at_rest[i][j], 1e-4 * scale) << i + 1 << ", " << j + 1;
      EXPECT_NEAR(k[0][i][j], flexibility_inverse[i][j], 1e-2 * scale) << i + 1 << ", " << j + 1;
    }
  }
}

// A target search on a linear model: the unloaded run, the run at the
// point's load, then the predicted factor meets the target.
TEST_F(StiffnessRuns, LinearSearchMeetsItsTargetAtTheFirstPredictedFactor) {
  constexpr double TARGET = 0.05;  // in, lateral Y at point factor 1
  RunFolder folder("stiffness_linear_search");
  const Settings search{.basis = 1, .target_dof = 2, .target = TARGET, .tolerance = 0.5, .runs = 6};
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {1.0, 2.0}, search));
  // Per point: the runs outside the tolerance (the unloaded run of point 1
  // and the run at the point's load), then the predicted factor, solved.
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  EXPECT_EQ(count_text(codes, "    10 ANALYSIS COMPLETED\n"), 3) << codes;
  EXPECT_EQ(count_text(codes, "    1 ANALYSIS COMPLETED\n"), 3) << codes;
  EXPECT_NE(codes.find("      STIFFNESS ESTIMATION, POINT :    2/   2 FACTOR :      2.00000\n"
                       "      STIFFNESS ESTIMATION, ITER :     1 FACTOR :      1.00000\n"
                       "    10 ANALYSIS COMPLETED\n"
                       "      STIFFNESS ESTIMATION, ITER :     2 FACTOR :"),
            std::string::npos)
      << codes;
  const std::vector<double> computed = computed_targets(folder);
  ASSERT_EQ(computed.size(), 2u);
  EXPECT_NEAR(computed[0], TARGET, 5e-3 * TARGET);
  EXPECT_NEAR(computed[1], 2 * TARGET, 5e-3 * 2 * TARGET) << "the target grows with the point factor";
  EXPECT_EQ(count_text(folder.read(RunFolder::RUN_LOG_LINE), "MAX. ITER. REACHED"), 0);
  expect_tangent_at_rest(secant_stiffness(folder), 6);
}

// In soft clay the search meets the target within its tolerance in a few
// runs; the secant stiffness is below the tangent at rest.
TEST_F(StiffnessRuns, SoftClaySearchMeetsItsTargetWithinTheTolerance) {
  constexpr double TARGET = 0.003;
  RunFolder folder("stiffness_soft_clay_search");
  const Settings search{.basis = 1, .target_dof = 2, .target = TARGET, .tolerance = 1.0, .runs = 8};
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH, true)), {1.0}, search));
  const std::vector<double> computed = computed_targets(folder);
  ASSERT_EQ(computed.size(), 1u);
  EXPECT_NEAR(computed[0], TARGET, 1e-2 * TARGET);
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  const int runs = count_text(codes, "STIFFNESS ESTIMATION, ITER :");
  EXPECT_GE(runs, 3);
  EXPECT_LE(runs, 5) << codes;
  EXPECT_EQ(count_text(folder.read(RunFolder::RUN_LOG_LINE), "MAX. ITER. REACHED"), 0);
  const auto k = secant_stiffness(folder);
  ASSERT_EQ(k.size(), 1u);
  EXPECT_LT(k[0][1][1], tangent_at_rest[1][1]);
  EXPECT_GT(k[0][1][1], 0.0);
}

// The plane bent of the flexibility runs: its 3 x 3 secant stiffness on
// linear springs is the tangent at rest.
TEST_F(StiffnessRuns, PlaneBentSecantStiffnessIsItsTangentAtRest) {
  set_run_end_hook(record_plane_tangent_at_rest);
  Deck2D d;
  d.rows = {{0.0, -6.0, -15.0, 2}, {0.0, 0.0, 0.0, 3}, {0.0, 6.0, 15.0, 2}};
  d.ground = -1e-6;
  d.length = 40.0;
  d.increments = 40;
  d.layers = {{ELASTIC_SUBGRADE_CODE, -1e-6, 80.0, {56, 0, 0, 100, 0, 0, 0}}};
  d.axial_stiffness = 2e6;
  d.print_option = 0;
  d.cases = {{.fx = 100000, .fy = 10000, .mz = 1.2e6}};
  RunFolder folder("stiffness_plane");
  const Settings search{.basis = 1, .target_dof = 6, .target = 2e-4, .tolerance = 1.0, .runs = 5};
  run(folder, stiffness_deck(deck_2d(d), {1.0}, search));
  const auto k = secant_stiffness(folder, 3);
  ASSERT_EQ(k.size(), 1u);
  expect_tangent_at_rest(k, 3);
  const std::string results = folder.read(RunFolder::RESULTS_LINE);
  EXPECT_NE(results.find("\n           ROTATION Z,  TARGET ="), std::string::npos) << results;
  EXPECT_NE(results.find("\n    DOF          1              2              3    \n"), std::string::npos);
}

// In the plane DOF 3 and DOF 6 both name the rotation, whose target is the
// sixth of the six: the echo prints that target for both, and a search on
// DOF 3 runs exactly as the search on DOF 6 (it used to read the empty slot
// of the displacement along Z and stop on a zero target).
TEST_F(StiffnessRuns, PlaneSearchOnDofThreeTakesTheRotationsTarget) {
  Deck2D d = plane_bent();
  d.cases = {{.fx = 100000, .fy = 10000, .mz = 1.2e6}};
  std::string reports[2];
  int k = 0;
  for (int dof : {6, 3}) {
    RunFolder folder("stiffness_plane_dof");  // one path, so that the reports compare whole
    const Settings search{.basis = 1, .target_dof = dof, .target = 2e-4, .tolerance = 1.0, .runs = 5, .target_slot = 6};
    run(folder, stiffness_deck(deck_2d(d), {1.0}, search));
    reports[k++] = without_timing(folder.read(RunFolder::RESULTS_LINE));
  }
  EXPECT_NE(reports[1].find("ROTATION Z,  TARGET ="), std::string::npos) << reports[1];
  EXPECT_EQ(reports[1], reports[0]);
}

// Settings a search cannot run with end the run with the input, at the
// value's own line, before its first solve.
TEST_F(StiffnessRuns, SearchWithoutADofOrATargetIsAnInputError) {
  struct Case {
    const char* name;
    Settings settings;
    const char* detail;  // after the line number
  };
  const Case cases[] = {
      {"a target of 0",
       {.basis = 1, .target_dof = 2, .target = 0.0, .runs = 4},
       ": '0' (THE TARGET DISPLACEMENT OF DOF 2 IS 0)"},
      {"DOF 7", {.basis = 1, .target_dof = 7, .target = 0.1, .runs = 4}, ": '7' (THE TARGET DOF IS 1 TO 6)"},
      {"basis 2",
       {.basis = 2, .target_dof = 2, .target = 0.1, .runs = 4},
       ": '2' (THE STIFFNESS BASIS IS 0 (TOTAL LOAD) OR 1 (TARGET DEFLECTION))"},
  };
  for (const Case& c : cases) {
    RunFolder folder("stiffness_refused");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {1.0}, c.settings));
    folder.run();
    const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
    const std::string place = "\n     ERROR IN INPUT DATA\n     INPUT SECTION 3 (LOAD CASES), LINE ";
    const std::size_t at = log.find(place);
    ASSERT_NE(at, std::string::npos) << c.name << "\n" << log;
    EXPECT_EQ(
        log.compare(log.find(':', at + place.size()), std::string(c.detail).size() + 1, std::string(c.detail) + "\n"),
        0)
        << c.name << "\n"
        << log;
    EXPECT_EQ(log.find("STIFFNESS ESTIMATION, ITER"), std::string::npos) << c.name;
  }
}

// A search allowed one run makes it at the unloaded state, which ends on
// the full output and writes no springs: the point says it formed no
// stiffness instead of reading a spring file without piles.
TEST_F(StiffnessRuns, SearchOfOneRunFormsNoStiffness) {
  RunFolder folder("stiffness_one_run");
  const Settings search{.basis = 1, .target_dof = 2, .target = 0.05, .tolerance = 1.0, .runs = 1};
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {1.0}, search));
  const std::string note = "     NOTE: NO EQUIVALENT SPRINGS WERE WRITTEN, NO STIFFNESS AT THIS POINT\n";
  EXPECT_NE(folder.read(RunFolder::RESULTS_LINE).find(note), std::string::npos);
  EXPECT_NE(folder.read(RunFolder::RUN_LOG_LINE).find(note), std::string::npos);
  EXPECT_NE(folder.read(RunFolder::COMPUTATION_LINE).find("       -1   N:    1  FACTOR :    1.0000\n"),
            std::string::npos);
  EXPECT_TRUE(secant_stiffness(folder).empty());
  EXPECT_EQ(folder.read(RunFolder::STIFFNESS_LINE), "");
}

// A search that cannot meet a tolerance of 1e-90 per cent ends at the
// latest when its table of 20 pairs is full, with its stiffness formed at the
// last run.
TEST_F(StiffnessRuns, SearchEndsWhenItsPairTableIsFull) {
  RunFolder folder("stiffness_pair_table");
  const Settings search{.basis = 1, .target_dof = 2, .target = 0.05, .tolerance = 1e-90, .runs = 40};
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH, true)), {1.0}, search));
  const int runs = count_text(folder.read(RunFolder::RESULT_CODES_LINE), "STIFFNESS ESTIMATION, ITER :");
  EXPECT_LE(runs, 20);
  const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
  EXPECT_EQ(count_text(log, "MAX. ITER. REACHED") + count_text(log, "TARGET SEARCH STOPPED"), 1) << log;
  EXPECT_EQ(secant_stiffness(folder).size(), 1u);
}

TEST_F(StiffnessRuns, ReportsDoNotDependOnTheThreadCount) {
  auto deck = [](int threads) {
    Deck3D d = linear_group(DECK_ENGLISH, true);
    d.cases[0].threads = threads;
    const Settings search{.basis = 1, .target_dof = 2, .target = 0.3, .tolerance = 1.0, .runs = 8};
    return stiffness_deck(deck_3d(d), {0.5, 1.0}, search);
  };
  const std::vector<int> files = {RunFolder::RESULTS_LINE,      RunFolder::SUMMARY_LINE,     RunFolder::RUN_LOG_LINE,
                                  RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE, RunFolder::STIFFNESS_LINE,
                                  RunFolder::CAP_MODEL_LINE};
  RunFolder folder("stiffness_threads");
  run(folder, deck(1));
  std::vector<std::string> one_thread;
  for (int line : files) one_thread.push_back(without_timing(folder.read(line)));
  ASSERT_EQ(count_text(one_thread[0], "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), 2);
  run(folder, deck(4));
  for (std::size_t k = 0; k < files.size(); ++k) {
    SCOPED_TRACE(files[k]);
    EXPECT_EQ(one_thread[k], without_timing(folder.read(files[k])));
  }
}

}  // namespace
}  // namespace pilecap::testing
