// Unit labels and result column headings of the reports.
#pragma once

#include <string>
#include <string_view>

#include "base/arrays.hpp"

namespace pilecap {

// ===================================================================
// Unit labels and result column headings, set once per run from the option
// line of the input.

constexpr int UNIT_LABELS_LENGTH = 52;
constexpr int RESULT_HEADING_WIDTH = 10;  // characters of one heading cell
constexpr int RESULT_HEADING_COLUMNS = 29;
constexpr int PILE_FIRST_CELL_WIDTH = 6;

// The short unit texts of report headings, addressed by character position
// (1-based): the fields below are fixed stretches of the one text.
struct UnitLabelsRecord {
  std::string text = std::string(UNIT_LABELS_LENGTH, ' ');

  // Characters first .. last.
  std::string_view chars(int first, int last) const {
    return std::string_view(text).substr(static_cast<std::size_t>(first - 1),
                                         static_cast<std::size_t>(last - first + 1));
  }
  char at(int position) const { return text[static_cast<std::size_t>(position - 1)]; }
  std::string_view length() const { return chars(1, 3); }
  std::string_view force() const { return chars(4, 7); }
  std::string_view moment_length() const { return chars(8, 9); }
  std::string_view moment_force() const { return chars(10, 12); }
  std::string_view stress() const { return chars(29, 32); }
  std::string_view length_large() const { return chars(36, 38); }
  std::string_view length_small() const { return chars(39, 41); }
  std::string_view length_large_short() const { return chars(42, 43); }
  std::string_view length_small_short() const { return chars(44, 45); }
  std::string_view force_large() const { return chars(46, 49); }
  std::string_view force_short() const { return chars(50, 52); }
  // The symbol characters, the same in every unit set.
  std::string_view slash() const { return chars(13, 13); }
  std::string_view dash() const { return chars(14, 14); }
  std::string_view power() const { return chars(15, 16); }  // "**"
  std::string_view two() const { return chars(17, 17); }
  std::string_view three() const { return chars(18, 18); }
  std::string_view radians() const { return chars(22, 24); }  // "RAD"
  char blank_mark() const { return at(34); }
  char asterisk_mark() const { return at(35); }
};
extern UnitLabelsRecord UnitLabels;

// The three heading lines above the per-node result columns, one 10-character
// cell per result quantity, and the cells that precede and underline them.
struct ResultColumnHeadingsRecord {
  Array1<std::string, RESULT_HEADING_COLUMNS> line1, line2, unit_line;
  Array1<std::string, 3> node_first_cells;  // "x", blank, depth unit
  Array1<std::string, 2> pile_first_cells;  // " PILE ", then six blanks for lines 2 and 3
  std::string rule10, rule6;
};
extern ResultColumnHeadingsRecord ResultColumnHeadings;

// SET_UNIT_LABELS
// Fills UnitLabels for one unit system: the symbol characters always, then
// the texts of the set. The generic set has no stress unit (blanks) and the
// force texts "F".
//   in: sign        < 0 SI, > 0 English, 0 generic units
//   in: force_unit  1 with English units: forces in kips
void SET_UNIT_LABELS(int& sign, int& force_unit);

// SET_RESULT_COLUMN_HEADINGS
// Fills ResultColumnHeadings from UnitLabels.
//   Reads:  UnitLabels
//   in:     dimension  3 the set of the 3D model, any other value the 2D set
void SET_RESULT_COLUMN_HEADINGS(int& dimension);

// LABEL_TEXT
// A unit label without the blanks that pad it to its field ("  KIP" ->
// "KIP"), for messages written outside the report layouts.
std::string LABEL_TEXT(std::string_view label);

}  // namespace pilecap
