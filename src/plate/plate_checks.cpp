// The checks of the plate data: CHECK1 on the counts, sizes and time data
// before any table is sized from them; CHECK2 on the mesh, the materials and
// the restraints after the records are read, with the largest front of the
// frontal solver (Irons' front-width count: an equation enters with the
// first element holding its node and leaves after the last). Diagnoses go to
// the listing (CHECK1 also to the convergence log and the console), followed
// by the rest of the data file; the failure ends the analysis with its status.
// Nodes, elements and restraint records count from 1.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "base/fio.hpp"
#include "plate/plate.hpp"

namespace pilecap {

PlateDiagnosisRecord PlateDiagnoses;

namespace {

constexpr int LEAST_NODES_PER_ELEMENT = 3;
constexpr int MOST_NODES_PER_ELEMENT = 9;
constexpr int LEAST_NODE_DOFS = 2;
constexpr int LEAST_PROPERTIES = 3;
constexpr int MOST_PROPERTIES = 5;
constexpr int MOST_DIMENSIONS = 3;
constexpr int LEAST_STRESSES = 2;
constexpr int MOST_PROBLEM_TYPE = 2;
constexpr int POST_DISASTER_WIDTH = 80;  // characters of a data line copied to the listing

// Errors of CHECK2 by their number.
constexpr int COINCIDENT_NODES = 13;
constexpr int BAD_MATERIAL = 14;
constexpr int ZERO_NODE = 15;
constexpr int NODE_OUT_OF_RANGE = 16;
constexpr int REPEATED_NODE = 17;
constexpr int NODE_NEVER_USED = 18;
constexpr int UNUSED_NODE_PLACED = 19;
constexpr int UNUSED_NODE_RESTRAINED = 20;
constexpr int FRONT_TOO_WIDE = 21;
constexpr int RESTRAINT_NODE_OUT_OF_RANGE = 22;
constexpr int RESTRAINT_WITHOUT_CODE = 23;
constexpr int RESTRAINT_REPEATED = 24;

//
//
//  *** DIAGNOSIS BY CHECK1, ERROR  2
constexpr const char* CHECK1_DIAGNOSIS_LAYOUT = "(/,/,\" *** DIAGNOSIS BY CHECK1, ERROR\",I3)";
//
//
//  *** DIAGNOSIS BY CHECK2, ERROR 18       ASSOCIATED NUMBER    1
constexpr const char* CHECK2_DIAGNOSIS_LAYOUT =
    "(/,/,\" *** DIAGNOSIS BY CHECK2, ERROR\",I3,6X,\" ASSOCIATED NUMBER\",I5)";
//
//  CHECK WHY NODE   5 NEVER APPEARS
constexpr const char* NEVER_APPEARS_LAYOUT = "(/,\" CHECK WHY NODE\",I4,\" NEVER APPEARS\")";
//
//
//  MAXIMUM FRONTWIDTH ENCOUNTERED =   48
constexpr const char* FRONT_WIDTH_LAYOUT = "(/,/,\" MAXIMUM FRONTWIDTH ENCOUNTERED =\",I5)";
//
//
//  NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS
//
constexpr const char* POST_DISASTER_HEADING_LAYOUT = "(/,/,\" NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS\",/)";
//      2      1      1      1      3     13     11      2      7     10      6
constexpr const char* POST_DISASTER_LINE_LAYOUT = "(5X,A80)";

bool above_capacity(int count) { return count > PLATE_COUNT_CAPACITY; }

void set_check1_errors() {
  const PlateControlRecord& c = PlateControl;
  Array1<int, PLATE_DIAGNOSES>& n = PlateDiagnoses.counts;
  // Products in 64 bits: the counts are not yet known to be small.
  const long long node_places = static_cast<long long>(c.NELEM) * c.NNODE;
  n(1) = c.NPOIN <= 0;
  n(2) = c.NPOIN > node_places;
  n(3) = c.NVFIX < 0 || c.NVFIX > c.NPOIN;
  n(4) = c.NCASE <= 0;
  n(5) = c.NTYPE < 0 || c.NTYPE > MOST_PROBLEM_TYPE;
  n(6) = c.NNODE < LEAST_NODES_PER_ELEMENT || c.NNODE > MOST_NODES_PER_ELEMENT;
  n(7) = c.NDOFN < LEAST_NODE_DOFS || c.NDOFN > PLATE_NODE_DOFS;
  n(8) = c.NMATS <= 0 || c.NMATS > c.NELEM;
  n(9) = c.NPROP < LEAST_PROPERTIES || c.NPROP > MOST_PROPERTIES;
  n(10) = c.NGAUS < 1 || c.NGAUS > PLATE_MAX_GAUSS;
  n(11) = c.NDIME < 1 || c.NDIME > MOST_DIMENSIONS;
  n(12) = c.NSTRE < LEAST_STRESSES || c.NSTRE > PLATE_STRESS_COMPONENTS;
  // The stepping never ends with a step that does not advance or a step
  // that is halved for ever; read values are always finite.
  n(PLATE_ERROR_TIME_STEP) = !(c.DT > 0.0);
  n(PLATE_ERROR_MINIMUM_STEP) = !(c.DTMIN > 0.0);
  n(PLATE_ERROR_END_TIME) = c.TEND < c.TINI;
  const int counts[] = {c.NPOIN,  c.NELEM,  c.NMATS, c.NVFIX, c.NNLOD,           c.NNSTI,
                        c.NDLOD,  c.NDSTI,  c.NCLOD, c.NCSTI, c.edge_load_count, c.edge_stiffness_count,
                        c.NCTSTI, c.MAXITER};
  n(PLATE_ERROR_CAPACITY) = std::any_of(std::begin(counts), std::end(counts), above_capacity);
}

// The numbers of the errors in first..last that were found, for the detail line.
std::string error_list(int first, int last) {
  std::string list;
  for (int error = first; error <= last; ++error) {
    if (PlateDiagnoses.counts(error) == 0) continue;
    list.push_back(' ');
    list.append(std::to_string(error));
  }
  return list;
}

// Pairs of equal values: sorted, every group of k equal ones makes k(k-1)/2
// pairs. The count is kept within an int.
template <class T>
int equal_pairs(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  long long pairs = 0;
  for (std::size_t first = 0; first < values.size();) {
    std::size_t end = first + 1;
    while (end < values.size() && values[end] == values[first]) ++end;
    const long long group = static_cast<long long>(end - first);
    pairs += group * (group - 1) / 2;
    first = end;
  }
  return static_cast<int>(std::min<long long>(pairs, std::numeric_limits<int>::max()));
}

// Pairs of nodes at exactly the same place (read coordinates are finite).
int coincident_node_pairs() {
  std::vector<std::pair<double, double>> places;
  for (int n = 1; n <= PlateControl.NPOIN; ++n) {
    places.emplace_back(PlateModel.node_coordinates(n, 1), PlateModel.node_coordinates(n, 2));
  }
  return equal_pairs(std::move(places));
}

// Errors 14 to 20 and the largest front, from one pass over the elements:
// where every node enters (its first element) and leaves (after its last).
int count_mesh_errors() {
  const PlateControlRecord& c = PlateControl;
  const PlateModelRecord& m = PlateModel;
  Array1<int, PLATE_DIAGNOSES>& n = PlateDiagnoses.counts;
  std::vector<int> first_element(static_cast<std::size_t>(c.NPOIN) + 1, 0);
  std::vector<int> last_element(static_cast<std::size_t>(c.NPOIN) + 1, 0);
  std::vector<int> front_changes(static_cast<std::size_t>(c.NELEM) + 2, 0);
  for (int e = 1; e <= c.NELEM; ++e) {
    const int material = m.element_materials(e);
    if (material < 1 || material > c.NMATS) ++n(BAD_MATERIAL);
    for (int p = 1; p <= c.NNODE; ++p) {
      const int node = m.element_nodes(e, p);
      if (node == 0) ++n(ZERO_NODE);
      if (node < 0 || node > c.NPOIN) ++n(NODE_OUT_OF_RANGE);
      if (node < 1 || node > c.NPOIN) continue;
      bool repeated = false;
      for (int q = 1; q < p && !repeated; ++q) repeated = m.element_nodes(e, q) == node;
      if (repeated) {
        ++n(REPEATED_NODE);
        continue;
      }
      if (first_element[node] == 0) {
        first_element[node] = e;
        front_changes[e] += c.NDOFN;
      }
      last_element[node] = e;
    }
  }
  std::vector<int> restraints_of_node(static_cast<std::size_t>(c.NPOIN) + 1, 0);
  for (int v = 1; v <= c.NVFIX; ++v) {
    const int node = m.restrained_nodes(v);
    if (node >= 1 && node <= c.NPOIN) ++restraints_of_node[node];
  }
  for (int node = 1; node <= c.NPOIN; ++node) {
    if (first_element[node] == 0) {
      fio::write(UNIT_PLATE_LISTING, NEVER_APPEARS_LAYOUT, node);
      ++n(NODE_NEVER_USED);
      const double distance = std::fabs(m.node_coordinates(node, 1)) + std::fabs(m.node_coordinates(node, 2));
      if (distance > PLATE_PIVOT_NEGLIGIBLE) ++n(UNUSED_NODE_PLACED);
      n(UNUSED_NODE_RESTRAINED) += restraints_of_node[node];
    } else if (last_element[node] < c.NELEM) {
      front_changes[last_element[node] + 1] -= c.NDOFN;
    }
  }
  int active = 0;
  int largest = 0;
  for (int e = 1; e <= c.NELEM; ++e) {
    active += front_changes[e];
    largest = std::max(largest, active);
  }
  return largest;
}

void count_restraint_errors() {
  const PlateControlRecord& c = PlateControl;
  const PlateModelRecord& m = PlateModel;
  Array1<int, PLATE_DIAGNOSES>& n = PlateDiagnoses.counts;
  std::vector<int> nodes;
  for (int v = 1; v <= c.NVFIX; ++v) {
    const int node = m.restrained_nodes(v);
    nodes.push_back(node);
    if (node < 1 || node > c.NPOIN) ++n(RESTRAINT_NODE_OUT_OF_RANGE);
    bool restrained = false;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) restrained = restrained || m.restraint_codes(v, d) > 0;
    if (!restrained) ++n(RESTRAINT_WITHOUT_CODE);
  }
  n(RESTRAINT_REPEATED) = equal_pairs(std::move(nodes));
}

}  // namespace

void PLATE_DATA_FAILURE(std::string_view detail, int& status) {
  fio::write(UNIT_PLATE_LISTING, POST_DISASTER_HEADING_LAYOUT);
  std::string line;
  while (fio::read_line(UNIT_PLATE_DATA, line, POST_DISASTER_WIDTH) == fio::IO_OK) {
    fio::write(UNIT_PLATE_LISTING, POST_DISASTER_LINE_LAYOUT, line);
  }
  FAIL_PLATE(status, detail);
}

void CHECK1(int& status) {
  PlateDiagnoses.counts.fill(0);
  set_check1_errors();
  bool failed = false;
  for (int error = 1; error <= PLATE_DIAGNOSES; ++error) {
    const bool check1_error =
        error <= PLATE_CHECK1_LAST || (error >= PLATE_ERROR_TIME_STEP && error <= PLATE_ERROR_CAPACITY);
    if (!check1_error || PlateDiagnoses.counts(error) == 0) continue;
    for (int unit : {UNIT_PLATE_CONVERGENCE_LOG, UNIT_PLATE_LISTING, UNIT_PLATE_CONSOLE}) {
      fio::write(unit, CHECK1_DIAGNOSIS_LAYOUT, error);
    }
    failed = true;
  }
  if (!failed) return;
  PLATE_DATA_FAILURE("    PLATE DATA REJECTED BY CHECK1, ERRORS" + error_list(1, PLATE_ERROR_CAPACITY), status);
}

void CHECK2(int& status) {
  PlateControlRecord& c = PlateControl;
  Array1<int, PLATE_DIAGNOSES>& n = PlateDiagnoses.counts;
  for (int error = PLATE_CHECK2_FIRST; error <= PLATE_CHECK2_LAST; ++error) n(error) = 0;
  c.front_size = PLATE_FRONT_DEFAULT;
  n(COINCIDENT_NODES) = coincident_node_pairs();
  const int largest = count_mesh_errors();
  fio::write(UNIT_PLATE_LISTING, FRONT_WIDTH_LAYOUT, largest);
  if (largest > PLATE_FRONT_DEFAULT) c.front_size = largest + 1;
  if (largest > c.front_size) n(FRONT_TOO_WIDE) = 1;
  count_restraint_errors();
  bool failed = false;
  for (int error = PLATE_CHECK2_FIRST; error <= PLATE_CHECK2_LAST; ++error) {
    if (n(error) == 0) continue;
    fio::write(UNIT_PLATE_LISTING, CHECK2_DIAGNOSIS_LAYOUT, error, n(error));
    failed = true;
  }
  if (!failed) return;
  PLATE_DATA_FAILURE("    PLATE DATA REJECTED BY CHECK2, ERRORS" + error_list(PLATE_CHECK2_FIRST, PLATE_CHECK2_LAST),
                     status);
}

}  // namespace pilecap
