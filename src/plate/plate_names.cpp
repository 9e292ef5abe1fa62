// The file of plate file names, "gslab.dat": the plot-data file of the
// engine's file of file names, "Names.dat" (record 9), then the plate's own
// data file, listing, step results file and convergence log, named after the
// input file (record 5) and the run (load case or combination) in the folder
// of the results report (record 7), one to a line, so that every run of a
// deck keeps its own plate files. Names are carried whole; a shorter name is
// padded with blanks to 75 characters, the field hosts read. Both files are
// in the working directory; unit UNIT_PLATE_CONTROL serves both, in turn.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "model/analysis_control.hpp"
#include "model/run_state.hpp"
#include "plate/plate.hpp"

namespace pilecap {

PlateFileNamesRecord PlateFileNames;

namespace {

constexpr const char* ENGINE_NAMES_FILE = "Names.dat";
constexpr int NAME_LENGTH = 256;   // characters of a name in "Names.dat"
constexpr int RECORDS_NEEDED = 9;  // records 1 .. 9 of "Names.dat"
constexpr int INPUT_RECORD = 5;    // the input data file
constexpr int RESULTS_RECORD = 7;  // the results report
constexpr int PLOT_RECORD = 9;     // the plot-data file
constexpr const char* LINE_LAYOUT = "(A)";
constexpr const char* STEM_OF_NAMELESS_INPUT = "plate";

// Records 1 .. 9 of "Names.dat", each without trailing blanks; false when the
// file cannot be opened or is short.
bool read_engine_names(Array1<std::string, RECORDS_NEEDED>& records) {
  if (fio::open(UNIT_PLATE_CONTROL, ENGINE_NAMES_FILE, fio::Mode::Read) != fio::IO_OK) return false;
  bool complete = true;
  std::string line;
  for (int k = 1; k <= RECORDS_NEEDED && complete; ++k) {
    complete = fio::read_line(UNIT_PLATE_CONTROL, line, NAME_LENGTH) == fio::IO_OK;
    records(k) = std::string(WITHOUT_TRAILING_BLANKS(line));
  }
  fio::close(UNIT_PLATE_CONTROL);
  return complete;
}

// The tags that name a run in its plate files: ".case2", ".comb1".
constexpr std::string_view CASE_TAG = ".case";
constexpr std::string_view COMBINATION_TAG = ".comb";
// What follows a plate file's base name and run tag: the four suffixes of
// "gslab.dat", and the keyword copy's and the debug trace's, which take the
// data file's and the listing's names with their extension replaced.
std::vector<std::string> plate_file_endings() {
  const auto replaced = [](const char* suffix, const char* extension) {
    return std::filesystem::path(suffix).replace_extension(extension).string();
  };
  return {PLATE_DATA_SUFFIX,
          PLATE_LISTING_SUFFIX,
          PLATE_STEP_RESULTS_SUFFIX,
          PLATE_CONVERGENCE_LOG_SUFFIX,
          replaced(PLATE_DATA_SUFFIX, PLATE_KEYWORD_EXTENSION),
          replaced(PLATE_LISTING_SUFFIX, PLATE_DEBUG_EXTENSION)};
}

std::string input_stem(const std::string& input_file) {
  std::string stem = std::filesystem::path(input_file).stem().string();
  return stem.empty() ? STEM_OF_NAMELESS_INPUT : stem;
}

// The run under way: ".case2" in the case loop, ".comb1" in the combination
// loop, nothing outside a run (a plate file written on its own).
std::string run_tag() {
  const AnalysisControlRecord& a = AnalysisControl;
  if (a.current_run < 1) return {};
  return std::string(a.current_combination > 0 ? COMBINATION_TAG : CASE_TAG) + std::to_string(a.current_run);
}

// <folder of the results report>/<stem of the input file><run tag>.
std::string plate_file_base(const std::string& input_file, const std::string& results_file) {
  return (std::filesystem::path(results_file).parent_path() / (input_stem(input_file) + run_tag())).string();
}

// True when `name` is a plate file of a deck of this stem: the stem, an
// optional run tag, and one of the plate files' endings.
bool plate_file_of(std::string_view name, const std::string& stem) {
  if (!name.starts_with(stem)) return false;
  name.remove_prefix(stem.size());
  for (const std::string_view tag : {CASE_TAG, COMBINATION_TAG}) {
    if (!name.starts_with(tag)) continue;
    std::size_t digits = tag.size();
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
    if (digits == tag.size()) return false;
    name.remove_prefix(digits);
    break;
  }
  for (const std::string& ending : plate_file_endings()) {
    if (name == ending) return true;
  }
  return false;
}

// True when `name` is one of the run's own files.
bool run_file(const std::string& name) {
  const RunFilesRecord& f = RunFiles;
  for (const std::string* own : {&f.input_file,
                                 &f.echo_file,
                                 &f.results_file,
                                 &f.summary_file,
                                 &f.plot_file,
                                 &f.run_log_file,
                                 &f.result_codes_file,
                                 &f.computation_file,
                                 &f.status_file,
                                 &f.axial_curve_text_file,
                                 &f.flexibility_columns_file,
                                 &f.dof_run_steps_file,
                                 &f.pile_results_scratch_file,
                                 &f.stop_request_file,
                                 &f.equivalent_springs_file,
                                 &f.equivalent_stiffness_file,
                                 &f.axial_warnings_file,
                                 &f.iteration_dump_file,
                                 &f.axial_curve_data_file,
                                 &f.curve_export_file,
                                 &f.cap_model_piles_file,
                                 &f.summary_scratch_file,
                                 &f.echo_insert_file,
                                 &f.generated_axial_curves_file}) {
    if (*own == name) return true;
  }
  return false;
}

}  // namespace

void REMOVE_STALE_PLATE_FILES() {
  const std::string stem = input_stem(RunFiles.input_file);
  const std::filesystem::path folder = std::filesystem::path(RunFiles.results_file).parent_path();
  std::vector<std::string> names = {PLATE_NAMES_FILE};
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (plate_file_of(name, stem)) names.push_back((folder / name).string());
  }
  for (const std::string& name : names) {
    if (!run_file(name)) fio::remove_file(name);
  }
}

void WRITE_PLATE_NAMES_FILE(std::string& first_name, std::string& second_name, int& status) {
  Array1<std::string, RECORDS_NEEDED> records;
  if (!read_engine_names(records)) {
    FAIL_PLATE(status, std::string("    FILE CANNOT BE READ: ") + ENGINE_NAMES_FILE);
    return;
  }
  first_name = records(INPUT_RECORD);
  second_name = records(PLOT_RECORD);
  const std::string base = plate_file_base(records(INPUT_RECORD), records(RESULTS_RECORD));
  PlateFileNames = {records(PLOT_RECORD),
                    base + PLATE_DATA_SUFFIX,
                    base + PLATE_LISTING_SUFFIX,
                    base + PLATE_STEP_RESULTS_SUFFIX,
                    base + PLATE_CONVERGENCE_LOG_SUFFIX,
                    {}};
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
