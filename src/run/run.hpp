// Run control: the run sequence, the run's files and the final report. The
// top of the engine; it reads every floor below.
#pragma once

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "model/run_state.hpp"

namespace pilecap {

// ------------------------------------------------------------ run sequence

// DUVIZU is declared in run/duvizu.hpp, the library's one exported entry.

// RUN_ANALYSIS
// One analysis: creates the model store, opens the run's files, reads,
// converts and echoes the input, runs the cases and combinations, writes the
// final message, times and summary, closes the files and releases the store.
//   out: status  the release result (0) after any run that created its tables;
//                the allocator's code when they could not be created
void RUN_ANALYSIS(int& status);

// ------------------------------------------------------------- run files

// OPEN_RUN_FILES
// Reads "Names.dat" from the current directory, opens the run's files on
// their units, writes the start line of the status file and polls the stop
// request once.
//   in,out: status  STATUS_FILE_ERROR when "Names.dat" is missing or short or
//                   a file cannot be opened; STATUS_STOPPED_BY_USER on a stop
void OPEN_RUN_FILES(int& status);

// CLOSE_RUN_FILES
// The end of a run: the summary banner, the copy of the summary scratch file
// into the summary report (COPY_SUMMARY_SCRATCH), and the closing of every
// run file (CLOSE_RUN_UNITS).
void CLOSE_RUN_FILES();
void COPY_SUMMARY_SCRATCH();
void CLOSE_RUN_UNITS();


// REPORT_FINAL_STATUS
// The stop message on the results and summary reports, the summary copy,
// the check of every file's writes, the final message of the status word to
// the run log (after a refused write also to the results and summary reports,
// wherever it can still be written), execution time, and closing.
void REPORT_FINAL_STATUS(int& status);

}  // namespace pilecap
