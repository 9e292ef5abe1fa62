// The points of a load case that estimates the flexibility of the pile cap:
// one point per degree of freedom d (six in 3D, three in 2D: X, Y, rotation
// Z), whose N level runs carry only load component d (the case's
// concentrated load of d times level factor k), each level leaving its
// flexibility column; then the stiffness report built from the columns and
// the run at the total load. A stiffness estimation takes its own points
// (stiffness_points.cpp), a plain case with pushover points its own
// (pushover_points.cpp); pushover points with a flexibility estimation are
// not built: such a case is reported as not analysed.
// DOFs and levels are 1-based; cap vectors are in the cap order.
#include "analysis/case_runs.hpp"
#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "cap/model_road.hpp"
#include "capstiffness/capstiffness.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int DIAGONAL_LDA = CAP_DOFS;  // leading dimension of the report's working matrix

//      NOTE: PUSHOVER POINTS OF AN ESTIMATION ARE NOT ANALYZED
constexpr const char* POINTS_NOT_ANALYSED_LAYOUT = "(5X,\"NOTE: PUSHOVER POINTS OF AN ESTIMATION ARE NOT ANALYZED\")";

//      * PILE CAP FLEXIBILITY ESTIMATION *
constexpr const char* FLEXIBILITY_REPORT_LAYOUT = "(/,/,5X,\"* PILE CAP FLEXIBILITY ESTIMATION *\")";
constexpr const char* FLEXIBILITY_SHORT_LAYOUT = "(5X,\"* PILE CAP FLEXIBILITY ESTIMATION *\")";
//      DOF :     2 POINT :     3
constexpr const char* DOF_LEVEL_LOG_LAYOUT = "(5X,\"DOF : \",I5,\" POINT : \",I5)";
// Total-load headings of a case with more than one point.
constexpr const char* TOTAL_LOAD_LOG_LAYOUT = "(/,5X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TOTAL_LOAD_DUMP_LAYOUT = "(5X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TOTAL_LOAD_REPORT_LAYOUT = "(/,/,5X,\"* ANALYSIS DUE TO TOTAL LOAD *\",/)";

// The N levels of DOF d: the cap carries only component d, at level k its
// case value times factor k.
void run_dof_levels(int c, int d, const RunVectors& v, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  RunVectors level = v;
  for (int k = 1; k <= a.point_value_count; ++k) {
    a.current_dof = k;
    level.working_load.fill(0.0);
    level.working_load(d) = a.point_factors(k) * v.working_load(d);
    fio::write(UNIT_RUN_LOG, DOF_LEVEL_LOG_LAYOUT, d, k);
    fio::flush(UNIT_RUN_LOG);
    fio::write(UNIT_RESULT_CODES, DOF_LEVEL_CODES_LAYOUT, d, k);
    RUN_CASE_ONCE(c, level, status);
    if (status != STATUS_OK) return;
  }
}

// The DOF points, the stiffness report and the total-load point of a
// flexibility estimation.
void run_flexibility_points(int c, RunVectors& v, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  const int n_dofs = RUN_MODEL_ROAD().dofs;
  const int n_levels = a.point_value_count;
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, FLEXIBILITY_REPORT_LAYOUT);
  for (int unit : {UNIT_COMPUTATION_REPORT, UNIT_RUN_LOG}) fio::write(unit, FLEXIBILITY_SHORT_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  OPEN_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, true, status);
  if (status != STATUS_OK) return;

  for (int d = 1; d <= n_dofs; ++d) {
    a.current_point = d;
    a.current_dof = 1;
    DofRunMode.mode = DOF_RUN_LEVELS;
    int skip = 0;
    START_FLEXIBILITY_DOF_RUN(DofRunMode.mode, d, RUN_MODEL_ROAD().dimension, n_levels, n_dofs, v.working_load.data(),
                              skip, status);
    if (status != STATUS_OK) return;
    if (skip == 1) continue;
    OPEN_ESTIMATION_FILE(UNIT_DOF_RUN_STEPS, true, status);
    if (status != STATUS_OK) return;
    int steps_open = 1;
    run_dof_levels(c, d, v, status);
    if (status != STATUS_OK) return;
    PRINT_DOF_RUN_TABLES(DofRunMode.mode, d, n_levels, RUN_MODEL_ROAD().dimension, n_dofs, steps_open, status);
    if (status != STATUS_OK) return;
  }

  a.current_point = a.point_count;
  a.current_dof = 1;
  DofRunMode.mode = DOF_RUN_NONE;
  REPORT_FLEXIBILITY_STIFFNESS(LoadCase.flexibility_report(c), LoadCase.diagonal_only(c), n_levels, n_dofs,
                               DIAGONAL_LDA, a.point_factors.data(), status);
  if (status != STATUS_OK) return;
  // The columns are complete: the file is left whole for the host.
  CLOSE_ESTIMATION_FILE(UNIT_FLEXIBILITY_COLUMNS, status);
  if (status != STATUS_OK) return;

  fio::write(UNIT_RUN_LOG, TOTAL_LOAD_LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  fio::write(UNIT_ITERATION_DUMP, TOTAL_LOAD_DUMP_LAYOUT);
  fio::flush(UNIT_ITERATION_DUMP);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, TOTAL_LOAD_REPORT_LAYOUT);
  RUN_TOTAL_LOAD_POINT(c, v, status);
}

}  // namespace

void RUN_ESTIMATION_POINTS(int c, RunVectors& v, int& status) {
  const AnalysisControlRecord& a = AnalysisControl;
  const ModelRoad& road = RUN_MODEL_ROAD();
  if (road.points_refusal_layout != nullptr) {
    // The case alone is not analysed, with its reason; the later cases and
    // combinations run.
    REPORT_REFUSED_RUN(road.points_refusal_layout);
    return;
  }
  if (a.analysis_kind == ANALYSIS_KIND_PLAIN && a.pushover_flag > 0) {
    RUN_PUSHOVER_POINTS(c, v, status);
    return;
  }
  if (a.pushover_flag > 0) {
    fio::write(UNIT_RUN_LOG, POINTS_NOT_ANALYSED_LAYOUT);
    WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
    return;
  }
  if (a.analysis_kind >= ANALYSIS_KIND_CAP_STIFFNESS) {
    RUN_STIFFNESS_POINTS(c, v, status);
    return;
  }
  run_flexibility_points(c, v, status);
}

}  // namespace pilecap
