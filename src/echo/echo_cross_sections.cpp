// The cross-section descriptions of TABLE E: for every cross section of the
// input, an elastic one with its shape, dimensions, moduli and given moment
// capacities (top and bottom values when tapered), a nonlinear one with the
// description its moment-curvature curves were made from: concrete, steel
// shapes, casing, reinforcement, confinement, prestressing strands. Prints
// only. Cross sections and bars are 1-based; dimensions print in inches or
// millimetres, areas in their squares, moduli, strengths, forces and moments
// in pounds or kips. Ratios and fractions print as read.
#include <array>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

using Reals = CrossSectionRecord::Reals;
using Ints = CrossSectionRecord::Ints;
using BarTable = CrossSectionRecord::BarTable;
using X = CrossSectionRecord;

constexpr const char* TITLE = "(/,5X,\"* PILE CROSS SECTIONS *\")";
//       CROSS SECTION       :     1
//       SECTION NAME        : PIPE 24X0.5
constexpr const char* SECTION_LAYOUT = "(/,5X,\" CROSS SECTION       : \",I5,/,5X,\" SECTION NAME        : \",A32)";
constexpr const char* ELASTIC_WITH_CAPACITY_LAYOUT = "(5X,\" TYPE\",16X,\": \",\" ELASTIC WITH\")";
constexpr const char* CAPACITY_LAYOUT = "(5X,5X,16X,2X,\" SPEC. MOMENT CAPACITY\")";
constexpr const char* ELASTIC_LAYOUT = "(5X,\" TYPE                : \",\" ELASTIC\")";
constexpr const char* NONLINEAR_LAYOUT = "(5X,\" TYPE                : \",\" NONLINEAR\")";
constexpr const char* SHAPE_LAYOUT = "(5X,\" CROSS SECTION TYPE  :\",A)";
constexpr const char* TAPERED_LAYOUT = "(5X,\" TAPERED SECTION       \",\"         TOP                  BOTTOM\")";
constexpr const char* AISC_NAME_LAYOUT = "(5X,\" AISC SECTION NAME   : \",A32)";
// A value line: its label, then the value and its unit. The label is a
// blank, the name left-justified in 20 columns and ": ".
constexpr const char* LABEL_LAYOUT = "(5X,A,\\)";
constexpr const char* LENGTH_UNIT_LAYOUT = "(\" \",A2)";
constexpr const char* STRESS_UNIT_LAYOUT = "(\" \",A3,A1,A2,A2,A1)";  // also the force unit and the blank end
constexpr const char* MOMENT_UNIT_LAYOUT = "(\" \",A3,A1,A2)";
constexpr const char* AREA_UNIT_LAYOUT = "(\" \",A2,A2,A1)";
// The text that continues a label line.
constexpr const char* CONTINUATION_LAYOUT = "(5X,A)";

constexpr const char* NO_CASING_LAYOUT = "(5X,\" DIAMETER CASING     : NO CASING\")";
constexpr const char* CONFINED_LAYOUT = "(5X,\" CONFINED SECTION      \",\\)";
constexpr const char* STRAIN_HARDENING_LAYOUT = "(5X,\" USE STRAIN HARDENING MODEL \")";
constexpr const char* COORDS_HEADING_LAYOUT = "(5X,A,\\)";
constexpr const char* COORD_UNIT_LAYOUT = "(\" \",A2,\\)";
constexpr const char* AREA_COORD_UNIT_LAYOUT = "(\" \",A2,\"^2\",\\)";
//       - REBAR    1        :       5.50000        0.00000
constexpr const char* REBAR_ROW_LAYOUT = "(5X,\" - REBAR \",I4,7X,\" : \",\\)";
constexpr const char* STRAND_ROW_LAYOUT = "(5X,\" - STRAND \",I4,6X,\" : \",\\)";

// Nonlinear section types (CrossSection.type).
constexpr int NL_RECTANGULAR_CONCRETE = 1;
constexpr int NL_ROUND_SHAFT = 2;
constexpr int NL_CASED_SHAFT = 3;
constexpr int NL_ROUND_PRESTRESSED = 4;
constexpr int NL_SQUARE_PRESTRESSED = 5;
constexpr int NL_OCTAGONAL_PRESTRESSED = 6;
constexpr int NL_STEEL_PIPE = 7;
constexpr int NL_STEEL_I_H = 8;
constexpr int NL_STEEL_AISC = 9;
// AISC families above this are round (pipe-like) shapes.
constexpr int AISC_LAST_OPEN_FAMILY = 11;
// Layouts of bars and strands: below this the positions follow a pattern.
constexpr int LAYOUT_MANUAL = 2;
// Steel sections inside a cased shaft.
constexpr int EMBEDDED_NONE = 0;
constexpr int EMBEDDED_PIPE = 1;
constexpr int EMBEDDED_I_H = 2;
constexpr int EMBEDDED_AISC = 3;

// What follows the value of a line, and how the value is converted.
enum class Unit { Length, Stress, Moment, Area, Force, Blank, End };

double converted(Unit unit, double v) {
  switch (unit) {
    case Unit::Length:
      return KILO_SCALE_SI(v);
    case Unit::Area:
      return MEGA_SCALE_SI(v);
    case Unit::Stress:
    case Unit::Moment:
    case Unit::Force:
      return KIPS_FROM_POUNDS(v);
    default:
      return v;  // ratios and fractions have no unit to convert
  }
}

void write_unit(Unit unit) {
  const auto& u = UnitLabels;
  switch (unit) {
    case Unit::Length:
      fio::write(UNIT_ECHO, LENGTH_UNIT_LAYOUT, u.length_small_short());
      return;
    case Unit::Stress:
      fio::write(UNIT_ECHO, STRESS_UNIT_LAYOUT, u.force_short(), u.slash(), u.moment_length(), u.power(), u.two());
      return;
    case Unit::Moment:
      fio::write(UNIT_ECHO, MOMENT_UNIT_LAYOUT, u.force_short(), u.dash(), u.moment_length());
      return;
    case Unit::Area:
      fio::write(UNIT_ECHO, AREA_UNIT_LAYOUT, u.length_small_short(), u.power(), u.two());
      return;
    case Unit::Force:
      fio::write(UNIT_ECHO, STRESS_UNIT_LAYOUT, u.force_short());
      return;
    case Unit::Blank:
      fio::write(UNIT_ECHO, STRESS_UNIT_LAYOUT);
      return;
    case Unit::End:
      fio::write_list(UNIT_ECHO);
      return;
  }
}

// " EQUIVALENT DIAMETER : " and one value.
void value_line(std::string_view label, double v, Unit unit) {
  fio::write(UNIT_ECHO, LABEL_LAYOUT, label);
  WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, converted(unit, v));
  write_unit(unit);
}

// A line of a tapered section: the top value, its unit in ten columns, the bottom value and its unit.
void value_line(std::string_view label, double top, double bottom, Unit unit) {
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, LABEL_LAYOUT, label);
  WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, converted(unit, top));
  WRITE_BLANKS(UNIT_ECHO, 1);
  if (unit == Unit::Length) {
    WRITE_TEXT2_FIELD(UNIT_ECHO, u.length_small_short());
    WRITE_BLANKS(UNIT_ECHO, 7);
  } else if (unit == Unit::Moment) {
    WRITE_TEXT3_FIELD(UNIT_ECHO, u.force_short());
    WRITE_CHAR_FIELD(UNIT_ECHO, '-');
    WRITE_TEXT2_FIELD(UNIT_ECHO, u.moment_length());
    WRITE_BLANKS(UNIT_ECHO, 3);
  } else {
    WRITE_TEXT3_FIELD(UNIT_ECHO, u.force_short());
    WRITE_CHAR_FIELD(UNIT_ECHO, '/');
    WRITE_TEXT2_FIELD(UNIT_ECHO, u.moment_length());
    WRITE_TEXT2_FIELD(UNIT_ECHO, u.power());
    WRITE_CHAR_FIELD(UNIT_ECHO, '2');
  }
  WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, converted(unit, bottom));
  write_unit(unit);
}

// " NUMBER REBARS       : " and a count.
void count_line(std::string_view label, int n) {
  fio::write(UNIT_ECHO, LABEL_LAYOUT, label);
  WRITE_INT_FIELD(UNIT_ECHO, 13, n);
  END_REPORT_LINE(UNIT_ECHO);
}

// A label line continued by the text of a code; a code without a text ends
// the label line there.
void coded_line(std::string_view label, int code, std::initializer_list<const char*> texts) {
  fio::write(UNIT_ECHO, LABEL_LAYOUT, label);
  if (code >= 0 && code < static_cast<int>(texts.size())) {
    fio::write(UNIT_ECHO, CONTINUATION_LAYOUT, texts.begin()[code]);
  } else {
    fio::write_list(UNIT_ECHO);
  }
}

// ------------------------------------------------------------- elastic

// The lines of an elastic section: one value, or the top and bottom values
// when tapered.
struct ElasticLines {
  int c;
  bool tapered;
  void line(std::string_view label, Reals X::*top, Reals X::*bottom, Unit unit) const {
    if (tapered) {
      value_line(label, (CrossSection.*top)(c), (CrossSection.*bottom)(c), unit);
    } else {
      value_line(label, (CrossSection.*top)(c), unit);
    }
  }
  void length(std::string_view label, Reals X::*top, Reals X::*bottom) const { line(label, top, bottom, Unit::Length); }
};

const char* elastic_shape_name(int shape, int aisc_family) {
  switch (shape) {
    case SHAPE_GENERAL:
      return " GENERAL SECTION  ";
    case SHAPE_CIRCULAR_PIPE:
      return " CIRCULAR PIPE    ";
    case SHAPE_RECTANGULAR_PIPE:
      return " RECTANGULAR PIPE ";
    case SHAPE_I:
      return " I SECTION        ";
    case SHAPE_H:
      return " H SECTION        ";
    default:
      break;
  }
  switch (aisc_family) {
    case 0:
      return " AISC SECTION (W) ";
    case 1:
      return " AISC SECTION (M) ";
    case 2:
      return " AISC SECTION (S) ";
    case 3:
      return " AISC SECTION (HP)";
    case 11:
      return " AISC SECTION (HSS) ";
    case 12:
      return " AISC SECTION (PIPE)";
    default:
      return " AISC SECTION       ";
  }
}

void write_elastic_dimensions(const ElasticLines& l, int shape) {
  const auto& x = CrossSection;
  const int c = l.c;
  auto equivalent_diameter = [&] { l.length(" EQUIVALENT DIAMETER : ", &X::diameter, &X::diameter_bottom); };
  auto open_shape = [&] {
    l.length(" EXTERNAL WIDTH      : ", &X::width, &X::width_bottom);
    l.length(" EXTERNAL DEPTH      : ", &X::depth, &X::depth_bottom);
    l.length(" FLANGE THICKNESS    : ", &X::flange_thickness, &X::flange_thickness_bottom);
    l.length(" WEB THICKNESS       : ", &X::web_thickness, &X::web_thickness_bottom);
  };
  switch (shape) {
    case SHAPE_GENERAL:
      equivalent_diameter();
      return;
    case SHAPE_CIRCULAR_PIPE:
      l.length(" EXTERNAL DIAMETER   : ", &X::diameter, &X::diameter_bottom);
      l.length(" INTERNAL DIAMETER   : ", &X::inner_diameter, &X::inner_diameter_bottom);
      return;
    case SHAPE_RECTANGULAR_PIPE:
      equivalent_diameter();
      l.length(" EXTERNAL WIDTH      : ", &X::width, &X::width_bottom);
      l.length(" EXTERNAL DEPTH      : ", &X::depth, &X::depth_bottom);
      l.length(" INTERNAL WIDTH      : ", &X::inner_width, &X::inner_width_bottom);
      l.length(" INTERNAL DEPTH      : ", &X::inner_depth, &X::inner_depth_bottom);
      return;
    case SHAPE_I:
    case SHAPE_H:
      equivalent_diameter();
      open_shape();
      return;
    default:  // an AISC shape, uniform only
      fio::write(UNIT_ECHO, AISC_NAME_LAYOUT, x.aisc_name(c));
      if (x.aisc_round(c) != 0) {
        l.length(" EXTERNAL DIAMETER   : ", &X::diameter, &X::diameter_bottom);
      } else {
        equivalent_diameter();
      }
      if (x.aisc_family(c) > AISC_LAST_OPEN_FAMILY) {
        l.length(" INTERNAL DIAMETER   : ", &X::inner_diameter, &X::inner_diameter_bottom);
        l.length(" THICKNESS           : ", &X::wall_thickness, &X::wall_thickness);
      } else {
        open_shape();
      }
      return;
  }
}

void write_elastic(int c) {
  const auto& x = CrossSection;
  const bool three_d = RunOptions.dimension == MODEL_3D;
  const bool tapered = x.tapered(c) != 0;
  if (x.moment_capacity_given(c) != 0) {
    fio::write(UNIT_ECHO, ELASTIC_WITH_CAPACITY_LAYOUT);
    fio::write(UNIT_ECHO, CAPACITY_LAYOUT);
  } else {
    fio::write(UNIT_ECHO, ELASTIC_LAYOUT);
  }
  int shape = x.shape(c);
  bool described = true;
  if (tapered && (shape < SHAPE_GENERAL || shape > SHAPE_I)) {
    // A tapered section of another shape is shown as an H section.
    fio::write(UNIT_ECHO, SHAPE_LAYOUT, elastic_shape_name(SHAPE_H, 0));
    shape = SHAPE_I;
  } else if (shape >= SHAPE_GENERAL && shape <= SHAPE_AISC) {
    fio::write(UNIT_ECHO, SHAPE_LAYOUT, elastic_shape_name(shape, x.aisc_family(c)));
  } else {
    described = false;
  }
  if (tapered) fio::write(UNIT_ECHO, TAPERED_LAYOUT);
  const ElasticLines l{c, tapered};
  if (described) write_elastic_dimensions(l, shape);
  l.line(" YOUNG MODULUS       : ", &X::modulus, &X::modulus_bottom, Unit::Stress);
  if (three_d && shape != SHAPE_GENERAL) {
    l.line(" SHEAR MODULUS       : ", &X::shear_modulus, &X::shear_modulus_bottom, Unit::Stress);
  }
  if (x.moment_capacity_given(c) == 1) {
    l.line(three_d ? " PLASTIC MOMENT ZZ   : " : " PLASTIC MOMENT      : ", &X::mn_zz, &X::mn_zz_bottom, Unit::Moment);
    if (three_d) l.line(" PLASTIC MOMENT YY   : ", &X::mn_yy, &X::mn_yy_bottom, Unit::Moment);
  }
}

// ------------------------------------------------------------ nonlinear

void steel_pipe_lines(int c) {
  value_line(" DIAMETER STEEL      : ", CrossSection.steel_diameter(c), Unit::Length);
  value_line(" THICKNESS STEEL     : ", CrossSection.steel_thickness(c), Unit::Length);
}

void steel_shape_lines(int c) {
  const auto& x = CrossSection;
  value_line(" EXTERNAL WIDTH      : ", x.nl_width(c), Unit::Length);
  value_line(" EXTERNAL DEPTH      : ", x.nl_depth(c), Unit::Length);
  value_line(" FLANGE THICKNESS    : ", x.nl_flange_thickness(c), Unit::Length);
  value_line(" WEB THICKNESS       : ", x.nl_web_thickness(c), Unit::Length);
}

void aisc_lines(int c, bool with_diameter) {
  const auto& x = CrossSection;
  fio::write(UNIT_ECHO, AISC_NAME_LAYOUT, x.nl_aisc_name(c));
  if (with_diameter && x.nl_aisc_round(c) == 0) value_line(" EQUIVALENT DIAMETER : ", x.diameter(c), Unit::Length);
  if (x.nl_aisc_family(c) > AISC_LAST_OPEN_FAMILY) {
    steel_pipe_lines(c);
  } else {
    steel_shape_lines(c);
  }
}

// The user-defined EI section uses the modulus where a bending direction
// names no moment-curvature set.
bool modulus_used(int c) {
  const auto& x = CrossSection;
  if (RunOptions.dimension == MODEL_3D) return x.mphi_set_zz(c) == 0 || x.mphi_set_yy(c) == 0;
  return x.mphi_set_zz(c) == 0;
}

void write_type_block(int c) {
  const auto& x = CrossSection;
  auto shape = [](const char* name) { fio::write(UNIT_ECHO, SHAPE_LAYOUT, name); };
  auto diameter = [&](Reals X::*field) { value_line(" EQUIVALENT DIAMETER : ", (x.*field)(c), Unit::Length); };
  switch (x.type(c)) {
    case NL_RECTANGULAR_CONCRETE:
      shape(" RECTANGULAR CONCRETE PILE  ");
      diameter(&X::diameter);
      value_line(" EXTERNAL WIDTH      : ", x.nl_width(c), Unit::Length);
      value_line(" EXTERNAL DEPTH      : ", x.nl_depth(c), Unit::Length);
      return;
    case NL_ROUND_SHAFT:
      shape(" ROUND CONCRETE SHAFT       ");
      value_line(" EXTERNAL DIAMETER   : ", x.nl_diameter(c), Unit::Length);
      return;
    case NL_CASED_SHAFT:
      shape(" ROUND CONC. SHAFT, CASING (AND STEEL SECTION)");
      value_line(" CONCRETE DIAMETER   : ", x.nl_diameter(c), Unit::Length);
      return;
    case NL_ROUND_PRESTRESSED:
      shape(" ROUND PRESTRESSED PILE     ");
      value_line(" EXTERNAL DIAMETER   : ", x.nl_diameter(c), Unit::Length);
      value_line(" VOID DIAMETER       : ", x.void_diameter(c), Unit::Length);
      return;
    case NL_SQUARE_PRESTRESSED:
      shape(" SQUARE PRESTRESSED PILE    ");
      diameter(&X::diameter);
      value_line(" EXTERNAL WIDTH      : ", x.nl_width(c), Unit::Length);
      value_line(" CORNER CHAMFER      : ", x.corner_chamfer(c), Unit::Length);
      value_line(" VOID DIAMETER       : ", x.void_diameter(c), Unit::Length);
      return;
    case NL_OCTAGONAL_PRESTRESSED:
      shape(" OCTOGONAL PRESTRESSED PILE ");
      diameter(&X::diameter);
      value_line(" EXTERNAL WIDTH      : ", x.nl_width(c), Unit::Length);
      value_line(" VOID DIAMETER       : ", x.void_diameter(c), Unit::Length);
      return;
    case NL_STEEL_PIPE:
      shape(" STEEL PIPE PILE            ");
      steel_pipe_lines(c);
      return;
    case NL_STEEL_I_H:
      shape(x.h_section(c) == 0 ? " STEEL I SECTION PILE       " : " STEEL H SECTION PILE       ");
      diameter(&X::diameter);
      steel_shape_lines(c);
      return;
    case NL_STEEL_AISC:
      shape(" STEEL AISC SECTION PILE    ");
      aisc_lines(c, true);
      return;
    case NL_USER_EI:
      shape(" USER DEFINED EI            ");
      diameter(&X::diameter);
      if (modulus_used(c)) value_line(" YOUNG MODULUS       : ", x.modulus(c), Unit::Stress);
      return;
    default:
      return;  // no shape line
  }
}

void write_casing_and_embedded_steel(int c) {
  const auto& x = CrossSection;
  if (x.casing_diameter(c) > 0.0 && x.casing_thickness(c) > 0.0) {
    value_line(" DIAMETER CASING     : ", x.casing_diameter(c), Unit::Length);
    value_line(" THICKNESS CASING    : ", x.casing_thickness(c), Unit::Length);
    value_line(" ES CASING           : ", x.casing_es(c), Unit::Stress);
    value_line(" FY CASING           : ", x.casing_fy(c), Unit::Stress);
  } else {
    fio::write(UNIT_ECHO, NO_CASING_LAYOUT);
  }
  switch (x.embedded_steel(c)) {
    case EMBEDDED_NONE:
      fio::write(UNIT_ECHO, CONTINUATION_LAYOUT, " EMBEDDED STEEL SECT : NONE");
      return;
    case EMBEDDED_PIPE:
      fio::write(UNIT_ECHO, CONTINUATION_LAYOUT, " EMBEDDED STEEL SECT : PIPE");
      steel_pipe_lines(c);
      return;
    case EMBEDDED_I_H:
      fio::write(UNIT_ECHO, CONTINUATION_LAYOUT,
                 x.h_section(c) == 0 ? " EMBEDDED STEEL SECT : I   " : " EMBEDDED STEEL SECT : H   ");
      steel_shape_lines(c);
      return;
    case EMBEDDED_AISC:
      fio::write(UNIT_ECHO, CONTINUATION_LAYOUT, " EMBEDDED STEEL SECT : AISC");
      aisc_lines(c, false);
      return;
    default:
      return;
  }
}

// The bars or the strands of a section: their texts and fields.
struct BarSet {
  const char* count_label;
  const char* diameter_label;
  const char* area_label;
  const char* layout_label;
  std::array<const char*, 3> layout_texts;  // layouts 0, 1 and 2
  const char* patterned_heading;
  const char* manual_heading;
  const char* row;
  Ints X::*count;
  Ints X::*layout;
  Reals X::*diameter;
  Reals X::*area;
  Reals X::*cover;
  BarTable X::*a;
  BarTable X::*d;
  BarTable X::*y;
  BarTable X::*z;
};

constexpr BarSet REBARS{" NUMBER REBARS       : ",
                        " DIAMETER REINF.     : ",
                        " AREA REINFORCEMENT  : ",
                        " REINF. LAYOUT       : ",
                        {" CIRCULAR    ", " RECTANGULAR ", " MANUAL      "},
                        " REINF. COORDS       : ",
                        " REINF. A , D, COORDS: ",
                        REBAR_ROW_LAYOUT,
                        &X::rebar_count,
                        &X::rebar_layout,
                        &X::rebar_diameter,
                        &X::rebar_area,
                        &X::rebar_cover,
                        &X::bar_a,
                        &X::bar_d,
                        &X::bar_y,
                        &X::bar_z};
constexpr BarSet STRANDS{" NUMBER STRANDS      : ",
                         " DIAMETER STRAND     : ",
                         " AREA STRAND         : ",
                         " STRAND LAYOUT       : ",
                         {" CIRCULAR    ", " SQUARE      ", " MANUAL      "},
                         " STRAND COORDS       : ",
                         " STRAND A , D, COORDS: ",
                         STRAND_ROW_LAYOUT,
                         &X::strand_count,
                         &X::strand_layout,
                         &X::strand_diameter,
                         &X::strand_area,
                         &X::strand_cover,
                         &X::strand_a,
                         &X::strand_d,
                         &X::strand_y,
                         &X::strand_z};

bool manual_layout(int c, const BarSet& set) { return (CrossSection.*set.layout)(c) >= LAYOUT_MANUAL; }

// The count of the bars and, for a patterned layout, their diameter and area.
void write_bar_count(int c, const BarSet& set) {
  const auto& x = CrossSection;
  count_line(set.count_label, (x.*set.count)(c));
  if (manual_layout(c, set)) return;
  value_line(set.diameter_label, (x.*set.diameter)(c), Unit::Length);
  value_line(set.area_label, (x.*set.area)(c), Unit::Area);
}

// The layout of the bars and their coordinates: positions only after the
// cover for a patterned layout, area, diameter and position for a manual one.
void write_bar_layout(int c, const BarSet& set) {
  const auto& x = CrossSection;
  const int layout = (x.*set.layout)(c);
  const bool manual = manual_layout(c, set);
  coded_line(set.layout_label, layout, {set.layout_texts[0], set.layout_texts[1], set.layout_texts[2]});
  if (!manual) value_line(" COVER               : ", (x.*set.cover)(c), Unit::Length);
  const std::string_view unit = UnitLabels.length_small_short();
  fio::write(UNIT_ECHO, COORDS_HEADING_LAYOUT, manual ? set.manual_heading : set.patterned_heading);
  if (manual) {
    WRITE_BLANKS(UNIT_ECHO, 6);
    fio::write(UNIT_ECHO, AREA_COORD_UNIT_LAYOUT, unit);
    WRITE_BLANKS(UNIT_ECHO, 12);
    fio::write(UNIT_ECHO, COORD_UNIT_LAYOUT, unit);
    WRITE_BLANKS(UNIT_ECHO, 13);
  } else {
    WRITE_BLANKS(UNIT_ECHO, 7);
  }
  fio::write(UNIT_ECHO, COORD_UNIT_LAYOUT, unit);
  WRITE_BLANKS(UNIT_ECHO, 13);
  fio::write(UNIT_ECHO, COORD_UNIT_LAYOUT, unit);
  END_REPORT_LINE(UNIT_ECHO);
  for (int i = 1; i <= (x.*set.count)(c); ++i) {
    fio::write(UNIT_ECHO, set.row, i);
    if (manual) {
      WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, MEGA_SCALE_SI((x.*set.a)(c, i)));
      WRITE_BLANKS(UNIT_ECHO, 3);
      WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, KILO_SCALE_SI((x.*set.d)(c, i)));
      WRITE_BLANKS(UNIT_ECHO, 3);
    }
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, KILO_SCALE_SI((x.*set.y)(c, i)));
    WRITE_BLANKS(UNIT_ECHO, 3);
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, KILO_SCALE_SI((x.*set.z)(c, i)));
    END_REPORT_LINE(UNIT_ECHO);
  }
}

void write_reinforcement(int c) {
  const auto& x = CrossSection;
  if (x.rebar_count(c) <= 0) return;
  write_bar_count(c, REBARS);
  value_line(" ES REINFORCEMENT    : ", x.rebar_es(c), Unit::Stress);
  value_line(" FY REINFORCEMENT    : ", x.rebar_fy(c), Unit::Stress);
  write_bar_layout(c, REBARS);
}

void write_confinement(int c) {
  const auto& x = CrossSection;
  fio::write(UNIT_ECHO, CONFINED_LAYOUT);
  END_REPORT_LINE(UNIT_ECHO);
  if (x.type(c) == NL_ROUND_SHAFT) {
    coded_line(" TRANSV. REINF. TYPE : ", x.tie_type(c), {" SPIRAL      ", " HOOP        "});
  }
  count_line(" NUMBER TR. REBARS   : ", x.tie_count(c));
  if (x.type(c) == NL_RECTANGULAR_CONCRETE) {
    count_line(" NUMBER LEGS Y       : ", x.tie_legs_y(c));
    count_line(" NUMBER LEGS Z       : ", x.tie_legs_z(c));
  }
  value_line(" DIAMETER TR. REINF. : ", x.tie_diameter(c), Unit::Length);
  value_line(" AREA TRANSV. REINF. : ", x.tie_area(c), Unit::Area);
  value_line(" SPACING TR. REINF.  : ", x.tie_spacing(c), Unit::Length);
  value_line(" FY TRANSV. REINF.   : ", x.tie_fy(c), Unit::Stress);
  if (x.strain_hardening(c) > 0) {
    fio::write(UNIT_ECHO, STRAIN_HARDENING_LAYOUT);
    value_line(" ESH                 : ", x.esh(c), Unit::End);
    value_line(" ESU                 : ", x.esu(c), Unit::End);
    value_line(" FU/FY               : ", x.fu_fy(c), Unit::End);
  }
}

void write_strands(int c) {
  const auto& x = CrossSection;
  if (x.strand_count(c) <= 0) return;
  write_bar_count(c, STRANDS);
  constexpr const char* STRAND_TYPES[] = {" USER-DEFINED          ", " GRADE 250 LO-LAX      ",
                                          " GRADE 270 LO-LAX      ", " GRADE 300 LO-LAX      ",
                                          " SMOOTH 145            ", " SMOOTH 160            ",
                                          " DEFORMED 150          ", " DEFORMED 157          ",
                                          " DEFORMED 160          ", " CARBON FIBER COMPOSITE CABLE(CFCC)"};
  constexpr int n_types = static_cast<int>(std::size(STRAND_TYPES));
  const int type = x.strand_type(c) >= 0 && x.strand_type(c) < n_types ? x.strand_type(c) : 0;
  fio::write(UNIT_ECHO, LABEL_LAYOUT, " STRAND TYPE         : ");
  fio::write(UNIT_ECHO, CONTINUATION_LAYOUT, STRAND_TYPES[type]);
  value_line(" FU STRAND           : ", x.strand_fu(c), Unit::Stress);
  value_line(" ES STRAND           : ", x.strand_es(c), Unit::Stress);
  value_line(" INITIAL PRESS. FORCE: ", x.fu_fy(c), Unit::Force);
  value_line(" FRACT. PRESS. LOSSES: ", x.prestress_loss_fraction(c), Unit::Blank);
  value_line(" FORCE AFTER LOSSES  : ", x.prestress_after_losses(c), Unit::Force);
  write_bar_layout(c, STRANDS);
}

void write_nonlinear(int c) {
  const auto& x = CrossSection;
  const int type = x.type(c);
  fio::write(UNIT_ECHO, NONLINEAR_LAYOUT);
  write_type_block(c);
  if (type < NL_STEEL_PIPE) value_line(" CONCRETE FC         : ", x.concrete_fc(c), Unit::Stress);
  if (type == NL_CASED_SHAFT) write_casing_and_embedded_steel(c);
  const bool steel = type == NL_STEEL_PIPE || type == NL_STEEL_I_H || type == NL_STEEL_AISC;
  if (steel || (type == NL_CASED_SHAFT && x.embedded_steel(c) > EMBEDDED_NONE)) {
    value_line(" ES STEEL            : ", x.steel_es(c), Unit::Stress);
    value_line(" FY STEEL            : ", x.steel_fy(c), Unit::Stress);
  }
  if (type <= NL_CASED_SHAFT) {
    write_reinforcement(c);
    value_line(" EQ. YOUNG MODULUS   : ", x.modulus(c), Unit::Stress);
  }
  if (type <= NL_ROUND_SHAFT && x.confined(c) > 0) write_confinement(c);
  if (type >= NL_ROUND_PRESTRESSED && type <= NL_OCTAGONAL_PRESTRESSED) {
    write_strands(c);
    value_line(" EQ. YOUNG MODULUS   : ", x.modulus(c), Unit::Stress);
  }
}

}  // namespace

void PRINT_CROSS_SECTIONS() {
  fio::write(UNIT_ECHO, TITLE);
  for (int c = 1; c <= CrossSection.count; ++c) {
    fio::write(UNIT_ECHO, SECTION_LAYOUT, c, CrossSection.name(c));
    if (CrossSection.nonlinear(c) == 0) {
      write_elastic(c);
    } else {
      write_nonlinear(c);
    }
  }
}

}  // namespace pilecap
