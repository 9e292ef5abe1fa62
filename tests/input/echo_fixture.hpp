// A fixture for the echo tests that set the records directly: the model
// store, input records reset before and after, the echo report on a memory
// unit, and the unit system with its labels.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

class EchoRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_engine_state();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    RESET_INPUT_RECORDS(status);
    ASSERT_EQ(status, 0);
    fio::open_memory(UNIT_ECHO);
    units(1, 0, 2);
  }
  void TearDown() override {
    fio::close_all();
    int status = 0;
    RESET_INPUT_RECORDS(status);
    RELEASE_MODEL_ARRAYS(status);
  }
  // system 1 English, 2 SI; force_unit 1 kips; dimension 2 or 3.
  static void units(int system, int force_unit, int dimension) {
    RunOptions.units = system;
    RunOptions.force_unit = force_unit;
    RunOptions.dimension = dimension;
    int sign = system == 2 ? -1 : 1;
    SET_UNIT_LABELS(sign, force_unit);
  }
  static std::string echo() { return fio::memory_contents(UNIT_ECHO); }
};

}  // namespace pilecap::testing
