// The deck writer and a whole input file for a set of switches, written in
// the order of the input sections with every presence condition. Values are
// distinct wherever a field is stored, so a value landing in the wrong field
// shows up as a mismatch of that field.
#include "input_fixture.hpp"

#include <algorithm>
#include <charconv>

namespace pilecap::testing {

std::string field_text(int value) { return std::to_string(value); }

std::string field_text(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string field_text(const std::string& value) { return value; }

namespace {

constexpr std::size_t SPREAD_VALUES_PER_LINE = 3;
constexpr std::size_t STORED_TEXT_LENGTH = 80;

std::string padded(const std::string& text) {
  std::string out = text.substr(0, STORED_TEXT_LENGTH);
  out.resize(STORED_TEXT_LENGTH, ' ');
  return out;
}

bool is_zero(const DeckItem& item) {
  return (item.kind == DeckItem::Kind::Int && item.i == 0) || (item.kind == DeckItem::Kind::Real && item.r == 0.0);
}

std::string token(const DeckItem& item) {
  switch (item.kind) {
    case DeckItem::Kind::Int:
      return std::to_string(item.i);
    case DeckItem::Kind::Real:
      return field_text(item.r);
    case DeckItem::Kind::Text:
      return "'" + item.text + "'";
  }
  return {};
}

}  // namespace

namespace {

DeckItem stored_at(DeckItem::Kind kind, std::string where, std::function<std::string()> actual) {
  DeckItem item;
  item.kind = kind;
  item.nullable = kind != DeckItem::Kind::Text;
  item.where = std::move(where);
  item.actual = std::move(actual);
  return item;
}

}  // namespace

DeckItem I(long long value, std::string where, std::function<std::string()> actual) {
  DeckItem item = stored_at(DeckItem::Kind::Int, std::move(where), std::move(actual));
  item.i = value;
  return item;
}

DeckItem R(double value, std::string where, std::function<std::string()> actual) {
  DeckItem item = stored_at(DeckItem::Kind::Real, std::move(where), std::move(actual));
  item.r = value;
  return item;
}

DeckItem T(const std::string& value, std::string where, std::function<std::string()> actual) {
  DeckItem item = stored_at(DeckItem::Kind::Text, std::move(where), std::move(actual));
  item.text = value;
  return item;
}

DeckItem kept(DeckItem item) {
  item.nullable = false;
  return item;
}

void DeckWriter::text_line(const std::string& text) {
  text_ += text + "\n";
  ++lines_;
}

void DeckWriter::header(int section) {
  text_line("SECTION " + std::to_string(section) + " HEADER");
  headers_.emplace_back(section, lines_);
}

int DeckWriter::header_line(int section) const {
  for (const auto& [s, line] : headers_) {
    if (s == section) return line;
  }
  return 0;
}

void DeckWriter::expect(const std::string& where, const std::string& expected, std::function<std::string()> actual) {
  expectations_.push_back({where, expected, std::move(actual)});
}

int DeckWriter::marked(const std::string& name) const {
  for (const auto& [mark, line] : marks_) {
    if (mark == name) return line;
  }
  return 0;
}

void DeckWriter::read(const std::vector<DeckItem>& items) {
  const int first_line = lines_ + 1;
  last_read_line_ = first_line;
  for (const DeckItem& item : items) {
    if (!item.actual) continue;
    const std::string expected = item.kind == DeckItem::Kind::Text ? padded(item.text) : token(item);
    expectations_.push_back({item.where + " at line " + std::to_string(first_line), expected, item.actual});
  }
  // Tokens: empty for a null value.
  std::vector<std::string> tokens;
  for (const DeckItem& item : items) {
    tokens.push_back(style_.nulls && item.nullable && is_zero(item) ? std::string() : token(item));
  }
  bool slash = false;
  if (style_.slashes) {
    std::size_t keep = items.size();
    while (keep > 0 && items[keep - 1].nullable && is_zero(items[keep - 1])) --keep;
    if (keep < items.size()) {
      tokens.resize(keep);
      slash = true;
    }
  }
  if (style_.repeats) {
    std::vector<std::string> runs;
    for (std::size_t k = 0; k < tokens.size();) {
      std::size_t end = k + 1;
      while (end < tokens.size() && tokens[end] == tokens[k] && !tokens[k].empty()) ++end;
      runs.push_back(end - k > 1 ? std::to_string(end - k) + "*" + tokens[k] : tokens[k]);
      k = end;
    }
    tokens = runs;
  }
  // A null last value would leave the read looking for it on the next line.
  if (!tokens.empty() && tokens.back().empty()) tokens.back() = "0";
  if (slash) tokens.push_back("/");
  const bool has_null = std::any_of(tokens.begin(), tokens.end(), [](const std::string& t) { return t.empty(); });
  std::string line;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (k > 0) {
      if (style_.spread && !has_null && k % SPREAD_VALUES_PER_LINE == 0) {
        text_line(line);
        line.clear();
      } else {
        line += has_null ? "," : " ";
      }
    }
    line += tokens[k];
  }
  text_line(line);
}

}  // namespace pilecap::testing
