// The load-transfer model of one pile for the curve generators: checks of
// the input the generation divides by, the section boundaries, the t-z curve
// at a depth, the node curves, the friction lookup between node curves and
// the element march from the tip to the head. Everything is 1-based; depths
// are vertical coordinates, positions measured along the pile from the head.
#include "transfer/transfer_model.hpp"

#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

constexpr double USER_VALUE_LIMIT = double(1e-10f);
constexpr double DEPTH_FLOOR = double(1e-10f);
constexpr double PINNED_FRICTION = double(1e-6f);
// Degrees per radian of the friction angles that select and shape curves.
constexpr double DEGREES_PER_RADIAN_TZ = 180.0 / double(3.1416f);
// The printed layer curves stand this far inside their layer.
constexpr double LAYER_STEP_INCHES = double(0.1f);
constexpr double LAYER_STEP_METRES = double(0.00254f);
constexpr double METRES_PER_INCH = double(0.0254f);
constexpr int INPUT_SECTION_PROPERTY_SETS = 8;
constexpr int INPUT_SECTION_SOIL_LAYERS = 10;

//                              **** WARNING ****
//      THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE
constexpr const char* WARNING_LAYOUT = "(/,29X,\"**** WARNING ****\",/,5X,A)";
//      1    360.000   -0.1234567E+05     -0.1234567E-01
constexpr const char* MARCH_ROW_LAYOUT = "(3X,I5,F10.3,2X,E15.7,5X,E15.7)";

// The friction of a driven pile in sand, in its batter form when depths
// follow the batter.
double driven_sand_friction(const TransferModel& m, int code, double gamma, double z, double phi) {
  if (RunOptions.adjust_batter_depth == 1 && (code == SOIL_SAND || code == SOIL_API_SAND)) {
    return BATTERED_SAND_FRICTION(gamma, z, phi, PileTable.batter(m.p));
  }
  return SAND_FRICTION(gamma, z, phi);
}

// t on curve k at movement z.
double curve_friction(const TzCurveSet& set, int k, double z) {
  for (int i = 2; i <= TZ_POINTS; ++i) {
    if (set.z(k, i) > z) {
      const double z0 = set.z(k, i - 1);
      if (z <= z0) return set.t(k, i - 1);
      return set.t(k, i - 1) + (set.t(k, i) - set.t(k, i - 1)) * (z - z0) / (set.z(k, i) - z0);
    }
  }
  return set.t(k, TZ_POINTS);
}

}  // namespace

double INCHES_IN_MODEL(double inches) { return RunOptions.units == UNITS_SI ? inches * METRES_PER_INCH : inches; }

int TIP_LAYER_CODE(double x) {
  const SoilProfileRecord& s = SoilProfile;
  for (int l = 1; l <= s.num_layers; ++l) {
    if (s.layer_bottom(l) > x) return s.layer_code(l);
  }
  return s.layer_code(s.num_layers);
}

std::string SOIL_LAYER_PLACE(double x) {
  const SoilProfileRecord& s = SoilProfile;
  int layer = s.num_layers;
  for (int l = 1; l <= s.num_layers; ++l) {
    if (s.layer_bottom(l) > x) {
      layer = l;
      break;
    }
  }
  const int line = layer >= 1 && layer <= MAX_INPUT_SOIL_LAYERS ? InputLines.soil_layer(layer) : 0;
  return "SOIL LAYER " + std::to_string(layer) + " AT " + INPUT_PLACE(INPUT_SECTION_SOIL_LAYERS, line);
}

void SET_GENERATION_CAUSE(std::string_view cause) { SET_STATUS_DETAIL(cause); }

void WRITE_CURVE_WARNING(std::string_view text) {
  fio::write(UNIT_RESULTS_REPORT, WARNING_LAYOUT, text);
  fio::write(UNIT_RUN_LOG, WARNING_LAYOUT, text);
}

void CHECK_TRANSFER_INPUT(int q, bool axial, int& status) {
  const std::string set_item = "PROPERTY SET " + std::to_string(q);
  const int type = PileProperty.pile_type(q);
  if (type != PILE_DRIVEN && type != PILE_DRILLED) {
    REJECT_INPUT_VALUE(status, INPUT_SECTION_PROPERTY_SETS, set_item, type, "PILE TYPE NOT 1 OR 2");
    return;
  }
  const int n_inc = PileProperty.n_increments(q);
  if (n_inc < 1 || n_inc > TRANSFER_MAX_INCREMENTS) {
    REJECT_INPUT_VALUE(status, INPUT_SECTION_PROPERTY_SETS, set_item, n_inc, "INCREMENTS NOT 1 TO 200");
    return;
  }
  const int n_s = PileProperty.n_sections(q);
  for (int s = 1; s <= n_s; ++s) {
    const std::string item = set_item + ", SECTION " + std::to_string(s);
    if ((s == 1 || s == n_s) && !(PileSection.diameter(q, s) > 0.0)) {
      REJECT_INPUT_ITEM(status, INPUT_SECTION_PROPERTY_SETS, item, "DIAMETER IS NOT POSITIVE");
      return;
    }
    const double modulus = PileSection.modulus(q, s);
    if (axial && !(PileSection.area(q, s) * modulus > 0.0 && PileSection.area_bottom(q, s) * modulus > 0.0)) {
      REJECT_INPUT_ITEM(status, INPUT_SECTION_PROPERTY_SETS, item, "AXIAL RIGIDITY IS NOT POSITIVE");
      return;
    }
  }
  if (SoilProfile.num_layers < 1) {
    REJECT_INPUT_ITEM(status, INPUT_SECTION_SOIL_LAYERS, "SOIL LAYERS", "NONE GIVEN");
    return;
  }
  for (int l = 1; l <= SoilProfile.num_layers; ++l) {
    const int code = SoilProfile.layer_code(l);
    if (code < 0 || code > SOIL_CODE_COUNT) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_SOIL_LAYERS, "SOIL LAYER " + std::to_string(l), code,
                         "SOIL CODE NOT 0 TO 14");
      return;
    }
  }
}

std::unique_ptr<TransferModel> SETUP_TRANSFER_MODEL(int q, int p, bool axial) {
  auto m = std::make_unique<TransferModel>();
  FILL_TRANSFER_MODEL(*m, q, p, axial);
  return m;
}

void FILL_TRANSFER_MODEL(TransferModel& m, int q, int p, bool axial) {
  m.nodes.count = 0;
  m.q = q;
  m.p = p;
  m.pile_type = PileProperty.pile_type(q);
  m.n_inc = PileProperty.n_increments(q);
  m.head_depth = PileTable.head_depth(p);
  m.ground_line = m.head_depth + PileTable.ground(p);
  m.length = PileProperty.length(q);
  m.vertical_length = RunOptions.adjust_batter_depth == 1 ? m.length * std::cos(PileTable.batter(p)) : m.length;
  m.h = m.length / m.n_inc;
  m.h_v = m.vertical_length / m.n_inc;
  m.diameter = PileSection.diameter(q, 1);
  const int n_s = PileProperty.n_sections(q);
  m.n_bounds = 2 * n_s;
  for (int s = 1; s <= n_s; ++s) {
    const int top = 2 * s - 1, bottom = 2 * s;
    m.position(top) = s == 1 ? 0.0 : PileSection.bottom(q, s - 1);
    m.position(bottom) = PileSection.bottom(q, s);
    if (axial) {
      m.rigidity(top) = PileSection.area(q, s) * PileSection.modulus(q, s);
      m.rigidity(bottom) = PileSection.area_bottom(q, s) * PileSection.modulus(q, s);
    } else {
      m.rigidity(top) = PileSection.gj(q, s);
      m.rigidity(bottom) = PileSection.gj_bottom(q, s);
    }
    m.perimeter(top) = PileSection.perimeter(q, s);
    m.perimeter(bottom) = PileSection.perimeter_bottom(q, s);
  }
}

void BUILD_TZ_AT_DEPTH(const TransferModel& m, TzCurveSet& set, int k, double x, int code, int& status) {
  const int units = RunOptions.units;
  set.depth(k) = x;
  set.phi(k) = 0.0;
  const double z_g = x - m.ground_line;  // depth below the pile's ground line
  double tmax = SKIN_FRICTION_AT_DEPTH(x, status);
  if (status != STATUS_OK) return;
  if (z_g < 0.0) {
    code = 0;
    tmax = 0.0;
  } else if (code == 0) {
    tmax = 0.0;
  } else if (tmax < USER_VALUE_LIMIT) {
    const bool driven = m.pile_type == PILE_DRIVEN;
    const double z = driven && z_g < DEPTH_FLOOR ? 1.0 : z_g;
    const double gamma = AVG_UNIT_WEIGHT_ABOVE(x, status);
    if (status != STATUS_OK) return;
    const double phi = FRICTION_ANGLE_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    const double c = COHESION_AT_DEPTH(x, status);
    if (status != STATUS_OK) return;
    const double sand = driven_sand_friction(m, code, gamma, z, phi);
    tmax = SIDE_FRICTION_BY_RULES(code, m.pile_type, c, gamma, z, DEPTH_IN_FEET(z, units), sand, tmax, units);
  }
  if (z_g >= 0.0 && code != 0) {
    set.phi(k) = BPHI_AT_DEPTH(x, status) * DEGREES_PER_RADIAN_TZ;
    if (status != STATUS_OK) return;
  }
  set.code(k) = code;
  set.tmax(k) = tmax;
  FILL_TZ_CURVE(k, m.pile_type, code, m.diameter, set);
}

void PIN_CURVE_FRICTION(const TransferModel& m, TzCurveSet& set, int k) {
  set.tmax(k) = PINNED_FRICTION;
  FILL_TZ_CURVE(k, m.pile_type, set.code(k), m.diameter, set);
}

void BUILD_NODE_CURVES(TransferModel& m, int& status) {
  m.nodes.count = m.n_inc + 1;
  for (int i = 1; i <= m.nodes.count; ++i) {
    double x = m.head_depth + (i - 1) * m.h_v;
    for (int k = 1; k <= TZ_POINTS; ++k) m.nodes.t(i, k) = m.nodes.z(i, k) = 0.0;
    BUILD_TZ_AT_DEPTH(m, m.nodes, i, x, SOIL_CODE_AT_DEPTH(x), status);
    if (status != STATUS_OK) return;
  }
}

void LAYER_CURVE_DEPTHS(const TransferModel& m, TzCurveSet& set, int first) {
  const double step = RunOptions.units == UNITS_SI ? LAYER_STEP_METRES : LAYER_STEP_INCHES;
  const SoilProfileRecord& s = SoilProfile;
  for (int l = 1; l <= s.num_layers; ++l) {
    const int k = first + 3 * (l - 1);
    const double upper = (l == 1 ? m.ground_line : s.layer_top(l)) + step;
    set.depth(k) = upper;
    set.depth(k + 1) = (upper + s.layer_bottom(l)) / 2.0;
    set.depth(k + 2) = s.layer_bottom(l) - step;
    set.code(k) = set.code(k + 1) = set.code(k + 2) = s.layer_code(l);
  }
  set.count = first + 3 * s.num_layers - 1;
}

double FRICTION_ON_NODE_CURVES(const TzCurveSet& nodes, double d, double z) {
  const int n = nodes.count;
  if (d >= nodes.depth(n)) return curve_friction(nodes, n, z);
  int i = 1;
  while (d >= nodes.depth(i)) ++i;  // stops below n: depth(n) > d
  if (i == 1) return 0.0;
  const double upper = nodes.depth(i - 1);
  const double t_upper = curve_friction(nodes, i - 1, z);
  if (d == upper) return t_upper;
  const double t_lower = curve_friction(nodes, i, z);
  return t_upper + (t_lower - t_upper) * (d - upper) / (nodes.depth(i) - upper);
}

double BOUNDARY_VALUE(const TransferModel& m, const Array1<double, TRANSFER_BOUNDARIES>& values, double s) {
  int k = 2;
  if (s > m.position(2)) {
    k = 3;
    while (k <= m.n_bounds && s > m.position(k)) ++k;
    // Below the last section: its bottom value holds.
    if (k > m.n_bounds) return values(m.n_bounds);
  }
  const double span = m.position(k) - m.position(k - 1);
  if (span <= 0.0) return values(k);
  return values(k - 1) + (values(k) - values(k - 1)) * (s - m.position(k - 1)) / span;
}

bool MARCH_ELEMENTS(const TransferModel& m, double lever, double start_load, double start_move,
                    const MarchListing& listing, const MarchProfile* profile, double& head_load, double& head_move,
                    int* failed_element) {
  const double h = m.h;
  double bottom_load = start_load, bottom_move = start_move;
  double top_load = start_load, top_move = start_move;
  for (int e = 1; e <= m.n_inc; ++e) {
    const double s = m.length - h / 2.0 - (e - 1) * h;  // middle of the element along the pile
    const double d = m.head_depth + m.vertical_length - m.h_v / 2.0 - (e - 1) * m.h_v;
    const double perimeter = BOUNDARY_VALUE(m, m.perimeter, s);
    const double rigidity = BOUNDARY_VALUE(m, m.rigidity, s);
    double estimate = bottom_move;  // movement (or twist) at the middle
    bool settled = false;
    for (int pass = 1; pass <= TRANSFER_MAX_ELEMENT_ITERATIONS; ++pass) {
      const double t = FRICTION_ON_NODE_CURVES(m.nodes, d, lever * estimate);
      const double force = t * lever * h * perimeter;
      top_load = bottom_load + force;
      top_move = bottom_move + h * (bottom_load + force / 2.0) / rigidity;
      const double middle = bottom_move + (h / 4.0) * (bottom_load + (bottom_load + top_load) / 2.0) / rigidity;
      if (!(std::fabs(middle - estimate) > AXIAL_TRANSFER_TOLERANCE)) {
        settled = std::isfinite(middle);
        break;
      }
      estimate = middle;
    }
    if (!settled) {
      if (failed_element != nullptr) *failed_element = e;
      return false;
    }
    if (listing.unit != 0) {
      fio::write(listing.unit, MARCH_ROW_LAYOUT, e, m.length - (e - 1) * h, listing.sign * bottom_load,
                 listing.sign * bottom_move);
    }
    if (profile != nullptr) {
      // The lower node of element e (from the tip) is node n_inc + 2 - e, at row n_inc + 5 - e.
      const int row = m.n_inc + 5 - e;
      profile->movement[row - 1] = profile->sign * bottom_move;
      profile->load[row - 1] = profile->sign * bottom_load;
      if (e == m.n_inc) {
        profile->movement[NODE_ROW_OFFSET] = profile->sign * top_move;
        profile->load[NODE_ROW_OFFSET] = profile->sign * top_load;
      }
    }
    bottom_load = top_load;
    bottom_move = top_move;
  }
  if (listing.unit != 0) {
    fio::write(listing.unit, MARCH_ROW_LAYOUT, m.n_inc + 1, m.length - m.n_inc * h, listing.sign * top_load,
               listing.sign * top_move);
  }
  head_load = top_load;
  head_move = top_move;
  return true;
}

void MARCH_PILE(const TransferModel& m, double lever, double start_load, double start_move, const MarchListing& listing,
                std::string_view curve_tag, double& head_load, double& head_move, int& status) {
  int element = 0;
  if (!MARCH_ELEMENTS(m, lever, start_load, start_move, listing, nullptr, head_load, head_move, &element)) {
    std::string text("ELEMENT MOVEMENT DID NOT CONVERGE, ");
    text.append(curve_tag);
    WRITE_CURVE_WARNING(text);
    status = STATUS_GENERATION_NO_CONVERGENCE;
    const double middle = m.head_depth + m.vertical_length - m.h_v / 2.0 - (element - 1) * m.h_v;
    SET_GENERATION_CAUSE("ELEMENT " + std::to_string(element) + " FROM THE TIP, IN " + SOIL_LAYER_PLACE(middle));
  }
}

}  // namespace pilecap
