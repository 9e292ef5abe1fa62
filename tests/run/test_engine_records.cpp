// The engine's inventory of its global records: complete (every record the
// sources define is in it, each once) and its reset puts a record back to
// the value a new process gives it, tables released.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "run/engine_records.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

// Every global record the sources of the engine define or declare: a line
// "<Type>Record <Name>;" at namespace scope of a source file, or "extern
// <Type>Record <Name>;" in a header, each with the file that names it.
std::map<std::string, std::string> records_in_sources() {
  const std::regex definition(R"(^(extern )?[A-Za-z0-9_]+Record ([A-Za-z0-9_]+)(\{\})?;)");
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(PILECAP_SOURCES)) {
    const auto extension = entry.path().extension();
    if (extension != ".cpp" && extension != ".hpp") continue;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) {
      std::smatch match;
      if (std::regex_search(line, match, definition)) found.emplace(match[2], entry.path().string());
    }
  }
  return found;
}

class EngineRecordsTest : public testing::EngineTest {};

TEST_F(EngineRecordsTest, EveryRecordOfTheSourcesIsInTheInventoryOnce) {
  std::multiset<std::string> inventory;
  for (const EngineRecord& record : ENGINE_RECORDS()) inventory.emplace(record.name);
  const auto sources = records_in_sources();
  ASSERT_GE(sources.size(), 70u) << "the scan of " << PILECAP_SOURCES << " found too few records";
  for (const auto& [name, file] : sources) {
    EXPECT_EQ(inventory.count(name), 1u) << name << " (" << file
                                         << ") is not in ENGINE_RECORDS (run/engine_records.cpp)";
  }
  for (const std::string& name : inventory) {
    EXPECT_EQ(inventory.count(name), 1u) << name << " stands more than once";
    EXPECT_TRUE(sources.count(name)) << name << " is in the inventory but no source defines it";
  }
}

// Regression: the plate records were in no reset, so a test (or a run) found
// what the last plate run left in them.
TEST_F(EngineRecordsTest, ResetGivesEveryRecordItsNewProcessValueAndReleasesTheTables) {
  int status = 0;
  ALLOCATE_MODEL_ARRAYS(status);
  ASSERT_EQ(status, 0);
  RunOptions.print_py_curves = 7;
  AnalysisControl.first_run = 5;
  CapPassiveState.horizontal_movement = 2.5;
  PlateControl.NPOIN = 81;
  PlateFailure.detail = "LEFT BY THE LAST PLATE RUN";
  FrontalScratch.largest_front = 40;
  PlatePileCoupling.piles.resize(3);

  RESET_ENGINE_RECORDS();
  EXPECT_FALSE(PileTable.head_x.created()) << "the model-store tables are released";
  EXPECT_EQ(RunOptions.print_py_curves, RunOptionsRecord{}.print_py_curves);
  EXPECT_EQ(AnalysisControl.first_run, AnalysisControlRecord{}.first_run);
  EXPECT_EQ(CapPassiveState.horizontal_movement, 0.0);
  EXPECT_EQ(PlateControl.NPOIN, 0);
  EXPECT_EQ(PlateFailure.detail, "");
  EXPECT_EQ(FrontalScratch.largest_front, 0);
  EXPECT_TRUE(PlatePileCoupling.piles.empty());
  // A run may create the tables again.
  ALLOCATE_MODEL_ARRAYS(status);
  EXPECT_EQ(status, 0);
  RESET_ENGINE_RECORDS();
}

}  // namespace
}  // namespace pilecap
