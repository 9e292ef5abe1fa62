// Unit labels and result column headings. UnitLabels is one 52-character
// text whose stretches hold the unit names of one unit system (SI, English
// with pounds or kips, or generic L and F); the column headings are three
// lines of 10-character cells, one per per-node result quantity, whose unit
// cells are assembled from those stretches.
#include "base/unit_labels.hpp"

#include <array>

#include "base/fio.hpp"

namespace pilecap {

UnitLabelsRecord UnitLabels;
ResultColumnHeadingsRecord ResultColumnHeadings;

namespace {

// Symbol characters at positions 13 to 28 and 34 to 35, the same in every set.
constexpr std::string_view SYMBOLS_13_28 = "/-**23  4RADDEG^";
constexpr std::string_view SYMBOLS_34_35 = " *";

// The unit texts of one set and the positions they start at: length, force,
// moment_length, moment_force, stress, character 33, length_large,
// length_small, length_large_short, length_small_short, force_large,
// force_short.
constexpr int LABEL_TEXTS = 12;
using LabelSet = std::array<std::string_view, LABEL_TEXTS>;
constexpr std::array<int, LABEL_TEXTS> LABEL_POSITIONS{1, 4, 8, 10, 29, 33, 36, 39, 42, 44, 46, 50};
constexpr int SYMBOLS_13_AT = 13;
constexpr int SYMBOLS_34_AT = 34;

constexpr LabelSet SI_LABELS{"  M", "  KN", " M", " KN", " KPA", " ", "  M", " MM", " M", "MM", "  KN", " KN"};
constexpr LabelSet ENGLISH_LABELS{" IN", " LBS", "IN", "LBS", " PSI", " ", " FT", " IN", "FT", "IN", " LBS", "LBS"};
constexpr LabelSet ENGLISH_KIP_LABELS{" IN", " LBS", "IN", "LBS", " PSI", " ", " FT", " IN", "FT", "IN", "KIPS", "KIP"};
// The generic set has no stress unit; its forces read "F".
constexpr LabelSet GENERIC_LABELS{"  L", "   F", " L", "F/L", "    ", " ", "  L", "  L", "  ", "  ", "   F", "  F"};
constexpr int KIP_FORCE_UNIT = 1;

void put(std::string& text, int first, std::string_view value) {
  text.replace(static_cast<std::size_t>(first - 1), value.size(), value);
}

// The kinds of unit cell under a heading.
enum class UnitKind { None, Length, Moment, Force, ForcePerLength, Stress, Rigidity, Rotation };

struct HeadingCell {
  std::string_view line1, line2;
  UnitKind unit;
};

using HeadingSet = std::array<HeadingCell, RESULT_HEADING_COLUMNS>;

constexpr std::string_view DISPL = "  DISPL.  ";
constexpr std::string_view MOMENT = "  MOMENT  ";
constexpr std::string_view SHEAR = "   SHEAR  ";
constexpr std::string_view SOIL_REACT = "SOIL REACT";
constexpr std::string_view DEM_CAP = " DEM./CAP.";
constexpr std::string_view ROTATION = " ROTATION ";
constexpr std::string_view HINGE = "  HINGE   ";
constexpr std::string_view FLEX_RIG = "FLEX. RIG.";
constexpr std::string_view DIST_LOAD = "DIST. LOAD";
constexpr std::string_view TOTAL = "   TOTAL  ";
constexpr std::string_view STRESS = "  STRESS  ";
constexpr std::string_view X_DIR = "   x-DIR  ";
constexpr std::string_view Y_DIR = "   y-DIR  ";
constexpr std::string_view Z_DIR = "   z-DIR  ";
constexpr std::string_view YZ_DIR = "  y-z-DIR ";
constexpr std::string_view BLANK = "";

constexpr HeadingSet HEADINGS_3D{{
    {DISPL, X_DIR, UnitKind::Length},
    {DISPL, Y_DIR, UnitKind::Length},
    {DISPL, Z_DIR, UnitKind::Length},
    {DISPL, YZ_DIR, UnitKind::Length},
    {DISPL, "   X-DIR  ", UnitKind::Length},
    {DISPL, "   Y-DIR  ", UnitKind::Length},
    {DISPL, "   Z-DIR  ", UnitKind::Length},
    {DISPL, "  Y-Z-DIR ", UnitKind::Length},
    {MOMENT, Z_DIR, UnitKind::Moment},
    {MOMENT, Y_DIR, UnitKind::Moment},
    {MOMENT, YZ_DIR, UnitKind::Moment},
    {SHEAR, Y_DIR, UnitKind::Force},
    {SHEAR, Z_DIR, UnitKind::Force},
    {SHEAR, YZ_DIR, UnitKind::Force},
    {SOIL_REACT, Y_DIR, UnitKind::ForcePerLength},
    {SOIL_REACT, Z_DIR, UnitKind::ForcePerLength},
    {SOIL_REACT, YZ_DIR, UnitKind::ForcePerLength},
    {" AXIAL F. ", X_DIR, UnitKind::Force},
    {TOTAL, STRESS, UnitKind::Stress},
    {FLEX_RIG, Z_DIR, UnitKind::Rigidity},
    {FLEX_RIG, Y_DIR, UnitKind::Rigidity},
    {DIST_LOAD, Y_DIR, UnitKind::ForcePerLength},
    {DIST_LOAD, Z_DIR, UnitKind::ForcePerLength},
    {DEM_CAP, MOMENT, UnitKind::None},
    {DEM_CAP, SHEAR, UnitKind::None},
    {ROTATION, Z_DIR, UnitKind::Rotation},
    {ROTATION, Y_DIR, UnitKind::Rotation},
    {HINGE, Z_DIR, UnitKind::None},
    {HINGE, Y_DIR, UnitKind::None},
}};

constexpr HeadingCell BLANK_CELL{BLANK, BLANK, UnitKind::None};

constexpr HeadingSet HEADINGS_2D{{
    HEADINGS_3D[0],
    HEADINGS_3D[1],
    BLANK_CELL,
    BLANK_CELL,
    HEADINGS_3D[4],
    HEADINGS_3D[5],
    BLANK_CELL,
    BLANK_CELL,
    {"  BENDING ", MOMENT, UnitKind::Moment},
    BLANK_CELL,
    BLANK_CELL,
    {SHEAR, "   FORCE  ", UnitKind::Force},
    BLANK_CELL,
    BLANK_CELL,
    {"   SOIL   ", " REACTION ", UnitKind::ForcePerLength},
    BLANK_CELL,
    BLANK_CELL,
    {"   AXIAL  ", "   FORCE  ", UnitKind::Force},
    {TOTAL, STRESS, UnitKind::Stress},
    {" FLEXURAL ", " RIGIDITY ", UnitKind::Rigidity},
    BLANK_CELL,
    {"DISTRIBUT.", "   LOAD   ", UnitKind::ForcePerLength},
    BLANK_CELL,
    HEADINGS_3D[23],
    HEADINGS_3D[24],
    HEADINGS_3D[25],
    BLANK_CELL,
    HEADINGS_3D[27],
    BLANK_CELL,
}};

// A cell of RESULT_HEADING_WIDTH characters: the text, then blanks.
std::string cell(std::string_view text) {
  std::string out(text.substr(0, RESULT_HEADING_WIDTH));
  out.resize(RESULT_HEADING_WIDTH, ' ');
  return out;
}

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// The unit cell of one kind, laid out as the column layouts of the headings:
// length (4X,A2); moment and force per length (2X,A3,A1,A2); force (4X,A3);
// stress and rigidity (1X,A3,A1,A2,A2,A1).
std::string unit_cell(UnitKind kind) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string force = std::string(u.force_short());
  const std::string length = std::string(u.moment_length());
  const std::string square = std::string(u.power()).append(u.two());
  switch (kind) {
    case UnitKind::Length:
      return cell(blanks(4) + length);
    case UnitKind::Moment:
      return cell(blanks(2) + force + u.dash()[0] + length);
    case UnitKind::Force:
      return cell(blanks(4) + force);
    case UnitKind::ForcePerLength:
      return cell(blanks(2) + force + u.slash()[0] + length);
    case UnitKind::Stress:
      return cell(blanks(1) + force + u.slash()[0] + length + square);
    case UnitKind::Rigidity:
      return cell(blanks(1) + force + u.dash()[0] + length + square);
    case UnitKind::Rotation:
      return cell("   RAD    ");
    case UnitKind::None:
      break;
  }
  return cell(BLANK);
}

}  // namespace

void SET_UNIT_LABELS(int& sign, int& force_unit) {
  const LabelSet& set = sign < 0                       ? SI_LABELS
                        : sign == 0                    ? GENERIC_LABELS
                        : force_unit == KIP_FORCE_UNIT ? ENGLISH_KIP_LABELS
                                                       : ENGLISH_LABELS;
  std::string& text = UnitLabels.text;
  text.assign(UNIT_LABELS_LENGTH, ' ');
  put(text, SYMBOLS_13_AT, SYMBOLS_13_28);
  put(text, SYMBOLS_34_AT, SYMBOLS_34_35);
  for (std::size_t k = 0; k < set.size(); ++k) put(text, LABEL_POSITIONS[k], set[k]);
}

std::string LABEL_TEXT(std::string_view label) {
  const std::size_t first = label.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(label.substr(first));
}

void SET_RESULT_COLUMN_HEADINGS(int& dimension) {
  constexpr int DIMENSION_3D = 3;
  auto& h = ResultColumnHeadings;
  const HeadingSet& set = dimension == DIMENSION_3D ? HEADINGS_3D : HEADINGS_2D;
  h.node_first_cells(1) = cell("     x    ");
  h.node_first_cells(2) = cell(BLANK);
  h.node_first_cells(3) = blanks(4) + std::string(UnitLabels.length_large_short()) + blanks(4);
  h.pile_first_cells(1) = " PILE ";
  h.pile_first_cells(2) = blanks(PILE_FIRST_CELL_WIDTH);
  h.rule10 = std::string(RESULT_HEADING_WIDTH, '*');
  h.rule6 = std::string(PILE_FIRST_CELL_WIDTH, '*');
  for (int column = 1; column <= RESULT_HEADING_COLUMNS; ++column) {
    const HeadingCell& heading = set[static_cast<std::size_t>(column - 1)];
    h.line1(column) = cell(heading.line1);
    h.line2(column) = cell(heading.line2);
    h.unit_line(column) = unit_cell(heading.unit);
  }
}

}  // namespace pilecap
