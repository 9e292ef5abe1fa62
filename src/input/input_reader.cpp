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

// The usual header a line holds (blanks and letter case aside); empty when
// it holds none.
std::string_view section_header_at(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
  for (std::size_t k = 1; k < SECTION_HEADERS.size(); ++k) {
    const std::string_view header = SECTION_HEADERS[k];
    if (header.size() != line.size()) continue;
    bool same = true;
    for (std::size_t c = 0; c < header.size() && same; ++c) {
      same = std::toupper(static_cast<unsigned char>(line[c])) == header[c];
    }
    if (same) return header;
  }
  return {};
}

//     INPUT SECTION 10 (SOIL LAYERS), LINE 59:
std::string place(int section, int line) {
  std::string where(DETAIL_INDENT);
  if (section == TITLE_LINES) {
    where.append("INPUT TITLE LINES");
  } else {
    where.append("INPUT SECTION ").append(std::to_string(section));
    if (section > TITLE_LINES && section <= SECTION_PY_EXPORT) {
      where.append(" (").append(SECTION_HEADERS[static_cast<std::size_t>(section)]).append(")");
    }
  }
  return where.append(", LINE ").append(std::to_string(line)).append(": ");
}

}  // namespace

std::string number_text(double value) {
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

void InputReader::fail(int status, int section, int line, const std::string& detail) {
  SET_STATUS_DETAIL(place(section, line) + detail);
  status_ = status;
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
      if (const std::string_view header = section_header_at(fio::last_line(UNIT_INPUT)); !header.empty()) {
        // A value missing from the record (or from one above it) made the
        // reads run on into the next section; name the record's own line.
        std::string detail = "THE RECORD RUNS INTO THE SECTION HEADER ";
        if (line() == record_line_) detail = "A RECORD IS DUE, NOT THE SECTION HEADER ";
        detail.append(quoted(header));
        if (line() > record_line_) detail.append(" AT LINE ").append(std::to_string(line()));
        detail.append(line() > record_line_ ? ", A VALUE IS MISSING HERE OR ABOVE" : ", A VALUE IS MISSING ABOVE IT");
        fail(STATUS_INPUT_DATA_ERROR, section_, record_line_, detail);
        return false;
      }
      fail(STATUS_INPUT_DATA_ERROR, section_, line(), quoted(fio::last_bad_field(UNIT_INPUT)));
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

bool InputReader::header(int section) {
  section_ = section;
  std::string text;
  if (!text_line(text)) return false;
  fio::write(UNIT_RUN_LOG, READING_LAYOUT, text);
  return true;
}

bool InputReader::text_line(std::string& text) {
  if (!ok()) return false;
  return settle(fio::read_line(UNIT_INPUT, text, TEXT_LINE_LENGTH));
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
