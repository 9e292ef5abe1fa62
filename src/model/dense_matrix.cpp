// In-place inversion by Gauss-Jordan elimination with full pivoting (no
// right-hand side; the column exchanges are undone at the end).
#include "model/dense_matrix.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace pilecap {

namespace {

// One-based view of a column-major matrix with leading dimension lda.
template <class T>
struct MatrixView {
  T* data;
  int lda;
  T& operator()(int i, int j) const { return data[(i - 1) + static_cast<std::ptrdiff_t>(j - 1) * lda]; }
};

bool all_finite(const MatrixView<double>& a, int n) {
  for (int j = 1; j <= n; ++j) {
    for (int i = 1; i <= n; ++i) {
      if (!std::isfinite(a(i, j))) return false;
    }
  }
  return true;
}

}  // namespace

void INVERT_MATRIX(double* matrix, int n, int lda, int& singular) {
  singular = 0;
  if (n <= 0) return;
  if (n > MAX_INVERT_ORDER || lda < n) {
    singular = 1;
    return;
  }
  const MatrixView<double> a{matrix, lda};
  // A non-finite entry can never give a usable inverse; the callers treat
  // the flag like a zero pivot.
  if (!all_finite(a, n)) {
    singular = 1;
    return;
  }
  std::array<int, MAX_INVERT_ORDER + 1> pivot_count{};
  std::array<int, MAX_INVERT_ORDER + 1> pivot_row_of_step{};
  std::array<int, MAX_INVERT_ORDER + 1> pivot_column_of_step{};

  for (int step = 1; step <= n; ++step) {
    double big = 0.0;
    int pivot_row = 0;
    int pivot_column = 0;
    for (int r = 1; r <= n; ++r) {
      if (pivot_count[r] == 1) continue;
      for (int c = 1; c <= n; ++c) {
        if (pivot_count[c] == 0) {
          // Greater-or-equal: among equal magnitudes the last met wins.
          if (std::fabs(a(r, c)) >= big) {
            big = std::fabs(a(r, c));
            pivot_row = r;
            pivot_column = c;
          }
        } else if (pivot_count[c] > 1) {
          singular = 1;
          return;
        }
      }
    }
    if (pivot_column == 0) {  // nothing selectable: no usable pivot is left
      singular = 1;
      return;
    }
    ++pivot_count[pivot_column];
    if (pivot_row != pivot_column) {
      for (int c = 1; c <= n; ++c) std::swap(a(pivot_row, c), a(pivot_column, c));
    }
    pivot_row_of_step[step] = pivot_row;
    pivot_column_of_step[step] = pivot_column;
    const int pc = pivot_column;
    if (a(pc, pc) == 0.0) {
      singular = 1;
      return;
    }
    const double reciprocal = 1.0 / a(pc, pc);
    if (!std::isfinite(reciprocal)) {  // a subnormal pivot: the inverse would overflow
      singular = 1;
      return;
    }
    a(pc, pc) = 1.0;
    for (int c = 1; c <= n; ++c) a(pc, c) *= reciprocal;
    for (int r = 1; r <= n; ++r) {
      if (r == pc) continue;
      const double factor = a(r, pc);
      a(r, pc) = 0.0;
      for (int c = 1; c <= n; ++c) a(r, c) -= a(pc, c) * factor;
    }
  }
  for (int step = n; step >= 1; --step) {
    const int row = pivot_row_of_step[step];
    const int column = pivot_column_of_step[step];
    if (row == column) continue;
    for (int i = 1; i <= n; ++i) std::swap(a(i, row), a(i, column));
  }
}

}  // namespace pilecap
