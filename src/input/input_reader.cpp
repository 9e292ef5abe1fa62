// Reads of the input data file and the detail line of a failed read, which
// the final message of the run prints. A failure names where it happened as
// "INPUT SECTION s (HEADER), LINE n", the header being the section's usual
// header text (the title lines as "INPUT TITLE LINES"), followed by the
// offending text in apostrophes, "END OF FILE", or the count and the capacity
// it exceeds.
#include "input/input_reader.hpp"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace pilecap::input_detail {

namespace {

// The detail line of the final message is indented as the lines above it.
constexpr std::string_view DETAIL_INDENT = "    ";

// (5X,"READING ",A80): the header text as read.
//      READING SECTION 7 PILE ARRANGEMENT
const fio::Format READING_LAYOUT("(5X,\"READING \",A80)");

// The reason a real outside MIN_INPUT_MAGNITUDE .. MAX_INPUT_MAGNITUDE is refused.
constexpr std::string_view MAGNITUDE_REASON = "MAGNITUDE NOT 0 OR 1E-100 TO 1E+100";

// The usual header of each section, by section number. The header line of a
// file is free text, so the message names the section by this one.
constexpr std::array<std::string_view, SECTION_PY_EXPORT + 1> SECTION_HEADERS = {
    "",
    "OPTIONS",
    "PILE CAP",
    "LOAD CASES",
    "LOAD COMBINATIONS",
    "DISTRIBUTED LOAD SETS",
    "SOIL MOVEMENT SETS",
    "PILE ARRANGEMENT",
    "PROPERTY SETS",
    "CROSS SECTIONS",
    "SOIL LAYERS",
    "P-Y PRINT REQUESTS",
    "USER P-Y CURVES",
    "GENERATED LOAD-SETTLEMENT CURVES",
    "GENERATED TORQUE-ROTATION CURVES",
    "USER LOAD-SETTLEMENT CURVES",
    "USER TORQUE-ROTATION CURVES",
    "MOMENT-CURVATURE SETS",
    "SECTION MOMENT-CURVATURE CURVES",
    "SECTION BILINEAR DATA",
    "DEPTH REDUCTION FACTORS",
    "SOIL MOVEMENT PROFILE",
    "P-Y EXPORT REQUEST",
};

// (5X,"** WARNING **  ",A): a warning on the input, which the analysis
// does not refuse.
const fio::Format INPUT_WARNING_LAYOUT("(5X,\"** WARNING **  \",A)");

// The section whose usual header a line holds (blanks and letter case
// aside); 0 when it holds none.
int section_of_header(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return 0;
  line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
  for (std::size_t k = 1; k < SECTION_HEADERS.size(); ++k) {
    const std::string_view header = SECTION_HEADERS[k];
    if (header.size() != line.size()) continue;
    bool same = true;
    for (std::size_t c = 0; c < header.size() && same; ++c) {
      same = std::toupper(static_cast<unsigned char>(line[c])) == header[c];
    }
    if (same) return static_cast<int>(k);
  }
  return 0;
}

// A section that an option brings in or leaves out, and that option.
struct OptionalSection {
  int section;
  int option;  // its place on the option line
  const char* name;
  int RunOptionsRecord::*field;
  int present_value;  // the option's value that brings the section in
};
constexpr std::array<OptionalSection, 8> OPTIONAL_SECTIONS = {{
    {SECTION_PY_PRINT_REQUESTS, 12, "P-Y CURVE PRINTS", &RunOptionsRecord::print_py_curves, 1},
    {SECTION_USER_PY_CURVES, 5, "USER P-Y CURVES", &RunOptionsRecord::user_py_curves, 1},
    {SECTION_GENERATED_TR_PILES, 2, "DIMENSION", &RunOptionsRecord::dimension, MODEL_3D},
    {SECTION_USER_LS_CURVES, 6, "USER LOAD-SETTLEMENT CURVES", &RunOptionsRecord::user_axial_curves, 1},
    {SECTION_USER_TR_CURVES, 7, "USER TORQUE-ROTATION CURVES", &RunOptionsRecord::user_torsion_curves, 1},
    {SECTION_DEPTH_FACTORS, 21, "DEPTH REDUCTION FACTORS", &RunOptionsRecord::depth_reduction, 1},
    {SECTION_SOIL_MOVEMENT_PROFILE, 22, "SOIL MOVEMENT PROFILE", &RunOptionsRecord::soil_movement_profile, 1},
    {SECTION_PY_EXPORT, 23, "P-Y EXPORT", &RunOptionsRecord::plot_export, 1},
}};

// "OPTION 5 (USER P-Y CURVES) IS 0": what brings section in or leaves it
// out, with the value that does it now; empty for a section always present.
std::string presence_condition(int section) {
  if (section == SECTION_SECTION_CURVES || section == SECTION_SECTION_BILINEAR) {
    return "SECTION 9 HOLDS " + std::to_string(CrossSection.count) + " CROSS SECTIONS";
  }
  for (const OptionalSection& o : OPTIONAL_SECTIONS) {
    if (o.section != section) continue;
    return "OPTION " + std::to_string(o.option) + " (" + o.name + ") IS " + std::to_string(RunOptions.*(o.field));
  }
  return {};
}

// Whether the options and counts read so far bring the section in.
bool section_present(int section) {
  if (section == SECTION_SECTION_CURVES || section == SECTION_SECTION_BILINEAR) return CrossSection.count > 0;
  for (const OptionalSection& o : OPTIONAL_SECTIONS) {
    if (o.section == section) return RunOptions.*(o.field) == o.present_value;
  }
  return true;
}

// The 1-based place of the first byte of a line that is no text, 0 when
// every byte is: a control character other than a tab, vertical tab, form
// feed or carriage return, or a byte that begins or continues no UTF-8
// character. Such bytes come from a file that is not an input data file, or
// that was damaged.
int first_non_text_byte(std::string_view line) {
  const auto byte = [&line](std::size_t k) { return static_cast<unsigned char>(line[k]); };
  constexpr unsigned char DELETE = 0x7F;
  std::size_t k = 0;
  while (k < line.size()) {
    const unsigned char c = byte(k);
    if (c < 0x80) {
      const bool control = (c < 0x20 && c != '\t' && c != '\v' && c != '\f' && c != '\r') || c == DELETE;
      if (control) return static_cast<int>(k) + 1;
      ++k;
      continue;
    }
    // The length of the UTF-8 sequence its first byte announces.
    std::size_t length = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
    } else {
      return static_cast<int>(k) + 1;
    }
    for (std::size_t j = 1; j < length; ++j) {
      if (k + j >= line.size() || (byte(k + j) & 0xC0) != 0x80) return static_cast<int>(k + j) + 1;
    }
    k += length;
  }
  return 0;
}

// "NOT TEXT AT LINE 3, BYTE 17 (VALUE 143)"
std::string not_text_detail(int line, std::string_view text, int byte) {
  const int value = static_cast<unsigned char>(text[static_cast<std::size_t>(byte - 1)]);
  return "NOT TEXT AT LINE " + std::to_string(line) + ", BYTE " + std::to_string(byte) + " (VALUE " +
         std::to_string(value) + ")";
}

// Whether a line holds one number or more and nothing else: a line of data
// where a header is due.
bool holds_only_numbers(std::string_view line) {
  bool any = false;
  std::size_t k = 0;
  while (k < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t,\r", k);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find_first_of(" \t,\r", start);
    if (end == std::string_view::npos) end = line.size();
    std::string field(line.substr(start, end - start));
    for (char& c : field) {
      if (c == 'D' || c == 'd') c = 'E';
    }
    double value = 0.0;
    const char* first = field.data();
    if (*first == '+') ++first;
    const auto [rest, error] = std::from_chars(first, field.data() + field.size(), value);
    if (error != std::errc{} || rest != field.data() + field.size()) return false;
    any = true;
    k = end;
  }
  return any;
}

// A field that is a word (or a quoted text) rather than a malformed number.
bool is_word(std::string_view field) {
  if (field.empty()) return false;
  const char first = field[0];
  return std::isalpha(static_cast<unsigned char>(first)) != 0 || first == '\'' || first == '"';
}

}  // namespace

// INPUT SECTION 10 (SOIL LAYERS), LINE 59
std::string line_place(int section, int line) {
  std::string where;
  if (section == TITLE_LINES) {
    where.append("INPUT TITLE LINES");
  } else {
    where.append("INPUT SECTION ").append(std::to_string(section));
    if (section > TITLE_LINES && section <= SECTION_PY_EXPORT) {
      where.append(" (").append(SECTION_HEADERS[static_cast<std::size_t>(section)]).append(")");
    }
  }
  return where.append(", LINE ").append(std::to_string(line));
}

namespace {

//     INPUT SECTION 10 (SOIL LAYERS), LINE 59:
std::string place(int section, int line) {
  std::string where(DETAIL_INDENT);
  return where.append(line_place(section, line)).append(": ");
}

}  // namespace

std::string number_text(double value) {
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

void InputReader::fail(int status, int section, int line, const std::string& detail) {
  status_ = status;
  if (misplaced_line_ == 0 && numeric_header_line_ != 0 && line > numeric_header_line_) {
    // A line of numbers stood where a header was due, and the reads after it
    // went on out of place: the count above it is named first.
    std::string where = place(section, line);
    where.erase(0, DETAIL_INDENT.size());
    where.resize(where.size() - 2);  // the ": " of a detail line
    const std::string header_line = std::to_string(numeric_header_line_);
    const std::string due = " WHERE THE HEADER OF SECTION " + std::to_string(numeric_header_section_) + " IS DUE";
    std::string cause;
    if (numeric_header_list_.count_line != 0) {
      const ListFrame& list = numeric_header_list_;
      cause = place(numeric_header_list_section_, list.count_line) + "THE " + std::to_string(list.count) + " " +
              list.item + " COUNTED AT LINE " + std::to_string(list.count_line) +
              " MAY BE TOO FEW (OR A LINE TOO MANY STANDS BEFORE LINE " + header_line + "): LINE " + header_line + "," +
              due + ", HOLDS NUMBERS ONLY";
    } else {
      cause = place(numeric_header_section_, numeric_header_line_) + "LINE " + header_line + "," + due +
              ", HOLDS NUMBERS ONLY";
    }
    SET_STATUS_DETAIL(cause + ", SO THE LINES AFTER IT WERE READ OUT OF PLACE UNTIL " + where + ": " + detail);
    return;
  }
  if (misplaced_line_ == 0) {
    SET_STATUS_DETAIL(place(section, line) + detail);
    return;
  }
  // A section out of its place shifts every read after it: the failure is
  // named at the header that began it, with the option that explains it.
  std::string where = place(section, line);
  where.erase(0, DETAIL_INDENT.size());
  where.resize(where.size() - 2);  // the ": " of a detail line
  std::string cause;
  if (misplaced_due_ < misplaced_section_) {
    // A section the options bring in is missing: the header of a later one
    // stands in its place.
    cause = place(misplaced_due_, misplaced_line_) + presence_condition(misplaced_due_) +
            ", BUT THE HEADER OF SECTION " + std::to_string(misplaced_section_) + " STANDS HERE";
  } else {
    cause = place(misplaced_section_, misplaced_line_) + "THE SECTION STANDS HERE WHILE " +
            presence_condition(misplaced_section_);
  }
  SET_STATUS_DETAIL(cause + ", SO THE LINES AFTER IT WERE READ OUT OF PLACE UNTIL " + where + ": " + detail);
}

void InputReader::note_misplaced_header(const std::string& text) {
  if (misplaced_line_ != 0) return;
  const int found = section_of_header(text);
  if (found == 0 || found == section_) return;
  // Only the options explain a section out of its place: one present that
  // they leave out, or one they bring in that is missing.
  const bool present_though_left_out = !section_present(found) && found < section_;
  const bool missing_though_brought_in = found > section_ && !presence_condition(section_).empty();
  if (!present_though_left_out && !missing_though_brought_in) return;
  misplaced_line_ = line();
  misplaced_section_ = found;
  misplaced_due_ = section_;
}

namespace {
// The offending text between apostrophes. Built by appending: g++ 12 warns
// falsely (-Wrestrict) on a chain of string concatenations here.
std::string quoted(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result.append(1, '\'').append(text).append(1, '\'');
  return result;
}
}  // namespace

bool InputReader::settle(int io_result) {
  switch (io_result) {
    case fio::IO_OK:
      return true;
    case fio::IO_END:
      // The line that was expected is the one after the last line of the file.
      fail(STATUS_INPUT_DATA_ERROR, section_, line() + 1, "END OF FILE");
      return false;
    case fio::IO_BAD_VALUE:
      if (const std::string read = fio::last_line(UNIT_INPUT); first_non_text_byte(read) != 0) {
        fail(STATUS_INPUT_DATA_ERROR, section_, line(), not_text_detail(line(), read, first_non_text_byte(read)));
        return false;
      }
      if (const int header = section_of_header(fio::last_line(UNIT_INPUT)); header != 0) {
        // A value missing from the record (or from one above it) made the
        // reads run on into the next section; name the record's own line.
        // The section's own header, due as a record, follows a line too many
        // (or a count too low) above it: the header read took that line.
        std::string detail = "THE RECORD RUNS INTO THE SECTION HEADER ";
        if (line() == record_line_) detail = "A RECORD IS DUE, NOT THE SECTION HEADER ";
        detail.append(quoted(SECTION_HEADERS[static_cast<std::size_t>(header)]));
        if (line() > record_line_) detail.append(" AT LINE ").append(std::to_string(line()));
        detail.append(list_context());
        if (line() > record_line_) {
          detail.append(", A VALUE IS MISSING HERE OR ABOVE");
        } else if (header == section_) {
          detail.append(", A LINE TOO MANY ABOVE IT OR A COUNT TOO LOW");
        } else {
          detail.append(", A VALUE IS MISSING ABOVE IT");
        }
        fail(STATUS_INPUT_DATA_ERROR, section_, record_line_, detail);
        return false;
      }
      {
        const std::string field = fio::last_bad_field(UNIT_INPUT);
        fail(STATUS_INPUT_DATA_ERROR, section_, line(), quoted(field) + bad_value_detail(field));
      }
      return false;
    default:
      fail(STATUS_INPUT_DATA_ERROR, section_, line() + 1, "READ ERROR " + std::to_string(io_result));
      return false;
  }
}

void InputReader::note_unread_values() {
  int values_read = 0;
  int values_left = 0;
  fio::last_list_line(UNIT_INPUT, values_read, values_left);
  if (values_left <= 0) return;
  // "INPUT SECTION 3 (LOAD CASES), LINE 23 HOLDS 7 VALUES, 6 ARE READ"
  std::string where = place(section_, line());
  where.erase(0, DETAIL_INDENT.size());
  where.resize(where.size() - 2);  // the ": " of a detail line
  where.append(" HOLDS ").append(std::to_string(values_read + values_left)).append(" VALUES, ");
  where.append(std::to_string(values_read)).append(values_read == 1 ? " IS READ" : " ARE READ");
  fio::write(UNIT_RUN_LOG, INPUT_WARNING_LAYOUT, where);
}

std::string InputReader::list_context() const {
  if (lists_.empty()) return {};
  const ListFrame& list = lists_.back();
  return ", ENTRY " + std::to_string(list.entry) + " OF THE " + std::to_string(list.count) + " " + list.item +
         " COUNTED AT LINE " + std::to_string(list.count_line);
}

std::string InputReader::bad_value_detail(const std::string& field) const {
  const fio::BadValueTarget target = fio::last_bad_target(UNIT_INPUT);
  std::string due = "A NUMBER IS DUE";
  if (target.repeat_count) {
    due = "A REPEAT COUNT IS AT LEAST 1";
  } else if (target.kind == fio::Target::Kind::Int) {
    due = "AN INTEGER IS DUE";
    for (const CountPlace& place : counts_due_) {
      if (place.position == target.position) {
        due = "A COUNT FROM 0 TO " + std::to_string(place.capacity) + " IS DUE";
      }
    }
  }
  // A word where a number of a counted list is due: the count may promise
  // more entries than the list holds.
  if (is_word(field)) due.append(list_context());
  return " (" + due + ")";
}

void InputReader::note_letterless_real() {
  std::string field;
  int at = 0;
  if (!fio::last_letterless_real(UNIT_INPUT, field, at)) return;
  // "1-3" as it is read: the sign after the first character opens the exponent.
  std::string read_as = field;
  const std::size_t sign = read_as.find_last_of("+-");
  if (sign != std::string::npos && sign > 0) read_as.insert(sign, 1, 'E');
  warn_at(at, field, "READ AS " + read_as + ": AN EXPONENT WITHOUT ITS LETTER, OR A BLANK LEFT OUT");
}

void InputReader::warn_at(int line, std::string_view text, std::string_view reason) {
  // "INPUT SECTION 3 (LOAD CASES), LINE 17: '1-3' (READ AS 1E-3: ...)"
  std::string where = place(section_, line);
  where.erase(0, DETAIL_INDENT.size());
  where.append(quoted(text)).append(" (").append(reason).append(")");
  fio::write(UNIT_RUN_LOG, INPUT_WARNING_LAYOUT, where);
}

bool InputReader::header(int section) {
  const ListFrame list_before = last_list_;
  const int list_section = last_list_section_;
  last_list_ = ListFrame{"", 0, 0};
  section_ = section;
  std::string text;
  if (!text_line(text)) return false;
  fio::write(UNIT_RUN_LOG, READING_LAYOUT, text);
  note_misplaced_header(text);
  if (numeric_header_line_ == 0 && holds_only_numbers(fio::last_line(UNIT_INPUT))) {
    numeric_header_line_ = line();
    numeric_header_section_ = section;
    numeric_header_list_ = list_before;
    numeric_header_list_section_ = list_section;
  }
  return true;
}

bool InputReader::text_line(std::string& text) {
  if (!ok()) return false;
  return settle(fio::read_line(UNIT_INPUT, text, TEXT_LINE_LENGTH)) && text_bytes(fio::last_line(UNIT_INPUT));
}

bool InputReader::text_bytes(const std::string& line_text) {
  const int byte = first_non_text_byte(line_text);
  if (byte == 0) return true;
  fail(STATUS_INPUT_DATA_ERROR, section_, line(), not_text_detail(line(), line_text, byte));
  return false;
}

bool InputReader::discard_reals(int n) {
  // Nothing uses these values, so their size does not matter.
  double discarded = 0.0;
  for (int k = 1; k <= n; ++k) {
    if (!ok() || !settle(fio::read_list(UNIT_INPUT, discarded))) return false;
  }
  return ok();
}

bool InputReader::usable_real(double value) {
  const double magnitude = std::fabs(value);
  if (std::isfinite(value) &&
      (magnitude == 0.0 || (magnitude >= MIN_INPUT_MAGNITUDE && magnitude <= MAX_INPUT_MAGNITUDE))) {
    return true;
  }
  reject(number_text(value), MAGNITUDE_REASON);
  return false;
}

bool InputReader::count(int& n, const char* item, int capacity) {
  if (!ok()) return false;
  if (n < 0) n = 0;
  if (n <= capacity) return true;
  fail(STATUS_CAPACITY_EXCEEDED, section_, line(),
       std::string(item) + " " + std::to_string(n) + " EXCEEDS THE CAPACITY " + std::to_string(capacity));
  return false;
}

void InputReader::reject(std::string_view text, std::string_view reason) { reject_at(section_, line(), text, reason); }

void InputReader::reject_at(int section, int line, std::string_view text, std::string_view reason) {
  if (!ok()) return;
  std::string detail = quoted(text);
  detail.append(" (").append(reason).append(")");
  fail(STATUS_INPUT_DATA_ERROR, section, line, detail);
}

}  // namespace pilecap::input_detail

namespace pilecap {

InputLinesRecord InputLines;

std::string INPUT_PLACE(int section, int line) { return input_detail::line_place(section, line); }

}  // namespace pilecap
