// Sections 7 and 8 of the input file: the pile arrangement (rows of a 2D
// model or piles of a 3D model, integer and real columns of
// PileArrangementInput) and the pile property sets with their sections.
// Rows and sets are 1-based; lengths are in the input's units.
#include "input/input_reader.hpp"

namespace pilecap::input_detail {

namespace {

// Columns of the three lines of one 2D row and one 3D pile.
constexpr int ROW_2D_FIRST_REALS = 5;
constexpr int ROW_2D_PILE_COUNT = 2;  // the integer column of the row's number of identical piles
constexpr int ROW_2D_REAL_LINES = 2;  // lines of reals after the line of integers of a row or a pile
constexpr int PILE_3D_FIRST_REALS = 7;
constexpr int CONNECTION_COLUMNS_3D = 2;  // the connections about z-z and y-y lead a 3D pile's integers
// Head connections: 1 pinned, 2 fixed, 3 restrained by a rotational spring.
constexpr int FIRST_CONNECTION = 1;
constexpr int LAST_CONNECTION = 3;

// One pile (3D) or pile row (2D): a line of integers and two of reals.
bool read_arrangement_entry(InputReader& in, Table2<int>& ints, Table2<double>& reals, int r, int n_ints,
                            int n_first_reals, int n_reals) {
  return in.read(row(ints, r, 1, n_ints)) && in.read(row(reals, r, 1, n_first_reals)) &&
         in.read(row(reals, r, n_first_reals + 1, n_reals - n_first_reals));
}

}  // namespace

void read_pile_arrangement(InputReader& in) {
  auto& a = PileArrangementInput;
  if (!in.header(SECTION_PILE_ARRANGEMENT)) return;
  const int dimension = RunOptions.dimension;
  if (dimension != MODEL_2D && dimension != MODEL_3D) {
    // Without a dimension of 2 or 3 the section has no piles at all.
    in.reject(std::to_string(dimension), "THE MODEL HAS NO PILES");
    return;
  }
  int& n = dimension == MODEL_2D ? a.n_rows_2d : a.n_piles_3d;
  if (!in.read(n)) return;
  if (n < 1) {
    in.reject(std::to_string(n), "THE MODEL HAS NO PILES");
    return;
  }
  if (!in.count(n, dimension == MODEL_2D ? "PILE ROWS" : "PILES", MAX_PILES)) return;
  for (int r = 1; r <= n; ++r) {
    const bool read = dimension == MODEL_2D ? read_arrangement_entry(in, a.int_2d, a.real_2d, r, ARRANGEMENT_INTS_2D,
                                                                     ROW_2D_FIRST_REALS, ARRANGEMENT_REALS_2D)
                                            : read_arrangement_entry(in, a.int_3d, a.real_3d, r, ARRANGEMENT_INTS_3D,
                                                                     PILE_3D_FIRST_REALS, ARRANGEMENT_REALS_3D);
    if (!read) return;
    // A head is pinned, fixed or restrained; the lateral solution has no
    // other boundary condition.
    Table2<int>& ints = dimension == MODEL_2D ? a.int_2d : a.int_3d;
    const int n_connections = dimension == MODEL_2D ? 1 : CONNECTION_COLUMNS_3D;
    for (int column = 1; column <= n_connections; ++column) {
      const int connection = ints(r, column);
      if (connection < FIRST_CONNECTION || connection > LAST_CONNECTION) {
        in.reject_at(SECTION_PILE_ARRANGEMENT, in.line() - ROW_2D_REAL_LINES, std::to_string(connection),
                     "HEAD CONNECTION NOT 1, 2 OR 3");
        return;
      }
    }
    // A row stands for its identical piles; without any it carries nothing.
    if (dimension == MODEL_2D && a.int_2d(r, ROW_2D_PILE_COUNT) < 1) {
      in.reject_at(SECTION_PILE_ARRANGEMENT, in.line() - ROW_2D_REAL_LINES,
                   std::to_string(a.int_2d(r, ROW_2D_PILE_COUNT)), "A PILE ROW NEEDS AT LEAST ONE PILE");
      return;
    }
  }
}

void read_property_sets(InputReader& in) {
  auto& p = PropertySetInput;
  if (!in.section_count(SECTION_PROPERTY_SETS, p.count, "PROPERTY SETS", MAX_INPUT_PROPERTY_SETS)) {
    return;
  }
  for (int s = 1; s <= p.count; ++s) {
    if (!in.read(p.set_label(s), p.num_sections(s)) ||
        !in.count(p.num_sections(s), "SECTIONS OF A PROPERTY SET", MAX_PILE_SECTIONS) ||
        !in.read(p.increments(s), p.length(s), p.pile_type(s))) {
      return;
    }
    // The node tables of a pile hold 200 increments; every pile needs one.
    if (p.increments(s) < 1 || p.increments(s) > MAX_PILE_INCREMENTS) {
      in.reject(std::to_string(p.increments(s)), "INCREMENTS NOT 1 TO 200");
      return;
    }
    for (int k = 1; k <= p.num_sections(s); ++k) {
      if (!in.read(p.from(s, k), p.to(s, k), p.cross_section(s, k))) return;
    }
  }
}

}  // namespace pilecap::input_detail
