// Formatted and list-directed output: every edit descriptor and layout rule,
// checked as exact text on an in-memory unit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

constexpr int MEMORY_UNIT = 90;

struct Value {
  enum Kind { I, R, T } kind;
  long long i = 0;
  double r = 0.0;
  const char* s = "";
};
Value I(long long v) { return {Value::I, v, 0.0, ""}; }
Value R(double v) { return {Value::R, 0, v, ""}; }
Value T(const char* v) { return {Value::T, 0, 0.0, v}; }

struct LayoutCase {
  const char* name;
  const char* layout;
  std::vector<Value> values;
  const char* expected;  // the whole output, lines ending in LF
};

std::string write_case(const LayoutCase& c) {
  fio::open_memory(MEMORY_UNIT);
  std::vector<fio::Item> items;
  for (const Value& v : c.values) {
    if (v.kind == Value::I) items.push_back({fio::Item::Kind::Int, v.i, 0.0, {}});
    if (v.kind == Value::R) items.push_back({fio::Item::Kind::Real, 0, v.r, {}});
    if (v.kind == Value::T) items.push_back({fio::Item::Kind::Text, 0, 0.0, v.s});
  }
  fio::Format format(c.layout);
  EXPECT_TRUE(format.valid()) << c.name << ": " << format.error();
  EXPECT_EQ(fio::write_items(MEMORY_UNIT, format, items.data(), items.size()), fio::IO_OK) << c.name;
  fio::close(MEMORY_UNIT);
  return fio::memory_contents(MEMORY_UNIT);
}

class FioLayoutTest : public testing::EngineTest {};

TEST_F(FioLayoutTest, EveryDescriptorAndRule) {
  const std::vector<LayoutCase> cases = {
      {"F with room for the leading zero", "(F8.3)", {R(0.5)}, "   0.500\n"},
      {"F without room drops the leading zero", "(F4.3)", {R(0.5)}, ".500\n"},
      {"F negative without room", "(F5.3)", {R(-0.5)}, "-.500\n"},
      {"F too narrow prints asterisks", "(F5.2)", {R(1234.5)}, "*****\n"},
      {"F zero decimals keeps the point", "(F6.0)", {R(12.4)}, "   12.\n"},
      {"F tie rounds to even", "(F6.2)", {R(0.125)}, "  0.12\n"},
      {"F negative rounding to zero keeps its sign", "(F7.3)", {R(-0.0001)}, " -0.000\n"},
      {"F negative zero prints without sign", "(F7.3)", {R(-0.0)}, "  0.000\n"},
      {"E mantissa below one", "(E12.5)", {R(123.45)}, " 0.12345E+03\n"},
      {"E negative small", "(E12.4)", {R(-0.000123456)}, " -0.1235E-03\n"},
      {"E zero", "(E11.4)", {R(0.0)}, " 0.0000E+00\n"},
      {"E without room for the zero", "(E10.4)", {R(-123.45)}, "-.1235E+03\n"},
      {"E three-digit exponent drops the letter", "(E12.5)", {R(1.5e120)}, " 0.15000+121\n"},
      {"1PE one digit before the point", "(1PE12.5)", {R(123.45)}, " 1.23450E+02\n"},
      {"1P with comma and repeat, line ended by close", "(1P,1E14.05,\\)", {R(2.5e5)}, "   2.50000E+05\n"},
      {"1P applies to the rest of the layout", "(F6.2,1P,E11.3,E11.3)", {R(1.5), R(0.02), R(-3e-9)},
       "  1.50  2.000E-02 -3.000E-09\n"},
      {"G fixed branch with four blanks", "(G12.5)", {R(123.456)}, "  123.46    \n"},
      {"G small fixed branch", "(G12.5)", {R(0.5)}, " 0.50000    \n"},
      {"G exponent branch above", "(G12.5)", {R(123456.0)}, " 0.12346E+06\n"},
      {"G exponent branch below", "(G12.5)", {R(0.05)}, " 0.50000E-01\n"},
      {"G rounding up to the next decade", "(G12.5)", {R(99999.7)}, " 0.10000E+06\n"},
      {"G zero", "(G12.5)", {R(0.0)}, "  0.0000    \n"},
      {"G exponent with 1P", "(1PG12.5)", {R(1.0e7)}, " 1.00000E+07\n"},
      {"I right-aligned", "(I5)", {I(-42)}, "  -42\n"},
      {"I2.2 leading zero", "(I2.2,\":\",I2.2)", {I(5), I(30)}, "05:30\n"},
      {"I overflow asterisks", "(I3)", {I(12345)}, "***\n"},
      {"A cut", "(A3)", {T("ABCDEF")}, "ABC\n"},
      {"A right-aligned", "(A4)", {T("sec")}, " sec\n"},
      {"A full length", "(A,\"|\")", {T("  x  ")}, "  x  |\n"},
      {"blanks and quoted text", "(2X,'it''s',1X,\"a \"\"b\"\"\")", {}, "  it's a \"b\"\n"},
      {"Hollerith blank", "(1H ,I2)", {I(7)}, "  7\n"},
      {"repeat counts", "(3I3)", {I(1), I(2), I(3)}, "  1  2  3\n"},
      {"group repeated", "(2(I2,\";\"))", {I(1), I(2)}, " 1; 2;\n"},
      {"reversion to the last outer group", "(\"H\",2(I2))", {I(1), I(2), I(3), I(4), I(5)},
       "H 1 2\n 3 4\n 5\n"},
      {"reversion without groups restarts", "(I2,I2)", {I(1), I(2), I(3)}, " 1 2\n 3\n"},
      {"several slashes leave empty lines", "(I1,//,I1)", {I(1), I(2)}, "1\n\n2\n"},
      {"leading slash writes an empty line", "(/,\"A\")", {}, "\nA\n"},
      {"too few values end at the first data descriptor", "(\"X=\",I3,\" Y=\",I3)", {I(4)}, "X=  4 Y=\n"},
      {"no values writes the text up to the first data descriptor", "(5X,\"T\",F8.2)", {}, "     T\n"},
      {"colon stops when no values remain", "(I2,:,\" more\")", {I(1)}, " 1\n"},
      {"integer value in a real field", "(F6.1)", {I(3)}, "   3.0\n"},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(write_case(c), c.expected) << c.name;
  }
}

TEST_F(FioLayoutTest, TrailingBackslashLeavesLineOpenForNextWrite) {
  fio::open_memory(MEMORY_UNIT);
  fio::write(MEMORY_UNIT, "(1P,1E14.05,\\)", 2.5e5);
  fio::write(MEMORY_UNIT, "(\"|\",\\)");
  fio::write(MEMORY_UNIT, "(   1F14.03,\\)", 123.456);
  fio::write(MEMORY_UNIT, "(\"END\")");
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "   2.50000E+05|       123.456END\n");
}

TEST_F(FioLayoutTest, SlashAfterOpenLineEndsThatLineWithoutAnEmptyOne) {
  fio::open_memory(MEMORY_UNIT);
  fio::write(MEMORY_UNIT, "(\"ABC\",\\)");
  fio::write(MEMORY_UNIT, "(/,\"DEF\")");
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "ABC\nDEF\n");
}

TEST_F(FioLayoutTest, CloseEndsAPendingLine) {
  fio::open_memory(MEMORY_UNIT);
  fio::write(MEMORY_UNIT, "(\"PART\",\\)");
  fio::close(MEMORY_UNIT);
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "PART\n");
}

TEST_F(FioLayoutTest, MalformedLayoutsAreReported) {
  for (const char* text : {"I5", "(I5", "(Q5)", "(F8)", "(\"open)", "(3H12)"}) {
    fio::Format format(text);
    EXPECT_FALSE(format.valid()) << text;
  }
}

TEST_F(FioLayoutTest, CachedLayoutIsParsedOnce) {
  const fio::Format& first = fio::cached_format("(I5,F10.3)");
  const fio::Format& second = fio::cached_format(std::string("(I5,") + "F10.3)");
  EXPECT_EQ(&first, &second);
}

TEST_F(FioLayoutTest, ArraysExpandIntoValues) {
  fio::open_memory(MEMORY_UNIT);
  const std::vector<double> values = {1.0, 2.5, -3.0};
  fio::write(MEMORY_UNIT, "(I3,3F6.2)", 7, values);
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "  7  1.00  2.50 -3.00\n");
}

class FioListWriteTest : public testing::EngineTest {};

TEST_F(FioListWriteTest, ItemsAndEmptyRecords) {
  fio::open_memory(MEMORY_UNIT);
  fio::write_list(MEMORY_UNIT, "- ANALYSIS STARTED");
  fio::write_list(MEMORY_UNIT);
  fio::write_list(MEMORY_UNIT, "    ", 7, ", UNKNOWN CODE");
  fio::write_list(MEMORY_UNIT, 0.1, -2.0, 1e20);
  const std::string expected = " - ANALYSIS STARTED\n\n" + std::string(16, ' ') + "7, UNKNOWN CODE\n" +
                               std::string(23, ' ') + "0.1" + std::string(23, ' ') + "-2" + std::string(20, ' ') +
                               "1e+20\n";
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), expected);
}

TEST_F(FioListWriteTest, EmptyWriteEndsThePendingLine) {
  fio::open_memory(MEMORY_UNIT);
  fio::write(MEMORY_UNIT, "(\"OPEN\",\\)");
  fio::write_list(MEMORY_UNIT);
  fio::write_list(MEMORY_UNIT);
  EXPECT_EQ(fio::memory_contents(MEMORY_UNIT), "OPEN\n\n");
}

class FioEditTest : public testing::EngineTest {};

TEST_F(FioEditTest, RealsReadBackWithinHalfAUnitOfTheLastDigit) {
  // Fixed and exponent fields for a spread of magnitudes: the printed text
  // must parse back to the value within half a unit of its last digit.
  const double values[] = {0.0012345678, 0.98765, 1.0, 3.14159265, 271.828, 65535.5, -0.333333, -98765.4321};
  for (double v : values) {
    char field[20];
    fio::edit_exponent(field, 14, 6, 1, v);
    const double exponent_back = std::stod(std::string(field, 14));
    const double unit_exponent = std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 6);
    EXPECT_LE(std::fabs(exponent_back - v), 0.5 * unit_exponent + 1e-15) << v;
    fio::edit_fixed(field, 14, 4, v);
    const double fixed_back = std::stod(std::string(field, 14));
    EXPECT_LE(std::fabs(fixed_back - v), 0.5e-4 + 1e-12) << v;
  }
}

}  // namespace
}  // namespace pilecap
