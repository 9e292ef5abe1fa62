// The point of definition in space (virtual work is the same at the origin
// and at the point, a transfer and its reverse come back, the hand cases of
// prescribed loads), the marker characters, the cap envelope and the
// envelope reset of both models.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "cap/cap_vectors.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/model_store.hpp"
#include "results/results.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

using Vec6 = std::array<double, 6>;
using Flags = std::array<int, 6>;

double virtual_work(const Vec6& f, const Vec6& u) {
  double w = 0.0;
  for (int k = 0; k < 6; ++k) w += f[k] * u[k];
  return w;
}

TEST(PointTransfer, KeepsVirtualWorkAndComesBack) {
  std::mt19937 generator(7);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  const Flags displacement_prescribed{};  // all 0: every load comes from the origin
  const Vec6 no_given{};
  for (int trial = 0; trial < 20; ++trial) {
    Vec6 u, f;
    for (double& x : u) x = value(generator) * 0.01;
    for (double& x : f) x = value(generator) * 100.0;
    const std::array<double, 3> r = {value(generator), value(generator), value(generator)};
    Vec6 f_origin = f;
    Vec6 u_point{}, f_point{};
    int moved = -1;
    TRANSFER_ORIGIN_POINT(u.data(), f_origin.data(), r.data(), u_point.data(), f_point.data(), no_given.data(),
                          displacement_prescribed.data(), moved);
    ASSERT_EQ(moved, 1);
    EXPECT_EQ(f_origin, f) << "nothing prescribed: the load at the origin stays";
    const double work = virtual_work(f, u);
    EXPECT_NEAR(virtual_work(f_point, u_point), work, 1e-12 * (1.0 + std::fabs(work)) * 1e3);
    // Back from the point to the origin: the point is -r seen from there.
    const std::array<double, 3> back = {-r[0], -r[1], -r[2]};
    Vec6 u_back{}, f_back{};
    TRANSFER_ORIGIN_POINT(u_point.data(), f_point.data(), back.data(), u_back.data(), f_back.data(), no_given.data(),
                          displacement_prescribed.data(), moved);
    for (int k = 0; k < 6; ++k) {
      EXPECT_NEAR(u_back[k], u[k], 1e-13 * 100) << k;
      EXPECT_NEAR(f_back[k], f[k], 1e-12 * 1e4) << k;
    }
  }
}

TEST(PointTransfer, HandCases) {
  const Vec6 no_given{};
  const Flags none{};
  int moved = -1;
  {  // the origin itself: nothing written
    Vec6 u{1, 2, 3, 4, 5, 6}, f{1, 1, 1, 1, 1, 1}, up{9, 9, 9, 9, 9, 9}, fp{9, 9, 9, 9, 9, 9};
    const double r[3] = {0, 0, 0};
    TRANSFER_ORIGIN_POINT(u.data(), f.data(), r, up.data(), fp.data(), no_given.data(), none.data(), moved);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(up, (Vec6{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(fp, (Vec6{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(f, (Vec6{1, 1, 1, 1, 1, 1}));
  }
  {  // point (0, 10, 0), displacement (1, 0, 0, 0, 0, 0.01): X at the point 0.9
    Vec6 u{1, 0, 0, 0, 0, 0.01}, f{}, up{}, fp{};
    const double r[3] = {0, 10, 0};
    TRANSFER_ORIGIN_POINT(u.data(), f.data(), r, up.data(), fp.data(), no_given.data(), none.data(), moved);
    EXPECT_DOUBLE_EQ(up[0], 0.9);
    EXPECT_EQ(up[2], 0.0);
    EXPECT_EQ(up[5], 0.01);
  }
  {  // point (2, 0, 0), load (0, 5, 0, ...): moment Z at the point -10
    Vec6 u{}, f{0, 5, 0, 0, 0, 0}, up{}, fp{};
    const double r[3] = {2, 0, 0};
    TRANSFER_ORIGIN_POINT(u.data(), f.data(), r, up.data(), fp.data(), no_given.data(), none.data(), moved);
    EXPECT_EQ(fp, (Vec6{0, 5, 0, 0, 0, -10}));
  }
  {  // FZ prescribed 7 at (2, 0, 0), 4 at the origin: MY from the entry value
    Vec6 u{}, f{0, 0, 4, 0, 0, 0}, up{}, fp{};
    const Vec6 given{0, 0, 7, 0, 0, 0};
    const Flags flags{0, 0, 1, 0, 0, 0};
    const double r[3] = {2, 0, 0};
    TRANSFER_ORIGIN_POINT(u.data(), f.data(), r, up.data(), fp.data(), given.data(), flags.data(), moved);
    EXPECT_EQ(fp[2], 7.0);
    EXPECT_EQ(fp[4], 8.0);
    EXPECT_EQ(f[2], 7.0);
  }
  {  // a prescribed moment: the point takes it, the origin keeps its own
    Vec6 u{}, f{0, 0, 0, 3, 0, 0}, up{}, fp{};
    const Vec6 given{0, 0, 0, 11, 0, 0};
    const Flags flags{0, 0, 0, 1, 0, 0};
    const double r[3] = {1, 1, 1};
    TRANSFER_ORIGIN_POINT(u.data(), f.data(), r, up.data(), fp.data(), given.data(), flags.data(), moved);
    EXPECT_EQ(fp[3], 11.0);
    EXPECT_EQ(f[3], 3.0);
  }
}

class DofMarkers : public testing::EngineTest {};

TEST_F(DofMarkers, MarkersStarThePrescribedValue) {
  int sign = 1;
  int force_unit = 0;
  SET_UNIT_LABELS(sign, force_unit);
  const Flags flags{1, 0, 0, 1, 0, 0};
  char load_marks[6];
  char displacement_marks[6];
  DOF_FLAG_CHARACTERS(flags.data(), load_marks, displacement_marks);
  EXPECT_EQ(std::string(load_marks, 6), "*  *  ");
  EXPECT_EQ(std::string(displacement_marks, 6), " ** **");
}

class CapEnvelopeUpdate : public testing::EngineTest {};

TEST_F(CapEnvelopeUpdate, FirstRunCopiesLaterRunsWiden) {
  const Vec6 first_load{-10, 1, 1, 1, 1, 1}, first_move{0.5, 0, 0, 0, 0, 0};
  const Vec6 second_load{5, 1, 1, 1, 1, 1}, second_move{-0.25, 0, 0, 0, 0, 0};
  AnalysisControl.first_run = 1;
  UPDATE_CAP_ENVELOPE(first_load.data(), first_move.data());
  EXPECT_EQ(CapEnvelope.max_load(1), -10.0) << "the first run is copied, not compared with zero";
  EXPECT_EQ(CapEnvelope.min_load(2), 1.0);
  AnalysisControl.first_run = 2;
  UPDATE_CAP_ENVELOPE(second_load.data(), second_move.data());
  EXPECT_EQ(CapEnvelope.max_load(1), 5.0);
  EXPECT_EQ(CapEnvelope.min_load(1), -10.0);
  EXPECT_EQ(CapEnvelope.max_displacement(1), 0.5);
  EXPECT_EQ(CapEnvelope.min_displacement(1), -0.25);
}

class EnvelopeResetTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    PileTable.n_piles = 2;
    // Every value of piles 1 to 3 is non-zero before the reset.
    for (int p = 1; p <= 3; ++p) {
      for (int c = 1; c <= PILE_TOP_RESULT_COUNT; ++c) {
        for (auto* t : {&PileTopResults.max_global, &PileTopResults.max_local, &PileTopResults.min_global,
                        &PileTopResults.min_local, &PileTopResults.current_global, &PileTopResults.current_local}) {
          (*t)(p, c) = 1.5;
        }
      }
      for (int row = 1; row <= PILE_NODE_ROWS; ++row) {
        for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
          NodeResults.max_env(p, row, q) = NodeResults.min_env(p, row, q) = NodeResults.current(p, row, q) = 2.5;
        }
      }
    }
    for (int k = 1; k <= CAP_DOFS; ++k) {
      CapEnvelope.max_load(k) = CapEnvelope.min_load(k) = 3.5;
      CapEnvelope.max_displacement(k) = CapEnvelope.min_displacement(k) = 4.5;
    }
  }
  void TearDown() override {
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    PileTable.n_piles = 0;
  }
};

TEST_F(EnvelopeResetTest, PlaneResetClearsEveryNodeQuantityAndKeepsCurrentValues) {
  RESET_ENVELOPES_2D();
  for (int p = 1; p <= 2; ++p) {
    for (int row = 1; row <= PILE_NODE_ROWS; ++row) {
      for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
        ASSERT_EQ(NodeResults.max_env(p, row, q), 0.0) << p << " " << row << " " << q;
        ASSERT_EQ(NodeResults.min_env(p, row, q), 0.0) << p << " " << row << " " << q;
        ASSERT_EQ(NodeResults.current(p, row, q), 2.5);
      }
    }
    for (int c = 1; c <= 7; ++c) {
      EXPECT_EQ(PileTopResults.max_global(p, c), 0.0);
      EXPECT_EQ(PileTopResults.min_local(p, c), 0.0);
      EXPECT_EQ(PileTopResults.current_global(p, c), 1.5);
    }
  }
  EXPECT_EQ(NodeResults.max_env(3, 1, 1), 2.5) << "beyond the piles nothing is cleared";
  EXPECT_EQ(CapEnvelope.max_load(3), 0.0);
  EXPECT_EQ(CapEnvelope.min_displacement(1), 0.0);
}

TEST_F(EnvelopeResetTest, SpaceResetClearsAllColumnsAndTheWholeCapEnvelope) {
  RESET_ENVELOPES();
  for (int c = 1; c <= PILE_TOP_RESULT_COUNT; ++c) {
    EXPECT_EQ(PileTopResults.max_local(2, c), 0.0);
    EXPECT_EQ(PileTopResults.min_global(1, c), 0.0);
    EXPECT_EQ(PileTopResults.current_local(2, c), 1.5);
  }
  EXPECT_EQ(NodeResults.min_env(2, PILE_NODE_ROWS, NODAL_RESULT_COUNT), 0.0);
  for (int k = 1; k <= CAP_DOFS; ++k) {
    EXPECT_EQ(CapEnvelope.max_load(k), 0.0);
    EXPECT_EQ(CapEnvelope.min_displacement(k), 0.0);
  }
}

TEST_F(EnvelopeResetTest, NoPilesStillClearsTheCapEnvelope) {
  PileTable.n_piles = 0;
  RESET_ENVELOPES();
  EXPECT_EQ(CapEnvelope.max_displacement(6), 0.0);
  EXPECT_EQ(NodeResults.max_env(1, 1, 1), 2.5);
}

}  // namespace
}  // namespace pilecap
