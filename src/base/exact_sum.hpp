// The correctly rounded sum of a sequence of doubles: the exact sum is kept
// as a short list of non-overlapping partial sums (each addition split into
// its rounded value and its exact error, Shewchuk's error-free transformation
// as in "Adaptive precision floating-point arithmetic and fast robust
// geometric predicates", 1997), and rounded once, to nearest with ties to
// even, when it is read. The result does not depend on the order of the
// terms, so the forces of a group whose piles mirror each other cancel to an
// exact zero whatever the pile numbering. Needs IEEE double arithmetic
// without contraction into fused multiply-adds (the engine is built so).
#pragma once

#include <cmath>

namespace pilecap {

// ExactSum
// Add terms with add(), read the correctly rounded sum with value(). A term
// that is not a finite number makes the sum the plain running sum of the
// terms (infinite or not a number), as a sequential sum would be.
class ExactSum {
 public:
  // Partials kept: sums of terms of ordinary sizes need a handful (the
  // exponent range of the terms over 53 bits at most).
  static constexpr int CAPACITY = 48;

  void add(double x) {
    if (!std::isfinite(x) || !finite_) {
      finite_ = false;
      plain_ += x;
      return;
    }
    plain_ += x;
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
      double y = partials_[i];
      if (std::fabs(x) < std::fabs(y)) {
        const double t = x;
        x = y;
        y = t;
      }
      const double hi = x + y;
      const double lo = y - (hi - x);
      if (lo != 0.0) partials_[kept++] = lo;
      x = hi;
    }
    if (!std::isfinite(x)) {
      // The partial sums overflowed: the exact sum is beyond the doubles.
      finite_ = false;
      return;
    }
    if (kept == CAPACITY) {
      // Only terms made to fill every bit of the exponent range get here:
      // the two smallest partials are merged, rounded.
      partials_[1] += partials_[0];
      for (int i = 1; i < CAPACITY; ++i) partials_[i - 1] = partials_[i];
      --kept;
    }
    partials_[kept] = x;
    count_ = kept + 1;
  }

  double value() const {
    if (!finite_) return plain_;
    if (count_ == 0) return 0.0;
    int n = count_ - 1;
    double hi = partials_[n];
    double lo = 0.0;
    // From the largest partial down while the additions stay exact.
    while (n > 0) {
      const double x = hi;
      const double y = partials_[--n];
      hi = x + y;
      lo = y - (hi - x);
      if (lo != 0.0) break;
    }
    // Halfway case: the error and the next partial point the same way, so
    // the rounding of hi + lo went the wrong way of a tie.
    if (n > 0 && ((lo < 0.0 && partials_[n - 1] < 0.0) || (lo > 0.0 && partials_[n - 1] > 0.0))) {
      const double y = lo * 2.0;
      const double x = hi + y;
      if (y == x - hi) hi = x;
    }
    return hi;
  }

 private:
  double partials_[CAPACITY] = {};
  int count_ = 0;
  bool finite_ = true;
  double plain_ = 0.0;
};

}  // namespace pilecap
