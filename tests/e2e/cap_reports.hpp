// Readers of the cap results of whole 3D runs: TABLE L of every solved run
// from the computation report (unconverted, nine digits), and the global
// pile-top reactions of the first run from the summary report (five
// digits, in the report's force units). Cap vectors are X (vertical), Y, Z,
// then the moments or rotations about X, Y, Z.
#pragma once

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {

constexpr int COMPUTATION_LINE = 12;
constexpr int RESULT_CODES_LINE = 11;

using Vector6 = std::array<double, 6>;

struct CapResult {
  Vector6 load{}, displacement{};
};

inline Vector6 parse_vector6(const std::string& line) {
  Vector6 v{};
  std::istringstream in(line);
  for (double& x : v) in >> x;
  return v;
}

// The TABLE L rows of every solved run, in run order.
inline std::vector<CapResult> table_l_rows(const RunFolder& folder) {
  const auto lines = folder.lines(COMPUTATION_LINE);
  std::vector<CapResult> rows;
  for (std::size_t k = 0; k + 4 < lines.size(); ++k) {
    if (lines[k].find("* TABLE L *") == std::string::npos) continue;
    rows.push_back({parse_vector6(lines[k + 2]), parse_vector6(lines[k + 4])});
  }
  return rows;
}

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
