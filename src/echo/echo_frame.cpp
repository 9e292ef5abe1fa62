// The input echo frame: ECHO_INPUT_DATA runs the echo steps in order, each
// printing on the input echo report and building working tables; the
// heading with the run options; TABLE B and the working cap width.
#include <cmath>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

constexpr double CAP_PRESENT_LIMIT = double(1e-10f);  // cap dimensions summing above this are shown
constexpr int PASSIVE_SPRINGS_OPTION = 2;
constexpr int PASSIVE_MODEL_OPTION = 3;
constexpr int SOIL_MODEL_FROM_PROFILE = 0;
constexpr int SOIL_MODEL_FROM_PARAMETERS = 1;

constexpr const char* BLANK_LINES_LAYOUT = "(/,/)";
constexpr const char* INPUT_HEADING_LAYOUT = "(/,/,/,16X,\"*****\",5X,\"INPUT INFORMATION\",5X,\"*****\")";
constexpr const char* TITLE_LAYOUT = "(/,/,5X,20A4)";
//      ANALYSIS TYPE = 3D ANALYSIS
constexpr const char* ANALYSIS_TYPE_LAYOUT = "(/,5X,\"ANALYSIS TYPE = \",I1,\"D ANALYSIS\",5X)";
constexpr const char* ADJUST_DEPTH_LAYOUT = "(/,5X,\"ADJUST DEPTH FOR BATTER PILES\")";
constexpr const char* GENERATE_LAYOUT = "(/,5X,\"GENERATE LOAD-DISP (AND T-R) CURVES BASED ON\",\" SOIL PROFILE\")";
constexpr const char* EXTEND_LAYOUT = "(/,5X,\"EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES\")";
constexpr const char* NONSYMMETRIC_LAYOUT = "(/,5X,\"CONSIDER NON SYMMETRIC SECTIONS FOR NONLINEAR EI\")";
//      UNITS SYSTEM  = ENGL
constexpr const char* UNITS_LAYOUT = "(/,5X,\"UNITS SYSTEM  = \",A4)";

constexpr const char* TABLE_B_TITLE = "(/,/,/,5X,\"* TABLE B *  PILE CAP OPTIONS\")";
//      LENGTH,YY    ( FT ) =    10.00
constexpr const char* CAP_DIMENSIONS_LAYOUT =
    "(/,5X,\"LENGTH,YY    ( \",A2,\" ) = \",1P,G12.4,\"   \",/,5X,\"WIDTH, ZZ    ( \",A2,\" ) = \",G12.4,\"   \",/,"
    "5X,\"THICKNESS,XX ( \",A2,\" ) = \",G12.4)";
constexpr const char* EQ_DIAMETER_LAYOUT = "(5X,\"EQ. DIAMETER ( \",A2,\" ) = \",1P,G12.4)";
constexpr const char* NOT_CONSIDERED_LAYOUT =
    "(/,5X,\"* PILE CAP DIMENSIONS ARE NOT CONSIDERED\",/,5X,\"  FOR THE PILE GROUP ANALYSIS \",/)";
constexpr const char* EMBEDDED_LAYOUT =
    "(/,5X,\"* PILE CAP IS EMBEDDED AND PASSIVE EARTH\",/,5X,\"  RESISTANCE IN FRONT OF PILE CAP WILL \","
    "\"BE CONSIDERED\",/)";
constexpr const char* SPRINGS_LAYOUT = "(5X,\"- USING EQUIVALENT LATERAL SPRINGS\")";
constexpr const char* SPRING_LAYOUT = "(5X,\"- USING EQUIVALENT LATERAL SPRING\")";
constexpr const char* INCREMENTS_LAYOUT = "(5X,\"  INCREMENTS = \",I5)";
constexpr const char* LATERAL_LOAD_LAYOUT = "(5X,\"- USING EQUIVALENT LATERAL LOAD\")";
constexpr const char* SOIL_DATA_MODEL_LAYOUT = "(5X,\"- USE SOIL MODEL FROM SOIL DATA\")";
constexpr const char* PARAMETER_MODEL_LAYOUT = "(5X,\"- USE FHD MODEL BASED ON SOIL \",\"PARAMETERS\")";
constexpr const char* GIVEN_MODEL_LAYOUT = "(5X,\"- USE FHD MODEL, PARAMETERS:    \")";
constexpr const char* MODEL_PARAMETERS_LAYOUT =
    "(5X,\"  K50    (\",A3,\"/\",A2,\"/\",A2,\") = \",1P,G12.4,\"   \",/,5X,\"  F ULT  (\",A3,\"/\",A2,\")    = \","
    "G12.4,\"   \",/,5X,\"  Y MAX  (\",A2,\")        = \",G12.4)";

const char* units_word(int units) {
  switch (units) {
    case UNITS_ENGLISH:
      return "ENGL";
    case UNITS_SI:
      return "METR";
    default:
      // Every other system reports with the generic labels, as system 3 does.
      return "OPEN";
  }
}

// The spring or load line of an embedded cap, with its increments.
void write_passive_method(const char* springs_layout) {
  if (CapPassiveElement.method != 0) {
    fio::write(UNIT_ECHO, springs_layout);
    fio::write(UNIT_ECHO, INCREMENTS_LAYOUT, CapPassiveElement.increments);
  } else {
    fio::write(UNIT_ECHO, LATERAL_LOAD_LAYOUT);
  }
}

}  // namespace

void ECHO_INPUT_DATA(int& status) {
  ECHO_HEADING_AND_OPTIONS();
  ECHO_PILE_CAP_OPTIONS();
  CHECK_PLOT_EXPORT_REQUEST(status);
  if (status != STATUS_OK) return;
  ECHO_LOAD_CASES(status);
  if (status != STATUS_OK) return;
  ECHO_LOAD_COMBINATIONS(status);
  if (status != STATUS_OK) return;
  BUILD_PILE_TABLE();
  BUILD_PILE_PROPERTIES(status);
  if (status != STATUS_OK) return;
  PRINT_PILE_PROPERTIES(status);
  if (status != STATUS_OK) return;
  BUILD_SOIL_PROFILE(status);
  if (status != STATUS_OK) return;
  CHECK_ROCK_LAYER_INPUT(status);
  if (status != STATUS_OK) return;
  // Increments and the layer sentinel are set here, once, before any loop
  // over piles reads them; a batter whose nodes cannot advance is an input error.
  PREPARE_NODE_LAYOUT(status);
  if (status != STATUS_OK) return;
  CHECK_PILES_REACH_THE_SOIL(status);
  if (status != STATUS_OK) return;
  PRINT_SOIL_PROFILE(status);
  if (status != STATUS_OK) return;
  CHECK_PY_PRINT_REQUESTS(status);
  if (status != STATUS_OK) return;
  ECHO_USER_PY_CURVES(status);
  if (status != STATUS_OK) return;
  ECHO_AXIAL_TORSION_CURVES(status);
  if (status != STATUS_OK) return;
  ECHO_MOMENT_CURVATURE_SETS(status);
  if (status != STATUS_OK) return;
  ECHO_REDUCTION_FACTORS(status);
}

std::vector<std::string> RUN_TITLE_WORDS() {
  std::string title = RunTitle.text;
  title.resize(static_cast<std::size_t>(TITLE_WORDS * TITLE_WORD_LENGTH), ' ');
  std::vector<std::string> words;
  for (int w = 0; w < TITLE_WORDS; ++w) {
    words.push_back(title.substr(static_cast<std::size_t>(w * TITLE_WORD_LENGTH), TITLE_WORD_LENGTH));
  }
  return words;
}

void ECHO_HEADING_AND_OPTIONS() {
  RunConstants.end_marker = "END ";
  fio::write(UNIT_ECHO, BLANK_LINES_LAYOUT);
  fio::write(UNIT_ECHO, INPUT_HEADING_LAYOUT);
  fio::write(UNIT_ECHO, TITLE_LAYOUT, RUN_TITLE_WORDS());
  fio::write(UNIT_ECHO, ANALYSIS_TYPE_LAYOUT, RunOptions.dimension);
  if (RunOptions.adjust_batter_depth == 1) fio::write(UNIT_ECHO, ADJUST_DEPTH_LAYOUT);
  if (RunOptions.generate_axial_curves == 1) fio::write(UNIT_ECHO, GENERATE_LAYOUT);
  if (RunOptions.extend_curve_interpolation == 1) fio::write(UNIT_ECHO, EXTEND_LAYOUT);
  if (RunOptions.nonsymmetric_ei == 1) fio::write(UNIT_ECHO, NONSYMMETRIC_LAYOUT);
  fio::write(UNIT_ECHO, UNITS_LAYOUT, units_word(RunOptions.units));
}

void ECHO_PILE_CAP_OPTIONS() {
  auto& cap = CapGeometry;
  const int option = RunOptions.cap_passive_option;
  if (option >= 1 || cap.length_yy + cap.width_zz + cap.thickness_xx > CAP_PRESENT_LIMIT) {
    const std::string_view length_label = UnitLabels.length_large_short();
    fio::write(UNIT_ECHO, TABLE_B_TITLE);
    fio::write(UNIT_ECHO, CAP_DIMENSIONS_LAYOUT, length_label, FEET_FROM_INCHES(cap.length_yy), length_label,
               FEET_FROM_INCHES(cap.width_zz), length_label, FEET_FROM_INCHES(cap.thickness_xx));
    if (cap.eq_diameter > 0.0) {
      fio::write(UNIT_ECHO, EQ_DIAMETER_LAYOUT, length_label, FEET_FROM_INCHES(cap.eq_diameter));
    }
    if (option <= 0) {
      fio::write(UNIT_ECHO, NOT_CONSIDERED_LAYOUT);
    } else {
      fio::write(UNIT_ECHO, EMBEDDED_LAYOUT);
      if (option == PASSIVE_SPRINGS_OPTION) write_passive_method(SPRINGS_LAYOUT);
      if (option == PASSIVE_MODEL_OPTION) {
        write_passive_method(SPRING_LAYOUT);
        const int model = CapPassiveElement.soil_model;
        if (model == SOIL_MODEL_FROM_PROFILE) {
          fio::write(UNIT_ECHO, SOIL_DATA_MODEL_LAYOUT);
        } else if (model == SOIL_MODEL_FROM_PARAMETERS) {
          fio::write(UNIT_ECHO, PARAMETER_MODEL_LAYOUT);
        } else {
          fio::write(UNIT_ECHO, GIVEN_MODEL_LAYOUT);
          fio::write(UNIT_ECHO, MODEL_PARAMETERS_LAYOUT, UnitLabels.moment_force(), UnitLabels.moment_length(),
                     UnitLabels.moment_length(), CapPassiveElement.K50, UnitLabels.moment_force(),
                     UnitLabels.moment_length(), CapPassiveElement.F_ULT, UnitLabels.moment_length(),
                     CapPassiveElement.Y_MAX);
        }
      }
    }
  }
  // The working width of the passive resistance: the plan diagonal in 3D,
  // or the equivalent diameter when the embedded cap gives one.
  if (RunOptions.dimension == MODEL_3D)
    cap.width_zz = std::sqrt(cap.width_zz * cap.width_zz + cap.length_yy * cap.length_yy);
  if (option >= 1 && cap.eq_diameter > 0.0) cap.width_zz = cap.eq_diameter;
}

}  // namespace pilecap
