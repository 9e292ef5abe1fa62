// Report field writers: the choice between fixed and exponent form, exact
// field text, widths, and the in-buffer variants.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

constexpr int MEMORY_UNIT = 91;

std::string real_field(int w, int d, double v) {
  fio::open_memory(MEMORY_UNIT);
  WRITE_REAL_FIELD(MEMORY_UNIT, w, d, v);
  fio::end_line(MEMORY_UNIT);
  std::string text = fio::memory_contents(MEMORY_UNIT);
  fio::close(MEMORY_UNIT);
  text.pop_back();  // the LF
  return text;
}

std::string right(int w, const std::string& text) { return std::string(static_cast<std::size_t>(w) - text.size(), ' ') + text; }

struct RealCase {
  const char* name;
  int w;
  int d;
  double v;
  const char* text;  // the field without its leading blanks
};

class ReportFieldTest : public testing::EngineTest {};

TEST_F(ReportFieldTest, RealFieldChoosesFormAndDigits) {
  const std::vector<RealCase> cases = {
      {"three decimals for a value in the hundreds", 14, 5, 123.456, "123.456"},
      {"0.1 .. 1 share the decade of 1 .. 10", 14, 5, 0.5, "0.50000"},
      {"0.01 .. 0.1 get d + 2 decimals", 14, 5, 0.05, "0.0500000"},
      {"at or above 10^d goes to exponent form", 14, 5, 2.5e5, "2.50000E+05"},
      {"small values go to exponent form", 14, 5, 1.0e-5, "1.00000E-05"},
      {"tiny negative prints as zero without sign", 10, 3, -1.0e-60, "0.000"},
      {"exact zero", 10, 3, 0.0, "0.000"},
      {"decimals beyond d + 2 switch to exponent", 12, 4, 0.005, "5.0000E-03"},
      {"0.01 with three digits: log10 is exactly -2", 12, 3, 0.01, "1.000E-02"},
      {"just above the single-precision lower limit, rounded up", 12, 3, 0.0099999999, "1.000E-02"},
      {"negative fixed", 12, 4, -12.5, "-12.500"},
      {"negative below one", 12, 2, -0.3333, "-0.33"},
      {"upper end of the fixed range", 14, 5, 99999.0, "99999.0"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(real_field(c.w, c.d, c.v), right(c.w, c.text)) << c.name;
  }
}

TEST_F(ReportFieldTest, ValueJustAboveLowerLimitIsFixedForm) {
  // The lower limit for d = 3 is 0.01f, just below 0.01: 0.0099 lies under
  // it (exponent form), 0.011 above it with k = -2 (five decimals).
  EXPECT_EQ(real_field(12, 3, 0.0099), right(12, "9.900E-03"));
  EXPECT_EQ(real_field(12, 3, 0.011), right(12, "0.01100"));
}

TEST_F(ReportFieldTest, EveryRealFieldIsWideAndReadsBack) {
  const double values[] = {1e-40, -3.2e-7, 0.000999, 0.0123456, 0.1, 0.99999, 1.0, 7.25, -42.42, 999.999, 12345.678,
                           -9.87e8, 6.02e23};
  for (int d = 2; d <= 7; ++d) {
    for (double v : values) {
      const std::string field = real_field(16, d, v);
      ASSERT_EQ(field.size(), 16u) << v;
      ASSERT_EQ(field.find('*'), std::string::npos) << v << " d=" << d;
      const double back = std::stod(field);
      // Half a unit of the last printed digit: from the text's own decimals.
      const std::size_t point = field.find('.');
      const std::size_t e = field.find('E');
      const std::size_t last = (e == std::string::npos ? field.size() : e) - 1;
      const int shown_decimals = static_cast<int>(last - point);
      const int exponent = e == std::string::npos ? 0 : std::stoi(field.substr(e + 1));
      const double half_unit = 0.5 * std::pow(10.0, exponent - shown_decimals);
      EXPECT_LE(std::fabs(back - v), half_unit * (1 + 1e-12)) << field << " for " << v;
    }
  }
}

TEST_F(ReportFieldTest, RowOfFieldsEndsWithOneBlank) {
  fio::open_memory(MEMORY_UNIT);
  WRITE_BLANKS(MEMORY_UNIT, 0);
  WRITE_BLANKS(MEMORY_UNIT, -3);
  WRITE_INT_FIELD(MEMORY_UNIT, 5, 42);
  WRITE_BLANKS(MEMORY_UNIT, 2);
  WRITE_REAL_FIELD(MEMORY_UNIT, 10, 3, 1.5);
  WRITE_TEXT10_FIELD(MEMORY_UNIT, "SAND");
  WRITE_TEXT6_FIELD(MEMORY_UNIT, "CLAY LAYER");
  WRITE_CHAR_FIELD(MEMORY_UNIT, '*');
  WRITE_TEXT2_FIELD(MEMORY_UNIT, "ft");
  WRITE_TEXT3_FIELD(MEMORY_UNIT, "m");
  WRITE_TRIMMED_TEXT(MEMORY_UNIT, "name.dat    ");
  WRITE_TRIMMED_TEXT(MEMORY_UNIT, "     ");
  END_REPORT_LINE(MEMORY_UNIT);
  const std::string expected = std::string("   42") + "  " + "     1.500" + " SAND       " + " CLAY L " + "*" + "ft" +
                               "m  " + "name.dat" + " \n";
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), expected);
  fio::close(MEMORY_UNIT);
}

TEST_F(ReportFieldTest, IntegerTooWideIsAsterisks) {
  fio::open_memory(MEMORY_UNIT);
  WRITE_INT_FIELD(MEMORY_UNIT, 3, -1000);
  END_REPORT_LINE(MEMORY_UNIT);
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "*** \n");
  fio::close(MEMORY_UNIT);
}

TEST_F(ReportFieldTest, AppendRealFieldUsesHigherLowerLimit) {
  std::string line(40, '.');
  int col = 0;
  APPEND_REAL_FIELD(line, 12, 3, 0.05, col);   // 0.05 is not above 10^0
  APPEND_BLANKS(line, 2, col);
  APPEND_REAL_FIELD(line, 12, 4, 0.1, col);    // 0.1 is not above 0.1f
  APPEND_REAL_FIELD(line, 10, 4, 2.5, col);
  EXPECT_EQ(col, 36);
  EXPECT_EQ(line, std::string("   5.000E-02") + "  " + "  1.0000E-01" + "    2.5000" + "....");
}

TEST_F(ReportFieldTest, AppendNeverWritesPastTheBuffer) {
  std::string line(8, '.');
  int col = 4;
  APPEND_REAL_FIELD(line, 10, 3, 1.5, col);
  EXPECT_EQ(line, "....    ");
  EXPECT_EQ(col, 14);
  APPEND_BLANKS(line, 5, col);
  EXPECT_EQ(col, 19);
  EXPECT_EQ(line.size(), 8u);
}

}  // namespace
}  // namespace pilecap
