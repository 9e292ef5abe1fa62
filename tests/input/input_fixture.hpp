// Test fixture generator for input data files. A deck is written line list
// by line list from a small model description; every value written carries
// a getter of the record field it must land in, so after a read the test
// compares each field with what the file held, as text. The writing style
// varies how the same values appear: spread over several lines, r*c repeats,
// null values and slashes for items that keep their zero.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pilecap::testing {

struct DeckStyle {
  bool spread = false;   // at most three values on a physical line
  bool repeats = false;  // runs of equal values as r*c
  bool nulls = false;    // zero values that may stay unchanged as empty values
  bool slashes = false;  // trailing zero values that may stay unchanged cut by a slash
};

// The switches of the model that add or remove lines.
struct DeckSwitches {
  int units = 1;
  int dimension = 2;
  int force_unit = 0;
  int pmult_method = 0;
  int cap_passive_option = 0;
  int cap_model = 0;
  int nonsymmetric_ei = 0;
  int export_unformatted = 0;
  bool point_loads = false;        // the first load case prescribes loads at a point
  bool optional_sections = false;  // sections 11, 12, 15, 16, 20, 21, 22 and the discarded cap lines
  int n_piles = 2;
  int n_cases = 2;
  int n_combinations = 1;
  DeckStyle style;
};

// A value of one item and where it must be found after the read.
struct Expectation {
  std::string where;     // e.g. "LoadCase.tolerance(2)"
  std::string expected;  // as text
  std::function<std::string()> actual;
};

// One item of a list-directed read.
struct DeckItem {
  enum class Kind { Int, Real, Text } kind = Kind::Int;
  long long i = 0;
  double r = 0.0;
  std::string text;
  bool nullable = true;  // its target holds 0 before the read
  std::string where;
  std::function<std::string()> actual;  // empty: nothing stores the value
};

// Field values as compared text.
std::string field_text(int value);
std::string field_text(double value);
std::string field_text(const std::string& value);

class DeckWriter {
 public:
  explicit DeckWriter(DeckStyle style) : style_(style) {}

  // A whole line of text (title, header, case name).
  void text_line(const std::string& text);
  // The header line of section s: its text names the section.
  void header(int section);
  // One list-directed read of the items.
  void read(const std::vector<DeckItem>& items);
  // An expectation that does not come from one written value.
  void expect(const std::string& where, const std::string& expected, std::function<std::string()> actual);

  std::string text() const { return text_; }
  int lines() const { return lines_; }
  // Line number of the header of section s (0 when it is absent).
  int header_line(int section) const;
  // Names the first line of the last read, and finds it again.
  void mark(const std::string& name) { marks_.emplace_back(name, last_read_line_); }
  int marked(const std::string& name) const;
  const std::vector<Expectation>& expectations() const { return expectations_; }

 private:
  DeckStyle style_;
  std::string text_;
  int lines_ = 0;
  std::vector<std::pair<int, int>> headers_;
  std::vector<std::pair<std::string, int>> marks_;
  int last_read_line_ = 0;
  std::vector<Expectation> expectations_;
};

// Items: an int, a real or a quoted text, stored at the field named (or
// not stored at all with an empty name).
DeckItem I(long long value, std::string where = {}, std::function<std::string()> actual = {});
DeckItem R(double value, std::string where = {}, std::function<std::string()> actual = {});
DeckItem T(const std::string& value, std::string where = {}, std::function<std::string()> actual = {});
// The same item whose target does not hold 0 before the read.
DeckItem kept(DeckItem item);

// Writes a whole input file for the switches.
void write_deck(const DeckSwitches& switches, DeckWriter& deck);

}  // namespace pilecap::testing

// A getter of a record field, for the items of a deck.
#define FIELD(expr) #expr, [=] { return ::pilecap::testing::field_text(expr); }
