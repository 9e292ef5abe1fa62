// The plot-data export request as the input echo admits it: the plot
// segments per pile, and an export deflection list the spring curves can be
// built on (mirrored through the origin and interpolated between points).
#include <string>
#include <string_view>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "input/input_reader.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace pilecap {

namespace {

constexpr int INPUT_SECTION_PLOT_EXPORT = 22;
constexpr int PLOT_EXPORT_ON = 1;
// Fewest points of a curve branch: a curve needs one segment.
constexpr int MIN_EXPORT_DEFLECTIONS = 2;

// "    INPUT SECTION 22, EXPORT DEFLECTION 3: '0.25' (NOT ABOVE THE ONE BEFORE)"
void reject(int& status, const std::string& item, const std::string& value, std::string_view reason) {
  std::string detail("    INPUT SECTION ");
  detail.append(std::to_string(INPUT_SECTION_PLOT_EXPORT)).append(", ").append(item);
  detail.append(": '").append(value).append("' (").append(reason).append(")");
  SET_STATUS_DETAIL(detail);
  status = STATUS_INPUT_DATA_ERROR;
}

}  // namespace

void CHECK_PLOT_EXPORT_REQUEST(int& status) {
  if (RunOptions.plot_export != PLOT_EXPORT_ON) return;
  const auto& request = PyExportRequest;
  if (request.plot_nodes < 1) {
    reject(status, "PLOT SEGMENTS", std::to_string(request.plot_nodes), "ONE SEGMENT AT LEAST");
    return;
  }
  // Without a list (or with an empty one) the default deflections serve.
  if (request.deflection_list_flag < 1 || request.num_deflections == 0) return;
  const int n = request.num_deflections;
  if (n < MIN_EXPORT_DEFLECTIONS || n > MAX_GENERATED_PY_POINTS) {
    reject(status, "EXPORT DEFLECTIONS", std::to_string(n), "2 TO 25 DEFLECTIONS");
    return;
  }
  for (int i = 1; i <= n; ++i) {
    const double y = request.deflections(i);
    const std::string item = "EXPORT DEFLECTION " + std::to_string(i);
    // Only the first point may sit at the origin: the curve is mirrored there.
    const bool rises = i == 1 ? y >= 0.0 : y > request.deflections(i - 1);
    if (!rises) {
      reject(status, item, input_detail::number_text(y), i == 1 ? "NEGATIVE" : "NOT ABOVE THE ONE BEFORE");
      return;
    }
  }
}

}  // namespace pilecap
