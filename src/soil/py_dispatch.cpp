// The p-y dispatch: walks the soil layers a pile meets and hands the pile's
// nodes inside each layer to the criterion of the layer's soil code, then
// clears the moduli above the ground line. Node arrays by node number
// (values[j] is node j, nodes 1 .. n + 1); the points above a buried head
// that a layer's range reaches are never read or written.
#include "base/check.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

GeneratedPyCurveRecord GeneratedPyCurve;

namespace {

// Calls the criterion of one soil code; any code outside 1..14 is soft clay.
void call_criterion(int code, int& prop_set, int& layer, int& status, int& pile, int& factor_index, const double* y,
                    double* es, const double* move1, const double* move2, double* es_move, double* p) {
  switch (code) {
    case SOIL_STIFF_CLAY_FREE_WATER:
      PY_STIFF_CLAY_FREE_WATER(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_STIFF_CLAY_NO_WATER:
      PY_STIFF_CLAY_NO_WATER(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_SAND:
      PY_SAND(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_USER_PY:
      PY_USER_CURVES_LAYER(prop_set, layer, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_VUGGY_LIMESTONE:
      PY_VUGGY_LIMESTONE(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_SILT:
      PY_SILT(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_API_SAND:
      PY_API_SAND(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_WEAK_ROCK:
      PY_WEAK_ROCK(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_STIFF_CLAY_INITIAL_K:
      PY_STIFF_CLAY_INITIAL_K(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_LIQUEFIED_SAND:
      PY_LIQUEFIED_SAND(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_ELASTIC_SUBGRADE:
      PY_ELASTIC_SUBGRADE(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_SOFT_CLAY_USER_J:
      PY_SOFT_CLAY_USER_J(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    case SOIL_MOD_SOFT_CLAY_INITIAL_K:
      PY_MOD_SOFT_CLAY_INITIAL_K(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
    default:
      PY_SOFT_CLAY(prop_set, layer, status, pile, factor_index, y, es, move1, move2, es_move, p);
      return;
  }
}

}  // namespace

void SOIL_REACTION_AT_NODES(int& prop_set, int& status, int& pile, int& factor_index, const double* y, double* es,
                            const double* move1, const double* move2, double* es_move, double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  const double ground_line = PileTable.ground(pile) + PileTable.head_depth(pile);
  PileSoilData.ground_line(pile) = ground_line;
  const bool generating = RunOptions.print_py_curves == 1;
  // Every taken layer is called, whatever the status word: a criterion whose
  // first query finds the word set returns at once.
  for (int layer = 1; layer <= SoilProfile.num_layers; ++layer) {
    const int first = PileLayerData.first_node(pile, layer);
    const int last = PileLayerData.last_node(pile, layer);
    const bool taken = generating ? first != 0 : (first != 0 || last != 0);
    if (!taken) continue;
    call_criterion(SoilProfile.layer_code(layer), prop_set, layer, status, pile, factor_index, y, es, move1, move2,
                   es_move, p);
  }
  if (status != 0) return;
  // The node on the ground line keeps the spring its criterion gave it.
  for (int j = 1; j <= n + 1; ++j) {
    if (above_ground_line(PileNodes.depth(pile, j) - ground_line)) es[j] = 0.0;
  }
  PileSoilData.ground_line(pile) = ground_line - PileNodes.depth(pile, 1);
}

}  // namespace pilecap
