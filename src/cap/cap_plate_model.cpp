// The flexible cap: a 3D run of a model whose cap is a plate hands its cap
// load here instead of solving the rigid cap. The plate model is written out
// (export) or written and analysed; during the analysis the plate asks for
// the piles' head reactions and tangents at every element pass, which are
// evaluated here in the parallel pile loop (RUN_PILE_LOOP), each pile writing
// only its own response, status word and evaluation, merged and published in
// pile order afterwards, so the plate's results do not depend on the thread
// count. The plate's load steps go to the run log and its iterations to the
// status file as the rigid cap's do. Cap vectors are in the cap order X, Y,
// Z, rotations about X, Y, Z.
#include <vector>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_full_output.hpp"
#include "cap/cap_solver.hpp"
#include "cap/model_road.hpp"
#include "cap/plate_cap.hpp"
#include "cap/progress_files.hpp"
#include "group/group_forces.hpp"
#include "group/pile_loads.hpp"
#include "group/pile_loop.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/result_codes.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr int PLOT_PLATE_FLAG = 1;  // the second plot-data record's middle value
// The head tangents use the difference steps of an early iteration: the
// plate supplies no increment of its own to size them by.
constexpr int PLATE_TANGENT_ITERATION = 1;
constexpr int PLATE_TANGENT_FIXED_STEPS = 0;
constexpr double PERCENT = 100.0;

// The load of the plate run in progress, in the cap order: the direction of
// the close-spacing factors of a pile that does not move sideways.
Array1<double, CAP_DOFS> plate_run_load{};

//
//
//
//                  *****     COMPUTATION RESULTS     *****
//
constexpr const char* RESULTS_HEADING_LAYOUT = "(/,/,/,17X,\"*****\",5X,\"COMPUTATION RESULTS\",5X,\"*****\",/)";
//
//
//
//      * TABLE I *   COMPUTATION ON INDIVIDUAL PILE
constexpr const char* TABLE_I_HEADING_LAYOUT = "(/,/,/,5X,\"* TABLE I *   COMPUTATION ON INDIVIDUAL PILE\")";

// The run of the plate under way, for its status records.
int plate_run_kind = RUN_KIND_CASE;

//      NOTE: A DISPLACEMENT PRESCRIBED AT A POINT NEEDS A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT ANALYZED
constexpr const char* PRESCRIBED_REFUSED_LAYOUT =
    "(5X,\"NOTE: A DISPLACEMENT PRESCRIBED AT A POINT NEEDS A RIGID CAP, NOT THE PLATE MODEL OF THE CAP, RUN NOT "
    "ANALYZED\")";
constexpr int DISPLACEMENT_GIVEN = 0;  // a prescription flag: the DOF's displacement is given

// Whether the run is a load case that prescribes a displacement at a point.
// The plate carries loads only: such a displacement would be dropped and the
// run answered without it, so the case is refused instead. A case whose
// point has loads only hands the plate those loads, carried to the origin.
bool displacement_prescribed(int run_kind, const int* dof_flags) {
  if (!CASE_WITH_POINT(run_kind) || dof_flags == nullptr) return false;
  for (int k = 0; k < CAP_DOFS; ++k) {
    if (dof_flags[k] == DISPLACEMENT_GIVEN) return true;
  }
  return false;
}

// A pseudo-time of the plate as a fraction of the load (the engine's plate
// data run it from 0 to 1; a plate without a span carries its whole load).
double load_fraction(double time) {
  const PlateControlRecord& c = PlateControl;
  const double span = c.TEND - c.TINI;
  return span > 0.0 ? (time - c.TINI) / span : 1.0;
}

// The plate's stepping as the rigid cap follows its own: the loads and
// movements along the piles at each step attempt's fraction, a line per load
// step on the run log (so the run log, and a host reading it, tell how far
// the plate came when a stop request ends it), and the solver's status
// records for the host's progress.
void follow_plate_progress(int event) {
  const PlateControlRecord& c = PlateControl;
  switch (event) {
    case PLATE_STEP_STARTED: {
      // The loads and soil movements along the piles follow the plate's
      // load: every attempt of a step takes them at its own fraction.
      APPLY_CONVERGED_FRACTION(load_fraction(c.TCUR));
      const double span = c.TEND - c.TINI;
      fio::write_list(UNIT_RUN_LOG);
      WRITE_CAP_TRACE_STEP(c.STEP, load_fraction(c.TCUR), span > 0.0 ? c.dt_current / span : 1.0);
      break;
    }
    case PLATE_ITERATION_STARTED:
      WRITE_SOLVER_STATUS(plate_run_kind, SOLVER_EVENT_ITERATION, c.STEP, load_fraction(c.TCUR), c.ITER + 1, MODEL_3D);
      break;
    case PLATE_STEP_ENDED:
      WRITE_SOLVER_STATUS(plate_run_kind, SOLVER_EVENT_STEP_COMPLETED, c.STEP, load_fraction(c.converged_time), c.ITER,
                          MODEL_3D);
      break;
    case PLATE_STEPPING_ENDED:
      WRITE_SOLVER_STATUS(plate_run_kind, SOLVER_EVENT_ENDED, c.STEP, 0.0, c.ITER, MODEL_3D);
      break;
    default:
      break;
  }
}

// How much of the load the plate carried: all of it, part of it (the
// pseudo-time of its last converged step), or nothing.
void write_plate_result_code() {
  const PlateControlRecord& c = PlateControl;
  if (c.STEP <= 1) {
    WRITE_RESULT_CODE(RESULT_NO_CAP_CONVERGENCE);
  } else if (c.converged_time < c.TEND) {
    const double span = c.TEND - c.TINI;
    // The pile results that follow are those of the converged part: said as
    // the rigid cap says it.
    cap_output::report_partial_load(span > 0.0 ? PERCENT * (c.converged_time - c.TINI) / span : 0.0);
  } else {
    WRITE_RESULT_CODE(RESULT_COMPLETED);
  }
}

}  // namespace

void PLATE_PILE_HEAD_RESPONSES(std::vector<PlatePileResponse>& piles, int with_stiffness, int& status) {
  const int n_piles = static_cast<int>(piles.size());
  if (RunOptions.pmult_method > 0 && n_piles == PileTable.n_piles) {
    // Every pile's factors follow its own sideways movement, set on this
    // thread before the loop reads them.
    std::vector<double> heads(static_cast<std::size_t>(CAP_DOFS * n_piles));
    for (int p = 1; p <= n_piles; ++p) {
      for (int k = 1; k <= CAP_DOFS; ++k) {
        heads[static_cast<std::size_t>(CAP_DOFS * (p - 1) + k - 1)] =
            piles[static_cast<std::size_t>(p - 1)].head_displacement(k);
      }
    }
    PILE_DIRECTION_P_MULTIPLIERS(heads.data(), plate_run_load.data());
  }
  const PlateVector6 no_increment{};
  RUN_PILE_LOOP(n_piles, status, [&](int p, PileEvaluation& evaluation, PileHeadWork& work) {
    PlatePileResponse& r = piles[static_cast<std::size_t>(p - 1)];
    int own_status = STATUS_OK;
    if (with_stiffness == 1) {
      PILE_HEAD_STIFFNESS(p, r.head_stiffness.data(), r.head_displacement.data(), no_increment.data(),
                          PLATE_TANGENT_ITERATION, PLATE_TANGENT_FIXED_STEPS, own_status, evaluation, work);
    }
    // The reaction last, so that the pile's state is that of W itself.
    PILE_HEAD_FORCES(p, r.head_forces.data(), r.head_displacement.data(), own_status, evaluation, work);
    return own_status;
  });
}

void RUN_CAP_PLATE_MODEL(int run_kind, const double* cap_load, int& status) {
  if (status != STATUS_OK) return;
  if (RunOptions.cap_model == CAP_MODEL_PLATE_EXPORT) {
    WRITE_CAP_PLATE_DATA(cap_load, status);
    if (status != STATUS_OK) {
      SET_STATUS_DETAIL(PlateFailure.detail);
      return;
    }
    WRITE_RESULT_CODE(RESULT_NOT_PERFORMED);
    return;
  }
  fio::write_list(UNIT_PLOT, AnalysisControl.analysis_kind);
  fio::write_list(UNIT_PLOT, PileTable.n_piles, PLOT_PLATE_FLAG, RunOptions.units);
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, RESULTS_HEADING_LAYOUT);
    fio::write(unit, TABLE_I_HEADING_LAYOUT);
  }
  for (int k = 1; k <= CAP_DOFS; ++k) plate_run_load(k) = cap_load[k - 1];
  WRITE_CAP_PLATE_DATA(cap_load, status);
  if (status == STATUS_OK) {
    plate_run_kind = run_kind;
    SAVE_DISTRIBUTED_LOADS();
    int moving = 0;
    SAVE_SOIL_MOVEMENTS(moving);
    WRITE_CAP_TRACE_HEADING();
    SET_PLATE_PILE_RESPONDER(PLATE_PILE_HEAD_RESPONSES);
    SET_PLATE_PROGRESS_HOOK(follow_plate_progress);
    RUN_PLATE_ANALYSIS(status);
    SET_PLATE_PROGRESS_HOOK(nullptr);
    SET_PLATE_PILE_RESPONDER(nullptr);
  }
  if (status == STATUS_PLATE_ERROR) SET_STATUS_DETAIL(PlateFailure.detail);
  if (status != STATUS_OK) return;
  write_plate_result_code();
  // The piles' results are those of the load the plate carried, with the
  // loads and movements along the piles at the same fraction.
  APPLY_CONVERGED_FRACTION(load_fraction(PlateControl.converged_time));
  WRITE_PLATE_CAP_PILE_RESULTS(status);
}

void SOLVE_PLATE_CAP(int run_kind, int& /*print_flags*/, int& status, double* /*equivalent_load*/,
                     double* /*cap_displacement*/, double* cap_load, const double* /*point_loads*/,
                     double* /*point_displacements*/, const double* /*point*/, const int* dof_flags) {
  CLEAR_WARNING_COUNTERS();
  // The run loop refuses such a model before it gets here; a direct caller is
  // refused the same way.
  const std::string feature = UNSUPPORTED_MODEL_FEATURE();
  if (!feature.empty()) {
    REPORT_UNSUPPORTED_RUN(feature);
  } else if (displacement_prescribed(run_kind, dof_flags)) {
    REPORT_REFUSED_RUN(PRESCRIBED_REFUSED_LAYOUT);
  } else {
    RUN_CAP_PLATE_MODEL(run_kind, cap_load, status);
  }
  AnalysisControl.pass_mode = 0;
}

}  // namespace pilecap
