// A fixture for the load-transfer tests: the model store, memory units for
// every report the generators write, English labels, and one pile (pile 1,
// property set 1, one section) over a profile of one layer whose columns a
// test sets point by point.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "input/input.hpp"
#include "pile/pile.hpp"
#include "model/conversions.hpp"
#include "base/fio.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "soil/soil.hpp"
#include "tests/support/engine_state.hpp"
#include "transfer/transfer.hpp"

namespace pilecap::testing {

class TransferTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_RUN_LOG, UNIT_AXIAL_CURVE_TEXT, UNIT_AXIAL_CURVE_DATA,
                     UNIT_GENERATED_AXIAL_CURVES, UNIT_ECHO, UNIT_PLOT}) {
      fio::open_memory(unit);
    }
    units(UNITS_ENGLISH);
  }
  void TearDown() override {
    fio::close_all();
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    SoilProfile = SoilProfileRecord{};
    RunOptions = RunOptionsRecord{};
    CLEAR_PILE_PROPERTIES();
  }
  static void units(int system) {
    RunOptions.units = system;
    int sign = system == UNITS_SI ? -1 : 1;
    int force_unit = 0;
    SET_UNIT_LABELS(sign, force_unit);
  }
  // One layer from top to bottom with code; every column constant over it.
  struct Layer {
    double top = 0.0, bottom = 1000.0;
    int code = SOIL_SOFT_CLAY;
    double unit_weight = 0.04, cohesion = 5.0, phi = 0.0, e50 = 0.01, side_friction = 0.0, tip_resistance = 0.0;
  };
  static void set_layer(const Layer& l) {
    SoilProfileRecord& s = SoilProfile;
    s.num_layers = 1;
    s.num_points = s.num_uw_points = 2;
    s.layer_top(1) = l.top;
    s.layer_bottom(1) = l.bottom;
    s.layer_code(1) = l.code;
    for (int i = 1; i <= 2; ++i) {
      s.depth(i) = s.uw_depth(i) = i == 1 ? l.top : l.bottom;
      s.unit_weight(i) = l.unit_weight;
      s.cohesion(i) = l.cohesion;
      s.friction_angle(i) = l.phi;
      s.e50(i) = l.e50;
      s.side_friction(i) = l.side_friction;
      s.tip_resistance(i) = l.tip_resistance;
    }
  }
  // Pile 1 of property set 1: one uniform section from the head to length.
  struct Pile {
    int type = PILE_DRIVEN;
    int increments = 10;
    double length = 600.0, diameter = 12.0, area = 10.0, modulus = 29e6, perimeter = 37.7, gj = 1e10;
    double head_depth = 0.0, ground = 0.0;
  };
  static void set_pile(const Pile& p) {
    PileTable.n_piles = 1;
    PileTable.prop(1) = 1;
    PileTable.head_depth(1) = p.head_depth;
    PileTable.ground(1) = p.ground;
    PileProperty.pile_type(1) = p.type;
    PileProperty.n_increments(1) = p.increments;
    PileProperty.n_sections(1) = 1;
    PileProperty.length(1) = p.length;
    PileSection.bottom(1, 1) = p.length;
    PileSection.diameter(1, 1) = PileSection.diameter_bottom(1, 1) = p.diameter;
    PileSection.area(1, 1) = PileSection.area_bottom(1, 1) = p.area;
    PileSection.modulus(1, 1) = p.modulus;
    PileSection.perimeter(1, 1) = PileSection.perimeter_bottom(1, 1) = p.perimeter;
    PileSection.gj(1, 1) = PileSection.gj_bottom(1, 1) = p.gj;
  }
  static std::string text(int unit) { return fio::memory_contents(unit); }
};

}  // namespace pilecap::testing
