// Analysis sequencing and pile-cap equilibrium: the loop over load cases and
// combinations, the control values of the run being solved, the loads along
// the piles, and the small dense services of the cap solvers. Cap vectors
// are 6 doubles in the order FX, FY, FZ, MX, MY, MZ (loads) or UX, UY, UZ,
// RX, RY, RZ (displacements) at the cap origin, X vertical; a 2D run uses
// entries 1 to 3 as X, Y and rotation Z. 6 x 6 matrices are column-major.
#pragma once

#include <string>

#include "run/arrays.hpp"

namespace pilecap {

// ------------------------------------------------------------ constants

constexpr int CAP_DOFS = 6;
constexpr int CAP_DOFS_2D = 3;
constexpr int MAX_POINT_VALUES = 25;  // values of a case's point list
constexpr int CASE_COMPONENT_FLAGS = 8;

// Kinds of a load case (AnalysisControl.analysis_kind).
constexpr int ANALYSIS_KIND_PLAIN = 0;
constexpr int ANALYSIS_KIND_CAP_FLEXIBILITY = 1;  // 1 to 10
constexpr int ANALYSIS_KIND_CAP_STIFFNESS = 11;   // 11 and above

// Run kinds handed to the cap solvers.
constexpr int RUN_KIND_CASE = 0;
constexpr int RUN_KIND_COMBINATION = 1;

// Largest order INVERT_MATRIX accepts (its work arrays).
constexpr int MAX_INVERT_ORDER = 50;

// ------------------------------------------------------------ records

// The control values of the run now being solved.
struct AnalysisControlRecord {
  int threads_wanted = 0;     // threads the case asks for; 0 = automatic
  int threads_available = 1;  // largest thread count of the parallel runtime
  int threads_used_max = 1;   // largest thread count set in this run
  int pass_mode = 0;          // 0 analysis, 1 final print pass, 2 stiffness-estimation print pass

  // ---- run loop: copied from the case or combination before each run ----
  int current_run = 0;          // case (case loop) or combination (combination loop), 1-based
  int current_combination = 0;  // combination number; 0 in the case loop
  int loading_kind = 1;         // 1 static, otherwise cyclic
  double cycles = 0.0;
  int output_option = 0;  // print detail of the per-pile tables
  int output_count = 0;   // node step of the printed tables
  int max_iterations = 0;
  int llp_max_iterations = 0;
  double tolerance = 0.0;
  double llp_tolerance = 0.0;
  double initial_step = 0.0;
  double min_step = 0.0;
  int use_max_limits = 0;
  double max_dsp_limit = 0.0;
  double max_rot_limit = 0.0;
  int axial_variation = 0;
  int ei_previous = 0;
  Array1<double, 2> load_scale{{1.0, 1.0}};
  int analysis_kind = ANALYSIS_KIND_PLAIN;
  int point_value_count = 0;
  int pushover_flag = 0;
  int pushover_points = 0;
  Array1<double, MAX_POINT_VALUES> point_factors{};
  Array1<double, MAX_POINT_VALUES> point_multipliers{};
  Array1<int, CASE_COMPONENT_FLAGS> unscaled_components{};
  int point_count = 1;
  int current_point = 1;
  int current_dof = 1;
  int pushover_active = 0;
  int first_run = 0;  // envelope run counter: 1 = the next normal run starts the envelope
  // ---- end of the run-loop block ----
};
extern AnalysisControlRecord AnalysisControl;

// The smallest and largest equivalent load and cap displacement at the
// origin over the runs of one pass (all cases, or all combinations).
struct CapEnvelopeRecord {
  Array1<double, CAP_DOFS> max_load{}, max_displacement{}, min_load{}, min_displacement{};
};
extern CapEnvelopeRecord CapEnvelope;

// Lateral pile failures of a force evaluation.
constexpr int PILE_ERR_NONE = 0;
constexpr int PILE_ERR_NO_CLOSURE = 1;
constexpr int PILE_ERR_PY_TOO_SHORT = 5;

// The pile-level failure code of the last evaluation (0 none).
struct PileErrorWordRecord {
  int code = PILE_ERR_NONE;
};
extern PileErrorWordRecord PileErrorWord;

// ---------------------------------------------------------- run loop

// RUN_CASES_AND_COMBINATIONS
// Runs every load case and then every load combination: headings, progress
// lines on the status file, stop polls before and after each, skipped runs
// (result code 9), control values, loads, the solver run, per-run timing;
// then the envelopes when asked, TABLE N and the plot-data file.
//   Reads:  LoadCase, LoadCombination, EnvelopeOptions, RunOptions, PileTable
//   Writes: AnalysisControl, PileLoadProfile, SoilMovementProfile scaled
//           movements, RunTimers case fields, the reports and status file
//   in:     print_request  the p-y print option as read; restored into
//                          RunOptions.print_py_curves at the end
//   in,out: status  STATUS_STOPPED_BY_USER after a stop request, else what a
//                   called routine set; the loop returns when it is not 0
void RUN_CASES_AND_COMBINATIONS(int& print_request, int& status);

// Test seam: called after the end lines and timing of every analysed case
// (kind RUN_KIND_CASE) and combination, before the stop poll that follows
// them; nullptr (the default) calls nothing.
using RunEndHook = void (*)(int run_kind, int index);
void set_run_end_hook(RunEndHook hook);

// ---------------------------------------------------- progress files

// WRITE_STATUS_LINE
// Replaces the status file's content by one progress record: "- ANALYSIS
// FOR LOAD CASE n/m STARTED" (or FINISHED, or LOAD COMB.) and two empty
// lines. A file that cannot be opened costs only the record.
//   in: run_kind  RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in: finished  false STARTED, true FINISHED
//   in: n, m      the number and the count of cases or combinations
void WRITE_STATUS_LINE(int run_kind, bool finished, int n, int m);

// STOP_REQUESTED: true when the stop-request file holds the value 1.
bool STOP_REQUESTED();

// Result codes of the result-code file.
constexpr int RESULT_COMPLETED = 1;
constexpr int RESULT_PARTIAL_LOAD = 2;
constexpr int RESULT_NO_CAP_CONVERGENCE = 3;
constexpr int RESULT_SKIPPED_ZERO_CAP_FORCE = 5;
constexpr int RESULT_NOT_PERFORMED = 9;
constexpr int RESULT_ESTIMATION_COMPLETED = 10;

// WRITE_RESULT_CODE
// Writes the line of one result code on the result-code file.
//   in: code     one of the RESULT_ codes; any other writes nothing
//   in: percent  the share of the total load reached (code 2 only)
void WRITE_RESULT_CODE(int code, double percent = 0.0);

// ---------------------------------------------- loads along the piles
// The per-pile station tables of PileLoadProfile (pile p = 1..n_piles,
// station k = 1..n + 1 at distances 0, dx, 2 dx, ... from the head along the
// pile axis, dx = length / n of the pile's property set). None of these
// routines can fail.

// CASE_DISTRIBUTED_LOADS / COMB_DISTRIBUTED_LOADS
// Clear the load tables and the axial-resultant mark, then add the
// distributed-load entries of case c (times its scale factor), or of every
// member case of combination j (times scale factor and member factor).
void CASE_DISTRIBUTED_LOADS(int c);
void COMB_DISTRIBUTED_LOADS(int j);

// CASE_SOIL_MOVEMENTS / COMB_SOIL_MOVEMENTS: the same for the soil movements.
void CASE_SOIL_MOVEMENTS(int c);
void COMB_SOIL_MOVEMENTS(int j);

// INTERPOLATE_LOAD_SET
// Adds the distributed-load entries of case c, times f, to the load tables.
// AXIS 0 loads along the pile's own axes, any other value globally; a global
// load gives its axial share to the pile's axial resultant when the case
// carries it to the head (axial_as_head_load 1).
void INTERPOLATE_LOAD_SET(int c, double f);

// INTERPOLATE_MOVEMENT_SET
// Adds the soil-movement entries of case c, times f, to the movement tables;
// AXIS 1 means the pile's own axes, any other value global directions.
void INTERPOLATE_MOVEMENT_SET(int c, double f);

// LOAD_SET_VALUE
// The value of a load set (or movement set) at distance x along the pile:
// linear between its points, its end value within 1e-8 of an end, 0 outside
// and for a set number below 1, beyond the table or with fewer than 2 points.
//   in: movements  false the distributed-load sets, true the movement sets
double LOAD_SET_VALUE(bool movements, int set, double x);

// CLEAR_DISTRIBUTED_LOADS: zero loads, station counts and axial resultants
// of piles 1..n_piles (the axial-resultant mark stays).
void CLEAR_DISTRIBUTED_LOADS();
// CLEAR_SOIL_MOVEMENTS: zero movements and station counts.
void CLEAR_SOIL_MOVEMENTS();

// DISTRIBUTED_LOAD_RESULTANT
// Adds the axial resultants of all piles, as forces at their heads, to the
// cap load at the origin; nothing when no resultant was accumulated.
//   in,out: load  6 doubles
void DISTRIBUTED_LOAD_RESULTANT(double* load);

// SCALE_DISTRIBUTED_LOADS / SCALE_SOIL_MOVEMENTS: the tables times m.
void SCALE_DISTRIBUTED_LOADS(double m);
void SCALE_SOIL_MOVEMENTS(double m);

// SAVE_DISTRIBUTED_LOADS: the saved copies := the load tables.
void SAVE_DISTRIBUTED_LOADS();
// SAVE_SOIL_MOVEMENTS: the saved copies := the movement tables.
//   out: moving  1 when some movement is not 0, else 0
void SAVE_SOIL_MOVEMENTS(int& moving);

// APPLY_LOAD_FRACTION_LOADS / APPLY_LOAD_FRACTION_MOVEMENTS
// The tables := their saved copies times the fraction f.
void APPLY_LOAD_FRACTION_LOADS(double f);
void APPLY_LOAD_FRACTION_MOVEMENTS(double f);

// SCALE_MOVEMENT_PROFILE
// The case-scaled soil-movement profile: the input movements times the
// scale factor of case c, or unchanged when c is 0 (a combination).
//   Writes: SoilMovementProfile.scaled_move_y, scaled_move_z
void SCALE_MOVEMENT_PROFILE(int c);

// ---------------------------------------------- dense cap services

// INVERT_MATRIX
// Inverts the n x n matrix a (column-major, leading dimension lda) in place
// by Gauss-Jordan elimination with full pivoting; among pivot candidates of
// equal magnitude the last met (row by row) wins.
//   in,out: a         inverted when singular is 0; unusable otherwise
//   in:     n, lda    0 <= n <= MAX_INVERT_ORDER, n <= lda
//   out:    singular  0 inverted; 1 when a pivot is 0, no pivot can be
//                     chosen, an entry is not finite or n is out of range
void INVERT_MATRIX(double* a, int n, int lda, int& singular);

// MULTIPLY_6X6_BY_VECTOR
// out := m v for a column-major 6 x 6 m; out must not share storage with m
// or v.
void MULTIPLY_6X6_BY_VECTOR(double* out, const double* m, const double* v);

// MAX_ABS_TRANSLATION_ROTATION
// The largest magnitude among components 1-3 (translation) and among 4-6
// (rotation) of a cap vector.
void MAX_ABS_TRANSLATION_ROTATION(const double* v, double& translation, double& rotation);

// NEGATE_VECTOR6: destination := -source (a zero becomes a negative zero).
void NEGATE_VECTOR6(const double* source, double* destination);

// TRANSFER_ORIGIN_POINT
// Carries the cap displacement at the origin to the point r by rigid-body
// motion and the equivalent load at the origin to the point (forces kept,
// moments M - r x F); a load-controlled DOF (flag 1) takes its prescribed
// point load, and for a force DOF the load at the origin takes it as well.
//   in:     u        displacement at the origin (6)
//   in,out: f        load at the origin (6); forces of flagged DOFs replaced
//   in:     r        point (3)
//   out:    u_point, f_point  (6 each), written only when moved is 1
//   in:     given    prescribed point loads (6); flags (6): 1 load prescribed
//   out:    moved    0 when r is exactly the origin (nothing written), else 1
void TRANSFER_ORIGIN_POINT(const double* u, double* f, const double* r, double* u_point, double* f_point,
                           const double* given, const int* flags, int& moved);

// DOF_FLAG_CHARACTERS
// Marker characters of the point tables: an asterisk on the load of every
// load-controlled DOF (flag not 0) and on the displacement of every other.
//   Reads: UnitLabels characters 34 (blank) and 35 (asterisk)
void DOF_FLAG_CHARACTERS(const int* flags, char* load_marks, char* displacement_marks);

// UPDATE_CAP_ENVELOPE
// Folds one run's equivalent load and cap displacement at the origin into
// CapEnvelope; the run that finds AnalysisControl.first_run equal to 1
// starts the envelope afresh.
void UPDATE_CAP_ENVELOPE(const double* load, const double* displacement);

// ------------------------------------------------------ cap solvers

// SOLVE_CAP_3D / SOLVE_CAP_2D
// One run of the pile-cap equilibrium with its reports and its result-code
// line; the rest of the run's control comes from AnalysisControl.
//   in:     run_kind         RUN_KIND_CASE or RUN_KIND_COMBINATION
//   in,out: print_flags      the solver's print-flag word
//   in,out: status
//   out:    equivalent_load, cap_displacement  at the origin (6 each)
//   in,out: cap_load         the run's load at the origin (6), may be overwritten
//   in:     point_loads      loads prescribed at the point (6)
//   in,out: point_displacements  prescribed displacements (6), may be overwritten
//   in:     point            coordinates of the point (3), then zeros
//   in:     dof_flags        6: 0 displacement prescribed, otherwise load
void SOLVE_CAP_3D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags);
void SOLVE_CAP_2D(int run_kind, int& print_flags, int& status, double* equivalent_load, double* cap_displacement,
                  double* cap_load, const double* point_loads, double* point_displacements, const double* point,
                  const int* dof_flags);

// RUN_ESTIMATION_POINTS
// The points of a case that estimates the cap's flexibility or stiffness or
// adds incremental (pushover) points, its total-load point included.
//   in:     c       the case
//   in,out: status
void RUN_ESTIMATION_POINTS(int c, int& status);

// ------------------------------------- services of other subsystems

constexpr int LOAD_TYPE_NAME_LENGTH = 32;

// LOAD_TYPE_NAME: the 32-character blank-padded name of a load type code.
void LOAD_TYPE_NAME(int code, std::string& name);

// PRINT_GENERATED_PY_CURVES: TABLE N of the requested p-y curves on UNIT_ECHO.
void PRINT_GENERATED_PY_CURVES(int& status);

}  // namespace pilecap
