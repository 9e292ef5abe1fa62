// Input data and input report: the input records as the reader leaves them,
// the reader of the input data file, the conversion of input units and the
// input echo. Every table is 1-based; two-index tables have the case, set,
// layer or cross section as the first index, which varies fastest. Lengths
// are in the input's units (feet and inches, or metres and millimetres) until
// CONVERT_INPUT_UNITS has run. Every record here is reset to zero and its
// defaults at the start of each read, so a run never sees an earlier one.
#pragma once

#include <string>
#include <vector>

#include "base/arrays.hpp"
#include "model/model_store.hpp"

namespace pilecap {

// ---------------------------------------------------------- capacities

constexpr int MAX_LOAD_CASES = 100;
constexpr int MAX_LOAD_COMBINATIONS = 100;
constexpr int MAX_CASE_LOADS = 100;  // loads, load entries, soil-movement entries, members
constexpr int MAX_CASE_POINTS = 25;  // values of each point list of one case
constexpr int MAX_LOAD_SETS = DEPTH_TABLE_CAPACITY;
constexpr int MAX_SET_POINTS = PILE_DEPTH_STATIONS;
constexpr int MAX_PILES = TABLE_CAPACITY - 1;  // the entry after the last pile is the embedded cap
constexpr int MAX_INPUT_PROPERTY_SETS = 50;
constexpr int MAX_PILE_SECTIONS = 20;
constexpr int MAX_CROSS_SECTIONS = 100;
constexpr int MAX_SECTION_BARS = 100;  // bars, and strands, of one nonlinear cross section
constexpr int MAX_INPUT_SOIL_LAYERS = 20;
constexpr int SOIL_LAYER_POINTS = 2;
constexpr int SOIL_LAYER_PROPERTIES = 10;
constexpr int MAX_PY_PRINT_REQUESTS = 50;
constexpr int MAX_PY_PRINT_POINTS = 25;
constexpr int MAX_PY_SETS = 50;
constexpr int MAX_PY_CURVES_PER_SET = 20;
constexpr int MAX_USER_CURVES = 50;
constexpr int MAX_INPUT_MPHI_SETS = 150;
constexpr int MAX_MPHI_CURVES = 25;
constexpr int MAX_MPHI_POINTS = 400;
constexpr int MAX_DEPTH_FACTOR_TABLES = 100;
constexpr int MAX_DEPTH_FACTOR_ROWS = 50;
constexpr int MAX_SOIL_MOVE_POINTS = SOIL_MOVEMENT_ROWS;
constexpr int MAX_EXPORT_DEFLECTIONS = 25;

// Bounds of the solution controls of a case or combination. The reports
// number the iterations of a step, at most one more than its limit, in four
// digits; a run reaches the full load in at most MAX_LOAD_STEPS steps of its
// initial size (the cap solvers allow one more to land on it exactly).
constexpr int MAX_ITERATION_LIMIT = 9998;
constexpr int MAX_LOAD_STEPS = 10000;

// Magnitudes of input reals: 0, or 1e-100 to 1e+100. Nothing an engineer
// measures in any unit comes near either end, and within them the unit
// conversions, products and quotients of the model stay finite.
constexpr double MIN_INPUT_MAGNITUDE = 1e-100;
constexpr double MAX_INPUT_MAGNITUDE = 1e100;
constexpr int MAX_PILE_INCREMENTS = 200;  // increments of a pile (property set) and of the embedded-cap element

// Shapes of single input lines.
constexpr int TEXT_LINE_LENGTH = 80;  // titles, headers, case and combination names, section names
constexpr int RESULT_FLAGS_PER_LINE = 25;
constexpr int CASE_DOF_FLAGS = 8;  // UX..RX, distributed load, soil movement
constexpr int INPUT_DOFS = 6;      // X, Y, rotation Z, Z, rotation Y, rotation X
constexpr int POINT_COORDINATES = 3;
constexpr int EXPORT_CURVE_POINTS = 19;  // points per t-z and torque-twist curve of the plot-data file

// Dimensions of the model (RunOptions.dimension).
constexpr int MODEL_2D = 2;
constexpr int MODEL_3D = 3;

// PLANE_MODEL
// Whether a model of the given dimension is the plane model: rows of piles
// under a cap that moves along X and Y and turns about Z. The one place that
// says so.
constexpr bool PLANE_MODEL(int dimension) { return dimension == MODEL_2D; }

// ------------------------------------------------ options and constants

// The title line of the run.
struct RunTitleRecord {
  std::string text = std::string(TEXT_LINE_LENGTH, ' ');
};
extern RunTitleRecord RunTitle;

constexpr int TITLE_WORDS = 20;  // the title printed as 20A4
constexpr int TITLE_WORD_LENGTH = 4;

// RUN_TITLE_WORDS: the title as the 20 four-character words reports print.
std::vector<std::string> RUN_TITLE_WORDS();

// Methods of the reduction factors for closely spaced piles
// (RunOptions.pmult_method); any other value is an input error.
constexpr int PMULT_METHOD_NONE = 0;
constexpr int PMULT_METHOD_MOVEMENT = 1;       // recomputed by the direction of the cap movement
constexpr int PMULT_METHOD_BLEND = 2;          // the input factors, blended by the direction of movement
constexpr int PMULT_METHOD_DEFINED_SIGNS = 3;  // computed for the signs of the given direction
constexpr int PMULT_METHOD_DEFINED = 4;        // the input factors, blended by the given direction
// RunOptions.spacing_diameter_option: 0 the diameter of pile 1 for every pair, 1 the mean of the pair's two.
constexpr int SPACING_DIAMETER_MEAN = 1;

// RunOptions.cap_model: 0 a rigid cap; 1 the plate model of the cap is
// analysed; 2 the plate model is only written out. The reader refuses others.
constexpr int CAP_MODEL_RIGID = 0;
constexpr int CAP_MODEL_PLATE = 1;
constexpr int CAP_MODEL_PLATE_EXPORT = 2;

// The option line of the input file (input section 1) and the direction line
// that methods 3 and 4 of the reduction factors add to it.
struct RunOptionsRecord {
  int units = 0;      // 1 English, 2 SI, other values: generic labels, English conversions
  int dimension = 0;  // 2 or 3
  int cap_passive_option = 0;
  int cap_model = 0;  // CAP_MODEL_RIGID, CAP_MODEL_PLATE or CAP_MODEL_PLATE_EXPORT
  int user_py_curves = 0;
  int user_axial_curves = 0;
  int user_torsion_curves = 0;
  int pmult_method = 0;
  int nonsymmetric_ei = 0;
  int axial_factor_column = 0;
  // Curve-generation word: as read, 1 when p-y print requests follow; at run
  // time 0 while the analysis runs, 1 while p-y curves are generated.
  int print_py_curves = 0;
  int spacing_diameter_option = 0;
  int adjust_batter_depth = 0;
  int layering_correction = 0;
  int layering_same_code_skip = 0;
  int generate_axial_curves = 0;
  int extend_curve_interpolation = 0;
  int force_unit = 0;  // 1: forces printed in kips under English units
  int depth_reduction = 0;
  int soil_movement_profile = 0;
  int plot_export = 0;
  int export_unformatted = 0;
  Array1<double, 2> pmult_direction{{1.0, 1.0}};
};
extern RunOptionsRecord RunOptions;

// Numbers shared by the whole run.
constexpr double PI_SINGLE = double(3.14159f);   // pi until the pile table is built
constexpr double PI_DOUBLE = 3.141592653589793;  // pi from the pile table on
constexpr double HALF_PI = 1.5707963267948966;
constexpr double TINY_VALUE = 1e-14;
constexpr double DEPTH_TOLERANCE = 1e-6;
constexpr double SMALL_VALUE = 1e-5;

struct RunConstantsRecord {
  double pi = PI_SINGLE;  // the full value replaces it once the pile table is built
  double tiny = TINY_VALUE;
  double depth_tolerance = DEPTH_TOLERANCE;
  double small = SMALL_VALUE;
  std::string end_marker = "END ";  // copied over the start of the title by the cap solutions
  int export_curve_points = EXPORT_CURVE_POINTS;
};
extern RunConstantsRecord RunConstants;

// Room of the moment-curvature sets: user sets and generated ones together.
constexpr int MAX_MPHI_SETS = 150;
// Points of a bilinear law: 3 (origin, yield, end) or 5 when the curves are
// not symmetric; the table has room for 10.
constexpr int MAX_BILINEAR_POINTS = 10;
constexpr int BILINEAR_POINTS_SYMMETRIC = 3;
constexpr int BILINEAR_POINTS_NONSYMMETRIC = 5;

// The moment-curvature sets: the user sets 1 .. n_user_sets, then the sets
// generated for the nonlinear cross sections. Set m, curve c (in increasing
// axial load), point k (in increasing curvature); built by the input echo.
struct MomentCurvatureSetRecord {
  int n_sets = 0;                                     // option item 9: 0 = elastic bending stiffness everywhere
  int n_user_sets = 0;                                // count of input section 17
  Array1<int, MAX_MPHI_SETS> n_curves{}, bilinear{};  // bilinear 1: every curve elastic-perfectly-plastic
  Array2<double, MAX_MPHI_SETS, MAX_MPHI_CURVES> axial_load{};
  Array2<int, MAX_MPHI_SETS, MAX_MPHI_CURVES> n_points{}, bilinear_points{};
  Table3<double> moment, curvature;                    // (set, curve, point 1..400)
  Table3<double> bilinear_moment, bilinear_curvature;  // (set, curve, bilinear point 1..10)
};
extern MomentCurvatureSetRecord MomentCurvatureSet;

// ------------------------------------------------------------ pile cap

struct CapGeometryRecord {
  double length_yy = 0.0;
  double width_zz = 0.0;
  double thickness_xx = 0.0;
  double eq_diameter = 0.0;
  double fifth_value = 0.0;  // read with the cap line; nothing uses it
  // The width along Z as the input gives it (converted): the echo turns
  // width_zz into the working width of the embedded cap's resistance, while
  // the plate model of the cap needs the cap's own width.
  double plate_width_zz = 0.0;
};
extern CapGeometryRecord CapGeometry;

constexpr int CAP_PASSIVE_INCREMENTS_DEFAULT = 2;
// Methods of the embedded cap's passive resistance (CapPassiveElement.method);
// any other value is an input error.
constexpr int CAP_PASSIVE_BY_MEANS = 0;    // a pressure from the mean soil reaction at the pile heads
constexpr int CAP_PASSIVE_BY_ELEMENT = 1;  // p-y springs along the embedded-cap element

// The input fields of the embedded-cap element.
struct CapPassiveElementRecord {
  int method = CAP_PASSIVE_BY_MEANS;
  int increments = CAP_PASSIVE_INCREMENTS_DEFAULT;
  int soil_model = 0;
  double K50 = 0.0;
  double F_ULT = 0.0;
  double Y_MAX = 0.0;
  // Working fields set by the input echo.
  double head_depth = 0.0;  // X of the top of the cap element
  double length = 0.0;      // height of the cap element
  // 1 while the cap routines compute the cap element's soil reaction through
  // the p-y criteria, which then take the cap width as the diameter.
  int evaluating = 0;
};
extern CapPassiveElementRecord CapPassiveElement;

struct CapPlateInputRecord {
  double center_x = 0.0;
  double center_y = 0.0;
  int divisions_1 = 0;
  int divisions_2 = 0;
  double young_modulus = 0.0;
  double poisson_ratio = 0.0;
};
extern CapPlateInputRecord CapPlateInput;

// ------------------------------------------------------------- loading

// One table of control values per case or combination (index i).
struct LoadControlTable {
  int count = 0;
  Array1<int, MAX_LOAD_CASES> threads{}, loading_kind{}, cycles{}, max_iterations{}, llp_max_iterations{};
  Array1<double, MAX_LOAD_CASES> tolerance{}, llp_tolerance{}, initial_step{}, min_step{};
  Array1<std::string, MAX_LOAD_CASES> name{};
  Array1<int, MAX_LOAD_CASES> print_option{}, node_step{}, use_max_limits{}, axial_variation{}, not_analysed{},
      ei_previous{};
  Array1<double, MAX_LOAD_CASES> max_dsp_limit{}, max_rot_limit{};
};
static_assert(MAX_LOAD_CASES == MAX_LOAD_COMBINATIONS, "cases and combinations share one control layout");

// Load cases of input section 3.
struct LoadCaseRecord : LoadControlTable {
  Array1<int, MAX_LOAD_CASES> load_type{}, analysis_kind{}, flexibility_report{}, diagonal_only{}, axial_as_head_load{},
      point_loads_flag{};
  Array1<double, MAX_LOAD_CASES> scale_factor{};
  Array1<int, MAX_LOAD_CASES> pushover{}, count2{}, num_conc_loads{}, num_dist_loads{}, num_points{}, num_soil_moves{};
  Array2<double, MAX_LOAD_CASES, MAX_CASE_POINTS> point_factors{}, pushover_factors{};
  Array2<int, MAX_LOAD_CASES, CASE_DOF_FLAGS> dof_flags{};
};
extern LoadCaseRecord LoadCase;

// Load combinations of input section 4.
struct LoadCombinationRecord : LoadControlTable {
  Array2<double, MAX_LOAD_COMBINATIONS, 2> load_scale{};  // bending and shear resistance factors
  Array1<int, MAX_LOAD_COMBINATIONS> member_count{};
  Array2<int, MAX_LOAD_COMBINATIONS, MAX_CASE_LOADS> member_case{};
  Array2<double, MAX_LOAD_COMBINATIONS, MAX_CASE_LOADS> member_factor{};
};
extern LoadCombinationRecord LoadCombination;

// Concentrated load j of case i, components in the order of the input line.
struct ConcentratedLoadRecord {
  Array2<double, MAX_LOAD_CASES, MAX_CASE_LOADS> force_x{}, force_y{}, moment_z{}, force_z{}, moment_y{}, moment_x{},
      point_x{}, point_y{}, point_z{};
};
extern ConcentratedLoadRecord ConcentratedLoad;

// Entry j of the distributed loads, or of the soil movements, of case i.
struct LoadAssignmentTable {
  Array2<int, MAX_LOAD_CASES, MAX_CASE_LOADS> NL{}, AXIS{}, INI_PILE{}, END_PILE{}, INC_PILE{}, SET_Y{}, SET_Z{};
  Array2<double, MAX_LOAD_CASES, MAX_CASE_LOADS> FACTOR_Y{}, FACTOR_Z{};
};
struct LoadAssignmentRecord {
  LoadAssignmentTable distributed;
  LoadAssignmentTable soil_movement;
};
extern LoadAssignmentRecord LoadAssignment;

// Loads and displacements prescribed at a point, per case i.
struct SpecifiedDofDataRecord {
  Array2<int, MAX_LOAD_CASES, INPUT_DOFS> flags{};  // 0 displacement prescribed, 1 load prescribed
  Array2<double, MAX_LOAD_CASES, INPUT_DOFS> row_a{}, row_b{};
  Array2<double, MAX_LOAD_CASES, POINT_COORDINATES> point{};
};
extern SpecifiedDofDataRecord SpecifiedDofData;

// The four envelope options of the cases and those of the combinations.
struct EnvelopeSettings {
  int print_envelopes = 0;
  int print_option = 0;
  int node_step = 0;
  int fourth_value = 0;  // read; nothing uses it
};
struct EnvelopeOptionsRecord {
  EnvelopeSettings cases;
  EnvelopeSettings combinations;
};
extern EnvelopeOptionsRecord EnvelopeOptions;

// Result columns selected for the per-pile tables of every case, every
// combination and the two envelopes; owned by the result writers, filled only
// here.
struct ResultColumnSelectionRecord {
  Array2<int, MAX_LOAD_CASES, RESULT_FLAGS_PER_LINE> case_flags{};
  Array2<int, MAX_LOAD_COMBINATIONS, RESULT_FLAGS_PER_LINE> combination_flags{};
  Array1<int, RESULT_FLAGS_PER_LINE> case_envelope_flags{}, combination_envelope_flags{};
};
extern ResultColumnSelectionRecord ResultColumnSelection;

// ------------------------------------------------ piles and properties

// Property sets of input section 8 (set s, section k).
struct PropertySetInputRecord {
  int count = 0;
  Array1<int, MAX_INPUT_PROPERTY_SETS> set_label{}, num_sections{}, increments{}, pile_type{};
  Array1<double, MAX_INPUT_PROPERTY_SETS> length{};
  Array2<double, MAX_INPUT_PROPERTY_SETS, MAX_PILE_SECTIONS> from{}, to{};
  Array2<int, MAX_INPUT_PROPERTY_SETS, MAX_PILE_SECTIONS> cross_section{};
};
extern PropertySetInputRecord PropertySetInput;

// Cross sections of input section 9 (row c). A real property has a top value
// and a bottom value (suffix _bottom); a uniform section has them equal.
struct CrossSectionRecord {
  using Reals = Array1<double, MAX_CROSS_SECTIONS>;
  using Ints = Array1<int, MAX_CROSS_SECTIONS>;
  using BarTable = Array2<double, MAX_CROSS_SECTIONS, MAX_SECTION_BARS>;
  int count = 0;
  Array1<std::string, MAX_CROSS_SECTIONS> name{}, aisc_name{}, nl_aisc_name{};
  Ints shape{}, nonlinear{}, type{}, tapered{}, moment_capacity_given{}, mphi_set_zz{}, mphi_set_yy{};
  // Elastic dimensions.
  Reals diameter{}, inner_diameter{}, width{}, depth{}, inner_width{}, inner_depth{}, flange_thickness{},
      web_thickness{};
  Reals diameter_bottom{}, inner_diameter_bottom{}, width_bottom{}, depth_bottom{}, inner_width_bottom{},
      inner_depth_bottom{}, flange_thickness_bottom{}, web_thickness_bottom{};
  // Section properties.
  Reals shear_modulus{}, area{}, inertia_zz{}, inertia_yy{}, gj{}, mn_zz{}, vn_zz{}, modulus{}, perimeter{}, mn_yy{},
      vn_yy{};
  Reals shear_modulus_bottom{}, area_bottom{}, inertia_zz_bottom{}, inertia_yy_bottom{}, gj_bottom{}, mn_zz_bottom{},
      vn_zz_bottom{}, modulus_bottom{}, perimeter_bottom{}, mn_yy_bottom{}, vn_yy_bottom{};
  Ints aisc_family{}, aisc_round{};
  Reals wall_thickness{};
  // Nonlinear description.
  Reals nl_width{}, nl_depth{}, nl_diameter{}, void_diameter{}, corner_chamfer{}, nl_web_thickness{},
      nl_flange_thickness{}, casing_diameter{}, casing_thickness{}, steel_diameter{}, steel_thickness{}, concrete_fc{},
      casing_es{}, casing_fy{}, steel_es{}, steel_fy{};
  Ints embedded_steel{}, h_section{}, nl_aisc_family{}, nl_aisc_round{};
  Ints rebar_layout{}, rebar_count{}, confined{};
  Reals rebar_area{}, rebar_diameter{}, rebar_cover{}, rebar_es{}, rebar_fy{};
  Ints tie_type{}, tie_count{}, tie_legs_y{}, tie_legs_z{};
  Reals tie_area{}, tie_diameter{}, tie_spacing{}, tie_fy{};
  BarTable bar_a{}, bar_y{}, bar_z{}, bar_d{};
  Ints strand_type{}, strand_layout{}, strand_count{};
  Reals strand_area{}, strand_diameter{}, strand_cover{}, strand_fu{}, prestress_after_losses{};
  BarTable strand_a{}, strand_y{}, strand_z{}, strand_d{};
  Ints strain_hardening{}, bilinear_mphi{};
  Reals esh{}, esu{}, fu_fy{}, prestress_loss_fraction{}, strand_es{};
};
extern CrossSectionRecord CrossSection;

// ---------------------------------------------------------------- soil

// Soil layers of input section 10; props(l)(k, p) is property k at point p
// (1 layer top, 2 layer bottom).
struct SoilLayerInputRecord {
  int count = 0;
  Array1<int, MAX_INPUT_SOIL_LAYERS> layer_number{}, soil_code{}, num_points{}, num_props{};
  Array1<double, MAX_INPUT_SOIL_LAYERS> top{}, bottom{};
  Array1<Array2<double, SOIL_LAYER_PROPERTIES, SOIL_LAYER_POINTS>, MAX_INPUT_SOIL_LAYERS> props{};
};
extern SoilLayerInputRecord SoilLayerInput;

// P-y curves to print (input section 11), request j. The status is the
// outcome of the checks of the printed curves (TABLE N).
struct PyPrintRequestRecord {
  int count = 0;
  Array1<int, MAX_PY_PRINT_REQUESTS> pile{}, num_points{}, status{};
  Array1<double, MAX_PY_PRINT_REQUESTS> depth{};
  Array2<double, MAX_PY_PRINT_REQUESTS, MAX_PY_PRINT_POINTS> y{};
};
extern PyPrintRequestRecord PyPrintRequest;

// User p-y curve sets as read (input section 12): set s, curve c, point k.
// The working copy the p-y routines use is built from these by the echo:
// curves in input order with increasing depths (the vertical coordinate),
// points with increasing deflections.
struct UserPyCurveSetRecord {
  int count = 0;
  Array1<int, MAX_PY_SETS> set_label{}, read_num_curves{};
  Array2<double, MAX_PY_SETS, MAX_PY_CURVES_PER_SET> read_depth{};
  Array2<int, MAX_PY_SETS, MAX_PY_CURVES_PER_SET> read_num_points{};
  Table3<double> read_p, read_y;  // (set, curve, point): resistance, deflection
  // The working copy (set, curve, point).
  Array1<int, MAX_PY_SETS> num_curves{};
  Array2<double, MAX_PY_SETS, MAX_PY_CURVES_PER_SET> curve_depth{};
  Array2<int, MAX_PY_SETS, MAX_PY_CURVES_PER_SET> num_points{};
  Table3<double> p, y;  // resistance, deflection
};
extern UserPyCurveSetRecord UserPyCurveSet;

// User load-settlement (input section 15) and torque-rotation (section 16)
// curves as read: curve k, point j, values in input order. The echo copies
// them into the stored curves of the same records.
struct UserLsCurveRecord {
  int count = 0;
  Array1<int, MAX_USER_CURVES> read_label{}, read_point_count{};
  Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS> read_load{}, read_movement{};
  // The stored curves the pile-head response reads (curve, point).
  Array1<int, MAX_USER_CURVES> point_count{};
  Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS> load{}, movement{};
};
extern UserLsCurveRecord UserLsCurve;

struct UserTrCurveRecord {
  int count = 0;
  Array1<int, MAX_USER_CURVES> read_label{}, read_point_count{};
  Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS> read_torque{}, read_rotation{};
  // The stored curves the pile-head response reads (curve, point); rotations in radians.
  Array1<int, MAX_USER_CURVES> point_count{};
  Array2<double, MAX_USER_CURVES, MAX_CURVE_POINTS> torque{}, rotation{};
};
extern UserTrCurveRecord UserTrCurve;

// Depth reduction factor tables of input section 20: table m, row i.
struct DepthFactorTableRecord {
  int count = 0;
  Array1<int, MAX_DEPTH_FACTOR_TABLES> table_label{}, num_rows{};
  Array2<double, MAX_DEPTH_FACTOR_TABLES, MAX_DEPTH_FACTOR_ROWS> depth{}, p_factor{}, y_factor{};
};
extern DepthFactorTableRecord DepthFactorTable;

// The p-y export request of input section 22.
struct PyExportRequestRecord {
  int plot_nodes = 0;
  int deflection_list_flag = 0;
  int second_list_flag = 0;
  int num_deflections = 0;
  Array1<double, MAX_EXPORT_DEFLECTIONS> deflections{};
};
extern PyExportRequestRecord PyExportRequest;

// ---------------------------------------------- moment-curvature input

// User moment-curvature sets of input section 17: set s, curve c, point k.
// The count of sets is MomentCurvatureSet.n_user_sets.
struct MomentCurvatureInputRecord {
  Array1<int, MAX_INPUT_MPHI_SETS> set_label{}, num_curves{};
  Array2<double, MAX_INPUT_MPHI_SETS, MAX_MPHI_CURVES> axial_load{};
  Array2<int, MAX_INPUT_MPHI_SETS, MAX_MPHI_CURVES> num_points{};
  Table3<double> moment, curvature;  // (set, curve, point)
};
extern MomentCurvatureInputRecord MomentCurvatureInput;

// The curves of one bending direction of the nonlinear cross sections:
// entry e (one per nonlinear cross section), axial load a, point k.
struct SectionCurvePart {
  Array1<int, MAX_CROSS_SECTIONS> label{}, num_axial_loads{};
  Array2<double, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES> axial_load{};
  Array2<int, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES> num_points{};
  Table3<double> moment, curvature;  // (entry, axial load, point 1..n)
};

// Moment-curvature curves of the cross sections (input section 18).
struct SectionCurveInputRecord {
  int count = 0;
  SectionCurvePart zz, yy;
};
extern SectionCurveInputRecord SectionCurveInput;

// Bilinear data of the cross sections (input section 19). Point 0 of a list
// has curvature 0 and, in the nonsymmetric mode, the moment moment_0.
struct SectionBilinearPart : SectionCurvePart {
  Array2<double, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES> moment_0{};
  Array2<int, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES> yield_index{}, second_yield_index{};
};
struct SectionBilinearInputRecord {
  int count = 0;
  SectionBilinearPart zz, yy;
};
extern SectionBilinearInputRecord SectionBilinearInput;

// ------------------------------------------------------------ routines

// RESET_INPUT_RECORDS
// Returns every record of this header, the counts of the input tables of the
// model store and the input curve tables to zero and their defaults, and sets
// the reduction factors of every pile entry to 1.0. The model store must
// exist. Large curve tables get fresh zeroed memory rather than being cleared.
//   Writes: every record above; LoadSetTable, SoilMovementProfile,
//           PileArrangementInput and GeneratedCurvePiles counts and the
//           profile points; ClosePileFactors; PileTable.p_factor_saved and
//           y_factor_saved
//   in,out: status  ALLOCATION_FAILED when a curve table cannot be had
void RESET_INPUT_RECORDS(int& status);

}  // namespace pilecap
