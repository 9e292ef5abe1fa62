// Pile-cap stiffness estimation: the flexibility of the cap at the origin
// degree of freedom by degree of freedom, and the stiffness built from it.
// For each DOF d the run loop makes N level runs with only load component d
// applied; every level leaves a flexibility column (the cap displacements at
// the origin per unit of the applied value) on the flexibility-columns file
// and two records on the DOF-run steps file. The routines here frame the
// DOF runs, own the layout of both scratch files and turn the columns into
// stiffness matrices. DOFs, levels and cap vectors are 1-based in the cap
// order (X vertical, Y, Z, rotations about X, Y, Z; in 2D X, Y, rotation Z).
#pragma once

#include "base/arrays.hpp"

namespace pilecap {

// Kinds of run of a flexibility estimation (DofRunMode.mode).
constexpr int DOF_RUN_NONE = 0;
constexpr int DOF_RUN_LEVELS = 2;  // one level of a degree of freedom of the flexibility estimation

// A DOF whose case load is below this magnitude is not run.
constexpr double ZERO_CAP_FORCE = double(1e-12f);  // 9.999999960041972e-13
// A level whose applied value is below this magnitude keeps its
// displacements undivided.
constexpr double FLEXIBILITY_LOAD_LIMIT = double(1e-14f);  // 9.9999998245167e-15

// The result-code heading of one level (also of a skipped one).
//       DOF :     2 POINT :     3
constexpr const char* DOF_LEVEL_CODES_LAYOUT = "(6X,\"DOF : \",I5,\" POINT : \",I5)";

// ------------------------------------------------ scratch-file records
// One record is a line of the level number in I5 after five blanks, two
// blanks, then up to seven reals, each in 1PG18.8 followed by three blanks.
// A level without a flexibility column (no step converged, or its DOF was
// skipped) carries its level number negated on both files.

// OPEN_ESTIMATION_FILE / CLOSE_ESTIMATION_FILE
// Opens UNIT_FLEXIBILITY_COLUMNS or UNIT_DOF_RUN_STEPS on its run file, to
// write from its start or to read it from its first record; closes it after
// handing its data to the file system.
//   in:     unit, for_writing
//   in,out: status  STATUS_SCRATCH_FILE_ERROR, with the file named in the
//                   final message, when the file cannot be opened or flushed
void OPEN_ESTIMATION_FILE(int unit, bool for_writing, int& status);
void CLOSE_ESTIMATION_FILE(int unit, int& status);

// WRITE_ESTIMATION_RECORD
// One record: the level number, then values 1..n (n at most 7).
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when the line is not written
void WRITE_ESTIMATION_RECORD(int unit, int level, const double* values, int n, int& status);

// READ_ESTIMATION_RECORD
// Reads the next record: a level number and values 1..n, from one line.
//   out:    level, values (n)
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when the file ends, the line
//                   holds fewer values or a value does not read
void READ_ESTIMATION_RECORD(int unit, int n, int& level, double* values, int& status);

// SKIP_ESTIMATION_RECORD: passes over the next record; status as above.
void SKIP_ESTIMATION_RECORD(int unit, int& status);

// ESTIMATION_FILE_FAILED
// Status STATUS_SCRATCH_FILE_ERROR with the name of the unit's file as the
// detail line of the final message.
void ESTIMATION_FILE_FAILED(int unit, int& status);

// ------------------------------------------------------------ DOF runs

// START_FLEXIBILITY_DOF_RUN
// The heading of DOF dof on the results, summary and computation reports.
// When the case load of the DOF is below ZERO_CAP_FORCE in magnitude the DOF
// is skipped: "DOF NOT CONSIDERED" on the results and summary reports, the
// DOF and level lines with result code 5 for every level, and per level a
// marker record (level negated, the unit column of the DOF) on the
// flexibility-columns file and a line of zeros on the computation report.
//   Reads:  UnitLabels
//   in:     mode (DOF_RUN_LEVELS), dof (1..ndof), dimension (2 or 3),
//           levels (N), ndof (3 or 6), cap_loads (6, the case's cap loads in
//           cap order, the moment Z in place 3 in 2D)
//   out:    skip    1 when the DOF is not run, else 0
//   in,out: status  as WRITE_ESTIMATION_RECORD
void START_FLEXIBILITY_DOF_RUN(int mode, int dof, int dimension, int levels, int ndof, const double* cap_loads,
                               int& skip, int& status);

// PRINT_DOF_RUN_TABLES
// After the levels of DOF dof: reads the DOF-run steps file back and prints
// the table of the levels (applied value and cap displacements; "NO
// CONVERGENCE ON PILE CAP" for a level without solution) on the results and
// computation reports and the table of the flexibility coefficients on the
// results and summary reports. Forces pass through the kip conversion on
// the results report; the coefficients are per kip under the kip option.
// Any mode but DOF_RUN_LEVELS does nothing.
//   Reads:  UNIT_DOF_RUN_STEPS (two records per level), UnitLabels
//   in:     mode, dof, levels, dimension, ndof
//   in,out: steps_open  whether UNIT_DOF_RUN_STEPS is open, kept current
//                       (0 on return unless a read failed)
//   in,out: status      STATUS_SCRATCH_FILE_ERROR when the file cannot be
//                       reopened or holds fewer or other records than its
//                       levels (the level numbers must follow 1..levels)
void PRINT_DOF_RUN_TABLES(int mode, int dof, int levels, int dimension, int ndof, int& steps_open, int& status);

// ------------------------------------------------ flexibility report

// REPORT_FLEXIBILITY_STIFFNESS
// For every level L: the flexibility matrix F whose column d is DOF d's
// column at level L (only its diagonal term in the diagonal form), inverted
// into K = F^-1 and printed on the results, summary and computation reports
// under a units table, with a warning naming the components without a
// column (their column of K is the unit column). A level whose F is
// singular prints its heading and a line saying so. Nothing happens unless
// report is 1; otherwise the flexibility-columns file is closed.
//   Reads:  UNIT_FLEXIBILITY_COLUMNS (ndof blocks of levels records each,
//           from its first record), UnitLabels
//   in:     report (1 prints), diagonal_only (1 the diagonal form),
//           levels (N), ndof (3 selects the 2D form, else 3D), lda (6),
//           factors (levels values: the factor of each level)
//   in,out: status  STATUS_SCRATCH_FILE_ERROR when the file cannot be
//                   closed, reopened or read as ndof x levels records
void REPORT_FLEXIBILITY_STIFFNESS(int report, int diagonal_only, int levels, int ndof, int lda, const double* factors,
                                  int& status);

// PRINT_PUSHOVER_HEADER
// The title "* INCREMENTAL/PUSHOVER ANALYSIS *" of a case's pushover points
// on the results report and the summary (after two empty lines), the
// computation report and the run log (after one), which is then flushed.
void PRINT_PUSHOVER_HEADER();

// WRITE_STIFFNESS_COMPUTATION_COPY
// A stiffness matrix on the computation report, unconverted: a line of its
// diagonal terms, then one line per row with the row number.
//   in: k (column-major, leading dimension 6), ndof (3 or 6)
void WRITE_STIFFNESS_COMPUTATION_COPY(const Array2<double, 6, 6>& k, int ndof);

// ================================================ stiffness estimation
// A case of the stiffness kind runs factor points: each applies the case's
// loads times a point factor (and, searching a target deflection, times the
// load factor the search predicts) and ends with the secant stiffness of
// the group at the origin, assembled from the equivalent springs of every
// pile that the point's last run left on the equivalent-spring file.

// Bases of a stiffness estimation (its first setting).
constexpr int BASIS_TOTAL_LOAD = 0;
constexpr int BASIS_TARGET_DEFLECTION = 1;
// The settings that follow the point factors of a stiffness case's list.
constexpr int STIFFNESS_SETTINGS_COUNT = 12;
constexpr int MAX_TARGET_PAIRS = 20;

// The search for the load factor of a factor point whose cap displacement
// in one DOF meets a target, and the outcome of each run of the point.
struct TargetDeflectionSearchRecord {
  int active = 0;           // 1 during the factor points of a stiffness estimation
  int state = 0;            // run permission (3 single run, 2 search, 1 last run); 0 ends, -1 no solution
  int target_dof = 0;       // the cap DOF whose displacement is searched (1..NDOF); 0 none
  int target_dof_only = 0;  // 1: only the target DOF's load is factored
  int pair_count = 0;
  int springs_written = 0;    // the last run wrote its equivalent springs
  int prediction_failed = 0;  // the last prediction found two runs of equal displacement
  double tolerance_percent = 0.0;
  double target = 0.0;        // target displacement of the point
  double new_factor = 0.0;    // load factor of the next run
  double computed = 0.0;      // the target DOF's displacement of the last run
  double run_fraction = 1.0;  // the load fraction the last run carried
  Array1<double, MAX_TARGET_PAIRS> pair_displacement{}, pair_factor{};
  Array1<double, 2> carried_pair{};  // (displacement, factor) of the first run of point 1
};
extern TargetDeflectionSearchRecord TargetDeflectionSearch;

// PREDICT_TARGET_LOAD_FACTOR
// The load factor of the next run from the (displacement, factor) pairs of
// the runs made so far: 0 with no pair; with one, the factor scaled to the
// target (1 when the displacement is below 1e-4); otherwise the newest pair
// is sorted into the table by factor and the factor follows by linear
// interpolation between the pairs that bracket the target (extrapolation
// through the first or last two). Two bracketing runs of equal
// displacement give no factor: the newest run's factor is kept and
// prediction_failed is set.
//   Reads/Writes: TargetDeflectionSearch (pairs reordered, new_factor,
//                 prediction_failed)
void PREDICT_TARGET_LOAD_FACTOR();

// PRINT_CAP_STIFFNESS_HEADER
// The heading of a stiffness estimation with its basis and the units of
// the loads, displacements and stiffness terms (results, summary,
// computation reports and run log).
//   in: basis (0 total load, else target deflection), dimension (2 or 3)
void PRINT_CAP_STIFFNESS_HEADER(int basis, int dimension);

// PRINT_TARGET_VS_COMPUTED
// One line on unit: the target DOF's label, target and computed
// displacement; nothing for the total-load basis.
//   in: settings_offset s (the settings are list positions s + 1 ..),
//       point_values (the list, point_values[q - 1] is position q)
void PRINT_TARGET_VS_COMPUTED(int unit, int settings_offset, int dimension, double computed, double target,
                              const double* point_values);

// PRINT_STIFFNESS_POINT_REPORT
// The report of a solved factor point: number and factor, the target line,
// the equivalent load and the cap displacement at the origin (loads through
// the kip conversion on the results and summary reports).
//   in: equivalent_load, displacement (NDOF values each)
void PRINT_STIFFNESS_POINT_REPORT(int settings_offset, int dimension, int point, double factor, double computed,
                                  double target, const double* point_values, const double* equivalent_load,
                                  const double* displacement);

// READ_EQUIVALENT_SPRINGS
// Reads the equivalent-spring file of the run just finished (opened and
// closed here) into EquivalentSprings: per pile the axial force, the
// secant axial (and torsional) head stiffness and the lateral node springs,
// the secant modulus per unit length times the tributary length of the
// node (half the element length at the head and the tip). The larger of
// the two lateral moduli of a 3D node is taken.
//   Reads:  PileTable, PileProperty (n_increments), RunOptions.dimension
//   in,out: status  STATUS_SCRATCH_FILE_ERROR, the file named in the final
//                   message, when the file cannot be opened or holds fewer
//                   lines or a field that is not a number
void READ_EQUIVALENT_SPRINGS(int& status);

// BEAM_COLUMN_STIFFNESS_3D / BEAM_COLUMN_STIFFNESS_2D
// The element matrix of a straight beam-column (12 x 12: axial, lateral y,
// lateral z, torsion, rotations about y and z at node 1, then node 2; 2D
// 6 x 6: axial, lateral, rotation), column-major, with the axial-force
// terms (P/L, P/10, 2PL/15, PL/30) added when flag is 1.
void BEAM_COLUMN_STIFFNESS_3D(double ei_zz, double ei_yy, double ea, double gj, double length, double axial_force,
                              int flag, double* element_matrix);
void BEAM_COLUMN_STIFFNESS_2D(double ei, double ea, double length, double axial_force, int flag,
                              double* element_matrix);

// STATIC_CONDENSATION
// Eliminates the first n - m DOFs of matrix (n x n, column-major,
// overwritten) without pivot search; reduced (m x m) receives the rest,
// the Schur complement of the leading block for a symmetric matrix.
//   out: singular  1 on a zero pivot (reduced is then zero), else 0
void STATIC_CONDENSATION(double* matrix, double* reduced, int n, int m, int& singular);

// CONDENSE_PILE_HEAD_MATRIX_3D / CONDENSE_PILE_HEAD_MATRIX_2D
// The head stiffness of one pile in pile axes (6 x 6 or 3 x 3,
// column-major) from its linear model: beam-column elements from the tip
// up on the node springs, condensed node by node onto the head, the head
// connection applied (pinned: the rotation condensed out; a rotational
// spring in series; fixed unchanged), then the secant axial (and
// torsional) head springs. A zero pivot leaves the carried matrix zero
// from there down. Runs inside the parallel loop of CAPTSTF: reads only.
//   Reads: PileTable, PileProperty, PileNodes, the sections, EquivalentSprings
//   in:    pile, geometric_flag (1 adds the axial-force terms)
//   in:    status  not read or set
void CONDENSE_PILE_HEAD_MATRIX_3D(int pile, int geometric_flag, int& status, double* head_matrix);
void CONDENSE_PILE_HEAD_MATRIX_2D(int pile, int geometric_flag, int& status, double* head_matrix);

// WRITE_CAP_MODEL_PILE_BLOCK
// The pile's block on the cap-model pile file: the pile line, its head
// springs (axial, and torsional in 3D) and its n + 1 node springs.
void WRITE_CAP_MODEL_PILE_BLOCK(int pile, int dimension);

// PILE_CAP_TRANSFORMS_2D
// O^T, R^T, O and R of a 2D pile row (3 x 3, column-major): O carries the
// cap displacement at the origin to the head, R rotates global axes into
// the pile's axes by its batter.
void PILE_CAP_TRANSFORMS_2D(int pile, double* offset_transposed, double* rotation_transposed, double* offset,
                            double* rotation);

// CAPTSTF
// The secant stiffness of the pile group at the origin for one factor
// point: every pile's head matrix carried to the origin (in parallel over
// the piles in RUN_PILE_LOOP, each into its own slot of PileHeadMatrices),
// summed on the calling thread in pile order; written to the
// equivalent-stiffness file and the reports after the point report, with the
// pile count and every pile's block (in pile order) on the cap-model pile file.
//   Reads:  PileTable, EquivalentSprings, TargetDeflectionSearch, AnalysisControl
//   Writes: PileHeadMatrices, stiffness (rows and columns 1..NDOF of 6 x 6),
//           what the pile loop's frame books (RunTimers, thread counts)
//   in:     geometric_flag, settings_offset, point, factor,
//           equivalent_load, displacement (of the point's last run)
//   in,out: status  the first failing pile's word when it was 0; the routine
//                   then returns before it sums or writes anything
void CAPTSTF(int& status, int geometric_flag, int settings_offset, int point, double factor,
             const double* equivalent_load, const double* displacement, double* stiffness);

}  // namespace pilecap
