// Sections 3 to 6 of the input file: load cases, load combinations and the
// two halves of the load-set table, and the checks of the load entries that
// need the piles and the load sets. Case i, entry j, point k are 1-based;
// lengths are in the input's units.
#include <string>
#include <utility>

#include "input/input_reader.hpp"
#include "model/analysis_control.hpp"

namespace pilecap::input_detail {

namespace {

// The options that add a line of envelope column flags.
constexpr int ENVELOPES_PRINTED = 1;
constexpr int POINT_LOADS_GIVEN = 1;
constexpr int PUSHOVER_ON = 1;
// The settings that end the point list of a cap-stiffness case, by their
// place after the point factors (0-based), and the two bases.
constexpr int STIFFNESS_SETTINGS = 12;
constexpr int SETTING_BASIS = 0;
constexpr int SETTING_TARGET_DOF = 1;
constexpr int SETTING_FIRST_TARGET = 2;  // the target displacement of DOF 1; DOF d at 1 + d
constexpr int SETTING_TOLERANCE = 8;     // per cent
constexpr int SETTING_RUNS = 9;          // runs allowed per point, the integer part
constexpr int BASIS_TOTAL_LOAD = 0;
constexpr int BASIS_TARGET_DEFLECTION = 1;
// Places of the counts on their lines (0-based).
constexpr int PUSHOVER_COUNT_PLACE = 10;  // case line 5
constexpr int MEMBER_COUNT_PLACE = 2;     // combination line 4

bool read_envelope_options(InputReader& in, int& count, int capacity, EnvelopeSettings& options,
                           Array1<int, RESULT_FLAGS_PER_LINE>& flags) {
  if (!in.read_counting({{0, capacity}}, count, options.print_envelopes, options.print_option, options.node_step,
                        options.fourth_value)) {
    return false;
  }
  if (options.print_envelopes >= ENVELOPES_PRINTED && !in.read(flags)) return false;
  return true;
}

// Lines 1 to 3 of a case or combination: controls and name. A load step
// that is not positive would never advance the load; one below the minimum
// step, or so small that the full load takes more steps than a run may make,
// would step on without end; an iteration limit beyond what the reports can
// number only lets a solution that does not converge run on for hours.
bool read_controls(InputReader& in, LoadControlTable& t, int i) {
  int unused = 0;
  if (!in.read(unused, unused, t.threads(i), t.loading_kind(i), t.cycles(i), t.max_iterations(i),
               t.llp_max_iterations(i))) {
    return false;
  }
  for (const int limit : {t.max_iterations(i), t.llp_max_iterations(i)}) {
    if (limit > MAX_ITERATION_LIMIT) {
      in.reject(std::to_string(limit), "ITERATION LIMIT ABOVE " + std::to_string(MAX_ITERATION_LIMIT));
      return false;
    }
  }
  if (!in.read(t.tolerance(i), t.llp_tolerance(i), t.initial_step(i), t.min_step(i))) return false;
  // A pile's deflections close only below their tolerance, and a cap
  // tolerance of 0 leaves only the tests of a vanishing increment.
  const std::pair<double, const char*> tolerances[] = {
      {t.tolerance(i), "THE TOLERANCE OF THE CAP MOVEMENT IS ABOVE 0"},
      {t.llp_tolerance(i), "THE TOLERANCE OF THE PILE DEFLECTIONS IS ABOVE 0"}};
  for (const auto& [tolerance, reason] : tolerances) {
    if (!(tolerance > 0.0)) {
      in.reject(number_text(tolerance), reason);
      return false;
    }
  }
  const double initial = t.initial_step(i);
  // The steps are fractions of the load: a first step beyond the whole load
  // computes no step at all.
  if (initial > 1.0) {
    in.reject(number_text(initial), "THE FIRST LOAD STEP IS A FRACTION ABOVE 0 AND AT MOST 1 (THE WHOLE LOAD)");
    return false;
  }
  for (const double step : {initial, t.min_step(i)}) {
    if (step <= 0.0) {
      in.reject(number_text(step), "LOAD STEPS MUST BE POSITIVE");
      return false;
    }
  }
  if (initial < t.min_step(i)) {
    in.reject(number_text(initial), "INITIAL STEP BELOW THE MINIMUM STEP " + number_text(t.min_step(i)));
    return false;
  }
  if (initial * MAX_LOAD_STEPS < 1.0) {
    in.reject(number_text(initial), "THE FULL LOAD TAKES MORE THAN " + std::to_string(MAX_LOAD_STEPS) + " STEPS");
    return false;
  }
  return in.text_line(t.name(i));
}

// One list of distributed-load or soil-movement entries of case i.
bool read_assignments(InputReader& in, int i, int& n, LoadAssignmentTable& a,
                      Array2<int, MAX_LOAD_CASES, MAX_CASE_LOADS>& lines, const char* item) {
  if (!in.read_count(n, item, MAX_CASE_LOADS)) return false;
  CountedList entries(in, item, n);
  for (int j = 1; j <= n; ++j) {
    entries.entry(j);
    if (!in.read(a.NL(i, j), a.AXIS(i, j), a.INI_PILE(i, j), a.END_PILE(i, j), a.INC_PILE(i, j), a.SET_Y(i, j),
                 a.FACTOR_Y(i, j), a.SET_Z(i, j), a.FACTOR_Z(i, j))) {
      return false;
    }
    lines(i, j) = in.line();
  }
  return true;
}

// The single reals, one per line, that follow a count just read.
// lines, when given, receives the line of each value.
template <int R, int C>
bool read_counted_values(InputReader& in, int& n, Array2<double, R, C>& values, int i, const char* item,
                         Array1<int, C>* lines = nullptr) {
  if (!in.count(n, item, C)) return false;
  CountedList list(in, item, n);
  for (int k = 1; k <= n; ++k) {
    list.entry(k);
    if (!in.read(values(i, k))) return false;
    if (lines != nullptr) (*lines)(k) = in.line();
  }
  return true;
}

// A list of single reals, one per line, after its count.
template <int R, int C>
bool read_value_list(InputReader& in, int& n, Array2<double, R, C>& values, int i, const char* item,
                     Array1<int, C>* lines = nullptr) {
  return in.read_counting({{0, C}}, n) && read_counted_values(in, n, values, i, item, lines);
}

bool read_concentrated_loads(InputReader& in, int i) {
  auto& c = LoadCase;
  auto& load = ConcentratedLoad;
  if (!in.read_count(c.num_conc_loads(i), "CONCENTRATED LOADS", MAX_CASE_LOADS)) return false;
  CountedList loads(in, "CONCENTRATED LOADS", c.num_conc_loads(i));
  for (int j = 1; j <= c.num_conc_loads(i); ++j) {
    loads.entry(j);
    if (!in.read(load.force_x(i, j), load.force_y(i, j), load.moment_z(i, j), load.force_z(i, j), load.moment_y(i, j),
                 load.moment_x(i, j), load.point_x(i, j), load.point_y(i, j), load.point_z(i, j))) {
      return false;
    }
  }
  return true;
}

bool read_specified_dofs(InputReader& in, int i) {
  auto& d = SpecifiedDofData;
  return in.read(row(d.flags, i, 1, INPUT_DOFS)) && in.read(row(d.row_a, i, 1, INPUT_DOFS)) &&
         in.read(row(d.row_b, i, 1, INPUT_DOFS)) && in.read(row(d.point, i, 1, POINT_COORDINATES));
}

// The settings that end the point list of a cap-stiffness case (more than
// STIFFNESS_SETTINGS values): a basis the points cannot run, or a target
// search without a DOF, a target, a tolerance or a run is refused at the
// value's own line.
bool stiffness_settings_usable(InputReader& in, int i, const Array1<int, MAX_CASE_POINTS>& lines) {
  const int n = LoadCase.num_points(i);
  if (LoadCase.analysis_kind(i) < ANALYSIS_KIND_CAP_STIFFNESS || n <= STIFFNESS_SETTINGS) return true;
  const int offset = n - STIFFNESS_SETTINGS;
  auto at = [&](int setting) { return offset + 1 + setting; };
  auto value = [&](int setting) { return LoadCase.point_factors(i, at(setting)); };
  auto refuse = [&](int setting, const std::string& reason) {
    in.reject_at(SECTION_LOAD_CASES, lines(at(setting)), number_text(value(setting)), reason);
    return false;
  };
  const int basis = static_cast<int>(value(SETTING_BASIS));
  if (basis != BASIS_TOTAL_LOAD && basis != BASIS_TARGET_DEFLECTION) {
    return refuse(SETTING_BASIS, "THE STIFFNESS BASIS IS 0 (TOTAL LOAD) OR 1 (TARGET DEFLECTION)");
  }
  if (basis == BASIS_TOTAL_LOAD) return true;
  // The plane takes DOF 6 for its rotation, DOF 3.
  const int dof = static_cast<int>(value(SETTING_TARGET_DOF));
  const bool plane = RunOptions.dimension == MODEL_2D;
  const bool known = plane ? (dof >= 1 && dof <= CAP_DOFS_2D) || dof == CAP_DOFS : dof >= 1 && dof <= CAP_DOFS;
  if (!known) {
    return refuse(SETTING_TARGET_DOF, plane ? "THE TARGET DOF IS 1, 2, 3 OR 6" : "THE TARGET DOF IS 1 TO 6");
  }
  const int target = SETTING_FIRST_TARGET + STIFFNESS_TARGET_SLOT(RunOptions.dimension, dof) - 1;
  if (value(target) == 0.0) return refuse(target, "THE TARGET DISPLACEMENT OF DOF " + std::to_string(dof) + " IS 0");
  if (!(value(SETTING_TOLERANCE) > 0.0)) {
    return refuse(SETTING_TOLERANCE, "THE TOLERANCE OF THE TARGET SEARCH IS ABOVE 0 PER CENT");
  }
  if (static_cast<int>(value(SETTING_RUNS)) < 1) {
    return refuse(SETTING_RUNS, "THE TARGET SEARCH MAKES AT LEAST 1 RUN PER POINT");
  }
  return true;
}

// The eight flags of an incremental analysis switch each quantity between
// kept constant (1) and growing with the load factor (0).
bool incremental_flags_usable(InputReader& in, int i) {
  for (int k = 1; k <= CASE_DOF_FLAGS; ++k) {
    const int flag = LoadCase.dof_flags(i, k);
    if (flag != 0 && flag != 1) {
      in.reject(std::to_string(flag), "AN INCREMENTAL-ANALYSIS FLAG IS 0 OR 1");
      return false;
    }
  }
  return true;
}

bool read_load_case(InputReader& in, int i) {
  auto& c = LoadCase;
  int unused = 0;
  auto& lines = in.entry_lines();
  Array1<int, MAX_CASE_POINTS> point_lines{};
  if (!read_controls(in, c, i)) return false;
  if (!in.read(c.load_type(i), c.analysis_kind(i), c.flexibility_report(i), c.diagonal_only(i), unused, unused,
               c.axial_as_head_load(i), c.point_loads_flag(i))) {
    return false;
  }
  // Any other flag would make a point run without point data.
  const int flag = c.point_loads_flag(i);
  if (flag != 0 && flag != POINT_LOADS_GIVEN) {
    in.reject(std::to_string(flag), "POINT-LOADS FLAG NOT 0 OR 1");
    return false;
  }
  if (!in.read_counting({{PUSHOVER_COUNT_PLACE, MAX_CASE_POINTS}}, c.print_option(i), c.node_step(i), c.scale_factor(i),
                        c.use_max_limits(i), c.max_dsp_limit(i), c.max_rot_limit(i), c.axial_variation(i),
                        c.not_analysed(i), c.ei_previous(i), c.pushover(i), c.count2(i))) {
    return false;
  }
  // The pushover flag is a switch.
  if (c.pushover(i) != 0 && c.pushover(i) != PUSHOVER_ON) {
    in.reject(std::to_string(c.pushover(i)), "PUSHOVER FLAG NOT 0 OR 1");
    return false;
  }
  if (!in.read(unused) || !in.read(row(ResultColumnSelection.case_flags, i, 1, RESULT_FLAGS_PER_LINE))) return false;
  if (!read_concentrated_loads(in, i) ||
      !read_assignments(in, i, c.num_dist_loads(i), LoadAssignment.distributed, lines.distributed,
                        "DISTRIBUTED LOAD ENTRIES") ||
      !read_value_list(in, c.num_points(i), c.point_factors, i, "POINTS OF A LOAD CASE", &point_lines) ||
      !stiffness_settings_usable(in, i, point_lines)) {
    return false;
  }
  if (flag == POINT_LOADS_GIVEN && !read_specified_dofs(in, i)) return false;
  // The second count of the pushover factors replaces the one of line 5. A
  // negative count would leave the factor lines to be read as what follows.
  if (!in.read_counting({{0, MAX_CASE_POINTS}}, c.count2(i))) return false;
  if (c.count2(i) < 0) {
    in.reject(std::to_string(c.count2(i)), "PUSHOVER FACTOR COUNT BELOW 0");
    return false;
  }
  return read_counted_values(in, c.count2(i), c.pushover_factors, i, "PUSHOVER LOAD FACTORS") &&
         in.read(row(c.dof_flags, i, 1, CASE_DOF_FLAGS)) && incremental_flags_usable(in, i) &&
         read_assignments(in, i, c.num_soil_moves(i), LoadAssignment.soil_movement, lines.soil_movement,
                          "SOIL MOVEMENT ENTRIES");
}

bool read_load_combination(InputReader& in, int j) {
  auto& c = LoadCombination;
  int unused = 0;
  if (!read_controls(in, c, j)) return false;
  if (!in.read_counting({{MEMBER_COUNT_PLACE, MAX_CASE_LOADS}}, c.load_scale(j, 1), c.load_scale(j, 2),
                        c.member_count(j)) ||
      !in.read(c.print_option(j), c.node_step(j), c.use_max_limits(j), c.max_dsp_limit(j), c.max_rot_limit(j),
               c.axial_variation(j), c.not_analysed(j), c.ei_previous(j)) ||
      !in.read(unused) || !in.read(row(ResultColumnSelection.combination_flags, j, 1, RESULT_FLAGS_PER_LINE))) {
    return false;
  }
  // The second member count replaces the one of line 4.
  if (!in.read_count(c.member_count(j), "MEMBER CASES", MAX_CASE_LOADS)) return false;
  CountedList members(in, "MEMBER CASES", c.member_count(j));
  for (int m = 1; m <= c.member_count(j); ++m) {
    members.entry(m);
    if (!in.read(c.member_case(j, m), c.member_factor(j, m))) return false;
    const int member = c.member_case(j, m);
    if (member < 1 || member > LoadCase.count) {
      in.reject(std::to_string(member), "NO SUCH LOAD CASE");
      return false;
    }
  }
  return true;
}

constexpr int LAST_PILE_IS_FIRST = 0;  // an entry's END_PILE that names its first pile alone

// Pile range and load sets of one entry; false after rejecting it. A last
// pile of 0 means the first pile alone and a step of 0 the range's two ends,
// as the loads along the piles read them: both are ranges a user may write.
bool check_entry(InputReader& in, const LoadAssignmentTable& a, int i, int j, int line, int n_piles, int n_sets) {
  const int first = a.INI_PILE(i, j);
  const int last = a.END_PILE(i, j);
  const bool last_beyond = last != LAST_PILE_IS_FIRST && (last < 1 || last > n_piles);
  if (first < 1 || first > n_piles || last_beyond) {
    in.reject_at(SECTION_LOAD_CASES, line, std::to_string(first) + " " + std::to_string(last),
                 "PILE RANGE BEYOND THE PILES");
    return false;
  }
  for (const int set : {a.SET_Y(i, j), RunOptions.dimension == MODEL_3D ? a.SET_Z(i, j) : 0}) {
    if (set < 0 || set > n_sets) {
      in.reject_at(SECTION_LOAD_CASES, line, std::to_string(set), "NO SUCH LOAD SET");
      return false;
    }
  }
  return true;
}

}  // namespace

void read_load_cases(InputReader& in) {
  auto& c = LoadCase;
  if (!in.header(SECTION_LOAD_CASES) ||
      !read_envelope_options(in, c.count, MAX_LOAD_CASES, EnvelopeOptions.cases,
                             ResultColumnSelection.case_envelope_flags) ||
      !in.count(c.count, "LOAD CASES", MAX_LOAD_CASES)) {
    return;
  }
  CountedList cases(in, "LOAD CASES", c.count);
  for (int i = 1; i <= c.count; ++i) {
    cases.entry(i);
    if (!read_load_case(in, i)) return;
  }
}

void read_load_combinations(InputReader& in) {
  auto& c = LoadCombination;
  if (!in.header(SECTION_LOAD_COMBINATIONS) ||
      !read_envelope_options(in, c.count, MAX_LOAD_COMBINATIONS, EnvelopeOptions.combinations,
                             ResultColumnSelection.combination_envelope_flags) ||
      !in.count(c.count, "LOAD COMBINATIONS", MAX_LOAD_COMBINATIONS)) {
    return;
  }
  CountedList combinations(in, "LOAD COMBINATIONS", c.count);
  for (int j = 1; j <= c.count; ++j) {
    combinations.entry(j);
    if (!read_load_combination(in, j)) return;
  }
}

void read_load_sets(InputReader& in, int section, LoadSetHalf& half) {
  if (!in.section_count(section, half.count, "LOAD SETS", MAX_LOAD_SETS)) return;
  CountedList sets(in, "LOAD SETS", half.count);
  for (int s = 1; s <= half.count; ++s) {
    sets.entry(s);
    int& n_points = half.num_points(s);
    if (!in.read_count(n_points, "POINTS OF A LOAD SET", MAX_SET_POINTS)) return;
    CountedList points(in, "POINTS OF A LOAD SET", n_points);
    for (int p = 1; p <= n_points; ++p) {
      points.entry(p);
      if (!in.read(half.depth(s, p), half.value(s, p))) return;
    }
  }
}

void check_load_entries(InputReader& in) {
  if (!in.ok()) return;
  const int n_piles =
      RunOptions.dimension == MODEL_3D ? PileArrangementInput.n_piles_3d : PileArrangementInput.n_rows_2d;
  const auto& lines = in.entry_lines();
  for (int i = 1; i <= LoadCase.count; ++i) {
    for (int j = 1; j <= LoadCase.num_dist_loads(i); ++j) {
      if (!check_entry(in, LoadAssignment.distributed, i, j, lines.distributed(i, j), n_piles,
                       LoadSetTable.loads.count)) {
        return;
      }
    }
    for (int j = 1; j <= LoadCase.num_soil_moves(i); ++j) {
      if (!check_entry(in, LoadAssignment.soil_movement, i, j, lines.soil_movement(i, j), n_piles,
                       LoadSetTable.movements.count)) {
        return;
      }
    }
  }
}

}  // namespace pilecap::input_detail
