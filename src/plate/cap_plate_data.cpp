// The plate model of the engine's cap, written out: a plate data file as the
// plate reader reads it and a keyword-sectioned copy for the host. The cap
// is meshed with f x g 8-node quadrilaterals (f along its length in Y, g
// across its width in Z): node rows from the cap's Z edge downwards, corner
// rows of 2f + 1 nodes and middle rows of f + 1, numbered row by row. In the
// data file the plate's x is the cap's Z and its y the cap's Y, so the
// elements' nodes run counter-clockwise, and point values are on the plate
// DOFs (PLATE_PILE_PERMUTATION). Reals are written with 17 significant
// digits, so the file reads back to the same doubles. Lengths and loads are
// in the engine's internal units.
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr int NODES_PER_ELEMENT = 8;
constexpr int GAUSS_POINTS = 2;
constexpr int MATERIAL = 1;
constexpr int PILES_ACT = 1;
constexpr double START_TIME = 0.0;
constexpr double END_TIME = 1.0;
constexpr int TORSION_FORCES = 8;
constexpr int CONNECTION_PINNED = 1;
// The double-precision square root of 0.5: the diagonal points of the
// torsion ring and the components of their forces.
constexpr double HALF_ROOT = 0.7071067811865476;

// The data file's title record is the deck's title, so the plate listing
// that echoes it belongs visibly to the deck.
constexpr const char* TITLE_RECORD_LAYOUT = "(A)";
// Data file layouts (record order of the plate reader).
constexpr const char* COUNTS_LAYOUT = "(16I8)";
constexpr const char* TIME_LAYOUT = "(4E25.17,I10,E25.17)";
constexpr const char* ELEMENT_LAYOUT = "(11I8)";
constexpr const char* NODE_LAYOUT = "(2I8,2E25.17)";
constexpr const char* MATERIAL_LAYOUT = "(I8,3E25.17)";
constexpr const char* POINT_VALUES_LAYOUT = "(8E25.17)";
constexpr const char* PILE_POINT_LAYOUT = "(2E25.17)";
// Keyword file layouts: a data line starts with "*".
constexpr const char* KEY_ELEMENT_LAYOUT = "(\"*\",10I8)";
constexpr const char* KEY_NODE_LAYOUT = "(\"*\",I8,3E25.17)";
constexpr const char* KEY_MATERIAL_LAYOUT = "(\"*\",\"    ALL\",3E25.17)";
constexpr const char* KEY_POINT_LAYOUT = "(\"*\",9E25.17)";

constexpr const char* NO_MESH_DETAIL = "    THE CAP HAS NO PLATE MESH: LENGTH, WIDTH AND DIVISIONS MUST BE ABOVE 0";
constexpr const char* MESH_CAPACITY_DETAIL =
    "    THE PLATE MESH OF THE CAP EXCEEDS THE PLATE'S CAPACITY OF 100000 NODES";
constexpr const char* NO_TORSION_RING_DETAIL = "    THE CAP HAS NO THICKNESS TO CARRY ITS TORSION";

// One load point of the cap: its X, Y, Z and six values in the cap order.
struct CapPoint {
  double x = 0.0, y = 0.0, z = 0.0;
  PlateVector6 values;
};

struct CapMesh {
  int f = 0, g = 0;  // elements along Y, across Z
  int n_nodes = 0, n_elements = 0;
  std::vector<double> node_y, node_z;  // node n at index n - 1
};

bool build_mesh(CapMesh& mesh, int& status) {
  const CapPlateInputRecord& plate = CapPlateInput;
  const double length = CapGeometry.length_yy;
  const double width = CapGeometry.plate_width_zz;
  mesh.f = plate.divisions_1;
  mesh.g = plate.divisions_2;
  if (mesh.f < 1 || mesh.g < 1 || !(length > 0.0) || !(width > 0.0)) {
    FAIL_PLATE(status, NO_MESH_DETAIL);
    return false;
  }
  const long long f = mesh.f, g = mesh.g;
  const long long nodes = (g + 1) * (2 * f + 1) + g * (f + 1);
  if (nodes > PLATE_COUNT_CAPACITY) {
    FAIL_PLATE(status, MESH_CAPACITY_DETAIL);
    return false;
  }
  mesh.n_nodes = static_cast<int>(nodes);
  mesh.n_elements = mesh.f * mesh.g;
  const double dy = length / (2.0 * mesh.f);
  const double dz = width / (2.0 * mesh.g);
  double z = width / 2.0 - plate.center_y;
  for (int row = 1; row <= 2 * mesh.g + 1; ++row) {
    const bool corner_row = row % 2 == 1;
    const int n_row = corner_row ? 2 * mesh.f + 1 : mesh.f + 1;
    double y = plate.center_x - length / 2.0;
    for (int i = 1; i <= n_row; ++i) {
      mesh.node_y.push_back(y);
      mesh.node_z.push_back(z);
      y += corner_row ? dy : dy + dy;
    }
    z -= dz;
  }
  return true;
}

// The eight nodes of element (i, j): corners from the one at the smaller Y
// and larger Z, then the mid-side nodes of sides 1-2, 2-3, 3-4, 4-1.
std::array<int, NODES_PER_ELEMENT> element_nodes(const CapMesh& mesh, int i, int j) {
  const int stride = 3 * mesh.f + 2;
  const int b = 1 + (j - 1) * stride + 2 * (i - 1);
  const int m = 1 + (j - 1) * stride + (2 * mesh.f + 1) + (i - 1);
  const int t = 1 + j * stride + 2 * (i - 1);
  return {b, b + 2, t + 2, t, b + 1, m + 1, t + 1, m};
}

// The cap load at the origin, with M_X as eight in-plane forces on a ring of
// radius r0 about the origin, tangential and turning the same way, whose
// moments about X sum to M_X. The ring stays on the cap: r0 is the smallest
// of its half length, its half width and its thickness.
bool load_points(const double* cap_load, std::vector<CapPoint>& points, int& status) {
  CapPoint centre;
  for (int k = 1; k <= PLATE_NODE_DOFS; ++k) centre.values(k) = cap_load[k - 1];
  centre.values(4) = 0.0;
  points.push_back(centre);
  const double torsion = cap_load[3];
  if (!(std::fabs(torsion) > PLATE_NEGLIGIBLE)) return true;
  const double r0 = std::min({CapGeometry.plate_width_zz / 2.0, CapGeometry.length_yy / 2.0, CapGeometry.thickness_xx});
  if (!(r0 > 0.0)) {
    FAIL_PLATE(status, NO_TORSION_RING_DETAIL);
    return false;
  }
  const double force = torsion / (TORSION_FORCES * r0);
  const double a = HALF_ROOT * r0;
  const double b = HALF_ROOT;
  // (Y, Z, F_Y, F_Z) of each force; each has the moment Y F_Z - Z F_Y = r0 force.
  const double ring[TORSION_FORCES][4] = {
      {r0, 0.0, 0.0, force},           {0.0, r0, -force, 0.0},        {-r0, 0.0, 0.0, -force},
      {0.0, -r0, force, 0.0},          {a, a, -b * force, b * force}, {-a, a, -b * force, -b * force},
      {-a, -a, b * force, -b * force}, {a, -a, b * force, b * force},
  };
  for (const auto& r : ring) {
    CapPoint p;
    p.y = r[0];
    p.z = r[1];
    p.values(2) = r[2];
    p.values(3) = r[3];
    points.push_back(p);
  }
  return true;
}

// A file being written: every write's outcome is kept.
struct Sink {
  int unit = 0;
  bool ok = true;
  template <class... A>
  void write(const char* layout, const A&... values) {
    ok = fio::write(unit, layout, values...) == fio::IO_OK && ok;
  }
  template <class... A>
  void words(const A&... word) {
    ((ok = fio::write_list(unit, word) == fio::IO_OK && ok), ...);
  }
};

double factor(double value) { return std::fabs(value) < PLATE_NEGLIGIBLE ? 0.0 : value; }

// The six factors of a pile's keyword line: its direction and whether its
// head is fixed against rotation.
PlateVector6 pile_factors(int pile) {
  const double alpha = PileTable.alpha(pile), beta = PileTable.beta(pile), gamma = PileTable.angle_extra(pile);
  PlateVector6 f;
  f(1) = factor(std::fabs(std::cos(alpha)));
  f(2) = factor(std::fabs(std::cos(gamma) * std::cos(beta)));
  f(3) = factor(std::fabs(std::sin(gamma) * std::cos(beta)));
  const double rotation = PileTable.conn_zz(pile) == CONNECTION_PINNED ? 0.0 : 1.0;
  for (int k = 4; k <= PLATE_NODE_DOFS; ++k) f(k) = rotation;
  return f;
}

void write_time_line(Sink& out) {
  const AnalysisControlRecord& a = AnalysisControl;
  out.write(TIME_LAYOUT, a.initial_step, START_TIME, END_TIME, a.min_step, a.max_iterations, a.tolerance);
}

void write_data_file(Sink& out, const CapMesh& mesh, const std::vector<CapPoint>& points) {
  const int n_piles = PileTable.n_piles;
  const int n_loads = static_cast<int>(points.size());
  out.write(TITLE_RECORD_LAYOUT, std::string(WITHOUT_TRAILING_BLANKS(RunTitle.text)));
  out.write(COUNTS_LAYOUT, mesh.n_nodes, mesh.n_elements, 1, NODES_PER_ELEMENT, GAUSS_POINTS, 0, 0, 0, 0, 0, n_loads, 0,
            0, 0, n_piles, PILES_ACT);
  write_time_line(out);
  for (int j = 1; j <= mesh.g; ++j) {
    for (int i = 1; i <= mesh.f; ++i) {
      const int e = (j - 1) * mesh.f + i;
      out.write(ELEMENT_LAYOUT, e, e, MATERIAL, element_nodes(mesh, i, j));
    }
  }
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    const auto at = static_cast<std::size_t>(n - 1);
    out.write(NODE_LAYOUT, n, n, mesh.node_z[at], mesh.node_y[at]);
  }
  out.write(MATERIAL_LAYOUT, MATERIAL, CapPlateInput.young_modulus, CapPlateInput.poisson_ratio,
            CapGeometry.thickness_xx);
  PlateMatrix6 p;
  PLATE_PILE_PERMUTATION(p);
  for (const CapPoint& point : points) {
    PlateVector6 values;
    MULTIPLY_6X6_BY_VECTOR(values.data(), p.data(), point.values.data());
    out.write(POINT_VALUES_LAYOUT, point.z, point.y, values);
  }
  for (int k = 1; k <= n_piles; ++k) out.write(PILE_POINT_LAYOUT, PileTable.head_z(k), PileTable.head_y(k));
}

void write_keyword_file(Sink& out, const CapMesh& mesh, const std::vector<CapPoint>& points) {
  out.words("VELTO5_FC", "TITLE");
  std::string title_line(1, ' ');
  title_line.append(WITHOUT_TRAILING_BLANKS(RunTitle.text));
  out.write(TITLE_RECORD_LAYOUT, title_line);
  out.words("ELEMENT_DATA", "QUAD8  REDUCED_INTEGRATION");
  for (int j = 1; j <= mesh.g; ++j) {
    for (int i = 1; i <= mesh.f; ++i) {
      out.write(KEY_ELEMENT_LAYOUT, (j - 1) * mesh.f + i, MATERIAL, element_nodes(mesh, i, j));
    }
  }
  out.words("END_ELEMENT_DATA", "NODE_DATA");
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    const auto at = static_cast<std::size_t>(n - 1);
    out.write(KEY_NODE_LAYOUT, n, 0.0, mesh.node_y[at], mesh.node_z[at]);
  }
  out.words("END_NODE_DATA", "MATERIAL_DATA");
  out.write(KEY_MATERIAL_LAYOUT, CapPlateInput.young_modulus, CapPlateInput.poisson_ratio, CapGeometry.thickness_xx);
  out.words("END_MATERIAL_DATA", "CONCENTRATED_LOAD_DATA");
  for (const CapPoint& point : points) out.write(KEY_POINT_LAYOUT, point.x, point.y, point.z, point.values);
  out.words("END_CONCENTRATED_LOAD_DATA", "TOTAL_CONCENTRATED_STIFFNESS_DATA");
  for (int k = 1; k <= PileTable.n_piles; ++k) {
    out.write(KEY_POINT_LAYOUT, PileTable.head_x(k), PileTable.head_y(k), PileTable.head_z(k), pile_factors(k));
  }
  out.words("END_TOTAL_CONCENTRATED_STIFFNESS_DATA", "TIME_STEPPING_DATA");
  write_time_line(out);
  out.words("END_TIME_STEPPING_DATA", "END_DATA");
}

// Opens `name` on `unit`, lets `write` fill it and closes it; a failed open,
// write or flush fails the export.
template <class Writer>
void write_file(int unit, const std::string& name, Writer write, int& status) {
  if (fio::open(unit, name, fio::Mode::Write) != fio::IO_OK) {
    FAIL_PLATE(status, "    FILE CANNOT BE WRITTEN: " + name);
    return;
  }
  Sink out{unit};
  write(out);
  const bool written = out.ok && fio::flush(unit) == fio::IO_OK;
  fio::close(unit);
  if (!written) FAIL_PLATE(status, "    FILE CANNOT BE WRITTEN: " + name);
}

}  // namespace

void WRITE_CAP_PLATE_DATA(const double* cap_load, int& status) {
  if (status != 0) return;
  std::string input_name, plot_name;
  WRITE_PLATE_NAMES_FILE(input_name, plot_name, status);
  if (status != 0) return;
  CapMesh mesh;
  std::vector<CapPoint> points;
  if (!build_mesh(mesh, status) || !load_points(cap_load, points, status)) return;
  const std::string& data_name = PlateFileNames.data_file;
  const std::string keyword_name = std::filesystem::path(data_name).replace_extension(PLATE_KEYWORD_EXTENSION).string();
  if (const std::string clash = PLATE_OUTPUT_CLASH({&data_name, &keyword_name}); !clash.empty()) {
    FAIL_PLATE(status, "    PLATE FILE WOULD OVERWRITE ANOTHER FILE: " + clash);
    return;
  }
  write_file(
      UNIT_PLATE_DATA, data_name, [&](Sink& out) { write_data_file(out, mesh, points); }, status);
  if (status != 0) return;
  write_file(
      UNIT_PLATE_LISTING, keyword_name, [&](Sink& out) { write_keyword_file(out, mesh, points); }, status);
}

}  // namespace pilecap
