// The machinery the section readers of the input data file share: one
// list-directed read per input line list on UNIT_INPUT, header lines with
// their "READING" line on the run log, and the checks of counts and values.
// Every failure becomes a status word (40 or 42) and the detail line of the
// final message, naming the section, the line number and the offending text;
// after it every further read is refused, so a section reader may simply
// return.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/run_state.hpp"

namespace pilecap::input_detail {

// Elements n apart in memory, seen as one range of read targets: a row of a
// table whose first index varies fastest.
template <class T>
class StridedRange {
 public:
  StridedRange(T* first, std::ptrdiff_t step, int count) : first_(first), step_(step), count_(count) {}
  struct iterator {
    T* first;
    std::ptrdiff_t step;
    int k;
    T& operator*() const { return first[step * k]; }
    iterator& operator++() {
      ++k;
      return *this;
    }
    bool operator!=(const iterator& other) const { return k != other.k; }
  };
  iterator begin() const { return {first_, step_, 0}; }
  iterator end() const { return {first_, step_, count_}; }

 private:
  T* first_;
  std::ptrdiff_t step_;
  int count_;
};

// a(i, first) .. a(i, first + count - 1) of a fixed table.
template <class T, int R, int C>
StridedRange<T> row(Array2<T, R, C>& a, int i, int first, int count) {
  PILECAP_ASSERT(count >= 0 && first >= 1 && first + count - 1 <= C, "row inside the table");
  return StridedRange<T>(&a(i, first), R, count);
}

// t(i, first) .. t(i, first + count - 1) of a model-store table.
template <class T>
StridedRange<T> row(Table2<T>& t, int i, int first, int count) {
  PILECAP_ASSERT(count >= 0 && first >= 1 && first + count - 1 <= t.columns(), "row inside the table");
  return StridedRange<T>(&t(i, first), Table2<T>::column_step(), count);
}

// a(1) .. a(count).
template <class T, int N>
StridedRange<T> leading(Array1<T, N>& a, int count) {
  PILECAP_ASSERT(count >= 0 && count <= N, "leading part inside the array");
  return StridedRange<T>(a.data(), 1, count);
}

// Section numbers of the input file; 0 stands for the two title lines.
enum InputSection : int {
  TITLE_LINES = 0,
  SECTION_OPTIONS = 1,
  SECTION_PILE_CAP = 2,
  SECTION_LOAD_CASES = 3,
  SECTION_LOAD_COMBINATIONS = 4,
  SECTION_DISTRIBUTED_LOAD_SETS = 5,
  SECTION_SOIL_MOVEMENT_SETS = 6,
  SECTION_PILE_ARRANGEMENT = 7,
  SECTION_PROPERTY_SETS = 8,
  SECTION_CROSS_SECTIONS = 9,
  SECTION_SOIL_LAYERS = 10,
  SECTION_PY_PRINT_REQUESTS = 11,
  SECTION_USER_PY_CURVES = 12,
  SECTION_GENERATED_LS_PILES = 13,
  SECTION_GENERATED_TR_PILES = 14,
  SECTION_USER_LS_CURVES = 15,
  SECTION_USER_TR_CURVES = 16,
  SECTION_MOMENT_CURVATURE_SETS = 17,
  SECTION_SECTION_CURVES = 18,
  SECTION_SECTION_BILINEAR = 19,
  SECTION_DEPTH_FACTORS = 20,
  SECTION_SOIL_MOVEMENT_PROFILE = 21,
  SECTION_PY_EXPORT = 22,
};

// The input lines of the load entries and members, kept for the checks that
// can only be made once the piles and load sets are known.
struct EntryLines {
  Array2<int, MAX_LOAD_CASES, MAX_CASE_LOADS> distributed{}, soil_movement{};
};

// A target of a read that holds the count of a list: its 0-based place in
// the read's list of targets and the capacity of the list.
struct CountPlace {
  int position;
  int capacity;
};

// One entry of the stack of counted lists being read.
struct ListFrame {
  const char* item;  // what the list holds, as the count check names it
  int count;
  int count_line;  // the line that gave the count
  int entry = 0;   // 1-based entry now being read
};

// One pass over the input file.
class InputReader {
 public:
  explicit InputReader(int& status) : status_(status) {}

  bool ok() const { return status_ == STATUS_OK; }
  int section() const { return section_; }

  // Line number of the last line read.
  int line() const { return fio::lines_read(UNIT_INPUT); }

  // One list-directed read: the next line and as many more as the targets
  // need. A real the model cannot use (see MAX_INPUT_MAGNITUDE) ends the read.
  template <class... A>
  bool read(A&&... targets) {
    if (!ok()) return false;
    record_line_ = line() + 1;
    if (!settle(fio::read_list(UNIT_INPUT, std::forward<A>(targets)...))) return false;
    note_unread_values();
    note_letterless_real();
    return (usable(targets) && ...);
  }

  // One read whose targets at the places given are counts: a value that is
  // no integer is named as the count that was due.
  template <class... A>
  bool read_counting(std::initializer_list<CountPlace> places, A&&... targets) {
    counts_due_.assign(places);
    const bool done = read(std::forward<A>(targets)...);
    counts_due_.clear();
    return done;
  }

  // A line holding one count, read and checked.
  bool read_count(int& n, const char* item, int capacity) {
    return read_counting({{0, capacity}}, n) && count(n, item, capacity);
  }

  // Takes n lines of one real each and keeps none of them.
  bool discard_reals(int n);

  // Reads the header line of a section and reports it on the run log.
  bool header(int section);

  // The header of a section and the count that opens it, checked.
  bool section_count(int section, int& n, const char* item, int capacity) {
    return header(section) && read_count(n, item, capacity);
  }

  // Reads one line as text of TEXT_LINE_LENGTH characters.
  bool text_line(std::string& text);

  // A count just read: one of zero or less becomes 0 (nothing follows it);
  // one above capacity ends the read with STATUS_CAPACITY_EXCEEDED.
  bool count(int& n, const char* item, int capacity);

  // Ends the read with STATUS_INPUT_DATA_ERROR for a value the analysis
  // cannot use, at the last line read or at the line given.
  void reject(std::string_view text, std::string_view reason);
  void reject_at(int section, int line, std::string_view text, std::string_view reason);

  // A warning on the run log about the value text at the line given, which
  // the analysis takes as it stands.
  void warn_at(int line, std::string_view text, std::string_view reason);

  EntryLines& entry_lines() { return *entry_lines_; }

  // A counted list of the top level has been read to its end: the last one
  // before a header is named when that header holds numbers only.
  void list_closed(const ListFrame& list) {
    if (lists_.size() == 1) {
      last_list_ = list;
      last_list_section_ = section_;
    }
  }

  // The counted lists being read, innermost last (see CountedList).
  std::vector<ListFrame>& lists() { return lists_; }

 private:
  bool settle(int io_result);

  // The detail of a value that does not fit its target: what was due, and
  // for a word inside a counted list, the count that may be too high.
  std::string bad_value_detail(const std::string& field) const;

  // The counted list a message may name, after the text before it.
  std::string list_context() const;

  // Warns of a real typed with a sign but no exponent letter ("1-3"):
  // read as 0.001, and more often a blank left out by hand.
  void note_letterless_real();

  // Ends the read when the line just read holds bytes that are no text.
  bool text_bytes(const std::string& line);

  // Notes a header line that holds the usual header of another section:
  // the section is out of its place, and a failure later names it.
  void note_misplaced_header(const std::string& text);

  // Warns, on the run log, of a line that holds more values than its record
  // reads: a thousands separator typed as a comma ("600,000" for 600000) is
  // two values, and the ones after it shift into the next fields.
  void note_unread_values();

  // Rejects the first real of a read target that the model cannot use.
  bool usable_real(double value);
  template <class T>
  bool usable(T& target) {
    using V = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<V, double>) {
      return usable_real(target);
    } else if constexpr (std::is_arithmetic_v<V> || std::is_same_v<V, std::string> || std::is_same_v<V, fio::Text>) {
      return true;
    } else {
      for (auto& element : target) {
        if (!usable(element)) return false;
      }
      return true;
    }
  }
  void fail(int status, int section, int line, const std::string& detail);

  int& status_;
  int section_ = TITLE_LINES;
  int record_line_ = 0;  // the first line of the list-directed record being read
  std::unique_ptr<EntryLines> entry_lines_ = std::make_unique<EntryLines>();
  std::vector<CountPlace> counts_due_;
  std::vector<ListFrame> lists_;
  // The first header line that held another section's usual header.
  int misplaced_line_ = 0;
  int misplaced_section_ = 0;  // the section whose header it holds
  int misplaced_due_ = 0;      // the section the reader took it for
  // The last counted list of the top level and its section.
  ListFrame last_list_{"", 0, 0};
  int last_list_section_ = 0;
  // The first header line that held numbers only (an entry more than the
  // count before it promised, most likely), its section, and the list that
  // ended before it (count line 0: none); a failure later names them.
  int numeric_header_line_ = 0;
  int numeric_header_section_ = 0;
  ListFrame numeric_header_list_{"", 0, 0};
  int numeric_header_list_section_ = 0;
};

// The entries of a list whose count was just read, for the messages of a
// read inside it that fails: a word where a number of the list is due says
// which count it may have outrun. Made right after the count is read and
// checked; entry(k) marks entry k as the one being read.
class CountedList {
 public:
  CountedList(InputReader& in, const char* item, int count) : in_(in), index_(in.lists().size()) {
    in_.lists().push_back({item, count, in_.line()});
  }
  ~CountedList() {
    in_.list_closed(in_.lists().back());
    in_.lists().pop_back();
  }
  CountedList(const CountedList&) = delete;
  CountedList& operator=(const CountedList&) = delete;
  void entry(int k) { in_.lists()[index_].entry = k; }

 private:
  InputReader& in_;
  std::size_t index_;
};

// "INPUT SECTION 10 (SOIL LAYERS), LINE 59": a line as the messages name it.
std::string line_place(int section, int line);

// Shortest text of a number for a message.
std::string number_text(double value);

// The section readers, in file order. Each returns at the first failure.
void read_options(InputReader& in);
void read_pile_cap(InputReader& in);
void read_load_cases(InputReader& in);
void read_load_combinations(InputReader& in);
void read_load_sets(InputReader& in, int section, LoadSetHalf& half);
void read_pile_arrangement(InputReader& in);
void read_property_sets(InputReader& in);
void read_cross_sections(InputReader& in);
void read_soil_layers(InputReader& in);
void read_py_print_requests(InputReader& in);
void read_user_py_curves(InputReader& in);
void read_generated_curve_piles(InputReader& in, int section, int& count, Table1<int>& piles,
                                Array1<int, TABLE_CAPACITY>& lines);
void read_user_ls_curves(InputReader& in);
void read_user_tr_curves(InputReader& in);
void read_moment_curvature_sets(InputReader& in);
void read_section_curves(InputReader& in);
void read_section_bilinear_data(InputReader& in);
void read_depth_factor_tables(InputReader& in);
void read_soil_movement_profile(InputReader& in);
void read_py_export_request(InputReader& in);

// Checks the pile ranges and load-set numbers of the load entries of every
// case, once the piles and the load sets have been read.
void check_load_entries(InputReader& in);

}  // namespace pilecap::input_detail
