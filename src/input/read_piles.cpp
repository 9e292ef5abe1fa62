// Sections 7 and 8 of the input file: the pile arrangement (rows of a 2D
// model or piles of a 3D model, integer and real columns of
// PileArrangementInput) and the pile property sets with their sections.
// Rows and sets are 1-based; lengths are in the input's units.
#include <cmath>
#include <string>

#include "base/unit_labels.hpp"
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
constexpr int PY_SET_COLUMN = 4;   // P-Y CURVE, in a 2D row and a 3D pile alike
constexpr int PROP_COLUMN = 3;     // PILE PROP, in a 2D row and a 3D pile alike
constexpr int ROW_2D_SPACING = 2;  // real columns of a 2D row
constexpr int ROW_2D_BATTER = 8;   // degrees, on the row's second line of reals
constexpr int USER_PY_CURVES_GIVEN = 1;
constexpr double RIGHT_ANGLE_DEGREES = 90.0;
constexpr double HALF_TURN_DEGREES = 180.0;
constexpr int FIRST_P_FACTOR = 3;        // P-FACTOR, then Y-FACTOR, of a 2D row and a 3D pile alike
constexpr int ROW_2D_AXIAL_FACTOR = 5;   // FACT. AXIAL LOAD
constexpr int PILE_3D_AXIAL_FACTOR = 7;  // FACT.AX.LD
constexpr int PILE_3D_BETA = 12;

// One pile (3D) or pile row (2D): a line of integers and two of reals.
bool read_arrangement_entry(InputReader& in, Table2<int>& ints, Table2<double>& reals, int r, int n_ints,
                            int n_first_reals, int n_reals) {
  return in.read(row(ints, r, 1, n_ints)) && in.read(row(reals, r, 1, n_first_reals)) &&
         in.read(row(reals, r, n_first_reals + 1, n_reals - n_first_reals));
}

// A pile's own p-y curve set is read only with the user p-y curves of
// option 5; without them the set would be passed over without a word and
// the pile run on the curves of the soil.
bool py_set_usable(InputReader& in, int set) {
  if (set == 0 || RunOptions.user_py_curves == USER_PY_CURVES_GIVEN) return true;
  in.reject_at(
      SECTION_PILE_ARRANGEMENT, in.line() - ROW_2D_REAL_LINES, std::to_string(set),
      "A P-Y CURVE SET IS NAMED WHILE OPTION 5 (USER P-Y CURVES) IS " + std::to_string(RunOptions.user_py_curves));
  return false;
}

// The piles of a row stand side by side at the row spacing, out of the
// plane, where the reduction factors for close spacing place them: two of
// them at one place, or placed by a negative spacing, describe no row. A
// spacing nothing reads (one pile, no reduction factors) is left as given.
// A batter of a right angle or more lays a pile flat or turns it up.
bool row_geometry_usable(InputReader& in, int r) {
  const auto& a = PileArrangementInput;
  const double spacing = a.real_2d(r, ROW_2D_SPACING);
  const bool spacing_read = RunOptions.pmult_method != PMULT_METHOD_NONE && a.int_2d(r, ROW_2D_PILE_COUNT) > 1;
  if (spacing_read && !(spacing > 0.0)) {
    in.reject_at(SECTION_PILE_ARRANGEMENT, in.line() - 1, number_text(spacing),
                 "THE SPACING OF A ROW OF " + std::to_string(a.int_2d(r, ROW_2D_PILE_COUNT)) +
                     " PILES WITH REDUCTION FACTORS FOR CLOSE SPACING IS ABOVE 0");
    return false;
  }
  const double batter = a.real_2d(r, ROW_2D_BATTER);
  if (!(std::fabs(batter) < RIGHT_ANGLE_DEGREES)) {
    in.reject(number_text(batter), "THE BATTER IS BETWEEN -90 AND 90 DEGREES");
    return false;
  }
  return true;
}

// The factors of a pile's first line of reals: the p- and y-multipliers the
// analysis starts from (read as they stand only without a reduction-factor
// method; a method computes its own), the second being a divisor of every
// deflection, and the factor on the pile's axial force, of which 0 leaves
// the pile without axial force and a negative one would turn it into a
// pull. Entry r was just read.
bool factors_usable(InputReader& in, int r) {
  const auto& a = PileArrangementInput;
  const bool model_2d = RunOptions.dimension == MODEL_2D;
  const int line = in.line() - 1;
  const double axial = model_2d ? a.real_2d(r, ROW_2D_AXIAL_FACTOR) : a.real_3d(r, PILE_3D_AXIAL_FACTOR);
  if (axial < 0.0) {
    in.reject_at(SECTION_PILE_ARRANGEMENT, line, number_text(axial), "THE FACTOR ON THE AXIAL FORCE IS 0 OR ABOVE");
    return false;
  }
  if (RunOptions.pmult_method != PMULT_METHOD_NONE) return true;
  const double p_factor = model_2d ? a.real_2d(r, FIRST_P_FACTOR) : a.real_3d(r, FIRST_P_FACTOR);
  const double y_factor = model_2d ? a.real_2d(r, FIRST_P_FACTOR + 1) : a.real_3d(r, FIRST_P_FACTOR + 1);
  if (!(p_factor > 0.0)) {
    in.reject_at(SECTION_PILE_ARRANGEMENT, line, number_text(p_factor), "THE P-MULTIPLIER IS ABOVE 0");
    return false;
  }
  if (!(y_factor > 0.0)) {
    in.reject_at(SECTION_PILE_ARRANGEMENT, line, number_text(y_factor), "THE Y-MULTIPLIER IS ABOVE 0");
    return false;
  }
  return true;
}

// BETA is the angle of a 3D pile's axis from the horizontal, its batter
// 90 degrees less: 90 stands the pile upright, and one of 0 or less, or of
// 180 or more, lays it flat or turns its tip above its head.
bool pile_direction_usable(InputReader& in, int r) {
  const double beta = PileArrangementInput.real_3d(r, PILE_3D_BETA);
  if (beta > 0.0 && beta < HALF_TURN_DEGREES) return true;
  in.reject(number_text(beta), "BETA IS BETWEEN 0 AND 180 DEGREES, 90 FOR A VERTICAL PILE");
  return false;
}

// An embedded cap thicker than the piles under it are long stands more in
// the soil than they do: possible, but more often a cap thickness typed in
// the wrong unit. Property set s was just read; the piles are known.
void note_cap_thicker_than_piles(InputReader& in, int s) {
  const double thickness = CapGeometry.thickness_xx;
  const double length = PropertySetInput.length(s);
  if (RunOptions.cap_passive_option < 1 || !(length < thickness)) return;
  const auto& a = PileArrangementInput;
  const bool model_2d = RunOptions.dimension == MODEL_2D;
  const int n = model_2d ? a.n_rows_2d : a.n_piles_3d;
  for (int r = 1; r <= n; ++r) {
    if ((model_2d ? a.int_2d(r, PROP_COLUMN) : a.int_3d(r, PROP_COLUMN)) != s) continue;
    in.warn_at(in.line(), number_text(length),
               "PROPERTY SET " + std::to_string(s) + " IS SHORTER THAN THE EMBEDDED CAP IS THICK, " +
                   number_text(thickness) + " " + LABEL_TEXT(UnitLabels.length_large()));
    return;
  }
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
  if (!in.read_counting({{0, MAX_PILES}}, n)) return;
  if (n < 1) {
    in.reject(std::to_string(n), "THE MODEL HAS NO PILES");
    return;
  }
  const char* item = dimension == MODEL_2D ? "PILE ROWS" : "PILES";
  if (!in.count(n, item, MAX_PILES)) return;
  CountedList entries(in, item, n);
  for (int r = 1; r <= n; ++r) {
    entries.entry(r);
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
    if (!py_set_usable(in, ints(r, PY_SET_COLUMN)) || !factors_usable(in, r) ||
        (dimension == MODEL_2D ? !row_geometry_usable(in, r) : !pile_direction_usable(in, r))) {
      return;
    }
  }
}

void read_property_sets(InputReader& in) {
  auto& p = PropertySetInput;
  if (!in.section_count(SECTION_PROPERTY_SETS, p.count, "PROPERTY SETS", MAX_INPUT_PROPERTY_SETS)) {
    return;
  }
  CountedList sets(in, "PROPERTY SETS", p.count);
  for (int s = 1; s <= p.count; ++s) {
    sets.entry(s);
    if (!in.read_counting({{1, MAX_PILE_SECTIONS}}, p.set_label(s), p.num_sections(s)) ||
        !in.count(p.num_sections(s), "SECTIONS OF A PROPERTY SET", MAX_PILE_SECTIONS) ||
        !in.read(p.increments(s), p.length(s), p.pile_type(s))) {
      return;
    }
    InputLines.property_set(s) = in.line();
    // The node tables of a pile hold 200 increments; every pile needs one.
    if (p.increments(s) < 1 || p.increments(s) > MAX_PILE_INCREMENTS) {
      in.reject(std::to_string(p.increments(s)), "INCREMENTS NOT 1 TO 200");
      return;
    }
    if (!(p.length(s) > 0.0)) {
      in.reject(number_text(p.length(s)), "THE LENGTH OF A PILE IS ABOVE 0");
      return;
    }
    note_cap_thicker_than_piles(in, s);
    CountedList sections(in, "SECTIONS OF A PROPERTY SET", p.num_sections(s));
    for (int k = 1; k <= p.num_sections(s); ++k) {
      sections.entry(k);
      if (!in.read(p.from(s, k), p.to(s, k), p.cross_section(s, k))) return;
    }
  }
}

}  // namespace pilecap::input_detail
