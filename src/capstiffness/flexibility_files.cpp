// The two scratch files of the cap flexibility estimation: the
// flexibility-columns file (one record per level of every DOF, in DOF order,
// open for the whole case) and the DOF-run steps file (two records per level
// of one DOF). Records are text lines read back list-directed, one record a
// line. Every open, write, flush and read is checked: a stiffness built from
// a file that is not complete would show invented numbers.
#include <span>
#include <string>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

//        3  -1.00000000E-02         1.0000000       0.0000000
constexpr const char* RECORD_LAYOUT = "(5X,I5,2X,1P,7(G18.8,3X))";
constexpr int MAX_RECORD_VALUES = 7;
constexpr std::string_view DETAIL_INDENT = "    ";  // as the other lines of the final message

const std::string& file_of(int unit) {
  PILECAP_ASSERT(unit == UNIT_FLEXIBILITY_COLUMNS || unit == UNIT_DOF_RUN_STEPS, "a flexibility scratch unit");
  return unit == UNIT_FLEXIBILITY_COLUMNS ? RunFiles.flexibility_columns_file : RunFiles.dof_run_steps_file;
}

}  // namespace

void ESTIMATION_FILE_FAILED(int unit, int& status) {
  status = STATUS_SCRATCH_FILE_ERROR;
  std::string detail(DETAIL_INDENT);
  detail.append(file_of(unit));
  SET_STATUS_DETAIL(detail);
}

void OPEN_ESTIMATION_FILE(int unit, bool for_writing, int& status) {
  const fio::Mode mode = for_writing ? fio::Mode::Write : fio::Mode::Read;
  if (fio::open(unit, file_of(unit), mode) != fio::IO_OK) ESTIMATION_FILE_FAILED(unit, status);
}

void CLOSE_ESTIMATION_FILE(int unit, int& status) {
  const bool flushed = !fio::is_open(unit) || fio::flush(unit) == fio::IO_OK;
  fio::close(unit);
  if (!flushed && status == STATUS_OK) ESTIMATION_FILE_FAILED(unit, status);
}

void WRITE_ESTIMATION_RECORD(int unit, int level, const double* values, int n, int& status) {
  PILECAP_ASSERT(n >= 1 && n <= MAX_RECORD_VALUES, "a record holds one to seven values");
  if (fio::write(unit, RECORD_LAYOUT, level, std::span<const double>(values, static_cast<std::size_t>(n))) !=
      fio::IO_OK) {
    ESTIMATION_FILE_FAILED(unit, status);
  }
}

void READ_ESTIMATION_RECORD(int unit, int n, int& level, double* values, int& status) {
  PILECAP_ASSERT(n >= 1 && n <= MAX_RECORD_VALUES, "a record holds one to seven values");
  // A list-directed read takes further lines when one is short; a record is
  // one line, so a read that needed two found a damaged record.
  const int before = fio::lines_read(unit);
  std::span<double> targets(values, static_cast<std::size_t>(n));
  if (fio::read_list(unit, level, targets) != fio::IO_OK || fio::lines_read(unit) != before + 1) {
    ESTIMATION_FILE_FAILED(unit, status);
  }
}

void SKIP_ESTIMATION_RECORD(int unit, int& status) {
  std::string line;
  if (fio::read_line(unit, line) != fio::IO_OK) ESTIMATION_FILE_FAILED(unit, status);
}

}  // namespace pilecap
