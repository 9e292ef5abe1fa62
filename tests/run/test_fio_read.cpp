// Reading: list-directed reads, fixed-column reads by layout and whole lines,
// each fed from an in-memory unit. Every case also checks where the read left
// the unit: how many lines it took and what the next line is.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

constexpr int MEMORY_UNIT = 91;
constexpr int OLD_INT = -99;        // value of an int target before the read
constexpr double OLD_REAL = -99.5;  // value of a real target before the read
constexpr const char* OLD_TEXT = "old";
constexpr const char* UNCHANGED = "~";   // expected value: the target kept its old value
constexpr const char* AT_END = "<END>";  // expected next line: the unit is at its end
constexpr double RELATIVE_TOLERANCE = 1e-14;

// Targets described as words: "i" int, "r" real, "t" text as read, "t6" text
// of declared length 6. The storage outlives the Target list that points at it.
struct Targets {
  std::deque<int> ints;
  std::deque<double> reals;
  std::deque<std::string> texts;
  std::vector<fio::Target> list;
  std::vector<std::string> kinds;

  explicit Targets(const std::string& kind_words) {
    std::istringstream words(kind_words);
    std::string word;
    while (words >> word) {
      kinds.push_back(word);
      if (word == "i") {
        ints.push_back(OLD_INT);
        list.push_back({fio::Target::Kind::Int, &ints.back(), 0});
      } else if (word == "r") {
        reals.push_back(OLD_REAL);
        list.push_back({fio::Target::Kind::Real, &reals.back(), 0});
      } else {
        texts.push_back(OLD_TEXT);
        const std::size_t length = word.size() > 1 ? std::stoul(word.substr(1)) : 0;
        list.push_back({fio::Target::Kind::Text, &texts.back(), length});
      }
    }
  }

  // Compares target k with its expected text: a number, a text, or UNCHANGED.
  void expect(std::size_t k, const std::string& expected, const std::string& name) const {
    const fio::Target& target = list[k];
    if (target.kind == fio::Target::Kind::Int) {
      const int want = expected == UNCHANGED ? OLD_INT : std::stoi(expected);
      EXPECT_EQ(*static_cast<const int*>(target.p), want) << name << ", target " << k;
    } else if (target.kind == fio::Target::Kind::Real) {
      const double want = expected == UNCHANGED ? OLD_REAL : std::strtod(expected.c_str(), nullptr);
      const double got = *static_cast<const double*>(target.p);
      EXPECT_NEAR(got, want, RELATIVE_TOLERANCE * std::max(1.0, std::fabs(want))) << name << ", target " << k;
      EXPECT_EQ(std::signbit(got), std::signbit(want)) << name << ", target " << k;
    } else {
      const std::string want = expected == UNCHANGED ? OLD_TEXT : expected;
      EXPECT_EQ(*static_cast<const std::string*>(target.p), want) << name << ", target " << k;
    }
  }
};

struct ReadCase {
  const char* name;
  const char* input;
  const char* layout;  // formatted reads only
  const char* targets;
  std::vector<std::string> expected;  // one per target
  int status;
  const char* bad_field;  // last_bad_field after the read
  int lines_read;         // lines the read took
  const char* next_line;  // what a whole-line read returns afterwards
};

class FioReadTest : public testing::EngineTest {
 protected:
  void TearDown() override { fio::close_all(); }

  // Runs one case through read, then checks targets, status and position.
  template <class Read>
  void run_case(const ReadCase& c, Read read) {
    ASSERT_EQ(fio::open_memory(MEMORY_UNIT, c.input, fio::Form::Formatted), fio::IO_OK) << c.name;
    Targets targets(c.targets);
    ASSERT_EQ(targets.list.size(), c.expected.size()) << c.name << ": table entry is inconsistent";
    EXPECT_EQ(read(targets.list), c.status) << c.name;
    for (std::size_t k = 0; k < c.expected.size(); ++k) targets.expect(k, c.expected[k], c.name);
    EXPECT_EQ(fio::last_bad_field(MEMORY_UNIT), c.bad_field) << c.name;
    EXPECT_EQ(fio::lines_read(MEMORY_UNIT), c.lines_read) << c.name;
    std::string next;
    const int next_status = fio::read_line(MEMORY_UNIT, next);
    EXPECT_EQ(next_status == fio::IO_END ? std::string(AT_END) : next, c.next_line) << c.name;
    fio::close(MEMORY_UNIT);
  }
};

TEST_F(FioReadTest, ListDirectedReadRules) {
  const std::vector<ReadCase> cases = {
      {"blank separated", "1 2.5 abc\n", "", "i r t", {"1", "2.5", "abc"}, fio::IO_OK, "", 1, AT_END},
      {"commas with blanks around", "1 , 2.5,abc\nnext\n", "", "i r t", {"1", "2.5", "abc"}, fio::IO_OK, "", 1, "next"},
      {"tabs count as blanks", "1\t2\t\t3\t,\t4\n", "", "i i i i", {"1", "2", "3", "4"}, fio::IO_OK, "", 1, AT_END},
      {"r*c repeats the value",
       "3*7 2*1.5\n",
       "",
       "i i i r r",
       {"7", "7", "7", "1.5", "1.5"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"r*c longer than the list", "5*2\nnext\n", "", "i i", {"2", "2"}, fio::IO_OK, "", 1, "next"},
      {"r*c of quoted text", "2*'a b'\n", "", "t t", {"a b", "a b"}, fio::IO_OK, "", 1, AT_END},
      {"r* before a blank is null values",
       "2* 5\n",
       "",
       "i i i",
       {UNCHANGED, UNCHANGED, "5"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"r* before a comma is null values",
       "2*,5\n",
       "",
       "i i i",
       {UNCHANGED, UNCHANGED, "5"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"zero repeat count", "0*5\n", "", "i", {UNCHANGED}, fio::IO_BAD_VALUE, "0*5", 1, AT_END},
      {"empty value between commas", "1,,3\n", "", "i i i", {"1", UNCHANGED, "3"}, fio::IO_OK, "", 1, AT_END},
      {"blanks between commas are still empty",
       "1, ,3\n",
       "",
       "i i i",
       {"1", UNCHANGED, "3"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"leading comma", ",2\n", "", "i i", {UNCHANGED, "2"}, fio::IO_OK, "", 1, AT_END},
      {"two leading commas", ",,3\n", "", "i i i", {UNCHANGED, UNCHANGED, "3"}, fio::IO_OK, "", 1, AT_END},
      {"slash mid-line", "1 2 / 3\nnext\n", "", "i i i", {"1", "2", UNCHANGED}, fio::IO_OK, "", 1, "next"},
      {"slash right after a comma", "1,/\n", "", "i i", {"1", UNCHANGED}, fio::IO_OK, "", 1, AT_END},
      {"slash ends bare text", "ab/cd 5\n", "", "t i", {"ab", UNCHANGED}, fio::IO_OK, "", 1, AT_END},
      {"quoted text with doubled quote, blanks and commas",
       "'it''s a, b' \"x y\"\n",
       "",
       "t t",
       {"it's a, b", "x y"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"quoted text padded", "'ab' 'abcdef'\n", "", "t5 t3", {"ab   ", "abc"}, fio::IO_OK, "", 1, AT_END},
      {"bare text cut and padded", "abcdefgh ab\n", "", "t4 t4", {"abcd", "ab  "}, fio::IO_OK, "", 1, AT_END},
      {"unclosed quote runs to the line end", "'abc, def\nnext\n", "", "t", {"abc, def"}, fio::IO_OK, "", 1, "next"},
      {"values over several lines", "1\n\n2,\n3\nnext\n", "", "i i i", {"1", "2", "3"}, fio::IO_OK, "", 4, "next"},
      {"one separator may span a line end", "1\n,2\n", "", "i i", {"1", "2"}, fio::IO_OK, "", 2, AT_END},
      {"comma, line end, comma is an empty value",
       "1,\n,3\n",
       "",
       "i i i",
       {"1", UNCHANGED, "3"},
       fio::IO_OK,
       "",
       2,
       AT_END},
      {"rest of the last line is skipped", "1 2 3\n4\n", "", "i i", {"1", "2"}, fio::IO_OK, "", 1, "4"},
      {"no line is fetched once the list is full", "1 2\n3\n", "", "i i", {"1", "2"}, fio::IO_OK, "", 1, "3"},
      {"a read of no targets takes one line", "junk 1 2\nnext\n", "", "", {}, fio::IO_OK, "", 1, "next"},
      {"a read of no targets at the end", "", "", "", {}, fio::IO_END, "", 0, AT_END},
      {"end of file mid-read keeps earlier values",
       "1 2\n",
       "",
       "i i i",
       {"1", "2", UNCHANGED},
       fio::IO_END,
       "",
       1,
       AT_END},
      {"empty lines then end of file", "\n\n", "", "i", {UNCHANGED}, fio::IO_END, "", 2, AT_END},
      {"invalid integer",
       "3 1.5 4\nnext\n",
       "",
       "i i i",
       {"3", UNCHANGED, UNCHANGED},
       fio::IO_BAD_VALUE,
       "1.5",
       1,
       "next"},
      {"integer out of range", "2147483648\n", "", "i", {UNCHANGED}, fio::IO_BAD_VALUE, "2147483648", 1, AT_END},
      {"integer limits and plus sign", "-2147483648 +5\n", "", "i i", {"-2147483648", "5"}, fio::IO_OK, "", 1, AT_END},
      {"quoted constant into an integer", "'12'\n", "", "i", {UNCHANGED}, fio::IO_BAD_VALUE, "'12'", 1, AT_END},
      {"invalid real", "abc\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "abc", 1, AT_END},
      {"bad value inside a repeat", "2*x\n", "", "i i", {UNCHANGED, UNCHANGED}, fio::IO_BAD_VALUE, "x", 1, AT_END},
      {"exponent without digits", "1e\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "1e", 1, AT_END},
      {"infinity is not a constant", "inf\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "inf", 1, AT_END},
      {"two points", "1.5.2\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "1.5.2", 1, AT_END},
      {"real beyond the range of double", "1e999\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "1e999", 1, AT_END},
      {"real below the smallest double is zero", "-1e-999\n", "", "r", {"-0"}, fio::IO_OK, "", 1, AT_END},
      {"real forms and D exponents",
       "1.0D+03 2.5d-1 -2.5e3 .5 1. +4 7E2\n",
       "",
       "r r r r r r r",
       {"1000", "0.25", "-2500", "0.5", "1", "4", "700"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"exponents beyond two digits without their letter",
       "2.46160442-116 0.12345+100 -1.5+3 7-2\n",
       "",
       "r r r r",
       {"2.46160442e-116", "0.12345e100", "-1500", "0.07"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"a sign with no exponent digits after it", "1.5-\n", "", "r", {UNCHANGED}, fio::IO_BAD_VALUE, "1.5-", 1, AT_END},
      {"CR line ends", "1 2\r\n3\r\nabc\r\n", "", "i i i", {"1", "2", "3"}, fio::IO_OK, "", 2, "abc"},
      {"CR before the line end of bare text", "abc\r\n", "", "t", {"abc"}, fio::IO_OK, "", 1, AT_END},
  };
  for (const ReadCase& c : cases) {
    run_case(c, [](const std::vector<fio::Target>& list) {
      return fio::read_list_targets(MEMORY_UNIT, list.data(), list.size());
    });
  }
}

TEST_F(FioReadTest, FormattedReadRules) {
  const std::vector<ReadCase> cases = {
      {"integer and implied decimals",
       "   12     12345\n",
       "(I5,F10.2)",
       "i r",
       {"12", "123.45"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"negative implied decimals", " -1234  -12\n", "(F6.2,I5)", "r i", {"-12.34", "-12"}, fio::IO_OK, "", 1, AT_END},
      {"a point overrides implied decimals", "  1.5   \n", "(F8.2)", "r", {"1.5"}, fio::IO_OK, "", 1, AT_END},
      {"an exponent overrides implied decimals", "   12E2\n", "(E10.3)", "r", {"1200"}, fio::IO_OK, "", 1, AT_END},
      {"exponent without its letter", "0.12345+100\n", "(E12.5)", "r", {"1.2345e99"}, fio::IO_OK, "", 1, AT_END},
      {"D exponent", "1.0D+02\n", "(D10.2)", "r", {"100"}, fio::IO_OK, "", 1, AT_END},
      {"G reads like F", "     25\n", "(G7.1)", "r", {"2.5"}, fio::IO_OK, "", 1, AT_END},
      {"blank fields read as zero", "\n", "(I5,F5.1)", "i r", {"0", "0"}, fio::IO_OK, "", 1, AT_END},
      {"blanks inside a field are ignored", " 1 2 3\n", "(I6)", "i", {"123"}, fio::IO_OK, "", 1, AT_END},
      {"columns past the line end are blanks", "  7\n", "(I10)", "i", {"7"}, fio::IO_OK, "", 1, AT_END},
      {"A cut and padded", "abcdefgh\n", "(A6,A2)", "t4 t4", {"abcd", "gh  "}, fio::IO_OK, "", 1, AT_END},
      {"A past the line end is blanks", "abc\n", "(A6)", "t", {"abc   "}, fio::IO_OK, "", 1, AT_END},
      {"A alone takes the declared length", "abcdefgh\n", "(A,A)", "t5 t2", {"abcde", "fg"}, fio::IO_OK, "", 1, AT_END},
      {"A alone takes the rest of the line", "ab cd  \n", "(1X,A)", "t", {"b cd  "}, fio::IO_OK, "", 1, AT_END},
      {"X and quoted text skip columns",
       "xx123ab45\n",
       "(2X,I3,\"ab\",I2)",
       "i i",
       {"123", "45"},
       fio::IO_OK,
       "",
       1,
       AT_END},
      {"slash goes to the next line", "1\n2\nnext\n", "(I3/I3)", "i i", {"1", "2"}, fio::IO_OK, "", 2, "next"},
      {"a slash before the next data descriptor is taken",
       "1\nskipped\nnext\n",
       "(I2/)",
       "i",
       {"1"},
       fio::IO_OK,
       "",
       2,
       "next"},
      {"colon stops when no targets remain", "1\nnext\n", "(I2,:/)", "i", {"1"}, fio::IO_OK, "", 1, "next"},
      {"stops at the first data descriptor without target",
       "1 2\nnext\n",
       "(I2,I2)",
       "i",
       {"1"},
       fio::IO_OK,
       "",
       1,
       "next"},
      {"group repeated", "1 2 \n", "(2(I1,1X))", "i i", {"1", "2"}, fio::IO_OK, "", 1, AT_END},
      {"reversion to the last outer group",
       "  1 2 3\n 4 5\n 6\nnext\n",
       "(I3,2(I2))",
       "i i i i i i",
       {"1", "2", "3", "4", "5", "6"},
       fio::IO_OK,
       "",
       3,
       "next"},
      {"reversion without groups restarts", "1 2\n3\n", "(I2,I2)", "i i i", {"1", "2", "3"}, fio::IO_OK, "", 2, AT_END},
      {"bad integer field", "12a4\n", "(I4)", "i", {UNCHANGED}, fio::IO_BAD_VALUE, "12a4", 1, AT_END},
      {"integer field out of range",
       "99999999999\n",
       "(I12)",
       "i",
       {UNCHANGED},
       fio::IO_BAD_VALUE,
       "99999999999",
       1,
       AT_END},
      {"bad real field keeps earlier values",
       "  1.51.2.3\n",
       "(F5.1,F5.1)",
       "r r",
       {"1.5", UNCHANGED},
       fio::IO_BAD_VALUE,
       "1.2.3",
       1,
       AT_END},
      {"numeric field into a text target", "123\n", "(I3)", "t", {UNCHANGED}, fio::IO_BAD_VALUE, "123", 1, AT_END},
      {"end of file after a slash", "1\n", "(I2/I2)", "i i", {"1", UNCHANGED}, fio::IO_END, "", 1, AT_END},
      {"end of file at the start", "", "(I2)", "i", {UNCHANGED}, fio::IO_END, "", 0, AT_END},
      {"layout with no data descriptor", "x\nnext\n", "(\"x\")", "i", {UNCHANGED}, fio::IO_BAD_LAYOUT, "", 1, "next"},
      {"layout that does not parse", "1\n", "(Q5)", "i", {UNCHANGED}, fio::IO_BAD_LAYOUT, "", 0, "1"},
  };
  for (const ReadCase& c : cases) {
    const fio::Format format(c.layout);
    run_case(c, [&format](const std::vector<fio::Target>& list) {
      return fio::read_formatted_targets(MEMORY_UNIT, format, list.data(), list.size());
    });
  }
}

// Regression: a displacement of 2.46e-116 written G18.8 as "2.46160442-116"
// did not read back list-directed and ended a flexibility run. Every value
// the writers' real layouts produce, from 1e-300 to 1e300 of either sign,
// reads back within the digits the layout keeps, list-directed and by the
// same layout.
TEST_F(FioReadTest, WrittenRealsReadBackAcrossTheRangeOfDouble) {
  struct Layout {
    const char* write;
    const char* read;
    double digits_kept;  // relative rounding of the layout
  };
  const std::vector<Layout> layouts = {{"(1P,G18.8)", "(G18.0)", 1e-8},
                                       {"(G18.8)", "(G18.0)", 1e-8},
                                       {"(E16.8)", "(E16.0)", 1e-8},
                                       {"(1P,E16.7)", "(E16.0)", 1e-7},
                                       {"(E12.5)", "(E12.0)", 1e-5}};
  for (const Layout& layout : layouts) {
    for (int exponent = -300; exponent <= 300; ++exponent) {
      for (const double sign : {1.0, -1.0}) {
        const double value = sign * 2.4616044217 * std::pow(10.0, exponent);
        const std::string name = std::string(layout.write) + " of " + std::to_string(value);
        ASSERT_EQ(fio::open_memory(MEMORY_UNIT, {}, fio::Form::Formatted), fio::IO_OK);
        ASSERT_EQ(fio::write(MEMORY_UNIT, layout.write, value), fio::IO_OK) << name;
        fio::close(MEMORY_UNIT);
        const std::string text = fio::memory_contents(MEMORY_UNIT);
        ASSERT_EQ(text.find('*'), std::string::npos) << name << ": " << text;
        const double tolerance = layout.digits_kept * std::fabs(value);
        double listed = 0.0;
        ASSERT_EQ(fio::open_memory(MEMORY_UNIT, text, fio::Form::Formatted), fio::IO_OK);
        EXPECT_EQ(fio::read_list(MEMORY_UNIT, listed), fio::IO_OK) << name << ": " << text;
        EXPECT_NEAR(listed, value, tolerance) << name << ": " << text;
        fio::close(MEMORY_UNIT);
        double fixed = 0.0;
        ASSERT_EQ(fio::open_memory(MEMORY_UNIT, text, fio::Form::Formatted), fio::IO_OK);
        EXPECT_EQ(fio::read_formatted(MEMORY_UNIT, fio::cached_format(layout.read), fixed), fio::IO_OK)
            << name << ": " << text;
        EXPECT_NEAR(fixed, value, tolerance) << name << ": " << text;
        fio::close(MEMORY_UNIT);
      }
    }
  }
}

TEST_F(FioReadTest, ReadLineCutsPadsAndEnds) {
  ASSERT_EQ(fio::open_memory(MEMORY_UNIT, "abc\nabcdef\r\nxyz\n"), fio::IO_OK);
  std::string text = OLD_TEXT;
  EXPECT_EQ(fio::read_line(MEMORY_UNIT, text, 5), fio::IO_OK);
  EXPECT_EQ(text, "abc  ");
  EXPECT_EQ(fio::read_line(MEMORY_UNIT, text, 4), fio::IO_OK);
  EXPECT_EQ(text, "abcd");
  EXPECT_EQ(fio::read_line(MEMORY_UNIT, text), fio::IO_OK);
  EXPECT_EQ(text, "xyz");
  EXPECT_EQ(fio::read_line(MEMORY_UNIT, text, 5), fio::IO_END);
  EXPECT_EQ(fio::lines_read(MEMORY_UNIT), 3);
}

// The header's target lists: ranges, fixed-length text and plain references
// must land in order in the right variables.
TEST_F(FioReadTest, ReadListFillsRangesAndTextInOrder) {
  ASSERT_EQ(fio::open_memory(MEMORY_UNIT, "1 2 3.5 4.5 5.5 name 'a b'\n"), fio::IO_OK);
  std::array<int, 2> pair{};
  std::vector<double> reals(3);
  std::string name;
  std::string padded;
  EXPECT_EQ(fio::read_list(MEMORY_UNIT, pair, reals, name, fio::Text{padded, 4}), fio::IO_OK);
  EXPECT_EQ(pair[0], 1);
  EXPECT_EQ(pair[1], 2);
  EXPECT_EQ(reals, (std::vector<double>{3.5, 4.5, 5.5}));
  EXPECT_EQ(name, "name");
  EXPECT_EQ(padded, "a b ");
}

// The values a list-directed read leaves on its last line: what lets the
// reader warn of "600,000" typed for 600000.
TEST_F(FioReadTest, ValuesLeftOnTheLastLineOfAListRead) {
  struct Case {
    const char* input;
    int targets;  // reals read
    int read, left;
  };
  const std::vector<Case> cases = {
      {"1 2 3\n", 3, 3, 0},       {"1 2 3\n", 2, 2, 1}, {"600,000 20 0\n", 2, 2, 2},  // a thousands comma: two values
      {"1 2 'a b' 4\n", 2, 2, 2},                                                     // a quoted text is one value
      {"1 2*0 5\n", 2, 2, 2},                                                         // the rest of a repeat counts
      {"1 2 / 7 8\n", 2, 2, 0},                                                       // a slash ends the values
      {"1 2,\n", 2, 2, 0},      // a comma at the end separates nothing
      {"1,,3,4\n", 3, 3, 1},    // a null value is a value
      {"1\n2 3 4\n", 2, 1, 2},  // counted on the record's last line
      {"1\n\n2\n", 2, 1, 0},      {"1 2\n", 1, 1, 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(fio::open_memory(MEMORY_UNIT, c.input, fio::Form::Formatted), fio::IO_OK) << c.input;
    std::vector<double> values(static_cast<std::size_t>(c.targets));
    EXPECT_EQ(fio::read_list(MEMORY_UNIT, values), fio::IO_OK) << c.input;
    int read = -1;
    int left = -1;
    fio::last_list_line(MEMORY_UNIT, read, left);
    EXPECT_EQ(read, c.read) << c.input;
    EXPECT_EQ(left, c.left) << c.input;
    fio::close(MEMORY_UNIT);
  }
}

TEST_F(FioReadTest, UnitErrorsAreCodesNotFaults) {
  int value = OLD_INT;
  std::string text;
  EXPECT_EQ(fio::read_list(MEMORY_UNIT, value), fio::IO_NOT_OPEN);
  EXPECT_EQ(fio::read_list(fio::MAX_UNIT + 1, value), fio::IO_BAD_UNIT);
  EXPECT_EQ(fio::read_line(-1, text), fio::IO_BAD_UNIT);
  EXPECT_EQ(fio::read_formatted(MEMORY_UNIT, fio::Format("(I3)"), value), fio::IO_NOT_OPEN);
  ASSERT_EQ(fio::open_memory(MEMORY_UNIT, "1\n", fio::Form::Unformatted), fio::IO_OK);
  EXPECT_EQ(fio::read_list(MEMORY_UNIT, value), fio::IO_WRONG_FORM);
  EXPECT_EQ(value, OLD_INT);
  EXPECT_EQ(fio::lines_read(-1), 0);
  EXPECT_EQ(fio::last_bad_field(fio::MAX_UNIT + 1), "");
}

// A failed read's field is reported until the next read, which starts clean.
TEST_F(FioReadTest, BadFieldIsClearedByTheNextRead) {
  ASSERT_EQ(fio::open_memory(MEMORY_UNIT, "x\n1\n"), fio::IO_OK);
  int value = OLD_INT;
  EXPECT_EQ(fio::read_list(MEMORY_UNIT, value), fio::IO_BAD_VALUE);
  EXPECT_EQ(fio::last_bad_field(MEMORY_UNIT), "x");
  EXPECT_EQ(fio::read_list(MEMORY_UNIT, value), fio::IO_OK);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(fio::last_bad_field(MEMORY_UNIT), "");
}

// What a failed list-directed read expected (the target's place and kind,
// or a repeat count), and the first real of a read written without its
// exponent letter: what lets the reader say what was due and warn of "1-3".
TEST_F(FioReadTest, BadTargetAndLetterlessRealOfTheLastRead) {
  struct Case {
    const char* input;
    const char* kinds;  // as Targets reads them
    int status;
    int position;  // of the bad target, -1 none
    fio::Target::Kind kind;
    bool repeat_count;
    const char* letterless;  // the first letterless real, "" none
    int letterless_line;
  };
  using K = fio::Target::Kind;
  const std::vector<Case> cases = {
      {"1 2.5 3\n", "i i i", fio::IO_BAD_VALUE, 1, K::Int, false, "", 0},
      {"1 x\n", "i r", fio::IO_BAD_VALUE, 1, K::Real, false, "", 0},
      {"1 0*5\n", "i i", fio::IO_BAD_VALUE, 1, K::Int, true, "", 0},
      {"1-3 2e-3 4+2\n", "r r r", fio::IO_OK, -1, K::Int, false, "1-3", 1},
      {"1\n2 3*0.5+1\n", "r r r r", fio::IO_OK, -1, K::Int, false, "0.5+1", 2},
      {"1.5D-3 2E+1\n", "r r", fio::IO_OK, -1, K::Int, false, "", 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(fio::open_memory(MEMORY_UNIT, c.input), fio::IO_OK) << c.input;
    Targets targets(c.kinds);
    EXPECT_EQ(fio::read_list_targets(MEMORY_UNIT, targets.list.data(), targets.list.size()), c.status) << c.input;
    const fio::BadValueTarget bad = fio::last_bad_target(MEMORY_UNIT);
    EXPECT_EQ(bad.position, c.position) << c.input;
    if (c.position >= 0) {
      EXPECT_EQ(bad.kind, c.kind) << c.input;
    }
    EXPECT_EQ(bad.repeat_count, c.repeat_count) << c.input;
    std::string field;
    int line = -1;
    EXPECT_EQ(fio::last_letterless_real(MEMORY_UNIT, field, line), *c.letterless != '\0') << c.input;
    EXPECT_EQ(field, c.letterless) << c.input;
    EXPECT_EQ(line, c.letterless_line) << c.input;
    fio::close(MEMORY_UNIT);
  }
}

}  // namespace
}  // namespace pilecap
