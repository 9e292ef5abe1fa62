// The steps shared by the 3D and 2D laterally loaded pile: a beam-column on
// nonlinear soil springs by central finite differences. Each bending plane is
// a pentadiagonal system with two head rows (deflection, and zero moment,
// slope or a rotational spring) and two tip rows (zero moment and zero shear
// with the axial-force term), reduced by a forward recursion
// y(i) = a y(i+1) + b y(i+2) + c and back substitution. Work vectors hold
// node j at row j + 3: head row 4, tip row n + 4, fictitious rows 3, n + 5
// and n + 6.
#include "pile/lateral_plane.hpp"

#include <algorithm>
#include <cmath>

#include "base/check.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"
#include "soil/py_curves.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

SoilReactionProvider soil_reaction_provider = SOIL_REACTION_AT_NODES;

// The coefficients of one plane's recursion y(i) = a y(i+1) + b y(i+2) + c.
struct Recursion {
  PileRowVector& a;
  PileRowVector& b;
  PileRowVector& c;
};

// Head rows 3 and 4 of the recursion; rows 1 and 2 stay 0. Built for every
// solve from the head rigidity of that solve, so a spring-restrained head
// keeps moment = spring x (slope + rotation) when its stiffness has changed.
void set_head_rows(const LateralPlane& plane, double h, const Recursion& r) {
  const double y_h = plane.head_deflection;
  const double rotation = plane.rotation;
  const double ei4 = plane.ei(4);
  const double k = plane.spring;
  for (int row = 1; row <= 4; ++row) r.a(row) = r.b(row) = r.c(row) = 0.0;
  r.c(4) = y_h;
  if (plane.connection == CONN_PIN) {
    r.b(3) = -1.0;
    r.c(3) = 2 * y_h;
  } else if (plane.connection == CONN_FIX) {
    r.b(3) = 1.0;
    r.c(3) = 2 * h * rotation;
  } else {
    const double denominator = 2 * ei4 + h * k;
    r.b(3) = (h * k - 2 * ei4) / denominator;
    r.c(3) = (2 * k * h * h * rotation + 4 * ei4 * y_h) / denominator;
  }
}

// The start of a solve: the previous deflections kept, the head rows.
void start_plane(const LateralPlane& plane, int n, double h, const Recursion& r) {
  for (int row = 4; row <= n + 4; ++row) plane.previous(row) = plane.deflection(row);
  set_head_rows(plane, h, r);
}

// The forward recursion of one plane, row by row from row 5: the
// coefficients of the two rows before and the rigidities of the row before
// and this row are carried in locals, so no store of a coefficient row
// makes them load again. Row i with qh2 = N(i) h^2 and kh4 = Es(i) h^4.
class ForwardSweep {
 public:
  ForwardSweep(const LateralPlane& plane, const Recursion& r)
      : ei_(plane.ei.data()),
        load_(plane.load.data()),
        a_(r.a.data()),
        b_(r.b.data()),
        c_(r.c.data()),
        a2_(r.a(3)),
        a1_(r.a(4)),
        b2_(r.b(3)),
        b1_(r.b(4)),
        c2_(r.c(3)),
        c1_(r.c(4)),
        ei1_(plane.ei(4)),
        ei0_(plane.ei(5)) {}

  void row(int i, double qh2, double kh4, double h4) {
    const std::size_t k = static_cast<std::size_t>(i - 1);  // row i in the arrays
    const double a = ei1_, b = ei0_, c = ei_[k + 1];
    const double e = a * a2_ + qh2 - 2 * a - 2 * b;
    const double d = a + 4 * b + c - 2 * qh2 + kh4 + e * a1_ + a * b2_;
    const double g = d == 0.0 ? 0.0 : -1.0 / d;
    const double a_i = g * (qh2 - 2 * b - 2 * c + e * b1_);
    const double b_i = g * c;
    const double c_i = g * (a * c2_ + e * c1_ - load_[k] * h4);
    a_[k] = a_i;
    b_[k] = b_i;
    c_[k] = c_i;
    a2_ = a1_;
    a1_ = a_i;
    b2_ = b1_;
    b1_ = b_i;
    c2_ = c1_;
    c1_ = c_i;
    ei1_ = ei0_;
    ei0_ = c;
  }

 private:
  const double* ei_;
  const double* load_;
  double* a_;
  double* b_;
  double* c_;
  double a2_, a1_, b2_, b1_, c2_, c1_;  // a, b, c of rows i - 2 and i - 1
  double ei1_, ei0_;                    // EI of rows i - 1 and i
};

// The back substitution of one plane from row t = n + 4 down to row 1, the
// deflections of the two rows below carried in locals.
class BackSweep {
 public:
  BackSweep(const LateralPlane& plane, const Recursion& r, int t)
      : y_(plane.deflection.data()),
        a_(r.a.data()),
        b_(r.b.data()),
        c_(r.c.data()),
        y1_(plane.deflection(t + 1)),
        y2_(plane.deflection(t + 2)) {}

  void row(int i) {
    const std::size_t k = static_cast<std::size_t>(i - 1);
    const double y = a_[k] * y1_ + b_[k] * y2_ + c_[k];
    y_[k] = y;
    y2_ = y1_;
    y1_ = y;
  }

 private:
  double* y_;
  const double* a_;
  const double* b_;
  const double* c_;
  double y1_, y2_;  // y of rows i + 1 and i + 2
};

// The two tip conditions of a solve: the fictitious rows below the tip.
void tip_rows(const LateralPlane& plane, int n, double h, const Recursion& r, const LateralPileWork& w) {
  PileRowVector& y = plane.deflection;
  const PileRowVector& ei = plane.ei;
  const double h2 = h * h;
  // The tip rows in terms of u = y(t + 1) and v = y(t + 2): y = alpha u + beta v + gamma.
  const int t = n + 4;
  struct Linear {
    double alpha, beta, gamma;
  };
  const Linear y_t{r.a(t), r.b(t), r.c(t)};
  const Linear y_t1{r.a(t - 1) * y_t.alpha + r.b(t - 1), r.a(t - 1) * y_t.beta, r.a(t - 1) * y_t.gamma + r.c(t - 1)};
  const Linear y_t2{r.a(t - 2) * y_t1.alpha + r.b(t - 2) * y_t.alpha, r.a(t - 2) * y_t1.beta + r.b(t - 2) * y_t.beta,
                    r.a(t - 2) * y_t1.gamma + r.b(t - 2) * y_t.gamma + r.c(t - 2)};
  // A tip without bending stiffness has no axial-force term in its shear.
  const double s = ei(t) == 0.0 ? 0.0 : (w.axial_force(t) * h2 - 2 * ei(t)) / ei(t);
  // Zero moment: y(t-1) - 2 y(t) + u = 0.
  const double m_u = y_t1.alpha - 2 * y_t.alpha + 1.0;
  const double m_v = y_t1.beta - 2 * y_t.beta;
  const double m_r = -(y_t1.gamma - 2 * y_t.gamma);
  // Zero shear: v + s u - s y(t-1) - y(t-2) = 0.
  const double s_u = s - s * y_t1.alpha - y_t2.alpha;
  const double s_v = 1.0 - s * y_t1.beta - y_t2.beta;
  const double s_r = s * y_t1.gamma + y_t2.gamma;
  const double det = m_u * s_v - m_v * s_u;
  if (det == 0.0) {
    y(t + 1) = y(t + 2) = 0.0;
  } else {
    y(t + 1) = (m_r * s_v - m_v * s_r) / det;
    y(t + 2) = (m_u * s_r - m_r * s_u) / det;
  }
  y(t + 3) = 0.0;
}

}  // namespace

void SET_SOIL_REACTION_PROVIDER(SoilReactionProvider provider) {
  soil_reaction_provider = provider != nullptr ? provider : SOIL_REACTION_AT_NODES;
}

SoilReactionProvider LATERAL_SOIL_REACTION_PROVIDER() { return soil_reaction_provider; }

void CLEAR_LATERAL_WORK(LateralPileWork& w, int last_row) {
  for (PileRowVector* v : {&w.deflection_y,
                           &w.deflection_z,
                           &w.previous_deflection_y,
                           &w.previous_deflection_z,
                           &w.ei_zz,
                           &w.ei_yy,
                           &w.ei_zz_saved,
                           &w.ei_yy_saved,
                           &w.axial_force,
                           &w.soil_modulus,
                           &w.load_y,
                           &w.load_z,
                           &w.dist_load_y,
                           &w.dist_load_z,
                           &w.soil_move_y,
                           &w.soil_move_z,
                           &w.soil_reaction,
                           &w.resultant_deflection,
                           &w.modulus_times_movement,
                           &w.coef_a,
                           &w.coef_b,
                           &w.coef_c,
                           &w.coef_a_z,
                           &w.coef_b_z,
                           &w.coef_c_z}) {
    for (int row = 1; row <= last_row; ++row) (*v)(row) = 0.0;
  }
  for (int row = 1; row <= last_row; ++row) w.hinge_zz(row) = w.hinge_yy(row) = 0;
}

bool USES_OWN_PY_CURVES(int pile) { return RunOptions.user_py_curves == 1 && PileTable.py_set(pile) > 0; }

LateralSolveStart::LateralSolveStart(int pile, bool both_planes, LateralPileWork& w)
    : set(PileTable.prop(pile)),
      n(PileProperty.n_increments(set)),
      h(PileProperty.increment(set)),
      soil_movement(false) {
  const int last_row = n + 7;
  PILECAP_ASSERT(n >= 1 && last_row <= PILE_NODE_ROWS, "a pile has 1 to 200 increments");
  CLEAR_LATERAL_WORK(w, last_row);
  if (!USES_OWN_PY_CURVES(pile)) solve_scope.emplace(pile);
  soil_movement = LATERAL_MOVEMENTS_AND_LOADS(pile, n, both_planes, w);
}

bool LATERAL_MOVEMENTS_AND_LOADS(int pile, int n, bool both_planes, LateralPileWork& w) {
  PileNodeVector values{};
  auto to_rows = [&](PileRowVector& rows) {
    for (int j = 1; j <= n + 1; ++j) rows(j + NODE_ROW_OFFSET) = values(j);
  };
  auto clear_movements = [&] {
    for (int j = 1; j <= n + 1; ++j) {
      const int row = j + NODE_ROW_OFFSET;
      w.soil_reaction(row) = w.soil_move_y(row) = w.soil_move_z(row) = 0.0;
    }
  };
  if (SoilMovementProfile.count > 0) {
    SOIL_MOVE_PROFILE_ON_PILE(pile);
    clear_movements();
    PROFILE_MOVE_AT_NODES_Y(pile, values);
    to_rows(w.soil_move_y);
    if (both_planes) {
      PROFILE_MOVE_AT_NODES_Z(pile, values);
      to_rows(w.soil_move_z);
    }
  }
  if (PileLoadProfile.move_count(pile) > 0) {
    clear_movements();
    SOIL_MOVE_AT_NODES_Y(pile, values);
    to_rows(w.soil_move_y);
    if (both_planes) {
      SOIL_MOVE_AT_NODES_Z(pile, values);
      to_rows(w.soil_move_z);
    }
  }
  if (PileLoadProfile.load_count(pile) != 0) {
    DIST_LOAD_AT_NODES_Y(pile, values);
    to_rows(w.dist_load_y);
    to_rows(w.load_y);
    if (both_planes) {
      DIST_LOAD_AT_NODES_Z(pile, values);
      to_rows(w.dist_load_z);
      to_rows(w.load_z);
    }
  }
  return SoilMovementProfile.count > 0 || PileLoadProfile.move_count(pile) > 0;
}

void INITIAL_SUBGRADE_MODULUS(int pile, int n, LateralPileWork& w) {
  int layer = 1;
  for (int j = 1; j <= n + 1; ++j) {
    double depth = PileNodes.depth(pile, j);
    if (layer <= SoilProfile.num_layers && SoilProfile.layer_top(layer) <= depth) ++layer;
    const int row = j + NODE_ROW_OFFSET;
    if (layer == 1) {
      w.soil_modulus(row) = 0.0;
    } else {
      w.soil_modulus(row) =
          SUBGRADE_K_OR_DEFAULT(depth) * (depth - PileTable.head_depth(pile) - PileTable.ground(pile));
    }
  }
}

void LATERAL_AXIAL_FORCE_ROWS(int pile, int n, double axial_force, const PileRowVector& axial_load,
                              LateralPileWork& w) {
  const bool varying_axial = AnalysisControl.axial_variation == 1 && PileTable.ls_curve(pile) < 1;
  for (int row = 3; row <= n + 6; ++row) {
    if (!varying_axial) {
      w.axial_force(row) = axial_force;
    } else {
      const int source = row < 4 ? 4 : (row > n + 4 ? n + 4 : row);
      w.axial_force(row) = axial_load(source);
    }
  }
}

bool LATERAL_SOIL_MODULI(int pile, PileRowVector& deflection, LateralPileWork& w, int& status) {
  if (USES_OWN_PY_CURVES(pile)) {
    USER_PY_PILE_MODULUS(pile, deflection, w.soil_modulus, w.soil_move_y, w.soil_move_z, w.modulus_times_movement,
                         w.soil_reaction);
    return true;
  }
  int set = PileTable.prop(pile);
  int pile_ref = pile;
  int factor_index = pile;
  soil_reaction_provider(set, status, pile_ref, factor_index, BY_NODE(deflection), BY_NODE(w.soil_modulus),
                         BY_NODE(w.soil_move_y), BY_NODE(w.soil_move_z), BY_NODE(w.modulus_times_movement),
                         BY_NODE(w.soil_reaction));
  return status == STATUS_OK;
}

void SOLVE_LATERAL_PLANE(const LateralPlane& plane, int n, double h, LateralPileWork& w) {
  const Recursion r{w.coef_a, w.coef_b, w.coef_c};
  const double h2 = h * h;
  const double h4 = h2 * h2;
  start_plane(plane, n, h, r);
  ForwardSweep forward(plane, r);
  for (int i = 5; i <= n + 4; ++i) forward.row(i, w.axial_force(i) * h2, w.soil_modulus(i) * h4, h4);
  tip_rows(plane, n, h, r, w);
  BackSweep back(plane, r, n + 4);
  for (int i = n + 4; i >= 1; --i) back.row(i);
}

void SOLVE_LATERAL_PLANES(const LateralPlane& plane_y, const LateralPlane& plane_z, int n, double h,
                          LateralPileWork& w) {
  const Recursion r_y{w.coef_a, w.coef_b, w.coef_c};
  const Recursion r_z{w.coef_a_z, w.coef_b_z, w.coef_c_z};
  const double h2 = h * h;
  const double h4 = h2 * h2;
  start_plane(plane_y, n, h, r_y);
  start_plane(plane_z, n, h, r_z);
  // Two independent recursions side by side in one pass over the rows: the
  // processor overlaps them, and the axial-force and soil terms of a row,
  // the same in both planes, are formed once.
  ForwardSweep forward_y(plane_y, r_y), forward_z(plane_z, r_z);
  for (int i = 5; i <= n + 4; ++i) {
    const double qh2 = w.axial_force(i) * h2;
    const double kh4 = w.soil_modulus(i) * h4;
    forward_y.row(i, qh2, kh4, h4);
    forward_z.row(i, qh2, kh4, h4);
  }
  tip_rows(plane_y, n, h, r_y, w);
  tip_rows(plane_z, n, h, r_z, w);
  BackSweep back_y(plane_y, r_y, n + 4), back_z(plane_z, r_z, n + 4);
  for (int i = n + 4; i >= 1; --i) {
    back_y.row(i);
    back_z.row(i);
  }
}

bool LATERAL_DEFLECTIONS_CLOSED(int n, const LateralPileWork& w) {
  const double tolerance = AnalysisControl.llp_tolerance;
  for (int row = 4; row <= n + 4; ++row) {
    if (!(std::fabs(w.deflection_y(row) - w.previous_deflection_y(row)) < tolerance)) return false;
    if (!(std::fabs(w.deflection_z(row) - w.previous_deflection_z(row)) < tolerance)) return false;
  }
  return true;
}

namespace {

// A node whose spring deflection is its own (resultant) deflection: the
// distance from the movement's magnitude already is its displacement against
// the soil, to rounding.
constexpr double SAME_DISTANCE = 1e-12;
// The plain iteration hands over once its change has not reached a new low
// for this many solves, and not before this solve.
constexpr int GUARD_STALL = 4;
constexpr int GUARD_FIRST_ITERATION = 6;
// The secant step's share of the previous solve: at most this far beyond
// the solve, and at least this far short of the previous one.
constexpr double GUARD_MOST_EXTRAPOLATION = 4.0;
constexpr double GUARD_LEAST_SHORTFALL = 0.05;
constexpr double GUARD_HALF_WAY = 0.5;

double spring_deflection_2d(double y, double move) { return move >= 0.0 ? y : y - 2.0 * move; }

double spring_deflection_3d(double y, double z, double move_y, double move_z) {
  const double r = std::hypot(y, z);
  const double m = std::hypot(move_y, move_z);
  const double against = std::hypot(y - move_y, z - move_z);
  const double distance = std::fabs(r - m);
  if (!(against > distance * (1.0 + SAME_DISTANCE) + RunConstants.tiny)) return r;
  return r >= m ? m + against : m - against;
}

}  // namespace

void LATERAL_SPRING_DEFLECTIONS(int n, const PileRowVector& y, const PileRowVector* z, bool soil_movement,
                                LateralPileWork& w) {
  // One loop per case: the test is the same for every node of the pile.
  if (z != nullptr && soil_movement) {
    for (int row = 4; row <= n + 4; ++row) {
      w.resultant_deflection(row) = spring_deflection_3d(y(row), (*z)(row), w.soil_move_y(row), w.soil_move_z(row));
    }
  } else if (z != nullptr) {
    for (int row = 4; row <= n + 4; ++row) w.resultant_deflection(row) = std::hypot(y(row), (*z)(row));
  } else if (soil_movement) {
    for (int row = 4; row <= n + 4; ++row)
      w.resultant_deflection(row) = spring_deflection_2d(y(row), w.soil_move_y(row));
  } else {
    for (int row = 4; row <= n + 4; ++row) w.resultant_deflection(row) = y(row);
  }
}

void LATERAL_GUARDED_DEFLECTIONS(LateralIterationGuard& guard, int iteration, int n, bool both_planes,
                                 LateralPileWork& w) {
  double change = 0.0;
  for (int row = 4; row <= n + 4; ++row) {
    change = std::max(change, std::fabs(w.deflection_y(row) - w.previous_deflection_y(row)));
    if (both_planes) change = std::max(change, std::fabs(w.deflection_z(row) - w.previous_deflection_z(row)));
  }
  if (guard.since_best < 0 || change < guard.best_change) {
    guard.best_change = change;
    guard.since_best = 0;
  } else {
    ++guard.since_best;
  }
  if (!guard.active) {
    if (iteration < GUARD_FIRST_ITERATION || guard.since_best < GUARD_STALL) return;
    guard.active = true;
  }
  // The change g = solve - input now and before; the step takes the share
  // theta of the previous solve that makes g - theta (g - g_before) least.
  double cross = 0.0, square = 0.0;
  auto sums = [&](const PileRowVector& solve, const PileRowVector& input, const PileRowVector& change_before) {
    for (int row = 4; row <= n + 4; ++row) {
      const double g = solve(row) - input(row);
      const double dg = g - change_before(row);
      cross += g * dg;
      square += dg * dg;
    }
  };
  if (guard.secant_ready) {
    sums(w.deflection_y, w.previous_deflection_y, w.guard_change_y);
    if (both_planes) sums(w.deflection_z, w.previous_deflection_z, w.guard_change_z);
  }
  const double theta = square > 0.0 ? cross / square : 0.0;
  const bool secant = guard.secant_ready && square > 0.0 && std::isfinite(theta);
  const double share = std::clamp(theta, -GUARD_MOST_EXTRAPOLATION, 1.0 - GUARD_LEAST_SHORTFALL);
  auto step = [&](PileRowVector& solve, const PileRowVector& input, PileRowVector& solve_before,
                  PileRowVector& change_before) {
    for (int row = 4; row <= n + 4; ++row) {
      const double now = solve(row);
      const double next =
          secant ? now - share * (now - solve_before(row)) : input(row) + GUARD_HALF_WAY * (now - input(row));
      change_before(row) = now - input(row);
      solve_before(row) = now;
      solve(row) = next;
    }
  };
  step(w.deflection_y, w.previous_deflection_y, w.guard_solve_y, w.guard_change_y);
  if (both_planes) step(w.deflection_z, w.previous_deflection_z, w.guard_solve_z, w.guard_change_z);
  guard.secant_ready = true;
}

double LATERAL_PLANE_RESULTS(const PileRowVector& y, const PileRowVector& ei, const PileRowVector& load, int n,
                             double h, const LateralPileWork& w, PileRowVector& slope, PileRowVector& moment,
                             PileRowVector& shear, PileRowVector& reaction) {
  for (int k = 4; k <= n + 5; ++k) {
    slope(k) = (y(k + 1) - y(k - 1)) / (2 * h);
    moment(k) = -ei(k) * (y(k - 1) - 2 * y(k) + y(k + 1)) / (h * h);
  }
  shear(4) = w.axial_force(4) * slope(4) - (moment(5) - moment(4)) / h;
  for (int k = 5; k <= n + 4; ++k) shear(k) = w.axial_force(k) * slope(k) - (moment(k + 1) - moment(k - 1)) / (2 * h);
  double head_force = 0.0;
  for (int k = 4; k <= n + 4; ++k) {
    reaction(k) = w.soil_modulus(k) * y(k);
    const double weight = (k == 4 || k == n + 4) ? 0.5 : 1.0;
    head_force += weight * (reaction(k) - load(k)) * h;
  }
  return head_force;
}

void REPORT_LATERAL_NO_CLOSURE(int pile) {
  PileWarning warning;
  warning.kind = PILE_WARNING_NO_CLOSURE;
  warning.pile = pile;
  warning.iteration_limit = AnalysisControl.llp_max_iterations;
  warning.to_results = WARNINGS_TO_RESULTS_REPORT();
  RECORD_PILE_WARNING(warning);
}

}  // namespace pilecap
