// A fixture for the single-pile tests: the model store and input records,
// the results report and run log as memory units, and one uniform elastic
// pile (property set 1, one section) whose geometry a test states.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "pile/pile_head.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

class PileTest : public ModelRecordsTest {
 protected:
  static constexpr int SET = 1;

  void SetUp() override {
    ModelRecordsTest::SetUp();
    // What an earlier test (a whole run) may have left.
    PileTable.n_piles = 0;
    AnalysisControl = AnalysisControlRecord{};
    CapEnvelope = CapEnvelopeRecord{};
    PileErrorWord = PileErrorWordRecord{};
    SoilProfile = SoilProfileRecord{};
    fio::open_memory(UNIT_RESULTS_REPORT);
    fio::open_memory(UNIT_RUN_LOG);
    int english = 1;
    int pounds = 0;
    SET_UNIT_LABELS(english, pounds);
  }
  void TearDown() override {
    fio::close_all();
    reset_records();
    ModelRecordsTest::TearDown();
  }
  // The records these tests read besides the input records, as a fresh run
  // has them (a whole run before this test leaves its own).
  static void reset_records() {
    SET_SOIL_REACTION_PROVIDER(nullptr);
    CLEAR_PILE_PROPERTIES();
    SoilProfile = SoilProfileRecord{};
    PileTable.n_piles = 0;
    AnalysisControl = AnalysisControlRecord{};
    PileErrorWord = PileErrorWordRecord{};
    WarningCounters = WarningCountersRecord{};
  }

  // Pile p of set 1: vertical, head at head_depth, ground at the head.
  static void set_pile(int p, double head_depth, double length, int n, double ei = 1.0) {
    PileTable.n_piles = p > PileTable.n_piles ? p : PileTable.n_piles;
    PileTable.prop(p) = SET;
    PileTable.head_x(p) = PileTable.head_depth(p) = head_depth;
    PileProperty.length(SET) = length;
    PileProperty.n_increments(SET) = n;
    PileProperty.n_sections(SET) = 1;
    PileSection.top(SET, 1) = 0.0;
    PileSection.bottom(SET, 1) = length;
    PileSection.ei_zz(SET, 1) = PileSection.ei_zz_bottom(SET, 1) = ei;
    PileSection.ei_yy(SET, 1) = PileSection.ei_yy_bottom(SET, 1) = ei;
    SET_SECTION_SENTINELS(SET);
  }

  // Layers (top, bottom) in order.
  static void set_layers(const std::vector<std::pair<double, double>>& layers) {
    SoilProfile.num_layers = static_cast<int>(layers.size());
    for (int l = 1; l <= SoilProfile.num_layers; ++l) {
      SoilProfile.layer_top(l) = layers[l - 1].first;
      SoilProfile.layer_bottom(l) = layers[l - 1].second;
      SoilProfile.layer_code(l) = SOIL_ELASTIC_SUBGRADE;
    }
  }

  static std::string results() { return fio::memory_contents(UNIT_RESULTS_REPORT); }
  static std::string run_log() { return fio::memory_contents(UNIT_RUN_LOG); }
};

}  // namespace pilecap::testing
