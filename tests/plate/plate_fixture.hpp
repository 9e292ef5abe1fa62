// A fixture for the plate model tests: rectangular meshes of 4-, 8- or
// 9-node elements on a lattice (with straight-sided distortion of the corner
// lattice and any element numbering), restraint and load helpers, the
// displacements and stresses of a solved plate, and an independent dense
// solution of the assembled equations to compare the frontal solver with.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

#include "base/fio.hpp"
#include "plate/plate.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {

// Returns every plate record to its start.
inline void reset_plate_records() {
  RELEASE_PLATE_ARRAYS();
  PlateControl = PlateControlRecord{};
  PlateFailure = PlateFailureRecord{};
  PlateFileNames = PlateFileNamesRecord{};
  PlateGaussRule = PlateGaussRuleRecord{};
  PlateElementWork = PlateElementWorkRecord{};
  FrontalScratch = FrontalScratchRecord{};
}

class PlateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_engine_state();
    reset_plate_records();
  }
  void TearDown() override {
    reset_plate_records();
    fio::close_all();
  }
};

// A mesh of nx x ny elements over a x b. Nodes lie on a lattice ix = 0..2nx,
// iy = 0..2ny (4-node meshes use the even points only, 8-node meshes skip the
// element centres); they are numbered row by row from iy = 0. The corner
// lattice (even ix, iy) may be moved by `corner`; mid-side and centre nodes
// stay at the middle of their side or element, so sides stay straight.
struct MeshPlan {
  int nx = 2;
  int ny = 2;
  int nnode = 8;
  int ngaus = 2;
  double a = 1.0;
  double b = 1.0;
  double young = 1.0e7;
  double poisson = 0.3;
  double thickness = 0.1;
  // Moves a corner-lattice point (ix, iy even) from its regular position.
  std::function<void(int ix, int iy, double& x, double& y)> corner;
  // element_order[k] is the number given to the k-th element in row order
  // (empty: row order).
  std::vector<int> element_order;
};

struct Mesh {
  MeshPlan plan;
  int n_nodes = 0;
  int n_elements = 0;
  std::vector<int> node_ix, node_iy;  // by node - 1
  std::vector<double> x, y;           // by node - 1
  std::vector<int> lattice;           // node at (ix, iy), 0 when none

  int node_at(int ix, int iy) const {
    return lattice[static_cast<std::size_t>(iy) * (2 * plan.nx + 1) + static_cast<std::size_t>(ix)];
  }
  bool on_boundary(int node) const {
    const int ix = node_ix[node - 1];
    const int iy = node_iy[node - 1];
    return ix == 0 || iy == 0 || ix == 2 * plan.nx || iy == 2 * plan.ny;
  }
  int equations() const { return PLATE_NODE_DOFS * n_nodes; }
};

inline bool lattice_point_used(int nnode, int ix, int iy) {
  const bool odd_x = ix % 2 == 1;
  const bool odd_y = iy % 2 == 1;
  if (nnode == 4) return !odd_x && !odd_y;
  if (nnode == 8) return !(odd_x && odd_y);
  return true;
}

// Numbers the nodes and places them; nothing is allocated yet.
inline Mesh layout_mesh(const MeshPlan& plan) {
  Mesh mesh;
  mesh.plan = plan;
  const int columns = 2 * plan.nx + 1;
  const int rows = 2 * plan.ny + 1;
  mesh.lattice.assign(static_cast<std::size_t>(columns * rows), 0);
  auto corner_position = [&](int ix, int iy, double& x, double& y) {
    x = plan.a * ix / (2.0 * plan.nx);
    y = plan.b * iy / (2.0 * plan.ny);
    if (plan.corner) plan.corner(ix, iy, x, y);
  };
  for (int iy = 0; iy < rows; ++iy) {
    for (int ix = 0; ix < columns; ++ix) {
      if (!lattice_point_used(plan.nnode, ix, iy)) continue;
      // The middle of the corner points around (ix, iy).
      double x = 0.0;
      double y = 0.0;
      int count = 0;
      for (int cx = ix - ix % 2; cx <= ix + ix % 2; cx += 2) {
        for (int cy = iy - iy % 2; cy <= iy + iy % 2; cy += 2) {
          double px = 0.0;
          double py = 0.0;
          corner_position(cx, cy, px, py);
          x += px;
          y += py;
          ++count;
        }
      }
      mesh.node_ix.push_back(ix);
      mesh.node_iy.push_back(iy);
      mesh.x.push_back(x / count);
      mesh.y.push_back(y / count);
      mesh.lattice[static_cast<std::size_t>(iy * columns + ix)] = static_cast<int>(mesh.x.size());
    }
  }
  mesh.n_nodes = static_cast<int>(mesh.x.size());
  mesh.n_elements = plan.nx * plan.ny;
  return mesh;
}

// Counts of the data blocks, set before the arrays are allocated.
struct DataCounts {
  int restraints = 0;
  int nodal_loads = 0;
  int nodal_stiffnesses = 0;
  int distributed_loads = 0;
  int distributed_stiffnesses = 0;
  int concentrated_loads = 0;
  int concentrated_stiffnesses = 0;
  int edge_loads = 0;
  int edge_stiffnesses = 0;
};

// Sets PlateControl, allocates the arrays and fills the mesh, one material,
// the Gauss rule and a front large enough for any element order.
inline void install_mesh(const Mesh& mesh, const DataCounts& counts = {}) {
  const MeshPlan& plan = mesh.plan;
  PlateControlRecord& c = PlateControl;
  c.NPOIN = mesh.n_nodes;
  c.NELEM = mesh.n_elements;
  c.NNODE = plan.nnode;
  c.NGAUS = plan.ngaus;
  c.NMATS = 1;
  c.NVFIX = counts.restraints;
  c.NNLOD = counts.nodal_loads;
  c.NNSTI = counts.nodal_stiffnesses;
  c.NDLOD = counts.distributed_loads;
  c.NDSTI = counts.distributed_stiffnesses;
  c.NCLOD = counts.concentrated_loads;
  c.NCSTI = counts.concentrated_stiffnesses;
  c.edge_load_count = counts.edge_loads;
  c.edge_stiffness_count = counts.edge_stiffnesses;
  c.TINI = 0.0;
  c.TEND = 1.0;
  c.TCUR = 1.0;
  SET_PLATE_FORMULATION_CONSTANTS();
  c.front_size = std::min(mesh.equations(), PLATE_NODE_DOFS * (4 * std::max(plan.nx, plan.ny) + 8));
  if (!plan.element_order.empty()) c.front_size = mesh.equations();
  int status = 0;
  ALLOCATE_PLATE_ARRAYS(status);
  ASSERT_EQ(status, 0);
  PLATE_GAUSS_RULE();
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    PlateModel.node_coordinates(n, 1) = mesh.x[n - 1];
    PlateModel.node_coordinates(n, 2) = mesh.y[n - 1];
    PlateModel.node_labels(n) = n;
  }
  PlateModel.material_properties(1, MATERIAL_YOUNG_MODULUS) = plan.young;
  PlateModel.material_properties(1, MATERIAL_POISSON_RATIO) = plan.poisson;
  PlateModel.material_properties(1, MATERIAL_THICKNESS) = plan.thickness;
  int k = 0;
  for (int ey = 0; ey < plan.ny; ++ey) {
    for (int ex = 0; ex < plan.nx; ++ex) {
      const int e = plan.element_order.empty() ? k + 1 : plan.element_order[k];
      ++k;
      const int x0 = 2 * ex;
      const int y0 = 2 * ey;
      const int corners[9][2] = {{x0, y0},         {x0 + 2, y0},     {x0 + 2, y0 + 2}, {x0, y0 + 2},    {x0 + 1, y0},
                                 {x0 + 2, y0 + 1}, {x0 + 1, y0 + 2}, {x0, y0 + 1},     {x0 + 1, y0 + 1}};
      for (int p = 1; p <= plan.nnode; ++p) {
        PlateModel.element_nodes(e, p) = mesh.node_at(corners[p - 1][0], corners[p - 1][1]);
      }
      PlateModel.element_materials(e) = 1;
      PlateModel.element_labels(e) = e;
    }
  }
}

// Restraint record v: node, six codes and six values.
inline void set_restraint(int v, int node, const std::array<int, 6>& codes, const std::array<double, 6>& values = {}) {
  PlateModel.restrained_nodes(v) = node;
  for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
    PlateModel.restraint_codes(v, d) = codes[d - 1];
    PlateModel.prescribed_values(v, d) = values[d - 1];
  }
}

// The displacement of DOF d of node n after a solution.
inline double solved(int node, int dof) { return PlateModel.DSDIS(PLATE_EQUATION(node, dof)); }

// The 8 stress components at sampling point k of element e for the
// displacements in `u` (by equation): membrane stresses, moments, shears.
inline std::array<double, 8> sampling_stresses(int e, int k, const Table1<double>& u) {
  std::array<double, 8> stress{};
  const PlateElementRecord& record = PlateModel.element_records(e);
  for (int p = 1; p <= PlateControl.NNODE; ++p) {
    const int node = PlateModel.element_nodes(e, p);
    for (int c = 1; c <= 2; ++c) {
      const double value = u(PLATE_EQUATION(node, c));
      for (int r = 1; r <= 3; ++r) stress[r - 1] += record.membrane_stress_matrices(k)(r, 2 * (p - 1) + c) * value;
    }
    for (int c = 1; c <= 3; ++c) {
      const double value = u(PLATE_EQUATION(node, 2 + c));
      for (int r = 1; r <= 5; ++r) stress[2 + r] += record.bending_stress_matrices(k)(r, 3 * (p - 1) + c) * value;
    }
  }
  return stress;
}

// ------------------------------------------------------------ dense reference

// The global matrix and right-hand side assembled from the element matrices
// (their upper triangles, mirrored) and the element vectors.
struct DenseSystem {
  int n = 0;
  std::vector<double> k;  // n x n, row by row
  std::vector<double> f;
  double& at(int row, int column) { return k[static_cast<std::size_t>(row - 1) * n + (column - 1)]; }
};

inline DenseSystem assemble_dense() {
  DenseSystem s;
  s.n = PLATE_NODE_DOFS * PlateControl.NPOIN;
  s.k.assign(static_cast<std::size_t>(s.n) * s.n, 0.0);
  s.f.assign(static_cast<std::size_t>(s.n), 0.0);
  const int nevab = PlateControl.NEVAB;
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    auto equation = [&](int i) {
      const int p = (i - 1) / PLATE_NODE_DOFS + 1;
      return PLATE_EQUATION(PlateModel.element_nodes(e, p), i - PLATE_NODE_DOFS * (p - 1));
    };
    for (int i = 1; i <= nevab; ++i) {
      s.f[equation(i) - 1] += PlateModel.element_vectors(e, i);
      for (int j = 1; j <= nevab; ++j) {
        const double value = i <= j ? PlateModel.element_matrices(e, i, j) : PlateModel.element_matrices(e, j, i);
        s.at(equation(i), equation(j)) += value;
      }
    }
  }
  return s;
}

// Solves K u = f with u given at the `fixed` equations (Gaussian elimination
// with partial pivoting on the free ones); returns u.
inline std::vector<double> dense_solve(DenseSystem s, const std::vector<bool>& fixed,
                                       const std::vector<double>& given) {
  const int n = s.n;
  std::vector<int> free;
  for (int q = 1; q <= n; ++q) {
    if (!fixed[q - 1]) free.push_back(q);
  }
  const int m = static_cast<int>(free.size());
  std::vector<double> a(static_cast<std::size_t>(m) * m), rhs(static_cast<std::size_t>(m));
  for (int i = 0; i < m; ++i) {
    rhs[i] = s.f[free[i] - 1];
    for (int q = 1; q <= n; ++q) {
      if (fixed[q - 1]) rhs[i] -= s.at(free[i], q) * given[q - 1];
    }
    for (int j = 0; j < m; ++j) a[static_cast<std::size_t>(i) * m + j] = s.at(free[i], free[j]);
  }
  for (int col = 0; col < m; ++col) {
    int best = col;
    for (int r = col + 1; r < m; ++r) {
      if (std::fabs(a[static_cast<std::size_t>(r) * m + col]) >
          std::fabs(a[static_cast<std::size_t>(best) * m + col])) {
        best = r;
      }
    }
    for (int j = 0; j < m; ++j)
      std::swap(a[static_cast<std::size_t>(col) * m + j], a[static_cast<std::size_t>(best) * m + j]);
    std::swap(rhs[col], rhs[best]);
    for (int r = col + 1; r < m; ++r) {
      const double factor = a[static_cast<std::size_t>(r) * m + col] / a[static_cast<std::size_t>(col) * m + col];
      for (int j = col; j < m; ++j)
        a[static_cast<std::size_t>(r) * m + j] -= factor * a[static_cast<std::size_t>(col) * m + j];
      rhs[r] -= factor * rhs[col];
    }
  }
  std::vector<double> x(static_cast<std::size_t>(m));
  for (int i = m - 1; i >= 0; --i) {
    double sum = rhs[i];
    for (int j = i + 1; j < m; ++j) sum -= a[static_cast<std::size_t>(i) * m + j] * x[j];
    x[i] = sum / a[static_cast<std::size_t>(i) * m + i];
  }
  std::vector<double> u = given;
  for (int i = 0; i < m; ++i) u[free[i] - 1] = x[i];
  return u;
}

// (K u - f) at equation q.
inline double dense_residual(DenseSystem& s, const std::vector<double>& u, int q) {
  double sum = -s.f[q - 1];
  for (int j = 1; j <= s.n; ++j) sum += s.at(q, j) * u[j - 1];
  return sum;
}

}  // namespace pilecap::testing
