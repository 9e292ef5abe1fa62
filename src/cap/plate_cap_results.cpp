// The pile results of a run whose cap is the plate: after the plate has
// converged, every pile is evaluated once more at the head displacement the
// plate gives it, as a final print pass, and the run's per-pile output is
// written by the same writers as after a rigid-cap run (pile-top
// displacements and reactions, tables along the piles by the print option,
// plastic hinges, the per-pile summary rows and summary tables). The cap
// itself has no single displacement at the origin: its displacements,
// moments and shears are the plate's, in the plate's own listing, which the
// results report and the summary name in one line. Head vectors are in
// global (cap) axes at each head, in the cap order X, Y, Z, rotations.
#include <vector>

#include "base/fio.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "cap/plate_cap.hpp"
#include "capstiffness/capstiffness.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "plate/plate.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

//      THE CAP IS THE PLATE MODEL: ITS DISPLACEMENTS, MOMENTS AND SHEARS ARE IN flexible_cap.plate.lst
constexpr const char* PLATE_LISTING_LINE_LAYOUT =
    "(/,5X,\"THE CAP IS THE PLATE MODEL: ITS DISPLACEMENTS, MOMENTS AND SHEARS ARE IN \",A)";

constexpr int PRINT_PASS = 1;  // AnalysisControl.pass_mode of a final print pass

}  // namespace

void WRITE_PLATE_CAP_PILE_RESULTS(int& status) {
  if (status != STATUS_OK) return;
  // Without a converged step the plate gives the piles no state to report,
  // as a rigid cap that did not converge prints no tables.
  if (PlateControl.STEP <= 1) return;
  std::vector<PlatePileResponse>& piles = PlatePileCoupling.piles;
  if (static_cast<int>(piles.size()) != PileTable.n_piles) return;

  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
    fio::write(unit, PLATE_LISTING_LINE_LAYOUT, PlateFileNames.listing_file);
  }
  // The factors of the converged plate: its final pass set them from the
  // head displacements the print pass evaluates again.
  if (RunOptions.pmult_method > 0) REPORT_REDUCTION_FACTORS(MODEL_3D);
  AnalysisControlRecord& a = AnalysisControl;
  if (a.output_option > 0) WRITE_TABLE_M_TITLES();

  // The final print pass fills every pile's result stores at the head
  // displacement of the converged plate.
  a.pass_mode = PRINT_PASS;
  if (OPEN_FILE_FOR_WRITING(UNIT_PILE_RESULTS_SCRATCH, RunFiles.pile_results_scratch_file, status)) {
    PLATE_PILE_HEAD_RESPONSES(piles, 0, status);
  }
  fio::close(UNIT_PILE_RESULTS_SCRATCH);
  if (status == STATUS_OK) ENVEWR(ENVELOPE_KIND_RUN, 0, status);
  if (DofRunMode.mode == DOF_RUN_NONE) ++a.first_run;
  a.pass_mode = 0;
}

}  // namespace pilecap
