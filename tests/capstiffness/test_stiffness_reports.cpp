// The load-factor prediction of the target search (a table of cases) and
// the heading and point report of a stiffness estimation as exact text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "capstiffness/capstiffness.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

struct Pair {
  double displacement, factor;
};

class TargetPrediction : public EngineTest {
 protected:
  static void store(const std::vector<Pair>& pairs, double target) {
    TargetDeflectionSearch = TargetDeflectionSearchRecord{};
    TargetDeflectionSearch.target = target;
    TargetDeflectionSearch.pair_count = static_cast<int>(pairs.size());
    for (std::size_t k = 0; k < pairs.size(); ++k) {
      TargetDeflectionSearch.pair_displacement(static_cast<int>(k) + 1) = pairs[k].displacement;
      TargetDeflectionSearch.pair_factor(static_cast<int>(k) + 1) = pairs[k].factor;
    }
  }
};

TEST_F(TargetPrediction, FactorFollowsTheBracketingPairs) {
  struct Case {
    const char* name;
    std::vector<Pair> pairs;
    double target, factor;
    int failed;
  };
  const Case cases[] = {
      {"no pair: the unloaded run", {}, 3.0, 0.0, 0},
      {"one pair scales to the target", {{0.5, 1.0}}, 1.0, 2.0, 0},
      {"one pair without displacement", {{1e-5, 1.0}}, 1.0, 1.0, 0},
      {"extrapolated above the last pair", {{0.0, 0.0}, {2.0, 1.0}}, 3.0, 1.5, 0},
      {"interpolated inside", {{0.0, 0.0}, {2.0, 1.0}}, 1.0, 0.5, 0},
      {"the target at the first pair", {{1.0, 0.5}, {2.0, 1.0}, {4.0, 2.0}}, 1.0, 0.5, 0},
      {"extrapolated below the first pair", {{1.0, 0.5}, {2.0, 1.0}}, 0.5, 0.25, 0},
      {"equal displacements stop the search", {{0.0, 0.0}, {0.0, 1.0}}, 1.0, 1.0, 1},
  };
  for (const Case& c : cases) {
    store(c.pairs, c.target);
    PREDICT_TARGET_LOAD_FACTOR();
    EXPECT_DOUBLE_EQ(TargetDeflectionSearch.new_factor, c.factor) << c.name;
    EXPECT_EQ(TargetDeflectionSearch.prediction_failed, c.failed) << c.name;
  }
}

TEST_F(TargetPrediction, NewestPairIsSortedInByFactor) {
  store({{0.0, 0.0}, {1.0, 1.0}, {1.6, 1.5}, {1.3, 1.2}}, 1.4);
  PREDICT_TARGET_LOAD_FACTOR();
  const double factors[] = {0.0, 1.0, 1.2, 1.5}, displacements[] = {0.0, 1.0, 1.3, 1.6};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(TargetDeflectionSearch.pair_factor(k), factors[k - 1]) << k;
    EXPECT_EQ(TargetDeflectionSearch.pair_displacement(k), displacements[k - 1]) << k;
  }
  EXPECT_NEAR(TargetDeflectionSearch.new_factor, 1.2 + 0.1 * 0.3 / 0.3, 1e-12);
}

class StiffnessReports : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (int unit : {UNIT_RUN_LOG, UNIT_COMPUTATION_REPORT, UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::open_memory(unit);
    int english = 1, kips = 0;
    SET_UNIT_LABELS(english, kips);
  }
  void TearDown() override { fio::close_all(); }
};

TEST_F(StiffnessReports, HeadingOfA3dEstimationOnTheTotalLoad) {
  PRINT_CAP_STIFFNESS_HEADER(BASIS_TOTAL_LOAD, MODEL_3D);
  const std::string results = fio::memory_contents(UNIT_RESULTS_REPORT);
  EXPECT_EQ(results, fio::memory_contents(UNIT_SUMMARY));
  for (const char* line : {
           "\n\n     * PILE CAP STIFFNESS ESTIMATION *\n     - BASED ON TOTAL APPLIED LOAD  \n\n    UNITS, LOAD AND "
           "DISP\n",
           "\n   LOAD         LBS            LBS            LBS          LBS-IN         LBS-IN         LBS-IN     \n",
           "\n   DISP         IN             IN             IN             RAD            RAD            RAD      \n",
           "\n    DOF          1              2              3              4              5              6    \n",
           "\n      1       LBS/IN         LBS/IN         LBS/IN         LBS/RAD        LBS/RAD        LBS/RAD\n",
           "\n      4         LBS            LBS            LBS        LBS-IN/RAD     LBS-IN/RAD     LBS-IN/RAD\n",
       }) {
    EXPECT_NE(results.find(line), std::string::npos) << line << results;
  }
  EXPECT_EQ(fio::memory_contents(UNIT_RUN_LOG), "\n     * PILE CAP STIFFNESS ESTIMATION *\n");
}

TEST_F(StiffnessReports, TargetLineOfThePlaneRotationHasNoUnit) {
  // Two factors, then basis 1 and target DOF 3.
  const double values[14] = {0.5, 1.0, 1.0, 3.0};
  PRINT_TARGET_VS_COMPUTED(UNIT_RESULTS_REPORT, 2, MODEL_2D, 0.00123, 0.00125, values);
  PRINT_TARGET_VS_COMPUTED(UNIT_SUMMARY, 2, MODEL_3D, 0.123, 0.125, values);
  EXPECT_EQ(fio::memory_contents(UNIT_RESULTS_REPORT),
            "           ROTATION Z,  TARGET =  1.25000E-03 , COMPUTED =  1.23000E-03 \n");
  EXPECT_EQ(fio::memory_contents(UNIT_SUMMARY),
            "       DISPLACEMENT Z,  TARGET =      0.12500 IN , COMPUTED =      0.12300 IN \n");
}

}  // namespace
}  // namespace pilecap::testing
