// The runs of one load case as the run loop makes them, shared by the loop
// and the points of a case that estimates the cap's flexibility: the case's
// vectors and the two ways to run the cap solver on them. Cap vectors are
// 1-based 6-vectors in the cap order; for a 2D run entry 6 (moment Z) is
// also copied into entry 3. Internal to the case driver.
#pragma once

#include "base/arrays.hpp"
#include "cap/model_road.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

// The vectors of one run: the load handed to the solver, the load of the
// current point, the prescribed-point data and the solver's two results.
struct RunVectors {
  Array1<double, CAP_DOFS> cap_load{}, working_load{};
  Array1<double, CAP_DOFS> point_loads{}, point_displacements{}, saved_displacements{}, point{};
  Array1<int, CAP_DOFS> dof_flags{};
  Array1<double, CAP_DOFS> equivalent_load{}, cap_displacement{};
};

// RUN_MODEL_ROAD
// The road of the model being analysed: chosen by RUN_CASES_AND_COMBINATIONS
// as it starts and kept to its end; outside it, the road of the model
// RunOptions select now.
const ModelRoad& RUN_MODEL_ROAD();

// RUN_CASE_ONCE
// One solver run of case c at v.working_load: the prescribed displacements
// restored from their saved copy, the equivalent-spring file opened with its
// case line around the run, the status word cleared, the movement profile
// scaled; a refused model gets its note instead.
//   in:     c
//   in,out: v (cap_load, point displacements and the results are rewritten)
//   in,out: status  as the solver leaves it; during a stiffness point
//                   (TargetDeflectionSearch.active 1) STATUS_SCRATCH_FILE_ERROR
//                   when the equivalent-spring file cannot be opened or flushed
void RUN_CASE_ONCE(int c, RunVectors& v, int& status);

// LOAD_CASE_FULL_LOADS
// The full loads of case c into v: the resultant of the concentrated loads
// with the prescribed-point data, the distributed loads with their resultant
// added, the soil movements; working_load and the saved prescribed
// displacements from them (the 2D fold applied).
void LOAD_CASE_FULL_LOADS(int c, RunVectors& v);

// RUN_TOTAL_LOAD_POINT
// The last point of case c: the full loads (resultant of the concentrated
// loads, prescribed-point data, distributed loads with their resultant,
// soil movements) into v, the total-load line on the result-code file and
// one run at them.
void RUN_TOTAL_LOAD_POINT(int c, RunVectors& v, int& status);

// RUN_ESTIMATION_POINTS
// The points of a case with more than one: for a flexibility estimation
// the DOF points (six in 3D, three in 2D; N level runs each, with their
// tables) and the stiffness report, then the total-load point; a stiffness
// estimation by RUN_STIFFNESS_POINTS; a plain case with pushover points by
// RUN_PUSHOVER_POINTS. A flexibility or stiffness estimation with pushover
// points is reported as not analysed (result code 9), and so is, in 3D, any
// case with points of a plate cap (a note with the reason on the results
// report, the summary and the run log); the later cases still run.
//   Reads:  AnalysisControl (the case's kind, points, factors), LoadCase
//           (flexibility_report, diagonal_only), RunOptions
//   Writes: AnalysisControl.current_point, current_dof, DofRunMode, the
//           flexibility scratch files and the reports
//   in:     c      the case, its controls copied into AnalysisControl
//   in,out: v      the case's vectors (working_load: the concentrated loads)
//   in,out: status as a run or a scratch file leaves it; the caller closes
//                  the scratch units when it is not 0
void RUN_ESTIMATION_POINTS(int c, RunVectors& v, int& status);

// RUN_PUSHOVER_POINTS
// The points of a plain case with pushover points: the case's heading of
// the analysis, then per point p the full loads of the case times its
// multiplier m (every cap load component whose unscaled flag is 0, with its
// prescribed displacement and its load at the point; the distributed loads
// unless flag 7, the soil movements unless flag 8), its lines on the run log
// and the result-code file, one run, its line on the cap-model pile file;
// last the total-load point with its headings.
//   Reads:  AnalysisControl (point_count, point_multipliers,
//           unscaled_components), LoadCase.point_loads_flag, RunOptions
//   Writes: AnalysisControl.current_point, current_dof, pushover_active (0
//           on return), DofRunMode, the load tables, the reports
//   in:     c      the case, its controls copied into AnalysisControl
//   in,out: v      the case's vectors, rewritten for every point
//   in,out: status as a run leaves it; the caller ends the loop when not 0
void RUN_PUSHOVER_POINTS(int c, RunVectors& v, int& status);

// RUN_STIFFNESS_POINTS
// The points of a stiffness estimation (analysis kind 11 and above): the
// settings checked (basis 0 or 1; for a target search a target DOF of the
// model and a target that is not 0, else STATUS_INPUT_DATA_ERROR before any
// run), the case line on the cap-model pile file, then each factor point at
// the case's full loads times its factor, with one run (total-load basis)
// or the runs of the target search, ended by the stiffness at the origin
// (READ_EQUIVALENT_SPRINGS, CAPTSTF) or by the line of a point without
// one; then the total-load point.
//   Reads:  AnalysisControl (point list and count), RunOptions
//   Writes: AnalysisControl.current_point, current_dof, DofRunMode,
//           TargetDeflectionSearch, the reports and the stiffness files
//   in,out: v (the case's vectors), status (a run's or a file's failure
//           ends the points)
void RUN_STIFFNESS_POINTS(int c, RunVectors& v, int& status);

// SPRINGS_FILE_FAILED
// STATUS_SCRATCH_FILE_ERROR with the equivalent-spring file named in the
// final message.
void SPRINGS_FILE_FAILED(int& status);

}  // namespace pilecap
