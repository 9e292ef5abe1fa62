// The shared library's own translation unit: the engine comes whole from the
// static core, and the export map keeps DUVIZU as its only exported symbol.
#include "run/duvizu.hpp"

// Referenced here so a linker never drops the entry point.
[[maybe_unused]] static int (*const exported_entry)(void) = &DUVIZU;
