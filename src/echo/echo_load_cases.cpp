// TABLE C of the input echo, first part: one block per load case with its
// name and load type, its concentrated loads and their resultant at the
// origin, the loads or displacements prescribed at a point, its distributed
// loads and soil movements, the data of a stiffness estimation or an
// incremental analysis, and its control values. A case that asks for such
// points and gives none receives a default list of ten, which the analysis
// then uses. Cases, loads and points are 1-based; values print in report
// units (feet or metres along the site, kips with the kip option).
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

constexpr int NOT_ANALYSED = 1;
constexpr int POINT_LOADS_GIVEN = 1;
constexpr int AXIS_GLOBAL = 1;  // distributed loads; the soil movements read 1 as local
constexpr int HEAD_LOAD_OPTION = 1;
constexpr int PRINT_AT_CAP = 0;
constexpr int PRINT_AT_HEADS = 1;
constexpr int PRINT_ALONG_PILES = 2;

// The default point lists: ten points, the first the single-precision 0.1.
constexpr int DEFAULT_POINT_COUNT = 10;
constexpr double FIRST_DEFAULT_POINT = double(0.1f);
constexpr double DEFAULT_FACTOR_STEP = 10.0;
// A stiffness-estimation list longer than this ends with the settings of the estimation.
constexpr int STIFFNESS_SETTINGS = 12;
constexpr double AXIAL_LOADS_CONSIDERED = 1.0;

// Input positions of the concentrated load components and prescribed DOFs:
// X, Y, rotation Z, Z, rotation Y, rotation X.
constexpr int IN_X = 1;
constexpr int IN_Y = 2;
constexpr int IN_RZ = 3;
constexpr int IN_Z = 4;
constexpr int IN_RY = 5;
constexpr int IN_RX = 6;
// Input positions of the application point of a concentrated load.
constexpr int IN_POINT_X = 7;
constexpr int IN_POINT_Y = 8;
constexpr int IN_POINT_Z = 9;
// Cap-order positions of the resultant at the origin.
constexpr int CAP_X = 1;
constexpr int CAP_Y = 2;
constexpr int CAP_Z = 3;
constexpr int CAP_RX = 4;
constexpr int CAP_RY = 5;
constexpr int CAP_RZ = 6;

constexpr const char* LOAD_TYPE_NAMES[LOAD_SPECIAL + 1] = {
    "Dead, DL",   "Live, LL",      "Seismic, EQ", "Impact, IM", "Wind, WN",        "Water, WT",  "Ice, IC",
    "Soils, Hsl", "Roof Live, Lr", "Rain, Rn",    "Snow, Sn",   "Temperature, Tm", "Special, Sp"};

constexpr const char* VARIATION_CONSTANT_LAYOUT = "(\"  -  \",A10,\"WILL BE KEPT CONSTANT FOR THE ANALYSIS\")";
constexpr const char* VARIATION_CHANGING_LAYOUT = "(\"  -  \",A10,\"WILL CHANGE FOR THE ANALYSIS\")";

constexpr const char* TABLE_C_TITLE = "(/,/,/,5X,\"* TABLE C *  LOAD AND CONTROL PARAMETERS\")";
constexpr const char* CASES_TITLE = "(/,/,5X,\"** LOAD CASES **\",/)";
//      NUMBER OF LOAD CASES :    2
constexpr const char* CASE_COUNT_LAYOUT = "(/,5X,\"NUMBER OF LOAD CASES :\",I5)";
constexpr const char* CASE_LAYOUT = "(/,/,5X,\"LOAD CASE    : \",I5,/,5X,\"CASE NAME    : \",A80)";
//      LOAD TYPE    : Wind, WN
constexpr const char* LOAD_TYPE_LAYOUT = "(5X,\"LOAD TYPE    : \",A32)";
constexpr const char* SCALE_FACTOR_LAYOUT = "(5X,\"SCALE FACTOR : \",\\)";
constexpr const char* NOT_ANALYSED_LAYOUT = "(5X,\"NOTE: LOAD CASE WILL NOT BE ANALYZED\")";

constexpr const char* CONCENTRATED_TITLE = "(/,5X,\"* CONCENTRATED LOADS *\",/)";
constexpr const char* CONCENTRATED_HEADING_2D =
    "(5X,\"  NL     VERT.LOAD     HOR.LOAD      \",\"MOMENT      COORD X      COORD Y\")";
//                      LBS          LBS         LBS-IN            FT          FT
constexpr const char* CONCENTRATED_UNITS_2D =
    "(6X,\"          \",1X,A3,\"       \",3X,A3,7X,2X,A3,A1,A2,\"    \",\"    \",2X,A2,10X,A2)";
constexpr const char* CONCENTRATED_HEADING_3D =
    "(4X,\"NL \",\" VERT.LOAD HR.LOAD Y HR.LOAD Z\",\"  MOMENT X  MOMENT Y  MOMENT Z\",\"   COORD X   COORD Y   COORD "
    "Z\")";
constexpr const char* CONCENTRATED_UNITS_3D =
    "(4X,3X,4X,A3,3X,4X,A3,3X,4X,A3,3X,3X,A3,A1,A2,1X,3X,A3,A1,A2,1X,3X,A3,A1,A2,1X,3(5X,A2,3X))";
constexpr const char* EQUIVALENT_TITLE = "(/,/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")";
constexpr const char* EQUIVALENT_UNITS_2D =
    "(/,13X,\" VER.LOAD X,\",A3,3X,\" HOR.LOAD Y,\",A3,3X,\" MOMENT,\",A3,A1,A2)";
constexpr const char* EQUIVALENT_FORCES_3D = "(/,11X,\" VER.LOAD X,\",A3,5X,\"HOR.LOAD Y,\",A3,5X,\"HOR.LOAD Z,\",A3)";
constexpr const char* EQUIVALENT_MOMENTS_3D =
    "(/,11X,\" MOMENT X,\",A3,A1,A2,3X,\" MOMENT Y,\",A3,A1,A2,3X,\" MOMENT Z,\",A3,A1,A2)";

constexpr const char* SPECIFIED_TITLE = "(/,5X,\"* SPECIFIED DISPLACEMENTS/LOADS *\",/)";
constexpr const char* LOCATION_LAYOUT = "(5X,\"- LOCATION\",\\)";
constexpr const char* COORDINATE_LAYOUTS[3] = {"(5X,\"  COORD. X,\",A3,5X,\\)", "(5X,\"  COORD. Y,\",A3,5X,\\)",
                                               "(5X,\"  COORD. Z,\",A3,5X,\\)"};

// One line of the prescribed loads and displacements: its DOF record, the
// input DOF it shows, and the load and displacement records. A moment line
// has a moment unit and a rotation without unit.
struct DofLine {
  const char* dof;
  int input_dof;
  const char* load;
  const char* displacement;
  bool rotation;
};
constexpr DofLine DOF_LINES_2D[] = {
    {"(5X,\"- DOF 1 , \",\\)", IN_X, "(5X,\"VERT. LOAD,\",A3,5X,\\)", "(5X,\"VERT. DISP,\",A3,5X,\\)", false},
    {"(5X,\"- DOF 2 , \",\\)", IN_Y, "(5X,\"HOR. LOAD ,\",A3,5X,\\)", "(5X,\"HOR. DISP.,\",A3,5X,\\)", false},
    {"(5X,\"- DOF 3 , \",\\)", IN_RZ, "(5X,\" MOMENT Z, \",A3,A1,A2,2X,\\)", "(5X,\" ROTATION, RAD\",5X,\\)", true},
};
constexpr DofLine DOF_LINES_3D[] = {
    {"(5X,\"- DOF 1 , \",\\)", IN_X, "(5X,\"VERT. LOAD,\",A3,5X,\\)", "(5X,\"VERT. DISP,\",A3,5X,\\)", false},
    {"(5X,\"- DOF 2 , \",\\)", IN_Y, "(5X,\"HOR.LOAD Y,\",A3,5X,\\)", "(5X,\"HOR.DISP Y,\",A3,5X,\\)", false},
    {"(5X,\"- DOF 3 , \",\\)", IN_Z, "(5X,\"HOR.LOAD Z,\",A3,5X,\\)", "(5X,\"HOR.DISP Z,\",A3,5X,\\)", false},
    {"(5X,\"- DOF 4 , \",\\)", IN_RX, "(5X,\"  MOMENT X,\",A3,A1,A2,2X,\\)", "(5X,\"ROTATION X,RAD\",5X,\\)", true},
    {"(5X,\"- DOF 5 , \",\\)", IN_RY, "(5X,\"  MOMENT Y,\",A3,A1,A2,2X,\\)", "(5X,\"ROTATION Y,RAD\",5X,\\)", true},
    {"(5X,\"- DOF 6 , \",\\)", IN_RZ, "(5X,\"  MOMENT Z,\",A3,A1,A2,2X,\\)", "(5X,\"ROTATION Z,RAD\",5X,\\)", true},
};

constexpr const char* DISTRIBUTED_TITLE = "(/,5X,\"* DISTRIBUTED LOADS *\",/)";
constexpr const char* SOIL_MOVEMENT_TITLE = "(/,5X,\"* SOIL MOVEMENT *\",/)";
constexpr const char* ASSIGNMENT_HEADING_2D =
    "(5X,\"  NL    AXIS    INI_PILE  END_PILE\",\"  INC_PILE    SET_Y \",\"   FACTOR_Y\")";
constexpr const char* ASSIGNMENT_HEADING_3D =
    "(5X,\"  NL    AXIS    INI_PILE  END_PILE\",\"  INC_PILE    SET_Y \",\"   FACTOR_Y     SET_Z    FACTOR_Z\")";
//         1   GLOBAL       1         4         1
constexpr const char* ASSIGNMENT_ROW_LAYOUT = "(5X,I4,3X,A6,3(I8,2X),4X,\\)";
constexpr const char* HEAD_LOAD_NOTE =
    "(/,5X,\"NOTE: FOR GLOBAL LOADING, AXIAL \",\"COMPONENT IS CONSIDERED AS \",\"CONCENTRATED LOAD AT PILE HEAD\")";

constexpr const char* STIFFNESS_TITLE =
    "(/,5X,\"* DATA FOR FOUNDATION STIFFNESS *\",/,5X,\"COMPUTED FOR EQUIVALENT \",5X,\"CONCENTRATED LOAD AT "
    "ORIGIN\",/)";
constexpr const char* STIFFNESS_SETTINGS_TITLE = "(/,5X,\"* DATA FOR FOUNDATION STIFFNESS *\")";
constexpr const char* LOAD_LEVELS_TITLE = "(/,5X,\"* FOUNDATION STIFFNESS LOAD LEVELS *\",/)";
constexpr const char* LOAD_LEVELS_HEADING = "(5X,\"  NL       LOAD LEVEL\")";
constexpr const char* DISPLACEMENT_LEVELS_TITLE = "(/,5X,\"* FOUNDATION STIFFNESS DISPLACEMENT LEVELS *\",/)";
constexpr const char* DISPLACEMENT_LEVELS_HEADING = "(5X,\"  NL       DISP. LEVEL\")";
constexpr const char* AXIAL_LOADS_LAYOUT = "(/,5X,\"- CONSIDER AXIAL LOADS IN PILES\")";
constexpr const char* TOTAL_LOAD_LAYOUT = "(/,5X,\"- BASED ON TOTAL APPLIED LOAD  \")";
constexpr const char* TARGET_LAYOUT = "(/,5X,\"- BASED ON TARGET DEFLECTION   \")";
constexpr const char* TARGET_UNIT_LAYOUT = "(\" \",A2,\\)";
constexpr const char* TOLERANCE_LAYOUT = "(5X,\"  TOLERANCE (%)  = \",\\)";
constexpr const char* ITERATIONS_LAYOUT = "(5X,\"  ITERATIONS     = \",\\)";
//          3    0.47712
constexpr const char* POINT_ROW_LAYOUT = "(5X,I4,4X,\\)";

constexpr const char* PUSHOVER_TITLE = "(/,5X,\"* DATA FOR INCREMENTAL/PUSHOVER \",\"ANALYSIS *\",/)";
constexpr const char* PUSHOVER_FACTORS_TITLE = "(/,5X,\"* INCREMENTAL/PUSHOVER LOAD FACTORS *\",/)";
constexpr const char* PUSHOVER_FACTORS_HEADING = "(5X,\"  NL       LOAD FACTOR\")";
// The labels of LoadCase.dof_flags 1 to 8; flags 4 to 6 only in 3D.
constexpr const char* VARIATION_LABELS[CASE_DOF_FLAGS] = {"UX, FX    ", "UY, UY    ", "RZ, MZ    ", "UZ, FZ    ",
                                                          "RY, MY    ", "RX, MX    ", "D. LOAD   ", "SOIL MOVE "};
constexpr int FIRST_3D_FLAG = 4;
constexpr int LAST_3D_FLAG = 6;

constexpr const char* CYCLIC_LAYOUT = "(/,/,5X,\"* THE LOADING IS CYCLIC *\",/,/,5X,\"NO. OF CYCLES =\",F10.0)";
constexpr const char* STATIC_LAYOUT = "(/,/,5X,\"* THE LOADING IS STATIC *\")";
//          TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =   1.00000E-05
constexpr const char* CONTROLS_WITH_LIMITS_LAYOUT =
    "(/,/,5X,1P,\"* CONTROL PARAMETERS *\",/,9X,\"TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   \",4X,\" = \","
    "G12.5,/,9X,\"ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION\",4X,\" = \",G12.5,A3,/,9X,\"ALTER. TOLERANCE "
    "CONVERGENCE PILE CAP ROTATION  \",4X,\" = \",G12.5,/,9X,\"TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  \","
    "4X,\" = \",G12.5,A3,/,9X,\"MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =\",I9,/,9X,\"MAXIMUM NO OF "
    "ITERATIONS ALLOWED FOR PILE ANALYSIS   =\",I9,/,9X,\"FACTOR TO APPLY THE LOAD IN INCREMENTS\",14X,\" = \","
    "G12.5,/,9X,\"MINIMUM FACTOR FOR LOAD INCREMENTS    \",14X,\" = \",G12.5)";
constexpr const char* CONTROLS_LAYOUT =
    "(/,/,5X,1P,\"* CONTROL PARAMETERS *\",/,9X,\"TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   \",4X,\" = \","
    "G12.5,/,9X,\"TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  \",4X,\" = \",G12.5,A3,/,9X,\"MAX NO OF "
    "ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =\",I9,/,9X,\"MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   "
    "=\",I9,/,9X,\"FACTOR TO APPLY THE LOAD IN INCREMENTS\",14X,\" = \",G12.5,/,9X,\"MINIMUM FACTOR FOR LOAD "
    "INCREMENTS    \",14X,\" = \",G12.5)";
constexpr const char* AXIAL_VARIATION_LAYOUT = "(9X,\"INCLUDE VARIATION OF AXIAL LOAD AT PILES\")";
constexpr const char* NOT_FOR_USER_CURVES_LAYOUT = "(9X,\"* NOT FOR USER DEFINED LOAD SETTL. CURVE\")";
constexpr const char* EI_PREVIOUS_LAYOUT = "(9X,\"USE EI FROM PREVIOUS ITERATION          \")";
constexpr const char* PRINT_AT_CAP_LAYOUT = "(9X,\"PRINT RESULTS ONLY AT PILE CAP\")";
constexpr const char* PRINT_AT_HEADS_LAYOUT = "(9X,\"PRINT RESULTS AT PILE CAP AND PILE HEADS\")";
constexpr const char* PRINT_ALONG_PILES_LAYOUT = "(9X,\"PRINT RESULTS AT PILE CAP, PILE HEADS AND\",\" ALONG PILES\")";
//          PRINT RESULTS EVERY     5 NODE(S)
constexpr const char* NODE_STEP_LAYOUT = "(9X,\"PRINT RESULTS EVERY \",I5,\" NODE(S)\")";
constexpr const char* NODE_STEP_NO_BLANK_LAYOUT = "(9X,\"PRINT RESULTS EVERY \",I5,\"NODE(S)\")";

using PointList = Array2<double, MAX_LOAD_CASES, MAX_CASE_POINTS>;

bool is_3d() { return RunOptions.dimension != MODEL_2D; }

// A setting stored among the point levels, as the integer it stands for;
// values beyond the integers are held at their ends.
int truncated(double v) {
  if (std::isnan(v)) return 0;
  if (v <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// A real field of width w with d digits, and the end of the row.
void write_value_row(double v, int w, int d) {
  WRITE_REAL_FIELD(UNIT_ECHO, w, d, v);
  END_REPORT_LINE(UNIT_ECHO);
}

// ---------------------------------------------------------------- header

void write_case_header(int k) {
  const auto& c = LoadCase;
  fio::write(UNIT_ECHO, CASE_LAYOUT, k, c.name(k));
  std::string type_name;
  LOAD_TYPE_NAME(c.load_type(k), type_name);
  fio::write(UNIT_ECHO, LOAD_TYPE_LAYOUT, type_name);
  fio::write(UNIT_ECHO, SCALE_FACTOR_LAYOUT);
  write_value_row(c.scale_factor(k), 12, 4);
  if (c.not_analysed(k) == NOT_ANALYSED) fio::write(UNIT_ECHO, NOT_ANALYSED_LAYOUT);
}

// ------------------------------------------------------ concentrated loads

// Component n (input order 1..9) of load j of case k.
double component(int k, int j, int n) {
  const auto& l = ConcentratedLoad;
  switch (n) {
    case IN_X:
      return l.force_x(k, j);
    case IN_Y:
      return l.force_y(k, j);
    case IN_RZ:
      return l.moment_z(k, j);
    case IN_Z:
      return l.force_z(k, j);
    case IN_RY:
      return l.moment_y(k, j);
    case IN_RX:
      return l.moment_x(k, j);
    case IN_POINT_X:
      return l.point_x(k, j);
    case IN_POINT_Y:
      return l.point_y(k, j);
    default:
      return l.point_z(k, j);
  }
}

void write_concentrated_loads_2d(int k) {
  const auto& u = UnitLabels;
  fio::write(UNIT_ECHO, CONCENTRATED_HEADING_2D);
  fio::write(UNIT_ECHO, CONCENTRATED_UNITS_2D, u.force_short(), u.force_short(), u.force_short(), u.dash(),
             u.moment_length(), u.length_large_short(), u.length_large_short());
  for (int j = 1; j <= LoadCase.num_conc_loads(k); ++j) {
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_INT_FIELD(UNIT_ECHO, 4, j);
    WRITE_BLANKS(UNIT_ECHO, 1);
    for (int n : {IN_X, IN_Y, IN_RZ}) WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, KIPS_FROM_POUNDS(component(k, j, n)));
    for (int n : {IN_POINT_X, IN_POINT_Y}) WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, FEET_FROM_INCHES(component(k, j, n)));
    END_REPORT_LINE(UNIT_ECHO);
  }
  fio::write(UNIT_ECHO, EQUIVALENT_TITLE);
  double r[PILE_HEAD_DOFS] = {};
  CASE_LOAD_AT_ORIGIN(k, r);
  fio::write(UNIT_ECHO, EQUIVALENT_UNITS_2D, u.force_short(), u.force_short(), u.force_short(), u.dash(),
             u.moment_length());
  WRITE_BLANKS(UNIT_ECHO, 8);
  for (int i : {CAP_X, CAP_Y, CAP_RZ}) WRITE_REAL_FIELD(UNIT_ECHO, 18, 5, KIPS_FROM_POUNDS(r[i - 1]));
  END_REPORT_LINE(UNIT_ECHO);
}

void write_concentrated_loads_3d(int k) {
  const auto& u = UnitLabels;
  const std::string_view f = u.force_short(), dash = u.dash(), m = u.moment_length(), l = u.length_large_short();
  fio::write(UNIT_ECHO, CONCENTRATED_HEADING_3D);
  fio::write(UNIT_ECHO, CONCENTRATED_UNITS_3D, f, f, f, f, dash, m, f, dash, m, f, dash, m, l, l, l);
  for (int j = 1; j <= LoadCase.num_conc_loads(k); ++j) {
    WRITE_BLANKS(UNIT_ECHO, 2);
    WRITE_INT_FIELD(UNIT_ECHO, 4, j);
    WRITE_BLANKS(UNIT_ECHO, 1);
    for (int n : {IN_X, IN_Y, IN_Z, IN_RX, IN_RY, IN_RZ}) {
      WRITE_REAL_FIELD(UNIT_ECHO, 10, 2, KIPS_FROM_POUNDS(component(k, j, n)));
    }
    for (int n : {IN_POINT_X, IN_POINT_Y, IN_POINT_Z})
      WRITE_REAL_FIELD(UNIT_ECHO, 10, 2, FEET_FROM_INCHES(component(k, j, n)));
    END_REPORT_LINE(UNIT_ECHO);
  }
  fio::write(UNIT_ECHO, EQUIVALENT_TITLE);
  double r[PILE_HEAD_DOFS] = {};
  CASE_LOAD_AT_ORIGIN(k, r);
  fio::write(UNIT_ECHO, EQUIVALENT_FORCES_3D, f, f, f);
  WRITE_BLANKS(UNIT_ECHO, 8);
  for (int i : {CAP_X, CAP_Y, CAP_Z}) WRITE_REAL_FIELD(UNIT_ECHO, 18, 5, KIPS_FROM_POUNDS(r[i - 1]));
  END_REPORT_LINE(UNIT_ECHO);
  fio::write(UNIT_ECHO, EQUIVALENT_MOMENTS_3D, f, dash, m, f, dash, m, f, dash, m);
  WRITE_BLANKS(UNIT_ECHO, 8);
  for (int i : {CAP_RX, CAP_RY, CAP_RZ}) WRITE_REAL_FIELD(UNIT_ECHO, 18, 5, KIPS_FROM_POUNDS(r[i - 1]));
  END_REPORT_LINE(UNIT_ECHO);
}

// ------------------------------------------- loads prescribed at a point

void write_specified_dofs(int k) {
  const auto& u = UnitLabels;
  const auto& data = SpecifiedDofData;
  // Pair d of the twelve values, row_a first: the displacement 2d - 1, the load 2d.
  auto listed = [&](int n) { return n <= INPUT_DOFS ? data.row_a(k, n) : data.row_b(k, n - INPUT_DOFS); };
  fio::write(UNIT_ECHO, SPECIFIED_TITLE);
  const bool three_d = is_3d();
  const DofLine* lines = three_d ? DOF_LINES_3D : DOF_LINES_2D;
  const int n_lines = CAP_DOFS_OF_MODEL(three_d ? MODEL_3D : MODEL_2D);
  for (int i = 0; i < n_lines; ++i) {
    const DofLine& line = lines[i];
    const int d = line.input_dof;
    fio::write(UNIT_ECHO, line.dof);
    if (data.flags(k, d) != 0) {
      if (line.rotation) {
        fio::write(UNIT_ECHO, line.load, u.force_short(), u.dash(), u.moment_length());
      } else {
        fio::write(UNIT_ECHO, line.load, u.force_short());
      }
      write_value_row(KIPS_FROM_POUNDS(listed(2 * d)), 13, 5);
    } else {
      if (line.rotation) {
        fio::write(UNIT_ECHO, line.displacement);
      } else {
        fio::write(UNIT_ECHO, line.displacement, u.moment_length());
      }
      write_value_row(listed(2 * d - 1), 13, 5);
    }
  }
  const int n_coordinates = three_d ? 3 : 2;
  for (int i = 1; i <= n_coordinates; ++i) {
    fio::write(UNIT_ECHO, LOCATION_LAYOUT);
    fio::write(UNIT_ECHO, COORDINATE_LAYOUTS[i - 1], u.length_large_short());
    write_value_row(FEET_FROM_INCHES(data.point(k, i)), 13, 5);
  }
}

// ------------------------------------ distributed loads and soil movements

// The heading and rows of one list of load entries. The distributed loads
// read AXIS 1 as global axes, the soil movements as local ones. True when a
// distributed-load entry is in global axes.
bool write_assignments(const LoadAssignmentTable& a, int k, int n, bool movement) {
  const bool three_d = is_3d();
  fio::write(UNIT_ECHO, three_d ? ASSIGNMENT_HEADING_3D : ASSIGNMENT_HEADING_2D);
  bool any_global = false;
  for (int j = 1; j <= n; ++j) {
    const bool axis_one = a.AXIS(k, j) == AXIS_GLOBAL;
    const bool global = movement ? !axis_one : axis_one;
    if (!movement && axis_one) any_global = true;
    fio::write(UNIT_ECHO, ASSIGNMENT_ROW_LAYOUT, j, global ? "GLOBAL" : "LOCAL ", a.INI_PILE(k, j), a.END_PILE(k, j),
               a.INC_PILE(k, j));
    WRITE_BLANKS(UNIT_ECHO, 2);
    WRITE_INT_FIELD(UNIT_ECHO, 8, a.SET_Y(k, j));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 4, a.FACTOR_Y(k, j));
    if (three_d) {
      WRITE_INT_FIELD(UNIT_ECHO, 8, a.SET_Z(k, j));
      WRITE_REAL_FIELD(UNIT_ECHO, 14, 4, a.FACTOR_Z(k, j));
    }
    END_REPORT_LINE(UNIT_ECHO);
  }
  return any_global;
}

// ----------------------------------------------------- point lists

void write_point_rows(const PointList& values, int k, int n) {
  for (int p = 1; p <= n; ++p) {
    fio::write(UNIT_ECHO, POINT_ROW_LAYOUT, p);
    write_value_row(values(k, p), 13, 5);
  }
}

// The target line of a stiffness estimation based on a target deflection:
// the DOF d picks the value and, for a displacement, its unit.
void write_target_line(int k, int n) {
  const auto& pf = LoadCase.point_factors;
  struct Target {
    const char* layout;
    int offset;  // the value is point n - offset
    bool displacement;
  };
  constexpr Target DISPLACEMENT_X{"(/,5X,\"  DISPLACEMENT X = \",\\)", 9, true};
  constexpr Target DISPLACEMENT_Y{"(/,5X,\"  DISPLACEMENT Y = \",\\)", 8, true};
  constexpr Target DISPLACEMENT_Z{"(/,5X,\"  DISPLACEMENT Z = \",\\)", 7, true};
  constexpr Target ROTATION_X{"(/,5X,\"  ROTATION X     = \",\\)", 6, false};
  constexpr Target ROTATION_Y{"(/,5X,\"  ROTATION Y     = \",\\)", 5, false};
  constexpr Target ROTATION_Z{"(/,5X,\"  ROTATION Z     = \",\\)", 4, false};
  const Target* target = nullptr;
  switch (truncated(pf(k, n - 10))) {
    case 1:
      target = &DISPLACEMENT_X;
      break;
    case 2:
      target = &DISPLACEMENT_Y;
      break;
    case 3:
      target = is_3d() ? &DISPLACEMENT_Z : &ROTATION_Z;
      break;
    case 4:
      target = &ROTATION_X;
      break;
    case 5:
      target = &ROTATION_Y;
      break;
    case 6:
      target = &ROTATION_Z;
      break;
    default:
      break;  // another DOF: the line holds one blank
  }
  if (target != nullptr) {
    fio::write(UNIT_ECHO, target->layout);
    WRITE_REAL_FIELD(UNIT_ECHO, 13, 5, pf(k, n - target->offset));
    if (target->displacement) fio::write(UNIT_ECHO, TARGET_UNIT_LAYOUT, UnitLabels.moment_length());
  }
  END_REPORT_LINE(UNIT_ECHO);
}

// A list that ends with the twelve settings of the estimation, after n - 12 levels.
void write_stiffness_settings(int k, int n) {
  const auto& pf = LoadCase.point_factors;
  fio::write(UNIT_ECHO, STIFFNESS_SETTINGS_TITLE);
  if (pf(k, n - 1) == AXIAL_LOADS_CONSIDERED) fio::write(UNIT_ECHO, AXIAL_LOADS_LAYOUT);
  const bool total_load = pf(k, n - 11) == 0.0;
  if (total_load) {
    fio::write(UNIT_ECHO, TOTAL_LOAD_LAYOUT);
  } else {
    fio::write(UNIT_ECHO, TARGET_LAYOUT);
    write_target_line(k, n);
    fio::write(UNIT_ECHO, TOLERANCE_LAYOUT);
    write_value_row(pf(k, n - 3), 12, 4);
    fio::write(UNIT_ECHO, ITERATIONS_LAYOUT);
    WRITE_INT_FIELD(UNIT_ECHO, 5, truncated(pf(k, n - 2)));
    END_REPORT_LINE(UNIT_ECHO);
  }
  fio::write(UNIT_ECHO, total_load ? LOAD_LEVELS_TITLE : DISPLACEMENT_LEVELS_TITLE);
  fio::write(UNIT_ECHO, total_load ? LOAD_LEVELS_HEADING : DISPLACEMENT_LEVELS_HEADING);
  write_point_rows(pf, k, n - STIFFNESS_SETTINGS);
}

// Ten points: 0.1 first, then first(p) for p = 2 .. 10.
template <class Next>
void write_default_points(PointList& values, int& count, int k, Next next) {
  count = DEFAULT_POINT_COUNT;
  values(k, 1) = FIRST_DEFAULT_POINT;
  for (int p = 2; p <= DEFAULT_POINT_COUNT; ++p) values(k, p) = next(p);
}

void write_stiffness_estimation(int k) {
  auto& c = LoadCase;
  if (c.num_points(k) == 0) {
    write_default_points(c.point_factors, c.num_points(k), k, [](int p) { return std::log10(double(p)); });
  }
  const int n = c.num_points(k);
  // Lists of up to twelve values are levels only: the analysis reads them so.
  if (n > STIFFNESS_SETTINGS) {
    write_stiffness_settings(k, n);
    return;
  }
  if (n < 1) return;
  fio::write(UNIT_ECHO, STIFFNESS_TITLE);
  fio::write(UNIT_ECHO, LOAD_LEVELS_TITLE);
  fio::write(UNIT_ECHO, LOAD_LEVELS_HEADING);
  write_point_rows(c.point_factors, k, n);
}

void write_pushover(int k) {
  auto& c = LoadCase;
  if (c.count2(k) == 0) {
    write_default_points(c.pushover_factors, c.count2(k), k, [](int p) { return p / DEFAULT_FACTOR_STEP; });
  }
  fio::write(UNIT_ECHO, PUSHOVER_TITLE);
  const bool three_d = is_3d();
  for (int flag = 1; flag <= CASE_DOF_FLAGS; ++flag) {
    if (!three_d && flag >= FIRST_3D_FLAG && flag <= LAST_3D_FLAG) continue;
    PRINT_VARIATION_NOTE(c.dof_flags(k, flag), VARIATION_LABELS[flag - 1]);
  }
  fio::write(UNIT_ECHO, PUSHOVER_FACTORS_TITLE);
  fio::write(UNIT_ECHO, PUSHOVER_FACTORS_HEADING);
  write_point_rows(c.pushover_factors, k, c.count2(k));
}

void echo_case(int k) {
  const auto& c = LoadCase;
  write_case_header(k);
  if (c.num_conc_loads(k) >= 1) {
    fio::write(UNIT_ECHO, CONCENTRATED_TITLE);
    if (is_3d()) {
      write_concentrated_loads_3d(k);
    } else {
      write_concentrated_loads_2d(k);
    }
  }
  if (c.point_loads_flag(k) >= POINT_LOADS_GIVEN) write_specified_dofs(k);
  if (c.num_dist_loads(k) >= 1) {
    fio::write(UNIT_ECHO, DISTRIBUTED_TITLE);
    const bool any_global = write_assignments(LoadAssignment.distributed, k, c.num_dist_loads(k), false);
    if (any_global && c.axial_as_head_load(k) == HEAD_LOAD_OPTION) fio::write(UNIT_ECHO, HEAD_LOAD_NOTE);
  }
  if (c.analysis_kind(k) >= 1) write_stiffness_estimation(k);
  if (c.pushover(k) >= 1) write_pushover(k);
  if (c.num_soil_moves(k) >= 1) {
    fio::write(UNIT_ECHO, SOIL_MOVEMENT_TITLE);
    write_assignments(LoadAssignment.soil_movement, k, c.num_soil_moves(k), true);
  }
  PRINT_RUN_CONTROLS(c, k, true);
}

}  // namespace

void LOAD_TYPE_NAME(int code, std::string& name) {
  const int known = code >= LOAD_DEAD && code < LOAD_SPECIAL ? code : LOAD_SPECIAL;
  name = LOAD_TYPE_NAMES[known];
  name.resize(LOAD_TYPE_NAME_LENGTH, ' ');
}

void PRINT_VARIATION_NOTE(int flag, const std::string& label) {
  fio::write(UNIT_ECHO, flag != 0 ? VARIATION_CONSTANT_LAYOUT : VARIATION_CHANGING_LAYOUT, label);
}

void PRINT_RESULT_OPTION(int option, int node_step, bool blank_before_nodes) {
  if (option == PRINT_AT_CAP) {
    fio::write(UNIT_ECHO, PRINT_AT_CAP_LAYOUT);
  } else if (option == PRINT_AT_HEADS) {
    fio::write(UNIT_ECHO, PRINT_AT_HEADS_LAYOUT);
  } else {
    fio::write(UNIT_ECHO, PRINT_ALONG_PILES_LAYOUT);
  }
  if (option == PRINT_ALONG_PILES) {
    fio::write(UNIT_ECHO, blank_before_nodes ? NODE_STEP_LAYOUT : NODE_STEP_NO_BLANK_LAYOUT, node_step);
  }
}

void PRINT_RUN_CONTROLS(const LoadControlTable& t, int i, bool blank_before_nodes) {
  if (t.loading_kind(i) == LOADING_CYCLIC) fio::write(UNIT_ECHO, CYCLIC_LAYOUT, static_cast<double>(t.cycles(i)));
  if (t.loading_kind(i) == LOADING_STATIC) fio::write(UNIT_ECHO, STATIC_LAYOUT);
  const std::string_view length = UnitLabels.length();
  if (t.use_max_limits(i) != 0) {
    fio::write(UNIT_ECHO, CONTROLS_WITH_LIMITS_LAYOUT, t.tolerance(i), t.max_dsp_limit(i), length, t.max_rot_limit(i),
               t.llp_tolerance(i), length, t.max_iterations(i), t.llp_max_iterations(i), t.initial_step(i),
               t.min_step(i));
  } else {
    fio::write(UNIT_ECHO, CONTROLS_LAYOUT, t.tolerance(i), t.llp_tolerance(i), length, t.max_iterations(i),
               t.llp_max_iterations(i), t.initial_step(i), t.min_step(i));
  }
  if (t.axial_variation(i) >= 1) {
    fio::write(UNIT_ECHO, AXIAL_VARIATION_LAYOUT);
    fio::write(UNIT_ECHO, NOT_FOR_USER_CURVES_LAYOUT);
  }
  if (t.ei_previous(i) >= 1) fio::write(UNIT_ECHO, EI_PREVIOUS_LAYOUT);
  PRINT_RESULT_OPTION(t.print_option(i), t.node_step(i), blank_before_nodes);
}

void ECHO_LOAD_CASES(int& /*status*/) {
  fio::write(UNIT_ECHO, TABLE_C_TITLE);
  const int n_cases = LoadCase.count;
  if (n_cases >= 1) {
    fio::write(UNIT_ECHO, CASES_TITLE);
    fio::write(UNIT_ECHO, CASE_COUNT_LAYOUT, n_cases);
  }
  for (int k = 1; k <= n_cases; ++k) echo_case(k);
}

}  // namespace pilecap
