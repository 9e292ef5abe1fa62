// Axial and torsional pile-head forces from the pile's load-settlement and
// torque-rotation curves: a linear lookup between the points (movements
// increasing, uplift negative), the end value or zero beyond the ends with a
// warning during a base evaluation, the axial load variation along the pile
// for generated curves, and the initial slope of either curve. Curves are
// 1-based (curve, point); the axial profile holds node j at row j + 3.
#include <algorithm>
#include <cmath>

#include "input/input.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "pile/pile_head.hpp"

namespace pilecap {

namespace {

// Below this head movement the variation's head load is replaced by the
// movement itself.
constexpr double NEGLIGIBLE_MOVEMENT = double(1e-25f);

// The case texts of the warnings, as each routine words them.
struct CurveTexts {
  const char* bearing_maximum;
  const char* bearing_failure;
  const char* pull_out_maximum;
  const char* pull_out_failure;
};
constexpr CurveTexts AXIAL_TEXTS_3D{"REACHED MAXIMUM LOAD IN BEARING  ", "APPARENT FAILURE IN BEARING    ,",
                                    "REACHED MAXIMUM LOAD IN PULLOUT  ", "APPARENT FAILURE IN PULL OUT    "};
constexpr CurveTexts AXIAL_TEXTS_2D{"MAXIMUM LOAD REACHED IN BEARING  ", "APPARENT FAILURE IN BEARING     ",
                                    "MAXIMUM LOAD REACHED IN PULLOUT  ", "APPARENT FAILURE IN PULL OUT    "};
constexpr CurveTexts TORSION_TEXTS{"MAXIMUM MOMENT REACHED IN TORSION ", "APPARENT FAILURE IN TORSION     ",
                                   "MAXIMUM MOMENT REACHED IN TORSION ", "APPARENT FAILURE IN TORSION     "};

// A curve copied point by point (the generated tables store the curve index
// fastest, so their points are not contiguous).
struct CurvePoints {
  int n = 0;
  double movement[MAX_CURVE_POINTS] = {};
  double force[MAX_CURVE_POINTS] = {};
};

template <class Movement, class Force>
void copy_points(CurvePoints& c, int n, Movement movement, Force force) {
  c.n = n < 0 ? 0 : (n > MAX_CURVE_POINTS ? MAX_CURVE_POINTS : n);
  for (int i = 1; i <= c.n; ++i) {
    c.movement[i - 1] = movement(i);
    c.force[i - 1] = force(i);
  }
}

CurvePoints axial_points(int pile) {
  CurvePoints c;
  const int k = PileTable.ls_curve(pile);
  if (k >= 1) {
    copy_points(
        c, UserLsCurve.point_count(k), [&](int i) { return UserLsCurve.movement(k, i); },
        [&](int i) { return UserLsCurve.load(k, i); });
  } else if (-k >= 1) {
    copy_points(
        c, GeneratedLsCurve.point_count(-k), [&](int i) { return GeneratedLsCurve.movement(-k, i); },
        [&](int i) { return GeneratedLsCurve.load(-k, i); });
  }
  return c;
}

CurvePoints torsion_points(int pile) {
  CurvePoints c;
  const int k = PileTable.tr_curve(pile);
  if (k >= 1) {
    copy_points(
        c, UserTrCurve.point_count(k), [&](int i) { return UserTrCurve.rotation(k, i); },
        [&](int i) { return UserTrCurve.torque(k, i); });
  } else if (-k >= 1) {
    copy_points(
        c, GeneratedTrCurve.point_count(-k), [&](int i) { return GeneratedTrCurve.rotation(-k, i); },
        [&](int i) { return GeneratedTrCurve.torque(-k, i); });
  }
  return c;
}

// The lookup of both curves. Returns false when the routine ends with the
// force (a failure beyond either end): no axial variation then.
bool curve_lookup(int pile, const CurvePoints& c, double u, const CurveTexts& texts, int kind_beyond_last,
                  int kind_before_first, double& force, PileEvaluation& evaluation) {
  const int n = c.n;
  const bool extend = RunOptions.extend_curve_interpolation == 1;
  const bool base = WarningCounters.base_evaluation == 1;
  auto m = [&](int i) { return c.movement[i - 1]; };
  auto f = [&](int i) { return c.force[i - 1]; };
  auto warn = [&](int kind, const char* text, double curve_movement, double result) {
    if (!base) return;
    PileWarning w;
    w.kind = kind;
    w.pile = pile;
    w.text = text;
    w.movement = u;
    w.curve_movement = curve_movement;
    w.result = result;
    HOLD_PILE_WARNING(evaluation, w);
  };
  int bracket = 0;
  for (int i = 2; i <= n; ++i) {
    if (m(i) >= u) {
      bracket = i;
      break;
    }
  }
  force = 0.0;
  // A curve without points reads as one point at the origin.
  const double last_movement = n >= 1 ? m(n) : 0.0;
  const double last_force = n >= 1 ? f(n) : 0.0;
  if (bracket == 0) {
    if (!extend) {
      warn(kind_beyond_last, texts.bearing_failure, last_movement, 0.0);
      return false;
    }
    force = last_force;
    warn(kind_beyond_last, texts.bearing_maximum, last_movement, force);
  }
  if (n >= 1 && u < m(1)) {
    if (!extend) {
      force = 0.0;
      warn(kind_before_first, texts.pull_out_failure, m(1), 0.0);
      return false;
    }
    force = f(1);
    warn(kind_before_first, texts.pull_out_maximum, m(1), force);
    return true;
  }
  if (bracket != 0) {
    const int i = bracket;
    const double span = m(i) - m(i - 1);
    // Two points at one movement: the upper one's force.
    force = span == 0.0 ? f(i) : f(i - 1) + (u - m(i - 1)) * (f(i) - f(i - 1)) / span;
  }
  return true;
}

void axial_head_force(int pile, double& force, const double* d, PileAxialProfile& profile, int& status,
                      PileEvaluation& evaluation, PileTransferWork& transfer, const CurveTexts& texts) {
  profile.movement.fill(0.0);
  profile.load.fill(0.0);
  force = 0.0;
  const double u = d[0];
  if (u == 0.0) return;
  const CurvePoints c = axial_points(pile);
  if (!curve_lookup(pile, c, u, texts, PILE_WARNING_BEARING, PILE_WARNING_PULL_OUT, force, evaluation)) return;
  if (AnalysisControl.axial_variation != 1 || PileTable.ls_curve(pile) > 0) return;
  const int q = PileTable.prop(pile);
  // The steps stop at the first that fails; the curve force then stands.
  BUILD_PILE_TZ_CURVES(pile, q, u, status, transfer);
  if (status != STATUS_OK) return;
  BUILD_PILE_TIP_QW_CURVE(pile, q, u, status, transfer);
  if (status != STATUS_OK) return;
  int error = PILE_ERR_NONE;
  SOLVE_PILE_AXIAL_TRANSFER(pile, q, u, status, profile.movement, profile.load, transfer, error);
  evaluation.error = MERGE_PILE_ERROR_WORDS(evaluation.error, error);
  force = std::fabs(u) < NEGLIGIBLE_MOVEMENT ? u : profile.load(NODE_ROW_OFFSET + 1);
  const double factor = PileTable.axial_factor(pile);
  for (double& v : profile.load) v *= factor;
}

// The slope of the segment ending at the first point at or beyond the origin.
double initial_slope(const CurvePoints& c) {
  if (c.n < 2) return 0.0;
  int end = c.n;
  for (int i = 2; i <= c.n; ++i) {
    if (c.movement[i - 1] >= 0.0) {
      end = i;
      break;
    }
  }
  const double span = c.movement[end - 1] - c.movement[end - 2];
  return span == 0.0 ? 0.0 : (c.force[end - 1] - c.force[end - 2]) / span;
}

}  // namespace

void AXIAL_HEAD_FORCE(int pile, double& force, const double* d, PileAxialProfile& profile, int& status,
                      PileEvaluation& evaluation, PileTransferWork& transfer) {
  axial_head_force(pile, force, d, profile, status, evaluation, transfer, AXIAL_TEXTS_3D);
}

void AXIAL_HEAD_FORCE_2D(int pile, double& force, const double* d, PileAxialProfile& profile, int& status,
                         PileEvaluation& evaluation, PileTransferWork& transfer) {
  axial_head_force(pile, force, d, profile, status, evaluation, transfer, AXIAL_TEXTS_2D);
}

void TORSION_HEAD_MOMENT(int pile, double& torque, const double* d, PileEvaluation& evaluation) {
  const CurvePoints c = torsion_points(pile);
  curve_lookup(pile, c, d[3], TORSION_TEXTS, PILE_WARNING_TORSION, PILE_WARNING_TORSION, torque, evaluation);
}

void AXIAL_CURVE_STIFFNESS(int pile, int /*mode*/, double& k) { k = initial_slope(axial_points(pile)); }

void TORSION_CURVE_STIFFNESS(int pile, int /*mode*/, double& k) { k = initial_slope(torsion_points(pile)); }

double AXIAL_CURVE_REACH(int pile) {
  const CurvePoints c = axial_points(pile);
  if (c.n < 1) return 0.0;
  return std::max(std::fabs(c.movement[0]), std::fabs(c.movement[c.n - 1]));
}

}  // namespace pilecap
