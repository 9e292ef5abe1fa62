// Pile results, envelopes and plot-data file: the per-pile result tables of
// every run, the minimum and maximum envelopes over the runs of a pass and
// the blocks of the plot-data file. Result tables are those of the model
// store (pile index fastest).
#pragma once

namespace pilecap {

// Kinds and selections of the per-pile writers.
constexpr int ENVELOPE_KIND_RUN = 0;
constexpr int ENVELOPE_KIND_CASES = 1;
constexpr int ENVELOPE_KIND_COMBINATIONS = 2;
constexpr int ENVELOPE_MINIMUM = 1;
constexpr int ENVELOPE_MAXIMUM = 2;

// The print level and node step of the run just finished, set by the cap
// solvers right before the per-pile writers, which read them.
struct ResultPrintControlRecord {
  int level = 0;      // the run's print option
  int node_step = 0;  // the node step of the printed tables
};
extern ResultPrintControlRecord ResultPrintControl;

// RESET_ENVELOPES
// Zeroes CapEnvelope (6 components of each set) and the minimum and maximum
// envelopes of PileTopResults (13 columns) and NodeResults (29 quantities,
// every node row) for piles 1..PileTable.n_piles. Current values are kept.
void RESET_ENVELOPES();

// RESET_ENVELOPES_2D
// The same for the plane model: CapEnvelope components 1-3, pile-top columns
// 1-7 and every node quantity the plane writers read (all 29), so that a
// combination envelope never shows a value of the load cases.
void RESET_ENVELOPES_2D();

// ENVEWR / ENVEWR2D
// Per-pile result tables: of the run just solved (kind 0, which 0), or the
// envelope tables of the cases (kind 1) or combinations (kind 2), minimum
// (which 1) or maximum (which 2).
void ENVEWR(int kind, int which);
void ENVEWR2D(int kind, int which);

// WRITE_PLOT_PILE_GEOMETRY, WRITE_PLOT_PY_CURVES, WRITE_PLOT_TZ_CURVES,
// WRITE_PLOT_TQ_CURVES
// Append one pile's geometry block and its p-y, t-z (with the tip q-w curve)
// and torque-rotation curve blocks to the plot-data file.
//   in:     pile  1..PileTable.n_piles
//   in,out: status  the t-z and torque writers may set it
void WRITE_PLOT_PILE_GEOMETRY(int pile, int& status);
void WRITE_PLOT_PY_CURVES(int pile, int& status);
void WRITE_PLOT_TZ_CURVES(int pile, int& status);
void WRITE_PLOT_TQ_CURVES(int pile, int& status);

}  // namespace pilecap
