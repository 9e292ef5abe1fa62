// A fixture for the cap flexibility routines: a fresh engine, the reports
// and the result-code file as memory units, the two flexibility scratch
// files as real files in a folder of the test (the routines close and reopen
// them by name), and the unit labels of a unit system.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

constexpr int LABELS_ENGLISH = 1;
constexpr int LABELS_SI = -1;

// One record of a flexibility scratch file: its level number and values.
struct Record {
  int level;
  std::vector<double> values;
};

class FlexibilityTest : public EngineTest {
 protected:
  std::filesystem::path folder_;

  void SetUp() override {
    EngineTest::SetUp();
    folder_ =
        std::filesystem::temp_directory_path() / ("pilecap_flex_" + std::to_string(::getpid()) + "_" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    RunFiles.flexibility_columns_file = (folder_ / "columns.txt").string();
    RunFiles.dof_run_steps_file = (folder_ / "steps.txt").string();
    for (int unit : {UNIT_RUN_LOG, UNIT_COMPUTATION_REPORT, UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_RESULT_CODES}) {
      fio::open_memory(unit);
    }
    use_units(LABELS_ENGLISH, 0);
  }
  void TearDown() override {
    fio::close_all();
    std::filesystem::remove_all(folder_);
  }

  // English (pounds, or kips with kips 1) or SI labels and conversions.
  static void use_units(int sign, int kips) {
    RunOptions.units = sign < 0 ? UNITS_SI : UNITS_ENGLISH;
    RunOptions.force_unit = kips;
    SET_UNIT_LABELS(sign, kips);
  }

  static std::string text(int unit) { return fio::memory_contents(unit); }
  static std::string read_file(const std::string& name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void write_file(const std::string& name, const std::string& contents) {
    std::ofstream out(name);
    out << contents;
  }

  // Records written through the engine's own writer, the file then closed.
  static void write_records(int unit, const std::vector<Record>& records) {
    int status = 0;
    OPEN_ESTIMATION_FILE(unit, true, status);
    for (const Record& r : records) {
      WRITE_ESTIMATION_RECORD(unit, r.level, r.values.data(), static_cast<int>(r.values.size()), status);
    }
    CLOSE_ESTIMATION_FILE(unit, status);
    ASSERT_EQ(status, 0);
  }
};

}  // namespace pilecap::testing
