// The engine's exported entry point, declared for hosts in include/pilecap.h
// (with its contract: "Names.dat" in the current folder, the return values,
// one run at a time in a process), and what a host may ask of the run that
// ended.
//
// One run at a time in a process: every record of a run is a global record
// of the process, so a call of DUVIZU while another thread's call runs
// returns 49 (STATUS_RUN_UNDER_WAY) at once, reads and writes nothing (not
// even in the folder of the run under way) and leaves that run untouched; a
// call after it returned runs normally.
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
