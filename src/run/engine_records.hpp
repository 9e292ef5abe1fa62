// The inventory of the engine's global records: every record a run reads or
// writes, by name, with the one reset that puts it back to the value a new
// process gives it. A run starts from it (RUN_ANALYSIS), and so does every
// test fixture; a record added to the engine belongs here, and a test that
// scans the sources for record definitions fails until it is.
#pragma once

#include <span>
#include <string_view>

namespace pilecap {

struct EngineRecord {
  std::string_view name;  // the record's name in the code ("RunOptions")
  void (*reset)();        // rebuilds it in place with its default value
};

// ENGINE_RECORDS
// Every global record of the engine, each once.
std::span<const EngineRecord> ENGINE_RECORDS();

// RESET_ENGINE_RECORDS
// Releases the memory the records own (the model-store tables, the p-y
// curve cache, the plate's tables) and rebuilds every record of
// ENGINE_RECORDS in place with its default value, so that a run starts as in
// a new process whatever the run before it left. Hooks and providers a host
// or a test set are not records and stay.
//   Writes: every record of ENGINE_RECORDS
void RESET_ENGINE_RECORDS();

}  // namespace pilecap
