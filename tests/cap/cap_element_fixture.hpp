// Helpers and a fixture for the embedded-cap tests: one pile (entry 1) under a cap whose
// element is entry 2 with the property set after the pile's, its top at
// depth d0, length L in n increments and width b, in soil layers of a
// stated code; the reports as memory units, English units.
#pragma once

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "cap/embedded_cap.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/sections.hpp"
#include "soil/py_curves.hpp"
#include "tests/soil/soil_fixture.hpp"

namespace pilecap::testing {

// Property set `set` as one uniform section of the given length and diameter.
inline void set_one_section(int set, double length, double diameter) {
  PileProperty.length(set) = length;
  PileProperty.n_sections(set) = 1;
  PileSection.top(set, 1) = 0.0;
  PileSection.bottom(set, 1) = length;
  PileSection.diameter(set, 1) = PileSection.diameter_bottom(set, 1) = diameter;
}

// The element of entry n_piles + 1: top at d0, length L in n increments,
// width b, property set set; vertical, its axes the cap axes. Call after
// the soil layers.
inline void set_cap_element(double d0, double length, int n, double b, int set) {
  auto& P = PileTable;
  const int e = P.n_piles + 1;
  P.head_x(e) = P.head_depth(e) = d0;
  P.prop(e) = set;
  P.n_identical(e) = 1.0;
  P.alpha(e) = P.theta(e) = 0.0;
  P.beta(e) = HALF_PI;
  P.ground(e) = SoilProfile.layer_top(1) - d0;
  auto& element = CapPassiveElement;
  element.method = PASSIVE_BY_ELEMENT;
  element.increments = n;
  element.length = length;
  CapGeometry.thickness_xx = length;
  CapGeometry.width_zz = b;
  set_one_section(set, length, b);
  PileProperty.n_increments(set) = n;
  SET_SECTION_SENTINELS(set);  // the sets below it have their sections
}

// Layers (top, bottom) of one code with the same property values everywhere.
inline void set_uniform_soil(const std::vector<std::pair<double, double>>& layers, int code, double k,
                             double cohesion = 0.0, double e50 = 0.0, double gamma = 0.0) {
  SoilProfileRecord& s = SoilProfile;
  s.num_layers = static_cast<int>(layers.size());
  s.num_points = s.num_uw_points = 2 * s.num_layers;
  for (int l = 1; l <= s.num_layers; ++l) {
    s.layer_top(l) = layers[static_cast<std::size_t>(l - 1)].first;
    s.layer_bottom(l) = layers[static_cast<std::size_t>(l - 1)].second;
    s.layer_code(l) = code;
    s.depth(2 * l - 1) = s.uw_depth(2 * l - 1) = s.layer_top(l);
    s.depth(2 * l) = s.uw_depth(2 * l) = s.layer_bottom(l);
  }
  for (int i = 1; i <= s.num_points; ++i) {
    s.subgrade_k(i) = k;
    s.cohesion(i) = cohesion;
    s.e50(i) = e50;
    s.unit_weight(i) = gamma;
  }
}

class CapElementTest : public SoilTest {
 protected:
  static constexpr int CAP = 2;      // the element's entry: one pile, then the cap
  static constexpr int CAP_SET = 2;  // the property set after the pile's

  void SetUp() override {
    SoilTest::SetUp();
    int status = 0;
    RESET_INPUT_RECORDS(status);  // factors 1.0
    ASSERT_EQ(status, 0);
    RunOptions.units = 1;
    RunOptions.dimension = 3;
    RunOptions.cap_passive_option = 2;
    int english = 1, pounds = 0;
    SET_UNIT_LABELS(english, pounds);
    PileTable.n_piles = 1;
    PileTable.prop(1) = 1;
    set_one_section(1, 600.0, 24.0);
  }
  void TearDown() override {
    CLEAR_PILE_PROPERTIES();
    CapGeometry = CapGeometryRecord{};
    SoilTest::TearDown();
  }

  static void element(double d0, double length, int n, double b) { set_cap_element(d0, length, n, b, CAP_SET); }
  static void soil(const std::vector<std::pair<double, double>>& layers, int code, double k, double cohesion = 0.0,
                   double e50 = 0.0, double gamma = 0.0) {
    set_uniform_soil(layers, code, k, cohesion, e50, gamma);
  }
};

}  // namespace pilecap::testing
