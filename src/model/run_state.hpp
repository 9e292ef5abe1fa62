// The state of a run every floor reads: the status codes, the unit numbers,
// the run's file names, its timers, the detail line of the final message,
// the stop request and the thread-count rule.
#pragma once

#include <string>
#include <string_view>

namespace pilecap {

// ------------------------------------------------------------ status word
// The engine's one failure channel: set by the routine that meets a
// condition that ends the run, tested by every caller after every call.

constexpr int STATUS_OK = 0;
constexpr int STATUS_PILE_BELOW_DEEPEST_LAYER = 3;
constexpr int STATUS_STOPPED_BY_USER = 4;
constexpr int STATUS_METHOD_KFLAG_CONFLICT = 12;
constexpr int STATUS_PILE_BELOW_DEEPEST_LAYER_2D = 13;
constexpr int STATUS_ZERO_DETERMINANT = 14;
constexpr int STATUS_WEAK_ROCK_ZERO_COHESION = 21;
constexpr int STATUS_BEYOND_UNIT_WEIGHT_CURVE = 22;
constexpr int STATUS_BEYOND_COHESION_CURVE = 23;
constexpr int STATUS_BEYOND_FRICTION_ANGLE_CURVE = 24;
constexpr int STATUS_BEYOND_SIDE_FRICTION_CURVE = 25;
constexpr int STATUS_BEYOND_SIDE_RESISTANCE_CURVE = 26;
constexpr int STATUS_BEYOND_STRENGTH_CURVE = 27;
constexpr int STATUS_SILT_ZERO_FRICTION_ANGLE = 28;
constexpr int STATUS_SILT_SLOPE_ABOVE_FRICTION = 29;
constexpr int STATUS_SAND_ZERO_FRICTION_ANGLE = 30;
constexpr int STATUS_SAND_SLOPE_ABOVE_FRICTION = 31;
constexpr int STATUS_LS_CURVE_ZERO_E50 = 32;
constexpr int STATUS_LS_CURVE_ZERO_COHESION = 33;
constexpr int STATUS_TORQUE_CURVE_ZERO_E50 = 34;
constexpr int STATUS_TORQUE_CURVE_ZERO_COHESION = 35;
constexpr int STATUS_AXIAL_FORCE_NO_CONVERGENCE = 36;
constexpr int STATUS_INPUT_DATA_ERROR = 40;
constexpr int STATUS_FILE_ERROR = 41;
constexpr int STATUS_CAPACITY_EXCEEDED = 42;
constexpr int STATUS_GENERATION_NO_CONVERGENCE = 43;  // an element of a curve generator did not settle
constexpr int STATUS_ZERO_TORSIONAL_RIGIDITY = 44;    // a section's GJ is not above 1e-6
constexpr int STATUS_SCRATCH_FILE_ERROR = 45;         // the per-pile results scratch file failed
constexpr int STATUS_PLATE_ERROR = 46;                // the plate model of the cap failed
// Another process runs in the current folder (it holds the folder's lock):
// DUVIZU returns this code at once and writes nothing; never a final message.
constexpr int STATUS_FOLDER_IN_USE = 48;
// A run is under way in this process (another thread of the host called
// DUVIZU and it has not returned): the records of a run are the process's
// global records, so DUVIZU returns this code at once and reads and writes
// nothing, and the run under way goes on untouched; never a final message.
constexpr int STATUS_RUN_UNDER_WAY = 49;

// ------------------------------------------------------------- unit numbers

constexpr int UNIT_RUN_LOG = 10;
constexpr int UNIT_FLEXIBILITY_COLUMNS = 11;
constexpr int UNIT_DOF_RUN_STEPS = 12;
constexpr int UNIT_PILE_RESULTS_SCRATCH = 13;
constexpr int UNIT_COMPUTATION_REPORT = 14;
constexpr int UNIT_INPUT = 15;
constexpr int UNIT_RESULTS_REPORT = 16;
constexpr int UNIT_PLOT = 17;
constexpr int UNIT_SUMMARY = 18;
constexpr int UNIT_RESULT_CODES = 19;
constexpr int UNIT_AXIAL_CURVE_TEXT = 20;
constexpr int UNIT_STATUS = 21;
constexpr int UNIT_STOP_REQUEST = 22;
constexpr int UNIT_EQUIVALENT_SPRINGS = 23;
constexpr int UNIT_EQUIVALENT_STIFFNESS = 24;
constexpr int UNIT_AXIAL_WARNINGS = 25;
constexpr int UNIT_ITERATION_DUMP = 26;
constexpr int UNIT_AXIAL_CURVE_DATA = 27;
constexpr int UNIT_CURVE_EXPORT = 28;
constexpr int UNIT_CAP_MODEL_PILES = 29;
constexpr int UNIT_SUMMARY_SCRATCH = 30;
constexpr int UNIT_FILE_NAMES = 31;
constexpr int UNIT_ECHO = 32;
constexpr int UNIT_ECHO_INSERT = 33;
constexpr int UNIT_GENERATED_AXIAL_CURVES = 34;

// ------------------------------------------------------------- run files

constexpr int FILE_NAME_LENGTH = 256;

// The file names of a run, lines 5 to 28 of "Names.dat", each without its
// trailing blanks.
struct RunFilesRecord {
  std::string input_file, echo_file, results_file, summary_file, plot_file, run_log_file, result_codes_file,
      computation_file, status_file, axial_curve_text_file, flexibility_columns_file, dof_run_steps_file,
      pile_results_scratch_file, stop_request_file, equivalent_springs_file, equivalent_stiffness_file,
      axial_warnings_file, iteration_dump_file, axial_curve_data_file, curve_export_file, cap_model_piles_file,
      summary_scratch_file, echo_insert_file, generated_axial_curves_file;
};
extern RunFilesRecord RunFiles;

// SET_STATUS_DETAIL
// Keeps the line that names what failed (input section and line, file name,
// exceeded capacity) for the final message of codes 40, 41 and 42. Called
// by the routine that sets the code; the last call of a run wins.
void SET_STATUS_DETAIL(std::string_view line);
const std::string& STATUS_DETAIL();

// OPEN_FILE_FOR_WRITING
// Opens (and truncates) a report, scratch or data file of the run on unit.
// A file that cannot be created (a folder of that name, a folder without
// write permission) ends the run with STATUS_FILE_ERROR and the file named
// in the detail line; a status already set keeps its own code and detail.
//   in:     unit, name   the unit number and the file name as "Names.dat" gives it
//   in:     block        true: block-buffered (the results and computation
//                        reports); false: the file gets each line as it ends
//   in,out: status
//   returns whether the file is open
bool OPEN_FILE_FOR_WRITING(int unit, const std::string& name, int& status, bool block = false);

// CHECK_FILE_WRITES
// Hands every open file's buffered data to the file system, then ends a run
// that has no other failure with STATUS_FILE_ERROR when some file of the run
// refused data since the run began (fio's first write failure); the detail
// line names that file and the system's reason after it:
//   "    x.results.txt (WRITE FAILED: No space left on device)"
//   in,out: status  left as it is unless it is STATUS_OK
void CHECK_FILE_WRITES(int& status);

// WRITE_FAILURE_REASON
// The system's text of an error number of a refused write ("File too
// large"); "NO REASON GIVEN" for 0.
std::string WRITE_FAILURE_REASON(int error);

// REJECT_INPUT_ITEM / REJECT_INPUT_VALUE
// A value of the input the analysis cannot use: status := STATUS_INPUT_DATA_ERROR
// with the detail line "    INPUT SECTION 10, SOIL LAYER 2: reason", or with
// the value "    INPUT SECTION 7, PILE 3: '4' (reason)".
void REJECT_INPUT_ITEM(int& status, int input_section, std::string_view item, std::string_view reason);
void REJECT_INPUT_VALUE(int& status, int input_section, std::string_view item, int value, std::string_view reason);

// READ_STOP_REQUEST
// Opens the stop-request file (created empty when missing), reads its first
// integer and closes it. 0 when the file is empty, unreadable or absent.
int READ_STOP_REQUEST();

// STOP_REQUESTED: true when the stop-request file holds the value 1, the
// host's request to end the analysis (status STATUS_STOPPED_BY_USER).
bool STOP_REQUESTED();

// ------------------------------------------------------- final report, timing

// Wall-clock times of the run in seconds.
struct RunTimersRecord {
  double case_time = 0.0;      // elapsed time of the case just finished
  double run_clock = 0.0;      // wall clock at the start; elapsed run time at the end
  double case_mark = 0.0;      // elapsed run time at the end of the previous case
  double parallel_time = 0.0;  // in parallel regions during the current case
  double serial_time = 0.0;    // case_time - parallel_time - print_time
  double print_time = 0.0;     // writing per-pile results during the current case
  int threads_used_run = 1;    // largest thread count set in the run
};
extern RunTimersRecord RunTimers;

// PRINT_EXECUTION_TIME: the run's elapsed time and processor line, run log.
void PRINT_EXECUTION_TIME();

// PRINT_TIMING_SUMMARY
// The time of the case just finished with its processor line and its serial,
// parallel and printing shares, run log. Stores RunTimers.serial_time.
void PRINT_TIMING_SUMMARY(int mode);

// WRITE_TIME_LINE: one time line (ms, sec, min or hr layout) for T seconds.
void WRITE_TIME_LINE(int unit, double seconds);

// SET_THREAD_COUNT
// Chooses the thread count of the next parallel region: the request capped by
// the processors, or an automatic count that leaves processors free; never
// more than work_count or (pair_flag 1) 2, nor than the run's cap
// (AnalysisControl.threads_free, RUN_THREAD_CAP, when it has one), never
// fewer than 1. Raises used_max and used_run.
//   in: requested (0 automatic), available (the host's limit), work_count, pair_flag
//   in,out: used_max, used_run
void SET_THREAD_COUNT(int requested, int available, int& used_max, int& used_run, int work_count, int pair_flag);

// SET_PILE_LOOP_THREADS
// SET_THREAD_COUNT for a loop over work_count piles: the run's request, the
// host's limit, no pair limit; the maxima in AnalysisControl and RunTimers.
// A case that leaves the count automatic takes the host's limit whole when
// the host chose it (AnalysisControl.threads_host_set): the automatic rule
// leaves processors to a host that asked for nothing.
// Such loops hand out their piles with schedule(guided): shrinking runs of
// piles to whichever thread is free, so that a processor slowed by other
// work holds back a few piles, not a fixed share of them, while the long
// first runs keep neighbouring piles, whose rows lie side by side, on one
// thread. Each pile writes only its own slots, so no result depends on the
// thread that takes it.
void SET_PILE_LOOP_THREADS(int work_count);

// The count SET_THREAD_COUNT chooses for p processors.
int THREAD_COUNT_RULE(int requested, int processors, int work_count, int pair_flag);

// FREE_PROCESSORS
// The processors this process may use that no other work holds at the call:
// the machine's online processors less its runnable tasks that are not
// threads of this process ("procs_running" of /proc/stat, the threads of
// /proc/self/task in state R), at most the processors the parallel runtime
// offers, at least 1; 0 when the machine does not say. A thread beyond them
// waits for a processor that other work holds, and an idle thread of the
// runtime, which spins for milliseconds before it sleeps, takes one from the
// threads that work.
int FREE_PROCESSORS();

// RUNTIME_WAIT_SPINS
// Whether the parallel runtime, started with these settings (the texts of
// OMP_WAIT_POLICY and GOMP_SPINCOUNT, nullptr when unset), lets an idle
// thread spin for long before it sleeps: its default (a few milliseconds at
// every barrier), an active wait, or a spin count above SHORT_SPIN_LIMIT. A
// passive wait or a short spin gives the processor back within a fraction of
// a millisecond. A setting the runtime cannot read counts as unset, as the
// runtime ignores it.
bool RUNTIME_WAIT_SPINS(const char* wait_policy, const char* spin_count);

// HOST_CHOSE_THREAD_COUNT
// Whether the host chose the thread limit it calls the engine with
// (host_threads, the runtime's limit at the call): OMP_NUM_THREADS was set
// when the engine was loaded, or the limit differs from the one the runtime
// started with (the host set it).
bool HOST_CHOSE_THREAD_COUNT(int host_threads);

// RUN_THREAD_CAP
// The cap a run puts on its thread counts as it starts
// (AnalysisControl.threads_free): where the runtime's idle threads spin (its
// settings as the environment held them when the engine was loaded, which is
// when the runtime read them), the processors other work leaves free
// (FREE_PROCESSORS), since a spinning thread beyond them takes a processor
// from a thread that works; where they wait passively or briefly, 0 (no cap):
// the host's thread count stands. A source set by SET_FREE_PROCESSOR_SOURCE
// stands in for both.
int RUN_THREAD_CAP();

// SET_FREE_PROCESSOR_SOURCE
// Puts source in place of RUN_THREAD_CAP's reading of the machine (nullptr:
// the machine again), so that a test, not the machine's load, chooses its
// thread counts.
using FreeProcessorSource = int (*)();
void SET_FREE_PROCESSOR_SOURCE(FreeProcessorSource source);

// RUNNING_TASKS_IN_STATISTICS: the value of the "procs_running" line of a
// text of /proc/stat; -1 when it has none.
int RUNNING_TASKS_IN_STATISTICS(std::string_view statistics);

// TASK_STAT_RUNNING: whether the text of a task's /proc stat file gives the
// state R (running or runnable). The state follows the command name, which
// may itself hold blanks and parentheses, after its closing parenthesis.
bool TASK_STAT_RUNNING(std::string_view stat);

}  // namespace pilecap
