// Conversion of the input records, once and in place, from the units of the
// input file to the model units: under English units site lengths from feet
// to inches and soil strengths and unit weights from per square (cubic) foot
// to per square (cubic) inch; under SI units cross-section dimensions, areas
// and moments of inertia from millimetre powers to metre powers. Every factor
// is one operation of the conversion routines, so results are bit-exact.
// Tables are 1-based; every counted loop runs from 1 to its count.
#include <algorithm>

#include "input/input.hpp"
#include "model/conversions.hpp"

namespace pilecap {

namespace {

// Columns of the pile arrangement that hold lengths.
constexpr int ROW_2D_SPACING = 2;
constexpr int ROW_2D_VERT = 6;
constexpr int ROW_2D_HOR = 7;
constexpr int ROW_2D_GROUND = 9;
constexpr int PILE_3D_COR_X = 8;
constexpr int PILE_3D_COR_Y = 9;
constexpr int PILE_3D_COR_Z = 10;
constexpr int PILE_3D_GROUND = 14;

// Soil layer properties that carry units of the foot.
constexpr int PROP_UNIT_WEIGHT = 1;
constexpr int PROP_STRENGTH = 2;
constexpr int PROP_SIDE_FRICTION = 8;
constexpr int PROP_TIP_RESISTANCE = 9;
// Soil codes whose property 2 is a rock strength, given per square inch.
constexpr int VUGGY_LIMESTONE_CODE = 6;
constexpr int WEAK_ROCK_CODE = 9;

using Conversion = double (*)(double);

void convert(Conversion f, double& x) { x = f(x); }

void length(double& x) { convert(INCHES_FROM_FEET, x); }

// The first n values of a one-based table column, n cut to its capacity.
template <class Column>
void lengths(Column&& value, int n, int capacity) {
  for (int k = 1; k <= std::min(n, capacity); ++k) length(value(k));
}

bool is_3d() { return RunOptions.dimension != MODEL_2D; }

void convert_cap_and_loads() {
  length(CapGeometry.length_yy);
  length(CapGeometry.width_zz);
  length(CapGeometry.thickness_xx);
  length(CapGeometry.eq_diameter);
  CapGeometry.plate_width_zz = CapGeometry.width_zz;

  auto& load = ConcentratedLoad;
  for (int i = 1; i <= std::min(LoadCase.count, MAX_LOAD_CASES); ++i) {
    for (int j = 1; j <= std::min(LoadCase.num_conc_loads(i), MAX_CASE_LOADS); ++j) {
      length(load.point_x(i, j));
      length(load.point_y(i, j));
      if (is_3d()) length(load.point_z(i, j));
    }
    // Every positive flag, read or not, has its point converted.
    if (LoadCase.point_loads_flag(i) > 0) {
      const int n_coordinates = is_3d() ? POINT_COORDINATES : 2;
      for (int c = 1; c <= n_coordinates; ++c) length(SpecifiedDofData.point(i, c));
    }
  }

  for (LoadSetHalf* half : {&LoadSetTable.loads, &LoadSetTable.movements}) {
    for (int s = 1; s <= std::min(half->count, half->num_points.size()); ++s) {
      lengths([&](int p) -> double& { return half->depth(s, p); }, half->num_points(s), MAX_SET_POINTS);
    }
  }
}

void convert_piles() {
  auto& a = PileArrangementInput;
  if (RunOptions.dimension == MODEL_2D) {
    PileTable.n_piles = a.n_rows_2d;
    for (int r = 1; r <= std::min(a.n_rows_2d, MAX_PILES); ++r) {
      for (const int column : {ROW_2D_SPACING, ROW_2D_VERT, ROW_2D_HOR, ROW_2D_GROUND}) length(a.real_2d(r, column));
    }
  } else {
    PileTable.n_piles = a.n_piles_3d;
    for (int r = 1; r <= std::min(a.n_piles_3d, MAX_PILES); ++r) {
      for (const int column : {PILE_3D_COR_X, PILE_3D_COR_Y, PILE_3D_COR_Z, PILE_3D_GROUND}) {
        length(a.real_3d(r, column));
      }
    }
  }

  auto& p = PropertySetInput;
  const int n_sets = std::min(p.count, MAX_INPUT_PROPERTY_SETS);
  for (int s = 1; s <= n_sets; ++s) length(p.length(s));
  for (int s = 1; s <= n_sets; ++s) {
    for (int k = 1; k <= std::min(p.num_sections(s), MAX_PILE_SECTIONS); ++k) {
      length(p.from(s, k));
      length(p.to(s, k));
    }
  }
}

void convert_cross_sections() {
  auto& x = CrossSection;
  const int n = std::min(x.count, MAX_CROSS_SECTIONS);
  for (int c = 1; c <= n; ++c) {
    for (auto* dimension : {&x.diameter, &x.inner_diameter, &x.width, &x.depth, &x.inner_width, &x.inner_depth,
                            &x.flange_thickness, &x.web_thickness, &x.diameter_bottom, &x.inner_diameter_bottom,
                            &x.width_bottom, &x.depth_bottom, &x.inner_width_bottom, &x.inner_depth_bottom,
                            &x.flange_thickness_bottom, &x.web_thickness_bottom, &x.perimeter, &x.perimeter_bottom}) {
      convert(KILO_DIVIDE_SI, (*dimension)(c));
    }
  }
  for (int c = 1; c <= n; ++c) {
    convert(MEGA_DIVIDE_SI, x.area(c));
    convert(MEGA_DIVIDE_SI, x.area_bottom(c));
    convert(TERA_DIVIDE_SI, x.inertia_zz(c));
    convert(TERA_DIVIDE_SI, x.inertia_zz_bottom(c));
    if (is_3d()) {
      convert(TERA_DIVIDE_SI, x.inertia_yy(c));
      convert(TERA_DIVIDE_SI, x.inertia_yy_bottom(c));
    }
  }
  // The nonlinear description, whatever the section says of it: every bar
  // and strand slot, not only those the counts name.
  for (int c = 1; c <= n; ++c) {
    for (auto* dimension :
         {&x.nl_width, &x.nl_depth, &x.nl_diameter, &x.void_diameter, &x.corner_chamfer, &x.nl_web_thickness,
          &x.nl_flange_thickness, &x.casing_diameter, &x.casing_thickness, &x.steel_diameter, &x.steel_thickness}) {
      convert(KILO_DIVIDE_SI, (*dimension)(c));
    }
    convert(MEGA_DIVIDE_SI, x.rebar_area(c));
    convert(KILO_DIVIDE_SI, x.rebar_diameter(c));
    convert(KILO_DIVIDE_SI, x.rebar_cover(c));
    convert(MEGA_DIVIDE_SI, x.tie_area(c));
    convert(KILO_DIVIDE_SI, x.tie_diameter(c));
    convert(KILO_DIVIDE_SI, x.tie_spacing(c));
    convert(MEGA_DIVIDE_SI, x.strand_area(c));
    convert(KILO_DIVIDE_SI, x.strand_diameter(c));
    convert(KILO_DIVIDE_SI, x.strand_cover(c));
    for (int b = 1; b <= MAX_SECTION_BARS; ++b) {
      convert(MEGA_DIVIDE_SI, x.bar_a(c, b));
      convert(KILO_DIVIDE_SI, x.bar_d(c, b));
      convert(KILO_DIVIDE_SI, x.bar_y(c, b));
      convert(KILO_DIVIDE_SI, x.bar_z(c, b));
      convert(MEGA_DIVIDE_SI, x.strand_a(c, b));
      convert(KILO_DIVIDE_SI, x.strand_d(c, b));
      convert(KILO_DIVIDE_SI, x.strand_y(c, b));
      convert(KILO_DIVIDE_SI, x.strand_z(c, b));
    }
  }
}

void convert_soil_and_curves() {
  auto& s = SoilLayerInput;
  const int n_layers = std::min(s.count, MAX_INPUT_SOIL_LAYERS);
  for (int l = 1; l <= n_layers; ++l) {
    length(s.top(l));
    length(s.bottom(l));
  }
  for (int l = 1; l <= n_layers; ++l) {
    const bool rock_strength = s.soil_code(l) == VUGGY_LIMESTONE_CODE || s.soil_code(l) == WEAK_ROCK_CODE;
    for (int p = 1; p <= SOIL_LAYER_POINTS; ++p) {
      auto& props = s.props(l);
      convert(CU_FEET_FROM_CU_INCHES, props(PROP_UNIT_WEIGHT, p));
      if (!rock_strength) convert(SQ_FEET_FROM_SQ_INCHES, props(PROP_STRENGTH, p));
      convert(SQ_FEET_FROM_SQ_INCHES, props(PROP_SIDE_FRICTION, p));
      convert(SQ_FEET_FROM_SQ_INCHES, props(PROP_TIP_RESISTANCE, p));
    }
  }

  if (RunOptions.print_py_curves == 1) {
    lengths(PyPrintRequest.depth, PyPrintRequest.count, MAX_PY_PRINT_REQUESTS);
  }
  if (RunOptions.user_py_curves == 1) {
    auto& u = UserPyCurveSet;
    for (int set = 1; set <= std::min(u.count, MAX_PY_SETS); ++set) {
      lengths([&](int c) -> double& { return u.read_depth(set, c); }, u.read_num_curves(set), MAX_PY_CURVES_PER_SET);
    }
  }
  if (RunOptions.depth_reduction == 1) {
    auto& d = DepthFactorTable;
    for (int m = 1; m <= std::min(d.count, MAX_DEPTH_FACTOR_TABLES); ++m) {
      lengths([&](int row) -> double& { return d.depth(m, row); }, d.num_rows(m), MAX_DEPTH_FACTOR_ROWS);
    }
  }
  if (RunOptions.soil_movement_profile == 1) {
    lengths(SoilMovementProfile.depth, SoilMovementProfile.count, MAX_SOIL_MOVE_POINTS);
  }
}

}  // namespace

void CONVERT_INPUT_UNITS(int& /*status*/) {
  convert_cap_and_loads();
  convert_piles();
  convert_cross_sections();
  convert_soil_and_curves();
}

}  // namespace pilecap
