// Report headers: the names of the run's files at the top of the results
// report, the computation report and the input echo, and the date block of
// every report.
#pragma once

#include <string>

namespace pilecap {

// A file name split into the parts the headers print. There are no drive
// designators on this platform; the directory keeps its trailing separator.
struct FilePathParts {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;  // with its dot, at most 6 characters
};

// SPLIT_FILE_PATH
// Resolves name against the current directory and splits it.
FilePathParts SPLIT_FILE_PATH(const std::string& name);

// WRITE_REPORT_HEADERS
// Writes the file-name header to the results report, the computation report
// and the input echo, the date block to every report, and one empty line to
// the computation report.
//   Reads: RunFiles
void WRITE_REPORT_HEADERS();

// The local date and time of the analysis.
struct RunDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// PRINT_RUN_DATE_TIME
// Reads the clock once and writes the date block to units 10, 14, 16, 18, 32.
void PRINT_RUN_DATE_TIME();

// Test seam: the clock PRINT_RUN_DATE_TIME reads; nullptr restores the system clock.
void set_run_clock(RunDateTime (*clock)());

}  // namespace pilecap
