// pilecap-run: the stand-in host. It writes "Names.dat" for one input file
// into the output folder (every file named after the input's base name),
// changes into that folder, calls DUVIZU and reports where the results are.
// Exit status: 0 when the run log ends with "ANALYSIS COMPLETED", 1 when the
// analysis failed or stopped, 2 for a usage or file problem.
#include <omp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run/duvizu.hpp"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t MAX_NAME_LENGTH = 256;
constexpr int RESERVED_LINES = 4;

// File name suffixes in the order of lines 5 to 28 of "Names.dat"; line 5 is
// the input itself.
const char* const OUTPUT_SUFFIXES[] = {
    ".echo.txt",     ".results.txt",  ".summary.txt",  ".plot.txt",      ".log.txt",
    ".codes.txt",    ".computation.txt", ".status.txt", ".axial-curves.txt", ".flexibility.txt",
    ".dof-steps.txt", ".pile-results.scratch", ".stop.txt", ".springs.txt", ".stiffness.txt",
    ".axial-warnings.txt", ".iterations.txt", ".axial-data.txt", ".curves.dat", ".cap-model-piles.txt",
    ".summary.scratch", ".echo-insert.txt", ".generated-curves.txt",
};

int usage() {
  std::fprintf(stderr, "usage: pilecap-run [--threads N] INPUT [OUTDIR]\n");
  return 2;
}

std::string trimmed(const std::string& line) {
  const std::size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

}  // namespace

int main(int argc, char** argv) {
  int threads = 0;
  std::vector<std::string> positional;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    }
    if (arg == "--version") {
      std::printf("pilecap %s\n", PILECAP_VERSION);
      return 0;
    }
    if (arg == "--threads") {
      if (k + 1 >= argc) return usage();
      char* end = nullptr;
      const long value = std::strtol(argv[++k], &end, 10);
      if (*end != '\0' || value < 1 || value > 4096) return usage();
      threads = static_cast<int>(value);
      continue;
    }
    positional.push_back(arg);
  }
  if (positional.empty() || positional.size() > 2) return usage();

  std::error_code error;
  const fs::path input = fs::absolute(positional[0], error);
  if (error || !fs::is_regular_file(input)) {
    std::fprintf(stderr, "pilecap-run: input file not found: %s\n", positional[0].c_str());
    return 2;
  }
  const fs::path folder = fs::absolute(positional.size() == 2 ? fs::path(positional[1]) : fs::current_path());
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "pilecap-run: cannot create %s\n", folder.c_str());
    return 2;
  }
  if (input.string().size() > MAX_NAME_LENGTH) {
    std::fprintf(stderr, "pilecap-run: input path longer than %zu characters\n", MAX_NAME_LENGTH);
    return 2;
  }
  const std::string base = input.stem().string();
  {
    std::ofstream names(folder / "Names.dat");
    for (int k = 1; k <= RESERVED_LINES; ++k) names << "pilecap-run\n";
    names << input.string() << "\n";
    for (const char* suffix : OUTPUT_SUFFIXES) names << base << suffix << "\n";
    if (!names) {
      std::fprintf(stderr, "pilecap-run: cannot write %s\n", (folder / "Names.dat").c_str());
      return 2;
    }
  }
  if (chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "pilecap-run: cannot change into %s\n", folder.c_str());
    return 2;
  }
  if (threads > 0) omp_set_num_threads(threads);

  const int result = DUVIZU();
  if (result != 0) {
    std::fprintf(stderr, "pilecap-run: the engine could not create its tables (code %d)\n", result);
    return 1;
  }

  const fs::path run_log = folder / (base + ".log.txt");
  std::ifstream log(run_log);
  if (!log) {
    std::fprintf(stderr, "pilecap-run: no run log was written (FILE CANNOT BE OPENED)\n");
    return 2;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  bool completed = false;
  std::size_t message_start = lines.size();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (trimmed(lines[k]).empty()) message_start = k + 1;
    if (trimmed(lines[k]) == "ANALYSIS COMPLETED") completed = true;
  }
  std::printf("pilecap-run: reports in %s (%s.*)\n", folder.c_str(), base.c_str());
  if (completed) {
    std::printf("ANALYSIS COMPLETED\n");
    return 0;
  }
  for (std::size_t k = message_start; k < lines.size(); ++k) std::fprintf(stderr, "%s\n", lines[k].c_str());
  return 1;
}
