// The points of a load case that estimates the secant stiffness of the
// pile group: one factor point per point factor f, each at the case's full
// loads times f (only the target DOF's load with the target-DOF-only
// setting), then the run at the total load. On the total-load basis a point
// has one run; on the target-deflection basis its runs search the load
// factor whose cap displacement in the target DOF meets the target (f times
// the setting) within the tolerance, each next factor predicted from the
// (displacement, factor) pairs of the runs made so far. A point whose last
// run wrote its equivalent springs ends with the stiffness at the origin
// (CAPTSTF). The settings follow the n point factors in the case's list of
// N values (positions s + 1 .. s + 12, s = N - 12, or s = N for a list of
// twelve values or fewer). DOFs and positions are 1-based.
#include <span>
#include <string>

#include "analysis/case_runs.hpp"
#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_LOAD_CASES = 3;
constexpr const char* DETAIL_INDENT = "    ";  // as the other lines of the final message
// Settings by their place after the point factors (0-based).
constexpr int SETTING_BASIS = 0;
constexpr int SETTING_TARGET_DOF = 1;
constexpr int SETTING_FIRST_TARGET = 2;  // target displacement of DOF 1; DOF d at 1 + d
constexpr int SETTING_TOLERANCE = 8;
constexpr int SETTING_MAX_RUNS = 9;
constexpr int SETTING_GEOMETRIC = 10;
constexpr int SETTING_TARGET_DOF_ONLY = 11;
constexpr int ROTATION_Z_3D = 6;  // the plane model reads DOF 6 as its rotation, DOF 3
constexpr int SEARCH_RUN = 2;
constexpr int LAST_RUN = 1;
constexpr int SINGLE_RUN = 3;
constexpr double TOTAL_LOAD_TOLERANCE = 1.0;

//      LOAD CASE=    2     NPOINTS=    3
constexpr const char* CASE_LINE_LAYOUT = "(5X,\"LOAD CASE=\",I5,5X,\"NPOINTS=\",I5)";
//      POINT=    1
constexpr const char* POINT_LINE_LAYOUT = "(5X,\"POINT=\",I5)";
//      STIFFNESS ESTIMATION, POINT :    1/   3 FACTOR :      0.50000
constexpr const char* POINT_LOG_LAYOUT =
    "(/,5X,\"STIFFNESS ESTIMATION, \",\"POINT : \",I4,\"/\",I4,\" FACTOR : \",F12.5)";
constexpr const char* POINT_CODES_LAYOUT =
    "(6X,\"STIFFNESS ESTIMATION, \",\"POINT : \",I4,\"/\",I4,\" FACTOR : \",F12.5)";
//          N:    1  FACTOR :    0.5000
constexpr const char* POINT_REPORT_LAYOUT = "(/,4X,\"   N:\",I5,\"  FACTOR :\",F10.4)";
constexpr const char* FAILED_POINT_LAYOUT = "(4X,\"   -1\",\"   N:\",I5,\"  FACTOR :\",F10.4)";
//      STIFFNESS ESTIMATION, ITER :     2 FACTOR :      1.00000
constexpr const char* RUN_LOG_LAYOUT = "(/,5X,\"STIFFNESS ESTIMATION, \",\"ITER : \",I5,\" FACTOR : \",F12.5)";
constexpr const char* RUN_DUMP_LAYOUT = "(5X,\"STIFFNESS ESTIMATION, \",\"ITER : \",I5,\" FACTOR : \",F12.5)";
constexpr const char* RUN_CODES_LAYOUT = "(6X,\"STIFFNESS ESTIMATION, \",\"ITER : \",I5,\" FACTOR : \",F12.5)";
constexpr const char* RUN_LOAD_LAYOUT = "(/,5X,\"LOAD : \",6E13.5)";
//      ** WARNING **  TARGET SEARCH STOPPED: TWO RUNS GAVE THE SAME DISPLACEMENT
constexpr const char* SEARCH_STALLED_LAYOUT =
    "(/,5X,\"** WARNING **  \",\"TARGET SEARCH STOPPED: TWO RUNS GAVE THE SAME DISPLACEMENT\")";
//      NOTE: NO EQUIVALENT SPRINGS WERE WRITTEN, NO STIFFNESS AT THIS POINT
constexpr const char* NO_SPRINGS_LAYOUT =
    "(5X,\"NOTE: NO EQUIVALENT SPRINGS WERE WRITTEN, NO STIFFNESS AT THIS POINT\")";
// Total-load headings.
constexpr const char* TOTAL_LOAD_LOG_LAYOUT = "(/,5X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TOTAL_LOAD_REPORT_LAYOUT = "(/,/,5X,\"* ANALYSIS DUE TO TOTAL LOAD *\",/)";

// The case's settings as the points read them.
struct Settings {
  int offset = 0;  // s
  int basis = 0;
  int given_dof = 0;   // the target DOF as given
  int target_dof = 0;  // 1..NDOF (the plane's 6 read as 3), 0 none
  double target_displacement = 0.0;
  double tolerance_percent = 0.0;
  int max_runs = 0;
  int geometric_flag = 0;
  int target_dof_only = 0;
};

Settings read_settings() {
  const AnalysisControlRecord& a = AnalysisControl;
  const int n = a.point_value_count;
  Settings s;
  s.offset = n > STIFFNESS_SETTINGS_COUNT ? n - STIFFNESS_SETTINGS_COUNT : n;
  auto value = [&](int k) { return a.point_factors(s.offset + 1 + k); };
  s.basis = static_cast<int>(value(SETTING_BASIS));
  s.given_dof = static_cast<int>(value(SETTING_TARGET_DOF));
  const bool plane = RUN_MODEL_ROAD().kind == CapModelKind::PLANE_RIGID;
  const int ndof = RUN_MODEL_ROAD().dofs;
  s.target_dof = plane && s.given_dof == ROTATION_Z_3D ? CAP_DOFS_2D : s.given_dof;
  if (s.target_dof < 1 || s.target_dof > ndof) s.target_dof = 0;
  const int target_slot = STIFFNESS_TARGET_SLOT(RUN_MODEL_ROAD().dimension, s.given_dof);
  if (target_slot > 0) s.target_displacement = value(SETTING_FIRST_TARGET + target_slot - 1);
  s.tolerance_percent = value(SETTING_TOLERANCE);
  s.max_runs = static_cast<int>(value(SETTING_MAX_RUNS));
  s.geometric_flag = value(SETTING_GEOMETRIC) > 0.0 ? 1 : 0;
  s.target_dof_only = static_cast<int>(value(SETTING_TARGET_DOF_ONLY)) != 0 ? 1 : 0;
  return s;
}

// A basis the points cannot run, or a search without a DOF or a target:
// an input error of the case, found before its first run.
void check_settings(int c, const Settings& s, int& status) {
  const std::string item = "LOAD CASE " + std::to_string(c);
  if (s.basis != BASIS_TOTAL_LOAD && s.basis != BASIS_TARGET_DEFLECTION) {
    REJECT_INPUT_VALUE(status, INPUT_SECTION_LOAD_CASES, item + ", STIFFNESS BASIS", s.basis, "NOT 0 OR 1");
  } else if (s.basis == BASIS_TARGET_DEFLECTION && s.target_dof == 0) {
    REJECT_INPUT_VALUE(status, INPUT_SECTION_LOAD_CASES, item + ", TARGET DOF", s.given_dof, "NOT A DOF OF THE MODEL");
  } else if (s.basis == BASIS_TARGET_DEFLECTION && s.target_displacement == 0.0) {
    REJECT_INPUT_VALUE(status, INPUT_SECTION_LOAD_CASES, item + ", TARGET DISPLACEMENT OF DOF", s.given_dof,
                       "THE TARGET IS 0");
  }
}

// The load of a factor point's run: factor times the point's working load
// in every entry, or in the target DOF's entry only.
void scale_run_load(const Array1<double, CAP_DOFS>& base, double factor, int only_dof, Array1<double, CAP_DOFS>& out) {
  out = base;
  for (int k = 1; k <= CAP_DOFS; ++k) {
    if (only_dof == 0 || k == only_dof) out(k) = base(k) * factor;
  }
}

// The run's pair: its displacement and the factor of the load it carried
// (below the run's factor when it stopped short of its load).
void append_pair() {
  TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  const double factor = t.new_factor * t.run_fraction;
  if (t.pair_count == 0) {
    t.carried_pair(1) = t.computed;
    t.carried_pair(2) = factor;
  }
  if (t.pair_count >= MAX_TARGET_PAIRS) return;
  ++t.pair_count;
  t.pair_displacement(t.pair_count) = t.computed;
  t.pair_factor(t.pair_count) = factor;
}

// The runs of factor point p at the point's working load v.working_load.
void run_factor_point(int c, const Settings& s, const Array1<double, CAP_DOFS>& point_load, RunVectors& v,
                      int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  const bool search = s.basis == BASIS_TARGET_DEFLECTION;
  const int runs = search ? s.max_runs : 1;
  for (int r = 1; r <= runs || r == 1; ++r) {
    a.current_dof = r;
    bool last = r >= runs;
    if (search) {
      t.new_factor = 1.0;
      if (t.pair_count != 1) PREDICT_TARGET_LOAD_FACTOR();
      scale_run_load(point_load, t.new_factor, t.target_dof_only == 1 ? t.target_dof : 0, v.working_load);
      // The pair table has room for this run's pair and no further one.
      if (t.pair_count + 1 >= MAX_TARGET_PAIRS) last = true;
      if (t.prediction_failed == 1) {
        fio::write(UNIT_RUN_LOG, SEARCH_STALLED_LAYOUT);
        last = true;
      }
      fio::write(UNIT_RUN_LOG, RUN_LOG_LAYOUT, t.pair_count, t.new_factor);
      fio::write(UNIT_RUN_LOG, RUN_LOAD_LAYOUT, std::span<const double>(v.working_load.data(), CAP_DOFS));
      fio::flush(UNIT_RUN_LOG);
      fio::write(UNIT_ITERATION_DUMP, RUN_DUMP_LAYOUT, t.pair_count, t.new_factor);
      fio::flush(UNIT_ITERATION_DUMP);
    } else {
      v.working_load = point_load;
    }
    fio::write(UNIT_RESULT_CODES, RUN_CODES_LAYOUT, t.pair_count, t.new_factor);
    if (runs > 1) {
      t.state = last ? LAST_RUN : SEARCH_RUN;
    } else {
      t.state = search ? 0 : SINGLE_RUN;
    }
    t.springs_written = 0;
    t.run_fraction = 1.0;
    RUN_CASE_ONCE(c, v, status);
    if (status != STATUS_OK || t.state <= 0) return;
    append_pair();
    if (last) return;
  }
}

// The end of factor point p: its stiffness at the origin from the springs
// of its last run, or the line of a point without solution.
void end_factor_point(int p, double f, const Settings& s, const RunVectors& v, int& status) {
  const TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  if (t.state < 0) {
    fio::write(UNIT_COMPUTATION_REPORT, FAILED_POINT_LAYOUT, p, f);
    return;
  }
  // A run that ended on the full output wrote no springs: nothing to form.
  if (t.springs_written != 1) {
    fio::write(UNIT_COMPUTATION_REPORT, FAILED_POINT_LAYOUT, p, f);
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RUN_LOG}) fio::write(unit, NO_SPRINGS_LAYOUT);
    return;
  }
  READ_EQUIVALENT_SPRINGS(status);
  if (status != STATUS_OK) return;
  fio::write(UNIT_CAP_MODEL_PILES, POINT_LINE_LAYOUT, p);
  Array2<double, CAP_DOFS, CAP_DOFS> stiffness{};
  CAPTSTF(status, s.geometric_flag, s.offset, p, f, v.equivalent_load.data(), v.cap_displacement.data(),
          stiffness.data());
}

}  // namespace

void SPRINGS_FILE_FAILED(int& status) {
  status = STATUS_SCRATCH_FILE_ERROR;
  SET_STATUS_DETAIL(std::string(DETAIL_INDENT) + RunFiles.equivalent_springs_file);
}

void RUN_STIFFNESS_POINTS(int c, RunVectors& v, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  TargetDeflectionSearchRecord& t = TargetDeflectionSearch;
  const Settings s = read_settings();
  check_settings(c, s, status);
  if (status != STATUS_OK) return;
  fio::write(UNIT_CAP_MODEL_PILES, CASE_LINE_LAYOUT, c, a.point_count - 1);

  for (int p = 1; p <= s.offset; ++p) {
    a.current_point = p;
    a.current_dof = 1;
    DofRunMode.mode = DOF_RUN_NONE;
    LOAD_CASE_FULL_LOADS(c, v);
    if (p == 1) {
      t.active = 0;
      PRINT_CAP_STIFFNESS_HEADER(s.basis, RUN_MODEL_ROAD().dimension);
    }
    t.active = 1;
    t.tolerance_percent = s.basis == BASIS_TARGET_DEFLECTION ? s.tolerance_percent : TOTAL_LOAD_TOLERANCE;
    t.pair_count = p > 1 ? 1 : 0;
    if (p > 1) {
      t.pair_displacement(1) = t.carried_pair(1);
      t.pair_factor(1) = t.carried_pair(2);
    }
    t.target_dof = s.target_dof;
    t.target_dof_only = s.basis == BASIS_TARGET_DEFLECTION ? s.target_dof_only : 0;
    const double f = a.point_factors(p);
    t.new_factor = f;
    t.target = s.target_dof > 0 ? s.target_displacement * f : 0.0;

    Array1<double, CAP_DOFS> point_load;
    scale_run_load(v.working_load, f, t.target_dof_only == 1 ? t.target_dof : 0, point_load);
    fio::write(UNIT_RUN_LOG, POINT_LOG_LAYOUT, p, a.point_count - 1, f);
    fio::flush(UNIT_RUN_LOG);
    fio::write(UNIT_RESULT_CODES, POINT_CODES_LAYOUT, p, a.point_count - 1, f);
    fio::write(UNIT_RESULTS_REPORT, POINT_REPORT_LAYOUT, p, f);

    run_factor_point(c, s, point_load, v, status);
    if (status != STATUS_OK) return;
    end_factor_point(p, f, s, v, status);
    if (status != STATUS_OK) return;
  }

  a.current_point = a.point_count;
  a.current_dof = 1;
  t.active = 0;
  fio::write(UNIT_RUN_LOG, TOTAL_LOAD_LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, TOTAL_LOAD_REPORT_LAYOUT);
  RUN_TOTAL_LOAD_POINT(c, v, status);
}

}  // namespace pilecap
