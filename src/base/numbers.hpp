// Shared numeric conventions of the engine.
// Many thresholds and steps of the engine are single-precision literals whose
// widened double values are the ones used; write them as double(1e-4f), once,
// as named constants in the module that uses them.
#pragma once

#include <cmath>
#include <limits>
#include <numbers>

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

// ANGLE_SIN_COS
// The sine and cosine of an angle in radians, exact (0, 1 or -1) at a
// multiple of a right angle: a vertical pile (90 degrees converted to
// radians) then has no component across itself, where std::cos would give
// it 6.1e-17, which couples its axial and lateral responses and breaks the
// exact symmetry of a symmetric group.
//   in:  angle (radians)
//   out: s, c
inline void ANGLE_SIN_COS(double angle, double& s, double& c) {
  constexpr double RIGHT_ANGLE = std::numbers::pi / 2.0;
  // Within a few units of the last place of a right angle (the rounding of
  // the conversion from degrees) the angle is that right angle.
  constexpr double SNAP_ULPS = 8.0;
  const double quarter_turns = std::nearbyint(angle / RIGHT_ANGLE);
  const double off = std::fabs(angle - quarter_turns * RIGHT_ANGLE);
  if (off > SNAP_ULPS * std::numeric_limits<double>::epsilon() * std::fmax(std::fabs(angle), 1.0)) {
    s = std::sin(angle);
    c = std::cos(angle);
    return;
  }
  // The quadrant 0..3 of the right angle; exact for any integer quarter_turns.
  const double quadrant = quarter_turns - 4.0 * std::floor(quarter_turns / 4.0);
  s = quadrant == 1.0 ? 1.0 : quadrant == 3.0 ? -1.0 : 0.0;
  c = quadrant == 0.0 ? 1.0 : quadrant == 2.0 ? -1.0 : 0.0;
}

}  // namespace pilecap
