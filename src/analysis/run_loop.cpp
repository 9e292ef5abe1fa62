// The analysis driver: every load case in input order, then every load
// combination, each with its report headings, its progress records and stop
// polls, its control values, its loads (resultant at the origin, loads and
// displacements prescribed at a point, distributed loads and soil movements
// along the piles) and its solver run; then the envelopes, TABLE N and the
// plot-data file. Cap vectors are 1-based 6-vectors in the cap order; for a
// 2D run entry 6 (moment Z) is also copied into entry 3. Runs on the
// calling thread.
#include <omp.h>

#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "analysis/case_runs.hpp"
#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "cap/cap_solver.hpp"
#include "cap/model_road.hpp"
#include "cap/progress_files.hpp"
#include "capstiffness/capstiffness.hpp"
#include "echo/echo.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

RunEndHook run_end_hook = nullptr;
RunStartHook run_start_hook = nullptr;

// The road of the model the loop analyses and the feature of it whose
// analysis is not built yet (empty when the model can be analysed); both
// chosen once, as the loop starts, and the road dropped as it ends.
const ModelRoad* chosen_road = nullptr;
std::string unsupported_feature;

struct RoadChoice {
  RoadChoice() { chosen_road = &MODEL_ROAD(CAP_MODEL_KIND()); }
  ~RoadChoice() { chosen_road = nullptr; }
  RoadChoice(const RoadChoice&) = delete;
  RoadChoice& operator=(const RoadChoice&) = delete;
};

constexpr int NOT_ANALYSED = 1;
constexpr int POINT_LOADS_GIVEN = 1;
constexpr int PLOT_EXPORT_ON = 1;
// Values of a stiffness-estimation point list that follow its point factors.
constexpr int STIFFNESS_SETTINGS = 12;

// ---- layouts of the run-loop reports ----
constexpr const char* PROCEEDING_LAYOUT = "(/,/,/,5X,\"COMPUTATION IS PROCEEDING......\")";
//                  *****     COMPUTATION RESULTS     *****
constexpr const char* RESULTS_BANNER_LAYOUT = "(/,/,/,/,17X,\"*****\",5X,\"COMPUTATION RESULTS\",5X,\"*****\",/)";
constexpr const char* REPORT_TITLE_LAYOUT = "(/,/,5X,20A4)";
constexpr const char* COMPUTATION_BANNER_LAYOUT = "(\"** COMPUTATION RESULTS **\")";
constexpr const char* CODES_BANNER_LAYOUT = "(\"COMPUTATION RESULTS\")";
constexpr const char* TITLE_LAYOUT = "(20A4)";

// Texts of one pass: the load cases or the load combinations.
struct PassLayouts {
  const char* scratch_banner;   // unit 30, before the first run of the pass
  const char* report_banner;    // units 16 and 18
  const char* short_banner;     // units 14 and 19
  const char* heading;          // units 16, 18 and 10: number and name
  const char* short_heading;    // units 14 and 19: number
  const char* not_analysed;     // units 16, 18 and 10
  const char* scratch_heading;  // unit 30
  const char* finished;         // unit 10
};

constexpr PassLayouts CASE_LAYOUTS{
    "(/,/,17X,\"*****\",5X,\"LOAD CASES RESULTS \",5X,\"*****\")",
    "(/,/,/,/,17X,\"*****\",5X,\"LOAD CASES RESULTS \",5X,\"*****\")",
    "(\"LOAD CASES RESULTS \")",
    //      LOAD CASE :     1
    //      CASE NAME : <80 characters>
    "(/,/,/,5X,\"LOAD CASE : \",I5,/,5X,\"CASE NAME : \",A80)",
    "(\"LOAD CASE : \",I5)",
    "(5X,\"NOTE: LOAD CASE WILL NOT BE ANALYZED\")",
    "(/,5X,\"LOAD CASE : \",I5)",
    //      ANALYSIS FOR LOAD CASE   1/  3 FINISHED
    "(\"     ANALYSIS FOR LOAD CASE \",I3,\"/\",I3,\" FINISHED\",/)",
};

constexpr PassLayouts COMBINATION_LAYOUTS{
    "(/,/,17X,\"*****\",5X,\"LOAD COMBINATIONS RESULTS \",5X,\"*****\")",
    "(/,/,/,/,17X,\"*****\",5X,\"LOAD COMBINATIONS RESULTS \",5X,\"*****\")",
    "(\"LOAD COMBINATIONS RESULTS \")",
    "(/,/,/,5X,\"LOAD COMB. : \",I5,/,5X,\"COMB. NAME : \",A80)",
    "(\"LOAD COMB. : \",I5)",
    "(5X,\"NOTE: LOAD COMB WILL NOT BE ANALYZED\")",
    "(/,5X,\"LOAD COMB : \",I5)",
    "(\"     ANALYSIS FOR LOAD COMB. \",I3,\"/\",I3,\" FINISHED\",/)",
};

//      LOAD TYPE : <32 characters>
constexpr const char* LOAD_TYPE_LAYOUT = "(5X,\"LOAD TYPE : \",A32)";
constexpr const char* NOT_RUN_LAYOUT = "(\"       ANALYSIS TO NOT RUN   \")";
constexpr const char* DUMP_CASE_LAYOUT = "(\"LOAD CASE : \",I5)";
constexpr const char* SPRINGS_CASE_LAYOUT = "(\"LOAD CASE : \",I5)";
constexpr const char* TOTAL_LOAD_LAYOUT = "(6X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TABLE_N_LAYOUT = "(/,/,/,/,/,5X,\"* TABLE N *   PRINTED P-Y CURVES\")";
//          12         3         1
constexpr const char* PLOT_HEADER_LAYOUT = "(3I10)";

// In the plane the solver reads the moment about Z as entry 3.
template <class T>
void fold_2d(Array1<T, CAP_DOFS>& v) {
  if (RUN_MODEL_ROAD().kind == CapModelKind::PLANE_RIGID) v(3) = v(6);
}

void write_to(std::initializer_list<int> units, const char* layout) {
  for (int unit : units) fio::write(unit, layout);
}

// Everything of the loop's own state starts afresh in every run; the thread
// counts and the pass mode were set by the run sequence just before.
void reset_loop_state() {
  const AnalysisControlRecord kept = AnalysisControl;
  AnalysisControl = AnalysisControlRecord{};
  AnalysisControl.threads_wanted = kept.threads_wanted;
  AnalysisControl.threads_available = kept.threads_available;
  AnalysisControl.threads_host_set = kept.threads_host_set;
  AnalysisControl.threads_used_max = kept.threads_used_max;
  AnalysisControl.threads_free = kept.threads_free;
  AnalysisControl.pass_mode = kept.pass_mode;
  CapEnvelope = CapEnvelopeRecord{};
  DofRunMode = DofRunModeRecord{};
  TargetDeflectionSearch = TargetDeflectionSearchRecord{};
  PileLoadProfile.axial_present = 0;
  // The curve state, the plot code the criteria leave included, starts
  // afresh in every run.
  GeneratedPyCurve = GeneratedPyCurveRecord{};
  CapPassiveState = CapPassiveStateRecord{};
  unsupported_feature = RUN_MODEL_ROAD().refused_feature();
}

// The control values that cases and combinations share.
void copy_controls(const LoadControlTable& t, int i) {
  auto& a = AnalysisControl;
  a.current_run = i;
  a.loading_kind = t.loading_kind(i);
  a.cycles = static_cast<double>(t.cycles(i));
  a.threads_wanted = t.threads(i);
  a.output_option = t.print_option(i);
  a.output_count = t.node_step(i);
  a.max_iterations = t.max_iterations(i);
  a.llp_max_iterations = t.llp_max_iterations(i);
  a.tolerance = t.tolerance(i);
  a.llp_tolerance = t.llp_tolerance(i);
  a.initial_step = t.initial_step(i);
  a.min_step = t.min_step(i);
  a.use_max_limits = t.use_max_limits(i);
  a.max_dsp_limit = t.max_dsp_limit(i);
  a.max_rot_limit = t.max_rot_limit(i);
  a.axial_variation = t.axial_variation(i);
  a.ei_previous = t.ei_previous(i);
}

// The case's own values and its number of points: one total-load point,
// after the DOF points of a flexibility estimation, the factor points of a
// stiffness estimation and the pushover points.
void copy_case_controls(int i) {
  auto& a = AnalysisControl;
  const auto& c = LoadCase;
  copy_controls(c, i);
  a.load_scale(1) = 1.0;
  a.load_scale(2) = 1.0;
  a.analysis_kind = c.analysis_kind(i);
  a.point_value_count = c.num_points(i);
  a.pushover_flag = c.pushover(i);
  a.pushover_points = c.count2(i);
  a.pushover_active = 0;
  if (a.analysis_kind > ANALYSIS_KIND_PLAIN) {
    for (int k = 1; k <= MAX_POINT_VALUES; ++k) a.point_factors(k) = c.point_factors(i, k);
  }
  if (a.pushover_flag > 0) {
    for (int k = 1; k <= MAX_POINT_VALUES; ++k) a.point_multipliers(k) = c.pushover_factors(i, k);
    for (int k = 1; k <= CASE_COMPONENT_FLAGS; ++k) a.unscaled_components(k) = c.dof_flags(i, k);
  }
  const int n_dofs = RUN_MODEL_ROAD().dofs;
  const int n_values = a.point_value_count;
  if (a.analysis_kind >= ANALYSIS_KIND_CAP_STIFFNESS) {
    a.point_count = (n_values > STIFFNESS_SETTINGS ? n_values - STIFFNESS_SETTINGS : n_values) + 1;
  } else if (a.analysis_kind >= ANALYSIS_KIND_CAP_FLEXIBILITY) {
    a.point_count = n_dofs + 1;
  } else {
    a.point_count = 1;
  }
  if (a.pushover_flag > 0) a.point_count += a.pushover_points;
  a.current_point = 1;
  a.current_dof = 1;
}

void copy_combination_controls(int j) {
  auto& a = AnalysisControl;
  copy_controls(LoadCombination, j);
  a.load_scale(1) = LoadCombination.load_scale(j, 1);
  a.load_scale(2) = LoadCombination.load_scale(j, 2);
  a.analysis_kind = ANALYSIS_KIND_PLAIN;
  a.pushover_active = 0;
  a.point_count = 1;
  a.current_point = 1;
  a.current_dof = 1;
}

// The resultant at the origin and the prescribed-point data of case i; the
// prescribed displacements are kept aside because the solver overwrites them.
void load_case_vectors(int i, RunVectors& v) {
  CASE_LOAD_AT_ORIGIN(i, v.cap_load.data());
  if (LoadCase.point_loads_flag(i) == POINT_LOADS_GIVEN) {
    CASE_SPECIFIED_DOFS(i, v.cap_load.data(), v.point_loads.data(), v.point_displacements.data(), v.point.data(),
                        v.dof_flags.data());
  }
}

void keep_working_vectors(RunVectors& v) {
  v.working_load = v.cap_load;
  fold_2d(v.working_load);
  v.saved_displacements = v.point_displacements;
  fold_2d(v.saved_displacements);
  fold_2d(v.dof_flags);
}

void solve(int run_kind, RunVectors& v, int& status) {
  if (!unsupported_feature.empty()) {
    REPORT_UNSUPPORTED_RUN(unsupported_feature);
    return;
  }
  int print_flags = 0;
  RUN_MODEL_ROAD().solve(run_kind, print_flags, status, v.equivalent_load.data(), v.cap_displacement.data(),
                         v.cap_load.data(), v.point_loads.data(), v.point_displacements.data(), v.point.data(),
                         v.dof_flags.data());
  fio::flush(UNIT_RUN_LOG);
}

// Start of a pass: its banners, a fresh envelope run counter and envelopes.
void start_pass(const PassLayouts& layouts) {
  fio::write(UNIT_SUMMARY_SCRATCH, layouts.scratch_banner);
  write_to({UNIT_RESULTS_REPORT, UNIT_SUMMARY}, layouts.report_banner);
  write_to({UNIT_COMPUTATION_REPORT, UNIT_RESULT_CODES}, layouts.short_banner);
  AnalysisControl.first_run = 1;
  RUN_MODEL_ROAD().reset_envelopes();
}

void write_heading(const PassLayouts& layouts, int n, const std::string& name, bool is_case, int load_type) {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, layouts.heading, n, name);
    if (is_case) {
      std::string type_name;
      LOAD_TYPE_NAME(load_type, type_name);
      type_name.resize(LOAD_TYPE_NAME_LENGTH, ' ');
      fio::write(unit, LOAD_TYPE_LAYOUT, type_name);
    }
  }
  fio::write(UNIT_RUN_LOG, layouts.heading, n, name);
  fio::flush(UNIT_RUN_LOG);
  fio::write(UNIT_COMPUTATION_REPORT, layouts.short_heading, n);
  fio::write(UNIT_RESULT_CODES, layouts.short_heading, n);
}

void report_not_analysed(const PassLayouts& layouts) {
  write_to({UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}, layouts.not_analysed);
  fio::write(UNIT_RESULT_CODES, NOT_RUN_LAYOUT);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

// The end of an analysed case or combination: progress record, run-log
// line, timing of the run; then the test hook.
void end_of_run(const PassLayouts& layouts, int run_kind, int n, int m) {
  WRITE_STATUS_LINE(run_kind, true, n, m);
  fio::write(UNIT_RUN_LOG, layouts.finished, n, m);
  fio::flush(UNIT_RUN_LOG);
  const double elapsed = omp_get_wtime() - RunTimers.run_clock;
  RunTimers.case_time = elapsed - RunTimers.case_mark;
  PRINT_TIMING_SUMMARY(0);
  RunTimers.case_mark = elapsed;
  RunTimers.parallel_time = 0.0;
  RunTimers.serial_time = 0.0;
  RunTimers.print_time = 0.0;
  if (run_end_hook != nullptr) run_end_hook(run_kind, n);
}

// Units a stop or a failure leaves open are closed before the loop returns.
void close_case_units() {
  fio::close(UNIT_FLEXIBILITY_COLUMNS);
  fio::close(UNIT_DOF_RUN_STEPS);
  fio::close(UNIT_EQUIVALENT_STIFFNESS);
}

// Hands the load at the origin of a case or combination to the host's hook.
void announce_start(int run_kind, int n) {
  if (run_start_hook == nullptr) return;
  Array1<double, CAP_DOFS> load{};
  if (run_kind == RUN_KIND_CASE) {
    CASE_LOAD_AT_ORIGIN(n, load.data());
  } else {
    COMBINATION_LOAD_AT_ORIGIN(n, load.data());
  }
  for (double& value : load) value = KIPS_FROM_POUNDS(value);
  const std::string force = LABEL_TEXT(UnitLabels.force_short());
  const std::string moment = force + std::string(UnitLabels.dash()) + LABEL_TEXT(UnitLabels.moment_length());
  run_start_hook(run_kind, n, load.data(), force.c_str(), moment.c_str());
}

// The case loop; false when it ended the analysis (stop or failure).
bool run_load_cases(int& status) {
  const int n_cases = LoadCase.count;
  RunVectors v;
  for (int i = 1; i <= n_cases; ++i) {
    announce_start(RUN_KIND_CASE, i);
    WRITE_STATUS_LINE(RUN_KIND_CASE, false, i, n_cases);
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      close_case_units();
      return false;
    }
    AnalysisControl.current_run = i;
    AnalysisControl.current_combination = 0;
    AnalysisControl.analysis_kind = ANALYSIS_KIND_PLAIN;
    if (i == 1) start_pass(CASE_LAYOUTS);
    write_heading(CASE_LAYOUTS, i, LoadCase.name(i), true, LoadCase.load_type(i));
    if (LoadCase.not_analysed(i) == NOT_ANALYSED) {
      report_not_analysed(CASE_LAYOUTS);
      continue;
    }
    fio::write(UNIT_SUMMARY_SCRATCH, CASE_LAYOUTS.scratch_heading, i);
    fio::write(UNIT_ITERATION_DUMP, DUMP_CASE_LAYOUT, i);
    copy_case_controls(i);

    v = RunVectors{};
    load_case_vectors(i, v);
    if (AnalysisControl.analysis_kind > ANALYSIS_KIND_PLAIN) {
      CLEAR_DISTRIBUTED_LOADS();
      CLEAR_SOIL_MOVEMENTS();
    } else {
      CASE_DISTRIBUTED_LOADS(i);
      CASE_SOIL_MOVEMENTS(i);
    }
    keep_working_vectors(v);

    if (AnalysisControl.point_count > 1 && !unsupported_feature.empty()) {
      REPORT_UNSUPPORTED_RUN(unsupported_feature);
    } else if (AnalysisControl.point_count > 1) {
      RUN_ESTIMATION_POINTS(i, v, status);
    } else {
      RUN_TOTAL_LOAD_POINT(i, v, status);
    }
    if (status != STATUS_OK) {
      close_case_units();
      return false;
    }
    end_of_run(CASE_LAYOUTS, RUN_KIND_CASE, i, n_cases);
    CHECK_FILE_WRITES(status);
    if (status != STATUS_OK) {
      close_case_units();
      return false;
    }
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      close_case_units();
      return false;
    }
  }
  return true;
}

// The combination loop; false when it ended the analysis.
bool run_load_combinations(int& status) {
  const int n_combinations = LoadCombination.count;
  RunVectors v;
  for (int j = 1; j <= n_combinations; ++j) {
    announce_start(RUN_KIND_COMBINATION, j);
    WRITE_STATUS_LINE(RUN_KIND_COMBINATION, false, j, n_combinations);
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      fio::close(UNIT_DOF_RUN_STEPS);
      return false;
    }
    AnalysisControl.current_run = j;
    AnalysisControl.current_combination = j;
    AnalysisControl.analysis_kind = ANALYSIS_KIND_PLAIN;
    if (j == 1) start_pass(COMBINATION_LAYOUTS);
    write_heading(COMBINATION_LAYOUTS, j, LoadCombination.name(j), false, 0);
    if (LoadCombination.not_analysed(j) == NOT_ANALYSED) {
      report_not_analysed(COMBINATION_LAYOUTS);
      continue;
    }
    fio::write(UNIT_SUMMARY_SCRATCH, COMBINATION_LAYOUTS.scratch_heading, j);
    copy_combination_controls(j);

    v = RunVectors{};
    COMBINATION_LOAD_AT_ORIGIN(j, v.cap_load.data());
    COMB_DISTRIBUTED_LOADS(j);
    DISTRIBUTED_LOAD_RESULTANT(v.cap_load.data());
    COMB_SOIL_MOVEMENTS(j);
    keep_working_vectors(v);

    v.cap_load = v.working_load;
    fio::write(UNIT_RESULT_CODES, TOTAL_LOAD_LAYOUT);
    status = STATUS_OK;
    if (SoilMovementProfile.count >= 1) SCALE_MOVEMENT_PROFILE(0);
    solve(RUN_KIND_COMBINATION, v, status);
    if (status != STATUS_OK) {
      fio::close(UNIT_DOF_RUN_STEPS);
      return false;
    }
    end_of_run(COMBINATION_LAYOUTS, RUN_KIND_COMBINATION, j, n_combinations);
    CHECK_FILE_WRITES(status);
    if (status != STATUS_OK) {
      fio::close(UNIT_DOF_RUN_STEPS);
      return false;
    }
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      fio::close(UNIT_DOF_RUN_STEPS);
      return false;
    }
  }
  return true;
}

void print_envelopes(int kind, int& status) {
  // A refused model has no runs to envelope.
  if (!unsupported_feature.empty()) return;
  const bool asked = kind == ENVELOPE_KIND_CASES ? EnvelopeOptions.cases.print_envelopes > 0
                                                 : EnvelopeOptions.combinations.print_envelopes > 0;
  if (!asked) return;
  // A pass without runs has no envelopes of its own: its stores still hold
  // the last pass's, which would print under the wrong titles.
  const int n_runs = kind == ENVELOPE_KIND_CASES ? LoadCase.count : LoadCombination.count;
  if (n_runs < 1) return;
  RUN_MODEL_ROAD().write_envelopes(kind, status);
}

// The first record of the plot-data file, then every pile's blocks. The
// writers report into a word of the export, whatever an earlier step left
// in the status word; the first failure ends the export (the failing node's
// count record says "no points", so the file reads cleanly to its end) and
// its code becomes the run's.
void write_plot_data(int& status) {
  const int n_piles = PileTable.n_piles;
  if (RunOptions.export_unformatted == 0) {
    fio::write(UNIT_CURVE_EXPORT, PLOT_HEADER_LAYOUT, n_piles, RunOptions.dimension, RunOptions.units);
  } else {
    fio::write_record(UNIT_CURVE_EXPORT, n_piles, RunOptions.dimension, RunOptions.units);
  }
  if (n_piles < 1) return;
  GeneratedPyCurve.from_plot_list = 1;
  RunOptions.print_py_curves = 1;
  int export_status = STATUS_OK;
  for (int p = 1; p <= n_piles && export_status == STATUS_OK; ++p) {
    WRITE_PLOT_PILE_GEOMETRY(p, export_status);
    if (export_status == STATUS_OK) WRITE_PLOT_PY_CURVES(p, export_status);
    if (export_status == STATUS_OK) WRITE_PLOT_TZ_CURVES(p, export_status);
    if (export_status == STATUS_OK && RUN_MODEL_ROAD().torsion_curves) WRITE_PLOT_TQ_CURVES(p, export_status);
  }
  if (export_status != STATUS_OK) status = export_status;
}

}  // namespace

void RUN_CASE_ONCE(int c, RunVectors& v, int& status) {
  v.cap_load = v.working_load;
  if (LoadCase.point_loads_flag(c) == POINT_LOADS_GIVEN) v.point_displacements = v.saved_displacements;
  // The points of a stiffness estimation read the file back: there it must
  // be written whole.
  const bool springs_read = TargetDeflectionSearch.active == 1;
  status = STATUS_OK;
  if (!OPEN_FILE_FOR_WRITING(UNIT_EQUIVALENT_SPRINGS, RunFiles.equivalent_springs_file, status)) return;
  fio::write(UNIT_EQUIVALENT_SPRINGS, SPRINGS_CASE_LAYOUT, c);
  if (SoilMovementProfile.count >= 1) SCALE_MOVEMENT_PROFILE(c);
  solve(RUN_KIND_CASE, v, status);
  const bool flushed = fio::flush(UNIT_EQUIVALENT_SPRINGS) == fio::IO_OK;
  fio::close(UNIT_EQUIVALENT_SPRINGS);
  if (!flushed && springs_read && status == STATUS_OK) SPRINGS_FILE_FAILED(status);
}

void LOAD_CASE_FULL_LOADS(int c, RunVectors& v) {
  load_case_vectors(c, v);
  CASE_DISTRIBUTED_LOADS(c);
  DISTRIBUTED_LOAD_RESULTANT(v.cap_load.data());
  CASE_SOIL_MOVEMENTS(c);
  keep_working_vectors(v);
}

void RUN_TOTAL_LOAD_POINT(int c, RunVectors& v, int& status) {
  LOAD_CASE_FULL_LOADS(c, v);
  fio::write(UNIT_RESULT_CODES, TOTAL_LOAD_LAYOUT);
  RUN_CASE_ONCE(c, v, status);
}

const ModelRoad& RUN_MODEL_ROAD() { return chosen_road != nullptr ? *chosen_road : MODEL_ROAD(CAP_MODEL_KIND()); }

void set_run_end_hook(RunEndHook hook) { run_end_hook = hook; }
void set_run_start_hook(RunStartHook hook) { run_start_hook = hook; }

void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status) {
  const RoadChoice choice;
  reset_loop_state();
  fio::write(UNIT_RUN_LOG, PROCEEDING_LAYOUT);
  const std::vector<std::string> title = RUN_TITLE_WORDS();
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, RESULTS_BANNER_LAYOUT);
    fio::write(unit, REPORT_TITLE_LAYOUT, title);
  }
  fio::write(UNIT_COMPUTATION_REPORT, COMPUTATION_BANNER_LAYOUT);
  fio::write(UNIT_COMPUTATION_REPORT, TITLE_LAYOUT, title);
  fio::write(UNIT_RESULT_CODES, CODES_BANNER_LAYOUT);
  fio::write(UNIT_RESULT_CODES, TITLE_LAYOUT, title);
  AnalysisControl.first_run = 0;
  if (!OPEN_FILE_FOR_WRITING(UNIT_EQUIVALENT_STIFFNESS, RunFiles.equivalent_stiffness_file, status)) return;

  if (!run_load_cases(status)) return;
  fio::close(UNIT_EQUIVALENT_STIFFNESS);
  print_envelopes(ENVELOPE_KIND_CASES, status);
  if (status != STATUS_OK) return;

  if (!run_load_combinations(status)) return;
  print_envelopes(ENVELOPE_KIND_COMBINATIONS, status);
  if (status != STATUS_OK) return;

  RunOptions.print_py_curves = print_request;
  // Nothing of a refused model is computed: no printed curves, no plot data.
  if (!unsupported_feature.empty()) {
    RunOptions.print_py_curves = 0;
    AnalysisControl.pass_mode = 0;
    return;
  }
  if (RunOptions.print_py_curves != 0) {
    GeneratedPyCurve.from_plot_list = 0;
    fio::write(UNIT_ECHO, TABLE_N_LAYOUT);
    PRINT_GENERATED_PY_CURVES(status);
  }
  if (RunOptions.plot_export == PLOT_EXPORT_ON) write_plot_data(status);
  if (RunOptions.print_py_curves == 1) RunOptions.print_py_curves = 0;
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
