// The equivalent springs of every pile read back from the equivalent-spring
// file that the last run of a factor point wrote (its case line, the
// stiffness matrix at the origin, then one block per pile: the pile-top
// line with the axial force and the secant head stiffnesses, the element
// length and one line per node from the head, holding the node's distance
// and its secant lateral moduli per unit length), and the blocks of the
// linear pile models on the cap-model pile file. The reader takes the
// columns the writer writes. Every open and read is checked: a stiffness
// formed from a short file would show invented springs. Nodes are 1 (head)
// .. n + 1 (tip).
#include <algorithm>
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"

namespace pilecap {

namespace {

constexpr std::string_view DETAIL_INDENT = "    ";
// Columns of the writer: pile-top fields 1-17, 18-34, 35-51; the element
// length 7-22; the lateral values of a node 23-39 and 40-56.
constexpr const char* TOP_READ_3D = "(3F17.0)";
constexpr const char* TOP_READ_2D = "(2F17.0)";
constexpr const char* LENGTH_READ = "(6X,F16.0)";
constexpr const char* NODE_READ_3D = "(22X,2F17.0)";
constexpr const char* NODE_READ_2D = "(22X,F17.0)";
constexpr int PILE_HEADING_LINES = 2;  // the pile line and the pile-top title
constexpr int MATRIX_TITLE_LINES = 2;  // the case line and the matrix title

//      PILE=    1     NNODES=   41
constexpr const char* PILE_LINE_LAYOUT = "(5X,\"PILE=\",I5,5X,\"NNODES=\",I5)";

void springs_file_failed(int& status) {
  status = STATUS_SCRATCH_FILE_ERROR;
  std::string detail(DETAIL_INDENT);
  detail.append(RunFiles.equivalent_springs_file);
  SET_STATUS_DETAIL(detail);
}

bool skip_lines(int n) {
  std::string line;
  for (int k = 0; k < n; ++k) {
    if (fio::read_line(UNIT_EQUIVALENT_SPRINGS, line) != fio::IO_OK) return false;
  }
  return true;
}

template <class... T>
bool read_fields(const char* layout, T&... values) {
  return fio::read_formatted(UNIT_EQUIVALENT_SPRINGS, fio::cached_format(layout), values...) == fio::IO_OK;
}

// The block of pile p; false when a line is missing or does not read.
bool read_pile(int p, bool space) {
  EquivalentSpringsRecord& e = EquivalentSprings;
  const int n = PileProperty.n_increments(PileTable.prop(p));
  double torsional = 0.0;
  if (!skip_lines(PILE_HEADING_LINES)) return false;
  const bool top = space ? read_fields(TOP_READ_3D, e.axial_force(p), e.axial_stiffness(p), torsional)
                         : read_fields(TOP_READ_2D, e.axial_force(p), e.axial_stiffness(p));
  if (!top) return false;
  if (space) e.torsional_stiffness(p) = torsional;
  double length = 0.0;
  if (!skip_lines(1) || !read_fields(LENGTH_READ, length)) return false;
  for (int j = 1; j <= n + 1; ++j) {
    double first = 0.0, second = 0.0;
    const bool node = space ? read_fields(NODE_READ_3D, first, second) : read_fields(NODE_READ_2D, first);
    if (!node) return false;
    const double tributary = (j == 1 || j == n + 1) ? 0.5 * length : length;
    e.node_spring(p, j) = (space ? std::max(first, second) : first) * tributary;
  }
  return true;
}

}  // namespace

void READ_EQUIVALENT_SPRINGS(int& status) {
  const bool space = RunOptions.dimension != MODEL_2D;
  const int ndof = CAP_DOFS_OF_MODEL(RunOptions.dimension);
  if (fio::open(UNIT_EQUIVALENT_SPRINGS, RunFiles.equivalent_springs_file, fio::Mode::Read) != fio::IO_OK) {
    springs_file_failed(status);
    return;
  }
  bool complete = skip_lines(MATRIX_TITLE_LINES + ndof);
  for (int p = 1; p <= PileTable.n_piles && complete; ++p) complete = read_pile(p, space);
  fio::close(UNIT_EQUIVALENT_SPRINGS);
  if (!complete) springs_file_failed(status);
}

void WRITE_CAP_MODEL_PILE_BLOCK(int pile, int dimension) {
  const EquivalentSpringsRecord& e = EquivalentSprings;
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  fio::write(UNIT_CAP_MODEL_PILES, PILE_LINE_LAYOUT, pile, n + 1);
  if (dimension == MODEL_2D) {
    fio::write_list(UNIT_CAP_MODEL_PILES, e.axial_stiffness(pile));
  } else {
    fio::write_list(UNIT_CAP_MODEL_PILES, e.axial_stiffness(pile), e.torsional_stiffness(pile));
  }
  for (int j = 1; j <= n + 1; ++j) fio::write_list(UNIT_CAP_MODEL_PILES, e.node_spring(pile, j));
}

}  // namespace pilecap
