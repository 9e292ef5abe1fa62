// Dense services of the cap solvers: the in-place inversion against the
// identity A * inv(A) = I and against known exact inverses, its pivot tie
// rule and singular inputs; the 6 x 6 product, the largest translation and
// rotation, and the negation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "cap/cap_vectors.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/dense_matrix.hpp"

namespace pilecap {
namespace {

double& at(std::vector<double>& a, int lda, int i, int j) {
  return a[static_cast<std::size_t>((i - 1) + (j - 1) * lda)];
}

// A random diagonally dominant (well-conditioned) n x n matrix inside an
// array of leading dimension lda whose spare rows hold a marker.
std::vector<double> random_matrix(int n, int lda, unsigned seed, double marker) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<double> a(static_cast<std::size_t>(lda * n), marker);
  for (int j = 1; j <= n; ++j) {
    for (int i = 1; i <= n; ++i) at(a, lda, i, j) = value(generator) + (i == j ? n : 0.0);
  }
  return a;
}

TEST(InvertMatrix, ProductWithTheInverseIsTheIdentityInsideALargerArray) {
  constexpr double MARKER = 12345.0;
  for (int n : {3, 6, 12}) {
    const int lda = n + 4;
    std::vector<double> a = random_matrix(n, lda, static_cast<unsigned>(n), MARKER);
    std::vector<double> inverse = a;
    int singular = -1;
    INVERT_MATRIX(inverse.data(), n, lda, singular);
    ASSERT_EQ(singular, 0) << n;
    double norm = 0.0;
    for (double v : a) norm = std::max(norm, std::fabs(v == MARKER ? 0.0 : v));
    for (int i = 1; i <= n; ++i) {
      for (int j = 1; j <= n; ++j) {
        double sum = 0.0;
        for (int k = 1; k <= n; ++k) sum += at(a, lda, i, k) * at(inverse, lda, k, j);
        EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-13 * norm * n) << n << " " << i << " " << j;
      }
    }
    for (int j = 1; j <= n; ++j) {
      for (int i = n + 1; i <= lda; ++i) EXPECT_EQ(at(inverse, lda, i, j), MARKER) << "spare row touched";
    }
  }
}

TEST(InvertMatrix, ExactInverses) {
  // 3 x 3 Hilbert matrix and its integer inverse.
  std::vector<double> hilbert(9);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) at(hilbert, 3, i, j) = 1.0 / (i + j - 1);
  }
  const double hilbert_inverse[3][3] = {{9, -36, 30}, {-36, 192, -180}, {30, -180, 180}};
  int singular = -1;
  INVERT_MATRIX(hilbert.data(), 3, 3, singular);
  ASSERT_EQ(singular, 0);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(at(hilbert, 3, i, j), hilbert_inverse[i - 1][j - 1], 1e-10);
  }
  // A permutation becomes its transpose, exactly.
  const int image[4] = {3, 1, 4, 2};  // column j has its 1 in row image[j]
  std::vector<double> permutation(16, 0.0);
  for (int j = 1; j <= 4; ++j) at(permutation, 4, image[j - 1], j) = 1.0;
  INVERT_MATRIX(permutation.data(), 4, 4, singular);
  ASSERT_EQ(singular, 0);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(at(permutation, 4, i, j), image[i - 1] == j ? 1.0 : 0.0);
  }
  // A diagonal matrix gets its reciprocals; a 1 x 1 holding 4 becomes 0.25.
  std::vector<double> diagonal = {2.0, 0.0, 0.0, 0.0, -8.0, 0.0, 0.0, 0.0, 0.5};
  INVERT_MATRIX(diagonal.data(), 3, 3, singular);
  EXPECT_EQ(diagonal, (std::vector<double>{0.5, 0.0, 0.0, 0.0, -0.125, 0.0, 0.0, 0.0, 2.0}));
  double one = 4.0;
  INVERT_MATRIX(&one, 1, 1, singular);
  EXPECT_EQ(one, 0.25);
}

TEST(InvertMatrix, EqualMagnitudesTakeTheLastEntryAsPivot) {
  // [[1, 1], [1, -1]]: the first pivot is A(2, 2); the result is exact.
  std::vector<double> a = {1.0, 1.0, 1.0, -1.0};
  int singular = -1;
  INVERT_MATRIX(a.data(), 2, 2, singular);
  ASSERT_EQ(singular, 0);
  EXPECT_EQ(a, (std::vector<double>{0.5, 0.5, 0.5, -0.5}));
}

TEST(InvertMatrix, SingularAndUnusableInputsSetTheFlag) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    std::vector<double> a;  // 2 x 2 unless 9 entries
  };
  const Case table[] = {
      {"zero", {0.0, 0.0, 0.0, 0.0}},
      {"zero row", {1.0, 0.0, 2.0, 0.0}},
      {"zero column", {1.0, 2.0, 0.0, 0.0}},
      {"rank one", {1.0, 2.0, 2.0, 4.0}},
      {"rank two of three", {1, 2, 4, 2, 4, 8, 1, 0, 1}},  // column 2 = 2 x column 1, exact in binary
      {"not a number", {1.0, 0.0, 0.0, nan}},
      {"infinite", {inf, 0.0, 0.0, 1.0}},
      {"all not a number", {nan, nan, nan, nan}},
  };
  for (const Case& c : table) {
    std::vector<double> a = c.a;
    const int n = a.size() == 9 ? 3 : 2;
    int singular = 0;
    INVERT_MATRIX(a.data(), n, n, singular);
    EXPECT_EQ(singular, 1) << c.name;
  }
  int singular = 1;
  double untouched = 7.0;
  INVERT_MATRIX(&untouched, 0, 1, singular);
  EXPECT_EQ(singular, 0);
  EXPECT_EQ(untouched, 7.0);
  std::vector<double> too_large(static_cast<std::size_t>((MAX_INVERT_ORDER + 1) * (MAX_INVERT_ORDER + 1)), 1.0);
  INVERT_MATRIX(too_large.data(), MAX_INVERT_ORDER + 1, MAX_INVERT_ORDER + 1, singular);
  EXPECT_EQ(singular, 1);
}

TEST(CapVectorServices, ProductMaximaAndNegation) {
  double m[36];
  for (int k = 0; k < 36; ++k) m[k] = k + 1;  // m(i, j) = i + 6 (j - 1)
  const double v[6] = {1, 0, 0, 0, 0, 2};
  double out[6];
  MULTIPLY_6X6_BY_VECTOR(out, m, v);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(out[i - 1], i + 2.0 * (i + 30)) << i;

  const double w[6] = {1, -5, 2, 0.1, -0.3, 0.2};
  double translation = 0.0;
  double rotation = 0.0;
  MAX_ABS_TRANSLATION_ROTATION(w, translation, rotation);
  EXPECT_EQ(translation, 5.0);
  EXPECT_EQ(rotation, 0.3);

  const double zeros[6] = {};
  double negated[6];
  NEGATE_VECTOR6(zeros, negated);
  for (double x : negated) EXPECT_TRUE(x == 0.0 && std::signbit(x));
  NEGATE_VECTOR6(w, negated);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(negated[k], -w[k]);
}

}  // namespace
}  // namespace pilecap
