// Section lookups along a pile: the interpolating and the containing-section
// searches with their boundary ties, the diameter rule, the sentinel slot of
// a set with the most sections, and lookups from several threads at once.
#include <gtest/gtest.h>
#include <omp.h>

#include <vector>

#include "pile/pile.hpp"
#include "model/model_store.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

constexpr int PILE = 2;
constexpr int SET = 1;
constexpr double HEAD = 100.0;  // head_depth of the pile: positions s are x - HEAD
constexpr double LENGTH = 30.0;

struct SectionRow {
  double top, bottom;
  double area_top, area_bottom;
  double modulus;
  int mphi_zz, shape;
};

// Three sections with a gap from 20 to 22 between the second and the third.
const SectionRow ROWS[] = {
    {0.0, 10.0, 10.0, 20.0, 100.0, 1, SHAPE_CIRCULAR_PIPE},
    {10.0, 20.0, 30.0, 30.0, 200.0, 2, SHAPE_RECTANGULAR_PIPE},
    {22.0, 30.0, 40.0, 80.0, 300.0, 3, SHAPE_I},
};

class PileSectionLookup : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    PileTable.n_piles = PILE;
    PileTable.head_depth(PILE) = HEAD;
    PileProperty.length(SET) = LENGTH;
    PileProperty.n_sections(SET) = 3;
    int s = 0;
    for (const SectionRow& row : ROWS) {
      ++s;
      PileSection.top(SET, s) = row.top;
      PileSection.bottom(SET, s) = row.bottom;
      PileSection.area(SET, s) = row.area_top;
      PileSection.area_bottom(SET, s) = row.area_bottom;
      PileSection.modulus(SET, s) = row.modulus;
      PileSection.mphi_set_zz(SET, s) = row.mphi_zz;
      PileSection.shape(SET, s) = row.shape;
    }
    SET_SECTION_SENTINELS(SET);
  }
  void TearDown() override {
    CLEAR_PILE_PROPERTIES();
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
  }
};

TEST_F(PileSectionLookup, InterpolatingSearchGivesABoundaryToTheUpperSection) {
  struct Case {
    const char* name;
    double s;
    double area;  // v_top + (s - top) (v_bottom - v_top) / (bottom - top)
    int shape;
  } cases[] = {
      {"above the first section", -1.0, 10.0, SHAPE_CIRCULAR_PIPE},
      {"at the top of section 1", 0.0, 10.0, SHAPE_CIRCULAR_PIPE},
      {"inside section 1", 2.5, 12.5, SHAPE_CIRCULAR_PIPE},
      {"bottom of 1 = top of 2", 10.0, 20.0, SHAPE_CIRCULAR_PIPE},
      {"inside section 2", 15.0, 30.0, SHAPE_RECTANGULAR_PIPE},
      {"bottom of section 2", 20.0, 30.0, SHAPE_RECTANGULAR_PIPE},
      {"in the gap: extrapolated from section 3", 21.0, 35.0, SHAPE_I},
      {"inside section 3", 26.0, 60.0, SHAPE_I},
      {"bottom of the last section", 30.0, 80.0, SHAPE_I},
      {"below the last section", 33.0, 80.0, SHAPE_I},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(SECTION_AREA_AT(PILE, SET, HEAD + c.s), c.area);
    EXPECT_EQ(SECTION_SHAPE_AT(PILE, SET, HEAD + c.s), c.shape);
  }
}

TEST_F(PileSectionLookup, ContainingSearchGivesABoundaryToTheLowerSection) {
  const double sentinel = double(1.2f) * LENGTH;
  struct Case {
    const char* name;
    double s;
    int section;
  } cases[] = {
      {"above the first section", -1.0, 1},
      {"at the top of section 1", 0.0, 1},
      {"just above the top of section 2", 9.999, 1},
      {"bottom of 1 = top of 2", 10.0, 2},
      {"bottom of section 2", 20.0, 2},
      {"in the gap: still section 2", 21.0, 2},
      {"top of section 3", 22.0, 3},
      {"below the last section", 33.0, 3},
      {"at the sentinel: the last section", sentinel, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int i = c.section - 1;
    EXPECT_EQ(SECTION_MODULUS_AT(PILE, SET, HEAD + c.s), ROWS[i].modulus);
    EXPECT_EQ(SECTION_MPHI_SET_ZZ(PILE, SET, HEAD + c.s), ROWS[i].mphi_zz);
  }
}

TEST_F(PileSectionLookup, SentinelIsTheSinglePrecisionFactorTimesTheLength) {
  EXPECT_EQ(PileSection.top(SET, 4), 1.2000000476837158 * LENGTH);
}

TEST_F(PileSectionLookup, SmallDiameterFallsBackToTheTopOfTheLastSection) {
  const double limit = 9.999999747378752e-06;
  PileSection.diameter(SET, 1) = 2.0;
  PileSection.diameter_bottom(SET, 1) = 0.0;
  PileSection.diameter(SET, 2) = limit;
  PileSection.diameter_bottom(SET, 2) = limit;
  PileSection.diameter(SET, 3) = 4.0;
  PileSection.diameter_bottom(SET, 3) = 4.0;
  struct Case {
    const char* name;
    double s;
    double diameter;
  } cases[] = {
      {"tapering", 5.0, 1.0},
      {"tapered to zero", 10.0, 4.0},
      {"just below the limit", 10.0 - 0.5 * limit, 4.0},
      {"exactly the limit stays", 15.0, limit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SECTION_DIAMETER_AT(PILE, SET, HEAD + c.s), c.diameter);
  }
}

TEST_F(PileSectionLookup, UniformSingleSectionIsConstantEverywhere) {
  constexpr int ONE = 2;
  PileProperty.length(ONE) = 12.0;
  PileProperty.n_sections(ONE) = 1;
  PileSection.bottom(ONE, 1) = 12.0;
  PileSection.ei_zz(ONE, 1) = 7.5;
  PileSection.ei_zz_bottom(ONE, 1) = 7.5;
  PileSection.modulus(ONE, 1) = 3.0;
  SET_SECTION_SENTINELS(ONE);
  for (double s : {-4.0, 0.0, 3.3, 12.0, 14.0}) {
    EXPECT_EQ(SECTION_EI_ZZ_AT(PILE, ONE, HEAD + s), 7.5) << s;
    EXPECT_EQ(SECTION_MODULUS_AT(PILE, ONE, HEAD + s), 3.0) << s;
  }
  // The EI sentinel copies the last section.
  EXPECT_EQ(PileSection.ei_zz(ONE, 2), 7.5);
}

// Guards the spare slot: a set with the most sections keeps its sentinel
// in its own row, and no other set or section changes.
TEST_F(PileSectionLookup, FullSetKeepsItsSentinelApart) {
  constexpr int FULL = 2;
  PileProperty.length(FULL) = 2.0 * MAX_PILE_SECTIONS;
  PileProperty.n_sections(FULL) = MAX_PILE_SECTIONS;
  for (int s = 1; s <= MAX_PILE_SECTIONS; ++s) {
    PileSection.top(FULL, s) = 2.0 * (s - 1);
    PileSection.bottom(FULL, s) = 2.0 * s;
    PileSection.modulus(FULL, s) = s;
  }
  PileSection.top(FULL + 1, 1) = -7.0;
  SET_SECTION_SENTINELS(FULL);
  EXPECT_EQ(PileSection.top(FULL, MAX_PILE_SECTIONS + 1), double(1.2f) * 2.0 * MAX_PILE_SECTIONS);
  EXPECT_EQ(PileSection.top(FULL + 1, 1), -7.0);
  EXPECT_EQ(PileSection.top(SET, 4), double(1.2f) * LENGTH);
  for (int s = 1; s <= MAX_PILE_SECTIONS; ++s) {
    EXPECT_EQ(SECTION_MODULUS_AT(PILE, FULL, HEAD + 2.0 * s - 1.0), s);
  }
  EXPECT_EQ(SECTION_MODULUS_AT(PILE, FULL, HEAD + 2.0 * MAX_PILE_SECTIONS + 1.0), MAX_PILE_SECTIONS);
}

// Every lookup of many piles from several threads at once returns what a
// serial pass returns.
TEST_F(PileSectionLookup, ParallelLookupsMatchSerial) {
  constexpr int N_PILES = 64;
  constexpr int N_POINTS = 41;
  PileTable.n_piles = N_PILES;
  for (int p = 1; p <= N_PILES; ++p) PileTable.head_depth(p) = 0.5 * p;
  for (int s = 1; s <= 3; ++s) {
    PileSection.diameter(SET, s) = s;
    PileSection.diameter_bottom(SET, s) = 2.0 * s;
    PileSection.ei_zz(SET, s) = 10.0 * s;
    PileSection.ei_zz_bottom(SET, s) = 5.0 * s;
    PileSection.moment_capacity_given(SET, s) = s % 2;
  }
  auto evaluate = [](int p, int k) {
    const double x = PileTable.head_depth(p) - 2.0 + 0.9 * k;
    return std::vector<double>{SECTION_DIAMETER_AT(p, SET, x),
                               SECTION_AREA_AT(p, SET, x),
                               SECTION_EI_ZZ_AT(p, SET, x),
                               SECTION_MODULUS_AT(p, SET, x),
                               double(SECTION_MPHI_SET_ZZ(p, SET, x)),
                               double(SECTION_ELASTOPLASTIC_FLAG(p, SET, x)),
                               double(SECTION_SHAPE_AT(p, SET, x)),
                               double(SECTION_TAPERED_AT(p, SET, x))};
  };
  std::vector<std::vector<double>> serial(N_PILES * N_POINTS), parallel(N_PILES * N_POINTS);
  for (int p = 1; p <= N_PILES; ++p) {
    for (int k = 0; k < N_POINTS; ++k) serial[(p - 1) * N_POINTS + k] = evaluate(p, k);
  }
  const std::vector<double> sentinels{PileSection.top(SET, 4), PileSection.ei_zz(SET, 4)};
#pragma omp parallel for schedule(static) num_threads(8)
  for (int p = 1; p <= N_PILES; ++p) {
    for (int k = 0; k < N_POINTS; ++k) parallel[(p - 1) * N_POINTS + k] = evaluate(p, k);
  }
  EXPECT_EQ(serial, parallel);
  EXPECT_EQ(sentinels, (std::vector<double>{PileSection.top(SET, 4), PileSection.ei_zz(SET, 4)}));
}

}  // namespace
}  // namespace pilecap
