// Debug-only checks of the engine's own invariants.
// PILECAP_ASSERT never guards bad input: that goes to the status word with a
// message. In Release builds the condition is not evaluated.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace pilecap {

// Prints where an invariant broke and aborts; used by Debug-only checks.
[[noreturn]] inline void assertion_failed(const char* condition, const char* message, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", file, line, message, condition);
  std::fflush(stderr);
  std::abort();
}

}  // namespace pilecap

#ifdef NDEBUG
#define PILECAP_ASSERT(cond, message) ((void)0)
#else
#define PILECAP_ASSERT(cond, message) \
  ((cond) ? (void)0 : ::pilecap::assertion_failed(#cond, message, __FILE__, __LINE__))
#endif
