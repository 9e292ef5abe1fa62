// A fixture for the result writers: the model store, the report units as
// memory units, SI labels and headings of the model in space, a scratch file
// in a folder of this process, and piles whose results a test states.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "results/results.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

class ResultsTest : public ModelRecordsTest {
 protected:
  static constexpr int REPORT_UNITS[] = {UNIT_COMPUTATION_REPORT, UNIT_RESULTS_REPORT,  UNIT_SUMMARY,
                                         UNIT_RESULT_CODES,       UNIT_SUMMARY_SCRATCH, UNIT_RUN_LOG};

  void SetUp() override {
    ModelRecordsTest::SetUp();
    for (int unit : REPORT_UNITS) fio::open_memory(unit);
    // What an earlier test (a whole run) may have left.
    PileTable.n_piles = 0;
    AnalysisControl = AnalysisControlRecord{};
    CapEnvelope = CapEnvelopeRecord{};
    RunOptions.units = 2;
    RunOptions.dimension = 3;
    int si = -1;
    int no_kips = 0;
    SET_UNIT_LABELS(si, no_kips);
    int dimension = 3;
    SET_RESULT_COLUMN_HEADINGS(dimension);
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_results_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    RunFiles.pile_results_scratch_file = (folder_ / "piles.scr").string();
    AnalysisControl.threads_wanted = 1;
  }
  void TearDown() override {
    fio::close_all();
    reset_records();
    ModelRecordsTest::TearDown();
    std::filesystem::remove_all(folder_);
  }

  // The records these tests read besides the input records, as a fresh run
  // has them (a whole run before this test leaves its own).
  static void reset_records() {
    CLEAR_PILE_PROPERTIES();
    PileTable.n_piles = 0;
    AnalysisControl = AnalysisControlRecord{};
    CapEnvelope = CapEnvelopeRecord{};
    RunFiles = RunFilesRecord{};
    SET_STATUS_DETAIL("");
  }

  // Pile p on property set `set` of n increments of length h; every current
  // node value is value(p, node k, quantity q), the pile-top columns
  // 10 p + c (global) and -(10 p + c) (local).
  template <class F>
  static void set_pile(int p, int set, int n, double h, F value, int ls_curve = 0) {
    if (p > PileTable.n_piles) PileTable.n_piles = p;
    PileTable.prop(p) = set;
    PileTable.ls_curve(p) = ls_curve;
    PileProperty.n_increments(set) = n;
    PileProperty.increment(set) = h;
    for (int k = 0; k <= n; ++k) {
      for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) NodeResults.current(p, k + FIRST_NODE_ROW, q) = value(p, k, q);
    }
    for (int c = 1; c <= PILE_TOP_RESULT_COUNT; ++c) {
      PileTopResults.current_global(p, c) = 10.0 * p + c;
      PileTopResults.current_local(p, c) = -(10.0 * p + c);
    }
  }

  // Every column of the load cases' and the envelopes' lists shown.
  static void show_all_columns() {
    for (int q = 1; q <= RESULT_FLAGS_PER_LINE; ++q) {
      ResultColumnSelection.case_flags(1, q) = 1;
      ResultColumnSelection.combination_flags(1, q) = 1;
      ResultColumnSelection.case_envelope_flags(q) = 1;
      ResultColumnSelection.combination_envelope_flags(q) = 1;
    }
  }

  static std::string unit_text(int unit) { return fio::memory_contents(unit); }

  std::string scratch_text() const {
    std::ifstream in(RunFiles.pile_results_scratch_file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path folder_;
};

}  // namespace pilecap::testing
