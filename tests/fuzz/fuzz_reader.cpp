// libFuzzer target: one input deck through the reader, the conversion of
// input units and the input echo (with the generation of the axial and
// torsional curves), every report on an in-memory unit, as a run takes it up
// to its first load case. Any crash, sanitizer report or hang is a fault; so
// is an error of any code that ends without the detail line naming its place.
// Built by tests/fuzz/CMakeLists.txt with clang and run by
// tools/fuzz_reader.sh; the test binary never sees it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/fio.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "soil/py_curves.hpp"

namespace {

using namespace pilecap;

// The files a run's input phase opens by name; the rest are memory units.
constexpr const char* DISCARDED_FILE = "/dev/null";

// Every code that ends the input phase names its place: the input data and
// capacity codes the line and the value, the file codes the file, the soil
// and curve-generation codes of the echo the curve, pile, property set and
// layer with their input lines.
bool names_its_place(int status) { return status != STATUS_OK; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view deck(reinterpret_cast<const char*>(data), size);
  int status = STATUS_OK;
  SET_STATUS_DETAIL("");
  ALLOCATE_MODEL_ARRAYS(status);
  if (status != STATUS_OK) __builtin_trap();
  for (int unit = 0; unit <= fio::MAX_UNIT; ++unit) {
    if (unit != UNIT_INPUT) fio::open_memory(unit);
  }
  fio::open_memory(UNIT_INPUT, deck);
  RunFiles.input_file = "fuzz.inp";
  RunFiles.curve_export_file = DISCARDED_FILE;
  RunFiles.generated_axial_curves_file = DISCARDED_FILE;

  READ_INPUT_FILE(status);
  if (status == STATUS_OK) CONVERT_INPUT_UNITS(status);
  if (status == STATUS_OK) ECHO_INPUT_DATA(status);
  // A refusal the engine cannot place is a failure reported without its cause.
  if (names_its_place(status) && STATUS_DETAIL().empty()) __builtin_trap();

  fio::close_all();
  int release_status = STATUS_OK;
  RELEASE_MODEL_ARRAYS(release_status);
  RELEASE_PY_CURVE_CACHE();
  return 0;
}
