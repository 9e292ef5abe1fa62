// Reduction factors for closely spaced piles. Every individual pile is laid
// out in plan (Y, Z); for the movement along one axis each ordered pair
// (a, b) gives pile a an efficiency from the offsets over the spacing
// diameter, the product over b is pile a's factor and the mean over an
// entry's piles is the entry's P-FACTOR. Work grows with the square of the
// piles, but a pair more than 8 diameters apart costs no power. Entries
// 1-based; lengths in model units.
#include "soil/close_spacing.hpp"

#include <cmath>
#include <memory>
#include <vector>

#include "base/check.hpp"
#include "model/input_records.hpp"
#include "model/sections.hpp"

namespace pilecap {

namespace {

// The published efficiencies (single-precision literals of the relations).
constexpr double SIDE_COEFFICIENT = double(0.64f);
constexpr double SIDE_EXPONENT = double(0.34f);
constexpr double LEADING_COEFFICIENT = double(0.70f);
constexpr double LEADING_EXPONENT = double(0.26f);
constexpr double TRAILING_COEFFICIENT = double(0.48f);
constexpr double TRAILING_EXPONENT = double(0.38f);
constexpr double SIDE_BY_SIDE_OFFSET = double(1e-5f);  // |m| below: side by side
constexpr double IN_LINE_OFFSET = double(1e-6f);       // |t| below: in line
constexpr double SIDE_REACH = 5.0;                     // diameters beyond which side-by-side piles do not interact
constexpr double LINE_REACH = 8.0;                     // the same in line and skewed

struct IndividualPile {
  int entry = 0;
  double along = 0.0, across = 0.0;  // coordinates along and across the movement
  double diameter = 0.0;             // of the first section of the entry's property set
};

double efficiency(double coefficient, double ratio, double exponent) {
  return std::fmin(1.0, coefficient * std::pow(ratio, exponent));
}

double entry_diameter(int entry) { return PileSection.diameter(PileTable.prop(entry), 1); }

int piles_of_entry(int entry) {
  if (RunOptions.dimension != MODEL_2D) return 1;
  const double n = PileTable.n_identical(entry);
  return n >= 1.0 ? static_cast<int>(n) : 0;
}

// The k-th pile (k = 0, 1, ...) of a row of n at spacing s, across the plane:
// 0, +s, -s, +2s, ... for odd n; +s/2, -s/2, +3s/2, ... for even n.
double row_position(int k, int n, double s) {
  if (n % 2 == 1) {
    const double steps = static_cast<double>((k + 1) / 2);
    return k % 2 == 1 ? steps * s : -steps * s;
  }
  const double steps = static_cast<double>(k / 2) + 0.5;
  return k % 2 == 0 ? steps * s : -steps * s;
}

std::vector<IndividualPile> lay_out_piles(int axis) {
  std::vector<IndividualPile> piles;
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    const int n = piles_of_entry(i);
    const double y = PileTable.head_y(i);
    for (int k = 0; k < n; ++k) {
      const double z =
          RunOptions.dimension == MODEL_2D ? row_position(k, n, PileTable.spacing(i)) : PileTable.head_z(i);
      IndividualPile pile;
      pile.entry = i;
      pile.along = axis == CLOSE_SPACING_AXIS_Y ? y : z;
      pile.across = axis == CLOSE_SPACING_AXIS_Y ? z : y;
      pile.diameter = entry_diameter(i);
      piles.push_back(pile);
    }
  }
  return piles;
}

// Writes the factors of one axis into a pair of ClosePileFactors.
void write_pair(int axis, double sign, Table1<double>& p_pair, Table1<double>& y_pair) {
  auto factors = std::make_unique<EntryFactors>();
  if (!CLOSE_SPACING_P_FACTORS(axis, sign, *factors)) return;
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    p_pair(i) = (*factors)(i);
    y_pair(i) = 1.0;
    if (piles_of_entry(i) >= 1) PileTable.head_plan(i) = PileTable.head_y(i);
  }
}

}  // namespace

double CLOSE_SPACING_PAIR_FACTOR(double m, double t, double sign) {
  const double am = std::fabs(m), at = std::fabs(t);
  if (am < SIDE_BY_SIDE_OFFSET) return at > SIDE_REACH ? 1.0 : efficiency(SIDE_COEFFICIENT, at, SIDE_EXPONENT);
  if (at < IN_LINE_OFFSET) {
    if (am > LINE_REACH) return 1.0;
    return m * sign > 0.0 ? efficiency(LEADING_COEFFICIENT, am, LEADING_EXPONENT)
                          : efficiency(TRAILING_COEFFICIENT, am, TRAILING_EXPONENT);
  }
  const double r = std::sqrt(m * m + t * t);
  if (r > LINE_REACH) return 1.0;
  const double theta = std::atan(at / am);
  const double fs = efficiency(SIDE_COEFFICIENT, r, SIDE_EXPONENT);
  const double fl = m * sign >= 0.0 ? efficiency(LEADING_COEFFICIENT, r, LEADING_EXPONENT)
                                    : efficiency(TRAILING_COEFFICIENT, r, TRAILING_EXPONENT);
  const double side = fs * std::sin(theta), line = fl * std::cos(theta);
  return std::fmin(1.0, std::sqrt(side * side + line * line));
}

long long INDIVIDUAL_PILE_COUNT() {
  long long count = 0;
  for (int i = 1; i <= PileTable.n_piles; ++i) count += piles_of_entry(i);
  return count;
}

bool CLOSE_SPACING_P_FACTORS(int axis, double sign, EntryFactors& p_factor) {
  PILECAP_ASSERT(axis == CLOSE_SPACING_AXIS_Y || axis == CLOSE_SPACING_AXIS_Z, "the axis is Y or Z");
  if (INDIVIDUAL_PILE_COUNT() > MAX_INDIVIDUAL_PILES) return false;
  const std::vector<IndividualPile> piles = lay_out_piles(axis);
  const bool mean_diameter = RunOptions.spacing_diameter_option == SPACING_DIAMETER_MEAN;
  const double first_diameter = PileTable.n_piles >= 1 ? entry_diameter(1) : 0.0;

  EntryFactors sum{};
  Array1<int, TABLE_CAPACITY> count{};
  for (const IndividualPile& a : piles) {
    double product = 1.0;
    for (const IndividualPile& b : piles) {
      if (&a == &b) continue;
      const double d = mean_diameter ? 0.5 * (a.diameter + b.diameter) : first_diameter;
      if (!(d > 0.0)) continue;
      const double f = CLOSE_SPACING_PAIR_FACTOR((a.along - b.along) / d, (a.across - b.across) / d, sign);
      if (f != 1.0) product *= f;
    }
    sum(a.entry) += product;
    count(a.entry) += 1;
  }
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    p_factor(i) = count(i) >= 1 ? sum(i) / count(i) : 1.0;
  }
  return true;
}

void CLOSE_SPACING_FACTORS_1(double& sign) {
  write_pair(CLOSE_SPACING_AXIS_Y, sign, ClosePileFactors.p_factor_1, ClosePileFactors.y_factor_1);
}

void CLOSE_SPACING_FACTORS_2(double& sign) {
  write_pair(CLOSE_SPACING_AXIS_Z, sign, ClosePileFactors.p_factor_2, ClosePileFactors.y_factor_2);
}

void DIRECTION_COSINES(double a, double b, double& cy, double& cz) {
  const double r = std::sqrt(a * a + b * b);
  if (!(r > 0.0)) {
    cy = 1.0;
    cz = 0.0;
    return;
  }
  cy = a / r;
  cz = b / r;
}

double COMBINED_FACTOR(double first, double second, double cy, double cz) {
  const double along_y = first * cy, along_z = second * cz;
  return std::sqrt(along_y * along_y + along_z * along_z);
}

void SAVE_FIRST_DIRECTION_FACTORS() {
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    PileTable.p_factor_saved(i) = ClosePileFactors.p_factor_1(i);
    PileTable.y_factor_saved(i) = ClosePileFactors.y_factor_1(i);
  }
}

void COMBINE_CLOSE_SPACING_FACTORS(double a, double b) {
  double cy = 0.0, cz = 0.0;
  DIRECTION_COSINES(a, b, cy, cz);
  auto& f = ClosePileFactors;
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    f.p_factor_1(i) = COMBINED_FACTOR(PileTable.p_factor_saved(i), f.p_factor_2(i), cy, cz);
    f.y_factor_1(i) = COMBINED_FACTOR(PileTable.y_factor_saved(i), f.y_factor_2(i), cy, cz);
  }
}

}  // namespace pilecap
