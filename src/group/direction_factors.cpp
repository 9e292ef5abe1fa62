// Reduction factors for closely spaced piles that follow the direction of the
// cap's movement, and the group tangent that sees them change. The factor a
// pile's p-y curves use is the elliptical blend sqrt((P1 cy)^2 + (P2 cz)^2)
// of the factors of the two horizontal directions, (cy, cz) the direction
// cosines of the horizontal movement (or of the given direction); methods 1
// and 3 first recompute the two directional sets for the signs of the
// movement. The difference tangent keeps the factors of each perturbed
// displacement in storage of its own and hands them to the p-y curves only
// between the parallel loops. Cap vectors of 6 doubles, entries 1-based.
#include <cmath>
#include <memory>
#include <vector>

#include "group/difference_tangent.hpp"
#include "group/group_forces.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "soil/close_spacing.hpp"

namespace pilecap {

namespace {

constexpr int TORSION_BLEND_AFTER = 20;  // from the next iteration a pure torsion blends both directions alike
constexpr int FY = 2, FZ = 3;            // horizontal components of a cap vector (1-based)

// What the direction of a trial displacement asks of the factors.
struct DirectionChoice {
  bool recompute = false;  // the directional sets are computed for the signs below
  double sign_y = 1.0, sign_z = 1.0;
  double a = 1.0, b = 0.0;  // weights of the blend along Y and Z
};

double sign_of(double value) { return value < 0.0 ? -1.0 : 1.0; }

DirectionChoice choose_direction(const double* w, const double* load, int iteration, int torsion_only) {
  const int method = RunOptions.pmult_method;
  const bool late_torsion = iteration > TORSION_BLEND_AFTER && torsion_only == 1;
  const double d1 = RunOptions.pmult_direction(1), d2 = RunOptions.pmult_direction(2);
  DirectionChoice c;
  if (method == PMULT_METHOD_MOVEMENT) {
    c.recompute = true;
    c.sign_y = late_torsion ? 1.0 : sign_of(w[FY - 1]);
    c.sign_z = late_torsion ? 1.0 : sign_of(w[FZ - 1]);
  } else if (method == PMULT_METHOD_DEFINED_SIGNS) {
    c.recompute = true;
    c.sign_y = sign_of(d1);
    c.sign_z = sign_of(d2);
  }
  c.a = std::fabs(w[FY - 1]);
  c.b = std::fabs(w[FZ - 1]);
  if (c.a == 0.0 && c.b == 0.0) {
    c.a = std::fabs(load[FY - 1]);
    c.b = std::fabs(load[FZ - 1]);
    if (c.a == 0.0 && c.b == 0.0) {
      c.a = 1.0;
      c.b = 0.0;
    }
  }
  if (method == PMULT_METHOD_DEFINED_SIGNS || method == PMULT_METHOD_DEFINED) {
    c.a = std::fabs(d1);
    c.b = std::fabs(d2);
    if (c.a == 0.0 && c.b == 0.0) c.a = c.b = 1.0;
  }
  if (late_torsion && (method == PMULT_METHOD_MOVEMENT || method == PMULT_METHOD_BLEND)) c.a = c.b = 1.0;
  return c;
}

// The first pair (P and Y) one evaluation of the group uses.
struct EvaluationFactors {
  EntryFactors p_factor{}, y_factor{};
};

// The directional P-FACTORs of one tangent, each computed at most once per
// axis and sign; a set that cannot be computed keeps the solver's.
class DirectionalSets {
 public:
  const EntryFactors& get(int axis, double sign) {
    std::unique_ptr<EntryFactors>& set = sets_[axis - 1][sign < 0.0 ? 1 : 0];
    if (!set) {
      set = std::make_unique<EntryFactors>();
      for (int i = 1; i <= PileTable.n_piles; ++i) {
        (*set)(i) = axis == CLOSE_SPACING_AXIS_Y ? PileTable.p_factor_saved(i) : ClosePileFactors.p_factor_2(i);
      }
      CLOSE_SPACING_P_FACTORS(axis, sign, *set);
    }
    return *set;
  }

 private:
  std::unique_ptr<EntryFactors> sets_[2][2];
};

// The blend of pile i for the direction choice c: the directional sets
// recomputed for c's signs (Y-FACTOR 1) or the solver's directional pairs.
void blend_of_pile(int i, const DirectionChoice& c, DirectionalSets& sets, double& p_factor, double& y_factor) {
  double cy = 0.0, cz = 0.0;
  DIRECTION_COSINES(c.a, c.b, cy, cz);
  const double p1 = c.recompute ? sets.get(CLOSE_SPACING_AXIS_Y, c.sign_y)(i) : PileTable.p_factor_saved(i);
  const double p2 = c.recompute ? sets.get(CLOSE_SPACING_AXIS_Z, c.sign_z)(i) : ClosePileFactors.p_factor_2(i);
  const double y1 = c.recompute ? 1.0 : PileTable.y_factor_saved(i);
  const double y2 = c.recompute ? 1.0 : ClosePileFactors.y_factor_2(i);
  p_factor = COMBINED_FACTOR(p1, p2, cy, cz);
  y_factor = COMBINED_FACTOR(y1, y2, cy, cz);
}

// The blend of the evaluation at w into its own storage: every pile follows
// the direction of the cap displacement w.
void evaluation_factors(const double* w, const double* load, int iteration, int torsion_only, DirectionalSets& sets,
                        EvaluationFactors& out) {
  const DirectionChoice c = choose_direction(w, load, iteration, torsion_only);
  for (int i = 1; i <= PileTable.n_piles; ++i) blend_of_pile(i, c, sets, out.p_factor(i), out.y_factor(i));
}

// The first pair of ClosePileFactors := the set (calling thread, between loops).
void use_factors(const EvaluationFactors& set) {
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    ClosePileFactors.p_factor_1(i) = set.p_factor(i);
    ClosePileFactors.y_factor_1(i) = set.y_factor(i);
  }
}

}  // namespace

void UPDATE_DIRECTION_P_MULTIPLIERS(const double* u, const double* direction, int iteration, int torsion_only) {
  const DirectionChoice c = choose_direction(u, direction, iteration, torsion_only);
  if (c.recompute) {
    double sign_y = c.sign_y, sign_z = c.sign_z;
    CLOSE_SPACING_FACTORS_1(sign_y);
    CLOSE_SPACING_FACTORS_2(sign_z);
    SAVE_FIRST_DIRECTION_FACTORS();
  }
  COMBINE_CLOSE_SPACING_FACTORS(c.a, c.b);
}

void PILE_DIRECTION_P_MULTIPLIERS(const double* head_displacements, const double* direction) {
  DirectionalSets sets;
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    // No iteration count of a cap solution: the rules of a pure torsion's
    // late iterations do not apply, each pile follows its own movement.
    const DirectionChoice c = choose_direction(head_displacements + CAP_DOFS * (i - 1), direction, 0, 0);
    blend_of_pile(i, c, sets, ClosePileFactors.p_factor_1(i), ClosePileFactors.y_factor_1(i));
  }
}

void CAP_STIFFNESS_BY_DIFFERENCES(double* k, const double* u, const double* du, const double* cap_load, int iteration,
                                  int fixed_steps, int torsion_only, int& status) {
  double step_t = 0.0, step_r = 0.0;
  HEAD_DIFFERENCE_STEPS(du, iteration, fixed_steps, step_t, step_r);
  auto solver_factors = std::make_unique<EvaluationFactors>();
  for (int i = 1; i <= PileTable.n_piles; ++i) {
    solver_factors->p_factor(i) = ClosePileFactors.p_factor_1(i);
    solver_factors->y_factor(i) = ClosePileFactors.y_factor_1(i);
  }
  std::vector<EvaluationFactors> factors(DIFFERENCE_EVALUATIONS);
  DirectionalSets sets;
  auto group_forces = [&](int evaluation, const double* w, double* g, int& s) {
    EvaluationFactors& own = factors[static_cast<std::size_t>(evaluation - 1)];
    evaluation_factors(w, cap_load, iteration, torsion_only, sets, own);
    use_factors(own);
    FVEC(g, w, s);
  };
  CENTRAL_DIFFERENCE_TANGENT(k, u, step_t, step_r, group_forces, false, status);
  use_factors(*solver_factors);
}

}  // namespace pilecap
