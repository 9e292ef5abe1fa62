// The soil profile of a run, built once by the input echo from the soil
// layers as read: the layer table, and for every layer two points (top,
// bottom) of each property curve. A layer keeps only the property columns its
// soil code uses; the others read 0. Friction angles become radians here;
// every other value is already in model units.
#include "input/input.hpp"
#include "soil/soil.hpp"

namespace pilecap {

SoilProfileRecord SoilProfile;

namespace {

// Input property numbers of a soil layer point.
constexpr int PROP_UNIT_WEIGHT = 1;
constexpr int PROP_COHESION = 2;
constexpr int PROP_FRICTION_ANGLE = 3;
constexpr int PROP_SUBGRADE_K = 4;
constexpr int PROP_ROCK_MODULUS = 5;
constexpr int PROP_E50 = 6;
constexpr int PROP_J_FACTOR = 7;
constexpr int PROP_SIDE_FRICTION = 8;
constexpr int PROP_TIP_RESISTANCE = 9;

constexpr double DEGREES_PER_HALF_TURN = 180.0;

// The six code-dependent columns, in the order of the mask below.
struct KeptColumns {
  bool cohesion, friction_angle, subgrade_k, rock_modulus, e50, j_factor;
};
constexpr KeptColumns ALL_COLUMNS = {true, true, true, true, true, true};

// Columns kept by SoilCode 1 .. 14 (row code - 1).
constexpr KeptColumns KEPT_BY_CODE[SOIL_CODE_COUNT] = {
    // cohesion friction  k      Er     e50    J
    {true, false, false, false, true, false},    // 1 soft clay
    {true, false, true, false, true, false},     // 2 stiff clay with free water
    {true, false, false, false, true, false},    // 3 stiff clay without free water
    {false, true, true, false, false, false},    // 4 sand
    {false, false, false, false, false, false},  // 5 user p-y curves
    {true, false, false, false, false, false},   // 6 vuggy limestone (e50 fixed below)
    {true, true, true, false, true, false},      // 7 silt
    {false, true, true, false, false, false},    // 8 API sand
    {true, false, false, true, true, true},      // 9 weak rock
    {true, false, true, false, true, false},     // 10 stiff clay, initial k
    {false, false, false, false, false, false},  // 11 liquefied sand
    {true, true, true, true, true, true},        // 12 elastic subgrade
    {true, false, false, false, true, true},     // 13 soft clay with user J
    {true, false, true, false, true, true},      // 14 modified soft clay, initial k
};

KeptColumns kept_columns(int code) {
  if (code < 1 || code > SOIL_CODE_COUNT) return ALL_COLUMNS;
  return KEPT_BY_CODE[code - 1];
}

double kept(bool keep, double value) { return keep ? value : 0.0; }

}  // namespace

void BUILD_SOIL_PROFILE(int& /*status*/) {
  // A fresh profile: nothing of an earlier run in this process is read.
  SoilProfile = SoilProfileRecord{};
  SoilProfileRecord& s = SoilProfile;

  s.num_layers = SoilLayerInput.count;
  for (int l = 1; l <= s.num_layers; ++l) {
    s.layer_code(l) = SoilLayerInput.soil_code(l);
    s.layer_top(l) = SoilLayerInput.top(l);
    s.layer_bottom(l) = SoilLayerInput.bottom(l);
  }
  s.num_points = 2 * s.num_layers;
  s.num_uw_points = s.num_points;

  // The embedded cap's ground, whatever the number of layers (0 - head depth
  // without layers).
  PileTable.ground(PileTable.n_piles + 1) = s.layer_top(1) - CapPassiveElement.head_depth;

  for (int l = 1; l <= s.num_layers; ++l) {
    const int code = s.layer_code(l);
    const KeptColumns keep = kept_columns(code);
    for (int p = 1; p <= SOIL_LAYER_POINTS; ++p) {
      const int j = 2 * (l - 1) + p;
      auto prop = [&](int k) { return SoilLayerInput.props(l)(k, p); };
      s.depth(j) = p == 1 ? s.layer_top(l) : s.layer_bottom(l);
      s.uw_depth(j) = s.depth(j);
      s.unit_weight(j) = prop(PROP_UNIT_WEIGHT);
      s.side_friction(j) = prop(PROP_SIDE_FRICTION);
      s.tip_resistance(j) = prop(PROP_TIP_RESISTANCE);
      s.cohesion(j) = kept(keep.cohesion, prop(PROP_COHESION));
      s.friction_angle(j) =
          kept(keep.friction_angle, prop(PROP_FRICTION_ANGLE) * RunConstants.pi / DEGREES_PER_HALF_TURN);
      s.subgrade_k(j) = kept(keep.subgrade_k, prop(PROP_SUBGRADE_K));
      s.rock_modulus(j) = kept(keep.rock_modulus, prop(PROP_ROCK_MODULUS));
      s.e50(j) = code == SOIL_VUGGY_LIMESTONE ? VUGGY_LIMESTONE_E50 : kept(keep.e50, prop(PROP_E50));
      s.j_factor(j) = kept(keep.j_factor, prop(PROP_J_FACTOR));
    }
  }
}

}  // namespace pilecap
