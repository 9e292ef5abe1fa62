// fio reading: list-directed reads, fixed-column reads by layout, whole
// lines as text, and the unit's read counters. A read always starts on a
// fresh line and keeps no line state afterwards, so whatever it leaves of its
// last line is skipped. The current line lives in Unit::read_line; numbers
// are converted with std::from_chars, which reads the exact decimal value and
// rounds it once, so every constant reads back to the double it was
// written from.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>

#include "base/fio_unit.hpp"

namespace pilecap::fio {

namespace {

using internal::Unit;

constexpr char BLANK = ' ';
constexpr char TAB = '\t';
constexpr char COMMA = ',';
constexpr char SLASH = '/';
constexpr char REPEAT_MARK = '*';
constexpr char APOSTROPHE = '\'';
constexpr char QUOTATION_MARK = '"';

// An exponent beyond this is out of any double's range either way; capping it
// keeps the magnitude estimate free of overflow for absurdly long exponents.
constexpr long EXPONENT_CAP = 100000;

// Nesting limit of layout groups on input; deeper layouts are refused.
constexpr int MAX_GROUP_DEPTH = 16;

bool is_blank(char c) { return c == BLANK || c == TAB; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_sign(char c) { return c == '+' || c == '-'; }
bool is_quote(char c) { return c == APOSTROPHE || c == QUOTATION_MARK; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// A value separator or the slash that ends a list-directed read.
bool ends_bare_value(char c) { return is_blank(c) || c == COMMA || c == SLASH; }

// Stores text into a text target: cut or padded with blanks to length,
// or as it stands when length is 0.
void store_text(const Target& target, std::string_view text) {
  auto& value = *static_cast<std::string*>(target.p);
  value.assign(text);
  if (target.length > 0) value.resize(target.length, BLANK);
}

// PARSE_INT
// Reads an integer constant: an optional sign and at least one digit, nothing
// else, within the range of int.
//   in:  text   the whole field, blanks already removed
//   out: value  set only on success
//   returns false for anything that is not such a constant
bool parse_int(std::string_view text, int& value) {
  std::size_t first_digit = 0;
  if (!text.empty() && is_sign(text[0])) first_digit = 1;
  if (first_digit == text.size()) return false;
  for (std::size_t k = first_digit; k < text.size(); ++k) {
    if (!is_digit(text[k])) return false;
  }
  // from_chars takes a minus sign but not a plus sign.
  const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
  const char* end = text.data() + text.size();
  int parsed = 0;
  const auto [stop, error] = std::from_chars(begin, end, parsed);
  if (error != std::errc() || stop != end) return false;
  value = parsed;
  return true;
}

// PARSE_REAL
// Reads a real constant: optional sign, digits with an optional decimal point
// (at least one digit in all), then an optional exponent: a letter E, e, D or
// d, an optional sign and digits. Where the caller allows it, also an
// exponent written as a sign and digits without a letter, the form that
// exponents beyond two digits are printed in (0.12345+100).
//   in:  text              the whole field, blanks already removed
//   in:  implied_decimals  a constant with neither decimal point nor exponent
//                          is taken as that many decimals (12345, 2 -> 123.45)
//   in:  letterless_exponent  accept the sign-and-digits exponent
//   in,out: scratch        reused buffer for the text handed to from_chars
//   out: value             set only on success; a value below the smallest
//                          double reads as zero of its sign
//   out: letterless_used   when given: whether the exponent had no letter
//   returns false for a malformed constant or one beyond the range of double
bool parse_real(std::string_view text, int implied_decimals, bool letterless_exponent, std::string& scratch,
                double& value, bool* letterless_used = nullptr) {
  const std::size_t n = text.size();
  std::size_t at = 0;
  const bool negative = n > 0 && text[0] == '-';
  if (n > 0 && is_sign(text[0])) ++at;
  const std::size_t mantissa_start = at;

  // Decimal magnitude of the leading digit, to tell underflow from overflow.
  long significant_integer_digits = 0;
  long fraction_zeros = 0;
  bool nonzero_seen = false;
  std::size_t n_digits = 0;
  while (at < n && is_digit(text[at])) {
    if (text[at] != '0') nonzero_seen = true;
    if (nonzero_seen) ++significant_integer_digits;
    ++n_digits;
    ++at;
  }
  bool has_point = false;
  if (at < n && text[at] == '.') {
    has_point = true;
    ++at;
    while (at < n && is_digit(text[at])) {
      if (text[at] != '0') nonzero_seen = true;
      if (!nonzero_seen) ++fraction_zeros;
      ++n_digits;
      ++at;
    }
  }
  if (n_digits == 0) return false;
  const std::size_t mantissa_end = at;

  bool has_exponent = false;
  bool without_letter = false;
  std::size_t exponent_start = n;  // first character after the letter: sign or digit
  if (at < n) {
    if (is_exponent_letter(text[at])) {
      ++at;
    } else if (!(letterless_exponent && is_sign(text[at]))) {
      return false;
    } else {
      without_letter = true;
    }
    has_exponent = true;
    exponent_start = at;
    if (at < n && is_sign(text[at])) ++at;
    if (at == n) return false;
    for (; at < n; ++at) {
      if (!is_digit(text[at])) return false;
    }
  }

  scratch.assign(text.substr(negative ? 0 : mantissa_start, mantissa_end - (negative ? 0 : mantissa_start)));
  long exponent = 0;
  if (has_exponent) {
    scratch.push_back('e');
    scratch.append(text.substr(exponent_start));
    const bool exponent_negative = text[exponent_start] == '-';
    for (std::size_t k = exponent_start; k < n; ++k) {
      if (is_digit(text[k]) && exponent < EXPONENT_CAP) exponent = exponent * 10 + (text[k] - '0');
    }
    if (exponent_negative) exponent = -exponent;
  } else if (!has_point && implied_decimals > 0) {
    char digits[std::numeric_limits<int>::digits10 + 2];
    const auto written = std::to_chars(digits, digits + sizeof digits, implied_decimals);
    scratch.append("e-");
    scratch.append(digits, written.ptr);
    exponent = -static_cast<long>(implied_decimals);
  }

  double parsed = 0.0;
  const char* end = scratch.data() + scratch.size();
  const auto [stop, error] = std::from_chars(scratch.data(), end, parsed);
  if (stop != end) return false;
  if (error == std::errc::result_out_of_range) {
    // Out of range one way or the other: the leading digit's decimal place
    // says which. Too small is zero; too large is not a value.
    const long magnitude =
        (significant_integer_digits > 0 ? significant_integer_digits - 1 : -(fraction_zeros + 1)) + exponent;
    if (magnitude >= 0) return false;
    parsed = negative ? -0.0 : 0.0;
  } else if (error != std::errc() || !std::isfinite(parsed)) {
    return false;
  }
  value = parsed;
  if (letterless_used != nullptr) *letterless_used = without_letter;
  return true;
}

// ------------------------------------------------------- list-directed

// One value of a list-directed read, with its repeat count.
struct ListValue {
  bool null = false;       // leaves its targets unchanged
  bool quoted = false;     // was enclosed in quotes: text targets only
  std::string_view text;   // the constant, quotes removed and doubled quotes undone
  std::string_view field;  // the constant as it stands in the line
  int repeat = 1;
};

// The state of one list-directed read: the current line and the position in it.
struct ListCursor {
  Unit& u;
  std::string& line;
  std::size_t at = 0;
  bool this_line_only = false;  // the end of the line ends the values (IO_END)
};

// Moves past blanks and line ends until a character that is not a blank.
// Returns IO_OK there, or what fetching the next line returned (IO_END).
int skip_blanks(ListCursor& cursor) {
  while (true) {
    while (cursor.at < cursor.line.size() && is_blank(cursor.line[cursor.at])) ++cursor.at;
    if (cursor.at < cursor.line.size()) return IO_OK;
    if (cursor.this_line_only) return IO_END;
    const int status = internal::next_line(cursor.u, cursor.line);
    if (status != IO_OK) return status;
    cursor.at = 0;
  }
}

// Takes a quoted constant starting at the opening quote. A doubled quote
// stands for one; an unclosed quote runs to the end of the line.
void take_quoted(ListCursor& cursor, std::string& unquoted, ListValue& value) {
  const std::string& line = cursor.line;
  const std::size_t start = cursor.at;
  const char quote = line[start];
  unquoted.clear();
  std::size_t at = start + 1;
  while (true) {
    const std::size_t close = line.find(quote, at);
    if (close == std::string::npos) {
      unquoted.append(line, at, std::string::npos);
      at = line.size();
      break;
    }
    unquoted.append(line, at, close - at);
    if (close + 1 < line.size() && line[close + 1] == quote) {
      unquoted.push_back(quote);
      at = close + 2;
      continue;
    }
    at = close + 1;
    break;
  }
  cursor.at = at;
  value.quoted = true;
  value.text = unquoted;
  value.field = std::string_view(line).substr(start, at - start);
}

// NEXT_LIST_VALUE
// Finds the next value of a list-directed read, fetching lines only while
// blanks and line ends lead up to it.
//   in,out: cursor          moved past the value (never past its separator)
//   in,out: separator_due   false at the start of the read: a leading comma
//                           then means a null value; true afterwards, when
//                           one comma may separate values
//   in,out: unquoted        scratch for the text of a quoted constant
//   out:    value           the value; its views stay valid until the next call
//   out:    slash           a slash ends the read here
//   returns IO_OK, IO_END or IO_BAD_VALUE (bad repeat count, bad_field set)
int next_list_value(ListCursor& cursor, bool& separator_due, std::string& unquoted, ListValue& value, bool& slash) {
  value = ListValue();
  slash = false;
  int status = skip_blanks(cursor);
  if (status != IO_OK) return status;
  const std::string& line = cursor.line;
  if (line[cursor.at] == COMMA) {
    if (!separator_due) {
      // A comma before any value: the first value is null and this comma
      // separates it from the next.
      separator_due = true;
      value.null = true;
      return IO_OK;
    }
    ++cursor.at;
    status = skip_blanks(cursor);
    if (status != IO_OK) return status;
    if (line[cursor.at] == COMMA) {
      // Nothing between two commas; the second one is the next separator.
      value.null = true;
      return IO_OK;
    }
  }
  separator_due = true;
  if (line[cursor.at] == SLASH) {
    slash = true;
    return IO_OK;
  }

  // r*c or r*: digits right before an asterisk are a repeat count.
  const std::size_t start = cursor.at;
  std::size_t after_digits = start;
  while (after_digits < line.size() && is_digit(line[after_digits])) ++after_digits;
  if (after_digits > start && after_digits < line.size() && line[after_digits] == REPEAT_MARK) {
    int repeat = 0;
    const auto [stop, error] = std::from_chars(line.data() + start, line.data() + after_digits, repeat);
    if (error != std::errc() || stop != line.data() + after_digits || repeat < 1) {
      std::size_t end = after_digits;
      while (end < line.size() && !ends_bare_value(line[end])) ++end;
      cursor.u.bad_field.assign(line, start, end - start);
      cursor.u.bad_repeat = true;
      return IO_BAD_VALUE;
    }
    value.repeat = repeat;
    cursor.at = after_digits + 1;
    if (cursor.at >= line.size() || ends_bare_value(line[cursor.at])) {
      value.null = true;
      return IO_OK;
    }
  }

  if (is_quote(line[cursor.at])) {
    take_quoted(cursor, unquoted, value);
    return IO_OK;
  }
  const std::size_t value_start = cursor.at;
  while (cursor.at < line.size() && !ends_bare_value(line[cursor.at])) ++cursor.at;
  value.text = std::string_view(line).substr(value_start, cursor.at - value_start);
  value.field = value.text;
  return IO_OK;
}

// Stores a non-null list value into its target; a constant that does not fit
// the target's kind leaves the target unchanged and is kept in bad_field.
int store_list_value(Unit& u, const Target& target, const ListValue& value, std::string& number) {
  switch (target.kind) {
    case Target::Kind::Int: {
      int parsed = 0;
      if (value.quoted || !parse_int(value.text, parsed)) break;
      *static_cast<int*>(target.p) = parsed;
      return IO_OK;
    }
    case Target::Kind::Real: {
      double parsed = 0.0;
      bool letterless = false;
      // The engine rereads its own reports and scratch files list-directed,
      // so a real takes every form the writers produce, among them the
      // exponent beyond two digits written without its letter.
      if (value.quoted || !parse_real(value.text, 0, true, number, parsed, &letterless)) break;
      *static_cast<double*>(target.p) = parsed;
      if (letterless && u.letterless_line == 0) {
        u.letterless_field.assign(value.field);
        u.letterless_line = u.lines_read;
      }
      return IO_OK;
    }
    case Target::Kind::Text:
      store_text(target, value.text);
      return IO_OK;
  }
  u.bad_field.assign(value.field);
  u.bad_kind = target.kind;
  return IO_BAD_VALUE;
}

// The values a line holds from the cursor on (a slash ends them), a repeat
// count counting as its values.
int values_left_on_line(const ListCursor& from) {
  ListCursor cursor{from.u, from.line, from.at, true};
  std::string unquoted;
  ListValue value;
  bool separator_due = true;
  bool slash = false;
  int n = 0;
  while (next_list_value(cursor, separator_due, unquoted, value, slash) == IO_OK && !slash) {
    // A comma right at the end of the line separates nothing more.
    if (value.null && value.repeat == 1 && cursor.at >= cursor.line.size()) break;
    n += value.repeat;
  }
  return n;
}

// The list-directed read of read_list_targets, on a unit whose lock is held.
int read_list_locked(Unit& u, const Target* targets, std::size_t count) {
  ListCursor cursor{u, u.read_line};
  u.list_values_read = 0;
  u.list_values_left = 0;
  u.bad_target = -1;
  u.bad_repeat = false;
  u.letterless_field.clear();
  u.letterless_line = 0;
  int status = internal::next_line(u, cursor.line);
  if (status != IO_OK || count == 0) return status;

  thread_local std::string unquoted;
  thread_local std::string number;
  ListValue value;
  bool separator_due = false;
  bool slash = false;
  int repeat_left = 0;
  for (std::size_t t = 0; t < count; ++t) {
    if (repeat_left == 0) {
      const int line_before = u.lines_read;
      status = next_list_value(cursor, separator_due, unquoted, value, slash);
      if (status == IO_BAD_VALUE) {
        u.bad_target = static_cast<int>(t);
        u.bad_kind = targets[t].kind;
      }
      if (status != IO_OK) return status;
      if (slash) return IO_OK;
      if (u.lines_read != line_before) u.list_values_read = 0;
      repeat_left = value.repeat;
    }
    --repeat_left;
    ++u.list_values_read;
    if (value.null) continue;
    status = store_list_value(u, targets[t], value, number);
    if (status == IO_BAD_VALUE) u.bad_target = static_cast<int>(t);
    if (status != IO_OK) return status;
  }
  u.list_values_left = repeat_left + values_left_on_line(cursor);
  return IO_OK;
}

// -------------------------------------------------------- fixed columns

bool is_data(Format::Op op) {
  return op == Format::Op::Int || op == Format::Op::Fixed || op == Format::Op::Exponent || op == Format::Op::General ||
         op == Format::Op::Chars;
}

// Reads one numeric field of width columns into an int or real target.
// Blanks anywhere in the field are ignored; a field of blanks reads as 0.
int store_numeric_field(Unit& u, const Format::Token& token, const Target& target, std::string_view field,
                        std::string& number) {
  thread_local std::string compact;
  compact.clear();
  for (const char c : field) {
    if (c != BLANK) compact.push_back(c);
  }
  bool stored = false;
  if (target.kind == Target::Kind::Int) {
    int parsed = 0;
    stored = compact.empty() || parse_int(compact, parsed);
    if (stored) *static_cast<int*>(target.p) = parsed;
  } else if (target.kind == Target::Kind::Real) {
    const int implied_decimals = token.op == Format::Op::Int || token.d < 0 ? 0 : token.d;
    double parsed = 0.0;
    stored = compact.empty() || parse_real(compact, implied_decimals, true, number, parsed);
    if (stored) *static_cast<double*>(target.p) = parsed;
  }
  if (stored) return IO_OK;
  u.bad_field.assign(field);
  return IO_BAD_VALUE;
}

// READ_FIELD
// Reads the field of one data token at column at of line into target and
// moves at past it. Columns past the end of the line read as blanks.
int read_field(Unit& u, const Format::Token& token, const Target& target, std::size_t& at, std::string& number) {
  const std::string& line = u.read_line;
  std::size_t width = token.w > 0 ? static_cast<std::size_t>(token.w) : 0;
  if (token.op == Format::Op::Chars && token.w == 0) {
    // A without a width: the target's declared length, or the rest of the line.
    width = target.length > 0 ? target.length : (at < line.size() ? line.size() - at : 0);
  }
  const std::size_t present_start = at < line.size() ? at : line.size();
  const std::size_t present = std::min(width, line.size() - present_start);
  const std::string_view field = std::string_view(line).substr(present_start, present);
  at += width;

  if (token.op == Format::Op::Chars) {
    if (target.kind != Target::Kind::Text) {
      u.bad_field.assign(field);
      return IO_BAD_VALUE;
    }
    auto& value = *static_cast<std::string*>(target.p);
    value.assign(field);
    value.resize(width, BLANK);
    if (target.length > 0) value.resize(target.length, BLANK);
    return IO_OK;
  }
  if (target.kind == Target::Kind::Text) {
    u.bad_field.assign(field);
    return IO_BAD_VALUE;
  }
  return store_numeric_field(u, token, target, field, number);
}

// The layout-driven read of read_formatted_targets, on a unit whose lock is held.
int read_formatted_locked(Unit& u, const Format& format, const Target* targets, std::size_t count) {
  if (!format.valid()) return IO_BAD_LAYOUT;
  int status = internal::next_line(u, u.read_line);
  if (status != IO_OK) return status;

  thread_local std::string number;
  const auto& tokens = format.tokens();
  const std::size_t n_tokens = tokens.size();
  std::size_t group_open[MAX_GROUP_DEPTH];
  int group_left[MAX_GROUP_DEPTH];
  int depth = 0;
  std::size_t column = 0;
  std::size_t next_target = 0;
  bool target_read_this_pass = false;
  std::size_t at = 0;
  while (true) {
    if (at >= n_tokens) {
      if (next_target >= count) return IO_OK;
      // A pass that took no value would take none on any later pass either.
      if (!target_read_this_pass) return IO_BAD_LAYOUT;
      status = internal::next_line(u, u.read_line);
      if (status != IO_OK) return status;
      column = 0;
      at = static_cast<std::size_t>(format.reversion_point());
      depth = 0;
      target_read_this_pass = false;
      continue;
    }
    const Format::Token& token = tokens[at];
    switch (token.op) {
      case Format::Op::Literal:
        column += token.text.size();
        break;
      case Format::Op::Blanks:
        column += token.w > 0 ? static_cast<std::size_t>(token.w) : 0;
        break;
      case Format::Op::Slash:
        status = internal::next_line(u, u.read_line);
        if (status != IO_OK) return status;
        column = 0;
        break;
      case Format::Op::Scale:
        break;
      case Format::Op::Colon:
        if (next_target >= count) return IO_OK;
        break;
      case Format::Op::GroupOpen:
        if (depth >= MAX_GROUP_DEPTH) return IO_BAD_LAYOUT;
        group_open[depth] = at;
        group_left[depth] = token.w;
        ++depth;
        break;
      case Format::Op::GroupClose:
        if (depth > 0 && --group_left[depth - 1] > 0) {
          at = group_open[depth - 1];  // the ++at below lands on the group's first token
        } else if (depth > 0) {
          --depth;
        }
        break;
      default:
        if (is_data(token.op)) {
          if (next_target >= count) return IO_OK;
          status = read_field(u, token, targets[next_target], column, number);
          if (status != IO_OK) return status;
          ++next_target;
          target_read_this_pass = true;
        }
        break;
    }
    ++at;
  }
}

}  // namespace

// READ_LIST_TARGETS
// List-directed read: from the start of the next line, as many lines as the
// targets need. Values are separated by blanks, tabs, one comma or line ends;
// r*c repeats c, r* and an empty value between commas leave targets
// unchanged, a slash ends the read leaving the rest unchanged. The rest of
// the last line read is skipped. A read of no targets skips one line.
//   in:  unit     open formatted unit
//   out: targets  filled in order; those not reached keep their values
//   returns IO_OK; IO_END when the file ends first (values read so far are
//   kept); IO_BAD_VALUE when a constant does not fit its target (the target
//   is unchanged, the constant is in last_bad_field); a unit error
int read_list_targets(int unit, const Target* targets, std::size_t count) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_read(u)) return check;
  u->bad_field.clear();
  return read_list_locked(*u, targets, count);
}

// READ_FORMATTED_TARGETS
// Fixed-column read of one line by a layout; a slash goes on to the next
// line, and when targets remain after the layout is used up a new line
// starts at the layout's reversion point. The read stops at the first data
// descriptor with no target left (or at a colon then).
//   in:  unit, format  open formatted unit, parsed layout
//   out: targets       Iw/Fw.d/Ew.d/Gw.d into int or real targets (blanks in
//                      a field ignored, a blank field is 0, d implied decimals
//                      without a point or exponent); Aw into text targets
//   returns IO_OK, IO_END, IO_BAD_VALUE (field in last_bad_field; also a
//   descriptor that does not match its target's kind), IO_BAD_LAYOUT for a
//   layout that does not parse or can take no value, or a unit error
int read_formatted_targets(int unit, const Format& format, const Target* targets, std::size_t count) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_read(u)) return check;
  u->bad_field.clear();
  u->bad_target = -1;
  u->bad_repeat = false;
  return read_formatted_locked(*u, format, targets, count);
}

// READ_LINE
// Reads the next line as text.
//   in:  unit    open formatted unit
//   out: text    the line, cut or padded with blanks to length (0: as read)
//   returns IO_OK, IO_END at end of file, or a unit error
int read_line(int unit, std::string& text, std::size_t length) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_read(u)) return check;
  const int status = internal::next_line(*u, u->read_line);
  if (status != IO_OK) return status;
  text.assign(u->read_line);
  if (length > 0) text.resize(length, BLANK);
  return IO_OK;
}

int lines_read(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return 0;
  std::lock_guard guard(u->lock);
  return u->lines_read;
}

void last_list_line(int unit, int& values_read, int& values_left) {
  values_read = 0;
  values_left = 0;
  Unit* u = internal::unit_at(unit);
  if (!u) return;
  std::lock_guard guard(u->lock);
  values_read = u->list_values_read;
  values_left = u->list_values_left;
}

std::string last_line(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return {};
  std::lock_guard guard(u->lock);
  return u->read_line;
}

std::string last_bad_field(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return {};
  std::lock_guard guard(u->lock);
  return u->bad_field;
}

BadValueTarget last_bad_target(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return {};
  std::lock_guard guard(u->lock);
  return {u->bad_target, u->bad_kind, u->bad_repeat};
}

bool last_letterless_real(int unit, std::string& field, int& line) {
  field.clear();
  line = 0;
  Unit* u = internal::unit_at(unit);
  if (!u) return false;
  std::lock_guard guard(u->lock);
  if (u->letterless_line == 0) return false;
  field = u->letterless_field;
  line = u->letterless_line;
  return true;
}

}  // namespace pilecap::fio
