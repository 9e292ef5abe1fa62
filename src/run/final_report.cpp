// The end of a run and the timing of its cases: the final message of the
// status word, execution times in ms / sec / min / hr layouts, the processor
// lines, and the rule that chooses the thread count of a parallel region.
#include <omp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run/run.hpp"

namespace pilecap {

namespace {

// The lines of the final message of each status code, after the line "    ".
struct FinalMessage {
  int code;
  std::vector<const char*> lines;
};

const char* const ERROR_HEADING = "    * ERROR IN ANALYSIS *";
const char* const DEPTH_BEYOND = "    CURRENT DEPTH IS BEYOND THE EXTENT";

const std::vector<FinalMessage>& final_messages() {
  static const std::vector<FinalMessage> table = {
      {STATUS_OK, {"    ANALYSIS COMPLETED"}},
      {1, {ERROR_HEADING, "    1, UNKNOWN CODE"}},
      {2, {ERROR_HEADING, "    2, UNKNOWN CODE"}},
      {STATUS_PILE_BELOW_DEEPEST_LAYER,
       {ERROR_HEADING, "    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE"}},
      {STATUS_STOPPED_BY_USER, {"     *** ANALYSIS STOPPED BY USER ***"}},
      {STATUS_METHOD_KFLAG_CONFLICT, {ERROR_HEADING, "    12, UNKNOWN CODE"}},
      {STATUS_PILE_BELOW_DEEPEST_LAYER_2D,
       {ERROR_HEADING, "    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE2D"}},
      {STATUS_ZERO_DETERMINANT, {ERROR_HEADING, "    DETERMINANT OF STIFFNESS MATRIX IS ZERO"}},
      {STATUS_WEAK_ROCK_ZERO_COHESION, {ERROR_HEADING, "    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"}},
      {STATUS_BEYOND_UNIT_WEIGHT_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR UNIT WEIGHT"}},
      {STATUS_BEYOND_COHESION_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR COHESION"}},
      {STATUS_BEYOND_FRICTION_ANGLE_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
      {STATUS_BEYOND_SIDE_FRICTION_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR SIDE FRICTION"}},
      {STATUS_BEYOND_SIDE_RESISTANCE_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR SIDE RESISTANCE"}},
      // The strength curve reports as the friction-angle curve.
      {STATUS_BEYOND_STRENGTH_CURVE, {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
      {STATUS_SILT_ZERO_FRICTION_ANGLE, {ERROR_HEADING, "    SILT, THE FRICTION ANGLE IS ZERO"}},
      {STATUS_SILT_SLOPE_ABOVE_FRICTION, {ERROR_HEADING, "    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
      {STATUS_SAND_ZERO_FRICTION_ANGLE, {ERROR_HEADING, "    SAND, THE FRICTION ANGLE IS ZERO"}},
      {STATUS_SAND_SLOPE_ABOVE_FRICTION, {ERROR_HEADING, "    SAND, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
      {STATUS_LS_CURVE_ZERO_E50, {ERROR_HEADING, "     LS CURVE, E50 VALUE IS ZERO"}},
      {STATUS_LS_CURVE_ZERO_COHESION, {ERROR_HEADING, "      LS CURVE, COHESION VALUE IS ZERO"}},
      {STATUS_TORQUE_CURVE_ZERO_E50, {ERROR_HEADING, "     TORQUE CURVE, E50 VALUE IS ZERO"}},
      {STATUS_TORQUE_CURVE_ZERO_COHESION, {ERROR_HEADING, "     TORQUE CURVE, COHESION VALUE IS ZERO"}},
      {STATUS_AXIAL_FORCE_NO_CONVERGENCE,
       {ERROR_HEADING, "     CONVERGENCE ERROR, ", "     WHILE COMPUTING AXIAL FORCES ALONG PILE"}},
      {STATUS_INPUT_DATA_ERROR, {ERROR_HEADING, "    ERROR IN INPUT DATA"}},
      {STATUS_FILE_ERROR, {ERROR_HEADING, "    FILE CANNOT BE OPENED"}},
      {STATUS_CAPACITY_EXCEEDED, {ERROR_HEADING, "    INPUT EXCEEDS THE CAPACITY OF THE MODEL"}},
      {STATUS_GENERATION_NO_CONVERGENCE,
       {ERROR_HEADING, "    CONVERGENCE ERROR WHILE GENERATING", "    LOAD-SETTLEMENT OR TORQUE-ROTATION CURVE"}},
      {STATUS_ZERO_TORSIONAL_RIGIDITY,
       {ERROR_HEADING, "    GJ (TORSIONAL RIGIDITY) OF A PILE SECTION IS ZERO",
        "    TORQUE-ROTATION CURVE NOT GENERATED"}},
      {STATUS_SCRATCH_FILE_ERROR, {ERROR_HEADING, "    PILE RESULTS SCRATCH FILE CANNOT BE WRITTEN OR READ"}},
      {STATUS_PLATE_ERROR, {ERROR_HEADING, "    ERROR IN THE PLATE MODEL OF THE CAP"}},
  };
  return table;
}

// The soil and curve-generation codes get the line that names their place
// when the routine that met them could name it (the curve generators of the
// input echo); the other codes with a detail line always have one.
bool has_detail_line(int status) {
  const bool soil_or_generation =
      (status >= STATUS_WEAK_ROCK_ZERO_COHESION && status <= STATUS_AXIAL_FORCE_NO_CONVERGENCE) ||
      status == STATUS_GENERATION_NO_CONVERGENCE || status == STATUS_ZERO_TORSIONAL_RIGIDITY;
  if (soil_or_generation) return !STATUS_DETAIL().empty();
  return status == STATUS_INPUT_DATA_ERROR || status == STATUS_FILE_ERROR || status == STATUS_CAPACITY_EXCEEDED ||
         status == STATUS_SCRATCH_FILE_ERROR || status == STATUS_PLATE_ERROR;
}

// The final message of the word on one unit, each line list-directed.
void write_final_message(int unit, int status) {
  fio::write_list(unit, "    ");
  for (const FinalMessage& message : final_messages()) {
    if (message.code != status) continue;
    for (const char* line : message.lines) fio::write_list(unit, line);
    if (has_detail_line(status)) fio::write_list(unit, STATUS_DETAIL());
    return;
  }
  fio::write_list(unit, ERROR_HEADING);
  fio::write_list(unit, "    ", status, ", UNKNOWN CODE");
}

}  // namespace

void REPORT_FINAL_STATUS(int& status) {
  // The reports are complete before the check, so the final message can say
  // whether every line of them reached its file.
  if (status == STATUS_STOPPED_BY_USER) {
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      fio::write_list(unit, "     ");
      fio::write_list(unit, "     *** ANALYSIS STOPPED BY USER ***");
    }
  }
  COPY_SUMMARY_SCRATCH();
  CHECK_FILE_WRITES(status);
  write_final_message(UNIT_RUN_LOG, status);
  fio::flush(UNIT_RUN_LOG);
  PRINT_EXECUTION_TIME();
  // A refused write may have hit the run log itself: the other reports
  // carry the message too.
  fio::WriteFailure failure;
  if (status == STATUS_FILE_ERROR && fio::first_write_failure(failure)) {
    for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY}) {
      if (unit != failure.unit && fio::is_open(unit)) write_final_message(unit, status);
    }
  }
  CLOSE_RUN_UNITS();
}

}  // namespace pilecap
