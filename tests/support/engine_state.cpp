// Puts the engine's global state back to that of a new process: the
// engine's records by its own inventory (run/engine_records.hpp), and here
// what is not a record: the open units, the hooks and providers, the status
// detail and the thread count.
#include "tests/support/engine_state.hpp"

#include <malloc.h>
#include <omp.h>

#include "analysis/analysis.hpp"
#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/group_forces.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "run/engine_records.hpp"
#include "run/run.hpp"
#include "soil/py_curves.hpp"
#include "soil/soil.hpp"

namespace pilecap::testing {

namespace {

// The thread count the runtime starts with, taken before any test runs.
const int initial_max_threads = omp_get_max_threads();

// The model tables are meant to come from the system as fresh zero pages and
// to go back to it when released. The C library's adaptive threshold would
// instead serve a large table released and created again from its heap, which
// it must zero-fill page by page: every fixture would then touch hundreds of
// MiB. A fixed threshold keeps each large table a mapping of its own.
constexpr int OWN_MAPPING_ABOVE = 1 << 20;  // bytes
[[maybe_unused]] const bool fixed_mapping_threshold = mallopt(M_MMAP_THRESHOLD, OWN_MAPPING_ABOVE) == 1;

}  // namespace

void reset_engine_state() {
  fio::close_all();
  fio::clear_write_failure();
  // Every global record of the engine, from the engine's own inventory.
  RESET_ENGINE_RECORDS();

  SET_STATUS_DETAIL("");
  SET_SOIL_REACTION_PROVIDER(nullptr);
  SET_HEAD_RESPONSE_PROVIDER(nullptr);
  set_cap_solution_hook(nullptr);
  set_run_end_hook(nullptr);
  set_failing_table_creation(0);
  // A test chooses its thread counts; the machine's load must not cap them.
  SET_FREE_PROCESSOR_SOURCE(+[] { return 0; });
  omp_set_num_threads(initial_max_threads);
}

void ModelRecordsTest::SetUp() {
  EngineTest::SetUp();
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  ASSERT_EQ(status, 0);
  RESET_INPUT_RECORDS(status);
  ASSERT_EQ(status, 0);
}

void ModelRecordsTest::TearDown() {
  int status = 0;
  RESET_INPUT_RECORDS(status);
  RELEASE_MODEL_ARRAYS(status);
}

}  // namespace pilecap::testing
