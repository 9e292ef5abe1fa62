// The engine's exported entry point, and what a host may ask of the run
// that ended.
#pragma once

// DUVIZU
// Runs one analysis from the files named in "Names.dat" in the current
// directory. Returns 0 after every run that could create its tables, whatever
// the analysis' outcome (that is in the run log and the result-code file);
// a positive allocator code when the tables could not be created; 48
// (STATUS_FOLDER_IN_USE) when another process runs in the current folder
// (it holds the folder's lock, src/run/folder_lock.hpp): nothing is read or
// written then.
extern "C" __attribute__((visibility("default"))) int DUVIZU(void);

namespace pilecap {

// run_write_failure
// The first write of the last run that the file system refused (a full
// disk, a file beyond the size limit, a quota), which may have cut the run
// log itself: its error number (errno), 0 when every write succeeded, and
// the file's name as "Names.dat" gives it, copied into file (at most size - 1
// characters and a NUL).
__attribute__((visibility("default"))) int run_write_failure(char* file, int size);

}  // namespace pilecap
