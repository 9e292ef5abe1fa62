// Frontal solution of the plate equations (Irons' frontal method): elements
// are assembled in order into a small dense front of active equations, and
// an equation is eliminated as soon as the last element holding its node has
// been added. The front matrix is symmetric and kept as its upper triangle,
// packed column by column: entry (r, c), r <= c, at c(c-1)/2 + r. Each
// eliminated equation keeps in memory (FrontalScratch) only the entries of its
// front column that are not zero, with a bit mask of their positions, and is
// read back in the reverse order for the back-substitution. Prescribed DOFs
// move their values to the right-hand side and get their reactions in the
// back-substitution. Equations, nodes and front positions count from 1.
#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "plate/plate.hpp"

namespace pilecap {

FrontalScratchRecord FrontalScratch;

namespace {

// The largest front whose packed triangle a 32-bit index can address.
constexpr int FRONT_SIZE_LIMIT = 46340;

//     NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO.  123 OF VALUE      0.000000E+00
constexpr const char* ZERO_PIVOT_LAYOUT =
    "(1X,3X,\"NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO. \",I4,\" OF VALUE \",E17.6)";

struct FrontalWork {
  int front_size = 0;
  int active_front_width = 0;
  Table1<double> front_matrix;  // packed upper triangle
  Table1<double> front_rhs;
  Table1<double> pivot_column;
  Table1<double> front_solution;
  Table1<int> front_equations;  // (position) its equation; 0 = free
  Table1<int> front_position;   // (equation) its position; 0 = not in the front
  Table1<int> dof_codes;        // (equation) restraint code, 0 when not restrained
  Table1<int> last_element;     // (node) the last element holding it
  Table1<int> last_local_node;  // (node) its last position in that element
  Array1<int, PLATE_ELEMENT_CAPACITY> destinations;
  Array1<int, PLATE_ELEMENT_CAPACITY> equations;
  Array1<bool, PLATE_ELEMENT_CAPACITY> last_appearance;
};

int mask_words(int width) { return (width + FRONTAL_MASK_BITS - 1) / FRONTAL_MASK_BITS; }

// A block of the scratch with room for `count` more entries: the current
// one, or the next (allocated on first use) when the current one is short of
// it; nullptr when the memory cannot be had.
template <class T>
FrontalScratchBlock<T>* scratch_room(FrontalScratchBlocks<T>& scratch, std::size_t count) {
  if (scratch.blocks.empty() ||
      scratch.blocks[scratch.current].capacity - scratch.blocks[scratch.current].used < count) {
    if (!scratch.blocks.empty() && scratch.blocks[scratch.current].used > 0) ++scratch.current;
    try {
      if (scratch.current == static_cast<int>(scratch.blocks.size())) scratch.blocks.emplace_back();
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    FrontalScratchBlock<T>& block = scratch.blocks[scratch.current];
    if (block.capacity < count) {  // an empty block too small for the record
      const std::size_t capacity = std::max(count, scratch.block_entries);
      block.entries.reset(new (std::nothrow) T[capacity]);
      block.capacity = block.entries ? capacity : 0;
      if (!block.entries) return nullptr;
    }
  }
  return &scratch.blocks[scratch.current];
}

template <class T>
void empty_scratch(FrontalScratchBlocks<T>& scratch) {
  for (FrontalScratchBlock<T>& block : scratch.blocks) block.used = 0;  // the memory stays for the next solution
  scratch.current = 0;
}

// Keeps the entries of pivot_column(1..width) that are not zero and the mask
// of their positions.
bool keep_eliminated_equation(const FrontalWork& w, int width, double pivot_rhs, int o, int q) {
  FrontalScratchRecord& s = FrontalScratch;
  const int words = mask_words(width);
  FrontalScratchBlock<double>* values = scratch_room(s.values, static_cast<std::size_t>(width));
  FrontalScratchBlock<std::uint64_t>* masks = scratch_room(s.masks, static_cast<std::size_t>(words));
  if (values == nullptr || masks == nullptr) return false;
  s.eliminated.push_back({s.values.current, values->used, s.masks.current, masks->used, width, pivot_rhs, o, q});
  double* kept = values->entries.get() + values->used;
  std::uint64_t* mask = masks->entries.get() + masks->used;
  for (int word = 0; word < words; ++word) {
    const double* column = &w.pivot_column(word * FRONTAL_MASK_BITS + 1);
    const int count = std::min(width - word * FRONTAL_MASK_BITS, FRONTAL_MASK_BITS);
    std::uint64_t bits = 0;
    for (int k = 0; k < count; ++k) bits |= std::uint64_t{column[k] != 0.0} << k;  // a NaN is kept
    for (std::uint64_t rest = bits; rest != 0; rest &= rest - 1) *kept++ = column[std::countr_zero(rest)];
    mask[word] = bits;
  }
  values->used = static_cast<std::size_t>(kept - values->entries.get());
  masks->used += static_cast<std::size_t>(words);
  return true;
}

const double* kept_entries(const EliminatedEquation& record) {
  return FrontalScratch.values.blocks[record.value_block].entries.get() + record.first_value;
}

const std::uint64_t* kept_mask(const EliminatedEquation& record) {
  return FrontalScratch.masks.blocks[record.mask_block].entries.get() + record.first_mask;
}

// The kept entry of a record at front position `position` (one that is kept).
double kept_entry(const EliminatedEquation& record, int position) {
  const std::uint64_t* mask = kept_mask(record);
  const int word = (position - 1) / FRONTAL_MASK_BITS;
  const int bit = (position - 1) % FRONTAL_MASK_BITS;
  PILECAP_ASSERT((mask[word] >> bit & 1) != 0, "the entry asked for is kept");
  std::size_t index = 0;
  for (int k = 0; k < word; ++k) index += static_cast<std::size_t>(std::popcount(mask[k]));
  index += static_cast<std::size_t>(std::popcount(mask[word] & ((std::uint64_t{1} << bit) - 1)));
  return kept_entries(record)[index];
}

// Sum over a record's kept entries, in the order of their positions, of
// entry x solution(position). The entries left out are zeros: their terms
// would add nothing (the sum, starting at +0, is never -0), as long as the
// solution values are finite.
double back_substitution_sum(const EliminatedEquation& record, const Table1<double>& solution) {
  const double* value = kept_entries(record);
  const std::uint64_t* mask = kept_mask(record);
  const int words = mask_words(record.width);
  double sum = 0.0;
  for (int word = 0; word < words; ++word) {
    for (std::uint64_t bits = mask[word]; bits != 0; bits &= bits - 1) {
      sum += *value++ * solution(word * FRONTAL_MASK_BITS + std::countr_zero(bits) + 1);
    }
  }
  return sum;
}

constexpr int packed(int row, int column) { return column * (column - 1) / 2 + row; }

// y(k) -= factor x(k) for k = 1..count: the update of one front column, on
// contiguous storage (the column's entries 1..count and the pivot column's).
void subtract_scaled(int count, double factor, const double* __restrict x, double* __restrict y) {
  for (int k = 0; k < count; ++k) y[k] -= factor * x[k];
}

bool create_work(FrontalWork& w, int equations) {
  const int size = w.front_size;
  const int nodes = PlateControl.NPOIN;
  return w.front_matrix.create("front_matrix", size * (size + 1) / 2) && w.front_rhs.create("front_rhs", size) &&
         w.pivot_column.create("pivot_column", size) && w.front_solution.create("front_solution", size) &&
         w.front_equations.create("front_equations", size) && w.front_position.create("front_position", equations) &&
         w.dof_codes.create("dof_codes", equations) && w.last_element.create("last_element", nodes) &&
         w.last_local_node.create("last_local_node", nodes);
}

bool reserve_records(int equations) {
  try {
    FrontalScratch.eliminated.reserve(static_cast<std::size_t>(equations));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The restraint codes by equation; nodal_reactions starts with the
// correction of every prescribed DOF and the given value of every other one.
void apply_restraints(FrontalWork& w) {
  PlateModelRecord& m = PlateModel;
  const double factor = PLATE_LOAD_FACTOR();
  for (int v = 1; v <= PlateControl.NVFIX; ++v) {
    const int node = m.restrained_nodes(v);
    if (node < 1 || node > PlateControl.NPOIN) continue;  // the data check rejects such records
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      const int q = PLATE_EQUATION(node, d);
      const int code = m.restraint_codes(v, d);
      const double value = m.prescribed_values(v, d);
      w.dof_codes(q) = code;
      // A prescribed DOF moves to its factored value from where it stands,
      // so later iterations of a step add nothing.
      m.nodal_reactions(q) = code == PLATE_RESTRAINT_PRESCRIBED ? factor * value - (m.ASDIS(q) + m.TSDIS(q)) : value;
    }
  }
}

void find_last_appearances(FrontalWork& w) {
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    for (int p = 1; p <= PlateControl.NNODE; ++p) {
      const int node = PlateModel.element_nodes(e, p);
      PILECAP_ASSERT(node >= 1 && node <= PlateControl.NPOIN, "the mesh check keeps node numbers in range");
      w.last_element(node) = e;
      w.last_local_node(node) = p;
    }
  }
}

// Front positions of the element's variables; a new equation takes the first
// free position.
void place_element(FrontalWork& w, int element, int& status) {
  for (int p = 1; p <= PlateControl.NNODE; ++p) {
    const int node = PlateModel.element_nodes(element, p);
    const bool last = w.last_element(node) == element && w.last_local_node(node) == p;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      const int i = PLATE_ELEMENT_VARIABLE(p, d);
      const int q = PLATE_EQUATION(node, d);
      w.equations(i) = q;
      w.last_appearance(i) = last;
      if (w.front_position(q) == 0) {
        int free = 1;
        while (free <= w.front_size && w.front_equations(free) != 0) ++free;
        if (free > w.front_size) {
          FAIL_PLATE(status,
                     "    THE PLATE SOLVER NEEDS A FRONT OF MORE THAN " + std::to_string(w.front_size) + " EQUATIONS");
          return;
        }
        w.front_equations(free) = q;
        w.front_position(q) = free;
        w.active_front_width = std::max(w.active_front_width, free);
      }
      w.destinations(i) = w.front_position(q);
    }
  }
  FrontalScratch.largest_front = std::max(FrontalScratch.largest_front, w.active_front_width);
}

// Only the element matrix's entries on and above its diagonal are used.
void assemble_element(FrontalWork& w, int element) {
  const int nevab = PLATE_NODE_DOFS * PlateControl.NNODE;
  for (int i = 1; i <= nevab; ++i) {
    const int a = w.destinations(i);
    w.front_rhs(a) += PlateModel.element_vectors(element, i);
    for (int k = 1; k <= i; ++k) {
      const int b = w.destinations(k);
      w.front_matrix(packed(std::min(a, b), std::max(a, b))) += PlateModel.element_matrices(element, k, i);
    }
  }
}

void report_zero_pivot(int equation, double pivot, int& status) {
  fio::write(UNIT_PLATE_LISTING, ZERO_PIVOT_LAYOUT, equation, pivot);
  FAIL_PLATE(status, "    ZERO PIVOT AT " + PLATE_EQUATION_NAME(equation) + PLATE_ITERATION_NAME());
}

// Takes the equation at front position o out of the front and reduces the rest.
void eliminate(FrontalWork& w, int o, int& status) {
  const int q = w.front_equations(o);
  const int width = w.active_front_width;
  for (int j = 1; j <= width; ++j) {
    double& entry = w.front_matrix(packed(std::min(j, o), std::max(j, o)));
    w.pivot_column(j) = entry;
    entry = 0.0;
  }
  const double pivot_rhs = w.front_rhs(o);
  w.front_rhs(o) = 0.0;
  if (!keep_eliminated_equation(w, width, pivot_rhs, o, q)) {
    FAIL_PLATE(status, PLATE_ALLOCATION_DETAIL);
    return;
  }

  const double pivot = w.pivot_column(o);
  if (pivot == 0.0 || !std::isfinite(pivot)) {
    report_zero_pivot(q, pivot, status);
    return;
  }
  w.pivot_column(o) = 0.0;
  if (w.dof_codes(q) == PLATE_RESTRAINT_PRESCRIBED) {
    const double value = PlateModel.nodal_reactions(q);
    for (int j = 1; j <= width; ++j) w.front_rhs(j) -= w.pivot_column(j) * value;
  } else {
    for (int j = 1; j <= width; ++j) {
      const double coefficient = w.pivot_column(j);
      w.front_rhs(j) -= pivot_rhs * coefficient / pivot;
      if (std::fabs(coefficient) < PLATE_PIVOT_NEGLIGIBLE) continue;
      subtract_scaled(j, coefficient / pivot, &w.pivot_column(1), &w.front_matrix(packed(1, j)));
    }
  }
  w.front_equations(o) = 0;
  w.front_position(q) = 0;
  while (w.active_front_width > 0 && w.front_equations(w.active_front_width) == 0) --w.active_front_width;
}

void eliminate_last_appearances(FrontalWork& w, int& status) {
  const int nevab = PLATE_NODE_DOFS * PlateControl.NNODE;
  for (int i = 1; i <= nevab; ++i) {
    if (!w.last_appearance(i)) continue;
    const int o = w.front_position(w.equations(i));
    if (o == 0) continue;  // a node repeated within the element is eliminated once
    eliminate(w, o, status);
    if (status != 0) return;
  }
}

void back_substitute(FrontalWork& w) {
  PlateModelRecord& m = PlateModel;
  const auto& eliminated = FrontalScratch.eliminated;
  for (auto record = eliminated.rbegin(); record != eliminated.rend(); ++record) {
    const int o = record->front_slot;
    const int q = record->equation_number;
    if (w.dof_codes(q) == PLATE_RESTRAINT_PRESCRIBED) {
      w.front_solution(o) = m.nodal_reactions(q);
      const double sum = back_substitution_sum(*record, w.front_solution);
      m.nodal_reactions(q) = -(record->pivot_rhs - sum);
      m.DSDIS(q) = w.front_solution(o);
      continue;
    }
    // The pivot's own term is left out of the sum: with its solution at 0
    // it adds nothing (the pivot is finite, or the elimination had stopped).
    const double pivot = kept_entry(*record, o);
    w.front_solution(o) = 0.0;
    const double sum = back_substitution_sum(*record, w.front_solution);
    w.front_solution(o) = (record->pivot_rhs - sum) / pivot;
    m.DSDIS(q) = w.front_solution(o);
    if (w.dof_codes(q) == PLATE_RESTRAINT_REPORTED) m.nodal_reactions(q) *= m.DSDIS(q);
  }
}

}  // namespace

void FRONTAL_SOLVE(int& status) {
  CHECK_PLATE_ELEMENT_KIND(status);
  if (status != 0) return;
  const int equations = PLATE_NODE_DOFS * PlateControl.NPOIN;
  // The memory stays for the next iteration; an equation is eliminated at most once.
  FrontalScratch.eliminated.clear();
  empty_scratch(FrontalScratch.values);
  empty_scratch(FrontalScratch.masks);
  FrontalScratch.largest_front = 0;
  FrontalWork w;
  w.front_size = PlateControl.front_size;
  if (w.front_size < 1 || w.front_size > FRONT_SIZE_LIMIT) {
    FAIL_PLATE(status,
               "    THE PLATE SOLVER CANNOT WORK WITH A FRONT OF " + std::to_string(w.front_size) + " EQUATIONS");
    return;
  }
  if (!create_work(w, equations) || !reserve_records(equations)) {
    FAIL_PLATE(status, PLATE_ALLOCATION_DETAIL);
    return;
  }
  for (int q = 1; q <= equations; ++q) {
    PlateModel.DSDIS(q) = 0.0;
    PlateModel.nodal_reactions(q) = 0.0;
  }
  apply_restraints(w);
  find_last_appearances(w);
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    // A stop request leaves the solution unfinished; the caller ends the
    // analysis without using it.
    if (PLATE_STOP_POLL(status)) return;
    place_element(w, e, status);
    if (status != 0) return;
    assemble_element(w, e);
    eliminate_last_appearances(w, status);
    if (status != 0) return;
  }
  back_substitute(w);
}

}  // namespace pilecap
