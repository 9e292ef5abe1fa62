// The curve-data cache of the p-y criteria: one entry per (pile, node), node
// j of a pile at index j - 1 of the pile's row, made on first use by the
// thread that evaluates the pile and released at the end of a run. The epoch
// is opened and closed on the calling thread only.
#include <vector>

#include "base/check.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"
#include "soil/py_frame.hpp"

namespace pilecap {

PyCurveCacheRecord PyCurveCache;

namespace {

// The entries of each pile (pile p at index p); each is touched only by the
// thread that evaluates the pile.
std::array<std::vector<py::CurveCacheEntry>, TABLE_CAPACITY + 1> pile_entries;

// The last epoch opened. Never reset, not even with the records, so no entry
// of an earlier run or test can serve a later one.
std::uint64_t last_epoch = 0;

// Per pile, the last solve mark handed out (never reset, like last_epoch,
// so no slot of an earlier solve, run or test can match a later one) and the
// slots of the open solve scope; both written only by the thread that
// evaluates the pile, so nothing shared is written inside a parallel loop.
std::array<std::uint64_t, TABLE_CAPACITY + 1> last_solve_mark{};
std::array<py::SolveSlots, TABLE_CAPACITY + 1> open_solve{};

bool in_table(int pile) { return pile >= 1 && pile <= TABLE_CAPACITY; }

}  // namespace

void OPEN_PY_CURVE_EPOCH() {
  if (PyCurveCache.enabled == 0) {
    PyCurveCache.epoch = 0;
    return;
  }
  PyCurveCache.epoch = ++last_epoch;
}

void CLOSE_PY_CURVE_EPOCH() { PyCurveCache.epoch = 0; }

void RELEASE_PY_CURVE_CACHE() {
  for (auto& entries : pile_entries) std::vector<py::CurveCacheEntry>().swap(entries);
  PyCurveCache.epoch = 0;
}

PyPileSolve::PyPileSolve(int pile) : pile_(pile) {
  if (!in_table(pile) || PyCurveCache.epoch == 0) return;
  py::SolveSlots& slots = open_solve[static_cast<std::size_t>(pile)];
  PILECAP_ASSERT(slots.mark == 0, "one solve scope of a pile at a time");
  slots.n_nodes = PileProperty.n_increments(PileTable.prop(pile)) + 1;
  // Sized here, so no later lookup of the scope moves the entries.
  slots.entries = &py::PY_CURVE_CACHE_ENTRY(pile, 1, slots.n_nodes);
  slots.mark = ++last_solve_mark[static_cast<std::size_t>(pile)];
}

PyPileSolve::~PyPileSolve() {
  if (in_table(pile_)) open_solve[static_cast<std::size_t>(pile_)] = py::SolveSlots{};
}

namespace py {

CurveCacheEntry& PY_CURVE_CACHE_ENTRY(int pile, int j, int n_nodes) {
  auto& entries = pile_entries[static_cast<std::size_t>(pile)];
  if (entries.size() < static_cast<std::size_t>(n_nodes)) entries.resize(static_cast<std::size_t>(n_nodes));
  return entries[static_cast<std::size_t>(j - 1)];
}

SolveSlots solve_slots(const LayerCall& call, bool cap_pass) {
  if (PyCurveCache.epoch == 0 || cap_pass || curve_generation() || CapPassiveElement.evaluating == 1) return {};
  if (!in_table(call.pile)) return {};
  return open_solve[static_cast<std::size_t>(call.pile)];
}

void NodeCurveCache::build_key(const LayerCall& call, const Node& node, int code) {
  const int pile = call.pile, layer = call.layer;
  if (PyCurveCache.epoch == 0 || curve_generation() || node.cap_pass || !node.outputs) return;
  if (CapPassiveElement.evaluating == 1 || pile < 1 || pile > TABLE_CAPACITY) return;
  const int n_nodes = PileProperty.n_increments(PileTable.prop(pile)) + 1;
  if (node.j > n_nodes) return;
  const double eq_depth = PileLayerData.eq_depth(pile, layer);
  // The frame computes the equivalent depth at this node: it depends on the
  // whole layer integral above, which no key holds.
  if (layer > 1 && node.first && eq_depth < PY_MIN_DEPTH) return;
  entry_ = &PY_CURVE_CACHE_ENTRY(pile, node.j, n_nodes);
  key_[0] = double(code);
  key_[1] = double(layer);
  key_[2] = double(call.prop_set);
  key_[3] = node.first ? 1.0 : 0.0;
  key_[4] = node.x;
  key_[5] = node.z;
  key_[6] = node.b;
  key_[7] = eq_depth;
  key_[8] = PileSoilData.ground_line(pile);
  key_[9] = double(AnalysisControl.loading_kind);
  key_[10] = AnalysisControl.cycles;
  for (std::size_t k = COMMON_CURVE_KEYS; k < key_.size(); ++k) key_[k] = 0.0;
  n_keys_ = COMMON_CURVE_KEYS;
}

}  // namespace py

}  // namespace pilecap
