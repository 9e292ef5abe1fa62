// A temporary run folder for whole runs through DUVIZU: writes "Names.dat"
// naming files inside the folder, changes into it for the call and back.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run/duvizu.hpp"

namespace pilecap::testing {

// The smallest input file a run reads to its end: a 2D model of one pile row
// on a user load-settlement curve (a pile needs an axial curve) and nothing else.
// Sections 5 to 19 of a one-row 2D model: an elastic pipe pile with a user
// load-settlement curve and no soil layers.
inline const std::string ONE_ROW_MODEL_SECTIONS =
    "DISTRIBUTED LOAD SETS\n0\n"
    "SOIL MOVEMENT SETS\n0\n"
    "PILE ARRANGEMENT\n1\n1 1 1 0 1 0 0\n0 0 1 1 1\n0 0 0 0\n"
    "PROPERTY SETS\n1\n1 1\n50 40 1\n0 40 1\n"
    "CROSS SECTIONS\n1\n1 1 1 0\n'PIPE'\n24 23 0 0 0 0 0 0\n"
    "11.6E6 36.9 2549 2549 0 0 0 0 29E6 0 75.4 0 0 0 0\n0 0 0.5 0 0 0\n'NONE'\n"
    "SOIL LAYERS\n0\n"
    "GENERATED LOAD-SETTLEMENT CURVES\n0\n"
    "USER LOAD-SETTLEMENT CURVES\n1\n1 3\n-1000 -1\n0 0\n1000 1\n"
    "MOMENT-CURVATURE SETS\n0\n"
    "SECTION MOMENT-CURVATURE CURVES\n0\n"
    "SECTION BILINEAR DATA\n0\n";

inline const std::string MINIMAL_INPUT =
    "MINIMAL MODEL\nSECOND TITLE\n"
    "OPTIONS\n1 2 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "PILE CAP\n0 0 0 0 0 0\n"
    "LOAD CASES\n0 0 0 0 0\n"
    "LOAD COMBINATIONS\n0 0 0 0 0\n" +
    ONE_ROW_MODEL_SECTIONS;

// Every line of a report but the timing, processor and date lines, which
// alone may differ between two runs of one model.
inline std::string without_timing(const std::string& text) {
  std::istringstream in(text);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    const bool timing = line.find("Execution Time") != std::string::npos ||
                        line.find("Number Processors") != std::string::npos ||
                        line.find("processing :") != std::string::npos || line.find("Date:") != std::string::npos ||
                        line.find(" proc.)") != std::string::npos;
    if (!timing) kept.append(line).append("\n");
  }
  return kept;
}

class RunFolder {
 public:
  // Line k (5..28) of "Names.dat" names the file name_of(k).
  explicit RunFolder(const std::string& tag) {
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_e2e_" + tag + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (int line = 5; line <= 28; ++line) names_.push_back("file" + std::to_string(line) + ".txt");
  }
  ~RunFolder() { std::filesystem::remove_all(folder_); }

  // The lines of "Names.dat" the tests name; every test reads them here.
  static constexpr int INPUT_LINE = 5;
  static constexpr int ECHO_LINE = 6;
  static constexpr int RESULTS_LINE = 7;
  static constexpr int SUMMARY_LINE = 8;
  static constexpr int RUN_LOG_LINE = 10;
  static constexpr int RESULT_CODES_LINE = 11;
  static constexpr int COMPUTATION_LINE = 12;
  static constexpr int STATUS_LINE = 13;
  static constexpr int COLUMNS_LINE = 15;  // flexibility columns
  static constexpr int STEPS_LINE = 16;    // DOF-run steps
  static constexpr int STOP_LINE = 18;
  static constexpr int SPRINGS_LINE = 19;    // equivalent springs
  static constexpr int STIFFNESS_LINE = 20;  // equivalent stiffness
  static constexpr int CURVE_EXPORT_LINE = 24;
  static constexpr int CAP_MODEL_LINE = 25;  // the cap model's pile file
  static constexpr int SUMMARY_SCRATCH_LINE = 26;

  std::string& name(int line) { return names_[static_cast<std::size_t>(line - 5)]; }
  std::filesystem::path path(int line) const {
    std::string n = names_[static_cast<std::size_t>(line - 5)];
    n.erase(n.find_last_not_of(' ') + 1);
    return folder_ / n;
  }
  const std::filesystem::path& folder() const { return folder_; }

  void write_names(int lines = 28) const {
    std::ofstream out(folder_ / "Names.dat");
    for (int k = 1; k <= lines; ++k)
      out << (k <= 4 ? std::string("RESERVED") : names_[static_cast<std::size_t>(k - 5)]) << "\n";
  }
  void put(int line, const std::string& text) const { put_file(path(line), text); }
  static void put_file(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
  }
  std::string read(int line) const { return read_file(path(line)); }
  static std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> lines(int line) const {
    std::vector<std::string> result;
    std::istringstream in(read(line));
    for (std::string l; std::getline(in, l);) result.push_back(l);
    return result;
  }

  // The run log's final message: the lines between the last line of blanks
  // and the last execution time line.
  std::vector<std::string> final_message() const {
    std::vector<std::string> message, last;
    for (const std::string& line : lines(RUN_LOG_LINE)) {
      if (line.find_first_not_of(' ') == std::string::npos) {
        message.clear();
      } else if (line.find("Execution Time") != std::string::npos) {
        last = message;
        message.clear();
      } else {
        message.push_back(line);
      }
    }
    return last;
  }

  // Calls DUVIZU inside the folder and returns its result.
  int run() const {
    const auto back = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    const int result = DUVIZU();
    std::filesystem::current_path(back);
    return result;
  }

 private:
  std::filesystem::path folder_;
  std::vector<std::string> names_;
};

// How many times `what` stands in `text`, overlapping matches counted.
inline int count_text(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

}  // namespace pilecap::testing
