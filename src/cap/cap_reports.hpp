// The reports of a finished rigid-cap run, by its result road: no
// convergence, a level of the flexibility estimation, a pushover point, a
// point of the stiffness estimation's target search, or the full output.
#pragma once

#include "cap/cap_solver.hpp"

namespace pilecap {

// REPORT_CAP_SOLUTION_3D
// The reports of a finished 3D run: the bearing, pull-out and torsion
// warnings of the last force evaluation (with the warning texts copied from
// the axial-warning file), then one road: no convergence (result code only),
// flexibility level, pushover point, target search, or the full output
// (reduction factors, TABLE L with the point tables of a point run, the cap
// envelope, the partial-load warning, the passive cap table, the final print
// pass of the group force vector and the per-pile tables).
//   Reads:  WarningCounters, AnalysisControl, RunOptions, UnitLabels,
//           ClosePileFactors, CapGeometry, DofRunMode, TargetDeflectionSearch
//   Writes: state.road, state.cap_load (the printed equivalent load),
//           state.point_displacement, PileErrorWord (3 after warnings),
//           CapEnvelope, AnalysisControl.first_run and pass_mode (0 on
//           return), TargetDeflectionSearch (state,
//           computed), the distributed loads and movements (the converged
//           fraction after a partial load), the result stores
//   in,out: state   the solver's state after its last step
//   in,out: status  as the final print pass leaves it; not tested here
void REPORT_CAP_SOLUTION_3D(CapSolverState3D& state, int& status);

// REPORT_REDUCTION_FACTORS
// The reduction factors for closely spaced piles of the run's last blend
// (ClosePileFactors first pair), one row per pile or pile row, on the
// results and summary reports under the heading of the way they were
// estimated, and on the computation report.
//   in: dimension  MODEL_2D or MODEL_3D (the 3D heading names both directions)
void REPORT_REDUCTION_FACTORS(int dimension);

// REPORT_CAP_SOLUTION_2D
// The reports of a finished 2D run: the bearing and pull-out warnings of
// the last force evaluation (with their texts from the axial-warning file),
// then one road: no convergence (result code only), flexibility level,
// pushover point, target search, or the full output (the reduction factors,
// TABLE L with the point tables of a point run, the cap envelope, the
// partial-load warning, the passive cap table, the final print pass of
// FVEC2D and ENVEWR2D). The roads are those of 3D (REPORT_CAP_ROADS).
//   Reads:  WarningCounters, AnalysisControl, RunOptions, UnitLabels,
//           CapGeometry, CapPassiveElement, DofRunMode, TargetDeflectionSearch
//   Writes: state.road, state.cap_load (the printed equivalent load),
//           state.point_displacement, PileErrorWord (3 after warnings),
//           CapEnvelope, AnalysisControl.first_run and pass_mode (0 on
//           return), TargetDeflectionSearch, the distributed loads and
//           movements (the converged fraction after a partial load), the
//           result stores
//   in,out: state, status  (a failed final pass skips the per-pile tables)
void REPORT_CAP_SOLUTION_2D(CapSolverState2D& state, int& status);

// REPORT_FAILED_LEVEL_2D / REPORT_FLEXIBILITY_LEVEL_2D
// The records of a flexibility level (REPORT_FAILED_LEVEL and
// REPORT_FLEXIBILITY_LEVEL below) for a 2D run: U of the state, P from the
// state's full load of the DOF and its converged fraction.
void REPORT_FAILED_LEVEL_2D(const CapSolverState2D& state, int& status);
void REPORT_FLEXIBILITY_LEVEL_2D(CapSolverState2D& state, int& status);

// REPORT_PUSHOVER_POINT_2D: REPORT_PUSHOVER_POINT_3D for a 2D run (the
// printed load of a point run is the pile-force resultant).
void REPORT_PUSHOVER_POINT_2D(CapSolverState2D& state, int& status);

// REPORT_FLEXIBILITY_LEVEL
// The records of a solved level of a DOF run of the flexibility estimation,
// for either cap solver (DOF AnalysisControl.current_point, level
// AnalysisControl.current_dof): on the DOF-run steps file (level, P, U) and
// (level, U / P), on the flexibility-columns file (level, U / P), with P the
// load carried, level_load x converged_fraction (U undivided when |P| is
// below FLEXIBILITY_LOAD_LIMIT); then the result code: completed, or the
// partial-load code with the percentage carried, the loads and movements
// along the piles then set to that fraction. A level without a converged
// step (fraction 0) is written as a failed level with the no-convergence code.
//   in:     ndof (3 or 6), u (ndof, displacement of the last converged step),
//           level_load (the level's value of the DOF), converged_fraction
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when a record is not written
//                   (nothing further is written then)
void REPORT_FLEXIBILITY_LEVEL(int ndof, const double* u, double level_load, double converged_fraction, int& status);

// REPORT_FAILED_LEVEL
// The records of a level whose first step never converged: (-level and
// ndof + 1 zeros) and (-level and ndof zeros) on the DOF-run steps file,
// (-level and the unit column of the DOF) on the flexibility-columns file.
// The caller writes the result code.
//   in,out: status  as REPORT_FLEXIBILITY_LEVEL
void REPORT_FAILED_LEVEL(int ndof, int& status);

// REPORT_FAILED_LEVEL_3D / REPORT_FLEXIBILITY_LEVEL_3D
// The two routines above for a 3D run: U of the state, P from the state's
// full load of the DOF and its converged fraction.
void REPORT_FAILED_LEVEL_3D(const CapSolverState3D& state, int& status);
void REPORT_FLEXIBILITY_LEVEL_3D(CapSolverState3D& state, int& status);

// REPORT_PUSHOVER_POINT_3D
// The road of a solved incremental (pushover) point: the load carried (the
// point's load times the converged fraction c; in a point run the negated
// pile forces of the last converged step) and U as the run's results; the
// result code (the partial-load code below the full load, the loads and
// movements along the piles then set to c); the final print pass; the
// point's cap results with the factor it carried (its multiplier times c)
// and its per-pile tables (ENVEWRP). A point without a converged step
// takes the no-convergence lines instead.
//   Writes: state.cap_load, result_load, result_displacement, the point
//           loads and displacement (point runs), AnalysisControl.pass_mode
//           (0 on return), the result stores, the reports
//   in,out: status  as the final pass or the writer leaves it (a failed
//                   pass prints nothing of the point)
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& state, int& status);

// REPORT_PUSHOVER_NOT_ACHIEVED
// The lines of a pushover point that found no solution: the point and its
// multiplier on the summary, then "** SOLUTION NOT ACHIEVED" and "** NO
// CONVERGENCE ON PILE CAP" on the summary and the results report.
void REPORT_PUSHOVER_NOT_ACHIEVED();

// REPORT_TARGET_SEARCH_3D / REPORT_TARGET_SEARCH_2D
// The road of a solved run of a stiffness-estimation factor point: the
// target DOF's displacement into TargetDeflectionSearch.computed and, by
// the search state, the error line on the run log; a search run outside
// the tolerance ends with RESULT_ESTIMATION_COMPLETED (nothing else). Else
// the tangent of the last converged step as the stiffness record of the
// equivalent-spring file, the print pass with pass mode 2 and the pile
// blocks of the file (springs_written := 1), then completed, or the
// partial-load code with the load carried (result load, loads and
// movements along the piles at the converged fraction). A run that
// computed no step: no-convergence code and state -1.
//   Reads:  AnalysisControl, RunConstants.tiny
//   Writes: TargetDeflectionSearch (computed, state, springs_written),
//           state.result_load after a partial run, EquivalentStiffness,
//           AnalysisControl.pass_mode (0 on return)
//   in,out: status  as the print pass leaves it (no pile blocks then)
void REPORT_TARGET_SEARCH_3D(CapSolverState3D& state, int& status);
void REPORT_TARGET_SEARCH_2D(CapSolverState2D& state, int& status);

}  // namespace pilecap
