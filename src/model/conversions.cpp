// Unit conversions and small numeric routines. Each conversion tests the
// unit system itself, so formulas and report writers never do.
#include "model/conversions.hpp"

#include <cmath>

#include "base/check.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"

namespace pilecap {

namespace {

constexpr double INCHES_PER_FOOT = 12.0;
constexpr double THOUSAND = 1000.0;
constexpr double ZERO_COMPONENT = 1e-14;
constexpr double STEP_SHRINK_TRANSLATION = double(1e-4f);
constexpr double STEP_SHRINK_ROTATION = double(0.01f);
constexpr double STEP_AGAINST_LOAD = 100.0;
constexpr int EARLY_ITERATIONS = 2;
constexpr int MATRIX_SIZE = 6;
constexpr int PLANE_SIZE = 3;

bool english_lengths() { return RunOptions.units != UNITS_SI; }
bool si_units() { return RunOptions.units == UNITS_SI; }
bool kips_shown() { return RunOptions.units == UNITS_ENGLISH && RunOptions.force_unit == FORCE_UNIT_KIPS; }

}  // namespace

double KIPS_FROM_POUNDS(double x) { return kips_shown() ? x / THOUSAND : x; }
double POUNDS_FROM_KIPS(double x) { return kips_shown() ? x * THOUSAND : x; }
double FEET_FROM_INCHES(double x) { return english_lengths() ? x / INCHES_PER_FOOT : x; }
double INCHES_FROM_FEET(double x) { return english_lengths() ? x * INCHES_PER_FOOT : x; }
double SQ_INCHES_FROM_SQ_FEET(double x) { return english_lengths() ? x * INCHES_PER_FOOT * INCHES_PER_FOOT : x; }
double SQ_FEET_FROM_SQ_INCHES(double x) { return english_lengths() ? x / INCHES_PER_FOOT / INCHES_PER_FOOT : x; }
double CU_INCHES_FROM_CU_FEET(double x) {
  return english_lengths() ? x * INCHES_PER_FOOT * INCHES_PER_FOOT * INCHES_PER_FOOT : x;
}
double CU_FEET_FROM_CU_INCHES(double x) {
  return english_lengths() ? x / INCHES_PER_FOOT / INCHES_PER_FOOT / INCHES_PER_FOOT : x;
}
double KILO_SCALE_SI(double x) { return si_units() ? x * THOUSAND : x; }
double MEGA_SCALE_SI(double x) { return si_units() ? x * THOUSAND * THOUSAND : x; }
double TERA_SCALE_SI(double x) { return si_units() ? x * THOUSAND * THOUSAND * THOUSAND * THOUSAND : x; }
double KILO_DIVIDE_SI(double x) { return si_units() ? x / THOUSAND : x; }
double MEGA_DIVIDE_SI(double x) { return si_units() ? x / THOUSAND / THOUSAND : x; }
double TERA_DIVIDE_SI(double x) { return si_units() ? x / THOUSAND / THOUSAND / THOUSAND / THOUSAND : x; }

void MAT6_TIMES_VECTORS(double* c, const double* a, const double* b, int n) {
  for (int j = 0; j < n; ++j) {
    double column[MATRIX_SIZE];
    for (int k = 0; k < MATRIX_SIZE; ++k) column[k] = b[MATRIX_SIZE * j + k];
    for (int r = 0; r < MATRIX_SIZE; ++r) {
      double sum = 0.0;
      for (int k = 0; k < MATRIX_SIZE; ++k) sum += a[r + MATRIX_SIZE * k] * column[k];
      c[MATRIX_SIZE * j + r] = sum;
    }
  }
}

void MULTIPLY_3X3_BY_COLUMNS(double* c, const double* a, const double* b, int n) {
  for (int j = 0; j < n; ++j) {
    const double x = b[PLANE_SIZE * j], y = b[PLANE_SIZE * j + 1], z = b[PLANE_SIZE * j + 2];
    for (int r = 0; r < PLANE_SIZE; ++r) {
      c[PLANE_SIZE * j + r] = a[r] * x + a[r + PLANE_SIZE] * y + a[r + 2 * PLANE_SIZE] * z;
    }
  }
}

void MULTIPLY_6X6_BY_VECTOR(double* out, const double* m, const double* v) {
  PILECAP_ASSERT(out != v && out != m, "the product must not overwrite its inputs");
  MAT6_TIMES_VECTORS(out, m, v, 1);
}

void MULTIPLY_3X3_BY_VECTOR(double* out, const double* m, const double* v) {
  PILECAP_ASSERT(out != v && out != m, "the product must not overwrite its inputs");
  constexpr int ORDER = 3;
  for (int i = 0; i < ORDER; ++i) {
    double sum = 0.0;
    for (int j = 0; j < ORDER; ++j) sum += m[i + ORDER * j] * v[j];
    out[i] = sum;
  }
}

void UPDATE_MIN(double& m, double v) {
  if (m > v) m = v;
}

void UPDATE_MAX(double& m, double v) {
  if (v > m) m = v;
}

bool ONLY_FOURTH_COMPONENT_NONZERO(const double* v) {
  for (int i : {0, 1, 2, 4, 5}) {
    if (std::fabs(v[i]) > ZERO_COMPONENT) return false;
  }
  return std::fabs(v[3]) > ZERO_COMPONENT;
}

namespace {
double node_value_at(const Table2<double>& table, int pile, int j) {
  if (j >= 1) return table(pile, j);
  const double d1 = table(pile, 1);
  const double d2 = table(pile, 2);
  return d1 + (j - 1) * (d2 - d1);
}
}  // namespace

double NODE_COORDINATE_AT(int pile, int j) { return node_value_at(PileNodes.depth, pile, j); }
double NODE_DEPTH_AT(int pile, int j) { return node_value_at(PileNodes.axial_x, pile, j); }

void SCALE_DIFFERENCE_STEPS(const double* loads, double& step_t, double& step_r, int flag, int iteration) {
  if (flag == 1) return;
  if (iteration <= EARLY_ITERATIONS) {
    step_t = step_t * STEP_SHRINK_TRANSLATION;
    return;
  }
  const double force = std::sqrt(loads[0] * loads[0] + loads[1] * loads[1] + loads[2] * loads[2]);
  const double moment = std::sqrt(loads[3] * loads[3] + loads[4] * loads[4] + loads[5] * loads[5]);
  if (STEP_AGAINST_LOAD * step_t > force) step_t = step_t * STEP_SHRINK_TRANSLATION;
  if (STEP_AGAINST_LOAD * step_r > moment) step_r = step_r * STEP_SHRINK_ROTATION;
}

}  // namespace pilecap
