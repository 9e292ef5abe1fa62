// The run state every floor shares: the run's file names, the detail line
// of the final message, the stop request, the run timers with their time and
// processor lines, and the rule that chooses the thread count of a parallel
// region.
#include "model/run_state.hpp"

#include <omp.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "base/fio.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

RunFilesRecord RunFiles;
RunTimersRecord RunTimers;

namespace {
std::string status_detail;
}  // namespace

void SET_STATUS_DETAIL(std::string_view line) { status_detail.assign(line); }

bool OPEN_FILE_FOR_WRITING(int unit, const std::string& name, int& status, bool block) {
  const fio::Buffering buffering = block ? fio::Buffering::Block : fio::Buffering::Line;
  if (fio::open(unit, name, fio::Mode::Write, fio::Form::Formatted, buffering) == fio::IO_OK) return true;
  if (status == STATUS_OK) {
    status = STATUS_FILE_ERROR;
    SET_STATUS_DETAIL(std::string("    ") + name);
  }
  return false;
}

void CHECK_FILE_WRITES(int& status) {
  for (int unit = 0; unit <= fio::MAX_UNIT; ++unit) fio::flush(unit);
  fio::WriteFailure failure;
  if (status != STATUS_OK || !fio::first_write_failure(failure)) return;
  status = STATUS_FILE_ERROR;
  SET_STATUS_DETAIL(std::string("    ") + failure.path + " (WRITE FAILED: " + WRITE_FAILURE_REASON(failure.error) +
                    ")");
}

std::string WRITE_FAILURE_REASON(int error) {
  return error != 0 ? std::generic_category().message(error) : std::string("NO REASON GIVEN");
}

const std::string& STATUS_DETAIL() { return status_detail; }

void REJECT_INPUT_ITEM(int& status, int input_section, std::string_view item, std::string_view reason) {
  std::string detail("    INPUT SECTION ");
  detail.append(std::to_string(input_section)).append(", ").append(item).append(": ").append(reason);
  SET_STATUS_DETAIL(detail);
  status = STATUS_INPUT_DATA_ERROR;
}

void REJECT_INPUT_VALUE(int& status, int input_section, std::string_view item, int value, std::string_view reason) {
  std::string text("'");
  text.append(std::to_string(value)).append("' (").append(reason).append(")");
  REJECT_INPUT_ITEM(status, input_section, item, text);
}

namespace {

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_HOUR = 3600;
constexpr double MILLISECONDS_PER_SECOND = 1000.0;
constexpr int STOP_VALUE = 1;  // the stop-request file's value that asks for the stop
constexpr const char* TIME_LABEL = "     Execution Time    :";
constexpr const char* PROCESSOR_LABEL = "     Number Processors :";
constexpr const char* MS_LAYOUT = "(A24,I5,A3)";         //      Execution Time    :  250 ms
constexpr const char* SEC_LAYOUT = "(A24,I5,A4,I5,A3)";  //      Execution Time    :   75 sec  500 ms
constexpr const char* MIN_LAYOUT = "(A24,I5,A4,I5,A4,I5,A3)";
constexpr const char* HR_LAYOUT = "(A24,I8,A3,I5,A4,I5,A4,I5,A3)";
constexpr const char* PROCESSOR_LAYOUT = "(A24,I3,A1,I2)";  //      Number Processors :  1/ 8
constexpr const char* SHARE_LAYOUT = "(A24,F10.3,A4)";      //      Serial processing :     0.125 sec

}  // namespace

int READ_STOP_REQUEST() {
  int value = 0;
  if (fio::open(UNIT_STOP_REQUEST, RunFiles.stop_request_file, fio::Mode::ReadCreate) != fio::IO_OK) return 0;
  if (fio::read_list(UNIT_STOP_REQUEST, value) != fio::IO_OK) value = 0;
  fio::close(UNIT_STOP_REQUEST);
  return value;
}

bool STOP_REQUESTED() { return READ_STOP_REQUEST() == STOP_VALUE; }

void WRITE_TIME_LINE(int unit, double seconds) {
  const int whole = static_cast<int>(seconds);
  const int ms = static_cast<int>((seconds - whole) * MILLISECONDS_PER_SECOND);
  if (seconds < 1.0) {
    fio::write(unit, MS_LAYOUT, TIME_LABEL, static_cast<int>(seconds * MILLISECONDS_PER_SECOND), " ms");
  } else if (seconds < SECONDS_PER_MINUTE) {
    fio::write(unit, SEC_LAYOUT, TIME_LABEL, whole, "sec", ms, " ms");
  } else if (seconds < SECONDS_PER_HOUR) {
    fio::write(unit, MIN_LAYOUT, TIME_LABEL, whole / SECONDS_PER_MINUTE, " min", whole % SECONDS_PER_MINUTE, " sec", ms,
               " ms");
  } else {
    fio::write(unit, HR_LAYOUT, TIME_LABEL, whole / SECONDS_PER_HOUR, " hr",
               whole / SECONDS_PER_MINUTE % SECONDS_PER_MINUTE, " min", whole % SECONDS_PER_MINUTE, " sec", ms, " ms");
  }
}

void PRINT_EXECUTION_TIME() {
  WRITE_TIME_LINE(UNIT_RUN_LOG, RunTimers.run_clock);
  fio::write(UNIT_RUN_LOG, PROCESSOR_LAYOUT, PROCESSOR_LABEL, RunTimers.threads_used_run, "/",
             AnalysisControl.threads_available);
}

void PRINT_TIMING_SUMMARY(int /*mode*/) {
  WRITE_TIME_LINE(UNIT_RUN_LOG, RunTimers.case_time);
  fio::write(UNIT_RUN_LOG, PROCESSOR_LAYOUT, PROCESSOR_LABEL, AnalysisControl.threads_used_max, "/",
             AnalysisControl.threads_available);
  RunTimers.serial_time = RunTimers.case_time - RunTimers.parallel_time - RunTimers.print_time;
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Serial processing :", RunTimers.serial_time, " sec");
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Paral. processing :", RunTimers.parallel_time, " sec");
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Print. processing :", RunTimers.print_time, " sec");
}

int THREAD_COUNT_RULE(int requested, int processors, int work_count, int pair_flag) {
  constexpr int PAIR_LIMIT = 2;
  constexpr int MANY_PROCESSORS = 3;
  int n = 0;
  if (requested != 0) {
    n = std::min(requested, processors);
  } else if (processors > MANY_PROCESSORS) {
    n = processors - 2;  // leave two processors to the host
  } else if (processors >= 2) {
    n = processors - 1;
  } else {
    n = processors;
  }
  n = std::min(n, work_count);
  if (pair_flag == 1) n = std::min(n, PAIR_LIMIT);
  // A region always has a thread, whatever the request or the work.
  return std::max(n, 1);
}

void SET_THREAD_COUNT(int requested, int available, int& used_max, int& used_run, int work_count, int pair_flag) {
  int processors = omp_get_num_procs();
  // A host that limited the runtime's threads before the run is honoured.
  if (available >= 1) processors = std::min(processors, available);
  int n = THREAD_COUNT_RULE(requested, processors, work_count, pair_flag);
  // Threads beyond the free processors would fight other work for them.
  if (AnalysisControl.threads_free >= 1) n = std::min(n, AnalysisControl.threads_free);
  used_max = std::max(used_max, n);
  used_run = std::max(used_run, n);
  omp_set_num_threads(n);
}

void SET_PILE_LOOP_THREADS(int work_count) {
  constexpr int NO_PAIR_LIMIT = 0;
  const int requested = AnalysisControl.threads_wanted == 0 && AnalysisControl.threads_host_set == 1
                            ? AnalysisControl.threads_available
                            : AnalysisControl.threads_wanted;
  SET_THREAD_COUNT(requested, AnalysisControl.threads_available, AnalysisControl.threads_used_max,
                   RunTimers.threads_used_run, work_count, NO_PAIR_LIMIT);
}

namespace {

constexpr const char* MACHINE_STATISTICS = "/proc/stat";
constexpr const char* OWN_TASKS = "/proc/self/task";
constexpr const char* TASK_STAT = "stat";
constexpr std::string_view RUNNING_TASKS_KEY = "procs_running";
constexpr char RUNNING_STATE = 'R';

FreeProcessorSource free_processor_source = nullptr;

constexpr const char* WAIT_POLICY_VARIABLE = "OMP_WAIT_POLICY";
constexpr const char* SPIN_COUNT_VARIABLE = "GOMP_SPINCOUNT";
// The runtime spins about 100,000 turns a millisecond; its default wait is
// 300,000 turns, and anything up to a tenth of that (0.3 ms) is short.
constexpr long long DEFAULT_SPIN_COUNT = 300000;
constexpr long long SHORT_SPIN_LIMIT = 30000;

// The text without blanks around it, in upper case.
std::string setting_word(const char* text) {
  std::string word;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != ' ' && *c != '\t') word += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  }
  return word;
}

// The spin count a GOMP_SPINCOUNT text sets (a whole number with an optional
// k, M, G or T, or "infinite"); -1 when the text does not read.
long long spin_count_setting(const char* text) {
  const std::string word = setting_word(text);
  if (word == "INFINITE" || word == "INFINITY") return std::numeric_limits<long long>::max();
  long long count = -1;
  const auto [rest, error] = std::from_chars(word.data(), word.data() + word.size(), count);
  if (error != std::errc{} || count < 0) return -1;
  const std::string_view suffix(rest, word.data() + word.size() - rest);
  constexpr std::string_view SCALES = "KMGT";
  if (suffix.empty()) return count;
  if (suffix.size() != 1 || SCALES.find(suffix[0]) == std::string_view::npos) return -1;
  constexpr long long THOUSAND = 1000;
  for (std::size_t step = 0; step <= SCALES.find(suffix[0]); ++step) {
    count = count > std::numeric_limits<long long>::max() / THOUSAND ? std::numeric_limits<long long>::max()
                                                                     : count * THOUSAND;
  }
  return count;
}

// The runtime's settings as the environment held them when the engine was
// loaded; the runtime, which the engine depends on, had read them just before.
const bool runtime_wait_spins_at_load =
    RUNTIME_WAIT_SPINS(std::getenv(WAIT_POLICY_VARIABLE), std::getenv(SPIN_COUNT_VARIABLE));

constexpr const char* THREAD_COUNT_VARIABLE = "OMP_NUM_THREADS";
const bool thread_count_in_environment_at_load = std::getenv(THREAD_COUNT_VARIABLE) != nullptr;
const int runtime_threads_at_load = omp_get_max_threads();

std::string file_text(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The threads of this process that are running or runnable now.
int own_running_threads() {
  std::error_code error;
  int running = 0;
  for (const auto& task : std::filesystem::directory_iterator(OWN_TASKS, error)) {
    if (TASK_STAT_RUNNING(file_text(task.path() / TASK_STAT))) ++running;
  }
  return running;
}

}  // namespace

int RUNNING_TASKS_IN_STATISTICS(std::string_view statistics) {
  std::size_t start = 0;
  while (start < statistics.size()) {
    std::size_t end = statistics.find('\n', start);
    if (end == std::string_view::npos) end = statistics.size();
    const std::string_view line = statistics.substr(start, end - start);
    start = end + 1;
    if (!line.starts_with(RUNNING_TASKS_KEY) || line.size() == RUNNING_TASKS_KEY.size() ||
        line[RUNNING_TASKS_KEY.size()] != ' ') {
      continue;
    }
    std::string_view value = line.substr(RUNNING_TASKS_KEY.size());
    value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
    int count = -1;
    const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    return error == std::errc{} && count >= 0 ? count : -1;
  }
  return -1;
}

bool TASK_STAT_RUNNING(std::string_view stat) {
  const std::size_t name_end = stat.rfind(')');
  // ") R ...": the state is the first field after the name.
  constexpr std::size_t STATE_OFFSET = 2;
  if (name_end == std::string_view::npos || name_end + STATE_OFFSET >= stat.size()) return false;
  return stat[name_end + STATE_OFFSET] == RUNNING_STATE;
}

int FREE_PROCESSORS() {
  const int usable = omp_get_num_procs();
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  const int running = RUNNING_TASKS_IN_STATISTICS(file_text(MACHINE_STATISTICS));
  if (running < 0 || online < 1 || usable < 1) return 0;
  // The thread that reads the files is running, so it is at least one of them.
  const int others = std::max(running - std::max(own_running_threads(), 1), 0);
  return static_cast<int>(std::clamp<long>(online - others, 1, usable));
}

bool RUNTIME_WAIT_SPINS(const char* wait_policy, const char* spin_count) {
  // A spin count of its own decides, whatever the policy.
  if (spin_count != nullptr) {
    const long long count = spin_count_setting(spin_count);
    if (count >= 0) return count > SHORT_SPIN_LIMIT;
  }
  const std::string policy = wait_policy != nullptr ? setting_word(wait_policy) : std::string();
  if (policy == "PASSIVE") return false;
  if (policy == "ACTIVE") return true;
  return DEFAULT_SPIN_COUNT > SHORT_SPIN_LIMIT;
}

bool HOST_CHOSE_THREAD_COUNT(int host_threads) {
  return thread_count_in_environment_at_load || host_threads != runtime_threads_at_load;
}

int RUN_THREAD_CAP() {
  if (free_processor_source != nullptr) return free_processor_source();
  return runtime_wait_spins_at_load ? FREE_PROCESSORS() : 0;
}

void SET_FREE_PROCESSOR_SOURCE(FreeProcessorSource source) { free_processor_source = source; }

}  // namespace pilecap
