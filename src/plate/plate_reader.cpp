// The plate data file, read list-directed record by record (a record may run
// over several lines; a read starts on a new line): title, counts and time
// data, then elements, nodes, restraints, materials, loads and springs of
// every kind and the pile points, each echoed to the listing. A record is
// stored at the node, element or material its number names, so every such
// number is checked before it is used; a record that names nothing, a point
// that lies in no element and a file that ends early are rejected with a
// diagnosis. Records, nodes and elements count from 1.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr int COUNT_FIELDS = 16;  // the counts record
constexpr int TITLE_FIELDS = 12;  // the title: twelve fields of six characters
constexpr int TITLE_FIELD_WIDTH = 6;

// ------------------------------------------------------------------ layouts

// TEST PLATE
constexpr const char* TITLE_LAYOUT = "(12A6)";
// The plate data the engine writes are in its working units; the listing
// says which, so that its numbers can be read without the data file.
//  UNITS: LENGTHS IN, ROTATIONS RAD, FORCES LB, SIGMA LB/IN**2, PLATE MOMENTS LB-IN/IN, SHEAR FORCES LB/IN
constexpr const char* UNITS_ENGLISH_LAYOUT =
    "(\" UNITS: LENGTHS IN, ROTATIONS RAD, FORCES LB, MOMENTS LB-IN, SIGMA LB/IN**2, PLATE MOMENTS LB-IN/IN,"
    " SHEAR FORCES LB/IN\")";
constexpr const char* UNITS_SI_LAYOUT =
    "(\" UNITS: LENGTHS M, ROTATIONS RAD, FORCES KN, MOMENTS KN-M, SIGMA KN/M**2, PLATE MOMENTS KN-M/M,"
    " SHEAR FORCES KN/M\")";
//
//
//  NPOIN =  21     NELEM =   4     NVFIX =  21     NCASE =   1     NTYPE =   0     NNODE =   8     NDOFN =   6
//
//  NMATS =   1     NPROP =   3     NGAUS =   2     NDIME =   2     NSTRE =   8     NEVAB =  48
//
//  NNLOD =   0     NNSTI =   0     NDLOD =   4     NDSTI =   0     NCLOD =   0     NCSTI =   0 NCTSTI =   0
//
//     DT =    1.0000      TINI =    0.0000      TEND  =    1.0000      DTMIN =    0.1000      MAXITER =   10
constexpr const char* CONTROL_SIZES_LAYOUT =
    "(/,/,\" NPOIN =\",I4,4X,\" NELEM =\",I4,4X,\" NVFIX =\",I4,4X,\" NCASE =\",I4,4X,\" NTYPE =\",I4,4X,"
    "\" NNODE =\",I4,4X,\" NDOFN =\",I4,/,/,\" NMATS =\",I4,4X,\" NPROP =\",I4,4X,\" NGAUS =\",I4,4X,"
    "\" NDIME =\",I4,4X,\" NSTRE =\",I4,4X,\" NEVAB =\",I4)";
constexpr const char* CONTROL_LOADS_LAYOUT =
    "(/,\" NNLOD =\",I4,4X,\" NNSTI =\",I4,4X,\" NDLOD =\",I4,4X,\" NDSTI =\",I4,4X,\" NCLOD =\",I4,4X,"
    "\" NCSTI =\",I4,\" NCTSTI =\",I4)";
constexpr const char* CONTROL_TIME_LAYOUT =
    "(/,\"    DT =\",F10.4,4X,\"  TINI =\",F10.4,4X,\" TEND  =\",F10.4,4X,\" DTMIN =\",F10.4,4X,\" MAXITER =\",I5)";
//
//
//  ELEMENT   PROPERTY      NODE NUMBERS
//        1       1       1       3      13      11       2       8      12       7
constexpr const char* ELEMENT_HEADING_LAYOUT = "(/,/,\" ELEMENT\",3X,\"PROPERTY\",6X,\"NODE NUMBERS\")";
constexpr const char* ELEMENT_ROW_LAYOUT = "(12I8)";
//
//
//    NODAL POINT COORDINATES
//      NODE          X            Y
//         1       0.0000       0.0000
constexpr const char* NODE_HEADING_LAYOUT = "(/,/,\"   NODAL POINT COORDINATES\",/,\"     NODE\",10X,\"X\",12X,\"Y\")";
constexpr const char* NODE_ROW_LAYOUT = "(1X,I8,F13.4,F13.4)";
//
//
//  RESTRAINED NODES
//     NODF  CODF       FIXED VALUES
//        1  111001  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* RESTRAINT_HEADING_LAYOUT =
    "(/,/,\" RESTRAINED NODES\",/,\"    NODF\",1X,\" CODF \",6X,\"FIXED VALUES\")";
constexpr const char* RESTRAINT_ROW_LAYOUT = "(1X,I7,2X,6I1,6E13.5)";
//
//
//   MATERIAL PROPERTIES
//   NUMBER       YOUNG MODULUS POISSON RATIO   THICKNESS
//      1        0.100000E+08  0.300000E+00  0.100000E+00
constexpr const char* MATERIAL_HEADING_LAYOUT =
    "(/,/,\"  MATERIAL PROPERTIES\",/,\"  NUMBER\",7X,\"YOUNG MODULUS POISSON RATIO\",\"   THICKNESS   \")";
constexpr const char* MATERIAL_ROW_LAYOUT = "(1X,I5,7X,3E14.6)";
//
//
//  NODAL LOADS
//     NODE,           VALUES
//       13  0.00000E+00  0.00000E+00  0.10000E+03  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* NODE_RECORD_HEADING_LAYOUT = "(/,/,A,/,\"    NODE,\",6X,\"     VALUES\")";
//
//
//  DISTRIBUTED LOADS
//   ELEMENT           VALUES
//        1  0.00000E+00  0.00000E+00  0.10000E+01  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* ELEMENT_RECORD_HEADING_LAYOUT = "(/,/,A,/,\"  ELEMENT\",6X,\"     VALUES\")";
constexpr const char* VALUES_ROW_LAYOUT = "(1X,I7,2X,6E13.5)";
//
//
//  CONCENTRATED LOADS
//      X        Y            VALUES
//      1.5000    0.5000  0.00000E+00  0.00000E+00  0.10000E+03  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* POINT_HEADING_LAYOUT = "(/,/,A,/,\"     X        Y \",6X,\"     VALUES\")";
constexpr const char* POINT_ROW_LAYOUT = "(1X,F10.4,F10.4,2X,6E13.5)";
//
//
//  EDGE LOADS
//    ELEM    SIDE    DOF             VALUES
//       1       1       3  0.10000E+01  0.10000E+01  0.10000E+01
constexpr const char* EDGE_HEADING_LAYOUT = "(/,/,A,/,\"   ELEM    SIDE    DOF  \",6X,\"     VALUES\")";
constexpr const char* EDGE_ROW_LAYOUT = "(3I8,2X,3E13.5)";
//
//
//  CONCENTRATED TOTAL STIFFNESSES
//        X          Y
//      1.5000    0.5000
constexpr const char* PILE_HEADING_LAYOUT = "(/,/,\" CONCENTRATED TOTAL STIFFNESSES\",/,\"       X          Y \")";
constexpr const char* PILE_ROW_LAYOUT = "(1X,F10.4,F10.4)";
//
//
//  *** DIAGNOSIS BY READ_PLATE_DATA, ERROR 29      ASSOCIATED NUMBER    3
//     ELEMENT RECORD 3 NAMES ELEMENT 17, OUTSIDE 1 TO 4
constexpr const char* READER_DIAGNOSIS_LAYOUT =
    "(/,/,\" *** DIAGNOSIS BY READ_PLATE_DATA, ERROR\",I3,6X,\" ASSOCIATED NUMBER\",I5,/,A)";

constexpr const char* NODAL_LOADS_TITLE = " NODAL LOADS";
constexpr const char* NODAL_STIFFNESSES_TITLE = " NODAL STIFFNESSES";
constexpr const char* DISTRIBUTED_LOADS_TITLE = " DISTRIBUTED LOADS";
constexpr const char* DISTRIBUTED_STIFFNESSES_TITLE = " DISTRIBUTED STIFFNESSES";
constexpr const char* CONCENTRATED_LOADS_TITLE = " CONCENTRATED LOADS";
constexpr const char* CONCENTRATED_STIFFNESSES_TITLE = " CONCENTRATED STIFFNESSES";
constexpr const char* EDGE_LOADS_TITLE = " EDGE LOADS";
constexpr const char* EDGE_STIFFNESSES_TITLE = " EDGE STIFFNESS";

// ------------------------------------------------------------------ helpers

std::string range_text(int low, int high) { return std::to_string(low) + " TO " + std::to_string(high); }

bool in_range(int value, int low, int high) { return value >= low && value <= high; }

// Rejects the data with a numbered diagnosis, its cause in words, and the
// rest of the file on the listing.
void reject(int error, int associated, const std::string& detail, int& status) {
  ++PlateDiagnoses.counts(error);
  fio::write(UNIT_PLATE_LISTING, READER_DIAGNOSIS_LAYOUT, error, associated, detail);
  PLATE_DATA_FAILURE(detail, status);
}

// A block's name in a diagnosis: its listing title without the leading blank.
std::string_view block_name(const char* title) { return std::string_view(title).substr(1); }

// The result of a read: false (and the data rejected) when the file ended
// or a value was not a number.
bool read_ok(int result, std::string_view block, int& status) {
  if (result == fio::IO_OK) return true;
  const int line = fio::lines_read(UNIT_PLATE_DATA);
  reject(PLATE_ERROR_UNREADABLE, line,
         "    PLATE DATA FILE ENDS EARLY OR HOLDS A VALUE THAT IS NOT A NUMBER: " + std::string(block) + ", LINE " +
             std::to_string(line),
         status);
  return false;
}

// A record's number that must name one of 1..high.
bool number_ok(int value, int high, int error, const char* record, int position, const char* named, int& status) {
  if (in_range(value, 1, high)) return true;
  reject(error, position,
         "    " + std::string(record) + " RECORD " + std::to_string(position) + " NAMES " + named + " " +
             std::to_string(value) + ", OUTSIDE " + range_text(1, high),
         status);
  return false;
}

// The label a record's node or element is echoed with.
int node_label(int node) { return PlateModel.node_labels(node); }
int element_label(int element) { return PlateModel.element_labels(element); }

// One row of six values of a table.
std::array<double, PLATE_NODE_DOFS> row_of(const Table2<double>& table, int row) {
  std::array<double, PLATE_NODE_DOFS> values{};
  for (int d = 1; d <= PLATE_NODE_DOFS; ++d) values[d - 1] = table(row, d);
  return values;
}

// ------------------------------------------------------------------ blocks

void read_elements(int& status) {
  const PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  fio::write(UNIT_PLATE_LISTING, ELEMENT_HEADING_LAYOUT);
  for (int i = 1; i <= c.NELEM; ++i) {
    int element = 0;
    int label = 0;
    int material = 0;
    std::array<int, PLATE_MAX_ELEMENT_NODES> nodes{};
    std::span<int> used(nodes.data(), static_cast<std::size_t>(c.NNODE));
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, element, label, material, used), "ELEMENT RECORDS", status)) return;
    fio::write(UNIT_PLATE_LISTING, ELEMENT_ROW_LAYOUT, label, material, used);
    if (!number_ok(element, c.NELEM, PLATE_ERROR_ELEMENT_RECORD, "ELEMENT", i, "ELEMENT", status)) return;
    // Material and node numbers are checked with the whole mesh (CHECK2).
    for (int p = 1; p <= c.NNODE; ++p) m.element_nodes(element, p) = nodes[p - 1];
    m.element_materials(element) = material;
    m.element_labels(element) = label;
  }
}

// Node records until the one numbered NPOIN; a node not given stays at (0, 0).
void read_nodes(int& status) {
  const int n_nodes = PlateControl.NPOIN;
  PlateModelRecord& m = PlateModel;
  for (int i = 1;; ++i) {
    int node = 0;
    int label = 0;
    double x = 0.0;
    double y = 0.0;
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, node, label, x, y), "NODE RECORDS", status)) return;
    if (!number_ok(node, n_nodes, PLATE_ERROR_NODE_RECORD, "NODE", i, "NODE", status)) return;
    m.node_coordinates(node, 1) = x;
    m.node_coordinates(node, 2) = y;
    m.node_labels(node) = label;
    if (node == n_nodes) break;
  }
  fio::write(UNIT_PLATE_LISTING, NODE_HEADING_LAYOUT);
  for (int n = 1; n <= n_nodes; ++n) {
    fio::write(UNIT_PLATE_LISTING, NODE_ROW_LAYOUT, m.node_labels(n), m.node_coordinates(n, 1),
               m.node_coordinates(n, 2));
  }
}

// Restraint nodes are checked by CHECK2; one outside the mesh is echoed by its number.
void read_restraints(int& status) {
  PlateModelRecord& m = PlateModel;
  fio::write(UNIT_PLATE_LISTING, RESTRAINT_HEADING_LAYOUT);
  for (int v = 1; v <= PlateControl.NVFIX; ++v) {
    int node = 0;
    std::array<int, PLATE_NODE_DOFS> codes{};
    std::array<double, PLATE_NODE_DOFS> values{};
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, node, codes, values), "RESTRAINT RECORDS", status)) return;
    m.restrained_nodes(v) = node;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
      m.restraint_codes(v, d) = codes[d - 1];
      m.prescribed_values(v, d) = values[d - 1];
    }
    const int shown = in_range(node, 1, PlateControl.NPOIN) ? node_label(node) : node;
    fio::write(UNIT_PLATE_LISTING, RESTRAINT_ROW_LAYOUT, shown, codes, values);
  }
}

void read_materials(int& status) {
  fio::write(UNIT_PLATE_LISTING, MATERIAL_HEADING_LAYOUT);
  for (int i = 1; i <= PlateControl.NMATS; ++i) {
    int material = 0;
    std::array<double, PLATE_MATERIAL_PROPERTIES> properties{};
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, material, properties), "MATERIAL RECORDS", status)) return;
    if (!number_ok(material, PlateControl.NMATS, PLATE_ERROR_MATERIAL_RECORD, "MATERIAL", i, "MATERIAL", status)) {
      return;
    }
    for (int k = 1; k <= PLATE_MATERIAL_PROPERTIES; ++k)
      PlateModel.material_properties(material, k) = properties[k - 1];
    fio::write(UNIT_PLATE_LISTING, MATERIAL_ROW_LAYOUT, material, properties);
  }
}

// Nodal or element records: a node or element number and six values. The
// heading is printed only for a block with records.
struct NumberedBlock {
  const char* title;
  const char* record;  // the record's name in a diagnosis
  int count;
  bool of_nodes;  // node numbers, else element numbers
  Table1<int>& numbers;
  Table2<double>& values;
};

void read_numbered_block(const NumberedBlock& b, int& status) {
  if (b.count <= 0) return;
  fio::write(UNIT_PLATE_LISTING, b.of_nodes ? NODE_RECORD_HEADING_LAYOUT : ELEMENT_RECORD_HEADING_LAYOUT, b.title);
  const int high = b.of_nodes ? PlateControl.NPOIN : PlateControl.NELEM;
  const int error = b.of_nodes ? PLATE_ERROR_RECORD_NODE : PLATE_ERROR_RECORD_ELEMENT;
  for (int i = 1; i <= b.count; ++i) {
    int number = 0;
    std::array<double, PLATE_NODE_DOFS> values{};
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, number, values), block_name(b.title), status)) return;
    if (!number_ok(number, high, error, b.record, i, b.of_nodes ? "NODE" : "ELEMENT", status)) return;
    b.numbers(i) = number;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) b.values(i, d) = values[d - 1];
    fio::write(UNIT_PLATE_LISTING, VALUES_ROW_LAYOUT, b.of_nodes ? node_label(number) : element_label(number),
               row_of(b.values, i));
  }
}

// Point records: x, y and six values, located in the mesh later.
void read_point_block(const char* title, int count, Table2<double>& points, Table2<double>& values, int& status) {
  if (count <= 0) return;
  fio::write(UNIT_PLATE_LISTING, POINT_HEADING_LAYOUT, title);
  for (int i = 1; i <= count; ++i) {
    double x = 0.0;
    double y = 0.0;
    std::array<double, PLATE_NODE_DOFS> record{};
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, x, y, record), block_name(title), status)) return;
    points(i, 1) = x;
    points(i, 2) = y;
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) values(i, d) = record[d - 1];
    fio::write(UNIT_PLATE_LISTING, POINT_ROW_LAYOUT, x, y, record);
  }
}

// Edge records: element, side 1..4, DOF 1..6 and three values.
void read_edge_block(const char* title, int count, Table2<int>& keys, Table2<double>& values, int& status) {
  if (count <= 0) return;
  fio::write(UNIT_PLATE_LISTING, EDGE_HEADING_LAYOUT, title);
  for (int i = 1; i <= count; ++i) {
    std::array<int, PLATE_EDGE_VALUES> key{};
    std::array<double, PLATE_EDGE_VALUES> record{};
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, key, record), block_name(title), status)) return;
    fio::write(UNIT_PLATE_LISTING, EDGE_ROW_LAYOUT, key, record);
    const int element = key[EDGE_KEY_ELEMENT - 1];
    const int side = key[EDGE_KEY_SIDE - 1];
    const int dof = key[EDGE_KEY_DOF - 1];
    if (!in_range(element, 1, PlateControl.NELEM) || !in_range(side, 1, PLATE_CORNERS) ||
        !in_range(dof, 1, PLATE_NODE_DOFS)) {
      reject(PLATE_ERROR_EDGE_KEY, i,
             std::string("    EDGE RECORD ") + std::to_string(i) + " OF" + title + " NAMES ELEMENT " +
                 std::to_string(element) + ", SIDE " + std::to_string(side) + ", DOF " + std::to_string(dof) +
                 "; ELEMENTS " + range_text(1, PlateControl.NELEM) + ", SIDES " + range_text(1, PLATE_CORNERS) +
                 ", DOFS " + range_text(1, PLATE_NODE_DOFS),
             status);
      return;
    }
    for (int k = 1; k <= PLATE_EDGE_VALUES; ++k) {
      keys(i, k) = key[k - 1];
      values(i, k) = record[k - 1];
    }
  }
}

void read_pile_points(int& status) {
  if (PlateControl.NCTSTI <= 0) return;
  fio::write(UNIT_PLATE_LISTING, PILE_HEADING_LAYOUT);
  for (int i = 1; i <= PlateControl.NCTSTI; ++i) {
    double x = 0.0;
    double y = 0.0;
    if (!read_ok(fio::read_list(UNIT_PLATE_DATA, x, y), "PILE POINTS", status)) return;
    PlateModel.pile_points(i, 1) = x;
    PlateModel.pile_points(i, 2) = y;
    fio::write(UNIT_PLATE_LISTING, PILE_ROW_LAYOUT, x, y);
  }
}

// Locates a block's points; a point in no element is rejected.
void locate_block(const char* what, int count, Table2<double>& points, Table1<int>& elements, int& status) {
  if (count <= 0) return;
  LOCATE_PLATE_POINTS(count, points, elements);
  for (int i = 1; i <= count; ++i) {
    if (elements(i) != 0) continue;
    reject(PLATE_ERROR_POINT_OUTSIDE, i,
           "    " + std::string(what) + " " + std::to_string(i) + " LIES IN NO ELEMENT OF THE PLATE", status);
    return;
  }
}

}  // namespace

void READ_PLATE_CONTROL(int& status) {
  PlateControlRecord& c = PlateControl;
  std::string title;
  if (!read_ok(fio::read_line(UNIT_PLATE_DATA, title, TITLE_FIELDS * TITLE_FIELD_WIDTH), "TITLE", status)) return;
  std::array<std::string_view, TITLE_FIELDS> fields;
  for (int k = 0; k < TITLE_FIELDS; ++k) {
    fields[k] = std::string_view(title).substr(static_cast<std::size_t>(k * TITLE_FIELD_WIDTH), TITLE_FIELD_WIDTH);
  }
  fio::write(UNIT_PLATE_LISTING, TITLE_LAYOUT, fields);
  fio::write(UNIT_PLATE_LISTING, RunOptions.units == UNITS_SI ? UNITS_SI_LAYOUT : UNITS_ENGLISH_LAYOUT);
  c.NCASE = 1;
  std::array<int, COUNT_FIELDS> counts{};
  if (!read_ok(fio::read_list(UNIT_PLATE_DATA, counts), "COUNTS", status)) return;
  c.NPOIN = counts[0];
  c.NELEM = counts[1];
  c.NMATS = counts[2];
  c.NNODE = counts[3];
  c.NGAUS = counts[4];
  c.NVFIX = counts[5];
  c.NNLOD = counts[6];
  c.NNSTI = counts[7];
  c.NDLOD = counts[8];
  c.NDSTI = counts[9];
  c.NCLOD = counts[10];
  c.NCSTI = counts[11];
  c.edge_load_count = counts[12];
  c.edge_stiffness_count = counts[13];
  c.NCTSTI = counts[14];
  c.pile_springs = counts[15];
  if (!read_ok(fio::read_list(UNIT_PLATE_DATA, c.DT, c.TINI, c.TEND, c.DTMIN, c.MAXITER, c.tolerance), "TIME STEPPING",
               status)) {
    return;
  }
  SET_PLATE_FORMULATION_CONSTANTS();
}

void ECHO_PLATE_CONTROL() {
  const PlateControlRecord& c = PlateControl;
  fio::write(UNIT_PLATE_LISTING, CONTROL_SIZES_LAYOUT, c.NPOIN, c.NELEM, c.NVFIX, c.NCASE, c.NTYPE, c.NNODE, c.NDOFN,
             c.NMATS, c.NPROP, c.NGAUS, c.NDIME, c.NSTRE, c.NEVAB);
  fio::write(UNIT_PLATE_LISTING, CONTROL_LOADS_LAYOUT, c.NNLOD, c.NNSTI, c.NDLOD, c.NDSTI, c.NCLOD, c.NCSTI, c.NCTSTI);
  fio::write(UNIT_PLATE_LISTING, CONTROL_TIME_LAYOUT, c.DT, c.TINI, c.TEND, c.DTMIN, c.MAXITER);
}

void READ_PLATE_DATA(int& status) {
  const PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  read_elements(status);
  if (status == 0) read_nodes(status);
  if (status == 0) read_restraints(status);
  if (status == 0) read_materials(status);
  const NumberedBlock blocks[] = {
      {NODAL_LOADS_TITLE, "NODAL LOAD", c.NNLOD, true, m.nodal_load_nodes, m.nodal_loads},
      {NODAL_STIFFNESSES_TITLE, "NODAL STIFFNESS", c.NNSTI, true, m.nodal_stiffness_nodes, m.nodal_stiffnesses},
      {DISTRIBUTED_LOADS_TITLE, "DISTRIBUTED LOAD", c.NDLOD, false, m.distributed_load_elements, m.distributed_loads},
      {DISTRIBUTED_STIFFNESSES_TITLE, "DISTRIBUTED STIFFNESS", c.NDSTI, false, m.distributed_stiffness_elements,
       m.distributed_stiffnesses},
  };
  for (const NumberedBlock& block : blocks) {
    if (status == 0) read_numbered_block(block, status);
  }
  if (status == 0) {
    read_point_block(CONCENTRATED_LOADS_TITLE, c.NCLOD, m.concentrated_load_points, m.concentrated_loads, status);
  }
  if (status == 0) {
    read_point_block(CONCENTRATED_STIFFNESSES_TITLE, c.NCSTI, m.concentrated_stiffness_points,
                     m.concentrated_stiffnesses, status);
  }
  if (status == 0) read_edge_block(EDGE_LOADS_TITLE, c.edge_load_count, m.edge_load_keys, m.edge_loads, status);
  if (status == 0) {
    read_edge_block(EDGE_STIFFNESSES_TITLE, c.edge_stiffness_count, m.edge_stiffness_keys, m.edge_stiffnesses, status);
  }
  if (status == 0) read_pile_points(status);
  if (status != 0) return;
  PLATE_GAUSS_RULE();
  // The mesh is checked before the points are located in it, so the
  // location reads only node numbers that exist.
  CHECK2(status);
  if (status == 0) {
    locate_block("CONCENTRATED LOAD", c.NCLOD, m.concentrated_load_points, m.concentrated_load_elements, status);
  }
  if (status == 0) {
    locate_block("CONCENTRATED STIFFNESS", c.NCSTI, m.concentrated_stiffness_points, m.concentrated_stiffness_elements,
                 status);
  }
  if (status == 0) locate_block("PILE POINT", c.NCTSTI, m.pile_points, m.pile_elements, status);
}

}  // namespace pilecap
