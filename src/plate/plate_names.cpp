// The file of plate file names, "gslab.dat": five names taken from the
// engine's file of file names, "Names.dat" (records 9, 5, 6, 7 and 8), one to
// a line. Names are carried whole (up to 256 characters); a shorter name is
// padded with blanks to 75 characters, the field hosts read. Both files are
// in the working directory; unit UNIT_PLATE_CONTROL serves both, in turn.
#include <string>

#include "base/fio.hpp"
#include "plate/plate.hpp"

namespace pilecap {

PlateFileNamesRecord PlateFileNames;

namespace {

constexpr const char* ENGINE_NAMES_FILE = "Names.dat";
constexpr int NAME_LENGTH = 256;   // characters of a name in "Names.dat"
constexpr int RECORDS_NEEDED = 9;  // records 1 .. 9 of "Names.dat"
constexpr int INPUT_RECORD = 5;    // the input data file
constexpr int ECHO_RECORD = 6;     // the input echo
constexpr int RESULTS_RECORD = 7;  // the results report
constexpr int SUMMARY_RECORD = 8;  // the summary report
constexpr int PLOT_RECORD = 9;     // the plot-data file
constexpr const char* LINE_LAYOUT = "(A)";

std::string without_trailing_blanks(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// Records 1 .. 9 of "Names.dat", each without trailing blanks; false when the
// file cannot be opened or is short.
bool read_engine_names(Array1<std::string, RECORDS_NEEDED>& records) {
  if (fio::open(UNIT_PLATE_CONTROL, ENGINE_NAMES_FILE, fio::Mode::Read) != fio::IO_OK) return false;
  bool complete = true;
  std::string line;
  for (int k = 1; k <= RECORDS_NEEDED && complete; ++k) {
    complete = fio::read_line(UNIT_PLATE_CONTROL, line, NAME_LENGTH) == fio::IO_OK;
    records(k) = without_trailing_blanks(line);
  }
  fio::close(UNIT_PLATE_CONTROL);
  return complete;
}

}  // namespace

void WRITE_PLATE_NAMES_FILE(std::string& first_name, std::string& second_name, int& status) {
  Array1<std::string, RECORDS_NEEDED> records;
  if (!read_engine_names(records)) {
    FAIL_PLATE(status, std::string("    FILE CANNOT BE READ: ") + ENGINE_NAMES_FILE);
    return;
  }
  first_name = records(INPUT_RECORD);
  second_name = records(PLOT_RECORD);
  PlateFileNames = {records(PLOT_RECORD), records(INPUT_RECORD), records(ECHO_RECORD), records(RESULTS_RECORD),
                    records(SUMMARY_RECORD)};
  if (fio::open(UNIT_PLATE_CONTROL, PLATE_NAMES_FILE, fio::Mode::Write) != fio::IO_OK) {
    FAIL_PLATE(status, std::string("    FILE CANNOT BE WRITTEN: ") + PLATE_NAMES_FILE);
    return;
  }
  bool written = true;
  for (const std::string* name : {&PlateFileNames.plot_file, &PlateFileNames.data_file, &PlateFileNames.listing_file,
                                  &PlateFileNames.step_results_file, &PlateFileNames.convergence_log_file}) {
    std::string line = *name;
    if (line.size() < PLATE_NAME_FIELD) line.resize(PLATE_NAME_FIELD, ' ');
    written = written && fio::write(UNIT_PLATE_CONTROL, LINE_LAYOUT, line) == fio::IO_OK;
  }
  written = written && fio::flush(UNIT_PLATE_CONTROL) == fio::IO_OK;
  fio::close(UNIT_PLATE_CONTROL);
  if (!written) FAIL_PLATE(status, std::string("    FILE CANNOT BE WRITTEN: ") + PLATE_NAMES_FILE);
}

}  // namespace pilecap
