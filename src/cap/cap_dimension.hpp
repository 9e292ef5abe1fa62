// The dimension of a rigid-cap run as the stepping and the result roads see
// it: the solver state, the number of cap degrees of freedom, the group
// force vector, the load applied in an iteration, the load printed for a
// point run, and the writers of the per-pile results. Both solvers' stepping traits
// derive from these. Internal to the cap floor.
#pragma once

#include <cmath>

#include "base/arrays.hpp"
#include "base/fio.hpp"
#include "cap/cap_reports.hpp"
#include "cap/cap_solver.hpp"
#include "cap/cap_vectors.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

// REPORT_CAP_WARNINGS_3D / REPORT_CAP_WARNINGS_2D
// The warnings of the last base evaluation (bearing, pull out and, in
// space, torsion) with the lines of the axial-warning file; PileErrorWord
// := 3 after any, and a target search is then ended (state -1).
void REPORT_CAP_WARNINGS_3D();
void REPORT_CAP_WARNINGS_2D();

// REPORT_FULL_OUTPUT_3D / REPORT_FULL_OUTPUT_2D
// The full-output road: the reduction factors, TABLE L, the cap envelope,
// the result code, the passive cap table, the final print pass and the
// per-pile tables.
void REPORT_FULL_OUTPUT_3D(CapSolverState3D& state, int& status);
void REPORT_FULL_OUTPUT_2D(CapSolverState2D& state, int& status);

struct CapDimension3D {
  using State = CapSolverState3D;
  static constexpr int MODEL = MODEL_3D;
  static constexpr int DOFS = CAP_DOFS;
  static constexpr int TRANSLATIONS = 3;  // DOFs 1..3 move the cap, 4..6 turn it
  // The distance of pile p's head from the cap origin.
  static double head_distance(int p) {
    const double x = PileTable.head_x(p), y = PileTable.head_y(p), z = PileTable.head_z(p);
    return std::sqrt(x * x + y * y + z * z);
  }
  static void forces(double* f, const double* u, int& status) { FVEC(f, u, status); }
  // The translation of pile p's head when the cap moves by u at the origin.
  static void head_translation(int p, const State::Vector& u, double t[3]) {
    const double x = PileTable.head_x(p), y = PileTable.head_y(p), z = PileTable.head_z(p);
    t[0] = u(1) + u(5) * z - u(6) * y;
    t[1] = u(2) + u(6) * x - u(4) * z;
    t[2] = u(3) + u(4) * y - u(5) * x;
  }
  // A cap vector at the origin as the same forces at the point r: the
  // moments about r.
  static void at_point(const double* f, const double* r, double* out) {
    for (int k = 0; k < 3; ++k) out[k] = f[k];
    out[3] = f[3] - (r[1] * f[2] - r[2] * f[1]);
    out[4] = f[4] - (r[2] * f[0] - r[0] * f[2]);
    out[5] = f[5] - (r[0] * f[1] - r[1] * f[0]);
  }
  // The passive force of an embedded cap in the last evaluation (zero
  // without one).
  static const double* passive_force(const State& s) { return s.passive_force.data(); }
  // The load applied in the iteration: the solver works in the run's cap load.
  static double* applied_load(State& s) { return s.cap_load; }
  // A point run carries the negated force vector (reactions on the cap).
  static void carried_point_load(const State& s, double* load) { NEGATE_VECTOR6(s.converged_force.data(), load); }
  static void write_run_piles(int& status) { ENVEWR(ENVELOPE_KIND_RUN, 0, status); }
  static void write_pushover_piles(int& status) { ENVEWRP(status); }
  static void write_equivalent_stiffness() { WRITE_EQUIV_STIFFNESS_3D(); }
  static void report(State& s, int& status) { REPORT_CAP_SOLUTION_3D(s, status); }
};

struct CapDimension2D {
  using State = CapSolverState2D;
  static constexpr int MODEL = MODEL_2D;
  static constexpr int DOFS = CAP_DOFS_2D;
  static constexpr int TRANSLATIONS = 2;  // DOFs 1..2 move the cap, 3 turns it
  // The distance of row p's head from the cap origin.
  static double head_distance(int p) { return std::hypot(PileTable.head_depth(p), PileTable.head_plan(p)); }
  static void forces(double* f, const double* u, int& status) { FVEC2D(f, u, status); }
  // The translation of row p's head (X, Y) when the cap moves by u.
  static void head_translation(int p, const State::Vector& u, double t[3]) {
    t[0] = u(1) - u(3) * PileTable.head_plan(p);
    t[1] = u(2) + u(3) * PileTable.head_depth(p);
    t[2] = 0.0;
  }
  static void at_point(const double* f, const double* r, double* out) {
    out[0] = f[0];
    out[1] = f[1];
    out[2] = f[2] - r[0] * f[1] + r[1] * f[0];
  }
  static const double* passive_force(const State& s) { return s.passive.force.data(); }
  static double* applied_load(State& s) { return s.applied.data(); }
  // A point run carries the pile-force resultant.
  static void carried_point_load(const State& s, double* load) { COPY_VECTOR3(s.converged_force.data(), load); }
  static void write_run_piles(int& status) { ENVEWR2D(ENVELOPE_KIND_RUN, 0, status); }
  static void write_pushover_piles(int& status) { ENVEWR2DP(status); }
  static void write_equivalent_stiffness() { WRITE_EQUIV_STIFFNESS_2D(); }
  static void report(State& s, int& status) { REPORT_CAP_SOLUTION_2D(s, status); }
};

// SCALE_TO_CONVERGED_FRACTION
// The run's cap load and, in a point run, its working point loads and given
// point displacements at the converged fraction; TCUR := that fraction.
template <class D>
void SCALE_TO_CONVERGED_FRACTION(typename D::State& s) {
  const double c = s.converged_fraction;
  s.tcur = c;
  for (int k = 1; k <= D::DOFS; ++k) s.cap_load[k - 1] = s.full_load(k) * c;
  if (s.point_run == 1) {
    for (int k = 1; k <= D::DOFS; ++k) {
      s.point_load_working(k) = s.point_load[k - 1] * c;
      s.point_displacement[k - 1] = s.point_displacement_entry(k) * c;
    }
  }
}

// CAP_PRINT_PASS
// The final print pass of a run: the group force vector at U with the
// pile-results scratch file open, which fills every pile's result stores.
// False (status 41) when the scratch file cannot be created.
template <class D>
bool CAP_PRINT_PASS(typename D::State& s, int& status) {
  if (!OPEN_FILE_FOR_WRITING(UNIT_PILE_RESULTS_SCRATCH, RunFiles.pile_results_scratch_file, status)) return false;
  Array1<double, D::DOFS> forces;
  D::forces(forces.data(), s.displacement.data(), status);
  fio::close(UNIT_PILE_RESULTS_SCRATCH);
  return true;
}

// REPORT_CAP_ROADS
// The roads of a finished run in either dimension (REPORT_CAP_SOLUTION_3D
// and REPORT_CAP_SOLUTION_2D): the warnings of the last force evaluation,
// then no convergence, a flexibility level, a pushover point, a target
// search or the full output.
//   in,out: state, status  as the entry points say
template <class D>
void REPORT_CAP_ROADS(typename D::State& state, int& status);

}  // namespace pilecap
