// pilecap-run: the stand-in host. It writes "Names.dat" for one input deck
// into the output folder (every file named after the input's base name),
// changes into that folder and calls DUVIZU; while the engine runs, a second
// thread reads the status file and prints a line as each load case and
// combination starts (with its load at the origin) and ends, and where the
// solver is within a case; SIGINT, SIGTERM and SIGHUP become a stop request.
// Afterwards it prints the outcome of every case and combination from the
// result-code file, the run log and the input echo, and the run log's final
// message. The output folder is locked for the whole run (one run at a time
// in a folder); a write the file system refused is named with its reason.
// Exit status: 0 every run completed, 1 the engine ended with an error
// status or a write failed, 2 a usage or file problem (also a folder in use),
// 3 a run partial or not analysed (also after a stop request), 128 + the
// signal number after SIGINT, SIGTERM or SIGHUP.
// It sets the parallel runtime's wait before it loads the engine (libpilecap.so
// beside it), so that idle threads do not spin (see set_runtime_environment).
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/analysis.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "run/duvizu.hpp"
#include "run/folder_lock.hpp"
#include "run_report.hpp"

namespace {

namespace fs = std::filesystem;
using pilecap::host::Outcome;

constexpr int EXIT_ALL_COMPLETED = 0;
constexpr int EXIT_ENGINE_ERROR = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_NOT_ALL_COMPLETED = 3;

constexpr std::size_t MAX_NAME_LENGTH = 256;  // characters of a name the engine reads from "Names.dat"
constexpr int RESERVED_LINES = 4;
constexpr long MAX_THREADS = 4096;
constexpr auto POLL_INTERVAL = std::chrono::milliseconds(100);

// File name suffixes in the order of lines 6 to 28 of "Names.dat"; line 5 is
// the input itself.
const char* const OUTPUT_SUFFIXES[] = {
    ".echo.txt",         ".results.txt",     ".summary.txt",          ".plot.txt",
    ".log.txt",          ".codes.txt",       ".computation.txt",      ".status.txt",
    ".axial-curves.txt", ".flexibility.txt", ".dof-steps.txt",        ".pile-results.scratch",
    ".stop.txt",         ".springs.txt",     ".stiffness.txt",        ".axial-warnings.txt",
    ".iterations.txt",   ".axial-data.txt",  ".curves.dat",           ".cap-model-piles.txt",
    ".summary.scratch",  ".echo-insert.txt", ".generated-curves.txt",
};
constexpr const char* LOG_SUFFIX = ".log.txt";
constexpr const char* CODES_SUFFIX = ".codes.txt";
constexpr const char* STATUS_SUFFIX = ".status.txt";
constexpr const char* ECHO_SUFFIX = ".echo.txt";
constexpr const char* STOP_SUFFIX = ".stop.txt";
constexpr const char* SUMMARY_SUFFIX = ".summary.txt";
constexpr const char* FOLDER_SUFFIX = "-run";

// The parallel runtime reads its settings once, as it is loaded. Its default
// wait lets an idle thread spin for some milliseconds at every barrier before
// it sleeps; beside other work the spinning threads took the processors from
// the threads that work, and a 100-pile group ran 2.8 times slower on 8
// threads than on one. A spin of about 10 microseconds bridges the short gaps
// between the loops of a Newton iteration and gives the processor back soon
// after. This host therefore sets the wait in its environment and only then
// loads the engine, and the runtime with it, so the process starts once (it
// runs as it is under valgrind or the dynamic loader). A wait the user set
// stays.
constexpr const char* WAIT_POLICY_VARIABLE = "OMP_WAIT_POLICY";
constexpr const char* SPIN_COUNT_VARIABLE = "GOMP_SPINCOUNT";
constexpr const char* SHORT_SPIN_COUNT = "1000";
constexpr const char* THREAD_COUNT_VARIABLE = "OMP_NUM_THREADS";
// Looked for beside this program, then in the loader's search path.
constexpr const char* ENGINE_LIBRARY = "libpilecap.so";
constexpr const char* ENTRY_POINT = "DUVIZU";
// pilecap::set_run_start_hook(RunStartHook) and pilecap::run_write_failure(char*,
// int), as the library exports them.
constexpr const char* START_HOOK_SETTER = "_ZN7pilecap18set_run_start_hookEPFviiPKdPKcS3_E";
constexpr const char* WRITE_FAILURE_QUERY = "_ZN7pilecap17run_write_failureEPci";

constexpr const char* USAGE = "usage: pilecap-run [--threads N] [--quiet] INPUT [OUTDIR]";

constexpr const char* HELP = R"(usage: pilecap-run [--threads N] [--quiet] INPUT [OUTDIR]

Analyses the pile foundation described by the input deck INPUT and writes the
reports into the folder OUTDIR, by default NAME-run/ in the current folder
(NAME being the input's file name without its extension). docs/input.md
describes the input deck, docs/outputs.md the reports.

While the engine runs, a line is printed as each load case and combination
starts, with its load at the origin (FX FY MZ FZ MY MX in the units of the
reports; zeros for a case whose loads are given at a point), and ends; within
a case, where its solver is (load step, share of the load, iteration): on a
terminal one line rewritten in place, otherwise a line every 10 seconds.
Warnings on the input (a line holding more values than are read, as 100,000
typed for 100000) follow the run; they do not change the exit status. At the
end one line per load case and combination gives its outcome (completed;
partial at N % of the load; not analysed, and why; stopped by request, with no
results reported when the stop came inside its load steps), the pushover
points that stopped part way, the number of pile warnings, and then the final
message of the run log.

A run is stopped by writing 1 into NAME.stop.txt, or by Ctrl-C (SIGINT),
SIGTERM or SIGHUP (a closed terminal): the first one asks the engine to stop
(it ends the case it is in at its next check, with its own final message); a
second one ends the run at once, leaving the reports cut off.

One run at a time writes into a folder: a run holds the lock file
OUTDIR/pilecap.lock while it works, and a second run into the same folder
ends at once (exit status 2). Before the engine writes, every file an
earlier run left under the names of this run's files is removed, so the
folder holds this run's files of NAME only. A path holding a control
character (a newline) cannot be handed to the engine and is refused.

Options:
  --threads N  run the parallel parts of the analysis on N threads (a
               positive whole number; at most the processors online;
               default: the engine's own choice)
  --quiet      print no progress lines
  --help, -h   print this help and exit
  --version    print the version and exit

Reports, in OUTDIR:
  NAME.summary.txt   the answers: cap displacement, pile-head displacements
                     and forces, extreme moments and where they occur
  NAME.results.txt   cap tables of every case and, when a case asks for
                     them, tables along every pile
  NAME.echo.txt      the input as the engine read it, and generated curves
  NAME.log.txt       run log: progress, warnings and the final message
  NAME.codes.txt     the result code of every load case and combination
  NAME.stop.txt      write 1 into it to stop a running analysis
  and further data and scratch files (docs/outputs.md).
The pile-top reactions are the forces the cap puts on each pile head; the
tables along a pile give the pile's own moments and shears, with signs of
their own (docs/outputs.md, "Signs in the tables"). Batter directions, head
connections and tolerances in SI units: docs/input.md, sections 3 and 7.

Exit status:
  0  every load case and combination completed
  1  the engine ended with an error (the final message says which), or a
     report could not be written whole (a full disk, a file size limit, a
     quota: the file and the system's reason are named)
  2  the command line was wrong, INPUT or OUTDIR could not be used, or
     another run is writing into OUTDIR
  3  the analysis ended, but a load case or combination stopped at part of
     its load or was not analysed, a pushover point stopped part way, or
     a stop request ended the run
  129, 130, 143  the run was interrupted by SIGHUP, SIGINT or SIGTERM
     (128 + signal)
)";

struct Options {
  int threads = 0;  // 0: the engine's own choice
  bool quiet = false;
  std::vector<std::string> positional;
};

int usage_error(const std::string& problem) {
  std::fprintf(stderr, "pilecap-run: %s\n%s\n", problem.c_str(), USAGE);
  return EXIT_USAGE;
}

int file_error(const std::string& problem) {
  std::fprintf(stderr, "pilecap-run: %s\n", problem.c_str());
  return EXIT_USAGE;
}

// The value of --threads; a message naming the problem when it is not usable.
std::optional<std::string> parse_threads(const std::string& text, int& threads) {
  const std::string problem = "--threads: '" + text + "' ";
  char* end = nullptr;
  const long value = text.empty() ? 0 : std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 1) return problem + "is not a positive whole number";
  if (value > MAX_THREADS) return problem + "is more than " + std::to_string(MAX_THREADS) + " threads";
  threads = static_cast<int>(value);
  return std::nullopt;
}

// The options; an exit status when the run must not go on (help, version,
// a usage error).
std::optional<int> parse_arguments(int argc, char** argv, Options& options) {
  const std::string threads_option = "--threads";
  bool options_ended = false;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (options_ended || arg.empty() || arg[0] != '-' || arg == "-") {
      options.positional.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(HELP, stdout);
      return EXIT_ALL_COMPLETED;
    } else if (arg == "--version") {
      std::printf("pilecap %s\n", PILECAP_VERSION);
      return EXIT_ALL_COMPLETED;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == threads_option || arg.starts_with(threads_option + "=")) {
      std::string value;
      if (arg == threads_option) {
        if (k + 1 >= argc) return usage_error("--threads: the number of threads is missing");
        value = argv[++k];
      } else {
        value = arg.substr(threads_option.size() + 1);
      }
      if (const auto problem = parse_threads(value, options.threads)) return usage_error(*problem);
    } else {
      return usage_error("unknown option '" + arg + "'");
    }
  }
  if (options.positional.empty()) return usage_error("no input file given");
  if (options.positional.size() > 2) {
    return usage_error("unexpected argument '" + options.positional[2] + "' (give INPUT and at most OUTDIR)");
  }
  return std::nullopt;
}

std::vector<std::string> read_lines(const fs::path& file, bool& found) {
  std::ifstream in(file);
  found = static_cast<bool>(in);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A test seam for the whole-run tests of the stop request: with
// PILECAP_RUN_TEST_HOLD_CASE=n in the environment, the engine waits as load
// case n starts, before its first look at the stop request, until the
// stop-request file holds 1 (at most HOLD_LIMIT), and HOLD_MARKER in the
// output folder says that it waits. A test then stops the run there, on any
// machine however busy, instead of hoping to catch the case under way.
constexpr const char* HOLD_CASE_VARIABLE = "PILECAP_RUN_TEST_HOLD_CASE";
constexpr const char* HOLD_MARKER = "pilecap-run.hold";
constexpr auto HOLD_LIMIT = std::chrono::minutes(10);
constexpr auto HOLD_POLL = std::chrono::milliseconds(5);
std::string stop_request_path;

void hold_for_a_stop(int run_kind, int index) {
  const char* held = std::getenv(HOLD_CASE_VARIABLE);
  if (held == nullptr || run_kind != pilecap::RUN_KIND_CASE || std::atoi(held) != index) return;
  std::ofstream(HOLD_MARKER) << index << "\n";
  const auto until = std::chrono::steady_clock::now() + HOLD_LIMIT;
  while (std::chrono::steady_clock::now() < until) {
    int value = 0;
    if (std::ifstream(stop_request_path) >> value && value == 1) return;
    std::this_thread::sleep_for(HOLD_POLL);
  }
}

// The load at the origin of every case and combination, as the engine hands
// it over when the run starts, in the units of the reports, for the start
// lines: FX FY MZ FZ MY MX, the order in which the input gives the loads.
std::mutex start_loads_mutex;
std::map<std::pair<int, int>, std::string> start_loads;

void keep_start_load(int run_kind, int index, const double* load, const char* force_label, const char* moment_label) {
  constexpr std::array<std::pair<const char*, int>, 6> ORDER = {
      {{"FX", 0}, {"FY", 1}, {"MZ", 5}, {"FZ", 2}, {"MY", 4}, {"MX", 3}}};
  std::string text = "load at the origin";
  for (const auto& [label, k] : ORDER) {
    std::array<char, 48> value{};
    std::snprintf(value.data(), value.size(), " %s %.6g", label, load[k]);
    text.append(value.data());
  }
  text.append(" (").append(force_label).append(", ").append(moment_label).append(")");
  {
    const std::lock_guard lock(start_loads_mutex);
    start_loads[{run_kind == pilecap::RUN_KIND_CASE ? 0 : 1, index}] = text;
  }
  hold_for_a_stop(run_kind, index);
}

std::string start_load(pilecap::host::RunKind kind, int number) {
  const std::lock_guard lock(start_loads_mutex);
  const auto found = start_loads.find({kind == pilecap::host::RunKind::Case ? 0 : 1, number});
  return found == start_loads.end() ? std::string() : found->second;
}

// Prints the progress lines of the status file: a thread polls it while the
// engine runs, and finish() takes one last look once the run has ended. A
// line as each case and combination starts and ends, and within a run where
// its solver is (load step, share of the load, iteration): on a terminal one
// line rewritten in place, otherwise a line at most every
// PROGRESS_LINE_INTERVAL, so a log shows a long case is alive.
constexpr auto PROGRESS_LINE_INTERVAL = std::chrono::seconds(10);
constexpr auto IN_PLACE_REFRESH = std::chrono::seconds(1);  // the elapsed time on a line left standing
constexpr const char* CLEAR_LINE = "\r\033[K";              // to the line's start, then erase it

// True while a progress line stands on the terminal without its newline; a
// message for standard error clears it first.
std::atomic<bool> progress_line_open{false};

class ProgressWatch {
 public:
  explicit ProgressWatch(fs::path status_file)
      : status_file_(std::move(status_file)),
        start_(std::chrono::steady_clock::now()),
        tracker_(start_load),
        terminal_(isatty(fileno(stdout)) == 1),
        last_line_(start_) {
    thread_ = std::thread([this] { watch(); });
  }
  ProgressWatch(const ProgressWatch&) = delete;
  ProgressWatch& operator=(const ProgressWatch&) = delete;
  ~ProgressWatch() {
    if (thread_.joinable()) finish();
  }

  void finish() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
    poll();
    close_in_place_line();
  }

 private:
  void watch() {
    std::unique_lock lock(mutex_);
    while (!done_) {
      lock.unlock();
      poll();
      lock.lock();
      wake_.wait_for(lock, POLL_INTERVAL, [this] { return done_; });
    }
  }

  void poll() {
    std::ifstream in(status_file_);
    if (!in) return;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto record = pilecap::host::parse_progress(text);
    if (!record) return;
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const std::vector<std::string> lines = tracker_.advance(*record);
    if (!lines.empty()) close_in_place_line();
    for (const std::string& line : lines) std::printf("[%7.1f s] %s\n", seconds, line.c_str());
    if (!lines.empty()) last_line_ = now;
    show_position(pilecap::host::describe_progress(*record), now, seconds);
    std::fflush(stdout);
  }

  // Where the solver is: on a terminal in place (rewritten when it moves,
  // and every second for its time), otherwise as a line of its own when
  // nothing was printed for PROGRESS_LINE_INTERVAL.
  void show_position(const std::string& position, std::chrono::steady_clock::time_point now, double seconds) {
    if (position.empty()) return;
    if (!terminal_) {
      if (now - last_line_ < PROGRESS_LINE_INTERVAL) return;
      std::printf("[%7.1f s] %s\n", seconds, position.c_str());
      last_line_ = now;
      return;
    }
    if (progress_line_open && position == shown_ && now - shown_at_ < IN_PLACE_REFRESH) return;
    std::printf("%s[%7.1f s] %s", CLEAR_LINE, seconds, position.c_str());
    progress_line_open = true;
    shown_ = position;
    shown_at_ = now;
  }

  void close_in_place_line() {
    if (!progress_line_open.exchange(false)) return;
    std::printf("%s", CLEAR_LINE);
    std::fflush(stdout);
  }

  fs::path status_file_;
  std::chrono::steady_clock::time_point start_;
  pilecap::host::ProgressTracker tracker_;
  bool terminal_;
  std::chrono::steady_clock::time_point last_line_;  // of the last line printed
  std::string shown_;                                // the position on the terminal
  std::chrono::steady_clock::time_point shown_at_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// SIGINT, SIGTERM and SIGHUP (the terminal closed) go to one thread of
// their own: the first writes the stop request, so that the engine ends at
// its next check with its own final message; a second ends the process at
// once.
std::atomic<int> interrupting_signal{0};
constexpr int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

const char* signal_name(int signal_number) {
  switch (signal_number) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

// A write beyond the file size limit (ulimit -f) raises SIGXFSZ, which ends
// the process unseen; ignored, the write fails with "File too large" and the
// run names the file.
void let_oversized_writes_fail() { signal(SIGXFSZ, SIG_IGN); }

void watch_signals(sigset_t signals) {
  while (true) {
    int signal_number = 0;
    if (sigwait(&signals, &signal_number) != 0) continue;
    // A progress line standing on the terminal makes room for the message.
    if (progress_line_open.exchange(false)) std::fputs("\n", stdout), std::fflush(stdout);
    if (interrupting_signal.exchange(signal_number) != 0) {
      std::fprintf(stderr, "pilecap-run: interrupted again, ended at once; the reports are cut off\n");
      std::fflush(stdout);
      _exit(128 + signal_number);
    }
    // Said before the request is written: once the engine sees it, the run
    // may end and the process exit before this thread prints anything.
    std::fprintf(stderr,
                 "pilecap-run: interrupted; the engine stops at its next check (interrupt again to end at once)\n");
    std::ofstream(stop_request_path) << "1\n";
  }
}

void start_signal_watch(const fs::path& stop_file) {
  stop_request_path = stop_file.string();
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal_number : STOP_SIGNALS) sigaddset(&signals, signal_number);
  // Blocked in this thread before any other starts, so every thread the
  // engine starts inherits the mask and only the watcher takes the signals.
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(watch_signals, signals).detach();
}

// A control character cannot stand in a line of "Names.dat"; a message
// writes it as an escape: \n, \r, \t or \xNN.
bool control_character(char c) {
  constexpr unsigned char FIRST_PRINTABLE = 0x20;
  constexpr unsigned char DELETE = 0x7f;
  const auto code = static_cast<unsigned char>(c);
  return code < FIRST_PRINTABLE || code == DELETE;
}

std::string escaped(char c) {
  if (c == '\n') return "\\n";
  if (c == '\r') return "\\r";
  if (c == '\t') return "\\t";
  std::array<char, 8> hex{};
  std::snprintf(hex.data(), hex.size(), "\\x%02x", static_cast<unsigned char>(c));
  return hex.data();
}

// A path written into "Names.dat" must come back from its line unchanged:
// a control character (a newline would split the line and shift every name
// after it, so that the engine writes a report onto another file) cannot be
// carried, nor a trailing blank (the engine drops trailing blanks). What is
// wrong with the path, naming the character; none when it can be carried.
std::optional<std::string> uncarried_path(const std::string& path) {
  for (const char c : path) {
    if (!control_character(c)) continue;
    const std::string kind = c == '\n'   ? "a newline"
                             : c == '\r' ? "a carriage return"
                             : c == '\t' ? "a tab"
                                         : "the control character";
    return "holds " + kind + " (" + escaped(c) + "), which Names.dat cannot carry";
  }
  if (!path.empty() && path.back() == ' ') return "ends in a blank, which Names.dat cannot carry";
  return std::nullopt;
}

// The path with its control characters written as escapes, for a message.
std::string shown_path(const std::string& path) {
  std::string text;
  for (const char c : path) text += control_character(c) ? escaped(c) : std::string(1, c);
  return text;
}

// The lock of the output folder, taken before anything is written into it
// and held until the process ends, however it ends: one run at a time
// writes "Names.dat" and the reports of a folder. An exit status when the
// folder is in use or cannot be locked.
int folder_lock_file = -1;

std::optional<int> lock_output_folder(const fs::path& folder, const std::string& shown_folder) {
  long holder = 0;
  const pilecap::FolderLockState state = pilecap::TAKE_FOLDER_LOCK(folder.string(), folder_lock_file, holder);
  if (state == pilecap::FolderLockState::Taken || state == pilecap::FolderLockState::HeldByThisProcess) {
    return std::nullopt;
  }
  if (state == pilecap::FolderLockState::HeldByOther) {
    const std::string pid = holder > 0 ? "pid " + std::to_string(holder) : "pid unknown";
    return file_error("OUTDIR: '" + shown_path(shown_folder) + "' is in use by another run (" + pid + ")");
  }
  return file_error("OUTDIR: cannot lock '" + shown_path(shown_folder) + "' with " +
                    (folder / pilecap::FOLDER_LOCK_FILE).string() + ": " + std::generic_category().message(errno));
}

// Writes text as a new file: a file or a symbolic link of that name is
// removed first, so nothing is written through a link. False with errno
// set when it fails.
bool write_new_file(const fs::path& path, const std::string& text) {
  struct stat entry {};
  if (lstat(path.c_str(), &entry) == 0) {
    if (S_ISDIR(entry.st_mode)) {
      errno = EISDIR;
      return false;
    }
    if (unlink(path.c_str()) != 0 && errno != ENOENT) return false;
  }
  constexpr mode_t NEW_FILE_PERMISSIONS = 0666;  // narrowed by the umask
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_PERMISSIONS);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      close(fd);
      errno = error;
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return close(fd) == 0;
}

bool write_names(const fs::path& folder, const fs::path& input, const std::string& base) {
  std::string names;
  for (int k = 1; k <= RESERVED_LINES; ++k) names += "pilecap-run\n";
  names += input.string() + "\n";
  for (const char* suffix : OUTPUT_SUFFIXES) names += base + suffix + "\n";
  return write_new_file(folder / "Names.dat", names);
}

// The engine's entry points, from the library loaded at run time.
struct Engine {
  int (*run)() = nullptr;
  void (*set_run_start_hook)(pilecap::RunStartHook) = nullptr;
  int (*run_write_failure)(char* file, int size) = nullptr;
};

// The first write of the run the file system refused: the file, as
// "reports/x.results.txt", and the system's reason ("No space left on
// device"); none when every write reached its file. Asked of the engine: the
// refused write may have cut the run log itself.
struct RefusedWrite {
  std::string file;
  std::string reason;
};

std::optional<RefusedWrite> refused_write(const Engine& engine, const std::string& shown_folder) {
  std::array<char, 2 * MAX_NAME_LENGTH> file{};
  const int error = engine.run_write_failure(file.data(), static_cast<int>(file.size()));
  if (error == 0) return std::nullopt;
  return RefusedWrite{(fs::path(shown_folder) / file.data()).string(), std::generic_category().message(error)};
}

// The end of a run whose reports a refused write cut: no outcome lines (a
// case whose tables did not reach their file is not completed), the run
// log's final message when it got there, and the file with the system's
// reason.
int report_refused_write(const RefusedWrite& refused, const std::vector<std::string>& log,
                         const std::string& shown_folder, const std::string& base) {
  std::printf("reports in %s/ (%s.*), cut off\n", shown_folder.c_str(), base.c_str());
  std::fflush(stdout);
  for (const std::string& line : pilecap::host::final_message(log)) std::fprintf(stderr, "%s\n", line.c_str());
  std::fprintf(stderr, "pilecap-run: writing %s failed: %s; the reports are cut off\n", refused.file.c_str(),
               refused.reason.c_str());
  const int interrupted = interrupting_signal.load();
  return interrupted != 0 ? 128 + interrupted : EXIT_ENGINE_ERROR;
}

// The environment the runtime starts in: a short spin unless the user chose
// a wait, and an explicit thread count, at most the processors online.
void set_runtime_environment(const Options& options) {
  if (std::getenv(WAIT_POLICY_VARIABLE) == nullptr && std::getenv(SPIN_COUNT_VARIABLE) == nullptr) {
    setenv(SPIN_COUNT_VARIABLE, SHORT_SPIN_COUNT, 0);
  }
  if (options.threads > 0) {
    long threads = options.threads;
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    if (online >= 1) threads = std::min(threads, online);
    setenv(THREAD_COUNT_VARIABLE, std::to_string(threads).c_str(), 1);
  }
}

// The folder this program was loaded from, as the loader knows it; empty
// when it does not say.
std::string program_folder() {
  void* program = dlopen(nullptr, RTLD_NOW);
  if (program == nullptr) return {};
  std::string folder(PATH_MAX, '\0');
  if (dlinfo(program, RTLD_DI_ORIGIN, folder.data()) != 0) return {};
  folder.resize(folder.find('\0'));
  return folder;
}

// Loads the engine; the loader's reason when it cannot. The library is
// opened by its path beside this program: a search by name would take the
// run path of whichever object calls the loader, which a sanitizer's
// runtime, intercepting the call, is.
std::optional<std::string> load_engine(Engine& engine) {
  void* library = nullptr;
  if (const std::string folder = program_folder(); !folder.empty()) {
    const std::string beside = folder + "/" + ENGINE_LIBRARY;
    if (access(beside.c_str(), F_OK) == 0) library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (library == nullptr) library = dlopen(ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::string(dlerror());
  engine.run = reinterpret_cast<int (*)()>(dlsym(library, ENTRY_POINT));
  if (engine.run == nullptr) return std::string(dlerror());
  engine.set_run_start_hook = reinterpret_cast<void (*)(pilecap::RunStartHook)>(dlsym(library, START_HOOK_SETTER));
  if (engine.set_run_start_hook == nullptr) return std::string(dlerror());
  engine.run_write_failure = reinterpret_cast<int (*)(char*, int)>(dlsym(library, WRITE_FAILURE_QUERY));
  if (engine.run_write_failure == nullptr) return std::string(dlerror());
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto status = parse_arguments(argc, argv, options)) return *status;
  set_runtime_environment(options);
  Engine engine;
  if (const auto problem = load_engine(engine)) {
    std::fprintf(stderr, "pilecap-run: cannot load the engine: %s\n", problem->c_str());
    return EXIT_ENGINE_ERROR;
  }
  let_oversized_writes_fail();

  std::error_code error;
  const std::string& input_arg = options.positional[0];
  const fs::path input = fs::absolute(input_arg, error);
  if (const auto problem = uncarried_path(error ? input_arg : input.string())) {
    return file_error("INPUT: the path '" + shown_path(error ? input_arg : input.string()) + "' " + *problem);
  }
  if (error || !fs::exists(input)) return file_error("INPUT: '" + input_arg + "' does not exist");
  if (!fs::is_regular_file(input)) return file_error("INPUT: '" + input_arg + "' is not a file");
  if (input.string().size() > MAX_NAME_LENGTH) {
    return file_error("INPUT: the full path of '" + input_arg + "' is longer than " + std::to_string(MAX_NAME_LENGTH) +
                      " characters");
  }
  const std::string base = input.stem().string();
  for (const char* suffix : OUTPUT_SUFFIXES) {
    if (base.size() + std::string(suffix).size() > MAX_NAME_LENGTH) {
      return file_error("INPUT: the file name '" + base + "' is too long for the names of its reports");
    }
  }

  const std::string shown_folder = options.positional.size() == 2 ? options.positional[1] : base + FOLDER_SUFFIX;
  const fs::path folder = fs::absolute(shown_folder, error);
  if (const auto problem = uncarried_path(error ? shown_folder : folder.string())) {
    return file_error("OUTDIR: the path '" + shown_path(error ? shown_folder : folder.string()) + "' " + *problem);
  }
  if (!error && fs::exists(folder) && !fs::is_directory(folder)) {
    return file_error("OUTDIR: '" + shown_folder + "' is not a folder");
  }
  if (!error) fs::create_directories(folder, error);
  if (error) return file_error("OUTDIR: cannot create '" + shown_folder + "': " + error.message());
  if (const auto status = lock_output_folder(folder, shown_folder)) return *status;
  errno = 0;
  if (!write_names(folder, input, base)) {
    // The system's reason, when the failure left one (a full disk, no permission).
    const std::string reason = errno != 0 ? ": " + std::generic_category().message(errno) : "";
    return file_error("cannot write " + (folder / "Names.dat").string() + reason);
  }
  // A progress record or a stop request left by an earlier run in the folder
  // belongs to that run.
  fs::remove(folder / (base + STATUS_SUFFIX), error);
  fs::remove(folder / (base + STOP_SUFFIX), error);
  if (chdir(folder.c_str()) != 0) return file_error("cannot change into " + folder.string());
  start_signal_watch(folder / (base + STOP_SUFFIX));
  engine.set_run_start_hook(keep_start_load);

  if (!options.quiet)
    std::printf("pilecap-run: analysing %s, reports in %s/\n", input_arg.c_str(), shown_folder.c_str());
  std::fflush(stdout);
  int result = 0;
  if (options.quiet) {
    result = engine.run();
  } else {
    ProgressWatch watch(folder / (base + STATUS_SUFFIX));
    result = engine.run();
    watch.finish();
  }
  if (result == pilecap::STATUS_FOLDER_IN_USE) {
    return file_error("OUTDIR: '" + shown_folder + "' is in use by another run (the engine refused to start)");
  }
  if (result != 0) {
    std::fprintf(stderr, "pilecap-run: the engine could not create its tables (code %d)\n", result);
    return EXIT_ENGINE_ERROR;
  }

  bool found = false;
  const std::vector<std::string> log = read_lines(folder / (base + LOG_SUFFIX), found);
  if (const auto refused = refused_write(engine, shown_folder))
    return report_refused_write(*refused, log, shown_folder, base);
  if (!found) {
    std::fprintf(stderr, "pilecap-run: the engine wrote no run log (%s%s)\n", base.c_str(), LOG_SUFFIX);
    return EXIT_ENGINE_ERROR;
  }
  for (const std::string& warning : pilecap::host::input_warnings(log)) {
    std::fprintf(stderr, "%s\n", warning.c_str());
  }
  std::fflush(stderr);
  const std::vector<std::string> message = pilecap::host::final_message(log);
  const bool completed = pilecap::host::analysis_completed(message);
  const bool stopped = pilecap::host::analysis_stopped(message);
  const std::vector<std::string> codes = read_lines(folder / (base + CODES_SUFFIX), found);
  auto runs = pilecap::host::read_run_outcomes(codes, log);
  if (completed || stopped)
    pilecap::host::settle_unreached_runs(runs, read_lines(folder / (base + ECHO_SUFFIX), found), stopped);
  bool all_completed = true;
  for (const auto& run : runs) {
    std::printf("%s\n", pilecap::host::describe(run).c_str());
    all_completed = all_completed && pilecap::host::fully_completed(run);
  }
  std::printf("reports in %s/ (%s.*)", shown_folder.c_str(), base.c_str());
  if (completed || stopped) std::printf("; the answers are in %s%s", base.c_str(), SUMMARY_SUFFIX);
  std::printf("\n");
  std::fflush(stdout);
  const int interrupted = interrupting_signal.load();
  if (message.empty()) {
    std::fprintf(stderr, "pilecap-run: the run log ends without a final message\n");
    return interrupted != 0 ? 128 + interrupted : EXIT_ENGINE_ERROR;
  }
  // A stopped run ends on standard output: its outcome lines above say what
  // it left unanalysed, and its final line names the stop.
  for (const std::string& line : message) std::fprintf(completed || stopped ? stdout : stderr, "%s\n", line.c_str());
  std::fflush(stdout);
  if (interrupted != 0) {
    std::fprintf(stderr, "pilecap-run: the run was interrupted (%s)\n", signal_name(interrupted));
    return 128 + interrupted;
  }
  if (stopped) return EXIT_NOT_ALL_COMPLETED;
  if (!completed) return EXIT_ENGINE_ERROR;
  return all_completed ? EXIT_ALL_COMPLETED : EXIT_NOT_ALL_COMPLETED;
}
