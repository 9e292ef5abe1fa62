// The group force vector and tangent of the 3D cap with stand-in head
// springs: the exact difference steps, a linear head giving its own
// stiffness, STIFF against the sum of T^T k T built by hand from the
// rigid-body offset, batter piles against their closed form, failing piles,
// and bit-identical results for 1, 2, 3 and the automatic thread count; the
// one loop frame's bookkeeping for every loop over piles.
#include <cstring>
#include <vector>

#include "cap/cap_solver.hpp"
#include "cap/plate_cap.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"
#include "soil/py_curves.hpp"
#include "tests/cap/cap_fixture.hpp"

namespace pilecap {
namespace {

using testing::Springs;

class GroupStiffness : public testing::CapTest {};

TEST(DifferenceSteps, ConstantsAreTheWidenedSinglePrecisionProducts) {
  EXPECT_EQ(STEP_TRANSLATION_INCHES, 1.0000000116860974e-7);
  EXPECT_EQ(STEP_TRANSLATION_METRES, 2.539999998986295e-9);
  EXPECT_EQ(STEP_ROTATION, 9.999999864239723e-12);
  EXPECT_EQ(STEP_ROTATION_SMALL, 9.999999640722308e-14);
  EXPECT_EQ(STEP_REDUCTION, 9.999999747378752e-5);
  EXPECT_EQ(STEP_SMALL_ROTATION_THRESHOLD, 9.999999864239723e-10);
  EXPECT_EQ(TCUR_ABANDONED, 1.100000023841858);
}

TEST_F(GroupStiffness, DifferenceStepsFollowUnitsIterationAndIncrement) {
  struct Case {
    const char* name;
    int units, iteration, fixed;
    double du[6];
    double step_t, step_r;
  } cases[] = {
      {"SI, iteration 1",
       2,
       1,
       0,
       {0, 0, 0, 0, 0, 0},
       2.539999998986295e-9 * 9.999999747378752e-5,
       9.999999864239723e-12},
      {"English, iteration 5, large translation",
       1,
       5,
       0,
       {1e-3, 0, 0, 0, 0, 0},
       1.0000000116860974e-7,
       9.999999640722308e-14},
      {"English, iteration 5, small translation",
       1,
       5,
       0,
       {0, 1e-6, 0, 0, 1e-3, 0},
       1.0000000116860974e-7 * 9.999999747378752e-5,
       9.999999864239723e-12},
      {"fixed steps whatever du holds", 1, 1, 1, {5, 5, 5, 0, 0, 0}, 1.0000000116860974e-7, 9.999999864239723e-12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunOptions.units = c.units;
    double t = 0, r = 0;
    HEAD_DIFFERENCE_STEPS(c.du, c.iteration, c.fixed, t, r);
    EXPECT_EQ(t, c.step_t);
    EXPECT_EQ(r, c.step_r);
  }
}

// Records the head displacements of every evaluation of one pile.
std::vector<std::vector<double>> calls;
void recording_response(int pile, double* forces, const double* u, int& status) {
  calls.emplace_back(u, u + 6);
  testing::spring_head_response(pile, forces, u, status);
}

TEST_F(GroupStiffness, LinearHeadGivesItsOwnStiffnessFromThirteenEvaluations) {
  place_pile(1, 0.0, 0.0, 0.3);
  SET_HEAD_RESPONSE_PROVIDER(recording_response);
  calls.clear();
  const double u[6] = {0.01, -0.02, 0.003, 1e-4, -2e-4, 3e-4};
  double u_copy[6];
  std::memcpy(u_copy, u, sizeof u);
  const double du[6] = {1e-3, 0, 0, 1e-3, 0, 0};
  double k[36];
  int status = 0;
  PILE_HEAD_STIFFNESS(1, k, u_copy, du, 5, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::memcmp(u, u_copy, sizeof u), 0) << "the head displacement is restored exactly";
  ASSERT_EQ(calls.size(), 13u);
  // Base, +1..+6, -1..-6; translation columns with the translation step.
  double t = 0, r = 0;
  HEAD_DIFFERENCE_STEPS(du, 5, 0, t, r);
  for (int j = 0; j < 6; ++j) {
    const double h = j < 3 ? t : r;
    EXPECT_EQ(calls[1 + j][j], u[j] + h);
    EXPECT_EQ(calls[7 + j][j], u[j] - h);
  }
  // k = -R diag R^T by hand.
  Matrix6 ot, o, rot, rott;
  PILE_TRANSFORMATION(1, ot, o, rot, rott);
  const double diag[6] = {-100, -10, -10, -50, -2000, -2000};
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 6; ++j) {
      double expected = 0;
      for (int m = 1; m <= 6; ++m) expected += rot(i, m) * diag[m - 1] * rot(j, m);
      EXPECT_NEAR(k[(i - 1) + 6 * (j - 1)], expected, 1e-5 * 2000) << i << "," << j;
    }
  }
}

// The rigid-body offset of a head at r written out: u_head = u + theta x r.
void hand_offset(double x, double y, double z, double t[6][6]) {
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) t[i][j] = i == j ? 1.0 : 0.0;
  t[0][4] = z;
  t[0][5] = -y;
  t[1][3] = -z;
  t[1][5] = x;
  t[2][3] = y;
  t[2][4] = -x;
}

TEST_F(GroupStiffness, StiffIsTheSumOfOffsetHeadStiffnessesBuiltByHand) {
  const double heads[4][2] = {{1.5, 2.5}, {-1.5, 2.5}, {1.5, -2.5}, {-0.5, -1.0}};
  for (int p = 1; p <= 4; ++p) place_pile(p, heads[p - 1][0], heads[p - 1][1]);
  PileTable.head_x(4) = 0.75;  // one head lower than the others
  const double diag[6] = {-100, -10, -10, -50, -2000, -2000};
  double hand[6][6] = {};
  for (int p = 1; p <= 4; ++p) {
    double t[6][6];
    hand_offset(PileTable.head_x(p), PileTable.head_y(p), PileTable.head_z(p), t);
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j)
        for (int m = 0; m < 6; ++m) hand[i][j] += t[m][i] * diag[m] * t[m][j];
  }
  const double u[6] = {0, 0, 0, 0, 0, 0}, du[6] = {};
  double k[36];
  int status = 0;
  STIFF(k, u, du, 1, 0, status);
  EXPECT_EQ(status, 0);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) EXPECT_NEAR(k[i + 6 * j], hand[i][j], 1e-6 * 20000) << i << "," << j;
  }
  // K is the sum of the stored rows.
  for (int i = 1; i <= 6; ++i) {
    double sum = 0;
    for (int p = 1; p <= 4; ++p) sum += PileTable.head_stiffness(p, i, i);
    EXPECT_EQ(k[(i - 1) * 7], sum);
  }
}

TEST_F(GroupStiffness, BatterPilesGiveTheClosedFormStiffness) {
  const double b = 0.2;  // batter from the vertical
  place_pile(1, 0.0, 0.0, b);
  place_pile(2, 0.0, 0.0, -b);
  const double u[6] = {}, du[6] = {};
  double k[36];
  int status = 0;
  STIFF(k, u, du, 1, 0, status);
  const double c = std::cos(b), s = std::sin(b);
  EXPECT_NEAR(k[0], -2 * (100 * c * c + 10 * s * s), 1e-6);
  EXPECT_NEAR(k[7], -2 * (100 * s * s + 10 * c * c), 1e-6);
  EXPECT_NEAR(k[1], 0.0, 1e-6) << "the two batters cancel the coupling";
  EXPECT_NEAR(k[14], -20.0, 1e-6);
}

TEST_F(GroupStiffness, FailedPileLeavesAZeroRowAndTheLowestPilesCode) {
  for (int p = 1; p <= 3; ++p) place_pile(p, p, 0.0);
  Springs.failing_pile = 2;
  Springs.failing_status = STATUS_PILE_BELOW_DEEPEST_LAYER;
  const double u[6] = {0.1, 0.01, 0, 0, 0, 0.001};
  double f[6];
  int status = 0;
  FVEC(f, u, status);
  EXPECT_EQ(status, STATUS_PILE_BELOW_DEEPEST_LAYER);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(PileTable.head_force(2, k, 1), 0.0);
    EXPECT_EQ(f[k - 1], PileTable.head_force(1, k, 1) + PileTable.head_force(3, k, 1));
  }
  // A later pile's success never erases the code; an earlier code is kept.
  status = STATUS_AXIAL_FORCE_NO_CONVERGENCE;
  FVEC(f, u, status);
  EXPECT_EQ(status, STATUS_AXIAL_FORCE_NO_CONVERGENCE);
}

TEST_F(GroupStiffness, PileErrorWordsMergeByWeightThenLowestPile) {
  PileTable.n_piles = 4;
  struct Case {
    const char* name;
    int words[4];
    int merged;
  } cases[] = {
      {"none", {0, 0, 0, 0}, 0},
      {"axial variation alone", {0, 4, 0, 0}, 4},
      {"lateral failure beats axial variation", {4, 0, 1, 0}, 1},
      {"short p-y curves beat axial variation", {0, 4, 0, 5}, 5},
      {"lowest pile among equal weight", {0, 5, 1, 0}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PileErrorWord = PileErrorWordRecord{};
    PileEvaluation evaluations[4];
    for (int p = 1; p <= 4; ++p) evaluations[p - 1].error = c.words[p - 1];
    PUBLISH_PILE_EVALUATIONS(evaluations, 4);
    EXPECT_EQ(PileErrorWord.code, c.merged);
  }
}

TEST_F(GroupStiffness, ForceVectorAndTangentAreBitIdenticalForAnyThreadCount) {
  int p = 0;
  for (int i = 0; i < 7; ++i) {
    for (int j = 0; j < 6; ++j) {
      ++p;
      place_pile(p, 1.3 * i - 4.0, 0.7 * j * j - 5.0, 0.05 * ((i + j) % 5 - 2));
      PileTable.head_x(p) = 0.1 * (p % 3);
    }
  }
  Springs.capacity = 30.0;
  Springs.atan_scale = 1.0;
  const double u[6] = {0.12, -0.03, 0.05, 0.002, -0.004, 0.003};
  const double du[6] = {0.01, 0.0, 0.0, 0.0, 1e-5, 0.0};
  double f_ref[6], k_ref[36];
  int status = 0;
  AnalysisControl.threads_wanted = 1;
  FVEC(f_ref, u, status);
  STIFF(k_ref, u, du, 4, 0, status);
  for (int threads : {2, 3, 0}) {
    SCOPED_TRACE(threads);
    AnalysisControl.threads_wanted = threads;
    double f[6], k[36];
    FVEC(f, u, status);
    STIFF(k, u, du, 4, 0, status);
    EXPECT_EQ(std::memcmp(f, f_ref, sizeof f), 0);
    EXPECT_EQ(std::memcmp(k, k_ref, sizeof k), 0);
  }
  EXPECT_EQ(status, 0);
}

// Guards the drift of the loop copies: FVEC and the plate booked a print pass
// as parallel time, and the plate's loop left its curve epoch open.
TEST_F(GroupStiffness, EveryPileLoopBooksItsPassAndClosesItsEpoch) {
  for (int p = 1; p <= 3; ++p) place_pile(p, p, 0.0);
  const double u[6] = {0.1, 0.01, 0, 0, 0, 0.001};
  const double du[6] = {0.01, 0, 0, 0, 0, 0};
  std::vector<PlatePileResponse> plate_piles(3);
  for (PlatePileResponse& r : plate_piles) r.head_displacement(1) = 0.1;
  struct Case {
    const char* name;
    void (*run)(const double* u, const double* du, std::vector<PlatePileResponse>& piles, int& status);
  } cases[] = {
      {"FVEC",
       [](const double* u, const double*, std::vector<PlatePileResponse>&, int& status) {
         double f[6];
         FVEC(f, u, status);
       }},
      {"STIFF",
       [](const double* u, const double* du, std::vector<PlatePileResponse>&, int& status) {
         double k[36];
         STIFF(k, u, du, 1, 0, status);
       }},
      {"PLATE_PILE_HEAD_RESPONSES", [](const double*, const double*, std::vector<PlatePileResponse>& piles,
                                       int& status) { PLATE_PILE_HEAD_RESPONSES(piles, 1, status); }},
  };
  constexpr double BEFORE = 1000.0;  // a timer value the loop's time is added to
  PyCurveCache.enabled = 1;
  for (const Case& c : cases) {
    for (int pass : {0, 1, 2}) {
      SCOPED_TRACE(std::string(c.name) + ", pass mode " + std::to_string(pass));
      AnalysisControl.pass_mode = pass;
      RunTimers.parallel_time = BEFORE;
      RunTimers.print_time = BEFORE;
      int status = 0;
      c.run(u, du, plate_piles, status);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(pass == 0 ? RunTimers.print_time : RunTimers.parallel_time, BEFORE);
      EXPECT_GE(pass == 0 ? RunTimers.parallel_time : RunTimers.print_time, BEFORE);
      EXPECT_EQ(PyCurveCache.epoch, 0);
    }
  }
  AnalysisControl.pass_mode = 0;
}

}  // namespace
}  // namespace pilecap
