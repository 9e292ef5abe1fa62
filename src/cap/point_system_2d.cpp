// The point of definition of a 2D load case and the small vector services of
// the 2D cap solver. With displacements prescribed at a point, the Newton
// step solves the tangent bordered by one rigid-body constraint row per
// displacement-controlled DOF (Lagrange multipliers): the point moves by
// (U1 - U3 y_p, U2 + U3 x_p, U3); a load at the origin is equivalent at the
// point to (FX, FY, MZ - x_p FY + y_p FX). Vectors are (X vertical, Y
// horizontal, rotation Z); matrices are column-major.
#include <cmath>

#include "base/unit_labels.hpp"
#include "cap/cap_vectors.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"

namespace pilecap {

namespace {

constexpr int LOAD_GIVEN = 1;           // the flag whose point load is transferred as given
constexpr double COUPLING_LIMIT = 0.5;  // off-diagonal terms of iteration 1: half the diagonal
constexpr int BORDERED = MIXED_SYSTEM_ORDER_2D;

// The constraint row of a displacement-controlled DOF k (1-based).
void constraint_row(int k, double x_p, double y_p, double* c) {
  const double rows[CAP_DOFS_2D][CAP_DOFS_2D] = {{1.0, 0.0, -y_p}, {0.0, 1.0, x_p}, {0.0, 0.0, 1.0}};
  for (int j = 0; j < CAP_DOFS_2D; ++j) c[j] = rows[k - 1][j];
}

// Pairs (i, j) of the off-diagonal entry whose magnitude is tested against
// half the diagonal of row `limited` and then set together with (j, i).
void limit_pair(double* k, int limited, int i, int j) {
  auto at = [k](int row, int column) -> double& { return k[(row - 1) + CAP_DOFS_2D * (column - 1)]; };
  const double q = COUPLING_LIMIT * std::fabs(at(limited, limited));
  if (std::fabs(at(i, j)) > q) {
    const double v = std::copysign(q, at(i, j));
    at(i, j) = at(j, i) = v;
  }
}

}  // namespace

void BUILD_MIXED_SYSTEM_2D(double* s, const double* k, const double* point, const int* flags) {
  auto at = [s](int row, int column) -> double& { return s[(row - 1) + BORDERED * (column - 1)]; };
  for (int i = 0; i < BORDERED * BORDERED; ++i) s[i] = 0.0;
  for (int j = 1; j <= CAP_DOFS_2D; ++j) {
    for (int i = 1; i <= CAP_DOFS_2D; ++i) at(i, j) = k[(i - 1) + CAP_DOFS_2D * (j - 1)];
  }
  for (int d = 1; d <= CAP_DOFS_2D; ++d) {
    if (flags[d - 1] != 0) {
      at(CAP_DOFS_2D + d, CAP_DOFS_2D + d) = 1.0;
      continue;
    }
    double c[CAP_DOFS_2D];
    constraint_row(d, point[0], point[1], c);
    for (int j = 1; j <= CAP_DOFS_2D; ++j) {
      at(CAP_DOFS_2D + d, j) = c[j - 1];
      at(j, CAP_DOFS_2D + d) = c[j - 1];
    }
  }
}

void MIXED_RESIDUAL_2D(double* r, double* d, const double* residual, const double* forces, const double* targets,
                       const double* u, const double* point, const int* flags) {
  const double x_p = point[0], y_p = point[1];
  const double moved[CAP_DOFS_2D] = {u[0] - u[2] * y_p, u[1] + u[2] * x_p, u[2]};
  for (int k = 0; k < CAP_DOFS_2D; ++k) {
    r[k] = residual[k];
    d[k] = forces[k];
    if (flags[k] == 0) {
      d[CAP_DOFS_2D + k] = targets[k];
      r[CAP_DOFS_2D + k] = targets[k] - moved[k];
    } else {
      d[CAP_DOFS_2D + k] = 0.0;
      r[CAP_DOFS_2D + k] = 0.0;
    }
  }
}

void MULTIPLY_MIXED_SYSTEM_2D(double* out, const double* s, const double* v) {
  for (int i = 0; i < BORDERED; ++i) {
    double sum = 0.0;
    for (int j = 0; j < BORDERED; ++j) sum += s[i + BORDERED * j] * v[j];
    out[i] = sum;
  }
}

void LIMIT_COUPLING_TERMS_2D(double* k) {
  limit_pair(k, 1, 1, 2);
  limit_pair(k, 1, 1, 3);
  limit_pair(k, 2, 2, 1);
  limit_pair(k, 2, 2, 3);
  limit_pair(k, 3, 3, 1);
  limit_pair(k, 3, 3, 2);
}

void TRANSFER_ORIGIN_POINT_2D(const double* u, double* f, const double* point, double* u_point, double* f_point,
                              const double* given, const int* flags, int& moved) {
  const double x_p = point[0], y_p = point[1];
  if (x_p == 0.0 && y_p == 0.0) {
    moved = 0;
    return;
  }
  moved = 1;
  u_point[0] = u[0] - u[2] * y_p;
  u_point[1] = u[1] + u[2] * x_p;
  u_point[2] = u[2];
  // Point loads from the origin loads as they enter, before any replacement.
  const double transferred[CAP_DOFS_2D] = {f[0], f[1], f[2] - x_p * f[1] + y_p * f[0]};
  for (int k = 0; k < CAP_DOFS_2D; ++k) {
    if (flags[k] == LOAD_GIVEN) {
      f_point[k] = given[k];
      if (k < 2) f[k] = given[k];  // the forces at the origin are the given ones; the moment stays
    } else {
      f_point[k] = transferred[k];
    }
  }
}

void DOF_FLAG_CHARACTERS_2D(const int* flags, char* load_marks, char* displacement_marks) {
  const char blank = UnitLabels.blank_mark();
  const char asterisk = UnitLabels.asterisk_mark();
  for (int k = 0; k < CAP_DOFS_2D; ++k) {
    load_marks[k] = flags[k] != 0 ? asterisk : blank;
    displacement_marks[k] = flags[k] != 0 ? blank : asterisk;
  }
}

void CAP_DISPLACEMENT_NORMS_2D(const double* v, double& translation, double& rotation) {
  translation = std::sqrt(v[0] * v[0] + v[1] * v[1]);
  rotation = std::sqrt(v[2] * v[2]);
}

void MAX_ABS_2D(const double* v, double& translation, double& rotation) {
  translation = std::fabs(v[1]) > std::fabs(v[0]) ? std::fabs(v[1]) : std::fabs(v[0]);
  rotation = std::fabs(v[2]);
}

void UPDATE_CAP_ENVELOPE_2D(const double* load, const double* displacement) {
  auto& e = CapEnvelope;
  for (int k = 1; k <= CAP_DOFS_2D; ++k) {
    if (AnalysisControl.first_run == 1) {
      e.max_load(k) = e.min_load(k) = load[k - 1];
      e.max_displacement(k) = e.min_displacement(k) = displacement[k - 1];
    }
    UPDATE_MAX(e.max_load(k), load[k - 1]);
    UPDATE_MAX(e.max_displacement(k), displacement[k - 1]);
    UPDATE_MIN(e.min_load(k), load[k - 1]);
    UPDATE_MIN(e.min_displacement(k), displacement[k - 1]);
  }
}

void COPY_VECTOR3(const double* source, double* destination) {
  for (int k = 0; k < CAP_DOFS_2D; ++k) destination[k] = source[k];
}

}  // namespace pilecap
