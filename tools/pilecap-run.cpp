// pilecap-run: the stand-in host. It writes "Names.dat" for one input deck
// into the output folder (every file named after the input's base name),
// changes into that folder and calls DUVIZU; while the engine runs, a second
// thread reads the status file and prints a line as each load case and
// combination starts (with its load at the origin) and ends; SIGINT and
// SIGTERM become a stop request. Afterwards it prints the outcome of every
// case and combination from the result-code file, the run log and the input
// echo, and the run log's final message.
// Exit status: 0 every run completed, 1 the engine ended with an error
// status, 2 a usage or file problem, 3 a run partial or not analysed (also
// after a stop request), 128 + the signal number after SIGINT or SIGTERM.
#include <omp.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/analysis.hpp"
#include "run/duvizu.hpp"
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

constexpr const char* USAGE = "usage: pilecap-run [--threads N] [--quiet] INPUT [OUTDIR]";

constexpr const char* HELP = R"(usage: pilecap-run [--threads N] [--quiet] INPUT [OUTDIR]

Analyses the pile foundation described by the input deck INPUT and writes the
reports into the folder OUTDIR, by default NAME-run/ in the current folder
(NAME being the input's file name without its extension). docs/input.md
describes the input deck, docs/outputs.md the reports.

While the engine runs, a line is printed as each load case and combination
starts, with its load at the origin (FX FY MZ FZ MY MX in the units of the
reports), and ends. Warnings on the input (a line holding more values than
are read) follow the run. At the end one line per load case and combination
gives its outcome (completed; partial at N % of the load; not analysed, and
why; stopped by request), the pushover points that stopped part way, the
number of pile warnings, and then the final message of the run log.

A run is stopped by writing 1 into NAME.stop.txt, or by Ctrl-C (SIGINT) or
SIGTERM: the first one asks the engine to stop (it ends the case it is in at
its next check, with its own final message); a second one ends the run at
once, leaving the reports cut off.

Options:
  --threads N  run the parallel parts of the analysis on at most N threads
               (a positive whole number; default: the engine's own choice)
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
  1  the engine ended with an error (the final message says which)
  2  the command line was wrong, or INPUT or OUTDIR could not be used
  3  the analysis ended, but a load case or combination stopped at part of
     its load or was not analysed, a pushover point stopped part way, or
     a stop request ended the run
  130, 143  the run was interrupted by SIGINT or SIGTERM (128 + signal)
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
  const std::lock_guard lock(start_loads_mutex);
  start_loads[{run_kind == pilecap::RUN_KIND_CASE ? 0 : 1, index}] = text;
}

std::string start_load(pilecap::host::RunKind kind, int number) {
  const std::lock_guard lock(start_loads_mutex);
  const auto found = start_loads.find({kind == pilecap::host::RunKind::Case ? 0 : 1, number});
  return found == start_loads.end() ? std::string() : found->second;
}

// Prints the progress lines of the status file: a thread polls it while the
// engine runs, and finish() takes one last look once the run has ended.
class ProgressWatch {
 public:
  explicit ProgressWatch(fs::path status_file)
      : status_file_(std::move(status_file)), start_(std::chrono::steady_clock::now()), tracker_(start_load) {
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
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    for (const std::string& line : tracker_.advance(*record)) std::printf("[%7.1f s] %s\n", seconds, line.c_str());
    std::fflush(stdout);
  }

  fs::path status_file_;
  std::chrono::steady_clock::time_point start_;
  pilecap::host::ProgressTracker tracker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// SIGINT and SIGTERM go to one thread of their own: the first writes the
// stop request, so that the engine ends at its next check with its own
// final message; a second ends the process at once.
std::atomic<int> interrupting_signal{0};
std::string stop_request_path;

void watch_signals(sigset_t signals) {
  while (true) {
    int signal_number = 0;
    if (sigwait(&signals, &signal_number) != 0) continue;
    if (interrupting_signal.exchange(signal_number) != 0) {
      std::fprintf(stderr, "pilecap-run: interrupted again, ended at once; the reports are cut off\n");
      std::fflush(stdout);
      _exit(128 + signal_number);
    }
    std::ofstream(stop_request_path) << "1\n";
    std::fprintf(stderr,
                 "pilecap-run: interrupted; the engine stops at its next check (interrupt again to end at once)\n");
  }
}

void start_signal_watch(const fs::path& stop_file) {
  stop_request_path = stop_file.string();
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  // Blocked in this thread before any other starts, so every thread the
  // engine starts inherits the mask and only the watcher takes the signals.
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(watch_signals, signals).detach();
}

bool write_names(const fs::path& folder, const fs::path& input, const std::string& base) {
  std::ofstream names(folder / "Names.dat");
  for (int k = 1; k <= RESERVED_LINES; ++k) names << "pilecap-run\n";
  names << input.string() << "\n";
  for (const char* suffix : OUTPUT_SUFFIXES) names << base << suffix << "\n";
  return static_cast<bool>(names);
}

// The wait of idle worker threads. The runtime's default spins for a long
// time before it sleeps; on a machine busy with other work the spinning
// threads take the processors from the threads that work, and a group of a
// few piles ran several times slower on 8 threads than on 1. On a machine
// with processors to spare, a sleeping thread is slow to wake between the
// two parallel loops of a Newton iteration (on a virtual machine most of
// all), and a spin of under a millisecond made the loops of a 100-pile
// group up to a quarter faster. So the spin is long enough to bridge those
// gaps when the other runnable tasks leave most processors free at the start,
// and short otherwise. The runtime reads its environment once, when it is
// loaded, so the host sets it and starts itself again; a policy the user set
// stays. So does a binding of threads the user asked for: the runtime has
// then already bound this thread to one processor, and a program started
// again would inherit that one processor and run on a single thread.
constexpr const char* SPIN_COUNT_VARIABLE = "GOMP_SPINCOUNT";
constexpr const char* WAIT_POLICY_VARIABLE = "OMP_WAIT_POLICY";
constexpr const char* BINDING_VARIABLES[] = {"OMP_PROC_BIND", "OMP_PLACES", "GOMP_CPU_AFFINITY"};
constexpr const char* SHORT_SPIN_COUNT = "1000";
constexpr const char* BRIDGING_SPIN_COUNT = "30000";
constexpr int PROCESSORS_PER_OTHER_TASK = 4;  // others on at most a quarter of them: spare
constexpr const char* OWN_EXECUTABLE = "/proc/self/exe";
constexpr const char* SYSTEM_STATISTICS = "/proc/stat";
constexpr const char* RUNNING_TASKS_KEY = "procs_running";

// The tasks other than this one that are runnable now; -1 when unknown.
int other_runnable_tasks() {
  std::ifstream statistics(SYSTEM_STATISTICS);
  std::string key;
  long count = 0;
  while (statistics >> key) {
    if (key == RUNNING_TASKS_KEY) return statistics >> count && count >= 1 ? static_cast<int>(count - 1) : -1;
    statistics.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return -1;
}

const char* spin_count_for_this_machine() {
  const int others = other_runnable_tasks();
  const int processors = static_cast<int>(std::thread::hardware_concurrency());
  if (others < 0 || processors < 1) return SHORT_SPIN_COUNT;
  return others * PROCESSORS_PER_OTHER_TASK <= processors ? BRIDGING_SPIN_COUNT : SHORT_SPIN_COUNT;
}

void start_with_chosen_spin(char** argv) {
  if (std::getenv(SPIN_COUNT_VARIABLE) != nullptr || std::getenv(WAIT_POLICY_VARIABLE) != nullptr) return;
  for (const char* binding : BINDING_VARIABLES) {
    if (std::getenv(binding) != nullptr) return;
  }
  if (setenv(SPIN_COUNT_VARIABLE, spin_count_for_this_machine(), 0) != 0) return;
  execv(OWN_EXECUTABLE, argv);
  // Not started again (no such file): the run goes on with the default wait.
}

}  // namespace

int main(int argc, char** argv) {
  start_with_chosen_spin(argv);
  Options options;
  if (const auto status = parse_arguments(argc, argv, options)) return *status;

  std::error_code error;
  const std::string& input_arg = options.positional[0];
  const fs::path input = fs::absolute(input_arg, error);
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
  if (!error && fs::exists(folder) && !fs::is_directory(folder)) {
    return file_error("OUTDIR: '" + shown_folder + "' is not a folder");
  }
  if (!error) fs::create_directories(folder, error);
  if (error) return file_error("OUTDIR: cannot create '" + shown_folder + "': " + error.message());
  if (!write_names(folder, input, base)) return file_error("cannot write " + (folder / "Names.dat").string());
  // A progress record or a stop request left by an earlier run in the folder
  // belongs to that run.
  fs::remove(folder / (base + STATUS_SUFFIX), error);
  fs::remove(folder / (base + STOP_SUFFIX), error);
  if (chdir(folder.c_str()) != 0) return file_error("cannot change into " + folder.string());
  if (options.threads > 0) omp_set_num_threads(options.threads);
  start_signal_watch(folder / (base + STOP_SUFFIX));
  pilecap::set_run_start_hook(keep_start_load);

  if (!options.quiet)
    std::printf("pilecap-run: analysing %s, reports in %s/\n", input_arg.c_str(), shown_folder.c_str());
  std::fflush(stdout);
  int result = 0;
  if (options.quiet) {
    result = DUVIZU();
  } else {
    ProgressWatch watch(folder / (base + STATUS_SUFFIX));
    result = DUVIZU();
    watch.finish();
  }
  if (result != 0) {
    std::fprintf(stderr, "pilecap-run: the engine could not create its tables (code %d)\n", result);
    return EXIT_ENGINE_ERROR;
  }

  bool found = false;
  const std::vector<std::string> log = read_lines(folder / (base + LOG_SUFFIX), found);
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
    std::fprintf(stderr, "pilecap-run: the run was interrupted (%s)\n", interrupted == SIGINT ? "SIGINT" : "SIGTERM");
    return 128 + interrupted;
  }
  if (stopped) return EXIT_NOT_ALL_COMPLETED;
  if (!completed) return EXIT_ENGINE_ERROR;
  return all_completed ? EXIT_ALL_COMPLETED : EXIT_NOT_ALL_COMPLETED;
}
