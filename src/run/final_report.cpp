// The end of a run and the timing of its cases: the final message of the
// status word, execution times in ms / sec / min / hr layouts, the processor
// lines, and the rule that chooses the thread count of a parallel region.
#include <omp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/analysis.hpp"
#include "run/run.hpp"

namespace pilecap {

RunTimersRecord RunTimers;

namespace {

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_HOUR = 3600;
constexpr double MILLISECONDS_PER_SECOND = 1000.0;
constexpr const char* TIME_LABEL = "     Execution Time    :";
constexpr const char* PROCESSOR_LABEL = "     Number Processors :";
constexpr const char* MS_LAYOUT = "(A24,I5,A3)";            //      Execution Time    :  250 ms
constexpr const char* SEC_LAYOUT = "(A24,I5,A4,I5,A3)";      //      Execution Time    :   75 sec  500 ms
constexpr const char* MIN_LAYOUT = "(A24,I5,A4,I5,A4,I5,A3)";
constexpr const char* HR_LAYOUT = "(A24,I8,A3,I5,A4,I5,A4,I5,A3)";
constexpr const char* PROCESSOR_LAYOUT = "(A24,I3,A1,I2)";  //      Number Processors :  1/ 8
constexpr const char* SHARE_LAYOUT = "(A24,F10.3,A4)";      //      Serial processing :     0.125 sec

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
      {STATUS_BEYOND_SIDE_RESISTANCE_CURVE,
       {ERROR_HEADING, DEPTH_BEYOND, "    OF INPUT CURVE FOR SIDE RESISTANCE"}},
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
       {ERROR_HEADING, "    GJ (TORSIONAL RIGIDITY) OF A PILE SECTION IS ZERO", "    TORQUE-ROTATION CURVE NOT GENERATED"}},
      {STATUS_SCRATCH_FILE_ERROR, {ERROR_HEADING, "    PILE RESULTS SCRATCH FILE CANNOT BE WRITTEN OR READ"}},
  };
  return table;
}

bool has_detail_line(int status) {
  return status == STATUS_INPUT_DATA_ERROR || status == STATUS_FILE_ERROR || status == STATUS_CAPACITY_EXCEEDED ||
         status == STATUS_SCRATCH_FILE_ERROR;
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

void WRITE_TIME_LINE(int unit, double seconds) {
  const int whole = static_cast<int>(seconds);
  const int ms = static_cast<int>((seconds - whole) * MILLISECONDS_PER_SECOND);
  if (seconds < 1.0) {
    fio::write(unit, MS_LAYOUT, TIME_LABEL, static_cast<int>(seconds * MILLISECONDS_PER_SECOND), " ms");
  } else if (seconds < SECONDS_PER_MINUTE) {
    fio::write(unit, SEC_LAYOUT, TIME_LABEL, whole, "sec", ms, " ms");
  } else if (seconds < SECONDS_PER_HOUR) {
    fio::write(unit, MIN_LAYOUT, TIME_LABEL, whole / SECONDS_PER_MINUTE, " min", whole % SECONDS_PER_MINUTE, " sec",
               ms, " ms");
  } else {
    fio::write(unit, HR_LAYOUT, TIME_LABEL, whole / SECONDS_PER_HOUR, " hr",
               whole / SECONDS_PER_MINUTE % SECONDS_PER_MINUTE, " min", whole % SECONDS_PER_MINUTE, " sec", ms, " ms");
  }
}

void PRINT_EXECUTION_TIME() {
  WRITE_TIME_LINE(UNIT_RUN_LOG, RunTimers.run_clock);
  fio::write(UNIT_RUN_LOG, PROCESSOR_LAYOUT, PROCESSOR_LABEL, RunTimers.threads_used_run, "/",
             AnalysisControl.threads_available);
}

void PRINT_TIMING_SUMMARY(int /*mode*/) {
  WRITE_TIME_LINE(UNIT_RUN_LOG, RunTimers.case_time);
  fio::write(UNIT_RUN_LOG, PROCESSOR_LAYOUT, PROCESSOR_LABEL, AnalysisControl.threads_used_max, "/",
             AnalysisControl.threads_available);
  RunTimers.serial_time = RunTimers.case_time - RunTimers.parallel_time - RunTimers.print_time;
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Serial processing :", RunTimers.serial_time, " sec");
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Paral. processing :", RunTimers.parallel_time, " sec");
  fio::write(UNIT_RUN_LOG, SHARE_LAYOUT, "     Print. processing :", RunTimers.print_time, " sec");
}

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

int THREAD_COUNT_RULE(int requested, int processors, int work_count, int pair_flag) {
  constexpr int PAIR_LIMIT = 2;
  constexpr int MANY_PROCESSORS = 3;
  int n = 0;
  if (requested != 0) {
    n = std::min(requested, processors);
  } else if (processors > MANY_PROCESSORS) {
    n = processors - 2;  // leave two processors to the host
  } else if (processors >= 2) {
    n = processors - 1;
  } else {
    n = processors;
  }
  n = std::min(n, work_count);
  if (pair_flag == 1) n = std::min(n, PAIR_LIMIT);
  // A region always has a thread, whatever the request or the work.
  return std::max(n, 1);
}

void SET_THREAD_COUNT(int requested, int available, int& used_max, int& used_run, int work_count, int pair_flag) {
  int processors = omp_get_num_procs();
  // A host that limited the runtime's threads before the run is honoured.
  if (available >= 1) processors = std::min(processors, available);
  const int n = THREAD_COUNT_RULE(requested, processors, work_count, pair_flag);
  used_max = std::max(used_max, n);
  used_run = std::max(used_run, n);
  omp_set_num_threads(n);
}

}  // namespace pilecap
