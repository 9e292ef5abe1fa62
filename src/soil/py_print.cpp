// TABLE N, the printed p-y curves: every print request is checked against
// its pile, the pile cap and the soil profile; a rejected one prints its
// message, an accepted one its header lines, and then node 1 of the pile is
// placed at the requested depth and the criterion of the soil layer there
// prints the curve's points through the p-y dispatch in curve generation. A
// compact copy of the requests goes to the plot-data file. Depths are
// vertical coordinates in model units; they print in feet or metres.
// Requests, piles, layers and nodes are 1-based.
#include <vector>

#include "base/check.hpp"
#include "base/fio.hpp"
#include "base/unit_labels.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

// Outcomes of the request checks (PyPrintRequest.status).
constexpr int REQUEST_GENERATED = 0;
constexpr int REQUEST_AT_CAP = 1;
constexpr int REQUEST_FURTHER_AT_CAP = 2;
constexpr int REQUEST_ABOVE_GROUND = 3;
constexpr int REQUEST_BELOW_TIP = 4;
constexpr int REQUEST_ABOVE_CAP = 5;
constexpr int REQUEST_ABOVE_HEAD = 6;

// A depth this little below the ground line counts as at the ground.
constexpr double GROUND_TOLERANCE = double(1e-6f);
// With this cap option only the first cap-level request is printed.
constexpr int CAP_OPTION_ONE_CURVE = 1;

constexpr const char* ECHO_HEADER_LAYOUT = "(/,/,5X,\"* GENERATED P-Y CURVES *\",/,/,5X,\"NUMBER OF CURVES  :\",I5)";
constexpr const char* PLOT_HEADER_LAYOUT = "(5X,\"* GENERATED P-Y CURVES *\",/,5X,I5)";
//     1    2   17
constexpr const char* PLOT_REQUEST_LAYOUT = "(I5,I5,I5)";

constexpr const char* FURTHER_AT_CAP_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"AT PILE CAP LEVEL, DEPTH  =\",F10.2,1X,A2,/,/,9X,\"CURVE NOT "
    "GENERATED SINCE ONLY ONE CURVE \",/,9X,\"AT PILE CAP LEVEL CAN BE PRINTED \")";
constexpr const char* ABOVE_GROUND_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,  \",F10.2,1X,A2,\",\",/,9X,\"IS ABOVE OR EQUAL TO THE SOIL GROUND \",\"FOR REQUIRED PILE, "
    "\",F10.2,1X,A2)";
constexpr const char* BELOW_TIP_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,  \",F10.2,1X,A2,\",\",/,9X,\"IS BELOW TIP OF REQUIRED PILE, \",F10.2,1X,A2)";
constexpr const char* ABOVE_CAP_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,  \",F10.2,1X,A2,\",\",/,9X,\"IS ABOVE TOP OF PILE CAP, \",F10.2,1X,A2)";
constexpr const char* ABOVE_HEAD_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,  \",F10.2,1X,A2,\",\",/,9X,\"IS ABOVE TOP OF REQUIRED PILE, \",F10.2,1X,A2)";
constexpr const char* SOIL_TOP_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,  \",F10.2,1X,A2,\",\",/,9X,\"IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP, \",F10.2,1X,A2)";
constexpr const char* SOIL_BOTTOM_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,     \",F10.2,1X,A2,\",\",/,9X,\"IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM, "
    "\",F10.2,1X,A2)";
constexpr const char* USER_SET_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE A USER DEFINED P-Y CURVE\",/,9X,\"IS SET FOR THIS PILE (\",I3,\")\")";
constexpr const char* USER_LAYER_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"CURVE NOT GENERATED "
    "SINCE REQUIRED DEPTH,     \",F10.2,1X,A2,\",\",/,9X,\"IS WITHIN LAYER \",I3,\", WHICH IS SET AS USER DEFINED P-Y "
    "CURVES\")";
//          DEPTH BELOW ORIGIN        =     10.00 FT
constexpr const char* CURVE_HEADER_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"PILE GROUP NUMBER         =\",I5,/,/,9X,\"DEPTH BELOW ORIGIN  "
    "      =\",F10.2,1X,A2,/,/,9X,\"NUMBER OF POINTS ON CURVE =\",I5)";
constexpr const char* CAP_CURVE_HEADER_LAYOUT =
    "(/,/,9X,\"CURVE NUMBER              =\",I5,/,/,9X,\"AT PILE CAP LEVEL, DEPTH  =\",F10.2,1X,A2,/,/,9X,\"NUMBER OF "
    "POINTS ON CURVE =\",I5)";

// The criterion labels of SoilCode 1 .. 14.
constexpr const char* CRITERION_LABELS[SOIL_CODE_COUNT] = {
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"SOFT CLAY CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"STIFF CLAY WITH FREE WATER CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"STIFF CLAY WITHOUT FREE WATER CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"SAND CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED BY INTERPOLATION \",\"BETWEEN USER-DEFINED P-Y CURVES\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"VUGGY LIMESTONE CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"SILT CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"API SAND CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"WEAK ROCK CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"STIFF CLAY W/O FREE WATER, WITH INITIAL K VALUE\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"LIQUEFIED SAND CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"ELASTIC SUBGRADE CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"SOFT CLAY WITH USER DEFINED J CRITERIA\")",
    "(/,9X,\"P-Y CURVE COMPUTED USING \",\"MOD. SOFT CLAY WITH INITIAL K VALUE CRITERIA\")",
};

// The values a request is checked with, for its pile P.
struct RequestFrame {
  int pile = 0;
  double d = 0.0;        // requested depth
  double head = 0.0;     // H, PileTable.head_depth
  double ground = 0.0;   // G, PileTable.ground
  double length = 0.0;   // L of the pile's property set
  double cap_top = 0.0;  // H - t
};

RequestFrame frame_of(int j) {
  RequestFrame f;
  f.pile = PyPrintRequest.pile(j);
  PILECAP_ASSERT(f.pile >= 1 && f.pile <= PileTable.n_piles, "a print request names a pile of the pile table");
  f.d = PyPrintRequest.depth(j);
  f.head = PileTable.head_depth(f.pile);
  f.ground = PileTable.ground(f.pile);
  f.length = PileProperty.length(PileTable.prop(f.pile));
  f.cap_top = f.head - CapGeometry.thickness_xx;
  return f;
}

// Steps 2 and 3: the status of every request; a later test overrides an
// earlier one, and with cap option 1 only the first cap-level request stays.
void check_requests(int n) {
  const int cap_option = RunOptions.cap_passive_option;
  for (int j = 1; j <= n; ++j) {
    const RequestFrame f = frame_of(j);
    int status = REQUEST_GENERATED;
    if (f.d - f.ground - f.head <= GROUND_TOLERANCE) status = REQUEST_ABOVE_GROUND;
    if (f.d > f.length + f.head) status = REQUEST_BELOW_TIP;
    if (cap_option < 1) {
      if (f.d <= f.head) status = REQUEST_ABOVE_HEAD;
    } else if (f.d <= f.cap_top) {
      status = REQUEST_ABOVE_CAP;
    }
    PyPrintRequest.status(j) = status;
  }
  if (cap_option < 1) return;
  int at_cap = 0;
  for (int j = 1; j <= n; ++j) {
    const RequestFrame f = frame_of(j);
    if (PyPrintRequest.status(j) != REQUEST_GENERATED || f.d < f.cap_top || f.d > f.head) continue;
    ++at_cap;
    PyPrintRequest.status(j) =
        cap_option == CAP_OPTION_ONE_CURVE && at_cap > 1 ? REQUEST_FURTHER_AT_CAP : REQUEST_AT_CAP;
  }
}

// Step 5a: node 1 of the pile at depth d, node 2 at its own distance below it.
void place_first_node(int pile, double d) {
  PileNodes.depth(pile, 2) = PileNodes.depth(pile, 2) + d - PileNodes.depth(pile, 1);
  PileNodes.depth(pile, 1) = d;
  PileNodes.axial_x(pile, 2) = PileNodes.axial_x(pile, 2) + d - PileNodes.axial_x(pile, 1);
  PileNodes.axial_x(pile, 1) = d;
}

// Step 5c: only the first layer whose bottom lies below d takes node 1
// (range 1 .. 1); every layer under it is left out. Nothing to range over
// without layers.
void set_layer_ranges(int pile, double d, int n_layers) {
  if (n_layers < 1) return;
  PileLayerData.last_node(pile, n_layers) = 1;
  int evaluation_layer = 0;
  for (int l = 1; l <= n_layers; ++l) {
    if (d < SoilProfile.layer_bottom(l)) {
      PileLayerData.first_node(pile, l) = 1;
      evaluation_layer = l;
      break;
    }
    PileLayerData.first_node(pile, l) = 0;
  }
  if (evaluation_layer == 0) return;
  for (int l = evaluation_layer; l <= n_layers - 1; ++l) {
    PileLayerData.last_node(pile, l) = 1;
    PileLayerData.first_node(pile, l + 1) = 0;
  }
}

// Step 5e: the first layer that holds d (0 when none does).
int label_layer(double d, int n_layers) {
  for (int l = 1; l <= n_layers; ++l) {
    if (SoilProfile.layer_top(l) <= d && d <= SoilProfile.layer_bottom(l)) return l;
  }
  return 0;
}

// The message of a rejected request; false when the curve is generated.
bool write_rejection(int j, const RequestFrame& f, int status, int n_layers, int user_layer) {
  const std::string_view unit = UnitLabels.length_large_short();
  const int pile = f.pile;
  const double d = FEET_FROM_INCHES(f.d);
  switch (status) {
    case REQUEST_FURTHER_AT_CAP:
      fio::write(UNIT_ECHO, FURTHER_AT_CAP_LAYOUT, j, d, unit);
      return true;
    case REQUEST_ABOVE_GROUND:
      fio::write(UNIT_ECHO, ABOVE_GROUND_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(f.ground + f.head), unit);
      return true;
    case REQUEST_BELOW_TIP:
      fio::write(UNIT_ECHO, BELOW_TIP_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(f.head + f.length), unit);
      return true;
    case REQUEST_ABOVE_CAP:
      fio::write(UNIT_ECHO, ABOVE_CAP_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(f.cap_top), unit);
      return true;
    case REQUEST_ABOVE_HEAD:
      fio::write(UNIT_ECHO, ABOVE_HEAD_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(f.head), unit);
      return true;
    default:
      break;
  }
  // Without layers the soil has no extent: its top and bottom are both the
  // ground surface of the profile.
  const double soil_top = SoilProfile.layer_top(1);
  const double soil_bottom = n_layers >= 1 ? SoilProfile.layer_bottom(n_layers) : soil_top;
  if (f.d <= soil_top) {
    fio::write(UNIT_ECHO, SOIL_TOP_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(soil_top), unit);
  } else if (f.d >= soil_bottom) {
    fio::write(UNIT_ECHO, SOIL_BOTTOM_LAYOUT, j, pile, d, unit, FEET_FROM_INCHES(soil_bottom), unit);
  } else if (PileTable.py_set(pile) >= 1 && RunOptions.user_py_curves >= 1) {
    fio::write(UNIT_ECHO, USER_SET_LAYOUT, j, pile, PileTable.py_set(pile));
  } else if (user_layer >= 1) {
    fio::write(UNIT_ECHO, USER_LAYER_LAYOUT, j, pile, d, unit, user_layer);
  } else {
    return false;
  }
  return true;
}

// Step 5i: the header and the criterion's own lines and points.
void generate_curve(int j, const RequestFrame& f, int status, int points, int label_code, int& word) {
  const std::string_view unit = UnitLabels.length_large_short();
  const double d = FEET_FROM_INCHES(f.d);
  if (status == REQUEST_AT_CAP) {
    fio::write(UNIT_ECHO, CAP_CURVE_HEADER_LAYOUT, j, d, unit, points);
  } else {
    fio::write(UNIT_ECHO, CURVE_HEADER_LAYOUT, j, f.pile, d, unit, points);
  }
  fio::write(UNIT_PLOT, PLOT_REQUEST_LAYOUT, j, f.pile, points);
  if (label_code >= 1 && label_code <= SOIL_CODE_COUNT) fio::write(UNIT_ECHO, CRITERION_LABELS[label_code - 1]);
  // Scratch node arrays to the tip, padded before the head (the dispatch
  // never touches the points above it); the criterion prints the curve, its
  // node outputs are not used.
  int pile = f.pile;
  int prop_set = PileTable.prop(pile);
  const int n_nodes = PileProperty.n_increments(prop_set) + 1;
  constexpr std::ptrdiff_t PADDING_BEFORE_HEAD = 2;
  const std::size_t size = static_cast<std::size_t>(n_nodes + PADDING_BEFORE_HEAD + 1);
  std::vector<double> y(size, 0.0), es(size, 0.0), move1(size, 0.0), move2(size, 0.0), es_move(size, 0.0), p(size, 0.0);
  const std::ptrdiff_t node_1 = PADDING_BEFORE_HEAD;
  SOIL_REACTION_AT_NODES(prop_set, word, pile, pile, y.data() + node_1, es.data() + node_1, move1.data() + node_1,
                         move2.data() + node_1, es_move.data() + node_1, p.data() + node_1);
}

}  // namespace

void PRINT_GENERATED_PY_CURVES(int& status) {
  const int n_layers = SoilLayerInput.count;
  SoilProfile.num_layers = n_layers;
  GeneratedPyCurve.active = 1;
  const int n = PyPrintRequest.count;
  if (n >= 1) check_requests(n);
  fio::write(UNIT_ECHO, ECHO_HEADER_LAYOUT, n);
  fio::write(UNIT_PLOT, PLOT_HEADER_LAYOUT, n);
  for (int j = 1; j <= n; ++j) {
    const RequestFrame f = frame_of(j);
    place_first_node(f.pile, f.d);
    GeneratedPyCurve.request = j;
    GeneratedPyCurve.num_points = PyPrintRequest.num_points(j);
    set_layer_ranges(f.pile, f.d, n_layers);
    const int layer = label_layer(f.d, n_layers);
    const int label_code = layer >= 1 ? SoilProfile.layer_code(layer) : 0;
    const int user_layer = label_code == SOIL_USER_PY ? layer : 0;
    const int points = PyPrintRequest.num_points(j) == 0 ? DEFAULT_PY_POINT_COUNT : PyPrintRequest.num_points(j);
    if (write_rejection(j, f, PyPrintRequest.status(j), n_layers, user_layer)) {
      fio::write(UNIT_PLOT, PLOT_REQUEST_LAYOUT, j, f.pile, 0);
      continue;
    }
    generate_curve(j, f, PyPrintRequest.status(j), points, label_code, status);
  }
}

}  // namespace pilecap
