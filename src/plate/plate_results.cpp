// The results of a converged plate step: nodal displacements and reactions
// on the listing; stresses at the sampling points (membrane stresses D_m B_m
// u_m, moments and shear forces per unit length D_b B_b u_b, from each
// element's stress-recovery data) with the plate's extremes; and the step's
// block of the step results file, with the stresses averaged at the nodes by
// inverse-square distance weights of the sampling points around each node.
// Nodes and elements count from 1; listing rows show internal node numbers,
// the step results file node labels.
#include <array>

#include "base/fio.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

using StressVector = std::array<double, PLATE_STRESS_COMPONENTS>;

//    STEP =    1   TIME =    1.0000
constexpr const char* STEP_HEADING_LAYOUT = "(\"   STEP =\",I5,\"   TIME =\",F10.4)";
//
//       DISPLACEMENTS
//
//       NODE     X-DISP        Y-DISP       Z-DISP        XZ-ROT.       YZ-ROT.       Z-ROT
constexpr const char* DISPLACEMENT_HEADING_LAYOUT =
    "(/,1X,5X,\"DISPLACEMENTS\",/,/,1X,5X,\"NODE\",5X,\"X-DISP\",8X,\"Y-DISP\",7X,\"Z-DISP\",8X,\"XZ-ROT.\",7X,"
    "\"YZ-ROT.\",7X,\"Z-ROT\")";
//
//       REACTIONS
//
//       NODE    X-FORCE       Y-FORCE       Z-FORCE      XZ-MOMENT      YZ-MOMENT     Z-MOMENT
constexpr const char* REACTION_HEADING_LAYOUT =
    "(/,1X,5X,\"REACTIONS\",/,/,1X,5X,\"NODE\",4X,\"X-FORCE\",7X,\"Y-FORCE\",7X,\"Z-FORCE\",6X,\"XZ-MOMENT\",6X,"
    "\"YZ-MOMENT\",5X,\"Z-MOMENT\")";
//          1  0.000000E+00  0.000000E+00 -0.123456E-02  0.000000E+00  0.000000E+00  0.000000E+00
constexpr const char* NODE_VALUES_LAYOUT = "(I10,6E14.6)";
//
//           STRESSES
//
//
//  G,P.  X-COORD.  Y-COORD.   SIGMA_XX    SIGMA_YY    SIGMA_XY   X-MOMENT    Y-MOMENT   XY-MOMENT  XZ-S,FORCE
//  YZ-S,FORCE
constexpr const char* STRESS_HEADING_LAYOUT =
    "(/,10X,\"STRESSES\",/,/,/,1X,\"G,P.\",2X,\"X-COORD.\",2X,\"Y-COORD.\",3X,\"SIGMA_XX\",4X,\"SIGMA_YY\",4X,"
    "\"SIGMA_XY\",3X,\"X-MOMENT\",4X,\"Y-MOMENT\",3X,\"XY-MOMENT\",2X,\"XZ-S,FORCE\",2X,\"YZ-S,FORCE\")";
//
//      ELEMENT NO.=    1
constexpr const char* ELEMENT_HEADING_LAYOUT = "(/,5X,\"ELEMENT NO.=\",I5)";
//     1    0.5283    0.5283  0.00000E+00  0.00000E+00  0.00000E+00  0.41235E+01  0.41235E+01  0.00000E+00 -0.12E+01 ...
constexpr const char* SAMPLING_POINT_LAYOUT = "(I5,2F10.4,8E13.5)";
//
//           MAXIMUM STRESSES
//
//                             SIGMA_XX    SIGMA_YY    SIGMA_XY   X-MOMENT    Y-MOMENT   XY-MOMENT  XZ-S,FORCE
//                             YZ-S,FORCE
constexpr const char* EXTREMES_HEADING_LAYOUT =
    "(/,10X,A,/,/,28X,\"SIGMA_XX\",4X,\"SIGMA_YY\",4X,\"SIGMA_XY\",3X,\"X-MOMENT\",4X,\"Y-MOMENT\",3X,\"XY-MOMENT\",2X,"
    "\"XZ-S,FORCE\",2X,\"YZ-S,FORCE\")";
//           STRESS          0.00000E+00  0.00000E+00 ...
//           ELEM.               1           1 ...
//           IP                  1           1 ...
constexpr const char* EXTREME_VALUES_LAYOUT = "(10X,\"STRESS\",9X,8E13.5)";
constexpr const char* EXTREME_ELEMENTS_LAYOUT = "(10X,\"ELEM. \",9X,I6,7I12)";
constexpr const char* EXTREME_POINTS_LAYOUT = "(10X,\"IP    \",9X,I6,7I12)";
// STEP_DATA
// 14
// UX UY UZ ROTX ROTY ROTZ SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ
constexpr const char* STEP_RESULTS_HEADING_LAYOUT =
    "(\"STEP_DATA\",/,\"14\",/,\"UX UY UZ ROTX ROTY ROTZ \",\"SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ\")";
// STEP       1
constexpr const char* STEP_RESULTS_STEP_LAYOUT = "(\"STEP\",I8)";
//     1  0.0000E+00  0.0000E+00 -0.1234E-02 ...
constexpr const char* STEP_RESULTS_NODE_LAYOUT = "(I5,14E12.4)";

// The extremes of the eight stress components over the plate.
struct StressExtremes {
  StressVector maximum{}, minimum{};
  std::array<int, PLATE_STRESS_COMPONENTS> maximum_element{}, minimum_element{};
  std::array<int, PLATE_STRESS_COMPONENTS> maximum_point{}, minimum_point{};
};

// The stresses at sampling point k of element e for the converged displacements.
StressVector sampling_point_stresses(int element, int k) {
  const PlateElementRecord& record = PlateModel.element_records(element);
  StressVector stress{};
  for (int p = 1; p <= PlateControl.NNODE; ++p) {
    const int node = PlateModel.element_nodes(element, p);
    for (int c = 1; c <= PLATE_MEMBRANE_DOFS_PER_NODE; ++c) {
      const double u = PlateModel.ASDIS(PLATE_EQUATION(node, c));
      const int column = PLATE_MEMBRANE_DOFS_PER_NODE * (p - 1) + c;
      for (int r = 1; r <= PLATE_MEMBRANE_TERMS; ++r)
        stress[r - 1] += record.membrane_stress_matrices(k)(r, column) * u;
    }
    for (int c = 1; c <= PLATE_PLATE_DOFS_PER_NODE; ++c) {
      const double u = PlateModel.ASDIS(PLATE_EQUATION(node, PLATE_MEMBRANE_DOFS_PER_NODE + c));
      const int column = PLATE_PLATE_DOFS_PER_NODE * (p - 1) + c;
      for (int r = 1; r <= PLATE_BENDING_TERMS; ++r) {
        stress[PLATE_MEMBRANE_TERMS + r - 1] += record.bending_stress_matrices(k)(r, column) * u;
      }
    }
  }
  return stress;
}

// A later point replaces an extreme only when it passes it; the first point
// of the plate starts them.
void update_extremes(StressExtremes& x, const StressVector& stress, int label, int k, bool first) {
  for (int s = 0; s < PLATE_STRESS_COMPONENTS; ++s) {
    if (first || stress[s] > x.maximum[s]) {
      x.maximum[s] = stress[s];
      x.maximum_element[s] = label;
      x.maximum_point[s] = k;
    }
    if (first || stress[s] < x.minimum[s]) {
      x.minimum[s] = stress[s];
      x.minimum_element[s] = label;
      x.minimum_point[s] = k;
    }
  }
}

void write_extremes(const char* title, const StressVector& values,
                    const std::array<int, PLATE_STRESS_COMPONENTS>& elements,
                    const std::array<int, PLATE_STRESS_COMPONENTS>& points) {
  fio::write(UNIT_PLATE_LISTING, EXTREMES_HEADING_LAYOUT, title);
  fio::write(UNIT_PLATE_LISTING, EXTREME_VALUES_LAYOUT, values);
  fio::write(UNIT_PLATE_LISTING, EXTREME_ELEMENTS_LAYOUT, elements);
  fio::write(UNIT_PLATE_LISTING, EXTREME_POINTS_LAYOUT, points);
}

// The six values of node n in a vector indexed by equation.
std::array<double, PLATE_NODE_DOFS> node_values(const Table1<double>& vector, int node) {
  std::array<double, PLATE_NODE_DOFS> values{};
  for (int d = 1; d <= PLATE_NODE_DOFS; ++d) values[d - 1] = vector(PLATE_EQUATION(node, d));
  return values;
}

// A sampling point on the node (the centre node of a 9-node element under an
// odd rule) has an infinite inverse-square weight: such a node takes the
// mean of the points on it alone.
void add_to_node_average(int node, double x, double y, const StressVector& stress) {
  PlateModelRecord& m = PlateModel;
  const double dx = m.node_coordinates(node, 1) - x;
  const double dy = m.node_coordinates(node, 2) - y;
  const double squared_distance = dx * dx + dy * dy;
  if (squared_distance == 0.0) {
    ++m.on_node_point_counts(node);
    for (int s = 1; s <= PLATE_STRESS_COMPONENTS; ++s) m.on_node_stress_sums(node, s) += stress[s - 1];
    return;
  }
  const double weight = 1 / squared_distance;
  for (int s = 1; s <= PLATE_STRESS_COMPONENTS; ++s) m.nodal_stress_sums(node, s) += weight * stress[s - 1];
  m.nodal_weight_sums(node) += weight;
}

void write_step_results() {
  const PlateControlRecord& c = PlateControl;
  const PlateModelRecord& m = PlateModel;
  if (c.STEP == 1) fio::write(UNIT_PLATE_STEP_RESULTS, STEP_RESULTS_HEADING_LAYOUT);
  fio::write(UNIT_PLATE_STEP_RESULTS, STEP_RESULTS_STEP_LAYOUT, c.STEP);
  for (int n = 1; n <= c.NPOIN; ++n) {
    StressVector average{};
    for (int s = 1; s <= PLATE_STRESS_COMPONENTS; ++s) {
      if (m.on_node_point_counts(n) > 0) {
        average[s - 1] = m.on_node_stress_sums(n, s) / m.on_node_point_counts(n);
      } else if (m.nodal_weight_sums(n) > 0.0) {  // every node of the checked mesh has sampling points around it
        average[s - 1] = m.nodal_stress_sums(n, s) / m.nodal_weight_sums(n);
      }
    }
    fio::write(UNIT_PLATE_STEP_RESULTS, STEP_RESULTS_NODE_LAYOUT, m.node_labels(n), node_values(m.ASDIS, n), average);
  }
}

}  // namespace

void WRITE_PLATE_REACTIONS() {
  const PlateControlRecord& c = PlateControl;
  fio::write(UNIT_PLATE_LISTING, STEP_HEADING_LAYOUT, c.STEP, c.TCUR);
  fio::write(UNIT_PLATE_LISTING, DISPLACEMENT_HEADING_LAYOUT);
  for (int n = 1; n <= c.NPOIN; ++n)
    fio::write(UNIT_PLATE_LISTING, NODE_VALUES_LAYOUT, n, node_values(PlateModel.ASDIS, n));
  fio::write(UNIT_PLATE_LISTING, REACTION_HEADING_LAYOUT);
  for (int n = 1; n <= c.NPOIN; ++n) {
    fio::write(UNIT_PLATE_LISTING, NODE_VALUES_LAYOUT, n, node_values(PlateModel.nodal_reactions, n));
  }
}

void WRITE_PLATE_STRESSES() {
  const PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  fio::write(UNIT_PLATE_LISTING, STRESS_HEADING_LAYOUT);
  for (int n = 1; n <= c.NPOIN; ++n) {
    for (int s = 1; s <= PLATE_STRESS_COMPONENTS; ++s) m.nodal_stress_sums(n, s) = m.on_node_stress_sums(n, s) = 0.0;
    m.nodal_weight_sums(n) = 0.0;
    m.on_node_point_counts(n) = 0;
  }
  StressExtremes extremes;
  for (int e = 1; e <= c.NELEM; ++e) {
    const int label = m.element_labels(e);
    fio::write(UNIT_PLATE_LISTING, ELEMENT_HEADING_LAYOUT, label);
    const auto& points = m.element_records(e).sampling_point_coordinates;
    for (int k = 1; k <= c.NGAUS * c.NGAUS; ++k) {
      const StressVector stress = sampling_point_stresses(e, k);
      fio::write(UNIT_PLATE_LISTING, SAMPLING_POINT_LAYOUT, k, points(1, k), points(2, k), stress);
      update_extremes(extremes, stress, label, k, e == 1 && k == 1);
      for (int p = 1; p <= c.NNODE; ++p) add_to_node_average(m.element_nodes(e, p), points(1, k), points(2, k), stress);
    }
  }
  write_extremes("MAXIMUM STRESSES", extremes.maximum, extremes.maximum_element, extremes.maximum_point);
  write_extremes("MINIMUM STRESSES", extremes.minimum, extremes.minimum_element, extremes.minimum_point);
  write_step_results();
}

}  // namespace pilecap
