// Whole runs of a load case that estimates the flexibility of the pile cap,
// through DUVIZU. A group on linear springs (an elastic subgrade, straight
// load-settlement and torque-rotation lines, elastic sections), in space or
// in the plane, must print the stiffness of its tangent at rest, symmetric,
// and the inverse of the flexibility columns it wrote; its SI twin prints the same stiffness in
// its own units; a DOF without load is skipped with a unit column; soft
// clay softens level by level; the reports do not depend on the thread
// count.
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

// The group's stiffness at rest, taken when the case has ended.
Matrix stiffness_at_rest;

void record_stiffness_at_rest(int /*run_kind*/, int /*index*/) { stiffness_at_rest = group_stiffness_at_rest(3); }
void record_plane_stiffness_at_rest(int /*run_kind*/, int /*index*/) { stiffness_at_rest = group_stiffness_at_rest(2); }

// The deck's first case made a flexibility estimation over the levels.
std::string with_flexibility(const std::string& deck, const std::vector<double>& levels, int diagonal_only = 0) {
  return with_point_values(deck, "1 1 1 " + std::to_string(diagonal_only) + " 0 0 0 0", levels);
}

std::string flexibility_deck(const Deck3D& d, const std::vector<double>& levels, int diagonal_only = 0) {
  return with_flexibility(deck_3d(d), levels, diagonal_only);
}

// The matrices of the computation report's copies (unconverted), per level.
std::vector<Matrix> printed_stiffness(const RunFolder& folder, int n = 6) {
  std::vector<Matrix> levels;
  std::istringstream in(folder.read(RunFolder::COMPUTATION_LINE));
  std::string line;
  bool in_report = false;
  while (std::getline(in, line)) {
    if (line.find("* PILE CAP STIFFNESS ESTIMATION *") != std::string::npos) in_report = true;
    if (line.find("* TABLE L *") != std::string::npos) in_report = false;
    if (!in_report || line.find("N:") == std::string::npos) continue;
    std::getline(in, line);  // the diagonal
    Matrix k{};
    for (int i = 0; i < n; ++i) {
      std::getline(in, line);
      std::istringstream values(line);
      int number = 0;
      values >> number;
      for (int j = 0; j < n; ++j) values >> k[i][j];
    }
    levels.push_back(k);
  }
  return levels;
}

// The flexibility columns of the file: F[level][i][d].
std::vector<Matrix> flexibility_columns(const RunFolder& folder, int n_levels, int n = 6) {
  std::vector<Matrix> f(static_cast<std::size_t>(n_levels));
  std::istringstream in(folder.read(RunFolder::COLUMNS_LINE));
  for (int d = 0; d < n; ++d) {
    for (int level = 0; level < n_levels; ++level) {
      int number = 0;
      in >> number;
      for (int i = 0; i < n; ++i) in >> f[static_cast<std::size_t>(level)][i][d];
    }
  }
  return f;
}

// The scale of term (i, j) of a stiffness: sqrt(K(i, i) K(j, j)).
double term_scale(const Matrix& k, int i, int j) { return std::sqrt(std::fabs(k[i][i] * k[j][j])); }

class FlexibilityRuns : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    stiffness_at_rest = Matrix{};
    set_run_end_hook(record_stiffness_at_rest);
  }
  void TearDown() override { set_run_end_hook(nullptr); }

  static void run(RunFolder& folder, const std::string& deck) {
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    ASSERT_EQ(folder.run(), 0);
    ASSERT_NE(folder.read(RunFolder::RUN_LOG_LINE).find("     ANALYSIS COMPLETED\n"), std::string::npos);
  }
};

// Every level's printed K against the stiffness at rest k0 (the error of
// the difference steps), its symmetry, and F K = I with the columns F the
// run wrote.
void expect_stiffness_at_rest(const std::vector<Matrix>& k, const std::vector<Matrix>& f, const Matrix& k0, int n) {
  ASSERT_EQ(k.size(), f.size());
  for (std::size_t level = 0; level < k.size(); ++level) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        SCOPED_TRACE(::testing::Message() << "level " << level + 1 << " (" << i + 1 << ", " << j + 1 << ")");
        const double scale = term_scale(k0, i, j);
        EXPECT_NEAR(k[level][i][j], k0[i][j], 1e-5 * scale);
        EXPECT_NEAR(k[level][i][j], k[level][j][i], 1e-5 * scale);
        double identity = 0.0;  // (F K)(i, j)
        for (int d = 0; d < n; ++d) identity += f[level][i][d] * k[level][d][j];
        EXPECT_NEAR(identity, i == j ? 1.0 : 0.0, 1e-6 * std::sqrt(std::fabs(f[level][i][i] * k[level][j][j])));
      }
    }
  }
}

TEST_F(FlexibilityRuns, LinearGroupPrintsTheStiffnessOfItsTangentAtRest) {
  RunFolder folder("flexibility_linear");
  run(folder, flexibility_deck(linear_group(DECK_ENGLISH), {0.5, 1.0}));
  const auto k = printed_stiffness(folder);
  ASSERT_EQ(k.size(), 2u);
  expect_stiffness_at_rest(k, flexibility_columns(folder, 2), stiffness_at_rest, 6);
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  EXPECT_EQ(count_text(codes, "    1 ANALYSIS COMPLETED\n"), 13);  // 6 DOFs x 2 levels, then the total load
  EXPECT_NE(codes.find("      DOF :     6 POINT :     2\n    1 ANALYSIS COMPLETED\n"
                       "      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"),
            std::string::npos)
      << codes;
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULTS_LINE), "* TABLE L *"), 1) << "only the total load";
}

// A bent in the plane on linear springs, two battered rows of two piles
// and a vertical row of three: its three DOFs (X, Y, rotation Z) in the 2D
// form of the report, again the stiffness of its tangent at rest.
TEST_F(FlexibilityRuns, PlaneBentPrintsTheStiffnessOfItsTangentAtRest) {
  set_run_end_hook(record_plane_stiffness_at_rest);
  Deck2D d;
  d.rows = {{0.0, -6.0, -15.0, 2}, {0.0, 0.0, 0.0, 3}, {0.0, 6.0, 15.0, 2}};
  d.ground = -1e-6;
  d.length = 40.0;
  d.increments = 40;
  d.layers = {{ELASTIC_SUBGRADE_CODE, -1e-6, 80.0, {56, 0, 0, 100, 0, 0, 0}}};
  d.axial_stiffness = 2e6;
  d.print_option = 0;
  d.cases = {{.fx = 100000, .fy = 10000, .mz = 1.2e6}};
  RunFolder folder("flexibility_plane");
  run(folder, with_flexibility(deck_2d(d), {0.5, 1.0}));
  const auto k = printed_stiffness(folder, 3);
  ASSERT_EQ(k.size(), 2u);
  expect_stiffness_at_rest(k, flexibility_columns(folder, 2, 3), stiffness_at_rest, 3);
  const std::string results = folder.read(RunFolder::RESULTS_LINE);
  EXPECT_NE(results.find("\n     DOF   : 3 (MOMENT Z)\n"), std::string::npos);
  EXPECT_NE(results.find("\n      DOF             1                 2                 3         \n"), std::string::npos)
      << results;
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED\n"),
            7);  // 3 DOFs x 2, total
}

TEST_F(FlexibilityRuns, DiagonalFormPrintsTheReciprocalOfEachDiagonalTerm) {
  RunFolder folder("flexibility_diagonal");
  run(folder, flexibility_deck(linear_group(DECK_ENGLISH), {1.0}, 1));
  const auto k = printed_stiffness(folder);
  const auto f = flexibility_columns(folder, 1);
  ASSERT_EQ(k.size(), 1u);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double expected = i == j ? 1.0 / f[0][i][i] : 0.0;
      EXPECT_NEAR(k[0][i][j], expected, 1e-8 * std::fabs(1.0 / f[0][i][i])) << i + 1 << ", " << j + 1;
    }
  }
}

// The report's units table as exact text in both unit systems, and the
// same (secant) stiffness of a group in soft clay in each system's units.
TEST_F(FlexibilityRuns, EnglishDeckAndItsSiTwinPrintTheSameStiffness) {
  RunFolder english("flexibility_english"), si("flexibility_si");
  run(english, flexibility_deck(linear_group(DECK_ENGLISH, true), {1.0}));
  run(si, flexibility_deck(linear_group(DECK_SI, true), {1.0}));
  auto units_table = [](const RunFolder& folder) {
    const std::string results = folder.read(RunFolder::RESULTS_LINE);
    const std::size_t from = results.find("    UNITS\n");
    return results.substr(from, results.find("\n\n", from) - from + 1);
  };
  EXPECT_EQ(units_table(english),
            "    UNITS\n"
            "    DOF          1              2              3              4              5              6    \n"
            "      1       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
            "      2       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
            "      3       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n"
            "      4         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n"
            "      5         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n"
            "      6         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n");
  EXPECT_EQ(units_table(si),
            "    UNITS\n"
            "    DOF          1              2              3              4              5              6    \n"
            "      1        KN/ M          KN/ M          KN/ M          KN/RAD         KN/RAD         KN/RAD\n"
            "      2        KN/ M          KN/ M          KN/ M          KN/RAD         KN/RAD         KN/RAD\n"
            "      3        KN/ M          KN/ M          KN/ M          KN/RAD         KN/RAD         KN/RAD\n"
            "      4          KN             KN             KN         KN- M/RAD      KN- M/RAD      KN- M/RAD\n"
            "      5          KN             KN             KN         KN- M/RAD      KN- M/RAD      KN- M/RAD\n"
            "      6          KN             KN             KN         KN- M/RAD      KN- M/RAD      KN- M/RAD\n");
  const auto e = printed_stiffness(english), s = printed_stiffness(si);
  ASSERT_EQ(e.size(), 1u);
  ASSERT_EQ(s.size(), 1u);
  // Row i is a force (kN from lb) or a moment (kN m from lb in); column j a
  // length (m from in) or a rotation.
  const double force[6] = {0.0044482216152605, 0.0044482216152605, 0.0044482216152605,
                           0.000112984829,     0.000112984829,     0.000112984829};
  const double length[6] = {0.0254, 0.0254, 0.0254, 1.0, 1.0, 1.0};
  Matrix converted{};
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) converted[i][j] = e[0][i][j] * force[i] / length[j];
  }
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      EXPECT_NEAR(s[0][i][j], converted[i][j], 1e-4 * term_scale(converted, i, j))
          << "(" << i + 1 << ", " << j + 1 << ")";
    }
  }
}

TEST_F(FlexibilityRuns, DofWithoutLoadIsSkippedWithAUnitStiffnessColumn) {
  Deck3D d = linear_group(DECK_ENGLISH);
  d.cases[0].mx = 0.0;
  RunFolder folder("flexibility_skipped");
  run(folder, flexibility_deck(d, {0.5, 1.0}));
  const std::string codes = folder.read(RunFolder::RESULT_CODES_LINE);
  for (const char* level : {"1", "2"}) {
    EXPECT_NE(codes.find(std::string("      DOF :     4 POINT :     ") + level +
                         "\n    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\n"),
              std::string::npos)
        << codes;
  }
  EXPECT_EQ(count_text(codes, "    1 ANALYSIS COMPLETED\n"), 11);
  const auto k = printed_stiffness(folder);
  ASSERT_EQ(k.size(), 2u);
  for (const Matrix& level : k) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(level[i][3], i == 3 ? 1.0 : 0.0) << i + 1;
  }
  for (int line : {RunFolder::RESULTS_LINE, RunFolder::SUMMARY_LINE}) {
    EXPECT_EQ(count_text(folder.read(line), "WARNING : STIFFNESS VALUES FOR COMPONENT(S): K44  \n"), 2) << line;
  }
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULTS_LINE),
                       "             DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO\n"),
            1);
}

// A lateral load on soft clay: the flexibility in its direction grows with
// the level; the unloaded DOFs are skipped.
TEST_F(FlexibilityRuns, FlexibilityGrowsLevelByLevelOnSoftClay) {
  Deck3D d = linear_group(DECK_ENGLISH);
  d.ground = 0.0;
  d.layers = {{1, 0.0, 80.0, {56, 500, 0, 0, 0, 0.01, 0.5}}};
  d.cases = {{.fy = 60000, .initial_step = 0.25}};
  RunFolder folder("flexibility_soft_clay");
  run(folder, flexibility_deck(d, {0.25, 0.5, 1.0}));
  const auto f = flexibility_columns(folder, 3);
  EXPECT_GT(f[1][1][1], 1.05 * f[0][1][1]);
  EXPECT_GT(f[2][1][1], 1.05 * f[1][1][1]);
  EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    5 ANALYSIS SKIPPPED"), 15);
  // The levels table shows the load of each level and the displacement it gave.
  const std::string steps = folder.read(RunFolder::STEPS_LINE);
  EXPECT_NE(steps.find("         3       60000.000"), std::string::npos) << steps;
}

TEST_F(FlexibilityRuns, ReportsDoNotDependOnTheThreadCount) {
  auto deck = [](int threads) {
    Deck3D d = linear_group(DECK_ENGLISH);
    d.layers = {{1, -1e-6, 80.0, {56, 500, 0, 0, 0, 0.01, 0.5}}};
    d.cases[0].threads = threads;
    d.cases[0].initial_step = 0.5;
    return flexibility_deck(d, {0.5, 1.0});
  };
  const std::vector<int> files = {RunFolder::RESULTS_LINE,      RunFolder::SUMMARY_LINE,     RunFolder::RUN_LOG_LINE,
                                  RunFolder::RESULT_CODES_LINE, RunFolder::COMPUTATION_LINE, RunFolder::COLUMNS_LINE};
  RunFolder folder("flexibility_threads");
  run(folder, deck(1));
  std::vector<std::string> one_thread;
  for (int line : files) one_thread.push_back(without_timing(folder.read(line)));
  ASSERT_NE(one_thread[0].find("* PILE CAP STIFFNESS ESTIMATION *"), std::string::npos);
  run(folder, deck(4));
  for (std::size_t k = 0; k < files.size(); ++k) {
    SCOPED_TRACE(files[k]);
    EXPECT_EQ(one_thread[k], without_timing(folder.read(files[k])));
  }
}

}  // namespace
}  // namespace pilecap::testing
