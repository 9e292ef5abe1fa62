// Checks of the engine's own invariants.
// PILECAP_ASSERT never guards bad input: that goes to the status word with a
// message. In Release builds the condition is not evaluated.
// PILECAP_CHECK is evaluated in every build: for a misuse whose silent
// passing would leave state dangling for later calls to trip over; it costs
// a comparison where it stands, so it stays out of inner loops.
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

#define PILECAP_CHECK(cond, message) \
  ((cond) ? (void)0 : ::pilecap::assertion_failed(#cond, message, __FILE__, __LINE__))

#ifdef NDEBUG
#define PILECAP_ASSERT(cond, message) ((void)0)
#else
#define PILECAP_ASSERT(cond, message) \
  ((cond) ? (void)0 : ::pilecap::assertion_failed(#cond, message, __FILE__, __LINE__))
#endif
