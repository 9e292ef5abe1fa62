// The status and detail line of a reference the input makes to something
// it does not hold (a cross section, a property set, a pile, a curve).
#include <string>
#include <string_view>

#include "input/input.hpp"
#include "model/run_state.hpp"

namespace pilecap {

namespace {

// The detail line of a rejected reference is indented as the lines above it.
constexpr std::string_view DETAIL_INDENT = "    ";

}  // namespace

void REJECT_INPUT_REFERENCE(int& status, int input_section, const std::string& item, int value,
                            std::string_view reason) {
  std::string detail(DETAIL_INDENT);
  detail.append("INPUT SECTION ").append(std::to_string(input_section)).append(", ").append(item);
  detail.append(": '").append(std::to_string(value)).append("' (").append(reason).append(")");
  SET_STATUS_DETAIL(detail);
  status = STATUS_INPUT_DATA_ERROR;
}

}  // namespace pilecap
