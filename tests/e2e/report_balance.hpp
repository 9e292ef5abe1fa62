// The balance of every run a whole run prints, judged from its summary
// report alone: TABLE L (the load the run carried at the origin), the
// partial-load warning, the passive resistance of an embedded cap and the
// global pile-top reactions, which carried to the origin with the passive
// resistance must give back the load. A run's scale is the larger of its
// load and the sum of its piles' forces (or of their moments about the
// origin); it balances when every force component is within 5e-4 of the
// force scale and every moment within 1e-3 of the moment scale, or within
// 10 lb and 120 lb-in. Values in the summary's units: lb or kips, lb-in or
// kip-in, ft for positions; heads at depth 0.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace pilecap::testing {

using Values = std::vector<double>;

// The numbers of a report line; empty when a field is not a number (a
// field too wide prints as asterisks).
inline Values line_numbers(const std::string& line) {
  Values v;
  std::istringstream in(line);
  for (std::string token; in >> token;) {
    char* end = nullptr;
    const double x = std::strtod(token.c_str(), &end);
    if (end == token.c_str() || *end != '\0') return {};
    v.push_back(x);
  }
  return v;
}

// One run as the summary prints it (in the space order FX, FY, FZ, MX, MY,
// MZ; a plane's FX, FY, MZ at 0, 1 and 5).
struct PrintedRun {
  std::array<double, 6> load{};
  double percent = 100.0;     // share of the load carried (the partial warning)
  Values passive;             // the passive row: plane L, x, diameter; space FY, FZ, x, diameter
  std::vector<Values> piles;  // the global pile-top reactions, by pile or row
  bool readable = true;       // every number of the run could be read
};

// Every run of the summary in order: a run starts at its TABLE L.
inline std::vector<PrintedRun> printed_runs(const std::vector<std::string>& lines, bool plane) {
  std::vector<PrintedRun> runs;
  auto next_numbers = [&](std::size_t& k, std::size_t count) {
    for (++k; k < lines.size(); ++k) {
      if (lines[k].find_first_not_of(' ') == std::string::npos) continue;
      Values v = line_numbers(lines[k]);
      if (v.size() == count) return v;
      if (lines[k].find(',') == std::string::npos) return Values{};  // not a heading: a row that cannot be read
    }
    return Values{};
  };
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    // The closing summary repeats the runs' tables without their piles.
    if (line.find("SUMMARY FOR LOAD CASES AND COMBINATIONS") != std::string::npos) break;
    if (line.find("* TABLE L *") != std::string::npos) {
      runs.push_back({});
      continue;
    }
    if (runs.empty()) continue;
    PrintedRun& run = runs.back();
    if (line.find("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *") != std::string::npos && run.piles.empty()) {
      const Values forces = next_numbers(k, 3);
      const Values moments = plane ? Values{0.0, 0.0, forces.size() == 3 ? forces[2] : 0.0} : next_numbers(k, 3);
      if (forces.size() != 3 || moments.size() != 3) {
        run.readable = false;
        continue;
      }
      run.load = {forces[0], forces[1], plane ? 0.0 : forces[2], moments[0], moments[1], moments[2]};
    } else if (line.find("RESULTS ARE FOR") != std::string::npos) {
      const std::size_t at = line.find("RESULTS ARE FOR") + 15;
      run.percent = std::strtod(line.c_str() + at, nullptr);
    } else if (line.find("* PASSIVE RESISTANCE IN PILE CAP *") != std::string::npos) {
      run.passive = next_numbers(k, plane ? 3 : 4);
      if (run.passive.empty()) run.readable = false;
    } else if (line.find("* PILE TOP REACTIONS *") != std::string::npos && run.piles.empty()) {
      std::size_t r = k + 1;
      while (r < lines.size() && lines[r].find("FOR. X") == std::string::npos &&
             lines[r].find("AXIAL") == std::string::npos)
        ++r;
      if (r >= lines.size() || lines[r].find("FOR. X") == std::string::npos) continue;  // the local table
      for (r += 2; r < lines.size(); ++r) {
        if (lines[r].find_first_not_of(' ') == std::string::npos) break;
        const Values v = line_numbers(lines[r]);
        if (v.size() < (plane ? 4u : 7u)) {
          run.readable = false;
          break;
        }
        run.piles.push_back(Values(v.begin() + 1, v.begin() + (plane ? 4 : 7)));
      }
    }
  }
  return runs;
}

// A head of the printed reactions: plan position (ft) and the piles it
// stands for (a plane row's).
struct PrintedHead {
  double y, z;
  int piles;
};

// How one printed run balances: the residual (load less what the piles and
// the cap's sides carry) and the limits it is held to.
struct RunBalance {
  std::array<double, 6> residual{};
  double force_limit = 0.0, moment_limit = 0.0;
  double force_share = 0.0, moment_share = 0.0;  // the residual over the scale
  bool balanced = false;
};

// force_unit: lb per printed force unit (1, or 1000 for kips); the printed
// moments are in force units times inches.
inline RunBalance printed_balance(const PrintedRun& run, const std::vector<PrintedHead>& heads, bool plane,
                                  double force_unit) {
  constexpr double FORCE_SHARE = 5e-4, MOMENT_SHARE = 1e-3;
  constexpr double FORCE_FLOOR = 10.0, MOMENT_FLOOR = 120.0;  // lb, lb-in
  RunBalance b;
  std::array<double, 6> carried{};
  double force_sum = 0.0, moment_sum = 0.0;
  for (std::size_t p = 0; p < run.piles.size() && p < heads.size(); ++p) {
    const Values& r = run.piles[p];
    const double n = heads[p].piles, y = 12.0 * heads[p].y, z = 12.0 * heads[p].z;
    std::array<double, 6> f{};
    if (plane) {
      f = {r[0], r[1], 0.0, 0.0, 0.0, r[2]};
    } else {
      std::copy(r.begin(), r.begin() + 6, f.begin());
    }
    // The moment about the origin of a force at (0, y, z) and the head moment.
    const std::array<double, 3> m = {f[3] + y * f[2] - z * f[1], f[4] + z * f[0], f[5] - y * f[0]};
    for (int k = 0; k < 3; ++k) {
      carried[k] += n * f[k];
      carried[k + 3] += n * m[k];
    }
    force_sum += n * std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    moment_sum += n * std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
  }
  if (!run.passive.empty()) {
    // The sides of the cap carry their force at the depth of its position
    // (ft); the printed size is signed along the cap's carried load (the
    // soil resists the movement the load drives).
    const double fy = run.passive[0], fz = plane ? 0.0 : run.passive[1];
    const double x = 12.0 * run.passive[plane ? 1 : 2];
    const double residual_y = run.load[1] - carried[1], residual_z = run.load[2] - carried[2];
    const double py = std::copysign(std::fabs(fy), residual_y), pz = std::copysign(std::fabs(fz), residual_z);
    carried[1] += py;
    carried[2] += pz;
    carried[4] += -x * pz;
    carried[5] += x * py;
    force_sum += std::hypot(py, pz);
    moment_sum += std::fabs(x) * std::hypot(py, pz);
  }
  const double load_force =
      std::sqrt(run.load[0] * run.load[0] + run.load[1] * run.load[1] + run.load[2] * run.load[2]);
  const double load_moment =
      std::sqrt(run.load[3] * run.load[3] + run.load[4] * run.load[4] + run.load[5] * run.load[5]);
  const double force_scale = std::max(load_force, force_sum), moment_scale = std::max(load_moment, moment_sum);
  b.force_limit = std::max(FORCE_SHARE * force_scale, FORCE_FLOOR / force_unit);
  b.moment_limit = std::max(MOMENT_SHARE * moment_scale, MOMENT_FLOOR / force_unit);
  b.balanced = run.readable && run.piles.size() == heads.size();
  double worst_force = 0.0, worst_moment = 0.0;
  for (int k = 0; k < 6; ++k) {
    b.residual[k] = run.load[k] - carried[k];
    const double r = std::fabs(b.residual[k]);
    if (k < 3) worst_force = std::max(worst_force, r);
    if (k >= 3) worst_moment = std::max(worst_moment, r);
    if (!(r <= (k < 3 ? b.force_limit : b.moment_limit))) b.balanced = false;
  }
  b.force_share = worst_force / std::max(force_scale, FORCE_FLOOR / force_unit);
  b.moment_share = worst_moment / std::max(moment_scale, MOMENT_FLOOR / force_unit);
  return b;
}

}  // namespace pilecap::testing
