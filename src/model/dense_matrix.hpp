// Dense matrix inversion shared by the cap solvers and the cap-stiffness
// estimation. Matrices are column-major: a(i, j) is entry (i - 1) + (j - 1)
// * lda.
#pragma once

#include "model/analysis_control.hpp"

namespace pilecap {

// INVERT_MATRIX
// Inverts the n x n matrix a (column-major, leading dimension lda) in place
// by Gauss-Jordan elimination with full pivoting; among pivot candidates of
// equal magnitude the last met (row by row) wins.
//   in,out: a         inverted when singular is 0; unusable otherwise
//   in:     n, lda    0 <= n <= MAX_INVERT_ORDER, n <= lda
//   out:    singular  0 inverted; 1 when a pivot is 0, no pivot can be
//                     chosen, an entry is not finite or n is out of range
void INVERT_MATRIX(double* a, int n, int lda, int& singular);

}  // namespace pilecap
