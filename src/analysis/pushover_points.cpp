// The points of a plain load case with incremental (pushover) points: each
// point runs the case's full loads times its multiplier, the components the
// case keeps unscaled excepted, and reports the group's response there; the
// last point is the run at the total load. Points are 1-based; cap vectors
// are 1-based 6-vectors in the cap order (FX, FY, FZ, MX, MY, MZ; in 2D
// FX, FY, MZ in entries 1 to 3).
#include "analysis/case_runs.hpp"
#include "base/fio.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "group/pile_loads.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

constexpr int KEEPS_ITS_VALUE = 1;    // an unscaled-component flag
constexpr int DISTRIBUTED_FLAG = 7;   // the flag of the distributed loads
constexpr int MOVEMENTS_FLAG = 8;     // the flag of the soil movements
constexpr int POINT_LOADS_GIVEN = 1;  // LoadCase.point_loads_flag

// The flag of each cap component in space: the input labels flags 1 to 6
// X, Y, rotation Z, Z, rotation Y, rotation X (as the echo prints them), so
// cap entry 6 (MZ) follows flag 3 and entry 3 (FZ) flag 4. In the plane
// entries 1 to 3 (FX, FY, MZ) follow flags 1 to 3.
constexpr int FLAG_OF_COMPONENT_3D[CAP_DOFS] = {1, 2, 4, 6, 5, 3};

//      INCREMENTAL/PUSHOVER ANALYSIS, POINT :    1/   3 FACTOR :      0.50000
constexpr const char* POINT_LOG_LAYOUT =
    "(/,5X,\"INCREMENTAL/PUSHOVER ANALYSIS, \",\"POINT : \",I4,\"/\",I4,\" FACTOR : \",F12.5)";
constexpr const char* POINT_CODES_LAYOUT =
    "(6X,\"INCREMENTAL/PUSHOVER ANALYSIS, \",\"POINT : \",I4,\"/\",I4,\" FACTOR : \",F12.5)";
//      POINT=    1
constexpr const char* POINT_PILES_LAYOUT = "(5X,\"POINT=\",I5)";
// Total-load headings of a case with more than one point.
constexpr const char* TOTAL_LOAD_LOG_LAYOUT = "(/,5X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TOTAL_LOAD_DUMP_LAYOUT = "(5X,\"ANALYSIS DUE TO TOTAL LOAD\")";
constexpr const char* TOTAL_LOAD_REPORT_LAYOUT = "(/,/,5X,\"* ANALYSIS DUE TO TOTAL LOAD *\",/)";

// The loads of point p: the case's full loads, every component whose flag
// is 0 times m together with its prescribed displacement and, in a case
// with loads at a point, its load there (the solver takes a point run's
// loads from the point); the loads and movements along the piles unless
// their flags keep them.
void scale_point_loads(int c, RunVectors& v, double m) {
  const AnalysisControlRecord& a = AnalysisControl;
  const bool plane = RUN_MODEL_ROAD().kind == CapModelKind::PLANE_RIGID;
  const int n_dofs = RUN_MODEL_ROAD().dofs;
  const bool point_loads = LoadCase.point_loads_flag(c) == POINT_LOADS_GIVEN;
  for (int k = 1; k <= n_dofs; ++k) {
    const int flag = plane ? k : FLAG_OF_COMPONENT_3D[k - 1];
    if (a.unscaled_components(flag) == KEEPS_ITS_VALUE) continue;
    v.working_load(k) *= m;
    v.saved_displacements(k) *= m;
    if (point_loads) v.point_loads(k) *= m;
  }
  if (a.unscaled_components(DISTRIBUTED_FLAG) != KEEPS_ITS_VALUE) SCALE_DISTRIBUTED_LOADS(m);
  if (a.unscaled_components(MOVEMENTS_FLAG) != KEEPS_ITS_VALUE) SCALE_SOIL_MOVEMENTS(m);
}

}  // namespace

void RUN_PUSHOVER_POINTS(int c, RunVectors& v, int& status) {
  AnalysisControlRecord& a = AnalysisControl;
  const int n_points = a.point_count - 1;
  for (int p = 1; p <= n_points; ++p) {
    a.current_point = p;
    a.current_dof = 1;
    DofRunMode.mode = DOF_RUN_NONE;
    a.pushover_active = 1;
    if (p == 1) PRINT_PUSHOVER_HEADER();
    LOAD_CASE_FULL_LOADS(c, v);
    const double m = a.point_multipliers(p);
    scale_point_loads(c, v, m);
    fio::write(UNIT_RUN_LOG, POINT_LOG_LAYOUT, p, n_points, m);
    fio::flush(UNIT_RUN_LOG);
    fio::write(UNIT_RESULT_CODES, POINT_CODES_LAYOUT, p, n_points, m);
    RUN_CASE_ONCE(c, v, status);
    if (status != STATUS_OK) {
      a.pushover_active = 0;
      return;
    }
    fio::write(UNIT_CAP_MODEL_PILES, POINT_PILES_LAYOUT, p);
  }

  a.current_point = a.point_count;
  a.current_dof = 1;
  a.pushover_active = 0;
  fio::write(UNIT_RUN_LOG, TOTAL_LOAD_LOG_LAYOUT);
  fio::flush(UNIT_RUN_LOG);
  fio::write(UNIT_ITERATION_DUMP, TOTAL_LOAD_DUMP_LAYOUT);
  fio::flush(UNIT_ITERATION_DUMP);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) fio::write(unit, TOTAL_LOAD_REPORT_LAYOUT);
  RUN_TOTAL_LOAD_POINT(c, v, status);
}

}  // namespace pilecap
