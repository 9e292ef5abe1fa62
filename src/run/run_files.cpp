// The run's files: "Names.dat" names them, OPEN_RUN_FILES opens them on their
// fixed units at the start of a run, CLOSE_RUN_FILES copies the summary
// scratch file into the summary report and closes them at the end.
// Files the run writes are truncated when opened; files it only reads (the
// input, the echo insert, the scratch file reread) are never created.
#include <string>

#include "plate/plate.hpp"
#include "run/folder_lock.hpp"
#include "run/run.hpp"

namespace pilecap {

namespace {

constexpr const char* FILE_NAMES_FILE = "Names.dat";
constexpr int RESERVED_NAME_LINES = 4;
constexpr int FIRST_RUN_UNIT = UNIT_RUN_LOG;
constexpr int LAST_RUN_UNIT = UNIT_GENERATED_AXIAL_CURVES;

// Fields of RunFiles in the order of their lines (5 to 28) in "Names.dat".
std::string* const NAME_FIELDS[] = {
    &RunFiles.input_file,
    &RunFiles.echo_file,
    &RunFiles.results_file,
    &RunFiles.summary_file,
    &RunFiles.plot_file,
    &RunFiles.run_log_file,
    &RunFiles.result_codes_file,
    &RunFiles.computation_file,
    &RunFiles.status_file,
    &RunFiles.axial_curve_text_file,
    &RunFiles.flexibility_columns_file,
    &RunFiles.dof_run_steps_file,
    &RunFiles.pile_results_scratch_file,
    &RunFiles.stop_request_file,
    &RunFiles.equivalent_springs_file,
    &RunFiles.equivalent_stiffness_file,
    &RunFiles.axial_warnings_file,
    &RunFiles.iteration_dump_file,
    &RunFiles.axial_curve_data_file,
    &RunFiles.curve_export_file,
    &RunFiles.cap_model_piles_file,
    &RunFiles.summary_scratch_file,
    &RunFiles.echo_insert_file,
    &RunFiles.generated_axial_curves_file,
};

// Reads lines 1 to 28 of "Names.dat"; false when it is missing or short.
bool read_file_names() {
  RunFiles = RunFilesRecord{};
  if (fio::open(UNIT_FILE_NAMES, FILE_NAMES_FILE, fio::Mode::Read) != fio::IO_OK) return false;
  std::string line;
  bool complete = true;
  for (int k = 1; k <= RESERVED_NAME_LINES && complete; ++k) {
    complete = fio::read_line(UNIT_FILE_NAMES, line, FILE_NAME_LENGTH) == fio::IO_OK;
  }
  for (std::string* field : NAME_FIELDS) {
    if (!complete) break;
    complete = fio::read_line(UNIT_FILE_NAMES, line, FILE_NAME_LENGTH) == fio::IO_OK;
    *field = WITHOUT_TRAILING_BLANKS(line);
  }
  fio::close(UNIT_FILE_NAMES);
  return complete;
}

// True for a name the host owns: the engine reads it and never writes it.
bool host_file(const std::string& name) {
  return name == RunFiles.input_file || name == RunFiles.echo_insert_file || name == RunFiles.stop_request_file;
}

void report_file_error(int& status, const std::string& name) {
  status = STATUS_FILE_ERROR;
  SET_STATUS_DETAIL(std::string("    ") + name);
}

// Opens a file the run writes; the first failure sets status 41 with its name.
void open_for_writing(int unit, const std::string& name, int& status, fio::Buffering buffering = fio::Buffering::Line) {
  OPEN_FILE_FOR_WRITING(unit, name, status, buffering == fio::Buffering::Block);
}

}  // namespace

bool ENTER_RUN_FOLDER(int& lock_file) {
  long holder = 0;
  return TAKE_FOLDER_LOCK("", lock_file, holder) != FolderLockState::HeldByOther;
}

void LEAVE_RUN_FOLDER(int& lock_file) { RELEASE_FOLDER_LOCK(lock_file); }

void REMOVE_STALE_RUN_FILES() {
  for (const std::string* field : NAME_FIELDS) {
    if (!field->empty() && !host_file(*field)) fio::remove_file(*field);
  }
  REMOVE_STALE_PLATE_FILES();
}

void OPEN_RUN_FILES(int& status) {
  if (!read_file_names()) {
    report_file_error(status, FILE_NAMES_FILE);
    return;
  }
  // Before anything is written, so that a run that stops or fails at its
  // start leaves no report of an earlier one beside its own.
  REMOVE_STALE_RUN_FILES();
  if (fio::open(UNIT_INPUT, RunFiles.input_file, fio::Mode::Read) != fio::IO_OK) {
    // Nothing is read or created in the input's place; only the run log
    // opens, to carry the message.
    report_file_error(status, RunFiles.input_file);
    fio::open(UNIT_RUN_LOG, RunFiles.run_log_file, fio::Mode::Write);
    return;
  }
  open_for_writing(UNIT_ECHO, RunFiles.echo_file, status);
  open_for_writing(UNIT_RESULTS_REPORT, RunFiles.results_file, status, fio::Buffering::Block);
  open_for_writing(UNIT_SUMMARY, RunFiles.summary_file, status);
  open_for_writing(UNIT_PLOT, RunFiles.plot_file, status);
  open_for_writing(UNIT_RUN_LOG, RunFiles.run_log_file, status);
  open_for_writing(UNIT_RESULT_CODES, RunFiles.result_codes_file, status);
  open_for_writing(UNIT_COMPUTATION_REPORT, RunFiles.computation_file, status, fio::Buffering::Block);
  open_for_writing(UNIT_AXIAL_CURVE_TEXT, RunFiles.axial_curve_text_file, status);
  // The echo insert is the host's report; it may be absent until needed.
  fio::open(UNIT_ECHO_INSERT, RunFiles.echo_insert_file, fio::Mode::Read);

  if (fio::open(UNIT_STATUS, RunFiles.status_file, fio::Mode::Write) == fio::IO_OK) {
    if (fio::write_list(UNIT_STATUS, "- ANALYSIS STARTED") == fio::IO_OK) fio::write_list(UNIT_STATUS);
    fio::close(UNIT_STATUS);
  }

  open_for_writing(UNIT_ITERATION_DUMP, RunFiles.iteration_dump_file, status);
  open_for_writing(UNIT_AXIAL_CURVE_DATA, RunFiles.axial_curve_data_file, status);
  open_for_writing(UNIT_CAP_MODEL_PILES, RunFiles.cap_model_piles_file, status);
  open_for_writing(UNIT_SUMMARY_SCRATCH, RunFiles.summary_scratch_file, status);

  if (status != STATUS_OK) return;  // a file error is not hidden by a stop
  if (STOP_REQUESTED()) status = STATUS_STOPPED_BY_USER;
}

void CLOSE_RUN_FILES() {
  COPY_SUMMARY_SCRATCH();
  CLOSE_RUN_UNITS();
}

void COPY_SUMMARY_SCRATCH() {
  fio::close(UNIT_SUMMARY_SCRATCH);
  if (fio::is_open(UNIT_SUMMARY)) {
    fio::write(UNIT_SUMMARY, "(/,/,/,/,17X,\"*****\",5X,\"SUMMARY FOR LOAD CASES AND COMBINATIONS \",5X,\"*****\")");
    // The scratch file is reread, never created: a run that did not get to
    // write it has nothing to copy.
    if (fio::open(UNIT_SUMMARY_SCRATCH, RunFiles.summary_scratch_file, fio::Mode::Read) == fio::IO_OK) {
      std::string line;
      while (fio::read_line(UNIT_SUMMARY_SCRATCH, line) == fio::IO_OK) {
        // Whole lines are copied without their trailing blanks (one blank for
        // an empty line): the summary tables are wider than 120 columns and
        // cutting them would drop columns silently.
        const std::string_view trimmed = WITHOUT_TRAILING_BLANKS(line);
        fio::append(UNIT_SUMMARY, trimmed.empty() ? std::string_view(" ") : trimmed);
        END_REPORT_LINE(UNIT_SUMMARY);
      }
      fio::close(UNIT_SUMMARY_SCRATCH);
    }
  }
}

void CLOSE_RUN_UNITS() {
  static constexpr int CLOSING_ORDER[] = {
      UNIT_INPUT,
      UNIT_RESULTS_REPORT,
      UNIT_ECHO,
      UNIT_SUMMARY,
      UNIT_PLOT,
      UNIT_RUN_LOG,
      UNIT_RESULT_CODES,
      UNIT_COMPUTATION_REPORT,
      UNIT_FLEXIBILITY_COLUMNS,
      UNIT_AXIAL_CURVE_TEXT,
      UNIT_ITERATION_DUMP,
      UNIT_AXIAL_CURVE_DATA,
      UNIT_CURVE_EXPORT,
      UNIT_CAP_MODEL_PILES,
      UNIT_SUMMARY_SCRATCH,
      UNIT_ECHO_INSERT,
  };
  for (int unit : CLOSING_ORDER) fio::close(unit);
  // Units the later steps open around their use are closed too, so nothing
  // of this run stays connected into the next.
  for (int unit = FIRST_RUN_UNIT; unit <= LAST_RUN_UNIT; ++unit) fio::close(unit);
}

}  // namespace pilecap
