// fio layouts: parsing of layout strings and formatted and list-directed
// output. A layout is parsed once into tokens; writing walks the tokens with
// the values, repeating groups and reverting to the last outermost group when
// values remain. Digits come from std::to_chars, which rounds the exact binary
// value correctly, so exact decimal ties round to even.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <shared_mutex>
#include <unordered_map>

#include "base/check.hpp"
#include "base/fio_unit.hpp"

namespace pilecap::fio {

namespace {

constexpr int MAX_FIELD_WIDTH = 512;  // wider fields are layout errors
constexpr int DIGIT_BUFFER = 400;     // to_chars output of any double at any precision used here
constexpr int MAX_EXPONENT_WITH_LETTER = 99;
constexpr int MAX_EXPONENT_WITHOUT_LETTER = 999;
constexpr int LIST_INT_WIDTH = 12;
constexpr int LIST_REAL_WIDTH = 25;
constexpr int GENERAL_TRAILING_BLANKS = 4;

void fill_stars(char* out, int w) { std::memset(out, '*', static_cast<std::size_t>(w)); }

// Right-aligns text of length n in w columns; false when it does not fit.
bool place_right(char* out, int w, const char* text, int n) {
  if (n > w) return false;
  std::memset(out, ' ', static_cast<std::size_t>(w - n));
  std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
  return true;
}

// ---------------------------------------------------------------- parser

class Parser {
 public:
  Parser(std::string_view text, std::vector<Format::Token>& tokens, std::string& error)
      : s_(text), tokens_(tokens), error_(error) {}

  bool keep_open = false;

  void run() {
    skip_blanks();
    if (!eat('(')) return fail("layout must start with '('");
    parse_list(0);
    if (!error_.empty()) return;
    skip_blanks();
    if (at_ < s_.size()) fail("text after the closing parenthesis");
  }

 private:
  std::string_view s_;
  std::size_t at_ = 0;
  std::vector<Format::Token>& tokens_;
  std::string& error_;

  void fail(const char* what) {
    if (error_.empty()) error_ = std::string(what) + " at column " + std::to_string(at_ + 1);
  }
  void skip_blanks() {
    while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t')) ++at_;
  }
  bool eat(char c) {
    skip_blanks();
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  char peek() {
    skip_blanks();
    return at_ < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[at_]))) : '\0';
  }
  // An unsigned number, or -1 when none is there. Blanks inside are ignored.
  int number() {
    skip_blanks();
    if (at_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[at_]))) return -1;
    int value = 0;
    while (at_ < s_.size()) {
      const char c = s_[at_];
      if (std::isdigit(static_cast<unsigned char>(c))) {
        value = value * 10 + (c - '0');
        if (value > MAX_FIELD_WIDTH * 100) return fail("number too large"), -1;
        ++at_;
      } else if (c == ' ') {
        ++at_;
      } else {
        break;
      }
    }
    return value;
  }
  void push(Format::Op op, int w = 0, int d = -1, char letter = 'E') {
    Format::Token t;
    t.op = op;
    t.w = w;
    t.d = d;
    t.letter = letter;
    tokens_.push_back(std::move(t));
  }
  void push_repeated(int repeat, Format::Op op, int w, int d, char letter = 'E') {
    for (int k = 0; k < repeat; ++k) push(op, w, d, letter);
  }

  void quoted(char quote) {
    ++at_;  // the opening quote
    std::string text;
    while (true) {
      if (at_ >= s_.size()) return fail("unterminated quoted text");
      const char c = s_[at_++];
      if (c == quote) {
        if (at_ < s_.size() && s_[at_] == quote) {
          text.push_back(quote);
          ++at_;
          continue;
        }
        break;
      }
      text.push_back(c);
    }
    Format::Token t;
    t.op = Format::Op::Literal;
    t.text = std::move(text);
    tokens_.push_back(std::move(t));
  }

  // Parses items up to the ')' that closes the list at this depth.
  void parse_list(int depth) {
    while (error_.empty()) {
      skip_blanks();
      if (at_ >= s_.size()) return fail("missing ')'");
      const char raw = s_[at_];
      if (raw == ')') {
        ++at_;
        return;
      }
      if (raw == ',') {
        ++at_;
        continue;
      }
      if (raw == '/') {
        ++at_;
        push(Format::Op::Slash);
        continue;
      }
      if (raw == '\\' || raw == '$') {
        ++at_;
        keep_open = true;
        continue;
      }
      if (raw == ':') {
        ++at_;
        push(Format::Op::Colon);
        continue;
      }
      if (raw == '"' || raw == '\'') {
        quoted(raw);
        continue;
      }
      parse_item(depth);
    }
  }

  void parse_item(int depth) {
    bool negative = false;
    if (s_[at_] == '-' || s_[at_] == '+') {
      negative = s_[at_] == '-';
      ++at_;
    }
    int count = number();
    if (!error_.empty()) return;
    const char c = peek();
    if (c == 'P') {
      ++at_;
      push(Format::Op::Scale, negative ? -std::max(count, 0) : std::max(count, 0));
      return;  // a data descriptor may follow without a comma (1PE14.5)
    }
    if (negative) return fail("sign outside a scale factor");
    const int repeat = count < 0 ? 1 : count;
    if (c == '(') {
      ++at_;
      const int open = static_cast<int>(tokens_.size());
      push(Format::Op::GroupOpen, repeat);
      parse_list(depth + 1);
      const int close = static_cast<int>(tokens_.size());
      push(Format::Op::GroupClose);
      tokens_[static_cast<std::size_t>(open)].link = close;
      tokens_[static_cast<std::size_t>(close)].link = open;
      if (depth == 0) last_outer_group_ = open;
      return;
    }
    if (c == 'H') {
      ++at_;
      if (count < 0) return fail("H needs a count");
      if (at_ + static_cast<std::size_t>(count) > s_.size()) return fail("H text runs past the layout");
      Format::Token t;
      t.op = Format::Op::Literal;
      t.text = std::string(s_.substr(at_, static_cast<std::size_t>(count)));
      at_ += static_cast<std::size_t>(count);
      tokens_.push_back(std::move(t));
      return;
    }
    if (c == 'X') {
      ++at_;
      push(Format::Op::Blanks, repeat);
      return;
    }
    if (c == '/') {
      ++at_;
      push_repeated(repeat, Format::Op::Slash, 0, -1);
      return;
    }
    if (c == '"' || c == '\'') {
      for (int k = 0; k < repeat; ++k) {
        const std::size_t start = at_;
        quoted(s_[at_]);
        if (k + 1 < repeat) at_ = start;
      }
      return;
    }
    ++at_;
    int w = number();
    int d = -1;
    if (eat('.')) {
      d = number();
      if (d < 0) return fail("digits expected after '.'");
    }
    if (w > MAX_FIELD_WIDTH) return fail("field too wide");
    switch (c) {
      case 'I':
        if (w <= 0) return fail("I needs a width");
        push_repeated(repeat, Format::Op::Int, w, d);
        break;
      case 'F':
        if (w <= 0 || d < 0) return fail("F needs w.d");
        push_repeated(repeat, Format::Op::Fixed, w, d);
        break;
      case 'E':
      case 'D':
        if (w <= 0 || d < 0) return fail("E needs w.d");
        push_repeated(repeat, Format::Op::Exponent, w, d, c);
        break;
      case 'G':
        if (w <= 0 || d < 0) return fail("G needs w.d");
        push_repeated(repeat, Format::Op::General, w, d);
        break;
      case 'A':
        push_repeated(repeat, Format::Op::Chars, w < 0 ? 0 : w, -1);
        break;
      default:
        return fail("unknown edit descriptor");
    }
  }

 public:
  int last_outer_group_ = -1;
};

}  // namespace

Format::Format(std::string_view text) : text_(text) {
  Parser parser(text, tokens_, error_);
  parser.run();
  keep_open_ = parser.keep_open;
  reversion_ = parser.last_outer_group_ < 0 ? 0 : parser.last_outer_group_;
  if (!error_.empty()) tokens_.clear();
}

const Format& cached_format(std::string_view text) {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  static std::shared_mutex guard;
  static std::unordered_map<std::string, std::unique_ptr<Format>, Hash, std::equal_to<>> cache;
  {
    std::shared_lock reading(guard);
    auto found = cache.find(text);
    if (found != cache.end()) return *found->second;
  }
  std::unique_lock writing(guard);
  auto [where, inserted] = cache.try_emplace(std::string(text), nullptr);
  if (inserted) where->second = std::make_unique<Format>(text);
  return *where->second;
}

// ------------------------------------------------------- edit primitives

void edit_integer(char* out, int w, int min_digits, long long value) {
  if (w <= 0) return;
  if (min_digits == 0 && value == 0) {
    std::memset(out, ' ', static_cast<std::size_t>(w));
    return;
  }
  char digits[32];
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
  int n = static_cast<int>(result.ptr - digits);
  char text[MAX_FIELD_WIDTH + 40];
  int length = 0;
  if (value < 0) text[length++] = '-';
  const int zeros = min_digits > n ? min_digits - n : 0;
  if (zeros + n + 1 > MAX_FIELD_WIDTH) return fill_stars(out, w);
  for (int k = 0; k < zeros; ++k) text[length++] = '0';
  std::memcpy(text + length, digits, static_cast<std::size_t>(n));
  length += n;
  if (!place_right(out, w, text, length)) fill_stars(out, w);
}

void edit_fixed(char* out, int w, int d, double value) {
  if (w <= 0) return;
  if (!std::isfinite(value)) {
    const char* text = std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    if (!place_right(out, w, text, static_cast<int>(std::strlen(text)))) {
      const char* short_text = std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
      if (!place_right(out, w, short_text, static_cast<int>(std::strlen(short_text)))) fill_stars(out, w);
    }
    return;
  }
  if (value == 0.0) value = 0.0;  // no sign on a negative zero
  char text[DIGIT_BUFFER];
  const double magnitude = std::fabs(value);
  // Values beyond the buffer cannot fit any field we print.
  if (magnitude >= 1e300 || d > MAX_FIELD_WIDTH) return fill_stars(out, w);
  const auto result = std::to_chars(text + 1, text + sizeof text, magnitude, std::chars_format::fixed, d);
  if (result.ec != std::errc()) return fill_stars(out, w);
  int length = static_cast<int>(result.ptr - (text + 1));
  char* body = text + 1;
  if (d == 0) body[length++] = '.';  // Fw.0 still shows its decimal point
  // A leading "0." is kept only when the field has room for it.
  const bool negative = std::signbit(value);
  int needed = length + (negative ? 1 : 0);
  if (needed > w && body[0] == '0' && length > 1 && body[1] == '.') {
    ++body;
    --length;
    needed = length + (negative ? 1 : 0);
  }
  if (negative) {
    *--body = '-';
    ++length;
  }
  if (!place_right(out, w, body, length)) fill_stars(out, w);
}

void edit_exponent(char* out, int w, int d, int scale, double value, char letter) {
  if (w <= 0) return;
  if (!std::isfinite(value)) return edit_fixed(out, w, 0, value);
  if (value == 0.0) value = 0.0;
  // Significant digits printed: d with no scale factor, d + 1 with 1P and
  // beyond, d + scale for a negative scale factor.
  const int significant = scale > 0 ? d + 1 : d + scale;
  if (significant <= 0 || scale > d + 1 || d > MAX_FIELD_WIDTH) return fill_stars(out, w);
  char digits[DIGIT_BUFFER];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::scientific, significant - 1);
  if (result.ec != std::errc()) return fill_stars(out, w);
  // digits is "D.DDDDe+XX" (or "De+XX" for one digit): collect the mantissa digits and the exponent.
  char mantissa[DIGIT_BUFFER];
  int n_mantissa = 0;
  const char* p = digits;
  for (; p < result.ptr && *p != 'e'; ++p) {
    if (*p != '.') mantissa[n_mantissa++] = *p;
  }
  int exponent10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent10);
  const bool zero = value == 0.0;
  // The printed exponent: value = 0.ddd x 10^e for scale 0, shifted by the scale.
  const int exponent = zero ? 0 : exponent10 + 1 - scale;

  char text[DIGIT_BUFFER + 16];
  int length = 0;
  const bool negative = std::signbit(value);
  if (negative) text[length++] = '-';
  const int lead_position = length;
  if (scale <= 0) {
    text[length++] = '0';
    text[length++] = '.';
    for (int k = 0; k < -scale; ++k) text[length++] = '0';
    std::memcpy(text + length, mantissa, static_cast<std::size_t>(n_mantissa));
    length += n_mantissa;
  } else {
    std::memcpy(text + length, mantissa, static_cast<std::size_t>(scale));
    length += scale;
    text[length++] = '.';
    std::memcpy(text + length, mantissa + scale, static_cast<std::size_t>(n_mantissa - scale));
    length += n_mantissa - scale;
  }
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude <= MAX_EXPONENT_WITH_LETTER) {
    text[length++] = letter;
    text[length++] = exponent < 0 ? '-' : '+';
    text[length++] = static_cast<char>('0' + magnitude / 10);
    text[length++] = static_cast<char>('0' + magnitude % 10);
  } else if (magnitude <= MAX_EXPONENT_WITHOUT_LETTER) {
    text[length++] = exponent < 0 ? '-' : '+';
    text[length++] = static_cast<char>('0' + magnitude / 100);
    text[length++] = static_cast<char>('0' + magnitude / 10 % 10);
    text[length++] = static_cast<char>('0' + magnitude % 10);
  } else {
    return fill_stars(out, w);
  }
  if (length > w && scale <= 0) {
    // Drop the optional leading zero when the field has no room for it.
    std::memmove(text + lead_position, text + lead_position + 1, static_cast<std::size_t>(length - lead_position - 1));
    --length;
  }
  if (!place_right(out, w, text, length)) fill_stars(out, w);
}

void edit_general(char* out, int w, int d, int scale, double value) {
  if (w <= 0) return;
  if (!std::isfinite(value)) return edit_fixed(out, w, 0, value);
  const int fixed_width = w - GENERAL_TRAILING_BLANKS;
  if (value == 0.0) {
    if (fixed_width <= 0) return fill_stars(out, w);
    edit_fixed(out, fixed_width, d > 0 ? d - 1 : 0, 0.0);
    std::memset(out + fixed_width, ' ', GENERAL_TRAILING_BLANKS);
    return;
  }
  // The decade of the value once rounded to d significant digits decides the form.
  if (d > 0 && d < DIGIT_BUFFER - 10) {
    char digits[DIGIT_BUFFER];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::scientific, d - 1);
    const char* e = std::find(digits, result.ptr, 'e');
    int exponent10 = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), result.ptr, exponent10);
    if (exponent10 >= -1 && exponent10 <= d - 1 && fixed_width > 0) {
      const int digits_before_point = exponent10 + 1;
      edit_fixed(out, fixed_width, d - digits_before_point, value);
      std::memset(out + fixed_width, ' ', GENERAL_TRAILING_BLANKS);
      return;
    }
  }
  edit_exponent(out, w, d, scale, value);
}

// ------------------------------------------------------------ writing

namespace {

// Appends w characters produced by an edit primitive to the current line.
template <class Edit>
void emit(std::string& line, int w, Edit edit) {
  const std::size_t at = line.size();
  line.resize(at + static_cast<std::size_t>(w));
  edit(line.data() + at);
}

void emit_item(std::string& line, const Format::Token& t, const Item& item, int scale) {
  const bool is_int = item.kind == Item::Kind::Int;
  const double real = is_int ? static_cast<double>(item.i) : item.r;
  switch (t.op) {
    case Format::Op::Int: {
      PILECAP_ASSERT(item.kind != Item::Kind::Text, "an integer field needs a number");
      const long long whole = is_int ? item.i : static_cast<long long>(std::trunc(item.r));
      emit(line, t.w, [&](char* out) { edit_integer(out, t.w, t.d < 0 ? 1 : t.d, whole); });
      break;
    }
    case Format::Op::Fixed:
      emit(line, t.w, [&](char* out) { edit_fixed(out, t.w, t.d, real); });
      break;
    case Format::Op::Exponent:
      emit(line, t.w, [&](char* out) { edit_exponent(out, t.w, t.d, scale, real, t.letter); });
      break;
    case Format::Op::General:
      if (is_int) {
        emit(line, t.w, [&](char* out) { edit_integer(out, t.w, 1, item.i); });
      } else {
        emit(line, t.w, [&](char* out) { edit_general(out, t.w, t.d, scale, real); });
      }
      break;
    case Format::Op::Chars: {
      PILECAP_ASSERT(item.kind == Item::Kind::Text, "a text field needs text");
      const std::string_view text = item.s;
      if (t.w == 0) {
        line.append(text);
      } else if (text.size() >= static_cast<std::size_t>(t.w)) {
        line.append(text.substr(0, static_cast<std::size_t>(t.w)));
      } else {
        line.append(static_cast<std::size_t>(t.w) - text.size(), ' ');
        line.append(text);
      }
      break;
    }
    default:
      break;
  }
}

bool is_data(Format::Op op) {
  return op == Format::Op::Int || op == Format::Op::Fixed || op == Format::Op::Exponent || op == Format::Op::General ||
         op == Format::Op::Chars;
}

}  // namespace

int write_items(int unit, const Format& format, const Item* items, std::size_t count) {
  internal::Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_write(u)) return check;
  PILECAP_ASSERT(format.valid(), "the engine's layouts parse");
  if (!format.valid()) return IO_BAD_LAYOUT;

  const auto& tokens = format.tokens();
  const int n_tokens = static_cast<int>(tokens.size());
  std::string& line = u->line;
  int status = IO_OK;
  int scale = 0;
  std::size_t next_item = 0;
  // Repeat counters of the open groups, innermost last.
  int group_left[16];
  int group_open[16];
  int depth = 0;
  int at = 0;
  bool used_item_this_pass = false;
  while (true) {
    if (at >= n_tokens) {
      if (next_item >= count || !used_item_this_pass) break;
      // Values remain: a new line, and the layout again from its reversion point.
      status = internal::finish_line(*u);
      if (status != IO_OK) return status;
      at = format.reversion_point();
      depth = 0;
      used_item_this_pass = false;
      continue;
    }
    const Format::Token& t = tokens[static_cast<std::size_t>(at)];
    switch (t.op) {
      case Format::Op::Literal:
        line.append(t.text);
        break;
      case Format::Op::Blanks:
        line.append(static_cast<std::size_t>(t.w), ' ');
        break;
      case Format::Op::Slash:
        status = internal::finish_line(*u);
        if (status != IO_OK) return status;
        break;
      case Format::Op::Scale:
        scale = t.w;
        break;
      case Format::Op::Colon:
        if (next_item >= count) at = n_tokens - 1;  // to the end: nothing more is written
        break;
      case Format::Op::GroupOpen:
        if (depth < 16) {
          group_open[depth] = at;
          group_left[depth] = t.w;
          ++depth;
        }
        break;
      case Format::Op::GroupClose:
        if (depth > 0 && --group_left[depth - 1] > 0) {
          at = group_open[depth - 1];  // the loop's ++at lands on the group's first token
        } else if (depth > 0) {
          --depth;
        }
        break;
      default:
        if (is_data(t.op)) {
          if (next_item >= count) {
            at = n_tokens;  // a record with fewer values ends here
            continue;
          }
          emit_item(line, t, items[next_item++], scale);
          used_item_this_pass = true;
        }
        break;
    }
    ++at;
    if (at >= n_tokens && next_item >= count) break;
  }
  if (format.keeps_line_open()) {
    u->line_open = true;
    return IO_OK;
  }
  return internal::finish_line(*u);
}

int write_list_items(int unit, const Item* items, std::size_t count) {
  internal::Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_write(u)) return check;
  std::string& line = u->line;
  if (count > 0) line.push_back(' ');
  for (std::size_t k = 0; k < count; ++k) {
    const Item& item = items[k];
    if (item.kind == Item::Kind::Text) {
      line.append(item.s);
    } else if (item.kind == Item::Kind::Int) {
      emit(line, LIST_INT_WIDTH, [&](char* out) { edit_integer(out, LIST_INT_WIDTH, 1, item.i); });
    } else {
      char text[64];
      const double value = item.r == 0.0 ? 0.0 : item.r;
      const auto result = std::to_chars(text, text + sizeof text, value);
      const int n = static_cast<int>(result.ptr - text);
      emit(line, LIST_REAL_WIDTH, [&](char* out) {
        if (!place_right(out, LIST_REAL_WIDTH, text, n)) fill_stars(out, LIST_REAL_WIDTH);
      });
    }
  }
  return internal::finish_line(*u);
}

}  // namespace pilecap::fio
