// The loads along the piles of a run: distributed loads and soil movements
// interpolated to the piles' stations from the load cases, scaled, saved and
// applied at a load fraction while the cap steps to its load.
#pragma once

#include "model/analysis_control.hpp"

namespace pilecap {

// The per-pile station tables of PileLoadProfile (pile p = 1..n_piles,
// station k = 1..n + 1 at distances 0, dx, 2 dx, ... from the head along the
// pile axis, dx = length / n of the pile's property set). None of these
// routines can fail.

// CASE_DISTRIBUTED_LOADS / COMB_DISTRIBUTED_LOADS
// Clear the load tables and the axial-resultant mark, then add the
// distributed-load entries of case c (times its scale factor), or of every
// member case of combination j (times scale factor and member factor).
void CASE_DISTRIBUTED_LOADS(int c);
void COMB_DISTRIBUTED_LOADS(int j);

// CASE_SOIL_MOVEMENTS / COMB_SOIL_MOVEMENTS: the same for the soil movements.
void CASE_SOIL_MOVEMENTS(int c);
void COMB_SOIL_MOVEMENTS(int j);

// INTERPOLATE_LOAD_SET
// Adds the distributed-load entries of case c, times f, to the load tables.
// AXIS 0 loads along the pile's own axes, any other value globally; a global
// load gives its axial share to the pile's axial resultant when the case
// carries it to the head (axial_as_head_load 1).
void INTERPOLATE_LOAD_SET(int c, double f);

// INTERPOLATE_MOVEMENT_SET
// Adds the soil-movement entries of case c, times f, to the movement tables;
// AXIS 1 means the pile's own axes, any other value global directions.
void INTERPOLATE_MOVEMENT_SET(int c, double f);

// LOAD_SET_VALUE
// The value of a load set (or movement set) at distance x along the pile:
// linear between its points, its end value within 1e-8 of an end, 0 outside
// and for a set number below 1, beyond the table or with fewer than 2 points.
//   in: movements  false the distributed-load sets, true the movement sets
double LOAD_SET_VALUE(bool movements, int set, double x);

// CLEAR_DISTRIBUTED_LOADS: zero loads, station counts and axial resultants
// of piles 1..n_piles (the axial-resultant mark stays).
void CLEAR_DISTRIBUTED_LOADS();
// CLEAR_SOIL_MOVEMENTS: zero movements and station counts.
void CLEAR_SOIL_MOVEMENTS();

// DISTRIBUTED_LOAD_RESULTANT
// Adds the axial resultants of all piles, as forces at their heads, to the
// cap load at the origin; nothing when no resultant was accumulated.
//   in,out: load  6 doubles
void DISTRIBUTED_LOAD_RESULTANT(double* load);

// SCALE_DISTRIBUTED_LOADS / SCALE_SOIL_MOVEMENTS: the tables times m.
void SCALE_DISTRIBUTED_LOADS(double m);
void SCALE_SOIL_MOVEMENTS(double m);

// SAVE_DISTRIBUTED_LOADS: the saved copies := the load tables.
void SAVE_DISTRIBUTED_LOADS();
// SAVE_SOIL_MOVEMENTS: the saved copies := the movement tables.
//   out: moving  1 when some movement is not 0, else 0
void SAVE_SOIL_MOVEMENTS(int& moving);

// APPLY_LOAD_FRACTION_LOADS / APPLY_LOAD_FRACTION_MOVEMENTS
// The tables := their saved copies times the fraction f.
void APPLY_LOAD_FRACTION_LOADS(double f);
void APPLY_LOAD_FRACTION_MOVEMENTS(double f);

// APPLY_LOAD_FRACTION_PROFILE
// The soil-movement profile's movements := its case-scaled movements times
// the fraction f.
//   Writes: SoilMovementProfile.move_y, move_z
void APPLY_LOAD_FRACTION_PROFILE(double f);

// APPLY_CONVERGED_FRACTION
// The loads and movements along the piles and the soil-movement profile at
// the fraction c a run converged at below its full load, so that the final
// print pass sees what the cap carried, not the failed attempt's fraction.
void APPLY_CONVERGED_FRACTION(double c);

// SCALE_MOVEMENT_PROFILE
// The case-scaled soil-movement profile: the input movements times the
// scale factor of case c, or unchanged when c is 0 (a combination).
//   Writes: SoilMovementProfile.scaled_move_y, scaled_move_z
void SCALE_MOVEMENT_PROFILE(int c);

}  // namespace pilecap
