// The scan of report text for numbers that are not finite: a NaN or an
// infinity printed anywhere (nan, -nan, inf, Infinity, in any case). Words
// are whole runs of letters, so "information" or "infinite" never match.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace pilecap::testing {

// The first word of text that spells a non-finite number, "" when none.
inline std::string first_non_finite_word(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    if (!std::isalpha(static_cast<unsigned char>(text[at]))) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    std::string word;
    while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at]))) {
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
      ++at;
    }
    if (word == "nan" || word == "inf" || word == "infinity") return std::string(text.substr(start, at - start));
  }
  return "";
}

}  // namespace pilecap::testing
