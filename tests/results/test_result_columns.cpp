// Column selection, node rows by step, the extremes of one pile and the
// merging of plastic hinges, against tables of hand-worked cases.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "results_fixture.hpp"
#include "summary/summary.hpp"

namespace pilecap::testing {
namespace {

class ResultColumnsTest : public ResultsTest {};

TEST_F(ResultColumnsTest, SelectionDropsColumnsByRunKindModelAndAxialTransfer) {
  for (int q = 1; q <= RESULT_FLAGS_PER_LINE; ++q) {
    ResultColumnSelection.case_flags(1, q) = 1;
    ResultColumnSelection.combination_flags(2, q) = 1;
  }
  struct Case {
    const char* name;
    int combination, ls_indicator, axial_variation, dimension;
    std::vector<int> hidden;
  };
  const std::vector<Case> cases = {
      {"case in space", 0, -1, 1, 3, {24, 25, 26, 27, 28, 29}},
      {"combination in space", 2, -1, 1, 3, {26, 27, 28, 29}},
      {"user curve", 2, 1, 1, 3, {1, 5, 6, 7, 8, 18, 26, 27, 28, 29}},
      {"no axial variation", 2, -1, 0, 3, {1, 5, 6, 7, 8, 18, 26, 27, 28, 29}},
      {"plane", 2, -1, 1, 2, {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23, 26, 27, 28, 29}},
  };
  for (const Case& c : cases) {
    AnalysisControl.current_run = c.combination == 0 ? 1 : 2;
    AnalysisControl.current_combination = c.combination;
    ResultColumnFlags flags;
    SELECT_RESULT_COLUMNS(0, c.ls_indicator, c.axial_variation, c.dimension, flags);
    for (int q = 1; q <= NODAL_RESULT_COUNT; ++q) {
      const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), q) != c.hidden.end();
      EXPECT_EQ(flags(q), hidden ? 0 : 1) << c.name << ", quantity " << q;
    }
  }
}

TEST_F(ResultColumnsTest, NodeStepPrintsHeadEveryStepAndTipOnlyOnAMultiple) {
  PileNodeValues values{};
  ResultColumnFlags flags{};
  struct Case {
    int n, step;
    std::vector<double> depths;
  };
  const std::vector<Case> cases = {
      {4, 0, {0}}, {4, -2, {0}}, {4, 9, {0, 4}}, {5, 2, {0, 2, 4}}, {4, 2, {0, 2, 4}}, {0, 3, {0}},
  };
  for (const Case& c : cases) {
    fio::open_memory(UNIT_RESULTS_REPORT);
    WRITE_NODE_RESULT_ROWS(flags, FIRST_NODE_ROW + c.n, c.step, 1.0, values);
    std::string expected;
    for (double d : c.depths) expected += " " + std::string(std::to_string(int(d))).insert(0, 6, ' ') + ".0000\n";
    EXPECT_EQ(unit_text(UNIT_RESULTS_REPORT), expected) << c.n << " / " << c.step;
  }
}

TEST_F(ResultColumnsTest, ExtremesKeepTheShallowestOfEqualValues) {
  // Quantity 2 dips twice to -3 (nodes 1 and 3) and peaks at 5 twice (0 and 2);
  // quantity 4 is constant.
  PileNodeValues values{};
  const double q2[] = {5, -3, 5, -3};
  for (int k = 0; k <= 3; ++k) {
    values(FIRST_NODE_ROW + k, 2) = q2[k];
    values(FIRST_NODE_ROW + k, 4) = 7.0;
  }
  ASSERT_EQ(fio::open_memory(UNIT_PILE_RESULTS_SCRATCH), fio::IO_OK);
  ASSERT_EQ(WRITE_PILE_EXTREMES(1, FIRST_NODE_ROW + 3, 2.0, values), fio::IO_OK);
  const std::string text = fio::memory_contents(UNIT_PILE_RESULTS_SCRATCH);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 4u);
  auto field = [](const std::string& line, int q, int first) {
    return line.substr(first - 1 + 14 * (q - 1), 12 - (first - 14));
  };
  EXPECT_EQ(field(lines[0], 2, 14), "-0.30000E+01");
  EXPECT_EQ(field(lines[1], 2, 15), "     2.0000");
  EXPECT_EQ(field(lines[2], 2, 14), " 0.50000E+01");
  EXPECT_EQ(field(lines[3], 2, 15), "     0.0000");
  EXPECT_EQ(field(lines[1], 4, 15), "     0.0000");
  EXPECT_EQ(field(lines[3], 4, 15), "     0.0000");
  EXPECT_EQ(lines[1].substr(0, 11), "     x( M) ");
}

TEST_F(ResultColumnsTest, AdjacentHingeNodesMergeIntoOneHingeAtTheUppermost) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<int> hinge_rows;  // rows with marker 1
    double other;                 // marker of every other row
    std::vector<int> kept;
  };
  const std::vector<Case> cases = {
      {"run of three", {10, 11, 12}, 0.0, {10}},
      {"gap of one row", {10, 12}, 0.0, {10, 12}},
      {"at the head", {4}, 0.0, {4}},
      {"negative and NaN are none", {}, -1.0, {}},
      {"NaN is none", {}, nan, {}},
  };
  PileTable.n_piles = 1;
  PileTable.prop(1) = 1;
  PileProperty.n_increments(1) = 10;
  PileProperty.increment(1) = 0.5;
  const int last_row = FIRST_NODE_ROW + 10;
  for (const Case& c : cases) {
    PileNodeValues values{};
    for (int row = FIRST_NODE_ROW; row <= last_row; ++row) values(row, NR_HINGE_Z) = c.other;
    for (int row : c.hinge_rows) values(row, NR_HINGE_Z) = 1.0;
    int piles_with_hinges = 0;
    COUNT_PLASTIC_HINGES(HINGE_DIRECTION_Z, 1, piles_with_hinges, last_row, values);
    EXPECT_EQ(PlasticHingeTable.hinge_count_z(1), static_cast<int>(c.kept.size())) << c.name;
    EXPECT_EQ(piles_with_hinges, c.kept.empty() ? 0 : 1) << c.name;
    fio::open_memory(UNIT_SUMMARY);
    PRINT_PLASTIC_HINGES(HINGE_DIRECTION_Z);
    std::string expected;
    for (int row : c.kept) {
      char depth[16];
      std::snprintf(depth, sizeof depth, "%13.4f", (row - FIRST_NODE_ROW) * 0.5);
      expected += std::string("          1     Z-DIR     ") + depth + " \n";
    }
    EXPECT_EQ(unit_text(UNIT_SUMMARY), expected) << c.name;
  }
}

TEST_F(ResultColumnsTest, EveryNodeAHingeIsOneHingeAtTheHead) {
  PileNodeValues values{};
  for (int row = FIRST_NODE_ROW; row <= FIRST_NODE_ROW + 6; ++row) values(row, NR_HINGE_Y) = 2.0;
  int piles_with_hinges = 0;
  COUNT_PLASTIC_HINGES(HINGE_DIRECTION_Y, 3, piles_with_hinges, FIRST_NODE_ROW + 6, values);
  EXPECT_EQ(PlasticHingeTable.hinge_count_y(3), 1);
  EXPECT_EQ(PlasticHingeTable.hinge_y(3, FIRST_NODE_ROW), 2.0);
  for (int row = FIRST_NODE_ROW + 1; row <= FIRST_NODE_ROW + 6; ++row)
    EXPECT_EQ(PlasticHingeTable.hinge_y(3, row), 0.0);
}

TEST_F(ResultColumnsTest, MinMaxLocationTiesKeepTheEarlierAndNaNNeverEnters) {
  ResultColumnFlags pile_min{}, pile_max{};
  ResultColumnValues minimum{}, maximum{}, values{};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double series[4][2] = {{1.0, nan}, {1.0, 2.0}, {-4.0, 2.0}, {nan, -1.0}};
  for (int i = 1; i <= 4; ++i) {
    values(1) = series[i - 1][0];
    values(2) = series[i - 1][1];
    UPDATE_MIN_MAX_LOCATION(i, 2, pile_min, pile_max, values, minimum, maximum);
  }
  EXPECT_EQ(minimum(1), -4.0);
  EXPECT_EQ(pile_min(1), 3);
  EXPECT_EQ(maximum(1), 1.0);
  EXPECT_EQ(pile_max(1), 1);
  // Column 2 started from a NaN, which nothing compares beyond.
  EXPECT_TRUE(std::isnan(minimum(2)));
  EXPECT_EQ(pile_max(2), 1);
}

}  // namespace
}  // namespace pilecap::testing
