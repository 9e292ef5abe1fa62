// The per-pile blocks of the equivalent-spring file: after a run of a
// stiffness-estimation point has made its equivalent-stiffness pass, every
// pile's axial force, secant axial (and torsional) head stiffness, element
// length and, node by node from the head, the distance along the pile and
// the secant lateral moduli per unit length, from EquivalentStiffness
// (node j at row j + 3). The reader of the stiffness estimation takes the
// values from the columns written here.
#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

// * PILE GROUP *     3
constexpr const char* PILE_LINE_LAYOUT = "(\"* PILE GROUP *\",I6)";
constexpr const char* TOP_TITLE_LAYOUT = "(7X,\"* PILE TOP EQUIVALENT STIFFNESSES\")";
constexpr const char* ALONG_TITLE_LAYOUT = "(7X,\"* EQUIVALENT STIFFNESSES ALONG PILE\")";
constexpr int VALUE_DIGITS = 8;
constexpr int TOP_WIDTH = 17;
constexpr int LEAD = 6;
constexpr int DISTANCE_WIDTH = 16;
constexpr int MODULUS_WIDTH = 17;
constexpr int FIRST_NODE_ROW = 4;
// EquivalentStiffness.top: 3D axial force, axial and torsional stiffness,
// element length; 2D axial force, axial stiffness, element length.
constexpr int TOP_VALUES_3D = 3, LENGTH_COLUMN_3D = 4, LATERAL_MODULI_3D = 2;
constexpr int TOP_VALUES_2D = 2, LENGTH_COLUMN_2D = 3, LATERAL_MODULI_2D = 1;

void write_piles(int n_top, int length_column, int n_moduli) {
  const EquivalentStiffnessRecord& e = EquivalentStiffness;
  const int unit = UNIT_EQUIVALENT_SPRINGS;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const int n = PileProperty.n_increments(PileTable.prop(p));
    fio::write(unit, PILE_LINE_LAYOUT, p);
    fio::write(unit, TOP_TITLE_LAYOUT);
    for (int k = 1; k <= n_top; ++k) WRITE_REAL_FIELD(unit, TOP_WIDTH, VALUE_DIGITS, e.top(p, k));
    END_REPORT_LINE(unit);
    fio::write(unit, ALONG_TITLE_LAYOUT);
    WRITE_BLANKS(unit, LEAD);
    WRITE_REAL_FIELD(unit, DISTANCE_WIDTH, VALUE_DIGITS, e.top(p, length_column));
    END_REPORT_LINE(unit);
    for (int row = FIRST_NODE_ROW; row <= n + FIRST_NODE_ROW; ++row) {
      WRITE_BLANKS(unit, LEAD);
      WRITE_REAL_FIELD(unit, DISTANCE_WIDTH, VALUE_DIGITS, e.node(p, row, 1));
      for (int k = 1; k <= n_moduli; ++k) WRITE_REAL_FIELD(unit, MODULUS_WIDTH, VALUE_DIGITS, e.node(p, row, 1 + k));
      END_REPORT_LINE(unit);
    }
  }
}

}  // namespace

void WRITE_EQUIV_STIFFNESS_3D() { write_piles(TOP_VALUES_3D, LENGTH_COLUMN_3D, LATERAL_MODULI_3D); }

void WRITE_EQUIV_STIFFNESS_2D() { write_piles(TOP_VALUES_2D, LENGTH_COLUMN_2D, LATERAL_MODULI_2D); }

}  // namespace pilecap
