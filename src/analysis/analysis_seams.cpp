// Routines the run loop and the cap solvers call that are not built yet: the
// terms of the 3D solver for the embedded cap, direction-dependent reduction
// factors and the plate model, the embedded-cap element of the 2D solver, and
// the result road of the incremental (pushover) points. A case with
// pushover points is reported as not analysed.

#include "analysis/analysis.hpp"

namespace pilecap {

// The embedded cap, the direction-dependent reduction factors, the
// difference tangent and the plate model compute nothing yet; the 3D solver
// reports a model that selects them as not supported before it gets here.
void CAP_PASSIVE_RESULTANT(double* passive, const double* /*u*/, int& /*status*/) {
  for (int k = 0; k < CAP_DOFS; ++k) passive[k] = 0.0;
}
void CAP_PASSIVE_RESULTANT_STIFFNESS(double* k, const double* /*u*/, const double* /*du*/, int /*iteration*/,
                                     int /*fixed_steps*/, int& /*status*/) {
  for (int i = 0; i < CAP_DOFS * CAP_DOFS; ++i) k[i] = 0.0;
}
void CAP_PASSIVE_FORCE(double* passive, const double* /*u*/, int& /*status*/) {
  for (int k = 0; k < CAP_DOFS; ++k) passive[k] = 0.0;
}
void CAP_PASSIVE_STIFFNESS(double* k, const double* /*u*/, const double* /*du*/, int /*iteration*/, int /*fixed_steps*/,
                           int& /*status*/) {
  for (int i = 0; i < CAP_DOFS * CAP_DOFS; ++i) k[i] = 0.0;
}
void CAP_STIFFNESS_BY_DIFFERENCES(double* k, const double* /*u*/, const double* /*du*/, const double* /*cap_load*/,
                                  int /*iteration*/, int /*fixed_steps*/, int /*torsion_only*/, int& /*status*/) {
  for (int i = 0; i < CAP_DOFS * CAP_DOFS; ++i) k[i] = 0.0;
}
void UPDATE_DIRECTION_P_MULTIPLIERS(const double* /*u*/, const double* /*direction*/, int /*iteration*/,
                                    int /*torsion_only*/) {}
void RUN_CAP_PLATE_MODEL(double* /*cap_load*/) {}

// The records of the incremental (pushover) points are not built yet; no
// run takes this road until the points of that analysis exist.
void REPORT_PUSHOVER_POINT_3D(CapSolverState3D& /*state*/, int& /*status*/) {}
void REPORT_PUSHOVER_POINT_2D(CapSolverState2D& /*state*/, int& /*status*/) {}

// The embedded-cap element of the plane model computes nothing yet; a model
// that selects it is refused before its runs.
void CAP_PASSIVE_FORCE_2D(double* passive, const double* /*u*/, int& /*status*/) {
  for (int k = 0; k < CAP_DOFS_2D; ++k) passive[k] = 0.0;
}

}  // namespace pilecap
