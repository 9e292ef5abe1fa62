// The plate analysis driver: files, data, then pseudo-time stepping of the
// load factor with Newton iterations. Per iteration the element pass forms
// the tangent matrices and the internal forces at ASDIS + TSDIS, the loads of
// the step are added, the frontal solver gives the correction DSDIS, and the
// norms of the corrections of the translations (D against the step's
// movement U) and of the rotations (R against RU) decide convergence. A step
// that does not converge is retried from the last converged time with half
// the step. A host's stop request ends the stepping at the next iteration, or
// within the element pass or the frontal solution of a long one, and a
// residual or displacement that is not finite (a singular or diverging
// plate) ends the analysis before any file receives it. The engine's cap
// floor hears of every step attempt and iteration through the progress hook.
// Displacement vectors are indexed by global equation 6(n-1)+d.
#include <array>
#include <chrono>
#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "model/run_state.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

constexpr double STEP_HALVING = 0.5;
constexpr int LEAST_ITERATIONS = 2;  // a step attempt is tested from its second iteration on

// (empty line)
// STEP     1   TCUR   =    0.1500  DT =     0.1500
constexpr const char* STEP_LAYOUT = "(/,\"STEP \",I5,\"   TCUR   =\",F10.4,\"  DT = \",F10.4)";
// ITER =    1 ERR1 = 0.1000E+01 ERR2 =  0.1000E+01
constexpr const char* CONSOLE_ITERATION_LAYOUT = "(\"ITER =\",I5,\" ERR1 =\",E11.4,\" ERR2 = \",E11.4)";
// ITER =    1 ERR1 = 0.1000E+01 D =  0.1234E-02 U = 0.1234E-02 RHS =  0.5000E+02
//            ERR2 = 0.1000E+01 R =  0.2345E-03 RU= 0.2345E-03 RRHS=  0.0000E+00
constexpr const char* ITERATION_RECORD_LAYOUT =
    "(\"ITER =\",I5,\" ERR1 =\",E11.4,\" D = \",E11.4,\" U =\",E11.4,\" RHS = \",E11.4,/,"
    "11X,\" ERR2 =\",E11.4,\" R = \",E11.4,\" RU=\",E11.4,\" RRHS= \",E11.4)";
//     1  0.00000E+00  0.00000E+00 -0.12345E-02  0.00000E+00  0.00000E+00  0.00000E+00
constexpr const char* DUMP_ROW_LAYOUT = "(I5,6E13.5)";
constexpr const char* BELOW_MINIMUM_LAYOUT = "(\"error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED\")";
constexpr const char* END_STEP_DATA_LAYOUT = "(\"END_STEP_DATA\")";

//
//
//     ELEMENTS OF 6 NODES WITH 2 SAMPLING POINTS PER DIRECTION ARE NOT SUPPORTED
constexpr const char* CAUSE_LAYOUT = "(/,/,A)";

constexpr const char* STALLED_DETAIL = "    THE PLATE LOAD STEP IS TOO SMALL TO ADVANCE THE PSEUDO-TIME";
constexpr const char* RETRY_LAYOUT = "(\"    THE STEP IS TRIED AGAIN FROM THE LAST CONVERGED STEP, HALF AS LONG\")";

PlateProgressHook progress_hook = nullptr;

void report_progress(PlateProgressEvent event) {
  if (progress_hook != nullptr) progress_hook(event);
}

// The stop poll's clock: calls since the clock was last read, and when the
// stop-request file was last read.
struct StopPollClock {
  int calls = 0;
  std::chrono::steady_clock::time_point last_read = std::chrono::steady_clock::now();
};
StopPollClock stop_poll_clock;

// The equation of a vector that makes it unusable: the first one that is not
// finite, else (a norm that overflows) the one of the largest magnitude.
int unusable_equation(const Table1<double>& vector, int count) {
  int largest = 1;
  for (int q = 1; q <= count; ++q) {
    if (!std::isfinite(vector(q))) return q;
    if (std::fabs(vector(q)) > std::fabs(vector(largest))) largest = q;
  }
  return largest;
}

// Ends the iteration when a norm of `vector` is not finite: a singular or
// diverging plate, stopped before any file receives a value that is not a
// number. The cause names the step, the iteration and the equation, and goes
// to the listing too.
bool finite_norms(const char* what, const Table1<double>& vector, double first_norm, double second_norm, int& status) {
  if (std::isfinite(first_norm) && std::isfinite(second_norm)) return true;
  const int q = unusable_equation(vector, PLATE_NODE_DOFS * PlateControl.NPOIN);
  FAIL_PLATE(status,
             std::string("    ") + what + " IS NOT FINITE AT " + PLATE_EQUATION_NAME(q) + PLATE_ITERATION_NAME());
  PlateFailure.diverged = true;
  fio::write(UNIT_PLATE_LISTING, CAUSE_LAYOUT, PlateFailure.detail);
  return false;
}

struct IterationNorms {
  double rhs = 0.0, rotational_rhs = 0.0;  // of the assembled residual
  double d = 0.0, r = 0.0;                 // of the correction
  double u = 0.0, ru = 0.0;                // of the step's movement
  double err1 = 0.0, err2 = 0.0;
};

void write_step_line() {
  for (int unit : {UNIT_PLATE_CONSOLE, UNIT_PLATE_CONVERGENCE_LOG, UNIT_PLATE_DEBUG}) {
    fio::write(unit, STEP_LAYOUT, PlateControl.STEP, PlateControl.TCUR, PlateControl.dt_current);
  }
}

void write_iteration(const IterationNorms& n) {
  fio::write(UNIT_PLATE_CONSOLE, CONSOLE_ITERATION_LAYOUT, PlateControl.ITER, n.err1, n.err2);
  for (int unit : {UNIT_PLATE_CONVERGENCE_LOG, UNIT_PLATE_DEBUG}) {
    fio::write(unit, ITERATION_RECORD_LAYOUT, PlateControl.ITER, n.err1, n.d, n.u, n.rhs, n.err2, n.r, n.ru,
               n.rotational_rhs);
  }
}

// A vector of the debug trace: its name, then every node's six values.
template <class Value>
void dump_vector(const char* name, Value value) {
  fio::write_list(UNIT_PLATE_DEBUG, name);
  std::array<double, PLATE_NODE_DOFS> row{};
  for (int n = 1; n <= PlateControl.NPOIN; ++n) {
    for (int d = 1; d <= PLATE_NODE_DOFS; ++d) row[d - 1] = value(PLATE_EQUATION(n, d));
    fio::write(UNIT_PLATE_DEBUG, DUMP_ROW_LAYOUT, n, row);
  }
}

// One Newton iteration of the current step attempt.
void iterate(IterationNorms& n, int& status) {
  PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  const int equations = PLATE_NODE_DOFS * c.NPOIN;
  for (int e = 1; e <= c.NELEM; ++e) {
    for (int i = 1; i <= c.NEVAB; ++i) m.element_vectors(e, i) = 0.0;
  }
  FILL_VECTOR(m.DSDIS, equations, 0.0);
  PLATE_ELEMENT_MATRICES(status);
  if (status != 0) return;
  fio::write_list(UNIT_PLATE_DEBUG, "ITER = ", c.ITER, c.STEP);
  PLATE_LOAD_VECTORS(status);
  if (status != 0) return;
  FILL_VECTOR(m.nodal_reactions, equations, 0.0);
  SCATTER_ELEMENT_VECTORS(m.element_vectors, m.nodal_reactions, m.element_nodes);
  PLATE_VECTOR_NORMS(m.nodal_reactions, n.rhs, n.rotational_rhs, equations);
  if (!finite_norms("THE RESIDUAL", m.nodal_reactions, n.rhs, n.rotational_rhs, status)) return;
  FILL_VECTOR(m.nodal_reactions, equations, 0.0);
  FRONTAL_SOLVE(status);
  if (status != 0) return;
  PLATE_VECTOR_NORMS(m.DSDIS, n.d, n.r, equations);
  if (!finite_norms("THE CORRECTION", m.DSDIS, n.d, n.r, status)) return;
  ADD_TO_VECTOR(m.TSDIS, m.DSDIS, equations);
  PLATE_VECTOR_NORMS(m.TSDIS, n.u, n.ru, equations);
  if (!finite_norms("THE STEP'S DISPLACEMENT", m.TSDIS, n.u, n.ru, status)) return;
  dump_vector("DSDIS", [&](int q) { return m.DSDIS(q); });
  dump_vector("TSDIS", [&](int q) { return m.TSDIS(q); });
  dump_vector("ASDIS + TSDIS", [&](int q) { return m.ASDIS(q) + m.TSDIS(q); });
  ++c.ITER;
  n.err1 = n.u != 0.0 ? n.d / n.u : n.d;
  n.err2 = n.ru != 0.0 ? n.r / n.ru : n.r;
  write_iteration(n);
}

bool converged(const IterationNorms& n) {
  const double tolerance = PlateControl.tolerance;
  const bool translations =
      tolerance >= n.err1 || n.d <= PLATE_NEGLIGIBLE || n.u <= PLATE_NEGLIGIBLE || n.rhs <= PLATE_NEGLIGIBLE;
  const bool rotations = tolerance >= n.err2 || n.r <= PLATE_NEGLIGIBLE || n.ru <= PLATE_NEGLIGIBLE ||
                         n.rotational_rhs <= PLATE_NEGLIGIBLE;
  return translations && rotations;
}

// Iterates one step attempt from TSDIS = 0 until it converges or has made
// MAXITER + 1 iterations (at least two).
bool solve_step(int& status) {
  PlateControlRecord& c = PlateControl;
  c.ITER = 0;
  write_step_line();
  report_progress(PLATE_STEP_STARTED);
  FILL_VECTOR(PlateModel.TSDIS, PLATE_NODE_DOFS * c.NPOIN, 0.0);
  while (true) {
    // The host's stop request is polled at every iteration, as the rigid
    // cap's load steps do.
    report_progress(PLATE_ITERATION_STARTED);
    stop_poll_clock = StopPollClock{};
    if (STOP_REQUESTED()) {
      status = STATUS_STOPPED_BY_USER;
      return false;
    }
    IterationNorms norms;
    iterate(norms, status);
    if (status != 0) return false;
    if (c.ITER < LEAST_ITERATIONS) continue;
    if (converged(norms)) return true;
    if (c.ITER > c.MAXITER) return false;
  }
}

// The load stepping from TINI + DT to TEND.
void step_loads(int& status) {
  PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  const int equations = PLATE_NODE_DOFS * c.NPOIN;
  c.dt_current = c.DT;
  c.TCUR = c.TINI + c.DT;
  c.STEP = 1;
  c.tolerance = PLATE_TOLERANCE;  // the data file's tolerance is not used
  FILL_VECTOR(m.DSDIS, equations, 0.0);
  FILL_VECTOR(m.ASDIS, equations, 0.0);
  FILL_VECTOR(m.TSDIS, equations, 0.0);
  double& converged_time = c.converged_time;
  converged_time = c.TINI;
  // The first runaway, kept as the error of a plate that converges at no step.
  std::string runaway;
  while (c.TCUR <= c.TEND) {
    bool step_converged = solve_step(status);
    if (status == STATUS_PLATE_ERROR && PlateFailure.diverged) {
      // A step too long for the piles (a load past what they carry) makes
      // the iteration run away; it is tried again shorter, as one that does
      // not converge, so the steps already converged are kept.
      if (runaway.empty()) runaway = PlateFailure.detail;
      PlateFailure = PlateFailureRecord{};
      status = 0;
      step_converged = false;
      fio::write(UNIT_PLATE_LISTING, RETRY_LAYOUT);
    }
    if (status != 0) return;
    if (step_converged) {
      ADD_TO_VECTOR(m.ASDIS, m.TSDIS, equations);
      WRITE_PLATE_REACTIONS();
      WRITE_PLATE_STRESSES();
      converged_time = c.TCUR;
      report_progress(PLATE_STEP_ENDED);
      c.TCUR = NEXT_PLATE_TIME(c.TCUR, c.dt_current);
      ++c.STEP;
      if (converged_time >= c.TEND) return;  // the step at TEND was the last
      if (c.TCUR <= converged_time) {
        FAIL_PLATE(status, STALLED_DETAIL);
        return;
      }
      continue;
    }
    bool below_minimum = false;
    HALVE_PLATE_STEP(converged_time, below_minimum);
    report_progress(PLATE_STEP_ENDED);
    if (below_minimum) {
      for (int unit : {UNIT_PLATE_CONSOLE, UNIT_PLATE_CONVERGENCE_LOG}) fio::write(unit, BELOW_MINIMUM_LAYOUT);
      if (converged_time == c.TINI && !runaway.empty()) {
        FAIL_PLATE(status, runaway);
        fio::write(UNIT_PLATE_LISTING, CAUSE_LAYOUT, runaway);
      }
      return;
    }
    if (c.TCUR <= converged_time) {
      FAIL_PLATE(status, STALLED_DETAIL);
      return;
    }
  }
}

// The element kind, refused before any table is sized for it.
void check_element_kind(int& status) {
  int kind_status = 0;
  CHECK_PLATE_ELEMENT_KIND(kind_status);
  if (kind_status == 0) return;
  const std::string detail = PlateFailure.detail;
  fio::write(UNIT_PLATE_LISTING, CAUSE_LAYOUT, detail);
  PLATE_DATA_FAILURE(detail, status);
}

}  // namespace

void SET_PLATE_PROGRESS_HOOK(PlateProgressHook hook) { progress_hook = hook; }

bool PLATE_STOP_POLL(int& status) {
  StopPollClock& clock = stop_poll_clock;
  if (++clock.calls < PLATE_STOP_POLL_CALLS) return false;
  clock.calls = 0;
  const auto now = std::chrono::steady_clock::now();
  if (std::chrono::duration<double>(now - clock.last_read).count() < PLATE_STOP_POLL_SECONDS) return false;
  clock.last_read = now;
  if (!STOP_REQUESTED()) return false;
  status = STATUS_STOPPED_BY_USER;
  return true;
}

void FILL_VECTOR(Table1<double>& vector, int count, double value) {
  for (int i = 1; i <= count; ++i) vector(i) = value;
}

void ADD_TO_VECTOR(Table1<double>& target, const Table1<double>& source, int count) {
  for (int i = 1; i <= count; ++i) target(i) += source(i);
}

void SCATTER_ELEMENT_VECTORS(const Table2<double>& element_vectors, Table1<double>& nodal_vector,
                             const Table2<int>& element_nodes) {
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    for (int p = 1; p <= PlateControl.NNODE; ++p) {
      const int node = element_nodes(e, p);
      for (int d = 1; d <= PLATE_NODE_DOFS; ++d) {
        nodal_vector(PLATE_EQUATION(node, d)) += element_vectors(e, PLATE_ELEMENT_VARIABLE(p, d));
      }
    }
  }
}

void PLATE_VECTOR_NORMS(const Table1<double>& vector, double& translational, double& rotational, int count) {
  double translations = 0.0;
  double rotations = 0.0;
  for (int block = 1; block <= count / PLATE_NODE_DOFS; ++block) {
    for (int d = PLATE_UX; d <= PLATE_UZ; ++d)
      translations += vector(PLATE_EQUATION(block, d)) * vector(PLATE_EQUATION(block, d));
    for (int d = PLATE_ROTX; d <= PLATE_ROTZ; ++d)
      rotations += vector(PLATE_EQUATION(block, d)) * vector(PLATE_EQUATION(block, d));
  }
  translational = std::sqrt(translations);
  rotational = std::sqrt(rotations);
}

double NEXT_PLATE_TIME(double time, double step) {
  const double end = PlateControl.TEND;
  return time < end && time + step > end ? end : time + step;
}

void HALVE_PLATE_STEP(double converged_time, bool& below_minimum) {
  PlateControlRecord& c = PlateControl;
  // A step cut at TEND was shorter than dt_current: halve what it really was.
  const double attempted = c.TCUR - converged_time;
  if (c.TCUR == c.TEND && attempted < c.dt_current) c.dt_current = attempted;
  c.dt_current *= STEP_HALVING;
  below_minimum = c.DTMIN > c.dt_current;
  if (!below_minimum) c.TCUR = converged_time + c.dt_current;
}

void RUN_PLATE_ANALYSIS(int& status) {
  if (status != 0) return;
  PlateControl = PlateControlRecord{};
  PlateDiagnoses = PlateDiagnosisRecord{};
  PlateFailure = PlateFailureRecord{};
  PlatePileCoupling.piles.clear();
  OPEN_PLATE_FILES(status);
  if (status == 0) READ_PLATE_CONTROL(status);
  if (status == 0) {
    ECHO_PLATE_CONTROL();
    CHECK1(status);
  }
  if (status == 0) check_element_kind(status);
  if (status == 0) {
    ALLOCATE_PLATE_ARRAYS(status);
    if (status != 0) fio::write(UNIT_PLATE_LISTING, CAUSE_LAYOUT, PlateFailure.detail);
  }
  if (status == 0) READ_PLATE_DATA(status);
  fio::close(UNIT_PLATE_DATA);
  if (status == 0) {
    step_loads(status);
    if (status == 0) report_progress(PLATE_STEPPING_ENDED);
    if (status == 0 && PlateControl.STEP > 1) PLATE_FINAL_PILE_FORCES(status);
  }
  if (fio::is_open(UNIT_PLATE_STEP_RESULTS)) fio::write(UNIT_PLATE_STEP_RESULTS, END_STEP_DATA_LAYOUT);
  RELEASE_PLATE_ARRAYS();
  for (int unit : {UNIT_PLATE_LISTING, UNIT_PLATE_STEP_RESULTS, UNIT_PLATE_CONVERGENCE_LOG, UNIT_PLATE_DEBUG}) {
    fio::close(unit);
  }
}

}  // namespace pilecap
