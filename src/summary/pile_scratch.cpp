// The per-pile results scratch file: eight text records per pile that the
// summary tables over all piles read back (here too) after a per-pile writer
// has closed the file. Pile-top records carry 6 or 7 values in 1PG12.5 fields; extreme
// records carry all 29 node quantities (E12.5) and their depths (F11.4).
// Node k of a pile is row k + 4 of its PileNodeValues; depths are measured
// from the pile head. Every open, write and flush is checked: a summary built
// from a file that is not complete would show stale or invented extremes.
#include <span>
#include <string>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "summary/result_columns.hpp"

namespace pilecap {

namespace {

constexpr std::string_view SCRATCH_DETAIL_INDENT = "    ";  // as the other lines of the final message

//   "          3      1.2346E-02    -0.12346      ..."
constexpr const char* TOP_DISPLACEMENT_LAYOUT = "(5X,I6,6X,1P,6(G12.5,2X))";
constexpr const char* TOP_REACTION_LAYOUT = "(5X,I6,6X,1P,3(G12.5,2X),3(G12.5,2X),G12.5)";
//   "        3    -0.12346E+01  ..."
constexpr const char* EXTREME_VALUE_LAYOUT = "(1X,I8,2X,29(2X,E12.5))";
//   "     x(FT)       0.0000     2.5000 ..."
constexpr const char* EXTREME_DEPTH_LAYOUT = "(1X,4X,\"x(\",A2,\")\",1X,29(3X,F11.4))";

// Reading the records back: every value as written, whatever its width.
constexpr const char* TOP_RECORD_READ = "(5X,I6,4X,7F14.0)";
constexpr const char* EXTREME_VALUE_READ = "(I9,2X,29(2X,F12.0))";
constexpr const char* EXTREME_DEPTH_READ = "(5X,A5,1X,29(3X,F11.0))";
constexpr std::size_t DEPTH_LABEL_LENGTH = 5;

constexpr int TOP_VALUES_3D = 6;  // displacements, and reactions, per record in space
constexpr int TOP_VALUES_2D = 3;  // in the plane

bool is_force_quantity(int q) { return q >= NR_MOMENT_Z && q <= NR_DIST_LOAD_Z; }

// Records 1 to 4 of one pile with n displacements and n reactions per set
// (the stress after the reactions, taken from the global set for both).
int write_top_records(int pile, const double* global_values, const double* local_values, int n) {
  const double stress = global_values[2 * n];
  double reactions[TOP_VALUES_3D + 1];
  for (const double* values : {global_values, local_values}) {
    int code = fio::write(UNIT_PILE_RESULTS_SCRATCH, TOP_DISPLACEMENT_LAYOUT, pile,
                          std::span<const double>(values, static_cast<std::size_t>(n)));
    if (code != fio::IO_OK) return code;
    for (int k = 0; k < n; ++k) reactions[k] = KIPS_FROM_POUNDS(values[n + k]);
    reactions[n] = KIPS_FROM_POUNDS(stress);
    code = fio::write(UNIT_PILE_RESULTS_SCRATCH, TOP_REACTION_LAYOUT, pile,
                      std::span<const double>(reactions, static_cast<std::size_t>(n + 1)));
    if (code != fio::IO_OK) return code;
  }
  return fio::IO_OK;
}

// One pile's eight records: the values of record `record` and, for an
// extreme record, the label and depths of the record after it; every other
// record is passed over whole. Returns a fio code.
int read_pile(int record, int count, bool extremes, PileScratchRead& read) {
  const int unit = UNIT_PILE_RESULTS_SCRATCH;
  std::string skipped;
  for (int r = 1; r <= SCRATCH_RECORDS_PER_PILE; ++r) {
    int code = fio::IO_OK;
    if (r == record) {
      std::span<double> wanted(read.values.data(), static_cast<std::size_t>(count));
      code = fio::read_formatted(unit, fio::cached_format(extremes ? EXTREME_VALUE_READ : TOP_RECORD_READ),
                                 read.pile_number, wanted);
    } else if (extremes && r == record + 1) {
      code = fio::read_formatted(unit, fio::cached_format(EXTREME_DEPTH_READ),
                                 fio::Text{read.depth_label, DEPTH_LABEL_LENGTH}, read.depths);
    } else {
      code = fio::read_line(unit, skipped);
    }
    if (code != fio::IO_OK) return code;
  }
  return fio::IO_OK;
}

}  // namespace

void READ_PILE_SCRATCH_FRAME(int n_piles, int record, int count, bool extremes, int& status, PileScratchVisitor visit,
                             const void* context) {
  OPEN_PILE_RESULTS_SCRATCH(false, status);
  if (status != STATUS_OK) return;
  int code = fio::IO_OK;
  for (int p = 1; p <= n_piles; ++p) {
    PileScratchRead read;
    code = read_pile(record, count, extremes, read);
    if (code != fio::IO_OK) break;
    visit(context, p, read);
  }
  fio::close(UNIT_PILE_RESULTS_SCRATCH);
  if (code != fio::IO_OK) SCRATCH_FILE_FAILED(status);
}

void SCRATCH_FILE_FAILED(int& status) {
  status = STATUS_SCRATCH_FILE_ERROR;
  std::string detail(SCRATCH_DETAIL_INDENT);
  detail.append(RunFiles.pile_results_scratch_file);
  SET_STATUS_DETAIL(detail);
}

void OPEN_PILE_RESULTS_SCRATCH(bool for_writing, int& status) {
  const fio::Mode mode = for_writing ? fio::Mode::Write : fio::Mode::Read;
  if (fio::open(UNIT_PILE_RESULTS_SCRATCH, RunFiles.pile_results_scratch_file, mode) != fio::IO_OK) {
    SCRATCH_FILE_FAILED(status);
  }
}

void CLOSE_PILE_RESULTS_SCRATCH(int& status) {
  const bool flushed = !fio::is_open(UNIT_PILE_RESULTS_SCRATCH) || fio::flush(UNIT_PILE_RESULTS_SCRATCH) == fio::IO_OK;
  fio::close(UNIT_PILE_RESULTS_SCRATCH);
  if (!flushed && status == STATUS_OK) SCRATCH_FILE_FAILED(status);
}

int WRITE_PILE_TOP_RECORDS(int pile, const double* global_values, const double* local_values) {
  return write_top_records(pile, global_values, local_values, TOP_VALUES_3D);
}

int WRITE_PILE_TOP_RECORDS_2D(int pile, const double* global_values, const double* local_values) {
  return write_top_records(pile, global_values, local_values, TOP_VALUES_2D);
}

int WRITE_PILE_EXTREMES(int pile, int last_row, double increment, const PileNodeValues& values) {
  ResultColumnValues minimum, maximum, minimum_depth, maximum_depth;
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    minimum(q) = maximum(q) = values(FIRST_NODE_ROW, q);
    minimum_depth(q) = maximum_depth(q) = 0.0;
  }
  for (int row = FIRST_NODE_ROW + 1; row <= last_row; ++row) {
    const double depth = (row - FIRST_NODE_ROW) * increment;
    for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
      const double v = values(row, q);
      if (v < minimum(q)) {
        minimum(q) = v;
        minimum_depth(q) = depth;
      }
      if (v > maximum(q)) {
        maximum(q) = v;
        maximum_depth(q) = depth;
      }
    }
  }
  for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
    if (is_force_quantity(q)) {
      minimum(q) = KIPS_FROM_POUNDS(minimum(q));
      maximum(q) = KIPS_FROM_POUNDS(maximum(q));
    }
    minimum_depth(q) = FEET_FROM_INCHES(minimum_depth(q));
    maximum_depth(q) = FEET_FROM_INCHES(maximum_depth(q));
  }
  const std::string_view label = UnitLabels.length_large_short();
  int code = fio::write(UNIT_PILE_RESULTS_SCRATCH, EXTREME_VALUE_LAYOUT, pile, minimum);
  if (code == fio::IO_OK) code = fio::write(UNIT_PILE_RESULTS_SCRATCH, EXTREME_DEPTH_LAYOUT, label, minimum_depth);
  if (code == fio::IO_OK) code = fio::write(UNIT_PILE_RESULTS_SCRATCH, EXTREME_VALUE_LAYOUT, pile, maximum);
  if (code == fio::IO_OK) code = fio::write(UNIT_PILE_RESULTS_SCRATCH, EXTREME_DEPTH_LAYOUT, label, maximum_depth);
  return code;
}

}  // namespace pilecap
