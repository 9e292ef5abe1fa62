// The non-finite scan of the reports: whole words only, in any case, glued to
// a sign or a digit or not.
#include <gtest/gtest.h>

#include "tests/support/report_scan.hpp"

namespace pilecap::testing {
namespace {

TEST(ReportScan, FindsNonFiniteNumbersAsWholeWordsOnly) {
  struct Case {
    const char* text;
    const char* found;
  } cases[] = {
      {"   1.2345E+00   -0.5000", ""},
      {"SEE THE INFORMATION ABOUT INFINITE SPRINGS", ""},
      {"    DEFINED IN LOAD-SETTLEMENT CURVE", ""},
      {"   -inf    1.0", "inf"},
      {"  1.5       NaN", "NaN"},
      {"x=-nan,", "nan"},
      {"      Infinity", "Infinity"},
      {"  0.1234E+01inf", "inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(first_non_finite_word(c.text), c.found) << c.text;
}

}  // namespace
}  // namespace pilecap::testing
