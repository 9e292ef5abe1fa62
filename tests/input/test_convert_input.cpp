// Conversion of the input units: every converted field against its hand
// value under English, SI and generic units (bit-exact where one factor at a
// time differs from the combined factor), the fields left as read, the
// counts that bound each loop, and English and SI twins of one input deck.
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "input_fixture.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

class ConvertInputTest : public testing::ModelRecordsTest {
 protected:
  static void reset() {
    int status = 0;
    RESET_INPUT_RECORDS(status);
    ASSERT_EQ(status, 0);
  }
  // Converts and checks that the status word is left as it was.
  static void convert() {
    int status = STATUS_OK;
    CONVERT_INPUT_UNITS(status);
    EXPECT_EQ(status, STATUS_OK);
  }
  static void options(int units, int dimension, int switches) {
    RunOptions.units = units;
    RunOptions.dimension = dimension;
    RunOptions.print_py_curves = switches;
    RunOptions.user_py_curves = switches;
    RunOptions.depth_reduction = switches;
    RunOptions.soil_movement_profile = switches;
  }
};

// A field, the value it is given, and what it must hold after the
// conversion under English units and under SI units.
struct Field {
  std::string name;
  std::function<double&()> at;
  double read;
  double english;
  double si;
};

// Values whose conversions are exact by hand, or whose one-factor-at-a-time
// result (computed outside the engine) differs from the combined factor.
constexpr double FEET = 2.5;                                     // 30 inches
constexpr double SQ_PER_FOOT = 0.7;                              // 0.7 / 12 / 12
constexpr double SQ_PER_INCH = 0.00486111111111111;              // 0.7 / 144 = 0.004861111111111111
constexpr double CU_PER_FOOT = 5.0;                              // 5 / 12 / 12 / 12
constexpr double CU_PER_INCH = 0.002893518518518519;             // 5 / 1728 = 0.0028935185185185184
constexpr double MILLIMETRES = 500.0;                            // 0.5 m
constexpr double SQ_MILLIMETRES = 0.9;                           // 0.9 / 1000 / 1000
constexpr double SQ_METRES = 9e-07;                              // 0.9 / 1e6 = 9.000000000000001e-07
constexpr double MM_TO_THE_FOURTH = 5.0;                         // 5 / 1000 / 1000 / 1000 / 1000
constexpr double METRES_TO_THE_FOURTH = 5.0000000000000005e-12;  // 5 / 1e12 = 5e-12
constexpr double AS_READ = 3.25;                                 // a field no system converts

Field length(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), FEET, 30.0, FEET};
}
Field kept(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), AS_READ, AS_READ, AS_READ};
}
Field kilo(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), MILLIMETRES, MILLIMETRES, 0.5};
}
Field mega(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), SQ_MILLIMETRES, SQ_MILLIMETRES, SQ_METRES};
}
Field tera(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), MM_TO_THE_FOURTH, MM_TO_THE_FOURTH, METRES_TO_THE_FOURTH};
}
Field per_sq(std::string name, std::function<double&()> at) {
  return {std::move(name), std::move(at), SQ_PER_FOOT, SQ_PER_INCH, SQ_PER_FOOT};
}

#define AT(expr) #expr, []() -> double& { return expr; }

// The fields of a 3D model with one load case, one set of each kind and one
// entry of every table, with every optional switch on.
std::vector<Field> fields_3d() {
  return {
      length(AT(CapGeometry.length_yy)),
      length(AT(CapGeometry.width_zz)),
      length(AT(CapGeometry.thickness_xx)),
      length(AT(CapGeometry.eq_diameter)),
      kept(AT(CapGeometry.fifth_value)),
      length(AT(ConcentratedLoad.point_x(1, 2))),
      length(AT(ConcentratedLoad.point_y(1, 2))),
      length(AT(ConcentratedLoad.point_z(1, 2))),
      kept(AT(ConcentratedLoad.force_x(1, 2))),
      kept(AT(ConcentratedLoad.moment_y(1, 2))),
      kept(AT(LoadCase.scale_factor(1))),
      length(AT(SpecifiedDofData.point(1, 1))),
      length(AT(SpecifiedDofData.point(1, 3))),
      kept(AT(SpecifiedDofData.row_a(1, 1))),
      kept(AT(SpecifiedDofData.row_b(1, 6))),
      length(AT(LoadSetTable.loads.depth(1, 2))),
      kept(AT(LoadSetTable.loads.value(1, 2))),
      length(AT(LoadSetTable.movements.depth(1, 1))),
      kept(AT(LoadSetTable.movements.value(1, 1))),
      kept(AT(PileArrangementInput.real_3d(1, 1))),
      kept(AT(PileArrangementInput.real_3d(1, 7))),
      length(AT(PileArrangementInput.real_3d(1, 8))),
      length(AT(PileArrangementInput.real_3d(1, 9))),
      length(AT(PileArrangementInput.real_3d(1, 10))),
      kept(AT(PileArrangementInput.real_3d(1, 11))),
      kept(AT(PileArrangementInput.real_3d(1, 13))),
      length(AT(PileArrangementInput.real_3d(1, 14))),
      length(AT(PropertySetInput.length(1))),
      length(AT(PropertySetInput.from(1, 1))),
      length(AT(PropertySetInput.to(1, 1))),
      kilo(AT(CrossSection.diameter(1))),
      kilo(AT(CrossSection.web_thickness_bottom(1))),
      kilo(AT(CrossSection.perimeter(1))),
      kilo(AT(CrossSection.perimeter_bottom(1))),
      mega(AT(CrossSection.area(1))),
      mega(AT(CrossSection.area_bottom(1))),
      tera(AT(CrossSection.inertia_zz(1))),
      tera(AT(CrossSection.inertia_yy_bottom(1))),
      kept(AT(CrossSection.modulus(1))),
      kept(AT(CrossSection.gj(1))),
      kept(AT(CrossSection.wall_thickness(1))),
      kilo(AT(CrossSection.nl_width(1))),
      kilo(AT(CrossSection.steel_thickness(1))),
      mega(AT(CrossSection.rebar_area(1))),
      kilo(AT(CrossSection.rebar_cover(1))),
      mega(AT(CrossSection.tie_area(1))),
      kilo(AT(CrossSection.tie_spacing(1))),
      mega(AT(CrossSection.strand_area(1))),
      kilo(AT(CrossSection.strand_cover(1))),
      kept(AT(CrossSection.concrete_fc(1))),
      mega(AT(CrossSection.bar_a(1, 1))),
      kilo(AT(CrossSection.bar_z(1, 1))),
      mega(AT(CrossSection.strand_a(1, 1))),
      kilo(AT(CrossSection.strand_d(1, 1))),
      length(AT(SoilLayerInput.top(1))),
      length(AT(SoilLayerInput.bottom(1))),
      {AT(SoilLayerInput.props(1)(1, 2)), CU_PER_FOOT, CU_PER_INCH, CU_PER_FOOT},
      per_sq(AT(SoilLayerInput.props(1)(2, 1))),
      per_sq(AT(SoilLayerInput.props(1)(8, 2))),
      per_sq(AT(SoilLayerInput.props(1)(9, 1))),
      kept(AT(SoilLayerInput.props(1)(3, 1))),
      kept(AT(SoilLayerInput.props(1)(7, 2))),
      length(AT(PyPrintRequest.depth(1))),
      kept(AT(PyPrintRequest.y(1, 1))),
      length(AT(UserPyCurveSet.read_depth(1, 1))),
      length(AT(DepthFactorTable.depth(1, 1))),
      kept(AT(DepthFactorTable.p_factor(1, 1))),
      length(AT(SoilMovementProfile.depth(1))),
      kept(AT(SoilMovementProfile.move_y(1))),
      kept(AT(CapPlateInput.center_x)),
      kept(AT(PyExportRequest.deflections(1))),
  };
}

void counts_of_one_entry_each() {
  LoadCase.count = 1;
  LoadCase.num_conc_loads(1) = 2;
  LoadCase.point_loads_flag(1) = 1;
  LoadSetTable.loads.count = 1;
  LoadSetTable.loads.num_points(1) = 2;
  LoadSetTable.movements.count = 1;
  LoadSetTable.movements.num_points(1) = 1;
  PileArrangementInput.n_piles_3d = 1;
  PropertySetInput.count = 1;
  PropertySetInput.num_sections(1) = 1;
  CrossSection.count = 1;
  SoilLayerInput.count = 1;
  SoilLayerInput.soil_code(1) = 1;
  PyPrintRequest.count = 1;
  UserPyCurveSet.count = 1;
  UserPyCurveSet.read_num_curves(1) = 1;
  DepthFactorTable.count = 1;
  DepthFactorTable.num_rows(1) = 1;
  SoilMovementProfile.count = 1;
}

TEST_F(ConvertInputTest, EveryFieldOfA3dModelUnderEachUnitSystem) {
  struct System {
    const char* name;
    int units;
    bool english;
  };
  for (const System& system : {System{"English", 1, true}, System{"SI", 2, false}, System{"generic units 3", 3, true},
                               System{"units 0", 0, true}}) {
    reset();
    options(system.units, MODEL_3D, 1);
    counts_of_one_entry_each();
    const std::vector<Field> fields = fields_3d();
    for (const Field& f : fields) f.at() = f.read;
    convert();
    for (const Field& f : fields) {
      EXPECT_EQ(f.at(), system.english ? f.english : f.si) << system.name << ": " << f.name;
    }
    EXPECT_EQ(PileTable.n_piles, 1) << system.name;
  }
}

TEST_F(ConvertInputTest, TwoDimensionalModelLeavesZAndNonLengthColumns) {
  options(UNITS_ENGLISH, MODEL_2D, 0);
  LoadCase.count = 1;
  LoadCase.num_conc_loads(1) = 1;
  LoadCase.point_loads_flag(1) = 1;
  PileArrangementInput.n_rows_2d = 2;
  PileArrangementInput.n_piles_3d = 7;
  ConcentratedLoad.point_z(1, 1) = FEET;
  SpecifiedDofData.point(1, 2) = FEET;
  SpecifiedDofData.point(1, 3) = FEET;
  for (int column = 1; column <= ARRANGEMENT_REALS_2D; ++column) PileArrangementInput.real_2d(2, column) = FEET;
  convert();
  EXPECT_EQ(ConcentratedLoad.point_z(1, 1), FEET);
  EXPECT_EQ(SpecifiedDofData.point(1, 2), 30.0);
  EXPECT_EQ(SpecifiedDofData.point(1, 3), FEET);
  // SPACING, VERT, HOR and GROUND are lengths; spring, factors and batter are not.
  const std::vector<double> expected = {FEET, 30.0, FEET, FEET, FEET, 30.0, 30.0, FEET, 30.0};
  for (int column = 1; column <= ARRANGEMENT_REALS_2D; ++column) {
    EXPECT_EQ(PileArrangementInput.real_2d(2, column), expected[static_cast<std::size_t>(column - 1)])
        << "column " << column;
  }
  EXPECT_EQ(PileTable.n_piles, 2);

  reset();
  options(UNITS_SI, MODEL_2D, 0);
  CrossSection.count = 1;
  CrossSection.inertia_zz(1) = MM_TO_THE_FOURTH;
  CrossSection.inertia_yy(1) = MM_TO_THE_FOURTH;
  convert();
  EXPECT_EQ(CrossSection.inertia_zz(1), METRES_TO_THE_FOURTH);
  EXPECT_EQ(CrossSection.inertia_yy(1), MM_TO_THE_FOURTH);
}

TEST_F(ConvertInputTest, RockStrengthStaysPerSquareInch) {
  options(UNITS_ENGLISH, MODEL_3D, 0);
  SoilLayerInput.count = 3;
  const int codes[] = {1, 9, 6};
  for (int l = 1; l <= 3; ++l) {
    SoilLayerInput.soil_code(l) = codes[l - 1];
    SoilLayerInput.num_points(l) = 1;  // both points are converted whatever the count says
    for (int p = 1; p <= SOIL_LAYER_POINTS; ++p) {
      SoilLayerInput.props(l)(1, p) = 1728.0;
      SoilLayerInput.props(l)(2, p) = 144.0;
    }
  }
  convert();
  for (int l = 1; l <= 3; ++l) {
    for (int p = 1; p <= SOIL_LAYER_POINTS; ++p) {
      EXPECT_EQ(SoilLayerInput.props(l)(1, p), 1.0) << "code " << codes[l - 1] << " point " << p;
      EXPECT_EQ(SoilLayerInput.props(l)(2, p), l == 1 ? 1.0 : 144.0) << "code " << codes[l - 1] << " point " << p;
    }
  }
}

TEST_F(ConvertInputTest, LoopsStopAtTheirCounts) {
  options(UNITS_ENGLISH, MODEL_3D, 1);
  auto fill = [](double& x) { x = FEET; };
  LoadCase.count = 3;
  LoadCase.num_conc_loads(1) = 1;
  LoadCase.point_loads_flag(2) = 2;  // no point lines read, converted all the same
  LoadCase.point_loads_flag(3) = 0;
  for (int i = 1; i <= 4; ++i) {
    fill(ConcentratedLoad.point_x(i, 1));
    fill(ConcentratedLoad.point_x(i, 2));
    fill(SpecifiedDofData.point(i, 1));
  }
  DepthFactorTable.count = 2;
  DepthFactorTable.num_rows(1) = 3;
  DepthFactorTable.num_rows(2) = 5;
  for (int m = 1; m <= 3; ++m) {
    for (int row = 1; row <= 6; ++row) fill(DepthFactorTable.depth(m, row));
  }
  CrossSection.count = 1;
  CrossSection.rebar_count(1) = 0;
  CrossSection.bar_d(1, MAX_SECTION_BARS) = MILLIMETRES;
  CrossSection.strand_y(1, MAX_SECTION_BARS) = MILLIMETRES;
  convert();
  EXPECT_EQ(ConcentratedLoad.point_x(1, 1), 30.0);
  EXPECT_EQ(ConcentratedLoad.point_x(1, 2), FEET);
  EXPECT_EQ(ConcentratedLoad.point_x(2, 1), FEET);
  EXPECT_EQ(SpecifiedDofData.point(1, 1), FEET);
  EXPECT_EQ(SpecifiedDofData.point(2, 1), 30.0);
  EXPECT_EQ(SpecifiedDofData.point(3, 1), FEET);
  EXPECT_EQ(SpecifiedDofData.point(4, 1), FEET);
  for (int m = 1; m <= 3; ++m) {
    for (int row = 1; row <= 6; ++row) {
      const bool counted = (m == 1 && row <= 3) || (m == 2 && row <= 5);
      EXPECT_EQ(DepthFactorTable.depth(m, row), counted ? 30.0 : FEET) << "table " << m << " row " << row;
    }
  }
  // Under English units the cross sections keep their values.
  EXPECT_EQ(CrossSection.bar_d(1, MAX_SECTION_BARS), MILLIMETRES);

  reset();
  options(UNITS_SI, MODEL_3D, 0);
  CrossSection.count = 1;
  CrossSection.bar_d(1, MAX_SECTION_BARS) = MILLIMETRES;
  CrossSection.strand_y(1, MAX_SECTION_BARS) = MILLIMETRES;
  CrossSection.bar_d(2, 1) = MILLIMETRES;
  convert();
  EXPECT_EQ(CrossSection.bar_d(1, MAX_SECTION_BARS), 0.5);
  EXPECT_EQ(CrossSection.strand_y(1, MAX_SECTION_BARS), 0.5);
  EXPECT_EQ(CrossSection.bar_d(2, 1), MILLIMETRES);
}

TEST_F(ConvertInputTest, SwitchedOffTablesKeepTheirDepths) {
  options(UNITS_ENGLISH, MODEL_3D, 0);
  PyPrintRequest.count = 1;
  UserPyCurveSet.count = 1;
  UserPyCurveSet.read_num_curves(1) = 1;
  DepthFactorTable.count = 1;
  DepthFactorTable.num_rows(1) = 1;
  SoilMovementProfile.count = 1;
  for (double* depth : {&PyPrintRequest.depth(1), &UserPyCurveSet.read_depth(1, 1), &DepthFactorTable.depth(1, 1),
                        &SoilMovementProfile.depth(1)}) {
    *depth = FEET;
  }
  convert();
  EXPECT_EQ(PyPrintRequest.depth(1), FEET);
  EXPECT_EQ(UserPyCurveSet.read_depth(1, 1), FEET);
  EXPECT_EQ(DepthFactorTable.depth(1, 1), FEET);
  EXPECT_EQ(SoilMovementProfile.depth(1), FEET);
}

// ------------------------------------------------ English and SI twins

namespace fs = std::filesystem;

double number(const std::string& text) {
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The ways a value may change: the factor chains of the two systems.
enum class Change { None, Length, PerSquare, PerCube, Kilo, Mega, Tera, Other };

Change change_of(double read, double now) {
  if (now == read) return Change::None;
  if (now == read * 12) return Change::Length;
  if (now == read / 12 / 12) return Change::PerSquare;
  if (now == read / 12 / 12 / 12) return Change::PerCube;
  if (now == read / 1000) return Change::Kilo;
  if (now == read / 1000 / 1000) return Change::Mega;
  if (now == read / 1000 / 1000 / 1000 / 1000) return Change::Tera;
  return Change::Other;
}

class ConvertDeckTest : public ConvertInputTest {
 protected:
  // Reads the deck written for the switches, converts it, and returns for
  // every stored item how its value changed from the text of the file.
  static std::vector<Change> changes(const testing::DeckSwitches& switches, std::vector<std::string>& where) {
    testing::DeckWriter deck(switches.style);
    testing::write_deck(switches, deck);
    const fs::path folder = fs::temp_directory_path() / ("pilecap_convert_deck_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    RunFiles.curve_export_file = (folder / "curves.dat").string();
    fio::open_memory(UNIT_INPUT, deck.text());
    fio::open_memory(UNIT_RUN_LOG);
    int status = STATUS_OK;
    READ_INPUT_FILE(status);
    EXPECT_EQ(status, STATUS_OK) << fio::memory_contents(UNIT_RUN_LOG);
    convert();
    fio::close_all();
    fs::remove_all(folder);
    std::vector<Change> out;
    where.clear();
    for (const auto& e : deck.expectations()) {
      where.push_back(e.where);
      out.push_back(change_of(number(e.expected), number(e.actual())));
    }
    return out;
  }
};

TEST_F(ConvertDeckTest, TwinDecksConvertDisjointFieldsByTheirOwnFactors) {
  for (const int dimension : {MODEL_2D, MODEL_3D}) {
    testing::DeckSwitches english;
    english.dimension = dimension;
    english.optional_sections = true;
    english.point_loads = true;
    testing::DeckSwitches si = english;
    si.units = UNITS_SI;
    std::vector<std::string> where_english, where_si;
    const std::vector<Change> by_english = changes(english, where_english);
    const std::vector<Change> by_si = changes(si, where_si);
    ASSERT_EQ(where_english, where_si) << "the twins hold the same items";
    int n_english = 0, n_si = 0;
    for (std::size_t k = 0; k < by_english.size(); ++k) {
      const std::string label = "dimension " + std::to_string(dimension) + ": " + where_english[k];
      const Change e = by_english[k];
      const Change s = by_si[k];
      EXPECT_TRUE(e == Change::None || e == Change::Length || e == Change::PerSquare || e == Change::PerCube)
          << label << " changed by a factor English units do not use";
      EXPECT_TRUE(s == Change::None || s == Change::Kilo || s == Change::Mega || s == Change::Tera)
          << label << " changed by a factor SI units do not use";
      EXPECT_TRUE(e == Change::None || s == Change::None) << label << " converted under both systems";
      n_english += e != Change::None;
      n_si += s != Change::None;
      // Names that are lengths or section values wherever they appear.
      for (const char* name : {"point_x", "point_y", "length_yy", "eq_diameter", "->top(", "read_depth", "->from("}) {
        if (where_english[k].find(name) != std::string::npos) {
          EXPECT_EQ(e, Change::Length) << label;
        }
      }
      for (const char* name : {"force_", "moment_", "scale_factor", "->value(", "move_y", "concrete_fc"}) {
        if (where_english[k].find(name) != std::string::npos) {
          EXPECT_EQ(e, Change::None) << label;
          EXPECT_EQ(s, Change::None) << label;
        }
      }
      for (const char* name : {"rebar_area", "bar_a", "tie_area", "area"}) {
        if (where_english[k].find(name) != std::string::npos) {
          EXPECT_EQ(s, Change::Mega) << label;
        }
      }
    }
    EXPECT_GT(n_english, 20) << "dimension " << dimension;
    EXPECT_GT(n_si, 20) << "dimension " << dimension;
  }
}

}  // namespace
}  // namespace pilecap
