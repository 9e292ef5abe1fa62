// The engine's exported entry point, declared for hosts in include/pilecap.h
// (with its contract: "Names.dat" in the current folder, the return values,
// one run at a time in a process), and what a host may ask of the run that
// ended.
#pragma once

#include "pilecap.h"

namespace pilecap {

// run_write_failure
// The first write of the last run that the file system refused (a full
// disk, a file beyond the size limit, a quota), which may have cut the run
// log itself: its error number (errno), 0 when every write succeeded, and
// the file's name as "Names.dat" gives it, copied into file (at most size - 1
// characters and a NUL).
__attribute__((visibility("default"))) int run_write_failure(char* file, int size);

}  // namespace pilecap
