// Memory of a host that calls the engine many times in one process (a
// parameter study): the 3x3 example run 50 times through DUVIZU in a
// temporary folder, with the peak and the current resident size of the
// process after call 5 and after call 50. Every table a run allocates is
// released or reused by the next, so the two peaks must agree; a growth
// shows as a larger peak after call 50. Counters, not a timed assertion.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "run/duvizu.hpp"

namespace {

constexpr int CALLS = 50;
constexpr int EARLY_CALL = 5;
constexpr int NAMES_LINES = 28;  // of "Names.dat": four reserved, then the files
constexpr int INPUT_NAME_LINE = 5;
constexpr double KIB_PER_MIB = 1024.0;

// A line "Name:   123 kB" of /proc/self/status, in MiB; 0 when absent.
double status_mib(const std::string& name) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(name + ":", 0) != 0) continue;
    std::istringstream fields(line.substr(name.size() + 1));
    double kib = 0.0;
    fields >> kib;
    return kib / KIB_PER_MIB;
  }
  return 0.0;
}

// "Names.dat" naming the input deck and one file per further line.
void write_names(const std::filesystem::path& folder) {
  std::ofstream names(folder / "Names.dat");
  for (int line = 1; line <= NAMES_LINES; ++line) {
    if (line < INPUT_NAME_LINE) {
      names << "RESERVED\n";
    } else if (line == INPUT_NAME_LINE) {
      names << "deck.inp\n";
    } else {
      names << "deck." << line << ".txt\n";
    }
  }
}

void BM_RepeatedRunsOf3x3Example(benchmark::State& state) {
  const std::filesystem::path examples = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "pilecap_bench_repeated_runs";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(examples / "group_3x3_layered.inp", folder / "deck.inp");
  write_names(folder);
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  for (auto _ : state) {
    for (int call = 1; call <= CALLS; ++call) {
      if (DUVIZU() != 0) {
        state.SkipWithError("the engine could not create its tables");
        break;
      }
      if (call == EARLY_CALL) {
        state.counters["peak_MiB_call_5"] = status_mib("VmHWM");
        state.counters["rss_MiB_call_5"] = status_mib("VmRSS");
      }
    }
    state.counters["peak_MiB_call_50"] = status_mib("VmHWM");
    state.counters["rss_MiB_call_50"] = status_mib("VmRSS");
  }
  std::filesystem::current_path(start);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_RepeatedRunsOf3x3Example)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
