// What whole 3D runs leave to judge them by: the rows of TABLE L of the
// computation report (the equivalent load and the cap displacement at the
// origin of every solved run, unconverted), the head forces of every pile at
// the origin after each run, recorded through the run-end hook, the global
// pile-top reactions from the summary report (of the first run, or of every
// run) and the embedded cap's passive resistance from the results report.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
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

// The largest magnitude among components from .. to - 1 of v.
inline double largest(const Vector6& v, std::size_t from, std::size_t to) {
  double m = 0.0;
  for (std::size_t k = from; k < to; ++k) m = std::max(m, std::fabs(v[k]));
  return m;
}

// The size of a cap displacement: its largest translation or the largest
// movement its rotation gives a head at the distance arm.
inline double movement_size(const Vector6& u, double arm) { return std::max(largest(u, 0, 3), largest(u, 3, 6) * arm); }

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
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].find("* PASSIVE RESISTANCE IN PILE CAP *") == std::string::npos) continue;
    std::size_t r = k + 1;
    while (r < lines.size() && lines[r].find(',') == std::string::npos) ++r;  // the heading names units
    if (r + 1 >= lines.size()) break;                                         // a report cut short holds no row
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

// The numbers of the line after every "PILE TOP DISP. AND REACT. GLOBAL"
// heading of the computation report, head by head: the head's global
// displacement, then its reaction (nine digits, unconverted).
inline std::vector<std::vector<double>> global_head_rows(const RunFolder& folder) {
  const auto lines = folder.lines(RunFolder::COMPUTATION_LINE);
  std::vector<std::vector<double>> rows;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    if (lines[k].find("* PILE TOP DISP. AND REACT. GLOBAL") == std::string::npos) continue;
    std::istringstream in(lines[k + 1]);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    rows.push_back(v);
  }
  return rows;
}

// A plane vector (X, Y, rotation or moment Z) in the space order.
inline Vector6 in_space_order(double a, double b, double c) { return {a, b, 0.0, 0.0, 0.0, c}; }

// What a run of one case left: its result code (1 completed, 2 partial, or
// another), the share of the load it carried (per cent), TABLE L, and per
// head its global displacement and reaction from the computation report;
// a plane's FX, FY, MZ and UX, UY, RZ stand at 0, 1 and 5 of the space
// order.
struct RunOutcome {
  int code = 0;
  double percent = 0.0;
  bool solved = false;
  Vector6 load{}, displacement{};
  std::vector<Vector6> head_displacements, head_reactions;
};

inline RunOutcome read_run_outcome(const RunFolder& folder, bool plane) {
  RunOutcome o;
  for (const std::string& line : folder.lines(RunFolder::RESULT_CODES_LINE)) {
    if (line.size() < 6 || line.rfind("    ", 0) != 0 || !std::isdigit(static_cast<unsigned char>(line[4]))) continue;
    o.code = std::stoi(line.substr(0, 5));
    o.percent = o.code == 1 ? 100.0 : o.code == 2 ? std::stod(line.substr(18, 8)) : 0.0;
  }
  const auto rows = table_l_rows(folder);
  if (rows.size() == 1u) {
    o.solved = true;
    const Vector6 &f = rows[0].load, &u = rows[0].displacement;
    o.load = plane ? in_space_order(f[0], f[1], f[2]) : f;
    o.displacement = plane ? in_space_order(u[0], u[1], u[2]) : u;
  }
  for (const std::vector<double>& v : global_head_rows(folder)) {
    const std::size_t n = plane ? 3 : 6;
    if (v.size() < 2 * n) continue;
    Vector6 u{}, f{};
    if (plane) {
      u = in_space_order(v[0], v[1], v[2]);
      f = in_space_order(v[3], v[4], v[5]);
    } else {
      std::copy(v.begin(), v.begin() + 6, u.begin());
      std::copy(v.begin() + 6, v.begin() + 12, f.begin());
    }
    o.head_displacements.push_back(u);
    o.head_reactions.push_back(f);
  }
  return o;
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

// The head reactions of a run carried to the origin, each head at (y, z)
// in the head plane standing for `piles` piles (a plane row's count).
struct HeadPlace {
  double y, z;
  int piles;
};

inline Vector6 head_reactions_at_origin(const std::vector<Vector6>& reactions, const std::vector<HeadPlace>& heads) {
  std::vector<Vector6> forces;
  std::vector<std::array<double, 2>> at;
  for (std::size_t p = 0; p < heads.size() && p < reactions.size(); ++p) {
    Vector6 f = reactions[p];
    for (double& v : f) v *= heads[p].piles;
    forces.push_back(f);
    at.push_back({heads[p].y, heads[p].z});
  }
  return resultant_at_origin(forces, at);
}

}  // namespace pilecap::testing
