// Reduction factors for closely spaced piles: the P-FACTOR of every pile-table
// entry for a movement along one horizontal axis, from the group efficiencies
// of side-by-side (0.64 (s/b)^0.34), leading (0.70 (s/b)^0.26) and trailing
// (0.48 (s/b)^0.38) piles, combined elliptically for a skewed pair and
// multiplied over all neighbours. Entries are 1-based; a 2D entry is a row of
// identical piles laid out across the plane of the model at its spacing.
#pragma once

#include "base/arrays.hpp"
#include "model/model_store.hpp"

namespace pilecap {

// The horizontal axis of a movement.
constexpr int CLOSE_SPACING_AXIS_Y = 1;
constexpr int CLOSE_SPACING_AXIS_Z = 2;

// Room for the individual piles of all entries: as many as the pile table holds.
constexpr int MAX_INDIVIDUAL_PILES = TABLE_CAPACITY;

// A factor of every pile-table entry, entry p at (p).
using EntryFactors = Array1<double, TABLE_CAPACITY>;

// CLOSE_SPACING_PAIR_FACTOR
// The efficiency of pile a in the presence of pile b for a movement of the
// given sign along the axis: m and t are the offsets a - b along and across
// the movement over the spacing diameter. Side by side (|m| < 1e-5), in line
// (|t| < 1e-6, leading when m sign > 0) or skewed (leading when m sign >= 0);
// 1 beyond 5 diameters side by side and beyond 8 otherwise.
double CLOSE_SPACING_PAIR_FACTOR(double m, double t, double sign);

// INDIVIDUAL_PILE_COUNT
// The individual piles of entries 1..n_piles: one per 3D entry, the
// truncated PileTable.n_identical of a 2D row (none when below 1).
//   Reads: PileTable, RunOptions.dimension
long long INDIVIDUAL_PILE_COUNT();

// CLOSE_SPACING_P_FACTORS
// The P-FACTOR of every entry for a movement of the given sign along the
// axis: per individual pile the product of its pair factors with every other
// pile, per entry the mean over its piles (1 for an entry without piles). A
// pair whose spacing diameter is not above 0 does not reduce.
//   Reads:  PileTable (n_piles, n_identical, head_y, head_z, spacing, prop),
//           PileSection.diameter, RunOptions (dimension, spacing_diameter_option)
//   in:     axis  CLOSE_SPACING_AXIS_Y or _Z; sign  +1 or -1
//   out:    p_factor(1..n_piles)
//   return: false, with nothing written, when the individual piles exceed
//           MAX_INDIVIDUAL_PILES (the input echo refuses such a model)
bool CLOSE_SPACING_P_FACTORS(int axis, double sign, EntryFactors& p_factor);

// CLOSE_SPACING_FACTORS_1 / CLOSE_SPACING_FACTORS_2
// The pair of ClosePileFactors of the first (Y) or second (Z) horizontal
// direction for a movement of the given sign: the P-FACTOR of every entry
// and a Y-FACTOR of 1. Also sets PileTable.head_plan := head_y of every
// entry with at least one pile. Calling thread only, outside parallel loops.
//   Writes: ClosePileFactors.p_factor_1, y_factor_1 (or _2), PileTable.head_plan
//   in:     sign  +1.0 or -1.0
void CLOSE_SPACING_FACTORS_1(double& sign);
void CLOSE_SPACING_FACTORS_2(double& sign);

// DIRECTION_COSINES
// The direction cosines (a, b) / sqrt(a^2 + b^2) of a horizontal direction
// given by the weights a along Y and b along Z; (1, 0) when both are 0.
//   out: cy, cz
void DIRECTION_COSINES(double a, double b, double& cy, double& cz);

// COMBINED_FACTOR
// The factor of a movement with direction cosines (cy, cz) from the factors
// of the two directions: sqrt((first cy)^2 + (second cz)^2).
double COMBINED_FACTOR(double first, double second, double cy, double cz);

// SAVE_FIRST_DIRECTION_FACTORS
// PileTable.p_factor_saved and y_factor_saved := ClosePileFactors.p_factor_1
// and y_factor_1 of entries 1..n_piles: the first direction's pair, kept
// before the first pair is overwritten by a combination.
void SAVE_FIRST_DIRECTION_FACTORS();

// COMBINE_CLOSE_SPACING_FACTORS
// The first pair of every entry 1..n_piles := the combination of the saved
// first-direction pair and the second pair for the direction (a, b).
//   Reads:  PileTable.p_factor_saved, y_factor_saved, ClosePileFactors _2
//   Writes: ClosePileFactors.p_factor_1, y_factor_1
void COMBINE_CLOSE_SPACING_FACTORS(double a, double b);

}  // namespace pilecap
