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
//                the allocator's code when they could not be created;
//                STATUS_FOLDER_IN_USE when another process holds the folder,
//                STATUS_RUN_UNDER_WAY when a run is under way in this process
//                (both at once, nothing read or written)
void RUN_ANALYSIS(int& status);

// ------------------------------------------------------------- run files

// ENTER_RUN_FOLDER / LEAVE_RUN_FOLDER
// One run at a time in a folder: ENTER takes the lock of the current folder
// (src/run/folder_lock.hpp) before "Names.dat" is read, LEAVE lets it go
// after the last file of the run is closed. A host that holds the lock
// itself (pilecap-run) keeps it and the run goes on; when the lock file
// cannot be had (a folder without write permission) the run goes on unguarded.
//   out:    lock_file  the open lock file while this run holds it, else -1
//   returns false when another process holds the lock: the run must not start
bool ENTER_RUN_FOLDER(int& lock_file);
void LEAVE_RUN_FOLDER(int& lock_file);

// OPEN_RUN_FILES
// Reads "Names.dat" from the current directory, removes what an earlier run
// left under the names of this run's reports (REMOVE_STALE_RUN_FILES), opens
// the run's files on their units, writes the start line of the status file
// and polls the stop request once.
//   in,out: status  STATUS_FILE_ERROR when "Names.dat" is missing or short or
//                   a file cannot be opened; STATUS_STOPPED_BY_USER on a stop
void OPEN_RUN_FILES(int& status);

// REMOVE_STALE_RUN_FILES
// Removes every file the engine may write under the names of RunFiles (the
// reports, data and scratch files, whether or not this run writes them) and
// the plate files of every run of the deck, so that the folder holds this
// run's files only, also after a run that stops or fails early. The input,
// the echo insert and the stop-request file are the host's and stay; a
// device or pipe named as a report (/dev/null) stays too.
void REMOVE_STALE_RUN_FILES();

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
