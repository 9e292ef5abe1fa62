// A fixture for the plot-data writers: the model store, the plot-data file
// as a memory unit in either form, the results report and run log as memory
// units, piles of one straight section set laid out by the test, and a soil
// profile of constant-value layers written point by point. English units,
// model in space unless a test says otherwise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"
#include "results/plot_file.hpp"
#include "results/results.hpp"
#include "run/run.hpp"
#include "soil/py_curves.hpp"
#include "soil/soil.hpp"
#include "tests/results/plot_file_reader.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

// One straight pipe section of a property set: top and bottom values.
struct PlotSection {
  double diameter = 24.0, diameter_bottom = 24.0;
  double area = 36.9, inertia = 2549.0, modulus = 29e6, gj = 5.91e10;
};

// One soil layer and the constant values of its property columns.
struct PlotLayer {
  int code = SOIL_ELASTIC_SUBGRADE;
  double top = 0.0, bottom = 0.0;
  double cohesion = 0.0, friction_angle = 0.0, subgrade_k = 0.0, e50 = 0.0, unit_weight = 0.0;
  double side_friction = 0.0, tip_resistance = 0.0;
  double subgrade_k_bottom = -1.0;  // below 0: the same as at the top
};

class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_engine_state();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    RESET_INPUT_RECORDS(status);
    ASSERT_EQ(status, 0);
    CLEAR_PILE_PROPERTIES();
    PileTable.n_piles = 0;
    SoilProfile = SoilProfileRecord{};
    GeneratedPyCurve = GeneratedPyCurveRecord{};
    AnalysisControl = AnalysisControlRecord{};
    AnalysisControl.loading_kind = LOADING_STATIC;
    RunConstants.pi = PI_DOUBLE;  // as the pile table leaves it
    RunOptions.units = UNITS_ENGLISH;
    RunOptions.dimension = MODEL_3D;
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_RUN_LOG, UNIT_ECHO, UNIT_PLOT}) fio::open_memory(unit);
    open_plot_file(false);
    PyExportRequest.plot_nodes = 4;
  }
  void TearDown() override {
    fio::close_all();
    CLEAR_PILE_PROPERTIES();
    PileTable.n_piles = 0;
    SoilProfile = SoilProfileRecord{};
    GeneratedPyCurve = GeneratedPyCurveRecord{};
    AnalysisControl = AnalysisControlRecord{};
    int status = 0;
    RESET_INPUT_RECORDS(status);
    RELEASE_MODEL_ARRAYS(status);
  }

  static void open_plot_file(bool unformatted) {
    RunOptions.export_unformatted = unformatted ? 1 : 0;
    fio::open_memory(UNIT_CURVE_EXPORT, {}, unformatted ? fio::Form::Unformatted : fio::Form::Formatted);
  }
  static std::string plot_bytes() { return fio::memory_contents(UNIT_CURVE_EXPORT); }

  // Property set `set` of one section, pile type, length and increments.
  static void set_property(int set, int type, double length, int n_increments, const PlotSection& s = {}) {
    PileProperty.length(set) = length;
    PileProperty.n_increments(set) = n_increments;
    PileProperty.increment(set) = length / n_increments;
    PileProperty.n_sections(set) = 1;
    PileProperty.pile_type(set) = type;
    auto& t = PileSection;
    t.top(set, 1) = 0.0;
    t.bottom(set, 1) = length;
    t.diameter(set, 1) = s.diameter;
    t.diameter_bottom(set, 1) = s.diameter_bottom;
    t.area(set, 1) = t.area_bottom(set, 1) = s.area;
    t.inertia_zz(set, 1) = t.inertia_zz_bottom(set, 1) = s.inertia;
    t.inertia_yy(set, 1) = t.inertia_yy_bottom(set, 1) = s.inertia;
    t.modulus(set, 1) = t.modulus_bottom(set, 1) = s.modulus;
    t.gj(set, 1) = t.gj_bottom(set, 1) = s.gj;
    SET_SECTION_SENTINELS(set);
  }

  // Pile p on set `set`, head at vertical coordinate head_x, the ground
  // line `ground` below the head, angles in degrees (space) and the batter
  // (plane), its analysis nodes at the set's increments.
  static void set_pile(int p, int set, double head_x, double ground, double alpha_deg = 0.0, double beta_deg = 90.0,
                       double batter = 0.0) {
    if (p > PileTable.n_piles) PileTable.n_piles = p;
    PileTable.prop(p) = set;
    PileTable.head_x(p) = PileTable.head_depth(p) = head_x;
    PileTable.ground(p) = ground;
    PileTable.alpha(p) = alpha_deg * PI_DOUBLE / 180.0;
    PileTable.beta(p) = beta_deg * PI_DOUBLE / 180.0;
    PileTable.batter(p) = batter;
    const double h = PileProperty.increment(set);
    for (int j = 1; j <= PileProperty.n_increments(set) + 1; ++j) {
      PileNodes.depth(p, j) = PileNodes.axial_x(p, j) = head_x + (j - 1) * h;
    }
  }

  // The layers in order, points 2l - 1 and 2l at their top and bottom.
  static void set_layers(const std::vector<PlotLayer>& layers) {
    SoilProfileRecord& s = SoilProfile;
    s.num_layers = static_cast<int>(layers.size());
    s.num_points = s.num_uw_points = 2 * s.num_layers;
    SoilLayerInput.count = s.num_layers;
    for (int l = 1; l <= s.num_layers; ++l) {
      const PlotLayer& layer = layers[static_cast<std::size_t>(l - 1)];
      s.layer_top(l) = layer.top;
      s.layer_bottom(l) = layer.bottom;
      s.layer_code(l) = layer.code;
      for (int point : {2 * l - 1, 2 * l}) {
        s.depth(point) = s.uw_depth(point) = point % 2 == 1 ? layer.top : layer.bottom;
        s.cohesion(point) = layer.cohesion;
        s.friction_angle(point) = layer.friction_angle;
        s.subgrade_k(point) = layer.subgrade_k;
        s.e50(point) = layer.e50;
        s.unit_weight(point) = layer.unit_weight;
        s.side_friction(point) = layer.side_friction;
        s.tip_resistance(point) = layer.tip_resistance;
      }
      if (layer.subgrade_k_bottom >= 0.0) s.subgrade_k(2 * l) = layer.subgrade_k_bottom;
    }
  }

  // The whole file as the run writes it: header, then every pile's blocks
  // until a writer fails; that writer's code.
  static int write_plot_file() {
    int status = STATUS_OK;
    plot::write_record(plot::INTEGERS_LAYOUT, PileTable.n_piles, RunOptions.dimension, RunOptions.units);
    GeneratedPyCurve.from_plot_list = 1;
    RunOptions.print_py_curves = 1;
    for (int p = 1; p <= PileTable.n_piles && status == STATUS_OK; ++p) {
      WRITE_PLOT_PILE_GEOMETRY(p, status);
      if (status == STATUS_OK) WRITE_PLOT_PY_CURVES(p, status);
      if (status == STATUS_OK) WRITE_PLOT_TZ_CURVES(p, status);
      if (status == STATUS_OK && RunOptions.dimension == MODEL_3D) WRITE_PLOT_TQ_CURVES(p, status);
    }
    RunOptions.print_py_curves = 0;
    return status;
  }

  static PlotFile read_back() { return read_plot_file(plot_bytes(), RunOptions.export_unformatted != 0); }

  // Writes the whole file, which must succeed, and reads it back.
  static PlotFile written_file() {
    EXPECT_EQ(write_plot_file(), STATUS_OK);
    const PlotFile file = read_back();
    EXPECT_TRUE(file.complete) << file.error;
    return file;
  }
};

// The positive branch of a node's spring (points n .. 2n - 1).
inline std::vector<PlotPoint> positive_branch(const PlotCurveNode& node) {
  const std::size_t n = (node.points.size() + 1) / 2;
  return {node.points.begin() + static_cast<std::ptrdiff_t>(n - 1), node.points.end()};
}

}  // namespace pilecap::testing
