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

void SOLVE_CAP_3D(int /*run_kind*/, int& /*print_flags*/, int& /*status*/, double* /*equivalent_load*/,
                  double* /*cap_displacement*/, double* /*cap_load*/, const double* /*point_loads*/,
                  double* /*point_displacements*/, const double* /*point*/, const int* /*dof_flags*/) {}

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
