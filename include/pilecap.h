/* pilecap.h: the entry point of libpilecap.so for a host program, in C (C99
 * and later) and in C++.
 *
 * A host links with -lpilecap and calls DUVIZU once per analysis:
 *
 *   Files. DUVIZU reads "Names.dat" in the current folder: four lines it does
 *   not read, the input deck on line 5, then the names of the run's 23 files
 *   on lines 6 to 28, each at most 256 characters and relative to the current
 *   folder (pilecap-run writes such a file into its output folder; the README,
 *   "A host of its own", lists the lines). Write it, and change into its
 *   folder, before the call.
 *
 *   Return value. 0 once the run could create its tables, whatever the
 *   analysis' outcome; 48 when another process runs in the current folder
 *   (it holds the folder's lock, an flock on "pilecap.lock"; nothing is read
 *   or written then); 49 when a run is under way in this process (see below);
 *   another positive code when their memory could not be
 *   had (nothing is written then). The outcome is in the run log, whose final
 *   message ("ANALYSIS COMPLETED", "*** ANALYSIS STOPPED BY USER ***" or
 *   "* ERROR IN ANALYSIS *" and the lines naming the error) stands before
 *   its execution time and processor lines, and in the result-code file.
 *
 *   One run at a time. The engine's records are global, one run's for the
 *   whole process: a call made while another thread's call runs returns 49
 *   at once, reads and writes nothing (not even in the folder of the run
 *   under way) and leaves that run untouched. Runs one after the other are
 *   fine, each starting afresh; call again once the running call returned.
 *
 *   Threads. The engine runs its parallel parts on at most the OpenMP thread
 *   limit of the calling thread. Set the runtime's wait (OMP_WAIT_POLICY=PASSIVE
 *   or GOMP_SPINCOUNT=1000) in the environment before the library is loaded.
 */
#ifndef PILECAP_H
#define PILECAP_H

#if defined(__GNUC__)
#define PILECAP_EXPORT __attribute__((visibility("default")))
#else
#define PILECAP_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one analysis from the files named in "Names.dat" in the current folder.
 * Returns 0 after every run that could create its tables, whatever the
 * analysis' outcome; 48 when another process runs in the current folder; 49
 * when a run is under way in this process; a positive allocator code when
 * the tables could not be created. */
PILECAP_EXPORT int DUVIZU(void);

#ifdef __cplusplus
}
#endif

#endif /* PILECAP_H */
