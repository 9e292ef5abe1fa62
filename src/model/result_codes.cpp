// The lines of the result-code file, one per outcome.
#include "model/result_codes.hpp"

#include "base/fio.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

//     1 ANALYSIS COMPLETED
constexpr const char* COMPLETED_LAYOUT = "(\"    1 ANALYSIS COMPLETED\")";
//     2 SOLUTION AT    62.50 % OF THE TOTAL LOAD
constexpr const char* PARTIAL_LOAD_LAYOUT = "(\"    2 SOLUTION AT \",F8.2,\" % OF THE TOTAL LOAD\")";
constexpr const char* NO_CAP_CONVERGENCE_LAYOUT = "(\"    3 NO CONVERGENCE ON PILE CAP\")";
constexpr const char* SKIPPED_ZERO_FORCE_LAYOUT = "(\"    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\")";
//      9 ANALYSIS NOT PERFORMED   (the code one column further right)
constexpr const char* NOT_PERFORMED_LAYOUT = "(\"     9 ANALYSIS NOT PERFORMED\")";
constexpr const char* ESTIMATION_COMPLETED_LAYOUT = "(\"    10 ANALYSIS COMPLETED\")";

}  // namespace

void WRITE_RESULT_CODE(int code, double percent) {
  switch (code) {
    case RESULT_COMPLETED:
      fio::write(UNIT_RESULT_CODES, COMPLETED_LAYOUT);
      break;
    case RESULT_PARTIAL_LOAD:
      fio::write(UNIT_RESULT_CODES, PARTIAL_LOAD_LAYOUT, percent);
      break;
    case RESULT_NO_CAP_CONVERGENCE:
      fio::write(UNIT_RESULT_CODES, NO_CAP_CONVERGENCE_LAYOUT);
      break;
    case RESULT_SKIPPED_ZERO_CAP_FORCE:
      fio::write(UNIT_RESULT_CODES, SKIPPED_ZERO_FORCE_LAYOUT);
      break;
    case RESULT_NOT_PERFORMED:
      fio::write(UNIT_RESULT_CODES, NOT_PERFORMED_LAYOUT);
      break;
    case RESULT_ESTIMATION_COMPLETED:
      fio::write(UNIT_RESULT_CODES, ESTIMATION_COMPLETED_LAYOUT);
      break;
    default:
      break;
  }
}

}  // namespace pilecap
