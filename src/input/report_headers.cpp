// Report headers and the run date. Every header line is a fixed layout; the
// date is read once so that all reports show the same moment.
#include "input/report_headers.hpp"

#include <ctime>
#include <filesystem>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr std::size_t MAX_DIRECTORY_LENGTH = 256;
constexpr std::size_t MAX_NAME_LENGTH = 256;
constexpr std::size_t MAX_EXTENSION_LENGTH = 6;
constexpr int MONTHS = 12;

// Path to file locations      : /work/run/
// Name of input data file     : pile.inp
constexpr const char* INPUT_NAME_LAYOUT =
    "(5X,\"Path to file locations      : \",A,A,/,5X,\"Name of input data file     : \",A,A)";
constexpr const char* ECHO_NAME_LAYOUT = "(5X,\"Name of output echo file    : \",A,A)";
constexpr const char* RESULTS_NAME_LAYOUT = "(5X,\"Name of output results file : \",A,A)";
constexpr const char* SUMMARY_NAME_LAYOUT = "(5X,\"Name of output summary file : \",A,A)";
constexpr const char* PLOT_NAME_LAYOUT = "(5X,\"Name of plot output file    : \",A,A)";
constexpr const char* RUN_LOG_NAME_LAYOUT = "(5X,\"Name of runtime file        : \",A,A,/,/)";
constexpr const char* DATE_RULE_LAYOUT = "(5X,73(\"-\"),/,26X,\"Time and Date of Analysis\",/,5X,73(\"-\"),/)";
//                Date:  March 03, 2026     Time:  09:05:07
constexpr const char* DATE_LINE_LAYOUT =
    "(15X,\"Date:  \",A,\" \",I2.2,\", \",I4,5X,\"Time:  \",I2.2,\":\",I2.2,\":\",I2.2)";

const char* const MONTH_NAMES[MONTHS] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};

RunDateTime system_clock_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

RunDateTime (*run_clock)() = system_clock_now;

// Writes "name.ext" of a run file with the given layout.
void write_file_name(int unit, const char* layout, const std::string& file) {
  const FilePathParts parts = SPLIT_FILE_PATH(file);
  fio::write(unit, layout, parts.name, parts.extension);
}

}  // namespace

void set_run_clock(RunDateTime (*clock)()) { run_clock = clock ? clock : system_clock_now; }

FilePathParts SPLIT_FILE_PATH(const std::string& name) {
  std::error_code error;
  const std::string trimmed(WITHOUT_TRAILING_BLANKS(name));
  std::filesystem::path full = std::filesystem::absolute(trimmed, error);
  if (error) full = trimmed;
  const std::string text = full.string();
  FilePathParts parts;
  const std::size_t slash = text.find_last_of('/');
  const std::string directory = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? text : text.substr(slash + 1);
  const std::size_t dot = file.find_last_of('.');
  parts.directory = directory.substr(0, MAX_DIRECTORY_LENGTH);
  parts.name = (dot == std::string::npos ? file : file.substr(0, dot)).substr(0, MAX_NAME_LENGTH);
  parts.extension = dot == std::string::npos ? std::string() : file.substr(dot, MAX_EXTENSION_LENGTH);
  parts.directory = std::string(WITHOUT_TRAILING_BLANKS(parts.directory));
  parts.name = std::string(WITHOUT_TRAILING_BLANKS(parts.name));
  parts.extension = std::string(WITHOUT_TRAILING_BLANKS(parts.extension));
  return parts;
}

void WRITE_REPORT_HEADERS() {
  const FilePathParts input = SPLIT_FILE_PATH(RunFiles.input_file);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_COMPUTATION_REPORT, UNIT_ECHO}) {
    fio::write(unit, INPUT_NAME_LAYOUT, input.drive, input.directory, input.name, input.extension);
    write_file_name(unit, ECHO_NAME_LAYOUT, RunFiles.echo_file);
    write_file_name(unit, RESULTS_NAME_LAYOUT, RunFiles.results_file);
    write_file_name(unit, SUMMARY_NAME_LAYOUT, RunFiles.summary_file);
    write_file_name(unit, PLOT_NAME_LAYOUT, RunFiles.plot_file);
    write_file_name(unit, RUN_LOG_NAME_LAYOUT, RunFiles.run_log_file);
  }
  PRINT_RUN_DATE_TIME();
  fio::write_list(UNIT_COMPUTATION_REPORT);
}

void PRINT_RUN_DATE_TIME() {
  const RunDateTime now = run_clock();
  for (int unit : {UNIT_RUN_LOG, UNIT_COMPUTATION_REPORT, UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_ECHO}) {
    fio::write(unit, DATE_RULE_LAYOUT);
    if (now.month < 1 || now.month > MONTHS) continue;
    fio::write(unit, DATE_LINE_LAYOUT, MONTH_NAMES[now.month - 1], now.day, now.year, now.hour, now.minute, now.second);
  }
}

}  // namespace pilecap
