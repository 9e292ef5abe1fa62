// Report field writers: rows of the reports built one field at a time on a
// unit's current line, or inside a caller's character buffer.
// A real field shows d significant digits in fixed form when the value's
// decade allows it and in 1P exponent form otherwise, so one column holds
// values of very different magnitudes. The limits of the fixed range are
// powers of the single-precision 10, widened to double.
#include "base/report_fields.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/numbers.hpp"

namespace pilecap {

namespace {

constexpr int TRIMMED_TEXT_LENGTH = 256;
constexpr int EXTRA_FIXED_DECIMALS = 2;  // fixed form allows up to d + 2 decimals

// The chosen form of a real field.
struct RealForm {
  bool fixed;  // Fw.decimals, else 1PEw.d
  int decimals;
  double value;  // what is written (0 for tiny values)
};

// Chooses the form of v with d significant digits and lower limit lo.
RealForm choose_real_form(int d, double v, double lo) {
  const double magnitude = std::fabs(v);
  if (v == 0.0 || magnitude < FIELD_ZERO_LIMIT) return {true, d, 0.0};
  const double hi = single_power_of_ten(d);
  if (lo < magnitude && magnitude < hi) {
    // Truncation toward zero puts 0.1 .. 1 in the same decade as 1 .. 10.
    int k = static_cast<int>(std::log10(magnitude));
    if (k < 0) k -= 1;
    const int decimals = d - k;
    if (decimals <= d + EXTRA_FIXED_DECIMALS) return {true, decimals, v};
  }
  return {false, d, v};
}

// Formats the chosen form into out (w characters).
void edit_real_form(char* out, int w, int d, const RealForm& form) {
  if (form.fixed) {
    fio::edit_fixed(out, w, form.decimals, form.value);
  } else {
    fio::edit_exponent(out, w, d, 1, form.value);
  }
}

bool layout_field_ok(int w, int d) { return w >= 0 && w <= FIELD_LAYOUT_LIMIT && d >= 0 && d <= FIELD_LAYOUT_LIMIT; }

// Appends text cut or padded with blanks to exactly n characters, framed by
// one blank on each side when framed, in one append.
void append_fixed_text(int unit, std::string_view text, std::size_t n, bool framed = false) {
  char field[16];
  PILECAP_ASSERT(n + 2 <= sizeof field, "short text fields only");
  const std::size_t frame = framed ? 1 : 0;
  const std::size_t used = std::min(text.size(), n);
  field[0] = ' ';
  std::memcpy(field + frame, text.data(), used);
  std::memset(field + frame + used, ' ', n - used + frame);
  fio::append(unit, std::string_view(field, n + 2 * frame));
}

}  // namespace

void WRITE_REAL_FIELD(int unit, int w, int d, double v) {
  PILECAP_ASSERT(layout_field_ok(w, d), "field width and digits are two-digit numbers");
  if (!layout_field_ok(w, d) || w == 0) return;
  const RealForm form = choose_real_form(d, v, single_power_of_ten(1 - d));
  char field[FIELD_LAYOUT_LIMIT];
  edit_real_form(field, w, d, form);
  fio::append(unit, std::string_view(field, static_cast<std::size_t>(w)));
}

void WRITE_INT_FIELD(int unit, int w, int n) {
  PILECAP_ASSERT(w >= 0 && w <= FIELD_LAYOUT_LIMIT, "field width is a two-digit number");
  if (w <= 0 || w > FIELD_LAYOUT_LIMIT) return;
  char field[FIELD_LAYOUT_LIMIT];
  fio::edit_integer(field, w, 1, n);
  fio::append(unit, std::string_view(field, static_cast<std::size_t>(w)));
}

void WRITE_BLANKS(int unit, int n) {
  static constexpr char BLANKS[] = "                                                                ";
  constexpr int CHUNK = static_cast<int>(sizeof BLANKS) - 1;
  for (int left = n; left > 0; left -= CHUNK) {
    fio::append(unit, std::string_view(BLANKS, static_cast<std::size_t>(std::min(left, CHUNK))));
  }
}

void WRITE_TEXT10_FIELD(int unit, std::string_view text) { append_fixed_text(unit, text, 10, true); }

void WRITE_TEXT6_FIELD(int unit, std::string_view text) { append_fixed_text(unit, text, 6, true); }

void WRITE_CHAR_FIELD(int unit, char c) { fio::append(unit, std::string_view(&c, 1)); }

std::string_view WITHOUT_TRAILING_BLANKS(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

void WRITE_TRIMMED_TEXT(int unit, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(TRIMMED_TEXT_LENGTH)) text = text.substr(0, TRIMMED_TEXT_LENGTH);
  const std::string_view trimmed = WITHOUT_TRAILING_BLANKS(text);
  if (!trimmed.empty()) fio::append(unit, trimmed);
}

void WRITE_TEXT2_FIELD(int unit, std::string_view text) { append_fixed_text(unit, text, 2); }

void WRITE_TEXT3_FIELD(int unit, std::string_view text) { append_fixed_text(unit, text, 3); }

void END_REPORT_LINE(int unit) {
  fio::append(unit, " ");
  fio::end_line(unit);
}

void APPEND_REAL_FIELD(std::string& line, int w, int d, double v, int& col) {
  PILECAP_ASSERT(w >= 0 && w <= APPEND_SCRATCH_LENGTH && d >= 0 && d <= FIELD_LAYOUT_LIMIT,
                 "an appended field fits its scratch text");
  if (w > 0 && w <= APPEND_SCRATCH_LENGTH && layout_field_ok(w, d)) {
    const RealForm form = choose_real_form(d, v, single_power_of_ten(3 - d));
    char field[APPEND_SCRATCH_LENGTH];
    edit_real_form(field, w, d, form);
    // Only the positions that lie inside the caller's buffer are written.
    const long first = static_cast<long>(col);
    for (int k = 0; k < w; ++k) {
      const long position = first + k;
      if (position >= 0 && position < static_cast<long>(line.size()))
        line[static_cast<std::size_t>(position)] = field[k];
    }
  }
  col += w;
}

void APPEND_BLANKS(std::string& line, int n, int& col) {
  for (int k = 0; k < n; ++k) {
    const long position = static_cast<long>(col) + k;
    if (position >= 0 && position < static_cast<long>(line.size())) line[static_cast<std::size_t>(position)] = ' ';
  }
  col += n;
}

}  // namespace pilecap
