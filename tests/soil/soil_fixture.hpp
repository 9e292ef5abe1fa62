// A fixture for the soil tests: the model store (for the pile tables), the
// results report and run log as memory units, and a profile written point by
// point so a test states every depth and value it relies on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

class SoilTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    reset_records();  // whatever ran before
    fio::open_memory(UNIT_RESULTS_REPORT);
    fio::open_memory(UNIT_RUN_LOG);
    // What an earlier test (a whole run) may have left: pi among them.
    SoilProfile = SoilProfileRecord{};
    SoilLayerInput = SoilLayerInputRecord{};
    RunOptions = RunOptionsRecord{};
    RunConstants = RunConstantsRecord{};
    CapPassiveElement = CapPassiveElementRecord{};
  }
  void TearDown() override {
    fio::close_all();
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    reset_records();
  }
  static void reset_records() {
    SoilProfile = SoilProfileRecord{};
    SoilLayerInput = SoilLayerInputRecord{};
    RunOptions = RunOptionsRecord{};
    RunConstants = RunConstantsRecord{};
    CapPassiveElement = CapPassiveElementRecord{};
  }

  // Layers (top, bottom) in order; points 2l-1 and 2l at their top and bottom.
  static void set_layers(const std::vector<std::pair<double, double>>& layers, int code = SOIL_ELASTIC_SUBGRADE) {
    SoilProfileRecord& s = SoilProfile;
    s.num_layers = static_cast<int>(layers.size());
    s.num_points = s.num_uw_points = 2 * s.num_layers;
    for (int l = 1; l <= s.num_layers; ++l) {
      s.layer_top(l) = layers[l - 1].first;
      s.layer_bottom(l) = layers[l - 1].second;
      s.layer_code(l) = code;
      s.depth(2 * l - 1) = s.uw_depth(2 * l - 1) = s.layer_top(l);
      s.depth(2 * l) = s.uw_depth(2 * l) = s.layer_bottom(l);
    }
  }
  // The values of one column at points 1, 2, ...
  static void set_column(SoilColumn& column, const std::vector<double>& values) {
    for (std::size_t j = 0; j < values.size(); ++j) column(static_cast<int>(j) + 1) = values[j];
  }

  static std::string results() { return fio::memory_contents(UNIT_RESULTS_REPORT); }
  static std::string run_log() { return fio::memory_contents(UNIT_RUN_LOG); }
};

}  // namespace pilecap::testing
