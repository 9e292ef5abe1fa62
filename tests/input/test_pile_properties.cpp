// The build of the working property sets and sections: the embedded-cap set,
// moment-curvature set numbers, missing inertias, resultant capacities, yield
// curvatures, tapered sections through the lookups, and the rejection of
// references to undefined cross sections and property sets.
#include <gtest/gtest.h>

#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "pile/pile.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

class PilePropertiesBuild : public testing::ModelRecordsTest {
 protected:
  void SetUp() override {
    testing::ModelRecordsTest::SetUp();
    SET_STATUS_DETAIL("");
    RunOptions.dimension = MODEL_3D;
    // A whole run before this test leaves its piles and property sets.
    PileTable.n_piles = 0;
    CLEAR_PILE_PROPERTIES();
  }
  void TearDown() override {
    CLEAR_PILE_PROPERTIES();
    SET_STATUS_DETAIL("");
    testing::ModelRecordsTest::TearDown();
  }

  // An elastic uniform cross section c with properties at both ends equal.
  static void uniform_section(int c, double diameter, double inertia, double modulus) {
    auto& x = CrossSection;
    if (x.count < c) x.count = c;
    x.diameter(c) = x.diameter_bottom(c) = diameter;
    x.inertia_zz(c) = x.inertia_zz_bottom(c) = inertia;
    x.inertia_yy(c) = x.inertia_yy_bottom(c) = inertia;
    x.modulus(c) = x.modulus_bottom(c) = modulus;
  }

  // Property set p of one section from 0 to length, made of cross section c.
  static void one_section_set(int p, int c, double length) {
    auto& in = PropertySetInput;
    if (in.count < p) in.count = p;
    in.num_sections(p) = 1;
    in.increments(p) = 10;
    in.length(p) = length;
    in.pile_type(p) = PILE_DRIVEN;
    in.from(p, 1) = 0.0;
    in.to(p, 1) = length;
    in.cross_section(p, 1) = c;
  }

  static int build() {
    int status = 0;
    BUILD_PILE_PROPERTIES(status);
    return status;
  }
};

void expect_cap_set(int cap) {
  EXPECT_EQ(PileProperty.n_sections(cap), 1);
  EXPECT_EQ(PileProperty.n_increments(cap), 4);
  EXPECT_EQ(PileProperty.length(cap), 3.0);
  EXPECT_EQ(PileProperty.pile_type(cap), 0);
  EXPECT_EQ(PileSection.top(cap, 1), 0.0);
  EXPECT_EQ(PileSection.bottom(cap, 1), 3.0);
  EXPECT_EQ(PileSection.cross_section(cap, 1), 0);
  EXPECT_EQ(PileSection.modulus(cap, 1), 0.0);
  EXPECT_EQ(PileSection.modulus_bottom(cap, 1), 0.0);
  EXPECT_EQ(PileSection.mphi_set_zz(cap, 1), 0);
  EXPECT_EQ(PileSection.mphi_set_yy(cap, 1), 0);
  for (double value :
       {PileSection.diameter(cap, 1), PileSection.diameter_bottom(cap, 1), PileSection.inertia_zz(cap, 1),
        PileSection.inertia_zz_bottom(cap, 1), PileSection.inertia_yy(cap, 1), PileSection.inertia_yy_bottom(cap, 1)}) {
    EXPECT_EQ(value, 7.0);
  }
  EXPECT_EQ(PileSection.top(cap, 2), 1.2000000476837158 * 3.0);
}

TEST_F(PilePropertiesBuild, CapSetFollowsTheInputSets) {
  CapGeometry.thickness_xx = 3.0;
  CapGeometry.width_zz = 7.0;
  CapPassiveElement.increments = 4;
  {
    SCOPED_TRACE("no input sets: the cap set is row 1");
    ASSERT_EQ(build(), STATUS_OK);
    expect_cap_set(1);
    EXPECT_EQ(SECTION_DIAMETER_AT(1, 1, 1.5), 7.0);
  }
  {
    SCOPED_TRACE("two input sets: the cap set is row 3");
    uniform_section(1, 2.0, 1.0, 1.0);
    one_section_set(1, 1, 20.0);
    one_section_set(2, 1, 25.0);
    ASSERT_EQ(build(), STATUS_OK);
    expect_cap_set(3);
  }
  {
    SCOPED_TRACE("a later run with no input sets leaves nothing of the earlier one");
    PropertySetInput.count = 0;
    ASSERT_EQ(build(), STATUS_OK);
    expect_cap_set(1);
    EXPECT_EQ(PileProperty.n_sections(3), 0);
    EXPECT_EQ(PileSection.diameter(2, 1), 0.0);
  }
}

TEST_F(PilePropertiesBuild, MomentCurvatureSetsFollowTheUserSets) {
  MomentCurvatureSet.n_user_sets = 2;
  struct CrossSectionCase {
    int nonlinear, type, input_zz, input_yy;
  } sections[] = {
      {0, 0, 0, 0},           // elastic
      {1, 2, 0, 0},           // generated sets
      {1, NL_USER_EI, 1, 2},  // names its own sets
      {1, 7, 0, 0},           // generated sets
      {2, 2, 7, 8},           // neither elastic nor numbered: keeps the input numbers
  };
  auto& in = PropertySetInput;
  in.count = 1;
  in.num_sections(1) = 5;
  in.length(1) = 50.0;
  for (int c = 1; c <= 5; ++c) {
    uniform_section(c, 1.0, 1.0, 1.0);
    CrossSection.nonlinear(c) = sections[c - 1].nonlinear;
    CrossSection.type(c) = sections[c - 1].type;
    in.from(1, c) = 10.0 * (c - 1);
    in.to(1, c) = 10.0 * c;
    in.cross_section(1, c) = c;
  }
  struct Run {
    const char* name;
    int dimension;
    int expected[5][2];  // (zz, yy) of the sections of set 1
  } runs[] = {
      {"3D", MODEL_3D, {{0, 0}, {3, 4}, {1, 2}, {5, 6}, {7, 8}}},
      {"2D", MODEL_2D, {{0, 0}, {3, 0}, {1, 2}, {4, 0}, {7, 8}}},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.name);
    for (int c = 1; c <= 5; ++c) {
      CrossSection.mphi_set_zz(c) = sections[c - 1].input_zz;
      CrossSection.mphi_set_yy(c) = sections[c - 1].input_yy;
    }
    RunOptions.dimension = run.dimension;
    ASSERT_EQ(build(), STATUS_OK);
    for (int s = 1; s <= 5; ++s) {
      EXPECT_EQ(PileSection.mphi_set_zz(1, s), run.expected[s - 1][0]) << "section " << s;
      EXPECT_EQ(PileSection.mphi_set_yy(1, s), run.expected[s - 1][1]) << "section " << s;
    }
  }
}

TEST_F(PilePropertiesBuild, MissingInertiaComesFromTheDiameterOfTheSameEnd) {
  const double tiny_single = 1.000000013351432e-10;
  struct Case {
    const char* name;
    double inertia, diameter, inertia_bottom, diameter_bottom;
    double expected, expected_bottom;  // 0.0491f x D^4 = 0.04910000041127205 x D^4
  } cases[] = {
      {"zero, D 2 and D 12", 0.0, 2.0, 0.0, 12.0, 0.7856000065803528, 1018.1376085281372},
      {"negative", -3.0, 2.0, 50.0, 12.0, 0.7856000065803528, 50.0},
      {"just below the single-precision limit", 1e-10, 2.0, 1e-11, 2.0, 0.7856000065803528, 0.7856000065803528},
      {"exactly the single-precision limit stays", tiny_single, 2.0, tiny_single, 12.0, tiny_single, tiny_single},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uniform_section(1, c.diameter, c.inertia, 1.0);
    CrossSection.tapered(1) = 1;
    CrossSection.diameter_bottom(1) = c.diameter_bottom;
    CrossSection.inertia_zz_bottom(1) = CrossSection.inertia_yy_bottom(1) = c.inertia_bottom;
    one_section_set(1, 1, 10.0);
    ASSERT_EQ(build(), STATUS_OK);
    EXPECT_EQ(PileSection.inertia_zz(1, 1), c.expected);
    EXPECT_EQ(PileSection.inertia_yy(1, 1), c.expected);
    EXPECT_EQ(PileSection.inertia_zz_bottom(1, 1), c.expected_bottom);
    EXPECT_EQ(PileSection.inertia_yy_bottom(1, 1), c.expected_bottom);
  }
}

TEST_F(PilePropertiesBuild, ResultantCapacitiesAndYieldCurvatures) {
  // Cross section 1: moment capacity given; E 2 at the top and 4 at the bottom.
  uniform_section(1, 1.0, 5.0, 2.0);
  auto& x = CrossSection;
  x.tapered(1) = 1;
  x.moment_capacity_given(1) = 1;
  x.modulus_bottom(1) = 4.0;
  x.inertia_zz_bottom(1) = 3.0;
  x.inertia_yy(1) = 4.0;
  x.inertia_yy_bottom(1) = 2.0;
  x.mn_zz(1) = 30.0;
  x.mn_zz_bottom(1) = 60.0;
  x.mn_yy(1) = 40.0;
  x.mn_yy_bottom(1) = 24.0;
  x.vn_zz(1) = x.vn_zz_bottom(1) = 6.0;
  x.vn_yy(1) = x.vn_yy_bottom(1) = 8.0;
  // Cross section 2: the same capacities, none given; cross section 3:
  // given, but no modulus at the bottom.
  uniform_section(2, 1.0, 5.0, 2.0);
  x.mn_zz(2) = x.mn_zz_bottom(2) = 100.0;
  uniform_section(3, 1.0, 5.0, 2.0);
  x.moment_capacity_given(3) = 1;
  x.modulus_bottom(3) = 0.0;
  x.mn_zz(3) = x.mn_zz_bottom(3) = 100.0;
  for (int p = 1; p <= 3; ++p) one_section_set(p, p, 10.0);
  const auto& s = PileSection;
  {
    SCOPED_TRACE("3D");
    ASSERT_EQ(build(), STATUS_OK);
    EXPECT_EQ(s.mp(1, 1), 50.0);  // Mn 30 about z-z and 40 about y-y
    EXPECT_EQ(s.vn(1, 1), 10.0);
    EXPECT_EQ(s.mp_yy_bottom(1, 1), 24.0);
    EXPECT_EQ(s.ei_zz(1, 1), 10.0);
    EXPECT_EQ(s.ei_yy_bottom(1, 1), 8.0);
    EXPECT_EQ(s.phi_y_zz(1, 1), 3.0);         // 30 / (5 x 2)
    EXPECT_EQ(s.phi_y_zz_bottom(1, 1), 5.0);  // 60 / (3 x 4)
    EXPECT_EQ(s.phi_y_yy(1, 1), 5.0);         // 40 / (4 x 2)
    EXPECT_EQ(s.phi_y_yy_bottom(1, 1), 3.0);  // 24 / (2 x 4)
    EXPECT_EQ(s.phi_y_zz(2, 1), 0.0);
    EXPECT_EQ(s.phi_y_zz(3, 1), 10.0);
    EXPECT_EQ(s.phi_y_zz_bottom(3, 1), 0.0);  // no rigidity, no yield curvature
    EXPECT_EQ(SECTION_ELASTOPLASTIC_FLAG(1, 1, 5.0), 1);
    EXPECT_EQ(SECTION_ELASTOPLASTIC_FLAG(1, 2, 5.0), 0);
  }
  {
    SCOPED_TRACE("2D: the z-z capacities; nothing about y-y");
    RunOptions.dimension = MODEL_2D;
    ASSERT_EQ(build(), STATUS_OK);
    EXPECT_EQ(s.mp(1, 1), 30.0);
    EXPECT_EQ(s.mp_bottom(1, 1), 60.0);
    EXPECT_EQ(s.vn(1, 1), 6.0);
    EXPECT_EQ(s.mp_yy(1, 1), 0.0);
    EXPECT_EQ(s.vn_yy(1, 1), 0.0);
    EXPECT_EQ(s.phi_y_yy(1, 1), 0.0);
    EXPECT_EQ(s.phi_y_zz(1, 1), 3.0);
  }
}

// A tapered section through the lookups, against values by hand; a pile whose
// head lies at 5, its one section from 0 to 10.
TEST_F(PilePropertiesBuild, TaperedSectionVariesLinearly) {
  uniform_section(1, 24.0, 1000.0, 30.0);
  auto& x = CrossSection;
  x.tapered(1) = 1;
  x.diameter_bottom(1) = 12.0;
  x.inertia_zz_bottom(1) = 500.0;
  x.modulus_bottom(1) = 20.0;
  x.area(1) = 100.0;
  x.area_bottom(1) = 50.0;
  one_section_set(1, 1, 10.0);
  PileTable.n_piles = 1;
  PileTable.prop(1) = 1;
  PileTable.head_depth(1) = 5.0;
  ASSERT_EQ(build(), STATUS_OK);
  struct Case {
    double s;
    double diameter, area, ei_zz;  // ei: 30000 at the top, 10000 at the bottom
  } cases[] = {
      {0.0, 24.0, 100.0, 30000.0},
      {2.5, 21.0, 87.5, 25000.0},
      {5.0, 18.0, 75.0, 20000.0},
      {10.0, 12.0, 50.0, 10000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s);
    EXPECT_DOUBLE_EQ(SECTION_DIAMETER_AT(1, 1, 5.0 + c.s), c.diameter);
    EXPECT_DOUBLE_EQ(SECTION_AREA_AT(1, 1, 5.0 + c.s), c.area);
    EXPECT_DOUBLE_EQ(SECTION_EI_ZZ_AT(1, 1, 5.0 + c.s), c.ei_zz);
    EXPECT_EQ(SECTION_MODULUS_AT(1, 1, 5.0 + c.s), 30.0);  // the top modulus only
    EXPECT_EQ(SECTION_TAPERED_AT(1, 1, 5.0 + c.s), 1);
  }
}

// Guards the tables against references the reader does not check: each is
// rejected with the detail line of the final message, and nothing is built.
TEST_F(PilePropertiesBuild, UndefinedReferencesAreRejected) {
  struct Case {
    const char* name;
    int dimension, num_sections, cross_section, prop;
    const char* detail;
  } cases[] = {
      {"cross section 0", MODEL_3D, 1, 0, 1,
       "    INPUT SECTION 8, PROPERTY SET 2, SECTION 1: '0' (CROSS SECTION NOT DEFINED)"},
      {"cross section beyond the count", MODEL_3D, 1, 3, 1,
       "    INPUT SECTION 8, PROPERTY SET 2, SECTION 1: '3' (CROSS SECTION NOT DEFINED)"},
      {"a set without sections", MODEL_3D, 0, 1, 1,
       "    INPUT SECTION 8, PROPERTY SET 2: '0' (A SET NEEDS ONE SECTION AT LEAST)"},
      {"property set 0", MODEL_3D, 1, 1, 0, "    INPUT SECTION 7, PILE 2: '0' (PROPERTY SET NOT DEFINED)"},
      {"the cap set is not an input set", MODEL_2D, 1, 1, 3,
       "    INPUT SECTION 7, PILE ROW 2: '3' (PROPERTY SET NOT DEFINED)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunOptions.dimension = c.dimension;
    uniform_section(1, 1.0, 1.0, 1.0);
    uniform_section(2, 1.0, 1.0, 1.0);
    one_section_set(1, 1, 10.0);
    one_section_set(2, c.cross_section, 10.0);
    PropertySetInput.num_sections(2) = c.num_sections;
    PileTable.n_piles = 2;
    PileTable.prop(1) = 1;
    PileTable.prop(2) = c.prop;
    EXPECT_EQ(build(), STATUS_INPUT_DATA_ERROR);
    EXPECT_EQ(STATUS_DETAIL(), c.detail);
    EXPECT_EQ(PileProperty.n_sections(1), 0);
  }
}

}  // namespace
}  // namespace pilecap
