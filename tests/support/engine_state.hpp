// A fresh engine for every test: every global record back to the value a new
// process gives it, the model-store tables released, every I/O unit closed,
// the test hooks and providers back to their defaults, the status detail
// cleared and the thread count of the parallel runtime restored. Fixtures
// call it first in SetUp, so the test binary passes as one process in any
// order of its tests.
#pragma once

#include <gtest/gtest.h>

namespace pilecap::testing {

void reset_engine_state();

// The fixture of tests that need nothing but a fresh engine.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_engine_state(); }
};

// The fixture of tests on the model's records: a fresh engine with the
// model-store tables allocated and every input record at its defaults;
// afterwards the input records are reset and the tables released. A fixture
// that adds to it calls ModelRecordsTest::SetUp first and its TearDown last.
class ModelRecordsTest : public EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace pilecap::testing
