// The augmented system of a 3D run whose displacements are given at a point
// r of the cap: twelve unknowns, the six increments of the cap displacement
// at the origin and one multiplier per DOF that enforces the given point
// displacement by rigid-body transfer, u_point = u + theta x r. Matrices are
// column-major, 12 x 12 (entry (i, j) at (i - 1) + 12 (j - 1)); DOFs are X,
// Y, Z, then the rotations about X, Y, Z, X vertical.
#include <cmath>

#include "cap/cap_vectors.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

namespace {

constexpr int N = POINT_SYSTEM_ORDER;

double& at(double* s, int i, int j) { return s[(i - 1) + N * (j - 1)]; }

// Fills the symmetric pair (i, j) and (j, i) of s.
void pair(double* s, int i, int j, double value) { at(s, i, j) = at(s, j, i) = value; }

// The rigid-body displacement at r of the cap displacement u at the origin.
void point_displacement(const double* u, const double* r, double* u_point) {
  const double rx = r[0], ry = r[1], rz = r[2];
  u_point[0] = u[0] + rz * u[4] - ry * u[5];
  u_point[1] = u[1] - rz * u[3] + rx * u[5];
  u_point[2] = u[2] + ry * u[3] - rx * u[4];
  u_point[3] = u[3];
  u_point[4] = u[4];
  u_point[5] = u[5];
}

}  // namespace

void BUILD_POINT_SYSTEM(double* s, const double* k, const double* r, const int* flags) {
  const double rx = r[0], ry = r[1], rz = r[2];
  for (int j = 1; j <= N; ++j) {
    for (int i = 1; i <= N; ++i) at(s, i, j) = 0.0;
  }
  for (int j = 1; j <= CAP_DOFS; ++j) {
    for (int i = 1; i <= CAP_DOFS; ++i) at(s, i, j) = k[(i - 1) + CAP_DOFS * (j - 1)];
  }
  for (int dof = 1; dof <= CAP_DOFS; ++dof) {
    const int row = CAP_DOFS + dof;
    if (flags[dof - 1] != 0) {
      at(s, row, row) = 1.0;  // a load-given DOF: its multiplier solves to 0
      continue;
    }
    pair(s, row, dof, 1.0);
    switch (dof) {
      case 1:
        pair(s, row, 5, rz);
        pair(s, row, 6, -ry);
        break;
      case 2:
        pair(s, row, 4, -rz);
        pair(s, row, 6, rx);
        break;
      case 3:
        pair(s, row, 4, ry);
        pair(s, row, 5, -rx);
        break;
      default:
        break;
    }
  }
}

void POINT_SYSTEM_RESIDUAL(double* b, double* a, const double* residual, const double* forces, const double* d,
                           const double* u, const double* r, const int* flags) {
  double u_point[CAP_DOFS];
  point_displacement(u, r, u_point);
  for (int i = 0; i < CAP_DOFS; ++i) {
    b[i] = residual[i];
    a[i] = forces[i];
    b[CAP_DOFS + i] = a[CAP_DOFS + i] = 0.0;
    if (flags[i] == 0) {
      a[CAP_DOFS + i] = d[i];
      b[CAP_DOFS + i] = d[i] - u_point[i];
    }
  }
}

void MULTIPLY_12X12_BY_VECTOR(double* out, const double* m, const double* v) {
  for (int i = 0; i < N; ++i) {
    double sum = 0.0;
    for (int j = 0; j < N; ++j) sum += m[i + N * j] * v[j];
    out[i] = sum;
  }
}

void CAP_DISPLACEMENT_NORMS(const double* v, double& translation, double& rotation) {
  translation = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  rotation = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
}

}  // namespace pilecap
