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

}  // namespace pilecap
