// Envelope reset: the minimum and maximum envelopes of a pass start at zero.
// The per-pile tables have the pile index fastest, so each cleared column
// (pile-top) or row of a quantity (nodes) is one contiguous run of n_piles
// values; the loops stop at the number of piles, not at the capacity.
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

void clear_cap_envelope(int n_components) {
  for (int k = 1; k <= n_components; ++k) {
    CapEnvelope.max_load(k) = 0.0;
    CapEnvelope.max_displacement(k) = 0.0;
    CapEnvelope.min_load(k) = 0.0;
    CapEnvelope.min_displacement(k) = 0.0;
  }
}

void clear_pile_envelopes(int n_top_columns) {
  const int n_piles = PileTable.n_piles;
  for (int column = 1; column <= n_top_columns; ++column) {
    for (int p = 1; p <= n_piles; ++p) {
      PileTopResults.max_global(p, column) = 0.0;
      PileTopResults.max_local(p, column) = 0.0;
      PileTopResults.min_global(p, column) = 0.0;
      PileTopResults.min_local(p, column) = 0.0;
    }
  }
  for (int quantity = 1; quantity <= NODAL_RESULT_COUNT; ++quantity) {
    for (int row = 1; row <= PILE_NODE_ROWS; ++row) {
      for (int p = 1; p <= n_piles; ++p) {
        NodeResults.max_env(p, row, quantity) = 0.0;
        NodeResults.min_env(p, row, quantity) = 0.0;
      }
    }
  }
}

}  // namespace

void RESET_ENVELOPES() {
  clear_cap_envelope(CAP_DOFS);
  clear_pile_envelopes(PILE_TOP_RESULT_COUNT);
}

void RESET_ENVELOPES_2D() {
  clear_cap_envelope(CAP_DOFS_2D);
  clear_pile_envelopes(PILE_TOP_COLUMNS_2D);
}

}  // namespace pilecap
