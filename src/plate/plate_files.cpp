// The files of one plate analysis: the five names of "gslab.dat" (the
// plot-data file, which is not used, then the plate data file, the listing,
// the step results file and the convergence log), and the debug trace named
// after the listing. Names are compared as absolute, normalised paths, so
// that no plate output is opened over the data file, over another output or
// over one of the engine's own files.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr int NAMES_FILE_LINES = 5;

// The path a name stands for, for comparisons: absolute, with links of its
// existing part resolved, "." and ".." removed.
std::filesystem::path resolved(const std::string& name) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  std::filesystem::path path = std::filesystem::weakly_canonical(absolute, error);
  if (error) path = absolute;
  return path.lexically_normal();
}

// The names of the engine's own files of the run.
std::vector<const std::string*> engine_files() {
  const RunFilesRecord& r = RunFiles;
  return {&r.input_file,
          &r.echo_file,
          &r.results_file,
          &r.summary_file,
          &r.plot_file,
          &r.run_log_file,
          &r.result_codes_file,
          &r.computation_file,
          &r.status_file,
          &r.axial_curve_text_file,
          &r.flexibility_columns_file,
          &r.dof_run_steps_file,
          &r.pile_results_scratch_file,
          &r.stop_request_file,
          &r.equivalent_springs_file,
          &r.equivalent_stiffness_file,
          &r.axial_warnings_file,
          &r.iteration_dump_file,
          &r.axial_curve_data_file,
          &r.curve_export_file,
          &r.cap_model_piles_file,
          &r.summary_scratch_file,
          &r.echo_insert_file,
          &r.generated_axial_curves_file};
}

bool read_names_file(Array1<std::string, NAMES_FILE_LINES>& lines) {
  if (fio::open(UNIT_PLATE_CONTROL, PLATE_NAMES_FILE, fio::Mode::Read) != fio::IO_OK) return false;
  bool complete = true;
  for (int k = 1; k <= NAMES_FILE_LINES && complete; ++k) {
    std::string line;
    complete = fio::read_line(UNIT_PLATE_CONTROL, line) == fio::IO_OK;
    lines(k) = std::string(WITHOUT_TRAILING_BLANKS(line));
  }
  fio::close(UNIT_PLATE_CONTROL);
  return complete;
}

// The first output that would overwrite a file of `taken`, an engine file or
// an earlier output; empty when there is none.
std::string clashing_output(std::vector<std::filesystem::path> taken, const std::vector<const std::string*>& outputs) {
  for (const std::string* name : engine_files()) {
    if (!name->empty()) taken.push_back(resolved(*name));
  }
  for (const std::string* name : outputs) {
    const std::filesystem::path path = resolved(*name);
    for (const std::filesystem::path& other : taken) {
      if (path == other) return *name;
    }
    taken.push_back(path);
  }
  return {};
}

}  // namespace

std::string PLATE_OUTPUT_CLASH(const std::vector<const std::string*>& outputs) { return clashing_output({}, outputs); }

void OPEN_PLATE_FILES(int& status) {
  Array1<std::string, NAMES_FILE_LINES> lines;
  if (!read_names_file(lines)) {
    FAIL_PLATE(status, std::string("    FILE CANNOT BE READ: ") + PLATE_NAMES_FILE);
    return;
  }
  PlateFileNamesRecord& f = PlateFileNames;
  f = {lines(1), lines(2), lines(3), lines(4), lines(5), {}};
  f.debug_trace_file = std::filesystem::path(f.listing_file).replace_extension(PLATE_DEBUG_EXTENSION).string();
  const std::vector<const std::string*> outputs = {&f.listing_file, &f.step_results_file, &f.convergence_log_file,
                                                   &f.debug_trace_file};
  for (const std::string* name : outputs) {
    if (name->empty()) {
      FAIL_PLATE(status, std::string("    A PLATE FILE HAS NO NAME IN ") + PLATE_NAMES_FILE);
      return;
    }
  }
  if (const std::string clash = clashing_output({resolved(f.data_file)}, outputs); !clash.empty()) {
    FAIL_PLATE(status, "    PLATE FILE WOULD OVERWRITE ANOTHER FILE: " + clash);
    return;
  }
  if (f.data_file.empty() || fio::open(UNIT_PLATE_DATA, f.data_file, fio::Mode::Read) != fio::IO_OK) {
    FAIL_PLATE(status, "    FILE CANNOT BE OPENED: " + f.data_file);
    return;
  }
  const int units[] = {UNIT_PLATE_LISTING, UNIT_PLATE_STEP_RESULTS, UNIT_PLATE_CONVERGENCE_LOG, UNIT_PLATE_DEBUG};
  for (std::size_t k = 0; k < outputs.size(); ++k) {
    if (fio::open(units[k], *outputs[k], fio::Mode::Write) != fio::IO_OK) {
      FAIL_PLATE(status, "    FILE CANNOT BE WRITTEN: " + *outputs[k]);
      return;
    }
  }
}

}  // namespace pilecap
