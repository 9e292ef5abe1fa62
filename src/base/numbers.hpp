// Shared numeric conventions of the engine.
// Many thresholds and steps of the engine are single-precision literals whose
// widened double values are the ones used; write them as double(1e-4f), once,
// as named constants in the module that uses them.
#pragma once

namespace pilecap {

// 10 raised to an integer power in single precision, widened to double:
// a positive power by repeated multiplication, a negative one as the
// reciprocal of the positive power (so 10^-2 is 0.01f, 0.009999999776482582).
inline double single_power_of_ten(int exponent) {
  float power = 1.0f;
  const int steps = exponent < 0 ? -exponent : exponent;
  for (int k = 0; k < steps; ++k) power *= 10.0f;
  return exponent < 0 ? static_cast<double>(1.0f / power) : static_cast<double>(power);
}

}  // namespace pilecap
