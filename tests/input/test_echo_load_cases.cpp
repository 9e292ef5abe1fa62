// TABLE C details on the records directly: the load type names, the default
// point lists the echo writes back into a case, point lists of 11 to 15
// values, and a combination member naming no case.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/input/echo_decks.hpp"
#include "tests/input/echo_fixture.hpp"

namespace pilecap {
namespace {

using testing::lines;

class EchoLoadCasesTest : public testing::EchoRecordsTest {
 protected:
  void SetUp() override {
    EchoRecordsTest::SetUp();
    units(1, 0, 3);
    LoadCase.count = 1;
    LoadCase.name(1).assign(TEXT_LINE_LENGTH, ' ');
    LoadCase.loading_kind(1) = 2;  // neither static nor cyclic: no loading line
    LoadCase.print_option(1) = 1;
  }
  static std::string echo_cases() {
    fio::open_memory(UNIT_ECHO);
    int status = 0;
    ECHO_LOAD_CASES(status);
    EXPECT_EQ(status, 0);
    return fio::memory_contents(UNIT_ECHO);
  }
  static void points(std::initializer_list<double> values) {
    LoadCase.num_points(1) = static_cast<int>(values.size());
    int p = 0;
    for (double v : values) LoadCase.point_factors(1, ++p) = v;
  }
  // The text between the case's scale-factor line and its control parameters.
  static std::string point_block(const std::string& text) {
    const auto first = text.find("     SCALE FACTOR :       0.0000 \n") + 34;
    const auto last = text.find("\n\n\n     * CONTROL PARAMETERS *");
    return text.substr(first, last + 1 - first);
  }
};

TEST(LoadTypeNameTest, EveryCodeAndTheSpecialType) {
  const char* names[] = {"Dead, DL", "Live, LL",   "Seismic, EQ",   "Impact, IM", "Wind, WN", "Water, WT",
                         "Ice, IC",  "Soils, Hsl", "Roof Live, Lr", "Rain, Rn",   "Snow, Sn", "Temperature, Tm"};
  for (int code = -3; code <= 14; ++code) {
    std::string expected = code >= 0 && code <= 11 ? names[code] : "Special, Sp";
    expected.resize(LOAD_TYPE_NAME_LENGTH, ' ');
    std::string name = "left over";
    LOAD_TYPE_NAME(code, name);
    EXPECT_EQ(name, expected) << code;
  }
}

// The lists the analysis then reads: 0.1 as the single-precision literal,
// then log10(p), or p / 10 for the pushover factors.
TEST_F(EchoLoadCasesTest, DefaultListsAreWrittenIntoTheCase) {
  LoadCase.analysis_kind(1) = 11;
  LoadCase.pushover(1) = 1;
  echo_cases();
  ASSERT_EQ(LoadCase.num_points(1), 10);
  ASSERT_EQ(LoadCase.count2(1), 10);
  EXPECT_EQ(LoadCase.point_factors(1, 1), 0.10000000149011612);
  EXPECT_EQ(LoadCase.pushover_factors(1, 1), 0.10000000149011612);
  for (int p = 2; p <= 10; ++p) {
    EXPECT_EQ(LoadCase.point_factors(1, p), std::log10(double(p))) << p;
    EXPECT_EQ(LoadCase.pushover_factors(1, p), p / 10.0) << p;
  }
  EXPECT_EQ(LoadCase.point_factors(1, 10), 1.0);
}

TEST_F(EchoLoadCasesTest, NoDefaultsWithoutEstimationOrPushover) {
  echo_cases();
  EXPECT_EQ(LoadCase.num_points(1), 0);
  EXPECT_EQ(LoadCase.count2(1), 0);
}

// Regression: with 11 or 12 values the settings were read from before the
// start of the list; the analysis reads such lists as plain levels.
TEST_F(EchoLoadCasesTest, ElevenAndTwelveValuesArePlainLevels) {
  LoadCase.analysis_kind(1) = 11;
  for (int n : {11, 12}) {
    SCOPED_TRACE(n);
    LoadCase.num_points(1) = n;
    for (int p = 1; p <= n; ++p) LoadCase.point_factors(1, p) = p / 10.0;
    const std::string block = point_block(echo_cases());
    EXPECT_EQ(block.find("BASED ON"), std::string::npos) << block;
    EXPECT_NE(block.find("       11          1.10000 \n"), std::string::npos) << block;
    EXPECT_EQ(block.find("       12 ") != std::string::npos, n == 12) << block;
  }
}

TEST_F(EchoLoadCasesTest, FifteenValuesBasedOnTheTotalLoad) {
  LoadCase.analysis_kind(1) = 11;
  points({0.25, 0.5, 1.0, 0.0, 2, 0, 0, 0, 0, 0, 0, 5.0, 30, 1.0, 0});
  EXPECT_EQ(point_block(echo_cases()), lines({
                                           "",
                                           "     * DATA FOR FOUNDATION STIFFNESS *",
                                           "",
                                           "     - CONSIDER AXIAL LOADS IN PILES",
                                           "",
                                           "     - BASED ON TOTAL APPLIED LOAD  |",
                                           "",
                                           "     * FOUNDATION STIFFNESS LOAD LEVELS *",
                                           "",
                                           "       NL       LOAD LEVEL",
                                           "        1          0.25000 |",
                                           "        2          0.50000 |",
                                           "        3          1.00000 |",
                                       }));
}

TEST_F(EchoLoadCasesTest, TargetLinesByDof) {
  LoadCase.analysis_kind(1) = 11;
  struct Case {
    int dimension;
    double dof;
    const char* line;
  };
  const Case cases[] = {
      {3, 1, "       DISPLACEMENT X =       1.10000 IN |"},
      {3, 3, "       DISPLACEMENT Z =       1.30000 IN |"},
      {2, 3, "       ROTATION Z     =       1.60000 |"},
      {3, 4, "       ROTATION X     =       1.40000 |"},
      {3, 5.9, "       ROTATION Y     =       1.50000 |"},
      {3, 6, "       ROTATION Z     =       1.60000 |"},
      {3, 7, " |"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    RunOptions.dimension = c.dimension;
    points({0.5, 1.0, 1.0, c.dof, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 2.5, 40, 0.0, 0.0});
    const std::string block = point_block(echo_cases());
    // A target line starts after an empty line; another DOF writes only a line holding one blank.
    const bool known = c.dof <= 6;
    const std::string expected =
        lines({"     - BASED ON TARGET DEFLECTION   |"}) + (known ? "\n" : "") +
        lines({c.line, "       TOLERANCE (%)  =       2.5000 |", "       ITERATIONS     =    40 |"});
    EXPECT_NE(block.find(expected), std::string::npos) << block;
    EXPECT_NE(block.find("     * FOUNDATION STIFFNESS DISPLACEMENT LEVELS *"), std::string::npos);
  }
}

// The reader refuses such a member; the echo still reads only the cases read.
TEST_F(EchoLoadCasesTest, MemberNamingNoCaseShowsABlankName) {
  auto& c = LoadCombination;
  c.count = 1;
  c.name(1).assign(TEXT_LINE_LENGTH, ' ');
  c.loading_kind(1) = 2;
  c.member_count(1) = 1;
  c.member_case(1, 1) = 7;
  c.member_factor(1, 1) = 1.5;
  fio::open_memory(UNIT_ECHO);
  int status = 0;
  ECHO_LOAD_COMBINATIONS(status);
  const std::string text = fio::memory_contents(UNIT_ECHO);
  EXPECT_NE(text.find("        1         7          " + std::string(26, ' ') + "     " + "     1.50000 \n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace pilecap
