// The reader of the input data file: two title lines, then 22 sections in a
// fixed order, each present or absent by the options and counts read before
// it. This file holds the order of the sections, the title lines, the option
// line (section 1) and the pile cap (section 2), and the settings derived from
// the options: the curve export file, unit labels and column headings.
#include <cmath>
#include <string>
#include <utility>

#include "base/unit_labels.hpp"
#include "input/input_reader.hpp"
#include "input/report_headers.hpp"
#include "model/conversions.hpp"

namespace pilecap {

namespace input_detail {

namespace {

// (/,12X,20A4,/,/): an empty line, the title after 12 blanks, two empty lines.
const fio::Format TITLE_LAYOUT("(/,12X,A80,/,/)");
// (5X,"READING * TITLE AND VERSION")
const fio::Format TITLE_READ_LAYOUT("(5X,\"READING * TITLE AND VERSION\")");

constexpr int PASSIVE_METHOD_LINE = 2;          // cap passive option that adds method and increments
constexpr int PASSIVE_MODEL_LINE = 3;           // from this option on: the line with the model parameters
constexpr int PASSIVE_SOIL_FROM_SOIL_DATA = 0;  // soil models that take no parameters of their own
constexpr int PASSIVE_FHD_FROM_SOIL = 1;
constexpr int DISCARDED_CAP_LINES = 1;   // cap flag followed by lines that are read and dropped
constexpr int PMULT_BY_DIRECTION_A = 3;  // reduction-factor methods with a direction line
constexpr int PMULT_BY_DIRECTION_B = 4;
constexpr double MIN_POISSON_RATIO = -1.0;  // excluded
constexpr double MAX_POISSON_RATIO = 0.5;
constexpr std::string_view EXPORT_DETAIL_INDENT = "    ";  // as the other lines of the final message

void read_titles(InputReader& in) {
  std::string second_title;
  if (!in.text_line(RunTitle.text) || !in.text_line(second_title)) return;
  fio::write(UNIT_RUN_LOG, TITLE_LAYOUT, RunTitle.text);
  fio::write(UNIT_RUN_LOG, TITLE_READ_LAYOUT);
}

// The curve export file is opened in every run, as text or unformatted.
void open_curve_export(int& status) {
  const fio::Form form = RunOptions.export_unformatted == 0 ? fio::Form::Formatted : fio::Form::Unformatted;
  if (fio::open(UNIT_CURVE_EXPORT, RunFiles.curve_export_file, fio::Mode::Write, form) != fio::IO_OK) {
    SET_STATUS_DETAIL(std::string(EXPORT_DETAIL_INDENT) + RunFiles.curve_export_file);
    status = STATUS_FILE_ERROR;
  }
}

// An embedded cap resists through its thickness and the width it presents
// to the soil: its equivalent diameter when one is given, else its own width
// (in 3D the plan diagonal built on it). Without an equivalent diameter the
// width itself must be positive: a 3D cap of width 0 would otherwise present
// its length as a diagonal.
bool embedded_cap_has_size(InputReader& in) {
  const auto& cap = CapGeometry;
  if (!(cap.thickness_xx > 0.0)) {
    in.reject(number_text(cap.thickness_xx), "AN EMBEDDED CAP NEEDS A POSITIVE THICKNESS");
    return false;
  }
  if (!(cap.eq_diameter > 0.0) && !(cap.width_zz > 0.0)) {
    in.reject(number_text(cap.width_zz), "AN EMBEDDED CAP NEEDS A POSITIVE WIDTH");
    return false;
  }
  return true;
}

// The method of the passive resistance is one the analysis has, and the
// element of method 1 has room for its increments.
bool passive_method_usable(InputReader& in) {
  const auto& passive = CapPassiveElement;
  if (passive.method != CAP_PASSIVE_BY_MEANS && passive.method != CAP_PASSIVE_BY_ELEMENT) {
    in.reject(std::to_string(passive.method), "THE PASSIVE-RESISTANCE METHOD IS 0 OR 1");
    return false;
  }
  if (passive.method == CAP_PASSIVE_BY_ELEMENT &&
      (passive.increments < 1 || passive.increments > MAX_PILE_INCREMENTS)) {
    in.reject(std::to_string(passive.increments), "THE CAP ELEMENT HAS 1 TO 200 INCREMENTS");
    return false;
  }
  return true;
}

// The soil model of an embedded cap by its own parameters (a soil model
// other than 0 and 1): a stiffness, an ultimate force and a displacement
// below zero describe no soil.
bool passive_model_usable(InputReader& in) {
  const auto& passive = CapPassiveElement;
  if (passive.soil_model == PASSIVE_SOIL_FROM_SOIL_DATA || passive.soil_model == PASSIVE_FHD_FROM_SOIL) return true;
  const std::pair<double, const char*> parameters[] = {
      {passive.K50, "K50"}, {passive.F_ULT, "THE ULTIMATE FORCE F ULT"}, {passive.Y_MAX, "Y MAX"}};
  for (const auto& [value, name] : parameters) {
    if (value < 0.0) {
      in.reject(number_text(value), std::string(name) + " OF THE CAP'S SOIL MODEL IS 0 OR ABOVE");
      return false;
    }
  }
  return true;
}

}  // namespace

void read_options(InputReader& in) {
  auto& o = RunOptions;
  int unused = 0;
  if (!in.header(SECTION_OPTIONS)) return;
  if (!in.read(o.units, o.dimension, o.cap_passive_option, o.cap_model, o.user_py_curves, o.user_axial_curves,
               o.user_torsion_curves, o.pmult_method, MomentCurvatureSet.n_sets, o.nonsymmetric_ei,
               o.axial_factor_column, o.print_py_curves, unused, o.spacing_diameter_option, o.adjust_batter_depth,
               o.layering_correction, o.layering_same_code_skip, o.generate_axial_curves, o.extend_curve_interpolation,
               o.force_unit, o.depth_reduction, o.soil_movement_profile, o.plot_export, o.export_unformatted)) {
    return;
  }
  // Every conversion takes a flag other than 2 as English units while the
  // labels of the reports turn generic (F, L): the numbers would be read in
  // one system and printed under no unit at all.
  if (o.units != UNITS_ENGLISH && o.units != UNITS_SI) {
    in.reject(std::to_string(o.units), "THE UNITS FLAG IS 1 (ENGLISH) OR 2 (SI)");
    return;
  }
  // Each cap model reads its own lines of section 2; another value would
  // leave those lines to be read as the next section.
  if (o.cap_model < CAP_MODEL_RIGID || o.cap_model > CAP_MODEL_PLATE_EXPORT) {
    in.reject(std::to_string(o.cap_model), "THE CAP MODEL OPTION IS 0, 1 OR 2");
    return;
  }
  if (o.pmult_method < PMULT_METHOD_NONE || o.pmult_method > PMULT_METHOD_DEFINED) {
    in.reject(std::to_string(o.pmult_method), "THE REDUCTION-FACTOR METHOD IS 0 TO 4");
    return;
  }
  if (o.pmult_method != PMULT_METHOD_NONE && o.spacing_diameter_option != 0 &&
      o.spacing_diameter_option != SPACING_DIAMETER_MEAN) {
    in.reject(std::to_string(o.spacing_diameter_option), "THE SPACING DIAMETER OPTION IS 0 OR 1");
    return;
  }
  o.pmult_direction.fill(1.0);
  if (o.pmult_method == PMULT_BY_DIRECTION_A || o.pmult_method == PMULT_BY_DIRECTION_B) in.read(o.pmult_direction);
}

void read_pile_cap(InputReader& in) {
  auto& cap = CapGeometry;
  int discard_flag = 0;
  if (!in.header(SECTION_PILE_CAP)) return;
  if (!in.read(cap.length_yy, cap.width_zz, cap.thickness_xx, cap.eq_diameter, cap.fifth_value, discard_flag)) {
    return;
  }
  if (RunOptions.cap_passive_option >= 1 && !embedded_cap_has_size(in)) return;
  if (discard_flag == DISCARDED_CAP_LINES) {
    int n_groups = 0;
    if (!in.read(n_groups)) return;
    for (int group = 1; group <= n_groups; ++group) {
      int n_values = 0;
      if (!in.read(n_values) || !in.discard_reals(n_values)) return;
    }
  }
  auto& passive = CapPassiveElement;
  passive.method = 0;
  passive.increments = CAP_PASSIVE_INCREMENTS_DEFAULT;
  if (RunOptions.cap_passive_option == PASSIVE_METHOD_LINE) {
    if (!in.read(passive.method, passive.increments)) return;
  }
  if (RunOptions.cap_passive_option >= PASSIVE_MODEL_LINE) {
    if (!in.read(passive.method, passive.soil_model, passive.increments, passive.K50, passive.F_ULT, passive.Y_MAX)) {
      return;
    }
  }
  if (RunOptions.cap_passive_option >= PASSIVE_METHOD_LINE && !passive_method_usable(in)) return;
  if (RunOptions.cap_passive_option >= PASSIVE_MODEL_LINE && !passive_model_usable(in)) return;
  if (RunOptions.cap_model > 0) {
    auto& plate = CapPlateInput;
    if (!in.read(plate.center_x, plate.center_y, plate.divisions_1, plate.divisions_2, plate.young_modulus,
                 plate.poisson_ratio)) {
      return;
    }
    if (!(plate.young_modulus > 0.0)) {
      in.reject(number_text(plate.young_modulus), "THE PLATE NEEDS A POSITIVE YOUNG MODULUS");
      return;
    }
    // The plate's shear modulus divides by 1 + nu and its bending stiffness
    // by 1 - nu^2; a material has a ratio of at most 1/2.
    if (!(plate.poisson_ratio > MIN_POISSON_RATIO && plate.poisson_ratio <= MAX_POISSON_RATIO)) {
      in.reject(number_text(plate.poisson_ratio), "POISSON'S RATIO OF THE PLATE IS ABOVE -1 AND AT MOST 0.5");
      return;
    }
  }
}

// Sections 1 and 2 and the settings that follow from the option line.
void read_options_and_cap(InputReader& in, int& status) {
  read_titles(in);
  read_options(in);
  if (!in.ok()) return;
  RunConstants.export_curve_points = EXPORT_CURVE_POINTS;
  open_curve_export(status);
  if (!in.ok()) return;
  int system = RunOptions.units == UNITS_SI ? -1 : RunOptions.units == UNITS_ENGLISH ? 1 : 0;
  SET_UNIT_LABELS(system, RunOptions.force_unit);
  SET_RESULT_COLUMN_HEADINGS(RunOptions.dimension);
  read_pile_cap(in);
}

}  // namespace input_detail

void READ_INPUT_FILE(int& status) {
  using namespace input_detail;
  WRITE_REPORT_HEADERS();
  RESET_INPUT_RECORDS(status);
  if (status != STATUS_OK) return;

  InputLines = InputLinesRecord{};
  InputReader in(status);
  read_options_and_cap(in, status);
  read_load_cases(in);
  read_load_combinations(in);
  read_load_sets(in, SECTION_DISTRIBUTED_LOAD_SETS, LoadSetTable.loads);
  read_load_sets(in, SECTION_SOIL_MOVEMENT_SETS, LoadSetTable.movements);
  read_pile_arrangement(in);
  check_load_entries(in);
  read_property_sets(in);
  read_cross_sections(in);
  read_soil_layers(in);
  if (RunOptions.print_py_curves == 1) read_py_print_requests(in);
  if (RunOptions.user_py_curves == 1) read_user_py_curves(in);
  read_generated_curve_piles(in, SECTION_GENERATED_LS_PILES, GeneratedCurvePiles.ls_count, GeneratedCurvePiles.ls_piles,
                             InputLines.generated_ls_curve);
  if (RunOptions.dimension == MODEL_3D) {
    read_generated_curve_piles(in, SECTION_GENERATED_TR_PILES, GeneratedCurvePiles.tr_count,
                               GeneratedCurvePiles.tr_piles, InputLines.generated_tr_curve);
  }
  if (RunOptions.user_axial_curves == 1) read_user_ls_curves(in);
  if (RunOptions.user_torsion_curves == 1) read_user_tr_curves(in);
  read_moment_curvature_sets(in);
  if (CrossSection.count > 0) {
    read_section_curves(in);
    read_section_bilinear_data(in);
  }
  if (RunOptions.depth_reduction == 1) read_depth_factor_tables(in);
  if (RunOptions.soil_movement_profile == 1) read_soil_movement_profile(in);
  if (RunOptions.plot_export == 1) read_py_export_request(in);
}

}  // namespace pilecap
