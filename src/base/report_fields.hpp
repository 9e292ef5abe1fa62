// Report field writers: a report row is built field by field on a unit's
// current line; the fields format straight into the line without parsing a
// layout.
#pragma once

#include <string>
#include <string_view>

namespace pilecap {

// ------------------------------------------------------ report field writers
// A report row is built by appending fields to the unit's current line and
// ends with END_REPORT_LINE. Widths and digit counts are those of two-digit
// layout fields: 0 to 99.

constexpr int FIELD_LAYOUT_LIMIT = 99;
constexpr double FIELD_ZERO_LIMIT = 1e-50;  // below this magnitude a value prints as 0
constexpr int APPEND_SCRATCH_LENGTH = 50;   // the text an appended field is formatted in

// WRITE_REAL_FIELD
// Appends v with d significant digits in w columns: fixed form when v's
// decade allows d - k decimals with at most d + 2 of them, else 1PEw.d.
//   in: unit, w (1..99), d (0..99), v
void WRITE_REAL_FIELD(int unit, int w, int d, double v);

// WRITE_INT_FIELD
// Appends n right-aligned in w columns (asterisks when it does not fit).
void WRITE_INT_FIELD(int unit, int w, int n);

// WRITE_BLANKS
// Appends n blanks; nothing when n < 1.
void WRITE_BLANKS(int unit, int n);

// WRITE_TEXT10_FIELD / WRITE_TEXT6_FIELD
// Append one blank, the text as 10 (6) characters, one blank. A shorter text
// is padded with blanks, a longer one cut.
void WRITE_TEXT10_FIELD(int unit, std::string_view text);
void WRITE_TEXT6_FIELD(int unit, std::string_view text);

// WRITE_CHAR_FIELD: appends one character.
void WRITE_CHAR_FIELD(int unit, char c);

// WITHOUT_TRAILING_BLANKS: the text up to its last non-blank character.
std::string_view WITHOUT_TRAILING_BLANKS(std::string_view text);

// WRITE_TRIMMED_TEXT
// Appends the text (at most 256 characters) up to its last non-blank
// character; nothing for an all-blank text.
void WRITE_TRIMMED_TEXT(int unit, std::string_view text);

// WRITE_TEXT2_FIELD / WRITE_TEXT3_FIELD: append the text as 2 (3) characters.
void WRITE_TEXT2_FIELD(int unit, std::string_view text);
void WRITE_TEXT3_FIELD(int unit, std::string_view text);

// END_REPORT_LINE: appends one blank and ends the line.
void END_REPORT_LINE(int unit);

// APPEND_REAL_FIELD
// Places v in positions col+1 .. col+w of line, chosen as WRITE_REAL_FIELD
// does but with the lower limit 10^(3-d); then col := col + w. Characters
// that would fall beyond the end of line are dropped.
//   in:     w (1..50), d (0..99), v
//   in,out: line (its length is the buffer's), col
void APPEND_REAL_FIELD(std::string& line, int w, int d, double v, int& col);

// APPEND_BLANKS
// Blanks at positions col+1 .. col+n of line (none when n < 1); col := col + n.
void APPEND_BLANKS(std::string& line, int n, int& col);

}  // namespace pilecap
