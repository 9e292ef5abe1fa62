// The point of definition of a load case in space and the cap envelope.
// The point transfer is a rigid-body move: the displacement at the point is
// u + theta x r, the load at the point keeps the forces and shifts the
// moments by M - r x F, so F.u + M.theta is the same at both places. The
// envelope keeps per component the extremes of the equivalent load and the
// cap displacement at the origin over the runs of one pass.
#include "base/unit_labels.hpp"
#include "cap/cap_vectors.hpp"
#include "model/analysis_control.hpp"

namespace pilecap {

namespace {

// Positions of the marker characters in UnitLabels.
constexpr int FORCE_DOFS = 3;

}  // namespace

void TRANSFER_ORIGIN_POINT(const double* u, double* f, const double* r, double* u_point, double* f_point,
                           const double* given, const int* flags, int& moved) {
  const double x = r[0];
  const double y = r[1];
  const double z = r[2];
  if (x == 0.0 && y == 0.0 && z == 0.0) {
    moved = 0;
    return;
  }
  const double rot_x = u[3];
  const double rot_y = u[4];
  const double rot_z = u[5];
  u_point[0] = u[0] - y * rot_z + z * rot_y;
  u_point[1] = u[1] - z * rot_x + x * rot_z;
  u_point[2] = u[2] - x * rot_y + y * rot_x;
  u_point[3] = rot_x;
  u_point[4] = rot_y;
  u_point[5] = rot_z;

  // Moments at the point from the forces at the origin as they enter.
  const double force[FORCE_DOFS] = {f[0], f[1], f[2]};
  const double moment_at_point[FORCE_DOFS] = {f[3] - y * force[2] + z * force[1], f[4] + x * force[2] - z * force[0],
                                              f[5] - x * force[1] + y * force[0]};
  moved = 1;
  for (int k = 0; k < CAP_DOFS; ++k) {
    if (flags[k] == 1) {
      f_point[k] = given[k];
      if (k < FORCE_DOFS) f[k] = given[k];
    } else {
      f_point[k] = k < FORCE_DOFS ? force[k] : moment_at_point[k - FORCE_DOFS];
    }
  }
}

void DOF_FLAG_CHARACTERS(const int* flags, char* load_marks, char* displacement_marks) {
  const char blank = UnitLabels.blank_mark();
  const char asterisk = UnitLabels.asterisk_mark();
  for (int k = 0; k < CAP_DOFS; ++k) {
    load_marks[k] = flags[k] != 0 ? asterisk : blank;
    displacement_marks[k] = flags[k] != 0 ? blank : asterisk;
  }
}

void UPDATE_CAP_ENVELOPE(const double* load, const double* displacement) {
  auto& e = CapEnvelope;
  for (int k = 1; k <= CAP_DOFS; ++k) {
    if (AnalysisControl.first_run == 1) {
      e.max_load(k) = e.min_load(k) = load[k - 1];
      e.max_displacement(k) = e.min_displacement(k) = displacement[k - 1];
    }
    if (load[k - 1] > e.max_load(k)) e.max_load(k) = load[k - 1];
    if (displacement[k - 1] > e.max_displacement(k)) e.max_displacement(k) = displacement[k - 1];
    if (load[k - 1] < e.min_load(k)) e.min_load(k) = load[k - 1];
    if (displacement[k - 1] < e.min_displacement(k)) e.min_displacement(k) = displacement[k - 1];
  }
}

}  // namespace pilecap
