// What whole 3D runs leave to judge them by: the rows of TABLE L of the
// computation report (the equivalent load and the cap displacement at the
// origin of every solved run, unconverted), the head forces of every pile at
// the origin after each run, recorded through the run-end hook, the global
// pile-top reactions from the summary report (of the first run, or of every
// run) and the embedded cap's passive resistance from the results report.
#pragma once

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/model_store.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

using Vector6 = std::array<double, 6>;

struct CapResult {
  Vector6 load{}, displacement{};
};

// The TABLE L rows of every solved run, in run order.
inline std::vector<CapResult> table_l_rows(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
  std::vector<CapResult> rows;
  auto parse = [](const std::string& line) {
    Vector6 v{};
    std::istringstream in(line);
    for (double& x : v) in >> x;
    return v;
  };
  for (std::size_t k = 0; k + 4 < lines.size(); ++k) {
    if (lines[k].find("* TABLE L *") == std::string::npos) continue;
    CapResult r;
    r.load = parse(lines[k + 2]);
    r.displacement = parse(lines[k + 4]);
    rows.push_back(r);
  }
  return rows;
}

// Head forces of every pile at the origin after each solved run.
inline std::vector<std::vector<Vector6>> pile_forces_by_run;

inline void record_pile_forces(int /*run_kind*/, int /*index*/) {
  std::vector<Vector6> forces(static_cast<std::size_t>(PileTable.n_piles));
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    for (int k = 1; k <= 6; ++k) forces[static_cast<std::size_t>(p - 1)][k - 1] = PileTable.head_force(p, k, 1);
  }
  pile_forces_by_run.push_back(forces);
}

// A whole-run test that records every pile's head forces after each run.
class PileForceRecordingTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    pile_forces_by_run.clear();
    set_run_end_hook(record_pile_forces);
  }
  void TearDown() override { set_run_end_hook(nullptr); }
};

// The pile-top reactions of the first run in global axes at each pile head,
// by pile (the rows after the table's two heading lines).
inline std::vector<Vector6> pile_top_reactions(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::SUMMARY_LINE);
  std::vector<Vector6> rows;
  std::size_t k = 0;
  while (k < lines.size() && lines[k].find("* PILE TOP REACTIONS *") == std::string::npos) ++k;
  for (k += 4; k < lines.size(); ++k) {
    std::istringstream in(lines[k]);
    int pile = 0;
    if (!(in >> pile)) break;
    Vector6 v{};
    for (double& x : v) in >> x;
    rows.push_back(v);
  }
  return rows;
}

// The row after the heading of the passive-resistance table on the results
// report, per run (empty without the table).
inline std::vector<std::vector<double>> passive_rows(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::RESULTS_LINE);
  std::vector<std::vector<double>> rows;
  for (std::size_t k = 0; k + 3 < lines.size(); ++k) {
    if (lines[k].find("* PASSIVE RESISTANCE IN PILE CAP *") == std::string::npos) continue;
    std::size_t r = k + 1;
    while (r < lines.size() && lines[r].find(',') == std::string::npos) ++r;  // the heading names units
    std::istringstream in(lines[r + 1]);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    rows.push_back(v);
  }
  return rows;
}

// The global pile-top reactions of every run on the summary report, by run
// and pile (a 2D row's reactions are those of one of its piles): force X,
// force Y, then the table's other columns.
inline std::vector<std::vector<std::vector<double>>> global_pile_top_reactions(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::SUMMARY_LINE);
  std::vector<std::vector<std::vector<double>>> runs;
  for (std::size_t k = 0; k + 2 < lines.size(); ++k) {
    if (lines[k].find("* PILE TOP REACTIONS *") == std::string::npos) continue;
    std::size_t r = k + 1;
    while (r < lines.size() && lines[r].find_first_not_of(' ') == std::string::npos) ++r;
    if (r >= lines.size() || lines[r].find("FOR. Y") == std::string::npos) continue;  // the local table
    std::vector<std::vector<double>> rows;
    for (r += 2; r < lines.size(); ++r) {
      std::istringstream in(lines[r]);
      int pile = 0;
      if (!(in >> pile)) break;
      std::vector<double> v;
      for (double x; in >> x;) v.push_back(x);
      rows.push_back(v);
    }
    runs.push_back(rows);
  }
  return runs;
}

// The resultant at the origin of forces acting at points (0, y, z) of the
// cap's head plane: moments about X, Y, Z gain r x F.
inline Vector6 resultant_at_origin(const std::vector<Vector6>& forces, const std::vector<std::array<double, 2>>& at) {
  Vector6 sum{};
  for (std::size_t p = 0; p < forces.size(); ++p) {
    const Vector6& f = forces[p];
    const double y = at[p][0], z = at[p][1];
    for (int k = 0; k < 6; ++k) sum[k] += f[k];
    sum[3] += y * f[2] - z * f[1];
    sum[4] += z * f[0];
    sum[5] += -y * f[0];
  }
  return sum;
}

}  // namespace pilecap::testing
