// TABLE F of the input echo: the soil profile layer by layer, with the
// code's text, the depths of the layer top and bottom and every property
// the code uses at both ends. Where the input gave 0 for a p-y modulus, a
// strain at 50 % stress, a side friction or a tip resistance, the program's
// estimate is shown with a note letter (never stored), and the table closes
// with the notes that occurred. Also the check that every p-y print request
// names a pile. Layer l has its top at profile point 2l - 1 and its bottom
// at 2l; depths print in feet or metres, soil stresses per square foot.
#include <array>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "soil/soil.hpp"
#include "transfer/transfer.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_SOIL_LAYERS = 10;
constexpr int INPUT_SECTION_PY_PRINT_REQUESTS = 11;
constexpr double DEGREES_PER_HALF_TURN = 180.0;

constexpr const char* TABLE_F_TITLE = "(/,/,/,5X,\"* TABLE F *   SOIL DATA\")";
constexpr const char* NO_LAYERS_LAYOUT = "(/,5X,\"  NO SOIL LAYERS DEFINED\")";
constexpr const char* SOILS_TITLE = "(/,/,5X,\"SOILS INFORMATION\")";
constexpr const char* GROUND_LAYOUT = "(/,8X,\" GROUND SURFACE          =\",\\)";
constexpr const char* GROUND_UNIT_LAYOUT = "(\" \",A3)";
//          2 LAYER(S) OF SOIL
constexpr const char* LAYER_COUNT_LAYOUT = "(/,9X,I1,\" LAYER(S) OF SOIL\")";
//          LAYER  1
constexpr const char* LAYER_LAYOUT = "(/,9X,\"LAYER\",I3)";
constexpr const char* CODE_TEXT_LAYOUT = "(9X,A)";
constexpr const char* ENDS_HEADING =
    "(9X,\"                              \",15X,\" TOP OF LAYER    BOTTOM OF LAYER \")";
// Row labels: 39 columns of name, then 12 of unit.
constexpr const char* ROW_NAME_LAYOUT = "(8X,A,\\)";
//  (LBS/FT**3)
constexpr const char* PER_UNIT_LAYOUT = "(\"(\",A3,A1,A2,A2,A1,\") \",\\)";
//        (FT)
constexpr const char* LENGTH_UNIT_LAYOUT = "(7X,\"(\",A2,\") \",\\)";
constexpr const char* DEGREES_LAYOUT = "(2X,\"(DEGREES) \",\\)";
constexpr const char* NO_UNIT_LAYOUT = "(8X,\"    \",\\)";
constexpr const char* PER_CENT_LAYOUT = "(8X,\"(%) \",\\)";
constexpr const char* NOTE_LAYOUT = "(A4,\\)";
constexpr int LABEL_WIDTH = 51;
constexpr int VALUE_WIDTH = 14;
constexpr int VALUE_DIGITS = 5;
constexpr int NOTE_WIDTH = 4;
constexpr const char* NOTES_TITLE =
    "(/,5X,\"  Notes :  Program estimated values for listed parameters\",/,5X,\"           if zero input values "
    "were entered:\")";

// The note letters, in the order of their explanation lines.
enum Note { NOTE_E, NOTE_K, NOTE_C, NOTE_P, NOTE_S, NOTE_R, NOTE_T, NOTE_COUNT };
constexpr const char* NOTE_MARKS[NOTE_COUNT] = {" (E)", " (K)", " (C)", " (P)", " (S)", " (R)", " (T)"};
constexpr const char* NOTE_LINES[NOTE_COUNT] = {
    "(5X,\"           (E) STRAIN AT 50% STRESS\")",
    "(5X,\"           (K) P-Y SUBGRADE MODULUS for Static Loading\")",
    "(5X,\"           (C) P-Y SUBGRADE MODULUS for Cyclic Loading\")",
    "(5X,\"           (P) ULTIMATE UNIT SIDE FRICTION for \",\"Driven Piles\")",
    "(5X,\"           (S) ULTIMATE UNIT SIDE FRICTION for \",\"Drilled Shafts\")",
    "(5X,\"           (R) ULTIMATE UNIT TIP RESISTANCE for \",\"Driven Piles\")",
    "(5X,\"           (T) ULTIMATE UNIT TIP RESISTANCE for \",\"Drilled Shafts\")",
};

// The layer texts of SoilCode 1 .. 14.
constexpr const char* CODE_TEXTS[SOIL_CODE_COUNT] = {
    "THE SOIL IS A SOFT CLAY",
    "THE SOIL IS A STIFF CLAY WITH FREE WATER",
    "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER",
    "THE SOIL IS A SAND",
    "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER",
    "THE LAYER IS A VUGGY LIMESTONE",
    "THE SOIL IS A SILT",
    "THE SOIL IS A SAND USING API CRITERIA",
    "THE LAYER IS A WEAK ROCK",
    "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER, USING INITIAL K VALUE",
    "THE SOIL IS A LIQUEFIED SAND",
    "THE SOIL IS AN ELASTIC SUBGRADE",
    "THE SOIL IS A SOFT CLAY WITH USER DEFINED J",
    "THE SOIL IS A MOD. SOFT CLAY WITH INITIAL K VALUE",
};
constexpr const char* ELASTIC_SUBGRADE_STRESS_TEXT = "THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER";

// The values of one property at the two ends of a layer (0 top, 1 bottom).
using Ends = std::array<double, 2>;
using Flags = std::array<bool, 2>;
constexpr int TOP = 0;
constexpr int BOTTOM = 1;

// The notes written so far in the table.
using NoteFlags = std::array<bool, NOTE_COUNT>;

template <class... Codes>
bool one_of(int code, Codes... codes) {
  return ((code == codes) || ...);
}

// The codes whose layers print a cohesion and a strain at 50 % stress.
bool cohesive(int code) {
  return one_of(code, SOIL_SOFT_CLAY, SOIL_STIFF_CLAY_FREE_WATER, SOIL_STIFF_CLAY_NO_WATER, SOIL_SILT,
                SOIL_STIFF_CLAY_INITIAL_K, SOIL_SOFT_CLAY_USER_J, SOIL_MOD_SOFT_CLAY_INITIAL_K);
}

// Soil stresses per square foot, unit weights per cubic foot (or per metre).
double per_area_large(double v) { return KIPS_FROM_POUNDS(SQ_INCHES_FROM_SQ_FEET(v)); }
double per_volume_large(double v) { return KIPS_FROM_POUNDS(CU_INCHES_FROM_CU_FEET(v)); }

// The name of a row and its unit label: force per length**power, with the
// large or the small length.
enum class Per { Area, Volume };
void write_label(const char* name, bool large_length, Per per) {
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, ROW_NAME_LAYOUT, name);
  fio::write(UNIT_ECHO, PER_UNIT_LAYOUT, u.force_short(), u.slash(),
             large_length ? u.length_large_short() : u.moment_length(), u.power(),
             per == Per::Area ? u.two() : u.three());
}

void write_plain_label(const char* name, const char* unit_layout) {
  fio::write(UNIT_ECHO, ROW_NAME_LAYOUT, name);
  fio::write(UNIT_ECHO, unit_layout);
}

// One cell of a row: a value and its note, or blanks.
struct Cell {
  bool shown = false;
  double value = 0.0;
  int note = NOTE_COUNT;  // NOTE_COUNT: no note
};

// The values of a row after its label (or after 51 blanks): the top cell
// then blanks(4) or its note, the bottom cell and its note; a missing top
// cell is blank, a missing bottom cell ends the row early.
void write_cells(const Cell& top, const Cell& bottom, NoteFlags& notes) {
  if (top.shown) {
    WRITE_REAL_FIELD(UNIT_ECHO, VALUE_WIDTH, VALUE_DIGITS, top.value);
  } else {
    WRITE_BLANKS(UNIT_ECHO, VALUE_WIDTH);
  }
  if (top.shown && top.note != NOTE_COUNT) {
    fio::write(UNIT_ECHO, NOTE_LAYOUT, NOTE_MARKS[top.note]);
    notes[top.note] = true;
  } else {
    WRITE_BLANKS(UNIT_ECHO, NOTE_WIDTH);
  }
  if (bottom.shown) {
    WRITE_REAL_FIELD(UNIT_ECHO, VALUE_WIDTH, VALUE_DIGITS, bottom.value);
    if (bottom.note != NOTE_COUNT) {
      fio::write(UNIT_ECHO, NOTE_LAYOUT, NOTE_MARKS[bottom.note]);
      notes[bottom.note] = true;
    }
  }
  END_REPORT_LINE(UNIT_ECHO);
}

void write_values(const Ends& v, NoteFlags& notes) { write_cells({true, v[TOP]}, {true, v[BOTTOM]}, notes); }

// A row whose ends may hold estimates: the first row shows the given value
// or, where estimated, the first estimate with its note; a second row, when
// asked for, shows under it the second estimate of every estimated end.
struct Estimates {
  Flags estimated{};
  Ends first{}, second{};
  int first_note = NOTE_COUNT, second_note = NOTE_COUNT;
  bool second_row = false;
};

void write_estimated_rows(const Ends& given, const Estimates& e, NoteFlags& notes) {
  Cell cells[2];
  for (int end : {TOP, BOTTOM}) {
    cells[end] = e.estimated[end] ? Cell{true, e.first[end], e.first_note} : Cell{true, given[end]};
  }
  write_cells(cells[TOP], cells[BOTTOM], notes);
  if (!e.second_row || !(e.estimated[TOP] || e.estimated[BOTTOM])) return;
  WRITE_BLANKS(UNIT_ECHO, LABEL_WIDTH);
  for (int end : {TOP, BOTTOM}) {
    cells[end] = e.estimated[end] ? Cell{true, e.second[end], e.second_note} : Cell{};
  }
  write_cells(cells[TOP], cells[BOTTOM], notes);
}

// What TABLE F needs of the piles.
struct PileKinds {
  bool driven = false;     // D: a pile of a driven set
  bool drilled = false;    // B: a pile of a drilled set
  bool estimates = false;  // a pile without a user load-settlement curve: estimate side and tip values
};

PileKinds pile_kinds() {
  PileKinds kinds;
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const int type = PileProperty.pile_type(PileTable.prop(p));
    if (type == PILE_DRIVEN) kinds.driven = true;
    if (type == PILE_DRILLED) kinds.drilled = true;
    if (PileTable.ls_curve(p) == 0) kinds.estimates = true;
  }
  return kinds;
}

// A pile tip lies within the layer.
bool holds_pile_tip(int l) {
  for (int p = 1; p <= PileTable.n_piles; ++p) {
    const double tip = PileTable.head_x(p) + PileProperty.length(PileTable.prop(p));
    if (SoilProfile.layer_top(l) <= tip && tip <= SoilProfile.layer_bottom(l)) return true;
  }
  return false;
}

Ends column_ends(const SoilColumn& column, int l) { return {column(2 * l - 1), column(2 * l)}; }

template <class Convert>
Ends converted(const Ends& v, Convert convert) {
  return {convert(v[TOP]), convert(v[BOTTOM])};
}

void write_subgrade_row(int l, int code, NoteFlags& notes) {
  const auto& s = SoilProfile;
  Estimates e;
  Ends given{};
  const bool sand = one_of(code, SOIL_SAND, SOIL_API_SAND);
  for (int end : {TOP, BOTTOM}) {
    const int j = 2 * l - 1 + end;
    double c = s.cohesion(j), phi = s.friction_angle(j), gamma = s.unit_weight(j), k = s.subgrade_k(j);
    double k_static = 0.0, k_cyclic = 0.0;
    int estimated = 0, two_values = 0, units = RunOptions.units, layer_code = code;
    DEFAULT_K_FOR_ECHO(c, phi, gamma, k, k_static, k_cyclic, units, layer_code, estimated, two_values);
    given[end] = KIPS_FROM_POUNDS(k);
    e.estimated[end] = estimated == 1;
    e.first[end] = KIPS_FROM_POUNDS(k_static);
    e.second[end] = KIPS_FROM_POUNDS(k_cyclic);
  }
  e.first_note = NOTE_K;
  e.second_note = NOTE_C;
  e.second_row = !sand;
  write_label(" P-Y SUBGRADE MODULUS          ", false, Per::Volume);
  write_estimated_rows(given, e, notes);
}

void write_strain_row(int l, int code, NoteFlags& notes) {
  const auto& s = SoilProfile;
  Estimates e;
  Ends given{};
  for (int end : {TOP, BOTTOM}) {
    const int j = 2 * l - 1 + end;
    double c = s.cohesion(j), e50 = s.e50(j), e50_out = 0.0;
    int units = RunOptions.units, layer_code = code, estimated = 0;
    DEFAULT_E50_FOR_ECHO(c, e50, e50_out, units, layer_code, estimated);
    given[end] = e50;
    e.estimated[end] = estimated == 1;
    e.first[end] = e50_out;
  }
  e.first_note = NOTE_E;
  write_plain_label(" STRAIN AT 50% STRESS          ", NO_UNIT_LAYOUT);
  write_estimated_rows(given, e, notes);
}

// The rows of step 4.2: every property the code uses, in report order.
void write_property_rows(int l, int code, NoteFlags& notes) {
  const auto& s = SoilProfile;
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, ROW_NAME_LAYOUT, " X COORDINATE                  ");
  fio::write(UNIT_ECHO, LENGTH_UNIT_LAYOUT, u.length_large_short());
  write_values({FEET_FROM_INCHES(s.layer_top(l)), FEET_FROM_INCHES(s.layer_bottom(l))}, notes);
  write_label(" EFFECTIVE UNIT WEIGHT         ", true, Per::Volume);
  write_values(converted(column_ends(s.unit_weight, l), per_volume_large), notes);
  if (cohesive(code)) {
    write_label(" UNDRAINED COHESION, C         ", true, Per::Area);
    write_values(converted(column_ends(s.cohesion, l), per_area_large), notes);
  }
  if (one_of(code, SOIL_VUGGY_LIMESTONE, SOIL_WEAK_ROCK)) {
    write_label(" UNIAXIAL COMPRESSIVE STRENGTH ", false, Per::Area);
    write_values(converted(column_ends(s.cohesion, l), KIPS_FROM_POUNDS), notes);
  }
  if (one_of(code, SOIL_SAND, SOIL_SILT, SOIL_API_SAND)) {
    write_plain_label(" FRICTION ANGLE                ", DEGREES_LAYOUT);
    const double pi = RunConstants.pi;
    write_values(converted(column_ends(s.friction_angle, l), [pi](double v) { return v * DEGREES_PER_HALF_TURN / pi; }),
                 notes);
  }
  if (one_of(code, SOIL_STIFF_CLAY_FREE_WATER, SOIL_SAND, SOIL_SILT, SOIL_API_SAND, SOIL_STIFF_CLAY_INITIAL_K,
             SOIL_MOD_SOFT_CLAY_INITIAL_K))
    write_subgrade_row(l, code, notes);
  if (cohesive(code)) write_strain_row(l, code, notes);
  if (code == SOIL_WEAK_ROCK) {
    write_label(" YOUNG MODULUS,ER              ", false, Per::Area);
    write_values(converted(column_ends(s.rock_modulus, l), KIPS_FROM_POUNDS), notes);
    write_plain_label(" KRM                           ", NO_UNIT_LAYOUT);
    write_values(column_ends(s.e50, l), notes);
    write_plain_label(" RQD                           ", PER_CENT_LAYOUT);
    write_values(column_ends(s.j_factor, l), notes);
  }
  if (code == SOIL_ELASTIC_SUBGRADE) {
    const Ends stress = column_ends(s.cohesion, l);
    if (stress[TOP] > 0.0 || stress[BOTTOM] > 0.0) {
      write_label(" MAXIMUM STRESS TRANSFER       ", true, Per::Area);
      write_values(converted(stress, per_area_large), notes);
    }
    write_label(" ELASTIC SUBGRADE MODULUS      ", false, Per::Volume);
    write_values(converted(column_ends(s.subgrade_k, l), KIPS_FROM_POUNDS), notes);
  }
  if (one_of(code, SOIL_SOFT_CLAY_USER_J, SOIL_MOD_SOFT_CLAY_INITIAL_K)) {
    write_plain_label(" J FACTOR                      ", NO_UNIT_LAYOUT);
    write_values(column_ends(s.j_factor, l), notes);
  }
}

// Steps 5 and 6: side friction and tip resistance, with the estimates of
// the pile types in the model where the input gave none.
void write_side_and_tip_rows(int l, int code, const PileKinds& kinds, NoteFlags& notes, int& status) {
  Estimates side, tip;
  if (kinds.estimates) {
    for (int end : {TOP, BOTTOM}) {
      double x = end == TOP ? SoilProfile.layer_top(l) : SoilProfile.layer_bottom(l);
      int layer_code = code, side_flag = 0, tip_flag = 0;
      double f_driven = 0.0, f_drilled = 0.0, q_driven = 0.0, q_drilled = 0.0;
      ULTIMATE_UNIT_RESISTANCE(layer_code, x, side_flag, f_driven, f_drilled, tip_flag, q_driven, q_drilled, status);
      if (status != STATUS_OK) return;
      side.estimated[end] = side_flag == 1;
      tip.estimated[end] = tip_flag == 1;
      side.first[end] = per_area_large(kinds.driven ? f_driven : f_drilled);
      side.second[end] = per_area_large(f_drilled);
      tip.first[end] = per_area_large(kinds.driven ? q_driven : q_drilled);
      tip.second[end] = per_area_large(q_drilled);
    }
  }
  side.first_note = kinds.driven ? NOTE_P : NOTE_S;
  side.second_note = NOTE_S;
  side.second_row = kinds.driven && kinds.drilled;
  write_label(" ULTIMATE UNIT SIDE FRICTION   ", true, Per::Area);
  write_estimated_rows(converted(column_ends(SoilProfile.side_friction, l), per_area_large), side, notes);

  // A tip estimate is shown only in a layer that holds a pile tip.
  if (!holds_pile_tip(l)) tip.estimated = {false, false};
  tip.first_note = kinds.driven ? NOTE_R : NOTE_T;
  tip.second_note = NOTE_T;
  tip.second_row = side.second_row;
  write_label(" ULTIMATE UNIT TIP RESISTANCE  ", true, Per::Area);
  write_estimated_rows(converted(column_ends(SoilProfile.tip_resistance, l), per_area_large), tip, notes);
}

const char* code_text(int l, int code) {
  if (code < 1 || code > SOIL_CODE_COUNT) return nullptr;
  if (code == SOIL_ELASTIC_SUBGRADE) {
    const Ends stress = column_ends(SoilProfile.cohesion, l);
    if (stress[TOP] > 0.0 || stress[BOTTOM] > 0.0) return ELASTIC_SUBGRADE_STRESS_TEXT;
  }
  return CODE_TEXTS[code - 1];
}

}  // namespace

void PRINT_SOIL_PROFILE(int& status) {
  const auto& s = SoilProfile;
  fio::write(UNIT_ECHO, TABLE_F_TITLE);
  if (s.num_layers < 1) {
    fio::write(UNIT_ECHO, NO_LAYERS_LAYOUT);
    return;
  }
  fio::write(UNIT_ECHO, SOILS_TITLE);
  fio::write(UNIT_ECHO, GROUND_LAYOUT);
  WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(s.layer_top(1)));
  fio::write(UNIT_ECHO, GROUND_UNIT_LAYOUT, UnitLabels.length_large());
  fio::write(UNIT_ECHO, LAYER_COUNT_LAYOUT, s.num_layers);

  const PileKinds kinds = pile_kinds();
  NoteFlags notes{};
  for (int l = 1; l <= s.num_layers; ++l) {
    const int code = s.layer_code(l);
    fio::write(UNIT_ECHO, LAYER_LAYOUT, l);
    if (const char* text = code_text(l, code)) fio::write(UNIT_ECHO, CODE_TEXT_LAYOUT, text);
    fio::write(UNIT_ECHO, ENDS_HEADING);
    write_property_rows(l, code, notes);
    write_side_and_tip_rows(l, code, kinds, notes, status);
    if (status != STATUS_OK) {
      // A soil query that failed names the layer it served.
      if (STATUS_DETAIL().empty()) {
        SET_STATUS_DETAIL("    " + INPUT_PLACE(INPUT_SECTION_SOIL_LAYERS, InputLines.soil_layer(l)) + ": SOIL LAYER " +
                          std::to_string(l) + ", ITS ULTIMATE UNIT SIDE FRICTION AND TIP RESISTANCE");
      }
      return;
    }
  }
  bool any_note = false;
  for (bool note : notes) any_note = any_note || note;
  if (!any_note) return;
  fio::write(UNIT_ECHO, NOTES_TITLE);
  for (int n = 0; n < NOTE_COUNT; ++n) {
    if (notes[n]) fio::write(UNIT_ECHO, NOTE_LINES[n]);
  }
}

void CHECK_PY_PRINT_REQUESTS(int& status) {
  const auto& r = PyPrintRequest;
  for (int j = 1; j <= r.count; ++j) {
    if (r.pile(j) < 1 || r.pile(j) > PileTable.n_piles) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PY_PRINT_REQUESTS, "REQUEST " + std::to_string(j), r.pile(j),
                         "PILE NOT DEFINED");
      return;
    }
  }
}

}  // namespace pilecap
