// fio: the engine's Fortran-style input and output layer.
// Files are known by unit numbers (0 .. MAX_UNIT). A unit is a formatted
// text file, an unformatted sequential file (4-byte little-endian record
// lengths before and after every record), or an in-memory unit that tests use
// to feed input and capture output. Report lines are written with layout
// strings such as "(5X,\"STEP \",I5,F10.4)", list-directed, or field by field
// through append() and end_line(). Every operation on a unit holds that unit's
// lock, so two threads may write two units at once and each line stays whole.
// Results are iostat-like codes: 0 success, IO_END at end of file, positive on
// failure; nothing here throws or aborts on bad data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pilecap::fio {

constexpr int MAX_UNIT = 999;

// Results of the unit operations.
constexpr int IO_OK = 0;
constexpr int IO_END = -1;          // end of file before the read was satisfied
constexpr int IO_BAD_UNIT = 1;      // unit number outside 0 .. MAX_UNIT
constexpr int IO_NOT_OPEN = 2;      // the unit is not connected
constexpr int IO_OPEN_FAILED = 3;   // the file could not be opened or created
constexpr int IO_WRITE_FAILED = 4;  // the file system refused the data
constexpr int IO_BAD_VALUE = 5;     // an input field is not a valid constant
constexpr int IO_BAD_RECORD = 6;    // an unformatted record is damaged or too short
constexpr int IO_WRONG_FORM = 7;    // formatted access to an unformatted unit or back
constexpr int IO_BAD_LAYOUT = 8;    // the layout string cannot be parsed
constexpr int IO_WRONG_MODE = 9;    // a write to a unit opened to read, or back

// How a file is opened.
enum class Mode {
  Write,       // a new file (see open); the unit can be read back after rewind
  Read,        // existing file only; never created, never truncated
  ReadCreate,  // as Read, but an absent file is created empty first
};
enum class Form { Formatted, Unformatted };
enum class Buffering { Line, Block };  // Line: the file gets each line when it ends

// ---------------------------------------------------------------- units

// Connects unit to the file at path. A unit already open is closed first.
// Mode::Write makes the file anew: a file or a symbolic link of that name is
// removed and a new file created, so nothing is written through a link or
// into a file that another name shares; a device or a pipe of that name
// (/dev/null) is opened as it is. A path holding a NUL character names no
// file and is refused.
int open(int unit, std::string_view path, Mode mode, Form form = Form::Formatted,
         Buffering buffering = Buffering::Line);

// Connects unit to memory. contents is what reads return; writes append.
// The data stay readable through memory_contents() after close, until the
// unit is opened again.
int open_memory(int unit, std::string_view contents = {}, Form form = Form::Formatted);

// Everything written to a memory unit so far (ended lines only).
std::string memory_contents(int unit);

namespace internal {
struct Unit;
}

// While a capture lives, the formatted writes of the thread that made it to
// its unit go to the capture instead (every other thread still writes the
// file), so that threads can format blocks of one report side by side and
// the calling thread hand them to the unit in a fixed order. One capture per
// thread at a time, destroyed by the thread that made it: a nested capture or
// one ended on another thread aborts the program in every build.
class CaptureUnit {
 public:
  explicit CaptureUnit(int unit);
  ~CaptureUnit();
  CaptureUnit(const CaptureUnit&) = delete;
  CaptureUnit& operator=(const CaptureUnit&) = delete;

  // What was written so far: the ended lines, each with its LF, then the
  // text of a line left open (without LF). The capture starts empty again.
  std::string take();

 private:
  std::unique_ptr<internal::Unit> memory_;
};

// Writes captured text to the unit as the writes that made it would have:
// the same bytes, the first line continuing a line the unit left open, and
// text after the last LF left an open line. The ended lines reach the file
// together, at the hand-over of the last.
int write_captured(int unit, std::string_view text);

// Ends a pending open line, flushes and disconnects. A unit not open: no-op.
// Returns IO_WRITE_FAILED when the file system refused the last data.
int close(int unit);

// Closes every open unit (end of a run, test teardown).
void close_all();

bool is_open(int unit);

// Back to the first record. A unit opened to write then rewrites from there.
int rewind(int unit);

// Unformatted units: back to the start of the record just read or written.
int backspace(int unit);

// Hands buffered data to the file system.
int flush(int unit);

// The first write, flush or close of a file opened to write that the file
// system refused (a full disk, a file beyond the size limit, a quota) since
// the last clear_write_failure(), with the unit, the file's path and the
// system's error number. Every unit operation records its own failure, so a
// caller that does not look at a result still leaves it here. Memory units
// never fail.
struct WriteFailure {
  int unit = 0;
  std::string path;
  int error = 0;  // errno of the refused call
};
bool first_write_failure(WriteFailure& failure);
void clear_write_failure();

// Removes the file or symbolic link of that name (never the file a link
// points to); a folder, a device or a pipe of that name is left alone.
// Returns whether nothing of those kinds is left under the name.
bool remove_file(std::string_view path);

// Lines read from a formatted unit since its open or rewind, and the text of
// the field that made the last read fail with IO_BAD_VALUE.
int lines_read(int unit);
std::string last_bad_field(int unit);

// The last list-directed read of a unit that ended without a slash: the
// values it took from its last line and those that line holds after them,
// which the read leaves unread (0 and 0 after any other read).
void last_list_line(int unit, int& values_read, int& values_left);

// The text of the line a formatted or list-directed read of the unit last
// fetched.
std::string last_line(int unit);

// ------------------------------------------------------------ values

// One value of a formatted or list-directed write.
struct Item {
  enum class Kind : std::uint8_t { Int, Real, Text } kind;
  long long i = 0;
  double r = 0.0;
  std::string_view s;
};

// One target of a read. Text targets take their declared length: a longer
// value is cut, a shorter one padded with blanks; length 0 takes the value
// as it stands.
struct Target {
  enum class Kind : std::uint8_t { Int, Real, Text } kind;
  void* p = nullptr;
  std::size_t length = 0;
};

// A text target of fixed declared length.
struct Text {
  std::string& value;
  std::size_t length;
};

// What the last list-directed read of a unit that failed with IO_BAD_VALUE
// expected: the 0-based place of the target in its list of targets and that
// target's kind, or a repeat count (r*c) that is not a positive integer.
struct BadValueTarget {
  int position = -1;
  Target::Kind kind = Target::Kind::Int;
  bool repeat_count = false;
};
BadValueTarget last_bad_target(int unit);

// The first real of the last list-directed read of a unit written with an
// exponent of a sign and digits but no letter ("1-3", read as 0.001), and
// the line that held it; false when the read took no such real.
bool last_letterless_real(int unit, std::string& field, int& line);

// ----------------------------------------------------------- layouts

// A layout parsed once. Build it where the layout string is named:
//   static const fio::Format STEP_LAYOUT("(5X,\"STEP \",I5)");
class Format {
 public:
  explicit Format(std::string_view text);
  bool valid() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  const std::string& text() const { return text_; }

  enum class Op : std::uint8_t {
    Literal,     // text
    Blanks,      // n blanks (nX)
    Slash,       // end the line
    Scale,       // kP
    Colon,       // stop here when no values remain
    Int,         // Iw.m
    Fixed,       // Fw.d
    Exponent,    // Ew.d / Dw.d (letter in 'letter')
    General,     // Gw.d
    Chars,       // Aw (w = 0: full length)
    GroupOpen,   // n( ... ; n in count, matching close in link
    GroupClose,  // ... ); matching open in link
  };
  struct Token {
    Op op;
    int w = 0;  // width, count of nX, scale of kP, repeat of a group
    int d = 0;  // decimals, digits, or minimum digits of Iw.m (-1 none)
    char letter = 'E';
    int link = -1;
    std::string text;
  };
  const std::vector<Token>& tokens() const { return tokens_; }
  bool keeps_line_open() const { return keep_open_; }
  int reversion_point() const { return reversion_; }

 private:
  std::string text_;
  std::string error_;
  std::vector<Token> tokens_;
  bool keep_open_ = false;
  int reversion_ = 0;
};

// The parsed layout of a run-time string, parsed on first use and cached.
const Format& cached_format(std::string_view text);

// ----------------------------------------------------- edit primitives
// Each writes exactly w characters at out (w asterisks when the value does
// not fit). They allocate nothing and serve the field writers directly.

void edit_integer(char* out, int w, int min_digits, long long value);
void edit_fixed(char* out, int w, int d, double value);
void edit_exponent(char* out, int w, int d, int scale, double value, char letter = 'E');
void edit_general(char* out, int w, int d, int scale, double value);

// ------------------------------------------------------ formatted I/O

int write_items(int unit, const Format& format, const Item* items, std::size_t count);
int write_list_items(int unit, const Item* items, std::size_t count);
int read_list_targets(int unit, const Target* targets, std::size_t count);
int read_formatted_targets(int unit, const Format& format, const Target* targets, std::size_t count);
int write_record_items(int unit, const Item* items, std::size_t count);
int read_record_targets(int unit, const Target* targets, std::size_t count);

// Appends text to the unit's current line and leaves the line open.
int append(int unit, std::string_view text);

// Ends the current line (an empty line when nothing is pending).
int end_line(int unit);

// Reads the next line as text of the given length: cut, or padded with blanks.
// length 0 keeps the line as it stands.
int read_line(int unit, std::string& text, std::size_t length = 0);

// ------------------------------------------------ item and target lists

namespace detail {

template <class T>
concept TextLike = std::is_convertible_v<const T&, std::string_view>;

template <class T>
concept Range = !TextLike<T> && requires(const T& t) {
  t.begin();
  t.end();
};

inline void add(std::vector<Item>& out, long long v) { out.push_back({Item::Kind::Int, v, 0.0, {}}); }
inline void add(std::vector<Item>& out, double v) { out.push_back({Item::Kind::Real, 0, v, {}}); }
inline void add(std::vector<Item>& out, std::string_view v) { out.push_back({Item::Kind::Text, 0, 0.0, v}); }

template <class T>
void add_value(std::vector<Item>& out, const T& v) {
  if constexpr (TextLike<T>) {
    add(out, std::string_view(v));
  } else if constexpr (std::is_same_v<T, char>) {
    add(out, std::string_view(&v, 1));
  } else if constexpr (std::is_integral_v<T>) {
    add(out, static_cast<long long>(v));
  } else if constexpr (std::is_floating_point_v<T>) {
    add(out, static_cast<double>(v));
  } else if constexpr (Range<T>) {
    for (const auto& element : v) add_value(out, element);
  } else {
    static_assert(sizeof(T) == 0, "fio cannot write this type");
  }
}

inline void add_target(std::vector<Target>& out, int& v) { out.push_back({Target::Kind::Int, &v, 0}); }
inline void add_target(std::vector<Target>& out, double& v) { out.push_back({Target::Kind::Real, &v, 0}); }
inline void add_target(std::vector<Target>& out, std::string& v) { out.push_back({Target::Kind::Text, &v, 0}); }
inline void add_target(std::vector<Target>& out, Text v) { out.push_back({Target::Kind::Text, &v.value, v.length}); }
template <class R>
requires(!std::is_same_v<R, std::string> && requires(R & r) {
  r.begin();
  r.end();
}) void add_target(std::vector<Target>& out, R& range) {
  for (auto& element : range) add_target(out, element);
}

// Per-thread scratch lists, so a write allocates only while they first grow.
std::vector<Item>& item_scratch();
std::vector<Target>& target_scratch();

}  // namespace detail

// Formatted write of the values with a parsed layout.
template <class... A>
int write(int unit, const Format& format, const A&... values) {
  auto& items = detail::item_scratch();
  items.clear();
  (detail::add_value(items, values), ...);
  return write_items(unit, format, items.data(), items.size());
}

// Formatted write with a layout string, parsed once and cached.
template <class... A>
int write(int unit, std::string_view layout, const A&... values) {
  return write(unit, cached_format(layout), values...);
}

// List-directed write: one blank, then the values; an empty list ends the
// pending line or writes an empty line.
template <class... A>
int write_list(int unit, const A&... values) {
  auto& items = detail::item_scratch();
  items.clear();
  (detail::add_value(items, values), ...);
  return write_list_items(unit, items.data(), items.size());
}

// List-directed read into int&, double&, std::string&, Text{...} or ranges of them.
template <class... A>
int read_list(int unit, A&&... targets) {
  auto& list = detail::target_scratch();
  list.clear();
  (detail::add_target(list, targets), ...);
  return read_list_targets(unit, list.data(), list.size());
}

// Formatted read of one line (more after slashes) by fixed columns.
template <class... A>
int read_formatted(int unit, const Format& format, A&&... targets) {
  auto& list = detail::target_scratch();
  list.clear();
  (detail::add_target(list, targets), ...);
  return read_formatted_targets(unit, format, list.data(), list.size());
}

// One unformatted record: integers as 4 bytes, reals as 8, text as its bytes.
template <class... A>
int write_record(int unit, const A&... values) {
  auto& items = detail::item_scratch();
  items.clear();
  (detail::add_value(items, values), ...);
  return write_record_items(unit, items.data(), items.size());
}

// Reads the next unformatted record into the targets; the rest of a longer
// record is skipped, a shorter record is IO_BAD_RECORD.
template <class... A>
int read_record(int unit, A&&... targets) {
  auto& list = detail::target_scratch();
  list.clear();
  (detail::add_target(list, targets), ...);
  return read_record_targets(unit, list.data(), list.size());
}

}  // namespace pilecap::fio
