// Routines the run loop calls that are not built yet: the cap solvers, the
// points of stiffness estimation and incremental analysis, and two services
// of the input echo and the p-y curves. The solvers write their own result
// code when they exist; until then a run leaves no code. A case with
// estimation or pushover points is reported as not analysed.
#include <string>

#include "analysis/analysis.hpp"
#include "run/run.hpp"

namespace pilecap {

PileErrorWordRecord PileErrorWord;

namespace {

//      NOTE: STIFFNESS ESTIMATION AND PUSHOVER POINTS ARE NOT ANALYZED
constexpr const char* POINTS_NOT_ANALYSED_LAYOUT =
    "(5X,\"NOTE: STIFFNESS ESTIMATION AND PUSHOVER POINTS ARE NOT ANALYZED\")";

}  // namespace

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

// The reports of a solved 3D run (tables, print pass, envelopes) come later;
// until then a run ends with its result-code line only.
void REPORT_CAP_SOLUTION_3D(CapSolverState3D& state, int& /*status*/) {
  int code = 0;
  double percent = 0.0;
  CAP_RESULT_CODE_3D(state, code, percent);
  WRITE_RESULT_CODE(code, percent);
  AnalysisControl.pass_mode = 0;
}

void SOLVE_CAP_2D(int /*run_kind*/, int& /*print_flags*/, int& /*status*/, double* /*equivalent_load*/,
                  double* /*cap_displacement*/, double* /*cap_load*/, const double* /*point_loads*/,
                  double* /*point_displacements*/, const double* /*point*/, const int* /*dof_flags*/) {}

void RUN_ESTIMATION_POINTS(int /*c*/, int& /*status*/) {
  fio::write(UNIT_RUN_LOG, POINTS_NOT_ANALYSED_LAYOUT);
  WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
}

void LOAD_TYPE_NAME(int /*code*/, std::string& name) { name.assign(LOAD_TYPE_NAME_LENGTH, ' '); }

void PRINT_GENERATED_PY_CURVES(int& /*status*/) {}

}  // namespace pilecap
